// The egg game's program: single instance, the main form, its frame loop.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/forms/message_box.h"
#include "platform/host.h"
#include "platform/instance.h"
#include "platform/trace.h"
#include "zubroll/shell/Main.h"
#include "zubroll/play/Autoplay.h"

int main(int argc, char** argv) {
  platform::Options opts;
  std::string err;
  if (!platform::parse_options(argc, argv, opts, err)) {
    std::fprintf(stderr, "zubroll: %s\n%s", err.c_str(), platform::options_usage());
    return 2;
  }
  for (const std::string& a : opts.rest)
    if (a == "--autoplay") zubroll::AutoplayEnabled = true;
  for (const std::string& a : opts.rest)
    if (a == "--help" || a == "-h") {
      std::printf("usage: zubroll [-W] [options]\n  -W, -w                   start in a window\n  --autoplay               the demo player steers and serves\n%s",
                  platform::options_usage());
      return 0;
    }
  // A second copy brings the running one forward and ends silently.
  const bool guard = !opts.headless;
  if (guard && !platform::acquire_single_instance("hZubRDXInst")) return 0;
  if (!platform::init(opts, err)) {
    std::fprintf(stderr, "zubroll: %s\n", err.c_str());
    if (guard) platform::release_single_instance();
    return 2;
  }
  if (!platform::display_open({"Zubroll DX for Windows", 512, 400, false, opts.scale, false}, err)) {
    std::fprintf(stderr, "zubroll: %s\n", err.c_str());
    platform::shutdown();
    if (guard) platform::release_single_instance();
    return 2;
  }
  platform::forms::install_message_box();
  if (!platform::trace_open(opts.trace)) std::fprintf(stderr, "zubroll: cannot write the trace file\n");
  int rc = 0;
  {
    zubroll::TMainZubForm form;
    form.FormCreate(opts.rest);
    if (form.StartFailed) {
      rc = 1;
    } else {
      form.Run();
      form.FormDestroy();
    }
  }
  platform::trace_close();
  platform::shutdown();
  if (guard) platform::release_single_instance();
  return rc;
}
