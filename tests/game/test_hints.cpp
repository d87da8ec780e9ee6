// The hint window over subjects and the icons around it, in headless levels: what a broken
// building, a site and a mine tell the player (rows, labels, greyed costs, the shortfall after a
// refused click), the window's layout worked out by hand, its delayed fade in and out, the arrow
// the model points at a blocking obstacle, the upgrade tablet ordering upgrades, the focus
// marker's keys in both map forms, and the bobbing icon.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/map_factory.h"
#include "game/core/map_record.h"
#include "game/core/map_stream.h"
#include "game/interface/icon_base.h"
#include "game/interface/icon_focus_marker.h"
#include "game/interface/icon_hint_marker.h"
#include "game/interface/icon_object_info.h"
#include "game/interface/icon_upgrade.h"
#include "game/interface/icons_register.h"
#include "game/objects/building.h"
#include "game/objects/building_mine.h"
#include "demo_copy_util.h"
#include "game_test_util.h"
#include "worker_level_util.h"
#include "support/game_harness.h"
#include "support/level_harness.h"

using Game::Event;
using Icon::HintContent;
using Map::BuildingState;
using Map::ResourceVector;
using testkit::GameHarness;

namespace {
constexpr const char* kKids = "data/hkids.ini";

struct Hints : gametest::LevelSlate {
  void SetUp() override {
    gametest::LevelSlate::SetUp();
    gametest::writeFile("data/translation.ini", "[Text]\n#GRANARY=Granary\n#COTTAGE=Cottage\n");
    gametest::writeFile("data/hint/hintResources.ini",
                        "[Hint]\ndistanceFromUpperEdgeToName=10\ndistanceFromNameToStatus=4\n"
                        "distanceFromStatusToRest=6\nwidth=200\n[ShortFall]\nsizeIncrease=12\n");
    // Every building subtype of these tests gets the same children.
    std::string kids;
    const char* subtypes[] = {"hint", "upgradeHint", "upgradeLevel", "focusMarker", "UpgradeTrumpets"};
    for (const char* owner : {"Granary", "Cottage", "cBuildingMine"}) {
      kids += std::string("[") + owner + "]\nisList=1\n";
      for (int i = 0; i < 5; ++i) kids += std::to_string(i + 1) + "=K" + subtypes[i] + "\n";
    }
    for (const char* k : subtypes) kids += std::string("[K") + k + "]\ntype=icon\nsubType=" + k + "\ny=-40\n";
    gametest::writeFile(kKids, kids);
  }
};

const char* kBarn = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\nboundXS=30\nboundYS=30\n";

// A standing granary with two upgrades (5 Food, then 8 Food); repairs cost 2 Ore.
std::string granary(const std::string& extra = "") {
  return "[Granary]\ntype=building\nsubType=Granary\nx=400\ny=250\nboundXS=30\nboundYS=30\n"
         "childScript=data/hkids.ini\nupgradeLevelMax=2\nisBreak=1\nname=#GRANARY\nPerson_Uprade_Time=500\n"
         "Person_Uprade_Time_Food=5\nPerson_Uprade2_Time=500\nPerson_Uprade2_Time_Food=8\n"
         "Person_Repair_Time=500\nPerson_Repair_Time_Ore=2\n" +
         extra;
}

// Food 50, Ore 20; one worker at the barn.
bool start(GameHarness& h, int n, const std::string& map, const std::vector<std::string>& grid = {}) {
  testkit::LevelFiles f;
  f.balance = "[Main]\ntLevelTime=1000000\nMinuteTime=60000\n[Resources]\nWorker=0\nFood=50\nOre=20\n"
              "[ResourcesMax]\nFood=100\nOre=100\nGold=100\n[ResourceHarvest]\nFood=1\nOre=1\nGold=1\n";
  f.map = map;
  f.grid = grid;
  return gametest::startWithWorker(h, n, f);
}

template <class T>
T* object(GameHarness& h, const char* name) {
  return dynamic_cast<T*>(h.map().FindByTag(NameHash(name)));
}

template <class T>
T* child(GameHarness& h, const Map::cObject& parent, const char* subtype) {
  return dynamic_cast<T*>(parent.FindChild(h.map(), subtype));
}

Icon::HintMeasures measures() {
  Icon::HintMeasures m;
  m.name = m.status = m.opStatus = 16;
  m.exchange = m.spendLabel = m.box1 = m.box2 = m.box5 = 24;
  return m;
}

using gametest::runUntil;
}  // namespace

