// The engine's clocks over the platform's millisecond ticks.
#include "base/clock.h"

#include "platform/platform.h"

namespace {
uint32_t g_timeBase = 0;
uint32_t g_previous = 0;
bool g_previousSet = false;
}  // namespace

void clockStart() {
  g_timeBase = platTicks();
  g_previousSet = false;
}

float clockSinceStart() { return float(platTicks() - g_timeBase); }

float clockSincePrevious() {
  uint32_t now = platTicks();
  float d = g_previousSet ? float(now - g_previous) : float(now - g_timeBase);
  g_previous = now;
  g_previousSet = true;
  return d;
}
