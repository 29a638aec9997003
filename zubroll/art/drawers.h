// The drawing functions of the pictures, grouped by subject in drawers_*.cpp.
#pragma once
#include <map>
#include <string>

#include "canvas.h"

namespace zubroll::art {

inline Ramp kSlateLike() { return kBlue; }

using DrawTable = std::map<std::string, void (*)(Art&)>;
DrawTable drawer_table();

void add_text_drawers(DrawTable& t);     // digits, letters, logo, headers, signs
void add_actor_drawers(DrawTable& t);    // eggs, pig, mole, chicks, monsters
void add_panel_drawers(DrawTable& t);    // backgrounds, panels, buttons, blinds
void add_boss_drawers(DrawTable& t);     // the four bosses and their parts
void add_effect_drawers(DrawTable& t);   // stars, sparks, flashes, points, coins
void add_ending_drawers(DrawTable& t);   // the ending's characters, about, title

}  // namespace zubroll::art
