#include "zubroll/play/hooks.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/image_io.h"
#include "platform/msgbox.h"
#include "zubroll/shell/Main.h"
#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Field.h"
#include "zubroll/play/Guide.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {

// ---------------------------------------------------------------------------
// Scene actors that stand still: background tiles, panels, title logo and egg.

namespace {

class TStillSprite : public TImageSprite {
 public:
  TStillSprite(TSpriteEngine* e, const char* image, int x, int y, int z) : TImageSprite(e) {
    SetImage(MainZubForm->DXImageList.Find(image));
    X = x;
    Y = y;
    SetZ(z);
    IgnoreGroup = 10;
  }
};

class TBGPatSprite : public TStillSprite {
 public:
  TBGPatSprite(TSpriteEngine* e, int x, int y) : TStillSprite(e, "BgPat", x, y, -2) {
    Collisioned = false;
    Passive = true;
    Moved = false;
  }
};

class TRPSprite : public TStillSprite {
 public:
  explicit TRPSprite(TSpriteEngine* e) : TStillSprite(e, "BgRPanel", 376, 0, 22) {
    Collisioned = false;
    Passive = true;
    Moved = false;
  }
};

class TBPSprite : public TStillSprite {
 public:
  explicit TBPSprite(TSpriteEngine* e) : TStillSprite(e, "BgBPanel", 0, 371, 0) {
    Collisioned = false;
    Passive = true;
    Moved = false;
  }
};

class TTitleSprite : public TStillSprite {
 public:
  explicit TTitleSprite(TSpriteEngine* e) : TStillSprite(e, "ZrTitle", 32, 98, 8) { Collisioned = false; }
};

class TTitleEggSprite : public TStillSprite {
 public:
  explicit TTitleEggSprite(TSpriteEngine* e) : TStillSprite(e, "ZrBigEgg", 60, 2, 4) { Collisioned = false; }
};

template <class T>
void KillAll(TMainZubForm& form) {
  for (int i = 0; i < form.DXSpriteEngine.Count(); ++i)
    if (auto* s = dynamic_cast<T*>(form.DXSpriteEngine.Items(i))) s->Dead();
}

}  // namespace

void CreateBackgroundActors(TMainZubForm& form) {
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) new TBGPatSprite(&form.DXSpriteEngine, 64 * i, 64 * j);
  SetBackgroundPattern(form, GameRec ? GameRec->BackgroundNo : 0);
  new TRPSprite(&form.DXSpriteEngine);
  new TBPSprite(&form.DXSpriteEngine);
  new TGuideSprite(&form.DXSpriteEngine);
}

void SetBackgroundPattern(TMainZubForm& form, int n) {
  n = std::clamp(n, 0, 19);
  for (int i = 0; i < form.DXSpriteEngine.Count(); ++i)
    if (auto* s = dynamic_cast<TBGPatSprite*>(form.DXSpriteEngine.Items(i))) s->AnimStart = n;
}

void CreateTitleActors(TMainZubForm& form) {
  new TTitleSprite(&form.DXSpriteEngine);
  new TTitleEggSprite(&form.DXSpriteEngine);
}

void CreateTitleButtons(TMainZubForm&) {}

void RemoveTitleActors(TMainZubForm& form) {
  KillAll<TTitleSprite>(form);
  KillAll<TTitleEggSprite>(form);
}

void RemoveTitleAndSelectionButtons(TMainZubForm&) {}

void CancelBlind(TMainZubForm&) {
  TitleLocked = false;
  BlindActive = false;
}

void OpenStageSelection(TMainZubForm& form) {
  if (!LoadStageSet(GameRec->SelectSetPath)) {
    GameState = 31;
    return;
  }
  GameState = 21;
  form.UpdateMenus();
}

void ResetStagePlay() {
  FoldSignboards();
  CoinRainTime = 0;
  GameRec->ChickChain = 0;
  GameRec->ChicksAlive = 0;
  GameRec->BlastsAlive = 0;
}

