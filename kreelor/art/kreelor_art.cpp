// Build-time generator of the space game's character sets ("kreel1.chr" ..
// "kreel6.chr") and help text ("kreel.txt"), and of their contact sheet.
//
//   kreelor_art OUTDIR HELPSOURCE           write the six sets and the help text
//   kreelor_art --contact-sheet OUT.png DIR  draw every glyph of DIR's six sets
//
// Set 0: button and value font, slider segments (94, 95), the pointer (134, 135).
// Set 1: the large banner and menu font. Set 2: the small banner font (its glyph
// widths carry their own spacing). Set 3: the help-text font.
// Set 4: GUI pictures: 1-10 LCD digits, 11 "LEVEL", 12 docking icon, 13 logo,
// 14 "SCORE", 15 "HIGH SCORE", 16 "SHIPS", 17 ship icon, 18 "SHIELD", 19 "SMART
// BOMBS", 20 shield gauge, 21 smart bomb icon, 22 title picture, 23-30 backgrounds.
// Set 5: particle sprites: 1-20 fireball, 21-47 shock wave, 48-64 sparks, 65 glow.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "kreelor/art/chrfile.h"

using kreelorart::Glyph;
using kreelorart::rgb565;

namespace {

constexpr double PI = 3.14159265358979323846;

// Deterministic generator for scattered detail (stars, puffs).
struct Rng {
  uint32_t s;
  explicit Rng(uint32_t seed) : s(seed) {}
  uint32_t next() { return s = s * 1664525u + 1013904223u; }
  double unit() { return (next() >> 8) / 16777216.0; }
  double range(double a, double b) { return a + (b - a) * unit(); }
};

struct Img {
  int w = 0, h = 0;
  std::vector<uint32_t> px;  // cairo ARGB32, premultiplied
};

Img render(int w, int h, const std::function<void(cairo_t*)>& draw) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  draw(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  Img img;
  img.w = w, img.h = h;
  img.px.resize((size_t)w * h);
  const uint8_t* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.px[(size_t)y * w + x] = *(const uint32_t*)(data + y * stride + 4 * x);
  cairo_surface_destroy(s);
  return img;
}

// Pixels with alpha below `threshold` become transparent; the others keep their
// colour as drawn over black (anti-aliased edges darken instead of blending).
uint16_t topixel(uint32_t argb, int threshold) {
  int a = argb >> 24;
  if (a < threshold || a == 0) return 0;
  return rgb565((argb >> 16) & 255, (argb >> 8) & 255, argb & 255);
}

struct Box {
  int x0, y0, x1, y1;
  bool empty() const { return x1 <= x0 || y1 <= y0; }
};

Box inkbox(const Img& img, int threshold) {
  Box b{img.w, img.h, 0, 0};
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x)
      if (topixel(img.px[(size_t)y * img.w + x], threshold)) {
        b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x + 1), b.y1 = std::max(b.y1, y + 1);
      }
  return b;
}

Glyph cut(const Img& img, Box b, int threshold, int padleft = 0, int padright = 0) {
  Glyph g;
  if (b.empty()) b = {0, 0, 0, 0};
  const int w = b.x1 - b.x0 + padleft + padright, h = b.y1 - b.y0;
  g.width = (int16_t)w, g.height = (int16_t)h;
  g.pixels.assign((size_t)w * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = b.x0; x < b.x1; ++x)
      g.pixels[(size_t)y * w + padleft + (x - b.x0)] = topixel(img.px[(size_t)(b.y0 + y) * img.w + x], threshold);
  g.framew = (int16_t)img.w, g.frameh = (int16_t)img.h;
  g.xoffset = (int16_t)b.x0, g.yoffset = (int16_t)b.y0;
  return g;
}

// A whole picture, every pixel kept (opaque art).
Glyph picture(const Img& img, int threshold = 128) { return cut(img, {0, 0, img.w, img.h}, threshold); }

// ---- Fonts ---------------------------------------------------------------------

struct Stop {
  double at, r, g, b;
};

struct FontStyle {
  const char* family = "DejaVu Sans";
  bool bold = true;
  double size = 15;
  int cellh = 22, baseline = 17;
  bool smooth = true;
  double outline = 0;  // width of a dark outline drawn under the fill
  double or_ = 0, og = 0, ob = 0;
  std::vector<Stop> fill;  // vertical gradient, from the cap top to the baseline
  int threshold = 96;
  int padleft = 0, padright = 0;
  bool captop = false;  // vertical offsets from the capitals' top (see fontglyphs)
};

std::string utf8(uint32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += (char)cp;
  } else if (cp < 0x800) {
    s += (char)(0xC0 | (cp >> 6)), s += (char)(0x80 | (cp & 63));
  } else {
    s += (char)(0xE0 | (cp >> 12)), s += (char)(0x80 | ((cp >> 6) & 63)), s += (char)(0x80 | (cp & 63));
  }
  return s;
}

// Windows-1252 codes 128..255 as Unicode (undefined codes as a middle dot).
uint32_t cp1252(int code) {
  static const uint16_t high[32] = {0x20AC, 0x00B7, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x00B7, 0x017D, 0x00B7,
                                    0x00B7, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x00B7, 0x017E, 0x0178};
  if (code >= 128 && code < 160) return high[code - 128];
  return (uint32_t)code;
}

