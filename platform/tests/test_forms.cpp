// Menu model, and the forms' headless answers (no window: every dialog takes
// its answer from the queue or its default).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/forms/file_dialog.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"
#include "platform/forms/menubar.h"
#include "platform/forms/message_box.h"
#include "platform/msgbox.h"

using namespace platform;
using namespace platform::forms;

namespace {

// A menu shaped like the egg game's: nested submenus, separators, a hidden
// item with a shortcut, disabled entries.
struct GameMenu : ::testing::Test {
  Menu menu;
  std::vector<std::string> ran;

  void SetUp() override {
    clear_answers();
    MenuItem& file = menu.add("FileMenu", "&File");
    MenuItem& start = file.add("GameStart", "&New Game");
    item(start, "EasyItem", "&Easy", {Key::F1});
    item(start, "NormalItem", "&Normal", {Key::F2});
    item(file, "ContinuItem", "&Continue", {Key::F4});
    file.add_separator().name = "N1";
    MenuItem& sel = file.add("SelectStart", "&Select Stage");
    item(sel, "EasySelItem", "&Easy", {Key::F1, true});
    item(file, "PauseItem", "&Pause");
    item(file, "ExitItem", "E&xit");
    MenuItem& opt = menu.add("OptionMenu", "&Option");
    item(opt, "SFXOptionItem", "&Sound Effects").checked = true;
    MenuItem& adv = opt.add("N6", "&Advanced Option");
    item(adv, "Btitem", "???", {Key::B, false, true}).visible = false;
    item(adv, "NoWaitItem", "&No Wait");
    MenuItem& hidden_sub = opt.add("HiddenSub", "Hidden");
    hidden_sub.visible = false;
    item(hidden_sub, "InHidden", "In hidden");
    MenuItem& off_sub = opt.add("OffSub", "Off");
    off_sub.enabled = false;
    item(off_sub, "InOff", "In off", {Key::F9});
    item(opt, "OffItem", "Off item", {Key::F7}).enabled = false;
  }
  MenuItem& item(MenuItem& parent, const std::string& name, const std::string& caption, Shortcut sc = {}) {
    MenuItem& it = parent.add(name, caption, sc);
    it.on_click = [this, name] { ran.push_back(name); };
    return it;
  }
};

TEST_F(GameMenu, FindsItemsAtAnyDepth) {
  ASSERT_NE(menu.find("EasyItem"), nullptr);
  EXPECT_EQ(menu.find("EasyItem")->caption, "&Easy");
  EXPECT_EQ(menu.find("Btitem")->shortcut.key, Key::B);
  EXPECT_EQ(menu.find("FileMenu"), menu.root.items[0].get());
  EXPECT_EQ(menu.find("NoSuchItem"), nullptr);
  EXPECT_EQ(menu.find(""), nullptr);  // unnamed separators are not found by ""
}

TEST_F(GameMenu, ClickHonoursKindEnabledAndVisible) {
  struct Case { const char* name; bool runs; } cases[] = {
      {"EasyItem", true},      // nested two deep, enabled
      {"ExitItem", true},
      {"Btitem", false},       // hidden item: not clickable (its shortcut still works)
      {"InHidden", false},     // inside a hidden submenu
      {"InOff", false},        // inside a disabled submenu
      {"OffItem", false},      // disabled item
      {"GameStart", false},    // a submenu is not a command
      {"N1", false},           // a separator
      {"Nothing", false},      // unknown
  };
  for (const Case& c : cases) {
    ran.clear();
    EXPECT_EQ(menu.can_click(c.name), c.runs) << c.name;
    EXPECT_EQ(menu.click(c.name), c.runs) << c.name;
    EXPECT_EQ(ran.size(), c.runs ? 1u : 0u) << c.name;
    if (c.runs) {
      EXPECT_EQ(ran[0], c.name);
    }
  }
}

TEST_F(GameMenu, ShortcutsMatchModifiersAndKeepWorkingWhenHidden) {
  struct Case { Shortcut sc; const char* runs; } cases[] = {
      {{Key::F1}, "EasyItem"},
      {{Key::F1, true}, "EasySelItem"},        // Shift+F1 is another item
      {{Key::B, false, true}, "Btitem"},       // hidden item keeps Ctrl+B
      {{Key::B}, nullptr},                     // plain B is no shortcut
      {{Key::F7}, nullptr},                    // disabled item
      {{Key::F9}, nullptr},                    // enabled item in a disabled submenu
      {{Key::F1, false, false, true}, nullptr},  // Alt+F1
      {{Key::None}, nullptr},
  };
  for (const Case& c : cases) {
    ran.clear();
    const bool hit = menu.handle_shortcut(c.sc.key, c.sc.shift, c.sc.ctrl, c.sc.alt);
    EXPECT_EQ(hit, c.runs != nullptr) << c.sc.text();
    if (c.runs) {
      ASSERT_EQ(ran.size(), 1u);
      EXPECT_EQ(ran[0], c.runs);
    } else {
      EXPECT_TRUE(ran.empty()) << c.sc.text();
    }
  }
  // Disabling the parent menu blocks its items' shortcuts, as during play.
  menu.find("GameStart")->enabled = false;
  EXPECT_FALSE(menu.handle_shortcut(Key::F1, false, false, false));
  EXPECT_EQ(menu.shortcut_item(Key::F1, false, false, false), nullptr);
}

TEST_F(GameMenu, MenuBarRoutesCommandsAndShortcutKeys) {
  MenuBar::attach(menu);
  Event ev;
  ev.type = EventType::MenuCommand;
  ev.text = "PauseItem";
  EXPECT_TRUE(MenuBar::handle_event(ev));
  ev.text = "OffItem";                      // disabled: used up, not run
  EXPECT_TRUE(MenuBar::handle_event(ev));
  Event key;
  key.type = EventType::KeyDown;
  key.key = Key::F4;
  EXPECT_TRUE(MenuBar::handle_event(key));
  key.repeat = true;                        // auto-repeat does not run it again
  EXPECT_FALSE(MenuBar::handle_event(key));
  key.repeat = false;
  key.key = Key::P;
  EXPECT_FALSE(MenuBar::handle_event(key));  // the game's own key
  MenuBar::set_route_shortcuts(false);
  key.key = Key::F4;
  EXPECT_FALSE(MenuBar::handle_event(key));
  MenuBar::set_route_shortcuts(true);
  EXPECT_EQ(MenuBar::dispatch(), 0);        // nothing clicked on a bar headless
  EXPECT_EQ(ran, (std::vector<std::string>{"PauseItem", "ContinuItem"}));
  MenuBar::detach();
  EXPECT_FALSE(MenuBar::handle_event(ev));
}

TEST(MenuCaption, PlainCaptionAndAccelerator) {
  struct Case { const char* caption; const char* plain; char accel; int index; } cases[] = {
      {"&File", "File", 'f', 0},
      {"E&xit", "Exit", 'x', 1},
      {"BG&M", "BGM", 'm', 2},
      {"Open &Replay File...", "Open Replay File...", 'r', 5},
      {"Don't use MMTimer", "Don't use MMTimer", 0, -1},
      {"???", "???", 0, -1},
      {"&&Save", "&Save", 0, -1},
      {"Fish && &Chips", "Fish & Chips", 'c', 7},
      {"A&&&B", "A&B", 'b', 2},
      {"Trailing&", "Trailing", 0, -1},
      {"", "", 0, -1},
  };
  for (const Case& c : cases) {
    MenuItem it;
    it.caption = c.caption;
    EXPECT_EQ(it.plain_caption(), c.plain) << c.caption;
    EXPECT_EQ(it.accelerator(), c.accel) << c.caption;
    EXPECT_EQ(it.accelerator_index(), c.index) << c.caption;
  }
  MenuItem sep;
  sep.caption = "-";
  EXPECT_TRUE(sep.is_separator());
}

TEST(MenuShortcut, Text) {
  struct Case { Shortcut sc; const char* text; } cases[] = {
      {{Key::F1}, "F1"},
      {{Key::F1, true}, "Shift+F1"},
      {{Key::B, false, true}, "Ctrl+B"},
      {{Key::F10}, "F10"},
      {{Key::A, true, true}, "Shift+Ctrl+A"},
      {{Key::Return, false, false, true}, "Alt+Enter"},
      {{Key::Delete}, "Del"},
      {{Key::Num5, false, true}, "Ctrl+5"},
      {{Key::None}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.sc.text(), c.text);
}

// ---- Forms ---------------------------------------------------------------

// The name-entry dialog's shape: an edit box of at most 16 characters and an
// OK button enabled only while the name is not empty.
struct NameForm : ::testing::Test {
  Form form{"Congratulations!", 232, 122};
  Edit* name = nullptr;
  Button* ok = nullptr;
  int changes = 0;
  void SetUp() override {
    clear_answers();
    form.add<StaticText>("Omedeto", 16, 8, 199, 20).caption = "You've earned a high score!";
    name = &form.add<Edit>("HiName", 12, 92, 133, 21);
    name->max_length = 16;
    ok = &form.add<Button>("OkBtn", 152, 92, 73, 21);
    ok->caption = "OK";
    ok->is_default = true;
    ok->modal_result = ModalResult::Ok;
    ok->enabled = false;
    name->on_change = [this] {
      ++changes;
      ok->enabled = !name->text().empty();
    };
  }
};

TEST_F(NameForm, AnsweredTextIsCutToTheLengthLimitThenOk) {
  push_answer("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(form.show_modal(), ModalResult::Ok);
  EXPECT_EQ(name->text(), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(form.showing());
}

TEST_F(NameForm, LengthLimitCountsCharactersNotBytes) {
  push_answer("\xC3\x84\xC3\x96\xC3\x9C" "abcdefghijklmnopq");  // ÄÖÜ + 17 letters
  EXPECT_EQ(form.show_modal(), ModalResult::Ok);
  EXPECT_EQ(utf8_length(name->text()), 16u);
  EXPECT_EQ(name->text(), "\xC3\x84\xC3\x96\xC3\x9C" "abcdefghijklm");
}

TEST_F(NameForm, NoAnswerIsCancelAndOkOnAnEmptyNameCannotBePressed) {
  EXPECT_EQ(form.show_modal(), ModalResult::Cancel);
  EXPECT_EQ(name->text(), "");
  push_answer("ok");  // the OK button is disabled while the name is empty
  EXPECT_EQ(form.show_modal(), ModalResult::Cancel);
}

TEST_F(NameForm, SetTextAppliesTheLimitAndReportsChangesOnce) {
  name->set_text("12345678901234567890");
  EXPECT_EQ(name->text(), "1234567890123456");
  name->set_text("12345678901234567890");  // same text after the cut: no change
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(ok->enabled);
}

// The volume dialog's shape: two track bars, OK (default) and Cancel.
struct VolumeForm : ::testing::Test {
  Form form{"Sound Setting", 225, 136};
  TrackBar* sfx = nullptr;
  TrackBar* bgm = nullptr;
  std::vector<std::string> log;
  void SetUp() override {
    clear_answers();
    sfx = &form.add<TrackBar>("SFXBar", 72, 8, 150, 45);
    bgm = &form.add<TrackBar>("BGMBar", 72, 56, 150, 45);
    for (TrackBar* t : {sfx, bgm}) {
      t->set_range(-9, 0);
      t->set_position(-3);
      t->on_change = [this, t] {
        t->set_selection(t->min(), t->position());
        log.push_back(t->name + "=" + std::to_string(t->position()));
      };
    }
    auto& ok = form.add<Button>("OkBtn", 144, 108, 75, 25);
    ok.caption = "OK";
    ok.is_default = true;
    ok.on_click = [this] {
      log.push_back("ok");
      form.close(ModalResult::Ok);
    };
    auto& cancel = form.add<Button>("CancelBtn", 56, 108, 75, 25);
    cancel.caption = "Cancel";
    cancel.cancel = true;
    cancel.modal_result = ModalResult::Cancel;
    cancel.on_click = [this] { log.push_back("cancel"); };
  }
};

TEST_F(VolumeForm, NamedValuesMoveTheBarsThenOk) {
  push_answer("SFXBar=-5;BGMBar=-20");
  EXPECT_EQ(form.show_modal(), ModalResult::Ok);
  EXPECT_EQ(sfx->position(), -5);
  EXPECT_EQ(bgm->position(), -9);  // clamped to the range
  EXPECT_EQ(bgm->sel_start(), -9);
  EXPECT_EQ(bgm->sel_end(), -9);
  EXPECT_EQ(log, (std::vector<std::string>{"SFXBar=-5", "BGMBar=-9", "ok"}));
}

TEST_F(VolumeForm, CancelAndNoAnswerRunTheCancelButton) {
  for (bool answered : {true, false}) {
    log.clear();
    if (answered) push_answer("cancel");
    EXPECT_EQ(form.show_modal(), ModalResult::Cancel);
    EXPECT_EQ(log, (std::vector<std::string>{"cancel"}));
  }
}

TEST_F(VolumeForm, TextThatNamesNoControlIsNotUnderstood) {
  push_answer("Volume=3");  // no such control, and no edit box to take it
  push_answer("ok");
  EXPECT_EQ(form.show_modal(), ModalResult::Ok);
  EXPECT_EQ(sfx->position(), -3);
}

TEST(TrackBarModel, RangePositionSelectionAndGeometry) {
  TrackBar t;
  t.left = 72;
  t.width = 150;
  int changes = 0;
  t.on_change = [&] { ++changes; };
  t.set_range(0, -9);  // reversed: put in order
  EXPECT_EQ(t.min(), -9);
  EXPECT_EQ(t.max(), 0);
  EXPECT_EQ(t.position(), 0);
  t.set_position(5);  // clamped to 0: unchanged, no event
  EXPECT_EQ(changes, 0);
  t.set_position(-4);
  t.set_position(-4);
  EXPECT_EQ(changes, 1);
  t.set_selection(0, -20);
  EXPECT_EQ(t.sel_start(), -9);
  EXPECT_EQ(t.sel_end(), 0);
  // Every position's tick maps back to it; the ends sit inside the control.
  for (int p = -9; p <= 0; ++p) EXPECT_EQ(t.position_at(t.x_of(p)), p);
  EXPECT_GT(t.x_of(-9), t.left);
  EXPECT_LT(t.x_of(0), t.left + t.width);
  EXPECT_LT(t.x_of(-9), t.x_of(-8));
  EXPECT_EQ(t.position_at(0), -9);
  EXPECT_EQ(t.position_at(10000), 0);
  TrackBar flat;  // an empty range never divides by zero
  flat.width = 100;
  flat.set_range(3, 3);
  EXPECT_EQ(flat.position_at(50), 3);
  EXPECT_EQ(flat.x_of(3), flat.x_of(7));
}

TEST(ButtonModel, ModalResultFirstThenHandlerMayChangeIt) {
  Form f("Test", 100, 100);
  auto& b = f.add<Button>("B", 0, 0, 75, 23);
  b.modal_result = ModalResult::Yes;
  b.on_click = [&] { EXPECT_EQ(f.modal_result, ModalResult::Yes); f.close(ModalResult::No); };
  EXPECT_TRUE(b.click());
  EXPECT_EQ(f.modal_result, ModalResult::No);
  b.enabled = false;
  f.modal_result = ModalResult::None;
  EXPECT_FALSE(b.click());
  EXPECT_EQ(f.modal_result, ModalResult::None);
}

TEST(MessageBoxHeadless, DefaultsAndAnswers) {
  struct Case { MsgButtons buttons; const char* answer; MsgResult want; } cases[] = {
      {MsgButtons::Ok, nullptr, MsgResult::Ok},
      {MsgButtons::YesNo, nullptr, MsgResult::No},
      {MsgButtons::YesNo, "yes", MsgResult::Yes},
      {MsgButtons::YesNo, "maybe", MsgResult::No},
      {MsgButtons::OkCancel, nullptr, MsgResult::Cancel},
      {MsgButtons::OkCancel, "ok", MsgResult::Ok},
  };
  for (const Case& c : cases) {
    clear_answers();
    if (c.answer) push_answer(c.answer);
    EXPECT_EQ(show_message_box("ERASE HIGHSCORE", "Are you sure?", c.buttons, MsgIcon::Warning), c.want)
        << (c.answer ? c.answer : "(none)");
  }
  // Installed as the platform's handler, platform::message_box answers the same way.
  install_message_box();
  clear_answers();
  push_answer("yes");
  EXPECT_EQ(message_box("Q", "Sure?", MsgButtons::YesNo, MsgIcon::Question), MsgResult::Yes);
  EXPECT_EQ(message_box("Q", "Sure?", MsgButtons::YesNo, MsgIcon::Question), MsgResult::No);
  set_message_box_handler(nullptr);
}

// ---- File dialogs ----------------------------------------------------------

TEST(FileFilter, ParseAndMatch) {
  auto one = parse_filter("Stage File (*.EGG)|*.EGG");
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].description, "Stage File (*.EGG)");
  EXPECT_EQ(one[0].patterns, (std::vector<std::string>{"*.EGG"}));
  auto two = parse_filter("Pictures|*.bmp; *.png|All|*.*|Dangling");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].patterns, (std::vector<std::string>{"*.bmp", "*.png"}));
  EXPECT_EQ(parse_filter("").size(), 1u);  // no filter lists every file
  EXPECT_TRUE(match_filter("anything", parse_filter("")[0]));

