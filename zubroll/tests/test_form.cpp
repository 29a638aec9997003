// The main form driven headless through the real frame loop.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "fixtures.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/image_io.h"
#include "platform/msgbox.h"
#include "zubroll/play/hooks.h"
#include "zubroll/shell/Main.h"
#include "zubroll/shell/fps.h"

using namespace zubroll;
using zubroll::test::TempFolder;

namespace {

struct GameRun {
  std::string dir;
  std::unique_ptr<TMainZubForm> form;

  // A program folder with the fixture data, stage sets and (with music) ZRSound/ZRBGM1.WAV.
  static void Prepare(const std::string& dir, bool music = true) {
    ASSERT_TRUE(test::WriteFixtureData(dir));
    ASSERT_TRUE(platform::make_folder(dir + "ZRStage"));
    for (const char* n : {"EASY.EGS", "NORMAL.EGS", "HARD.EGS"})
      ASSERT_TRUE(test::WriteFixtureStageSet(dir + "ZRStage/" + n));
    if (music) {
      ASSERT_TRUE(platform::make_folder(dir + "ZRSound"));
      std::vector<uint8_t> pcm(22050, 128);
      ASSERT_TRUE(platform::write_file_atomic(dir + "ZRSound/ZRBGM1.WAV",
                                              platform::make_wav({22050, 1, 8}, pcm.data(), pcm.size())));
    }
  }

  GameRun(const std::string& folder, const std::string& script, std::vector<std::string> args = {"-W"}) : dir(folder) {
    platform::set_program_folder(dir);
    EXPECT_TRUE(test::WriteFile(dir + "in.txt", script));
    std::vector<std::string> a = {"zubroll", "--headless", "--input", dir + "in.txt"};
    std::vector<const char*> argv;
    for (auto& s : a) argv.push_back(s.c_str());
    platform::Options o;
    std::string err;
    EXPECT_TRUE(platform::parse_options(int(argv.size()), argv.data(), o, err)) << err;
    EXPECT_TRUE(platform::init(o, err)) << err;
    EXPECT_TRUE(platform::display_open({"zubroll", 512, 400, false, 1, false}, err)) << err;
    ResetLooseGlobals();
    form = std::make_unique<TMainZubForm>();
    form->FormCreate(args);
  }
  ~GameRun() {
    if (form && !form->Closed) form->FormClose();
    form.reset();
    platform::display_close();
    platform::shutdown();
  }
  void Frames(int n) {
    for (int i = 0; i < n && !form->Closed; ++i) form->RunOneLoopPass();
  }
  TMainZubForm& f() { return *form; }
};

struct FormTest : ::testing::Test {
  TempFolder tmp;
  void SetUp() override { GameRun::Prepare(tmp.path()); }
};

}  // namespace

TEST_F(FormTest, StartsOnTheTitleAndF1StartsARun) {
  GameRun r(tmp.path(), "5 key F1\n");
  ASSERT_FALSE(r.f().StartFailed);
  r.Frames(4);
  EXPECT_EQ(GameState, 31);
  EXPECT_EQ(GameRec->Lives, 3);
  EXPECT_EQ(GameRec->HighScoreToBeat, 99999999);
  EXPECT_TRUE(r.f().Item("GameStart").enabled);  // enabled on the title
  r.Frames(1);
  EXPECT_EQ(GameState, 2);  // 1, then the scene step of the same frame
  EXPECT_EQ(GameRec->Difficulty, 0);
  EXPECT_EQ(GameRec->HighScoreToBeat, 50000);
  EXPECT_NE(GameRec->StageSetPath.find("ZRStage/EASY.EGS"), std::string::npos);
  r.Frames(3);
  EXPECT_EQ(GameState, 4);
  EXPECT_EQ(GameRec->EggsLeft, 2);
  EXPECT_EQ(GameRec->BallSpeedCap, 1024);
  EXPECT_FALSE(r.f().Item("GameStart").enabled);
  EXPECT_TRUE(r.f().Item("PauseItem").enabled);
}

TEST_F(FormTest, MenuStateOnTheTitle) {
  GameRun r(tmp.path(), "");
  r.Frames(2);
  EXPECT_TRUE(r.f().Item("GameStart").enabled);
  EXPECT_FALSE(r.f().Item("PauseItem").enabled);
  EXPECT_FALSE(r.f().Item("ContinuItem").enabled);
  EXPECT_FALSE(r.f().Item("Btitem").visible);
  EXPECT_EQ(r.f().Item("Btitem").shortcut.text(), "Ctrl+B");
  EXPECT_EQ(r.f().Item("EasySelItem").shortcut.text(), "Shift+F1");
  EXPECT_TRUE(r.f().Checked("NoTimerItem"));
  EXPECT_FALSE(r.f().Checked("DispFrameItem"));
  EXPECT_FALSE(r.f().Checked("MaxScreenItem"));  // -W
  EXPECT_EQ(r.f().SurfaceLeft, 0);
  EXPECT_TRUE(r.f().IdleLoopActive);
  EXPECT_FALSE(r.f().DXTimer.Enabled());
  int w, h;
  platform::display_last_frame(w, h);
  EXPECT_EQ(w, 512);
  EXPECT_EQ(h, 400);
}

