#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fixtures.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "zubroll/shell/Hiscore.h"
#include "zubroll/sprite/surface.h"

using namespace zubroll;
using zubroll::test::TempFolder;

namespace {

struct HiscoreEnv : ::testing::Test {
  TempFolder dir;
  std::vector<std::string> messages;
  void SetUp() override {
    ResetLooseGlobals();
    FreeGameRec();
    ASSERT_TRUE(AllocateGameRec());
    ASSERT_TRUE(AllocateSharedBlocks());
    GameRec->ExePath = dir.path() + "zubroll";
    platform::set_message_box_handler([this](const std::string& c, const std::string& t, platform::MsgButtons,
                                             platform::MsgIcon) {
      messages.push_back(c + "|" + t);
      return platform::MsgResult::Ok;
    });
  }
  void TearDown() override {
    platform::set_message_box_handler(nullptr);
    FreeSharedBlocks();
    FreeGameRec();
  }
  std::vector<uint8_t> ReadFile() {
    std::vector<uint8_t> b;
    platform::read_file(dir.path() + "Hiscore.dat", b);
    return b;
  }
  void WriteFile(const std::vector<uint8_t>& b) {
    ASSERT_TRUE(platform::write_file_atomic(dir.path() + "Hiscore.dat", b));
  }
  // A saved file with some entries made.
  void SaveSample() {
    ResetAllHighScoreTables(*HiScoreRec);
    InsertHighScore(*HiScoreRec, 0, 0, "MOLE", 0, 16, 123456, 30);
    InsertHighScore(*HiScoreRec, 2, 3, "Q", 4, 9, 25000, 29);
    ASSERT_TRUE(SaveHighScores());
  }
  static THighScoreRec* AsRec(std::vector<uint8_t>& b) { return reinterpret_cast<THighScoreRec*>(b.data()); }
};

std::unique_ptr<THighScoreRec> ZeroRec() {
  auto r = std::make_unique<THighScoreRec>();
  std::memset(static_cast<void*>(r.get()), 0, sizeof *r);
  return r;
}

}  // namespace

TEST(Hiscore, ChecksumWithTheWeights) {
  auto r = ZeroRec();
  // Row 0: name "AB" counts 'A' + W[0]; score "50000" counts its fourth character x W[0];
  // the stages and frame rate count W[0] each; the other (empty) entries count '0' x W[i].
  r->Names[0][0].set("AB");
  r->Score[0][0] = 50000;
  r->StartStage[0][0] = 1;
  r->EndStage[0][0] = 2;
  r->FrameRate[0][0] = 30;
  EXPECT_EQ(HighScoreChecksum(*r, 0, 0), (65 + 57) + 48 * 57 + 57 * 33 + 48 * (19 + 38 + 83 + 16));
  // Row 2 takes W[10 + i] for names and scores and W[8 + i] for the stages.
  r->Names[1][0].set("Z");
  r->Score[1][0] = 7;
  r->StartStage[1][0] = 3;
  EXPECT_EQ(HighScoreChecksum(*r, 1, 2), (90 + 31) + 55 * 31 + 5 * 3 + 48 * (89 + 53 + 26 + 61));
  // A negative score counts its "-".
  auto n = ZeroRec();
  n->Score[4][2] = -5;
  auto z = ZeroRec();
  EXPECT_EQ(HighScoreChecksum(*n, 4, 1) - HighScoreChecksum(*z, 4, 1), (45 - 48) * 65);
}

