// The renderer through real OpenGL (Mesa's software driver, offscreen): render modes against the
// blend rules, clipping, meshes, full-screen scaling with its bars, device loss and screenshots.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gfx/image.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "platform/platform.h"

namespace {

struct Rgba {
  int r, g, b, a;
};

class GlEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    platSetMode(PlatMode::HeadlessGL);
    ok = platVideoInit() && platWindowCreate("render test", 0, 0, 1024, 768, false) &&
         grInit(kLogicalWidth, kLogicalHeight, 32, false) == 0 && grIsReady();
  }
  void TearDown() override {
    grDone(false);
    platVideoDone();
  }
  static inline bool ok = false;
};
const auto* g_env = ::testing::AddGlobalTestEnvironment(new GlEnv);

class RenderGl : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GlEnv::ok) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context on this machine");
  }
  static Rgba Pixel(const std::vector<uint8_t>& f, int w, int x, int y) {
    const uint8_t* p = &f[(size_t(y) * w + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  static void ExpectNear(Rgba got, Rgba want, int tol, const char* what) {
    EXPECT_NEAR(got.r, want.r, tol) << what;
    EXPECT_NEAR(got.g, want.g, tol) << what;
    EXPECT_NEAR(got.b, want.b, tol) << what;
  }
  // A texture of one ARGB colour.
  static CRegularTexture* SolidTexture(const char* name, uint32_t argb) {
    CRegularTexture* t = txGetOrCreate(name, 4, 4, grAlphaFormat(), true);
    int pitch = 0;
    uint8_t* p = t->Lock(pitch);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) std::memcpy(p + y * pitch + x * 4, &argb, 4);
    t->Unlock();
    return t;
  }
  static void Quad(uint32_t mode, CBaseTexture* t, int x1, int y1, int x2, int y2, uint32_t diffuse, uint32_t specular) {
    const float fx1 = float(x1), fy1 = float(y1), fx2 = float(x2), fy2 = float(y2);
    const GpuVertex v[4] = {{fx1, fy1, 0.5f, diffuse, specular, 0, 0, 0, 0},
                            {fx2, fy1, 0.5f, diffuse, specular, 1, 0, 0, 0},
                            {fx1, fy2, 0.5f, diffuse, specular, 0, 1, 0, 0},
                            {fx2, fy2, 0.5f, diffuse, specular, 1, 1, 0, 0}};
    grDrawQuads(GrRenderMode{mode, 15}, t, v, 1);
  }
};

// The fixed-function rules, written out independently of the shader: stage operations on texture
// and vertex colour, the specular add, alpha test at 1/255, and the blend factors.
double Op(int op, double t, double d) {
  switch (op) {
    case 2: return t;
    case 4: return t * d;
    case 7: return std::min(1.0, t + d);
    default: return d;
  }
}
double Factor(int f, double srcA) {
  switch (f) {
    case 1: return 0;
    case 2: return 1;
    case 5: return srcA;
    case 6: return 1 - srcA;
    default: return 1;
  }
}
Rgba Expected(uint32_t mode, uint32_t tex, uint32_t diffuse, uint32_t specular, Rgba dest) {
  auto ch = [](uint32_t c, int shift) { return ((c >> shift) & 255) / 255.0; };
  const int b0 = mode & 255, b1 = (mode >> 8) & 255, src = (mode >> 24) & 15, dst = (mode >> 28) & 15;
  const double a = Op(b0, ch(tex, 24), ch(diffuse, 24));
  const bool blend = b0 > 1 || (src != 5 && dst != 6);
  if (blend && a <= 1.0 / 255) return dest;
  double out[3];
  const int shifts[3] = {16, 8, 0};
  const int d[3] = {dest.r, dest.g, dest.b};
  for (int i = 0; i < 3; ++i) {
    double c = std::min(1.0, Op(b1, ch(tex, shifts[i]), ch(diffuse, shifts[i])) + ch(specular, shifts[i]));
    out[i] = blend ? std::min(1.0, c * Factor(src, a) + d[i] / 255.0 * Factor(dst, a)) : c;
  }
  return {int(std::lround(out[0] * 255)), int(std::lround(out[1] * 255)), int(std::lround(out[2] * 255)), 255};
}

TEST_F(RenderGl, EveryRenderModeMatchesTheBlendRules) {
  const uint32_t modes[] = {kModeTextureAlpha, kModeFade, kModeTintFade, kModeHighlight,
                            kModeGlow, kModeAddTinted, kModeAdd, grModeWord(3, 3, 1, 6, 5), grModeWord(1, 3, 1, 6, 5)};
  const uint32_t tex = 0xC0C04020u;       // a = 192, r = 192, g = 64, b = 32
  const uint32_t diffuse = 0x8040A0FFu;   // a = 128
  const uint32_t specular = 0x00100000u;  // a little red
  const Rgba dest{40, 80, 120, 255};
  CRegularTexture* t = SolidTexture("test:solid", tex);
  ASSERT_NE(t, nullptr);
  grBeginScene();
  int x = 0;
  for (uint32_t m : modes) {
    grFillRect(x, 0, x + 40, 40, grColor(dest.r, dest.g, dest.b));
    Quad(m, t, x + 5, 5, x + 35, 35, diffuse, specular);
    x += 50;
  }
  std::vector<uint8_t> f;
  int w = 0, h = 0;
  ASSERT_TRUE(grReadFrame(f, w, h));
  ASSERT_EQ(w, 1024);
  grFlip(nullptr, nullptr);
  x = 0;
  for (uint32_t m : modes) {
    char what[32];
    std::snprintf(what, sizeof what, "mode %08x", m);
    ExpectNear(Pixel(f, w, x + 20, 20), Expected(m, tex, diffuse, specular, dest), 3, what);
    ExpectNear(Pixel(f, w, x + 2, 20), dest, 0, "background beside the quad");
    x += 50;
  }
  t->DropRef();
}

TEST_F(RenderGl, RectanglesCoverExactlyTheirPixelsAndLinesTheirCentres) {
  grBeginScene();
  grFillRect(10, 10, 20, 15, grColor(255, 0, 0));
  grLine(30, 40, 60, 40, grColor(0, 255, 0));
  grFrameRect(100, 100, 110, 110, grColor(0, 0, 255));
  std::vector<uint8_t> f;
  int w = 0, h = 0;
  ASSERT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  ExpectNear(Pixel(f, w, 10, 10), {255, 0, 0, 255}, 0, "first pixel");
  ExpectNear(Pixel(f, w, 19, 14), {255, 0, 0, 255}, 0, "last pixel");
  ExpectNear(Pixel(f, w, 20, 14), {0, 0, 0, 255}, 0, "right edge is exclusive");
  ExpectNear(Pixel(f, w, 19, 15), {0, 0, 0, 255}, 0, "bottom edge is exclusive");
  ExpectNear(Pixel(f, w, 45, 40), {0, 255, 0, 255}, 0, "line row");
  ExpectNear(Pixel(f, w, 45, 41), {0, 0, 0, 255}, 0, "one pixel thick");
  ExpectNear(Pixel(f, w, 100, 105), {0, 0, 255, 255}, 0, "frame left side");
  ExpectNear(Pixel(f, w, 110, 105), {0, 0, 255, 255}, 0, "frame right side");
  ExpectNear(Pixel(f, w, 105, 105), {0, 0, 0, 255}, 0, "frame inside");
}

TEST_F(RenderGl, ClippedTexturedMeshAndIndexedMesh) {
  CRegularTexture* t = SolidTexture("test:mesh", 0xFF00FF00u);
  grBeginScene();
  grSetClip(100, 100, 150, 150);
  const float xy[8] = {0, 0, 300, 0, 0, 300, 300, 300};
  const float uv[8] = {0, 0, 1, 0, 0, 1, 1, 1};
  grDrawTextureMesh(kModeTextureAlpha, t, 4, xy, nullptr, uv, 0, nullptr);
  grSetClip(0, 0, 1024, 768);
  // Two triangles of a square with their own colours, sharing the diagonal.
  const float sq[8] = {400, 100, 500, 100, 400, 200, 500, 200};
  const uint32_t cols[4] = {0xFFFF0000u, 0xFFFF0000u, 0xFF0000FFu, 0xFF0000FFu};
  const uint16_t idx[6] = {0, 1, 2, 2, 1, 3};
  grDrawMesh(grModeWord(1, 3, 1, 6, 5), 4, sq, cols, 2, idx);
  // Rejected meshes: too few vertices, an index past the vertices.
  const uint16_t bad[3] = {0, 1, 9};
  grDrawMesh(grModeWord(1, 3, 1, 6, 5), 4, sq, nullptr, 1, bad);
  grDrawMesh(grModeWord(1, 3, 1, 6, 5), 2, sq, nullptr, 0, nullptr);
  std::vector<uint8_t> f;
  int w = 0, h = 0;
  ASSERT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  ExpectNear(Pixel(f, w, 120, 120), {0, 255, 0, 255}, 0, "inside the clip");
  ExpectNear(Pixel(f, w, 99, 120), {0, 0, 0, 255}, 0, "left of the clip");
  ExpectNear(Pixel(f, w, 150, 120), {0, 0, 0, 255}, 0, "right of the clip");
  ExpectNear(Pixel(f, w, 120, 150), {0, 0, 0, 255}, 0, "below the clip");
  // Colours interpolate from red (top) to blue (bottom) across the square.
  const Rgba top = Pixel(f, w, 450, 101), bottom = Pixel(f, w, 450, 198);
  EXPECT_GT(top.r, 240);
  EXPECT_GT(bottom.b, 240);
  EXPECT_EQ(Pixel(f, w, 450, 150).g, 0);
  t->DropRef();
}

TEST_F(RenderGl, WorldTransformMovesWhatFollowsUntilPopped) {
  grBeginScene();
  const float shift[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 200, 50, 0, 1};
  grPushTransform(shift);
  grFillRect(0, 0, 10, 10, grColor(255, 255, 0));
  grPopTransform();
  grFillRect(0, 0, 10, 10, grColor(0, 255, 255));
  std::vector<uint8_t> f;
  int w = 0, h = 0;
  ASSERT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  ExpectNear(Pixel(f, w, 205, 55), {255, 255, 0, 255}, 0, "moved");
  ExpectNear(Pixel(f, w, 5, 5), {0, 255, 255, 255}, 0, "restored");
}

TEST_F(RenderGl, WideScreenScalesUniformlyWithBorderBars) {
  // A 64 x 768 border picture: red.
  std::vector<uint8_t> red(64 * 768 * 4);
  for (size_t i = 0; i < red.size(); i += 4) {
    red[i] = 255;
    red[i + 3] = 255;
  }
  ASSERT_TRUE(imgSavePNG("border.png", red.data(), 64, 768));
  CSprite* border = sprGet("border.png");
  ASSERT_NE(border, nullptr);
  platWindowSetClientSize(1920, 1080);
  grBeginScene();
  ASSERT_FLOAT_EQ(grScaleX(), 1.40625f);
  EXPECT_EQ(grOffsetX(), 240);
  EXPECT_EQ(grOffsetY(), 0);
  EXPECT_EQ(grScreenToLogicalX(240), 0);
  EXPECT_EQ(grScreenToLogicalX(1680), 1024);
  grFillRect(0, 0, 1024, 768, grColor(255, 255, 255));
  grDrawBorders(border, nullptr);
  std::vector<uint8_t> f;
  int w = 0, h = 0;
  ASSERT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  platWindowSetClientSize(1024, 768);
  sprRelease(border);
  ASSERT_EQ(w, 1920);
  ASSERT_EQ(h, 1080);
  ExpectNear(Pixel(f, w, 960, 540), {255, 255, 255, 255}, 0, "logical screen, scaled");
  ExpectNear(Pixel(f, w, 241, 540), {255, 255, 255, 255}, 0, "left edge of the screen");
  ExpectNear(Pixel(f, w, 236, 540), {255, 0, 0, 255}, 1, "left bar picture touches the screen");
  ExpectNear(Pixel(f, w, 100, 540), {0, 0, 0, 255}, 0, "black beyond the picture");
  ExpectNear(Pixel(f, w, 1684, 540), {255, 0, 0, 255}, 1, "right bar: the picture mirrored");
  ExpectNear(Pixel(f, w, 1850, 540), {0, 0, 0, 255}, 0, "black beyond the right picture");
}

TEST_F(RenderGl, DeviceLossReloadsSpritesAndScreenshotsArePngs) {
  std::vector<uint8_t> blue(30 * 20 * 4);
  for (size_t i = 0; i < blue.size(); i += 4) {
    blue[i + 2] = 255;
    blue[i + 3] = 255;
  }
  ASSERT_TRUE(imgSavePNG("blue.png", blue.data(), 30, 20));
  CSprite* s = sprGet("blue.png");
  ASSERT_NE(s, nullptr);
  grKillFocus();
  EXPECT_EQ(sprSingleTile(s), nullptr) << "tiles dropped with the device";
  grRestore();
  ASSERT_NE(sprSingleTile(s), nullptr);
  grBeginScene();
  sprDrawStretched(s, 10, 10, 40, 30, kModeAuto, false);
  ASSERT_TRUE(grSaveScreenshot("shot.png"));
  grFlip(nullptr, nullptr);
  sprRelease(s);
  cPNGImage png;
  ASSERT_EQ(png.Load("shot.png"), 0);
  EXPECT_EQ(png.Width(), 1024);
  EXPECT_EQ(png.Height(), 768);
  const uint8_t* row = png.Row(20);
  ASSERT_NE(row, nullptr);
  const int bpp = png.BitsPerPixel() / 8;
  // Stored blue-green-red.
  EXPECT_EQ(row[25 * bpp + 0], 255);
  EXPECT_EQ(row[25 * bpp + 2], 0);
  EXPECT_EQ(row[5 * bpp + 0], 0);
}

}  // namespace
