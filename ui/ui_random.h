// Cosmetic random numbers for windows (pauses of a waving sign and the like). The game hands in its
// unlogged generator, so these draws never disturb the logged sequence a replay is compared by.
#pragma once
#include <cstdint>

using UIRandomPeriodFn = int32_t (*)(int32_t min, int32_t max);

// Null restores the window layer's own generator (used until the game hands one in).
void uiSetCosmeticRandom(UIRandomPeriodFn fn);
// A whole number from min to max, both included.
int32_t uiRandomPeriod(int32_t min, int32_t max);
