// Display, frame clock, program entry and window procedure over platform/.
#include "kreelor/engine/directx.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

#include "kreelor/engine/input.h"
#include "kreelor/engine/memory.h"
#include "kreelor/engine/mouse.h"
#include "kreelor/engine/print.h"
#include "kreelor/engine/task.h"
#include "kreelor/engine/dataload.h"
#include "kreelor/game/graphics.h"
#include "kreelor/game/startup.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/host.h"
#include "platform/msgbox.h"
#include "platform/trace.h"

namespace kreelor {

uint32_t ddfailmask = 0;

int32_t hinst = 0, hwnd = 0;
ddobject_t* lpDD = nullptr;
ddsurface_t* lpDDSPrimary = nullptr;
ddsurface_t* lpDDSBack = nullptr;
ddsurface_t* ddsurface[256] = {};
int32_t introtype = 0;

uint8_t* screen1 = nullptr;
int32_t screenpitch = 0, screenxs = 0, screenys = 0;
int32_t windowxs = 0, windowys = 0;

uint32_t cbits = 0, rmask = 0, gmask = 0, bmask = 0, rshift = 0, gshift = 0, bshift = 0;
uint32_t rmult = 0, gmult = 0, bmult = 0, rsize = 0, gsize = 0, bsize = 0, cmask = 0, dmask = 0;

uint8_t* desktop = nullptr;
int32_t desktopxs = 0, desktopys = 0;
uint32_t* shadetab = nullptr;

uint32_t newtime = 0, lasttime = 0;
int32_t deltatime = 1;
int32_t time = 0;
int32_t framenumber = 0, framerate = 0;
uint32_t frameminimum = 2;

static uint32_t platformticks() { return platform::ticks(); }
static void platformwait(uint32_t until) { platform::wait_until(until); }
uint32_t (*gettickcount)() = platformticks;
void (*waitticks)(uint32_t) = platformwait;

int32_t bActive = 1, timerflag = 0;
int32_t fatalerror = 0;

static void platformbox(const char* caption, const char* text, uint32_t style) {
  platform::message_box(caption, text, platform::MsgButtons::Ok,
                        (style & MB_ICONSTOP) ? platform::MsgIcon::Error : platform::MsgIcon::None);
}
void (*messagebox)(const char*, const char*, uint32_t) = platformbox;

enginehooks_t enginehooks;
int32_t desktopoverride[3] = {0, 0, 0};
bool rgb555mode = false, fullscreenmode = false;
void (*tracegame)(platform::TraceLine&) = nullptr;

// ---- Message queue and timer ----------------------------------------------

namespace {
struct message_t {
  uint32_t message;
  intptr_t wparam;
};
std::deque<message_t> messages;
uint32_t timerinterval = 0, nexttimer = 0;
bool windowopen = false;
int32_t framesum = 0, framecount = 0;
}  // namespace

void postmessage(uint32_t message, intptr_t wparam) {
  // Win32 keeps one pending WM_TIMER at most.
  if (message == WM_TIMER)
    for (auto& m : messages)
      if (m.message == WM_TIMER) return;
  messages.push_back({message, wparam});
}

void postquitmessage(int code) { postmessage(WM_QUIT, code); }

// Hands the platform's events to the window procedure and the input devices.
static void pumpevents() {
  if (!windowopen) return;
  platform::Event ev;
  while (platform::poll_event(ev)) {
    switch (ev.type) {
      case platform::EventType::Quit: postmessage(WM_CLOSE); break;
      case platform::EventType::FocusLost: postmessage(WM_ACTIVATEAPP, 0); break;
      case platform::EventType::FocusGained: postmessage(WM_ACTIVATEAPP, 1); break;
      case platform::EventType::Raise: platform::display_raise(); break;
      default: break;
    }
    inputevent(ev);
  }
}

bool peekmessage() {
  pumpevents();
  if (timerinterval) {
    uint32_t now = gettickcount();
    if ((int32_t)(now - nexttimer) >= 0) {
      postmessage(WM_TIMER, 1);
      nexttimer += timerinterval;
      if ((int32_t)(now - nexttimer) >= 0) nexttimer = now + timerinterval;
    }
  }
  return !messages.empty();
}

// ---- Pixel format -----------------------------------------------------------

static uint32_t lowzeros(uint32_t m) {
  uint32_t n = 0;
  while (n < 32 && !(m & (1u << n))) ++n;
  return n;
}

bool setpixelformat(uint32_t bits, uint32_t r, uint32_t g, uint32_t b) {
  if (!r || !g || !b) return false;
  cbits = bits;
  rmask = r, gmask = g, bmask = b;
  rshift = lowzeros(r), gshift = lowzeros(g), bshift = lowzeros(b);
  rmult = (r >> rshift) + 1, gmult = (g >> gshift) + 1, bmult = (b >> bshift) + 1;
  auto doublings = [](uint32_t levels) {
    uint32_t n = 0;
    while (levels < 256) levels <<= 1, ++n;
    return n;
  };
  rsize = doublings(rmult), gsize = doublings(gmult), bsize = doublings(bmult);
  cmask = (r & (r >> 1)) | (g & (g >> 1)) | (b & (b >> 1));
  dmask = cmask | (cmask << 16);
  return true;
}

bool keepdesktopmode(int32_t width, int32_t height, int32_t bits) {
  return !(height >= 1600 || width >= 1200 || bits < 15);
}

static void modemasks(const ddobject_t& dd, uint32_t& r, uint32_t& g, uint32_t& b) {
  if (dd.bits == 15 || (dd.bits == 16 && dd.rgb555)) {
    r = 0x7C00, g = 0x03E0, b = 0x001F;
  } else if (dd.bits == 16) {
    r = 0xF800, g = 0x07E0, b = 0x001F;
  } else {
    r = 0xFF0000, g = 0x00FF00, b = 0x0000FF;
  }
}

// ---- Surfaces ----------------------------------------------------------------

static ddsurface_t* newsurface(int32_t w, int32_t h, int32_t bits, bool sysmem) {
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192) return nullptr;
  auto* s = new ddsurface_t;
  s->width = w, s->height = h;
  s->bytes = (bits + 7) / 8;
  s->pitch = w * s->bytes;
  s->sysmem = sysmem;
  s->pixels.assign((size_t)s->pitch * h, 0);
  return s;
}

