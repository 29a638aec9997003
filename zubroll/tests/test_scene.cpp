// The scene machine driven headless through the real frame loop: title,
// stage selection, blind, play states, game over, ending, about screen.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "fixtures.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/display.h"
#include "platform/msgbox.h"
#include "zubroll/play/Egg.h"
#include "zubroll/play/Field.h"
#include "zubroll/play/hooks.h"
#include "zubroll/shell/Blind.h"
#include "zubroll/shell/Main.h"
#include "zubroll/shell/Scene.h"
#include "zubroll/shell/Selector.h"
#include "zubroll/shell/Title.h"
#include "zubroll/shell/bgpat.h"
#include "zubroll/shell/gameover.h"

using namespace zubroll;
using zubroll::test::TempFolder;

namespace {

// A plain-format set: every stage one egg, except the stages listed as empty.
bool WriteSet(const std::string& path, std::initializer_list<int> empty = {}) {
  TStageSet set;
  std::memset(static_cast<void*>(&set), 0, sizeof set);
  set.Version.set("1000");
  const size_t slash = path.find_last_of('/');
  set.SetName.set(path.substr(slash + 1));
  for (int s = 0; s < kStageCount; ++s) {
    bool blank = false;
    for (int e : empty) blank = blank || e == s;
    if (!blank) set.Cell(s, 3, 10) = 1;
    for (int h = 0; h < 2; ++h) {
      const int i = s + 32 * h;
      set.BallSpeed[i] = 512;
      set.BallSpeedCap[i] = 1024;
      set.MonsterFirstDelay[i] = 640;
      set.MonsterReturnDelay[i] = 736;
      set.MonsterStunTime[i] = 28;
    }
  }
  return platform::write_file_atomic(path, &set, sizeof set);
}

struct SceneRun {
  std::unique_ptr<TMainZubForm> form;
  SceneRun(const std::string& dir, const std::string& script, const std::vector<std::string>& extra = {}) {
    platform::set_program_folder(dir);
    EXPECT_TRUE(test::WriteFile(dir + "in.txt", script));
    std::vector<std::string> a = {"zubroll", "--headless", "--input", dir + "in.txt"};
    a.insert(a.end(), extra.begin(), extra.end());
    std::vector<const char*> argv;
    for (auto& s : a) argv.push_back(s.c_str());
    platform::Options o;
    std::string err;
    EXPECT_TRUE(platform::parse_options(int(argv.size()), argv.data(), o, err)) << err;
    EXPECT_TRUE(platform::init(o, err)) << err;
    EXPECT_TRUE(platform::display_open({"zubroll", 512, 400, false, 1, false}, err)) << err;
    ResetLooseGlobals();
    form = std::make_unique<TMainZubForm>();
    form->FormCreate({"-W"});
  }
  ~SceneRun() {
    if (form && !form->Closed) form->FormClose();
    form.reset();
    PlayHost.StartEnding = nullptr;
    platform::display_close();
    platform::shutdown();
  }
  TMainZubForm& f() { return *form; }
  TSpriteEngine& e() { return form->DXSpriteEngine; }
  void Frames(int n) {
    for (int i = 0; i < n && !form->Closed; ++i) form->RunOneLoopPass();
  }
  // Runs frames until `done` holds (at most `limit`); the frames taken, or -1.
  int Until(const std::function<bool()>& done, int limit = 2000) {
    for (int i = 1; i <= limit && !form->Closed; ++i) {
      form->RunOneLoopPass();
      if (done()) return i;
    }
    return -1;
  }
};

struct SceneTest : ::testing::Test {
  TempFolder tmp;
  std::string dir() { return tmp.path(); }
  void SetUp() override {
    ASSERT_TRUE(test::WriteFixtureData(dir()));
    ASSERT_TRUE(platform::make_folder(dir() + "ZRStage"));
    ASSERT_TRUE(WriteSet(dir() + "ZRStage/EASY.EGS", {1}));
    ASSERT_TRUE(WriteSet(dir() + "ZRStage/NORMAL.EGS"));
    ASSERT_TRUE(WriteSet(dir() + "ZRStage/HARD.EGS"));
  }
};

TBlindSprite* Leader(TSpriteEngine& e) {
  for (int i = 0; i < e.Count(); ++i)
    if (auto* b = dynamic_cast<TBlindSprite*>(e.Items(i)); b && b->Leader && !b->Deaded()) return b;
  return nullptr;
}

TStartBtnSprite* Button(TSpriteEngine& e, int index) {
  for (int i = 0; i < e.Count(); ++i)
    if (auto* b = dynamic_cast<TStartBtnSprite*>(e.Items(i)); b && b->Index == index && !b->Deaded()) return b;
  return nullptr;
}

TSelBtnSprite* SelButton(TSpriteEngine& e, int index) {
  for (int i = 0; i < e.Count(); ++i)
    if (auto* b = dynamic_cast<TSelBtnSprite*>(e.Items(i)); b && b->Index == index && !b->Deaded()) return b;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Title

TEST_F(SceneTest, TitleSequenceStepsTablesAndRestartsWithoutAttractReplay) {
  SceneRun r(dir(), "");
  r.Frames(1);
  EXPECT_EQ(GameState, 31);
  EXPECT_EQ(CountActors<TTitleSprite>(r.e()), 1);
  EXPECT_EQ(CountActors<TTitleEggSprite>(r.e()), 1);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 4);
  // Step 0 lasts until SceneTimer 241.
  const int to_tables = r.Until([] { return SceneStep == 1; });
  EXPECT_EQ(to_tables, 241);
  EXPECT_EQ(CountActors<TTitleSprite>(r.e()), 0);
  EXPECT_EQ(CountActors<TMoveTitleSprite>(r.e()), 1);
  ASSERT_EQ(CountActors<TScoreHeadSprite>(r.e()), 1);
  r.Frames(24);
  auto* mt = FindActor<TMoveTitleSprite>(r.e());
  EXPECT_EQ(int(mt->Y), 2);
  // 201 frames per table, then the attract replay is looked for and is missing.
  EXPECT_EQ(r.Until([] { return SceneStep == 2; }), 201 - 24);
  EXPECT_EQ(FindActor<TScoreHeadSprite>(r.e())->Table, 1);
  EXPECT_EQ(r.Until([] { return SceneStep == 3; }), 201);
  EXPECT_EQ(FindActor<TScoreHeadSprite>(r.e())->Table, 2);
  EXPECT_EQ(r.Until([] { return SceneStep == 4; }), 201);
  r.Frames(1);
  EXPECT_EQ(SceneStep, 0);
  EXPECT_EQ(SceneTimer, 0);
  EXPECT_EQ(GameRec->AttractIndex, 0);
  EXPECT_EQ(CountActors<TTitleSprite>(r.e()), 1);
  EXPECT_EQ(CountActors<TMoveTitleSprite>(r.e()), 0);
  EXPECT_EQ(CountActors<TScoreHeadSprite>(r.e()), 0);
  r.Frames(1);
  EXPECT_EQ(GameRec->ReplayState, 0);
}

TEST_F(SceneTest, PresentAttractReplayAdvancesTheIndex) {
  ASSERT_TRUE(platform::make_folder(dir() + "ZRReplay"));
  ASSERT_TRUE(test::WriteFile(dir() + "ZRReplay/EASY01.RPY", std::string(sizeof(TReplayRec), '\0')));
  SceneRun r(dir(), "");
  r.Frames(1);
  SceneStep = 4;
  r.Frames(1);
  EXPECT_EQ(GameRec->AttractIndex, 1);  // "EASY01.rpy" found (names ignore case)
}

TEST_F(SceneTest, ClickSkipsTheTitleWaitButNotWhileLocked) {
  SceneRun r(dir(), "1 move 300 100\n20 down left\n21 up left\n40 down left\n41 up left\n");
  r.Frames(5);
  TitleLocked = true;
  r.Until([] { return platform::frame_number() >= 30; }, 40);
  EXPECT_EQ(SceneStep, 0);
  EXPECT_LT(SceneTimer, 40);
  TitleLocked = false;
  const int frames = r.Until([] { return SceneStep == 1; }, 300);
  EXPECT_GT(frames, 0);
  EXPECT_LE(platform::frame_number(), 42);
}

// The hand's hot rectangle is (6, 0, 8, 4) from the pointer; a button's is (0, 0, 56, 46).
void PointAtButton(int index) { platform::cursor_warp(kStartBtnX[index] + 10, kStartBtnY[index] + 10); }
void PointAway() { platform::cursor_warp(20, 20); }

TEST_F(SceneTest, HoveringAButtonHoldsTheTitleAndSwitchesTables) {
  SceneRun r(dir(), "");
  PointAway();
  r.Frames(2);
  SceneStep = 1;
  SceneTimer = 30;
  BeginTitleTables(r.f());
  ASSERT_NE(FindActor<TScoreHeadSprite>(r.e()), nullptr);
  PointAtButton(1);  // Normal while the Easy table shows
  r.Frames(1);
  EXPECT_EQ(SceneStep, 2);
  EXPECT_EQ(FindActor<TScoreHeadSprite>(r.e())->Table, 1);
  EXPECT_EQ(SceneTimer, 51);  // held at 50 by the touch, then the step counts
  TStartBtnSprite* b = Button(r.e(), 1);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Pattern(), 1 + 4);  // pressed look
  EXPECT_EQ(b->TouchCount, 2);
  // Held there, the title does not advance and the sound is not repeated.
  for (int i = 0; i < 300; ++i) r.Frames(1);
  EXPECT_EQ(SceneStep, 2);
  EXPECT_EQ(SceneTimer, 51);  // held at 50 by the touch, then the step counts
  EXPECT_EQ(b->TouchCount, 2);
  // One frame away is not enough to count as a new touch; two frames are.
  PointAway();
  r.Frames(1);
  EXPECT_EQ(b->Pattern(), 1);
  EXPECT_EQ(b->TouchCount, 1);
  r.Frames(1);
  EXPECT_EQ(b->TouchCount, 0);
  PointAtButton(0);
  r.Frames(1);
  EXPECT_EQ(SceneStep, 1);  // back to the Easy table
}

