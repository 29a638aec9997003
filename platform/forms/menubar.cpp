// The menu bar drawn with Dear ImGui. ImGui's own labels are drawn transparent
// and each entry is painted here, so captions show their '&' accelerator
// underlined, with check marks, shortcut texts and disabled items in the
// Windows manner.
#include "menubar.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "../host.h"
#include "gui.h"

namespace platform::forms {

namespace {

struct BarState {
  Menu* menu = nullptr;
  bool route_shortcuts = true;
  bool modal_menus = true;
  std::vector<std::string> queue;  // clicked item names, run by dispatch()
  bool open = false;               // a menu was open in the last frame
  std::string open_request;        // top entry to open (Alt+letter)
  char key_request = 0;            // accelerator typed while a menu is open
  bool close_request = false;
  const MenuItem* deepest = nullptr;  // the innermost open menu drawn so far
  const MenuItem* key_target = nullptr;  // the innermost open menu of the last frame
  std::vector<int> nav_keys;             // arrows and Enter for the innermost open menu, one a frame
  int nav_key = 0;                       // the one taken this frame
  const MenuItem* hot_menu = nullptr;    // the menu holding the keyboard's highlight
  int hot = -1;                          // its highlighted row (visible items, no separators)
  const MenuItem* open_child = nullptr;  // submenu to open by keyboard in the next frame
  const MenuItem* switch_to = nullptr;   // top menu to switch to (Left/Right)
};

BarState& bar() {
  static BarState s;
  return s;
}

constexpr uint32_t kText = IM_COL32(0, 0, 0, 255);
constexpr uint32_t kHighText = IM_COL32(255, 255, 255, 255);
constexpr uint32_t kGrey = IM_COL32(128, 128, 128, 255);
constexpr uint32_t kEmboss = IM_COL32(255, 255, 255, 255);

void draw_label(ImFont* font, float x, float y, const MenuItem& item, bool enabled, bool highlighted) {
  const std::string plain = item.plain_caption();
  const int ul = item.accelerator_index();
  if (!enabled) {
    if (!highlighted) detail::draw_text(font, x + 1, y + 1, kEmboss, plain, ul);
    detail::draw_text(font, x, y, kGrey, plain, ul);
    return;
  }
  detail::draw_text(font, x, y, highlighted ? kHighText : kText, plain, ul);
}

void draw_items(MenuItem& parent, MenuItem* top);

// A command row or submenu row of a drop-down menu, `width` wide. `hot` is
// the keyboard's highlight. Returns whether the pointer is over the row.
bool draw_row(MenuItem& item, MenuItem* top, float width, float label_x, float shortcut_right, bool hot) {
  BarState& st = bar();
  ImFont* font = ImGui::GetFont();
  const std::string plain = item.plain_caption();
  const bool enabled = item.enabled;
  bool hovered = false, open = false;
  ImVec2 a, b;
  ImGui::PushID(&item);
  if (item.items.empty()) {
    ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(0, 0, 0, 0));
    const bool pressed =
        ImGui::Selectable("##row", false,
                          static_cast<int>(ImGuiSelectableFlags_SpanAvailWidth) |
                              (enabled ? 0 : static_cast<int>(ImGuiSelectableFlags_Disabled)),
                          ImVec2(width, 0));
    ImGui::PopStyleColor();
    a = ImGui::GetItemRectMin();
    b = ImGui::GetItemRectMax();
    hovered = ImGui::IsItemHovered();
    if (pressed && enabled) st.queue.push_back(item.name);
  } else {
    const std::string label = plain + "##sub";
    if (st.open_child == &item && enabled) ImGui::OpenPopup(label.c_str());
    ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(0, 0, 0, 0));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(2, 3));
    open = ImGui::BeginMenu(label.c_str(), enabled);
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
    if (open) {
      draw_items(item, top);
      ImGui::EndMenu();
    }
    a = ImGui::GetItemRectMin();
    b = ImGui::GetItemRectMax();
    hovered = ImGui::IsItemHovered();
  }
  ImGui::PopID();
  ImDrawList* dl = ImGui::GetWindowDrawList();
  // ImGui paints the pointer's row; the keyboard's (or an open submenu's) is painted here.
  const bool highlighted = (enabled && hovered) || open || hot;
  if ((hot || open) && !(enabled && hovered))
    dl->AddRectFilled(a, b, ImGui::GetColorU32(ImGuiCol_HeaderHovered));
  const float ty = std::floor(a.y + (b.y - a.y - font->FontSize) * 0.5f);
  const float x0 = a.x;
  const uint32_t ink = enabled ? (highlighted ? kHighText : kText) : kGrey;
  if (item.checked) {
    const float sz = 8;
    ImGui::RenderCheckMark(dl, ImVec2(x0 + 6, ty + (font->FontSize - sz) * 0.5f), ink, sz);
  }
  draw_label(font, x0 + label_x, ty, item, enabled, highlighted);
  if (!item.shortcut.empty()) {
    const std::string sc = item.shortcut.text();
    const float w = ImGui::CalcTextSize(sc.c_str()).x;
    const float sx = x0 + shortcut_right - w;
    if (!enabled && !highlighted) detail::draw_text(font, sx + 1, ty + 1, kEmboss, sc);
    detail::draw_text(font, sx, ty, ink, sc);
  }
  if (!item.items.empty()) {
    const float cy = std::floor((a.y + b.y) * 0.5f);
    const float ax = b.x - 10;
    dl->AddTriangleFilled(ImVec2(ax, cy - 4), ImVec2(ax, cy + 4), ImVec2(ax + 4, cy), ink);
  }
  return hovered;
}

