// Small effects and icons: stars, sparks, flashes, coins, hearts, pointers,
// signboards, the chicks.
#include <cmath>

#include "drawers.h"

namespace zubroll::art {

namespace {


void lit_star(cairo_t* cr, double cx, double cy, double ro, double ri, int n, double rot,
              Ramp r, double line) {
  cairo_new_path(cr);
  star_path(cr, cx, cy, ro, ri, n, rot);
  fill_lit(cr, r, cx - ro, cy - ro, 2 * ro, 2 * ro, 5, 11);
  ink(cr, line);
}

// Four-point twinkle: a white core with coloured rays.
void twinkle(cairo_t* cr, double cx, double cy, double r, Col c, double rot = 0) {
  cairo_new_path(cr);
  star_path(cr, cx, cy, r, r * 0.22, 4, rot);
  set(cr, c);
  cairo_fill(cr);
  cairo_new_path(cr);
  star_path(cr, cx, cy, r * 0.55, r * 0.15, 4, rot);
  set(cr, kWhite);
  cairo_fill(cr);
}

void draw_star(Art& a) {  // eight colours, each in two twinkle frames
  const Ramp cols[8] = {kYellow, kRed, kSky, kGreen, kRose, kViolet, kOrange, kCream};
  a.cells([&](int i) {
    bool alt = i % 2;
    lit_star(a.cr, 8, 8, alt ? 6.2 : 7.4, alt ? 3.2 : 3.0, 5, alt ? 36 : 0, cols[i / 2], 1.1);
  });
}

void draw_star2(Art& a) {  // two sets of sparks, three sizes, two twinkles
  a.cells([&](int i) {
    int set6 = i / 6, size = (i % 6) / 2, alt = i % 2;
    Col c = set6 ? ramp(kSky, 8) : ramp(kYellow, 9);
    double r = 7.5 - size * 1.8;
    twinkle(a.cr, 8, 8, alt ? r * 0.72 : r, c, alt ? 45 : 0);
  });
}

void draw_star3(Art& a) {  // the slow star: turns and fades in eight frames
  a.cells([&](int i) {
    double s = 1 - i * 0.07;
    lit_star(a.cr, 12, 12, 10 * s, 4.5 * s, 5, i * 9, kSky, 1.2);
    twinkle(a.cr, 12, 12, 4 * s, kWhite, i * 11);
  });
}

void draw_flash(Art& a) {  // hyper flash: a tall burst, then its fading ring
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    cairo_pattern_t* p = cairo_pattern_create_radial(30, 48, 2, 30, 48, 30);
    if (i == 0) {
      cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 1);
      cairo_pattern_add_color_stop_rgba(p, 0.4, 1, 0.95, 0.5, 1);
      cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.5, 0.1, 1);
    } else {
      cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.9, 0.6, 1);
      cairo_pattern_add_color_stop_rgba(p, 1, 0.9, 0.2, 0.1, 1);
    }
    cairo_save(cr);
    cairo_translate(cr, 30, 48);
    cairo_scale(cr, 1, 1.55);
    cairo_translate(cr, -30, -48);
    cairo_new_path(cr);
    if (i == 0)
      star_path(cr, 30, 48, 29, 14, 10, 0);
    else {
      star_path(cr, 30, 48, 27, 17, 12, 15);
      cairo_new_sub_path(cr);
      cairo_arc_negative(cr, 30, 48, 12, 0, -2 * M_PI);
    }
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_restore(cr);
    ink(cr, 1.5);
    cairo_pattern_destroy(p);
  });
}

void draw_coins(Art& a) {  // a gold coin spinning in 16 steps
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    double w = std::fabs(cos(i * M_PI / 16));
    double rx = std::max(1.2, 6.8 * w);
    cairo_new_path(cr);
    ellipse_path(cr, 8, 8, rx + 0.8, 7);
    set(cr, ramp(kAmber, 3));
    cairo_fill(cr);
    cairo_new_path(cr);
    ellipse_path(cr, 8 + (i < 8 ? -0.8 : 0.8) * (1 - w), 8, rx, 7);
    fill_lit(cr, kAmber, 8 - rx, 1, 2 * rx, 14, 5, 11);
    ink(cr, 1.0);
    if (w > 0.45) {
      cairo_save(cr);
      cairo_translate(cr, 8, 8);
      cairo_scale(cr, w, 1);
      outlined_text(cr, "$", 0, 0, 9, ramp(kAmber, 10), ramp(kAmber, 3), 0.5);
      cairo_restore(cr);
    }
  });
}

