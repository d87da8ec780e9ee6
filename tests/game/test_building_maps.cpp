// Buildings through the map compiler and both loaders: a barn, a site and an upgraded building go
// from map.ini to map.bin and back to the same records, are dumped to map.ini and read again alike,
// and loading the same level from either form gives the same building objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/map_compile.h"
#include "game/core/map_level.h"
#include "game/core/map_stream.h"
#include "game/objects/building.h"
#include "game/objects/production_register.h"
#include "game/objects/production_register.h"
#include "game_test_util.h"
#include "support/level_harness.h"

using testkit::LevelHarness;

namespace {
struct BuildingMaps : gametest::CleanSlate {};

const char* kLevel =
    "[Barn]\ntype=building\nsubType=barn\nx=150\ny=400\nboundXS=40\nboundYS=30\nupgradeLevelMax=2\n"
    "upgradeLevel=1\nupgradeTabletDeltaX=-20\nupgradeTabletDeltaY=35\niconsX=-12\nworkerX=40\nworkerY=25\n"
    "Person_Uprade_Time=3000\nPerson_Uprade_Time_Food=6\n"
    "[Site]\ntype=building\nsubType=Cottage\nx=400\ny=300\nstate=1\nupgradeLevelMax=1\nname=#COTTAGE\n"
    "workerType=Worker\nPerson_Build_Time=4000\nPerson_Build_Time_Food=10\nPerson_Build_Time_Ore=5\n"
    "anim7=0x00001234\n"
    "[Granary]\ntype=building\nsubType=Granary\nx=700\ny=250\nisBreak=1\nupgradeLevel=2\nupgradeLevelMax=3\n"
    "state=0\nPerson_Uprade2_Time=5000\nPerson_Uprade2_Time_Gold=3\nPerson_Repair_Time_Ore=2\ncursor=4\n";

// The building block follows the subject block: 34 items.
constexpr size_t kSubject = 1 + 8 + 21 + 4;

using gametest::recordsOf;
}  // namespace

