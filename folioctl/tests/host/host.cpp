// folio_host: a small Windows container that exercises the COM deliverables as
// a host program would. Run under wine by the CTest suite, one command a test:
//
//   folio_host register DLL...        DllRegisterServer, then the registry entries
//   folio_host resources DIR          create every `test` class, load every bitmap by name
//   folio_host properties             every IFO_Html member by DISPID, persistence
//   folio_host method1 PAGE OTHER     Method1 on pages and on a missing file
//   folio_host events PAGE            event sink: activation, clicks, paint, key presses
//   folio_host screenshot PAGE OUT    the control drawing a page, saved as OUT.png and OUT.bmp
//   folio_host unregister DLL...      DllUnregisterServer, then the entries are gone
//
// Prints one line per check and exits with 0 only when every check passed.
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "folio_ifaces.h"

using namespace folio;

namespace {

int g_failures = 0;

void check(bool ok, const char* what, ...) {
  va_list ap;
  va_start(ap, what);
  std::printf(ok ? "ok: " : "FAIL: ");
  std::vprintf(what, ap);
  std::printf("\n");
  std::fflush(stdout);
  va_end(ap);
  if (!ok) ++g_failures;
}

std::string utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring guid_str(REFGUID g) {
  wchar_t buf[40];
  StringFromGUID2(g, buf, 40);
  return buf;
}

bool reg_string(const std::wstring& key, const wchar_t* name, std::wstring& out) {
  HKEY h;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  wchar_t buf[1024];
  DWORD type = 0, size = sizeof(buf) - sizeof(wchar_t);
  LONG r = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(h);
  if (r != ERROR_SUCCESS) return false;
  buf[size / sizeof(wchar_t)] = 0;
  out = buf;
  return true;
}

bool reg_exists(const std::wstring& key) {
  HKEY h;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

// ------------------------------------------------------------------ what is served
struct Served {
  const wchar_t* file;
  const wchar_t* progid;
  GUID clsid, iid, libid;
  WORD major, minor;
  std::vector<std::pair<const wchar_t*, SIZE>> bitmaps;
};

constexpr GUID kPozadi = {0xB5DB0829, 0xDBC0, 0x11D2, {0xBC, 0x5F, 0xF6, 0xAD, 0x5E, 0xFC, 0x64, 0x5F}};

const std::vector<Served>& served() {
  static const std::vector<Served> s = {
      {L"glyphset.dll", L"glyphset.test",
       {0x13A1744A, 0x5BB6, 0x11D3, {0xB7, 0x36, 0xB0, 0xE2, 0xF9, 0xA5, 0x5A, 0x96}},
       {0x13A1745F, 0x5BB6, 0x11D3, {0xB7, 0x36, 0xB0, 0xE2, 0xF9, 0xA5, 0x5A, 0x96}}, kPozadi, 4, 0,
       {{L"PIS63", {14, 30}},  {L"PIS138", {14, 30}}, {L"PIS141", {14, 30}}, {L"PIS142", {14, 30}},
        {L"PIS193", {14, 30}}, {L"PIS200", {14, 30}}, {L"PIS201", {14, 30}}, {L"PIS204", {14, 30}},
        {L"PIS205", {14, 30}}, {L"PIS207", {14, 30}}, {L"PIS210", {14, 30}}, {L"PIS211", {14, 30}},
        {L"PIS216", {14, 30}}, {L"PIS217", {14, 30}}, {L"PIS218", {14, 30}}, {L"PIS221", {14, 30}},
        {L"GLYPHSETNORM", {445, 30}}}},
      {L"panelset.dll", L"panelset.test",
       {0xF8A50F49, 0x690B, 0x11D3, {0xB7, 0x36, 0xB9, 0x0A, 0xB2, 0xB3, 0x37, 0x70}},
       {0xF8A50F48, 0x690B, 0x11D3, {0xB7, 0x36, 0xB9, 0x0A, 0xB2, 0xB3, 0x37, 0x70}}, kPozadi, 4, 0,
       {{L"LAB3_1", {282, 45}},  {L"LAB3_2", {282, 45}},  {L"LAB3_3", {282, 45}},
        {L"LAB3_4", {282, 45}},  {L"LAB3_1O", {282, 45}}, {L"LAB3_2O", {282, 45}},
        {L"LAB3_3O", {282, 45}}, {L"LAB3_4O", {282, 45}}, {L"STORNO3", {161, 41}},
        {L"STORNO3O", {161, 41}}}},
      {L"okwide.dll", L"okwide.test",
       {0x3C2B1089, 0x8B0C, 0x11D3, {0xB7, 0x36, 0xE2, 0x10, 0x4F, 0xD6, 0x1C, 0x0C}},
       {0x3C2B1095, 0x8B0C, 0x11D3, {0xB7, 0x36, 0xE2, 0x10, 0x4F, 0xD6, 0x1C, 0x0C}}, kPozadi, 4, 0,
       {{L"OK", {171, 39}}, {L"OK_A", {171, 39}}}},
      {L"ok.dll", L"ok.test",
       {0xB9AE6329, 0x6DB8, 0x11D3, {0xB7, 0x36, 0xDF, 0x99, 0x54, 0xC5, 0xE1, 0x39}},
       {0xB9AE6328, 0x6DB8, 0x11D3, {0xB7, 0x36, 0xDF, 0x99, 0x54, 0xC5, 0xE1, 0x39}}, kPozadi, 4, 0,
       {{L"OK", {66, 25}}, {L"OK_A", {66, 25}}, {L"OK_D", {66, 25}}}},
      {L"clockset.dll", L"clockset.test",
       {0x910E5A9E, 0x0AE2, 0x11D3, {0xB7, 0x1F, 0xCE, 0x5C, 0xA0, 0xA1, 0x66, 0x70}},
       {0x910E5A9D, 0x0AE2, 0x11D3, {0xB7, 0x1F, 0xCE, 0x5C, 0xA0, 0xA1, 0x66, 0x70}}, kPozadi, 4, 0,
       {{L"CISLO0", {14, 20}}, {L"CISLO1", {14, 20}}, {L"CISLO2", {14, 20}}, {L"CISLO3", {14, 20}},
        {L"CISLO4", {14, 20}}, {L"CISLO5", {14, 20}}, {L"CISLO6", {14, 20}}, {L"CISLO7", {14, 20}},
        {L"CISLO8", {14, 20}}, {L"CISLO9", {14, 20}}}},
      {L"buttonset.dll", L"buttonset.test",
       {0xFF2027E9, 0x598B, 0x11D3, {0xB7, 0x36, 0xAF, 0x5D, 0xB7, 0x03, 0xFB, 0xA4}},
       {0xFF2027FB, 0x598B, 0x11D3, {0xB7, 0x36, 0xAF, 0x5D, 0xB7, 0x03, 0xFB, 0xA4}}, kPozadi, 4, 0,
       {{L"PANELSET", {242, 59}}, {L"PANELSETA", {242, 59}}}},
      {L"folioctl.ocx", L"folioctl.FO_Html", CLSID_FO_Html, IID_IFO_Html, LIBID_folioctl, 1, 0, {}},
  };
  return s;
}

const Served* find_served(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
  for (const Served& s : served())
    if (lstrcmpiW(s.file, file.c_str()) == 0) return &s;
  return nullptr;
}

// ------------------------------------------------------------------ register / unregister
int cmd_register(int argc, wchar_t** argv, bool reg) {
  for (int i = 0; i < argc; ++i) {
    const std::wstring path = argv[i];
    const std::string name = utf8(path);
    const Served* s = find_served(path);
    if (!s) {
      check(false, "%s is not one of the deliverables", name.c_str());
      continue;
    }
    HMODULE m = LoadLibraryW(path.c_str());
    check(m != nullptr, "%s loads", name.c_str());
    if (!m) continue;
    using Fn = HRESULT(STDAPICALLTYPE*)();
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, reg ? "DllRegisterServer" : "DllUnregisterServer")));
    check(fn != nullptr, "%s exports its %s entry", name.c_str(), reg ? "register" : "unregister");
    if (fn) {
      const HRESULT hr = fn();
      check(hr == S_OK, "%s %s returns S_OK (0x%08lx)", name.c_str(), reg ? "DllRegisterServer" : "DllUnregisterServer",
            static_cast<unsigned long>(hr));
    }
    const std::wstring key = L"CLSID\\" + guid_str(s->clsid);
    std::wstring value;
    wchar_t full[MAX_PATH];
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    if (reg) {
      check(reg_string(key + L"\\InprocServer32", nullptr, value) && lstrcmpiW(value.c_str(), full) == 0,
            "%s: InprocServer32 is the DLL's path", name.c_str());
      check(reg_string(key + L"\\InprocServer32", L"ThreadingModel", value) && value == L"Apartment",
            "%s: apartment threading", name.c_str());
      check(reg_string(std::wstring(s->progid) + L"\\CLSID", nullptr, value) && value == guid_str(s->clsid),
            "%s: ProgID %s names the class", name.c_str(), utf8(s->progid).c_str());
      check(reg_string(key + L"\\TypeLib", nullptr, value) && value == guid_str(s->libid),
            "%s: class names its type library", name.c_str());
      BSTR tlpath = nullptr;
      const HRESULT hr = QueryPathOfRegTypeLib(s->libid, s->major, s->minor, 1033, &tlpath);
      check(SUCCEEDED(hr), "%s: type library %d.%d registered", name.c_str(), s->major, s->minor);
      SysFreeString(tlpath);
      check(reg_exists(L"Interface\\" + guid_str(s->iid)), "%s: interface registered", name.c_str());
      if (s->clsid == CLSID_FO_Html) {
        check(reg_exists(key + L"\\Control"), "folioctl: marked as a control");
        check(reg_string(key + L"\\MiscStatus\\1", nullptr, value) && value == L"73728",
              "folioctl: misc status 0x12000");
        check(reg_string(key + L"\\ToolboxBitmap32", nullptr, value) &&
                  value == std::wstring(full) + L", 1",
              "folioctl: toolbox bitmap 1");
        check(reg_string(key, nullptr, value) && value == L"FO_Html Control", "folioctl: class name");
      }
    } else {
      check(!reg_exists(key), "%s: class key removed", name.c_str());
      check(!reg_exists(s->progid), "%s: ProgID removed", name.c_str());
      check(!reg_exists(L"Interface\\" + guid_str(s->iid)), "%s: interface key removed", name.c_str());
    }
    FreeLibrary(m);
  }
  if (!reg) {
    // With every library gone, no type library registration is left behind.
    BSTR p = nullptr;
    check(FAILED(QueryPathOfRegTypeLib(kPozadi, 4, 0, 1033, &p)), "pozadi type library unregistered");
    SysFreeString(p);
    check(FAILED(QueryPathOfRegTypeLib(LIBID_folioctl, 1, 0, 1033, &p)), "folioctl type library unregistered");
    SysFreeString(p);
  }
  return g_failures;
}

