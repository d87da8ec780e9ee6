// Test support: the player who wins the demo levels, and the six levels' winning scripts.
#include "level_player.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/fog.h"
#include "game/core/game_main.h"
#include "game/core/game_model.h"
#include "game/core/game_view.h"
#include "game/core/map.h"
#include "game/core/player_stock.h"
#include "game/core/tips.h"
#include "game/core/workers.h"
#include "game/interface/interface.h"
#include "game/interface/lose_screen.h"
#include "game/interface/statistics_screen.h"
#include "game/objects/map_effect.h"
#include "game/objects/quest_berry.h"
#include "game/objects/quest_cave.h"
#include "game/objects/quest_drums.h"
#include "game/objects/quest_hearts.h"
#include "game/objects/subject_object.h"
#include "game/rules/task_container.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "support/tip_reader.h"

namespace testkit {

namespace {
constexpr int kStepMs = 25;
}

Game::LevelContext& playedLevel() { return *Game::levelContext(); }

const Task::cLevelTask* levelTask(const char* name) {
  const Task::cLevelTaskContainer* goals = playedLevel().goals.get();
  for (size_t i = 0; goals && i < goals->Count(); ++i)
    if (goals->At(i)->name() == name) return goals->At(i);
  return nullptr;
}

bool taskDone(const char* name) {
  const Task::cLevelTask* t = levelTask(name);
  return t && t->completed();
}

bool goalsMet() {
  const Game::cGameModel& m = *playedLevel().model;
  return m.phase() != Game::Phase::Running || m.won();
}

int32_t stockOf(int resource) { return playedLevel().stock->Amount(resource); }

bool gone(const char* tag) {
  const Map::cObject* o = playedLevel().map->FindByTag(NameHash(tag));
  return !o || !o->Has(Map::kFlagClickable);
}

bool clickable(const char* tag) {
  const Map::cObject* o = playedLevel().map->FindByTag(NameHash(tag));
  return o && o->Has(Map::kFlagClickable) && !o->Has(Map::kFlagHidden);
}

bool fogged(const char* tag) {
  const Map::cObject* o = playedLevel().map->FindByTag(NameHash(tag));
  return o && Map::fogCovers(int(o->x), int(o->y));
}

bool tipOpen() { return Game::levelContext() && playedLevel().view && playedLevel().view->TipOpen(); }

const Map::cObject* clickTarget(const char* tag) {
  Map::cMap& map = *playedLevel().map;
  const std::string ini = "data/maps/" + std::to_string(playedLevel().levelNumber) + "/map.ini";
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

bool screenPointOf(const Map::cObject* o, int& x, int& y) {
  if (!o) return false;
  Map::cMap& map = *playedLevel().map;
  const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
  if (map.HitTest(cx, cy) == o) return x = cx, y = cy, true;
  for (int dy = -o->boundHalfSize.y + 2; dy < o->boundHalfSize.y; dy += 4)
    for (int dx = -o->boundHalfSize.x + 2; dx < o->boundHalfSize.x; dx += 4)
      if (map.HitTest(cx + dx, cy + dy) == o) return x = cx + dx, y = cy + dy, true;
  return false;
}

std::string describeTarget(const char* tag) {
  Map::cMap& map = *playedLevel().map;
  const Map::cObject* o = clickTarget(tag);
  if (!o) return "not on the map";
  const int cx = int(o->x) + o->boundCentre.x, cy = int(o->y) + o->boundCentre.y;
  const Map::cObject* top = map.HitTest(cx, cy);
  return "clickable " + std::to_string(o->Has(Map::kFlagClickable)) + ", box " + std::to_string(o->boundHalfSize.x) +
         "x" + std::to_string(o->boundHalfSize.y) + ", at its centre " + (top ? top->name : std::string("nothing"));
}

namespace {
// The open tip waits for a click on the object of `tag`: that click closes it.
bool tipWaitsFor(const char* tag) {
  const Game::cTips* t = playedLevel().view->tips();
  return t->requireClick() && t->RequiredTag() == NameHash(tag);
}
}  // namespace

void LevelPlayer::Click(const char* tag) {
  while (tipOpen() && !tipWaitsFor(tag) && CloseTip() >= 0) {}
  int x = 0, y = 0;
  ASSERT_TRUE(screenPointOf(clickTarget(tag), x, y)) << tag << " cannot be clicked: " << describeTarget(tag);
  const int64_t now = gameStepCount();
  InputScript s;
  s.Move(now + 1, x - 30, y).Move(now + 2, x, y).Click(now + 3, x, y);
  s.Start();
  m_game.RunSteps(5);
}

void LevelPlayer::ClickGround(int x, int y) {
  const int64_t now = gameStepCount();
  InputScript s;
  s.Move(now + 1, x, y).Click(now + 2, x, y);
  s.Start();
  m_game.RunSteps(4);
}

void LevelPlayer::Key(int vk) {
  InputScript s;
  s.Key(gameStepCount() + 1, vk);
  s.Start();
  m_game.RunSteps(2);
}

bool LevelPlayer::RunUntil(const std::function<bool()>& done, int seconds) {
  for (int steps = 0; steps < seconds * 1000 / kStepMs; steps += 4) {
    if (!Game::levelContext()) return false;
    if (done()) return true;
    if (tipOpen()) CloseTip();
    m_game.RunSteps(4);
  }
  return Game::levelContext() && done();
}

void LevelPlayer::Wait(int seconds) { RunUntil([] { return false; }, seconds); }

bool LevelPlayer::Order(const char* tag) {
  const auto* s = dynamic_cast<const Map::cSubjectObject*>(clickTarget(tag));
  for (int tries = 0; s && tries < 10; ++tries) {
    if (!RunUntil([] { return playedLevel().workers->CountFree(0, false) > 0; }, 90)) return false;
    Click(tag);
    if (s->operation.state != Map::OperationState::Idle) return true;
    Wait(1);
  }
  return false;
}

bool LevelPlayer::CloseStory() {
  for (int i = 0; i < 20 && playedLevel().view->StoryShown(); ++i) {
    Key(VK_RETURN_);
    Wait(1);
  }
  return !playedLevel().view->StoryShown();
}

bool LevelPlayer::ReadTheOpeningStory() {
  const auto running = [] {
    const Game::cGameModel& m = *playedLevel().model;
    return m.phase() == Game::Phase::Running && m.levelTimer().remaining < m.levelTimer().total;
  };
  for (int i = 0; i < 20 && !running(); ++i) {
    Key(VK_RETURN_);
    Wait(1);
  }
  return running();
}

int LevelPlayer::CloseTip() {
  const int tip = CloseOpenTip(m_game);
  if (tip >= 0) m_tipsRead.push_back(tip);
  return tip;
}

std::string LevelPlayer::Read() const {
  std::string out = "tips read:";
  for (int t : m_tipsRead) out += " " + std::to_string(t);
  return out;
}

void LevelPlayer::Snap(const char* name) {
  if (const char* dir = std::getenv("MM_LATE_SHOTS")) {
    grRequestScreenshot(std::string(dir) + "/" + name + ".png");
    m_game.RunSteps(1);
  }
}

LevelOutcome FinishLevel(HeadlessGame& game) {
  LevelOutcome out;
  Game::cGameModel& m = *playedLevel().model;
  // The finish delay and the finishing phase take some seconds before the result.
  for (int steps = 0; steps < 1200 && !playedLevel().view->resultShown(); ++steps) game.RunSteps(1);
  out.won = m.won();
  out.stars = m.stars();
  out.timeUsed = m.timeUsed();
  out.shown = playedLevel().view->resultShown();
  if (const Interface::UIInterface* ui = playedLevel().view->interfaceWnd()) {
    out.statisticsScreen = ui->statistics() && !ui->statistics()->Hidden();
    out.loseScreen = ui->loseScreen() && !ui->loseScreen()->Hidden();
  }
  return out;
}

namespace {

// The demo's bridge, garden and ore pit carry the tags the tutorial tips look for.
constexpr const char* kBridge1 = "Food4";
constexpr const char* kGarden1 = "Totem11";
constexpr const char* kBridge2 = "Bridge1_Top1";
constexpr const char* kOrePit2 = "OreGenerator1";

// Level 1 as a first-time player plays it: mend the bridge, then the berry garden that appears
// behind it, fetch the basket of berries, and wait for the garden to fill the store.
void playLevelOne(LevelPlayer& p) {
  // The tutorial's first tip points at the bridge as soon as the worker is home; OK closes it.
  ASSERT_TRUE(p.RunUntil([] { return tipOpen(); }, 20)) << "the first tip comes up";
  EXPECT_EQ(playedLevel().view->tips()->tipIndex(), 0);
  EXPECT_EQ(playedLevel().view->tips()->RequiredTag(), NameHash(kBridge1));
  EXPECT_TRUE(playedLevel().view->tips()->arrowShown());
  EXPECT_EQ(p.CloseTip(), 0) << "OK closes it";
  EXPECT_FALSE(tipOpen());
  ASSERT_NE(levelTask("RepairGarden"), nullptr);
  EXPECT_TRUE(levelTask("RepairGarden")->hidden()) << "the garden's goal waits for the bridge";
  p.Click(kBridge1);
  ASSERT_EQ(playedLevel().model->phase(), Game::Phase::Running) << "the first click started the clock";
  ASSERT_TRUE(p.RunUntil([] { return taskDone("RepairBridge"); }, 60));
  EXPECT_FALSE(levelTask("RepairGarden")->hidden()) << "the garden's goal appears with the bridge mended";
  p.Click(kGarden1);
  ASSERT_TRUE(p.RunUntil([] { return taskDone("RepairGarden"); }, 60));
  p.Click("FoodBasket");
  ASSERT_TRUE(p.RunUntil(goalsMet, 200));
  // With the way over the river open the second tip pointed at the garden.
  EXPECT_EQ(p.TipsRead().size() >= 2 ? p.TipsRead()[1] : -1, 1);
}

// Level 2: the bridge, the three stones in the gap behind it, the ore pit built there and raised
// once its first ore pays for it, until the store holds 20 Ore.
void playLevelTwo(LevelPlayer& p) {
  p.Click(kBridge2);
  ASSERT_TRUE(p.RunUntil([] { return taskDone("RepairBridge"); }, 60)) << p.Read();
  p.Click("Stone1");
  p.Click("Stone2");
  p.Click("Stone3");
  ASSERT_TRUE(p.RunUntil([] { return gone("Stone1") && gone("Stone2") && gone("Stone3"); }, 90));
  p.Click(kOrePit2);
  ASSERT_TRUE(p.RunUntil([] { return taskDone("BuildOrePit"); }, 60));
  ASSERT_TRUE(p.RunUntil([] { return stockOf(Game::kOre) >= 4; }, 60));
  p.Click(kOrePit2);
  ASSERT_TRUE(p.RunUntil(goalsMet, 300));
}

// Level 3: the warrior sent at the boar, the gold at the picnic spot and two trades at the money
// changer meanwhile, then the gold mine behind the boar until the store holds 30 Gold.
void playLevelThree(LevelPlayer& p) {
  ASSERT_TRUE(p.ReadTheOpeningStory());
  const int32_t left = playedLevel().model->levelTimer().remaining;
  p.Wait(1);
  ASSERT_LT(playedLevel().model->levelTimer().remaining, left) << "the level runs once the story is read";
  p.Click("Boar");
  p.Click("GoldPlace");
  p.Click("MoneyChanger");
  ASSERT_TRUE(p.RunUntil([] { return stockOf(Game::kGold) >= 15; }, 90));
  p.Click("MoneyChanger");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("DriveBoar"); }, 90));
  p.Click("GoldMine");
  ASSERT_TRUE(p.RunUntil([] { return stockOf(Game::kGold) >= 25; }, 90));
  p.Click("GoldMine");
  ASSERT_TRUE(p.RunUntil(goalsMet, 200));
}

