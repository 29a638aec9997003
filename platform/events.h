// Input events from the window system or, headless, from the input script.
#pragma once
#include <cstdint>
#include <string>

#include "keys.h"

namespace platform {

enum class EventType : uint8_t {
  None,
  KeyDown,        // key, shift/ctrl/alt, repeat
  KeyUp,          // key
  TextInput,      // text (UTF-8)
  MouseDown,      // button, x, y
  MouseUp,        // button, x, y
  MouseMove,      // x, y (frame coordinates), dx, dy (relative motion)
  MouseWheel,     // dy
  FocusGained,
  FocusLost,
  Quit,           // window closed
  Raise,          // a second instance asked this one to come to the front
  MenuCommand,    // text = component name of a menu item (script "menu NAME")
  JoyAxis,        // joy (device), axis, value (-32768..32767)
  JoyButtonDown,  // joy, button (0-based)
  JoyButtonUp,
  JoyAdded,       // joy
  JoyRemoved,     // joy
};

enum MouseButton : uint8_t { MouseLeft = 1, MouseRight = 2, MouseMiddle = 4 };

struct Event {
  EventType type = EventType::None;
  Key key = Key::None;
  bool shift = false, ctrl = false, alt = false, repeat = false;
  uint8_t button = 0;  // MouseButton value
  int x = 0, y = 0;    // pointer position in frame coordinates
  int dx = 0, dy = 0;
  int joy = 0, axis = 0, value = 0;
  std::string text;
};

// Next pending event: first the script events due at the current frame, then
// the window system's. Returns false when none is pending.
bool poll_event(Event& ev);

// Current states (kept up to date by poll_event).
bool key_down(Key k);
uint8_t mouse_buttons();                 // MouseButton bits held now
bool pointer_position(int& x, int& y);   // frame coordinates; false if outside the frame
bool has_focus();

// Joysticks and game controllers (headless: a virtual stick exists once the
// script uses "joy" or "joybutton").
int joystick_count();
std::string joystick_name(int index);
int joystick_axis(int index, int axis);       // -32768..32767, 0 when absent
bool joystick_button(int index, int button);  // 0-based

// Relative pointer mode (the space game reads motion deltas; pointer hidden).
void set_relative_mouse(bool on);

}  // namespace platform
