// Sprites and bitmap text through real OpenGL: frames picked by number, mirroring, source
// rectangles, tints and corner colours, the automatic mode, atlas pieces, turned quads, device
// loss, and glyphs of colour variants, all checked on the pixels read back.
#include <gtest/gtest.h>

#include "gl_frame_test.h"
#include "support/gl_required.h"

#include <cmath>

#include "gfx/font.h"
#include "gfx/test_sprite_util.h"

namespace {

class SpriteGl : public rendertest::GlFrameTest {
 protected:
  void Expect(int x, int y, uint32_t rgb, const char* what, int tol = 2) const {
    const testkit::Px p = At(x, y);
    EXPECT_NEAR(p.r, int(rgb >> 16 & 255), tol) << what << " at " << x << "," << y;
    EXPECT_NEAR(p.g, int(rgb >> 8 & 255), tol) << what << " at " << x << "," << y;
    EXPECT_NEAR(p.b, int(rgb & 255), tol) << what << " at " << x << "," << y;
  }
};

constexpr uint32_t kBand[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};
constexpr uint32_t kWhite = 0xFFFFFFFFu;

constexpr uint32_t kMarker = 0xFF404040u;

// Four frames of 64 x 64: the left half of frame k in its band colour, the right half white, the
// top eight rows of every frame grey.
CSprite* Frames() {
  sprtest::WritePng("gl/frames.png", 64, 256,
                    [](int x, int y) { return y % 64 < 8 ? kMarker : x < 32 ? kBand[y / 64] : kWhite; });
  CSprite* s = sprGet("gl/frames.png");
  sprSetAnimation(s, 4, 4);
  return s;
}

TEST_F(SpriteGl, FrameNumbersAndMirrors) {
  CSprite* s = Frames();
  ASSERT_NE(s, nullptr);
  for (int k = 0; k < 4; ++k) grDrawSprite(kModeTextureAlpha, 15, 10 + 80 * k, 10, 64, 64, s, 0, 0, kWhite, k);
  grDrawSprite(kModeTextureAlpha, 15, 330, 10, 64, 64, s, 0, 0, kWhite, 5);
  grDrawSprite(kModeTextureAlpha, 15, 10, 100, -64, 64, s, 0, 0, kWhite, 2);
  grDrawSprite(kModeTextureAlpha, 15, 100, 100, 64, -64, s, 0, 0, kWhite, 3);
  // Only the top-left quarter of frame 0: no grey rows at all.
  grDrawSprite(kModeTextureAlpha, 15, 200, 100, 32, 32, s, 0, 32, kWhite, 0);
  Read();
  for (int k = 0; k < 4; ++k) {
    Expect(20 + 80 * k, 40, kBand[k], "left half of the frame");
    Expect(60 + 80 * k, 40, kWhite, "right half of the frame");
  }
  Expect(340, 40, kBand[1], "frame 5 of 4 steps shows row 1");
  Expect(20, 130, kWhite, "mirrored: white on the left");
  Expect(60, 130, kBand[2], "mirrored: colour on the right");
  Expect(5, 130, 0, "nothing left of the rectangle");
  Expect(20, 12, kMarker, "grey top rows of a frame");
  Expect(110, 104, kBand[3], "upside down: the frame's bottom at the top");
  Expect(110, 160, kMarker, "and its grey top rows at the bottom");
  Expect(210, 104, kBand[0], "a source part from row 32");
  Expect(240, 104, 0, "no wider than the part");
  sprRelease(s);
}

TEST_F(SpriteGl, SourceRectanglesScaleAndOutsideOnesDrawNothing) {
  // Quadrants: red, green over blue, white.
  sprtest::WritePng("gl/quads.png", 32, 32, [](int x, int y) {
    return y < 16 ? (x < 16 ? 0xFFFF0000u : 0xFF00FF00u) : (x < 16 ? 0xFF0000FFu : 0xFFFFFFFFu);
  });
  sprtest::WritePng("gl/strip.png", 64, 20, [](int, int) { return 0xFFFF00FFu; });
  CSprite* s = sprGet("gl/quads.png");
  CSprite* strip = sprGet("gl/strip.png");
  ASSERT_NE(s, nullptr);
  ASSERT_NE(strip, nullptr);
  grDrawSpriteEx(kModeTextureAlpha, 15, 200, 200, 64, 64, s, 16, 0, 16, 32, kWhite, 0);
  grDrawSpriteEx(kModeTextureAlpha, 15, 300, 200, 60, 20, strip, 10, 0, 60, 20, kWhite, 0);  // 10 + 60 > 64
  grDrawSpriteEx(kModeTextureAlpha, 15, 300, 240, 60, 20, strip, 4, 0, 60, 20, kWhite, 0);
  Read();
  Expect(210, 210, 0xFF00FF00u, "right half stretched: green on top");
  Expect(254, 250, kWhite, "white below");
  Expect(266, 210, 0, "four times as wide, no further");
  Expect(330, 210, 0, "a source rectangle outside the sprite draws nothing");
  Expect(330, 250, 0xFFFF00FFu, "one inside it draws");
  sprRelease(s);
  sprRelease(strip);
}

TEST_F(SpriteGl, TintsCornerColoursAndTheAutomaticMode) {
  sprtest::WritePng("gl/white.png", 16, 16, [](int, int) { return kWhite; });
  // Alpha 0 in the left half: the automatic mode blends it away.
  sprtest::WritePng("gl/half.png", 16, 16, [](int x, int) { return x < 8 ? 0x00FF0000u : 0xFFFF0000u; });
  sprtest::WritePng24("gl/opaque.png", 16, 16, [](int, int) { return 0xFF00FF00u; });
  CSprite* white = sprGet("gl/white.png");
  CSprite* half = sprGet("gl/half.png");
  CSprite* opaque = sprGet("gl/opaque.png");
  ASSERT_TRUE(white && half && opaque);
  grFillRect(0, 400, 1024, 500, 0xFF202020u);
  grDrawSprite(kModeTintFade, 15, 10, 410, 16, 16, white, 0, 0, 0xFF8040C0u, 0);
  grDrawSprite(kModeTintFade, 15, 40, 410, 32, 32, white, 0, 0, 0xFF8040C0u, 0);  // larger than the sprite
  const uint32_t corners[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
  grDrawSpriteEx(kModeTintFade, 15, 100.f, 410.f, 64.f, 64.f, white, 0.f, 0.f, 16.f, 16.f, corners, nullptr, 0);
  grDrawSpriteEx(kModeAuto, 15, 200, 410, 32, 32, half, 0, 0, 16, 16, 0, 0);
  grDrawSprite(kModeAuto, 15, 250, 410, 16, 16, opaque, 0, 0, 0, 0);
  Read();
  Expect(18, 418, 0xFF8040C0u, "texture x vertex colour");
  Expect(50, 418, 0xFF202020u, "a source of 32 x 32 is outside a 16 x 16 sprite");
  Expect(101, 411, 0xFFFF0000u, "top-left corner colour", 12);
  Expect(162, 411, 0xFF00FF00u, "top-right corner colour", 12);
  Expect(162, 472, 0xFF0000FFu, "bottom-right corner colour", 12);
  Expect(101, 472, 0xFFFFFFFFu, "bottom-left corner colour", 12);
  Expect(204, 426, 0xFF202020u, "automatic mode keeps the texture's alpha");
  Expect(226, 426, 0xFFFF0000u, "and its colour");
  Expect(258, 418, 0xFF00FF00u, "a picture without alpha draws opaque");
  sprRelease(white);
  sprRelease(half);
  sprRelease(opaque);
}

TEST_F(SpriteGl, AtlasPiecesJoinAndTurnedQuadsFollowTheCorners) {
  // 600 columns in two atlas pieces: a colour per 100 columns.
  sprtest::WritePng("gl/wide.png", 600, 40,
                    [](int x, int) { return 0xFF000000u | uint32_t(40 * (x / 100) + 20) << 16 | 0x80u; });
  sprtest::WritePng("gl/lr.png", 40, 20, [](int x, int) { return x < 20 ? 0xFFFF0000u : 0xFF0000FFu; });
  CSprite* wide = sprGet("gl/wide.png");
  CSprite* lr = sprGet("gl/lr.png");
  ASSERT_TRUE(wide && lr);
  grDrawSprite(kModeTextureAlpha, 15, 0, 300, 600, 40, wide, 0, 0, kWhite, 0);
  // A quarter turn about (800, 600): the left half ends up below the centre.
  sprDrawRotated(kModeTextureAlpha, 15, 800, 600, float(M_PI / 2), 2.0f, 2.0f, lr, kWhite, 0);
  Read();
  for (int x : {5, 95, 105, 505, 509, 510, 511, 515, 595}) {
    const uint32_t want = 0xFF000000u | uint32_t(40 * (x / 100) + 20) << 16 | 0x80u;
    Expect(x, 320, want, "across the atlas pieces", 3);
  }
  Expect(800, 620, 0xFFFF0000u, "left half turned below the centre");
  Expect(800, 580, 0xFF0000FFu, "right half turned above it");
  Expect(825, 600, 0, "the turned picture is only 40 wide");
  sprRelease(wide);
  sprRelease(lr);
}

TEST_F(SpriteGl, FramesComeBackAfterDeviceLoss) {
  grFlip(nullptr, nullptr);
  CSprite* s = Frames();
  ASSERT_NE(s, nullptr);
  grKillFocus();
  grRestore();
  grBeginScene();
  grDrawSprite(kModeTextureAlpha, 15, 10, 10, 64, 64, s, 0, 0, kWhite, 3);
  Read();
  Expect(20, 40, kBand[3], "frame 3 after the reload");
  sprRelease(s);
}

TEST_F(SpriteGl, TextDrawsTheGlyphsOfItsVariant) {
  // Two variants of line height 12: white, then red. 'A' a full 8 x 12 block at x 0, code 198 (the
  // single-byte Ж) a 4-wide block at x 8.
  sprtest::WritePng("gl/font.png", 16, 24, [](int x, int y) {
    const bool ink = x < 8 || (x >= 8 && x < 12);
    if (!ink) return 0u;
    return y < 12 ? kWhite : 0xFFFF0000u;
  });
  sprtest::WriteText("gl/font.fh", "16 12 2\n65 0 0 0 8 2\n198 8 0 0 4 0\n");
  CSprite* font = sprGetFont("gl/font.png");
  ASSERT_NE(font, nullptr);
  fontDrawTextUtf8(kModeTextureAlpha, 15, 1, 1, font, 600, 100, "AЖA", 0, -1, -1, kWhite);
  fontDrawTextUtf8(kModeTextureAlpha, 15, 1, 1, font, 600, 200, "AA", 2, 0, -1, kWhite);
  fontDrawTextAuto(font, 600, 300, "A", 0, 1, 0);
  Read();
  Expect(604, 106, kWhite, "A");
  Expect(609, 106, 0, "A's after space");
  Expect(611, 106, kWhite, "Ж as the glyph of code 198");
  Expect(616, 106, kWhite, "the second A");
  Expect(625, 106, 0, "past the text");
  Expect(594, 206, 0xFFFF0000u, "style 2: the red variant, centred (20 wide from 590)");
  Expect(589, 206, 0, "before the centred text");
  Expect(595, 296, kWhite, "right-aligned and centred on the line");
  Expect(603, 296, 0, "ends at x");
  sprRelease(font);
}

}  // namespace
