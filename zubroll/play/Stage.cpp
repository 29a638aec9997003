#include "zubroll/play/Stage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/files.h"
#include "platform/msgbox.h"

namespace zubroll {

namespace {

// The six parameter arrays in file order (the check word runs over all of them).
template <class Fn>
void ForEachParamArray(const TStageSet& s, Fn fn) {
  fn(s.BallSpeed);
  fn(s.BallSpeedCap);
  fn(s.MonsterFirstDelay);
  fn(s.MonsterReturnDelay);
  fn(s.MonsterStunTime);
  fn(s.MonsterKind);
}

inline int8_t AsSigned(uint8_t b) { return int8_t(b); }

// A cell code as the layout and the clear count read it. Bytes above 120 have no
// meaning (they occur only in the unchecked plain format) and read as empty.
inline int CellCode(uint8_t b) { return b > kHighestCellCode ? 0 : b; }

}  // namespace

TStageHooks& StageHooks() {
  static TStageHooks hooks;
  return hooks;
}

int32_t StageByteSum(const TStageSet& set) {
  uint32_t sum = 0;
  for (int s = 0; s < kStageCount; ++s)
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageCols - 1; ++c)
        sum += uint32_t(int32_t(AsSigned(set.Cells[s * kStageCells + r * kStageCols + c])));
  return int32_t(sum);
}

int32_t StageCellCheck(const TStageSet& set) {
  uint32_t sum = 0;
  for (int s = 0; s < kStageCount; ++s)
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageCols - 1; ++c)
        sum += uint32_t(int32_t(AsSigned(set.Cells[s * kStageCells + r * kStageCols + c])) *
                        ScrambleOffset(s, r, c));
  return int32_t(sum);
}

int32_t StageParamCheck(const TStageSet& set) {
  uint32_t sum = 0;
  ForEachParamArray(set, [&](const int32_t* p) {
    for (int h = 0; h < 2; ++h)
      for (int j = 0; j < 32; ++j) sum += uint32_t(p[32 * h + j]) * uint32_t(((h + j) * j) % 4);
  });
  return int32_t(sum);
}

std::string SignedDecimal(int32_t v) { return std::to_string(v); }

int32_t SignatureHash(const std::string& a, const std::string& b) {
  const std::string s = b + a + b;
  uint32_t sum = 0;
  for (size_t i = 1; i <= s.size(); ++i) {
    const uint32_t cur = uint8_t(s[i - 1]);
    const uint32_t prev = i > 1 ? uint8_t(s[i - 2]) : uint8_t(s[0]);
    sum += cur * (prev + 8u * uint32_t(i) + cur);
  }
  return int32_t(sum);
}

int32_t ShippedSignature(const TStageSet& set) {
  return SignatureHash(set.SetName.str() + set.OwnerName.str(),
                       SignedDecimal(set.CellCheck) + SignedDecimal(set.ParamCheck));
}

void ScrambleStageCells(TStageSet& set) {
  for (int s = 0; s < kStageCount; ++s)
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageCols - 1; ++c) {
        uint8_t& b = set.Cells[s * kStageCells + r * kStageCols + c];
        b = uint8_t(b + ScrambleOffset(s, r, c));
      }
}

void SealStageSet(TStageSet& set) {
  ScrambleStageCells(set);
  set.ByteSum = StageByteSum(set);
  set.CellCheck = StageCellCheck(set);
  set.ParamCheck = StageParamCheck(set);
}

bool VerifyStageSetAs(TStageSet& set, bool editor_open, int difficulty) {
  if (set.Version.str() == kPlainStageVersion) return true;
  bool valid = true;
  auto copy = std::make_unique<TStageSet>(set);
  for (int s = 0; s < kStageCount; ++s)
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageCols - 1; ++c) {
        const int d = ScrambleOffset(s, r, c);
        const int b = AsSigned(set.Cells[s * kStageCells + r * kStageCols + c]);
        uint8_t& out = copy->Cells[s * kStageCells + r * kStageCols + c];
        if (b < d) {
          out = 0;
          valid = false;
        } else if (b - d > kHighestCellCode) {
          out = 0;
          valid = false;
        } else {
          out = uint8_t(b - d);
        }
      }
  if (StageCellCheck(set) != set.CellCheck) valid = false;
  if (StageParamCheck(set) != set.ParamCheck) valid = false;
  std::memcpy(static_cast<void*>(&set), copy.get(), sizeof(TStageSet));
  const int32_t h = ShippedSignature(set);
  if (editor_open) {
    if (set.Signature == h) valid = false;  // the shipped sets cannot be edited
  } else if (difficulty >= 0 && difficulty <= 2) {
    if (set.Signature != h) valid = false;
  }
  return valid;
}