TEST_F(BuildingMaps, CompiledBackAndDumpedBackToTheSameRecords) {
  gametest::writeFile("bmap/map.ini", kLevel);
  MapCompileInput in;
  in.iniPath = "bmap/map.ini";
  MapFile compiled;
  std::string error;
  ASSERT_TRUE(mapCompile(in, compiled, &error, nullptr)) << error;
  ASSERT_EQ(compiled.objects.size(), 3u);
  std::string bytes;
  ASSERT_TRUE(mapSerialise(compiled, bytes, &error)) << error;
  MapStream s;
  s.OpenMemory(bytes.data(), bytes.size(), "bmap.bin");
  MapFile back;
  ASSERT_TRUE(mapParse(s, back)) << s.Error();
  ASSERT_EQ(back.objects.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(back.objects[i] == compiled.objects[i]) << i;

  // The values land where the binary form keeps them (third of three: the break flag; second of
  // two: the tablet's x).
  const MapObjectRecord& barn = back.objects[0];
  const MapObjectRecord& site = back.objects[1];
  const MapObjectRecord& granary = back.objects[2];
  ASSERT_EQ(barn.extension.size(), kSubject + 9 + 4);
  EXPECT_EQ(barn.extension[kSubject + 3].i, 1);    // upgradeLevel
  EXPECT_EQ(barn.extension[kSubject + 4].i, 2);    // upgradeLevelMax
  EXPECT_EQ(barn.extension[kSubject + 5].i, 0);
  EXPECT_EQ(barn.extension[kSubject + 6].i, -20);  // tablet x
  EXPECT_EQ(barn.extension[kSubject + 7].i, 35);
  EXPECT_EQ(barn.extension[kSubject + 9].i, -12);  // the barn's own items follow
  ASSERT_EQ(site.extension.size(), kSubject + 9);  // any other subtype: subject and building only
  EXPECT_EQ(site.extension[kSubject + 8].i, 1);    // NotBuilt
  EXPECT_EQ(site.extension[0].s, "Worker");
  EXPECT_EQ(granary.extension[kSubject + 2].i, 1);  // isBreak
  EXPECT_EQ(granary.extension[kSubject + 3].i, 2);

  // Dumped as map.ini and compiled again: the same bytes.
  gametest::writeFile("bmap2/map.ini", mapDumpIni(back, {}, nullptr));
  in.iniPath = "bmap2/map.ini";
  MapFile again;
  ASSERT_TRUE(mapCompile(in, again, &error, nullptr)) << error;
  again.grid = back.grid;
  again.fog = back.fog;
  std::string bytes2;
  ASSERT_TRUE(mapSerialise(again, bytes2, &error));
  EXPECT_TRUE(bytes == bytes2);
  const std::string dumped = gametest::readFile("bmap2/map.ini");
  EXPECT_NE(dumped.find("upgradeTabletDeltaX=-20"), std::string::npos) << dumped;
  EXPECT_NE(dumped.find("state=1"), std::string::npos);
}

TEST_F(BuildingMaps, BinaryAndIniLoadingGiveTheSameBuildings) {
  std::string error;
  ASSERT_TRUE(testkit::WriteLevelFolder("bsame", kLevel, {}, &error)) << error;
  std::vector<MapObjectRecord> fromBinary;
  struct Seen {
    int32_t state, level, levelMax, canBreak;
    Map::IntPoint tablet;
    Map::ResourceVector build, upgrade2;
    int32_t cursor;
    bool operator==(const Seen&) const = default;
  };
  auto seen = [](const Map::cMap& map) {
    std::vector<Seen> out;
    for (const char* n : {"Barn", "Site", "Granary"}) {
      auto* b = dynamic_cast<Map::cBuilding*>(map.FindByTag(NameHash(n)));
      if (!b) {
        ADD_FAILURE() << n << " is not a building";
        return out;
      }
      out.push_back({b->state, b->upgradeLevel, b->upgradeLevelMax, b->canBreak, b->upgradeTabletOffset,
                     b->Cost(Map::OperationKind::Build), b->Cost(Map::OperationKind::Upgrade2), b->GetCursor()});
    }
    return out;
  };
  std::vector<Seen> binarySeen;
  {
    LevelHarness bin;
    Map::productionRegisterClasses(bin.factory);
    Map::buildingRegisterClasses(bin.factory);
    ASSERT_TRUE(bin.Load("bsame", true));
    ASSERT_EQ(bin.map.Count(), 3u);
    fromBinary = recordsOf(bin.map);
    binarySeen = seen(bin.map);
  }
  LevelHarness ini;
  Map::productionRegisterClasses(ini.factory);
  Map::buildingRegisterClasses(ini.factory);
  ASSERT_TRUE(ini.Load("bsame", false));
  ASSERT_EQ(ini.map.Count(), 3u);
  const std::vector<MapObjectRecord> fromIni = recordsOf(ini.map);
  ASSERT_EQ(fromIni.size(), fromBinary.size());
  for (size_t i = 0; i < fromIni.size(); ++i) EXPECT_TRUE(fromIni[i] == fromBinary[i]) << fromIni[i].name;
  const std::vector<Seen> iniSeen = seen(ini.map);
  EXPECT_TRUE(iniSeen == binarySeen);
  ASSERT_EQ(iniSeen.size(), 3u);
  EXPECT_EQ(iniSeen[1].state, 1);
  EXPECT_EQ(iniSeen[1].build, (Map::ResourceVector{0, 10, 5, 0}));
  EXPECT_EQ(iniSeen[2].level, 2);  // loading never upgrades again
  EXPECT_EQ(iniSeen[2].upgrade2, (Map::ResourceVector{0, 0, 0, 3}));
  EXPECT_EQ(iniSeen[0].tablet, (Map::IntPoint{-20, 35}));

  // Saved to map.ini by the objects themselves and read back: the same records again.
  std::string saved;
  for (size_t i = 0; i < ini.map.Count(); ++i) ini.map.At(i)->SaveIni(saved);
  gametest::writeFile("bsaved/map.ini", saved);
  LevelHarness reread;
  Map::productionRegisterClasses(reread.factory);
  Map::buildingRegisterClasses(reread.factory);
  ASSERT_TRUE(reread.Load("bsaved", false));
  const std::vector<MapObjectRecord> fromSaved = recordsOf(reread.map);
  ASSERT_EQ(fromSaved.size(), fromIni.size());
  for (size_t i = 0; i < fromSaved.size(); ++i) EXPECT_TRUE(fromSaved[i] == fromIni[i]) << fromSaved[i].name;
}

TEST_F(BuildingMaps, BadStatesAndLevelsAreNamedAndMended) {
  gametest::writeFile("bbad/map.ini",
                      "[Odd]\ntype=building\nsubType=House\nstate=7\nupgradeLevel=5\nupgradeLevelMax=2\n"
                      "[Old]\ntype=building\nsubType=House\nstate=14\n"
                      "[Neg]\ntype=building\nsubType=House\nupgradeLevelMax=-3\nupgradeLevel=-1\n");
  LevelHarness h;
  Map::productionRegisterClasses(h.factory);
  Map::buildingRegisterClasses(h.factory);
  ASSERT_TRUE(h.Load("bbad", false));
  auto* odd = dynamic_cast<Map::cBuilding*>(h.map.FindByTag(NameHash("Odd")));
  auto* old = dynamic_cast<Map::cBuilding*>(h.map.FindByTag(NameHash("Old")));
  auto* neg = dynamic_cast<Map::cBuilding*>(h.map.FindByTag(NameHash("Neg")));
  ASSERT_TRUE(odd && old && neg);
  EXPECT_EQ(odd->state, 0);
  EXPECT_EQ(odd->upgradeLevel, 2);
  EXPECT_EQ(old->state, 0);
  EXPECT_EQ(neg->upgradeLevelMax, 0);
  EXPECT_EQ(neg->upgradeLevel, 0);
  const std::string gerr = gametest::gerrText();
  EXPECT_NE(gerr.find("Building \"Odd\": state 7 is not a building state; read as 0 (Built)"), std::string::npos)
      << gerr;
  EXPECT_NE(gerr.find("Building \"Odd\": upgradeLevel 5 lies outside 0 to 2; read as 2"), std::string::npos);
  EXPECT_NE(gerr.find("Building \"Neg\": upgradeLevelMax -3 is below 0; read as 0"), std::string::npos);
  EXPECT_EQ(gerr.find("\"Old\""), std::string::npos);
}
