// Helpers of the obstacle and pick-up tests: a level with a barn and workers on the left of a wall
// whose only gap can be blocked, run headless, with the objects found by name.
#pragma once
#include <string>
#include <vector>

#include "files/name_hash.h"
#include "game/core/level_context.h"
#include "game/core/map_level.h"
#include "game/core/map_stream.h"
#include "game_test_util.h"
#include "support/game_harness.h"
#include "support/level_harness.h"

namespace obstest {

struct Level : gametest::LevelSlate {
  const char* WorkerSpeed() const override { return "0.2"; }
};

// A wall of the level's own obstacles down column 50 (x 500 to 509) with one gap at rows 38 to 41
// (y 380 to 419).
inline std::vector<std::string> wallWithGap() {
  std::vector<std::string> rows;
  for (int r = 0; r < 77; ++r) {
    std::string row(103, '.');
    if (r < 38 || r > 41) row[50] = '#';
    rows.push_back(row);
  }
  return rows;
}

inline std::string balance(int workers, int food, int ore, int gold, const std::string& more = "") {
  return "[Main]\ntLevelTime=1000000\nMinuteTime=60000\n[Resources]\nWorker=" + std::to_string(workers) +
         "\nFood=" + std::to_string(food) + "\nOre=" + std::to_string(ore) + "\nGold=" + std::to_string(gold) +
         "\n[ResourceHarvest]\nFood=1\nOre=1\nGold=1\n" + more;
}

// The workers greet the player when the level starts and are free for orders after this many steps;
// load() runs them.
constexpr int kGreetSteps = 82;

constexpr const char* kBarn = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\n";

inline bool load(testkit::GameHarness& h, int n, const std::string& map, const std::string& bal,
                 const std::vector<std::string>& grid = {}) {
  testkit::LevelFiles f;
  f.balance = bal;
  f.map = std::string(kBarn) + map;
  f.grid = grid;
  std::string error;
  EXPECT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
  if (!h.Load(n)) return false;
  h.Action(1);  // the clock runs: orders are taken
  h.Advance(kGreetSteps);
  return true;
}

template <class T = Map::cObject>
T* byName(testkit::GameHarness& h, const char* name) {
  return dynamic_cast<T*>(h.map().FindByTag(NameHash(name)));
}

// Steps until the event has been posted `count` times; false when it did not happen in time.
inline bool runUntil(testkit::GameHarness& h, Game::Event code, int count = 1, int maxSteps = 2000) {
  return gametest::runUntil(h, [&] { return h.CountOf(code) >= count; }, maxSteps);
}

// The record of a map.ini section, and the same section compiled to map.bin and read back.
inline void bothForms(const std::string& folder, const std::string& ini, MapObjectRecord& fromIni,
                      MapObjectRecord& fromBin, const char* section) {
  std::string error;
  ASSERT_TRUE(testkit::WriteLevelFolder(folder, ini, {}, &error)) << error;
  ASSERT_TRUE(mapRecordFromIni((folder + "/map.ini").c_str(), section, fromIni));
  MapStream s;
  ASSERT_TRUE(s.Open((folder + "/map.bin").c_str()));
  MapFile file;
  ASSERT_TRUE(mapParse(s, file)) << s.Error();
  ASSERT_EQ(file.objects.size(), 1u);
  fromBin = file.objects[0];
}

// One object of a record round trip: its section name and its own keys.
struct RecordCase {
  const char* section;
  std::string keys;
};

// The case as a map.ini section at (10, 20), with the subject keys every case shares.
inline std::string recordSection(const RecordCase& c, const std::string& subject) {
  return std::string("[") + c.section + "]\nx=10\ny=20\n" + subject + c.keys;
}

// The case read from map.ini and from its compiled map.bin must give one record; that record.
inline MapObjectRecord sameInBothForms(const RecordCase& c, const std::string& subject) {
  MapObjectRecord a, b;
  bothForms(std::string("rt_") + c.section, recordSection(c, subject), a, b, c.section);
  EXPECT_TRUE(a == b);
  return a;
}

// The object of level n's section, after checking that the record it fills holds the same items
// as its map.ini section; null (a failure) when the section or the object is missing.
inline Map::cObject* filledAsRead(testkit::GameHarness& h, int n, const char* section) {
  MapObjectRecord fromIni, filled;
  const std::string path = "dataTest/maps/" + std::to_string(n) + "/map.ini";
  if (!mapRecordFromIni(path.c_str(), section, fromIni)) {
    ADD_FAILURE() << "no section " << section << " in " << path;
    return nullptr;
  }
  Map::cObject* o = byName(h, section);
  if (!o) {
    ADD_FAILURE() << "no object " << section;
    return nullptr;
  }
  o->FillRecord(filled);
  EXPECT_EQ(filled.extension, fromIni.extension);
  return o;
}
}  // namespace obstest
