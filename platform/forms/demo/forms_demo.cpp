// Forms demo: a window with a menu bar (accelerators, shortcuts, check marks,
// a disabled and a hidden item, submenus), a name-entry dialog and a volume
// dialog with every control, message boxes, and open/save dialogs with a
// preview panel. The frame loop is the one the games use; dialogs stop it.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/forms/file_dialog.h"
#include "platform/forms/form.h"
#include "platform/forms/menu.h"
#include "platform/forms/menubar.h"
#include "platform/forms/message_box.h"

using namespace platform;
using namespace platform::forms;

namespace {

int g_sfx = -600, g_bgm = -1200;  // hundredths of a decibel
std::string g_name = "NOBODY";
std::string g_stage;

void volume_dialog() {
  Form f("Sound Setting", 225, 136);
  f.name = "VolForm";
  auto& l1 = f.add<Label>("Label1", 16, 16);
  l1.caption = "Effect";
  l1.font.bold = true;
  l1.font.size = 10;
  auto& l2 = f.add<Label>("Label2", 16, 60);
  l2.caption = "BGM";
  l2.font = l1.font;
  auto& sfx = f.add<TrackBar>("SFXBar", 72, 8, 150, 45);
  auto& bgm = f.add<TrackBar>("BGMBar", 72, 56, 150, 45);
  for (TrackBar* t : {&sfx, &bgm}) {
    t->set_range(-9, 0);
    t->on_change = [t] { t->set_selection(t->min(), t->position()); };
  }
  sfx.on_change = [&] {
    sfx.set_selection(sfx.min(), sfx.position());
    std::fprintf(stderr, "effects volume %d\n", sfx.position() * 200);
  };
  auto& ok = f.add<Button>("OkBtn", 144, 108, 75, 25);
  ok.caption = "OK";
  ok.is_default = true;
  ok.on_click = [&] {
    g_sfx = sfx.position() * 200;
    g_bgm = bgm.position() * 200;
    f.close(ModalResult::Ok);
  };
  auto& cancel = f.add<Button>("CancelBtn", 56, 108, 75, 25);
  cancel.caption = "Cancel";
  cancel.cancel = true;
  cancel.modal_result = ModalResult::Cancel;
  f.on_show = [&] {
    sfx.set_position(g_sfx / 200);
    bgm.set_position(g_bgm / 200);
    sfx.set_selection(-9, sfx.position());
    bgm.set_selection(-9, bgm.position());
  };
  ModalResult r = f.show_modal();
  std::fprintf(stderr, "volume dialog: %s, sfx %d bgm %d\n", modal_result_name(r), g_sfx, g_bgm);
}

void name_dialog() {
  Form f("Congratulations!", 232, 122);
  f.name = "HiForm";
  auto& om = f.add<StaticText>("Omedeto", 16, 8, 199, 20);
  om.caption = "You've earned a high score!";
  om.font.bold = true;
  om.font.size = 10;
  om.alignment = Alignment::Center;
  auto& l2 = f.add<Label>("Label2", 64, 32);
  l2.caption = "LEVEL:";
  l2.font.bold = true;
  auto& level = f.add<StaticText>("HiMessage", 112, 32, 67, 17);
  level.caption = "NORMAL";
  level.font.bold = true;
  level.font.color = clBlue;
  auto& l1 = f.add<Label>("Label1", 64, 52);
  l1.caption = "RANK:";
  l1.font.bold = true;
  auto& rank = f.add<Label>("RankMessage", 112, 52);
  rank.caption = "2nd";
  rank.font.bold = true;
  rank.font.color = clOlive;
  auto& st = f.add<StaticText>("StaticText2", 56, 72, 142, 17);
  st.caption = "Please enter your name!";
  st.font.bold = true;
  auto& name = f.add<Edit>("HiName", 12, 92, 133, 21);
  name.max_length = 16;
  auto& ok = f.add<Button>("OkBtn", 152, 92, 73, 21);
  ok.caption = "OK";
  ok.is_default = true;
  ok.enabled = false;
  ok.modal_result = ModalResult::Ok;
  name.on_change = [&] { ok.enabled = !name.text().empty(); };
  f.on_show = [&] { f.focus(&name); };
  ModalResult r = f.show_modal();
  if (!name.text().empty()) g_name = name.text();
  std::fprintf(stderr, "name dialog: %s, name \"%s\"\n", modal_result_name(r), name.text().c_str());
}

// The preview: the file's bytes drawn as a grid of coloured eggs.
void draw_preview(const std::string& path, PreviewPicture& pic, std::string& text) {
  std::vector<uint8_t> data;
  if (path.empty() || !read_file(path, data, 1 << 20) || data.empty()) {
    text = "None";
    return;
  }
  pic.fill_indexed(0);
  pic.palette[0] = 0xFFFFFF;
  for (int i = 1; i < 16; ++i)
    pic.palette[i] = (uint32_t(40 + i * 13) << 16) | (uint32_t(200 - i * 9) << 8) | uint32_t(60 + i * 12);
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 14; ++c) {
      uint8_t v = data[size_t(r * 14 + c) % data.size()] % 16;
      if (!v) continue;
      for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 7; ++x) {
          double dx = (x - 3) / 3.5, dy = (y - 5.5) / 5.0;
          if (dx * dx + dy * dy > 1.0) continue;
          pic.pixels[size_t(8 + r * 12 + y) * 128 + size_t(8 + c * 8 + x)] = v;
        }
    }
  text = path.substr(path.find_last_of('/') + 1);
}

