#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fixtures.h"
#include "platform/files.h"
#include "zubroll/shell/settings.h"

using namespace zubroll;
using zubroll::test::TempFolder;

namespace {
// Game record and blocks over a temporary program folder.
struct SettingsEnv : ::testing::Test {
  TempFolder dir;
  void SetUp() override {
    ResetLooseGlobals();
    FreeGameRec();
    ASSERT_TRUE(AllocateGameRec());
    ASSERT_TRUE(AllocateSharedBlocks());
    GameRec->ExePath = dir.path() + "zubroll";
    GameRec->EditSetPath = dir.path() + "ZRStage/EDIT.EGG";
  }
  void TearDown() override {
    FreeSharedBlocks();
    FreeGameRec();
  }
  std::vector<uint8_t> read(const std::string& name) {
    std::vector<uint8_t> b;
    platform::read_file(dir.path() + name, b);
    return b;
  }
};
}  // namespace

TEST_F(SettingsEnv, DefaultsWhenNoFile) {
  TOptionChecks c;
  c.MaxScreen = false;
  c.NoTimer = false;
  EXPECT_FALSE(LoadSettings(c));
  EXPECT_EQ(SettingRec->Version, 102);
  EXPECT_EQ(SettingRec->Product.str(), "ZUBROLL DX FOR WINDOWS 1.0 V1.0.4");
  EXPECT_EQ(SettingRec->Product.len, 33);
  EXPECT_EQ(SettingRec->EditFileName.str(), "EDIT.EGG");
  EXPECT_EQ(SettingRec->OwnerName.len, 0);
  EXPECT_TRUE(c.MaxScreen && c.SFX && c.BGM && c.RecReplay && c.UseVRAM && c.WaitVbl && c.NoTimer);
  EXPECT_EQ(SfxVolume, 0);
  EXPECT_EQ(BgmVolume, 0);
}

TEST_F(SettingsEnv, SaveThenLoadKeepsOptionsAndBytes) {
  TOptionChecks c;
  LoadSettings(c);
  c.MaxScreen = false;
  c.BGM = false;
  c.NoTimer = false;
  SfxVolume = -1200;
  BgmVolume = -400;
  GameRec->EditSetPath = dir.path() + "ZRStage/MINE.EGG";
  ASSERT_TRUE(SaveSettings(c));
  const auto bytes = read(kSettingsFileName);
  ASSERT_EQ(bytes.size(), 9748u);
  EXPECT_EQ(bytes[1036], 0);  // full screen off
  EXPECT_EQ(bytes[1037], 1);
  EXPECT_EQ(bytes[1038], 0);
  int32_t driver, sfx;
  std::memcpy(&driver, &bytes[5588], 4);
  std::memcpy(&sfx, &bytes[1028], 4);
  EXPECT_EQ(driver, 1);
  EXPECT_EQ(sfx, -1200);
  EXPECT_EQ(bytes[5652], 8);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[5653]), 8), "MINE.EGG");
  SfxVolume = 0;
  TOptionChecks d;
  LoadSettings(d);
  EXPECT_FALSE(d.MaxScreen);
  EXPECT_FALSE(d.BGM);
  EXPECT_FALSE(d.NoTimer);
  EXPECT_TRUE(d.SFX);
  EXPECT_EQ(SfxVolume, -1200);
  EXPECT_EQ(BgmVolume, -400);
}

TEST_F(SettingsEnv, WrongSizeFileIsIgnored) {
  std::vector<uint8_t> junk(9747, 0);
  ASSERT_TRUE(platform::write_file_atomic(dir.path() + kSettingsFileName, junk));
  TOptionChecks c;
  c.SFX = false;
  LoadSettings(c);
  EXPECT_TRUE(c.SFX);
  EXPECT_EQ(SettingRec->Version, 102);
}

