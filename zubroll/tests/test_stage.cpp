#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fixtures.h"
#include "platform/files.h"
#include "platform/image_io.h"
#include "platform/msgbox.h"
#include "zubroll/play/Stage.h"
#include "zubroll/stages/StageText.h"

using namespace zubroll;
using zubroll::test::TempFolder;

namespace {

struct Message {
  std::string caption, text;
};

// Game record, blocks and stage hooks over a temporary folder; message boxes are recorded.
struct StageEnv : ::testing::Test {
  TempFolder dir;
  bool editor = false;
  int cleared = 0;
  std::vector<Message> messages;

  void SetUp() override {
    ResetLooseGlobals();
    FreeGameRec();
    ASSERT_TRUE(AllocateGameRec());
    ASSERT_TRUE(AllocateSharedBlocks());
    GameRec->ExePath = dir.path() + "zubroll";
    GameRec->Difficulty = 3;
    SettingRec->OwnerName.set("tester");
    StageHooks().EditorOpen = [this] { return editor; };
    StageHooks().ClearFieldActors = [this] { ++cleared; };
    platform::set_message_box_handler([this](const std::string& c, const std::string& t, platform::MsgButtons,
                                             platform::MsgIcon) {
      messages.push_back({c, t});
      return platform::MsgResult::Ok;
    });
  }
  void TearDown() override {
    platform::set_message_box_handler(nullptr);
    StageHooks() = TStageHooks{};
    FreeSharedBlocks();
    FreeGameRec();
  }

  // A plain set with a few eggs in stage 0 and 5.
  static void Fill(TStageSet& s) {
    std::memset(static_cast<void*>(&s), 0, sizeof s);
    ResetStageSet(s);
    s.Version.set(kStageVersion);
    s.SetName.set("Standard");
    s.Cell(0, 3, 5) = 1;
    s.Cell(0, 3, 7) = 4;
    s.Cell(0, 4, 9) = kCellHard;
    s.Cell(5, 2, 12) = kCellGBos;
    s.Cell(31, 9, 27) = 5;
  }
  // Writes a set as the editor saves it (random signature) under `name`.
  std::string SaveAs(const std::string& name) {
    Fill(*StageSet);
    const std::string path = dir.path() + name;
    EXPECT_TRUE(SaveStageSet(path));
    return path;
  }
  // Writes a set carrying the shipped signature, as the build makes the difficulty sets.
  std::string WriteShipped(const std::string& name, const std::string& set_name) {
    auto s = std::make_unique<TStageSet>();
    Fill(*s);
    s->SetName.set(set_name);
    PrepareStageSetForSave(*s, name, "The Zubroll team", 0);
    s->Signature = ShippedSignature(*s);
    const std::string path = dir.path() + name;
    EXPECT_TRUE(platform::write_file_atomic(path, s.get(), sizeof *s));
    return path;
  }
  bool Load(const std::string& path, int difficulty, bool in_editor) {
    GameRec->Difficulty = difficulty;
    editor = in_editor;
    messages.clear();
    return LoadStageSet(path);
  }
  bool SetIsBlank() const {
    for (uint8_t b : StageSet->Cells)
      if (b) return false;
    for (int s = 0; s < 32; ++s)
      if (StageSet->ClearCount[s]) return false;
    return true;
  }
  std::vector<uint8_t> Read(const std::string& path) {
    std::vector<uint8_t> b;
    platform::read_file(path, b);
    return b;
  }
  void Write(const std::string& path, const std::vector<uint8_t>& b) {
    ASSERT_TRUE(platform::write_file_atomic(path, b));
  }
  static TStageSet* AsSet(std::vector<uint8_t>& b) { return reinterpret_cast<TStageSet*>(b.data()); }
};

}  // namespace

TEST(Stage, CheckWordsOverStoredBytes) {
  auto s = std::make_unique<TStageSet>();
  std::memset(static_cast<void*>(s.get()), 0, sizeof *s);
  s->Cell(0, 0, 5) = uint8_t(-3);  // read as signed
  s->Cell(0, 0, 33) = 99;          // column 33 is never counted
  EXPECT_EQ(StageByteSum(*s), -3);
  EXPECT_EQ(StageCellCheck(*s), -15);
  // P[n] x (((h + j) x j) mod 4), n = 32h + j.
  s->BallSpeed[1] = 100;   // h 0, j 1: factor 1
  s->BallSpeed[2] = 999;   // h 0, j 2: factor 0
  s->BallSpeed[33] = 7;    // h 1, j 1: factor 2
  s->MonsterKind[35] = 5;  // h 1, j 3: factor 0
  s->MonsterStunTime[3] = -4;  // h 0, j 3: factor 1
  EXPECT_EQ(StageParamCheck(*s), 100 + 14 - 4);
}

