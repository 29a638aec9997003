// The five music tracks: a small step sequencer over chord progressions, with
// melodies composed from motifs, and synthesised instruments. Every event
// wraps round the loop, so the last sample runs into the first.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "sound.h"
#include "synth.h"

namespace zubroll::art {

namespace {

struct Chord {
  int root;                // midi of the root (octave 3)
  std::vector<int> tones;  // semitones above the root
};

Chord ch(int root, std::initializer_list<int> t) { return {root, t}; }
const std::initializer_list<int> kMaj = {0, 4, 7}, kMin = {0, 3, 7}, kDom7 = {0, 4, 7, 10},
                                 kMin7 = {0, 3, 7, 10}, kDim = {0, 3, 6}, kSus = {0, 5, 7};

// A song: tempo, the scale its melody walks, one chord per bar, a drum pattern
// per section, and instrument choices.
struct Song {
  double bpm;
  int key;                  // tonic midi (octave 4)
  std::vector<int> scale;   // semitones of the scale
  std::vector<Chord> bars;  // one per bar
  std::vector<int> section; // per bar: 0 verse, 1 chorus, 2 bridge
  std::string drums[3];     // 16 steps each: k kick, s snare, h hat, o open hat, t tom
  std::string bass[3];      // 16 steps: 1 root, 5 fifth, 8 octave, 3 third, . rest, - hold
  Osc lead_osc;
  double lead_cut;
  int lead_octave;          // added to key for the melody
  double swing;             // 0 straight
  int arp;                  // 0 none, 1 up arpeggio of the chord in 16ths, 2 pad chords
  uint32_t seed;
  double hat_level;
};

class Rng {
 public:
  explicit Rng(uint32_t s) : s_(s) {}
  uint32_t next(uint32_t n) {
    s_ = s_ * 1103515245u + 12345u;
    return ((s_ >> 16) & 0x7FFF) % n;
  }

