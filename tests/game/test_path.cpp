// Path finding on small maps drawn in the tests: routes to themselves and to the outer ring, the
// cache in both directions and its ageing by the step clock, smoothing that keeps its ends and never
// cuts a wall, the test switches, obstacles that overlap or open a way (and the buildings that then
// become reachable), blockers for hints, unreachable distances and a long winding route.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game_test_util.h"
#include "support/level_harness.h"

using testkit::LevelHarness;

namespace {
// A grid of 103 x 77 cells drawn as text; walls are filled cell rectangles.
struct Canvas {
  std::vector<std::string> rows = std::vector<std::string>(kPathHeight, std::string(kPathWidth, '.'));
  Canvas& Wall(int cx0, int cy0, int cx1, int cy1, char c = '#') {
    for (int y = cy0; y <= cy1; ++y)
      for (int x = cx0; x <= cx1; ++x) rows[size_t(y)][size_t(x)] = c;
    return *this;
  }
  bool Blocked(int px, int py) const { return rows[size_t(py / 10)][size_t(px / 10)] == '#'; }
};

// Independent of the path finder: every pixel of every segment, stepped along the longer axis,
// lies outside the drawn walls.
// A line is walked from its end with the smaller coordinate along the longer axis, so a segment
// and its reverse visit the same pixels.
bool routeClearOf(const PathRoute& r, const Canvas& c) {
  for (size_t i = 1; i < r.size(); ++i) {
    PathPoint a = r[i - 1], b = r[i];
    const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
    if (steep ? a.y > b.y : a.x > b.x) std::swap(a, b);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const int n = int(std::max(std::fabs(dx), std::fabs(dy)));
    for (int k = 0; k <= n; ++k) {
      const double t = n ? double(k) / n : 0.0;
      if (c.Blocked(int(std::floor(a.x + dx * t + 0.5)), int(std::floor(a.y + dy * t + 0.5)))) return false;
    }
  }
  return true;
}

struct Path : gametest::CleanSlate {};

// A river down column 50 with one ford at rows 35 to 40, a barn on the west bank and a mill on the
// east bank. The gate, when made, blocks the ford.
struct River {
  Canvas canvas;
  LevelHarness h;
  Map::cObject* barn = nullptr;
  Map::cObject* mill = nullptr;
  Map::cObject* hut = nullptr;
  explicit River(bool gate) {
    canvas.Wall(50, 0, 50, 34).Wall(50, 41, 50, 76);
    h.SetGrid(canvas.rows);
    h.Record(Game::Event::BuildingReachable);
    barn = h.Add("building", "barn", "Barn", 200, 380);
    barn->supportPoints[0] = {0, 30};
    mill = h.Add("building", "FoodGenerator", "Mill", 800, 380);
    mill->supportCount = 2;
    mill->supportPoints[0] = {0, 200};  // far round the mill
    mill->supportPoints[1] = {-40, 0};
    hut = h.Add("building", "WarriorHut", "Hut", 300, 200);
    if (gate) {
      Map::cObject* g = h.Add("evilstone", "", "Gate", 505, 380);
      h.MakeObstacle(*g, 0, 0, 20, 40);
    }
  }
  int32_t Id(const char* tag) { return h.map.FindByTag(NameHash(tag))->id; }
};
}  // namespace

TEST_F(Path, ARouteToItselfAndGoalsInTheOuterRing) {
  LevelHarness h;
  PathRoute self = h.path.FindRoute({57, 52}, {57, 52});
  ASSERT_EQ(self.size(), 2u);
  EXPECT_EQ(self[0], (PathPoint{55, 55}));  // the centre of the point's cell
  EXPECT_EQ(self[1], self[0]);
  EXPECT_EQ(h.path.RouteLength({57, 52}, {57, 52}, kPathMaskStandard), 0);
  // The outermost ring of cells is never entered.
  for (PathPoint goal : {PathPoint{5, 300}, PathPoint{1025, 300}, PathPoint{500, 3}, PathPoint{500, 765}}) {
    EXPECT_TRUE(h.path.FindRoute({500, 300}, goal).empty()) << goal.x << "," << goal.y;
    EXPECT_EQ(h.path.RouteLength({500, 300}, goal, kPathMaskStandard), kPathUnreachable);
  }
  EXPECT_FALSE(h.path.FindRoute({500, 300}, {15, 300}).empty());  // the ring's inner neighbour is fine
  // Points off the map have no route and do not touch memory outside the grid.
  EXPECT_TRUE(h.path.FindRoute({-50, 300}, {500, 300}).empty());
  EXPECT_TRUE(h.path.FindRoute({500, 300}, {5000, 9000}).empty());
}

