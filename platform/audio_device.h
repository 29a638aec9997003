// Binds a Mixer to the SDL audio device: SDL's audio thread pulls 16-bit stereo
// frames at the mixer's output rate. Without a device the program runs silent.
#pragma once
#include <string>

#include "platform/audio.h"

namespace platform {

// Opens the default output device and starts it pulling from `m`. Initialises
// SDL's audio subsystem when it is not yet running. False with a message when
// there is no usable device (the game then stays silent). Starting again while
// a device is open first closes it.
bool audio_device_start(Mixer& m, std::string& error);
// Closes the device (waiting for a render in progress) and quits the audio
// subsystem when audio_device_start started it. Harmless when nothing is open.
void audio_device_stop();
// Stops the device if it is bound to `m` (the mixer's destructor calls it).
void audio_device_release(Mixer& m);

}  // namespace platform