// ------------------------------------------------------------------ resource libraries
int cmd_resources(const std::wstring& dir) {
  for (const Served& s : served()) {
    if (s.bitmaps.empty()) continue;
    const std::string name = utf8(s.file);
    IDispatch* d = nullptr;
    HRESULT hr = CoCreateInstance(s.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&d));
    check(SUCCEEDED(hr) && d, "%s: CoCreateInstance of class test (0x%08lx)", name.c_str(),
          static_cast<unsigned long>(hr));
    if (d) {
      IUnknown* t = nullptr;
      check(SUCCEEDED(d->QueryInterface(s.iid, reinterpret_cast<void**>(&t))), "%s: answers _test",
            name.c_str());
      if (t) t->Release();
      ITypeInfo* ti = nullptr;
      if (SUCCEEDED(d->GetTypeInfo(0, 0, &ti)) && ti) {
        TYPEATTR* ta = nullptr;
        if (SUCCEEDED(ti->GetTypeAttr(&ta))) {
          check(ta->guid == s.iid && ta->typekind == TKIND_DISPATCH && ta->cFuncs == 0 && ta->cVars == 0,
                "%s: _test is a dispinterface without members", name.c_str());
          ti->ReleaseTypeAttr(ta);
        }
        ITypeLib* tl = nullptr;
        UINT index = 0;
        if (SUCCEEDED(ti->GetContainingTypeLib(&tl, &index))) {
          TLIBATTR* la = nullptr;
          if (SUCCEEDED(tl->GetLibAttr(&la))) {
            check(la->guid == kPozadi && la->wMajorVerNum == 4 && la->wMinorVerNum == 0 && la->lcid == 1033,
                  "%s: type library identity 4.0, locale 1033", name.c_str());
            tl->ReleaseTLibAttr(la);
          }
          BSTR libname = nullptr;
          tl->GetDocumentation(-1, &libname, nullptr, nullptr, nullptr);
          const std::wstring want = lstrcmpiW(s.file, L"clockset.dll") == 0 ? L"clockset" : L"pozadi";
          check(libname && want == libname, "%s: type library named %s", name.c_str(), utf8(want).c_str());
          SysFreeString(libname);
          tl->Release();
        }
        ti->Release();
      } else {
        check(false, "%s: type information", name.c_str());
      }
      DISPID id = 0;
      LPOLESTR member = const_cast<LPOLESTR>(L"Anything");
      check(d->GetIDsOfNames(IID_NULL, &member, 1, 0, &id) == DISP_E_UNKNOWNNAME, "%s: no members",
            name.c_str());
    }
    HMODULE server = GetModuleHandleW(s.file);
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    auto can_unload = server ? reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(server, "DllCanUnloadNow"))) : nullptr;
    if (can_unload) check(can_unload() == S_FALSE, "%s: busy while an object lives", name.c_str());
    if (d) d->Release();
    if (can_unload) check(can_unload() == S_OK, "%s: unloadable once released", name.c_str());

    // The host's way to the pictures: the library as a resource module, bitmaps by name.
    const std::wstring path = dir + L"\\" + s.file;
    HMODULE res = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    check(res != nullptr, "%s: loads as a resource module", name.c_str());
    if (!res) continue;
    for (const auto& [bname, size] : s.bitmaps) {
      HBITMAP b = static_cast<HBITMAP>(LoadImageW(res, bname, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
      BITMAP bm{};
      const bool got = b && GetObjectW(b, sizeof bm, &bm) == sizeof bm;
      check(got && bm.bmWidth == size.cx && bm.bmHeight == size.cy && bm.bmBitsPixel == 24,
            "%s: bitmap %s is %ldx%ld, 24 bits", name.c_str(), utf8(bname).c_str(),
            static_cast<long>(size.cx), static_cast<long>(size.cy));
      HBITMAP legacy = LoadBitmapW(res, bname);
      check(legacy != nullptr, "%s: LoadBitmap %s", name.c_str(), utf8(bname).c_str());
      if (legacy) DeleteObject(legacy);
      if (b) DeleteObject(b);
    }
    HRSRC r = FindResourceW(res, MAKEINTRESOURCEW(1), L"_IID_TEST");
    const BYTE* data = r ? static_cast<const BYTE*>(LockResource(LoadResource(res, r))) : nullptr;
    check(data && SizeofResource(res, r) == 20 && *reinterpret_cast<const DWORD*>(data) == 16 &&
              std::memcmp(data + 4, &s.iid, 16) == 0,
          "%s: _IID_TEST holds 16 and the interface GUID", name.c_str());
    FreeLibrary(res);
  }
  return g_failures;
}