 private:
  uint32_t s_;
};

struct Seq {
  Buffer& out;
  double step;  // seconds per 16th
  double swing;
  double at(int s) const {
    double t = s * step;
    if (s % 2 == 1) t += swing * step;
    return t;
  }
};

void kick(Buffer& b, double t, double amp) {
  Tone k{Osc::Sine, 150, 42, 0.02, amp, Env{0.001, 0.05, 0.7, 0.14}};
  b.add(k, t, true);
}
void snare(Buffer& b, double t, double amp, uint32_t seed) {
  b.add_noise(t, 0.02, amp * 0.7, 6000, 2500, Env{0.001, 0.03, 0.5, 0.12}, seed, true);
  Tone body{Osc::Triangle, 210, 160, 0.02, amp * 0.5, Env{0.001, 0.03, 0.5, 0.06}};
  b.add(body, t, true);
}
void hat(Buffer& b, double t, double amp, bool open, uint32_t seed) {
  // bright noise: a high cut-off, then the body taken out by a second burst
  b.add_noise(t, 0.005, amp, 11000, 9000, Env{0.001, 0.01, 0.4, open ? 0.16 : 0.03}, seed,
              true);
  b.add_noise(t, 0.005, -amp * 0.8, 2500, 2500, Env{0.001, 0.01, 0.4, open ? 0.16 : 0.03},
              seed, true);
}
void tom(Buffer& b, double t, double amp, double f) {
  Tone k{Osc::Sine, f, f * 0.6, 0.03, amp, Env{0.001, 0.05, 0.7, 0.2}};
  b.add(k, t, true);
}

// Melody: a two-bar motif of rhythm and contour, re-pitched on every chord so
// that strong beats land on chord tones; the chorus gets a fresh motif.
struct Motif {
  std::vector<int> onsets, lengths, moves;  // steps within two bars, lengths, scale moves
};

Motif make_motif(Rng& r, bool busy) {
  Motif m;
  int s = 0;
  while (s < 32) {
    static const int kBusy[] = {2, 2, 1, 1, 2, 4, 2, 3};
    static const int kCalm[] = {4, 2, 2, 6, 4, 2, 8, 4};
    int len = busy ? kBusy[r.next(8)] : kCalm[r.next(8)];
    if (s % 4 == 3 && len > 1) len = 1;
    if (s + len > 32) len = 32 - s;
    m.onsets.push_back(s);
    m.lengths.push_back(len);
    static const int kMoves[] = {1, -1, 2, -2, 0, 1, -1, 3, -3, 2};
    m.moves.push_back(kMoves[r.next(10)]);
    s += len;
    if (r.next(5) == 0 && s < 31) s += 1 + int(r.next(2));  // a breath
  }
  return m;
}

int nearest_scale_degree(const Song& so, int midi, int& degree_out) {
  // map midi to the closest scale degree (degrees count up across octaves)
  int best = 0, bd = 1000;
  for (int d = -14; d < 28; ++d) {
    int oct = (d >= 0 ? d / int(so.scale.size()) : -((-d + int(so.scale.size()) - 1) / int(so.scale.size())));
    int idx = d - oct * int(so.scale.size());
    int m = so.key + oct * 12 + so.scale[size_t(idx)];
    if (std::abs(m - midi) < bd) bd = std::abs(m - midi), best = d;
  }
  degree_out = best;
  return bd;
}
int degree_midi(const Song& so, int d) {
  int n = int(so.scale.size());
  int oct = d >= 0 ? d / n : -((-d + n - 1) / n);
  return so.key + oct * 12 + so.scale[size_t(d - oct * n)];
}

void render_song(const Song& so, Buffer& b) {
  const double step = 60.0 / so.bpm / 4;
  Seq q{b, step, so.swing};
  Rng r(so.seed);
  const int bars = int(so.bars.size());
  Motif verse = make_motif(r, false), chorus = make_motif(r, true), bridge = make_motif(r, false);
  int degree = 2;  // start on the third
  for (int bar = 0; bar < bars; ++bar) {
    const Chord& c = so.bars[size_t(bar)];
    const int sec = so.section[size_t(bar)];
    const int s0 = bar * 16;
    // drums
    const std::string& dp = so.drums[sec];
    for (int i = 0; i < 16 && i < int(dp.size()); ++i) {
      double t = q.at(s0 + i);
      uint32_t seed = uint32_t(bar * 16 + i + 1);
      switch (dp[size_t(i)]) {
        case 'k': kick(b, t, 0.55); break;
        case 's': snare(b, t, 0.35, seed); break;
        case 'h': hat(b, t, so.hat_level, false, seed); break;
        case 'o': hat(b, t, so.hat_level, true, seed); break;
        case 'x': kick(b, t, 0.55), hat(b, t, so.hat_level, false, seed); break;
        case 't': tom(b, t, 0.4, 130); break;
        case 'u': tom(b, t, 0.4, 95); break;
      }
    }
    // fill on the last bar of each eight
    if (bar % 8 == 7)
      for (int i = 12; i < 16; ++i) snare(b, q.at(s0 + i), 0.2 + 0.05 * (i - 12), uint32_t(bar * 31 + i));
    // bass
    const std::string& bp = so.bass[sec];
    for (int i = 0; i < 16 && i < int(bp.size()); ++i) {
      char k = bp[size_t(i)];
      if (k == '.' || k == '-') continue;
      int len = 1;
      while (i + len < 16 && bp[size_t(i + len)] == '-') ++len;
      int iv = k == '1' ? 0 : k == '5' ? 7 : k == '8' ? 12 : k == '3' ? c.tones[1] : k == '7' ? 10 : 0;
      Tone t{Osc::Saw, note_freq(c.root - 12 + iv), 0, step * len * 0.8, 0.32,
             Env{0.004, 0.08, 0.7, 0.05}};
      t.lowpass = 700;
      t.overtone = 0.6, t.overtone_ratio = 0.5;  // sub octave for weight
      b.add(t, q.at(s0 + i), true);
    }
    // harmony
    if (so.arp == 1) {
      for (int i = 0; i < 16; ++i) {
        int tone = c.tones[size_t(i % c.tones.size())] + 12 * ((i / int(c.tones.size())) % 2);
        Tone t{Osc::Pulse12, note_freq(c.root + 12 + tone), 0, step * 0.5, 0.07,
               Env{0.002, 0.05, 0.5, 0.05}};
        t.lowpass = 3000;
        b.add(t, q.at(s0 + i), true);
      }
    } else {
      for (size_t k = 0; k < c.tones.size() && k < 3; ++k) {
        Tone t{Osc::Saw, note_freq(c.root + 12 + c.tones[k]), 0, step * 15, 0.055,
               Env{step * 3, step * 4, 0.7, step * 2}};
        t.lowpass = 1400;
        t.vibrato_hz = 4.5 + k * 0.3, t.vibrato_depth = 0.06;
        b.add(t, q.at(s0), true);
      }
      // off-beat chord stabs for drive
      for (int i = 2; i < 16; i += 4)
        for (size_t k = 0; k < c.tones.size() && k < 3; ++k) {
          Tone t{Osc::Square, note_freq(c.root + 12 + c.tones[k]), 0, step * 0.6, 0.035,
                 Env{0.002, 0.03, 0.5, 0.04}};
          t.lowpass = 2500;
          b.add(t, q.at(s0 + i), true);
        }
    }
    // melody: two-bar motif, repitched
    const Motif& m = sec == 1 ? chorus : sec == 2 ? bridge : verse;
    const int half = bar % 2;
    for (size_t n = 0; n < m.onsets.size(); ++n) {
      int on = m.onsets[n] - half * 16;
      if (on < 0 || on >= 16) continue;
      degree += m.moves[n];
      degree = std::clamp(degree, -2, 9);
      int midi = degree_midi(so, degree) + so.lead_octave;
      bool strong = on % 4 == 0;
      if (strong) {
        // snap to the nearest chord tone
        int best = midi, bd = 100;
        for (int o = -1; o <= 2; ++o)
          for (int tone : c.tones) {
            int cand = c.root + 12 * o + tone;
            while (cand < midi - 6) cand += 12;
            while (cand > midi + 6) cand -= 12;
            if (std::abs(cand - midi) < bd) bd = std::abs(cand - midi), best = cand;
          }
        midi = best;
        int d;
        nearest_scale_degree(so, midi - so.lead_octave, d);
        degree = d;
      }
      // the phrase ends on the tonic at the end of each eight bars
      if (bar % 8 == 7 && n + 1 == m.onsets.size()) midi = so.key + so.lead_octave + 12 * 0;
      double len = m.lengths[n] * step;
      Tone t{so.lead_osc, note_freq(midi), 0, len * 0.85, 0.16, Env{0.006, 0.08, 0.75, 0.06}};
      t.lowpass = so.lead_cut;
      t.vibrato_hz = 5.5;
      t.vibrato_depth = len > 0.3 ? 0.12 : 0.0;
      b.add(t, q.at(s0 + on), true);
    }
  }
}

Song song(int n) {
  Song s;
  const int C = 48, D = 50, E = 52, F = 53, G = 55, A = 57, B = 59;
  std::vector<int> major = {0, 2, 4, 5, 7, 9, 11}, minor = {0, 2, 3, 5, 7, 8, 10},
                   harmonic = {0, 2, 3, 5, 7, 8, 11};
  switch (n) {
    case 1: {  // title and normal stages: bright, bouncy, C major
      s.bpm = 138, s.key = 72, s.scale = major, s.swing = 0.12, s.arp = 0, s.seed = 11;
      std::vector<Chord> verse = {ch(C, kMaj), ch(A, kMin), ch(F, kMaj), ch(G, kMaj),
                                  ch(C, kMaj), ch(A, kMin), ch(D, kMin7), ch(G, kDom7)};
      std::vector<Chord> chorus = {ch(F, kMaj), ch(G, kMaj), ch(E, kMin), ch(A, kMin),
                                   ch(D, kMin), ch(G, kMaj), ch(C, kMaj), ch(G, kDom7)};
      std::vector<Chord> bridge = {ch(A, kMin), ch(E, kMin), ch(F, kMaj), ch(C, kMaj),
                                   ch(D, kMin), ch(A, kMin), ch(F, kMaj), ch(G, kSus)};
      for (auto* p : {&verse, &verse, &chorus, &bridge, &chorus}) s.bars.insert(s.bars.end(), p->begin(), p->end());
      for (int i = 0; i < 40; ++i) s.section.push_back(i < 16 ? 0 : i < 24 ? 1 : i < 32 ? 2 : 1);
      s.drums[0] = "k.h.s.h.k.h.s.hh";
      s.drums[1] = "k.hkshh.k.hks.ho";
      s.drums[2] = "k...s...k.k.s...";
      s.bass[0] = "1.5.8.5.1.5.8.5.";
      s.bass[1] = "1-.31-.51-.38.5.";
      s.bass[2] = "1---5---1---5---";
      s.lead_osc = Osc::Pulse25, s.lead_cut = 3800, s.lead_octave = 0, s.hat_level = 0.12;
      break;
    }
    case 2: {  // boss 1: driving, A minor
      s.bpm = 152, s.key = 69, s.scale = minor, s.swing = 0, s.arp = 1, s.seed = 23;
      std::vector<Chord> a = {ch(A, kMin), ch(A, kMin), ch(F, kMaj), ch(G, kMaj),
                              ch(A, kMin), ch(A, kMin), ch(D, kMin), ch(E, kMaj)};
      std::vector<Chord> b = {ch(F, kMaj), ch(G, kMaj), ch(A, kMin), ch(A, kMin),
                              ch(F, kMaj), ch(G, kMaj), ch(E, kSus), ch(E, kMaj)};
      for (auto* p : {&a, &a, &b, &a, &b}) s.bars.insert(s.bars.end(), p->begin(), p->end());
      for (int i = 0; i < 40; ++i) s.section.push_back((i / 8) % 2 == 0 || i < 16 ? 0 : 1);
      s.drums[0] = "k.h.s.hkk.h.s.h.";
      s.drums[1] = "k.hks.hkk.hks.hs";
      s.drums[2] = s.drums[0];
      s.bass[0] = "1818181818181818";
      s.bass[1] = "1.1.1.5.1.1.8.5.";
      s.bass[2] = s.bass[0];
      s.lead_osc = Osc::Square, s.lead_cut = 3000, s.lead_octave = 0, s.hat_level = 0.1;
      break;
    }
    case 3: {  // boss 2: heavy, D phrygian colour with toms
      s.bpm = 126, s.key = 62, s.scale = {0, 1, 3, 5, 7, 8, 10}, s.swing = 0, s.arp = 0, s.seed = 37;
      const int Eb = 51;
      std::vector<Chord> a = {ch(D, kMin), ch(Eb, kMaj), ch(D, kMin), ch(C, kMaj),
                              ch(D, kMin), ch(Eb, kMaj), ch(C, kMaj), ch(A, kDim)};
      std::vector<Chord> b = {ch(G, kMin), ch(A, kMaj), ch(D, kMin), ch(Eb, kMaj),
                              ch(G, kMin), ch(C, kMaj), ch(A, kSus), ch(A, kMaj)};
      for (auto* p : {&a, &a, &b, &a, &b}) s.bars.insert(s.bars.end(), p->begin(), p->end());
      for (int i = 0; i < 40; ++i) s.section.push_back(i >= 16 && (i / 8) % 2 == 0 ? 1 : (i / 8 == 3 ? 0 : (i < 16 ? 0 : 1)));
      s.drums[0] = "k..tk.s.k.ut.s.t";
      s.drums[1] = "k.hks.hkk.hktsus";
      s.drums[2] = s.drums[0];
      s.bass[0] = "1..1..1.1..1.5.7";
      s.bass[1] = "1-1-5-1-8-5-1-3-";
      s.bass[2] = s.bass[0];
      s.lead_osc = Osc::Saw, s.lead_cut = 2200, s.lead_octave = 0, s.hat_level = 0.09;
      break;
    }
    case 4: {  // boss 3: fast and nervous, E minor, arpeggios
      s.bpm = 168, s.key = 64, s.scale = harmonic, s.swing = 0, s.arp = 1, s.seed = 41;
      const int Bb = 58;
      (void)Bb;
      std::vector<Chord> a = {ch(E, kMin), ch(C, kMaj), ch(A, kMin), ch(B, kMaj),
                              ch(E, kMin), ch(C, kMaj), ch(D, kMaj), ch(B, kDom7)};
      std::vector<Chord> b = {ch(A, kMin), ch(B, kMaj), ch(E, kMin), ch(C, kMaj),
                              ch(A, kMin), ch(F + 1, kDim), ch(B, kSus), ch(B, kMaj)};
      for (auto* p : {&a, &a, &b, &a, &b, &b}) s.bars.insert(s.bars.end(), p->begin(), p->end());
      for (int i = 0; i < 48; ++i) s.section.push_back((i / 8) % 2 == 0 && i != 16 ? 0 : 1);
      s.drums[0] = "kh.hshkhkh.hshhh";
      s.drums[1] = "khkhshkhkhkhshso";
      s.drums[2] = s.drums[0];
      s.bass[0] = "1.8.1.8.1.8.5.8.";
      s.bass[1] = "15851585158515853";
      s.bass[2] = s.bass[0];
      s.lead_osc = Osc::Pulse25, s.lead_cut = 4200, s.lead_octave = 0, s.hat_level = 0.11;
      break;
    }
    default: {  // boss 4, the king: dramatic, C harmonic minor, slower and grand
      s.bpm = 112, s.key = 60, s.scale = harmonic, s.swing = 0, s.arp = 0, s.seed = 53;
      const int Ab = 56;
      std::vector<Chord> a = {ch(C, kMin), ch(Ab, kMaj), ch(F, kMin), ch(G, kMaj),
                              ch(C, kMin), ch(Ab, kMaj), ch(D, kDim), ch(G, kDom7)};
      std::vector<Chord> b = {ch(F, kMin), ch(C, kMin), ch(Ab, kMaj), ch(G, kMaj),
                              ch(F, kMin), ch(D, kDim), ch(G, kSus), ch(G, kMaj)};
      for (auto* p : {&a, &b, &a, &b}) s.bars.insert(s.bars.end(), p->begin(), p->end());
      for (int i = 0; i < 32; ++i) s.section.push_back((i / 8) % 2);
      s.drums[0] = "k...s..tk.k.s.uu";
      s.drums[1] = "k.hks.h.k.hks.tu";
      s.drums[2] = s.drums[0];
      s.bass[0] = "1-----1-5-----5-";
      s.bass[1] = "1.1.1.1.5.5.8.7.";
      s.bass[2] = s.bass[0];
      s.lead_osc = Osc::Saw, s.lead_cut = 2600, s.lead_octave = 0, s.hat_level = 0.08;
      break;
    }
  }
  return s;
}

}  // namespace

Wave make_track(int n) {
  Song so = song(n);
  const double step = 60.0 / so.bpm / 4;
  const size_t frames = size_t(std::lround(so.bars.size() * 16 * step * kMusicRate));
  Buffer b(kMusicRate, frames);
  render_song(so, b);
  b.echo(step * 3, 0.3, 0.35, true);
  b.normalise(0.8);
  Wave w;
  w.rate = kMusicRate;
  w.channels = 1;
  w.bits = 16;
  w.data = b.to_s16();
  return w;
}

}  // namespace zubroll::art
