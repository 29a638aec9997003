#include "zubroll/shell/bgpat.h"

#include <algorithm>

#include "zubroll/play/Guide.h"
#include "zubroll/shell/Main.h"
#include "zubroll/shell/Scene.h"

namespace zubroll {

namespace {
// Scenery: drawn, never moved, never collided.
void Scenery(TImageSprite& s, const char* image, int x, int y, int z) {
  s.SetImage(MainZubForm->DXImageList.Find(image));
  s.X = x;
  s.Y = y;
  s.SetZ(z);
  s.IgnoreGroup = 10;
  s.Collisioned = false;
  s.Passive = true;
  s.Moved = false;
}
}  // namespace

TBGPatSprite::TBGPatSprite(TSpriteEngine* e, int x, int y) : TImageSprite(e) { Scenery(*this, "BgPat", x, y, -2); }
TRPSprite::TRPSprite(TSpriteEngine* e) : TImageSprite(e) { Scenery(*this, "BgRPanel", 376, 0, 22); }
TBPSprite::TBPSprite(TSpriteEngine* e) : TImageSprite(e) { Scenery(*this, "BgBPanel", 0, 371, 0); }

void CreateBackgroundActors(TMainZubForm& form) {
  InstallSceneHooks(form);
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) new TBGPatSprite(&form.DXSpriteEngine, 64 * i, 64 * j);
  SetBackgroundPattern(form, GameRec ? GameRec->BackgroundNo : 0);
  new TRPSprite(&form.DXSpriteEngine);
  new TBPSprite(&form.DXSpriteEngine);
  new TGuideSprite(&form.DXSpriteEngine);
}

void SetBackgroundPattern(TMainZubForm& form, int n) {
  n = std::clamp(n, 0, kBackgroundPatterns - 1);
  TSpriteEngine& e = form.DXSpriteEngine;
  for (int i = 0; i < e.Count(); ++i)
    if (auto* s = dynamic_cast<TBGPatSprite*>(e.Items(i))) {
      s->AnimStart = n;
      s->AnimPos = 0;
    }
}

int BackgroundPattern(TMainZubForm& form) {
  TBGPatSprite* s = FindActor<TBGPatSprite>(form.DXSpriteEngine);
  return s ? s->Pattern() : -1;
}

}  // namespace zubroll
