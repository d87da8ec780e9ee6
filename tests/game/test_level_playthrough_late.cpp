// The later demo levels played from start to end through the whole game, headless, as a player
// would: clicks at the objects' screen points go through the shell, the window tree, the view and
// the model on the manual clock, stories are read with Enter, and each level is won with three
// stars inside its gold time; then the recorded journal replays to the same log, line for line.
// Before that, what the levels name (pictures, texts, goal objects) is checked to exist, so a
// missing picture or text is reported by name rather than as a level that cannot be won.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/fog.h"
#include "game/core/game_main.h"
#include "game/core/game_model.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/player_stock.h"
#include "game/core/workers.h"
#include "game/interface/interface.h"
#include "game/interface/lose_screen.h"
#include "game/interface/statistics_screen.h"
#include "game/objects/map_effect.h"
#include "game/objects/quest_berry.h"
#include "game/objects/quest_cave.h"
#include "game/objects/quest_drums.h"
#include "game/objects/quest_hearts.h"
#include "game/rules/task_container.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "support/demo_copy.h"
#include "support/input_script.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr int kStepMs = 25;
constexpr int kOpeningSteps = 520;  // the level's opening scene is over by then

struct LatePlaythrough : ::testing::Test {
  void SetUp() override { home = fs::current_path(); }
  void TearDown() override {
    if (!home.empty()) fs::current_path(home);
    iniFreeAll();
  }
  bool Enter(const char* name, int level, const std::string& extra = "") {
    run = testkit::EnterDemoCopy(name);
    if (run.empty()) return false;
    Switches(level, extra);
    return true;
  }
  void Switches(int level, const std::string& extra) {
    testkit::writeFile(run / "data" / "test.ini", "[main]\nGame_No_Menu=1\nGame_Test_Level=" + std::to_string(level) +
                                                      "\nGame_Log_On_Playback=1\nGame_Write_Statistics=1\n" + extra);
    iniFreeAll();
  }
  fs::path home, run;
};

Game::LevelContext& level() { return *Game::levelContext(); }

const Task::cLevelTask* task(const char* name) {
  const Task::cLevelTaskContainer* goals = level().goals.get();
  for (size_t i = 0; goals && i < goals->Count(); ++i)
    if (goals->At(i)->name() == name) return goals->At(i);
  return nullptr;
}

bool taskDone(const char* name) {
  const Task::cLevelTask* t = task(name);
  return t && t->completed();
}

bool goalsMet() { return level().model->phase() != Game::Phase::Running || level().model->won(); }

// A point of the object that the map's hit test gives to that object.
bool screenPointOf(const Map::cObject* o, int& x, int& y) {
  if (!o) return false;
  Map::cMap& map = *level().map;
  const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
  if (map.HitTest(cx, cy) == o) return x = cx, y = cy, true;
  for (int dy = -o->boundHalfSize.y + 2; dy < o->boundHalfSize.y; dy += 4)
    for (int dx = -o->boundHalfSize.x + 2; dx < o->boundHalfSize.x; dx += 4)
      if (map.HitTest(cx + dx, cy + dy) == o) return x = cx + dx, y = cy + dy, true;
  return false;
}

std::string mapIni() { return "data/maps/" + std::to_string(level().levelNumber) + "/map.ini"; }

// The object of the tag; for a bonus place, the bonus it made lying nearest its spot.
const Map::cObject* target(const char* tag) {
  Map::cMap& map = *level().map;
  const std::string ini = mapIni();
  if (std::string(iniGetString(ini.c_str(), tag, "type", "")) != "bonusPlace") return map.FindByTag(NameHash(tag));
  const float px = float(iniGetInt(ini.c_str(), tag, "x", 0)), py = float(iniGetInt(ini.c_str(), tag, "y", 0));
  const Map::cObject* best = nullptr;
  float bestD = 40.0f * 40.0f;
  for (size_t i = 0; i < map.Count(); ++i) {
    const Map::cObject* o = map.At(i);
    const float d = (o->x - px) * (o->x - px) + (o->y - py) * (o->y - py);
    if (o->typeName == "bonus" && o->Has(Map::kFlagClickable) && d <= bestD) best = o, bestD = d;
  }
  return best;
}