// The whole menu as the player sees it at start (default settings, "-W"): nesting,
// captions, shortcuts, separators, initial checks and the hidden item.
TEST_F(FormTest, MenuTreeCaptionsShortcutsSeparatorsAndChecks) {
  GameRun r(tmp.path(), "");
  std::string tree;
  std::function<void(const platform::forms::MenuItem&, int)> dump = [&](const platform::forms::MenuItem& m,
                                                                        int depth) {
    for (const auto& it : m.items) {
      tree += std::string(size_t(2 * depth), ' ');
      if (it->is_separator()) {
        tree += "-\n";
        continue;
      }
      tree += it->name + " \"" + it->caption + "\"";
      if (!it->shortcut.empty()) tree += " " + it->shortcut.text();
      if (it->checked) tree += " [x]";
      if (!it->visible) tree += " hidden";
      tree += "\n";
      dump(*it, depth + 1);
    }
  };
  dump(r.f().MainMenu.root, 0);
  EXPECT_EQ(tree,
            "FileMenu \"&File\"\n"
            "  GameStart \"&New Game\"\n"
            "    ContinuItem \"&Continue\" F4\n"
            "    -\n"
            "    EasyItem \"&Easy\" F1\n"
            "    NormalItem \"&Normal\" F2\n"
            "    HardItem \"&Hard\" F3\n"
            "  SelectStart \"&Select Stage\"\n"
            "    EasySelItem \"&Easy\" Shift+F1\n"
            "    NormalSelItem \"&Normal\" Shift+F2\n"
            "    HardSelItem \"&Hard\" Shift+F3\n"
            "  EditStage \"&Edit Stage\" F8\n"
            "  ReplayItem \"Open &Replay File...\" F5\n"
            "  -\n"
            "  PauseItem \"&Pause\"\n"
            "  -\n"
            "  ExitItem \"E&xit\"\n"
            "OptionMenu \"&Option\"\n"
            "  MaxScreenItem \"&Full Screen\" F10\n"
            "  SFXOptionItem \"&Sound Effects\" [x]\n"
            "  BGMOptionItem \"BG&M\" [x]\n"
            "  SoundVolume \"&Volume...\"\n"
            "  RecReplayItem \"Save &Replay Files\" [x]\n"
            "  N6 \"&Advanced Option\"\n"
            "    UseVRAMItem \"&Use VRAM\" [x]\n"
            "    WaitVblItem \"&Wait VBL\" [x]\n"
            "    NoTimerItem \"Don't use MMTimer\" [x]\n"
            "    -\n"
            "    DispFrameItem \"&Display FPS Rate\"\n"
            "    NoWaitItem \"&No Wait\"\n"
            "    Btitem \"???\" Ctrl+B hidden\n"
            "  -\n"
            "  DelHiItem \"&Erase High Score\"\n"
            "    DelEasyHiItem \"&Easy...\"\n"
            "    DelNormalHiItem \"&Normal...\"\n"
            "    DelHardHiItem \"&Hard...\"\n"
            "HelpMenu \"&Help\"\n"
            "  AboutZubroll \"&About Zubroll DX for Windows...\"\n");
}

TEST_F(FormTest, UpdateMenusTable) {
  GameRun r(tmp.path(), "");
  struct Case {
    int state;
    bool starts, pause;
  } cases[] = {{3, false, true}, {14, false, true}, {15, false, false}, {16, true, false}, {31, true, false}};
  for (const Case& c : cases) {
    GameState = c.state;
    for (bool cont : {false, true}) {
      GameRec->ContinueAvailable = cont;
      r.f().UpdateMenus();
      for (const char* n : {"GameStart", "SelectStart", "EditStage", "ReplayItem", "AboutZubroll"})
        EXPECT_EQ(r.f().Item(n).enabled, c.starts) << n << " " << c.state;
      EXPECT_EQ(r.f().Item("PauseItem").enabled, c.pause) << c.state;
      EXPECT_EQ(r.f().Item("ContinuItem").enabled, cont);
    }
  }
}

