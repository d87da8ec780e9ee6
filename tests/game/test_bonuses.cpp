// Bonuses, bonus places, obstacle creatures and the money changer in a headless level: respawn
// timing and its effects, a pick-up refused at a full stock and taken once there is room, the
// lifetime that stands still while persons come and never ends a bonus of lifetime 0, a place that
// produces once, a creature driven away (and one waiting for its cue), trades with exact amounts
// and none on a disabled resource, and each family's record equal from map.ini and map.bin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/core/person.h"
#include "game/core/workers.h"
#include "game/objects/bonus.h"
#include "game/objects/money_changer.h"
#include "game/objects/object_level.h"
#include "obstacle_levels.h"

using Game::Event;
using Map::cBonus;
using Map::cBonusPlace;
using Map::OperationState;
using testkit::GameHarness;

namespace {
struct Bonuses : obstest::Level {
  void SetUp() override {
    obstest::Level::SetUp();
    gametest::writeFile("data/bonus/bonuses.ini",
                        "[Food]\ntype=bonus\nsubType=food\nresource=Food\nboundXS=10\nboundYS=10\n"
                        "Person_Get_Resource_Time=500\n"
                        "[Gold]\ntype=bonus\nsubType=gold\nresource=Gold\nboundXS=10\nboundYS=10\n"
                        "Person_Get_Resource_Time=500\n");
  }
};

const char* kPlace =
    "[Place1]\ntype=bonusPlace\nx=300\ny=400\nsupportX=-20\nresource=Food\nresourceValue=3\n"
    "period=10000\n";

cBonus* bonusOf(GameHarness& h, const cBonusPlace& place) {
  return dynamic_cast<cBonus*>(h.map().FindById(place.bonusId));
}

// Steps until the persons have brought everything home and stand free again.
void settle(GameHarness& h) { h.Advance(400); }
}  // namespace

TEST_F(Bonuses, APlaceProducesAtStartAndAgainItsPeriodAfterThePickUp) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 150, kPlace, obstest::balance(1, 0, 0, 0)));
  auto* place = obstest::byName<cBonusPlace>(h, "Place1");
  ASSERT_NE(place, nullptr);
  h.Advance(1);
  cBonus* bonus = bonusOf(h, *place);
  ASSERT_NE(bonus, nullptr);
  EXPECT_EQ(bonus->amount, 3);
  EXPECT_EQ(bonus->resource, Game::kFood);
  EXPECT_EQ(bonus->placeId, place->id);
  EXPECT_EQ(bonus->AnchorI(), place->AnchorI());
  EXPECT_EQ(h.CountOf(Event::BonusPlaced), 0);  // the first one comes silently

  h.ClearEvents();
  h.Action(2, bonus->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::ResourcesPickedUp));
  const GameEvent* picked = h.Last(Event::ResourcesPickedUp);
  EXPECT_EQ(picked->index, Game::kFood);
  EXPECT_EQ(picked->amount, 3);
  const GameEvent* used = h.Last(Event::BonusUsed);
  ASSERT_NE(used, nullptr);
  EXPECT_EQ(uint32_t(used->tag), NameHash("Place1"));
  EXPECT_EQ(used->amount, 3);
  EXPECT_EQ(place->bonusId, Map::kNoId);

  // The five respawn effects light up one after another: the second at 2000 ms of 10000.
  h.Advance(80);
  EXPECT_TRUE(place->RespawnEffectRunning(1));
  EXPECT_FALSE(place->RespawnEffectRunning(2));
  bool show = false, remainder = true;
  float fraction = 0.0f;
  place->GetHintProgress(show, fraction, remainder);
  EXPECT_TRUE(show);
  EXPECT_NEAR(fraction, 0.2f, 0.003f);
  EXPECT_FALSE(remainder);
  h.Advance(318);  // 9950 ms
  EXPECT_EQ(place->bonusId, Map::kNoId);
  h.Advance(2);
  EXPECT_NE(place->bonusId, Map::kNoId);
  EXPECT_EQ(h.CountOf(Event::BonusPlaced), 1);
  // The worker brought the first one home meanwhile.
  EXPECT_EQ(h.stock().Amount(Game::kFood), 3);
}

