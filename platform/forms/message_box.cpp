// Message boxes as forms: icon, text and a row of buttons, sized to the text.
#include "message_box.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "../display_sdl.h"
#include "../host.h"
#include "form.h"
#include "gui.h"

namespace platform::forms {

namespace {

class IconControl : public Control {
 public:
  MsgIcon icon = MsgIcon::Info;
  void draw() override {
    float ox, oy;
    detail::client_origin(ox, oy);
    ImDrawList* dl = ImGui::GetWindowDrawList();
    const ImVec2 c(ox + left + 16, oy + top + 16);
    uint32_t fill = IM_COL32(255, 255, 255, 255), ring = IM_COL32(0, 0, 160, 255), mark = IM_COL32(0, 0, 160, 255);
    const char* glyph = "i";
    switch (icon) {
      case MsgIcon::Error: fill = IM_COL32(224, 0, 0, 255); ring = IM_COL32(128, 0, 0, 255); mark = IM_COL32(255, 255, 255, 255); glyph = "X"; break;
      case MsgIcon::Question: glyph = "?"; break;
      case MsgIcon::Warning: {
        const ImVec2 a(c.x, c.y - 15), b(c.x - 16, c.y + 13), d(c.x + 16, c.y + 13);
        dl->AddTriangleFilled(a, b, d, IM_COL32(255, 224, 0, 255));
        dl->AddTriangle(a, b, d, IM_COL32(0, 0, 0, 255));
        ImFont* f = detail::font_for(14, true);
        const ImVec2 ts = f->CalcTextSizeA(f->FontSize, 1e9f, 0, "!");
        dl->AddText(f, f->FontSize, ImVec2(std::floor(c.x - ts.x * 0.5f), std::floor(c.y - ts.y * 0.5f + 3)), IM_COL32(0, 0, 0, 255), "!");
        return;
      }
      default: break;
    }
    dl->AddCircleFilled(c, 15, fill, 32);
    dl->AddCircle(c, 15, ring, 32, 1.5f);
    ImFont* f = detail::font_for(14, true);
    const ImVec2 ts = f->CalcTextSizeA(f->FontSize, 1e9f, 0, glyph);
    dl->AddText(f, f->FontSize, ImVec2(std::floor(c.x - ts.x * 0.5f), std::floor(c.y - ts.y * 0.5f)), mark, glyph);
  }
  std::string describe() const override { return {}; }
};

MsgResult to_msg(ModalResult r, MsgButtons buttons) {
  switch (r) {
    case ModalResult::Ok: return MsgResult::Ok;
    case ModalResult::Yes: return MsgResult::Yes;
    case ModalResult::No: return MsgResult::No;
    case ModalResult::Cancel: return buttons == MsgButtons::YesNo ? MsgResult::No
                                     : buttons == MsgButtons::Ok  ? MsgResult::Ok
                                                                  : MsgResult::Cancel;
    default: return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
  }
}

const char* result_word(MsgResult r) {
  switch (r) {
    case MsgResult::Ok: return "ok";
    case MsgResult::Cancel: return "cancel";
    case MsgResult::Yes: return "yes";
    default: return "no";
  }
}

const char* buttons_text(MsgButtons b) {
  switch (b) {
    case MsgButtons::YesNo: return "[Yes] [No]";
    case MsgButtons::OkCancel: return "[OK] [Cancel]";
    default: return "[OK]";
  }
}

MsgResult answered_box(const std::string& caption, const std::string& text, MsgButtons buttons,
                       const std::string* first_answer = nullptr) {
  std::string answer;
  const bool have = first_answer ? (answer = *first_answer, true) : take_answer(answer);
  const MsgResult r = answer_to_result(have ? answer : std::string(), buttons);
  std::string flat = text;
  std::replace(flat.begin(), flat.end(), '\n', ' ');
  detail::log_dialog("message", caption, flat + " " + buttons_text(buttons),
                     (have ? "answer \"" + answer + "\" " : std::string("(no answer) ")) + result_word(r));
  return r;
}

// Without our window but with SDL video: the system's own box.
bool sdl_box(const std::string& caption, const std::string& text, MsgButtons buttons, MsgIcon icon, MsgResult& out) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  SDL_MessageBoxButtonData bs[2];
  int n = 0;
  switch (buttons) {
    case MsgButtons::YesNo:
      bs[0] = {0, static_cast<int>(MsgResult::Yes), "Yes"};
      bs[1] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
               static_cast<int>(MsgResult::No), "No"};
      n = 2;
      break;
    case MsgButtons::OkCancel:
      bs[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, static_cast<int>(MsgResult::Ok), "OK"};
      bs[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, static_cast<int>(MsgResult::Cancel), "Cancel"};
      n = 2;
      break;
    default:
      bs[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
               static_cast<int>(MsgResult::Ok), "OK"};
      n = 1;
  }
  Uint32 flags = icon == MsgIcon::Error ? SDL_MESSAGEBOX_ERROR
                 : icon == MsgIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                            : SDL_MESSAGEBOX_INFORMATION;
  SDL_MessageBoxData data{flags, nullptr, caption.c_str(), text.c_str(), n, bs, nullptr};
  int hit = -1;
  if (SDL_ShowMessageBox(&data, &hit) != 0) return false;
  out = hit < 0 ? to_msg(ModalResult::Cancel, buttons) : static_cast<MsgResult>(hit);
  return true;
}

}  // namespace

