// C++ view of the control's type library (folioctl.idl): identities, the
// enumerations and the dual interface in its vtable order.
#pragma once
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

namespace folio {

constexpr GUID LIBID_folioctl = {0xF23C3E2B, 0xA4D5, 0x11D3, {0xB5, 0x05, 0x00, 0x00, 0x6E, 0x30, 0x9A, 0x70}};
constexpr GUID IID_IFO_Html = {0xF23C3E2C, 0xA4D5, 0x11D3, {0xB5, 0x05, 0x00, 0x00, 0x6E, 0x30, 0x9A, 0x70}};
constexpr GUID DIID_IFO_HtmlEvents = {0xF23C3E2E, 0xA4D5, 0x11D3, {0xB5, 0x05, 0x00, 0x00, 0x6E, 0x30, 0x9A, 0x70}};
constexpr GUID CLSID_FO_Html = {0xF23C3E30, 0xA4D5, 0x11D3, {0xB5, 0x05, 0x00, 0x00, 0x6E, 0x30, 0x9A, 0x70}};
constexpr WORD kLibMajor = 1, kLibMinor = 0;
constexpr LCID kLibLcid = 1033;

enum TxActiveFormBorderStyle { afbNone = 0, afbSingle = 1, afbSunken = 2, afbRaised = 3 };
enum TxPrintScale { poNone = 0, poProportional = 1, poPrintToFit = 2 };
enum TxMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Event dispatch identifiers of IFO_HtmlEvents.
enum EventId : DISPID {
  kOnActivate = 1,
  kOnClick = 2,
  kOnCreate = 3,
  kOnDblClick = 5,
  kOnDestroy = 6,
  kOnDeactivate = 7,
  kOnKeyPress = 11,
  kOnPaint = 16,
};

struct IFO_Html : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AutoScroll(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AutoScroll(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AutoSize(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AutoSize(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AxBorderStyle(TxActiveFormBorderStyle* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AxBorderStyle(TxActiveFormBorderStyle Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Caption(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Caption(BSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Font(IFontDisp* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_KeyPreview(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_KeyPreview(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PixelsPerInch(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_PixelsPerInch(LONG Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_PrintScale(TxPrintScale* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_PrintScale(TxPrintScale Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Scaled(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Scaled(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DropTarget(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DropTarget(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DoubleBuffered(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DoubleBuffered(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_VisibleDockClientCount(LONG* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Cursor(SHORT* Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Cursor(SHORT Value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Method1(BSTR xx) = 0;
};

}  // namespace folio
