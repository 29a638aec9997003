// The program as a player runs it, headless: start-up, boot sequence, exit
// paths, and every loader's message on a missing or corrupt file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common.h"
#include "platform/image_io.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status;
  std::string err;
};

// A copy of the working folder (program and data), to spoil files in.
std::string workfolder(const std::string& name) {
  const std::string dir = ktest::tempdir() + "/" + name;
  fs::create_directories(dir);
  fs::copy_file(KREELOR_BIN, dir + "/kreelor", fs::copy_options::overwrite_existing);
  for (const char* f : {"kreel1.chr", "kreel2.chr", "kreel3.chr", "kreel4.chr", "kreel5.chr", "kreel6.chr", "kreel.txt"})
    fs::copy_file(std::string(KREELOR_DATA) + "/" + f, dir + "/" + f, fs::copy_options::overwrite_existing);
  return dir;
}

Outcome run(const std::string& dir, const std::string& args) {
  const std::string errfile = dir + "/stderr.txt";
  const std::string cmd = "cd / && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + dir + "/kreelor --headless " + args +
                          " 2>" + errfile + " >/dev/null";
  int st = std::system(cmd.c_str());
  std::ifstream f(errfile);
  std::stringstream s;
  s << f.rdbuf();
  return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, s.str()};
}

std::string readtext(const std::string& path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace

TEST(Program, BootsHeadlessWithTasksFontsAndHelpText) {
  const std::string dir = workfolder("boot");
  Outcome r = run(dir, "--frames 120 --screenshot 100:" + dir + "/boot.png --trace " + dir + "/trace.txt");
  ASSERT_EQ(r.status, 0) << r.err;
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  ASSERT_TRUE(platform::read_png_rgb(dir + "/boot.png", w, h, px));
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  const std::string trace = readtext(dir + "/trace.txt");
  EXPECT_NE(trace.find("frame=1 time="), std::string::npos);
  EXPECT_NE(trace.find("frame=120 "), std::string::npos);
  EXPECT_NE(trace.find("deltatime=10 notasks=1"), std::string::npos);
  EXPECT_NE(trace.find("introtype=0 bootstate=2 nocharsets=6"), std::string::npos);
  // The dashboard's score label sits at (30, 15): not black.
  EXPECT_NE(px[(size_t)30 * w + 60] & 0xFFFFFF, 0u);
}

TEST(Program, FadeIntroWhenTheDesktopModeIsLeft) {
  const std::string dir = workfolder("fade");
  Outcome r = run(dir, "--fade --frames 20 --trace " + dir + "/trace.txt");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(readtext(dir + "/trace.txt").find("introtype=1 bootstate=1"), std::string::npos);
}

TEST(Program, LoaderMessagesOnMissingOrCorruptFiles) {
  const char* note = "\n\nThis Program Requires DirectX 7 Or Higher";
  {
    const std::string dir = workfolder("nohelp");
    fs::remove(dir + "/kreel.txt");
    Outcome r = run(dir, "--frames 50");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find(std::string("Kreelor: Error Reading Help File") + note), std::string::npos) << r.err;
  }
  {
    const std::string dir = workfolder("badchr");
    fs::resize_file(dir + "/kreel3.chr", 1000);
    Outcome r = run(dir, "--frames 50");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("Error Reading File"), std::string::npos) << r.err;
  }
  {
    const std::string dir = workfolder("nochr");  // a missing set is skipped silently
    fs::remove(dir + "/kreel6.chr");
    Outcome r = run(dir, "--frames 10");
    EXPECT_EQ(r.status, 0) << r.err;
  }
}

TEST(Program, DisplayFailuresCloseWithTheirMessage) {
  const std::string dir = workfolder("ddfail");
  struct Case {
    const char* call;
    const char* message;
  } cases[] = {{"primary", "Error Creating The Primary Surface"}, {"timer", "Error Setting Timer"},
               {"window", "Error Creating Window"}};
  for (auto& c : cases) {
    Outcome r = run(dir, std::string("--frames 10 --ddfail ") + c.call);
    EXPECT_NE(r.status, 0) << c.call;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  Outcome bad = run(dir, "--desktop 12x");
  EXPECT_EQ(bad.status, 2);
}

TEST(Program, EscapeLeavesThroughTheCloseRequest) {
  const std::string dir = workfolder("escape");
  std::ofstream(dir + "/input.txt") << "90 keydown Escape\n91 keyup Escape\n";
  Outcome r = run(dir, "--frames 400 --input " + dir + "/input.txt --trace " + dir + "/trace.txt");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string trace = readtext(dir + "/trace.txt");
  EXPECT_NE(trace.find("frame=90 "), std::string::npos);
  EXPECT_EQ(trace.find("frame=200 "), std::string::npos);
}

// Largest difference of one colour channel between two 640 x 480 pictures over
// the dashboard rows above and below the view (the view itself scrolls text).
static int dashboarddifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int worst = 0;
  for (int y = 0; y < 480; ++y) {
    if (y >= 82 && y < 422) continue;
    for (int x = 0; x < 640; ++x) {
      const uint32_t p = a[(size_t)y * 640 + x], q = b[(size_t)y * 640 + x];
      for (int sh = 0; sh < 24; sh += 8)
        worst = std::max(worst, std::abs((int)((p >> sh) & 255) - (int)((q >> sh) & 255)));
    }
  }
  return worst;
}

// The dashboard is the same picture whichever intro ran and whichever 16-bit
// format the display has (the fonts and pictures reach the game screens in the
// display's own pixel format), and the same on both pages of the flip chain
// (nothing of the intro is left in the gaps between the windows).
TEST(Program, DashboardLooksTheSameInEveryIntroFormatAndPage) {
  const std::string dir = workfolder("formats");
  const char* runs[] = {"", "--rgb555", "--fade", "--fade --rgb555"};
  std::vector<std::vector<uint32_t>> shots;
  for (const char* args : runs) {
    const std::string png = dir + "/dash", a = png + "100.png", b = png + "101.png";
    Outcome r = run(dir, std::string(args) + " --frames 110 --screenshot 100:" + a + " --screenshot 101:" + b);
    ASSERT_EQ(r.status, 0) << args << r.err;
    std::vector<uint32_t> page[2];
    for (int k = 0; k < 2; ++k) {
      int w = 0, h = 0;
      ASSERT_TRUE(platform::read_png_rgb(k ? b : a, w, h, page[k]));
      ASSERT_EQ(w, 640);
      ASSERT_EQ(h, 480);
    }
    EXPECT_EQ(dashboarddifference(page[0], page[1]), 0) << args;
    shots.push_back(page[0]);
  }
  for (size_t k = 1; k < shots.size(); ++k) EXPECT_LE(dashboarddifference(shots[0], shots[k]), 16) << runs[k];
}