void setfont(cairo_t* cr, const FontStyle& fs) {
  cairo_select_font_face(cr, fs.family, CAIRO_FONT_SLANT_NORMAL, fs.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, fs.size);
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_antialias(fo, fs.smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, fo);
  cairo_font_options_destroy(fo);
  cairo_set_antialias(cr, fs.smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
}

void gradientfill(cairo_t* cr, const std::vector<Stop>& stops, double y0, double y1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  for (auto& s : stops) cairo_pattern_add_color_stop_rgb(p, s.at, s.r, s.g, s.b);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

// Draws `text` with the style's outline and gradient at (x, baseline).
void styledtext(cairo_t* cr, const FontStyle& fs, const std::string& text, double x, double baseline) {
  setfont(cr, fs);
  cairo_move_to(cr, x, baseline);
  cairo_text_path(cr, text.c_str());
  if (fs.outline > 0) {
    cairo_set_source_rgb(cr, fs.or_, fs.og, fs.ob);
    cairo_set_line_width(cr, fs.outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  gradientfill(cr, fs.fill, baseline - fs.size * 0.75, baseline);
  cairo_fill(cr);
}

Glyph textglyph(const FontStyle& fs, uint32_t cp) {
  const int w = (int)(fs.size * 2.2) + 8;
  Img img = render(w, fs.cellh, [&](cairo_t* cr) { styledtext(cr, fs, utf8(cp), 4, fs.baseline); });
  Box b = inkbox(img, fs.threshold);
  if (b.empty()) {  // nothing to show: a narrow empty glyph keeps the spacing sensible
    Glyph g;
    g.width = (int16_t)std::max(1, (int)(fs.size / 4));
    g.height = 1;
    g.pixels.assign((size_t)g.width, 0);
    g.framew = g.width, g.frameh = 1;
    return g;
  }
  Glyph g = cut(img, b, fs.threshold, fs.padleft, fs.padright);
  g.xoffset = 0;
  g.framew = g.width, g.frameh = g.height;
  return g;
}

// Glyphs for codes first..last, code 128 and up through Windows-1252. With
// `captop` the vertical offsets count from the top of the capitals, so a
// text's height (getylen) is the height of its letters, not of the font's
// accent room: accented capitals reach above with a negative offset.
void fontglyphs(std::vector<Glyph>& out, const FontStyle& fs, int first, int last) {
  const int top = fs.captop ? textglyph(fs, 'H').yoffset : 0;
  for (int code = first; code <= last; ++code) {
    Glyph g = textglyph(fs, cp1252(code));
    const bool ink = std::any_of(g.pixels.begin(), g.pixels.end(), [](uint16_t p) { return p != 0; });
    if (ink) g.yoffset = (int16_t)(g.yoffset - top);
    out.push_back(g);
  }
}

FontStyle buttonfont() {
  FontStyle fs;
  fs.size = 15, fs.cellh = 22, fs.baseline = 17;
  fs.outline = 0;
  fs.fill = {{0, 1.0, 1.0, 0.92}, {0.55, 0.78, 1.0, 0.70}, {1, 0.45, 0.90, 0.38}};
  return fs;
}

FontStyle bannerfont() {
  FontStyle fs;
  fs.size = 40, fs.cellh = 52, fs.baseline = 42;
  fs.outline = 3, fs.or_ = 0.02, fs.og = 0.10, fs.ob = 0.22;
  fs.fill = {{0, 0.95, 1.0, 1.0}, {0.45, 0.45, 0.85, 1.0}, {0.5, 0.20, 0.55, 0.95}, {1, 0.70, 0.95, 1.0}};
  // Banner spacing: "GAME OVER" is about 330 pixels wide, as the game's
  // banner placement (165 left of its centre) expects.
  fs.padleft = 2, fs.padright = 3;
  // Menu lines stand 36 pixels apart: a line's height is its capitals' height.
  fs.captop = true;
  return fs;
}

FontStyle smallfont() {
  FontStyle fs;
  fs.size = 13, fs.cellh = 18, fs.baseline = 14;
  fs.bold = true;
  fs.smooth = false;
  fs.fill = {{0, 1.0, 1.0, 0.85}, {1, 0.55, 1.0, 0.85}};
  // This set is drawn without the printer's 2-pixel gap, so the glyphs carry
  // their own: "Press ESC for options" is about 214 pixels wide, as its
  // placement (107 left of the banner's centre) expects.
  fs.padleft = 2, fs.padright = 2;
  return fs;
}

FontStyle helpfont() {
  FontStyle fs;
  fs.size = 11, fs.cellh = 15, fs.baseline = 11;
  fs.bold = false;
  fs.smooth = false;
  fs.fill = {{0, 0.93, 1.0, 0.90}, {1, 0.80, 0.97, 0.78}};
  return fs;
}

// Slider segment: a lit bar piece; the last three of a bar are red.
Glyph segment(bool hot) {
  Img img = render(12, 14, [&](cairo_t* cr) {
    cairo_rectangle(cr, 1, 1, 10, 12);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 1, 0, 13);
    if (hot) {
      cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.85, 0.55);
      cairo_pattern_add_color_stop_rgb(p, 1, 0.80, 0.15, 0.05);
    } else {
      cairo_pattern_add_color_stop_rgb(p, 0, 0.75, 1.0, 0.65);
      cairo_pattern_add_color_stop_rgb(p, 1, 0.15, 0.65, 0.10);
    }
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.05, 0.15, 0.04);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  });
  return picture(img);
}

// The mouse pointer: an arrow; the highlighted one glows amber.
Glyph pointer(bool hot) {
  Img img = render(16, 22, [&](cairo_t* cr) {
    cairo_move_to(cr, 1, 1);
    cairo_line_to(cr, 1, 17);
    cairo_line_to(cr, 5, 13);
    cairo_line_to(cr, 8, 20);
    cairo_line_to(cr, 11, 19);
    cairo_line_to(cr, 8, 12);
    cairo_line_to(cr, 13, 12);
    cairo_close_path(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    if (hot)
      cairo_set_source_rgb(cr, 1.0, 0.85, 0.25);
    else
      cairo_set_source_rgb(cr, 0.92, 1.0, 0.92);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, hot ? 0.45 : 0.05, hot ? 0.15 : 0.25, 0.02);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  });
  return picture(img);
}

std::vector<Glyph> set0() {
  std::vector<Glyph> g;
  FontStyle fs = buttonfont();
  fontglyphs(g, fs, 33, 125);  // glyphs 1..93
  g.push_back(segment(false));  // 94
  g.push_back(segment(true));   // 95
  fontglyphs(g, fs, 128, 165);  // 96..133
  g.push_back(pointer(false));  // 134
  g.push_back(pointer(true));   // 135
  return g;
}

std::vector<Glyph> fontset(const FontStyle& fs) {
  std::vector<Glyph> g;
  fontglyphs(g, fs, 33, 255);  // glyph index = code - 32 for every code
  return g;
}

// ---- GUI pictures (set 4) ---------------------------------------------------------

void roundrect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, PI / 2, PI);
  cairo_arc(cr, x + r, y + r, r, PI, 1.5 * PI);
  cairo_close_path(cr);
}

