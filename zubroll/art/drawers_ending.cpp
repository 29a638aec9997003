// The title's big egg, the about pages, the ending's characters, the editor's
// tool buttons and the small icons.
#include <cmath>
#include <string>

#include "drawers.h"

namespace zubroll::art {

namespace {

double rad(double d) { return d * M_PI / 180; }

void dot(cairo_t* cr, double x, double y, double r, Col c) {
  cairo_new_path(cr);
  ellipse_path(cr, x, y, r, r);
  set(cr, c);
  cairo_fill(cr);
}

void text_at(cairo_t* cr, const std::string& s, double x, double y, double size, Col c,
             bool bold = true) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_move_to(cr, x, y);
  set(cr, c);
  cairo_show_text(cr, s.c_str());
}

// ---------------------------------------------------------------- title

void draw_zrbigegg(Art& a) {  // the giant egg behind the title logo
  cairo_t* cr = a.cr;
  cairo_new_path(cr);
  egg_path(cr, 126, 184, 122, 176);
  fill_lit(cr, kCream, 4, 8, 244, 352, 4, 11);
  ink(cr, 3);
  // a ribbon band with hearts and a zigzag
  cairo_save(cr);
  cairo_new_path(cr);
  egg_path(cr, 126, 184, 122, 176);
  cairo_clip(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, 0, 218, 252, 36);
  fill_lit(cr, kRose, 0, 200, 252, 70, 5, 9);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 218);
  for (int k = 0; k <= 21; ++k) cairo_line_to(cr, k * 12, 218 + (k % 2 ? 6 : 0));
  cairo_move_to(cr, 0, 254);
  for (int k = 0; k <= 21; ++k) cairo_line_to(cr, k * 12, 254 - (k % 2 ? 6 : 0));
  set(cr, kWhite);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  for (int k = 0; k < 6; ++k) {
    cairo_new_path(cr);
    star_path(cr, 21 + k * 42, 236, 7, 3, 5, 0);
    set(cr, ramp(kYellow, 10));
    cairo_fill_preserve(cr);
    ink(cr, 1.2);
  }
  // soft speckles
  Rand r(55);
  for (int k = 0; k < 26; ++k) {
    double x = r.range(20, 232), y = r.range(30, 340);
    if (y > 205 && y < 265) continue;
    dot(cr, x, y, r.range(2, 5), with_alpha(ramp(kAmber, 9), 0.9));
  }
  // a soft gloss at the top-left
  cairo_new_path(cr);
  ellipse_path(cr, 80, 70, 26, 18);
  cairo_pattern_t* g = cairo_pattern_create_radial(80, 70, 2, 80, 70, 26);
  cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.95);
  cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.0);
  cairo_restore(cr);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void draw_titlezub(Art& a) {  // the mole's face, 32 x 32
  cairo_t* cr = a.cr;
  cairo_save(cr);
  cairo_translate(cr, -0.5, -2);
  cairo_scale(cr, 0.52, 0.52);
  draw_mole(cr, 16, 1);
  cairo_restore(cr);
}

void draw_icon(Art& a) {  // the window icon: the pig ball in a cracked egg
  cairo_t* cr = a.cr;
  cairo_new_path(cr);
  egg_path(cr, 16, 17, 13.5, 15);
  fill_lit(cr, kCream, 2, 2, 27, 30, 5, 11);
  ink(cr, 1.5);
  cairo_save(cr);
  cairo_new_path(cr);
  egg_path(cr, 16, 17, 13.5, 15);
  cairo_clip(cr);
  draw_pig(cr, 16, 13, 9, 0);
  cairo_new_path(cr);
  cairo_move_to(cr, 1, 20);
  for (int k = 0; k <= 8; ++k) cairo_line_to(cr, 1 + k * 3.75, 20 + (k % 2 ? -4 : 0));
  cairo_line_to(cr, 31, 33), cairo_line_to(cr, 1, 33);
  cairo_close_path(cr);
  fill_lit(cr, kCream, 2, 16, 27, 17, 5, 11);
  ink(cr, 1.3);
  cairo_restore(cr);
}

// ---------------------------------------------------------------- about

