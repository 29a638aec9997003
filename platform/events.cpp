// The event pump: script events of the current frame first, then SDL's.
#include "events.h"

#include <SDL.h>

#include <vector>

#include "display.h"
#include "display_sdl.h"
#include "host.h"
#include "instance.h"
#include "internal.h"

namespace platform {
namespace {

std::vector<SDL_Joystick*> g_sticks;

uint8_t sdl_button(uint8_t b) {
  switch (b) {
    case SDL_BUTTON_LEFT: return MouseLeft;
    case SDL_BUTTON_RIGHT: return MouseRight;
    case SDL_BUTTON_MIDDLE: return MouseMiddle;
    default: return 0;
  }
}

int stick_index(SDL_JoystickID id) {
  for (size_t i = 0; i < g_sticks.size(); ++i)
    if (g_sticks[i] && SDL_JoystickInstanceID(g_sticks[i]) == id) return int(i);
  return -1;
}

// Translates one SDL event; false when it means nothing to the games.
bool translate(const SDL_Event& s, Event& e) {
  detail::Input& in = detail::state().input;
  switch (s.type) {
    case SDL_QUIT:
      e.type = EventType::Quit;
      return true;
    case SDL_WINDOWEVENT:
      switch (s.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: e.type = EventType::FocusGained; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: e.type = EventType::FocusLost; return true;
        case SDL_WINDOWEVENT_LEAVE: in.inside = false; return false;
        default: detail::display_handle_window_event(s.window.event); return false;
      }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      e.type = s.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
      e.key = key_from_sdl_scancode(s.key.keysym.scancode);
      if (e.key == Key::None) return false;
      e.shift = (s.key.keysym.mod & KMOD_SHIFT) != 0;
      e.ctrl = (s.key.keysym.mod & KMOD_CTRL) != 0;
      e.alt = (s.key.keysym.mod & KMOD_ALT) != 0;
      e.repeat = s.key.repeat != 0;
      return true;
    case SDL_TEXTINPUT:
      e.type = EventType::TextInput;
      e.text = s.text.text;
      return true;
    case SDL_MOUSEMOTION:
      e.type = EventType::MouseMove;
      detail::window_to_frame(s.motion.x, s.motion.y, e.x, e.y);
      e.dx = s.motion.xrel;
      e.dy = s.motion.yrel;
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      e.type = s.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
      e.button = sdl_button(s.button.button);
      detail::window_to_frame(s.button.x, s.button.y, e.x, e.y);
      return e.button != 0;
    case SDL_MOUSEWHEEL:
      e.type = EventType::MouseWheel;
      e.dy = s.wheel.y;
      return true;
    case SDL_JOYDEVICEADDED: {
      SDL_Joystick* j = SDL_JoystickOpen(s.jdevice.which);
      if (!j) return false;
      if (stick_index(SDL_JoystickInstanceID(j)) >= 0) {
        SDL_JoystickClose(j);
        return false;
      }
      g_sticks.push_back(j);
      e.type = EventType::JoyAdded;
      e.joy = int(g_sticks.size()) - 1;
      return true;
    }
    case SDL_JOYDEVICEREMOVED: {
      int i = stick_index(s.jdevice.which);
      if (i < 0) return false;
      SDL_JoystickClose(g_sticks[size_t(i)]);
      g_sticks.erase(g_sticks.begin() + i);
      e.type = EventType::JoyRemoved;
      e.joy = i;
      return true;
    }
    case SDL_JOYAXISMOTION:
      e.type = EventType::JoyAxis;
      e.joy = stick_index(s.jaxis.which);
      e.axis = s.jaxis.axis;
      e.value = s.jaxis.value;
      return e.joy >= 0;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      e.type = s.type == SDL_JOYBUTTONDOWN ? EventType::JoyButtonDown : EventType::JoyButtonUp;
      e.joy = stick_index(s.jbutton.which);
      e.button = s.jbutton.button;
      return e.joy >= 0;
    default:
      return false;
  }
}

}  // namespace

namespace detail {

void apply_to_input(const Event& e) {
  State& st = state();
  Input& in = st.input;
  switch (e.type) {
    case EventType::KeyDown: in.keys[size_t(e.key)] = true; break;
    case EventType::KeyUp: in.keys[size_t(e.key)] = false; break;
    case EventType::MouseMove:
    case EventType::MouseDown:
    case EventType::MouseUp: {
      int w, h;
      display_last_frame(w, h);
      in.x = e.x;
      in.y = e.y;
      in.inside = e.x >= 0 && e.y >= 0 && e.x < w && e.y < h;
      if (e.type == EventType::MouseDown) in.buttons |= e.button;
      if (e.type == EventType::MouseUp) in.buttons &= uint8_t(~e.button);
      break;
    }
    case EventType::FocusGained: in.focus = true; break;
    case EventType::FocusLost:
      in.focus = false;
      // Keys and buttons held while focus goes away are never seen released.
      for (bool& k : in.keys) k = false;
      in.buttons = 0;
      break;
    case EventType::JoyAxis:
      if (st.virtual_stick && e.axis >= 0 && e.axis < 8) st.stick.axes[e.axis] = e.value;
      break;
    case EventType::JoyButtonDown:
    case EventType::JoyButtonUp:
      if (st.virtual_stick && e.button < 32) st.stick.buttons[e.button] = e.type == EventType::JoyButtonDown;
      break;
    default: break;
  }
}

void joysticks_open() {
  if (!SDL_WasInit(SDL_INIT_JOYSTICK)) return;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_Joystick* j = SDL_JoystickOpen(i)) g_sticks.push_back(j);
  SDL_FlushEvent(SDL_JOYDEVICEADDED);
}

void joysticks_close() {
  for (SDL_Joystick* j : g_sticks) SDL_JoystickClose(j);
  g_sticks.clear();
}

}  // namespace detail

