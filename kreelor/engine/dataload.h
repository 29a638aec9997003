// Asset files: file helpers, the texture library, model files, the sound
// library and the help text. All numbers in the files are little-endian.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace kreelor {

// ---- File helpers -------------------------------------------------------------
std::FILE* openread(const char* name);   // "rb"; none on failure, no message
std::FILE* openwrite(const char* name);  // "wb"
int32_t filesize(std::FILE* file);       // the read position is kept
int fileread(std::FILE* file, size_t bytes, void* destination);  // 0 after "Error Reading File"
int filewrite(std::FILE* file, size_t bytes, const void* source);  // 0 after "Error Writing To File"
void fileclose(std::FILE* file);

// ---- Textures -------------------------------------------------------------------
constexpr int MAXTEXTURES = 1024;
constexpr size_t TEXTURESIZE = 131072;  // 128 x 256 16-bit palette rows, then 256 x 256 texels
constexpr size_t TEXELOFFSET = 65536;
extern uint8_t* textures[MAXTEXTURES];
extern int32_t notext;
extern bool texturesremapped;

void loadtext(const char* name);
void remaptextures();
void freetextures();

// Colour rules: 5-6-5 to the display's pixel format.
uint16_t palettecolour(uint16_t c565);  // 280/256 gain; a non-black result of 0 becomes 1
uint16_t modelcolour(uint16_t c565);    // no gain, no correction

// ---- Models ---------------------------------------------------------------------
constexpr int MAXMODELS = 1024;
constexpr int MAXMODELPOINTS = 32768;
constexpr int MAXMODELPOLYS = 16384;
constexpr int MAXMODELDEFS = 65536;
constexpr int MAXTEXTPOINTS = 32768;

extern int32_t modelpos[MAXMODELS], modelpnts[MAXMODELS], modelpolypos[MAXMODELS];
extern int32_t modelpolys[MAXMODELS], modeldefs[MAXMODELS], modelflags[MAXMODELS];
extern int32_t nomodels, nomodelpoints, nomodelpolys, nodefs, notextpoints;
extern int16_t xpoint[MAXMODELPOINTS], ypoint[MAXMODELPOINTS], zpoint[MAXMODELPOINTS];
extern uint8_t mpolypnts[MAXMODELPOLYS];
extern uint16_t* mpolydef[MAXMODELPOLYS];
extern int32_t mtextdef[MAXMODELPOLYS];
extern uint8_t surface[MAXMODELPOLYS];
extern uint8_t* texture[MAXMODELPOLYS];
extern uint8_t* reflect[MAXMODELPOLYS];
extern uint16_t colours[MAXMODELPOLYS];
extern uint16_t modelpoints[MAXMODELDEFS];
extern int16_t textxoffset[MAXTEXTPOINTS], textyoffset[MAXTEXTPOINTS];
// The renderer's normals for a freshly loaded model, once that unit exists.
extern void (*computenormals)(int model);

void loadmodel(const char* name);
void clearmodels();

// ---- Sounds -----------------------------------------------------------------------
extern uint8_t* sounds;
extern int32_t soundsize;
int loadsounds(const char* name);
void freesounds();
// Looks up entry n of the sound library. Every pointer given is a wanted result
// (cleared first); type is always reported when given. 1 when every wanted
// result was found, 0 otherwise (with the format errors through errormessage).
int getwave(int n, int32_t* type, const uint8_t** format, const uint8_t** data, uint32_t* size);

// ---- Help text ---------------------------------------------------------------------
char* loadhelp(const char* name);  // the text followed by a zero byte, or none
void freehelp(char* block);

}  // namespace kreelor
