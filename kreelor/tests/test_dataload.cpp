// Loaders: texture library, models, sound library, help text, character sets.
#include <gtest/gtest.h>

#include <cstring>

#include "common.h"
#include "kreelor/engine/dataload.h"
#include "kreelor/engine/directx.h"
#include "kreelor/engine/print.h"

using namespace kreelor;

namespace {

struct Bytes {
  std::vector<uint8_t> b;
  Bytes& u16(int v) {
    b.push_back((uint8_t)v), b.push_back((uint8_t)(v >> 8));
    return *this;
  }
  Bytes& u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back((uint8_t)(v >> (8 * i)));
    return *this;
  }
  Bytes& str(const char* s) {
    b.insert(b.end(), s, s + std::strlen(s));
    return *this;
  }
  Bytes& raw(const std::vector<uint8_t>& v) {
    b.insert(b.end(), v.begin(), v.end());
    return *this;
  }
};

std::vector<uint8_t> texturelib(int count, uint16_t palvalue, bool trailer = true) {
  Bytes f;
  f.u32((uint32_t)count);
  for (int t = 0; t < count; ++t) {
    for (int e = 0; e < 32768; ++e) f.u16(palvalue);
    for (int row = 0; row < 256; ++row)
      for (int u = 0; u < 256; ++u) f.b.push_back((uint8_t)(row + t));
  }
  if (trailer) f.u32(0);
  return f.b;
}

struct Poly {
  std::vector<int> idx;
  int face, tex, refl, colour;
};
std::vector<uint8_t> model(int points, const std::vector<Poly>& polys) {
  Bytes f;
  f.u16(points);
  for (int i = 0; i < points; ++i) f.u16(i * 10).u16(-i).u16(i * 3);
  f.u16((int)polys.size());
  for (const Poly& p : polys) {
    f.u16((int)p.idx.size());
    for (int i : p.idx) f.u16(i);
    int pairs = p.idx.size() > 3 ? 4 : 3;
    for (int k = 0; k < pairs; ++k) f.u16(k * 64).u16(k * 32 + 1);
    f.u16(p.face).u16(p.tex).u16(p.refl).u16(p.colour);
  }
  return f.b;
}

std::vector<uint8_t> wave(bool fmtfirst, int fmtsize = 16, const char* riff = "RIFF", const char* wav = "WAVE") {
  Bytes fmt, data, all;
  fmt.str("fmt ").u32((uint32_t)fmtsize);
  for (int i = 0; i < fmtsize; ++i) fmt.b.push_back((uint8_t)(i + 1));
  data.str("data").u32(3).str("abc").b.push_back(0);  // padded to an even length
  Bytes list;
  list.str("LIST").u32(4).str("INFO");
  Bytes body;
  body.str(wav).raw(list.b);
  if (fmtfirst)
    body.raw(fmt.b).raw(data.b);
  else
    body.raw(data.b).raw(fmt.b);
  all.str(riff).u32((uint32_t)body.b.size()).raw(body.b);
  return all.b;
}

std::vector<uint8_t> soundlib(const std::vector<std::pair<uint32_t, std::vector<uint8_t>>>& waves) {
  Bytes f;
  f.u32((uint32_t)waves.size());
  uint32_t at = 4 + 8 * (uint32_t)waves.size();
  for (auto& w : waves) {
    f.u32(w.first).u32(at);
    at += (uint32_t)w.second.size();
  }
  for (auto& w : waves) f.raw(w.second);
  return f.b;
}

struct Loaders : ::testing::Test {
  void SetUp() override {
    ktest::format565();
    ktest::resetboxes();
    freetextures();
    clearmodels();
    freesounds();
  }
};

}  // namespace

TEST_F(Loaders, TextureCountZeroLoadsNothingWithoutError) {
  loadtext(ktest::writetemp("zero.tlb", texturelib(0, 0)).c_str());
  EXPECT_EQ(notext, 0);
  EXPECT_TRUE(ktest::boxes.empty());
}

