// Production buildings in a headless level: generators making their level's amount on each minute
// tick (doubled by the bonus, nothing while broken) with a production figure counted exactly once
// however the generator came to produce; the barn's upgrade bringing a worker; the hunter hut's one
// person, also for a hut built or repaired during play; the mine's loads running its stock down;
// and every family's items through map.ini and map.bin and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/person.h"
#include "game/objects/barn.h"
#include "game/objects/building_generator.h"
#include "game/objects/building_mine.h"
#include "game/objects/hunter_building.h"
#include "game/objects/production_register.h"
#include "game_test_util.h"
#include "worker_level_util.h"
#include "support/game_harness.h"
#include "support/level_harness.h"

using Game::Event;
using Map::BuildingState;
using Map::ResourceVector;
using testkit::GameHarness;

namespace {
struct Production : gametest::LevelSlate {
  void SetUp() override {
    gametest::LevelSlate::SetUp();
    gametest::writeFile("data/translation.ini", "[Text]\n#MILL=Mill\n");
    std::filesystem::remove("data/buildings/buildings.ini");  // only the test of the looks has one
  }
};

const char* kBarn = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\nboundXS=30\nboundYS=30\n";

// A food generator making 3, 5 and 8 Food at levels 0, 1 and 2; upgrades and repairs cost Ore only,
// so the Food stock moves by production alone.
std::string mill(const std::string& extra = "") {
  return "[Mill]\ntype=building\nsubType=FoodGenerator\nx=400\ny=400\nboundXS=30\nboundYS=30\nname=#MILL\n"
         "resource=Food\nresourceValue=3\nresourceValue1=5\nresourceValue2=8\nupgradeLevelMax=2\nisBreak=1\n"
         "Person_Uprade_Time=500\nPerson_Uprade_Time_Ore=4\nPerson_Uprade2_Time=500\nPerson_Uprade2_Time_Ore=6\n"
         "Person_Repair_Time=500\nPerson_Repair_Time_Ore=2\n" +
         extra;
}

// Food 10, Ore 20; a minute lasts one second; one worker made at the barn; the clock running.
bool start(GameHarness& h, int n, const std::string& map) {
  testkit::LevelFiles f;
  f.balance = "[Main]\ntLevelTime=1000000\nMinuteTime=1000\n[Resources]\nWorker=0\nFood=10\nOre=20\n"
              "[ResourcesMax]\nFood=100\nOre=100\nGold=100\n[ResourceHarvest]\nFood=1\nOre=1\nGold=1\n";
  f.map = map;
  if (!gametest::startWithWorker(h, n, f)) return false;
  h.Action(1);  // the player starts the clock: the minutes run from here
  return true;
}

template <class T>
T* object(GameHarness& h, const char* name) {
  return dynamic_cast<T*>(h.map().FindByTag(NameHash(name)));
}

using gametest::runUntil;

// The amount of the next production of `id` (runs the level until it comes); -1 when none came.
int nextProduction(GameHarness& h, int32_t id) {
  h.ClearEvents();
  const bool came = runUntil(h, [&] {
    const GameEvent* e = h.Last(Event::GeneratorProduced);
    return e && e->objectId == id;
  }, 200);
  return came ? h.Last(Event::GeneratorProduced)->amount : -1;
}

void post(Event code, int32_t objectId = -1) {
  GameEvent e;
  MakeEvent(e, code);
  e.objectId = objectId;
  Post(Game::eventDispatcher(), e);
}

int gathered(GameHarness& h, int r) { return h.stock().Gathered(r); }
}  // namespace

// ---- Generators ----------------------------------------------------------------------------------

