// TMainZubForm: the egg game's main window and the owner of everything that
// runs: display surface, image list, sprite engine, frame timer, wave list and
// sound, menu, lookup tables; start-up, the frame loop, the pointer, window and
// full screen, the commands that start, continue and quit runs.
#pragma once
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/forms/menu.h"
#include "zubroll/shell/Lkuptabl.h"
#include "zubroll/shell/Stringhl.h"
#include "zubroll/shell/gamestate.h"
#include "zubroll/shell/settings.h"
#include "zubroll/sprite/dxdraw.h"
#include "zubroll/sprite/dximage.h"
#include "zubroll/sprite/dxsound.h"
#include "zubroll/sprite/dxtimer.h"
#include "zubroll/sprite/sprite.h"

namespace zubroll {

class THand2Sprite;
class TPauseSprite;

// The stage-file dialogs' settings (the stage editor opens them).
struct TEggFileDialog {
  std::string DefaultExt = "EGG";
  std::string Filter = "Stage File (*.EGG)|*.EGG";
  std::string Title;
  std::string InitialDir;
};

class TMainZubForm {
 public:
  TMainZubForm();
  ~TMainZubForm();
  TMainZubForm(const TMainZubForm&) = delete;
  TMainZubForm& operator=(const TMainZubForm&) = delete;

  // Components, in declaration order.
  TDXDraw DXDraw;
  TDXImageList DXImageList;
  TSpriteEngine DXSpriteEngine;
  TDXTimer DXTimer;
  TDXWaveList DXWaveList;
  TDXSound DXSound;
  platform::forms::Menu MainMenu;
  TLookupTable LTable;
  TEggFileDialog SaveEggDilg, OpenEggDilg;
  TStringHolder HiSumString;
  TDIB PalDIB;

  // Fields.
  bool IdleLoopActive = false;
  TWaveCollectionItem* BgmItem = nullptr;
  int PaddleX = 0, PaddleY = 0;
  int SurfaceLeft = 0, SurfaceTop = 0;
  std::string AppTitle = "Zubroll DX for Windows";
  std::vector<std::string> Args;  // the game's own command-line arguments
  bool Closed = false;            // the form has closed (the loop ends)
  bool StartFailed = false;       // start-up stopped (a message was shown)
  bool WasFullScreen = false;
  THand2Sprite* Hand2 = nullptr;
  TPauseSprite* PauseSprite = nullptr;
  TDIB SmallEgg, SmallBoss;       // the replay preview's miniatures
  int CursorShowCount = 0;        // the show-cursor counter: visible while >= 0
  bool CursorClipped = false;
  // Score values kept when a replay is loaded, restored when it ends.
  int ReplaySavedScore = 0, ReplaySavedShownScore = -1, ReplaySavedNextExtraLife = 100000;

  // Menu items (all owned by MainMenu).
  platform::forms::MenuItem& Item(const char* name);
  bool Checked(const char* name);
  void SetChecked(const char* name, bool on);
  void SetEnabled(const char* name, bool on);

  // Start-up and shutdown.
  void FormCreate(const std::vector<std::string>& args);
  void InitGameStaff();
  void BuildMenu();
  bool LoadData(std::string& failed_file, std::string& reason);  // ZRData pictures and waves
  void ExitItemClick();
  void FormClose();
  void FormDestroy();
  void FinalizeLocalStuff();

  // Frame loop.
  void Run();                 // until the form closes
  void RunOneLoopPass();      // one pass of the loop: events, driver, frame protocol
  void ProcessMessages();
  bool IdleFrame();           // the idle driver; true when a frame ran
  void DXTimerTimer(int LagCount);
  bool FrameStep(int MoveCount);  // false when the display cannot be drawn on
  void GetMousePos();
  void WriteTrace();

  // Display.
  void DXDrawInitializing();
  void DXDrawInitialize();
  void DXDrawFinalize();
  void DXDrawInitializeSurface() {}
  void DXSoundInitialize();
  void ChangeScreenMode();
  void MaxScreenItemClick();

  // Operations other units call.
  void PlaySound(const std::string& Name, int X, bool Wait);
  bool ButtonPressed();
  void UpdateMenus();
  void ClipCursorToSurface();
  void ReleaseCursorClip();
  void SetCursorToPaddle(int X, int Y);
  void HideCursor();
  void ShowCursor();
  void QuitToTitle();
  void StartGame(int Difficulty);
  void ContinueGame();
  void BeginGame();
  void StartStageSelect(int Difficulty);
  void ResetRun();
  void RestoreFrameDriver();  // re-enables the driver NoTimerItem chooses
  void StopFrameDrivers();

  // Commands: keys, mouse, pause, focus, menu.
  void FormKeyDown(platform::Key key, bool shift, bool ctrl, bool alt);
  void DXDrawMouseDown(uint8_t button, int X, int Y);
  void DXDrawMouseUp();
  void SetupPauseTitle();
  void PauseItemClick();
  void DXTimerActivate();
  void DXTimerDeactivate();
  void SFXOptionItemClick();
  void BGMOptionItemClick();
  void SoundVolumeClick();
  void RecReplayItemClick();
  void UseVRAMItemClick();
  void WaitVblItemClick();
  void NoTimerItemClick();
  void NoWaitItemClick();
  void DispFrameItemClick();
  void BtitemClick();
  void EditStageClick();
  void ReplayItemClick();
  void AboutZubrollClick();
  void DelHiItemClick(int difficulty);
  void ResumeFromPause();

  // Settings checks to and from the menu.
  TOptionChecks CurrentChecks();
  void ApplyChecks(const TOptionChecks& c);

  // The frame rate the digits show.
  int FrameRateForDisplay() const;
};

extern TMainZubForm* MainZubForm;

// The pause caption: "GPause" at (50, 160), blinking while paused.
class TPauseSprite : public TImageSprite {
 public:
  explicit TPauseSprite(TSpriteEngine* e);
  int Count = 0;
  void DoMove(int MoveCount) override;
};

// The pause and title pointer.
class THand2Sprite : public TImageSprite {
 public:
  explicit THand2Sprite(TSpriteEngine* e);
  void DoMove(int MoveCount) override;
};

}  // namespace zubroll
