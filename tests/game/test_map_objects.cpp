// Map objects, the object factory and the map container: ids, classes, clickable families, the hit
// test, drawing order, removal with descendants and parent loops, children from child scripts, fog
// ids, the tint pulse and the events objects post.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/diag.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game_test_util.h"
#include "support/level_harness.h"

using testkit::LevelHarness;

namespace {
struct MapObjects : gametest::CleanSlate {};

// A family's class that has left play (as a subject that was withdrawn).
struct Withdrawn : Map::cObject {
  bool IsWithdrawn() const override { return true; }
};
struct Barn : Map::cObject {
  int ticks = 0;
  bool UpdateTimers(int32_t ms) override {
    ++ticks;
    return Map::cObject::UpdateTimers(ms);
  }
};

void setBound(Map::cObject* o, int hx, int hy) { o->boundHalfSize = {hx, hy}; }
}  // namespace

TEST_F(MapObjects, FactoryIdsClassesAndTheObjectsOfUnbuiltFamilies) {
  LevelHarness h;
  h.factory.RegisterClass<Barn>("Map::cBarn");
  Map::cObject* barn = h.Add("building", "barn", "Barn", 100, 100);
  Map::cObject* mill = h.Add("building", "sawMill", "Mill", 200, 100);
  Map::cObject* rock1 = h.Add("evilstone", "", "Rock1", 300, 100);
  Map::cObject* rock2 = h.Add("evilstone", "big", "Rock2", 400, 100);
  Map::cObject* tree = h.Add("simple", "tree", "Oak", 500, 100);
  ASSERT_TRUE(barn && mill && rock1 && rock2 && tree);
  EXPECT_EQ(barn->id, 1);
  EXPECT_EQ(tree->id, 5);
  EXPECT_NE(dynamic_cast<Barn*>(barn), nullptr);
  EXPECT_EQ(barn->tag, NameHash("Barn"));
  EXPECT_EQ(barn->subtypeHash, NameHash("barn"));
  // The barn and the trees come from the arena; stones are heap objects freed when removed.
  EXPECT_FALSE(barn->Has(Map::kFlagFreeOnRemove));
  EXPECT_TRUE(rock1->Has(Map::kFlagFreeOnRemove));
  EXPECT_GT(h.arena.BytesUsed(), 0u);
  // An unbuilt class is named once in gerr.log however many of its objects are made; a subtype
  // the table does not list is a plain object and no fault.
  const std::string gerr = gametest::gerrText();
  size_t first = gerr.find("Map::cStoneAndSpring is not built yet");
  ASSERT_NE(first, std::string::npos) << gerr;
  EXPECT_EQ(gerr.find("Map::cStoneAndSpring", first + 1), std::string::npos);
  EXPECT_EQ(gerr.find("sawMill"), std::string::npos);
  EXPECT_EQ(gerr.find("Map::cBarn"), std::string::npos);
}

TEST_F(MapObjects, ObjectCreatedLinesWithPlaybackLogging) {
  gametest::writeFile("log_on.ini", "[main]\nGame_Log_On_Playback=1\n");
  testSettingsLoad("log_on.ini");
  ASSERT_TRUE(gameLogOpen("created.txt"));
  {
    LevelHarness h;
    h.Add("creature", "simple", "Robin", 10, 10);
    h.Add("fx", "rain", "Rain", 0, 0);
  }
  gameLogClose();
  const std::string log = gametest::readFile("created.txt");
  EXPECT_NE(log.find("ObjectCreated. id:1 type:creature subtype:simple"), std::string::npos) << log;
  EXPECT_NE(log.find("ObjectCreated. id:2 type:fx subtype:rain"), std::string::npos) << log;
}

