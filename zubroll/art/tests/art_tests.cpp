// The generated data against the catalogue, and the generator's own pieces.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <unistd.h>

#include "zubroll/art/files.h"
#include "zubroll/art/generate.h"
#include "zubroll/art/palette.h"
#include "zubroll/art/pictures.h"
#include "zubroll/art/sound.h"
#include "zubroll/sprite/catalogue.h"

using namespace zubroll;
using namespace zubroll::art;

namespace zubroll {
// readable test names and failure messages for the parameterised suites
void PrintTo(const ImageSpec& s, std::ostream* os) { *os << s.name; }
void PrintTo(const WaveSpec& s, std::ostream* os) { *os << s.name; }
}  // namespace zubroll

namespace {

const std::string kData = std::string(ZRART_DATA_DIR) + "/ZRData/";
const std::string kSound = std::string(ZRART_DATA_DIR) + "/ZRSound/";

IndexedImage load_bmp(const std::string& name) {
  std::vector<uint8_t> bytes;
  IndexedImage img;
  std::string error;
  EXPECT_TRUE(read_whole_file(kData + name + ".bmp", bytes)) << name;
  EXPECT_TRUE(decode_bmp(bytes, img, error)) << name << ": " << error;
  return img;
}

Wave load_wav(const std::string& path) {
  std::vector<uint8_t> bytes;
  Wave w;
  std::string error;
  EXPECT_TRUE(read_whole_file(path, bytes)) << path;
  EXPECT_TRUE(decode_wav(bytes, w, error)) << path << ": " << error;
  return w;
}

std::vector<uint8_t> pattern(const IndexedImage& img, const ImageSpec& s, int i) {
  int pw = s.pattern_width ? s.pattern_width : s.width;
  int ph = s.pattern_height ? s.pattern_height : s.height;
  int cols = s.width / pw;
  std::vector<uint8_t> out;
  for (int y = 0; y < ph; ++y)
    for (int x = 0; x < pw; ++x)
      out.push_back(img.pixels[size_t((i / cols) * ph + y) * img.width + (i % cols) * pw + x]);
  return out;
}

}  // namespace

TEST(Palette, FixedEntriesAndNoSecondAqua) {
  const Palette& p = game_palette();
  EXPECT_EQ(p[0], (Rgb{0, 0, 0}));
  EXPECT_EQ(p[7], (Rgb{192, 192, 192}));
  EXPECT_EQ(p[254], (Rgb{0, 255, 255}));
  for (int i = 0; i < 256; ++i) {
    if (i == 254) continue;
    int dr = p[i].r, dg = 255 - p[i].g, db = 255 - p[i].b;
    EXPECT_GT(dr * dr + dg * dg + db * db, 60 * 60) << "entry " << i << " looks like aqua";
  }
}

TEST(Palette, QuantiserNeverPicksTransparentAndMatchesExactColours) {
  Quantiser q(game_palette());
  EXPECT_NE(q.nearest(0, 255, 255), kTransparentIndex);
  EXPECT_EQ(q.nearest(0, 0, 0), 0);
  EXPECT_EQ(game_palette()[q.nearest(192, 192, 192)], (Rgb{192, 192, 192}));
  const Rgb& c = game_palette()[ramp_index(kRose, 6)];
  EXPECT_EQ(game_palette()[q.nearest(c.r, c.g, c.b)], c);
}

TEST(PalDib, IsSixteenBySixteenWithTheGamePalette) {
  IndexedImage img = load_bmp("PalDIB");
  EXPECT_EQ(img.width, 16);
  EXPECT_EQ(img.height, 16);
  EXPECT_EQ(img.palette, game_palette());
}

// Every picture of the image list plus the miniatures and the icon.
std::vector<ImageSpec> all_specs() {
  std::vector<ImageSpec> v(std::begin(kImageCatalogue), std::end(kImageCatalogue));
  v.push_back(kSmallEggSpec);
  v.push_back(kSmallBossSpec);
  v.push_back(kIconSpec);
  return v;
}

class PictureFile : public testing::TestWithParam<ImageSpec> {};

