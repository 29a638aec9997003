// Scenario tests: the play world's frame loop on small stages.
#include <gtest/gtest.h>

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
