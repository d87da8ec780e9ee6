// The end screens and the story window as windows: built from their definitions, driven by keys
// and clicks as the view hands them on, and what they tell their owner.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "files/ini.h"
#include "game/interface/lose_screen.h"
#include "game/interface/quest_wnd.h"
#include "game/interface/statistics_screen.h"
#include "game_test_util.h"
#include "platform/platform.h"
#include "support/input_script.h"
#include "ui/ui_deco_text.h"

using testkit::Pack;

namespace {

// The owner of a screen: it keeps the names of the commands that reach it.
class Owner : public UIWnd {
 public:
  int OnCommand(UIWnd* source) override {
    commands.push_back(source ? source->Name() : "");
    return 1;
  }
  std::vector<std::string> commands;
};

std::string button(const std::string& name, int x, int y) {
  return "[" + name + "]\ntype=ieButton\nx=" + std::to_string(x) + "\ny=" + std::to_string(y) +
         "\nxs=100\nys=40\nstage=1\nname=" + name + "\n";
}

std::string text(const std::string& name, int y) {
  return "[" + name + "]\ntype=text\nx=300\ny=" + std::to_string(y) + "\nxs=200\nys=20\nname=-\n";
}

const char* kStats = "stats_screen_test.ini";
const char* kLose = "lose_screen_test.ini";
const char* kStory = "story_window_test.ini";

struct EndScreenWindows : gametest::CleanSlate {
  void SetUp() override {
    gametest::CleanSlate::SetUp();
    std::string stats = "[Main]\nx=200\ny=0\nxs=600\nys=600\n[Stars]\nstartX=500\nstartY=400\nx=500\ny=200\n"
                        "deltaX=80\n" +
                        text("Title", 60) + text("LevelName", 90) + text("PlayerName", 120);
    for (const char* line : {"LevelScore", "ResourcesScore", "TimeScore", "TotalScore"})
      stats += text(line, 300) + text(std::string(line) + "Num", 300);
    stats += button("StatisticsOK", 250, 500) + button("StatisticsRestart", 450, 500);
    gametest::writeFile(kStats, stats);
    gametest::writeFile(kLose, "[Main]\nx=200\ny=150\nxs=600\nys=400\n" + text("text", 200) + text("name", 170) +
                                   button("StatisticsOK", 250, 480) + button("StatisticsRestart", 450, 480));
    gametest::writeFile("data/translation.ini",
                        "[t]\n#INTERFACE_LOSE_PHRASE2=Not this time, %s!\n#NAME_A=Ann\n#NAME_B=Bob\n"
                        "#STORY_TEXT1_1=Hi.\n#STORY_TEXT1_2=One.\n#STORY_TEXT2_2=Two.\n");
    gametest::writeFile(kStory,
                        "[Main]\nx=0\ny=0\nxs=1024\nys=768\n"
                        "[double]\nx1=100\ny1=500\nx2=400\ny2=600\navatarx1=10\navatary1=480\navatarx2=900\n"
                        "avatary2=580\nbuttonx=800\nbuttony=700\n"
                        "[single]\nx=200\ny=560\navatarx=40\navatary=520\nbuttonx=800\nbuttony=700\n"
                        "[box1]\ntype=sprite\nx=0\ny=0\nxs=500\nys=100\n"
                        "[box2]\ntype=sprite\nx=0\ny=0\nxs=500\nys=100\n"
                        "[name1]\ntype=text\nx=10\ny=5\nxs=300\nys=20\n"
                        "[name2]\ntype=text\nx=10\ny=5\nxs=300\nys=20\n" +
                            button("Close", 0, 0) +
                            "[text1_1]\ntype=typingText\nx=10\ny=30\nxs=400\nys=60\nname=#STORY_TEXT1_1\nperiod=20\n"
                            "[text1_2]\ntype=typingText\nx=10\ny=30\nxs=400\nys=60\nname=#STORY_TEXT1_2\nperiod=20\n"
                            "[text2_2]\ntype=typingText\nx=10\ny=30\nxs=400\nys=60\nname=#STORY_TEXT2_2\nperiod=20\n"
                            "[dialog1]\nname1=#NAME_A\n"
                            "[dialog2]\ndouble=1\nname1=#NAME_A\nname2=#NAME_B\ntext2timeout=300\n");
    iniFreeAll();
  }
  void TearDown() override {
    for (const char* f : {kStats, kLose, kStory, "data/translation.ini", "no_buttons.ini"}) std::filesystem::remove(f);
    gametest::CleanSlate::TearDown();
  }
  // A click as the view hands it on: the press, then the release at the same point.
  static void Click(UIWnd& w, int x, int y) {
    w.MouseMove(0, Pack(x, y));
    w.KeyDown(VK_LBUTTON_, Pack(x, y));
    w.KeyUp(VK_LBUTTON_, Pack(x, y));
  }
  static std::string Caption(UIWnd& w, const char* child) {
    UIWnd* c = w.FindChild(child);
    return c ? std::string(c->Caption().begin(), c->Caption().end()) : "(none)";
  }
  static void Run(UIWnd& w, int ms) {
    for (int t = 0; t < ms; t += 25) w.Update(25);
  }
};

TEST_F(EndScreenWindows, ABoardWithoutItsButtonsIsRefusedWithALineNamingItsFile) {
  gametest::writeFile("no_buttons.ini", "[Main]\nx=0\ny=0\nxs=10\nys=10\n" + text("Title", 0));
  iniFreeAll();
  Interface::UILevelStatistics stats;
  EXPECT_FALSE(stats.Build("no_buttons.ini"));
  Interface::UILoseScreen lose;
  EXPECT_FALSE(lose.Build("no_buttons.ini"));
  EXPECT_NE(gametest::gerrText().find("no_buttons.ini"), std::string::npos);
}

TEST_F(EndScreenWindows, AClickDuringTheCountShowsTheFourFinalNumbersAndEnterThenLeaves) {
  Owner owner;
  auto* stats = new Interface::UILevelStatistics();
  owner.AddChild(stats);
  ASSERT_TRUE(stats->Build(kStats));
  EXPECT_TRUE(stats->Hidden());
  stats->Show({1200, 340, 500, 2040, 3}, 5, u"Ann");
  EXPECT_FALSE(stats->Hidden());
  EXPECT_EQ(stats->Y(), 50) << "a board standing at the top moves down";
  EXPECT_EQ(Caption(*stats, "PlayerName"), "Ann");
  EXPECT_TRUE(stats->FindChild("LevelScoreNum")->Hidden()) << "no line before the fade is over";
  Run(*stats, 1100);
  ASSERT_EQ(stats->run().Phase(), 2);
  EXPECT_FALSE(stats->FindChild("LevelScoreNum")->Hidden());
  EXPECT_TRUE(stats->FindChild("TotalScoreNum")->Hidden());
  Click(*stats, 10, 10);
  EXPECT_EQ(stats->run().Phase(), Interface::cStatisticsRun::kDonePhase);
  EXPECT_EQ(Caption(*stats, "LevelScoreNum"), "1200");
  EXPECT_EQ(Caption(*stats, "ResourcesScoreNum"), "340");
  EXPECT_EQ(Caption(*stats, "TimeScoreNum"), "500");
  EXPECT_EQ(Caption(*stats, "TotalScoreNum"), "2040");
  EXPECT_FALSE(stats->FindChild("TotalScoreNum")->Hidden());
  EXPECT_TRUE(owner.commands.empty()) << "the skipping click chooses nothing";
  stats->KeyDown(VK_RETURN_, 0);
  ASSERT_EQ(owner.commands.size(), 1u);
  EXPECT_EQ(owner.commands[0], "StatisticsOK");
  // A second Enter before the owner has acted chooses nothing more.
  stats->KeyDown(VK_RETURN_, 0);
  EXPECT_EQ(owner.commands.size(), 1u);
}

TEST_F(EndScreenWindows, StarsLandWithTheirSealAndAZeroStarWinFliesNone) {
  Owner owner;
  auto* stats = new Interface::UILevelStatistics();
  owner.AddChild(stats);
  ASSERT_TRUE(stats->Build(kStats));
  stats->Show({100, 100, 100, 300, 2}, 1, u"");
  Run(*stats, 8000);
  EXPECT_EQ(stats->sealsPlayed(), 2);
  // Stars 80 apart centred on 500: 460 and 540, landing on the row at y = 200.
  EXPECT_FLOAT_EQ(stats->StarPlace(0).x, 460.0f);
  EXPECT_FLOAT_EQ(stats->StarPlace(1).x, 540.0f);
  EXPECT_FLOAT_EQ(stats->StarPlace(1).y, 200.0f);
  stats->Show({100, 0, 0, 100, 0}, 1, u"");
  Run(*stats, 8000);
  EXPECT_EQ(stats->sealsPlayed(), 0);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(stats->run().StarAt(i).flying);
  // The restart button, clicked once everything shows, where the board has moved it (50 down).
  Click(*stats, 450 + 50, 500 + 20);
  EXPECT_TRUE(owner.commands.empty());
  Click(*stats, 450 + 50, 550 + 20);
  ASSERT_EQ(owner.commands.size(), 1u);
  EXPECT_EQ(owner.commands[0], "StatisticsRestart");
}

TEST_F(EndScreenWindows, TheLoseScreenNamesThePlayerAndIgnoresInputWhileHidden) {
  Owner owner;
  auto* lose = new Interface::UILoseScreen();
  owner.AddChild(lose);
  ASSERT_TRUE(lose->Build(kLose));
  EXPECT_EQ(lose->KeyDown(VK_RETURN_, 0), 0) << "hidden, it takes nothing";
  EXPECT_TRUE(owner.commands.empty());
  lose->Show(2, u"Ann");
  EXPECT_EQ(Caption(*lose, "text"), "Not this time, Ann!");
  EXPECT_EQ(Caption(*lose, "name"), "Ann");
  // A click beside the buttons is kept from the map but chooses nothing.
  Click(*lose, 220, 160);
  EXPECT_TRUE(owner.commands.empty());
  Click(*lose, 260, 490);
  ASSERT_EQ(owner.commands.size(), 1u);
  EXPECT_EQ(owner.commands[0], "StatisticsOK");
}

TEST_F(EndScreenWindows, ASingleStoryClosesOnTheFirstCloseAfterItsText) {
  Interface::UIQuestWnd story;
  ASSERT_TRUE(story.Build(kStory));
  int closed = 0;
  story.SetOnClosed([&closed] { ++closed; });
  EXPECT_FALSE(story.Open(9)) << "no such dialog";
  EXPECT_FALSE(story.IsShown());
  ASSERT_TRUE(story.Open(1));
  EXPECT_TRUE(story.IsShown());
  EXPECT_EQ(Caption(*story.FindChild("box1"), "name1"), "Ann");
  EXPECT_EQ(story.FindChild("box1")->X(), 200) << "a single dialog's box stands where [single] says";
  EXPECT_TRUE(story.FindChild("box2")->Hidden());
  ASSERT_NE(story.Text(0), nullptr);
  EXPECT_EQ(story.Text(1), nullptr);
  Run(story, 200);  // "Hi." is typed in 60 ms
  EXPECT_FALSE(story.Text(0)->Typing());
  // The button stands where [single] puts it.
  Click(story, 800 + 50, 700 + 20);
  EXPECT_FALSE(story.IsShown());
  EXPECT_EQ(closed, 1);
}

TEST_F(EndScreenWindows, AnEarlyCloseFinishesBothTextsAndTheNextOneCloses) {
  Interface::UIQuestWnd story;
  ASSERT_TRUE(story.Build(kStory));
  int closed = 0;
  story.SetOnClosed([&closed] { ++closed; });
  ASSERT_TRUE(story.Open(2));
  EXPECT_FALSE(story.FindChild("box2")->Hidden());
  EXPECT_EQ(story.FindChild("box2")->X(), 400);
  Run(story, 100);
  ASSERT_NE(story.Text(1), nullptr);
  EXPECT_TRUE(story.Text(1)->Hidden()) << "the second text waits for its time";
  story.KeyDown(VK_ESCAPE_, 0);
  EXPECT_TRUE(story.IsShown());
  EXPECT_EQ(closed, 0);
  auto shown = [](Core::UITypingText* t) { return std::string(t->Caption().begin(), t->Caption().end()); };
  EXPECT_EQ(shown(story.Text(0)), "One.");
  EXPECT_EQ(shown(story.Text(1)), "Two.");
  // The second text does not start typing again when its time comes.
  Run(story, 400);
  EXPECT_EQ(shown(story.Text(1)), "Two.");
  story.KeyDown(VK_RETURN_, 0);
  EXPECT_FALSE(story.IsShown());
  EXPECT_EQ(closed, 1);
  // Opened again, it starts afresh.
  ASSERT_TRUE(story.Open(2));
  Run(story, 100);
  story.KeyDown(VK_RETURN_, 0);
  EXPECT_TRUE(story.IsShown());
}

// The demo's own boards: both have their buttons, every text they show is translated in both
// languages, and level 3's story opens with two speakers whose pictures exist.
TEST(DemoEndScreens, TheBoardsBuildAndEveryTextTheyShowIsTranslatedInBothLanguages) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const std::string data = std::string(src) + "/demo/data/";
  const std::string stats = data + "interface/statistics.ini", lose = data + "interface/losescreen.ini";
  const std::string note = data + "interface/message.ini", story = data + "menu/ingameDialogs.ini";
  Interface::UILevelStatistics board;
  EXPECT_TRUE(board.Build(stats.c_str()));
  Interface::UILoseScreen witch;
  EXPECT_TRUE(witch.Build(lose.c_str()));
  Interface::UIQuestWnd window;
  ASSERT_TRUE(window.Build(story.c_str()));
  ASSERT_TRUE(window.Open(3));
  EXPECT_TRUE(window.dialog().twoSpeakers);
  for (const std::string& pic : {window.dialog().avatar1, window.dialog().avatar2})
    EXPECT_TRUE(std::filesystem::exists(std::string(src) + "/demo/" + pic)) << pic;
  std::vector<std::string> keys = {"#INTERFACE_YOUWIN", "#INTERFACE_LOSE_PHRASE1", "#INTERFACE_LOSE_PHRASE2",
                                   "#INTERFACE_LOSE_PHRASE3", window.dialog().name1, window.dialog().name2,
                                   "#STORY_TEXT1_3", "#STORY_TEXT2_3"};
  for (const std::string& file : {stats, lose, note, story})
    for (const std::string& section : iniSectionList(file.c_str())) {
      const std::string name = iniString(file.c_str(), section.c_str(), "name");
      if (!name.empty() && name[0] == '#') keys.push_back(name);
    }
  EXPECT_GE(keys.size(), 16u);
  for (const char* language : {"translation.ini", "translation_ru.ini"}) {
    const std::string texts = data + language;
    for (const std::string& key : keys)
      EXPECT_STRNE(iniGetString(texts.c_str(), nullptr, key.c_str(), ""), "") << language << " " << key;
  }
  // The lose phrases name the player.
  for (int n = 1; n <= 3; ++n) {
    const std::string key = "#INTERFACE_LOSE_PHRASE" + std::to_string(n);
    EXPECT_NE(std::string(iniGetString((data + "translation_ru.ini").c_str(), nullptr, key.c_str(), "")).find("%s"),
              std::string::npos);
  }
}

}  // namespace