// ---- What the hint shows -------------------------------------------------------------------------

TEST_F(Hints, ABrokenBuildingOffersItsRepairAndNoGains) {
  GameHarness h;
  ASSERT_TRUE(start(h, 230, std::string(kBarn) + granary("state=4\n")));
  auto* g = object<Map::cBuilding>(h, "Granary");
  ASSERT_NE(g, nullptr);
  ASSERT_EQ(g->State(), BuildingState::Broken);
  auto* hint = child<Icon::cObjectInfo>(h, *g, "hint");
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(dynamic_cast<Icon::cUpgradeInfo*>(hint), nullptr) << "the plain hint is no upgrade hint";

  HintContent c = hint->Fill();
  EXPECT_EQ(c.name, u"Granary");
  EXPECT_EQ(c.caption, "#OBJECT_HINT_BROKEN");
  EXPECT_EQ(c.spend.label, "#OBJECT_HINT_REPAIR");
  EXPECT_EQ(c.spend.amounts, (ResourceVector{0, 0, 2, 0}));
  EXPECT_FALSE(c.spend.lacking[2]) << "20 Ore pay for 2";
  EXPECT_FALSE(c.get.AnyAmount());
  EXPECT_FALSE(c.willGet.AnyAmount());
  EXPECT_FALSE(c.shortFall);
  const Icon::HintLayout l = Icon::hintLayout(Icon::HintLayoutConfig::Read(Icon::HintLayoutConfig::kFile, "Hint"),
                                              c, measures());
  EXPECT_TRUE(l.statusShown);
  EXPECT_TRUE(l.box1Shown);
  EXPECT_FALSE(l.box2Shown);
  EXPECT_FALSE(l.box5Shown);

  // With one Ore left the repair's Ore is greyed, but the whole price still shows until a click.
  ASSERT_TRUE(h.stock().SpendResource(Game::kOre, 19));
  c = hint->Fill();
  EXPECT_EQ(c.spend.amounts, (ResourceVector{0, 0, 2, 0}));
  EXPECT_TRUE(c.spend.lacking[2]);
  EXPECT_FALSE(c.spend.lacking[1]);
  EXPECT_FALSE(c.shortFall);
}

TEST_F(Hints, AMineShowsItsLoadAndWhatIsLeft) {
  GameHarness h;
  ASSERT_TRUE(start(h, 231, std::string(kBarn) +
                                "[Mine]\ntype=building\nsubType=cBuildingMine\nx=400\ny=400\nboundXS=30\n"
                                "boundYS=30\nchildScript=data/hkids.ini\nresource=Gold\nresourceValue=4\n"
                                "resourceMax=10\nPerson_Get_Resource_Time=300\n"));
  auto* mine = object<Map::cBuildingMine>(h, "Mine");
  ASSERT_NE(mine, nullptr);
  auto* hint = child<Icon::cObjectInfo>(h, *mine, "hint");
  ASSERT_NE(hint, nullptr);
  HintContent c = hint->Fill();
  EXPECT_EQ(c.get.label, "#OBJECT_HINT_MINE");
  EXPECT_EQ(c.get.amounts, (ResourceVector{0, 0, 0, 4}));
  EXPECT_EQ(c.willGet.label, "#OBJECT_HINT_STOCK");
  EXPECT_EQ(c.willGet.amounts, (ResourceVector{0, 0, 0, 10}));
  EXPECT_FALSE(c.spend.AnyAmount()) << "mining is free";
  EXPECT_TRUE(c.caption.empty());

  // One load carried off: 6 left.
  h.Action(2, mine->id);
  ASSERT_TRUE(runUntil(h, [&] { return mine->taken == 4; }));
  c = hint->Fill();
  EXPECT_EQ(c.willGet.amounts, (ResourceVector{0, 0, 0, 6}));
  const Icon::HintLayout l = Icon::hintLayout(Icon::HintLayoutConfig{}, c, measures());
  EXPECT_FALSE(l.box1Shown);
  EXPECT_TRUE(l.box2Shown);
  EXPECT_TRUE(l.box5Shown);
}

