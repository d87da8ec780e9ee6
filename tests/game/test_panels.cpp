// The in-game panels over a level run headless: the resource panel following the stock and its
// events, the numbers flying up from the map, the goal panel's rows and ticks, the time panel
// against the gold and silver times, and clicks on the boards kept off the map.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "anim/fx_manager.h"
#include "files/name_hash.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/level_files.h"
#include "game/interface/interface.h"
#include "game/interface/panel_pictures.h"
#include "gfx/render.h"
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
  EXPECT_EQ(g.Rows()[0].label, "20 Food");  // no texts in this folder: the amount and the plain name
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

TEST_F(Panels, ANumberFlashesRedOnlyWhenItsAdditionFillsTheLevelsMaximumForIt) {
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 409));
  const Interface::cResourcePanel& r = ui().resources();
  const uint32_t plain = grColor(1, 2, 3);
  const uint32_t red = grColor(255, 64, 64), green = grColor(15, 146, 2);
  EXPECT_EQ(Interface::panelNumberColour(r, Game::kFood, plain), plain);
  // 30 Gold of 40: a number of 30 is no maximum here, so the addition flashes green.
  h.stock().AddResource(Game::kGold, 30, true, 100, 100);
  EXPECT_EQ(Interface::panelNumberColour(r, Game::kGold, plain), green);
  // Food filled to its maximum of 30 flashes red.
  h.stock().AddResource(Game::kFood, 20, true, 100, 100);
  EXPECT_EQ(Interface::panelNumberColour(r, Game::kFood, plain), red);
  // The flash ends and the full store shows plain again.
  run(h, Interface::cResourcePanel::kFlashMs / 25);
  EXPECT_EQ(Interface::panelNumberColour(r, Game::kFood, plain), plain);
  // Gold reaching its own maximum of 40 is red in its turn.
  h.stock().AddResource(Game::kGold, 10, true, 100, 100);
  EXPECT_EQ(Interface::panelNumberColour(r, Game::kGold, plain), red);
  // A lacking resource is neither: it shows the lacking colour until its mark runs out.
  GameEvent e;
  MakeEvent(e, Event::ResourceMissing);
  e.index = Game::kOre;
  Post(Game::levelContext()->dispatcher.get(), e);
  const uint32_t lacking = Interface::panelNumberColour(r, Game::kOre, plain);
  EXPECT_NE(lacking, plain);
  EXPECT_NE(lacking, red);
  EXPECT_NE(lacking, green);
}

TEST(PanelTimeBar, TheBarShrinksWithTheTimeLeftAndItsPinsStandWhereTheMedalsRunOut) {
  // 4 minutes on a bar of 188 pixels from x 10: gold is lost with 150 s left, silver with 90 s.
  const Game::LevelTimes t{240000, 90000, 150000};
  Interface::TimeBarLayout b = Interface::panelTimeBar(Interface::panelTimeView(t, 240000, false), 10, 188);
  EXPECT_EQ(b.fillWidth, 188);
  EXPECT_EQ(b.goldX, 10 + 117);   // 188 x 150 / 240 = 117.5
  EXPECT_EQ(b.silverX, 10 + 70);  // 188 x 90 / 240 = 70.5
  EXPECT_FALSE(b.goldPassed);
  EXPECT_FALSE(b.silverPassed);
  // The moment gold runs out the fill ends at the gold pin.
  b = Interface::panelTimeBar(Interface::panelTimeView(t, 150000, false), 10, 188);
  EXPECT_EQ(10 + b.fillWidth, b.goldX);
  b = Interface::panelTimeBar(Interface::panelTimeView(t, 140000, false), 10, 188);  // 1:40 used
  EXPECT_EQ(b.fillWidth, 109);  // 188 x 140 / 240 = 109.7
  EXPECT_TRUE(b.goldPassed);
  EXPECT_FALSE(b.silverPassed);
  b = Interface::panelTimeBar(Interface::panelTimeView(t, 0, false), 10, 188);
  EXPECT_EQ(b.fillWidth, 0);
  EXPECT_TRUE(b.silverPassed);
  // A level without a gold time has no gold pin; one without a clock no bar at all.
  b = Interface::panelTimeBar(Interface::panelTimeView(Game::LevelTimes{240000, 0, 150000}, 240000, false), 10, 188);
  EXPECT_EQ(b.goldX, -1);
  EXPECT_EQ(b.silverX, 10 + 70);
  b = Interface::panelTimeBar(Interface::panelTimeView(t, 100000, true), 10, 188);
  EXPECT_EQ(b.fillWidth, 0);
  EXPECT_EQ(b.goldX, -1);
}

