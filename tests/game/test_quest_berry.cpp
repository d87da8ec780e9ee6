// The berry quest in a headless level: mushrooms picked and handed to the red hood one by one (her
// status counting down, her thanks, the bush growing afterwards), mushrooms that take out of play
// only what they name, the drums' scene with its veil, rains, raised layers and ripening berries,
// the bush refusing a pick before its berries are there and its berries carried home, and every
// member reading the same record from map.ini and map.bin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/core/person.h"
#include "game/objects/bonus.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_berry.h"
#include "game/objects/quest_drums.h"
#include "obstacle_levels.h"

using Game::Event;
using Map::cBerry;
using Map::cDrums;
using Map::cMushroom;
using Map::cRedhood;
using Map::OperationState;
using testkit::GameHarness;

namespace {
struct BerryQuest : obstest::Level {
  void SetUp() override {
    obstest::Level::SetUp();
    gametest::writeFile("data/translation.ini",
                        "[game]\n#REDHOOD_NEEDS_MUSHROOMS=needs %d mushrooms\n#REDHOOD_THANKS=Thank you!\n");
  }
};

std::string mushroom(const std::string& name, int x, int y, const std::string& more = "") {
  return "[" + name + "]\ntype=berry\nsubType=mushroom\nx=" + std::to_string(x) + "\ny=" + std::to_string(y) +
         "\nboundXS=12\nboundYS=12\nsupportY=16\nPerson_Get_Resource_Time=500\n" + more;
}

const char* kRedhood = "[RedHood]\ntype=berry\nsubType=redhood\nx=300\ny=250\nboundXS=20\nboundYS=30\nsupportX=24\n";
const char* kHiddenBush =
    "[Bush]\ntype=berry\nsubType=berry\nx=400\ny=600\nboundXS=30\nboundYS=20\nsupportY=30\n"
    "isObstacle=1\nobstacleXS=20\nobstacleYS=10\nbushAppear=1\nberriesAppear=1\nPerson_Get_Resource_Time=600\n";
const char* kRipeBush =
    "[Bush]\ntype=berry\nsubType=berry\nx=400\ny=600\nboundXS=30\nboundYS=20\nsupportY=30\n"
    "isObstacle=1\nobstacleXS=20\nobstacleYS=10\nPerson_Get_Resource_Time=600\n";
const char* kDrums =
    "[Drums]\ntype=drums\nx=700\ny=300\nboundXS=30\nboundYS=30\nsupportX=-30\nPerson_Repair_Time=1000\n"
    "Person_Repair_Time_Food=10\n";
// Objects that carry the tags an old rule took out of play on every level.
const char* kBystanders =
    "[WoodStone61]\ntype=bonus\nsubType=food\nx=200\ny=650\nboundXS=10\nboundYS=10\nresource=Food\nresourceValue=1\n"
    "[Food17]\ntype=bonus\nsubType=food\nx=250\ny=650\nboundXS=10\nboundYS=10\nresource=Food\nresourceValue=1\n";

bool stillInPlay(GameHarness& h, const char* name) {
  auto* o = obstest::byName<Map::cSubjectObject>(h, name);
  return o && !o->leavingPlay && !o->Has(Map::kFlagRemoved);
}

int countEffects(GameHarness& h, std::string_view effectName) {
  int n = 0;
  size_t cursor = 0;
  while (Map::cObject* o = h.map().Iterate(NameHash("fx"), 0, cursor))
    if (auto* fx = dynamic_cast<Map::cEffect*>(o); fx && fx->EffectName() == effectName && !fx->Has(Map::kFlagRemoved))
      ++n;
  return n;
}

Map::cEffect* findEffect(GameHarness& h, std::string_view effectName) {
  size_t cursor = 0;
  while (Map::cObject* o = h.map().Iterate(NameHash("fx"), 0, cursor))
    if (auto* fx = dynamic_cast<Map::cEffect*>(o); fx && fx->EffectName() == effectName) return fx;
  return nullptr;
}

// Clicks the mushroom and runs until the red hood has taken it.
void deliver(GameHarness& h, cMushroom& m, cRedhood& hood, int expected) {
  const int32_t id = m.id;
  h.Action(2, id);
  ASSERT_NE(m.operation.state, OperationState::Idle) << m.name;
  ASSERT_TRUE(gametest::runUntil(h, [&] { return hood.delivered >= expected; }, 3000)) << m.name;
}
}  // namespace

