// The engine's clocks: milliseconds from the time base the shell takes at start-up.
#pragma once
#include <cstdint>

// Takes the time base of both clocks (the shell, at start-up) and forgets the previous call.
void clockStart();
// Milliseconds since the time base.
float clockSinceStart();
// Milliseconds since the previous call (since the time base on the first call).
float clockSincePrevious();
