// Forms and their controls: the model, the headless answers, and the drawing
// of each control with Dear ImGui in the Windows-classic manner.
#include "form.h"

#include <imgui.h>
#include <imgui_internal.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "../msgbox.h"
#include "gui.h"
#include "menu.h"

namespace platform::forms {

using detail::im_color;

const char* modal_result_name(ModalResult r) {
  switch (r) {
    case ModalResult::Ok: return "ok";
    case ModalResult::Cancel: return "cancel";
    case ModalResult::Yes: return "yes";
    case ModalResult::No: return "no";
    default: return "none";
  }
}

size_t utf8_length(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string utf8_prefix(const std::string& s, size_t chars) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (n == chars) return s.substr(0, i);
      ++n;
    }
  }
  return s;
}

namespace {

std::string lower_trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  std::string out = s.substr(a, b - a);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool parse_int(const std::string& s, int& out) {
  std::string t = lower_trim(s);
  if (t.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(t.c_str(), &end, 10);
  if (*end != '\0' || v < -1000000000L || v > 1000000000L) return false;
  out = static_cast<int>(v);
  return true;
}

ModalResult result_from_word(const std::string& w) {
  if (w == "ok") return ModalResult::Ok;
  if (w == "cancel") return ModalResult::Cancel;
  if (w == "yes") return ModalResult::Yes;
  if (w == "no") return ModalResult::No;
  return ModalResult::None;
}

ImFont* font_of(const Control& c) { return detail::font_for(c.font.size, c.font.bold); }

ImVec2 client_pos(int x, int y) {
  float ox, oy;
  detail::client_origin(ox, oy);
  return ImVec2(ox + x, oy + y);
}

constexpr uint32_t kWhite = IM_COL32(255, 255, 255, 255);
constexpr uint32_t kLight = IM_COL32(255, 255, 255, 255);
constexpr uint32_t kShadow = IM_COL32(128, 128, 128, 255);
constexpr uint32_t kDark = IM_COL32(64, 64, 64, 255);
constexpr uint32_t kBlack = IM_COL32(0, 0, 0, 255);
constexpr uint32_t kGreyText = IM_COL32(128, 128, 128, 255);
constexpr uint32_t kFace = IM_COL32(212, 208, 200, 255);
constexpr uint32_t kHighlight = IM_COL32(10, 36, 106, 255);

void hline(ImDrawList* dl, float x0, float x1, float y, uint32_t c) {
  dl->AddRectFilled(ImVec2(x0, y), ImVec2(x1, y + 1), c);
}
void vline(ImDrawList* dl, float x, float y0, float y1, uint32_t c) {
  dl->AddRectFilled(ImVec2(x, y0), ImVec2(x + 1, y1), c);
}

void dotted_rect(ImDrawList* dl, float x0, float y0, float x1, float y1) {
  for (float x = x0; x < x1; x += 2) {
    dl->AddRectFilled(ImVec2(x, y0), ImVec2(x + 1, y0 + 1), kBlack);
    dl->AddRectFilled(ImVec2(x, y1 - 1), ImVec2(x + 1, y1), kBlack);
  }
  for (float y = y0; y < y1; y += 2) {
    dl->AddRectFilled(ImVec2(x0, y), ImVec2(x0 + 1, y + 1), kBlack);
    dl->AddRectFilled(ImVec2(x1 - 1, y), ImVec2(x1, y + 1), kBlack);
  }
}

// Text with the grey-and-white look of disabled Windows controls.
void text_maybe_disabled(ImFont* f, float x, float y, uint32_t col, const std::string& s, bool enabled,
                         int underline = -1) {
  if (enabled) {
    detail::draw_text(f, x, y, col, s, underline);
  } else {
    detail::draw_text(f, x + 1, y + 1, kWhite, s, underline);
    detail::draw_text(f, x, y, kGreyText, s, underline);
  }
}

}  // namespace

namespace detail {

void draw_raised(float x0, float y0, float x1, float y1) {
  ImDrawList* dl = ImGui::GetWindowDrawList();
  hline(dl, x0, x1 - 1, y0, kLight);
  vline(dl, x0, y0, y1 - 1, kLight);
  hline(dl, x0, x1, y1 - 1, kDark);
  vline(dl, x1 - 1, y0, y1, kDark);
  hline(dl, x0 + 1, x1 - 1, y1 - 2, kShadow);
  vline(dl, x1 - 2, y0 + 1, y1 - 1, kShadow);
}

void draw_sunken(float x0, float y0, float x1, float y1) {
  ImDrawList* dl = ImGui::GetWindowDrawList();
  hline(dl, x0, x1 - 1, y0, kShadow);
  vline(dl, x0, y0, y1 - 1, kShadow);
  hline(dl, x0 + 1, x1 - 2, y0 + 1, kDark);
  vline(dl, x0 + 1, y0 + 1, y1 - 2, kDark);
  hline(dl, x0, x1, y1 - 1, kLight);
  vline(dl, x1 - 1, y0, y1, kLight);
  hline(dl, x0 + 1, x1 - 1, y1 - 2, kFace);
  vline(dl, x1 - 2, y0 + 1, y1 - 1, kFace);
}

bool draw_button(const char* id, const std::string& caption, float x, float y, float w, float h, bool enabled,
                 bool is_default, ImFont* font) {
  ImGui::SetCursorScreenPos(ImVec2(x, y));
  ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(0, 0, 0, 0));
  ImGui::PushStyleColor(ImGuiCol_Border, IM_COL32(0, 0, 0, 0));
  ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 0.0f);
  ImGui::BeginDisabled(!enabled);
  const bool pressed = ImGui::Button(id, ImVec2(w, h));
  ImGui::EndDisabled();
  const bool held = enabled && ImGui::IsItemActive() && ImGui::IsItemHovered();
  ImGui::PopStyleVar();
  ImGui::PopStyleColor(2);
  ImDrawList* dl = ImGui::GetWindowDrawList();
  float bx0 = x, by0 = y, bx1 = x + w, by1 = y + h;
  if (is_default) {
    dl->AddRect(ImVec2(bx0, by0), ImVec2(bx1, by1), kBlack);
    bx0 += 1, by0 += 1, bx1 -= 1, by1 -= 1;
  }
  if (held) {
    dl->AddRect(ImVec2(bx0, by0), ImVec2(bx1, by1), kShadow);
  } else {
    draw_raised(bx0, by0, bx1, by1);
  }
  MenuItem tmp;
  tmp.caption = caption;
  const std::string plain = tmp.plain_caption();
  const ImVec2 ts = font->CalcTextSizeA(font->FontSize, 1e9f, 0, plain.c_str());
  float tx = std::floor(x + (w - ts.x) * 0.5f), ty = std::floor(y + (h - ts.y) * 0.5f);
  if (held) tx += 1, ty += 1;
  text_maybe_disabled(font, tx, ty, kBlack, plain, enabled, tmp.accelerator_index());
  return pressed && enabled;
}

}  // namespace detail

