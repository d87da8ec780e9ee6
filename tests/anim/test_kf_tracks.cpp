// Keyframe tracks at known times: linear, hold and eased segments with values worked out by hand,
// the time warp of unequal end slopes (including the parabola when a + b = 2), clamps, neutral
// values of empty tracks, keys stored out of order and keys sharing a time.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/kf_track.h"
#include "kf_test_util.h"

using namespace kftest;

namespace {

TEST(KfTrack, LinearHoldAndSmoothSegments) {
  std::vector<C_FloatKey> linear = {fkey(0, 0), fkey(1, 10, 0)};
  EXPECT_FLOAT_EQ(kfEvalFloat(linear, 0.5f, 0), 5.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(linear, 1.0f, 0), 10.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(linear, 7.0f, 0), 10.0f) << "after the last key";
  EXPECT_FLOAT_EQ(kfEvalFloat(linear, -3.0f, 0), 0.0f) << "before the first key";

  std::vector<C_FloatKey> hold = {fkey(0, 0), fkey(1, 10, 1)};
  EXPECT_FLOAT_EQ(kfEvalFloat(hold, 0.999f, 0), 0.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(hold, 1.0f, 0), 10.0f);

  // Smooth step 3u^2 - 2u^3 at u = 1/4: 3/16 - 2/64 = 0.15625 of the way.
  std::vector<C_FloatKey> smooth = {fkey(0, 0), fkey(1, 10, 2)};
  EXPECT_NEAR(kfEvalFloat(smooth, 0.25f, 0), 1.5625f, 1e-5);
  EXPECT_NEAR(kfEvalFloat(smooth, 0.5f, 0), 5.0f, 1e-5);
  // Over a segment of 2 s starting at 2 s: t = 2.5 is u = 1/4 again, from 4 up to 8.
  std::vector<C_FloatKey> later = {fkey(2, 4), fkey(4, 8, 7)};
  EXPECT_NEAR(kfEvalFloat(later, 2.5f, 0), 4 + 4 * 0.15625f, 1e-5);
}

TEST(KfTrack, TheFilterOfTheLaterKeyRulesItsSegment) {
  // 0 -> 10 linear, then 10 -> 20 held: the second key's filter (linear) shapes the first
  // segment, the third key's (hold) the second.
  std::vector<C_FloatKey> k = {fkey(0, 0, 1), fkey(1, 10, 0), fkey(2, 20, 1)};
  EXPECT_FLOAT_EQ(kfEvalFloat(k, 0.5f, 0), 5.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(k, 1.5f, 0), 10.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(k, 2.0f, 0), 20.0f);
}

TEST(KfTrack, TimeWarpFollowsTheEndSlopes) {
  // Slope 0 at the start and 3 at the end: the time curve is s^3, so u = 1/8 is s = 1/2.
  EXPECT_NEAR(kfWarpTime(0.125f, 3.0f, 0.0f), 0.5f, 1e-5);
  // Then the value is the smooth step at s = 1/2: half way.
  EXPECT_NEAR(kfEase(0, 10, 0.125f, {2, 3.0f, 0, 0.0f, 0}), 5.0f, 1e-4);
  // Equal slopes of 2 (or of 0.5) bend the curve symmetrically: the middle stays the middle.
  EXPECT_NEAR(kfWarpTime(0.5f, 2.0f, 2.0f), 0.5f, 1e-5);
  EXPECT_NEAR(kfWarpTime(0.5f, 0.5f, 0.5f), 0.5f, 1e-5);
  // Default slopes leave time alone.
  EXPECT_NEAR(kfWarpTime(0.3f, 1.0f, 1.0f), 0.3f, 1e-6);
}

TEST(KfTrack, SlopesSummingToTwoSolveTheParabola) {
  // a = 1.5, b = 0.5: the cubic term vanishes and 0.5 s^2 + 0.5 s = u; at u = 1/2 that is
  // s^2 + s - 1 = 0, s = (sqrt 5 - 1) / 2, the golden section.
  const float s = kfWarpTime(0.5f, 1.5f, 0.5f);
  EXPECT_NEAR(s, (std::sqrt(5.0) - 1) / 2, 1e-5);
  EXPECT_NEAR(s, 0.618f, 1e-3);
  // The value is the smooth step at that s: 3 s^2 - 2 s^3 = 0.673762 of the way.
  std::vector<C_FloatKey> k = {fkey(0, 0), fkey(1, 100, 2, 1.5f, 0, 0.5f, 0)};
  EXPECT_NEAR(kfEvalFloat(k, 0.5f, 0), 67.3762f, 1e-2);
  // The other way round (a = 0.5, b = 1.5): 1.5 s - 0.5 s^2 = 1/2 gives s = (3 - sqrt 5) / 2.
  EXPECT_NEAR(kfWarpTime(0.5f, 0.5f, 1.5f), (3 - std::sqrt(5.0)) / 2, 1e-5);
}

TEST(KfTrack, TangentsBendTheValue) {
  // From 0 to 0 with a start tangent of 4: at s = 1/2 the term (s^3 - 2 s^2 + s) m0 is 0.125 x 4.
  EXPECT_NEAR(kfEase(0, 0, 0.5f, {2, 1, 0, 1, 4}), 0.5f, 1e-5);
  // An end tangent of 4: (s^3 - s^2) m1 = -0.125 x 4.
  EXPECT_NEAR(kfEase(0, 0, 0.5f, {2, 1, 4, 1, 0}), -0.5f, 1e-5);
  // Outside the segment the ends hold whatever the tangents.
  EXPECT_FLOAT_EQ(kfEase(3, 9, -0.5f, {2, 1, 4, 1, 4}), 3.0f);
  EXPECT_FLOAT_EQ(kfEase(3, 9, 1.5f, {2, 1, 4, 1, 4}), 9.0f);
}

TEST(KfTrack, VectorsEaseEachAxisByItsOwnFilter) {
  C_VectorKey a = vkey(0, 0, 0), b = vkey(2, 10, 20);
  b.filterX.type = 0;
  b.filterY.type = 1;
  std::vector<C_VectorKey> k = {a, b};
  float x = 0, y = 0;
  kfEvalVector(k, 1.0f, x, y);
  EXPECT_FLOAT_EQ(x, 5.0f);
  EXPECT_FLOAT_EQ(y, 0.0f);
  kfEvalVector({}, 1.0f, x, y);
  EXPECT_FLOAT_EQ(x, 0.0f) << "no keys: the origin";
}

TEST(KfTrack, ColoursAreTruncatedAndWhiteWithoutKeys) {
  std::vector<C_ColorKey> k = {ckey(0, 0, 255, 10), ckey(1, 255, 0, 10)};
  int r = 0, g = 0, b = 0;
  kfEvalColour(k, 0.5f, r, g, b);
  EXPECT_EQ(r, 127) << "127.5 truncated";
  EXPECT_EQ(g, 127);
  EXPECT_EQ(b, 10);
  // A tangent pushes the curve past 255 half way: clamped.
  k[1].filterRed = {2, 1, 0, 1, 2000};
  k[1].red = 255;
  kfEvalColour(k, 0.5f, r, g, b);
  EXPECT_EQ(r, 255);
  kfEvalColour({}, 0.5f, r, g, b);
  EXPECT_EQ(r + g + b, 3 * 255);
}

TEST(KfTrack, KeysOutOfOrderAreSortedAtLoad) {
  auto o = object("late first");
  o->scale = {fkey(1, 10), fkey(0, 0)};
  auto a = animationOf(listOf(std::move(o)));
  ASSERT_EQ(a->flat.size(), 1u);
  EXPECT_FLOAT_EQ(a->flat[0]->scale[0].time, 0.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(a->flat[0]->scale, 0.5f, 1), 5.0f);
}

TEST(KfTrack, AZeroLengthSegmentTakesTheLaterValue) {
  std::vector<C_FloatKey> k = {fkey(0, 0), fkey(1, 5), fkey(1, 10), fkey(2, 20)};
  EXPECT_FLOAT_EQ(kfEvalFloat(k, 1.0f, 0), 10.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(k, 0.5f, 0), 2.5f) << "toward the first key at 1 s";
  EXPECT_FLOAT_EQ(kfEvalFloat(k, 1.5f, 0), 15.0f) << "away from the last key at 1 s";
  // Two keys only, at one time: never a division by zero, the later value from then on.
  std::vector<C_FloatKey> same = {fkey(1, 3), fkey(1, 4)};
  EXPECT_FLOAT_EQ(kfEvalFloat(same, 1.0f, 0), 4.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(same, 0.0f, 0), 3.0f);
  EXPECT_FLOAT_EQ(kfEvalFloat(same, 9.0f, 0), 4.0f);
}

}  // namespace
