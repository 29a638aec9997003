#include <gtest/gtest.h>

#include "platform/script.h"

using namespace platform;

TEST(Script, ParsesEveryEventKind) {
  const char* text =
      "# comment line\n"
      "\n"
      "120 move 250 300\n"
      "121 down left\n"
      "122 up right   # trailing comment\n"
      "130 key F1 shift ctrl\n"
      "131 keydown Left\n"
      "140 keyup left\n"
      "150 menu EasyItem\n"
      "160 focus lost\n"
      "161 focus gained\n"
      "170 answer My Name\n"
      "180 joy x -20000\n"
      "181 joybutton 2 down\n"
      "182 text hello world\n"
      "183 wheel -1\n"
      "900 quit\n";
  std::vector<ScriptEvent> ev;
  std::string err;
  ASSERT_TRUE(parse_script(text, "t.txt", ev, err)) << err;
  ASSERT_EQ(ev.size(), 16u);  // "key" gives a press and a release
  EXPECT_EQ(ev[0].event.type, EventType::MouseMove);
  EXPECT_EQ(ev[0].event.x, 250);
  EXPECT_EQ(ev[0].event.y, 300);
  EXPECT_EQ(ev[0].frame, 120);
  EXPECT_EQ(ev[1].event.button, MouseLeft);
  EXPECT_EQ(ev[2].event.type, EventType::MouseUp);
  EXPECT_EQ(ev[2].event.button, MouseRight);
  EXPECT_EQ(ev[3].event.type, EventType::KeyDown);
  EXPECT_EQ(ev[3].event.key, Key::F1);
  EXPECT_TRUE(ev[3].event.shift && ev[3].event.ctrl && !ev[3].event.alt);
  EXPECT_EQ(ev[4].event.type, EventType::KeyUp);
  EXPECT_EQ(ev[4].frame, 130);
  EXPECT_EQ(ev[6].event.key, Key::Left);
  EXPECT_EQ(ev[7].event.text, "EasyItem");
  EXPECT_EQ(ev[8].event.type, EventType::FocusLost);
  EXPECT_EQ(ev[10].kind, ScriptEvent::Answer);
  EXPECT_EQ(ev[10].answer, "My Name");
  EXPECT_EQ(ev[11].event.axis, 0);
  EXPECT_EQ(ev[11].event.value, -20000);
  EXPECT_EQ(ev[12].event.type, EventType::JoyButtonDown);
  EXPECT_EQ(ev[12].event.button, 2);
  EXPECT_EQ(ev[13].event.text, "hello world");
  EXPECT_EQ(ev[14].event.dy, -1);
  EXPECT_EQ(ev[15].event.type, EventType::Quit);
}

TEST(Script, EventsAreOrderedByFrameKeepingFileOrderWithinAFrame) {
  std::vector<ScriptEvent> ev;
  std::string err;
  ASSERT_TRUE(parse_script("20 down left\n10 move 1 1\n10 move 2 2\n", "s", ev, err)) << err;
  ASSERT_EQ(ev.size(), 3u);
  EXPECT_EQ(ev[0].event.x, 1);
  EXPECT_EQ(ev[1].event.x, 2);
  EXPECT_EQ(ev[2].frame, 20);
}

TEST(Script, BadLinesNameTheFileAndLine) {
  struct Case {
    const char* text;
    const char* expect;  // substring of the error
  } cases[] = {
      {"10 move 1\n", "s:1: usage: FRAME move X Y"},
      {"# ok\nabc move 1 2\n", "s:2: frame number expected"},
      {"-5 move 1 2\n", "s:1: frame number expected"},
      {"10 jump\n", "s:1: unknown event \"jump\""},
      {"10 key NoSuchKey\n", "unknown key \"NoSuchKey\""},
      {"10 key A meta\n", "unknown modifier"},
      {"10 keydown A shift\n", "modifiers are only for \"key\""},
      {"10 down sideways\n", "button must be left, right or middle"},
      {"10 focus maybe\n", "lost or gained"},
      {"10 joy z 5\n", "axis must be x, y or 0..7"},
      {"10 joy x 40000\n", "-32768..32767"},
      {"10 joybutton 1 sideways\n", "down or up"},
      {"10 answer\n", "value expected"},
      {"10\n", "event expected"},
      {"1 move 1 2\n2 move x 2\n", "s:2: move: X and Y must be whole numbers"},
  };
  for (const Case& c : cases) {
    std::vector<ScriptEvent> ev;
    std::string err;
    EXPECT_FALSE(parse_script(c.text, "s", ev, err)) << c.text;
    EXPECT_NE(err.find(c.expect), std::string::npos) << c.text << " -> " << err;
    EXPECT_TRUE(ev.empty());
  }
}

TEST(Script, MissingFileIsAClearError) {
  std::vector<ScriptEvent> ev;
  std::string err;
  EXPECT_FALSE(load_script("/nonexistent/script.txt", ev, err));
  EXPECT_NE(err.find("cannot read"), std::string::npos);
}

TEST(Keys, NamesAndCodesRoundTrip) {
  EXPECT_EQ(key_from_name("escape"), Key::Escape);
  EXPECT_EQ(key_from_name("Esc"), Key::Escape);
  EXPECT_EQ(key_from_name("enter"), Key::Return);
  EXPECT_EQ(key_from_name("f10"), Key::F10);
  EXPECT_EQ(key_from_name("q"), Key::Q);
  EXPECT_EQ(key_from_name("7"), Key::Num7);
  EXPECT_EQ(key_from_name(""), Key::None);
  EXPECT_EQ(vk_of(Key::F1), 0x70);
  EXPECT_EQ(vk_of(Key::P), 'P');
  EXPECT_EQ(dik_of(Key::Escape), 0x01);
  EXPECT_EQ(dik_of(Key::Left), 0xCB);
  EXPECT_EQ(dik_of(Key::Space), 0x39);
  for (int i = 1; i < int(Key::Count); ++i) {
    Key k = Key(i);
    EXPECT_EQ(key_from_name(key_name(k)), k) << key_name(k);
    EXPECT_EQ(key_from_dik(dik_of(k)), k) << key_name(k);
  }
}
