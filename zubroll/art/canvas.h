// Vector drawing with cairo into ARGB, helpers shared by every picture, and the
// conversion of a finished drawing to palette indices.
#pragma once
#include <cairo.h>

#include <functional>
#include <string>

#include "files.h"
#include "palette.h"
#include "zubroll/sprite/catalogue.h"

namespace zubroll::art {

struct Col {
  double r = 0, g = 0, b = 0, a = 1;
};
Col pal(int index);                  // a palette entry
Col ramp(Ramp r, int shade);         // shade 0 (darkest) .. 11 (lightest)
Col grey(int level);                 // grey ramp 0 .. 19
Col mix(Col a, Col b, double t);
inline Col with_alpha(Col c, double a) { return {c.r, c.g, c.b, a}; }
extern const Col kInk;               // the outline colour of every shape
extern const Col kWhite;

void set(cairo_t* cr, Col c);

// A picture being drawn: the catalogue entry, an ARGB surface of the whole
// picture and its pattern grid.
class Art {
 public:
  explicit Art(const ImageSpec& item_spec);
  ~Art();
  Art(const Art&) = delete;
  Art& operator=(const Art&) = delete;

  const ImageSpec& item_spec;
  int width, height;      // picture
  int pw, ph;             // pattern
  int cols, count;
  cairo_surface_t* surface;
  cairo_t* cr;

  // Runs f(i) for every pattern with the origin moved to its top-left corner and
  // drawing clipped to it.
  void cells(const std::function<void(int)>& f);
  void cell(int i, const std::function<void()>& f);
};

// Converts a drawing: transparent pictures map pixels of less than half cover
// to 254 and everything else to the nearest opaque colour of its own (never
// blended towards aqua); opaque pictures are composed over black.
IndexedImage quantise(cairo_surface_t* surface, bool transparent, const Palette& pal);

// ---- shapes (all paths are in the current user space) ----
void ellipse_path(cairo_t* cr, double cx, double cy, double rx, double ry);
void round_rect_path(cairo_t* cr, double x, double y, double w, double h, double r);
void star_path(cairo_t* cr, double cx, double cy, double r_out, double r_in, int points,
               double rot_deg);
// Egg outline: narrow end up, centre (cx, cy), half width rx, half height ry.
void egg_path(cairo_t* cr, double cx, double cy, double rx, double ry);

// Fills the current path with a lit gradient of a ramp (light from the top-left)
// over the box (x, y, w, h), keeping the path.
void fill_lit(cairo_t* cr, Ramp r, double x, double y, double w, double h, int lo = 3,
              int hi = 10);
void fill_lit_cols(cairo_t* cr, Col light, Col mid, Col dark, double x, double y, double w,
                   double h);
// Strokes the current path with the outline ink.
void ink(cairo_t* cr, double width = 1.2, bool preserve = false);
// Lit ball: fill_lit + ink.
void ball(cairo_t* cr, Ramp r, double cx, double cy, double rx, double ry, double line = 1.2,
          int lo = 3, int hi = 10);
// A small white highlight spot at the top-left of an ellipse.
void shine(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha = 0.9);

// Text in DejaVu Sans (bold when asked), positioned by its ink box centre.
void text_path_centered(cairo_t* cr, const std::string& s, double cx, double cy, double size,
                        bool bold = true, bool serif = false);
// Filled text with an outline; fill may be a gradient set by the caller when
// custom_fill is true.
void outlined_text(cairo_t* cr, const std::string& s, double cx, double cy, double size,
                   Col fill, Col line, double line_width, bool bold = true);

// Deterministic pseudo-random numbers for texture placement.
class Rand {
 public:
  explicit Rand(uint32_t seed) : s_(seed * 2654435761u + 1) {}
  uint32_t next() {
    s_ = s_ * 1664525u + 1013904223u;
    return s_ >> 8;
  }
  double uniform() { return double(next() & 0xFFFFFF) / 16777216.0; }
  double range(double a, double b) { return a + (b - a) * uniform(); }

 private:
  uint32_t s_;
};

}  // namespace zubroll::art