  struct Case { const char* name; const char* pattern; bool match; } cases[] = {
      {"EDIT.EGG", "*.EGG", true},     {"edit.egg", "*.EGG", true},  {"NORMAL.EGS", "*.EGG", false},
      {"NORMAL03.RPY", "*.RPY", true}, {"x.RPY.bak", "*.RPY", false}, {"README", "*.*", true},
      {"abc.egg", "?bc.*", true},      {"bc.egg", "?bc.*", false},    {"a.egg", "*", true},
  };
  for (const Case& c : cases) EXPECT_EQ(match_pattern(c.name, c.pattern), c.match) << c.name << " " << c.pattern;
}

TEST(FileFilter, DefaultExtension) {
  struct Case { const char* name; const char* ext; const char* out; } cases[] = {
      {"MyStage", "EGG", "MyStage.EGG"}, {"MyStage.egg", "EGG", "MyStage.egg"}, {"notes.txt", "EGG", "notes.txt"},
      {"dir.d/name", "EGG", "dir.d/name.EGG"}, {"name", ".RPY", "name.RPY"}, {"name", "", "name"}, {"", "EGG", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(apply_default_ext(c.name, c.ext), c.out) << c.name;
}

struct StageFolder : ::testing::Test {
  std::string dir;
  FileDialog dlg;
  void SetUp() override {
    clear_answers();
    char tmpl[] = "/tmp/forms-test-XXXXXX";
    dir = std::string(mkdtemp(tmpl)) + "/";
    std::ofstream(dir + "edit.egg") << "x";
    std::ofstream(dir + "NOTES") << "x";
    dlg.filter = "Stage File (*.EGG)|*.EGG";
    dlg.default_ext = "EGG";
    dlg.initial_dir = dir;
    install_message_box();
  }
  void TearDown() override {
    set_message_box_handler(nullptr);
    std::system(("rm -rf '" + dir + "'").c_str());
  }
};

TEST_F(StageFolder, SaveAddsTheDefaultExtension) {
  dlg.kind = FileDialogKind::Save;
  dlg.title = "Save Stage File";
  push_answer("MyStage");
  ASSERT_TRUE(dlg.execute());
  EXPECT_EQ(dlg.file_name, dir + "MyStage.EGG");
}

TEST_F(StageFolder, OpenFindsNamesIgnoringCaseAndRefusesMissingFiles) {
  dlg.title = "Select Stage File";
  push_answer("EDIT");
  ASSERT_TRUE(dlg.execute());
  EXPECT_EQ(dlg.file_name, dir + "edit.egg");
  push_answer("NOTES");  // no NOTES.EGG, but a file without extension of that name
  ASSERT_TRUE(dlg.execute());
  EXPECT_EQ(dlg.file_name, dir + "NOTES");
  dlg.file_name = "unchanged";
  push_answer("missing");
  EXPECT_FALSE(dlg.execute());
  EXPECT_EQ(dlg.file_name, "unchanged");
  push_answer(dir + "edit.egg");  // absolute paths are taken as they are
  EXPECT_TRUE(dlg.execute());
}

TEST_F(StageFolder, SaveOverAnExistingFileAsksAndNoIsTheDefault) {
  dlg.kind = FileDialogKind::Save;
  push_answer("edit");
  EXPECT_FALSE(dlg.execute());  // the question gets no answer: No
  push_answer("edit");
  push_answer("yes");
  ASSERT_TRUE(dlg.execute());
  EXPECT_EQ(dlg.file_name, dir + "edit.egg");
  dlg.overwrite_prompt = false;
  push_answer("edit");
  EXPECT_TRUE(dlg.execute());
}

TEST_F(StageFolder, CancelAndNoAnswerAndBadNames) {
  const char* refused[] = {"cancel", "*.EGG", "nofolder/x", "."};
  for (const char* a : refused) {
    push_answer(a);
    EXPECT_FALSE(dlg.execute()) << a;
  }
  EXPECT_FALSE(dlg.execute());  // nothing queued
  dlg.file_name = "edit.egg";
  push_answer("ok");            // "ok" takes the proposed name
  EXPECT_TRUE(dlg.execute());
  EXPECT_EQ(dlg.file_name, dir + "edit.egg");
}

TEST_F(StageFolder, PreviewRunsForTheChosenFile) {
  std::vector<std::string> seen;
  dlg.preview.caption = "[ Stage Preview ]";
  dlg.preview.on_selection_change = [&](const std::string& path, PreviewPicture& pic, std::string& text) {
    seen.push_back(path);
    EXPECT_EQ(pic.width, 128);
    EXPECT_EQ(pic.rgb.size(), 128u * 128u);
    text = "EDIT.EGG";
  };
  push_answer("edit.egg");
  ASSERT_TRUE(dlg.execute());
  EXPECT_EQ(seen, (std::vector<std::string>{dir + "edit.egg"}));
}

TEST(PreviewPictureModel, IndexedAndRgbBecomeRgb) {
  PreviewPicture p;
  p.width = 2;
  p.height = 2;
  p.fill_indexed(1);
  p.palette[1] = 0x123456;
  p.pixels[3] = 2;
  p.palette[2] = 0xFF000000u | 0xABCDEF;  // the top byte is dropped
  EXPECT_EQ(p.to_rgb(), (std::vector<uint32_t>{0x123456, 0x123456, 0x123456, 0xABCDEF}));
  p.fill_rgb(0x00FF00);
  p.rgb.resize(3);  // short buffers show white where pixels are missing
  EXPECT_EQ(p.to_rgb(), (std::vector<uint32_t>{0x00FF00, 0x00FF00, 0x00FF00, 0xFFFFFF}));
}

}  // namespace

// ---- With a window (SDL's dummy video driver and software renderer) -------

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/display.h"
#include "platform/display_sdl.h"
#include "platform/events.h"
#include "platform/host.h"

namespace {

void push_key(SDL_Keycode sym, SDL_Scancode sc, bool down, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.key.keysym.mod = mod;
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = sc;
  e.key.windowID = SDL_GetWindowID(display_sdl_window());
  SDL_PushEvent(&e);
}

void push_text(const char* text) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, text, sizeof e.text.text);
  e.text.windowID = SDL_GetWindowID(display_sdl_window());
  SDL_PushEvent(&e);
}

