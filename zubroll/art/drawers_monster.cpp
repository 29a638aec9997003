// The stage monsters: Kaizyu the little dinosaur, Ninjya the ninja and Ballet
// the dancing hippo, each in walk cycles and their special poses.
#include <cmath>

#include "drawers.h"

namespace zubroll::art {

namespace {

double rad(double d) { return d * M_PI / 180; }

enum class Act { Walk, Stand, Stun, Hold, Knock, JumpAir, JumpCrouch, Spin, Vanish };

struct Pose {
  Act act = Act::Stand;
  int facing = -1;    // -1 left, 1 right, 0 front
  double phase = 0;   // walk cycle 0..1, or a frame fraction of the act
  int alt = 0;        // second frame of two-frame acts
  double fade = 0;    // vanish: 0 whole .. 1 gone (smoke only)
};

void eyes(cairo_t* cr, double x, double y, double s, int facing, Act act, int alt) {
  for (int k : {-1, 1}) {
    double ex = x + k * s * 1.15 + facing * s * 0.5;
    cairo_new_path(cr);
    if (act == Act::Stun) {
      // spirals for a dizzy look
      for (double t = 0; t < 4 * M_PI; t += 0.3) {
        double r = s * 0.1 + t * s * 0.07;
        double a = t + (alt ? M_PI : 0);
        if (t == 0) cairo_move_to(cr, ex + r * cos(a), y + r * sin(a));
        else cairo_line_to(cr, ex + r * cos(a), y + r * sin(a));
      }
      set(cr, kInk);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      continue;
    }
    if (act == Act::Knock) {
      cairo_move_to(cr, ex - s * 0.6, y - s * 0.6), cairo_line_to(cr, ex + s * 0.6, y + s * 0.6);
      cairo_move_to(cr, ex + s * 0.6, y - s * 0.6), cairo_line_to(cr, ex - s * 0.6, y + s * 0.6);
      set(cr, kInk);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
      continue;
    }
    ellipse_path(cr, ex, y, s * 0.75, s * 0.95);
    set(cr, kWhite);
    cairo_fill_preserve(cr);
    ink(cr, 1.1);
    ellipse_path(cr, ex + facing * s * 0.25, y + s * 0.1, s * 0.38, s * 0.5);
    set(cr, kInk);
    cairo_fill(cr);
    ellipse_path(cr, ex + facing * s * 0.25 - s * 0.12, y - s * 0.12, s * 0.13, s * 0.13);
    set(cr, kWhite);
    cairo_fill(cr);
  }
}

// Two legs in a walk cycle, drawn from hip points.
void legs(cairo_t* cr, double cx, double hip, double ground, double spread, double ph, int facing,
          Ramp r, double w) {
  for (int k : {0, 1}) {
    double a = (ph + k * 0.5) * 2 * M_PI;
    double fx = cx + (k ? spread : -spread) + (facing ? -facing * sin(a) * spread * 0.9 : 0);
    double lift = facing ? std::max(0.0, cos(a)) * 4 : 0;
    cairo_new_path(cr);
    round_rect_path(cr, fx - w / 2, hip, w, ground - hip - lift, w / 2.5);
    fill_lit(cr, r, fx - w / 2, hip, w, ground - hip, 3, 8);
    ink(cr, 1.3);
    cairo_new_path(cr);
    ellipse_path(cr, fx + facing * 2, ground - lift - 1, w * 0.75, 3.5);
    fill_lit(cr, r, fx - w, ground - lift - 5, 2 * w, 7, 2, 7);
    ink(cr, 1.3);
  }
}

// ---------------------------------------------------------------- Kaizyu

void kaizyu(cairo_t* cr, const Pose& p) {
  const double cx = 36;
  double ground = 70, bob = 0;
  if (p.act == Act::Walk) bob = std::fabs(sin(p.phase * 2 * M_PI)) * 2;
  int f = p.facing;
  cairo_save(cr);
  if (p.act == Act::Knock) {
    cairo_translate(cr, 36, 36);
    cairo_rotate(cr, rad(p.alt ? 35 : -35));
    cairo_translate(cr, -36, -40);
  }
  // tail
  if (f) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx - f * 10, 50 - bob);
    cairo_curve_to(cr, cx - f * 26, 52, cx - f * 33, 58, cx - f * 35, 50 - sin(p.phase * 2 * M_PI) * 3);
    cairo_curve_to(cr, cx - f * 28, 62, cx - f * 18, 64, cx - f * 6, 60 - bob);
    cairo_close_path(cr);
    fill_lit(cr, kGreen, cx - 36, 46, 72, 20, 3, 8);
    ink(cr, 1.4);
  }
  if (p.act == Act::Stand || p.act == Act::Stun || p.act == Act::Hold || p.act == Act::Knock)
    legs(cr, cx, 52, ground, 9, 0, 0, kGreen, 9);
  else
    legs(cr, cx, 52 - bob, ground, 8, p.phase, f, kGreen, 9);
  // back spikes
  for (int k = 0; k < 5; ++k) {
    double a = rad(-150 + k * 30 + (f > 0 ? 10 : f < 0 ? -10 : 0));
    double bx = cx + cos(a) * 21, by = 38 - bob + sin(a) * 21;
    cairo_new_path(cr);
    cairo_move_to(cr, bx + cos(a + 1.2) * 4, by + sin(a + 1.2) * 4);
    cairo_line_to(cr, bx + cos(a) * 8, by + sin(a) * 8);
    cairo_line_to(cr, bx + cos(a - 1.2) * 4, by + sin(a - 1.2) * 4);
    cairo_close_path(cr);
    set(cr, ramp(kAmber, 8));
    cairo_fill_preserve(cr);
    ink(cr, 1.2);
  }
  // body
  cairo_new_path(cr);
  ellipse_path(cr, cx, 40 - bob, 21, 19);
  fill_lit(cr, kGreen, cx - 21, 21 - bob, 42, 38, 3, 9);
  ink(cr, 1.6);
  cairo_new_path(cr);
  ellipse_path(cr, cx + f * 4, 48 - bob, 12, 9);
  set(cr, ramp(kLime, 10));
  cairo_fill(cr);
  // arms
  double arm_up = p.act == Act::Hold ? (p.alt ? 14 : 10) : p.act == Act::Knock ? 16 : 0;
  for (int k : {-1, 1}) {
    cairo_new_path(cr);
    ellipse_path(cr, cx + k * 19 + f * 3, 46 - bob - arm_up, 5, 4);
    fill_lit(cr, kGreen, cx + k * 19 - 5, 42 - arm_up, 10, 8, 4, 9);
    ink(cr, 1.2);
  }
  eyes(cr, cx, 33 - bob, 5, f, p.act, p.alt);
  // mouth with little teeth
  cairo_new_path(cr);
  double my = 43 - bob, mx = cx + f * 4;
  if (p.act == Act::Hold || p.act == Act::Stun || p.act == Act::Knock) {
    ellipse_path(cr, mx, my + 1, 5, p.alt ? 4 : 3);
    set(cr, ramp(kRed, 3));
    cairo_fill_preserve(cr);
    ink(cr, 1.1);
  } else {
    cairo_arc(cr, mx, my - 2, 6, rad(25), rad(155));
    set(cr, kInk);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    for (int k : {-1, 1}) {
      cairo_move_to(cr, mx + k * 3, my + 2.8), cairo_line_to(cr, mx + k * 2, my + 5.5);
      cairo_line_to(cr, mx + k * 1, my + 3.2);
    }
    set(cr, kWhite);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  if (p.act == Act::Stun)
    for (int k = 0; k < 3; ++k) {
      double a = rad(k * 120 + p.alt * 60);
      cairo_new_path(cr);
      star_path(cr, cx + cos(a) * 16, 14 + sin(a) * 4, 4, 1.6, 5, 0);
      set(cr, ramp(kYellow, 9));
      cairo_fill_preserve(cr);
      ink(cr, 0.8);
    }
}

Pose walker_pose(int i) {
  Pose p;
  if (i < 32) {
    p.act = Act::Walk;
    p.facing = i < 16 ? -1 : 1;
    p.phase = (i % 16) / 16.0;
  } else if (i == 32 || i == 39) {
    p.act = Act::Stand;
    p.facing = i == 39 ? 1 : 0;
  } else if (i < 35) {
    p.act = Act::Knock, p.alt = i - 33, p.facing = i == 33 ? -1 : 1;
  } else if (i < 37) {
    p.act = Act::Hold, p.alt = i - 35, p.facing = 0;
  } else {
    p.act = Act::Stun, p.alt = i - 37, p.facing = 0;
  }
  return p;
}

void draw_kaizyu(Art& a) { a.cells([&](int i) { kaizyu(a.cr, walker_pose(i)); }); }

// ---------------------------------------------------------------- Ninjya

void smoke(cairo_t* cr, double cx, double cy, double r, int seed, double fade) {
  Rand rnd{uint32_t(seed)};
  for (int k = 0; k < 7; ++k) {
    double a = rad(k * 51 + rnd.range(0, 20));
    double d = r * (0.3 + fade * 0.7);
    double s = r * (0.45 - fade * 0.25);
    cairo_new_path(cr);
    ellipse_path(cr, cx + cos(a) * d, cy + sin(a) * d * 0.8, s, s);
    fill_lit_cols(cr, kWhite, grey(15), grey(10), cx - r, cy - r, 2 * r, 2 * r);
    ink(cr, 1.1);
  }
}

void ninjya(cairo_t* cr, const Pose& p) {
  const double cx = 36;
  int f = p.facing;
  double bob = p.act == Act::Walk ? std::fabs(sin(p.phase * 2 * M_PI)) * 2 : 0;
  if (p.act == Act::Vanish) {
    smoke(cr, cx, 44, 24, 5 + int(p.fade * 10), p.fade);
    return;
  }
  cairo_save(cr);
  if (p.act == Act::Knock) {
    cairo_translate(cr, 36, 36);
    cairo_rotate(cr, rad(p.alt ? 40 : -40));
    cairo_translate(cr, -36, -40);
  }
  if (p.act == Act::Walk)
    legs(cr, cx, 54 - bob, 70, 7, p.phase, f, kIndigo, 8);
  else
    legs(cr, cx, 54, 70, 8, 0, 0, kIndigo, 8);
  // scarf tails flutter behind
  if (f) {
    cairo_new_path(cr);
    double wave = sin(p.phase * 4 * M_PI) * 3;
    cairo_move_to(cr, cx - f * 12, 24 - bob);
    cairo_curve_to(cr, cx - f * 22, 22 + wave, cx - f * 28, 28 - wave, cx - f * 34, 24 + wave);
    cairo_line_to(cr, cx - f * 32, 31 + wave);
    cairo_curve_to(cr, cx - f * 24, 32, cx - f * 18, 30, cx - f * 12, 30 - bob);
    cairo_close_path(cr);
    set(cr, ramp(kRed, 6));
    cairo_fill_preserve(cr);
    ink(cr, 1.2);
  }
  // body: a round hooded figure
  cairo_new_path(cr);
  ellipse_path(cr, cx, 38 - bob, 19, 21);
  fill_lit(cr, kIndigo, cx - 19, 17 - bob, 38, 42, 1, 6);
  ink(cr, 1.6);
  // face opening
  cairo_new_path(cr);
  round_rect_path(cr, cx - 13 + f * 3, 25 - bob, 26, 11, 5);
  set(cr, ramp(kSkin, 9));
  cairo_fill_preserve(cr);
  ink(cr, 1.1);
  eyes(cr, cx + f * 3, 30.5 - bob, 3.6, f, p.act, p.alt);
  // headband
  cairo_new_path(cr);
  cairo_rectangle(cr, cx - 18, 20 - bob, 36, 4);
  set(cr, ramp(kRed, 6));
  cairo_fill(cr);
  // belt
  cairo_rectangle(cr, cx - 17, 46 - bob, 34, 3);
  set(cr, ramp(kAmber, 7));
  cairo_fill(cr);
  double arm_up = p.act == Act::Hold ? (p.alt ? 14 : 10) : p.act == Act::Knock ? 16 : 0;
  for (int k : {-1, 1}) {
    cairo_new_path(cr);
    ellipse_path(cr, cx + k * 18 + f * 2, 44 - bob - arm_up, 4.5, 4);
    fill_lit(cr, kIndigo, cx + k * 18 - 5, 40 - arm_up, 10, 8, 2, 7);
    ink(cr, 1.2);
  }
  if (f && p.act == Act::Walk) {  // a throwing star at the hip
    cairo_new_path(cr);
    star_path(cr, cx - f * 9, 47.5 - bob, 3.5, 1.2, 4, 45);
    set(cr, grey(15));
    cairo_fill_preserve(cr);
    ink(cr, 0.8);
  }
  cairo_restore(cr);
  if (p.act == Act::Stun)
    for (int k = 0; k < 3; ++k) {
      double a = rad(k * 120 + p.alt * 60);
      cairo_new_path(cr);
      star_path(cr, cx + cos(a) * 16, 10 + sin(a) * 4, 4, 1.6, 5, 0);
      set(cr, ramp(kYellow, 9));
      cairo_fill_preserve(cr);
      ink(cr, 0.8);
    }
}

void draw_ninjya(Art& a) {
  a.cells([&](int i) {
    Pose p;
    if (i < 39) p = walker_pose(i);
    else if (i == 39) p.act = Act::Vanish, p.fade = 0;            // the puff
    else if (i < 44) p.act = Act::Vanish, p.fade = (i - 39) / 5.0;  // clearing on one side
    else p.act = Act::Vanish, p.fade = (48 - i) / 5.0 + 0.1;       // gathering on the other
    if (i >= 44) {
      // gathering smoke shows the ninja taking shape again
      ninjya(a.cr, Pose{Act::Stand, 0, 0, 0, 0});
      smoke(a.cr, 36, 44, 24, i, (i - 44) / 4.0);
      return;
    }
    ninjya(a.cr, p);
  });
}

// ---------------------------------------------------------------- Ballet

void ballet(cairo_t* cr, const Pose& p, double spin = -1) {
  const double cx = 44;
  int f = p.facing;
  double lift = 0, squash = 1;
  if (p.act == Act::JumpAir) lift = p.alt ? 10 : 6;
  if (p.act == Act::JumpCrouch) squash = p.alt ? 0.8 : 0.88;
  double bob = p.act == Act::Walk ? std::fabs(sin(p.phase * 2 * M_PI)) * 3 : 0;
  cairo_save(cr);
  // a little smaller than the box so jumps and the bow stay inside it
  cairo_translate(cr, 44, 79);
  cairo_scale(cr, 0.9, 0.9);
  cairo_translate(cr, -44, -79);
  if (p.act == Act::Knock) {
    cairo_translate(cr, 44, 40);
    cairo_rotate(cr, rad(p.alt ? 40 : -40));
    cairo_translate(cr, -44, -44);
  }
  if (p.act == Act::Walk) {  // a waddle: sway on the toes and drift a little
    cairo_translate(cr, 44 + cos(p.phase * 2 * M_PI) * 2, 78);
    cairo_rotate(cr, rad(sin(p.phase * 2 * M_PI) * 6));
    cairo_translate(cr, -44, -78);
  }
  cairo_translate(cr, 0, 78);
  cairo_scale(cr, 1, squash);
  cairo_translate(cr, 0, -78 - lift - bob);
  // legs on tiptoe
  for (int k : {-1, 1}) {
    double step = p.act == Act::Walk ? sin((p.phase + (k > 0 ? 0.5 : 0)) * 2 * M_PI) * 5 : 0;
    double lx = cx + k * 8 + step;
    double ly = p.act == Act::JumpAir ? 72 - (k > 0 ? 4 : 0) : 76;
    cairo_new_path(cr);
    cairo_move_to(cr, cx + k * 8, 56);
    cairo_line_to(cr, lx, ly);
    set(cr, kInk);
    cairo_set_line_width(cr, 7);
    cairo_stroke_preserve(cr);
    set(cr, ramp(kViolet, 8));
    cairo_set_line_width(cr, 4.5);
    cairo_stroke(cr);
    cairo_new_path(cr);
    ellipse_path(cr, lx, ly, 3.5, 2.5);
    set(cr, ramp(kRose, 7));
    cairo_fill_preserve(cr);
    ink(cr, 1);
  }
  // tutu
  cairo_new_path(cr);
  double tw = spin >= 0 ? 30 + 4 * sin(spin * 2 * M_PI) : 28;
  for (int k = 0; k <= 16; ++k) {
    double x = cx - tw + k * tw / 8;
    double y = 52 + (k % 2 ? 6 : 2);
    if (k == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
  }
  cairo_line_to(cr, cx + tw * 0.5, 44);
  cairo_line_to(cr, cx - tw * 0.5, 44);
  cairo_close_path(cr);
  fill_lit(cr, kRose, cx - tw, 42, 2 * tw, 16, 6, 11);
  ink(cr, 1.4);
  // body: a round pink hippo
  cairo_new_path(cr);
  ellipse_path(cr, cx, 38, 18, 17);
  fill_lit(cr, kViolet, cx - 18, 21, 36, 34, 5, 10);
  ink(cr, 1.6);
  // arms raised in a pose; spinning swaps them
  for (int k : {-1, 1}) {
    double up = p.act == Act::Hold ? 8 + p.alt * 4 : p.act == Act::Stun ? -4 : 14;
    if (spin >= 0) up = (k > 0) == (spin < 0.5) ? 18 : 4;
    cairo_new_path(cr);
    cairo_move_to(cr, cx + k * 15, 36);
    cairo_line_to(cr, cx + k * 24, 36 - up);
    set(cr, kInk);
    cairo_set_line_width(cr, 7);
    cairo_stroke_preserve(cr);
    set(cr, ramp(kViolet, 8));
    cairo_set_line_width(cr, 4.5);
    cairo_stroke(cr);
  }
  // head with a big snout
  double hx = cx + f * 4, hy = 20;
  cairo_new_path(cr);
  ellipse_path(cr, hx, hy, 13, 11);
  fill_lit(cr, kViolet, hx - 13, hy - 11, 26, 22, 5, 10);
  ink(cr, 1.5);
  for (int k : {-1, 1}) {  // ears
    cairo_new_path(cr);
    ellipse_path(cr, hx + k * 10, hy - 9, 3.2, 2.6);
    set(cr, ramp(kViolet, 6));
    cairo_fill_preserve(cr);
    ink(cr, 1);
  }
  cairo_new_path(cr);
  ellipse_path(cr, hx + f * 3, hy + 5, 9, 5.5);
  set(cr, ramp(kRose, 9));
  cairo_fill_preserve(cr);
  ink(cr, 1.1);
  for (int k : {-1, 1}) {
    ellipse_path(cr, hx + f * 3 + k * 3, hy + 4.5, 1.1, 1.4);
    set(cr, kInk);
    cairo_fill(cr);
  }
  eyes(cr, hx, hy - 3, 3, f, p.act, p.alt);
  // a bow on the head
  cairo_new_path(cr);
  cairo_move_to(cr, hx + 5, hy - 11), cairo_line_to(cr, hx + 11, hy - 15), cairo_line_to(cr, hx + 11, hy - 7);
  cairo_close_path(cr);
  cairo_move_to(cr, hx + 5, hy - 11), cairo_line_to(cr, hx - 1, hy - 15), cairo_line_to(cr, hx - 1, hy - 7);
  cairo_close_path(cr);
  set(cr, ramp(kRed, 7));
  cairo_fill_preserve(cr);
  ink(cr, 1);
  cairo_restore(cr);
  if (p.act == Act::Stun)
    for (int k = 0; k < 3; ++k) {
      double a = rad(k * 120 + p.alt * 60);
      cairo_new_path(cr);
      star_path(cr, cx + cos(a) * 16, 6 + sin(a) * 4, 4, 1.6, 5, 0);
      set(cr, ramp(kYellow, 9));
      cairo_fill_preserve(cr);
      ink(cr, 0.8);
    }
}

void draw_ballet(Art& a) {
  a.cells([&](int i) {
    Pose p;
    double spin = -1;
    if (i < 16) p.act = Act::Walk, p.facing = 0, p.phase = i / 16.0;  // one waddle for both ways
    else if (i < 20) {  // jump in place: crouch, rise, top, land
      p.facing = 0;
      p.act = i == 16 || i == 19 ? Act::JumpCrouch : Act::JumpAir;
      p.alt = i == 18 || i == 19;
    } else if (i < 24) {  // sideways jumps: air and ground, left then right
      p.facing = i < 22 ? -1 : 1;
      p.act = i % 2 == 0 ? Act::JumpAir : Act::JumpCrouch;
    } else if (i < 28) {
      p.act = Act::Stand, p.facing = i < 26 ? -1 : 1;
      spin = (i % 2) * 0.5 + (i >= 26 ? 0.25 : 0);
    } else if (i < 30) p.act = Act::Stun, p.alt = i - 28;
    else if (i < 32) p.act = Act::Knock, p.alt = i - 30, p.facing = i == 30 ? -1 : 1;
    else if (i < 34) p.act = Act::Hold, p.alt = i - 32;
    else if (i == 34) p.act = Act::Stand;
    else p.act = Act::Stand, p.facing = (i % 2) ? 1 : -1, p.alt = i;  // spare poses
    if (i >= 35) {
      // bows to the audience: arms and a tilt that differ per frame
      cairo_save(a.cr);
      cairo_translate(a.cr, 44, 78);
      cairo_rotate(a.cr, rad((i - 37) * 4));
      cairo_translate(a.cr, -44, -78);
      ballet(a.cr, p, (i - 35) * 0.2);
      cairo_restore(a.cr);
      return;
    }
    ballet(a.cr, p, spin);
  });
}

// The editor's monster button: a face for Kaizyu, Ballet, Ninjya.
void draw_kjbtn(Art& a) {
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    cairo_rectangle(cr, 0, 0, 25, 19);
    set(cr, ramp(kSky, 6));
    cairo_fill(cr);
    cairo_rectangle(cr, 0.5, 0.5, 24, 18);
    set(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 12.5, 10);
    Pose p;
    if (i == 0) {
      cairo_scale(cr, 0.42, 0.42);
      cairo_translate(cr, -36, -42);
      kaizyu(cr, p);
    } else if (i == 1) {
      cairo_scale(cr, 0.34, 0.34);
      cairo_translate(cr, -44, -44);
      ballet(cr, p);
    } else {
      cairo_scale(cr, 0.42, 0.42);
      cairo_translate(cr, -36, -42);
      ninjya(cr, p);
    }
    cairo_restore(cr);
  });
}

}  // namespace