TEST_F(FormTest, ButtonPressedInEveryInputMode) {
  GameRun r(tmp.path(), "1 move 100 300\n2 down left\n");
  r.Frames(2);
  GameState = 3;
  struct Case {
    int mode;
    int16_t slot;
    bool expect;
    int frame_after;
  } cases[] = {{0, 0, true, 5}, {3, 0, true, 5}, {1, 0, true, 6}, {2, 10000, true, 6}, {2, 240, false, 5}};
  for (const Case& c : cases) {
    InputMode = c.mode;
    ReplayFrame = 5;
    ReplayRec->Slots[5] = c.slot;
    EXPECT_EQ(r.f().ButtonPressed(), c.expect) << c.mode;
    EXPECT_EQ(ReplayFrame, c.frame_after) << c.mode;
    if (c.mode == 1) {
      EXPECT_EQ(ReplayRec->Slots[5], 10000);
    }
  }
  // The limit: the slot at 14400 is written, the index stays.
  InputMode = 1;
  ReplayFrame = 14400;
  EXPECT_TRUE(r.f().ButtonPressed());
  EXPECT_EQ(ReplayFrame, 14400);
  EXPECT_EQ(ReplayRec->Slots[14400], 10000);
  // Paused or quitting: never.
  InputMode = 0;
  r.f().SetChecked("PauseItem", true);
  EXPECT_FALSE(r.f().ButtonPressed());
  r.f().SetChecked("PauseItem", false);
  GameState = 33;
  EXPECT_FALSE(r.f().ButtonPressed());
}

TEST_F(FormTest, GetMousePosByModeWithClampAndReplaySlots) {
  GameRun r(tmp.path(), "");
  r.Frames(1);
  GameState = 31;
  platform::cursor_warp(250, 120);
  r.f().GetMousePos();
  EXPECT_EQ(r.f().PaddleX, 250);  // the title gets the plain surface point
  EXPECT_EQ(r.f().PaddleY, 120);
  GameState = 3;
  struct Case {
    int x, expect;
  } clamp[] = {{0, -32}, {10, -22}, {300, 268}, {404, 372}, {500, 372}};
  for (const Case& c : clamp) {
    platform::cursor_warp(c.x, 100);
    r.f().GetMousePos();
    EXPECT_EQ(r.f().PaddleX, c.expect) << c.x;
    EXPECT_EQ(r.f().PaddleY, 378);
  }
  // Recording: the pointer x before 32 is taken off goes into the slot.
  InputMode = 1;
  ReplayFrame = 0;
  platform::cursor_warp(123, 50);
  r.f().GetMousePos();
  EXPECT_EQ(ReplayRec->Slots[0], 123);
  EXPECT_EQ(ReplayFrame, 1);
  int cx, cy;
  platform::pointer_position(cx, cy);
  EXPECT_EQ(cx, 123);
  EXPECT_EQ(cy, 378);  // the cursor is kept on the paddle line
  // At the limit the last slot is written again and the index stays, recording and playing.
  ReplayFrame = kReplayFrameLimit;
  platform::cursor_warp(77, 50);
  r.f().GetMousePos();
  EXPECT_EQ(ReplayRec->Slots[kReplayFrameLimit], 77);
  EXPECT_EQ(ReplayFrame, kReplayFrameLimit);
  InputMode = 2;
  r.f().GetMousePos();
  EXPECT_EQ(ReplayFrame, kReplayFrameLimit);
  EXPECT_EQ(r.f().PaddleX, 77 - 32);
  // Playback: positions come from the slots.
  InputMode = 2;
  ReplayFrame = 0;
  ReplayRec->Slots[0] = 40;
  ReplayRec->Slots[1] = kReplayEnd;
  r.f().GetMousePos();
  EXPECT_EQ(r.f().PaddleX, 8);
  EXPECT_EQ(ReplayFrame, 1);
  // Paused: nothing moves, frame after frame.
  r.f().SetChecked("PauseItem", true);
  for (int i = 0; i < 3; ++i) {
    r.f().GetMousePos();
    EXPECT_EQ(ReplayFrame, 1);
    EXPECT_EQ(r.f().PaddleX, 8);
    EXPECT_EQ(r.f().PaddleY, 378);
  }
  r.f().SetChecked("PauseItem", false);
  // The end marker ends the replay.
  Score = 500;
  r.f().ReplaySavedScore = 1200;
  r.f().ReplaySavedShownScore = 1200;
  r.f().GetMousePos();
  EXPECT_EQ(GameState, 40);
  EXPECT_EQ(InputMode, 0);
  EXPECT_EQ(Score, 1200);
  EXPECT_EQ(ShownScore, 1199);  // lowered so that the score is redrawn
  platform::pointer_position(cx, cy);
  EXPECT_EQ(cx, 260);
  EXPECT_EQ(cy, 379);
  // On the title after 30 frames a replay is cut off.
  GameState = 31;
  SceneTimer = 31;
  InputMode = 2;
  ReplayFrame = 0;
  ReplayRec->Slots[0] = 100;
  r.f().GetMousePos();
  EXPECT_EQ(GameState, 40);
  EXPECT_EQ(GameRec->ReplayState, 30);
}

