#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "platform/files.h"
#include "platform/host.h"

using namespace platform;

namespace {

struct TempDir {
  std::string path;
  TempDir() {
    char tmpl[] = "/tmp/platform-test-XXXXXX";
    path = mkdtemp(tmpl);
    path += '/';
  }
  ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
};

std::string slurp(const std::string& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

}  // namespace

TEST(Files, AtomicWriteReplacesWholeFile) {
  TempDir d;
  std::string p = d.path + "Zubroll.ini";
  ASSERT_TRUE(write_file_atomic(p, "first", 5));
  ASSERT_TRUE(write_file_atomic(p, "second!", 7));
  EXPECT_EQ(slurp(p), "second!");
  EXPECT_EQ(list_folder(d.path), std::vector<std::string>{"Zubroll.ini"});  // no temporary left behind
}

TEST(Files, FailedWriteLeavesTheOldFileIntact) {
  // Permission bits do not stop root, so the failures below come from the paths themselves.
  TempDir d;
  std::string p = d.path + "keep.dat";
  ASSERT_TRUE(write_file_atomic(p, "precious", 8));
  // The temporary cannot be created where the target's folder does not exist...
  std::string err;
  EXPECT_FALSE(write_file_atomic(d.path + "nofolder/keep.dat", "x", 1, &err));
  EXPECT_NE(err.find("cannot create"), std::string::npos);
  // ...and a target that is a folder cannot be replaced: the rename fails and nothing is left behind.
  ASSERT_EQ(mkdir((d.path + "adir").c_str(), 0777), 0);
  ASSERT_EQ(mkdir((d.path + "adir/inner").c_str(), 0777), 0);
  EXPECT_FALSE(write_file_atomic(d.path + "adir", "x", 1, &err));
  EXPECT_NE(err.find("cannot replace"), std::string::npos);
  EXPECT_EQ(slurp(p), "precious");
  EXPECT_EQ(list_folder(d.path), std::vector<std::string>{"keep.dat"});
}

TEST(Files, WindowsStylePathsResolveIgnoringCase) {
  TempDir d;
  ASSERT_TRUE(make_folder(d.path + "ZRSound"));
  ASSERT_TRUE(write_file_atomic(d.path + "ZRSound/ZRBGM1.WAV", "RIFF", 4));
  EXPECT_TRUE(file_exists(d.path + "ZRSOUND\\zrbgm1.wav"));
  EXPECT_EQ(resolve_path(d.path + "zrsound\\zrbgm1.wav"), d.path + "ZRSound/ZRBGM1.WAV");
  EXPECT_EQ(file_size(d.path + "zrsound/ZRBGM1.wav"), 4);
  // A missing part keeps the spelling given, so a new file is created as named.
  EXPECT_EQ(resolve_path(d.path + "zrsound\\New.WAV"), d.path + "ZRSound/New.WAV");
  EXPECT_FALSE(file_exists(d.path + "ZRSound/missing.wav"));
  EXPECT_TRUE(folder_exists(d.path + "zrSOUND"));
  EXPECT_TRUE(make_folder(d.path + "zrsound"));  // exists under another spelling
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(read_file(d.path + "ZRSOUND/ZRBGM1.WAV", bytes));
  EXPECT_EQ(bytes.size(), 4u);
  EXPECT_FALSE(read_file(d.path + "ZRSOUND/ZRBGM1.WAV", bytes, 3));  // over the size limit
}

TEST(Files, ProgramFolderEndsWithSeparator) {
  std::string f = program_folder();
  ASSERT_FALSE(f.empty());
  EXPECT_EQ(f.back(), '/');
  set_program_folder("/tmp/x");
  EXPECT_EQ(program_folder(), "/tmp/x/");
  set_program_folder("");
}

TEST(Options, SharedOptionsAndTheRest) {
  const char* argv[] = {"game", "-W", "--headless", "--frames", "90", "--screenshot", "60:title.png",
                        "--screenshot=70:b.png", "--input", "s.txt", "--audio-out", "a.wav",
                        "--trace", "t.txt", "--autoplay", "--scale", "2"};
  Options o;
  std::string err;
  ASSERT_TRUE(parse_options(int(std::size(argv)), argv, o, err)) << err;
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.frames, 90);
  ASSERT_EQ(o.screenshots.size(), 2u);
  EXPECT_EQ(o.screenshots[0].frame, 60);
  EXPECT_EQ(o.screenshots[0].path, "title.png");
  EXPECT_EQ(o.screenshots[1].frame, 70);
  EXPECT_EQ(o.input, "s.txt");
  EXPECT_EQ(o.audio_out, "a.wav");
  EXPECT_EQ(o.trace, "t.txt");
  EXPECT_EQ(o.scale, 2);
  EXPECT_EQ(o.rest, (std::vector<std::string>{"-W", "--autoplay"}));
}

TEST(Options, MalformedValuesAreRefused) {
  const char* bad[][3] = {{"g", "--frames", "ten"}, {"g", "--frames", "-1"}, {"g", "--screenshot", "60"},
                          {"g", "--screenshot", "x:a.png"}, {"g", "--scale", "0"}, {"g", "--input", nullptr}};
  for (auto& a : bad) {
    int argc = a[2] ? 3 : 2;
    Options o;
    std::string err;
    EXPECT_FALSE(parse_options(argc, a, o, err)) << a[1];
    EXPECT_FALSE(err.empty());
  }
}
