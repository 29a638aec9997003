// The play field's actors: eggs, the pig ball, the mole, chicks, monsters.
#include <cmath>

#include "drawers.h"

namespace zubroll::art {

namespace {

constexpr double kPi = M_PI;
double rad(double deg) { return deg * kPi / 180; }

// ---------------------------------------------------------------- eggs

// A lit egg shape filled with a ramp; the caller may decorate before inking.
void egg_body(cairo_t* cr, double cx, double cy, double rx, double ry, Ramp r, int lo = 4,
              int hi = 11) {
  cairo_new_path(cr);
  egg_path(cr, cx, cy, rx, ry);
  fill_lit(cr, r, cx - rx, cy - ry, 2 * rx, 2 * ry, lo, hi);
  cairo_new_path(cr);
}
void egg_ink(cairo_t* cr, double cx, double cy, double rx, double ry, double w = 1.3) {
  cairo_new_path(cr);
  egg_path(cr, cx, cy, rx, ry);
  ink(cr, w);
  shine(cr, cx, cy - ry * 0.1, rx, ry * 0.9, 0.85);
}
void clip_egg(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_new_path(cr);
  egg_path(cr, cx, cy, rx, ry);
  cairo_clip(cr);
  cairo_new_path(cr);
}

void crack(cairo_t* cr, double x, double y, double len, double ang, int forks) {
  cairo_new_path(cr);
  cairo_move_to(cr, x, y);
  double px = x, py = y;
  for (int i = 1; i <= 4; ++i) {
    double a = rad(ang + (i % 2 ? 28 : -28));
    px += cos(a) * len / 4, py += sin(a) * len / 4;
    cairo_line_to(cr, px, py);
  }
  set(cr, kInk);
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);
  if (forks > 0) crack(cr, x + cos(rad(ang)) * len * 0.45, y + sin(rad(ang)) * len * 0.45,
                       len * 0.5, ang + 60, forks - 1);
}

void spots(cairo_t* cr, Col c, double cx, double cy, double rx, double ry, uint32_t seed, int n,
           double size) {
  Rand r(seed);
  for (int i = 0; i < n; ++i) {
    double x = cx + r.range(-rx, rx), y = cy + r.range(-ry, ry);
    ellipse_path(cr, x, y, size * r.range(0.7, 1.2), size * r.range(0.6, 1.0));
  }
  set(cr, c);
  cairo_fill(cr);
}

void stripes(cairo_t* cr, const Ramp* cols, int n, double cx, double cy, double rx, double ry) {
  double h = 2 * ry / n;
  for (int i = 0; i < n; ++i) {
    cairo_new_path(cr);
    // wavy band
    double y0 = cy - ry + i * h;
    cairo_move_to(cr, cx - rx - 2, y0 + h);
    for (double x = cx - rx - 2; x <= cx + rx + 2; x += 1)
      cairo_line_to(cr, x, y0 + 1.2 * sin((x - cx) * 0.7));
    cairo_line_to(cr, cx + rx + 2, y0 + h + 2);
    cairo_line_to(cr, cx - rx - 2, y0 + h + 2);
    cairo_close_path(cr);
    set(cr, ramp(cols[i], 8));
    cairo_fill(cr);
  }
}

void draw_egg_pattern(cairo_t* cr, int i) {
  const double cx = 13, cy = 16.5, rx = 10.6, ry = 14.2;
  switch (i) {
    case 0: case 11: case 12: case 13: case 14: case 15: case 9: case 10: {
      // plain white egg (0) and decorated eggs for the field's variety
      egg_body(cr, cx, cy, rx, ry, kCream, 5, 11);
      cairo_save(cr);
      clip_egg(cr, cx, cy, rx, ry);
      if (i == 9) spots(cr, ramp(kBrown, 6), cx, cy, rx, ry, 9, 9, 1.6);
      if (i == 10) { Ramp s[] = {kCream, kSky, kCream, kSky, kCream, kSky, kCream}; stripes(cr, s, 7, cx, cy, rx, ry); }
      if (i == 11) spots(cr, ramp(kGreen, 7), cx, cy, rx, ry, 11, 7, 2.2);
      if (i == 12) { Ramp s[] = {kRose, kCream, kRose, kCream, kRose, kCream}; stripes(cr, s, 6, cx, cy, rx, ry); }
      if (i == 13) { for (int k = 0; k < 3; ++k) star_path(cr, cx - 5 + k * 5, cy - 6 + k * 6, 3.4, 1.5, 5, k * 20); set(cr, ramp(kAmber, 8)); cairo_fill(cr); }
      if (i == 14) spots(cr, ramp(kViolet, 7), cx, cy, rx, ry, 14, 10, 1.3);
      if (i == 15) { Ramp s[] = {kTeal, kCream, kLime, kCream, kTeal, kCream}; stripes(cr, s, 6, cx, cy, rx, ry); }
      cairo_restore(cr);
      egg_ink(cr, cx, cy, rx, ry);
      break;
    }
    case 1:  // brown egg
      egg_body(cr, cx, cy, rx, ry, kSkin, 3, 9);
      egg_ink(cr, cx, cy, rx, ry);
      break;
    case 2:  // blue egg
      egg_body(cr, cx, cy, rx, ry, kSky, 5, 11);
      egg_ink(cr, cx, cy, rx, ry);
      break;
    case 3: case 16: {  // two-hit egg: green, with a band; 16 cracked
      egg_body(cr, cx, cy, rx, ry, kGreen, 4, 10);
      cairo_save(cr);
      clip_egg(cr, cx, cy, rx, ry);
      cairo_rectangle(cr, 0, cy - 1, 26, 4);
      set(cr, ramp(kGreen, 2));
      cairo_fill(cr);
      if (i == 16) crack(cr, cx - 6, cy - 8, 16, 20, 1);
      cairo_restore(cr);
      egg_ink(cr, cx, cy, rx, ry);
      break;
    }
    case 4: case 17: case 18: {  // three-hit egg: orange with two bands; 17, 18 cracked
      egg_body(cr, cx, cy, rx, ry, kOrange, 3, 10);
      cairo_save(cr);
      clip_egg(cr, cx, cy, rx, ry);
      cairo_rectangle(cr, 0, cy - 6, 26, 3);
      cairo_rectangle(cr, 0, cy + 4, 26, 3);
      set(cr, ramp(kRed, 4));
      cairo_fill(cr);
      if (i >= 17) crack(cr, cx - 7, cy - 9, 15, 25, 1);
      if (i == 18) crack(cr, cx + 7, cy + 10, 14, 205, 1), crack(cr, cx + 6, cy - 10, 10, 120, 0);
      cairo_restore(cr);
      egg_ink(cr, cx, cy, rx, ry);
      break;
    }
    case 5: case 22: {  // rainbow egg (22: its glint frame)
      egg_body(cr, cx, cy, rx, ry, kCream, 8, 11);
      cairo_save(cr);
      clip_egg(cr, cx, cy, rx, ry);
      Ramp s[] = {kRed, kOrange, kYellow, kGreen, kSky, kBlue, kViolet};
      stripes(cr, s, 7, cx, cy, rx, ry);
      // keep the lighting: a soft dark edge at the lower right
      cairo_pattern_t* p = cairo_pattern_create_radial(cx - 3, cy - 5, 2, cx, cy, ry * 1.15);
      cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 1, 0.35);
      cairo_pattern_add_color_stop_rgba(p, 0.6, 1, 1, 1, 0.0);
      cairo_pattern_add_color_stop_rgba(p, 1.0, 0, 0, 0, 0.35);
      cairo_set_source(cr, p);
      cairo_paint(cr);
      cairo_pattern_destroy(p);
      cairo_restore(cr);
      egg_ink(cr, cx, cy, rx, ry);
      if (i == 22) {
        star_path(cr, cx + 4, cy - 6, 5, 1.5, 4, 0);
        set(cr, kWhite);
        cairo_fill(cr);
      }
      break;
    }
    case 6: {  // hard egg: riveted steel
      egg_body(cr, cx, cy, rx, ry, kSky, 2, 7);
      cairo_new_path(cr);
      egg_path(cr, cx, cy, rx, ry);
      fill_lit_cols(cr, grey(19), grey(12), grey(5), cx - rx, cy - ry, 2 * rx, 2 * ry);
      cairo_save(cr);
      clip_egg(cr, cx, cy, rx, ry);
      cairo_rectangle(cr, 0, cy + 1, 26, 3);
      set(cr, grey(6));
      cairo_fill(cr);
      for (int k = -2; k <= 2; ++k) {
        ellipse_path(cr, cx + k * 4.2, cy + 2.5, 0.9, 0.9);
        set(cr, grey(17));
        cairo_fill(cr);
      }
      cairo_restore(cr);
      egg_ink(cr, cx, cy, rx, ry);
      break;
    }
    case 7: case 19: {  // bomb egg: black with a fuse, 19 its fuse spark lit
      egg_body(cr, cx, cy + 1, rx, ry - 1, kIndigo, 0, 5);
      cairo_save(cr);
      clip_egg(cr, cx, cy + 1, rx, ry - 1);
      outlined_text(cr, "B", cx, cy + 4, 11, i == 19 ? ramp(kYellow, 9) : ramp(kRed, 7),
                    kInk, 0.8);
      cairo_restore(cr);
      egg_ink(cr, cx, cy + 1, rx, ry - 1);
      cairo_new_path(cr);
      cairo_move_to(cr, cx, 3.5);
      cairo_curve_to(cr, cx + 2, 1, cx + 5, 3, cx + 6, 1);
      set(cr, ramp(kBrown, 7));
      cairo_set_line_width(cr, 1.4);
      cairo_stroke(cr);
      if (i == 19) {
        star_path(cr, cx + 6.5, 2.5, 3.5, 1.2, 6, 15);
        set(cr, ramp(kYellow, 10));
        cairo_fill_preserve(cr);
        set(cr, ramp(kRed, 6));
        cairo_set_line_width(cr, 0.6);
        cairo_stroke(cr);
      }
      break;
    }
    case 8: {  // block egg: a crate
      cairo_new_path(cr);
      round_rect_path(cr, 1.5, 2.5, 23, 28.5, 2.5);
      fill_lit(cr, kBrown, 1, 2, 24, 30, 5, 10);
      ink(cr, 1.3);
      cairo_new_path(cr);
      for (double y : {12.0, 21.5}) cairo_move_to(cr, 2.5, y), cairo_line_to(cr, 23.5, y);
      cairo_move_to(cr, 3, 4), cairo_line_to(cr, 23, 29.5);
      set(cr, ramp(kBrown, 3));
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      for (double x : {4.0, 22.0})
        for (double y : {5.0, 28.5}) {
          ellipse_path(cr, x, y, 0.9, 0.9);
          set(cr, grey(15));
          cairo_fill(cr);
        }
      break;
    }
    case 20: {  // editor eraser: a red cross over a faint egg
      cairo_new_path(cr);
      egg_path(cr, cx, cy, rx, ry);
      set(cr, ramp(kCream, 9));
      cairo_fill_preserve(cr);
      cairo_set_dash(cr, (const double[]){2, 2}, 2, 0);
      ink(cr, 1);
      cairo_set_dash(cr, nullptr, 0, 0);
      cairo_move_to(cr, 6, 9), cairo_line_to(cr, 20, 24);
      cairo_move_to(cr, 20, 9), cairo_line_to(cr, 6, 24);
      set(cr, kInk);
      cairo_set_line_width(cr, 4.5);
      cairo_stroke_preserve(cr);
      set(cr, ramp(kRed, 6));
      cairo_set_line_width(cr, 2.5);
      cairo_stroke(cr);
      break;
    }
    case 21: {  // the boss's weight: an iron weight with a handle, in the lower part
      cairo_new_path(cr);
      ellipse_path(cr, 13, 18.5, 4, 3.5);
      set(cr, kInk);
      cairo_set_line_width(cr, 3.2);
      cairo_stroke_preserve(cr);
      set(cr, grey(11));
      cairo_set_line_width(cr, 1.6);
      cairo_stroke(cr);
      cairo_new_path(cr);
      cairo_move_to(cr, 8, 21);
      cairo_line_to(cr, 18, 21);
      cairo_line_to(cr, 22, 31);
      cairo_line_to(cr, 4, 31);
      cairo_close_path(cr);
      fill_lit_cols(cr, grey(14), grey(8), grey(3), 4, 20, 18, 12);
      ink(cr, 1.2);
      outlined_text(cr, "t", 13, 26.5, 7, grey(16), kInk, 0.5);
      break;
    }
    case 23: {  // golden egg
      egg_body(cr, cx, cy, rx, ry, kAmber, 4, 11);
      egg_ink(cr, cx, cy, rx, ry);
      star_path(cr, cx - 4, cy - 7, 3.5, 1, 4, 0);
      set(cr, kWhite);
      cairo_fill(cr);
      break;
    }
  }
}