TEST_F(Hints, TheShortfallShowsOnlyAfterARefusedClickUntilThePointerComesBack) {
  GameHarness h;
  ASSERT_TRUE(start(h, 232, std::string(kBarn) +
                                "[Cottage]\ntype=building\nsubType=Cottage\nx=400\ny=400\nboundXS=30\nboundYS=30\n"
                                "state=1\nchildScript=data/hkids.ini\nname=#COTTAGE\nPerson_Build_Time=1000\n"
                                "Person_Build_Time_Food=10\nPerson_Build_Time_Ore=5\n"));
  auto* cottage = object<Map::cBuilding>(h, "Cottage");
  ASSERT_NE(cottage, nullptr);
  auto* hint = child<Icon::cObjectInfo>(h, *cottage, "hint");
  ASSERT_NE(hint, nullptr);
  ASSERT_TRUE(h.stock().SpendResource(Game::kFood, 46));  // 4 Food, 20 Ore

  cottage->HoverEnter();
  HintContent c = hint->Fill();
  EXPECT_FALSE(c.shortFall) << "only hovered: the whole price";
  EXPECT_EQ(c.spend.label, "#OBJECT_HINT_BUILD");
  EXPECT_EQ(c.spend.amounts, (ResourceVector{0, 10, 5, 0}));
  EXPECT_TRUE(c.spend.lacking[1]);
  EXPECT_FALSE(c.spend.lacking[2]);
  const Icon::HintLayoutConfig cfg = Icon::HintLayoutConfig::Read(Icon::HintLayoutConfig::kFile, "Hint");
  Icon::HintLayout l = Icon::hintLayout(cfg, c, measures());
  EXPECT_EQ(l.left, -100);
  EXPECT_EQ(l.right, 100);

  h.ClearEvents();
  h.Action(2, cottage->id);
  ASSERT_EQ(h.CountOf(Event::NotEnoughResources), 1);
  c = hint->Fill();
  EXPECT_TRUE(c.shortFall);
  EXPECT_EQ(c.spend.amounts, (ResourceVector{0, 6, 0, 0})) << "what is missing: 10 - 4 Food, no Ore";
  l = Icon::hintLayout(cfg, c, measures());
  EXPECT_EQ(l.left, -112) << "widened by sizeIncrease on both sides";
  EXPECT_EQ(l.right, 112);
  EXPECT_TRUE(l.box1Shown);

  // The pointer leaves and comes back: a new look, the whole price again.
  cottage->HoverLeave();
  cottage->HoverEnter();
  EXPECT_FALSE(hint->Fill().shortFall);
  // Enough Food now: a selected building that can pay shows no shortfall either.
  h.stock().AddResource(Game::kFood, 20, false);
  cottage->SetSelected(true);
  EXPECT_FALSE(hint->Fill().shortFall);
}

// ---- Layout and fading ---------------------------------------------------------------------------

