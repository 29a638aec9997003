// Open and save dialogs: filter parsing and matching, what OK does with a
// typed name, the headless answers, and the dialog window with its folder
// list and preview panel.
#include "file_dialog.h"

#include <imgui.h>
#include <imgui_stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "../files.h"
#include "../msgbox.h"
#include "gui.h"

namespace platform::forms {

namespace fs = std::filesystem;

namespace {

std::string trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string slashes(std::string s) {
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

std::string current_folder() {
  std::error_code ec;
  std::string cwd = fs::current_path(ec).string();
  if (ec || cwd.empty()) cwd = "/";
  if (cwd.back() != '/') cwd += '/';
  return cwd;
}

// Removes "." and ".." components and doubled slashes of an absolute path.
std::string normalize(const std::string& path) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= path.size()) {
    size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    std::string part = path.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += "/" + p;
  if (out.empty()) out = "/";
  if (path.size() > 1 && path.back() == '/' && out != "/") out += '/';
  return out;
}

std::string parent_of(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  size_t slash = p.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return p.substr(0, slash + 1);
}

std::string base_name(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string with_slash(std::string s) {
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

}  // namespace

// ---- Filters and names ---------------------------------------------------

std::vector<FilterEntry> parse_filter(const std::string& filter) {
  std::vector<FilterEntry> out;
  std::vector<std::string> fields;
  size_t i = 0;
  while (i <= filter.size()) {
    size_t j = filter.find('|', i);
    if (j == std::string::npos) j = filter.size();
    fields.push_back(filter.substr(i, j - i));
    i = j + 1;
  }
  for (size_t k = 0; k + 1 < fields.size(); k += 2) {
    FilterEntry e;
    e.description = trim(fields[k]);
    const std::string& pats = fields[k + 1];
    size_t a = 0;
    while (a <= pats.size()) {
      size_t b = pats.find(';', a);
      if (b == std::string::npos) b = pats.size();
      std::string p = trim(pats.substr(a, b - a));
      if (!p.empty()) e.patterns.push_back(p);
      a = b + 1;
    }
    if (!e.patterns.empty()) out.push_back(std::move(e));
  }
  if (out.empty()) out.push_back({"All Files (*.*)", {"*.*"}});
  return out;
}

bool match_pattern(const std::string& name, const std::string& pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  const std::string n = lower(name), p = lower(pattern);
  size_t ni = 0, pi = 0, star = std::string::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++ni;
      ++pi;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      mark = ni;
    } else if (star != std::string::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

bool match_filter(const std::string& name, const FilterEntry& entry) {
  for (const std::string& p : entry.patterns)
    if (match_pattern(name, p)) return true;
  return false;
}

std::string apply_default_ext(const std::string& name, const std::string& ext) {
  std::string e = ext;
  while (!e.empty() && e.front() == '.') e.erase(e.begin());
  if (e.empty() || name.empty()) return name;
  const size_t slash = name.find_last_of("/\\");
  const std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
  if (last.empty() || last.find('.') != std::string::npos) return name;
  return name + "." + e;
}

// ---- Preview picture -----------------------------------------------------

void PreviewPicture::fill_rgb(uint32_t color) {
  indexed = false;
  rgb.assign(static_cast<size_t>(std::max(0, width)) * std::max(0, height), color);
}

void PreviewPicture::fill_indexed(uint8_t index) {
  indexed = true;
  pixels.assign(static_cast<size_t>(std::max(0, width)) * std::max(0, height), index);
}

std::vector<uint32_t> PreviewPicture::to_rgb() const {
  const size_t n = static_cast<size_t>(std::max(0, width)) * std::max(0, height);
  std::vector<uint32_t> out(n, 0xFFFFFF);
  if (indexed) {
    for (size_t i = 0; i < n && i < pixels.size(); ++i) out[i] = palette[pixels[i]] & 0xFFFFFF;
  } else {
    for (size_t i = 0; i < n && i < rgb.size(); ++i) out[i] = rgb[i] & 0xFFFFFF;
  }
  return out;
}

// ---- What OK does --------------------------------------------------------

std::string FileDialog::shown_title() const {
  if (!title.empty()) return title;
  return kind == FileDialogKind::Open ? "Open" : "Save As";
}

std::string FileDialog::first_folder() const {
  std::string d = slashes(trim(initial_dir));
  if (d.empty()) return current_folder();
  if (d.front() != '/') d = current_folder() + d;
  d = resolve_path(normalize(d));
  if (!folder_exists(d)) return current_folder();
  return with_slash(d);
}

FileDialog::Resolution FileDialog::resolve(const std::string& typed, const std::string& folder) const {
  Resolution r;
  std::string t = slashes(trim(typed));
  if (t.empty()) return r;
  if (t.find_first_of("*?") != std::string::npos) {
    r.kind = Resolution::Pattern;
    r.path = t;
    return r;
  }
  std::string full = normalize(t.front() == '/' ? t : with_slash(folder) + t);
  std::string found = resolve_path(full);
  if (folder_exists(found)) {
    r.kind = Resolution::Folder;
    r.path = with_slash(found);
    return r;
  }
  if (!full.empty() && full.back() == '.') {
    full.pop_back();  // "name." means: no extension
  } else {
    std::string with_ext = apply_default_ext(full, default_ext);
    if (with_ext != full) {
      // An open takes an existing file without extension when there is no
      // file with the default extension.
      if (kind == FileDialogKind::Save || file_exists(with_ext) || !file_exists(found)) full = with_ext;
    }
  }
  found = resolve_path(full);
  r.path = found;
  if (!folder_exists(parent_of(found))) {
    r.kind = Resolution::NoFolder;
    return r;
  }
  if (folder_exists(found)) {
    r.kind = Resolution::Folder;
    r.path = with_slash(found);
    return r;
  }
  const bool exists = file_exists(found);
  if (kind == FileDialogKind::Open && file_must_exist && !exists) {
    r.kind = Resolution::Missing;
    return r;
  }
  if (kind == FileDialogKind::Save && exists && overwrite_prompt) {
    r.kind = Resolution::Overwrite;
    return r;
  }
  r.kind = Resolution::Accept;
  return r;
}

namespace {

std::string missing_text(const std::string& path) {
  return base_name(path) + "\nFile not found.\nPlease verify the correct file name was given.";
}
std::string no_folder_text(const std::string& path) {
  return path + "\nPath does not exist.\nPlease verify the correct path was given.";
}
std::string overwrite_text(const std::string& path) {
  return base_name(path) + " already exists.\nDo you want to replace it?";
}

void run_preview(const PreviewPanel& panel, const std::string& path, PreviewPicture& pic, std::string& text) {
  pic = PreviewPicture{};
  pic.width = std::max(1, panel.width);
  pic.height = std::max(1, panel.height);
  pic.fill_rgb(0xFFFFFF);
  text.clear();
  if (!panel.on_selection_change) return;
  try {
    panel.on_selection_change(path, pic, text);
  } catch (...) {
    pic.fill_rgb(0xFFFFFF);  // a failing preview shows empty
    text.clear();
  }
}

// ---- The dialog window ---------------------------------------------------

struct Entry {
  std::string name;
  bool folder = false;
};

constexpr int kMainW = 364, kPanelW = 144, kClientH = 296;

class FileDialogWindow : public detail::ModalWindow {
 public:
  explicit FileDialogWindow(FileDialog& d) : d_(d), filters_(parse_filter(d.filter)) {
    filter_ = std::clamp(d.filter_index - 1, 0, static_cast<int>(filters_.size()) - 1);
    folder_ = d.first_folder();
    name_ = base_name(slashes(d.file_name));
    load();
    if (!name_.empty()) {
      for (size_t i = 0; i < entries_.size(); ++i)
        if (!entries_[i].folder && lower(entries_[i].name) == lower(name_)) selected_ = static_cast<int>(i);
    }
    preview_dirty_ = true;
  }

  void draw(bool active) override {
    ImGui::PushFont(detail::ui_font());
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(4, 3));
    const float title_h = ImGui::GetFrameHeight();
    const float cw = static_cast<float>(kMainW + (d_.preview.enabled() ? kPanelW : 0));
    const ImVec2 size(cw, kClientH + title_h);
    const ImGuiViewport* vp = ImGui::GetMainViewport();
    if (first_) {
      ImGui::SetNextWindowPos(ImVec2(std::max(0.0f, std::floor(vp->Pos.x + (vp->Size.x - size.x) * 0.5f)),
                                     std::max(0.0f, std::floor(vp->Pos.y + (vp->Size.y - size.y) * 0.5f))));
      ImGui::SetNextWindowFocus();
    }
    ImGui::SetNextWindowSize(size);
    ImGuiWindowFlags flags = ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                             ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollbar |
                             ImGuiWindowFlags_NoScrollWithMouse;
    if (!active) flags |= ImGuiWindowFlags_NoInputs;
    bool open = true;
    ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(255, 255, 255, 255));
    const std::string title = d_.shown_title() + "###filedialog" + std::to_string(reinterpret_cast<uintptr_t>(this));
    const bool visible = ImGui::Begin(title.c_str(), active ? &open : nullptr, flags);
    ImGui::PopStyleColor();
    ImGui::PopStyleVar();
    if (visible) {
      const ImVec2 wp = ImGui::GetWindowPos();
      ox_ = wp.x;
      oy_ = wp.y + title_h;
      ImGui::GetWindowDrawList()->AddRectFilled(ImVec2(ox_, oy_), ImVec2(wp.x + size.x, wp.y + size.y),
                                                IM_COL32(212, 208, 200, 255));
      ImGui::BeginDisabled(!active);
      draw_contents();
      ImGui::EndDisabled();
    }
    ImGui::End();
    ImGui::PopFont();
    first_ = false;
    if (active) {
      if (!open) action_ = Action::Cancel;
      if (detail::take_enter() && action_ == Action::None) {
        // Enter in the list opens a selected folder; otherwise it is OK.
        const bool folder = list_focus_ && selected_ >= 0 && entries_[static_cast<size_t>(selected_)].folder;
        if (folder) pending_ = selected_;
        action_ = folder ? Action::Open : Action::Ok;
      }
      if (list_focus_ && action_ == Action::None) list_keys();
      if (detail::take_escape() && !combo_open_) action_ = Action::Cancel;
    }
  }

  void after_frame() override {
    if (preview_dirty_) update_preview();
    Action a = action_;
    action_ = Action::None;
    switch (a) {
      case Action::Ok: ok(); break;
      case Action::Cancel: done_ = true; break;
      case Action::Up: go(parent_of(folder_)); break;
      case Action::Open: go(with_slash(folder_ + entries_[static_cast<size_t>(pending_)].name)); break;
      default: break;
    }
    if (preview_dirty_) update_preview();
  }

  bool done() const override { return done_; }
  void cancel() override { done_ = true; }
  bool accepted() const { return accepted_; }

 private:
  enum class Action { None, Ok, Cancel, Up, Open };

  void load() {
    entries_.clear();
    selected_ = -1;
    std::vector<Entry> folders, files;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
      const std::string n = it->path().filename().string();
      if (n.empty() || n[0] == '.') continue;
      std::error_code e2;
      if (it->is_directory(e2)) {
        folders.push_back({n, true});
      } else if (it->is_regular_file(e2)) {
        bool match = custom_.empty() ? match_filter(n, filters_[static_cast<size_t>(filter_)])
                                     : match_pattern(n, custom_);
        if (match) files.push_back({n, false});
      }
    }
    auto by_name = [](const Entry& a, const Entry& b) { return lower(a.name) < lower(b.name); };
    std::sort(folders.begin(), folders.end(), by_name);
    std::sort(files.begin(), files.end(), by_name);
    if (folder_ != "/") entries_.push_back({"..", true});
    entries_.insert(entries_.end(), folders.begin(), folders.end());
    entries_.insert(entries_.end(), files.begin(), files.end());
    scroll_top_ = true;
  }

  void go(const std::string& folder) {
    std::string f = resolve_path(normalize(folder));
    if (!folder_exists(f)) return;
    folder_ = with_slash(f);
    load();
    preview_dirty_ = true;
  }

  std::string selected_path() const {
    if (selected_ < 0 || static_cast<size_t>(selected_) >= entries_.size()) return {};
    const Entry& e = entries_[static_cast<size_t>(selected_)];
    if (e.folder) return {};
    std::string p = folder_ + e.name;
    return file_exists(p) ? p : std::string();
  }

  void update_preview() {
    preview_dirty_ = false;
    if (!d_.preview.enabled()) return;
    run_preview(d_.preview, selected_path(), picture_, preview_text_);
    std::vector<uint32_t> px = picture_.to_rgb();
    texture_.update(px.data(), picture_.width, picture_.height);
  }

  void ok() {
    FileDialog::Resolution r = d_.resolve(name_, folder_);
    const std::string title = d_.shown_title();
    switch (r.kind) {
      case FileDialog::Resolution::Empty: {
        // Nothing typed: a selected folder opens.
        if (selected_ >= 0 && entries_[static_cast<size_t>(selected_)].folder) {
          pending_ = selected_;
          go(with_slash(folder_ + entries_[static_cast<size_t>(selected_)].name));
        }
        return;
      }
      case FileDialog::Resolution::Pattern:
        custom_ = r.path;
        load();
        preview_dirty_ = true;
        return;
      case FileDialog::Resolution::Folder:
        name_.clear();
        go(r.path);
        return;
      case FileDialog::Resolution::Missing:
        message_box(title, missing_text(r.path), MsgButtons::Ok, MsgIcon::Warning);
        return;
      case FileDialog::Resolution::NoFolder:
        message_box(title, no_folder_text(r.path), MsgButtons::Ok, MsgIcon::Warning);
        return;
      case FileDialog::Resolution::Overwrite:
        if (message_box(title, overwrite_text(r.path), MsgButtons::YesNo, MsgIcon::Warning) != MsgResult::Yes)
          return;
        break;
      case FileDialog::Resolution::Accept:
        break;
    }
    d_.file_name = r.path;
    d_.filter_index = filter_ + 1;
    accepted_ = true;
    done_ = true;
  }

  // Arrows, Home and End move the selection while the list has the focus;
  // Backspace goes up a folder.
  void list_keys() {
    const int n = static_cast<int>(entries_.size());
    if (n == 0) return;
    int sel = selected_;
    if (detail::key_pressed(SDL_SCANCODE_DOWN)) sel = sel < 0 ? 0 : std::min(n - 1, sel + 1);
    if (detail::key_pressed(SDL_SCANCODE_UP)) sel = sel < 0 ? 0 : std::max(0, sel - 1);
    if (detail::key_pressed(SDL_SCANCODE_HOME)) sel = 0;
    if (detail::key_pressed(SDL_SCANCODE_END)) sel = n - 1;
    if (detail::key_pressed(SDL_SCANCODE_BACKSPACE) && folder_ != "/") {
      action_ = Action::Up;
      return;
    }
    if (sel != selected_) {
      selected_ = sel;
      const Entry& e = entries_[static_cast<size_t>(sel)];
      if (!e.folder) name_ = e.name;
      preview_dirty_ = true;
      scroll_to_ = sel;
    }
  }

  void label(float x, float y, const char* text) {
    detail::draw_text(ImGui::GetFont(), ox_ + x, oy_ + y, IM_COL32(0, 0, 0, 255), text);
  }

  void draw_contents() {
    ImDrawList* dl = ImGui::GetWindowDrawList();
    ImFont* font = ImGui::GetFont();
    const float fh = font->FontSize;
    // Folder line.
    label(8, 12, d_.kind == FileDialogKind::Open ? "Look in:" : "Save in:");
    const float px0 = ox_ + 70, px1 = ox_ + kMainW - 40;
    dl->AddRectFilled(ImVec2(px0, oy_ + 8), ImVec2(px1, oy_ + 29), IM_COL32(255, 255, 255, 255));
    detail::draw_sunken(px0, oy_ + 8, px1, oy_ + 29);
    {
      std::string shown = folder_;
      while (shown.size() > 4 && font->CalcTextSizeA(fh, 1e9f, 0, shown.c_str()).x > px1 - px0 - 10) {
        size_t cut = shown.find('/', 4);
        if (cut == std::string::npos) break;
        shown = "..." + shown.substr(cut);
      }
      dl->PushClipRect(ImVec2(px0 + 2, oy_ + 8), ImVec2(px1 - 2, oy_ + 29), true);
      detail::draw_text(font, px0 + 4, oy_ + 8 + std::floor((21 - fh) * 0.5f), IM_COL32(0, 0, 0, 255), shown);
      dl->PopClipRect();
    }
    if (detail::draw_button("##up", "", ox_ + kMainW - 34, oy_ + 7, 26, 23, folder_ != "/", false, font))
      action_ = Action::Up;
    {  // up-arrow glyph on the button
      const float cx = ox_ + kMainW - 21, cy = oy_ + 18;
      const uint32_t c = folder_ != "/" ? IM_COL32(0, 0, 0, 255) : IM_COL32(128, 128, 128, 255);
      dl->AddTriangleFilled(ImVec2(cx - 5, cy), ImVec2(cx + 5, cy), ImVec2(cx, cy - 5), c);
      dl->AddRectFilled(ImVec2(cx - 1.5f, cy), ImVec2(cx + 1.5f, cy + 5), c);
    }

    // File list.
    const float lx0 = ox_ + 8, ly0 = oy_ + 38, lx1 = ox_ + kMainW - 8, ly1 = oy_ + 218;
    dl->AddRectFilled(ImVec2(lx0, ly0), ImVec2(lx1, ly1), IM_COL32(255, 255, 255, 255));
    detail::draw_sunken(lx0, ly0, lx1, ly1);
    ImGui::SetCursorScreenPos(ImVec2(lx0 + 2, ly0 + 2));
    ImGui::PushStyleColor(ImGuiCol_ChildBg, IM_COL32(255, 255, 255, 255));
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(0, 0));
    if (ImGui::BeginChild("##files", ImVec2(lx1 - lx0 - 4, ly1 - ly0 - 4), false)) {
      if (scroll_top_) {
        ImGui::SetScrollY(0);
        scroll_top_ = false;
      }
      ImDrawList* cdl = ImGui::GetWindowDrawList();
      for (size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        ImGui::PushID(static_cast<int>(i));
        const bool sel = static_cast<int>(i) == selected_;
        const ImVec2 p = ImGui::GetCursorScreenPos();
        ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(0, 0, 0, 0));
        const bool clicked = ImGui::Selectable("##e", sel, ImGuiSelectableFlags_AllowDoubleClick, ImVec2(0, 17));
        ImGui::PopStyleColor();
        if (scroll_to_ == static_cast<int>(i)) {
          if (!ImGui::IsItemVisible()) ImGui::SetScrollHereY(0.5f);  // keep the keyboard's selection in view
          scroll_to_ = -1;
        }
        if (clicked) {
          list_focus_ = true;
          if (selected_ != static_cast<int>(i)) {
            selected_ = static_cast<int>(i);
            if (!e.folder) name_ = e.name;
            preview_dirty_ = true;
          }
          if (ImGui::IsMouseDoubleClicked(0)) {
            if (e.folder) {
              pending_ = static_cast<int>(i);
              action_ = Action::Open;
            } else {
              name_ = e.name;
              action_ = Action::Ok;
            }
          }
        }
        const uint32_t tc = sel ? IM_COL32(255, 255, 255, 255) : IM_COL32(0, 0, 0, 255);
        if (e.folder) {  // a small folder symbol
          cdl->AddRectFilled(ImVec2(p.x + 3, p.y + 5), ImVec2(p.x + 15, p.y + 14), IM_COL32(240, 200, 80, 255));
          cdl->AddRectFilled(ImVec2(p.x + 3, p.y + 3), ImVec2(p.x + 8, p.y + 5), IM_COL32(240, 200, 80, 255));
          cdl->AddRect(ImVec2(p.x + 3, p.y + 5), ImVec2(p.x + 15, p.y + 14), IM_COL32(128, 96, 0, 255));
        } else {
          cdl->AddRectFilled(ImVec2(p.x + 5, p.y + 2), ImVec2(p.x + 14, p.y + 15), IM_COL32(255, 255, 255, 255));
          cdl->AddRect(ImVec2(p.x + 5, p.y + 2), ImVec2(p.x + 14, p.y + 15), IM_COL32(96, 96, 96, 255));
          cdl->AddLine(ImVec2(p.x + 7, p.y + 6), ImVec2(p.x + 12, p.y + 6), IM_COL32(96, 96, 96, 255));
          cdl->AddLine(ImVec2(p.x + 7, p.y + 9), ImVec2(p.x + 12, p.y + 9), IM_COL32(96, 96, 96, 255));
        }
        detail::draw_text(font, p.x + 20, p.y + std::floor((17 - fh) * 0.5f), tc, e.name);
        ImGui::PopID();
      }
      if (entries_.empty() || (entries_.size() == 1 && entries_[0].name == "..")) {
        const ImVec2 p = ImGui::GetCursorScreenPos();
        detail::draw_text(font, p.x + 20, p.y + 2, IM_COL32(128, 128, 128, 255), "(no matching files)");
      }
    }
    ImGui::EndChild();
    ImGui::PopStyleVar();
    ImGui::PopStyleColor();

