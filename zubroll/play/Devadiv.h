// The pig ball and its effects: slow star, sparks, hyper flash.
#pragma once
#include "zubroll/play/Field.h"

namespace zubroll {

class TSlowSprite;
class TEggSprite;

// The aiming ball's swing anchor and the hyper flash cooldown (counted down by the play state).
extern int SwingAnchorX, SwingAnchorY, FlashCooldown;

// BallsInPlay changes, each followed by the music's re-tuning.
void BallsInPlayUp();
void BallsInPlayDown();

class TDevadivSprite : public TPlayActor {
 public:
  TDevadivSprite(TSpriteEngine* e, int x, int y, int state);
  ~TDevadivSprite() override;
  int BallState = 0;  // 0 held, 1 aiming, 2 flying, 3 lost
  int Speed = 512;
  int Heading = 270;
  int SwingDir = -1;
  int FixedX = 0, FixedY = 0;
  int AnimPhase = 0, SpeedClass = 0;
  int HyperTime = 0;
  int EggsHit = 0, HardEggsHit = 0;
  int FirstEggX = 0, FirstEggY = 0, HardEggX = 0, HardEggY = 0, FirstHeading = 270;
  int BounceLock = 0;
  int StallCount = 0;
  int FallX0 = 0, FallY0 = 0, FallFrame = 0;
  bool SlowMark = false;
  TRef<TSlowSprite> SlowStar;
  int GhostTime = 0;
  bool Held = false;

  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* S, bool& Done) override;
  // One flight step; true when the ball went below the field.
  bool FlightStep();
  void Jiggle();
  void HitEgg(TEggSprite* egg);
  void SetFixedFromXY();

 private:
  bool counted_ = true;  // still counted in BallSprites
  void SideReflect(int dx);
  void TopBottomReflect(int dy);
  void Reverse();
};

// The first ball in engine order, or none.
TDevadivSprite* FirstBall();

class TSlowSprite : public TPlayActor {
 public:
  TSlowSprite(TSpriteEngine* e, TDevadivSprite* ball);
  TRef<TDevadivSprite> Ball;
  int Frame = 0;
  void DoMove(int MoveCount) override;
};

class TSparkSprite : public TPlayActor {
 public:
  TSparkSprite(TSpriteEngine* e, int x, int y, int set);
  int SparkFrame = 0, SparkSet = 0;
  void DoMove(int MoveCount) override;
};

class TSparkGhostSprite : public TPlayActor {
 public:
  explicit TSparkGhostSprite(TSpriteEngine* e);
  int Frame = 0;
  void DoMove(int MoveCount) override;
};

// A flash at (x - 18, y - 40); tangible flashes break eggs like a ball.
TSparkGhostSprite* CreateFlash(int x, int y, bool Tangible);

}  // namespace zubroll
