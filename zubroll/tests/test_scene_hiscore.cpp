// The name-entry dialog and the high score check after a run, headless.
#include <gtest/gtest.h>

#include <memory>

#include "fixtures.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/image_io.h"
#include "platform/msgbox.h"
#include "zubroll/shell/Hidilg.h"
#include "zubroll/shell/Hiscore.h"
#include "zubroll/shell/Main.h"

using namespace zubroll;
using namespace platform::forms;
using zubroll::test::TempFolder;

namespace {

struct HiRun {
  std::unique_ptr<TMainZubForm> form;
  explicit HiRun(const std::string& dir) {
    platform::set_program_folder(dir);
    EXPECT_TRUE(test::WriteFile(dir + "in.txt", ""));
    std::vector<std::string> a = {"zubroll", "--headless", "--input", dir + "in.txt"};
    std::vector<const char*> argv;
    for (auto& s : a) argv.push_back(s.c_str());
    platform::Options o;
    std::string err;
    EXPECT_TRUE(platform::parse_options(int(argv.size()), argv.data(), o, err)) << err;
    EXPECT_TRUE(platform::init(o, err)) << err;
    EXPECT_TRUE(platform::display_open({"zubroll", 512, 400, false, 1, false}, err)) << err;
    ResetLooseGlobals();
    platform::clear_answers();
    form = std::make_unique<TMainZubForm>();
    form->FormCreate({"-W"});
  }
  ~HiRun() {
    if (form && !form->Closed) form->FormClose();
    form.reset();
    platform::clear_answers();
    platform::display_close();
    platform::shutdown();
  }
  TMainZubForm& f() { return *form; }
  void Frames(int n) {
    for (int i = 0; i < n && !form->Closed; ++i) form->RunOneLoopPass();
  }
};

struct HiTest : ::testing::Test {
  TempFolder tmp;
  void SetUp() override {
    ASSERT_TRUE(test::WriteFixtureData(tmp.path()));
    ASSERT_TRUE(platform::make_folder(tmp.path() + "ZRStage"));
    for (const char* n : {"EASY.EGS", "NORMAL.EGS", "HARD.EGS"})
      ASSERT_TRUE(test::WriteFixtureStageSet(tmp.path() + "ZRStage/" + n));
    ASSERT_TRUE(platform::make_folder(tmp.path() + "ZRSound"));
    std::vector<uint8_t> pcm(2205, 128);
    ASSERT_TRUE(platform::write_file_atomic(tmp.path() + "ZRSound/ZRBGM1.WAV",
                                            platform::make_wav({22050, 1, 8}, pcm.data(), pcm.size())));
  }
};

}  // namespace

TEST_F(HiTest, DialogLayoutTextsAndColours) {
  HiRun r(tmp.path());
  THiForm d(r.f(), THiFormTexts{}, 1, 3);
  EXPECT_EQ(d.caption, "Congratulations!");
  EXPECT_EQ(d.client_width, 232);
  EXPECT_EQ(d.client_height, 122);
  EXPECT_EQ(d.font.name, "MS Sans Serif");
  EXPECT_EQ(d.font.size, 8);
  struct Place { Control* c; int l, t, w, h; };
  for (Place p : {Place{d.Omedeto, 16, 8, 199, 20}, Place{d.HiMessage, 112, 32, 67, 17},
                  Place{d.StaticText2, 56, 72, 142, 17}, Place{d.HiName, 12, 92, 133, 21},
                  Place{d.OkBtn, 152, 92, 73, 21}, Place{d.Label2, 64, 32, 0, 0}, Place{d.Label1, 64, 52, 0, 0},
                  Place{d.RankMessage, 112, 52, 0, 0}}) {
    EXPECT_EQ(p.c->left, p.l) << p.c->name;
    EXPECT_EQ(p.c->top, p.t) << p.c->name;
    EXPECT_EQ(p.c->width, p.w) << p.c->name;
    EXPECT_EQ(p.c->height, p.h) << p.c->name;
  }
  EXPECT_EQ(d.Omedeto->caption, "You've earned a high score!");
  EXPECT_TRUE(d.Omedeto->font.bold);
  EXPECT_EQ(d.Omedeto->font.size, 10);
  EXPECT_EQ(d.Label2->caption, "LEVEL:");
  EXPECT_EQ(d.Label1->caption, "RANK:");
  EXPECT_EQ(d.StaticText2->caption, "Please enter your name!");
  EXPECT_EQ(d.HiMessage->caption, "NORMAL");
  EXPECT_EQ(d.HiMessage->font.color, clYellow);
  EXPECT_EQ(d.RankMessage->caption, "4th");
  EXPECT_EQ(d.RankMessage->font.color, clBlue);
  EXPECT_EQ(d.HiName->max_length, 16);
  EXPECT_EQ(d.OkBtn->caption, "OK");
  EXPECT_TRUE(d.OkBtn->is_default);
  EXPECT_FALSE(d.OkBtn->enabled);
  // OK is enabled exactly while a name is typed.
  d.HiName->set_text("Z");
  EXPECT_TRUE(d.OkBtn->enabled);
  d.HiName->set_text("");
  EXPECT_FALSE(d.OkBtn->enabled);
  d.HiName->set_text("ABCDEFGHIJKLMNOPQRSTU");
  EXPECT_EQ(d.HiName->text(), "ABCDEFGHIJKLMNOP");
}

