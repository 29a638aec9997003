// The mole paddle: life start, walk-in, countdown and serve, steering, stuns, walk-out.
#include <gtest/gtest.h>

#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Egg.h"
#include "zubroll/play/Guide.h"
#include "zubroll/play/PlayWorld.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {
namespace {

class PlayMole : public ::testing::Test {
 protected:
  void SetUp() override {
    GameState = 4;
    GameRec->Lives = 3;
    GameRec->EggsLeft = 10;  // the stage goes on
    mole = new TZubZubSprite(&w.Engine);
  }
  void Frame() { w.Frame(); }
  // Walks the mole in and serves; the mole then plays.
  void Serve() {
    ASSERT_TRUE(w.RunUntil([&] { return mole->PaddleState == 1; }, 200));
    w.ButtonDown = true;
    Frame();
    w.ButtonDown = false;
    ASSERT_EQ(mole->PaddleState, 3);
  }
  TPlayWorld w;
  TZubZubSprite* mole = nullptr;
};

TEST_F(PlayMole, LifeStartCarriesABallAndUsesALife) {
  int applied = -1, spawned = -1, recordings = 0;
  PlayHost.ApplyStageParameters = [&](int s) { applied = s; };
  PlayHost.SpawnMonster = [&](int s) { spawned = s; };
  PlayHost.StartRecording = [&] { ++recordings; };
  StageNo = 4;
  Frame();
  EXPECT_EQ(mole->PaddleState, 2);
  EXPECT_TRUE(mole->Visible);
  EXPECT_EQ(GameRec->Lives, 2);
  EXPECT_EQ(applied, 4);
  EXPECT_EQ(spawned, 4);
  EXPECT_EQ(recordings, 1);
  ASSERT_TRUE(Ball.get());
  EXPECT_EQ(Ball->BallState, 0);
  EXPECT_EQ(GameRec->BallsInPlay, 1);
}

TEST_F(PlayMole, ClickDuringWalkInDoesNothingDuringCountdownLaunches) {
  w.ButtonDown = true;
  ASSERT_TRUE(w.RunUntil([&] { return mole->PaddleState == 1; }, 200));
  EXPECT_EQ(mole->X, 155);
  EXPECT_EQ(Ball->BallState, 1);
  Frame();
  EXPECT_EQ(mole->PaddleState, 3);
  EXPECT_EQ(GameState, 3);
  EXPECT_EQ(Ball->BallState, 2);
  EXPECT_TRUE(BallLaunched);
  EXPECT_TRUE(w.Played("ShootButa"));
}

TEST_F(PlayMole, CountdownServesByItselfWithThreeTicks) {
  ASSERT_TRUE(w.RunUntil([&] { return GameState == 3; }, 400));
  EXPECT_EQ(std::count(w.Sounds.begin(), w.Sounds.end(), "TimeCount"), 3);
  EXPECT_EQ(mole->Countdown, 0);
}

TEST_F(PlayMole, SteeringClosesAQuarterOfTheGapAtMost32) {
  Serve();
  Ball->BallState = 0;  // keep the ball out of the way
  w.PointerX = 32 + 300;
  int last = int(mole->X);
  std::vector<int> steps;
  for (int f = 0; f < 8; ++f) {
    mole->StunTime = 0;
    Frame();
    steps.push_back(int(mole->X) - last);
    last = int(mole->X);
  }
  EXPECT_EQ(steps[0], 32);  // a quarter of 134, limited to 32
  EXPECT_EQ(steps[1], (300 - (166 + 32)) / 4);
  for (int s : steps) EXPECT_LE(s, 32);
  w.PointerX = 32 - 32;
  for (int f = 0; f < 60; ++f) Frame();
  EXPECT_EQ(mole->X, -11);
  w.PointerX = 32 + 372;
  for (int f = 0; f < 60; ++f) Frame();
  EXPECT_EQ(mole->X, 320);
}

TEST_F(PlayMole, ReversedControlsMirrorTheTarget) {
  Serve();
  Ball->BallState = 0;
  w.PointerX = 32 + 166;  // where the mole stands: no move
  Frame();
  mole->ReverseTime = 150;
  Frame();  // the flip frame: cursor moved, no jump
  const int x0 = int(mole->X);
  w.PointerX = 32 + 100;  // the mouse moves left ...
  Frame();
  EXPECT_GT(int(mole->X), x0);  // ... the mole goes right
  EXPECT_EQ(mole->Arrow->ArrowTime, mole->ReverseTime + 1);
}

TEST_F(PlayMole, FallingEggStunsAndScores) {
  Serve();
  auto* e = new TEggSprite(&w.Engine, 10);
  e->Mode = 2;
  bool done = false;
  mole->DoCollision(e, done);
  EXPECT_EQ(mole->StunTime, 8);
  EXPECT_EQ(Score, 3);
  EXPECT_TRUE(w.Played("HitZub"));
}

TEST_F(PlayMole, LostBallWalksOutSaysOhNoAndStartsANewLife) {
  Serve();
  GameRec->EggsLeft = 10;
  Ball->Heading = 90;
  Ball->FixedX = 330 * 4096;  // away from the mole
  Ball->FixedY = 350 * 4096;
  ASSERT_TRUE(w.RunUntil([&] { return GameState == 7; }, 200));
  EXPECT_EQ(std::count(w.Sounds.begin(), w.Sounds.end(), "OhNo"), 1);
  ASSERT_TRUE(w.RunUntil([&] { return mole->PaddleState == 2; }, 200));
  EXPECT_EQ(GameRec->Lives, 1);
  EXPECT_EQ(GameRec->BallsInPlay, 1);
}

TEST_F(PlayMole, BigMoleUsesItsDouble) {
  Serve();
  BigTime = 2;
  Frame();
  EXPECT_FALSE(mole->Visible);
  EXPECT_TRUE(mole->Double->Visible);
  EXPECT_EQ(mole->CollisionRect.Top, -14);
  Frame();
  Frame();
  EXPECT_TRUE(mole->Visible);
  EXPECT_TRUE(w.Played("Dekazub2"));
}

TEST_F(PlayMole, GuideFollowsThePointerInsideThePanel) {
  TGuideSprite* g = nullptr;
  ForEachActor<TGuideSprite>([&](TGuideSprite* x) { g = x; });
  ASSERT_TRUE(g);
  w.PointerX = 0;
  Frame();
  EXPECT_EQ(g->X, 8);
  w.PointerX = 500;
  Frame();
  EXPECT_EQ(g->X, 331 + 8);
  EXPECT_TRUE(g->Visible);
}

TEST_F(PlayMole, FieldResetRemovesTheMoleAndItsHelpers) {
  Frame();
  FieldReset = true;
  Frame();
  FieldReset = false;
  EXPECT_FALSE(Mole.get());
  EXPECT_EQ(GameRec->BallSprites, 0);
  EXPECT_EQ(GameRec->BallsInPlay, 0);
}

}  // namespace
}  // namespace zubroll