// Moves the pointer (SDL's own state, which the forms read) and presses or
// releases the left button there.
void push_mouse(int x, int y, int down_up) {
  SDL_WarpMouseInWindow(display_sdl_window(), x, y);
  if (down_up == 0) return;
  SDL_Event e{};
  e.type = down_up > 0 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = down_up > 0 ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  e.button.clicks = 1;
  e.button.windowID = SDL_GetWindowID(display_sdl_window());
  SDL_PushEvent(&e);
}

struct Windowed : ::testing::Test {
  std::vector<uint8_t> pixels = std::vector<uint8_t>(size_t(320) * 200, 7);
  uint32_t palette[256] = {};
  std::thread helper, watchdog;
  std::atomic<bool> stop{false};

  void SetUp() override {
    clear_answers();
    Options o;
    o.scale = 1;
    std::string err;
    if (!init(o, err)) GTEST_SKIP() << err;
    if (!display_open({"forms test", 320, 200, false, 1, false}, err) || !display_sdl_renderer()) {
      shutdown();
      GTEST_SKIP() << err;
    }
    palette[7] = 0x102030;
    // A dialog that never closes fails its test instead of hanging it: the
    // close request ends every modal loop.
    watchdog = std::thread([this] {
      for (int t = 0; t < 20000 && !stop; t += 10) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      while (!stop) {
        SDL_Event q{};
        q.type = SDL_QUIT;
        SDL_PushEvent(&q);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
      }
    });
  }
  void TearDown() override {
    stop = true;
    if (helper.joinable()) helper.join();
    if (watchdog.joinable()) watchdog.join();
    MenuBar::detach();
    MenuBar::set_modal_menus(true);
    set_message_box_handler(nullptr);
    shutdown();
  }
  // One game frame: events, the bar's clicks, present.
  void frame(std::vector<Event>* seen = nullptr) {
    begin_frame();
    for (Event ev; poll_event(ev);) {
      if (MenuBar::handle_event(ev)) continue;
      if (seen) seen->push_back(ev);
    }
    MenuBar::dispatch();
    display_present_indexed(pixels.data(), 320, 200, 320, palette);
    end_frame();
  }
  // Pushes events from another thread after `ms`, while a dialog's loop runs.
  void later(int ms, std::function<void()> fn) {
    helper = std::thread([this, ms, fn] {
      for (int t = 0; t < ms && !stop; t += 10) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (!stop) fn();
    });
  }
  uint32_t pixel_at(int x, int y) {
    uint32_t px = 0;
    SDL_Rect r{x, y, 1, 1};
    SDL_RenderReadPixels(display_sdl_renderer(), &r, SDL_PIXELFORMAT_RGB888, &px, 4);
    return px & 0xFFFFFF;
  }
};