// Level 4: the warrior drives off the wolf in the upper gap; the quill's goal shows then, and a
// worker fetches the quill from behind it (the story told on finding it is read); the warrior
// drives off the spider in the lower gap, and the basket behind it fills the store.
void playLevelFour(LevelPlayer& p) {
  ASSERT_NE(levelTask("BringQuill"), nullptr);
  EXPECT_TRUE(levelTask("BringQuill")->hidden()) << "the quill's goal waits for the wolf";
  const Map::cObject* quill = playedLevel().map->FindByTag(NameHash("Quill"));
  ASSERT_NE(quill, nullptr);
  bool glint = false;
  for (size_t i = 0; i < playedLevel().map->Count(); ++i)
    if (const auto* fx = dynamic_cast<const Map::cEffect*>(playedLevel().map->At(i)))
      glint = glint || (fx->EffectName() == "Quill" && fx->x == quill->x && fx->y == quill->y);
  EXPECT_TRUE(glint) << "the quill glints where it lies";
  p.Snap("level4_start");
  p.Click("Wolf");
  ASSERT_EQ(playedLevel().model->phase(), Game::Phase::Running) << "the first click started the clock";
  p.Click("FoodPlace");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("DriveWolf"); }, 60));
  EXPECT_FALSE(levelTask("BringQuill")->hidden()) << "the quill's goal shows once the wolf is gone";
  EXPECT_TRUE(gone("Wolf"));
  p.Click("Spider");
  p.Click("Quill");
  ASSERT_TRUE(p.RunUntil([] { return playedLevel().view->StoryShown() || taskDone("BringQuill"); }, 60))
      << "the quill was never picked up";
  EXPECT_EQ(playedLevel().view->lastStory(), 4) << "finding the quill tells level 4's story";
  p.Wait(2);
  p.Snap("level4_story");
  ASSERT_TRUE(p.CloseStory());
  ASSERT_TRUE(p.RunUntil([] { return taskDone("DriveSpider"); }, 60));
  p.Click("FoodBasket");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("BringQuill"); }, 60)) << "the quill never reached the barn";
  ASSERT_TRUE(p.RunUntil(goalsMet, 120)) << "food " << stockOf(Game::kFood);
}

