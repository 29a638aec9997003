#include "zubroll/play/Devadiv.h"

#include <algorithm>
#include <cstdlib>

#include "zubroll/play/Egg.h"
#include "zubroll/play/Piyo.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {

int SwingAnchorX = 0, SwingAnchorY = 0, FlashCooldown = 0;

void BallsInPlayUp() {
  if (!GameRec) return;
  ++GameRec->BallsInPlay;
  if (PlayHost.BgmSetSpeed) PlayHost.BgmSetSpeed();
}

void BallsInPlayDown() {
  if (!GameRec) return;
  --GameRec->BallsInPlay;
  if (PlayHost.BgmSetSpeed) PlayHost.BgmSetSpeed();
}

namespace {
int norm360(int d) {
  d %= 360;
  return d < 0 ? d + 360 : d;
}
int BallSpeedOfGame() { return GameRec ? GameRec->BallSpeed : 512; }
int MirrorSide(int h) { return h > 180 ? 540 - h : 180 - h; }
}  // namespace

TDevadivSprite::TDevadivSprite(TSpriteEngine* e, int x, int y, int state) : TPlayActor(e) {
  UseImage("Devadiv");
  SetZ(18);
  CollisionGroup = -3;
  CollisionRect = TRect{5, 5, 18, 18};
  X = x;
  Y = y;
  BallState = state;
  Speed = BallSpeedOfGame();
  SetFixedFromXY();
  BallsInPlayUp();
  if (GameRec) ++GameRec->BallSprites;
}

TDevadivSprite::~TDevadivSprite() = default;

void TDevadivSprite::SetFixedFromXY() {
  FixedX = int(X) * 4096;
  FixedY = int(Y) * 4096;
}

TDevadivSprite* FirstBall() {
  TDevadivSprite* first = nullptr;
  ForEachActor<TDevadivSprite>([&](TDevadivSprite* b) {
    if (!first) first = b;
  });
  return first;
}

bool TDevadivSprite::FlightStep() {
  const int k = Speed / 32 + 1;
  Heading = norm360(Heading);
  int64_t nx = int64_t(FixedX) + int64_t(k) * CosOf(Heading);
  int64_t ny = int64_t(FixedY) + int64_t(k) * SinOf(Heading);
  int x = UnitsToPixels(nx), y = UnitsToPixels(ny);
  const bool below = y > 356;
  if (x < -4 || x > 356) {
    Heading = MirrorSide(Heading);
    nx = int64_t(FixedX) + int64_t(k) * CosOf(Heading);
    x = UnitsToPixels(nx);
  }
  if (y < -6) {
    Heading = 360 - Heading;
    ny = int64_t(FixedY) + int64_t(k) * SinOf(Heading);
    y = UnitsToPixels(ny);
  }
  X = x;
  Y = y;
  FixedX = int(nx);
  FixedY = int(ny);
  return below;
}

void TDevadivSprite::Jiggle() {
  Heading = norm360(Heading - random(10) + 5);
  const int h = Heading;
  if (h >= 86 && h <= 90) Heading = 85 - random(10);
  else if (h >= 91 && h <= 95) Heading = 95 + random(10);
  else if (h >= 176 && h <= 180) Heading = 175 - random(10);
  else if (h >= 181 && h <= 185) Heading = 185 + random(10);
  else if (h >= 266 && h <= 270) Heading = 270 - random(10);
  else if (h >= 271 && h <= 275) Heading = 275 + random(10);
  else if (h >= 356 && h <= 359) Heading = 355 - random(10);
  else if (h >= 0 && h <= 4) Heading = 5 + random(10);
}