TEST_F(Panels, GoalRowsReadTheirTextsOwnFirstThenTheirObjectsThenTheirKindsPhrase) {
  gametest::writeFile("data/translation.ini",
                      "[goals]\n#TASK_Well=Draw water from the well\n#TASK_BRIDGE_NAME=Mend the old bridge\n"
                      "#TASK_TYPE_COLLECTRESOURCE=Hold %d %s\n#BONUS_NAME_Food=Berries\n"
                      "#TASK_TYPE_BUILD=Build %d huts%n%s\n");
  iniFreeAll();
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 410,
                         "[Food]\norder=1\ntype=collectResource\nresource=food\nresourceValue=20\n"
                         "[Bridge]\norder=2\ntype=repair\nobjectTag=OldBridge\nobjectsName=#TASK_BRIDGE_NAME\n"
                         "[Well]\norder=3\ntype=repair\nobjectTag=Well\nobjectsName=#TASK_BRIDGE_NAME\n"
                         "[Huts]\norder=4\ntype=build\nobjectType=Hut\nobjectsMax=3\n"
                         "[Gate]\norder=5\ntype=remove\nobjectTag=Gate\n"));
  run(h, 1);
  const auto& rows = ui().goals().Rows();
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].label, "Hold 20 Berries");
  EXPECT_EQ(rows[1].label, "Mend the old bridge");
  EXPECT_EQ(rows[2].label, "Draw water from the well") << "the task's own text wins over its objects'";
  // The phrase is data: a stray "%n" stays text, never a printf directive.
  EXPECT_EQ(rows[3].label, "Build 3 huts%nHut");
  EXPECT_EQ(rows[3].progress, "0/3");
  EXPECT_EQ(rows[4].label, "Gate") << "no text at all: the task's name";
  std::filesystem::remove("data/translation.ini");
  iniFreeAll();
}

TEST_F(Panels, APictureTheLayoutNamesButThatCannotBeReadIsReportedAndItsBoardFallsBack) {
  gametest::writeFile("data/interface/pictures.ini",
                      "[TimeInterface]\nBoard=data/interface/nowhere.png\n[TaskInterface]\nBoardTop=missing.png\n");
  gametest::clearGerr();
  Interface::cPanelPictures pictures;
  pictures.Load("data/interface/pictures.ini");
  EXPECT_FALSE(pictures.HasTimeBoard());
  EXPECT_FALSE(pictures.HasGoalBoard());
  EXPECT_FALSE(pictures.HasResourceBoard());
  // Each board falls back: nothing is drawn by the pictures, and the caller draws its plain board.
  Interface::cResourcePanel idle;
  int texts = 0;
  const Interface::PanelTextFn count = [&](int, int, const std::string&, uint32_t, int) { ++texts; };
  EXPECT_FALSE(pictures.DrawResources(idle, Interface::PanelRect{0, 0, 100, 20}, count));
  EXPECT_FALSE(pictures.DrawTime(Interface::TimeView{}, Interface::PanelRect{0, 0, 100, 20}, count));
  EXPECT_EQ(texts, 0);
  const std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("data/interface/pictures.ini: [TimeInterface] Board=data/interface/nowhere.png"),
            std::string::npos)
      << gerr;
  EXPECT_NE(gerr.find("[TaskInterface] BoardTop=missing.png"), std::string::npos) << gerr;
  std::filesystem::remove("data/interface/pictures.ini");
}

// A goal met sends a flare from where it was met to its row's dot; the flare lands and is at rest
// again, and a goal that is not on the board sends none.
TEST_F(Panels, AGoalMetSendsAFlareFromItsPlaceToItsRow) {
  GameHarness h;
  ASSERT_TRUE(loadPanels(h, 405,
                         "[Bridge]\norder=1\ntype=repair\nobjectTag=OldBridge\n"
                         "[Well]\norder=2\ntype=repair\nobjectTag=Well\n"));
  FxManager::cTaskEffect& flares = FxManager::fxManager().Flares();
  flares.Load();
  run(h, 1);
  int x = 0, y = 0;
  const int32_t wellId = ui().goals().Rows()[1].taskId;
  ASSERT_TRUE(ui().GoalDotPoint(wellId, x, y));
  const Interface::PanelRect board = ui().goalBoard();
  EXPECT_TRUE(board.Contains(x, y)) << "the dot lies on the goal board";
  int bridgeX = 0, bridgeY = 0;
  ASSERT_TRUE(ui().GoalDotPoint(ui().goals().Rows()[0].taskId, bridgeX, bridgeY));
  EXPECT_EQ(y - bridgeY, Interface::UIInterface::kGoalRowHeight) << "one row further down";
  EXPECT_FALSE(ui().GoalDotPoint(-5, x, y));

  const auto flying = [&] {
    int n = 0;
    for (int i = 0; i < FxManager::cTaskEffect::kFlares; ++i) n += flares.Flare(i) && flares.Flare(i)->IsFlying();
    return n;
  };
  EXPECT_EQ(flying(), 0);
  GameEvent done;
  MakeEvent(done, Event::OperationFinished);
  done.tag = int32_t(NameHash("Well"));
  done.x = 600;
  done.y = 500;
  Post(Game::levelContext()->dispatcher.get(), done);
  EXPECT_EQ(flying(), 1);
  run(h, 400);  // ten seconds: the flare has landed
  EXPECT_EQ(flying(), 0);
}