// Level 5, in the mist: the garden by the barn and the road through the ridge are mended, which
// lifts the mist off the hills and the far side; the ore pit built there opens the hills behind
// it, where the heart leaps out; its ore breaks the totem, whose fall shows the heart's goal, and
// the heart is carried home. The basket on the hills pays for the pit.
void playLevelFive(LevelPlayer& p) {
  ASSERT_NE(levelTask("BringHeart"), nullptr);
  EXPECT_TRUE(levelTask("BringHeart")->hidden()) << "the heart's goal waits for the totem";
  EXPECT_FALSE(fogged("Barn")) << "the barn stands in the clear";
  for (const char* tag : {"Totem", "OrePit", "Heart", "FoodBasket"}) EXPECT_TRUE(fogged(tag)) << tag;
  const auto* heart = dynamic_cast<const Map::cJumpingHeart*>(playedLevel().map->FindByTag(NameHash("Heart")));
  ASSERT_NE(heart, nullptr);
  EXPECT_EQ(heart->stage, Map::cJumpingHeart::kWaiting) << "the heart waits unseen in the mist";
  p.Snap("level5_start");
  p.Click("Garden");
  ASSERT_EQ(playedLevel().model->phase(), Game::Phase::Running) << "the first click started the clock";
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
  ASSERT_TRUE(p.RunUntil([] { return stockOf(Game::kOre) >= 6 && stockOf(Game::kFood) >= 5; }, 60))
      << "ore " << stockOf(Game::kOre) << ", food " << stockOf(Game::kFood);
  p.Snap("level5_heart");
  p.Click("Totem");
  p.Click("Heart");
  ASSERT_TRUE(p.RunUntil([] { return taskDone("DestroyTotem"); }, 60));
  const Map::cObject* totem = playedLevel().map->FindByTag(NameHash("Totem"));
  ASSERT_NE(totem, nullptr);
  EXPECT_EQ(totem->currentAnimation, 1) << "the broken totem lies in pieces";
  EXPECT_FALSE(levelTask("BringHeart")->hidden()) << "the heart's goal shows once the totem is down";
  ASSERT_TRUE(p.RunUntil(goalsMet, 60));
}