TEST(Stage, ScramblingAddsOffsetsInByteArithmeticAndLeavesColumn33) {
  auto s = std::make_unique<TStageSet>();
  std::memset(static_cast<void*>(s.get()), 0, sizeof *s);
  s->Cell(1, 2, 3) = 5;     // offset 6
  s->Cell(2, 13, 32) = 250; // offset (2 + 13 + 32) mod 16 = 15: wraps to 9
  s->Cell(3, 4, 33) = 7;
  ScrambleStageCells(*s);
  EXPECT_EQ(s->Cell(1, 2, 3), 11);
  EXPECT_EQ(s->Cell(2, 13, 32), 9);
  EXPECT_EQ(s->Cell(3, 4, 33), 7);
  EXPECT_EQ(s->Cell(0, 0, 1), 1);
  EXPECT_EQ(s->Cell(0, 13, 33), 0);
}

TEST(Stage, SignatureHash) {
  // S = "C" + "AB" + "C": 67(67+8+67) + 65(67+16+65) + 66(65+24+66) + 67(66+32+67).
  EXPECT_EQ(SignatureHash("AB", "C"), 9514 + 9620 + 10230 + 11055);
  EXPECT_EQ(SignatureHash("", ""), 0);
  // Bytes are unsigned: 200 x (200 + 8 + 200).
  EXPECT_EQ(SignatureHash("\xc8", ""), 200 * 408);
  EXPECT_EQ(SignedDecimal(-12), "-12");
  EXPECT_EQ(SignedDecimal(0), "0");
}

TEST(Stage, BlankDefaultsForFirstAndLastStage) {
  auto s = std::make_unique<TStageSet>();
  std::memset(static_cast<void*>(s.get()), 0x5a, sizeof *s);
  s->Version.set("keep");
  ResetStageSet(*s);
  struct Case { int stage, cap, first, ret, stun; };
  // Stage 31's return delay is 736 - 20 x 31 = 116: the floor of 112 is never reached.
  for (const Case& c : {Case{0, 1024, 640, 736, 28}, Case{31, 1280, 256, 116, 8}, Case{12, 1132, 472, 496, 20}})
    for (int n : {c.stage, 32 + c.stage}) {
      EXPECT_EQ(s->BallSpeed[n], 512) << n;
      EXPECT_EQ(s->BallSpeedCap[n], c.cap) << n;
      EXPECT_EQ(s->MonsterFirstDelay[n], c.first) << n;
      EXPECT_EQ(s->MonsterReturnDelay[n], c.ret) << n;
      EXPECT_EQ(s->MonsterStunTime[n], c.stun) << n;
      EXPECT_EQ(s->MonsterKind[n], 0) << n;
    }
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(s->ClearCount[i], 0);
    EXPECT_EQ(s->Extra1[i] | s->Extra2[i] | s->Extra3[i], 0);
  }
  for (uint8_t b : s->Cells) ASSERT_EQ(b, 0);
  EXPECT_EQ(s->Version.str(), "keep");
}

TEST(Stage, ClearCountPerCellCode) {
  auto s = std::make_unique<TStageSet>();
  std::memset(static_cast<void*>(s.get()), 0, sizeof *s);
  struct Case { int code, count; };
  const Case cases[] = {{1, 1},  {2, 1},  {3, 1},   {4, 1},   {5, 1},   {6, 0},   {7, 0},   {8, 0},
                        {9, 0},  {10, 5}, {11, 10}, {12, 44}, {13, 20}, {100, 0}, {101, 0}, {102, 0},
                        {103, 0}, {50, 0}, {120, 0}, {121, 0}, {200, 0}, {255, 0}};
  for (const Case& c : cases) {
    std::memset(s->Cells, 0, sizeof s->Cells);
    s->Cell(4, 5, 6) = uint8_t(c.code);
    s->Cell(4, 13, 33) = 1;  // border cells count too
    EXPECT_EQ(StageClearCount(*s, 4), c.count + 1) << c.code;
  }
}

TEST(Stage, QBosCountsMoreOnlyInTheSetNamedHard) {
  auto s = std::make_unique<TStageSet>();
  std::memset(static_cast<void*>(s.get()), 0, sizeof *s);
  s->Cell(2, 4, 11) = kCellQBos;
  s->Cell(2, 8, 1) = 3;
  struct Case { const char* name; int count; };
  for (const Case& c : {Case{"HARD.EGS", 57}, Case{"Hard.egs", 45}, Case{"HARD.EGG", 45}, Case{"HARD.EGS ", 45},
                        Case{"NORMAL.EGS", 45}, Case{"", 45}}) {
    s->SetName.set(c.name);
    EXPECT_EQ(StageClearCount(*s, 2), c.count) << c.name;
  }
}

