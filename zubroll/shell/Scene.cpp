#include "zubroll/shell/Scene.h"

#include <algorithm>

#include "platform/files.h"
#include "zubroll/play/Field.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"
#include "zubroll/shell/Blind.h"
#include "zubroll/shell/Hiscore.h"
#include "zubroll/shell/Main.h"
#include "zubroll/shell/Selector.h"
#include "zubroll/shell/Title.h"
#include "zubroll/shell/bgpat.h"
#include "zubroll/shell/gameover.h"
#include "zubroll/shell/settings.h"

namespace zubroll {

const char* const kAttractReplays[8] = {"EASY01.rpy", "HARD07.rpy", "Normal03.rpy", "EASY09.rpy",
                                        "NORMAL14.rpy", "HARD05.rpy", "EASY13.rpy", "EASY16.rpy"};

TSceneHooks& SceneHooks() {
  static TSceneHooks hooks;
  return hooks;
}

// ---------------------------------------------------------------------------
// Credit pages

namespace {
constexpr TRGB kRed{255, 0, 0}, kBrightGreen{0, 255, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};
const TCreditPage kCreditPages[4] = {
    {kRed, 2, {{75, 150, 12, "Design&Programming", false}, {79, 170, 24, "The Zubroll team", true}}},
    {kBrightGreen, 2, {{75, 150, 14, "3D Objects&Animation", false}, {79, 170, 24, "The Zubroll team", true}}},
    {kBlue,
     5,
     {{75, 110, 12, "Special Thanks to...", false},
      {79, 130, 16, "SDL2, Dear ImGui", true},
      {79, 150, 16, "FreeType, cairo", true},
      {79, 170, 16, "libpng, GoogleTest", true},
      {79, 190, 16, "and every player", true}}},
    {kRed, 2, {{80, 140, 16, "Thank you very much", true}, {80, 170, 16, "For playing Zubroll!", true}}},
};
}  // namespace

const TCreditPage* CreditPage(int state) {
  return state >= 8 && state <= 11 ? &kCreditPages[state - 8] : nullptr;
}

void DrawCreditPage(TCanvas& canvas, int state) {
  const TCreditPage* page = CreditPage(state);
  if (!page) return;
  for (int i = 0; i < page->Count; ++i) {
    const TCreditLine& l = page->Lines[i];
    TFontSpec f;
    f.Size = l.Size;
    f.Bold = true;
    f.Colour = kBlack;
    canvas.TextOut(l.X, l.Y, l.Text, f);
    if (l.Shadowed) {
      f.Colour = page->Colour;
      canvas.TextOut(l.X - 1, l.Y - 1, l.Text, f);
    }
  }
}

// ---------------------------------------------------------------------------
// Hooks of the play units

namespace {
// State 40 (the play step runs ResetStagePlay after it).
void GameOverBegins(TMainZubForm& form) {
  SaveReplay(form);
  BgmStop(form);
  if (GameRec->ReplayState != 0) {
    GameState = 32;
  } else {
    form.PlaySound("GameOver", 200, false);
    GameState = 41;
    SceneStep = 100;
    CreateGameOverLetters(form);
  }
  form.ReleaseCursorClip();
}
}  // namespace

void InstallSceneHooks(TMainZubForm& form) {
  TPlayHost& h = PlayHost;
  h.StartBlind = [&form](int stage) { StartBlind(form, stage); };
  h.GameOverBegins = [&form] { GameOverBegins(form); };
  h.ResetStagePlay = [] { ResetStagePlay(); };
  h.WriteRunRecovery = [] { WriteRunRecovery(); };
}

void ResetStagePlay() {
  FoldSignboards();
  CoinRainTime = 0;
  if (!GameRec) return;
  GameRec->ChickChain = 0;
  GameRec->ChicksAlive = 0;
  GameRec->BlastsAlive = 0;
}

// ---------------------------------------------------------------------------
// The scene step

namespace {

void RestartTitleSequence(TMainZubForm& form) {
  SceneStep = 0;
  SceneTimer = 0;
  RemoveTitleActors(form);
  CreateTitleActors(form);
}

// State 31.
void TitleStep(TMainZubForm& form) {
  TGameRec& g = *GameRec;
  TDirectDrawSurface* surface = &form.DXDraw.Surface;
  switch (SceneStep) {
    case 0:
      ++SceneTimer;
      if (!BlindActive) g.ReplayState = 0;
      if (SceneTimer > 240) {
        SceneStep = 1;
        SceneTimer = 0;
        BeginTitleTables(form);
      }
      break;
    case 1:
    case 2:
    case 3: {
      ++SceneTimer;
      const int table = SceneStep - 1;
      const int first = SceneStep == 1 ? 25 : 5;  // the first table waits for the logo to move up
      if (SceneTimer >= first && SceneTimer <= 199) DrawHighScoreTable(surface, table);
      if (SceneTimer > 200) {
        SceneTimer = 0;
        ++SceneStep;
        if (SceneStep <= 3) SetTitleTable(form, SceneStep - 1);
      }
      break;
    }
    case 4: {
      g.ReplayState = 1;
      const int i = std::clamp(g.AttractIndex, 0, 7);
      const std::string path = platform::resolve_path(FolderPath(g.ReplayFolder) + kAttractReplays[i]);
      if (platform::file_exists(path)) {
        g.AttractIndex = (i + 1) % 8;
        if (LoadReplayForPlayback(form, path)) break;
      }
      // No replay to show: the title begins again.
      RestartTitleSequence(form);
      break;
    }
    default:
      break;
  }
}

// State 42: the run is over; continue data, back to the title, high score entry.
void AfterGame(TMainZubForm& form) {
  TGameRec& g = *GameRec;
  const int d = g.Difficulty;
  if (d >= 0 && d < 5) {
    g.LastStage[d] = StageNo;
    g.BestStage[d] = std::max(g.BestStage[d], StageNo);
    g.ContinueAvailable = true;
    g.ContinueDifficulty = d;
    const int last = LastStageOf(d);
    g.ContinueStage = StageNo;
    if (g.ContinueStage > last) {
      g.ContinueStage = last;
      g.LastStage[d] = std::min(g.LastStage[d], last);
    }
    g.ContinueSetPath = g.StageSetPath;
  }
  FieldReset = false;
  GameState = 30;
  SceneTimer = 0;
  TitleLocked = true;
  StartBlind(form, 0);
  form.UpdateMenus();
  HighScoreCheck(form);
}

// State 70: every run is left for the about screen.
void EnterAbout(TMainZubForm& form) {
  TGameRec& g = *GameRec;
  ResetStagePlay();
  RemoveTitleActors(form);
  RemoveTitleAndSelectionButtons(form);
  ClearFieldActors();
  CancelBlind(form);  // strips frozen over the about page would never leave
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
  new TAboutSprite(&form.DXSpriteEngine);
  new THand4Sprite(&form.DXSpriteEngine);
  SetBackgroundPattern(form, 9);
  form.PlaySound("FaceMi", 200, false);
}

}  // namespace

void RunSceneStep(TMainZubForm& form) {
  if (!GameRec) return;
  TGameRec& g = *GameRec;
  // Paused, the actors stand still and the run's states wait with them: a miss or a
  // cleared stage lasts only a frame or two, and a mole that never saw it would not
  // walk out, leaving the run waiting for a serve that never comes. The credit
  // pages are still drawn over the standing ending.
  if (GameState < 15 && form.Checked("PauseItem")) {
    if (CreditPage(GameState)) {
      TCanvas canvas = form.DXDraw.Canvas();
      DrawCreditPage(canvas, GameState);
    }
    return;
  }
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
        StartBlind(form, StageNo);
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
    case 5:
    case 40:
    case 41:
      // The stage rules, the stage change and game over (with the hooks above).
      PlayStateStep();
      break;
    case 6:
      GameState = 7;
      break;
    case 8:
    case 9:
    case 10:
    case 11: {
      TCanvas canvas = form.DXDraw.Canvas();
      DrawCreditPage(canvas, GameState);
      break;
    }
    case 15:
      SceneTimer = 0;
      SceneStep = 1;
      BgmStop(form);
      GameState = 16;
      break;
    case 16:
      if (SceneStep == 1) {
        if (SceneHooks().OpenEditor) SceneHooks().OpenEditor(form);
        SceneStep = 0;
      }
      break;
    case 30:
      SceneStep = 0;
      SceneTimer = 0;
      GameState = 31;
      form.ShowCursor();
      FieldReset = false;
      break;
    case 31:
      TitleStep(form);
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
      RemoveTitleAndSelectionButtons(form);  // never two sets of buttons
      CreateTitleActors(form);
      CreateTitleButtons(form);
      RefreshLivesDisplay();
      RefreshStageDisplay();
      form.UpdateMenus();
      form.ShowCursor();
      break;
    case 42:
      AfterGame(form);
      break;
    case 50:
      SaveReplay(form);
      BgmStop(form);
      form.ReleaseCursorClip();
      GameState = 32;
      ++StageNo;
      ResetStagePlay();
      break;
    case 70:
      EnterAbout(form);
      break;
    case 71: {
      if (LeftButton) {
        form.PlaySound("FaceSo", 200, false);
        GameState = 72;
        LeftButton = false;
      }
      TFontSpec f;
      f.Size = 9;
      f.Bold = true;
      f.Colour = TRGB{0, 0, 0};
      form.DXDraw.Canvas().TextOut(250, 122, kVersionText, f);
      break;
    }
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

}  // namespace zubroll