TEST_F(Path, ACachedRouteAnswersTheWayBackReversedWithoutASearch) {
  LevelHarness h;
  Canvas c;
  c.Wall(40, 20, 42, 70);
  h.SetGrid(c.rows);
  const PathPoint a{105, 605}, b{805, 205};
  PathRoute there = h.path.FindRoute(a, b);
  ASSERT_GT(there.size(), 2u);
  EXPECT_EQ(h.path.Searches(), 1u);
  PathRoute back = h.path.FindRoute(b, a);
  EXPECT_EQ(h.path.Searches(), 1u);
  ASSERT_EQ(back.size(), there.size());
  for (size_t i = 0; i < there.size(); ++i) EXPECT_EQ(back[i], there[there.size() - 1 - i]) << i;
  EXPECT_TRUE(h.path.FindRoute(a, b) == there);
  EXPECT_EQ(h.path.CacheHits(), 2u);
  // A request for blockers always searches, and a different mask is another route.
  std::vector<int32_t> blockers;
  PathRoute again;
  EXPECT_TRUE(h.path.FindRoute(a, b, kPathMaskStandard, &blockers, again));
  EXPECT_EQ(h.path.Searches(), 2u);
  h.path.FindRoute(a, b, kPathMaskStaticOnly);
  EXPECT_EQ(h.path.Searches(), 3u);
  // Two entries each for the first route and the other mask; a found route is stored also when
  // blockers were asked for (its reverse is held already).
  EXPECT_EQ(h.path.Cache().FreeCount(), cPathCache::kEntries - 5);
}

TEST_F(Path, SmoothingKeepsBothEndsAndNeverCutsAWallEvenOnOneRow) {
  LevelHarness h;
  Canvas c;
  c.Wall(50, 10, 51, 60).Wall(20, 30, 45, 31).Wall(60, 45, 90, 46);
  h.SetGrid(c.rows);
  // Both ends on the same row, with the wall between them: the straight line is not free.
  const PathPoint from{305, 355}, to{705, 355};
  EXPECT_FALSE(h.path.LineFree(from, to, kPathMaskStandard));
  PathRoute r = h.path.FindRoute(from, to);
  ASSERT_GT(r.size(), 2u);
  EXPECT_EQ(r.front(), from);
  EXPECT_EQ(r.back(), to);
  EXPECT_TRUE(routeClearOf(r, c));
  for (size_t i = 1; i < r.size(); ++i) EXPECT_TRUE(h.path.LineFree(r[i - 1], r[i], kPathMaskStandard)) << i;
  // An open line is one segment; vertical and horizontal lines are tested like any other.
  EXPECT_EQ(h.path.FindRoute({105, 105}, {405, 105}).size(), 2u);
  EXPECT_FALSE(h.path.LineFree({505, 50}, {505, 700}, kPathMaskStandard));
  EXPECT_TRUE(h.path.LineFree({495, 50}, {495, 700}, kPathMaskStandard));
  // Routes from every corner of the map to the middle keep their ends and stay clear.
  for (PathPoint p : {PathPoint{15, 15}, PathPoint{1005, 15}, PathPoint{15, 755}, PathPoint{1005, 755}}) {
    PathRoute q = h.path.FindRoute(p, {555, 355});
    ASSERT_FALSE(q.empty());
    EXPECT_EQ(q.front(), (PathPoint{p.x / 10 * 10 + 5, p.y / 10 * 10 + 5}));
    EXPECT_EQ(q.back(), (PathPoint{555, 355}));
    EXPECT_TRUE(routeClearOf(q, c));
  }
}