TEST_P(PictureFile, MatchesTheCatalogue) {
  const ImageSpec& s = GetParam();
  EXPECT_TRUE(has_drawer(s.name)) << s.name;
  IndexedImage img = load_bmp(s.name);
  ASSERT_EQ(img.width, s.width);
  ASSERT_EQ(img.height, s.height);
  int pw = s.pattern_width ? s.pattern_width : s.width;
  int ph = s.pattern_height ? s.pattern_height : s.height;
  ASSERT_EQ(s.width % pw, 0);
  ASSERT_EQ(s.height % ph, 0);
  ASSERT_GE((s.width / pw) * (s.height / ph), s.pattern_count);
  EXPECT_EQ(img.palette[kTransparentIndex], (Rgb{0, 255, 255}));
  if (s.own_palette)
    EXPECT_NE(img.palette, game_palette()) << "an own palette is expected";
  else
    EXPECT_EQ(img.palette, game_palette());

  std::set<std::vector<uint8_t>> distinct;
  std::map<std::vector<uint8_t>, int> first;
  for (int i = 0; i < s.pattern_count; ++i) {
    std::vector<uint8_t> p = pattern(img, s, i);
    if (auto [it, fresh] = first.emplace(p, i); !fresh && std::string(s.name) != "Gameover")
      ADD_FAILURE() << s.name << " pattern " << i << " repeats pattern " << it->second;
    size_t clear = 0;
    for (uint8_t v : p) clear += v == kTransparentIndex;
    // "Inviso" belongs to invisible actors: it is meant to be all transparent
    if (std::string(s.name) == "Inviso")
      EXPECT_EQ(clear, p.size());
    else if (s.transparent)
      EXPECT_LT(clear, p.size()) << s.name << " pattern " << i << " is empty";
    else
      EXPECT_EQ(clear, 0u) << s.name << " is opaque but has transparent pixels";
    distinct.insert(p);
  }
  // "GAME OVER" has its E twice; every other item's frames all differ
  int expected = std::string(s.name) == "Gameover" ? s.pattern_count - 1 : s.pattern_count;
  EXPECT_EQ(int(distinct.size()), expected) << s.name;
}

TEST_P(PictureFile, NoOpaquePixelLooksLikeAqua) {
  const ImageSpec& s = GetParam();
  if (!s.transparent) return;
  IndexedImage img = load_bmp(s.name);
  // no opaque pixel may carry a colour close to aqua (a fringe)
  for (uint8_t v : img.pixels) {
    if (v == kTransparentIndex) continue;
    const Rgb& c = img.palette[v];
    int dr = c.r, dg = 255 - c.g, db = 255 - c.b;
    ASSERT_GT(dr * dr + dg * dg + db * db, 60 * 60) << s.name;
  }
}

INSTANTIATE_TEST_SUITE_P(All, PictureFile, testing::ValuesIn(all_specs()),
                         [](const testing::TestParamInfo<ImageSpec>& i) {
                           return std::string(i.param.name);
                         });

class WaveFile : public testing::TestWithParam<WaveSpec> {};

TEST_P(WaveFile, MatchesTheCatalogueAndIsAudible) {
  const WaveSpec& s = GetParam();
  EXPECT_TRUE(has_effect(s.name));
  Wave w = load_wav(kData + s.name + ".wav");
  EXPECT_EQ(w.rate, s.rate);
  EXPECT_EQ(w.channels, s.channels);
  EXPECT_EQ(w.bits, 8);
  ASSERT_EQ(int(w.data.size()), s.data_bytes);
  int lo = 255, hi = 0;
  for (uint8_t v : w.data) lo = std::min(lo, int(v)), hi = std::max(hi, int(v));
  EXPECT_GT(hi - lo, 120) << s.name << " is too quiet";
  // starts and ends at rest: no click
  EXPECT_NEAR(w.data.front(), 128, 4);
  EXPECT_NEAR(w.data.back(), 128, 4);
}

INSTANTIATE_TEST_SUITE_P(All, WaveFile, testing::ValuesIn(kWaveCatalogue),
                         [](const testing::TestParamInfo<WaveSpec>& i) {
                           return std::string(i.param.name);
                         });

