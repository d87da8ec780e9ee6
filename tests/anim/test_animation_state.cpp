// AnimationState play: the rows shown while looping, holding and reversing, frame and time
// conversions, and frame counts or periods of zero that must not divide by zero.
#include <gtest/gtest.h>

#include <vector>

#include "anim/anim_catalogue.h"
#include "anim_test_util.h"
#include "files/name_hash.h"

using namespace animtest;
using Core::animManager;

namespace {

// A playing copy of one animation described by its XML attributes.
AnimationState Make(const std::string& attributes) {
  writeText("data/state.xml", "<a><Animation id=\"t\" " + attributes + "/></a>");
  EXPECT_TRUE(animManager().LoadAnimationCatalogue("data/state.xml"));
  AnimationState s = animManager().GetAnimation("t");
  EXPECT_TRUE(s.IsValid());
  return s;
}

// The row after each of `steps` advances of 25 ms, and the steps at which an end was reported.
std::vector<int> Rows(AnimationState& s, int steps, std::vector<int>* ends = nullptr) {
  std::vector<int> rows;
  for (int i = 1; i <= steps; ++i) {
    if (s.Advance(25) && ends) ends->push_back(i);
    rows.push_back(s.CurrentRow());
  }
  return rows;
}

TEST(AnimationState, FreshStateIsStoppedLoopingCentredWithOneFrame) {
  AnimationState s;
  EXPECT_FALSE(s.IsValid());
  EXPECT_TRUE(s.IsStopped());
  EXPECT_EQ(s.Flags(), AnimationState::kLoop | AnimationState::kCentred);
  EXPECT_EQ(s.Period(), 1000);
  EXPECT_EQ(s.FrameCount(), 1);
  EXPECT_FALSE(s.Advance(5000)) << "stopped until started";
}

TEST(AnimationState, LoopingShowsEachRowForItsShareAndRestarts) {
  AnimationState s = Make("period=\"800\" frames=\"4\" isLoop=\"1\"");
  s.Start();
  EXPECT_EQ(s.CurrentRow(), 0);
  std::vector<int> ends;
  const std::vector<int> rows = Rows(s, 64, &ends);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(rows[size_t(i)], (i + 1) / 8) << "step " << i + 1;
  EXPECT_EQ(rows[31], 0) << "back to the first row after 800 ms";
  EXPECT_EQ(ends, (std::vector<int>{32, 64}));
  EXPECT_FALSE(s.IsStopped());
  EXPECT_EQ(s.Time(), 0);
}

TEST(AnimationState, WithoutLoopItStopsOnTheLastRowOnlyWhenHolding) {
  AnimationState hold = Make("period=\"800\" frames=\"4\" StickOnEnd=\"1\"");
  hold.Start();
  std::vector<int> ends;
  auto rows = Rows(hold, 40, &ends);
  EXPECT_EQ(ends, std::vector<int>{32});
  EXPECT_TRUE(hold.IsStopped());
  EXPECT_EQ(rows[31], 3);
  EXPECT_EQ(rows[39], 3);

  AnimationState plain = Make("period=\"800\" frames=\"4\"");
  plain.Start();
  rows = Rows(plain, 40);
  EXPECT_EQ(rows[30], 3);
  EXPECT_EQ(rows[31], 0);
  EXPECT_TRUE(plain.IsStopped());

  // Turning hold on afterwards moves the timer flag with it.
  plain.SetFlag(AnimationState::kHoldOnEnd, true);
  EXPECT_TRUE(plain.Timer().Has(PeriodTimer::kHoldAtEnd));
  EXPECT_EQ(plain.CurrentRow(), 3);
  plain.SetFlag(AnimationState::kHoldOnEnd, false);
  EXPECT_FALSE(plain.Timer().Has(PeriodTimer::kHoldAtEnd));
}

TEST(AnimationState, ReverseRunsTheRowsFromLastToFirst) {
  AnimationState s = Make("period=\"800\" frames=\"4\" isLoop=\"1\" isReverse=\"1\"");
  s.Start();
  EXPECT_EQ(s.CurrentRow(), 3);
  const auto rows = Rows(s, 32);
  std::vector<int> order;
  for (int r : rows)
    if (order.empty() || order.back() != r) order.push_back(r);
  EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 0, 3}));
  s.Stop();
  EXPECT_EQ(s.CurrentRow(), 0) << "a stopped reversed animation rests on its first row";
}