// Dashboard label: a dark green plate with a bright rim and bevelled lettering.
Glyph label(const char* text, int w, int h) {
  Img img = render(w, h, [&](cairo_t* cr) {
    roundrect(cr, 1.5, 1.5, w - 3, h - 3, 7);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.10, 0.30, 0.08);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.02, 0.09, 0.02);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.35, 0.85, 0.28);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    FontStyle fs;
    fs.size = h * 0.5, fs.outline = 2, fs.or_ = 0.0, fs.og = 0.08, fs.ob = 0.0;
    fs.fill = {{0, 1, 1, 0.9}, {1, 0.5, 0.95, 0.4}};
    setfont(cr, fs);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    if (e.x_advance > w - 18) {  // long labels get a smaller size that fits the plate
      fs.size *= (w - 18) / e.x_advance;
      setfont(cr, fs);
      cairo_text_extents(cr, text, &e);
    }
    styledtext(cr, fs, text, (w - e.x_advance) / 2, h / 2.0 + fs.size * 0.36);
  });
  return picture(img);
}

// Seven-segment digit on a dark cell.
Glyph lcddigit(int d) {
  static const int seg[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  Img img = render(18, 28, [&](cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, 18, 28);
    cairo_set_source_rgb(cr, 0.02, 0.07, 0.02);
    cairo_fill(cr);
    struct S {
      double x, y, w, h;
    } s[7] = {{4, 2, 10, 3}, {13, 4, 3, 9}, {13, 15, 3, 9}, {4, 23, 10, 3}, {2, 15, 3, 9}, {2, 4, 3, 9}, {4, 12.5, 10, 3}};
    for (int i = 0; i < 7; ++i) {
      bool on = seg[d] & (1 << i);
      roundrect(cr, s[i].x, s[i].y, s[i].w, s[i].h, 1.2);
      if (on)
        cairo_set_source_rgb(cr, 0.55, 1.0, 0.45);
      else
        cairo_set_source_rgb(cr, 0.06, 0.16, 0.05);
      cairo_fill(cr);
    }
  });
  return picture(img);
}

void shipshape(cairo_t* cr, double cx, double top, double s) {
  cairo_move_to(cr, cx, top);
  cairo_line_to(cr, cx + 0.18 * s, top + 0.45 * s);
  cairo_line_to(cr, cx + 0.50 * s, top + 0.72 * s);
  cairo_line_to(cr, cx + 0.50 * s, top + 0.86 * s);
  cairo_line_to(cr, cx + 0.14 * s, top + 0.78 * s);
  cairo_line_to(cr, cx + 0.10 * s, top + 0.95 * s);
  cairo_line_to(cr, cx - 0.10 * s, top + 0.95 * s);
  cairo_line_to(cr, cx - 0.14 * s, top + 0.78 * s);
  cairo_line_to(cr, cx - 0.50 * s, top + 0.86 * s);
  cairo_line_to(cr, cx - 0.50 * s, top + 0.72 * s);
  cairo_line_to(cr, cx - 0.18 * s, top + 0.45 * s);
  cairo_close_path(cr);
}