TEST_F(Windowed, MenuBarTakesItsHeightAboveTheFrameAndClicksRunAfterTheFrame) {
  Menu menu;
  std::vector<std::string> ran;
  MenuItem& file = menu.add("FileMenu", "&File");
  file.add("NewItem", "&New").on_click = [&] { ran.push_back("NewItem"); };
  file.add("OffItem", "&Off").enabled = false;
  MenuBar::set_modal_menus(false);
  MenuBar::attach(menu);
  int w = 0, h = 0;
  SDL_GetWindowSize(display_sdl_window(), &w, &h);
  EXPECT_EQ(w, 320);
  EXPECT_EQ(h, 200 + MenuBar::height());
  EXPECT_EQ(MenuBar::height(), 20);
  EXPECT_EQ(display_frame_rect().y, 20);
  frame();
  EXPECT_EQ(pixel_at(200, 5), 0xD4D0C8u);   // the bar's face colour
  EXPECT_EQ(pixel_at(200, 100), 0x102030u);  // the frame below it

  // Press on "File": the game does not see the press; the menu opens.
  std::vector<Event> seen;
  push_mouse(16, 10, 0);
  frame(&seen);
  push_mouse(16, 10, 1);
  frame(&seen);
  push_mouse(16, 10, -1);
  frame(&seen);
  frame(&seen);
  ASSERT_TRUE(MenuBar::menu_open());
  for (const Event& e : seen) EXPECT_NE(e.type, EventType::MouseDown);
  // Click "New" (first row under the bar): it runs from dispatch, not in drawing.
  push_mouse(30, 30, 0);
  frame();
  push_mouse(30, 30, 1);
  frame();
  push_mouse(30, 30, -1);
  for (int i = 0; i < 3 && ran.empty(); ++i) frame();
  EXPECT_EQ(ran, (std::vector<std::string>{"NewItem"}));
  EXPECT_FALSE(MenuBar::menu_open());

  MenuBar::detach();
  SDL_GetWindowSize(display_sdl_window(), &w, &h);
  EXPECT_EQ(h, 200);
}

