// TFPSSprite: one digit of the frame rate in the top-left corner ("&Display FPS Rate").
#pragma once
#include "zubroll/sprite/sprite.h"

namespace zubroll {

class TFPSSprite : public TImageSprite {
 public:
  TFPSSprite(TSpriteEngine* e, TPictureCollectionItem* point, int index);
  int Index;  // 0 hundreds, 1 tens, 2 units
  void DoMove(int MoveCount) override;
};

// Digit i (0 hundreds .. 2 units) of a rate clamped to 0 .. 999.
int FpsDigit(int rate, int i);

}  // namespace zubroll
