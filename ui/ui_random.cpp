// The windows' cosmetic random source: the game's unlogged generator when handed in, else a
// generator of the same arithmetic kept here.
#include "ui/ui_random.h"

#include <cmath>

namespace {
UIRandomPeriodFn g_source = nullptr;
uint32_t g_state = 12345;

int32_t OwnPeriod(int32_t min, int32_t max) {
  g_state = g_state * 214013u + 2531011u;
  const int32_t v = int32_t((g_state >> 16) & 0x7FFF);
  return min + int32_t(std::lround(double(max - min) * v / 32767.0));
}
}  // namespace

void uiSetCosmeticRandom(UIRandomPeriodFn fn) { g_source = fn; }

int32_t uiRandomPeriod(int32_t min, int32_t max) { return g_source ? g_source(min, max) : OwnPeriod(min, max); }
