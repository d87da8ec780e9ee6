// Period timers and value ramps: wrapping, running backwards, holding at the end, pausing, the
// three ramp forms, and zero periods that must neither divide by zero nor spread NaN.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/period_timer.h"
#include "anim/value_ramp.h"

TEST(PeriodTimer, ForwardEndsOnceAndReturnsToStartOrHolds) {
  PeriodTimer t(100, 0);
  EXPECT_FALSE(t.Advance(60));
  EXPECT_EQ(t.Time(), 60);
  EXPECT_TRUE(t.Advance(40));
  EXPECT_TRUE(t.IsStopped());
  EXPECT_EQ(t.Time(), 0);
  EXPECT_FALSE(t.Advance(10)) << "a stopped timer does not move";
  EXPECT_EQ(t.Time(), 0);

  PeriodTimer h(100, PeriodTimer::kHoldAtEnd);
  EXPECT_TRUE(h.Advance(130));
  EXPECT_TRUE(h.IsStopped());
  EXPECT_EQ(h.Time(), 100);
}

TEST(PeriodTimer, WrapKeepsRunningAndKeepsTheRemainder) {
  PeriodTimer t(100, PeriodTimer::kWrap);
  EXPECT_FALSE(t.Advance(90));
  EXPECT_TRUE(t.Advance(25));
  EXPECT_FALSE(t.IsStopped());
  EXPECT_EQ(t.Time(), 15);
  EXPECT_TRUE(t.Advance(1000)) << "a step of many periods still lands inside one";
  EXPECT_EQ(t.Time(), 15);
}

TEST(PeriodTimer, BackwardsCountsDownAndWrapsOrStops) {
  PeriodTimer t(100, PeriodTimer::kBackwards);
  t.Restart();
  EXPECT_EQ(t.Time(), 100);
  EXPECT_FALSE(t.Advance(99));
  EXPECT_EQ(t.Time(), 1);
  EXPECT_TRUE(t.Advance(1));
  EXPECT_TRUE(t.IsStopped());
  EXPECT_EQ(t.Time(), 100) << "without hold a stopped backwards timer returns to its start";

  PeriodTimer h(100, PeriodTimer::kBackwards | PeriodTimer::kHoldAtEnd);
  h.Restart();
  EXPECT_TRUE(h.Advance(150));
  EXPECT_EQ(h.Time(), 0);

  PeriodTimer w(100, PeriodTimer::kBackwards | PeriodTimer::kWrap);
  w.Restart();
  EXPECT_TRUE(w.Advance(130));
  EXPECT_FALSE(w.IsStopped());
  EXPECT_EQ(w.Time(), 70);
  EXPECT_TRUE(w.Advance(70));
  EXPECT_EQ(w.Time(), 100);
}

TEST(PeriodTimer, PausedTimerHoldsItsTimeUntilResumed) {
  PeriodTimer t(100, 0);
  t.Advance(30);
  t.Pause(true);
  EXPECT_FALSE(t.Advance(500));
  EXPECT_EQ(t.Time(), 30);
  t.Pause(false);
  EXPECT_TRUE(t.Advance(70));
}

TEST(PeriodTimer, ZeroAndNegativePeriodsEndAtOnceWithoutDividing) {
  PeriodTimer t(0, PeriodTimer::kWrap);
  EXPECT_TRUE(t.Advance(25));
  EXPECT_EQ(t.Time(), 0);
  EXPECT_FALSE(t.IsStopped());
  EXPECT_EQ(t.Fraction(), 0.0f);
  PeriodTimer b(-50, PeriodTimer::kWrap | PeriodTimer::kBackwards);
  EXPECT_EQ(b.Period(), 0);
  b.Restart();
  EXPECT_TRUE(b.Advance(10));
  EXPECT_EQ(b.Time(), 0);
}

TEST(ValueRamp, OneShotReachesItsTargetExactlyAndStops) {
  ValueRamp r;
  r.Set(200, 10.0f, 30.0f);
  EXPECT_FLOAT_EQ(r.Value(), 10.0f);
  EXPECT_FALSE(r.Advance(100));
  EXPECT_FLOAT_EQ(r.Value(), 20.0f);
  EXPECT_TRUE(r.Advance(150));
  EXPECT_FLOAT_EQ(r.Value(), 30.0f) << "no overshoot past the target";
  EXPECT_TRUE(r.IsStopped());
  EXPECT_FALSE(r.Advance(100));
  EXPECT_FLOAT_EQ(r.Value(), 30.0f);
}

TEST(ValueRamp, NegativePeriodSwapsTheEnds) {
  ValueRamp r;
  r.Set(-100, 0.0f, 1.0f);
  EXPECT_EQ(r.timer.Period(), 100);
  EXPECT_FLOAT_EQ(r.Value(), 1.0f);
  r.Advance(50);
  EXPECT_FLOAT_EQ(r.Value(), 0.5f);
  r.Advance(50);
  EXPECT_FLOAT_EQ(r.Value(), 0.0f);
}

TEST(ValueRamp, RepeatReturnsToTheStartAndPauseFreezesTheValue) {
  ValueRamp r;
  r.Set(100, 0.0f, 1.0f, ValueRamp::Form::Repeat);
  r.Advance(75);
  EXPECT_TRUE(r.Advance(25));
  EXPECT_FALSE(r.IsStopped());
  EXPECT_FLOAT_EQ(r.Value(), 0.0f);
  r.Advance(40);
  r.timer.Pause(true);
  EXPECT_FALSE(r.Advance(40));
  EXPECT_FLOAT_EQ(r.Value(), 0.4f);

  // With a wrapping timer the value keeps the part of the step past the end.
  ValueRamp w;
  w.timer.Set(PeriodTimer::kWrap, true);
  w.Set(100, 0.0f, 1.0f, ValueRamp::Form::Repeat);
  EXPECT_TRUE(w.Advance(130));
  EXPECT_NEAR(w.Value(), 0.3f, 1e-5);
}

TEST(ValueRamp, WaveRunsOverSixPointTwoEightAndScalesTheSine) {
  ValueRamp r;
  r.SetWave(628, 3.0f);
  EXPECT_FLOAT_EQ(r.WaveValue(), 0.0f);
  r.Advance(157);  // a quarter of the way: value 1.57
  EXPECT_NEAR(r.Value(), 1.57f, 1e-4);
  EXPECT_NEAR(r.WaveValue(), 3.0f * std::sin(1.57f), 1e-4);
  r.Advance(471);
  EXPECT_FALSE(r.IsStopped()) << "a wave never stops by itself";
  EXPECT_FLOAT_EQ(r.Value(), 0.0f);
}

TEST(ValueRamp, ZeroPeriodJumpsToTheTargetAndNeverMakesNaN) {
  ValueRamp r;
  r.Set(0, 5.0f, 9.0f);
  EXPECT_FLOAT_EQ(r.step, 0.0f);
  EXPECT_FLOAT_EQ(r.Value(), 5.0f);
  EXPECT_TRUE(r.Advance(25));
  EXPECT_FLOAT_EQ(r.Value(), 9.0f);

  ValueRamp rep;
  rep.Set(0, 1.0f, 2.0f, ValueRamp::Form::Repeat);
  for (int i = 0; i < 10; ++i) rep.Advance(25);
  EXPECT_FALSE(std::isnan(rep.Value()));
  EXPECT_FLOAT_EQ(rep.Value(), 1.0f);

  ValueRamp wave;
  wave.SetWave(0, 2.0f);
  for (int i = 0; i < 10; ++i) wave.Advance(25);
  EXPECT_FALSE(std::isnan(wave.WaveValue()));
}
