#include "zubroll/play/ZubZub.h"

#include <algorithm>
#include <cstdlib>

#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Egg.h"
#include "zubroll/play/Piyo.h"
#include "zubroll/play/Point.h"
#include "zubroll/play/Score.h"

namespace zubroll {

TRef<TZubZubSprite> Mole;
TRef<TDevadivSprite> Ball;
bool OhNoSaid = false, BallLaunched = false;
std::function<void(int x, int y)> CreateEndBack;

namespace {
const TRect kSmallRect{16, 4, 50, 40};
const TRect kBigRect{10, -14, 58, 44};
int PadX() { return PlayHost.PaddleX ? PlayHost.PaddleX() : 0; }
int PadY() { return PlayHost.PaddleY ? PlayHost.PaddleY() : 378; }
void CursorTo(int x, int y) {
  if (PlayHost.SetCursorToPaddle) PlayHost.SetCursorToPaddle(x, y);
}
}  // namespace

TZubZubSprite::TZubZubSprite(TSpriteEngine* e) : TPlayActor(e) {
  UseImage("ZubZub");
  SetZ(15);
  CollisionGroup = 2;
  CollisionRect = kSmallRect;
  X = 200;
  Y = 328;
  Visible = false;
  Double = new TBigZubSprite(e);
  Arrow = new TArrowSprite(e);
  Mole = this;
}

TZubZubSprite::~TZubZubSprite() = default;

void TZubZubSprite::Go() {
  if (TBigZubSprite* d = Double.get()) d->Dead();
  if (TArrowSprite* a = Arrow.get()) a->Dead();
  Dead();
}

void TZubZubSprite::SayOhNo() {
  if (OhNoSaid) return;
  PlaySound("OhNo", int(X));
  if (PlayHost.MoleLostBall) PlayHost.MoleLostBall();
  OhNoSaid = true;
}

void TZubZubSprite::Launch() {
  if (TDevadivSprite* b = Ball.get()) b->BallState = 2;
  PlaySound("ShootButa", 200);
  PaddleState = 3;
  CursorTo(int(X) + 40, PadY());
  GameState = 3;
  BallLaunched = true;
  TitleLocked = false;
}

void TZubZubSprite::Steer() {
  int t = PadX();
  int p = int(X) + 11;
  if (ReverseTime > 0) {
    t = 340 - PadX();
    if (ReverseTime == 150) {
      CursorTo(t + 38, PadY());
      t = PadX();
    }
    --ReverseTime;
    if (ReverseTime == 0) {
      CursorTo(t + 38, PadY());
      p = t;
      PlaySound("QBNormal", int(X));
    }
  }
  int step = std::clamp((t - p) / 4, -32, 32);
  p += step;
  if (p < 0) {
    p = 0;
    step = 0;
  } else if (p > 331) {
    p = 331;
    step = 0;
  }
  X = p - 11;
  Y = 328;
  if (TBigZubSprite* d = Double.get()) d->X = X - 7;
  if (TArrowSprite* a = Arrow.get()) a->X = X + 16;
  StepPhase += 1;
  if (std::abs(step) >= 16) StepPhase += 1;
  StepPhase %= 16;
  if (step != 0) {
    AnimPos = StepPhase / 2 + (step > 0 ? 8 : 0);
    TouchCount = 0;
  } else {
    AnimPos = StepPhase / 4 + 16;
  }
  if (GameRec && GameRec->BallsInPlay <= 0 && GameRec->BallSprites > 0) SayOhNo();
}

void TZubZubSprite::DoMove(int) {
  if (FieldReset) {
    Go();
    return;
  }
  if (BigTime > 0) {
    --BigTime;
    if (BigTime == 0) PlaySound("Dekazub2", int(X));
  }
  const bool big = BigTime > 0;
  CollisionRect = big ? kBigRect : kSmallRect;
  Visible = !big;
  if ((GameState == 6 || GameState == 5) && PaddleState != 4) {
    if (GameRec && GameRec->BallsInPlay <= 0) SayOhNo();
    PaddleState = 4;
  }
  if (TArrowSprite* a = Arrow.get()) a->ArrowTime = ReverseTime;

  switch (PaddleState) {
    case 0:
      PaddleState = 2;
      Visible = true;
      X = 488;
      BigTime = 0;
      Countdown = 165;
      StunTime = ChickRun = ReverseTime = 0;
      Ball = new TDevadivSprite(Engine(), int(X) + 19, int(Y) - 40, 0);
      OhNoSaid = false;
      BallLaunched = false;
      ShowStageTally(StageNo);
      if (GameRec && GameRec->Lives > 0) --GameRec->Lives;
      ShowLives();
      if (GameState == 4) {
        ApplyStageParametersOf(StageNo);
        if (PlayHost.SpawnMonster) PlayHost.SpawnMonster(StageNo);
      }
      WalkInCount = 0;
      if (PlayHost.StartRecording) PlayHost.StartRecording();
      break;
    case 2:
      X -= 4;
      ++WalkInCount;
      StepPhase = (StepPhase + 1) % 16;
      AnimPos = StepPhase / 2;
      if (X <= 155) {
        ++WalkInCount;
        X = 155;
        PaddleState = 1;
        if (TDevadivSprite* b = Ball.get()) b->BallState = 1;
      }
      break;
    case 1: {
      --Countdown;
      StepPhase = (StepPhase + 1) % 16;
      AnimPos = StepPhase / 4 + 16;
      if (Countdown == 90 || Countdown == 60 || Countdown == 30) {
        PlaySound("TimeCount", int(X));
        ShowPoints(Countdown / 30, int(X) + 24, int(Y) - 24, 0, 1, 0);
      }
      bool go = Countdown <= 0;
      const bool pressed = PlayHost.ButtonPressed && PlayHost.ButtonPressed();
      if (go || pressed) Launch();
      break;
    }
    case 3:
      if (StunTime > 0) {
        --StunTime;
        if (StunTime > 100) AnimPos = 21 + (StunTime % 2);
        else AnimPos = 20;
        if (StunTime == 100) StunTime = 0;
      } else {
        Steer();
      }
      break;
    case 4:
      Visible = true;
      BallLaunched = false;
      X += 4;
      ReverseTime = 0;
      StepPhase = (StepPhase + 1) % 16;
      AnimPos = StepPhase / 2 + 8;
      if (X > 312) TitleLocked = true;
      if (X >= 376) {
        if (GameState == 41) {
          Go();
          return;
        }
        PaddleState = 0;
        if (GameState == 4 && PlayHost.SaveReplay) PlayHost.SaveReplay();
      }
      break;
    case 5: {
      TMonsterActor* m = GrabbedBy.get();
      if (m && m->MonsterGrabbing() && StunTime > 0) {
        Visible = false;
        --StunTime;
        X = m->X + 4;
        ReverseTime = 0;
      } else if (m && m->MonsterGrabbing()) {
        Visible = true;
        PaddleState = 3;
        m->MonsterRelease(20);
      } else {
        Visible = true;
        PaddleState = 3;
      }
      break;
    }
    case 10: {
      Visible = true;
      BallLaunched = false;
      BigTime = 0;
      ReverseTime = 0;
      const int dir = X < 177 ? 1 : -1;
      X += 4 * dir;
      StepPhase = (StepPhase + 1) % 16;
      AnimPos = StepPhase / 2 + (dir > 0 ? 8 : 0);
      if ((dir > 0 && X >= 177) || (dir < 0 && X <= 177)) {
        X = 177;
        PaddleState = 11;
        if (GameRec) GameRec->MoleArrived = true;
      }
      break;
    }
    case 11:
      if (CreateEndBack) CreateEndBack(179, int(Y) - 8);
      Go();
      return;
    default:
      break;
  }
  // While big the double shows the mole.
  if (BigTime > 0 && PaddleState != 5) Visible = false;
}

void TZubZubSprite::DoCollision(TSprite* S, bool&) {
  if (PaddleState != 3 && PaddleState != 5) return;
  const int g = S->CollisionGroup;
  switch (g) {
    case 10:
      StunTime = 8;
      PlaySound("HitZub", int(X));
      Score += 3;
      break;
    case 18:
      StunTime = 18;
      PlaySound("HitZub", int(X));
      Score += 1;
      break;
    case 20:
      StunTime = 18;
      Score += 1;
      break;
    case 21:
      StunTime = 22;
      Score += 5;
      break;
    case 23:
      StunTime = 14;
      Score += 5;
      break;
    case 24:
      if (PaddleState != 5) StunTime = 130;
      break;
    case 81:
      StunTime = 22;
      PlaySound("HitZub", int(X));
      break;
    case -18:
      StunTime = 12;
      PlaySound("HitZub", int(X));
      break;
    case -3: {
      auto* b = dynamic_cast<TDevadivSprite*>(S);
      if (b && b->BallState == 2) StunTime = 8;
      break;
    }
    case -4:
    case -5:
    case -6: {
      auto* m = dynamic_cast<TMonsterActor*>(S);
      if (!m || !m->MonsterIdle()) break;
      ++TouchCount;
      if (TouchCount >= 5 && StunTime == 0) {
        m->MonsterGrab();
        PaddleState = 5;
        TouchCount = -40;
        StunTime = 30;
        PlaySound("CatchKaizyu", int(X));
        GrabbedBy = m;
      }
      break;
    }
    case -2: {
      auto* c = dynamic_cast<TPiyoSprite*>(S);
      if (!c || c->ChickKind <= 0) break;
      const int n = c->ChickKind;
      ++ChickRun;
      if (ChickRun == n && (n == 10 || n == 20)) {
        const int pay = n == 10 ? 5000 : 9999;
        Score += pay;
        ShowPoints(pay, int(X), int(Y) - 32, 0, std::max(GameRec ? GameRec->BallSprites : 0, 1), 3);
        ChickRun = 0;
      }
      break;
    }
    default:
      break;
  }
}

TBigZubSprite::TBigZubSprite(TSpriteEngine* e) : TPlayActor(e) {
  UseImage("BigZub");
  SetZ(16);
  CollisionGroup = 8;
  IgnoreGroup = 2;
  Passive = true;
  Collisioned = false;
  CollisionRect = TRect{16, 2, 64, 60};
  Y = 310;
  Visible = false;
}

void TBigZubSprite::DoMove(int) {
  TZubZubSprite* m = Mole.get();
  if (FieldReset || !m) {
    Dead();
    return;
  }
  X = m->X - 7;
  Y = 310;
  AnimPos = m->AnimPos;
  Visible = BigTime > 0 && m->PaddleState != 5;
}

TArrowSprite::TArrowSprite(TSpriteEngine* e) : TPlayActor(e) {
  UseImage("Arrow");
  SetZ(17);
  IgnoreGroup = 2;
  Passive = true;
  Collisioned = false;
  Visible = false;
}

void TArrowSprite::DoMove(int) {
  TZubZubSprite* m = Mole.get();
  if (FieldReset || !m) {
    Dead();
    return;
  }
  X = m->X + 16;
  Y = BigTime > 0 ? 290 : 300;
  if (ArrowTime > 0) {
    const int phase = ArrowFrame / 4;
    Visible = ArrowTime > 50 || phase % 2 == 1;
    AnimPos = phase % 2;
    ++ArrowFrame;
  } else {
    Visible = false;
    ArrowFrame = 0;
  }
}

}  // namespace zubroll
