// Players and their saved progress: round trips through the files, damaged and interrupted
// saves, hostile names, removing players, best results and the high-score table.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <iterator>
#include <string>

#include "files/file.h"
#include "files/files_test_util.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/profile.h"
#include "files/user_files.h"

namespace fs = std::filesystem;
using filetest::readFile;
using filetest::writeFile;

namespace {
const std::string kBom = "\xEF\xBB\xBF";

struct Profiles : ::testing::Test {
  void SetUp() override {
    writeFile("game.ini", "[main]\nname=Profile Test\npath=ProfileTest\n");
    iniFreeAll();
    fileInitPaths();
    for (const auto& e : fs::directory_iterator(fileUserFolder())) fs::remove(e.path());
    playersClear();
    filetest::clearGerr();
  }
  void TearDown() override {
    playersClear();
    playersSetHooks({});
    iniFreeAll();
    fs::remove("game.ini");
  }
  // What a new run of the game does: forget every cached document and read the files again.
  static void restart() {
    playersClear();
    iniFreeAll();
    fileInitUserFiles();
    playersLoad();
  }
  static std::string user(const char* name) { return fileUserFolder() + "/" + name; }
  static std::string profileText() { return readFile(user("profile.ini")); }
  static bool has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }
};
}  // namespace

TEST_F(Profiles, FirstRunMakesAnEmptyPlayerList) {
  fileInitUserFiles();
  std::string text = readFile(user("profgame.ini"));
  EXPECT_TRUE(has(text, "amount=0"));
  EXPECT_TRUE(has(text, "current=-1"));
  EXPECT_EQ(readFile(user("profile.ini")), kBom);
  EXPECT_EQ(readFile(user("scores.ini")), kBom);
  playersLoad();
  EXPECT_EQ(playersCount(), 0);
  EXPECT_EQ(playerCurrent(), -1);
  EXPECT_EQ(playerProgress(), nullptr);
  EXPECT_EQ(filetest::gerrText(), "");  // a first run is not an error
}