TEST(Stage, BossKindPrecedence) {
  auto s = std::make_unique<TStageSet>();
  struct Case { std::vector<int> codes; int kind; };
  const Case cases[] = {{{}, 0},
                        {{kCellGBos}, 1},
                        {{kCellGBos, kCellQBos}, 3},
                        {{kCellBBos, kCellGBos}, 2},
                        {{kCellGBos, kCellBBos}, 1},
                        {{kCellBBos, kCellEggKing}, 4},
                        {{kCellGBos, kCellEggKing}, 4},
                        {{kCellQBos, kCellEggKing}, 3},
                        {{kCellEggKing, kCellQBos}, 4},
                        {{kCellBBos, kCellQBos}, 2},
                        {{kCellQBos, kCellGBos}, 3},
                        {{kCellGBosArea, kCellBBosArea}, 0}};
  for (const Case& c : cases) {
    std::memset(static_cast<void*>(s.get()), 0, sizeof *s);
    // Scan order is row by row, each from column 0 to 33.
    int k = 0;
    for (int code : c.codes) {
      s->Cell(9, 2 + k, k == 0 ? 30 : 0) = uint8_t(code);
      ++k;
    }
    EXPECT_EQ(StageBossKind(*s, 9), c.kind) << c.codes.size();
  }
  EXPECT_EQ(StageBossKind(*s, -1), 0);
  EXPECT_EQ(StageBossKind(*s, 32), 0);
}

TEST_F(StageEnv, SaveThenLoadKeepsTheSetAndItsPlainCells) {
  const std::string path = SaveAs("MINE.EGG");
  // The set in memory keeps plain cells after the save.
  EXPECT_EQ(StageSet->Cell(0, 3, 7), 4);
  std::vector<uint8_t> bytes = Read(path);
  ASSERT_EQ(bytes.size(), 18464u);
  TStageSet* f = AsSet(bytes);
  EXPECT_EQ(f->Version.str(), "00001002");
  EXPECT_EQ(f->SetName.str(), "Standard");
  EXPECT_EQ(f->OwnerName.str(), "tester");
  EXPECT_EQ(f->Cell(0, 3, 7), 4 + 10);
  EXPECT_EQ(f->Cell(0, 0, 0), 0);
  EXPECT_EQ(f->Cell(0, 0, 1), 1);
  EXPECT_EQ(f->CellCheck, StageCellCheck(*f));
  EXPECT_EQ(f->ParamCheck, StageParamCheck(*f));
  EXPECT_EQ(f->ByteSum, StageByteSum(*f));
  EXPECT_GE(f->Signature, 0);
  EXPECT_LE(f->Signature, 9999);

  std::memset(StageSet->Cells, 0, sizeof StageSet->Cells);
  ASSERT_TRUE(Load(path, 3, false));
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(GameRec->StageDataInvalid);
  EXPECT_EQ(StageSet->Cell(0, 3, 7), 4);
  EXPECT_EQ(StageSet->Cell(0, 4, 9), kCellHard);
  EXPECT_EQ(StageSet->Cell(31, 9, 27), 5);
  EXPECT_EQ(StageSet->ClearCount[0], 2);
  EXPECT_EQ(StageSet->ClearCount[5], 5);
  EXPECT_EQ(StageSet->ClearCount[31], 1);
  EXPECT_EQ(StageClearCount(5), 5);
  EXPECT_EQ(StageClearCount(32), 0);
  EXPECT_EQ(StageBossKind(5), kBossGBos);
  // An edited set opens in the editor too.
  EXPECT_TRUE(Load(path, 3, true));
}

