// The game view on a level run headless: pointer moves and clicks become the model's actions
// (the first click starts the clock, hover changes once per object, empty ground), the typed
// debug words, the cut-scene letterbox that stops the clocks while the model runs on, the result
// that ends or restarts the level, and a click through the real input path on the demo level.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/soft_cursor.h"
#include "base/diag.h"
#include "files/ini.h"
#include "game/core/game_journal.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/map.h"
#include "game/core/player_stock.h"
#include "game/interface/interface.h"
#include "game/menus/game_menu.h"
#include "game/objects/building.h"
#include "game_test_util.h"
#include "platform/platform.h"
#include "support/demo_copy.h"
#include "support/game_harness.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "support/tip_reader.h"
#include "ui/wnd.h"

using Game::Event;
using Game::Phase;
using testkit::GameHarness;
using testkit::Pack;

namespace {

// What the model did to a probe object, kept outside it: the map deletes its objects at the end.
struct ProbeLog {
  int enters = 0, leaves = 0, clicks = 0;
};

// A clickable object 40 x 40 around its anchor with the cursor shape it asks for.
class Probe : public Map::cObject {
 public:
  Probe(ProbeLog* log, int32_t cursorSlot) : m_log(log), m_cursor(cursorSlot) {
    boundHalfSize = {20, 20};
    Set(Map::kFlagClickable, true);
  }
  int32_t GetCursor() const override { return m_cursor; }
  bool HoverEnter() override {
    ++m_log->enters;
    return true;
  }
  void HoverLeave() override { ++m_log->leaves; }
  bool Click(bool) override {
    ++m_log->clicks;
    return false;
  }

 private:
  ProbeLog* m_log;
  int32_t m_cursor;
};

std::string balance(int workers) {
  return "[Main]\ntLevelTime=60000\ntGoldTime=20000\ntSilverTime=40000\nMinuteTime=1000\n[Resources]\nWorker=" +
         std::to_string(workers) + "\nFood=10\n[ResourcesMax]\nFood=30\nOre=30\nGold=30\n"
         "[ResourceHarvest]\nFood=5\nOre=3\nGold=2\n";
}

size_t countOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A level in a window tree of its own: the view on screen, stepped through the root as the main
// loop does, the windows removed during a step collected after it.
struct GameView : gametest::CleanSlate {
  void SetUp() override {
    gametest::CleanSlate::SetUp();
    wndSetRoot(new UIWnd());
    cursorCreate();
  }
  void TearDown() override {
    Game::EndLevel();
    cursorDestroy();
    UIWnd* root = wndRoot();
    wndSetRoot(nullptr);
    delete root;
    wndCollectGarbage();
    gameLogClose();
    gametest::CleanSlate::TearDown();
  }
  void Switches(const std::string& lines) {
    gametest::writeFile("view_test.ini", "[main]\n" + lines);
    iniFreeAll();
    testSettingsLoad("view_test.ini");
  }
  // Level n with `workers` workers and no objects of its own, shown in the view.
  void Load(GameHarness& h, int n, int workers) {
    testkit::LevelFiles f;
    f.balance = balance(workers);
    std::string error;
    ASSERT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
    ASSERT_TRUE(h.Load(n));
    Game::levelShowView();
    ASSERT_NE(view(), nullptr);
    ASSERT_EQ(wndRoot()->Child(0), view());
  }
  Game::cGameView* view() const { return Game::levelContext() ? Game::levelContext()->view : nullptr; }
  Probe* AddProbe(ProbeLog* log, int32_t id, int x, int y, int32_t cursorSlot) {
    auto* p = new Probe(log, cursorSlot);
    p->id = id;
    p->x = float(x);
    p->y = float(y);
    Game::levelContext()->map->Add(p);
    return p;
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      m_clock += 25;
      gameSetClock(m_clock);
      wndRoot()->Update(25);
      wndCollectGarbage();
    }
  }
  void Move(int x, int y) { wndOfferMouseMove(0, Pack(x, y)); }
  void Press(int x, int y, int button = VK_LBUTTON_) { wndOfferKeyDown(button, Pack(x, y)); }
  void Type(const std::string& text) {
    for (char c : text) wndOfferChar(c, 1);
  }
  void LogActions() {
    Switches("Game_Log_On_Playback=1\n");
    ASSERT_TRUE(gameLogOpen("view_log.txt"));
  }
  std::string LogText() {
    gameLogClose();
    return gametest::readFile("view_log.txt");
  }
  int32_t m_clock = 0;
};

