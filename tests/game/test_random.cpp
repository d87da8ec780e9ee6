// Logged random numbers: known draws after a seed (worked out by hand from state * 214013 + 2531011
// and v = (state >> 16) & 0x7FFF), the two generators, large ranges and the log lines.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "base/diag.h"
#include "game/core/game_main.h"
#include "game/core/random.h"
#include "game_test_util.h"

// From seed 1 the states are 2745024, 3357800067, 415139642, 3884216597, 3403800452 and the
// draws v = 41, 18467, 6334, 26500, 19169.
TEST(Random, KnownDrawsAfterSeedOne) {
  SeedRandom(1);
  EXPECT_EQ(randomSeed(), 1);
  EXPECT_EQ(RandomInt(100), 0);  // 100 * 41 / 32768
  EXPECT_EQ(randomStateA(), 2745024);
  EXPECT_EQ(RandomInt(100), 56);                           // 1846700 / 32768
  EXPECT_EQ(randomStateA(), int32_t(3357800067u));
  EXPECT_EQ(RandomPeriod(0, 7000), 1353);                  // round(7000 * 6334 / 32767) = round(1353.13)
  EXPECT_FLOAT_EQ(RandomFloat(2.0f), 1.617431640625f);     // 2 * 26500 / 32768
  EXPECT_FLOAT_EQ(RandomPeriodF(10.0f, 20.0f), 15.84991455078125f);  // 10 + 10 * 19169 / 32768
}

TEST(Random, LargeRangesDoNotOverflow) {
  SeedRandom(1);
  EXPECT_EQ(RandomInt(1 << 30), 1343488);        // 2^30 * 41 / 2^15, beyond 32-bit products
  EXPECT_EQ(RandomInt(INT32_MAX), 1210253311);   // (2^31 - 1) * 18467 / 32768
  SeedRandom(1);
  int32_t p = RandomPeriod(INT32_MIN, INT32_MAX);  // v = 41: -2^31 + round((2^32 - 1) * 41 / 32767)
  EXPECT_EQ(p, int32_t(-2147483648LL + 5374116LL));
}

TEST(Random, UnloggedDrawsUseTheSecondGenerator) {
  SeedRandom(1);
  EXPECT_EQ(RandomInt(100, true), 0);
  EXPECT_EQ(randomStateA(), 1);  // untouched
  EXPECT_EQ(randomStateB(), 2745024);
  EXPECT_EQ(RandomInt(100), 0);  // the logged generator starts from the seed all the same
  EXPECT_EQ(randomStateA(), 2745024);
}

// Both generators start alike, so the cosmetic one tells which v the logged draw will see.
TEST(Random, PeriodsAndIntsStayInRange) {
  SeedRandom(7);
  bool sawTop = false;
  for (int i = 0; i < 200000; ++i) {
    int32_t v = RandomValue(true);
    int32_t p = RandomPeriod(0, 7000);
    ASSERT_EQ(p, int32_t(std::floor(7000.0 * v / 32767.0 + 0.5))) << "v=" << v;
    if (v >= 32765) {
      EXPECT_EQ(p, 7000);
      sawTop = true;
    }
    RandomValue(true);  // keeps the cosmetic generator in step
    int32_t n = RandomInt(3);
    ASSERT_GE(n, 0);
    ASSERT_LT(n, 3);
  }
  EXPECT_TRUE(sawTop);
  // A reversed period counts down from min.
  SeedRandom(1);
  EXPECT_EQ(RandomPeriod(100, 0), 100);  // v = 41: 100 - round(100 * 41 / 32767) = 100 - 0
}

TEST(Random, LogLinesCarryTheGameClock) {
  ASSERT_TRUE(gameLogOpen("random_log.txt"));
  SeedRandom(5);
  EXPECT_EQ(gameClock(), 0);
  gameSetClock(25);
  RandomInt(10);
  gameSetClock(50);
  RandomFloat(1.0f);
  RandomPeriod(1, 2);
  RandomPeriodF(1.0f, 2.0f);
  RandomInt(10, true);  // writes nothing
  gameLogClose();
  EXPECT_EQ(gametest::readFile("random_log.txt"),
            "[Random]:Init 5\n[Random - get ]:25\n[Random - getf ]:50\n[Random - getPeriod ]:50\n"
            "[Random - getPeriodf ]:50\n");
  gameSetClock(0);
}
