// Scenario tests: the play world's frame loop on small stages.
#include <gtest/gtest.h>

#include "zubroll/play/Autoplay.h"
#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Egg.h"
#include "zubroll/play/PlayWorld.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {
namespace {

TEST(PlayScenario, AutoplayClearsASmallStage) {
  TPlayWorld w;
  TPlayWorld::PutStage(*StageSet, 0, {"", "", "     1 1 1 2 2 2 3 3 3 1 1 1"});
  TPlayWorld::PutStage(*StageSet, 1, {"", "", "          1 1 1"});
  w.Autoplay = true;
  w.StartRun(0);
  ASSERT_TRUE(w.RunUntil([] { return StageNo == 1 && GameState == 3; }, 20000))
      << "state " << GameState << " eggs left " << GameRec->EggsLeft << " score " << Score;
  EXPECT_TRUE(w.Played("ClearStage"));
  EXPECT_GT(Score, 120);
}

}  // namespace
}  // namespace zubroll

namespace zubroll {
namespace {

TEST(PlayAutoplay, ServesOnceAndStandsUnderTheFallingBall) {
  TPlayWorld w;
  TPlayWorld::PutStage(*StageSet, 0, {"", "          1 1 1"});
  w.StartRun(0);
  ASSERT_TRUE(w.RunUntil([] { return Mole.get() && Mole->PaddleState == 1; }, 400));
  int presses = 0;
  for (int f = 0; f < 170 && GameState != 3; ++f) {
    presses += AutoplayDecide().button;
    w.Frame();
  }
  EXPECT_EQ(presses, 1);
  TDevadivSprite* b = Ball.get();
  ASSERT_TRUE(b);
  b->Heading = 90;  // straight down from where it is
  b->FixedX = 200 * 4096;
  b->X = 200;
  const TAutoplayMove m = AutoplayDecide();
  EXPECT_TRUE(m.steer);
  EXPECT_FALSE(m.button);
  // The pointer that puts the paddle's centre under the ball's centre, give or take the aim.
  EXPECT_NEAR(m.x, 200 + 23, 14);
}

TEST(PlayAutoplay, TraceCarriesThePlayValues) {
  TPlayWorld w;
  RouletteSlot = 7;
  ExtraLetters = 2;
  auto* b = new TDevadivSprite(&w.Engine, 100, 100, 2);
  b->Heading = 123;
  platform::TraceLine t;
  AddPlayTraceFields(t);
  EXPECT_EQ(t.str().find("ChickChain=0 RouletteSlot=7 RouletteTimer=0 ExtraLetters=2 ChickLampCount=0"),
            t.str().find("ChickChain"));
  EXPECT_NE(t.str().find("Speed=512"), std::string::npos);
  EXPECT_NE(t.str().find("Heading=123"), std::string::npos);
}

}  // namespace
}  // namespace zubroll