TEST_F(Path, TestSwitchesIgnorePathFindingOrObjectObstacles) {
  River river(true);
  LevelHarness& h = river.h;
  const PathPoint w{205, 385}, e{805, 385};
  EXPECT_TRUE(h.path.FindRoute(w, e).empty());
  gametest::writeFile("switch1.ini", "[main]\nGame_Map_Ignore_Path_Find=1\n");
  testSettingsLoad("switch1.ini");
  PathRoute straight = h.path.FindRoute({203, 388}, {812, 101});
  EXPECT_TRUE(straight == (PathRoute{{203, 388}, {812, 101}}));
  // Ignoring object obstacles lets persons through the gate, but never through the river.
  gametest::writeFile("switch2.ini", "[main]\nCame_Map_Ignore_Path_Obstacles=1\n");
  testSettingsLoad("switch2.ini");
  EXPECT_EQ(cPathFinder::PersonMask(), kPathMaskStaticOnly);
  PathRoute r;
  EXPECT_TRUE(h.path.FindRouteToObject(*river.barn, *river.mill, -1, r));
  EXPECT_TRUE(routeClearOf(r, river.canvas));
}

TEST_F(Path, ARemovedObstacleOpensTheWayAndAPendingBuildingIsAnnounced) {
  River river(true);
  LevelHarness& h = river.h;
  h.Ready();
  EXPECT_EQ(h.path.BarnId(), river.barn->id);
  // The hut on the barn's bank is announced at once; the mill waits behind the gate.
  ASSERT_EQ(h.CountOf(Game::Event::BuildingReachable), 1);
  EXPECT_EQ(h.Events()[0].objectId, river.hut->id);
  EXPECT_EQ(h.Events()[0].tag, int32_t(NameHash("Hut")));
  EXPECT_EQ(h.path.Pending(), (std::vector<int32_t>{river.mill->id}));
  PathRoute r;
  EXPECT_FALSE(h.path.FindRouteToObject(*river.barn, *river.mill, -1, r));
  // The blockers of the failed search name the gate, for the player's hint; nothing is cached.
  std::vector<int32_t> blockers;
  const int free = h.path.Cache().FreeCount();
  EXPECT_FALSE(h.path.FindRoute({200, 410}, {760, 380}, kPathMaskStandard, &blockers, r));
  EXPECT_EQ(blockers, (std::vector<int32_t>{river.Id("Gate")}));
  EXPECT_EQ(h.path.Cache().FreeCount(), free);

  h.map.Remove(river.Id("Gate"));
  ASSERT_EQ(h.CountOf(Game::Event::BuildingReachable), 2);
  EXPECT_EQ(h.Events()[1].objectId, river.mill->id);
  EXPECT_TRUE(h.path.Pending().empty());
  // The failing route is searched again (the cache was cleared) and goes through the ford to the
  // mill's nearer support point.
  ASSERT_TRUE(h.path.FindRouteToObject(*river.barn, *river.mill, -1, r));
  EXPECT_EQ(r.back(), (PathPoint{765, 385}));
  EXPECT_TRUE(routeClearOf(r, river.canvas));
  // A given support index is taken as asked (limited to the count).
  ASSERT_TRUE(h.path.FindRouteToObject(*river.barn, *river.mill, 7, r));
  EXPECT_EQ(r.back(), (PathPoint{765, 385}));
  ASSERT_TRUE(h.path.FindRouteToObject(*river.barn, *river.mill, 0, r));
  EXPECT_EQ(r.back(), (PathPoint{805, 585}));
  h.Tick();
  EXPECT_EQ(h.map.FindByTag(NameHash("Gate")), nullptr);
}

TEST_F(Path, OverlappingObstaclesKeepTheirCellsUntilTheLastIsGone) {
  River river(false);
  LevelHarness& h = river.h;
  Map::cObject* a = h.Add("evilstone", "", "A", 495, 380);
  Map::cObject* b = h.Add("evilstone", "", "B", 515, 380);
  h.MakeObstacle(*a, 0, 0, 20, 40);  // cells 47..51 x 34..41: the whole ford
  h.MakeObstacle(*b, 0, 0, 20, 40);  // cells 49..53 x 34..41
  EXPECT_EQ(h.path.Owner(50, 37), b->id);  // the later marking owns the shared cells
  const PathPoint w{205, 385}, e{805, 385};
  EXPECT_TRUE(h.path.FindRoute(w, e).empty());
  h.map.Remove(b->id);
  // A still covers the shared cells, and the ford stays shut.
  EXPECT_TRUE(h.path.Flags(50, 37) & kPathObjectBit);
  EXPECT_EQ(h.path.Owner(50, 37), a->id);
  EXPECT_FALSE(h.path.Flags(52, 40) & kPathObjectBit);
  EXPECT_TRUE(h.path.FindRoute(w, e).empty());
  h.map.Remove(a->id);
  EXPECT_EQ(h.path.Flags(50, 37), 0);
  EXPECT_EQ(h.path.Owner(50, 37), -1);
  EXPECT_FALSE(h.path.FindRoute(w, e).empty());
}