TEST(HintLayout, LinesAndRowsFollowTheDistancesOfTheLayoutFile) {
  Icon::HintLayoutConfig cfg;  // 10, 4, 6; 200 wide; the shortfall grows 10
  const Icon::HintMeasures m = measures();

  // Name, caption and a cost row: 10 to the name; 10 + 4 + 16 = 30 to the caption; 30 + 6 + 16 = 52
  // is the row's line, its box 12 above it plus 2; the bottom 52 + 24 + 10.
  HintContent a;
  a.name = u"Hut";
  a.caption = "#OBJECT_HINT_BROKEN";
  a.spend = Icon::HintRow{"#OBJECT_HINT_REPAIR", {0, 0, 2, 0}, {}, true};
  Icon::HintLayout l = Icon::hintLayout(cfg, a, m);
  EXPECT_EQ(l.nameY, 10);
  EXPECT_EQ(l.statusY, 30);
  EXPECT_EQ(l.box1Top, 42);
  EXPECT_EQ(l.height, 86);

  // A status line replaces the rows: 10 + 6 + 16 = 32, bottom 32 + 16 + round(1.5 x 10).
  HintContent b = a;
  b.caption.clear();
  b.status = "#OBJECT_HINT_NOPATH";
  l = Icon::hintLayout(cfg, b, m);
  EXPECT_FALSE(l.statusShown);
  EXPECT_TRUE(l.opStatusShown);
  EXPECT_FALSE(l.box1Shown);
  EXPECT_EQ(l.opStatusY, 32);
  EXPECT_EQ(l.height, 63);
  b.progress = true;  // five pixels higher over a bar
  EXPECT_EQ(Icon::hintLayout(cfg, b, m).opStatusY, 27);

  // Only a name: 32 + 10, then 10 more for the empty window, and the name 5 lower.
  HintContent c;
  c.name = u"Rock";
  l = Icon::hintLayout(cfg, c, m);
  EXPECT_EQ(l.height, 52);
  EXPECT_EQ(l.nameY, 15);

  // A progress bar hides the cost row and keeps the gains: box at 32 - 12 + 2, the bar 10 under
  // the rows' bottom line (56), the window 20 deeper for it.
  HintContent d;
  d.name = u"Bush";
  d.spend = Icon::HintRow{"#OBJECT_HINT_SPEND", {0, 3, 0, 0}, {}, true};
  d.get = Icon::HintRow{"#OBJECT_HINT_GET", {0, 5, 0, 0}, {}, true};
  d.progress = true;
  l = Icon::hintLayout(cfg, d, m);
  EXPECT_FALSE(l.box1Shown);
  EXPECT_TRUE(l.box2Shown);
  EXPECT_EQ(l.box2Top, 22);
  EXPECT_EQ(l.barY, 66);
  EXPECT_EQ(l.height, 86);

  // The exchange box: centred on the line, the arrow 10 down and 5 left, the bottom 30 under it.
  HintContent e;
  e.name = u"Changer";
  e.exchange = true;
  e.exchangeGive = {0, 0, 5, 0};
  e.exchangeTake = {0, 0, 0, 1};
  l = Icon::hintLayout(cfg, e, m);
  EXPECT_TRUE(l.exchangeShown);
  EXPECT_EQ(l.exchangeTop, 22);
  EXPECT_EQ(l.arrowDx, -5);
  EXPECT_EQ(l.arrowDy, 10);
  EXPECT_EQ(l.height, 62);
}

TEST_F(Hints, TheLayoutFileIsReadWithItsDefaultsAndBadValuesAreNamed) {
  gametest::writeFile("data/hint/bad.ini",
                      "[Hint]\ndistanceFromUpperEdgeToName=-4\nwidth=5\n[ShortFall]\nsizeIncrease=0\n"
                      "[Get]\nx=7\n");
  const Icon::HintLayoutConfig c = Icon::HintLayoutConfig::Read("data/hint/bad.ini", "Hint");
  EXPECT_EQ(c.toName, 10);
  EXPECT_EQ(c.width, 200);
  EXPECT_EQ(c.shortFallGrow, 10) << "0 is read as 10";
  EXPECT_EQ(c.getX, 7);
  const std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("data/hint/bad.ini: [Hint] distanceFromUpperEdgeToName=-4"), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("width=5"), std::string::npos) << gerr;
}

