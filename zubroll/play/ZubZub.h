// The mole paddle, its big double and the reverse-controls arrow.
#pragma once
#include "zubroll/play/Field.h"

namespace zubroll {

class TDevadivSprite;
class TBigZubSprite;
class TArrowSprite;

class TZubZubSprite : public TPlayActor {
 public:
  explicit TZubZubSprite(TSpriteEngine* e);  // creates its double and its arrow
  ~TZubZubSprite() override;
  int PaddleState = 0;  // 0 new life, 1 countdown, 2 walking in, 3 playing, 4 walking out,
                        // 5 held, 10 walking to the ending spot, 11 ending back view
  int Countdown = 165;
  int StepPhase = 0;
  int StunTime = 0;
  int TouchCount = 0;
  TRef<TMonsterActor> GrabbedBy;
  int ReverseTime = 0;
  int ChickRun = 0;
  int WalkInCount = 0;
  TRef<TArrowSprite> Arrow;
  TRef<TBigZubSprite> Double;

  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* S, bool& Done) override;

 private:
  void SayOhNo();
  void Launch();
  void Steer();
  void Go();  // the mole and its helpers go
};

// The mole of the run, or none.
extern TRef<TZubZubSprite> Mole;
// The ball of the current life, whether a ball was launched this life, "OhNo" said.
extern TRef<TDevadivSprite> Ball;
extern bool OhNoSaid, BallLaunched;

class TBigZubSprite : public TPlayActor {
 public:
  explicit TBigZubSprite(TSpriteEngine* e);
  void DoMove(int MoveCount) override;
};

class TArrowSprite : public TPlayActor {
 public:
  explicit TArrowSprite(TSpriteEngine* e);
  int ArrowTime = 0, ArrowFrame = 0;
  void DoMove(int MoveCount) override;
};

// Ending spot reached by the mole (state 10 -> 11): an "EndBack" sprite takes its place.
// The ending unit sets this; empty: a plain picture of pattern 0.
extern std::function<void(int x, int y)> CreateEndBack;

}  // namespace zubroll