TEST_F(FormTest, PlaySoundPansAndRespectsTheSwitches) {
  GameRun r(tmp.path(), "");
  r.Frames(1);
  ASSERT_TRUE(BgmAvailable);
  ASSERT_TRUE(r.f().Checked("SFXOptionItem"));
  TWaveCollectionItem* w = r.f().DXWaveList.Find("HitZub");
  SfxVolume = -600;
  struct Case {
    int x, pan;
  } cases[] = {{0, -1000}, {200, 0}, {400, 1000}, {100, -500}};
  for (const Case& c : cases) {
    r.f().PlaySound("HitZub", c.x, false);
    EXPECT_EQ(w->Pan(), c.pan) << c.x;
    EXPECT_EQ(w->Volume(), -600);
  }
  EXPECT_EQ(w->PlayingCount(), 4);
  for (int i = 0; i < 4; ++i) r.f().PlaySound("HitZub", 200, false);
  EXPECT_EQ(w->CopyCount(), 6);  // the seventh and eighth restart the oldest copies
  EXPECT_EQ(w->PlayingCount(), 6);
  GameRec->ReplayState = 1;  // attract replay: silent
  r.f().PlaySound("HitZub", 0, false);
  EXPECT_EQ(w->Pan(), 0);
  GameRec->ReplayState = 0;
  r.f().SFXOptionItemClick();
  r.f().PlaySound("HitZub", 0, false);
  EXPECT_EQ(w->Pan(), 0);
  r.f().SFXOptionItemClick();
  EXPECT_THROW(r.f().PlaySound("NoSuchWave", 0, false), std::runtime_error);
}

TEST_F(FormTest, FpsAverageFormulas) {
  GameRun r(tmp.path(), "");
  r.Frames(1);
  // Idle driver: (FpsAverage + 1000 div FrameTime + 1) div 2.
  FpsAverage = 30;
  r.f().SetChecked("NoWaitItem", true);
  LastFrameTime = platform::ticks() - 50;
  ASSERT_TRUE(r.f().IdleFrame());
  EXPECT_EQ(FrameTime, 50u);
  EXPECT_EQ(FpsAverage, (30 + 20 + 1) / 2);
  LastFrameTime = platform::ticks();  // no time passed: FrameTime counts as 1
  ASSERT_TRUE(r.f().IdleFrame());
  EXPECT_EQ(FpsAverage, (25 + 1000 + 1) / 2);
  r.f().SetChecked("NoWaitItem", false);
  // Timer driver: (FpsAverage + FrameRate + 1) div 2.
  r.f().NoTimerItemClick();
  EXPECT_TRUE(r.f().DXTimer.Enabled());
  EXPECT_FALSE(r.f().IdleLoopActive);
  FpsAverage = 30;
  const uint32_t t0 = platform::ticks();
  ASSERT_TRUE(r.f().DXTimer.Poll(t0 + 33));
  EXPECT_EQ(FpsAverage, (30 + 1 + 1) / 2);
  ASSERT_TRUE(r.f().DXTimer.Poll(t0 + 66));
  EXPECT_EQ(FpsAverage, (16 + 2 + 1) / 2);
  EXPECT_FALSE(r.f().DXTimer.Poll(t0 + 70));  // not due yet
}

TEST_F(FormTest, NoWaitLetsFramesRunWithoutWaiting) {
  GameRun r(tmp.path(), "2 menu NoWaitItem\n");
  r.Frames(2);
  const uint32_t t = platform::ticks();
  r.Frames(20);
  EXPECT_EQ(platform::ticks(), t);
  EXPECT_GT(FpsAverage, 900);
  EXPECT_EQ(GameState, 31);
}

TEST_F(FormTest, IdleDriverPacesTo33Milliseconds) {
  GameRun r(tmp.path(), "");
  r.Frames(2);
  const uint32_t t = platform::ticks();
  r.Frames(30);
  EXPECT_EQ(platform::ticks() - t, 30u * 33u);
  EXPECT_EQ(FpsAverage, 30);
}