TEST_F(Bonuses, APickUpAtAFullStockIsRefusedWithItsHintAndTakenOnceThereIsRoom) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 151, kPlace, obstest::balance(1, 10, 0, 0, "[ResourcesMax]\nFood=10\n")));
  auto* place = obstest::byName<cBonusPlace>(h, "Place1");
  ASSERT_NE(place, nullptr);
  h.Advance(1);
  cBonus* bonus = bonusOf(h, *place);
  ASSERT_NE(bonus, nullptr);
  h.ClearEvents();
  h.Action(2, bonus->id);
  EXPECT_EQ(bonus->operation.state, OperationState::Idle);
  EXPECT_FALSE(h.queue().Contains(bonus->id));
  EXPECT_EQ(bonus->GetStatusText(), "#OBJECT_HINT_CANT_HARVERST");
  EXPECT_EQ(bonus->GetOrderState(), 3);
  Map::ResourceVector g{}, c{}, n{};
  EXPECT_FALSE(bonus->GetOperationOffer(g, c, n));
  EXPECT_EQ(g[Game::kFood], 3);
  h.Advance(100);
  EXPECT_EQ(h.CountOf(Event::ResourcesPickedUp), 0);
  EXPECT_EQ(h.map().FindById(bonus->id), bonus);

  ASSERT_TRUE(h.stock().SpendResource(Game::kFood, 5));
  h.Action(2, bonus->id);
  EXPECT_NE(bonus->operation.state, OperationState::Idle);
  ASSERT_TRUE(obstest::runUntil(h, Event::ResourcesPickedUp));
  settle(h);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 8);
}

TEST_F(Bonuses, ALifetimeEndsAnUntouchedBonusStandsStillForAnOrderAndZeroMeansForever) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 152,
                            "[Brief]\ntype=bonus\nsubType=food\nx=300\ny=300\nboundXS=10\nboundYS=10\n"
                            "resource=Food\nresourceValue=2\nlifeTime=4000\n"
                            "[Forever]\ntype=bonus\nsubType=food\nx=300\ny=500\nboundXS=10\nboundYS=10\n"
                            "resource=Food\nresourceValue=2\n"
                            "[Waited]\ntype=bonus\nsubType=food\nx=900\ny=400\nboundXS=10\nboundYS=10\n"
                            "resource=Food\nresourceValue=4\nlifeTime=3000\nPerson_Get_Resource_Time=500\n",
                            obstest::balance(1, 0, 0, 0)));
  const int32_t brief = obstest::byName(h, "Brief")->id, forever = obstest::byName(h, "Forever")->id;
  auto* waited = obstest::byName<cBonus>(h, "Waited");
  ASSERT_NE(waited, nullptr);
  const int32_t waitedId = waited->id;  // the object itself is gone once collected
  // The walk to the far bonus takes longer than the rest of its lifetime: it waits for the person.
  h.Action(2, waitedId);
  ASSERT_NE(waited->operation.state, OperationState::Idle);
  h.Advance(160 - 2 - obstest::kGreetSteps);  // 3950 ms since the map started
  EXPECT_NE(h.map().FindById(brief), nullptr);
  h.Advance(4);
  EXPECT_EQ(h.map().FindById(brief), nullptr);
  ASSERT_TRUE(obstest::runUntil(h, Event::ResourcesPickedUp));
  EXPECT_EQ(h.Last(Event::ResourcesPickedUp)->amount, 4);
  h.Advance(2400);  // a minute
  EXPECT_NE(h.map().FindById(forever), nullptr);
  EXPECT_EQ(h.map().FindById(waitedId), nullptr);  // collected, it left the map
  EXPECT_EQ(h.stock().Amount(Game::kFood), 4);
}