// A fresh copy of the demo entered, set to start level 1 without menus and log what it plays;
// empty when the sources are not known.
std::filesystem::path enterDemoAtLevelOne(const char* name) {
  const std::filesystem::path run = testkit::EnterDemoCopy(name);
  if (run.empty()) return run;
  testkit::writeFile(run / "data" / "test.ini", "[main]\nGame_No_Menu=1\nGame_Test_Level=1\nGame_Log_On_Playback=1\n");
  iniFreeAll();
  return run;
}
}  // namespace

TEST_F(GameView, TheFirstClickOnAReadyLevelStartsTheClockAndIsThenAClick) {
  GameHarness h;
  Load(h, 201, 1);
  ASSERT_EQ(h.phase(), Phase::Ready);
  ProbeLog log;
  AddProbe(&log, 9001, 400, 300, 2);
  LogActions();
  Press(410, 305);
  EXPECT_EQ(h.phase(), Phase::Running);
  EXPECT_EQ(h.CountOf(Event::LevelClockStarted), 1);
  EXPECT_EQ(log.clicks, 1) << "the same press is the object's click";
  EXPECT_EQ(h.CountOf(Event::ViewEvent107), 1);
  // The clock runs from then on: a second press is only a click.
  Press(395, 295);
  EXPECT_EQ(h.CountOf(Event::LevelClockStarted), 1);
  EXPECT_EQ(log.clicks, 2);
  const std::string text = LogText();
  const size_t start = text.find("[Action]:0 - action 1\n"), click = text.find("[Action]:0 - action 2\n");
  ASSERT_NE(start, std::string::npos) << text;
  EXPECT_LT(start, click) << "the clock starts before the click is handled";
  EXPECT_EQ(countOf(text, "- action 2\n"), 2u);
  // One step later the clock has moved.
  Steps(4);
  EXPECT_EQ(h.model().levelTimer().remaining, 60000 - 100);
}

TEST_F(GameView, HoverChangesAreSentOncePerObjectAndTheCursorFollows) {
  GameHarness h;
  Load(h, 202, 1);
  ProbeLog a, b;
  AddProbe(&a, 9001, 200, 200, 2);
  AddProbe(&b, 9002, 600, 200, 3);
  LogActions();
  Move(200, 200);
  Move(210, 195);  // still on the first
  EXPECT_EQ(view()->hoveredId(), 9001);
  EXPECT_EQ(cursorSlot(), 2);
  EXPECT_EQ(a.enters, 1);
  Move(600, 205);
  EXPECT_EQ(view()->hoveredId(), 9002);
  EXPECT_EQ(cursorSlot(), 3);
  EXPECT_EQ(a.leaves, 1);
  EXPECT_EQ(b.enters, 1);
  Move(400, 500);
  Move(420, 520);  // nothing under the pointer twice
  EXPECT_EQ(view()->hoveredId(), -1);
  EXPECT_EQ(cursorSlot(), 0);
  EXPECT_EQ(b.leaves, 1);
  const std::string text = LogText();
  EXPECT_EQ(countOf(text, "- action 5\n"), 2u) << text;
  EXPECT_EQ(countOf(text, "- action 6\n"), 1u) << text;
}

TEST_F(GameView, AClickOnEmptyGroundIsActionFourAndClicksNoObject) {
  GameHarness h;
  Load(h, 203, 1);
  ProbeLog a;
  AddProbe(&a, 9001, 200, 200, 1);
  LogActions();
  Press(700, 600, VK_RBUTTON_);
  EXPECT_EQ(a.clicks, 0);
  EXPECT_EQ(h.CountOf(Event::ViewEvent107), 1);
  EXPECT_EQ(view()->idleTimer().remaining, Game::cGameView::kIdleMs);
  const std::string text = LogText();
  EXPECT_NE(text.find("- action 4\n"), std::string::npos) << text;
  EXPECT_EQ(countOf(text, "- action 2\n"), 0u);
  // Left alone for the idle time, the player is reported idle once.
  Steps(Game::cGameView::kIdleMs / 25);
  EXPECT_EQ(h.CountOf(Event::ViewEvent108), 1);
  Steps(40);
  EXPECT_EQ(h.CountOf(Event::ViewEvent108), 1);
}

