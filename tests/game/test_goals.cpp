// The goals of a level read from its task.ini and met through the level's events: every kind of
// task, counting tasks, the collect task that can be lost again, hidden tasks appearing, the
// order of the list, refused tasks, and the level won exactly when every task holds.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/level_context.h"
#include "game/core/level_files.h"
#include "game/objects/obstacle_broken_path.h"
#include "game/rules/task_container.h"
#include "obstacle_levels.h"

using Game::Event;
using Game::Phase;
using testkit::GameHarness;

namespace {
struct Goals : obstest::Level {};

// Food, Ore and Gold harvested (so enabled), each at most 30.
std::string balance(int food = 10, int gold = 0, int goldHarvest = 1, int workers = 1) {
  return "[Main]\ntLevelTime=600000\ntGoldTime=200000\ntSilverTime=400000\nMinuteTime=60000\n"
         "[Resources]\nWorker=" + std::to_string(workers) + "\nFood=" + std::to_string(food) + "\nOre=0\nGold=" + std::to_string(gold) +
         "\n[ResourcesMax]\nFood=30\nOre=30\nGold=30\n[ResourceHarvest]\nFood=1\nOre=1\nGold=" +
         std::to_string(goldHarvest) + "\n";
}

// A level with the barn at (100, 400), `map` and the goals of `tasks`; the clock is started.
bool loadGoals(GameHarness& h, int n, const std::string& tasks, const std::string& bal = balance(),
               const std::string& map = "") {
  testkit::LevelFiles f;
  f.balance = bal;
  f.map = std::string(obstest::kBarn) + map;
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  std::ofstream(levelTaskPath(n), std::ios::binary) << tasks;
  if (!h.Load(n)) return false;
  h.Action(1);
  return true;
}

Task::cLevelTaskContainer& goals() { return *Game::levelContext()->goals; }
Task::cLevelTask& task(const char* name) {
  Task::cLevelTask* t = goals().Find(name);
  EXPECT_NE(t, nullptr) << name;
  static Task::cCollectResource none;
  return t ? *t : none;
}

// What an object posts when it has been dealt with: its tag, type and subtype names and anchor.
void postAbout(Event code, const char* tag, const char* type = "", const char* subtype = "", int silent = 0,
               int x = 0, int y = 0) {
  GameEvent e;
  MakeEvent(e, code);
  e.tag = int32_t(NameHash(tag));
  e.typeHash = int32_t(NameHash(type));
  e.subtypeHash = int32_t(NameHash(subtype));
  e.value = silent;
  e.x = x;
  e.y = y;
  Post(Game::levelContext()->dispatcher.get(), e);
}
void postCode(Event code) {
  GameEvent e;
  MakeEvent(e, code);
  Post(Game::levelContext()->dispatcher.get(), e);
}
}  // namespace