TEST_F(HiTest, LevelAndRankColours) {
  HiRun r(tmp.path());
  const uint32_t levels[3] = {clGreen, clYellow, clRed};
  const uint32_t ranks[5] = {clRed, clYellow, clGreen, clBlue, clPurple};
  const char* rank_names[5] = {"1st", "2nd", "3rd", "4th", "5th"};
  const char* level_names[3] = {"EASY", "NORMAL", "HARD"};
  for (int dif = 0; dif < 3; ++dif)
    for (int rank = 0; rank < 5; ++rank) {
      THiForm d(r.f(), THiFormTexts{}, dif, rank);
      EXPECT_EQ(d.HiMessage->font.color, levels[dif]);
      EXPECT_EQ(d.HiMessage->caption, level_names[dif]);
      EXPECT_EQ(d.RankMessage->font.color, ranks[rank]);
      EXPECT_EQ(d.RankMessage->caption, rank_names[rank]);
    }
}

TEST_F(HiTest, ShowingTheDialogPlaysNewHiScore) {
  HiRun r(tmp.path());
  ASSERT_TRUE(r.f().Checked("SFXOptionItem"));
  ASSERT_TRUE(r.f().DXSound.Initialized());
  THiForm d(r.f(), THiFormTexts{}, 0, 0);
  TWaveCollectionItem* w = d.WaveList.FindOrNull("NewHiScore");
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->HasWave());
  EXPECT_EQ(w->Wave().data.size(), r.f().DXWaveList.Find("HiScore")->Wave().data.size());
  d.FormShow();
  EXPECT_EQ(d.focused(), d.HiName);
  EXPECT_EQ(w->PlayingCount(), 1);
  EXPECT_EQ(w->Pan(), 0);
  r.f().SetChecked("SFXOptionItem", false);
  d.FormShow();
  EXPECT_EQ(w->PlayingCount(), 1);  // effects off: silent
}

namespace {
// A run of the difficulty that ends with `score`; the scene step after the game.
void EndRun(HiRun& r, int difficulty, int score) {
  r.Frames(2);
  GameRec->Difficulty = difficulty;
  GameRec->StartStage = 2;
  StageNo = 5;
  Score = score;
  FpsAverage = 29;
  GameState = 42;
  r.Frames(1);
}
}  // namespace

TEST_F(HiTest, AHighScoreIsEnteredWithTheTypedName) {
  HiRun r(tmp.path());
  platform::push_answer("ALICE");
  EndRun(r, 0, 45000);  // between 50000 and 40000: 2nd
  const THighScoreRec& h = *HiScoreRec;
  EXPECT_EQ(h.Names[0][0].str(), "DEVADIV");
  EXPECT_EQ(h.Names[0][1].str(), "ALICE");
  EXPECT_EQ(h.Score[0][1], 45000);
  EXPECT_EQ(h.StartStage[0][1], 2);
  EXPECT_EQ(h.EndStage[0][1], 5);
  EXPECT_EQ(h.FrameRate[0][1], 29);
  EXPECT_EQ(h.Score[0][2], 40000);
  EXPECT_EQ(h.Score[0][4], 20000);  // 10000 dropped out
  EXPECT_EQ(GameState, 30);
  EXPECT_TRUE(r.f().IdleLoopActive);  // the frame driver is back
  EXPECT_EQ(r.f().DXSound.Options & soGlobalFocus, 0u);
}

TEST_F(HiTest, RankRuleAndWhenNoEntryIsOffered) {
  struct Case { int difficulty, score; bool secret; int rank; };
  for (Case c : {Case{1, 10000, false, -1}, Case{1, 10001, false, 4}, Case{2, 50000, false, 1},
                 Case{2, 50001, false, 0}, Case{0, 99999999, true, -1}, Case{3, 99999999, false, -1},
                 Case{99, 99999999, false, -1}}) {
    platform::remove_file(tmp.path() + "Hiscore.dat");  // fresh tables for every case
    HiRun r(tmp.path());
    SecretUnlocked = c.secret;
    platform::push_answer("BOB");
    EndRun(r, c.difficulty, c.score);
    SecretUnlocked = false;
    const int d = std::min(c.difficulty, 4);
    for (int i = 0; i < 5; ++i) {
      const bool mine = HiScoreRec->Names[d][i].str() == "BOB";
      EXPECT_EQ(mine, i == c.rank) << c.difficulty << " " << c.score << " entry " << i;
    }
    std::string left;
    EXPECT_EQ(platform::take_answer(left), c.rank < 0) << "dialog shown for " << c.score;
  }
}

TEST_F(HiTest, ClosingWithoutANameStoresAnEmptyName) {
  HiRun r(tmp.path());
  platform::push_answer("cancel");
  EndRun(r, 2, 60000);
  EXPECT_EQ(HiScoreRec->Score[2][0], 60000);
  EXPECT_EQ(HiScoreRec->Names[2][0].str(), "");
  EXPECT_EQ(HiScoreRec->Names[2][1].str(), "PERIWINKL");
}