TEST(AnimationState, BackwardsTimerStartsFromTheEnd) {
  AnimationState s = Make("period=\"400\" frames=\"4\" isLoop=\"1\"");
  s.Timer().Set(PeriodTimer::kBackwards, true);
  s.Start(100);
  EXPECT_EQ(s.Time(), 300);
  EXPECT_EQ(s.CurrentRow(), 3);
  EXPECT_FALSE(s.Advance(250));
  EXPECT_TRUE(s.Advance(50));
  EXPECT_EQ(s.Time(), 400) << "a looping backwards timer restarts at its period";
  EXPECT_FALSE(s.IsStopped());
  s.SetPeriod(200);
  EXPECT_EQ(s.Time(), 200);
}

TEST(AnimationState, FramesAndTimesConvertBothWays) {
  AnimationState s = Make("period=\"1000\" frames=\"3\"");
  EXPECT_EQ(s.TimeOfFrame(0), 0);
  EXPECT_EQ(s.TimeOfFrame(1), 334) << "rounded up so the time lies inside the frame";
  EXPECT_EQ(s.TimeOfFrame(2), 667);
  EXPECT_EQ(s.TimeOfFrame(3), 1000);
  EXPECT_EQ(s.FrameOfTime(333), 0);
  EXPECT_EQ(s.FrameOfTime(334), 1);
  EXPECT_EQ(s.FrameOfTime(1000), 0) << "a whole period is the next cycle's first frame";
  EXPECT_EQ(s.FrameOfTime(-1), 2) << "times before 0 wrap into the period";
  EXPECT_EQ(s.RowOfFrameTime(s.TimeOfFrame(2)), 2);
  s.SetFlag(AnimationState::kHoldOnEnd, true);
  EXPECT_EQ(s.TimeOfFrame(3), 999);
  EXPECT_EQ(s.FrameOfTime(1000), 3);
  EXPECT_EQ(s.RowOfFrameTime(s.TimeOfFrame(3)), 2) << "the end shows the last row";
  EXPECT_EQ(s.RowOfFrameTime(5000), 2);
  EXPECT_EQ(s.RowOfFrameTime(-50), 0);

  // Drawing frame i shows row i for any period at least as long as the frame count.
  AnimationState any;
  for (int frames : {1, 2, 3, 7, 13, 127})
    for (int period : {127, 200, 999, 1000, 1001, 2400}) {
      any.SetFrameCount(frames);
      any.SetPeriod(period);
      for (int i = 0; i < frames; ++i)
        ASSERT_EQ(any.RowOfFrameTime(any.TimeOfFrame(i)), i) << frames << " frames over " << period << " ms";
    }
}

TEST(AnimationState, ZeroFramesAndZeroPeriodsNeverDivideByZero) {
  for (const char* frames : {"0", "128", "256"}) {
    AnimationState s = Make(std::string("period=\"500\" frames=\"") + frames + "\"");
    EXPECT_EQ(s.FrameCount(), 1) << frames;
    EXPECT_EQ(s.TimeOfFrame(1), 500);
    EXPECT_EQ(s.FrameOfTime(499), 0);
    s.Start(250);
    EXPECT_EQ(s.CurrentRow(), 0);
  }
  AnimationState big = Make("frames=\"129\"");
  EXPECT_EQ(big.FrameCount(), 1);
  AnimationState most = Make("frames=\"127\"");
  EXPECT_EQ(most.FrameCount(), 127);

  AnimationState s = Make("period=\"800\" frames=\"4\" isLoop=\"1\"");
  s.SetPeriod(0);
  EXPECT_EQ(s.Period(), 1);
  s.SetFrameCount(0);
  EXPECT_EQ(s.FrameCount(), 1);
  s.Start();
  EXPECT_TRUE(s.Advance(25));
  EXPECT_EQ(s.CurrentRow(), 0);
  EXPECT_EQ(s.FrameOfTime(7), 0);

  // A timer set to 0 by hand behind the state's back is still a safe divisor.
  s.Timer().SetPeriod(0);
  EXPECT_EQ(s.TimeOfFrame(1), 1);
  EXPECT_EQ(s.FrameOfTime(5), 0);
  EXPECT_EQ(s.CurrentRow(), 0);
  animManager().Clear();
}

}  // namespace