// ------------------------------------------------------------------ dispatch helpers
HRESULT get_prop(IDispatch* d, DISPID id, VARIANT& out, EXCEPINFO* ei = nullptr) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VariantInit(&out);
  return d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &out, ei, nullptr);
}

HRESULT put_prop(IDispatch* d, DISPID id, VARIANT v, WORD kind = DISPATCH_PROPERTYPUT,
                 EXCEPINFO* ei = nullptr) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS p{&v, &named, 1, 1};
  return d->Invoke(id, IID_NULL, 0, kind, &p, nullptr, ei, nullptr);
}

VARIANT vt_bool(short raw) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = raw;
  return v;
}
VARIANT vt_i4(LONG x) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = x;
  return v;
}
VARIANT vt_i2(SHORT x) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I2;
  V_I2(&v) = x;
  return v;
}

DISPID id_of(IDispatch* d, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  d->GetIDsOfNames(IID_NULL, &n, 1, 0, &id);
  return id;
}

IDispatch* create_control() {
  IDispatch* d = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_FO_Html, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&d));
  check(SUCCEEDED(hr) && d, "FO_Html: CoCreateInstance (0x%08lx)", static_cast<unsigned long>(hr));
  return d;
}

// ------------------------------------------------------------------ properties
int cmd_properties() {
  IDispatch* d = create_control();
  if (!d) return g_failures;
  struct Member {
    const wchar_t* name;
    DISPID id;
  } members[] = {{L"Visible", 1},       {L"AutoScroll", 2},     {L"AutoSize", 3},
                 {L"AxBorderStyle", 4}, {L"Caption", -518},     {L"Color", -501},
                 {L"Font", -512},       {L"KeyPreview", 5},     {L"PixelsPerInch", 6},
                 {L"PrintScale", 7},    {L"Scaled", 8},         {L"Active", 9},
                 {L"DropTarget", 10},   {L"HelpFile", 11},      {L"DoubleBuffered", 12},
                 {L"VisibleDockClientCount", 13}, {L"Enabled", -514}, {L"Cursor", 14},
                 {L"Method1", 17}};
  for (const Member& m : members)
    check(id_of(d, m.name) == m.id, "DISPID of %s is %ld", utf8(m.name).c_str(), static_cast<long>(m.id));

  // Booleans: the form's defaults, then every non-zero value sets true and reads back -1.
  struct Bool {
    const wchar_t* name;
    DISPID id;
    bool initial;
  } bools[] = {{L"Visible", 1, true},      {L"AutoScroll", 2, true},   {L"AutoSize", 3, false},
               {L"KeyPreview", 5, false},  {L"Scaled", 8, false},      {L"DropTarget", 10, false},
               {L"DoubleBuffered", 12, false}, {L"Enabled", -514, true}};
  for (const Bool& b : bools) {
    const std::string n = utf8(b.name);
    VARIANT v;
    HRESULT hr = get_prop(d, b.id, v);
    check(SUCCEEDED(hr) && V_VT(&v) == VT_BOOL && V_BOOL(&v) == (b.initial ? -1 : 0), "%s starts %s",
          n.c_str(), b.initial ? "-1" : "0");
    for (short raw : {short(0), short(5), short(0), short(-1), short(1), short(0x7FFF)}) {
      hr = put_prop(d, b.id, vt_bool(raw));
      VARIANT r;
      HRESULT hg = get_prop(d, b.id, r);
      check(SUCCEEDED(hr) && SUCCEEDED(hg) && V_BOOL(&r) == (raw ? -1 : 0), "%s set to %d reads %d",
            n.c_str(), raw, raw ? -1 : 0);
    }
    put_prop(d, b.id, vt_bool(b.initial ? -1 : 0));
  }
  // The same through the vtable of the dual interface.
  IFO_Html* f = nullptr;
  d->QueryInterface(IID_IFO_Html, reinterpret_cast<void**>(&f));
  check(f != nullptr, "IFO_Html through QueryInterface");
  if (f) {
    VARIANT_BOOL vb = 0;
    f->put_Visible(7);
    f->get_Visible(&vb);
    check(vb == VARIANT_TRUE, "vtable: Visible set to 7 reads -1");
    f->put_Visible(0);
    f->get_Visible(&vb);
    check(vb == VARIANT_FALSE, "vtable: Visible set to 0 reads 0");
    f->put_Visible(VARIANT_TRUE);
    check(f->get_Visible(nullptr) == E_POINTER, "vtable: a null result pointer fails");
  }

  // Enumerations, numbers, strings and colour.
  VARIANT v;
  get_prop(d, 4, v);
  check(V_I4(&v) == afbNone, "AxBorderStyle starts afbNone");
  for (LONG s : {1L, 2L, 3L, 0L}) {
    put_prop(d, 4, vt_i4(s));
    get_prop(d, 4, v);
    check(V_I4(&v) == s, "AxBorderStyle %ld reads back", static_cast<long>(s));
  }
  EXCEPINFO ei{};
  HRESULT hr = put_prop(d, 4, vt_i4(9), DISPATCH_PROPERTYPUT, &ei);
  check(hr == DISP_E_EXCEPTION && ei.bstrDescription &&
            std::wstring(ei.bstrDescription) == L"Invalid property value",
        "AxBorderStyle 9 is refused with its message");
  SysFreeString(ei.bstrDescription);
  SysFreeString(ei.bstrSource);
  get_prop(d, 4, v);
  check(V_I4(&v) == afbNone, "a refused value leaves the property unchanged");

  get_prop(d, 7, v);
  check(V_I4(&v) == poProportional, "PrintScale starts poProportional");
  put_prop(d, 7, vt_i4(poPrintToFit));
  get_prop(d, 7, v);
  check(V_I4(&v) == poPrintToFit, "PrintScale poPrintToFit reads back");

  get_prop(d, 6, v);
  check(V_I4(&v) == 96, "PixelsPerInch starts 96");
  put_prop(d, 6, vt_i4(120));
  get_prop(d, 6, v);
  check(V_I4(&v) == 120, "PixelsPerInch 120 reads back");
  ZeroMemory(&ei, sizeof ei);
  check(put_prop(d, 6, vt_i4(-5), DISPATCH_PROPERTYPUT, &ei) == DISP_E_EXCEPTION, "PixelsPerInch -5 is refused");
  SysFreeString(ei.bstrDescription);
  SysFreeString(ei.bstrSource);

  get_prop(d, -501, v);
  check(V_VT(&v) == VT_I4 || V_VT(&v) == VT_UI4, "Color is an OLE colour");
  check(V_I4(&v) == 0xFFFFFF, "Color starts clWhite");
  put_prop(d, -501, vt_i4(0x00336699));
  get_prop(d, -501, v);
  check(V_I4(&v) == 0x00336699, "Color reads back");
  put_prop(d, -501, vt_i4(0x80000005));  // the system's window colour
  get_prop(d, -501, v);
  check(V_UI4(&v) == 0x80000005u, "Color takes a system colour");
  put_prop(d, -501, vt_i4(0xFFFFFF));

  get_prop(d, 14, v);
  check(V_VT(&v) == VT_I2 && V_I2(&v) == 0, "Cursor starts crDefault");
  put_prop(d, 14, vt_i2(-21));
  get_prop(d, 14, v);
  check(V_I2(&v) == -21, "Cursor reads back -21");

  for (DISPID id : {DISPID(-518), DISPID(11)}) {
    get_prop(d, id, v);
    const std::wstring start = V_BSTR(&v) ? V_BSTR(&v) : L"";
    check(V_VT(&v) == VT_BSTR && start == (id == -518 ? L"FO_Html" : L""), "%s starts as designed",
          id == -518 ? "Caption" : "HelpFile");
    VariantClear(&v);
    VARIANT s;
    V_VT(&s) = VT_BSTR;
    V_BSTR(&s) = SysAllocString(L"Folio \u00e9t\u00e9 text");
    put_prop(d, id, s);
    VariantClear(&s);
    get_prop(d, id, v);
    check(V_BSTR(&v) && std::wstring(V_BSTR(&v)) == L"Folio \u00e9t\u00e9 text", "%s reads back",
          id == -518 ? "Caption" : "HelpFile");
    VariantClear(&v);
  }

  // Read-only members refuse writes.
  get_prop(d, 9, v);
  check(V_BOOL(&v) == 0, "Active starts false");
  check(FAILED(put_prop(d, 9, vt_bool(-1))), "Active cannot be set");
  get_prop(d, 13, v);
  check(V_I4(&v) == 0, "VisibleDockClientCount is 0");
  check(FAILED(put_prop(d, 13, vt_i4(3))), "VisibleDockClientCount cannot be set");

  // Font: the form's font through the font dispatch wrapper. The font object
  // reports its realised face and size, so compare with a reference font made
  // from the same description.
  auto make_font = [](const wchar_t* face, LONGLONG size, SHORT weight) {
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(face), {}, weight, DEFAULT_CHARSET, FALSE, FALSE, FALSE};
    fd.cySize.int64 = size;
    IFontDisp* font = nullptr;
    OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font));
    return font;
  };
  auto same_font = [](IDispatch* a, IDispatch* b) {
    bool same = a && b;
    for (DISPID id : {DISPID(DISPID_FONT_NAME), DISPID(DISPID_FONT_SIZE), DISPID(DISPID_FONT_BOLD)}) {
      if (!same) break;
      VARIANT x, y;
      get_prop(a, id, x);
      get_prop(b, id, y);
      same = V_VT(&x) == V_VT(&y) && VarCmp(&x, &y, 0, 0) == static_cast<HRESULT>(VARCMP_EQ);
      VariantClear(&x);
      VariantClear(&y);
    }
    return same;
  };
  hr = get_prop(d, -512, v);
  check(SUCCEEDED(hr) && V_VT(&v) == VT_DISPATCH && V_DISPATCH(&v), "Font is a font object");
  IFontDisp* reference = make_font(L"MS Sans Serif", 80000, FW_NORMAL);
  check(V_VT(&v) == VT_DISPATCH && same_font(V_DISPATCH(&v), reference), "Font is MS Sans Serif, 8 points");
  if (reference) reference->Release();
  VariantClear(&v);
  for (WORD kind : {WORD(DISPATCH_PROPERTYPUTREF), WORD(DISPATCH_PROPERTYPUT)}) {
    const wchar_t* face = kind == DISPATCH_PROPERTYPUTREF ? L"Arial" : L"Courier New";
    IFontDisp* font = make_font(face, 120000, FW_BOLD);
    VARIANT fv;
    V_VT(&fv) = VT_DISPATCH;
    V_DISPATCH(&fv) = font;
    hr = put_prop(d, -512, fv, kind);
    check(SUCCEEDED(hr), "Font set by %s", kind == DISPATCH_PROPERTYPUTREF ? "reference" : "value");
    get_prop(d, -512, v);
    check(V_VT(&v) == VT_DISPATCH && same_font(V_DISPATCH(&v), font), "Font reads back %s, 12 points, bold",
          utf8(face).c_str());
    VariantClear(&v);
    if (font) font->Release();
  }
  ZeroMemory(&ei, sizeof ei);
  VARIANT nofont;
  V_VT(&nofont) = VT_DISPATCH;
  V_DISPATCH(&nofont) = nullptr;
  check(put_prop(d, -512, nofont, DISPATCH_PROPERTYPUTREF, &ei) == DISP_E_EXCEPTION, "a null font is refused");
  SysFreeString(ei.bstrDescription);
  SysFreeString(ei.bstrSource);

  // Error information, class information, status flags.
  ISupportErrorInfo* sei = nullptr;
  d->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&sei));
  check(sei && sei->InterfaceSupportsErrorInfo(IID_IFO_Html) == S_OK, "IFO_Html supports error information");
  if (sei) sei->Release();
  IProvideClassInfo2* pci = nullptr;
  d->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pci));
  GUID events{};
  check(pci && SUCCEEDED(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events)) && events == DIID_IFO_HtmlEvents,
        "default source is IFO_HtmlEvents");
  if (pci) {
    ITypeInfo* ci = nullptr;
    if (SUCCEEDED(pci->GetClassInfo(&ci)) && ci) {
      BSTR doc = nullptr;
      ci->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr);
      check(doc && std::wstring(doc) == L"FO_Html Control", "class help string");
      SysFreeString(doc);
      ci->Release();
    }
    pci->Release();
  }
  IOleObject* ole = nullptr;
  d->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole));
  DWORD misc = 0;
  check(ole && SUCCEEDED(ole->GetMiscStatus(DVASPECT_CONTENT, &misc)) && misc == 0x12000, "misc status 0x12000");
  SIZEL ext{};
  check(ole && SUCCEEDED(ole->GetExtent(DVASPECT_CONTENT, &ext)) && MulDiv(ext.cx, 96, 2540) == 696 &&
            MulDiv(ext.cy, 96, 2540) == 480,
        "designed size 696 x 480");
  if (ole) ole->Release();

  // Persistence: what one control saves, another loads.
  put_prop(d, 2, vt_bool(0));
  put_prop(d, 4, vt_i4(afbSunken));
  IPersistStreamInit* ps = nullptr;
  d->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&ps));
  IStream* stream = nullptr;
  CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  check(ps && stream && ps->Save(stream, TRUE) == S_OK, "properties save to a stream");
  if (ps) ps->Release();
  IDispatch* d2 = create_control();
  if (d2 && stream) {
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    IPersistStreamInit* ps2 = nullptr;
    d2->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&ps2));
    check(ps2 && ps2->Load(stream) == S_OK, "properties load from the stream");
    VARIANT a, b, c;
    get_prop(d2, 2, a);
    get_prop(d2, 4, b);
    get_prop(d2, -518, c);
    check(V_BOOL(&a) == 0 && V_I4(&b) == afbSunken && c.bstrVal && std::wstring(c.bstrVal) == L"Folio \u00e9t\u00e9 text",
          "loaded control has the saved properties");
    VariantClear(&c);
    // A damaged stream is refused and changes nothing.
    IStream* bad = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &bad);
    const DWORD junk[3] = {8, 0x12345678, 1};
    bad->Write(junk, sizeof junk, nullptr);
    bad->Seek(zero, STREAM_SEEK_SET, nullptr);
    check(ps2 && FAILED(ps2->Load(bad)), "a damaged stream is refused");
    get_prop(d2, 4, b);
    check(V_I4(&b) == afbSunken, "a refused stream changes nothing");
    bad->Release();
    if (ps2) ps2->Release();
  }
  if (d2) d2->Release();
  if (stream) stream->Release();
  if (f) f->Release();
  d->Release();
  return g_failures;
}

