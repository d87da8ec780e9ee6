// Through real OpenGL, on demo level 1: while the interface is modal (a result board, the in-game
// menu) the darkening lies over everything of the level, the resource, goal and time boards too
// (they are drawn before it), so that only the open window stands out; once it closes the boards
// are as bright as before.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <vector>

#include "anim/anim_catalogue.h"
#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/map_factory.h"
#include "game/interface/interface.h"
#include "gfx/render.h"
#include "support/demo_copy.h"
#include "support/game_harness.h"
#include "support/gl_pixels.h"

namespace {

using testkit::GlUp;

std::vector<uint8_t> Frame(Game::cGameView& view, int& w) {
  grBeginScene();
  grFillRect(0, 0, kLogicalWidth, kLogicalHeight, 0xFF000000u);
  view.Draw();
  std::vector<uint8_t> f;
  int h = 0;
  EXPECT_TRUE(grReadFrame(f, w, h));
  grFlip(nullptr, nullptr);
  return f;
}

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

TEST(InterfaceModalGl, TheDarkeningCoversTheBoardsToo) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  const auto home = std::filesystem::current_path();
  if (testkit::EnterDemoCopy("demo_modal_gl").empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  testSettingsLoad("none.ini");
  ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue());
  {
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
  // The level and the run's factory go while the sprites they hold can still be let go.
  Game::EndLevel();
  Map::objectFactoryDestroy();
  Core::animManager().Clear();
  std::filesystem::current_path(home);
  iniFreeAll();
}

}  // namespace
