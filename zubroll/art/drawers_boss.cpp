// The four bosses: GBos the tin robot, BBos the fan-waving daruma, QBos the
// queen of hearts and the EggKing on his throne; with the editor's outlines
// and the replay preview's miniatures.
#include <cmath>

#include "drawers.h"

namespace zubroll::art {

void draw_gbossbase_at(cairo_t* cr);

namespace {
void boss_scene(cairo_t* cr, int kind, double s);
}  // namespace

void draw_boss_mini(cairo_t* cr, int kind, double s) { boss_scene(cr, kind, s); }

namespace {

double rad(double d) { return d * M_PI / 180; }

void dot(cairo_t* cr, double x, double y, double r, Col c) {
  cairo_new_path(cr);
  ellipse_path(cr, x, y, r, r);
  set(cr, c);
  cairo_fill(cr);
}

void boss_eyes(cairo_t* cr, double cx, double cy, double gap, double r, int mood) {
  // mood: 0 glare, 1 wide, 2 wink, 3 pain, 4 closed
  for (int k : {-1, 1}) {
    double x = cx + k * gap;
    cairo_new_path(cr);
    if (mood == 3 || (mood == 2 && k > 0) || mood == 4) {
      if (mood == 3) {
        cairo_move_to(cr, x - r, cy - r * 0.6), cairo_line_to(cr, x + r * 0.6 * k, cy);
        cairo_line_to(cr, x - r, cy + r * 0.6);
        if (k < 0) {
          cairo_new_path(cr);
          cairo_move_to(cr, x + r, cy - r * 0.6), cairo_line_to(cr, x - r * 0.6, cy);
          cairo_line_to(cr, x + r, cy + r * 0.6);
        }
      } else
        cairo_arc(cr, x, cy - r * 0.3, r, rad(20), rad(160));
      set(cr, kInk);
      cairo_set_line_width(cr, std::max(1.2, r * 0.35));
      cairo_stroke(cr);
      continue;
    }
    ellipse_path(cr, x, cy, r, r * (mood == 1 ? 1.2 : 1.0));
    set(cr, kWhite);
    cairo_fill_preserve(cr);
    ink(cr, std::max(1.0, r * 0.2));
    dot(cr, x, cy + r * 0.15, r * 0.5, kInk);
    dot(cr, x - r * 0.2, cy - r * 0.1, r * 0.16, kWhite);
    if (mood == 0) {  // angry brows
      cairo_new_path(cr);
      cairo_move_to(cr, x - k * r * 1.1, cy - r * 1.5), cairo_line_to(cr, x + k * r * 1.0, cy - r * 0.9);
      set(cr, kInk);
      cairo_set_line_width(cr, std::max(1.4, r * 0.4));
      cairo_stroke(cr);
    }
  }
}

// ---------------------------------------------------------------- GBos

void gbos_body(cairo_t* cr, int p) {  // 52 x 68: 0 idle, 1 mouth open, 2 spitting down, 3 pain
  cairo_new_path(cr);
  round_rect_path(cr, 3, 6, 46, 60, 10);
  fill_lit_cols(cr, grey(18), grey(12), grey(5), 3, 6, 46, 60);
  ink(cr, 1.6);
  // rivets and a chest plate
  for (int k = 0; k < 4; ++k) dot(cr, 8 + k * 12, 11, 1.3, grey(17));
  cairo_new_path(cr);
  round_rect_path(cr, 9, 16, 34, 14, 3);
  set(cr, p == 3 ? ramp(kRed, 5) : ramp(kSky, 4));
  cairo_fill_preserve(cr);
  ink(cr, 1.1);
  for (int k = 0; k < 3; ++k) dot(cr, 16 + k * 10, 23, 2.2, p == 3 ? ramp(kYellow, 9) : ramp(kSky, 10));
  // mouth
  cairo_new_path(cr);
  double open = p == 1 ? 12 : p == 2 ? 5 : 3;
  round_rect_path(cr, 12, 40 - open / 2, 28, open + 2, 2);
  set(cr, kInk);
  cairo_fill(cr);
  if (p == 1) {
    for (int k = 0; k < 5; ++k) {
      cairo_move_to(cr, 14 + k * 5.5, 35), cairo_line_to(cr, 16.5 + k * 5.5, 38.5), cairo_line_to(cr, 19 + k * 5.5, 35);
    }
    set(cr, kWhite);
    cairo_fill(cr);
  }
  // lower hatch, open when spitting down
  cairo_new_path(cr);
  if (p == 2) {
    round_rect_path(cr, 14, 56, 24, 10, 3);
    set(cr, kInk);
    cairo_fill(cr);
  } else {
    cairo_move_to(cr, 14, 58), cairo_line_to(cr, 38, 58);
    set(cr, grey(6));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
}

void gbos_head(cairo_t* cr, double cx, double cy, double s, double turn, int mood) {
  // a dome with a visor and an antenna; turn in degrees for the dying spin
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, s, s);
  double squash = std::fabs(cos(rad(turn)));
  bool back = cos(rad(turn)) < -0.01;  // the visor is round the far side
  cairo_new_path(cr);
  cairo_move_to(cr, -24, 18);
  cairo_curve_to(cr, -24, -10, 24, -10, 24, 18);
  cairo_close_path(cr);
  fill_lit(cr, kRed, -24, -6, 48, 24, 3, 9);
  ink(cr, 1.6);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, -3), cairo_line_to(cr, 0, -12);
  set(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  dot(cr, 0, -14, 3, ramp(kYellow, 9));
  cairo_new_path(cr);
  ellipse_path(cr, 0, -14, 3, 3);
  ink(cr, 1);
  // visor with eyes, sliding round as it turns
  double off = sin(rad(turn)) * 10;
  if (back) {  // a hatch with bolts on the back
    cairo_new_path(cr);
    round_rect_path(cr, -8 + off * 0.5, 4, 16, 9, 2);
    set(cr, ramp(kRed, 4));
    cairo_fill_preserve(cr);
    ink(cr, 1);
    cairo_restore(cr);
    return;
  }
  cairo_new_path(cr);
  round_rect_path(cr, -17 * squash + off, 3, 34 * squash + 0.1, 10, 4);
  set(cr, ramp(kIndigo, 1));
  cairo_fill(cr);
  if (squash > 0.3) {
    cairo_save(cr);
    cairo_translate(cr, off, 8);
    cairo_scale(cr, squash, 1);
    boss_eyes(cr, 0, 0, 8, 3.2, mood);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

void draw_gbossbody(Art& a) { a.cells([&](int i) { gbos_body(a.cr, i); }); }
void draw_gbosshead(Art& a) { gbos_head(a.cr, 26, 20, 1, 0, 0); }
void draw_gbossspin(Art& a) {
  // the dying head spins round and tumbles
  a.cells([&](int i) {
    cairo_save(a.cr);
    cairo_translate(a.cr, 26, 20);
    cairo_rotate(a.cr, rad(sin(rad(i * 30)) * 16));
    cairo_translate(a.cr, -26, -20);
    gbos_head(a.cr, 26, 17, 0.82, i * 30, i % 3 == 0 ? 3 : 1);
    cairo_restore(a.cr);
  });
}
// ---------------------------------------------------------------- BBos

void bbos_head(cairo_t* cr, double ox, double oy, double s, int p) {
  // a wide daruma face: 0 idle, 1 flapping (cheeks puffed), 2 shouting
  cairo_save(cr);
  cairo_translate(cr, ox, oy);
  cairo_scale(cr, s, s);
  cairo_new_path(cr);
  ellipse_path(cr, 35.5, 17, 33, 15.5);
  fill_lit(cr, kRed, 2, 1, 67, 31, 3, 9);
  ink(cr, 1.6);
  cairo_new_path(cr);
  ellipse_path(cr, 35.5, 18, 21, 11);
  set(cr, ramp(kSkin, 10));
  cairo_fill_preserve(cr);
  ink(cr, 1.2);
  boss_eyes(cr, 35.5, 15, 9, 4, p == 2 ? 1 : 0);
  // moustache
  cairo_new_path(cr);
  for (int k : {-1, 1}) {
    cairo_move_to(cr, 35.5, 22);
    cairo_curve_to(cr, 35.5 + k * 6, 19, 35.5 + k * 14, 21, 35.5 + k * 17, 25);
    cairo_curve_to(cr, 35.5 + k * 12, 24, 35.5 + k * 6, 25, 35.5, 24);
  }
  set(cr, kInk);
  cairo_fill(cr);
  if (p == 2) {
    cairo_new_path(cr);
    ellipse_path(cr, 35.5, 27.5, 5, 3);
    set(cr, ramp(kRed, 3));
    cairo_fill_preserve(cr);
    ink(cr, 1);
  }
  if (p == 1)
    for (int k : {-1, 1}) dot(cr, 35.5 + k * 15, 21, 3, ramp(kRose, 8));
  // gold crest
  cairo_new_path(cr);
  star_path(cr, 35.5, 4, 4.5, 2, 5, 0);
  set(cr, ramp(kAmber, 9));
  cairo_fill_preserve(cr);
  ink(cr, 1);
  cairo_restore(cr);
}

void bbos_body(cairo_t* cr, double ox, double oy, double s) {  // 85 x 77: a round red robe
  cairo_save(cr);
  cairo_translate(cr, ox, oy);
  cairo_scale(cr, s, s);
  cairo_new_path(cr);
  cairo_move_to(cr, 10, 74);
  cairo_curve_to(cr, -4, 40, 14, 4, 42.5, 4);
  cairo_curve_to(cr, 71, 4, 89, 40, 75, 74);
  cairo_close_path(cr);
  fill_lit(cr, kRed, 2, 4, 81, 70, 2, 8);
  ink(cr, 1.8);
  // gold pattern
  cairo_new_path(cr);
  for (int k = 0; k < 3; ++k) cairo_arc(cr, 42.5, 30 + k * 14, 18 - k * 3, rad(200), rad(340)), cairo_new_sub_path(cr);
  set(cr, ramp(kAmber, 8));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  cairo_new_path(cr);
  outlined_text(cr, "B", 42.5, 56, 16, ramp(kAmber, 10), kInk, 1);
  cairo_restore(cr);
}

void fan(cairo_t* cr, double cx, double cy, double open, int side, double s) {
  // a folding fan pivoting at its handle, opening from 0 to 1, leaning outwards
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, s * 0.52, s);
  double span = 16 + open * 84, lean = -side * 8;
  double a0 = rad(-90 - span / 2 + lean), a1 = rad(-90 + span / 2 + lean);
  const double R = 46;
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 0);
  cairo_arc(cr, 0, 0, R, a0, a1);
  cairo_close_path(cr);
  fill_lit(cr, kCream, -R, -R, 2 * R, R, 6, 11);
  cairo_restore(cr);
  ink(cr, 1.4);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, s * 0.52, s);
  const int ribs = 7;
  cairo_new_path(cr);
  for (int k = 1; k < ribs; ++k) {
    double a = a0 + (a1 - a0) * k / ribs;
    cairo_move_to(cr, cos(a) * 10, sin(a) * 10), cairo_line_to(cr, cos(a) * (R - 1), sin(a) * (R - 1));
  }
  cairo_restore(cr);
  set(cr, ramp(kBrown, 5));
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, s * 0.52, s);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, R * 0.72, a0 + 0.04, a1 - 0.04);
  cairo_restore(cr);
  set(cr, ramp(kRed, 6));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  dot(cr, cx, cy, 3, ramp(kBrown, 4));
}

