// The control's in-process server: the class factory for FO_Html, the four
// standard exports and the registry entries for the class and its type library.
#include <olectl.h>
#include <windows.h>

#include <new>
#include <string>

#include "FO_HtmlImpl1.h"
#include "classfactory.h"
#include "comreg.h"

namespace folio {
namespace {

constexpr wchar_t kProgId[] = L"folioctl.FO_Html";
constexpr wchar_t kDescription[] = L"FO_Html Control";
constexpr DWORD kMiscStatus = 0x12000;
constexpr int kToolboxBitmap = 1;


std::wstring clsid_key() { return L"CLSID\\" + comreg::guid_string(CLSID_FO_Html); }

}  // namespace
}  // namespace folio

using namespace folio;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = module;
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  return comreg::ClassFactory::Get(clsid, CLSID_FO_Html, riid, out, create_control, &g_objects, &g_locks);
}

STDAPI DllCanUnloadNow() { return (g_objects == 0 && g_locks == 0) ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  const std::wstring path = comreg::module_path(g_module);
  if (path.empty()) return SELFREG_E_CLASS;
  const std::wstring key = clsid_key();
  const std::wstring clsid = comreg::guid_string(CLSID_FO_Html);
  const bool ok =
      comreg::set_string(key, nullptr, kDescription) &&
      comreg::set_string(key + L"\\InprocServer32", nullptr, path) &&
      comreg::set_string(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
      comreg::set_string(key + L"\\ProgID", nullptr, kProgId) &&
      comreg::set_string(key + L"\\Control", nullptr, L"") &&
      comreg::set_string(key + L"\\MiscStatus", nullptr, L"0") &&
      comreg::set_string(key + L"\\MiscStatus\\1", nullptr, std::to_wstring(kMiscStatus)) &&
      comreg::set_string(key + L"\\ToolboxBitmap32", nullptr,
                         path + L", " + std::to_wstring(kToolboxBitmap)) &&
      comreg::set_string(key + L"\\TypeLib", nullptr, comreg::guid_string(LIBID_folioctl)) &&
      comreg::set_string(key + L"\\Version", nullptr, L"1.0") &&
      comreg::set_string(kProgId, nullptr, kDescription) &&
      comreg::set_string(std::wstring(kProgId) + L"\\CLSID", nullptr, clsid);
  if (!ok) {
    DllUnregisterServer();
    return SELFREG_E_CLASS;
  }
  if (FAILED(comreg::register_typelib(path))) {
    DllUnregisterServer();
    return SELFREG_E_TYPELIB;
  }
  return S_OK;
}

STDAPI DllUnregisterServer() {
  const std::wstring path = comreg::module_path(g_module);
  HRESULT hr = comreg::unregister_typelib(LIBID_folioctl, kLibMajor, kLibMinor, kLibLcid, path);
  const bool ok = comreg::delete_tree(clsid_key()) && comreg::delete_tree(kProgId);
  if (!ok) return SELFREG_E_CLASS;
  return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}
