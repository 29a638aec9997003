// TFrameViewer: the HTML view the control's form holds. A child window with a
// vertical scroll bar that shows one document laid out by the html engine and
// painted with GDI. It keeps no navigation history.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "html.h"

namespace folio {

// Measures and paints text with GDI fonts, one font object per description.
class GdiFonts : public html::Measurer {
 public:
  GdiFonts();
  ~GdiFonts() override;
  HFONT font(const html::FontDesc& desc);
  int width(const html::FontDesc& font, std::u16string_view text) override;
  int ascent(const html::FontDesc& font) override;
  int descent(const html::FontDesc& font) override;

 private:
  struct Metrics {
    HFONT font;
    int ascent, descent;
  };
  Metrics& get(const html::FontDesc& desc);
  HDC dc_;
  std::map<html::FontDesc, Metrics> cache_;
};

class TFrameViewer {
 public:
  TFrameViewer();
  ~TFrameViewer();
  TFrameViewer(const TFrameViewer&) = delete;
  TFrameViewer& operator=(const TFrameViewer&) = delete;

  // Design settings of the form's viewer.
  std::string DefFontName = "Times New Roman";
  std::string DefPreFontName = "Courier New";
  int HistoryMaxCount = 0;  // no back or forward
  bool NoSelect = false;
  bool NoBorder = true;     // fvNoBorder
  int Cursor = 2;
  int TabOrder = 0;
  int PrintMarginLeft = 2, PrintMarginRight = 2, PrintMarginTop = 2, PrintMarginBottom = 2;

  // Creates the (hidden) child window; the document survives window changes.
  bool create_window(HWND parent, const RECT& bounds);
  void destroy_window();
  HWND hwnd() const { return hwnd_; }

  // Loads the named file; a "#name" part scrolls to that anchor. On failure the
  // shown document stays and `error` says why ("Can't locate file: NAME").
  bool LoadFromFile(const std::string& name, std::wstring& error);

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void SetBounds(const RECT& r);
  RECT Bounds() const { return bounds_; }

  // Paints the document's visible part into dc at `area` (for drawing without a window too).
  void Paint(HDC dc, const RECT& area);

  int ScrollPos() const { return scroll_; }
  int DocumentHeight();
  bool ScrollToAnchor(const std::string& name);
  void ScrollTo(int y);
  const std::string& CurrentFile() const { return file_; }
  bool HasDocument() const { return doc_ != nullptr; }
  size_t HistoryCount() const { return 0; }  // HistoryMaxCount 0: nothing is kept

  // Called for every character typed in the viewer before it acts on it; the
  // hook may change the key or set it to 0 to cancel it.
  void (*OnKeyPress)(void* owner, wchar_t& key) = nullptr;
  void* owner = nullptr;

  // Handles a character as the viewer does after the form's key-press hook.
  void KeyPressed(wchar_t key);

 private:
  static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  const html::Layout& layout_for(int width);
  void update_scrollbar();
  int page() const;
  void follow_link(const std::string& href);

  HWND hwnd_ = nullptr;
  RECT bounds_{0, 0, 0, 0};
  bool visible_ = false;
  std::unique_ptr<html::Document> doc_;
  std::string file_;
  std::unique_ptr<html::Layout> layout_;
  int layout_width_ = -1;
  int scroll_ = 0;
  GdiFonts fonts_;
};

std::wstring widen(const std::string& s, UINT codepage = CP_ACP);
std::string narrow(const std::wstring& s, UINT codepage = CP_ACP);

}  // namespace folio
