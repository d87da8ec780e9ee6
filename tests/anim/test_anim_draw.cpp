// What AnimationState drawing sends: the rectangle (centred, scaled, mirrored, turned), the row of
// the strip it samples, the render mode of plain, additive and faded draws, and the colours.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "anim/anim_catalogue.h"
#include "anim/anim_sprite.h"
#include "anim_test_util.h"
#include "gfx/render_device.h"
#include "gfx/texture.h"

using namespace animtest;
using Core::animManager;

namespace {

class AnimDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    writeStrip("data/anims/mill.png", 16, 8, 4);  // 16 x 32: four rows of 8
    writeStrip("data/anims/bird.png", 8, 8, 2);
    writeText("data/draw.xml",
              "<a><Animation id=\"mill\" path=\"data/anims/mill.png\" period=\"800\" frames=\"4\" isLoop=\"1\"/>"
              "<Animation id=\"bird\" path=\"data/anims/bird.png\" frames=\"2\" isFlipX=\"1\" isNoCenter=\"1\"/>"
              "<Animation id=\"glow\" path=\"data/anims/bird.png\" frames=\"2\" isAdd=\"1\" isFlipY=\"1\"/></a>");
    ASSERT_TRUE(animManager().LoadAnimationCatalogue("data/draw.xml"));
    animSpriteCaptureInto(&quads);
  }
  void TearDown() override {
    animSpriteCaptureInto(nullptr);
    animManager().Clear();
  }

  // The one quad drawn since the last call.
  AnimSpriteQuad Take() {
    EXPECT_EQ(quads.size(), 1u);
    AnimSpriteQuad q = quads.empty() ? AnimSpriteQuad{} : quads.back();
    quads.clear();
    return q;
  }
  // The picture rows (in pixels of the strip) a quad samples.
  static std::pair<float, float> RowsOf(const AnimSpriteQuad& q) {
    if (!q.texture) return {-1, -1};
    return {q.v[0].v * q.texture->height, q.v[2].v * q.texture->height};
  }

  std::vector<AnimSpriteQuad> quads;
};

TEST_F(AnimDraw, CurrentFrameIsCentredAndSamplesItsRow) {
  AnimationState mill = animManager().GetAnimation("mill");
  ASSERT_EQ(mill.Width(), 16);
  ASSERT_EQ(mill.Height(), 8);
  mill.Start(450);  // row 2 of 4 over 800 ms
  mill.DrawCurrent(100, 100);
  AnimSpriteQuad q = Take();
  EXPECT_FLOAT_EQ(q.v[0].x, 92);
  EXPECT_FLOAT_EQ(q.v[0].y, 96);
  EXPECT_FLOAT_EQ(q.v[3].x, 108);
  EXPECT_FLOAT_EQ(q.v[3].y, 104);
  EXPECT_EQ(RowsOf(q), std::make_pair(16.0f, 24.0f));
  EXPECT_EQ(q.modeWord, kModeTextureAlpha);
  EXPECT_EQ(q.v[0].diffuse, 0xFFFFFFFFu);

  mill.DrawFrameScaled(100, 100, 2.0f, 2.0f, 1);
  q = Take();
  EXPECT_FLOAT_EQ(q.v[0].x, 84);
  EXPECT_FLOAT_EQ(q.v[0].y, 92);
  EXPECT_FLOAT_EQ(q.v[3].x, 116);
  EXPECT_FLOAT_EQ(q.v[3].y, 108);
  EXPECT_EQ(RowsOf(q), std::make_pair(8.0f, 16.0f));

  mill.Stop();  // a stopped animation without hold shows its first row
  mill.DrawCurrent(100.5f, 100.5f);
  q = Take();
  EXPECT_FLOAT_EQ(q.v[0].x, 92.5f);
  EXPECT_EQ(RowsOf(q), std::make_pair(0.0f, 8.0f));
}

