// The Dear ImGui context over the SDL window: fonts and style, the display
// overlay that draws the menu bar and modal windows, the modal loop, textures
// and the headless log.
#include "gui.h"

#include <imgui.h>
#include <imgui_freetype.h>
#include <backends/imgui_impl_sdl.h>

#include <cfloat>
#include <cmath>
#include <cstdio>

#include "../display.h"
#include "../display_sdl.h"
#include "../events.h"
#include "../files.h"
#include "../host.h"
#include "../msgbox.h"

namespace platform::forms {
// menubar.cpp
namespace detail {
void menubar_draw(bool blocked);
int menubar_height();
bool menubar_open();
bool menubar_handle_key(const SDL_Event& ev);
void menubar_close();
}  // namespace detail
}  // namespace platform::forms

namespace platform::forms::detail {

namespace {

struct FaceSet {
  int px;
  ImFont* regular = nullptr;
  ImFont* bold = nullptr;
};

constexpr int kSizes[] = {11, 12, 13, 16, 19, 24};
constexpr int kUiPx = 12;

struct Gui {
  ImGuiContext* ctx = nullptr;
  SDL_Window* window = nullptr;
  Uint32 window_id = 0;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* font_tex = nullptr;
  unsigned generation = 0;
  std::vector<FaceSet> faces;
  std::vector<ModalWindow*> stack;
  bool overlay_set = false;
  bool enter = false, escape = false;
  bool pressed[SDL_NUM_SCANCODES] = {};   // key presses (and repeats) since the last frame
  Uint16 pressed_mod[SDL_NUM_SCANCODES] = {};
  int pointer_x = 0, pointer_y = 0;
  bool pointer_inside = false;
  float origin_x = 0, origin_y = 0;
};

Gui& gui() {
  static Gui g;
  return g;
}

std::string font_path(bool bold) {
  const char* dirs[] = {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/dejavu/",
                        "/usr/share/fonts/TTF/"};
  for (const char* d : dirs) {
    std::string p = std::string(d) + (bold ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf");
    if (FILE* f = std::fopen(p.c_str(), "rb")) {
      std::fclose(f);
      return p;
    }
  }
  return {};
}

void build_fonts() {
  Gui& g = gui();
  ImGuiIO& io = ImGui::GetIO();
  io.Fonts->Clear();
  io.Fonts->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
  io.Fonts->FontBuilderFlags = 0;
  static const ImWchar ranges[] = {0x0020, 0x00FF, 0x2010, 0x2027, 0x2190, 0x2193, 0x25B2, 0x25BC, 0};
  std::string regular = font_path(false), bold = font_path(true);
  g.faces.clear();
  // The UI size first: ImGui's default font is the first one added.
  std::vector<int> order{kUiPx};
  for (int s : kSizes)
    if (s != kUiPx) order.push_back(s);
  for (int px : order) {
    FaceSet f{px};
    ImFontConfig cfg;
    cfg.OversampleH = cfg.OversampleV = 1;
    cfg.PixelSnapH = true;
    if (!regular.empty())
      f.regular = io.Fonts->AddFontFromFileTTF(regular.c_str(), static_cast<float>(px), &cfg, ranges);
    if (!f.regular) {
      ImFontConfig def;
      def.SizePixels = static_cast<float>(px);
      f.regular = io.Fonts->AddFontDefault(&def);
    }
    if (!bold.empty())
      f.bold = io.Fonts->AddFontFromFileTTF(bold.c_str(), static_cast<float>(px), &cfg, ranges);
    if (!f.bold) f.bold = f.regular;
    g.faces.push_back(f);
  }
  io.Fonts->Build();
}

void create_font_texture() {
  Gui& g = gui();
  ImGuiIO& io = ImGui::GetIO();
  unsigned char* pixels = nullptr;
  int w = 0, h = 0;
  io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
  g.font_tex = SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
  if (g.font_tex) {
    SDL_UpdateTexture(g.font_tex, nullptr, pixels, 4 * w);
    SDL_SetTextureBlendMode(g.font_tex, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(g.font_tex, SDL_ScaleModeNearest);
  }
  io.Fonts->SetTexID(static_cast<ImTextureID>(g.font_tex));
}

ImVec4 rgb(int r, int gr, int b, float a = 1.0f) { return ImVec4(r / 255.0f, gr / 255.0f, b / 255.0f, a); }

// Windows-classic colours: button face grey, navy highlight, white fields.
void setup_style() {
  ImGuiStyle& s = ImGui::GetStyle();
  ImGui::StyleColorsLight(&s);
  s.WindowRounding = s.ChildRounding = s.FrameRounding = s.PopupRounding = 0;
  s.ScrollbarRounding = s.GrabRounding = s.TabRounding = 0;
  s.WindowBorderSize = 1;
  s.PopupBorderSize = 1;
  s.FrameBorderSize = 1;
  s.WindowPadding = ImVec2(0, 0);
  s.FramePadding = ImVec2(6, 4);
  s.ItemSpacing = ImVec2(8, 4);
  s.WindowTitleAlign = ImVec2(0.0f, 0.5f);
  s.DisplaySafeAreaPadding = ImVec2(0, 0);
  s.WindowMinSize = ImVec2(16, 16);
  s.ScrollbarSize = 16;
  s.DisabledAlpha = 1.0f;  // disabled items are drawn grey by hand
  ImVec4* c = s.Colors;
  const ImVec4 face = rgb(212, 208, 200), dark = rgb(128, 128, 128), hi = rgb(10, 36, 106);
  c[ImGuiCol_Text] = rgb(0, 0, 0);
  c[ImGuiCol_TextDisabled] = dark;
  c[ImGuiCol_WindowBg] = face;
  c[ImGuiCol_ChildBg] = rgb(0, 0, 0, 0);
  c[ImGuiCol_PopupBg] = face;
  c[ImGuiCol_Border] = rgb(64, 64, 64);
  c[ImGuiCol_BorderShadow] = rgb(255, 255, 255, 0);
  c[ImGuiCol_FrameBg] = rgb(255, 255, 255);
  c[ImGuiCol_FrameBgHovered] = rgb(255, 255, 255);
  c[ImGuiCol_FrameBgActive] = rgb(255, 255, 255);
  c[ImGuiCol_TitleBg] = rgb(128, 128, 128);
  c[ImGuiCol_TitleBgActive] = hi;
  c[ImGuiCol_TitleBgCollapsed] = dark;
  c[ImGuiCol_MenuBarBg] = face;
  c[ImGuiCol_ScrollbarBg] = rgb(230, 228, 224);
  c[ImGuiCol_ScrollbarGrab] = face;
  c[ImGuiCol_ScrollbarGrabHovered] = face;
  c[ImGuiCol_ScrollbarGrabActive] = rgb(190, 186, 178);
  c[ImGuiCol_CheckMark] = rgb(0, 0, 0);
  c[ImGuiCol_SliderGrab] = face;
  c[ImGuiCol_SliderGrabActive] = face;
  c[ImGuiCol_Button] = face;
  c[ImGuiCol_ButtonHovered] = rgb(222, 218, 210);
  c[ImGuiCol_ButtonActive] = rgb(190, 186, 178);
  c[ImGuiCol_Header] = hi;
  c[ImGuiCol_HeaderHovered] = hi;
  c[ImGuiCol_HeaderActive] = hi;
  c[ImGuiCol_Separator] = dark;
  c[ImGuiCol_TextSelectedBg] = rgb(10, 36, 106, 0.35f);
  c[ImGuiCol_ModalWindowDimBg] = rgb(0, 0, 0, 0.0f);
  c[ImGuiCol_NavHighlight] = rgb(0, 0, 0, 0);
}

// What a modal window keeps from the game: presses, typing and the wheel.
// Releases and motion still reach the platform's input state (and are then
// dropped by the modal loop), so no key or button stays down afterwards.
bool is_input_event(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_KEYDOWN: case SDL_TEXTINPUT: case SDL_TEXTEDITING:
    case SDL_MOUSEBUTTONDOWN: case SDL_MOUSEWHEEL:
      return true;
    default:
      return false;
  }
}

// Saves and restores what a render pass changes on the renderer, so the
// display's own logical size, scale and viewport survive the overlay.
struct RendererState {
  SDL_Renderer* r;
  int lw = 0, lh = 0;
  float sx = 1, sy = 1;
  SDL_Rect vp{}, clip{};
  bool clip_on = false;
  SDL_BlendMode blend = SDL_BLENDMODE_NONE;
  Uint8 cr = 0, cg = 0, cb = 0, ca = 0;
  explicit RendererState(SDL_Renderer* renderer) : r(renderer) {
    SDL_RenderGetLogicalSize(r, &lw, &lh);
    SDL_RenderGetScale(r, &sx, &sy);
    SDL_RenderGetViewport(r, &vp);
    clip_on = SDL_RenderIsClipEnabled(r);
    SDL_RenderGetClipRect(r, &clip);
    SDL_GetRenderDrawBlendMode(r, &blend);
    SDL_GetRenderDrawColor(r, &cr, &cg, &cb, &ca);
    if (lw && lh) SDL_RenderSetLogicalSize(r, 0, 0);
    SDL_RenderSetScale(r, 1, 1);
    SDL_RenderSetViewport(r, nullptr);
    SDL_RenderSetClipRect(r, nullptr);
  }
  ~RendererState() {
    SDL_RenderSetClipRect(r, nullptr);
    if (lw && lh) {
      SDL_RenderSetLogicalSize(r, lw, lh);
    } else {
      SDL_RenderSetScale(r, sx, sy);
      SDL_RenderSetViewport(r, &vp);
    }
    if (clip_on) SDL_RenderSetClipRect(r, &clip);
    SDL_SetRenderDrawBlendMode(r, blend);
    SDL_SetRenderDrawColor(r, cr, cg, cb, ca);
  }
};

// One ImGui frame: the menu bar, then every modal window (the top one active).
void imgui_frame(SDL_Renderer* r) {
  Gui& g = gui();
  ImGui_ImplSDL2_NewFrame();
  // The backend reads the global pointer, which X servers driven by XTest
  // (and some window managers) report late; the pointer of the events the
  // overlay has seen is always current and is what the game sees too.
  {
    ImGuiIO& io = ImGui::GetIO();
    if (g.pointer_inside)
      io.MousePos = ImVec2(static_cast<float>(g.pointer_x), static_cast<float>(g.pointer_y));
    else if (!io.MouseDown[0])
      io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
  }
  ImGui::NewFrame();
  menubar_draw(!g.stack.empty());
  for (size_t i = 0; i < g.stack.size(); ++i) g.stack[i]->draw(i + 1 == g.stack.size());
  for (bool& p : g.pressed) p = false;
  ImGui::Render();
  render_draw_data(r);
}

void track_pointer(const SDL_Event& ev) {
  Gui& g = gui();
  switch (ev.type) {
    case SDL_MOUSEMOTION:
      g.pointer_x = ev.motion.x;
      g.pointer_y = ev.motion.y;
      g.pointer_inside = true;
      break;
    case SDL_MOUSEBUTTONDOWN: case SDL_MOUSEBUTTONUP:
      g.pointer_x = ev.button.x;
      g.pointer_y = ev.button.y;
      g.pointer_inside = true;
      break;
    case SDL_WINDOWEVENT:
      if (ev.window.event == SDL_WINDOWEVENT_LEAVE) g.pointer_inside = false;
      if (ev.window.event == SDL_WINDOWEVENT_ENTER) g.pointer_inside = true;
      break;
    default:
      break;
  }
}

class FormsOverlay : public Overlay {
 public:
  bool handle_event(const SDL_Event& ev) override {
    Gui& g = gui();
    if (!g.ctx) return false;
    ImGui::SetCurrentContext(g.ctx);
    track_pointer(ev);
    if (!g.stack.empty()) {
      if (ev.type == SDL_KEYDOWN) {
        const SDL_Keycode k = ev.key.keysym.sym;
        if (!ev.key.repeat && (k == SDLK_RETURN || k == SDLK_KP_ENTER)) g.enter = true;
        if (!ev.key.repeat && k == SDLK_ESCAPE) g.escape = true;
        const int sc = ev.key.keysym.scancode;
        if (sc > 0 && sc < SDL_NUM_SCANCODES) {
          g.pressed[sc] = true;
          g.pressed_mod[sc] = ev.key.keysym.mod;
        }
      }
      ImGui_ImplSDL2_ProcessEvent(&ev);
      return is_input_event(ev);  // a modal window takes all input
    }
    if (menubar_height() == 0) {
      // Releases still reach ImGui, so no key or button is held in the next dialog.
      if (ev.type == SDL_KEYUP || ev.type == SDL_MOUSEBUTTONUP || ev.type == SDL_MOUSEMOTION)
        ImGui_ImplSDL2_ProcessEvent(&ev);
      return false;
    }
    if (menubar_handle_key(ev)) return true;  // Alt+letter opened a menu
    ImGui_ImplSDL2_ProcessEvent(&ev);
    const bool open = menubar_open() || ImGui::GetIO().WantCaptureMouse;
    switch (ev.type) {
      case SDL_MOUSEBUTTONDOWN:
        return open || ev.button.y < menubar_height();
      case SDL_MOUSEWHEEL:
        return open;
      case SDL_KEYDOWN: case SDL_TEXTINPUT: case SDL_TEXTEDITING:
        return menubar_open();
      default:
        return false;  // motion and releases always reach the game
    }
  }
  void render(SDL_Renderer* r) override {
    Gui& g = gui();
    if (!gui_ensure() || r != g.renderer) return;
    if (menubar_height() == 0 && g.stack.empty()) return;
    RendererState keep(r);
    imgui_frame(r);
  }
  int top_inset() const override { return menubar_height(); }
};

FormsOverlay& overlay() {
  static FormsOverlay o;
  return o;
}

// Cursor, confinement and relative mode as the game left them; a dialog needs
// a free, visible pointer.
struct PointerState {
  int shown = SDL_ENABLE;
  bool relative = false;
  bool grabbed = false;
  bool has_rect = false;
  SDL_Rect rect{};
  void save_and_free(SDL_Window* w) {
    shown = SDL_ShowCursor(SDL_QUERY);
    relative = SDL_GetRelativeMouseMode();
    grabbed = SDL_GetWindowMouseGrab(w);
    if (const SDL_Rect* r = SDL_GetWindowMouseRect(w)) {
      has_rect = true;
      rect = *r;
    }
    if (relative) SDL_SetRelativeMouseMode(SDL_FALSE);
    if (has_rect) SDL_SetWindowMouseRect(w, nullptr);
    if (grabbed) SDL_SetWindowMouseGrab(w, SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
  }
  void restore(SDL_Window* w) {
    if (has_rect) SDL_SetWindowMouseRect(w, &rect);
    if (grabbed) SDL_SetWindowMouseGrab(w, SDL_TRUE);
    if (relative) SDL_SetRelativeMouseMode(SDL_TRUE);
    SDL_ShowCursor(shown);
  }
};

void present_with(Texture& frame) {
  Gui& g = gui();
  SDL_Renderer* r = g.renderer;
  {
    RendererState keep(r);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    if (SDL_Texture* t = frame.get()) {
      SDL_Rect dst = display_frame_rect();
      SDL_RenderCopy(r, t, nullptr, &dst);
    }
    imgui_frame(r);
  }
  SDL_RenderPresent(r);
}

}  // namespace

bool take_scripted_answer(std::string& answer) {
  return !options().input.empty() && take_answer(answer);
}

bool gui_available() {
  return !headless() && display_sdl_window() != nullptr && display_sdl_renderer() != nullptr;
}

bool gui_ensure() {
  if (!gui_available()) return false;
  Gui& g = gui();
  SDL_Window* w = display_sdl_window();
  SDL_Renderer* r = display_sdl_renderer();
  if (!g.ctx) {
    IMGUI_CHECKVERSION();
    g.ctx = ImGui::CreateContext();
    ImGui::SetCurrentContext(g.ctx);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    // The game owns the pointer's shape and visibility.
    io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
    io.ConfigWindowsMoveFromTitleBarOnly = true;
    setup_style();
    build_fonts();
  }
  ImGui::SetCurrentContext(g.ctx);
  // A new window (ids are never reused) comes with a new renderer even if
  // the pointers happen to repeat.
  const Uint32 id = SDL_GetWindowID(w);
  bool new_renderer = r != g.renderer;
  if (w != g.window || id != g.window_id) {
    if (g.window) ImGui_ImplSDL2_Shutdown();
    ImGui_ImplSDL2_InitForSDLRenderer(w);
    g.window = w;
    g.window_id = id;
    new_renderer = true;
  }
  if (new_renderer) {
    // Textures of another renderer died with it (or are not ours to free).
    g.renderer = r;
    ++g.generation;
    create_font_texture();
  }
  if (!g.overlay_set) {
    display_set_overlay(&overlay());
    g.overlay_set = true;
  }
  return true;
}

void register_overlay() {
  // Setting it again makes the display fit the window to the bar's height.
  display_set_overlay(&overlay());
  gui().overlay_set = true;
}

ImFont* font_for(int points, bool bold) {
  Gui& g = gui();
  if (g.faces.empty()) return ImGui::GetFont();
  int px = static_cast<int>(std::lround(points * 96.0 / 72.0));
  const FaceSet* best = &g.faces[0];
  for (const FaceSet& f : g.faces)
    if (std::abs(f.px - px) < std::abs(best->px - px)) best = &f;
  return bold ? best->bold : best->regular;
}

ImFont* ui_font() { return font_for(9, false); }

bool modal_active() { return !gui().stack.empty(); }

void run_modal(ModalWindow& w) {
  if (!gui_ensure()) return;
  Gui& g = gui();
  PointerState pointer;
  const bool outermost = g.stack.empty();
  if (outermost) pointer.save_and_free(g.window);
  const bool text_was_on = SDL_IsTextInputActive();
  if (!text_was_on) SDL_StartTextInput();

  Texture frame;
  int fw = 0, fh = 0;
  const std::vector<uint32_t>& px = display_last_frame(fw, fh);
  if (fw > 0 && fh > 0 && px.size() >= static_cast<size_t>(fw) * fh) frame.update(px.data(), fw, fh);

  g.stack.push_back(&w);
  g.enter = g.escape = false;
  for (bool& p : g.pressed) p = false;
  if (outermost) {
    // Keys pressed before the dialog (the one that opened it, say) are not
    // held inside it: a held Enter would repeat into its edit box.
    ImGuiIO& io = ImGui::GetIO();
    for (bool& k : io.KeysDown) k = false;
    io.KeyCtrl = io.KeyShift = io.KeyAlt = io.KeySuper = false;
  }
  bool quit = false;
  while (!w.done()) {
    Event ev;
    while (poll_event(ev)) {
      if (ev.type == EventType::Quit) {
        quit = true;
        w.cancel();
      }
    }
    if (w.done()) break;
    present_with(frame);
    w.after_frame();
    if (w.done()) break;
    w.idle();
    if (!w.done()) SDL_WaitEventTimeout(nullptr, 15);
  }
  g.stack.pop_back();
  g.enter = g.escape = false;
  present_with(frame);  // the frame again, without this window

  if (!text_was_on) SDL_StopTextInput();
  if (outermost) pointer.restore(g.window);
  if (quit) {
    SDL_Event q{};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);  // the game's loop sees the close request
  }
}

void set_client_origin(float x, float y) {
  gui().origin_x = x;
  gui().origin_y = y;
}

void client_origin(float& x, float& y) {
  x = gui().origin_x;
  y = gui().origin_y;
}

bool key_pressed(int scancode, Uint16* mod) {
  if (scancode <= 0 || scancode >= SDL_NUM_SCANCODES || !gui().pressed[scancode]) return false;
  if (mod) *mod = gui().pressed_mod[scancode];
  return true;
}

bool take_enter() {
  bool e = gui().enter;
  gui().enter = false;
  return e;
}

bool take_escape() {
  bool e = gui().escape;
  gui().escape = false;
  return e;
}

void run_menu_loop() {
  if (!gui_ensure() || !gui().stack.empty() || !menubar_open()) return;
  Gui& g = gui();
  Texture frame;
  int fw = 0, fh = 0;
  const std::vector<uint32_t>& px = display_last_frame(fw, fh);
  if (fw > 0 && fh > 0 && px.size() >= static_cast<size_t>(fw) * fh) frame.update(px.data(), fw, fh);
  bool quit = false;
  while (menubar_open() && !quit) {
    Event ev;
    while (poll_event(ev))
      if (ev.type == EventType::Quit) quit = true;
    if (quit) break;
    present_with(frame);
    if (menubar_open()) SDL_WaitEventTimeout(nullptr, 15);
  }
  if (quit) {
    menubar_close();
    present_with(frame);
    SDL_Event q{};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);
  }
  (void)g;
}

unsigned renderer_generation() { return gui().generation; }

Texture::~Texture() { release(); }

void Texture::release() {
  if (tex_ && generation_ == gui().generation) SDL_DestroyTexture(tex_);
  tex_ = nullptr;
}

void Texture::update(const uint32_t* rgb_pixels, int w, int h) {
  if (!gui_ensure() || w <= 0 || h <= 0) return;
  Gui& g = gui();
  if (!tex_ || generation_ != g.generation || w != w_ || h != h_) {
    release();
    tex_ = SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STATIC, w, h);
    generation_ = g.generation;
    w_ = w;
    h_ = h;
  }
  if (tex_) SDL_UpdateTexture(tex_, nullptr, rgb_pixels, 4 * w);
}