TEST_F(Windowed, OpenMenuHoldsTheGameUntilItCloses) {
  Menu menu;
  bool ran = false;
  menu.add("FileMenu", "&File").add("NewItem", "&New").on_click = [&] { ran = true; };
  MenuBar::attach(menu);
  frame();
  push_key(SDLK_f, SDL_SCANCODE_F, true);  // no Alt: the game's key
  frame();
  EXPECT_FALSE(MenuBar::menu_open());
  push_key(SDLK_f, SDL_SCANCODE_F, true, KMOD_LALT);  // Alt+F opens "&File"
  frame();
  ASSERT_TRUE(MenuBar::menu_open());
  // The next frame's dispatch runs the menu's loop; "n" picks "&New".
  later(200, [] { push_key(SDLK_n, SDL_SCANCODE_N, true); });
  frame();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(MenuBar::menu_open());
}

TEST_F(Windowed, ArrowKeysAndEnterPickMenuItems) {
  Menu menu;
  std::vector<std::string> ran;
  MenuItem& file = menu.add("FileMenu", "&File");
  for (const char* n : {"NewItem", "OffItem", "ExitItem"})
    file.add(n, n).on_click = [&ran, n] { ran.push_back(n); };
  menu.find("OffItem")->enabled = false;
  MenuBar::attach(menu);
  frame();
  struct Case { std::vector<SDL_Keycode> keys; const char* runs; } cases[] = {
      {{SDLK_RETURN}, "NewItem"},                      // Alt+F highlights the first item
      {{SDLK_DOWN, SDLK_DOWN, SDLK_RETURN}, "ExitItem"},  // through the disabled one
      {{SDLK_UP, SDLK_RETURN}, "ExitItem"},            // wraps to the last
      {{SDLK_DOWN, SDLK_RETURN, SDLK_ESCAPE}, nullptr},  // Enter on a disabled item does nothing
  };
  for (const Case& c : cases) {
    ran.clear();
    push_key(SDLK_f, SDL_SCANCODE_F, true, KMOD_LALT);
    frame();
    ASSERT_TRUE(MenuBar::menu_open());
    for (SDL_Keycode k : c.keys) push_key(k, SDL_GetScancodeFromKey(k), true);
    frame();  // the menu's loop takes one key a frame until the menu closes
    EXPECT_FALSE(MenuBar::menu_open());
    if (c.runs) EXPECT_EQ(ran, (std::vector<std::string>{c.runs}));
    else EXPECT_TRUE(ran.empty());
  }
}

