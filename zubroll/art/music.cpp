// The five music tracks: a small step sequencer plays written melodies over
// chord progressions, with drum, bass and harmony patterns, on synthesised
// instruments. Every event wraps round the loop, so the last sample runs into
// the first.
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

// A song: tempo, one chord per bar, drum and bass patterns and a written
// melody per section, and instrument choices.
struct Song {
  double bpm;
  std::vector<Chord> bars;  // one per bar
  std::vector<int> section; // per bar: 0 verse, 1 chorus, 2 bridge
  std::string drums[3];     // 16 steps each: k kick, s snare, h hat, o open hat, t tom
  std::string bass[3];      // 16 steps: 1 root, 5 fifth, 8 octave, 3 third, . rest, - hold
  Osc lead_osc;
  double lead_cut;
  int lead_octave;          // semitones added to the written melody
  double swing;             // 0 straight
  int arp;                  // 0 pad chords with off-beat stabs, 1 an arpeggio in 16ths
  double hat_level;
  // Melodies, one per section (eight bars each): notes "E5:2" (name, octave,
  // length in sixteenths) and rests "r:4".
  std::string melody[3];
};

struct Note {
  int start, len, midi;  // steps from the section's start
};

std::vector<Note> parse_melody(const std::string& text) {
  std::vector<Note> out;
  int at = 0;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size()) break;
    size_t end = text.find(' ', i);
    if (end == std::string::npos) end = text.size();
    std::string tok = text.substr(i, end - i);
    i = end;
    size_t colon = tok.find(':');
    int len = colon == std::string::npos ? 2 : std::stoi(tok.substr(colon + 1));
    std::string name = tok.substr(0, colon);
    if (name != "r" && !name.empty()) {
      static const int pcs[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
      int pc = pcs[(name[0] - 'A') % 7];
      size_t k = 1;
      if (k < name.size() && name[k] == '#') ++pc, ++k;
      else if (k < name.size() && name[k] == 'b') --pc, ++k;
      int octave = k < name.size() ? name[k] - '0' : 5;
      out.push_back({at, len, 12 * (octave + 1) + pc});
    }
    at += len;
  }
  return out;
}

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

// The lead goes into its own buffer so that only it gets the echo.
void render_song(const Song& so, Buffer& b, Buffer& lead) {
  const double step = 60.0 / so.bpm / 4;
  Seq q{b, step, so.swing};
  const int bars = int(so.bars.size());
  std::vector<Note> parsed[3];
  for (int k = 0; k < 3; ++k) parsed[k] = parse_melody(so.melody[k]);
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
      t.lowpass = 900;
      t.overtone = 0.35, t.overtone_ratio = 1.0;  // a sine under the saw for a round tone
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
    // melody
    const int from = (bar % 8) * 16;
    for (const Note& n : parsed[sec]) {
      if (n.start < from || n.start >= from + 16) continue;
      double len = n.len * step;
      Tone t{so.lead_osc, note_freq(n.midi + so.lead_octave), 0, len * 0.85, 0.16,
             Env{0.006, 0.08, 0.75, 0.06}};
      t.lowpass = so.lead_cut;
      t.vibrato_hz = 5.5;
      t.vibrato_depth = len > 0.3 ? 0.12 : 0.0;
      lead.add(t, q.at(s0 + n.start - from), true);
    }
  }
}

// Appends eight-bar blocks of chords, each with the section it plays as.
void blocks(Song& s, std::initializer_list<std::pair<const std::vector<Chord>*, int>> list) {
  for (auto [chords, section] : list) {
    s.bars.insert(s.bars.end(), chords->begin(), chords->end());
    s.section.insert(s.section.end(), chords->size(), section);
  }
}

