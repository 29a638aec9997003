#include "zubroll/play/PlayWorld.h"

#include <algorithm>
#include <cstring>

#include "platform/image_io.h"
#include "zubroll/play/Autoplay.h"
#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Egg.h"
#include "zubroll/play/Guide.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"
#include "zubroll/sprite/catalogue.h"

namespace zubroll {

namespace {
void PlainPicture(TPictureCollectionItem& item, const ImageSpec& s) {
  TDIB& dib = item.Picture;
  dib.Width = s.width;
  dib.Height = s.height;
  dib.Pixels.assign(size_t(s.width) * s.height, 0);
  const int pw = s.pattern_width ? s.pattern_width : s.width;
  const int ph = s.pattern_height ? s.pattern_height : s.height;
  const int cols = std::max(1, s.width / pw);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const int n = (y / ph) * cols + x / pw;
      const int px = x % pw, py = y % ph;
      const bool border = px == 0 || py == 0 || px == pw - 1 || py == ph - 1;
      dib.Pixels[size_t(y) * s.width + x] =
          uint8_t(border && s.transparent ? kTransparentIndex : 16 + n % 200);
    }
  for (int i = 0; i < 256; ++i) dib.Palette[i] = TRGB{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
}
}  // namespace

TPlayWorld::TPlayWorld(const std::string& data_folder) {
  ResetLooseGlobals();
  ResetBonusGlobals();
  ResetFieldGlobals();
  AllocateGameRec();
  AllocateSharedBlocks();
  std::memset(static_cast<void*>(StageSet), 0, sizeof *StageSet);
  FillStarTable(*GameRec, LTable);
  FillEggFallTable(*GameRec);
  GameRec->BallSpeed = 512;
  GameRec->BallSpeedCap = 1024;
  bool palette_set = false;
  for (const ImageSpec& s : kImageCatalogue) {
    TPictureCollectionItem& item = Images.Add(s.name);
    item.PatternWidth = s.pattern_width;
    item.PatternHeight = s.pattern_height;
    item.Transparent = s.transparent;
    item.TransparentColor = kTransparentIndex;
    std::string err;
    if (data_folder.empty() || !LoadBmp8(data_folder + s.name + ".bmp", item.Picture, err))
      PlainPicture(item, s);
  }
  TDIB pal;
  std::string err;
  if (!data_folder.empty() && LoadBmp8(data_folder + "PalDIB.bmp", pal, err)) {
    std::memcpy(Surface.Palette, pal.Palette, sizeof Surface.Palette);
    palette_set = true;
  }
  if (!palette_set) std::memcpy(Surface.Palette, Images.Item(0).Picture.Palette, sizeof Surface.Palette);

  PlayHost = TPlayHost{};
  PlayHost.Engine = &Engine;
  PlayHost.Images = &Images;
  PlayHost.LTable = &LTable;
  PlayHost.PlaySound = [this](const std::string& n, int, bool) { Sounds.push_back(n); };
  PlayHost.ButtonPressed = [this] { return ButtonDown || AutoplayButtonDown(); };
  PlayHost.SetCursorToPaddle = [this](int x, int) { PointerX = x; };
  PlayHost.PaddleX = [this] { return PaddleX; };
  PlayHost.PaddleY = [this] { return PaddleY; };

  // The backdrop the main form makes: background, right and bottom panels, guide.
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) {
      auto* bg = new TPlayActor(&Engine);
      bg->UseImage("BgPat");
      bg->X = 64 * i;
      bg->Y = 64 * j;
      bg->SetZ(-2);
      bg->Passive = true;
      bg->Collisioned = false;
      bg->Moved = false;
      bg->IgnoreGroup = 10;
    }
  auto panel = [&](const char* name, int x, int y, int z) {
    auto* p = new TPlayActor(&Engine);
    p->UseImage(name);
    p->X = x;
    p->Y = y;
    p->SetZ(z);
    p->Passive = true;
    p->Collisioned = false;
    p->Moved = false;
    p->IgnoreGroup = 10;
  };
  panel("BgRPanel", 376, 0, 22);
  panel("BgBPanel", 0, 371, 0);
  new TGuideSprite(&Engine);
  CreateStatusPanel();
  GameState = 30;
}

