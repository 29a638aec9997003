#include "drawers.h"

namespace zubroll::art {

void add_boss_drawers(DrawTable&) {}

}  // namespace zubroll::art
