// The play actors in the real main form, driven headless through its frame loop
// by the demo player on the fixture stage sets (two eggs a stage).
#include <gtest/gtest.h>

#include <memory>

#include "fixtures.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/image_io.h"
#include "zubroll/play/Autoplay.h"
#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"
#include "zubroll/shell/Main.h"

using namespace zubroll;
using zubroll::test::TempFolder;

namespace {

struct PlayGame : ::testing::Test {
  TempFolder tmp;
  std::unique_ptr<TMainZubForm> form;
  void SetUp() override {
    const std::string dir = tmp.path();
    ASSERT_TRUE(test::WriteFixtureData(dir));
    ASSERT_TRUE(platform::make_folder(dir + "ZRStage"));
    for (const char* n : {"EASY.EGS", "NORMAL.EGS", "HARD.EGS"})
      ASSERT_TRUE(test::WriteFixtureStageSet(dir + "ZRStage/" + n));
  }
  void Start(const std::string& script) {
    const std::string dir = tmp.path();
    platform::set_program_folder(dir);
    ASSERT_TRUE(test::WriteFile(dir + "in.txt", script));
    std::vector<std::string> a = {"zubroll", "--headless", "--input", dir + "in.txt"};
    std::vector<const char*> argv;
    for (auto& s : a) argv.push_back(s.c_str());
    platform::Options o;
    std::string err;
    ASSERT_TRUE(platform::parse_options(int(argv.size()), argv.data(), o, err)) << err;
    ASSERT_TRUE(platform::init(o, err)) << err;
    ASSERT_TRUE(platform::display_open({"zubroll", 512, 400, false, 1, false}, err)) << err;
    ResetLooseGlobals();
    ResetBonusGlobals();
    form = std::make_unique<TMainZubForm>();
    form->FormCreate({"-W"});
  }
  void TearDown() override {
    AutoplayEnabled = false;
    if (form && !form->Closed) form->FormClose();
    form.reset();
    platform::display_close();
    platform::shutdown();
  }
  template <class P>
  bool RunUntil(P pred, int limit) {
    for (int i = 0; i < limit && !form->Closed; ++i) {
      if (pred()) return true;
      form->RunOneLoopPass();
    }
    return pred();
  }
};

TEST_F(PlayGame, DemoPlayerClearsStagesOfEasy) {
  AutoplayEnabled = true;
  Start("5 key F1\n");
  ASSERT_TRUE(RunUntil([] { return GameState == 3; }, 400)) << "state " << GameState;
  EXPECT_TRUE(Mole.get());
  EXPECT_EQ(GameRec->Lives, 2);
  EXPECT_EQ(GameRec->EggsLeft, 2);
  ASSERT_TRUE(RunUntil([] { return StageNo >= 3 && GameState == 3; }, 8000))
      << "stage " << StageNo << " state " << GameState << " eggs left " << GameRec->EggsLeft;
  EXPECT_GT(Score, 3 * 20);  // two eggs a stage, and caught chicks
  EXPECT_GE(GameRec->Lives, 2);    // each cleared stage gives the used life back
  EXPECT_TRUE(ScoreDigit(1)->Visible);  // the panel shows a score of two digits or more
}

TEST_F(PlayGame, LosingEveryBallEndsTheRun) {
  Start("5 key F1\n");
  // Nobody plays: the countdown serves and the mole stands at the left edge.
  ASSERT_TRUE(RunUntil([] { return GameState >= 40; }, 20000)) << "state " << GameState;
  EXPECT_EQ(GameRec->Lives, 0);
  EXPECT_EQ(GameRec->BallsInPlay, 0);
  EXPECT_EQ(GameRec->ChicksAlive, 0);
}

TEST_F(PlayGame, PauseOnAOneFrameStateHoldsTheSceneUntilResumed) {
  // A miss (6) lasts one frame and a cleared stage (5) two; the mole walks out only
  // when it sees them. Paused on such a frame, the scene must wait for the actors.
  struct Case {
    int state;
    bool autoplay;
  } cases[] = {{6, false}, {5, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    AutoplayEnabled = c.autoplay;
    Start("5 key F1\n");
    const int state = c.state;
    ASSERT_TRUE(RunUntil([state] { return GameState == state; }, 20000)) << "state " << GameState;
    const int stage = StageNo;
    form->FormKeyDown(platform::Key::P, false, false, false);
    ASSERT_TRUE(form->Checked("PauseItem"));
    for (int i = 0; i < 5; ++i) form->RunOneLoopPass();
    EXPECT_EQ(GameState, state);
    form->FormKeyDown(platform::Key::P, false, false, false);
    EXPECT_TRUE(RunUntil([] { return GameState == 3; }, 1500)) << "stuck in state " << GameState;
    EXPECT_EQ(StageNo, stage);
    TearDown();
  }
}

}  // namespace
