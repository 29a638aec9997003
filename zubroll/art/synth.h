// A small synthesiser: oscillators, envelopes, filters and noise rendered into
// float buffers; shared by the sound effects and the music sequencer.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

namespace zubroll::art {

enum class Osc { Sine, Triangle, Square, Saw, Noise, Pulse25, Pulse12 };

struct Env {
  double attack = 0.005, decay = 0.1, sustain = 0.6, release = 0.05;  // seconds, level
  double at(double t, double dur) const;  // t from the note start; dur = held time
};

struct Tone {
  Osc osc = Osc::Sine;
  double freq = 440, freq_end = 0;  // freq_end > 0: exponential glide over the note
  double dur = 0.2;                 // held time (release follows)
  double amp = 0.5;
  Env env;
  double vibrato_hz = 0, vibrato_depth = 0;  // depth in semitones
  double lowpass = 0;                        // cutoff Hz of a one-pole low-pass, 0 none
  double overtone = 0;                       // level of a sine partial at overtone_ratio
  double overtone_ratio = 2;
  double overtone_decay = 0;                 // the partial's own decay time, 0 = as the note
  double pan = 0;                            // unused by mono buffers
};

class Buffer {
 public:
  Buffer(int rate, size_t frames) : rate(rate), s(frames, 0.0) {}
  int rate;
  std::vector<double> s;
  size_t size() const { return s.size(); }
  double seconds() const { return double(s.size()) / rate; }
  // Adds a tone starting at t seconds; with wrap the part past the end comes
  // round to the start (seamless loops).
  void add(const Tone& tone, double t, bool wrap = false);
  // Filtered noise burst: band from the low-pass cutoff, pitch-like colour.
  void add_noise(double t, double dur, double amp, double cutoff_start, double cutoff_end,
                 const Env& env, uint32_t seed, bool wrap = false);
  void fade(double in_s, double out_s);
  void normalise(double peak);
  void lowpass(double cutoff);
  void echo(double delay_s, double feedback, double mix, bool wrap = false);
  std::vector<uint8_t> to_u8(int channels = 1) const;
  std::vector<uint8_t> to_s16() const;
};

inline double note_freq(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

}  // namespace zubroll::art
