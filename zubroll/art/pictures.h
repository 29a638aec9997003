// Drawing of every picture; one function per catalogue item.
#pragma once
#include "canvas.h"

namespace zubroll::art {

// Draws the item named by a.spec into a.cr (ARGB); unknown names get nothing.
void draw_picture(Art& a);
bool has_drawer(const char* name);

}  // namespace zubroll::art
