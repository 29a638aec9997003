// The egg game's sprite engine: actors derive from TImageSprite and override
// DoMove and DoCollision. The engine owns its sprites: an actor removes itself
// by calling Dead(), and the engine frees it at its next Dead().
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "zubroll/sprite/dximage.h"
#include "zubroll/sprite/surface.h"

namespace zubroll {

class TSpriteEngine;

class TSprite {
 public:
  explicit TSprite(TSpriteEngine* engine);  // the engine takes ownership
  virtual ~TSprite();
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  double X = 0, Y = 0;
  int Width = 0, Height = 0;
  bool Collisioned = true;
  bool Moved = true;
  bool Visible = true;
  int CollisionGroup = 0, IgnoreGroup = 0, TargetGroup = 0;
  bool Passive = false;
  TRect CollisionRect;  // offsets from X, Y; all 0: the bounds rectangle

  int Z() const { return z_; }
  void SetZ(int z);  // re-sorts the draw list: among equal Z the last set is drawn first
  void Dead();       // freed at the engine's next Dead()
  bool Deaded() const { return dead_; }
  TSpriteEngine* Engine() const { return engine_; }

  void Move(int MoveCount) { DoMove(MoveCount); }
  void Collision();  // the grouping rules against every top-level sprite
  void Draw() { DoDraw(); }

  virtual void DoMove(int MoveCount);
  virtual void DoCollision(TSprite* Sprite, bool& Done);
  virtual void DoDraw();
  virtual TRect GetBoundsRect() const;
  virtual bool TestCollision(TSprite* Sprite);
  TRect GetCollisionRect() const;
  // Whether T is a candidate for S's collision check by the group fields.
  static bool Qualifies(const TSprite& S, const TSprite& T);

 private:
  friend class TSpriteEngine;
  TSpriteEngine* engine_;
  int z_ = 0;
  uint64_t zstamp_ = 0;
  bool dead_ = false;
};

class TImageSprite : public TSprite {
 public:
  explicit TImageSprite(TSpriteEngine* engine) : TSprite(engine) {}
  TPictureCollectionItem* Image = nullptr;
  int AnimStart = 0, AnimCount = 0;
  double AnimPos = 0, AnimSpeed = 0;
  bool PixelCheck = false;

  // Sets Image and takes its pattern size as Width x Height.
  void SetImage(TPictureCollectionItem* item);
  int Pattern() const { return AnimStart + int(AnimPos); }

  void DoMove(int MoveCount) override;
  void DoDraw() override;
  bool TestCollision(TSprite* Sprite) override;
  // Pattern pixel under surface point (x, y); -1 when none or transparent.
  int OpaquePixelAt(int x, int y) const;
};

class TSpriteEngine {
 public:
  explicit TSpriteEngine(TDirectDrawSurface* surface) : Surface(surface) {}
  ~TSpriteEngine();
  TDirectDrawSurface* Surface;

  int Count() const { return int(items_.size()); }
  TSprite* Items(int i) const { return items_[size_t(i)]; }
  void Move(int MoveCount);   // DoMove of every sprite whose Moved is set, in engine order
  void Collisions();          // each top-level sprite's Collision, in engine order
  void Dead();                // frees the sprites that called Dead
  void Draw();                // visible sprites meeting the surface, ascending Z
  void Clear();               // frees every sprite at once
  // The draw order (for tests): sprites in the order Draw visits them.
  std::vector<TSprite*> DrawOrder() const;

 private:
  friend class TSprite;
  void add(TSprite* s);
  void resort(TSprite* s);
  std::vector<TSprite*> items_;  // engine order (creation)
  std::vector<TSprite*> draw_;   // Z ascending; equal Z: the latest set first
  std::vector<TSprite*> dead_;
  uint64_t stamp_ = 0;
  bool clearing_ = false;
};

}  // namespace zubroll
