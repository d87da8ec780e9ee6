// The millisecond clock: the steady system clock, or a manual clock that tests advance by hand.
#include "platform/platform.h"

#include <chrono>
#include <thread>

namespace {
bool g_manual = false;
uint32_t g_manualNow = 0;
const auto g_start = std::chrono::steady_clock::now();
}  // namespace

uint32_t platTicks() {
  if (g_manual) return g_manualNow;
  auto d = std::chrono::steady_clock::now() - g_start;
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

void platUseManualClock(bool on, uint32_t start) {
  g_manual = on;
  g_manualNow = start;
}

void platAdvanceClock(uint32_t ms) { g_manualNow += ms; }
bool platIsManualClock() { return g_manual; }

void platSleep(uint32_t ms) {
  if (g_manual) return;
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
