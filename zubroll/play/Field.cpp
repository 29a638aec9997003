#include "zubroll/play/Field.h"

#include <unordered_map>

#include "zubroll/play/Egg.h"
#include "zubroll/play/Piyo.h"
#include "zubroll/play/Point.h"
#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Score.h"

namespace zubroll {

TPlayHost PlayHost;

namespace {
std::unordered_map<const TPlayActor*, uint64_t>& registry() {
  static std::unordered_map<const TPlayActor*, uint64_t> r;
  return r;
}
uint64_t next_serial = 0;
}  // namespace

TPlayActor::TPlayActor(TSpriteEngine* engine) : TImageSprite(engine), serial_(++next_serial) {
  registry()[this] = serial_;
}

TPlayActor::~TPlayActor() { registry().erase(this); }

void TPlayActor::UseImage(const char* name) {
  if (PlayHost.Images) SetImage(PlayHost.Images->FindOrNull(name));
}

bool ActorAlive(const TPlayActor* a, uint64_t serial) {
  auto it = registry().find(a);
  return it != registry().end() && it->second == serial;
}

void PlaySound(const std::string& name, int x, bool wait) {
  if (PlayHost.PlaySound) PlayHost.PlaySound(name, x, wait);
}

void ApplyStageParametersOf(int stage) {
  if (PlayHost.ApplyStageParameters) {
    PlayHost.ApplyStageParameters(stage);
    return;
  }
  // No stage unit wired in: the five values straight from the set.
  if (!GameRec || !StageSet || InputMode == 3 || stage < 0 || stage >= kStageCount) return;
  GameRec->BallSpeed = StageSet->BallSpeed[stage];
  GameRec->BallSpeedCap = StageSet->BallSpeedCap[stage];
  GameRec->MonsterFirstDelay = StageSet->MonsterFirstDelay[stage];
  GameRec->MonsterReturnDelay = StageSet->MonsterReturnDelay[stage];
  GameRec->MonsterStunTime = StageSet->MonsterStunTime[stage];
}

static int norm360(int d) {
  d %= 360;
  return d < 0 ? d + 360 : d;
}

int SinOf(int degrees) {
  if (degrees < 0 || degrees > 360) degrees = norm360(degrees);
  return PlayHost.LTable ? PlayHost.LTable->SinTable[degrees] : 0;
}

int CosOf(int degrees) {
  if (degrees < 0 || degrees > 360) degrees = norm360(degrees);
  return PlayHost.LTable ? PlayHost.LTable->CosTable[degrees] : 0;
}

void LayOutStage(TStageSet& set, int stage) {
  if (GameState == 41 || !PlayHost.Engine || stage < 0 || stage >= kStageCount) return;
  TSpriteEngine* e = PlayHost.Engine;
  SingleNoteStep = MultiNoteStep = HardNoteStep = 0;
  for (int r = 0; r < kStageRows; ++r)
    for (int c = 0; c < kStageCols; ++c) {
      const int code = set.Cell(stage, r, c);
      const int x = 13 * c - 7, y = 31 * r - 30;
      if (code >= 1 && code <= 8) {
        auto* egg = new TEggSprite(e, code + 9);
        egg->X = x;
        egg->Y = y;
        egg->AnimPos = code - 1;
        if (egg->Kind == 16) egg->CollisionRect = TRect{0, -1, 25, 31};
        if (egg->Kind == 17) egg->CollisionRect = TRect{1, 1, 24, 30};
      } else if (code == 9) {
        new TBlockEggSprite(e, x, y);
      } else if (code >= 10 && code <= 13) {
        if (PlayHost.CreateBoss) PlayHost.CreateBoss(code, x, y);
      }
    }
}

void ClearFieldActors() {
  TSpriteEngine* e = PlayHost.Engine;
  if (!e) return;
  for (int i = 0; i < e->Count(); ++i) {
    TSprite* s = e->Items(i);
    auto* a = dynamic_cast<TPlayActor*>(s);
    if (!a) continue;
    if (dynamic_cast<TEggSprite*>(a) || dynamic_cast<TBlockEggSprite*>(a) ||
        dynamic_cast<THitOnlySprite*>(a) || a->ClearedWithField())
      a->Dead();
  }
}

void StageClearBonus() {
  int n = 0;
  ForEachActor<TEggSprite>([&](TEggSprite* egg) {
    if (egg->Kind != 15 && egg->Kind != 17) return;
    ++n;
    const int pay = 100 * n;
    Score += pay;
    ShowPoints(pay, int(egg->X), int(egg->Y), 0, 1, 1);
    egg->Dead();
  });
}

void BurstAllEggs() {
  bool head = false;
  ForEachActor<TPlayActor>([&](TPlayActor* a) { head = head || a->IsBossHead(); });
  if (head) return;
  const int m = std::max(GameRec ? GameRec->BallsInPlay : 0, 1);
  ForEachActor<TEggSprite>([&](TEggSprite* egg) {
    if (egg->Kind >= 10 && egg->Kind <= 14 && egg->Mode != 2) {
      ReleaseChick(int(egg->X) - 3, int(egg->Y), 0, 0, 0, 10000);
      Score += 10 * m;
      egg->Dead();
    } else if (egg->Kind == 16 && egg->Mode == 1) {
      egg->StartFall(CosOf(egg->OrbitAngle1) * 30);
    }
  });
}

namespace {
bool g_layout_pending = false;  // the stand-in blind: rebuild once the mole has left
void ResetStagePlayNow() {
  if (PlayHost.ResetStagePlay) PlayHost.ResetStagePlay();
  else ResetPlayCounters();
}
}  // namespace

void ResetFieldGlobals() {
  SingleNoteStep = MultiNoteStep = HardNoteStep = 0;
  SwingAnchorX = SwingAnchorY = FlashCooldown = 0;
  g_layout_pending = false;
}

void AddPlayTraceFields(platform::TraceLine& t) {
  const TDevadivSprite* b = FirstBall();
  t.add("ChickChain", GameRec ? GameRec->ChickChain : 0)
      .add("RouletteSlot", RouletteSlot)
      .add("RouletteTimer", RouletteTimer)
      .add("ExtraLetters", ExtraLetters)
      .add("ChickLampCount", ChickLampCount)
      .add("Speed", b ? b->Speed : 0)
      .add("Heading", b ? b->Heading : 0);
}

void ResetPlayCounters() {
  FoldSignboards();
  CoinRainTime = 0;
  if (!GameRec) return;
  GameRec->ChickChain = GameRec->ChicksAlive = GameRec->BlastsAlive = 0;
}

void BuildStageField(int stage) {
  ClearFieldActors();
  if (StageSet) LayOutStage(*StageSet, stage);
  ShowStageTally(stage);
}

void PlayStateStep() {
  if (!GameRec) return;
  TGameRec& g = *GameRec;
  switch (GameState) {
    case 3:
      if (FlashCooldown > 0) --FlashCooldown;
      g.HitsThisFrame = 0;
      if (g.EggsLeft == 0) {
        if (StageNo == LastStageOf(g.Difficulty) && g.Difficulty <= 2) {
          if (SceneStep != 999 && PlayHost.StartEnding) PlayHost.StartEnding(g.Difficulty);
          GameState = 4;
          SceneStep = 999;
          return;
        }
        PlaySound("ClearStage", 200);
        StageClearBonus();
        if (PlayHost.DismissMonsters) PlayHost.DismissMonsters();
        GameState = 5;
        StageNo = StageNo >= 31 && g.Difficulty != 2 ? 0 : StageNo + 1;
        ResetStagePlayNow();
        SceneStep = 1;
      } else if (g.BallSprites == 0 && g.ChicksAlive == 0 && g.BlastsAlive == 0) {
        if (g.Lives < 1) {
          GameState = 40;
        } else {
          g.ChickChain = 0;
          GameState = 6;
          if (StageSet && StageNo >= 0 && StageNo < kStageCount)
            g.MonsterReturnDelay = StageSet->MonsterReturnDelay[StageNo];
        }
      }
      break;
    case 5:
      if (SceneStep == 1) {
        if (PlayHost.WriteRunRecovery) PlayHost.WriteRunRecovery();
      } else if (SceneStep == 0) {
        GameState = 4;
        // Past the last stage of a set the run wraps to its first stage.
        if (StageNo < 0 || StageNo >= kStageCount) StageNo = 0;
        g.EggsLeft = StageSet ? StageSet->ClearCount[StageNo] : 0;
        if (g.EggsLeft == 0) {
          StageNo = 0;
          g.EggsLeft = StageSet ? StageSet->ClearCount[0] : 0;
        }
        g.ChickChain = g.ChicksAlive = g.BlastsAlive = 0;
        if (PlayHost.StartBlind) PlayHost.StartBlind(StageNo);
        else g_layout_pending = true;
        ++g.Lives;
      }
      --SceneStep;
      break;
    case 40:
      if (PlayHost.GameOverBegins) {
        PlayHost.GameOverBegins();
      } else {
        GameState = g.ReplayState != 0 ? 32 : 41;
        if (GameState == 41) {
          PlaySound("Gameover", 200);
          SceneStep = 100;
        }
      }
      ResetStagePlayNow();
      g_layout_pending = false;
      break;
    case 41:
      if (--SceneStep < 1) GameState = 42;
      break;
    default:
      break;
  }
  if (g_layout_pending && TitleLocked && GameState == 4) {
    g_layout_pending = false;
    BuildStageField(StageNo);
    TitleLocked = false;
  }
}

}  // namespace zubroll
