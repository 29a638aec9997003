#include "zubroll/sprite/dximage.h"

#include <cstring>

#include "platform/files.h"

namespace zubroll {

namespace {
uint32_t rd32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t rd16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
void wr32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}
void wr16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
}  // namespace

bool ParseBmp8(const uint8_t* d, size_t size, TDIB& out, std::string& error) {
  if (size < 54 || d[0] != 'B' || d[1] != 'M') {
    error = "not a BMP file";
    return false;
  }
  const uint32_t bits_off = rd32(d + 10), hdr = rd32(d + 14);
  if (hdr < 40 || 14 + size_t(hdr) > size) {
    error = "unsupported BMP header";
    return false;
  }
  const int32_t w = int32_t(rd32(d + 18)), h = int32_t(rd32(d + 22));
  const uint16_t bpp = rd16(d + 28);
  const uint32_t comp = rd32(d + 30);
  uint32_t used = rd32(d + 46);
  if (bpp != 8 || comp != 0) {
    error = "not an uncompressed 8-bit BMP";
    return false;
  }
  if (w <= 0 || h == 0 || w > 16384 || h > 16384 || h < -16384) {
    error = "bad BMP size";
    return false;
  }
  if (used == 0 || used > 256) used = 256;
  const size_t table = 14 + size_t(hdr);
  if (table + used * 4 > size) {
    error = "truncated colour table";
    return false;
  }
  const int ah = h < 0 ? -h : h;
  const size_t stride = (size_t(w) + 3) & ~size_t(3);
  if (bits_off > size || size - bits_off < stride * size_t(ah)) {
    error = "truncated pixel data";
    return false;
  }
  out.Width = w;
  out.Height = ah;
  for (int i = 0; i < 256; ++i) out.Palette[i] = TRGB{};
  for (uint32_t i = 0; i < used; ++i) {
    const uint8_t* e = d + table + 4 * i;
    out.Palette[i] = TRGB{e[2], e[1], e[0]};
  }
  out.Pixels.assign(size_t(w) * ah, 0);
  for (int y = 0; y < ah; ++y) {
    const int src_row = h > 0 ? ah - 1 - y : y;
    std::memcpy(&out.Pixels[size_t(y) * w], d + bits_off + stride * size_t(src_row), size_t(w));
  }
  return true;
}

bool LoadBmp8(const std::string& path, TDIB& out, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!platform::read_file(platform::resolve_path(path), bytes, 64u << 20)) {
    error = "file not found or unreadable";
    return false;
  }
  return ParseBmp8(bytes.data(), bytes.size(), out, error);
}

std::vector<uint8_t> MakeBmp8(const TDIB& dib) {
  const size_t stride = (size_t(dib.Width) + 3) & ~size_t(3);
  const uint32_t off = 14 + 40 + 1024;
  const uint32_t total = off + uint32_t(stride * dib.Height);
  std::vector<uint8_t> v;
  v.reserve(total);
  v.push_back('B');
  v.push_back('M');
  wr32(v, total);
  wr32(v, 0);
  wr32(v, off);
  wr32(v, 40);
  wr32(v, uint32_t(dib.Width));
  wr32(v, uint32_t(dib.Height));
  wr16(v, 1);
  wr16(v, 8);
  wr32(v, 0);
  wr32(v, uint32_t(stride * dib.Height));
  wr32(v, 2835);
  wr32(v, 2835);
  wr32(v, 256);
  wr32(v, 0);
  for (int i = 0; i < 256; ++i) {
    v.push_back(dib.Palette[i].b);
    v.push_back(dib.Palette[i].g);
    v.push_back(dib.Palette[i].r);
    v.push_back(0);
  }
  for (int y = dib.Height - 1; y >= 0; --y) {
    const uint8_t* row = &dib.Pixels[size_t(y) * dib.Width];
    v.insert(v.end(), row, row + dib.Width);
    for (size_t p = size_t(dib.Width); p < stride; ++p) v.push_back(0);
  }
  return v;
}

void RemapToPalette(TDIB& dib, const TRGB to[256], int keep) {
  uint8_t map[256];
  for (int i = 0; i < 256; ++i) {
    if (i == keep) {
      map[i] = uint8_t(keep);
      continue;
    }
    const TRGB c = dib.Palette[i];
    int best = 0;
    long bestd = -1;
    for (int j = 0; j < 256; ++j) {
      if (j == keep) continue;  // only the transparent index may map to the transparent entry
      const long dr = long(to[j].r) - c.r, dg = long(to[j].g) - c.g, db = long(to[j].b) - c.b;
      const long dd = dr * dr + dg * dg + db * db;
      if (bestd < 0 || dd < bestd) {
        bestd = dd;
        best = j;
      }
    }
    map[i] = uint8_t(best);
  }
  for (uint8_t& p : dib.Pixels) p = map[p];
  for (int i = 0; i < 256; ++i) dib.Palette[i] = to[i];
}

int TPictureCollectionItem::PatternCount() const {
  const int pw = PatW(), ph = PatH();
  if (pw <= 0 || ph <= 0) return 0;
  return (Picture.Width / pw) * (Picture.Height / ph);
}

int TPictureCollectionItem::PatternPixel(int n, int x, int y) const {
  const int pw = PatW(), ph = PatH();
  if (n < 0 || n >= PatternCount() || x < 0 || y < 0 || x >= pw || y >= ph) return -1;
  const int cols = Picture.Width / pw;
  const int px = (n % cols) * pw + x, py = (n / cols) * ph + y;
  return Picture.Pixels[size_t(py) * Picture.Width + px];
}

void TPictureCollectionItem::Draw(TDirectDrawSurface* dest, int x, int y, int n) const {
  if (!dest || n < 0 || n >= PatternCount()) return;
  const int pw = PatW(), ph = PatH(), cols = Picture.Width / pw;
  const uint8_t* src = &Picture.Pixels[size_t((n / cols) * ph) * Picture.Width + size_t((n % cols) * pw)];
  dest->Blit(x, y, src, pw, ph, Picture.Width, Transparent, TransparentColor);
}

bool SameTextNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

TPictureCollectionItem& TDXImageList::Add(const std::string& name) {
  items_.push_back(std::make_unique<TPictureCollectionItem>());
  items_.back()->Name = name;
  return *items_.back();
}

TPictureCollectionItem* TDXImageList::FindOrNull(const std::string& name) {
  for (auto& it : items_)
    if (SameTextNoCase(it->Name, name)) return it.get();
  return nullptr;
}

TPictureCollectionItem* TDXImageList::Find(const std::string& name) {
  if (TPictureCollectionItem* it = FindOrNull(name)) return it;
  throw std::runtime_error("Image '" + name + "' not found");
}

}  // namespace zubroll
