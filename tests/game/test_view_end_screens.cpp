// The game view with its end screens and story window: a won level shows the statistics board, a
// lost one the lose board, both keep input off the map, and their buttons leave the level or play
// it again; a level with a story opens the story window, which holds the level until it closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/soft_cursor.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/user_files.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/interface/interface.h"
#include "game/interface/lose_screen.h"
#include "game/interface/message_panel.h"
#include "game/interface/quest_wnd.h"
#include "game/interface/statistics_screen.h"
#include "game_test_util.h"
#include "platform/platform.h"
#include "support/game_harness.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;
using Game::Phase;
using testkit::GameHarness;
using testkit::Pack;

namespace {

std::string button(const std::string& name, int x, int y) {
  return "[" + name + "]\ntype=ieButton\nx=" + std::to_string(x) + "\ny=" + std::to_string(y) +
         "\nxs=100\nys=40\nstage=1\nname=" + name + "\n";
}

std::string number(const std::string& name, int y) {
  return "[" + name + "]\ntype=text\nx=300\ny=" + std::to_string(y) + "\nxs=200\nys=20\nname=0\n";
}

struct ViewEndScreens : gametest::CleanSlate {
  void SetUp() override {
    gametest::CleanSlate::SetUp();
    gametest::freshUserFolder("View End Test", "ViewEndTest");
    std::string stats = "[Main]\nx=200\ny=50\nxs=600\nys=600\n[Stars]\nx=500\ny=200\ndeltaX=80\n";
    for (const char* line : {"LevelScore", "ResourcesScore", "TimeScore", "TotalScore"})
      stats += number(line, 300) + number(std::string(line) + "Num", 300);
    gametest::writeFile(Interface::UILevelStatistics::kFile,
                        stats + button("StatisticsOK", 250, 500) + button("StatisticsRestart", 450, 500));
    gametest::writeFile(Interface::UILoseScreen::kFile, "[Main]\nx=200\ny=150\nxs=600\nys=400\n" +
                                                            number("text", 200) + button("StatisticsOK", 250, 480) +
                                                            button("StatisticsRestart", 450, 480));
    gametest::writeFile("data/menu/ingameDialogs.ini",
                        "[Main]\nx=0\ny=0\nxs=1024\nys=768\n"
                        "[single]\nx=200\ny=560\nbuttonx=800\nbuttony=700\n"
                        "[box1]\ntype=sprite\nx=0\ny=0\nxs=500\nys=100\n" +
                            button("Close", 0, 0) +
                            "[text1_3]\ntype=typingText\nx=10\ny=30\nxs=400\nys=60\nname=Gold!\nperiod=20\n"
                            "[dialog3]\nname1=#A\n");
    iniFreeAll();
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
    playersClear();
    for (const char* f : {"game.ini", Interface::UILevelStatistics::kFile, Interface::UILoseScreen::kFile,
                          Interface::UIGameMessage::kFile, "data/menu/ingameDialogs.ini", "view_end_test.ini"})
      fs::remove(f);
    gametest::CleanSlate::TearDown();
  }
  void Switches(const std::string& lines) {
    gametest::writeFile("view_end_test.ini", "[main]\n" + lines);
    iniFreeAll();
    testSettingsLoad("view_end_test.ini");
  }
  void Load(GameHarness& h, int n) {
    testkit::LevelFiles f;
    f.balance = "[Main]\ntLevelTime=60000\ntGoldTime=20000\ntSilverTime=40000\nMinuteTime=1000\n[Resources]\n"
                "Worker=1\nFood=10\n[ResourcesMax]\nFood=30\nOre=30\nGold=30\n";
    std::string error;
    ASSERT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
    ASSERT_TRUE(h.Load(n));
    Game::levelShowView();
    ASSERT_NE(view(), nullptr);
  }
  static void Player(int level) {
    ASSERT_TRUE(playerAdd(u"Ann"));
    ASSERT_TRUE(playerSelect(playerFind(u"Ann")));
    progressSetLevel(*playerProgress(), level, false);
  }
  Game::cGameView* view() const { return Game::levelContext() ? Game::levelContext()->view : nullptr; }
  Interface::UIInterface* ui() const { return view() ? view()->interfaceWnd() : nullptr; }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      m_clock += 25;
      gameSetClock(m_clock);
      wndRoot()->Update(25);
      wndCollectGarbage();
    }
  }
  void Click(int x, int y) {
    wndOfferMouseMove(0, Pack(x, y));
    wndOfferKeyDown(VK_LBUTTON_, Pack(x, y));
    wndOfferKeyUp(VK_LBUTTON_, Pack(x, y));
  }
  void Key(int code) {
    wndOfferKeyDown(code, 0);
    wndOfferKeyUp(code, 0);
  }
  void Type(const std::string& text) {
    for (char c : text) wndOfferChar(c, 1);
  }
  // Plays into the result: a click starts the clock, the debug word ends the level.
  void PlayTo(GameHarness& h, const char* word) {
    Click(10, 10);
    Steps(40);
    Type(word);
    for (int i = 0; i < 1000 && view() && !view()->resultShown(); ++i) Steps(1);
    ASSERT_NE(view(), nullptr);
    ASSERT_TRUE(view()->resultShown());
    (void)h;
  }
  int32_t m_clock = 0;
};