TEST_F(SceneTest, TitleButtonsIgnorePressesWhileLocked) {
  SceneRun r(dir(), "");
  PointAway();
  r.Frames(2);
  TitleLocked = true;
  PointAtButton(0);
  LeftButton = true;
  r.Frames(1);
  EXPECT_EQ(GameState, 31);
  EXPECT_EQ(SceneTimer, 51);  // held at 50 by the touch, then the step counts
  EXPECT_EQ(Button(r.e(), 0)->TouchCount, 0);
  TitleLocked = false;
  r.Frames(1);
  EXPECT_EQ(GameState, 2);  // Easy started (1, and the scene step of the same frame)
  EXPECT_EQ(GameRec->Difficulty, 0);
}

TEST_F(SceneTest, ContinueButtonOnlyWhenARunCanBeContinued) {
  SceneRun r(dir(), "");
  PointAway();
  r.Frames(2);
  TStartBtnSprite* c = Button(r.e(), 3);
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->Visible);
  EXPECT_FALSE(c->Collisioned);
  PointAtButton(3);
  LeftButton = true;
  r.Frames(2);
  EXPECT_EQ(GameState, 31);
  LeftButton = false;
  GameRec->ContinueAvailable = true;
  GameRec->ContinueStage = 2;
  GameRec->ContinueDifficulty = 1;
  GameRec->ContinueSetPath = FolderPath(GameRec->StageFolder) + "NORMAL.EGS";
  r.Frames(1);
  EXPECT_TRUE(c->Visible);
  LeftButton = true;
  r.Frames(2);
  EXPECT_EQ(GameRec->Difficulty, 1);
  EXPECT_EQ(StageNo, 2);
  EXPECT_LT(GameState, 15);
}

