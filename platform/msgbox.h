// Message boxes and the answers of dialogs. Headless, every box is printed to
// stderr and answered from the script ("answer VALUE") or a test's presets,
// else with its default (OK; No for Yes/No; cancel for dialogs).
#pragma once
#include <functional>
#include <string>

namespace platform {

enum class MsgButtons : uint8_t { Ok, YesNo, OkCancel };
enum class MsgIcon : uint8_t { None, Info, Warning, Error, Question };
enum class MsgResult : uint8_t { Ok, Cancel, Yes, No };

MsgResult message_box(const std::string& caption, const std::string& text,
                      MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::Info);

// A replacement for the window system's boxes (the egg game draws its own with
// platform/forms). Not used headless.
using MessageBoxHandler = std::function<MsgResult(const std::string& caption, const std::string& text,
                                                   MsgButtons, MsgIcon)>;
void set_message_box_handler(MessageBoxHandler handler);

// Answers queue. The script's answers become available at their frame.
void push_answer(const std::string& value);
bool take_answer(std::string& value);
void clear_answers();
// Maps an answer to a box result; unknown text gives the box's default.
MsgResult answer_to_result(const std::string& value, MsgButtons buttons);

}  // namespace platform
