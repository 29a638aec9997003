// Picture registry: every catalogue item's drawing function.
#include "pictures.h"

#include <cmath>
#include <map>
#include <string>

#include "drawers.h"

namespace zubroll::art {

namespace {

// Drawn for items without their own drawing: a lit ball per pattern whose hue
// and a pointer turn with the pattern number, so frames stay distinct.
void draw_plain(Art& a) {
  cairo_t* cr = a.cr;
  if (!a.spec.transparent) {
    set(cr, ramp(kSlateLike(), 4));
    cairo_paint(cr);
  }
  a.cells([&](int i) {
    double r = std::min(a.pw, a.ph) * 0.42;
    Ramp hue = Ramp((i * 5) % kRampCount);
    ball(cr, hue, a.pw / 2.0, a.ph / 2.0, r, r, std::max(1.0, r / 10));
    double ang = i * 2 * M_PI / std::max(1, a.count);
    cairo_move_to(cr, a.pw / 2.0, a.ph / 2.0);
    cairo_line_to(cr, a.pw / 2.0 + r * 0.8 * cos(ang), a.ph / 2.0 + r * 0.8 * sin(ang));
    set(cr, kInk);
    cairo_set_line_width(cr, std::max(1.0, r / 8));
    cairo_stroke(cr);
  });
}

const std::map<std::string, void (*)(Art&)>& table() {
  static const std::map<std::string, void (*)(Art&)> t = drawer_table();
  return t;
}

}  // namespace

void draw_picture(Art& a) {
  auto it = table().find(a.spec.name);
  if (it != table().end())
    it->second(a);
  else
    draw_plain(a);
}

bool has_drawer(const char* name) { return table().count(name) != 0; }

}  // namespace zubroll::art
