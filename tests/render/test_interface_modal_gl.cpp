// Through real OpenGL, on demo level 1: while the interface is modal (a result board, the in-game
// menu) the darkening lies over everything of the level, the resource, goal and time boards too
// (they are drawn before it), so that only the open window stands out; once it closes the boards
// are as bright as before.
#include <gtest/gtest.h>

#include "demo_level_gl.h"
#include "support/gl_required.h"

#include <vector>

#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/interface/interface.h"
#include "gfx/render.h"
#include "support/game_harness.h"
#include "support/gl_pixels.h"

namespace {

// The summed brightness of a block of 8 x 8 pixels at (x, y).
long Light(const std::vector<uint8_t>& f, int w, int x, int y) {
  long sum = 0;
  for (int dy = 0; dy < 8; ++dy)
    for (int dx = 0; dx < 8; ++dx) {
      const testkit::Px p = testkit::At(f, w, x + dx, y + dy);
      sum += p.r + p.g + p.b;
    }
  return sum;
}

class InterfaceModalGl : public rendertest::DemoLevelGl {
 protected:
  const char* CopyName() const override { return "demo_modal_gl"; }
};

TEST_F(InterfaceModalGl, TheDarkeningCoversTheBoardsToo) {
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(1));
  h.Advance(40);
  Game::cGameView* view = Game::levelContext()->view;
  ASSERT_NE(view, nullptr);
  Interface::UIInterface* ui = view->interfaceWnd();
  ASSERT_NE(ui, nullptr);

  // A spot on each board (their places in data/interface/panels.ini) and one of the meadow.
  struct Spot {
    const char* what;
    int x, y;
  };
  const Spot spots[] = {{"resource board", 200, 12}, {"time board", 900, 60}, {"goal board", 800, 100},
                        {"meadow", 500, 600}};
  int w = 0;
  const std::vector<uint8_t> bright = Frame(*view, w);
  ASSERT_EQ(w, kLogicalWidth);
  ui->SetModal(true, false);
  const std::vector<uint8_t> dark = Frame(*view, w);
  for (const Spot& s : spots) {
    SCOPED_TRACE(s.what);
    const long before = Light(bright, w, s.x, s.y), after = Light(dark, w, s.x, s.y);
    ASSERT_GT(before, 64L * 60) << "something is drawn there";
    // The backdrop lets through (255 - 150) / 255 of what lies under it.
    EXPECT_LT(after, before * 50 / 100) << before << " -> " << after;
    EXPECT_GT(after, before * 30 / 100) << "darkened once, not blacked out";
  }
  ui->SetModal(false, false);
  const std::vector<uint8_t> again = Frame(*view, w);
  EXPECT_NEAR(double(Light(again, w, 200, 12)), double(Light(bright, w, 200, 12)), 64.0 * 3 * 4);
}

}  // namespace
