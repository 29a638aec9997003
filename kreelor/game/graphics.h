// The GUI window table and the pieces of the window layer the engine's screen
// copy and restore rules call (setwindowon, setwindowoff).
#pragma once
#include <cstdint>

namespace kreelor {

constexpr int MAXWINDOWS = 256;

extern int32_t wintype[MAXWINDOWS];
extern int32_t winxpos[MAXWINDOWS], winypos[MAXWINDOWS];
extern int32_t winxsize[MAXWINDOWS], winysize[MAXWINDOWS];
extern int32_t winxoff[MAXWINDOWS], winyoff[MAXWINDOWS];
extern int32_t winxscale[MAXWINDOWS], winyscale[MAXWINDOWS];
extern const char* wintext[MAXWINDOWS];
extern int32_t wingraph[MAXWINDOWS];
extern int32_t winvalue[MAXWINDOWS];
extern int32_t winkey[MAXWINDOWS];
extern int32_t winpress[MAXWINDOWS];
extern int32_t wintimer[MAXWINDOWS];
extern int32_t wintime[MAXWINDOWS];
extern int32_t winwidth[MAXWINDOWS];
extern int32_t winbackground[MAXWINDOWS];
extern int32_t wincolor[MAXWINDOWS], winborder[MAXWINDOWS];
extern int32_t winframes[MAXWINDOWS], winxdest[MAXWINDOWS], winydest[MAXWINDOWS];

extern int32_t nowindows, currentwindow, startwindow, windowabove, defaultback;
extern int32_t mainbright;  // brightness of kind-27 pictures (intro fades), 65536 full

// Window update: draws the window's content into its surface by kind.
// Kinds drawn so far: 2 (picture), 5 (value), 15 (large text), 27 (scaled
// picture at mainbright); the others draw nothing yet.
void updatewindow(int n);
void setwindowon(int n);   // mark for the next two frames and redraw now
void setwindowoff(int n);  // clear bit 0x20 if set, else bit 0x40
// A colour (0..255 each, times 280/256 capped at 255) as a display pixel.
uint32_t remapcolor(int32_t r, int32_t g, int32_t b);
// Clears the window table (no surfaces are released).
void initwindows();

}  // namespace kreelor