Glyph shipicon() {
  Img img = render(38, 40, [&](cairo_t* cr) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(19, 37, 0, 19, 37, 9);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.8, 0.3, 1);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.3, 0.0, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    shipshape(cr, 19, 2, 34);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 2, 0, 36);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.25, 0.55, 0.85);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.05, 0.15, 0.3);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_arc(cr, 19, 15, 3, 0, 2 * PI);
    cairo_set_source_rgb(cr, 0.1, 0.3, 0.6);
    cairo_fill(cr);
  });
  return picture(img, 48);
}

Glyph bombicon() {
  Img img = render(38, 44, [&](cairo_t* cr) {
    cairo_arc(cr, 19, 26, 13, 0, 2 * PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(14, 21, 1, 19, 26, 14);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.95, 0.7);
    cairo_pattern_add_color_stop_rgb(p, 0.35, 1.0, 0.55, 0.15);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.45, 0.08, 0.02);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, 15, 7, 8, 7);
    cairo_set_source_rgb(cr, 0.55, 0.55, 0.6);
    cairo_fill(cr);
    cairo_move_to(cr, 19, 7);
    cairo_curve_to(cr, 20, 2, 26, 4, 27, 1);
    cairo_set_source_rgb(cr, 0.9, 0.8, 0.5);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_arc(cr, 27, 2, 2, 0, 2 * PI);
    cairo_set_source_rgb(cr, 1.0, 1.0, 0.6);
    cairo_fill(cr);
  });
  return picture(img, 48);
}

// Shield gauge: ten segments from red (empty) to green (full).
Glyph gauge() {
  Img img = render(92, 44, [&](cairo_t* cr) {
    roundrect(cr, 1, 6, 90, 32, 5);
    cairo_set_source_rgb(cr, 0.03, 0.08, 0.03);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.3, 0.75, 0.25);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int i = 0; i < 10; ++i) {
      double t = i / 9.0;
      double r = t < 0.5 ? 1.0 : 1.0 - (t - 0.5) * 2, g = t < 0.5 ? t * 2 : 1.0;
      roundrect(cr, 5 + i * 8.4, 11, 6.6, 22, 1.5);
      cairo_pattern_t* p = cairo_pattern_create_linear(0, 11, 0, 33);
      cairo_pattern_add_color_stop_rgb(p, 0, std::min(1.0, r + 0.4), std::min(1.0, g + 0.4), 0.5);
      cairo_pattern_add_color_stop_rgb(p, 1, r * 0.6, g * 0.6, 0.05);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
    }
  });
  return picture(img);
}

Glyph dockicon() {
  Img img = render(40, 40, [&](cairo_t* cr) {
    cairo_set_line_width(cr, 4);
    cairo_arc(cr, 20, 20, 15, 0, 2 * PI);
    cairo_set_source_rgb(cr, 0.75, 0.85, 0.95);
    cairo_stroke(cr);
    for (int i = 0; i < 4; ++i) {
      double a = i * PI / 2 + PI / 4;
      cairo_move_to(cr, 20 + 5 * std::cos(a), 20 + 5 * std::sin(a));
      cairo_line_to(cr, 20 + 14 * std::cos(a), 20 + 14 * std::sin(a));
    }
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_arc(cr, 20, 20, 5, 0, 2 * PI);
    cairo_set_source_rgb(cr, 0.4, 1.0, 0.5);
    cairo_fill(cr);
  });
  return picture(img, 48);
}

void logotext(cairo_t* cr, const char* text, double cx, double baseline, double size) {
  FontStyle fs = bannerfont();
  fs.size = size, fs.outline = size / 8;
  setfont(cr, fs);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  styledtext(cr, fs, text, cx - e.x_advance / 2, baseline);
}

Glyph smalllogo() {
  Img img = render(160, 40, [&](cairo_t* cr) { logotext(cr, "KREELOR", 80, 32, 30); });
  return picture(img, 64);
}

// Deep space: a gradient, nebula clouds in the scene's colours, stars, planets.
struct Scene {
  double r1, g1, b1;  // nebula colour
  double r2, g2, b2;  // second cloud colour
  uint32_t seed;
  int planets;
};