bool poll_event(Event& ev) {
  detail::State& st = detail::state();
  ev = Event{};
  if (!st.pending.empty()) {
    ev = st.pending.front();
    st.pending.pop_front();
    if (ev.type == EventType::MouseMove) {
      // Script moves carry no motion: derive it from the last position.
      ev.dx = ev.x - st.input.x;
      ev.dy = ev.y - st.input.y;
    } else if (ev.type == EventType::MouseDown || ev.type == EventType::MouseUp) {
      ev.x = st.input.x;
      ev.y = st.input.y;
    }
    detail::apply_to_input(ev);
    return true;
  }
  if (single_instance_raise_requested()) {
    display_raise();
    ev.type = EventType::Raise;
    return true;
  }
  if (st.headless || !SDL_WasInit(SDL_INIT_VIDEO)) return false;
  SDL_Event s;
  while (SDL_PollEvent(&s)) {
    // The overlay (menu bar, dialogs) sees events first and may keep input for
    // itself; quit and window events always reach the game too.
    if (Overlay* o = display_overlay()) {
      bool consumed = o->handle_event(s);
      if (consumed && s.type != SDL_QUIT && s.type != SDL_WINDOWEVENT) continue;
    }
    if (translate(s, ev)) {
      detail::apply_to_input(ev);
      return true;
    }
    ev = Event{};
  }
  return false;
}

bool key_down(Key k) { return size_t(k) < size_t(Key::Count) && detail::state().input.keys[size_t(k)]; }
uint8_t mouse_buttons() { return detail::state().input.buttons; }

bool pointer_position(int& x, int& y) {
  const detail::Input& in = detail::state().input;
  x = in.x;
  y = in.y;
  return in.inside;
}

bool has_focus() { return detail::state().input.focus; }

int joystick_count() {
  if (detail::state().virtual_stick) return 1;
  return int(g_sticks.size());
}

std::string joystick_name(int index) {
  if (detail::state().virtual_stick) return index == 0 ? "Scripted joystick" : "";
  if (index < 0 || size_t(index) >= g_sticks.size()) return {};
  const char* n = SDL_JoystickName(g_sticks[size_t(index)]);
  return n ? n : "Joystick";
}

int joystick_axis(int index, int axis) {
  const detail::State& st = detail::state();
  if (st.virtual_stick) return index == 0 && axis >= 0 && axis < 8 ? st.stick.axes[axis] : 0;
  if (index < 0 || size_t(index) >= g_sticks.size()) return 0;
  return SDL_JoystickGetAxis(g_sticks[size_t(index)], axis);
}

bool joystick_button(int index, int button) {
  const detail::State& st = detail::state();
  if (st.virtual_stick) return index == 0 && button >= 0 && button < 32 && st.stick.buttons[button];
  if (index < 0 || size_t(index) >= g_sticks.size()) return false;
  return SDL_JoystickGetButton(g_sticks[size_t(index)], button) != 0;
}

void set_relative_mouse(bool on) {
  detail::state().input.relative = on;
  if (!detail::state().headless && SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE);
}

}  // namespace platform
