// Glowing spark lines.
#pragma once
#include <cstdint>

namespace kreelor {

extern int32_t xpos1, ypos1, xpos2, ypos2;
// Channel mask the sparks add into (the GUI layer sets it; blue by default).
extern uint32_t sparkmask;

// A 14-pixel glowing band per column from (xpos1, ypos1) to (xpos2, ypos2),
// right end excluded; not clipped.
void thickline(uint32_t colour);

}  // namespace kreelor