// ---- Label ---------------------------------------------------------------

void Label::draw() {
  if (!visible) return;
  ImFont* f = font_of(*this);
  ImDrawList* dl = ImGui::GetWindowDrawList();
  const ImVec2 p = client_pos(left, top);
  const float wrap = (word_wrap && width > 0) ? static_cast<float>(width) : 0.0f;
  const ImVec2 ts = f->CalcTextSizeA(f->FontSize, 1e9f, wrap, caption.c_str());
  const float bw = auto_size ? ts.x : static_cast<float>(width);
  const float bh = auto_size ? ts.y : static_cast<float>(height);
  if (!transparent) dl->AddRectFilled(p, ImVec2(p.x + bw, p.y + bh), im_color(color));
  float x = p.x;
  if (!auto_size && !word_wrap) {
    if (alignment == Alignment::Center) x = p.x + std::floor((bw - ts.x) * 0.5f);
    if (alignment == Alignment::Right) x = p.x + bw - ts.x;
  }
  const uint32_t col = im_color(font.color);
  if (!auto_size) dl->PushClipRect(p, ImVec2(p.x + bw, p.y + bh), true);
  if (wrap > 0) {
    if (!enabled) dl->AddText(f, f->FontSize, ImVec2(x + 1, p.y + 1), kWhite, caption.c_str(), nullptr, wrap);
    dl->AddText(f, f->FontSize, ImVec2(x, p.y), enabled ? col : kGreyText, caption.c_str(), nullptr, wrap);
  } else {
    text_maybe_disabled(f, x, p.y, col, caption, enabled);
  }
  if (!auto_size) dl->PopClipRect();
}

