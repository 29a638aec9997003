// Message boxes: the window system's (SDL), a replacement handler, or headless
// answers from the script.
#include "msgbox.h"

#include <SDL.h>

#include <cctype>
#include <cstdio>
#include <deque>

#include "display_sdl.h"
#include "host.h"
#include "text_util.h"

namespace platform {
namespace {

using detail::lower;

MessageBoxHandler g_handler;
std::deque<std::string> g_answers;


MsgResult default_result(MsgButtons b) {
  switch (b) {
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::OkCancel: return MsgResult::Cancel;
    default: return MsgResult::Ok;
  }
}

const char* result_name(MsgResult r) {
  switch (r) {
    case MsgResult::Ok: return "ok";
    case MsgResult::Cancel: return "cancel";
    case MsgResult::Yes: return "yes";
    case MsgResult::No: return "no";
  }
  return "?";
}

MsgResult sdl_box(const std::string& caption, const std::string& text, MsgButtons buttons, MsgIcon icon) {
  SDL_MessageBoxButtonData yesno[] = {
      {0, int(MsgResult::Yes), "Yes"},
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(MsgResult::No), "No"},
  };
  SDL_MessageBoxButtonData okcancel[] = {
      {0, int(MsgResult::Ok), "OK"},
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(MsgResult::Cancel),
       "Cancel"},
  };
  SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(MsgResult::Ok), "OK"},
  };
  SDL_MessageBoxData data{};
  data.flags = icon == MsgIcon::Error     ? SDL_MESSAGEBOX_ERROR
               : icon == MsgIcon::Warning ? SDL_MESSAGEBOX_WARNING
                                          : SDL_MESSAGEBOX_INFORMATION;
  data.window = display_sdl_window();
  data.title = caption.c_str();
  data.message = text.c_str();
  if (buttons == MsgButtons::YesNo) {
    data.numbuttons = 2;
    data.buttons = yesno;
  } else if (buttons == MsgButtons::OkCancel) {
    data.numbuttons = 2;
    data.buttons = okcancel;
  } else {
    data.numbuttons = 1;
    data.buttons = ok;
  }
  int id = -1;
  if (SDL_ShowMessageBox(&data, &id) != 0 || id < 0) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return default_result(buttons);
  }
  return MsgResult(id);
}

}  // namespace

MsgResult answer_to_result(const std::string& value, MsgButtons buttons) {
  std::string v = lower(value);
  switch (buttons) {
    case MsgButtons::YesNo:
      if (v == "yes" || v == "y" || v == "ok") return MsgResult::Yes;
      if (v == "no" || v == "n" || v == "cancel") return MsgResult::No;
      break;
    case MsgButtons::OkCancel:
      if (v == "ok" || v == "yes") return MsgResult::Ok;
      if (v == "cancel" || v == "no") return MsgResult::Cancel;
      break;
    case MsgButtons::Ok:
      return MsgResult::Ok;
  }
  return default_result(buttons);
}

MsgResult message_box(const std::string& caption, const std::string& text, MsgButtons buttons, MsgIcon icon) {
  if (headless()) {
    std::string answer;
    MsgResult r = take_answer(answer) ? answer_to_result(answer, buttons) : default_result(buttons);
    std::fprintf(stderr, "[message box] %s: %s -> %s\n", caption.c_str(), text.c_str(), result_name(r));
    return r;
  }
  if (g_handler) return g_handler(caption, text, buttons, icon);
  return sdl_box(caption, text, buttons, icon);
}

void set_message_box_handler(MessageBoxHandler handler) { g_handler = std::move(handler); }

void push_answer(const std::string& value) { g_answers.push_back(value); }

bool take_answer(std::string& value) {
  if (g_answers.empty()) return false;
  value = g_answers.front();
  g_answers.pop_front();
  return true;
}

void clear_answers() { g_answers.clear(); }

}  // namespace platform
