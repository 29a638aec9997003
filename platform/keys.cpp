// Key table: script names, SDL scancodes, Win32 virtual keys, DirectInput scan codes.
#include "keys.h"

#include <SDL.h>

#include <cctype>

#include "text_util.h"

namespace platform {
namespace {

const KeyInfo kKeys[] = {
    {Key::None, "None", SDL_SCANCODE_UNKNOWN, 0, 0},
    {Key::A, "A", SDL_SCANCODE_A, 0x41, 0x1E},
    {Key::B, "B", SDL_SCANCODE_B, 0x42, 0x30},
    {Key::C, "C", SDL_SCANCODE_C, 0x43, 0x2E},
    {Key::D, "D", SDL_SCANCODE_D, 0x44, 0x20},
    {Key::E, "E", SDL_SCANCODE_E, 0x45, 0x12},
    {Key::F, "F", SDL_SCANCODE_F, 0x46, 0x21},
    {Key::G, "G", SDL_SCANCODE_G, 0x47, 0x22},
    {Key::H, "H", SDL_SCANCODE_H, 0x48, 0x23},
    {Key::I, "I", SDL_SCANCODE_I, 0x49, 0x17},
    {Key::J, "J", SDL_SCANCODE_J, 0x4A, 0x24},
    {Key::K, "K", SDL_SCANCODE_K, 0x4B, 0x25},
    {Key::L, "L", SDL_SCANCODE_L, 0x4C, 0x26},
    {Key::M, "M", SDL_SCANCODE_M, 0x4D, 0x32},
    {Key::N, "N", SDL_SCANCODE_N, 0x4E, 0x31},
    {Key::O, "O", SDL_SCANCODE_O, 0x4F, 0x18},
    {Key::P, "P", SDL_SCANCODE_P, 0x50, 0x19},
    {Key::Q, "Q", SDL_SCANCODE_Q, 0x51, 0x10},
    {Key::R, "R", SDL_SCANCODE_R, 0x52, 0x13},
    {Key::S, "S", SDL_SCANCODE_S, 0x53, 0x1F},
    {Key::T, "T", SDL_SCANCODE_T, 0x54, 0x14},
    {Key::U, "U", SDL_SCANCODE_U, 0x55, 0x16},
    {Key::V, "V", SDL_SCANCODE_V, 0x56, 0x2F},
    {Key::W, "W", SDL_SCANCODE_W, 0x57, 0x11},
    {Key::X, "X", SDL_SCANCODE_X, 0x58, 0x2D},
    {Key::Y, "Y", SDL_SCANCODE_Y, 0x59, 0x15},
    {Key::Z, "Z", SDL_SCANCODE_Z, 0x5A, 0x2C},
    {Key::Num0, "0", SDL_SCANCODE_0, 0x30, 0x0B},
    {Key::Num1, "1", SDL_SCANCODE_1, 0x31, 0x02},
    {Key::Num2, "2", SDL_SCANCODE_2, 0x32, 0x03},
    {Key::Num3, "3", SDL_SCANCODE_3, 0x33, 0x04},
    {Key::Num4, "4", SDL_SCANCODE_4, 0x34, 0x05},
    {Key::Num5, "5", SDL_SCANCODE_5, 0x35, 0x06},
    {Key::Num6, "6", SDL_SCANCODE_6, 0x36, 0x07},
    {Key::Num7, "7", SDL_SCANCODE_7, 0x37, 0x08},
    {Key::Num8, "8", SDL_SCANCODE_8, 0x38, 0x09},
    {Key::Num9, "9", SDL_SCANCODE_9, 0x39, 0x0A},
    {Key::F1, "F1", SDL_SCANCODE_F1, 0x70, 0x3B},
    {Key::F2, "F2", SDL_SCANCODE_F2, 0x71, 0x3C},
    {Key::F3, "F3", SDL_SCANCODE_F3, 0x72, 0x3D},
    {Key::F4, "F4", SDL_SCANCODE_F4, 0x73, 0x3E},
    {Key::F5, "F5", SDL_SCANCODE_F5, 0x74, 0x3F},
    {Key::F6, "F6", SDL_SCANCODE_F6, 0x75, 0x40},
    {Key::F7, "F7", SDL_SCANCODE_F7, 0x76, 0x41},
    {Key::F8, "F8", SDL_SCANCODE_F8, 0x77, 0x42},
    {Key::F9, "F9", SDL_SCANCODE_F9, 0x78, 0x43},
    {Key::F10, "F10", SDL_SCANCODE_F10, 0x79, 0x44},
    {Key::F11, "F11", SDL_SCANCODE_F11, 0x7A, 0x57},
    {Key::F12, "F12", SDL_SCANCODE_F12, 0x7B, 0x58},
    {Key::Escape, "Escape", SDL_SCANCODE_ESCAPE, 0x1B, 0x01},
    {Key::Return, "Return", SDL_SCANCODE_RETURN, 0x0D, 0x1C},
    {Key::Space, "Space", SDL_SCANCODE_SPACE, 0x20, 0x39},
    {Key::Tab, "Tab", SDL_SCANCODE_TAB, 0x09, 0x0F},
    {Key::Backspace, "Backspace", SDL_SCANCODE_BACKSPACE, 0x08, 0x0E},
    {Key::Insert, "Insert", SDL_SCANCODE_INSERT, 0x2D, 0xD2},
    {Key::Delete, "Delete", SDL_SCANCODE_DELETE, 0x2E, 0xD3},
    {Key::Home, "Home", SDL_SCANCODE_HOME, 0x24, 0xC7},
    {Key::End, "End", SDL_SCANCODE_END, 0x23, 0xCF},
    {Key::PageUp, "PageUp", SDL_SCANCODE_PAGEUP, 0x21, 0xC9},
    {Key::PageDown, "PageDown", SDL_SCANCODE_PAGEDOWN, 0x22, 0xD1},
    {Key::Left, "Left", SDL_SCANCODE_LEFT, 0x25, 0xCB},
    {Key::Right, "Right", SDL_SCANCODE_RIGHT, 0x27, 0xCD},
    {Key::Up, "Up", SDL_SCANCODE_UP, 0x26, 0xC8},
    {Key::Down, "Down", SDL_SCANCODE_DOWN, 0x28, 0xD0},
    {Key::LShift, "LShift", SDL_SCANCODE_LSHIFT, 0xA0, 0x2A},
    {Key::RShift, "RShift", SDL_SCANCODE_RSHIFT, 0xA1, 0x36},
    {Key::LCtrl, "LCtrl", SDL_SCANCODE_LCTRL, 0xA2, 0x1D},
    {Key::RCtrl, "RCtrl", SDL_SCANCODE_RCTRL, 0xA3, 0x9D},
    {Key::LAlt, "LAlt", SDL_SCANCODE_LALT, 0xA4, 0x38},
    {Key::RAlt, "RAlt", SDL_SCANCODE_RALT, 0xA5, 0xB8},
    {Key::Minus, "Minus", SDL_SCANCODE_MINUS, 0xBD, 0x0C},
    {Key::Equals, "Equals", SDL_SCANCODE_EQUALS, 0xBB, 0x0D},
    {Key::LeftBracket, "LeftBracket", SDL_SCANCODE_LEFTBRACKET, 0xDB, 0x1A},
    {Key::RightBracket, "RightBracket", SDL_SCANCODE_RIGHTBRACKET, 0xDD, 0x1B},
    {Key::Semicolon, "Semicolon", SDL_SCANCODE_SEMICOLON, 0xBA, 0x27},
    {Key::Apostrophe, "Apostrophe", SDL_SCANCODE_APOSTROPHE, 0xDE, 0x28},
    {Key::Grave, "Grave", SDL_SCANCODE_GRAVE, 0xC0, 0x29},
    {Key::Backslash, "Backslash", SDL_SCANCODE_BACKSLASH, 0xDC, 0x2B},
    {Key::Comma, "Comma", SDL_SCANCODE_COMMA, 0xBC, 0x33},
    {Key::Period, "Period", SDL_SCANCODE_PERIOD, 0xBE, 0x34},
    {Key::Slash, "Slash", SDL_SCANCODE_SLASH, 0xBF, 0x35},
    {Key::CapsLock, "CapsLock", SDL_SCANCODE_CAPSLOCK, 0x14, 0x3A},
    {Key::Pause, "Pause", SDL_SCANCODE_PAUSE, 0x13, 0xC5},
    {Key::KP0, "KP0", SDL_SCANCODE_KP_0, 0x60, 0x52},
    {Key::KP1, "KP1", SDL_SCANCODE_KP_1, 0x61, 0x4F},
    {Key::KP2, "KP2", SDL_SCANCODE_KP_2, 0x62, 0x50},
    {Key::KP3, "KP3", SDL_SCANCODE_KP_3, 0x63, 0x51},
    {Key::KP4, "KP4", SDL_SCANCODE_KP_4, 0x64, 0x4B},
    {Key::KP5, "KP5", SDL_SCANCODE_KP_5, 0x65, 0x4C},
    {Key::KP6, "KP6", SDL_SCANCODE_KP_6, 0x66, 0x4D},
    {Key::KP7, "KP7", SDL_SCANCODE_KP_7, 0x67, 0x47},
    {Key::KP8, "KP8", SDL_SCANCODE_KP_8, 0x68, 0x48},
    {Key::KP9, "KP9", SDL_SCANCODE_KP_9, 0x69, 0x49},
    {Key::KPPlus, "KPPlus", SDL_SCANCODE_KP_PLUS, 0x6B, 0x4E},
    {Key::KPMinus, "KPMinus", SDL_SCANCODE_KP_MINUS, 0x6D, 0x4A},
    {Key::KPMultiply, "KPMultiply", SDL_SCANCODE_KP_MULTIPLY, 0x6A, 0x37},
    {Key::KPDivide, "KPDivide", SDL_SCANCODE_KP_DIVIDE, 0x6F, 0xB5},
    {Key::KPEnter, "KPEnter", SDL_SCANCODE_KP_ENTER, 0x0D, 0x9C},
    {Key::KPPeriod, "KPPeriod", SDL_SCANCODE_KP_PERIOD, 0x6E, 0x53},
};
static_assert(sizeof(kKeys) / sizeof(kKeys[0]) == size_t(Key::Count), "key table out of step with Key");

using detail::lower;

struct Alias {
  const char* alias;
  Key key;
};
const Alias kAliases[] = {
    {"esc", Key::Escape},     {"enter", Key::Return},    {"return", Key::Return},
    {"shift", Key::LShift},   {"ctrl", Key::LCtrl},      {"control", Key::LCtrl},
    {"alt", Key::LAlt},       {"pgup", Key::PageUp},     {"pgdn", Key::PageDown},
    {"del", Key::Delete},     {"ins", Key::Insert},      {"bksp", Key::Backspace},
    {"num0", Key::Num0},      {"-", Key::Minus},         {"=", Key::Equals},
    {",", Key::Comma},        {".", Key::Period},        {"/", Key::Slash},
};

}  // namespace

const KeyInfo& key_info(Key k) {
  size_t i = size_t(k);
  return i < size_t(Key::Count) ? kKeys[i] : kKeys[0];
}

Key key_from_name(const std::string& name) {
  std::string n = lower(name);
  if (n.empty()) return Key::None;
  for (const KeyInfo& k : kKeys)
    if (k.key != Key::None && lower(k.name) == n) return k.key;
  for (const Alias& a : kAliases)
    if (n == a.alias) return a.key;
  return Key::None;
}

Key key_from_sdl_scancode(int scancode) {
  for (const KeyInfo& k : kKeys)
    if (k.key != Key::None && k.sdl_scancode == scancode) return k.key;
  return Key::None;
}

Key key_from_vk(int vk) {
  for (const KeyInfo& k : kKeys)
    if (k.key != Key::None && k.vk == vk) return k.key;
  return Key::None;
}

Key key_from_dik(int dik) {
  for (const KeyInfo& k : kKeys)
    if (k.key != Key::None && k.dik == dik) return k.key;
  return Key::None;
}

}  // namespace platform
