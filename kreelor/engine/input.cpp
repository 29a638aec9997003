// Keyboard, joystick and the device list.
#include "kreelor/engine/input.h"

#include <cstdio>
#include <cstring>

#include "kreelor/engine/directx.h"
#include "kreelor/engine/mouse.h"
#include "platform/events.h"

namespace kreelor {

didevice_t* founddevices[MAXDEVICES] = {};
int32_t totaldevices = 0, joystick = 0, controltype = 0;
uint8_t keybuffer[256], releasebuffer[256], bouncebuffer[256];
int32_t joyxpos1 = 0, joyypos1 = 0, joystickbuttons = 0, joystickbounce = 0, joystickrelease = 0,
        joystickreleased = 0;
const char* inputfailat = nullptr;
bool inputfocus = true;

static int platformjoycount() { return platform::joystick_count(); }
static int platformjoyaxis(int i, int a) { return platform::joystick_axis(i, a); }
static bool platformjoybutton(int i, int b) { return platform::joystick_button(i, b); }
int (*joystickcount)() = platformjoycount;
int (*joystickaxis)(int, int) = platformjoyaxis;
bool (*joystickbutton)(int, int) = platformjoybutton;

static bool fails(const char* message) { return inputfailat && std::strcmp(inputfailat, message) == 0; }

void deviceevent(didevice_t* d, uint32_t ofs, uint32_t data) {
  if (!d || !d->acquired || d->count >= DEVICEBUFFER) return;  // overflow drops the event
  d->ofs[d->count] = ofs;
  d->data[d->count] = data;
  ++d->count;
  if (d == g_pMouse) g_hMouseEvent = 1;
}

int getdevicedata(didevice_t* d, uint32_t* ofs, uint32_t* data, int max) {
  if (!d || !d->acquired) return -1;
  int n = d->count < max ? d->count : max;
  for (int i = 0; i < n; ++i) ofs[i] = d->ofs[i], data[i] = d->data[i];
  std::memmove(d->ofs, d->ofs + n, sizeof(uint32_t) * (d->count - n));
  std::memmove(d->data, d->data + n, sizeof(uint32_t) * (d->count - n));
  d->count -= n;
  return n;
}

static int acquire(didevice_t* d) {
  if (!d || !inputfocus) return 0;  // foreground devices need the focus
  d->acquired = true;
  return 1;
}

int acquiredevice(int n) {
  if (n < 0 || n >= totaldevices) return 0;
  return acquire(founddevices[n]);
}

static int initkeyboard() {
  static const char* steps[] = {"Error Initializing Keyboard", "Error Setting Keyboard Data Format",
                                "Error Setting Keyboard Cooperative Level", "Error Setting Keyboard Buffer Size",
                                "Error getting Keyboard Device Info"};
  for (const char* s : steps)
    if (fails(s)) return errormessage(s);
  auto* d = new didevice_t;
  d->kind = DEVKEYBOARD;
  std::snprintf(d->name, sizeof d->name, "Keyboard");
  founddevices[totaldevices++] = d;
  return 1;
}

static void enumjoysticks() {
  const int n = joystickcount ? joystickcount() : 0;
  for (int i = 0; i < n && totaldevices < MAXDEVICES; ++i) {
    auto* d = new didevice_t;
    d->kind = DEVJOYSTICK;
    d->joyindex = i;
    std::snprintf(d->name, sizeof d->name, "Joystick %d", i + 1);
    founddevices[totaldevices++] = d;
  }
}

int initinput(int32_t instance, int32_t window) {
  (void)instance;
  (void)window;
  releasedevices();
  std::memset(keybuffer, 0, sizeof keybuffer);
  std::memset(releasebuffer, 0, sizeof releasebuffer);
  std::memset(bouncebuffer, 0, sizeof bouncebuffer);
  joystick = 0;
  if (fails("Error Initializing Direct Input")) return errormessage("Error Initializing Direct Input");
  if (!initkeyboard()) return errormessage("Error Initializing Keyboard");
  enumjoysticks();
  acquiredevice(0);
  if (totaldevices > 1) {
    joystick = 1;
    acquiredevice(1);
  }
  // A mouse that cannot be set up is as fatal as the keyboard: start-up stops.
  if (!initmouse()) return 0;
  return 1;
}

void readkeyboard() {
  if (totaldevices < 1) return;
  didevice_t* k = founddevices[0];
  uint32_t ofs[DEVICEBUFFER], data[DEVICEBUFFER];
  int n = getdevicedata(k, ofs, data, DEVICEBUFFER);
  if (n < 0) {
    acquire(k);  // input was lost: no events this frame
    return;
  }
  for (int i = 0; i < n; ++i)
    if (ofs[i] >= 1 && ofs[i] <= 254) keybuffer[ofs[i]] = (data[i] & 0x80) ? 1 : 0;
}

int checkkey(int code) { return code >= 0 && code < 256 && keybuffer[code]; }

int releasekey(int code) {
  if (code < 0 || code > 255) return 0;
  if (keybuffer[code]) {
    if (releasebuffer[code]) return 0;
    releasebuffer[code] = 1;
    return 1;
  }
  if (!releasebuffer[code]) return 0;
  releasebuffer[code] = 0;
  return 2;
}

int bouncekey(int code) {
  if (code < 0 || code > 255) return 0;
  if (!keybuffer[code]) {
    bouncebuffer[code] = 0;
    return 0;
  }
  if (bouncebuffer[code]) return 0;
  bouncebuffer[code] = 1;
  return 1;
}

// Axis value -32768..32767 to -16384..16384 with a 20% dead zone around the centre.
static int32_t joyrange(int raw) {
  const int32_t dead = 32768 / 5;
  int32_t a = raw < 0 ? -raw : raw;
  if (a <= dead) return 0;
  if (a > 32767) a = 32767;
  int32_t v = (a - dead) * 16384 / (32767 - dead);
  return raw < 0 ? -v : v;
}

int readjoystick() {
  if (!joystick || totaldevices < 2) return 0;
  didevice_t* d = founddevices[1];
  if (!d->acquired) {
    acquire(d);  // lost: re-acquire and read next frame
    return 0;
  }
  if (!joystickcount || d->joyindex >= joystickcount()) return 0;  // unplugged
  joyxpos1 = joyrange(joystickaxis(d->joyindex, 0));
  joyypos1 = joyrange(joystickaxis(d->joyindex, 1));
  joystickbuttons = 0;
  for (int b = 0; b < 3; ++b)
    if (joystickbutton(d->joyindex, b)) joystickbuttons |= 1 << b;
  joystickbounce = 0;
  joystickrelease = 0;
  if (!joystickbuttons && !joystickreleased) {
    joystickreleased = 1;
    joystickrelease = 1;
  }
  if (joystickbuttons && joystickreleased) {
    joystickbounce = joystickbuttons;
    joystickrelease = 1;
    joystickreleased = 0;
  }
  return 1;
}

void releasedevices() {
  for (int i = 0; i < totaldevices; ++i) {
    delete founddevices[i];
    founddevices[i] = nullptr;
  }
  totaldevices = 0;
  joystick = 0;
  delete g_pMouse;
  g_pMouse = nullptr;
}

void inputevent(const platform::Event& ev) {
  using platform::EventType;
  didevice_t* kb = totaldevices > 0 ? founddevices[0] : nullptr;
  switch (ev.type) {
    case EventType::KeyDown:
      if (!ev.repeat) deviceevent(kb, (uint32_t)platform::dik_of(ev.key), 0x80);
      break;
    case EventType::KeyUp: deviceevent(kb, (uint32_t)platform::dik_of(ev.key), 0); break;
    case EventType::MouseMove:
      if (ev.dx) deviceevent(g_pMouse, DIMOFS_X, (uint32_t)ev.dx);
      if (ev.dy) deviceevent(g_pMouse, DIMOFS_Y, (uint32_t)ev.dy);
      break;
    case EventType::MouseWheel: deviceevent(g_pMouse, DIMOFS_Z, (uint32_t)(ev.dy * 120)); break;
    case EventType::MouseDown:
    case EventType::MouseUp: {
      const uint32_t data = ev.type == EventType::MouseDown ? 0x80 : 0;
      if (ev.button == platform::MouseLeft) deviceevent(g_pMouse, DIMOFS_BUTTON0, data);
      if (ev.button == platform::MouseRight) deviceevent(g_pMouse, DIMOFS_BUTTON1, data);
      if (ev.button == platform::MouseMiddle) deviceevent(g_pMouse, DIMOFS_BUTTON2, data);
      break;
    }
    case EventType::FocusLost:
      inputfocus = false;
      for (int i = 0; i < totaldevices; ++i) founddevices[i]->acquired = false, founddevices[i]->count = 0;
      if (g_pMouse) g_pMouse->acquired = false, g_pMouse->count = 0;
      break;
    case EventType::FocusGained: inputfocus = true; break;
    default: break;
  }
}

}  // namespace kreelor