TEST_F(Goals, EachObjectTaskIsMetByItsOwnEventOnItsOwnObjectAndTheLevelIsWonWithTheLast) {
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 300,
                        "[Bridge]\norder=1\ntype=repair\nobjectTag=OldBridge\n"
                        "[Root]\norder=2\ntype=Destroy\nobjectTag=EvilRoot\n"
                        "[House]\norder=3\ntype=build\nobjectTag=Cottage\nbuilding=cottage\n"
                        "[Coin]\norder=4\ntype=pick\nobjectTag=GoldPile\n"
                        "[Wolf]\norder=5\ntype=SaveWolf\nobjectTag=GreyWolf\n"));
  ASSERT_EQ(goals().Count(), 5u);
  h.ClearEvents();
  // Wrong objects, wrong events and silent news complete nothing.
  postAbout(Event::OperationFinished, "NewBridge");
  postAbout(Event::ResourcesPickedUp, "OldBridge");         // a repair task ignores pick-ups
  postAbout(Event::OperationFinished, "Cottage");           // a build task waits for 30
  postAbout(Event::BuildingWorkFinished, "Cottage", "building", "", 1);  // built before play
  postAbout(Event::OperationFinished, "EvilRoot", "", "", 1);
  h.Advance(2);
  EXPECT_EQ(h.CountOf(Event::GoalCompleted), 0);
  EXPECT_EQ(goals().CompletedCount(), 0u);

  postAbout(Event::OperationFinished, "OldBridge", "brokenPath", "bridge", 0, 320, 410);
  EXPECT_TRUE(task("Bridge").completed());
  const GameEvent* done = h.Last(Event::GoalCompleted);
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(done->value, 0);  // the first task of the list
  EXPECT_EQ(uint32_t(done->value2), NameHash("Bridge"));
  EXPECT_EQ(uint32_t(done->extra[0]), NameHash("repair"));
  EXPECT_EQ(done->x, 320);
  EXPECT_EQ(done->y, 410);
  // A task met once is not met again.
  postAbout(Event::OperationFinished, "OldBridge");
  EXPECT_EQ(h.CountOf(Event::GoalCompleted), 1);
  EXPECT_EQ(task("Bridge").progress(), 1);

  postAbout(Event::OperationFinished, "EvilRoot");
  postAbout(Event::BuildingWorkFinished, "Cottage", "building");
  postAbout(Event::ResourcesPickedUp, "GoldPile");
  EXPECT_EQ(goals().CompletedCount(), 4u);
  h.Advance(3);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);  // the wolf is still in the way
  EXPECT_EQ(h.phase(), Phase::Running);

  postAbout(Event::CreatureObstacleEvent, "GreyWolf", "obstacle", "wolf", 1);
  EXPECT_TRUE(task("Wolf").completed());
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);  // checked at the next step, not inside the event
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 1);
  EXPECT_EQ(h.Last(Event::AllGoalsCompleted)->value, 0);  // earned, not forced
  EXPECT_TRUE(goals().done());
  EXPECT_EQ(h.phase(), Phase::GoalsMet);
  h.Advance(40);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 1);
}

TEST_F(Goals, CountingTasksCountObjectsOfTheirTypeOrSubtypeAndReportProgressBefore) {
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 301,
                        "[Stones]\ntype=repair\nobjectType=stoneL\nobjectsMax=3\nparts=3\n"
                        "[Houses]\ntype=build\nobjectType=building\nobjectsMax=2\n"));
  Task::cLevelTask& stones = task("Stones");
  h.ClearEvents();
  postAbout(Event::OperationFinished, "S1", "obstacle", "stoneXL");  // another subtype
  postAbout(Event::OperationFinished, "S2", "stoneL", "");           // an empty subtype never matches
  EXPECT_EQ(stones.matched(), 1);  // ... but the type name does
  postAbout(Event::OperationFinished, "S3", "obstacle", "stoneL", 0, 50, 60);
  EXPECT_EQ(stones.matched(), 2);
  EXPECT_FALSE(stones.completed());
  EXPECT_EQ(stones.objectsLeft(), 1);
  EXPECT_EQ(h.CountOf(Event::GoalProgress), 2);
  EXPECT_EQ(h.Last(Event::GoalProgress)->x, 50);
  postAbout(Event::OperationFinished, "S4", "obstacle", "stoneL");
  EXPECT_TRUE(stones.completed());
  EXPECT_EQ(stones.progress(), 3);  // two steps and the completion, against parts 3
  EXPECT_EQ(h.CountOf(Event::GoalProgress), 2);
  postAbout(Event::OperationFinished, "S5", "obstacle", "stoneL");
  EXPECT_EQ(stones.matched(), 3);

  Task::cLevelTask& houses = task("Houses");
  postAbout(Event::BuildingWorkFinished, "H1", "building", "", 1);  // standing before play
  postAbout(Event::BuildingWorkFinished, "H2", "building");
  EXPECT_EQ(houses.matched(), 1);
  postAbout(Event::BuildingWorkFinished, "H3", "building");
  EXPECT_TRUE(houses.completed());
}

