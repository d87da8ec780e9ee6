// The game's random numbers: two linear congruential generators, one whose draws are written to the
// game log with the game clock (so two runs can be compared line by line) and one for cosmetic draws.
#pragma once
#include <cstdint>

// Seeds both generators, sets the game clock to 0 and logs "[Random]:Init %d".
void SeedRandom(int32_t s);

// Each draw uses the logged generator and writes its line first, or with `unlogged` the cosmetic
// generator and writes nothing. Products are formed in 64 bits, so a large n cannot overflow.
int32_t RandomInt(int32_t n, bool unlogged = false);                  // n * v / 32768: 0 to n - 1
float RandomFloat(float x, bool unlogged = false);                    // x * v / 32768
int32_t RandomPeriod(int32_t min, int32_t max, bool unlogged = false);  // min + round((max - min) * v / 32767)
float RandomPeriodF(float a, float b, bool unlogged = false);         // a + (b - a) * v / 32768

// One raw 15-bit value (0 to 32767) for inline draws; logs "[Random - get ]:%d" like RandomInt.
int32_t RandomValue(bool unlogged = false);

// State, for tests and the playback comparison.
int32_t randomSeed();
int32_t randomStateA();
int32_t randomStateB();