TEST_F(StageEnv, PlainFormatLoadsUncheckedEvenWithCodesAbove120) {
  auto s = std::make_unique<TStageSet>();
  Fill(*s);
  s->Version.set("1000");
  s->Cell(2, 3, 4) = 200;
  s->Cell(2, 3, 8) = 121;
  s->Cell(2, 3, 12) = 2;
  s->CellCheck = 12345;  // nonsense check words and signature
  s->ParamCheck = -1;
  s->Signature = 77;
  const std::string path = dir.path() + "OLD.EGG";
  ASSERT_TRUE(platform::write_file_atomic(path, s.get(), sizeof *s));
  GameRec->StageDataInvalid = true;
  for (int d : {0, 3}) {
    ASSERT_TRUE(Load(path, d, d == 0)) << d;
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(GameRec->StageDataInvalid);  // kept as it was
    EXPECT_EQ(StageSet->Cell(2, 3, 4), 200);  // not descrambled
    EXPECT_EQ(StageSet->Cell(2, 3, 12), 2);
    EXPECT_EQ(StageSet->Cell(0, 3, 7), 4);
    EXPECT_EQ(StageSet->ClearCount[2], 1);  // bytes above 120 count nothing
    EXPECT_EQ(StageBossKind(2), 0);
  }
  GameRec->StageDataInvalid = false;
  ASSERT_TRUE(Load(path, 0, false));
  EXPECT_FALSE(GameRec->StageDataInvalid);
  // Saved again it becomes the scrambled format; meaningless bytes are saved empty.
  ASSERT_TRUE(SaveStageSet(dir.path() + "NEW.EGG"));
  ASSERT_TRUE(Load(dir.path() + "NEW.EGG", 3, false));
  EXPECT_EQ(StageSet->Cell(2, 3, 4), 0);
  EXPECT_EQ(StageSet->Cell(2, 3, 12), 2);
}

TEST_F(StageEnv, EditorSavedEasyFailsAsTheEasySet) {
  const std::string path = SaveAs("Easy.egs");
  std::vector<uint8_t> bytes = Read(path);
  ASSERT_EQ(bytes.size(), 18464u);
  EXPECT_EQ(AsSet(bytes)->SetName.str(), "EASY.EGS");
  EXPECT_NE(AsSet(bytes)->Signature, ShippedSignature(*AsSet(bytes)));
  EXPECT_FALSE(Load(path, 0, false));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "STAGE DATA ERROR");
  EXPECT_EQ(messages[0].text, "Invalid Stage data error.");
  EXPECT_TRUE(GameRec->StageDataInvalid);
  EXPECT_TRUE(SetIsBlank());
  EXPECT_EQ(StageSet->SetName.str(), "EASY.EGS");  // header strings stay as read
  EXPECT_EQ(StageSet->BallSpeedCap[31], 1280);
  EXPECT_EQ(cleared, 1);
  // The same file is fine as an edit set and in the editor.
  EXPECT_TRUE(Load(path, 3, false));
  EXPECT_FALSE(GameRec->StageDataInvalid);
  EXPECT_TRUE(Load(path, 0, true));
}

TEST_F(StageEnv, SetNameRuleOfSaving) {
  struct Case { const char* file; const char* name; };
  const Case cases[] = {{"Easy.egs", "EASY.EGS"}, {"Normal.egs", "NORMAL.EGS"}, {"Hard.egs", "HARD.EGS"},
                        {"EASY.EGS", "Standard"}, {"easy.egs", "Standard"},     {"Hard.EGG", "Standard"},
                        {"MY.EGG", "Standard"}};
  for (const Case& c : cases) {
    TempFolder sub;
    Fill(*StageSet);
    ASSERT_TRUE(SaveStageSet(sub.path() + c.file)) << c.file;
    std::vector<uint8_t> bytes = Read(sub.path() + c.file);
    ASSERT_EQ(bytes.size(), 18464u) << c.file;
    EXPECT_EQ(AsSet(bytes)->SetName.str(), c.name) << c.file;
  }
}

TEST_F(StageEnv, ShippedSetFailsInTheEditor) {
  for (const char* name : {"EASY.EGS", "NORMAL.EGS", "HARD.EGS"}) {
    const std::string path = WriteShipped(name, name);
    EXPECT_TRUE(Load(path, 0, false)) << name;
    EXPECT_TRUE(Load(path, 2, false)) << name;
    EXPECT_TRUE(Load(path, 3, false)) << name;
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(Load(path, 3, true)) << name;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Invalid Stage data error.");
    EXPECT_TRUE(GameRec->StageDataInvalid);
  }
}

TEST_F(StageEnv, SignatureFollowsNamesAndCheckWords) {
  const std::string path = WriteShipped("NORMAL.EGS", "NORMAL.EGS");
  struct Tamper { int offset; uint8_t value; };
  // OwnerName's first character or SetName's last one: each breaks the signature.
  for (const Tamper& t : {Tamper{513, 'x'}, Tamper{256 + 10, 'Z'}}) {
    std::vector<uint8_t> b = Read(path);
    b[size_t(t.offset)] = t.value;
    Write(path + ".t", b);
    EXPECT_FALSE(Load(path + ".t", 1, false)) << t.offset;
    EXPECT_TRUE(Load(path + ".t", 3, false)) << t.offset;
  }
}

