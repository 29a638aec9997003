// Point pop-ups and star bursts.
#pragma once
#include "zubroll/play/Field.h"

namespace zubroll {

class TPointSprite : public TPlayActor {
 public:
  TPointSprite(TSpriteEngine* e, const char* image);
  int PopStyle = 0;   // 0 still, 1 rising, 2 colour-cycling, 3 both
  int ColourRow = 0;
  int Symbol = 0;
  int Rise = 2;
  int Age = 0;
  int RowCount = 3;   // colour rows of the image
  int RowBase = 0;    // first row of the cycle
  int PatternsPerRow = 10;
  void DoMove(int MoveCount) override;
  void ShowPattern();
};

// A times sign or multiplier digit ("Multi": 11 symbols per row).
class TMultiSprite : public TPointSprite {
 public:
  explicit TMultiSprite(TSpriteEngine* e);
};

void ShowPoints(int Value, int X, int Y, int ColourRow, int Multiplier, int PopStyle);

class TStarSprite : public TPlayActor {
 public:
  explicit TStarSprite(TSpriteEngine* e);
  int StarBase = 0, StarSpeed = 0, StarAngle = 0, StarLife = 0, Age = 0;
  int X0 = 0, Y0 = 0;  // units
  void DoMove(int MoveCount) override;
};

void StarBurst(int X, int Y);
void BigStarBurst(int X, int Y);

}  // namespace zubroll
