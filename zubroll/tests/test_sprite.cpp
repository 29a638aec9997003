#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "zubroll/sprite/sprite.h"

using namespace zubroll;

namespace {

// An actor that records the contacts it sees.
struct Probe : TImageSprite {
  Probe(TSpriteEngine* e, std::string n, std::vector<std::string>* log) : TImageSprite(e), name(std::move(n)), log(log) {
    Width = Height = 10;
  }
  std::string name;
  std::vector<std::string>* log;
  bool die_on_hit = false;
  int moves = 0;
  void DoCollision(TSprite* s, bool&) override {
    log->push_back(name + ">" + static_cast<Probe*>(s)->name);
    if (die_on_hit) Dead();
  }
  void DoMove(int mc) override {
    ++moves;
    TImageSprite::DoMove(mc);
  }
};

TPictureCollectionItem MakeItem(int w, int h, int pw, int ph, bool transparent) {
  TPictureCollectionItem it;
  it.Name = "Test";
  it.PatternWidth = pw;
  it.PatternHeight = ph;
  it.Transparent = transparent;
  it.Picture.Width = w;
  it.Picture.Height = h;
  it.Picture.Pixels.assign(size_t(w) * h, 254);
  return it;
}

}  // namespace

TEST(SpriteEngine, CollisionQualificationTable) {
  struct Case {
    int sg, si, st, tg, tt;
    bool hit;
  } cases[] = {
      // S group, S ignore, S target, T group, T target
      {1, 0, 0, 2, 0, true},     // plain groups meet
      {1, 0, 0, 1, 0, false},    // same group never
      {1, 2, 0, 2, 0, false},    // ignored group
      {1, 0, 2, 2, 0, true},     // S targets T's group
      {1, 0, 3, 2, 0, false},    // S targets another group
      {1, 0, 0, 2, 1, true},     // T targets S's group
      {1, 0, 0, 2, 3, false},    // T targets another group
      {-16, 0, 0, -17, -16, true},  // the title hand touches a title button
      {-17, 0, -16, -16, 0, true},  // and the button finds the hand
      {-15, 10, 0, 10, 0, false},   // the editor hand ignores eggs
      {1, 0, 2, 2, 5, true},     // a non-zero S target decides alone
  };
  for (const Case& c : cases) {
    TSprite s(nullptr), t(nullptr);
    s.CollisionGroup = c.sg;
    s.IgnoreGroup = c.si;
    s.TargetGroup = c.st;
    t.CollisionGroup = c.tg;
    t.TargetGroup = c.tt;
    EXPECT_EQ(TSprite::Qualifies(s, t), c.hit) << c.sg << " " << c.si << " " << c.st << " " << c.tg << " " << c.tt;
  }
}

TEST(SpriteEngine, HitCallsBothSidesAndSkipsPassiveOrUncollisioned) {
  TDirectDrawSurface surf;
  TSpriteEngine e(&surf);
  std::vector<std::string> log;
  auto* a = new Probe(&e, "a", &log);
  auto* b = new Probe(&e, "b", &log);
  auto* c = new Probe(&e, "c", &log);
  auto* d = new Probe(&e, "d", &log);
  a->CollisionGroup = 1;
  b->CollisionGroup = 2;
  c->CollisionGroup = 3;
  d->CollisionGroup = 4;
  b->Passive = true;    // is hit, never checks
  c->Collisioned = false;  // neither
  d->X = 50;            // apart
  e.Collisions();
  // a checks b (hit: a then b), b is passive, c is off, d touches nobody.
  EXPECT_EQ(log, (std::vector<std::string>{"a>b", "b>a"}));
}

