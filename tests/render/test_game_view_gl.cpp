// Through real OpenGL: the game view's cut-scene bars cover the top and the bottom of the screen
// by 100 pixels times the letterbox's progress, over whatever was drawn, and leave the rest.
#include <gtest/gtest.h>

#include "support/gl_required.h"

#include <vector>

#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "gfx/render.h"
#include "support/game_harness.h"
#include "support/gl_pixels.h"

namespace {

using testkit::At;
using testkit::GlUp;

// The frame the view draws over a white screen.
std::vector<uint8_t> Frame(Game::cGameView& view, int& w) {
  int h = 0;
  std::vector<uint8_t> f = testkit::DrawnFrame(0xFFFFFFFFu, [&view] { view.Draw(); }, w, h);
  EXPECT_EQ(h, kLogicalHeight);
  return f;
}

TEST(GameViewGl, CutSceneBarsGrowToAHundredPixelsTopAndBottom) {
  if (!GlUp()) MM_SKIP_WITHOUT_GL("no OpenGL offscreen context");
  iniFreeAll();
  testSettingsLoad("none.ini");
  testkit::LevelFiles files;
  files.balance = "[Main]\ntLevelTime=60000\nMinuteTime=1000\n";
  std::string error;
  // Level 6 opens with a cut-scene.
  ASSERT_TRUE(testkit::WriteTestLevel(6, files, &error)) << error;
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(6));
  Game::cGameView* view = Game::levelContext()->view;
  ASSERT_NE(view, nullptr);
  for (int i = 0; i < 10; ++i) view->Update(25);  // half open
  int w = 0;
  std::vector<uint8_t> f = Frame(*view, w);
  ASSERT_EQ(w, kLogicalWidth);
  EXPECT_LT(At(f, w, 512, 45).r, 30) << "50 rows of bar at the top";
  EXPECT_GT(At(f, w, 512, 55).r, 220);
  EXPECT_LT(At(f, w, 3, kLogicalHeight - 45).g, 30) << "and at the bottom";
  EXPECT_GT(At(f, w, 3, kLogicalHeight - 55).g, 220);
  for (int i = 0; i < 10; ++i) view->Update(25);  // open
  f = Frame(*view, w);
  EXPECT_LT(At(f, w, 1020, 95).b, 30);
  EXPECT_GT(At(f, w, 1020, 105).b, 220);
  EXPECT_LT(At(f, w, 700, kLogicalHeight - 95).r, 30);
  EXPECT_GT(At(f, w, 700, kLogicalHeight - 105).r, 220);
  EXPECT_GT(At(f, w, 512, 384).r, 220) << "the middle stays as drawn";
  // 3 s after the start the bars close again, and then nothing covers the screen.
  for (int i = 0; i < 3000 / 25; ++i) view->Update(25);
  EXPECT_EQ(view->letterbox(), Game::cGameView::kLetterboxOff);
  f = Frame(*view, w);
  EXPECT_GT(At(f, w, 512, 5).r, 220);
  EXPECT_GT(At(f, w, 512, kLogicalHeight - 5).r, 220);
}

}  // namespace