TEST(Hiscore, WhichCharactersTheChecksumSees) {
  struct Case { const char* before; const char* after; bool changes; };
  const Case names[] = {{"A", "B", true},          // one character: the first counts
                        {"ABCD", "ABCX", false},   // the last character never counts
                        {"ABCD", "ABXD", true},    // the second-to-last does
                        {"ABCD", "XBCD", false},
                        {"", "A", true}};
  for (const Case& c : names) {
    auto r = ZeroRec();
    r->Names[2][3].set(c.before);
    const int32_t a = HighScoreChecksum(*r, 2, 1);
    r->Names[2][3].set(c.after);
    EXPECT_EQ(HighScoreChecksum(*r, 2, 1) != a, c.changes) << c.before << " -> " << c.after;
  }
  struct Score { int before, after; bool changes; };
  const Score scores[] = {{12345, 12355, true}, {12345, 12346, false}, {12345, 92345, false},
                          {5, 6, true},          {40, 50, true},        {40, 41, false}};
  for (const Score& c : scores) {
    auto r = ZeroRec();
    r->Score[0][1] = c.before;
    const int32_t a = HighScoreChecksum(*r, 0, 3);
    r->Score[0][1] = c.after;
    EXPECT_EQ(HighScoreChecksum(*r, 0, 3) != a, c.changes) << c.before << " -> " << c.after;
  }
}

TEST(Hiscore, DefaultTables) {
  auto r = ZeroRec();
  for (int i = 0; i < 5; ++i) r->Names[4][i].set("keep");
  r->Checksum[0] = 5;
  r->Reserved[9] = 7;
  r->WeightRow[2] = 3;
  ResetAllHighScoreTables(*r);
  EXPECT_EQ(r->Header.len, 16);
  EXPECT_EQ(r->Header.str(), "ZUBROLLW00001000");
  const char* names[5] = {"DEVADIV", "ZUBZUB", "PERIWINKL", "tuvelo", "keep"};
  for (int d = 0; d < 5; ++d)
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(r->Names[d][i].str(), names[d]);
      EXPECT_EQ(r->Score[d][i], d == 3 ? 9999999 : 50000 - 10000 * i);
      EXPECT_EQ(r->StartStage[d][i], 0);
      EXPECT_EQ(r->EndStage[d][i], 0);
      EXPECT_EQ(r->FrameRate[d][i], 30);
    }
  for (int d = 0; d < 5; ++d) EXPECT_EQ(r->Checksum[d], 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(r->Reserved[i], 0);
  EXPECT_EQ(r->WeightRow[2], 3);
}

TEST(Hiscore, RankRule) {
  auto r = ZeroRec();
  ResetAllHighScoreTables(*r);
  struct Case { int score, rank; };
  const Case cases[] = {{10000, -1}, {10001, 4}, {50000, 1}, {50001, 0}, {35000, 2}, {0, -1}, {-5, -1}};
  for (const Case& c : cases) EXPECT_EQ(HighScoreRank(*r, 1, c.score), c.rank) << c.score;
  EXPECT_EQ(HighScoreRank(*r, 3, 9999999), -1);
  EXPECT_EQ(HighScoreRank(*r, 5, 1), -1);
}

TEST(Hiscore, InsertMovesEntriesDown) {
  auto r = ZeroRec();
  ResetAllHighScoreTables(*r);
  r->Names[0][4].set("LAST");
  InsertHighScore(*r, 0, 1, "NEW", 2, 7, 45000, 28);
  EXPECT_EQ(r->Names[0][1].str(), "NEW");
  EXPECT_EQ(r->Score[0][1], 45000);
  EXPECT_EQ(r->StartStage[0][1], 2);
  EXPECT_EQ(r->EndStage[0][1], 7);
  EXPECT_EQ(r->FrameRate[0][1], 28);
  EXPECT_EQ(r->Score[0][0], 50000);
  EXPECT_EQ(r->Score[0][2], 40000);
  EXPECT_EQ(r->Score[0][4], 20000);  // the old fifth entry is gone
  EXPECT_EQ(r->Names[0][4].str(), "DEVADIV");
  EXPECT_EQ(r->Score[1][1], 40000);  // other tables untouched
}