void spacescene(cairo_t* cr, int w, int h, const Scene& sc) {
  Rng rng(sc.seed);
  cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(bg, 0, 0.01, 0.01, 0.04);
  cairo_pattern_add_color_stop_rgb(bg, 1, 0.03, 0.02, 0.07);
  cairo_set_source(cr, bg);
  cairo_paint(cr);
  cairo_pattern_destroy(bg);
  // Nebula: many soft blobs along a wandering band.
  double bx = rng.range(0, w), by = rng.range(h * 0.2, h * 0.8), dir = rng.range(-0.5, 0.5);
  for (int i = 0; i < 90; ++i) {
    bx += std::cos(dir) * w / 60.0;
    by += std::sin(dir) * w / 60.0;
    dir += rng.range(-0.35, 0.35);
    if (bx > w + 60) bx -= w + 120;
    if (by < -40 || by > h + 40) dir = -dir;
    const double r = rng.range(h * 0.08, h * 0.28);
    const bool second = rng.unit() < 0.35;
    cairo_pattern_t* p = cairo_pattern_create_radial(bx, by, 0, bx, by, r);
    cairo_pattern_add_color_stop_rgba(p, 0, second ? sc.r2 : sc.r1, second ? sc.g2 : sc.g1, second ? sc.b2 : sc.b1, 0.16);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
  }
  // Stars: many faint points, a few bright ones with a glint.
  for (int i = 0; i < w * h / 260; ++i) {
    double x = rng.range(0, w), y = rng.range(0, h), v = 0.25 + 0.75 * std::pow(rng.unit(), 3);
    cairo_rectangle(cr, std::floor(x), std::floor(y), 1, 1);
    cairo_set_source_rgb(cr, v, v, std::min(1.0, v * 1.1));
    cairo_fill(cr);
  }
  for (int i = 0; i < 14; ++i) {
    double x = rng.range(0, w), y = rng.range(0, h), r = rng.range(2, 5);
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r * 2);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.6, 0.7, 1, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, r * 2, 0, 2 * PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0.8, 0.9, 1, 0.6);
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, x - r * 3, y), cairo_line_to(cr, x + r * 3, y);
    cairo_move_to(cr, x, y - r * 3), cairo_line_to(cr, x, y + r * 3);
    cairo_stroke(cr);
  }
  // Planets lit from the upper left, as every light in the game.
  for (int i = 0; i < sc.planets; ++i) {
    double r = rng.range(h * 0.08, h * 0.3), x = rng.range(r * 0.3, w - r * 0.3), y = rng.range(r * 0.3, h - r * 0.3);
    double pr = rng.range(0.3, 1.0), pg = rng.range(0.3, 1.0), pb = rng.range(0.3, 1.0);
    cairo_arc(cr, x, y, r, 0, 2 * PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.45, y - r * 0.45, r * 0.05, x, y, r);
    cairo_pattern_add_color_stop_rgb(p, 0, std::min(1.0, pr + 0.3), std::min(1.0, pg + 0.3), std::min(1.0, pb + 0.3));
    cairo_pattern_add_color_stop_rgb(p, 0.6, pr * 0.5, pg * 0.5, pb * 0.5);
    cairo_pattern_add_color_stop_rgb(p, 1, pr * 0.04, pg * 0.04, pb * 0.06);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Cloud bands: soft-edged stripes of a lighter and a darker tint, bent
    // a little with the sphere, then the night side shaded over them again.
    cairo_save(cr);
    cairo_arc(cr, x, y, r, 0, 2 * PI);
    cairo_clip(cr);
    for (int band = 0; band < 6; ++band) {
      const double yy = y - r + (band + 0.5) * 2 * r / 6 + rng.range(-r * 0.08, r * 0.08);
      const double bh = r * rng.range(0.10, 0.22), light = band & 1 ? 0.35 : -0.25;
      const double cr_ = std::clamp(pr + light, 0.0, 1.0), cg = std::clamp(pg + light, 0.0, 1.0),
                   cb = std::clamp(pb + light, 0.0, 1.0);
      cairo_pattern_t* q = cairo_pattern_create_linear(0, yy - bh, 0, yy + bh);
      cairo_pattern_add_color_stop_rgba(q, 0, cr_, cg, cb, 0);
      cairo_pattern_add_color_stop_rgba(q, 0.5, cr_, cg, cb, 0.16);
      cairo_pattern_add_color_stop_rgba(q, 1, cr_, cg, cb, 0);
      cairo_set_source(cr, q);
      const double bend = (yy - y) * 0.12;
      cairo_move_to(cr, x - r, yy - bh + bend);
      cairo_curve_to(cr, x - r * 0.3, yy - bh - bend, x + r * 0.3, yy - bh - bend, x + r, yy - bh + bend);
      cairo_line_to(cr, x + r, yy + bh + bend);
      cairo_curve_to(cr, x + r * 0.3, yy + bh - bend, x - r * 0.3, yy + bh - bend, x - r, yy + bh + bend);
      cairo_close_path(cr);
      cairo_fill(cr);
      cairo_pattern_destroy(q);
    }
    cairo_pattern_t* night = cairo_pattern_create_radial(x - r * 0.45, y - r * 0.45, r * 0.3, x - r * 0.2, y - r * 0.2, r * 1.35);
    cairo_pattern_add_color_stop_rgba(night, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(night, 0.55, 0, 0, 0, 0.15);
    cairo_pattern_add_color_stop_rgba(night, 1, 0, 0, 0.02, 0.85);
    cairo_set_source(cr, night);
    cairo_paint(cr);
    cairo_pattern_destroy(night);
    cairo_restore(cr);
  }
}

const Scene scenes[8] = {
    {0.15, 0.35, 0.95, 0.55, 0.20, 0.85, 11, 1}, {0.65, 0.20, 0.85, 0.95, 0.35, 0.45, 23, 1},
    {0.10, 0.75, 0.70, 0.20, 0.35, 0.95, 37, 2}, {0.95, 0.25, 0.15, 0.95, 0.65, 0.20, 41, 1},
    {0.20, 0.85, 0.30, 0.10, 0.55, 0.75, 53, 1}, {0.95, 0.70, 0.25, 0.75, 0.30, 0.15, 67, 2},
    {0.90, 0.20, 0.70, 0.30, 0.20, 0.90, 71, 1}, {0.70, 0.85, 1.00, 0.35, 0.55, 0.85, 83, 2},
};

