// Eggs, block eggs, blasts, chicks and the chain pay-out.
#include <gtest/gtest.h>

#include <algorithm>

#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Egg.h"
#include "zubroll/play/Piyo.h"
#include "zubroll/play/PlayWorld.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {
namespace {

class PlayEggs : public ::testing::Test {
 protected:
  void SetUp() override {
    GameState = 3;
    GameRec->BallSpeedCap = 1280;
  }
  TEggSprite* Egg(int kind, int x, int y) {
    auto* e = new TEggSprite(&w.Engine, kind);
    e->X = x;
    e->Y = y;
    return e;
  }
  TDevadivSprite* FlyingBall(int x, int y, int heading = 300) {
    auto* b = new TDevadivSprite(&w.Engine, x, y, 2);
    b->Heading = heading;
    return b;
  }
  int Count(const std::string& sound) const { return int(std::count(w.Sounds.begin(), w.Sounds.end(), sound)); }
  template <class T>
  int Alive() {
    int n = 0;
    ForEachActor<T>([&](T*) { ++n; });
    return n;
  }
  // A catch by the mole: the chick's own collision response.
  void Catch(TZubZubSprite* mole) {
    TPiyoSprite* c = ReleaseChick(100, 300, 0, 0, 0, 0);
    bool done = false;
    c->DoCollision(mole, done);
    w.Engine.Dead();
  }
  TPlayWorld w;
};

TEST_F(PlayEggs, FiveEggsInOneFramePlayFourNotesAndAllBreak) {
  for (int i = 0; i < 5; ++i) Egg(10, 100, 100);
  FlyingBall(95, 100);
  w.Engine.Collisions();
  w.Engine.Dead();
  const std::vector<std::string> notes = {"EggSo", "EggDo", "EggSo", "EggDo"};
  EXPECT_EQ(w.Sounds, notes);
  EXPECT_EQ(Alive<TEggSprite>(), 0);
  EXPECT_EQ(GameRec->ChicksAlive, 5);
  EXPECT_EQ(Score, 50);
  EXPECT_EQ(SingleNoteStep, 0);  // the silent fifth did not advance the counter
}

TEST_F(PlayEggs, FirstSingleHitEggOfAStagePlaysSoThenDo) {
  TPlayWorld::PutStage(*StageSet, 0, {"", "          1   1"});
  SingleNoteStep = 3;
  LayOutStage(*StageSet, 0);
  TDevadivSprite* b = FlyingBall(0, 0);
  std::vector<TEggSprite*> eggs;
  ForEachActor<TEggSprite>([&](TEggSprite* e) { eggs.push_back(e); });
  ASSERT_EQ(eggs.size(), 2u);
  bool done = false;
  eggs[0]->DoCollision(b, done);
  GameRec->HitsThisFrame = 0;
  eggs[1]->DoCollision(b, done);
  EXPECT_EQ(w.Sounds, (std::vector<std::string>{"EggSo", "EggDo"}));
}

TEST_F(PlayEggs, NoteCountersForMultiAndHardEggs) {
  TDevadivSprite* b = FlyingBall(0, 0);
  TEggSprite* hard = Egg(16, 50, 50);
  TEggSprite* multi = Egg(14, 150, 50);
  bool done = false;
  for (int i = 0; i < 3; ++i) {
    hard->DoCollision(b, done);
    multi->HitCooldown = 0;
    multi->DoCollision(b, done);
    GameRec->HitsThisFrame = 0;
  }
  EXPECT_EQ(w.Sounds, (std::vector<std::string>{"EggRe", "EggRa", "EggSi", "EggRe", "EggRe", "EggRa"}));
  EXPECT_TRUE(multi->Deaded());
  EXPECT_FALSE(hard->Deaded());
}

TEST_F(PlayEggs, Kind13HitTwiceWithinFourFramesCountsOnce) {
  TEggSprite* e = Egg(13, 100, 100);
  TDevadivSprite* b = FlyingBall(0, 0);
  bool done = false;
  e->DoCollision(b, done);
  for (int f = 0; f < 3; ++f) {
    e->DoMove(1);
    e->DoCollision(b, done);
  }
  EXPECT_EQ(e->HitCount, 1);
  EXPECT_EQ(e->AnimPos, 16);  // cracked look after the first hit
  e->DoMove(1);               // cooldown back at 0
  e->DoCollision(b, done);
  EXPECT_TRUE(e->Deaded());
  EXPECT_EQ(GameRec->ChicksAlive, 1);
}

TEST_F(PlayEggs, TwoBallsDoubleEggAndChainPayments) {
  FlyingBall(0, 0);
  TDevadivSprite* b = FlyingBall(0, 200);
  ASSERT_EQ(GameRec->BallsInPlay, 2);
  bool done = false;
  Egg(11, 100, 100)->DoCollision(b, done);
  EXPECT_EQ(Score, 20);
  auto* mole = new TZubZubSprite(&w.Engine);
  Score = 0;
  Catch(mole);
  Catch(mole);
  EXPECT_EQ(Score, 2 * 10 + 2 * 20);
}

TEST_F(PlayEggs, ChainPaysUpTo100AndALostChickResetsIt) {
  auto* mole = new TZubZubSprite(&w.Engine);
  GameRec->BallSprites = 0;
  std::vector<int> pays;
  for (int i = 0; i < 12; ++i) {
    const int before = Score;
    w.Sounds.clear();
    Catch(mole);
    pays.push_back(Score - before);
    EXPECT_EQ(w.Sounds.at(0), i < 9 ? "GetPiyo" : "GetP1k") << "catch " << i + 1;
  }
  EXPECT_EQ(pays, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100, 100}));
  // A chick that falls past the bottom resets the chain.
  TPiyoSprite* c = ReleaseChick(100, 390, 0, 0, 0, 0);
  GameRec->EggsLeft = 5;
  for (int f = 0; f < 10 && !c->Deaded(); ++f) c->DoMove(1);
  EXPECT_TRUE(c->Deaded());
  EXPECT_EQ(GameRec->ChickChain, 0);
  EXPECT_EQ(GameRec->EggsLeft, 4);
  w.Engine.Dead();
  const int before = Score;
  Catch(mole);
  EXPECT_EQ(Score - before, 10);
  EXPECT_EQ(GameRec->ChicksAlive, 0);
}