    // Name and type lines.
    label(8, 232, "File name:");
    ImGui::SetCursorScreenPos(ImVec2(ox_ + 90, oy_ + 228));
    ImGui::SetNextItemWidth(kMainW - 90 - 92);
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(4, 4));
    ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 0.0f);
    if (first_) ImGui::SetKeyboardFocusHere();
    ImGui::InputText("##name", &name_);
    if (ImGui::IsItemActivated()) list_focus_ = false;
    ImGui::PopStyleVar(2);
    detail::draw_sunken(ox_ + 90, oy_ + 227, ox_ + kMainW - 92, oy_ + 249);

    label(8, 264, "Files of type:");
    ImGui::SetCursorScreenPos(ImVec2(ox_ + 90, oy_ + 259));
    ImGui::SetNextItemWidth(kMainW - 90 - 92);
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(4, 4));
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(2, 2));
    ImGui::PushStyleColor(ImGuiCol_PopupBg, IM_COL32(255, 255, 255, 255));
    const std::string current = custom_.empty() ? filters_[static_cast<size_t>(filter_)].description : custom_;
    combo_open_ = false;
    if (ImGui::BeginCombo("##type", current.c_str())) {
      combo_open_ = true;
      for (size_t i = 0; i < filters_.size(); ++i) {
        if (ImGui::Selectable(filters_[i].description.c_str(), static_cast<int>(i) == filter_ && custom_.empty())) {
          filter_ = static_cast<int>(i);
          custom_.clear();
          load();
          preview_dirty_ = true;
        }
      }
      ImGui::EndCombo();
    }
    ImGui::PopStyleColor();
    ImGui::PopStyleVar(2);

    const float bx = ox_ + kMainW - 83;
    if (detail::draw_button("##ok", d_.kind == FileDialogKind::Open ? "&Open" : "&Save", bx, oy_ + 226, 75, 23,
                            true, true, font))
      action_ = Action::Ok;
    if (detail::draw_button("##cancel", "Cancel", bx, oy_ + 258, 75, 23, true, false, font)) action_ = Action::Cancel;

    if (d_.preview.enabled()) draw_preview(dl, font);
  }

  // The panel right of the standard controls: caption, bevelled picture, text.
  void draw_preview(ImDrawList* dl, ImFont* font) {
    const float x0 = ox_ + kMainW - 2, x1 = ox_ + kMainW + kPanelW - 8;
    const float y0 = oy_ + 8;
    const float fh = font->FontSize;
    const std::string& cap = d_.preview.caption;
    const float cw = font->CalcTextSizeA(fh, 1e9f, 0, cap.c_str()).x;
    detail::draw_text(font, std::floor((x0 + x1 - cw) * 0.5f), y0 + std::floor((28 - fh) * 0.5f),
                      IM_COL32(0, 0, 0, 255), cap);
    const float pw = static_cast<float>(std::max(1, d_.preview.width));
    const float ph = static_cast<float>(std::max(1, d_.preview.height));
    const float bx0 = std::floor((x0 + x1 - pw) * 0.5f) - 2, by0 = y0 + 28;
    // Lowered outer and raised inner bevel around the picture.
    detail::draw_sunken(bx0 - 2, by0 - 2, bx0 + pw + 6, by0 + ph + 6);
    detail::draw_raised(bx0, by0, bx0 + pw + 4, by0 + ph + 4);
    const ImVec2 ip(bx0 + 2, by0 + 2);
    if (SDL_Texture* t = texture_.get()) {
      ImGui::SetCursorScreenPos(ip);
      ImGui::Image(static_cast<ImTextureID>(t), ImVec2(pw, ph));
    } else {
      dl->AddRectFilled(ip, ImVec2(ip.x + pw, ip.y + ph), IM_COL32(255, 255, 255, 255));
    }
    const float ty0 = by0 + ph + 6;
    const float tw = font->CalcTextSizeA(fh, 1e9f, 0, preview_text_.c_str()).x;
    dl->PushClipRect(ImVec2(x0, ty0), ImVec2(x1, ty0 + 32), true);
    detail::draw_text(font, std::max(x0 + 2, std::floor((x0 + x1 - tw) * 0.5f)), ty0 + std::floor((32 - fh) * 0.5f),
                      IM_COL32(0, 0, 0, 255), preview_text_);
    dl->PopClipRect();
  }

  FileDialog& d_;
  std::vector<FilterEntry> filters_;
  int filter_ = 0;
  std::string custom_;  // a typed wildcard pattern replacing the filter
  std::string folder_;
  std::string name_;
  std::vector<Entry> entries_;
  int selected_ = -1;
  int pending_ = -1;
  bool scroll_top_ = false;
  bool first_ = true;
  bool combo_open_ = false;
  bool list_focus_ = false;  // the list, not the name box, takes the keys
  int scroll_to_ = -1;
  bool preview_dirty_ = false;
  PreviewPicture picture_;
  std::string preview_text_;
  detail::Texture texture_;
  Action action_ = Action::None;
  bool done_ = false, accepted_ = false;
  float ox_ = 0, oy_ = 0;
};

}  // namespace

