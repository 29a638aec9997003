// The egg game's image and wave catalogue.
#pragma once

namespace zubroll {

struct ImageSpec {
  const char* name;
  int pattern_width, pattern_height;  // 0 x 0: one pattern, the whole picture
  int pattern_count;                  // numbered left to right, then top to bottom
  int width, height;                  // picture size
  bool transparent;                   // transparent colour is palette entry 254 (aqua)
  bool system_memory;
  bool own_palette;                   // carries its own 256-entry table instead of PalDIB's
};

struct WaveSpec {
  const char* name;
  int rate;
  int channels;
  int data_bytes;  // 8-bit PCM
};

constexpr int kImageCount = 75;
constexpr int kWaveCount = 68;
constexpr int kTransparentIndex = 254;  // aqua in the PalDIB palette
constexpr int kBlackIndex = 0;
constexpr int kSilverIndex = 7;

extern const ImageSpec kImageCatalogue[kImageCount];
extern const WaveSpec kWaveCatalogue[kWaveCount];
extern const ImageSpec kSmallEggSpec;   // 117 x 10: thirteen 9-pixel cells (stage cell values 1..9)
extern const ImageSpec kSmallBossSpec;  // 144 x 45: four 36 x 45 cells (boss cell values 10..13)
// The palette image PalDIB is a 16 x 16 8-bit picture "PalDIB.bmp" whose colour table
// is the display palette; the window icon is "Icon.bmp" (32 x 32, 8-bit, aqua transparent).

const ImageSpec* find_image_spec(const char* name);  // ignoring case; nullptr when unknown
const WaveSpec* find_wave_spec(const char* name);
bool equal_nocase(const char* a, const char* b);

}  // namespace zubroll