std::string Label::describe() const { return caption; }

// ---- Button --------------------------------------------------------------

bool Button::click() {
  if (!enabled || !visible) return false;
  if (form_ && modal_result != ModalResult::None) form_->modal_result = modal_result;
  if (on_click) on_click();
  return true;
}

void Button::draw() {
  if (!visible) return;
  const ImVec2 p = client_pos(left, top);
  if (detail::draw_button(("##" + name).c_str(), caption, p.x, p.y, static_cast<float>(width),
                          static_cast<float>(height), enabled, is_default, font_of(*this))) {
    form_->defer([this] { click(); });
  }
}

std::string Button::describe() const {
  MenuItem tmp;
  tmp.caption = caption;
  std::string s = "[" + tmp.plain_caption() + "]";
  if (!enabled) s += "(disabled)";
  return s;
}

// ---- Edit ----------------------------------------------------------------

void Edit::set_text(const std::string& t) {
  std::string v = max_length > 0 ? utf8_prefix(t, static_cast<size_t>(max_length)) : t;
  if (v == text_) return;
  text_ = v;
  if (on_change) on_change();
}

namespace {
int edit_limit(ImGuiInputTextCallbackData* data) {
  auto* e = static_cast<Edit*>(data->UserData);
  if (data->EventFlag == ImGuiInputTextFlags_CallbackEdit && e->max_length > 0) {
    std::string cur(data->Buf, static_cast<size_t>(data->BufTextLen));
    std::string cut = utf8_prefix(cur, static_cast<size_t>(e->max_length));
    if (cut.size() < cur.size()) {
      data->DeleteChars(static_cast<int>(cut.size()), static_cast<int>(cur.size() - cut.size()));
      if (data->CursorPos > data->BufTextLen) data->CursorPos = data->BufTextLen;
    }
  }
  return 0;
}
}  // namespace

struct EditAccess {
  static std::string& text(Edit& e) { return e.text_; }
};

void Edit::draw() {
  if (!visible) return;
  ImFont* f = font_of(*this);
  const ImVec2 p = client_pos(left, top);
  const float h = height > 0 ? static_cast<float>(height) : f->FontSize + 8;
  const float pad_y = std::max(1.0f, std::floor((h - f->FontSize) * 0.5f));
  ImGui::SetCursorScreenPos(ImVec2(p.x, p.y + (h - (f->FontSize + 2 * pad_y)) * 0.5f));
  ImGui::PushFont(f);
  ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(4, pad_y));
  ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 0.0f);
  ImGui::PushStyleColor(ImGuiCol_FrameBg, enabled ? kWhite : kFace);
  ImGui::PushStyleColor(ImGuiCol_Text, enabled ? im_color(font.color) : kGreyText);
  ImGui::SetNextItemWidth(static_cast<float>(width));
  if (enabled && form_->wants_focus(this)) {
    ImGui::SetKeyboardFocusHere();
    form_->focus_taken();
  }
  ImGui::BeginDisabled(!enabled);
  std::string& buf = EditAccess::text(*this);
  const bool changed =
      ImGui::InputText(("##" + name).c_str(), &buf, ImGuiInputTextFlags_CallbackEdit, edit_limit, this);
  ImGui::EndDisabled();
  if (ImGui::IsItemActivated()) form_->focus(this);
  ImGui::PopStyleColor(2);
  ImGui::PopStyleVar(2);
  ImGui::PopFont();
  detail::draw_sunken(p.x, p.y, p.x + width, p.y + h);
  if (changed) {
    form_->defer([this] {
      if (on_change) on_change();
    });
  }
}

std::string Edit::describe() const {
  std::string s = "<" + name + ": \"" + text_ + "\"";
  if (max_length > 0) s += " max " + std::to_string(max_length);
  return s + ">";
}

// ---- TrackBar ------------------------------------------------------------

