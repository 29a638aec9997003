#include "drawers.h"

namespace zubroll::art {

void add_actor_drawers(DrawTable&) {}

}  // namespace zubroll::art
