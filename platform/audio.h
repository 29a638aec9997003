// Software mixer with DirectSound-like voices. One Mixer mixes every playing
// voice into 16-bit stereo at the output rate; the SDL audio device (or the
// headless capture) pulls from it. The mixer locks internally: the game calls it
// from its one thread while the device thread renders.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

struct WaveFormat {
  int rate = 22050;    // samples per second
  int channels = 1;    // 1 or 2
  int bits = 8;        // 8 (unsigned) or 16 (signed)
  int block_align() const { return channels * bits / 8; }
};

// Volume in hundredths of a decibel: 0 loudest, -10000 silent.
constexpr int kVolumeMax = 0;
constexpr int kVolumeMin = -10000;
// Pan: -10000 full left, 0 centre, 10000 full right.
constexpr int kPanLeft = -10000;
constexpr int kPanRight = 10000;

// Linear gain for a volume in hundredths of a decibel (10^(v/2000)); 0 at or below -10000.
double volume_to_gain(int hundredths_db);
// Left and right gains for a pan value: the side away from the pan is attenuated
// by |pan| hundredths of a decibel, the near side stays at full gain.
void pan_to_gains(int pan, double& left, double& right);

using VoiceId = int;  // 0 is never a valid voice
constexpr VoiceId kNoVoice = 0;

class Mixer {
 public:
  explicit Mixer(int output_rate = 44100);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  int output_rate() const { return output_rate_; }

  // A static voice over a copy of the data (whole sample frames).
  VoiceId create(const WaveFormat& fmt, const void* data, size_t bytes);
  // A streaming voice over a ring buffer of `bytes` bytes (silence at first).
  VoiceId create_stream(const WaveFormat& fmt, size_t bytes);
  // Both give kNoVoice for a format other than 8/16 bits, 1/2 channels and a rate
  // of 1..1000000 Hz, for less than one whole frame (or over 1 GiB), or when 4096
  // voices exist.
  // A new voice sharing the sample data of `source` (its own position, volume,
  // pan, frequency and play state, first copied from the source; starts stopped
  // at position 0).
  VoiceId duplicate(VoiceId source);
  void destroy(VoiceId v);
  bool valid(VoiceId v) const;

  void play(VoiceId v, bool loop);   // from the current position
  void stop(VoiceId v);              // keeps the position
  bool playing(VoiceId v) const;     // a one-shot voice stops itself at its end
  void set_volume(VoiceId v, int hundredths_db);  // clamped to -10000..0
  int volume(VoiceId v) const;
  void set_pan(VoiceId v, int pan);               // clamped to -10000..10000
  int pan(VoiceId v) const;
  void set_frequency(VoiceId v, int hz);          // 0 = the data's own rate; clamped to 100..200000
  int frequency(VoiceId v) const;                 // the playback rate in Hz (the data's own when 0 was set)
  // Play position in bytes of the voice's data (whole frames). A one-shot voice
  // that reaches its end stops and rewinds to 0, so play() starts it again.
  uint32_t position(VoiceId v) const;
  // Rounded down to a whole frame; a position at or past the end is refused.
  void set_position(VoiceId v, uint32_t bytes);
  uint32_t size(VoiceId v) const;                 // data size in bytes
  WaveFormat format(VoiceId v) const;
  // Setters ignore an invalid id; getters then give 0 (volume -10000, format zeros).

  // Refill of a voice's data by region, like DirectSound's Lock: the region
  // [offset, offset + bytes) wraps at the end of the buffer into a second part.
  // Valid until unlock(); only one lock per voice at a time. The parts point into
  // a copy of the current data; unlock() writes them into the voice's data (which
  // duplicates share) under the mixer's lock. False for an invalid or already
  // locked voice, an offset at or past the end, or 0 bytes; more bytes than the
  // size are cut to the size. Without part2/bytes2 only the first part is given.
  bool lock(VoiceId v, uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1,
            void** part2, uint32_t* bytes2);
  void unlock(VoiceId v);

  // Mixes `frames` stereo frames of signed 16-bit audio into out (overwrites).
  void render(int16_t* out, size_t frames);
  // Master gain for every voice (1.0 = unity), clamped to 0..8.
  void set_master_gain(double gain);
  int voice_count() const;

 private:
  struct Voice;
  struct Data;
  Voice* find(VoiceId v) const;
  VoiceId add(std::unique_ptr<Voice> voice);
  void update_step(Voice& voice) const;
  void update_gains(Voice& voice) const;
  int output_rate_;
  double master_gain_ = 1.0;
  int32_t master_q16_ = 65536;  // applied to the sum, so voice gains stay within 16 bits
  mutable std::mutex mutex_;
  // A voice id is (generation << 16) | (slot + 1), so a stale id of a destroyed
  // voice never reaches the voice that later takes its slot.
  std::vector<std::unique_ptr<Voice>> voices_;  // index = slot; null when free
  std::vector<uint16_t> generation_;            // per slot, bumped on destroy
  std::vector<int32_t> accum_;                  // render's stereo accumulator
  int live_ = 0;
};

// The program's mixer, created by platform::init (exists headless too).
Mixer& mixer();
// True when a real audio device plays the mixer (false headless or without a device).
bool audio_device_open();

}  // namespace platform