// ------------------------------------------------------------------ a container
// A window with one site: enough container for in-place activation.
class Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit Site(HWND w) : window_(w) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) *out = static_cast<IOleInPlaceFrame*>(this);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the host's stack
  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override { if (m) *m = nullptr; return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override { if (c) *c = nullptr; return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* w) override { *w = window_; return S_OK; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { inplace = true; return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { ui = true; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = this;
    AddRef();
    *doc = nullptr;
    SetRect(pos, 0, 0, 696, 480);
    *clip = *pos;
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { ui = false; return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { inplace = false; return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
  // IOleInPlaceUIWindow / IOleInPlaceFrame
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* o, LPCOLESTR) override {
    active_object = o != nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  bool inplace = false, ui = false, active_object = false;

 private:
  HWND window_;
  ULONG refs_ = 1;
};

// The host's event sink: records what arrives and answers key presses.
class Sink final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_IFO_HtmlEvents) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    seen.push_back(id);
    if (id == kOnKeyPress && p && p->cArgs == 1 && V_VT(&p->rgvarg[0]) == (VT_I2 | VT_BYREF)) {
      SHORT* key = V_I2REF(&p->rgvarg[0]);
      keys.push_back(*key);
      if (*key == replace_from) *key = replace_to;
    } else if (id == kOnKeyPress) {
      bad_key_args = true;
    }
    return S_OK;
  }
  int count(DISPID id) const {
    int n = 0;
    for (DISPID x : seen) n += x == id;
    return n;
  }
  std::vector<DISPID> seen;
  std::vector<SHORT> keys;
  SHORT replace_from = -1, replace_to = 0;
  bool bad_key_args = false;
  ULONG refs = 1;
};

HWND make_host_window() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"FolioHost";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, L"FolioHost", L"folio host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 760,
                           560, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(w, SW_SHOW);
  return w;
}

void pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

HWND find_child(HWND parent, const wchar_t* cls) {
  HWND form = FindWindowExW(parent, nullptr, L"TFO_Html", nullptr);
  if (!cls || !form) return form;
  return FindWindowExW(form, nullptr, cls, nullptr);
}

HRESULT call_method1(IDispatch* d, const std::wstring& arg, EXCEPINFO* ei) {
  VARIANT a;
  V_VT(&a) = VT_BSTR;
  V_BSTR(&a) = SysAllocString(arg.c_str());
  DISPPARAMS p{&a, nullptr, 1, 0};
  HRESULT hr = d->Invoke(17, IID_NULL, 0, DISPATCH_METHOD, &p, nullptr, ei, nullptr);
  VariantClear(&a);
  return hr;
}

struct Hosted {
  HWND window = nullptr;
  Site* site = nullptr;
  IDispatch* d = nullptr;
  IOleObject* ole = nullptr;
  bool activate(LONG verb) {
    RECT r{0, 0, 696, 480};
    HRESULT hr = ole->DoVerb(verb, nullptr, site, 0, window, &r);
    pump();
    return SUCCEEDED(hr);
  }
};

bool host(Hosted& h, Site& site, HWND window) {
  h.window = window;
  h.site = &site;
  h.d = create_control();
  if (!h.d) return false;
  h.d->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&h.ole));
  if (!h.ole) return false;
  h.ole->SetClientSite(&site);
  return true;
}