void draw_bbosbody(Art& a) { bbos_body(a.cr, 0, 0, 1); }
void draw_bboshead(Art& a) { a.cells([&](int i) { bbos_head(a.cr, 0, 0, 1, i); }); }
void draw_bbossensu(Art& a) {  // left fan closed, half, open; then the right fan
  a.cells([&](int i) {
    int side = i < 3 ? -1 : 1;
    fan(a.cr, 24, 52, (i % 3) / 2.0, side, 1.0);
  });
}
void draw_bigomori(Art& a) {  // the big weight
  cairo_t* cr = a.cr;
  cairo_new_path(cr);
  ellipse_path(cr, 32, 11, 9, 7.5);
  set(cr, kInk);
  cairo_set_line_width(cr, 5.5);
  cairo_stroke_preserve(cr);
  set(cr, grey(11));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, 16, 17), cairo_line_to(cr, 48, 17), cairo_line_to(cr, 61, 48);
  cairo_line_to(cr, 3, 48);
  cairo_close_path(cr);
  fill_lit_cols(cr, grey(15), grey(9), grey(3), 3, 17, 58, 31);
  ink(cr, 1.8);
  outlined_text(cr, "10t", 32, 34, 16, grey(17), kInk, 1);
}

// ---------------------------------------------------------------- QBos