namespace {
constexpr int kThumbHalf = 5;    // thumb 11 pixels wide
constexpr int kChannelInset = 8;  // channel ends this far inside the control
}  // namespace

void TrackBar::set_range(int lo, int hi) {
  if (lo > hi) std::swap(lo, hi);
  min_ = lo;
  max_ = hi;
  sel_start_ = std::clamp(sel_start_, min_, max_);
  sel_end_ = std::clamp(sel_end_, min_, max_);
  set_position(position_);
}

void TrackBar::set_position(int p) {
  p = std::clamp(p, min_, max_);
  if (p == position_) return;
  position_ = p;
  if (on_change) on_change();
}

void TrackBar::set_selection(int start, int end) {
  if (start > end) std::swap(start, end);
  sel_start_ = std::clamp(start, min_, max_);
  sel_end_ = std::clamp(end, min_, max_);
}

int TrackBar::x_of(int pos) const {
  const int x0 = left + kChannelInset + kThumbHalf;
  const int x1 = left + width - kChannelInset - kThumbHalf;
  if (max_ <= min_ || x1 <= x0) return x0;
  const long num = static_cast<long>(std::clamp(pos, min_, max_) - min_) * (x1 - x0);
  return x0 + static_cast<int>((num + (max_ - min_) / 2) / (max_ - min_));
}

int TrackBar::position_at(int client_x) const {
  const int x0 = left + kChannelInset + kThumbHalf;
  const int x1 = left + width - kChannelInset - kThumbHalf;
  if (max_ <= min_ || x1 <= x0) return min_;
  const double t = static_cast<double>(client_x - x0) / (x1 - x0);
  const int p = min_ + static_cast<int>(std::lround(t * (max_ - min_)));
  return std::clamp(p, min_, max_);
}

