#include "zubroll/shell/Selector.h"

#include <algorithm>

#include "platform/events.h"
#include "zubroll/play/Field.h"
#include "zubroll/play/Score.h"
#include "zubroll/shell/Blind.h"
#include "zubroll/shell/Main.h"
#include "zubroll/shell/Scene.h"

namespace zubroll {

int SelectStageNo = 0;
int SecretPresses = 0;

namespace {
bool ShiftHeld() { return platform::key_down(platform::Key::LShift) || platform::key_down(platform::Key::RShift); }
// Strictly inside the w x h box at the sprite's position.
bool HotSpotInside(const THand3Sprite& h, const TSprite& s, int w, int h_) {
  const int x = h.HotX(), y = h.HotY(), l = int(s.X), t = int(s.Y);
  return x > l && x < l + w && y > t && y < t + h_;
}
}  // namespace

THand3Sprite::THand3Sprite(TSpriteEngine* e) : TImageSprite(e) {
  SetImage(MainZubForm->DXImageList.Find("Hand"));
  SetZ(28);
  CollisionRect = TRect{6, 0, 8, 4};
  CollisionGroup = -15;
  IgnoreGroup = 10;
  Visible = Collisioned = false;
}

void THand3Sprite::DoMove(int MoveCount) {
  if (GameState != 21) {
    Dead();
    return;
  }
  TMainZubForm& f = *MainZubForm;
  X = f.PaddleX + 4;
  Y = f.PaddleY;
  const bool inside = X >= 0 && X <= 496 && Y >= 0 && Y <= 384;
  Visible = Collisioned = inside;
  TImageSprite::DoMove(MoveCount);
}

bool SelectNextAllowed() {
  const int d = GameRec->Difficulty;
  const int best = d >= 0 && d < 5 ? GameRec->BestStage[d] : 0;
  return SelectStageNo < best && SelectStageNo < LastStageOf(d);
}

int SelBtnPattern(int index, int press_count) {
  if (press_count > 0) return index + 4;
  if (index == 0 && SelectStageNo < 1) return 8;
  if (index == 2 && !SelectNextAllowed()) return 10;
  return index;
}

TSelBtnSprite::TSelBtnSprite(TSpriteEngine* e, int index) : TImageSprite(e), Index(index) {
  SetImage(MainZubForm->DXImageList.Find("SelBtn"));
  X = kSelBtnX[index];
  Y = kSelBtnY;
  SetZ(8);
  CollisionRect = TRect{0, 0, 42, 42};
  Passive = true;
  CollisionGroup = -19;
  IgnoreGroup = 10;
  AnimStart = SelBtnPattern(index, 0);
}

void TSelBtnSprite::DoMove(int MoveCount) {
  if (PressCount > 0) --PressCount;
  AnimStart = SelBtnPattern(Index, PressCount);
  AnimPos = 0;
  TImageSprite::DoMove(MoveCount);
}

void TSelBtnSprite::DoCollision(TSprite* Sprite, bool&) {
  auto* hand = dynamic_cast<THand3Sprite*>(Sprite);
  if (!hand || BlindActive || Deaded() || GameState != 21) return;
  TMainZubForm& f = *MainZubForm;
  TGameRec& g = *GameRec;
  if (Pattern() != Index && RightButton && ShiftHeld()) {
    if (!OhNoSaid) {
      OhNoSaid = true;
      f.PlaySound("OhNo", 200, false);
    }
    SecretUnlocked = true;
  } else if (LeftButton && HotSpotInside(*hand, *this, 42, 42) && PressCount == 0) {
    PressCount = 4;
    AnimStart = Index + 4;
    switch (Index) {
      case 0:
        ClearFieldActors();
        if (SelectStageNo > 0) {
          --SelectStageNo;
          f.PlaySound("TimeCount", f.PaddleX, false);
        }
        BuildStageField(SelectStageNo);
        break;
      case 2:
        ClearFieldActors();
        if (SelectNextAllowed()) {
          ++SelectStageNo;
          f.PlaySound("TimeCount", f.PaddleX, false);
        }
        BuildStageField(SelectStageNo);
        break;
      case 1:
        g.StageSetPath = g.SelectSetPath;
        StageNo = g.StartStage = SelectStageNo;
        f.ResetRun();
        g.HighScoreToBeat = BestScoreOf(g.Difficulty);
        f.BeginGame();
        break;
      case 3:
        f.PlaySound("TimeCount", f.PaddleX, false);
        GameState = 30;
        f.UpdateMenus();
        TitleLocked = true;
        StartBlind(f, 0);
        break;
    }
  }
  if (PressCount == 3) PressCount = 4;
}

TSecretBtnSprite::TSecretBtnSprite(TSpriteEngine* e, int seq) : TImageSprite(e), Seq(seq) {
  SetImage(MainZubForm->DXImageList.Find("Inviso"));
  X = kSecretBtnX[seq];
  Y = kSecretBtnY[seq];
  SetZ(24);
  Width = Height = 32;
  CollisionRect = TRect{0, 0, 32, 32};
  Passive = true;
  TargetGroup = -15;
  IgnoreGroup = 10;
  Visible = false;
}

void TSecretBtnSprite::DoMove(int MoveCount) {
  if (GameState != 21) {
    Dead();
    return;
  }
  pressed_this_frame_ = false;
  TImageSprite::DoMove(MoveCount);
}

void TSecretBtnSprite::DoCollision(TSprite* Sprite, bool&) {
  auto* hand = dynamic_cast<THand3Sprite*>(Sprite);
  if (!hand || !RightButton || pressed_this_frame_ || Deaded()) return;
  if (!HotSpotInside(*hand, *this, 32, 32)) return;
  pressed_this_frame_ = true;
  TSpriteEngine& e = *Engine();
  if (Seq == SecretPresses) {
    ++SecretPresses;
    Dead();
    if (SecretPresses == 4) {
      MainZubForm->PlaySound("TimeCount", MainZubForm->PaddleX, false);
      GameRec->BestStage[0] = 15;
      GameRec->BestStage[1] = 23;
      GameRec->BestStage[2] = 31;
    }
  } else {
    KillActors<TSecretBtnSprite>(e);
  }
}

void CreateSelectionButtons(TMainZubForm& form) {
  RemoveSelectionButtons(form);
  for (int i = 0; i < 4; ++i) new TSelBtnSprite(&form.DXSpriteEngine, i);
}

void RemoveSelectionButtons(TMainZubForm& form) { KillActors<TSelBtnSprite>(form.DXSpriteEngine); }

void OpenStageSelection(TMainZubForm& form) {
  TGameRec& g = *GameRec;
  // 1.
  if (!LoadStageSet(g.SelectSetPath)) {
    GameState = 31;
    return;
  }
  // 2. (Opened again from the menu, or while the title's blind still runs: one hand,
  // and a fresh blind towards the stage shown.)
  GameState = 21;
  CancelBlind(form);
  KillActors<THand3Sprite>(form.DXSpriteEngine);
  new THand3Sprite(&form.DXSpriteEngine);
  const int d = std::clamp(g.Difficulty, 0, 4);
  const int last = LastStageOf(d);
  if (g.LastStage[d] > last) g.LastStage[d] = last;
  SelectStageNo = std::max(0, g.LastStage[d]);
  // 3.
  KillActors<TSecretBtnSprite>(form.DXSpriteEngine);
  SecretPresses = 0;
  for (int i = 0; i < 4; ++i) new TSecretBtnSprite(&form.DXSpriteEngine, i);
  // 4.
  ShowStageTally(SelectStageNo);
  form.UpdateMenus();
  TitleLocked = true;
  StartBlind(form, SelectStageNo);
}

}  // namespace zubroll
