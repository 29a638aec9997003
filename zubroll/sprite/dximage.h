// Image list of the egg game: named 8-bit pictures cut into patterns, drawn
// onto the surface with their transparent colour.
#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "zubroll/sprite/surface.h"

namespace zubroll {

// An 8-bit picture with its colour table.
struct TDIB {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Pixels;  // top row first, Width bytes per row
  TRGB Palette[256];
};

// Reads an uncompressed 8-bit BMP file image. False with a reason when it is not one.
bool ParseBmp8(const uint8_t* data, size_t size, TDIB& out, std::string& error);
bool LoadBmp8(const std::string& path, TDIB& out, std::string& error);
// Writes an 8-bit BMP image (bottom-up rows, 256-entry table).
std::vector<uint8_t> MakeBmp8(const TDIB& dib);
// Maps every pixel to the nearest colour of `to`, keeping index `keep` (the
// transparent aqua) as it is.
void RemapToPalette(TDIB& dib, const TRGB to[256], int keep);

class TPictureCollectionItem {
 public:
  std::string Name;
  int PatternWidth = 0, PatternHeight = 0;  // 0: the whole picture
  bool Transparent = true;
  uint8_t TransparentColor = 254;
  bool SystemMemory = false;
  TDIB Picture;

  int Width() const { return Picture.Width; }
  int Height() const { return Picture.Height; }
  int PatW() const { return PatternWidth > 0 ? PatternWidth : Picture.Width; }
  int PatH() const { return PatternHeight > 0 ? PatternHeight : Picture.Height; }
  int PatternCount() const;
  // Pixel (x, y) of pattern n; -1 when outside the pattern or n out of range.
  int PatternPixel(int n, int x, int y) const;
  // Draws pattern n with its top-left at (x, y); nothing for n out of range.
  void Draw(TDirectDrawSurface* dest, int x, int y, int n) const;
};

class TDXImageList {
 public:
  TPictureCollectionItem& Add(const std::string& name);
  // Ignoring case; an unknown name throws "Image '<name>' not found".
  TPictureCollectionItem* Find(const std::string& name);
  TPictureCollectionItem* FindOrNull(const std::string& name);
  int Count() const { return int(items_.size()); }
  TPictureCollectionItem& Item(int i) { return *items_[size_t(i)]; }
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TPictureCollectionItem>> items_;
};

bool SameTextNoCase(const std::string& a, const std::string& b);

}  // namespace zubroll
