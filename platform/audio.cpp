// Software mixer: DirectSound-like voices mixed into 16-bit stereo.
//
// Positions are 32.32 fixed point in sample frames of the voice's data; one
// output frame advances a voice by step = frequency / output_rate. Samples are
// widened to signed 16 bits, interpolated linearly between the two frames around
// the position (15-bit fraction), scaled by per-channel Q16 gains (at most
// unity, so every product fits in 32 bits) and summed in 32 bits; the master
// gain scales the sum, which saturates once, when it is written out.
#include "platform/audio.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/audio_device.h"

namespace platform {

namespace {

constexpr int kFrequencyMin = 100;
constexpr int kFrequencyMax = 200000;
constexpr int kDataRateMax = 1000000;
constexpr int kOutputRateMin = 1000;
constexpr int kOutputRateMax = 384000;
constexpr double kMasterGainMax = 8.0;
constexpr size_t kMaxBytes = size_t(1) << 30;  // keeps frame counts and byte positions in 32 bits
constexpr size_t kChunkFrames = 512;           // render mixes this many frames at a time
constexpr int kMaxSlots = 4096;  // 4096 full-scale voices still sum within 32 bits

bool format_ok(const WaveFormat& f) {
  return (f.bits == 8 || f.bits == 16) && (f.channels == 1 || f.channels == 2) && f.rate >= 1 &&
         f.rate <= kDataRateMax;
}

}  // namespace

double volume_to_gain(int hundredths_db) {
  if (hundredths_db <= kVolumeMin) return 0.0;
  if (hundredths_db >= kVolumeMax) return 1.0;
  return std::pow(10.0, hundredths_db / 2000.0);
}

void pan_to_gains(int pan, double& left, double& right) {
  pan = std::clamp(pan, kPanLeft, kPanRight);
  left = pan > 0 ? volume_to_gain(-pan) : 1.0;
  right = pan < 0 ? volume_to_gain(pan) : 1.0;
}

struct Mixer::Data {
  WaveFormat fmt;
  std::vector<uint8_t> bytes;
  uint32_t frames = 0;
};

struct Mixer::Voice {
  VoiceId id = kNoVoice;
  std::shared_ptr<Data> data;
  uint64_t pos = 0;   // 32.32 frames
  uint64_t step = 0;  // 32.32 frames per output frame
  int volume = kVolumeMax;
  int pan = 0;
  int frequency = 0;  // 0 = the data's rate
  int32_t gain_l = 0, gain_r = 0;  // Q16, at most 65536: s * gain fits in 32 bits
  bool playing = false;
  bool loop = false;
  // Lock: the game writes into `staging`, unlock copies the region into the
  // shared data under the mixer's mutex, so the audio thread never reads bytes
  // that are being written.
  bool locked = false;
  uint32_t lock_offset = 0, lock_bytes1 = 0, lock_bytes2 = 0;
  std::vector<uint8_t> staging;
};

namespace {

template <int Bits>
inline int32_t sample_at(const uint8_t* p) {
  if constexpr (Bits == 8) {
    return (int32_t(*p) - 128) << 8;
  } else {
    int16_t s;
    std::memcpy(&s, p, 2);  // little-endian data, as the machine is
    return s;
  }
}

inline int32_t lerp(int32_t s0, int32_t s1, int32_t frac15) {
  return s0 + (((s1 - s0) * frac15) >> 15);
}

// Mixes `n` output frames of one voice into acc (stereo pairs). Returns false
// when a one-shot voice reached its end (the caller stops and rewinds it).
template <int Bits, int Channels>
bool mix_voice(uint64_t& pos_io, uint64_t step, const uint8_t* data, uint32_t frames, bool loop,
               int32_t gl, int32_t gr, int32_t* acc, size_t n) {
  constexpr int kFrame = Channels * Bits / 8;
  constexpr int kSampleBytes = Bits / 8;
  const uint64_t end = uint64_t(frames) << 32;
  const uint64_t last = uint64_t(frames - 1) << 32;  // position of the last frame
  uint64_t pos = pos_io;
  size_t done = 0;
  while (done < n) {
    if (pos >= end) {
      if (!loop) {
        pos_io = pos;
        return false;
      }
      pos %= end;
    }
    if (pos < last) {
      // Every frame before the last has its successor in the data: no checks.
      uint64_t count = (last - pos + step - 1) / step;
      if (count > n - done) count = n - done;
      int32_t* a = acc + 2 * done;
      for (uint64_t k = 0; k < count; ++k) {
        const uint8_t* p = data + uint32_t(pos >> 32) * kFrame;
        const int32_t f = int32_t(uint32_t(pos) >> 17);
        if constexpr (Channels == 1) {
          const int32_t s = lerp(sample_at<Bits>(p), sample_at<Bits>(p + kFrame), f);
          a[0] += (s * gl) >> 16;
          a[1] += (s * gr) >> 16;
        } else {
          const int32_t l = lerp(sample_at<Bits>(p), sample_at<Bits>(p + kFrame), f);
          const int32_t r =
              lerp(sample_at<Bits>(p + kSampleBytes), sample_at<Bits>(p + kFrame + kSampleBytes), f);
          a[0] += (l * gl) >> 16;
          a[1] += (r * gr) >> 16;
        }
        a += 2;
        pos += step;
      }
      done += count;
    } else {
      // The last frame: it leads into frame 0 when looping, else it holds.
      const uint8_t* p = data + (frames - 1) * kFrame;
      const uint8_t* q = loop ? data : p;
      const int32_t f = int32_t(uint32_t(pos) >> 17);
      int32_t* a = acc + 2 * done;
      if constexpr (Channels == 1) {
        const int32_t s = lerp(sample_at<Bits>(p), sample_at<Bits>(q), f);
        a[0] += (s * gl) >> 16;
        a[1] += (s * gr) >> 16;
      } else {
        const int32_t l = lerp(sample_at<Bits>(p), sample_at<Bits>(q), f);
        const int32_t r = lerp(sample_at<Bits>(p + kSampleBytes), sample_at<Bits>(q + kSampleBytes), f);
        a[0] += (l * gl) >> 16;
        a[1] += (r * gr) >> 16;
      }
      pos += step;
      ++done;
    }
  }
  if (pos >= end) {
    if (!loop) {
      pos_io = pos;
      return false;
    }
    pos %= end;
  }
  pos_io = pos;
  return true;
}

// Advances a silent voice without mixing it; false as mix_voice.
bool skip_voice(uint64_t& pos, uint64_t step, uint32_t frames, bool loop, size_t n) {
  const uint64_t end = uint64_t(frames) << 32;
  // n * step stays far below 2^64: n is at most a chunk, step at most ~2^43.
  pos += step * n;
  if (pos < end) return true;
  if (!loop) return false;
  pos %= end;
  return true;
}

}  // namespace

Mixer::Mixer(int output_rate)
    : output_rate_(output_rate <= 0 ? 44100 : std::clamp(output_rate, kOutputRateMin, kOutputRateMax)),
      accum_(kChunkFrames * 2) {}

Mixer::~Mixer() { audio_device_release(*this); }

Mixer::Voice* Mixer::find(VoiceId v) const {
  if (v <= 0) return nullptr;
  const int slot = (v & 0xFFFF) - 1;
  if (slot < 0 || size_t(slot) >= voices_.size()) return nullptr;
  Voice* voice = voices_[slot].get();
  return voice && voice->id == v ? voice : nullptr;
}

VoiceId Mixer::add(std::unique_ptr<Voice> voice) {
  size_t slot = 0;
  while (slot < voices_.size() && voices_[slot]) ++slot;
  if (slot >= size_t(kMaxSlots)) return kNoVoice;
  if (slot == voices_.size()) {
    voices_.emplace_back();
    generation_.push_back(1);
  }
  // Generations run 1..32767 so that ids stay positive and never 0.
  const VoiceId id = VoiceId(int(generation_[slot]) << 16 | int(slot + 1));
  voice->id = id;
  update_step(*voice);
  update_gains(*voice);
  voices_[slot] = std::move(voice);
  ++live_;
  return id;
}

void Mixer::update_step(Voice& voice) const {
  const int hz = voice.frequency ? voice.frequency : voice.data->fmt.rate;
  voice.step = (uint64_t(hz) << 32) / uint64_t(output_rate_);
  if (voice.step == 0) voice.step = 1;
}

void Mixer::update_gains(Voice& voice) const {
  double l, r;
  pan_to_gains(voice.pan, l, r);
  const double g = volume_to_gain(voice.volume) * 65536.0;
  voice.gain_l = int32_t(std::lround(g * l));
  voice.gain_r = int32_t(std::lround(g * r));
}

VoiceId Mixer::create(const WaveFormat& fmt, const void* data, size_t bytes) {
  if (!format_ok(fmt) || !data || bytes > kMaxBytes) return kNoVoice;
  const size_t frames = bytes / size_t(fmt.block_align());
  if (frames == 0) return kNoVoice;
  auto d = std::make_shared<Data>();
  d->fmt = fmt;
  d->frames = uint32_t(frames);
  const auto* p = static_cast<const uint8_t*>(data);
  d->bytes.assign(p, p + frames * size_t(fmt.block_align()));
  auto voice = std::make_unique<Voice>();
  voice->data = std::move(d);
  std::lock_guard<std::mutex> lock(mutex_);
  return add(std::move(voice));
}

VoiceId Mixer::create_stream(const WaveFormat& fmt, size_t bytes) {
  if (!format_ok(fmt) || bytes > kMaxBytes) return kNoVoice;
  const size_t frames = bytes / size_t(fmt.block_align());
  if (frames == 0) return kNoVoice;
  auto d = std::make_shared<Data>();
  d->fmt = fmt;
  d->frames = uint32_t(frames);
  d->bytes.assign(frames * size_t(fmt.block_align()), fmt.bits == 8 ? uint8_t(128) : uint8_t(0));
  auto voice = std::make_unique<Voice>();
  voice->data = std::move(d);
  std::lock_guard<std::mutex> lock(mutex_);
  return add(std::move(voice));
}

VoiceId Mixer::duplicate(VoiceId source) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* src = find(source);
  if (!src) return kNoVoice;
  auto voice = std::make_unique<Voice>();
  voice->data = src->data;
  voice->volume = src->volume;
  voice->pan = src->pan;
  voice->frequency = src->frequency;
  return add(std::move(voice));
}

