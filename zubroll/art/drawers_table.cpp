#include "drawers.h"

namespace zubroll::art {

DrawTable drawer_table() {
  DrawTable t;
  add_text_drawers(t);
  add_actor_drawers(t);
  add_panel_drawers(t);
  add_boss_drawers(t);
  add_effect_drawers(t);
  add_ending_drawers(t);
  add_monster_drawers(t);
  return t;
}

}  // namespace zubroll::art