TEST(HintWindow, OpensAfterADelayFadesInAndOutAndHidesBelowTen) {
  Icon::cObjectInfo hint;
  hint.SetHidden(true);
  EXPECT_TRUE(hint.Has(Map::kFlagHidden));
  hint.SetHidden(false);
  EXPECT_FALSE(hint.Has(Map::kFlagHidden));
  hint.UpdateTimers(150);
  EXPECT_EQ(hint.Alpha(), 0.0f) << "still waiting the 200 ms";
  hint.UpdateTimers(150);  // 100 ms of fading at 0.85 a millisecond
  EXPECT_NEAR(hint.Alpha(), 85.0f, 1e-3);
  hint.UpdateTimers(250);
  EXPECT_NEAR(hint.Alpha(), 255.0f, 1e-3);
  EXPECT_EQ(hint.State(), Icon::cObjectInfo::Phase::Open);

  hint.SetHidden(true);
  EXPECT_FALSE(hint.Has(Map::kFlagHidden)) << "it fades out first";
  hint.UpdateTimers(200);
  EXPECT_NEAR(hint.Alpha(), 85.0f, 1e-3);
  hint.UpdateTimers(75);  // 21.25: not yet
  EXPECT_FALSE(hint.Has(Map::kFlagHidden));
  hint.UpdateTimers(25);  // 0 < 10
  EXPECT_TRUE(hint.Has(Map::kFlagHidden));
  EXPECT_EQ(hint.State(), Icon::cObjectInfo::Phase::Closed);

  // Closed while still waiting: gone at once, and the next opening waits again.
  hint.SetHidden(false);
  hint.UpdateTimers(100);
  hint.SetHidden(true);
  EXPECT_TRUE(hint.Has(Map::kFlagHidden));
  hint.SetHidden(false);
  hint.UpdateTimers(199);
  EXPECT_EQ(hint.Alpha(), 0.0f);

  // Opened again half-way through a fade-out: it comes back from there without a new delay.
  hint.UpdateTimers(301);
  hint.SetHidden(true);
  hint.UpdateTimers(100);  // 170
  hint.SetHidden(false);
  hint.UpdateTimers(25);
  EXPECT_NEAR(hint.Alpha(), 191.25f, 1e-3);
}

TEST_F(Hints, AHintClosedRightAfterARefusalStaysAMomentLonger) {
  GameHarness h;
  ASSERT_TRUE(start(h, 233, std::string(kBarn) + granary("state=4\n")));
  ASSERT_TRUE(h.stock().SpendResource(Game::kOre, 20));
  auto* g = object<Map::cBuilding>(h, "Granary");
  ASSERT_NE(g, nullptr);
  auto* hint = child<Icon::cObjectInfo>(h, *g, "hint");
  ASSERT_NE(hint, nullptr);
  g->HoverEnter();
  h.Advance(22);  // 550 ms: open
  ASSERT_EQ(hint->State(), Icon::cObjectInfo::Phase::Open);
  h.Action(2, g->id);  // no Ore: refused
  ASSERT_GT(g->ordersRefused, 0);
  g->HoverLeave();
  h.Advance(4);  // 100 ms of waiting
  EXPECT_NEAR(hint->Alpha(), 255.0f, 1e-3);
  h.Advance(1);
  EXPECT_NEAR(hint->Alpha(), 255.0f - 0.85f * 25.0f, 1e-3);
}

// ---- The arrow, the tablet and the marker --------------------------------------------------------

