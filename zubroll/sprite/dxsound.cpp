#include "zubroll/sprite/dxsound.h"

#include <algorithm>
#include <stdexcept>

#include "platform/clock.h"
#include "zubroll/sprite/dximage.h"

namespace zubroll {

TWaveCollectionItem::~TWaveCollectionItem() { release(); }

void TWaveCollectionItem::release() {
  if (mixer_)
    for (platform::VoiceId v : voices_) mixer_->destroy(v);
  voices_.clear();
}

void TWaveCollectionItem::SetWave(const platform::WavData& wav) {
  release();
  wave_ = wav;
  has_wave_ = true;
}

void TWaveCollectionItem::ClearWave() {
  release();
  wave_ = platform::WavData{};
  has_wave_ = false;
}

void TWaveCollectionItem::SetVolume(int v) {
  volume_ = std::clamp(v, platform::kVolumeMin, platform::kVolumeMax);
  if (mixer_)
    for (platform::VoiceId id : voices_) mixer_->set_volume(id, volume_);
}

void TWaveCollectionItem::SetPan(int p) {
  pan_ = std::clamp(p, platform::kPanLeft, platform::kPanRight);
  if (mixer_)
    for (platform::VoiceId id : voices_) mixer_->set_pan(id, pan_);
}

void TWaveCollectionItem::SetFrequency(int hz) {
  frequency_ = hz;
  if (mixer_)
    for (platform::VoiceId id : voices_) mixer_->set_frequency(id, frequency_);
}

void TWaveCollectionItem::Play(bool Wait) {
  if (!mixer_ || !has_wave_ || wave_.data.empty()) return;
  platform::VoiceId v = platform::kNoVoice;
  // A copy that has finished is reused; else a new copy while below the limit;
  // else the oldest copy starts again.
  auto idle = std::find_if(voices_.begin(), voices_.end(), [&](platform::VoiceId id) { return !mixer_->playing(id); });
  if (idle != voices_.end()) {
    v = *idle;
    voices_.erase(idle);
  } else if (int(voices_.size()) < std::max(1, MaxPlayingCount)) {
    v = voices_.empty() ? mixer_->create(wave_.format, wave_.data.data(), wave_.data.size())
                        : mixer_->duplicate(voices_.front());
  } else {
    v = voices_.front();
    voices_.erase(voices_.begin());
    mixer_->stop(v);
  }
  if (v == platform::kNoVoice) return;
  voices_.push_back(v);  // the newest play is last
  mixer_->set_position(v, 0);
  mixer_->set_volume(v, volume_);
  mixer_->set_pan(v, pan_);
  mixer_->set_frequency(v, frequency_);
  mixer_->play(v, Looped);
  if (Wait && !Looped) {
    const int rate = frequency_ > 0 ? frequency_ : wave_.format.rate;
    const int align = std::max(1, wave_.format.block_align());
    const uint64_t ms = uint64_t(wave_.data.size() / size_t(align)) * 1000u / uint64_t(std::max(1, rate));
    platform::delay(uint32_t(ms));
  }
}

void TWaveCollectionItem::Stop() {
  if (!mixer_) return;
  for (platform::VoiceId id : voices_) {
    mixer_->stop(id);
    mixer_->set_position(id, 0);
  }
}

bool TWaveCollectionItem::Playing() const { return PlayingCount() > 0; }

int TWaveCollectionItem::PlayingCount() const {
  if (!mixer_) return 0;
  int n = 0;
  for (platform::VoiceId id : voices_) n += mixer_->playing(id) ? 1 : 0;
  return n;
}

TWaveCollectionItem& TDXWaveList::Add(const std::string& name) {
  items_.push_back(std::make_unique<TWaveCollectionItem>(mixer_, name));
  return *items_.back();
}

TWaveCollectionItem* TDXWaveList::FindOrNull(const std::string& name) {
  for (auto& it : items_)
    if (SameTextNoCase(it->Name, name)) return it.get();
  return nullptr;
}

TWaveCollectionItem* TDXWaveList::Find(const std::string& name) {
  if (TWaveCollectionItem* it = FindOrNull(name)) return it;
  throw std::runtime_error("Wave '" + name + "' not found");
}

void TDXWaveList::Remove(TWaveCollectionItem* item) {
  items_.erase(std::remove_if(items_.begin(), items_.end(), [&](auto& p) { return p.get() == item; }),
               items_.end());
}

}  // namespace zubroll