void draw_egg(Art& a) { a.cells([&](int i) { draw_egg_pattern(a.cr, i); }); }

void draw_segg(Art& a) {
  // stage tally icons: 0 one stage, 1 five, 2 ten
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    Ramp r = i == 0 ? kCream : i == 1 ? kSky : kAmber;
    cairo_new_path(cr);
    egg_path(cr, 4, 4.3, 2.9, 3.5);
    fill_lit(cr, r, 1, 0.5, 6, 7.5, 4, 11);
    ink(cr, 0.9);
  });
}

// Stage-preview miniatures: cell k drawn for stage cell value k (1..9).
void draw_smallegg(Art& a) {
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    set(cr, grey(2));
    cairo_paint(cr);
    const Ramp kinds[] = {kCream, kCream, kSkin, kSky, kGreen, kOrange, kViolet, kSky, kIndigo, kBrown};
    if (i == 0) return;  // an empty cell
    if (i > 9) {
      // cells 10..12 are not drawn by the preview; they hold boss-area tints
      const Ramp tint[3] = {kBlue, kRed, kMagenta};
      cairo_rectangle(cr, 1, 1, 7, 8);
      set(cr, ramp(tint[i - 10], 3));
      cairo_fill(cr);
      return;
    }
    if (i == 9) {
      cairo_rectangle(cr, 1, 1, 7, 8);
      set(cr, ramp(kBrown, 7));
      cairo_fill_preserve(cr);
      ink(cr, 1);
      return;
    }
    cairo_new_path(cr);
    egg_path(cr, 4.5, 5, 3.4, 4.3);
    if (i == 7)
      fill_lit_cols(cr, grey(18), grey(12), grey(6), 1, 0.5, 7, 9);
    else if (i == 6) {
      cairo_pattern_t* p = cairo_pattern_create_linear(0, 1, 0, 9);
      const Ramp rb[] = {kRed, kYellow, kGreen, kBlue, kViolet};
      for (int k = 0; k < 5; ++k) {
        Col c = ramp(rb[k], 7);
        cairo_pattern_add_color_stop_rgb(p, k / 4.0, c.r, c.g, c.b);
      }
      cairo_set_source(cr, p);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(p);
    } else
      fill_lit(cr, kinds[i], 1, 0.5, 7, 9, i == 8 ? 0 : 4, i == 8 ? 5 : 11);
    ink(cr, 0.8);
  });
}

