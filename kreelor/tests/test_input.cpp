// Keyboard table, buffered mouse and joystick, fed by platform events.
#include <gtest/gtest.h>

#include "kreelor/engine/directx.h"
#include "kreelor/engine/input.h"
#include "kreelor/engine/mouse.h"
#include "platform/events.h"

using namespace kreelor;
using platform::Event;
using platform::EventType;
using platform::Key;

namespace {
int sticks = 0;
int axes[2] = {0, 0};
bool buttons[3] = {false, false, false};

struct Input : ::testing::Test {
  int (*keepcount)() = nullptr;
  int (*keepaxis)(int, int) = nullptr;
  bool (*keepbutton)(int, int) = nullptr;
  void SetUp() override {
    keepcount = joystickcount, keepaxis = joystickaxis, keepbutton = joystickbutton;
    joystickcount = [] { return sticks; };
    joystickaxis = [](int, int a) { return axes[a & 1]; };
    joystickbutton = [](int, int b) { return b < 3 && buttons[b]; };
    sticks = 0;
    axes[0] = axes[1] = 0;
    buttons[0] = buttons[1] = buttons[2] = false;
    systemswapbuttons = false;
    inputfocus = true;
    joyxpos1 = joyypos1 = joystickbuttons = joystickbounce = joystickrelease = joystickreleased = 0;
    ASSERT_EQ(initinput(0, 0), 1);
  }
  void TearDown() override {
    releasedevices();
    joystickcount = keepcount, joystickaxis = keepaxis, joystickbutton = keepbutton;
  }
  static void key(Key k, bool down) {
    Event e;
    e.type = down ? EventType::KeyDown : EventType::KeyUp;
    e.key = k;
    inputevent(e);
  }
  static void move(int dx, int dy) {
    Event e;
    e.type = EventType::MouseMove;
    e.dx = dx, e.dy = dy;
    inputevent(e);
  }
  static void button(uint8_t b, bool down) {
    Event e;
    e.type = down ? EventType::MouseDown : EventType::MouseUp;
    e.button = b;
    inputevent(e);
  }
};
const int ESC = 1, LEFT = 0xCB;
}  // namespace

TEST_F(Input, DeviceListAndScanCodes) {
  EXPECT_EQ(totaldevices, 1);
  EXPECT_EQ(founddevices[0]->kind, DEVKEYBOARD);
  EXPECT_EQ(joystick, 0);
  EXPECT_EQ(platform::dik_of(Key::Escape), ESC);
  EXPECT_EQ(platform::dik_of(Key::Left), LEFT);
}

TEST_F(Input, PressAndReleaseInOneFrameLeavesNothing) {
  key(Key::Escape, true);
  key(Key::Escape, false);
  readkeyboard();
  EXPECT_EQ(keybuffer[ESC], 0);
  EXPECT_EQ(checkkey(ESC), 0);
  EXPECT_EQ(releasekey(ESC), 0);
  EXPECT_EQ(bouncekey(ESC), 0);
}

TEST_F(Input, ReleaseAndBounceQueries) {
  key(Key::Left, true);
  readkeyboard();
  std::vector<int> rel, bounce;
  for (int frame = 0; frame < 3; ++frame) {
    readkeyboard();
    rel.push_back(releasekey(LEFT));
    bounce.push_back(bouncekey(LEFT));
  }
  key(Key::Left, false);
  for (int frame = 0; frame < 2; ++frame) {
    readkeyboard();
    rel.push_back(releasekey(LEFT));
    bounce.push_back(bouncekey(LEFT));
  }
  EXPECT_EQ(rel, (std::vector<int>{1, 0, 0, 2, 0}));
  EXPECT_EQ(bounce, (std::vector<int>{1, 0, 0, 0, 0}));
  key(Key::Left, true);
  readkeyboard();
  EXPECT_EQ(bouncekey(LEFT), 1);  // again after a query saw it up
  EXPECT_EQ(checkkey(300), 0);
}

TEST_F(Input, FocusLossDropsEventsAndReacquires) {
  key(Key::Left, true);
  Event lost;
  lost.type = EventType::FocusLost;
  inputevent(lost);
  readkeyboard();  // lost: re-acquire fails without the focus
  EXPECT_EQ(keybuffer[LEFT], 0);
  Event got;
  got.type = EventType::FocusGained;
  inputevent(got);
  key(Key::Left, true);  // not acquired yet: dropped
  readkeyboard();        // re-acquires, no events this frame
  EXPECT_EQ(keybuffer[LEFT], 0);
  key(Key::Left, true);
  readkeyboard();
  EXPECT_EQ(keybuffer[LEFT], 1);
}

TEST_F(Input, KeyboardBufferHoldsThirtyTwoEvents) {
  for (int i = 0; i < 40; ++i) key(i % 2 ? Key::A : Key::B, true);
  didevice_t* k = founddevices[0];
  EXPECT_EQ(k->count, DEVICEBUFFER);
}

TEST_F(Input, MouseStartsCentredAndHidden) {
  EXPECT_EQ(mousexp, 320);
  EXPECT_EQ(mouseyp, 240);
  EXPECT_EQ(mouseflags & 1, 0);
  mouseon();
  EXPECT_EQ(mouseflags & 1, 1);
  mouseoff();
}