void Mixer::destroy(VoiceId v) {
  std::unique_ptr<Voice> gone;  // freed after the lock is released
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!find(v)) return;
    const size_t slot = size_t(v & 0xFFFF) - 1;
    gone = std::move(voices_[slot]);
    generation_[slot] = generation_[slot] >= 0x7FFF ? 1 : uint16_t(generation_[slot] + 1);
    --live_;
  }
}

bool Mixer::valid(VoiceId v) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return find(v) != nullptr;
}

void Mixer::play(VoiceId v, bool loop) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Voice* voice = find(v)) {
    voice->playing = true;
    voice->loop = loop;
  }
}

void Mixer::stop(VoiceId v) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Voice* voice = find(v)) voice->playing = false;
}

bool Mixer::playing(VoiceId v) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* voice = find(v);
  return voice && voice->playing;
}

void Mixer::set_volume(VoiceId v, int hundredths_db) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Voice* voice = find(v)) {
    voice->volume = std::clamp(hundredths_db, kVolumeMin, kVolumeMax);
    update_gains(*voice);
  }
}

int Mixer::volume(VoiceId v) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* voice = find(v);
  return voice ? voice->volume : kVolumeMin;
}

void Mixer::set_pan(VoiceId v, int pan) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Voice* voice = find(v)) {
    voice->pan = std::clamp(pan, kPanLeft, kPanRight);
    update_gains(*voice);
  }
}