TEST_F(MapObjects, EveryObjectThatOffersWorkIsClickableUnlessHiddenRemovedOrWithdrawn) {
  LevelHarness h;
  h.factory.RegisterClass<Withdrawn>("Map::cTotem");
  struct Case {
    const char* type;
    const char* subtype;
    bool clickable;
  };
  // Buildings, the barn, broken paths, stones, totems, bonuses, quest objects: all offer work.
  const Case cases[] = {{"building", "barn", true},          {"building", "FoodGenerator", true},
                        {"brokenPath", "bridge", true},      {"brokenPath", "dryTree", true},
                        {"evilstone", "", true},             {"bonusPlace", "", true},
                        {"bonus", "food", true},             {"heart", "cave", true},
                        {"WhiteWolf", "", true},             {"simple", "tree", false},
                        {"creature", "butterfly", false},    {"person", "Worker", false},
                        {"building", "sawMill", true},       {"icon", "hint", false}};
  int x = 50;
  for (const Case& c : cases) {
    Map::cObject* o = h.Add(c.type, c.subtype, c.type, x, 300);
    setBound(o, 20, 20);
    EXPECT_EQ(o->Has(Map::kFlagClickable), c.clickable) << c.type << "/" << c.subtype;
    EXPECT_EQ(h.map.HitTest(x, 300) == o, c.clickable) << c.type << "/" << c.subtype;
    x += 60;
  }
  // Hidden, removed and withdrawn objects are never hit.
  Map::cObject* hidden = h.Add("building", "barn", "B2", 100, 600);
  setBound(hidden, 20, 20);
  hidden->SetHidden(true);
  EXPECT_EQ(h.map.HitTest(100, 600), nullptr);
  Map::cObject* removed = h.Add("building", "barn", "B3", 200, 600);
  setBound(removed, 20, 20);
  h.map.Remove(removed->id);
  EXPECT_EQ(h.map.HitTest(200, 600), nullptr);
  Map::cObject* totem = h.Add("totem", "", "T", 300, 600);
  setBound(totem, 20, 20);
  EXPECT_TRUE(totem->Has(Map::kFlagClickable));
  EXPECT_EQ(h.map.HitTest(300, 600), nullptr);
}

TEST_F(MapObjects, HitTestTakesTheTopmostAndBoundsAreStrict) {
  LevelHarness h;
  Map::cObject* low = h.Add("building", "barn", "Low", 100, 100);
  Map::cObject* high = h.Add("building", "barn", "High", 110, 100);
  setBound(low, 30, 20);
  setBound(high, 30, 20);
  high->layer = 5;
  h.map.SortForDrawing();
  EXPECT_EQ(h.map.HitTest(105, 100), high);  // drawn last, hit first
  EXPECT_EQ(h.map.HitTest(75, 100), low);    // only the lower one reaches x 75
  // |px - cx| < hx strictly: the box of High spans 80 < x < 140, 80 < y < 120.
  EXPECT_EQ(h.map.HitTest(140, 100), nullptr);
  EXPECT_EQ(h.map.HitTest(139, 100), high);
  EXPECT_EQ(h.map.HitTest(120, 120), nullptr);  // on the lower edge of both
  EXPECT_EQ(h.map.HitTest(120, 119), high);
  high->boundCentre = {0, -10};  // the box moves up: y 70 .. 110
  EXPECT_EQ(h.map.HitTest(135, 75), high);
  EXPECT_EQ(h.map.HitTest(135, 110), nullptr);
}

TEST_F(MapObjects, DrawingOrderByVisibilityLayerYXAndId) {
  LevelHarness h;
  Map::cObject* a = h.Add("simple", "", "A", 50, 300);
  Map::cObject* b = h.Add("simple", "", "B", 40, 300);
  Map::cObject* c = h.Add("simple", "", "C", 40, 300);  // same layer, y and x as B: id decides
  Map::cObject* d = h.Add("simple", "", "D", 900, 100);
  Map::cObject* e = h.Add("simple", "", "E", 0, 0);
  Map::cObject* f = h.Add("simple", "", "F", 0, 700);
  d->layer = 0;
  e->layer = 2;
  f->layer = -1;
  a->SetHidden(true);
  h.map.SortForDrawing();
  std::vector<std::string> order;
  for (size_t i = 0; i < h.map.Count(); ++i) order.push_back(h.map.At(i)->name);
  EXPECT_EQ(order, (std::vector<std::string>{"F", "D", "B", "C", "E", "A"}));
  (void)b;
  (void)c;
  // Drawing sorts again: a hidden object shown comes back into its place.
  a->SetHidden(false);
  h.map.DrawAll({});
  EXPECT_EQ(h.map.At(4)->name, "A");
}