TEST_F(Loaders, TexturesLoadAndRemapOnce) {
  loadtext(ktest::writetemp("two.tlb", texturelib(2, 0xFFFF)).c_str());
  ASSERT_EQ(notext, 2);
  EXPECT_TRUE(ktest::boxes.empty());
  EXPECT_EQ(textures[1][TEXELOFFSET + 0], 1);  // file row 0 (bottom) of texture 1
  remaptextures();
  const uint16_t* pal = reinterpret_cast<const uint16_t*>(textures[0]);
  EXPECT_EQ(pal[0], 0xFFFF);
  EXPECT_EQ(textures[1][TEXELOFFSET + 0], (uint8_t)(255 + 1));  // rows turned: top first
  EXPECT_EQ(textures[1][TEXELOFFSET + 255 * 256], 1);
  remaptextures();  // a second call changes nothing
  EXPECT_EQ(textures[1][TEXELOFFSET + 0], (uint8_t)(255 + 1));
}

TEST_F(Loaders, TextureErrors) {
  loadtext((ktest::tempdir() + "/missing.tlb").c_str());
  EXPECT_NE(ktest::onebox().find("Kreelor|Error Reading Texture File\n\n"), std::string::npos);
  ktest::resetboxes();
  auto cut = texturelib(2, 1);
  cut.resize(4 + 131072 + 100);
  loadtext(ktest::writetemp("cut.tlb", cut).c_str());
  EXPECT_EQ(notext, 1);
  EXPECT_NE(ktest::onebox().find("Error Reading File"), std::string::npos);
}

TEST_F(Loaders, PaletteRuleGainAndZeroToOne) {
  ktest::format565();
  EXPECT_EQ(palettecolour(0), 0);
  EXPECT_EQ(palettecolour(0xFFFF), 0xFFFF);
  EXPECT_EQ(palettecolour(0x8000), (uint16_t)(((128 * 280 >> 8) * 32 >> 8) << 11));
  ktest::format555();
  // g6 = 1 is 4 at 8 bits and 0 at 5-bit green: stored as 1, never the colour key.
  EXPECT_EQ(palettecolour(0x0020), 1);
  EXPECT_EQ(modelcolour(0x0020), 0);
  EXPECT_EQ(palettecolour(0xFFFF), 0x7FFF);
  EXPECT_EQ(modelcolour(0xFFFF), 0x7FFF);
  EXPECT_EQ(modelcolour(0x0841), 0x0421);  // no gain: the lowest levels stay low
}

TEST_F(Loaders, ModelPairsIndexRuleAndThreeCopies) {
  loadtext(ktest::writetemp("one.tlb", texturelib(1, 5)).c_str());
  const std::string path = ktest::writetemp(
      "m.3do", model(5, {{{0, 1, 2}, 3, 0, 1, 0xF800}, {{1, 2, 3, 4}, 0x12, 1, 0, 0x001F}}));
  for (int i = 0; i < 3; ++i) loadmodel(path.c_str());
  ASSERT_TRUE(ktest::boxes.empty()) << ktest::onebox();
  ASSERT_EQ(nomodels, 3);
  for (int m = 0; m < 3; ++m) {
    EXPECT_EQ(modelpos[m], 5 * m);
    EXPECT_EQ(modelpnts[m], 5);
    EXPECT_EQ(modelpolypos[m], 2 * m);
    EXPECT_EQ(modelpolys[m], 2);
    EXPECT_EQ(modeldefs[m], 7);
    EXPECT_EQ(modelflags[m], 0);
  }
  EXPECT_EQ(notextpoints, 3 * 7);  // 3 pairs for the triangle, exactly 4 for the quad
  EXPECT_EQ(mtextdef[1], 3);
  EXPECT_EQ(textxoffset[4], 64);
  EXPECT_EQ(textyoffset[6], 97);
  EXPECT_EQ(surface[0], 0x83);
  EXPECT_EQ(surface[1], 0x92);
  EXPECT_EQ(texture[0], textures[0]);
  EXPECT_EQ(reflect[0], textures[0]);  // index 1 == notext: replaced by 0
  EXPECT_EQ(texture[1], textures[0]);
  EXPECT_EQ(colours[0], 0xF800);
  EXPECT_EQ(mpolypnts[1], 4);
  EXPECT_EQ(mpolydef[3][0], 1);  // relative point numbers of the second copy
  EXPECT_EQ(mpolydef[3] - modelpoints, 10);
  EXPECT_EQ(ypoint[5 + 2], -2);
  freetextures();
}

