// Contact sheets: every pattern of a picture enlarged on a grid with its
// number, transparent pixels shown as a grey checkerboard.
#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "generate.h"

namespace zubroll::art {

namespace {

cairo_surface_t* to_rgb(const IndexedImage& img, bool transparent) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, img.width, img.height);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      uint8_t i = img.pixels[size_t(y) * img.width + x];
      uint32_t v;
      if (transparent && i == kTransparentIndex)
        v = ((x / 4 + y / 4) & 1) ? 0x9A9AA8 : 0x74747F;
      else
        v = uint32_t(img.palette[i].r) << 16 | img.palette[i].g << 8 | img.palette[i].b;
      reinterpret_cast<uint32_t*>(data + size_t(y) * stride)[x] = v;
    }
  cairo_surface_mark_dirty(s);
  return s;
}

void label(cairo_t* cr, const std::string& s, double x, double y, double size) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, s.c_str());
}

int scale_for(int pw, int ph) {
  int m = std::max(pw, ph);
  return m <= 16 ? 4 : m <= 40 ? 3 : m <= 110 ? 2 : 1;
}

bool save(cairo_surface_t* s, const std::string& path, std::string& error) {
  if (cairo_surface_write_to_png(s, path.c_str()) != CAIRO_STATUS_SUCCESS)
    return error = "cannot write " + path, false;
  return true;
}

// A 512 x 400 surface built from patterns, as the game composes its screens,
// to judge the pictures together.
class Scene {
 public:
  explicit Scene(const std::vector<Picture>& pics) : pics_(pics), px_(512 * 400, 0) {}
  void put(const char* name, int pattern, int x, int y) {
    const Picture* p = nullptr;
    for (const Picture& q : pics_)
      if (q.name == name) p = &q;
    if (!p) return;
    const ImageSpec& s = p->item_spec;
    int pw = s.pattern_width ? s.pattern_width : s.width;
    int ph = s.pattern_height ? s.pattern_height : s.height;
    int cols = s.width / pw;
    int sx = (pattern % cols) * pw, sy = (pattern / cols) * ph;
    for (int v = 0; v < ph; ++v)
      for (int u = 0; u < pw; ++u) {
        int X = x + u, Y = y + v;
        if (X < 0 || Y < 0 || X >= 512 || Y >= 400) continue;
        uint8_t i = p->image.pixels[size_t(sy + v) * p->image.width + sx + u];
        if (s.transparent && i == kTransparentIndex) continue;
        const Rgb& c = p->image.palette[i];
        px_[size_t(Y) * 512 + X] = uint32_t(c.r) << 16 | c.g << 8 | c.b;
      }
  }
  bool save(const std::string& path, std::string& error) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1024, 800);
    cairo_surface_flush(s);
    unsigned char* d = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < 800; ++y)
      for (int x = 0; x < 1024; ++x)
        reinterpret_cast<uint32_t*>(d + size_t(y) * stride)[x] = px_[size_t(y / 2) * 512 + x / 2];
    cairo_surface_mark_dirty(s);
    bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(s);
    if (!ok) error = "cannot write " + path;
    return ok;
  }

 private:
  const std::vector<Picture>& pics_;
  std::vector<uint32_t> px_;
};

void frame(Scene& sc, int bg) {
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) sc.put("BgPat", bg, 64 * i, 64 * j);
  sc.put("BgBPanel", 0, 0, 371);
  sc.put("BgRPanel", 0, 376, 0);
  for (int i = 0; i < 8; ++i) sc.put("Score", (1234560 / int(std::pow(10, i))) % 10, 488 - 12 * i, 22);
  for (int i = 0; i < 3; ++i) sc.put("SButa", 0, 480 - 24 * i, 67);
  const int ring[12][3] = {{431, 98, 6}, {456, 104, 2}, {474, 121, 7}, {481, 146, 1},
                           {474, 173, 8}, {457, 191, 2}, {431, 197, 3}, {405, 191, 1},
                           {388, 173, 4}, {382, 146, 0}, {390, 123, 5}, {407, 104, 1}};
  for (auto& r : ring) sc.put("Items", r[2], r[0] - 12, r[1] - 12);
  sc.put("BPiyo", 0, 405, 121);
  const int ex[5] = {412, 424, 435, 447, 460};
  for (int i = 0; i < 5; ++i) sc.put("Extra", i, ex[i], 170);
  for (int i = 0; i < 12; ++i) sc.put("SPiyo", i < 5 ? 1 : 0, 385 + 10 * i, 227);
  for (int i = 0; i < 10; ++i) sc.put("SEgg", i < 3 ? 0 : i < 4 ? 1 : 2, 480 - 8 * i, 244);
  sc.put("Guide", 0, 170, 388);
}