void TrackBar::draw() {
  if (!visible) return;
  ImDrawList* dl = ImGui::GetWindowDrawList();
  float ox, oy;
  detail::client_origin(ox, oy);
  const ImVec2 p(ox + left, oy + top);
  const bool ticks_top = tick_marks == TickMarks::TopLeft || tick_marks == TickMarks::Both;
  const bool ticks_bottom = tick_marks == TickMarks::BottomRight || tick_marks == TickMarks::Both;
  // Thumb body 11 x 13 with a 5-pixel point towards the ticks.
  const float thumb_top = p.y + (ticks_top ? 13.0f : 8.0f);
  const float body_h = tick_marks == TickMarks::Both ? 18.0f : 13.0f;
  const float point_bottom = (ticks_bottom && !ticks_top) ? 5.0f : 0.0f;
  const float point_top = (ticks_top && !ticks_bottom) ? 5.0f : 0.0f;
  const float body_top = thumb_top + point_top;
  const float body_bottom = body_top + body_h;
  const float cy = std::floor((body_top + body_bottom) * 0.5f);

  // Interaction.
  ImGui::SetCursorScreenPos(p);
  ImGui::BeginDisabled(!enabled);
  ImGui::InvisibleButton(("##" + name).c_str(), ImVec2(static_cast<float>(width), static_cast<float>(height)));
  ImGui::EndDisabled();
  const int old = position_;
  int want = position_;
  if (enabled) {
    const float mx = ImGui::GetIO().MousePos.x;
    const float thumb_x = ox + x_of(position_);
    if (ImGui::IsItemActivated()) {
      form_->focus(this);
      dragging_ = std::fabs(mx - thumb_x) <= kThumbHalf + 1 && ImGui::GetIO().MousePos.y >= thumb_top &&
                  ImGui::GetIO().MousePos.y <= body_bottom + point_bottom;
      if (!dragging_) want += (mx < thumb_x ? -page_size : page_size);
    } else if (ImGui::IsItemActive()) {
      if (dragging_) {
        want = position_at(static_cast<int>(std::lround(mx - ox)));
      } else if (ImGui::GetIO().MouseDownDuration[0] > 0.4f) {
        // Held on the channel: page towards the pointer, not past it.
        static float last = 0;
        const float now = static_cast<float>(ImGui::GetTime());
        if (now - last > 0.1f) {
          last = now;
          const int target = position_at(static_cast<int>(std::lround(mx - ox)));
          if (target < position_) want = std::max(target, position_ - page_size);
          if (target > position_) want = std::min(target, position_ + page_size);
        }
      }
    } else {
      dragging_ = false;
    }
    if (ImGui::IsItemHovered() && ImGui::GetIO().MouseWheel != 0)
      want += ImGui::GetIO().MouseWheel > 0 ? -line_size : line_size;
    if (form_->focused() == this) {
      auto pressed = [](SDL_Scancode k) { return detail::key_pressed(k); };
      if (pressed(SDL_SCANCODE_LEFT) || pressed(SDL_SCANCODE_UP)) want -= line_size;
      if (pressed(SDL_SCANCODE_RIGHT) || pressed(SDL_SCANCODE_DOWN)) want += line_size;
      if (pressed(SDL_SCANCODE_PAGEUP)) want -= page_size;
      if (pressed(SDL_SCANCODE_PAGEDOWN)) want += page_size;
      if (pressed(SDL_SCANCODE_HOME)) want = min_;
      if (pressed(SDL_SCANCODE_END)) want = max_;
    }
    want = std::clamp(want, min_, max_);
    if (want != old) {
      position_ = want;
      form_->defer([this] {
        if (on_change) on_change();
      });
    }
  }

  // Channel, with the selection range highlighted.
  const float cx0 = p.x + kChannelInset, cx1 = p.x + width - kChannelInset;
  detail::draw_sunken(cx0, cy - 2, cx1, cy + 2);
  dl->AddRectFilled(ImVec2(cx0 + 2, cy), ImVec2(cx1 - 2, cy + 1), kWhite);
  const bool sel = show_sel_range && sel_end_ > sel_start_;
  if (sel) dl->AddRectFilled(ImVec2(ox + x_of(sel_start_), cy - 1), ImVec2(ox + x_of(sel_end_) + 1, cy + 1), kHighlight);

  // Ticks: every `frequency` positions, and longer ones at both ends.
  if (tick_style == TickStyle::Auto) {
    const int step = std::max(1, frequency);
    auto tick_row = [&](float y0, float dir) {
      for (int v = min_; v <= max_; v += step) {
        const float x = ox + x_of(v);
        const float len = (v == min_ || v == max_) ? 4.0f : 3.0f;
        if (dir > 0) vline(dl, x, y0, y0 + len, kBlack);
        else vline(dl, x, y0 - len, y0, kBlack);
        if (v > max_ - step) break;
      }
      if ((max_ - min_) % step != 0) {
        const float x = ox + x_of(max_);
        if (dir > 0) vline(dl, x, y0, y0 + 4, kBlack);
        else vline(dl, x, y0 - 4, y0, kBlack);
      }
      if (sel) {  // small triangles marking the selection ends
        for (int v : {sel_start_, sel_end_}) {
          const float x = ox + x_of(v);
          if (dir > 0)
            dl->AddTriangleFilled(ImVec2(x - 2, y0 + 5), ImVec2(x + 3, y0 + 5), ImVec2(x + 0.5f, y0 + 7.5f), kBlack);
          else
            dl->AddTriangleFilled(ImVec2(x - 2, y0 - 5), ImVec2(x + 3, y0 - 5), ImVec2(x + 0.5f, y0 - 7.5f), kBlack);
        }
      }
    };
    if (ticks_bottom) tick_row(body_bottom + point_bottom + 3, 1);
    if (ticks_top) tick_row(thumb_top - 3, -1);
  }

  // Thumb.
  const float tx = ox + x_of(position_);
  const float x0 = tx - kThumbHalf, x1 = tx + kThumbHalf + 1;
  const uint32_t face = enabled ? kFace : kFace;
  dl->AddRectFilled(ImVec2(x0, body_top), ImVec2(x1, body_bottom), face);
  if (point_bottom > 0) {
    dl->AddTriangleFilled(ImVec2(x0, body_bottom), ImVec2(x1, body_bottom), ImVec2(tx + 0.5f, body_bottom + point_bottom), face);
    vline(dl, x0, body_top, body_bottom, kLight);
    hline(dl, x0, x1 - 1, body_top, kLight);
    vline(dl, x1 - 1, body_top, body_bottom, kDark);
    vline(dl, x1 - 2, body_top + 1, body_bottom, kShadow);
    dl->AddLine(ImVec2(x0 + 0.5f, body_bottom), ImVec2(tx + 0.5f, body_bottom + point_bottom), kLight);
    dl->AddLine(ImVec2(tx + 0.5f, body_bottom + point_bottom), ImVec2(x1 - 0.5f, body_bottom - 0.5f), kDark);
  } else if (point_top > 0) {
    dl->AddTriangleFilled(ImVec2(x0, body_top), ImVec2(tx + 0.5f, body_top - point_top), ImVec2(x1, body_top), face);
    vline(dl, x0, body_top, body_bottom, kLight);
    vline(dl, x1 - 1, body_top, body_bottom, kDark);
    hline(dl, x0, x1, body_bottom - 1, kDark);
    dl->AddLine(ImVec2(x0 + 0.5f, body_top), ImVec2(tx + 0.5f, body_top - point_top), kLight);
    dl->AddLine(ImVec2(tx + 0.5f, body_top - point_top), ImVec2(x1 - 0.5f, body_top), kDark);
  } else {
    detail::draw_raised(x0, body_top, x1, body_bottom);
  }
  if (!enabled) {
    // Disabled: the thumb is drawn hollow grey.
    dl->AddRectFilled(ImVec2(x0 + 2, body_top + 2), ImVec2(x1 - 2, body_bottom - 2), IM_COL32(224, 222, 216, 255));
  }
  if (form_->focused() == this && enabled) dotted_rect(dl, p.x, p.y, p.x + width, p.y + height);
}