bool VerifyStageSet(TStageSet& set) {
  if (set.Version.str() == kPlainStageVersion) return true;
  const TStageHooks& hooks = StageHooks();
  const bool editor = hooks.EditorOpen ? hooks.EditorOpen() : GameState == 16;
  const int difficulty = GameRec ? GameRec->Difficulty : 3;
  const bool valid = VerifyStageSetAs(set, editor, difficulty);
  if (GameRec) GameRec->StageDataInvalid = !valid;
  return valid;
}

int32_t DefaultBallSpeed(int) { return 512; }
int32_t DefaultBallSpeedCap(int s) { return std::min(1024 + 9 * s, 1280); }
int32_t DefaultMonsterFirstDelay(int s) { return std::max(640 - 14 * s, 256); }
int32_t DefaultMonsterReturnDelay(int s) { return std::max(736 - 20 * s, 112); }
int32_t DefaultMonsterStunTime(int s) { return std::max(28 - 2 * (s / 3), 4); }

void ResetStageSet(TStageSet& set) {
  std::memset(set.Cells, 0, sizeof set.Cells);
  for (int s = 0; s < kStageCount; ++s) {
    for (int n : {s, 32 + s}) {
      set.BallSpeed[n] = DefaultBallSpeed(s);
      set.BallSpeedCap[n] = DefaultBallSpeedCap(s);
      set.MonsterFirstDelay[n] = DefaultMonsterFirstDelay(s);
      set.MonsterReturnDelay[n] = DefaultMonsterReturnDelay(s);
      set.MonsterStunTime[n] = DefaultMonsterStunTime(s);
      set.MonsterKind[n] = 0;
    }
    set.ClearCount[s] = 0;
    set.Extra1[s] = set.Extra2[s] = set.Extra3[s] = 0;
  }
}

void ResetStageSet() {
  if (StageSet) ResetStageSet(*StageSet);
}

int32_t StageClearCount(const TStageSet& set, int s) {
  if (s < 0 || s >= kStageCount) return 0;
  const bool hard = set.SetName.str() == "HARD.EGS";
  int32_t n = 0;
  for (int i = 0; i < kStageCells; ++i) {
    const int code = CellCode(set.Cells[s * kStageCells + i]);
    if (code >= 1 && code <= 5) n += 1;
    else if (code == kCellGBos) n += 5;
    else if (code == kCellBBos) n += 10;
    else if (code == kCellQBos) n += hard ? 56 : 44;
    else if (code == kCellEggKing) n += 20;
  }
  return n;
}

void RecountClearCounts(TStageSet& set) {
  for (int s = 0; s < kStageCount; ++s) set.ClearCount[s] = StageClearCount(set, s);
}

int32_t StageClearCount(int s) {
  return StageSet && s >= 0 && s < kStageCount ? StageSet->ClearCount[s] : 0;
}

std::string StageFileName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

std::string CurrentOwnerName() {
  const TStageHooks& hooks = StageHooks();
  if (hooks.OwnerName) return hooks.OwnerName();
  return SettingRec ? SettingRec->OwnerName.str() : std::string();
}

void ClearField() {
  const TStageHooks& hooks = StageHooks();
  if (hooks.ClearFieldActors) hooks.ClearFieldActors();
}

bool FailLoad(const char* text) {
  platform::message_box(kStageErrorCaption, text, platform::MsgButtons::Ok, platform::MsgIcon::Error);
  ResetStageSet(*StageSet);
  ClearField();
  return false;
}

}  // namespace