// The top entry next to `top` (dir -1 or +1) that can open, wrapping round.
MenuItem* neighbour_top(const MenuItem* top, int dir) {
  Menu* m = bar().menu;
  if (!m || !top) return nullptr;
  std::vector<MenuItem*> tops;
  for (auto& t : m->root.items)
    if (t->visible && t->enabled && !t->is_separator() && !t->items.empty()) tops.push_back(t.get());
  for (size_t i = 0; i < tops.size(); ++i)
    if (tops[i] == top) return tops[(i + tops.size() + dir) % tops.size()];
  return nullptr;
}

// The menu holding `item`, searched from `from`.
MenuItem* parent_menu(MenuItem* from, const MenuItem* item) {
  if (!from) return nullptr;
  for (auto& c : from->items) {
    if (c.get() == item) return from;
    if (MenuItem* p = parent_menu(c.get(), item)) return p;
  }
  return nullptr;
}

// Keys for the innermost open menu: arrows move the highlight, open and close
// submenus and go to the neighbouring menus; Enter runs the item; a letter
// runs the item it underlines (or opens its submenu).
void menu_keys(MenuItem& parent, MenuItem* top, const std::vector<MenuItem*>& rows) {
  BarState& st = bar();
  const int n = static_cast<int>(rows.size());
  int hot = st.hot_menu == &parent ? st.hot : -1;
  auto activate = [&](MenuItem* item) {
    if (!item->enabled) return;
    if (item->items.empty()) {
      st.queue.push_back(item->name);
      st.close_request = true;
    } else {
      st.open_child = item;
      st.hot_menu = item;
      st.hot = 0;
    }
  };
  if (st.key_request) {
    for (MenuItem* r : rows)
      if (r->enabled && r->accelerator() == st.key_request) {
        activate(r);
        break;
      }
    st.key_request = 0;
  }
  switch (st.nav_key) {
    case SDLK_DOWN:
      if (n) hot = hot < 0 ? 0 : (hot + 1) % n;
      break;
    case SDLK_UP:
      if (n) hot = hot < 0 ? n - 1 : (hot + n - 1) % n;
      break;
    case SDLK_RETURN: case SDLK_KP_ENTER:
      if (hot >= 0 && hot < n) activate(rows[static_cast<size_t>(hot)]);
      break;
    case SDLK_RIGHT:
      if (hot >= 0 && hot < n && !rows[static_cast<size_t>(hot)]->items.empty() && rows[static_cast<size_t>(hot)]->enabled) {
        activate(rows[static_cast<size_t>(hot)]);
      } else if (MenuItem* next = neighbour_top(top, +1)) {
        st.switch_to = next;
      }
      break;
    case SDLK_LEFT:
      if (&parent != top) {
        ImGui::ClosePopupToLevel(GImGui->BeginPopupStack.Size - 1, true);  // back to the menu above
        st.hot_menu = nullptr;
        if (MenuItem* outer = parent_menu(top, &parent)) {  // keeping its highlight on this submenu
          int i = 0;
          for (auto& c : outer->items) {
            if (!c->visible || c->is_separator()) continue;
            if (c.get() == &parent) {
              st.hot_menu = outer;
              st.hot = i;
            }
            ++i;
          }
        }
        hot = -1;
      } else if (MenuItem* prev = neighbour_top(top, -1)) {
        st.switch_to = prev;
      }
      break;
    default:
      break;
  }
  st.nav_key = 0;
  // The highlight stays here unless a submenu took it (Right, Enter) or it
  // went back to the menu above (Left, which left `hot` at -1).
  if (st.open_child == nullptr && hot >= 0) {
    st.hot_menu = &parent;
    st.hot = hot;
  }
}

