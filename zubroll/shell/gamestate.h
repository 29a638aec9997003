// The egg game's global state: the game record, the five fixed-size shared
// records (each the byte image of its file) and the shell's loose globals.
// Everything lives from start-up (FormCreate / InitGameStaff) to exit
// (FinalizeLocalStuff) and is used from the one user-interface thread.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace zubroll {

static_assert(std::endian::native == std::endian::little,
              "the file records are little-endian images");

// A length byte followed by up to 255 characters, as stored in the files.
struct ShortString {
  uint8_t len = 0;
  char chars[255] = {};
  std::string str() const { return std::string(chars, len); }
  void set(const std::string& s) {
    len = uint8_t(s.size() > 255 ? 255 : s.size());
    std::memset(chars, 0, sizeof chars);
    std::memcpy(chars, s.data(), len);
  }
};
static_assert(sizeof(ShortString) == 256);

#pragma pack(push, 1)

// "Zubroll.ini": options, volumes, stage-selection progress, owner name, edit set name.
struct TSettingsRec {
  int32_t Version;              // 0
  ShortString Product;          // 4
  ShortString OwnerName;        // 260
  uint8_t Reserved1[512];       // 516
  int32_t SfxVolume;            // 1028
  int32_t BgmVolume;            // 1032
  uint8_t FullScreen;           // 1036
  uint8_t SoundEffects;         // 1037
  uint8_t Music;                // 1038
  uint8_t SaveReplays;          // 1039
  uint8_t UseVideoMemory;       // 1040
  uint8_t WaitVBlank;           // 1041
  uint8_t Padding[2];           // 1042
  int32_t BestStage[5];         // 1044
  uint8_t Reserved2[4456];      // 1064
  int32_t Reserved17[17];       // 5520, written as 0 at every save
  int32_t FrameDriver;          // 5588: 1 = the timer drives, 0 = the idle loop drives
  uint8_t Reserved3[60];        // 5592
  ShortString EditFileName;     // 5652
  uint8_t Reserved4[3840];      // 5908
};
static_assert(sizeof(TSettingsRec) == 9748);
static_assert(offsetof(TSettingsRec, SfxVolume) == 1028);
static_assert(offsetof(TSettingsRec, FullScreen) == 1036);
static_assert(offsetof(TSettingsRec, BestStage) == 1044);
static_assert(offsetof(TSettingsRec, Reserved17) == 5520);
static_assert(offsetof(TSettingsRec, FrameDriver) == 5588);
static_assert(offsetof(TSettingsRec, EditFileName) == 5652);

// "Zrstage.tmp": progress saved at every stage change.
struct TRunRecoveryRec {
  int32_t BestStage[5];         // 0
  int32_t Difficulty;           // 20
  int32_t StageNo;              // 24
  uint8_t Zeros[12];            // 28
  ShortString CheckText;        // 40
  uint8_t Marker[19];           // 296: length byte 18 and the marker bytes
  uint8_t Rest[237];            // 315
};
static_assert(sizeof(TRunRecoveryRec) == 552);
static_assert(offsetof(TRunRecoveryRec, CheckText) == 40);
static_assert(offsetof(TRunRecoveryRec, Marker) == 296);

// A stage file: 32 stages of 14 x 34 cells and six parameters per stage.
constexpr int kStageCount = 32, kStageRows = 14, kStageCols = 34;
constexpr int kStageCells = kStageRows * kStageCols;  // 476
struct TStageSet {
  ShortString Version;          // 0
  ShortString SetName;          // 256
  ShortString OwnerName;        // 512
  uint8_t Reserved1[256];       // 768
  uint8_t Cells[kStageCount * kStageCells];  // 1024: s * 476 + r * 34 + c
  uint8_t Reserved2[128];       // 16256
  int32_t ClearCount[32];       // 16384
  int32_t BallSpeed[64];        // 16512
  int32_t BallSpeedCap[64];     // 16768
  int32_t MonsterFirstDelay[64];   // 17024
  int32_t MonsterReturnDelay[64];  // 17280
  int32_t MonsterStunTime[64];     // 17536
  int32_t MonsterKind[64];         // 17792
  int32_t ByteSum;              // 18048
  int32_t CellCheck;            // 18052
  int32_t ParamCheck;           // 18056
  int32_t Reserved3;            // 18060
  int32_t Signature;            // 18064
  uint8_t Reserved4[12];        // 18068
  int32_t Extra1[32];           // 18080
  int32_t Extra2[32];           // 18208
  int32_t Extra3[32];           // 18336
  uint8_t& Cell(int s, int r, int c) { return Cells[s * kStageCells + r * kStageCols + c]; }
};
static_assert(sizeof(TStageSet) == 18464);
static_assert(offsetof(TStageSet, Cells) == 1024);
static_assert(offsetof(TStageSet, ClearCount) == 16384);
static_assert(offsetof(TStageSet, MonsterKind) == 17792);
static_assert(offsetof(TStageSet, Signature) == 18064);
static_assert(offsetof(TStageSet, Extra3) == 18336);