namespace zubroll {
namespace {

// A stand-in monster with the interface the monster unit implements.
class TTestMonster : public TMonsterActor {
 public:
  explicit TTestMonster(TSpriteEngine* e) : TMonsterActor(e) {
    CollisionGroup = -4;
    X = 150;
    Y = 330;
    Width = Height = 40;
  }
  int State = 0;  // 0 idle, 10 grabbing, 99 dying
  int Wait = 0;
  bool MonsterIdle() const override { return State == 0; }
  bool MonsterDying() const override { return State == 99; }
  void MonsterGrab() override { State = 10; }
  bool MonsterGrabbing() const override { return State == 10; }
  void MonsterRelease(int wait) override {
    State = 0;
    Wait = wait;
  }
};

TEST_F(PlayMole, FiveTouchesOfAnIdleMonsterGetTheMoleGrabbedUntilTheGrabTimeRunsOut) {
  Serve();
  auto* m = new TTestMonster(&w.Engine);
  bool done = false;
  for (int i = 0; i < 4; ++i) mole->DoCollision(m, done);
  EXPECT_EQ(mole->PaddleState, 3);
  mole->DoCollision(m, done);
  EXPECT_EQ(mole->PaddleState, 5);
  EXPECT_EQ(m->State, 10);
  EXPECT_EQ(mole->StunTime, 30);
  EXPECT_TRUE(w.Played("CatchKaizyu"));
  Ball->BallState = 0;
  for (int f = 0; f < 30; ++f) {
    mole->DoMove(1);
    EXPECT_FALSE(mole->Visible);
    EXPECT_EQ(mole->X, m->X + 4);
  }
  mole->DoMove(1);
  EXPECT_EQ(mole->PaddleState, 3);
  EXPECT_TRUE(mole->Visible);
  EXPECT_EQ(m->State, 0);
  EXPECT_EQ(m->Wait, 20);
}

TEST_F(PlayMole, BallBouncesOffAMonster) {
  auto* m = new TTestMonster(&w.Engine);
  auto* b = new TDevadivSprite(&w.Engine, 150 + 36 - 12, 300, 2);
  b->Heading = 90;
  bool done = false;
  b->DoCollision(m, done);
  EXPECT_EQ(b->Heading, 280);
  EXPECT_EQ(b->Speed, GameRec->BallSpeed + 14);
  EXPECT_TRUE(w.Played("HitKaizyu"));
  m->State = 99;
  w.Sounds.clear();
  b->BounceLock = 0;
  b->DoCollision(m, done);
  EXPECT_FALSE(w.Played("HitKaizyu"));
}

TEST_F(PlayMole, EndingWalkTurnsIntoTheBackView) {
  int made = 0;
  CreateEndBack = [&](int x, int) { made = x; };
  Frame();
  mole->PaddleState = 10;
  for (int f = 0; f < 200 && mole->PaddleState == 10; ++f) Frame();
  EXPECT_EQ(mole->X, 177);
  EXPECT_TRUE(GameRec->MoleArrived);
  Frame();
  EXPECT_EQ(made, 179);
  EXPECT_FALSE(Mole.get());
  CreateEndBack = nullptr;
}

}  // namespace
}  // namespace zubroll