uint32_t surfacepixel(const ddsurface_t* s, int x, int y) {
  if (!s || x < 0 || y < 0 || x >= s->width || y >= s->height) return 0;
  const uint8_t* p = &s->pixels[(size_t)y * s->pitch + (size_t)x * s->bytes];
  uint32_t v = 0;
  for (int i = 0; i < s->bytes; ++i) v |= (uint32_t)p[i] << (8 * i);
  return v;
}

static void putraw(uint8_t* p, int bytes, uint32_t v) {
  for (int i = 0; i < bytes; ++i) p[i] = (uint8_t)(v >> (8 * i));
}

static int32_t ddlock(ddsurface_t* s) {
  if (!s) return DDERR_INVALIDPARAMS;
  while (s->busy > 0) --s->busy;  // DDLOCK_WAIT
  s->locked = true;
  return s->lost ? DDERR_SURFACELOST : DD_OK;
}

static int32_t ddblt(ddsurface_t* dst, int x, int y, ddsurface_t* src, bool srckey) {
  if (!dst || !src) return DDERR_INVALIDPARAMS;
  if (dst->busy > 0) return --dst->busy, DDERR_WASSTILLDRAWING;
  if (src->busy > 0) return --src->busy, DDERR_WASSTILLDRAWING;
  if (dst->lost || src->lost) return DDERR_SURFACELOST;
  if (dst->bytes != src->bytes) return DDERR_INVALIDPARAMS;
  int sx = 0, sy = 0, w = src->width, h = src->height;
  if (x < 0) sx = -x, w += x, x = 0;
  if (y < 0) sy = -y, h += y, y = 0;
  if (x + w > dst->width) w = dst->width - x;
  if (y + h > dst->height) h = dst->height - y;
  if (w <= 0 || h <= 0) return DD_OK;
  const int b = dst->bytes;
  for (int row = 0; row < h; ++row) {
    const uint8_t* s = &src->pixels[(size_t)(sy + row) * src->pitch + (size_t)sx * b];
    uint8_t* d = &dst->pixels[(size_t)(y + row) * dst->pitch + (size_t)x * b];
    if (!srckey) {
      std::memcpy(d, s, (size_t)w * b);
      continue;
    }
    for (int i = 0; i < w; ++i, s += b, d += b) {
      bool zero = true;
      for (int k = 0; k < b; ++k) zero = zero && s[k] == 0;
      if (!zero) std::memcpy(d, s, b);
    }
  }
  return DD_OK;
}

