// The mouse reader and the pointer drawn on the visible page.
#include "kreelor/engine/mouse.h"

#include <algorithm>
#include <cstring>

#include "kreelor/engine/directx.h"
#include "kreelor/engine/print.h"
#include "kreelor/game/graphics.h"
#include "platform/events.h"

namespace kreelor {

didevice_t* g_pMouse = nullptr;
int32_t g_hMouseEvent = 0;
bool systemswapbuttons = false;

int32_t mousexp = 320, mouseyp = 240, mousexo = 320, mouseyo = 240, mousedx = 0, mousedy = 0;
int32_t mousebutton1 = 1, mousebutton2 = 2;
int32_t mousebuttons = 0, mousepressed = 0, mouserelease = 0, mousebounce = 0, mousereleased = 0;
int32_t mouseflags = 0, mousegraph = 134;
uint16_t mousebuffer[8192];

// Size of the rectangle saved under the pointer (0 x 0: nothing saved).
static int32_t savedw = 0, savedh = 0;
static bool platformrelative = false;

static bool fails(const char* message) { return inputfailat && std::strcmp(inputfailat, message) == 0; }

int initmouse() {
  static const char* steps[] = {"Error Creating Direct Input Interface", "Error Creating Interface To The Mouse",
                                "Error Setting Mouse Data Format",       "Error Setting Mouse Cooperative Level",
                                "Error Creating Mouse Event",            "Error Setting Mouse Event",
                                "Error Setting Mouse Data Buffer",       "Error Setting Buffer Property"};
  for (const char* s : steps)
    if (fails(s)) return errormessage(s);
  delete g_pMouse;
  g_pMouse = new didevice_t;
  g_pMouse->kind = DEVMOUSE;
  g_pMouse->acquired = inputfocus;
  mousebutton1 = 1, mousebutton2 = 2;
  if (systemswapbuttons) std::swap(mousebutton1, mousebutton2);
  if (!platformrelative && hwnd) {
    platform::set_relative_mouse(true);  // relative axes; the game draws the pointer
    platformrelative = true;
  }
  readmouse();
  mousexp = 320, mouseyp = 240;
  mousexo = mousexp, mouseyo = mouseyp;
  mouseoff();
  savedw = savedh = 0;
  return 1;
}

int readmouse() {
  mousexo = mousexp, mouseyo = mouseyp;
  mousedx = mousedy = mousebuttons = mouserelease = mousebounce = 0;
  uint32_t ofs[DEVICEBUFFER], data[DEVICEBUFFER];
  int n = getdevicedata(g_pMouse, ofs, data, DEVICEBUFFER);
  if (n < 0) {
    if (!g_pMouse || !inputfocus) return 0;
    g_pMouse->acquired = true;
    n = 0;
  }
  g_hMouseEvent = 0;
  for (int i = 0; i < n; ++i) {
    const int32_t v = (int32_t)data[i];
    switch (ofs[i]) {
      case DIMOFS_X: mousexp += v, mousedx += v; break;
      case DIMOFS_Y: mouseyp += v, mousedy += v; break;
      case DIMOFS_BUTTON0:
      case DIMOFS_BUTTON1: {
        const int32_t b = ofs[i] == DIMOFS_BUTTON0 ? mousebutton1 : mousebutton2;
        if (data[i] & 0x80)
          mousebuttons |= b, mousepressed |= b;
        else
          mousepressed &= ~b;
        mouserelease |= b;
        break;
      }
      default: break;
    }
  }
  if (mousebuttons == 0) {
    mousereleased = 1;
  } else if (mousereleased == 1) {
    mousebounce = mousebuttons;
    mousereleased = 0;
  }
  mousexp = std::clamp(mousexp, 0, 635);
  mouseyp = std::clamp(mouseyp, 0, 475);
  return 1;
}

void mouseon() { mouseflags |= 1; }
void mouseoff() { mouseflags &= ~1; }

// The pointer rectangle within the locked page (the pointer itself stays on
// screen by the reader's limits; this only keeps the copy inside the page).
static void cliprect(int32_t x, int32_t y, int32_t& w, int32_t& h) {
  w = std::min(w, screenxs - x);
  h = std::min(h, screenys - y);
  if (x < 0 || y < 0 || w < 0 || h < 0) w = h = 0;
}

void showmouse() {
  if (!(mouseflags & 1)) return;
  lockprimary();
  setcharset(0);
  mousegraph = (windowabove >= 0 && windowabove < MAXWINDOWS && (wintype[windowabove] & 0x80)) ? 135 : 134;
  glyph_t g;
  savedw = savedh = 0;
  if (screen1 && getglyph(0, mousegraph, g) && (int64_t)g.width * g.height <= 8192) {
    int32_t w = g.width, h = g.height;
    cliprect(mousexp, mouseyp, w, h);
    for (int y = 0; y < h; ++y)
      std::memcpy(mousebuffer + y * w, screen1 + (int64_t)(mouseyp + y) * screenpitch + mousexp * 2, (size_t)w * 2);
    savedw = w, savedh = h;
    locate(mousexp, mouseyp);
    print("%g", (int)mousegraph);
  }
  unlockprimary();
}

void erasemouse() {
  if (!(mouseflags & 1)) return;
  lockback();
  setcharset(0);
  int32_t w = savedw, h = savedh;
  cliprect(mousexo, mouseyo, w, h);
  if (screen1 && w == savedw)
    for (int y = 0; y < h; ++y)
      std::memcpy(screen1 + (int64_t)(mouseyo + y) * screenpitch + mousexo * 2, mousebuffer + y * savedw, (size_t)w * 2);
  unlockback();
}

}  // namespace kreelor
