// The input script: lines "FRAME EVENT ARGS", '#' starts a comment.
//   120 move 250 300          pointer to frame point (250, 300)
//   121 down left | 122 up right
//   130 key F1 [shift] [ctrl] [alt]   press and release
//   131 keydown Left | 140 keyup Left
//   150 menu EasyItem         click a menu item by its component name
//   160 focus lost|gained
//   170 answer yes            reply of the next dialog (ok, cancel, yes, no, a text, a path)
//   180 joy x -20000          joystick axis x|y|N, value -32768..32767
//   181 joybutton 0 down|up
//   190 wheel -1
//   200 text hello            typed text
//   900 quit
#pragma once
#include <string>
#include <vector>

#include "events.h"

namespace platform {

struct ScriptEvent {
  long frame = 0;
  enum Kind { Event, Answer } kind = Event;
  platform::Event event;  // for Event
  std::string answer;     // for Answer
  int line = 0;
};

// Parses a script; on a bad line returns false with "FILE:LINE: reason".
bool parse_script(const std::string& text, const std::string& name,
                  std::vector<ScriptEvent>& out, std::string& error);
bool load_script(const std::string& path, std::vector<ScriptEvent>& out, std::string& error);

}  // namespace platform