TEST_F(Profiles, EveryFieldSurvivesSavingAndLoading) {
  fileInitUserFiles();
  ASSERT_TRUE(playerAdd(u"Bob"));
  ASSERT_TRUE(playerAdd(u"Анна"));
  ASSERT_TRUE(playerSelect(0));
  PlayerProgress& r = *playerProgress();
  EXPECT_EQ(r.name, "Bob");
  progressSetMode(r, 2);
  progressSetLevel(r, 12, true);
  progressSetLevel(r, 5, false);
  progressSetResult(r, 3, 1234, 95, 2);
  progressSetResult(r, 12, 2000000, 300, 3);  // above the counters' range: must not read back as 0
  r.s[2][12] = 77;
  r.achV[2][0] = 60000001;
  r.achN[2][57] = -5;
  r.tipsShown[47] = true;
  r.exactTips[12] = true;
  r.music = 0.25f;
  r.sound = 0.5f;
  r.soundOn = false;
  r.cursorOn = false;
  r.voicesOn = false;
  ASSERT_TRUE(playersSave());

  // The layout other tools and older saves rely on.
  std::string text = profileText();
  EXPECT_EQ(text.substr(0, 3), kBom);
  EXPECT_TRUE(has(text, "[Bob]"));
  EXPECT_TRUE(has(text, "Bob_mode=2"));
  EXPECT_TRUE(has(text, "[Bob_NoTime]"));
  EXPECT_TRUE(has(text, "Bob_NoTime_level=5"));
  EXPECT_TRUE(has(text, "Bob_NoTime_levelMax=12"));
  EXPECT_TRUE(has(text, "Bob_NoTime_lp12="));
  EXPECT_FALSE(has(text, "Bob_NoTime_lp13="));
  EXPECT_TRUE(has(text, "Bob_NoTime_s13=77"));
  EXPECT_FALSE(has(text, "Bob_NoTime_s14="));
  EXPECT_TRUE(has(text, "Bob_NoTime_lft=000000000001" + std::string(36, '0')));
  EXPECT_TRUE(has(text, "main_name=Bob_NoTime"));
  EXPECT_TRUE(has(text, "Bob_version=0"));
  std::string list = readFile(user("profgame.ini"));
  EXPECT_TRUE(has(list, "player2=Анна"));
  EXPECT_TRUE(has(list, "amount=2"));
  EXPECT_TRUE(has(list, "current=0"));

  restart();
  ASSERT_EQ(playersCount(), 2);
  EXPECT_EQ(playerName(1), u"Анна");
  ASSERT_EQ(playerCurrent(), 0);
  const PlayerProgress& b = *playerProgress();
  EXPECT_EQ(b.name, "Bob");
  EXPECT_EQ(b.mode, 2);
  EXPECT_TRUE(b.modeChosen);
  EXPECT_EQ(b.level[2], 5);
  EXPECT_EQ(b.levelMax[2], 12);
  EXPECT_EQ(b.finished[2][11], 1);
  EXPECT_EQ(b.finished[2][4], 0);
  EXPECT_EQ(b.won[2][2], 1);
  EXPECT_EQ(b.won[2][3], 0);
  EXPECT_EQ(b.sl[2][2], 1234);
  EXPECT_EQ(b.lp[2][2], 2);
  EXPECT_EQ(b.t[2][2], 95);
  EXPECT_EQ(b.sl[2][11], 2000000);
  EXPECT_EQ(b.s[2][12], 77);
  EXPECT_EQ(b.achV[2][0], 60000001);
  EXPECT_EQ(b.achN[2][57], -5);
  EXPECT_TRUE(b.tipsShown[47]);
  EXPECT_FALSE(b.tipsShown[0]);
  EXPECT_TRUE(b.exactTips[12]);
  EXPECT_FLOAT_EQ(b.music, 0.25f);
  EXPECT_FLOAT_EQ(b.sound, 0.5f);
  EXPECT_FALSE(b.soundOn);
  EXPECT_TRUE(b.musicOn);
  EXPECT_FALSE(b.cursorOn);
  EXPECT_FALSE(b.voicesOn);
  EXPECT_EQ(progressTotalScore(b), 2001234);

  // The Cyrillic player keeps a section of her own under her UTF-8 name.
  ASSERT_TRUE(playerSelect(1));
  EXPECT_EQ(playerProgress()->name, "Анна");
  progressSetLevel(*playerProgress(), 48, true);
  ASSERT_TRUE(playersSave());
  EXPECT_TRUE(has(profileText(), "[Анна_Normal]"));
  restart();
  ASSERT_EQ(playerCurrent(), 1);
  EXPECT_EQ(playerProgress()->finished[0][47], 1);
  EXPECT_EQ(playerProgress()->levelMax[0], 48);
  EXPECT_EQ(filetest::gerrText(), "");
}

TEST_F(Profiles, OutOfRangeAndUnreadableValuesTakeTheirDefaults) {
  writeFile(user("profgame.ini"), "[Players]\namount=1\nplayer1=Bob\ncurrent=0\n");
  writeFile(user("profile.ini"),
            "[Bob]\nBob_music=1.5\nBob_sound=abc\nBob_mode=3\nBob_cursor=-7\nBob_isSound=2\n"
            "[Bob_Normal]\nBob_Normal_level=49\nBob_Normal_levelMax=3\nBob_Normal_lft=1x1\n");
  restart();
  ASSERT_NE(playerProgress(), nullptr);
  const PlayerProgress& r = *playerProgress();
  EXPECT_FLOAT_EQ(r.music, 0.7f);
  EXPECT_FLOAT_EQ(r.sound, 1.0f);
  EXPECT_EQ(r.mode, 0);          // 3 would index past the three modes
  EXPECT_TRUE(r.cursorOn);       // -7 is in its range and not zero
  EXPECT_TRUE(r.soundOn);        // 2 is outside 0..1
  EXPECT_EQ(r.level[0], 1);
  EXPECT_EQ(r.levelMax[0], 3);
  EXPECT_EQ(r.finished[0][0], 1);
  EXPECT_EQ(r.finished[0][1], 0);
  EXPECT_EQ(r.finished[0][2], 1);
  std::string gerr = filetest::gerrText();
  EXPECT_TRUE(has(gerr, "profile.ini line 3: Bob_sound has \"abc\"")) << gerr;
}