Song song(int n) {
  Song s;
  const int C = 48, D = 50, E = 52, F = 53, G = 55, A = 57, B = 59;
  switch (n) {
    case 1: {  // title and normal stages: bright, bouncy, C major
      s.bpm = 138, s.swing = 0.12, s.arp = 0;
      std::vector<Chord> verse = {ch(C, kMaj), ch(A, kMin), ch(F, kMaj), ch(G, kMaj),
                                  ch(C, kMaj), ch(A, kMin), ch(D, kMin7), ch(G, kDom7)};
      std::vector<Chord> chorus = {ch(F, kMaj), ch(G, kMaj), ch(E, kMin), ch(A, kMin),
                                   ch(D, kMin), ch(G, kMaj), ch(C, kMaj), ch(G, kDom7)};
      std::vector<Chord> bridge = {ch(A, kMin), ch(E, kMin), ch(F, kMaj), ch(C, kMaj),
                                   ch(D, kMin), ch(A, kMin), ch(F, kMaj), ch(G, kSus)};
      blocks(s, {{&verse, 0}, {&verse, 0}, {&chorus, 1}, {&bridge, 2}, {&chorus, 1}});
      s.drums[0] = "k.h.s.h.k.h.s.hh";
      s.drums[1] = "k.hkshh.k.hks.ho";
      s.drums[2] = "k...s...k.k.s...";
      s.bass[0] = "1.5.8.5.1.5.8.5.";
      s.bass[1] = "1-.31-.51-.38.5.";
      s.bass[2] = "1---5---1---5---";
      s.lead_osc = Osc::Pulse25, s.lead_cut = 3800, s.lead_octave = -12, s.hat_level = 0.12;
      s.melody[0] =
          "E5:2 G5:2 C6:3 B5:1 C6:2 G5:2 E5:4  A5:2 C6:2 E6:3 D6:1 C6:2 A5:2 E5:4 "
          "F5:2 A5:2 C6:2 A5:2 F5:2 A5:2 C6:4  B5:3 A5:1 G5:2 F5:2 D5:4 r:4 "
          "E5:2 G5:2 C6:3 B5:1 C6:2 E6:2 G6:4  E6:2 C6:2 A5:3 B5:1 C6:2 A5:2 E5:4 "
          "F5:2 A5:2 D6:2 C6:2 A5:2 F5:2 C6:2 A5:2  B5:3 A5:1 G5:2 F5:2 D5:2 B4:2 G4:4";
      s.melody[1] =
          "C6:2 C6:2 A5:2 C6:2 F6:4 E6:2 D6:2  D6:2 D6:2 B5:2 D6:2 G6:4 F6:2 E6:2 "
          "E6:3 D6:1 B5:2 G5:2 E6:3 D6:1 B5:4  C6:3 B5:1 A5:2 E5:2 A5:4 r:4 "
          "F5:2 A5:2 D6:2 F6:2 E6:2 D6:2 A5:4  G5:2 B5:2 D6:2 G6:2 F6:2 D6:2 B5:4 "
          "C6:2 E6:2 G6:4 E6:2 C6:2 G5:4  F5:2 G5:2 A5:2 B5:2 D6:4 r:4";
      s.melody[2] =
          "A5:6 G5:2 E5:8  G5:6 F5:2 E5:4 B4:4  A5:6 C6:2 F5:8  G5:6 E5:2 C5:8 "
          "F5:4 A5:4 D6:8  C6:4 B5:2 A5:2 E5:8  F5:4 A5:4 C6:4 A5:4  G5:8 r:8";
      break;
    }
    case 2: {  // boss 1: driving, A minor
      s.bpm = 152, s.swing = 0, s.arp = 1;
      std::vector<Chord> a = {ch(A, kMin), ch(A, kMin), ch(F, kMaj), ch(G, kMaj),
                              ch(A, kMin), ch(A, kMin), ch(D, kMin), ch(E, kMaj)};
      std::vector<Chord> b = {ch(F, kMaj), ch(G, kMaj), ch(A, kMin), ch(A, kMin),
                              ch(F, kMaj), ch(G, kMaj), ch(E, kSus), ch(E, kMaj)};
      blocks(s, {{&a, 0}, {&a, 0}, {&b, 1}, {&a, 0}, {&b, 1}});
      s.drums[0] = "k.h.s.hkk.h.s.h.";
      s.drums[1] = "k.hks.hkk.hks.hs";
      s.drums[2] = s.drums[0];
      s.bass[0] = "1818181818181818";
      s.bass[1] = "1.1.1.5.1.1.8.5.";
      s.bass[2] = s.bass[0];
      s.lead_osc = Osc::Square, s.lead_cut = 3000, s.lead_octave = -12, s.hat_level = 0.1;
      s.melody[0] =
          "A5:2 A5:1 r:1 C6:2 A5:2 E6:2 D6:2 C6:2 B5:2  C6:2 B5:2 A5:2 E5:2 A5:4 r:4 "
          "F5:2 A5:2 C6:2 F6:2 E6:2 C6:2 A5:4  G5:2 B5:2 D6:2 G6:2 F6:2 D6:2 B5:4 "
          "A5:2 A5:1 r:1 C6:2 A5:2 E6:2 D6:2 C6:2 B5:2  C6:2 D6:2 E6:2 G6:2 A6:4 r:4 "
          "F6:2 E6:2 D6:2 A5:2 F5:2 A5:2 D6:4  E6:2 D6:2 B5:2 G#5:2 E5:4 r:4";
      s.melody[1] =
          "C6:6 A5:2 F5:4 A5:4  D6:6 B5:2 G5:4 B5:4  E6:4 D6:2 C6:2 B5:2 C6:2 A5:4  E5:8 r:8 "
          "C6:6 A5:2 F6:8  D6:6 B5:2 G6:8  A6:4 G6:2 F6:2 E6:8  G#6:4 E6:4 B5:4 G#5:4";
      break;
    }
    case 3: {  // boss 2: heavy, D phrygian colour with toms
      s.bpm = 126, s.swing = 0, s.arp = 0;
      const int Eb = 51;
      std::vector<Chord> a = {ch(D, kMin), ch(Eb, kMaj), ch(D, kMin), ch(C, kMaj),
                              ch(D, kMin), ch(Eb, kMaj), ch(C, kMaj), ch(A, kDim)};
      std::vector<Chord> b = {ch(G, kMin), ch(A, kMaj), ch(D, kMin), ch(Eb, kMaj),
                              ch(G, kMin), ch(C, kMaj), ch(A, kSus), ch(A, kMaj)};
      blocks(s, {{&a, 0}, {&a, 0}, {&b, 1}, {&a, 0}, {&b, 1}});
      s.drums[0] = "k..tk.s.k.ut.s.t";
      s.drums[1] = "k.hks.hkk.hktsus";
      s.drums[2] = s.drums[0];
      s.bass[0] = "1..1..1.1..1.5.7";
      s.bass[1] = "1-1-5-1-8-5-1-3-";
      s.bass[2] = s.bass[0];
      s.lead_osc = Osc::Saw, s.lead_cut = 2200, s.lead_octave = -12, s.hat_level = 0.09;
      s.melody[0] =
          "D5:4 F5:2 A5:2 D6:6 C6:2  Bb5:4 G5:2 Eb5:2 G5:8  A5:2 F5:2 D5:4 F5:2 A5:2 D6:4 "
          "C6:4 G5:4 E5:4 C5:4  D6:6 Eb6:2 D6:4 C6:4  Bb5:6 G5:2 Eb6:8 "
          "E5:2 G5:2 C6:2 E6:2 D6:4 C6:4  A5:4 C6:4 Eb6:4 r:4";
      s.melody[1] =
          "G5:4 Bb5:4 D6:8  C#6:4 E6:4 A5:8  F6:4 E6:2 D6:2 A5:8  G6:4 F6:2 Eb6:2 Bb5:8 "
          "D6:2 Bb5:2 G5:4 D6:2 Bb5:2 G5:4  E6:2 C6:2 G5:4 E6:2 C6:2 G5:4  D6:8 E6:8 "
          "C#6:4 A5:4 E5:4 A4:4";
      break;
    }
    case 4: {  // boss 3: fast and nervous, E minor, arpeggios
      s.bpm = 168, s.swing = 0, s.arp = 1;
      const int Bb = 58;
      (void)Bb;
      std::vector<Chord> a = {ch(E, kMin), ch(C, kMaj), ch(A, kMin), ch(B, kMaj),
                              ch(E, kMin), ch(C, kMaj), ch(D, kMaj), ch(B, kDom7)};
      std::vector<Chord> b = {ch(A, kMin), ch(B, kMaj), ch(E, kMin), ch(C, kMaj),
                              ch(A, kMin), ch(F + 1, kDim), ch(B, kSus), ch(B, kMaj)};
      blocks(s, {{&a, 0}, {&a, 0}, {&b, 1}, {&a, 0}, {&b, 1}, {&b, 1}});
      s.drums[0] = "kh.hshkhkh.hshhh";
      s.drums[1] = "khkhshkhkhkhshso";
      s.drums[2] = s.drums[0];
      s.bass[0] = "1.8.1.8.1.8.5.8.";
      s.bass[1] = "15851585158515853";
      s.bass[2] = s.bass[0];
      s.lead_osc = Osc::Pulse25, s.lead_cut = 4200, s.lead_octave = -12, s.hat_level = 0.11;
      s.melody[0] =
          "E5:2 G5:2 B5:2 E6:2 D#6:2 E6:2 B5:4  C6:2 B5:2 G5:2 E5:2 G5:4 r:4 "
          "A5:2 C6:2 E6:2 A6:2 G6:2 E6:2 C6:4  D#6:2 F#6:2 B6:4 A6:2 F#6:2 D#6:4 "
          "E6:1 D#6:1 E6:2 B5:2 G5:2 E5:2 G5:2 B5:4  C6:1 B5:1 C6:2 G5:2 E5:2 C5:2 E5:2 G5:4 "
          "F#5:2 A5:2 D6:2 F#6:2 E6:2 D6:2 A5:4  B5:2 D#6:2 F#6:2 A6:2 B6:4 r:4";
      s.melody[1] =
          "A6:4 G6:2 E6:2 C6:4 A5:4  B5:4 D#6:2 F#6:2 B6:8  G6:4 F#6:2 E6:2 B5:4 G5:4 "
          "E6:4 D6:2 C6:2 G5:8  A5:2 B5:2 C6:2 E6:2 A6:4 G6:4  F#6:4 C6:4 A5:4 F#5:4 "
          "E6:8 D#6:8  B5:2 D#6:2 F#6:2 B6:2 r:8";
      break;
    }
    default: {  // boss 4, the king: dramatic, C harmonic minor, slower and grand
      s.bpm = 112, s.swing = 0, s.arp = 0;
      const int Ab = 56;
      std::vector<Chord> a = {ch(C, kMin), ch(Ab, kMaj), ch(F, kMin), ch(G, kMaj),
                              ch(C, kMin), ch(Ab, kMaj), ch(D, kDim), ch(G, kDom7)};
      std::vector<Chord> b = {ch(F, kMin), ch(C, kMin), ch(Ab, kMaj), ch(G, kMaj),
                              ch(F, kMin), ch(D, kDim), ch(G, kSus), ch(G, kMaj)};
      blocks(s, {{&a, 0}, {&b, 1}, {&a, 0}, {&b, 1}});
      s.drums[0] = "k...s..tk.k.s.uu";
      s.drums[1] = "k.hks.h.k.hks.tu";
      s.drums[2] = s.drums[0];
      s.bass[0] = "1-----1-5-----5-";
      s.bass[1] = "1.1.1.1.5.5.8.7.";
      s.bass[2] = s.bass[0];
      s.lead_osc = Osc::Saw, s.lead_cut = 2600, s.lead_octave = 0, s.hat_level = 0.08;
      s.melody[0] =
          "C5:4 Eb5:2 G5:2 C6:6 B5:2  Ab5:4 G5:2 F5:2 Eb5:6 C5:2 "
          "F5:2 Ab5:2 C6:4 Ab5:2 F5:2 C5:4  B4:2 D5:2 F5:2 G5:2 B5:8 "
          "C6:4 B5:2 C6:2 D6:4 Eb6:4  Eb6:3 D6:1 C6:2 Ab5:2 Eb5:8 "
          "D5:2 F5:2 Ab5:2 D6:2 C6:2 Ab5:2 F5:4  G5:4 F5:2 D5:2 B4:8";
      s.melody[1] =
          "F5:6 Ab5:2 C6:8  Eb6:6 D6:2 C6:8  Ab5:4 C6:4 Eb6:4 C6:4  D6:6 B5:2 G5:8 "
          "F5:2 G5:2 Ab5:2 C6:2 F6:4 Eb6:4  D6:4 Ab5:4 F5:4 D5:4  C6:8 B5:8  G5:2 B5:2 D6:2 F6:2 G6:8";
      break;
    }
  }
  return s;
}

}  // namespace

