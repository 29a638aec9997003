#include "palette.h"

#include <algorithm>
#include <cmath>

namespace zubroll::art {

namespace {

Rgb hsl(double h, double s, double l) {
  auto f = [&](double n) {
    double k = std::fmod(n + h / 30.0, 12.0);
    double a = s * std::min(l, 1.0 - l);
    double v = l - a * std::max(-1.0, std::min({k - 3.0, 9.0 - k, 1.0}));
    return uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  return {f(0), f(8), f(4)};
}

Palette build() {
  Palette p{};
  const Rgb low[10] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                       {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                       {192, 220, 192}, {166, 202, 240}};
  const Rgb high[10] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                        {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                        {0, 255, 255},   {255, 255, 255}};
  for (int i = 0; i < 10; ++i) p[i] = low[i], p[246 + i] = high[i];
  for (int i = 0; i < kGreyCount; ++i) {
    uint8_t v = uint8_t(std::lround(14 + i * (240.0 - 14) / (kGreyCount - 1)));
    p[kGreyFirst + i] = {v, v, v};
  }
  // hue (degrees), saturation, darkest and lightest lightness
  struct R { double h, s, l0, l1; };
  const R ramps[kRampCount] = {
      {0, 0.85, 0.10, 0.90},   {14, 0.90, 0.10, 0.90},  {28, 0.95, 0.10, 0.90},
      {40, 0.95, 0.10, 0.90},  {53, 0.95, 0.12, 0.92},  {80, 0.75, 0.08, 0.90},
      {118, 0.60, 0.07, 0.88}, {150, 0.60, 0.07, 0.88}, {180, 0.70, 0.07, 0.90},
      {200, 0.80, 0.10, 0.92}, {220, 0.75, 0.10, 0.90}, {245, 0.60, 0.10, 0.90},
      {275, 0.60, 0.10, 0.90}, {305, 0.65, 0.10, 0.90}, {345, 0.75, 0.12, 0.93},
      {26, 0.50, 0.07, 0.80},  {22, 0.70, 0.20, 0.93},  {45, 0.55, 0.20, 0.96},
  };
  for (int r = 0; r < kRampCount; ++r)
    for (int k = 0; k < kRampShades; ++k) {
      double t = double(k) / (kRampShades - 1);
      double l = ramps[r].l0 + (ramps[r].l1 - ramps[r].l0) * t;
      // a slight hue shift: shadows lean cool, lights lean warm
      double h = ramps[r].h + (0.5 - t) * 8.0;
      if (h < 0) h += 360;
      p[kRampFirst + r * kRampShades + k] = hsl(h, ramps[r].s, l);
    }
  return p;
}

}  // namespace

const Palette& game_palette() {
  static const Palette p = build();
  return p;
}

Quantiser::Quantiser(const Palette& pal) : pal_(pal), cache_(1 << 18, -1) {
  for (int i = 0; i < 256; ++i) {
    if (i == 254) continue;
    bool dup = false;
    for (int j : candidates_) dup |= pal[j] == pal[i];
    // the bright system primaries look garish in shaded art: keep them out of
    // the automatic choice (code may still use them by index)
    bool primary = i >= 249 && i <= 253;
    if (!dup && !primary) candidates_.push_back(i);
  }
}

uint8_t Quantiser::nearest(uint8_t r, uint8_t g, uint8_t b) {
  int key = (r >> 2) << 12 | (g >> 2) << 6 | (b >> 2);
  int16_t& c = cache_[key];
  if (c >= 0) return uint8_t(c);
  // centre of the 6-bit cell
  int R = (r & 0xFC) | 2, G = (g & 0xFC) | 2, B = (b & 0xFC) | 2;
  long best = -1;
  int bi = 0;
  for (int i : candidates_) {
    const Rgb& p = pal_[i];
    long dr = R - p.r, dg = G - p.g, db = B - p.b;
    long rm = (R + p.r) / 2;  // "redmean" weighting
    long d = ((512 + rm) * dr * dr >> 8) + 4 * dg * dg + ((767 - rm) * db * db >> 8);
    if (best < 0 || d < best) best = d, bi = i;
  }
  c = int16_t(bi);
  return uint8_t(bi);
}

}  // namespace zubroll::art