static int32_t ddfill(ddsurface_t* dst, uint32_t colour) {
  if (!dst) return DDERR_INVALIDPARAMS;
  if (dst->busy > 0) return --dst->busy, DDERR_WASSTILLDRAWING;
  if (dst->lost) return DDERR_SURFACELOST;
  for (int y = 0; y < dst->height; ++y) {
    uint8_t* d = &dst->pixels[(size_t)y * dst->pitch];
    for (int x = 0; x < dst->width; ++x) putraw(d + (size_t)x * dst->bytes, dst->bytes, colour);
  }
  return DD_OK;
}

static int32_t ddrestore(ddsurface_t* s) {
  if (!s) return DDERR_INVALIDPARAMS;
  if (!s->lost) return DD_OK;
  if (!bActive) return DDERR_GENERIC;  // exclusive mode is not ours while inactive
  s->lost = false;
  std::fill(s->pixels.begin(), s->pixels.end(), 0);  // contents are undefined after a restore
  return DD_OK;
}

void losesurfaces() {
  if (lpDDSPrimary) lpDDSPrimary->lost = true;
  if (lpDDSBack) lpDDSBack->lost = true;
  for (auto* s : ddsurface)
    if (s && !s->sysmem) s->lost = true;
}

// The retry rule: busy -> again at once; lost -> restore and give up this frame.
template <class Op, class Restore>
static void withretry(Op op, Restore restore) {
  for (;;) {
    int32_t r = op();
    if (r == DDERR_WASSTILLDRAWING) continue;
    if (r == DDERR_SURFACELOST) restore();
    return;
  }
}

int32_t GetSurface(ddsurface_t* surface) {
  if (!surface || !lpDD) return DDERR_INVALIDPARAMS;
  screenxs = surface->width;
  screenys = surface->height;
  if (ddfailmask & DDC_DESCRIBE) return DDERR_GENERIC;
  uint32_t r, g, b;
  modemasks(*lpDD, r, g, b);
  if (!setpixelformat(lpDD->bits == 15 ? 16 : (uint32_t)lpDD->bits, r, g, b)) return DDERR_GENERIC;
  return DD_OK;
}

static int32_t createprimary() {
  if (ddfailmask & DDC_PRIMARY) return DDERR_GENERIC;
  lpDDSPrimary = newsurface(lpDD->width, lpDD->height, lpDD->bits, false);
  return lpDDSPrimary ? DD_OK : DDERR_OUTOFMEMORY;
}

static int32_t attachback() {
  if (ddfailmask & DDC_BACK) return DDERR_GENERIC;
  lpDDSPrimary->back = newsurface(lpDD->width, lpDD->height, lpDD->bits, false);
  lpDDSBack = lpDDSPrimary->back;
  return lpDDSBack ? DD_OK : DDERR_OUTOFMEMORY;
}

