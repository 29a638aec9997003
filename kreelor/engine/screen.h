// The graphic scaler of the screen unit: a GUI picture fitted to its window.
#pragma once
#include <cstdint>

namespace kreelor {

// Horizontal scale value of the current window (the text width limit of getline).
extern int32_t scrxscale;

// Fills the locked drawing target (the window's surface) with glyph
// wingraph[window] of set 4 scaled to winxsize x winysize at brightness
// level (65536 = full), for 15/16-, 24- and 32-bit displays.
void remapsizegraphic(int window, int32_t level);

}  // namespace kreelor