TEST_F(Production, AGeneratorMakesItsLevelsAmountEachMinute) {
  GameHarness h;
  ASSERT_TRUE(start(h, 180, std::string(kBarn) + mill()));
  auto* g = object<Map::cFoodGenerator>(h, "Mill");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->resource, Game::kFood);
  EXPECT_EQ(g->amount, 3);
  EXPECT_EQ(gathered(h, Game::kFood), 3);  // counted once, although the load passes it twice

  const int food0 = h.stock().Amount(Game::kFood);
  EXPECT_EQ(nextProduction(h, g->id), 3);
  const GameEvent* made = h.Last(Event::GeneratorProduced);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->index, Game::kFood);
  EXPECT_EQ(made->x, 400);
  EXPECT_EQ(h.stock().Amount(Game::kFood), food0 + 3);

  // The offer: what it makes, the upgrade's price and what it will make after.
  ResourceVector gains{}, costs{}, next{};
  EXPECT_TRUE(g->GetOperationOffer(gains, costs, next));
  EXPECT_EQ(gains, (ResourceVector{0, 3, 0, 0}));
  EXPECT_EQ(costs, (ResourceVector{0, 0, 4, 0}));
  EXPECT_EQ(next, (ResourceVector{0, 5, 0, 0}));

  h.Action(2, g->id);
  ASSERT_TRUE(runUntil(h, [&] { return g->upgradeLevel == 1 && g->State() == BuildingState::Built; }));
  EXPECT_EQ(g->amount, 5);
  EXPECT_EQ(gathered(h, Game::kFood), 5);  // grew by the difference of the two levels
  const int food1 = h.stock().Amount(Game::kFood);
  EXPECT_EQ(nextProduction(h, g->id), 5);
  EXPECT_EQ(h.stock().Amount(Game::kFood), food1 + 5);

  gains = costs = next = ResourceVector{};
  g->GetOperationOffer(gains, costs, next);
  EXPECT_EQ(costs, (ResourceVector{0, 0, 6, 0}));  // the second upgrade's price
  EXPECT_EQ(next, (ResourceVector{0, 8, 0, 0}));
}

TEST_F(Production, TheBonusDoublesAndABrokenGeneratorMakesNothingUntilRepaired) {
  GameHarness h;
  ASSERT_TRUE(start(h, 181, std::string(kBarn) + mill()));
  auto* g = object<Map::cFoodGenerator>(h, "Mill");
  ASSERT_NE(g, nullptr);
  post(Event::FastGenBonusFired);
  EXPECT_EQ(nextProduction(h, g->id), 6);
  post(Event::FastGenBonusEnded);
  EXPECT_EQ(nextProduction(h, g->id), 3);

  post(Event::WitchNamesObject, g->id);
  h.Advance(1);
  ASSERT_EQ(g->State(), BuildingState::Broken);
  EXPECT_EQ(gathered(h, Game::kFood), 0);  // its share leaves the figure
  h.ClearEvents();
  const int food = h.stock().Amount(Game::kFood);
  h.Advance(120);  // three minutes
  EXPECT_GE(h.CountOf(Event::GameMinutePassed), 2);
  EXPECT_EQ(h.CountOf(Event::GeneratorProduced), 0);
  EXPECT_EQ(h.stock().Amount(Game::kFood), food);

  h.Action(2, g->id);
  ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::Built; }));
  EXPECT_EQ(h.stock().Amount(Game::kOre), 18);
  EXPECT_EQ(gathered(h, Game::kFood), 3);  // back once, not on top of the first count
  EXPECT_EQ(nextProduction(h, g->id), 3);
}

