// Geometry of sprite drawing without a screen: source rectangles, mirroring by negative sizes,
// tiles clipped at atlas piece edges, corner colours mixed bilinearly, free quads, automatic mode.
#include <gtest/gtest.h>

#include "test_sprite_util.h"

namespace {

using sprtest::Base;

class SpriteDraw : public ::testing::Test {
 protected:
  void SetUp() override { sprtest::EnsureRenderer(); }
  static CBaseSprite* Make(const char* name, int w, int h, bool alpha = true) {
    if (alpha) sprtest::WritePng(name, w, h, [](int, int) { return 0xFF808080u; });
    else sprtest::WritePng24(name, w, h, [](int, int) { return 0xFF808080u; });
    return Base(sprGet(name));
  }
  std::vector<SpriteQuad> q;
};

TEST_F(SpriteDraw, SourceRectangleMustLieInsideTheFrame) {
  CBaseSprite* s = Make("draw/strip.png", 64, 20);
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(sprBuildQuads(s, 0, 0, 60, 20, 10, 0, 60, 20, nullptr, nullptr, 0, q)) << "10 + 60 > 64";
  EXPECT_TRUE(q.empty());
  EXPECT_FALSE(sprBuildQuads(s, 0, 0, 60, 20, -1, 0, 60, 20, nullptr, nullptr, 0, q));
  EXPECT_FALSE(sprBuildQuads(s, 0, 0, 60, 20, 0, 1, 60, 20, nullptr, nullptr, 0, q));
  EXPECT_FALSE(sprBuildQuads(s, 0, 0, 0, 20, 0, 0, 60, 20, nullptr, nullptr, 0, q)) << "no width";
  EXPECT_FALSE(sprBuildQuads(s, 0, 0, 60, 20, 0, 0, 0, 20, nullptr, nullptr, 0, q)) << "no source width";
  EXPECT_FALSE(sprBuildQuads(nullptr, 0, 0, 60, 20, 0, 0, 60, 20, nullptr, nullptr, 0, q));
  EXPECT_TRUE(sprBuildQuads(s, 0, 0, 60, 20, 4, 0, 60, 20, nullptr, nullptr, 0, q));
  EXPECT_EQ(q.size(), 1u);
  sprRelease(s);
}

TEST_F(SpriteDraw, NegativeSizesMirrorInsideTheRectangle) {
  CBaseSprite* s = Make("draw/sq.png", 32, 32);  // an exact texture: texels 0..32 are u 0..1
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(sprBuildQuads(s, 100, 50, 64, 32, 0, 0, 32, 32, nullptr, nullptr, 0, q));
  ASSERT_EQ(q.size(), 1u);
  EXPECT_FLOAT_EQ(q[0].v[0].x, 100);
  EXPECT_FLOAT_EQ(q[0].v[0].u, 0);
  EXPECT_FLOAT_EQ(q[0].v[3].x, 164);
  EXPECT_FLOAT_EQ(q[0].v[3].y, 82);
  EXPECT_FLOAT_EQ(q[0].v[3].u, 1);
  ASSERT_TRUE(sprBuildQuads(s, 100, 50, -64, 32, 0, 0, 32, 32, nullptr, nullptr, 0, q));
  EXPECT_FLOAT_EQ(q[0].v[0].x, 100) << "still inside x .. x + 64";
  EXPECT_FLOAT_EQ(q[0].v[0].u, 1) << "the right edge of the picture on the left";
  EXPECT_FLOAT_EQ(q[0].v[1].x, 164);
  EXPECT_FLOAT_EQ(q[0].v[1].u, 0);
  ASSERT_TRUE(sprBuildQuads(s, 100, 50, 64, -32, 0, 0, 32, 32, nullptr, nullptr, 0, q));
  EXPECT_FLOAT_EQ(q[0].v[0].y, 50);
  EXPECT_FLOAT_EQ(q[0].v[0].v, 1);
  EXPECT_FLOAT_EQ(q[0].v[2].y, 82);
  EXPECT_FLOAT_EQ(q[0].v[2].v, 0);
  // A source part: columns 8 .. 24 stretched over 32 pixels.
  ASSERT_TRUE(sprBuildQuads(s, 0, 0, 32, 32, 8, 0, 16, 32, nullptr, nullptr, 0, q));
  EXPECT_FLOAT_EQ(q[0].v[0].u, 0.25f);
  EXPECT_FLOAT_EQ(q[0].v[1].u, 0.75f);
  EXPECT_FLOAT_EQ(q[0].v[1].x, 32);
  sprRelease(s);
}

TEST_F(SpriteDraw, TilesAreClippedAtPieceEdgesAndCornerColoursMixed) {
  CBaseSprite* s = Make("draw/wide.png", 600, 40);  // atlas pieces of 510 and 90 columns
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->frames[0].size(), 2u);
  // Source 500 .. 520 doubled: two quads meeting at screen x 20.
  ASSERT_TRUE(sprBuildQuads(s, 0, 0, 40, 40, 500, 0, 20, 40, nullptr, nullptr, 0, q));
  ASSERT_EQ(q.size(), 2u);
  EXPECT_FLOAT_EQ(q[0].v[0].x, 0);
  EXPECT_FLOAT_EQ(q[0].v[1].x, 20);
  EXPECT_FLOAT_EQ(q[1].v[0].x, 20);
  EXPECT_FLOAT_EQ(q[1].v[1].x, 40);
  const SpriteTile& t0 = s->frames[0][0];
  EXPECT_FLOAT_EQ(q[0].v[0].u * t0.texture->width, t0.left + 500);
  EXPECT_FLOAT_EQ(q[0].v[1].u * t0.texture->width, t0.right);
  const SpriteTile& t1 = s->frames[0][1];
  EXPECT_FLOAT_EQ(q[1].v[0].u * t1.texture->width, t1.left);
  EXPECT_FLOAT_EQ(q[1].v[1].u * t1.texture->width, t1.left + 10);
  // Corner colours: top-left red, top-right blue, bottom-right green, bottom-left white.
  const uint32_t c[4] = {0xFFFF0000u, 0xFF0000FFu, 0xFF00FF00u, 0xFFFFFFFFu};
  const uint32_t added[4] = {0, 0, 0x00100000u, 0};
  ASSERT_TRUE(sprBuildQuads(s, 0, 0, 600, 40, 0, 0, 600, 40, c, added, 0, q));
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q[0].v[0].diffuse, c[0]);
  EXPECT_EQ(q[1].v[1].diffuse, c[1]);
  EXPECT_EQ(q[1].v[3].diffuse, c[2]);
  EXPECT_EQ(q[0].v[2].diffuse, c[3]);
  EXPECT_EQ(q[1].v[3].specular, 0x00100000u);
  // At x = 510 the weight is 256 / 600 x 510 = 217.6, rounded 218: red 255 x 38 / 256, blue 255 x 218 / 256.
  const uint32_t cut = q[0].v[1].diffuse;
  EXPECT_EQ(cut, 0xFF2500D9u) << std::hex << cut;
  EXPECT_EQ(q[1].v[0].diffuse, cut);
  // One colour everywhere is passed through untouched.
  const uint32_t one[4] = {0x80112233u, 0x80112233u, 0x80112233u, 0x80112233u};
  ASSERT_TRUE(sprBuildQuads(s, 0, 0, 600, 40, 0, 0, 600, 40, one, nullptr, 0, q));
  for (const SpriteQuad& quad : q)
    for (const GpuVertex& v : quad.v) EXPECT_EQ(v.diffuse, 0x80112233u);
  sprRelease(s);
}