std::vector<int> written_melody_steps(int n) {
  Song so = song(n);
  std::vector<int> out;
  for (const std::string& m : so.melody) {
    int steps = 0;
    std::vector<Note> notes = parse_melody(m);
    if (!notes.empty()) steps = notes.back().start + notes.back().len;
    // trailing rests count too
    size_t r = m.rfind("r:");
    if (r != std::string::npos && m.find_first_not_of(" 0123456789", r + 2) == std::string::npos)
      steps += std::stoi(m.substr(r + 2));
    out.push_back(steps);
  }
  return out;
}

Wave make_track(int n) {
  Song so = song(n);
  const double step = 60.0 / so.bpm / 4;
  const size_t frames = size_t(std::lround(so.bars.size() * 16 * step * kMusicRate));
  Buffer b(kMusicRate, frames), lead(kMusicRate, frames);
  render_song(so, b, lead);
  lead.echo(step * 3, 0.35, 0.45, true);
  for (size_t i = 0; i < frames; ++i) b.s[i] += lead.s[i];
  // gentle saturation tames the drum peaks so the whole mix can be louder;
  // it works sample by sample, so the loop stays seamless
  b.normalise(1.0);
  for (double& v : b.s) v = std::tanh(2.2 * v) / std::tanh(2.2);
  b.normalise(0.85);
  // The loop is circular, so it may start anywhere: start it at the quietest
  // pair of neighbouring samples within the last 10 ms before the downbeat,
  // so that the file's first and last samples are both close to silence.
  const size_t window = size_t(kMusicRate / 100);
  size_t cut = 0;
  double best = 1e9;
  for (size_t k = frames - window; k < frames; ++k) {
    double v = std::fabs(b.s[k]) + std::fabs(b.s[k - 1]);
    if (v < best) best = v, cut = k;
  }
  std::rotate(b.s.begin(), b.s.begin() + long(cut), b.s.end());
  Wave w;
  w.rate = kMusicRate;
  w.channels = 1;
  w.bits = 16;
  w.data = b.to_s16();
  return w;
}

}  // namespace zubroll::art