std::string TrackBar::describe() const {
  return "<" + name + ": " + std::to_string(position_) + " in " + std::to_string(min_) + ".." +
         std::to_string(max_) + ">";
}

// ---- Form ----------------------------------------------------------------

Form::Form(const std::string& cap, int w, int h) : caption(cap), client_width(w), client_height(h) {}

Form::~Form() = default;

void Form::adopt(std::unique_ptr<Control> c) {
  c->form_ = this;
  c->font = font;
  controls_.push_back(std::move(c));
}

Control* Form::find(const std::string& control_name) {
  for (auto& c : controls_)
    if (c->name == control_name) return c.get();
  return nullptr;
}

void Form::focus(Control* c) {
  focus_ = c;
  focus_request_ = c;
}

Button* Form::default_button() {
  for (auto& c : controls_)
    if (auto* b = dynamic_cast<Button*>(c.get()); b && b->is_default && b->visible) return b;
  return nullptr;
}

Button* Form::cancel_button() {
  for (auto& c : controls_)
    if (auto* b = dynamic_cast<Button*>(c.get()); b && b->cancel && b->visible) return b;
  return nullptr;
}

void Form::run_deferred() {
  // Handlers may defer more work; run until none is left.
  for (int guard = 0; guard < 16 && !deferred_.empty(); ++guard) {
    std::vector<std::function<void()>> work;
    work.swap(deferred_);
    for (auto& fn : work) fn();
  }
}

ModalResult Form::finish(ModalResult r) {
  if (on_close) on_close(r);
  showing_ = false;
  deferred_.clear();
  modal_result = r;
  return r;
}