TEST_F(Bonuses, ACancelledOrderLetsTheLifetimeRunOn) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 153,
                            "[Waited]\ntype=bonus\nsubType=food\nx=900\ny=400\nboundXS=10\nboundYS=10\n"
                            "resource=Food\nresourceValue=4\nlifeTime=4000\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* waited = obstest::byName<cBonus>(h, "Waited");
  ASSERT_NE(waited, nullptr);
  const int32_t id = waited->id;
  const int32_t lived = obstest::kGreetSteps * 25;
  h.Action(2, id);
  ASSERT_NE(waited->operation.state, OperationState::Idle);
  h.Advance(100);
  ASSERT_NE(h.map().FindById(id), nullptr);
  EXPECT_EQ(waited->lifeTimer.Time(), lived);
  waited->CancelOperation();  // as the queue does when the person is called back
  EXPECT_EQ(waited->operation.state, OperationState::Idle);
  h.Advance((4000 - lived) / 25 - 2);
  EXPECT_NE(h.map().FindById(id), nullptr);
  h.Advance(4);
  EXPECT_EQ(h.map().FindById(id), nullptr);
}

TEST_F(Bonuses, APlaceThatProducesOnceLeavesAndItsRespawnBonusIsInstant) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 154,
                            "[Once]\ntype=bonusPlace\nx=300\ny=300\nresource=Gold\nresourceValue=7\nisOnce=1\n"
                            "period=1000\n"
                            "[Twice]\ntype=bonusPlace\nx=300\ny=500\nresource=Food\nresourceValue=2\nperiod=60000\n"
                            "[Nothing]\ntype=bonusPlace\nx=600\ny=500\nperiod=100\n",
                            obstest::balance(1, 0, 0, 0)));
  // The place that produces once is gone as soon as its bonus lies there.
  EXPECT_EQ(obstest::byName(h, "Once"), nullptr);
  auto* twice = obstest::byName<cBonusPlace>(h, "Twice");
  auto* nothing = obstest::byName<cBonusPlace>(h, "Nothing");
  ASSERT_NE(twice, nullptr);
  ASSERT_NE(nothing, nullptr);
  cBonus* gold = nullptr;
  for (size_t i = 0; i < h.map().Count(); ++i)
    if (auto* b = dynamic_cast<cBonus*>(h.map().At(i)); b && b->resource == Game::kGold) gold = b;
  ASSERT_NE(gold, nullptr);
  EXPECT_EQ(gold->amount, 7);
  EXPECT_EQ(nothing->bonusId, Map::kNoId);

  // The player's "Respawn" bonus with a bonus lying there changes nothing.
  const int32_t lying = twice->bonusId;
  ASSERT_NE(lying, Map::kNoId);
  h.ClearEvents();
  GameEvent fire;
  MakeEvent(fire, Event::RespawnBonusPlacesFired);
  Post(Game::eventDispatcher(), fire);
  EXPECT_EQ(twice->bonusId, lying);
  EXPECT_EQ(h.CountOf(Event::BonusPlaced), 0);

  // Picked, the gold bonus starts no timer anywhere; the food one is back at once with the bonus.
  h.Action(2, gold->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::ResourcesPickedUp));
  EXPECT_EQ(h.CountOf(Event::BonusUsed), 0);
  settle(h);
  EXPECT_EQ(h.stock().Amount(Game::kGold), 7);
  h.Action(2, lying);
  ASSERT_TRUE(obstest::runUntil(h, Event::BonusUsed));
  EXPECT_EQ(twice->bonusId, Map::kNoId);
  Post(Game::eventDispatcher(), fire);
  EXPECT_NE(twice->bonusId, Map::kNoId);
  EXPECT_EQ(h.CountOf(Event::BonusPlaced), 1);
  EXPECT_EQ(nothing->bonusId, Map::kNoId);
}