TEST_F(Hints, TheArrowShowsAtTheBlockingObstacleFromTheSecondRefusalForThreeSeconds) {
  // A wall down column 50 with one gap (rows 35 to 40) that a stone closes; the site lies beyond.
  std::vector<std::string> grid(kPathHeight, std::string(kPathWidth, '.'));
  for (int r = 0; r < kPathHeight; ++r)
    if (r < 35 || r > 40) grid[size_t(r)][50] = '#';
  GameHarness h;
  ASSERT_TRUE(start(h, 234,
                    std::string(kBarn) +
                        "[Stone]\ntype=evilstone\nx=505\ny=380\nboundXS=20\nboundYS=40\nisObstacle=1\n"
                        "obstacleXS=20\nobstacleYS=40\n"
                        "[Cottage]\ntype=building\nsubType=Cottage\nx=800\ny=380\nboundXS=30\nboundYS=30\n"
                        "state=1\nPerson_Build_Time=1000\n",
                    grid));
  Map::cObject* stone = h.map().FindByTag(NameHash("Stone"));
  Map::cObject* cottage = h.map().FindByTag(NameHash("Cottage"));
  ASSERT_TRUE(stone && cottage);

  h.Action(2, cottage->id);
  ASSERT_EQ(h.CountOf(Event::NoPathToSubject), 1);
  EXPECT_EQ(h.model().hintTarget(), stone->id);
  auto* arrow = dynamic_cast<Icon::cObjectHintMarker*>(h.map().FindByType("icon", "objectHintMarker"));
  ASSERT_NE(arrow, nullptr) << "the model made the level's arrow";
  EXPECT_EQ(arrow->Showing(stone->id), nullptr) << "one refusal may be a slip";

  h.Action(2, cottage->id);
  const auto* e = arrow->Showing(stone->id);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->point.x, 505);
  EXPECT_EQ(e->point.y, 380);
  EXPECT_EQ(h.map().FindByType("icon", "objectHintMarker"), arrow) << "one arrow per level";
  h.Advance(119);  // 2975 ms
  EXPECT_NE(arrow->Showing(stone->id), nullptr);
  h.Advance(1);
  EXPECT_EQ(arrow->Showing(stone->id), nullptr);
}

TEST_F(Hints, TheTabletShowsTheLevelAndItsClickOrdersTheUpgrade) {
  GameHarness h;
  ASSERT_TRUE(start(h, 235, std::string(kBarn) + granary()));
  auto* g = object<Map::cBuilding>(h, "Granary");
  ASSERT_NE(g, nullptr);
  auto* tablet = child<Icon::cUpgradeLevel>(h, *g, "upgradeLevel");
  auto* upgradeHint = child<Icon::cUpgradeInfo>(h, *g, "upgradeHint");
  auto* trumpets = child<Icon::cUpgradeTrumpets>(h, *g, "UpgradeTrumpets");
  ASSERT_TRUE(tablet && upgradeHint && trumpets);
  EXPECT_EQ(tablet->Number(), 0);
  EXPECT_TRUE(tablet->Has(Map::kFlagClickable));

  // Hovering the tablet opens the upgrade hint: the first upgrade's 5 Food.
  tablet->HoverEnter();
  EXPECT_FALSE(upgradeHint->Has(Map::kFlagHidden));
  HintContent c = upgradeHint->Fill();
  EXPECT_EQ(c.name, u"Granary 1");
  EXPECT_EQ(c.spend.amounts, (ResourceVector{0, 5, 0, 0}));
  tablet->HoverLeave();
  EXPECT_TRUE(upgradeHint->Has(Map::kFlagHidden)) << "closed before it had opened";

  // The click goes the player's way: the view hands the tablet's id to the model.
  h.ClearEvents();
  h.Action(2, tablet->id);
  EXPECT_TRUE(tablet->TakeOrdered());
  EXPECT_EQ(h.CountOf(Event::UpgradeOrdered), 1);
  EXPECT_TRUE(h.queue().Contains(g->id)) << "the building's order is queued";
  EXPECT_FALSE(h.queue().Contains(tablet->id));
  EXPECT_EQ(h.stock().Amount(Game::kFood), 45);
  ASSERT_TRUE(runUntil(h, [&] { return g->upgradeLevel == 1; }));
  EXPECT_EQ(tablet->Number(), 1) << "refreshed by the level reached";
  EXPECT_EQ(trumpets->Plays(), 1);
  ASSERT_TRUE(runUntil(h, [&] {
    return g->State() == BuildingState::Built && h.workers().CountFree(0, true) == 1;
  }));
  EXPECT_EQ(upgradeHint->Fill().spend.amounts, (ResourceVector{0, 8, 0, 0})) << "the second upgrade's price";

  // Without the 8 Food the click is refused with its event and nothing is paid.
  ASSERT_TRUE(h.stock().SpendResource(Game::kFood, 40));  // 5 left
  h.ClearEvents();
  h.Action(2, tablet->id);
  EXPECT_FALSE(tablet->TakeOrdered());
  EXPECT_EQ(h.CountOf(Event::CannotAffordUpgrade), 1);
  EXPECT_EQ(h.stock().Amount(Game::kFood), 5);
  c = upgradeHint->Fill();
  EXPECT_TRUE(c.shortFall) << "the refused click selected the granary";
  EXPECT_EQ(c.spend.amounts, (ResourceVector{0, 3, 0, 0}));

  // At the last level the tablet takes no click at all.
  h.stock().AddResource(Game::kFood, 50, false);
  h.Advance(81);  // the first trumpets have stopped
  h.Action(2, tablet->id);
  EXPECT_TRUE(tablet->TakeOrdered());
  ASSERT_TRUE(runUntil(h, [&] { return g->upgradeLevel == 2; }));
  EXPECT_EQ(tablet->Number(), 2);
  EXPECT_EQ(trumpets->Plays(), 2);
  h.ClearEvents();
  h.Action(2, tablet->id);
  EXPECT_FALSE(tablet->TakeOrdered());
  EXPECT_TRUE(h.events().empty());
}

