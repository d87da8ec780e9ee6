// Levels loaded into a map with the level harness: a small drawn level in both forms, the demo
// level in both forms with the same objects and its barn found, the record blocks of the object
// families read and written alike in both forms, and families whose items are unknown refused
// rather than misread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/map_compile.h"
#include "game/core/map_level.h"
#include "game_test_util.h"
#include "support/level_harness.h"

using testkit::LevelHarness;

namespace {
struct MapLevel : gametest::CleanSlate {};

using gametest::recordsOf;

const char* kSmallLevel =
    "[Barn]\ntype=building\nsubType=barn\nx=150\ny=400\nsupportY=30\nboundXS=40\nboundYS=30\n"
    "isObstacle=1\nobstacleXS=30\nobstacleYS=15\niconsX=-12\nworkerX=40\nworkerY=25\n"
    "[Gate]\ntype=brokenPath\nsubType=bridge\nx=505\ny=400\nisObstacle=1\nobstacleXS=20\nobstacleYS=50\n"
    "isBroken=1\nangle=1.5\nPerson_Repair_Time=4000\nPerson_Repair_Time_Ore=3\nworkerType=Worker\n"
    "[Mill]\ntype=building\nsubType=OreGenerator\nx=800\ny=400\nsupportsAmount=2\nsupportX=-40\nsupport1X=40\n"
    "resource=Ore\nresourceValue=4\nresourceValue2=9\npersonVisibleState=3\n"
    "[Note]\ncomment=no type, no object\n";

std::vector<std::string> riverGrid() {
  std::vector<std::string> rows(kPathHeight, std::string(kPathWidth, '.'));
  for (int y = 0; y < kPathHeight; ++y)
    if (y < 35 || y > 44) rows[size_t(y)][50] = '#';
  return rows;
}
}  // namespace

TEST_F(MapLevel, ASmallDrawnLevelLoadsAlikeInBothForms) {
  std::string error;
  ASSERT_TRUE(testkit::WriteLevelFolder("small", kSmallLevel, riverGrid(), &error)) << error;
  // One level runs at a time: the events of the first are checked before the second is made.
  LevelHarness bin;
  bin.Record(Game::Event::BuildingReachable);
  ASSERT_TRUE(bin.Load("small", true));
  ASSERT_EQ(bin.map.Count(), 3u);
  EXPECT_EQ(bin.path.Flags(50, 40), 2);  // the gate's rectangle
  EXPECT_EQ(bin.path.BarnId(), bin.map.FindByTag(NameHash("Barn"))->id);
  EXPECT_EQ(bin.path.Pending(), (std::vector<int32_t>{bin.map.FindByTag(NameHash("Mill"))->id}));
  EXPECT_EQ(bin.CountOf(Game::Event::BuildingReachable), 0);
  const std::vector<MapObjectRecord> binRecords = recordsOf(bin.map);
  bin.map.Remove(bin.map.FindByTag(NameHash("Gate"))->id);
  EXPECT_EQ(bin.CountOf(Game::Event::BuildingReachable), 1);
  LevelHarness ini;
  ASSERT_TRUE(ini.Load("small", false));
  ASSERT_EQ(ini.map.Count(), 3u);
  EXPECT_TRUE(binRecords == recordsOf(ini.map));
  // The grid came from map.bin in both forms.
  EXPECT_EQ(ini.path.Flags(50, 10), 1);
  // As the game picks the form: "Game_No_Binary_Load" reads map.ini.
  gametest::writeFile("noBinary.ini", "[main]\nGame_No_Binary_Load=1\n");
  testSettingsLoad("noBinary.ini");
  std::filesystem::remove("small/map.bin");
  LevelHarness game;
  ASSERT_TRUE(game.LoadAsGame("small"));
  EXPECT_EQ(game.map.Count(), 3u);
  EXPECT_EQ(game.path.Flags(50, 10), 0);  // no map.bin: every cell passable
}