void draw_items(MenuItem& parent, MenuItem* top) {
  BarState& st = bar();
  st.deepest = &parent;
  std::vector<MenuItem*> rows;
  for (auto& child : parent.items)
    if (child->visible && !child->is_separator()) rows.push_back(child.get());
  if ((st.key_request || st.nav_key) && st.key_target == &parent) menu_keys(parent, top, rows);
  float label_w = 0, shortcut_w = 0;
  bool any_sub = false;
  for (MenuItem* child : rows) {
    label_w = std::max(label_w, ImGui::CalcTextSize(child->plain_caption().c_str()).x);
    if (!child->shortcut.empty())
      shortcut_w = std::max(shortcut_w, ImGui::CalcTextSize(child->shortcut.text().c_str()).x);
    if (!child->items.empty()) any_sub = true;
  }
  const float label_x = 20;
  const float gap = shortcut_w > 0 ? 24 : 0;
  const float right = any_sub ? 20 : 14;
  const float width = std::floor(label_x + label_w + gap + shortcut_w + right);
  const float shortcut_right = label_x + label_w + gap + shortcut_w;
  ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(0, 6));
  // Separators show only between visible items: none at the top or bottom
  // and never two in a row (items around them may be hidden).
  size_t last_item = 0;
  for (size_t i = 0; i < parent.items.size(); ++i)
    if (parent.items[i]->visible && !parent.items[i]->is_separator()) last_item = i;
  bool last_was_separator = true;
  int row = 0;
  for (size_t i = 0; i < parent.items.size(); ++i) {
    MenuItem* child = parent.items[i].get();
    if (!child->visible) continue;
    if (child->is_separator()) {
      if (last_was_separator || i > last_item) continue;
      last_was_separator = true;
      ImDrawList* dl = ImGui::GetWindowDrawList();
      const ImVec2 p = ImGui::GetCursorScreenPos();
      ImGui::Dummy(ImVec2(width, 3));
      const float y = std::floor(p.y + 1);
      dl->AddRectFilled(ImVec2(p.x + 1, y), ImVec2(p.x + width - 1, y + 1), kGrey);
      dl->AddRectFilled(ImVec2(p.x + 1, y + 1), ImVec2(p.x + width - 1, y + 2), kEmboss);
      continue;
    }
    last_was_separator = false;
    const bool hot = st.hot_menu == &parent && st.hot == row;
    if (draw_row(*child, top, width, label_x, shortcut_right, hot) && ImGui::GetIO().MouseDelta.x + ImGui::GetIO().MouseDelta.y != 0) {
      st.hot_menu = &parent;  // the pointer takes the highlight when it moves
      st.hot = row;
    }
    ++row;
  }
  ImGui::PopStyleVar();
  // The drop-down's raised frame, over ImGui's plain border.
  const ImVec2 wp = ImGui::GetWindowPos(), ws = ImGui::GetWindowSize();
  ImGui::PushClipRect(wp, ImVec2(wp.x + ws.x, wp.y + ws.y), false);
  detail::draw_raised(wp.x, wp.y, wp.x + ws.x, wp.y + ws.y);
  ImGui::PopClipRect();
}

