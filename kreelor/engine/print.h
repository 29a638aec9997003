// Character sets and the formatted text printer. Everything draws 16-bit
// pixels into the locked drawing target, clipped to the window (windowxs, windowys).
#pragma once
#include <cstdint>

namespace kreelor {

constexpr int MAXCHARSETS = 128;

extern uint8_t* charsets[MAXCHARSETS];
extern int32_t charsetsizes[MAXCHARSETS];
extern int32_t nocharsets;
extern uint8_t* charset;
extern int32_t charsetno, nochars;

extern int32_t xcursor, ycursor, spacesize, spacing;
extern int32_t printmode;
extern uint32_t printcolor, printmask;

// Glyph header fields (all signed 16-bit in the file).
struct glyph_t {
  int16_t framew, frameh, width, height, xoffset, yoffset;
  uint16_t* pixels;  // width * height pixels, 0 transparent
};
// Glyph `index` (1..N) of set `set`; false when there is none.
bool getglyph(int set, int index, glyph_t& g);

void initprint();
void loadcharset(const char* name);  // a file that cannot be opened is skipped silently
void setcharset(int n);
void remapcharsets();
void freecharsets();
void locate(int32_t x, int32_t y);
void setprintcolor(uint32_t pixel);
void print(const char* format, ...);
void sendchar(int index);
void printnum(int32_t value, int base);
void printgrp(int32_t value);
int32_t getxlen(const char* text);
int32_t getylen(const char* text);
int32_t getxsize(int index);
int32_t getysize(int index);
int getline(const char* text);
void showtext(const char* text, int32_t y);
void normaltext(const char* text, int32_t y);

}  // namespace kreelor
