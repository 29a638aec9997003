#include "FO_HtmlImpl1.h"

#include <olectl.h>
#include <windowsx.h>

#include <algorithm>
#include <new>
#include <vector>

#include "comreg.h"

namespace folio {

HINSTANCE g_module;
LONG g_objects;
LONG g_locks;

namespace {

const wchar_t kFormClass[] = L"TFO_Html";
constexpr DWORD kMiscStatus = 0x12000;  // simple frame, acts like a label

COLORREF translate(OLE_COLOR c) {
  COLORREF out = 0;
  if (FAILED(OleTranslateColor(c, nullptr, &out))) out = RGB(255, 255, 255);
  return out;
}

// The form's cursor numbers (0 default, -1 none, -2 arrow ... -22 size all) as system cursors.
LPCWSTR system_cursor(SHORT form_cursor) {
  switch (form_cursor) {
    case -2: case -12: case -16: return IDC_ARROW;
    case -3: return IDC_CROSS;
    case -4: return IDC_IBEAM;
    case -5: case -22: return IDC_SIZEALL;
    case -6: return IDC_SIZENESW;
    case -7: case -15: return IDC_SIZENS;
    case -8: return IDC_SIZENWSE;
    case -9: case -14: return IDC_SIZEWE;
    case -10: return IDC_UPARROW;
    case -11: case -17: return IDC_WAIT;
    case -13: case -18: return IDC_NO;
    case -19: return IDC_APPSTARTING;
    case -20: return IDC_HELP;
    case -21: return IDC_HAND;
    default: return IDC_ARROW;
  }
}

LONG pixels_to_himetric(int px) { return MulDiv(px, 2540, 96); }
int himetric_to_pixels(LONG hm) { return MulDiv(hm, 96, 2540); }

// Sets the thread's error information and returns the failure: the way every
// property accessor and Method1 report failures to the container.
HRESULT fail(const std::wstring& message, HRESULT hr = E_FAIL) {
  ICreateErrorInfo* cei = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&cei))) {
    cei->SetGUID(IID_IFO_Html);
    cei->SetSource(const_cast<LPOLESTR>(L"FO_Html"));
    cei->SetDescription(const_cast<LPOLESTR>(message.c_str()));
    IErrorInfo* ei = nullptr;
    if (SUCCEEDED(cei->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&ei)))) {
      SetErrorInfo(0, ei);
      ei->Release();
    }
    cei->Release();
  }
  return hr;
}

HRESULT bad_pointer() { return fail(L"Invalid pointer", E_POINTER); }
HRESULT bad_value() { return fail(L"Invalid property value", E_INVALIDARG); }

VARIANT_BOOL vbool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

HMODULE self_module() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&self_module), &m);
  return m;
}

HRESULT load_typeinfo(REFGUID guid, ITypeInfo** out) {
  ITypeLib* tl = nullptr;
  HRESULT hr = LoadTypeLibEx(comreg::module_path(g_module).c_str(), REGKIND_NONE, &tl);
  if (FAILED(hr)) return hr;
  hr = tl->GetTypeInfoOfGuid(guid, out);
  tl->Release();
  return hr;
}

}  // namespace

// ================================================================== the form
TFO_Html::TFO_Html() {
  OnCreate = [this] { ActiveFormCreate(); };
  FrameViewer1.owner = this;
  FrameViewer1.OnKeyPress = [](void* owner, wchar_t& key) {
    key = static_cast<TFO_Html*>(owner)->KeyPress(key);
  };
  FrameViewer1.SetVisible(false);
}

TFO_Html::~TFO_Html() { destroy_window(); }

void TFO_Html::ActiveFormCreate() {}

RECT TFO_Html::client_inside_border(const RECT& r) const {
  RECT c = r;
  const int inset = AxBorderStyle == afbNone ? 0 : AxBorderStyle == afbSingle ? 1 : 2;
  InflateRect(&c, -inset, -inset);
  if (c.right < c.left) c.right = c.left;
  if (c.bottom < c.top) c.bottom = c.top;
  return c;
}

bool TFO_Html::create_window(HWND parent, const RECT& pos) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = self_module();
    wc.lpszClassName = kFormClass;
    registered = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    if (!registered) return false;
  }
  pos_ = pos;
  hwnd_ = CreateWindowExW(0, kFormClass, Caption.c_str(),
                          WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                          pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, parent,
                          nullptr, self_module(), this);
  if (!hwnd_) return false;
  RECT client{0, 0, pos.right - pos.left, pos.bottom - pos.top};
  FrameViewer1.create_window(hwnd_, client_inside_border(client));
  if (!Enabled) EnableWindow(hwnd_, FALSE);
  if (Visible) ShowWindow(hwnd_, SW_SHOWNA);
  if (OnCreate) OnCreate();
  return true;
}