TEST_F(Hints, TheFocusMarkersKeysSurviveBothMapForms) {
  gametest::writeFile("data/fm.ini",
                      "[Green]\ntype=icon\nsubType=focusMarker\nisSmall=1\nscale=0\nisGreen=1\nisSaveble=1\n"
                      "[Plain]\ntype=icon\nsubType=focusMarker\nscale=1.5\n");
  testkit::LevelHarness h;
  Icon::iconsRegisterClasses(h.factory);
  std::vector<Map::cObject*> made;
  ASSERT_TRUE(h.factory.LoadFromIni("data/fm.ini", "Green", {}, made));
  ASSERT_TRUE(h.factory.LoadFromIni("data/fm.ini", "Plain", {}, made));
  ASSERT_EQ(made.size(), 2u);
  auto* green = dynamic_cast<Icon::cFocusMarker*>(made[0]);
  auto* plain = dynamic_cast<Icon::cFocusMarker*>(made[1]);
  ASSERT_TRUE(green && plain);
  EXPECT_EQ(green->isSmall, 1);
  EXPECT_FLOAT_EQ(green->markerScale, 1.0f) << "0 is read as 1";
  EXPECT_EQ(green->saveable, 1);
  EXPECT_EQ(green->State(), 0) << "a green marker starts ready";
  EXPECT_EQ(plain->State(), Icon::cFocusMarker::kBusy);
  EXPECT_FLOAT_EQ(plain->markerScale, 1.5f);
  EXPECT_NEAR(plain->PulseScale(), 1.5f, 1e-6);

  // Saved, the state decides "isGreen".
  MapObjectRecord r;
  plain->FillRecord(r);
  EXPECT_NE(mapRecordToIni(r).find("isGreen=0"), std::string::npos) << mapRecordToIni(r);
  green->FillRecord(r);
  const std::string ini = mapRecordToIni(r);
  EXPECT_NE(ini.find("isGreen=1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("isSaveble=1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("isSmall=1"), std::string::npos) << ini;

  // The binary form: isSmall, scale, then the two flag bytes; read back, the marker starts ready.
  std::string bytes, error;
  plain->FillRecord(r);
  r.extension[Icon::cFocusMarker::kSmallItem].i = 7;
  ASSERT_TRUE(mapWriteObject(bytes, r, &error)) << error;
  ASSERT_TRUE(mapWriteString(bytes, "", &error)) << error;
  MapStream s;
  s.OpenMemory(bytes.data(), bytes.size(), "marker");
  std::vector<Map::cObject*> loaded;
  ASSERT_TRUE(h.factory.LoadFromBinary(s, {}, loaded));
  ASSERT_EQ(loaded.size(), 1u);
  auto* back = dynamic_cast<Icon::cFocusMarker*>(loaded[0]);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->isSmall, 7);
  EXPECT_FLOAT_EQ(back->markerScale, 1.5f);
  EXPECT_EQ(back->saveable, 0);
  EXPECT_EQ(back->State(), 0);
  for (Map::cObject* o : made) o->Destroy(o->Has(Map::kFlagFreeOnRemove));
  for (Map::cObject* o : loaded) o->Destroy(o->Has(Map::kFlagFreeOnRemove));
}

