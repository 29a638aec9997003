// Score step, extra lives, roulette, bonus state, pop-ups, lamps, letters, tally, coins, boards.
#include <gtest/gtest.h>

#include "zubroll/play/Devadiv.h"
#include "zubroll/play/PlayWorld.h"
#include "zubroll/play/Point.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {
namespace {

class PlayScore : public ::testing::Test {
 protected:
  void SetUp() override { GameState = 3; }
  template <class T>
  std::vector<T*> All() {
    std::vector<T*> v;
    ForEachActor<T>([&](T* a) { v.push_back(a); });
    return v;
  }
  TPlayWorld w;
};

TEST_F(PlayScore, ExtraLifeAboveNotAt100000) {
  GameRec->Lives = 2;
  Score = 100000;
  ScoreStep();
  EXPECT_EQ(GameRec->Lives, 2);
  Score = 100001;
  ScoreStep();
  EXPECT_EQ(GameRec->Lives, 3);
  EXPECT_EQ(NextExtraLife, 200000);
  EXPECT_TRUE(w.Played("Special"));
  EXPECT_TRUE(LifeIcon(2)->Visible);
  EXPECT_FALSE(LifeIcon(3)->Visible);
}

TEST_F(PlayScore, NewHeroSoundsOncePerGame) {
  GameRec->HighScoreToBeat = 500;
  Score = 501;
  ScoreStep();
  Score = 900;
  ScoreStep();
  EXPECT_EQ(std::count(w.Sounds.begin(), w.Sounds.end(), "NewHero"), 1);
  EXPECT_EQ(GameRec->HighScoreToBeat, 1000000000);
}

TEST_F(PlayScore, DigitsShowTheScoreWithoutLeadingZeros) {
  Score = 30405;
  ScoreStep();
  const int want[8] = {5, 0, 4, 0, 3, -1, -1, -1};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(ScoreDigit(i)->Visible, want[i] >= 0) << i;
    if (want[i] >= 0) EXPECT_EQ(ScoreDigit(i)->AnimPos, want[i]) << i;
  }
  Score = 0;
  ScoreStep();
  EXPECT_TRUE(ScoreDigit(0)->Visible);
  EXPECT_FALSE(ScoreDigit(1)->Visible);
  EXPECT_EQ(ShownScore, 0);
}

TEST_F(PlayScore, SecondSpinStartsOnlyAfterTheFlash) {
  RoulettePending = 2;
  RouletteStep();
  EXPECT_EQ(RoulettePending, 1);
  ASSERT_GE(RouletteTimer, 60);
  int frames = 1;
  while (RouletteTimer != 1) {
    RouletteStep();
    ++frames;
    ASSERT_LT(frames, 200);
  }
  EXPECT_EQ(RoulettePending, 1);  // still owed while the prize flashes
  for (int f = 0; f < 13; ++f) {
    EXPECT_EQ(RoulettePending, 1);
    RouletteStep();
  }
  EXPECT_EQ(RouletteTimer, 0);
  RouletteStep();
  EXPECT_EQ(RoulettePending, 0);
  EXPECT_GE(RouletteTimer, 60);
}

TEST_F(PlayScore, PrizeOutsidePlayWaits25FramesAtATime) {
  RouletteSlot = 9;
  RouletteTimer = 3;
  GameState = 7;
  RouletteStep();  // 3 -> 2, slot 10
  EXPECT_EQ(RouletteSlot, 10);
  RouletteStep();  // 2: not in play
  EXPECT_EQ(RouletteTimer, 25);
  EXPECT_EQ(BigTime, 0);
  for (int f = 0; f < 23; ++f) RouletteStep();
  EXPECT_EQ(RouletteTimer, 2);
  EXPECT_EQ(RouletteSlot, 9);  // the wheel kept turning while the prize waited
  GameState = 3;
  Score = 0;
  RouletteStep();
  EXPECT_EQ(RouletteTimer, 1);
  EXPECT_EQ(Score, 10000);
  EXPECT_TRUE(w.Played("Get10k"));
}

