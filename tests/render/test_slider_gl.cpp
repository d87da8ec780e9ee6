// Sliders through real OpenGL: the empty and the filled track share the bar by the value, from
// the left or, for vertical sliders, from the bottom, at both ends of the range as well.
#include <gtest/gtest.h>

#include <memory>

#include "gfx/render.h"
#include "gfx/sprite.h"
#include "gfx/test_sprite_util.h"
#include "ui/wnd.h"
#include "ui/wnd_create.h"

namespace {

constexpr uint32_t kEmpty = 0xFF3050A0u, kFull = 0xFF40C040u;

struct Px {
  int r, g, b;
};

Px At(const std::vector<uint8_t>& f, int w, int x, int y) {
  const uint8_t* p = &f[(size_t(y) * w + x) * 4];
  return {p[0], p[1], p[2]};
}

bool Near(Px p, uint32_t rgb) {
  return std::abs(p.r - int(rgb >> 16 & 255)) <= 2 && std::abs(p.g - int(rgb >> 8 & 255)) <= 2 &&
         std::abs(p.b - int(rgb & 255)) <= 2;
}

TEST(SliderGl, TracksShareTheBarByTheValueAtEveryValue) {
  if (!grIsReady()) GTEST_SKIP() << "no renderer";
  sprtest::WritePng("slider/empty_v.png", 10, 200, [](int, int) { return kEmpty; });
  sprtest::WritePng("slider/full_v.png", 10, 200, [](int, int) { return kFull; });
  sprtest::WritePng("slider/empty_h.png", 200, 10, [](int, int) { return kEmpty; });
  sprtest::WritePng("slider/full_h.png", 200, 10, [](int, int) { return kFull; });
  auto part = [](const char* name, const char* pic) {
    return std::string("[") + name + "]\nnormal=" + pic + "\nactive=" + pic + "\npress=" + pic + "\n";
  };
  sprtest::WriteText("slider/defs.ini",
                     "[Tall]\ntype=progress2\nx=100\ny=100\nxs=10\nys=200\nstage=1\nvertical=1\n0=EmptyV\n1=FullV\n"
                     "[Wide]\ntype=progress2\nx=300\ny=100\nxs=200\nys=10\nstage=1\n0=EmptyH\n1=FullH\n"
                     "[Level]\ntype=progress\nx=600\ny=100\nxs=10\nys=200\nstage=1\nvertical=1\n0=EmptyV\n1=FullV\n" +
                         part("EmptyV", "slider/empty_v.png") + part("FullV", "slider/full_v.png") +
                         part("EmptyH", "slider/empty_h.png") + part("FullH", "slider/full_h.png"));
  std::unique_ptr<UIWnd> tall(wndCreate("slider/defs.ini", "Tall", nullptr));
  std::unique_ptr<UIWnd> wide(wndCreate("slider/defs.ini", "Wide", nullptr));
  std::unique_ptr<UIWnd> level(wndCreate("slider/defs.ini", "Level", nullptr));
  ASSERT_TRUE(tall && wide && level);
  for (float value : {0.0f, 0.25f, 1.0f}) {
    tall->SetValue(value);
    wide->SetValue(value);
    level->SetValue(value);
    grBeginScene();
    tall->Draw();
    wide->Draw();
    level->Draw();
    std::vector<uint8_t> f;
    int w = 0, h = 0;
    const bool read = grReadFrame(f, w, h);
    grFlip(nullptr, nullptr);
    if (!read) GTEST_SKIP() << "no OpenGL pixels on this machine";
    const int fill = int(value * 200);
    // Vertical: empty above, filled from the bottom; horizontal: filled from the left.
    for (int d = 1; d < 200; d += 6) {
      const bool filled = d >= 200 - fill;
      EXPECT_TRUE(Near(At(f, w, 105, 100 + d), filled ? kFull : kEmpty))
          << "vertical at " << value << ", row " << d << (filled ? " (filled)" : " (empty)");
      EXPECT_TRUE(Near(At(f, w, 605, 100 + d), filled ? kFull : kEmpty))
          << "vertical command slider at " << value << ", row " << d;
      const bool left = d < fill;
      EXPECT_TRUE(Near(At(f, w, 300 + d, 105), left ? kFull : kEmpty))
          << "horizontal at " << value << ", column " << d << (left ? " (filled)" : " (empty)");
    }
  }
}

}  // namespace
