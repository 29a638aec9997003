// Binds a Mixer to the SDL audio device.
#pragma once
#include <string>

#include "audio.h"

namespace platform {

// Opens the default device (16-bit stereo at the mixer's rate) and starts
// pulling from the mixer. False with a message when no device can be opened;
// the program then runs silent.
bool audio_device_start(Mixer& mixer, std::string& error);
void audio_device_stop();

}  // namespace platform
