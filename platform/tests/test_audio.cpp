// Mixer: gain and pan laws, resampling, looping, duplicates, streams, clamping
// and invalid ids; the device binding under SDL's dummy driver.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/audio_device.h"

namespace platform {
namespace {

std::vector<int16_t> render(Mixer& m, size_t frames) {
  std::vector<int16_t> out(frames * 2, 12345);  // render must overwrite
  m.render(out.data(), frames);
  return out;
}

VoiceId mono8(Mixer& m, int rate, const std::vector<uint8_t>& samples) {
  return m.create(WaveFormat{rate, 1, 8}, samples.data(), samples.size());
}

VoiceId mono16(Mixer& m, int rate, const std::vector<int16_t>& samples) {
  return m.create(WaveFormat{rate, 1, 16}, samples.data(), samples.size() * 2);
}

bool all_zero(const std::vector<int16_t>& v) {
  for (int16_t s : v)
    if (s != 0) return false;
  return true;
}

// --- laws --------------------------------------------------------------------

TEST(AudioLaws, VolumeToGain) {
  struct Case {
    int hundredths_db;
    double gain;
  } cases[] = {
      {0, 1.0},           {500, 1.0},          {-600, 0.5011872},   {-1000, 0.3162278},
      {-2000, 0.1},       {-4000, 0.01},       {-1800, 0.1258925},  {-4800, 0.0039811},
      {-9999, 1.0011e-5}, {-10000, 0.0},       {-20000, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hundredths_db);
    EXPECT_NEAR(volume_to_gain(c.hundredths_db), c.gain, c.gain * 1e-4 + 1e-12);
  }
}

TEST(AudioLaws, PanAttenuatesTheFarChannelOnly) {
  struct Case {
    int pan;
    double left, right;
  } cases[] = {
      {0, 1.0, 1.0},         {2000, 0.1, 1.0},     {-2000, 1.0, 0.1},
      {600, 0.5011872, 1.0}, {-10000, 1.0, 0.0},   {10000, 0.0, 1.0},
      {25000, 0.0, 1.0},     {-25000, 1.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pan);
    double l = -1, r = -1;
    pan_to_gains(c.pan, l, r);
    EXPECT_NEAR(l, c.left, 1e-6);
    EXPECT_NEAR(r, c.right, 1e-6);
  }
}

TEST(AudioMixer, VolumeAndPanScaleTheOutput) {
  struct Case {
    int volume, pan;
    int left, right;
  } cases[] = {
      {0, 0, 16000, 16000},        {-600, 0, 8019, 8019},      {-2000, 0, 1600, 1600},
      {0, 2000, 1600, 16000},      {0, -2000, 16000, 1600},    {-2000, -2000, 1600, 160},
      {0, 10000, 0, 16000},        {-10000, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.volume << " " << c.pan);
    Mixer m(44100);
    VoiceId v = mono16(m, 44100, std::vector<int16_t>(64, 16000));
    m.set_volume(v, c.volume);
    m.set_pan(v, c.pan);
    m.play(v, true);
    auto out = render(m, 8);
    for (size_t i = 0; i < 8; ++i) {
      EXPECT_NEAR(out[2 * i], c.left, 1);
      EXPECT_NEAR(out[2 * i + 1], c.right, 1);
    }
  }
}

// --- resampling --------------------------------------------------------------

TEST(AudioMixer, QuarterRateAdvancesAQuarterFramePerOutputFrame) {
  Mixer m(44100);
  // 8-bit 128 is zero, 192 is +64 << 8 = 16384.
  VoiceId v = mono8(m, 11025, {128, 192, 128, 128, 128, 128});
  m.play(v, false);
  auto out = render(m, 8);
  const int expect[] = {0, 4096, 8192, 12288, 16384, 12288, 8192, 4096};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(out[2 * i], expect[i]) << i;
    EXPECT_EQ(out[2 * i + 1], expect[i]) << i;
  }
  EXPECT_EQ(m.position(v), 2u);  // 8 output frames = 2 data frames
  render(m, 3);
  EXPECT_EQ(m.position(v), 2u);  // 2.75
  render(m, 1);
  EXPECT_EQ(m.position(v), 3u);
}

TEST(AudioMixer, FrequencySetsThePlayingTime) {
  struct Case {
    int frequency;  // for 1000 frames of 11025 Hz data
    size_t frames;  // output frames until the voice ends
  } cases[] = {{0, 4000}, {11025, 4000}, {22050, 2000}, {44100, 1000}, {88200, 500}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frequency);
    Mixer m(44100);
    VoiceId v = mono16(m, 11025, std::vector<int16_t>(1000, 1000));
    m.set_frequency(v, c.frequency);
    m.play(v, false);
    auto out = render(m, c.frames - 1);
    EXPECT_TRUE(m.playing(v));
    EXPECT_EQ(out[2 * (c.frames - 2)], 1000);
    out = render(m, 2);
    EXPECT_FALSE(m.playing(v));
    EXPECT_EQ(out[0], 1000);  // the last output frame of the sound
    EXPECT_EQ(out[2], 0);     // then silence
  }
  // Not an exact ratio: 1000 frames last 8000.7 output frames.
  Mixer m(44100);
  VoiceId v = mono16(m, 11025, std::vector<int16_t>(1000, 1000));
  m.set_frequency(v, 5512);
  m.play(v, false);
  render(m, 8000);
  EXPECT_TRUE(m.playing(v));
  render(m, 1);
  EXPECT_FALSE(m.playing(v));
}

