// Character set files (.chr): a glyph count, a table of glyph offsets, then per
// glyph a 12-byte header and its 16-bit 5-6-5 pixels (0 transparent).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kreelorart {

struct Glyph {
  int16_t framew = 0, frameh = 0, width = 0, height = 0, xoffset = 0, yoffset = 0;
  std::vector<uint16_t> pixels;  // width * height
};

// Glyphs 1..N in order (N = glyphs.size(), 1..255).
std::vector<uint8_t> encode_chr(const std::vector<Glyph>& glyphs);
// Parses a .chr image; false with a reason on a malformed file.
bool decode_chr(const std::vector<uint8_t>& file, std::vector<Glyph>& glyphs, std::string& error);

// 5-6-5 from 8-bit channels; a visible colour never encodes as 0 (the colour key).
uint16_t rgb565(int r, int g, int b);
void rgb_of_565(uint16_t c, int& r, int& g, int& b);

}  // namespace kreelorart