TEST_F(Production, LoadedGeneratorsCountTheirLevelOnceAndNeverReadPastTheTable) {
  GameHarness h;
  const std::string map = std::string(kBarn) + mill("upgradeLevel=1\n") +
                          "[Smelter]\ntype=building\nsubType=OreGenerator\nx=600\ny=400\nresource=Ore\n"
                          "resourceValue=1\nresourceValue1=2\nresourceValue2=7\nupgradeLevel=2\nupgradeLevelMax=2\n"
                          "[Ruin]\ntype=building\nsubType=FoodGenerator\nx=700\ny=300\nstate=4\nisBreak=1\n"
                          "resource=Food\nresourceValue=40\n"
                          "[Site]\ntype=building\nsubType=GoldGenerator\nx=700\ny=500\nstate=1\nresource=Gold\n"
                          "resourceValue=9\n"
                          "[Odd]\ntype=building\nsubType=FoodGenerator\nx=300\ny=200\nresource=Food\n"
                          "resourceValue=2\nupgradeLevel=5\nupgradeLevelMax=5\n";
  ASSERT_TRUE(start(h, 182, map));
  auto* g = object<Map::cFoodGenerator>(h, "Mill");
  auto* ore = object<Map::cOreGenerator>(h, "Smelter");
  auto* odd = object<Map::cFoodGenerator>(h, "Odd");
  ASSERT_TRUE(g && ore && odd);
  ASSERT_NE(object<Map::cGoldGenerator>(h, "Site"), nullptr);
  EXPECT_EQ(g->amount, 5);
  EXPECT_EQ(ore->amount, 7);
  // Mill 5 + Odd 0; the broken one and the site make nothing yet.
  EXPECT_EQ(gathered(h, Game::kFood), 5);
  EXPECT_EQ(gathered(h, Game::kOre), 7);
  EXPECT_EQ(gathered(h, Game::kGold), 0);

  // Level 5 lies beyond the four amounts: it makes nothing rather than reading past them.
  EXPECT_EQ(odd->upgradeLevel, 5);
  EXPECT_EQ(odd->amount, 0);
  EXPECT_EQ(odd->LevelAmount(4), 0);
  EXPECT_EQ(odd->LevelAmount(-1), 0);
  ResourceVector gains{}, costs{}, next{};
  EXPECT_TRUE(odd->GetOperationOffer(gains, costs, next));
  EXPECT_EQ(next, ResourceVector{});

  const int ore0 = h.stock().Amount(Game::kOre);
  EXPECT_EQ(nextProduction(h, ore->id), 7);
  EXPECT_EQ(h.stock().Amount(Game::kOre), ore0 + 7);
}

TEST_F(Production, AGeneratorBuiltDuringPlayStartsCountingWhenItStands) {
  GameHarness h;
  ASSERT_TRUE(start(h, 183, std::string(kBarn) +
                                "[Site]\ntype=building\nsubType=GoldGenerator\nx=400\ny=400\nstate=1\n"
                                "resource=Gold\nresourceValue=2\nPerson_Build_Time=500\nPerson_Build_Time_Ore=5\n"));
  auto* g = object<Map::cGoldGenerator>(h, "Site");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(gathered(h, Game::kGold), 0);
  h.Advance(60);
  EXPECT_EQ(h.CountOf(Event::GeneratorProduced), 0);  // a site makes nothing
  h.Action(2, g->id);
  ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::BuildDone; }));
  EXPECT_EQ(gathered(h, Game::kGold), 2);
  ASSERT_TRUE(runUntil(h, [&] { return g->State() == BuildingState::Built; }));
  EXPECT_EQ(gathered(h, Game::kGold), 2);
  EXPECT_EQ(nextProduction(h, g->id), 2);
}

// ---- Barn, huts and mine ---------------------------------------------------------------------------