bool FileDialog::execute() {
  const std::string kind_word = kind == FileDialogKind::Open ? "open" : "save";
  std::string answer;
  bool have = false;
  if (detail::gui_available() && detail::gui_ensure() && !(have = detail::take_scripted_answer(answer))) {
    FileDialogWindow w(*this);
    detail::run_modal(w);
    return w.accepted();
  }
  const std::string folder = first_folder();
  std::string detail_text = "filter \"" + filter + "\" | folder " + folder;
  if (!default_ext.empty()) detail_text += " | ext " + default_ext;
  if (!file_name.empty()) detail_text += " | name " + file_name;
  if (!have && !take_answer(answer)) {
    detail::log_dialog(kind_word, shown_title(), detail_text, "(no answer) cancel");
    return false;
  }
  const std::string word = lower(trim(answer));
  if (word == "cancel" || word == "no") {
    detail::log_dialog(kind_word, shown_title(), detail_text, "answer \"" + answer + "\" cancel");
    return false;
  }
  const std::string typed = word == "ok" ? file_name : answer;
  Resolution r = resolve(typed, folder);
  std::string verdict;
  bool ok = false;
  switch (r.kind) {
    case Resolution::Accept: ok = true; break;
    case Resolution::Overwrite:
      detail::log_dialog(kind_word, shown_title(), detail_text, "answer \"" + answer + "\" asks to replace " + r.path);
      ok = message_box(shown_title(), overwrite_text(r.path), MsgButtons::YesNo, MsgIcon::Warning) == MsgResult::Yes;
      if (!ok) verdict = "not replaced: cancel";
      break;
    case Resolution::Missing: verdict = "file not found: cancel"; break;
    case Resolution::NoFolder: verdict = "folder not found: cancel"; break;
    case Resolution::Folder: verdict = "is a folder: cancel"; break;
    case Resolution::Pattern: verdict = "is a pattern: cancel"; break;
    case Resolution::Empty: verdict = "no file name: cancel"; break;
  }
  if (ok) {
    file_name = r.path;
    if (r.kind == Resolution::Accept)
      detail::log_dialog(kind_word, shown_title(), detail_text, "answer \"" + answer + "\" " + r.path);
    if (preview.enabled()) {
      PreviewPicture pic;
      std::string text;
      run_preview(preview, file_exists(r.path) ? r.path : std::string(), pic, text);
    }
    return true;
  }
  if (r.kind != Resolution::Overwrite)
    detail::log_dialog(kind_word, shown_title(), detail_text, "answer \"" + answer + "\" " + verdict);
  else
    detail::log_dialog(kind_word, shown_title(), detail_text, verdict);
  return false;
}

}  // namespace platform::forms
