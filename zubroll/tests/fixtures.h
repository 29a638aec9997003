// Test fixtures: temporary folders and plain data files made from the catalogue.
#pragma once
#include <string>

#include "zubroll/sprite/dximage.h"

namespace zubroll::test {

// A fresh empty folder under the system temp folder (with trailing '/'), removed by the destructor.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The palette the fixtures use: black 0, silver 7, aqua 254, a colour ramp elsewhere.
void FixturePalette(TRGB pal[256]);
// Writes "ZRData" under folder: every image and wave of the catalogue as plain
// files (pattern n filled with colour 16 + n, a transparent border), PalDIB,
// SMALLEGG, SMALLBOSS and Icon.
bool WriteFixtureData(const std::string& folder);
bool WriteFile(const std::string& path, const std::string& text);
// A stage set in the plain format "1000" with one egg in every stage (a playable set).
bool WriteFixtureStageSet(const std::string& path);

}  // namespace zubroll::test