void about_frame(cairo_t* cr) {
  cairo_new_path(cr);
  round_rect_path(cr, 3, 3, 284, 282, 18);
  set(cr, kInk);
  cairo_set_line_width(cr, 5);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 3, 0, 285);
  Col c0 = ramp(kCream, 11), c1 = ramp(kCream, 9);
  cairo_pattern_add_color_stop_rgb(g, 0, c0.r, c0.g, c0.b);
  cairo_pattern_add_color_stop_rgb(g, 1, c1.r, c1.g, c1.b);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_new_path(cr);
  round_rect_path(cr, 10, 10, 270, 268, 13);
  set(cr, ramp(kAmber, 7));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void draw_aboutpic(Art& a) {
  cairo_t* cr = a.cr;
  a.cell(0, [&] {  // page 1: the cast
    about_frame(cr);
    text_at(cr, "Zubroll", 24, 46, 28, ramp(kRose, 5));
    text_at(cr, "the egg game", 28, 64, 12, ramp(kBrown, 4), false);
    cairo_save(cr);
    cairo_translate(cr, 24, 84);
    draw_mole(cr, 16, 1);
    cairo_restore(cr);
    text_at(cr, "Zub the mole", 96, 114, 12, kInk);
    draw_pig(cr, 56, 186, 12, 20);
    text_at(cr, "the pig ball", 96, 190, 12, kInk);
    draw_chick(cr, 56, 236, 12, 1, 1.3);
    text_at(cr, "chicks to catch", 96, 242, 12, kInk);
    cairo_save(cr);
    cairo_translate(cr, 216, 150);
    draw_egg_cell(cr, 5);
    cairo_translate(cr, 24, 14);
    draw_egg_cell(cr, 0);
    cairo_translate(cr, -34, 22);
    draw_egg_cell(cr, 4);
    cairo_restore(cr);
  });
  a.cell(1, [&] {  // page 2: how to play
    about_frame(cr);
    text_at(cr, "How to play", 24, 44, 20, ramp(kSky, 3));
    const char* lines[] = {"Move the mouse to walk.", "Click to serve the pig.",
                           "Break every egg and", "catch the chicks!", "Twelve chicks spin",
                           "the bonus wheel.", "Light E-X-T-R-A for", "a spare life."};
    for (int k = 0; k < 8; ++k) text_at(cr, lines[k], 26, 76 + k * 22, 12.5, kInk, k % 2 == 0);
    cairo_save(cr);
    cairo_translate(cr, 206, 196);
    draw_chick(cr, 30, 30, 16, 0, 1.4);
    cairo_restore(cr);
  });
}

// ---------------------------------------------------------------- ending

void draw_endback(Art& a) {
  a.cell(0, [&] { draw_mole_back(a.cr); });
  a.cell(1, [&] { draw_kaizyu_back(a.cr); });
}

void draw_futari(Art& a) {  // the mole and Kaizyu, friends at last
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    double mx = 2, my = 8, kx = 48, ky = 0, mtilt = 0, ktilt = 0;
    int mp = 16, kp = 32;
    if (i >= 1 && i <= 4) mp = 8 + (i * 2) % 8, mx = -8 + i * 4;  // walking over
    if (i == 5) my = 0, ky = 6;  // hopping in turn
    if (i == 6) my = 10, ky = -3;
    if (i == 7) mp = 23, kp = 35, kx = 40;                           // the catch
    if (i >= 8 && i <= 11) {                                          // hugging sway
      kp = 35 + (i % 2), mp = 23, kx = 38;
      mtilt = ktilt = (i % 4 < 2 ? -6 : 6);
    }
    if (i == 12) mp = 23, kp = 36, kx = 40, my = 2;
    if (i == 13) mp = 19, kp = 32, mtilt = -8, ktilt = 8;
    if (i == 14) mp = 17, kp = 39, my = 4;
    if (i == 15) mp = 18, kp = 16, ky = 2;
    auto put = [&](double x, double y, double tilt, double s, auto fn) {
      cairo_save(cr);
      cairo_translate(cr, x + 30 * s, y + 64 * s);
      cairo_rotate(cr, rad(tilt));
      cairo_translate(cr, -30 * s, -64 * s);
      cairo_scale(cr, s, s);
      fn();
      cairo_restore(cr);
    };
    put(kx, ky + 4, ktilt, 0.83, [&] { draw_kaizyu(cr, kp); });
    put(mx, my, mtilt, 0.86, [&] { draw_mole(cr, mp, 1); });
    if (i >= 8 && i <= 12) {  // little hearts
      for (int k = 0; k < 2; ++k) {
        double hx = 52 + k * 10, hy = 8 + ((i + k) % 2) * 4;
        cairo_new_path(cr);
        cairo_move_to(cr, hx, hy + 4);
        cairo_curve_to(cr, hx - 6, hy, hx - 3, hy - 5, hx, hy - 2);
        cairo_curve_to(cr, hx + 3, hy - 5, hx + 6, hy, hx, hy + 4);
        set(cr, ramp(kRose, 7));
        cairo_fill_preserve(cr);
        ink(cr, 0.9);
      }
    }
  });
}

