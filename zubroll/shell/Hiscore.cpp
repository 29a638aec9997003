#include "zubroll/shell/Hiscore.h"

#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/msgbox.h"
#include "zubroll/shell/Stringhl.h"
#include "zubroll/shell/settings.h"
#include "zubroll/sprite/surface.h"

namespace zubroll {

namespace {

// Character k (1-based) of s as an unsigned code.
inline uint32_t CharAt(const std::string& s, size_t k) { return uint8_t(s[k - 1]); }
inline size_t CountedChar(size_t len) { return len == 1 ? 1 : len - 1; }

}  // namespace

int32_t HighScoreChecksum(const THighScoreRec& rec, int d, int row) {
  const TStringHolder& w = HiSumString();
  uint32_t sum = 0;
  for (int i = 0; i < kHighScoreEntries; ++i) {
    const uint32_t wn = uint32_t(w.AsInt(5 * row + i));
    const uint32_t ws = uint32_t(w.AsInt(4 * row + i));
    const std::string name = rec.Names[d][i].str();
    if (!name.empty()) sum += CharAt(name, CountedChar(name.size())) + wn;
    const std::string score = std::to_string(rec.Score[d][i]);
    sum += CharAt(score, CountedChar(score.size())) * wn;
    sum += ws * uint32_t(rec.StartStage[d][i]) + ws * uint32_t(rec.EndStage[d][i]) +
           ws * uint32_t(rec.FrameRate[d][i]);
  }
  return int32_t(sum);
}

int32_t HighScoreChecksum(int d, int row) {
  if (!HiScoreRec || d < 0 || d >= kHighScoreTables || row < 0 || row > 3) return 0;
  return HighScoreChecksum(*HiScoreRec, d, row);
}

bool HighScoreChecksumsValid(const THighScoreRec& rec) {
  for (int d = 0; d < kHighScoreTables; ++d) {
    const int row = rec.WeightRow[d];
    if (row < 0 || row > 3) return false;  // would index past the twenty weights
    if (HighScoreChecksum(rec, d, row) != rec.Checksum[d]) return false;
  }
  return true;
}

void SealHighScores(THighScoreRec& rec) {
  for (int d = 0; d < kHighScoreTables; ++d) {
    rec.WeightRow[d] = random(4);
    rec.Checksum[d] = HighScoreChecksum(rec, d, rec.WeightRow[d]);
  }
}

void ResetHighScoreTable(THighScoreRec& rec, int d) {
  if (d < 0 || d >= kHighScoreTables) return;
  std::memset(static_cast<void*>(&rec.Header), 0, sizeof rec.Header);
  rec.Header.set(kHighScoreHeader);
  static const char* const names[4] = {"DEVADIV", "ZUBZUB", "PERIWINKL", "tuvelo"};
  for (int i = 0; i < kHighScoreEntries; ++i) {
    if (d < 4) rec.Names[d][i].set(names[d]);
    rec.StartStage[d][i] = 0;
    rec.EndStage[d][i] = 0;
    rec.FrameRate[d][i] = 30;
    rec.Score[d][i] = d == 3 ? 9999999 : 50000 - 10000 * i;
  }
  std::memset(rec.Checksum, 0, sizeof rec.Checksum);
  std::memset(rec.Reserved, 0, sizeof rec.Reserved);
}

void ResetAllHighScoreTables(THighScoreRec& rec) {
  for (int d = 0; d < kHighScoreTables; ++d) ResetHighScoreTable(rec, d);
}

void ResetHighScoreTable(int d) {
  if (HiScoreRec) ResetHighScoreTable(*HiScoreRec, d);
}

std::string HighScorePath() { return ProgramFolder() + kHighScoreFileName; }

void LoadHighScores() {
  if (!HiScoreRec) return;
  THighScoreRec& rec = *HiScoreRec;
  const std::string path = platform::resolve_path(HighScorePath());
  if (!platform::file_exists(path)) {
    ResetAllHighScoreTables(rec);
    return;
  }
  std::vector<uint8_t> bytes;
  bool ok = platform::read_file(path, bytes, 1u << 20) && bytes.size() == sizeof(THighScoreRec);
  if (ok) {
    std::memcpy(static_cast<void*>(&rec), bytes.data(), sizeof rec);
    ok = HighScoreChecksumsValid(rec);
  }
  if (!ok) {
    platform::message_box(kHighScoreErrorCaption, kHighScoreErrorText, platform::MsgButtons::Ok,
                          platform::MsgIcon::Error);
    std::memset(static_cast<void*>(&rec), 0, sizeof rec);
    ResetAllHighScoreTables(rec);
  }
}

bool SaveHighScores(std::string* error) {
  if (!HiScoreRec) return false;
  THighScoreRec& rec = *HiScoreRec;
  rec.FrameRate[0][0] = FpsAverage;
  SealHighScores(rec);
  return platform::write_file_atomic(platform::resolve_path(HighScorePath()), &rec, sizeof rec, error);
}

int HighScoreRank(const THighScoreRec& rec, int d, int score) {
  if (d < 0 || d >= kHighScoreTables) return -1;
  for (int i = 0; i < kHighScoreEntries; ++i)
    if (rec.Score[d][i] < score) return i;
  return -1;
}

int HighScoreEntryRank() {
  if (!GameRec || !HiScoreRec) return -1;
  if (GameRec->Difficulty > 2 || GameRec->Difficulty < 0 || SecretUnlocked) return -1;
  return HighScoreRank(*HiScoreRec, GameRec->Difficulty, Score);
}

void InsertHighScore(THighScoreRec& rec, int d, int rank, const std::string& name, int start_stage,
                     int end_stage, int score, int frame_rate) {
  if (d < 0 || d >= kHighScoreTables || rank < 0 || rank >= kHighScoreEntries) return;
  for (int i = kHighScoreEntries - 1; i > rank; --i) {
    rec.Names[d][i] = rec.Names[d][i - 1];
    rec.StartStage[d][i] = rec.StartStage[d][i - 1];
    rec.EndStage[d][i] = rec.EndStage[d][i - 1];
    rec.Score[d][i] = rec.Score[d][i - 1];
    rec.FrameRate[d][i] = rec.FrameRate[d][i - 1];
  }
  rec.Names[d][rank].set(name);
  rec.StartStage[d][rank] = start_stage;
  rec.EndStage[d][rank] = end_stage;
  rec.Score[d][rank] = score;
  rec.FrameRate[d][rank] = frame_rate;
}

void StoreHighScoreEntry(int rank, const std::string& name) {
  if (!GameRec || !HiScoreRec) return;
  InsertHighScore(*HiScoreRec, GameRec->Difficulty, rank, name, GameRec->StartStage, StageNo, Score,
                  FpsAverage);
}

int BestScoreOf(int d) {
  if (!HiScoreRec || d < 0 || d >= kHighScoreTables) return 99999999;
  return HiScoreRec->Score[d][0];
}

std::string HighScoreEndText(int d, int end_stage) {
  const bool cleared = (d == 0 && end_stage == 16) || (d == 1 && end_stage == 24) || (d == 2 && end_stage == 32);
  return cleared ? std::string("-*") : "-" + std::to_string(end_stage + 1);
}

void DrawHighScoreTable(TDirectDrawSurface* surface, int d) {
  if (!surface || !HiScoreRec || !GameRec || d < 0 || d >= kHighScoreTables) return;
  const THighScoreRec& rec = *HiScoreRec;
  // Rank colours red, yellow, green, blue, purple; stages in teal; shadows in black.
  static const TRGB rank_colours[5] = {{255, 0, 0}, {255, 255, 0}, {0, 128, 0}, {0, 0, 255}, {128, 0, 128}};
  const TRGB black{0, 0, 0}, teal{0, 128, 128};
  TCanvas canvas(surface);
  TFontSpec font;
  font.Size = 12;
  font.Bold = true;
  auto text = [&](int x, int y, const std::string& s, TRGB colour) {
    font.Colour = colour;
    canvas.TextOut(x, y, s, font);
  };
  auto right = [&](int x_end, int y, const std::string& s, TRGB colour) {
    font.Colour = colour;
    canvas.TextOut(x_end - canvas.TextWidth(s, font), y, s, font);
  };
  for (int i = 0; i < kHighScoreEntries; ++i) {
    const int y = 171 + 19 * i;
    const std::string& rank = GameRec->RankTexts[i];
    text(42, y, rank, black);
    text(41, y - 1, rank, rank_colours[i]);
    const std::string name = rec.Names[d][i].str();
    text(81, y, name, black);
    text(80, y - 1, name, rank_colours[i]);
    right(280, y - 1, std::to_string(rec.Score[d][i]), black);
    right(302, y - 1, std::to_string(rec.StartStage[d][i] + 1), teal);
    text(302, y - 1, HighScoreEndText(d, rec.EndStage[d][i]), teal);
  }
}

}  // namespace zubroll
