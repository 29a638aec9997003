// The main form's user commands: keys, mouse buttons on the surface, pause and
// its caption, focus changes, the advanced options and the other menu commands.
#include <algorithm>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/msgbox.h"
#include "zubroll/play/hooks.h"
#include "zubroll/shell/Main.h"
#include "zubroll/shell/fps.h"
#include "zubroll/shell/texts.h"

namespace zubroll {

using platform::Key;

void TMainZubForm::FormKeyDown(Key key, bool shift, bool ctrl, bool alt) {
  (void)shift;
  (void)ctrl;
  if (!GameRec) return;
  if (key == Key::Escape || key == Key::Q) {
    if (GameState == 3 || GameState == 4 || GameState == 7) QuitToTitle();
    return;
  }
  if (key == Key::P) {
    if (GameState < 15 && GameRec->ReplayState != 1) {
      SetChecked("PauseItem", !Checked("PauseItem"));
      SetupPauseTitle();
      if (Checked("PauseItem")) {
        BgmStop(*this);
        ShowCursor();
        ReleaseCursorClip();
      } else {
        BgmPlay(*this);
        HideCursor();
        ClipCursorToSurface();
      }
    }
    return;
  }
  if (key == Key::S && !alt) {
    if (Item("SFXOptionItem").enabled) SFXOptionItemClick();
    return;
  }
  if (key == Key::M) {
    if (Item("BGMOptionItem").enabled) BGMOptionItemClick();
    return;
  }
  if (key == Key::C) {
    if (GameState == 16) EditorCopyStage();
    return;
  }
  if (key == Key::V) {
    if (GameState == 16) EditorPasteStage();
    return;
  }
  if ((key == Key::Return || key == Key::KPEnter) && alt) {
    SetChecked("MaxScreenItem", !Checked("MaxScreenItem"));
    ChangeScreenMode();
  }
}

void TMainZubForm::DXDrawMouseDown(uint8_t button, int X, int Y) {
  if (!GameRec) return;
  LeftButton = button == platform::MouseLeft;
  RightButton = button == platform::MouseRight;
  if (GameState == 31) {
    if (X > 390 && X < 500 && Y > 260 && Y < 390) {
      if (!BlindActive) {
        GameState = 15;
        UpdateMenus();
      }
    } else if (SceneStep == 0 && !TitleLocked) {
      SceneTimer = 300;
    }
  }
  if (GameRec->ReplayState == 1 && GameState < 70) {
    GameState = 33;
    SetChecked("PauseItem", false);
    InputMode = 0;
    ReplayFrame = 0;
    GameRec->ReplayState = 0;
    ReleaseCursorClip();
    RestoreBonusState();
  }
  if (Checked("PauseItem")) ResumeFromPause();
}

void TMainZubForm::ResumeFromPause() {
  SetChecked("PauseItem", false);
  SetupPauseTitle();
  BgmPlay(*this);
  HideCursor();
  ClipCursorToSurface();
}

void TMainZubForm::DXDrawMouseUp() {
  LeftButton = false;
  RightButton = false;
}

void TMainZubForm::SetupPauseTitle() {
  platform::display_set_title(Checked("PauseItem") ? AppTitle + " " + PauseTitleText : AppTitle);
}

void TMainZubForm::PauseItemClick() {
  SetChecked("PauseItem", !Checked("PauseItem"));
  if (Checked("PauseItem")) {
    ReleaseCursorClip();
  } else {
    BgmPlay(*this);
    ClipCursorToSurface();
  }
}

void TMainZubForm::DXTimerActivate() {
  if (!GameRec) return;
  if (Checked("PauseItem")) {
    platform::display_set_title(AppTitle + " " + PauseTitleText);
    BgmStop(*this);
  } else {
    platform::display_set_title(AppTitle);
    if (GameState > 0 && GameState < 8) BgmPlay(*this);
  }
  DXDraw.SurfaceCursorNone = true;
  if (Checked("NoTimerItem")) IdleLoopActive = true;
  if (GameState <= 7 && !Checked("PauseItem")) {
    HideCursor();
    ClipCursorToSurface();
  }
}

void TMainZubForm::DXTimerDeactivate() {
  if (!GameRec) return;
  platform::display_set_title(AppTitle + " " + PauseTitleText);
  DXDraw.SurfaceCursorNone = false;
  ShowCursor();
  ReleaseCursorClip();
  IdleLoopActive = false;
  BgmStop(*this);
}

void TMainZubForm::SFXOptionItemClick() { SetChecked("SFXOptionItem", !Checked("SFXOptionItem")); }

void TMainZubForm::BGMOptionItemClick() {
  SetChecked("BGMOptionItem", !Checked("BGMOptionItem"));
  if (GameState < 15) {
    if (Checked("BGMOptionItem")) {
      BgmUnload(*this);
      BgmReload(*this);
      BgmRestoreVolume(*this);
    } else {
      BgmStop(*this);
    }
  }
}

void TMainZubForm::SoundVolumeClick() {
  const bool was_playing = BgmPlaying;
  StopFrameDrivers();
  DXSound.Options |= soStickyFocus;
  BgmReload(*this);
  BgmStop(*this);
  ShowVolumeDialog(*this);
  RestoreFrameDriver();
  if (BgmItem) {
    BgmStop(*this);
    if (was_playing) BgmPlay(*this);
  }
}

void TMainZubForm::RecReplayItemClick() { SetChecked("RecReplayItem", !Checked("RecReplayItem")); }

void TMainZubForm::UseVRAMItemClick() {
  SetChecked("UseVRAMItem", !Checked("UseVRAMItem"));
  if (Checked("UseVRAMItem"))
    DXDraw.Options &= ~unsigned(doSystemMemory);
  else
    DXDraw.Options |= doSystemMemory;
}

void TMainZubForm::WaitVblItemClick() {
  SetChecked("WaitVblItem", !Checked("WaitVblItem"));
  if (Checked("WaitVblItem"))
    DXDraw.Options |= doWaitVBlank;
  else
    DXDraw.Options &= ~unsigned(doWaitVBlank);
}

void TMainZubForm::NoTimerItemClick() {
  SetChecked("NoTimerItem", !Checked("NoTimerItem"));
  if (Checked("NoTimerItem")) {
    DXTimer.SetEnabled(false, platform::ticks());
    IdleLoopActive = true;
    LastFrameTime = platform::ticks();
  } else {
    DXTimer.SetEnabled(true, platform::ticks());
    IdleLoopActive = false;
  }
}

void TMainZubForm::NoWaitItemClick() {
  SetChecked("NoWaitItem", !Checked("NoWaitItem"));
  DXTimer.Interval = Checked("NoWaitItem") ? 0 : 33;
}

void TMainZubForm::DispFrameItemClick() {
  SetChecked("DispFrameItem", !Checked("DispFrameItem"));
  if (Checked("DispFrameItem")) {
    TPictureCollectionItem* point = DXImageList.Find("Point");
    for (int i = 0; i < 3; ++i) new TFPSSprite(&DXSpriteEngine, point, i);
  } else {
    for (int i = 0; i < DXSpriteEngine.Count(); ++i)
      if (auto* s = dynamic_cast<TFPSSprite*>(DXSpriteEngine.Items(i))) s->Dead();
  }
}

void TMainZubForm::BtitemClick() {
  if (GameState <= 14 && GameRec->ReplayState != 1 && SecretUnlocked) {
    GameRec->Lives = 5;
    RefreshLivesDisplay();
    PlaySound("Special", 400, false);
  }
}

void TMainZubForm::EditStageClick() {
  GameState = 15;
  UpdateMenus();
}

void TMainZubForm::ReplayItemClick() {
  StopFrameDrivers();
  const std::string path = RunReplayBrowser(*this);
  RestoreFrameDriver();
  if (!path.empty() && LoadReplayForPlayback(*this, path)) GameRec->ReplayState = 2;
}

void TMainZubForm::AboutZubrollClick() { GameState = 70; }

void TMainZubForm::DelHiItemClick(int difficulty) {
  const TEraseTexts t = LoadEraseTexts(ProgramFolder(), difficulty);
  StopFrameDrivers();
  const platform::MsgResult r =
      platform::message_box(t.Caption, t.Question, platform::MsgButtons::YesNo, platform::MsgIcon::Warning);
  RestoreFrameDriver();
  if (r == platform::MsgResult::Yes) ResetHighScoreTable(difficulty);
}

}  // namespace zubroll
