// A generated desktop scene: the picture a full-screen program starts over
// (wallpaper, desktop icons, a few windows and a task bar). The space game's
// intro copies it from its primary surface and breaks it apart.
#pragma once
#include <cstdint>
#include <vector>

namespace platform {

// w x h pixels, 0x00RRGGBB, row by row; the same picture for the same size.
std::vector<uint32_t> desktop_picture(int w, int h);

}  // namespace platform