void unhost(Hosted& h) {
  if (h.ole) {
    h.ole->Close(OLECLOSE_NOSAVE);
    h.ole->SetClientSite(nullptr);
    h.ole->Release();
  }
  if (h.d) h.d->Release();
  if (h.window) DestroyWindow(h.window);
}

int scroll_pos(HWND viewer) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS;
  GetScrollInfo(viewer, SB_VERT, &si);
  return si.nPos;
}

// ------------------------------------------------------------------ Method1
int cmd_method1(const std::wstring& page, const std::wstring& other) {
  HWND w = make_host_window();
  Site site(w);
  Hosted h;
  if (!host(h, site, w)) return g_failures;
  check(h.activate(OLEIVERB_INPLACEACTIVATE) && site.inplace, "control activates in place");
  HWND form = find_child(h.window, nullptr);
  HWND viewer = find_child(h.window, L"TFrameViewer");
  check(form && IsWindowVisible(form), "the white form shows");
  check(viewer && !IsWindowVisible(viewer), "FrameViewer1 starts hidden");

  const std::wstring missing = page.substr(0, page.find_last_of(L'\\') + 1) + L"no-such-page.html";
  EXCEPINFO ei{};
  HRESULT hr = call_method1(h.d, missing, &ei);
  const std::wstring want = L"Can't locate file: " + missing;
  check(hr == DISP_E_EXCEPTION && FAILED(ei.scode), "Method1 on a missing file fails");
  check(ei.bstrDescription && want == ei.bstrDescription, "the error says \"%s\"", utf8(want).c_str());
  SysFreeString(ei.bstrDescription);
  SysFreeString(ei.bstrSource);
  check(!IsWindowVisible(viewer), "a failed Method1 leaves the viewer hidden");
  IFO_Html* f = nullptr;
  h.d->QueryInterface(IID_IFO_Html, reinterpret_cast<void**>(&f));
  if (f) {
    BSTR b = SysAllocString(missing.c_str());
    hr = f->Method1(b);
    SysFreeString(b);
    IErrorInfo* info = nullptr;
    BSTR desc = nullptr;
    const bool got = GetErrorInfo(0, &info) == S_OK && info && SUCCEEDED(info->GetDescription(&desc));
    check(FAILED(hr) && got && desc && want == desc, "vtable Method1 fails with the message as error information");
    SysFreeString(desc);
    if (info) info->Release();
  }

  hr = call_method1(h.d, page, nullptr);
  pump();
  check(hr == S_OK, "Method1 shows %s", utf8(page).c_str());
  check(IsWindowVisible(viewer), "FrameViewer1 is visible after Method1");
  VARIANT v;
  get_prop(h.d, 1, v);
  check(V_BOOL(&v) == VARIANT_TRUE, "the form is visible after Method1");
  check(scroll_pos(viewer) == 0, "a page opens at its top");

  hr = call_method1(h.d, page + L"#tables", nullptr);
  pump();
  const int at_anchor = scroll_pos(viewer);
  check(hr == S_OK && at_anchor > 0, "a \"#\" part scrolls to its anchor (%d)", at_anchor);
  hr = call_method1(h.d, page + L"#no-such-anchor", nullptr);
  pump();
  check(hr == S_OK, "an unknown anchor still loads the page");

  // A failed Method1 after a good one keeps the page.
  call_method1(h.d, page + L"#tables", nullptr);
  pump();
  const int before = scroll_pos(viewer);
  hr = call_method1(h.d, missing, nullptr);
  check(FAILED(hr) && IsWindowVisible(viewer) && scroll_pos(viewer) == before, "a failed Method1 keeps the shown page");

  hr = call_method1(h.d, other, nullptr);
  pump();
  check(hr == S_OK && scroll_pos(viewer) == 0, "a second Method1 replaces the document");
  // No history: the viewer offers nothing to go back to (no back command exists).
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(viewer, SB_VERT, &si);
  check(int(si.nMax) + 1 < 480, "the second (short) page fits without scrolling: it replaced the long one");

  if (f) f->Release();
  unhost(h);
  return g_failures;
}

