// Sound effects and music, synthesised.
#pragma once
#include <vector>

#include "files.h"
#include "zubroll/sprite/catalogue.h"

namespace zubroll::art {

// The effect for a wave-list item: exact rate, channels and data length, 8-bit PCM.
Wave make_effect(const WaveSpec& item_spec);
// Music track n = 1 .. 5: 22050 Hz, 16-bit mono, a seamless loop.
Wave make_track(int n);
constexpr int kMusicRate = 22050;
// Length in sixteenths of each section's written melody of track n (0: none).
std::vector<int> written_melody_steps(int n);
bool has_effect(const char* name);  // a recipe exists for the name

}  // namespace zubroll::art
