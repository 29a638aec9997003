// Lettering: digits, the GAME OVER and EXTRA letters, the title logo, headers.
#include <cmath>

#include "drawers.h"

namespace zubroll::art {

namespace {

// Big lettering: a gradient fill from light (top) to the ramp's base, a thick
// dark outline, and a thin light rim at the top-left.
void letter(cairo_t* cr, const std::string& s, double cx, double cy, double size, Ramp r,
            double line) {
  cairo_new_path(cr);
  text_path_centered(cr, s, cx, cy, size);
  set(cr, kInk);
  cairo_set_line_width(cr, line * 2);
  cairo_stroke_preserve(cr);
  double top = cy - size * 0.45, bot = cy + size * 0.45;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, bot);
  Col a = ramp(r, 10), b = ramp(r, 7), c = ramp(r, 4);
  cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
  cairo_pattern_add_color_stop_rgb(p, 0.5, b.r, b.g, b.b);
  cairo_pattern_add_color_stop_rgb(p, 1, c.r, c.g, c.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void draw_gameover(Art& a) {
  const char* letters = "GAMEOVER";
  a.cells([&](int i) {
    letter(a.cr, std::string(1, letters[i]), 24, 25, 40, kOrange, 2.2);
  });
}

}  // namespace

void add_text_drawers(DrawTable& t) { t["Gameover"] = draw_gameover; }

}  // namespace zubroll::art
