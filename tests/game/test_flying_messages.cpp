// Flying messages over a headless level: which events raise one and with what text, where it
// appears, how it rises and fades, and that it leaves the map after three seconds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "anim/anim_sprite.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/app_init.h"
#include "gfx/font.h"
#include "gfx/test_sprite_util.h"
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
                        "#FLYING_MESSAGE_KEY_FOUND=A key\n#FLYING_MESSAGE_CAVE_EMPTY=Empty\n"
                        "#FLYING_MESSAGE_LONG=" + std::string(70, 'w') + "\n");
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

namespace {
// The four resources' pictures, each of its own width so a quad tells which one was drawn.
struct FlyingPictures : Flying {
  void SetUp() override {
    Flying::SetUp();
    ASSERT_TRUE(testkit::StartNullRenderer("flying messages"));
    std::string xml = "<Animations>\n";
    const char* names[] = {"Worker", "Food", "Ore", "Gold"};
    for (int i = 0; i < 4; ++i) {
      const std::string path = std::string("fm_pics/") + names[i] + ".png";
      sprtest::WritePng(path, 20 + 2 * i, 16, [](int, int) { return 0xFFFFFFFFu; });
      xml += std::string("<Animation id=\"") + names[i] + "_Flying\" path=\"" + path +
             "\" period=\"1000\" frames=\"1\"/>\n";
    }
    gametest::writeFile("fm_anims.xml", xml + "</Animations>\n");
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("fm_anims.xml"));
  }
  void TearDown() override {
    Flying::TearDown();  // the level and its messages' pictures go first
    Core::animManager().Clear();
  }
};

std::vector<AnimSpriteQuad> quadsOf(cFlyingMessage& m) {
  std::vector<AnimSpriteQuad> quads;
  animSpriteCaptureInto(&quads);
  m.Draw({});
  animSpriteCaptureInto(nullptr);
  return quads;
}

// The picture's quad among what a message draws (the text may come through the same path).
const AnimSpriteQuad* pictureQuad(const std::vector<AnimSpriteQuad>& quads, float width) {
  for (const AnimSpriteQuad& q : quads)
    if (std::abs(q.v[1].x - q.v[0].x - width) < 0.01f) return &q;
  return nullptr;
}
}  // namespace

TEST_F(FlyingPictures, EachResourceShowsItsOwnPictureBesideItsAmountAndNoIndexReadsOutsideTheTable) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 424, "", obstest::balance(1, 0, 0, 0)));
  const char* names[] = {"Worker_Flying", "Food_Flying", "Ore_Flying", "Gold_Flying"};
  for (int i = 0; i < 4; ++i) {
    cFlyingMessage* m = Game::ShowFlyingMessage(&h.map(), i, "#FLYING_MESSAGE_PLUS", 300, 300, 5);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(text(m), "+5");
    EXPECT_TRUE(m->Picture().IsValid()) << names[i];
    EXPECT_EQ(m->Picture().NameHash(), NameHash(names[i]));
    EXPECT_EQ(m->Picture().Width(), 20 + 2 * i);
  }
  for (int bad : {-1, -4, 4, 9, 1 << 30, int(0x80000000u)}) {
    cFlyingMessage* m = Game::ShowFlyingMessage(&h.map(), bad, "#FLYING_MESSAGE_PLUS", 300, 300, 2);
    ASSERT_NE(m, nullptr) << bad;
    EXPECT_EQ(text(m), "+2");
    EXPECT_FALSE(m->Picture().IsValid()) << "index " << bad << " names no resource";
  }
  // No amount: the translated text alone.
  cFlyingMessage* plain = Game::ShowFlyingMessage(&h.map(), 1, "#FLYING_MESSAGE_PLUS", 300, 300, 0);
  EXPECT_EQ(text(plain), "Nothing more");
  EXPECT_FALSE(plain->Picture().IsValid());
  // And through the model: a delivery of ore.
  EXPECT_EQ(raisedBy(h, Event::PersonDelivered, "", "", 0, 2, 3), Texts{"+3"});
  EXPECT_EQ(messages(h).back()->Picture().NameHash(), NameHash("Ore_Flying"));
}

TEST_F(FlyingPictures, ThePictureStaysBesideTheTextOnScreenAndFadesWithIt) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 425, "", obstest::balance(1, 0, 0, 0)));
  CSprite* font = gameTextFont();
  struct Case {
    int x;
    int resource;
  };
  for (Case c : {Case{1000, 1}, Case{6, 3}, Case{500, 0}}) {
    SCOPED_TRACE(c.x);
    cFlyingMessage* m = Game::ShowFlyingMessage(&h.map(), c.resource, "", c.x, 400, 12);
    ASSERT_NE(m, nullptr);
    const int pictureWidth = 20 + 2 * c.resource;
    const int half = ((font ? fontTextWidth(font, u"+12") : 0) + pictureWidth) / 2;
    const int centre = c.x + half > 1004 ? 1004 - half : c.x - half < 20 ? half + 20 : c.x;
    const AnimSpriteQuad* q = nullptr;
    std::vector<AnimSpriteQuad> quads = quadsOf(*m);
    q = pictureQuad(quads, float(pictureWidth));
    ASSERT_NE(q, nullptr);
    const float px = (q->v[0].x + q->v[1].x) / 2.0f, py = (q->v[0].y + q->v[2].y) / 2.0f;
    EXPECT_NEAR(px, float(centre + 10), 0.51f) << "ten pixels right of the message's centre";
    EXPECT_NEAR(py, 400.0f, 0.51f);
    EXPECT_EQ(q->v[0].diffuse >> 24, 255u) << "at full strength for the first second";
    h.map().Remove(m->id);
  }
  // Half way through the fade the picture is half transparent, like the text.
  cFlyingMessage* m = Game::ShowFlyingMessage(&h.map(), 2, "", 600, 500, 1);
  ASSERT_NE(m, nullptr);
  h.Advance(80);  // 1000 ms held, 1000 of the 2000 ms fade
  std::vector<AnimSpriteQuad> quads = quadsOf(*m);
  const AnimSpriteQuad* q = pictureQuad(quads, 24.0f);
  ASSERT_NE(q, nullptr);
  EXPECT_NEAR(int(q->v[0].diffuse >> 24), 125, 3) << "255 - 0.1275 x 1025";
  EXPECT_NEAR((q->v[0].y + q->v[2].y) / 2.0f, 500.0f - 80 * 1.5f, 0.51f) << "it rose with the text";
}

TEST_F(Flying, ATranslationLongerThanTheMessageIsCutToItsRoom) {
  GameHarness h;
  ASSERT_TRUE(obstest::load(h, 426, "", obstest::balance(1, 0, 0, 0)));
  cFlyingMessage* m = Game::ShowFlyingMessage(&h.map(), 4, "#FLYING_MESSAGE_LONG", 500, 500, 0);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(text(m), std::string(cFlyingMessage::kMaxChars, 'w'));
  h.Advance(1);
  EXPECT_EQ(text(m), std::string(49, 'w')) << "and stays whole while it rises";
}
