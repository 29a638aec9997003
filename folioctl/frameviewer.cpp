#include "frameviewer.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace folio {
namespace {

const wchar_t kViewerClass[] = L"TFrameViewer";
HINSTANCE module_instance() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&module_instance), &m);
  return m;
}

COLORREF to_colorref(uint32_t rgb) { return RGB((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255); }

const wchar_t* as_w(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

}  // namespace

std::wstring widen(const std::string& s, UINT codepage) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(codepage, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring w(size_t(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(codepage, 0, s.data(), int(s.size()), &w[0], n);
  return w;
}

std::string narrow(const std::wstring& s, UINT codepage) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(codepage, 0, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
  std::string a(size_t(std::max(n, 0)), '\0');
  if (n > 0) WideCharToMultiByte(codepage, 0, s.data(), int(s.size()), &a[0], n, nullptr, nullptr);
  return a;
}

// ------------------------------------------------------------------ fonts
GdiFonts::GdiFonts() : dc_(CreateCompatibleDC(nullptr)) {}

GdiFonts::~GdiFonts() {
  for (auto& [desc, m] : cache_) DeleteObject(m.font);
  DeleteDC(dc_);
}

GdiFonts::Metrics& GdiFonts::get(const html::FontDesc& desc) {
  auto it = cache_.find(desc);
  if (it != cache_.end()) return it->second;
  LOGFONTW lf{};
  lf.lfHeight = -std::max(1, desc.px);
  lf.lfWeight = desc.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = desc.italic;
  lf.lfUnderline = desc.underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  // The family tells the font mapper what to pick when the face is not installed.
  lf.lfPitchAndFamily = desc.fixed ? BYTE(FIXED_PITCH | FF_MODERN) : BYTE(VARIABLE_PITCH | FF_ROMAN);
  const std::wstring face = widen(desc.face);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  Metrics m{CreateFontIndirectW(&lf), desc.px * 4 / 5, desc.px / 4};
  if (m.font) {
    HGDIOBJ old = SelectObject(dc_, m.font);
    TEXTMETRICW tm;
    if (GetTextMetricsW(dc_, &tm)) {
      m.ascent = tm.tmAscent;
      m.descent = tm.tmDescent;
    }
    SelectObject(dc_, old);
  }
  return cache_.emplace(desc, m).first->second;
}

HFONT GdiFonts::font(const html::FontDesc& desc) { return get(desc).font; }

int GdiFonts::width(const html::FontDesc& desc, std::u16string_view text) {
  Metrics& m = get(desc);
  if (text.empty()) return 0;
  HGDIOBJ old = SelectObject(dc_, m.font);
  SIZE sz{0, 0};
  GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.data()), int(text.size()), &sz);
  SelectObject(dc_, old);
  // Slanted glyphs lean past their advance; leave them room before the next word.
  return sz.cx + (desc.italic ? std::max(1, desc.px / 8) : 0);
}

int GdiFonts::ascent(const html::FontDesc& desc) { return get(desc).ascent; }
int GdiFonts::descent(const html::FontDesc& desc) { return get(desc).descent; }

// ------------------------------------------------------------------ viewer
TFrameViewer::TFrameViewer() = default;

TFrameViewer::~TFrameViewer() { destroy_window(); }

bool TFrameViewer::create_window(HWND parent, const RECT& bounds) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = module_instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kViewerClass;
    registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    if (!registered) return false;
  }
  bounds_ = bounds;
  hwnd_ = CreateWindowExW(NoBorder ? 0 : WS_EX_CLIENTEDGE, kViewerClass, L"FrameViewer1",
                          WS_CHILD | WS_VSCROLL | WS_CLIPSIBLINGS | WS_TABSTOP | (visible_ ? WS_VISIBLE : 0),
                          bounds.left, bounds.top, bounds.right - bounds.left,
                          bounds.bottom - bounds.top, parent, nullptr, module_instance(), this);
  if (hwnd_) update_scrollbar();
  return hwnd_ != nullptr;
}

void TFrameViewer::destroy_window() {
  if (hwnd_) {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    DestroyWindow(h);
  }
}

void TFrameViewer::SetVisible(bool v) {
  visible_ = v;
  if (hwnd_) ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
}

