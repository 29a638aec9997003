// Millisecond clock. Headless runs use a virtual clock that moves only when
// the program waits, so a run is reproducible and never sleeps.
#pragma once
#include <cstdint>

namespace platform {

uint32_t ticks();                 // milliseconds since the platform started
void wait_until(uint32_t t);      // real: sleep until just before t, then spin; virtual: jump to t
void delay(uint32_t ms);          // wait_until(ticks() + ms)
// Milliseconds since midnight UTC (virtual runs start at 12:00:00.000 plus ticks()).
uint32_t time_of_day_ms();

}  // namespace platform
