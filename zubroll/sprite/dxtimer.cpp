#include "zubroll/sprite/dxtimer.h"

#include <algorithm>

namespace zubroll {

void TDXTimer::SetEnabled(bool on, uint32_t now) {
  if (on && !enabled_) last_ = now;
  enabled_ = on;
}

bool TDXTimer::Poll(uint32_t now) {
  if (!enabled_) return false;
  const uint32_t elapsed = now - last_;
  if (Interval > 0 && elapsed < uint32_t(Interval)) return false;
  int lag = Interval > 0 ? int(elapsed / uint32_t(Interval)) : 1;
  lag = std::clamp(lag, 1, std::max(1, MaxLag));
  last_ = now;
  ticks_.push_back(now);
  while (!ticks_.empty() && now - ticks_.front() >= 1000) ticks_.pop_front();
  if (OnTimer) OnTimer(lag);
  return true;
}

}  // namespace zubroll
