#include "zubroll/sprite/dxdraw.h"

#include "platform/audio.h"
#include "platform/display.h"
#include "platform/host.h"

namespace zubroll {

void TDXDraw::Initialize() {
  if (initialized_) Finalize();
  if (OnInitializing) OnInitializing();
  if (PresentToPlatform && platform::display_is_open()) {
    const bool full = (Options & doFullScreen) != 0;
    // The window shows the surface alone; full screen shows the 640 x 480 mode.
    if (full)
      platform::display_set_mode(DisplayWidth, DisplayHeight, true);
    else
      platform::display_set_mode(Surface.Width, Surface.Height, false);
  }
  initialized_ = true;
  if (OnInitialize) OnInitialize();
  if (OnInitializeSurface) OnInitializeSurface();
}

void TDXDraw::Finalize() {
  if (!initialized_) return;
  initialized_ = false;
  if (OnFinalize) OnFinalize();
}

void TDXDraw::Flip() {
  if (!initialized_ || !PresentToPlatform || !platform::display_is_open()) return;
  uint32_t pal[256];
  Surface.PaletteAs0RGB(pal);
  platform::display_present_indexed(Surface.Pixels.data(), Surface.Width, Surface.Height, Surface.Width, pal,
                                    Left, Top);
}

bool TDXSound::Initialize() {
  initialized_ = platform::headless() || platform::audio_device_open();
  if (initialized_ && OnInitialize) OnInitialize();
  return initialized_;
}

}  // namespace zubroll