static void releaseprimary() {
  if (lpDDSPrimary) {
    delete lpDDSPrimary->back;
    delete lpDDSPrimary;
  }
  lpDDSPrimary = nullptr;
  lpDDSBack = nullptr;
  screen1 = nullptr;
}

static int32_t setdisplaymode(int32_t w, int32_t h, int32_t bits) {
  if ((ddfailmask & DDC_SETMODE) || !lpDD) return DDERR_GENERIC;
  if (w <= 0 || h <= 0 || !(bits == 15 || bits == 16 || bits == 24 || bits == 32)) return DDERR_INVALIDPARAMS;
  lpDD->width = w, lpDD->height = h, lpDD->bits = bits;
  // A mode change loses every surface in video memory.
  for (auto* s : ddsurface)
    if (s && !s->sysmem) s->lost = true;
  if (windowopen) platform::display_set_mode(w, h, fullscreenmode);
  return DD_OK;
}

// Fills the new primary with the desktop scene: the picture the program starts over.
static void paintdesktop() {
  auto pic = platform::desktop_picture(lpDDSPrimary->width, lpDDSPrimary->height);
  for (int y = 0; y < lpDDSPrimary->height; ++y)
    for (int x = 0; x < lpDDSPrimary->width; ++x) {
      uint32_t c = pic[(size_t)y * lpDDSPrimary->width + x];
      uint32_t r8 = (c >> 16) & 255, g8 = (c >> 8) & 255, b8 = c & 255;
      uint32_t v = (((r8 * rmult) >> 8) << rshift) | (((g8 * gmult) >> 8) << gshift) |
                   (((b8 * bmult) >> 8) << bshift);
      putraw(&lpDDSPrimary->pixels[(size_t)y * lpDDSPrimary->pitch + (size_t)x * lpDDSPrimary->bytes],
             lpDDSPrimary->bytes, v);
    }
}

int initprimary(int show) {
  (void)show;
  // Window: class and title "Kreelor", popup, the size of the screen.
  int32_t dw = desktopoverride[0], dh = desktopoverride[1], db = desktopoverride[2];
  if (!dw) {
    auto m = platform::desktop_mode();
    dw = m.width, dh = m.height, db = m.bits;
  }
  if (!windowopen) {
    if (ddfailmask & DDC_WINDOW) return errormessage("Error Creating Window");
    platform::DisplayConfig cfg;
    cfg.title = "Kreelor";
    cfg.width = dw > 0 ? dw : 640;
    cfg.height = dh > 0 ? dh : 480;
    cfg.fullscreen = fullscreenmode;
    cfg.scale = platform::options().scale;
    std::string err;
    if (!platform::display_open(cfg, err)) {
      std::fprintf(stderr, "kreelor: %s\n", err.c_str());
      return errormessage("Error Creating Window");
    }
    windowopen = true;
    hwnd = 1;
    platform::cursor_show(false);  // the game draws its own pointer
  }
  if (ddfailmask & DDC_CREATE) return errormessage("Error Creating Main DirectDraw Object");
  lpDD = new ddobject_t;
  lpDD->rgb555 = rgb555mode;
  if (ddfailmask & DDC_COOPERATIVE) return errormessage("Error Setting Cooperative Level");
  lpDD->exclusive = true;
  if ((ddfailmask & DDC_GETMODE) || dw <= 0 || dh <= 0 || db <= 0)
    return errormessage("Error Getting Display Mode");
  lpDD->width = dw, lpDD->height = dh, lpDD->bits = db;
  introtype = 0;
  if (!keepdesktopmode(dw, dh, db)) {
    if (setdisplaymode(640, 480, 16) != DD_OK) return errormessage("Error Setting Display Mode");
    introtype = 1;
  } else if (db != 15 && db != 16 && db != 24 && db != 32) {
    // A depth the surfaces cannot hold is treated like a failed mode read.
    return errormessage("Error Getting Display Mode");
  }
  if (createprimary() != DD_OK) return errormessage("Error Creating The Primary Surface");
  if (attachback() != DD_OK) return errormessage("Error Creating The Back Buffer");
  if (GetSurface(lpDDSPrimary) != DD_OK) return errormessage("Error Getting Surface Description");
  if (windowopen) platform::display_set_mode(lpDD->width, lpDD->height, fullscreenmode);
  if (!introtype) paintdesktop();
  return 1;
}

