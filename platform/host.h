// The run: shared command-line options, start-up of the platform (real or
// headless), and the frame protocol that feeds the script, takes screenshots
// and ends a --frames run.
#pragma once
#include <string>
#include <vector>

namespace platform {

struct Screenshot {
  long frame = 0;
  std::string path;
};

struct Options {
  bool headless = false;
  long frames = -1;                   // --frames N: end after N frames
  std::string input;                  // --input FILE
  std::vector<Screenshot> screenshots;  // --screenshot N:FILE.png (repeatable)
  std::string audio_out;              // --audio-out FILE.wav
  std::string trace;                  // --trace FILE
  int scale = 0;                      // --scale N
  std::vector<std::string> rest;      // every other argument, in order (game's own)
};

// Parses the shared options. Unknown arguments go to `rest`. False with a
// message on a malformed shared option.
bool parse_options(int argc, const char* const* argv, Options& out, std::string& error);
// Usage lines of the shared options, for a game's --help.
const char* options_usage();

// Starts SDL (or the headless backend), the mixer and its device or capture,
// and loads the input script. False with a message.
bool init(const Options& opts, std::string& error);
void shutdown();  // closes the audio capture file, the display and SDL
bool headless();
const Options& options();

// Frame protocol: begin_frame() starts frame N (1, 2, ...), making the script
// events of frames <= N available to poll_event; end_frame() writes the
// screenshots due for N and returns true when the program should now end
// (--frames reached or a script "quit").
void begin_frame();
bool end_frame();
long frame_number();
bool quit_requested();

// Headless audio: mixes the time the virtual clock moved into the capture.
void advance_audio_to(uint32_t ticks_ms);

}  // namespace platform
