// The run: shared options, start-up of SDL or the headless backend, and the
// frame protocol (script delivery, screenshots, --frames).
#include "host.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio.h"
#include "audio_device.h"
#include "clock.h"
#include "display.h"
#include "image_io.h"
#include "instance.h"
#include "internal.h"
#include "msgbox.h"
#include "script.h"
#include "text_util.h"
#include "trace.h"

namespace platform {
namespace {

using detail::to_long;

Options g_options;
bool g_sdl_started = false;
WavWriter g_capture;
uint64_t g_audio_frames_done = 0;  // output frames mixed into the capture so far
std::vector<int16_t> g_audio_chunk;


}  // namespace

namespace detail {
State& state() {
  static State s;
  return s;
}
}  // namespace detail

const char* options_usage() {
  return "  --headless               no window and no audio device; virtual clock\n"
         "  --frames N               end after N frames\n"
         "  --input FILE             play the input script FILE\n"
         "  --screenshot N:FILE.png  write frame N as PNG (repeatable)\n"
         "  --audio-out FILE.wav     write the mixed audio as WAV (headless)\n"
         "  --trace FILE             write one line of game state per frame\n"
         "  --scale N                window scale\n";
}

bool parse_options(int argc, const char* const* argv, Options& out, std::string& error) {
  out = Options{};
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& v) -> bool {
      size_t eq = a.find('=');
      if (eq != std::string::npos) {
        v = a.substr(eq + 1);
        a = a.substr(0, eq);
        return true;
      }
      if (i + 1 >= argc) {
        error = a + " needs a value";
        return false;
      }
      v = argv[++i];
      return true;
    };
    std::string key = a.substr(0, a.find('='));
    std::string v;
    if (key == "--headless") {
      out.headless = true;
    } else if (key == "--frames") {
      long n;
      if (!value(v)) return false;
      if (!to_long(v, n) || n < 0) {
        error = "--frames needs a whole number of frames, got \"" + v + "\"";
        return false;
      }
      out.frames = n;
    } else if (key == "--input") {
      if (!value(out.input)) return false;
    } else if (key == "--screenshot") {
      if (!value(v)) return false;
      size_t colon = v.find(':');
      long n;
      if (colon == std::string::npos || !to_long(v.substr(0, colon), n) || n < 0 || colon + 1 >= v.size()) {
        error = "--screenshot needs N:FILE.png, got \"" + v + "\"";
        return false;
      }
      out.screenshots.push_back({n, v.substr(colon + 1)});
    } else if (key == "--audio-out") {
      if (!value(out.audio_out)) return false;
    } else if (key == "--trace") {
      if (!value(out.trace)) return false;
    } else if (key == "--scale") {
      long n;
      if (!value(v)) return false;
      if (!to_long(v, n) || n < 1 || n > 8) {
        error = "--scale needs a whole number 1..8, got \"" + v + "\"";
        return false;
      }
      out.scale = int(n);
    } else {
      out.rest.push_back(argv[i]);
    }
  }
  return true;
}

bool init(const Options& opts, std::string& error) {
  g_options = opts;
  detail::State& st = detail::state();
  st = detail::State{};
  st.headless = opts.headless;
  if (!opts.input.empty()) {
    if (!load_script(opts.input, st.script, error)) return false;
    for (const ScriptEvent& se : st.script)
      if (se.kind == ScriptEvent::Event &&
          (se.event.type == EventType::JoyAxis || se.event.type == EventType::JoyButtonDown ||
           se.event.type == EventType::JoyButtonUp))
        st.virtual_stick = true;
  }
  if (opts.headless) {
    if (SDL_Init(SDL_INIT_TIMER) != 0) {
      error = std::string("cannot start SDL: ") + SDL_GetError();
      return false;
    }
  } else {
    if (SDL_Init(SDL_INIT_TIMER) != 0) {
      error = std::string("cannot start SDL: ") + SDL_GetError();
      return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      error = std::string("no display available (") + SDL_GetError() + "); run with --headless";
      SDL_Quit();
      return false;
    }
    // Without a display SDL falls back to drivers that show nothing; a window
    // nobody can see is no window, unless such a driver was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
        !(asked && SDL_strcasecmp(asked, driver) == 0)) {
      error = "no display available; run with --headless";
      SDL_Quit();
      return false;
    }
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    detail::joysticks_open();
  }
  g_sdl_started = true;
  detail::clock_reset(opts.headless);
  if (!trace_open(opts.trace)) {
    error = "cannot write the trace file \"" + opts.trace + "\"";
    shutdown();
    return false;
  }
  mixer();  // created now, so voices can exist before any sound is heard
  g_audio_frames_done = 0;
  if (opts.headless) {
    if (!opts.audio_out.empty() && !g_capture.open(opts.audio_out, mixer().output_rate())) {
      error = "cannot write the audio file \"" + opts.audio_out + "\"";
      shutdown();
      return false;
    }
  } else {
    std::string audio_error;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || !audio_device_start(mixer(), audio_error))
      std::fprintf(stderr, "no sound device; running silent%s%s\n", audio_error.empty() ? "" : ": ",
                   audio_error.c_str());
  }
  st.started = true;
  return true;
}

void shutdown() {
  detail::State& st = detail::state();
  if (g_capture.is_open()) {
    advance_audio_to(ticks());
    g_capture.close();
  }
  trace_close();
  if (!st.headless) audio_device_stop();
  display_close();
  detail::joysticks_close();
  release_single_instance();
  if (g_sdl_started) SDL_Quit();
  g_sdl_started = false;
  st.started = false;
}

bool headless() { return detail::state().headless; }
const Options& options() { return g_options; }

void begin_frame() {
  detail::State& st = detail::state();
  ++st.frame;
  while (st.script_next < st.script.size() && st.script[st.script_next].frame <= st.frame) {
    const ScriptEvent& se = st.script[st.script_next++];
    if (se.kind == ScriptEvent::Answer)
      push_answer(se.answer);
    else
      st.pending.push_back(se.event);
  }
}

bool end_frame() {
  detail::State& st = detail::state();
  for (const Screenshot& s : g_options.screenshots) {
    if (s.frame != st.frame) continue;
    int w, h;
    const std::vector<uint32_t>& px = display_last_frame(w, h);
    std::string err;
    if (!write_png_rgb(s.path, w, h, px.data(), w, &err))
      std::fprintf(stderr, "screenshot %s: %s\n", s.path.c_str(), err.c_str());
  }
  if (g_options.frames >= 0 && st.frame >= g_options.frames) st.quit = true;
  return st.quit;
}

long frame_number() { return detail::state().frame; }
bool quit_requested() { return detail::state().quit; }

void advance_audio_to(uint32_t ticks_ms) {
  if (!g_capture.is_open()) return;
  uint64_t target = uint64_t(ticks_ms) * uint64_t(mixer().output_rate()) / 1000;
  while (g_audio_frames_done < target) {
    size_t n = size_t(std::min<uint64_t>(target - g_audio_frames_done, 4096));
    g_audio_chunk.resize(n * 2);
    mixer().render(g_audio_chunk.data(), n);
    g_capture.write(g_audio_chunk.data(), n);
    g_audio_frames_done += n;
  }
}

}  // namespace platform