TEST_F(Bonuses, AWarriorDrivesTheWolfAwayAndTheWayBehindItOpens) {
  gametest::writeFile("data/obstacles/sounds.ini", "[Wolf1]\nsound0=data/growl.wav\n");
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 155,
                            "[Mill]\ntype=building\nsubType=sawMill\nx=800\ny=400\n"
                            "[Wolf1]\ntype=bonus\nsubType=wolf\nworkerType=Warrior\nx=505\ny=400\nboundXS=20\n"
                            "boundYS=20\nsupportX=-30\nisObstacle=1\nobstacleXS=10\nobstacleYS=30\n"
                            "Person_Get_Resource_Time=800\n",
                            obstest::balance(1, 0, 0, 0), obstest::wallWithGap()));
  auto* wolf = obstest::byName<Map::cObstacleCreature>(h, "Wolf1");
  ASSERT_NE(wolf, nullptr);
  const int32_t wolfId = wolf->id;
  EXPECT_FALSE(wolf->Waiting());
  std::vector<std::string> played;
  wolf->sounds.SetPlayListener([&](const char* sound) { played.emplace_back(sound); });
  // Without a warrior the order is refused with event 106 before it reaches the wolf.
  h.ClearEvents();
  h.Action(2, wolfId);
  EXPECT_EQ(h.CountOf(Event::NoPersonOfKind), 1);
  EXPECT_EQ(wolf->operation.state, OperationState::Idle);
  EXPECT_TRUE(played.empty());

  ASSERT_NE(h.workers().CreatePerson({100, 400}, "Warrior", -1), nullptr);
  h.Advance(1);
  h.ClearEvents();
  h.Action(2, wolfId);
  h.Advance(1);
  // A warrior is sent: the wolf growls at once.
  EXPECT_EQ(played, std::vector<std::string>{"data/growl.wav"});
  ASSERT_TRUE(obstest::runUntil(h, Event::CreatureObstacleEvent));
  EXPECT_EQ(h.Last(Event::CreatureObstacleEvent)->objectId, wolfId);
  EXPECT_EQ(h.CountOf(Event::ResourcesPickedUp), 0);
  EXPECT_EQ(h.CountOf(Event::BuildingReachable), 1);
  EXPECT_EQ(h.path().Flags(50, 40) & kPathObjectBit, 0);
  h.Advance(40);
  EXPECT_EQ(h.map().FindById(wolfId), nullptr);
}

TEST_F(Bonuses, AWaitingCreatureAppearsWhenItsBonusIsPicked) {
  gametest::writeFile("data/obstacles/sounds.ini", "[Spider1]\nsound1=data/hiss.wav\nsound2=data/hiss2.wav\n");
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 156,
                            "[Spider1]\ntype=bonus\nsubType=spider\nworkerType=Warrior\nx=505\ny=400\nboundXS=20\n"
                            "boundYS=20\nisObstacle=1\nobstacleXS=10\nobstacleYS=30\nstartOnEffect=1\n"
                            "DeletingBonus=Bait\n"
                            "[Bait]\ntype=bonus\nsubType=food\nx=300\ny=400\nboundXS=10\nboundYS=10\n"
                            "resource=Food\nresourceValue=1\nPerson_Get_Resource_Time=200\n",
                            obstest::balance(1, 0, 0, 0), obstest::wallWithGap()));
  auto* spider = obstest::byName<Map::cObstacleCreature>(h, "Spider1");
  ASSERT_NE(spider, nullptr);
  EXPECT_TRUE(spider->Waiting());
  EXPECT_TRUE(spider->Has(Map::kFlagHidden));
  EXPECT_EQ(h.path().Flags(50, 40) & kPathObjectBit, 0);  // waiting, it leaves the way open
  h.ClearEvents();
  h.Action(2, obstest::byName(h, "Bait")->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::WaitingCreatureCalled));
  EXPECT_FALSE(spider->Waiting());
  EXPECT_FALSE(spider->Has(Map::kFlagHidden));
  EXPECT_NE(h.path().Flags(50, 40) & kPathObjectBit, 0);
  EXPECT_EQ(h.Last(Event::WaitingCreatureCalled)->x, 505);
  // Called, it takes two seconds to come out, and calls twice (cues 1 and 2) when it is there.
  std::vector<std::string> played;
  spider->sounds.SetPlayListener([&](const char* sound) { played.emplace_back(sound); });
  h.Advance(Map::cObstacleCreature::kCalledAppearMs / 25 - 2);
  EXPECT_TRUE(played.empty());
  h.Advance(3);
  EXPECT_EQ(played, (std::vector<std::string>{"data/hiss.wav", "data/hiss2.wav"}));
}