TEST_F(Profiles, DamagedLinesAreLeftOutAndTheRestIsKept) {
  writeFile(user("profgame.ini"), "[Players]\namount=1\nplayer1=Bob\ncurrent=0\n");
  // A garbage header in the middle would otherwise take every key after it into a bogus section.
  writeFile(user("profile.ini"), kBom + "[Bob]\nBob_music=0.3\n[\x01\x02\xff\xfe\nBob_sound=0.4\nnonsense\n"
                                        "[Bob_Normal]\nBob_Normal_level=4\nBob_Normal_levelMax=6\n");
  restart();
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_FLOAT_EQ(playerProgress()->music, 0.3f);
  EXPECT_FLOAT_EQ(playerProgress()->sound, 0.4f);
  EXPECT_EQ(playerProgress()->level[0], 4);
  EXPECT_EQ(playerProgress()->levelMax[0], 6);
  std::string gerr = filetest::gerrText();
  EXPECT_TRUE(has(gerr, "profile.ini line 3: cannot be read")) << gerr;
  EXPECT_TRUE(has(gerr, "profile.ini line 5: cannot be read")) << gerr;
  EXPECT_FALSE(has(gerr, "line 4"));
  // The damaged original is kept for whoever wants to look; the mended file reads clean.
  EXPECT_TRUE(has(readFile(user("profile.ini.damaged")), "nonsense"));
  EXPECT_FALSE(has(profileText(), "nonsense"));
}

TEST_F(Profiles, AFileCutShortIsCompletedFromItsBackup) {
  fileInitUserFiles();
  ASSERT_TRUE(playerAdd(u"Bob"));
  ASSERT_TRUE(playerSelect(0));
  progressSetLevel(*playerProgress(), 7, true);
  progressSetResult(*playerProgress(), 7, 4321, 60, 3);
  ASSERT_TRUE(playersSave());
  ASSERT_TRUE(playersSave());  // the second save leaves the first as the backup
  std::string whole = profileText();
  ASSERT_TRUE(fs::exists(user("profile.ini.bak")));
  // Cut right in the middle of the best score of level 7.
  size_t at = whole.find("Bob_Normal_sl7=43");
  ASSERT_NE(at, std::string::npos);
  writeFile(user("profile.ini"), whole.substr(0, at + 17));
  restart();
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->sl[0][6], 4321);  // not 43
  EXPECT_EQ(playerProgress()->levelMax[0], 7);
  EXPECT_EQ(playerProgress()->finished[0][6], 1);
  EXPECT_TRUE(has(filetest::gerrText(), "profile.ini ends in the middle of line"));
}

TEST_F(Profiles, AMissingOrEmptyFileIsReadFromItsBackup) {
  fileInitUserFiles();
  ASSERT_TRUE(playerAdd(u"Eve"));
  ASSERT_TRUE(playerSelect(0));
  progressSetLevel(*playerProgress(), 9, true);
  ASSERT_TRUE(playersSave());
  ASSERT_TRUE(playersSave());
  writeFile(user("profile.ini"), "");
  fs::remove(user("profgame.ini"));
  restart();
  ASSERT_EQ(playersCount(), 1);
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->levelMax[0], 9);
  std::string gerr = filetest::gerrText();
  EXPECT_TRUE(has(gerr, "profile.ini is empty; its backup copy profile.ini.bak is used")) << gerr;
  EXPECT_TRUE(has(gerr, "profgame.ini is missing")) << gerr;
}