TEST_F(BerryQuest, EveryMemberReadsTheSameRecordFromMapIniAndMapBin) {
  const char* kSubject = "workerType=Worker\nPerson_Get_Resource_Time=900\nPerson_Repair_Time_Food=3\n";
  const obstest::RecordCase cases[] = {
      {"Bush", "type=berry\nsubType=berry\nbushAppear=1\nberriesAppear=1\nsoundKey=BerryBush\n"},
      {"Cep", "type=berry\nsubType=mushroom\nsoundKey=Mushroom\nremovesTags=Log1, Log2\n"},
      {"Hood", "type=berry\nsubType=redhood\n"},
      {"Drums", "type=drums\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    EXPECT_GE(obstest::sameInBothForms(c, kSubject).extension.size(), Map::objSubjectItems());
  }
  GameHarness h;
  std::string map;
  for (const auto& c : cases) map += obstest::recordSection(c, kSubject);
  ASSERT_TRUE(obstest::load(h, 540, map, obstest::balance(1, 0, 0, 0)));
  auto* bush = obstest::byName<cBerry>(h, "Bush");
  auto* cep = obstest::byName<cMushroom>(h, "Cep");
  ASSERT_NE(bush, nullptr);
  ASSERT_NE(cep, nullptr);
  ASSERT_NE(obstest::byName<cRedhood>(h, "Hood"), nullptr);
  ASSERT_NE(obstest::byName<cDrums>(h, "Drums"), nullptr);
  EXPECT_EQ(bush->bushAppear, 1);
  EXPECT_EQ(bush->berriesAppear, 1);
  EXPECT_EQ(bush->soundKey, "BerryBush");
  EXPECT_EQ(bush->Duration(Map::OperationKind::GetResource), 900);
  EXPECT_EQ(cep->soundKey, "Mushroom");
  EXPECT_EQ(cep->RemovedTags(), (std::vector<uint32_t>{NameHash("Log1"), NameHash("Log2")}));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    obstest::filledAsRead(h, 540, c.section);
  }
}

TEST_F(BerryQuest, FourMushroomsMakeTheRedHoodThankAndThenTheBushGrows) {
  GameHarness h;
  std::string map = kRedhood;
  const char* names[] = {"M1", "M2", "M3", "M4"};
  for (int i = 0; i < 4; ++i) map += mushroom(names[i], 200 + 60 * i, 450);
  map += kHiddenBush;
  map += kBystanders;
  ASSERT_TRUE(obstest::load(h, 541, map, obstest::balance(2, 0, 0, 0)));
  auto* hood = obstest::byName<cRedhood>(h, "RedHood");
  auto* bush = obstest::byName<cBerry>(h, "Bush");
  ASSERT_NE(hood, nullptr);
  ASSERT_NE(bush, nullptr);
  EXPECT_EQ(hood->GetStateCaption(), "needs 4 mushrooms");
  EXPECT_FALSE(hood->Click(true));
  EXPECT_TRUE(bush->Has(Map::kFlagHidden));
  EXPECT_FALSE(bush->HasOperationOffer());

  const char* expected[] = {"needs 3 mushrooms", "needs 2 mushrooms", "needs 1 mushrooms", "Thank you!"};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(names[i]);
    auto* m = obstest::byName<cMushroom>(h, names[i]);
    ASSERT_NE(m, nullptr);
    const int32_t mushroomId = m->id;
    h.ClearEvents();
    deliver(h, *m, *hood, i + 1);
    const GameEvent* picked = h.Last(Event::MushroomPicked);
    ASSERT_NE(picked, nullptr);
    EXPECT_EQ(picked->objectId, mushroomId);
    EXPECT_EQ(uint32_t(picked->subtypeHash), NameHash("mushroom"));
    EXPECT_EQ(picked->x, 200 + 60 * i);
    auto* picker = dynamic_cast<Map::cPerson*>(h.map().FindById(picked->otherId));
    ASSERT_NE(picker, nullptr);
    // She took the mushroom out of the picker's hands.
    EXPECT_EQ(picker->carriedItem, 0u);
    EXPECT_EQ(hood->GetStateCaption(), expected[i]);
    // The picked mushroom fades and leaves the map; it took nothing else with it.
    EXPECT_EQ(h.map().FindById(mushroomId), nullptr);
    EXPECT_EQ(h.CountOf(Event::TakeOutOfPlay), 0);
  }
  EXPECT_TRUE(stillInPlay(h, "WoodStone61"));
  EXPECT_TRUE(stillInPlay(h, "Food17"));

  // The bush waits for her thanks to end (slot 2, 1000 ms without a picture), then grows in 2 s.
  EXPECT_EQ(h.CountOf(Event::RedHoodHasMushrooms), 0);
  EXPECT_EQ(hood->currentAnimation, cRedhood::Thanks);
  ASSERT_TRUE(obstest::runUntil(h, Event::RedHoodHasMushrooms, 1, 60));
  EXPECT_FALSE(bush->Has(Map::kFlagHidden));
  EXPECT_TRUE(bush->growing);
  h.Advance(40);  // 1000 ms of 2000
  EXPECT_NEAR(bush->GrowthScale(), 0.5f, 0.03f);
  h.Advance(41);
  EXPECT_FLOAT_EQ(bush->GrowthScale(), 1.0f);
  // Grown, but without berries until the drums have played.
  EXPECT_EQ(bush->state, cBerry::Waiting);
  EXPECT_FALSE(bush->Click(true));
  h.Advance(400);
  EXPECT_EQ(h.CountOf(Event::RedHoodHasMushrooms), 1);
}

