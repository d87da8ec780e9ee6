// The in-game panels over a level run headless: the resource panel following the stock and its
// events, the numbers flying up from the map, the goal panel's rows and ticks, the time panel
// against the gold and silver times, and clicks on the boards kept off the map.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "files/name_hash.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/level_files.h"
#include "game/interface/interface.h"
#include "obstacle_levels.h"

using Game::Event;
using testkit::GameHarness;

namespace {
struct Panels : obstest::Level {};

// Food 10 of 30, Ore never harvested (so off), Gold 0 of 40; 4 minutes, gold under 1:30, silver
// under 2:30.
std::string balance() {
  return "[Main]\ntLevelTime=240000\ntGoldTime=90000\ntSilverTime=150000\nMinuteTime=60000\n"
         "[Resources]\nWorker=1\nFood=10\nOre=0\nGold=0\n"
         "[ResourcesMax]\nWorker=5\nFood=30\nOre=30\nGold=40\n"
         "[ResourceHarvest]\nFood=1\nOre=0\nGold=1\n";
}

bool loadPanels(GameHarness& h, int n, const std::string& tasks = "") {
  testkit::LevelFiles f;
  f.balance = balance();
  f.map = obstest::kBarn;
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  std::ofstream(levelTaskPath(n), std::ios::binary) << tasks;
  if (!h.Load(n)) return false;
  h.Action(1);
  return true;
}

Interface::UIInterface& ui() {
  Game::LevelContext* c = Game::levelContext();
  static Interface::UIInterface none;
  if (!c || !c->view || !c->view->interfaceWnd()) {
    ADD_FAILURE() << "the level has no interface";
    return none;
  }
  return *c->view->interfaceWnd();
}

// Steps the level and the interface together, as the view does.
void run(GameHarness& h, int steps) {
  for (int i = 0; i < steps; ++i) {
    h.Advance(1);
    ui().Update(25);
  }
}

void postAbout(Event code, const char* tag) {
  GameEvent e;
  MakeEvent(e, code);
  e.tag = int32_t(NameHash(tag));
  Post(Game::levelContext()->dispatcher.get(), e);
}
}  // namespace

TEST_F(Panels, TheResourcePanelFollowsTheStockAndFlagsAFullStoreAtTheLevelsOwnMaximum) {
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 401));
  const Interface::cResourcePanel& r = ui().resources();
  EXPECT_EQ(r.Text(Game::kFood), "10/30");
  EXPECT_EQ(r.Text(Game::kGold), "0/40");
  EXPECT_TRUE(r.Visible(Game::kFood));
  EXPECT_TRUE(r.Visible(Game::kWorker));
  EXPECT_FALSE(r.Visible(Game::kOre));  // not harvested in this level: never on the board
  EXPECT_FALSE(r.AtMaximum(Game::kFood));

  ASSERT_TRUE(h.stock().SpendResource(Game::kFood, 4));
  EXPECT_EQ(r.Text(Game::kFood), "6/30");
  h.stock().AddResource(Game::kGold, 7, true);
  EXPECT_EQ(r.Text(Game::kGold), "7/40");

  // Full at 30 for Food, but 30 Gold of 40 is not full: the flag follows each resource's maximum.
  h.stock().AddResource(Game::kFood, 100, true);
  h.stock().AddResource(Game::kGold, 23, true);
  EXPECT_EQ(r.Text(Game::kFood), "30/30");
  EXPECT_TRUE(r.AtMaximum(Game::kFood));
  EXPECT_EQ(r.Text(Game::kGold), "30/40");
  EXPECT_FALSE(r.AtMaximum(Game::kGold));
  h.stock().AddResource(Game::kGold, 10, true);
  EXPECT_TRUE(r.AtMaximum(Game::kGold));
}

TEST_F(Panels, AnAddedResourceFliesUpFromWhereItWasAddedAndEnds) {
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 402));
  const Interface::cResourcePanel& r = ui().resources();
  EXPECT_TRUE(r.Flying().empty());  // the starting stock does not fly
  h.stock().AddResource(Game::kFood, 5, true, 320, 240);
  ASSERT_EQ(r.Flying().size(), 1u);
  EXPECT_EQ(r.Flying()[0].amount, 5);
  EXPECT_EQ(r.Flying()[0].resource, Game::kFood);
  EXPECT_EQ(r.Flying()[0].x, 320);
  EXPECT_EQ(r.Flying()[0].y, 240);
  EXPECT_GT(r.Slot(Game::kFood).flashMs, 0);
  ui().Draw();  // drawn mid-flight without a fault

  // 1200 ms of life in 25 ms steps: still there after 47 steps, gone after 48.
  run(h, 47);
  EXPECT_EQ(r.Flying().size(), 1u);
  run(h, 1);
  EXPECT_TRUE(r.Flying().empty());
  EXPECT_EQ(r.Slot(Game::kFood).flashMs, 0);
}

TEST_F(Panels, AnOrderThatLacksResourcesMarksWhatIsMissingForAWhile) {
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 403));
  const Interface::cResourcePanel& r = ui().resources();
  GameEvent e;
  MakeEvent(e, Event::ResourceMissing);
  e.index = Game::kGold;
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_GT(r.Slot(Game::kGold).hintMs, 0);
  EXPECT_EQ(r.Slot(Game::kFood).hintMs, 0);
  EXPECT_TRUE(r.HintActive());
  run(h, Interface::cResourcePanel::kHintMs / 25);
  EXPECT_FALSE(r.HintActive());
}

