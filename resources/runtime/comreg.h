// Registry and module helpers shared by the in-process servers.
#pragma once
#include <windows.h>

#include <string>

namespace comreg {

std::wstring guid_string(REFGUID g);          // "{XXXXXXXX-...}"
std::wstring module_path(HINSTANCE module);   // full path of the DLL

// Sets the value (name nullptr: the key's default value) under HKEY_CLASSES_ROOT\key,
// creating the key. False on any failure.
bool set_string(const std::wstring& key, const wchar_t* name, const std::wstring& value);
// Reads a string value; false when missing.
bool get_string(const std::wstring& key, const wchar_t* name, std::wstring& value);
// Removes HKEY_CLASSES_ROOT\key and everything below it; true if it is gone afterwards.
bool delete_tree(const std::wstring& key);
bool key_exists(const std::wstring& key);

// Registers the type library embedded as TYPELIB 1 in the module.
HRESULT register_typelib(const std::wstring& path);
// Removes the type library registration, but only while it points at this file:
// several libraries may share one library identity and must not undo each other.
HRESULT unregister_typelib(REFGUID libid, WORD major, WORD minor, LCID lcid,
                           const std::wstring& path);

}  // namespace comreg
