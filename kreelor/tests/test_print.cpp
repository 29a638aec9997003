// The printer, help-text layout, spark lines and the graphic scaler.
#include <gtest/gtest.h>

#include "common.h"
#include "kreelor/engine/directx.h"
#include "kreelor/engine/draw.h"
#include "kreelor/engine/print.h"
#include "kreelor/engine/screen.h"
#include "kreelor/game/graphics.h"

using namespace kreelor;

namespace {
constexpr uint16_t G(int i) { return (uint16_t)(0x1000 + i); }

struct Printer : ::testing::Test {
  ktest::Target t{200, 40};
  void SetUp() override {
    ktest::format565();
    ktest::resetboxes();
    // Set 0: 200 glyphs of 4 x 5; set 1 a copy; set 2 for its tight spacing.
    auto s = ktest::testset(200, 4, 5);
    ktest::loadsets({s, s, s});
    initprint();
    ktest::loadsets({s, s, s});
    setcharset(0);
    t.use();
    printmode = 0;
  }
  void TearDown() override { freecharsets(); }
};
}  // namespace

TEST_F(Printer, SetCharsetMeasuresTheSpace) {
  EXPECT_EQ(spacesize, 6);  // width of "1" plus 2
  EXPECT_EQ(printmask, gmask);
  setcharset(9);  // not loaded: set 0
  EXPECT_EQ(charsetno, 0);
  EXPECT_EQ(nochars, 200);
}

TEST_F(Printer, PercentCodes) {
  locate(0, 0);
  print("%%");
  EXPECT_EQ(t.at(0, 0), G('%' - 32));
  EXPECT_EQ(xcursor, 6);
  locate(0, 10);
  print("%q%d", 7);  // %q draws nothing and takes no argument
  EXPECT_EQ(t.at(0, 10), G('7' - 32));
  EXPECT_EQ(xcursor, 6);
  locate(0, 20);
  print("A%gB", 100);
  EXPECT_EQ(t.at(0, 20), G('A' - 32));
  EXPECT_EQ(t.at(6, 20), G(100));
  EXPECT_EQ(t.at(12, 20), G('B' - 32));
  locate(0, 30);
  print("%s|%x", "%d", 5, 255);  // the inner format takes its own argument
  EXPECT_EQ(t.at(0, 30), G('5' - 32));
  EXPECT_EQ(t.at(6, 30), G('|' - 32));
  EXPECT_EQ(t.at(12, 30), G('F' - 32));
  EXPECT_EQ(t.at(18, 30), G('F' - 32));
}

TEST_F(Printer, Styles) {
  struct Case {
    const char* format;
    uint16_t under, expect;
  } cases[] = {
      {"%gX", 0x5555, G(1)},
      {"%c%g%c", 0x5555, 0xABCD},
      {"%h%g%h", 0x5555, (uint16_t)((G(1) >> 1) & 0x7BEF)},
      {"%e%g%e", 0xFFFF, 0x7BEF},
      {"%l%g%l", 0x0000, 0xFFFF},
      {"%a%g%a", 0xF800 | (60 << 5), (uint16_t)(0xF800 | (63 << 5))},  // green saturates, red kept
      {"%a%a%g", 0x5555, G(1)},                                         // toggled twice: normal
      {"%a%c%g", 0x5555, 0x5555},                                       // two styles: nothing
      {"%t%g", 0x5555, 0x5555},
      {"%f%g", 0x5555, 0x5555},
  };
  setprintcolor(0xABCD);
  for (const Case& c : cases) {
    std::fill(t.px.begin(), t.px.end(), c.under);
    printmode = 0;
    locate(0, 0);
    if (std::string(c.format) == "%a%g%a") {
      // a glyph pixel whose green is 7 over a screen green of 60
      auto s = ktest::testset(4, 4, 5, 0, (uint16_t)(7 << 5 | 0x0800));
      ktest::loadsets({s});
      setcharset(0);
    }
    print(c.format, 1);
    EXPECT_EQ(t.at(1, 1), c.expect) << c.format;
    if (std::string(c.format) == "%a%c%g") {
      EXPECT_EQ(xcursor, 0) << "cursor must not move";
    }
    if (std::string(c.format) == "%a%g%a") SetUp();
  }
}

