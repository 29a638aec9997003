#include "drawers.h"

namespace zubroll::art {

void add_effect_drawers(DrawTable&) {}

}  // namespace zubroll::art
