// Backgrounds, panels, buttons and the blind.
#include <cmath>
#include <string>

#include "drawers.h"

namespace zubroll::art {

namespace {

double rad(double d) { return d * M_PI / 180; }

// Calls f(dx, dy) for the nine copies of a 64-pixel tile so shapes crossing an
// edge come in again at the opposite one (seamless tiles).
template <class F>
void wrap64(F f) {
  for (int dy = -64; dy <= 64; dy += 64)
    for (int dx = -64; dx <= 64; dx += 64) f(dx, dy);
}

void vgrad(cairo_t* cr, double y0, double y1, Col a, Col b) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
  cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

// ---------------------------------------------------------------- BgPat

void tile(cairo_t* cr, int n) {
  auto fill = [&](Col c) { set(cr, c); cairo_paint(cr); };
  switch (n) {
    case 0: {  // sky-blue check with soft diamonds (title and first stage)
      fill(ramp(kSky, 9));
      for (int y = 0; y < 64; y += 16)
        for (int x = 0; x < 64; x += 16)
          if (((x + y) / 16) % 2) cairo_rectangle(cr, x, y, 16, 16);
      set(cr, ramp(kSky, 8));
      cairo_fill(cr);
      wrap64([&](int dx, int dy) {
        star_path(cr, 16 + dx, 16 + dy, 4, 1.5, 4, 0);
        star_path(cr, 48 + dx, 48 + dy, 4, 1.5, 4, 0);
      });
      set(cr, ramp(kSky, 10));
      cairo_fill(cr);
      break;
    }
    case 1: {  // meadow: green with little flowers
      fill(ramp(kGreen, 8));
      Rand r(101);
      for (int k = 0; k < 14; ++k) {
        double x = r.range(0, 64), y = r.range(0, 64);
        wrap64([&](int dx, int dy) {
          cairo_move_to(cr, x + dx, y + dy + 3), cairo_line_to(cr, x + dx + 1.5, y + dy - 1);
        });
      }
      set(cr, ramp(kGreen, 6));
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      for (int k = 0; k < 5; ++k) {
        double x = r.range(0, 64), y = r.range(0, 64);
        Ramp c = k % 2 ? kCream : kRose;
        wrap64([&](int dx, int dy) {
          for (int p = 0; p < 5; ++p)
            ellipse_path(cr, x + dx + 2.2 * cos(rad(p * 72)), y + dy + 2.2 * sin(rad(p * 72)), 1.6, 1.6);
        });
        set(cr, ramp(c, 10));
        cairo_fill(cr);
        wrap64([&](int dx, int dy) { ellipse_path(cr, x + dx, y + dy, 1.2, 1.2); });
        set(cr, ramp(kYellow, 8));
        cairo_fill(cr);
      }
      break;
    }
    case 2: {  // warm polka dots
      fill(ramp(kCream, 9));
      wrap64([&](int dx, int dy) {
        for (int k = 0; k < 2; ++k) ellipse_path(cr, 16 + 32 * k + dx, 16 + 32 * k + dy, 7, 7);
        for (int k = 0; k < 2; ++k) ellipse_path(cr, 48 - 32 * k + dx, 16 + 32 * k + dy, 4, 4);
      });
      set(cr, ramp(kAmber, 9));
      cairo_fill(cr);
      break;
    }
    case 3: {  // bricks, soft so the eggs stand out
      fill(ramp(kSkin, 6));
      for (int row = 0; row < 4; ++row)
        for (int k = -1; k < 3; ++k) {
          double x = k * 32 + (row % 2) * 16 + 1, y = row * 16 + 1;
          cairo_rectangle(cr, x, y, 30, 14);
        }
      set(cr, ramp(kSkin, 8));
      cairo_fill(cr);
      for (int row = 0; row < 4; ++row)
        for (int k = -1; k < 3; ++k) {
          double x = k * 32 + (row % 2) * 16 + 1, y = row * 16 + 1;
          cairo_rectangle(cr, x, y, 30, 3);
        }
      set(cr, ramp(kSkin, 9));
      cairo_fill(cr);
      break;
    }
    case 4: {  // waves
      fill(ramp(kTeal, 8));
      for (int k = 0; k < 4; ++k) {
        double y0 = k * 16 + 8;
        cairo_move_to(cr, 0, y0);
        for (int x = 0; x <= 64; ++x) cairo_line_to(cr, x, y0 + 3 * sin(x * 2 * M_PI / 32));
      }
      set(cr, ramp(kTeal, 10));
      cairo_set_line_width(cr, 3);
      cairo_stroke(cr);
      break;
    }
    case 5: {  // lilac diagonal stripes
      fill(ramp(kViolet, 9));
      for (int k = -4; k < 4; ++k) {
        cairo_move_to(cr, k * 16, 0), cairo_line_to(cr, k * 16 + 8, 0);
        cairo_line_to(cr, k * 16 + 72, 64), cairo_line_to(cr, k * 16 + 64, 64);
        cairo_close_path(cr);
      }
      set(cr, ramp(kViolet, 10));
      cairo_fill(cr);
      break;
    }
    case 6: {  // clouds on blue
      fill(ramp(kBlue, 8));
      wrap64([&](int dx, int dy) {
        for (auto [x, y] : {std::pair{14.0, 18.0}, std::pair{46.0, 46.0}}) {
          ellipse_path(cr, x + dx, y + dy, 9, 5);
          ellipse_path(cr, x + dx - 6, y + dy + 2, 6, 4);
          ellipse_path(cr, x + dx + 6, y + dy + 2, 6, 4);
        }
      });
      set(cr, ramp(kBlue, 10));
      cairo_fill(cr);
      break;
    }
    case 7: {  // wood planks
      fill(ramp(kCream, 6));
      for (int k = 0; k < 4; ++k) {
        cairo_rectangle(cr, 0, k * 16, 64, 1);
        cairo_rectangle(cr, (k * 23) % 64, k * 16, 1, 16);
      }
      set(cr, ramp(kBrown, 5));
      cairo_fill(cr);
      Rand r(7);
      for (int k = 0; k < 10; ++k) {
        double y = r.range(2, 62), x = r.range(0, 64);
        cairo_move_to(cr, x, y), cairo_curve_to(cr, x + 6, y - 1, x + 12, y + 1, x + 18, y);
      }
      set(cr, ramp(kCream, 5));
      cairo_set_line_width(cr, 0.8);
      cairo_stroke(cr);
      break;
    }
    case 8: {  // pink hearts
      fill(ramp(kRose, 9));
      wrap64([&](int dx, int dy) {
        for (auto [x, y] : {std::pair{16.0, 16.0}, std::pair{48.0, 48.0}}) {
          cairo_move_to(cr, x + dx, y + dy + 5);
          cairo_curve_to(cr, x + dx - 8, y + dy, x + dx - 4, y + dy - 6, x + dx, y + dy - 2);
          cairo_curve_to(cr, x + dx + 4, y + dy - 6, x + dx + 8, y + dy, x + dx, y + dy + 5);
        }
      });
      set(cr, ramp(kRose, 10));
      cairo_fill(cr);
      break;
    }
    case 9: {  // pale honeycomb (also the about screen)
      fill(ramp(kYellow, 10));
      for (int row = -1; row < 5; ++row)
        for (int k = -1; k < 4; ++k) {
          double cx = k * 21.33 + (row % 2 ? 10.67 : 0), cy = row * 16;
          cairo_new_sub_path(cr);
          for (int p = 0; p < 6; ++p) {
            double a = rad(30 + p * 60);
            double x = cx + 10 * cos(a), y = cy + 10 * sin(a) * 0.85;
            if (p == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
          }
          cairo_close_path(cr);
        }
      set(cr, ramp(kAmber, 9));
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      break;
    }
    case 10: {  // mint plaid
      fill(ramp(kSea, 9));
      for (int k = 0; k < 2; ++k) cairo_rectangle(cr, k * 32 + 10, 0, 8, 64), cairo_rectangle(cr, 0, k * 32 + 10, 64, 8);
      set(cr, with_alpha(ramp(kSea, 7), 0.5));
      cairo_fill(cr);
      for (int k = 0; k < 2; ++k) cairo_rectangle(cr, k * 32 + 26, 0, 2, 64), cairo_rectangle(cr, 0, k * 32 + 26, 64, 2);
      set(cr, ramp(kCream, 10));
      cairo_fill(cr);
      break;
    }
    case 11: {  // night sky with stars
      fill(ramp(kIndigo, 3));
      Rand r(11);
      for (int k = 0; k < 9; ++k) {
        double x = r.range(0, 64), y = r.range(0, 64), s = r.range(1.2, 3.2);
        wrap64([&](int dx, int dy) { star_path(cr, x + dx, y + dy, s, s * 0.35, 4, 0); });
      }
      set(cr, ramp(kYellow, 10));
      cairo_fill(cr);
      break;
    }
    case 12: {  // orange scales
      fill(ramp(kOrange, 8));
      for (int row = 0; row < 5; ++row)
        for (int k = -1; k < 5; ++k) {
          double cx = k * 16 + (row % 2 ? 8 : 0), cy = row * 16;
          cairo_new_sub_path(cr);
          cairo_arc(cr, cx, cy, 8, 0, M_PI);
        }
      set(cr, ramp(kOrange, 9));
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
      break;
    }
    case 13: {  // tiled floor
      fill(grey(16));
      for (int y = 0; y < 64; y += 32)
        for (int x = 0; x < 64; x += 32) cairo_rectangle(cr, x + 1, y + 1, 30, 30);
      set(cr, grey(18));
      cairo_fill(cr);
      for (int y = 0; y < 64; y += 32)
        for (int x = 0; x < 64; x += 32) cairo_rectangle(cr, x + 12, y + 12, 8, 8);
      set(cr, ramp(kSky, 9));
      cairo_fill(cr);
      break;
    }
    case 14: {  // candy stripes, vertical
      fill(ramp(kCream, 10));
      for (int k = 0; k < 4; ++k) cairo_rectangle(cr, k * 16, 0, 6, 64);
      set(cr, ramp(kLime, 9));
      cairo_fill(cr);
      break;
    }
    case 15: {  // tiny eggs pattern
      fill(ramp(kSkin, 10));
      wrap64([&](int dx, int dy) {
        for (auto [x, y] : {std::pair{16.0, 14.0}, std::pair{48.0, 46.0}, std::pair{48.0, 14.0}, std::pair{16.0, 46.0}})
          egg_path(cr, x + dx, y + dy, 4, 5.5);
      });
      set(cr, ramp(kSkin, 8));
      cairo_fill(cr);
      break;
    }
    case 16: {  // boss 1: steel plates with rivets
      fill(grey(7));
      cairo_rectangle(cr, 1, 1, 30, 30), cairo_rectangle(cr, 33, 33, 30, 30);
      cairo_rectangle(cr, 33, 1, 30, 30), cairo_rectangle(cr, 1, 33, 30, 30);
      set(cr, grey(9));
      cairo_fill(cr);
      for (int y : {4, 28, 36, 60})
        for (int x : {4, 28, 36, 60}) ellipse_path(cr, x, y, 1.3, 1.3);
      set(cr, grey(13));
      cairo_fill(cr);
      break;
    }
    case 17: {  // boss 2: dark red lattice
      fill(ramp(kRed, 2));
      for (int k = -2; k < 3; ++k) {
        cairo_move_to(cr, k * 32, 0), cairo_line_to(cr, k * 32 + 64, 64);
        cairo_move_to(cr, k * 32 + 64, 0), cairo_line_to(cr, k * 32, 64);
      }
      set(cr, ramp(kRed, 4));
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
      break;
    }
    case 18: {  // boss 3: purple swirls
      fill(ramp(kViolet, 2));
      wrap64([&](int dx, int dy) {
        for (auto [x, y] : {std::pair{16.0, 16.0}, std::pair{48.0, 48.0}}) {
          cairo_new_sub_path(cr);
          for (double t = 0; t < 3 * 2 * M_PI; t += 0.2) {
            double r = 1 + t * 0.75;
            double px = x + dx + r * cos(t), py = y + dy + r * sin(t);
            if (t == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
          }
        }
      });
      set(cr, ramp(kViolet, 4));
      cairo_set_line_width(cr, 2.2);
      cairo_stroke(cr);
      break;
    }
    default: {  // boss 4, the king's hall: gold crowns on deep blue
      fill(ramp(kBlue, 2));
      wrap64([&](int dx, int dy) {
        for (auto [x, y] : {std::pair{16.0, 18.0}, std::pair{48.0, 50.0}}) {
          cairo_move_to(cr, x + dx - 7, y + dy + 4);
          cairo_line_to(cr, x + dx - 7, y + dy - 4), cairo_line_to(cr, x + dx - 3.5, y + dy);
          cairo_line_to(cr, x + dx, y + dy - 6), cairo_line_to(cr, x + dx + 3.5, y + dy);
          cairo_line_to(cr, x + dx + 7, y + dy - 4), cairo_line_to(cr, x + dx + 7, y + dy + 4);
          cairo_close_path(cr);
        }
      });
      set(cr, ramp(kAmber, 4));
      cairo_fill(cr);
      break;
    }
  }
}

void draw_bgpat(Art& a) { a.cells([&](int i) { tile(a.cr, i); }); }

// ---------------------------------------------------------------- panels

// A bevelled frame: light top-left edge, dark bottom-right, lit face.
void bevel(cairo_t* cr, double x, double y, double w, double h, Ramp r, int face, double edge = 2,
           bool sunken = false) {
  Col lt = ramp(r, std::min(11, face + 3)), dk = ramp(r, std::max(0, face - 3));
  if (sunken) std::swap(lt, dk);
  cairo_rectangle(cr, x, y, w, h);
  set(cr, dk);
  cairo_fill(cr);
  cairo_move_to(cr, x, y), cairo_line_to(cr, x + w, y), cairo_line_to(cr, x + w - edge, y + edge);
  cairo_line_to(cr, x + edge, y + edge), cairo_line_to(cr, x + edge, y + h - edge);
  cairo_line_to(cr, x, y + h);
  cairo_close_path(cr);
  set(cr, lt);
  cairo_fill(cr);
  cairo_rectangle(cr, x + edge, y + edge, w - 2 * edge, h - 2 * edge);
  set(cr, ramp(r, face));
  cairo_fill(cr);
}

void label(cairo_t* cr, const std::string& s, double cx, double cy, double size, Col c,
           bool bold = true) {
  cairo_new_path(cr);
  text_path_centered(cr, s, cx + 0.8, cy + 0.8, size, bold);
  set(cr, with_alpha(kInk, 0.7));
  cairo_fill(cr);
  cairo_new_path(cr);
  text_path_centered(cr, s, cx, cy, size, bold);
  set(cr, c);
  cairo_fill(cr);
}

void draw_rpanel(Art& a) {  // the right status panel, 136 x 400, at x 376
  cairo_t* cr = a.cr;
  vgrad(cr, 0, 400, ramp(kBlue, 6), ramp(kIndigo, 3));
  cairo_paint(cr);
  // fine vertical grooves
  for (int x = 6; x < 136; x += 8) cairo_rectangle(cr, x, 0, 1, 400);
  set(cr, with_alpha(ramp(kBlue, 8), 0.25));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 0, 3, 400);
  set(cr, kInk);
  cairo_fill(cr);
  // score window (digits at y 22, x 404..504)
  label(cr, "SCORE", 40, 10, 9, ramp(kYellow, 9));
  bevel(cr, 12, 18, 118, 30, kIndigo, 1, 2, true);
  // lives (icons at y 67, x 384..504)
  label(cr, "LIFE", 28, 59, 8, ramp(kRose, 9));
  bevel(cr, 6, 64, 126, 30, kBlue, 4, 2, true);
  // roulette dial about (55, 147)
  cairo_new_path(cr);
  ellipse_path(cr, 55, 147, 60, 58);
  fill_lit(cr, kSky, -5, 88, 120, 120, 3, 7);
  ink(cr, 2);
  cairo_new_path(cr);
  ellipse_path(cr, 55, 147, 48, 46);
  set(cr, ramp(kBlue, 3));
  cairo_fill(cr);
  for (int k = 0; k < 12; ++k) {
    double ang = rad(-90 + k * 30);
    ellipse_path(cr, 55 + cos(ang) * 54, 147 + sin(ang) * 52, 2.2, 2.2);
  }
  set(cr, ramp(kYellow, 9));
  cairo_fill(cr);
  // chick lamp tray (y 227, x 385..505) and stage tally (y 244)
  bevel(cr, 6, 224, 126, 14, kIndigo, 2, 1.5, true);
  label(cr, "STAGE", 26, 262, 8, ramp(kSky, 10));
  bevel(cr, 6, 241, 126, 12, kIndigo, 2, 1.5, true);
  // lower ornament: an egg emblem
  cairo_new_path(cr);
  egg_path(cr, 68, 320, 28, 36);
  fill_lit(cr, kBlue, 40, 284, 56, 72, 3, 7);
  ink(cr, 2);
  label(cr, "Zub", 68, 318, 18, ramp(kSky, 10));
  cairo_rectangle(cr, 0, 380, 136, 20);
  set(cr, ramp(kIndigo, 2));
  cairo_fill(cr);
}

void draw_bpanel(Art& a) {  // bottom panel 377 x 29 at y 371; the guide runs at y 388
  cairo_t* cr = a.cr;
  vgrad(cr, 0, 29, ramp(kBlue, 6), ramp(kIndigo, 2));
  cairo_paint(cr);
  cairo_rectangle(cr, 0, 0, 377, 2);
  set(cr, kInk);
  cairo_fill(cr);
  bevel(cr, 6, 15, 365, 10, kIndigo, 1, 1.5, true);
  for (int x = 14; x < 370; x += 16) cairo_rectangle(cr, x, 5, 1, 6);
  set(cr, ramp(kSky, 8));
  cairo_fill(cr);
}

void draw_blind(Art& a) {  // stage-change blind: slats closing from both sides
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    cairo_new_path(cr);
    round_rect_path(cr, 1, 0, 30, 380, 3);
    cairo_pattern_t* p = cairo_pattern_create_linear(1, 0, 31, 0);
    Ramp r = i == 0 ? kRose : kSky;
    Col c0 = ramp(r, 10), c1 = ramp(r, 7), c2 = ramp(r, 4);
    cairo_pattern_add_color_stop_rgb(p, 0, c0.r, c0.g, c0.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, c1.r, c1.g, c1.b);
    cairo_pattern_add_color_stop_rgb(p, 1, c2.r, c2.g, c2.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    ink(cr, 1.5);
    for (int k = 0; k < 9; ++k) {
      cairo_new_path(cr);
      egg_path(cr, 16, 24 + k * 42, 5, 7);
      fill_lit(cr, kCream, 11, 17 + k * 42, 10, 14, 6, 11);
      ink(cr, 1);
    }
  });
}

// ---------------------------------------------------------------- buttons

void face_button(cairo_t* cr, int kind, bool pressed) {
  // four faces on round buttons: Easy smiles, Normal grins, Hard frowns,
  // Continue winks
  const Ramp cols[4] = {kGreen, kAmber, kRed, kSky};
  const char* names[4] = {"EASY", "NORMAL", "HARD", "CONTINUE"};
  double dy = pressed ? 2 : 0;
  cairo_new_path(cr);
  round_rect_path(cr, 2, 4, 52, 42, 12);
  set(cr, kInk);
  cairo_fill(cr);
  cairo_new_path(cr);
  round_rect_path(cr, 2, 1 + dy, 52, 42, 12);
  fill_lit(cr, cols[kind], 2, 1 + dy, 52, 42, pressed ? 3 : 5, pressed ? 8 : 11);
  ink(cr, 1.6);
  double cx = 28, cy = 18 + dy;
  // eyes
  for (int s : {-1, 1}) {
    cairo_new_path(cr);
    if (kind == 3 && s > 0) {
      cairo_move_to(cr, cx + 5, cy - 3), cairo_line_to(cr, cx + 11, cy - 3);
      set(cr, kInk);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
      continue;
    }
    ellipse_path(cr, cx + s * 8, cy - 3, 2.6, pressed ? 1.2 : 3.4);
    set(cr, kInk);
    cairo_fill(cr);
    if (kind == 2) {  // stern brows
      cairo_move_to(cr, cx + s * 4, cy - 9), cairo_line_to(cr, cx + s * 12, cy - 11);
      cairo_set_line_width(cr, 1.8);
      cairo_stroke(cr);
    }
  }
  cairo_new_path(cr);
  if (kind == 0) cairo_arc(cr, cx, cy + 2, 7, rad(20), rad(160));
  if (kind == 1) { cairo_arc(cr, cx, cy + 3, 8, 0, M_PI); cairo_close_path(cr); }
  if (kind == 2) cairo_arc(cr, cx, cy + 11, 6, rad(200), rad(340));
  if (kind == 3) cairo_arc(cr, cx, cy + 3, 6, rad(10), rad(170));
  set(cr, kInk);
  cairo_set_line_width(cr, 2);
  if (kind == 1) {
    set(cr, ramp(kRed, 5));
    cairo_fill_preserve(cr);
    set(cr, kInk);
  }
  cairo_stroke(cr);
  label(cr, names[kind], cx, 36 + dy, kind == 3 ? 7.5 : 9, kWhite);
}

void draw_facebtn(Art& a) {
  a.cells([&](int i) { face_button(a.cr, i % 4, i >= 4); });
}

// A round selection button with a symbol: 0 previous, 1 play, 2 next, 3 back.
void symbol(cairo_t* cr, int kind, double cx, double cy, double s) {
  cairo_new_path(cr);
  switch (kind) {
    case 0:
      cairo_move_to(cr, cx + s * 0.5, cy - s * 0.6), cairo_line_to(cr, cx - s * 0.5, cy);
      cairo_line_to(cr, cx + s * 0.5, cy + s * 0.6);
      break;
    case 1:
      cairo_move_to(cr, cx - s * 0.4, cy - s * 0.65), cairo_line_to(cr, cx + s * 0.65, cy);
      cairo_line_to(cr, cx - s * 0.4, cy + s * 0.65);
      break;
    case 2:
      cairo_move_to(cr, cx - s * 0.5, cy - s * 0.6), cairo_line_to(cr, cx + s * 0.5, cy);
      cairo_line_to(cr, cx - s * 0.5, cy + s * 0.6);
      break;
    default:  // back: a curved return arrow
      cairo_arc_negative(cr, cx, cy + s * 0.1, s * 0.5, rad(60), rad(200));
      cairo_rel_line_to(cr, -s * 0.1, -s * 0.45);
      cairo_move_to(cr, cx - s * 0.47, cy - s * 0.07);
      cairo_rel_line_to(cr, s * 0.42, -s * 0.05);
      break;
  }
  if (kind == 1) cairo_close_path(cr);
}

void sel_button(cairo_t* cr, int kind, int look) {  // look 0 normal, 1 pressed, 2 disabled
  double d = look == 1 ? 2 : 0;
  Ramp r = look == 2 ? kRampCount : kind == 1 ? kGreen : kind == 3 ? kOrange : kSky;
  cairo_new_path(cr);
  ellipse_path(cr, 21, 23, 18.5, 18.5);
  set(cr, kInk);
  cairo_fill(cr);
  cairo_new_path(cr);
  ellipse_path(cr, 21, 21 + d, 18.5, 18.5);
  if (look == 2)
    fill_lit_cols(cr, grey(15), grey(11), grey(7), 2, 2 + d, 37, 37);
  else
    fill_lit(cr, r, 2, 2 + d, 37, 37, look == 1 ? 3 : 5, look == 1 ? 8 : 11);
  ink(cr, 1.6);
  symbol(cr, kind, 21, 21 + d, 18);
  Col fg = look == 2 ? grey(13) : kWhite;
  set(cr, kInk);
  cairo_set_line_width(cr, 6);
  if (kind == 1) cairo_fill_preserve(cr);
  cairo_stroke_preserve(cr);
  set(cr, fg);
  cairo_set_line_width(cr, 3);
  if (kind == 1) cairo_fill_preserve(cr);
  cairo_stroke(cr);
}

void draw_selbtn(Art& a) {
  a.cells([&](int i) { sel_button(a.cr, i % 4, i / 4); });
}

// Small square panel buttons of the editor.
void small_button(cairo_t* cr, double w, double h, bool pressed, Ramp r) {
  bevel(cr, 0, 0, w, h, r, pressed ? 4 : 6, 2, pressed);
  cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
  set(cr, kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void draw_setbtn(Art& a) {  // counter arrows 7 x 6: up, down, up pressed, down pressed
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    bool pressed = i >= 2, up = i % 2 == 0;
    cairo_rectangle(cr, 0, 0, 7, 6);
    set(cr, pressed ? ramp(kSky, 4) : ramp(kSky, 8));
    cairo_fill(cr);
    if (up) cairo_move_to(cr, 3.5, 1), cairo_line_to(cr, 6, 5), cairo_line_to(cr, 1, 5);
    else cairo_move_to(cr, 1, 1), cairo_line_to(cr, 6, 1), cairo_line_to(cr, 3.5, 5);
    cairo_close_path(cr);
    set(cr, pressed ? kWhite : kInk);
    cairo_fill(cr);
  });
}

void draw_playbtn(Art& a) {
  a.cells([&](int i) {
    small_button(a.cr, 20, 20, i == 1, kGreen);
    symbol(a.cr, 1, 10 + i, 10 + i, 11);
    set(a.cr, kWhite);
    cairo_fill_preserve(a.cr);
    ink(a.cr, 1);
  });
}

void draw_selsavebtn(Art& a) {  // previous, next, open, save as, leave; then pressed
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    int k = i % 5;
    bool p = i >= 5;
    double o = p ? 1 : 0;
    small_button(cr, 20, 20, p, k < 2 ? kSky : k < 4 ? kAmber : kRed);
    cairo_new_path(cr);
    if (k < 2) {
      symbol(cr, k == 0 ? 0 : 2, 10 + o, 10 + o, 10);
      set(cr, kInk);
      cairo_set_line_width(cr, 3.5);
      cairo_stroke_preserve(cr);
      set(cr, kWhite);
      cairo_set_line_width(cr, 1.6);
      cairo_stroke(cr);
    } else if (k == 2) {  // open: a folder
      cairo_move_to(cr, 4 + o, 6 + o), cairo_line_to(cr, 8 + o, 6 + o), cairo_line_to(cr, 9.5 + o, 8 + o);
      cairo_line_to(cr, 16 + o, 8 + o), cairo_line_to(cr, 16 + o, 15 + o), cairo_line_to(cr, 4 + o, 15 + o);
      cairo_close_path(cr);
      set(cr, ramp(kYellow, 9));
      cairo_fill_preserve(cr);
      ink(cr, 1);
    } else if (k == 3) {  // save: a floppy disk
      cairo_rectangle(cr, 4.5 + o, 4.5 + o, 11, 11);
      set(cr, ramp(kBlue, 6));
      cairo_fill_preserve(cr);
      ink(cr, 1);
      cairo_rectangle(cr, 7 + o, 4.5 + o, 6, 4);
      set(cr, grey(17));
      cairo_fill(cr);
    } else {  // leave: a door arrow
      cairo_rectangle(cr, 4.5 + o, 4.5 + o, 7, 11);
      set(cr, ramp(kBrown, 7));
      cairo_fill_preserve(cr);
      ink(cr, 1);
      cairo_move_to(cr, 10 + o, 10 + o), cairo_line_to(cr, 17 + o, 10 + o);
      cairo_move_to(cr, 14.5 + o, 7.5 + o), cairo_line_to(cr, 17 + o, 10 + o), cairo_line_to(cr, 14.5 + o, 12.5 + o);
      set(cr, kWhite);
      cairo_set_line_width(cr, 1.6);
      cairo_stroke(cr);
    }
  });
}

