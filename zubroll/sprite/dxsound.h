// Wave list of the egg game on the platform mixer: named waves with volume,
// pan, frequency and looping; at most MaxPlayingCount overlapping plays per
// item (a further play restarts the oldest copy).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/image_io.h"

namespace zubroll {

class TWaveCollectionItem {
 public:
  TWaveCollectionItem(platform::Mixer* mixer, std::string name) : Name(std::move(name)), mixer_(mixer) {}
  ~TWaveCollectionItem();
  TWaveCollectionItem(const TWaveCollectionItem&) = delete;
  TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

  std::string Name;
  int MaxPlayingCount = 6;
  bool Looped = false;

  // Replaces the wave data (stops and drops every copy).
  void SetWave(const platform::WavData& wav);
  void ClearWave();  // drops the data
  bool HasWave() const { return has_wave_; }
  const platform::WavData& Wave() const { return wave_; }

  int Volume() const { return volume_; }
  void SetVolume(int v);  // hundredths of a decibel; applies to the playing copies
  int Pan() const { return pan_; }
  void SetPan(int p);
  int Frequency() const { return frequency_; }
  void SetFrequency(int hz);  // 0: the data's own rate

  // Plays a copy from its start. Wait: returns after the sound's length has
  // passed on the platform clock.
  void Play(bool Wait);
  void Stop();
  bool Playing() const;
  int PlayingCount() const;
  int CopyCount() const { return int(voices_.size()); }

 private:
  platform::Mixer* mixer_;
  platform::WavData wave_;
  bool has_wave_ = false;
  int volume_ = 0, pan_ = 0, frequency_ = 0;
  std::vector<platform::VoiceId> voices_;  // copies, oldest play first
  void release();
};

class TDXWaveList {
 public:
  explicit TDXWaveList(platform::Mixer* mixer = nullptr) : mixer_(mixer) {}
  void SetMixer(platform::Mixer* m) { mixer_ = m; }
  platform::Mixer* Mixer() const { return mixer_; }
  TWaveCollectionItem& Add(const std::string& name);
  // Ignoring case; an unknown name throws "Wave '<name>' not found".
  TWaveCollectionItem* Find(const std::string& name);
  TWaveCollectionItem* FindOrNull(const std::string& name);
  void Remove(TWaveCollectionItem* item);
  int Count() const { return int(items_.size()); }
  TWaveCollectionItem& Item(int i) { return *items_[size_t(i)]; }
  void Clear() { items_.clear(); }

 private:
  platform::Mixer* mixer_;
  std::vector<std::unique_ptr<TWaveCollectionItem>> items_;
};

}  // namespace zubroll
