// A small program over the platform layer: an animated 8-bit frame, a tone
// that follows the pointer, keys and clicks reported on stderr. It is also the
// shortest example of the frame protocol the games follow.
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/host.h"

using namespace platform;

int main(int argc, char** argv) {
  Options opts;
  std::string err;
  if (!parse_options(argc, argv, opts, err) || !init(opts, err)) {
    std::fprintf(stderr, "platform_demo: %s\n", err.c_str());
    return 2;
  }
  const int W = 320, H = 200;
  if (!display_open({"Platform demo", W, H, false, 0, false}, err)) {
    std::fprintf(stderr, "platform_demo: %s\n", err.c_str());
    shutdown();
    return 2;
  }

  // One second of a 440 Hz sine, 8-bit mono at 11025 Hz, looped.
  std::vector<uint8_t> tone(11025);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = uint8_t(128 + 60 * std::sin(2 * M_PI * 440.0 * double(i) / 11025.0));
  Mixer& m = mixer();
  VoiceId v = m.create({11025, 1, 8}, tone.data(), tone.size());
  m.set_volume(v, -1200);
  m.play(v, true);

  uint32_t palette[256];
  std::vector<uint8_t> frame(size_t(W) * H);
  uint32_t next = ticks();
  bool running = true;
  for (int n = 0; running; ++n) {
    begin_frame();
    for (Event e; poll_event(e);) {
      if (e.type == EventType::Quit || (e.type == EventType::KeyDown && e.key == Key::Escape)) running = false;
      if (e.type == EventType::KeyDown) std::fprintf(stderr, "key %s\n", key_name(e.key));
      if (e.type == EventType::MouseDown) std::fprintf(stderr, "click %d at %d,%d\n", e.button, e.x, e.y);
    }
    int px, py;
    pointer_position(px, py);
    m.set_pan(v, (px - W / 2) * 10000 / (W / 2));
    m.set_frequency(v, 11025 + py * 40);
    for (int i = 0; i < 256; ++i) {
      double t = n * 0.05 + i * 0.0245;
      palette[i] = uint32_t(127 + 127 * std::sin(t)) << 16 | uint32_t(127 + 127 * std::sin(t + 2)) << 8 |
                   uint32_t(127 + 127 * std::sin(t + 4));
    }
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        frame[size_t(y) * W + x] = uint8_t((x * x + y * y) / 64 + ((x - px) * (x - px) + (y - py) * (y - py)) / 256);
    display_present_indexed(frame.data(), W, H, W, palette);
    if (end_frame()) running = false;
    next += 33;
    wait_until(next);
  }
  shutdown();
  return 0;
}