struct PrizeCase {
  int slot, score;
  const char* sound;
};
class PlayPrizes : public PlayScore, public ::testing::WithParamInterface<PrizeCase> {};
TEST_P(PlayPrizes, SlotPaysItsPrize) {
  Score = 0;
  PayPrize(GetParam().slot);
  EXPECT_EQ(Score, GetParam().score);
  EXPECT_TRUE(w.Played(GetParam().sound));
}
INSTANTIATE_TEST_SUITE_P(Slots, PlayPrizes,
                         ::testing::Values(PrizeCase{1, 5000, "GetCoin"}, PrizeCase{3, 1000, "GetCoin"},
                                           PrizeCase{9, 10000, "Get10k"}, PrizeCase{6, 0, "Bcstart"},
                                           PrizeCase{4, 0, "SlowButa"}, PrizeCase{8, 0, "HypButa"},
                                           PrizeCase{2, 0, "EnterKanban"}, PrizeCase{0, 0, "LitExtra"},
                                           PrizeCase{10, 0, "Dekazub1"}));

TEST_F(PlayScore, TriggersLastOneFrameAndCoinRainDropsCoins) {
  PayPrize(8);
  EXPECT_TRUE(HyperTrigger);
  RouletteStep();
  EXPECT_FALSE(HyperTrigger);
  PayPrize(6);
  for (int f = 0; f < 150; ++f) RouletteStep();
  EXPECT_EQ(CoinRainTime, 0);
  EXPECT_GT(All<TBCoinSprite>().size(), 5u);
  for (TBCoinSprite* c : All<TBCoinSprite>()) {
    EXPECT_EQ((int(c->X) - 16) % 16, 0);
    EXPECT_EQ(c->Y, -16);
  }
}

TEST_F(PlayScore, SnapshotAndRestore) {
  SetLiveBonusState({3, 2, 5, 0, 0});
  RouletteStep();
  EXPECT_EQ(RouletteSnapshot, (TBonusState{3, 2, 5, 0, 0}));
  SetLiveBonusState({7, 1, 1, 0, 0});
  RouletteRestore = true;
  RouletteStep();
  EXPECT_EQ(LiveBonusState(), (TBonusState{3, 2, 5, 0, 0}));
  EXPECT_FALSE(RouletteRestore);
  SaveBonusState();
  SetLiveBonusState({0, 4, 9, 0, 0});
  RestoreBonusState();
  EXPECT_EQ(LiveBonusState(), (TBonusState{3, 2, 5, 0, 0}));
  EXPECT_EQ(ExtraLetter(1)->Counter, 20);
  EXPECT_EQ(ExtraLetter(2)->Counter, 0);
  EXPECT_EQ(ChickLamp(4)->LampState, 9);
  EXPECT_EQ(ChickLamp(5)->LampState, 0);
}

TEST_F(PlayScore, RouletteStopsOnTheTitleAndAfterGameOver) {
  for (int state : {31, 40, 41}) {
    GameState = state;
    RoulettePending = 2;
    RouletteTimer = 30;
    RouletteStep();
    EXPECT_EQ(RouletteTimer, 0);
    EXPECT_EQ(RoulettePending, 0);
  }
}

TEST_F(PlayScore, TwelfthChickStartsASpin) {
  for (int i = 0; i < 11; ++i) LightChickLamp();
  EXPECT_EQ(ChickLampCount, 11);
  EXPECT_EQ(ChickLamp(10)->LampState, 10);
  LightChickLamp();
  EXPECT_EQ(ChickLampCount, 0);
  EXPECT_EQ(RoulettePending, 1);
  EXPECT_EQ(ChickLamp(11)->LampState, 8);
  for (int f = 0; f < 8; ++f) ChickLamp(0)->DoMove(1);
  EXPECT_EQ(ChickLamp(0)->LampState, 0);
}

TEST_F(PlayScore, FifthExtraLetterGivesALife) {
  GameRec->Lives = 1;
  for (int i = 0; i < 4; ++i) LightExtraLetter();
  EXPECT_EQ(ExtraLetters, 4);
  EXPECT_EQ(ExtraLetter(3)->Counter, 26);
  EXPECT_EQ(ExtraLetter(0)->Counter, 20);
  LightExtraLetter();
  EXPECT_EQ(ExtraLetters, 0);
  EXPECT_EQ(GameRec->Lives, 2);
  EXPECT_EQ(Score, 10000);
  EXPECT_EQ(ExtraLetter(0)->Counter, 18);
  EXPECT_EQ(ExtraLetter(1)->Counter, 19);
}

