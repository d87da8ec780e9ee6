// The fog of war: ellipses opening and closing the grid (worked out by hand from the shading
// rule), zero radii, waves with their delay and growth, the last fade and what holds it back; the
// fog of a running level (start areas, a level without fog, a level from map.ini starting fresh or
// from its fog picture); and the strips the drawing covers.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "files/name_hash.h"
#include "game/core/fog.h"
#include "game/core/fog_picture.h"
#include "game/core/map_mask.h"
#include "game/core/map_tail.h"
#include "game/objects/building.h"
#include "game/objects/obstacles.h"
#include "game/objects/scenery_tree.h"
#include "game_test_util.h"
#include "obstacle_levels.h"
#include "gfx/image.h"
#include "support/game_harness.h"
#include "worker_level_util.h"

using Game::Event;
using Map::cFog;
using testkit::GameHarness;

namespace {

// A fog as a level with no fog picture leaves it: every vertex full.
struct FullFog : ::testing::Test {
  cFog fog;
  void SetUp() override { fog.LoadLevelFog("", "", nullptr); }
};

GameEvent areaEvent(Event code, int x, int y, int rx, int ry, int duration, int delay, int remove) {
  GameEvent e;
  MakeEvent(e, code);
  e.objectId = 7;
  e.x = x;
  e.y = y;
  e.value = rx;
  e.value2 = ry;
  e.extra[0] = duration;
  e.extra[1] = delay;
  e.extra[2] = remove;
  return e;
}

int countBelow(const cFog& f, int alpha) {
  int n = 0;
  for (int r = 0; r < cFog::kRows; ++r)
    for (int c = 0; c < cFog::kColumns; ++c) n += (f.Alpha(r, c, false) < alpha) + (f.Alpha(r, c, true) < alpha);
  return n;
}

// ---- Ellipses ----------------------------------------------------------------------------------

TEST_F(FullFog, ARevealClearsTheInsideAndShadesTowardsTheRim) {
  // Centre (505, 305) is the middle of its cell already. Vertex (500, 260) lies 5 left and 45 up:
  // with a radius r where 2050 / r^2 = 0.6 it sits at u = 0.6, and 1.125 x 0.4 x 255 = 114.75.
  const float r = std::sqrt(2050.0f / 0.6f);
  fog.SetAlpha(26, 52, false, 100);  // (520, 260): u = (15^2 + 45^2) / r^2 = 0.659, shade 131 > 100
  fog.ApplyEllipse({505, 305}, r, r, true);
  EXPECT_EQ(fog.Alpha(30, 50, false), 0) << "(500, 300): u = 0.015, inner part";
  EXPECT_EQ(fog.Alpha(26, 50, false), 114) << "(500, 260) at u = 0.6";
  EXPECT_EQ(fog.Alpha(26, 52, false), 100) << "a reveal never thickens the fog";
  EXPECT_EQ(fog.Alpha(30, 56, false), 198) << "(560, 300): u = 3050 / 3416.7 = 0.8927, 1.125 x 0.6927 x 255";
  EXPECT_EQ(fog.Alpha(30, 57, false), 255) << "(570, 300): outside";
  // The lower vertex of row 29 is the upper vertex of row 30: both at (500, 300).
  EXPECT_EQ(fog.Alpha(29, 50, true), 0);
}

TEST_F(FullFog, TheRimOfARevealStaysBelow230AndTheCentreMovesToItsCellMiddle) {
  // Radius 100 round (500, 300), moved to (505, 305): the vertex (600, 300) is 95 right and 5 up,
  // u = (9025 + 25) / 10000 = 0.905, shade trunc(1.125 x 0.705 x 255) = 202.
  fog.ApplyEllipse({500, 300}, 100, 100, true);
  EXPECT_EQ(fog.Alpha(30, 50, false), 0) << "the vertex it was centred on: u = 50 / 10000";
  EXPECT_EQ(fog.Alpha(30, 60, false), 202);
  // (410, 300): 95 left, the same.
  EXPECT_EQ(fog.Alpha(30, 41, false), 202);
  // (400, 300): 105 left, outside.
  EXPECT_EQ(fog.Alpha(30, 40, false), 255);
  int rim = 0;
  for (int r = 0; r < cFog::kRows; ++r)
    for (int c = 0; c < cFog::kColumns; ++c) {
      const int a = fog.Alpha(r, c, false);
      if (a != 255) EXPECT_LE(a, 229) << r << "," << c;
      rim += a > 0 && a < 255;
    }
  EXPECT_GT(rim, 20);
}

TEST_F(FullFog, AZeroRadiusOpensNothingAndLeavesNoBrokenValues) {
  fog.ApplyEllipse({505, 305}, 0, 0, true);
  fog.ApplyEllipse({505, 305}, 0, 50, true);
  fog.ApplyEllipse({505, 305}, 50, 0.0f, false);
  EXPECT_EQ(countBelow(fog, 255), 0);
  // Event 34 without a radius: nothing opens and it is not counted as an area.
  GameEvent e = areaEvent(Event::FogAreaOpens, 505, 305, 0, 0, 0, 0, 1);
  fog.OnEvent(e);
  EXPECT_EQ(fog.OpenedCount(), 0);
  EXPECT_EQ(countBelow(fog, 255), 0);
}

TEST_F(FullFog, AnAreaWithoutSecondRadiusOpensACircleAtOnce) {
  GameEvent e = areaEvent(Event::FogAreaOpens, 300, 300, 60, 0, 0, 0, 1);
  fog.OnEvent(e);
  EXPECT_EQ(fog.OpenedCount(), 1);
  EXPECT_TRUE(fog.Waves().empty());
  // Centre (305, 305); 45 right and 45 down of it are at the same distance: (350, 350) twice.
  EXPECT_EQ(fog.Alpha(34, 35, true), fog.Alpha(35, 35, false));
  // (350, 300) 45 right 5 up and (300, 350) 5 left 45 down: u = 2050 / 3600 = 0.5694, shade
  // 1.125 x 0.3694 x 255 = 105.98.
  EXPECT_EQ(fog.Alpha(30, 35, false), 105);
  EXPECT_EQ(fog.Alpha(35, 30, false), 105);
  EXPECT_FALSE(fog.IsFogged(305, 305));
}

TEST_F(FullFog, ClosingFogsTheInsideAndLeavesClearAndDeeperVerticesAlone) {
  fog.ApplyEllipse({505, 305}, 200, 200, true);  // a clear hole of radius ~89 (u < 0.2)
  fog.SetAlpha(30, 51, false, 40);               // (510, 300): half clear, inside the hole
  fog.SetAlpha(30, 50, false, 0);
  fog.SetAlpha(30, 49, false, 60);
  // Closing with radius 100: (510, 300) and (490, 300) are in the inner part, fully fogged again;
  // (500, 300) stays clear.
  fog.ApplyEllipse({505, 305}, 100, 100, false);
  EXPECT_EQ(fog.Alpha(30, 51, false), 255);
  EXPECT_EQ(fog.Alpha(30, 50, false), 0);
  EXPECT_EQ(fog.Alpha(30, 49, false), 255);
  // Closing over full fog round (205, 605): (290, 600) and (120, 600) lie at u = 7250 / 10000,
  // where the closing shade is (1 - 1.125 x 0.525) x 255 = 104.4. A thinner vertex thickens to it;
  // the full one is not thinned.
  fog.SetAlpha(60, 29, false, 50);
  fog.ApplyEllipse({205, 605}, 100, 100, false);
  EXPECT_EQ(fog.Alpha(60, 29, false), 104);
  EXPECT_EQ(fog.Alpha(60, 12, false), 255);
}

TEST_F(FullFog, PointsOutsideTheGridAreFoggedAndOnlyNearlyFullVerticesFogAPoint) {
  fog.ApplyEllipse({505, 305}, 300, 300, true);
  EXPECT_TRUE(fog.IsFogged(-1, 300));
  EXPECT_TRUE(fog.IsFogged(300, -1));
  EXPECT_TRUE(fog.IsFogged(1040, 300));
  EXPECT_TRUE(fog.IsFogged(300, 780));
  EXPECT_FALSE(fog.IsFogged(505, 305));
  fog.SetAlpha(10, 10, false, 246);
  fog.SetAlpha(10, 11, false, 245);
  EXPECT_TRUE(fog.IsFogged(109, 105)) << "255 - 246 = 9, below 10";
  EXPECT_FALSE(fog.IsFogged(110, 105)) << "255 - 245 = 10";
  // The last vertex column and row still belong to the grid.
  EXPECT_TRUE(fog.IsFogged(1039, 779));
  fog.SetAlpha(77, 103, false, 0);
  EXPECT_FALSE(fog.IsFogged(1039, 779));
}

// ---- Waves and the last fade -------------------------------------------------------------------

TEST_F(FullFog, AWaveWaitsItsDelayThenGrowsFromZeroAndLeaves) {
  fog.SetAreaCount(2);
  GameEvent e = areaEvent(Event::FogAreaOpens, 505, 305, 100, 100, 100, 50, 1);
  fog.OnEvent(e);
  ASSERT_EQ(fog.Waves().size(), 1u);
  fog.UpdateTimers(25);
  EXPECT_EQ(countBelow(fog, 255), 0) << "still waiting";
  fog.UpdateTimers(25);  // the delay has passed: the radii start at 0 and nothing opens yet
  EXPECT_EQ(countBelow(fog, 255), 0);
  fog.UpdateTimers(50);  // half way: radius 50, (500, 300) clear, (540, 300) (u = 0.5) shaded
  EXPECT_EQ(fog.Alpha(30, 50, false), 0);
  EXPECT_EQ(fog.Alpha(30, 54, false), int(1.125 * (1250.0 / 2500 - 0.2) * 255));
  EXPECT_EQ(fog.Alpha(30, 57, false), 255) << "(570, 300) is outside radius 50";
  ASSERT_EQ(fog.Waves().size(), 1u);
  fog.UpdateTimers(50);  // full radius: removed
  EXPECT_TRUE(fog.Waves().empty());
  EXPECT_EQ(fog.Alpha(30, 54, false), 0) << "u = 0.125 at radius 100";
  EXPECT_FALSE(fog.AllOpened()) << "one area of two";
  EXPECT_FALSE(fog.Fading());
}

TEST_F(FullFog, AWaveWithoutASecondRadiusGrowsACircleAndOneWithoutAFirstOpensNothing) {
  fog.SetAreaCount(3);
  GameEvent circle = areaEvent(Event::FogAreaOpens, 505, 305, 100, 0, 100, 0, 1);
  GameEvent flat = areaEvent(Event::FogAreaOpens, 205, 605, 0, 100, 100, 0, 1);
  fog.OnEvent(circle);
  fog.OnEvent(flat);
  EXPECT_EQ(fog.OpenedCount(), 1) << "an area without its first radius is no area";
  ASSERT_EQ(fog.Waves().size(), 2u);
  for (int i = 0; i < 4; ++i) fog.UpdateTimers(25);
  EXPECT_TRUE(fog.Waves().empty());
  // Radius 100 both ways round (505, 305): (500, 390) lies 5 left and 85 down, u = 0.725, shade
  // trunc(1.125 x 0.525 x 255) = 150, and (590, 300) the same sideways.
  EXPECT_EQ(fog.Alpha(39, 50, false), 150);
  EXPECT_EQ(fog.Alpha(30, 59, false), 150);
  // Nothing opened round the second centre, and no vertex anywhere holds a value past the range.
  EXPECT_EQ(fog.Alpha(60, 20, false), 255);
  EXPECT_EQ(fog.Alpha(59, 20, true), 255);
  EXPECT_FALSE(fog.AllOpened());
}

TEST_F(FullFog, TheFadeStartsOnlyAfterTheLastAreaAndEveryWave) {
  fog.SetAreaCount(2);
  GameEvent a = areaEvent(Event::FogAreaOpens, 205, 205, 60, 60, 100, 0, 1);
  GameEvent b = areaEvent(Event::FogAreaOpens, 805, 505, 60, 60, 200, 0, 1);
  fog.OnEvent(a);
  fog.OnEvent(b);
  EXPECT_EQ(fog.OpenedCount(), 2);
  for (int i = 0; i < 4; ++i) fog.UpdateTimers(25);  // the first wave ends with both counted
  EXPECT_TRUE(fog.AllOpened());
  EXPECT_EQ(fog.Waves().size(), 1u);
  EXPECT_FALSE(fog.Fading()) << "a wave still runs";
  EXPECT_EQ(fog.Alpha(0, 0, false), 255);
  for (int i = 0; i < 4; ++i) fog.UpdateTimers(25);
  EXPECT_TRUE(fog.Waves().empty());
  EXPECT_TRUE(fog.Fading());
  // The step that starts the fade already fades: 255 x 0.95 = 242.25, then 229.9, then 218.4.
  EXPECT_EQ(fog.Alpha(0, 0, false), 242);
  fog.UpdateTimers(25);
  EXPECT_EQ(fog.Alpha(0, 0, false), 229);
  fog.UpdateTimers(25);
  EXPECT_EQ(fog.Alpha(0, 0, false), 217) << "229 x 0.95 = 217.55";
  for (int i = 0; i < 200; ++i) fog.UpdateTimers(25);
  EXPECT_EQ(countBelow(fog, 1), 2 * cFog::kRows * cFog::kColumns) << "gone entirely";
}

TEST_F(FullFog, AHiddenFogDoesNotFadeAndACloseWaveIsAlwaysRemoved) {
  fog.SetAreaCount(1);
  GameEvent a = areaEvent(Event::FogAreaOpens, 205, 205, 60, 60, 0, 0, 1);
  fog.OnEvent(a);
  // The totem's closing: radii 1000, 2000 ms, 50 ms delay, even when the flag says keep it.
  GameEvent c = areaEvent(Event::FogAreaCloses, 905, 605, 1000, 1000, 2000, 50, 0);
  fog.OnEvent(c);
  fog.SetHidden(true);
  for (int i = 0; i < 90; ++i) fog.UpdateTimers(25);
  EXPECT_TRUE(fog.Waves().empty());
  EXPECT_TRUE(fog.Fading());
  EXPECT_EQ(fog.Alpha(0, 0, false), 255) << "hidden: no fade";
  EXPECT_EQ(fog.Alpha(20, 20, false), 0) << "the closing left the clear hole clear";
  fog.SetHidden(false);
  fog.UpdateTimers(25);
  EXPECT_EQ(fog.Alpha(0, 0, false), 242);
}

TEST_F(FullFog, AWaveThatKeepsRunningHoldsTheFadeBack) {
  fog.SetAreaCount(1);
  GameEvent e = areaEvent(Event::FogAreaOpens, 505, 305, 40, 40, 50, 0, 0);
  fog.OnEvent(e);
  for (int i = 0; i < 10; ++i) fog.UpdateTimers(25);
  ASSERT_EQ(fog.Waves().size(), 1u);
  EXPECT_TRUE(fog.Waves()[0].done);
  EXPECT_TRUE(fog.AllOpened());
  EXPECT_FALSE(fog.Fading());
  EXPECT_EQ(fog.Alpha(0, 0, false), 255);
}

TEST(FogLoad, OpacitiesComeFromTheMapAndANewLevelForgetsTheLastOne) {
  cFog fog;
  EXPECT_EQ(fog.layer, -50);
  EXPECT_FALSE(fog.Has(Map::kFlagClickable));
  EXPECT_FALSE(fog.Has(Map::kFlagFreeOnRemove) || fog.Has(Map::kFlagDestroyOnRemove));
  EXPECT_TRUE(fog.IsFogged(500, 300)) << "full before any level";
  MapFog block;
  block.Fill(1.0f);
  block.alpha[30][50][0] = 0.5f;  // 127.5
  block.alpha[30][50][1] = 0.0f;
  block.alpha[31][50][0] = 0.999f;  // 254.7
  fog.LoadLevelFog("", "", &block);
  EXPECT_EQ(fog.Alpha(30, 50, false), 127);
  EXPECT_EQ(fog.Alpha(30, 50, true), 0);
  EXPECT_EQ(fog.Alpha(31, 50, false), 254);
  EXPECT_FALSE(fog.HasBackground());
  fog.SetAreaCount(1);
  GameEvent e = areaEvent(Event::FogAreaOpens, 505, 305, 40, 40, 500, 0, 1);
  fog.OnEvent(e);
  fog.LoadLevelFog("", "", nullptr);
  EXPECT_EQ(fog.Alpha(30, 50, false), 255);
  EXPECT_EQ(fog.OpenedCount(), 0);
  EXPECT_TRUE(fog.Waves().empty());
}

TEST(FogDraw, StripsCoverTheQuadsThatTouchSomeFog) {
  cFog fog;
  MapFog clear;
  clear.Fill(0.0f);
  fog.LoadLevelFog("", "", &clear);
  EXPECT_TRUE(fog.Runs(10).empty());
  fog.SetAlpha(10, 20, false, 30);  // quads 19 and 20 touch it
  fog.SetAlpha(10, 40, true, 30);
  fog.SetAlpha(10, 41, false, 30);  // quads 39, 40 and 41
  fog.SetAlpha(10, 103, true, 1);   // the last quad, 102
  const std::vector<std::pair<int, int>> want = {{19, 20}, {39, 41}, {102, 102}};
  EXPECT_EQ(fog.Runs(10), want);
  EXPECT_TRUE(fog.Runs(11).empty()) << "the row below has its own upper vertices";
  EXPECT_TRUE(fog.Runs(-1).empty());
  EXPECT_TRUE(fog.Runs(cFog::kRows).empty());
}

// ---- The fog of a running level ----------------------------------------------------------------

struct LevelFog : gametest::LevelSlate {
  void TearDown() override {
    Map::fogSetStandIn(nullptr);
    gametest::LevelSlate::TearDown();
  }
};

std::string balance(int isFog) {
  return "[Main]\ntLevelTime=1000000\nMinuteTime=60000\nbIsFog=" + std::to_string(isFog) +
         "\n[Resources]\nWorker=0\nFood=50\nOre=20\n[ResourcesMax]\nFood=100\nOre=100\nGold=100\n"
         "[ResourceHarvest]\nFood=1\nOre=1\nGold=1\n";
}

// A stone that opens a circle of 100 round (400, 300) when the level starts, and a cottage site
// whose area waits for its building.
const char* kFogMap =
    "[Stone]\ntype=stone\nx=380\ny=320\nisFogArea=1\nfogAreaDeltaX=20\nfogAreaDeltaY=-20\nfogAreaRadius=100\n"
    "[Cottage]\ntype=building\nsubType=Cottage\nx=800\ny=500\nboundXS=30\nboundYS=30\nstate=1\n"
    "isFogArea=1\nfogAreaRadius=60\n";

bool startLevel(GameHarness& h, int n, const std::string& balanceText, const std::string& map,
                const std::string& test = "") {
  testkit::LevelFiles f;
  f.balance = balanceText;
  f.map = map;
  f.test = test;
  return gametest::startWithWorker(h, n, f);
}

TEST_F(LevelFog, TheLevelOwnsItsFogAndOpensTheStartAreas) {
  EXPECT_EQ(Map::levelFog(), nullptr);
  EXPECT_FALSE(Map::fogCovers(400, 300)) << "no level, no fog";
  GameHarness h;
  ASSERT_TRUE(startLevel(h, 160, balance(1), kFogMap));
  cFog* fog = Map::levelFog();
  ASSERT_NE(fog, nullptr);
  EXPECT_EQ(h.map().FindById(fog->id), fog) << "on the level's map";
  EXPECT_EQ(fog->AreaCount(), 2);
  const GameEvent* opened = h.Last(Event::FogAreaOpens);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 1) << "the site's area waits for its building";
  EXPECT_EQ(opened->x, 400);
  EXPECT_EQ(opened->y, 300);
  EXPECT_EQ(fog->OpenedCount(), 1);
  EXPECT_FALSE(h.map().FindByTag(NameHash("Stone"))->Has(Map::kFlagFogArea));
  EXPECT_TRUE(h.map().FindByTag(NameHash("Cottage"))->Has(Map::kFlagFogArea));
  EXPECT_FALSE(Map::fogCovers(400, 300));
  EXPECT_TRUE(Map::fogCovers(800, 500));
  EXPECT_TRUE(Map::fogCovers(-5, 300));
  h.Advance(10);
  EXPECT_FALSE(fog->Fading()) << "one area of two";
  Game::EndLevel();
  EXPECT_EQ(Map::levelFog(), nullptr);
}