void TDevadivSprite::DoMove(int) {
  if (FieldReset) {
    BallsInPlayDown();
    if (GameRec && counted_) CountDown(GameRec->BallSprites);
    counted_ = false;
    Dead();
    return;
  }
  if (GameState == 5) {
    Dead();
    counted_ = false;
    if (GameRec) {
      GameRec->BallsInPlay = 0;
      GameRec->BallSprites = 0;
      if (PlayHost.BgmSetSpeed) PlayHost.BgmSetSpeed();
    }
    for (int i = 0; i < 16; ++i) {
      const int dx = random(48) - 12;
      const int dy = random(48) - 12;
      new TSparkSprite(Engine(), int(X) + dx, int(Y) + dy, 6);
    }
    return;
  }
  if (HyperTrigger) HyperTime += 600;
  if (HyperTime > 0) {
    if (random(6) < 2 && GameState != 4 && GameState != 7) {
      const int dx = random(24) - 8;
      const int dy = random(24) - 8;
      new TSparkSprite(Engine(), int(X) + dx, int(Y) + dy, 0);
    }
    --HyperTime;
  }
  SpeedClass = Speed <= 850 ? 0 : Speed <= 1180 ? 1 : 2;
  AnimPhase = (AnimPhase + (Speed > 1250 ? 2 : 1)) % 16;
  AnimPos = AnimPhase + 16 * SpeedClass;
  EggsHit = 0;
  HardEggsHit = 0;
  if (BounceLock > 0) --BounceLock;
  if (GameRec) Speed = std::min(Speed, GameRec->BallSpeedCap);
  if (GhostTime > 1) {
    --GhostTime;
    Collisioned = false;
  } else if (GhostTime == 1) {
    GhostTime = 0;
    Collisioned = true;
    Held = false;
  }
  switch (BallState) {
    case 0:
      X -= 4;
      SetFixedFromXY();
      SwingAnchorX = int(X);
      SwingAnchorY = int(Y) + 40;
      break;
    case 1:
      Heading += 4 * SwingDir;
      if (Heading > 320) {
        Heading = 320;
        SwingDir = -1;
      } else if (Heading < 220) {
        Heading = 220;
        SwingDir = 1;
      }
      FixedX = 160 * CosOf(Heading) + SwingAnchorX * 4096;
      FixedY = 160 * SinOf(Heading) + SwingAnchorY * 4096;
      X = FixedX / 4096.0;
      Y = FixedY / 4096.0;
      break;
    case 3: {
      const int k = Speed / 32 + 1;
      const int64_t fx = int64_t(k) * CosOf(Heading) * FallFrame + FallX0;
      const int64_t fy = 2000LL * FallFrame * FallFrame + FallY0 - 50000LL * FallFrame;
      ++FallFrame;
      FixedX = int(fx);
      FixedY = int(fy);
      X = UnitsToPixels(fx);
      Y = UnitsToPixels(fy);
      if (Y > 400 || X > 376 || X < -32) {
        if (GameRec && counted_) CountDown(GameRec->BallSprites);
        counted_ = false;
        Dead();
      }
      break;
    }
    case 2:
      if (Held) break;
      if (FlightStep()) {
        BallsInPlayDown();
        BallState = 3;
        FallX0 = FixedX;
        FallY0 = FixedY;
        FallFrame = 0;
      }
      if (SlowTrigger) {
        Speed = BallSpeedOfGame();
        SlowStar = new TSlowSprite(Engine(), this);
        SlowMark = true;
        StallCount = 0;
      }
      ++StallCount;
      if (StallCount == 1200 || StallCount == 1400 || StallCount == 1800 || StallCount == 1900 ||
          StallCount == 2100) {
        Jiggle();
      } else if (StallCount > 2400) {
        StallCount = 0;
        const int a = random(2);
        Heading = 60 * a - random(8) + 64;
        FixedX = 180 * 4096;
        FixedY = 50 * 4096;
        X = 180;
        Y = 50;
        PlaySound("SlowButa", 180);
      }
      break;
    default:
      break;
  }
  FirstHeading = Heading;
}

void TDevadivSprite::SideReflect(int dx) {
  if ((dx > 0 && Heading > 90 && Heading < 270) || (dx <= 0 && (Heading <= 90 || Heading >= 270))) {
    Heading = MirrorSide(Heading);
    if (std::abs(dx) < 18) {
      const int step = dx > 0 ? 1 : -1;
      X += step;
      FixedX += step * 4096;
    }
  }
}

void TDevadivSprite::TopBottomReflect(int dy) {
  if ((dy > 0 && Heading > 180) || (dy <= 0 && Heading <= 180)) {
    Heading = 360 - Heading;
    if (std::abs(dy) < 18) {
      const int step = dy > 0 ? 1 : -1;
      Y += step;
      FixedY += step * 4096;
    }
  }
}

