// Shared helpers and the test program's main: the platform runs headless.
#include "common.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "kreelor/engine/directx.h"
#include "kreelor/engine/print.h"
#include "platform/host.h"

namespace ktest {

std::vector<std::string> boxes;
void resetboxes() { boxes.clear(); }
std::string onebox() {
  if (boxes.size() == 1) return boxes[0];
  return "(" + std::to_string(boxes.size()) + " boxes)";
}

// "caption|text", with "|stop" after boxes that carry the stop icon.
static void capture(const char* caption, const char* text, uint32_t style) {
  boxes.push_back(std::string(caption) + "|" + text + ((style & kreelor::MB_ICONSTOP) ? "|stop" : ""));
}

std::string tempdir() {
  static std::string dir;
  if (dir.empty()) {
    char tmpl[] = "/tmp/kreelor_tests_XXXXXX";
    dir = mkdtemp(tmpl);
    std::atexit([] { std::filesystem::remove_all(dir); });
  }
  return dir;
}

std::string writetemp(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = tempdir() + "/" + name;
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), (std::streamsize)bytes.size());
  return path;
}

Target::Target(int w_, int h_, uint16_t fill) : w(w_), h(h_), px((size_t)w_ * h_, fill) {}
void Target::use() {
  kreelor::screen1 = reinterpret_cast<uint8_t*>(px.data());
  kreelor::screenpitch = w * 2;
  kreelor::screenxs = kreelor::windowxs = w;
  kreelor::screenys = kreelor::windowys = h;
}

void format565() { kreelor::setpixelformat(16, 0xF800, 0x07E0, 0x001F); }
void format555() { kreelor::setpixelformat(16, 0x7C00, 0x03E0, 0x001F); }

std::vector<uint8_t> testset(int n, int w, int h, int yo, uint16_t pixel) {
  std::vector<kreelorart::Glyph> gs;
  for (int i = 1; i <= n; ++i) {
    kreelorart::Glyph g;
    g.width = (int16_t)w, g.height = (int16_t)h, g.framew = (int16_t)w, g.frameh = (int16_t)h;
    g.yoffset = (int16_t)yo;
    g.pixels.assign((size_t)w * h, pixel ? pixel : (uint16_t)(0x1000 + i));
    gs.push_back(g);
  }
  return kreelorart::encode_chr(gs);
}

void loadsets(const std::vector<std::vector<uint8_t>>& sets) {
  kreelor::freecharsets();
  for (size_t i = 0; i < sets.size(); ++i) kreelor::loadcharset(writetemp("set" + std::to_string(i) + ".chr", sets[i]).c_str());
}

}  // namespace ktest

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  platform::Options opts;
  opts.headless = true;
  std::string error;
  if (!platform::init(opts, error)) {
    std::fprintf(stderr, "platform: %s\n", error.c_str());
    return 1;
  }
  kreelor::messagebox = ktest::capture;
  int r = RUN_ALL_TESTS();
  platform::shutdown();
  return r;
}