// ---------------------------------------------------------------- pig ball

// The pig curled into a ball, turned by `angle` degrees; body colour by speed.
void pig_ball(cairo_t* cr, double cx, double cy, double r, double angle, Ramp body,
              double line = 1.2) {
  cairo_save(cr);
  // ears first, so the body's outline crosses their roots
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, rad(angle));
  for (int s : {-1, 1}) {
    cairo_new_path(cr);
    cairo_move_to(cr, s * r * 0.2, -r * 0.8);
    cairo_line_to(cr, s * r * 0.72, -r * 1.12);
    cairo_line_to(cr, s * r * 0.78, -r * 0.45);
    cairo_close_path(cr);
    set(cr, ramp(body, 4));
    cairo_fill_preserve(cr);
    ink(cr, line * 0.9);
  }
  cairo_rotate(cr, -rad(angle));
  // body, lit from the top-left whatever the turn
  ball(cr, body, 0, 0, r, r, line, 5, 11);
  cairo_rotate(cr, rad(angle));
  // snout: a big light oval with two dark nostrils
  cairo_new_path(cr);
  ellipse_path(cr, 0, r * 0.3, r * 0.46, r * 0.32);
  set(cr, ramp(body, 9));
  cairo_fill_preserve(cr);
  ink(cr, line * 0.8);
  for (int s : {-1, 1}) {
    ellipse_path(cr, s * r * 0.17, r * 0.3, r * 0.09, r * 0.13);
    set(cr, ramp(body, 1));
    cairo_fill(cr);
  }
  // eyes: bold dots
  for (int s : {-1, 1}) {
    ellipse_path(cr, s * r * 0.36, -r * 0.18, r * 0.12, r * 0.16);
    set(cr, kInk);
    cairo_fill(cr);
  }
  // cheeks
  for (int s : {-1, 1}) {
    ellipse_path(cr, s * r * 0.66, r * 0.2, r * 0.13, r * 0.09);
    set(cr, ramp(kRed, 7));
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void draw_devadiv(Art& a) {
  const Ramp speed[3] = {kRose, kOrange, kViolet};  // normal, fast, hyper
  a.cells([&](int i) {
    pig_ball(a.cr, 12, 12.5, 9, (i % 16) * 22.5, speed[i / 16]);
  });
}

void draw_sbuta(Art& a) {  // lives icon: the pig's face
  a.cells([&](int) { pig_ball(a.cr, 12, 12.5, 9, 0, kRose); });
}

// ---------------------------------------------------------------- the mole

struct MolePose {
  int facing = -1;     // -1 left, 1 right, 0 front
  double step = 0;     // walk cycle 0..1
  double bob = 0;      // body raise
  bool stunned = false, dizzy_alt = false, surprised = false;
  double arms = 0;     // 0 down .. 1 up
};

// The mole Zub in a 64 x 64 box: round brown body, pink nose, a yellow hard
// hat whose flat top is the bat the pig bounces on.
void mole(cairo_t* cr, const MolePose& p, double scale = 1) {
  cairo_save(cr);
  cairo_scale(cr, scale, scale);
  const double cx = 32, base = 62 - p.bob;
  const double lw = 1.4;
  const Ramp fur = kBrown;
  // feet
  for (int s : {-1, 1}) {
    double ph = p.step * 2 * kPi + (s < 0 ? 0 : kPi);
    double fx = cx + s * 8 + (p.facing ? sin(ph) * 7 * p.facing * -1 : 0);
    double lift = p.facing ? std::max(0.0, cos(ph)) * 4.5 : 0;
    cairo_new_path(cr);
    ellipse_path(cr, fx + p.facing * 2, 60 - lift, 7, 3.2);
    fill_lit(cr, kSkin, fx - 6, 56 - lift, 12, 7, 3, 8);
    ink(cr, lw);
  }
  // body
  double by = base - 22;
  cairo_new_path(cr);
  ellipse_path(cr, cx, by, 19, 19);
  fill_lit(cr, fur, cx - 19, by - 19, 38, 38, 3, 9);
  ink(cr, lw);
  // belly
  cairo_new_path(cr);
  ellipse_path(cr, cx + p.facing * 3, by + 7, 11, 9);
  set(cr, ramp(kSkin, 9));
  cairo_fill(cr);
  // arms: paws at the hat brim when up
  for (int s : {-1, 1}) {
    // arms swing against the legs while walking
    double swing = p.facing ? sin(p.step * 2 * kPi + (s < 0 ? kPi : 0)) * 3.5 * -p.facing : 0;
    double ax = cx + s * 17 + swing, ay = by + 2 - p.arms * 16 - std::fabs(swing) * 0.4;
    cairo_new_path(cr);
    ellipse_path(cr, ax, ay, 4.5, 4);
    fill_lit(cr, kSkin, ax - 4, ay - 4, 9, 8, 4, 9);
    ink(cr, lw * 0.8);
  }
  // face
  double fx = cx + p.facing * 8.5, fy = by - 2;
  if (p.stunned) {
    for (int s : {-1, 1}) {
      double ex = fx + s * 6;
      cairo_new_path(cr);
      cairo_move_to(cr, ex - 2.5, fy - 2.5), cairo_line_to(cr, ex + 2.5, fy + 2.5);
      cairo_move_to(cr, ex + 2.5, fy - 2.5), cairo_line_to(cr, ex - 2.5, fy + 2.5);
      set(cr, kInk);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
    }
  } else {
    // dark round glasses: moles squint in daylight
    for (int s : {-1, 1}) {
      double ex = fx + s * 6 - (p.facing ? p.facing * (s == p.facing ? 1.5 : 0) : 0);
      cairo_new_path(cr);
      ellipse_path(cr, ex, fy, p.surprised ? 4 : 3.8, p.surprised ? 4.4 : 3.3);
      set(cr, p.surprised ? kWhite : ramp(kIndigo, 1));
      cairo_fill_preserve(cr);
      ink(cr, 1);
      if (p.surprised) {
        ellipse_path(cr, ex, fy, 1.4, 1.8);
        set(cr, kInk);
        cairo_fill(cr);
      } else {
        ellipse_path(cr, ex - 1.3, fy - 1.2, 1, 0.8);
        set(cr, with_alpha(kWhite, 0.9));
        cairo_fill(cr);
      }
    }
    cairo_new_path(cr);
    cairo_move_to(cr, fx - 2, fy), cairo_line_to(cr, fx + 2, fy);
    set(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  // nose
  cairo_new_path(cr);
  ellipse_path(cr, fx + p.facing * 3, fy + 5.5, 3.6, 2.8);
  fill_lit(cr, kRose, fx - 4, fy + 2.5, 8, 6, 5, 10);
  ink(cr, 1);
  // mouth
  cairo_new_path(cr);
  if (p.surprised || p.stunned)
    ellipse_path(cr, fx + p.facing * 2, fy + 11, 2, 2.2);
  else
    cairo_arc(cr, fx + p.facing * 2, fy + 9, 3, rad(20), rad(160));
  set(cr, kInk);
  cairo_set_line_width(cr, 1);
  if (p.surprised || p.stunned) cairo_fill(cr); else cairo_stroke(cr);
  // hard hat: dome and a flat, wide brim on top (the bat)
  double hy = by - 17 - p.arms * 0;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - 16, hy + 3);
  cairo_curve_to(cr, cx - 16, hy - 10, cx + 16, hy - 10, cx + 16, hy + 3);
  cairo_close_path(cr);
  fill_lit(cr, kAmber, cx - 16, hy - 9, 32, 12, 5, 10);
  ink(cr, lw);
  cairo_new_path(cr);
  round_rect_path(cr, cx - 18.5, hy + 1, 37, 4.5, 2);
  fill_lit(cr, kAmber, cx - 18, hy, 36, 6, 4, 9);
  ink(cr, lw);
  cairo_new_path(cr);
  cairo_move_to(cr, cx, hy - 6), cairo_line_to(cr, cx, hy + 1);
  set(cr, ramp(kAmber, 4));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  if (p.stunned) {
    // circling stars
    for (int k = 0; k < 3; ++k) {
      double ang = rad(k * 120 + (p.dizzy_alt ? 60 : 0));
      star_path(cr, cx + cos(ang) * 14, hy - 6 + sin(ang) * 3.5, 3.4, 1.4, 5, k * 30);
      set(cr, ramp(kYellow, 9));
      cairo_fill_preserve(cr);
      ink(cr, 0.7);
    }
  }
  cairo_restore(cr);
}

MolePose mole_pose(int i) {
  MolePose p;
  if (i < 16) {
    p.facing = i < 8 ? -1 : 1;
    p.step = (i % 8) / 8.0;
    p.bob = std::fabs(sin(p.step * 2 * kPi)) * 1.5;
  } else if (i < 20) {  // standing: a breathing bob, arms ready
    p.facing = 0;
    p.bob = (i == 17 || i == 18) ? 1 : 0;
    p.arms = (i - 16) * 0.08;
  } else if (i < 23) {
    p.facing = 0;
    p.stunned = true;
    p.dizzy_alt = i == 22;
    p.bob = i == 21 ? 1 : 0;
  } else {
    p.facing = 0;
    p.surprised = true;
    p.arms = 1;
  }
  return p;
}

void draw_zubzub(Art& a) { a.cells([&](int i) { mole(a.cr, mole_pose(i)); }); }

void draw_bigzub(Art& a) {
  a.cells([&](int i) {
    cairo_save(a.cr);
    cairo_translate(a.cr, 40 - 32 * 1.22, 80 - 64 * 1.22);
    mole(a.cr, mole_pose(i), 1.22);
    cairo_restore(a.cr);
  });
}

}  // namespace

void draw_egg_cell(cairo_t* cr, int pattern) { draw_egg_pattern(cr, pattern); }
void draw_pig(cairo_t* cr, double cx, double cy, double r, double angle) {
  pig_ball(cr, cx, cy, r, angle, kRose);
}
void draw_mole(cairo_t* cr, int pattern, double scale) { mole(cr, mole_pose(pattern), scale); }

void draw_mole_back(cairo_t* cr) {
  // seen from behind: fur, the hat, feet and a stubby tail
  const double cx = 27.5;
  for (int s : {-1, 1}) {
    cairo_new_path(cr);
    ellipse_path(cr, cx + s * 8, 56, 7, 3.2);
    fill_lit(cr, kSkin, cx - 15, 52, 30, 7, 3, 8);
    ink(cr, 1.4);
  }
  cairo_new_path(cr);
  ellipse_path(cr, cx, 36, 19, 19);
  fill_lit(cr, kBrown, cx - 19, 17, 38, 38, 3, 9);
  ink(cr, 1.4);
  cairo_new_path(cr);
  ellipse_path(cr, cx, 50, 3, 2.5);
  set(cr, ramp(kBrown, 6));
  cairo_fill_preserve(cr);
  ink(cr, 1);
  for (int s : {-1, 1}) {
    cairo_new_path(cr);
    ellipse_path(cr, cx + s * 17, 36, 4.5, 4);
    fill_lit(cr, kSkin, cx + s * 17 - 4, 32, 9, 8, 4, 9);
    ink(cr, 1.1);
  }
  double hy = 19;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - 16, hy + 3);
  cairo_curve_to(cr, cx - 16, hy - 10, cx + 16, hy - 10, cx + 16, hy + 3);
  cairo_close_path(cr);
  fill_lit(cr, kAmber, cx - 16, hy - 9, 32, 12, 5, 10);
  ink(cr, 1.4);
  cairo_new_path(cr);
  round_rect_path(cr, cx - 18.5, hy + 1, 37, 4.5, 2);
  fill_lit(cr, kAmber, cx - 18, hy, 36, 6, 4, 9);
  ink(cr, 1.4);
}

void add_actor_drawers(DrawTable& t) {
  t["Egg"] = draw_egg;
  t["SEgg"] = draw_segg;
  t["SMALLEGG"] = draw_smallegg;
  t["Devadiv"] = draw_devadiv;
  t["SButa"] = draw_sbuta;
  t["ZubZub"] = draw_zubzub;
  t["BigZub"] = draw_bigzub;
}

}  // namespace zubroll::art
