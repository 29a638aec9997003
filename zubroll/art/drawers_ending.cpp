#include "drawers.h"

namespace zubroll::art {

void add_ending_drawers(DrawTable&) {}

}  // namespace zubroll::art
