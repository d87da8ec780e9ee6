// Obstacles and repairable objects in a headless level: the broken path's subtype rule, its arch,
// a repair from the click to the freed cells (a building behind the road becomes reachable, event
// 48), the seven-step fade of the broken picture, stones and dry trees leaving the map, the
// totem destroyed and made whole again, a mended road that leaves opening its fog area, and each
// family's record equal from map.ini and map.bin.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/core/path_finder.h"
#include "game/objects/object_level.h"
#include "game/objects/obstacle_broken_path.h"
#include "game/objects/obstacle_fed.h"
#include "game/objects/obstacle_seasons.h"
#include "game/objects/obstacles.h"
#include "obstacle_levels.h"

using Game::Event;
using Map::cBrokenPathPatch;
using Map::OperationState;
using testkit::GameHarness;

namespace {
struct Obstacles : obstest::Level {};

// A road in the wall's gap; the saw mill beyond the wall can only be reached over it.
std::string roadLevel(const std::string& extra) {
  return "[Mill]\ntype=building\nsubType=sawMill\nx=800\ny=400\n"
         "[Road]\ntype=brokenPath\nx=505\ny=400\nboundXS=20\nboundYS=20\nsupportX=-30\nsupportY=0\n"
         "isBroken=1\nisObstacle=1\nobstacleXS=10\nobstacleYS=30\nPerson_Repair_Time_Food=5\n" +
         extra;
}

bool cellBlockedByObject(GameHarness& h, int px, int py) {
  return (h.path().Flags(px / 10, py / 10) & kPathObjectBit) != 0;
}
}  // namespace

TEST_F(Obstacles, TheSubtypeComesFromTheKeysAndOnlyThenFromTheArchFlag) {
  EXPECT_EQ(Map::brokenPathSubtype("", 0), "roadcrack");
  EXPECT_EQ(Map::brokenPathSubtype("", 1), "bridge");
  EXPECT_EQ(Map::brokenPathSubtype("lakebridge", 1), "lakebridge");
  EXPECT_EQ(Map::brokenPathSubtype("frozenPath", 0), "frozenPath");
  EXPECT_EQ(Map::brokenPathSubtype("roadcrack", 1), "roadcrack");

  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 140,
                            "[Plain]\ntype=brokenPath\nx=300\ny=100\nisBroken=1\n"
                            "[Arch]\ntype=brokenPath\nx=300\ny=200\nisBroken=1\nisConvex=1\n"
                            "[Lake]\ntype=brokenPath\nsubType=lakebridge\nx=300\ny=300\nisBroken=1\nisConvex=1\n"
                            "[Statue]\ntype=brokenPath\nsubType=statue3\nx=300\ny=500\nisBroken=1\n",
                            obstest::balance(1, 0, 0, 0)));
  // A patch without the flag stays a road crack; none of them turns into something it was not.
  EXPECT_EQ(obstest::byName(h, "Plain")->subtypeName, "roadcrack");
  EXPECT_EQ(obstest::byName(h, "Arch")->subtypeName, "bridge");
  EXPECT_EQ(obstest::byName(h, "Lake")->subtypeName, "lakebridge");
  EXPECT_EQ(obstest::byName(h, "Statue")->subtypeName, "statue3");
  EXPECT_NE(obstest::byName<cBrokenPathPatch>(h, "Statue"), nullptr);
}

TEST_F(Obstacles, ABridgeLiftsPersonsAlongItsArch) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 141,
                            "[Up]\ntype=brokenPath\nx=300\ny=300\nboundXS=100\nboundYS=20\nheightMax=40\nisConvex=1\n"
                            "[Down]\ntype=brokenPath\nsubType=bridge\nx=300\ny=500\nboundXS=100\nboundYS=20\n"
                            "heightMax=40\nisConvex=0\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* up = obstest::byName<cBrokenPathPatch>(h, "Up");
  auto* down = obstest::byName<cBrokenPathPatch>(h, "Down");
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);
  // The axis runs from x 200 to 400: the middle is lifted by half of heightMax, a quarter of the
  // way by 40 * 2 * 0.25 * 0.75.
  EXPECT_NEAR(up->GetHeightAt({300, 300}), 20.0f, 0.01f);
  EXPECT_NEAR(up->GetHeightAt({250, 300}), 15.0f, 0.01f);
  EXPECT_NEAR(up->GetHeightAt({200, 300}), 0.0f, 0.01f);
  EXPECT_NEAR(up->GetHeightAt({150, 300}), 0.0f, 0.01f);  // beyond the end: flat, never below
  EXPECT_NEAR(down->GetHeightAt({300, 500}), -20.0f, 0.01f);
}

