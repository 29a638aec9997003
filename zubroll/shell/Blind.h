// The stage-change blind: 16 strips slide in from both sides over the play
// field, hold while the scene behind is rebuilt, and slide out again.
#pragma once
#include "zubroll/sprite/sprite.h"

namespace zubroll {

class TMainZubForm;

class TBlindSprite : public TImageSprite {
 public:
  // side 0: pattern 0 from x -42 moving right; side 1: pattern 1 from x 386 moving left.
  TBlindSprite(TSpriteEngine* e, int side, int order, int target, bool leader);
  int Direction;
  int Count;      // frames counted while TitleLocked; moves while above 0
  int Target;     // the stage the blind changes to
  bool Leader;    // the first left strip runs the rebuild
  void DoMove(int MoveCount) override;

 private:
  void LeaderStep();
  void Remove();
};

extern int BlindSpeed;  // pixels a frame of every strip, times its direction

// Leader counts at which the blind acts.
constexpr int kBlindClosedCount = 25;   // the field is cleared, the fader told
constexpr int kBlindRebuildCount = 26;  // strips stop; the scene behind is rebuilt
constexpr int kBlindSettleCount = 27;   // title: FieldReset cleared
constexpr int kBlindOpenCount = 38;     // strips move back out

// Starts a blind towards stage `target` (nothing while one runs).
void StartBlind(TMainZubForm& form, int target);

}  // namespace zubroll