TEST_F(FormTest, PauseKeyRules) {
  GameRun r(tmp.path(), "2 key P\n4 key F2\n10 key P\n12 down left\n13 up left\n15 key P\n");
  r.Frames(3);
  EXPECT_FALSE(r.f().Checked("PauseItem"));  // not on the title
  r.Frames(7);
  ASSERT_EQ(GameState, 4);
  EXPECT_TRUE(r.f().Checked("PauseItem"));
  EXPECT_EQ(r.f().CursorShowCount, 0);  // hidden by the start, shown by the pause
  r.Frames(1);
  EXPECT_TRUE(r.f().PauseSprite->Visible);
  EXPECT_TRUE(r.f().Hand2->Visible);
  r.Frames(1);  // the press resumes
  EXPECT_FALSE(r.f().Checked("PauseItem"));
  EXPECT_TRUE(r.f().CursorClipped);
  GameRec->ReplayState = 1;  // an attract replay ignores P
  r.Frames(3);
  EXPECT_FALSE(r.f().Checked("PauseItem"));
}

// Which scene states and replay states Esc, Q and P act in.
TEST_F(FormTest, QuitAndPauseKeysByState) {
  GameRun r(tmp.path(), "");
  r.Frames(1);
  struct Case {
    int state, replay;
    bool quits, pauses;
  } cases[] = {
      {1, 0, false, true},   {2, 0, false, true},   {3, 0, true, true},    {4, 0, true, true},
      {5, 0, false, true},   {6, 0, false, true},   {7, 0, true, true},    {14, 0, false, true},
      {15, 0, false, false}, {16, 0, false, false}, {21, 0, false, false}, {31, 0, false, false},
      {41, 0, false, false}, {42, 0, false, false}, {4, 1, true, false},   {4, 2, true, true},
  };
  for (const Case& c : cases) {
    for (platform::Key quit : {platform::Key::Escape, platform::Key::Q}) {
      GameState = c.state;
      GameRec->ReplayState = c.replay;
      r.f().FormKeyDown(quit, false, false, false);
      EXPECT_EQ(GameState, c.quits ? 33 : c.state) << c.state << " " << c.replay;
    }
    GameState = c.state;
    GameRec->ReplayState = c.replay;
    r.f().SetChecked("PauseItem", false);
    r.f().FormKeyDown(platform::Key::P, false, false, false);
    EXPECT_EQ(r.f().Checked("PauseItem"), c.pauses) << c.state << " " << c.replay;
    r.f().SetChecked("PauseItem", false);
  }
}

TEST_F(FormTest, PauseCaptionBlinks) {
  GameRun r(tmp.path(), "");
  r.Frames(1);
  GameState = 4;
  r.f().SetChecked("PauseItem", true);
  std::vector<bool> seen;
  for (int i = 0; i < 42; ++i) {
    r.f().PauseSprite->DoMove(4);
    seen.push_back(r.f().PauseSprite->Visible);
  }
  EXPECT_TRUE(seen[0]);
  EXPECT_TRUE(seen[19]);
  EXPECT_FALSE(seen[20]);
  EXPECT_FALSE(seen[40]);
  EXPECT_TRUE(seen[41]);  // the count returned to 0 after 40
  r.f().SetChecked("PauseItem", false);
  r.f().PauseSprite->DoMove(16);
  EXPECT_FALSE(r.f().PauseSprite->Visible);
}

TEST_F(FormTest, EscapeQuitsOnlyWhilePlayingAndOffersContinue) {
  GameRun r(tmp.path(), "2 key Escape\n4 key F3\n12 key Q\n");
  r.Frames(3);
  EXPECT_EQ(GameState, 31);
  r.Frames(9);
  EXPECT_EQ(GameState, 30);  // 33 -> 30 in the same frame
  EXPECT_TRUE(GameRec->ContinueAvailable);
  EXPECT_EQ(GameRec->ContinueDifficulty, 2);
  EXPECT_NE(GameRec->ContinueSetPath.find("HARD.EGS"), std::string::npos);
  EXPECT_TRUE(r.f().Item("ContinuItem").enabled);
  EXPECT_FALSE(r.f().CursorClipped);
}

