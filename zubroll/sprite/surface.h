// The 8-bit drawing surface of the egg game (512 x 400, PalDIB palette) and
// its canvas for text output.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zubroll {

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
inline bool OverlapRect(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

struct TRGB {
  uint8_t r = 0, g = 0, b = 0;
};

class TDirectDrawSurface {
 public:
  TDirectDrawSurface(int w = 512, int h = 400) : Width(w), Height(h), Pixels(size_t(w) * h, 0) {}
  int Width, Height;
  std::vector<uint8_t> Pixels;  // Width bytes per row
  TRGB Palette[256];            // the colour table

  void Fill(uint8_t colour);
  uint8_t Pixel(int x, int y) const {
    return (x < 0 || y < 0 || x >= Width || y >= Height) ? 0 : Pixels[size_t(y) * Width + x];
  }
  void SetPixel(int x, int y, uint8_t c) {
    if (x >= 0 && y >= 0 && x < Width && y < Height) Pixels[size_t(y) * Width + x] = c;
  }
  void FillRect(const TRect& r, uint8_t colour);
  // Copies a w x h block of an 8-bit picture (pitch bytes per row) to (x, y),
  // clipped; with transparent set, pixels of colour `key` are skipped.
  void Blit(int x, int y, const uint8_t* src, int w, int h, int pitch, bool transparent, uint8_t key);
  // Nearest palette entry to an RGB colour (entry 254, the transparent aqua, is never chosen
  // unless exact).
  uint8_t NearestColour(TRGB c) const;
  void PaletteAs0RGB(uint32_t out[256]) const;
};

// Text output on the surface: FreeType glyphs without smoothing, in the palette
// entry nearest to the colour. Font "sans" (DejaVu Sans), sizes in points at 96 dpi.
struct TFontSpec {
  int Size = 9;
  bool Bold = false;
  TRGB Colour{0, 0, 0};
};
class TCanvas {
 public:
  explicit TCanvas(TDirectDrawSurface* s) : surface_(s) {}
  // Draws text with its top-left at (x, y), transparent background. False when no font
  // could be loaded (then nothing is drawn).
  bool TextOut(int x, int y, const std::string& text, const TFontSpec& font);
  int TextWidth(const std::string& text, const TFontSpec& font);

 private:
  TDirectDrawSurface* surface_;
};

}  // namespace zubroll