// Window of a showing form inside the ImGui frame.
class FormWindow : public detail::ModalWindow {
 public:
  explicit FormWindow(Form& f) : form_(f) {}
  void draw(bool active) override {
    ImGui::PushFont(detail::ui_font());
    ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(4, 3));
    const float title_h = ImGui::GetFrameHeight();
    const ImVec2 size(static_cast<float>(form_.client_width), form_.client_height + title_h);
    const ImGuiViewport* vp = ImGui::GetMainViewport();
    if (first_) {
      float x = std::floor(vp->Pos.x + (vp->Size.x - size.x) * 0.5f);
      float y = std::floor(vp->Pos.y + (vp->Size.y - size.y) * 0.5f);
      ImGui::SetNextWindowPos(ImVec2(std::max(0.0f, x), std::max(0.0f, y)));
      ImGui::SetNextWindowFocus();
    }
    ImGui::SetNextWindowSize(size);
    ImGuiWindowFlags flags = ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse |
                             ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollbar |
                             ImGuiWindowFlags_NoScrollWithMouse;
    if (!active) flags |= ImGuiWindowFlags_NoInputs;
    bool open = true;
    const std::string title = form_.caption + "###form" + std::to_string(reinterpret_cast<uintptr_t>(&form_));
    ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(255, 255, 255, 255));
    const bool visible = ImGui::Begin(title.c_str(), form_.close_box && active ? &open : nullptr, flags);
    ImGui::PopStyleColor();
    ImGui::PopStyleVar();
    if (visible) {
      const ImVec2 wp = ImGui::GetWindowPos();
      detail::set_client_origin(wp.x, wp.y + title_h);
      ImGui::GetWindowDrawList()->AddRectFilled(ImVec2(wp.x, wp.y + title_h),
                                                ImVec2(wp.x + size.x, wp.y + size.y), im_color(form_.color));
      ImGui::BeginDisabled(!active);
      form_.draw_contents();
      ImGui::EndDisabled();
    }
    ImGui::End();
    ImGui::PopFont();
    first_ = false;
    if (active) {
      if (!open) form_.defer([this] { form_.modal_result = ModalResult::Cancel; });
      if (detail::take_enter()) {
        if (Button* b = form_.default_button()) form_.defer([b] { b->click(); });
      }
      if (detail::take_escape()) {
        if (Button* b = form_.cancel_button()) form_.defer([b] { b->click(); });
      }
      accelerator_keys();
    }
  }

  // A button's '&' letter clicks it: alone while no edit box takes the
  // typing, with Alt always.
  void accelerator_keys() {
    const bool typing = ImGui::GetIO().WantTextInput;
    for (auto& c : form_.controls()) {
      auto* b = dynamic_cast<Button*>(c.get());
      if (!b || !b->visible || !b->enabled) continue;
      MenuItem tmp;
      tmp.caption = b->caption;
      const char a = tmp.accelerator();
      int sc = -1;
      if (a >= 'a' && a <= 'z') sc = SDL_SCANCODE_A + (a - 'a');
      if (a >= '1' && a <= '9') sc = SDL_SCANCODE_1 + (a - '1');
      if (a == '0') sc = SDL_SCANCODE_0;
      Uint16 mod = 0;
      if (sc >= 0 && detail::key_pressed(sc, &mod) && !(mod & KMOD_CTRL) && ((mod & KMOD_ALT) || !typing)) {
        form_.defer([b] { b->click(); });
        break;
      }
    }
  }
  void after_frame() override { form_.run_deferred(); }
  bool done() const override { return form_.modal_result != ModalResult::None; }
  void cancel() override { form_.modal_result = ModalResult::Cancel; }
  void idle() override {
    if (form_.on_idle) form_.on_idle();
    form_.run_deferred();
  }

 private:
  Form& form_;
  bool first_ = true;
};

void Form::draw_contents() {
  for (auto& c : controls_) c->draw();
}

ModalResult Form::show_modal() {
  if (showing_) return ModalResult::None;
  showing_ = true;
  modal_result = ModalResult::None;
  deferred_.clear();
  if (!focus_) {
    for (auto& c : controls_)
      if (dynamic_cast<Edit*>(c.get()) && c->visible && c->enabled) {
        focus(c.get());
        break;
      }
  } else {
    focus_request_ = focus_;
  }
  std::string scripted;
  if (!detail::gui_available()) return finish(show_headless(nullptr));
  if (detail::take_scripted_answer(scripted)) return finish(show_headless(&scripted));
  if (on_show) on_show();
  run_deferred();
  if (modal_result == ModalResult::None) {
    FormWindow w(*this);
    detail::run_modal(w);
  }
  return finish(modal_result == ModalResult::None ? ModalResult::Cancel : modal_result);
}