TEST_F(Bonuses, TheMoneyChangerTradesExactAmountsOnceAndNeverADisabledResource) {
  const char* merchant =
      "[Merchant]\ntype=moneyChanger\nx=300\ny=400\nboundXS=20\nboundYS=20\nsupportX=-30\n"
      "resource=Gold\nresourceValue=5\nisOnlyOneExchange=1\nPerson_Get_Resource_Time=500\n"
      "Person_Get_Resource_Time_Food=10\n";
  {
    GameHarness h;
    ASSERT_TRUE(obstest::load(h, 157, merchant, obstest::balance(1, 25, 0, 0)));
    auto* m = obstest::byName<Map::cMoneyChanger>(h, "Merchant");
    ASSERT_NE(m, nullptr);
    Map::ResourceVector g{}, c{}, n{};
    EXPECT_TRUE(m->GetOperationOffer(g, c, n));
    EXPECT_EQ(g[Game::kGold], 5);
    EXPECT_EQ(c[Game::kFood], 10);
    h.Advance(40);  // the worker is at home, where it takes the payment
    h.ClearEvents();
    h.Action(2, m->id);
    EXPECT_EQ(h.stock().Amount(Game::kFood), 15);
    ASSERT_TRUE(obstest::runUntil(h, Event::ExchangeHappened));
    EXPECT_EQ(h.Last(Event::ExchangeHappened)->x, 300);
    EXPECT_EQ(h.stock().Amount(Game::kGold), 0);  // credited when the worker is home
    settle(h);
    EXPECT_EQ(h.stock().Amount(Game::kGold), 5);
    EXPECT_EQ(h.stock().Amount(Game::kFood), 15);
    // One exchange only: the merchant withdraws.
    EXPECT_TRUE(m->IsWithdrawn());
    EXPECT_FALSE(m->Click(true));
    EXPECT_EQ(h.stock().Amount(Game::kFood), 15);
  }
  {
    GameHarness h;
    ASSERT_TRUE(obstest::load(h, 158, merchant,
                              "[Main]\ntLevelTime=1000000\nMinuteTime=60000\n[Resources]\nWorker=1\nFood=25\n"
                              "[ResourceHarvest]\nFood=1\nOre=1\nGold=0\n"));
    auto* m = obstest::byName<Map::cMoneyChanger>(h, "Merchant");
    ASSERT_NE(m, nullptr);
    ASSERT_FALSE(h.stock().Enabled(Game::kGold));
    h.Advance(10);
    h.Action(2, m->id);
    h.Advance(200);
    EXPECT_EQ(h.stock().Amount(Game::kFood), 25);
    EXPECT_EQ(h.CountOf(Event::ExchangeHappened), 0);
    EXPECT_FALSE(m->TradeAllowed());
  }
}

TEST_F(Bonuses, EachFamilyReadsTheSameRecordFromMapIniAndMapBin) {
  const char* kSubject = "workerType=Warrior\nPerson_Get_Resource_Time=900\nPerson_Get_Resource_Time_Ore=2\n";
  const obstest::RecordCase cases[] = {
      {"Place", "type=bonusPlace\nresource=Ore\nresourceValue=6\nscoreBonus=Star\nperiod=7000\nisOnce=0\n"},
      {"Loot", "type=bonus\nsubType=gold\nresource=Gold\nresourceValue=9\nlifeTime=3000\nisSmoothAppear=1\n"},
      {"Ghost",
       "type=bonus\nsubType=ghost\nresource=Food\nresourceValue=1\nlifeTime=0\nperiodBeforeAppear=400\n"
       "startOnEffect=1\nidlePeriodMin=100\nidlePeriodMax=200\nactionPeriodMin=300\nactionPeriodMax=400\n"
       "flipX=1\nscale=0.5\nsound=Howl\nDeletingBonus=Bait\n"},
      {"Trader", "type=moneyChanger\nresource=Gold\nresourceValue=5\nisOnlyOneExchange=1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    EXPECT_GT(obstest::sameInBothForms(c, kSubject).extension.size(), Map::objSubjectItems());
  }
  GameHarness h;
  std::string map;
  for (const auto& c : cases) map += obstest::recordSection(c, kSubject);
  ASSERT_TRUE(obstest::load(h, 159, map, obstest::balance(1, 0, 0, 0)));
  auto* ghost = obstest::byName<Map::cObstacleCreature>(h, "Ghost");
  ASSERT_NE(ghost, nullptr);
  EXPECT_EQ(ghost->deletingBonus, "Bait");
  EXPECT_FLOAT_EQ(ghost->creatureScale, 0.5f);
  EXPECT_EQ(ghost->periodBeforeAppear, 400);
  auto* place = obstest::byName<cBonusPlace>(h, "Place");
  ASSERT_NE(place, nullptr);
  EXPECT_EQ(place->scoreBonus, "Star");
  EXPECT_EQ(place->respawnTimer.Period(), 7000);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    obstest::filledAsRead(h, 159, c.section);
  }
}