TEST_F(Obstacles, ARepairedRoadFreesItsCellsAndTheBuildingBehindBecomesReachable) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 142, roadLevel("Person_Repair_Time=1000\n"), obstest::balance(1, 20, 0, 0),
                            obstest::wallWithGap()));
  auto* road = obstest::byName<cBrokenPathPatch>(h, "Road");
  Map::cObject* mill = obstest::byName(h, "Mill");
  ASSERT_NE(road, nullptr);
  ASSERT_NE(mill, nullptr);
  EXPECT_EQ(road->subtypeName, "roadcrack");
  EXPECT_TRUE(road->HasOperationOffer());
  EXPECT_TRUE(cellBlockedByObject(h, 505, 400));
  ASSERT_EQ(h.path().Pending().size(), 1u);
  EXPECT_EQ(h.path().Pending()[0], mill->id);

  h.ClearEvents();
  h.Action(2, road->id);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 15);  // paid once, at the order
  EXPECT_EQ(road->operation.state == OperationState::Ordered || road->operation.state == OperationState::Gathering,
            true);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationProgress));
  EXPECT_EQ(h.Last(Event::OperationProgress)->value, 1000);
  EXPECT_EQ(h.CountOf(Event::BuildingReachable), 0);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished));
  const GameEvent* done = h.Last(Event::OperationFinished);
  EXPECT_EQ(done->objectId, road->id);
  EXPECT_EQ(uint32_t(done->subtypeHash), NameHash("roadcrack"));
  // The cells are free and the mill is announced reachable, once.
  EXPECT_FALSE(cellBlockedByObject(h, 505, 400));
  ASSERT_EQ(h.CountOf(Event::BuildingReachable), 1);
  EXPECT_EQ(h.Last(Event::BuildingReachable)->objectId, mill->id);
  EXPECT_TRUE(h.path().Pending().empty());
  // Without "isDrawAfterRepair" the patch leaves the map after its repair: event 25 follows 27.
  EXPECT_TRUE(road->IsWithdrawn());
  const int32_t roadId = road->id;
  h.Advance(40);
  bool killedAfter = false, seen27 = false;
  for (const GameEvent& e : h.events()) {
    if (e.code == Game::Code(Event::OperationFinished)) seen27 = true;
    if (e.code == Game::Code(Event::ObjectKilled) && e.objectId == roadId && seen27) killedAfter = true;
  }
  EXPECT_TRUE(killedAfter);
  EXPECT_EQ(h.map().FindById(roadId), nullptr);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 15);
}

TEST_F(Obstacles, TheBrokenPictureFadesInSevenStepsAndAShortRepairNeverHasAZeroStep) {
  EXPECT_EQ(cBrokenPathPatch::FadePeriod(7000), 1000);
  EXPECT_EQ(cBrokenPathPatch::FadePeriod(6), 1);
  EXPECT_EQ(cBrokenPathPatch::FadePeriod(0), 1);

  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 143, roadLevel("Person_Repair_Time=7000\nisDrawAfterRepair=1\nisConvex=1\n"),
                            obstest::balance(1, 20, 0, 0), obstest::wallWithGap()));
  auto* road = obstest::byName<cBrokenPathPatch>(h, "Road");
  ASSERT_NE(road, nullptr);
  EXPECT_EQ(road->subtypeName, "bridge");
  h.Action(2, road->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationProgress));
  // The step lands 1000 ms after the arrival; the tick of the arrival itself may count or not.
  h.Advance(38);
  EXPECT_EQ(road->brokenAlpha, 255);
  h.Advance(2);
  EXPECT_EQ(road->brokenAlpha, 219);
  for (int expected : {183, 147, 111, 75, 39}) {
    h.Advance(40);
    EXPECT_EQ(road->brokenAlpha, expected);
  }
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished, 1, 200));
  h.Advance(2);
  // Repaired and drawn on: whole again, withdrawn, and a click changes nothing.
  EXPECT_EQ(road->broken, 0);
  EXPECT_EQ(road->brokenAlpha, 255);
  EXPECT_EQ(h.map().FindById(road->id), road);
  EXPECT_EQ(road->GetCursor(), 0);
  h.ClearEvents();
  const int32_t food = h.stock().Amount(Game::kFood);
  EXPECT_FALSE(road->Click(true));
  EXPECT_EQ(h.stock().Amount(Game::kFood), food);
  EXPECT_EQ(h.CountOf(Event::SubjectClicked), 0);
  // It was in view all along: nothing fades in.
  EXPECT_FALSE(road->hideFade.running);
}