TEST(AudioMixer, FrequencyChangeKeepsThePosition) {
  Mixer m(44100);
  VoiceId v = mono16(m, 22050, std::vector<int16_t>(10000, 0));
  m.play(v, false);
  render(m, 200);
  EXPECT_EQ(m.position(v), 200u);  // 100 frames of 2 bytes
  m.set_frequency(v, 44100);
  render(m, 100);
  EXPECT_EQ(m.position(v), 400u);
}

// --- looping, stop -------------------------------------------------------------

TEST(AudioMixer, OneShotStopsAtItsEndAndRewinds) {
  Mixer m(44100);
  VoiceId v = mono16(m, 44100, {100, 200, 300, 400});
  m.play(v, false);
  auto out = render(m, 6);
  const int expect[] = {100, 200, 300, 400, 0, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(out[2 * i], expect[i]) << i;
  EXPECT_FALSE(m.playing(v));
  EXPECT_EQ(m.position(v), 0u);
  m.play(v, false);  // plays again from the start
  out = render(m, 2);
  EXPECT_EQ(out[0], 100);
  EXPECT_EQ(out[2], 200);
}

TEST(AudioMixer, LoopingWrapsAndInterpolatesAcrossTheEnd) {
  Mixer m(44100);
  VoiceId v = mono16(m, 44100, {100, 200, 300, 400});
  m.play(v, true);
  auto out = render(m, 10);
  const int expect[] = {100, 200, 300, 400, 100, 200, 300, 400, 100, 200};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(out[2 * i], expect[i]) << i;
  EXPECT_TRUE(m.playing(v));
  EXPECT_EQ(m.position(v), 4u);  // frame 2

  Mixer h(44100);
  VoiceId w = mono16(h, 22050, {1000, 3000});
  h.play(w, true);
  out = render(h, 6);
  const int half[] = {1000, 2000, 3000, 2000, 1000, 2000};  // 3000 -> 1000 across the wrap
  for (int i = 0; i < 6; ++i) EXPECT_EQ(out[2 * i], half[i]) << i;
}

TEST(AudioMixer, StopKeepsThePosition) {
  Mixer m(44100);
  std::vector<int16_t> ramp(100);
  for (int i = 0; i < 100; ++i) ramp[i] = int16_t(i * 10);
  VoiceId v = mono16(m, 44100, ramp);
  m.play(v, false);
  render(m, 30);
  m.stop(v);
  EXPECT_FALSE(m.playing(v));
  EXPECT_TRUE(all_zero(render(m, 10)));
  EXPECT_EQ(m.position(v), 60u);
  m.play(v, false);
  auto out = render(m, 1);
  EXPECT_EQ(out[0], 300);
}

TEST(AudioMixer, SetPositionRoundsToFramesAndRefusesTheEnd) {
  Mixer m(44100);
  VoiceId v = m.create(WaveFormat{44100, 2, 16}, std::vector<int16_t>(200).data(), 400);  // 100 frames
  m.set_position(v, 42);
  EXPECT_EQ(m.position(v), 40u);
  m.set_position(v, 399);
  EXPECT_EQ(m.position(v), 396u);
  m.set_position(v, 400);
  EXPECT_EQ(m.position(v), 396u);
  m.set_position(v, 0xFFFFFFFFu);
  EXPECT_EQ(m.position(v), 396u);
}

// --- formats and silence ---------------------------------------------------------

TEST(AudioMixer, SilentDataGivesSilence) {
  Mixer m(44100);
  VoiceId a = mono8(m, 11025, std::vector<uint8_t>(100, 128));
  VoiceId b = mono16(m, 22050, std::vector<int16_t>(100, 0));
  m.play(a, true);
  m.play(b, true);
  EXPECT_TRUE(all_zero(render(m, 1000)));
}

TEST(AudioMixer, EightBitSamplesAreUnsignedAroundHalfScale) {
  Mixer m(44100);
  VoiceId v = mono8(m, 44100, {0, 255, 129, 127});
  m.play(v, false);
  auto out = render(m, 4);
  EXPECT_EQ(out[0], -32768);
  EXPECT_EQ(out[2], 32512);
  EXPECT_EQ(out[4], 256);
  EXPECT_EQ(out[6], -256);
}

TEST(AudioMixer, StereoDataKeepsItsChannels) {
  Mixer m(44100);
  const uint8_t eight[] = {255, 128, 128, 0};        // frame 0 left, frame 1 right
  const int16_t sixteen[] = {5000, -3000, 5000, -3000};
  VoiceId a = m.create(WaveFormat{44100, 2, 8}, eight, sizeof eight);
  VoiceId b = m.create(WaveFormat{44100, 2, 16}, sixteen, sizeof sixteen);
  EXPECT_EQ(m.size(a), 4u);
  EXPECT_EQ(m.format(b).channels, 2);
  m.play(a, false);
  auto out = render(m, 2);
  EXPECT_EQ(out[0], 32512);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], 0);
  EXPECT_EQ(out[3], -32768);
  m.play(b, false);
  out = render(m, 2);
  EXPECT_EQ(out[0], 5000);
  EXPECT_EQ(out[1], -3000);
}

