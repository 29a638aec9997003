// Real clock over SDL's millisecond counter, or the headless virtual clock.
#include "clock.h"

#include <SDL.h>

#include <chrono>
#include <ctime>

#include "host.h"
#include "internal.h"

namespace platform {
namespace {

bool g_virtual = false;
uint32_t g_virtual_now = 0;
uint64_t g_real_start = 0;  // SDL_GetTicks64 at reset

uint64_t real_ms() { return SDL_GetTicks64(); }

}  // namespace

namespace detail {
void clock_reset(bool virtual_clock) {
  g_virtual = virtual_clock;
  g_virtual_now = 0;
  g_real_start = real_ms();
}
}  // namespace detail

uint32_t ticks() {
  if (g_virtual) return g_virtual_now;
  return uint32_t(real_ms() - g_real_start);
}

void wait_until(uint32_t t) {
  if (g_virtual) {
    if (int32_t(t - g_virtual_now) > 0) {
      g_virtual_now = t;
      advance_audio_to(g_virtual_now);
    }
    return;
  }
  // Sleep in whole milliseconds until about 2 ms before the deadline, then
  // yield-spin the rest: the sleep granularity of the system is coarse.
  for (;;) {
    int32_t left = int32_t(t - ticks());
    if (left <= 0) return;
    if (left > 2)
      SDL_Delay(uint32_t(left - 2));
    else
      SDL_Delay(0);
  }
}

void delay(uint32_t ms) { wait_until(ticks() + ms); }

uint32_t time_of_day_ms() {
  if (g_virtual) return (12u * 3600u * 1000u + g_virtual_now) % (24u * 3600u * 1000u);
  using namespace std::chrono;
  auto now = system_clock::now().time_since_epoch();
  return uint32_t(duration_cast<milliseconds>(now).count() % (24LL * 3600 * 1000));
}

}  // namespace platform
