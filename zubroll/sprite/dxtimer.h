// Frame timer: fires OnTimer(LagCount) every Interval milliseconds of the
// platform clock while Enabled; LagCount = elapsed ms div Interval, at least 1,
// at most MaxLag. FrameRate counts the ticks of the last second.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>

namespace zubroll {

class TDXTimer {
 public:
  int Interval = 33;
  int MaxLag = 16;
  bool ActiveOnly = true;
  std::function<void(int LagCount)> OnTimer;
  std::function<void()> OnActivate, OnDeactivate;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on, uint32_t now);
  // When the next tick is due (valid while Enabled).
  uint32_t NextDue() const { return Interval <= 0 ? last_ : last_ + uint32_t(Interval); }
  // Runs OnTimer when a tick is due at `now`; true when it ran.
  bool Poll(uint32_t now);
  int FrameRate() const { return int(ticks_.size()); }

 private:
  bool enabled_ = false;
  uint32_t last_ = 0;
  std::deque<uint32_t> ticks_;
};

}  // namespace zubroll