// A ".RPY" replay: header and the input slots of one stage.
constexpr int kReplaySlots = 14402;
constexpr int kReplayFrameLimit = 14400;  // ReplayFrame stops growing here
constexpr int16_t kReplayEnd = 9999;      // end marker
constexpr int16_t kReplayButton = 10000;  // a serve press
struct TReplayRec {
  ShortString Header;           // 0: "ZUBROLLW001000"
  ShortString SetFile;          // 256
  int32_t StartStage;           // 512
  int32_t RouletteSlot;         // 516
  int32_t ExtraLetters;         // 520
  int32_t ChickLampCount;       // 524
  int32_t RouletteTimer;        // 528
  int32_t RoulettePending;      // 532
  int32_t Lives;                // 536
  int32_t Score;                // 540
  int32_t ShownScore;           // 544
  int32_t NextExtraLife;        // 548
  int32_t StageParams[6];       // 552
  int32_t Seed;                 // 576
  uint8_t Reserved[64];         // 580
  int16_t Slots[kReplaySlots];  // 644
};
static_assert(sizeof(TReplayRec) == 29448);
static_assert(offsetof(TReplayRec, Seed) == 576);
static_assert(offsetof(TReplayRec, Slots) == 644);

// "Hiscore.dat": five tables of five entries.
struct THighScoreRec {
  ShortString Header;           // 0: "ZUBROLLW00001000"
  ShortString Names[5][5];      // 256 + 1280 d + 256 i
  int32_t StartStage[5][5];     // 6656
  int32_t EndStage[5][5];       // 6756
  int32_t Score[5][5];          // 6856
  int32_t FrameRate[5][5];      // 6956
  int32_t Checksum[5];          // 7056
  int32_t Reserved[10];         // 7076
  int32_t WeightRow[5];         // 7116
};
static_assert(sizeof(THighScoreRec) == 7136);
static_assert(offsetof(THighScoreRec, StartStage) == 6656);
static_assert(offsetof(THighScoreRec, Checksum) == 7056);
static_assert(offsetof(THighScoreRec, WeightRow) == 7116);

#pragma pack(pop)

// The game record.
struct TGameRec {
  int MonsterStunTime = 0;
  int MonsterFirstDelay = 0;
  int MonsterReturnDelay = 0;
  int ChickChain = 0;
  int EggsLeft = 0;
  int ChicksAlive = 0;
  int HitsThisFrame = 0;
  int BallsInPlay = 0;
  int BallSprites = 0;
  int BallSpeed = 0;
  int BallSpeedCap = 0;
  int Lives = 3;
  int BackgroundNo = 0;
  int ReplayState = 0;   // 0 none, 1 attract replay, 2 browser replay, 30 attract cut off
  int Difficulty = 0;    // 0 Easy, 1 Normal, 2 Hard, 3 edit set, 99 replay
  int HighScoreToBeat = 99999999;
  int StartStage = 0;
  bool MoleArrived = false, MonsterArrived = false;
  bool ContinueAvailable = false;
  int ContinueStage = 0;
  int ContinueDifficulty = 0;
  std::string ContinueSetPath;
  int StarTableSin[40][360] = {};
  int StarTableCos[40][360] = {};
  int EggFallTable[51] = {};
  bool StageDataInvalid = false;
  int LastStage[5] = {};
  int BestStage[5] = {};
  std::string StageSetPath;
  std::string EditSetPath;
  std::string SelectSetPath;
  std::string SoundFolder;
  std::string StageFolder;
  std::string ReplayFolder;
  int BgmNumber = 0;
  std::string BgmPath;
  int AttractIndex = 0;
  std::string ExePath;
  std::string RankTexts[5] = {"1st", "2nd", "3rd", "4th", "5th"};
  int QBosCount = 0;
  int BlastsAlive = 0;
};

// The record and the blocks (null outside start-up .. exit).
extern TGameRec* GameRec;
extern TSettingsRec* SettingRec;
extern TRunRecoveryRec* RecoveryRec;
extern TStageSet* StageSet;
extern TReplayRec* ReplayRec;
extern THighScoreRec* HiScoreRec;

bool AllocateGameRec();      // false when it cannot be allocated
bool AllocateSharedBlocks(); // all five or none
void FreeSharedBlocks();
void FreeGameRec();

// Loose globals of the shell.
extern int GameState, SceneStep, SceneTimer, StageNo, InputMode, ReplayFrame;
extern bool LeftButton, RightButton, FieldReset, TitleLocked, BlindActive, SecretUnlocked;
extern bool BgmAvailable, BgmPlaying;
extern int SfxVolume, BgmVolume;
extern int Score, ShownScore, NextExtraLife;
constexpr int SpeedUnit = 4096;
extern int FramePeriod;
extern uint32_t LastFrameTime, FrameTime;
extern int FpsAverage;
extern bool ScreenSaverWasActive;
extern std::string PauseTitleText;

// Puts every loose global back to its start value (program start and tests).
void ResetLooseGlobals();

// The game's one random generator (replays depend on its sequence).
extern uint32_t RandSeed;
int random(int n);                       // 0 .. n - 1
void RandomizeFrom(uint32_t ms_of_day);  // seed from a time of day in milliseconds

// The star and egg-fall tables of the game record (needs LTable's sine and cosine).
class TLookupTable;
void FillStarTable(TGameRec& rec, const TLookupTable& table);
void FillEggFallTable(TGameRec& rec);

// Last stage index of a difficulty: 15 Easy, 23 Normal, 31 otherwise.
inline int LastStageOf(int difficulty) {
  return difficulty == 0 ? 15 : difficulty == 1 ? 23 : 31;
}

}  // namespace zubroll