void draw_top(MenuItem& item, bool blocked) {
  BarState& st = bar();
  ImFont* font = ImGui::GetFont();
  const std::string plain = item.plain_caption();
  const bool enabled = item.enabled && !blocked;
  ImGui::PushID(&item);
  const std::string label = plain + "##top";
  if (!blocked && st.open_request == item.name && !item.items.empty()) {
    ImGui::OpenPopup(label.c_str());
    st.open_request.clear();
    st.hot_menu = &item;  // opened from the keyboard: the first item is highlighted
    st.hot = 0;
  }
  bool highlighted = false;
  ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(0, 0, 0, 0));
  if (item.items.empty()) {
    const bool pressed = ImGui::MenuItem(label.c_str(), nullptr, false, enabled);
    ImGui::PopStyleColor();
    highlighted = enabled && ImGui::IsItemHovered();
    if (pressed && enabled) st.queue.push_back(item.name);
  } else {
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(2, 3));
    const bool open = ImGui::BeginMenu(label.c_str(), enabled);
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();
    if (open) {
      draw_items(item, &item);
      ImGui::EndMenu();
    }
    highlighted = enabled && (open || ImGui::IsItemHovered());
  }
  const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
  const float w = ImGui::CalcTextSize(plain.c_str()).x;
  const float x = std::floor((a.x + b.x - w) * 0.5f);
  const float y = std::floor(a.y + (b.y - a.y - font->FontSize) * 0.5f);
  draw_label(font, x, y, item, enabled, highlighted);
  ImGui::PopID();
}

bool has_visible_entries(const Menu* m) {
  if (!m) return false;
  for (auto& top : m->root.items)
    if (top->visible && !top->is_separator()) return true;
  return false;
}

}  // namespace

namespace detail {

void menubar_close() { bar().close_request = true; }

int menubar_height() { return has_visible_entries(bar().menu) ? kMenuBarHeight : 0; }

bool menubar_open() { return bar().open; }

void menubar_draw(bool blocked) {
  BarState& st = bar();
  if (!has_visible_entries(st.menu)) {
    // A menu left open when the bar went away must not keep ImGui's focus.
    if (st.close_request && ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel))
      ImGui::ClosePopupToLevel(0, true);
    st.close_request = false;
    st.open = false;
    return;
  }
  if (st.close_request) {
    if (ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel))
      ImGui::ClosePopupToLevel(0, true);
    st.close_request = false;
  } else if (blocked && st.open) {
    ImGui::ClosePopupToLevel(0, true);  // a dialog opened over an open menu
  }
  st.key_target = st.deepest;
  st.deepest = nullptr;
  if (!st.nav_keys.empty()) {
    st.nav_key = st.nav_keys.front();
    st.nav_keys.erase(st.nav_keys.begin());
  }
  if (st.switch_to && !blocked) {
    st.open_request = st.switch_to->name;
    st.switch_to = nullptr;
  }
  ImGui::PushFont(ui_font());
  ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(6, 4));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
  if (ImGui::BeginMainMenuBar()) {
    ImGui::PopStyleVar();
    for (auto& top : st.menu->root.items) {
      if (!top->visible || top->is_separator()) continue;
      draw_top(*top, blocked);
    }
    // A thin shadow line under the bar, as a window's menu has.
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 p = ImGui::GetWindowPos(), s = ImGui::GetWindowSize();
    dl->AddLine(ImVec2(p.x, p.y + s.y - 0.5f), ImVec2(p.x + s.x, p.y + s.y - 0.5f), IM_COL32(160, 160, 160, 255));
    ImGui::EndMainMenuBar();
  } else {
    ImGui::PopStyleVar();
  }
  ImGui::PopStyleVar();
  ImGui::PopFont();
  st.open = !blocked && ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel);
  st.key_request = 0;
  st.nav_key = 0;
  st.open_child = nullptr;
  if (!st.open) {
    st.hot_menu = nullptr;
    st.nav_keys.clear();
  }
}

