// Pieces drawn at scales other than 1:1 through real OpenGL: a capped button whose middle piece
// is repeated, every piece an atlas tile, shows no seam where a piece's edge is filtered.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "gfx/render.h"
#include "gfx/sprite.h"
#include "gfx/test_sprite_util.h"
#include "platform/platform.h"
#include "ui/wnd.h"
#include "ui/wnd_create.h"

namespace {

constexpr uint32_t kFace = 0xFFC8A03Cu;

TEST(SeamsGl, RepeatedAndAtlasPiecesDoNotBleedAtAnyScale) {
  if (!grIsReady()) GTEST_SKIP() << "no renderer";
  // The demo's Play button in shape: 24-pixel caps and a 16-pixel middle, all 48 high (not a
  // power of two, so every piece is an atlas tile), in one flat colour.
  auto flat = [](int, int) { return kFace; };
  sprtest::WritePng("seams/mid.png", 16, 48, flat);
  sprtest::WritePng("seams/left.png", 24, 48, flat);
  sprtest::WritePng("seams/right.png", 24, 48, flat);
  sprtest::WriteText("seams/button.ini",
                     "[Play]\ntype=ieButton\nx=402\ny=230\nxs=220\nys=48\nstage=1\nnormal=seams/mid.png\n"
                     "leftnormal=seams/left.png\nrightnormal=seams/right.png\n");
  std::unique_ptr<UIWnd> play(wndCreate("seams/button.ini", "Play", nullptr));
  ASSERT_NE(play, nullptr);
  ASSERT_EQ(play->State(), UIWnd::Normal);

  struct Size {
    int w, h;
  };
  for (Size size : {Size{1434, 1075}, Size{1843, 1382}, Size{717, 538}, Size{1024, 768}}) {
    platWindowSetClientSize(size.w, size.h);
    grBeginScene();
    const float s = grScaleX();
    const int ox = grOffsetX(), oy = grOffsetY();
    play->Draw();
    std::vector<uint8_t> f;
    int w = 0, h = 0;
    const bool read = grReadFrame(f, w, h);
    grFlip(nullptr, nullptr);
    if (!read) {
      platWindowSetClientSize(1024, 768);
      GTEST_SKIP() << "no OpenGL pixels on this machine";
    }
    // Every device pixel whose centre lies a pixel or more inside the button shows its face.
    const int x0 = ox + int(std::ceil(402 * s)) + 1, x1 = ox + int(std::floor(622 * s)) - 2;
    const int y0 = oy + int(std::ceil(230 * s)) + 1, y1 = oy + int(std::floor(278 * s)) - 2;
    ASSERT_LT(x1, w);
    ASSERT_LT(y1, h);
    int bad = 0, firstX = -1, firstY = -1, firstR = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const uint8_t* p = &f[(size_t(y) * w + x) * 4];
        if (std::abs(p[0] - 0xC8) > 3 || std::abs(p[1] - 0xA0) > 3 || std::abs(p[2] - 0x3C) > 3) {
          if (bad++ == 0) firstX = x, firstY = y, firstR = p[0];
        }
      }
    EXPECT_EQ(bad, 0) << "scale " << s << ": first seam pixel at " << firstX << "," << firstY << " (red " << firstR
                      << ")";
  }
  platWindowSetClientSize(1024, 768);
}

}  // namespace
