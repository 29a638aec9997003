// Stable key table shared by both games and the input script.
// Each key has a script name, a Win32 virtual-key code (the egg game's key
// handlers) and a DirectInput scan code (the space game's key table).
#pragma once
#include <cstdint>
#include <string>

namespace platform {

enum class Key : uint16_t {
  None = 0,
  A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
  Num0, Num1, Num2, Num3, Num4, Num5, Num6, Num7, Num8, Num9,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
  Escape, Return, Space, Tab, Backspace, Insert, Delete, Home, End, PageUp, PageDown,
  Left, Right, Up, Down,
  LShift, RShift, LCtrl, RCtrl, LAlt, RAlt,
  Minus, Equals, LeftBracket, RightBracket, Semicolon, Apostrophe, Grave, Backslash,
  Comma, Period, Slash, CapsLock, Pause,
  KP0, KP1, KP2, KP3, KP4, KP5, KP6, KP7, KP8, KP9,
  KPPlus, KPMinus, KPMultiply, KPDivide, KPEnter, KPPeriod,
  Count
};

struct KeyInfo {
  Key key;
  const char* name;   // script name, e.g. "F1", "Escape", "A"
  int sdl_scancode;   // SDL_Scancode
  int vk;             // Win32 virtual-key code
  int dik;            // DirectInput scan code (DIK_*)
};

const KeyInfo& key_info(Key k);
// Case-insensitive look-up of a script name ("escape", "Esc", "f1", "a", "enter"...).
Key key_from_name(const std::string& name);
Key key_from_sdl_scancode(int scancode);
Key key_from_vk(int vk);
Key key_from_dik(int dik);
inline int vk_of(Key k) { return key_info(k).vk; }
inline int dik_of(Key k) { return key_info(k).dik; }
inline const char* key_name(Key k) { return key_info(k).name; }

}  // namespace platform