TEST_F(Input, MouseLimitsAndMovement) {
  move(-1000, 5);
  EXPECT_EQ(readmouse(), 1);
  EXPECT_EQ(mousexp, 0);
  EXPECT_EQ(mousedx, -1000);
  EXPECT_EQ(mouseyp, 245);
  EXPECT_EQ(mousexo, 320);
  move(2000, 1000);
  readmouse();
  EXPECT_EQ(mousexp, 635);
  EXPECT_EQ(mouseyp, 475);
  EXPECT_EQ(mousexo, 0);
  readmouse();
  EXPECT_EQ(mousedx, 0);
}

TEST_F(Input, ButtonSetsAndBounce) {
  button(platform::MouseLeft, true);
  readmouse();
  EXPECT_EQ(mousebuttons, 1);
  EXPECT_EQ(mousepressed, 1);
  EXPECT_EQ(mouserelease, 1);
  EXPECT_EQ(mousebounce, 1);
  button(platform::MouseLeft, false);
  button(platform::MouseLeft, true);
  readmouse();  // pressed again in the next frame: no bounce
  EXPECT_EQ(mousebuttons, 1);
  EXPECT_EQ(mousebounce, 0);
  button(platform::MouseLeft, false);
  readmouse();
  EXPECT_EQ(mousebuttons, 0);
  EXPECT_EQ(mousepressed, 0);
  EXPECT_EQ(mouserelease, 1);
  EXPECT_EQ(mousereleased, 1);
  button(platform::MouseRight, true);
  readmouse();
  EXPECT_EQ(mousebounce, 2);
}

TEST_F(Input, SwappedButtons) {
  releasedevices();
  systemswapbuttons = true;
  ASSERT_EQ(initinput(0, 0), 1);
  EXPECT_EQ(mousebutton1, 2);
  EXPECT_EQ(mousebutton2, 1);
  button(platform::MouseLeft, true);
  readmouse();
  EXPECT_EQ(mousebuttons, 2);
  button(platform::MouseRight, true);
  readmouse();
  EXPECT_EQ(mousebuttons, 1);
}

TEST_F(Input, NoJoystick) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(readjoystick(), 0);
  EXPECT_EQ(joyxpos1, 0);
  EXPECT_EQ(joystickbuttons, 0);
}

TEST_F(Input, JoystickRangeDeadZoneAndButtons) {
  releasedevices();
  sticks = 1;
  ASSERT_EQ(initinput(0, 0), 1);
  ASSERT_EQ(totaldevices, 2);
  EXPECT_EQ(joystick, 1);
  EXPECT_EQ(founddevices[1]->kind, DEVJOYSTICK);
  struct Case {
    int raw, expect;
  } cases[] = {{0, 0}, {6000, 0}, {-6553, 0}, {32767, 16384}, {-32768, -16384}, {19660, 8191}};
  for (auto& c : cases) {
    axes[0] = c.raw;
    EXPECT_EQ(readjoystick(), 1);
    EXPECT_NEAR(joyxpos1, c.expect, 1) << c.raw;
  }
  readjoystick();
  EXPECT_EQ(joystickreleased, 1);
  buttons[1] = true;
  readjoystick();
  EXPECT_EQ(joystickbuttons, 2);
  EXPECT_EQ(joystickbounce, 2);
  EXPECT_EQ(joystickrelease, 1);
  readjoystick();
  EXPECT_EQ(joystickbounce, 0);
  EXPECT_EQ(joystickrelease, 0);
  buttons[1] = false;
  readjoystick();
  EXPECT_EQ(joystickrelease, 1);
  EXPECT_EQ(joystickbuttons, 0);
}

TEST_F(Input, SetupFailuresShowTheirMessagesAndStopStartUp) {
  static std::vector<std::string> seen;
  auto keep = messagebox;
  messagebox = [](const char*, const char* t, uint32_t) { seen.push_back(t); };
  const std::string note = "\n\nThis Program Requires DirectX 7 Or Higher";
  struct Case {
    const char* step;
    bool keyboard;  // a keyboard step is followed by "Error Initializing Keyboard"
  } cases[] = {{"Error Initializing Direct Input", false},
               {"Error Initializing Keyboard", true},
               {"Error Setting Keyboard Data Format", true},
               {"Error Setting Keyboard Cooperative Level", true},
               {"Error Setting Keyboard Buffer Size", true},
               {"Error getting Keyboard Device Info", true},
               {"Error Creating Direct Input Interface", false},
               {"Error Creating Interface To The Mouse", false},
               {"Error Setting Mouse Data Format", false},
               {"Error Setting Mouse Cooperative Level", false},
               {"Error Creating Mouse Event", false},
               {"Error Setting Mouse Event", false},
               {"Error Setting Mouse Data Buffer", false},
               {"Error Setting Buffer Property", false}};
  for (auto& c : cases) {
    seen.clear();
    releasedevices();
    inputfailat = c.step;
    EXPECT_EQ(initinput(0, 0), 0) << c.step;
    ASSERT_EQ(seen.size(), c.keyboard ? 2u : 1u) << c.step;
    EXPECT_EQ(seen[0], c.step + note);
    if (c.keyboard) {
      EXPECT_EQ(seen[1], "Error Initializing Keyboard" + note);
    }
  }
  inputfailat = nullptr;
  messagebox = keep;
}