// Quit at stage index 9 of Normal, continue from there, quit again and restart: the run
// continues where it was quit, and the saved checkpoint is the end of the last full block (7).
TEST_F(FormTest, QuitContinueAndTheCheckpointAcrossARestart) {
  {
    GameRun r(tmp.path(), "2 key F2\n");
    r.Frames(6);
    ASSERT_EQ(GameState, 4);
    StageNo = 9;
    Score = 1234;
    r.f().FormKeyDown(platform::Key::Escape, false, false, false);
    EXPECT_EQ(GameState, 33);
    EXPECT_EQ(GameRec->LastStage[1], 9);
    EXPECT_EQ(GameRec->BestStage[1], 9);
    EXPECT_EQ(GameRec->ContinueStage, 9);
    r.Frames(2);
    ASSERT_TRUE(r.f().MainMenu.handle_shortcut(platform::Key::F4, false, false, false));
    EXPECT_EQ(StageNo, 9);
    EXPECT_EQ(GameRec->StartStage, 9);
    EXPECT_EQ(GameRec->Difficulty, 1);
    EXPECT_NE(GameRec->StageSetPath.find("ZRStage/NORMAL.EGS"), std::string::npos);
    EXPECT_EQ(GameRec->Lives, 3);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(ShownScore, -1);
    EXPECT_EQ(NextExtraLife, 100000);
    EXPECT_EQ(GameRec->HighScoreToBeat, 50000);
    r.Frames(4);
    ASSERT_EQ(GameState, 4);
    r.f().FormKeyDown(platform::Key::Q, false, false, false);
    EXPECT_EQ(GameState, 33);
    ASSERT_TRUE(r.f().MainMenu.click("ExitItem"));
  }
  GameRun r(tmp.path(), "");
  r.Frames(1);
  EXPECT_EQ(GameRec->BestStage[1], 7);
  EXPECT_EQ(GameRec->BestStage[0], 0);
}

TEST_F(FormTest, MouseOnTheTitleAndDuringAnAttractReplay) {
  GameRun r(tmp.path(), "2 move 450 300\n3 down left\n4 up left\n6 move 100 100\n7 down left\n8 up left\n");
  r.Frames(3);
  EXPECT_EQ(GameState, 16);  // the title's edit box: 15, then 16 in the scene step
  GameState = 31;
  SceneStep = 0;
  r.Frames(4);
  // The click skips the title's waiting: the high score tables begin at once.
  EXPECT_EQ(SceneStep, 1);
  EXPECT_LT(SceneTimer, 5);
  GameRec->ReplayState = 1;
  InputMode = 2;
  GameState = 3;
  r.f().DXDrawMouseDown(platform::MouseLeft, 10, 10);
  EXPECT_EQ(GameState, 33);
  EXPECT_EQ(InputMode, 0);
  EXPECT_EQ(GameRec->ReplayState, 0);
  r.f().DXDrawMouseUp();
  EXPECT_FALSE(LeftButton);
}

TEST_F(FormTest, FocusLossStopsTheIdleLoop) {
  GameRun r(tmp.path(), "3 focus lost\n8 focus gained\n");
  r.Frames(3);
  const int t = SceneTimer;
  EXPECT_FALSE(r.f().IdleLoopActive);
  r.Frames(4);
  EXPECT_EQ(SceneTimer, t);
  r.Frames(2);
  EXPECT_TRUE(r.f().IdleLoopActive);
  EXPECT_GT(SceneTimer, t);
}

TEST_F(FormTest, HiddenLivesCommandNeedsTheSecret) {
  GameRun r(tmp.path(), "2 key F1\n6 key B ctrl\n8 key B ctrl\n");
  r.Frames(6);
  // Without the secret Ctrl+B does nothing (the mole may already have taken a life to start).
  EXPECT_LE(GameRec->Lives, 3);
  SecretUnlocked = true;
  r.Frames(2);
  EXPECT_EQ(GameRec->Lives, 5);
}

TEST_F(FormTest, EraseHighScoreAsksAndResetsOnYes) {
  GameRun r(tmp.path(), "2 menu DelEasyHiItem\n4 answer yes\n4 menu DelNormalHiItem\n");
  r.Frames(1);
  HiScoreRec->Score[0][0] = 7;
  HiScoreRec->Score[1][0] = 7;
  r.Frames(4);
  EXPECT_EQ(HiScoreRec->Score[0][0], 7);  // the default answer is No
  EXPECT_EQ(HiScoreRec->Score[1][0], 50000);
  EXPECT_EQ(HiScoreRec->Names[1][4].str(), "ZUBZUB");
}