TEST_F(Printer, AdditiveLeavesPixelsWithoutMaskBits) {
  auto s = ktest::testset(4, 4, 5, 0, 0xF800);  // pure red glyph, green print mask
  ktest::loadsets({s});
  setcharset(0);
  std::fill(t.px.begin(), t.px.end(), 0x1234);
  locate(0, 0);
  print("%a%g%a", 1);
  EXPECT_EQ(t.at(0, 0), 0x1234);
}

TEST_F(Printer, ClippingOnAllSides) {
  t.use();
  windowxs = 20, windowys = 10;
  locate(-2, 0);
  print("%g", 3);  // partly left: columns 2 and 3 drawn at x 0 and 1
  EXPECT_EQ(t.at(0, 0), G(3));
  EXPECT_EQ(t.at(1, 0), G(3));
  EXPECT_EQ(t.at(2, 0), 0);
  locate(18, 0);
  print("%g", 4);  // reaches past the right edge: cut at x 20
  EXPECT_EQ(t.at(19, 0), G(4));
  EXPECT_EQ(t.at(20, 0), 0);
  locate(20, 0);
  print("%g", 5);  // starts on the right edge: skipped, the cursor still moves
  EXPECT_EQ(t.at(20, 0), 0);
  EXPECT_EQ(xcursor, 26);
  locate(5, -3);
  print("%g", 6);  // partly above
  EXPECT_EQ(t.at(5, 0), G(6));
  EXPECT_EQ(t.at(5, 2), 0);
  locate(5, 8);
  print("%g", 7);
  EXPECT_EQ(t.at(5, 9), G(7));
  EXPECT_EQ(t.at(5, 10), 0);
  locate(10, 10);
  print("%g", 8);  // below: skipped
  EXPECT_EQ(t.at(10, 10), 0);
  locate(0, 20);
  print("%g%g", 201, -1);  // out of range: nothing, no move
  EXPECT_EQ(xcursor, 0);
}

TEST_F(Printer, SetTwoHasNoExtraSpacing) {
  setcharset(2);
  locate(0, 0);
  print("AB");
  EXPECT_EQ(xcursor, 8);
  EXPECT_EQ(t.at(4, 0), G('B' - 32));
}

TEST_F(Printer, Numbers) {
  locate(0, 0);
  printnum(0, 10);
  EXPECT_EQ(t.at(0, 0), G('0' - 32));
  EXPECT_EQ(xcursor, 6);
  locate(0, 10);
  printnum(-15, 16);
  EXPECT_EQ(t.at(0, 10), G('-' - 32));
  EXPECT_EQ(t.at(6, 10), G('F' - 32));
  EXPECT_EQ(xcursor, 12);
  locate(0, 20);
  print("%b", 5);
  EXPECT_EQ(t.at(0, 20), G('1' - 32));
  EXPECT_EQ(t.at(6, 20), G('0' - 32));
  EXPECT_EQ(t.at(12, 20), G('1' - 32));
  locate(0, 30);
  printnum(INT32_MIN, 10);  // the most negative value prints its digits
  EXPECT_EQ(xcursor, 11 * 6);
}

TEST_F(Printer, GroupedDigitsRightAligned) {
  locate(160, 0);
  printgrp(42);
  EXPECT_EQ(t.at(146, 0), G('2' - 32));
  EXPECT_EQ(t.at(132, 0), G('4' - 32));
  for (int i = 2; i < 11; ++i) EXPECT_EQ(t.at(146 - 14 * i, 0), G('0' - 32)) << i;
  EXPECT_EQ(t.at(160, 0), 0);
  EXPECT_EQ(xcursor, 160);
  EXPECT_EQ(ycursor, 0);
}

TEST_F(Printer, Measures) {
  EXPECT_EQ(getxlen(nullptr), 0);
  EXPECT_EQ(getxlen("AB C\n"), 6 + 6 + 6 + 6);
  EXPECT_EQ(getxsize(0), spacesize);
  EXPECT_EQ(getxsize(300), 0);
  EXPECT_EQ(getysize(300), 0);
  EXPECT_EQ(getysize(1), 5);
  auto s = ktest::testset(60, 4, 5, 3);
  ktest::loadsets({s});
  setcharset(0);
  EXPECT_EQ(getylen("a b"), 8);
  EXPECT_EQ(getylen(" "), 8);  // a space counts as glyph 37
}