TEST_F(SettingsEnv, OptionBytesOtherThanOneAreOff) {
  TSettingsRec r;
  DefaultSettings(r);
  r.FullScreen = 2;
  r.WaitVBlank = 0;
  r.FrameDriver = 7;  // anything but 0: the timer drives
  r.Version = 101;
  r.Reserved17[0] = 55;
  r.EditFileName.set("OTHER.EGG");
  ASSERT_TRUE(platform::write_file_atomic(dir.path() + kSettingsFileName, &r, sizeof r));
  TOptionChecks c;
  LoadSettings(c);
  EXPECT_FALSE(c.MaxScreen);
  EXPECT_FALSE(c.WaitVbl);
  EXPECT_FALSE(c.NoTimer);
  EXPECT_EQ(SettingRec->Reserved17[0], 0);  // old version: first reserved cleared, edit name reset
  EXPECT_EQ(SettingRec->EditFileName.str(), "EDIT.EGG");
}

// A damaged or edited settings file: out-of-range values come out usable.
TEST_F(SettingsEnv, OutOfRangeValuesOfAFileAreMadeSafe) {
  struct Case {
    int32_t sfx, bgm;
    const char* edit;
    int32_t best[5];
    int32_t want_sfx, want_bgm;
    const char* want_edit;
    int32_t want_best[5];
  } cases[] = {
      {-600, -3000, "MINE.EGG", {3, 7, 11, 31, 31}, -600, -3000, "MINE.EGG", {3, 7, 11, 31, 31}},
      {5000, -20000, "../../victim.EGG", {-1, 24, 32, 99, -7}, 0, -10000, "EDIT.EGG", {0, 0, 0, 0, 0}},
      {0, 0, "..", {16, 23, 31, 0, 0}, 0, 0, "EDIT.EGG", {0, 23, 31, 0, 0}},
      {0, 0, "sub\\x.EGG", {15, 0, 0, 0, 0}, 0, 0, "EDIT.EGG", {15, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    TSettingsRec r;
    DefaultSettings(r);
    r.SfxVolume = c.sfx;
    r.BgmVolume = c.bgm;
    r.EditFileName.set(c.edit);
    std::memcpy(r.BestStage, c.best, sizeof r.BestStage);
    ASSERT_TRUE(platform::write_file_atomic(dir.path() + kSettingsFileName, &r, sizeof r));
    TOptionChecks checks;
    LoadSettings(checks);
    EXPECT_EQ(SfxVolume, c.want_sfx) << c.edit;
    EXPECT_EQ(BgmVolume, c.want_bgm) << c.edit;
    EXPECT_EQ(SettingRec->EditFileName.str(), c.want_edit);
    for (int d = 0; d < 5; ++d) EXPECT_EQ(GameRec->BestStage[d], c.want_best[d]) << c.edit << " " << d;
  }
}

TEST(Settings, CheckpointTable) {
  struct Case {
    int d, best, saved, expect, pulled;
  } cases[] = {
      {1, 9, 0, 7, 9},     {0, 16, 0, 14, 16},  {1, 24, 0, 22, 24}, {2, 32, 0, 30, 32},
      {0, 13, 0, 11, 12},  {0, 15, 0, 11, 12},  {1, 21, 0, 19, 20}, {2, 30, 0, 27, 28},
      {0, 0, 0, 0, 0},     {0, 2, 0, 0, 2},     {0, 3, 0, 3, 3},    {0, 7, 0, 7, 7},
      {0, 8, 0, 7, 8},     {2, 5, 9, 9, 5},     {1, 9, 9, 9, 9},    {3, 31, 0, 31, 31},
      {4, 4, 0, 3, 4},
  };
  for (const Case& c : cases) {
    int b = c.best;
    EXPECT_EQ(CheckpointFor(c.d, b, c.saved), c.expect) << c.d << " " << c.best;
    EXPECT_EQ(b, c.pulled) << c.d << " " << c.best;
  }
}

TEST_F(SettingsEnv, SavedCheckpointsAndPulledBackBestStage) {
  TOptionChecks c;
  LoadSettings(c);
  GameRec->BestStage[1] = 9;
  GameRec->BestStage[0] = 14;
  ASSERT_TRUE(SaveSettings(c));
  EXPECT_EQ(SettingRec->BestStage[1], 7);
  EXPECT_EQ(SettingRec->BestStage[0], 11);
  EXPECT_EQ(GameRec->BestStage[0], 12);
  LoadSettings(c);
  EXPECT_EQ(GameRec->BestStage[1], 7);
}

TEST(Settings, CheckTextValues) {
  EXPECT_EQ(CheckText("vunpo", "qelmorvix00000"), "3B0AAF4");
  EXPECT_EQ(CheckText("vunpo", "qelmorvix70000"), "3B19336");
  EXPECT_EQ(CheckText("a", ""), "C7A4");
  EXPECT_EQ(CheckText("AB", "C"), "4A10B");
  EXPECT_EQ(CheckText("", ""), "0");
}

TEST_F(SettingsEnv, RunRecoveryRoundTrip) {
  GameRec->Difficulty = 1;
  GameRec->BestStage[1] = 3;
  StageNo = 9;
  ASSERT_TRUE(WriteRunRecovery());
  const auto bytes = read(kRecoveryFileName);
  ASSERT_EQ(bytes.size(), 552u);
  int32_t best1;
  std::memcpy(&best1, &bytes[4], 4);
  EXPECT_EQ(best1, 9);  // raised to StageNo
  EXPECT_EQ(bytes[296], 18);
  EXPECT_EQ(bytes[297], 0x96);
  EXPECT_EQ(bytes[314], 0xB9);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[41]), bytes[40]), RecoveryCheckText(RecoveryRec->BestStage));
  GameRec->Difficulty = 0;
  GameRec->BestStage[1] = 0;
  EXPECT_TRUE(ReadRunRecovery());
  EXPECT_EQ(GameRec->Difficulty, 1);
  EXPECT_EQ(GameRec->LastStage[1], 9);
  EXPECT_EQ(GameRec->BestStage[1], 9);
  EXPECT_FALSE(platform::file_exists(dir.path() + kRecoveryFileName));
}

