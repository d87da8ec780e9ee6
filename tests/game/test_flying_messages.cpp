// Flying messages over a headless level: which events raise one and with what text, where it
// appears, how it rises and fades, and that it leaves the map after three seconds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/level_context.h"
#include "game/core/model_flying.h"
#include "game/objects/fx_flying_message.h"
#include "obstacle_levels.h"
#include "worker_level_util.h"

using Fx::cFlyingMessage;
using Game::Event;
using testkit::GameHarness;

namespace {
struct Flying : obstest::Level {
  void SetUp() override {
    obstest::Level::SetUp();
    gametest::writeFile("data/translation.ini",
                        "[Text]\n#FLYING_MESSAGE_OBJECT_REPAIRED=Mended\n#FLYING_MESSAGE_OBJECT_BUILD=Built\n"
                        "#FLYING_MESSAGE_OBJECT_UPGRADED=Better\n#FLYING_MESSAGE_TOTEM_DESTROYED=Totem down\n"
                        "#FLYING_MESSAGE_TOTEM_REMOVED=Stone gone\n#FLYING_MESSAGE_PLUS=Nothing more\n"
                        "#FLYING_MESSAGE_KEY_FOUND=A key\n#FLYING_MESSAGE_CAVE_EMPTY=Empty\n");
  }
};

std::vector<cFlyingMessage*> messages(GameHarness& h) {
  std::vector<cFlyingMessage*> out;
  for (size_t i = 0; i < h.map().Count(); ++i) {
    auto* m = dynamic_cast<cFlyingMessage*>(h.map().At(i));
    if (m && !m->Has(Map::kFlagRemoved)) out.push_back(m);
  }
  return out;
}

std::string text(const cFlyingMessage* m) { return textUtf16ToUtf8(m->Text()); }

void post(Event code, const char* type, const char* subtype, int x, int y, int value = 0, int index = 4,
          int amount = 0) {
  GameEvent e;
  MakeEvent(e, code);
  e.typeHash = int32_t(NameHash(type));
  e.subtypeHash = int32_t(NameHash(subtype));
  e.x = x;
  e.y = y;
  e.value = value;
  e.index = index;
  e.amount = amount;
  Post(Game::levelContext()->dispatcher.get(), e);
}

// The texts of the messages an event raises, in the order made; the level is cleared of earlier ones.
std::vector<std::string> raisedBy(GameHarness& h, Event code, const char* type, const char* subtype, int value = 0,
                                  int index = 4, int amount = 0) {
  const size_t before = messages(h).size();
  post(code, type, subtype, 200, 300, value, index, amount);
  std::vector<std::string> out;
  auto now = messages(h);
  for (size_t i = before; i < now.size(); ++i) out.push_back(text(now[i]));
  return out;
}

using Texts = std::vector<std::string>;
}  // namespace

TEST_F(Flying, AWorkerRepairingARoadRaisesTheRepairMessageWhereTheRoadReported) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 420,
                            "[Road]\ntype=brokenPath\nsubType=roadcrack\nx=300\ny=400\nboundXS=20\nboundYS=20\n"
                            "isBroken=1\nPerson_Repair_Time=1000\nPerson_Repair_Time_Food=5\n",
                            obstest::balance(1, 20, 0, 0)));
  Map::cObject* road = obstest::byName(h, "Road");
  ASSERT_NE(road, nullptr);
  EXPECT_TRUE(messages(h).empty());
  h.ClearEvents();
  h.Action(2, road->id);
  ASSERT_TRUE(obstest::runUntil(h, Event::OperationFinished));
  const GameEvent* done = h.Last(Event::OperationFinished);
  auto shown = messages(h);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(text(shown[0]), "Mended");
  EXPECT_FALSE(shown[0]->Picture().IsValid());
  EXPECT_FLOAT_EQ(shown[0]->x, float(done->x));
  // Made during the step that reported it: at the point, or one rise above it.
  EXPECT_LE(shown[0]->y, float(done->y));
  EXPECT_GE(shown[0]->y, float(done->y) - 1.5f);
  EXPECT_EQ(shown[0]->layer, 100);
  EXPECT_FALSE(shown[0]->Has(Map::kFlagClickable));
}