// ---------------------------------------------------------------------------
// Blind

TEST_F(SceneTest, BlindStripsMeetOverTheFieldAndLeave) {
  SceneRun r(dir(), "");
  r.Frames(2);
  TitleLocked = true;
  StartBlind(r.f(), 0);
  StartBlind(r.f(), 0);  // ignored while one runs
  EXPECT_EQ(CountActors<TBlindSprite>(r.e()), 16);
  EXPECT_TRUE(BlindActive);
  TBlindSprite* lead = Leader(r.e());
  ASSERT_NE(lead, nullptr);
  EXPECT_EQ(lead->Direction, 1);
  ASSERT_EQ(r.Until([&] { return lead->Count == kBlindClosedCount; }), 25);
  std::vector<int> left, right;
  for (int i = 0; i < r.e().Count(); ++i)
    if (auto* b = dynamic_cast<TBlindSprite*>(r.e().Items(i))) (b->Direction > 0 ? left : right).push_back(int(b->X));
  EXPECT_EQ(left, (std::vector<int>{158, 126, 94, 62, 30, -2, -34, -42}));
  EXPECT_EQ(right, (std::vector<int>{186, 218, 250, 282, 314, 346, 378, 386}));
  r.Frames(1);  // count 26: the title is rebuilt behind the blind
  EXPECT_EQ(BlindSpeed, 0);
  EXPECT_TRUE(FieldReset);
  r.Frames(1);
  EXPECT_FALSE(FieldReset);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 4);
  EXPECT_EQ(CountActors<TTitleSprite>(r.e()), 1);
  r.Frames(11);  // count 38
  EXPECT_EQ(BlindSpeed, -8);
  const int out = r.Until([] { return !BlindActive; });
  EXPECT_EQ(out, 26);  // with the move at count 38, 27 moves back: 158 - 27 x 8 < -50
  EXPECT_FALSE(TitleLocked);
  r.Frames(1);
  EXPECT_EQ(CountActors<TBlindSprite>(r.e()), 0);
}

TEST_F(SceneTest, BlindStandsStillUntilTitleLockedAndGoesAtState33) {
  SceneRun r(dir(), "");
  r.Frames(2);
  TitleLocked = false;
  StartBlind(r.f(), 0);
  TBlindSprite* lead = Leader(r.e());
  r.Frames(10);
  EXPECT_EQ(lead->Count, 0);
  EXPECT_EQ(int(lead->X), -42);
  TitleLocked = true;
  r.Frames(3);
  EXPECT_EQ(int(lead->X), -42 + 3 * 8);
  GameState = 33;
  r.Frames(1);
  EXPECT_FALSE(BlindActive);
  EXPECT_EQ(CountActors<TBlindSprite>(r.e()), 0);
}

TEST(Background, PatternIsLimitedToItsRange) {
  TempFolder tmp;
  ASSERT_TRUE(test::WriteFixtureData(tmp.path()));
  SceneRun r(tmp.path(), "");
  EXPECT_EQ(CountActors<TBGPatSprite>(r.e()), 36);
  for (auto [in, out] : std::vector<std::pair<int, int>>{{-3, 0}, {0, 0}, {9, 9}, {19, 19}, {25, 19}}) {
    SetBackgroundPattern(r.f(), in);
    EXPECT_EQ(BackgroundPattern(r.f()), out) << in;
  }
}

// ---------------------------------------------------------------------------
// Runs

namespace {
// F1, then frames until the stage waits for its serve with the field built.
void StartEasy(SceneRun& r) {
  PointAway();
  r.Frames(2);
  r.f().StartGame(0);
  ASSERT_GT(r.Until([] { return GameState == 4 && !BlindActive; }, 400), 0);
}
}  // namespace

TEST_F(SceneTest, AStageStartsBehindTheBlind) {
  SceneRun r(dir(), "");
  PointAway();
  r.Frames(2);
  r.f().StartGame(0);
  EXPECT_EQ(GameState, 1);
  r.Frames(1);
  EXPECT_EQ(GameState, 2);
  r.Frames(2);  // SceneStep 1: the blind starts, the title still shows behind it
  EXPECT_TRUE(BlindActive);
  EXPECT_TRUE(TitleLocked);
  EXPECT_EQ(GameRec->EggsLeft, 1);
  r.Frames(1);
  EXPECT_EQ(GameState, 4);
  const int bg = GameRec->BackgroundNo;
  ASSERT_GT(r.Until([&] { return CountActors<TTitleSprite>(r.e()) == 0; }, 60), 0);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 0);
  EXPECT_EQ(GameRec->BackgroundNo, (bg + 1) % 16);
  EXPECT_EQ(BackgroundPattern(r.f()), GameRec->BackgroundNo);
}

