// The whole data set: every picture, wave and music track, built in memory so
// that the program and the tests see the same bytes.
#pragma once
#include <string>
#include <vector>

#include "files.h"
#include "zubroll/sprite/catalogue.h"

namespace zubroll::art {

struct Picture {
  std::string name;    // file name without ".bmp"
  ImageSpec item_spec;      // size, grid, transparency, own palette
  IndexedImage image;
};

// Every image-list item in catalogue order, then "PalDIB", "SMALLEGG",
// "SMALLBOSS" and "Icon".
std::vector<Picture> make_pictures();
Picture make_picture(const ImageSpec& item_spec);

struct NamedWave {
  std::string name;
  Wave wave;
};
std::vector<NamedWave> make_sounds();   // every wave-list item in catalogue order
std::vector<NamedWave> make_music();    // "ZRBGM1" .. "ZRBGM5"

extern const ImageSpec kPalDibSpec;
extern const ImageSpec kIconSpec;

// Gives an own-palette picture its own colour table: the colours it uses in
// order of frequency, black at 0, aqua at 254, the rest black.
void give_own_palette(IndexedImage& img);

// Writes ZRData/ and ZRSound/ under folder; false with a message on failure.
bool write_data(const std::string& folder, std::string& error);
// One PNG per picture with every pattern numbered on a grid, and index.png.
bool write_contact_sheets(const std::vector<Picture>& pics, const std::string& folder,
                          std::string& error);

}  // namespace zubroll::art
