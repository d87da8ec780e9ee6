// Frames of sprites on the null renderer: cutting pictures (exact textures, atlas pieces) into
// equal-height frames with rounding, the frame row chosen for a frame number, and frame counts or
// steps of zero.
#include <gtest/gtest.h>

#include <climits>

#include "test_sprite_util.h"

namespace {

using sprtest::Base;
using sprtest::RowsCovered;
using sprtest::TexelAt;

class SpriteFrames : public ::testing::Test {
 protected:
  void SetUp() override { sprtest::EnsureRenderer(); }
  // A picture whose rows are coloured by band: green = 40 x (y / band).
  static CSprite* Banded(const char* name, int w, int h, int band) {
    sprtest::WritePng(name, w, h, [band](int, int y) { return 0xFF000000u | uint32_t(40 * (y / band)) << 8; });
    return sprGet(name);
  }
  static uint32_t Band(int k) { return 0xFF000000u | uint32_t(40 * k) << 8; }
};

TEST_F(SpriteFrames, EqualFramesOfAnExactTextureAndTheRowOfAFrameNumber) {
  CSprite* s = Banded("frames/even.png", 64, 256, 64);
  ASSERT_NE(s, nullptr);
  sprSetAnimation(s, 4, 4);
  CBaseSprite* b = Base(s);
  ASSERT_EQ(b->Rows(), 4);
  EXPECT_EQ(sprWidth(s), 64);
  EXPECT_EQ(sprHeight(s), 64);
  EXPECT_EQ(b->pictureHeight, 256);
  EXPECT_EQ(b->FrameRow(5), 1);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(TexelAt(s, k, 10, 0), Band(k)) << "top of frame " << k;
    EXPECT_EQ(TexelAt(s, k, 10, 63), Band(k)) << "bottom of frame " << k;
    EXPECT_EQ(RowsCovered(s, k), 64);
  }
  // Time 8 over 4 rows shows every row twice; negative numbers count by their size.
  b->SetAnimation(8, 4);
  const int want[8] = {0, 0, 1, 1, 2, 2, 3, 3};
  for (int f = 0; f < 8; ++f) {
    EXPECT_EQ(b->FrameRow(f), want[f]) << f;
    EXPECT_EQ(b->FrameRow(-f), want[f]) << -f;
    EXPECT_EQ(b->FrameRow(f + 8), want[f]);
  }
  EXPECT_EQ(b->FrameRow(INT_MIN), 0) << "2^31 mod 8 = 0";
  sprRelease(s);
}

TEST_F(SpriteFrames, FrameHeightRoundsHalvesToEvenAndLeavesSpareRowsOut) {
  CSprite* a = Banded("frames/h254.png", 64, 254, 64);
  sprSetAnimation(a, 4, 4);
  EXPECT_EQ(sprHeight(a), 64) << "63.5 goes to the even neighbour";
  EXPECT_EQ(RowsCovered(a, 3), 62) << "the fourth frame covers picture rows 192 to 253";
  EXPECT_EQ(TexelAt(a, 3, 0, 61), Band(3));
  CSprite* b = Banded("frames/h250.png", 64, 250, 62);
  sprSetAnimation(b, 4, 4);
  EXPECT_EQ(sprHeight(b), 62);
  int covered = 0;
  for (int k = 0; k < 4; ++k) covered += RowsCovered(b, k);
  EXPECT_EQ(covered, 248) << "the last two picture rows belong to no frame";
  EXPECT_EQ(TexelAt(b, 3, 0, 61), Band(3));
  // Ten rows in four frames: 2.5 rounds to 2, the even neighbour.
  CSprite* c = Banded("frames/h10.png", 8, 10, 100);
  sprSetAnimation(c, 4, 4);
  EXPECT_EQ(sprHeight(c), 2);
  sprSetAnimation(c, 2, 2);
  EXPECT_EQ(sprHeight(c), 5) << "cut again from the whole picture";
  EXPECT_EQ(RowsCovered(c, 1), 5);
  sprRelease(a);
  sprRelease(b);
  sprRelease(c);
}

TEST_F(SpriteFrames, AtlasPiecesAreCutAtFrameBands) {
  // 600 wide: two atlas pieces side by side, each cut into three frames.
  const int pages = txLibraryCount();
  CSprite* s = Banded("frames/wide.png", 600, 90, 30);
  ASSERT_NE(s, nullptr);
  sprSetAnimation(s, 3, 3);
  CBaseSprite* b = Base(s);
  ASSERT_EQ(b->Rows(), 3);
  for (int k = 0; k < 3; ++k) {
    ASSERT_EQ(b->frames[size_t(k)].size(), 2u) << k;
    EXPECT_EQ(b->frames[size_t(k)][1].x, 510);
    EXPECT_EQ(b->frames[size_t(k)][0].y, 0) << "positions are relative to the frame";
    EXPECT_EQ(TexelAt(s, k, 5, 29), Band(k));
    EXPECT_EQ(TexelAt(s, k, 590, 0), Band(k));
  }
  // Releasing gives back every atlas page it took, split or not.
  sprRelease(s);
  EXPECT_EQ(txLibraryCount(), pages);
}

TEST_F(SpriteFrames, ZeroFramesOrStepsDivideNothing) {
  CSprite* s = Banded("frames/zero.png", 16, 32, 8);
  CBaseSprite* b = Base(s);
  sprSetAnimation(s, 4, 0);
  EXPECT_EQ(b->Rows(), 1) << "no frame count: the picture stays one frame";
  EXPECT_EQ(sprHeight(s), 32);
  EXPECT_EQ(b->FrameRow(3), 0);
  sprSetAnimation(s, 0, 4);
  EXPECT_EQ(b->Rows(), 4);
  for (int f : {0, 1, 7, -9}) EXPECT_EQ(b->FrameRow(f), 0) << "no steps: always the first row";
  sprSetAnimation(s, 4, -3);
  EXPECT_EQ(b->Rows(), 4) << "a count below 1 leaves the frames as they were";
  EXPECT_EQ(sprHeight(s), 8);
  // More frames than picture rows: one row each, the rest empty, nothing divides by zero.
  sprSetAnimation(s, 64, 64);
  EXPECT_EQ(sprHeight(s), 1);
  EXPECT_EQ(b->Rows(), 64);
  EXPECT_TRUE(b->frames[40].empty());
  EXPECT_EQ(b->FrameRow(63), 63);
  std::vector<SpriteQuad> quads;
  EXPECT_TRUE(sprBuildQuads(b, 0, 0, 16, 1, 0, 0, 16, 1, nullptr, nullptr, 40, quads));
  EXPECT_TRUE(quads.empty()) << "an empty frame row draws nothing";
  sprRelease(s);
}

}  // namespace