TEST_F(Goals, ACollectTaskHoldsOnlyWhileTheStockDoesAndTheLevelIsWonOnlyWhenAllHoldAtOnce) {
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 302,
                        "[Food]\norder=1\ntype=collectResource\nresource=food\nresourceValue=20\n"
                        "[Bridge]\norder=2\ntype=repair\nobjectTag=OldBridge\n"));
  auto& food = dynamic_cast<Task::cCollectResource&>(task("Food"));
  EXPECT_EQ(food.resource(), Game::kFood);
  h.Advance(1);
  EXPECT_FALSE(food.completed());
  EXPECT_EQ(food.missing(), 10);  // 10 of 20 held
  h.ClearEvents();
  h.stock().AddResource(Game::kFood, 10, true);
  EXPECT_TRUE(food.completed());
  EXPECT_EQ(food.missing(), 20);  // nothing missing: the row shows the whole amount
  // Reported at the barn.
  ASSERT_NE(h.Last(Event::GoalCompleted), nullptr);
  EXPECT_EQ(h.Last(Event::GoalCompleted)->x, 100);
  EXPECT_EQ(h.Last(Event::GoalCompleted)->y, 400);
  ASSERT_TRUE(h.stock().SpendResource(Game::kFood, 1));
  EXPECT_FALSE(food.completed());
  EXPECT_EQ(h.CountOf(Event::GoalUncompleted), 1);
  EXPECT_EQ(uint32_t(h.Last(Event::GoalUncompleted)->value2), NameHash("Food"));

  postAbout(Event::OperationFinished, "OldBridge");
  h.Advance(10);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);  // 19 Food is not 20
  h.stock().AddResource(Game::kFood, 1, true);
  EXPECT_EQ(h.CountOf(Event::GoalCompleted), 3);
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 1);
}

TEST_F(Goals, AStartingStockThatAlreadyHoldsTheAmountMeetsTheTaskAtTheFirstStep) {
  GameHarness h;
  // No worker arrives, so nothing changes the stock while the level loads.
  ASSERT_TRUE(loadGoals(h, 303, "[Food]\ntype=collectResource\nresource=Food\nresourceValue=5\n",
                        balance(10, 0, 1, 0)));
  EXPECT_FALSE(task("Food").completed());
  h.Advance(1);
  EXPECT_TRUE(task("Food").completed());
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 1);
}

TEST_F(Goals, HiddenTasksAppearWhenTheirTaskCompletesOrTheirObjectIsDealtWith) {
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 304,
                        "[First]\norder=1\ntype=repair\nobjectTag=Road\n"
                        "[Second]\norder=2\ntype=repair\nobjectTag=Well\nisHidden=1\nappearTask=First\n"
                        "[Third]\norder=3\ntype=pick\nobjectTag=Key\nisHidden=1\nappearTag=Chest\n"));
  EXPECT_EQ(goals().VisibleCount(), 1u);
  h.ClearEvents();
  // A hidden task counts like a visible one: its condition met, it stays hidden until it appears.
  postAbout(Event::OperationFinished, "Well");
  EXPECT_TRUE(task("Second").completed());
  EXPECT_TRUE(task("Second").hidden());
  h.Advance(2);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);

  postAbout(Event::OperationFinished, "Road");
  EXPECT_FALSE(task("Second").hidden());  // in the same event, already complete when shown
  EXPECT_TRUE(task("Third").hidden());
  ASSERT_EQ(h.CountOf(Event::GoalRevealed), 1);
  EXPECT_EQ(h.Last(Event::GoalRevealed)->value, 1);

  postAbout(Event::OperationFinished, "Chest", "", "", 1);  // opened before play: not the player's deed
  EXPECT_TRUE(task("Third").hidden());
  postAbout(Event::ResourcesPickedUp, "Chest");
  EXPECT_FALSE(task("Third").hidden());
  EXPECT_FALSE(task("Third").completed());
  EXPECT_EQ(goals().VisibleCount(), 3u);
  EXPECT_EQ(h.CountOf(Event::GoalRevealed), 2);
}