TEST_F(SceneTest, EscQuitsToTheTitleWithContinueData) {
  SceneRun r(dir(), "");
  StartEasy(r);
  StageNo = 3;
  r.f().FormKeyDown(platform::Key::Escape, false, false, false);
  EXPECT_EQ(GameState, 33);
  r.Frames(1);
  EXPECT_EQ(GameState, 30);
  r.Frames(1);
  EXPECT_EQ(GameState, 31);
  EXPECT_TRUE(GameRec->ContinueAvailable);
  EXPECT_EQ(GameRec->ContinueStage, 3);
  EXPECT_EQ(GameRec->LastStage[0], 3);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 4);
  EXPECT_EQ(CountActors<TTitleSprite>(r.e()), 1);
  r.Frames(1);
  EXPECT_TRUE(Button(r.e(), 3)->Visible);
  EXPECT_TRUE(r.f().Item("ContinuItem").enabled);
}

TEST_F(SceneTest, GameOverLettersThenTheTitle) {
  SceneRun r(dir(), "");
  StartEasy(r);
  GameState = 40;
  GameRec->Lives = 0;
  r.Frames(1);
  EXPECT_EQ(GameState, 41);
  ASSERT_EQ(CountActors<TGOverSprite>(r.e()), 8);
  std::vector<TGOverSprite*> letters;
  for (int i = 0; i < r.e().Count(); ++i)
    if (auto* l = dynamic_cast<TGOverSprite*>(r.e().Items(i))) letters.push_back(l);
  r.Frames(14);
  EXPECT_EQ(int(letters[0]->Y), -48 + 14 * 12);
  EXPECT_EQ(letters[0]->Phase, TGOverSprite::Falling);
  r.Frames(1);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(int(letters[i]->Y), 120);
    EXPECT_EQ(int(letters[i]->X), GameOverLetterX(i));
    EXPECT_EQ(letters[i]->Phase, TGOverSprite::Resting);
    EXPECT_LE(letters[i]->Counter, 4);
  }
  const int frames = r.Until([] { return GameState == 42 || GameState == 30 || GameState == 31; });
  EXPECT_EQ(frames, 100 - 15);
  EXPECT_EQ(GameState, 42);
  r.Frames(2);
  EXPECT_EQ(GameState, 31);
  EXPECT_TRUE(TitleLocked);
  EXPECT_TRUE(BlindActive);
  EXPECT_TRUE(GameRec->ContinueAvailable);
  ASSERT_GT(r.Until([] { return !BlindActive; }, 200), 0);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 4);
  EXPECT_EQ(CountActors<TTitleSprite>(r.e()), 1);
}

TEST_F(SceneTest, ReplayRunEndsWithoutLetters) {
  SceneRun r(dir(), "");
  StartEasy(r);
  GameRec->ReplayState = 2;
  GameRec->Difficulty = 99;
  GameState = 40;
  r.Frames(1);
  EXPECT_EQ(GameState, 32);
  EXPECT_EQ(CountActors<TGOverSprite>(r.e()), 0);
  r.Frames(2);
  EXPECT_EQ(GameState, 30);
  EXPECT_FALSE(GameRec->ContinueAvailable);
}

TEST_F(SceneTest, ClearedStageAddsALifeAndAnEmptyStageWrapsToZero) {
  SceneRun r(dir(), "");
  StartEasy(r);
  // Stage 1 of this Easy set is empty.
  GameState = 3;
  GameRec->EggsLeft = 0;
  const int lives = GameRec->Lives;
  r.Frames(1);
  EXPECT_EQ(GameState, 5);
  EXPECT_EQ(StageNo, 1);
  r.Frames(2);
  EXPECT_EQ(GameState, 4);
  EXPECT_EQ(StageNo, 0);
  EXPECT_EQ(GameRec->EggsLeft, 1);
  EXPECT_EQ(GameRec->Lives, lives + 1);
  EXPECT_TRUE(BlindActive);
  // The next clear goes on to stage 1 again and gives one more life.
  GameState = 3;
  GameRec->EggsLeft = 0;
  r.Frames(3);
  EXPECT_EQ(GameRec->Lives, lives + 2);
}

TEST_F(SceneTest, LastStageStartsTheEndingOnce) {
  SceneRun r(dir(), "");
  int endings = 0;
  PlayHost.StartEnding = [&](int) { ++endings; };
  StartEasy(r);
  StageNo = 15;
  for (int i = 0; i < 5; ++i) {
    GameState = 3;  // the scene step sees EggsLeft 0 again on later frames
    GameRec->EggsLeft = 0;
    r.Frames(1);
    EXPECT_EQ(GameState, 4);
    EXPECT_EQ(SceneStep, 999);
  }
  EXPECT_EQ(endings, 1);
  EXPECT_EQ(StageNo, 15);
}

TEST_F(SceneTest, AfterGameTheContinueStageStaysInsideTheDifficulty) {
  SceneRun r(dir(), "");
  r.Frames(2);
  struct Case { int difficulty, stage, cont, last; };
  for (Case c : {Case{0, 16, 15, 15}, Case{0, 7, 7, 7}, Case{1, 24, 23, 23}, Case{2, 31, 31, 31}, Case{3, 40, 31, 31}}) {
    GameRec->Difficulty = c.difficulty;
    StageNo = c.stage;
    CancelBlind(r.f());
    GameState = 42;
    r.Frames(1);
    EXPECT_EQ(GameRec->ContinueStage, c.cont) << c.difficulty << " " << c.stage;
    EXPECT_EQ(GameRec->LastStage[c.difficulty], c.last);
    EXPECT_GE(GameRec->BestStage[c.difficulty], c.stage);
    EXPECT_EQ(GameRec->ContinueDifficulty, c.difficulty);
  }
}