Glyph titlepicture() {
  Img img = render(640, 480, [&](cairo_t* cr) {
    spacescene(cr, 640, 480, {0.25, 0.40, 0.95, 0.70, 0.25, 0.80, 7, 0});
    // A large planet low on the left, its rim catching the light.
    cairo_arc(cr, 110, 520, 260, 0, 2 * PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(20, 330, 10, 110, 520, 262);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.55, 0.80, 1.0);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.10, 0.25, 0.55);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.01, 0.03, 0.08);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // A squadron crossing towards the viewer.
    const double ships[5][3] = {{470, 300, 60}, {540, 270, 38}, {410, 250, 30}, {590, 340, 26}, {380, 330, 22}};
    for (auto& s : ships) {
      shipshape(cr, s[0], s[1], s[2]);
      cairo_pattern_t* q = cairo_pattern_create_linear(0, s[1], 0, s[1] + s[2]);
      cairo_pattern_add_color_stop_rgb(q, 0, 0.9, 0.95, 1.0);
      cairo_pattern_add_color_stop_rgb(q, 1, 0.2, 0.3, 0.5);
      cairo_set_source(cr, q);
      cairo_fill(cr);
      cairo_pattern_destroy(q);
      cairo_arc(cr, s[0], s[1] + s[2], s[2] * 0.12, 0, 2 * PI);
      cairo_set_source_rgb(cr, 1.0, 0.6, 0.2);
      cairo_fill(cr);
    }
    logotext(cr, "KREELOR", 320, 170, 96);
    FontStyle fs = smallfont();
    fs.smooth = true;
    fs.size = 18;
    setfont(cr, fs);
    const char* sub = "DEFEND THE CORRIDOR";
    cairo_text_extents_t e;
    cairo_text_extents(cr, sub, &e);
    styledtext(cr, fs, sub, 320 - e.x_advance / 2, 210);
  });
  return picture(img);
}

std::vector<Glyph> set4() {
  std::vector<Glyph> g;
  for (int d = 0; d < 10; ++d) g.push_back(lcddigit(d));  // 1..10
  g.push_back(label("LEVEL", 120, 36));                    // 11
  g.push_back(dockicon());                                 // 12
  g.push_back(smalllogo());                                // 13
  g.push_back(label("SCORE", 150, 38));                    // 14
  g.push_back(label("HIGH SCORE", 180, 38));               // 15
  g.push_back(label("SHIPS", 120, 38));                    // 16
  g.push_back(shipicon());                                 // 17
  g.push_back(label("SHIELD", 170, 44));                   // 18
  g.push_back(label("SMART BOMBS", 170, 44));              // 19
  g.push_back(gauge());                                    // 20
  g.push_back(bombicon());                                 // 21
  g.push_back(titlepicture());                             // 22
  for (const Scene& sc : scenes)                           // 23..30
    g.push_back(picture(render(640, 340, [&](cairo_t* cr) { spacescene(cr, 640, 340, sc); })));
  return g;
}

// ---- Particle sprites (set 5) ---------------------------------------------------------

Glyph sprite(const Img& img) { return cut(img, inkbox(img, 8), 8); }

Glyph fireball(int i) {
  const double t = i / 19.0;
  return sprite(render(64, 64, [&](cairo_t* cr) {
    Rng rng(1000 + 17 * 3);  // the same puffs in every frame, so they visibly grow and fade
    const double core = 6 + 22 * std::sqrt(t), fade = 1.0 - t * 0.85;
    for (int k = 0; k < 9; ++k) {
      double a = rng.range(0, 2 * PI), d = rng.range(0.2, 0.7) * core, r = rng.range(0.35, 0.6) * core;
      double x = 32 + std::cos(a) * d, y = 32 + std::sin(a) * d;
      cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
      cairo_pattern_add_color_stop_rgba(p, 0, 1.0 * fade, (0.55 - 0.35 * t) * fade, 0.10 * fade, 1);
      cairo_pattern_add_color_stop_rgba(p, 1, 0.3 * fade, 0.05 * fade, 0, 0);
      cairo_set_source(cr, p);
      cairo_arc(cr, x, y, r, 0, 2 * PI);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
    }
    cairo_pattern_t* p = cairo_pattern_create_radial(32, 32, 0, 32, 32, core);
    cairo_pattern_add_color_stop_rgba(p, 0, fade, fade * (1.0 - 0.5 * t), fade * (0.8 - 0.8 * t), 1);
    cairo_pattern_add_color_stop_rgba(p, 0.5, fade, fade * 0.55, 0.1 * fade, 0.8);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.4 * fade, 0.05 * fade, 0, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 32, 32, core, 0, 2 * PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }));
}

