// Through real OpenGL: a vertical band without a bottom picture closes with its top picture upside
// down and fills every row between with its centre picture, the last piece cut to fit in its own
// place, so no rows stay empty above the end and none is drawn twice below the top.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "files/ini.h"
#include "gfx/image.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "ui/wnd.h"
#include "ui/wnd_create.h"
#include "support/gl_pixels.h"

namespace {

using testkit::At;
using testkit::GlUp;
using testkit::Px;


// A picture of w x h: the top half of its rows in `top`, the rest in `rest` (r, g, b), opaque.
void Picture(const char* path, int w, int h, Px top, Px rest) {
  std::vector<uint8_t> px(size_t(w) * h * 4, 255);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &px[(size_t(y) * w + x) * 4];
      const Px c = y < h / 2 ? top : rest;
      p[0] = uint8_t(c.r);
      p[1] = uint8_t(c.g);
      p[2] = uint8_t(c.b);
    }
  ASSERT_TRUE(imgSavePNG(path, px.data(), w, h));
}

TEST(DecoGl, BandWithoutBottomFillsItsLastRowsInPlace) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  std::filesystem::create_directories("deco_gl");
  // Top: 10 rows, red over blue, so its mirrored copy shows which way up it is.
  Picture("deco_gl/top.png", 8, 10, {255, 0, 0}, {0, 0, 255});
  Picture("deco_gl/center.png", 8, 16, {0, 255, 0}, {0, 255, 0});
  std::ofstream("deco_gl/band.ini") << "[Band]\ntype=frameV\nx=200\ny=100\nxs=40\nys=60\n"
                                       "top=deco_gl/top.png\ncenter=deco_gl/center.png\n";
  iniFreeAll();
  UIWnd root;
  UIWnd* band = wndCreate("deco_gl/band.ini", "Band", &root);
  ASSERT_NE(band, nullptr);
  grBeginScene();
  root.Draw();
  std::vector<uint8_t> f;
  int w = 0, h = 0;
  ASSERT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  ASSERT_EQ(w, kLogicalWidth);
  // Rows 100-109 the top (red, then blue); 110-141 two whole centre pieces; 142-149 the last
  // centre piece cut to 8 rows; 150-159 the top upside down (blue, then red).
  const int x = 220;
  EXPECT_GT(At(f, w, x, 102).r, 200);
  EXPECT_LT(At(f, w, x, 102).g, 50) << "nothing drawn over the top";
  EXPECT_GT(At(f, w, x, 107).b, 200);
  for (int y : {112, 130, 141, 142, 146, 149}) {
    EXPECT_GT(At(f, w, x, y).g, 200) << "row " << y << " is centre";
    EXPECT_LT(At(f, w, x, y).r, 50) << "row " << y;
  }
  EXPECT_GT(At(f, w, x, 152).b, 200) << "the mirrored top begins with its blue half";
  EXPECT_GT(At(f, w, x, 157).r, 200);
  EXPECT_LT(At(f, w, x, 162).g + At(f, w, x, 162).r, 50) << "and ends on the window's edge";
  EXPECT_GT(At(f, w, 238, 130).g, 200) << "stretched to the window's width";
  EXPECT_LT(At(f, w, 242, 130).g, 50);
}

}  // namespace
