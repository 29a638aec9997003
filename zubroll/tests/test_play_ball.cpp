// The pig ball: flight steps, reflections, paddle bounce, stalls, effects.
#include <gtest/gtest.h>

#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Egg.h"
#include "zubroll/play/PlayWorld.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {
namespace {

class PlayBall : public ::testing::Test {
 protected:
  void SetUp() override {
    GameState = 3;
    GameRec->BallSpeedCap = 1280;
  }
  TDevadivSprite* Ball(int x, int y, int heading, int speed = 512) {
    auto* b = new TDevadivSprite(&w.Engine, x, y, 2);
    b->Heading = heading;
    b->Speed = speed;
    return b;
  }
  TEggSprite* Egg(int kind, int x, int y) {
    auto* e = new TEggSprite(&w.Engine, kind);
    e->X = x;
    e->Y = y;
    return e;
  }
  TPlayWorld w;
};

struct StepCase {
  int speed, steps;
};
class PlayBallSteps : public PlayBall, public ::testing::WithParamInterface<StepCase> {};

TEST_P(PlayBallSteps, MovesSpeedDiv32Plus1TableSteps) {
  TDevadivSprite* b = Ball(100, 100, 0, GetParam().speed);
  const int x0 = b->FixedX;
  EXPECT_FALSE(b->FlightStep());
  EXPECT_EQ(b->FixedX - x0, GetParam().steps * 1000);
  EXPECT_EQ(int(b->X), (x0 + GetParam().steps * 1000) / 4096);
}
INSTANTIATE_TEST_SUITE_P(Speeds, PlayBallSteps,
                         ::testing::Values(StepCase{512, 17}, StepCase{1280, 41}, StepCase{31, 1}));

TEST_F(PlayBall, SpeedIsCappedByTheStage) {
  GameRec->BallSpeedCap = 1000;
  TDevadivSprite* b = Ball(100, 100, 0, 1300);
  b->DoMove(1);
  EXPECT_EQ(b->Speed, 1000);
}

TEST_F(PlayBall, WallsReflect) {
  TDevadivSprite* b = Ball(354, 100, 20);
  b->FlightStep();
  EXPECT_EQ(b->Heading, 160);
  TDevadivSprite* c = Ball(100, -4, 250);
  c->FlightStep();
  EXPECT_EQ(c->Heading, 110);
}

TEST_F(PlayBall, BelowTheFieldTheBallIsLostAndArcsAway) {
  int tunings = 0;
  PlayHost.BgmSetSpeed = [&] { ++tunings; };
  TDevadivSprite* b = Ball(100, 354, 90);
  b->DoMove(1);
  EXPECT_EQ(b->BallState, 3);
  EXPECT_EQ(GameRec->BallsInPlay, 0);
  EXPECT_EQ(GameRec->BallSprites, 1);
  EXPECT_EQ(tunings, 2);  // creation and loss
  for (int f = 0; f < 100 && !b->Deaded(); ++f) b->DoMove(1);
  EXPECT_TRUE(b->Deaded());
  EXPECT_EQ(GameRec->BallSprites, 0);
}

TEST_F(PlayBall, PaddleDeadCentreSendsTo275) {
  auto* mole = new TZubZubSprite(&w.Engine);
  mole->PaddleState = 3;
  mole->X = 100;
  TDevadivSprite* b = Ball(100 + 32 - 12, 300, 90);
  bool done = false;
  b->DoCollision(mole, done);
  EXPECT_EQ(b->Heading, 275);
  EXPECT_EQ(b->Speed, 516);
  EXPECT_EQ(b->BounceLock, 3);
  b->DoCollision(mole, done);  // the second contact of the pair is ignored
  EXPECT_EQ(b->Speed, 516);
}

TEST_F(PlayBall, PaddleOffsetsAimInStepsOf5WithinLimits) {
  auto* mole = new TZubZubSprite(&w.Engine);
  mole->PaddleState = 3;
  mole->X = 100;
  struct C {
    int d, heading;
  } cases[] = {{-40, 210}, {-10, 230}, {10, 310}, {3, 280}, {40, 330}};
  for (const C& c : cases) {
    TDevadivSprite* b = Ball(100 + 32 - 12 + c.d, 300, 90);
    bool done = false;
    b->DoCollision(mole, done);
    EXPECT_EQ(b->Heading, c.heading) << "offset " << c.d;
  }
}

TEST_F(PlayBall, StackedEggsReflectSidewaysFromTheHeadingBeforeEitherContact) {
  Egg(10, 100, 100);
  Egg(10, 100, 131);
  TDevadivSprite* b = Ball(90, 115, 300);
  w.Engine.Collisions();
  EXPECT_EQ(b->EggsHit, 2);
  EXPECT_EQ(b->Heading, 240);
  EXPECT_EQ(b->X, 89);  // pushed one pixel away
}

TEST_F(PlayBall, SideBySideEggsReflectTopBottom) {
  Egg(10, 100, 100);
  Egg(10, 126, 100);
  TDevadivSprite* b = Ball(110, 90, 60);  // from above, over both
  w.Engine.Collisions();
  EXPECT_EQ(b->EggsHit, 2);
  EXPECT_EQ(b->Heading, 300);
}

TEST_F(PlayBall, ThreeEggsReverse) {
  Egg(10, 100, 100);
  Egg(10, 100, 131);
  Egg(10, 110, 115);
  TDevadivSprite* b = Ball(95, 115, 300);
  w.Engine.Collisions();
  EXPECT_EQ(b->EggsHit, 3);
  EXPECT_EQ(b->Heading, 120);
}

TEST_F(PlayBall, HardEggBookkeeping) {
  TEggSprite* e = Egg(16, 100, 100);
  TDevadivSprite* b = Ball(100, 85, 90);  // from above
  b->StallCount = 77;
  w.Engine.Collisions();
  EXPECT_EQ(b->HardEggsHit, 1);
  EXPECT_EQ(b->Speed, 516);
  EXPECT_EQ(b->StallCount, 77);
  EXPECT_EQ(e->HitCooldown, 2);
  EXPECT_EQ(b->Heading, 270);
  EXPECT_FALSE(e->Deaded());
}

TEST_F(PlayBall, StackedHardEggsReflectSidewaysFromTheFirstHeading) {
  Egg(16, 100, 100);
  Egg(16, 100, 131);
  TDevadivSprite* b = Ball(90, 115, 300);
  w.Engine.Collisions();
  EXPECT_EQ(b->EggsHit, 2);
  EXPECT_EQ(b->HardEggsHit, 2);
  EXPECT_EQ(b->Heading, 240);
  EXPECT_EQ(b->X, 88);  // pushed away at each contact
  EXPECT_EQ(b->Speed, 520);
  EXPECT_EQ(w.Sounds, (std::vector<std::string>{"EggRe", "EggSi"}));
}

TEST_F(PlayBall, ThreeHardEggsReverseAndLockTheBounce) {
  Egg(16, 100, 100);
  Egg(16, 100, 131);
  Egg(16, 110, 115);
  TDevadivSprite* b = Ball(95, 115, 300);
  w.Engine.Collisions();
  EXPECT_EQ(b->HardEggsHit, 3);
  EXPECT_EQ(b->Heading, 120);  // the heading before the contacts, reversed
  EXPECT_EQ(b->BounceLock, 1);
}

TEST_F(PlayBall, StallJigglesAt1200AndRelaunchesAfter2400) {
  TDevadivSprite* b = Ball(180, 150, 45);
  b->StallCount = 1199;
  const uint32_t seed = RandSeed;
  const int r = random(10);
  RandSeed = seed;
  b->DoMove(1);
  EXPECT_EQ(b->StallCount, 1200);
  EXPECT_EQ(b->Heading, 45 - r + 5);
  b->StallCount = 2400;
  b->DoMove(1);
  EXPECT_EQ(b->StallCount, 0);
  EXPECT_EQ(b->FixedX, 180 * 4096);
  EXPECT_EQ(b->FixedY, 50 * 4096);
  EXPECT_TRUE((b->Heading >= 57 && b->Heading <= 64) || (b->Heading >= 117 && b->Heading <= 124));
  EXPECT_TRUE(w.Played("SlowButa"));
}

TEST_F(PlayBall, JiggleMovesHeadingsOffTheAxes) {
  TDevadivSprite* b = Ball(180, 150, 0);
  struct Band {
    int from, lo, hi;  // a heading landing in from's band ends in lo..hi
  } bands[] = {{88, 76, 85}, {93, 95, 104}, {178, 166, 175}, {183, 185, 194},
               {268, 261, 270}, {273, 275, 284}, {357, 346, 355}, {2, 5, 14}};
  for (const Band& band : bands)
    for (int i = 0; i < 30; ++i) {
      const uint32_t seed = RandSeed;
      const int r = random(10);
      RandSeed = seed;
      b->Heading = band.from + r - 5;  // so that the first step lands on band.from
      b->Jiggle();
      EXPECT_GE(b->Heading, band.lo) << band.from;
      EXPECT_LE(b->Heading, band.hi) << band.from;
    }
}

TEST_F(PlayBall, HyperBallFlashesWithACooldown) {
  TEggSprite* e = Egg(16, 100, 100);
  TDevadivSprite* b = Ball(100, 80, 90);
  b->HyperTime = 100;
  GameRec->EggsLeft = 5;  // the stage goes on
  std::vector<int> flashes;
  for (int f = 0; f < 12; ++f) {
    const size_t before = w.Sounds.size();
    b->HitEgg(e);
    for (size_t i = before; i < w.Sounds.size(); ++i)
      if (w.Sounds[i] == "HypBomb") flashes.push_back(f);
    PlayStateStep();  // counts the cooldown down (state 3)
  }
  EXPECT_EQ(flashes, (std::vector<int>{0, 3, 6, 9}));
}

TEST_F(PlayBall, TangibleFlashTakesPartInTwoPasses) {
  TSparkGhostSprite* f = CreateFlash(100, 100, true);
  EXPECT_EQ(f->X, 82);
  EXPECT_TRUE(f->Collisioned);
  f->DoMove(1);
  EXPECT_TRUE(f->Collisioned);
  f->DoMove(1);
  EXPECT_FALSE(f->Collisioned);
  f->DoMove(1);
  EXPECT_TRUE(f->Deaded());
}

TEST_F(PlayBall, StageClearVanishesEveryBallInSparks) {
  Ball(100, 100, 0);
  Ball(200, 100, 0);
  GameState = 5;
  w.Engine.Move(1);
  w.Engine.Dead();
  int balls = 0, sparks = 0;
  ForEachActor<TDevadivSprite>([&](TDevadivSprite*) { ++balls; });
  ForEachActor<TSparkSprite>([&](TSparkSprite*) { ++sparks; });
  EXPECT_EQ(balls, 0);
  EXPECT_EQ(sparks, 32);
  EXPECT_EQ(GameRec->BallsInPlay, 0);
  EXPECT_EQ(GameRec->BallSprites, 0);
}

TEST_F(PlayBall, SlowTriggerResetsSpeedAndAttachesAStar) {
  TDevadivSprite* b = Ball(100, 100, 0, 900);
  SlowTrigger = true;
  b->DoMove(1);
  SlowTrigger = false;
  EXPECT_EQ(b->Speed, GameRec->BallSpeed);
  EXPECT_TRUE(b->SlowMark);
  for (int f = 0; f < 20; ++f) w.Engine.Move(1);
  EXPECT_FALSE(b->SlowMark);
}

TEST_F(PlayBall, AimingSwingsBetween220And320) {
  auto* b = new TDevadivSprite(&w.Engine, 100, 300, 1);
  SwingAnchorX = 100;
  SwingAnchorY = 340;
  int lo = 360, hi = 0;
  for (int f = 0; f < 60; ++f) {
    b->DoMove(1);
    lo = std::min(lo, b->Heading);
    hi = std::max(hi, b->Heading);
  }
  EXPECT_EQ(lo, 220);
  EXPECT_EQ(hi, 320);
}

}  // namespace
}  // namespace zubroll