TEST_F(LevelFog, ALevelWithoutFogHidesItAndOpensNothing) {
  GameHarness h;
  ASSERT_TRUE(startLevel(h, 161, balance(0), kFogMap));
  ASSERT_NE(Map::levelFog(), nullptr);
  EXPECT_TRUE(Map::levelFog()->Has(Map::kFlagHidden));
  EXPECT_FALSE(Map::fogCovers(800, 500));
  EXPECT_FALSE(Map::fogCovers(-5, 300));
  EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 0);
}

// The left half of the map clear, the right half under full fog, as a picture of the map's size.
void writeHalfClearPicture(const std::string& path) {
  std::vector<uint8_t> rgba(size_t(1024) * 768 * 4, 255);
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 512; ++x)
      for (int k = 0; k < 3; ++k) rgba[(size_t(y) * 1024 + x) * 4 + k] = 0;
  ASSERT_TRUE(imgSavePNG(path.c_str(), rgba.data(), 1024, 768));
}

TEST_F(LevelFog, AnIniLevelStartsFromItsOwnFogNotTheLastLevels) {
  {
    GameHarness h;
    ASSERT_TRUE(startLevel(h, 162, balance(1), kFogMap));
    EXPECT_FALSE(Map::fogCovers(400, 300));
  }
  // The same map kept as map.ini alone: full fog again, with the stone's circle opened anew.
  testkit::LevelFiles f;
  f.balance = balance(1);
  f.map = "[Far]\ntype=stone\nx=900\ny=100\nisFogArea=1\nfogAreaRadius=50\n";
  f.test = "[main]\nGame_No_Binary_Load=1\n";
  ASSERT_TRUE(testkit::WriteTestLevel(163, f));
  std::filesystem::remove("dataTest/maps/163/map.bin");
  std::filesystem::remove("dataTest/maps/163/fog.png");  // written below by an earlier run
  {
    GameHarness h;
    ASSERT_TRUE(h.Load(163));
    EXPECT_TRUE(Map::fogCovers(400, 300)) << "the last level's opening is not carried over";
    EXPECT_FALSE(Map::fogCovers(900, 100));
  }
  // With a fog picture beside map.ini: black is clear.
  writeHalfClearPicture("dataTest/maps/163/fog.png");
  {
    GameHarness h;
    ASSERT_TRUE(h.Load(163));
    EXPECT_FALSE(Map::fogCovers(100, 400));
    EXPECT_FALSE(Map::fogCovers(515, 400)) << "vertex (510, 400) samples pixel 510";
    EXPECT_TRUE(Map::fogCovers(525, 400)) << "vertex (520, 400) samples pixel 520";
    EXPECT_TRUE(Map::fogCovers(700, 400));
  }
}