std::string describe(const char* tag) {
  Map::cMap& map = *level().map;
  const Map::cObject* o = target(tag);
  if (!o) return "not on the map";
  const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
  const Map::cObject* top = map.HitTest(cx, cy);
  return "clickable " + std::to_string(o->Has(Map::kFlagClickable)) + ", box " + std::to_string(o->boundHalfSize.x) +
         "x" + std::to_string(o->boundHalfSize.y) + ", at its centre " + (top ? top->name : std::string("nothing"));
}

bool gone(const char* tag) {
  const Map::cObject* o = level().map->FindByTag(NameHash(tag));
  return !o || !o->Has(Map::kFlagClickable);
}

int32_t stock(int resource) { return level().stock->Amount(resource); }

class Player {
 public:
  explicit Player(testkit::HeadlessGame& game) : m_game(game) {}
  void Click(const char* tag) {
    int x = 0, y = 0;
    ASSERT_TRUE(screenPointOf(target(tag), x, y)) << tag << " cannot be clicked: " << describe(tag);
    const int64_t now = gameStepCount();
    testkit::InputScript s;
    s.Move(now + 1, x - 30, y).Move(now + 2, x, y).Click(now + 3, x, y);
    s.Start();
    m_game.RunSteps(5);
  }
  bool RunUntil(const std::function<bool()>& done, int seconds) {
    for (int steps = 0; steps < seconds * 1000 / kStepMs; steps += 4) {
      if (!Game::levelContext()) return false;
      if (done()) return true;
      m_game.RunSteps(4);
    }
    return Game::levelContext() && done();
  }
  void Wait(int seconds) { m_game.RunSteps(seconds * 1000 / kStepMs); }
  void Key(int vk) {
    testkit::InputScript s;
    s.Key(gameStepCount() + 1, vk);
    s.Start();
    m_game.RunSteps(2);
  }
  // As a player does when every worker is busy: waits until one is free and gives the order, and
  // gives it again a moment later when a worker coming free was called elsewhere first. True once
  // the order is taken (the subject's operation is under way).
  bool Order(const char* tag) {
    const auto* s = dynamic_cast<const Map::cSubjectObject*>(target(tag));
    for (int tries = 0; s && tries < 10; ++tries) {
      if (!RunUntil([] { return level().workers->CountFree(0, false) > 0; }, 90)) return false;
      Click(tag);
      if (s->operation.state != Map::OperationState::Idle) return true;
      Wait(1);
    }
    return false;
  }
  // With MM_LATE_SHOTS naming a folder (and a real GL renderer), the next frame is saved there as
  // a picture, for a person to look at the level; otherwise nothing. The journal does not see it.
  void Snap(const char* name) {
    if (const char* dir = std::getenv("MM_LATE_SHOTS")) {
      grRequestScreenshot(std::string(dir) + "/" + name + ".png");
      m_game.RunSteps(1);
    }
  }
  // Enter finishes a story's text and then closes it. True when no story is shown any more.
  bool CloseStory() {
    for (int i = 0; i < 20 && level().view->StoryShown(); ++i) {
      Key(VK_RETURN_);
      Wait(1);
    }
    return !level().view->StoryShown();
  }
  // A story told over the level at its start holds the clock until it is read.
  bool ReadTheOpeningStory() {
    const auto running = [] {
      const Game::cGameModel& m = *level().model;
      return m.phase() == Game::Phase::Running && m.levelTimer().remaining < m.levelTimer().total;
    };
    for (int i = 0; i < 20 && !running(); ++i) {
      Key(VK_RETURN_);
      Wait(1);
    }
    return running();
  }

 private:
  testkit::HeadlessGame& m_game;
};

