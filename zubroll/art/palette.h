// The game palette (PalDIB) and the quantiser that maps drawn ARGB pixels to it.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace zubroll::art {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

using Palette = std::array<Rgb, 256>;

// Layout: entries 0..9 and 246..255 are the Windows static colours (0 black,
// 7 silver, 254 aqua, 255 white); 10..29 a grey ramp; 30..245 eighteen hue ramps
// of twelve shades each, dark to light.
constexpr int kGreyFirst = 10;
constexpr int kGreyCount = 20;
constexpr int kRampFirst = 30;
constexpr int kRampShades = 12;
enum Ramp {
  kRed, kVermilion, kOrange, kAmber, kYellow, kLime, kGreen, kSea, kTeal, kSky, kBlue,
  kIndigo, kViolet, kMagenta, kRose, kBrown, kSkin, kCream, kRampCount
};

const Palette& game_palette();
// Palette index of shade 0..11 of a ramp.
inline int ramp_index(Ramp r, int shade) { return kRampFirst + int(r) * kRampShades + shade; }

// Maps colours to the nearest opaque palette entry (never 254, the transparent one).
class Quantiser {
 public:
  explicit Quantiser(const Palette& pal);
  uint8_t nearest(uint8_t r, uint8_t g, uint8_t b);

 private:
  const Palette& pal_;
  std::vector<int16_t> cache_;  // 6 bits per channel
  std::vector<int> candidates_;
};

}  // namespace zubroll::art
