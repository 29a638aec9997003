// Eggs on the field: the egg actor in all its kinds, the falling block egg
// with its sensor and hidden egg, the knocked-off block and the bomb blast.
#pragma once
#include "zubroll/play/Field.h"

namespace zubroll {

// Note counters of a stage (set to 0 by LayOutStage).
extern int SingleNoteStep, MultiNoteStep, HardNoteStep;

class TBlockEggSprite;

class TEggSprite : public TPlayActor {
 public:
  explicit TEggSprite(TSpriteEngine* e, int kind = 10);
  int Kind = 10;
  int HitCount = 0;
  int HitCooldown = 0;
  int Mode = 0;  // 0 standing, 1 orbiting, 2 falling
  TRef<TBlockEggSprite> Owner;
  bool RemoveMark = false;
  int OrbitCenterX = 0, OrbitCenterY = 0, OrbitRadius = 0;
  int OrbitAngle1 = 0, OrbitAngle2 = 0, OrbitAngle3 = 0;
  int OrbitSpeed1 = 0, OrbitSpeed2 = 0, OrbitSpeed3 = 0;
  int FallFrame = 0, FallVX = 0, FallX0 = 0, FallY0 = 0;

  // Starts falling from the current position (FallFrame may be a negative delay).
  void StartFall(int vx, int delay = 0);
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* S, bool& Done) override;
  // The kind's rule for a hit by a ball or a blast; returns the points P.
  int KindHit(TSprite* S);
};

// The sensor under a block egg.
class THitOnlySprite : public TPlayActor {
 public:
  explicit THitOnlySprite(TSpriteEngine* e);
  bool Touched = false;
  int TouchY = 0;
  bool Quit = false;
  TRef<TBlockEggSprite> Owner;
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* S, bool& Done) override;
};

class TBlockEggSprite : public TPlayActor {
 public:
  // Creates the block with its sensor and hidden egg at (x, y).
  TBlockEggSprite(TSpriteEngine* e, int x, int y);
  int Grace = 0;
  int FallFrame = 0;
  int RestY0 = 0;
  TRef<THitOnlySprite> Sensor;
  TRef<TEggSprite> Hidden;
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* S, bool& Done) override;

 private:
  void Go();  // the block and both helpers go
};

class TPopBlockEggSprite : public TPlayActor {
 public:
  TPopBlockEggSprite(TSpriteEngine* e, int x, int y);
  int VX = 0, Frame = 0, Y0 = 0;
  void DoMove(int MoveCount) override;
};

class TBombGhostSprite : public TPlayActor {
 public:
  TBombGhostSprite(TSpriteEngine* e, int x, int y);
  int Timer = 16;
  void DoMove(int MoveCount) override;
};

}  // namespace zubroll