int setprimary(int32_t width, int32_t height, int32_t bits) {
  releaseprimary();
  if (setdisplaymode(width, height, bits) != DD_OK) return errormessage("Error Setting The Display Mode");
  if (createprimary() != DD_OK) return errormessage("Error Reseting The Primary Surface");
  if (attachback() != DD_OK) return errormessage("Error Resetting The Back Buffer");
  if (GetSurface(lpDDSPrimary) != DD_OK) return errormessage("Error Getting Surface Description");
  return 1;
}

int createwindow(int n) {
  if (n < 0 || n >= MAXWINDOWS) return errormessage("Error Creating DirectX Surface");
  releasewindow(n);
  ddsurface_t* s = nullptr;
  if (!(ddfailmask & DDC_SURFACE) && lpDD)
    s = newsurface(winxsize[n], winysize[n], lpDD->bits, (wintype[n] & 0x10000) != 0);
  if (!s) return errormessage("Error Creating DirectX Surface");
  ddsurface[n] = s;
  return 1;
}

void releasewindow(int n) {
  if (n < 0 || n >= MAXWINDOWS) return;
  delete ddsurface[n];
  ddsurface[n] = nullptr;
}

void removewindow(int n) {
  releasewindow(n);
  if (nowindows > 0) --nowindows;
}

void removewindows(int first) {
  if (first < 0) first = 0;
  for (int i = first; i < nowindows; ++i) releasewindow(i);
  if (first < nowindows) nowindows = first;
}

static void settarget(ddsurface_t* s, int32_t xs, int32_t ys) {
  if (!s) {
    screen1 = nullptr;
    screenpitch = 0;
    screenxs = screenys = 0;
    return;
  }
  ddlock(s);  // lock results are ignored; a lost surface still has its memory
  screen1 = s->pixels.data();
  screenpitch = s->pitch;
  screenxs = xs, screenys = ys;
}

void lockwindow(int n) {
  if (n < 0 || n >= MAXWINDOWS) return settarget(nullptr, 0, 0);
  ddsurface_t* s = ddsurface[n];
  settarget(s, s ? std::min(winxsize[n], s->width) : 0, s ? std::min(winysize[n], s->height) : 0);
}

void unlockwindow(int n) {
  if (n >= 0 && n < MAXWINDOWS && ddsurface[n]) ddsurface[n]->locked = false;
}

void lockprimary() {
  settarget(lpDDSPrimary, lpDDSPrimary ? lpDDSPrimary->width : 0, lpDDSPrimary ? lpDDSPrimary->height : 0);
  windowxs = screenxs, windowys = screenys;
}
void unlockprimary() {
  if (lpDDSPrimary) lpDDSPrimary->locked = false;
}
void lockback() {
  settarget(lpDDSBack, lpDDSBack ? lpDDSBack->width : 0, lpDDSBack ? lpDDSBack->height : 0);
  windowxs = screenxs, windowys = screenys;
}
void unlockback() {
  if (lpDDSBack) lpDDSBack->locked = false;
}