TEST_F(ViewEndScreens, AWonLevelShowsTheStatisticsBoardAndOkLeavesTheLevel) {
  Switches("Game_Chit=1\n");
  Player(44);
  GameHarness h;
  Load(h, 44);
  PlayTo(h, "levelu");
  ASSERT_TRUE(view()->resultOnScreen());
  ASSERT_NE(ui()->statistics(), nullptr);
  EXPECT_FALSE(ui()->statistics()->Hidden());
  EXPECT_TRUE(ui()->loseScreen()->Hidden()) << "a won level never shows the lose board";
  EXPECT_TRUE(ui()->Modal());
  EXPECT_TRUE(ui()->HitTest(10, 700)) << "the map takes no click while the board stands";
  // The board shows the level's own result: a click skips to its final numbers.
  const Game::LevelResult r = h.model().result();
  Click(10, 10);
  auto caption = [&](const char* name) {
    const std::u16string c = ui()->statistics()->FindChild(name)->Caption();
    return std::string(c.begin(), c.end());
  };
  EXPECT_EQ(caption("LevelScoreNum"), std::to_string(r.levelScore));
  EXPECT_EQ(caption("TotalScoreNum"), std::to_string(r.totalScore));
  EXPECT_EQ(ui()->statistics()->run().Stars(), 3);
  // The debug words reach no level behind the board.
  Type("loose");
  EXPECT_TRUE(h.model().won());
  Game::cGameView* first = view();
  Key(VK_RETURN_);
  EXPECT_EQ(first->resultChoice(), Game::cGameView::kChoiceLeave);
  EXPECT_FALSE(ui()->Modal());
  Steps(1);
  EXPECT_EQ(Game::levelContext(), nullptr) << "the level has ended";
  ASSERT_GT(wndRoot()->ChildCount(), 0);
  EXPECT_EQ(dynamic_cast<Game::cGameView*>(wndRoot()->Child(0)), nullptr) << "the next screen";
  for (int i = 0; i < 200 && !Game::levelContext(); ++i) Steps(1);
  EXPECT_EQ(Game::levelContext(), nullptr) << "leaving does not start a level";
}

TEST_F(ViewEndScreens, RestartOnTheLoseBoardPlaysTheSameLevelAgain) {
  Switches("Game_Chit=1\n");
  Player(44);
  GameHarness h;
  Load(h, 44);
  PlayTo(h, "loose");
  ASSERT_TRUE(view()->resultOnScreen());
  EXPECT_FALSE(ui()->loseScreen()->Hidden());
  EXPECT_TRUE(ui()->statistics()->Hidden());
  const int phrase = ui()->loseScreen()->phrase();
  EXPECT_TRUE(phrase >= 1 && phrase <= 3);
  // Nothing happens without a choice, however long it stands.
  Steps(Game::cGameView::kResultPauseMs / 25 * 2);
  Game::cGameView* first = view();
  ASSERT_EQ(first, view());
  Click(450 + 50, 480 + 20);
  EXPECT_EQ(first->resultChoice(), Game::cGameView::kChoiceRestart);
  bool again = false;
  for (int i = 0; i < 400 && !again; ++i) {
    Steps(1);
    // (The new view may stand where the old one stood in memory: it is told apart by its state.)
    again = Game::levelContext() && Game::levelContext()->levelNumber == 44 && view() && !view()->resultShown();
  }
  EXPECT_TRUE(again) << "level 44 is played again";
}