TEST_F(Path, UnreachableObjectsAreNeverTheNearest) {
  River river(true);
  LevelHarness& h = river.h;
  Map::cObject* nearButCut = h.Add("bonus", "food", "Near", 560, 380);  // just across the gate
  Map::cObject* farButOpen = h.Add("bonus", "food", "Far", 100, 750);
  nearButCut->supportPoints[0] = {0, 0};
  farButOpen->supportPoints[0] = {0, 0};
  EXPECT_EQ(h.path.ObjectDistance(river.barn, nearButCut), kPathUnreachable);
  EXPECT_EQ(h.path.ObjectDistance(river.barn, nullptr), kPathUnreachable);
  // From the barn's anchor (200, 380) to the bonus at (100, 750) in one straight segment between
  // the centres of their cells, (205, 385) and (105, 755): sqrt(100^2 + 370^2) = 383.3.
  EXPECT_EQ(h.path.ObjectDistance(river.barn, farButOpen), 383);
  EXPECT_EQ(h.path.NearestObject(river.barn, {nearButCut, farButOpen}), 1);
  EXPECT_EQ(h.path.NearestObject(river.barn, {nearButCut}), -1);
  h.map.Remove(river.Id("Gate"));
  EXPECT_EQ(h.path.ObjectDistance(river.barn, nearButCut), 360);  // along row 38 through the ford
  EXPECT_EQ(h.path.NearestObject(river.barn, {nearButCut, farButOpen}), 0);
}

TEST_F(Path, ALongWindingRouteCostsMoreThanSixteenBitsCanHold) {
  LevelHarness h;
  Canvas c;
  // Rows of wall every second row, each open at alternating ends: one corridor snakes over the map.
  for (int y = 2; y < kPathHeight - 2; y += 2) {
    if ((y / 2) % 2) c.Wall(1, y, kPathWidth - 3, y);
    else c.Wall(2, y, kPathWidth - 2, y);
  }
  h.SetGrid(c.rows);
  const PathPoint from{15, 15}, to{15, (kPathHeight - 2) * 10 + 5};
  PathRoute r = h.path.FindRoute(from, to);
  ASSERT_FALSE(r.empty());
  EXPECT_TRUE(routeClearOf(r, c));
  // 37 corridors of about 100 cells: well over 32767 in step costs and in pixels.
  const int32_t length = h.path.RouteLength(from, to, kPathMaskStandard);
  EXPECT_GT(length, 35000);
  EXPECT_LT(length, 40000);
}

TEST_F(Path, TheCacheAgesByTheStepClockAndKeepsBothDirections) {
  cPathCache cache;
  PathRoute r{{1, 1}, {2, 2}, {3, 3}};
  // 256 routes fill all 512 entries, route k stored at time k.
  for (int k = 0; k < 256; ++k) cache.Store({k, 0}, {k, 1}, 3, r, k);
  EXPECT_EQ(cache.FreeCount(), 0);
  cache.Store({900, 0}, {900, 1}, 3, r, 1000);
  // The two oldest entries (route 0 both ways) made room; route 1 is still there.
  EXPECT_EQ(cache.Find({0, 0}, {0, 1}, 3), nullptr);
  EXPECT_EQ(cache.Find({0, 1}, {0, 0}, 3), nullptr);
  ASSERT_NE(cache.Find({1, 1}, {1, 0}, 3), nullptr);
  const cPathCache::Entry* back = cache.Find({900, 1}, {900, 0}, 3);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->route[0], (PathPoint{3, 3}));
  EXPECT_EQ(cache.Find({900, 0}, {900, 1}, 1), nullptr);  // another mask
  // A route stored at the same step as the oldest others goes to the first of them.
  LevelHarness h;
  h.Tick();
  h.path.FindRoute({105, 105}, {205, 105});
  EXPECT_EQ(h.path.Cache().At(0).time, 25);
  EXPECT_EQ(h.path.Cache().At(1).time, 25);
  EXPECT_EQ(h.path.Cache().At(1).from, (PathPoint{205, 105}));
}
