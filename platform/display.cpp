// Window and frame presentation over SDL's renderer; headless keeps frames only.
#include "display.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "display_sdl.h"
#include "host.h"
#include "internal.h"

namespace platform {
namespace {

struct Display {
  bool open = false;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int tex_w = 0, tex_h = 0;
  int width = 640, height = 480;  // frame size
  int scale = 1;
  int requested_scale = 0;
  bool fullscreen = false;
  bool cursor_visible = true;
  std::vector<uint32_t> frame;  // last presented frame, 0x00RRGGBB
  Overlay* overlay = nullptr;
  SDL_Rect frame_rect{0, 0, 0, 0};
};

Display g;

int inset() { return (g.overlay && !g.fullscreen) ? g.overlay->top_inset() : 0; }

int fit_scale(int w, int h) {
  if (g.requested_scale > 0) return g.requested_scale;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  int s = 1;
  while (w * (s + 1) <= usable.w * 9 / 10 && (h * (s + 1) + 40) <= usable.h * 9 / 10 && s < 4) ++s;
  return s;
}

void layout() {
  if (!g.window) {
    g.frame_rect = {0, 0, g.width, g.height};
    return;
  }
  int ww, wh;
  SDL_GetWindowSize(g.window, &ww, &wh);
  int top = inset();
  if (g.fullscreen) {
    int s = std::max(1, std::min(ww / g.width, wh / g.height));
    g.scale = s;
    g.frame_rect = {(ww - g.width * s) / 2, (wh - g.height * s) / 2, g.width * s, g.height * s};
  } else {
    g.frame_rect = {0, top, g.width * g.scale, g.height * g.scale};
  }
}

void size_window() {
  if (!g.window) return;
  if (g.fullscreen) {
    SDL_SetWindowFullscreen(g.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  } else {
    SDL_SetWindowFullscreen(g.window, 0);
    g.scale = fit_scale(g.width, g.height);
    SDL_SetWindowSize(g.window, g.width * g.scale, g.height * g.scale + inset());
  }
  layout();
}

void ensure_texture() {
  if (!g.renderer) return;
  if (g.texture && g.tex_w == g.width && g.tex_h == g.height) return;
  if (g.texture) SDL_DestroyTexture(g.texture);
  g.texture = SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, g.width, g.height);
  g.tex_w = g.width;
  g.tex_h = g.height;
}

void render() {
  if (!g.renderer) return;
  layout();
  ensure_texture();
  if (g.texture) SDL_UpdateTexture(g.texture, nullptr, g.frame.data(), g.width * 4);
  SDL_SetRenderDrawColor(g.renderer, 0, 0, 0, 255);
  SDL_RenderClear(g.renderer);
  if (g.texture) SDL_RenderCopy(g.renderer, g.texture, nullptr, &g.frame_rect);
  if (g.overlay) g.overlay->render(g.renderer);
  SDL_RenderPresent(g.renderer);
}

void reset_frame() { g.frame.assign(size_t(g.width) * g.height, 0); }

}  // namespace

namespace detail {

bool window_to_frame(int wx, int wy, int& fx, int& fy) {
  if (!g.window) {
    fx = wx;
    fy = wy;
  } else {
    int s = std::max(1, g.scale);
    int dx = wx - g.frame_rect.x, dy = wy - g.frame_rect.y;
    // Floor division so points left of or above the frame stay negative.
    fx = dx >= 0 ? dx / s : -((-dx + s - 1) / s);
    fy = dy >= 0 ? dy / s : -((-dy + s - 1) / s);
  }
  return fx >= 0 && fy >= 0 && fx < g.width && fy < g.height;
}

void display_handle_window_event(int ev) {
  if (ev == SDL_WINDOWEVENT_EXPOSED || ev == SDL_WINDOWEVENT_SIZE_CHANGED || ev == SDL_WINDOWEVENT_RESIZED) render();
}

}  // namespace detail

bool display_open(const DisplayConfig& cfg, std::string& error) {
  display_close();
  g.width = std::max(1, cfg.width);
  g.height = std::max(1, cfg.height);
  g.fullscreen = cfg.fullscreen;
  g.requested_scale = cfg.scale > 0 ? cfg.scale : options().scale;
  reset_frame();
  if (headless()) {
    g.open = true;
    layout();
    return true;
  }
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    error = "no display available; run with --headless";
    return false;
  }
  g.scale = fit_scale(g.width, g.height);
  Uint32 flags = SDL_WINDOW_SHOWN | (cfg.resizable ? SDL_WINDOW_RESIZABLE : 0);
  if (g.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  g.window = SDL_CreateWindow(cfg.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, g.width * g.scale,
                              g.height * g.scale, flags);
  if (!g.window) {
    error = std::string("cannot open a window (") + SDL_GetError() + "); run with --headless";
    return false;
  }
  g.renderer = SDL_CreateRenderer(g.window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!g.renderer) g.renderer = SDL_CreateRenderer(g.window, -1, SDL_RENDERER_SOFTWARE);
  if (!g.renderer) {
    error = std::string("cannot draw in the window (") + SDL_GetError() + ")";
    display_close();
    return false;
  }
  g.open = true;
  size_window();
  render();
  return true;
}

void display_close() {
  if (g.texture) SDL_DestroyTexture(g.texture);
  if (g.renderer) SDL_DestroyRenderer(g.renderer);
  if (g.window) SDL_DestroyWindow(g.window);
  g.texture = nullptr;
  g.renderer = nullptr;
  g.window = nullptr;
  g.open = false;
}

bool display_is_open() { return g.open; }

void display_set_mode(int width, int height, bool fullscreen) {
  bool resized = width != g.width || height != g.height;
  g.width = std::max(1, width);
  g.height = std::max(1, height);
  g.fullscreen = fullscreen;
  if (resized) reset_frame();
  size_window();
  render();
}

bool display_fullscreen() { return g.fullscreen; }

void display_set_title(const std::string& title) {
  if (g.window) SDL_SetWindowTitle(g.window, title.c_str());
}

void display_raise() {
  if (!g.window) return;
  if (SDL_GetWindowFlags(g.window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(g.window);
  SDL_RaiseWindow(g.window);
}

void display_set_icon(const uint32_t* argb, int w, int h) {
  if (!g.window || !argb) return;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb), w, h, 32, w * 4,
                                                      SDL_PIXELFORMAT_ARGB8888);
  if (!s) return;
  SDL_SetWindowIcon(g.window, s);
  SDL_FreeSurface(s);
}

void display_present_indexed(const uint8_t* pixels, int w, int h, int pitch, const uint32_t palette[256],
                             int dst_x, int dst_y) {
  std::fill(g.frame.begin(), g.frame.end(), 0);
  for (int y = 0; y < h; ++y) {
    int fy = y + dst_y;
    if (fy < 0 || fy >= g.height) continue;
    const uint8_t* src = pixels + size_t(y) * pitch;
    uint32_t* dst = &g.frame[size_t(fy) * g.width];
    for (int x = 0; x < w; ++x) {
      int fx = x + dst_x;
      if (fx >= 0 && fx < g.width) dst[fx] = palette[src[x]] & 0xFFFFFF;
    }
  }
  render();
}

void display_present_rgb16(const uint16_t* pixels, int w, int h, int pitch_bytes, PixelFormat fmt, int dst_x,
                           int dst_y) {
  std::fill(g.frame.begin(), g.frame.end(), 0);
  for (int y = 0; y < h; ++y) {
    int fy = y + dst_y;
    if (fy < 0 || fy >= g.height) continue;
    const uint16_t* src = reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(pixels) +
                                                            size_t(y) * pitch_bytes);
    uint32_t* dst = &g.frame[size_t(fy) * g.width];
    for (int x = 0; x < w; ++x) {
      int fx = x + dst_x;
      if (fx < 0 || fx >= g.width) continue;
      uint32_t p = src[x], r, gg, b;
      if (fmt == PixelFormat::RGB555) {
        r = (p >> 10) & 31;
        gg = ((p >> 5) & 31) << 1 | ((p >> 9) & 1);
        b = p & 31;
      } else {
        r = (p >> 11) & 31;
        gg = (p >> 5) & 63;
        b = p & 31;
      }
      // Widen by repeating the top bits so full scale maps to 255.
      r = (r << 3) | (r >> 2);
      gg = (gg << 2) | (gg >> 4);
      b = (b << 3) | (b >> 2);
      dst[fx] = (r << 16) | (gg << 8) | b;
    }
  }
  render();
}

