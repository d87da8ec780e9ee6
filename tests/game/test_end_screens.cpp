// The screens that end a level: the statistics screen's counting, stars and skipping, the lose
// screen's phrase choice, and the motion of the note and the win lettering.
#include <gtest/gtest.h>

#include "game/interface/end_screens.h"
#include "game/interface/flying_letters.h"
#include "game/interface/lose_screen.h"
#include "game/interface/message_panel.h"
#include "game/interface/statistics_screen.h"

namespace {
using Interface::cStatisticsRun;

// Runs the screen in 25 ms steps until done (or a bound), counting the seal sounds.
int runToEnd(cStatisticsRun& run, int* steps = nullptr) {
  int seals = 0, n = 0;
  while (run.Phase() != cStatisticsRun::kDonePhase && n < 10000) {
    seals += run.Update(25);
    ++n;
  }
  // Let the last stars land.
  for (int i = 0; i < 60; ++i) seals += run.Update(25);
  if (steps) *steps = n;
  return seals;
}

TEST(LoseScreen, PhraseNumberFavoursTheMiddleOne) {
  EXPECT_EQ(Interface::losePhraseNumber(0.0f), 1);
  EXPECT_EQ(Interface::losePhraseNumber(0.24f), 1);
  EXPECT_EQ(Interface::losePhraseNumber(0.26f), 2);
  EXPECT_EQ(Interface::losePhraseNumber(0.74f), 2);
  EXPECT_EQ(Interface::losePhraseNumber(0.76f), 3);
  EXPECT_EQ(Interface::losePhraseNumber(1.0f), 3);
  // Out-of-range draws stay within the three phrases.
  EXPECT_EQ(Interface::losePhraseNumber(-3.0f), 1);
  EXPECT_EQ(Interface::losePhraseNumber(7.0f), 3);
}

TEST(StatisticsScreen, StarsAreCentredOnTheRow) {
  // Three stars 80 apart around x = 400: 320, 400, 480.
  EXPECT_FLOAT_EQ(Interface::statisticsStarX(400, 80, 3, 0), 320.0f);
  EXPECT_FLOAT_EQ(Interface::statisticsStarX(400, 80, 3, 1), 400.0f);
  EXPECT_FLOAT_EQ(Interface::statisticsStarX(400, 80, 3, 2), 480.0f);
  // Two stars: 360 and 440.
  EXPECT_FLOAT_EQ(Interface::statisticsStarX(400, 80, 2, 0), 360.0f);
  EXPECT_FLOAT_EQ(Interface::statisticsStarX(400, 80, 2, 1), 440.0f);
  EXPECT_FLOAT_EQ(cStatisticsRun::StarScale(0), 3.0f);
  EXPECT_FLOAT_EQ(cStatisticsRun::StarScale(500), 2.0f);
  EXPECT_FLOAT_EQ(cStatisticsRun::StarScale(1000), 1.0f);
}

TEST(StatisticsScreen, FadesInThenCountsEachLineInTurn) {
  cStatisticsRun run;
  run.Show({1200, 340, 500, 2040, 3});
  EXPECT_EQ(run.Phase(), 0);
  EXPECT_FALSE(run.Enter()) << "Enter does nothing before everything is shown";
  // The fade takes 1000 ms at 0.255 per ms.
  for (int i = 0; i < 39; ++i) run.Update(25);
  EXPECT_EQ(run.Phase(), 0);
  EXPECT_NEAR(run.Alpha(), 0.255f * 975, 0.5f);
  EXPECT_FALSE(run.LineShown(cStatisticsRun::kLevel));
  run.Update(25);
  EXPECT_EQ(run.Phase(), 2);
  EXPECT_TRUE(run.LineShown(cStatisticsRun::kLevel));
  EXPECT_TRUE(run.StarAt(0).flying);
  EXPECT_TRUE(run.StarAt(1).flying) << "the second star comes with the level line";
  EXPECT_FALSE(run.StarAt(2).flying);
  // Halfway through its count the level line shows half its value.
  run.Update(cStatisticsRun::kCountMs / 2);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kLevel), 600);
  EXPECT_FALSE(run.LineShown(cStatisticsRun::kResources));
  run.Update(cStatisticsRun::kCountMs / 2);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kLevel), 1200);
  EXPECT_TRUE(run.LineShown(cStatisticsRun::kResources));
  EXPECT_TRUE(run.StarAt(2).flying) << "the third star comes with the resources line";

  int seals = runToEnd(run);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kResources), 340);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kTime), 500);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kTotal), 2040);
  EXPECT_EQ(seals, 3) << "every star lands with its seal";
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(run.StarAt(i).landed);
  EXPECT_TRUE(run.Enter());
}

TEST(StatisticsScreen, NoStarsFlyForAZeroStarWinAndAZeroTimeScoreDoesNotCount) {
  cStatisticsRun run;
  run.Show({300, 20, 0, 320, 0});
  int seals = runToEnd(run);
  EXPECT_EQ(seals, 0);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(run.StarAt(i).flying);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kTime), 0);
  EXPECT_TRUE(run.LineShown(cStatisticsRun::kTime));
  EXPECT_EQ(run.LineValue(cStatisticsRun::kTotal), 320);
}

TEST(StatisticsScreen, TwoStarsLandAndTheThirdNeverFlies) {
  cStatisticsRun run;
  run.Show({100, 100, 100, 300, 2});
  EXPECT_EQ(runToEnd(run), 2);
  EXPECT_TRUE(run.StarAt(0).landed);
  EXPECT_TRUE(run.StarAt(1).landed);
  EXPECT_FALSE(run.StarAt(2).flying);
}

