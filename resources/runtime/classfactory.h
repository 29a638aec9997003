// The class factory of an in-process server with one creatable class. The
// server's object and lock counts (read by DllCanUnloadNow) follow the
// factory's life and LockServer.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <new>

namespace comreg {

class ClassFactory final : public IClassFactory {
 public:
  using Create = HRESULT (*)(REFIID riid, void** out);
  ClassFactory(Create create, LONG* objects, LONG* locks) : create_(create), objects_(objects), locks_(locks) {
    InterlockedIncrement(objects_);
  }
  ~ClassFactory() { InterlockedDecrement(objects_); }

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
    return create_(riid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(locks_);
    else
      InterlockedDecrement(locks_);
    return S_OK;
  }

  // DllGetClassObject's work for the class `clsid`.
  static HRESULT Get(REFCLSID requested, REFCLSID clsid, REFIID riid, void** out, Create create, LONG* objects,
                     LONG* locks) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (requested != clsid) return CLASS_E_CLASSNOTAVAILABLE;
    ClassFactory* f = new (std::nothrow) ClassFactory(create, objects, locks);
    if (!f) return E_OUTOFMEMORY;
    HRESULT hr = f->QueryInterface(riid, out);
    f->Release();
    return hr;
  }

 private:
  Create create_;
  LONG* objects_;
  LONG* locks_;
  LONG refs_ = 1;
};

}  // namespace comreg