TEST_F(FormTest, FrameRateDigits) {
  EXPECT_EQ(FpsDigit(30, 0), 0);
  EXPECT_EQ(FpsDigit(30, 1), 3);
  EXPECT_EQ(FpsDigit(30, 2), 0);
  EXPECT_EQ(FpsDigit(1234, 0), 9);
  EXPECT_EQ(FpsDigit(-5, 2), 0);
  GameRun r(tmp.path(), "2 menu DispFrameItem\n6 menu DispFrameItem\n");
  r.Frames(3);
  int n = 0;
  for (int i = 0; i < r.f().DXSpriteEngine.Count(); ++i)
    if (auto* s = dynamic_cast<TFPSSprite*>(r.f().DXSpriteEngine.Items(i))) {
      EXPECT_EQ(s->X, 10 * s->Index);
      EXPECT_EQ(s->Y, 2);
      EXPECT_EQ(s->Z(), 28);
      EXPECT_EQ(s->AnimStart, FpsDigit(30, s->Index));  // 1000 div 33
      ++n;
    }
  EXPECT_EQ(n, 3);
  r.Frames(4);
  for (int i = 0; i < r.f().DXSpriteEngine.Count(); ++i)
    EXPECT_EQ(dynamic_cast<TFPSSprite*>(r.f().DXSpriteEngine.Items(i)), nullptr);
}