// Level 6, told in a story first: workers bring the red hood her four mushrooms, search the two
// caves and beat the drums. The drums' rain scene ends in a story; the bush that sprang up when she
// had her mushrooms has ripe berries by then, and they are carried home; the key from the caves
// opens the chest, and its heart is carried home too.
void playLevelSix(LevelPlayer& p) {
  p.Wait(3);
  p.Snap("level6_story");
  ASSERT_TRUE(p.ReadTheOpeningStory());
  EXPECT_EQ(playedLevel().view->lastStory(), 6) << "the level opens with its story";
  Map::cMap& map = *playedLevel().map;
  const auto* bush = dynamic_cast<const Map::cBerry*>(map.FindByTag(NameHash("BerryBush")));
  const auto* hood = dynamic_cast<const Map::cRedhood*>(map.FindByTag(NameHash("RedHood")));
  const auto* chest = dynamic_cast<const Map::cChestHeart*>(map.FindByTag(NameHash("ChestHeart")));
  ASSERT_TRUE(bush && hood && chest);
  EXPECT_TRUE(bush->Has(Map::kFlagHidden)) << "the bush waits for the red hood";
  for (const char* tag : {"Mushroom1", "Mushroom2", "Mushroom3", "Mushroom4", "Cave1", "Cave2", "Drums"}) {
    ASSERT_TRUE(p.Order(tag)) << tag << " never took the order";
    if (playedLevel().view->StoryShown()) {
      ASSERT_TRUE(p.CloseStory());
    }
  }
  ASSERT_TRUE(p.RunUntil([hood] { return hood->delivered == Map::cRedhood::kMushroomsWanted; }, 120))
      << hood->delivered << " mushrooms delivered";
  ASSERT_TRUE(p.RunUntil([bush] { return !bush->Has(Map::kFlagHidden); }, 30))
      << "with her four mushrooms the red hood makes the bush spring up";
  const auto* drums = dynamic_cast<const Map::cDrums*>(map.FindByTag(NameHash("Drums")));
  ASSERT_NE(drums, nullptr);
  ASSERT_TRUE(p.RunUntil([drums] { return drums->sceneStage == 3; }, 90)) << "the drums bring the rain";
  p.Snap("level6_rain");
  ASSERT_TRUE(p.RunUntil([] { return playedLevel().view->StoryShown(); }, 90))
      << "the drums' rain ends in a story; scene stage " << drums->sceneStage << ", operation "
      << int(drums->operation.state) << ", food " << stockOf(Game::kFood);
  EXPECT_EQ(playedLevel().view->lastStory(), 182);
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
  EXPECT_EQ(playedLevel().view->lastStory(), 182) << "the chest was opened with its key: no story of a locked chest";
}

