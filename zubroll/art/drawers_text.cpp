// Lettering: digits, the GAME OVER and EXTRA letters, the title logo, headers.
#include <algorithm>
#include <cmath>

#include "drawers.h"

namespace zubroll::art {

namespace {

double rad_of(double d) { return d * M_PI / 180; }

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

// Lettering with a vertical gradient between two colours.
void grad_text(cairo_t* cr, const std::string& s, double cx, double cy, double size, Col top,
               Col bottom, double line, bool bold = true) {
  cairo_new_path(cr);
  text_path_centered(cr, s, cx, cy, size, bold);
  set(cr, kInk);
  cairo_set_line_width(cr, line * 2);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, cy - size * 0.45, 0, cy + size * 0.45);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void draw_score(Art& a) {  // score digits 0..9, gold
  a.cells([&](int i) {
    grad_text(a.cr, std::to_string(i), 8, 12.5, 20, ramp(kYellow, 11), ramp(kAmber, 5), 1.5);
  });
}

// Pop-up digits: rows of colours.
const Ramp kRows[4] = {kYellow, kRose, kSky, kLime};

void draw_point(Art& a) {
  a.cells([&](int i) {
    Ramp r = kRows[i / 10];
    grad_text(a.cr, std::to_string(i % 10), 8, 8.5, 13.5, ramp(r, 11), ramp(r, 6), 1.3);
  });
}

void draw_multi(Art& a) {  // digits 0..9 and the times sign, four colour rows
  a.cells([&](int i) {
    Ramp r = kRows[i / 11];
    int sym = i % 11;
    if (sym < 10)
      grad_text(a.cr, std::to_string(sym), 8, 8.5, 12.5, ramp(r, 11), ramp(r, 6), 1.2);
    else {
      cairo_t* cr = a.cr;
      cairo_new_path(cr);
      cairo_move_to(cr, 4, 4.5), cairo_line_to(cr, 12, 12.5);
      cairo_move_to(cr, 12, 4.5), cairo_line_to(cr, 4, 12.5);
      set(cr, kInk);
      cairo_set_line_width(cr, 5);
      cairo_stroke_preserve(cr);
      set(cr, ramp(r, 9));
      cairo_set_line_width(cr, 2.4);
      cairo_stroke(cr);
    }
  });
}

void draw_extra(Art& a) {  // the EXTRA letters, lit; narrowed to fit their 14-pixel cells
  const char* letters = "EXTRA";
  const Ramp cols[5] = {kRed, kOrange, kYellow, kGreen, kSky};
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    std::string l(1, letters[i]);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 19);
    cairo_text_extents_t e;
    cairo_text_extents(cr, l.c_str(), &e);
    double k = std::min(1.0, 10.5 / e.width);
    cairo_save(cr);
    cairo_translate(cr, 7, 0);
    cairo_scale(cr, k, 1);
    grad_text(cr, l, 0, 12.5, 19, ramp(cols[i], 11), ramp(cols[i], 5), 1.4);
    cairo_restore(cr);
  });
}

void coin_icon(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_path(cr);
  ellipse_path(cr, cx, cy, r, r);
  fill_lit(cr, kAmber, cx - r, cy - r, 2 * r, 2 * r, 5, 11);
  ink(cr, 1);
}