TEST(SpriteEngine, CollisionRectangleOffsetsAndDefault) {
  TSpriteEngine e(nullptr);
  std::vector<std::string> log;
  auto* hand = new Probe(&e, "hand", &log);
  auto* btn = new Probe(&e, "btn", &log);
  hand->CollisionGroup = -16;
  hand->CollisionRect = {6, 0, 8, 4};
  hand->X = 100;
  hand->Y = 100;
  btn->CollisionGroup = -17;
  btn->TargetGroup = -16;
  btn->Passive = true;
  btn->Width = 56;
  btn->Height = 46;
  btn->X = 107;  // the hand's hot spot (106..108) reaches x 107
  btn->Y = 103;
  EXPECT_EQ(hand->GetCollisionRect().Left, 106);
  EXPECT_EQ(hand->GetCollisionRect().Bottom, 104);
  e.Collisions();
  EXPECT_EQ(log.size(), 2u);
  log.clear();
  btn->X = 108;  // edges touching do not overlap
  e.Collisions();
  EXPECT_TRUE(log.empty());
}

TEST(SpriteEngine, DeadDuringCollisionPassIsDeferred) {
  TSpriteEngine e(nullptr);
  std::vector<std::string> log;
  auto* a = new Probe(&e, "a", &log);
  auto* b = new Probe(&e, "b", &log);
  auto* c = new Probe(&e, "c", &log);
  a->CollisionGroup = 1;
  b->CollisionGroup = 2;
  c->CollisionGroup = 3;
  a->die_on_hit = true;
  e.Collisions();
  // a dies at its first contact but finishes its own check (no early stop); after that
  // it is neither checked nor hit. b and c, both active, meet once from each side.
  EXPECT_EQ(log, (std::vector<std::string>{"a>b", "b>a", "a>c", "c>a", "b>c", "c>b", "c>b", "b>c"}));
  EXPECT_TRUE(a->Deaded());
  EXPECT_EQ(e.Count(), 3);
  e.Dead();
  EXPECT_EQ(e.Count(), 2);
  EXPECT_EQ(e.Items(0), b);
  log.clear();
  e.Collisions();
  EXPECT_EQ(log, (std::vector<std::string>{"b>c", "c>b", "c>b", "b>c"}));
}

TEST(SpriteEngine, DrawOrderForEqualZ) {
  TSpriteEngine e(nullptr);
  std::vector<std::string> log;
  auto* a = new Probe(&e, "a", &log);
  auto* b = new Probe(&e, "b", &log);
  auto* c = new Probe(&e, "c", &log);
  a->SetZ(5);
  b->SetZ(5);
  c->SetZ(2);
  auto order = e.DrawOrder();
  ASSERT_EQ(order.size(), 3u);
  EXPECT_EQ(order[0], c);
  EXPECT_EQ(order[1], b);  // b's Z was set after a's: drawn first
  EXPECT_EQ(order[2], a);
  a->SetZ(5);  // setting it again makes a the latest
  order = e.DrawOrder();
  EXPECT_EQ(order[1], a);
  EXPECT_EQ(order[2], b);
}

TEST(SpriteEngine, DrawUsesZAndTransparencyAndSkipsInvisible) {
  TDirectDrawSurface surf(40, 40);
  TSpriteEngine e(&surf);
  TPictureCollectionItem red = MakeItem(8, 4, 4, 4, true);  // two 4x4 patterns
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) red.Picture.Pixels[size_t(y) * 8 + x] = x < 4 ? 10 : 11;
  red.Picture.Pixels[0] = 254;  // transparent corner of pattern 0
  TPictureCollectionItem blue = MakeItem(4, 4, 0, 0, false);
  std::fill(blue.Picture.Pixels.begin(), blue.Picture.Pixels.end(), 20);
  auto* top = new TImageSprite(&e);
  top->SetImage(&red);
  top->X = 2;
  top->Y = 2;
  top->SetZ(3);
  auto* under = new TImageSprite(&e);
  under->SetImage(&blue);
  under->X = 2;
  under->Y = 2;
  under->SetZ(1);
  auto* hidden = new TImageSprite(&e);
  hidden->SetImage(&blue);
  hidden->X = 20;
  hidden->Y = 20;
  hidden->Visible = false;
  e.Draw();
  EXPECT_EQ(surf.Pixel(2, 2), 20);  // transparent pixel shows what is under
  EXPECT_EQ(surf.Pixel(3, 3), 10);
  EXPECT_EQ(surf.Pixel(20, 20), 0);
  top->AnimPos = 1.7;  // pattern AnimStart + trunc(AnimPos)
  e.Draw();
  EXPECT_EQ(surf.Pixel(3, 3), 11);
  EXPECT_EQ(surf.Pixel(2, 2), 11);
}