int32_t restoreprimary() {
  if (!lpDDSPrimary) return DDERR_INVALIDPARAMS;
  const bool waslost = lpDDSPrimary->lost || (lpDDSBack && lpDDSBack->lost);
  int32_t r = ddrestore(lpDDSPrimary);
  if (r == DD_OK) r = ddrestore(lpDDSBack);
  if (r != DD_OK) return r;
  // Both pages came back empty: every window goes to both of them again, also
  // the ones whose contents did not change (and which nothing else would send).
  if (waslost)
    for (int i = 0; i < nowindows && i < MAXWINDOWS; ++i) wintype[i] |= 0x60;
  return 1;
}

int32_t restorewindow(int n) {
  int32_t r = restoreprimary();
  if (r != 1) return r;
  if (n < 0 || n >= MAXWINDOWS) return DDERR_INVALIDPARAMS;
  r = ddrestore(ddsurface[n]);
  if (r != DD_OK) return r;
  setwindowon(n);
  return 1;
}

void blitgraphic(int n) {
  if (n < 0 || n >= MAXWINDOWS) return;
  int src = winbackground[n];
  if (src < 0 || src >= MAXWINDOWS) return;
  withretry([&] { return ddblt(ddsurface[n], 0, 0, ddsurface[src], false); },
            [&] {
              if (ddsurface[src] && ddsurface[src]->lost) restorewindow(src);
              if (ddsurface[n] && ddsurface[n]->lost) restorewindow(n);
            });
}

void clearwindow(int n, uint32_t colour) {
  if (n < 0 || n >= MAXWINDOWS) return;
  withretry([&] { return ddfill(ddsurface[n], colour); }, [&] { restorewindow(n); });
}

void clearback(uint32_t colour) {
  withretry([&] { return ddfill(lpDDSBack, colour); }, [] { restoreprimary(); });
}

void sendwindows() {
  for (int i = startwindow; i < nowindows && i < MAXWINDOWS; ++i) {
    if (i < 0) continue;
    wintimer[i] -= deltatime;
    if ((wintype[i] & 0x60) && !(wintype[i] & 0x2000)) {
      bool key = (wintype[i] & 0x200) != 0;
      withretry([&] { return ddblt(lpDDSBack, winxpos[i], winypos[i], ddsurface[i], key); },
                [&] {
                  if (lpDDSBack && lpDDSBack->lost) restoreprimary();
                  if (ddsurface[i] && ddsurface[i]->lost) restorewindow(i);
                });
    }
    setwindowoff(i);
  }
}

void flipscreens() {
  withretry(
      []() -> int32_t {
        if (!lpDDSPrimary || !lpDDSBack) return DDERR_INVALIDPARAMS;
        if (lpDDSPrimary->busy > 0) return --lpDDSPrimary->busy, DDERR_WASSTILLDRAWING;
        if (lpDDSPrimary->lost || lpDDSBack->lost) return DDERR_SURFACELOST;
        std::swap(lpDDSPrimary->pixels, lpDDSBack->pixels);
        return DD_OK;
      },
      [] { restoreprimary(); });
}

void redrawwindows() {
  for (int i = 0; i < nowindows && i < MAXWINDOWS; ++i) wintype[i] |= 0x60;
  int32_t keep = startwindow;
  startwindow = 0;
  clearback(0);
  sendwindows();
  flipscreens();
  erasemouse();
  showmouse();
  clearback(0);
  sendwindows();
  startwindow = keep;
}

void releasescreens() {
  releaseprimary();
  for (auto& s : ddsurface) {
    delete s;
    s = nullptr;
  }
  delete lpDD;
  lpDD = nullptr;
  freememory(shadetab);
  shadetab = nullptr;
  freedesktop();
}

void freedesktop() {
  freememory(desktop);
  desktop = nullptr;
}