struct Outcome {
  bool won = false, shown = false, statisticsScreen = false, loseScreen = false;
  int32_t stars = 0, timeUsed = 0;
};

Outcome finish(testkit::HeadlessGame& game) {
  Outcome out;
  Game::cGameModel& m = *level().model;
  for (int steps = 0; steps < 1200 && !level().view->resultShown(); ++steps) game.RunSteps(1);
  out.won = m.won();
  out.stars = m.stars();
  out.timeUsed = m.timeUsed();
  out.shown = level().view->resultShown();
  if (const Interface::UIInterface* ui = level().view->interfaceWnd()) {
    out.statisticsScreen = ui->statistics() && !ui->statistics()->Hidden();
    out.loseScreen = ui->loseScreen() && !ui->loseScreen()->Hidden();
  }
  return out;
}

std::string statistic(const fs::path& run, const std::string& key) {
  return iniString((run / "statistics.ini").string().c_str(), "Main", key.c_str(), "");
}

// Level 4: the warrior drives off the wolf in the upper gap; the quill's goal shows then, and a
// worker fetches the quill from behind it (the story told on finding it is read); the warrior
// drives off the spider in the lower gap, and the basket behind it fills the store.
void playLevelFour(Player& p) {
  ASSERT_NE(task("BringQuill"), nullptr);
  EXPECT_TRUE(task("BringQuill")->hidden()) << "the quill's goal waits for the wolf";
  const Map::cObject* quill = level().map->FindByTag(NameHash("Quill"));
  ASSERT_NE(quill, nullptr);
  bool glint = false;
  for (size_t i = 0; i < level().map->Count(); ++i)
    if (const auto* fx = dynamic_cast<const Map::cEffect*>(level().map->At(i)))
      glint = glint || (fx->EffectName() == "Quill" && fx->x == quill->x && fx->y == quill->y);
  EXPECT_TRUE(glint) << "the quill glints where it lies";
  p.Snap("level4_start");
  p.Click("Wolf");
  ASSERT_EQ(level().model->phase(), Game::Phase::Running) << "the first click started the clock";
  p.Click("FoodPlace");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("DriveWolf"); }, 60));
  EXPECT_FALSE(task("BringQuill")->hidden()) << "the quill's goal shows once the wolf is gone";
  EXPECT_TRUE(gone("Wolf"));
  p.Click("Spider");
  p.Click("Quill");
  ASSERT_TRUE(p.RunUntil([] { return level().view->StoryShown() || taskDone("BringQuill"); }, 60))
      << "the quill was never picked up";
  EXPECT_EQ(level().view->lastStory(), 4) << "finding the quill tells level 4's story";
  p.Wait(2);
  p.Snap("level4_story");
  ASSERT_TRUE(p.CloseStory());
  ASSERT_TRUE(p.RunUntil([] { return taskDone("DriveSpider"); }, 60));
  p.Click("FoodBasket");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("BringQuill"); }, 60)) << "the quill never reached the barn";
  ASSERT_TRUE(p.RunUntil(goalsMet, 120)) << "food " << stock(Game::kFood);
}

bool fogged(const char* tag) {
  const Map::cObject* o = level().map->FindByTag(NameHash(tag));
  return o && Map::fogCovers(int(o->x), int(o->y));
}

bool clickable(const char* tag) {
  const Map::cObject* o = level().map->FindByTag(NameHash(tag));
  return o && o->Has(Map::kFlagClickable) && !o->Has(Map::kFlagHidden);
}