void draw_conpane(Art& a) {  // the editor's control panel 125 x 132 at (382, 258)
  cairo_t* cr = a.cr;
  bevel(cr, 0, 0, 125, 132, kBlue, 5, 3);
  bevel(cr, 4, 1, 117, 40, kBlue, 3, 1.5, true);  // tool buttons at y 260..294
  for (int k = 0; k < 4; ++k) {
    double y = 47 + k * 22;
    bevel(cr, 18, y - 2, 36, 16, kIndigo, 1, 1.5, true);  // counter digits at x 404
  }
  const char* tags[4] = {"SP", "1st", "RT", "ST"};
  for (int k = 0; k < 4; ++k) label(cr, tags[k], 10, 53 + k * 22, 6.5, ramp(kYellow, 9));
  bevel(cr, 69, 42, 52, 24, kBlue, 3, 1.5, true);  // monster button (463, 302)
}

void draw_pkakusi(Art& a) {  // the panel's shutter: closed, half, almost open
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    double h = 128 * (1 - i * 0.33);
    for (int k = 0; k * 8 < h; ++k) {
      double y = h - 8 - k * 8;
      cairo_rectangle(cr, 0, y, 125, 8);
      cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + 8);
      Col c0 = grey(16), c1 = grey(9);
      cairo_pattern_add_color_stop_rgb(p, 0, c0.r, c0.g, c0.b);
      cairo_pattern_add_color_stop_rgb(p, 1, c1.r, c1.g, c1.b);
      cairo_set_source(cr, p);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
      cairo_rectangle(cr, 0, y + 7, 125, 1);
      set(cr, kInk);
      cairo_fill(cr);
    }
    cairo_rectangle(cr, 50, h - 6, 25, 4);
    set(cr, ramp(kAmber, 7));
    cairo_fill(cr);
  });
}

}  // namespace

void add_panel_drawers(DrawTable& t) {
  t["BgPat"] = draw_bgpat;
  t["BgRPanel"] = draw_rpanel;
  t["BgBPanel"] = draw_bpanel;
  t["Blind"] = draw_blind;
  t["FaceBtn"] = draw_facebtn;
  t["SelBtn"] = draw_selbtn;
  t["SetBtn"] = draw_setbtn;
  t["PlayBtn"] = draw_playbtn;
  t["SelSaveBtn"] = draw_selsavebtn;
  t["ConPane"] = draw_conpane;
  t["PKakusi"] = draw_pkakusi;
}

}  // namespace zubroll::art
