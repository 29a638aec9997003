// The GUI window table and window update.
#include "kreelor/game/graphics.h"

#include <algorithm>
#include <cstring>

#include "kreelor/engine/directx.h"
#include "kreelor/engine/print.h"
#include "kreelor/engine/screen.h"

namespace kreelor {

int32_t wintype[MAXWINDOWS], winxpos[MAXWINDOWS], winypos[MAXWINDOWS];
int32_t winxsize[MAXWINDOWS], winysize[MAXWINDOWS], winxoff[MAXWINDOWS], winyoff[MAXWINDOWS];
int32_t winxscale[MAXWINDOWS], winyscale[MAXWINDOWS];
const char* wintext[MAXWINDOWS];
int32_t wingraph[MAXWINDOWS], winvalue[MAXWINDOWS], winkey[MAXWINDOWS], winpress[MAXWINDOWS];
int32_t wintimer[MAXWINDOWS], wintime[MAXWINDOWS], winwidth[MAXWINDOWS], winbackground[MAXWINDOWS];
int32_t wincolor[MAXWINDOWS], winborder[MAXWINDOWS];
int32_t winframes[MAXWINDOWS], winxdest[MAXWINDOWS], winydest[MAXWINDOWS];
int32_t nowindows = 0, currentwindow = 0, startwindow = 0, windowabove = -1, defaultback = 0;
int32_t mainbright = 65536;

void initwindows() {
  for (int i = 0; i < MAXWINDOWS; ++i) {
    wintype[i] = winxpos[i] = winypos[i] = winxsize[i] = winysize[i] = 0;
    winxoff[i] = winyoff[i] = winxscale[i] = winyscale[i] = 0;
    wintext[i] = nullptr;
    wingraph[i] = winvalue[i] = winpress[i] = wintimer[i] = wintime[i] = 0;
    winkey[i] = 0x200;
    winwidth[i] = 2;
    winbackground[i] = 0;
    wincolor[i] = winborder[i] = winframes[i] = winxdest[i] = winydest[i] = 0;
  }
  nowindows = currentwindow = startwindow = 0;
  windowabove = -1;
}

uint32_t remapcolor(int32_t r, int32_t g, int32_t b) {
  auto gain = [](int32_t c) { return (uint32_t)std::clamp(c * 280 / 256, 0, 255); };
  return (((gain(r) * rmult) >> 8) << rshift) | (((gain(g) * gmult) >> 8) << gshift) |
         (((gain(b) * bmult) >> 8) << bshift);
}

void setwindowoff(int n) {
  if (n < 0 || n >= MAXWINDOWS) return;
  if (wintype[n] & 0x20)
    wintype[n] &= ~0x20;
  else
    wintype[n] &= ~0x40;
}

void setwindowon(int n) {
  if (n < 0 || n >= MAXWINDOWS) return;
  wintype[n] |= 0x60;
  updatewindow(n);
}

// Glyph `graph` of set 4 at (x, y) of the locked window: full or half bright.
static void picture(int graph, int32_t x, int32_t y, bool lit) {
  setcharset(4);
  locate(x, y);
  if (lit)
    print("%g", graph);
  else
    print("%h%g%h", graph);
}

void updatewindow(int n) {
  if (n < 0 || n >= MAXWINDOWS || !ddsurface[n]) return;
  if (wintype[n] & 0x100) {  // blinking: 64 ms phases, 16 ms while the fast blink lasts
    bool on = wintime[n] > 0 ? (time & 16) : (time & 64);
    if (wintime[n] > 0) wintime[n] -= deltatime;
    wintype[n] = on ? wintype[n] | 0x80 : wintype[n] & ~0x80;
  }
  const int kind = wintype[n] & 31;
  const bool lit = (wintype[n] & 0x80) != 0;
  if (kind == 2 || kind == 5 || kind == 13 || kind == 15 || kind == 21) clearwindow(n, 0);
  lockwindow(n);
  windowxs = winxsize[n], windowys = winysize[n];
  const int32_t keepmode = printmode;
  printmode = 0;
  glyph_t g{};
  switch (kind) {
    case 2: picture(wingraph[n], 0, 0, lit); break;
    case 5:
      setcharset(0);
      locate(winxsize[n] - 4, -4);
      print("%v", winvalue[n]);
      break;
    case 13:
      if (getglyph(4, wingraph[n], g) && g.width > 0) {
        const int fit = std::min<int>(winvalue[n], winxsize[n] / g.width);
        for (int i = 0; i < fit; ++i) picture(wingraph[n], i * g.width, (winysize[n] - g.height) / 2, true);
      }
      break;
    case 15:
      setcharset(1);
      locate(0, 0);
      if (lit)
        print("%s", wintext[n]);
      else
        print("%h%s%h", wintext[n]);
      break;
    case 21:
      if (getglyph(4, wingraph[n], g)) {
        windowxs = std::min<int32_t>(windowxs, (int32_t)(std::clamp(winvalue[n], 0, 256) * g.width / 256));
        if (windowxs > 0) picture(wingraph[n], 0, 0, true);
      }
      break;
    case 27: remapsizegraphic(n, mainbright); break;
    default: break;
  }
  printmode = keepmode;
  unlockwindow(n);
}

}  // namespace kreelor
