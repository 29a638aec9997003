// Input script parser.
#include "script.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "files.h"
#include "text_util.h"

namespace platform {
namespace {

using detail::lower;
using detail::to_long;



bool mouse_button(const std::string& s, uint8_t& b) {
  std::string l = lower(s);
  if (l == "left") b = MouseLeft;
  else if (l == "right") b = MouseRight;
  else if (l == "middle") b = MouseMiddle;
  else return false;
  return true;
}

// The rest of the line after the first `skip` words, as written (for text and answers).
std::string tail(const std::string& line, int skip) {
  size_t pos = 0;
  for (int i = 0; i < skip; ++i) {
    while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos]))) ++pos;
    while (pos < line.size() && !std::isspace(static_cast<unsigned char>(line[pos]))) ++pos;
  }
  while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos]))) ++pos;
  std::string t = line.substr(pos);
  while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.pop_back();
  return t;
}

}  // namespace

bool parse_script(const std::string& text, const std::string& name, std::vector<ScriptEvent>& out,
                  std::string& error) {
  out.clear();
  std::istringstream in(text);
  std::string raw;
  int line_no = 0;
  auto fail = [&](const std::string& why) {
    error = name + ":" + std::to_string(line_no) + ": " + why;
    out.clear();
    return false;
  };
  while (std::getline(in, raw)) {
    ++line_no;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    // A '#' starts a comment, except inside the free text of "text" and "answer".
    std::istringstream words(raw);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.empty() || w[0][0] == '#') continue;

    ScriptEvent se;
    se.line = line_no;
    long frame;
    if (!to_long(w[0], frame) || frame < 0) return fail("frame number expected, got \"" + w[0] + "\"");
    se.frame = frame;
    if (w.size() < 2) return fail("event expected after the frame number");
    std::string ev = lower(w[1]);
    // Drop a trailing comment for the structured events.
    std::vector<std::string> args;
    for (size_t i = 2; i < w.size(); ++i) {
      if (w[i][0] == '#') break;
      args.push_back(w[i]);
    }
    Event& e = se.event;
    auto need = [&](size_t n, const char* usage) -> bool {
      if (args.size() != n) {
        fail(std::string("usage: FRAME ") + usage);
        return false;
      }
      return true;
    };
    if (ev == "move") {
      if (!need(2, "move X Y")) return false;
      long x, y;
      if (!to_long(args[0], x) || !to_long(args[1], y)) return fail("move: X and Y must be whole numbers");
      e.type = EventType::MouseMove;
      e.x = int(x);
      e.y = int(y);
    } else if (ev == "down" || ev == "up") {
      if (!need(1, "down|up left|right|middle")) return false;
      if (!mouse_button(args[0], e.button)) return fail(ev + ": button must be left, right or middle");
      e.type = ev == "down" ? EventType::MouseDown : EventType::MouseUp;
    } else if (ev == "key" || ev == "keydown" || ev == "keyup") {
      if (args.empty()) return fail(ev + ": key name expected");
      e.key = key_from_name(args[0]);
      if (e.key == Key::None) return fail(ev + ": unknown key \"" + args[0] + "\"");
      for (size_t i = 1; i < args.size(); ++i) {
        std::string m = lower(args[i]);
        if (ev != "key") return fail(ev + ": modifiers are only for \"key\"");
        if (m == "shift") e.shift = true;
        else if (m == "ctrl") e.ctrl = true;
        else if (m == "alt") e.alt = true;
        else return fail("key: unknown modifier \"" + args[i] + "\" (shift, ctrl or alt)");
      }
      e.type = ev == "keyup" ? EventType::KeyUp : EventType::KeyDown;
      if (ev == "key") {
        // Press and release: the release follows as a second event of the same frame.
        out.push_back(se);
        se.event.type = EventType::KeyUp;
      }
    } else if (ev == "text") {
      std::string t = tail(raw, 2);
      if (t.empty()) return fail("text: text expected");
      e.type = EventType::TextInput;
      e.text = t;
    } else if (ev == "wheel") {
      if (!need(1, "wheel N")) return false;
      long n;
      if (!to_long(args[0], n)) return fail("wheel: N must be a whole number");
      e.type = EventType::MouseWheel;
      e.dy = int(n);
    } else if (ev == "menu") {
      if (!need(1, "menu ITEMNAME")) return false;
      e.type = EventType::MenuCommand;
      e.text = args[0];
    } else if (ev == "focus") {
      if (!need(1, "focus lost|gained")) return false;
      std::string f = lower(args[0]);
      if (f == "lost") e.type = EventType::FocusLost;
      else if (f == "gained") e.type = EventType::FocusGained;
      else return fail("focus: lost or gained expected");
    } else if (ev == "answer") {
      std::string t = tail(raw, 2);
      if (t.empty()) return fail("answer: value expected");
      se.kind = ScriptEvent::Answer;
      se.answer = t;
    } else if (ev == "joy") {
      if (!need(2, "joy x|y|AXIS VALUE")) return false;
      std::string a = lower(args[0]);
      long axis, value;
      if (a == "x") axis = 0;
      else if (a == "y") axis = 1;
      else if (!to_long(a, axis) || axis < 0 || axis > 7) return fail("joy: axis must be x, y or 0..7");
      if (!to_long(args[1], value) || value < -32768 || value > 32767)
        return fail("joy: value must be -32768..32767");
      e.type = EventType::JoyAxis;
      e.axis = int(axis);
      e.value = int(value);
    } else if (ev == "joybutton") {
      if (!need(2, "joybutton N down|up")) return false;
      long n;
      if (!to_long(args[0], n) || n < 0 || n > 31) return fail("joybutton: N must be 0..31");
      std::string s = lower(args[1]);
      if (s == "down") e.type = EventType::JoyButtonDown;
      else if (s == "up") e.type = EventType::JoyButtonUp;
      else return fail("joybutton: down or up expected");
      e.button = uint8_t(n);
    } else if (ev == "quit") {
      if (!need(0, "quit")) return false;
      e.type = EventType::Quit;
    } else {
      return fail("unknown event \"" + w[1] + "\"");
    }
    out.push_back(se);
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
  return true;
}

bool load_script(const std::string& path, std::vector<ScriptEvent>& out, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!read_file(path, bytes, 64u << 20)) {
    error = path + ": cannot read the input script";
    return false;
  }
  return parse_script(std::string(bytes.begin(), bytes.end()), path, out, error);
}

}  // namespace platform