// ---------------------------------------------------------------------------
// Stage selection

namespace {
void OpenSelection(SceneRun& r, int difficulty) {
  PointAway();
  r.Frames(2);
  r.f().StartStageSelect(difficulty);
  ASSERT_EQ(GameState, 21);
  ASSERT_GT(r.Until([&] { return !BlindActive; }, 200), 0);
  ASSERT_EQ(CountActors<TSelBtnSprite>(r.e()), 4);
}
// The hand sits at pointer + (4, 0); its hot spot is (x + 6, y).
void PointAtSel(int index) { platform::cursor_warp(kSelBtnX[index] + 10, kSelBtnY + 10); }
// A pressed button stays pressed while the pointer stays on it: leave between clicks.
void Click(SceneRun& r, int index) {
  PointAtSel(index);
  LeftButton = true;
  r.Frames(1);
  LeftButton = false;
  platform::cursor_warp(250, 200);
  r.Frames(6);
}
}  // namespace

TEST_F(SceneTest, StageSelectionWalksUpToBestStageAndBack) {
  SceneRun r(dir(), "");
  GameRec->BestStage[1] = 2;
  GameRec->LastStage[1] = 30;  // limited to Normal's last stage
  PointAway();
  r.Frames(2);
  r.f().StartStageSelect(1);
  EXPECT_EQ(GameState, 21);
  EXPECT_EQ(SelectStageNo, 23);
  EXPECT_EQ(GameRec->LastStage[1], 23);
  EXPECT_EQ(CountActors<TSecretBtnSprite>(r.e()), 4);
  EXPECT_EQ(CountActors<THand3Sprite>(r.e()), 1);
  ASSERT_GT(r.Until([] { return !BlindActive; }, 200), 0);
  EXPECT_EQ(CountActors<TTitleSprite>(r.e()), 0);
  SelectStageNo = 0;
  r.Frames(1);
  EXPECT_EQ(SelButton(r.e(), 0)->Pattern(), 8);  // previous disabled at stage 0
  for (int want : {1, 2, 2}) {
    Click(r, 2);
    EXPECT_EQ(SelectStageNo, want);
  }
  EXPECT_EQ(SelButton(r.e(), 2)->Pattern(), 10);  // next disabled at BestStage
  Click(r, 0);
  EXPECT_EQ(SelectStageNo, 1);
  Click(r, 3);  // back
  EXPECT_EQ(GameState, 31);
  EXPECT_EQ(CountActors<THand3Sprite>(r.e()), 0);
  EXPECT_EQ(CountActors<TSecretBtnSprite>(r.e()), 0);
  ASSERT_GT(r.Until([] { return !BlindActive; }, 200), 0);
  EXPECT_EQ(CountActors<TSelBtnSprite>(r.e()), 0);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 4);
}

TEST_F(SceneTest, StageSelectionPlayStartsTheShownStage) {
  SceneRun r(dir(), "");
  GameRec->BestStage[2] = 5;
  GameRec->LastStage[2] = 4;
  OpenSelection(r, 2);
  EXPECT_EQ(SelectStageNo, 4);
  PointAtSel(1);
  LeftButton = true;
  r.Frames(1);
  EXPECT_EQ(GameState, 2);
  EXPECT_EQ(StageNo, 4);
  EXPECT_EQ(GameRec->StartStage, 4);
  EXPECT_EQ(GameRec->StageSetPath, GameRec->SelectSetPath);
}

TEST_F(SceneTest, SecretCornersInOrderOpenEveryStage) {
  SceneRun r(dir(), "");
  OpenSelection(r, 0);
  const int order[4][2] = {{0, 0}, {344, 352}, {0, 352}, {344, 0}};
  for (int i = 0; i < 4; ++i) {
    // Hot spot (pointer + 10, pointer) strictly inside the 32 x 32 corner.
    platform::cursor_warp(order[i][0] + 4, order[i][1] + 10);
    RightButton = true;
    r.Frames(1);
    RightButton = false;
    r.Frames(1);
    EXPECT_EQ(SecretPresses, i + 1);
    EXPECT_EQ(CountActors<TSecretBtnSprite>(r.e()), 3 - i);
  }
  EXPECT_EQ(GameRec->BestStage[0], 15);
  EXPECT_EQ(GameRec->BestStage[1], 23);
  EXPECT_EQ(GameRec->BestStage[2], 31);
  EXPECT_FALSE(SecretUnlocked);
}

TEST_F(SceneTest, SecretCornerOutOfOrderRemovesAll) {
  SceneRun r(dir(), "");
  OpenSelection(r, 0);
  platform::cursor_warp(0 + 4, 352 + 10);  // bottom-left first
  RightButton = true;
  r.Frames(1);
  RightButton = false;
  r.Frames(1);
  EXPECT_EQ(SecretPresses, 0);
  EXPECT_EQ(CountActors<TSecretBtnSprite>(r.e()), 0);
  EXPECT_EQ(GameRec->BestStage[0], 0);
}

