#include "comreg.h"

#include <oleauto.h>

namespace comreg {

std::wstring guid_string(REFGUID g) {
  wchar_t buf[40];
  StringFromGUID2(g, buf, 40);
  return buf;
}

std::wstring module_path(HINSTANCE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(module, &path[0], DWORD(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool set_string(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY h;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG r = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return r == ERROR_SUCCESS;
}

bool get_string(const std::wstring& key, const wchar_t* name, std::wstring& value) {
  HKEY h;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
    return false;
  wchar_t buf[1024];
  DWORD type = 0, size = sizeof(buf) - sizeof(wchar_t);
  LONG r = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(h);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  buf[size / sizeof(wchar_t)] = 0;
  value = buf;
  return true;
}

bool key_exists(const std::wstring& key) {
  HKEY h;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
    return false;
  RegCloseKey(h);
  return true;
}

bool delete_tree(const std::wstring& key) {
  HKEY h;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ | KEY_WRITE, &h) !=
      ERROR_SUCCESS)
    return !key_exists(key);
  // Remove children first; the index stays 0 because each removal shifts the rest.
  for (;;) {
    wchar_t child[256];
    DWORD len = 256;
    if (RegEnumKeyExW(h, 0, child, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    if (!delete_tree(key + L"\\" + child)) break;
  }
  RegCloseKey(h);
  RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
  return !key_exists(key);
}

HRESULT register_typelib(const std::wstring& path) {
  ITypeLib* tl = nullptr;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &tl);
  if (FAILED(hr)) return hr;
  hr = RegisterTypeLib(tl, const_cast<wchar_t*>(path.c_str()), nullptr);
  tl->Release();
  return hr;
}

HRESULT unregister_typelib(REFGUID libid, WORD major, WORD minor, LCID lcid,
                           const std::wstring& path) {
  BSTR registered = nullptr;
  if (FAILED(QueryPathOfRegTypeLib(libid, major, minor, lcid, &registered)))
    return S_OK;  // nothing registered: nothing to undo
  const bool ours = lstrcmpiW(registered, path.c_str()) == 0;
  SysFreeString(registered);
  if (!ours) return S_OK;
  return UnRegisterTypeLib(libid, major, minor, lcid, SYS_WIN64);
}

}  // namespace comreg