TEST_F(SpriteDraw, FrameNumberPicksTheRowsTexels) {
  CBaseSprite* s = Make("draw/anim.png", 64, 256);
  ASSERT_NE(s, nullptr);
  s->SetAnimation(4, 4);
  ASSERT_TRUE(sprBuildQuads(s, 0, 0, 64, 64, 0, 0, 64, 64, nullptr, nullptr, 5, q));
  ASSERT_EQ(q.size(), 1u);
  EXPECT_FLOAT_EQ(q[0].v[0].v, 0.25f) << "frame 5 of 4 steps is row 1";
  EXPECT_FLOAT_EQ(q[0].v[2].v, 0.5f);
  EXPECT_FALSE(sprBuildQuads(s, 0, 0, 64, 65, 0, 0, 64, 65, nullptr, nullptr, 0, q)) << "taller than a frame";
  sprRelease(s);
}

TEST_F(SpriteDraw, FreeQuadsMoveCutCornersAlongTheEdges) {
  CBaseSprite* s = Make("draw/quad.png", 600, 40);
  ASSERT_NE(s, nullptr);
  // Turned a quarter: the top edge of the picture runs down the screen.
  const float xy[8] = {100, 100, 100, 700, 60, 700, 60, 100};
  const float src[8] = {0, 0, 600, 0, 600, 40, 0, 40};
  const uint32_t c[4] = {0xFF000000u, 0xFFFF0000u, 0xFFFF0000u, 0xFF000000u};
  ASSERT_TRUE(sprBuildQuadsOnQuad(s, xy, src, c, nullptr, 0, q));
  ASSERT_EQ(q.size(), 2u);
  EXPECT_FLOAT_EQ(q[0].v[0].x, 100);
  EXPECT_FLOAT_EQ(q[0].v[0].y, 100);
  EXPECT_FLOAT_EQ(q[0].v[1].y, 100 + 510) << "the cut at column 510 lands 510 / 600 along the edge";
  EXPECT_FLOAT_EQ(q[0].v[3].x, 60);
  EXPECT_FLOAT_EQ(q[1].v[1].y, 700);
  EXPECT_EQ((q[0].v[1].diffuse >> 16) & 255, 217u) << "colour mixed in the same proportion (218 / 256)";
  // Source points that are not an axis-aligned rectangle, or leave the frame, draw nothing.
  const float skew[8] = {0, 0, 600, 1, 600, 40, 0, 40};
  EXPECT_FALSE(sprBuildQuadsOnQuad(s, xy, skew, c, nullptr, 0, q));
  const float outside[8] = {0, 0, 601, 0, 601, 40, 0, 40};
  EXPECT_FALSE(sprBuildQuadsOnQuad(s, xy, outside, c, nullptr, 0, q));
  // A source given right to left shows the picture mirrored on the same quad.
  const float reversed[8] = {600, 0, 0, 0, 0, 40, 600, 40};
  ASSERT_TRUE(sprBuildQuadsOnQuad(s, xy, reversed, nullptr, nullptr, 0, q));
  ASSERT_EQ(q.size(), 2u);
  EXPECT_FLOAT_EQ(q[0].v[0].y, 700) << "column 0 now at the far end";
  EXPECT_FLOAT_EQ(q[1].v[1].y, 100);
  sprRelease(s);
}