TEST_F(PlayEggs, ThousandPointChickPaysWithoutMultiplier) {
  auto* mole = new TZubZubSprite(&w.Engine);
  GameRec->BallSprites = 3;
  TPiyoSprite* c = ReleaseChick(100, 300, 0, 30, 0, 0);
  EXPECT_EQ(c->Z(), 6);
  bool done = false;
  c->DoCollision(mole, done);
  EXPECT_EQ(Score, 1000);
  EXPECT_EQ(ChickLampCount, 0);
}

TEST_F(PlayEggs, ReleaseChickClampsItsPlace) {
  TPiyoSprite* c = ReleaseChick(-500, 900, 0, 0, 5, 0);
  EXPECT_EQ(c->X, -100);
  EXPECT_EQ(c->Y, 400);
  EXPECT_FALSE(c->Visible);
}

TEST_F(PlayEggs, BlockEggFallsOntoTheNextEggBelow) {
  GameState = 4;
  TPlayWorld::PutStage(*StageSet, 0, {"", "", "     9", "     1", "", "", "     2"});
  LayOutStage(*StageSet, 0);
  TBlockEggSprite* block = nullptr;
  ForEachActor<TBlockEggSprite>([&](TBlockEggSprite* b) { block = b; });
  ASSERT_TRUE(block);
  TEggSprite* support = nullptr;
  ForEachActor<TEggSprite>([&](TEggSprite* e) {
    if (e->Kind == 10) support = e;
  });
  ASSERT_TRUE(support);
  w.RunFrames(10);
  EXPECT_EQ(block->Y, 32);  // resting on its support
  support->Dead();
  w.RunFrames(1);
  w.RunFrames(1);
  EXPECT_EQ(block->FallFrame, 1);  // it falls at once
  w.RunFrames(60);
  EXPECT_EQ(block->Y, (31 * 6 - 30) - 31);
  EXPECT_FALSE(block->Deaded());
}