TEST_F(BerryQuest, AFifthMushroomKeepsHerThanksAndTheBushAppearsOnce) {
  GameHarness h;
  std::string map = kRedhood;
  for (int i = 0; i < 5; ++i) map += mushroom("M" + std::to_string(i), 200 + 50 * i, 450);
  map += kHiddenBush;
  ASSERT_TRUE(obstest::load(h, 542, map, obstest::balance(1, 0, 0, 0)));
  auto* hood = obstest::byName<cRedhood>(h, "RedHood");
  ASSERT_NE(hood, nullptr);
  for (int i = 0; i < 5; ++i) {
    auto* m = obstest::byName<cMushroom>(h, ("M" + std::to_string(i)).c_str());
    ASSERT_NE(m, nullptr);
    deliver(h, *m, *hood, i + 1);
  }
  EXPECT_EQ(hood->delivered, 5);
  EXPECT_EQ(hood->GetStateCaption(), "Thank you!");
  h.Advance(600);
  EXPECT_EQ(h.CountOf(Event::RedHoodHasMushrooms), 1);
}

TEST_F(BerryQuest, AMushroomTakesOutOfPlayOnlyTheObjectsItNames) {
  GameHarness h;
  std::string map = mushroom("Named", 300, 450, "removesTags=Food17, NoSuchThing\n") + kBystanders;
  ASSERT_TRUE(obstest::load(h, 543, map, obstest::balance(1, 0, 0, 0)));
  auto* m = obstest::byName<cMushroom>(h, "Named");
  ASSERT_NE(m, nullptr);
  // The name no object carries is told as the level loads, before anything is picked.
  EXPECT_NE(gametest::gerrText().find("\"Named\": \"removesTags\" names an object this level does not have "
                                      "(\"NoSuchThing\")"),
            std::string::npos);
  EXPECT_EQ(gametest::gerrText().find("(\"Food17\")"), std::string::npos);
  h.ClearEvents();
  h.Action(2, m->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::MushroomPicked));
  // The picking's glow lasts as long as the picking, not for ever.
  ASSERT_NE(findEffect(h, "ResourceCollecting"), nullptr);
  EXPECT_EQ(findEffect(h, "ResourceCollecting")->LifetimeMs(), 500);
  // Without a red hood the picker simply stays where it worked.
  EXPECT_EQ(h.CountOf(Event::TakeOutOfPlay), 1);
  EXPECT_FALSE(stillInPlay(h, "Food17"));
  EXPECT_TRUE(stillInPlay(h, "WoodStone61"));
  EXPECT_EQ(h.Last(Event::TakeOutOfPlay)->tag, int32_t(NameHash("Food17")));
}