Glyph shockwave(int i) {
  const double t = i / 26.0;
  return sprite(render(64, 64, [&](cairo_t* cr) {
    const double r = 4 + 26 * t, fade = 1.0 - t * 0.9;
    cairo_set_line_width(cr, 2 + 5 * (1 - t));
    cairo_arc(cr, 32, 32, r, 0, 2 * PI);
    cairo_set_source_rgb(cr, 0.55 * fade, 0.75 * fade, 1.0 * fade);
    cairo_stroke(cr);
    Rng rng(4242);
    for (int k = 0; k < 14; ++k) {  // debris sparks riding the wave
      double a = rng.range(0, 2 * PI), d = r * rng.range(0.6, 1.15);
      double x = 32 + std::cos(a) * d, y = 32 + std::sin(a) * d;
      cairo_arc(cr, x, y, 1.0 + 1.5 * (1 - t), 0, 2 * PI);
      cairo_set_source_rgb(cr, fade, fade, 0.7 * fade);
      cairo_fill(cr);
    }
    if (t < 0.4) {
      cairo_pattern_t* p = cairo_pattern_create_radial(32, 32, 0, 32, 32, 14);
      cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 1 - t * 2.5);
      cairo_pattern_add_color_stop_rgba(p, 1, 0.3, 0.5, 1, 0);
      cairo_set_source(cr, p);
      cairo_paint(cr);
      cairo_pattern_destroy(p);
    }
  }));
}

Glyph spark(int i) {
  const int size = 5 + i;  // 5..21
  const bool blue = i % 2;
  return sprite(render(size + 2, size + 2, [&](cairo_t* cr) {
    const double c = (size + 2) / 2.0, r = size / 2.0;
    cairo_move_to(cr, c - r, c), cairo_line_to(cr, c + r, c);
    cairo_move_to(cr, c, c - r), cairo_line_to(cr, c, c + r);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgb(cr, blue ? 0.6 : 1.0, blue ? 0.8 : 0.9, blue ? 1.0 : 0.5);
    cairo_stroke(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(c, c, 0, c, c, r * 0.6);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(p, 1, blue ? 0.3 : 1, blue ? 0.5 : 0.6, blue ? 1 : 0.2, 0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
  }));
}

Glyph glow() {
  return sprite(render(64, 64, [&](cairo_t* cr) {
    cairo_pattern_t* p = cairo_pattern_create_radial(32, 32, 0, 32, 32, 31);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.25, 0.85, 0.85, 0.85, 0.85);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
  }));
}

std::vector<Glyph> set5() {
  std::vector<Glyph> g;
  for (int i = 0; i < 20; ++i) g.push_back(fireball(i));   // 1..20
  for (int i = 0; i < 27; ++i) g.push_back(shockwave(i));  // 21..47
  for (int i = 0; i < 17; ++i) g.push_back(spark(i));      // 48..64
  g.push_back(glow());                                     // 65
  return g;
}

// ---- Help text --------------------------------------------------------------------------

// Paragraphs separated by blank lines become one line each ending in CR LF, so
// the help screen can justify them; "#" lines are comments; a blank line in the
// output is a bare CR LF. Tabs are kept (they move to the second column).
std::string helpfile(const std::string& source) {
  std::istringstream in(source);
  std::string line, para, out;
  auto flush = [&] {
    if (!para.empty()) out += para + "\r\n";
    para.clear();
  };
  bool lastblank = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '#') continue;
    if (line.empty()) {
      flush();
      if (!lastblank) out += "\r\n";
      lastblank = true;
      continue;
    }
    if (line.find('\t') != std::string::npos || (line.size() > 1 && line[0] == '-' && line[1] == ' ')) {
      flush();  // table rows and list items stand on their own lines
      out += line + "\r\n";
    } else {
      para += (para.empty() ? "" : " ") + line;
    }
    lastblank = false;
  }
  flush();
  return out;
}