TEST(FloatingIcon, StartsHiddenUnclickableAndBobsThreePixels) {
  Map::cFloatingIcon icon;
  EXPECT_TRUE(icon.Has(Map::kFlagHidden));
  EXPECT_FALSE(icon.Has(Map::kFlagClickable));
  EXPECT_FALSE(icon.Has(Map::kFlagCreatedAtLoad));
  EXPECT_FALSE(icon.Click(true));
  EXPECT_FALSE(icon.IsHighlighted());
  icon.HoverEnter();
  EXPECT_TRUE(icon.IsHighlighted());
  icon.HoverLeave();
  EXPECT_FALSE(icon.IsHighlighted());
  icon.UpdateTimers(500);  // 1.57 rad: the lowest point
  EXPECT_NEAR(icon.BobOffset(), 3.0f, 1e-3);
  icon.UpdateTimers(1500);  // 2000 ms: back to the start
  EXPECT_NEAR(icon.Phase(), 0.0f, 1e-6);
  EXPECT_NEAR(icon.BobOffset(), 0.0f, 1e-6);
}

// ---- The demo ------------------------------------------------------------------------------------

namespace {
struct DemoHints : gametest::DemoCopySlate {
  const char* CopyName() const override { return "demo_hints"; }
};
}  // namespace

TEST_F(DemoHints, PointingAtTheBarnTheBridgeAndTheOrePitOpensEachHint) {
  GameHarness h;
  ASSERT_TRUE(h.Load(2));
  h.Advance(40);
  for (const char* name : {"Barn", "Bridge1_Top1", "OreGenerator1"}) {
    SCOPED_TRACE(name);
    Map::cObject* o = h.map().FindByTag(NameHash(name));
    ASSERT_NE(o, nullptr);
    auto* hint = child<Icon::cObjectInfo>(h, *o, "hint");
    ASSERT_NE(hint, nullptr);
    h.Action(5, o->id);  // the pointer over it
    h.Advance(21);
    EXPECT_EQ(hint->State(), Icon::cObjectInfo::Phase::Open);
    EXPECT_FALSE(hint->Fill().name.empty());
    h.Action(6);  // the pointer off the map
    h.Advance(14);
    EXPECT_TRUE(hint->Has(Map::kFlagHidden));
  }
}

TEST_F(DemoHints, TheArrowPointsPastTheBarnAtWhatBlocksTheWayToTheOrePit) {
  GameHarness h;
  ASSERT_TRUE(h.Load(2));
  h.Advance(40);
  Map::cObject* pit = h.map().FindByTag(NameHash("OreGenerator1"));
  Map::cObject* barn = h.map().FindByTag(NameHash("Barn"));
  ASSERT_TRUE(pit && barn);
  h.Action(1);
  h.Action(2, pit->id);
  h.Action(2, pit->id);
  ASSERT_GE(h.CountOf(Event::NoPathToSubject), 1);
  auto* arrow = dynamic_cast<Icon::cObjectHintMarker*>(h.map().FindByType("icon", "objectHintMarker"));
  ASSERT_NE(arrow, nullptr);
  const int32_t target = h.model().hintTarget();
  EXPECT_NE(target, barn->id) << "the barn itself is no obstacle to clear";
  const Map::cObject* blocker = h.map().FindById(target);
  ASSERT_NE(blocker, nullptr);
  EXPECT_TRUE(blocker->Has(Map::kFlagObstacle)) << blocker->name;
  EXPECT_NE(arrow->Showing(target), nullptr) << blocker->name;
}
