// PNG via libpng; RIFF WAVE reading and writing.
#include "image_io.h"

#include <png.h>

#include <cstring>

#include "files.h"

namespace platform {
namespace {

void set_error(std::string* error, const std::string& msg) {
  if (error) *error = msg;
}

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

bool write_png_rgb(const std::string& path, int w, int h, const uint32_t* pixels, int stride, std::string* error) {
  if (w <= 0 || h <= 0) {
    set_error(error, "empty image");
    return false;
  }
  std::vector<uint8_t> rgb(size_t(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t c = pixels[size_t(y) * stride + x];
      uint8_t* d = &rgb[(size_t(y) * w + x) * 3];
      d[0] = uint8_t(c >> 16);
      d[1] = uint8_t(c >> 8);
      d[2] = uint8_t(c);
    }
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  img.width = png_uint_32(w);
  img.height = png_uint_32(h);
  img.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&img, nullptr, &size, 0, rgb.data(), w * 3, nullptr)) {
    set_error(error, std::string("PNG encoding failed: ") + img.message);
    return false;
  }
  std::vector<uint8_t> out(size);
  if (!png_image_write_to_memory(&img, out.data(), &size, 0, rgb.data(), w * 3, nullptr)) {
    set_error(error, std::string("PNG encoding failed: ") + img.message);
    return false;
  }
  out.resize(size);
  return write_file_atomic(path, out, error);
}

bool write_png_indexed(const std::string& path, int w, int h, const uint8_t* pixels, int pitch,
                       const uint32_t palette[256], std::string* error) {
  std::vector<uint32_t> rgb(size_t(w) * (h > 0 ? h : 0));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rgb[size_t(y) * w + x] = palette[pixels[size_t(y) * pitch + x]] & 0xFFFFFF;
  return write_png_rgb(path, w, h, rgb.data(), w, error);
}

bool read_png_rgb(const std::string& path, int& w, int& h, std::vector<uint32_t>& pixels, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!read_file(path, bytes)) {
    set_error(error, "cannot read " + path);
    return false;
  }
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&img, bytes.data(), bytes.size())) {
    set_error(error, std::string("not a PNG file: ") + img.message);
    return false;
  }
  img.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, rgb.data(), 0, nullptr)) {
    set_error(error, std::string("PNG decoding failed: ") + img.message);
    png_image_free(&img);
    return false;
  }
  w = int(img.width);
  h = int(img.height);
  pixels.resize(size_t(w) * h);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = (uint32_t(rgb[i * 3]) << 16) | (uint32_t(rgb[i * 3 + 1]) << 8) | rgb[i * 3 + 2];
  return true;
}

bool parse_wav(const uint8_t* b, size_t size, WavData& out, std::string& error) {
  if (size < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0) {
    error = "not a RIFF WAVE file";
    return false;
  }
  size_t end = std::min<size_t>(size, size_t(rd32(b + 4)) + 8);
  bool have_fmt = false, have_data = false;
  size_t pos = 12;
  while (pos + 8 <= end) {
    uint32_t len = rd32(b + pos + 4);
    const uint8_t* body = b + pos + 8;
    if (len > end - pos - 8) {
      error = "chunk runs past the end of the file";
      return false;
    }
    if (std::memcmp(b + pos, "fmt ", 4) == 0) {
      if (len < 16) {
        error = "format chunk too short";
        return false;
      }
      if (rd16(body) != 1) {
        error = "not PCM data";
        return false;
      }
      out.format.channels = rd16(body + 2);
      out.format.rate = int(rd32(body + 4));
      out.format.bits = rd16(body + 14);
      have_fmt = true;
    } else if (std::memcmp(b + pos, "data", 4) == 0) {
      out.data.assign(body, body + len);
      have_data = true;
    }
    pos += 8 + len + (len & 1);
  }
  if (!have_fmt) {
    error = "no format chunk";
    return false;
  }
  if (!have_data) {
    error = "no data chunk";
    return false;
  }
  const WaveFormat& f = out.format;
  if ((f.channels != 1 && f.channels != 2) || (f.bits != 8 && f.bits != 16) || f.rate < 100 || f.rate > 200000) {
    error = "unsupported sample format";
    return false;
  }
  out.data.resize(out.data.size() - out.data.size() % size_t(f.block_align()));
  return true;
}

std::vector<uint8_t> make_wav(const WaveFormat& fmt, const void* data, size_t bytes) {
  std::vector<uint8_t> v;
  v.reserve(44 + bytes + 1);
  v.insert(v.end(), {'R', 'I', 'F', 'F'});
  wr32(v, uint32_t(36 + bytes + (bytes & 1)));
  v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  wr32(v, 16);
  wr16(v, 1);
  wr16(v, uint16_t(fmt.channels));
  wr32(v, uint32_t(fmt.rate));
  wr32(v, uint32_t(fmt.rate * fmt.block_align()));
  wr16(v, uint16_t(fmt.block_align()));
  wr16(v, uint16_t(fmt.bits));
  v.insert(v.end(), {'d', 'a', 't', 'a'});
  wr32(v, uint32_t(bytes));
  const uint8_t* p = static_cast<const uint8_t*>(data);
  v.insert(v.end(), p, p + bytes);
  if (bytes & 1) v.push_back(0);
  return v;
}

WavWriter::~WavWriter() { close(); }

bool WavWriter::open(const std::string& path, int rate) {
  close();
  f_ = std::fopen(resolve_path(path).c_str(), "wb");
  if (!f_) return false;
  rate_ = rate;
  data_bytes_ = 0;
  WaveFormat fmt{rate, 2, 16};
  std::vector<uint8_t> header = make_wav(fmt, nullptr, 0);
  std::fwrite(header.data(), 1, header.size(), f_);
  return true;
}

void WavWriter::write(const int16_t* frames, size_t count) {
  if (!f_ || count == 0) return;
  // Little-endian host: the samples are written as they are.
  std::fwrite(frames, sizeof(int16_t) * 2, count, f_);
  data_bytes_ += uint32_t(count * 4);
}

void WavWriter::close() {
  if (!f_) return;
  std::vector<uint8_t> size;
  wr32(size, 36 + data_bytes_);
  std::fseek(f_, 4, SEEK_SET);
  std::fwrite(size.data(), 1, 4, f_);
  size.clear();
  wr32(size, data_bytes_);
  std::fseek(f_, 40, SEEK_SET);
  std::fwrite(size.data(), 1, 4, f_);
  std::fclose(f_);
  f_ = nullptr;
}

}  // namespace platform