TEST(AudioMixer, VolumeMinimumIsSilenceButTimeRuns) {
  Mixer m(44100);
  VoiceId v = mono8(m, 11025, std::vector<uint8_t>(1000, 250));
  m.set_volume(v, -10000);
  m.play(v, false);
  EXPECT_TRUE(all_zero(render(m, 400)));
  EXPECT_EQ(m.position(v), 100u);
  render(m, 3600);
  EXPECT_FALSE(m.playing(v));  // reached its end while silent
}

TEST(AudioMixer, SumSaturates) {
  Mixer m(44100);
  for (int16_t s : {int16_t(30000), int16_t(30000), int16_t(-30000)}) m.play(mono16(m, 44100, {s}), true);
  auto out = render(m, 1);
  EXPECT_EQ(out[0], 30000);
  VoiceId n = mono16(m, 44100, {-30000});
  m.play(n, true);
  m.play(mono16(m, 44100, {-30000}), true);
  m.play(mono16(m, 44100, {-30000}), true);
  out = render(m, 1);
  EXPECT_EQ(out[0], -32768);
  m.stop(n);
  m.set_master_gain(0.5);
  out = render(m, 1);  // (2 x 30000 - 3 x 30000) / 2
  EXPECT_EQ(out[0], -15000);
}

TEST(AudioMixer, MasterGainScalesEveryVoice) {
  struct Case {
    double gain;
    int out;
  } cases[] = {{1.0, 1000}, {0.5, 500}, {2.0, 2000}, {0.0, 0}, {-1.0, 0}, {100.0, 8000}, {NAN, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gain);
    Mixer m(44100);
    m.play(mono16(m, 44100, {1000}), true);
    m.set_master_gain(c.gain);
    EXPECT_EQ(render(m, 1)[0], c.out);
  }
}

// --- clamping and bad input ----------------------------------------------------------

TEST(AudioMixer, SettersClamp) {
  Mixer m(44100);
  VoiceId v = mono8(m, 11025, std::vector<uint8_t>(10, 128));
  struct Case {
    int in, volume, pan, frequency;
  } cases[] = {
      {500, 0, 500, 500},          {-20000, -10000, -10000, 100},
      {-600, -600, -600, 100},     {20000, 0, 10000, 20000},
      {300000, 0, 10000, 200000},  {50, 0, 50, 100},
      {0, 0, 0, 11025},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    m.set_volume(v, c.in);
    m.set_pan(v, c.in);
    m.set_frequency(v, c.in);
    EXPECT_EQ(m.volume(v), c.volume);
    EXPECT_EQ(m.pan(v), c.pan);
    EXPECT_EQ(m.frequency(v), c.frequency);
  }
}

