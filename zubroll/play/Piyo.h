// Chicks: released by broken eggs, caught by the mole for the chain pay-out.
#pragma once
#include "zubroll/play/Field.h"

namespace zubroll {

class TPiyoSprite : public TPlayActor {
 public:
  explicit TPiyoSprite(TSpriteEngine* e);
  int Frame = 0;
  int X0 = 0, Y0 = 0;   // units
  int VX = 0;           // units per frame
  int Delay = 0;
  int Impulse = 0;
  int ChickKind = 0;    // 0 ordinary, 30 a thousand-point chick; bosses use 10 and 20
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* S, bool& Done) override;

 private:
  void Resolve(bool lost);
};

TPiyoSprite* ReleaseChick(int X, int Y, int VX, int ChickKind, int Delay, int Impulse);

// Lowers a counter of living actors, never below 0 (a stage change may have
// cleared it while the actor still lived).
inline void CountDown(int& counter) {
  if (counter > 0) --counter;
}

}  // namespace zubroll
