// The window's menu bar: draws a Menu with Dear ImGui above the frame (through
// the display overlay), queues the user's clicks and runs them when the game
// calls dispatch(), outside any drawing. Headless there is no bar; the script's
// "menu NAME" commands and the menu's shortcuts still reach the items through
// handle_event().
//
// The game's frame loop:
//   MenuBar::attach(menu);                  // once, after building the menu
//   ... each frame:
//   while (platform::poll_event(ev)) {
//     if (MenuBar::handle_event(ev)) continue;   // menu command or shortcut ran
//     ... the game's own handling ...
//   }
//   MenuBar::dispatch();                    // clicks made on the bar
#pragma once
#include <string>

#include "../events.h"
#include "menu.h"

namespace platform::forms {

class MenuBar {
 public:
  // Shows `menu` as the window's menu bar (the display reserves its height
  // above the frame in a window). The menu must outlive the attachment.
  static void attach(Menu& menu);
  static void detach();
  static Menu* menu();

  // EventType::MenuCommand clicks the named item (as Menu::click: disabled,
  // hidden and unknown items do nothing; a note goes to stderr). KeyDown runs
  // the menu's shortcut for that key, when routing is on (the default) and
  // the key is not a repeat. True when the event was used.
  static bool handle_event(const Event& ev);
  static void set_route_shortcuts(bool on);

  // Runs the items clicked on the bar since the last call, each through
  // Menu::click (so an item disabled meanwhile does nothing). Returns how many ran.
  // While one of the bar's menus is open it first runs the menu's own loop
  // over the last presented frame until the menu closes, so the game's frame
  // loop stands still while the user is in a menu, as under Windows (turn
  // this off with set_modal_menus(false) to keep the game running).
  static int dispatch();
  static void set_modal_menus(bool on);

  // Height of the bar in pixels (0 when no menu is attached).
  static int height();
  // Whether one of the bar's menus is open now.
  static bool menu_open();
};

}  // namespace platform::forms