// The giant chick: body 130 x 130 with open eyes at (56, 38) and (74, 38).
void bh_body(cairo_t* cr, bool open_eyes) {
  cairo_new_path(cr);
  ellipse_path(cr, 65, 68, 60, 58);
  fill_lit(cr, kYellow, 5, 10, 120, 116, 6, 11);
  ink(cr, 2.5);
  cairo_new_path(cr);  // tuft
  cairo_move_to(cr, 62, 12);
  cairo_curve_to(cr, 54, -2, 70, -2, 66, 10);
  cairo_curve_to(cr, 72, 0, 84, 4, 72, 14);
  set(cr, kInk);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  for (int k : {-1, 1}) {
    cairo_new_path(cr);
    if (open_eyes) {
      ellipse_path(cr, 65 + k * 9, 38.5, 3.6, 4.5);
      set(cr, kInk);
      cairo_fill(cr);
      dot(cr, 65 + k * 9 - 1.2, 37, 1.2, kWhite);
    } else {  // happy closed eyes
      cairo_arc(cr, 65 + k * 9, 41, 4, rad(200), rad(340));
      set(cr, kInk);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
    }
    dot(cr, 65 + k * 24, 52, 6, ramp(kRose, 8));
  }
  cairo_new_path(cr);
  cairo_move_to(cr, 57, 48), cairo_line_to(cr, 73, 48), cairo_line_to(cr, 65, 60);
  cairo_close_path(cr);
  fill_lit(cr, kOrange, 57, 48, 16, 12, 5, 9);
  ink(cr, 1.5);
  cairo_new_path(cr);  // belly
  ellipse_path(cr, 65, 92, 34, 26);
  set(cr, ramp(kYellow, 10));
  cairo_fill(cr);
}

void draw_bhbody(Art& a) { bh_body(a.cr, true); }

void draw_bheye(Art& a) {
  // the happy closed eyes, cut from the body drawn with them at the spot the
  // eye sprite covers (body + (47, 34)), opaque
  cairo_surface_t* body = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 36, 9);
  cairo_t* bc = cairo_create(body);
  cairo_translate(bc, -47, -34);
  bh_body(bc, false);
  cairo_destroy(bc);
  set(a.cr, ramp(kYellow, 10));
  cairo_paint(a.cr);
  cairo_set_source_surface(a.cr, body, 0, 0);
  cairo_paint(a.cr);
  cairo_surface_destroy(body);
}

void draw_bhfoot(Art& a) {  // 0 standing, 1 squashed while bouncing
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    double sq = i ? 0.7 : 1.0;
    for (int k : {-1, 1}) {
      double fx = 64 + k * 30;
      cairo_new_path(cr);
      cairo_move_to(cr, fx - 4 * k, 2);
      cairo_line_to(cr, fx - 3 * k, 30 * sq);
      set(cr, kInk);
      cairo_set_line_width(cr, 7);
      cairo_stroke_preserve(cr);
      set(cr, ramp(kOrange, 7));
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
      cairo_new_path(cr);
      double base = 30 * sq + 14 * (i ? 0.9 : 1);
      for (int t = -1; t <= 1; ++t) {
        cairo_move_to(cr, fx - 3 * k, 28 * sq);
        cairo_line_to(cr, fx + t * 13 * (i ? 1.25 : 1), base);
      }
      set(cr, kInk);
      cairo_set_line_width(cr, 7);
      cairo_stroke_preserve(cr);
      set(cr, ramp(kOrange, 8));
      cairo_set_line_width(cr, 4);
      cairo_stroke(cr);
    }
  });
}

