// zrart: writes the egg game's pictures, sound effects and music.
//   zrart FOLDER                   data into FOLDER/ZRData and FOLDER/ZRSound
//   zrart --contact-sheet DIR      one PNG per picture and index.png into DIR
// Both may be given together.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "generate.h"

int main(int argc, char** argv) {
  std::string out, sheets;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--contact-sheet") && i + 1 < argc)
      sheets = argv[++i];
    else if (argv[i][0] != '-' && out.empty())
      out = argv[i];
    else {
      std::fprintf(stderr, "usage: zrart [FOLDER] [--contact-sheet DIR]\n");
      return 2;
    }
  }
  if (out.empty() && sheets.empty()) {
    std::fprintf(stderr, "usage: zrart [FOLDER] [--contact-sheet DIR]\n");
    return 2;
  }
  std::string error;
  try {
    if (!out.empty() && !zubroll::art::write_data(out, error)) {
      std::fprintf(stderr, "zrart: %s\n", error.c_str());
      return 1;
    }
    if (!sheets.empty() &&
        !zubroll::art::write_contact_sheets(zubroll::art::make_pictures(), sheets, error)) {
      std::fprintf(stderr, "zrart: %s\n", error.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zrart: %s\n", e.what());
    return 1;
  }
  return 0;
}
