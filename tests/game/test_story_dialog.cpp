// Story dialogs: entries read from their file and the close button's two-step rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "game/interface/story_dialog.h"
#include "game_test_util.h"

namespace {
struct StoryDialogs : gametest::CleanSlate {
  const std::string file = "story_test_dialogs.ini";
  void TearDown() override {
    std::filesystem::remove(file);
    gametest::CleanSlate::TearDown();
  }
};

TEST_F(StoryDialogs, EntriesTakeTheirPlacesFromTheirForm) {
  gametest::writeFile(file,
                      "[double]\nx1=100\ny1=120\nx2=400\ny2=520\navatarx1=20\navatary1=30\navatarx2=800\n"
                      "avatary2=600\nbuttonx=900\nbuttony=700\n"
                      "[single]\nx=300\ny=200\navatarx=40\navatary=50\nbuttonx=610\nbuttony=420\n"
                      "[dialog3]\ndouble=1\neffect=1\neffectTimeout=700\nname1=#NAME_ELDER\nname2=#NAME_SMITH\n"
                      "avatar1=elder\navatar2=smith\n"
                      "[dialog5]\nname1=#NAME_ELDER\navatar1=elder\ntext2timeout=900\n");
  Interface::StoryDialog d;
  ASSERT_TRUE(Interface::storyDialogRead(file.c_str(), 3, d));
  EXPECT_TRUE(d.twoSpeakers);
  EXPECT_TRUE(d.blinkingEyes);
  EXPECT_EQ(d.effectTimeoutMs, 700);
  EXPECT_EQ(d.text2TimeoutMs, 1500) << "the second text waits 1.5 s when the entry says nothing";
  EXPECT_EQ(d.name2, "#NAME_SMITH");
  EXPECT_EQ(d.box2.x, 400);
  EXPECT_EQ(d.box2.y, 520);
  EXPECT_EQ(d.avatar2At.x, 800);
  EXPECT_EQ(d.button.y, 700);
  EXPECT_EQ(d.text1Window, "text1_3");
  EXPECT_EQ(d.text2Window, "text2_3");

  ASSERT_TRUE(Interface::storyDialogRead(file.c_str(), 5, d));
  EXPECT_FALSE(d.twoSpeakers);
  EXPECT_FALSE(d.blinkingEyes);
  EXPECT_EQ(d.text2TimeoutMs, 900);
  EXPECT_EQ(d.box1.x, 300);
  EXPECT_EQ(d.avatar1At.y, 50);
  EXPECT_EQ(d.button.x, 610);
  EXPECT_TRUE(d.text2Window.empty());
}

TEST_F(StoryDialogs, AMissingEntryIsRefusedWithALineNamingIt) {
  gametest::writeFile(file, "[dialog1]\nname1=#A\n");
  Interface::StoryDialog d;
  EXPECT_FALSE(Interface::storyDialogRead(file.c_str(), 13, d));
  const std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find(file), std::string::npos);
  EXPECT_NE(gerr.find("dialog13"), std::string::npos);
}

TEST_F(StoryDialogs, TheDemosThirdLevelHasATwoSpeakerStoryWithTranslatedNames) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const std::string demo = std::string(src) + "/demo/data/";
  const std::string dialogs = demo + "menu/ingameDialogs.ini";
  const std::string texts = demo + "translation.ini";
  Interface::StoryDialog d;
  ASSERT_TRUE(Interface::storyDialogRead(dialogs.c_str(), 3, d)) << gametest::gerrText();
  EXPECT_TRUE(d.twoSpeakers);
  for (const std::string& key : {d.name1, d.name2, std::string("#STORY_TEXT1_3"), std::string("#STORY_TEXT2_3")}) {
    ASSERT_FALSE(key.empty());
    EXPECT_STRNE(iniGetString(texts.c_str(), nullptr, key.c_str(), ""), "") << key;
  }
  // The boxes stand on the 1024 x 768 screen.
  for (const auto& p : {d.box1, d.box2, d.button}) {
    EXPECT_TRUE(p.x >= 0 && p.x < 1024 && p.y >= 0 && p.y < 768) << p.x << "," << p.y;
  }
}

TEST(StoryClose, ASingleDialogClosesOnTheFirstCloseAfterItsText) {
  Interface::cStoryClose c;
  c.Open(false);
  c.TextFinished();
  EXPECT_TRUE(c.Close());
  EXPECT_FALSE(c.IsOpen());
  EXPECT_FALSE(c.Close()) << "a closed dialog ignores the button";
}

TEST(StoryClose, AnEarlyCloseFinishesTheTextsFirst) {
  Interface::cStoryClose c;
  c.Open(true);
  c.TextFinished();
  EXPECT_FALSE(c.Close()) << "the second text is still typing";
  EXPECT_TRUE(c.IsOpen());
  EXPECT_EQ(c.Finished(), 2);
  EXPECT_TRUE(c.Close());
}
}  // namespace
