// The generated desktop scene.
#include "platform/desktop.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace platform {
namespace {

struct Canvas {
  int w, h;
  std::vector<uint32_t>& px;
  void fill(int x0, int y0, int x1, int y1, uint32_t c) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0), x1 = std::min(x1, w), y1 = std::min(y1, h);
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) px[(size_t)y * w + x] = c;
  }
  void hgrad(int x0, int y0, int x1, int y1, uint32_t a, uint32_t b) {
    for (int x = std::max(x0, 0); x < std::min(x1, w); ++x) fill(x, y0, x + 1, y1, mix(a, b, x - x0, x1 - x0));
  }
  static uint32_t mix(uint32_t a, uint32_t b, int t, int n) {
    if (n <= 0) return a;
    auto ch = [&](int s) {
      int ca = (a >> s) & 255, cb = (b >> s) & 255;
      return (uint32_t)(ca + (cb - ca) * t / n) << s;
    };
    return ch(16) | ch(8) | ch(0);
  }
  // Raised or sunken 3D frame, one pixel per unit.
  void bevel(int x0, int y0, int x1, int y1, bool raised, int u) {
    uint32_t lt = raised ? 0xFFFFFF : 0x808080, dk = raised ? 0x404040 : 0xFFFFFF;
    fill(x0, y0, x1, y0 + u, lt);
    fill(x0, y0, x0 + u, y1, lt);
    fill(x0, y1 - u, x1, y1, dk);
    fill(x1 - u, y0, x1, y1, dk);
  }
};

// 5 x 7 capitals, digits and a few signs; lower case is drawn as capitals.
const char* glyph5x7(char c) {
  static const struct { char c; const char* rows; } font[] = {
      {'A', "0E11111F111111"}, {'B', "1E11111E11111E"}, {'C', "0E11101010110E"}, {'D', "1C12111111121C"},
      {'E', "1F10101E10101F"}, {'F', "1F10101E101010"}, {'G', "0F10101311110F"}, {'H', "1111111F111111"},
      {'I', "0E04040404040E"}, {'J', "0702020202120C"}, {'K', "11121418141211"}, {'L', "1010101010101F"},
      {'M', "111B1515111111"}, {'N', "11191513111111"}, {'O', "0E11111111110E"}, {'P', "1E11111E101010"},
      {'Q', "0E11111115120D"}, {'R', "1E11111E141211"}, {'S', "0F10100E01011E"}, {'T', "1F040404040404"},
      {'U', "1111111111110E"}, {'V', "11111111110A04"}, {'W', "11111115151B11"}, {'X', "11110A040A1111"},
      {'Y', "11110A04040404"}, {'Z', "1F01020408101F"}, {'0', "0E11131519110E"}, {'1', "040C040404040E"},
      {'2', "0E11010204081F"}, {'3', "1F02040201110E"}, {'4', "02060A121F0202"}, {'5', "1F101E0101110E"},
      {'6', "0608101E11110E"}, {'7', "1F010204080808"}, {'8', "0E11110E11110E"}, {'9', "0E11110F01020C"},
      {':', "000C0C000C0C00"}, {'.', "0000000000000C"}, {'-', "0000001F000000"}, {'/', "01010204081010"},
  };
  if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
  for (auto& f : font)
    if (f.c == c) return f.rows;
  return nullptr;
}

int text(Canvas& cv, int x, int y, const std::string& s, uint32_t colour, int u) {
  for (char c : s) {
    if (const char* rows = glyph5x7(c)) {
      for (int r = 0; r < 7; ++r) {
        int bits = std::stoi(std::string(rows + 2 * r, 2), nullptr, 16);
        for (int b = 0; b < 5; ++b)
          if (bits & (16 >> b)) cv.fill(x + b * u, y + r * u, x + (b + 1) * u, y + (r + 1) * u, colour);
      }
    }
    x += 6 * u;
  }
  return x;
}

void window(Canvas& cv, int x, int y, int w, int h, const std::string& title, bool active, int u, int kind) {
  cv.fill(x, y, x + w, y + h, 0xD4D0C8);
  cv.bevel(x, y, x + w, y + h, true, u);
  const int tb = 12 * u;
  cv.hgrad(x + 2 * u, y + 2 * u, x + w - 2 * u, y + 2 * u + tb, active ? 0x0A246A : 0x808080,
           active ? 0xA6CAF0 : 0xC0C0C0);
  text(cv, x + 5 * u, y + 4 * u, title, 0xFFFFFF, u);
  for (int i = 0; i < 3; ++i) {  // caption buttons
    int bx = x + w - (4 + 11 * (i + 1)) * u;
    cv.fill(bx, y + 4 * u, bx + 9 * u, y + 12 * u, 0xD4D0C8);
    cv.bevel(bx, y + 4 * u, bx + 9 * u, y + 12 * u, true, 1);
  }
  const int cx = x + 4 * u, cy = y + tb + 6 * u, cw = w - 8 * u, ch = h - tb - 10 * u;
  cv.fill(cx, cy, cx + cw, cy + ch, 0xFFFFFF);
  cv.bevel(cx, cy, cx + cw, cy + ch, false, u);
  uint32_t seed = (uint32_t)(x * 31 + y * 17 + kind);
  if (kind == 0) {  // a text document: lines of words
    for (int line = 0, ly = cy + 5 * u; ly + 4 * u < cy + ch - 3 * u; ++line, ly += 9 * u) {
      int lx = cx + 5 * u;
      const int end = cx + cw - 6 * u - (line % 4 == 3 ? cw / 3 : 0);
      while (lx < end) {
        seed = seed * 1103515245u + 12345u;
        int word = (int)(2 + (seed >> 16) % 7) * 4 * u;
        if (lx + word > end) break;
        cv.fill(lx, ly, lx + word, ly + 4 * u, line == 0 ? 0x203060 : 0x505050);
        lx += word + 4 * u;
      }
    }
  } else if (kind == 1) {  // a folder: icons in a grid
    for (int iy = cy + 6 * u; iy + 24 * u < cy + ch; iy += 34 * u)
      for (int ix = cx + 8 * u; ix + 24 * u < cx + cw; ix += 40 * u) {
        seed = seed * 1103515245u + 12345u;
        bool folder = (seed >> 20) & 1;
        cv.fill(ix, iy + 4 * u, ix + 24 * u, iy + 20 * u, folder ? 0xE8C050 : 0xF0F0F0);
        cv.bevel(ix, iy + 4 * u, ix + 24 * u, iy + 20 * u, true, 1);
        if (folder) cv.fill(ix, iy + 1 * u, ix + 10 * u, iy + 4 * u, 0xD0A030);
        cv.fill(ix - 2 * u, iy + 23 * u, ix + 26 * u, iy + 26 * u, 0x606060);
      }
  } else {  // a chart
    int bars = 8;
    for (int i = 0; i < bars; ++i) {
      seed = seed * 1103515245u + 12345u;
      int bh = (int)(20 + (seed >> 16) % 60) * (ch - 20 * u) / 80;
      int bx = cx + 10 * u + i * (cw - 20 * u) / bars;
      cv.fill(bx, cy + ch - 6 * u - bh, bx + (cw - 20 * u) / bars - 4 * u, cy + ch - 6 * u,
              i % 2 ? 0x3070C0 : 0x40A050);
    }
  }
}

}  // namespace

