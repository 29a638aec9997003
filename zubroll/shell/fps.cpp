#include "zubroll/shell/fps.h"

#include <algorithm>

#include "zubroll/shell/Main.h"

namespace zubroll {

int FpsDigit(int rate, int i) {
  rate = std::clamp(rate, 0, 999);
  return i == 0 ? rate / 100 : i == 1 ? (rate / 10) % 10 : rate % 10;
}

TFPSSprite::TFPSSprite(TSpriteEngine* e, TPictureCollectionItem* point, int index) : TImageSprite(e), Index(index) {
  SetImage(point);
  SetZ(28);
  Collisioned = false;
  CollisionGroup = -21;
  IgnoreGroup = 10;
  X = 10 * index;
  Y = 2;
}

void TFPSSprite::DoMove(int MoveCount) {
  const int rate = MainZubForm ? MainZubForm->FrameRateForDisplay() : 0;
  AnimStart = FpsDigit(rate, Index);
  AnimPos = 0;
  TImageSprite::DoMove(MoveCount);
}

}  // namespace zubroll