void qbos_body(cairo_t* cr, double ox, double oy, double s, int mood) {
  // the queen: 80 x 104, face in the upper half over a wide heart-patterned gown
  cairo_save(cr);
  cairo_translate(cr, ox, oy);
  cairo_scale(cr, s, s);
  cairo_new_path(cr);
  cairo_move_to(cr, 4, 102);
  cairo_curve_to(cr, 8, 70, 22, 50, 40, 50);
  cairo_curve_to(cr, 58, 50, 72, 70, 76, 102);
  cairo_close_path(cr);
  fill_lit(cr, kMagenta, 4, 50, 72, 52, 3, 9);
  ink(cr, 1.8);
  for (int k = 0; k < 3; ++k) {
    cairo_new_path(cr);
    double hx = 22 + k * 18, hy = 82 + (k == 1 ? -6 : 0);
    cairo_move_to(cr, hx, hy + 5);
    cairo_curve_to(cr, hx - 8, hy, hx - 4, hy - 6, hx, hy - 2);
    cairo_curve_to(cr, hx + 4, hy - 6, hx + 8, hy, hx, hy + 5);
    set(cr, ramp(kRose, 10));
    cairo_fill(cr);
  }
  // face
  cairo_new_path(cr);
  ellipse_path(cr, 40, 36, 22, 20);
  fill_lit(cr, kSkin, 18, 16, 44, 40, 6, 11);
  ink(cr, 1.6);
  boss_eyes(cr, 40, 34, 9, 4.5, mood == 1 ? 0 : mood == 2 ? 2 : mood == 3 ? 3 : 1);
  for (int k : {-1, 1}) dot(cr, 40 + k * 14, 42, 3, ramp(kRose, 8));
  cairo_new_path(cr);
  if (mood == 1 || mood == 3) {
    ellipse_path(cr, 40, 47, 5, mood == 1 ? 4 : 2.5);
    set(cr, ramp(kRed, 3));
    cairo_fill_preserve(cr);
    ink(cr, 1);
  } else {
    cairo_arc(cr, 40, 43, 5, rad(30), rad(150));
    set(cr, ramp(kRed, 4));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
  // hair buns
  for (int k : {-1, 1}) {
    cairo_new_path(cr);
    ellipse_path(cr, 40 + k * 22, 26, 7, 8);
    fill_lit(cr, kAmber, 40 + k * 22 - 7, 18, 14, 16, 4, 10);
    ink(cr, 1.3);
  }
  cairo_restore(cr);
}

void qbos_head(cairo_t* cr, double ox, double oy, double s, int p) {
  // shown behind the queen when she is struck: a great heart halo with her
  // crown on top; 0 shown, 1 the jolt of the hit, 2 glowing
  cairo_save(cr);
  cairo_translate(cr, ox, oy);
  cairo_scale(cr, s, s);
  double grow = p == 1 ? 1.0 : 0.94;
  cairo_save(cr);
  cairo_translate(cr, 40, 40);
  cairo_scale(cr, grow, grow);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 33);
  cairo_curve_to(cr, -52, 2, -34, -40, 0, -18);
  cairo_curve_to(cr, 34, -40, 52, 2, 0, 33);
  cairo_close_path(cr);
  fill_lit(cr, p == 2 ? kMagenta : kRose, -40, -34, 80, 68, p == 1 ? 7 : 5, 11);
  cairo_restore(cr);
  ink(cr, 1.8);
  if (p == 1)  // hit sparks
    for (int k = 0; k < 8; ++k) {
      double a = rad(k * 45 + 22);
      cairo_new_path(cr);
      cairo_move_to(cr, 40 + cos(a) * 30, 40 + sin(a) * 28);
      cairo_line_to(cr, 40 + cos(a) * 37, 40 + sin(a) * 34);
      set(cr, ramp(kYellow, 10));
      cairo_set_line_width(cr, 2.5);
      cairo_stroke(cr);
    }
  // crown
  cairo_new_path(cr);
  cairo_move_to(cr, 26, 17), cairo_line_to(cr, 24, 3), cairo_line_to(cr, 32, 10);
  cairo_line_to(cr, 40, 0), cairo_line_to(cr, 48, 10), cairo_line_to(cr, 56, 3);
  cairo_line_to(cr, 54, 17);
  cairo_close_path(cr);
  fill_lit(cr, kAmber, 24, 0, 32, 17, 4, 10);
  ink(cr, 1.4);
  const Ramp gems[3] = {kRed, kSky, kGreen};
  for (int k = 0; k < 3; ++k) dot(cr, 32 + k * 8, 13, 1.8, ramp(gems[k], 7));
  cairo_restore(cr);
}

