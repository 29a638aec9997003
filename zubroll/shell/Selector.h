// The stage selection: its pointer, the four buttons (previous, play, next,
// back) with their pressed and disabled looks, and the four invisible corner
// buttons whose right-clicks in the right order open every stage.
#pragma once
#include "zubroll/sprite/sprite.h"

namespace zubroll {

class TMainZubForm;

extern int SelectStageNo;  // the stage shown

class THand3Sprite : public TImageSprite {
 public:
  explicit THand3Sprite(TSpriteEngine* e);
  void DoMove(int MoveCount) override;
  // The hot spot: (x + 6, y).
  int HotX() const { return int(X) + 6; }
  int HotY() const { return int(Y); }
};

// 0 previous, 1 play, 2 next, 3 back.
class TSelBtnSprite : public TImageSprite {
 public:
  TSelBtnSprite(TSpriteEngine* e, int index);
  int Index;
  int PressCount = 0;   // frames of the pressed look
  bool OhNoSaid = false;
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* Sprite, bool& Done) override;
};

// Sequence numbers 0 .. 3 at the four corners.
class TSecretBtnSprite : public TImageSprite {
 public:
  TSecretBtnSprite(TSpriteEngine* e, int seq);
  int Seq;
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* Sprite, bool& Done) override;

 private:
  bool pressed_this_frame_ = false;
};

constexpr int kSelBtnX[4] = {110, 170, 230, 306};
constexpr int kSelBtnY = 310;
constexpr int kSecretBtnX[4] = {0, 344, 0, 344};
constexpr int kSecretBtnY[4] = {0, 352, 352, 0};

// Correct corner presses so far (0 .. 4).
extern int SecretPresses;

// Pattern a selection button shows this frame.
int SelBtnPattern(int index, int press_count);
// Whether "next" may go further now.
bool SelectNextAllowed();

void CreateSelectionButtons(TMainZubForm& form);
void RemoveSelectionButtons(TMainZubForm& form);

}  // namespace zubroll
