// Forms internals: the Dear ImGui context over the SDL window, the one display
// overlay (menu bar and modal windows), fonts, textures and the modal loop.
// Nothing here is used headless.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "form.h"

struct ImFont;
struct ImVec2;

namespace platform::forms::detail {

// True when a window and renderer are up and the run is not headless.
bool gui_available();
// A scripted run (--input) answers its dialogs from the script even with a
// window: true with the answer when one is queued.
bool take_scripted_answer(std::string& answer);
// Creates or refreshes the ImGui context for the current window; false without one.
bool gui_ensure();

// Puts the forms overlay on the display (menu bar height, events, drawing).
void register_overlay();

// Fonts: the nearest built face for a point size and weight.
ImFont* font_for(int points, bool bold);
ImFont* ui_font();  // menus and title bars

constexpr int kMenuBarHeight = 20;  // pixels (12-pixel font, 4-pixel padding)

// A window shown modally by run_modal.
class ModalWindow {
 public:
  virtual ~ModalWindow() = default;
  virtual void draw(bool active) = 0;  // inside the ImGui frame
  virtual void after_frame() = 0;      // handlers, outside the frame
  virtual bool done() const = 0;
  virtual void cancel() = 0;           // the window system asked to quit
  virtual void idle() {}
};

// Runs `w` over the last presented frame until it is done. Nests.
void run_modal(ModalWindow& w);
bool modal_active();
// While a menu of the bar is open: runs its own loop over the last frame, as
// the window system's menu loop does, until the menu closes.
void run_menu_loop();

// Colour helpers (0x00RRGGBB to ImGui).
uint32_t im_color(uint32_t rgb, uint8_t alpha = 255);

// A texture made from 0x00RRGGBB pixels on the current renderer; recreated
// when the renderer changes. Null headless.
class Texture {
 public:
  Texture() = default;
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;
  ~Texture();
  void update(const uint32_t* rgb, int w, int h);
  SDL_Texture* get();  // nullptr when empty or the renderer changed since update
  int width() const { return w_; }
  int height() const { return h_; }

 private:
  void release();
  SDL_Texture* tex_ = nullptr;
  unsigned generation_ = 0;
  int w_ = 0, h_ = 0;
};
unsigned renderer_generation();

// Draw-data renderer on an SDL_Renderer (SDL_RenderGeometryRaw).
void render_draw_data(SDL_Renderer* renderer);

// Headless log line, in the style of the message boxes.
void log_dialog(const std::string& kind, const std::string& caption, const std::string& detail,
                const std::string& answer);

// Text drawing used by the controls and the menu bar: `text` at window
// position (x, y) in `font`, with the character at byte `underline` (or -1)
// underlined.
void draw_text(ImFont* font, float x, float y, uint32_t im_col, const std::string& text,
               int underline = -1);

// Where the client area of the form being drawn starts, in window pixels.
void set_client_origin(float x, float y);
void client_origin(float& x, float& y);

// Enter and Esc pressed since the top modal window last looked (latched from
// the events, so quick taps between two frames are not lost).
bool take_enter();
// A key went down (or repeated) since the last frame, with its modifiers;
// ImGui's own key state misses a press and release between two frames.
bool key_pressed(int scancode, Uint16* mod = nullptr);
bool take_escape();

// Windows-classic drawing shared by the forms and the file dialog (window
// coordinates, inside a frame).
void draw_raised(float x0, float y0, float x1, float y1);   // button-like bevel
void draw_sunken(float x0, float y0, float x1, float y1);   // edit-like bevel
// A push button; true when clicked (and enabled).
bool draw_button(const char* id, const std::string& caption, float x, float y, float w, float h,
                 bool enabled, bool is_default, ImFont* font);

}  // namespace platform::forms::detail
