// Picture registry: every catalogue item's drawing function.
#include "pictures.h"

#include <map>
#include <string>

#include "drawers.h"

namespace zubroll::art {

namespace {

const DrawTable& table() {
  static const DrawTable t = drawer_table();
  return t;
}

}  // namespace

bool draw_picture(Art& a) {
  auto it = table().find(a.item_spec.name);
  if (it == table().end()) return false;
  it->second(a);
  return true;
}

bool has_drawer(const char* name) { return table().count(name) != 0; }

}  // namespace zubroll::art