TEST(SpriteEngine, BaseMoveClampsAnimationWithoutAnimating) {
  TSpriteEngine e(nullptr);
  auto* s = new TImageSprite(&e);
  s->AnimCount = 4;
  s->AnimSpeed = 0.5;
  s->AnimPos = 1;
  e.Move(16);
  EXPECT_EQ(s->AnimPos, 1);  // not advanced
  EXPECT_EQ(s->AnimSpeed, 0.5);
  s->AnimPos = 9;
  e.Move(1);
  EXPECT_EQ(s->AnimPos, 3);
  EXPECT_EQ(s->AnimSpeed, 0);
  s->AnimPos = -2;
  s->AnimSpeed = 1;
  e.Move(1);
  EXPECT_EQ(s->AnimPos, 0);
  EXPECT_EQ(s->AnimSpeed, 0);
}

TEST(SpriteEngine, MoveOnlyMovedSpritesInEngineOrder) {
  TSpriteEngine e(nullptr);
  std::vector<std::string> log;
  auto* a = new Probe(&e, "a", &log);
  auto* b = new Probe(&e, "b", &log);
  b->Moved = false;
  e.Move(1);
  EXPECT_EQ(a->moves, 1);
  EXPECT_EQ(b->moves, 0);
}

TEST(SpriteEngine, PixelCheckNeedsOpaquePixelsToMeet) {
  TSpriteEngine e(nullptr);
  std::vector<std::string> log;
  TPictureCollectionItem img = MakeItem(4, 4, 0, 0, true);
  img.Picture.Pixels[0] = 30;  // only the top-left pixel is solid
  auto* a = new Probe(&e, "a", &log);
  auto* b = new Probe(&e, "b", &log);
  a->SetImage(&img);
  b->SetImage(&img);
  a->CollisionGroup = 1;
  b->CollisionGroup = 2;
  a->PixelCheck = b->PixelCheck = true;
  b->X = 2;  // rectangles overlap, solid pixels do not
  e.Collisions();
  EXPECT_TRUE(log.empty());
  b->X = 0;
  e.Collisions();
  EXPECT_FALSE(log.empty());
}

TEST(ImageList, FindIgnoresCaseAndNamesTheMissingImage) {
  TDXImageList list;
  list.Add("Aboutpic");
  list.Add("BBOSBody");
  EXPECT_EQ(list.Find("AboutPic"), &list.Item(0));
  EXPECT_EQ(list.Find("BBosBody"), &list.Item(1));
  try {
    list.Find("Nothing");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Image 'Nothing' not found");
  }
}

TEST(ImageList, PatternsAreNumberedLeftToRightThenTopToBottom) {
  TPictureCollectionItem it = MakeItem(6, 4, 2, 2, false);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) it.Picture.Pixels[size_t(y) * 6 + x] = uint8_t((y / 2) * 3 + x / 2);
  EXPECT_EQ(it.PatternCount(), 6);
  for (int n = 0; n < 6; ++n) EXPECT_EQ(it.PatternPixel(n, 1, 1), n);
  TDirectDrawSurface s(8, 8);
  s.Fill(99);
  it.Draw(&s, 0, 0, 6);  // out of range: nothing
  it.Draw(&s, 0, 0, -1);
  EXPECT_EQ(s.Pixel(0, 0), 99);
  it.Draw(&s, -1, 7, 4);  // clipped at the edges
  EXPECT_EQ(s.Pixel(0, 7), 4);
}

