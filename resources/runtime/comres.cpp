#include "comres.h"

#include <oleauto.h>
#include <olectl.h>

#include <new>

#include "classfactory.h"
#include "comreg.h"

namespace {

HINSTANCE g_module;
LONG g_objects;  // live objects and factories
LONG g_locks;    // IClassFactory::LockServer

// One instance of `test`: IDispatch as `_test`, which has no members.
class Test final : public IDispatch {
 public:
  Test() { InterlockedIncrement(&g_objects); }
  ~Test() {
    if (info_) info_->Release();
    InterlockedDecrement(&g_objects);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == g_library.iid) {
      *out = static_cast<IDispatch*>(this);
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

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (!n) return E_POINTER;
    *n = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    HRESULT hr = load_info();
    if (FAILED(hr)) return hr;
    info_->AddRef();
    *out = info_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID riid, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  HRESULT load_info() {
    if (info_) return S_OK;
    ITypeLib* tl = nullptr;
    HRESULT hr = LoadTypeLibEx(comreg::module_path(g_module).c_str(), REGKIND_NONE, &tl);
    if (FAILED(hr)) return hr;
    hr = tl->GetTypeInfoOfGuid(g_library.iid, &info_);
    tl->Release();
    return hr;
  }

  LONG refs_ = 1;
  ITypeInfo* info_ = nullptr;
};

HRESULT create_test(REFIID riid, void** out) {
  Test* t = new (std::nothrow) Test;
  if (!t) return E_OUTOFMEMORY;
  HRESULT hr = t->QueryInterface(riid, out);
  t->Release();
  return hr;
}

std::wstring clsid_key() { return L"CLSID\\" + comreg::guid_string(g_library.clsid); }
std::wstring progid() { return std::wstring(g_library.name) + L".test"; }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = module;
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  return comreg::ClassFactory::Get(clsid, g_library.clsid, riid, out, create_test, &g_objects, &g_locks);
}

STDAPI DllCanUnloadNow() { return (g_objects == 0 && g_locks == 0) ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  const std::wstring path = comreg::module_path(g_module);
  if (path.empty()) return SELFREG_E_CLASS;
  const std::wstring key = clsid_key();
  const std::wstring clsid = comreg::guid_string(g_library.clsid);
  const bool ok = comreg::set_string(key, nullptr, L"test Object") &&
                  comreg::set_string(key + L"\\InprocServer32", nullptr, path) &&
                  comreg::set_string(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
                  comreg::set_string(key + L"\\ProgID", nullptr, progid()) &&
                  comreg::set_string(key + L"\\TypeLib", nullptr, comreg::guid_string(comres::kLibId)) &&
                  comreg::set_string(key + L"\\Version", nullptr, L"4.0") &&
                  comreg::set_string(progid(), nullptr, L"test Object") &&
                  comreg::set_string(progid() + L"\\CLSID", nullptr, clsid);
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
  HRESULT hr = comreg::unregister_typelib(comres::kLibId, comres::kLibMajor, comres::kLibMinor,
                                          comres::kLibLcid, path);
  // The interface is ours alone even when the shared library identity is not.
  comreg::delete_tree(L"Interface\\" + comreg::guid_string(g_library.iid));
  const bool ok = comreg::delete_tree(clsid_key()) && comreg::delete_tree(progid());
  if (!ok) return SELFREG_E_CLASS;
  return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}