TEST_F(ViewEndScreens, WithoutItsBoardAResultStillEndsTheLevelAfterThePause) {
  fs::remove(Interface::UILevelStatistics::kFile);
  Switches("Game_Chit=1\n");
  GameHarness h;
  Load(h, 45);
  PlayTo(h, "levelu");
  EXPECT_FALSE(view()->resultOnScreen());
  EXPECT_NE(gametest::gerrText().find("no end screen"), std::string::npos);
  Steps(Game::cGameView::kResultPauseMs / 25 + 1);
  EXPECT_EQ(Game::levelContext(), nullptr);
}

TEST_F(ViewEndScreens, AStoryHoldsTheLevelUntilItsTextIsReadAndClosed) {
  GameHarness h;
  Load(h, 3);
  ASSERT_NE(view()->storyWindow(), nullptr);
  EXPECT_TRUE(view()->StoryShown());
  EXPECT_EQ(view()->lastStory(), 3);
  EXPECT_TRUE(ui()->Modal());
  // A click on the map neither starts the clock nor reaches the level.
  Click(10, 10);
  Steps(4);
  EXPECT_NE(h.model().phase(), Phase::Running);
  // The first Enter finishes the text at once, the second closes the window.
  Key(VK_RETURN_);
  EXPECT_TRUE(view()->StoryShown());
  Key(VK_RETURN_);
  EXPECT_FALSE(view()->StoryShown());
  EXPECT_EQ(view()->storiesClosed(), 1);
  EXPECT_FALSE(ui()->Modal());
  Steps(1);
  Click(10, 10);
  EXPECT_EQ(h.model().phase(), Phase::Running) << "now the click starts the level";
}

TEST_F(ViewEndScreens, TheNoteBlinksWhileTheClockWaitsStepsAsideForATipAndGoesWhenTheClockStarts) {
  gametest::writeFile(Interface::UIGameMessage::kFile,
                      "[Main]\nx=300\ny=100\nxs=400\nys=50\n[Message]\ntype=text\nx=300\ny=100\nxs=400\nys=50\n"
                      "name=Click to begin\n");
  iniFreeAll();
  GameHarness h;
  Load(h, 46);
  Interface::UIGameMessage* note = ui()->message();
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(note->Hidden());
  auto post = [](Game::Event code) {
    GameEvent e;
    MakeEvent(e, code);
    Post(Game::levelContext()->dispatcher.get(), e);
  };
  // The first worker has come: the level waits for the player's first order.
  post(Game::Event::FirstWorkerAvailable);
  ASSERT_FALSE(note->Hidden());
  Steps(10);
  EXPECT_EQ(note->blinkMs(), 250) << "it blinks from the start of its showing";
  post(Game::Event::TipShown);
  EXPECT_TRUE(note->Hidden()) << "a tip has the screen";
  post(Game::Event::FirstWorkerAvailable);
  EXPECT_TRUE(note->Hidden()) << "still the tip's";
  post(Game::Event::TipClosed);
  EXPECT_FALSE(note->Hidden()) << "back when the tip is gone";
  // The first click starts the clock: the note has done its work.
  Click(10, 10);
  Steps(1);
  EXPECT_EQ(h.model().phase(), Phase::Running);
  EXPECT_TRUE(note->Hidden());
  post(Game::Event::TipShown);
  post(Game::Event::TipClosed);
  EXPECT_TRUE(note->Hidden()) << "nothing is pending once the clock runs";
}

}  // namespace
