// The control's in-process server: the class factory for FO_Html, the four
// standard exports and the registry entries for the class and its type library.
#include <olectl.h>
#include <windows.h>

#include <new>
#include <string>

#include "FO_HtmlImpl1.h"
#include "comreg.h"

namespace folio {
namespace {

constexpr wchar_t kProgId[] = L"folioctl.FO_Html";
constexpr wchar_t kDescription[] = L"FO_Html Control";
constexpr DWORD kMiscStatus = 0x12000;
constexpr int kToolboxBitmap = 1;

class Factory final : public IClassFactory {
 public:
  Factory() { InterlockedIncrement(&g_objects); }
  ~Factory() { InterlockedDecrement(&g_objects); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
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
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_control(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&g_locks);
    else
      InterlockedDecrement(&g_locks);
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

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
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_FO_Html) return CLASS_E_CLASSNOTAVAILABLE;
  Factory* f = new (std::nothrow) Factory;
  if (!f) return E_OUTOFMEMORY;
  HRESULT hr = f->QueryInterface(riid, out);
  f->Release();
  return hr;
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