TEST_F(StageEnv, BadCellsAndCheckWordsFailVerification) {
  const std::string path = SaveAs("MINE.EGG");
  struct Case { const char* what; int stage, row, col; int stored; };
  // (s + r + c) mod 16 of (1, 2, 3) is 6: a stored 5 is below it; 127 would decode to 121.
  const Case cases[] = {{"below its offset", 1, 2, 3, 5}, {"code above 120", 1, 2, 3, 127},
                        {"negative byte", 1, 2, 3, 200}};
  for (const Case& c : cases) {
    std::vector<uint8_t> b = Read(path);
    TStageSet* f = AsSet(b);
    f->Cell(c.stage, c.row, c.col) = uint8_t(c.stored);
    f->CellCheck = StageCellCheck(*f);  // only the cell rule fails
    Write(path + ".t", b);
    EXPECT_FALSE(Load(path + ".t", 3, false)) << c.what;
    EXPECT_TRUE(SetIsBlank()) << c.what;
  }
  {
    auto copy = std::make_unique<TStageSet>();
    std::vector<uint8_t> b = Read(path);
    TStageSet* f = AsSet(b);
    f->Cell(1, 2, 3) = 5;
    f->Cell(1, 2, 0) = 124;  // offset 3: decodes to 121
    f->CellCheck = StageCellCheck(*f);
    std::memcpy(static_cast<void*>(copy.get()), f, sizeof *copy);
    EXPECT_FALSE(VerifyStageSetAs(*copy, false, 3));
    EXPECT_EQ(copy->Cell(1, 2, 3), 0);  // failing cells become empty, the rest is descrambled
    EXPECT_EQ(copy->Cell(1, 2, 0), 0);
    EXPECT_EQ(copy->Cell(0, 3, 7), 4);
  }
  for (int which = 0; which < 2; ++which) {
    std::vector<uint8_t> b = Read(path);
    TStageSet* f = AsSet(b);
    if (which == 0) f->ParamCheck += 1;
    else f->MonsterStunTime[33] += 1;  // factor 2 in the check word
    Write(path + ".t", b);
    EXPECT_FALSE(Load(path + ".t", 3, false)) << which;
  }
  {
    // ByteSum is written but never compared.
    std::vector<uint8_t> b = Read(path);
    AsSet(b)->ByteSum ^= 0x1234;
    Write(path + ".t", b);
    EXPECT_TRUE(Load(path + ".t", 3, false));
  }
}

TEST_F(StageEnv, Column33IsNeitherScrambledNorChecked) {
  Fill(*StageSet);
  StageSet->Cell(4, 6, 33) = 3;
  const std::string path = dir.path() + "MINE.EGG";
  ASSERT_TRUE(SaveStageSet(path));
  std::vector<uint8_t> b = Read(path);
  EXPECT_EQ(AsSet(b)->Cell(4, 6, 33), 3);
  EXPECT_EQ(AsSet(b)->Cell(4, 6, 32), (4 + 6 + 32) % 16);
  AsSet(b)->Cell(4, 6, 33) = 5;
  AsSet(b)->Cell(7, 0, 33) = 1;
  Write(path, b);
  ASSERT_TRUE(Load(path, 3, false));
  EXPECT_EQ(StageSet->Cell(4, 6, 33), 5);
  EXPECT_EQ(StageSet->ClearCount[7], 1);
  AsSet(b)->Cell(4, 6, 32) += 1;  // column 32 is checked
  Write(path, b);
  EXPECT_FALSE(Load(path, 3, false));
}

TEST_F(StageEnv, ShortFileFailsLikeABadSet) {
  const std::string path = SaveAs("MINE.EGG");
  for (size_t size : {size_t(18463), size_t(1024), size_t(0)}) {
    std::vector<uint8_t> b = Read(path);
    b.resize(size);
    Write(path + ".short", b);
    GameRec->StageDataInvalid = false;
    cleared = 0;
    EXPECT_FALSE(Load(path + ".short", 3, false)) << size;
    ASSERT_EQ(messages.size(), 1u) << size;
    EXPECT_EQ(messages[0].text, "Invalid Stage data error.");
    EXPECT_TRUE(GameRec->StageDataInvalid);
    EXPECT_TRUE(SetIsBlank());
    EXPECT_EQ(cleared, 1);
  }
  // A longer file supplies its first record.
  std::vector<uint8_t> b = Read(path);
  b.resize(3u << 20, 0xff);  // even a big one
  Write(path + ".long", b);
  EXPECT_TRUE(Load(path + ".long", 3, false));
}

