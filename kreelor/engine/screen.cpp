// The graphic scaler.
#include "kreelor/engine/screen.h"

#include <algorithm>
#include <cstring>

#include "kreelor/engine/directx.h"
#include "kreelor/engine/print.h"
#include "kreelor/game/graphics.h"

namespace kreelor {

int32_t scrxscale = 0;

void remapsizegraphic(int window, int32_t level) {
  if (window < 0 || window >= MAXWINDOWS || !screen1) return;
  glyph_t g;
  if (!getglyph(4, wingraph[window], g) || g.width <= 0 || g.height <= 0) return;
  const int32_t dw = std::min(winxsize[window], screenxs), dh = std::min(winysize[window], screenys);
  if (dw <= 0 || dh <= 0 || winxsize[window] <= 0 || winysize[window] <= 0) return;
  level = std::clamp(level, 0, 65536);
  const uint32_t R = (rmult * (uint32_t)level) >> 16, G = (gmult * (uint32_t)level) >> 16,
                 B = (bmult * (uint32_t)level) >> 16;
  const uint32_t xstep = ((uint32_t)g.width << 16) / (uint32_t)winxsize[window];
  const uint32_t ystep = ((uint32_t)g.height << 16) / (uint32_t)winysize[window];
  const int bytes = cbits <= 16 ? 2 : (int)cbits / 8;
  uint32_t sy = 0;
  for (int y = 0; y < dh; ++y, sy += ystep) {
    const uint8_t* src = reinterpret_cast<const uint8_t*>(g.pixels) + (size_t)(sy >> 16) * g.width * 2;
    uint8_t* dst = screen1 + (int64_t)y * screenpitch;
    uint32_t sx = 0, last = 0, out = 0;
    for (int x = 0; x < dw; ++x, sx += xstep) {
      uint16_t p;
      std::memcpy(&p, src + (sx >> 16) * 2, 2);
      if (x == 0 || p != last) {  // a run of equal source pixels is converted once
        last = p;
        if (!p) {
          out = 0;
        } else {
          const uint32_t r = std::min<uint32_t>(((p & 0xF800u) * R) >> 16, rmult - 1);
          const uint32_t gg = std::min<uint32_t>(((p & 0x07E0u) * G) >> 11, gmult - 1);
          const uint32_t b = std::min<uint32_t>(((p & 0x001Fu) * B) >> 5, bmult - 1);
          out = (r << rshift) | (gg << gshift) | (b << bshift);
        }
      }
      uint8_t* d = dst + (size_t)x * bytes;
      for (int k = 0; k < bytes; ++k) d[k] = (uint8_t)(out >> (8 * k));
    }
  }
}

}  // namespace kreelor