TEST_F(HiscoreEnv, EntryRankOnlyForPlayedDifficulties) {
  ResetAllHighScoreTables(*HiScoreRec);
  Score = 99999999;
  struct Case { int difficulty; bool secret; int rank; };
  const Case cases[] = {{0, false, 0}, {2, false, 0}, {3, false, -1}, {99, false, -1}, {1, true, -1}};
  for (const Case& c : cases) {
    GameRec->Difficulty = c.difficulty;
    SecretUnlocked = c.secret;
    EXPECT_EQ(HighScoreEntryRank(), c.rank) << c.difficulty;
  }
  SecretUnlocked = false;
  GameRec->Difficulty = 1;
  GameRec->StartStage = 4;
  StageNo = 11;
  Score = 50000;
  FpsAverage = 27;
  const int rank = HighScoreEntryRank();
  ASSERT_EQ(rank, 1);
  StoreHighScoreEntry(rank, "ME");
  EXPECT_EQ(HiScoreRec->Names[1][1].str(), "ME");
  EXPECT_EQ(HiScoreRec->StartStage[1][1], 4);
  EXPECT_EQ(HiScoreRec->EndStage[1][1], 11);
  EXPECT_EQ(HiScoreRec->FrameRate[1][1], 27);
  EXPECT_EQ(BestScoreOf(1), 50000);
  EXPECT_EQ(BestScoreOf(5), 99999999);
  EXPECT_EQ(HighScoreChecksum(1, 2), HighScoreChecksum(*HiScoreRec, 1, 2));
}

TEST_F(HiscoreEnv, MissingFileGivesDefaultsSilently) {
  HiScoreRec->Score[0][0] = 1;
  LoadHighScores();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(HiScoreRec->Score[0][0], 50000);
  EXPECT_EQ(HiScoreRec->Names[2][4].str(), "PERIWINKL");
}

TEST_F(HiscoreEnv, SaveThenLoad) {
  FpsAverage = 24;
  SaveSample();
  std::vector<uint8_t> b = ReadFile();
  ASSERT_EQ(b.size(), 7136u);
  THighScoreRec* f = AsRec(b);
  EXPECT_EQ(f->FrameRate[0][0], 24);  // the current frame rate goes into entry 0 of Easy
  for (int d = 0; d < 5; ++d) {
    EXPECT_GE(f->WeightRow[d], 0);
    EXPECT_LE(f->WeightRow[d], 3);
    EXPECT_EQ(f->Checksum[d], HighScoreChecksum(*f, d, f->WeightRow[d]));
  }
  ResetAllHighScoreTables(*HiScoreRec);
  LoadHighScores();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(HiScoreRec->Names[0][0].str(), "MOLE");
  EXPECT_EQ(HiScoreRec->Score[0][0], 123456);
  EXPECT_EQ(HiScoreRec->Names[2][3].str(), "Q");
  EXPECT_EQ(std::memcmp(HiScoreRec, b.data(), b.size()), 0);
}

TEST_F(HiscoreEnv, DamagedFilesAreReportedAndReset) {
  SaveSample();
  const std::vector<uint8_t> good = ReadFile();
  struct Case {
    const char* what;
    void (*tamper)(std::vector<uint8_t>&);
    bool reported;
  };
  const Case cases[] = {
      {"score's second-to-last digit", [](std::vector<uint8_t>& b) { AsRec(b)->Score[0][0] = 123466; }, true},
      {"start stage", [](std::vector<uint8_t>& b) { AsRec(b)->StartStage[2][3] += 1; }, true},
      {"checksum of the reserved table", [](std::vector<uint8_t>& b) { AsRec(b)->Checksum[4] ^= 1; }, true},
      {"weight row out of range", [](std::vector<uint8_t>& b) { AsRec(b)->WeightRow[1] = 7; }, true},
      {"negative weight row", [](std::vector<uint8_t>& b) { AsRec(b)->WeightRow[3] = -1; }, true},
      {"short file", [](std::vector<uint8_t>& b) { b.resize(7135); }, true},
      {"long file", [](std::vector<uint8_t>& b) { b.push_back(0); }, true},
      {"empty file", [](std::vector<uint8_t>& b) { b.clear(); }, true},
      // The checksum does not see a name's last character nor the reserved integers.
      {"last character of a name", [](std::vector<uint8_t>& b) { AsRec(b)->Names[0][0].chars[3] = 'X'; }, false},
      {"reserved integers", [](std::vector<uint8_t>& b) { AsRec(b)->Reserved[4] = 99; }, false},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> b = good;
    c.tamper(b);
    WriteFile(b);
    messages.clear();
    LoadHighScores();
    if (c.reported) {
      ASSERT_EQ(messages.size(), 1u) << c.what;
      EXPECT_EQ(messages[0], "File Error|Hiscore.dat file is cruppted");
      for (int d = 0; d < 3; ++d) EXPECT_EQ(HiScoreRec->Score[d][0], 50000) << c.what;
      EXPECT_EQ(HiScoreRec->Names[0][0].str(), "DEVADIV");
      EXPECT_EQ(HiScoreRec->Header.str(), "ZUBROLLW00001000");
    } else {
      EXPECT_TRUE(messages.empty()) << c.what;
      EXPECT_EQ(HiScoreRec->Score[0][0], 123456) << c.what;
    }
  }
}

