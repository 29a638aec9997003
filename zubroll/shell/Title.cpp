#include "zubroll/shell/Title.h"

#include "zubroll/shell/Main.h"
#include "zubroll/shell/Scene.h"
#include "zubroll/shell/Selector.h"

namespace zubroll {

const char* const kFaceSounds[4] = {"FaceMi", "FaceSo", "FaceDo", "FaceRa"};

namespace {
void Place(TImageSprite& s, const char* image, int x, int y, int z) {
  s.SetImage(MainZubForm->DXImageList.Find(image));
  s.X = x;
  s.Y = y;
  s.SetZ(z);
  s.IgnoreGroup = 10;
}
}  // namespace

TTitleSprite::TTitleSprite(TSpriteEngine* e) : TImageSprite(e) {
  Place(*this, "ZrTitle", 32, 98, 8);
  Collisioned = false;
}

TTitleEggSprite::TTitleEggSprite(TSpriteEngine* e) : TImageSprite(e) {
  Place(*this, "ZrBigEgg", 60, 2, 4);
  Collisioned = false;
}

TMoveTitleSprite::TMoveTitleSprite(TSpriteEngine* e) : TImageSprite(e) {
  Place(*this, "ZrTitle", 32, 98, 8);
  Collisioned = false;
}

void TMoveTitleSprite::DoMove(int MoveCount) {
  if (Frames < 24) {
    Y -= 4;
    ++Frames;
  }
  TImageSprite::DoMove(MoveCount);
}

TScoreHeadSprite::TScoreHeadSprite(TSpriteEngine* e) : TImageSprite(e) {
  Place(*this, "Header", 36, 134, 8);
  Collisioned = false;
  Visible = false;
}

void TScoreHeadSprite::DoMove(int MoveCount) {
  if (Frames < 24) {
    ++Frames;
    Visible = false;
  } else {
    Visible = true;
    AnimStart = Table;
    AnimPos = 0;
  }
  TImageSprite::DoMove(MoveCount);
}

TStartBtnSprite::TStartBtnSprite(TSpriteEngine* e, int index) : TImageSprite(e), Index(index) {
  Place(*this, "FaceBtn", kStartBtnX[index], kStartBtnY[index], 8);
  CollisionRect = TRect{0, 0, 56, 46};
  CollisionGroup = -17;
  TargetGroup = -16;
  AnimStart = index;
  if (index == 3) Visible = Collisioned = GameRec && GameRec->ContinueAvailable;
}

void TStartBtnSprite::DoMove(int MoveCount) {
  AnimStart = Index;
  AnimPos = 0;
  touched_ = false;
  if (TouchCount > 0) --TouchCount;
  if (Index == 3) Visible = Collisioned = GameRec && GameRec->ContinueAvailable;
  TImageSprite::DoMove(MoveCount);
}

void TStartBtnSprite::DoCollision(TSprite* Sprite, bool&) {
  if (!dynamic_cast<THand2Sprite*>(Sprite) || touched_ || Deaded()) return;
  touched_ = true;
  TMainZubForm& f = *MainZubForm;
  AnimStart = Index + 4;
  SceneTimer = 50;
  if (TitleLocked) return;
  if (TouchCount == 0) {
    f.PlaySound(kFaceSounds[Index], f.PaddleX, false);
    if (GameState == 31 && SceneStep >= 1 && SceneStep <= 3 && Index <= 2) {
      SceneStep = Index + 1;
      SetTitleTable(f, Index);
    }
  }
  TouchCount = 2;
  if (LeftButton) {
    if (Index < 3)
      f.StartGame(Index);
    else
      f.ContinueGame();
  } else if (RightButton && Index < 3) {
    // One press opens the selection once (a set that fails to load would otherwise
    // report its error again every frame the button is held).
    RightButton = false;
    f.StartStageSelect(Index);
  }
}

TAboutSprite::TAboutSprite(TSpriteEngine* e) : TImageSprite(e) {
  Place(*this, "Aboutpic", 50, 22, 19);
  Collisioned = false;
}

void TAboutSprite::DoMove(int MoveCount) {
  if (GameState < 70 || GameState > 72) {
    Dead();
    return;
  }
  AnimStart = GameState == 71 ? 0 : 1;
  AnimPos = 0;
  TImageSprite::DoMove(MoveCount);
}

THand4Sprite::THand4Sprite(TSpriteEngine* e) : TImageSprite(e) {
  Place(*this, "Hand", 0, 0, 28);
  CollisionRect = TRect{6, 0, 8, 4};
  CollisionGroup = -16;
  Visible = false;
  Collisioned = false;
}

void THand4Sprite::DoMove(int MoveCount) {
  if (GameState < 70 || GameState > 72) {
    Dead();
    return;
  }
  TMainZubForm& f = *MainZubForm;
  X = f.PaddleX;
  Y = f.PaddleY;
  const bool inside = f.PaddleX >= 0 && f.PaddleX <= 512 && f.PaddleY >= 0 && f.PaddleY <= 400;
  Visible = Collisioned = inside;
  TImageSprite::DoMove(MoveCount);
}

void SetTitleTable(TMainZubForm& form, int t) {
  TSpriteEngine& e = form.DXSpriteEngine;
  for (int i = 0; i < e.Count(); ++i)
    if (auto* h = dynamic_cast<TScoreHeadSprite*>(e.Items(i))) h->Table = t;
}

void BeginTitleTables(TMainZubForm& form) {
  KillActors<TTitleSprite>(form.DXSpriteEngine);
  KillActors<TTitleEggSprite>(form.DXSpriteEngine);
  new TMoveTitleSprite(&form.DXSpriteEngine);
  new TScoreHeadSprite(&form.DXSpriteEngine);
}

void CreateTitleActors(TMainZubForm& form) {
  new TTitleSprite(&form.DXSpriteEngine);
  new TTitleEggSprite(&form.DXSpriteEngine);
}

void CreateTitleButtons(TMainZubForm& form) {
  for (int i = 0; i < 4; ++i) new TStartBtnSprite(&form.DXSpriteEngine, i);
}

void RemoveTitleActors(TMainZubForm& form) {
  TSpriteEngine& e = form.DXSpriteEngine;
  KillActors<TTitleSprite>(e);
  KillActors<TTitleEggSprite>(e);
  KillActors<TMoveTitleSprite>(e);
  KillActors<TScoreHeadSprite>(e);
}

void RemoveTitleAndSelectionButtons(TMainZubForm& form) {
  KillActors<TStartBtnSprite>(form.DXSpriteEngine);
  RemoveSelectionButtons(form);
}

}  // namespace zubroll
