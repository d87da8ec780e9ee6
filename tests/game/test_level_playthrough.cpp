// The demo levels played from start to end through the whole game, headless: clicks at the
// objects' screen points go through the shell, the window tree, the view and the model, on the
// manual clock. A player who does what each level asks wins it with three stars well inside the
// gold time, the statistics are written and the result comes on screen; a player who starts the
// clock and does nothing loses level 1 when its four minutes are up; and a recorded game replays
// from its journal to the same log, line for line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/core/game_main.h"
#include "game/core/game_model.h"
#include "game/core/level_context.h"
#include "game/core/player_stock.h"
#include "playthrough_copy.h"
#include "support/input_script.h"
#include "support/level_player.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

using testkit::playedLevel;

// A fresh copy of the demo that starts level `n` at once, logs what it plays and writes the
// statistics of a won level. Every run starts as a first-time player, so a game and its replay
// meet the same tips.
struct Playthrough : gametest::PlaythroughCopy {
  Playthrough() : PlaythroughCopy(true) {}
};

}  // namespace

TEST_F(Playthrough, LevelOnePlayedSensiblyIsWonWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("playthrough_1", 1)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  WinAndReplay(1);
}

TEST_F(Playthrough, LevelTwoPlayedSensiblyIsWonWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("playthrough_2", 2)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  WinAndReplay(2);
}

TEST_F(Playthrough, LevelThreePlayedSensiblyIsWonWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("playthrough_3", 3)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  WinAndReplay(3);
}

TEST_F(Playthrough, LevelOneLeftAloneIsLostWhenItsFourMinutesAreUp) {
  if (!Enter("playthrough_idle", 1)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    ASSERT_NE(Game::levelContext(), nullptr);
    testkit::LevelPlayer p(game);
    game.RunSteps(testkit::kOpeningSteps);
    // A click on open meadow starts the clock and orders nothing.
    p.ClickGround(300, 740);
    ASSERT_EQ(playedLevel().model->phase(), Game::Phase::Running);
    const int32_t food = playedLevel().stock->Amount(Game::kFood);
    p.Wait(239);
    EXPECT_EQ(playedLevel().model->phase(), Game::Phase::Running) << "a second before the end the level still runs";
    EXPECT_FALSE(testkit::taskDone("GatherFood")) << "the starting Food is short of the goal";
    EXPECT_EQ(playedLevel().stock->Amount(Game::kFood), food);
    const testkit::LevelOutcome o = testkit::FinishLevel(game);
    EXPECT_FALSE(o.won);
    EXPECT_EQ(o.stars, 0);
    EXPECT_TRUE(o.shown);
    EXPECT_TRUE(o.loseScreen) << "on the lose screen";
    EXPECT_FALSE(o.statisticsScreen);
  }
  EXPECT_FALSE(fs::exists(run / "statistics.ini")) << "only a won level is written";
  const std::string log = testkit::readFile(run / "log.txt");
  EXPECT_NE(log.find("[Result] level 1 lost"), std::string::npos);
}