TEST_F(PlayEggs, PaddleKnocksAFallingBlockAway) {
  auto* block = new TBlockEggSprite(&w.Engine, 100, 330);
  auto* mole = new TZubZubSprite(&w.Engine);
  mole->PaddleState = 3;
  bool done = false;
  block->DoCollision(mole, done);
  mole->DoCollision(block, done);
  w.Engine.Dead();
  EXPECT_EQ(mole->StunTime, 18);
  EXPECT_EQ(Alive<TBlockEggSprite>(), 0);
  EXPECT_EQ(Alive<TPopBlockEggSprite>(), 1);
  w.RunFrames(2);
  EXPECT_EQ(Alive<THitOnlySprite>(), 0);
}

TEST_F(PlayEggs, BlastHitsEveryOverlappingEggInOnePass) {
  GameState = 4;  // no ball: only the blast breaks eggs
  auto* bomb = Egg(17, 100, 100);
  std::vector<TEggSprite*> inside, outside;
  inside.push_back(Egg(13, 75, 90));    // overlaps the blast's 88 x 80 area at (70, 84)
  inside.push_back(Egg(13, 140, 150));
  outside.push_back(Egg(13, 170, 100));  // right of it
  outside.push_back(Egg(13, 100, 170));  // below it
  bool done = false;
  auto* b = FlyingBall(0, 0);
  bomb->DoCollision(b, done);
  b->Dead();
  EXPECT_EQ(GameRec->BlastsAlive, 1);
  w.RunFrames(20);
  for (TEggSprite* e : inside) EXPECT_EQ(e->HitCount, 1);
  for (TEggSprite* e : outside) EXPECT_EQ(e->HitCount, 0);
  EXPECT_EQ(GameRec->BlastsAlive, 0);
  EXPECT_TRUE(w.Played("Bomb"));
}

TEST_F(PlayEggs, RainbowEggSendsANewBallBack) {
  TEggSprite* e = Egg(15, 100, 100);
  TDevadivSprite* b = FlyingBall(0, 0, 300);
  bool done = false;
  e->DoCollision(b, done);
  EXPECT_EQ(GameRec->BallsInPlay, 2);
  TDevadivSprite* nb = nullptr;
  ForEachActor<TDevadivSprite>([&](TDevadivSprite* x) { nb = x; });
  EXPECT_EQ(nb->BallState, 2);
  EXPECT_EQ(nb->Heading, 120);
  EXPECT_TRUE(w.Played("Rainbow"));
}

TEST_F(PlayEggs, StageClearPays100Then200ForRainbowsLeft) {
  Egg(15, 50, 50);
  Egg(10, 80, 50);
  Egg(15, 110, 50);
  StageClearBonus();
  w.Engine.Dead();
  EXPECT_EQ(Score, 300);
  EXPECT_EQ(Alive<TEggSprite>(), 1);
}

TEST_F(PlayEggs, BurstAllEggsReleasesChicksAndDropsOrbitingHardEggs) {
  Egg(10, 50, 50);
  Egg(14, 80, 50);
  TEggSprite* hard = Egg(16, 110, 50);
  hard->Mode = 1;
  hard->OrbitAngle1 = 0;
  BurstAllEggs();
  w.Engine.Dead();
  EXPECT_EQ(GameRec->ChicksAlive, 2);
  EXPECT_EQ(Score, 20);
  EXPECT_EQ(hard->Mode, 2);
  EXPECT_EQ(hard->FallVX, 30000);
}

TEST_F(PlayEggs, FallingEggLeavesTheFieldAndCountsOff) {
  TEggSprite* e = Egg(10, 100, 300);
  e->StartFall(0, 2);
  GameRec->EggsLeft = 3;
  for (int f = 0; f < 60 && !e->Deaded(); ++f) e->DoMove(1);
  EXPECT_TRUE(e->Deaded());
  EXPECT_EQ(GameRec->EggsLeft, 2);
}