TEST_F(Bonuses, AQuillIsPickedAsAQuillAndTheWitchCallsHerCreature) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 160,
                            "[Quill1]\ntype=bonus\nsubType=quill\nx=300\ny=300\nboundXS=10\nboundYS=10\n"
                            "Person_Get_Resource_Time=200\n"
                            "[Ghost1]\ntype=bonus\nsubType=ghost\nx=600\ny=600\nboundXS=10\nboundYS=10\n"
                            "startOnEffect=1\nisSmoothAppear=1\n",
                            obstest::balance(1, 0, 0, 0)));
  auto* quill = obstest::byName<cBonus>(h, "Quill1");
  auto* ghost = obstest::byName<Map::cObstacleCreature>(h, "Ghost1");
  ASSERT_NE(quill, nullptr);
  ASSERT_NE(ghost, nullptr);
  h.ClearEvents();
  h.Action(2, quill->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::QuillPickedUp));
  EXPECT_EQ(h.CountOf(Event::ResourcesPickedUp), 0);
  EXPECT_EQ(h.CountOf(Event::CreatureObstacleEvent), 0);
  // The person carries it home in the bag, where it is announced.
  EXPECT_EQ(h.CountOf(Event::QuillDelivered), 0);
  ASSERT_TRUE(obstest::runUntil(h, Event::QuillDelivered));
  EXPECT_EQ(h.CountOf(Event::QuillDelivered), 1);

  // Hidden while it waits; a cue naming another object leaves it waiting.
  EXPECT_TRUE(ghost->Waiting());
  GameEvent cue;
  MakeEvent(cue, Event::WitchNamesObject);
  cue.tag = int32_t(NameHash("Quill1"));
  Post(Game::eventDispatcher(), cue);
  EXPECT_TRUE(ghost->Waiting());
  cue.tag = int32_t(NameHash("Ghost1"));
  Post(Game::eventDispatcher(), cue);
  EXPECT_FALSE(ghost->Waiting());
  EXPECT_FALSE(ghost->Has(Map::kFlagHidden));
  EXPECT_TRUE(ghost->appear.running);  // fading in over a second
  h.Advance(40);
  EXPECT_FALSE(ghost->appear.running);
}

TEST_F(Bonuses, EveryFamilyDrawsWithoutItsPicturesAndNothingBreaks) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 161,
                            std::string(kPlace) +
                                "[Road]\ntype=brokenPath\nx=505\ny=400\nisBroken=1\nangle=0.3\nanim0=NoSuchPicture\n"
                                "[Rock]\ntype=evilstone\nx=600\ny=200\nisBroken=1\neffname=NoSuchEffect\n"
                                "[Tree]\ntype=brokenPath\nsubType=dryTree\nx=600\ny=300\n"
                                "[Totem1]\ntype=totem\nx=700\ny=300\n"
                                "[Wolf1]\ntype=bonus\nsubType=wolf\nx=700\ny=500\n"
                                "[Merchant]\ntype=moneyChanger\nx=800\ny=500\nresource=Gold\nresourceValue=1\n",
                            obstest::balance(1, 0, 0, 0)));
  for (int i = 0; i < 3; ++i) {
    h.Advance(1);
    Map::DrawContext dc;
    h.map().DrawAll(dc);
    for (size_t k = 0; k < h.map().Count(); ++k) h.map().At(k)->DrawDebug(dc);
  }
  EXPECT_NE(obstest::byName<cBonusPlace>(h, "Place1")->bonusId, Map::kNoId);
  EXPECT_EQ(h.map().FindByTag(NameHash("Road"))->GetCursor(), 0);  // no "cursor" key
}