// A road nobody could see while it was broken comes into view over 700 ms once mended.
TEST_F(Obstacles, AHiddenRoadFadesIntoViewWhenMended) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 144, roadLevel("Person_Repair_Time=500\nisDrawAfterRepair=1\nisHidden=1\n"),
                            obstest::balance(1, 20, 0, 0), obstest::wallWithGap()));
  auto* road = obstest::byName<cBrokenPathPatch>(h, "Road");
  ASSERT_NE(road, nullptr);
  EXPECT_EQ(road->hidden, 1);
  h.Action(2, road->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished, 1, 400));
  EXPECT_EQ(road->hidden, 0);
  ASSERT_TRUE(road->hideFade.running);
  const float early = road->hideFade.Progress();
  EXPECT_LT(early, 0.1f);
  h.Advance(14);  // 350 ms
  EXPECT_NEAR(road->hideFade.Progress(), early + 0.5f, 0.05f);
  h.Advance(16);
  EXPECT_FALSE(road->hideFade.running);
}

TEST_F(Obstacles, AnOrderTheStockCannotPayIsRefusedAndCostsNothing) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 144, roadLevel("Person_Repair_Time=1000\n"), obstest::balance(1, 4, 0, 0),
                            obstest::wallWithGap()));
  auto* road = obstest::byName<cBrokenPathPatch>(h, "Road");
  ASSERT_NE(road, nullptr);
  h.ClearEvents();
  h.Action(2, road->id);
  EXPECT_EQ(h.CountOf(Event::NotEnoughResources), 1);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 4);
  EXPECT_EQ(road->operation.state, OperationState::Idle);
  Map::ResourceVector gains{}, costs{}, next{};
  road->SetSelected(true);
  EXPECT_FALSE(road->GetOperationOffer(gains, costs, next));
  EXPECT_EQ(costs[Game::kFood], 1);  // what is missing while selected
  std::string g, c, n;
  road->GetOfferLabels(g, c, n);
  EXPECT_EQ(c, "#OBJECT_HINT_SPEND");
  h.Advance(100);
  EXPECT_TRUE(cellBlockedByObject(h, 505, 400));
  EXPECT_EQ(h.CountOf(Event::BuildingReachable), 0);
}

