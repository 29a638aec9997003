// Keyboard, joystick and the device list, read once per frame into plain
// tables. The devices behave like DirectInput's: foreground and non-exclusive
// (focus loss unacquires them and empties their buffers), keyboard and mouse
// buffered up to 32 events, the joystick polled.
#pragma once
#include <cstdint>

namespace platform {
struct Event;
}

namespace kreelor {

constexpr int MAXDEVICES = 10;
constexpr int DEVICEBUFFER = 32;

enum devicekind : int32_t { DEVKEYBOARD, DEVJOYSTICK, DEVMOUSE };

struct didevice_t {
  int32_t kind = DEVKEYBOARD;
  int32_t joyindex = 0;  // platform joystick of a DEVJOYSTICK
  bool acquired = false;
  int32_t count = 0;     // buffered events
  uint32_t ofs[DEVICEBUFFER] = {}, data[DEVICEBUFFER] = {};
  char name[64] = {};
};

extern didevice_t* founddevices[MAXDEVICES];
extern int32_t totaldevices, joystick, controltype;

extern uint8_t keybuffer[256], releasebuffer[256], bouncebuffer[256];

extern int32_t joyxpos1, joyypos1, joystickbuttons, joystickbounce, joystickrelease, joystickreleased;

// Fault injection: the set-up step whose message equals this text fails.
extern const char* inputfailat;
// Joystick source; the platform's joysticks by default.
extern int (*joystickcount)();
extern int (*joystickaxis)(int index, int axis);
extern bool (*joystickbutton)(int index, int button);
extern bool inputfocus;  // the program has the input focus

int initinput(int32_t instance, int32_t window);
void readkeyboard();
int readjoystick();
int checkkey(int code);
int releasekey(int code);
int bouncekey(int code);
int acquiredevice(int n);
void releasedevices();
// Hands one platform event to the devices (keys, mouse motion and buttons, focus).
void inputevent(const platform::Event& ev);
// Appends one buffered event to a device (dropped when its buffer is full or it is not acquired).
void deviceevent(didevice_t* d, uint32_t ofs, uint32_t data);
// DirectInput-style buffered read: -1 when input was lost (not acquired), else
// the number of events copied (at most max).
int getdevicedata(didevice_t* d, uint32_t* ofs, uint32_t* data, int max);

}  // namespace kreelor
