// Message boxes drawn with Dear ImGui over the game's window.
#pragma once
#include <string>

#include "../msgbox.h"

namespace platform::forms {

// Shows a modal box: "OK"; "Yes"/"No" with No the default (Enter) and Esc
// giving No; "OK"/"Cancel" with OK the default and Esc giving Cancel.
// Without a window (headless, tests) it prints the box to stderr and answers
// from platform::take_answer, else with the box's default (OK; No; Cancel).
MsgResult show_message_box(const std::string& caption, const std::string& text,
                           MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::Info);

// Makes platform::message_box draw its boxes with show_message_box.
void install_message_box();

}  // namespace platform::forms