int Mixer::pan(VoiceId v) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* voice = find(v);
  return voice ? voice->pan : 0;
}

void Mixer::set_frequency(VoiceId v, int hz) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Voice* voice = find(v)) {
    voice->frequency = hz == 0 ? 0 : std::clamp(hz, kFrequencyMin, kFrequencyMax);
    update_step(*voice);
  }
}

int Mixer::frequency(VoiceId v) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* voice = find(v);
  if (!voice) return 0;
  return voice->frequency ? voice->frequency : voice->data->fmt.rate;
}

uint32_t Mixer::position(VoiceId v) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* voice = find(v);
  if (!voice) return 0;
  return uint32_t(voice->pos >> 32) * uint32_t(voice->data->fmt.block_align());
}

void Mixer::set_position(VoiceId v, uint32_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  Voice* voice = find(v);
  if (!voice) return;
  const uint32_t frame = bytes / uint32_t(voice->data->fmt.block_align());
  if (frame >= voice->data->frames) return;
  voice->pos = uint64_t(frame) << 32;
}

uint32_t Mixer::size(VoiceId v) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* voice = find(v);
  return voice ? uint32_t(voice->data->bytes.size()) : 0;
}

WaveFormat Mixer::format(VoiceId v) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Voice* voice = find(v);
  if (!voice) return WaveFormat{0, 0, 0};
  return voice->data->fmt;
}