void TFO_Html::destroy_window() {
  if (!hwnd_) return;
  if (OnDestroy) OnDestroy();
  FrameViewer1.destroy_window();
  HWND h = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  DestroyWindow(h);
}

void TFO_Html::SetBounds(const RECT& pos) {
  pos_ = pos;
  Width = pos.right - pos.left;
  Height = pos.bottom - pos.top;
  if (hwnd_) MoveWindow(hwnd_, pos.left, pos.top, Width, Height, TRUE);
  Layout();
}

void TFO_Html::Layout() {
  RECT client{0, 0, Width, Height};
  FrameViewer1.SetBounds(client_inside_border(client));
}

void TFO_Html::SetVisible(bool v) {
  Visible = v;
  if (hwnd_) ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
}

void TFO_Html::SetEnabled(bool v) {
  Enabled = v;
  if (hwnd_) EnableWindow(hwnd_, v);
}

void TFO_Html::SetActive(bool active) {
  if (active == Active) return;
  Active = active;
  if (active) {
    if (OnActivate) OnActivate();
  } else {
    if (OnDeactivate) OnDeactivate();
  }
}

void TFO_Html::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
  if (FrameViewer1.hwnd()) InvalidateRect(FrameViewer1.hwnd(), nullptr, FALSE);
}

void TFO_Html::paint_frame(HDC dc, const RECT& r) {
  HBRUSH bg = CreateSolidBrush(translate(Color));
  FillRect(dc, &r, bg);
  DeleteObject(bg);
  RECT edge = r;
  switch (AxBorderStyle) {
    case afbSingle: {
      HBRUSH b = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
      FrameRect(dc, &edge, b);
      DeleteObject(b);
      break;
    }
    case afbSunken: DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT); break;
    case afbRaised: DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT); break;
    default: break;
  }
}

void TFO_Html::PaintTo(HDC dc, const RECT& r) {
  paint_frame(dc, r);
  if (FrameViewer1.Visible()) {
    // The viewer fills the client area; its scroll bar is the window's, not drawn here.
    RECT inner = client_inside_border(r);
    FrameViewer1.Paint(dc, inner);
  }
}

wchar_t TFO_Html::KeyPress(wchar_t key) {
  if (OnKeyPress) OnKeyPress(key);
  return key;
}

LRESULT CALLBACK TFO_Html::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(h, GWLP_USERDATA, LONG_PTR(cs->lpCreateParams));
    static_cast<TFO_Html*>(cs->lpCreateParams)->hwnd_ = h;
  }
  auto* self = reinterpret_cast<TFO_Html*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (!self || self->hwnd_ != h) return DefWindowProcW(h, msg, wp, lp);
  return self->handle(msg, wp, lp);
}

