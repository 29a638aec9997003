// The shared in-process server of the bitmap libraries: the creatable class
// `test` with its member-less dispatch interface `_test`, its class factory,
// registration and the four standard exports. Each library defines `g_library`.
#pragma once
#include <windows.h>

namespace comres {

struct Library {
  const wchar_t* name;  // "glyphset": the ProgID is "<name>.test"
  GUID clsid;           // class `test`
  GUID iid;             // dispatch interface `_test`
};

// The type library every bitmap library carries: identity, version 4.0, locale 1033.
constexpr GUID kLibId = {0xB5DB0829, 0xDBC0, 0x11D2, {0xBC, 0x5F, 0xF6, 0xAD, 0x5E, 0xFC, 0x64, 0x5F}};
constexpr WORD kLibMajor = 4, kLibMinor = 0;
constexpr LCID kLibLcid = 1033;

}  // namespace comres

extern const comres::Library g_library;