TEST(StatisticsScreen, AClickDuringTheCountShowsEveryFinalNumber) {
  cStatisticsRun run;
  run.Show({1200, 340, 500, 2040, 3});
  for (int i = 0; i < 50; ++i) run.Update(25);  // into the level line's count
  ASSERT_EQ(run.Phase(), 2);
  run.Skip();
  EXPECT_EQ(run.Phase(), cStatisticsRun::kDonePhase);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kLevel), 1200);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kResources), 340);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kTime), 500);
  EXPECT_EQ(run.LineValue(cStatisticsRun::kTotal), 2040);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(run.StarAt(i).landed);
  // Landed without the seal: nothing more sounds afterwards.
  EXPECT_EQ(run.Update(2000), 0);
  EXPECT_TRUE(run.Enter());
}
}  // namespace

// The pieces the windows are drawn from: the note's blink, the win lettering's fall, the star's
// flight and the lose phrase with the player's name.
namespace {
TEST(MessageNote, BlinksUpAndDownOverASecondThenRestsHalfASecond) {
  EXPECT_EQ(Interface::messageBlinkAlpha(0), 0);
  EXPECT_EQ(Interface::messageBlinkAlpha(250), 127);
  EXPECT_EQ(Interface::messageBlinkAlpha(500), 255);
  EXPECT_EQ(Interface::messageBlinkAlpha(750), 127);
  EXPECT_EQ(Interface::messageBlinkAlpha(1000), 0);
  EXPECT_EQ(Interface::messageBlinkAlpha(1400), 0) << "the pause";
  EXPECT_EQ(Interface::messageBlinkAlpha(2000), 255) << "the next blink peaks 1.5 s after the first";
  EXPECT_EQ(Interface::messageBlinkAlpha(-20), 0);
}

TEST(WinLettering, TheWordIsCentredAndItsLettersStartAboveTheScreen) {
  Interface::cFlyingLetters l;
  // Three letters 20, 30 and 10 wide with 2 between: 64 wide, so from 511 - 32 = 479.
  l.Start(u"abc", {20, 30, 10}, {1.0f, 0.5f, 1.0f});
  ASSERT_EQ(l.Letters().size(), 3u);
  EXPECT_FLOAT_EQ(l.Letters()[0].x, 479.0f);
  EXPECT_FLOAT_EQ(l.Letters()[1].x, 501.0f);
  EXPECT_FLOAT_EQ(l.Letters()[2].x, 533.0f);
  EXPECT_FLOAT_EQ(l.Letters()[0].y, -50.0f);
  EXPECT_FLOAT_EQ(l.Letters()[1].y, -60.0f);  // -50 - 20 x 1 x 0.5
  EXPECT_FLOAT_EQ(l.Letters()[2].y, -90.0f);
  l.Update(25);
  EXPECT_TRUE(l.Running()) << "starting above the screen is not leaving it";
  // At most 128 letters.
  l.Start(std::u16string(200, u'x'), std::vector<int>(200, 1), {});
  EXPECT_EQ(l.Letters().size(), 128u);
}

TEST(WinLettering, LettersBounceOnTheFloorRestThenFallAway) {
  Interface::cFlyingLetters l;
  l.Start(u"ok", {20, 20}, {0.0f, 0.0f});
  bool bounced = false, rested = false;
  int steps = 0;
  for (; steps < 2000 && !l.Done(); ++steps) {
    l.Update(25);
    const auto& a = l.Letters()[0];
    if (a.speed < 0) bounced = true;
    if (a.state != Interface::cFlyingLetters::kGone) EXPECT_LT(a.y, 650.0f);
    if (a.state == Interface::cFlyingLetters::kResting) {
      rested = true;
      EXPECT_NEAR(a.y, 374.0f, 5.0f);
      EXPECT_EQ(a.speed, 0.0f);
    }
  }
  EXPECT_TRUE(bounced);
  EXPECT_TRUE(rested);
  EXPECT_TRUE(l.Done()) << "every letter leaves in the end";
  EXPECT_LT(steps, 400) << "within ten seconds";
}

TEST(StatisticsScreen, AStarFliesInAStraightLine) {
  const Interface::StarPoint from{500, 400}, to{420, 200};
  const Interface::StarPoint half = Interface::statisticsStarAt(from, to, 500);
  EXPECT_FLOAT_EQ(half.x, 460.0f);
  EXPECT_FLOAT_EQ(half.y, 300.0f);
  const Interface::StarPoint after = Interface::statisticsStarAt(from, to, 1500);
  EXPECT_FLOAT_EQ(after.x, 420.0f) << "a landed star stays on its place";
  EXPECT_FLOAT_EQ(after.y, 200.0f);
}

TEST(LoseScreen, ThePhraseTakesThePlayersNameOnce) {
  EXPECT_EQ(Interface::losePhraseWithName(u"So close, %s. Again?", u"Ann"), u"So close, Ann. Again?");
  EXPECT_EQ(Interface::losePhraseWithName(u"Time is up.", u"Ann"), u"Time is up.");
  // A name that looks like a format stays as typed.
  EXPECT_EQ(Interface::losePhraseWithName(u"%s and %s", u"%s%d"), u"%s%d and %s");
}
}  // namespace