// Level 5, in the mist: the garden by the barn and the road through the ridge are mended, which
// lifts the mist off the hills and the far side; the ore pit built there opens the hills behind
// it, where the heart leaps out; its ore breaks the totem, whose fall shows the heart's goal, and
// the heart is carried home. The basket on the hills pays for the pit.
void playLevelFive(Player& p) {
  ASSERT_NE(task("BringHeart"), nullptr);
  EXPECT_TRUE(task("BringHeart")->hidden()) << "the heart's goal waits for the totem";
  EXPECT_FALSE(fogged("Barn")) << "the barn stands in the clear";
  for (const char* tag : {"Totem", "OrePit", "Heart", "FoodBasket"}) EXPECT_TRUE(fogged(tag)) << tag;
  const auto* heart = dynamic_cast<const Map::cJumpingHeart*>(level().map->FindByTag(NameHash("Heart")));
  ASSERT_NE(heart, nullptr);
  EXPECT_EQ(heart->stage, Map::cJumpingHeart::kWaiting) << "the heart waits unseen in the mist";
  p.Snap("level5_start");
  p.Click("Garden");
  ASSERT_EQ(level().model->phase(), Game::Phase::Running) << "the first click started the clock";
  p.Click("Road");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("RepairRoad"); }, 60));
  ASSERT_TRUE(p.RunUntil([] { return !fogged("Totem") && !fogged("OrePit"); }, 5))
      << "the mended road lifts the mist off the far side";
  EXPECT_TRUE(fogged("Heart")) << "the hills behind the pit are still in the mist";
  p.Snap("level5_road");
  p.Click("OrePit");
  ASSERT_TRUE(p.RunUntil([] { return !fogged("FoodBasket"); }, 30)) << "the mended garden lifts the mist off the hills";
  p.Click("FoodBasket");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("BuildOrePit"); }, 60));
  ASSERT_TRUE(p.RunUntil([heart] { return heart->stage == Map::cJumpingHeart::kLying && clickable("Heart"); }, 10))
      << "out of the mist, the heart leaps onto the grass";
  ASSERT_TRUE(p.RunUntil([] { return stock(Game::kOre) >= 6 && stock(Game::kFood) >= 5; }, 60))
      << "ore " << stock(Game::kOre) << ", food " << stock(Game::kFood);
  p.Snap("level5_heart");
  p.Click("Totem");
  p.Click("Heart");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("DestroyTotem"); }, 60));
  EXPECT_FALSE(task("BringHeart")->hidden()) << "the heart's goal shows once the totem is down";
  ASSERT_TRUE(p.RunUntil(goalsMet, 60));
}

// Level 6, told in a story first: workers bring the red hood her four mushrooms, search the two
// caves and beat the drums. The drums' rain scene ends in a story; the bush that sprang up when she
// had her mushrooms has ripe berries by then, and they are carried home; the key from the caves
// opens the chest, and its heart is carried home too.
void playLevelSix(Player& p) {
  p.Wait(3);
  p.Snap("level6_story");
  ASSERT_TRUE(p.ReadTheOpeningStory());
  EXPECT_EQ(level().view->lastStory(), 6) << "the level opens with its story";
  Map::cMap& map = *level().map;
  const auto* bush = dynamic_cast<const Map::cBerry*>(map.FindByTag(NameHash("BerryBush")));
  const auto* hood = dynamic_cast<const Map::cRedhood*>(map.FindByTag(NameHash("RedHood")));
  const auto* chest = dynamic_cast<const Map::cChestHeart*>(map.FindByTag(NameHash("ChestHeart")));
  ASSERT_TRUE(bush && hood && chest);
  EXPECT_TRUE(bush->Has(Map::kFlagHidden)) << "the bush waits for the red hood";
  for (const char* tag : {"Mushroom1", "Mushroom2", "Mushroom3", "Mushroom4", "Cave1", "Cave2", "Drums"}) {
    ASSERT_TRUE(p.Order(tag)) << tag << " never took the order";
    if (level().view->StoryShown()) ASSERT_TRUE(p.CloseStory());
  }
  ASSERT_TRUE(p.RunUntil([hood] { return hood->delivered == Map::cRedhood::kMushroomsWanted; }, 120))
      << hood->delivered << " mushrooms delivered";
  ASSERT_TRUE(p.RunUntil([bush] { return !bush->Has(Map::kFlagHidden); }, 30))
      << "with her four mushrooms the red hood makes the bush spring up";
  const auto* drums = dynamic_cast<const Map::cDrums*>(map.FindByTag(NameHash("Drums")));
  ASSERT_NE(drums, nullptr);
  ASSERT_TRUE(p.RunUntil([drums] { return drums->sceneStage == 3; }, 90)) << "the drums bring the rain";
  p.Snap("level6_rain");
  ASSERT_TRUE(p.RunUntil([] { return level().view->StoryShown(); }, 90))
      << "the drums' rain ends in a story; scene stage " << drums->sceneStage << ", operation "
      << int(drums->operation.state) << ", food " << stock(Game::kFood);
  EXPECT_EQ(level().view->lastStory(), 182);
  ASSERT_TRUE(p.CloseStory());
  ASSERT_TRUE(p.RunUntil([bush] { return bush->state == Map::cBerry::Present && clickable("BerryBush"); }, 30))
      << "the rain ripens the berries";
  p.Click("BerryBush");
  ASSERT_TRUE(p.RunUntil([chest] { return chest->keyDelivered != 0; }, 90)) << "one of the caves held the key";
  EXPECT_TRUE(gone("Cave1") && gone("Cave2")) << "both caves were searched";
  p.Click("ChestHeart");
  p.Wait(2);
  p.Snap("level6_chest");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("PickBerries"); }, 60));
  ASSERT_TRUE(p.RunUntil(goalsMet, 90));
  EXPECT_EQ(level().view->lastStory(), 182) << "the chest was opened with its key: no story of a locked chest";
}