void draw_qbosbody(Art& a) { a.cells([&](int i) { qbos_body(a.cr, 0, 0, 1, i); }); }
void draw_qboshead(Art& a) { a.cells([&](int i) { qbos_head(a.cr, 0, 0, 1, i); }); }

// ---------------------------------------------------------------- EggKing

// The king's head: a giant egg with a crown; mouth 0 shut .. 3 wide.
void ek_head(cairo_t* cr, double ox, double oy, double s, int mouth, bool laugh, double crown_tilt) {
  cairo_save(cr);
  cairo_translate(cr, ox, oy);
  cairo_scale(cr, s, s);
  cairo_new_path(cr);
  egg_path(cr, 38, 56, 34, 37);
  fill_lit(cr, kCream, 4, 19, 68, 74, 5, 11);
  ink(cr, 2);
  // crown
  cairo_save(cr);
  cairo_translate(cr, 38, 20);
  cairo_rotate(cr, rad(crown_tilt));
  cairo_new_path(cr);
  cairo_move_to(cr, -18, 4), cairo_line_to(cr, -20, -14), cairo_line_to(cr, -10, -4);
  cairo_line_to(cr, 0, -18), cairo_line_to(cr, 10, -4), cairo_line_to(cr, 20, -14);
  cairo_line_to(cr, 18, 4);
  cairo_close_path(cr);
  fill_lit(cr, kAmber, -20, -18, 40, 22, 4, 10);
  ink(cr, 1.6);
  dot(cr, 0, -4, 3, ramp(kRed, 6));
  cairo_restore(cr);
  // eyes: the open eyes sit where the blink strip covers them (x 38..75 of the body)
  boss_eyes(cr, 40.5, 52, 11, 5, laugh ? 4 : 0);
  // moustache
  cairo_new_path(cr);
  for (int k : {-1, 1}) {
    cairo_move_to(cr, 38, 62);
    cairo_curve_to(cr, 38 + k * 8, 57, 38 + k * 18, 60, 38 + k * 22, 66);
    cairo_curve_to(cr, 38 + k * 14, 64, 38 + k * 8, 65, 38, 64);
  }
  set(cr, ramp(kBrown, 3));
  cairo_fill(cr);
  // mouth
  cairo_new_path(cr);
  double open = laugh ? 9 : mouth * 4.5;
  if (open > 0) {
    ellipse_path(cr, 38, 73, 8 + open * 0.6, open);
    set(cr, ramp(kRed, 2));
    cairo_fill_preserve(cr);
    ink(cr, 1.4);
    cairo_new_path(cr);
    ellipse_path(cr, 38, 73 + open * 0.5, 5, open * 0.35);
    set(cr, ramp(kRose, 7));
    cairo_fill(cr);
  } else {
    cairo_move_to(cr, 30, 72), cairo_line_to(cr, 46, 72);
    set(cr, kInk);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void draw_ekhead(Art& a) {
  // 0 idle, 1 laughing, 2 mouth opening, 3 mouth wide; 4..7 popping up (ending)
  a.cells([&](int i) {
    if (i < 4) ek_head(a.cr, 0, 0, 1, i == 1 ? 0 : i == 2 ? 1 : i == 3 ? 3 : 0, i == 1, 0);
    else ek_head(a.cr, 0, 0, 1, (i - 4) % 3, i == 7, (i % 2 ? 10 : -10));
  });
}

void draw_ekeat(Art& a) {  // the jumping head: 0 landing, 1..4 chomping
  a.cells([&](int i) {
    cairo_save(a.cr);
    double squash = i == 0 ? 0.85 : 1.0;
    cairo_translate(a.cr, 55, 108);
    cairo_scale(a.cr, 1.3, 1.1 * squash);
    cairo_rotate(a.cr, rad(i == 0 ? 0 : (i % 2 ? -6 : 6)));
    cairo_translate(a.cr, -38, -94);
    ek_head(a.cr, 0, 0, 1, i == 0 ? 0 : (i == 1 || i == 3) ? 3 : 1, false, i * 7 - 14);
    cairo_restore(a.cr);
  });
}

void ek_body(cairo_t* cr, double ox, double oy, double s) {  // 108 x 60: robe and throne arms
  cairo_save(cr);
  cairo_translate(cr, ox, oy);
  cairo_scale(cr, s, s);
  cairo_new_path(cr);
  round_rect_path(cr, 2, 8, 104, 50, 12);
  fill_lit(cr, kViolet, 2, 8, 104, 50, 2, 7);
  ink(cr, 1.8);
  cairo_new_path(cr);
  cairo_rectangle(cr, 4, 10, 100, 7);
  set(cr, kWhite);
  cairo_fill(cr);
  for (int k = 0; k < 10; ++k) dot(cr, 9 + k * 10, 13.5, 1.2, kInk);
  cairo_new_path(cr);
  cairo_move_to(cr, 54, 17), cairo_line_to(cr, 54, 58);
  set(cr, ramp(kAmber, 8));
  cairo_set_line_width(cr, 4);
  cairo_stroke(cr);
  for (int k = 0; k < 3; ++k) dot(cr, 54, 26 + k * 11, 2.2, ramp(kAmber, 10));
  cairo_restore(cr);
}

void ek_hand(cairo_t* cr, int side, int off) {  // 56 x 62; offset 0 rest .. 3 raised, 4..7 waving
  cairo_save(cr);
  double lift = off <= 3 ? off * 7 : 21;
  double wave = off >= 4 ? ((off - 4) % 2 ? 18 : -18) + (off >= 6 ? 6 : 0) : 0;
  double cx = side < 0 ? 30 : 26;
  cairo_translate(cr, cx, 42 - lift * 0.7);
  cairo_scale(cr, 0.9, 0.9);
  cairo_rotate(cr, rad(wave * side + (side < 0 ? -10 : 10)));
  cairo_new_path(cr);
  // a white glove: palm and three fingers and a thumb
  round_rect_path(cr, -13, -10, 26, 22, 9);
  for (int k = 0; k < 3; ++k) round_rect_path(cr, -11 + k * 8, -24, 7, 18, 3.5);
  round_rect_path(cr, side < 0 ? 8 : -19, -8, 11, 7, 3.5);
  fill_lit_cols(cr, kWhite, grey(17), grey(11), -14, -24, 28, 36);
  ink(cr, 1.6);
  cairo_new_path(cr);
  round_rect_path(cr, -14, 10, 28, 8, 3);
  set(cr, ramp(kViolet, 6));
  cairo_fill_preserve(cr);
  ink(cr, 1.4);
  cairo_restore(cr);
}

void draw_ekhand(Art& a) {
  a.cells([&](int i) { ek_hand(a.cr, i < 8 ? -1 : 1, i % 8); });
}

void draw_ekback(Art& a) {  // the throne's back rail behind the head
  cairo_t* cr = a.cr;
  cairo_new_path(cr);
  round_rect_path(cr, 1, 1, 58, 11, 5);
  fill_lit(cr, kAmber, 1, 1, 58, 11, 3, 9);
  ink(cr, 1.4);
  for (int k = 0; k < 5; ++k) dot(cr, 8 + k * 11, 6.5, 1.8, ramp(kRed, 6));
}

void draw_ekeye(Art& a) {
  // the blink: the head's own closed-eye look, cut from the head at the spot
  // the eye sprite covers (body + (38, -36) = head + (22, 46)), opaque
  cairo_surface_t* head = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 37, 12);
  cairo_t* hc = cairo_create(head);
  cairo_translate(hc, -22, -46);
  ek_head(hc, 0, 0, 1, 0, true, 0);
  cairo_destroy(hc);
  set(a.cr, ramp(kCream, 9));
  cairo_paint(a.cr);
  cairo_set_source_surface(a.cr, head, 0, 0);
  cairo_paint(a.cr);
  cairo_surface_destroy(head);
}

void draw_bigbomb(Art& a) {
  cairo_t* cr = a.cr;
  cairo_translate(cr, 29.5, 44);  // a little inside the frame, spark included
  cairo_scale(cr, 0.94, 0.94);
  cairo_translate(cr, -29.5, -44);
  cairo_new_path(cr);
  cairo_move_to(cr, 29.5, 20);
  cairo_curve_to(cr, 32, 10, 42, 12, 44, 4);
  set(cr, kInk);
  cairo_set_line_width(cr, 4);
  cairo_stroke_preserve(cr);
  set(cr, ramp(kBrown, 7));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_new_path(cr);
  star_path(cr, 45, 4, 4.5, 1.8, 6, 0);
  set(cr, ramp(kYellow, 10));
  cairo_fill_preserve(cr);
  ink(cr, 0.8);
  cairo_new_path(cr);
  cairo_rectangle(cr, 22, 18, 15, 8);
  fill_lit_cols(cr, grey(14), grey(9), grey(4), 22, 18, 15, 8);
  ink(cr, 1.3);
  cairo_new_path(cr);
  egg_path(cr, 29.5, 56, 27, 29);
  fill_lit(cr, kIndigo, 2, 27, 55, 58, 0, 5);
  ink(cr, 2);
  shine(cr, 29.5, 56, 27, 29);
  outlined_text(cr, "B", 29.5, 60, 26, ramp(kRed, 7), kInk, 1.3);
}

// ---------------------------------------------------------------- outlines, miniatures

void boss_scene(cairo_t* cr, int kind, double s) {
  // whole bosses at scale s (1 = play size) from the top-left
  switch (kind) {
    case 0:
      cairo_save(cr);
      cairo_scale(cr, s, s);
      cairo_translate(cr, 0, 20);
      gbos_head(cr, 27, 8, 1, 0, 0);
      gbos_body(cr, 0);
      cairo_translate(cr, 9, 60);
      draw_gbossbase_at(cr);
      cairo_restore(cr);
      break;
    case 1:
      bbos_body(cr, 7 * s, 25 * s, s);
      bbos_head(cr, 0, 0, s, 0);
      break;
    case 2:
      qbos_body(cr, 0, 0, s, 0);
      break;
    default:
      cairo_save(cr);
      cairo_scale(cr, s, s);
      ek_body(cr, 0, 60, 1);
      ek_head(cr, 16, -20, 1, 0, false, 0);
      cairo_restore(cr);
      break;
  }
}


void draw_bossicon(Art& a) {  // editor outlines: ghostly, drawn in one tint
  const double sc[4] = {1.0, 1.0, 1.0, 0.8};
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    cairo_push_group(cr);
    cairo_translate(cr, i == 3 ? 6 : 10, i == 3 ? 22 : 4);
    boss_scene(cr, i, sc[i]);
    cairo_pattern_t* g = cairo_pop_group(cr);
    // solid tint where the boss is, with a dark rim
    set(cr, ramp(kSky, 9));
    cairo_mask(cr, g);
    cairo_pattern_destroy(g);
    cairo_push_group(cr);
    cairo_translate(cr, i == 3 ? 6 : 10, i == 3 ? 22 : 4);
    boss_scene(cr, i, sc[i]);
    g = cairo_pop_group(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source(cr, g);
    cairo_paint_with_alpha(cr, 0.35);
    cairo_pattern_destroy(g);
  });
}

