// VCL-flavoured dialogs: a form of controls placed in pixels (labels, static
// texts, buttons, edit boxes, horizontal track bars) shown modally.
//
// show_modal() stops the caller until the form closes: with a window it runs
// its own event and draw loop over the last presented frame; headless (or with
// no window) it prints what was asked to stderr and takes its answer from
// platform::take_answer (see Form::show_modal).
//
// Handlers (on_click, on_change, on_show, on_close) always run outside the
// drawing of a frame, so they may open further dialogs or message boxes.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::forms {

enum class ModalResult : uint8_t { None, Ok, Cancel, Yes, No };
const char* modal_result_name(ModalResult r);  // "none", "ok", "cancel", "yes", "no"

// Colours are 0x00RRGGBB.
constexpr uint32_t clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0xFF0000, clGreen = 0x008000,
                   clBlue = 0x0000FF, clNavy = 0x000080, clMaroon = 0x800000, clPurple = 0x800080,
                   clTeal = 0x008080, clOlive = 0x808000, clYellow = 0xFFFF00, clLime = 0x00FF00,
                   clFuchsia = 0xFF00FF, clAqua = 0x00FFFF, clGray = 0x808080, clSilver = 0xC0C0C0,
                   clBtnFace = 0xD4D0C8, clWindow = 0xFFFFFF, clGrayText = 0x808080;

struct Font {
  std::string name = "MS Sans Serif";  // drawn with the nearest DejaVu face
  int size = 8;                         // points (96 dpi: 8 pt is 11 pixels)
  bool bold = false;
  uint32_t color = clBlack;
};

enum class Alignment : uint8_t { Left, Center, Right };

class Form;

class Control {
 public:
  virtual ~Control() = default;
  std::string name;
  int left = 0, top = 0, width = 0, height = 0;  // client pixels
  bool visible = true;
  bool enabled = true;
  Font font;  // the form's font when the control is added
  Form* form() const { return form_; }

  // Drawing inside a frame (forms internals).
  virtual void draw() = 0;
  // One-line description for the headless log.
  virtual std::string describe() const = 0;

 protected:
  Form* form_ = nullptr;
  friend class Form;
};

// A caption drawn on the form's background. A Label sizes itself to its text
// (width 0); a StaticText keeps its box and clips, aligning inside it.
class Label : public Control {
 public:
  std::string caption;
  Alignment alignment = Alignment::Left;
  bool auto_size = true;
  bool word_wrap = false;
  bool transparent = true;
  uint32_t color = clBtnFace;  // background when not transparent
  void draw() override;
  std::string describe() const override;
};

class StaticText : public Label {
 public:
  StaticText() { auto_size = false; }
};

class Button : public Control {
 public:
  std::string caption;
  bool is_default = false;  // Enter clicks it
  bool cancel = false;      // Esc clicks it
  ModalResult modal_result = ModalResult::None;  // given to the form when clicked
  std::function<void()> on_click;
  // Clicks as the user would: nothing when disabled or hidden. The form takes
  // the button's modal result first, then on_click runs (and may change it).
  bool click();
  void draw() override;
  std::string describe() const override;
};

class Edit : public Control {
 public:
  int max_length = 0;  // characters; 0 is unlimited
  std::function<void()> on_change;
  const std::string& text() const { return text_; }
  // Sets the text (cut to max_length); on_change runs when it changed.
  void set_text(const std::string& text);
  void draw() override;
  std::string describe() const override;

 private:
  std::string text_;
  friend struct EditAccess;
};

enum class TickMarks : uint8_t { BottomRight, TopLeft, Both };
enum class TickStyle : uint8_t { None, Auto };

// Horizontal track bar in the manner of the Windows common control: a channel,
// a thumb (pointing down with ticks below), tick marks every `frequency`
// positions, and a selection range shown in the channel.
class TrackBar : public Control {
 public:
  int frequency = 1;
  int line_size = 1;  // arrow keys
  int page_size = 2;  // page keys and clicks on the channel
  TickMarks tick_marks = TickMarks::BottomRight;
  TickStyle tick_style = TickStyle::Auto;
  bool show_sel_range = true;
  std::function<void()> on_change;

