#include "fixtures.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "platform/image_io.h"
#include "zubroll/shell/gamestate.h"
#include "zubroll/sprite/catalogue.h"

namespace zubroll::test {

TempFolder::TempFolder() {
  static int counter = 0;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    const auto p = base / ("zubroll_test_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::error_code ec;
    if (std::filesystem::create_directory(p, ec)) {
      path_ = p.string() + "/";
      break;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void FixturePalette(TRGB pal[256]) {
  for (int i = 0; i < 256; ++i)
    pal[i] = TRGB{uint8_t((i * 37) & 255), uint8_t((i * 91 + 40) & 255), uint8_t((i * 53 + 90) & 255)};
  pal[0] = TRGB{0, 0, 0};
  pal[7] = TRGB{192, 192, 192};
  pal[15] = TRGB{255, 255, 255};
  pal[254] = TRGB{0, 255, 255};
  pal[255] = TRGB{255, 255, 255};
}

namespace {
// Fixtures are written plainly: no flush to the disk, so many small files stay cheap.
bool put(const std::string& path, const void* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}
bool put(const std::string& path, const std::vector<uint8_t>& v) { return put(path, v.data(), v.size()); }
}  // namespace

bool WriteFile(const std::string& path, const std::string& text) { return put(path, text.data(), text.size()); }

namespace {
bool write_image(const std::string& folder, const ImageSpec& s, const TRGB pal[256]) {
  TDIB dib;
  dib.Width = s.width;
  dib.Height = s.height;
  std::memcpy(dib.Palette, pal, sizeof dib.Palette);
  if (s.own_palette)  // its own table: the same colours in reverse order, aqua kept at 254
    for (int i = 0; i < 256; ++i) dib.Palette[i] = i == kTransparentIndex ? pal[kTransparentIndex] : pal[255 - i];
  dib.Pixels.assign(size_t(s.width) * s.height, 0);
  const int pw = s.pattern_width ? s.pattern_width : s.width;
  const int ph = s.pattern_height ? s.pattern_height : s.height;
  const int cols = s.width / pw;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const int n = (y / ph) * cols + x / pw;
      const int px = x % pw, py = y % ph;
      const bool border = px == 0 || py == 0 || px == pw - 1 || py == ph - 1;
      int c = 16 + (n % 200);
      if (border && s.transparent) c = kTransparentIndex;
      if (s.own_palette && c != kTransparentIndex) c = 255 - c;  // the same colour in its own table
      dib.Pixels[size_t(y) * s.width + x] = uint8_t(c);
    }
  const auto bytes = MakeBmp8(dib);
  return put(folder + s.name + ".bmp", bytes);
}
}  // namespace

bool WriteFixtureData(const std::string& folder) {
  const std::string data = folder + "ZRData/";
  if (!platform::make_folder(data)) return false;
  TRGB pal[256];
  FixturePalette(pal);
  for (const ImageSpec& s : kImageCatalogue)
    if (!write_image(data, s, pal)) return false;
  if (!write_image(data, kSmallEggSpec, pal) || !write_image(data, kSmallBossSpec, pal)) return false;
  const ImageSpec paldib{"PalDIB", 1, 1, 256, 16, 16, false, false, false};
  {
    TDIB dib;
    dib.Width = dib.Height = 16;
    std::memcpy(dib.Palette, pal, sizeof dib.Palette);
    dib.Pixels.resize(256);
    for (int i = 0; i < 256; ++i) dib.Pixels[size_t(i)] = uint8_t(i);
    if (!put(data + "PalDIB.bmp", MakeBmp8(dib))) return false;
  }
  (void)paldib;
  const ImageSpec icon{"Icon", 0, 0, 1, 32, 32, true, false, false};
  if (!write_image(data, icon, pal)) return false;
  for (const WaveSpec& w : kWaveCatalogue) {
    std::vector<uint8_t> pcm(size_t(w.data_bytes));
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = uint8_t(128 + ((i / 8) % 2 ? 20 : -20));
    const auto bytes = platform::make_wav(platform::WaveFormat{w.rate, w.channels, 8}, pcm.data(), pcm.size());
    if (!put(data + w.name + ".wav", bytes)) return false;
  }
  return true;
}

bool WriteFixtureStageSet(const std::string& path) {
  TStageSet set;
  std::memset(static_cast<void*>(&set), 0, sizeof set);
  set.Version.set("1000");
  const size_t slash = path.find_last_of('/');
  set.SetName.set(path.substr(slash == std::string::npos ? 0 : slash + 1));
  for (int s = 0; s < kStageCount; ++s) {
    set.Cell(s, 3, 10) = 1;
    set.Cell(s, 3, 12) = 2;
    for (int h = 0; h < 2; ++h) {
      const int i = s + 32 * h;
      set.BallSpeed[i] = 512;
      set.BallSpeedCap[i] = 1024;
      set.MonsterFirstDelay[i] = 640;
      set.MonsterReturnDelay[i] = 736;
      set.MonsterStunTime[i] = 28;
    }
  }
  return put(path, &set, sizeof set);
}

}  // namespace zubroll::test