void draw_items(Art& a) {
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    // every icon sits on a round token
    cairo_new_path(cr);
    ellipse_path(cr, 12, 12, 11, 11);
    const Ramp tok[9] = {kAmber, kYellow, kOrange, kAmber, kViolet, kBrown, kRose, kCream, kSky};
    fill_lit(cr, tok[i], 1, 1, 22, 22, 3, 9);
    ink(cr, 1.2);
    switch (i) {
      case 0: grad_text(cr, "10K", 12, 12, 9.5, kWhite, ramp(kYellow, 8), 1); break;
      case 1: grad_text(cr, "1K", 12, 12, 11, kWhite, ramp(kYellow, 8), 1); break;
      case 2: grad_text(cr, "5K", 12, 12, 11, kWhite, ramp(kOrange, 9), 1); break;
      case 3:  // coin rain
        coin_icon(cr, 8, 8, 4), coin_icon(cr, 16, 10, 4), coin_icon(cr, 11, 16, 4);
        break;
      case 4: {  // hyper ball: a flaming violet pig
        cairo_new_path(cr);
        star_path(cr, 12, 12, 9.5, 6.5, 8, 10);
        set(cr, ramp(kOrange, 8));
        cairo_fill_preserve(cr);
        ink(cr, 0.8);
        ball(cr, kViolet, 12, 12, 6, 6, 1, 4, 10);
        break;
      }
      case 5: grad_text(cr, "BIG", 12, 12, 9, kWhite, ramp(kBrown, 9), 1); break;
      case 6: grad_text(cr, "EX", 12, 12, 10.5, kWhite, ramp(kRose, 9), 1); break;
      case 7: {  // signboard
        cairo_new_path(cr);
        cairo_rectangle(cr, 11, 12, 2, 8);
        set(cr, ramp(kBrown, 5));
        cairo_fill(cr);
        cairo_new_path(cr);
        round_rect_path(cr, 5, 5, 14, 9, 1.5);
        set(cr, ramp(kCream, 11));
        cairo_fill_preserve(cr);
        ink(cr, 1);
        break;
      }
      case 8: {  // slow ball: a clock face
        cairo_new_path(cr);
        ellipse_path(cr, 12, 12, 7, 7);
        set(cr, kWhite);
        cairo_fill_preserve(cr);
        ink(cr, 1);
        cairo_move_to(cr, 12, 12), cairo_line_to(cr, 12, 7.5);
        cairo_move_to(cr, 12, 12), cairo_line_to(cr, 15, 13.5);
        set(cr, kInk);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        break;
      }
    }
  });
}

// The title logo: fat bouncy letters on one baseline, each tilted a little,
// in a rainbow from pink to violet.
void draw_zrtitle(Art& a) {
  cairo_t* cr = a.cr;
  const char* word = "Zubroll";
  const double tilt[7] = {-7, 5, -4, 6, -5, 4, -6};
  const double lift[7] = {0, 5, -3, 4, -1, -4, 2};
  const Ramp cols[7] = {kRose, kOrange, kAmber, kYellow, kLime, kSky, kViolet};
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  double size[7], w[7], cxs[7], total = 0;
  for (int k = 0; k < 7; ++k) {
    size[k] = k == 0 ? 92 : 74;
    cairo_set_font_size(cr, size[k]);
    cairo_text_extents_t e;
    char ch[2] = {word[k], 0};
    cairo_text_extents(cr, ch, &e);
    w[k] = e.width;
    total += w[k] + (k ? 5 : 0);
  }
  double x = (328 - total) / 2;
  for (int k = 0; k < 7; ++k) cxs[k] = x + w[k] / 2, x += w[k] + 5;
  const double baseline = 92;
  auto path = [&](int k) {
    cairo_set_font_size(cr, size[k]);
    char ch[2] = {word[k], 0};
    cairo_text_extents_t e;
    cairo_text_extents(cr, ch, &e);
    cairo_new_path(cr);
    cairo_move_to(cr, -e.x_bearing - e.width / 2, 0);
    cairo_text_path(cr, ch);
  };
  for (int pass = 0; pass < 2; ++pass)
    for (int k = 0; k < 7; ++k) {
      cairo_save(cr);
      cairo_translate(cr, cxs[k] + (pass ? 0 : 3), baseline - lift[k] + (pass ? 0 : 4));
      cairo_rotate(cr, rad_of(tilt[k]));
      path(k);
      if (pass == 0) {  // drop shadow
        set(cr, kInk);
        cairo_set_line_width(cr, 8);
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
        cairo_restore(cr);
        continue;
      }
      set(cr, kInk);
      cairo_set_line_width(cr, 7);
      cairo_stroke_preserve(cr);
      set(cr, kWhite);
      cairo_set_line_width(cr, 3);
      cairo_stroke_preserve(cr);
      double top = -size[k] * 0.72;
      cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, 0);
      Col c0 = ramp(cols[k], 10), c1 = ramp(cols[k], 7), c2 = ramp(cols[k], 4);
      cairo_pattern_add_color_stop_rgb(p, 0, c0.r, c0.g, c0.b);
      cairo_pattern_add_color_stop_rgb(p, 0.55, c1.r, c1.g, c1.b);
      cairo_pattern_add_color_stop_rgb(p, 1, c2.r, c2.g, c2.b);
      cairo_set_source(cr, p);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(p);
      // glossy band across the upper part, kept inside the letter
      cairo_clip(cr);
      cairo_new_path(cr);
      double gy = k == 0 || k >= 5 ? top * 0.78 : top * 0.55;
      ellipse_path(cr, -w[k] * 0.1, gy, w[k] * 0.45, size[k] * 0.06);
      set(cr, with_alpha(kWhite, 0.8));
      cairo_fill(cr);
      cairo_restore(cr);
    }
}

