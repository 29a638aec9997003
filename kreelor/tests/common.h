// Shared helpers of the space game's tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kreelor/art/chrfile.h"

namespace ktest {

// Fatal boxes shown since the last reset: "caption|text", plus "|stop" when the
// box has the stop icon.
extern std::vector<std::string> boxes;
void resetboxes();
// The text of the only box, or a note that there were none or several.
std::string onebox();

// A temporary folder for files; removed at exit.
std::string tempdir();
std::string writetemp(const std::string& name, const std::vector<uint8_t>& bytes);

// A 16-bit drawing target of w x h pixels, cleared to `fill`.
struct Target {
  int w, h;
  std::vector<uint16_t> px;
  Target(int w, int h, uint16_t fill = 0);
  uint16_t at(int x, int y) const { return px[(size_t)y * w + x]; }
  void use();  // becomes screen1 / screenpitch / screenxs / windowxs ...
};

void format565();
void format555();

// A character set of n glyphs; glyph i is `w` x `h` pixels of value 0x1000 + i
// (a vertical offset of yo) unless `pixel` gives another colour.
std::vector<uint8_t> testset(int n, int w, int h, int yo = 0, uint16_t pixel = 0);
// Loads sets as 0, 1, ... (fresh table).
void loadsets(const std::vector<std::vector<uint8_t>>& sets);

}  // namespace ktest
