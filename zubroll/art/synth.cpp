#include "synth.h"

#include <algorithm>

namespace zubroll::art {

double Env::at(double t, double dur) const {
  if (t < 0) return 0;
  double level;
  if (t < attack)
    level = t / attack;
  else if (t < attack + decay)
    level = 1 - (1 - sustain) * (t - attack) / decay;
  else
    level = sustain;
  // a note is held at least through its attack, then released
  const double held = std::max(dur, attack);
  if (t > held) {
    double r = (t - held) / std::max(release, 1e-4);
    if (r >= 1) return 0;
    double at_held = held < attack + decay ? 1 - (1 - sustain) * (held - attack) / decay
                                           : sustain;
    level = at_held * (1 - r) * (1 - r);  // a curved fall sounds natural
  }
  return level;
}

namespace {

struct Noise {
  uint32_t s;
  double next() {
    s = s * 1664525u + 1013904223u;
    return double(int32_t(s)) / 2147483648.0;
  }
};

double wave(Osc o, double ph, Noise& n) {
  ph -= std::floor(ph);
  switch (o) {
    case Osc::Sine: return std::sin(2 * M_PI * ph);
    case Osc::Triangle: return ph < 0.5 ? 4 * ph - 1 : 3 - 4 * ph;
    case Osc::Square: return ph < 0.5 ? 0.7 : -0.7;
    case Osc::Pulse25: return ph < 0.25 ? 0.7 : -0.7;
    case Osc::Pulse12: return ph < 0.125 ? 0.7 : -0.7;
    case Osc::Saw: return 2 * ph - 1;
    case Osc::Noise: return n.next();
  }
  return 0;
}

}  // namespace

void Buffer::add(const Tone& t, double start, bool wrap) {
  const double total = std::max(t.dur, t.env.attack) + t.env.release;
  const long first = long(std::lround(start * rate));
  const long n = long(total * rate) + 1;
  const long size = long(s.size());
  double ph = 0, ph2 = 0, lp = 0;
  const double lp_a = t.lowpass > 0 ? 1 - std::exp(-2 * M_PI * t.lowpass / rate) : 1;
  Noise noise{uint32_t(t.freq * 1000) | 1};
  double noise_hold = 0, noise_ph = 0;
  for (long i = 0; i < n; ++i) {
    long at = first + i;
    if (wrap) at = ((at % size) + size) % size;
    else if (at < 0) continue;
    else if (at >= size) break;
    double tt = double(i) / rate;
    double f = t.freq;
    if (t.freq_end > 0) f = t.freq * std::pow(t.freq_end / t.freq, std::min(1.0, tt / total));
    if (t.vibrato_depth > 0)
      f *= std::pow(2.0, t.vibrato_depth / 12 * std::sin(2 * M_PI * t.vibrato_hz * tt));
    double v;
    if (t.osc == Osc::Noise) {
      // sample-and-hold noise at the tone's frequency gives pitched noise
      noise_ph += f / rate;
      if (noise_ph >= 1) noise_ph -= std::floor(noise_ph), noise_hold = noise.next();
      v = noise_hold;
    } else {
      v = wave(t.osc, ph, noise);
    }
    ph += f / rate;
    if (t.overtone > 0) {
      double ov = t.overtone * std::sin(2 * M_PI * ph2);
      if (t.overtone_decay > 0) ov *= std::exp(-tt / t.overtone_decay);
      v += ov;
      ph2 += f * t.overtone_ratio / rate;
      ph2 -= std::floor(ph2);
    }
    ph -= std::floor(ph);
    lp += (v - lp) * lp_a;
    s[size_t(at)] += lp * t.amp * t.env.at(tt, t.dur);
  }
}

void Buffer::add_noise(double start, double dur, double amp, double c0, double c1,
                       const Env& env, uint32_t seed, bool wrap) {
  Noise n{seed | 1};
  const long first = long(std::lround(start * rate));
  const long count = long((dur + env.release) * rate) + 1;
  const long size = long(s.size());
  double lp = 0, lp2 = 0;
  for (long i = 0; i < count; ++i) {
    long at = first + i;
    if (wrap) at = ((at % size) + size) % size;
    else if (at < 0) continue;
    else if (at >= size) break;
    double tt = double(i) / rate;
    double c = c0 * std::pow(c1 / c0, std::min(1.0, tt / (dur + env.release)));
    double a = 1 - std::exp(-2 * M_PI * c / rate);
    lp += (n.next() - lp) * a;
    lp2 += (lp - lp2) * a;
    s[size_t(at)] += lp2 * amp * env.at(tt, dur) * 2.0;
  }
}

void Buffer::fade(double in_s, double out_s) {
  size_t in = size_t(in_s * rate), out = size_t(out_s * rate);
  for (size_t i = 0; i < in && i < s.size(); ++i) s[i] *= double(i) / in;
  for (size_t i = 0; i < out && i < s.size(); ++i) s[s.size() - 1 - i] *= double(i) / out;
}

void Buffer::normalise(double peak) {
  double m = 0;
  for (double v : s) m = std::max(m, std::fabs(v));
  if (m > 0)
    for (double& v : s) v *= peak / m;
}

void Buffer::lowpass(double cutoff) {
  double a = 1 - std::exp(-2 * M_PI * cutoff / rate), lp = 0;
  for (double& v : s) lp += (v - lp) * a, v = lp;
}

void Buffer::echo(double delay_s, double feedback, double mix, bool wrap) {
  size_t d = size_t(delay_s * rate);
  if (d == 0 || d >= s.size()) return;
  std::vector<double> wet(s.size(), 0.0);
  // two passes round the loop settle the feedback tail for wrapped buffers
  int passes = wrap ? 2 : 1;
  for (int p = 0; p < passes; ++p)
    for (size_t i = 0; i < s.size(); ++i) {
      double prev;
      if (i >= d) prev = wet[i - d];
      else prev = wrap ? wet[s.size() - d + i] : 0;
      double src = i >= d ? s[i - d] : (wrap ? s[s.size() - d + i] : 0);
      wet[i] = (src + prev) * feedback;
    }
  for (size_t i = 0; i < s.size(); ++i) s[i] += wet[i] * mix;
}

std::vector<uint8_t> Buffer::to_u8(int channels) const {
  std::vector<uint8_t> out;
  out.reserve(s.size() * channels);
  for (double v : s) {
    long q = std::lround(128 + std::clamp(v, -1.0, 1.0) * 127);
    for (int c = 0; c < channels; ++c) out.push_back(uint8_t(q));
  }
  return out;
}

std::vector<uint8_t> Buffer::to_s16() const {
  std::vector<uint8_t> out;
  out.reserve(s.size() * 2);
  for (double v : s) {
    int16_t q = int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
    out.push_back(uint8_t(q & 0xFF));
    out.push_back(uint8_t((uint16_t(q) >> 8) & 0xFF));
  }
  return out;
}

}  // namespace zubroll::art