int createdesktop() {
  if (!lpDDSPrimary || GetSurface(lpDDSPrimary) != DD_OK)
    return errormessage("Error Getting Primary Surface Description");
  lockprimary();
  desktopxs = lpDDSPrimary->width;
  desktopys = lpDDSPrimary->height;
  freedesktop();
  desktop = (uint8_t*)getmemory((size_t)(desktopxs + 1) * (desktopys + 1) * 4);
  if (!desktop) {
    unlockprimary();
    return 0;
  }
  const int bytes = (int)cbits / 8;
  uint8_t* out = desktop;
  for (int y = 0; y < desktopys; ++y) {
    const uint8_t* row = screen1 + (size_t)y * screenpitch;
    for (int x = 0; x < desktopxs; ++x) {
      uint32_t pixel = 0;
      for (int k = 0; k < bytes; ++k) pixel |= (uint32_t)row[x * bytes + k] << (8 * k);
      out[0] = (uint8_t)(((pixel & bmask) >> bshift) << bsize);
      out[1] = (uint8_t)(((pixel & gmask) >> gshift) << gsize);
      out[2] = (uint8_t)(((pixel & rmask) >> rshift) << rsize);
      out += 4;  // the fourth byte is not written
    }
  }
  unlockprimary();
  makeshadetables();
  return 1;
}

void makeshadetables() {
  freememory(shadetab);
  shadetab = (uint32_t*)getmemory(128 * 256 * sizeof(uint32_t));
  if (!shadetab) return;
  for (uint32_t i = 0; i < 96; ++i)
    for (uint32_t c = 0; c < 256; ++c) shadetab[i * 256 + c] = c * i / 96;
  for (uint32_t i = 96; i < 128; ++i)
    for (uint32_t c = 0; c < 256; ++c) shadetab[i * 256 + c] = c + (((255 - c) * (i - 96)) >> 5);
}

// ---- Clock -------------------------------------------------------------------

void gettime() {
  lasttime = newtime;
  uint32_t duration;
  for (;;) {
    newtime = gettickcount();
    duration = newtime - lasttime;
    if (duration >= frameminimum) break;
    waitticks(lasttime + frameminimum);
  }
  time += (int32_t)duration;
  if (duration > 40) duration = 40;
  framesum += (int32_t)duration;
  if (++framecount == 40) {
    framerate = 40 * 1000 / (framesum ? framesum : 1);
    framesum = framecount = 0;
  }
  deltatime = (int32_t)(duration >> 1);
}

void settimerrate(int persecond) {
  if ((ddfailmask & DDC_TIMER) || persecond <= 0 || persecond > 1000) {
    errormessage("Error Setting Timer");
    return;
  }
  timerinterval = 1000u / (uint32_t)persecond;
  nexttimer = gettickcount() + timerinterval;
}

void enabletimer() { timerflag = 0; }
void disabletimer() { timerflag = 1; }

void updateframe() {
  gettime();
  if (enginehooks.camera && enginehooks.attract && enginehooks.attract()) enginehooks.camera();
  if (enginehooks.control) enginehooks.control();
  if (enginehooks.updateobjects) enginehooks.updateobjects();
  if (enginehooks.updateparticles) enginehooks.updateparticles();
}

// ---- Errors -------------------------------------------------------------------

int errormessage(const char* text) {
  std::string s = text ? text : "";
  s += "\n\nThis Program Requires DirectX 7 Or Higher";
  fatalerror = 1;
  messagebox("Kreelor", s.c_str(), MB_OK | MB_ICONSTOP);
  postmessage(WM_CLOSE);
  return 0;
}

int memoryerror() {
  fatalerror = 1;
  messagebox("Kreelor", "Out of Memory", MB_OK);  // only an OK button, no icon
  postmessage(WM_CLOSE);
  return 0;
}

int initfail() {
  postmessage(WM_CLOSE);
  return 0;
}

void exitgame() { postmessage(WM_CLOSE); }

// ---- Window procedure ---------------------------------------------------------