TEST_F(MapLevel, FamilyBlocksReadTheSameFromBothForms) {
  std::string error;
  ASSERT_TRUE(testkit::WriteLevelFolder("blocks", kSmallLevel, {}, &error)) << error;
  MapStream s;
  ASSERT_TRUE(s.Open("blocks/map.bin"));
  MapFile file;
  ASSERT_TRUE(mapParse(s, file)) << s.Error();
  ASSERT_EQ(file.objects.size(), 3u);
  const MapObjectRecord& barn = file.objects[0];
  const MapObjectRecord& gate = file.objects[1];
  const MapObjectRecord& mill = file.objects[2];
  // Subject block: worker type, 8 durations, 21 costs, visible state, name, delete flag, cursor.
  const size_t subject = 1 + 8 + 21 + 4;
  ASSERT_EQ(barn.extension.size(), subject + 9 + 4);
  EXPECT_EQ(barn.extension[subject + 9].i, -12);  // iconsX after the building block
  EXPECT_EQ(barn.extension[subject + 11].i, 40);  // workerX
  EXPECT_EQ(barn.extension[30].i, 8);              // no "personVisibleState": 8
  ASSERT_EQ(gate.extension.size(), subject + 8);
  EXPECT_EQ(gate.extension[0].s, "Worker");
  EXPECT_EQ(gate.extension[1 + 2].i, 4000);           // Person_Repair_Time
  EXPECT_EQ(gate.extension[9 + 3 + 1].i, 3);          // Repair (kind 2): Food, Ore, Gold after kind 1's three
  EXPECT_EQ(gate.extension[subject].i, 1);            // isBroken
  EXPECT_FLOAT_EQ(gate.extension[subject + 3].f, 1.5f);
  ASSERT_EQ(mill.extension.size(), subject + 9 + 6);
  EXPECT_EQ(mill.extension[30].i, 2);                 // "personVisibleState" 3 is stored as 2
  EXPECT_EQ(mill.extension[subject + 9].i, 2);        // "Ore"
  EXPECT_EQ(mill.extension[subject + 10].i, 4);
  EXPECT_EQ(mill.extension[subject + 11].i, 4);       // level 0 shares the key
  EXPECT_EQ(mill.extension[subject + 13].i, 9);
  // Dumped to map.ini and compiled again: the same bytes.
  std::string first, second;
  ASSERT_TRUE(mapSerialise(file, first, &error));
  gametest::writeFile("blocks2/map.ini", mapDumpIni(file, {}, nullptr));
  MapCompileInput in;
  in.iniPath = "blocks2/map.ini";
  MapFile again;
  ASSERT_TRUE(mapCompile(in, again, &error, nullptr)) << error;
  again.grid = file.grid;
  again.fog = file.fog;
  ASSERT_TRUE(mapSerialise(again, second, &error));
  EXPECT_TRUE(first == second);
  const std::string dumped = gametest::readFile("blocks2/map.ini");
  EXPECT_NE(dumped.find("resource=Ore"), std::string::npos);
  EXPECT_NE(dumped.find("personVisibleState=3"), std::string::npos);
}

