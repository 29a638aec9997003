// Character set file images.
#include "kreelor/art/chrfile.h"

#include <algorithm>

namespace kreelorart {

static void put16(std::vector<uint8_t>& v, size_t at, int32_t x) {
  v[at] = (uint8_t)x;
  v[at + 1] = (uint8_t)(x >> 8);
}
static int16_t get16(const std::vector<uint8_t>& v, size_t at) { return (int16_t)(v[at] | v[at + 1] << 8); }
static uint32_t get32(const std::vector<uint8_t>& v, size_t at) {
  return (uint32_t)v[at] | v[at + 1] << 8 | v[at + 2] << 16 | (uint32_t)v[at + 3] << 24;
}

std::vector<uint8_t> encode_chr(const std::vector<Glyph>& glyphs) {
  const size_t n = glyphs.size();
  std::vector<uint8_t> out(4 + 4 * n, 0);
  out[0] = (uint8_t)n;
  for (size_t i = 0; i < n; ++i) {
    const Glyph& g = glyphs[i];
    const size_t at = out.size();
    out[4 * (i + 1) + 0] = (uint8_t)at;
    out[4 * (i + 1) + 1] = (uint8_t)(at >> 8);
    out[4 * (i + 1) + 2] = (uint8_t)(at >> 16);
    out[4 * (i + 1) + 3] = (uint8_t)(at >> 24);
    out.resize(at + 12 + 2 * g.pixels.size());
    put16(out, at + 0, g.framew);
    put16(out, at + 2, g.frameh);
    put16(out, at + 4, g.width);
    put16(out, at + 6, g.height);
    put16(out, at + 8, g.xoffset);
    put16(out, at + 10, g.yoffset);
    for (size_t k = 0; k < g.pixels.size(); ++k) put16(out, at + 12 + 2 * k, g.pixels[k]);
  }
  return out;
}

bool decode_chr(const std::vector<uint8_t>& file, std::vector<Glyph>& glyphs, std::string& error) {
  glyphs.clear();
  if (file.size() < 8) return error = "file too short", false;
  const int n = file[0];
  if (n < 1 || file.size() < 4 + 4 * (size_t)n) return error = "bad glyph count", false;
  for (int i = 1; i <= n; ++i) {
    const uint64_t at = get32(file, 4 * (size_t)i);
    if (at + 12 > file.size()) return error = "glyph " + std::to_string(i) + " starts past the end", false;
    Glyph g;
    g.framew = get16(file, at), g.frameh = get16(file, at + 2), g.width = get16(file, at + 4);
    g.height = get16(file, at + 6), g.xoffset = get16(file, at + 8), g.yoffset = get16(file, at + 10);
    if (g.width < 0 || g.height < 0 || at + 12 + 2ull * g.width * g.height > file.size())
      return error = "glyph " + std::to_string(i) + " runs past the end", false;
    g.pixels.resize((size_t)g.width * g.height);
    for (size_t k = 0; k < g.pixels.size(); ++k) g.pixels[k] = (uint16_t)get16(file, at + 12 + 2 * k);
    glyphs.push_back(std::move(g));
  }
  return true;
}

uint16_t rgb565(int r, int g, int b) {
  r = std::clamp(r, 0, 255), g = std::clamp(g, 0, 255), b = std::clamp(b, 0, 255);
  uint16_t v = (uint16_t)(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
  return v ? v : 0x0821;
}

void rgb_of_565(uint16_t c, int& r, int& g, int& b) {
  r = (c >> 11) * 255 / 31, g = ((c >> 5) & 63) * 255 / 63, b = (c & 31) * 255 / 31;
}

}  // namespace kreelorart