TEST_F(Printer, LineBreakingAndJustification) {
  spacesize = 6;
  scrxscale = 40;
  // Words of 12 with spaces of 6: "AA BB" is 30, "AA BB CC" would be 48.
  EXPECT_EQ(getline("AA BB CC DD"), 2);
  EXPECT_EQ(spacing, 6 + (40 - 30) / 1);
  EXPECT_EQ(getline("A B C D E F G"), 3);  // 6, 18, 30; the fourth would make 42
  EXPECT_EQ(spacing, 6 + (40 - 30) / 2);
  EXPECT_EQ(getline("AAAAAAAAAAAAAA"), 1);  // one long word: not justified
  EXPECT_EQ(spacing, 6);
  EXPECT_EQ(getline("AA BB\r\nCC"), 2);  // a paragraph end is not justified
  EXPECT_EQ(spacing, 6);
  EXPECT_EQ(getline("\r\nAA"), 1);
}

TEST_F(Printer, HelpTextShadowAndLines) {
  ktest::Target big(200, 60);
  big.use();
  scrxscale = 170;
  setprintcolor(0);
  showtext("A\r\n\r\nB", 2);
  const uint16_t shadow = (uint16_t)remapcolor(10, 42, 7);
  EXPECT_EQ(big.at(15, 2), G('A' - 32));
  EXPECT_EQ(big.at(19, 1), shadow);  // one row up, two right; covered where the glyph lies
  EXPECT_EQ(big.at(15, 28), G('B' - 32));  // third line: 2 + 13 + 13
  EXPECT_EQ(big.at(15, 15), 0);
  // A long word that does not fit still goes out, one per line, and the text ends.
  showtext("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW WWWW", 2);
  SUCCEED();
}

TEST_F(Printer, NormalTextCells) {
  ktest::Target big(200, 60);
  big.use();
  normaltext("AB\nC D", 2);
  EXPECT_EQ(big.at(3, 2), G('A' - 32));   // centred in a 10-pixel cell: (10 - 4) / 2
  EXPECT_EQ(big.at(11, 2), G('B' - 32));  // the next cell is 8 further
  EXPECT_EQ(big.at(3, 16), G('C' - 32));  // a line feed goes 14 lower, back at the left
  EXPECT_EQ(big.at(19, 16), G('D' - 32));
}

TEST(Sparks, LineFromTenToTwenty) {
  ktest::format565();
  ktest::Target t(40, 40);
  t.use();
  sparkmask = 0x001F;
  xpos1 = 20, ypos1 = 10, xpos2 = 10, ypos2 = 10;  // swapped to run left to right
  thickline(0xFFFF);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(t.at(x, 10) != 0, x >= 10 && x < 20) << x;
  EXPECT_EQ(t.at(12, 10), 1);   // 31 / 16
  EXPECT_EQ(t.at(12, 16), 31);  // full in the middle
  EXPECT_EQ(t.at(12, 23), 1);
  EXPECT_EQ(t.at(12, 24), 0);
  EXPECT_EQ(t.at(12, 9), 0);
  thickline(0xFFFF);  // adds with saturation within the mask
  EXPECT_EQ(t.at(12, 10), 2);
  EXPECT_EQ(t.at(12, 16), 31);
  // Slope: one row per column at most, towards the right end's row.
  std::fill(t.px.begin(), t.px.end(), 0);
  xpos1 = 0, ypos1 = 0, xpos2 = 4, ypos2 = 20;
  thickline(0xFFFF);
  EXPECT_NE(t.at(3, 3 + 6), 0);
  EXPECT_EQ(t.at(3, 2), 0);
  // A band past the surface's edges writes only the pixels inside it.
  std::fill(t.px.begin(), t.px.end(), 0);
  xpos1 = -5, ypos1 = 33, xpos2 = 45, ypos2 = 33;
  thickline(0xFFFF);
  EXPECT_EQ(t.at(0, 39), 31);   // row 33 + 6: the bright middle of the band
  EXPECT_EQ(t.at(39, 33), 1);
  EXPECT_EQ(t.at(20, 32), 0);
}

