// The HTML view control: the form TFO_Html with its viewer FrameViewer1, and
// the ActiveX control FO_Html that exposes the form to a container through
// IFO_Html, the IFO_HtmlEvents connection point and the OLE control interfaces.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "folio_ifaces.h"
#include "frameviewer.h"

namespace folio {

// The form, as designed: 696 x 480, white, no border, caption "FO_Html".
class TFO_Html {
 public:
  TFO_Html();
  ~TFO_Html();

  // Properties of the form that IFO_Html reads and writes.
  bool Visible = true;
  bool AutoScroll = true;
  bool AutoSize = false;
  TxActiveFormBorderStyle AxBorderStyle = afbNone;
  std::wstring Caption = L"FO_Html";
  OLE_COLOR Color = 0x00FFFFFF;  // clWhite
  bool KeyPreview = false;
  LONG PixelsPerInch = 96;
  TxPrintScale PrintScale = poProportional;
  bool Scaled = false;
  bool Active = false;
  bool DropTarget = false;
  std::wstring HelpFile;
  bool DoubleBuffered = false;
  bool Enabled = true;
  SHORT Cursor = 0;  // crDefault
  bool OldCreateOrder = false;
  int Width = 696, Height = 480;

  TFrameViewer FrameViewer1;

  // Form events; the control points them at its forwarders.
  std::function<void()> OnActivate, OnClick, OnCreate, OnDblClick, OnDeactivate, OnDestroy,
      OnPaint;
  std::function<void(wchar_t& key)> OnKeyPress;

  void ActiveFormCreate();  // the designed OnCreate handler: nothing to do

  bool create_window(HWND parent, const RECT& pos);
  void destroy_window();
  HWND hwnd() const { return hwnd_; }
  void SetBounds(const RECT& pos);
  void SetVisible(bool v);
  void SetEnabled(bool v);
  void SetActive(bool active);  // raises OnActivate / OnDeactivate on change
  void Invalidate();
  void Layout();                // places FrameViewer1 in the client area (alClient)

  // Draws the whole form (background, border, viewer) into dc at r.
  void PaintTo(HDC dc, const RECT& r);

  // The form's key handling: OnKeyPress first, then the key goes on if non-zero.
  wchar_t KeyPress(wchar_t key);

 private:
  static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  RECT client_inside_border(const RECT& r) const;
  void paint_frame(HDC dc, const RECT& r);
  HWND hwnd_ = nullptr;
  RECT pos_{0, 0, 696, 480};
  bool pressed_ = false;
};

HRESULT create_control(REFIID riid, void** out);
extern HINSTANCE g_module;
extern LONG g_objects;
extern LONG g_locks;

}  // namespace folio