TEST_F(LevelFog, TheStartLeavesWorkToTheWorkAndABuiltHouseOpensAtOnce) {
  const std::string map = std::string(kFogMap) +
                          "[House]\ntype=building\nsubType=House\nx=200\ny=600\nstate=0\nisFogArea=1\n"
                          "fogAreaRadius=40\n";
  GameHarness h;
  ASSERT_TRUE(startLevel(h, 164, balance(1), map));
  EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 2);
  EXPECT_EQ(Map::levelFog()->AreaCount(), 3);
  EXPECT_FALSE(Map::fogCovers(200, 600));
  auto* site = dynamic_cast<Map::cBuilding*>(h.map().FindByTag(NameHash("Cottage")));
  ASSERT_NE(site, nullptr);
  // Built at last (as the work ends): its area opens then.
  site->OnBuilt(false);
  EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 3);
  EXPECT_FALSE(Map::fogCovers(800, 500));
  // Every area opened, no wave: the rest fades away.
  h.Advance(2);
  EXPECT_TRUE(Map::levelFog()->Fading());
}

TEST_F(LevelFog, ObjectsStartingOnTheMapAlreadySeeTheLevelsFog) {
  // Trees take their fog as the map starts, before any update: one in the clear half, one under
  // the fog; on a level without fog neither is fogged.
  const std::string trees = "[Clear]\ntype=simple\nsubType=tree\nx=200\ny=400\n"
                            "[Misty]\ntype=simple\nsubType=tree\nx=800\ny=400\n";
  testkit::LevelFiles f;
  f.balance = balance(1);
  f.map = trees;
  f.test = "[main]\nGame_No_Binary_Load=1\n";
  ASSERT_TRUE(testkit::WriteTestLevel(167, f));
  std::filesystem::remove("dataTest/maps/167/map.bin");
  writeHalfClearPicture("dataTest/maps/167/fog.png");
  {
    GameHarness h;
    ASSERT_TRUE(h.Load(167));
    auto* clear = dynamic_cast<Map::cTree*>(h.map().FindByTag(NameHash("Clear")));
    auto* misty = dynamic_cast<Map::cTree*>(h.map().FindByTag(NameHash("Misty")));
    ASSERT_TRUE(clear && misty);
    EXPECT_FALSE(clear->Fogged());
    EXPECT_TRUE(misty->Fogged());
  }
  f.balance = balance(0);
  ASSERT_TRUE(testkit::WriteTestLevel(167, f));
  GameHarness h;
  ASSERT_TRUE(h.Load(167));
  auto* misty = dynamic_cast<Map::cTree*>(h.map().FindByTag(NameHash("Misty")));
  ASSERT_NE(misty, nullptr);
  EXPECT_FALSE(misty->Fogged()) << "a hidden fog covers nothing, from the map's start on";
}