  int min() const { return min_; }
  int max() const { return max_; }
  int position() const { return position_; }
  int sel_start() const { return sel_start_; }
  int sel_end() const { return sel_end_; }
  // A reversed range is put in order; the position and selection are kept inside it.
  void set_range(int min, int max);
  // Clamped into the range; on_change runs when the position changed.
  void set_position(int position);
  void set_selection(int start, int end);

  void draw() override;
  std::string describe() const override;
  // Position under a client x (for the drawing and tests).
  int position_at(int client_x) const;
  int x_of(int position) const;  // client x of a position's tick

 private:
  int min_ = 0, max_ = 10, position_ = 0, sel_start_ = 0, sel_end_ = 0;
  bool dragging_ = false;
};

class Form {
 public:
  Form() = default;
  Form(const std::string& caption, int client_width, int client_height);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  std::string name;  // for the log
  std::string caption;
  int client_width = 300, client_height = 200;
  uint32_t color = clBtnFace;
  Font font;           // default font of added controls
  bool close_box = true;  // the title bar's close box (closing gives Cancel and runs no button)

  std::function<void()> on_show;                 // before the form is first drawn
  std::function<void(ModalResult&)> on_close;    // when it closes; may change the result
  std::function<void()> on_idle;                 // every pass of the modal loop (window only)

  // Controls, drawn in the order added.
  template <class T>
  T& add(const std::string& control_name, int left, int top, int width = 0, int height = 0) {
    auto c = std::make_unique<T>();
    T& ref = *c;
    c->name = control_name;
    c->left = left;
    c->top = top;
    c->width = width;
    c->height = height;
    adopt(std::move(c));
    return ref;
  }
  Control* find(const std::string& control_name);
  template <class T>
  T* find_as(const std::string& control_name) { return dynamic_cast<T*>(find(control_name)); }
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  // The control that has the keyboard focus when the form shows (or now).
  void focus(Control* c);
  Control* focused() const { return focus_; }
  // Tab order: the visible, enabled edit boxes, buttons and track bars, in
  // the order added. Tab and Shift+Tab move along it; Space (or Enter)
  // clicks a focused button.
  Control* next_focus(Control* from, bool backwards) const;
  void note_focus(Control* c) { focus_ = c; }  // the user clicked it (forms internals)

  Button* default_button();
  Button* cancel_button();

  // Closes a showing form with this result (from a handler).
  void close(ModalResult r) { modal_result = r; }
  ModalResult modal_result = ModalResult::None;

  // Shows the form and returns when it closes.
  //
  // Headless / without a window: the form is described on stderr and one
  // answer is taken from the queue: "ok", "yes", "no", "cancel" click the
  // button with that modal result (or close with it); "NAME=VALUE;NAME=VALUE"
  // sets edit boxes and track bars by name and then clicks the default
  // button; any other text goes into the focused (else the first) edit box,
  // cut to its length limit, and then clicks the default button. A disabled
  // default button is not clicked: the form then closes with Cancel, as if
  // its close box had been used. With no answer queued the cancel button is
  // clicked (else the form closes with Cancel).
  ModalResult show_modal();
  bool showing() const { return showing_; }

  // Forms internals: the frame's deferred handlers.
  void defer(std::function<void()> fn) { deferred_.push_back(std::move(fn)); }
  void run_deferred();
  bool wants_focus(const Control* c) const { return focus_request_ == c; }
  void focus_taken() { focus_request_ = nullptr; }

 protected:
  virtual void draw_contents();  // window only, inside a frame

 private:
  void adopt(std::unique_ptr<Control> c);
  ModalResult show_headless(const std::string* first_answer);
  ModalResult finish(ModalResult r);
  bool apply_answer(const std::string& answer, ModalResult& result);
  friend class FormWindow;

  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::function<void()>> deferred_;
  Control* focus_ = nullptr;
  const Control* focus_request_ = nullptr;
  bool showing_ = false;
};

// UTF-8 helpers shared with the edit box.
size_t utf8_length(const std::string& s);
std::string utf8_prefix(const std::string& s, size_t chars);

}  // namespace platform::forms
