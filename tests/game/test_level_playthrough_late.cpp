// The later demo levels played from start to end through the whole game, headless, as a player
// would: clicks at the objects' screen points go through the shell, the window tree, the view and
// the model on the manual clock, stories are read with Enter, and each level is won with three
// stars inside its gold time; then the recorded journal replays to the same log, line for line.
// Before that, what the levels name (pictures, texts, goal objects) is checked to exist, so a
// missing picture or text is reported by name rather than as a level that cannot be won.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "files/ini.h"
#include "playthrough_copy.h"
#include "support/level_player.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

struct LatePlaythrough : gametest::PlaythroughCopy {
  LatePlaythrough() : PlaythroughCopy(false) {}
};

// Everything a level's map and goals name, looked up in the demo as the game would.
std::vector<std::string> missingNames(int n) {
  std::vector<std::string> missing;
  const std::string dir = "data/maps/" + std::to_string(n);
  const std::string mapFile = dir + "/map.ini", taskFile = dir + "/task.ini";
  std::set<std::string> catalogue;
  {
    const std::string xml = testkit::readFile("data/animations.xml");
    for (size_t at = xml.find("id=\""); at != std::string::npos; at = xml.find("id=\"", at + 4))
      catalogue.insert(xml.substr(at + 4, xml.find('"', at + 4) - at - 4));
  }
  std::set<std::string> tags;
  for (const std::string& s : iniSectionList(mapFile.c_str())) {
    tags.insert(s);
    for (int i = 0; i < 21; ++i) {
      const std::string a = iniGetString(mapFile.c_str(), s.c_str(), ("anim" + std::to_string(i)).c_str(), "");
      if (!a.empty() && a != "null" && !catalogue.count(a)) missing.push_back(s + ": animation " + a);
    }
    const std::string name = iniGetString(mapFile.c_str(), s.c_str(), "name", "");
    for (const char* file : {"data/translation.ini", "data/translation_ru.ini"})
      if (name.size() > 1 && name[0] == '#' && std::string(iniGetString(file, nullptr, name.c_str(), "")).empty())
        missing.push_back(s + ": text " + name + " in " + file);
  }
  for (const std::string& s : iniSectionList(taskFile.c_str())) {
    for (const char* key : {"objectTag", "appearTag"}) {
      const std::string tag = iniGetString(taskFile.c_str(), s.c_str(), key, "");
      if (!tag.empty() && !tags.count(tag)) missing.push_back("goal " + s + ": no object " + tag);
    }
    const std::string label = iniGetString(taskFile.c_str(), s.c_str(), "objectsName", "");
    for (const char* file : {"data/translation.ini", "data/translation_ru.ini"})
      if (!label.empty() && std::string(iniGetString(file, nullptr, label.c_str(), "")).empty())
        missing.push_back("goal " + s + ": text " + label + " in " + file);
  }
  return missing;
}

}  // namespace

TEST_F(LatePlaythrough, EveryPictureTextAndGoalObjectTheLaterLevelsNameExists) {
  if (!Enter("late_names", 4)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  for (int n : {4, 5, 6}) {
    SCOPED_TRACE("level " + std::to_string(n));
    ASSERT_TRUE(fs::exists(run / "data" / "maps" / std::to_string(n) / "map.bin"));
    EXPECT_EQ(missingNames(n), std::vector<std::string>{});
  }
  // A name that is not there is reported: the check itself can fail.
  testkit::writeFile(run / "data" / "maps" / "4" / "task.ini", "[Ghost]\ntype=pick\nobjectTag=Nobody\n");
  iniFreeAll();
  EXPECT_EQ(missingNames(4), std::vector<std::string>{"goal Ghost: no object Nobody"});
}

TEST_F(LatePlaythrough, LevelFourIsWonWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("late_4", 4)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  WinAndReplay(4);
}

TEST_F(LatePlaythrough, LevelFiveIsWonInTheMistWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("late_5", 5)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  WinAndReplay(5);
}

TEST_F(LatePlaythrough, LevelSixsQuestsAreWonWithThreeStarsAndReplayFromTheJournal) {
  if (!Enter("late_6", 6)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  WinAndReplay(6);
}
