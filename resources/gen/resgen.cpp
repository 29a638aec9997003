// Build-time generator of the bitmap libraries' pictures.
//
//   resgen LIST OUTDIR
//
// LIST names one bitmap a line: NAME WIDTH HEIGHT KIND ARGS...  ('#' starts a comment).
// Kinds: cell CODE (a dot-matrix letter cell for a 1250 code-page character),
// strip LETTERS (letters side by side in the same dot style), label normal|hot TEXT,
// button normal|hot|active|disabled TEXT, digit N (seven segments), toolbox.
// Writes OUTDIR/NAME.bmp (24 bits, 40-byte header, bottom-up rows padded to 4 bytes),
// OUTDIR/bitmaps.rc (one BITMAP statement each) and OUTDIR/contact.png (all of them).
// Same input, same bytes.
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Rgb {
  double r, g, b;
};

// ---------------------------------------------------------------- dot font
// 5 x 7 capitals; accents sit in three rows above the letter.
const std::map<char, std::vector<const char*>>& letters() {
  static const std::map<char, std::vector<const char*>> m = {
      {'A', {".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"}},
      {'B', {"XXXX.", "X...X", "X...X", "XXXX.", "X...X", "X...X", "XXXX."}},
      {'C', {".XXX.", "X...X", "X....", "X....", "X....", "X...X", ".XXX."}},
      {'D', {"XXXX.", "X...X", "X...X", "X...X", "X...X", "X...X", "XXXX."}},
      {'E', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"}},
      {'F', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "X...."}},
      {'G', {".XXX.", "X...X", "X....", "X.XXX", "X...X", "X...X", ".XXXX"}},
      {'H', {"X...X", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"}},
      {'I', {".XXX.", "..X..", "..X..", "..X..", "..X..", "..X..", ".XXX."}},
      {'J', {"..XXX", "...X.", "...X.", "...X.", "...X.", "X..X.", ".XX.."}},
      {'K', {"X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"}},
      {'L', {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"}},
      {'M', {"X...X", "XX.XX", "X.X.X", "X.X.X", "X...X", "X...X", "X...X"}},
      {'N', {"X...X", "X...X", "XX..X", "X.X.X", "X..XX", "X...X", "X...X"}},
      {'O', {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."}},
      {'P', {"XXXX.", "X...X", "X...X", "XXXX.", "X....", "X....", "X...."}},
      {'Q', {".XXX.", "X...X", "X...X", "X...X", "X.X.X", "X..X.", ".XX.X"}},
      {'R', {"XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"}},
      {'S', {".XXXX", "X....", "X....", ".XXX.", "....X", "....X", "XXXX."}},
      {'T', {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."}},
      {'U', {"X...X", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."}},
      {'V', {"X...X", "X...X", "X...X", "X...X", "X...X", ".X.X.", "..X.."}},
      {'W', {"X...X", "X...X", "X...X", "X.X.X", "X.X.X", "X.X.X", ".X.X."}},
      {'X', {"X...X", "X...X", ".X.X.", "..X..", ".X.X.", "X...X", "X...X"}},
      {'Y', {"X...X", "X...X", ".X.X.", "..X..", "..X..", "..X..", "..X.."}},
      {'Z', {"XXXXX", "....X", "...X.", "..X..", ".X...", "X....", "XXXXX"}},
      {'?', {".XXX.", "X...X", "....X", "...X.", "..X..", ".....", "..X.."}},
  };
  return m;
}

enum class Accent { none, caron, acute, ring };

const char* const kAccentRows[4][3] = {
    {".....", ".....", "....."},
    {".X.X.", "..X..", "....."},  // caron
    {"...X.", "..X..", "....."},  // acute
    {"..X..", ".X.X.", "..X.."},  // ring
};

// The characters of code page 1250 that the letter cells show.
bool cp1250_letter(int code, char& base, Accent& accent) {
  struct Entry {
    int code;
    char base;
    Accent accent;
  };
  static const Entry table[] = {
      {63, '?', Accent::none},    {138, 'S', Accent::caron}, {141, 'T', Accent::caron},
      {142, 'Z', Accent::caron},  {193, 'A', Accent::acute}, {200, 'C', Accent::caron},
      {201, 'E', Accent::acute},  {204, 'E', Accent::caron}, {205, 'I', Accent::acute},
      {207, 'D', Accent::caron},  {210, 'N', Accent::caron}, {211, 'O', Accent::acute},
      {216, 'R', Accent::caron},  {217, 'U', Accent::ring},  {218, 'U', Accent::acute},
      {221, 'Y', Accent::acute},
  };
  for (const Entry& e : table)
    if (e.code == code) {
      base = e.base;
      accent = e.accent;
      return true;
    }
  if (code >= 'A' && code <= 'Z') {
    base = char(code);
    accent = Accent::none;
    return true;
  }
  return false;
}

const Rgb kPaper{0.86, 0.88, 0.83};
const Rgb kDotOff{0.78, 0.80, 0.75};
const Rgb kDotOn{0.10, 0.12, 0.16};

void fill(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

// One 14 x 30 letter: ten rows of five 2 x 2 dots at a pitch of 3, from y = 1.
void draw_dot_letter(cairo_t* cr, double x0, char base, Accent accent) {
  const auto& glyph = letters().at(base);
  for (int row = 0; row < 10; ++row) {
    const char* bits = row < 3 ? kAccentRows[int(accent)][row] : glyph[row - 3];
    for (int col = 0; col < 5; ++col) {
      fill(cr, bits[col] == 'X' ? kDotOn : kDotOff);
      cairo_rectangle(cr, x0 + 3 * col, 1 + 3 * row, 2, 2);
      cairo_fill(cr);
    }
  }
}

// ---------------------------------------------------------------- buttons
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

struct Look {
  Rgb top, bottom, edge, text;
  bool pressed;
};

Look look_for(const std::string& state) {
  if (state == "hot") return {{1.00, 0.86, 0.45}, {0.93, 0.58, 0.12}, {0.55, 0.30, 0.02}, {0.20, 0.10, 0.00}, false};
  if (state == "active") return {{0.12, 0.25, 0.50}, {0.30, 0.50, 0.82}, {0.05, 0.12, 0.30}, {1.00, 1.00, 0.80}, true};
  if (state == "disabled") return {{0.80, 0.80, 0.80}, {0.66, 0.66, 0.66}, {0.50, 0.50, 0.50}, {0.52, 0.52, 0.52}, false};
  return {{0.42, 0.62, 0.92}, {0.14, 0.30, 0.62}, {0.05, 0.12, 0.30}, {1.00, 1.00, 1.00}, false};
}

void draw_button(cairo_t* cr, int w, int h, const std::string& state, const std::string& text,
                 bool label) {
  const Look lk = look_for(state);
  const Rgb back = label ? Rgb{0.93, 0.93, 0.90} : Rgb{0.80, 0.82, 0.86};
  fill(cr, back);
  cairo_paint(cr);
  const double r = std::min(w, h) * (label ? 0.18 : 0.28);
  rounded_rect(cr, 1, 1, w - 2, h - 2, r);
  cairo_pattern_t* grad = cairo_pattern_create_linear(0, 0, 0, h);
  cairo_pattern_add_color_stop_rgb(grad, 0, lk.top.r, lk.top.g, lk.top.b);
  cairo_pattern_add_color_stop_rgb(grad, 1, lk.bottom.r, lk.bottom.g, lk.bottom.b);
  cairo_set_source(cr, grad);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(grad);
  fill(cr, lk.edge);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // A light upper rim, or a dark one when pressed: light comes from the top left.
  rounded_rect(cr, 3, 3, w - 6, h - 6, std::max(1.0, r - 2));
  cairo_set_source_rgba(cr, lk.pressed ? 0 : 1, lk.pressed ? 0 : 1, lk.pressed ? 0 : 1, 0.35);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);

  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  double size = h * 0.5;
  cairo_text_extents_t ext;
  for (;;) {
    cairo_set_font_size(cr, size);
    cairo_text_extents(cr, text.c_str(), &ext);
    if (ext.width <= w - 12 || size < 6) break;
    size -= 1;
  }
  const double shift = lk.pressed ? 1 : 0;
  const double tx = (w - ext.width) / 2 - ext.x_bearing + shift;
  const double ty = (h - ext.height) / 2 - ext.y_bearing + shift;
  if (state != "disabled") {
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_move_to(cr, tx + 1, ty + 1);
    cairo_show_text(cr, text.c_str());
  }
  fill(cr, lk.text);
  cairo_move_to(cr, tx, ty);
  cairo_show_text(cr, text.c_str());
}

// ---------------------------------------------------------------- clock digits
void draw_digit(cairo_t* cr, int w, int h, int digit) {
  // Segments a b c d e f g, in the usual order (top, upper right, lower right, bottom,
  // lower left, upper left, middle).
  static const char* const on[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                     "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
  fill(cr, {0.05, 0.06, 0.05});
  cairo_paint(cr);
  const double l = 2.5, r = w - 2.5, t = 2.5, b = h - 2.5, m = h / 2.0;
  struct Seg {
    char id;
    double x1, y1, x2, y2;
  } segs[] = {
      {'a', l + 1.5, t, r - 1.5, t},     {'b', r, t + 1.5, r, m - 1},   {'c', r, m + 1, r, b - 1.5},
      {'d', l + 1.5, b, r - 1.5, b},     {'e', l, m + 1, l, b - 1.5},   {'f', l, t + 1.5, l, m - 1},
      {'g', l + 1.5, m, r - 1.5, m},
  };
  cairo_set_line_width(cr, 2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const Seg& s : segs) {
    const bool lit = std::strchr(on[digit], s.id) != nullptr;
    if (lit)
      fill(cr, {1.0, 0.30, 0.15});
    else
      fill(cr, {0.22, 0.09, 0.07});
    cairo_move_to(cr, s.x1, s.y1);
    cairo_line_to(cr, s.x2, s.y2);
    cairo_stroke(cr);
  }
}

// ---------------------------------------------------------------- toolbox picture
void draw_toolbox(cairo_t* cr, int w, int h) {
  fill(cr, {0.75, 0.75, 0.75});
  cairo_paint(cr);
  // A page with a folded corner and text lines: a view of a document.
  cairo_move_to(cr, 4, 2);
  cairo_line_to(cr, w - 8, 2);
  cairo_line_to(cr, w - 4, 6);
  cairo_line_to(cr, w - 4, h - 2);
  cairo_line_to(cr, 4, h - 2);
  cairo_close_path(cr);
  fill(cr, {1, 1, 1});
  cairo_fill_preserve(cr);
  fill(cr, {0.1, 0.1, 0.1});
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  fill(cr, {0.1, 0.2, 0.7});
  cairo_rectangle(cr, 7, 6, w - 16, 2);
  cairo_fill(cr);
  fill(cr, {0.3, 0.3, 0.3});
  for (int y = 11; y < h - 4; y += 3) {
    cairo_rectangle(cr, 7, y, w - 14 - (y % 2) * 3, 1);
    cairo_fill(cr);
  }
}

// ---------------------------------------------------------------- output
bool write_whole(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string tmp = path + ".tmp-" + std::to_string(getpid());
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

void put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}

std::vector<uint8_t> bmp_from_surface(cairo_surface_t* s) {
  cairo_surface_flush(s);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const uint8_t* px = cairo_image_surface_get_data(s);
  const uint32_t row = (uint32_t(w) * 3 + 3) & ~3u;
  const uint32_t image = row * uint32_t(h);
  std::vector<uint8_t> v;
  v.push_back('B');
  v.push_back('M');
  put32(v, 14 + 40 + image);
  put32(v, 0);
  put32(v, 14 + 40);
  put32(v, 40);  // BITMAPINFOHEADER
  put32(v, uint32_t(w));
  put32(v, uint32_t(h));  // positive: bottom-up
  put16(v, 1);
  put16(v, 24);
  put32(v, 0);  // BI_RGB
  put32(v, image);
  put32(v, 2835);
  put32(v, 2835);
  put32(v, 0);
  put32(v, 0);
  for (int y = h - 1; y >= 0; --y) {
    const uint32_t* line = reinterpret_cast<const uint32_t*>(px + size_t(y) * stride);
    for (int x = 0; x < w; ++x) {
      v.push_back(uint8_t(line[x]));
      v.push_back(uint8_t(line[x] >> 8));
      v.push_back(uint8_t(line[x] >> 16));
    }
    for (uint32_t pad = uint32_t(w) * 3; pad < row; ++pad) v.push_back(0);
  }
  return v;
}

struct Item {
  std::string name;
  int w = 0, h = 0;
  cairo_surface_t* surface = nullptr;
};

bool render(const std::string& kind, std::istringstream& args, Item& it, std::string& err) {
  it.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, it.w, it.h);
  cairo_t* cr = cairo_create(it.surface);
  bool ok = true;
  if (kind == "cell") {
    int code = 0;
    char base;
    Accent accent;
    if (!(args >> code) || !cp1250_letter(code, base, accent)) {
      err = "unknown letter cell code";
      ok = false;
    } else {
      fill(cr, kPaper);
      cairo_paint(cr);
      draw_dot_letter(cr, (it.w - 14) / 2, base, accent);
    }
  } else if (kind == "strip") {
    std::string text;
    args >> text;
    fill(cr, kPaper);
    cairo_paint(cr);
    for (size_t i = 0; i < text.size() && ok; ++i) {
      if (!letters().count(text[i])) {
        err = "letter without a dot pattern";
        ok = false;
      } else {
        draw_dot_letter(cr, 1 + 17.0 * double(i), text[i], Accent::none);
      }
    }
  } else if (kind == "label" || kind == "button") {
    std::string state, text, word;
    args >> state;
    while (args >> word) text += (text.empty() ? "" : " ") + word;
    draw_button(cr, it.w, it.h, state, text, kind == "label");
  } else if (kind == "digit") {
    int d = -1;
    if (!(args >> d) || d < 0 || d > 9) {
      err = "digit out of range";
      ok = false;
    } else {
      draw_digit(cr, it.w, it.h, d);
    }
  } else if (kind == "toolbox") {
    draw_toolbox(cr, it.w, it.h);
  } else {
    err = "unknown kind " + kind;
    ok = false;
  }
  cairo_destroy(cr);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: resgen LIST OUTDIR\n");
    return 2;
  }
  const std::string out = argv[2];
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "resgen: cannot read %s\n", argv[1]);
    return 1;
  }
  std::vector<Item> items;
  std::string line;
  int lineno = 0;
  while (std::getline(in, line)) {
    ++lineno;
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream args(line);
    Item it;
    std::string kind;
    if (!(args >> it.name)) continue;
    if (!(args >> it.w >> it.h >> kind) || it.w < 1 || it.h < 1 || it.w > 4096 || it.h > 4096) {
      std::fprintf(stderr, "%s:%d: expected NAME WIDTH HEIGHT KIND\n", argv[1], lineno);
      return 1;
    }
    std::string err;
    if (!render(kind, args, it, err)) {
      std::fprintf(stderr, "%s:%d: %s\n", argv[1], lineno, err.c_str());
      return 1;
    }
    items.push_back(it);
  }

  std::string rc = "// Generated by resgen: the library's bitmaps.\n";
  int sheet_w = 8, sheet_h = 8;
  for (const Item& it : items) {
    const std::string path = out + "/" + it.name + ".bmp";
    if (!write_whole(path, bmp_from_surface(it.surface))) {
      std::fprintf(stderr, "resgen: cannot write %s\n", path.c_str());
      return 1;
    }
    rc += it.name + " BITMAP \"" + path + "\"\n";
    sheet_w = std::max(sheet_w, it.w * 2 + 16);
    sheet_h += it.h * 2 + 8;
  }
  if (!write_whole(out + "/bitmaps.rc", std::vector<uint8_t>(rc.begin(), rc.end()))) {
    std::fprintf(stderr, "resgen: cannot write %s/bitmaps.rc\n", out.c_str());
    return 1;
  }

  // Contact sheet: every bitmap at twice its size, one under the other.
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sheet_w, sheet_h);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
  cairo_paint(cr);
  double y = 8;
  for (Item& it : items) {
    cairo_save(cr);
    cairo_translate(cr, 8, y);
    cairo_scale(cr, 2, 2);
    cairo_set_source_surface(cr, it.surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    y += it.h * 2 + 8;
    cairo_surface_destroy(it.surface);
  }
  cairo_destroy(cr);
  const std::string png = out + "/contact.png";
  const std::string tmp = png + ".tmp-" + std::to_string(getpid());
  const bool ok = cairo_surface_write_to_png(sheet, tmp.c_str()) == CAIRO_STATUS_SUCCESS &&
                  std::rename(tmp.c_str(), png.c_str()) == 0;
  cairo_surface_destroy(sheet);
  if (!ok) {
    std::fprintf(stderr, "resgen: cannot write %s\n", png.c_str());
    return 1;
  }
  return 0;
}