TEST_F(Obstacles, StonesAndDryTreesLeaveTheMapWhenCleared) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 145,
                            "[Mill]\ntype=building\nsubType=sawMill\nx=800\ny=400\n"
                            "[Rock]\ntype=evilstone\nsubType=stoneL\nx=505\ny=400\nboundXS=20\nboundYS=20\n"
                            "supportX=-30\nisBroken=1\neffname=Sparkles\nisObstacle=1\nobstacleXS=10\nobstacleYS=30\n"
                            "Person_Repair_Time=500\nPerson_Repair_Time_Ore=3\n"
                            "[Tree]\ntype=brokenPath\nsubType=dryTree\nx=300\ny=200\nboundXS=20\nboundYS=20\n"
                            "branches=Left\nPerson_Repair_Time=500\n",
                            obstest::balance(1, 0, 5, 0), obstest::wallWithGap()));
  auto* rock = obstest::byName<Map::cStoneAndSpring>(h, "Rock");
  auto* tree = obstest::byName<Map::cDryTree>(h, "Tree");
  ASSERT_NE(rock, nullptr);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(rock->effectName, "Sparkles");
  EXPECT_EQ(tree->branches, "Left");
  const int32_t rockId = rock->id, treeId = tree->id;
  h.ClearEvents();
  h.Action(2, rockId);
  EXPECT_EQ(h.stock().Amount(Game::kOre), 2);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished));
  EXPECT_EQ(uint32_t(h.Last(Event::OperationFinished)->subtypeHash), NameHash("stoneL"));
  EXPECT_EQ(h.CountOf(Event::BuildingReachable), 1);
  EXPECT_FALSE(cellBlockedByObject(h, 505, 400));
  h.Advance(40);
  EXPECT_EQ(h.map().FindById(rockId), nullptr);

  // The worker has stood its 3000 ms; the tree is next.
  h.Advance(140);
  h.ClearEvents();
  h.Action(2, treeId);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished));
  EXPECT_EQ(uint32_t(h.Last(Event::OperationFinished)->subtypeHash), NameHash("dryTree"));
  h.Advance(40);
  EXPECT_EQ(h.map().FindById(treeId), nullptr);
}

TEST_F(Obstacles, AMendedRoadThatLeavesTheMapOpensItsFogAreaOnceAsItGoes) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 146,
                            roadLevel("Person_Repair_Time=500\nisDrawAfterRepair=0\nisFogArea=1\nfogAreaDeltaX=200\n"
                                      "fogAreaDeltaY=-40\nfogAreaRadius=150\nfogAreaRadius2=90\n"),
                            obstest::balance(1, 10, 0, 0), obstest::wallWithGap()));
  auto* road = obstest::byName<cBrokenPathPatch>(h, "Road");
  ASSERT_NE(road, nullptr);
  const int32_t roadId = road->id;
  h.ClearEvents();
  h.Action(2, roadId);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished));
  EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 0) << "not while it is still fading out";
  h.Advance(40);
  EXPECT_EQ(h.map().FindById(roadId), nullptr);
  ASSERT_EQ(h.CountOf(Event::FogAreaOpens), 1);
  const GameEvent* open = h.Last(Event::FogAreaOpens);
  EXPECT_EQ(open->objectId, roadId);
  EXPECT_EQ(open->x, 705);
  EXPECT_EQ(open->y, 360);
  EXPECT_EQ(open->value, 150);
  EXPECT_EQ(open->value2, 90);
  h.Advance(40);
  EXPECT_EQ(h.CountOf(Event::FogAreaOpens), 1);
}

TEST_F(Obstacles, ATotemIsDestroyedOnlyWholeAndTheWitchMakesItWholeAgain) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 146,
                            "[Totem1]\ntype=totem\nx=300\ny=300\nboundXS=20\nboundYS=20\nsupportY=30\n"
                            "isObstacle=1\nobstacleXS=10\nobstacleYS=10\nwells=2\nPerson_Repair_Time=500\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* totem = obstest::byName<Map::cTotem>(h, "Totem1");
  ASSERT_NE(totem, nullptr);
  EXPECT_EQ(totem->state, Map::cTotem::kWhole);
  EXPECT_EQ(totem->wells, 2);
  EXPECT_TRUE(cellBlockedByObject(h, 300, 300));
  h.ClearEvents();
  h.Action(2, totem->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::TotemDestroyed));
  EXPECT_EQ(h.CountOf(Event::OperationFinished), 1);
  EXPECT_EQ(totem->state, Map::cTotem::kDestroyed);
  EXPECT_FALSE(cellBlockedByObject(h, 300, 300));
  h.Advance(140);

  // Broken, it takes no order.
  h.ClearEvents();
  h.Action(2, totem->id);
  h.Advance(10);
  EXPECT_EQ(totem->operation.state, OperationState::Idle);

  // The witch names it: whole again, blocking again, and the fog closes in around it.
  GameEvent cue;
  MakeEvent(cue, Event::WitchNamesObject);
  cue.tag = int32_t(NameHash("Totem1"));
  Post(Game::eventDispatcher(), cue);
  EXPECT_EQ(totem->state, Map::cTotem::kWhole);
  EXPECT_TRUE(cellBlockedByObject(h, 300, 300));
  const GameEvent* fog = h.Last(Event::FogAreaCloses);
  ASSERT_NE(fog, nullptr);
  EXPECT_EQ(fog->objectId, totem->id);
  EXPECT_EQ(fog->x, 300);
  EXPECT_EQ(fog->value, 1000);
  EXPECT_EQ(fog->value2, 1000);
  EXPECT_EQ(fog->extra[0], 2000);
  EXPECT_EQ(fog->extra[1], 50);
  EXPECT_EQ(fog->extra[2], 1);
}

