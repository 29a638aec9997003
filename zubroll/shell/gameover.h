// The game-over letters: eight letters fall onto a line, rest there, hop and
// drop, bounce once off the floor (or off whatever hits them) and leave.
#pragma once
#include <cstdint>

#include "zubroll/sprite/sprite.h"

namespace zubroll {

class TMainZubForm;

class TGOverSprite : public TImageSprite {
 public:
  TGOverSprite(TSpriteEngine* e, int letter);
  enum TPhase { Falling, Resting, Dropping, Bounced };
  TPhase Phase = Falling;
  int Counter = 0;  // frames resting
  int T = 0;        // frames on the current curve
  int32_t X0 = 0, Y0 = 0, VX = 0, VY = 0;  // curve origin and speeds, 1/4096 pixel
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* Sprite, bool& Done) override;
  void Bounce();
};

// Start x of letter i.
constexpr int GameOverLetterX(int i) { return i < 4 ? 46 * i - 1 : 44 * i + 20; }
constexpr int kGameOverRestY = 120;
constexpr int kGameOverFloorY = 330;
// The curve: (2000 t^2 + y0 - t vy) div 4096, 32-bit, truncating toward zero.
int32_t GameOverCurve(int32_t t, int32_t origin, int32_t v, int32_t accel);

void CreateGameOverLetters(TMainZubForm& form);

}  // namespace zubroll