std::vector<uint32_t> desktop_picture(int w, int h) {
  std::vector<uint32_t> px((size_t)std::max(w, 0) * std::max(h, 0), 0);
  if (w <= 0 || h <= 0) return px;
  Canvas cv{w, h, px};
  const int u = std::max(1, h / 480);
  // Wallpaper: a dusk sky over rolling hills.
  for (int y = 0; y < h; ++y) cv.fill(0, y, w, y + 1, Canvas::mix(0x1A4F8A, 0x7FB7D8, y, h));
  for (int x = 0; x < w; ++x) {
    int hill1 = h * 3 / 5 + (int)(h / 14.0 * std::sin(x * 6.2832 / w * 1.3 + 0.6));
    int hill2 = h * 7 / 10 + (int)(h / 18.0 * std::sin(x * 6.2832 / w * 2.1 + 2.0));
    cv.fill(x, hill1, x + 1, h, 0x3F7F3A);
    cv.fill(x, hill2, x + 1, h, 0x2E6A2C);
  }
  const int sunx = w * 3 / 4, suny = h / 4, sunr = h / 10;
  for (int y = suny - sunr; y <= suny + sunr; ++y)
    for (int x = sunx - sunr; x <= sunx + sunr; ++x)
      if ((x - sunx) * (x - sunx) + (y - suny) * (y - suny) <= sunr * sunr) cv.fill(x, y, x + 1, y + 1, 0xF4E7A1);
  // Desktop icons down the left edge.
  static const char* icons[] = {"Computer", "Documents", "Network", "Recycle", "Internet"};
  static const uint32_t iconcol[] = {0x7090C0, 0xE8C050, 0x50A0A0, 0xA0A0A0, 0x4080E0};
  for (int i = 0; i < 5; ++i) {
    int ix = 14 * u, iy = (12 + i * 56) * u;
    cv.fill(ix + 8 * u, iy, ix + 40 * u, iy + 28 * u, iconcol[i]);
    cv.bevel(ix + 8 * u, iy, ix + 40 * u, iy + 28 * u, true, 1);
    text(cv, ix, iy + 33 * u, icons[i], 0xFFFFFF, u);
  }
  // Windows, back to front.
  window(cv, w * 18 / 100, h * 10 / 100, w * 42 / 100, h * 46 / 100, "Documents", false, u, 1);
  window(cv, w * 52 / 100, h * 36 / 100, w * 40 / 100, h * 40 / 100, "Sales chart", false, u, 2);
  window(cv, w * 30 / 100, h * 28 / 100, w * 40 / 100, h * 48 / 100, "Notes.txt - Editor", true, u, 0);
  // Task bar with the start button, a button per window and the clock.
  const int tb = 28 * u, ty = h - tb;
  cv.fill(0, ty, w, h, 0xD4D0C8);
  cv.fill(0, ty, w, ty + u, 0xFFFFFF);
  cv.fill(3 * u, ty + 4 * u, 60 * u, h - 3 * u, 0xD4D0C8);
  cv.bevel(3 * u, ty + 4 * u, 60 * u, h - 3 * u, true, u);
  cv.fill(7 * u, ty + 9 * u, 17 * u, h - 8 * u, 0x40A040);
  text(cv, 21 * u, ty + 10 * u, "Start", 0x000000, u);
  static const char* tasks[] = {"Documents", "Sales chart", "Notes.txt"};
  for (int i = 0; i < 3; ++i) {
    int bx = (66 + i * 112) * u;
    if (bx + 108 * u > w - 80 * u) break;
    cv.fill(bx, ty + 4 * u, bx + 108 * u, h - 3 * u, i == 2 ? 0xE8E8E8 : 0xD4D0C8);
    cv.bevel(bx, ty + 4 * u, bx + 108 * u, h - 3 * u, i != 2, u);
    text(cv, bx + 6 * u, ty + 10 * u, tasks[i], 0x000000, u);
  }
  cv.bevel(w - 70 * u, ty + 4 * u, w - 3 * u, h - 3 * u, false, u);
  text(cv, w - 52 * u, ty + 10 * u, "12:00", 0x000000, u);
  return px;
}

}  // namespace platform