SDL_Texture* Texture::get() {
  if (!tex_ || generation_ != gui().generation) return nullptr;
  return tex_;
}

uint32_t im_color(uint32_t c, uint8_t alpha) {
  return IM_COL32((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, alpha);
}

void render_draw_data(SDL_Renderer* r) {
  ImDrawData* dd = ImGui::GetDrawData();
  if (!dd || dd->CmdListsCount == 0) return;
  const ImVec2 scale = dd->FramebufferScale;
  const int fb_w = static_cast<int>(dd->DisplaySize.x * scale.x);
  const int fb_h = static_cast<int>(dd->DisplaySize.y * scale.y);
  if (fb_w <= 0 || fb_h <= 0) return;
  SDL_RenderSetScale(r, scale.x, scale.y);
  const ImVec2 off = dd->DisplayPos;
  for (int n = 0; n < dd->CmdListsCount; ++n) {
    const ImDrawList* list = dd->CmdLists[n];
    const ImDrawVert* vtx = list->VtxBuffer.Data;
    const ImDrawIdx* idx = list->IdxBuffer.Data;
    for (int i = 0; i < list->CmdBuffer.Size; ++i) {
      const ImDrawCmd& cmd = list->CmdBuffer[i];
      if (cmd.UserCallback) {
        if (cmd.UserCallback != ImDrawCallback_ResetRenderState) cmd.UserCallback(list, &cmd);
        continue;
      }
      float x0 = (cmd.ClipRect.x - off.x), y0 = (cmd.ClipRect.y - off.y);
      float x1 = (cmd.ClipRect.z - off.x), y1 = (cmd.ClipRect.w - off.y);
      if (x0 < 0) x0 = 0;
      if (y0 < 0) y0 = 0;
      if (x1 > fb_w) x1 = static_cast<float>(fb_w);
      if (y1 > fb_h) y1 = static_cast<float>(fb_h);
      if (x1 <= x0 || y1 <= y0) continue;
      SDL_Rect clip{static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1 - x0),
                    static_cast<int>(y1 - y0)};
      SDL_RenderSetClipRect(r, &clip);
      const ImDrawVert* base = vtx + cmd.VtxOffset;
      const float* xy = reinterpret_cast<const float*>(reinterpret_cast<const char*>(base) +
                                                       offsetof(ImDrawVert, pos));
      const float* uv = reinterpret_cast<const float*>(reinterpret_cast<const char*>(base) +
                                                       offsetof(ImDrawVert, uv));
      const SDL_Color* col = reinterpret_cast<const SDL_Color*>(reinterpret_cast<const char*>(base) +
                                                                offsetof(ImDrawVert, col));
      SDL_RenderGeometryRaw(r, static_cast<SDL_Texture*>(cmd.GetTexID()), xy, sizeof(ImDrawVert), col,
                            sizeof(ImDrawVert), uv, sizeof(ImDrawVert),
                            list->VtxBuffer.Size - static_cast<int>(cmd.VtxOffset), idx + cmd.IdxOffset,
                            static_cast<int>(cmd.ElemCount), sizeof(ImDrawIdx));
    }
  }
  SDL_RenderSetClipRect(r, nullptr);
}