TEST_F(MapObjects, LookupsByIdTagAndTypeAfterRemovals) {
  LevelHarness h;
  std::vector<int32_t> ids;
  for (int i = 0; i < 6; ++i) ids.push_back(h.Add("bonus", i % 2 ? "food" : "gold", "N" + std::to_string(i), i * 10, 0)->id);
  h.map.Remove(ids[1]);
  h.map.Remove(ids[4]);
  h.Tick();
  EXPECT_EQ(h.map.Count(), 4u);
  EXPECT_EQ(h.map.FindById(ids[1]), nullptr);
  EXPECT_EQ(h.map.FindById(ids[4]), nullptr);
  for (int i : {0, 2, 3, 5}) ASSERT_NE(h.map.FindById(ids[size_t(i)]), nullptr) << i;
  EXPECT_EQ(h.map.FindById(ids[3])->name, "N3");
  EXPECT_EQ(h.map.FindById(-1), nullptr);
  EXPECT_EQ(h.map.FindById(999), nullptr);
  EXPECT_EQ(h.map.FindByTag(NameHash("N5"))->id, ids[5]);
  EXPECT_EQ(h.map.FindByTag(NameHash("N1")), nullptr);
  EXPECT_EQ(h.map.FindByType("bonus", "food")->name, "N3");
  EXPECT_EQ(h.map.FindByType(NameHash("bonus"), 0), nullptr);
  size_t cursor = 0;
  std::vector<std::string> all;
  while (Map::cObject* o = h.map.Iterate(NameHash("bonus"), 0, cursor)) all.push_back(o->name);
  EXPECT_EQ(all, (std::vector<std::string>{"N0", "N2", "N3", "N5"}));
  // Ids keep counting after removals: a new object never takes a removed one's id.
  EXPECT_EQ(h.Add("bonus", "gold", "N6", 0, 0)->id, ids.back() + 1);
}

TEST_F(MapObjects, RemovalTakesEveryDescendantInOneSweep) {
  LevelHarness h;
  h.Record(Game::Event::ObjectKilled);
  Map::cObject* root = h.Add("building", "barn", "Root", 100, 100);
  Map::cObject* child = h.Add("icon", "hint", "Child", 100, 80);
  Map::cObject* grandchild = h.Add("icon", "bar", "Grand", 100, 60);
  Map::cObject* other = h.Add("icon", "hint", "Other", 300, 80);
  child->parentId = root->id;
  grandchild->parentId = child->id;
  other->parentId = 77;  // a parent nobody has
  const int32_t rootId = root->id, childId = child->id, grandId = grandchild->id;
  size_t cursor = 0;
  EXPECT_EQ(h.map.IterateChildren(rootId, cursor), child);
  h.map.Remove(rootId);
  EXPECT_EQ(h.map.Count(), 4u);  // marked, not yet swept
  h.Tick();
  EXPECT_EQ(h.map.Count(), 1u);
  EXPECT_EQ(h.map.FindById(rootId), nullptr);
  EXPECT_EQ(h.map.FindById(childId), nullptr);
  EXPECT_EQ(h.map.FindById(grandId), nullptr);
  EXPECT_EQ(h.map.At(0)->name, "Other");

  // Kill posts event 25 and the sweep takes the object at the next tick.
  Map::cObject* k = h.Add("bonus", "food", "K", 0, 0);
  const int32_t kid = k->id;
  k->Kill();
  ASSERT_EQ(h.CountOf(Game::Event::ObjectKilled), 1);
  EXPECT_EQ(h.Events().back().objectId, kid);
  h.Tick();
  EXPECT_EQ(h.map.FindById(kid), nullptr);
}

