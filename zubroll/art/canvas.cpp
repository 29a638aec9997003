#include "canvas.h"

#include <fontconfig/fontconfig.h>

#include <cmath>

namespace zubroll::art {

namespace {
// cairo and fontconfig keep font caches for the life of the process; release
// them at exit so leak checkers (the sanitizer build) see a clean exit.
struct FontCacheRelease {
  ~FontCacheRelease() {
    cairo_debug_reset_static_data();
    FcFini();
  }
} font_cache_release;
}  // namespace

Col pal(int index) {
  const Rgb& c = game_palette()[index & 255];
  return {c.r / 255.0, c.g / 255.0, c.b / 255.0, 1};
}
Col ramp(Ramp r, int shade) {
  shade = shade < 0 ? 0 : shade > 11 ? 11 : shade;
  return pal(ramp_index(r, shade));
}
Col grey(int level) {
  level = level < 0 ? 0 : level > 19 ? 19 : level;
  return pal(kGreyFirst + level);
}
Col mix(Col a, Col b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}
const Col kInk = {0.11, 0.07, 0.12, 1};
const Col kWhite = {1, 1, 1, 1};

void set(cairo_t* cr, Col c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

Art::Art(const ImageSpec& s)
    : item_spec(s),
      width(s.width),
      height(s.height),
      pw(s.pattern_width ? s.pattern_width : s.width),
      ph(s.pattern_height ? s.pattern_height : s.height),
      cols(width / pw),
      count(s.pattern_count) {
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr = cairo_create(surface);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

Art::~Art() {
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void Art::cell(int i, const std::function<void()>& f) {
  cairo_save(cr);
  cairo_translate(cr, (i % cols) * pw, (i / cols) * ph);
  cairo_rectangle(cr, 0, 0, pw, ph);
  cairo_clip(cr);
  cairo_new_path(cr);
  f();
  cairo_restore(cr);
}

void Art::cells(const std::function<void(int)>& f) {
  for (int i = 0; i < count; ++i) cell(i, [&] { f(i); });
}

IndexedImage quantise(cairo_surface_t* surface, bool transparent, const Palette& pal) {
  cairo_surface_flush(surface);
  IndexedImage img;
  img.width = cairo_image_surface_get_width(surface);
  img.height = cairo_image_surface_get_height(surface);
  img.palette = pal;
  img.pixels.resize(size_t(img.width) * img.height);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  Quantiser q(pal);
  for (int y = 0; y < img.height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
    for (int x = 0; x < img.width; ++x) {
      uint32_t p = row[x];
      unsigned a = p >> 24, r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      uint8_t& out = img.pixels[size_t(y) * img.width + x];
      if (transparent) {
        if (a < 128) {
          out = kTransparentIndex;
          continue;
        }
        // un-premultiply: the shape's own colour, not a blend with the background
        r = r * 255 / a, g = g * 255 / a, b = b * 255 / a;
      }  // opaque pictures: premultiplied is "over black"
      out = q.nearest(uint8_t(r > 255 ? 255 : r), uint8_t(g > 255 ? 255 : g),
                      uint8_t(b > 255 ? 255 : b));
    }
  }
  return img;
}

void ellipse_path(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void round_rect_path(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void star_path(cairo_t* cr, double cx, double cy, double ro, double ri, int n, double rot) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < 2 * n; ++i) {
    double a = (rot - 90 + i * 180.0 / n) * M_PI / 180;
    double r = i % 2 ? ri : ro;
    if (i == 0)
      cairo_move_to(cr, cx + r * cos(a), cy + r * sin(a));
    else
      cairo_line_to(cr, cx + r * cos(a), cy + r * sin(a));
  }
  cairo_close_path(cr);
}

void egg_path(cairo_t* cr, double cx, double cy, double rx, double ry) {
  // four cubic arcs; the upper half is narrower and longer than the lower
  const double k = 0.5523;
  double top = cy - ry, bot = cy + ry, mid = cy + ry * 0.18;
  cairo_new_sub_path(cr);
  cairo_move_to(cr, cx, top);
  cairo_curve_to(cr, cx + rx * 0.62, top, cx + rx, mid - (mid - top) * k, cx + rx, mid);
  cairo_curve_to(cr, cx + rx, mid + (bot - mid) * k, cx + rx * k, bot, cx, bot);
  cairo_curve_to(cr, cx - rx * k, bot, cx - rx, mid + (bot - mid) * k, cx - rx, mid);
  cairo_curve_to(cr, cx - rx, mid - (mid - top) * k, cx - rx * 0.62, top, cx, top);
  cairo_close_path(cr);
}

void fill_lit_cols(cairo_t* cr, Col light, Col midc, Col dark, double x, double y, double w,
                   double h) {
  double cx = x + w * 0.34, cy = y + h * 0.30;
  double r = std::max(w, h) * 0.85;
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(p, 0.0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 0.45, midc.r, midc.g, midc.b);
  cairo_pattern_add_color_stop_rgb(p, 1.0, dark.r, dark.g, dark.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
}

void fill_lit(cairo_t* cr, Ramp r, double x, double y, double w, double h, int lo, int hi) {
  fill_lit_cols(cr, ramp(r, hi), ramp(r, (lo + hi + 1) / 2), ramp(r, lo), x, y, w, h);
}

void ink(cairo_t* cr, double width, bool preserve) {
  set(cr, kInk);
  cairo_set_line_width(cr, width);
  if (preserve)
    cairo_stroke_preserve(cr);
  else
    cairo_stroke(cr);
}

void ball(cairo_t* cr, Ramp r, double cx, double cy, double rx, double ry, double line, int lo,
          int hi) {
  cairo_new_path(cr);
  ellipse_path(cr, cx, cy, rx, ry);
  fill_lit(cr, r, cx - rx, cy - ry, 2 * rx, 2 * ry, lo, hi);
  ink(cr, line);
}

void shine(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha) {
  cairo_new_path(cr);
  ellipse_path(cr, cx - rx * 0.42, cy - ry * 0.45, rx * 0.22, ry * 0.16);
  set(cr, with_alpha(kWhite, alpha));
  cairo_fill(cr);
}

void text_path_centered(cairo_t* cr, const std::string& s, double cx, double cy, double size,
                        bool bold, bool serif) {
  cairo_select_font_face(cr, serif ? "DejaVu Serif" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  cairo_move_to(cr, cx - e.x_bearing - e.width / 2, cy - e.y_bearing - e.height / 2);
  cairo_text_path(cr, s.c_str());
}

void outlined_text(cairo_t* cr, const std::string& s, double cx, double cy, double size,
                   Col fill, Col line, double lw, bool bold) {
  cairo_new_path(cr);
  text_path_centered(cr, s, cx, cy, size, bold);
  set(cr, line);
  cairo_set_line_width(cr, lw * 2);
  cairo_stroke_preserve(cr);
  set(cr, fill);
  cairo_fill(cr);
}

}  // namespace zubroll::art