LRESULT TFO_Html::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      paint_frame(dc, rc);
      EndPaint(hwnd_, &ps);
      if (OnPaint) OnPaint();
      return 0;
    }
    case WM_SIZE:
      Width = LOWORD(lp);
      Height = HIWORD(lp);
      Layout();
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetFocus(hwnd_);
      return 0;
    case WM_LBUTTONUP:
      if (pressed_) {
        pressed_ = false;
        if (OnClick) OnClick();
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick();
      return 0;
    case WM_CHAR:
      KeyPress(wchar_t(wp));  // a key that is left non-zero has no further use on the bare form
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS;
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && HWND(wp) == hwnd_) {
        SetCursor(Cursor == -1 ? nullptr : LoadCursorW(nullptr, system_cursor(Cursor)));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// ================================================================== the control
namespace {

class FO_Html;

// One enumerator shape for connection points and connections.
template <class Enum, class Item, const IID* Iid>
class Enumerator final : public Enum {
 public:
  Enumerator(std::vector<Item> items, size_t at = 0) : items_(std::move(items)), at_(at) {
    for (Item& i : items_) add(i);
    InterlockedIncrement(&g_objects);
  }
  ~Enumerator() {
    for (Item& i : items_) drop(i);
    InterlockedDecrement(&g_objects);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == *Iid) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    while (n < count && at_ < items_.size()) {
      out[n] = items_[at_++];
      add(out[n]);
      ++n;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    at_ = std::min(items_.size(), at_ + count);
    return at_ < items_.size() || count == 0 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    at_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Enum** out) override {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) Enumerator(items_, at_);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  static void add(IConnectionPoint* p) { p->AddRef(); }
  static void drop(IConnectionPoint* p) { p->Release(); }
  static void add(CONNECTDATA& d) { d.pUnk->AddRef(); }
  static void drop(CONNECTDATA& d) { d.pUnk->Release(); }
  std::vector<Item> items_;
  size_t at_;
  LONG refs_ = 1;
};

using ConnectionPointEnum = Enumerator<IEnumConnectionPoints, IConnectionPoint*, &IID_IEnumConnectionPoints>;
using ConnectionEnum = Enumerator<IEnumConnections, CONNECTDATA, &IID_IEnumConnections>;

// The IFO_HtmlEvents connection point: one sink at a time.
class EventConnection final : public IConnectionPoint {
 public:
  explicit EventConnection(IConnectionPointContainer* owner) : owner_(owner) {}
  ~EventConnection() { drop(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
      *out = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Lives inside the control: its references are the control's.
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_->Release(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = DIID_IFO_HtmlEvents;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override {
    if (!out) return E_POINTER;
    *out = owner_;
    owner_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    if (sink_) return CONNECT_E_ADVISELIMIT;
    IDispatch* d = nullptr;
    if (FAILED(sink->QueryInterface(DIID_IFO_HtmlEvents, reinterpret_cast<void**>(&d))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))))
      return CONNECT_E_CANNOTCONNECT;
    sink_ = d;  // EventSinkChanged: the new sink, as IFO_HtmlEvents
    sink->AddRef();
    unknown_ = sink;
    *cookie = ++cookie_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    if (!sink_ || cookie != cookie_) return CONNECT_E_NOCONNECTION;
    drop();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override {
    if (!out) return E_POINTER;
    std::vector<CONNECTDATA> items;
    if (sink_) items.push_back({unknown_, cookie_});
    *out = new (std::nothrow) ConnectionEnum(items);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  IDispatch* sink() const { return sink_; }

 private:
  void drop() {
    IDispatch* d = sink_;
    IUnknown* u = unknown_;
    sink_ = nullptr;
    unknown_ = nullptr;
    if (d) d->Release();
    if (u) u->Release();
  }
  IConnectionPointContainer* owner_;
  IDispatch* sink_ = nullptr;
  IUnknown* unknown_ = nullptr;
  DWORD cookie_ = 0;
};

// Writes and reads the persistent properties through a stream.
struct Record {
  std::vector<uint8_t> bytes;
  size_t at = 0;
  void put(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  }
  template <class T>
  void put(T v) {
    put(&v, sizeof v);
  }
  void put_string(const std::wstring& s) {
    put(uint32_t(s.size()));
    put(s.data(), s.size() * sizeof(wchar_t));
  }
  bool get(void* p, size_t n) {
    if (n > bytes.size() - at) return false;
    std::copy(bytes.begin() + long(at), bytes.begin() + long(at + n), static_cast<uint8_t*>(p));
    at += n;
    return true;
  }
  template <class T>
  bool get(T& v) {
    return get(&v, sizeof v);
  }
  bool get_string(std::wstring& s) {
    uint32_t n = 0;
    if (!get(n) || n > 32768 || n * sizeof(wchar_t) > bytes.size() - at) return false;
    s.resize(n);
    return get(s.empty() ? nullptr : &s[0], n * sizeof(wchar_t));
  }
};
constexpr uint32_t kRecordMagic = 0x31484F46;  // "FOH1"

class FO_Html final : public IFO_Html,
                      public IProvideClassInfo2,
                      public ISupportErrorInfo,
                      public IConnectionPointContainer,
                      public IOleObject,
                      public IOleInPlaceObject,
                      public IOleInPlaceActiveObject,
                      public IOleControl,
                      public IViewObject2,
                      public IPersistStreamInit {
 public:
  FO_Html() : events_(static_cast<IConnectionPointContainer*>(this)) {
    InterlockedIncrement(&g_objects);
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"MS Sans Serif"), {}, FW_NORMAL,
                DEFAULT_CHARSET, FALSE, FALSE, FALSE};
    fd.cySize.int64 = 80000;  // 8 points
    OleCreateFontIndirect(&fd, IID_IFont, reinterpret_cast<void**>(&font_));
    Initialize();
  }
  ~FO_Html() {
    form_.OnDestroy = nullptr;  // nobody is listening any more
    form_.destroy_window();
    release_site();
    if (client_site_) client_site_->Release();
    if (advise_holder_) advise_holder_->Release();
    if (view_sink_) view_sink_->Release();
    if (font_) font_->Release();
    if (info_) info_->Release();
    InterlockedDecrement(&g_objects);
  }

  // The control's own initialisation: the form's events go to the sink.
  void Initialize() {
    form_.OnActivate = [this] { fire(kOnActivate); };
    form_.OnClick = [this] { fire(kOnClick); };
    form_.OnCreate = [this] { fire(kOnCreate); };
    form_.OnDblClick = [this] { fire(kOnDblClick); };
    form_.OnDeactivate = [this] { fire(kOnDeactivate); };
    form_.OnDestroy = [this] { fire(kOnDestroy); };
    form_.OnPaint = [this] { fire(kOnPaint); };
    form_.OnKeyPress = [this](wchar_t& key) { KeyPressEvent(key); };
  }

  // ---------------------------------------------------------------- IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IFO_Html)
      *out = static_cast<IFO_Html*>(this);
    else if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2)
      *out = static_cast<IProvideClassInfo2*>(this);
    else if (riid == IID_ISupportErrorInfo)
      *out = static_cast<ISupportErrorInfo*>(this);
    else if (riid == IID_IConnectionPointContainer)
      *out = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IOleObject)
      *out = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
      *out = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IOleInPlaceActiveObject)
      *out = static_cast<IOleInPlaceActiveObject*>(this);
    else if (riid == IID_IOleControl)
      *out = static_cast<IOleControl*>(this);
    else if (riid == IID_IViewObject || riid == IID_IViewObject2)
      *out = static_cast<IViewObject2*>(this);
    else if (riid == IID_IPersist || riid == IID_IPersistStreamInit)
      *out = static_cast<IPersistStreamInit*>(this);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }

  // ---------------------------------------------------------------- IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (!n) return E_POINTER;
    *n = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    HRESULT hr = typeinfo();
    if (FAILED(hr)) return hr;
    info_->AddRef();
    *out = info_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    HRESULT hr = typeinfo();
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(info_, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argerr) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    HRESULT hr = typeinfo();
    if (FAILED(hr)) return hr;
    SetErrorInfo(0, nullptr);
    hr = info_->Invoke(static_cast<IFO_Html*>(this), id, flags, params, result, excep, argerr);
    // A failed member leaves its error information; callers through IDispatch get it
    // as an exception record.
    if (FAILED(hr) && hr != DISP_E_EXCEPTION && excep && hr != DISP_E_MEMBERNOTFOUND &&
        hr != DISP_E_BADPARAMCOUNT && hr != DISP_E_TYPEMISMATCH && hr != DISP_E_PARAMNOTFOUND &&
        hr != DISP_E_PARAMNOTOPTIONAL && hr != DISP_E_BADVARTYPE) {
      IErrorInfo* ei = nullptr;
      if (GetErrorInfo(0, &ei) == S_OK && ei) {
        ZeroMemory(excep, sizeof *excep);
        ei->GetSource(&excep->bstrSource);
        ei->GetDescription(&excep->bstrDescription);
        excep->scode = hr;
        SetErrorInfo(0, ei);  // still there for GetErrorInfo callers
        ei->Release();
        return DISP_E_EXCEPTION;
      }
    }
    return hr;
  }

  // ---------------------------------------------------------------- IFO_Html
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* v) override { return get(v, form_.Visible); }
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL v) override {
    form_.SetVisible(v != 0);
    changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_AutoScroll(VARIANT_BOOL* v) override { return get(v, form_.AutoScroll); }
  HRESULT STDMETHODCALLTYPE put_AutoScroll(VARIANT_BOOL v) override { return set(form_.AutoScroll, v); }
  HRESULT STDMETHODCALLTYPE get_AutoSize(VARIANT_BOOL* v) override { return get(v, form_.AutoSize); }
  HRESULT STDMETHODCALLTYPE put_AutoSize(VARIANT_BOOL v) override { return set(form_.AutoSize, v); }
  HRESULT STDMETHODCALLTYPE get_AxBorderStyle(TxActiveFormBorderStyle* v) override {
    if (!v) return bad_pointer();
    *v = form_.AxBorderStyle;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_AxBorderStyle(TxActiveFormBorderStyle v) override {
    if (v < afbNone || v > afbRaised) return bad_value();
    form_.AxBorderStyle = v;
    form_.Layout();
    changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Caption(BSTR* v) override { return get_string(v, form_.Caption); }
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR v) override {
    // The form keeps narrow text, as its framework does.
    form_.Caption = widen(narrow(v ? std::wstring(v, SysStringLen(v)) : std::wstring()));
    if (form_.hwnd()) SetWindowTextW(form_.hwnd(), form_.Caption.c_str());
    dirty_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* v) override {
    if (!v) return bad_pointer();
    *v = form_.Color;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR v) override {
    COLORREF dummy;
    if (FAILED(OleTranslateColor(v, nullptr, &dummy))) return bad_value();
    form_.Color = v;
    changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** v) override {
    if (!v) return bad_pointer();
    *v = nullptr;
    if (!font_) return fail(L"Font not available");
    return font_->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(v));
  }
  HRESULT STDMETHODCALLTYPE put_Font(IFontDisp* v) override { return assign_font(v); }
  HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp* v) override { return assign_font(v); }
  HRESULT STDMETHODCALLTYPE get_KeyPreview(VARIANT_BOOL* v) override { return get(v, form_.KeyPreview); }
  HRESULT STDMETHODCALLTYPE put_KeyPreview(VARIANT_BOOL v) override { return set(form_.KeyPreview, v); }
  HRESULT STDMETHODCALLTYPE get_PixelsPerInch(LONG* v) override {
    if (!v) return bad_pointer();
    *v = form_.PixelsPerInch;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_PixelsPerInch(LONG v) override {
    if (v < 36 || v > 4800) return bad_value();
    form_.PixelsPerInch = v;
    dirty_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_PrintScale(TxPrintScale* v) override {
    if (!v) return bad_pointer();
    *v = form_.PrintScale;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_PrintScale(TxPrintScale v) override {
    if (v < poNone || v > poPrintToFit) return bad_value();
    form_.PrintScale = v;
    dirty_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Scaled(VARIANT_BOOL* v) override { return get(v, form_.Scaled); }
  HRESULT STDMETHODCALLTYPE put_Scaled(VARIANT_BOOL v) override { return set(form_.Scaled, v); }
  HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* v) override { return get(v, form_.Active); }
  HRESULT STDMETHODCALLTYPE get_DropTarget(VARIANT_BOOL* v) override { return get(v, form_.DropTarget); }
  HRESULT STDMETHODCALLTYPE put_DropTarget(VARIANT_BOOL v) override { return set(form_.DropTarget, v); }
  HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* v) override { return get_string(v, form_.HelpFile); }
  HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR v) override {
    form_.HelpFile = widen(narrow(v ? std::wstring(v, SysStringLen(v)) : std::wstring()));
    dirty_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_DoubleBuffered(VARIANT_BOOL* v) override {
    return get(v, form_.DoubleBuffered);
  }
  HRESULT STDMETHODCALLTYPE put_DoubleBuffered(VARIANT_BOOL v) override {
    return set(form_.DoubleBuffered, v);
  }
  HRESULT STDMETHODCALLTYPE get_VisibleDockClientCount(LONG* v) override {
    if (!v) return bad_pointer();
    *v = 0;  // nothing docks into this form
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* v) override { return get(v, form_.Enabled); }
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL v) override {
    form_.SetEnabled(v != 0);
    changed();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Cursor(SHORT* v) override {
    if (!v) return bad_pointer();
    *v = form_.Cursor;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Cursor(SHORT v) override {
    form_.Cursor = v;
    dirty_ = true;
    return S_OK;
  }

  // Loads and shows an HTML file; on failure nothing changes.
  HRESULT STDMETHODCALLTYPE Method1(BSTR xx) override {
    const std::string name = narrow(xx ? std::wstring(xx, SysStringLen(xx)) : std::wstring());
    std::wstring error;
    if (!form_.FrameViewer1.LoadFromFile(name, error)) return fail(error);
    form_.FrameViewer1.SetVisible(true);
    form_.SetVisible(true);
    changed();
    return S_OK;
  }

  // ---------------------------------------------------------------- class info, errors
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override {
    if (!out) return E_POINTER;
    return load_typeinfo(CLSID_FO_Html, out);
  }
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* out) override {
    if (!out) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *out = DIID_IFO_HtmlEvents;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == IID_IFO_Html ? S_OK : S_FALSE;
  }

  // ---------------------------------------------------------------- connection points
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) ConnectionPointEnum({static_cast<IConnectionPoint*>(&events_)});
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != DIID_IFO_HtmlEvents) return CONNECT_E_NOCONNECTION;
    *out = &events_;
    events_.AddRef();
    return S_OK;
  }

  // ---------------------------------------------------------------- IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    if (site) site->AddRef();
    if (client_site_) client_site_->Release();
    client_site_ = site;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** out) override {
    if (!out) return E_POINTER;
    *out = client_site_;
    if (client_site_) client_site_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override {
    InPlaceDeactivate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND,
                                   LPCRECT) override {
    if (site && site != client_site_) SetClientSite(site);
    switch (verb) {
      case OLEIVERB_PRIMARY:
      case OLEIVERB_SHOW:
      case OLEIVERB_UIACTIVATE:
        return activate(true);
      case OLEIVERB_INPLACEACTIVATE:
        return activate(false);
      case OLEIVERB_HIDE:
        UIDeactivate();
        if (form_.hwnd()) ShowWindow(form_.hwnd(), SW_HIDE);
        return S_OK;
      case OLEIVERB_OPEN:
      case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
      default:
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** out) override {
    return OleRegEnumVerbs(CLSID_FO_Html, out);
  }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* out) override {
    if (!out) return E_POINTER;
    *out = CLSID_FO_Html;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* out) override {
    return OleRegGetUserType(CLSID_FO_Html, form, out);
  }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size || size->cx < 0 || size->cy < 0) return E_INVALIDARG;
    extent_ = *size;
    if (!form_.hwnd()) {
      form_.Width = himetric_to_pixels(size->cx);
      form_.Height = himetric_to_pixels(size->cy);
      form_.Layout();
    }
    dirty_ = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override {
    if (!advise_holder_ && FAILED(CreateOleAdviseHolder(&advise_holder_))) return E_OUTOFMEMORY;
    return advise_holder_->Advise(sink, cookie);
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    if (!advise_holder_) return OLE_E_NOCONNECTION;
    return advise_holder_->Unadvise(cookie);
  }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!advise_holder_) return S_OK;
    return advise_holder_->EnumAdvise(out);
  }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override {
    if (!status) return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // ---------------------------------------------------------------- IOleWindow / in-place
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = form_.hwnd();
    return form_.hwnd() ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
    if (!inplace_site_) return S_OK;
    UIDeactivate();
    form_.destroy_window();
    IOleInPlaceSite* site = inplace_site_;
    inplace_site_ = nullptr;
    site->OnInPlaceDeactivate();
    site->Release();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override {
    if (!ui_active_) return S_OK;
    ui_active_ = false;
    if (frame_) {
      frame_->SetActiveObject(nullptr, nullptr);
      frame_->Release();
      frame_ = nullptr;
    }
    if (inplace_site_) inplace_site_->OnUIDeactivate(FALSE);
    form_.SetActive(false);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT) override {
    if (!pos) return E_POINTER;
    form_.SetBounds(*pos);
    extent_ = {pixels_to_himetric(pos->right - pos->left), pixels_to_himetric(pos->bottom - pos->top)};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }

  // IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  // ---------------------------------------------------------------- IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* ci) override {
    if (!ci) return E_POINTER;
    ci->cb = sizeof(CONTROLINFO);
    ci->hAccel = nullptr;
    ci->cAccel = 0;
    ci->dwFlags = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnMnemonic(LPMSG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override {
    if (freeze)
      ++frozen_;
    else if (frozen_ > 0)
      --frozen_;
    return S_OK;
  }

  // ---------------------------------------------------------------- IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                 LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                 ULONG_PTR) override {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc) return E_INVALIDARG;
    RECT r{0, 0, form_.Width, form_.Height};
    if (bounds) r = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    form_.PaintTo(dc, r);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                        LOGPALETTE** out) override {
    if (out) *out = nullptr;
    return S_FALSE;  // any colours
  }
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override {
    if (sink) sink->AddRef();
    if (view_sink_) view_sink_->Release();
    view_sink_ = sink;
    view_aspects_ = aspects;
    view_flags_ = flags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override {
    if (aspects) *aspects = view_aspects_;
    if (flags) *flags = view_flags_;
    if (sink) {
      *sink = view_sink_;
      if (view_sink_) view_sink_->AddRef();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override {
    return get_extent(aspect, size);
  }

  // ---------------------------------------------------------------- IPersistStreamInit
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* out) override {
    if (!out) return E_POINTER;
    *out = CLSID_FO_Html;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override {
    if (!stream) return E_POINTER;
    Record r;
    uint32_t size = 0;
    ULONG got = 0;
    if (FAILED(stream->Read(&size, sizeof size, &got)) || got != sizeof size || size > (1u << 20))
      return STG_E_READFAULT;
    r.bytes.resize(size);
    if (size && (FAILED(stream->Read(r.bytes.data(), size, &got)) || got != size))
      return STG_E_READFAULT;
    // Read everything first; the control changes only when the record is whole.
    TFO_Html f;
    uint32_t magic = 0;
    uint8_t vis, ascroll, asize, kp, sc, dt, db, en;
    int32_t border, ps;
    SIZEL ext;
    std::wstring face;
    int64_t cy;
    uint8_t bold, italic, under, strike;
    const bool ok = r.get(magic) && magic == kRecordMagic && r.get(vis) && r.get(ascroll) &&
                    r.get(asize) && r.get(border) && r.get_string(f.Caption) && r.get(f.Color) &&
                    r.get(kp) && r.get(f.PixelsPerInch) && r.get(ps) && r.get(sc) && r.get(dt) &&
                    r.get_string(f.HelpFile) && r.get(db) && r.get(en) && r.get(f.Cursor) &&
                    r.get(ext) && r.get_string(face) && r.get(cy) && r.get(bold) &&
                    r.get(italic) && r.get(under) && r.get(strike) && border >= afbNone &&
                    border <= afbRaised && ps >= poNone && ps <= poPrintToFit &&
                    f.PixelsPerInch >= 36 && f.PixelsPerInch <= 4800 && ext.cx >= 0 && ext.cy >= 0;
    if (!ok) return STG_E_READFAULT;
    form_.SetVisible(vis != 0);
    form_.AutoScroll = ascroll;
    form_.AutoSize = asize;
    form_.AxBorderStyle = TxActiveFormBorderStyle(border);
    form_.Caption = f.Caption;
    form_.Color = f.Color;
    form_.KeyPreview = kp;
    form_.PixelsPerInch = f.PixelsPerInch;
    form_.PrintScale = TxPrintScale(ps);
    form_.Scaled = sc;
    form_.DropTarget = dt;
    form_.HelpFile = f.HelpFile;
    form_.DoubleBuffered = db;
    form_.SetEnabled(en != 0);
    form_.Cursor = f.Cursor;
    SetExtent(DVASPECT_CONTENT, &ext);
    if (font_) {
      BSTR b = SysAllocString(face.c_str());
      font_->put_Name(b);
      SysFreeString(b);
      CY size_cy;
      size_cy.int64 = cy;
      font_->put_Size(size_cy);
      font_->put_Bold(bold);
      font_->put_Italic(italic);
      font_->put_Underline(under);
      font_->put_Strikethrough(strike);
    }
    dirty_ = false;
    changed();
    dirty_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clear_dirty) override {
    if (!stream) return E_POINTER;
    Record r;
    r.put(kRecordMagic);
    r.put(uint8_t(form_.Visible));
    r.put(uint8_t(form_.AutoScroll));
    r.put(uint8_t(form_.AutoSize));
    r.put(int32_t(form_.AxBorderStyle));
    r.put_string(form_.Caption);
    r.put(form_.Color);
    r.put(uint8_t(form_.KeyPreview));
    r.put(form_.PixelsPerInch);
    r.put(int32_t(form_.PrintScale));
    r.put(uint8_t(form_.Scaled));
    r.put(uint8_t(form_.DropTarget));
    r.put_string(form_.HelpFile);
    r.put(uint8_t(form_.DoubleBuffered));
    r.put(uint8_t(form_.Enabled));
    r.put(form_.Cursor);
    r.put(extent_);
    std::wstring face;
    CY cy{};
    BOOL bold = FALSE, italic = FALSE, under = FALSE, strike = FALSE;
    if (font_) {
      BSTR b = nullptr;
      if (SUCCEEDED(font_->get_Name(&b)) && b) face = b;
      SysFreeString(b);
      font_->get_Size(&cy);
      font_->get_Bold(&bold);
      font_->get_Italic(&italic);
      font_->get_Underline(&under);
      font_->get_Strikethrough(&strike);
    }
    r.put_string(face);
    r.put(int64_t(cy.int64));
    r.put(uint8_t(bold != 0));
    r.put(uint8_t(italic != 0));
    r.put(uint8_t(under != 0));
    r.put(uint8_t(strike != 0));
    const uint32_t size = uint32_t(r.bytes.size());
    ULONG put = 0;
    if (FAILED(stream->Write(&size, sizeof size, &put)) || put != sizeof size ||
        FAILED(stream->Write(r.bytes.data(), size, &put)) || put != size)
      return STG_E_CANTSAVE;
    if (clear_dirty) dirty_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override {
    if (!size) return E_POINTER;
    size->QuadPart = 4 + 256 + (form_.Caption.size() + form_.HelpFile.size()) * sizeof(wchar_t) + 128;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }

 private:
  HRESULT typeinfo() {
    if (info_) return S_OK;
    return load_typeinfo(IID_IFO_Html, &info_);
  }

  HRESULT get_extent(DWORD aspect, LPSIZEL size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
  }

  HRESULT get(VARIANT_BOOL* out, bool value) {
    if (!out) return bad_pointer();
    *out = vbool(value);
    return S_OK;
  }
  HRESULT set(bool& field, VARIANT_BOOL v) {
    field = v != 0;  // any non-zero value is true
    dirty_ = true;
    return S_OK;
  }
  HRESULT get_string(BSTR* out, const std::wstring& value) {
    if (!out) return bad_pointer();
    *out = SysAllocStringLen(value.data(), UINT(value.size()));
    return *out ? S_OK : fail(L"Out of memory", E_OUTOFMEMORY);
  }
  HRESULT assign_font(IFontDisp* v) {
    if (!v) return bad_pointer();
    IFont* src = nullptr;
    if (FAILED(v->QueryInterface(IID_IFont, reinterpret_cast<void**>(&src))))
      return fail(L"Invalid font object", E_INVALIDARG);
    // The form's font takes the given font's attributes; it stays the form's own object.
    BSTR name = nullptr;
    CY size{};
    BOOL bold = FALSE, italic = FALSE, under = FALSE, strike = FALSE;
    SHORT charset = DEFAULT_CHARSET;
    src->get_Name(&name);
    src->get_Size(&size);
    src->get_Bold(&bold);
    src->get_Italic(&italic);
    src->get_Underline(&under);
    src->get_Strikethrough(&strike);
    src->get_Charset(&charset);
    src->Release();
    if (font_) {
      if (name) font_->put_Name(name);
      font_->put_Size(size);
      font_->put_Bold(bold);
      font_->put_Italic(italic);
      font_->put_Underline(under);
      font_->put_Strikethrough(strike);
      font_->put_Charset(charset);
    }
    SysFreeString(name);
    changed();
    return S_OK;
  }

  void changed() {
    dirty_ = true;
    form_.Invalidate();
    if (view_sink_) view_sink_->OnViewChange(DVASPECT_CONTENT, -1);
  }

  // Invokes an event on the connected sink; nothing while none is connected or
  // while the container has frozen events.
  void fire(DISPID id, VARIANT* args = nullptr, UINT count = 0) {
    IDispatch* sink = events_.sink();
    if (!sink || frozen_ > 0) return;
    sink->AddRef();
    DISPPARAMS dp{args, nullptr, count, 0};
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr);
    sink->Release();
  }

  void KeyPressEvent(wchar_t& key) {
    if (!events_.sink() || frozen_ > 0) return;
    SHORT value = SHORT(key);
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_I2 | VT_BYREF;
    V_I2REF(&arg) = &value;
    fire(kOnKeyPress, &arg, 1);
    key = wchar_t(USHORT(value));  // the sink may change the key or cancel it with 0
  }

  HRESULT activate(bool ui) {
    if (!client_site_) return E_UNEXPECTED;
    if (!inplace_site_) {
      IOleInPlaceSite* site = nullptr;
      if (FAILED(client_site_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&site))))
        return E_NOINTERFACE;
      if (site->CanInPlaceActivate() != S_OK) {
        site->Release();
        return E_FAIL;
      }
      site->OnInPlaceActivate();
      inplace_site_ = site;
    }
    if (!form_.hwnd()) {
      HWND parent = nullptr;
      if (FAILED(inplace_site_->GetWindow(&parent)) || !parent) return E_FAIL;
      IOleInPlaceFrame* frame = nullptr;
      IOleInPlaceUIWindow* doc = nullptr;
      RECT pos{0, 0, form_.Width, form_.Height}, clip = pos;
      OLEINPLACEFRAMEINFO info{};
      info.cb = sizeof info;
      inplace_site_->GetWindowContext(&frame, &doc, &pos, &clip, &info);
      if (doc) doc->Release();
      if (frame_) frame_->Release();
      frame_ = frame;
      form_.Width = pos.right - pos.left;
      form_.Height = pos.bottom - pos.top;
      if (!form_.create_window(parent, pos)) return E_FAIL;
    } else if (form_.Visible) {
      ShowWindow(form_.hwnd(), SW_SHOWNA);
    }
    if (ui && !ui_active_) {
      ui_active_ = true;
      inplace_site_->OnUIActivate();
      if (!frame_) {
        IOleInPlaceUIWindow* doc = nullptr;
        RECT pos, clip;
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        inplace_site_->GetWindowContext(&frame_, &doc, &pos, &clip, &info);
        if (doc) doc->Release();
      }
      if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
      SetFocus(form_.FrameViewer1.Visible() && form_.FrameViewer1.hwnd() ? form_.FrameViewer1.hwnd()
                                                                         : form_.hwnd());
      form_.SetActive(true);
    }
    return S_OK;
  }

  void release_site() {
    if (frame_) {
      frame_->Release();
      frame_ = nullptr;
    }
    if (inplace_site_) {
      inplace_site_->Release();
      inplace_site_ = nullptr;
    }
  }

  LONG refs_ = 1;
  TFO_Html form_;
  EventConnection events_;
  ITypeInfo* info_ = nullptr;
  IFont* font_ = nullptr;
  IOleClientSite* client_site_ = nullptr;
  IOleInPlaceSite* inplace_site_ = nullptr;
  IOleInPlaceFrame* frame_ = nullptr;
  IOleAdviseHolder* advise_holder_ = nullptr;
  IAdviseSink* view_sink_ = nullptr;
  DWORD view_aspects_ = 0, view_flags_ = 0;
  SIZEL extent_{pixels_to_himetric(696), pixels_to_himetric(480)};
  bool ui_active_ = false;
  bool dirty_ = false;
  int frozen_ = 0;
};

}  // namespace

HRESULT create_control(REFIID riid, void** out) {
  FO_Html* c = new (std::nothrow) FO_Html;
  if (!c) return E_OUTOFMEMORY;
  HRESULT hr = c->QueryInterface(riid, out);
  c->Release();
  return hr;
}

}  // namespace folio