void heart_path(cairo_t* cr, double cx, double cy, double s) {
  cairo_new_sub_path(cr);
  cairo_move_to(cr, cx, cy + s * 0.9);
  cairo_curve_to(cr, cx - s * 1.4, cy - s * 0.1, cx - s * 0.7, cy - s * 1.2, cx, cy - s * 0.45);
  cairo_curve_to(cr, cx + s * 0.7, cy - s * 1.2, cx + s * 1.4, cy - s * 0.1, cx, cy + s * 0.9);
  cairo_close_path(cr);
}

void draw_heart(Art& a) {  // a beating heart: two sizes, two shades
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    double s = i % 2 ? 5.6 : 6.6;
    cairo_new_path(cr);
    heart_path(cr, 8, 8.5, s);
    fill_lit(cr, i < 2 ? kRose : kRed, 1, 1, 14, 14, 4, 11);
    ink(cr, 1.1);
    shine(cr, 6, 6, 4, 4);
  });
}

void draw_fireball(Art& a) {  // fireball trail: a flame dying in eight frames
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    double r = 7 - i * 0.65;
    cairo_new_path(cr);
    star_path(cr, 8, 8, r, r * 0.7, 7, i * 17);
    Col outer = mix(ramp(kRed, 6), ramp(kBrown, 3), i / 8.0);
    Col inner = mix(ramp(kYellow, 10), ramp(kOrange, 6), i / 8.0);
    fill_lit_cols(cr, inner, mix(inner, outer, 0.5), outer, 8 - r, 8 - r, 2 * r, 2 * r);
    ink(cr, 0.9);
  });
}

void draw_hand(Art& a) {  // the pointer: a white glove pointing up, fingertip at (6.5, 0)
  cairo_t* cr = a.cr;
  // the hot spot is x 6..8, y 0..4 of the picture
  cairo_new_path(cr);
  round_rect_path(cr, 4.6, 0.7, 4, 9.5, 2);     // index finger
  round_rect_path(cr, 8.2, 5.6, 2.7, 5.5, 1.3);   // folded fingers
  round_rect_path(cr, 10.6, 6.3, 2.7, 5, 1.3);
  round_rect_path(cr, 12.8, 7.2, 2.5, 4.5, 1.2);
  round_rect_path(cr, 3.6, 8.4, 11.6, 6.9, 2.6);  // palm
  ellipse_path(cr, 3.2, 10.2, 2.1, 1.5);          // thumb
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  set(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke_preserve(cr);
  fill_lit_cols(cr, kWhite, grey(17), grey(11), 2, 0, 13, 15);
  cairo_new_path(cr);
  for (double x : {10.7, 13.0}) cairo_move_to(cr, x, 8.5), cairo_line_to(cr, x, 10.5);
  set(cr, grey(9));
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

void draw_arrow(Art& a) {  // the reversed-controls arrow, two-frame blink
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    cairo_new_path(cr);
    // a double-headed arrow: left and right swapped
    cairo_move_to(cr, 2, 12);
    cairo_line_to(cr, 10, 4), cairo_line_to(cr, 10, 9), cairo_line_to(cr, 22, 9);
    cairo_line_to(cr, 22, 4), cairo_line_to(cr, 30, 12), cairo_line_to(cr, 22, 20);
    cairo_line_to(cr, 22, 15), cairo_line_to(cr, 10, 15), cairo_line_to(cr, 10, 20);
    cairo_close_path(cr);
    fill_lit(cr, i ? kYellow : kRed, 2, 4, 28, 16, 5, 10);
    ink(cr, 1.3);
  });
}

void draw_guide(Art& a) {  // pointer marker in the bottom panel
  cairo_t* cr = a.cr;
  cairo_new_path(cr);
  cairo_move_to(cr, 16, 0.8), cairo_line_to(cr, 23, 7.2), cairo_line_to(cr, 9, 7.2);
  cairo_close_path(cr);
  fill_lit(cr, kYellow, 9, 0, 14, 8, 5, 10);
  ink(cr, 1.1);
}

// Signboard that unfolds: 0 folded flat .. 3 fully up.
void draw_kanban(Art& a) {
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    double up = (i + 1) / 4.0;  // visible height fraction
    double h = 30 * up, top = 39 - h - 4;
    // post
    cairo_new_path(cr);
    cairo_rectangle(cr, 18, top + h * 0.5, 4, 39 - (top + h * 0.5));
    fill_lit(cr, kBrown, 18, top, 4, 40, 3, 7);
    ink(cr, 1);
    // board, foreshortened while it swings up
    cairo_new_path(cr);
    round_rect_path(cr, 5, top, 30, std::max(3.0, h * 0.8), 2);
    fill_lit(cr, kCream, 5, top, 30, h, 5, 11);
    ink(cr, 1.3);
    if (i >= 2) {
      cairo_save(cr);
      cairo_translate(cr, 20, top + h * 0.4);
      cairo_scale(cr, 1, up);
      outlined_text(cr, "!", 0, 0, 16, ramp(kRed, 6), kInk, 0.7);
      cairo_restore(cr);
    }
  });
}

