#include "generate.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <array>
#include <thread>

#include "canvas.h"
#include "pictures.h"
#include "sound.h"

namespace zubroll::art {

const ImageSpec kPalDibSpec = {"PalDIB", 0, 0, 1, 16, 16, false, false, false};
const ImageSpec kIconSpec = {"Icon", 0, 0, 1, 32, 32, true, false, false};

void give_own_palette(IndexedImage& img) {
  std::array<long, 256> uses{};
  for (uint8_t p : img.pixels) ++uses[p];
  std::array<int, 256> order;
  for (int i = 0; i < 256; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return uses[a] > uses[b]; });
  const Palette& game = game_palette();
  std::array<uint8_t, 256> map{};
  Palette own{};
  for (Rgb& c : own) c = {0, 0, 0};
  own[kTransparentIndex] = game[kTransparentIndex];
  map[kTransparentIndex] = kTransparentIndex;
  map[0] = 0;
  int next = 1;
  for (int i : order) {
    if (uses[i] == 0 || i == kTransparentIndex || i == 0) continue;
    if (next == kTransparentIndex) ++next;
    map[i] = uint8_t(next);
    own[next] = game[i];
    ++next;
  }
  for (uint8_t& p : img.pixels) p = map[p];
  img.palette = own;
}

Picture make_picture(const ImageSpec& item_spec) {
  Art a(item_spec);
  if (!draw_picture(a)) throw std::runtime_error(std::string("no drawing for ") + item_spec.name);
  Picture p{item_spec.name, item_spec, quantise(a.surface, item_spec.transparent, game_palette())};
  if (item_spec.own_palette) give_own_palette(p.image);
  return p;
}

std::vector<Picture> make_pictures() {
  std::vector<Picture> out;
  for (const ImageSpec& s : kImageCatalogue) out.push_back(make_picture(s));
  Picture dib{"PalDIB", kPalDibSpec, {}};
  dib.image.width = dib.image.height = 16;
  dib.image.palette = game_palette();
  for (int i = 0; i < 256; ++i) dib.image.pixels.push_back(uint8_t(i));
  out.push_back(dib);
  out.push_back(make_picture(kSmallEggSpec));
  out.push_back(make_picture(kSmallBossSpec));
  out.push_back(make_picture(kIconSpec));
  return out;
}

std::vector<NamedWave> make_sounds() {
  std::vector<NamedWave> out;
  for (const WaveSpec& s : kWaveCatalogue) out.push_back({s.name, make_effect(s)});
  return out;
}

std::vector<NamedWave> make_music() {
  std::vector<NamedWave> out(5);
  // the tracks are independent: two at a time on the build machine's cores
  std::vector<std::thread> threads;
  for (int n = 1; n <= 5; ++n) {
    out[n - 1].name = "ZRBGM" + std::to_string(n);
    threads.emplace_back([&out, n] { out[n - 1].wave = make_track(n); });
    if (threads.size() == 2 || n == 5) {
      for (auto& t : threads) t.join();
      threads.clear();
    }
  }
  return out;
}

bool write_data(const std::string& folder, std::string& error) {
  const std::string data = folder + "/ZRData", sound = folder + "/ZRSound";
  if (!make_folders(data) || !make_folders(sound))
    return error = "cannot create the data folders under " + folder, false;
  // the music renders beside the pictures and effects
  std::vector<NamedWave> music;
  std::thread music_thread([&] { music = make_music(); });
  bool ok = true;
  try {
    for (const Picture& p : make_pictures())
      ok = ok && write_whole_file(data + "/" + p.name + ".bmp", encode_bmp(p.image), error);
    for (const NamedWave& w : make_sounds())
      ok = ok && write_whole_file(data + "/" + w.name + ".wav", encode_wav(w.wave), error);
  } catch (...) {
    music_thread.join();
    throw;
  }
  music_thread.join();
  for (const NamedWave& w : music)
    ok = ok && write_whole_file(sound + "/" + w.name + ".WAV", encode_wav(w.wave), error);
  return ok;
}

}  // namespace zubroll::art
