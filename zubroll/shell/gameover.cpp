#include "zubroll/shell/gameover.h"

#include "zubroll/shell/Main.h"

namespace zubroll {

int32_t GameOverCurve(int32_t t, int32_t origin, int32_t v, int32_t accel) {
  // 32-bit wrap-around products, as the letters were always computed.
  const uint32_t sum = uint32_t(accel) * uint32_t(t) * uint32_t(t) + uint32_t(origin) - uint32_t(t) * uint32_t(v);
  return int32_t(sum) / 4096;
}

TGOverSprite::TGOverSprite(TSpriteEngine* e, int letter) : TImageSprite(e) {
  SetImage(MainZubForm->DXImageList.Find("Gameover"));
  AnimStart = letter;
  X = GameOverLetterX(letter);
  Y = -48;
  SetZ(19);
  CollisionRect = TRect{0, 0, 48, 48};
  CollisionGroup = -18;
  IgnoreGroup = 10;
}

void TGOverSprite::DoMove(int MoveCount) {
  switch (Phase) {
    case Falling:
      Y += 12;
      if (Y > kGameOverRestY) {
        Y = kGameOverRestY;
        Phase = Resting;
        Counter = random(5);
      }
      break;
    case Resting:
      ++Counter;
      if (Counter > 28) {
        Counter = 0;
        Phase = Dropping;
        T = 0;
        X0 = int32_t(X) * 4096;
        Y0 = kGameOverRestY * 4096;
        VX = 0;
        VY = 20000;
      }
      break;
    case Dropping:
    case Bounced:
      ++T;
      X = GameOverCurve(T, X0, -VX, 0);
      Y = GameOverCurve(T, Y0, VY, 2000);
      if (Phase == Dropping && Y > kGameOverFloorY) Bounce();
      break;
  }
  if (Y > 400) {
    Dead();
    return;
  }
  TImageSprite::DoMove(MoveCount);
}

void TGOverSprite::DoCollision(TSprite*, bool&) {
  if (Phase != Bounced) Bounce();
}

void TGOverSprite::Bounce() {
  Collisioned = false;
  VX = random(2) == 0 ? -3000 : 3000;
  VY = 60000 + 800 * random(10);
  X0 = int32_t(X) * 4096;
  Y0 = int32_t(Y) * 4096;
  T = 0;
  Phase = Bounced;
}

void CreateGameOverLetters(TMainZubForm& form) {
  for (int i = 0; i < 8; ++i) new TGOverSprite(&form.DXSpriteEngine, i);
}

}  // namespace zubroll