TEST(ImageList, BmpRoundTripAndRejectsBadFiles) {
  TDIB dib;
  dib.Width = 5;
  dib.Height = 3;
  dib.Pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 256; ++i) dib.Palette[i] = TRGB{uint8_t(i), uint8_t(255 - i), 7};
  const auto bytes = MakeBmp8(dib);
  TDIB back;
  std::string err;
  ASSERT_TRUE(ParseBmp8(bytes.data(), bytes.size(), back, err)) << err;
  EXPECT_EQ(back.Width, 5);
  EXPECT_EQ(back.Height, 3);
  EXPECT_EQ(back.Pixels, dib.Pixels);
  EXPECT_EQ(back.Palette[200].g, 55);
  EXPECT_FALSE(ParseBmp8(bytes.data(), bytes.size() - 3, back, err));  // truncated
  EXPECT_FALSE(err.empty());
  std::vector<uint8_t> bad = bytes;
  bad[28] = 24;  // not 8-bit
  EXPECT_FALSE(ParseBmp8(bad.data(), bad.size(), back, err));
  EXPECT_FALSE(ParseBmp8(bytes.data(), 10, back, err));
}

TEST(ImageList, RemapKeepsTransparentIndex) {
  TRGB to[256];
  for (int i = 0; i < 256; ++i) to[i] = TRGB{uint8_t(i), uint8_t(i), uint8_t(i)};
  to[254] = TRGB{0, 255, 255};
  TDIB dib;
  dib.Width = 3;
  dib.Height = 1;
  dib.Pixels = {254, 1, 2};
  dib.Palette[254] = TRGB{0, 255, 255};
  dib.Palette[1] = TRGB{100, 100, 100};
  dib.Palette[2] = TRGB{0, 250, 250};  // near aqua, but must not become transparent
  RemapToPalette(dib, to, 254);
  EXPECT_EQ(dib.Pixels[0], 254);
  EXPECT_EQ(dib.Pixels[1], 100);
  EXPECT_NE(dib.Pixels[2], 254);
}

TEST(Surface, CanvasDrawsTextInNearestColour) {
  TDirectDrawSurface s(200, 40);
  for (int i = 0; i < 256; ++i) s.Palette[i] = TRGB{uint8_t(i), 0, 0};
  s.Palette[254] = TRGB{0, 255, 255};
  TCanvas c(&s);
  TFontSpec f;
  f.Size = 12;
  f.Bold = true;
  f.Colour = TRGB{200, 0, 0};
  ASSERT_TRUE(c.TextOut(5, 5, "V1.0.8E", f));
  int lit = 0;
  for (uint8_t p : s.Pixels) lit += p == 200;
  EXPECT_GT(lit, 20);
  EXPECT_GT(c.TextWidth("V1.0.8E", f), 30);
}

#include "zubroll/sprite/dxsound.h"

TEST(WaveList, FindIgnoresCaseAndLimitsOverlappingPlays) {
  platform::Mixer mixer(22050);
  TDXWaveList list(&mixer);
  TWaveCollectionItem& it = list.Add("EKDEAD");
  platform::WavData wav;
  wav.format = {11127, 1, 8};
  wav.data.assign(4000, 128);
  it.SetWave(wav);
  EXPECT_EQ(list.Find("ekdead"), &it);
  try {
    list.Find("Missing");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Wave 'Missing' not found");
  }
  it.SetPan(-1000);
  it.SetVolume(-20000);  // clamped to silence
  EXPECT_EQ(it.Volume(), -10000);
  for (int i = 0; i < 6; ++i) it.Play(false);
  EXPECT_EQ(it.CopyCount(), 6);
  EXPECT_EQ(it.PlayingCount(), 6);
  it.Play(false);  // the seventh restarts the oldest copy
  EXPECT_EQ(it.CopyCount(), 6);
  EXPECT_EQ(it.PlayingCount(), 6);
  EXPECT_EQ(mixer.voice_count(), 6);
  it.Stop();
  EXPECT_FALSE(it.Playing());
  it.Play(false);  // a stopped copy is used again
  EXPECT_EQ(it.CopyCount(), 6);
  it.ClearWave();
  EXPECT_EQ(mixer.voice_count(), 0);
  it.Play(false);  // no data: nothing
  EXPECT_EQ(it.CopyCount(), 0);
}
