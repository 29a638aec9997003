#include "files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zubroll::art {

namespace {

void put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}
uint32_t get16(const std::vector<uint8_t>& v, size_t at) { return v[at] | v[at + 1] << 8; }
uint32_t get32(const std::vector<uint8_t>& v, size_t at) {
  return get16(v, at) | get16(v, at + 2) << 16;
}

}  // namespace

std::vector<uint8_t> encode_bmp(const IndexedImage& img) {
  const uint32_t stride = (uint32_t(img.width) + 3) & ~3u;
  const uint32_t image_bytes = stride * uint32_t(img.height);
  const uint32_t offset = 14 + 40 + 256 * 4;
  std::vector<uint8_t> v;
  v.reserve(offset + image_bytes);
  v.push_back('B');
  v.push_back('M');
  put32(v, offset + image_bytes);
  put32(v, 0);
  put32(v, offset);
  put32(v, 40);
  put32(v, uint32_t(img.width));
  put32(v, uint32_t(img.height));  // positive: bottom-up
  put16(v, 1);
  put16(v, 8);
  put32(v, 0);  // BI_RGB
  put32(v, image_bytes);
  put32(v, 2835);  // 72 dpi
  put32(v, 2835);
  put32(v, 256);
  put32(v, 0);
  for (const Rgb& c : img.palette) {
    v.push_back(c.b);
    v.push_back(c.g);
    v.push_back(c.r);
    v.push_back(0);
  }
  for (int y = img.height - 1; y >= 0; --y) {
    const uint8_t* row = img.pixels.data() + size_t(y) * img.width;
    v.insert(v.end(), row, row + img.width);
    v.insert(v.end(), stride - img.width, 0);
  }
  return v;
}

bool decode_bmp(const std::vector<uint8_t>& b, IndexedImage& out, std::string& error) {
  if (b.size() < 14 + 40 || b[0] != 'B' || b[1] != 'M') return error = "not a BMP file", false;
  uint32_t offset = get32(b, 10), hsize = get32(b, 14);
  int32_t w = int32_t(get32(b, 18)), h = int32_t(get32(b, 22));
  uint32_t planes = get16(b, 26), bpp = get16(b, 28), comp = get32(b, 30), used = get32(b, 46);
  if (hsize != 40) return error = "not a BITMAPINFOHEADER", false;
  if (planes != 1 || bpp != 8 || comp != 0) return error = "not 8-bit uncompressed", false;
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return error = "bad size", false;
  if (used == 0) used = 256;
  if (used > 256 || 54 + used * 4 > b.size()) return error = "bad colour table", false;
  uint32_t stride = (uint32_t(w) + 3) & ~3u;
  if (offset < 54 + used * 4 || uint64_t(offset) + uint64_t(stride) * h > b.size())
    return error = "truncated pixel data", false;
  out.width = w;
  out.height = h;
  out.palette = {};
  for (uint32_t i = 0; i < used; ++i)
    out.palette[i] = {b[54 + i * 4 + 2], b[54 + i * 4 + 1], b[54 + i * 4]};
  out.pixels.assign(size_t(w) * h, 0);
  for (int y = 0; y < h; ++y)
    std::memcpy(&out.pixels[size_t(h - 1 - y) * w], &b[offset + size_t(y) * stride], w);
  return true;
}

std::vector<uint8_t> encode_wav(const Wave& w) {
  std::vector<uint8_t> v;
  const uint32_t n = uint32_t(w.data.size());
  const uint32_t align = uint32_t(w.channels * w.bits / 8);
  v.insert(v.end(), {'R', 'I', 'F', 'F'});
  put32(v, 4 + 8 + 16 + 8 + n + (n & 1));
  v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(v, 16);
  put16(v, 1);  // PCM
  put16(v, uint32_t(w.channels));
  put32(v, uint32_t(w.rate));
  put32(v, uint32_t(w.rate) * align);
  put16(v, align);
  put16(v, uint32_t(w.bits));
  v.insert(v.end(), {'d', 'a', 't', 'a'});
  put32(v, n);
  v.insert(v.end(), w.data.begin(), w.data.end());
  if (n & 1) v.push_back(0);  // chunks are word aligned
  return v;
}

bool decode_wav(const std::vector<uint8_t>& b, Wave& out, std::string& error) {
  if (b.size() < 12 || std::memcmp(&b[0], "RIFF", 4) || std::memcmp(&b[8], "WAVE", 4))
    return error = "not a RIFF WAVE file", false;
  bool fmt = false, data = false;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    uint32_t size = get32(b, at + 4);
    if (size > b.size() - at - 8) return error = "truncated chunk", false;
    if (!std::memcmp(&b[at], "fmt ", 4)) {
      if (size < 16) return error = "short fmt chunk", false;
      if (get16(b, at + 8) != 1) return error = "not PCM", false;
      out.channels = int(get16(b, at + 10));
      out.rate = int(get32(b, at + 12));
      out.bits = int(get16(b, at + 22));
      fmt = true;
    } else if (!std::memcmp(&b[at], "data", 4)) {
      out.data.assign(b.begin() + long(at + 8), b.begin() + long(at + 8 + size));
      data = true;
    }
    at += 8 + size + (size & 1);
  }
  if (!fmt || !data) return error = "missing fmt or data chunk", false;
  return true;
}

bool write_whole_file(const std::string& path, const std::vector<uint8_t>& bytes,
                      std::string& error) {
  std::string tmp = path + ".tmp-" + std::to_string(getpid());
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return error = tmp + ": " + std::strerror(errno), false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    error = path + ": " + std::strerror(errno);
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

bool read_whole_file(const std::string& path, std::vector<uint8_t>& out) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  out.clear();
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool make_folders(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      std::string part = path.substr(0, i);
      if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace zubroll::art