void TDevadivSprite::Reverse() { Heading = norm360(Heading + 180); }

void TDevadivSprite::HitEgg(TEggSprite* egg) {
  const int kind = egg->Kind;
  const int ex = int(egg->X), ey = int(egg->Y);
  if (HyperTime > 0 && FlashCooldown == 0) {
    CreateFlash(int(X), int(Y), true);
    PlaySound("HypBomb", int(X));
    FlashCooldown = 3;
  }
  const bool hard = kind == 16 || kind == 19;
  switch (kind) {
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
      ++EggsHit;
      StallCount = 0;
      if (EggsHit == 1) {
        FirstEggX = ex;
        FirstEggY = ey;
        FirstHeading = Heading;
      }
      if (kind >= 13) {
        BounceLock = 2;
        Speed += 2;
      }
      break;
    case 15:
      ++EggsHit;
      StallCount = 0;
      Speed += 2;
      if (EggsHit == 1) {
        FirstEggX = ex;
        FirstEggY = ey;
      }
      break;
    case 16:
    case 19:
      ++EggsHit;
      ++HardEggsHit;
      egg->HitCooldown += 2;
      Speed += 4;
      if (EggsHit == 1) {
        FirstEggX = HardEggX = ex;
        FirstEggY = HardEggY = ey;
        FirstHeading = Heading;
      } else if (HardEggsHit == 1) {
        HardEggX = ex;
        HardEggY = ey;
        if (kind == 16) {
          if (ex == FirstEggX) {
            if (EggsHit == 2) Heading = FirstHeading;
            else FirstHeading = Heading;
          } else {
            Heading = FirstHeading;
          }
        } else if (ex != FirstEggX) {
          FirstHeading = Heading;
        }
      }
      break;
    case 17:
      Speed += 3;
      break;
    default:
      break;
  }

  const int bx = int(X), by = int(Y);
  const int dx = (bx + 12) - (ex + 13);
  const int dy = (by + 12) - (ey + 16);
  if (hard && HardEggsHit != 1) {
    if (EggsHit < 3 || HardEggsHit == 3) Heading = FirstHeading;
    if (HardEggsHit == 2) {
      if (ex == HardEggX) SideReflect(dx);
      else if (ey == HardEggY) TopBottomReflect(dy);
      else Reverse();
    } else if (HardEggsHit > 2) {
      Reverse();
      BounceLock = 1;
    }
  } else if (EggsHit > 1) {
    if (HardEggsHit == 0) Heading = FirstHeading;
    if (EggsHit == 2) {
      if (ex == FirstEggX) {
        if (HardEggsHit == 1 && FirstEggX == HardEggX) Heading = FirstHeading;
        SideReflect(dx);
      } else if (ey == FirstEggY) {
        TopBottomReflect(dy);
      } else {
        Reverse();
      }
    } else {
      if (HardEggsHit == 2) Heading = FirstHeading;
      Reverse();
    }
  } else if (dy * dy - 4 < dx * dx) {
    const int h = Heading;
    if ((h > 180 && h < 270 && dx > 0) || (h >= 270 && dx <= 0) || (h < 90 && dx < 0) ||
        (h >= 90 && h <= 180 && dx >= 0)) {
      Heading = MirrorSide(h);
      if (hard && std::abs(dx) < 18) {
        const int step = dx > 0 ? 1 : -1;
        X += step;
        FixedX += step * 4096;
      }
    }
  } else {
    const int h = Heading;
    if ((h < 180 && dy < 0) || (h >= 180 && dy >= 0)) {
      Heading = 360 - h;
      if (std::abs(dy) < 18) {
        const int step = dy > 0 ? 1 : -1;
        Y += step;
        FixedY += step * 4096;
      }
    }
  }
}

namespace {
// Aiming from an offset: ((d f + 270) div q) q, clamped, nudged off straight up.
int AimFrom(int d, int f, int q, int lo, int hi, int up) {
  int h = ((d * f + 270) / q) * q;
  h = std::clamp(h, lo, hi);
  return h == 270 ? up : h;
}
}  // namespace

