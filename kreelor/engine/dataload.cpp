// Asset file loaders.
#include "kreelor/engine/dataload.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "kreelor/engine/directx.h"
#include "kreelor/engine/memory.h"

static_assert(std::endian::native == std::endian::little, "the file images are read in place");

namespace kreelor {

// ---- File helpers ---------------------------------------------------------------

std::FILE* openread(const char* name) { return name ? std::fopen(name, "rb") : nullptr; }
std::FILE* openwrite(const char* name) { return name ? std::fopen(name, "wb") : nullptr; }

int32_t filesize(std::FILE* file) {
  long here = std::ftell(file);
  std::fseek(file, 0, SEEK_END);
  long size = std::ftell(file);
  std::fseek(file, here, SEEK_SET);
  return size < 0 ? 0 : (int32_t)std::min<long>(size, INT32_MAX);
}

int fileread(std::FILE* file, size_t bytes, void* destination) {
  if (bytes == 0) return 1;
  if (std::fread(destination, bytes, 1, file) != 1) return errormessage("Error Reading File");
  return 1;
}

int filewrite(std::FILE* file, size_t bytes, const void* source) {
  if (bytes == 0) return 1;
  if (std::fwrite(source, bytes, 1, file) != 1) return errormessage("Error Writing To File");
  return 1;
}

void fileclose(std::FILE* file) {
  if (file) std::fclose(file);
}

// ---- Colours ----------------------------------------------------------------------

uint16_t palettecolour(uint16_t c) {
  uint32_t r5 = c >> 11, g6 = (c >> 5) & 63, b5 = c & 31;
  uint32_t r8 = std::min<uint32_t>(255, (r5 * 8 * 280) >> 8);
  uint32_t g8 = std::min<uint32_t>(255, (g6 * 4 * 280) >> 8);
  uint32_t b8 = std::min<uint32_t>(255, (b5 * 8 * 280) >> 8);
  uint32_t v = (((r8 * rmult) >> 8) << rshift) | (((g8 * gmult) >> 8) << gshift) |
               (((b8 * bmult) >> 8) << bshift);
  if (v == 0 && c != 0) v = 1;  // only true black is the colour key
  return (uint16_t)v;
}

uint16_t modelcolour(uint16_t c) {
  uint32_t r5 = c >> 11, g6 = (c >> 5) & 63, b5 = c & 31;
  return (uint16_t)((((r5 * 8 * rmult) >> 8) << rshift) | (((g6 * 4 * gmult) >> 8) << gshift) |
                    (((b5 * 8 * bmult) >> 8) << bshift));
}

// ---- Textures -----------------------------------------------------------------------

uint8_t* textures[MAXTEXTURES] = {};
int32_t notext = 0;
bool texturesremapped = false;

void freetextures() {
  for (int i = 0; i < notext; ++i) {
    freememory(textures[i]);
    textures[i] = nullptr;
  }
  notext = 0;
  texturesremapped = false;
}

void loadtext(const char* name) {
  freetextures();
  std::FILE* f = openread(name);
  if (!f) {
    errormessage("Error Reading Texture File");
    return;
  }
  int32_t count = 0;
  if (!fileread(f, 4, &count)) return fileclose(f);
  for (int32_t i = 0; i < count; ++i) {
    if (notext >= MAXTEXTURES) {
      errormessage("Error Reading Texture File");
      return fileclose(f);
    }
    auto* t = (uint8_t*)getmemory(TEXTURESIZE);
    if (!t) return fileclose(f);
    if (!fileread(f, TEXTURESIZE, t)) {
      freememory(t);
      return fileclose(f);
    }
    textures[notext++] = t;
  }
  uint32_t trailer;
  fileread(f, 4, &trailer);
  fileclose(f);
}

void remaptextures() {
  if (texturesremapped) return;  // a second conversion would garble the palettes
  for (int i = 0; i < notext; ++i) {
    auto* pal = reinterpret_cast<uint16_t*>(textures[i]);
    for (int e = 0; e < 32768; ++e) pal[e] = palettecolour(pal[e]);
    uint8_t* map = textures[i] + TEXELOFFSET;
    for (int row = 0; row < 128; ++row) std::swap_ranges(map + row * 256, map + row * 256 + 256, map + (255 - row) * 256);
  }
  texturesremapped = true;
}

// ---- Models ----------------------------------------------------------------------------

int32_t modelpos[MAXMODELS], modelpnts[MAXMODELS], modelpolypos[MAXMODELS];
int32_t modelpolys[MAXMODELS], modeldefs[MAXMODELS], modelflags[MAXMODELS];
int32_t nomodels = 0, nomodelpoints = 0, nomodelpolys = 0, nodefs = 0, notextpoints = 0;
int16_t xpoint[MAXMODELPOINTS], ypoint[MAXMODELPOINTS], zpoint[MAXMODELPOINTS];
uint8_t mpolypnts[MAXMODELPOLYS];
uint16_t* mpolydef[MAXMODELPOLYS];
int32_t mtextdef[MAXMODELPOLYS];
uint8_t surface[MAXMODELPOLYS];
uint8_t* texture[MAXMODELPOLYS];
uint8_t* reflect[MAXMODELPOLYS];
uint16_t colours[MAXMODELPOLYS];
uint16_t modelpoints[MAXMODELDEFS];
int16_t textxoffset[MAXTEXTPOINTS], textyoffset[MAXTEXTPOINTS];
void (*computenormals)(int model) = nullptr;

void clearmodels() { nomodels = nomodelpoints = nomodelpolys = nodefs = notextpoints = 0; }

void loadmodel(const char* name) {
  if (nomodels >= MAXMODELS) {
    errormessage("Error Reading Model File");
    return;
  }
  const int m = nomodels;
  const int32_t points0 = nomodelpoints, polys0 = nomodelpolys, defs0 = nodefs, text0 = notextpoints;
  modelpos[m] = nomodelpoints;
  modelpolypos[m] = nomodelpolys;
  std::FILE* f = openread(name);
  if (!f) {
    errormessage("Error Reading Model File");
    return;
  }
  // A model that does not fit the tables or whose polygons name missing points
  // is refused whole, so the tables never hold half a model.
  auto fail = [&](bool message) {
    if (message) errormessage("Error Reading Model File");
    nomodelpoints = points0, nomodelpolys = polys0, nodefs = defs0, notextpoints = text0;
    fileclose(f);
  };
  auto read16 = [&](int16_t& v) { return fileread(f, 2, &v) != 0; };
  int16_t p;
  if (!read16(p)) return fail(false);
  if (p < 1 || nomodelpoints + p > MAXMODELPOINTS) return fail(true);
  modelpnts[m] = p;
  for (int i = 0; i < p; ++i) {
    int16_t xyz[3];
    if (!fileread(f, 6, xyz)) return fail(false);
    xpoint[nomodelpoints] = xyz[0], ypoint[nomodelpoints] = xyz[1], zpoint[nomodelpoints] = xyz[2];
    ++nomodelpoints;
  }
  int16_t fcount;
  if (!read16(fcount)) return fail(false);
  if (fcount < 1 || nomodelpolys + fcount > MAXMODELPOLYS) return fail(true);
  modelpolys[m] = fcount;
  for (int i = 0; i < fcount; ++i) {
    uint16_t v;
    if (!fileread(f, 2, &v)) return fail(false);
    if (v < 3 || v > 255 || nodefs + v > MAXMODELDEFS) return fail(true);
    const int pairs = v > 3 ? 4 : 3;
    if (notextpoints + pairs > MAXTEXTPOINTS) return fail(true);
    const int poly = nomodelpolys;
    mpolypnts[poly] = (uint8_t)v;
    mpolydef[poly] = &modelpoints[nodefs];
    for (int k = 0; k < v; ++k) {
      uint16_t idx;
      if (!fileread(f, 2, &idx)) return fail(false);
      if (idx >= (uint16_t)p) return fail(true);
      modelpoints[nodefs++] = idx;
    }
    mtextdef[poly] = notextpoints;
    for (int k = 0; k < pairs; ++k) {
      int16_t uv[2];
      if (!fileread(f, 4, uv)) return fail(false);
      textxoffset[notextpoints] = uv[0];
      textyoffset[notextpoints] = uv[1];
      ++notextpoints;
    }
    uint16_t rest[4];  // face type, texture index, reflection index, colour
    if (!fileread(f, 8, rest)) return fail(false);
    surface[poly] = (uint8_t)(rest[0] | 0x80);
    texture[poly] = textures[rest[1] < notext ? rest[1] : 0];
    reflect[poly] = textures[rest[2] < notext ? rest[2] : 0];
    colours[poly] = modelcolour(rest[3]);
    ++nomodelpolys;
  }
  fileclose(f);
  modeldefs[m] = nodefs - defs0;
  modelflags[m] = 0;
  nomodels += 1;
  if (computenormals) computenormals(m);
}

// ---- Sounds ----------------------------------------------------------------------------

uint8_t* sounds = nullptr;
int32_t soundsize = 0;

void freesounds() {
  freememory(sounds);
  sounds = nullptr;
  soundsize = 0;
}

int loadsounds(const char* name) {
  std::FILE* f = openread(name);
  if (!f) return errormessage("Error Reading Sounds");
  int32_t size = filesize(f);
  auto* block = (uint8_t*)getmemory((size_t)size);
  if (!block) return fileclose(f), 0;
  if (!fileread(f, (size_t)size, block)) {
    freememory(block);
    fileclose(f);
    return 0;
  }
  fileclose(f);
  freesounds();
  sounds = block;
  soundsize = size;
  return 1;
}

static uint32_t le32(const uint8_t* p) { return (uint32_t)p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

int getwave(int n, int32_t* type, const uint8_t** format, const uint8_t** data, uint32_t* size) {
  if (type) *type = 0;
  if (format) *format = nullptr;
  if (data) *data = nullptr;
  if (size) *size = 0;
  if (!sounds || soundsize < 4 || n < 0) return 0;
  const uint32_t total = (uint32_t)soundsize;
  const uint32_t count = le32(sounds);
  if ((uint32_t)n >= count) return 0;
  const uint64_t dir = 4 + 8ull * (uint32_t)n;
  if (dir + 8 > total) return errormessage("Error Invalid Sound File");
  if (type) *type = (int32_t)le32(sounds + dir);
  const uint32_t at = le32(sounds + dir + 4);
  if ((uint64_t)at + 12 > total || std::memcmp(sounds + at, "RIFF", 4) != 0)
    return errormessage("Error Not A Valid RIFF File");
  if (std::memcmp(sounds + at + 8, "WAVE", 4) != 0) return errormessage("Error Not A Valid WAVE File");
  const uint32_t riffsize = le32(sounds + at + 4);
  const uint64_t end = std::min<uint64_t>(total, (uint64_t)at + 8 + riffsize);
  bool wantformat = format != nullptr, wantdata = data != nullptr || size != nullptr;
  uint64_t pos = (uint64_t)at + 12;
  for (uint32_t chunk = 0; chunk < riffsize; ++chunk) {
    if (!wantformat && !wantdata) return 1;
    if (pos + 8 > end) return errormessage("Error Invalid Sound File");
    const uint8_t* c = sounds + pos;
    const uint32_t csize = le32(c + 4);
    if (pos + 8 + csize > end) return errormessage("Error Invalid Sound File");
    if (std::memcmp(c, "fmt ", 4) == 0 && wantformat) {
      if (csize < 14) return errormessage("Error Invalid Sound File");
      *format = c + 8;
      wantformat = false;
    } else if (std::memcmp(c, "data", 4) == 0 && wantdata) {
      if (data) *data = c + 8;
      if (size) *size = csize;
      wantdata = false;
    }
    pos += 8 + (uint64_t)csize + (csize & 1);
  }
  return !wantformat && !wantdata;
}

// ---- Help text --------------------------------------------------------------------------

char* loadhelp(const char* name) {
  std::FILE* f = openread(name);
  if (!f) {
    errormessage("Error Reading Help File");
    return nullptr;
  }
  int32_t size = filesize(f);
  auto* block = (char*)getmemory((size_t)size + 1);
  if (!block) return fileclose(f), nullptr;
  if (!fileread(f, (size_t)size, block)) {
    freememory(block);
    fileclose(f);
    return nullptr;
  }
  fileclose(f);
  block[size] = 0;
  return block;
}

void freehelp(char* block) { freememory(block); }

}  // namespace kreelor