TEST_F(SpriteDraw, AutomaticModeFollowsTheTexture) {
  CBaseSprite* rgba = Make("draw/auto32.png", 16, 16, true);
  CBaseSprite* rgb = Make("draw/auto24.png", 16, 16, false);
  ASSERT_NE(rgba, nullptr);
  ASSERT_NE(rgb, nullptr);
  uint8_t mask = 3;
  EXPECT_EQ(sprResolveMode(rgba, kModeAuto, mask), kModeTextureAlpha);
  EXPECT_EQ(mask, 15);
  EXPECT_EQ(sprResolveMode(rgb, kModeAuto, mask), grModeWord(1, 2, 1, 6, 5));
  mask = 7;
  EXPECT_EQ(sprResolveMode(rgb, kModeTintFade, mask), kModeTintFade);
  EXPECT_EQ(mask, 7) << "other modes pass unchanged";
  // The first two bytes alone do not make the automatic mode: a caller's additive blend, or
  // another stage-1 byte, stays as asked.
  const uint32_t additive = grModeWord(1, 0, 1, 2, 5);
  EXPECT_EQ(sprResolveMode(rgba, additive, mask), additive);
  const uint32_t stage1 = grModeWord(1, 0, 4, 6, 5);
  EXPECT_EQ(sprResolveMode(rgba, stage1, mask), stage1);
  EXPECT_EQ(mask, 7);
  sprRelease(rgba);
  sprRelease(rgb);
}

}  // namespace