// Fundamental by autocorrelation over the first 80 ms, refined between lags
// by a parabola through the peak and its neighbours.
double pitch_of(const Wave& w) {
  std::vector<double> x;
  for (size_t i = 0; i < w.data.size() && i < size_t(w.rate * 0.08); ++i) x.push_back(w.data[i] - 128.0);
  auto ac = [&](int lag) {
    double acc = 0;
    for (size_t i = 0; i + size_t(lag) < x.size(); ++i) acc += x[i] * x[i + size_t(lag)];
    return acc;
  };
  int best = 0;
  double bv = -1;
  for (int lag = w.rate / 1200; lag < w.rate / 200; ++lag)
    if (double a = ac(lag); a > bv) bv = a, best = lag;
  double l = ac(best - 1), r = ac(best + 1);
  double shift = 0.5 * (l - r) / (l - 2 * bv + r);
  return double(w.rate) / (best + shift);
}

TEST(Effects, NotesArePitchedAsNamed) {
  struct Case { const char* name; int midi; } cases[] = {
      {"EggSi", 71}, {"EggDo", 72}, {"EggRe", 74}, {"EggMi", 76}, {"EggFa", 77},
      {"EggSo", 79}, {"EggRa", 81}, {"EggHSi", 83}, {"FaceDo", 84}, {"FaceMi", 76},
      {"FaceSo", 79}, {"FaceRa", 81}};
  for (const Case& c : cases) {
    Wave w = load_wav(kData + c.name + ".wav");
    double want = 440.0 * std::pow(2.0, (c.midi - 69) / 12.0);
    EXPECT_NEAR(pitch_of(w) / want, 1.0, 0.03) << c.name;
  }
}

// Samples of an 8-bit wave as signed values (first channel).
std::vector<double> samples(const Wave& w) {
  std::vector<double> x;
  for (size_t i = 0; i < w.data.size(); i += size_t(w.channels)) x.push_back(w.data[i] - 128.0);
  return x;
}

// Best normalised autocorrelation (60 .. 1500 Hz) of a 40 ms window at
// [from, from + win): near 1 for a tone or a voice, low for noise.
double periodicity(const std::vector<double>& x, int rate, size_t from) {
  size_t win = size_t(rate * 0.04);
  double best = 0;
  for (int lag = rate / 1500; lag < rate / 60; ++lag) {
    double a = 0, e1 = 0, e2 = 0;
    for (size_t i = from; i + size_t(lag) < from + win && i + size_t(lag) < x.size(); ++i)
      a += x[i] * x[i + size_t(lag)], e1 += x[i] * x[i], e2 += x[i + size_t(lag)] * x[i + size_t(lag)];
    if (e1 > 0 && e2 > 0) best = std::max(best, a / std::sqrt(e1 * e2));
  }
  return best;
}

size_t loudest_window(const std::vector<double>& x, int rate) {
  size_t win = size_t(rate * 0.04), at = 0;
  double best = -1;
  for (size_t i = 0; i + win <= x.size(); i += win / 2) {
    double e = 0;
    for (size_t k = i; k < i + win; ++k) e += x[k] * x[k];
    if (e > best) best = e, at = i;
  }
  return at;
}

TEST(Effects, ExplosionsAreNoiseAndNotesAreTones) {
  struct Case { const char* name; bool noisy; } cases[] = {
      {"Bomb", true},    {"Bomb2", true},   {"Bomb3", true},  {"HypBomb", true},
      {"Thunder", true}, {"BBasa", true},   {"EggDo", false}, {"FaceMi", false},
      {"GetCoin", false}, {"OhNo", false},  {"TimeCount", false}};
  for (const Case& c : cases) {
    Wave w = load_wav(kData + c.name + ".wav");
    std::vector<double> x = samples(w);
    double p = periodicity(x, w.rate, loudest_window(x, w.rate));
    if (c.noisy)
      EXPECT_LT(p, 0.5) << c.name;
    else
      EXPECT_GT(p, 0.8) << c.name;
  }
}