TPlayWorld::~TPlayWorld() {
  Engine.Clear();
  PlayHost = TPlayHost{};
  AutoplayEnabled = false;
  FreeSharedBlocks();
  FreeGameRec();
}

void TPlayWorld::PutStage(TStageSet& set, int stage, const std::vector<std::string>& rows) {
  int count = 0;
  for (int r = 0; r < kStageRows; ++r)
    for (int c = 0; c < kStageCols; ++c) {
      char ch = r < int(rows.size()) && c < int(rows[size_t(r)].size()) ? rows[size_t(r)][size_t(c)] : ' ';
      int code = ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'a' && ch <= 'd' ? 10 + ch - 'a' : 0;
      set.Cell(stage, r, c) = uint8_t(code);
      if (code >= 1 && code <= 5) ++count;
    }
  set.ClearCount[stage] = count;
  for (int h = 0; h < 2; ++h) {
    const int i = stage + 32 * h;
    set.BallSpeed[i] = 512;
    set.BallSpeedCap[i] = std::min(1024 + 9 * stage, 1280);
    set.MonsterFirstDelay[i] = 640;
    set.MonsterReturnDelay[i] = 736;
    set.MonsterStunTime[i] = 28;
  }
}

void TPlayWorld::StartRun(int stage, int difficulty) {
  StageNo = stage;
  GameRec->StartStage = stage;
  GameRec->Difficulty = difficulty;
  GameRec->Lives = 3;
  Score = 0;
  ShownScore = -1;
  NextExtraLife = 100000;
  TurnOffChickLamps();
  GameRec->BallsInPlay = GameRec->BallSprites = GameRec->ChickChain = 0;
  AutoplayReset();
  AutoplayEnabled = Autoplay;
  ShowLives();
  GameState = 1;
}

void TPlayWorld::BuildField(int stage) { BuildStageField(stage); }

void TPlayWorld::PlayRules() {
  TGameRec& g = *GameRec;
  switch (GameState) {
    case 1:
      GameState = 2;
      SceneStep = 2;
      break;
    case 2:
      if (SceneStep == 2) {
        FieldReset = true;
        ApplyStageParametersOf(StageNo);
      } else if (SceneStep == 1) {
        FieldReset = false;
        TitleLocked = true;
        BuildField(StageNo);
        g.EggsLeft = StageSet->ClearCount[StageNo];
        g.ChicksAlive = g.BlastsAlive = 0;
      } else {
        GameState = 4;
        new TZubZubSprite(&Engine);
      }
      --SceneStep;
      break;
    case 6:
      GameState = 7;
      break;
    default:
      PlayStateStep();
      break;
  }
}

void TPlayWorld::Frame() {
  ++Frames;
  if (Autoplay) {
    AutoplayEnabled = true;
    const TAutoplayMove m = AutoplayDecide();
    if (m.steer) PointerX = m.x;
    ButtonDown = m.button;
  }
  PaddleX = PointerX - 32;
  PaddleY = 378;
  if (GameState < 15) PaddleX = std::clamp(PaddleX, -32, 372);
  Engine.Move(1);
  Engine.Collisions();
  Engine.Dead();
  ScoreStep();
  RouletteStep();
  if (Draw) {
    Surface.Fill(0);
    Engine.Draw();
  }
  PlayRules();
}

void TPlayWorld::RunFrames(int n) {
  for (int i = 0; i < n; ++i) Frame();
}

bool TPlayWorld::Played(const std::string& name) const {
  return std::find(Sounds.begin(), Sounds.end(), name) != Sounds.end();
}

bool TPlayWorld::SavePng(const std::string& path) const {
  uint32_t pal[256];
  Surface.PaletteAs0RGB(pal);
  return platform::write_png_indexed(path, Surface.Width, Surface.Height, Surface.Pixels.data(),
                                     Surface.Width, pal);
}

}  // namespace zubroll