void draw_bhhand(Art& a) {  // wings: left down, middle, raised; then the right
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    int side = i < 3 ? -1 : 1, pos = i % 3;
    cairo_save(cr);
    // the left wing hangs from its box's right edge and points left; the
    // right one is its mirror image
    if (side > 0) {
      cairo_translate(cr, 46, 0);
      cairo_scale(cr, -1, 1);
    }
    cairo_translate(cr, 40, 23);
    cairo_rotate(cr, rad(-35 + pos * 42));
    cairo_scale(cr, 0.78, 0.78);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, -8);
    cairo_curve_to(cr, -14, -12, -30, -6, -36, 2);
    cairo_curve_to(cr, -30, 2, -32, 8, -25, 9);
    cairo_curve_to(cr, -28, 12, -20, 15, -14, 12);
    cairo_curve_to(cr, -8, 14, -3, 11, 0, 8);
    cairo_close_path(cr);
    fill_lit(cr, kYellow, -36, -12, 36, 26, 6, 11);
    ink(cr, 1.8);
    cairo_restore(cr);
  });
}

// ---------------------------------------------------------------- editor tools

void draw_eggbtn(Art& a) {
  // tool button i (tools 1..16): eggs and the block 0..8, bosses 9..12,
  // 13 and 14 locked slots, 15 the eraser; patterns 16..31 the selected look
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    int tool = i % 16;
    bool sel = i >= 16;
    cairo_new_path(cr);
    round_rect_path(cr, 0.5, 0.5, 15, 15, 3);
    set(cr, sel ? ramp(kYellow, 9) : ramp(kSky, 5));
    cairo_fill_preserve(cr);
    set(cr, sel ? ramp(kRed, 5) : kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_save(cr);
    if (tool <= 8 || tool == 15) {
      cairo_translate(cr, 2.6, 1.5);
      cairo_scale(cr, 0.42, 0.4);
      draw_egg_cell(cr, tool == 15 ? 20 : tool);
    } else if (tool <= 12) {
      const double sc[4] = {0.17, 0.15, 0.135, 0.11};
      const double ox[4] = {3.5, 1.6, 2.6, 2.0}, oy[4] = {0.5, 1.8, 1.0, 3.8};
      cairo_translate(cr, ox[tool - 9], oy[tool - 9]);
      draw_boss_mini(cr, tool - 9, sc[tool - 9]);
    } else {  // a padlock, numbered by its slot
      cairo_new_path(cr);
      cairo_arc(cr, 8, 7, 3, M_PI, 2 * M_PI);
      set(cr, kInk);
      cairo_set_line_width(cr, 1.3);
      cairo_stroke(cr);
      cairo_new_path(cr);
      round_rect_path(cr, 4, 7, 8, 6, 1);
      set(cr, tool == 13 ? grey(12) : grey(15));
      cairo_fill_preserve(cr);
      ink(cr, 0.8);
      dot(cr, 8, 9.5 + (tool - 13), 0.9, kInk);
    }
    cairo_restore(cr);
  });
}

}  // namespace

void add_ending_drawers(DrawTable& t) {
  t["ZrBigEgg"] = draw_zrbigegg;
  t["TitleZub"] = draw_titlezub;
  t["Icon"] = draw_icon;
  t["Aboutpic"] = draw_aboutpic;
  t["EndBack"] = draw_endback;
  t["Futari"] = draw_futari;
  t["BHBody"] = draw_bhbody;
  t["BHEye"] = draw_bheye;
  t["BHFoot"] = draw_bhfoot;
  t["BHHand"] = draw_bhhand;
  t["EggBtn"] = draw_eggbtn;
  t["Inviso"] = [](Art&) {};  // never drawn: invisible actors carry it
}

}  // namespace zubroll::art