TEST_F(SceneTest, ShiftRightClickOnADisabledButtonFindsTheSecret) {
  SceneRun r(dir(), "1 keydown LShift\n");
  OpenSelection(r, 0);
  SelectStageNo = 0;
  PointAtSel(0);  // previous is disabled at stage 0
  r.Frames(1);
  ASSERT_EQ(SelButton(r.e(), 0)->Pattern(), 8);
  EXPECT_FALSE(SecretUnlocked);
  RightButton = true;
  r.Frames(2);
  EXPECT_TRUE(SecretUnlocked);
  EXPECT_TRUE(SelButton(r.e(), 0)->OhNoSaid);
  EXPECT_EQ(SelectStageNo, 0);
}

TEST_F(SceneTest, RightClickWithoutShiftFindsNothing) {
  SceneRun r(dir(), "");
  OpenSelection(r, 0);
  SelectStageNo = 0;
  PointAtSel(0);
  RightButton = true;
  r.Frames(2);
  EXPECT_FALSE(SecretUnlocked);
}

TEST_F(SceneTest, MissingSelectionSetLeavesTheTitle) {
  ASSERT_TRUE(platform::remove_file(dir() + "ZRStage/HARD.EGS"));
  SceneRun r(dir(), "");
  PointAway();
  r.Frames(2);
  r.f().StartStageSelect(2);
  EXPECT_EQ(GameState, 31);
  EXPECT_EQ(CountActors<THand3Sprite>(r.e()), 0);
  EXPECT_FALSE(BlindActive);
}

// ---------------------------------------------------------------------------
// About screen and credit pages

TEST_F(SceneTest, AboutScreenTwoPagesThenTheTitle) {
  SceneRun r(dir(), "");
  PointAway();
  r.Frames(2);
  r.f().AboutZubrollClick();
  r.Frames(1);
  EXPECT_EQ(GameState, 71);
  EXPECT_EQ(CountActors<TAboutSprite>(r.e()), 1);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 0);
  EXPECT_EQ(BackgroundPattern(r.f()), 9);
  r.Frames(1);
  EXPECT_EQ(FindActor<TAboutSprite>(r.e())->Pattern(), 0);
  LeftButton = true;
  r.Frames(1);
  EXPECT_EQ(GameState, 72);
  EXPECT_FALSE(LeftButton);
  r.Frames(1);
  EXPECT_EQ(FindActor<TAboutSprite>(r.e())->Pattern(), 1);
  LeftButton = true;
  r.Frames(1);
  EXPECT_EQ(GameState, 33);
  EXPECT_EQ(BackgroundPattern(r.f()), 0);
  r.Frames(2);
  EXPECT_EQ(GameState, 31);
  EXPECT_EQ(CountActors<TAboutSprite>(r.e()), 0);
  EXPECT_EQ(CountActors<THand4Sprite>(r.e()), 0);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 4);
}

TEST(CreditPages, LayoutOfTheFourPages) {
  ASSERT_EQ(CreditPage(7), nullptr);
  ASSERT_EQ(CreditPage(12), nullptr);
  const TCreditPage* p8 = CreditPage(8);
  ASSERT_NE(p8, nullptr);
  EXPECT_EQ(p8->Count, 2);
  EXPECT_STREQ(p8->Lines[0].Text, "Design&Programming");
  EXPECT_FALSE(p8->Lines[0].Shadowed);
  EXPECT_STREQ(p8->Lines[1].Text, "The Zubroll team");
  EXPECT_EQ(p8->Lines[1].Size, 24);
  EXPECT_EQ(p8->Colour.r, 255);
  const TCreditPage* p9 = CreditPage(9);
  EXPECT_STREQ(p9->Lines[0].Text, "3D Objects&Animation");
  EXPECT_EQ(p9->Lines[0].Size, 14);
  EXPECT_EQ(p9->Colour.g, 255);
  const TCreditPage* p10 = CreditPage(10);
  EXPECT_EQ(p10->Count, 5);
  EXPECT_STREQ(p10->Lines[0].Text, "Special Thanks to...");
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(p10->Lines[i].X, 79);
    EXPECT_EQ(p10->Lines[i].Y, 110 + 20 * i);
    EXPECT_EQ(p10->Lines[i].Size, 16);
  }
  EXPECT_EQ(p10->Colour.b, 255);
  const TCreditPage* p11 = CreditPage(11);
  EXPECT_STREQ(p11->Lines[0].Text, "Thank you very much");
  EXPECT_STREQ(p11->Lines[1].Text, "For playing Zubroll!");
  EXPECT_EQ(p11->Lines[1].Y, 170);
}

TEST(CreditPages, ShadowInBlackThenThePageColour) {
  TDirectDrawSurface s;
  for (int i = 0; i < 256; ++i) s.Palette[i] = TRGB{uint8_t(i), uint8_t(i), uint8_t(i)};
  s.Palette[40] = TRGB{255, 0, 0};
  s.Palette[0] = TRGB{0, 0, 0};
  s.Fill(128);
  TCanvas c(&s);
  DrawCreditPage(c, 11);
  int red = 0, black = 0;
  for (int y = 130; y < 200; ++y)
    for (int x = 70; x < 376; ++x) {
      red += s.Pixel(x, y) == 40;
      black += s.Pixel(x, y) == 0;
    }
  EXPECT_GT(red, 100);
  EXPECT_GT(black, 20);  // the shadow shows below and right of the coloured text
}

// ---------------------------------------------------------------------------
// Game over letters