TEST_F(Obstacles, EachFamilyReadsTheSameRecordFromMapIniAndMapBin) {
  const char* kSubject =
      "workerType=Worker\nPerson_Repair_Time=1234\nPerson_Repair_Time_Gold=7\nname=#ROAD\n"
      "personVisibleState=4\ncursor=3\n";
  const obstest::RecordCase cases[] = {
      {"Road",
       "type=brokenPath\nsubType=bridge\nisBroken=1\nisHidden=1\nisDrawAfterRepair=1\nangle=0.5\n"
       "imageAngle=-0.25\nheightMax=33\nisConvex=1\nisFlipY=1\n"},
      {"Stone", "type=evilstone\nsubType=stoneXL\nisBroken=1\neffname=Glow\n"},
      {"Tree", "type=brokenPath\nsubType=dryTree\nbranches=Top\n"},
      {"Totem", "type=totem\nstate=2\nwells=3\nAnimFrameShift=5\nflipX=1\n"},
      {"Troll1", "type=troll\n"},
      {"Ball", "type=Snowball\nstagesMax=3\ntarget=Lake\nunderlayX=-4\nunderlayY=9\n"},
      {"Cage", "type=SummerCage\n"},
      {"Chains", "type=AutumnChains\n"},
      {"Rock", "type=AutumnRock\n"},
      {"Wolf",
       "type=WhiteWolf\ntargetX=1\ntargetY=2\nwolfSupportX=3\nwolfSupportY=4\nobstacleSizeX=5\n"
       "obstacleSizeY=6\nobstacleDeltaX=7\nobstacleDeltaY=8\nflipX=1\nidlePeriodMin=10\nidlePeriodMax=11\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    EXPECT_GE(obstest::sameInBothForms(c, kSubject).extension.size(), Map::objSubjectItems());
  }

  // The objects take every item and give the same record back.
  GameHarness h;
  std::string map;
  for (const auto& c : cases) map += obstest::recordSection(c, kSubject);
  ASSERT_TRUE(obstest::load(h, 147, map, obstest::balance(1, 0, 0, 0)));
  auto* road = obstest::byName<cBrokenPathPatch>(h, "Road");
  ASSERT_NE(road, nullptr);
  EXPECT_EQ(road->heightMax, 33);
  EXPECT_FLOAT_EQ(road->angle, 0.5f);
  EXPECT_EQ(road->flipY, 1);
  EXPECT_EQ(road->Duration(Map::OperationKind::Repair), 1234);
  auto* totem = obstest::byName<Map::cTotem>(h, "Totem");
  ASSERT_NE(totem, nullptr);
  EXPECT_EQ(totem->animFrameShift, 5);
  EXPECT_FALSE(totem->Has(Map::kFlagClickable));  // loaded destroyed: nothing to order
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    Map::cObject* o = obstest::filledAsRead(h, 147, c.section);
    if (!o) continue;
    // Saved, each names the obstacles' icon script for its children.
    std::string saved;
    o->SaveIni(saved);
    EXPECT_NE(saved.find("childScript=data/obstacles/icons.ini"), std::string::npos) << saved;
  }
  std::string ini;
  road->SaveIni(ini);
  EXPECT_NE(ini.find("heightMax=33"), std::string::npos) << ini;
  EXPECT_NE(ini.find("personVisibleState=4"), std::string::npos) << ini;
}