struct FogTotem : obstest::Level {};

TEST_F(FogTotem, ADestroyedTotemWithAFogAreaOpensItAndLetsTheFogFade) {
  // The totem stays on the map when destroyed; its area is the level's only one.
  std::string bal = obstest::balance(1, 0, 0, 0);
  bal.replace(bal.find("[Main]\n"), 7, "[Main]\nbIsFog=1\n");
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 168,
                            "[Totem1]\ntype=totem\nx=300\ny=300\nboundXS=20\nboundYS=20\nsupportY=30\n"
                            "Person_Repair_Time=500\nisFogArea=1\nfogAreaRadius=120\n",
                            bal));
  auto* totem = obstest::byName<Map::cTotem>(h, "Totem1");
  ASSERT_NE(totem, nullptr);
  cFog* fog = Map::levelFog();
  ASSERT_NE(fog, nullptr);
  EXPECT_EQ(fog->AreaCount(), 1);
  EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 0) << "worked on: it waits for its work";
  EXPECT_TRUE(Map::fogCovers(300, 300));
  h.Action(2, totem->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::TotemDestroyed));
  ASSERT_EQ(h.CountOf(Event::FogAreaOpens), 1);
  EXPECT_EQ(h.Last(Event::FogAreaOpens)->objectId, totem->id);
  EXPECT_FALSE(Map::fogCovers(300, 300));
  EXPECT_EQ(fog->OpenedCount(), 1);
  h.Advance(2);
  EXPECT_TRUE(fog->Fading());
}