TEST_F(MapLevel, FamiliesWithUnknownItemsAreRefusedNeverMisread) {
  // A plain object, then tentacles, made for this test a family whose record items nobody
  // describes (as every family was before its class was built); the table is put back after.
  const MapFamily& family = mapFamilyOf("tentacles", "");
  ASSERT_STREQ(family.className, "Map::cTentacles");
  struct Restore {
    std::vector<const MapExtension*> blocks;
    bool known;
    ~Restore() { mapRegisterBlocks("Map::cTentacles", blocks, known); }
  } restore{family.blocks, family.itemsKnown};
  ASSERT_TRUE(mapRegisterBlocks("Map::cTentacles", {}, false));
  gametest::Bytes b;
  b.i32(2);
  for (const char* type : {"simple", "tentacles"}) {
    b.str(type).str("").str(std::string(type) == "tentacles" ? "Arms1" : "Stone");
    b.i32(100).i32(100).f32(1.0f);
    for (int i = 0; i < 6; ++i) b.i32(0);
    b.i8(1);
    for (int i = 0; i < 6; ++i) b.i32(0);
    b.i8(0);
    for (int i = 0; i < 4; ++i) b.i32(0);
    b.i8(0);
    for (int i = 0; i < 5; ++i) b.i32(0);
    b.str("");
    for (int i = 0; i < 63; ++i) b.i32(0);
    b.i8(0);
    if (std::string(type) == "tentacles") b.i32(7).i32(7);  // its own items, which nobody can read
    b.str("");
  }
  b.b.append(kMapTailBytes, '\0');
  gametest::writeFile("data/maps/9/map.bin", b.b);
  LevelHarness h;
  EXPECT_FALSE(h.Load("data/maps/9", true));
  EXPECT_EQ(h.map.Count(), 1u);
  const std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("data/maps/9/map.bin"), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("\"Arms1\""), std::string::npos) << gerr;
  EXPECT_NE(gerr.find("Map::cTentacles"), std::string::npos) << gerr;

  // The INI form skips just that object, and the compiler will not write it.
  gametest::clearGerr();
  gametest::writeFile("data/maps/9/map.ini", "[Stone]\ntype=simple\n[Arms1]\ntype=tentacles\nx=5\n");
  LevelHarness i;
  EXPECT_TRUE(i.Load("data/maps/9", false));
  EXPECT_EQ(i.map.Count(), 1u);
  EXPECT_NE(gametest::gerrText().find("data/maps/9/map.ini [Arms1]"), std::string::npos);
  MapCompileInput in;
  in.iniPath = "data/maps/9/map.ini";
  MapFile out;
  std::string error;
  EXPECT_FALSE(mapCompile(in, out, &error, nullptr));
  EXPECT_NE(error.find("[Arms1]"), std::string::npos) << error;
  // A family whose block becomes known is read from then on.
  static const MapExtension kTentacleItems{"tentacles", {{MapItem::Int32, "power"}, {MapItem::Int32, "range"}}};
  ASSERT_TRUE(mapRegisterBlocks("Map::cTentacles", {&kTentacleItems}));
  LevelHarness again;
  EXPECT_TRUE(again.Load("data/maps/9", true));
  EXPECT_EQ(again.map.Count(), 2u);
}

TEST_F(MapLevel, DemoLevelLoadsInBothFormsAndFindsTheBarn) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  const std::string level = std::string(src) + "/demo/data/maps/1";
  std::vector<MapObjectRecord> binRecords;
  {
    LevelHarness bin;
    bin.Record(Game::Event::BuildingReachable);
    ASSERT_TRUE(bin.Load(level, true));
    EXPECT_GE(bin.map.Count(), 10u);
    binRecords = recordsOf(bin.map);
    const Map::cObject* barn = bin.map.FindByType("building", "barn");
    ASSERT_NE(barn, nullptr);
    EXPECT_EQ(barn->name, "Barn");
    EXPECT_EQ(bin.path.BarnId(), barn->id);
    EXPECT_TRUE(barn->Has(Map::kFlagClickable));
    // The cottage and the granary on the barn's bank are announced at once; the far bank waits
    // for the bridge: its garden is announced once the bridge is gone.
    EXPECT_EQ(bin.CountOf(Game::Event::BuildingReachable), 2);
    const size_t pending = bin.path.Pending().size();
    EXPECT_EQ(pending, 1u);
    bin.map.Remove(bin.map.FindByTag(NameHash("Food4"))->id);
    EXPECT_EQ(size_t(bin.CountOf(Game::Event::BuildingReachable)), 2 + pending);
    EXPECT_TRUE(bin.path.Pending().empty());
  }
  LevelHarness ini;
  ASSERT_TRUE(ini.Load(level, false));
  EXPECT_TRUE(binRecords == recordsOf(ini.map));
  EXPECT_EQ(ini.path.BarnId(), ini.map.FindByType("building", "barn")->id);
}
