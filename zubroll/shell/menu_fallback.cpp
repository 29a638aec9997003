// Menu model used only while platform/forms has no implementation of its own
// (the build picks this file when platform/forms/menu.cpp is absent).
#include <cctype>

#include "platform/forms/menu.h"

namespace platform::forms {

std::string Shortcut::text() const {
  if (empty()) return std::string();
  std::string s;
  if (ctrl) s += "Ctrl+";
  if (shift) s += "Shift+";
  if (alt) s += "Alt+";
  return s + key_name(key);
}

MenuItem& MenuItem::add(const std::string& n, const std::string& c, Shortcut sc) {
  items.push_back(std::make_unique<MenuItem>());
  MenuItem& it = *items.back();
  it.name = n;
  it.caption = c;
  it.shortcut = sc;
  return it;
}

MenuItem& MenuItem::add_separator() { return add("", "-"); }

std::string MenuItem::plain_caption() const {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += caption[i];
  }
  return out;
}

char MenuItem::accelerator() const {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return char(std::tolower(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

namespace {
MenuItem* find_in(MenuItem& m, const std::string& name) {
  for (auto& it : m.items) {
    if (it->name == name) return it.get();
    if (MenuItem* f = find_in(*it, name)) return f;
  }
  return nullptr;
}
// The path of enabled and visible parents down to the item.
bool reachable(MenuItem& m, MenuItem* target, bool need_visible) {
  for (auto& it : m.items) {
    if (it.get() == target) return it->enabled && (!need_visible || it->visible);
    if (!it->enabled || (need_visible && !it->visible)) continue;
    if (reachable(*it, target, need_visible)) return true;
  }
  return false;
}
MenuItem* shortcut_in(MenuItem& m, Key key, bool shift, bool ctrl, bool alt) {
  for (auto& it : m.items) {
    if (it->shortcut.key == key && it->shortcut.shift == shift && it->shortcut.ctrl == ctrl &&
        it->shortcut.alt == alt && it->items.empty())
      return it.get();
    if (MenuItem* f = shortcut_in(*it, key, shift, ctrl, alt)) return f;
  }
  return nullptr;
}
}  // namespace

MenuItem* Menu::find(const std::string& name) { return find_in(root, name); }

bool Menu::click(const std::string& name) {
  MenuItem* it = find(name);
  if (!it || !it->items.empty() || it->is_separator() || !reachable(root, it, true)) return false;
  if (it->on_click) it->on_click();
  return true;
}

bool Menu::handle_shortcut(Key key, bool shift, bool ctrl, bool alt) {
  if (key == Key::None) return false;
  MenuItem* it = shortcut_in(root, key, shift, ctrl, alt);
  if (!it || !reachable(root, it, false)) return false;
  if (it->on_click) it->on_click();
  return true;
}

}  // namespace platform::forms
