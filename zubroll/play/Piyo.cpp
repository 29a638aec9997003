#include "zubroll/play/Piyo.h"

#include <algorithm>

#include "zubroll/play/Point.h"
#include "zubroll/play/Score.h"
#include "zubroll/play/ZubZub.h"

namespace zubroll {

TPiyoSprite::TPiyoSprite(TSpriteEngine* e) : TPlayActor(e) {
  UseImage("PiyoPiyo");
  SetZ(17);
  CollisionGroup = -2;
  IgnoreGroup = 10;
  TargetGroup = 2;
  CollisionRect = TRect{4, 2, 28, 28};
  Collisioned = false;
  if (GameRec) ++GameRec->ChicksAlive;
}

TPiyoSprite* ReleaseChick(int X, int Y, int VX, int ChickKind, int Delay, int Impulse) {
  if (!PlayHost.Engine) return nullptr;
  auto* c = new TPiyoSprite(PlayHost.Engine);
  c->X = std::clamp(X, -100, 500);
  c->Y = std::clamp(Y, -100, 400);
  c->X0 = int(c->X) * 4096;
  c->Y0 = int(c->Y) * 4096;
  c->VX = VX;
  c->ChickKind = ChickKind;
  c->Delay = Delay;
  c->Impulse = Impulse;
  if (ChickKind > 0) c->SetZ(6);
  if (Delay > 0) c->Visible = false;
  return c;
}

void TPiyoSprite::Resolve(bool lost) {
  if (GameRec) {
    if (lost) GameRec->ChickChain = 0;
    --GameRec->EggsLeft;
    CountDown(GameRec->ChicksAlive);
  }
  Dead();
}

void TPiyoSprite::DoMove(int) {
  if (FieldReset) {
    Resolve(false);
    return;
  }
  if (Delay > 0) {
    --Delay;
    Visible = false;
    Collisioned = false;
    return;
  }
  Visible = true;
  AnimPos = AnimPos == 0 ? 1 : 0;
  ++Frame;
  if (Frame == 16 && Z() != 17) SetZ(17);
  Y = UnitsToPixels(1500LL * Frame * Frame + Y0 - int64_t(Frame) * Impulse);
  X += VX / 4096.0;
  if (X < 0 || X > 344) {
    VX = -VX;
    X += VX / 4096.0;
  }
  Collisioned = Y >= 280;
  if (Y > 400) Resolve(true);
}

void TPiyoSprite::DoCollision(TSprite* S, bool&) {
  if (Deaded() || !dynamic_cast<TZubZubSprite*>(S) || !GameRec) return;
  int& chain = GameRec->ChickChain;
  ++chain;
  const int m = std::max(GameRec->BallSprites, 1);
  const int x = int(X), y = int(Y);
  if (ChickKind == 30) {
    PlaySound("GetPiyo", x);
    Score += 1000;
    ShowPoints(1000, x, y, 0, m, 3);
  } else {
    int style = 1;
    if (chain < 10) {
      PlaySound("GetPiyo", x);
    } else {
      chain = 10;
      PlaySound("GetP1k", x);
      style = 3;
    }
    LightChickLamp();
    ShowPoints(chain * 10, x, y, 0, m, style);
    Score += m * chain * 10;
  }
  --GameRec->EggsLeft;
  CountDown(GameRec->ChicksAlive);
  Dead();
}

}  // namespace zubroll
