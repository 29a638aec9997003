#include "zubroll/shell/Main.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/forms/menubar.h"
#include "platform/host.h"
#include "platform/image_io.h"
#include "platform/msgbox.h"
#include "platform/trace.h"
#include "zubroll/play/hooks.h"
#include "zubroll/play/Autoplay.h"
#include "zubroll/play/Field.h"
#include "zubroll/shell/Selector.h"
#include "zubroll/shell/fps.h"
#include "zubroll/shell/texts.h"
#include "zubroll/sprite/catalogue.h"

namespace zubroll {

TMainZubForm* MainZubForm = nullptr;

using platform::Key;
using platform::forms::MenuItem;
using platform::forms::Shortcut;

TMainZubForm::TMainZubForm() : DXSpriteEngine(&DXDraw.Surface) {
  MainZubForm = this;
  DXWaveList.SetMixer(&platform::mixer());
  SaveEggDilg.Title = "Save Stage File";
  OpenEggDilg.Title = "Select Stage File";
  HiSumString = zubroll::HiSumString();
  DXTimer.Interval = 33;
  DXTimer.MaxLag = 16;
  DXTimer.OnTimer = [this](int lag) { DXTimerTimer(lag); };
  DXTimer.OnActivate = [this] { DXTimerActivate(); };
  DXTimer.OnDeactivate = [this] { DXTimerDeactivate(); };
  DXDraw.OnInitializing = [this] { DXDrawInitializing(); };
  DXDraw.OnInitialize = [this] { DXDrawInitialize(); };
  DXDraw.OnInitializeSurface = [this] { DXDrawInitializeSurface(); };
  DXDraw.OnFinalize = [this] { DXDrawFinalize(); };
  DXSound.OnInitialize = [this] { DXSoundInitialize(); };
  BuildMenu();
}

TMainZubForm::~TMainZubForm() {
  if (platform::forms::MenuBar::menu() == &MainMenu) platform::forms::MenuBar::detach();
  DXSpriteEngine.Clear();
  if (MainZubForm == this) MainZubForm = nullptr;
}

// ---------------------------------------------------------------------------
// Menu

MenuItem& TMainZubForm::Item(const char* name) {
  MenuItem* it = MainMenu.find(name);
  if (!it) throw std::runtime_error(std::string("menu item ") + name + " missing");
  return *it;
}
bool TMainZubForm::Checked(const char* name) { return Item(name).checked; }
void TMainZubForm::SetChecked(const char* name, bool on) { Item(name).checked = on; }
void TMainZubForm::SetEnabled(const char* name, bool on) { Item(name).enabled = on; }

void TMainZubForm::BuildMenu() {
  auto sc = [](Key k, bool shift = false, bool ctrl = false) { return Shortcut{k, shift, ctrl, false}; };
  auto on = [this](MenuItem& it, void (TMainZubForm::*fn)()) { it.on_click = [this, fn] { (this->*fn)(); }; };

  MenuItem& file = MainMenu.add("FileMenu", "&File");
  MenuItem& start = file.add("GameStart", "&New Game");
  on(start.add("ContinuItem", "&Continue", sc(Key::F4)), &TMainZubForm::ContinueGame);
  start.add_separator();
  start.add("EasyItem", "&Easy", sc(Key::F1)).on_click = [this] { StartGame(0); };
  start.add("NormalItem", "&Normal", sc(Key::F2)).on_click = [this] { StartGame(1); };
  start.add("HardItem", "&Hard", sc(Key::F3)).on_click = [this] { StartGame(2); };
  MenuItem& sel = file.add("SelectStart", "&Select Stage");
  sel.add("EasySelItem", "&Easy", sc(Key::F1, true)).on_click = [this] { StartStageSelect(0); };
  sel.add("NormalSelItem", "&Normal", sc(Key::F2, true)).on_click = [this] { StartStageSelect(1); };
  sel.add("HardSelItem", "&Hard", sc(Key::F3, true)).on_click = [this] { StartStageSelect(2); };
  on(file.add("EditStage", "&Edit Stage", sc(Key::F8)), &TMainZubForm::EditStageClick);
  on(file.add("ReplayItem", "Open &Replay File...", sc(Key::F5)), &TMainZubForm::ReplayItemClick);
  file.add_separator();
  on(file.add("PauseItem", "&Pause"), &TMainZubForm::PauseItemClick);
  file.add_separator();
  on(file.add("ExitItem", "E&xit"), &TMainZubForm::ExitItemClick);

  MenuItem& opt = MainMenu.add("OptionMenu", "&Option");
  on(opt.add("MaxScreenItem", "&Full Screen", sc(Key::F10)), &TMainZubForm::MaxScreenItemClick);
  on(opt.add("SFXOptionItem", "&Sound Effects"), &TMainZubForm::SFXOptionItemClick);
  on(opt.add("BGMOptionItem", "BG&M"), &TMainZubForm::BGMOptionItemClick);
  on(opt.add("SoundVolume", "&Volume..."), &TMainZubForm::SoundVolumeClick);
  on(opt.add("RecReplayItem", "Save &Replay Files"), &TMainZubForm::RecReplayItemClick);
  MenuItem& adv = opt.add("N6", "&Advanced Option");
  on(adv.add("UseVRAMItem", "&Use VRAM"), &TMainZubForm::UseVRAMItemClick);
  on(adv.add("WaitVblItem", "&Wait VBL"), &TMainZubForm::WaitVblItemClick);
  on(adv.add("NoTimerItem", "Don't use MMTimer"), &TMainZubForm::NoTimerItemClick);
  adv.add_separator();
  on(adv.add("DispFrameItem", "&Display FPS Rate"), &TMainZubForm::DispFrameItemClick);
  on(adv.add("NoWaitItem", "&No Wait"), &TMainZubForm::NoWaitItemClick);
  MenuItem& bt = adv.add("Btitem", "???", sc(Key::B, false, true));
  bt.visible = false;
  on(bt, &TMainZubForm::BtitemClick);
  opt.add_separator();
  MenuItem& del = opt.add("DelHiItem", "&Erase High Score");
  del.add("DelEasyHiItem", "&Easy...").on_click = [this] { DelHiItemClick(0); };
  del.add("DelNormalHiItem", "&Normal...").on_click = [this] { DelHiItemClick(1); };
  del.add("DelHardHiItem", "&Hard...").on_click = [this] { DelHiItemClick(2); };

  MenuItem& help = MainMenu.add("HelpMenu", "&Help");
  on(help.add("AboutZubroll", "&About Zubroll DX for Windows..."), &TMainZubForm::AboutZubrollClick);

  for (const char* n : {"SFXOptionItem", "BGMOptionItem", "RecReplayItem", "UseVRAMItem", "WaitVblItem", "NoTimerItem"})
    SetChecked(n, true);
}

TOptionChecks TMainZubForm::CurrentChecks() {
  TOptionChecks c;
  c.MaxScreen = Checked("MaxScreenItem");
  c.SFX = Checked("SFXOptionItem");
  c.BGM = Checked("BGMOptionItem");
  c.RecReplay = Checked("RecReplayItem");
  c.UseVRAM = Checked("UseVRAMItem");
  c.WaitVbl = Checked("WaitVblItem");
  c.NoTimer = Checked("NoTimerItem");
  return c;
}

void TMainZubForm::ApplyChecks(const TOptionChecks& c) {
  SetChecked("MaxScreenItem", c.MaxScreen);
  SetChecked("SFXOptionItem", c.SFX);
  SetChecked("BGMOptionItem", c.BGM);
  SetChecked("RecReplayItem", c.RecReplay);
  SetChecked("UseVRAMItem", c.UseVRAM);
  SetChecked("WaitVblItem", c.WaitVbl);
  SetChecked("NoTimerItem", c.NoTimer);
  if (c.WaitVbl)
    DXDraw.Options |= doWaitVBlank;
  else
    DXDraw.Options &= ~unsigned(doWaitVBlank);
  if (c.UseVRAM)
    DXDraw.Options &= ~unsigned(doSystemMemory);
  else
    DXDraw.Options |= doSystemMemory;
}

// ---------------------------------------------------------------------------
// Start-up

namespace {
std::string DataPath(const std::string& name) { return ProgramFolder() + "ZRData/" + name; }
}  // namespace

bool TMainZubForm::LoadData(std::string& failed, std::string& reason) {
  failed.clear();
  {
    failed = "ZRData/PalDIB.bmp";
    if (!LoadBmp8(DataPath("PalDIB.bmp"), PalDIB, reason)) return false;
    if (PalDIB.Width != 16 || PalDIB.Height != 16) {
      reason = "the palette picture is not 16 x 16";
      return false;
    }
  }
  DXImageList.Clear();
  for (const ImageSpec& s : kImageCatalogue) {
    failed = std::string("ZRData/") + s.name + ".bmp";
    TPictureCollectionItem& it = DXImageList.Add(s.name);
    if (!LoadBmp8(DataPath(std::string(s.name) + ".bmp"), it.Picture, reason)) return false;
    if (it.Picture.Width != s.width || it.Picture.Height != s.height) {
      reason = "picture is " + std::to_string(it.Picture.Width) + " x " + std::to_string(it.Picture.Height) +
               ", expected " + std::to_string(s.width) + " x " + std::to_string(s.height);
      return false;
    }
    if (s.own_palette) RemapToPalette(it.Picture, PalDIB.Palette, kTransparentIndex);
    it.PatternWidth = s.pattern_width;
    it.PatternHeight = s.pattern_height;
    it.Transparent = s.transparent;
    it.TransparentColor = kTransparentIndex;
    it.SystemMemory = s.system_memory;
  }
  for (const char* extra : {"SMALLEGG", "SMALLBOSS"}) {
    failed = std::string("ZRData/") + extra + ".bmp";
    TDIB dib;
    if (!LoadBmp8(DataPath(std::string(extra) + ".bmp"), dib, reason)) return false;
    const ImageSpec& item_spec = std::string(extra) == "SMALLEGG" ? kSmallEggSpec : kSmallBossSpec;
    if (dib.Width != item_spec.width || dib.Height != item_spec.height) {
      reason = "wrong picture size";
      return false;
    }
    (std::string(extra) == "SMALLEGG" ? SmallEgg : SmallBoss) = dib;
  }
  {
    failed = "ZRData/Icon.bmp";
    TDIB icon;
    if (!LoadBmp8(DataPath("Icon.bmp"), icon, reason)) return false;
    std::vector<uint32_t> argb(size_t(icon.Width) * icon.Height);
    for (size_t i = 0; i < argb.size(); ++i) {
      const uint8_t p = icon.Pixels[i];
      const TRGB c = icon.Palette[p];
      argb[i] = p == kTransparentIndex ? 0u : 0xFF000000u | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
    }
    platform::display_set_icon(argb.data(), icon.Width, icon.Height);
  }
  DXWaveList.Clear();
  for (const WaveSpec& w : kWaveCatalogue) {
    failed = std::string("ZRData/") + w.name + ".wav";
    std::vector<uint8_t> bytes;
    if (!platform::read_file(platform::resolve_path(DataPath(std::string(w.name) + ".wav")), bytes, 16u << 20)) {
      reason = "file not found or unreadable";
      return false;
    }
    platform::WavData wav;
    if (!platform::parse_wav(bytes.data(), bytes.size(), wav, reason)) return false;
    if (wav.format.bits != 8 || wav.format.rate != w.rate || wav.format.channels != w.channels ||
        wav.data.size() != size_t(w.data_bytes)) {
      reason = "the wave is not " + std::to_string(w.rate) + " Hz " + std::to_string(w.channels) +
               "-channel 8-bit PCM of " + std::to_string(w.data_bytes) + " bytes";
      return false;
    }
    TWaveCollectionItem& it = DXWaveList.Add(w.name);
    it.SetWave(wav);
    it.MaxPlayingCount = 6;
    it.Looped = false;
  }
  failed.clear();
  return true;
}

void TMainZubForm::FormCreate(const std::vector<std::string>& args) {
  Args = args;
  // The pictures and waves come first, as a form's components are loaded before it is created.
  {
    std::string failed, reason;
    if (!LoadData(failed, reason)) {
      platform::message_box(AppTitle, "Can't load the data file \"" + failed + "\": " + reason,
                            platform::MsgButtons::Ok, platform::MsgIcon::Error);
      StartFailed = true;
      Closed = true;
      return;
    }
  }
  // 1.
  IdleLoopActive = true;
  BgmAvailable = false;
  ReleaseCursorClip();
  RandomizeFrom(platform::time_of_day_ms());
  // 2.
  if (!AllocateGameRec()) {
    FreeGameRec();
    Closed = true;
    StartFailed = true;
    return;
  }
  // 3.
  {
    // The program folder may be set by a test; the program's own name stays.
    std::string exe = platform::program_path();
    const size_t slash = exe.find_last_of('/');
    GameRec->ExePath = platform::program_folder() + (slash == std::string::npos ? exe : exe.substr(slash + 1));
  }
  SetupZRPath();
  try {
    SetupFolder();
  } catch (const TFolderError& e) {
    platform::message_box(AppTitle, e.what(), platform::MsgButtons::Ok, platform::MsgIcon::Error);
    FreeGameRec();
    StartFailed = true;
    Closed = true;
    return;
  }
  // 4.
  const TStartTexts texts = LoadStartTexts(ProgramFolder());
  AppTitle = texts.AppTitle;
  platform::display_set_title(AppTitle);
  for (const auto& [name, caption] : texts.MenuCaptions)
    if (MenuItem* it = MainMenu.find(name)) it->caption = caption;
  for (int i = 0; i < 5; ++i) GameRec->RankTexts[i] = texts.RankTexts[i];
  PauseTitleText = texts.PauseTitleText;
  // 5.
  std::copy(std::begin(PalDIB.Palette), std::end(PalDIB.Palette), DXDraw.Surface.Palette);
  // 6.
  InitGameStaff();
  if (Closed) return;
  platform::forms::MenuBar::attach(MainMenu);
  // 7. The idle handler: Run() drives IdleFrame while IdleLoopActive.
  LastFrameTime = platform::ticks();
}

void TMainZubForm::InitGameStaff() {
  // 1.
  if (!AllocateSharedBlocks()) {
    FreeGameRec();
    Closed = true;
    StartFailed = true;
    return;
  }
  // 2.
  FpsAverage = 30;
  FramePeriod = 33;
  if (!platform::headless()) {
    ScreenSaverWasActive = SDL_IsScreenSaverEnabled() == SDL_TRUE;
    SDL_DisableScreenSaver();
  }
  // 3.
  TOptionChecks checks;
  const bool recovered = LoadSettings(checks);
  const int recovered_difficulty = GameRec->Difficulty;
  int recovered_last[5];
  std::copy(std::begin(GameRec->LastStage), std::end(GameRec->LastStage), recovered_last);
  ApplyChecks(checks);
  LoadHighScores();
  // 4.
  if (!Args.empty() && (Args[0] == "-W" || Args[0] == "-w")) {
    SettingRec->FullScreen = 0;
    SetChecked("MaxScreenItem", false);
  }
  // 5. The splash: a black frame covers the desktop while the mode changes.
  if (Checked("MaxScreenItem")) {
    DXDraw.Surface.Fill(0);
  }
  // 6.
  PrepareFieldTables(*this);
  ReplayRec->Slots[0] = kReplayEnd;
  ChangeScreenMode();
  // 7.
  CreateBackgroundActors(*this);
  Hand2 = new THand2Sprite(&DXSpriteEngine);
  CreateTitleActors(*this);
  PauseSprite = new TPauseSprite(&DXSpriteEngine);
  // 8.
  CreateTitleButtons(*this);
  PrepareItemState();
  // 9.
  GameState = 30;
  StageNo = 0;
  GameRec->Lives = 3;
  GameRec->Difficulty = 0;
  InputMode = 0;
  GameRec->ReplayState = 0;
  GameRec->HighScoreToBeat = 99999999;
  GameRec->StartStage = 0;
  GameRec->ContinueStage = 0;
  GameRec->ContinueAvailable = false;
  GameRec->AttractIndex = 0;
  for (int& v : GameRec->LastStage) v = 0;
  BlindActive = false;
  SecretUnlocked = false;
  // What the run-recovery file restored is kept (the stage selection offers it).
  if (recovered) {
    GameRec->Difficulty = recovered_difficulty;
    std::copy(std::begin(recovered_last), std::end(recovered_last), GameRec->LastStage);
  }
  // 10.
  const std::string replay_folder = FolderPath(GameRec->ReplayFolder);
  if (!platform::folder_exists(replay_folder)) platform::make_folder(replay_folder);
  // 11.
  const std::string stage_folder = FolderPath(GameRec->StageFolder);
  const std::string edit = stage_folder + SettingRec->EditFileName.str();
  GameRec->EditSetPath =
      SettingRec->EditFileName.len && platform::file_exists(platform::resolve_path(edit)) ? edit
                                                                                           : stage_folder + "EDIT.EGG";
  GameRec->StageSetPath = stage_folder + "NORMAL.EGS";
  GameRec->SelectSetPath = stage_folder + "EASY.EGS";
  // 12.
  GameRec->BgmPath = ProgramFolder() + "ZRSOUND/ZRBGM1.WAV";
  if (platform::file_exists(platform::resolve_path(GameRec->BgmPath))) {
    BgmSetup(*this);
  } else {
    // No music: the sound device is never set up and the sound items stay off.
    SetChecked("SFXOptionItem", false);
    SetChecked("BGMOptionItem", false);
    SetEnabled("SFXOptionItem", false);
    SetEnabled("BGMOptionItem", false);
    SetEnabled("SoundVolume", false);
  }
  // 13.
  SaveEggDilg.InitialDir = OpenEggDilg.InitialDir = stage_folder;
  RefreshLivesDisplay();
  RefreshStageDisplay();
  UpdateMenus();
}

// ---------------------------------------------------------------------------
// Shutdown

void TMainZubForm::ExitItemClick() { FormClose(); }

void TMainZubForm::FormClose() {
  DXTimer.SetEnabled(false, platform::ticks());
  IdleLoopActive = false;
  FinalizeLocalStuff();
  Closed = true;
}

void TMainZubForm::FormDestroy() {
  DXTimer.SetEnabled(false, platform::ticks());
  IdleLoopActive = false;
}

void TMainZubForm::FinalizeLocalStuff() {
  if (!GameRec) return;  // once
  DXDraw.Surface.Fill(0);
  if (GameState == 16) SaveStageSet(GameRec->EditSetPath);
  SaveHighScores();
  std::string error;
  TOptionChecks checks = CurrentChecks();
  if (!BgmAvailable) {
    // Sound that could not be set up unchecked and locked the two switches; the file keeps
    // the player's own choice for the next start (a machine without a sound device once
    // must not turn the sound off for good).
    checks.SFX = SettingRec->SoundEffects == 1;
    checks.BGM = SettingRec->Music == 1;
  }
  if (!SaveSettings(checks, &error))
    std::fprintf(stderr, "zubroll: cannot save the settings: %s\n", error.c_str());
  DeleteRunRecovery();
  if (BgmItem) {
    BgmItem->Stop();
    DXWaveList.Remove(BgmItem);
    BgmItem = nullptr;
  }
  FreeSharedBlocks();
  FreeGameRec();
  if (!platform::headless()) {
    if (ScreenSaverWasActive)
      SDL_EnableScreenSaver();
    else
      SDL_DisableScreenSaver();
  }
  ReleaseCursorClip();
}

// ---------------------------------------------------------------------------
// Frame loop

void TMainZubForm::Run() {
  while (!Closed) RunOneLoopPass();
}

void TMainZubForm::ProcessMessages() {
  platform::Event ev;
  while (!Closed && platform::poll_event(ev)) {
    try {
      if (platform::forms::MenuBar::handle_event(ev)) continue;
      switch (ev.type) {
        case platform::EventType::KeyDown:
          FormKeyDown(ev.key, ev.shift, ev.ctrl, ev.alt);
          break;
        case platform::EventType::MouseDown: {
          const int x = ev.x - SurfaceLeft, y = ev.y - SurfaceTop;
          if (x >= 0 && y >= 0 && x < DXDraw.Surface.Width && y < DXDraw.Surface.Height)
            DXDrawMouseDown(ev.button, x, y);
          break;
        }
        case platform::EventType::MouseUp:
          DXDrawMouseUp();
          break;
        case platform::EventType::FocusGained:
          if (DXTimer.OnActivate) DXTimer.OnActivate();
          break;
        case platform::EventType::FocusLost:
          if (DXTimer.OnDeactivate) DXTimer.OnDeactivate();
          break;
        case platform::EventType::Raise:
          platform::display_raise();
          break;
        case platform::EventType::Quit:
          FormClose();
          break;
        default:
          break;
      }
    } catch (const std::exception& e) {
      platform::message_box(AppTitle, e.what(), platform::MsgButtons::Ok, platform::MsgIcon::Error);
    }
  }
  if (!Closed) {
    try {
      platform::forms::MenuBar::dispatch();
    } catch (const std::exception& e) {
      platform::message_box(AppTitle, e.what(), platform::MsgButtons::Ok, platform::MsgIcon::Error);
    }
  }
}

void TMainZubForm::RunOneLoopPass() {
  platform::begin_frame();
  bool waited = false;
  // The timer runs only while the application is active (ActiveOnly).
  const bool timer_runs = DXTimer.Enabled() && (!DXTimer.ActiveOnly || platform::has_focus());
  // Pacing: the chosen driver waits on the platform clock (virtual when headless).
  if (timer_runs) {
    platform::wait_until(DXTimer.NextDue());
    waited = true;
  } else if (IdleLoopActive && !Checked("NoWaitItem")) {
    const uint32_t due = LastFrameTime + uint32_t(FramePeriod);
    if (int32_t(due - platform::ticks()) > 0) platform::wait_until(due);
    waited = true;
  }
  ProcessMessages();
  bool ran = false;
  if (!Closed) {
    try {
      if (DXTimer.Enabled())
        ran = timer_runs && DXTimer.Poll(platform::ticks());
      else if (IdleLoopActive)
        ran = IdleFrame();
    } catch (const std::exception& e) {
      platform::message_box(AppTitle, e.what(), platform::MsgButtons::Ok, platform::MsgIcon::Error);
    }
  }
  // Over the surface the game draws its own pointer.
  if (!Closed) {
    int px, py;
    const bool inside = platform::pointer_position(px, py);
    const bool over_surface = inside && px >= SurfaceLeft && py >= SurfaceTop &&
                              px < SurfaceLeft + DXDraw.Surface.Width && py < SurfaceTop + DXDraw.Surface.Height;
    platform::cursor_show(CursorShowCount >= 0 && !(DXDraw.SurfaceCursorNone && over_surface));
  }
  if (!Closed) WriteTrace();
  const bool end = platform::end_frame();
  // Nothing drove a frame (no driver, or the display cannot be drawn on): wait for messages
  // rather than spin.
  if (!ran && (!waited || !timer_runs) && !Closed) platform::delay(uint32_t(FramePeriod));
  if (end && !Closed) FormClose();
}

bool TMainZubForm::IdleFrame() {
  if (!IdleLoopActive) return false;
  if (DXTimer.Enabled()) return false;
  const uint32_t now = platform::ticks();
  FrameTime = now - LastFrameTime;
  if (!Checked("NoWaitItem") && FrameTime < uint32_t(FramePeriod)) {
    // Run() has waited for the frame period; a frame that is still early waits again.
    platform::wait_until(LastFrameTime + uint32_t(FramePeriod));
    if (!IdleLoopActive) {
      FrameTime = uint32_t(FramePeriod);
      LastFrameTime = platform::ticks();
      return false;
    }
  }
  const uint32_t measured = platform::ticks();
  FrameTime = measured - LastFrameTime;
  if (!FrameStep(Checked("PauseItem") ? 4 : 16)) return false;
  if (FrameTime < 1) FrameTime = 1;
  FpsAverage = (FpsAverage + int(1000 / FrameTime) + 1) / 2;
  LastFrameTime = measured;
  return true;
}

void TMainZubForm::DXTimerTimer(int LagCount) {
  FrameStep(LagCount);
  FpsAverage = (FpsAverage + DXTimer.FrameRate() + 1) / 2;
}

bool TMainZubForm::FrameStep(int D) {
  AutoplayStep(SurfaceLeft, SurfaceTop);
  GetMousePos();
  if (!DXDraw.CanDraw()) return false;
  if (Checked("PauseItem")) {
    for (int i = 0; i < DXSpriteEngine.Count(); ++i) {
      TSprite* s = DXSpriteEngine.Items(i);
      if (dynamic_cast<THand2Sprite*>(s) || dynamic_cast<TPauseSprite*>(s)) s->Move(D);
    }
  } else {
    DXSpriteEngine.Move(D);
    DXSpriteEngine.Collisions();
    DXSpriteEngine.Dead();
    ScoreStep(*this);
    RouletteStep(*this);
  }
  DXSpriteEngine.Draw();
  RunSceneStep(*this);
  DXDraw.Flip();
  return true;
}

void TMainZubForm::GetMousePos() {
  const bool paused = Checked("PauseItem");
  if (InputMode == 0 || InputMode == 1 || InputMode == 3) {
    int fx = 0, fy = 0;
    platform::pointer_position(fx, fy);
    const int x = fx - SurfaceLeft, y = fy - SurfaceTop;
    PaddleX = x - 32;
    PaddleY = y;
    if (InputMode == 1 && !paused) {
      ReplayRec->Slots[ReplayFrame] = int16_t(x);
      if (ReplayFrame < kReplayFrameLimit) ++ReplayFrame;
    }
  } else if (InputMode == 2 && !paused) {
    const int x = ReplayRec->Slots[ReplayFrame];
    const bool cut = GameState == 31 && SceneTimer > 30;
    if (cut || x == kReplayEnd) {
      GameState = 40;
      if (cut) GameRec->ReplayState = 30;
      SetChecked("PauseItem", false);
      InputMode = 0;
      RestoreBonusState();
      Score = ReplaySavedScore;
      ShownScore = ReplaySavedShownScore;
      NextExtraLife = ReplaySavedNextExtraLife;
      if (ShownScore == Score) --ShownScore;
      RefreshLivesDisplay();
      RefreshStageDisplay();
      UpdateMenus();
      RefreshScoreDisplay();
      ReleaseCursorClip();
      if (!cut) SetCursorToPaddle(260, 379);
      return;
    }
    if (ReplayFrame < kReplayFrameLimit) ++ReplayFrame;
    PaddleX = x - 32;
    PaddleY = 378;
  } else if (InputMode == 2) {
    // A paused replay keeps its paddle point: adding 32 again every paused frame
    // would walk the point off the surface.
    return;
  }
  if (GameState < 15 && !paused) {
    PaddleX = std::clamp(PaddleX, -32, 372);
    PaddleY = 378;
    if (InputMode >= 1 && InputMode <= 3) SetCursorToPaddle(PaddleX + 32, 378);
  } else {
    PaddleX += 32;
  }
}

void TMainZubForm::WriteTrace() {
  if (!platform::trace_active()) return;
  platform::TraceLine t;
  t.add("frame", platform::frame_number())
      .add("GameState", GameState)
      .add("SceneStep", SceneStep)
      .add("SceneTimer", SceneTimer)
      .add("StageNo", StageNo)
      .add("Difficulty", GameRec ? GameRec->Difficulty : 0)
      .add("Lives", GameRec ? GameRec->Lives : 0)
      .add("Score", Score)
      .add("EggsLeft", GameRec ? GameRec->EggsLeft : 0)
      .add("BallSprites", GameRec ? GameRec->BallSprites : 0)
      .add("BallsInPlay", GameRec ? GameRec->BallsInPlay : 0)
      .add("ChicksAlive", GameRec ? GameRec->ChicksAlive : 0)
      .add("InputMode", InputMode)
      .add("ReplayFrame", ReplayFrame)
      .add("PaddleX", PaddleX)
      .add("Paused", Checked("PauseItem") ? 1 : 0)
      .add("BlindActive", BlindActive ? 1 : 0)
      .add("TitleLocked", TitleLocked ? 1 : 0)
      .add("SelectStageNo", SelectStageNo)
      .add("ContinueAvailable", GameRec && GameRec->ContinueAvailable ? 1 : 0);
  AddPlayTraceFields(t);
  platform::trace_write(t);
}

int TMainZubForm::FrameRateForDisplay() const {
  if (DXTimer.Enabled()) return DXTimer.FrameRate();
  return int(1000 / std::max<uint32_t>(1, FrameTime));
}

// ---------------------------------------------------------------------------
// Display

void TMainZubForm::DXDrawInitializing() {
  // Full screen: no border and no cursor over the surface; a window: border and default cursor.
  DXDraw.SurfaceCursorNone = (DXDraw.Options & doFullScreen) != 0;
}

void TMainZubForm::DXDrawInitialize() {
  DXDraw.SurfaceCursorNone = true;
  DXTimer.SetEnabled(!Checked("NoTimerItem"), platform::ticks());
  IdleLoopActive = Checked("NoTimerItem");
}

void TMainZubForm::DXDrawFinalize() {
  DXTimer.SetEnabled(false, platform::ticks());
  IdleLoopActive = false;
}

void TMainZubForm::DXSoundInitialize() { DXSound.Options &= ~unsigned(soGlobalFocus); }

void TMainZubForm::ChangeScreenMode() {
  DXDraw.Finalize();
  if (Checked("MaxScreenItem")) {
    WasFullScreen = true;
    DXDraw.Options |= doFullScreen;
    DXDraw.DisplayWidth = 640;
    DXDraw.DisplayHeight = 480;
    DXDraw.DisplayBits = 8;
    DXDraw.Left = 70;
    DXDraw.Top = 30;
    SurfaceLeft = 70;
    SurfaceTop = 30;
  } else {
    WasFullScreen = false;
    DXDraw.Options &= ~unsigned(doFullScreen);
    DXDraw.DisplayWidth = 640;
    DXDraw.DisplayHeight = 480;
    DXDraw.DisplayBits = 8;
    DXDraw.Left = 0;
    DXDraw.Top = 0;
    SurfaceLeft = 0;
    SurfaceTop = 0;
  }
  DXDraw.Initialize();
  if (CursorClipped) ClipCursorToSurface();
}

void TMainZubForm::MaxScreenItemClick() {
  SetChecked("MaxScreenItem", !Checked("MaxScreenItem"));
  ChangeScreenMode();
}

// ---------------------------------------------------------------------------
// Operations

void TMainZubForm::PlaySound(const std::string& Name, int X, bool Wait) {
  if (!Checked("SFXOptionItem") || !GameRec || GameRec->ReplayState == 1) return;
  TWaveCollectionItem* w = DXWaveList.Find(Name);
  if (!DXSound.Initialized()) return;
  w->SetVolume(SfxVolume);
  w->SetPan(5 * X - 1000);
  w->Play(Wait);
}

bool TMainZubForm::ButtonPressed() {
  if (Checked("PauseItem") || GameState == 33) return false;
  const bool left = (platform::mouse_buttons() & platform::MouseLeft) != 0 || AutoplayButtonDown();
  switch (InputMode) {
    case 0:
    case 3:
      return left;
    case 1:
      if (!left) return false;
      ReplayRec->Slots[ReplayFrame] = kReplayButton;
      if (ReplayFrame < kReplayFrameLimit) ++ReplayFrame;
      return true;
    case 2:
      if (ReplayRec->Slots[ReplayFrame] != kReplayButton) return false;
      if (ReplayFrame < kReplayFrameLimit) ++ReplayFrame;
      return true;
    default:
      return false;
  }
}

void TMainZubForm::UpdateMenus() {
  const bool running = GameState <= 15;
  for (const char* n : {"GameStart", "SelectStart", "EditStage", "ReplayItem", "AboutZubroll"})
    SetEnabled(n, !running);
  SetEnabled("PauseItem", GameState < 15);
  SetEnabled("ContinuItem", GameRec && GameRec->ContinueAvailable);
}

void TMainZubForm::ClipCursorToSurface() {
  CursorClipped = true;
  platform::Rect r{SurfaceLeft, SurfaceTop, SurfaceLeft + 512, SurfaceTop + 400};
  platform::cursor_confine(&r);
}

void TMainZubForm::ReleaseCursorClip() {
  CursorClipped = false;
  platform::cursor_confine(nullptr);
}

void TMainZubForm::SetCursorToPaddle(int X, int Y) { platform::cursor_warp(X + SurfaceLeft, Y + SurfaceTop); }

void TMainZubForm::HideCursor() {
  // The show-cursor counter is called down until it is negative.
  while (CursorShowCount >= 0) --CursorShowCount;
}

void TMainZubForm::ShowCursor() { ++CursorShowCount; }

void TMainZubForm::QuitToTitle() {
  if (GameRec->Difficulty == 99) RestoreBonusState();
  SetChecked("PauseItem", false);
  SetupPauseTitle();  // a stage quit while paused must not leave "[Pause]" in the caption
  StopRecording();
  InputMode = 0;
  ReplayFrame = 0;
  TitleLocked = false;
  GameRec->ReplayState = 0;
  GameState = 33;
  RemoveTitleAndSelectionButtons(*this);
  BgmStop(*this);
  ReleaseCursorClip();
  const int d = GameRec->Difficulty;
  if (d >= 0 && d < 5) {
    GameRec->LastStage[d] = StageNo;
    GameRec->BestStage[d] = std::max(GameRec->BestStage[d], StageNo);
    GameRec->ContinueAvailable = true;
    GameRec->ContinueStage = StageNo;
    GameRec->ContinueDifficulty = d;
    GameRec->ContinueSetPath = GameRec->StageSetPath;
  }
  HighScoreCheck(*this);
}

void TMainZubForm::ResetRun() {
  GameRec->Lives = 3;
  Score = 0;
  ShownScore = -1;
  NextExtraLife = 100000;
  TurnOffChickLamps();
}

namespace {
const char* kSetFiles[3] = {"EASY.EGS", "NORMAL.EGS", "HARD.EGS"};
}

void TMainZubForm::StartGame(int Difficulty) {
  if (Difficulty < 0 || Difficulty > 2) return;
  StageNo = 0;
  GameRec->StartStage = 0;
  GameRec->StageSetPath = FolderPath(GameRec->StageFolder) + kSetFiles[Difficulty];
  ResetRun();
  GameRec->Difficulty = Difficulty;
  GameRec->HighScoreToBeat = BestScoreOf(Difficulty);
  BeginGame();
}

void TMainZubForm::ContinueGame() {
  StageNo = GameRec->ContinueStage;
  GameRec->StartStage = GameRec->ContinueStage;
  GameRec->StageSetPath = GameRec->ContinueSetPath;
  ResetRun();
  GameRec->Difficulty = GameRec->ContinueDifficulty;
  GameRec->HighScoreToBeat = BestScoreOf(GameRec->Difficulty);
  BeginGame();
}

void TMainZubForm::BeginGame() {
  // Close the input method: keys go to the game, not to a composition window.
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_IsTextInputActive()) SDL_StopTextInput();
  LeftButton = RightButton = false;
  GameRec->BallsInPlay = 0;
  GameRec->BallSprites = 0;
  GameRec->ChickChain = 0;
  GameRec->BgmNumber = 0;
  SelectBgm(0);
  BgmUnload(*this);
  BgmReload(*this);
  BgmRestoreVolume(*this);
  if (!LoadStageSet(GameRec->StageSetPath)) {
    BgmStop(*this);  // no run: the title stays silent, as it was
    return;
  }
  RefreshLivesDisplay();
  RefreshScoreDisplay();
  CancelBlind(*this);
  GameState = 1;
  UpdateMenus();
  HideCursor();
  ClipCursorToSurface();
}

