// PNG and WAV files: screenshots, contact sheets, audio capture and the
// games' wave data.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "audio.h"

namespace platform {

// Pixels are 0x00RRGGBB, `stride` in pixels.
bool write_png_rgb(const std::string& path, int w, int h, const uint32_t* pixels, int stride,
                   std::string* error = nullptr);
bool write_png_indexed(const std::string& path, int w, int h, const uint8_t* pixels, int pitch,
                       const uint32_t palette[256], std::string* error = nullptr);
bool read_png_rgb(const std::string& path, int& w, int& h, std::vector<uint32_t>& pixels,
                  std::string* error = nullptr);

struct WavData {
  WaveFormat format;
  std::vector<uint8_t> data;
};
// Parses a RIFF WAVE image with PCM 8/16-bit data ("fmt " and "data" in any order).
bool parse_wav(const uint8_t* bytes, size_t size, WavData& out, std::string& error);
std::vector<uint8_t> make_wav(const WaveFormat& fmt, const void* data, size_t bytes);

// Streams 16-bit stereo PCM to a WAV file; the header is completed on close().
class WavWriter {
 public:
  ~WavWriter();
  bool open(const std::string& path, int rate);
  void write(const int16_t* frames, size_t count);
  void close();
  bool is_open() const { return f_ != nullptr; }

 private:
  std::FILE* f_ = nullptr;
  uint32_t data_bytes_ = 0;
  int rate_ = 44100;
};

}  // namespace platform