TEST_F(Profiles, AnInterruptedSaveLeavesTheOldFileIntact) {
  fileInitUserFiles();
  ASSERT_TRUE(playerAdd(u"Bob"));
  ASSERT_TRUE(playerSelect(0));
  progressSetLevel(*playerProgress(), 3, true);
  ASSERT_TRUE(playersSave());
  const std::string before = profileText();
  // The program died after writing half of the next version beside it.
  writeFile(user("profile.ini.tmp"), before.substr(0, before.size() / 2));
  restart();
  EXPECT_EQ(profileText(), before);
  EXPECT_FALSE(fs::exists(user("profile.ini.tmp")));
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->levelMax[0], 3);
  EXPECT_TRUE(has(filetest::gerrText(), "an unfinished save (profile.ini.tmp)"));
  // A save that cannot be written says so and keeps the previous file.
  fs::create_directory(user("profile.ini.tmp"));  // the temporary file cannot be made
  progressSetLevel(*playerProgress(), 4, true);
  EXPECT_FALSE(playersSave());
  EXPECT_EQ(profileText(), before);
  EXPECT_TRUE(has(filetest::gerrText(), "profile.ini was not saved"));
  fs::remove(user("profile.ini.tmp"));
}

TEST_F(Profiles, HostileNamesAreRefused) {
  const char16_t* bad[] = {u"", u"NineChars", u"a[b", u"a]", u"x=1", u"a;b", u"\"Bob", u"Bob_Normal", u"a/b",
                           u"a\\b", u"a\tb", u"a\nb", u"two words", u"\x7f", u"\xd800x"};
  for (size_t i = 0; i < std::size(bad); ++i) EXPECT_FALSE(playerNameValid(bad[i])) << "refused name #" << i;
  const char16_t* good[] = {u"Bob", u"Анна", u"Zoë", u"O'Neil", u"Bob\"", u"12345678", u"Ёжик-2"};
  for (size_t i = 0; i < std::size(good); ++i) EXPECT_TRUE(playerNameValid(good[i])) << "accepted name #" << i;

  // From the file: skipped with a line in gerr.log; "current" still finds its own name.
  writeFile(user("profgame.ini"),
            "[Players]\namount=1000000\nplayer1=Bob\nplayer2=[Eve]\nplayer3=BOB\nplayer4=Анна\ncurrent=3\n");
  restart();
  ASSERT_EQ(playersCount(), 2);
  EXPECT_EQ(playerName(0), u"Bob");
  EXPECT_EQ(playerName(1), u"Анна");
  EXPECT_EQ(playerCurrent(), 1);
  EXPECT_TRUE(has(filetest::gerrText(), "profgame.ini line 4: the player name \"[Eve]\" cannot be used"));

  writeFile(user("profgame.ini"), "[Players]\namount=2\nplayer1=Bob\nplayer2=Eve\ncurrent=-5\n");
  restart();
  EXPECT_EQ(playersCount(), 2);
  EXPECT_EQ(playerCurrent(), -1);
  writeFile(user("profgame.ini"), "[Players]\namount=2\nplayer1=Bob\nplayer2=Eve\ncurrent=2\n");
  restart();
  EXPECT_EQ(playerCurrent(), -1);
}

TEST_F(Profiles, TheListHoldsEightDistinctNames) {
  const char16_t* names[] = {u"A", u"B", u"C", u"D", u"E", u"F", u"G", u"H"};
  for (const char16_t* n : names) EXPECT_TRUE(playerAdd(n));
  EXPECT_FALSE(playerAdd(u"I"));
  EXPECT_EQ(playersCount(), 8);
  playersClear();
  EXPECT_TRUE(playerAdd(u"Bob"));
  EXPECT_FALSE(playerAdd(u"bOB"));
  EXPECT_TRUE(playerAdd(u"анна"));
  EXPECT_TRUE(playerAdd(u"Анна"));  // only ASCII letters fold
  EXPECT_EQ(playerFind(u"BOB"), 0);
  EXPECT_EQ(playerFind(u"Анна"), 2);
  EXPECT_EQ(playerFind(u"Nobody"), -1);
}