TEST_F(Panels, TheGoalPanelListsVisibleGoalsInOrderAndTicksTheCompletedOnes) {
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 404,
                         "[Food]\norder=1\ntype=collectResource\nresource=food\nresourceValue=20\n"
                         "[Bridge]\norder=2\ntype=repair\nobjectTag=OldBridge\n"
                         "[Well]\norder=3\ntype=repair\nobjectTag=Well\nisHidden=1\nappearTask=Bridge\n"));
  run(h, 1);
  const Interface::cGoalPanel& g = ui().goals();
  ASSERT_EQ(g.Rows().size(), 2u);  // the hidden well is not listed yet
  EXPECT_EQ(g.Rows()[0].label, "Food");
  EXPECT_EQ(g.Rows()[0].progress, "10/20");
  EXPECT_FALSE(g.Rows()[0].done);
  EXPECT_EQ(g.Rows()[1].label, "Bridge");
  EXPECT_EQ(g.Rows()[1].progress, "");
  EXPECT_EQ(g.DoneCount(), 0u);

  postAbout(Event::OperationFinished, "OldBridge");
  run(h, 1);
  ASSERT_EQ(g.Rows().size(), 3u);  // the well appears with the bridge done
  EXPECT_TRUE(g.Rows()[1].done);
  EXPECT_EQ(g.Rows()[2].label, "Well");
  EXPECT_FALSE(g.Rows()[2].done);

  h.stock().AddResource(Game::kFood, 10, true);
  run(h, 1);
  EXPECT_TRUE(g.Rows()[0].done);
  EXPECT_EQ(g.Rows()[0].progress, "20/20");
  EXPECT_EQ(g.DoneCount(), 2u);
  // The board grows with its rows: three rows no longer fit the empty board's height.
  EXPECT_GE(ui().goalBoard().h, 3 * Interface::UIInterface::kGoalRowHeight);
}

TEST_F(Panels, TheTimePanelCountsDownAgainstTheGoldAndSilverTimes) {
  EXPECT_EQ(Interface::panelClockText(240000), "4:00");
  EXPECT_EQ(Interface::panelClockText(89001), "1:30");  // a started second still shows
  EXPECT_EQ(Interface::panelClockText(0), "0:00");
  EXPECT_EQ(Interface::panelClockText(-5), "0:00");

  const Game::LevelTimes t{240000, 90000, 150000};
  Interface::TimeView v = Interface::panelTimeView(t, 240000, false);
  EXPECT_EQ(v.goldLeftMs, 90000);
  EXPECT_EQ(v.silverLeftMs, 150000);
  EXPECT_EQ(v.stars, 3);
  v = Interface::panelTimeView(t, 130000, false);  // 1:50 used
  EXPECT_EQ(v.goldLeftMs, 0);
  EXPECT_EQ(v.silverLeftMs, 40000);
  EXPECT_EQ(v.stars, 2);
  v = Interface::panelTimeView(t, 60000, false);  // 3:00 used
  EXPECT_EQ(v.silverLeftMs, 0);
  EXPECT_EQ(v.stars, 1);

  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 405));
  run(h, 400);  // ten seconds
  const Interface::TimeView live = ui().time();
  EXPECT_FALSE(live.noClock);
  EXPECT_EQ(live.remainingMs, 230000);
  EXPECT_EQ(live.goldLeftMs, 80000);
  EXPECT_EQ(live.silverLeftMs, 140000);
}

TEST_F(Panels, ClicksOnTheBoardsStayOffTheMapAndClicksBesideThemDoNot) {
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 406, "[Bridge]\ntype=repair\nobjectTag=OldBridge\n"));
  run(h, 1);
  const Interface::PanelRect res = ui().resourceRect();
  EXPECT_TRUE(ui().HitTest(res.x + 2, res.y + 2));
  EXPECT_TRUE(ui().HitTest(ui().timeRect().x + 2, ui().timeRect().y + 2));
  EXPECT_TRUE(ui().HitTest(ui().goalBoard().x + 2, ui().goalBoard().y + 2));
  EXPECT_FALSE(ui().HitTest(512, 600));  // open map
  EXPECT_FALSE(ui().HitTest(res.x + res.w + 1, res.y + res.h + 1));
}

TEST_F(Panels, TheBoardsTakeTheirPlacesFromTheLayoutFileAndABadSizeIsReported) {
  gametest::clearGerr();
  gametest::writeFile("data/interface/panels.ini",
                      "[ResourceInterface]\nx=0\ny=280\nwidth=320\nheight=200\n"
                      "[TimeInterface]\nx=10\ny=10\nwidth=0\nheight=-4\n");
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 408));
  EXPECT_TRUE(ui().HitTest(100, 395));
  EXPECT_FALSE(ui().HitTest(100, 490));
  // The time board keeps its place from the file and the usable default size.
  EXPECT_EQ(ui().timeRect().x, 10);
  EXPECT_EQ(ui().timeRect().w, 208);
  EXPECT_EQ(ui().timeRect().h, 76);
  const std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("data/interface/panels.ini"), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("TimeInterface"), std::string::npos) << gerr;
}