bool writefile(const std::string& path, const std::string& bytes) {
  const std::string tmp = path + ".tmp";
  std::ofstream f(tmp, std::ios::binary);
  f.write(bytes.data(), (std::streamsize)bytes.size());
  f.close();
  if (!f) return false;
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

bool readfile(const std::string& path, std::string& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream s;
  s << f.rdbuf();
  out = s.str();
  return true;
}

// ---- Contact sheet ---------------------------------------------------------------------

const char* setnames[6] = {"set 0: buttons, values, slider, pointer", "set 1: banners and menus",
                           "set 2: small banners", "set 3: help text", "set 4: GUI pictures",
                           "set 5: particle sprites"};

int contactsheet(const std::string& out, const std::string& dir) {
  std::vector<std::vector<Glyph>> sets(6);
  for (int s = 0; s < 6; ++s) {
    std::string bytes, err;
    const std::string path = dir + "/kreel" + std::to_string(s + 1) + ".chr";
    if (!readfile(path, bytes)) return std::fprintf(stderr, "kreelor_art: cannot read %s\n", path.c_str()), 1;
    if (!kreelorart::decode_chr(std::vector<uint8_t>(bytes.begin(), bytes.end()), sets[s], err))
      return std::fprintf(stderr, "kreelor_art: %s: %s\n", path.c_str(), err.c_str()), 1;
  }
  const int sheetw = 1400, margin = 16;
  // Lay out: each glyph in a cell holding its (scaled) block and its number.
  struct Place {
    int set, index, x, y, scale;
  };
  std::vector<Place> places;
  std::vector<int> headers;
  int y = margin;
  for (int s = 0; s < 6; ++s) {
    headers.push_back(y);
    y += 26;
    int x = margin, rowh = 0;
    for (size_t i = 0; i < sets[s].size(); ++i) {
      const Glyph& g = sets[s][i];
      int scale = 1;
      while (g.width / scale > 330) ++scale;
      int zoom = (g.width <= 24 && g.height <= 32) ? 2 : 1;  // small glyphs shown doubled
      const int cw = std::max(34, g.width * zoom / scale + 8), ch = g.height * zoom / scale + 20;
      if (x + cw > sheetw - margin) x = margin, y += rowh + 6, rowh = 0;
      places.push_back({s, (int)i + 1, x, y, zoom > 1 ? -zoom : scale});
      x += cw + 6;
      rowh = std::max(rowh, ch);
    }
    y += rowh + 24;
  }
  const int sheeth = y;
  cairo_surface_t* surf = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sheetw, sheeth);
  cairo_t* cr = cairo_create(surf);
  cairo_set_source_rgb(cr, 0.13, 0.14, 0.17);
  cairo_paint(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  for (int s = 0; s < 6; ++s) {
    cairo_set_font_size(cr, 15);
    cairo_set_source_rgb(cr, 0.9, 0.95, 0.8);
    cairo_move_to(cr, margin, headers[s] + 16);
    std::string title = "kreel" + std::to_string(s + 1) + ".chr  " + setnames[s] + "  (" +
                        std::to_string(sets[s].size()) + " glyphs)";
    cairo_show_text(cr, title.c_str());
  }
  cairo_surface_flush(surf);
  uint8_t* data = cairo_image_surface_get_data(surf);
  const int stride = cairo_image_surface_get_stride(surf);
  cairo_set_font_size(cr, 9);
  for (const Place& p : places) {
    const Glyph& g = sets[p.set][p.index - 1];
    const int zoom = p.scale < 0 ? -p.scale : 1, shrink = p.scale > 0 ? p.scale : 1;
    const int bw = g.width * zoom / shrink, bh = g.height * zoom / shrink;
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.07);  // the cell: transparent pixels show dark
    cairo_rectangle(cr, p.x, p.y, std::max(bw, 26) + 4, bh + 4);
    cairo_fill(cr);
    cairo_surface_flush(surf);
    for (int yy = 0; yy < bh; ++yy)
      for (int xx = 0; xx < bw; ++xx) {
        uint16_t c = g.pixels[(size_t)(yy * shrink / zoom) * g.width + xx * shrink / zoom];
        if (!c) continue;
        int r, gg, b;
        kreelorart::rgb_of_565(c, r, gg, b);
        *(uint32_t*)(data + (p.y + 2 + yy) * stride + 4 * (p.x + 2 + xx)) = (uint32_t)(r << 16 | gg << 8 | b);
      }
    cairo_surface_mark_dirty(surf);
    cairo_set_source_rgb(cr, 0.6, 0.7, 0.9);
    cairo_move_to(cr, p.x + 1, p.y + bh + 14);
    std::string label = std::to_string(p.index);
    if (zoom > 1) label += " x2";
    if (shrink > 1) label += " 1/" + std::to_string(shrink);
    cairo_show_text(cr, label.c_str());
  }
  cairo_destroy(cr);
  const cairo_status_t st = cairo_surface_write_to_png(surf, (out + ".tmp").c_str());
  cairo_surface_destroy(surf);
  if (st != CAIRO_STATUS_SUCCESS || std::rename((out + ".tmp").c_str(), out.c_str()) != 0)
    return std::fprintf(stderr, "kreelor_art: cannot write %s\n", out.c_str()), 1;
  return 0;
}

}  // namespace

static int generate(int argc, char** argv);

int main(int argc, char** argv) {
  int r = generate(argc, argv);
  // Drop the font caches so a sanitizer run sees no leaks of cairo's or fontconfig's.
  cairo_debug_reset_static_data();
  FcFini();
  return r;
}

static int generate(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--contact-sheet") return contactsheet(argv[2], argv[3]);
  if (argc != 3) {
    std::fprintf(stderr, "usage: kreelor_art OUTDIR HELPSOURCE | --contact-sheet OUT.png DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::vector<std::vector<Glyph>> sets = {set0(), fontset(bannerfont()), fontset(smallfont()),
                                          fontset(helpfont()), set4(), set5()};
  for (size_t s = 0; s < sets.size(); ++s) {
    auto bytes = kreelorart::encode_chr(sets[s]);
    const std::string path = dir + "/kreel" + std::to_string(s + 1) + ".chr";
    if (!writefile(path, std::string(bytes.begin(), bytes.end())))
      return std::fprintf(stderr, "kreelor_art: cannot write %s\n", path.c_str()), 1;
  }
  std::string source;
  if (!readfile(argv[2], source)) return std::fprintf(stderr, "kreelor_art: cannot read %s\n", argv[2]), 1;
  if (!writefile(dir + "/kreel.txt", helpfile(source)))
    return std::fprintf(stderr, "kreelor_art: cannot write %s/kreel.txt\n", dir.c_str()), 1;
  return 0;
}