TEST_F(MapObjects, ParentLoopsAreRefusedNotFollowedForever) {
  LevelHarness h;
  Map::cObject* a = h.Add("simple", "", "A", 0, 0);
  Map::cObject* b = h.Add("simple", "", "B", 0, 0);
  Map::cObject* c = h.Add("simple", "", "C", 0, 0);
  a->parentId = b->id;
  b->parentId = a->id;
  c->parentId = b->id;
  h.map.Remove(a->id);
  h.Tick();
  EXPECT_EQ(h.map.Count(), 0u);
  EXPECT_NE(gametest::gerrText().find("is its own ancestor"), std::string::npos);

  // Loaded data that loops through parent tags is cut when the map is ready.
  gametest::clearGerr();
  Map::cObject* p = h.Add("simple", "", "P", 0, 0);
  Map::cObject* q = h.Add("simple", "", "Q", 0, 0);
  p->parentTag = NameHash("Q");
  q->parentTag = NameHash("P");
  h.Ready();
  EXPECT_TRUE(p->parentId == Map::kNoId || q->parentId == Map::kNoId);
  EXPECT_NE(gametest::gerrText().find("is its own ancestor"), std::string::npos);
  h.map.Remove(p->id);
  h.Tick();
}

TEST_F(MapObjects, FogIdsStayApartFromObjectIdsOnAnyLevel) {
  LevelHarness h;
  // The fog object lives for the whole run and joins each level's map with its reserved id.
  auto* fog = new Map::cObject();
  fog->id = Map::kFogObjectId;
  fog->flags &= ~(Map::kFlagFreeOnRemove | Map::kFlagDestroyOnRemove);
  h.map.Add(fog);
  for (int i = 0; i < 10050; ++i) h.factory.Create("simple", "")->Destroy(true);
  Map::cObject* late = h.Add("simple", "", "Late", 0, 0);
  EXPECT_EQ(late->id, 10051);
  EXPECT_EQ(h.map.FindById(Map::kFogObjectId), fog);
  EXPECT_EQ(h.map.FindById(10051), late);
  // The factory stops short of the reserved ids instead of handing one out twice.
  h.factory.SetNextId(Map::kReservedIdFirst - 1);
  Map::cObject* last = h.factory.Create("simple", "");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->id, Map::kReservedIdFirst - 1);
  last->Destroy(true);
  EXPECT_EQ(h.factory.Create("simple", ""), nullptr);
  // Clearing the map leaves the fog alive for the next level.
  h.map.Clear();
  delete fog;
}

