// SDL side of the display for platform/forms: an overlay (menu bar and dialogs
// drawn with Dear ImGui) sits on top of the frame, and a top inset above it.
#pragma once
#include <SDL.h>

namespace platform {

class Overlay {
 public:
  virtual ~Overlay() = default;
  // Sees every SDL event first; true means the overlay consumed it.
  virtual bool handle_event(const SDL_Event& ev) = 0;
  // Draws over the presented frame, before SDL_RenderPresent.
  virtual void render(SDL_Renderer* renderer) = 0;
  // Pixels above the frame reserved for the overlay's menu bar (window mode only).
  virtual int top_inset() const = 0;
};

void display_set_overlay(Overlay* overlay);  // nullptr removes it
Overlay* display_overlay();
SDL_Window* display_sdl_window();            // nullptr headless
SDL_Renderer* display_sdl_renderer();
// Where the frame sits inside the window, in window pixels.
SDL_Rect display_frame_rect();
int display_scale();

}  // namespace platform