TEST_F(LevelFog, ThePictureReadsAsTheMapCompilerReadsIt) {
  // 104 x 79 vertices, a grey ramp with some transparent pixels.
  std::vector<uint8_t> rgba(size_t(104) * 79 * 4);
  for (int y = 0; y < 79; ++y)
    for (int x = 0; x < 104; ++x) {
      uint8_t* p = &rgba[(size_t(y) * 104 + x) * 4];
      p[0] = uint8_t(x * 2);
      p[1] = uint8_t(y * 3);
      p[2] = uint8_t((x + y) % 256);
      p[3] = (x + y) % 7 == 0 ? 0 : 255;
    }
  ASSERT_TRUE(imgSavePNG("fogpic.png", rgba.data(), 104, 79));
  MapFog a, b;
  ASSERT_TRUE(fogReadPicture("fogpic.png", a));
  std::string error;
  ASSERT_TRUE(mapFogFromPng("fogpic.png", b, &error)) << error;
  int differ = 0;
  for (int r = 0; r < kFogRows; ++r)
    for (int c = 0; c < kFogColumns; ++c)
      for (int k = 0; k < 2; ++k) differ += a.alpha[r][c][k] != b.alpha[r][c][k];
  EXPECT_EQ(differ, 0);
  EXPECT_EQ(a.alpha[0][0][0], 0.0f) << "transparent";
  // A broken picture: refused with a line naming it, the opacities left as they were.
  gametest::clearGerr();
  gametest::writeFile("broken_fog.png", "\x89PNG not really");
  EXPECT_FALSE(fogReadPicture("broken_fog.png", a));
  EXPECT_NE(gametest::gerrText().find("broken_fog.png"), std::string::npos);
  EXPECT_FALSE(fogReadPicture("missing.png", a));
  EXPECT_EQ(a.alpha[0][1][0], b.alpha[0][1][0]);
}

TEST_F(LevelFog, AStandInAnswersOnlyWhileNoLevelRuns) {
  cFog fog;
  fog.LoadLevelFog("", "", nullptr);
  Map::fogSetStandIn(&fog);
  EXPECT_EQ(Map::levelFog(), &fog);
  EXPECT_TRUE(Map::fogCovers(10, 10));
  fog.ApplyEllipse({5, 5}, 40, 40, true);
  EXPECT_FALSE(Map::fogCovers(10, 10));
  fog.SetHidden(true);
  EXPECT_FALSE(Map::fogCovers(10, 10)) << "hidden";
  fog.SetHidden(false);
  GameHarness h;
  ASSERT_TRUE(startLevel(h, 165, balance(0), ""));
  EXPECT_NE(Map::levelFog(), &fog);
}

}  // namespace