// ------------------------------------------------------------------ events
int cmd_events(const std::wstring& page) {
  HWND w = make_host_window();
  Site site(w);
  Hosted h;
  if (!host(h, site, w)) return g_failures;

  IConnectionPointContainer* cpc = nullptr;
  h.d->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
  IConnectionPoint* cp = nullptr;
  check(cpc && SUCCEEDED(cpc->FindConnectionPoint(DIID_IFO_HtmlEvents, &cp)) && cp, "IFO_HtmlEvents connection point");
  IEnumConnectionPoints* en = nullptr;
  if (cpc && SUCCEEDED(cpc->EnumConnectionPoints(&en)) && en) {
    IConnectionPoint* first = nullptr;
    ULONG got = 0;
    IID iid{};
    check(en->Next(1, &first, &got) == S_OK && got == 1 && SUCCEEDED(first->GetConnectionInterface(&iid)) &&
              iid == DIID_IFO_HtmlEvents,
          "connection points enumerate");
    if (first) first->Release();
    en->Release();
  }
  Sink sink, second;
  DWORD cookie = 0, cookie2 = 0;
  check(cp && SUCCEEDED(cp->Advise(&sink, &cookie)) && cookie != 0, "sink connects");
  check(cp && cp->Advise(&second, &cookie2) == CONNECT_E_ADVISELIMIT, "a second sink is refused");

  check(h.activate(OLEIVERB_INPLACEACTIVATE), "in-place activation");
  check(sink.count(kOnCreate) == 1, "OnCreate reaches the sink");
  HWND form = find_child(h.window, nullptr);
  HWND viewer = find_child(h.window, L"TFrameViewer");
  InvalidateRect(form, nullptr, TRUE);
  UpdateWindow(form);
  check(sink.count(kOnPaint) >= 1, "OnPaint reaches the sink");
  check(h.activate(OLEIVERB_UIACTIVATE) && site.ui && site.active_object, "UI activation");
  check(sink.count(kOnActivate) == 1, "OnActivate reaches the sink");
  VARIANT v;
  get_prop(h.d, 9, v);
  check(V_BOOL(&v) == VARIANT_TRUE, "Active is true while UI active");

  SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  check(sink.count(kOnClick) == 1, "OnClick reaches the sink");
  SendMessageW(form, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
  check(sink.count(kOnDblClick) == 1, "OnDblClick reaches the sink");

  SendMessageW(form, WM_CHAR, 'a', 0);
  check(sink.keys.size() == 1 && sink.keys[0] == 'a' && !sink.bad_key_args,
        "OnKeyPress gets the key by reference");

  // Keys typed in the shown page: space pages down unless the host cancels it.
  call_method1(h.d, page, nullptr);
  pump();
  check(IsWindowVisible(viewer) && scroll_pos(viewer) == 0, "page shown at its top");
  sink.replace_from = ' ';
  sink.replace_to = 0;
  SendMessageW(viewer, WM_CHAR, ' ', 0);
  check(sink.keys.back() == ' ' && scroll_pos(viewer) == 0, "a key the host sets to 0 does not reach the form");
  SendMessageW(viewer, WM_CHAR, 'x', 0);
  check(scroll_pos(viewer) == 0, "'x' does nothing in the page");
  sink.replace_from = 'x';
  sink.replace_to = ' ';
  SendMessageW(viewer, WM_CHAR, 'x', 0);
  const int paged = scroll_pos(viewer);
  check(sink.keys.back() == 'x' && paged > 0, "a key the host changes arrives changed ('x' became space: %d)", paged);
  sink.replace_from = -1;
  SendMessageW(viewer, WM_CHAR, ' ', 0);
  check(scroll_pos(viewer) > paged, "an unchanged space pages down");

  // A click on a link follows it: find the first link-coloured pixel of the
  // page as the control draws it (form and viewer share their origin while the
  // form has no border; the contents list links to anchors further down).
  SendMessageW(viewer, WM_KEYDOWN, VK_HOME, 0);
  check(scroll_pos(viewer) == 0, "Home goes back to the top");
  {
    RECT rc;
    GetClientRect(viewer, &rc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    IViewObject* view = nullptr;
    h.d->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view));
    RECTL bounds{0, 0, rc.right, rc.bottom};
    if (view) {
      view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, mem, &bounds, nullptr, nullptr, 0);
      view->Release();
    }
    GdiFlush();
    POINT hit{-1, -1};
    for (int y = 0; y < rc.bottom && hit.x < 0; ++y)
      for (int x = 0; x < rc.right; ++x) {
        const DWORD px = static_cast<DWORD*>(bits)[size_t(y) * rc.right + x];
        if ((px & 0xFFFFFF) == 0x0033AA) {  // the page's link colour
          hit = {x + 2, y};
          break;
        }
      }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    check(hit.x >= 0, "a link is drawn in the page's link colour");
    if (hit.x >= 0) {
      SendMessageW(viewer, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.x, hit.y));
      SendMessageW(viewer, WM_LBUTTONUP, 0, MAKELPARAM(hit.x, hit.y));
      check(scroll_pos(viewer) > 0, "clicking the link scrolls to its anchor (%d)", scroll_pos(viewer));
    }
  }

  // Frozen events are not delivered.
  IOleControl* oc = nullptr;
  h.d->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&oc));
  const size_t before = sink.seen.size();
  if (oc) oc->FreezeEvents(TRUE);
  SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  check(sink.seen.size() == before, "no events while the container freezes them");
  if (oc) {
    oc->FreezeEvents(FALSE);
    oc->Release();
  }

  IOleInPlaceObject* ipo = nullptr;
  h.d->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ipo));
  if (ipo) ipo->UIDeactivate();
  check(sink.count(kOnDeactivate) == 1 && !site.ui, "OnDeactivate reaches the sink");
  if (ipo) ipo->InPlaceDeactivate();
  check(sink.count(kOnDestroy) == 1 && !site.inplace, "OnDestroy reaches the sink when the window goes");
  if (ipo) ipo->Release();

  check(cp && cp->Unadvise(cookie) == S_OK, "sink disconnects");
  check(cp && cp->Unadvise(cookie) == CONNECT_E_NOCONNECTION, "a second disconnect is refused");
  const size_t after = sink.seen.size();
  h.activate(OLEIVERB_UIACTIVATE);
  check(sink.seen.size() == after, "a disconnected sink hears nothing");
  check(sink.refs == 1, "the control let go of the sink");
  if (cp) cp->Release();
  if (cpc) cpc->Release();
  unhost(h);
  return g_failures;
}