TEST_F(Obstacles, FedFromHomeTheWhiteWolfRunsOffAndTheTrollLeaves) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 148,
                            "[Mill]\ntype=building\nsubType=sawMill\nx=800\ny=400\n"
                            "[Wolf]\ntype=WhiteWolf\nx=505\ny=400\nboundXS=20\nboundYS=20\nsupportX=-30\n"
                            "isObstacle=1\nobstacleXS=10\nobstacleYS=30\ntargetX=505\ntargetY=100\n"
                            "Person_Repair_Time=500\nPerson_Repair_Time_Food=4\n"
                            "[Troll1]\ntype=troll\nx=300\ny=200\nboundXS=20\nboundYS=20\nsupportY=30\n"
                            "Person_Repair_Time=500\nPerson_Repair_Time_Food=3\n",
                            obstest::balance(1, 10, 0, 0), obstest::wallWithGap()));
  auto* wolf = obstest::byName<Map::cWhiteWolf>(h, "Wolf");
  auto* troll = obstest::byName<Map::cTroll>(h, "Troll1");
  ASSERT_NE(wolf, nullptr);
  ASSERT_NE(troll, nullptr);
  EXPECT_TRUE(wolf->NeedsCarriedItem());
  const int32_t wolfId = wolf->id, trollId = troll->id;
  h.Advance(40);  // the worker is at home, where the food is
  h.ClearEvents();
  h.Action(2, wolfId);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 6);
  ASSERT_TRUE(obstest::runUntil(h, Event::CreatureObstacleEvent));
  EXPECT_EQ(h.Last(Event::CreatureObstacleEvent)->objectId, wolfId);
  EXPECT_FALSE(cellBlockedByObject(h, 505, 400));
  EXPECT_EQ(h.CountOf(Event::BuildingReachable), 1);
  // It runs 300 px north at 0.3 px/ms, then fades out of play.
  EXPECT_TRUE(wolf->Running());
  h.Advance(20);
  EXPECT_NEAR(wolf->y, 250.0f, 8.0f);
  h.Advance(60);
  EXPECT_EQ(h.map().FindById(wolfId), nullptr);

  h.Advance(200);  // the worker went home after feeding
  h.ClearEvents();
  h.Action(2, trollId);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 3);
  ASSERT_TRUE(obstest::runUntil(h, Event::TrollEvent));
  EXPECT_EQ(h.CountOf(Event::OperationProgress), 1);
  h.Advance(40);
  EXPECT_EQ(h.map().FindById(trollId), nullptr);
}