struct TallyCase {
  int stage;
  std::vector<int> patterns;  // from the right; the rest hidden
};
class PlayTally : public PlayScore, public ::testing::WithParamInterface<TallyCase> {};
TEST_P(PlayTally, IconsCountTheStage) {
  ShowStageTally(GetParam().stage);
  const auto& p = GetParam().patterns;
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(TallyIcon(i)->Visible, i < int(p.size())) << i;
    if (i < int(p.size())) EXPECT_EQ(TallyIcon(i)->AnimPos, p[size_t(i)]) << i;
  }
}
INSTANTIATE_TEST_SUITE_P(Stages, PlayTally,
                         ::testing::Values(TallyCase{0, {0}}, TallyCase{4, {1}}, TallyCase{6, {0, 0, 1}},
                                           TallyCase{10, {0, 2}}, TallyCase{27, {0, 0, 0, 1, 2, 2}},
                                           TallyCase{150, {0, 0, 0, 0, 1, 2, 2, 2, 2, 2}}));

TEST_F(PlayScore, PopUpClampsAndShifts) {
  ShowPoints(12345, 100, 50, 0, 1, 0);
  auto digits = All<TPointSprite>();
  ASSERT_EQ(digits.size(), 4u);
  for (TPointSprite* d : digits) EXPECT_EQ(d->Symbol, 9);
  EXPECT_EQ(digits[0]->X, 124);  // units digit at X + 24
  for (TPointSprite* d : digits) d->Dead();
  w.Engine.Dead();
  ShowPoints(50, 350, 50, 1, 12, 1);
  auto all = All<TPointSprite>();
  ASSERT_EQ(all.size(), 5u);  // two digits, times sign, two multiplier digits
  EXPECT_EQ(all[0]->X, 350 + 8 - 16);
  EXPECT_EQ(all[0]->AnimPos, 0 + 10);
  EXPECT_EQ(all[2]->X, 350 - 8 + 6);
  EXPECT_EQ(all[2]->AnimPos, 10 + 11 * 2);
  for (int f = 0; f < 10; ++f) w.Engine.Move(1);
  EXPECT_EQ(all[0]->Y, 30);  // style 1 rises 2 a frame
  w.Engine.Move(1);
  w.Engine.Dead();
  EXPECT_TRUE(All<TPointSprite>().empty());
}

TEST_F(PlayScore, CoinTakenByTheMolePaysTimesTheBalls) {
  auto* mole = new TZubZubSprite(&w.Engine);
  GameRec->BallSprites = 2;
  auto* c = new TBCoinSprite(&w.Engine, 100, 330, 0);
  const uint32_t seed = RandSeed;
  const int r = random(16);
  RandSeed = seed;
  bool done = false;
  c->DoCollision(mole, done);
  const int value = r == 0 ? 1 : r <= 3 ? 10 : r <= 6 ? 1000 : 100;
  EXPECT_EQ(Score, 2 * value);
  EXPECT_TRUE(c->Deaded());
}

TEST_F(PlayScore, SignboardsRiseFoldWhenHitAndBounceTheBall) {
  PutUpSignboards();
  PutUpSignboards();  // one board per place
  auto boards = All<TKanbanSprite>();
  ASSERT_EQ(boards.size(), 12u);
  for (int f = 0; f < 20; ++f) w.Engine.Move(1);
  TKanbanSprite* k = boards[3];
  EXPECT_TRUE(k->BoardState == 8 || k->BoardState == 9);
  EXPECT_EQ(k->AnimPos, 3);
  auto* b = new TDevadivSprite(&w.Engine, int(k->X) + 8, 330, 2);
  b->Heading = 90;
  bool done = false;
  b->DoCollision(k, done);
  k->DoCollision(b, done);
  EXPECT_EQ(b->Heading, 280);  // a dead-centre hit goes up, nudged off 270
  EXPECT_EQ(b->BounceLock, 4);
  EXPECT_EQ(k->BoardState, 6);
  EXPECT_TRUE(w.Played("HitKanban"));
  FoldSignboards();
  for (int f = 0; f < 10; ++f) w.Engine.Move(1);
  w.Engine.Dead();
  EXPECT_TRUE(All<TKanbanSprite>().empty());
}

TEST_F(PlayScore, StarBurstsMakeTheirRings) {
  StarBurst(100, 100);
  EXPECT_EQ(All<TStarSprite>().size(), 18u);
  BigStarBurst(100, 100);
  EXPECT_EQ(All<TStarSprite>().size(), 18u + 108u);
  for (int f = 0; f < 17; ++f) {
    w.Engine.Move(1);
    w.Engine.Dead();
  }
  EXPECT_TRUE(All<TStarSprite>().empty());
}

}  // namespace
}  // namespace zubroll
