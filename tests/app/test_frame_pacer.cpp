// The frame cap: how long the loop sleeps after each frame, and the rate that results.
#include <gtest/gtest.h>

#include "app/frame_pacer.h"

TEST(FramePacer, PeriodFollowsVsyncRefreshAndCap) {
  EXPECT_NEAR(FramePacer::PeriodMs(false, 60, 60), 16.667f, 0.001f);
  EXPECT_NEAR(FramePacer::PeriodMs(false, 144, 30), 33.333f, 0.001f) << "without vsync the cap rules";
  EXPECT_EQ(FramePacer::PeriodMs(false, 60, 0), 0.0f) << "0 lifts the cap";
  // With vsync only a guard a tenth above the display's rate: 66 for 60 Hz, 158.4 for 144 Hz.
  EXPECT_NEAR(FramePacer::PeriodMs(true, 60, 60), 15.152f, 0.001f);
  EXPECT_NEAR(FramePacer::PeriodMs(true, 144, 60), 6.313f, 0.001f);
  EXPECT_NEAR(FramePacer::PeriodMs(true, 0, 60), 15.152f, 0.001f) << "rate unknown: the cap's";
  EXPECT_EQ(FramePacer::PeriodMs(true, 60, 0), 0.0f);
}

TEST(FramePacer, SleepsOutTheRestOfEachPeriodAndForgetsStalls) {
  FramePacer p;
  const float period = 1000.0f / 60.0f;
  EXPECT_EQ(p.Next(1000, period), 0u) << "the first frame sets the schedule";
  EXPECT_EQ(p.Next(1005, period), 12u) << "due at 1016.67";
  // A little late (1040 against 1033.33): no sleep, and the schedule keeps its beat (1050).
  EXPECT_EQ(p.Next(1040, period), 0u);
  EXPECT_EQ(p.Next(1045, period), 5u);
  // A stall of 150 ms is not made up by a burst: the next frame waits a whole period again.
  EXPECT_EQ(p.Next(1200, period), 0u);
  EXPECT_EQ(p.Next(1201, period), 16u);
  // No cap: never a sleep.
  EXPECT_EQ(p.Next(1202, 0.0f), 0u);
}

TEST(FramePacer, ShortFramesRunAtTheCappedRate) {
  for (int fps : {30, 60, 100}) {
    FramePacer p;
    const float period = FramePacer::PeriodMs(false, 0, fps);
    uint32_t t = 0;
    int frames = 0;
    while (t < 1000) {
      t += 2;  // the frame's own work
      ++frames;
      t += p.Next(t, period);
    }
    EXPECT_NEAR(frames, fps, 1) << fps << " frames a second";
  }
}

TEST(FramePacer, SlowFramesAreNeverDelayed) {
  FramePacer p;
  const float period = 1000.0f / 60.0f;
  uint32_t t = 0;
  for (int i = 0; i < 50; ++i) {
    t += 25;  // slower than the cap
    EXPECT_EQ(p.Next(t, period), 0u) << "frame " << i;
  }
}
