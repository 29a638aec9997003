#include "zubroll/play/Guide.h"

#include <algorithm>

namespace zubroll {

TGuideSprite::TGuideSprite(TSpriteEngine* e) : TPlayActor(e) {
  UseImage("Guide");
  SetZ(1);
  Collisioned = false;
  IgnoreGroup = 10;
  Y = 388;
}

void TGuideSprite::DoMove(int) {
  const int px = PlayHost.PaddleX ? PlayHost.PaddleX() : 0;
  X = std::min(std::max(px, 0), 331) + 8;
  Y = 388;
  Visible = GameState < 31;
}

}  // namespace zubroll