TEST_F(Loaders, ModelErrorsLeaveTheTableUnchanged) {
  loadmodel((ktest::tempdir() + "/none.3do").c_str());
  EXPECT_NE(ktest::onebox().find("Error Reading Model File"), std::string::npos);
  ktest::resetboxes();
  loadmodel(ktest::writetemp("bad.3do", model(3, {{{0, 1, 7}, 1, 0, 0, 0}})).c_str());
  EXPECT_NE(ktest::onebox().find("Error Reading Model File"), std::string::npos);
  EXPECT_EQ(nomodels, 0);
  EXPECT_EQ(nomodelpoints, 0);
  ktest::resetboxes();
  auto cut = model(3, {{{0, 1, 2}, 1, 0, 0, 0}});
  cut.resize(cut.size() - 3);
  loadmodel(ktest::writetemp("cut.3do", cut).c_str());
  EXPECT_NE(ktest::onebox().find("Error Reading File"), std::string::npos);
  EXPECT_EQ(nomodels, 0);
}

TEST_F(Loaders, WaveLookupInAnyChunkOrder) {
  auto lib = soundlib({{1, wave(true)}, {0, wave(false)}});
  ASSERT_EQ(loadsounds(ktest::writetemp("k.slb", lib).c_str()), 1);
  for (int n = 0; n < 2; ++n) {
    int32_t type = -1;
    const uint8_t *fmt = nullptr, *data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(getwave(n, &type, &fmt, &data, &size), 1) << n;
    EXPECT_EQ(type, n == 0 ? 1 : 0);
    EXPECT_EQ(fmt[0], 1);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::memcmp(data, "abc", 3), 0);
  }
  int32_t type = 7;
  const uint8_t* fmt = reinterpret_cast<const uint8_t*>(1);
  EXPECT_EQ(getwave(2, &type, &fmt, nullptr, nullptr), 0);  // not below the count: nothing
  EXPECT_EQ(fmt, nullptr);
  EXPECT_EQ(type, 0);
  EXPECT_TRUE(ktest::boxes.empty());
}

TEST_F(Loaders, WaveFormatErrors) {
  struct Case {
    std::vector<uint8_t> w;
    const char* message;
  } cases[] = {{wave(true, 16, "RIFX"), "Error Not A Valid RIFF File"},
               {wave(true, 16, "RIFF", "WAVX"), "Error Not A Valid WAVE File"},
               {wave(true, 12), "Error Invalid Sound File"}};
  for (auto& c : cases) {
    ktest::resetboxes();
    ASSERT_EQ(loadsounds(ktest::writetemp("e.slb", soundlib({{0, c.w}})).c_str()), 1);
    const uint8_t* fmt;
    EXPECT_EQ(getwave(0, nullptr, &fmt, nullptr, nullptr), 0);
    EXPECT_NE(ktest::onebox().find(c.message), std::string::npos) << c.message;
  }
  // A chunk that claims more bytes than the library holds is refused, never read.
  auto lib = soundlib({{0, wave(true)}});
  lib[4 + 8 + 12 + 12 + 4] = 0xFF;  // the size of the chunk after LIST
  ktest::resetboxes();
  ASSERT_EQ(loadsounds(ktest::writetemp("big.slb", lib).c_str()), 1);
  const uint8_t* data;
  EXPECT_EQ(getwave(0, nullptr, nullptr, &data, nullptr), 0);
  EXPECT_NE(ktest::onebox().find("Error Invalid Sound File"), std::string::npos);
  ktest::resetboxes();
  EXPECT_EQ(loadsounds((ktest::tempdir() + "/no.slb").c_str()), 0);
  EXPECT_NE(ktest::onebox().find("Error Reading Sounds"), std::string::npos);
}

TEST_F(Loaders, HelpTextEndsWithZero) {
  std::vector<uint8_t> text = {'H', 'i', '\r', '\n'};
  char* help = loadhelp(ktest::writetemp("h.txt", text).c_str());
  ASSERT_NE(help, nullptr);
  EXPECT_STREQ(help, "Hi\r\n");
  freehelp(help);
  EXPECT_EQ(loadhelp((ktest::tempdir() + "/none.txt").c_str()), nullptr);
  EXPECT_NE(ktest::onebox().find("Error Reading Help File"), std::string::npos);
}

