// File formats the generator writes: 8-bit BMP pictures and PCM WAV waves,
// with readers used by the tests, and whole-file writes that rename into place.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "palette.h"

namespace zubroll::art {

struct IndexedImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // top-down rows, width bytes each
  Palette palette{};
};

// Windows BMP: BITMAPINFOHEADER, 8 bits per pixel, uncompressed, 256-entry colour
// table, bottom-up rows padded to 4 bytes.
std::vector<uint8_t> encode_bmp(const IndexedImage& img);
bool decode_bmp(const std::vector<uint8_t>& bytes, IndexedImage& out, std::string& error);

struct Wave {
  int rate = 11025;
  int channels = 1;
  int bits = 8;                // 8 (unsigned) or 16 (signed little-endian)
  std::vector<uint8_t> data;   // the "data" chunk
};
std::vector<uint8_t> encode_wav(const Wave& w);
bool decode_wav(const std::vector<uint8_t>& bytes, Wave& out, std::string& error);

// Writes to a temporary name beside path, then renames over it.
bool write_whole_file(const std::string& path, const std::vector<uint8_t>& bytes,
                      std::string& error);
bool read_whole_file(const std::string& path, std::vector<uint8_t>& out);
bool make_folders(const std::string& path);  // like mkdir -p

}  // namespace zubroll::art