// ---------------------------------------------------------------- chicks

void chick(cairo_t* cr, double cx, double cy, double s, int frame, double line) {
  // feet
  for (int k : {-1, 1}) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx + k * s * 0.3, cy + s * 0.85);
    cairo_line_to(cr, cx + k * s * 0.45, cy + s * 1.05);
    cairo_line_to(cr, cx + k * s * 0.15, cy + s * 1.05);
    cairo_close_path(cr);
    set(cr, ramp(kOrange, 7));
    cairo_fill_preserve(cr);
    ink(cr, line * 0.7);
  }
  ball(cr, kYellow, cx, cy, s * 0.9, s * 0.88, line, 6, 11);
  // wings: up on frame 1
  for (int k : {-1, 1}) {
    cairo_new_path(cr);
    double wy = cy + s * (frame ? -0.1 : 0.2);
    cairo_save(cr);
    cairo_translate(cr, cx + k * s * 0.82, wy);
    cairo_rotate(cr, k * (frame ? -0.9 : 0.35));
    ellipse_path(cr, 0, 0, s * 0.18, s * 0.34);
    cairo_restore(cr);
    set(cr, ramp(kYellow, 7));
    cairo_fill_preserve(cr);
    ink(cr, line * 0.8);
  }
  // eyes and beak
  for (int k : {-1, 1}) {
    ellipse_path(cr, cx + k * s * 0.3, cy - s * 0.18, s * 0.1, s * 0.14);
    set(cr, kInk);
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  cairo_move_to(cr, cx - s * 0.17, cy + s * 0.05);
  cairo_line_to(cr, cx + s * 0.17, cy + s * 0.05);
  cairo_line_to(cr, cx, cy + s * (frame ? 0.36 : 0.26));
  cairo_close_path(cr);
  set(cr, ramp(kOrange, 7));
  cairo_fill_preserve(cr);
  ink(cr, line * 0.6);
  // cheeks
  for (int k : {-1, 1}) {
    ellipse_path(cr, cx + k * s * 0.52, cy + s * 0.08, s * 0.11, s * 0.07);
    set(cr, ramp(kRose, 8));
    cairo_fill(cr);
  }
  // a tuft of down
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - s * 0.85);
  cairo_curve_to(cr, cx - s * 0.1, cy - s * 1.1, cx + s * 0.2, cy - s * 1.15, cx + s * 0.1, cy - s * 0.95);
  set(cr, kInk);
  cairo_set_line_width(cr, line * 0.8);
  cairo_stroke(cr);
}

void draw_piyopiyo(Art& a) {
  a.cells([&](int i) { chick(a.cr, 16, 15, 12, i, 1.3); });
}

void draw_spiyo(Art& a) {  // chick lamp: 0 dark, 1 lit
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    cairo_new_path(cr);
    ellipse_path(cr, 5, 5.3, 4.1, 4);
    if (i)
      fill_lit(cr, kYellow, 1, 1, 8, 8, 7, 11);
    else
      fill_lit_cols(cr, grey(9), grey(6), grey(3), 1, 1, 8, 8);
    ink(cr, 0.9);
    ellipse_path(cr, 3.6, 4.6, 0.6, 0.8);
    ellipse_path(cr, 6.4, 4.6, 0.6, 0.8);
    set(cr, kInk);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 4.2, 6), cairo_line_to(cr, 5.8, 6), cairo_line_to(cr, 5, 7.3);
    set(cr, i ? ramp(kOrange, 7) : grey(10));
    cairo_fill(cr);
  });
}

void draw_bpiyo(Art& a) {  // the roulette's chick, wings spread, with a banner
  cairo_t* cr = a.cr;
  chick(cr, 39, 26, 19, 1, 1.5);
}

}  // namespace

void draw_chick(cairo_t* cr, double cx, double cy, double s, int frame, double line) {
  chick(cr, cx, cy, s, frame, line);
}

void add_effect_drawers(DrawTable& t) {
  t["Star"] = draw_star;
  t["Star2"] = draw_star2;
  t["Star3"] = draw_star3;
  t["Flash"] = draw_flash;
  t["Coins"] = draw_coins;
  t["Heart"] = draw_heart;
  t["Fireball"] = draw_fireball;
  t["Hand"] = draw_hand;
  t["Arrow"] = draw_arrow;
  t["Guide"] = draw_guide;
  t["Kanban"] = draw_kanban;
  t["PiyoPiyo"] = draw_piyopiyo;
  t["SPiyo"] = draw_spiyo;
  t["BPiyo"] = draw_bpiyo;
}

}  // namespace zubroll::art