TEST_F(Flying, EachEventRaisesItsOwnTextAndSilentNewsRaisesNone) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 421, "", obstest::balance(1, 0, 0, 0)));
  // Finished operations: by type, then by subtype; a dry tree says nothing.
  EXPECT_EQ(raisedBy(h, Event::OperationFinished, "totem", "evilstone"), Texts{"Totem down"});
  EXPECT_EQ(raisedBy(h, Event::OperationFinished, "obstacle", "stoneXXL"), Texts{"Stone gone"});
  EXPECT_EQ(raisedBy(h, Event::OperationFinished, "obstacle", "evilstone"), Texts{"Stone gone"});
  EXPECT_EQ(raisedBy(h, Event::OperationFinished, "tree", "dryTree"), Texts{});
  EXPECT_EQ(raisedBy(h, Event::OperationFinished, "building", "Cottage"), Texts{"Mended"});
  // Built and upgraded, aloud and silently (a building standing at load).
  EXPECT_EQ(raisedBy(h, Event::BuildingWorkFinished, "building", "Cottage", 1), Texts{});
  EXPECT_EQ(raisedBy(h, Event::BuildingWorkFinished, "building", "Cottage", 0), Texts{"Built"});
  EXPECT_EQ(raisedBy(h, Event::BuildingLevelReached, "building", "Cottage", 1), Texts{});
  EXPECT_EQ(raisedBy(h, Event::BuildingLevelReached, "building", "Cottage", 0), Texts{"Better"});
  // Production: the amount, or the plain text for nothing.
  EXPECT_EQ(raisedBy(h, Event::GeneratorProduced, "building", "FoodGenerator", 0, 1, 7), Texts{"+7"});
  EXPECT_EQ(raisedBy(h, Event::GeneratorProduced, "building", "FoodGenerator", 0, 1, 0), Texts{"Nothing more"});
  // Deliveries: only a real resource and at least one of it; an index past the table names nothing.
  EXPECT_EQ(raisedBy(h, Event::PersonDelivered, "", "", 0, 2, 3), Texts{"+3"});
  EXPECT_EQ(raisedBy(h, Event::PersonDelivered, "", "", 0, 4, 3), Texts{});
  EXPECT_EQ(raisedBy(h, Event::PersonDelivered, "", "", 0, 2, 0), Texts{});
  EXPECT_EQ(raisedBy(h, Event::PersonDelivered, "", "", 0, 9, 2), Texts{"+2"});
  EXPECT_FALSE(messages(h).back()->Picture().IsValid());
  // Caves.
  EXPECT_EQ(raisedBy(h, Event::CaveHeldKey, "", ""), Texts{"A key"});
  EXPECT_EQ(raisedBy(h, Event::CaveWasEmpty, "", ""), Texts{"Empty"});
  // Events of no message leave the map alone.
  EXPECT_EQ(raisedBy(h, Event::ResourceAdded, "", "", 0, 1, 5), Texts{});
}

TEST_F(Flying, AGeneratorsProductionRaisesPlusItsAmount) {
  GameHarness h;
  testkit::LevelFiles f;
  f.balance = "[Main]\ntLevelTime=1000000\nMinuteTime=1000\n[Resources]\nWorker=0\nFood=10\nOre=20\n"
              "[ResourcesMax]\nFood=100\nOre=100\nGold=100\n[ResourceHarvest]\nFood=1\nOre=1\nGold=1\n";
  f.map = std::string(obstest::kBarn) +
          "[Mill]\ntype=building\nsubType=FoodGenerator\nx=400\ny=400\nboundXS=30\nboundYS=30\n"
          "resource=Food\nresourceValue=2\n";
  ASSERT_TRUE(gametest::startWithWorker(h, 422, f));
  h.Action(1);
  h.ClearEvents();
  ASSERT_TRUE(obstest::runUntil(h, Event::GeneratorProduced, 1, 200));
  EXPECT_EQ(h.Last(Event::GeneratorProduced)->amount, 2);
  std::vector<std::string> plus;
  for (cFlyingMessage* m : messages(h))
    if (text(m) == "+2") plus.push_back(text(m));
  EXPECT_EQ(plus.size(), 1u);
}

TEST_F(Flying, AMessageRisesHoldsFadesAndLeavesAfterThreeSeconds) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 423, "", obstest::balance(1, 0, 0, 0)));
  cFlyingMessage* m = Game::ShowFlyingMessage(&h.map(), 4, "#FLYING_MESSAGE_KEY_FOUND", 500, 600, 0);
  ASSERT_NE(m, nullptr);
  const int32_t id = m->id;
  EXPECT_EQ(text(m), "A key");
  EXPECT_FLOAT_EQ(m->Alpha(), 255.0f);
  h.Advance(20);  // half a second: 1.5 pixels up a step, still at full strength
  EXPECT_NEAR(m->y, 600.0f - 30.0f, 0.01f);
  EXPECT_FLOAT_EQ(m->x, 500.0f);
  EXPECT_FLOAT_EQ(m->Alpha(), 255.0f);
  h.Advance(40);  // 1.5 s: a quarter of the way through the 2 s fade
  EXPECT_NEAR(m->Alpha(), 255.0f * 0.75f, 4.0f);
  h.Advance(50);  // 2.75 s: nearly gone, still there
  ASSERT_EQ(h.map().FindById(id), m);
  EXPECT_GT(m->Alpha(), 0.0f);
  EXPECT_LT(m->Alpha(), 40.0f);
  h.Advance(11);  // past 3 s
  EXPECT_EQ(h.map().FindById(id), nullptr);
  EXPECT_TRUE(messages(h).empty());
}

TEST(FlyingMessage, ALongTextIsCutAndTheMessageStaysOnScreen) {
  cFlyingMessage m;
  const std::u16string longText(60, u'y');
  AnimationState none;
  m.SetMessage(longText, none);
  EXPECT_EQ(m.Text().size(), size_t(cFlyingMessage::kMaxChars));
  m.SetMessage(u"", none);
  EXPECT_TRUE(m.Text().empty());
  int left = 0;
  cFlyingMessage::Place(500, 100, left);
  EXPECT_EQ(left, 450);
  cFlyingMessage::Place(1000, 100, left);  // would reach 1050: pulled in to end at 1004
  EXPECT_EQ(left, 904);
  cFlyingMessage::Place(30, 100, left);  // would start at -20: pushed to 20
  EXPECT_EQ(left, 20);
}