MsgResult show_message_box(const std::string& caption, const std::string& text, MsgButtons buttons, MsgIcon icon) {
  if (!detail::gui_available() || !detail::gui_ensure()) {
    MsgResult r;
    if (!headless() && sdl_box(caption, text, buttons, icon, r)) return r;
    return answered_box(caption, text, buttons);
  }
  if (std::string scripted; detail::take_scripted_answer(scripted)) return answered_box(caption, text, buttons, &scripted);

  Form f(caption, 200, 100);
  f.name = "MessageBox";
  ImFont* font = detail::font_for(f.font.size, false);
  // Lines wrap at 420 pixels, or narrower so the box fits a small window.
  int win_w = 640, win_h = 480;
  SDL_GetWindowSize(display_sdl_window(), &win_w, &win_h);
  const float wrap = std::clamp(static_cast<float>(win_w - 100), 150.0f, 420.0f);
  const ImVec2 ts = font->CalcTextSizeA(font->FontSize, 1e9f, wrap, text.c_str());
  const bool has_icon = icon != MsgIcon::None;
  const int margin = 12;
  const int text_x = has_icon ? 60 : 18;
  const int text_w = static_cast<int>(std::ceil(ts.x));
  const int text_h = std::max(static_cast<int>(std::ceil(ts.y)), 13);
  const int body_h = std::max(text_h, has_icon ? 32 : 0);
  const int text_y = margin + 6 + (body_h - text_h) / 2;

  struct ButtonDef { const char* caption; ModalResult result; };
  std::vector<ButtonDef> button_defs;
  switch (buttons) {
    case MsgButtons::YesNo: button_defs = {{"&Yes", ModalResult::Yes}, {"&No", ModalResult::No}}; break;
    case MsgButtons::OkCancel: button_defs = {{"OK", ModalResult::Ok}, {"Cancel", ModalResult::Cancel}}; break;
    default: button_defs = {{"OK", ModalResult::Ok}};
  }
  const int bw = 75, bh = 23, gap = 6;
  const int row_w = static_cast<int>(button_defs.size()) * bw + (static_cast<int>(button_defs.size()) - 1) * gap;
  f.client_width = std::max({text_x + text_w + 18, row_w + 2 * margin, 160});
  const int by = margin + 6 + body_h + 16;
  f.client_height = by + bh + margin;
  f.close_box = buttons != MsgButtons::YesNo;  // as Windows: a Yes/No box has no close box

  if (has_icon) {
    auto& ic = f.add<IconControl>("Icon", 14, margin + 6 + (body_h - 32) / 2, 32, 32);
    ic.icon = icon;
  }
  auto& msg = f.add<StaticText>("Text", text_x, text_y, static_cast<int>(wrap), text_h + 2);
  msg.caption = text;
  msg.word_wrap = true;
  int bx = (f.client_width - row_w) / 2;
  for (const ButtonDef& s : button_defs) {
    auto& b = f.add<Button>(std::string("Btn") + modal_result_name(s.result), bx, by, bw, bh);
    b.caption = s.caption;
    b.modal_result = s.result;
    bx += bw + gap;
  }
  // Defaults: OK; No for Yes/No (Esc gives No as well); Cancel on Esc.
  auto* ok = f.find_as<Button>("Btnok");
  auto* cancel = f.find_as<Button>("Btncancel");
  auto* no = f.find_as<Button>("Btnno");
  if (buttons == MsgButtons::YesNo) {
    no->is_default = true;
    no->cancel = true;
    f.focus(no);  // the focused button takes Space, and Tab moves on
  } else {
    ok->is_default = true;
    (cancel ? cancel : ok)->cancel = true;
    f.focus(ok);
  }
  return to_msg(f.show_modal(), buttons);
}

void install_message_box() { set_message_box_handler(&show_message_box); }

}  // namespace platform::forms