TEST(Effects, JinglesPlaySeveralNotes) {
  for (const char* name : {"ClearStage", "Gameover", "HiScore", "Fanf", "Ending", "NewHero"}) {
    Wave w = load_wav(kData + name + ".wav");
    std::vector<double> x = samples(w);
    std::set<int> notes;
    size_t hop = size_t(w.rate * 0.06);
    for (size_t at = 0; at + hop < x.size(); at += hop) {
      Wave part = w;
      part.channels = 1;
      part.data.clear();
      for (size_t i = at; i < at + hop; ++i) part.data.push_back(uint8_t(x[i] + 128));
      if (periodicity(x, w.rate, at) < 0.8) continue;
      double f = pitch_of(part);
      notes.insert(int(std::lround(12 * std::log2(f / 440.0))));
    }
    EXPECT_GE(notes.size(), 4u) << name;
  }
}

TEST(Effects, TheTickIsShortAndTheThunderRollsAway) {
  auto energy = [](const std::vector<double>& x, size_t a, size_t b) {
    double e = 0;
    for (size_t i = a; i < b && i < x.size(); ++i) e += x[i] * x[i];
    return e;
  };
  Wave tick = load_wav(kData + "TimeCount.wav");
  std::vector<double> t = samples(tick);
  EXPECT_GT(energy(t, 0, t.size() / 4), 10 * energy(t, t.size() / 2, t.size()));
  Wave thunder = load_wav(kData + "Thunder.wav");
  std::vector<double> th = samples(thunder);
  EXPECT_GT(energy(th, 0, th.size() / 4), 4 * energy(th, th.size() * 3 / 4, th.size()));
  EXPECT_GT(energy(th, th.size() / 4, th.size() / 2), 0.02 * energy(th, 0, th.size() / 4))
      << "the rumble goes on after the crack";
}

TEST(Music, FiveLoopingTracks) {
  for (int n = 1; n <= 5; ++n) {
    std::string path = kSound + "ZRBGM" + std::to_string(n) + ".WAV";
    Wave w = load_wav(path);
    EXPECT_EQ(w.rate, 22050);
    EXPECT_EQ(w.channels, 1);
    ASSERT_EQ(w.bits, 16);
    size_t frames = w.data.size() / 2;
    EXPECT_GE(frames, size_t(60 * 22050)) << path;
    auto at = [&](size_t i) { return int(int16_t(w.data[2 * i] | w.data[2 * i + 1] << 8)); };
    // the jump from the last sample to the first is no bigger than the
    // track's ordinary steps between neighbours
    long sum = 0;
    int peak = 0;
    for (size_t i = 1; i < frames; ++i) sum += std::abs(at(i) - at(i - 1)), peak = std::max(peak, std::abs(at(i)));
    double mean_step = double(sum) / double(frames - 1);
    EXPECT_LE(std::abs(at(0) - at(frames - 1)), 4 * mean_step + 64) << path;
    // and they meet close to silence
    EXPECT_LT(std::abs(at(0)), 1024) << path;
    EXPECT_LT(std::abs(at(frames - 1)), 1024) << path;
    EXPECT_GT(peak, 16000) << path << " is too quiet";
  }
}

TEST(Music, WrittenMelodiesFillTheirEightBars) {
  int written = 0;
  for (int n = 1; n <= 5; ++n)
    for (int steps : written_melody_steps(n))
      if (steps) {
        EXPECT_EQ(steps, 8 * 16) << "track " << n;
        ++written;
      }
  EXPECT_GT(written, 0);
}

TEST(Music, TracksDifferInTempoAndKey) {
  std::set<std::vector<uint8_t>> seen;
  for (int n = 1; n <= 5; ++n) seen.insert(make_track(n).data);
  EXPECT_EQ(seen.size(), 5u);
}

TEST(Determinism, TheBuiltFilesAreWhatTheGeneratorMakesAgain) {
  for (const Picture& p : make_pictures()) {
    std::vector<uint8_t> built;
    ASSERT_TRUE(read_whole_file(kData + p.name + ".bmp", built)) << p.name;
    EXPECT_EQ(built, encode_bmp(p.image)) << p.name;
  }
  for (const NamedWave& w : make_sounds()) {
    std::vector<uint8_t> built;
    ASSERT_TRUE(read_whole_file(kData + w.name + ".wav", built)) << w.name;
    EXPECT_EQ(built, encode_wav(w.wave)) << w.name;
  }
  std::vector<uint8_t> built;
  ASSERT_TRUE(read_whole_file(kSound + "ZRBGM3.WAV", built));
  EXPECT_EQ(built, encode_wav(make_track(3)));
}