bool write_scenes(const std::vector<Picture>& pics, const std::string& folder,
                  std::string& error) {
  bool ok = true;
  {  // title
    Scene sc(pics);
    frame(sc, 0);
    sc.put("ZrBigEgg", 0, 60, 2);
    sc.put("ZrTitle", 0, 32, 98);
    const int bx[4] = {55, 157, 259, 157}, by[4] = {270, 270, 270, 328};
    for (int i = 0; i < 4; ++i) sc.put("FaceBtn", i + (i == 1 ? 4 : 0), bx[i], by[i]);
    sc.put("Hand", 0, 190, 292);
    ok = ok && sc.save(folder + "/scene-title.png", error);
  }
  {  // a stage in play
    Scene sc(pics);
    frame(sc, 3);
    int kinds[14] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 16, 17, 18, 19, 2};
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 13; ++c)
        if ((r + c) % 3) sc.put("Egg", kinds[(r * 5 + c) % 14], 6 + 26 * c, 1 + 31 * r);
    sc.put("Egg", 8, 6 + 26 * 6, 1 + 31 * 6);
    sc.put("ZubZub", 3, 140, 328);
    sc.put("Devadiv", 5, 200, 240);
    sc.put("Devadiv", 21, 120, 200);
    sc.put("PiyoPiyo", 1, 60, 250);
    sc.put("Kaizyu", 20, 260, 318);
    sc.put("Point", 3, 210, 200), sc.put("Point", 0, 222, 200);
    sc.put("Star", 0, 90, 190), sc.put("Star", 5, 100, 176);
    sc.put("Coins", 3, 320, 260);
    sc.put("Kanban", 3, 30, 342);
    ok = ok && sc.save(folder + "/scene-play.png", error);
  }
  {  // bosses: EggKing with his parts, and the ending's giant chick
    Scene sc(pics);
    frame(sc, 19);
    int x = 40, y = 20;
    sc.put("EKBack", 0, x + 22 + 26, y + 97 - 2);
    sc.put("EKHead", 0, x + 38, y + 15);
    sc.put("EKEye", 0, x + 22 + 38, y + 97 - 36);
    sc.put("EKBody", 0, x + 22, y + 97);
    sc.put("EKHand", 0, x + 22 - 30, y + 97 - 26);
    sc.put("EKHand", 8, x + 22 + 84, y + 97 - 26);
    sc.put("BHFoot", 0, 200, 180 + 130);
    sc.put("BHBody", 0, 200, 180);
    sc.put("BHEye", 0, 247, 214);
    sc.put("BHHand", 0, 177, 230);
    sc.put("BHHand", 3, 305, 230);
    sc.put("Baloon", 0, 270, 130);
    ok = ok && sc.save(folder + "/scene-boss-ending.png", error);
  }
  {  // GBos, BBos and QBos as the stage lays them out
    Scene sc(pics);
    frame(sc, 16);
    int x = 20, y = 40;  // GBos anchor
    sc.put("GBossBase", 0, x + 21, y + 89);
    sc.put("GBossBody", 1, x + 12, y + 29);
    sc.put("GBossHead", 0, x + 13, y + 29 - 40);
    x = 120, y = 60;  // BBos
    sc.put("BBOSHead", 2, x + 17, y);
    sc.put("BBOSSensu", 2, x + 17 - 40, y + 14);
    sc.put("BBOSSensu", 5, x + 17 + 62, y + 14);
    sc.put("BBOSBody", 0, x + 10, y + 25);
    x = 260, y = 30;  // QBos
    sc.put("QBOSHead", 0, x + 12, y);
    sc.put("QBOSBody", 2, x + 12, y);
    for (int k = 0; k < 8; ++k)
      sc.put("Egg", 6, x + 40 + int(60 * std::cos(k * 0.785)), y + 40 + int(40 * std::sin(k * 0.785)));
    sc.put("BigOmori", 0, 150, 250);
    sc.put("BigBomb", 0, 280, 220);
    sc.put("Flash", 0, 40, 250);
    ok = ok && sc.save(folder + "/scene-bosses.png", error);
  }
  return ok;
}

}  // namespace

