#include <gtest/gtest.h>

#include "zubroll/shell/Lkuptabl.h"
#include "zubroll/shell/Stringhl.h"
#include "zubroll/shell/gamestate.h"

using namespace zubroll;

TEST(GameState, RandomSequenceForKnownSeeds) {
  RandSeed = 0;
  const int expected[10] = {0, 3, 86, 20, 27, 67, 31, 16, 37, 42};
  for (int e : expected) EXPECT_EQ(random(100), e);
  RandSeed = 12345;
  const int expected2[5] = {385, 289, 79, 553, 633};
  for (int e : expected2) EXPECT_EQ(random(1000), e);
  EXPECT_EQ(RandSeed, 2721613530u);
}

TEST(GameState, RandomStaysInRangeAndSeedsFromTimeOfDay) {
  RandomizeFrom(((13 * 60 + 5) * 60 + 7) * 1000 + 250);
  EXPECT_EQ(RandSeed, uint32_t(((13 * 60 + 5) * 60 + 7) * 1000 + 250));
  for (int i = 0; i < 1000; ++i) {
    const int v = random(5);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 5);
  }
  EXPECT_EQ(random(1), 0);
}

TEST(GameState, LookupTableRoundsHalfAwayFromZero) {
  TLookupTable t;
  struct Case { int d, sin, cos, atan; };
  const Case cases[] = {{0, 0, 1000, 0},     {30, 500, 866, 482},    {45, 707, 707, 666},
                        {60, 866, 500, 808}, {90, 1000, 0, 1004},    {120, 866, -500, 1125},
                        {180, 0, -1000, 1263}, {270, -1000, 0, 1362}, {360, 0, 1000, 1413}};
  for (const Case& c : cases) {
    EXPECT_EQ(t.SinTable[c.d], c.sin) << c.d;
    EXPECT_EQ(t.CosTable[c.d], c.cos) << c.d;
    EXPECT_EQ(t.AtanTable[c.d], c.atan) << c.d;
  }
  EXPECT_EQ(t.AtanTable[1], 17);
  EXPECT_EQ(RoundHalfAway(2.5), 3);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
  EXPECT_EQ(RoundHalfAway(-2.4), -2);
}

TEST(GameState, StarAndEggFallTables) {
  ASSERT_TRUE(AllocateGameRec());
  TLookupTable t;
  FillStarTable(*GameRec, t);
  FillEggFallTable(*GameRec);
  EXPECT_EQ(GameRec->StarTableSin[10][90], 10000);
  EXPECT_EQ(GameRec->StarTableCos[39][180], -39000);
  EXPECT_EQ(GameRec->StarTableSin[0][45], 0);
  EXPECT_EQ(GameRec->EggFallTable[0], 0);
  EXPECT_EQ(GameRec->EggFallTable[4], 16000 - 32000);
  EXPECT_EQ(GameRec->EggFallTable[50], 2500000 - 400000);
  FreeGameRec();
  EXPECT_EQ(GameRec, nullptr);
}

TEST(GameState, SharedBlocksAreAllocatedTogetherAndZeroed) {
  ASSERT_TRUE(AllocateSharedBlocks());
  ASSERT_NE(SettingRec, nullptr);
  ASSERT_NE(RecoveryRec, nullptr);
  ASSERT_NE(StageSet, nullptr);
  ASSERT_NE(ReplayRec, nullptr);
  ASSERT_NE(HiScoreRec, nullptr);
  EXPECT_EQ(ReplayRec->Slots[0], 0);
  EXPECT_EQ(StageSet->Cell(31, 13, 33), 0);
  StageSet->Cell(1, 2, 3) = 7;
  EXPECT_EQ(StageSet->Cells[476 + 68 + 3], 7);
  FreeSharedBlocks();
  EXPECT_EQ(SettingRec, nullptr);
  EXPECT_EQ(HiScoreRec, nullptr);
}

TEST(GameState, ShortStringKeepsAtMost255Characters) {
  ShortString s;
  s.set(std::string(300, 'x'));
  EXPECT_EQ(s.len, 255);
  EXPECT_EQ(s.str().size(), 255u);
  s.set("EDIT.EGG");
  EXPECT_EQ(s.str(), "EDIT.EGG");
  EXPECT_EQ(s.chars[8], 0);
}

TEST(GameState, StartValuesOfTheLooseGlobals) {
  GameState = 3;
  ShownScore = 5;
  PauseTitleText = "x";
  ResetLooseGlobals();
  EXPECT_EQ(GameState, 30);
  EXPECT_EQ(ShownScore, -1);
  EXPECT_EQ(NextExtraLife, 100000);
  EXPECT_EQ(FpsAverage, 30);
  EXPECT_EQ(FramePeriod, 33);
  EXPECT_EQ(SpeedUnit, 4096);
  EXPECT_EQ(PauseTitleText, "[Pause]");
}

TEST(GameState, HighScoreWeights) {
  const TStringHolder& h = HiSumString();
  ASSERT_EQ(h.Count(), 20);
  EXPECT_EQ(h.AsInt(0), 57);
  EXPECT_EQ(h.AsInt(8), 5);
  EXPECT_EQ(h.AsInt(19), 58);
  EXPECT_EQ(h.AsInt(20), 0);
}