// High score table headers: a ribbon with the difficulty's name.
void draw_header(Art& a) {
  const char* names[3] = {"EASY", "NORMAL", "HARD"};
  const Ramp cols[3] = {kGreen, kAmber, kRed};
  a.cells([&](int i) {
    cairo_t* cr = a.cr;
    cairo_new_path(cr);
    cairo_move_to(cr, 2, 6), cairo_line_to(cr, 26, 6), cairo_line_to(cr, 26, 29);
    cairo_line_to(cr, 2, 29), cairo_line_to(cr, 10, 17.5);
    cairo_close_path(cr);
    cairo_move_to(cr, 294, 6), cairo_line_to(cr, 270, 6), cairo_line_to(cr, 270, 29);
    cairo_line_to(cr, 294, 29), cairo_line_to(cr, 286, 17.5);
    cairo_close_path(cr);
    set(cr, ramp(cols[i], 3));
    cairo_fill_preserve(cr);
    ink(cr, 1.4);
    cairo_new_path(cr);
    round_rect_path(cr, 18, 2, 260, 26, 4);
    fill_lit(cr, cols[i], 18, 2, 260, 26, 4, 9);
    ink(cr, 1.6);
    grad_text(cr, std::string(names[i]) + "  BEST 10", 148, 15.5, 17, kWhite, ramp(cols[i], 10),
              1.4);
  });
}

void draw_gpause(Art& a) {
  cairo_t* cr = a.cr;
  cairo_new_path(cr);
  round_rect_path(cr, 2, 2, 275, 33, 10);
  set(cr, with_alpha(ramp(kIndigo, 2), 1));
  cairo_fill_preserve(cr);
  ink(cr, 2);
  grad_text(cr, "PAUSE", 139.5, 18.5, 26, ramp(kYellow, 11), ramp(kOrange, 6), 1.6);
}

void balloon(cairo_t* cr, double x, double y, double w, double h, double tail_x, bool tail_down,
             const std::string& text, double size) {
  cairo_new_path(cr);
  round_rect_path(cr, x, y, w, h, std::min(h / 2, 14.0));
  double ty = tail_down ? y + h : y;
  double tip = tail_down ? ty + 9 : ty - 9;
  cairo_move_to(cr, tail_x - 6, ty);
  cairo_line_to(cr, tail_x - 9, tip);
  cairo_line_to(cr, tail_x + 6, ty);
  cairo_close_path(cr);
  set(cr, kWhite);
  cairo_fill_preserve(cr);
  ink(cr, 1.6);
  cairo_new_path(cr);
  round_rect_path(cr, x + 2, y + 2, w - 4, h - 4, std::min(h / 2, 12.0));
  set(cr, kWhite);
  cairo_fill(cr);
  cairo_new_path(cr);
  text_path_centered(cr, text, x + w / 2, y + h / 2, size);
  set(cr, ramp(kRed, 4));
  cairo_fill(cr);
}

void draw_baloon(Art& a) {  // the giant chick's thanks, one per difficulty
  const char* lines[3] = {"Thank you!", "Well done!", "You're great!"};
  a.cells([&](int i) { balloon(a.cr, 2, 2, 96, 46, 20, true, lines[i], i == 2 ? 11.5 : 13); });
}

void draw_titlezubbaloon(Art& a) {
  balloon(a.cr, 14, 2, 132, 36, 24, true, "Let's play!", 15);
}

}  // namespace

void add_text_drawers(DrawTable& t) {
  t["Gameover"] = draw_gameover;
  t["Score"] = draw_score;
  t["Point"] = draw_point;
  t["Multi"] = draw_multi;
  t["Extra"] = draw_extra;
  t["Items"] = draw_items;
  t["ZrTitle"] = draw_zrtitle;
  t["Header"] = draw_header;
  t["GPause"] = draw_gpause;
  t["Baloon"] = draw_baloon;
  t["TitleZubBaloon"] = draw_titlezubbaloon;
}

}  // namespace zubroll::art
