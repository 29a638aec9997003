#include "drawers.h"

namespace zubroll::art {

void add_panel_drawers(DrawTable&) {}

}  // namespace zubroll::art