bool write_contact_sheets(const std::vector<Picture>& pics, const std::string& folder,
                          std::string& error) {
  if (!make_folders(folder)) return error = "cannot create " + folder, false;
  const int pad = 6, text_h = 14;
  // index page: every picture whole, at most 256 pixels wide, in rows
  const int index_w = 1400;
  struct Place { int x, y, w, h; double k; };
  std::vector<Place> places;
  int x = pad, y = pad + 24, row_h = 0;
  for (const Picture& p : pics) {
    double k = std::min(2.0, std::min(260.0 / p.image.width, 200.0 / p.image.height));
    if (k > 1) k = std::floor(k);
    int w = int(p.image.width * k), h = int(p.image.height * k);
    int cw = std::max(w, 110);
    if (x + cw + pad > index_w) x = pad, y += row_h + text_h + pad, row_h = 0;
    places.push_back({x, y, w, h, k});
    x += cw + pad;
    row_h = std::max(row_h, h);
  }
  cairo_surface_t* idx =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, index_w, y + row_h + text_h + pad);
  cairo_t* ic = cairo_create(idx);
  cairo_set_source_rgb(ic, 0.16, 0.16, 0.2);
  cairo_paint(ic);
  label(ic, "Zubroll pictures", pad, 18, 16);
  bool ok = true;
  for (size_t n = 0; n < pics.size(); ++n) {
    const Picture& p = pics[n];
    const ImageSpec& s = p.item_spec;
    cairo_surface_t* rgb = to_rgb(p.image, s.transparent);
    const Place& pl = places[n];
    cairo_save(ic);
    cairo_translate(ic, pl.x, pl.y);
    cairo_scale(ic, pl.k, pl.k);
    cairo_set_source_surface(ic, rgb, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(ic), CAIRO_FILTER_NEAREST);
    cairo_paint(ic);
    cairo_restore(ic);
    label(ic, p.name, pl.x, pl.y + pl.h + 11, 10);

    // the picture's own sheet
    int pw = s.pattern_width ? s.pattern_width : s.width;
    int ph = s.pattern_height ? s.pattern_height : s.height;
    int k = scale_for(pw, ph);
    int cw = pw * k + pad, chh = ph * k + text_h + pad;
    int cols = std::max(1, std::min(s.pattern_count, 1600 / cw));
    int rows = (s.pattern_count + cols - 1) / cols;
    int W = std::max(cols * cw + pad, 260), H = rows * chh + pad + 24;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, W, H);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.16, 0.16, 0.2);
    cairo_paint(cr);
    char head[160];
    std::snprintf(head, sizeof head, "%s  %dx%d x%d  (%dx%d)%s%s", p.name.c_str(), pw, ph,
                  s.pattern_count, s.width, s.height, s.transparent ? " aqua" : " opaque",
                  s.own_palette ? " own palette" : "");
    label(cr, head, pad, 17, 13);
    int pcols = s.width / pw;
    for (int i = 0; i < s.pattern_count; ++i) {
      int gx = pad + (i % cols) * cw, gy = 24 + (i / cols) * chh;
      cairo_save(cr);
      cairo_rectangle(cr, gx, gy, pw * k, ph * k);
      cairo_clip(cr);
      cairo_translate(cr, gx, gy);
      cairo_scale(cr, k, k);
      cairo_set_source_surface(cr, rgb, -(i % pcols) * pw, -(i / pcols) * ph);
      cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
      cairo_paint(cr);
      cairo_restore(cr);
      label(cr, std::to_string(i), gx, gy + ph * k + 11, 10);
    }
    cairo_destroy(cr);
    ok = ok && save(sheet, folder + "/" + p.name + ".png", error);
    cairo_surface_destroy(sheet);
    cairo_surface_destroy(rgb);
  }
  cairo_destroy(ic);
  ok = ok && save(idx, folder + "/index.png", error);
  ok = ok && write_scenes(pics, folder, error);
  cairo_surface_destroy(idx);
  return ok;
}

}  // namespace zubroll::art