void draw_smallboss(Art& a) {
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    set(cr, grey(2));
    cairo_paint(cr);
    const double sc[4] = {0.42, 0.42, 0.42, 0.3};
    const double ox[4] = {7, 3, 1, 2}, oy[4] = {1, 4, 1, 8};
    cairo_translate(cr, ox[i], oy[i]);
    boss_scene(cr, i, sc[i]);
  });
}

}  // namespace

// A spring on a heavy foot, 35 x 42.
void draw_gbossbase_at(cairo_t* cr) {
  cairo_new_path(cr);
  for (int k = 0; k < 4; ++k) ellipse_path(cr, 17.5, 6 + k * 6, 9, 3);
  set(cr, kInk);
  cairo_set_line_width(cr, 3.2);
  cairo_stroke_preserve(cr);
  set(cr, grey(15));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  cairo_new_path(cr);
  round_rect_path(cr, 2, 28, 31, 13, 4);
  fill_lit_cols(cr, grey(14), grey(8), grey(3), 2, 28, 31, 13);
  ink(cr, 1.4);
}

void add_boss_drawers(DrawTable& t) {
  t["GBossBody"] = draw_gbossbody;
  t["GBossHead"] = draw_gbosshead;
  t["GBossSpin"] = draw_gbossspin;
  t["GBossBase"] = [](Art& a) { draw_gbossbase_at(a.cr); };
  t["BBOSBody"] = draw_bbosbody;
  t["BBOSHead"] = draw_bboshead;
  t["BBOSSensu"] = draw_bbossensu;
  t["BigOmori"] = draw_bigomori;
  t["QBOSBody"] = draw_qbosbody;
  t["QBOSHead"] = draw_qboshead;
  t["EKHead"] = draw_ekhead;
  t["EKEat"] = draw_ekeat;
  t["EKBody"] = [](Art& a) { ek_body(a.cr, 0, 0, 1); };
  t["EKHand"] = draw_ekhand;
  t["EKBack"] = draw_ekback;
  t["EKEye"] = draw_ekeye;
  t["BigBomb"] = draw_bigbomb;
  t["BossIcon"] = draw_bossicon;
  t["SMALLBOSS"] = draw_smallboss;
}

}  // namespace zubroll::art