TEST(GameOverLetters, StartPlacesAndCurve) {
  EXPECT_EQ(GameOverLetterX(0), -1);
  EXPECT_EQ(GameOverLetterX(3), 137);
  EXPECT_EQ(GameOverLetterX(4), 196);
  EXPECT_EQ(GameOverLetterX(7), 328);
  // y = (2000 t^2 + y0 - t vy) div 4096, truncating toward zero.
  const int32_t y0 = 120 * 4096;
  EXPECT_EQ(GameOverCurve(1, y0, 20000, 2000), (2000 + y0 - 20000) / 4096);
  EXPECT_EQ(GameOverCurve(5, y0, 20000, 2000), 107);  // top of the hop: 441520 div 4096
  EXPECT_EQ(GameOverCurve(10, y0, 20000, 2000), 120);
  EXPECT_EQ(GameOverCurve(3, -100, 0, 0), 0);  // truncation toward zero for negatives
  EXPECT_EQ(GameOverCurve(1, -8192 - 100, 0, 0), -2);
}

TEST_F(SceneTest, LetterDropsOnItsCurveAndBouncesOnce) {
  SceneRun r(dir(), "");
  r.Frames(2);
  auto* l = new TGOverSprite(&r.e(), 5);
  r.Frames(15);
  ASSERT_EQ(l->Phase, TGOverSprite::Resting);
  l->Counter = 28;
  r.Frames(1);  // passes 28: the drop begins
  ASSERT_EQ(l->Phase, TGOverSprite::Dropping);
  EXPECT_EQ(l->Counter, 0);
  const int x = GameOverLetterX(5);
  int t = 0;
  while (l->Phase == TGOverSprite::Dropping) {
    r.Frames(1);
    ++t;
    if (l->Phase != TGOverSprite::Dropping) break;
    EXPECT_EQ(int(l->Y), GameOverCurve(t, 120 * 4096, 20000, 2000)) << t;
    EXPECT_EQ(int(l->X), x);
  }
  // First frame above 330: the bounce starts from there.
  EXPECT_GT(GameOverCurve(t, 120 * 4096, 20000, 2000), 330);
  EXPECT_LE(GameOverCurve(t - 1, 120 * 4096, 20000, 2000), 330);
  EXPECT_FALSE(l->Collisioned);
  EXPECT_TRUE(l->VX == 3000 || l->VX == -3000);
  EXPECT_GE(l->VY, 60000);
  EXPECT_LE(l->VY, 60000 + 800 * 9);
  EXPECT_EQ(l->VY % 800, 0);
  const int32_t x0 = l->X0, y0 = l->Y0, vx = l->VX, vy = l->VY;
  EXPECT_EQ(x0, x * 4096);
  for (int k = 1; k <= 5; ++k) {
    r.Frames(1);
    EXPECT_EQ(int(l->X), (k * vx + x0) / 4096);
    EXPECT_EQ(int(l->Y), GameOverCurve(k, y0, vy, 2000));
  }
  ASSERT_GT(r.Until([&] { return CountActors<TGOverSprite>(r.e()) == 0; }, 200), 0);
}

TEST_F(SceneTest, TitleEditBoxOpensTheEditorOnce) {
  SceneRun r(dir(), "3 move 450 300\n4 down left\n5 up left\n");
  int opened = 0;
  SceneHooks().OpenEditor = [&](TMainZubForm&) { ++opened; };
  r.Frames(10);
  SceneHooks().OpenEditor = nullptr;
  EXPECT_EQ(GameState, 16);
  EXPECT_EQ(SceneStep, 0);
  EXPECT_EQ(opened, 1);
}

TEST_F(SceneTest, BossStageGetsItsBackground) {
  // Stage 0 of this Easy set carries a BBos cell (boss kind 2): pattern 17.
  TStageSet set;
  std::memset(static_cast<void*>(&set), 0, sizeof set);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::read_file(dir() + "ZRStage/EASY.EGS", bytes));
  std::memcpy(static_cast<void*>(&set), bytes.data(), sizeof set);
  set.Cell(0, 5, 15) = 11;
  ASSERT_TRUE(platform::write_file_atomic(dir() + "ZRStage/EASY.EGS", &set, sizeof set));
  SceneRun r(dir(), "");
  StartEasy(r);
  EXPECT_EQ(StageBossKind(0), 2);
  EXPECT_EQ(BackgroundPattern(r.f()), 17);
  EXPECT_EQ(GameRec->BackgroundNo, 1);
}

TEST_F(SceneTest, SelectionOpenedDuringTheTitleBlindShowsItsOwnStage) {
  SceneRun r(dir(), "");
  GameRec->BestStage[0] = 6;
  GameRec->LastStage[0] = 6;
  PointAway();
  r.Frames(2);
  TitleLocked = true;
  StartBlind(r.f(), 0);  // as after a game over
  r.Frames(10);
  r.f().StartStageSelect(0);
  r.f().StartStageSelect(0);  // twice from the menu
  EXPECT_EQ(CountActors<THand3Sprite>(r.e()), 1);
  ASSERT_NE(Leader(r.e()), nullptr);
  EXPECT_EQ(Leader(r.e())->Target, 6);
  ASSERT_GT(r.Until([] { return !BlindActive; }, 200), 0);
  EXPECT_EQ(CountActors<TSelBtnSprite>(r.e()), 4);
  EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 0);
}