TEST(Formats, BmpRoundTripsWithRowPadding) {
  for (int w : {1, 2, 3, 4, 5, 7}) {
    IndexedImage img;
    img.width = w, img.height = 3, img.palette = game_palette();
    for (int i = 0; i < w * 3; ++i) img.pixels.push_back(uint8_t(i * 37));
    std::vector<uint8_t> b = encode_bmp(img);
    EXPECT_EQ(b.size(), 14 + 40 + 1024 + size_t((w + 3) / 4 * 4) * 3);
    IndexedImage back;
    std::string error;
    ASSERT_TRUE(decode_bmp(b, back, error)) << error;
    EXPECT_EQ(back.pixels, img.pixels);
    EXPECT_EQ(back.palette, img.palette);
    // bottom-up: the first stored row is the last picture row
    EXPECT_EQ(b[14 + 40 + 1024], img.pixels[size_t(2 * w)]);
  }
}

TEST(Formats, DecodersRejectBrokenFiles) {
  IndexedImage img;
  img.width = 4, img.height = 4, img.palette = game_palette(), img.pixels.assign(16, 1);
  std::vector<uint8_t> b = encode_bmp(img);
  std::string error;
  IndexedImage out;
  std::vector<uint8_t> cut(b.begin(), b.end() - 5);
  EXPECT_FALSE(decode_bmp(cut, out, error));
  std::vector<uint8_t> tiny(b.begin(), b.begin() + 20);
  EXPECT_FALSE(decode_bmp(tiny, out, error));
  Wave w;
  w.data.assign(101, 128);
  std::vector<uint8_t> wb = encode_wav(w);
  EXPECT_EQ(wb.size() % 2, 0u);  // odd data is padded to a word
  Wave back;
  ASSERT_TRUE(decode_wav(wb, back, error)) << error;
  EXPECT_EQ(back.data.size(), 101u);
  wb[40] = 0xFF;  // data length beyond the file
  EXPECT_FALSE(decode_wav(wb, back, error));
}

TEST(Formats, WritingIntoAFolderThatCannotExistFailsWithAReason) {
  std::string error;
  EXPECT_FALSE(write_data("/proc/zrart-no-such-place", error));
  EXPECT_NE(error.find("/proc/zrart-no-such-place"), std::string::npos) << error;
  EXPECT_FALSE(write_whole_file("/proc/zrart-no-such-place/x.bmp", {1, 2, 3}, error));
  EXPECT_FALSE(error.empty());
}

TEST(OwnPalette, KeepsColoursAndAquaAtTheirPlace) {
  IndexedImage img;
  img.width = 4, img.height = 1, img.palette = game_palette();
  img.pixels = {254, uint8_t(ramp_index(kRed, 5)), uint8_t(ramp_index(kRed, 5)), 0};
  IndexedImage own = img;
  give_own_palette(own);
  EXPECT_EQ(own.palette[254], (Rgb{0, 255, 255}));
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(own.palette[own.pixels[i]], img.palette[img.pixels[i]]);
  EXPECT_EQ(own.pixels[0], 254);
}

TEST(ContactSheet, WritesOnePngPerPictureAndAnIndex) {
  char tmpl[] = "/tmp/zrart-sheet-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  std::vector<Picture> pics;
  pics.push_back(make_picture(kImageCatalogue[0]));
  pics.push_back(make_picture(kSmallBossSpec));
  std::string error;
  ASSERT_TRUE(write_contact_sheets(pics, tmpl, error)) << error;
  for (std::string n : {"Egg", "SMALLBOSS", "index"}) {
    std::vector<uint8_t> b;
    ASSERT_TRUE(read_whole_file(std::string(tmpl) + "/" + n + ".png", b)) << n;
    ASSERT_GT(b.size(), 8u);
    EXPECT_EQ(b[1], 'P');
    EXPECT_EQ(b[2], 'N');
    EXPECT_EQ(b[3], 'G');
    unlink((std::string(tmpl) + "/" + n + ".png").c_str());
  }
  rmdir(tmpl);
}
