// The mouse: the buffered reader and the pointer drawn on the visible page.
#pragma once
#include <cstdint>

#include "kreelor/engine/input.h"

namespace kreelor {

enum : uint32_t { DIMOFS_X = 0, DIMOFS_Y = 4, DIMOFS_Z = 8, DIMOFS_BUTTON0 = 12, DIMOFS_BUTTON1 = 13, DIMOFS_BUTTON2 = 14 };

extern didevice_t* g_pMouse;
extern int32_t g_hMouseEvent;  // signalled when new data arrives
extern bool systemswapbuttons;  // the system's "swap mouse buttons" setting

extern int32_t mousexp, mouseyp, mousexo, mouseyo, mousedx, mousedy;
extern int32_t mousebutton1, mousebutton2;
extern int32_t mousebuttons, mousepressed, mouserelease, mousebounce, mousereleased;
extern int32_t mouseflags, mousegraph;
extern uint16_t mousebuffer[8192];  // 16 KB: the pixels under the pointer

int initmouse();
int readmouse();
void mouseon();
void mouseoff();
void showmouse();
void erasemouse();

}  // namespace kreelor