TEST_F(AnimDraw, MirroredAnimationsFlipInsideTheirRectangle) {
  AnimationState bird = animManager().GetAnimation("bird");
  bird.DrawFrame(10, 20, 1);  // top-left corner at the point, mirrored left to right
  AnimSpriteQuad q = Take();
  EXPECT_FLOAT_EQ(q.v[0].x, 18);
  EXPECT_FLOAT_EQ(q.v[1].x, 10);
  EXPECT_FLOAT_EQ(q.v[0].y, 20);
  EXPECT_FLOAT_EQ(q.v[2].y, 28);
  EXPECT_FLOAT_EQ(q.v[0].u, 0.0f) << "the picture's left edge lands on the right";
  EXPECT_EQ(RowsOf(q), std::make_pair(8.0f, 16.0f));

  AnimationState glow = animManager().GetAnimation("glow");
  glow.DrawFrame(50, 50, 0);  // centred, mirrored top to bottom, additive
  q = Take();
  EXPECT_FLOAT_EQ(q.v[0].y, 54);
  EXPECT_FLOAT_EQ(q.v[2].y, 46);
  EXPECT_FLOAT_EQ(q.v[0].x, 46);
  EXPECT_EQ(q.modeWord, kModeAdd);
}

TEST_F(AnimDraw, FadedDrawsCarryTheAlphaInEveryChannel) {
  AnimationState mill = animManager().GetAnimation("mill");
  mill.DrawFaded(100, 100, 128, 1.0f, 1.0f);
  AnimSpriteQuad q = Take();
  EXPECT_EQ(q.v[0].diffuse, 0x80808080u);
  EXPECT_EQ(q.modeWord, kModeFade);
  mill.DrawFaded(100, 100, 300, -1.0f, 1.0f);  // negative scale: same place, mirrored
  q = Take();
  EXPECT_EQ(q.v[0].diffuse, 0xFFFFFFFFu);
  EXPECT_FLOAT_EQ(q.v[0].x, 92);
  EXPECT_FLOAT_EQ(q.v[1].x, 76) << "size -16 from the centred corner";

  AnimationState glow = animManager().GetAnimation("glow");
  glow.DrawFaded(100.0f, 100.0f, 64, 1.0f, 1.0f);
  q = Take();
  EXPECT_EQ(q.modeWord, grModeWord(4, 2, 1, 2, 5));
  EXPECT_EQ(q.v[0].diffuse, 0x40404040u);
  glow.DrawFadedDimming(100, 100, 64, 2.0f);
  q = Take();
  EXPECT_EQ(q.modeWord, kModeAddTinted);
  EXPECT_FLOAT_EQ(std::fabs(q.v[1].x - q.v[0].x), 16);
  mill.DrawFadedDimming(100, 100, 64, 1.0f);
  EXPECT_EQ(Take().modeWord, kModeFade);
}

TEST_F(AnimDraw, RotatedQuadTurnsAboutThePointAndPicksItsMode) {
  AnimationState mill = animManager().GetAnimation("mill");
  mill.DrawRotated(100, 100, std::numbers::pi_v<float> / 2, kModeFade, 7, 0xFF112233u, 1.0f, 0x00010203u, 3);
  AnimSpriteQuad q = Take();
  // Top-left (-8, -4) becomes (dx cos + dy sin, dy cos - dx sin) = (-4, 8).
  EXPECT_NEAR(q.v[0].x, 96, 1e-4);
  EXPECT_NEAR(q.v[0].y, 108, 1e-4);
  // Bottom-right (8, 4) becomes (4, -8).
  EXPECT_NEAR(q.v[3].x, 104, 1e-4);
  EXPECT_NEAR(q.v[3].y, 92, 1e-4);
  EXPECT_EQ(q.modeWord, kModeFade);
  EXPECT_EQ(q.mask, 7);
  EXPECT_EQ(q.v[2].diffuse, 0xFF112233u);
  EXPECT_EQ(q.v[2].specular, 0x00010203u);
  EXPECT_EQ(RowsOf(q), std::make_pair(24.0f, 32.0f));

  // A mode whose second byte is 1 asks for the animation's own.
  AnimationState glow = animManager().GetAnimation("glow");
  glow.DrawRotated(0, 0, 0, grModeWord(4, 1, 1, 6, 5), 3, 0xFFFFFFFFu, 2.0f, 0, -1);
  q = Take();
  EXPECT_EQ(q.modeWord, kModeAdd);
  EXPECT_EQ(q.mask, 15);
  EXPECT_FLOAT_EQ(q.v[0].y, 8) << "mirrored top to bottom at scale 2";
  mill.DrawRotated(0, 0, 0, grModeWord(2, 1, 1, 6, 5), 3, 0xFFFFFFFFu, 1.0f, 0, -1);
  EXPECT_EQ(Take().modeWord, kModeTextureAlpha);
}

}  // namespace