TEST_F(HiscoreEnv, ErasingOneTableLeavesTheOthers) {
  SaveSample();
  LoadHighScores();
  ResetHighScoreTable(1);
  EXPECT_EQ(HiScoreRec->Score[0][0], 123456);
  EXPECT_EQ(HiScoreRec->Names[2][3].str(), "Q");
  EXPECT_EQ(HiScoreRec->Names[1][0].str(), "ZUBZUB");
  // The checksums of the kept tables are valid again only after the save at exit.
  EXPECT_FALSE(HighScoreChecksumsValid(*HiScoreRec));
  ASSERT_TRUE(SaveHighScores());
  messages.clear();
  LoadHighScores();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(HiScoreRec->Score[0][0], 123456);
}

TEST(Hiscore, EndStageText) {
  struct Case { int d, end; const char* text; };
  const Case cases[] = {{0, 16, "-*"}, {1, 24, "-*"}, {2, 32, "-*"}, {0, 15, "-16"},
                        {1, 16, "-17"}, {2, 24, "-25"}, {3, 32, "-33"}, {0, 0, "-1"}};
  for (const Case& c : cases) EXPECT_EQ(HighScoreEndText(c.d, c.end), c.text) << c.d << " " << c.end;
}

TEST_F(HiscoreEnv, DrawHighScoreTableInRankColours) {
  ResetAllHighScoreTables(*HiScoreRec);
  HiScoreRec->EndStage[0][0] = 16;
  TDirectDrawSurface surface;
  for (TRGB& p : surface.Palette) p = TRGB{255, 255, 255};
  const TRGB colours[7] = {{0, 0, 0}, {255, 0, 0}, {255, 255, 0}, {0, 128, 0}, {0, 0, 255}, {128, 0, 128}, {0, 128, 128}};
  for (int i = 0; i < 7; ++i) surface.Palette[i] = colours[i];
  surface.Fill(200);
  DrawHighScoreTable(&surface, 0);
  auto count = [&](int colour, int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += surface.Pixel(x, y) == colour;
    return n;
  };
  for (int i = 0; i < 5; ++i) {
    const int y = 171 + 19 * i - 1;
    EXPECT_GT(count(1 + i, 41, 80, y, y + 19), 0) << "rank label " << i;
    EXPECT_GT(count(1 + i, 80, 200, y, y + 19), 0) << "name " << i;
    EXPECT_GT(count(0, 200, 281, y, y + 19), 0) << "score " << i;
    EXPECT_EQ(count(0, 282, 400, y, y + 19), 0) << "score ends at 280 " << i;
    EXPECT_GT(count(6, 281, 302, y, y + 19), 0) << "start stage " << i;
    EXPECT_GT(count(6, 302, 340, y, y + 19), 0) << "end stage " << i;
  }
  // Nothing outside the table's rows.
  EXPECT_EQ(count(0, 0, 512, 0, 160), 0);
  EXPECT_EQ(count(0, 0, 512, 280, 400), 0);
}