bool Form::apply_answer(const std::string& answer, ModalResult& result) {
  const std::string word = lower_trim(answer);
  auto click_or_cancel = [&](Button* b) {
    if (!b) {
      result = ModalResult::Ok;
      return;
    }
    if (!b->enabled) {
      std::fprintf(stderr, "[dialog] \"%s\": %s is disabled; closed instead\n", caption.c_str(),
                   b->describe().c_str());
      result = ModalResult::Cancel;
      return;
    }
    b->click();
    run_deferred();
    result = modal_result;
  };
  if (ModalResult wanted = result_from_word(word); wanted != ModalResult::None) {
    Button* hit = nullptr;
    for (auto& c : controls_)
      if (auto* b = dynamic_cast<Button*>(c.get()); b && b->visible && b->modal_result == wanted) {
        hit = b;
        break;
      }
    if (!hit && wanted == ModalResult::Ok) hit = default_button();
    if (!hit && wanted == ModalResult::Cancel) hit = cancel_button();
    if (!hit) {
      result = wanted;
      return true;
    }
    if (!hit->enabled) {
      click_or_cancel(hit);
      return true;
    }
    hit->click();
    run_deferred();
    result = modal_result;
    return true;
  }
  // NAME=VALUE;NAME=VALUE with every NAME a control of the form.
  std::vector<std::pair<Control*, std::string>> sets;
  bool assignments = answer.find('=') != std::string::npos;
  if (assignments) {
    size_t start = 0;
    while (start <= answer.size() && assignments) {
      size_t end = answer.find(';', start);
      if (end == std::string::npos) end = answer.size();
      const std::string part = answer.substr(start, end - start);
      const size_t eq = part.find('=');
      Control* c = eq == std::string::npos ? nullptr : find(part.substr(0, eq));
      if (!c) assignments = false;
      else sets.emplace_back(c, part.substr(eq + 1));
      start = end + 1;
    }
  }
  if (assignments) {
    for (auto& [c, value] : sets) {
      if (auto* e = dynamic_cast<Edit*>(c)) {
        e->set_text(value);
      } else if (auto* t = dynamic_cast<TrackBar*>(c)) {
        int v = 0;
        if (parse_int(value, v)) t->set_position(v);
        else std::fprintf(stderr, "[dialog] \"%s\": %s: not a number: %s\n", caption.c_str(), c->name.c_str(), value.c_str());
      } else {
        std::fprintf(stderr, "[dialog] \"%s\": %s cannot take a value\n", caption.c_str(), c->name.c_str());
      }
    }
    run_deferred();
    if (modal_result != ModalResult::None) {
      result = modal_result;
      return true;
    }
    click_or_cancel(default_button());
    return true;
  }
  // Plain text: the focused (else first) edit box, then the default button.
  Edit* edit = dynamic_cast<Edit*>(focus_);
  if (!edit)
    for (auto& c : controls_)
      if ((edit = dynamic_cast<Edit*>(c.get())) && edit->visible) break;
  if (!edit) return false;
  edit->set_text(answer);
  run_deferred();
  if (modal_result != ModalResult::None) {
    result = modal_result;
    return true;
  }
  click_or_cancel(default_button());
  return true;
}

ModalResult Form::show_headless(const std::string* first_answer) {
  if (on_show) on_show();
  run_deferred();
  std::string detail_text;
  for (auto& c : controls_) {
    if (!c->visible) continue;
    std::string d = c->describe();
    if (d.empty()) continue;
    if (!detail_text.empty()) detail_text += " | ";
    detail_text += d;
  }
  // A click that does not close the form takes the next answer.
  for (int round = 0; round < 32 && modal_result == ModalResult::None; ++round) {
    std::string answer;
    ModalResult r = ModalResult::None;
    const bool have = (round == 0 && first_answer) ? (answer = *first_answer, true) : take_answer(answer);
    if (!have) {
      Button* c = cancel_button();
      if (c && c->enabled) {
        c->click();
        run_deferred();
      }
      r = modal_result != ModalResult::None ? modal_result : ModalResult::Cancel;
      detail::log_dialog("dialog", caption, detail_text, std::string("(no answer) ") + modal_result_name(r));
      return r;
    }
    if (!apply_answer(answer, r)) {
      detail::log_dialog("dialog", caption, detail_text, "answer \"" + answer + "\" not understood");
      continue;
    }
    detail::log_dialog("dialog", caption, detail_text,
                       "answer \"" + answer + "\" " + (r == ModalResult::None ? "(still open)" : modal_result_name(r)));
    if (r != ModalResult::None) return r;
  }
  return modal_result != ModalResult::None ? modal_result : ModalResult::Cancel;
}

}  // namespace platform::forms