TEST_F(GameView, TypedDebugWordsActOnlyWithTheCheatSwitch) {
  {
    GameHarness h;
    Load(h, 204, 1);
    Type("levelu");
    Steps(2);
    EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);
    EXPECT_EQ(h.phase(), Phase::Ready);
  }
  Switches("Game_Chit=1\n");
  {
    GameHarness h;
    Load(h, 204, 1);
    Type("xLEVELu");
    EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 1);
    EXPECT_EQ(h.phase(), Phase::GoalsMet);
    EXPECT_TRUE(view()->levelCompleted());
  }
  {
    GameHarness h;
    Load(h, 205, 1);
    Type("loose");
    EXPECT_EQ(h.phase(), Phase::Finishing);
    EXPECT_FALSE(h.model().won());
    EXPECT_EQ(h.CountOf(Event::GameOver), 1);
  }
}

TEST_F(GameView, TheCutSceneLetterboxStopsTheClocksWhileTheModelRunsOn) {
  // Level 6 opens with a 3 s cut-scene; it has no worker of its own.
  GameHarness h;
  Load(h, 6, 0);
  EXPECT_EQ(h.CountOf(Event::WindowOpenedOverLevel), 1);
  EXPECT_EQ(view()->letterbox(), Game::cGameView::kLetterboxOpening);
  EXPECT_FLOAT_EQ(h.model().timeScale(), 0.0f);
  ASSERT_EQ(h.phase(), Phase::Waiting);
  Steps(20);  // 500 ms: the bars are fully open
  EXPECT_EQ(view()->letterbox(), Game::cGameView::kLetterboxOpen);
  EXPECT_FLOAT_EQ(view()->letterboxProgress(), 1.0f);
  // The model runs under the bars: a worker that turns up makes the level Ready.
  h.workers().RequestWorker(false);
  Steps(1);
  EXPECT_EQ(h.phase(), Phase::Ready);
  EXPECT_EQ(h.CountOf(Event::FirstWorkerAvailable), 1);
  Press(500, 500);
  ASSERT_EQ(h.phase(), Phase::Running);
  Steps(40);
  EXPECT_EQ(h.model().levelTimer().remaining, 60000) << "the level clock stands while the bars are shown";
  // 3000 ms after the start the story is over and the bars close in 500 ms.
  Steps(60);
  EXPECT_EQ(view()->letterbox(), Game::cGameView::kLetterboxClosing);
  EXPECT_EQ(h.CountOf(Event::WindowClosedOverLevel), 0);
  Steps(20);
  EXPECT_EQ(view()->letterbox(), Game::cGameView::kLetterboxOff);
  EXPECT_EQ(h.CountOf(Event::WindowClosedOverLevel), 1);
  EXPECT_FLOAT_EQ(h.model().timeScale(), 1.0f);
  const int32_t left = h.model().levelTimer().remaining;
  Steps(8);
  EXPECT_EQ(h.model().levelTimer().remaining, left - 200);
}

TEST_F(GameView, ACutSceneEndingWithNoWorkerAsksForOne) {
  GameHarness h;
  Load(h, 6, 0);
  ASSERT_EQ(h.workers().PersonCount(), 0);
  Steps(3000 / 25 - 1);
  EXPECT_EQ(h.workers().PersonCount(), 0);
  Steps(1);
  EXPECT_EQ(h.workers().PersonCount(), 1);
}

TEST_F(GameView, AnEventThatOpensALetterboxDuringPlayClosesItAfterItsScene) {
  GameHarness h;
  Load(h, 207, 1);
  Press(10, 10);
  GameEvent e;
  MakeEvent(e, Event::DrumSceneStarts);
  Post(Game::levelContext()->dispatcher.get(), e);
  EXPECT_EQ(view()->letterbox(), Game::cGameView::kLetterboxOpening);
  EXPECT_EQ(view()->storyTimer().remaining, 23000);
  Steps(23000 / 25 + 20);
  EXPECT_EQ(view()->letterbox(), Game::cGameView::kLetterboxOff);
  EXPECT_EQ(h.CountOf(Event::WindowOpenedOverLevel), h.CountOf(Event::WindowClosedOverLevel));
}