bool LoadStageSet(const std::string& path) {
  if (!StageSet) return false;
  TStageSet& set = *StageSet;
  const std::string resolved = platform::resolve_path(path);
  if (platform::file_exists(resolved)) {
    // One record from the start of the file; anything after it is not read.
    std::memset(static_cast<void*>(&set), 0, sizeof set);
    size_t got = 0;
    if (std::FILE* f = std::fopen(resolved.c_str(), "rb")) {
      got = std::fread(&set, 1, sizeof set, f);
      std::fclose(f);
    }
    if (got < sizeof set) {
      // No whole record: as a set that fails verification.
      if (GameRec) GameRec->StageDataInvalid = true;
      return FailLoad(kInvalidStageText);
    }
    if (!VerifyStageSet(set)) return FailLoad(kInvalidStageText);
  } else if (StageFileName(path) != kEditSetFileName) {
    return FailLoad(kMissingStageText);
  } else {
    ResetStageSet(set);
    set.Version.set(kStageVersion);
    set.SetName.set("Standard");
    set.OwnerName.set(CurrentOwnerName());
    set.ByteSum = set.CellCheck = set.ParamCheck = set.Reserved3 = set.Signature = 0;
    std::memset(set.Reserved4, 0, sizeof set.Reserved4);
  }
  RecountClearCounts(set);
  return true;
}

void PrepareStageSetForSave(TStageSet& set, const std::string& file_name, const std::string& owner,
                            int32_t signature) {
  set.Version.set(kStageVersion);
  set.OwnerName.set(owner);
  if (file_name == "Easy.egs") set.SetName.set("EASY.EGS");
  else if (file_name == "Normal.egs") set.SetName.set("NORMAL.EGS");
  else if (file_name == "Hard.egs") set.SetName.set("HARD.EGS");
  // Bytes above 120 (possible only in a plain-format set) mean nothing and would make
  // the scrambled file fail its check: they are saved as empty cells.
  for (int s = 0; s < kStageCount; ++s)
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageCols - 1; ++c) {
        uint8_t& b = set.Cells[s * kStageCells + r * kStageCols + c];
        if (b > kHighestCellCode) b = 0;
      }
  SealStageSet(set);
  set.Signature = signature;
}

bool SaveStageSet(const std::string& path) {
  if (!StageSet) return false;
  TStageSet& set = *StageSet;
  // The file image is built on a copy so that the set in memory keeps plain cells.
  auto image = std::make_unique<TStageSet>(set);
  PrepareStageSetForSave(*image, StageFileName(path), CurrentOwnerName(), random(10000));
  // The header words of the saved file are the set's own from now on.
  set.Version = image->Version;
  set.SetName = image->SetName;
  set.OwnerName = image->OwnerName;
  std::string error;
  if (!platform::write_file_atomic(platform::resolve_path(path), image.get(), sizeof(TStageSet), &error)) {
    platform::message_box(kStageErrorCaption, "Can't save stage data.\n" + error, platform::MsgButtons::Ok,
                          platform::MsgIcon::Error);
    return false;
  }
  return true;
}

int StageBossKind(const TStageSet& set, int stage) {
  if (stage < 0 || stage >= kStageCount) return kBossNone;
  int kind = kBossNone;
  for (int i = 0; i < kStageCells; ++i) {
    const int code = CellCode(set.Cells[stage * kStageCells + i]);
    if (code == kCellGBos && kind == 0) kind = kBossGBos;
    else if (code == kCellBBos && kind == 0) kind = kBossBBos;
    else if (code == kCellQBos && kind < 2) kind = kBossQBos;
    else if (code == kCellEggKing && kind < 3) kind = kBossEggKing;
  }
  return kind;
}

int StageBossKind(int stage) { return StageSet ? StageBossKind(*StageSet, stage) : kBossNone; }

void ApplyStageParameters(int stage) {
  if (InputMode == 3 || !GameRec || !StageSet || stage < 0 || stage >= kStageCount) return;
  const TStageSet& set = *StageSet;
  GameRec->BallSpeed = set.BallSpeed[stage];
  GameRec->BallSpeedCap = set.BallSpeedCap[stage];
  GameRec->MonsterFirstDelay = set.MonsterFirstDelay[stage];
  GameRec->MonsterReturnDelay = set.MonsterReturnDelay[stage];
  GameRec->MonsterStunTime = set.MonsterStunTime[stage];
}

}  // namespace zubroll