TEST_F(FormTest, FullScreenAndBack) {
  GameRun r(tmp.path(), "2 key F10\n4 key Return alt\n");
  r.Frames(2);
  EXPECT_TRUE(r.f().Checked("MaxScreenItem"));
  EXPECT_EQ(r.f().SurfaceLeft, 70);
  EXPECT_EQ(r.f().SurfaceTop, 30);
  int w, h;
  platform::display_last_frame(w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  r.Frames(2);
  EXPECT_FALSE(r.f().Checked("MaxScreenItem"));
  EXPECT_EQ(r.f().SurfaceLeft, 0);
  platform::display_last_frame(w, h);
  EXPECT_EQ(w, 512);
}

TEST_F(FormTest, WithoutDashWTheSettingsChooseFullScreen) {
  GameRun r(tmp.path(), "", {});
  r.Frames(1);
  EXPECT_TRUE(r.f().Checked("MaxScreenItem"));
  EXPECT_EQ(r.f().SurfaceLeft, 70);
}

TEST_F(FormTest, OptionsSurviveARestart) {
  {
    GameRun r(tmp.path(), "2 menu RecReplayItem\n2 menu BGMOptionItem\n2 menu NoTimerItem\n3 menu ExitItem\n");
    r.Frames(5);
    EXPECT_TRUE(r.f().Closed);
  }
  EXPECT_TRUE(platform::file_exists(tmp.path() + "Zubroll.ini"));
  EXPECT_TRUE(platform::file_exists(tmp.path() + "Hiscore.dat"));
  EXPECT_FALSE(platform::file_exists(tmp.path() + "Zrstage.tmp"));
  GameRun r(tmp.path(), "");
  r.Frames(1);
  EXPECT_FALSE(r.f().Checked("RecReplayItem"));
  EXPECT_FALSE(r.f().Checked("BGMOptionItem"));
  EXPECT_FALSE(r.f().Checked("NoTimerItem"));
  EXPECT_TRUE(r.f().DXTimer.Enabled());
  EXPECT_TRUE(r.f().Checked("SFXOptionItem"));
}

TEST_F(FormTest, RunRecoveryRestoresProgressAfterAnAbortedRun) {
  {
    GameRun r(tmp.path(), "");
    r.Frames(1);
    GameRec->Difficulty = 1;
    StageNo = 9;
    ASSERT_TRUE(WriteRunRecovery());
    r.form.reset();  // killed: no normal exit, nothing saved or freed in order
    FreeSharedBlocks();
    FreeGameRec();
  }
  GameRun r(tmp.path(), "");
  r.Frames(1);
  EXPECT_EQ(GameRec->BestStage[1], 9);
  EXPECT_EQ(GameRec->LastStage[1], 9);
  EXPECT_EQ(GameRec->Difficulty, 1);
  EXPECT_FALSE(platform::file_exists(tmp.path() + "Zrstage.tmp"));
}

TEST_F(FormTest, MissingMusicLeavesTheGameSilent) {
  const std::string music = tmp.path() + "ZRSound/ZRBGM1.WAV";
  std::vector<uint8_t> wav;
  ASSERT_TRUE(platform::read_file(music, wav));
  ASSERT_TRUE(platform::remove_file(music));
  {
    GameRun r(tmp.path(), "");
    r.Frames(1);
    EXPECT_FALSE(BgmAvailable);
    EXPECT_FALSE(r.f().Item("SFXOptionItem").enabled);
    EXPECT_FALSE(r.f().Checked("SFXOptionItem"));
    EXPECT_FALSE(r.f().Checked("BGMOptionItem"));
    EXPECT_FALSE(r.f().Item("SoundVolume").enabled);
  }
  // The switches were forced off, not chosen: with the music back they are on again.
  ASSERT_TRUE(platform::write_file_atomic(music, wav));
  GameRun r(tmp.path(), "");
  r.Frames(1);
  EXPECT_TRUE(BgmAvailable);
  EXPECT_TRUE(r.f().Checked("SFXOptionItem"));
  EXPECT_TRUE(r.f().Checked("BGMOptionItem"));
}

TEST_F(FormTest, MissingOrCorruptDataStopsStartUp) {
  ASSERT_TRUE(test::WriteFile(tmp.path() + "ZRData/Egg.bmp", "BM broken"));
  GameRun r(tmp.path(), "");
  EXPECT_TRUE(r.f().StartFailed);
  EXPECT_TRUE(r.f().Closed);
}

TEST_F(FormTest, OwnPaletteItemsAreRemappedKeepingAqua) {
  GameRun r(tmp.path(), "");
  TPictureCollectionItem* own = r.f().DXImageList.Find("Extra");
  TPictureCollectionItem* plain = r.f().DXImageList.Find("Score");
  ASSERT_NE(own, nullptr);
  // Pattern n of the fixtures is colour 16 + n of the display palette in either kind of table.
  const TRGB want = r.f().PalDIB.Palette[16 + 2];
  const TRGB got = r.f().PalDIB.Palette[own->PatternPixel(2, 5, 5)];
  EXPECT_EQ(got.r, want.r);
  EXPECT_EQ(got.g, want.g);
  EXPECT_EQ(got.b, want.b);
  EXPECT_EQ(own->PatternPixel(2, 0, 0), 254);  // the transparent border stays aqua
  EXPECT_EQ(plain->PatternPixel(3, 5, 5), 16 + 3);
  EXPECT_EQ(r.f().DXImageList.Count(), 75);
  EXPECT_EQ(r.f().DXWaveList.Count(), 68 + 1);  // with the music item
}

TEST_F(FormTest, TheTitleShowsThePointerHand) {
  GameRun r(tmp.path(), "1 move 200 150\n");
  r.Frames(2);
  EXPECT_TRUE(r.f().Hand2->Visible);
  EXPECT_TRUE(r.f().Hand2->Collisioned);
  EXPECT_EQ(r.f().Hand2->X, 200);
  EXPECT_EQ(r.f().Hand2->Y, 150);
}

TEST_F(FormTest, ShiftF1OpensTheStageSelection) {
  GameRun r(tmp.path(), "2 key F2 shift\n");
  r.Frames(2);
  EXPECT_EQ(GameState, 21);
  EXPECT_EQ(GameRec->Difficulty, 1);
  EXPECT_NE(GameRec->SelectSetPath.find("ZRStage/NORMAL.EGS"), std::string::npos);
}

TEST_F(FormTest, StageSelectionOfAMissingSetStaysOnTheTitle) {
  ASSERT_TRUE(platform::remove_file(tmp.path() + "ZRStage/HARD.EGS"));
  GameRun r(tmp.path(), "2 key F3 shift\n4 key F3\n");
  r.Frames(5);
  EXPECT_EQ(GameState, 31);  // "Can't find stage data." and no game starts
  EXPECT_FALSE(BgmPlaying);  // the music the start had loaded is stopped again
  EXPECT_FALSE(r.f().CursorClipped);
  EXPECT_TRUE(r.f().Item("GameStart").enabled);
}

TEST_F(FormTest, TextFileReplacesTitleAndCaptions) {
  ASSERT_TRUE(test::WriteFile(tmp.path() + "Zrdata.res",
                              "[MISC]\nAPPNAME=Zubroll Test\nTITLEBARPAUSE=(paused)\n[OPTIONMENU]\nCaption01=&Whole Screen\n"
                              "[HSCRHEADER]\n2nd=Second\n"));
  GameRun r(tmp.path(), "");
  r.Frames(1);
  EXPECT_EQ(r.f().AppTitle, "Zubroll Test");
  EXPECT_EQ(PauseTitleText, "(paused)");
  EXPECT_EQ(r.f().Item("MaxScreenItem").caption, "&Whole Screen");
  EXPECT_EQ(r.f().Item("SFXOptionItem").caption, "&Sound Effects");
  EXPECT_EQ(GameRec->RankTexts[1], "Second");
  EXPECT_EQ(GameRec->RankTexts[0], "1st");
}

TEST_F(FormTest, TimerDriverStopsWhileInactive) {
  GameRun r(tmp.path(), "2 menu NoTimerItem\n5 focus lost\n10 focus gained\n");
  r.Frames(4);
  ASSERT_TRUE(r.f().DXTimer.Enabled());
  r.Frames(1);
  const int t = SceneTimer;
  r.Frames(4);
  EXPECT_EQ(SceneTimer, t);  // frames 6 .. 9: the application is inactive
  r.Frames(3);
  EXPECT_GT(SceneTimer, t);
}
