#include "platform/audio_device.h"

#include <SDL.h>

namespace platform {

namespace {

SDL_AudioDeviceID g_device = 0;
Mixer* g_bound = nullptr;
bool g_started_subsystem = false;

void SDLCALL pull(void* user, Uint8* stream, int len) {
  // The device was opened for exactly signed 16-bit stereo: 4 bytes a frame.
  static_cast<Mixer*>(user)->render(reinterpret_cast<int16_t*>(stream), size_t(len) / 4);
}

// SDL's reason, which names the driver and what failed.
std::string sdl_error() {
  const char* e = SDL_GetError();
  return e && *e ? std::string(e) : std::string("no audio device");
}

}  // namespace

Mixer& mixer() {
  static Mixer the_mixer(44100);
  return the_mixer;
}

bool audio_device_open() { return g_device != 0; }

bool audio_device_start(Mixer& m, std::string& error) {
  audio_device_stop();
  if (!SDL_WasInit(SDL_INIT_AUDIO)) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      error = sdl_error();
      return false;
    }
    g_started_subsystem = true;
  }
  SDL_AudioSpec want{};
  want.freq = m.output_rate();
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;  // about 23 ms at 44100 Hz
  want.callback = pull;
  want.userdata = &m;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware takes.
  g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (g_device == 0) {
    error = sdl_error();
    if (g_started_subsystem) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      g_started_subsystem = false;
    }
    return false;
  }
  g_bound = &m;
  SDL_PauseAudioDevice(g_device, 0);
  return true;
}

void audio_device_stop() {
  if (g_device != 0) {
    SDL_CloseAudioDevice(g_device);  // returns once the callback has finished
    g_device = 0;
  }
  g_bound = nullptr;
  if (g_started_subsystem) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_started_subsystem = false;
  }
}

void audio_device_release(Mixer& m) {
  if (g_bound == &m) audio_device_stop();
}

}  // namespace platform
