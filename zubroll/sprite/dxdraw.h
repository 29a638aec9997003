// Display surface component: the 512 x 400 8-bit surface shown through the
// platform display, in a window or in a 640 x 480 full-screen mode; and the
// sound component that says whether sound could be set up.
#pragma once
#include <functional>

#include "zubroll/sprite/surface.h"

namespace zubroll {

enum TDXDrawOption : unsigned {
  doFullScreen = 1,
  doSystemMemory = 2,
  doWaitVBlank = 4,
  doSelectDriver = 8,
};

class TDXDraw {
 public:
  TDXDraw() : Surface(512, 400) {}
  TDirectDrawSurface Surface;
  unsigned Options = doWaitVBlank | doSelectDriver;
  int DisplayWidth = 640, DisplayHeight = 480, DisplayBits = 8;
  int Left = 0, Top = 0;  // where the surface sits in the display
  bool SurfaceCursorNone = false;

  std::function<void()> OnInitializing, OnInitialize, OnInitializeSurface, OnFinalize;

  // Sets the platform display to the mode the options ask for and calls the events.
  void Initialize();
  void Finalize();
  bool Initialized() const { return initialized_; }
  bool CanDraw() const { return initialized_; }
  // Presents the surface with its palette at (Left, Top).
  void Flip();
  TCanvas Canvas() { return TCanvas(&Surface); }
  // Only records the state: tests run without a display.
  bool PresentToPlatform = true;

 private:
  bool initialized_ = false;
};

enum TDXSoundOption : unsigned { soGlobalFocus = 1, soStickyFocus = 2 };

class TDXSound {
 public:
  unsigned Options = soGlobalFocus | soStickyFocus;
  std::function<void()> OnInitialize;
  // True when the mixer is heard (a device) or captured (headless).
  bool Initialize();
  void Finalize() { initialized_ = false; }
  bool Initialized() const { return initialized_; }

 private:
  bool initialized_ = false;
};

}  // namespace zubroll