std::string sample_folder() {
  std::string dir = program_folder() + "forms_demo_files/";
  make_folder(dir);
  make_folder(dir + "More");
  const char* names[] = {"EDIT.EGG", "CLASSIC.EGG", "MINE.EGG", "readme.txt"};
  for (int i = 0; i < 4; ++i) {
    std::string p = dir + names[i];
    if (file_exists(p)) continue;
    std::vector<uint8_t> bytes(256);
    uint32_t s = 12345u + uint32_t(i) * 777u;
    for (uint8_t& b : bytes) b = uint8_t((s = s * 134775813u + 1u) >> 24);
    write_file_atomic(p, bytes);
  }
  return dir;
}

void open_dialog(bool save) {
  FileDialog d;
  d.kind = save ? FileDialogKind::Save : FileDialogKind::Open;
  d.title = save ? "Save Stage File" : "Select Stage File";
  d.filter = "Stage File (*.EGG)|*.EGG|All Files (*.*)|*.*";
  d.default_ext = "EGG";
  d.initial_dir = sample_folder();
  if (!save) {
    d.preview.caption = "[ Stage Preview ]";
    d.preview.on_selection_change = draw_preview;
  }
  if (d.execute()) {
    g_stage = d.file_name;
    std::fprintf(stderr, "%s: %s\n", save ? "save" : "open", d.file_name.c_str());
  } else {
    std::fprintf(stderr, "%s: cancelled\n", save ? "save" : "open");
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options opts;
  std::string err;
  if (!parse_options(argc, argv, opts, err) || !init(opts, err)) {
    std::fprintf(stderr, "forms_demo: %s\n", err.c_str());
    return 2;
  }
  const int W = 512, H = 400;
  install_message_box();

  bool running = true;
  Menu menu;
  MenuItem& file = menu.add("FileMenu", "&File");
  MenuItem& start = file.add("GameStart", "&New Game");
  start.add("EasyItem", "&Easy", {Key::F1}).on_click = [] { message_box("New Game", "Easy game started."); };
  start.add("HardItem", "&Hard", {Key::F3}).on_click = [] { message_box("New Game", "Hard game started."); };
  file.add("NameItem", "Enter &Name...", {Key::F2}).on_click = name_dialog;
  file.add_separator();
  file.add("OpenItem", "&Open Stage File...", {Key::F5}).on_click = [] { open_dialog(false); };
  file.add("SaveItem", "Save Stage File &As...").on_click = [] { open_dialog(true); };
  file.add_separator();
  MenuItem& pause = file.add("PauseItem", "&Pause");
  pause.on_click = [&pause] { pause.checked = !pause.checked; };
  file.add_separator();
  file.add("ExitItem", "E&xit").on_click = [&running] { running = false; };
  MenuItem& opt = menu.add("OptionMenu", "&Option");
  MenuItem& sfx = opt.add("SFXOptionItem", "&Sound Effects");
  sfx.checked = true;
  sfx.on_click = [&sfx] { sfx.checked = !sfx.checked; };
  opt.add("BGMOptionItem", "BG&M").enabled = false;
  opt.add("SoundVolume", "&Volume...").on_click = volume_dialog;
  MenuItem& adv = opt.add("N6", "&Advanced Option");
  MenuItem& vram = adv.add("UseVRAMItem", "&Use VRAM");
  vram.checked = true;
  vram.on_click = [&vram] { vram.checked = !vram.checked; };
  adv.add("NoTimerItem", "Don't use MMTimer").checked = true;
  adv.add_separator();
  MenuItem& bt = adv.add("Btitem", "???", {Key::B, false, true});
  bt.visible = false;
  bt.on_click = [] { message_box("Secret", "Ctrl+B reached the hidden item."); };
  MenuItem& help = menu.add("HelpMenu", "&Help");
  help.add("EraseItem", "&Erase High Score...").on_click = [] {
    MsgResult r = message_box("ERASE HIGHSCORE", "Are you sure You want to erase High Scores of \"Easy Level\"?",
                              MsgButtons::YesNo, MsgIcon::Warning);
    std::fprintf(stderr, "erase: %s\n", r == MsgResult::Yes ? "yes" : "no");
  };
  help.add("AboutItem", "&About Forms Demo...").on_click = [] {
    message_box("About", "Forms demo\nMenus, dialogs and message boxes on Dear ImGui.", MsgButtons::Ok,
                MsgIcon::Info);
  };
  MenuBar::attach(menu);

  if (!display_open({"Forms demo", W, H, false, opts.scale > 0 ? opts.scale : 1, false}, err)) {
    std::fprintf(stderr, "forms_demo: %s\n", err.c_str());
    shutdown();
    return 2;
  }

  uint32_t palette[256];
  for (int i = 0; i < 256; ++i)
    palette[i] = uint32_t(20 + i / 4) << 16 | uint32_t(40 + i / 3) << 8 | uint32_t(90 + i / 2);
  std::vector<uint8_t> frame(size_t(W) * H);
  uint32_t next = ticks();
  int t = 0;
  while (running) {
    begin_frame();
    for (Event e; poll_event(e);) {
      if (MenuBar::handle_event(e)) continue;
      if (e.type == EventType::Quit) running = false;
      if (e.type == EventType::KeyDown) std::fprintf(stderr, "key %s\n", key_name(e.key));
      if (e.type == EventType::MouseDown) std::fprintf(stderr, "click %d at %d,%d\n", e.button, e.x, e.y);
    }
    MenuBar::dispatch();
    if (!pause.checked) ++t;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        frame[size_t(y) * W + x] = uint8_t((x + y + t * 2) / 3 % 64 + y * 192 / H);
    // Two bars showing the volumes, a block per step.
    for (int b = 0; b < 2; ++b) {
      int level = ((b ? g_bgm : g_sfx) + 1800) / 200;
      for (int k = 0; k <= level; ++k)
        for (int y = 0; y < 12; ++y)
          for (int x = 0; x < 14; ++x) frame[size_t(360 + b * 18 + y) * W + size_t(20 + k * 16 + x)] = 255;
    }
    display_present_indexed(frame.data(), W, H, W, palette);
    if (end_frame()) running = false;
    next += 33;
    if (int32_t(next - ticks()) < -200) next = ticks();  // after a dialog: no catching up
    wait_until(next);
  }
  MenuBar::detach();
  shutdown();
  return 0;
}