TEST_F(Loaders, CharacterSetsMissingSkippedCorruptRefused) {
  freecharsets();
  loadcharset((ktest::tempdir() + "/none.chr").c_str());
  EXPECT_EQ(nocharsets, 0);
  EXPECT_TRUE(ktest::boxes.empty());
  auto set = ktest::testset(3, 2, 2);
  loadcharset(ktest::writetemp("ok.chr", set).c_str());
  EXPECT_EQ(nocharsets, 1);
  set.resize(set.size() - 1);  // the last glyph runs past the end
  loadcharset(ktest::writetemp("cut.chr", set).c_str());
  EXPECT_EQ(nocharsets, 1);
  EXPECT_NE(ktest::onebox().find("Error Reading File"), std::string::npos);
  freecharsets();
}

TEST_F(Loaders, GeneratedSetsAndHelpText) {
  freecharsets();
  const std::string dir = KREELOR_DATA;
  for (int i = 1; i <= 6; ++i) loadcharset((dir + "/kreel" + std::to_string(i) + ".chr").c_str());
  ASSERT_EQ(nocharsets, 6);
  EXPECT_TRUE(ktest::boxes.empty());
  glyph_t g;
  EXPECT_TRUE(getglyph(0, 134, g));
  EXPECT_TRUE(getglyph(0, 135, g));
  EXPECT_TRUE(getglyph(0, 94, g) && getglyph(0, 95, g));
  for (int pic : {14, 15, 17, 18, 19, 20, 21}) EXPECT_TRUE(getglyph(4, pic, g)) << pic;
  ASSERT_TRUE(getglyph(4, 22, g));
  EXPECT_EQ(g.width, 640);
  for (int pic = 23; pic <= 30; ++pic) {
    ASSERT_TRUE(getglyph(4, pic, g));
    EXPECT_EQ(g.width, 640);
    EXPECT_EQ(g.height, 340);
  }
  EXPECT_TRUE(getglyph(5, 47, g));
  ASSERT_TRUE(getglyph(5, 65, g));
  EXPECT_EQ(g.framew, 64);
  for (int s = 1; s <= 3; ++s) EXPECT_TRUE(getglyph(s, 'Z' - 32, g));
  char* help = loadhelp((dir + "/kreel.txt").c_str());
  ASSERT_NE(help, nullptr);
  EXPECT_NE(std::strstr(help, "CONTROLS\r\n"), nullptr);
  EXPECT_NE(std::strstr(help, "SCORING"), nullptr);
  freehelp(help);
  freecharsets();
}

TEST_F(Loaders, FileHelpers) {
  const std::string name = ktest::writetemp("helpers.bin", {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(openread((ktest::tempdir() + "/none.bin").c_str()), nullptr);
  EXPECT_TRUE(ktest::boxes.empty());  // opening shows nothing itself
  std::FILE* f = openread(name.c_str());
  ASSERT_NE(f, nullptr);
  uint8_t buf[8] = {};
  EXPECT_EQ(fileread(f, 2, buf), 1);
  EXPECT_EQ(filesize(f), 6);
  EXPECT_EQ(fileread(f, 2, buf), 1);  // the position was kept
  EXPECT_EQ(buf[0], 3);
  EXPECT_EQ(fileread(f, 3, buf), 0);  // only 2 bytes are left
  EXPECT_EQ(ktest::onebox(), "Kreelor|Error Reading File\n\nThis Program Requires DirectX 7 Or Higher|stop");
  ktest::resetboxes();
  EXPECT_EQ(filewrite(f, 2, buf), 0);  // a handle opened for reading cannot write
  EXPECT_EQ(ktest::onebox(), "Kreelor|Error Writing To File\n\nThis Program Requires DirectX 7 Or Higher|stop");
  fileclose(f);
  ktest::resetboxes();
  f = openwrite((ktest::tempdir() + "/written.bin").c_str());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(filewrite(f, 6, buf), 1);
  fileclose(f);
  EXPECT_TRUE(ktest::boxes.empty());
}
