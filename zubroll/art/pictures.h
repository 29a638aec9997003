// Drawing of every picture; one function per catalogue item.
#pragma once
#include "canvas.h"

namespace zubroll::art {

// Draws the item named by a.item_spec into a.cr (ARGB); false for a name that has
// no drawing.
bool draw_picture(Art& a);
bool has_drawer(const char* name);

}  // namespace zubroll::art