// Alt+letter opens a menu; with a menu open, a letter picks an item and Esc
// closes the menus. True when the key was used.
bool menubar_handle_key(const SDL_Event& ev) {
  BarState& st = bar();
  if (ev.type != SDL_KEYDOWN || !st.menu) return false;
  const SDL_Keycode k = ev.key.keysym.sym;
  const Uint16 mod = ev.key.keysym.mod;
  const bool letter = (k >= SDLK_a && k <= SDLK_z) || (k >= SDLK_0 && k <= SDLK_9);
  if (st.open) {
    if (k == SDLK_ESCAPE) {
      st.close_request = true;
      return true;
    }
    if (letter && !(mod & KMOD_CTRL)) {
      st.key_request = static_cast<char>(k);
      return true;
    }
    if (k == SDLK_UP || k == SDLK_DOWN || k == SDLK_LEFT || k == SDLK_RIGHT || k == SDLK_RETURN ||
        k == SDLK_KP_ENTER) {
      st.nav_keys.push_back(static_cast<int>(k));
      return true;
    }
    return false;
  }
  if (letter && (mod & KMOD_ALT) && !(mod & KMOD_CTRL)) {
    for (auto& top : st.menu->root.items) {
      if (top->visible && top->enabled && !top->is_separator() && !top->items.empty() &&
          top->accelerator() == static_cast<char>(k)) {
        st.open_request = top->name;
        return true;
      }
    }
  }
  return false;
}

}  // namespace detail

void MenuBar::attach(Menu& menu) {
  bar().menu = &menu;
  bar().queue.clear();
  if (!headless()) detail::register_overlay();
}

void MenuBar::detach() {
  bar().menu = nullptr;
  bar().queue.clear();
  if (bar().open) bar().close_request = true;
  bar().open = false;
  if (!headless()) detail::register_overlay();  // the window loses the bar's height
}

Menu* MenuBar::menu() { return bar().menu; }

void MenuBar::set_route_shortcuts(bool on) { bar().route_shortcuts = on; }
void MenuBar::set_modal_menus(bool on) { bar().modal_menus = on; }

bool MenuBar::handle_event(const Event& ev) {
  BarState& st = bar();
  if (!st.menu) return false;
  if (ev.type == EventType::MenuCommand) {
    if (!st.menu->click(ev.text)) {
      const MenuItem* item = st.menu->find(ev.text);
      std::fprintf(stderr, "[menu] %s: %s\n", ev.text.c_str(),
                   !item ? "no such item"
                   : (!item->items.empty() || item->is_separator()) ? "not a command"
                                                                     : "disabled or hidden, not run");
    }
    return true;
  }
  if (ev.type == EventType::KeyDown && st.route_shortcuts && !ev.repeat)
    return st.menu->handle_shortcut(ev.key, ev.shift, ev.ctrl, ev.alt);
  return false;
}

int MenuBar::dispatch() {
  BarState& st = bar();
  if (st.menu && st.modal_menus && st.open) detail::run_menu_loop();
  if (!st.menu || st.queue.empty()) return 0;
  std::vector<std::string> q;
  q.swap(st.queue);
  int ran = 0;
  for (const std::string& name : q)
    if (st.menu && st.menu->click(name)) ++ran;
  return ran;
}

int MenuBar::height() { return detail::menubar_height(); }

bool MenuBar::menu_open() { return bar().open; }

}  // namespace platform::forms
