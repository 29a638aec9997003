#include "zubroll/shell/Blind.h"

#include "zubroll/play/Field.h"
#include "zubroll/shell/Main.h"
#include "zubroll/shell/Scene.h"
#include "zubroll/shell/Selector.h"
#include "zubroll/shell/bgpat.h"

namespace zubroll {

int BlindSpeed = 0;

TBlindSprite::TBlindSprite(TSpriteEngine* e, int side, int order, int target, bool leader)
    : TImageSprite(e), Direction(side == 0 ? 1 : -1), Count(-4 * order), Target(target), Leader(leader) {
  SetImage(MainZubForm->DXImageList.Find("Blind"));
  AnimStart = side;
  X = side == 0 ? -42 : 386;
  Y = 0;
  SetZ(21);
  IgnoreGroup = 10;
  Collisioned = false;
}

void TBlindSprite::DoMove(int MoveCount) {
  // A cancelled strip still gets this frame's move before the engine frees it; it
  // must not count on, or a leader of the old blind would rebuild the scene or set
  // the speed of the blind that replaced it.
  if (Deaded()) return;
  if (GameState == 33) {
    Remove();
    return;
  }
  if (TitleLocked) {
    ++Count;
    if (Leader) LeaderStep();
    if (Count > 0) X += BlindSpeed * Direction;
  }
  if (X < -50 || X > 386) {
    Remove();
    return;
  }
  TImageSprite::DoMove(MoveCount);
}

void TBlindSprite::LeaderStep() {
  TMainZubForm& f = *MainZubForm;
  const bool title = GameState == 30 || GameState == 31;
  switch (Count) {
    case kBlindClosedCount:
      ClearFieldActors();
      if (SceneHooks().BlindClosed) SceneHooks().BlindClosed();
      break;
    case kBlindRebuildCount:
      BlindSpeed = 0;
      if (title) {
        FieldReset = true;
        RemoveTitleAndSelectionButtons(f);
        RemoveTitleActors(f);  // never two logos
        CreateTitleActors(f);
        CreateTitleButtons(f);
      } else {
        // The field laid out now must live. A reset can still stand here when the
        // stage selection was opened from the about page or cut a title blind off
        // after its rebuild; every stale play actor has had its moves since.
        FieldReset = false;
        RemoveTitleActors(f);
        RemoveTitleAndSelectionButtons(f);
        BuildStageField(Target);
        if (GameState == 21) CreateSelectionButtons(f);
        TGameRec& g = *GameRec;
        g.BackgroundNo = (g.BackgroundNo + 1) % 16;
        const int boss = StageBossKind(Target);
        SetBackgroundPattern(f, boss >= 1 && boss <= 4 ? 15 + boss : g.BackgroundNo);
      }
      break;
    case kBlindSettleCount:
      if (title) FieldReset = false;
      break;
    case kBlindOpenCount:
      BlindSpeed = -8;
      break;
    default:
      break;
  }
}

void TBlindSprite::Remove() {
  if (Deaded()) return;
  Dead();
  if (Leader) {
    TitleLocked = false;
    BlindActive = false;
  }
}

void StartBlind(TMainZubForm& form, int target) {
  if (BlindActive) return;
  if (SceneHooks().ChooseBlindMusic) SceneHooks().ChooseBlindMusic(target);
  BlindActive = true;
  BlindSpeed = 8;
  for (int i = 0; i < 8; ++i) new TBlindSprite(&form.DXSpriteEngine, 0, i, target, i == 0);
  for (int i = 0; i < 8; ++i) new TBlindSprite(&form.DXSpriteEngine, 1, i, target, false);
}

void CancelBlind(TMainZubForm& form) {
  TSpriteEngine& e = form.DXSpriteEngine;
  for (int i = 0; i < e.Count(); ++i)
    if (auto* b = dynamic_cast<TBlindSprite*>(e.Items(i))) b->Dead();
  TitleLocked = false;
  BlindActive = false;
}

}  // namespace zubroll
