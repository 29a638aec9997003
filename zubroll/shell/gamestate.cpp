#include "zubroll/shell/gamestate.h"

#include <new>

#include "zubroll/shell/Lkuptabl.h"

namespace zubroll {

TGameRec* GameRec = nullptr;
TSettingsRec* SettingRec = nullptr;
TRunRecoveryRec* RecoveryRec = nullptr;
TStageSet* StageSet = nullptr;
TReplayRec* ReplayRec = nullptr;
THighScoreRec* HiScoreRec = nullptr;

int GameState = 30, SceneStep = 0, SceneTimer = 0, StageNo = 0, InputMode = 0, ReplayFrame = 0;
bool LeftButton = false, RightButton = false, FieldReset = false, TitleLocked = false,
     BlindActive = false, SecretUnlocked = false;
bool BgmAvailable = false, BgmPlaying = false;
int SfxVolume = 0, BgmVolume = 0;
int Score = 0, ShownScore = -1, NextExtraLife = 100000;
int FramePeriod = 33;
uint32_t LastFrameTime = 0, FrameTime = 33;
int FpsAverage = 30;
bool ScreenSaverWasActive = false;
std::string PauseTitleText = "[Pause]";
uint32_t RandSeed = 0;

void ResetLooseGlobals() {
  GameState = 30;
  SceneStep = SceneTimer = StageNo = InputMode = ReplayFrame = 0;
  LeftButton = RightButton = FieldReset = TitleLocked = BlindActive = SecretUnlocked = false;
  BgmAvailable = BgmPlaying = false;
  SfxVolume = BgmVolume = 0;
  Score = 0;
  ShownScore = -1;
  NextExtraLife = 100000;
  FramePeriod = 33;
  LastFrameTime = 0;
  FrameTime = 33;
  FpsAverage = 30;
  ScreenSaverWasActive = false;
  PauseTitleText = "[Pause]";
}

bool AllocateGameRec() {
  FreeGameRec();
  GameRec = new (std::nothrow) TGameRec();
  return GameRec != nullptr;
}

void FreeGameRec() {
  delete GameRec;
  GameRec = nullptr;
}

namespace {
template <class T>
T* zeroed() {
  T* p = new (std::nothrow) T;
  if (p) std::memset(static_cast<void*>(p), 0, sizeof(T));
  return p;
}
}  // namespace

bool AllocateSharedBlocks() {
  FreeSharedBlocks();
  SettingRec = zeroed<TSettingsRec>();
  RecoveryRec = zeroed<TRunRecoveryRec>();
  StageSet = zeroed<TStageSet>();
  ReplayRec = zeroed<TReplayRec>();
  HiScoreRec = zeroed<THighScoreRec>();
  if (SettingRec && RecoveryRec && StageSet && ReplayRec && HiScoreRec) return true;
  FreeSharedBlocks();
  return false;
}

void FreeSharedBlocks() {
  delete ReplayRec;
  ReplayRec = nullptr;
  delete HiScoreRec;
  HiScoreRec = nullptr;
  delete SettingRec;
  SettingRec = nullptr;
  delete RecoveryRec;
  RecoveryRec = nullptr;
  delete StageSet;
  StageSet = nullptr;
}

int random(int n) {
  RandSeed = RandSeed * 134775813u + 1u;
  return int(uint32_t((uint64_t(RandSeed) * uint64_t(uint32_t(n))) >> 32));
}

void RandomizeFrom(uint32_t ms_of_day) { RandSeed = ms_of_day; }

void FillStarTable(TGameRec& rec, const TLookupTable& table) {
  for (int r = 0; r < 40; ++r)
    for (int a = 0; a < 360; ++a) {
      rec.StarTableSin[r][a] = r * table.SinTable[a];
      rec.StarTableCos[r][a] = r * table.CosTable[a];
    }
}

void FillEggFallTable(TGameRec& rec) {
  for (int i = 0; i <= 50; ++i) rec.EggFallTable[i] = 1000 * i * i - 8000 * i;
}

}  // namespace zubroll