TEST_F(BerryQuest, TheDrumsDarkenTheMapBringBothRainsRipenTheBerriesAndRestoreTheLayers) {
  GameHarness h;
  std::string map = std::string(kDrums) + kHiddenBush + kRedhood;
  ASSERT_TRUE(obstest::load(h, 544, map, obstest::balance(1, 25, 0, 0)));
  auto* drums = obstest::byName<cDrums>(h, "Drums");
  auto* bush = obstest::byName<cBerry>(h, "Bush");
  auto* hood = obstest::byName<cRedhood>(h, "RedHood");
  ASSERT_NE(drums, nullptr);
  ASSERT_NE(bush, nullptr);
  ASSERT_NE(hood, nullptr);
  const int32_t drumsLayer = drums->layer, bushLayer = bush->layer;
  EXPECT_EQ(drums->sceneStage, 0);
  EXPECT_EQ(drums->VeilAlpha(), 0);
  std::string gain, cost, next;
  drums->GetOfferLabels(gain, cost, next);
  EXPECT_EQ(cost, "#OBJECT_HINT_SPEND");

  h.ClearEvents();
  h.Action(2, drums->id);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 15);
  ASSERT_TRUE(obstest::runUntil(h, Event::DrumSceneStarts));
  EXPECT_EQ(drums->sceneStage, 1);
  EXPECT_EQ(drums->drumStage, cDrums::DrumStart);
  EXPECT_TRUE(drums->withdrawn);
  EXPECT_EQ(drums->layer, cDrums::kSceneLayer);
  EXPECT_EQ(bush->layer, cDrums::kSceneLayer);
  EXPECT_EQ(hood->layer, cDrums::kSceneLayer);  // the red hood is of type "berry" too
  EXPECT_FALSE(drums->Click(true));

  h.Advance(40);  // 1000 ms: the drumming's start (a 1000 ms slot) turns into four rounds of its loop
  EXPECT_EQ(drums->drumStage, cDrums::DrumLoop);
  h.Advance(100);  // 3500 ms: the veil is half way
  EXPECT_NEAR(drums->VeilAlpha(), 50, 1);
  EXPECT_EQ(drums->drumStage, cDrums::DrumLoop);
  EXPECT_EQ(countEffects(h, "HeadHit"), 0);
  h.Advance(62);  // 5050 ms: the final hit
  EXPECT_EQ(drums->drumStage, cDrums::DrumFinal);
  EXPECT_EQ(countEffects(h, "HeadHit"), 1);
  h.Advance(76);  // 6950 ms: idle again, the veil almost full
  EXPECT_EQ(drums->drumStage, cDrums::DrumIdle);
  EXPECT_EQ(drums->sceneStage, 1);
  EXPECT_EQ(countEffects(h, "Rain"), 0);
  h.Advance(4);  // 7050 ms: the rain over the whole map
  EXPECT_EQ(drums->sceneStage, 2);
  EXPECT_EQ(drums->VeilAlpha(), 100);
  Map::cEffect* rain = findEffect(h, "Rain");
  ASSERT_NE(rain, nullptr);
  EXPECT_EQ(rain->layer, cDrums::kRainLayer);
  EXPECT_EQ(rain->AnchorI(), (Map::IntPoint{512, 0}));
  h.Advance(200);  // 12050 ms: the magic rain falls on the bush (no rain point was set)
  EXPECT_EQ(drums->sceneStage, 3);
  Map::cEffect* magic = findEffect(h, "MagicRain");
  ASSERT_NE(magic, nullptr);
  EXPECT_EQ(magic->layer, cDrums::kMagicRainLayer);
  EXPECT_EQ(magic->AnchorI(), bush->AnchorI());
  h.Advance(196);  // 16950 ms
  EXPECT_EQ(h.CountOf(Event::BerriesAppear), 0);
  // Within the next 100 ms (five seconds into the magic rain) the berries ripen, even on a bush
  // still hidden; the fade is timed from that step.
  ASSERT_TRUE(obstest::runUntil(h, Event::BerriesAppear, 1, 4));
  EXPECT_EQ(bush->state, cBerry::Appearing);
  h.Advance(40);
  EXPECT_NEAR(bush->BerriesAlpha(), 127, 4);
  h.Advance(41);
  EXPECT_EQ(bush->state, cBerry::Present);
  EXPECT_EQ(h.CountOf(Event::DrumRainPassed), 0);
  // The magic rain ends five seconds after the berries ripened, to the step.
  h.Advance(118);
  EXPECT_EQ(h.CountOf(Event::DrumRainPassed), 0);
  h.Advance(1);
  EXPECT_EQ(h.CountOf(Event::DrumRainPassed), 1);
  EXPECT_EQ(drums->sceneStage, 4);
  h.Advance(60);  // half of the 3 s in which the light comes back
  EXPECT_NEAR(drums->VeilAlpha(), 50, 1);
  EXPECT_EQ(drums->layer, cDrums::kSceneLayer);
  h.Advance(61);
  EXPECT_EQ(drums->sceneStage, 5);
  EXPECT_EQ(drums->VeilAlpha(), 0);
  EXPECT_EQ(drums->layer, drumsLayer);
  EXPECT_EQ(bush->layer, bushLayer);
  EXPECT_EQ(h.CountOf(Event::DrumSceneStarts), 1);
}