void log_dialog(const std::string& kind, const std::string& caption, const std::string& detail,
                const std::string& answer) {
  std::fprintf(stderr, "[%s] \"%s\"%s%s -> %s\n", kind.c_str(), caption.c_str(), detail.empty() ? "" : ": ",
               detail.c_str(), answer.c_str());
  std::fflush(stderr);
}

void draw_text(ImFont* font, float x, float y, uint32_t col, const std::string& text, int underline) {
  ImDrawList* dl = ImGui::GetWindowDrawList();
  const float size = font->FontSize;
  x = std::floor(x);
  y = std::floor(y);
  dl->AddText(font, size, ImVec2(x, y), col, text.c_str(), text.c_str() + text.size());
  if (underline >= 0 && static_cast<size_t>(underline) < text.size()) {
    size_t end = static_cast<size_t>(underline) + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    const char* s = text.c_str();
    float ux0 = x + font->CalcTextSizeA(size, 1e9f, 0, s, s + underline).x;
    float ux1 = x + font->CalcTextSizeA(size, 1e9f, 0, s, s + end).x;
    float uy = y + std::floor(font->Ascent) + 1;
    dl->AddRectFilled(ImVec2(std::floor(ux0), uy), ImVec2(std::floor(ux1), uy + 1), col);
  }
}

}  // namespace platform::forms::detail
