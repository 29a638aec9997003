// The background of the play field: a 6 x 6 grid of 64-pixel tiles that all
// show one pattern, and the right and bottom panels that frame the field.
#pragma once
#include "zubroll/sprite/sprite.h"

namespace zubroll {

class TMainZubForm;

class TBGPatSprite : public TImageSprite {
 public:
  TBGPatSprite(TSpriteEngine* e, int x, int y);
};

class TRPSprite : public TImageSprite {
 public:
  explicit TRPSprite(TSpriteEngine* e);
};

class TBPSprite : public TImageSprite {
 public:
  explicit TBPSprite(TSpriteEngine* e);
};

constexpr int kBackgroundPatterns = 20;  // 0 .. 15 stages, 16 .. 19 boss stages

// Every tile shows pattern n, limited to 0 .. 19 (also declared with the shell's hooks).
void SetBackgroundPattern(TMainZubForm& form, int n);
// The pattern the tiles show now (-1 without tiles).
int BackgroundPattern(TMainZubForm& form);

}  // namespace zubroll