TEST_F(Goals, StoryEventTasksBerriesAndAPickThatTakesAny) {
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 305,
                        "[Daughter]\ntype=SummerDaughter\n"
                        "[Quill]\ntype=pickaquill\n"
                        "[Berries]\ntype=PickBerries\nobjectsMax=3\n"
                        "[Anything]\ntype=pick\nobjectTag=Coin\nisAny=1\nisRemove=1\n"));
  auto& berries = dynamic_cast<Task::cEventTask&>(task("Berries"));
  EXPECT_TRUE(berries.counting());
  auto& any = dynamic_cast<Task::cRemoveObstacle&>(task("Anything"));
  EXPECT_FALSE(any.pickRow());
  h.ClearEvents();
  postCode(Event::AutumnChainsEvent);  // another daughter's event
  EXPECT_FALSE(task("Daughter").completed());
  postCode(Event::SummerCageEvent);
  EXPECT_TRUE(task("Daughter").completed());
  postCode(Event::QuillPickedUp);  // picked, not yet delivered
  EXPECT_FALSE(task("Quill").completed());
  postCode(Event::QuillDelivered);
  EXPECT_TRUE(task("Quill").completed());

  postCode(Event::BerryDelivered);
  postCode(Event::BerryDelivered);
  EXPECT_FALSE(berries.completed());
  EXPECT_EQ(h.CountOf(Event::GoalProgress), 2);
  postCode(Event::BerryDelivered);
  EXPECT_TRUE(berries.completed());

  postAbout(Event::ResourcesPickedUp, "Coin");
  postAbout(Event::CreatureObstacleEvent, "Coin");
  EXPECT_FALSE(any.completed());
  h.Advance(5);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);
}

TEST_F(Goals, TheListKeepsFileOrderAmongEqualOrdersAndRefusesTasksThatCanNeverBeMet) {
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 306,
                        "[Late]\norder=5\ntype=repair\nobjectTag=A\n"
                        "[Bravo]\norder=1\ntype=repair\nobjectTag=B\n"
                        "[Alpha]\norder=1\ntype=repair\nobjectTag=C\n"
                        "[Early]\norder=-2\ntype=repair\nobjectTag=D\n"
                        "[Charlie]\norder=1\ntype=repair\nobjectTag=E\n"
                        "[Nothing]\ntype=dance\n"
                        "[TooMuchFood]\ntype=collectResource\nresource=Food\nresourceValue=31\n"
                        "[NoGold]\ntype=collectResource\nresource=Gold\nresourceValue=5\n"
                        "[Diamonds]\ntype=collectResource\nresource=Diamonds\nresourceValue=5\n"
                        "[Zero]\ntype=collectResource\nresource=Ore\nresourceValue=0\n"
                        "[FullFood]\ntype=collectResource\nresource=Food\nresourceValue=30\n",
                        balance(10, 0, 0)));
  const char* expected[] = {"Early", "FullFood", "Bravo", "Alpha", "Charlie", "Late"};  // FullFood: order 0
  ASSERT_EQ(goals().Count(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(goals().At(i)->name(), expected[i]) << i;
    EXPECT_EQ(goals().At(i)->id(), int32_t(i));
  }
  std::string gerr = testkit::ReadErrorLog();
  for (const char* refused : {"\"TooMuchFood\"", "\"NoGold\"", "\"Diamonds\"", "\"Zero\"", "\"Nothing\""})
    EXPECT_NE(gerr.find(refused), std::string::npos) << refused << "\n" << gerr;
  EXPECT_NE(gerr.find("level 306"), std::string::npos);
  EXPECT_NE(gerr.find("dataTest/maps/306/task.ini"), std::string::npos);
  EXPECT_EQ(gerr.find("\"FullFood\""), std::string::npos);  // exactly the maximum can be held
}

TEST_F(Goals, ALevelWithoutTasksIsNeverWonByThemAndALostLevelStopsCounting) {
  {
    GameHarness h;
    testkit::LevelFiles f;
    f.balance = balance();
    f.map = obstest::kBarn;
    ASSERT_TRUE(testkit::WriteTestLevel(307, f));
    std::remove(levelTaskPath(307).c_str());
    ASSERT_TRUE(h.Load(307));
    h.Action(1);
    EXPECT_EQ(goals().Count(), 0u);
    h.Advance(20);
    EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);
  }
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 308, "[Bridge]\ntype=repair\nobjectTag=OldBridge\n"));
  h.Action(10);  // lost
  EXPECT_TRUE(goals().suspended());
  postAbout(Event::OperationFinished, "OldBridge");
  h.Advance(5);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);
}