TEST_F(Production, TheBarnsUpgradeBringsOneMoreWorker) {
  GameHarness h;
  ASSERT_TRUE(start(h, 184, "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\nboundXS=30\nboundYS=30\n"
                            "isBreak=1\nupgradeLevelMax=1\nworkerX=30\nworkerY=20\nPerson_Uprade_Time=500\n"
                            "Person_Uprade_Time_Ore=3\n"));
  auto* barn = object<Map::cBarn>(h, "Barn");
  ASSERT_NE(barn, nullptr);
  EXPECT_EQ(barn->canBreak, 0);  // the workers' home never breaks
  EXPECT_EQ(barn->GetUpgradeGain(1), 1);
  EXPECT_EQ(barn->GetUpgradeGainResource(), 0);
  EXPECT_EQ(barn->WorkerPoint(), (Map::IntPoint{130, 420}));
  ResourceVector gains{}, costs{}, next{};
  EXPECT_TRUE(barn->GetOperationOffer(gains, costs, next));
  EXPECT_EQ(gains[0], 1);
  EXPECT_EQ(next[0], 2);
  EXPECT_EQ(costs, (ResourceVector{0, 0, 3, 0}));
  const int workers0 = h.stock().Amount(Game::kWorker);

  h.Action(2, barn->id);
  ASSERT_TRUE(runUntil(h, [&] { return barn->upgradeLevel == 1 && barn->State() == BuildingState::Built; }));
  EXPECT_EQ(h.workers().CountKind(0), 2);
  EXPECT_EQ(h.stock().Amount(Game::kWorker), workers0 + 1);
  gains = costs = next = ResourceVector{};
  EXPECT_TRUE(barn->GetOperationOffer(gains, costs, next));
  EXPECT_EQ(gains[0], 2);
  EXPECT_EQ(costs, ResourceVector{});  // fully upgraded: nothing more to pay for
}

TEST_F(Production, AHutBuiltInPlaySuppliesItsPersonAndARepairNeverAddsASecond) {
  GameHarness h;
  const uint32_t warrior = NameHash("Warrior");
  ASSERT_TRUE(start(h, 185, std::string(kBarn) +
                                "[Hut]\ntype=building\nsubType=WarriorHut\nx=400\ny=400\nboundXS=30\nboundYS=30\n"
                                "state=1\nisBreak=1\nhunter=Warrior\nPerson_Build_Time=500\nPerson_Build_Time_Ore=3\n"
                                "Person_Repair_Time=500\nPerson_Repair_Time_Ore=2\n"));
  auto* hut = object<Map::cHunterBuilding>(h, "Hut");
  ASSERT_NE(hut, nullptr);
  EXPECT_EQ(hut->hunter, "Warrior");
  h.Advance(5);
  EXPECT_EQ(h.workers().CountKind(warrior), 0);  // a site brings nobody

  h.Action(2, hut->id);
  ASSERT_TRUE(runUntil(h, [&] { return hut->State() == BuildingState::Built; }));
  h.Advance(2);
  ASSERT_EQ(h.workers().CountKind(warrior), 1);
  const Map::cPerson* p = h.workers().GetNth(warrior, 0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->homeId, hut->id);
  EXPECT_EQ(hut->personId, p->id);
  const int32_t first = p->id;

  for (int round = 0; round < 2; ++round) {
    post(Event::WitchNamesObject, hut->id);
    h.Advance(1);
    ASSERT_EQ(hut->State(), BuildingState::Broken);
    h.Action(2, hut->id);
    ASSERT_TRUE(runUntil(h, [&] { return hut->State() == BuildingState::Built; })) << round;
    h.Advance(2);
    EXPECT_EQ(h.workers().CountKind(warrior), 1) << round;
    EXPECT_EQ(hut->personId, first);
  }
}

TEST_F(Production, AHutStandingAtTheStartSuppliesOnce) {
  GameHarness h;
  ASSERT_TRUE(start(h, 186, std::string(kBarn) +
                                "[Hut]\ntype=building\nsubType=ExorcistHut\nx=400\ny=400\nhunter=Exorcist\n"
                                "[Empty]\ntype=building\nsubType=WarriorHut\nx=500\ny=400\n"));
  h.Advance(3);
  EXPECT_EQ(h.workers().CountKind(NameHash("Exorcist")), 1);
  EXPECT_EQ(h.workers().CountKind(NameHash("Warrior")), 0);
  EXPECT_NE(gametest::gerrText().find("Hut \"Empty\""), std::string::npos);  // no kind named
}