void TMainZubForm::StartStageSelect(int Difficulty) {
  if (Difficulty < 0 || Difficulty > 2) return;
  GameRec->SelectSetPath = FolderPath(GameRec->StageFolder) + kSetFiles[Difficulty];
  GameRec->Difficulty = Difficulty;
  OpenStageSelection(*this);
}

void TMainZubForm::StopFrameDrivers() {
  DXTimer.SetEnabled(false, platform::ticks());
  IdleLoopActive = false;
}

void TMainZubForm::RestoreFrameDriver() {
  if (Checked("NoTimerItem")) {
    DXTimer.SetEnabled(false, platform::ticks());
    IdleLoopActive = true;
  } else {
    DXTimer.SetEnabled(true, platform::ticks());
    IdleLoopActive = false;
  }
}

// ---------------------------------------------------------------------------
// Pause caption and pointer

TPauseSprite::TPauseSprite(TSpriteEngine* e) : TImageSprite(e) {
  SetImage(MainZubForm->DXImageList.Find("GPause"));
  X = 50;
  Y = 160;
  SetZ(27);
  Collisioned = false;
  IgnoreGroup = 10;
  Visible = false;
}

void TPauseSprite::DoMove(int MoveCount) {
  if (MainZubForm->Checked("PauseItem")) {
    Visible = Count < 20;
    ++Count;
    if (Count > 40) Count = 0;
  } else {
    Visible = false;
  }
  TImageSprite::DoMove(MoveCount);
}

THand2Sprite::THand2Sprite(TSpriteEngine* e) : TImageSprite(e) {
  SetImage(MainZubForm->DXImageList.Find("Hand"));
  SetZ(28);
  CollisionRect = TRect{6, 0, 8, 4};
  CollisionGroup = -16;
  IgnoreGroup = 10;
  Visible = false;
  Collisioned = false;
}

void THand2Sprite::DoMove(int MoveCount) {
  TMainZubForm& f = *MainZubForm;
  if (f.Checked("PauseItem") || GameState == 31) {
    X = f.PaddleX;
    Y = f.PaddleY;
    const bool inside = f.PaddleX >= 0 && f.PaddleX <= 512 && f.PaddleY >= 0 && f.PaddleY <= 400;
    Visible = inside;
    Collisioned = inside;
  } else {
    Visible = false;
    Collisioned = false;
  }
  TImageSprite::DoMove(MoveCount);
}

}  // namespace zubroll
