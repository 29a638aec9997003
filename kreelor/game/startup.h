// Game start-up and the boot sequence that runs until the game's own intro
// and game task arrive: the desktop breaking apart (or the title fading in
// when start-up left the desktop mode), then the dashboard in its attract
// look with the loaded fonts and the help text scrolling.
#pragma once
#include <cstdint>

namespace kreelor {

extern char* helptext;    // the help text, loaded at start-up
extern int32_t bootstate;  // 0 desktop, 1 fade, 2 boot screen

void startup();
// Registers the permanent tasks that exist, then the intro.
void registertasks();

void bootdesktop();
void bootfade();
void bootscreen();

}  // namespace kreelor