TEST_F(MapObjects, ChildrenAreClonedFromTheChildScriptBesideTheirParent) {
  gametest::writeFile("data/kids.ini",
                      "[barnKids]\nisList=1\n1=Flag\n2=Bar\n3=\n4=Never\n"
                      "[Flag]\ntype=icon\nsubType=hint\nx=10\ny=-40\nlayer=7\n"
                      "[Bar]\ntype=icon\nsubType=bar\nx=-5\ny=20\n"
                      "[Never]\ntype=icon\nsubType=hint\n");
  gametest::writeFile("kids/map.ini",
                      "[Barn]\ntype=building\nsubType=barn\nx=200\ny=300\nchildScript=data/kids.ini\n"
                      "childsKey=barnKids\n"
                      "[Mirror]\ntype=building\nsubType=barn\nx=600\ny=300\nisFlipX=1\nchildScript=data/kids.ini\n"
                      "childsKey=barnKids\n"
                      "[Lone]\ntype=simple\nx=1\ny=2\nparentTagStr=Barn\n");
  LevelHarness h;
  h.Record(Game::Event::OperationProgress);
  ASSERT_TRUE(h.Load("kids", false));
  ASSERT_EQ(h.map.Count(), 7u);  // two parents with two children each, and Lone
  Map::cObject* barn = h.map.FindByTag(NameHash("Barn"));
  Map::cObject* mirror = h.map.FindByTag(NameHash("Mirror"));
  ASSERT_TRUE(barn && mirror);
  // Clones carry no name; "Lone" names the barn its parent through "parentTagStr".
  std::vector<Map::cObject*> kids, mirrored;
  size_t cursor = 0;
  while (Map::cObject* k = h.map.IterateChildren(barn->id, cursor))
    if (k->name.empty()) kids.push_back(k);
  cursor = 0;
  while (Map::cObject* k = h.map.IterateChildren(mirror->id, cursor)) mirrored.push_back(k);
  auto byId = [](const Map::cObject* a, const Map::cObject* b) { return a->id < b->id; };
  std::sort(kids.begin(), kids.end(), byId);
  std::sort(mirrored.begin(), mirrored.end(), byId);
  ASSERT_EQ(kids.size(), 2u);
  ASSERT_EQ(mirrored.size(), 2u);
  // Ids follow the parent in order; anchors are the parent's plus the template's, x mirrored for a
  // flipped parent; a clone has no name of its own.
  EXPECT_EQ(kids[0]->id, barn->id + 1);
  EXPECT_EQ(kids[1]->id, barn->id + 2);
  EXPECT_FLOAT_EQ(kids[0]->x, 210.0f);
  EXPECT_FLOAT_EQ(kids[0]->y, 260.0f);
  EXPECT_EQ(kids[0]->layer, 7);
  EXPECT_TRUE(kids[0]->name.empty());
  EXPECT_EQ(kids[0]->subtypeHash, NameHash("hint"));
  EXPECT_FLOAT_EQ(mirrored[0]->x, 590.0f);
  EXPECT_FLOAT_EQ(mirrored[1]->x, 605.0f);
  // The bars registered for the progress of operations.
  GameEvent e;
  MakeEvent(e, Game::Event::OperationProgress);
  Post(&h.dispatcher, e);
  EXPECT_EQ(h.CountOf(Game::Event::OperationProgress), 1);
  EXPECT_EQ(h.dispatcher.Count(Game::Code(Game::Event::OperationProgress)), 3);  // two bars and the harness
  // "parentTagStr" names the parent once the map is ready.
  Map::cObject* lone = h.map.FindByTag(NameHash("Lone"));
  EXPECT_EQ(lone->parentId, barn->id);
  // Removing a parent takes its cloned children along.
  h.map.Remove(barn->id);
  h.Tick();
  EXPECT_EQ(h.map.Count(), 3u);
}

TEST_F(MapObjects, TintPulseLifetimeAndFogArea) {
  LevelHarness h;
  h.Record(Game::Event::FogAreaOpens);
  Map::cObject* o = h.Add("simple", "", "Glow", 100, 200);
  o->drawParams.argb = 0xFF80FF40u;
  o->StartTint(true);
  EXPECT_TRUE(o->IsHighlighted());
  for (int i = 0; i < 20; ++i) h.Tick();  // 500 ms: the middle of the 1000 ms pulse
  // sin(pi / 2) = 1: every colour channel at 60 %.
  EXPECT_EQ(o->CurrentColour(), 0xFF4D9926u);
  for (int i = 0; i < 20; ++i) h.Tick();
  EXPECT_FALSE(o->Has(Map::kFlagTintPulse));
  EXPECT_EQ(o->CurrentColour(), 0xFF80FF40u);
  EXPECT_EQ(o->Lifetime(), 1000);

  o->Set(Map::kFlagFogArea, true);
  o->fogAreaOffset = {5, -5};
  o->fogRadiusX = 60;
  o->fogRadiusY = 30;
  o->Kill();
  o->OpenFogArea(1, 2);  // posted once: the flag is cleared with the first
  ASSERT_EQ(h.CountOf(Game::Event::FogAreaOpens), 1);
  const GameEvent& e = h.Events()[0];
  EXPECT_EQ(e.x, 105);
  EXPECT_EQ(e.y, 195);
  EXPECT_EQ(e.value, 60);
  EXPECT_EQ(e.value2, 30);
  EXPECT_EQ(e.extra[2], 1);
}
