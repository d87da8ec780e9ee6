// Debug drawings of the map on the null renderer: support points, fog ellipses, the path grid and
// the cache statistics each draw what they show and nothing for what is switched off.
#include <gtest/gtest.h>

#include "files/ini.h"
#include "game/core/game_main.h"
#include "gfx/render.h"
#include "support/level_harness.h"
#include "support/null_renderer.h"

namespace {
// Polygons drawn by `draw` within one frame.
template <class Fn>
int polygonsOf(Fn draw) {
  grBeginScene();
  grFlip(nullptr, nullptr);
  grBeginScene();
  draw();
  grSetClip(0, 0, 1024, 768);  // flushes the batch
  const int n = grStatistic(kStatPolygons);
  grFlip(nullptr, nullptr);
  return n;
}
}  // namespace

TEST(MapDebug, ShapesFollowTheDebugBitsAndTheGridItsFlags) {
  ASSERT_TRUE(testkit::StartNullRenderer("map debug"));
  testSettingsLoad("none.ini");
  testkit::LevelHarness h;
  Map::cObject* o = h.Add("simple", "", "Dbg", 300, 300);
  o->supportCount = 3;
  o->fogRadiusX = 40;
  EXPECT_EQ(polygonsOf([&] { h.map.DrawAll({}); }), 0);  // nothing to show, no animation
  o->debugShow = Map::kShowSupport;
  EXPECT_EQ(polygonsOf([&] { h.map.DrawAll({}); }), 3 * 2);  // a square per support point
  o->debugShow = Map::kShowFogArea;
  EXPECT_EQ(polygonsOf([&] { h.map.DrawAll({}); }), 200 * 2);  // the ellipse's dots
  o->debugShow = Map::kShowBound;
  EXPECT_GT(polygonsOf([&] { h.map.DrawAll({}); }), 0);

  std::vector<std::string> rows(5, std::string(10, '.'));
  rows[1][2] = rows[3][4] = rows[3][5] = '#';
  h.SetGrid(rows);
  // The object's rectangle 295..305 is walked at pixels 295 and 300 on both axes: cells 29 and 30.
  h.MakeObstacle(*o, 0, 0, 5, 5);
  EXPECT_EQ(polygonsOf([&] { h.path.DrawGrid(); }), (3 + 4) * 2);
  EXPECT_GT(polygonsOf([&] { h.path.DrawCacheStatistics(); }), 2);
}
