#include "zubroll/sprite/surface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>

namespace zubroll {

void TDirectDrawSurface::Fill(uint8_t colour) { std::fill(Pixels.begin(), Pixels.end(), colour); }

void TDirectDrawSurface::FillRect(const TRect& r, uint8_t colour) {
  const int l = std::max(0, r.Left), t = std::max(0, r.Top);
  const int rr = std::min(Width, r.Right), b = std::min(Height, r.Bottom);
  for (int y = t; y < b; ++y)
    std::memset(&Pixels[size_t(y) * Width + l], colour, size_t(std::max(0, rr - l)));
}

void TDirectDrawSurface::Blit(int x, int y, const uint8_t* src, int w, int h, int pitch,
                              bool transparent, uint8_t key) {
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(Width, x + w), y1 = std::min(Height, y + h);
  if (x0 >= x1 || y0 >= y1) return;
  for (int yy = y0; yy < y1; ++yy) {
    const uint8_t* s = src + size_t(yy - y) * pitch + (x0 - x);
    uint8_t* d = &Pixels[size_t(yy) * Width + x0];
    if (!transparent) {
      std::memcpy(d, s, size_t(x1 - x0));
    } else {
      for (int xx = x0; xx < x1; ++xx, ++s, ++d)
        if (*s != key) *d = *s;
    }
  }
}

uint8_t TDirectDrawSurface::NearestColour(TRGB c) const {
  int best = 0;
  long bestd = -1;
  for (int i = 0; i < 256; ++i) {
    const long dr = long(Palette[i].r) - c.r, dg = long(Palette[i].g) - c.g,
               db = long(Palette[i].b) - c.b;
    const long d = dr * dr + dg * dg + db * db;
    if (i == 254 && d != 0) continue;
    if (bestd < 0 || d < bestd) {
      bestd = d;
      best = i;
    }
  }
  return uint8_t(best);
}

void TDirectDrawSurface::PaletteAs0RGB(uint32_t out[256]) const {
  for (int i = 0; i < 256; ++i)
    out[i] = (uint32_t(Palette[i].r) << 16) | (uint32_t(Palette[i].g) << 8) | Palette[i].b;
}

namespace {

struct Fonts {
  FT_Library lib = nullptr;
  FT_Face regular = nullptr, bold = nullptr;
  bool tried = false;
  ~Fonts() {
    if (regular) FT_Done_Face(regular);
    if (bold) FT_Done_Face(bold);
    if (lib) FT_Done_FreeType(lib);
  }
  FT_Face face(bool b) {
    if (!tried) {
      tried = true;
      if (FT_Init_FreeType(&lib) == 0) {
        const char* dir = "/usr/share/fonts/truetype/dejavu/";
        std::string r = std::string(dir) + "DejaVuSans.ttf", bd = std::string(dir) + "DejaVuSans-Bold.ttf";
        if (FT_New_Face(lib, r.c_str(), 0, &regular) != 0) regular = nullptr;
        if (FT_New_Face(lib, bd.c_str(), 0, &bold) != 0) bold = nullptr;
      }
    }
    return b && bold ? bold : regular;
  }
};
Fonts& fonts() {
  static Fonts f;
  return f;
}

// Walks the glyphs of an 8-bit text (bytes above 127 are taken as Latin-1);
// calls draw for each rendered monochrome bitmap. Returns the advance width.
template <class Fn>
int walk(const std::string& text, const TFontSpec& font, Fn draw) {
  FT_Face face = fonts().face(font.Bold);
  if (!face) return -1;
  FT_Set_Char_Size(face, 0, font.Size * 64, 96, 96);
  const int ascender = int(face->size->metrics.ascender >> 6);
  int pen = 0;
  for (unsigned char ch : text) {
    if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) continue;
    FT_GlyphSlot g = face->glyph;
    draw(pen + g->bitmap_left, ascender - g->bitmap_top, g->bitmap);
    pen += int(g->advance.x >> 6);
  }
  return pen;
}

}  // namespace

bool TCanvas::TextOut(int x, int y, const std::string& text, const TFontSpec& font) {
  const uint8_t colour = surface_->NearestColour(font.Colour);
  const int w = walk(text, font, [&](int gx, int gy, const FT_Bitmap& bm) {
    for (unsigned r = 0; r < bm.rows; ++r) {
      const unsigned char* row = bm.buffer + long(r) * bm.pitch;
      for (unsigned c = 0; c < bm.width; ++c)
        if (row[c >> 3] & (0x80 >> (c & 7))) surface_->SetPixel(x + gx + int(c), y + gy + int(r), colour);
    }
  });
  return w >= 0;
}

int TCanvas::TextWidth(const std::string& text, const TFontSpec& font) {
  return std::max(0, walk(text, font, [](int, int, const FT_Bitmap&) {}));
}

}  // namespace zubroll