TEST_F(Windowed, FormTakesTypingUpToItsLimitAndEnterClicksTheDefaultButton) {
  Form f("Congratulations!", 232, 122);
  auto& name = f.add<Edit>("HiName", 12, 92, 133, 21);
  name.max_length = 16;
  auto& ok = f.add<Button>("OkBtn", 152, 92, 73, 21);
  ok.caption = "OK";
  ok.is_default = true;
  ok.enabled = false;
  ok.modal_result = ModalResult::Ok;
  int changes = 0;
  name.on_change = [&] {
    ++changes;
    ok.enabled = !name.text().empty();
  };
  int passes = 0;
  f.on_idle = [&] {
    ++passes;
    if (passes == 3) push_text("ABCDEFGHIJKLMNOPQRSTUV");
    if (passes == 6) push_key(SDLK_RETURN, SDL_SCANCODE_RETURN, true);
    if (passes > 300) f.close(ModalResult::None == f.modal_result ? ModalResult::No : f.modal_result);
  };
  EXPECT_EQ(f.show_modal(), ModalResult::Ok);
  EXPECT_EQ(name.text(), "ABCDEFGHIJKLMNOP");
  EXPECT_GE(changes, 1);
}

TEST_F(Windowed, EscapeClicksTheCancelButtonAndTrackBarKeysMoveTheThumb) {
  Form f("Sound Setting", 225, 136);
  auto& bar = f.add<TrackBar>("SFXBar", 72, 8, 150, 45);
  bar.set_range(-9, 0);
  bar.set_position(-3);
  int changes = 0;
  bar.on_change = [&] { ++changes; };
  auto& cancel = f.add<Button>("CancelBtn", 56, 108, 75, 25);
  cancel.caption = "Cancel";
  cancel.cancel = true;
  cancel.modal_result = ModalResult::Cancel;
  bool cancelled = false;
  cancel.on_click = [&] { cancelled = true; };
  f.focus(&bar);
  int passes = 0;
  f.on_idle = [&] {
    ++passes;
    if (passes == 3) push_key(SDLK_END, SDL_SCANCODE_END, true);
    if (passes == 5) push_key(SDLK_END, SDL_SCANCODE_END, false);
    if (passes == 8) push_key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true);
    if (passes > 300) f.close(ModalResult::No);
  };
  EXPECT_EQ(f.show_modal(), ModalResult::Cancel);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(bar.position(), 0);
  EXPECT_EQ(changes, 1);
}

