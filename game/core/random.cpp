// The two generators (state * 214013 + 2531011, 15 bits from the high half) and the draw functions.
#include "game/core/random.h"

#include <cstdlib>

#include "base/diag.h"
#include "game/core/game_main.h"

namespace {
int32_t g_seed = 0;
uint32_t g_stateA = 0;  // unsigned so the wrap-around is defined
uint32_t g_stateB = 0;

// Advances the chosen generator and returns its 15-bit value; the logged one writes `line` first.
int32_t draw(bool unlogged, const char* line) {
  if (unlogged) {
    g_stateB = g_stateB * 214013u + 2531011u;
    return int32_t((g_stateB >> 16) & 0x7FFF);
  }
  gameLog(line, int(gameClock()));
  g_stateA = g_stateA * 214013u + 2531011u;
  return int32_t((g_stateA >> 16) & 0x7FFF);
}
}  // namespace

void SeedRandom(int32_t s) {
  g_seed = s;
  g_stateA = g_stateB = uint32_t(s);
  gameSetClock(0);
  gameLog("[Random]:Init %d", int(s));
}

int32_t RandomValue(bool unlogged) { return draw(unlogged, "[Random - get ]:%d"); }

int32_t RandomInt(int32_t n, bool unlogged) {
  int64_t v = draw(unlogged, "[Random - get ]:%d");
  return int32_t(int64_t(n) * v / 32768);
}

float RandomFloat(float x, bool unlogged) {
  int32_t v = draw(unlogged, "[Random - getf ]:%d");
  return x * float(v) / 32768.0f;
}

int32_t RandomPeriod(int32_t min, int32_t max, bool unlogged) {
  int64_t v = draw(unlogged, "[Random - getPeriod ]:%d");
  // round(range * v / 32767) exactly, halves away from zero, without floating point.
  int64_t num = (int64_t(max) - min) * v;
  int64_t q = (std::llabs(num) * 2 + 32767) / (2 * 32767);
  return int32_t(min + (num < 0 ? -q : q));
}

float RandomPeriodF(float a, float b, bool unlogged) {
  int32_t v = draw(unlogged, "[Random - getPeriodf ]:%d");
  return a + (b - a) * float(v) / 32768.0f;
}

int32_t randomSeed() { return g_seed; }
int32_t randomStateA() { return int32_t(g_stateA); }
int32_t randomStateB() { return int32_t(g_stateB); }