void winAndReplay(LatePlaythrough& t, int n, void (*play)(Player&)) {
  const int32_t goldMs = iniGetInt(("data/maps/" + std::to_string(n) + "/balance.ini").c_str(), "Main", "tGoldTime", 0);
  ASSERT_GT(goldMs, 0);
  int steps = 0;
  Outcome o;
  {
    testkit::HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    ASSERT_NE(Game::levelContext(), nullptr);
    ASSERT_EQ(level().levelNumber, n);
    const int start = gameStepCount();
    Player p(game);
    game.RunSteps(kOpeningSteps);
    play(p);
    if (::testing::Test::HasFatalFailure()) return;
    o = finish(game);
    steps = gameStepCount() - start;
  }
  const std::string key = std::to_string(n);
  EXPECT_TRUE(o.won);
  EXPECT_EQ(o.stars, 3);
  EXPECT_LT(o.timeUsed, goldMs) << "inside the gold time";
  EXPECT_TRUE(o.shown && o.statisticsScreen && !o.loseScreen) << "the statistics are on screen";
  EXPECT_EQ(statistic(t.run, key + "Stars"), "3");
  EXPECT_GT(std::atoi(statistic(t.run, key + "scores").c_str()), 0);
  const std::string log = testkit::readFile(t.run / "log.txt");
  EXPECT_NE(log.find("[Result] level " + key + " won: stars 3"), std::string::npos);
  t.Switches(n, "Game_Playback=1\n");
  {
    testkit::HeadlessGame game(9999);
    ASSERT_TRUE(game.Ok());
    game.RunSteps(steps);
  }
  const std::string replay = testkit::readFile(t.run / "log_playback.txt");
  ASSERT_FALSE(replay.empty());
  EXPECT_EQ(replay, log);
}

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
  winAndReplay(*this, 4, playLevelFour);
}

TEST_F(LatePlaythrough, LevelFiveIsWonInTheMistWithThreeStarsAndReplaysFromItsJournal) {
  if (!Enter("late_5", 5)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  winAndReplay(*this, 5, playLevelFive);
}

TEST_F(LatePlaythrough, LevelSixsQuestsAreWonWithThreeStarsAndReplayFromTheJournal) {
  if (!Enter("late_6", 6)) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  winAndReplay(*this, 6, playLevelSix);
}
