// The drawing functions of the pictures, grouped by subject in drawers_*.cpp.
#pragma once
#include <map>
#include <string>

#include "canvas.h"

namespace zubroll::art {

using DrawTable = std::map<std::string, void (*)(Art&)>;
DrawTable drawer_table();

void add_text_drawers(DrawTable& t);     // digits, letters, logo, headers, signs
void add_actor_drawers(DrawTable& t);    // eggs, the pig ball, the mole
void add_panel_drawers(DrawTable& t);    // backgrounds, panels, buttons, blinds
void add_boss_drawers(DrawTable& t);     // the four bosses and their parts
void add_effect_drawers(DrawTable& t);   // stars, sparks, flashes, coins, chicks, pointers
void add_ending_drawers(DrawTable& t);   // the ending's characters, about, title
void add_monster_drawers(DrawTable& t);  // Kaizyu, Ninjya, Ballet

// Characters shared between pictures (each draws in its own picture's box).
void draw_egg_cell(cairo_t* cr, int pattern);                 // 26 x 32 "Egg" pattern
void draw_pig(cairo_t* cr, double cx, double cy, double r, double angle);
void draw_mole(cairo_t* cr, int pattern, double scale);        // 64 x 64 "ZubZub" pattern
void draw_mole_back(cairo_t* cr);                              // 55 x 60
void draw_kaizyu(cairo_t* cr, int pattern);                    // 72 x 72 "Kaizyu" pattern
void draw_kaizyu_back(cairo_t* cr);                            // 55 x 60
void draw_chick(cairo_t* cr, double cx, double cy, double s, int frame, double line);
void draw_boss_mini(cairo_t* cr, int kind, double s);          // 0 GBos .. 3 EggKing

}  // namespace zubroll::art
