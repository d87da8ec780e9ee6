// The time board's stars once a level is over: a lost level has earned none, however early it was
// lost, while a won level keeps the stars its time earned.
#include <gtest/gtest.h>

#include <string>

#include "game/core/game_main.h"
#include "game/core/game_model.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/interface/interface.h"
#include "game/interface/panel_time.h"
#include "game_test_util.h"
#include "worker_level_util.h"
#include "support/game_harness.h"

namespace {
// One minute; gold under 20 s, silver under 40 s.
constexpr const char* kBalance = "[Main]\ntLevelTime=60000\ntGoldTime=20000\ntSilverTime=40000\nMinuteTime=60000\n";

struct TimeBoardLost : gametest::LevelSlate {};

Interface::UIInterface* board() {
  Game::cGameView* view = Game::levelContext() ? Game::levelContext()->view : nullptr;
  return view ? view->interfaceWnd() : nullptr;
}
}  // namespace

TEST(TimeBoardView, ALostLevelShowsNoStarsWhateverTheClockSays) {
  const Game::LevelTimes t{60000, 20000, 40000};
  // 10 s used: a win would earn all three; 30 s: two; 50 s: one.
  EXPECT_EQ(Interface::panelTimeView(t, 50000, false).stars, 3);
  EXPECT_EQ(Interface::panelTimeView(t, 30000, false).stars, 2);
  EXPECT_EQ(Interface::panelTimeView(t, 10000, false).stars, 1);
  for (int32_t remaining : {60000, 50000, 30000, 10000, 0}) {
    const Interface::TimeView v = Interface::panelTimeView(t, remaining, false, true);
    EXPECT_EQ(v.stars, 0) << remaining;
    EXPECT_EQ(v.remainingMs, remaining) << "the clock itself still shows where it stopped";
  }
}

TEST_F(TimeBoardLost, TheBoardDropsItsStarsWhenTheLevelIsLostButNotWhenItIsWon) {
  testkit::LevelFiles files;
  files.balance = kBalance;
  files.map = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\nboundXS=30\nboundYS=30\n";

  {
    testkit::GameHarness h;
    ASSERT_TRUE(gametest::startWithWorker(h, 241, files));
    h.Action(1);
    h.Advance(200);  // 5 s of the clock
    Interface::UIInterface* ui = board();
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(ui->time().stars, 3) << "well inside the gold time";
    h.Action(10);  // the level is lost
    ASSERT_EQ(h.model().phase(), Game::Phase::Finishing);
    EXPECT_EQ(ui->time().stars, 0);
    h.Advance(4);
    EXPECT_EQ(ui->time().stars, 0) << "and stays so while the level finishes";
    EXPECT_GT(ui->time().remainingMs, 50000) << "though the clock had most of its minute left";
  }
  {
    testkit::GameHarness h;
    ASSERT_TRUE(gametest::startWithWorker(h, 241, files));
    h.Action(1);
    h.Advance(1000);  // 25 s: past the gold time
    Interface::UIInterface* ui = board();
    ASSERT_NE(ui, nullptr);
    h.Action(7);  // every goal met
    ASSERT_TRUE(gametest::runUntil(h, [&] { return h.model().won(); }, 400));
    EXPECT_EQ(h.model().stars(), 2);
    EXPECT_EQ(ui->time().stars, 2) << "a won level keeps what it earned";
  }
}