TEST_F(Profiles, RemovingPlayers) {
  fileInitUserFiles();
  for (const char16_t* n : {u"Ann", u"Ben", u"Cid"}) ASSERT_TRUE(playerAdd(n));
  ASSERT_TRUE(playerSelect(1));
  progressSetLevel(*playerProgress(), 6, true);
  ASSERT_TRUE(playersSave());
  ASSERT_TRUE(playerSelect(0));
  progressSetLevel(*playerProgress(), 2, true);
  ASSERT_TRUE(playersSave());

  // Removing the current first player makes the former second one current, with its own record.
  playerRemove(0);
  ASSERT_EQ(playersCount(), 2);
  ASSERT_EQ(playerCurrent(), 0);
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->name, "Ben");
  EXPECT_EQ(playerProgress()->levelMax[0], 6);
  EXPECT_FALSE(has(profileText(), "[Ann]"));
  EXPECT_FALSE(has(profileText(), "[Ann_Normal]"));

  // Removing someone else keeps the current record; the current index follows its player.
  ASSERT_TRUE(playerSelect(1));  // Cid
  PlayerProgress* cid = playerProgress();
  progressSetLevel(*cid, 4, false);
  playerRemove(0);
  EXPECT_EQ(playerCurrent(), 0);
  EXPECT_EQ(playerProgress(), cid);
  EXPECT_EQ(playerProgress()->name, "Cid");

  // What the new current player does is saved under its own name.
  ASSERT_TRUE(playersSave());
  restart();
  ASSERT_EQ(playersCount(), 1);
  EXPECT_EQ(playerName(0), u"Cid");
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->levelMax[0], 4);

  playerRemove(0);
  EXPECT_EQ(playersCount(), 0);
  EXPECT_EQ(playerCurrent(), -1);
  EXPECT_EQ(playerProgress(), nullptr);
  playerRemove(5);  // nothing there: nothing happens
  EXPECT_TRUE(has(readFile(user("profgame.ini")), "amount=0"));
  // A list emptied on purpose stays empty: the backup does not bring the removed players back.
  restart();
  EXPECT_FALSE(has(profileText(), "Cid"));
  EXPECT_EQ(playersCount(), 0);
}

TEST_F(Profiles, ResultsKeepTheBest) {
  fileInitUserFiles();
  ASSERT_TRUE(playerAdd(u"Bob"));
  ASSERT_TRUE(playerSelect(0));
  PlayerProgress& r = *playerProgress();
  progressSetResult(r, 16, 500, 100, 3);
  progressSetResult(r, 16, 200, 150, 1);  // a weaker replay
  EXPECT_EQ(r.sl[0][15], 500);
  EXPECT_EQ(r.lp[0][15], 3);
  EXPECT_EQ(r.t[0][15], 100);
  progressSetResult(r, 16, 600, 90, 2);
  EXPECT_EQ(r.sl[0][15], 600);
  EXPECT_EQ(r.lp[0][15], 3);
  EXPECT_EQ(r.t[0][15], 90);
  progressSetResult(r, 49, 999, 1, 3);  // not a level: nothing stored
  progressSetLevel(r, 0, true);
  progressSetLevel(r, 49, true);
  EXPECT_EQ(r.levelMax[0], 16);
  EXPECT_EQ(progressTotalScore(r), 600);
}

TEST_F(Profiles, ChoosingAModeIsSavedAndEachModeKeepsItsOwnProgress) {
  fileInitUserFiles();
  ASSERT_TRUE(playerAdd(u"Bob"));
  ASSERT_TRUE(playerSelect(0));
  ASSERT_TRUE(playersSave());
  PlayerProgress& r = *playerProgress();
  progressSetLevel(r, 5, true);
  progressSetMode(r, 1);  // saves the Normal progress, then switches
  EXPECT_EQ(r.mode, 1);
  EXPECT_EQ(r.levelMax[1], 1);
  progressSetMode(r, 3);  // not a mode
  EXPECT_EQ(r.mode, 1);
  restart();  // no playersSave: the choice must already be on disk
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->mode, 1);
  EXPECT_TRUE(playerProgress()->modeChosen);
  progressSetMode(*playerProgress(), 0);
  EXPECT_EQ(playerProgress()->levelMax[0], 5);
}