TEST_F(GameView, AWonLevelIsLoggedThenRestartsAtOnceWithoutMenus) {
  Switches("Game_Chit=1\nGame_No_Menu=1\nGame_Log_On_Playback=1\n");
  ASSERT_TRUE(gameLogOpen("view_log.txt"));
  GameHarness h;
  Load(h, 208, 1);
  Game::cGameView* first = view();
  Press(10, 10);
  Steps(40);  // one second of play
  Type("levelu");
  // 5 s of finish delay, then 5 s of finishing, then the result.
  Steps(400 + 2);
  ASSERT_EQ(view(), first);
  EXPECT_TRUE(first->resultShown());
  // Input over the result does not reach the map; a click closes it.
  Type("loose");
  EXPECT_TRUE(h.model().won());
  Press(10, 10);
  Steps(1);
  ASSERT_NE(Game::levelContext(), nullptr);
  ASSERT_NE(view(), nullptr);
  EXPECT_NE(view(), first) << "a new level with a new view";
  EXPECT_EQ(wndRoot()->Child(0), view());
  EXPECT_EQ(Game::levelContext()->model->phase(), Phase::Ready) << "the clock waits for the first click";
  const std::string text = LogText();
  EXPECT_NE(text.find("[Result] level 208 won: stars 3, time 1000 ms"), std::string::npos) << text;
}

TEST_F(GameView, ALostLevelReturnsToTheMenuAfterThePause) {
  Switches("Game_Chit=1\n");
  GameHarness h;
  Load(h, 209, 1);
  Type("loose");
  // A click while the lost level finishes starts no clock.
  Press(10, 10);
  EXPECT_FALSE(h.model().minuteTimer().running);
  EXPECT_EQ(h.CountOf(Event::LevelClockStarted), 0);
  int steps = 0;
  while (view() && !view()->resultShown() && steps < 1000) Steps(1), ++steps;
  ASSERT_NE(view(), nullptr);
  EXPECT_EQ(steps, 6000 / 25);
  Steps(Game::cGameView::kResultPauseMs / 25);
  EXPECT_EQ(Game::levelContext(), nullptr);
  ASSERT_GT(wndRoot()->ChildCount(), 0);
  EXPECT_EQ(dynamic_cast<Game::cGameView*>(wndRoot()->Child(0)), nullptr) << "the menu screen";
}

// The demo level through the real shell: input messages, the window tree, the view, the model.
TEST(GameViewShell, AClickAtAnObjectsScreenPointReachesTheModelAsActionTwo) {
  namespace fs = std::filesystem;
  const fs::path home = fs::current_path();
  const fs::path run = enterDemoAtLevelOne("view_shell");
  if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    ASSERT_NE(Game::levelContext(), nullptr);
    // The topmost clickable object at its box's centre, found as the view will find it.
    Map::cMap& map = *Game::levelContext()->map;
    Map::cObject* target = nullptr;
    int x = 0, y = 0;
    for (size_t i = 0; i < map.Count() && !target; ++i) {
      Map::cObject* o = map.At(i);
      const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
      if (o->Has(Map::kFlagClickable) && map.HitTest(cx, cy) == o) target = o, x = cx, y = cy;
    }
    ASSERT_NE(target, nullptr) << "the demo level has something to click";
    const int32_t id = target->id;
    testkit::InputScript s;
    s.Click(10, x, y).Key(30, VK_ESCAPE_);
    s.Start();
    game.RunSteps(20);
    EXPECT_EQ(Game::levelContext()->view->hoveredId(), id);
    // Escape opens the in-game menu; the level stays.
    game.RunSteps(20);
    ASSERT_NE(Game::levelContext(), nullptr);
  }
  const std::string log = testkit::readFile(run / "log.txt");
  EXPECT_NE(log.find("- action 5\n"), std::string::npos) << "the pointer came over the object first";
  EXPECT_NE(log.find("- action 2\n"), std::string::npos) << log.substr(0, 2000);
  EXPECT_NE(log.find("[Event] 107"), std::string::npos);
  fs::current_path(home);
  iniFreeAll();
}

