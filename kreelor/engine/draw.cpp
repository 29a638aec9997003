// Glowing spark lines.
#include "kreelor/engine/draw.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "kreelor/engine/directx.h"

namespace kreelor {

int32_t xpos1 = 0, ypos1 = 0, xpos2 = 0, ypos2 = 0;
uint32_t sparkmask = 0x001F;

void thickline(uint32_t colour) {
  if (!screen1) return;
  int32_t x1 = xpos1, y1 = ypos1, x2 = xpos2, y2 = ypos2;
  if (x1 > x2) std::swap(x1, x2), std::swap(y1, y2);
  // The band's brightness from top to bottom, as halvings of the colour.
  static const int halvings[14] = {4, 3, 2, 2, 1, 1, 0, 0, 1, 1, 2, 2, 3, 4};
  uint32_t band[14];
  for (int i = 0; i < 14; ++i) {
    uint32_t c = colour;
    for (int k = 0; k < halvings[i]; ++k) c = (c >> 1) & cmask;
    band[i] = c & sparkmask;
  }
  const int32_t dx = x2 - x1, dy = y2 > y1 ? y2 - y1 : y1 - y2, step = y2 > y1 ? 1 : -1;
  int32_t err = 0, row = y1;
  for (int32_t x = x1; x < x2; ++x) {
    for (int i = 0; i < 14; ++i) {
      // Callers keep the band inside the window; this only keeps a stray band
      // from writing outside the locked surface.
      if (x < 0 || x >= screenxs || row + i < 0 || row + i >= screenys) continue;
      uint16_t* p = reinterpret_cast<uint16_t*>(screen1 + (int64_t)(row + i) * screenpitch) + x;
      uint16_t v;
      std::memcpy(&v, p, 2);
      const uint32_t sum = std::min<uint32_t>(sparkmask, (v & sparkmask) + band[i]);
      v = (uint16_t)((v & ~sparkmask) | sum);
      std::memcpy(p, &v, 2);
    }
    err += dy;
    if (err > dx) {
      err -= dx;
      if (row != y2) row += step;
    }
  }
}

}  // namespace kreelor