TEST_F(Windowed, MessageBoxDefaultsAndLetters) {
  install_message_box();
  later(300, [] { push_key(SDLK_RETURN, SDL_SCANCODE_RETURN, true); });
  EXPECT_EQ(message_box("ERASE HIGHSCORE", "Sure?", MsgButtons::YesNo, MsgIcon::Warning), MsgResult::No);
  helper.join();
  later(300, [] { push_key(SDLK_y, SDL_SCANCODE_Y, true); });
  EXPECT_EQ(message_box("ERASE HIGHSCORE", "Sure?", MsgButtons::YesNo, MsgIcon::Warning), MsgResult::Yes);
  helper.join();
  later(300, [] { push_key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true); });
  EXPECT_EQ(message_box("Q", "Go on?", MsgButtons::OkCancel, MsgIcon::Question), MsgResult::Cancel);
}

TEST_F(Windowed, FileDialogTakesATypedNameAndShowsThePreview) {
  char tmpl[] = "/tmp/forms-gui-XXXXXX";
  const std::string dir = std::string(mkdtemp(tmpl)) + "/";
  std::ofstream(dir + "edit.egg") << "x";
  FileDialog d;
  d.filter = "Stage File (*.EGG)|*.EGG";
  d.default_ext = "EGG";
  d.initial_dir = dir;
  std::vector<std::string> previews;
  d.preview.caption = "[ Stage Preview ]";
  d.preview.on_selection_change = [&](const std::string& path, PreviewPicture& pic, std::string& text) {
    previews.push_back(path);
    pic.fill_rgb(0x00FF00);
    text = path.empty() ? "None" : "stage";
  };
  later(300, [] {
    push_text("EDIT");
    SDL_Delay(150);
    push_key(SDLK_RETURN, SDL_SCANCODE_RETURN, true);
  });
  EXPECT_TRUE(d.execute());
  EXPECT_EQ(d.file_name, dir + "edit.egg");
  ASSERT_FALSE(previews.empty());
  EXPECT_EQ(previews[0], "");  // nothing selected when it opens
  std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