void draw_kaizyu(cairo_t* cr, int pattern) { kaizyu(cr, walker_pose(pattern)); }

void draw_kaizyu_back(cairo_t* cr) {
  const double cx = 27.5;
  for (int k : {-1, 1}) {
    cairo_new_path(cr);
    round_rect_path(cr, cx + k * 9 - 4.5, 44, 9, 14, 3.5);
    fill_lit(cr, kGreen, cx - 14, 44, 28, 14, 3, 8);
    ink(cr, 1.3);
  }
  for (int k = 0; k < 5; ++k) {  // spikes along the back
    double y = 12 + k * 7;
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 4, y + 3), cairo_line_to(cr, cx, y - 4), cairo_line_to(cr, cx + 4, y + 3);
    cairo_close_path(cr);
    set(cr, ramp(kAmber, 8));
    cairo_fill_preserve(cr);
    ink(cr, 1.1);
  }
  cairo_new_path(cr);
  ellipse_path(cr, cx, 32, 20, 19);
  fill_lit(cr, kGreen, cx - 20, 13, 40, 38, 3, 9);
  ink(cr, 1.6);
  for (int k = 0; k < 4; ++k) {
    double y = 18 + k * 7;
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 3.5, y + 3), cairo_line_to(cr, cx, y - 3), cairo_line_to(cr, cx + 3.5, y + 3);
    cairo_close_path(cr);
    set(cr, ramp(kAmber, 8));
    cairo_fill_preserve(cr);
    ink(cr, 1);
  }
  cairo_new_path(cr);  // tail curling down to the ground
  cairo_move_to(cr, cx - 6, 46);
  cairo_curve_to(cr, cx - 8, 56, cx + 10, 58, cx + 16, 52);
  cairo_curve_to(cr, cx + 10, 54, cx, 52, cx + 6, 46);
  cairo_close_path(cr);
  fill_lit(cr, kGreen, cx - 8, 46, 24, 12, 3, 8);
  ink(cr, 1.3);
}

void add_monster_drawers(DrawTable& t) {
  t["Kaizyu"] = draw_kaizyu;
  t["Ninjya"] = draw_ninjya;
  t["Ballet"] = draw_ballet;
  t["KJBtn"] = draw_kjbtn;
}

}  // namespace zubroll::art
