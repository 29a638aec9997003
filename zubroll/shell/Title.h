// The title's actors: the logo and the big egg, the logo moving up when the
// high score tables begin, the tables' header, the four face buttons (Easy,
// Normal, Hard, Continue), and the about screen's picture and pointer.
#pragma once
#include "zubroll/sprite/sprite.h"

namespace zubroll {

class TMainZubForm;

class TTitleSprite : public TImageSprite {
 public:
  explicit TTitleSprite(TSpriteEngine* e);
};

class TTitleEggSprite : public TImageSprite {
 public:
  explicit TTitleEggSprite(TSpriteEngine* e);
};

// Moves up 4 pixels a frame for 24 frames (98 to 2).
class TMoveTitleSprite : public TImageSprite {
 public:
  explicit TMoveTitleSprite(TSpriteEngine* e);
  int Frames = 0;
  void DoMove(int MoveCount) override;
};

// The tables' header: hidden for its first 24 frames, then the table number's pattern.
class TScoreHeadSprite : public TImageSprite {
 public:
  explicit TScoreHeadSprite(TSpriteEngine* e);
  int Frames = 0;
  int Table = 0;  // 0 Easy, 1 Normal, 2 Hard
  void DoMove(int MoveCount) override;
};

// A face button; only the title hand touches it.
class TStartBtnSprite : public TImageSprite {
 public:
  TStartBtnSprite(TSpriteEngine* e, int index);
  int Index;
  int TouchCount = 0;  // frames until a touch counts as a first touch again
  void DoMove(int MoveCount) override;
  void DoCollision(TSprite* Sprite, bool& Done) override;

 private:
  bool touched_ = false;  // the engine may report one contact twice a frame
};

// The about screen: pattern 0 on its first page, 1 on the second.
class TAboutSprite : public TImageSprite {
 public:
  explicit TAboutSprite(TSpriteEngine* e);
  void DoMove(int MoveCount) override;
};

class THand4Sprite : public TImageSprite {
 public:
  explicit THand4Sprite(TSpriteEngine* e);
  void DoMove(int MoveCount) override;
};

// Button positions, by index.
constexpr int kStartBtnX[4] = {55, 157, 259, 157};
constexpr int kStartBtnY[4] = {270, 270, 270, 328};
// The face sounds of the buttons.
extern const char* const kFaceSounds[4];

// The header shows table t (when there is one).
void SetTitleTable(TMainZubForm& form, int t);
// Step 1 of the title: logo and egg give way to the moving logo and the header.
void BeginTitleTables(TMainZubForm& form);

}  // namespace zubroll