TEST_F(PlayEggs, FieldResetResolvesChicksAndBlasts) {
  ReleaseChick(100, 100, 0, 0, 0, 0);
  new TBombGhostSprite(&w.Engine, 10, 10);
  GameRec->ChickChain = 4;
  GameRec->EggsLeft = 1;
  FieldReset = true;
  w.Engine.Move(1);
  w.Engine.Dead();
  FieldReset = false;
  EXPECT_EQ(GameRec->ChicksAlive, 0);
  EXPECT_EQ(GameRec->BlastsAlive, 0);
  EXPECT_EQ(GameRec->ChickChain, 4);
  EXPECT_EQ(GameRec->EggsLeft, 0);
}

}  // namespace
}  // namespace zubroll

namespace zubroll {
namespace {

TEST_F(PlayEggs, OrbitingEggCirclesItsCentre) {
  TEggSprite* e = Egg(16, 0, 0);
  e->Mode = 1;
  e->OrbitCenterX = 150 * 4096;
  e->OrbitCenterY = 100 * 4096;
  e->OrbitRadius = 40 * 4096;
  e->OrbitSpeed1 = 10;
  e->OrbitAngle1 = 350;  // the first move brings it to 0
  e->DoMove(1);
  // a = cos 0 x cos 0 = 10^6, so x = radius/10 x 10^6 / 409 + centre, about 40 pixels right.
  EXPECT_EQ(e->X, int(((40 * 4096 / 10) * 1000000LL / 409 + 150 * 4096) / 4096));
  EXPECT_EQ(e->Y, 100);
  EXPECT_EQ(e->Z(), 15);
  for (int i = 0; i < 10; ++i) e->DoMove(1);  // angle 100: behind the boss
  EXPECT_EQ(e->Z(), 2);
}

TEST_F(PlayEggs, ClearFieldActorsRemovesEggsBlocksAndSensorsOnly) {
  Egg(10, 10, 10);
  new TBlockEggSprite(&w.Engine, 50, 50);
  ReleaseChick(100, 100, 0, 0, 0, 0);
  ClearFieldActors();
  w.Engine.Dead();
  EXPECT_EQ(Alive<TEggSprite>(), 0);
  EXPECT_EQ(Alive<TBlockEggSprite>(), 0);
  EXPECT_EQ(Alive<THitOnlySprite>(), 0);
  EXPECT_EQ(Alive<TPiyoSprite>(), 1);
}

TEST_F(PlayEggs, LayOutPlacesEveryCellCode) {
  std::vector<int> bosses;
  PlayHost.CreateBoss = [&](int code, int x, int y) { bosses.push_back(code * 10000 + x * 100 + y); };
  TPlayWorld::PutStage(*StageSet, 2, {"123456789abcd", "", "", "", "", "", "", "", "", "", "", "", "", "     8"});
  LayOutStage(*StageSet, 2);
  std::vector<TEggSprite*> eggs;
  ForEachActor<TEggSprite>([&](TEggSprite* e) { eggs.push_back(e); });
  ASSERT_EQ(eggs.size(), 10u);  // eight eggs, the block's hidden egg, the bottom-row bomb
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(eggs[size_t(i)]->Kind, 10 + i);
    EXPECT_EQ(eggs[size_t(i)]->X, 13 * i - 7);
    EXPECT_EQ(eggs[size_t(i)]->Y, -30);
  }
  EXPECT_EQ(eggs[6]->CollisionRect.Top, -1);
  EXPECT_EQ(eggs[7]->CollisionRect.Left, 1);
  EXPECT_EQ(eggs[8]->Kind, 19);
  EXPECT_EQ(eggs[9]->Y, 31 * 13 - 30);
  EXPECT_EQ(bosses, (std::vector<int>{10 * 10000 + (13 * 9 - 7) * 100 - 30, 11 * 10000 + (13 * 10 - 7) * 100 - 30,
                                      12 * 10000 + (13 * 11 - 7) * 100 - 30, 13 * 10000 + (13 * 12 - 7) * 100 - 30}));
  GameState = 41;  // the game-over countdown lays out nothing
  ClearFieldActors();
  w.Engine.Dead();
  LayOutStage(*StageSet, 2);
  EXPECT_EQ(Alive<TEggSprite>(), 0);
}

}  // namespace
}  // namespace zubroll
