#include "zubroll/play/hooks.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/image_io.h"
#include "platform/msgbox.h"
#include "zubroll/shell/Main.h"

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
        g.EggsLeft = StageClearCount(StageNo);
        g.ChicksAlive = 0;
        g.BlastsAlive = 0;
      } else if (SceneStep == 0) {
        GameState = 4;
      }
      --SceneStep;
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
// Play field and score panel

void PrepareFieldTables(TMainZubForm& form) {
  FillStarTable(*GameRec, form.LTable);
  FillEggFallTable(*GameRec);
}
void PrepareItemState() {}
void TurnOffChickLamps() {}
void RefreshLivesDisplay() {}
void RefreshStageDisplay() {}
void RefreshScoreDisplay() {}
void ScoreStep(TMainZubForm&) {}
void RouletteStep(TMainZubForm&) {}
void SaveBonusState() {}
void RestoreBonusState() {}
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
  std::string set = StageFileName(GameRec->StageSetPath);
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

void HighScoreCheck(TMainZubForm&) {
  // The name-entry dialog belongs to the high score unit; no entry is made here.
}

}  // namespace zubroll
