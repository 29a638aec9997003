// The headless backend driven as a game would drive it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/image_io.h"
#include "platform/msgbox.h"

using namespace platform;

namespace {

struct HeadlessRun {
  std::string dir;
  explicit HeadlessRun(const std::string& script, std::vector<std::string> extra = {}) {
    char tmpl[] = "/tmp/platform-host-XXXXXX";
    dir = std::string(mkdtemp(tmpl)) + "/";
    std::ofstream(dir + "in.txt") << script;
    std::vector<std::string> args = {"game", "--headless", "--input", dir + "in.txt"};
    for (auto& e : extra) args.push_back(e);
    std::vector<const char*> argv;
    for (auto& a : args) argv.push_back(a.c_str());
    Options o;
    std::string err;
    EXPECT_TRUE(parse_options(int(argv.size()), argv.data(), o, err)) << err;
    EXPECT_TRUE(init(o, err)) << err;
  }
  ~HeadlessRun() {
    shutdown();
    std::system(("rm -rf '" + dir + "'").c_str());
  }
  std::vector<Event> frame() {
    begin_frame();
    std::vector<Event> got;
    for (Event e; poll_event(e);) got.push_back(e);
    return got;
  }
};

}  // namespace

TEST(Headless, ScriptEventsArriveInTheirFrame) {
  HeadlessRun run("2 move 100 50\n2 down left\n4 key Escape\n4 answer yes\n");
  EXPECT_TRUE(run.frame().empty());  // frame 1
  auto f2 = run.frame();
  ASSERT_EQ(f2.size(), 2u);
  EXPECT_EQ(f2[0].type, EventType::MouseMove);
  EXPECT_EQ(f2[1].type, EventType::MouseDown);
  EXPECT_EQ(f2[1].x, 100);  // a scripted press happens where the pointer is
  EXPECT_EQ(mouse_buttons(), MouseLeft);
  int x, y;
  EXPECT_TRUE(pointer_position(x, y));
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  EXPECT_TRUE(run.frame().empty());  // frame 3
  EXPECT_EQ(message_box("Q", "before the answer", MsgButtons::YesNo), MsgResult::No);  // default is No
  auto f4 = run.frame();
  ASSERT_EQ(f4.size(), 2u);
  EXPECT_EQ(f4[0].type, EventType::KeyDown);
  EXPECT_EQ(f4[1].type, EventType::KeyUp);
  EXPECT_FALSE(key_down(Key::Escape));
  EXPECT_EQ(message_box("Q", "answered", MsgButtons::YesNo), MsgResult::Yes);
  EXPECT_EQ(frame_number(), 4);
}

TEST(Headless, VirtualClockMovesOnlyWhenWaiting) {
  HeadlessRun run("");
  uint32_t t0 = ticks();
  EXPECT_EQ(t0, 0u);
  EXPECT_EQ(ticks(), t0);  // no real time leaks in
  wait_until(33);
  EXPECT_EQ(ticks(), 33u);
  wait_until(10);  // the past: nothing moves
  EXPECT_EQ(ticks(), 33u);
  delay(100);
  EXPECT_EQ(ticks(), 133u);
  EXPECT_EQ(time_of_day_ms(), 12u * 3600 * 1000 + 133);
}

TEST(Headless, FramesEndTheRunAndScreenshotsCaptureThePresentedFrame) {
  char tmpl[] = "/tmp/platform-shot-XXXXXX";
  std::string d = std::string(mkdtemp(tmpl)) + "/";
  {
    HeadlessRun run("", {"--frames", "3", "--screenshot", "2:" + d + "two.png"});
    std::string err;
    ASSERT_TRUE(display_open({"t", 8, 4, false, 0, false}, err)) << err;
    uint32_t pal[256] = {};
    pal[1] = 0xFF0000;
    pal[2] = 0x00FF00;
    for (int f = 1; f <= 3; ++f) {
      run.frame();
      uint8_t px[8 * 4];
      std::fill(std::begin(px), std::end(px), uint8_t(f));  // frame 2 is all green
      display_present_indexed(px, 8, 4, 8, pal);
      EXPECT_EQ(end_frame(), f == 3);
    }
  }
  int w, h;
  std::vector<uint32_t> px;
  ASSERT_TRUE(read_png_rgb(d + "two.png", w, h, px));
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 4);
  EXPECT_EQ(px[0], 0x00FF00u);
  std::system(("rm -rf '" + d + "'").c_str());
}

