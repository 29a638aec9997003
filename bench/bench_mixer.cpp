// Mixer cost per second of audio: voices mixed to 44100 Hz stereo in the
// device's 1024-frame blocks. core_percent = CPU time spent per second of
// audio, as a percentage of one core.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <vector>

#include "platform/audio.h"

namespace {

double thread_cpu_seconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Deterministic noise-like 8-bit data, so no two voices are alike.
std::vector<uint8_t> wave8(size_t n, uint32_t seed) {
  std::vector<uint8_t> v(n);
  for (auto& b : v) {
    seed = seed * 1103515245u + 12345u;
    b = uint8_t(seed >> 24);
  }
  return v;
}

std::vector<int16_t> wave16(size_t n, uint32_t seed) {
  std::vector<int16_t> v(n);
  for (auto& s : v) {
    seed = seed * 1103515245u + 12345u;
    s = int16_t(seed >> 16);
  }
  return v;
}

constexpr int kOutputRate = 44100;
constexpr size_t kBlock = 1024;

// Renders one second of audio per iteration and reports its CPU cost.
void run(benchmark::State& state, platform::Mixer& m) {
  std::vector<int16_t> out(kBlock * 2);
  double cpu = 0;
  double audio_seconds = 0;
  for (auto _ : state) {
    const double t0 = thread_cpu_seconds();
    size_t left = kOutputRate;
    while (left > 0) {
      const size_t n = left < kBlock ? left : kBlock;
      m.render(out.data(), n);
      benchmark::DoNotOptimize(out.data());
      left -= n;
    }
    cpu += thread_cpu_seconds() - t0;
    audio_seconds += 1.0;
  }
  state.counters["core_percent"] = cpu / audio_seconds * 100.0;
  state.counters["audio_x_realtime"] = audio_seconds / cpu;
}

// The game's case: short 8-bit 11025 Hz mono effects, all looping, spread over
// volume and pan.
void BM_Mix32Voices8Bit11025Mono(benchmark::State& state) {
  platform::Mixer m(kOutputRate);
  const int voices = int(state.range(0));
  for (int i = 0; i < voices; ++i) {
    auto data = wave8(11025 / 2 + size_t(i) * 97, uint32_t(i + 1));
    platform::VoiceId v = m.create(platform::WaveFormat{11025, 1, 8}, data.data(), data.size());
    m.set_volume(v, -(i * 150));
    m.set_pan(v, (i * 617) % 20001 - 10000);
    m.play(v, true);
  }
  run(state, m);
}
BENCHMARK(BM_Mix32Voices8Bit11025Mono)->Arg(32)->Unit(benchmark::kMillisecond);

// Harder formats: 16-bit stereo at 22050 Hz with varied playback frequencies.
void BM_Mix32Voices16BitStereo(benchmark::State& state) {
  platform::Mixer m(kOutputRate);
  for (int i = 0; i < 32; ++i) {
    auto data = wave16(2 * 22050, uint32_t(i + 7));
    platform::VoiceId v = m.create(platform::WaveFormat{22050, 2, 16}, data.data(), data.size() * 2);
    m.set_frequency(v, 11025 + i * 1000);
    m.set_pan(v, (i * 617) % 20001 - 10000);
    m.play(v, true);
  }
  run(state, m);
}
BENCHMARK(BM_Mix32Voices16BitStereo)->Unit(benchmark::kMillisecond);

// Music: one 8-bit 22050 Hz stream over a 2-second ring, refilled by halves.
void BM_StreamRefilledByHalves(benchmark::State& state) {
  platform::Mixer m(kOutputRate);
  platform::VoiceId s = m.create_stream(platform::WaveFormat{22050, 1, 8}, 44100);
  m.play(s, true);
  std::vector<int16_t> out(kBlock * 2);
  auto fill = wave8(22050, 3);
  uint32_t last = 0;
  double cpu = 0, audio_seconds = 0;
  for (auto _ : state) {
    const double t0 = thread_cpu_seconds();
    for (size_t left = kOutputRate; left > 0;) {
      const size_t n = left < kBlock ? left : kBlock;
      m.render(out.data(), n);
      left -= n;
      const uint32_t now = m.position(s);
      uint32_t offset = 1;  // none
      if (now < last) offset = 22050;
      else if (last < 22050 && now >= 22050) offset = 0;
      if (offset != 1) {
        void *p1, *p2;
        uint32_t b1, b2;
        if (m.lock(s, offset, 22050, &p1, &b1, &p2, &b2)) {
          std::copy(fill.begin(), fill.begin() + b1, static_cast<uint8_t*>(p1));
          m.unlock(s);
        }
      }
      last = now;
    }
    cpu += thread_cpu_seconds() - t0;
    audio_seconds += 1.0;
  }
  state.counters["core_percent"] = cpu / audio_seconds * 100.0;
}
BENCHMARK(BM_StreamRefilledByHalves)->Unit(benchmark::kMillisecond);

}  // namespace
