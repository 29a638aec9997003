// The sound effects of the wave list, one recipe per name.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "sound.h"
#include "synth.h"

namespace zubroll::art {

namespace {

// midi numbers of the notes used by name
enum : int { C4 = 60, D4 = 62, E4 = 64, F4 = 65, G4 = 67, A4 = 69, B4 = 71, C5 = 72, D5 = 74,
             E5 = 76, F5 = 77, G5 = 79, A5 = 81, B5 = 83, C6 = 84, D6 = 86, E6 = 88, G6 = 91,
             C7 = 96 };

Env env(double a, double d, double s, double r) { return Env{a, d, s, r}; }

// A struck bar: a sine with a bright, quickly fading fourth partial.
void mallet(Buffer& b, double t, double freq, double dur, double amp) {
  Tone tn;
  tn.freq = freq;
  tn.dur = 0.0;
  tn.amp = amp;
  tn.env = env(0.002, 0.001, 1.0, dur);
  tn.overtone = 0.6;
  tn.overtone_ratio = 3.98;
  tn.overtone_decay = 0.03;
  b.add(tn, t);
  // a soft octave partial for a rounder, wooden body
  Tone body = tn;
  body.freq = freq * 2;
  body.amp = amp * 0.12;
  body.env.release = dur * 0.4;
  body.overtone = 0;
  b.add(body, t);
}

// Music-box bell: sine with an inharmonic partial and a long decay.
void bell(Buffer& b, double t, double freq, double dur, double amp) {
  Tone tn;
  tn.freq = freq;
  tn.dur = 0;
  tn.amp = amp;
  tn.env = env(0.001, 0.001, 1.0, dur);
  tn.overtone = 0.35;
  tn.overtone_ratio = 2.76;
  tn.overtone_decay = dur * 0.3;
  b.add(tn, t);
}

// A chip-style note.
void chip(Buffer& b, double t, double freq, double dur, double amp, Osc o = Osc::Square,
          double release = 0.04, double glide_to = 0) {
  Tone tn;
  tn.osc = o;
  tn.freq = freq;
  tn.freq_end = glide_to;
  tn.dur = dur;
  tn.amp = amp;
  tn.env = env(0.003, dur * 0.5, 0.7, release);
  tn.lowpass = 5000;
  b.add(tn, t);
}

void sweep(Buffer& b, double t, double f0, double f1, double dur, double amp,
           Osc o = Osc::Square, double vib_hz = 0, double vib_depth = 0) {
  Tone tn;
  tn.osc = o;
  tn.freq = f0;
  tn.freq_end = f1;
  tn.dur = dur * 0.8;
  tn.amp = amp;
  tn.env = env(0.004, dur * 0.3, 0.8, dur * 0.2);
  tn.vibrato_hz = vib_hz;
  tn.vibrato_depth = vib_depth;
  tn.lowpass = 4500;
  b.add(tn, t);
}

void boom(Buffer& b, double t, double dur, double amp, double c0, double c1, uint32_t seed) {
  b.add_noise(t, dur * 0.15, amp, c0, c1, env(0.002, dur * 0.15, 0.6, dur * 0.85), seed);
  Tone thump;
  thump.freq = 110;
  thump.freq_end = 35;
  thump.dur = dur * 0.1;
  thump.amp = amp * 0.9;
  thump.env = env(0.002, dur * 0.1, 0.7, dur * 0.5);
  b.add(thump, t);
}

// Formant voice: a buzzing source through three resonators moving between
// vowel targets; `f0` glides from p0 to p1 over each segment.
struct Vowel {
  double dur, p0, p1, f1, f2, f3, amp, noise;
};
const Vowel kA = {0, 0, 0, 750, 1200, 2600, 1, 0}, kO = {0, 0, 0, 500, 850, 2500, 1, 0},
            kU = {0, 0, 0, 330, 800, 2300, 1, 0}, kE = {0, 0, 0, 500, 1800, 2550, 1, 0},
            kI = {0, 0, 0, 300, 2200, 2900, 1, 0}, kN = {0, 0, 0, 280, 1500, 2500, 0.35, 0},
            kH = {0, 0, 0, 700, 1200, 2600, 0.0, 0.5};
Vowel v(const Vowel& k, double dur, double p0, double p1, double amp = 1) {
  Vowel r = k;
  r.dur = dur, r.p0 = p0, r.p1 = p1;
  r.amp *= amp;
  return r;
}

void voice(Buffer& b, double t, const std::vector<Vowel>& segs, double gain, uint32_t seed = 7) {
  struct Res {
    double y1 = 0, y2 = 0;
    double run(double x, double f, double bw, double rate) {
      double r = std::exp(-M_PI * bw / rate);
      double c = 2 * r * std::cos(2 * M_PI * f / rate);
      double y = (1 - r) * x + c * y1 - r * r * y2;
      y2 = y1, y1 = y;
      return y;
    }
  } r1, r2, r3;
  double total = 0;
  for (const Vowel& s : segs) total += s.dur;
  const long n = long(total * b.rate);
  const long first = long(t * b.rate);
  double ph = 0;
  uint32_t ns = seed;
  size_t seg = 0;
  double seg_start = 0;
  for (long i = 0; i < n && first + i < long(b.size()); ++i) {
    double tt = double(i) / b.rate;
    while (seg + 1 < segs.size() && tt >= seg_start + segs[seg].dur) seg_start += segs[seg++].dur;
    const Vowel& a = segs[seg];
    const Vowel& c = segs[std::min(seg + 1, segs.size() - 1)];
    double u = std::clamp((tt - seg_start) / a.dur, 0.0, 1.0);
    // formants move in the last third of a segment towards the next one
    double m = u < 0.66 ? 0 : (u - 0.66) / 0.34;
    double pitch = a.p0 + (a.p1 - a.p0) * u;
    pitch *= 1 + 0.012 * std::sin(2 * M_PI * 5.5 * tt);
    ph += pitch / b.rate;
    ph -= std::floor(ph);
    double src = (1 - 2 * ph) * 0.6 + (ph < 0.1 ? 0.8 : 0);  // buzzy glottal-ish pulse
    ns = ns * 1664525u + 1013904223u;
    double noise = double(int32_t(ns)) / 2147483648.0;
    double amp = a.amp + (c.amp - a.amp) * m;
    double nz = a.noise + (c.noise - a.noise) * m;
    double x = src * amp + noise * nz;
    double f1 = a.f1 + (c.f1 - a.f1) * m, f2 = a.f2 + (c.f2 - a.f2) * m,
           f3 = a.f3 + (c.f3 - a.f3) * m;
    double y = r1.run(x, f1, 90, b.rate) * 1.0 + r2.run(x, f2, 120, b.rate) * 0.6 +
               r3.run(x, f3, 170, b.rate) * 0.3;
    double edge = std::min({1.0, tt / 0.02, (total - tt) / 0.04});
    b.s[size_t(first + i)] += y * gain * edge;
  }
}

using Recipe = std::function<void(Buffer&)>;

double len(const Buffer& b) { return b.seconds(); }

const std::map<std::string, Recipe>& recipes() {
  static const std::map<std::string, Recipe> m = {
      {"HitZub",
       [](Buffer& b) {
         sweep(b, 0, 520, 260, len(b) * 0.9, 0.6, Osc::Triangle);
         b.add_noise(0, 0.01, 0.3, 3000, 1000, env(0.001, 0.01, 0.2, 0.02), 3);
       }},
      {"HitKanban",
       [](Buffer& b) {
         Tone t{Osc::Triangle, 980, 760, 0, 0.7, env(0.001, 0.001, 1, 0.06)};
         b.add(t, 0);
         b.add_noise(0, 0.005, 0.4, 5000, 2000, env(0.001, 0.005, 0.3, 0.02), 5);
       }},
      {"KillKaizyu",
       [](Buffer& b) {
         sweep(b, 0, 900, 90, len(b) * 0.95, 0.5, Osc::Square, 14, 1.2);
         boom(b, 0, 0.4, 0.3, 3000, 300, 11);
       }},
      {"CatchKaizyu",
       [](Buffer& b) {
         sweep(b, 0, 200, 700, 0.15, 0.5, Osc::Square);
         sweep(b, 0.16, 700, 500, 0.1, 0.45, Osc::Square);
         sweep(b, 0.28, 900, 1300, 0.18, 0.4, Osc::Pulse25, 20, 0.8);
       }},
      {"HitKaizyu",
       [](Buffer& b) {
         Tone t{Osc::Sine, 240, 70, 0.05, 0.9, env(0.001, 0.05, 0.8, 0.1)};
         b.add(t, 0);
         b.add_noise(0, 0.02, 0.5, 2500, 400, env(0.001, 0.02, 0.5, 0.08), 13);
       }},
      {"EnterKaizyu",
       [](Buffer& b) {
         sweep(b, 0, 110, 330, 0.22, 0.5, Osc::Square, 9, 0.5);
         sweep(b, 0.24, 330, 140, 0.28, 0.5, Osc::Square, 9, 0.5);
       }},
      {"OhNo",
       [](Buffer& b) {
         voice(b, 0.01,
               {v(kO, 0.16, 250, 235), v(kO, 0.04, 235, 225), v(kN, 0.07, 215, 200),
                v(kO, 0.18, 200, 150)},
               0.9);
       }},
      {"ShootButa", [](Buffer& b) { sweep(b, 0, 1400, 380, len(b) * 0.9, 0.5, Osc::Pulse25); }},
      {"TimeCount",
       [](Buffer& b) {
         Tone t{Osc::Sine, 2100, 0, 0, 0.8, env(0.0005, 0.001, 1, 0.025)};
         t.overtone = 0.5, t.overtone_ratio = 2.5;
         b.add(t, 0);
       }},
      {"OpenPanel",
       [](Buffer& b) {
         b.add_noise(0, 0.12, 0.6, 600, 4000, env(0.03, 0.1, 0.6, 0.08), 17);
         mallet(b, 0.17, note_freq(C6), 0.05, 0.4);
       }},
      {"EggSi", [](Buffer& b) { mallet(b, 0, note_freq(B4), len(b), 0.8); }},
      {"EggDo", [](Buffer& b) { mallet(b, 0, note_freq(C5), len(b), 0.8); }},
      {"EggRe", [](Buffer& b) { mallet(b, 0, note_freq(D5), len(b), 0.8); }},
      {"EggMi", [](Buffer& b) { mallet(b, 0, note_freq(E5), len(b), 0.8); }},
      {"EggFa", [](Buffer& b) { mallet(b, 0, note_freq(F5), len(b), 0.8); }},
      {"EggSo", [](Buffer& b) { mallet(b, 0, note_freq(G5), len(b), 0.8); }},
      {"EggRa", [](Buffer& b) { mallet(b, 0, note_freq(A5), len(b), 0.8); }},
      {"EggHSi", [](Buffer& b) { mallet(b, 0, note_freq(B5), len(b), 0.8); }},
      {"GetPiyo",
       [](Buffer& b) {
         for (int i = 0; i < 2; ++i) {
           Tone t{Osc::Sine, 2300, 3400, 0.05, 0.5, env(0.003, 0.02, 0.8, 0.03)};
           t.vibrato_hz = 40, t.vibrato_depth = 0.6;
           b.add(t, i * 0.12);
         }
       }},
      {"GetP1k",
       [](Buffer& b) {
         bell(b, 0, note_freq(E6), 0.25, 0.45);
         bell(b, 0.08, note_freq(B5 + 12), 0.26, 0.45);
       }},
      {"Bomb", [](Buffer& b) { boom(b, 0, len(b), 0.9, 6000, 200, 19); }},
      {"Rainbow",
       [](Buffer& b) {
         const int notes[] = {C5, E5, G5, C6, E6, G6, C7, G6, E6, G6, C7};
         for (int i = 0; i < 11; ++i)
           bell(b, i * 0.055, note_freq(notes[i]), 0.22, 0.3);
       }},
      {"Spin",
       [](Buffer& b) {
         b.add_noise(0, 0.03, 0.5, 1500, 5000, env(0.005, 0.02, 0.6, 0.03), 23);
         chip(b, 0, 1500, 0.02, 0.2, Osc::Triangle, 0.03, 2200);
       }},
      {"Dekazub1",
       [](Buffer& b) {
         for (int i = 0; i < 6; ++i)
           sweep(b, i * 0.1, note_freq(C4 + i * 4), note_freq(C4 + i * 4 + 7), 0.1, 0.4);
       }},
      {"Dekazub2",
       [](Buffer& b) {
         for (int i = 0; i < 6; ++i)
           sweep(b, i * 0.1, note_freq(C6 - i * 4), note_freq(C6 - i * 4 - 7), 0.1, 0.4);
       }},
      {"Gameover",
       [](Buffer& b) {
         const int n[] = {G4, F4 + 1, F4, E4};
         for (int i = 0; i < 3; ++i) chip(b, i * 0.18, note_freq(n[i]), 0.14, 0.35, Osc::Pulse25);
         Tone t{Osc::Pulse25, note_freq(E4), note_freq(E4 - 5), 0.35, 0.35,
                env(0.005, 0.1, 0.8, 0.08)};
         t.vibrato_hz = 6, t.vibrato_depth = 0.3, t.lowpass = 3500;
         b.add(t, 0.54);
         for (int i = 0; i < 3; ++i) chip(b, i * 0.18, note_freq(n[i] - 12), 0.14, 0.25, Osc::Triangle);
         chip(b, 0.54, note_freq(C4 - 12), 0.35, 0.3, Osc::Triangle);
       }},
      {"Get10k",
       [](Buffer& b) {
         const int n[] = {C6, E6, G6, C7};
         for (int i = 0; i < 4; ++i) bell(b, i * 0.06, note_freq(n[i]), 0.28, 0.35);
       }},
      {"GetCoin",
       [](Buffer& b) {
         chip(b, 0, note_freq(B5), 0.05, 0.4);
         chip(b, 0.05, note_freq(E6), 0.12, 0.4, Osc::Square, 0.07);
       }},
      {"GetCoin2",
       [](Buffer& b) {
         chip(b, 0, note_freq(E6), 0.05, 0.35);
         chip(b, 0.06, note_freq(G6), 0.05, 0.35);
         chip(b, 0.12, note_freq(C7), 0.14, 0.35, Osc::Square, 0.08);
       }},
      {"HiScore",
       [](Buffer& b) {
         // a small triumphant tune: C E G | C' . G | A F C' | G. (lead, bass)
         struct N { double t, d; int n; } lead[] = {
             {0, .13, C5}, {.14, .13, E5}, {.28, .13, G5}, {.42, .26, C6}, {.70, .13, G5},
             {.84, .13, A5}, {.98, .13, F5}, {1.12, .13, A5}, {1.26, .4, C6}};
         for (const N& x : lead) chip(b, x.t, note_freq(x.n), x.d, 0.3, Osc::Pulse25, 0.06);
         N bass[] = {{0, .4, C4}, {.42, .26, E4}, {.84, .4, F4}, {1.26, .4, C4}};
         for (const N& x : bass) chip(b, x.t, note_freq(x.n - 12), x.d, 0.35, Osc::Triangle, 0.06);
       }},
      {"HypBomb",
       [](Buffer& b) {
         boom(b, 0, len(b), 0.8, 8000, 300, 29);
         sweep(b, 0, 2400, 300, 0.3, 0.25, Osc::Saw);
       }},
      {"HypButa",
       [](Buffer& b) { sweep(b, 0, 300, 2400, len(b) * 0.9, 0.4, Osc::Square, 18, 0.7); }},
      {"KingHit",
       [](Buffer& b) {
         boom(b, 0, len(b), 0.7, 2500, 150, 31);
         mallet(b, 0, 180, 0.2, 0.5);
       }},
      {"LitExtra",
       [](Buffer& b) {
         const int n[] = {C5, E5, G5, C6, D6, E6, G6, C7};
         for (int i = 0; i < 8; ++i) chip(b, i * 0.07, note_freq(n[i]), 0.05, 0.3, Osc::Pulse25);
         for (int i = 0; i < 5; ++i) bell(b, 0.56 + i * 0.08, note_freq(C7 - (i % 2) * 5), 0.2, 0.2);
       }},
      {"NewHero",
       [](Buffer& b) {
         struct N { double t, d; int n; } s[] = {{0, .1, G5}, {.11, .1, C6}, {.22, .1, E6},
                                                 {.33, .1, C6}, {.44, .1, E6}, {.55, .28, G6}};
         for (const N& x : s) chip(b, x.t, note_freq(x.n), x.d, 0.3, Osc::Square, 0.05);
         for (const N& x : s) chip(b, x.t, note_freq(x.n - 24), x.d, 0.25, Osc::Triangle, 0.05);
       }},
      {"EnterKanban",
       [](Buffer& b) { sweep(b, 0, 500, 1600, len(b) * 0.85, 0.45, Osc::Sine, 7, 0.3); }},
      {"SlowButa",
       [](Buffer& b) { sweep(b, 0, 1200, 200, len(b) * 0.9, 0.45, Osc::Triangle, 7, 1.5); }},
      {"Special",
       [](Buffer& b) {
         for (int i = 0; i < 10; ++i)
           bell(b, i * 0.045, note_freq(C6 + (i * 7) % 12 + (i % 3) * 12), 0.25, 0.25);
         chip(b, 0, note_freq(C5), 0.45, 0.25, Osc::Pulse25, 0.1);
       }},
      {"Bcstart",
       [](Buffer& b) {
         for (int i = 0; i < 10; ++i)
           b.add_noise(i * 0.04, 0.01, 0.35 + i * 0.03, 2500, 1200, env(0.001, 0.01, 0.4, 0.03),
                       37 + i);
         chip(b, 0.4, note_freq(G5), 0.08, 0.35);
       }},
      {"ClearStage",
       [](Buffer& b) {
         struct N { double t, d; int n; } s[] = {{0, .09, C5}, {.1, .09, E5}, {.2, .09, G5},
                                                 {.3, .09, E5}, {.4, .22, C6}};
         for (const N& x : s) chip(b, x.t, note_freq(x.n), x.d, 0.3, Osc::Pulse25, 0.05);
         for (const N& x : s) chip(b, x.t, note_freq(x.n - 12) * 1.0, x.d, 0.18, Osc::Triangle, 0.05);
         bell(b, 0.4, note_freq(G6), 0.25, 0.2);
       }},
      {"Doron",
       [](Buffer& b) {
         b.add_noise(0, 0.1, 0.6, 900, 250, env(0.01, 0.1, 0.6, 0.3), 41);
         sweep(b, 0, 300, 90, 0.35, 0.35, Osc::Triangle, 12, 1.0);
       }},
      {"DenDen",
       [](Buffer& b) {
         for (int i = 0; i < 6; ++i) {
           double t = i * 0.075;
           Tone d{Osc::Sine, i % 2 ? 330.0 : 280.0, 150, 0.01, 0.7 - i * 0.08,
                  env(0.001, 0.01, 0.8, 0.06)};
           b.add(d, t);
           b.add_noise(t, 0.004, 0.3, 3000, 1500, env(0.001, 0.004, 0.3, 0.01), 43 + i);
         }
       }},
      {"Bomb2", [](Buffer& b) { boom(b, 0, len(b), 0.8, 5000, 300, 47); }},
      {"Paan",
       [](Buffer& b) {
         b.add_noise(0, 0.01, 0.9, 9000, 3000, env(0.0005, 0.01, 0.4, 0.15), 53);
         bell(b, 0, 1320, 0.6, 0.35);
         bell(b, 0, 1760, 0.5, 0.2);
       }},
      {"FaceMi", [](Buffer& b) { bell(b, 0, note_freq(E5), len(b), 0.7); }},
      {"FaceSo", [](Buffer& b) { bell(b, 0, note_freq(G5), len(b), 0.7); }},
      {"FaceDo", [](Buffer& b) { bell(b, 0, note_freq(C6), len(b), 0.7); }},
      {"FaceRa", [](Buffer& b) { bell(b, 0, note_freq(A5), len(b), 0.7); }},
      {"Thunder",
       [](Buffer& b) {
         b.add_noise(0, 0.02, 1.0, 9000, 4000, env(0.0005, 0.02, 0.5, 0.1), 59);
         b.add_noise(0.03, 0.3, 0.9, 1500, 120, env(0.01, 0.3, 0.7, 1.0), 61);
         b.add_noise(0.35, 0.1, 0.5, 600, 100, env(0.05, 0.1, 0.5, 0.6), 67);
       }},
      {"Bomb3",
       [](Buffer& b) {
         boom(b, 0, 0.6, 0.9, 7000, 200, 71);
         boom(b, 0.25, 0.6, 0.7, 4000, 150, 73);
         boom(b, 0.55, 0.75, 0.6, 3000, 100, 79);
       }},
      {"BBosV",
       [](Buffer& b) {
         voice(b, 0, {v(kH, 0.04, 90, 90), v(kA, 0.18, 95, 120), v(kO, 0.14, 120, 80)}, 1.0);
       }},
      {"BBosD",
       [](Buffer& b) {
         voice(b, 0,
               {v(kA, 0.25, 160, 190), v(kA, 0.25, 190, 150), v(kO, 0.3, 150, 90),
                v(kU, 0.35, 90, 50, 0.7)},
               1.0);
         boom(b, 0.1, 0.9, 0.35, 2000, 100, 83);
       }},
      {"WinkReady",
       [](Buffer& b) {
         for (int i = 0; i < 16; ++i)
           bell(b, i * 0.075, note_freq(C6 + (i * 5) % 14), 0.3, 0.18);
         Tone pad{Osc::Triangle, note_freq(C5), note_freq(C6), 1.4, 0.25, env(0.3, 0.2, 0.8, 0.4)};
         pad.vibrato_hz = 6, pad.vibrato_depth = 0.2;
         b.add(pad, 0);
         bell(b, 1.45, note_freq(C7), 0.45, 0.4);
       }},
      {"QBossV",
       [](Buffer& b) {
         voice(b, 0, {v(kU, 0.1, 300, 380), v(kI, 0.15, 380, 420), v(kI, 0.24, 420, 260)}, 0.9);
       }},
      {"QBossD",
       [](Buffer& b) {
         voice(b, 0,
               {v(kI, 0.2, 420, 500), v(kE, 0.25, 500, 380), v(kA, 0.3, 380, 200),
                v(kO, 0.3, 200, 90, 0.7)},
               0.9);
         boom(b, 0.05, 0.8, 0.3, 3000, 150, 89);
       }},
      {"GBossV",
       [](Buffer& b) { voice(b, 0, {v(kH, 0.02, 110, 110), v(kO, 0.12, 120, 95)}, 1.0); }},
      {"EatButa",
       [](Buffer& b) {
         Tone gulp{Osc::Sine, 500, 120, 0.12, 0.8, env(0.005, 0.1, 0.8, 0.05)};
         b.add(gulp, 0);
         b.add_noise(0, 0.03, 0.3, 1200, 500, env(0.002, 0.03, 0.4, 0.05), 97);
         Tone gulp2{Osc::Sine, 320, 90, 0.12, 0.7, env(0.005, 0.1, 0.8, 0.06)};
         b.add(gulp2, 0.2);
       }},
      {"EKDEAD",
       [](Buffer& b) {
         voice(b, 0,
               {v(kA, 0.35, 140, 200), v(kA, 0.3, 200, 170), v(kO, 0.4, 170, 120),
                v(kO, 0.4, 120, 80), v(kU, 0.5, 80, 45, 0.6)},
               0.9);
         for (int i = 0; i < 5; ++i) boom(b, 0.3 + i * 0.42, 0.6, 0.4, 5000, 150, 101 + i);
       }},
      {"Bounds",
       [](Buffer& b) {
         Tone t{Osc::Sine, 150, 60, 0.06, 0.9, env(0.002, 0.06, 0.8, 0.2)};
         b.add(t, 0);
         Tone spring{Osc::Triangle, 220, 520, 0.4, 0.35, env(0.01, 0.2, 0.6, 0.3)};
         spring.vibrato_hz = 16, spring.vibrato_depth = 1.2;
         b.add(spring, 0.03);
       }},
      {"QBNormal",
       [](Buffer& b) {
         const int n[] = {G5, E5, C5, G4, C5, E5, G5, C6};
         for (int i = 0; i < 8; ++i) chip(b, i * 0.11, note_freq(n[i]), 0.08, 0.3, Osc::Triangle, 0.05);
       }},
      {"BigOmori",
       [](Buffer& b) {
         Tone t{Osc::Sine, 140, 50, 0.04, 1.0, env(0.001, 0.04, 0.8, 0.15)};
         b.add(t, 0);
         b.add_noise(0, 0.02, 0.6, 3000, 300, env(0.001, 0.02, 0.6, 0.1), 107);
         mallet(b, 0, 310, 0.18, 0.25);
       }},
      {"WahaKing",
       [](Buffer& b) {
         std::vector<Vowel> s;
         s.push_back(v(kU, 0.06, 130, 150, 0.8));
         s.push_back(v(kA, 0.26, 160, 180));
         for (int i = 0; i < 4; ++i) {
           s.push_back(v(kH, 0.05, 170, 170));
           s.push_back(v(kA, 0.17, 180.0 - i * 12, 165.0 - i * 14));
         }
         voice(b, 0, s, 1.0);
       }},
      {"BBasa",
       [](Buffer& b) { b.add_noise(0, 0.04, 0.8, 1800, 600, env(0.01, 0.04, 0.6, 0.07), 109); }},
      {"BPoing",
       [](Buffer& b) {
         Tone t{Osc::Sine, 120, 60, 0.05, 0.9, env(0.002, 0.05, 0.8, 0.15)};
         b.add(t, 0);
         Tone spring{Osc::Triangle, 180, 700, 0.5, 0.4, env(0.01, 0.3, 0.6, 0.2)};
         spring.vibrato_hz = 11, spring.vibrato_depth = 1.5;
         b.add(spring, 0.02);
       }},
      {"Fanf",
       [](Buffer& b) {
         // brass-like fanfare: G C E G . E G ---
         struct N { double t, d; int n; } s[] = {{0, .14, G4}, {.16, .14, C5}, {.32, .14, E5},
                                                 {.48, .3, G5}, {.82, .14, E5}, {.98, 1.1, G5}};
         for (const N& x : s) {
           Tone t{Osc::Saw, note_freq(x.n), 0, x.d, 0.22, env(0.03, 0.1, 0.8, 0.12)};
           t.lowpass = 2200, t.vibrato_hz = 5.5, t.vibrato_depth = x.d > 0.5 ? 0.15 : 0;
           b.add(t, x.t);
           Tone l = t;
           l.freq = note_freq(x.n - 5);
           l.amp = 0.14;
           b.add(l, x.t);
         }
         for (int i = 0; i < 3; ++i) {
           Tone d{Osc::Sine, 90, 45, 0.04, 0.18, env(0.001, 0.05, 0.6, 0.2)};
           b.add(d, 0.98 + i * 0.09);
         }
         Tone roll{Osc::Triangle, note_freq(C4 - 12), 0, 1.1, 0.12, env(0.05, 0.2, 0.8, 0.3)};
         b.add(roll, 0.98);
       }},
      {"Ending",
       [](Buffer& b) {
         // a gentle waltz-like theme in C major, 9 seconds
         const double beat = 0.375;
         const int melody[] = {E5, G5, C6, B5, A5, G5, F5, A5, G5, E5, D5, C5,
                               D5, E5, F5, A5, G5, E5, D5, G4, B4, D5, C5, -1};
         for (int i = 0; i < 24; ++i)
           if (melody[i] > 0) {
             double d = i == 22 ? beat * 2.5 : beat * 0.9;
             bell(b, i * beat, note_freq(melody[i]), d + 0.3, 0.32);
           }
         const int bass[] = {C4, A4 - 12, F4 - 12, G4 - 12, C4, A4 - 12, D4, G4 - 12};
         for (int bar = 0; bar < 8; ++bar) {
           Tone t{Osc::Triangle, note_freq(bass[bar] - 12), 0, beat * 2.6, 0.3,
                  env(0.01, 0.3, 0.6, 0.2)};
           b.add(t, bar * beat * 3);
           for (int k = 1; k < 3; ++k) {
             Tone c{Osc::Sine, note_freq(bass[bar] + 4 + (k == 2 ? 3 : 0)), 0, beat * 0.6, 0.1,
                    env(0.01, 0.1, 0.6, 0.1)};
             b.add(c, bar * beat * 3 + k * beat);
           }
         }
       }},
      {"Poyon",
       [](Buffer& b) {
         Tone t{Osc::Sine, 240, 600, 0.12, 0.7, env(0.005, 0.1, 0.8, 0.1)};
         t.vibrato_hz = 14, t.vibrato_depth = 0.8;
         b.add(t, 0);
       }},
      {"Goon",
       [](Buffer& b) {
         Tone g{Osc::Sine, 95, 85, 0, 0.8, env(0.002, 0.001, 1, len(b) * 0.95)};
         g.overtone = 0.5, g.overtone_ratio = 2.41, g.overtone_decay = 0.3;
         b.add(g, 0);
         Tone g2 = g;
         g2.freq = 190 * 1.33, g2.freq_end = 0, g2.amp = 0.3;
         b.add(g2, 0);
         b.add_noise(0, 0.01, 0.4, 2000, 400, env(0.001, 0.01, 0.5, 0.05), 113);
       }},
  };
  return m;
}

}  // namespace

Wave make_effect(const WaveSpec& item_spec) {
  Wave w;
  w.rate = item_spec.rate;
  w.channels = item_spec.channels;
  w.bits = 8;
  Buffer b(item_spec.rate, size_t(item_spec.data_bytes / item_spec.channels));
  auto it = recipes().find(item_spec.name);
  if (it != recipes().end()) it->second(b);
  b.normalise(0.85);
  // a short fade-in against clicks; longer sounds also ring out smoothly
  b.fade(0.002, std::min(0.3, 0.01 + 0.08 * b.seconds()));
  w.data = b.to_u8(item_spec.channels);
  // the catalogue's length exactly, also when it is not a whole number of frames
  w.data.resize(size_t(item_spec.data_bytes), 128);
  return w;
}

bool has_effect(const char* name) { return recipes().count(name) != 0; }

}  // namespace zubroll::art