TEST_F(Obstacles, TheSeasonsObstaclesOpenInTheirOrderAndTheSnowballRollsInStages) {
  GameHarness h;
  const char* kWork = "boundXS=20\nboundYS=20\nsupportY=30\nPerson_Repair_Time=300\nPerson_Get_Resource_Time=300\n";
  ASSERT_TRUE(obstest::load(h, 149,
                            std::string("[Totem1]\ntype=totem\nx=300\ny=200\n") + kWork +
                                "[Cage]\ntype=SummerCage\nx=300\ny=400\nisObstacle=1\nobstacleXS=10\nobstacleYS=10\n" +
                                kWork + "[Rock]\ntype=AutumnRock\nx=300\ny=600\n" + kWork +
                                "[Chains]\ntype=AutumnChains\nx=600\ny=200\n" + kWork +
                                "[Ball]\ntype=Snowball\nx=600\ny=600\nstagesMax=2\nisObstacle=1\nobstacleXS=10\n"
                                "obstacleYS=10\n" +
                                kWork,
                            obstest::balance(1, 0, 0, 0)));
  auto* cage = obstest::byName<Map::cSummerCage>(h, "Cage");
  auto* chains = obstest::byName<Map::cAutumnChains>(h, "Chains");
  auto* rock = obstest::byName<Map::cAutumnRock>(h, "Rock");
  auto* ball = obstest::byName<Map::cSnowball>(h, "Ball");
  ASSERT_TRUE(cage && chains && rock && ball);
  EXPECT_TRUE(chains->NeedsCarriedItem());
  auto order = [&](Map::cObject* o, Event done) {
    h.ClearEvents();
    h.Action(2, o->id);
    const bool ok = obstest::runUntil(h, done);
    h.Advance(200);  // the worker is free again
    return ok;
  };
  // The cage is sealed until a totem falls.
  h.Action(2, cage->id);
  h.Advance(2);
  EXPECT_EQ(cage->operation.state, OperationState::Idle);
  ASSERT_TRUE(order(obstest::byName(h, "Totem1"), Event::TotemDestroyed));
  EXPECT_EQ(cage->state, Map::cSummerCage::kReady);
  ASSERT_TRUE(order(cage, Event::SummerCageEvent));
  EXPECT_EQ(cage->state, Map::cSummerCage::kOpen);
  EXPECT_FALSE(cellBlockedByObject(h, 300, 400));
  EXPECT_EQ(h.CountOf(Event::OperationFinished), 0);  // the cage reports with its own event

  // The chains wait for the rock; the rock takes one order and is out of the player's hands.
  h.Action(2, chains->id);
  h.Advance(2);
  EXPECT_EQ(chains->operation.state, OperationState::Idle);
  h.ClearEvents();
  h.Action(2, rock->id);
  h.Advance(2);
  EXPECT_TRUE(rock->IsWithdrawn());
  h.Action(2, rock->id);  // a second click changes nothing
  EXPECT_NE(rock->operation.state, OperationState::Idle);
  ASSERT_TRUE(obstest::runUntil(h, Event::AutumnRockEvent));
  EXPECT_EQ(h.Last(Event::AutumnRockEvent)->x, 300);
  EXPECT_EQ(chains->state, Map::cAutumnChains::kReady);
  h.Advance(200);
  ASSERT_TRUE(order(chains, Event::AutumnChainsEvent));
  EXPECT_EQ(chains->state, Map::cAutumnChains::kOpen);

  // Two stages: the first reports 0 in field 14, the last 1, and the way is free.
  const int32_t ballId = ball->id;
  ASSERT_TRUE(order(ball, Event::SnowballStageEnded));
  EXPECT_EQ(h.Last(Event::SnowballStageEnded)->value, 0);
  EXPECT_TRUE(cellBlockedByObject(h, 600, 600));
  ASSERT_TRUE(order(ball, Event::SnowballStageEnded));
  EXPECT_EQ(h.Last(Event::SnowballStageEnded)->value, 1);
  EXPECT_FALSE(cellBlockedByObject(h, 600, 600));
  EXPECT_EQ(h.map().FindById(ballId), nullptr);
}

// The repair sounds while the persons work: the set the road's subtype names in the obstacles'
// sound file plays through the work and falls silent when the road is whole.
TEST_F(Obstacles, TheWorkSoundPlaysWhileTheRoadIsRepairedAndStopsWithIt) {
  gametest::writeFile("data/obstacles/sounds.ini",
                      "[roadcrack]\nsound0=Hammer\nphase0=0\nperiod0=0.25\nisCycle0=1\nisRepeat0=1\n"
                      "[bridge]\nsound0=Hammer\nphase0=0\nperiod0=0.25\nisCycle0=1\nisRepeat0=1\n");
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 146, roadLevel("Person_Repair_Time=2000\n"), obstest::balance(1, 20, 0, 0),
                            obstest::wallWithGap()));
  auto* road = obstest::byName<cBrokenPathPatch>(h, "Road");
  ASSERT_NE(road, nullptr);
  int plays = 0;
  road->workSound.Track().SetPlayListener([&plays](const char* sound) { plays += std::string(sound) == "Hammer"; });
  h.Action(2, road->id);
  h.Advance(5);
  EXPECT_EQ(plays, 0) << "nothing while the worker walks";
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationProgress));
  EXPECT_TRUE(road->workSound.Playing());
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished, 1, 200));
  // A 2000 ms work repeating every quarter of it.
  EXPECT_GE(plays, 3);
  EXPECT_LE(plays, 5);
  EXPECT_FALSE(road->workSound.Playing());
  const int heard = plays;
  h.Advance(80);
  EXPECT_EQ(plays, heard) << "silent once the road is whole";
  std::filesystem::remove("data/obstacles/sounds.ini");
}
