#include "menu.h"

#include <cctype>

namespace platform::forms {

namespace {

// Key names as a Windows menu shows them beside an item.
const char* shortcut_key_name(Key k) {
  switch (k) {
    case Key::Escape: return "Esc";
    case Key::Return: return "Enter";
    case Key::Space: return "Space";
    case Key::Tab: return "Tab";
    case Key::Backspace: return "BkSp";
    case Key::Insert: return "Ins";
    case Key::Delete: return "Del";
    case Key::Home: return "Home";
    case Key::End: return "End";
    case Key::PageUp: return "PgUp";
    case Key::PageDown: return "PgDn";
    case Key::Left: return "Left";
    case Key::Right: return "Right";
    case Key::Up: return "Up";
    case Key::Down: return "Down";
    case Key::Pause: return "Pause";
    case Key::Minus: return "-";
    case Key::Equals: return "=";
    case Key::Comma: return ",";
    case Key::Period: return ".";
    case Key::Slash: return "/";
    case Key::Semicolon: return ";";
    case Key::Apostrophe: return "'";
    case Key::Grave: return "`";
    case Key::Backslash: return "\\";
    case Key::LeftBracket: return "[";
    case Key::RightBracket: return "]";
    case Key::KPPlus: return "Num +";
    case Key::KPMinus: return "Num -";
    case Key::KPMultiply: return "Num *";
    case Key::KPDivide: return "Num /";
    case Key::KPEnter: return "Num Enter";
    case Key::KPPeriod: return "Num Del";
    default: break;
  }
  if (k >= Key::Num0 && k <= Key::Num9) {
    static const char* digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    return digits[static_cast<int>(k) - static_cast<int>(Key::Num0)];
  }
  if (k >= Key::KP0 && k <= Key::KP9) {
    static const char* pads[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                 "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
    return pads[static_cast<int>(k) - static_cast<int>(Key::KP0)];
  }
  return key_name(k);
}

MenuItem* find_in(MenuItem& parent, const std::string& name) {
  for (auto& child : parent.items) {
    if (child->name == name) return child.get();
    if (MenuItem* hit = find_in(*child, name)) return hit;
  }
  return nullptr;
}

// Finds `name` below `parent`; `usable` tells whether the item and every menu
// above it are enabled (and, when `need_visible`, visible).
MenuItem* find_usable(MenuItem& parent, const std::string& name, bool need_visible, bool& usable) {
  for (auto& child : parent.items) {
    bool ok = child->enabled && (!need_visible || child->visible);
    if (child->name == name) {
      usable = ok;
      return child.get();
    }
    bool below = false;
    if (MenuItem* hit = find_usable(*child, name, need_visible, below)) {
      usable = ok && below;
      return hit;
    }
  }
  return nullptr;
}

bool shortcut_matches(const Shortcut& sc, Key key, bool shift, bool ctrl, bool alt) {
  return !sc.empty() && sc.key == key && sc.shift == shift && sc.ctrl == ctrl && sc.alt == alt;
}

// First item in menu order whose shortcut matches, with whether it and all its
// parents are enabled (visibility does not matter for shortcuts).
MenuItem* find_shortcut(MenuItem& parent, Key key, bool shift, bool ctrl, bool alt, bool& usable) {
  for (auto& child : parent.items) {
    if (!child->is_separator() && child->items.empty() &&
        shortcut_matches(child->shortcut, key, shift, ctrl, alt)) {
      usable = child->enabled;
      return child.get();
    }
    bool below = false;
    if (MenuItem* hit = find_shortcut(*child, key, shift, ctrl, alt, below)) {
      usable = child->enabled && below;
      return hit;
    }
  }
  return nullptr;
}

}  // namespace

std::string Shortcut::text() const {
  if (empty()) return {};
  std::string s;
  if (shift) s += "Shift+";
  if (ctrl) s += "Ctrl+";
  if (alt) s += "Alt+";
  s += shortcut_key_name(key);
  return s;
}

MenuItem& MenuItem::add(const std::string& item_name, const std::string& item_caption, Shortcut sc) {
  auto item = std::make_unique<MenuItem>();
  item->name = item_name;
  item->caption = item_caption;
  item->shortcut = sc;
  items.push_back(std::move(item));
  return *items.back();
}

MenuItem& MenuItem::add_separator() { return add(std::string(), "-"); }

std::string MenuItem::plain_caption() const {
  std::string out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;  // a single '&' only marks the next character
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
    unsigned char c = static_cast<unsigned char>(caption[i + 1]);
    if (c >= 0x80) return 0;  // not a single-byte character
    return static_cast<char>(std::tolower(c));
  }
  return 0;
}

int MenuItem::accelerator_index() const {
  int pos = 0;  // position in plain_caption()
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        ++i;
        ++pos;
        continue;
      }
      if (i + 1 < caption.size()) return pos;
      return -1;
    }
    ++pos;
  }
  return -1;
}

MenuItem* Menu::find(const std::string& name) {
  if (name.empty()) return nullptr;
  return find_in(root, name);
}

bool Menu::can_click(const std::string& name) {
  if (name.empty()) return false;
  bool usable = false;
  MenuItem* item = find_usable(root, name, true, usable);
  return item && usable && !item->is_separator() && item->items.empty();
}

bool Menu::click(const std::string& name) {
  if (!can_click(name)) return false;
  MenuItem* item = find(name);
  if (item->on_click) item->on_click();
  return true;
}

MenuItem* Menu::shortcut_item(Key key, bool shift, bool ctrl, bool alt) {
  if (key == Key::None) return nullptr;
  bool usable = false;
  MenuItem* item = find_shortcut(root, key, shift, ctrl, alt, usable);
  return item && usable ? item : nullptr;
}

bool Menu::handle_shortcut(Key key, bool shift, bool ctrl, bool alt) {
  MenuItem* item = shortcut_item(key, shift, ctrl, alt);
  if (!item) return false;
  if (item->on_click) item->on_click();
  return true;
}

}  // namespace platform::forms