intptr_t windowproc(int32_t window, uint32_t message, intptr_t wparam, intptr_t lparam) {
  (void)lparam;
  switch (message) {
    case WM_DESTROY:
    case WM_CLOSE:
      releasescreens();
      releasedevices();
      if (enginehooks.releasesound) enginehooks.releasesound();
      freecharsets();
      freetextures();
      postquitmessage(0);
      // The default handling of WM_CLOSE destroys the window, which sends WM_DESTROY.
      if (message == WM_CLOSE && hwnd) {
        hwnd = 0;
        windowproc(window, WM_DESTROY, 0, 0);
      }
      return 0;
    case WM_ACTIVATEAPP:
      bActive = (int32_t)wparam;
      if (!bActive) losesurfaces();
      return 0;
    case WM_SETCURSOR:
      if (windowopen) platform::cursor_show(false);
      return 1;
    case WM_TIMER:
      if (bActive && timerflag == 0 && enginehooks.updatesounds) enginehooks.updatesounds();
      return 0;
    default:
      return 0;
  }
}

// ---- Presentation -------------------------------------------------------------

void presentprimary() {
  if (!windowopen || !lpDDSPrimary) return;
  ddsurface_t* s = lpDDSPrimary;
  if (s->bytes == 2) {
    platform::display_present_rgb16(reinterpret_cast<const uint16_t*>(s->pixels.data()), s->width,
                                    s->height, s->pitch,
                                    rmask == 0x7C00 ? platform::PixelFormat::RGB555
                                                    : platform::PixelFormat::RGB565);
    return;
  }
  static std::vector<uint16_t> frame;
  frame.resize((size_t)s->width * s->height);
  for (int y = 0; y < s->height; ++y)
    for (int x = 0; x < s->width; ++x) {
      uint32_t p = surfacepixel(s, x, y);
      uint32_t r = (p & rmask) >> rshift << rsize, g = (p & gmask) >> gshift << gsize,
               b = (p & bmask) >> bshift << bsize;
      frame[(size_t)y * s->width + x] = (uint16_t)(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    }
  platform::display_present_rgb16(frame.data(), s->width, s->height, s->width * 2,
                                  platform::PixelFormat::RGB565);
}

// ---- Entry ------------------------------------------------------------------------

static void traceframe() {
  if (!platform::trace_active()) return;
  platform::TraceLine line;
  line.add("frame", framenumber)
      .add("time", time)
      .add("deltatime", deltatime)
      .add("notasks", notasks)
      .add("nowindows", nowindows)
      .add("framerate", framerate)
      .add("introtype", introtype);
  if (tracegame) tracegame(line);
  platform::trace_write(line);
}

int WinMain(int32_t instance, int32_t previous, const char* cmdline, int show) {
  (void)previous;
  (void)cmdline;
  hinst = instance;
  if (platform::headless()) frameminimum = 20;
  newtime = gettickcount();
  int ok1 = initprimary(show);
  int ok2 = initinput(hinst, hwnd);
  int ok3 = enginehooks.initsound ? enginehooks.initsound(hwnd) : 1;
  if (!ok1 || !ok2 || !ok3) {
    initfail();
    return 0;
  }
  startup();
  srand(gettickcount());
  settimerrate(100);
  registertasks();
  for (;;) {
    if (peekmessage()) {
      message_t m = messages.front();
      messages.pop_front();
      if (m.message == WM_QUIT) return (int)m.wparam;
      windowproc(hwnd, m.message, m.wparam, 0);
      continue;
    }
    platform::begin_frame();
    pumpevents();
    gettime();
    if (enginehooks.camera && enginehooks.attract && enginehooks.attract()) enginehooks.camera();
    readkeyboard();
    readmouse();
    readjoystick();
    if (enginehooks.checkmouse) enginehooks.checkmouse();
    taskmanager();
    sendwindows();
    flipscreens();
    erasemouse();
    showmouse();
    if (enginehooks.checksounds) enginehooks.checksounds();
    presentprimary();
    framenumber += 1;
    traceframe();
    if (platform::end_frame()) postmessage(WM_CLOSE);
  }
}

}  // namespace kreelor