TEST(AudioMixer, BadFormatsAreRefused) {
  Mixer m(44100);
  const uint8_t data[16] = {};
  struct Case {
    WaveFormat fmt;
    const void* data;
    size_t bytes;
  } cases[] = {
      {{22050, 1, 12}, data, 16}, {{22050, 3, 8}, data, 16},   {{22050, 0, 8}, data, 16},
      {{0, 1, 8}, data, 16},      {{-5, 1, 8}, data, 16},      {{2000000, 1, 8}, data, 16},
      {{22050, 1, 8}, nullptr, 16}, {{22050, 1, 8}, data, 0},  {{22050, 2, 16}, data, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(m.create(c.fmt, c.data, c.bytes), kNoVoice);
    if (c.data) {
      EXPECT_EQ(m.create_stream(c.fmt, c.bytes), kNoVoice);
    }
  }
  EXPECT_EQ(m.voice_count(), 0);
  // A trailing partial frame is dropped.
  VoiceId v = m.create(WaveFormat{22050, 2, 16}, data, 15);
  EXPECT_EQ(m.size(v), 12u);
  EXPECT_EQ(Mixer(0).output_rate(), 44100);
  EXPECT_EQ(Mixer(-3).output_rate(), 44100);
  EXPECT_EQ(Mixer(22050).output_rate(), 22050);
}

TEST(AudioMixer, InvalidAndDestroyedIdsAreHarmless) {
  Mixer m(44100);
  VoiceId gone = mono16(m, 44100, std::vector<int16_t>(10, 500));
  m.destroy(gone);
  m.destroy(gone);
  EXPECT_EQ(m.voice_count(), 0);
  for (VoiceId id : {kNoVoice, -7, 12345, 0x7FFFFFFF, gone}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(m.valid(id));
    m.play(id, true);
    m.stop(id);
    m.set_volume(id, -100);
    m.set_pan(id, 100);
    m.set_frequency(id, 8000);
    m.set_position(id, 4);
    m.unlock(id);
    void* p1 = &m;
    void* p2 = &m;
    uint32_t b1 = 9, b2 = 9;
    EXPECT_FALSE(m.lock(id, 0, 4, &p1, &b1, &p2, &b2));
    EXPECT_EQ(p1, nullptr);
    EXPECT_EQ(b1, 0u);
    EXPECT_EQ(p2, nullptr);
    EXPECT_EQ(b2, 0u);
    EXPECT_FALSE(m.playing(id));
    EXPECT_EQ(m.volume(id), kVolumeMin);
    EXPECT_EQ(m.pan(id), 0);
    EXPECT_EQ(m.frequency(id), 0);
    EXPECT_EQ(m.position(id), 0u);
    EXPECT_EQ(m.size(id), 0u);
    EXPECT_EQ(m.format(id).bits, 0);
    EXPECT_EQ(m.duplicate(id), kNoVoice);
    m.destroy(id);
  }
  // The slot is reused, but the stale id does not reach the new voice.
  VoiceId fresh = mono16(m, 44100, std::vector<int16_t>(10, 500));
  EXPECT_NE(fresh, gone);
  EXPECT_EQ(fresh & 0xFFFF, gone & 0xFFFF);
  m.play(gone, true);
  m.destroy(gone);
  EXPECT_TRUE(m.valid(fresh));
  EXPECT_FALSE(m.playing(fresh));
  m.render(nullptr, 100);  // harmless
}

// --- duplicates ----------------------------------------------------------------

TEST(AudioMixer, DuplicatesShareDataButNotState) {
  Mixer m(44100);
  std::vector<int16_t> ramp(100);
  for (int i = 0; i < 100; ++i) ramp[i] = int16_t(i);
  VoiceId a = mono16(m, 44100, ramp);
  m.set_volume(a, -2000);
  m.set_frequency(a, 22050);
  m.play(a, true);
  render(m, 20);
  VoiceId b = m.duplicate(a);
  ASSERT_NE(b, kNoVoice);
  EXPECT_EQ(m.voice_count(), 2);
  // Settings are copied, play state and position start fresh.
  EXPECT_EQ(m.volume(b), -2000);
  EXPECT_EQ(m.frequency(b), 22050);
  EXPECT_FALSE(m.playing(b));
  EXPECT_EQ(m.position(b), 0u);
  EXPECT_EQ(m.position(a), 20u);

  // Independent volume: a silent, b at full volume and its own rate.
  m.set_volume(a, -10000);
  m.set_volume(b, 0);
  m.set_frequency(b, 0);
  m.set_position(b, 100);  // frame 50
  m.play(b, false);
  auto out = render(m, 2);
  EXPECT_EQ(out[0], 50);
  EXPECT_EQ(out[2], 51);

  // Shared data: writing through the original changes what the copy plays.
  void* p1;
  void* p2;
  uint32_t b1, b2;
  ASSERT_TRUE(m.lock(a, 104, 2, &p1, &b1, &p2, &b2));
  const int16_t loud = 7777;
  std::memcpy(p1, &loud, 2);
  m.unlock(a);
  out = render(m, 1);
  EXPECT_EQ(out[0], 7777);

  // The data lives while any voice uses it.
  m.destroy(a);
  EXPECT_TRUE(m.playing(b));
  out = render(m, 1);
  EXPECT_EQ(out[0], 53);
}

// --- streams ---------------------------------------------------------------------

class StreamTest : public testing::Test {
 protected:
  // 8-bit mono 22050 Hz over a 44100-byte ring, refilled by halves.
  Mixer m{44100};
  VoiceId s = m.create_stream(WaveFormat{22050, 1, 8}, 44100);

  void fill(uint32_t offset, uint32_t bytes, uint8_t value) {
    void* p1;
    void* p2;
    uint32_t b1, b2;
    ASSERT_TRUE(m.lock(s, offset, bytes, &p1, &b1, &p2, &b2));
    std::memset(p1, value, b1);
    if (p2) std::memset(p2, value, b2);
    m.unlock(s);
  }
};

TEST_F(StreamTest, StartsSilent) {
  ASSERT_NE(s, kNoVoice);
  EXPECT_EQ(m.size(s), 44100u);
  m.play(s, true);
  EXPECT_TRUE(all_zero(render(m, 2000)));
}

TEST_F(StreamTest, LockWrapsAtTheEnd) {
  struct Case {
    uint32_t offset, bytes;
    uint32_t part1_at, bytes1, bytes2;
    bool ok;
  } cases[] = {
      {0, 22050, 0, 22050, 0, true},         {22050, 22050, 22050, 22050, 0, true},
      {40000, 8000, 40000, 4100, 3900, true}, {44099, 2, 44099, 1, 1, true},
      {100, 50000, 100, 44000, 100, true},   {44100, 10, 0, 0, 0, false},
      {10, 0, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.offset << "+" << c.bytes);
    void* p1;
    void* p2;
    uint32_t b1, b2;
    void* base = nullptr;
    uint32_t bb1, bb2;
    void* q2;
    ASSERT_TRUE(m.lock(s, 0, 1, &base, &bb1, &q2, &bb2));
    m.unlock(s);
    EXPECT_EQ(m.lock(s, c.offset, c.bytes, &p1, &b1, &p2, &b2), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(p1, static_cast<uint8_t*>(base) + c.part1_at);
    EXPECT_EQ(b1, c.bytes1);
    EXPECT_EQ(b2, c.bytes2);
    EXPECT_EQ(p2, c.bytes2 ? base : nullptr);
    m.unlock(s);
  }
}

TEST_F(StreamTest, OneLockAtATimeAndUnlockWritesTheRegion) {
  void* p1;
  void* p2;
  uint32_t b1, b2;
  ASSERT_TRUE(m.lock(s, 44000, 200, &p1, &b1, &p2, &b2));
  EXPECT_FALSE(m.lock(s, 0, 10, &p1, &b1, &p2, &b2));
  m.unlock(s);
  ASSERT_TRUE(m.lock(s, 44000, 200, &p1, &b1, &p2, &b2));
  std::memset(p1, 200, b1);
  std::memset(p2, 60, b2);
  m.unlock(s);
  m.unlock(s);  // a second unlock does nothing
  // Read back: a new lock hands out the current content.
  ASSERT_TRUE(m.lock(s, 43999, 102, &p1, &b1, &p2, &b2));
  const auto* a = static_cast<const uint8_t*>(p1);
  const auto* b = static_cast<const uint8_t*>(p2);
  EXPECT_EQ(a[0], 128);
  EXPECT_EQ(a[1], 200);
  EXPECT_EQ(a[100], 200);
  EXPECT_EQ(b[0], 60);
  m.unlock(s);
  // Without a second part only the first one is given.
  ASSERT_TRUE(m.lock(s, 44000, 200, &p1, &b1, nullptr, nullptr));
  EXPECT_EQ(b1, 100u);
  m.unlock(s);
  EXPECT_FALSE(m.lock(s, 0, 10, nullptr, &b1, &p2, &b2));
}

TEST_F(StreamTest, PlayPositionFollowsRenderedFramesAndLoopsOverTheRing) {
  m.play(s, true);
  render(m, 1000);
  EXPECT_EQ(m.position(s), 500u);  // 22050 Hz data at 44100: half a byte per frame
  render(m, 43100);
  EXPECT_EQ(m.position(s), 22050u);
  render(m, 44100);
  EXPECT_EQ(m.position(s), 0u);  // once round the 44100-byte ring
  render(m, 1002);
  EXPECT_EQ(m.position(s), 501u);
  EXPECT_TRUE(m.playing(s));
}

TEST_F(StreamTest, RefillByHalvesPlaysWhatWasWritten) {
  // The game's pattern: fill both halves, then refill each half after the play
  // position has left it.
  fill(0, 22050, 160);      // +32 << 8
  fill(22050, 22050, 96);   // -32 << 8
  m.play(s, true);
  uint32_t last = m.position(s);
  uint8_t next_first = 170, next_second = 86;
  std::vector<int16_t> all;
  for (int block = 0; block < 4 * 44100 / 1024; ++block) {
    auto out = render(m, 1024);
    all.insert(all.end(), out.begin(), out.end());
    const uint32_t now = m.position(s);
    if (now < last) {
      fill(22050, 22050, next_second);
    } else if (last < 22050 && now >= 22050) {
      fill(0, 22050, next_first);
    }
    last = now;
  }
  // Two seconds of audio per round of the ring: the first second is the first
  // fill, the second second the second fill, then the refills follow.
  auto at = [&](double seconds) { return all[size_t(seconds * 44100) * 2]; };
  EXPECT_EQ(at(0.5), 32 << 8);
  EXPECT_EQ(at(1.5), -32 << 8);
  EXPECT_EQ(at(2.5), 42 << 8);
  EXPECT_EQ(at(3.5), -42 << 8);
}

TEST_F(StreamTest, OneShotStreamStopsAtTheRingEnd) {
  m.play(s, false);
  render(m, 88199);
  EXPECT_TRUE(m.playing(s));
  render(m, 1);
  EXPECT_FALSE(m.playing(s));
}

// --- device ----------------------------------------------------------------------

TEST(AudioDevice, TheProgramMixerIsOne) {
  EXPECT_EQ(&mixer(), &mixer());
  EXPECT_EQ(mixer().output_rate(), 44100);
  EXPECT_FALSE(audio_device_open());
}

TEST(AudioDevice, MissingDriverReportsAndStaysSilent) {
  const char* old = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = old ? old : "";
  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  Mixer m(44100);
  std::string error;
  EXPECT_FALSE(audio_device_start(m, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(audio_device_open());
  EXPECT_FALSE(SDL_WasInit(SDL_INIT_AUDIO));
  audio_device_stop();  // harmless
  if (old)
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");
}

TEST(AudioDevice, DummyDriverPullsWhileTheGameChangesVoices) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Mixer m(44100);
  std::string error;
  ASSERT_TRUE(audio_device_start(m, error)) << error;
  EXPECT_TRUE(audio_device_open());
  VoiceId stream = m.create_stream(WaveFormat{22050, 1, 8}, 44100);
  VoiceId effect = mono8(m, 11025, std::vector<uint8_t>(2000, 200));
  m.play(stream, true);
  // The game thread works on the voices while the device thread renders.
  for (int i = 0; i < 2000; ++i) {
    VoiceId copy = m.duplicate(effect);
    m.set_volume(copy, -(i % 10000));
    m.set_pan(copy, (i * 37) % 20001 - 10000);
    m.set_frequency(copy, 8000 + i);
    m.play(copy, i % 2 == 0);
    void* p1;
    void* p2;
    uint32_t b1, b2;
    if (m.lock(stream, uint32_t(i * 97 % 44100), 512, &p1, &b1, &p2, &b2)) {
      std::memset(p1, i & 0xFF, b1);
      if (p2) std::memset(p2, i & 0xFF, b2);
      m.unlock(stream);
    }
    if (i % 3 == 0) m.destroy(copy);
  }
  EXPECT_EQ(m.voice_count(), 2 + 2000 - 667);
  audio_device_stop();
  EXPECT_FALSE(audio_device_open());
  // A mixer destroyed while bound releases the device first.
  {
    Mixer temp(22050);
    ASSERT_TRUE(audio_device_start(temp, error)) << error;
  }
  EXPECT_FALSE(audio_device_open());
}

}  // namespace
}  // namespace platform
