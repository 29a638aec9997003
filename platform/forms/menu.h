// Menu model in the manner of a VCL main menu: items addressed by component
// name, with captions carrying an '&' accelerator, shortcut text and key,
// check marks, enabled and visible states, separators and submenus. The game
// reads and writes items as data; forms draws the model as the window's menu bar.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../keys.h"

namespace platform::forms {

struct Shortcut {
  Key key = Key::None;
  bool shift = false, ctrl = false, alt = false;
  bool empty() const { return key == Key::None; }
  std::string text() const;  // "F1", "Shift+F1", "Ctrl+B"
};

class MenuItem {
 public:
  std::string name;      // component name, e.g. "EasyItem"
  std::string caption;   // "&Easy"; "-" makes a separator
  Shortcut shortcut;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  std::function<void()> on_click;
  std::vector<std::unique_ptr<MenuItem>> items;  // submenu

  bool is_separator() const { return caption == "-"; }
  MenuItem& add(const std::string& name, const std::string& caption, Shortcut sc = {});
  MenuItem& add_separator();
  // Caption without the '&' marks ("&&" is a literal '&').
  std::string plain_caption() const;
  // The character after a single '&', lower case; 0 when none.
  char accelerator() const;
  // Byte index in plain_caption() of the accelerator character; -1 when none.
  int accelerator_index() const;
};

class Menu {
 public:
  MenuItem root;  // its items are the menu bar's entries

  MenuItem& add(const std::string& name, const std::string& caption) { return root.add(name, caption); }
  MenuItem* find(const std::string& name);  // any depth; nullptr when unknown
  // Clicks an item as the user would: false (and nothing happens) when it is
  // unknown, a submenu, a separator, disabled, or it or a parent is invisible
  // or disabled... except that hidden items with a shortcut still take their
  // shortcut key (see handle_shortcut).
  bool click(const std::string& name);
  // Whether click(name) would run the item.
  bool can_click(const std::string& name);
  // Runs the enabled item whose shortcut matches; true when one ran. Hidden
  // items keep their shortcuts (a VCL menu item's shortcut works while invisible);
  // a disabled item or a disabled menu above it blocks the shortcut.
  bool handle_shortcut(Key key, bool shift, bool ctrl, bool alt);
  // The item handle_shortcut would run: the first item in menu order with that
  // shortcut, when it and every menu above it are enabled; else nullptr.
  MenuItem* shortcut_item(Key key, bool shift, bool ctrl, bool alt);
};

}  // namespace platform::forms
