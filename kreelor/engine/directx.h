// Display, frame clock, program entry and window procedure.
//
// The display is a small virtual DirectDraw: a DirectDraw object holding the
// display mode, a primary surface with one attached back buffer, and one
// off-screen surface per GUI window. Surfaces are plain memory in the display's
// pixel format (15/16, 24 or 32 bits); the visible page is presented through
// platform/ as a 16-bit frame once per frame. Results follow DirectDraw: 0 is
// success, a surface can be busy (still drawing) or lost (after focus loss in
// full screen), and every caller keeps the retry and restore rules.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {
class TraceLine;
}

namespace kreelor {

// ---- DirectDraw stand-in -------------------------------------------------

enum : int32_t {
  DD_OK = 0,
  DDERR_GENERIC = -1,
  DDERR_WASSTILLDRAWING = -2,
  DDERR_SURFACELOST = -3,
  DDERR_INVALIDPARAMS = -4,
  DDERR_OUTOFMEMORY = -5,
  DDERR_NOTLOCKED = -6,
};

struct ddsurface_t {
  int32_t width = 0, height = 0;
  int32_t bytes = 2;         // bytes per pixel
  int32_t pitch = 0;         // bytes per row
  bool sysmem = false;       // system memory surfaces are never lost
  bool lost = false;
  bool locked = false;
  int busy = 0;              // calls that still answer "was still drawing"
  ddsurface_t* back = nullptr;  // the attached back buffer of the primary
  std::vector<uint8_t> pixels;
};

struct ddobject_t {
  int32_t width = 0, height = 0, bits = 0;  // current display mode
  bool exclusive = false;
  bool rgb555 = false;      // 16-bit modes use 5-5-5 instead of 5-6-5
};

// Calls of the virtual DirectDraw that can be told to fail (fault injection
// for tests and for trying the error paths by hand: --ddfail NAME).
enum ddcall : uint32_t {
  DDC_WINDOW = 1u << 0,
  DDC_CREATE = 1u << 1,
  DDC_COOPERATIVE = 1u << 2,
  DDC_GETMODE = 1u << 3,
  DDC_SETMODE = 1u << 4,
  DDC_PRIMARY = 1u << 5,
  DDC_BACK = 1u << 6,
  DDC_DESCRIBE = 1u << 7,
  DDC_SURFACE = 1u << 8,
  DDC_TIMER = 1u << 9,
};
extern uint32_t ddfailmask;

// ---- Display objects -------------------------------------------------------

extern int32_t hinst, hwnd;
extern ddobject_t* lpDD;
extern ddsurface_t* lpDDSPrimary;
extern ddsurface_t* lpDDSBack;
extern ddsurface_t* ddsurface[256];
extern int32_t introtype;

// Drawing target, set by every lock.
extern uint8_t* screen1;
extern int32_t screenpitch, screenxs, screenys;
extern int32_t windowxs, windowys;

// Pixel format of the display.
extern uint32_t cbits, rmask, gmask, bmask, rshift, gshift, bshift;
extern uint32_t rmult, gmult, bmult, rsize, gsize, bsize, cmask, dmask;

// Desktop picture for the intro: blue, green, red, spare per pixel.
extern uint8_t* desktop;
extern int32_t desktopxs, desktopys;
extern uint32_t* shadetab;  // 128 rows of 256 entries

// Frame clock.
extern uint32_t newtime, lasttime;
extern int32_t deltatime;
extern int32_t time;  // milliseconds since start (kreelor::time, not ::time)
extern int32_t framenumber, framerate;
// Shortest frame in ms: 2 as the clock rule says; headless runs use 20 so that
// every frame is one fixed step of the virtual clock.
extern uint32_t frameminimum;
// Tick source and waiter; platform::ticks / platform::wait_until by default.
extern uint32_t (*gettickcount)();
extern void (*waitticks)(uint32_t until);

extern int32_t bActive, timerflag;
extern int32_t fatalerror;  // set once a fatal box was shown; the program exits non-zero

// Fatal message box: caption, text and a Win32 style (MB_OK, MB_ICONSTOP).
// Defaults to platform::message_box; tests replace it to read the texts.
enum : uint32_t { MB_OK = 0x0, MB_ICONSTOP = 0x10 };
extern void (*messagebox)(const char* caption, const char* text, uint32_t style);

// Work of the later units that the entry and the window procedure call when
// those units exist (sound device, camera, GUI hover, sound slots, 10 ms timer).
struct enginehooks_t {
  int (*initsound)(int32_t window) = nullptr;
  void (*releasesound)() = nullptr;
  void (*checksounds)() = nullptr;
  void (*updatesounds)() = nullptr;
  void (*camera)() = nullptr;
  void (*checkmouse)() = nullptr;
  bool (*attract)() = nullptr;  // gameover set and no player object
  void (*control)() = nullptr;
  void (*updateobjects)() = nullptr;
  void (*updateparticles)() = nullptr;
};
extern enginehooks_t enginehooks;

// ---- Windows messages ------------------------------------------------------

enum : uint32_t {
  WM_DESTROY = 0x0002,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_ACTIVATEAPP = 0x001C,
  WM_SETCURSOR = 0x0020,
  WM_TIMER = 0x0113,
};
void postmessage(uint32_t message, intptr_t wparam = 0);
void postquitmessage(int code);
bool peekmessage();  // a message is waiting (pumps the platform's events first)
intptr_t windowproc(int32_t window, uint32_t message, intptr_t wparam, intptr_t lparam);

// ---- Interfaces ------------------------------------------------------------

int WinMain(int32_t instance, int32_t previous, const char* cmdline, int show);

int initprimary(int show);
int setprimary(int32_t width, int32_t height, int32_t bits);
int32_t GetSurface(ddsurface_t* surface);
int createwindow(int n);
void releasewindow(int n);
void removewindow(int n);
void removewindows(int first);
void lockwindow(int n);
void unlockwindow(int n);
void lockprimary();
void unlockprimary();
void lockback();
void unlockback();
void blitgraphic(int n);
void clearwindow(int n, uint32_t colour);
void clearback(uint32_t colour);
void sendwindows();
void redrawwindows();
void flipscreens();
int32_t restorewindow(int n);
int32_t restoreprimary();
void releasescreens();
int createdesktop();
void makeshadetables();
void freedesktop();

void gettime();
void settimerrate(int persecond);
void enabletimer();
void disabletimer();
void updateframe();

int errormessage(const char* text);
int memoryerror();
int initfail();
void exitgame();

// Derives the pixel-format variables from three channel masks and a depth.
// False when a mask is 0.
bool setpixelformat(uint32_t bits, uint32_t r, uint32_t g, uint32_t b);
// The display-mode rule: true when the desktop mode is kept.
bool keepdesktopmode(int32_t width, int32_t height, int32_t bits);
// Marks the primary, its back buffer and every video-memory window surface lost
// (what a full-screen display does when the program loses the focus).
void losesurfaces();
// Presents the visible page through platform/ (converted to 16 bits if needed).
void presentprimary();
// Reads pixel (x, y) of a surface as a raw value (tests and screenshots).
uint32_t surfacepixel(const ddsurface_t* s, int x, int y);

// 16-bit display modes use 5-5-5 (--rgb555); full screen (--fullscreen).
extern bool rgb555mode, fullscreenmode;
// Adds the game's own fields to the --trace line of each frame.
extern void (*tracegame)(platform::TraceLine& line);

// Virtual desktop mode used instead of the platform's when width is not 0
// (--desktop WxHxBITS).
extern int32_t desktopoverride[3];

}  // namespace kreelor