TEST_F(Production, TheMinesStockRunsDownLoadByLoad) {
  GameHarness h;
  ASSERT_TRUE(start(h, 187, std::string(kBarn) +
                                "[Mine]\ntype=building\nsubType=cBuildingMine\nx=400\ny=400\nboundXS=30\n"
                                "boundYS=30\nresource=Gold\nresourceValue=4\nresourceMax=10\n"
                                "Person_Get_Resource_Time=300\n"));
  auto* mine = object<Map::cBuildingMine>(h, "Mine");
  ASSERT_NE(mine, nullptr);
  ResourceVector gains{}, costs{}, next{};
  EXPECT_TRUE(mine->GetOperationOffer(gains, costs, next));
  EXPECT_EQ(gains, (ResourceVector{0, 0, 0, 4}));
  EXPECT_EQ(next, (ResourceVector{0, 0, 0, 10}));
  EXPECT_EQ(costs, ResourceVector{});
  std::string gl, cl, nl;
  mine->GetOfferLabels(gl, cl, nl);
  EXPECT_EQ(gl, "#OBJECT_HINT_MINE");
  EXPECT_EQ(nl, "#OBJECT_HINT_STOCK");

  h.ClearEvents();
  const int expectedLeft[3] = {6, 2, 0};
  for (int load = 1; load <= 3; ++load) {
    ASSERT_TRUE(mine->HasOperationOffer());
    h.Action(2, mine->id);
    ASSERT_TRUE(runUntil(h, [&] { return mine->taken == 4 * load; })) << load;
    EXPECT_EQ(mine->Left(), expectedLeft[load - 1]);
    EXPECT_EQ(h.CountOf(Event::MineYielded), load);
    // The worker goes home with its load before the next order.
    ASSERT_TRUE(runUntil(h, [&] { return h.workers().CountFree(0, true) == 1; })) << load;
  }
  // 12 >= 10: the third load empties it.
  EXPECT_TRUE(mine->withdrawn);
  EXPECT_FALSE(mine->HasOperationOffer());
  const GameEvent* empty = h.Last(Event::ObjectBroke);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->objectId, mine->id);
  const GameEvent* yielded = h.Last(Event::MineYielded);
  ASSERT_NE(yielded, nullptr);
  EXPECT_EQ(yielded->index, Game::kGold);
  EXPECT_EQ(yielded->amount, 4);
  EXPECT_EQ(h.stock().Amount(Game::kGold), 12);  // three loads delivered home

  h.Action(2, mine->id);
  h.Advance(40);
  EXPECT_EQ(mine->taken, 12);  // nothing more to carry off
}

// ---- Records --------------------------------------------------------------------------------------

