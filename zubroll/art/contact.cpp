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
    const ImageSpec& s = p.spec;
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
  cairo_surface_destroy(idx);
  return ok;
}

}  // namespace zubroll::art