TEST(Headless, SixteenBitFramesWidenToFullScale) {
  HeadlessRun run("");
  std::string err;
  ASSERT_TRUE(display_open({"t", 2, 1, false, 0, false}, err));
  uint16_t px565[2] = {0xFFFF, 0xF800};
  display_present_rgb16(px565, 2, 1, 4, PixelFormat::RGB565);
  int w, h;
  EXPECT_EQ(display_last_frame(w, h)[0], 0xFFFFFFu);
  EXPECT_EQ(display_last_frame(w, h)[1], 0xFF0000u);
  uint16_t px555[2] = {0x7FFF, 0x03E0};
  display_present_rgb16(px555, 2, 1, 4, PixelFormat::RGB555);
  EXPECT_EQ(display_last_frame(w, h)[0], 0xFFFFFFu);
  EXPECT_EQ(display_last_frame(w, h)[1], 0x00FF00u);
}

TEST(Headless, AudioCaptureFollowsTheVirtualClock) {
  char tmpl[] = "/tmp/platform-audio-XXXXXX";
  std::string d = std::string(mkdtemp(tmpl)) + "/";
  {
    HeadlessRun run("", {"--audio-out", d + "a.wav"});
    wait_until(1000);
    wait_until(1500);
  }
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(read_file(d + "a.wav", bytes));
  WavData wav;
  std::string err;
  ASSERT_TRUE(parse_wav(bytes.data(), bytes.size(), wav, err)) << err;
  EXPECT_EQ(wav.format.channels, 2);
  EXPECT_EQ(wav.format.bits, 16);
  EXPECT_EQ(wav.data.size(), size_t(wav.format.rate) * 3 / 2 * 4);  // 1.5 s of stereo 16-bit
  std::system(("rm -rf '" + d + "'").c_str());
}

TEST(Wav, ChunksInAnyOrderAndFormatErrors) {
  WaveFormat f{11025, 1, 8};
  uint8_t data[5] = {128, 129, 130, 131, 132};
  std::vector<uint8_t> w = make_wav(f, data, 5);
  WavData out;
  std::string err;
  ASSERT_TRUE(parse_wav(w.data(), w.size(), out, err)) << err;
  EXPECT_EQ(out.format.rate, 11025);
  EXPECT_EQ(out.data.size(), 5u);
  // "data" before "fmt ".
  std::vector<uint8_t> swapped(w.begin(), w.begin() + 12);
  swapped.insert(swapped.end(), w.begin() + 36, w.end());
  swapped.insert(swapped.end(), w.begin() + 12, w.begin() + 36);
  ASSERT_TRUE(parse_wav(swapped.data(), swapped.size(), out, err)) << err;
  EXPECT_EQ(out.data[4], 132);
  struct Bad {
    size_t cut;
    const char* msg;
  } bad[] = {{8, "not a RIFF WAVE"}, {30, "chunk runs past"}, {36, "no data chunk"}};
  for (const Bad& b : bad) {
    std::vector<uint8_t> t(w.begin(), w.begin() + long(b.cut));
    if (b.cut >= 12) {
      uint32_t riff = uint32_t(t.size() - 8);
      for (int i = 0; i < 4; ++i) t[4 + i] = uint8_t(riff >> (8 * i));
    }
    EXPECT_FALSE(parse_wav(t.data(), t.size(), out, err)) << b.cut;
    EXPECT_NE(err.find(b.msg), std::string::npos) << err;
  }
}