TEST_F(Production, EveryFamilysItemsGoThroughBothMapFormsAndBack) {
  const std::string level =
      std::string("[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\niconsX=-12\niconsY=7\nworkerX=40\n"
                  "workerY=25\n") +
      "[Mill]\ntype=building\nsubType=FoodGenerator\nx=300\ny=300\nresource=Food\nresourceValue=3\n"
      "resourceValue1=5\nresourceValue2=8\nresourceValue3=13\nupgradeLevel=1\nupgradeLevelMax=3\n"
      "[Mine]\ntype=building\nsubType=cBuildingMine\nx=500\ny=300\nresource=Ore\nresourceValue=4\n"
      "resourceMax=10\n"
      "[Hut]\ntype=building\nsubType=ExorcistHut\nx=600\ny=300\nhunter=Exorcist\n";
  std::string error;
  ASSERT_TRUE(testkit::WriteLevelFolder("prodmap", level, {}, &error)) << error;
  struct Seen {
    Map::IntPoint icons, door;
    int32_t millResource, millAmount, levels[4], mineResource, load, stock;
    std::string hunter;
    bool operator==(const Seen&) const = default;
  };
  auto seen = [](const Map::cMap& map) {
    Seen s{};
    auto* barn = dynamic_cast<Map::cBarn*>(map.FindByTag(NameHash("Barn")));
    auto* g = dynamic_cast<Map::cFoodGenerator*>(map.FindByTag(NameHash("Mill")));
    auto* mine = dynamic_cast<Map::cBuildingMine*>(map.FindByTag(NameHash("Mine")));
    auto* hut = dynamic_cast<Map::cHunterBuilding*>(map.FindByTag(NameHash("Hut")));
    if (!barn || !g || !mine || !hut) {
      ADD_FAILURE() << "a production building was made as another class";
      return s;
    }
    s.icons = barn->iconsOffset;
    s.door = barn->workerOffset;
    s.millResource = g->resource;
    s.millAmount = g->amount;
    for (int i = 0; i < 4; ++i) s.levels[i] = g->levelAmounts[i];
    s.mineResource = mine->resource;
    s.load = mine->load;
    s.stock = mine->stock;
    s.hunter = hut->hunter;
    return s;
  };
  Seen fromBinary, fromIni;
  {
    testkit::LevelHarness bin;
    Map::productionRegisterClasses(bin.factory);
    ASSERT_TRUE(bin.Load("prodmap", true));
    fromBinary = seen(bin.map);
  }
  std::string saved;
  {
    testkit::LevelHarness ini;
    Map::productionRegisterClasses(ini.factory);
    ASSERT_TRUE(ini.Load("prodmap", false));
    fromIni = seen(ini.map);
    for (size_t i = 0; i < ini.map.Count(); ++i) ini.map.At(i)->SaveIni(saved);
  }
  EXPECT_TRUE(fromIni == fromBinary);
  EXPECT_EQ(fromIni.icons, (Map::IntPoint{-12, 7}));
  EXPECT_EQ(fromIni.door, (Map::IntPoint{40, 25}));
  EXPECT_EQ(fromIni.millResource, Game::kFood);
  EXPECT_EQ(fromIni.millAmount, 5);  // the amount follows the level
  EXPECT_EQ(fromIni.levels[3], 13);
  EXPECT_EQ(fromIni.mineResource, Game::kOre);
  EXPECT_EQ(fromIni.load, 4);
  EXPECT_EQ(fromIni.stock, 10);
  EXPECT_EQ(fromIni.hunter, "Exorcist");

  // Saved by the objects themselves and read again: the same buildings.
  gametest::writeFile("prodsaved/map.ini", saved);
  testkit::LevelHarness reread;
  Map::productionRegisterClasses(reread.factory);
  ASSERT_TRUE(reread.Load("prodsaved", false));
  EXPECT_TRUE(seen(reread.map) == fromIni) << saved;
}

// ---- Work animations ------------------------------------------------------------------------------

TEST_F(Production, FoodChannelsFollowTheLevelAndAlternateIdleWithOneOfTwoActions) {
  // Looks without pictures: they play (and draw nothing), which is all the channels need.
  gametest::writeFile("data/buildings/buildings.ini", "[FoodGenerator]\nanimScript=data/buildings/t_mill.ini\n");
  std::string script;
  for (const char* s : {"Idle1", "Idle2", "Idle3"}) script += std::string("[") + s + "]\nperiod=1000\nisCycle=1\n";
  for (const char* s : {"Action11", "Action12", "Action21", "Action22"})
    script += std::string("[") + s + "]\nperiod=400\n";
  script += "[Viking]\nperiod=700\n";
  gametest::writeFile("data/buildings/t_mill.ini", script);
  GameHarness h;
  ASSERT_TRUE(start(h, 188, std::string(kBarn) + mill("upgradeLevel=1\n")));
  auto* g = object<Map::cFoodGenerator>(h, "Mill");
  ASSERT_NE(g, nullptr);
  // Level 1 runs the channels of levels 1 and 2; the third waits for level 2.
  EXPECT_TRUE(g->ChannelAt(0).running);
  EXPECT_TRUE(g->ChannelAt(1).running);
  EXPECT_FALSE(g->ChannelAt(2).running);
  EXPECT_TRUE(g->ChannelAt(Map::cFoodGenerator::kChannels).running);

  const uint32_t idle = NameHash("Idle1"), a1 = NameHash("Action11"), a2 = NameHash("Action12");
  int idleSteps = 0, actionSteps = 0, visitorShown = 0, longestAction = 0, run = 0;
  for (int i = 0; i < 2400; ++i) {  // a minute of play
    h.Advance(1);
    const Map::cFoodGenerator::Channel& c = g->ChannelAt(0);
    const uint32_t now = c.player.CurrentState();
    if (c.acting) {
      EXPECT_TRUE(now == a1 || now == a2) << i;
      ++actionSteps;
      longestAction = std::max(longestAction, ++run);
    } else {
      EXPECT_EQ(now, idle) << i;
      ++idleSteps;
      run = 0;
    }
    visitorShown += !g->ChannelAt(Map::cFoodGenerator::kChannels).player.Hidden();
  }
  // Idle spells average 5 s and actions last 400 ms: both are seen, and an action never outlasts
  // its own length (16 steps of 25 ms, plus the step that notices its end).
  EXPECT_GT(idleSteps, actionSteps);
  EXPECT_GT(actionSteps, 0);
  EXPECT_LE(longestAction, 17);
  EXPECT_GT(visitorShown, 0);
}

