#include "zubroll/sprite/sprite.h"

#include <algorithm>

namespace zubroll {

TSprite::TSprite(TSpriteEngine* engine) : engine_(engine) {
  if (engine_) engine_->add(this);
}

TSprite::~TSprite() = default;

void TSprite::SetZ(int z) {
  z_ = z;
  if (engine_) engine_->resort(this);
}

void TSprite::Dead() {
  if (dead_) return;
  dead_ = true;
  if (engine_) engine_->dead_.push_back(this);
}

void TSprite::DoMove(int) {}
void TSprite::DoCollision(TSprite*, bool&) {}
void TSprite::DoDraw() {}

TRect TSprite::GetBoundsRect() const {
  const int x = int(X), y = int(Y);
  return TRect{x, y, x + Width, y + Height};
}

TRect TSprite::GetCollisionRect() const {
  const TRect& c = CollisionRect;
  if (c.Left == 0 && c.Top == 0 && c.Right == 0 && c.Bottom == 0) return GetBoundsRect();
  const int x = int(X), y = int(Y);
  return TRect{x + c.Left, y + c.Top, x + c.Right, y + c.Bottom};
}

bool TSprite::TestCollision(TSprite*) { return true; }

bool TSprite::Qualifies(const TSprite& S, const TSprite& T) {
  if (T.CollisionGroup == S.CollisionGroup || T.CollisionGroup == S.IgnoreGroup) return false;
  if (S.TargetGroup != 0) return S.TargetGroup == T.CollisionGroup;
  return T.TargetGroup == 0 || T.TargetGroup == S.CollisionGroup;
}

void TSprite::Collision() {
  if (!engine_ || dead_ || !Collisioned || Passive) return;
  bool done = false;
  const TRect mine = GetCollisionRect();
  // Index loop: a DoCollision may create sprites; they are examined too.
  for (size_t i = 0; i < engine_->items_.size(); ++i) {
    TSprite* t = engine_->items_[i];
    // A sprite that has died is not hit again (the engine frees it at its next Dead).
    if (t == this || t->dead_ || !Qualifies(*this, *t) || !t->Collisioned) continue;
    if (!OverlapRect(mine, t->GetCollisionRect())) continue;
    if (!TestCollision(t) || !t->TestCollision(this)) continue;
    DoCollision(t, done);
    t->DoCollision(this, done);
  }
}

void TImageSprite::SetImage(TPictureCollectionItem* item) {
  Image = item;
  if (item) {
    Width = item->PatW();
    Height = item->PatH();
  }
}

void TImageSprite::DoMove(int) {
  if (AnimCount <= 0) return;
  if (AnimPos < 0) {
    AnimPos = 0;
    AnimSpeed = 0;
  } else if (AnimPos > AnimCount - 1) {
    AnimPos = AnimCount - 1;
    AnimSpeed = 0;
  }
}

void TImageSprite::DoDraw() {
  if (!Image || !Engine() || !Engine()->Surface) return;
  const int x = int(X) + (Width - Image->PatW()) / 2;
  const int y = int(Y) + (Height - Image->PatH()) / 2;
  Image->Draw(Engine()->Surface, x, y, Pattern());
}

int TImageSprite::OpaquePixelAt(int sx, int sy) const {
  if (!Image) return -1;
  const int x = sx - (int(X) + (Width - Image->PatW()) / 2);
  const int y = sy - (int(Y) + (Height - Image->PatH()) / 2);
  const int p = Image->PatternPixel(Pattern(), x, y);
  if (p < 0 || (Image->Transparent && p == Image->TransparentColor)) return -1;
  return p;
}

bool TImageSprite::TestCollision(TSprite* other) {
  if (!PixelCheck) return true;
  auto* o = dynamic_cast<TImageSprite*>(other);
  if (!o || !Image || !o->Image) return true;
  const TRect a = GetCollisionRect(), b = o->GetCollisionRect();
  const int l = std::max(a.Left, b.Left), r = std::min(a.Right, b.Right);
  const int t = std::max(a.Top, b.Top), bt = std::min(a.Bottom, b.Bottom);
  for (int y = t; y < bt; ++y)
    for (int x = l; x < r; ++x)
      if (OpaquePixelAt(x, y) >= 0 && o->OpaquePixelAt(x, y) >= 0) return true;
  return false;
}

TSpriteEngine::~TSpriteEngine() { Clear(); }

void TSpriteEngine::add(TSprite* s) {
  items_.push_back(s);
  resort(s);
}

void TSpriteEngine::resort(TSprite* s) {
  auto it = std::find(draw_.begin(), draw_.end(), s);
  if (it != draw_.end()) draw_.erase(it);
  s->zstamp_ = ++stamp_;
  // Before the first sprite of equal or higher Z: the latest set of equal Z comes first.
  auto pos = std::find_if(draw_.begin(), draw_.end(), [&](TSprite* o) { return o->z_ >= s->z_; });
  draw_.insert(pos, s);
}

void TSpriteEngine::Move(int MoveCount) {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->Moved) items_[i]->Move(MoveCount);
}

void TSpriteEngine::Collisions() {
  for (size_t i = 0; i < items_.size(); ++i) items_[i]->Collision();
}

void TSpriteEngine::Dead() {
  // A destructor may kill further sprites; keep going until none is left.
  while (!dead_.empty()) {
    std::vector<TSprite*> list;
    list.swap(dead_);
    for (TSprite* s : list) {
      items_.erase(std::remove(items_.begin(), items_.end(), s), items_.end());
      draw_.erase(std::remove(draw_.begin(), draw_.end(), s), draw_.end());
    }
    for (TSprite* s : list) {
      s->engine_ = nullptr;
      delete s;
    }
  }
}

void TSpriteEngine::Draw() {
  const TRect screen{0, 0, Surface ? Surface->Width : 0, Surface ? Surface->Height : 0};
  const std::vector<TSprite*> order = draw_;  // a DoDraw must not disturb the walk
  for (TSprite* s : order)
    if (s->Visible && OverlapRect(s->GetBoundsRect(), screen)) s->Draw();
}

std::vector<TSprite*> TSpriteEngine::DrawOrder() const { return draw_; }

void TSpriteEngine::Clear() {
  if (clearing_) return;
  clearing_ = true;
  std::vector<TSprite*> all;
  all.swap(items_);
  draw_.clear();
  dead_.clear();
  for (TSprite* s : all) {
    s->engine_ = nullptr;
    delete s;
  }
  clearing_ = false;
}

}  // namespace zubroll
