// State shared by the platform's own files (not for the games).
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "events.h"
#include "script.h"

namespace platform::detail {

struct Input {
  bool keys[size_t(Key::Count)] = {};
  uint8_t buttons = 0;
  int x = 0, y = 0;     // last pointer position, frame coordinates
  bool inside = false;  // pointer over the frame
  bool focus = true;
  bool relative = false;
};

struct VirtualStick {
  int axes[8] = {};
  bool buttons[32] = {};
};

struct State {
  bool started = false;
  bool headless = false;
  long frame = 0;
  bool quit = false;
  std::vector<ScriptEvent> script;  // sorted by frame (stable)
  size_t script_next = 0;
  std::deque<Event> pending;        // script events of the current frame, then synthesised ones
  Input input;
  bool virtual_stick = false;       // headless: a stick the script drives
  VirtualStick stick;
};

State& state();

// Clock internals.
void clock_reset(bool virtual_clock);
// Display internals: frame-coordinate mapping for window pixels.
bool window_to_frame(int wx, int wy, int& fx, int& fy);
void display_handle_window_event(int sdl_window_event);
// Event pump: applies an event to the input state.
void apply_to_input(const Event& ev);
void joysticks_open();
void joysticks_close();

}  // namespace platform::detail
