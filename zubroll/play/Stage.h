// Stage sets: the 18464-byte stage file, its cell scrambling, check words and
// signature, loading with verification, saving, the blank set, clear counts,
// the boss kind of a stage and the copy of a stage's parameters into the game
// record.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "zubroll/shell/gamestate.h"

namespace zubroll {

constexpr const char* kStageVersion = "00001002";      // scrambled, checked format
constexpr const char* kPlainStageVersion = "1000";     // older plain format, never checked
constexpr const char* kEditSetFileName = "EDIT.EGG";
constexpr const char* kStageErrorCaption = "STAGE DATA ERROR";
constexpr const char* kInvalidStageText = "Invalid Stage data error.";
constexpr const char* kMissingStageText = "Can't find stage data.";
constexpr int kHighestCellCode = 120;  // above this a cell is invalid in the scrambled format

// Cell codes.
enum : int {
  kCellEmpty = 0,
  kCellRainbow = 6,   // kind 15
  kCellHard = 7,      // kind 16
  kCellBomb = 8,      // kind 17
  kCellBlock = 9,     // block egg
  kCellGBos = 10,
  kCellBBos = 11,
  kCellQBos = 12,
  kCellEggKing = 13,
  kCellGBosArea = 100,
  kCellBBosArea = 101,
  kCellQBosArea = 102,
  kCellEggKingArea = 103,
};

// Boss kinds of StageBossKind.
enum : int { kBossNone = 0, kBossGBos = 1, kBossBBos = 2, kBossQBos = 3, kBossEggKing = 4 };

// What the stage unit needs from the rest of the game. The main form sets these;
// the defaults keep the unit usable on its own (tools, tests).
struct TStageHooks {
  // True while the stage editor is open (default: GameState is 16).
  std::function<bool()> EditorOpen;
  // Removes every egg and boss actor from the field (after a failed load).
  std::function<void()> ClearFieldActors;
  // The settings' user name written into OwnerName (default: the settings record's).
  std::function<std::string()> OwnerName;
};
TStageHooks& StageHooks();

// Offset added to the code of cell (s, r, c) when scrambled (columns 0..32).
inline int ScrambleOffset(int s, int r, int c) { return (s + r + c) % 16; }

// Check words over the stored (scrambled) bytes of columns 0..32, and over the parameters.
int32_t StageByteSum(const TStageSet& set);
int32_t StageCellCheck(const TStageSet& set);
int32_t StageParamCheck(const TStageSet& set);
// Signed decimal text ("-12", "345").
std::string SignedDecimal(int32_t v);
// The signature hash of two strings (bytes unsigned, 32-bit wrap).
int32_t SignatureHash(const std::string& a, const std::string& b);
// The signature a shipped difficulty set carries, from its stored names and check words.
int32_t ShippedSignature(const TStageSet& set);

// Adds the scramble offsets to columns 0..32 of every stage (byte arithmetic).
void ScrambleStageCells(TStageSet& set);
// Scrambles the cells and fills ByteSum, CellCheck and ParamCheck (the signature is left).
void SealStageSet(TStageSet& set);

// Descrambles the record in place and checks it, for the situation given: while the
// editor is open a set carrying the shipped signature is invalid; otherwise, for
// difficulty 0..2, a set without it is invalid. Does not touch the game record.
bool VerifyStageSetAs(TStageSet& set, bool editor_open, int difficulty);
// The game's check: the situation comes from the hooks and GameRec->Difficulty, and
// GameRec->StageDataInvalid records the verdict (except for the plain format "1000").
bool VerifyStageSet(TStageSet& set);

// The blank set (the header strings are kept).
void ResetStageSet(TStageSet& set);
void ResetStageSet();  // the current set

// Hits needed to clear stage s (cell bytes above 120 count nothing).
int32_t StageClearCount(const TStageSet& set, int s);
void RecountClearCounts(TStageSet& set);
// The clear count of stage s in the current set as the last load computed it
// (what EggsLeft starts from); 0 out of range.
int32_t StageClearCount(int s);

// Makes the file the current set (StageSet). False after a message box when the file
// is missing (except "EDIT.EGG", which gives a fresh edit set in memory), too short or
// fails verification; the current set is then blank.
bool LoadStageSet(const std::string& path);
// Writes the current set whole (the in-memory cells stay plain). False after a
// message box when the file cannot be written.
bool SaveStageSet(const std::string& path);
// Builds the file image of a set as a save would (version, set-name rule, owner,
// scrambled cells, check words, signature). `signature` is written as given.
void PrepareStageSetForSave(TStageSet& set, const std::string& file_name,
                            const std::string& owner, int32_t signature);

// 0 no boss, 1 GBos, 2 BBos, 3 QBos, 4 EggKing.
int StageBossKind(const TStageSet& set, int stage);
int StageBossKind(int stage);  // the current set

// Copies the stage's five numeric parameters into the game record (not while a
// loaded replay waits for its first serve: the replay supplies them).
void ApplyStageParameters(int stage);

// The default value of each parameter for stage s in a blank set.
int32_t DefaultBallSpeed(int s);
int32_t DefaultBallSpeedCap(int s);
int32_t DefaultMonsterFirstDelay(int s);
int32_t DefaultMonsterReturnDelay(int s);
int32_t DefaultMonsterStunTime(int s);

// File name without its folder.
std::string StageFileName(const std::string& path);

}  // namespace zubroll