void RunSceneStep(TMainZubForm& form) {
  TGameRec& g = *GameRec;
  switch (GameState) {
    case 1:
      GameState = 2;
      SceneStep = 2;
      break;
    case 2:
      if (SceneStep == 2) {
        FieldReset = true;
        if (InputMode != 3) ApplyStageParameters(StageNo);
      } else if (SceneStep == 1) {
        FieldReset = false;
        TitleLocked = true;
        RemoveTitleActors(form);
        BuildStageField(StageNo);
        g.EggsLeft = StageClearCount(StageNo);
        g.ChicksAlive = 0;
        g.BlastsAlive = 0;
      } else if (SceneStep == 0) {
        GameState = 4;
        new TZubZubSprite(&form.DXSpriteEngine);
      }
      --SceneStep;
      break;
    case 3:
    case 4:
    case 5:
    case 40:
    case 41:
      PlayStateStep();
      break;
    case 6:
      GameState = 7;
      break;
    case 15:
      SceneTimer = 0;
      SceneStep = 1;
      BgmStop(form);
      GameState = 16;
      break;
    case 16:
      if (SceneStep == 1) SceneStep = 0;
      break;
    case 30:
      SceneStep = 0;
      SceneTimer = 0;
      GameState = 31;
      form.ShowCursor();
      FieldReset = false;
      break;
    case 31:
      if (SceneStep == 0) {
        ++SceneTimer;
        if (!BlindActive) g.ReplayState = 0;
      }
      break;
    case 32:
      FieldReset = false;
      GameState = 42;
      SceneTimer = 0;
      g.Lives = 3;
      form.UpdateMenus();
      break;
    case 33:
      SceneTimer = 0;
      BgmStop(form);
      GameState = 30;
      FieldReset = true;
      g.Lives = 3;
      TitleLocked = false;
      g.ReplayState = 0;
      ResetStagePlay();
      RemoveTitleActors(form);
      CreateTitleActors(form);
      CreateTitleButtons(form);
      RefreshLivesDisplay();
      RefreshStageDisplay();
      form.UpdateMenus();
      form.ShowCursor();
      break;
    case 70:
      ResetStagePlay();
      RemoveTitleActors(form);
      SceneTimer = 0;
      FieldReset = true;
      form.SetChecked("PauseItem", false);
      StopRecording();
      InputMode = 0;
      ReplayFrame = 0;
      TitleLocked = false;
      g.ReplayState = 0;
      BgmStop(form);
      GameState = 71;
      SceneStep = 0;
      SetBackgroundPattern(form, 9);
      form.PlaySound("FaceMi", 200, false);
      break;
    case 71:
      if (LeftButton) {
        form.PlaySound("FaceSo", 200, false);
        GameState = 72;
        LeftButton = false;
      }
      {
        TFontSpec f;
        f.Size = 9;
        f.Bold = true;
        f.Colour = TRGB{0, 0, 0};
        form.DXDraw.Canvas().TextOut(250, 122, "V1.0.8E", f);
      }
      break;
    case 72:
      if (LeftButton) {
        form.PlaySound("FaceDo", 200, false);
        GameState = 33;
        LeftButton = false;
        SetBackgroundPattern(form, 0);
      }
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------
// Stage sets

namespace {
bool StageSetVerify(TStageSet& set) {
  if (set.Version.str() == "1000") return true;
  bool valid = true;
  TStageSet copy = set;
  int32_t cell_check = 0;
  for (int s = 0; s < kStageCount; ++s)
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < 33; ++c) {
        const int d = (s + r + c) % 16;
        const int b = int8_t(set.Cell(s, r, c));
        cell_check = int32_t(uint32_t(cell_check) + uint32_t(b * d));
        if (b < d) {
          copy.Cell(s, r, c) = 0;
          valid = false;
        } else if (b - d > 120) {
          copy.Cell(s, r, c) = 0;
          valid = false;
        } else {
          copy.Cell(s, r, c) = uint8_t(b - d);
        }
      }
  if (cell_check != set.CellCheck) valid = false;
  int32_t param_check = 0;
  const int32_t* arrays[6] = {set.BallSpeed, set.BallSpeedCap, set.MonsterFirstDelay, set.MonsterReturnDelay,
                              set.MonsterStunTime, set.MonsterKind};
  for (const int32_t* P : arrays)
    for (int h = 0; h < 2; ++h)
      for (int j = 0; j < 32; ++j)
        param_check = int32_t(uint32_t(param_check) + uint32_t(P[32 * h + j]) * uint32_t(((h + j) * j) % 4));
  if (param_check != set.ParamCheck) valid = false;
  set = copy;
  return valid;
}

void ResetStageSet(TStageSet& set) {
  std::memset(set.Cells, 0, sizeof set.Cells);
  for (int s = 0; s < kStageCount; ++s) {
    for (int h = 0; h < 2; ++h) {
      const int i = s + 32 * h;
      set.BallSpeed[i] = 512;
      set.BallSpeedCap[i] = std::min(1024 + 9 * s, 1280);
      set.MonsterFirstDelay[i] = std::max(640 - 14 * s, 256);
      set.MonsterReturnDelay[i] = std::max(736 - 20 * s, 112);
      set.MonsterStunTime[i] = std::max(28 - 2 * (s / 3), 4);
      set.MonsterKind[i] = 0;
    }
    set.ClearCount[s] = 0;
    set.Extra1[s] = set.Extra2[s] = set.Extra3[s] = 0;
  }
}

void CountClears(TStageSet& set) {
  const bool hard = set.SetName.str() == "HARD.EGS";
  for (int s = 0; s < kStageCount; ++s) {
    int n = 0;
    for (int r = 0; r < kStageRows; ++r)
      for (int c = 0; c < kStageCols; ++c) {
        const int v = int8_t(set.Cell(s, r, c));
        if (v != 0 && v < 6) n += 1;
        if (v == 10) n += 5;
        if (v == 11) n += 10;
        if (v == 12) n += hard ? 56 : 44;
        if (v == 13) n += 20;
      }
    set.ClearCount[s] = n;
  }
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

bool LoadStageSet(const std::string& path) {
  if (!StageSet || !GameRec) return false;
  const std::string real = platform::resolve_path(path);
  if (platform::file_exists(real)) {
    std::vector<uint8_t> bytes;
    bool valid = platform::read_file(real, bytes) && bytes.size() >= sizeof(TStageSet);
    if (valid) {
      std::memcpy(static_cast<void*>(StageSet), bytes.data(), sizeof(TStageSet));
      valid = StageSetVerify(*StageSet);
      GameRec->StageDataInvalid = !valid;
    }
    if (!valid) {
      platform::message_box("STAGE DATA ERROR", "Invalid Stage data error.", platform::MsgButtons::Ok,
                            platform::MsgIcon::Error);
      ResetStageSet(*StageSet);
      return false;
    }
  } else if (FileNameOf(path) != "EDIT.EGG") {
    platform::message_box("STAGE DATA ERROR", "Can't find stage data.", platform::MsgButtons::Ok,
                          platform::MsgIcon::Error);
    ResetStageSet(*StageSet);
    return false;
  } else {
    ResetStageSet(*StageSet);
    StageSet->Version.set("00001002");
    StageSet->SetName.set("Standard");
    StageSet->OwnerName = SettingRec ? SettingRec->OwnerName : ShortString{};
    StageSet->ByteSum = StageSet->CellCheck = StageSet->ParamCheck = StageSet->Reserved3 = 0;
    StageSet->Signature = 0;
    std::memset(StageSet->Reserved4, 0, sizeof StageSet->Reserved4);
  }
  CountClears(*StageSet);
  return true;
}

bool SaveStageSet(const std::string&) {
  // Writing stage sets (scrambling, check words, signature) belongs to the stage-set unit.
  return false;
}

void ApplyStageParameters(int s) {
  if (InputMode == 3 || !StageSet || s < 0 || s >= kStageCount) return;
  GameRec->BallSpeed = StageSet->BallSpeed[s];
  GameRec->BallSpeedCap = StageSet->BallSpeedCap[s];
  GameRec->MonsterFirstDelay = StageSet->MonsterFirstDelay[s];
  GameRec->MonsterReturnDelay = StageSet->MonsterReturnDelay[s];
  GameRec->MonsterStunTime = StageSet->MonsterStunTime[s];
}

int StageClearCount(int s) { return StageSet && s >= 0 && s < kStageCount ? StageSet->ClearCount[s] : 0; }

int StageBossKind(int s) {
  if (!StageSet || s < 0 || s >= kStageCount) return 0;
  int kind = 0;
  for (int r = 0; r < kStageRows; ++r)
    for (int c = 0; c < kStageCols; ++c) {
      const int v = StageSet->Cell(s, r, c);
      if (v == 10 && kind == 0) kind = 1;
      if (v == 11 && kind == 0) kind = 2;
      if (v == 12 && kind < 2) kind = 3;
      if (v == 13 && kind < 3) kind = 4;
    }
  return kind;
}

// ---------------------------------------------------------------------------
// Play field and score panel

void PrepareFieldTables(TMainZubForm& form) {
  FillStarTable(*GameRec, form.LTable);
  FillEggFallTable(*GameRec);
  TPlayHost& h = PlayHost;
  h.Engine = &form.DXSpriteEngine;
  h.Images = &form.DXImageList;
  h.LTable = &form.LTable;
  h.PlaySound = [&form](const std::string& n, int x, bool w) { form.PlaySound(n, x, w); };
  h.ButtonPressed = [&form] { return form.ButtonPressed(); };
  h.SetCursorToPaddle = [&form](int x, int y) { form.SetCursorToPaddle(x, y); };
  h.PaddleX = [&form] { return form.PaddleX; };
  h.PaddleY = [&form] { return form.PaddleY; };
  h.ApplyStageParameters = [](int s) { ApplyStageParameters(s); };
  h.SaveReplay = [&form] { SaveReplay(form); };
  h.ResetStagePlay = [] { ResetStagePlay(); };
  h.WriteRunRecovery = [] { WriteRunRecovery(); };
  h.GameOverBegins = [&form] {
    SaveReplay(form);
    BgmStop(form);
    if (GameRec->ReplayState != 0) {
      GameState = 32;
    } else {
      form.PlaySound("Gameover", 200, false);
      GameState = 41;
      SceneStep = 100;
    }
    form.ReleaseCursorClip();
  };
}
void PrepareItemState() {
  CreateStatusPanel();
  ShowExtraLetters(ExtraLetters);
  ShowChickLamps(ChickLampCount);
}
void RefreshLivesDisplay() { ShowLives(); }
void RefreshStageDisplay() { ShowStageTally(StageNo); }
void RefreshScoreDisplay() { ShowScoreDigits(Score); }
void ScoreStep(TMainZubForm&) { ScoreStep(); }
void RouletteStep(TMainZubForm&) { RouletteStep(); }
void EditorCopyStage() {}
void EditorPasteStage() {}

// ---------------------------------------------------------------------------
// Music

namespace {
bool MusicOn(TMainZubForm& f) {
  return f.BgmItem && f.BgmItem->HasWave() && BgmAvailable && f.Checked("BGMOptionItem");
}
bool ReadMusic(const std::string& path, platform::WavData& wav) {
  std::vector<uint8_t> bytes;
  std::string err;
  return platform::read_file(platform::resolve_path(path), bytes, 64u << 20) &&
         platform::parse_wav(bytes.data(), bytes.size(), wav, err);
}
}  // namespace

void BgmSetup(TMainZubForm& f) {
  platform::WavData wav;
  bool ok = f.DXSound.Initialize() && ReadMusic(GameRec->BgmPath, wav);
  if (ok) {
    f.BgmItem = &f.DXWaveList.Add("BgmFolder");
    f.BgmItem->SetWave(wav);
    f.BgmItem->Looped = true;
    f.BgmItem->SetVolume(BgmVolume);
    BgmAvailable = true;
  } else {
    f.DXSound.Finalize();
    f.SetChecked("SFXOptionItem", false);
    f.SetChecked("BGMOptionItem", false);
    f.SetEnabled("SFXOptionItem", false);
    f.SetEnabled("BGMOptionItem", false);
    f.SetEnabled("SoundVolume", false);
    BgmAvailable = false;
  }
}

void BgmPlay(TMainZubForm& f) {
  if (!MusicOn(f) || GameRec->ReplayState == 1 || !f.DXSound.Initialized()) return;
  BgmPlaying = true;
  f.BgmItem->Play(false);
}

void BgmStop(TMainZubForm& f) {
  if (!f.BgmItem || !f.BgmItem->HasWave() || !BgmAvailable) return;
  BgmPlaying = false;
  f.BgmItem->Stop();
}

void BgmUnload(TMainZubForm& f) {
  if (!f.BgmItem || !f.BgmItem->HasWave() || !BgmAvailable) return;
  f.BgmItem->Stop();
  f.BgmItem->SetVolume(-10000);
  f.BgmItem->ClearWave();
}

void BgmReload(TMainZubForm& f) {
  if (!f.BgmItem || !BgmAvailable || !f.Checked("BGMOptionItem")) return;
  f.BgmItem->ClearWave();
  platform::WavData wav;
  if (!ReadMusic(GameRec->BgmPath, wav)) return;  // silent until the next good reload
  f.BgmItem->SetWave(wav);
  f.BgmItem->SetVolume(-10000);
  f.BgmItem->Looped = true;
  BgmPlay(f);
  f.BgmItem->SetVolume(std::clamp(BgmVolume - 3000, -10000, 0));
}

void BgmRestoreVolume(TMainZubForm& f) {
  if (!MusicOn(f)) return;
  f.BgmItem->SetVolume(BgmVolume);
}

void SelectBgm(int n) {
  GameRec->BgmPath = ProgramFolder() + "ZRSound/ZRBGM" + std::to_string(std::clamp(n, 0, 4) + 1) + ".WAV";
}

void ShowVolumeDialog(TMainZubForm&) {}

// ---------------------------------------------------------------------------
// Replays

void StopRecording() {
  InputMode = 0;
  if (ReplayRec) ReplayRec->Slots[0] = kReplayEnd;
  ReplayFrame = 0;
}

void SaveReplay(TMainZubForm& f) {
  if (InputMode == 0 || InputMode == 2 || !ReplayRec) return;
  InputMode = 0;
  if (ReplayFrame > 14399) ReplayFrame = 14394;
  ReplayRec->Slots[ReplayFrame] = kReplayEnd;
  std::string set = FileNameOf(GameRec->StageSetPath);
  const size_t dot = set.find_last_of('.');
  if (dot != std::string::npos) set = set.substr(0, dot);
  const int n = ReplayRec->StartStage + 1;
  const std::string name = set + (n < 10 ? "0" : "") + std::to_string(n) + ".RPY";
  if (f.Checked("RecReplayItem"))
    platform::write_file_atomic(platform::resolve_path(FolderPath(GameRec->ReplayFolder) + name), ReplayRec,
                                sizeof(TReplayRec));
}

std::string RunReplayBrowser(TMainZubForm&) { return std::string(); }
bool LoadReplayForPlayback(TMainZubForm&, const std::string&) { return false; }

// ---------------------------------------------------------------------------
// High scores

namespace {
const char* kDefaultNames[4] = {"DEVADIV", "ZUBZUB", "PERIWINKL", "tuvelo"};
int W(int i) { return MainZubForm ? MainZubForm->HiSumString.AsInt(i) : HiSumString().AsInt(i); }
}  // namespace

void ResetHighScoreTable(int d) {
  if (!HiScoreRec || d < 0 || d > 4) return;
  THighScoreRec& h = *HiScoreRec;
  h.Header.set("ZUBROLLW00001000");
  static const int scores[5] = {50000, 40000, 30000, 20000, 10000};
  for (int i = 0; i < 5; ++i) {
    if (d < 4) h.Names[d][i].set(kDefaultNames[d]);
    h.StartStage[d][i] = 0;
    h.EndStage[d][i] = 0;
    h.FrameRate[d][i] = 30;
    h.Score[d][i] = d == 3 ? 9999999 : scores[i];
  }
  std::memset(h.Checksum, 0, sizeof h.Checksum);
  std::memset(h.Reserved, 0, sizeof h.Reserved);
}

int HighScoreChecksum(int d, int r) {
  const THighScoreRec& h = *HiScoreRec;
  uint32_t sum = 0;
  for (int i = 0; i < 5; ++i) {
    const ShortString& name = h.Names[d][i];
    if (name.len) {
      const int k = name.len == 1 ? 1 : name.len - 1;
      sum += uint32_t(uint8_t(name.chars[k - 1])) + uint32_t(W(5 * r + i));
    }
    const std::string sc = std::to_string(h.Score[d][i]);
    const size_t k2 = sc.size() == 1 ? 1 : sc.size() - 1;
    sum += uint32_t(uint8_t(sc[k2 - 1])) * uint32_t(W(5 * r + i));
    const uint32_t w = uint32_t(W(4 * r + i));
    sum += w * uint32_t(h.StartStage[d][i]) + w * uint32_t(h.EndStage[d][i]) + w * uint32_t(h.FrameRate[d][i]);
  }
  return int(sum);
}

void LoadHighScores() {
  if (!HiScoreRec) return;
  const std::string path = platform::resolve_path(ProgramFolder() + "Hiscore.dat");
  std::vector<uint8_t> bytes;
  if (!platform::file_exists(path)) {
    for (int d = 0; d < 5; ++d) ResetHighScoreTable(d);
    return;
  }
  bool ok = platform::read_file(path, bytes) && bytes.size() >= sizeof(THighScoreRec);
  if (ok) {
    std::memcpy(static_cast<void*>(HiScoreRec), bytes.data(), sizeof(THighScoreRec));
    for (int d = 0; d < 5 && ok; ++d) {
      const int r = HiScoreRec->WeightRow[d];
      ok = r >= 0 && r <= 3 && HighScoreChecksum(d, r) == HiScoreRec->Checksum[d];
    }
  }
  if (!ok) {
    platform::message_box("File Error", "Hiscore.dat file is cruppted", platform::MsgButtons::Ok,
                          platform::MsgIcon::Error);
    for (int d = 0; d < 5; ++d) ResetHighScoreTable(d);
  }
}

void SaveHighScores() {
  if (!HiScoreRec) return;
  HiScoreRec->FrameRate[0][0] = FpsAverage;
  for (int d = 0; d < 5; ++d) {
    const int r = random(4);
    HiScoreRec->WeightRow[d] = r;
    HiScoreRec->Checksum[d] = HighScoreChecksum(d, r);
  }
  platform::write_file_atomic(platform::resolve_path(ProgramFolder() + "Hiscore.dat"), HiScoreRec,
                              sizeof(THighScoreRec));
}

int BestScoreOf(int d) { return HiScoreRec && d >= 0 && d < 5 ? HiScoreRec->Score[d][0] : 99999999; }

void HighScoreCheck(TMainZubForm&) {
  // The name-entry dialog belongs to the high score unit; no entry is made here.
}

}  // namespace zubroll
