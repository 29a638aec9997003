// The program window (or full screen) presenting one frame per call.
// The frame is either 8-bit palettised or 16-bit (5-6-5 or 5-5-5); it is scaled
// by a whole number and letterboxed. Headless, frames are kept for screenshots.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class PixelFormat : uint8_t { Indexed8, RGB565, RGB555 };

struct Rect { int left = 0, top = 0, right = 0, bottom = 0; };

struct DisplayConfig {
  std::string title;
  int width = 640, height = 480;  // frame size
  bool fullscreen = false;
  int scale = 0;                  // whole-number window scale; 0 picks the largest that fits
  bool resizable = false;
};

struct DesktopMode { int width = 0, height = 0, bits = 0; };

// Opens the window (a no-op window headless). Without a display: false and a
// one-line error suggesting --headless.
bool display_open(const DisplayConfig& cfg, std::string& error);
void display_close();
bool display_is_open();
// Changes frame size and window/full screen; the window keeps its scale.
void display_set_mode(int width, int height, bool fullscreen);
bool display_fullscreen();
void display_set_title(const std::string& title);
void display_raise();      // restore if minimised and bring to the front
void display_set_icon(const uint32_t* argb, int w, int h);

// Present a frame. The image is placed at (dst_x, dst_y) of the frame; the rest of the
// frame is black. Palette entries are 0x00RRGGBB.
void display_present_indexed(const uint8_t* pixels, int w, int h, int pitch,
                             const uint32_t palette[256], int dst_x = 0, int dst_y = 0);
void display_present_rgb16(const uint16_t* pixels, int w, int h, int pitch_bytes,
                           PixelFormat fmt, int dst_x = 0, int dst_y = 0);
// Show the last presented frame again (after a dialog or an expose).
void display_refresh();
// The last presented frame as 0x00RRGGBB pixels of the frame size.
const std::vector<uint32_t>& display_last_frame(int& w, int& h);

// Pointer.
void cursor_show(bool visible);
bool cursor_visible();
void cursor_confine(const Rect* frame_rect);  // nullptr releases the confinement
void cursor_warp(int x, int y);               // frame coordinates

// The display mode of the desktop, as the space game's mode rule reads it.
DesktopMode desktop_mode();

}  // namespace platform