TEST_F(GameView, EscapeOpensTheGameMenuThatHoldsTheLevelAndAKeyStartsTheClockFirst) {
  gametest::writeFile("data/menu/gameMenu.ini", "[Main]\nx=0\ny=0\nxs=1024\nys=768\n");
  iniFreeAll();
  GameHarness h;
  Load(h, 210, 1);
  Interface::UIInterface* ui = view()->interfaceWnd();
  ASSERT_NE(ui, nullptr);
  ASSERT_NE(ui->gameMenu(), nullptr);
  wndOfferKeyDown('A', 1);
  EXPECT_EQ(h.phase(), Phase::Running) << "a key on a waiting level starts its clock";
  // A held key's repeats are no new presses.
  wndOfferKeyDown(VK_ESCAPE_, 1 | (1 << 30));
  EXPECT_TRUE(ui->gameMenu()->Hidden());
  EXPECT_EQ(wndOfferKeyDown(VK_ESCAPE_, 1), 1);
  EXPECT_FALSE(ui->gameMenu()->Hidden());
  EXPECT_TRUE(ui->Modal());
  const int32_t left = h.model().levelTimer().remaining;
  Steps(40);
  EXPECT_EQ(h.model().levelTimer().remaining, left) << "the level stands still under the menu";
  // Escape again continues.
  wndOfferKeyDown(VK_ESCAPE_, 1);
  EXPECT_TRUE(ui->gameMenu()->Hidden());
  EXPECT_FALSE(ui->Modal());
  Steps(40);
  EXPECT_LT(h.model().levelTimer().remaining, left);
  ASSERT_NE(Game::levelContext(), nullptr);
  EXPECT_EQ(wndRoot()->Child(0), view());
  std::filesystem::remove("data/menu/gameMenu.ini");
}

// The first playable slice end to end: a click at the cottage site's screen point goes through the
// shell, the view, the model and the queue; a worker walks out of the barn, builds the site and the
// stock pays the site's price once.
TEST(GameViewShell, AClickOnTheDemoSiteBuildsTheCottage) {
  namespace fs = std::filesystem;
  const fs::path home = fs::current_path();
  const fs::path run = enterDemoAtLevelOne("view_build");
  if (run.empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    ASSERT_NE(Game::levelContext(), nullptr);
    Game::LevelContext& c = *Game::levelContext();
    auto* site = dynamic_cast<Map::cBuilding*>(c.map->FindByType("building", "Cottage"));
    ASSERT_NE(site, nullptr);
    ASSERT_EQ(site->State(), Map::BuildingState::NotBuilt);
    const int32_t food = c.stock->Amount(Game::kFood), ore = c.stock->Amount(Game::kOre);
    const Map::ResourceVector price = site->Cost(Map::OperationKind::Build);
    ASSERT_GT(price[Game::kFood] + price[Game::kOre], 0);
    ASSERT_GE(food, price[Game::kFood]);
    ASSERT_GE(ore, price[Game::kOre]);
    const int x = int(site->x) + site->boundCentre.x, y = int(site->y) + site->boundCentre.y;
    ASSERT_EQ(c.map->HitTest(x, y), site) << "nothing covers the site's centre";

    game.RunSteps(520);  // the level's opening scene (12 s) is over
    testkit::CloseOpenTip(game);  // the tutorial's first tip, when it is up already
    testkit::InputScript s;
    s.Move(1, x - 40, y).Move(3, x, y).Click(5, x, y);
    s.Start();
    game.RunSteps(10);
    EXPECT_EQ(c.stock->Amount(Game::kFood), food - price[Game::kFood]);
    EXPECT_EQ(c.stock->Amount(Game::kOre), ore - price[Game::kOre]);
    EXPECT_EQ(c.model->phase(), Game::Phase::Running) << "the first click started the clock";
    int steps = 0;
    // A tip that comes up meanwhile holds the level until it is read.
    while (site->State() != Map::BuildingState::Built && steps < 2000)
      testkit::CloseOpenTip(game), game.RunSteps(10), steps += 10;
    EXPECT_EQ(site->State(), Map::BuildingState::Built);
    // Paid once: the walk and the work took nothing more.
    EXPECT_EQ(c.stock->Amount(Game::kFood), food - price[Game::kFood]);
    EXPECT_EQ(c.stock->Amount(Game::kOre), ore - price[Game::kOre]);
    EXPECT_FALSE(c.queue->Contains(site->id));
  }
  const std::string log = testkit::readFile(run / "log.txt");
  const size_t clicked = log.find("- action 2\n"), out = log.find("[Event] 65\n"), work = log.find("[Event] 49\n"),
               built = work == std::string::npos ? work : log.find("[Event] 30\n", work);
  ASSERT_NE(clicked, std::string::npos);
  ASSERT_NE(out, std::string::npos) << "a worker left the barn";
  ASSERT_NE(work, std::string::npos) << "the work started";
  // (Standing buildings post a silent 30 while the level loads; the player's comes after the work.)
  ASSERT_NE(built, std::string::npos) << "the site was built";
  EXPECT_LT(clicked, out);
  EXPECT_LT(out, work);
  fs::current_path(home);
  iniFreeAll();
}