void TDevadivSprite::DoCollision(TSprite* S, bool&) {
  if (BallState != 2 || Deaded()) return;
  const int g = S->CollisionGroup;
  const int bx = int(X), sx = int(S->X);
  if (g == 2) {
    auto* mole = dynamic_cast<TZubZubSprite*>(S);
    if (!mole || mole->PaddleState != 3 || BounceLock != 0) return;
    Heading = AimFrom((bx + 12) - (sx + 32), 4, 5, 210, 330, 275);
    Speed += 4;
    PlaySound("HitZub", bx);
    StallCount = 0;
    BounceLock = 3;
  } else if (g == -4 || g == -5 || g == -6) {
    if (BounceLock != 0) return;
    Heading = AimFrom((bx + 12) - (sx + 36), 3, 10, 210, 330, 280);
    Speed += 14;
    auto* m = dynamic_cast<TMonsterActor*>(S);
    if (!m || !m->MonsterDying()) PlaySound("HitKaizyu", bx);
    StallCount = 0;
    BounceLock = 2;
  } else if (g == 7) {
    auto* board = dynamic_cast<TKanbanSprite*>(S);
    if (!board || board->BoardState <= 5 || BounceLock != 0) return;
    int h = (((bx + 12) - (sx + 20)) * 3 + 270) / 10 * 10;
    if (h > 350) h = 355;
    if (h < 190) h = 195;
    if (h == 270) h = 280;
    Heading = h;
    Speed += 4;
    BounceLock = 4;
    StallCount = 0;
  } else if (g == 10) {
    if (auto* egg = dynamic_cast<TEggSprite*>(S)) HitEgg(egg);
  } else if (g == 70 || g == 71 || g == 80 || g == 81 || g == 90 || g == 91 || g == 100 ||
             g == 101 || g == 104) {
    if (PlayHost.BallHitsBoss) PlayHost.BallHitsBoss(this, S);
  }
}

TSlowSprite::TSlowSprite(TSpriteEngine* e, TDevadivSprite* ball) : TPlayActor(e), Ball(ball) {
  UseImage("Star3");
  Collisioned = false;
  SetZ(19);
  X = ball->X + 12;
  Y = ball->Y + 12;
}

void TSlowSprite::DoMove(int) {
  TDevadivSprite* b = Ball.get();
  if (FieldReset || !b) {
    Dead();
    return;
  }
  if (Frame >= 16) {
    b->SlowMark = false;
    Dead();
    return;
  }
  X = b->X + 12;
  Y = b->Y + 12;
  AnimPos = Frame / 2;
  ++Frame;
}

TSparkSprite::TSparkSprite(TSpriteEngine* e, int x, int y, int set) : TPlayActor(e) {
  UseImage("Star2");
  Collisioned = false;
  Passive = true;
  SetZ(19);
  IgnoreGroup = 10;
  X = x;
  Y = y;
  SparkSet = set;
  SparkFrame = random(15);
  AnimPos = (SparkFrame / 10) * 2 + SparkSet + (SparkFrame % 2);
}

void TSparkSprite::DoMove(int) {
  if (FieldReset) {
    Dead();
    return;
  }
  Y += 1;
  ++SparkFrame;
  if (SparkFrame > 28) {
    Dead();
    return;
  }
  AnimPos = (SparkFrame / 10) * 2 + SparkSet + (SparkFrame % 2);
}

TSparkGhostSprite::TSparkGhostSprite(TSpriteEngine* e) : TPlayActor(e) {
  UseImage("Flash");
  CollisionRect = TRect{0, 0, 60, 96};
  CollisionGroup = -11;
  IgnoreGroup = -3;
  SetZ(2);
}

void TSparkGhostSprite::DoMove(int) {
  ++Frame;
  if (Frame == 1) {
    AnimPos = 0;
  } else if (Frame == 2) {
    AnimPos = 1;
    Collisioned = false;
  } else {
    Dead();
  }
}

TSparkGhostSprite* CreateFlash(int x, int y, bool Tangible) {
  if (!PlayHost.Engine) return nullptr;
  auto* f = new TSparkGhostSprite(PlayHost.Engine);
  f->X = x - 18;
  f->Y = y - 40;
  f->Collisioned = Tangible;
  return f;
}

}  // namespace zubroll