TEST_F(BerryQuest, TheDrumsRefuseAnOrderThePlayerCannotPayAndTheEditorSetsTheRainPoint) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 545, kDrums, obstest::balance(1, 5, 0, 0)));
  auto* drums = obstest::byName<cDrums>(h, "Drums");
  ASSERT_NE(drums, nullptr);
  h.Action(2, drums->id);
  EXPECT_EQ(drums->operation.state, OperationState::Idle);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 5);
  h.Advance(200);
  EXPECT_EQ(h.CountOf(Event::DrumSceneStarts), 0);
  // Without a bush the magic rain falls on the drums; the editor's key 1 moves it anywhere.
  EXPECT_EQ(drums->RainPoint(), drums->AnchorI());
  drums->EditSupportPoint({333, 444}, cDrums::kRainPointKey);
  EXPECT_EQ(drums->RainPoint(), (Map::IntPoint{333, 444}));
}

TEST_F(BerryQuest, RipeBerriesArePickedAndCarriedHome) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 546, kRipeBush, obstest::balance(1, 0, 0, 0)));
  auto* bush = obstest::byName<cBerry>(h, "Bush");
  ASSERT_NE(bush, nullptr);
  EXPECT_EQ(bush->state, cBerry::Present);
  EXPECT_TRUE(bush->HasOperationOffer());
  EXPECT_TRUE(bush->Has(Map::kFlagObstacle));
  ASSERT_NE(bush->workEffect0, nullptr);  // the "Berry" sparkle
  h.ClearEvents();
  h.Action(2, bush->id);
  ASSERT_TRUE(gametest::runUntil(h, [&] { return bush->state == cBerry::Picking; }, 2000));
  const auto persons = bush->operation.persons;
  ASSERT_EQ(persons.size(), 1u);
  auto* picker = dynamic_cast<Map::cPerson*>(h.map().FindById(persons[0]));
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->carriedItem, NameHash("berry"));
  h.Advance(12);  // 300 ms of 600: the berries half faded
  EXPECT_NEAR(bush->BerriesAlpha(), 127, 12);
  ASSERT_TRUE(obstest::runUntil(h, Event::BerryPicked));
  const GameEvent* picked = h.Last(Event::BerryPicked);
  EXPECT_EQ(picked->objectId, bush->id);
  EXPECT_EQ(bush->state, cBerry::Gone);
  EXPECT_FALSE(bush->Has(Map::kFlagObstacle));
  EXPECT_FALSE(bush->Has(Map::kFlagClickable));
  EXPECT_EQ(countEffects(h, "ResourceCollecting"), 1);
  // The bush stays on the map, bare; the picker walks home and hands the berries in there.
  // Its glow is timed (the catalogue's glow would shine on for ever): as long as the picking took.
  ASSERT_NE(findEffect(h, "ResourceCollecting"), nullptr);
  EXPECT_EQ(findEffect(h, "ResourceCollecting")->LifetimeMs(), 600);
  ASSERT_TRUE(obstest::runUntil(h, Event::BerryDelivered));
  EXPECT_EQ(h.map().FindById(bush->id), bush);
  EXPECT_EQ(bush->BerriesAlpha(), 0);
  EXPECT_FALSE(bush->Click(true));
}

TEST(BerryQuestTexts, ACountFillsOnlyTheFirstPlaceholder) {
  EXPECT_EQ(Map::questFormatCount("needs %d mushrooms", 3), "needs 3 mushrooms");
  EXPECT_EQ(Map::questFormatCount("%d of %d", 2), "2 of %d");
  EXPECT_EQ(Map::questFormatCount("%s needs %d", 4), "%s needs 4");
  EXPECT_EQ(Map::questFormatCount("no number", 4), "no number");
}