// ------------------------------------------------------------------ screenshot
void put_be32(std::vector<uint8_t>& v, uint32_t x) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(uint8_t(x >> s));
}

uint32_t crc32(const uint8_t* p, size_t n, uint32_t c = 0xFFFFFFFFu) {
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return c;
}

// PNG with stored (uncompressed) deflate blocks: no compression library needed.
std::vector<uint8_t> png(int w, int h, const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + long(size_t(y) * w * 3), rgb.begin() + long(size_t(y + 1) * w * 3));
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  for (size_t at = 0; at < raw.size();) {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    z.push_back(at + n == raw.size() ? 1 : 0);
    z.push_back(uint8_t(n));
    z.push_back(uint8_t(n >> 8));
    z.push_back(uint8_t(~n));
    z.push_back(uint8_t(~n >> 8));
    z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
    at += n;
  }
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  put_be32(z, (b << 16) | a);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
    put_be32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_be32(out, crc32(&out[start], out.size() - start) ^ 0xFFFFFFFFu);
  };
  std::vector<uint8_t> ihdr;
  put_be32(ihdr, uint32_t(w));
  put_be32(ihdr, uint32_t(h));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  chunk("IHDR", ihdr);
  chunk("IDAT", z);
  chunk("IEND", {});
  return out;
}