TEST_F(SceneTest, SelectionOpenedAtAnyPointOfTheTitleBlindGetsItsButtons) {
  // The cancelled strips must not act in the frame before they are freed: the old
  // leader reaching its closing, rebuilding or opening count would clear the new
  // field, rebuild the title or send the new strips out before they have closed.
  for (int into : {kBlindClosedCount - 1, kBlindRebuildCount - 1, kBlindRebuildCount, kBlindOpenCount - 1,
                   kBlindOpenCount + 5}) {
    SCOPED_TRACE(into);
    SceneRun r(dir(), "");
    GameRec->BestStage[0] = 2;
    GameRec->LastStage[0] = 2;
    PointAway();
    r.Frames(2);
    TitleLocked = true;
    StartBlind(r.f(), 0);  // back to the title, as after the selection's back button
    r.Frames(into);
    r.f().StartStageSelect(0);
    ASSERT_GT(r.Until([] { return !BlindActive; }, 200), 0);
    r.Frames(2);
    EXPECT_EQ(GameState, 21);
    EXPECT_EQ(CountActors<TBlindSprite>(r.e()), 0);  // no strip left standing
    EXPECT_EQ(CountActors<TSelBtnSprite>(r.e()), 4);
    EXPECT_EQ(CountActors<TStartBtnSprite>(r.e()), 0);
    EXPECT_EQ(CountActors<TTitleSprite>(r.e()), 0);
    EXPECT_GT(CountActors<TEggSprite>(r.e()), 0);  // the field of the stage shown
    EXPECT_FALSE(TitleLocked);
  }
}

TEST_F(SceneTest, SelectionOpenedFromTheAboutPageShowsItsStage) {
  // The about page resets the field; the stage the selection lays out must still live.
  SceneRun r(dir(), "");
  GameRec->BestStage[0] = 3;
  GameRec->LastStage[0] = 2;  // (stage 1 of this Easy set is empty)
  PointAway();
  r.Frames(2);
  r.f().AboutZubrollClick();
  r.Frames(2);
  ASSERT_EQ(GameState, 71);
  r.f().StartStageSelect(0);
  ASSERT_GT(r.Until([] { return !BlindActive; }, 200), 0);
  r.Frames(2);
  EXPECT_EQ(GameState, 21);
  EXPECT_EQ(CountActors<TAboutSprite>(r.e()), 0);
  EXPECT_EQ(CountActors<TSelBtnSprite>(r.e()), 4);
  EXPECT_GT(CountActors<TEggSprite>(r.e()), 0);
  Click(r, 2);  // next: the stage it builds stays too
  EXPECT_EQ(SelectStageNo, 3);
  r.Frames(2);
  EXPECT_GT(CountActors<TEggSprite>(r.e()), 0);
}

TEST_F(SceneTest, ScriptedPlayerWalksTitleSelectionPlayAndQuit) {
  // Right-click Easy, walk one stage forward, go back, left-click Normal, quit with Esc.
  SceneRun r(dir(),
             "2 move 70 280\n3 down right\n4 up right\n"
             "120 move 240 320\n121 down left\n122 up left\n"  // next (hot spot 250, 320)
             "140 move 316 320\n141 down left\n142 up left\n"  // back
             "300 move 170 280\n301 down left\n302 up left\n"  // Normal
             "420 key Escape\n");
  GameRec->BestStage[0] = 3;
  r.Frames(10);
  EXPECT_EQ(GameState, 21);
  EXPECT_EQ(GameRec->Difficulty, 0);
  r.Until([] { return platform::frame_number() >= 130; });
  EXPECT_EQ(SelectStageNo, 1);
  r.Until([] { return platform::frame_number() >= 145; });
  EXPECT_EQ(GameState, 31);
  EXPECT_TRUE(TitleLocked);  // the blind back to the title
  r.Until([] { return platform::frame_number() >= 305; });
  EXPECT_LT(GameState, 15);
  EXPECT_EQ(GameRec->Difficulty, 1);
  r.Until([] { return platform::frame_number() >= 425; });
  EXPECT_EQ(GameState, 31);
  EXPECT_TRUE(GameRec->ContinueAvailable);
  EXPECT_EQ(GameRec->ContinueDifficulty, 1);
}

namespace {

// The trace documentation names every field the running game writes, in its order.
TEST_F(SceneTest, TraceFieldsAreTheDocumentedOnes) {
  {
    SceneRun r(dir(), "", {"--trace", dir() + "t.txt"});
    r.Frames(3);
  }  // closes the trace
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(platform::read_file(dir() + "t.txt", bytes));
  const std::string text(bytes.begin(), bytes.end());
  std::vector<std::string> written;
  for (size_t p = 0; p < text.size() && text[p] != '\n';) {
    const size_t eq = text.find('=', p);
    ASSERT_NE(eq, std::string::npos);
    written.push_back(text.substr(p, eq - p));
    p = text.find_first_of(" \n", eq);
    if (p == std::string::npos || text[p] == '\n') break;
    ++p;
  }
  ASSERT_TRUE(platform::read_file(ZUBROLL_SOURCE_DIR "/../README.md", bytes));
  const std::string doc(bytes.begin(), bytes.end());
  const size_t from = doc.find("### Trace"), to = doc.find("###", from + 1);
  ASSERT_NE(from, std::string::npos);
  std::vector<std::string> documented;
  size_t p = from;
  while ((p = doc.find("\n| `", p)) != std::string::npos && p < to) {
    const size_t bar = doc.find(" |", p + 3);
    const std::string cell = doc.substr(p + 3, bar - p - 3);  // "`A`, `B`"
    for (size_t q = 0; (q = cell.find('`', q)) != std::string::npos;) {
      const size_t e = cell.find('`', q + 1);
      documented.push_back(cell.substr(q + 1, e - q - 1));
      q = e + 1;
    }
    p = bar;
  }
  EXPECT_EQ(documented, written);
}

}  // namespace