TEST_F(SettingsEnv, TamperedRunRecoveryRestoresNothingAndIsDeleted) {
  GameRec->Difficulty = 2;
  StageNo = 20;
  ASSERT_TRUE(WriteRunRecovery());
  auto bytes = read(kRecoveryFileName);
  bytes[8] = 30;  // BestStage[2] changed without a new check text
  ASSERT_TRUE(platform::write_file_atomic(dir.path() + kRecoveryFileName, bytes));
  GameRec->Difficulty = 0;
  GameRec->BestStage[2] = 0;
  EXPECT_FALSE(ReadRunRecovery());
  EXPECT_EQ(GameRec->Difficulty, 0);
  EXPECT_EQ(GameRec->BestStage[2], 0);
  EXPECT_FALSE(platform::file_exists(dir.path() + kRecoveryFileName));
}

TEST_F(SettingsEnv, RunRecoveryOfWrongSizeIsKept) {
  std::vector<uint8_t> junk(551, 0);
  ASSERT_TRUE(platform::write_file_atomic(dir.path() + kRecoveryFileName, junk));
  EXPECT_FALSE(ReadRunRecovery());
  EXPECT_TRUE(platform::file_exists(dir.path() + kRecoveryFileName));
}

TEST_F(SettingsEnv, RunRecoveryClampsOutOfRangeValues) {
  TRunRecoveryRec r;
  std::memset(static_cast<void*>(&r), 0, sizeof r);
  const int32_t best[5] = {-3, 40, 23, 5, 31};
  std::memcpy(r.BestStage, best, sizeof best);
  r.Difficulty = 7;  // above 4 becomes 0
  r.StageNo = 16;    // above Easy's last stage
  r.CheckText.set(RecoveryCheckText(r.BestStage));
  ASSERT_TRUE(platform::write_file_atomic(dir.path() + kRecoveryFileName, &r, sizeof r));
  EXPECT_TRUE(ReadRunRecovery());
  EXPECT_EQ(GameRec->Difficulty, 0);
  EXPECT_EQ(GameRec->LastStage[0], 0);
  EXPECT_EQ(GameRec->BestStage[0], 0);
  EXPECT_EQ(GameRec->BestStage[1], 0);
  EXPECT_EQ(GameRec->BestStage[2], 23);
  EXPECT_EQ(GameRec->BestStage[4], 31);
}

TEST_F(SettingsEnv, LoadSettingsRunsTheRunRecovery) {
  GameRec->Difficulty = 1;
  StageNo = 9;
  ASSERT_TRUE(WriteRunRecovery());
  TOptionChecks c;
  EXPECT_TRUE(LoadSettings(c));
  EXPECT_EQ(GameRec->BestStage[1], 9);
}