TEST_F(Goals, AWorkerRepairingTheRoadMeetsTheGoalWhileABuildingStandingAtLoadMeetsNone) {
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 309,
                        "[Road]\norder=1\ntype=repair\nobjectTag=Road\n"
                        "[Cottage]\norder=2\ntype=build\nobjectTag=Cottage\n",
                        obstest::balance(1, 20, 0, 0),
                        "[Road]\ntype=brokenPath\nsubType=roadcrack\nx=300\ny=400\nboundXS=20\nboundYS=20\n"
                        "isBroken=1\nPerson_Repair_Time=1000\nPerson_Repair_Time_Food=5\n"
                        "[Cottage]\ntype=building\nsubType=Cottage\nx=400\ny=200\nstate=0\n"));
  // The cottage stood when the level loaded: its 30 was told silently.
  bool silentBuilt = false;
  for (const GameEvent& e : h.events())
    if (e.code == Game::Code(Event::BuildingWorkFinished) && e.value == 1) silentBuilt = true;
  EXPECT_TRUE(silentBuilt);
  EXPECT_FALSE(task("Cottage").completed());

  h.Advance(obstest::kGreetSteps);
  Map::cObject* road = obstest::byName(h, "Road");
  ASSERT_NE(road, nullptr);
  h.Action(2, road->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::GoalCompleted));
  EXPECT_TRUE(task("Road").completed());
  EXPECT_EQ(h.stock().Amount(Game::kFood), 15);
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::AllGoalsCompleted), 0);
  EXPECT_EQ(h.phase(), Phase::Running);
}

TEST_F(Goals, SavedTasksReadBackAsTheSameTasks) {
  GameHarness h;
  ASSERT_TRUE(loadGoals(h, 310,
                        "[Food]\norder=2\ntype=collectResource\nresource=Ore\nresourceValue=12\nisHidden=1\n"
                        "appearTask=Stones\n"
                        "[Stones]\norder=1\ntype=remove\nobjectType=stoneL\nobjectsMax=3\nparts=3\n"
                        "objectsName=#STONES\nappearTag=Gate\n"
                        "[Coin]\norder=3\ntype=pick\nobjectTag=Coin\nisRemove=1\nisAny=1\n"
                        "[Cottage]\norder=4\ntype=build\nobjectTag=Site\nbuilding=cottage\n"));
  std::remove("saved_task.ini");
  for (size_t i = 0; i < goals().Count(); ++i) goals().At(i)->Save("saved_task.ini");
  ASSERT_TRUE(iniSave("saved_task.ini"));
  iniFreeAll();
  Task::cLevelTaskContainer again;
  again.Load("saved_task.ini", 310);
  ASSERT_EQ(again.Count(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const Task::cLevelTask& a = *goals().At(i);
    const Task::cLevelTask& b = *again.At(i);
    EXPECT_EQ(a.name(), b.name());
    EXPECT_EQ(a.type(), b.type());
    EXPECT_EQ(a.order(), b.order());
    EXPECT_EQ(a.objectTag(), b.objectTag());
    EXPECT_EQ(a.objectType(), b.objectType());
    EXPECT_EQ(a.appearTag(), b.appearTag());
    EXPECT_EQ(a.appearTask(), b.appearTask());
    EXPECT_EQ(a.hidden(), b.hidden());
    EXPECT_EQ(a.objectsMax(), b.objectsMax());
    EXPECT_EQ(a.parts(), b.parts());
    EXPECT_EQ(a.objectsName(), b.objectsName());
  }
  auto& ore = dynamic_cast<Task::cCollectResource&>(*again.Find("Food"));
  EXPECT_EQ(ore.resource(), Game::kOre);
  EXPECT_EQ(ore.amount(), 12);
  auto& coin = dynamic_cast<Task::cRemoveObstacle&>(*again.Find("Coin"));
  EXPECT_FALSE(coin.pickRow());
  EXPECT_TRUE(coin.isAny());
  EXPECT_EQ(dynamic_cast<Task::cBuildBuilding&>(*again.Find("Cottage")).building(), "cottage");
}