void TFrameViewer::SetBounds(const RECT& r) {
  bounds_ = r;
  if (hwnd_)
    MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

const html::Layout& TFrameViewer::layout_for(int width) {
  width = std::max(width, 16);
  if (!layout_ || layout_width_ != width) {
    html::Settings s;
    s.default_face = DefFontName;
    s.pre_face = DefPreFontName;
    static const html::Document empty;
    layout_ = std::make_unique<html::Layout>(html::layout(doc_ ? *doc_ : empty, width, fonts_, s));
    layout_width_ = width;
  }
  return *layout_;
}

int TFrameViewer::page() const {
  RECT rc;
  if (hwnd_ && GetClientRect(hwnd_, &rc)) return std::max(1L, rc.bottom - rc.top);
  return std::max(1L, bounds_.bottom - bounds_.top);
}

int TFrameViewer::DocumentHeight() {
  RECT rc = bounds_;
  int w = rc.right - rc.left - GetSystemMetrics(SM_CXVSCROLL);
  if (hwnd_ && GetClientRect(hwnd_, &rc)) w = rc.right;
  return layout_for(w).height;
}

void TFrameViewer::update_scrollbar() {
  if (!hwnd_) return;
  const int h = DocumentHeight();
  const int max_scroll = std::max(0, h - page());
  scroll_ = std::clamp(scroll_, 0, max_scroll);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, h - 1);
  si.nPage = UINT(page());
  si.nPos = scroll_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void TFrameViewer::ScrollTo(int y) {
  const int max_scroll = std::max(0, DocumentHeight() - page());
  const int pos = std::clamp(y, 0, max_scroll);
  if (pos == scroll_) return;
  scroll_ = pos;
  if (hwnd_) {
    update_scrollbar();
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
}

bool TFrameViewer::ScrollToAnchor(const std::string& name) {
  DocumentHeight();  // lays out for the current width
  auto it = layout_->anchors.find(name);
  if (it == layout_->anchors.end()) return false;
  ScrollTo(it->second);
  return true;
}

bool TFrameViewer::LoadFromFile(const std::string& name, std::wstring& error) {
  std::string file = name, target;
  if (size_t hash = name.find('#'); hash != std::string::npos) {
    file = name.substr(0, hash);
    target = name.substr(hash + 1);
  }
  if (file.empty()) {
    // "#name" alone moves within the shown document.
    if (!doc_) {
      error = L"Can't locate file: " + widen(name);
      return false;
    }
    if (!target.empty()) ScrollToAnchor(target);
    return true;
  }
  const DWORD attr = GetFileAttributesA(file.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) {
    error = L"Can't locate file: " + widen(file);
    return false;
  }
  HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = L"Can't read file: " + widen(file);
    return false;
  }
  LARGE_INTEGER size{};
  std::string bytes;
  bool ok = GetFileSizeEx(h, &size) && size.QuadPart <= (64 << 20);
  if (ok) {
    bytes.resize(size_t(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(h, &bytes[0], DWORD(bytes.size()), &got, nullptr) &&
                           got == bytes.size());
  }
  CloseHandle(h);
  if (!ok) {
    error = size.QuadPart > (64 << 20) ? L"File too large: " + widen(file)
                                       : L"Can't read file: " + widen(file);
    return false;
  }
  // Only now that the whole file is in hand does the shown document change.
  doc_ = std::make_unique<html::Document>(html::parse(bytes));
  char full[MAX_PATH];
  file_ = GetFullPathNameA(file.c_str(), MAX_PATH, full, nullptr) ? std::string(full) : file;
  layout_.reset();
  scroll_ = 0;
  if (hwnd_) {
    update_scrollbar();
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  if (!target.empty()) ScrollToAnchor(target);
  return true;
}

void TFrameViewer::Paint(HDC dc, const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  const html::Layout& lay = layout_for(w);
  HBRUSH bg = CreateSolidBrush(to_colorref(lay.background));
  FillRect(dc, &area, bg);
  DeleteObject(bg);
  const int save = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  const int ox = area.left, oy = area.top - scroll_;
  for (const html::Item& it : lay.items) {
    const int top = it.kind == html::Item::text ? it.y - it.h : it.y;
    if (top + oy > area.bottom || top + it.h + oy < area.top) continue;
    switch (it.kind) {
      case html::Item::text: {
        SelectObject(dc, fonts_.font(it.font));
        SetTextColor(dc, to_colorref(it.color));
        TextOutW(dc, it.x + ox, it.y + oy, as_w(it.str), int(it.str.size()));
        break;
      }
      case html::Item::rect: {
        RECT r{it.x + ox, it.y + oy, it.x + it.w + ox, it.y + it.h + oy};
        HBRUSH b = CreateSolidBrush(to_colorref(it.color));
        FillRect(dc, &r, b);
        DeleteObject(b);
        break;
      }
      case html::Item::frame: {
        RECT r{it.x + ox, it.y + oy, it.x + it.w + ox, it.y + it.h + oy};
        HBRUSH b = CreateSolidBrush(to_colorref(it.color));
        FrameRect(dc, &r, b);
        DeleteObject(b);
        break;
      }
      case html::Item::rule: {
        // A sunken line: dark above, light below.
        RECT r{it.x + ox, it.y + oy, it.x + it.w + ox, it.y + it.h + oy};
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        break;
      }
      case html::Item::disc: {
        HBRUSH b = CreateSolidBrush(to_colorref(it.color));
        HGDIOBJ old = SelectObject(dc, b);
        Ellipse(dc, it.x + ox, it.y + oy, it.x + it.w + ox, it.y + it.h + oy);
        SelectObject(dc, old);
        DeleteObject(b);
        break;
      }
    }
  }
  RestoreDC(dc, save);
}

void TFrameViewer::follow_link(const std::string& href) {
  if (href.empty()) return;
  if (href[0] == '#') {
    ScrollToAnchor(href.substr(1));
    return;
  }
  if (href.find("://") != std::string::npos || href.rfind("mailto:", 0) == 0) return;
  std::string target = href;
  for (char& c : target)
    if (c == '/') c = '\\';
  const bool absolute = target.size() > 1 && (target[1] == ':' || target[0] == '\\');
  if (!absolute) {
    const size_t slash = file_.find_last_of("\\/");
    target = (slash == std::string::npos ? std::string() : file_.substr(0, slash + 1)) + target;
  }
  std::wstring error;
  LoadFromFile(target, error);  // a broken link leaves the page as it is
}

void TFrameViewer::KeyPressed(wchar_t key) {
  if (key == L' ') ScrollTo(scroll_ + page() * 9 / 10);
}

LRESULT CALLBACK TFrameViewer::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(h, GWLP_USERDATA, LONG_PTR(cs->lpCreateParams));
    static_cast<TFrameViewer*>(cs->lpCreateParams)->hwnd_ = h;
  }
  auto* self = reinterpret_cast<TFrameViewer*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!self || self->hwnd_ != h) return DefWindowProcW(h, msg, wp, lp);
  return self->handle(msg, wp, lp);
}