TEST_F(Production, AGeneratorWithoutItsLooksDrawsNothingAndKeepsProducing) {
  GameHarness h;
  ASSERT_TRUE(start(h, 189, std::string(kBarn) + mill() +
                                "[Smelter]\ntype=building\nsubType=OreGenerator\nx=600\ny=400\nresource=Ore\n"
                                "resourceValue=2\nstate=4\nisBreak=1\n"
                                "[Mint]\ntype=building\nsubType=GoldGenerator\nx=700\ny=300\nresource=Gold\n"
                                "resourceValue=1\nupgradeLevel=2\nupgradeLevelMax=2\n"));
  auto* g = object<Map::cFoodGenerator>(h, "Mill");
  auto* ore = object<Map::cOreGenerator>(h, "Smelter");
  ASSERT_TRUE(g && ore);
  for (int i = 0; i <= Map::cFoodGenerator::kChannels; ++i) EXPECT_FALSE(g->ChannelAt(i).running) << i;
  // Drawing every state without a single picture or effect.
  post(Event::FastGenBonusFired);
  for (int i = 0; i < 200; ++i) {
    h.Advance(1);
    h.map().DrawAll(Map::DrawContext{});
  }
  EXPECT_GE(h.CountOf(Event::GeneratorProduced), 3);
  EXPECT_EQ(ore->State(), BuildingState::Broken);
}

// A worker arriving at the level greets at the barn's door when the barn names one; otherwise, and
// for a worker made straight into the barn, at the barn's first support point.
TEST_F(Production, ANewWorkerGreetsAtTheBarnDoor) {
  GameHarness h;
  ASSERT_TRUE(start(h, 190, std::string(kBarn) + "supportX=10\nsupportY=20\nworkerX=30\nworkerY=26\n"));
  Map::cPerson* greeting = h.workers().RequestWorker(true);
  ASSERT_NE(greeting, nullptr);
  EXPECT_EQ(greeting->AnchorI(), (Map::IntPoint{130, 426}));
  EXPECT_EQ(greeting->state, Map::PersonState::Greeting);
  Map::cPerson* inside = h.workers().RequestWorker(false);
  ASSERT_NE(inside, nullptr);
  EXPECT_EQ(inside->AnchorI(), (Map::IntPoint{110, 420}));
  Game::EndLevel();

  GameHarness h2;
  ASSERT_TRUE(start(h2, 191, std::string(kBarn) + "supportX=10\nsupportY=20\n"));
  Map::cPerson* noDoor = h2.workers().RequestWorker(true);
  ASSERT_NE(noDoor, nullptr);
  EXPECT_EQ(noDoor->AnchorI(), (Map::IntPoint{110, 420}));
}
