// zubroll_fixture_data FOLDER: writes plain pictures and sounds into FOLDER/ZRData (when
// missing) and plain stage sets into FOLDER/ZRStage (when missing), so the program can be
// tried before the art and the shipped stages exist.
#include <cstdio>

#include "fixtures.h"
#include "platform/files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zubroll_fixture_data FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';
  // Pictures and sounds only where the art generator has not written them.
  if (!platform::file_exists(folder + "ZRData/PalDIB.bmp") && !zubroll::test::WriteFixtureData(folder)) return 1;
  platform::make_folder(folder + "ZRStage");
  for (const char* n : {"EASY.EGS", "NORMAL.EGS", "HARD.EGS"})
    if (!platform::file_exists(folder + "ZRStage/" + n) &&
        !zubroll::test::WriteFixtureStageSet(folder + "ZRStage/" + n))
      return 1;
  return 0;
}