TEST(Scaler, PictureAtLevelForEachDepth) {
  auto s = ktest::testset(4, 2, 1, 0, 0xF800);
  std::vector<uint8_t> dummy = ktest::testset(1, 1, 1);
  ktest::loadsets({dummy, dummy, dummy, dummy, s});
  initwindows();
  wingraph[0] = 1, winxsize[0] = 4, winysize[0] = 2;
  for (int depth : {16, 24, 32}) {
    if (depth == 16)
      ktest::format565();
    else
      setpixelformat((uint32_t)depth, 0xFF0000, 0x00FF00, 0x0000FF);
    const int bytes = depth / 8;
    std::vector<uint8_t> buf(4 * 2 * bytes, 0xAA);
    screen1 = buf.data(), screenpitch = 4 * bytes, screenxs = 4, screenys = 2;
    remapsizegraphic(0, 65536);
    uint32_t v = 0;
    for (int k = 0; k < bytes; ++k) v |= (uint32_t)buf[(size_t)(3 + 4) * bytes + k] << (8 * k);
    EXPECT_EQ(v, depth == 16 ? 0xF800u : 0xF80000u) << depth;
    remapsizegraphic(0, 32768);
    v = 0;
    for (int k = 0; k < bytes; ++k) v |= (uint32_t)buf[k] << (8 * k);
    EXPECT_EQ(v, depth == 16 ? (15u << 11) : (124u << 16)) << depth;
  }
  freecharsets();
}

TEST(Charsets, RemapUsesThePaletteRuleOnce) {
  auto s = ktest::testset(2, 1, 1, 0, 0x0020);
  ktest::loadsets({s});
  ktest::format555();
  remapcharsets();
  glyph_t g;
  ASSERT_TRUE(getglyph(0, 1, g));
  EXPECT_EQ(g.pixels[0], 1);  // non-black that converts to 0 stays visible
  remapcharsets();
  EXPECT_EQ(g.pixels[0], 1);
  freecharsets();
}

// The generated fonts fit the places the game screens print them at.
TEST(Charsets, GeneratedFontsFitTheScreens) {
  ktest::format565();
  freecharsets();
  const std::string dir = KREELOR_DATA;
  for (int i = 1; i <= 6; ++i) loadcharset((dir + "/kreel" + std::to_string(i) + ".chr").c_str());
  ASSERT_EQ(nocharsets, 6);
  // Ink extent of a text printed at (x, y) into a cleared 640 x 120 target.
  struct Ink {
    int x0 = 9999, y0 = 9999, x1 = -1, y1 = -1;
  };
  auto ink = [](int set, const char* text, int x, int y) {
    ktest::Target t(640, 120);
    t.use();
    setcharset(set);
    printmode = 0;
    locate(x, y);
    print("%s", text);
    Ink k;
    for (int yy = 0; yy < t.h; ++yy)
      for (int xx = 0; xx < t.w; ++xx)
        if (t.at(xx, yy)) k.x0 = std::min(k.x0, xx), k.y0 = std::min(k.y0, yy), k.x1 = std::max(k.x1, xx + 1), k.y1 = std::max(k.y1, yy + 1);
    return k;
  };
  struct Case {
    int set;
    const char* text;
    int left;  // printed this far left of the centre (320)
  } centred[] = {{1, "GAME OVER", 165}, {2, "Press ESC for options", 107}};
  for (auto& c : centred) {
    Ink k = ink(c.set, c.text, 320 - c.left, 20);
    EXPECT_NEAR((k.x0 + k.x1) / 2, 320, 12) << c.text;
  }
  // Menu lines in set 1 stand 36 pixels apart: each is sized to its text.
  for (const char* line : {"START NEW GAME", "CONTINUE GAME", "CONTROL SETUP", "SOUND SETUP", "INSTRUCTIONS",
                           "CREDITS", "EXIT GAME"}) {
    setcharset(1);
    EXPECT_LE(getylen(line), 36) << line;
    EXPECT_LE(getxlen(line), 600) << line;
    Ink k = ink(1, line, 0, 0);
    EXPECT_GE(k.y0, 0);
    EXPECT_LE(k.y1, getylen(line)) << line;
  }
  // Values print in set 0 at (width - 4, -4): the digits stay whole.
  setcharset(0);
  for (int d = 0; d <= 9; ++d) EXPECT_GE(getylen(std::to_string(d).c_str()) - getysize('0' - 32 + d), 4) << d;
  freecharsets();
}
