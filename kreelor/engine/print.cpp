// Character sets and the formatted text printer.
#include "kreelor/engine/print.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "kreelor/engine/dataload.h"
#include "kreelor/engine/directx.h"
#include "kreelor/engine/memory.h"
#include "kreelor/engine/screen.h"
#include "kreelor/game/graphics.h"

namespace kreelor {

uint8_t* charsets[MAXCHARSETS] = {};
int32_t charsetsizes[MAXCHARSETS] = {};
static bool charsetremapped[MAXCHARSETS] = {};
int32_t nocharsets = 0;
uint8_t* charset = nullptr;
int32_t charsetno = 0, nochars = 0;

int32_t xcursor = 0, ycursor = 0, spacesize = 8, spacing = 8;
int32_t printmode = 0;
uint32_t printcolor = 0, printmask = 0;

static int16_t rd16(const uint8_t* p) { return (int16_t)(p[0] | p[1] << 8); }
static uint32_t rd32(const uint8_t* p) { return (uint32_t)p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

// A set is checked whole when it is loaded, so drawing never reads past it.
static bool validset(const uint8_t* b, int32_t size) {
  if (size < 8) return false;
  int n = b[0];
  if (n < 1 || 4 * n + 4 > size) return false;
  for (int i = 1; i <= n; ++i) {
    uint32_t off = rd32(b + 4 * i);
    if ((uint64_t)off + 12 > (uint64_t)size) return false;
    int w = rd16(b + off + 4), h = rd16(b + off + 6);
    if (w < 0 || h < 0 || (uint64_t)off + 12 + 2ull * w * h > (uint64_t)size) return false;
  }
  return true;
}

bool getglyph(int set, int index, glyph_t& g) {
  if (set < 0 || set >= nocharsets || !charsets[set]) return false;
  const uint8_t* b = charsets[set];
  if (index < 1 || index > b[0]) return false;
  const uint8_t* p = b + rd32(b + 4 * index);
  g.framew = rd16(p), g.frameh = rd16(p + 2), g.width = rd16(p + 4), g.height = rd16(p + 6);
  g.xoffset = rd16(p + 8), g.yoffset = rd16(p + 10);
  g.pixels = reinterpret_cast<uint16_t*>(const_cast<uint8_t*>(p + 12));
  return true;
}

void initprint() {
  freecharsets();
  printmode = 0;
  spacesize = 8;
  printmask = gmask;
}

void loadcharset(const char* name) {
  if (nocharsets >= MAXCHARSETS) return;
  std::FILE* f = openread(name);
  if (!f) return;
  int32_t size = filesize(f);
  auto* block = (uint8_t*)getmemory((size_t)std::max(size, 1));
  if (!block) return fileclose(f);
  if (!fileread(f, (size_t)size, block)) {
    freememory(block);
    return fileclose(f);
  }
  fileclose(f);
  if (!validset(block, size)) {
    freememory(block);
    errormessage("Error Reading File");
    return;
  }
  charsets[nocharsets] = block;
  charsetsizes[nocharsets] = size;
  charsetremapped[nocharsets] = false;
  ++nocharsets;
}

void setcharset(int n) {
  if (n < 0 || n >= nocharsets) n = 0;
  charsetno = n;
  charset = n < nocharsets ? charsets[n] : nullptr;
  nochars = charset ? charset[0] : 0;
  spacesize = getxsize('1' - 32) + 2;
}

void remapcharsets() {
  for (int s = 0; s < nocharsets; ++s) {
    if (charsetremapped[s]) continue;
    for (int i = 1; i <= charsets[s][0]; ++i) {
      glyph_t g;
      if (!getglyph(s, i, g)) continue;
      uint8_t* p = reinterpret_cast<uint8_t*>(g.pixels);
      for (int k = 0; k < g.width * g.height; ++k) {
        uint16_t v;
        std::memcpy(&v, p + 2 * k, 2);
        v = palettecolour(v);
        std::memcpy(p + 2 * k, &v, 2);
      }
    }
    charsetremapped[s] = true;
  }
}

void freecharsets() {
  for (int i = 0; i < nocharsets; ++i) {
    freememory(charsets[i]);
    charsets[i] = nullptr;
    charsetremapped[i] = false;
  }
  nocharsets = 0;
  charset = nullptr;
  nochars = 0;
  charsetno = 0;
}

void locate(int32_t x, int32_t y) { xcursor = x, ycursor = y; }
void setprintcolor(uint32_t pixel) { printcolor = pixel; }

static inline uint16_t ld(const uint16_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

void sendchar(int index) {
  const int mode = printmode & 127;
  if (mode != 0 && mode != 2 && mode != 8 && mode != 16 && mode != 32 && mode != 64) return;
  if (index == 0) {
    xcursor += spacesize;
    return;
  }
  if (index < 0 || index > nochars) return;
  glyph_t g;
  if (!getglyph(charsetno, index, g)) return;
  const int32_t x0 = xcursor, y0 = ycursor + g.yoffset;
  xcursor += g.width + (charsetno != 2 ? 2 : 0);
  if (!screen1) return;
  const int32_t clipw = std::min(windowxs, screenxs), cliph = std::min(windowys, screenys);
  if (x0 >= clipw || y0 >= cliph) return;
  const int sx = std::max(0, -x0), sy = std::max(0, -y0);
  const int ex = std::min<int>(g.width, clipw - x0), ey = std::min<int>(g.height, cliph - y0);
  const uint16_t pm = (uint16_t)printmask;
  for (int row = sy; row < ey; ++row) {
    const uint16_t* src = g.pixels + row * g.width;
    uint16_t* dst = reinterpret_cast<uint16_t*>(screen1 + (int64_t)(y0 + row) * screenpitch) + x0;
    for (int col = sx; col < ex; ++col) {
      const uint16_t s = ld(src + col);
      if (!s) continue;
      uint16_t& p = dst[col];
      switch (mode) {
        case 0: p = s; break;
        case 2: p = (uint16_t)printcolor; break;
        case 8: p = (uint16_t)((s >> 1) & cmask); break;
        case 16: p = (uint16_t)((p >> 1) & cmask); break;
        case 32: p = 0xFFFF; break;
        case 64:
          if (s & pm) p = (uint16_t)((p & ~pm) | std::min<uint32_t>(pm, (uint32_t)(p & pm) + (s & pm)));
          break;
      }
    }
  }
}

static void printva(const char* format, va_list* ap);

static void printstr(const char* s, ...) {
  va_list ap;
  va_start(ap, s);
  printva(s, &ap);
  va_end(ap);
}

void printnum(int32_t value, int base) {
  if (value == 0) return printstr("0");
  static const char digits[] = "0123456789ABCDEF";
  if (base < 2 || base > 16) base = 10;
  char buf[24];
  int pos = 23;
  buf[pos] = 0;
  uint64_t v = value < 0 ? (uint64_t)(-(int64_t)value) : (uint64_t)value;
  int count = 0;
  while (v && count < 22) buf[--pos] = digits[v % base], v /= base, ++count;
  if (value < 0) buf[--pos] = '-';
  printstr(buf + pos);
}

void printgrp(int32_t value) {
  const int32_t keepx = xcursor, keepy = ycursor;
  uint64_t v = value < 0 ? (uint64_t)(-(int64_t)value) : (uint64_t)value;
  int32_t x = keepx;
  for (int i = 0; i < 11; ++i) {
    x -= 14;
    xcursor = x;
    ycursor = keepy;
    printstr("%g", (int)('0' - 32 + v % 10));
    v /= 10;
  }
  xcursor = keepx, ycursor = keepy;
}

static void printva(const char* format, va_list* ap) {
  if (!format) return;
  for (const unsigned char* p = (const unsigned char*)format; *p; ++p) {
    if (*p != '%') {
      sendchar((int)*p - 32);
      continue;
    }
    const unsigned char code = *++p;
    if (!code) break;
    switch (code) {
      case 'g': sendchar(va_arg(*ap, int)); break;
      case 's': printva(va_arg(*ap, const char*), ap); break;
      case 'd': printnum(va_arg(*ap, int), 10); break;
      case 'x': printnum(va_arg(*ap, int), 16); break;
      case 'b': printnum(va_arg(*ap, int), 2); break;
      case 'v': printgrp(va_arg(*ap, int)); break;
      case 't': printmode ^= 1; break;
      case 'c': printmode ^= 2; break;
      case 'f': printmode ^= 4; break;
      case 'h': printmode ^= 8; break;
      case 'e': printmode ^= 16; break;
      case 'l': printmode ^= 32; break;
      case 'a': printmode ^= 64; break;
      case '%': sendchar('%' - 32); break;
      default: break;  // unknown codes draw nothing and take no argument
    }
  }
}

void print(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  printva(format, &ap);
  va_end(ap);
}

int32_t getxsize(int index) {
  if (index == 0) return spacesize;
  glyph_t g;
  if (index < 0 || index > nochars || !getglyph(charsetno, index, g)) return 0;
  return g.width;
}

int32_t getysize(int index) {
  glyph_t g;
  if (index < 0 || index > nochars || !getglyph(charsetno, index, g)) return 0;
  return g.height;
}

static int32_t charwidth(unsigned char c) {
  if (c < 32) return 0;
  if (c == ' ') return spacesize;
  return getxsize(c - 32) + 2;
}

int32_t getxlen(const char* text) {
  if (!text) return 0;
  int32_t n = 0;
  for (const unsigned char* p = (const unsigned char*)text; *p; ++p) n += charwidth(*p);
  return n;
}

int32_t getylen(const char* text) {
  if (!text) return 0;
  int32_t most = 0;
  for (const unsigned char* p = (const unsigned char*)text; *p; ++p) {
    if (*p < 32) continue;
    int index = *p == ' ' ? 37 : *p - 32;
    glyph_t g;
    if (index <= nochars && getglyph(charsetno, index, g)) most = std::max<int32_t>(most, g.height + g.yoffset);
  }
  return most;
}

static bool wordend(unsigned char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == 0; }

int getline(const char* text) {
  const int32_t limit = scrxscale;
  int32_t used = 0;
  int words = 0;
  bool broke = false;
  const unsigned char* p = (const unsigned char*)text;
  while (p && *p && words < 100) {
    int32_t w = 0;
    const unsigned char* q = p;
    while (!wordend(*q)) w += charwidth(*q++);
    const int32_t add = (words ? spacesize : 0) + w;
    // The first word always goes on the line, so a word wider than the line cannot stall the text.
    if (words > 0 && used + add > limit) {
      broke = true;
      break;
    }
    used += add;
    ++words;
    if (*q == '\r' || *q == 0) break;
    p = q + 1;
  }
  spacing = (broke && words > 1) ? spacesize + (limit - used) / (words - 1) : spacesize;
  return words;
}

// One glyph in the help-text look: coloured shadow one row up and 2 right, then the glyph.
static void shadowedchar(int index) {
  const int32_t keepmode = printmode, x = xcursor;
  printmode = 2;
  xcursor = x + 2;
  ycursor -= 1;
  sendchar(index);
  ycursor += 1;
  printmode = 0;
  xcursor = x;
  sendchar(index);
  printmode = keepmode;
}

void showtext(const char* text, int32_t y) {
  if (!text) return;
  printcolor = remapcolor(10, 42, 7);
  ycursor = y;
  const unsigned char* p = (const unsigned char*)text;
  while (*p && ycursor < windowys) {
    xcursor = 15;
    int left = getline((const char*)p);
    const int32_t linespace = spacing;
    while (*p && left > 0) {
      const unsigned char c = *p++;
      if (c == ' ' || c == '\n') {
        if (c == ' ') xcursor += linespace;
        --left;
      } else if (c == '\t') {
        xcursor = windowxs / 2 + 15;
        --left;
      } else if (c == '\r') {
        xcursor = 15;
        --left;
        if (*p) ++p;
      } else {
        shadowedchar(c - 32);
      }
    }
    ycursor += 13;
    spacesize = getxsize('1' - 32) + 2;
  }
}

void normaltext(const char* text, int32_t y) {
  if (!text) return;
  xcursor = 0;
  ycursor = y;
  for (const unsigned char* p = (const unsigned char*)text; *p && ycursor <= windowys + 20; ++p) {
    if (*p == '\n') {
      xcursor = 0;
      ycursor += 14;
    } else if (*p == ' ') {
      xcursor += 8;
    } else if (*p >= 32) {
      const int32_t cell = xcursor;
      xcursor = cell + (10 - getxsize(*p - 32)) / 2;
      shadowedchar(*p - 32);
      xcursor = cell + 8;
    }
  }
}

}  // namespace kreelor