TEST(Settings, MaskMatching) {
  EXPECT_TRUE(MatchMask("ZRBGM*.WAV", "zrbgm3.wav"));
  EXPECT_TRUE(MatchMask("*.EGS", "EASY.EGS"));
  EXPECT_FALSE(MatchMask("*.EGS", "EASY.EGG"));
  EXPECT_FALSE(MatchMask("ZRBGM*.WAV", "BGM.WAV"));
  EXPECT_TRUE(MatchMask("*.RPY", ".rpy"));
}

TEST_F(SettingsEnv, SetupFolderMovesLooseFiles) {
  SetupZRPath();
  EXPECT_EQ(GameRec->SoundFolder, "ZRSound");
  ASSERT_TRUE(test::WriteFile(dir.path() + "EASY.EGS", "new"));
  ASSERT_TRUE(test::WriteFile(dir.path() + "NORMAL.EGS", "normal"));
  ASSERT_TRUE(test::WriteFile(dir.path() + "ZRBGM2.WAV", "music"));
  ASSERT_TRUE(test::WriteFile(dir.path() + "EASY01.RPY", "replay"));
  ASSERT_TRUE(platform::make_folder(dir.path() + "ZRStage"));
  ASSERT_TRUE(test::WriteFile(dir.path() + "ZRStage/EASY.EGS", "old"));
  SetupFolder();
  EXPECT_TRUE(platform::folder_exists(dir.path() + "ZRSound"));
  EXPECT_TRUE(platform::folder_exists(dir.path() + "ZRReplay"));
  std::vector<uint8_t> b;
  ASSERT_TRUE(platform::read_file(dir.path() + "ZRStage/EASY.EGS", b));
  EXPECT_EQ(std::string(b.begin(), b.end()), "new");  // copied over the older file
  EXPECT_TRUE(platform::file_exists(dir.path() + "ZRStage/NORMAL.EGS"));
  EXPECT_FALSE(platform::file_exists(dir.path() + "NORMAL.EGS"));  // moved
  EXPECT_TRUE(platform::file_exists(dir.path() + "ZRSound/ZRBGM2.WAV"));
  EXPECT_TRUE(platform::file_exists(dir.path() + "ZRReplay/EASY01.RPY"));
}

TEST_F(SettingsEnv, MoveDataFileReportsACopyThatCannotBeMade) {
  ASSERT_TRUE(test::WriteFile(dir.path() + "EDIT.EGG", "x"));
  ASSERT_TRUE(platform::make_folder(dir.path() + "ZRStage"));
  ASSERT_TRUE(platform::make_folder(dir.path() + "ZRStage/EDIT.EGG"));  // a folder in the way
  try {
    MoveDataFile(dir.path() + "EDIT.EGG", dir.path() + "ZRStage/EDIT.EGG");
    FAIL() << "no error";
  } catch (const TFolderError& e) {
    EXPECT_STREQ(e.what(), "Can't make file");
  }
  MoveDataFile(dir.path() + "NONE.EGG", dir.path() + "ZRStage/NONE.EGG");  // missing: nothing
}

TEST_F(SettingsEnv, CopyFallbackKeepsEveryByte) {
  // Sizes around the 8192-byte block: empty, short, exact blocks and a partial last block.
  for (size_t size : {size_t(0), size_t(100), size_t(8192), size_t(16384), size_t(20001)}) {
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; ++i) data[i] = uint8_t(i * 7 + size);
    ASSERT_TRUE(platform::write_file_atomic(dir.path() + "HARD.EGS", data));
    ASSERT_TRUE(platform::make_folder(dir.path() + "ZRStage"));
    ASSERT_TRUE(test::WriteFile(dir.path() + "ZRStage/HARD.EGS", "older"));  // the rename cannot replace it
    MoveDataFile(dir.path() + "HARD.EGS", dir.path() + "ZRStage/HARD.EGS");
    std::vector<uint8_t> got;
    ASSERT_TRUE(platform::read_file(dir.path() + "ZRStage/HARD.EGS", got));
    EXPECT_EQ(got, data) << size;
  }
}