bool Mixer::lock(VoiceId v, uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1,
                 void** part2, uint32_t* bytes2) {
  if (part1) *part1 = nullptr;
  if (bytes1) *bytes1 = 0;
  if (part2) *part2 = nullptr;
  if (bytes2) *bytes2 = 0;
  if (!part1 || !bytes1) return false;
  std::lock_guard<std::mutex> guard(mutex_);
  Voice* voice = find(v);
  if (!voice || voice->locked || bytes == 0) return false;
  const std::vector<uint8_t>& data = voice->data->bytes;
  const uint32_t size = uint32_t(data.size());
  if (offset >= size) return false;
  bytes = std::min(bytes, size);
  uint32_t n1 = std::min(bytes, size - offset);
  uint32_t n2 = bytes - n1;
  if (!part2 || !bytes2) n2 = 0;  // the caller takes only the first part
  if (voice->staging.size() != size) voice->staging.resize(size);
  std::memcpy(voice->staging.data() + offset, data.data() + offset, n1);
  if (n2) std::memcpy(voice->staging.data(), data.data(), n2);
  voice->locked = true;
  voice->lock_offset = offset;
  voice->lock_bytes1 = n1;
  voice->lock_bytes2 = n2;
  *part1 = voice->staging.data() + offset;
  *bytes1 = n1;
  if (n2) {
    *part2 = voice->staging.data();
    *bytes2 = n2;
  }
  return true;
}

void Mixer::unlock(VoiceId v) {
  std::lock_guard<std::mutex> guard(mutex_);
  Voice* voice = find(v);
  if (!voice || !voice->locked) return;
  std::vector<uint8_t>& data = voice->data->bytes;
  std::memcpy(data.data() + voice->lock_offset, voice->staging.data() + voice->lock_offset,
              voice->lock_bytes1);
  if (voice->lock_bytes2) std::memcpy(data.data(), voice->staging.data(), voice->lock_bytes2);
  voice->locked = false;
}

void Mixer::render(int16_t* out, size_t frames) {
  if (!out) return;
  std::lock_guard<std::mutex> lock(mutex_);
  int32_t* acc = accum_.data();
  while (frames > 0) {
    const size_t n = std::min(frames, kChunkFrames);
    std::fill(acc, acc + 2 * n, 0);
    for (const auto& slot : voices_) {
      Voice* voice = slot.get();
      if (!voice || !voice->playing) continue;
      const Data& d = *voice->data;
      bool more;
      if (voice->gain_l == 0 && voice->gain_r == 0) {
        more = skip_voice(voice->pos, voice->step, d.frames, voice->loop, n);
      } else {
        const int kind = (d.fmt.bits == 16 ? 2 : 0) + (d.fmt.channels == 2 ? 1 : 0);
        auto mix = kind == 0   ? &mix_voice<8, 1>
                   : kind == 1 ? &mix_voice<8, 2>
                   : kind == 2 ? &mix_voice<16, 1>
                               : &mix_voice<16, 2>;
        more = mix(voice->pos, voice->step, d.bytes.data(), d.frames, voice->loop, voice->gain_l,
                   voice->gain_r, acc, n);
      }
      if (!more) {
        voice->playing = false;
        voice->pos = 0;
      }
    }
    if (master_q16_ == 65536) {
      for (size_t i = 0; i < 2 * n; ++i) out[i] = int16_t(std::clamp(acc[i], -32768, 32767));
    } else {
      for (size_t i = 0; i < 2 * n; ++i)
        out[i] = int16_t(std::clamp<int64_t>((int64_t(acc[i]) * master_q16_) >> 16, -32768, 32767));
    }
    out += 2 * n;
    frames -= n;
  }
}

void Mixer::set_master_gain(double gain) {
  if (!(gain >= 0.0)) gain = 0.0;  // NaN too
  gain = std::min(gain, kMasterGainMax);
  std::lock_guard<std::mutex> lock(mutex_);
  master_gain_ = gain;
  master_q16_ = int32_t(std::lround(gain * 65536.0));
}

int Mixer::voice_count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return live_;
}

}  // namespace platform
