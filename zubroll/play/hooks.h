// Named operations the shell calls whose owners are the scene flow, the stage
// sets, the play field, the score panel, the music, the replays and the high
// scores. Each does what can be done with the parts that exist so far; the
// units that own them replace these bodies.
#pragma once
#include <string>

#include "zubroll/play/Stage.h"
#include "zubroll/shell/Hiscore.h"

namespace zubroll {

class TMainZubForm;

// Scene flow: one step per frame after the draw, before the flip.
void RunSceneStep(TMainZubForm& form);
// InitGameStaff: background pattern, right and bottom panels, guide (before the pause hand).
void CreateBackgroundActors(TMainZubForm& form);
// InitGameStaff: title logo and big egg (after the pause hand), then the title buttons.
void CreateTitleActors(TMainZubForm& form);
void CreateTitleButtons(TMainZubForm& form);
void RemoveTitleActors(TMainZubForm& form);
void RemoveTitleAndSelectionButtons(TMainZubForm& form);
void CancelBlind(TMainZubForm& form);
void OpenStageSelection(TMainZubForm& form);
void ResetStagePlay();
void SetBackgroundPattern(TMainZubForm& form, int n);

// Stage sets: zubroll/play/Stage.h.

// Play field, score panel and bonuses.
void PrepareFieldTables(TMainZubForm& form);  // star and egg-fall tables
void PrepareItemState();
void TurnOffChickLamps();
void RefreshLivesDisplay();
void RefreshStageDisplay();
void RefreshScoreDisplay();
void ScoreStep(TMainZubForm& form);
void RouletteStep(TMainZubForm& form);
void SaveBonusState();
void RestoreBonusState();

// Stage editor.
void EditorCopyStage();
void EditorPasteStage();

// Music.
void BgmSetup(TMainZubForm& form);
void BgmPlay(TMainZubForm& form);
void BgmStop(TMainZubForm& form);
void BgmUnload(TMainZubForm& form);
void BgmReload(TMainZubForm& form);
void BgmRestoreVolume(TMainZubForm& form);
void SelectBgm(int n);
void ShowVolumeDialog(TMainZubForm& form);

// Replays.
void StopRecording();
void SaveReplay(TMainZubForm& form);
// The replay browser: the chosen file, or empty.
std::string RunReplayBrowser(TMainZubForm& form);
bool LoadReplayForPlayback(TMainZubForm& form, const std::string& path);

// High scores: the tables are zubroll/shell/Hiscore.h; the check after a run is here.
void HighScoreCheck(TMainZubForm& form);

}  // namespace zubroll
