#include "zubroll/play/Point.h"

#include <algorithm>

namespace zubroll {

TPointSprite::TPointSprite(TSpriteEngine* e, const char* image) : TPlayActor(e) {
  UseImage(image);
  SetZ(19);
  Collisioned = false;
  IgnoreGroup = 10;
}

void TPointSprite::ShowPattern() {
  int row = ColourRow;
  if (PopStyle >= 2) row = RowBase + (ColourRow - RowBase + Age) % RowCount;
  AnimPos = Symbol + PatternsPerRow * row;
}

void TPointSprite::DoMove(int) {
  if (Age >= 10) {
    Dead();
    return;
  }
  if (PopStyle == 1 || PopStyle == 3) Y -= Rise;
  ShowPattern();
  ++Age;
}

TMultiSprite::TMultiSprite(TSpriteEngine* e) : TPointSprite(e, "Multi") {
  PatternsPerRow = 11;
  RowCount = 3;
  RowBase = 1;
}

void ShowPoints(int Value, int X, int Y, int ColourRow, int Multiplier, int PopStyle) {
  TSpriteEngine* e = PlayHost.Engine;
  if (!e) return;
  Value = std::clamp(Value, 0, 9999);
  if (Multiplier <= 0) Multiplier = 1;
  Multiplier = std::min(Multiplier, 99);
  ColourRow = std::clamp(ColourRow, 0, 2);
  const int digits = Value < 10 ? 1 : Value < 100 ? 2 : Value < 1000 ? 3 : 4;
  int offset = 8 * (digits - 1);
  if (X > 340) offset -= 16;
  const bool cycling = PopStyle == 2 || PopStyle == 3;
  int v = Value;
  for (int i = 0; i < digits; ++i) {
    auto* d = new TPointSprite(e, "Point");
    d->X = X + offset - 8 * i;
    d->Y = Y;
    d->PopStyle = PopStyle;
    d->Symbol = v % 10;
    d->ColourRow = cycling ? (ColourRow + i) % 3 : ColourRow;
    d->ShowPattern();
    v /= 10;
  }
  if (Multiplier < 2) return;
  auto add = [&](int dx, int symbol, int start) {
    auto* m = new TMultiSprite(e);
    m->X = X + offset + dx;
    m->Y = Y;
    m->PopStyle = PopStyle;
    m->Symbol = symbol;
    m->ColourRow = cycling ? start : 2;
    m->ShowPattern();
  };
  add(6, 10, 1);
  if (Multiplier >= 10) {
    add(18, Multiplier / 10, 2);
    add(24, Multiplier % 10, 3);
  } else {
    add(18, Multiplier, 2);
  }
}

TStarSprite::TStarSprite(TSpriteEngine* e) : TPlayActor(e) {
  UseImage("Star");
  SetZ(19);
  Collisioned = false;
}

void TStarSprite::DoMove(int) {
  if (!GameRec || Age >= StarLife || Age >= 40) {
    Dead();
    return;
  }
  const int a = ((StarAngle % 360) + 360) % 360;
  X = UnitsToPixels(int64_t(GameRec->StarTableCos[Age][a]) * StarSpeed + X0);
  Y = UnitsToPixels(int64_t(GameRec->StarTableSin[Age][a]) * StarSpeed + Y0);
  ++Age;
  AnimPos = (Age % 2) + StarBase;
  if (Age >= StarLife || X < -32 || X > 376 || Y < -32 || Y > 400) Dead();
}

namespace {
void AddStar(int x, int y, int angle, int speed, int base, int life) {
  auto* s = new TStarSprite(PlayHost.Engine);
  s->X = x;
  s->Y = y;
  s->X0 = x * 4096;
  s->Y0 = y * 4096;
  s->StarAngle = angle;
  s->StarSpeed = speed;
  s->StarBase = base;
  s->StarLife = life;
  s->AnimPos = base;
}
}  // namespace

void StarBurst(int X, int Y) {
  if (!PlayHost.Engine) return;
  for (int i = 0; i < 18; ++i) AddStar(X, Y, 20 * i, 20 + 4 * (i % 2), 2 * (i % 2), 12);
}

void BigStarBurst(int X, int Y) {
  if (!PlayHost.Engine) return;
  for (int i = 0; i < 36; ++i) AddStar(X, Y, 10 * i, 40, 8 + 2 * (i % 2), 12);
  for (int i = 0; i < 36; ++i) AddStar(X, Y, 10 * i + 5, 50, 8 + 2 * (i % 2), 14);
  for (int i = 0; i < 36; ++i) AddStar(X, Y, 10 * i, 60, 8 + 2 * (i % 2), 16);
}

}  // namespace zubroll