std::string statistic(const std::filesystem::path& run, const std::string& key) {
  return iniString((run / "statistics.ini").string().c_str(), "Main", key.c_str(), "");
}

}  // namespace

LevelScript demoLevelScript(int n) {
  static constexpr LevelScript kScripts[kDemoLevels] = {playLevelOne, playLevelTwo,  playLevelThree,
                                                        playLevelFour, playLevelFive, playLevelSix};
  return n >= 1 && n <= kDemoLevels ? kScripts[n - 1] : nullptr;
}

int32_t demoGoldTime(int n) {
  return iniGetInt(("data/maps/" + std::to_string(n) + "/balance.ini").c_str(), "Main", "tGoldTime", 0);
}

void WinAndReplay(const std::filesystem::path& run, int n, const std::function<void(const std::string&)>& switches) {
  const LevelScript play = demoLevelScript(n);
  ASSERT_NE(play, nullptr);
  const int32_t goldMs = demoGoldTime(n);
  ASSERT_GT(goldMs, 0);
  int steps = 0;
  LevelOutcome o;
  {
    HeadlessGame game(1000);
    ASSERT_TRUE(game.Ok());
    ASSERT_NE(Game::levelContext(), nullptr);
    ASSERT_EQ(playedLevel().levelNumber, n);
    const int start = gameStepCount();
    LevelPlayer p(game);
    game.RunSteps(kOpeningSteps);
    play(p);
    if (::testing::Test::HasFatalFailure()) return;
    o = FinishLevel(game);
    steps = gameStepCount() - start;
  }
  const std::string key = std::to_string(n);
  EXPECT_TRUE(o.won);
  EXPECT_EQ(o.stars, 3);
  EXPECT_LT(o.timeUsed, goldMs) << "inside the gold time";
  EXPECT_TRUE(o.shown) << "the result is on screen";
  EXPECT_TRUE(o.statisticsScreen) << "on the statistics screen";
  EXPECT_FALSE(o.loseScreen);
  EXPECT_EQ(statistic(run, key + "Stars"), "3");
  EXPECT_GT(std::atoi(statistic(run, key + "scores").c_str()), 0);
  const std::string log = readFile(run / "log.txt");
  EXPECT_NE(log.find("[Result] level " + key + " won: stars 3"), std::string::npos);
  // The same game again from its journal, started at another time: the same lines.
  switches("Game_Playback=1\n");
  {
    HeadlessGame game(9999);
    ASSERT_TRUE(game.Ok());
    game.RunSteps(steps);
  }
  const std::string replay = readFile(run / "log_playback.txt");
  ASSERT_FALSE(replay.empty());
  EXPECT_EQ(replay, log);
}

}  // namespace testkit