TEST_F(StageEnv, MissingFiles) {
  EXPECT_FALSE(Load(dir.path() + "NONE.EGG", 3, false));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "STAGE DATA ERROR");
  EXPECT_EQ(messages[0].text, "Can't find stage data.");
  EXPECT_TRUE(SetIsBlank());
  EXPECT_EQ(cleared, 1);
  // Only the exact name "EDIT.EGG" gives a fresh edit set.
  EXPECT_FALSE(Load(dir.path() + "Edit.egg", 3, true));
  StageSet->Signature = 42;
  StageSet->Cell(1, 1, 1) = 1;
  ASSERT_TRUE(Load(dir.path() + "EDIT.EGG", 3, true));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(StageSet->Version.str(), "00001002");
  EXPECT_EQ(StageSet->SetName.str(), "Standard");
  EXPECT_EQ(StageSet->OwnerName.str(), "tester");
  EXPECT_EQ(StageSet->Signature, 0);
  EXPECT_EQ(StageSet->CellCheck, 0);
  EXPECT_TRUE(SetIsBlank());
  EXPECT_FALSE(platform::file_exists(dir.path() + "EDIT.EGG"));  // written at the next save
}

TEST_F(StageEnv, ApplyStageParameters) {
  Fill(*StageSet);
  StageSet->BallSpeed[4] = 600;
  StageSet->MonsterKind[4] = 2;
  InputMode = 1;
  ApplyStageParameters(4);
  EXPECT_EQ(GameRec->BallSpeed, 600);
  EXPECT_EQ(GameRec->BallSpeedCap, 1024 + 36);
  EXPECT_EQ(GameRec->MonsterFirstDelay, 640 - 56);
  EXPECT_EQ(GameRec->MonsterReturnDelay, 736 - 80);
  EXPECT_EQ(GameRec->MonsterStunTime, 26);
  // A loaded replay waiting for its first serve supplies the values itself.
  InputMode = 3;
  ApplyStageParameters(31);
  EXPECT_EQ(GameRec->BallSpeedCap, 1024 + 36);
  InputMode = 0;
  ApplyStageParameters(31);
  EXPECT_EQ(GameRec->BallSpeedCap, 1280);
  ApplyStageParameters(32);  // out of range: nothing
  EXPECT_EQ(GameRec->BallSpeedCap, 1280);
}

TEST(StageText, DecompileThenCompileGivesTheSameFile) {
  auto s = std::make_unique<TStageSet>();
  std::memset(static_cast<void*>(s.get()), 0, sizeof *s);
  ResetStageSet(*s);
  s->Version.set(kStageVersion);
  s->SetName.set("HARD.EGS");
  s->OwnerName.set("two words");
  s->Cell(3, 2, 5) = 1;
  s->Cell(3, 4, 11) = kCellQBos;
  s->Cell(3, 4, 12) = kCellQBosArea;
  s->Cell(3, 5, 6) = 57;  // no legend character
  s->MonsterKind[3] = 2;
  s->MonsterKind[35] = 1;
  s->Extra2[3] = -9;
  TStageText text;
  text.Set = std::make_unique<TStageSet>(*s);
  auto file = BuildStageFile(text);
  EXPECT_EQ(file->Signature, ShippedSignature(*file));  // a difficulty set gets the shipped signature
  EXPECT_EQ(file->ClearCount[3], 57);
  const std::string t = StageFileToText(*file);
  EXPECT_NE(t.find("signature shipped"), std::string::npos);
  EXPECT_NE(t.find("cell 5 6 57"), std::string::npos);
  TStageText parsed;
  std::string error;
  ASSERT_TRUE(ParseStageText(t, parsed, error)) << error;
  auto again = BuildStageFile(parsed);
  EXPECT_EQ(std::memcmp(file.get(), again.get(), sizeof *file), 0);
}

