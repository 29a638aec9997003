#include "zubroll/play/Egg.h"

#include <algorithm>

#include "zubroll/play/Devadiv.h"
#include "zubroll/play/Piyo.h"
#include "zubroll/play/Point.h"

namespace zubroll {

int SingleNoteStep = 0, MultiNoteStep = 0, HardNoteStep = 0;

namespace {

bool NoteAllowed() { return GameRec && GameRec->HitsThisFrame <= 4; }

void SingleNote(int x) {
  if (!NoteAllowed()) return;
  SingleNoteStep = (SingleNoteStep + 1) % 4;
  PlaySound(SingleNoteStep % 2 == 1 ? "EggSo" : "EggDo", x);
}

void MultiNote(int x) {
  if (!NoteAllowed()) return;
  MultiNoteStep = (MultiNoteStep + 1) % 4;
  PlaySound(MultiNoteStep % 2 == 1 ? "EggRa" : "EggRe", x);
}

void HardNote(int x) {
  if (!NoteAllowed()) return;
  HardNoteStep = 1 - HardNoteStep;
  PlaySound(HardNoteStep == 1 ? "EggRe" : "EggSi", x);
}

int EggFall(int frame) {
  return GameRec ? GameRec->EggFallTable[std::clamp(frame, 0, 50)] : 0;
}

}  // namespace

TEggSprite::TEggSprite(TSpriteEngine* e, int kind) : TPlayActor(e), Kind(kind) {
  UseImage("Egg");
  SetZ(2);
  CollisionGroup = 10;
  IgnoreGroup = 22;
  Passive = true;
  CollisionRect = TRect{0, 1, 25, 30};
  if (Kind == 19) {
    Visible = false;
    TargetGroup = -3;
    IgnoreGroup = 18;
    AnimPos = 6;
  }
}

void TEggSprite::StartFall(int vx, int delay) {
  Mode = 2;
  FallVX = vx;
  FallFrame = -delay;
  FallX0 = int(X) * 4096;
  FallY0 = int(Y) * 4096;
}

void TEggSprite::DoMove(int) {
  if (FieldReset) {
    Dead();
    return;
  }
  if (HitCooldown > 0) --HitCooldown;
  switch (Kind) {
    case 11: AnimPos = 1; break;
    case 12: AnimPos = 2; break;
    case 13: AnimPos = HitCount >= 1 ? 16 : 3; break;
    case 14: AnimPos = HitCount >= 2 ? 18 : HitCount == 1 ? 17 : 4; break;
    case 15: AnimPos = 5; break;
    case 16: AnimPos = 6; break;
    case 17:
      HitCount = 1 - HitCount;
      AnimPos = 7 + 12 * HitCount;
      break;
    case 19: AnimPos = 6; break;
    default: break;  // kind 10 keeps the pattern it was given
  }
  if (Kind == 16 || Kind == 19) {
    if (HitCooldown == 1) Collisioned = true;
    if (HitCooldown > 60) Collisioned = false;
  }
  if (Kind == 19) {
    TBlockEggSprite* owner = Owner.get();
    if (RemoveMark || !owner) {
      Dead();
      return;
    }
    X = owner->X;
    Y = owner->Y;
  }
  if (Mode == 1) {
    OrbitAngle1 = ((OrbitAngle1 + OrbitSpeed1) % 360 + 360) % 360;
    OrbitAngle2 = ((OrbitAngle2 + OrbitSpeed2) % 360 + 360) % 360;
    OrbitAngle3 = ((OrbitAngle3 + OrbitSpeed3) % 360 + 360) % 360;
    const int64_t a = int64_t(CosOf(OrbitAngle1)) * CosOf(OrbitAngle2);
    const int64_t b = int64_t(SinOf(OrbitAngle1)) * SinOf(OrbitAngle3);
    const int64_t x = int64_t(OrbitRadius / 10) * a / 409 + OrbitCenterX;
    const int64_t y = int64_t(OrbitRadius / 10) * b / 409 + OrbitCenterY;
    X = UnitsToPixels(x);
    Y = UnitsToPixels(y);
    const int z = (OrbitSpeed1 > 0 && OrbitAngle1 >= 91 && OrbitAngle1 <= 270) ? 2 : 15;
    if (Z() != z) SetZ(z);
  } else if (Mode == 2) {
    ++FallFrame;
    if (FallFrame < 0) {
      Collisioned = false;
      return;
    }
    TargetGroup = Y < 240 ? -3 : 0;
    Collisioned = FallVX == 0;
    // Past the table's end the egg is far below the field.
    Y = UnitsToPixels(int64_t(EggFall(FallFrame)) + FallY0);
    X = UnitsToPixels(int64_t(FallFrame) * FallVX + FallX0);
    if (Y > 400 || FallFrame > 50) {
      Dead();
      if (Kind != 16 && GameRec) --GameRec->EggsLeft;
    }
  }
}

int TEggSprite::KindHit(TSprite* S) {
  const int x = int(X), y = int(Y);
  switch (Kind) {
    case 10:
    case 11:
    case 12:
      SingleNote(x);
      ReleaseChick(x - 3, y, 0, 0, 0, Kind == 10 ? 10000 : 1000);
      Dead();
      return 10;
    case 13:
    case 14:
      if (HitCooldown != 0) return 0;
      HitCooldown = 4;
      MultiNote(x);
      ++HitCount;
      if (HitCount >= (Kind == 13 ? 2 : 3)) {
        ReleaseChick(x - 3, y, 0, 0, 0, Kind == 13 ? 10000 : 1000);
        Dead();
        return 10;
      }
      return 0;
    case 15: {
      int heading;
      if (auto* ball = dynamic_cast<TDevadivSprite*>(S))
        heading = (ball->Heading + 180) % 360;
      else
        heading = x > 191 ? 300 : 240;
      auto* nb = new TDevadivSprite(Engine(), x, y, 2);
      nb->Heading = heading;
      nb->FirstHeading = heading;
      PlaySound("Rainbow", x);
      StarBurst(x, y);
      Dead();
      return 10;
    }
    case 16:
    case 19:
      HardNote(x);
      return 0;
    case 17:
      PlaySound("Bomb", x);
      new TBombGhostSprite(Engine(), x - 30, y - 16);
      StarBurst(x, y);
      Dead();
      return 10;
    default:
      return 0;
  }
}

void TEggSprite::DoCollision(TSprite* S, bool&) {
  if (dynamic_cast<THitOnlySprite*>(S) || Deaded()) return;
  if (GameRec) ++GameRec->HitsThisFrame;
  if (dynamic_cast<TDevadivSprite*>(S) || S->CollisionGroup == -11) {
    const int p = KindHit(S);
    Score += p * std::max(GameRec ? GameRec->BallsInPlay : 0, 1);
  } else if (Mode == 2) {
    FallX0 = int(X) * 4096;
    FallY0 = int(Y) * 4096;
    FallVX = random(2) == 0 ? 8000 : -8000;
    FallFrame = 0;
    Collisioned = false;
  }
}

THitOnlySprite::THitOnlySprite(TSpriteEngine* e) : TPlayActor(e) {
  UseImage("Inviso");
  Visible = false;
  SetZ(2);
  CollisionGroup = 22;
  TargetGroup = 10;
  CollisionRect = TRect{4, 34, 22, 35};
}

void THitOnlySprite::DoMove(int) {
  TBlockEggSprite* owner = Owner.get();
  if (Quit || FieldReset || !owner) {
    Dead();
    return;
  }
  X = owner->X;
  Y = owner->Y;
  Touched = false;
}

void THitOnlySprite::DoCollision(TSprite* S, bool& Done) {
  if (S->CollisionGroup != 10) return;
  auto* egg = dynamic_cast<TEggSprite*>(S);
  if (egg && Owner && egg == Owner->Hidden.get()) return;
  Touched = true;
  TouchY = int(S->Y);
  Done = true;
}

TBlockEggSprite::TBlockEggSprite(TSpriteEngine* e, int x, int y) : TPlayActor(e) {
  UseImage("Egg");
  AnimPos = 8;
  SetZ(2);
  CollisionGroup = 18;
  IgnoreGroup = 10;
  CollisionRect = TRect{1, 2, 23, 31};
  X = x;
  Y = y;
  RestY0 = y * 4096;
  auto* sensor = new THitOnlySprite(e);
  sensor->X = x;
  sensor->Y = y;
  sensor->Owner = this;
  Sensor = sensor;
  auto* hidden = new TEggSprite(e, 19);
  hidden->X = x;
  hidden->Y = y;
  hidden->Owner = this;
  Hidden = hidden;
}

void TBlockEggSprite::Go() {
  if (THitOnlySprite* s = Sensor.get()) s->Quit = true;
  if (TEggSprite* h = Hidden.get()) h->RemoveMark = true;
  Dead();
}

void TBlockEggSprite::DoMove(int) {
  if (FieldReset) {
    Go();
    return;
  }
  if (GameState == 16) return;
  // Grace counts every frame since the block's own last egg contact, resting or
  // not: a block that has been on the field for 7 frames falls as soon as its
  // support goes.
  ++Grace;
  THitOnlySprite* s = Sensor.get();
  if (s && s->Touched) {
    Collisioned = false;
    Y = s->TouchY - 31;
    RestY0 = int(Y) * 4096;
    FallFrame = 0;
    return;
  }
  if (Grace <= 7) return;
  ++FallFrame;
  Y = UnitsToPixels(1500LL * FallFrame * FallFrame + RestY0);
  Collisioned = Y >= 280;
  if (Y > 400) Go();
}

void TBlockEggSprite::DoCollision(TSprite* S, bool&) {
  if (Deaded()) return;
  const int g = S->CollisionGroup;
  if (g == 10) {
    if (S == Hidden.get()) return;
    Grace = 0;
    Y = S->Y - 31;
  } else if (g == 2 || g == -4 || g == -5 || g == -6) {
    auto* pop = new TPopBlockEggSprite(Engine(), int(X), int(Y));
    pop->Y0 = int(Y) * 4096;
    Go();
  }
}

TPopBlockEggSprite::TPopBlockEggSprite(TSpriteEngine* e, int x, int y) : TPlayActor(e) {
  UseImage("Egg");
  AnimPos = 8;
  SetZ(2);
  Collisioned = false;
  X = x;
  Y = y;
  Y0 = y * 4096;
  VX = random(2) == 0 ? -2 : 2;
}

void TPopBlockEggSprite::DoMove(int) {
  if (FieldReset) {
    Dead();
    return;
  }
  ++Frame;
  X += VX;
  Y = UnitsToPixels(1500LL * Frame * Frame + Y0 - 30000LL * Frame);
  if (Y > 400) Dead();
}

TBombGhostSprite::TBombGhostSprite(TSpriteEngine* e, int x, int y) : TPlayActor(e) {
  UseImage("Inviso");
  Width = 88;
  Height = 80;
  Visible = false;
  CollisionRect = TRect{0, 0, 88, 80};
  SetZ(2);
  CollisionGroup = -11;
  Collisioned = false;
  X = x;
  Y = y;
  if (GameRec) ++GameRec->BlastsAlive;
}

void TBombGhostSprite::DoMove(int) {
  const int before = Timer;
  --Timer;
  if (before == 2 && Timer == 1) Collisioned = true;
  else Collisioned = false;
  if (Timer <= 0 || FieldReset) {
    if (GameRec) CountDown(GameRec->BlastsAlive);
    Dead();
  }
}

}  // namespace zubroll