void display_refresh() { render(); }

const std::vector<uint32_t>& display_last_frame(int& w, int& h) {
  w = g.width;
  h = g.height;
  return g.frame;
}

void cursor_show(bool visible) {
  g.cursor_visible = visible;
  if (g.window) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool cursor_visible() { return g.cursor_visible; }

void cursor_confine(const Rect* r) {
  if (!g.window) return;
  if (!r) {
    SDL_SetWindowMouseRect(g.window, nullptr);
    return;
  }
  layout();
  int s = std::max(1, g.scale);
  SDL_Rect wr{g.frame_rect.x + r->left * s, g.frame_rect.y + r->top * s, (r->right - r->left) * s,
              (r->bottom - r->top) * s};
  SDL_SetWindowMouseRect(g.window, &wr);
}

void cursor_warp(int x, int y) {
  detail::Input& in = detail::state().input;
  in.x = x;
  in.y = y;
  in.inside = x >= 0 && y >= 0 && x < g.width && y < g.height;
  if (!g.window) return;
  layout();
  int s = std::max(1, g.scale);
  SDL_WarpMouseInWindow(g.window, g.frame_rect.x + x * s + s / 2, g.frame_rect.y + y * s + s / 2);
}

DesktopMode desktop_mode() {
  if (headless() || !SDL_WasInit(SDL_INIT_VIDEO)) return {1024, 768, 32};
  SDL_DisplayMode m;
  if (SDL_GetDesktopDisplayMode(0, &m) != 0) return {1024, 768, 32};
  int bits = SDL_BYTESPERPIXEL(m.format) == 4 ? 32 : int(SDL_BITSPERPIXEL(m.format));
  return {m.w, m.h, bits};
}

void display_set_overlay(Overlay* overlay) {
  g.overlay = overlay;
  if (g.window && !g.fullscreen) size_window();
}

Overlay* display_overlay() { return g.overlay; }
SDL_Window* display_sdl_window() { return g.window; }
SDL_Renderer* display_sdl_renderer() { return g.renderer; }
SDL_Rect display_frame_rect() {
  layout();
  return g.frame_rect;
}
int display_scale() { return std::max(1, g.scale); }

}  // namespace platform