TEST(StageText, ErrorsNameTheLine) {
  struct Case { const char* text; const char* error; };
  const Case cases[] = {
      {"stage 0\n..\n", "line 2: a grid row has 34 characters, this one 2"},
      {"bogus 1\n", "line 1: unknown header line 'bogus'"},
      {"stage 32\n", "line 1: expected: stage 0..31"},
      {"stage 0\n", "line 1: stage 0 has 0 of 14 grid rows"},
      {"version 2\n", "line 1: version is 00001002 or 1000"},
  };
  for (const Case& c : cases) {
    TStageText parsed;
    std::string error;
    EXPECT_FALSE(ParseStageText(c.text, parsed, error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
  std::string grid;
  for (int r = 0; r < 14; ++r) grid += std::string(r == 3 ? "...?" : "....") + std::string(30, '.') + "\n";
  TStageText parsed;
  std::string error;
  EXPECT_FALSE(ParseStageText("stage 1\n" + grid, parsed, error));
  EXPECT_NE(error.find("has no cell line"), std::string::npos);
  EXPECT_TRUE(ParseStageText("stage 1\n" + grid + "cell 3 3 77\nmonster ballet\nspeed-cap 900 1000\n", parsed, error))
      << error;
  EXPECT_EQ(parsed.Set->Cell(1, 3, 3), 77);
  EXPECT_EQ(parsed.Set->MonsterKind[1], 1);
  EXPECT_EQ(parsed.Set->MonsterKind[33], 1);
  EXPECT_EQ(parsed.Set->BallSpeedCap[1], 900);
  EXPECT_EQ(parsed.Set->BallSpeedCap[33], 1000);
  EXPECT_EQ(parsed.Set->BallSpeedCap[2], 1042);  // stages not given are blank
}

// ---------------------------------------------------------------- shipped sets

namespace {

// Can the ball reach every egg that has to break? Hard eggs, block eggs and bosses
// are walls; breakable eggs open up once broken. The ball is taken as two cells wide
// (26 pixels, twice its collision box) so that the gaps left are roomy.
std::string UnreachableEgg(TStageSet& set, int s) {
  bool wall[14][34] = {};
  for (int r = 0; r < 14; ++r)
    for (int c = 0; c < 34; ++c) {
      const int v = set.Cell(s, r, c);
      if ((v == kCellHard || v == kCellBlock) && c < 33) wall[r][c] = wall[r][c + 1] = true;
      else if (v >= kCellGBos) wall[r][c] = true;
    }
  auto open = [&](int r, int c) { return r >= 0 && r <= 11 && c >= 0 && c <= 27 && !wall[r][c] && !wall[r][c + 1]; };
  bool seen[14][34] = {};
  std::vector<std::pair<int, int>> todo;
  for (int c = 0; c <= 27; ++c)
    if (open(11, c)) {
      seen[11][c] = true;
      todo.push_back({11, c});
    }
  while (!todo.empty()) {
    auto [r, c] = todo.back();
    todo.pop_back();
    const int next[4][2] = {{r + 1, c}, {r - 1, c}, {r, c + 1}, {r, c - 1}};
    for (auto& n : next)
      if (open(n[0], n[1]) && !seen[n[0]][n[1]]) {
        seen[n[0]][n[1]] = true;
        todo.push_back({n[0], n[1]});
      }
  }
  auto reached = [&](int r, int c) { return r >= 0 && r < 14 && c >= 0 && c < 34 && seen[r][c]; };
  for (int r = 0; r < 14; ++r)
    for (int c = 0; c < 34; ++c) {
      const int v = set.Cell(s, r, c);
      if (!((v >= 1 && v <= 6) || v == kCellBomb)) continue;
      bool ok = reached(r, c - 2) || reached(r, c + 2);
      for (int d : {-1, 1})
        for (int x = c - 1; x <= c + 1; ++x) ok = ok || reached(r + d, x);
      if (!ok) return "egg at row " + std::to_string(r) + " column " + std::to_string(c);
    }
  return "";
}

}  // namespace

TEST_F(StageEnv, ShippedSetsLoadAsTheGameLoadsThem) {
  struct Case { const char* file; int difficulty; int played; bool locked; };
  const Case cases[] = {{"EASY.EGS", 0, 16, true},
                        {"NORMAL.EGS", 1, 24, true},
                        {"HARD.EGS", 2, 32, true},
                        {"CLASSIC.EGG", 3, 32, false},
                        {"EDIT.EGG", 3, 4, false}};
  const std::string folder = std::string(ZUBROLL_STAGE_DIR) + "/";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = folder + c.file;
    ASSERT_TRUE(platform::file_exists(path));
    ASSERT_TRUE(Load(path, c.difficulty, false));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(StageSet->Version.str(), "00001002");
    for (int s = 0; s < c.played; ++s) {
      SCOPED_TRACE("stage " + std::to_string(s));
      EXPECT_GT(StageSet->ClearCount[s], 0);
      int anchors = 0;
      for (int r = 0; r < 14; ++r)
        for (int col = 0; col < 34; ++col) {
          const int v = StageSet->Cell(s, r, col);
          anchors += v >= kCellGBos && v <= kCellEggKing;
          if (r == 0 || r == 13 || col == 0 || col == 33) {
            EXPECT_EQ(v, 0) << "border " << r << "," << col;
          }
        }
      EXPECT_LE(anchors, 1);  // every boss on a stage of its own
      EXPECT_EQ(UnreachableEgg(*StageSet, s), "");
      EXPECT_GE(StageSet->BallSpeedCap[s], 512);
      EXPECT_LE(StageSet->BallSpeedCap[s], 1280);
      EXPECT_GE(StageSet->MonsterFirstDelay[s], 16);
      EXPECT_LE(StageSet->MonsterFirstDelay[s], 999);
      EXPECT_GE(StageSet->MonsterReturnDelay[s], 16);
      EXPECT_LE(StageSet->MonsterReturnDelay[s], 768);
      EXPECT_GE(StageSet->MonsterStunTime[s], 2);
      EXPECT_LE(StageSet->MonsterStunTime[s], 256);
      EXPECT_GE(StageSet->MonsterKind[s], 0);
      EXPECT_LE(StageSet->MonsterKind[s], 2);
      EXPECT_EQ(StageSet->BallSpeed[s], 512);
    }
    if (c.difficulty <= 2) {
      EXPECT_GT(StageBossKind(c.played - 1), 0);  // the last stage is a boss fight
    }
    EXPECT_EQ(Load(path, 3, true), !c.locked);
  }
  // Every boss appears in the Hard set.
  ASSERT_TRUE(Load(folder + "HARD.EGS", 2, false));
  bool kinds[5] = {};
  for (int s = 0; s < 32; ++s) kinds[StageBossKind(s)] = true;
  EXPECT_TRUE(kinds[1] && kinds[2] && kinds[3] && kinds[4]);
}

// ---------------------------------------------------------------- the tool

namespace {
int RunTool(const std::string& args, std::string* out = nullptr) {
  const std::string cmd = std::string(ZUBROLL_STAGE_TOOL) + " " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  const int status = pclose(p);
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST(StageTool, InfoOutputAndExitStatus) {
  const std::string folder = std::string(ZUBROLL_STAGE_DIR) + "/";
  std::string out;
  EXPECT_EQ(RunTool("info " + folder + "EASY.EGS --difficulty easy", &out), 0);
  EXPECT_EQ(out.rfind("valid: yes\nname: EASY.EGS\nowner: The Zubroll team\nstage 0 clear ", 0), 0u) << out;
  int lines = 0;
  for (char ch : out) lines += ch == '\n';
  EXPECT_EQ(lines, 35);
  EXPECT_NE(out.find("\nstage 15 clear "), std::string::npos);
  EXPECT_EQ(RunTool("info " + folder + "EASY.EGS --difficulty easy --editor", &out), 1);
  EXPECT_EQ(out.rfind("valid: no\nname: EASY.EGS\n", 0), 0u);
  EXPECT_NE(out.find("stage 0 clear 0 boss 0\n"), std::string::npos);  // blank after a failed load
  EXPECT_EQ(RunTool("info " + folder + "EDIT.EGG --editor"), 0);
  EXPECT_EQ(RunTool("info " + folder + "NOPE.EGG"), 2);
  EXPECT_EQ(RunTool("info " + folder + "EASY.EGS --difficulty medium"), 2);
  EXPECT_EQ(RunTool("frobnicate"), 2);
  EXPECT_EQ(RunTool(""), 2);

  TempFolder dir;
  EXPECT_EQ(RunTool("decompile " + folder + "HARD.EGS > " + dir.path() + "hard.txt"), 0);
  EXPECT_EQ(RunTool("compile " + dir.path() + "hard.txt " + dir.path() + "HARD.EGS"), 0);
  std::vector<uint8_t> a, b;
  ASSERT_TRUE(platform::read_file(folder + "HARD.EGS", a));
  ASSERT_TRUE(platform::read_file(dir.path() + "HARD.EGS", b));
  EXPECT_EQ(a, b);
  ASSERT_TRUE(zubroll::test::WriteFile(dir.path() + "bad.txt", "stage 0\nxx\n"));
  EXPECT_EQ(RunTool("compile " + dir.path() + "bad.txt " + dir.path() + "BAD.EGG"), 2);
  EXPECT_FALSE(platform::file_exists(dir.path() + "BAD.EGG"));
  // The contact sheet: 8 x 4 stages of 34 x 14 cells of 6 x 15 pixels with 6-pixel gaps.
  EXPECT_EQ(RunTool("sheet " + folder + "EASY.EGS " + dir.path() + "easy.png"), 0);
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  ASSERT_TRUE(platform::read_png_rgb(dir.path() + "easy.png", w, h, px));
  EXPECT_EQ(w, 8 * (34 * 6 + 6) + 6);
  EXPECT_EQ(h, 4 * (14 * 15 + 6) + 6);
  EXPECT_EQ(RunTool("sheet " + folder + "NOPE.EGG " + dir.path() + "x.png"), 2);
  ASSERT_TRUE(zubroll::test::WriteFile(dir.path() + "short.egg", std::string(100, 'x')));
  EXPECT_EQ(RunTool("info " + dir.path() + "short.egg", &out), 1);
  EXPECT_EQ(out.rfind("valid: no\n", 0), 0u);
}