TEST_F(Profiles, SelectingAppliesAndSavingCollectsThroughTheGameHooks) {
  static int applied = 0;
  static float appliedMusic = -1;
  PlayerHooks h;
  h.apply = [](const PlayerProgress& p) {
    ++applied;
    appliedMusic = p.music;
  };
  h.storeAchievements = [](PlayerProgress& p) { p.achV[p.mode][3] = 42; };
  playersSetHooks(h);
  fileInitUserFiles();
  ASSERT_TRUE(playerAdd(u"Bob"));
  ASSERT_TRUE(playerSelect(0));
  EXPECT_EQ(applied, 1);
  EXPECT_FLOAT_EQ(appliedMusic, 0.7f);
  ASSERT_TRUE(playersSave());
  EXPECT_TRUE(has(profileText(), "Bob_Normal_achiv3_v=42"));
}

TEST_F(Profiles, TheScoreTableStartsFromTheShippedOne) {
  std::string defaults;
  for (int i = 0; i < kScoreEntries; ++i)
    defaults += "[Score" + std::to_string(i) + "]\nname=Mira" + std::to_string(i) + "\nvalue=" +
                std::to_string(8000 - 1000 * i) + "\n";
  writeFile("data/menu/default_scores.ini", defaults);
  fileInitUserFiles();
  char16_t name[16];
  int value = 0;
  scoresGetWString("Score0", "name", name, 16, u"");
  EXPECT_EQ(std::u16string(name), u"Mira0");
  scoresGetInt("Score7", "value", value, 0);
  EXPECT_EQ(value, 1000);
  // A small buffer gets what fits, terminated.
  scoresGetWString("Score3", "name", name, 3, u"");
  EXPECT_EQ(std::u16string(name), u"Mi");

  scoresSetWString("Score2", "name", u"Анна", false);
  scoresSetInt("Score2", "value", 6500, true);
  iniFreeAll();
  scoresGetWString("Score2", "name", name, 16, u"");
  EXPECT_EQ(std::u16string(name), u"Анна");
  scoresGetInt("Score2", "value", value, 0);
  EXPECT_EQ(value, 6500);
  scoresGetWString("Score5", "name", name, 16, u"");  // the other entries came along
  EXPECT_EQ(std::u16string(name), u"Mira5");
  EXPECT_TRUE(has(readFile(user("scores.ini")), "[Score7]"));
  fs::remove_all("data");
}

TEST_F(Profiles, AccessorsDoNothingWithoutAPrefix) {
  fileInitUserFiles();
  profileClearPrefix();
  int v = 5;
  profileGetInt("x", v, 0, 10, 1);
  EXPECT_EQ(v, 5);
  profileSetInt("x", 3, true);
  EXPECT_FALSE(has(profileText(), "_x="));
  EXPECT_FALSE(profileSelect(""));
  ASSERT_TRUE(profileSelect("Zed"));
  profileSetInt("version", 4, true);
  profileSetInt("keep", 9, true);
  ASSERT_TRUE(profileOpen("Zed"));  // another layout's data is started afresh
  profileGetInt("keep", v, 0, 100, -1);
  EXPECT_EQ(v, -1);
  char buf[4];
  profileSetString("word", "abcdef", false);
  profileGetString("word", buf, sizeof buf);
  EXPECT_STREQ(buf, "abc");
  profileSetString("word", "жук", false);  // two bytes a letter: never half a letter
  profileGetString("word", buf, sizeof buf);
  EXPECT_STREQ(buf, "ж");
}
