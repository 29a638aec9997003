// The pointer marker in the bottom panel.
#pragma once
#include "zubroll/play/Field.h"

namespace zubroll {

class TGuideSprite : public TPlayActor {
 public:
  explicit TGuideSprite(TSpriteEngine* e);
  void DoMove(int MoveCount) override;
};

}  // namespace zubroll