LRESULT TFrameViewer::handle(UINT msg, WPARAM wp, LPARAM lp) {
  HWND h = hwnd_;
  switch (msg) {
    case WM_SIZE:
      if (h) update_scrollbar();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT rc;
      GetClientRect(h, &rc);
      // Paint off screen, then copy: no flicker while scrolling.
      HDC mem = CreateCompatibleDC(dc);
      HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(1L, rc.right), std::max(1L, rc.bottom));
      HGDIOBJ old = SelectObject(mem, bmp);
      Paint(mem, rc);
      BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteObject(bmp);
      DeleteDC(mem);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_VSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_ALL;
      GetScrollInfo(h, SB_VERT, &si);
      int pos = scroll_;
      switch (LOWORD(wp)) {
        case SB_LINEUP: pos -= 16; break;
        case SB_LINEDOWN: pos += 16; break;
        case SB_PAGEUP: pos -= page() * 9 / 10; break;
        case SB_PAGEDOWN: pos += page() * 9 / 10; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = DocumentHeight(); break;
        default: break;
      }
      ScrollTo(pos);
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(scroll_ - GET_WHEEL_DELTA_WPARAM(wp) * 48 / WHEEL_DELTA);
      return 0;
    case WM_KEYDOWN:
      switch (wp) {
        case VK_UP: ScrollTo(scroll_ - 16); return 0;
        case VK_DOWN: ScrollTo(scroll_ + 16); return 0;
        case VK_PRIOR: ScrollTo(scroll_ - page() * 9 / 10); return 0;
        case VK_NEXT: ScrollTo(scroll_ + page() * 9 / 10); return 0;
        case VK_HOME: ScrollTo(0); return 0;
        case VK_END: ScrollTo(DocumentHeight()); return 0;
        default: break;
      }
      break;
    case WM_CHAR: {
      wchar_t key = wchar_t(wp);
      if (OnKeyPress) OnKeyPress(owner, key);
      if (key != 0) KeyPressed(key);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
      SetFocus(h);
      return 0;
    case WM_LBUTTONUP: {
      if (!layout_) return 0;
      const int link = layout_->link_at(GET_X_LPARAM(lp), GET_Y_LPARAM(lp) + scroll_);
      if (link >= 0 && size_t(link) < layout_->links.size()) {
        const std::string href = layout_->links[size_t(link)];
        follow_link(href);
      }
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && layout_) {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(h, &pt);
        const bool over_link = layout_->link_at(pt.x, pt.y + scroll_) >= 0;
        SetCursor(LoadCursorW(nullptr, over_link ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace folio
