// Start-up and the boot sequence.
#include "kreelor/game/startup.h"

#include <algorithm>
#include <cstdio>

#include "kreelor/engine/dataload.h"
#include "kreelor/engine/directx.h"
#include "kreelor/engine/input.h"
#include "kreelor/engine/memory.h"
#include "kreelor/engine/mouse.h"
#include "kreelor/engine/print.h"
#include "kreelor/engine/screen.h"
#include "kreelor/engine/task.h"
#include "kreelor/game/graphics.h"
#include "platform/trace.h"

namespace kreelor {

char* helptext = nullptr;
int32_t bootstate = 0;

static void tracefields(platform::TraceLine& line) {
  line.add("bootstate", bootstate).add("nocharsets", nocharsets).add("mousexp", mousexp).add("mouseyp", mouseyp);
}

void startup() {
  initprint();
  initwindows();
  char name[16];
  for (int i = 1; i <= 6; ++i) {
    std::snprintf(name, sizeof name, "kreel%d.chr", i);
    loadcharset(name);
  }
  freehelp(helptext);
  helptext = loadhelp("kreel.txt");
  tracegame = tracefields;
}

void registertasks() { addtask(introtype == 1 ? bootfade : bootdesktop); }

// True on the first call of a boot state (the previous call was another state).
static bool firstcall(statefn self) {
  static statefn last = nullptr;
  const bool first = last != self;
  last = self;
  return first;
}

// After the desktop mode: the 640 x 480 x 16 screen the game plays on.
static void gamemode() {
  if (lpDD && (lpDD->width != 640 || lpDD->height != 480 || lpDD->bits != 16)) setprimary(640, 480, 16);
}

// The hand-over from the intro to the game screens: the final display mode is
// known, so textures and fonts go into its pixel format, once. The intro's
// scaled pictures read set 4 in its file format, so this comes after them.
static void handover() {
  gamemode();
  remaptextures();
  remapcharsets();
}

// The desktop picture breaks into tiles that fall away while it darkens.
void bootdesktop() {
  bootstate = 0;
  if (firstcall(bootdesktop) && !createdesktop()) {
    gamemode();
    return taskswitch(bootfade);
  }
  if (!desktop || !shadetab) return;
  const int32_t t = tasktime;
  const int level = 96 - t * 96 / 400;
  if (level <= 0) {
    freedesktop();
    gamemode();
    return taskswitch(bootfade);
  }
  clearback(0);
  lockback();
  if (!screen1) return unlockback();
  const int bytes = (int)cbits / 8, tile = 32;
  const uint32_t* shade = shadetab + level * 256;
  const int tilesx = (desktopxs + tile - 1) / tile, tilesy = (desktopys + tile - 1) / tile;
  for (int ty = 0; ty < tilesy; ++ty)
    for (int tx = 0; tx < tilesx; ++tx) {
      // Each tile gets its own push: sideways drift and a fall that starts from the bottom rows.
      uint32_t h = (uint32_t)(tx * 7919 + ty * 104729) * 2654435761u;
      const int32_t delay = (tilesy - ty) * 6 + (int32_t)(h >> 28);
      const int32_t run = t > delay ? t - delay : 0;
      const int32_t dx = (int32_t)((h >> 8) & 63) - 32;
      const int32_t ox = run * dx / 64, oy = run * run * (int32_t)(16 + ((h >> 16) & 15)) / 2048;
      for (int y = 0; y < tile; ++y) {
        const int sy = ty * tile + y, dy = sy + oy;
        if (sy >= desktopys || dy < 0 || dy >= screenys) continue;
        const uint8_t* src = desktop + ((size_t)sy * desktopxs + tx * tile) * 4;
        uint8_t* row = screen1 + (int64_t)dy * screenpitch;
        for (int x = 0; x < tile; ++x, src += 4) {
          const int sx = tx * tile + x, dxp = sx + ox;
          if (sx >= desktopxs || dxp < 0 || dxp >= screenxs) continue;
          const uint32_t b = shade[src[0]] >> bsize, g = shade[src[1]] >> gsize, r = shade[src[2]] >> rsize;
          const uint32_t v = (r << rshift) | (g << gshift) | (b << bshift);
          for (int k = 0; k < bytes; ++k) row[(size_t)dxp * bytes + k] = (uint8_t)(v >> (8 * k));
        }
      }
    }
  unlockback();
}

static void addboxwindow(int n, int32_t type, int graph, int32_t x, int32_t y, int32_t w, int32_t h) {
  glyph_t g{};
  if (graph && getglyph(4, graph, g) && w == 0) w = g.width, h = g.height;
  wintype[n] = type | 0x80;
  if ((type & 31) == 0) wintype[n] |= 0x2000;
  wingraph[n] = graph;
  winxpos[n] = x & ~3;
  winypos[n] = y;
  winxsize[n] = (std::max(w, 8) + 3) & ~3;
  winysize[n] = std::max(h, 8);
  if (n >= nowindows) nowindows = n + 1;
  createwindow(n);
}

// The title picture fades in.
void bootfade() {
  bootstate = 1;
  if (firstcall(bootfade)) {
    removewindows(0);
    addboxwindow(0, 27, 22, 0, 0, 640, 480);
    mainbright = 0;
  }
  mainbright = std::min(65536, mainbright + 256 * deltatime);
  setwindowon(0);
  if (mainbright >= 65536 && tasktime >= 300) {
    removewindows(0);
    handover();
    taskswitch(bootscreen);
  }
}

enum { BACKW, MAINW, SCOREL, SCOREV, HIGHL, HIGHV, LIVESW, SHIELDL, SHIELDG, BOMBL, BOMBW, HELPW, NBOOT };

void bootscreen() {
  bootstate = 2;
  if (firstcall(bootscreen)) {
    removewindows(0);
    clearback(0);
    addboxwindow(BACKW, 2 | 0x10000 | 0x2000, 23, 0, 0, 0, 0);
    addboxwindow(MAINW, 1 | 0x10000, 0, 0, 82, 640, 340);
    winbackground[MAINW] = BACKW;
    addboxwindow(SCOREL, 2, 14, 30, 15, 0, 0);
    addboxwindow(SCOREV, 5, 0, 24, 58, 160, 20);
    addboxwindow(HIGHL, 2, 15, 200, 15, 0, 0);
    addboxwindow(HIGHV, 5, 0, 220, 58, 160, 20);
    glyph_t g{};
    getglyph(4, 17, g);
    addboxwindow(LIVESW, 13, 17, 405, 15, 4 * g.width, g.height);
    winvalue[LIVESW] = 4;
    addboxwindow(SHIELDL, 2, 18, 16, 425, 0, 0);
    addboxwindow(SHIELDG, 21, 20, 196, 425, 0, 0);
    winvalue[SHIELDG] = 255;
    addboxwindow(BOMBL, 2, 19, 291, 425, 0, 0);
    getglyph(4, 21, g);
    addboxwindow(BOMBW, 13, 21, 467, 425, 4 * g.width, g.height);
    winvalue[BOMBW] = 4;
    addboxwindow(HELPW, 8 | 0x10000, 0, 60, 250, 520, 160);
    for (int i = 0; i < NBOOT; ++i) setwindowon(i);
    mousexp = 320, mouseyp = 240;
    mouseon();
    // Both pages: the gaps between the windows must not keep the intro's picture.
    redrawwindows();
  }
  // The view: the background, then the banners as the attract screen prints them.
  blitgraphic(MAINW);
  lockwindow(MAINW);
  windowxs = winxsize[MAINW], windowys = winysize[MAINW];
  setcharset(1);
  const char* title = "KREELOR";
  locate(320 - getxlen(title) / 2, 24);
  printmask = gmask;
  print("%a%s%a", title);
  printmask = bmask;
  locate(320 - getxlen(title) / 2, 24);
  print("%a%s%a", title);
  printmask = gmask;
  setcharset(2);
  const char* hint = "Press ESC to leave";
  locate(320 - getxlen(hint) / 2, 76);
  if (time & 512) print("%a%s%a", hint);
  unlockwindow(MAINW);
  wintype[MAINW] |= 0x60;
  // The help text scrolls through its panel.
  clearwindow(HELPW, remapcolor(4, 18, 3));
  lockwindow(HELPW);
  windowxs = winxsize[HELPW], windowys = winysize[HELPW];
  setcharset(3);
  scrxscale = windowxs - 30;
  showtext(helptext, 8 - (tasktime / 6) % 1200);
  unlockwindow(HELPW);
  wintype[HELPW] |= 0x60;
  if (bouncekey(1)) exitgame();  // Escape
}

}  // namespace kreelor
