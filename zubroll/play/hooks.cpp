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
#include "zubroll/play/Stage.h"
#include "zubroll/play/ZubZub.h"
#include "zubroll/shell/Hiscore.h"

namespace zubroll {

// The scene machine (zubroll/shell/Scene.*, Title.*, Blind.*, Selector.*, bgpat.*,
// gameover.*, Hidilg.*), the stage sets (zubroll/play/Stage.*) and the high scores
// (zubroll/shell/Hiscore.*) live in their own units.


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
}  // namespace zubroll
