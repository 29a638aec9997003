// The program: shared options, the platform, then WinMain in the working folder.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "kreelor/engine/directx.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/trace.h"

namespace {

const char* usage =
    "usage: kreelor [options]\n"
    "  --fullscreen          full screen instead of a window\n"
    "  --desktop WxHxBITS    the desktop mode the display rule sees (e.g. 1024x768x32)\n"
    "  --fade                the fade intro: a desktop the rule switches to 640 x 480 x 16\n"
    "  --rgb555              16-bit modes in 5-5-5 instead of 5-6-5\n"
    "  --ddfail NAME         make one display call fail (window, create, cooperative, getmode,\n"
    "                        setmode, primary, back, describe, surface, timer)\n";

bool parsemode(const std::string& s, int32_t out[3]) {
  int w, h, b;
  char x1, x2;
  if (std::sscanf(s.c_str(), "%d%c%d%c%d", &w, &x1, &h, &x2, &b) != 5 || x1 != 'x' || x2 != 'x') return false;
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192 || b <= 0 || b > 32) return false;
  out[0] = w, out[1] = h, out[2] = b;
  return true;
}

uint32_t ddcallbit(const std::string& name) {
  static const struct { const char* n; uint32_t bit; } calls[] = {
      {"window", kreelor::DDC_WINDOW},   {"create", kreelor::DDC_CREATE},   {"cooperative", kreelor::DDC_COOPERATIVE},
      {"getmode", kreelor::DDC_GETMODE}, {"setmode", kreelor::DDC_SETMODE}, {"primary", kreelor::DDC_PRIMARY},
      {"back", kreelor::DDC_BACK},       {"describe", kreelor::DDC_DESCRIBE}, {"surface", kreelor::DDC_SURFACE},
      {"timer", kreelor::DDC_TIMER}};
  for (auto& c : calls)
    if (name == c.n) return c.bit;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  platform::Options opts;
  std::string error;
  if (!platform::parse_options(argc, argv, opts, error)) {
    std::fprintf(stderr, "kreelor: %s\n%s%s", error.c_str(), usage, platform::options_usage());
    return 2;
  }
  for (size_t i = 0; i < opts.rest.size(); ++i) {
    const std::string& a = opts.rest[i];
    const bool more = i + 1 < opts.rest.size();
    if (a == "--help" || a == "-h") {
      std::printf("%s%s", usage, platform::options_usage());
      return 0;
    } else if (a == "--fullscreen") {
      kreelor::fullscreenmode = true;
    } else if (a == "--rgb555") {
      kreelor::rgb555mode = true;
    } else if (a == "--fade") {
      kreelor::desktopoverride[0] = 1280, kreelor::desktopoverride[1] = 1024, kreelor::desktopoverride[2] = 32;
    } else if (a == "--desktop" && more) {
      if (!parsemode(opts.rest[++i], kreelor::desktopoverride)) {
        std::fprintf(stderr, "kreelor: --desktop wants WIDTHxHEIGHTxBITS, not '%s'\n", opts.rest[i].c_str());
        return 2;
      }
    } else if (a == "--ddfail" && more) {
      uint32_t bit = ddcallbit(opts.rest[++i]);
      if (!bit) {
        std::fprintf(stderr, "kreelor: unknown display call '%s'\n", opts.rest[i].c_str());
        return 2;
      }
      kreelor::ddfailmask |= bit;
    } else {
      std::fprintf(stderr, "kreelor: unknown option '%s'\n%s%s", a.c_str(), usage, platform::options_usage());
      return 2;
    }
  }
  // Data files are looked up by bare name in the working folder: the program's own.
  // Paths given on the command line stay relative to where the program was started.
  auto absolute = [](std::string& p) {
    if (p.empty() || p[0] == '/') return;
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) p = std::string(cwd) + "/" + p;
  };
  for (auto& s : opts.screenshots) absolute(s.path);
  absolute(opts.trace);
  absolute(opts.input);
  absolute(opts.audio_out);
  const std::string folder = platform::program_folder();
  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    std::fprintf(stderr, "kreelor: cannot enter %s\n", folder.c_str());
    return 1;
  }
  if (!platform::init(opts, error)) {
    std::fprintf(stderr, "kreelor: %s\n", error.c_str());
    return 1;
  }
  if (!platform::trace_open(opts.trace)) {
    std::fprintf(stderr, "kreelor: cannot write the trace file %s\n", opts.trace.c_str());
    platform::shutdown();
    return 1;
  }
  int code = kreelor::WinMain(1, 0, "", 1);
  platform::trace_close();
  platform::shutdown();
  return kreelor::fatalerror ? 1 : code;
}