bool write_file(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  const std::wstring tmp = path + L".tmp";
  HANDLE f = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  const bool ok = WriteFile(f, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size();
  CloseHandle(f);
  return ok && MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

int cmd_screenshot(const std::wstring& page, const std::wstring& out) {
  HWND w = make_host_window();
  Site site(w);
  Hosted h;
  if (!host(h, site, w)) return g_failures;
  check(h.activate(OLEIVERB_INPLACEACTIVATE), "control activates in place");
  check(call_method1(h.d, page, nullptr) == S_OK, "Method1 loads the page");
  pump();

  const int W = 696, H = 480;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = W;
  bi.bmiHeader.biHeight = -H;  // top-down for easy reading
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  IViewObject* view = nullptr;
  h.d->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view));
  RECTL bounds{0, 0, W, H};
  HRESULT hr = view ? view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, mem, &bounds, nullptr, nullptr, 0)
                    : E_NOINTERFACE;
  check(SUCCEEDED(hr), "IViewObject::Draw paints the control");
  GdiFlush();
  const int stride = (W * 3 + 3) & ~3;
  std::vector<uint8_t> rgb(size_t(W) * H * 3);
  size_t dark = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint8_t* p = static_cast<uint8_t*>(bits) + size_t(y) * stride + size_t(x) * 3;
      uint8_t* q = &rgb[(size_t(y) * W + x) * 3];
      q[0] = p[2];
      q[1] = p[1];
      q[2] = p[0];
      dark += (p[0] + p[1] + p[2]) < 200;
    }
  check(dark > 2000, "the drawn page has text on it (%lu dark pixels)", static_cast<unsigned long>(dark));
  check(write_file(out + L".png", png(W, H, rgb)), "screenshot written to %s.png", utf8(out).c_str());
  // The same picture as a Windows bitmap file, bottom-up as BMP files are.
  std::vector<uint8_t> bmp(14 + 40);
  const uint32_t image = uint32_t(stride) * H;
  auto le = [&](size_t at, uint32_t x, int n) {
    for (int i = 0; i < n; ++i) bmp[at + i] = uint8_t(x >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  le(2, 54 + image, 4);
  le(10, 54, 4);
  le(14, 40, 4);
  le(18, W, 4);
  le(22, H, 4);
  le(26, 1, 2);
  le(28, 24, 2);
  le(34, image, 4);
  for (int y = H - 1; y >= 0; --y) {
    const uint8_t* row = static_cast<uint8_t*>(bits) + size_t(y) * stride;
    bmp.insert(bmp.end(), row, row + stride);
  }
  check(write_file(out + L".bmp", bmp), "screenshot written to %s.bmp", utf8(out).c_str());
  if (view) view->Release();
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  unhost(h);
  return g_failures;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: folio_host register|resources|properties|method1|events|screenshot|unregister ...\n");
    return 2;
  }
  if (FAILED(OleInitialize(nullptr))) {
    std::printf("FAIL: OleInitialize\n");
    return 1;
  }
  const std::wstring cmd = argv[1];
  int rc = 2;
  if (cmd == L"register") rc = cmd_register(argc - 2, argv + 2, true);
  else if (cmd == L"unregister") rc = cmd_register(argc - 2, argv + 2, false);
  else if (cmd == L"resources" && argc == 3) rc = cmd_resources(argv[2]);
  else if (cmd == L"properties") rc = cmd_properties();
  else if (cmd == L"method1" && argc == 4) rc = cmd_method1(argv[2], argv[3]);
  else if (cmd == L"events" && argc == 3) rc = cmd_events(argv[2]);
  else if (cmd == L"screenshot" && argc == 4) rc = cmd_screenshot(argv[2], argv[3]);
  else std::printf("FAIL: unknown command or arguments\n");
  OleUninitialize();
  std::printf("%s: %d failed check(s)\n", utf8(cmd).c_str(), g_failures);
  return rc == 0 ? 0 : 1;
}
