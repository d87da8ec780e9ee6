// Helpers of the game-core tests: files written and read whole, gerr.log text, map.bin bytes put
// together by hand so the tests check the format and not our writer, and the end of a level
// played with sound.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/user_files.h"
#include "game/core/game_main.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/map_record.h"
#include "sound/sound.h"
#include "support/test_files.h"

namespace gametest {

// At the end of the scope of a test that plays a level with the sound system on: the level ends,
// and then the sound system.
struct LevelSoundDone {
  ~LevelSoundDone() {
    Game::EndLevel();
    sndDone();
  }
};

inline void writeFile(const std::string& path, const std::string& bytes) { testkit::writeFile(path, bytes); }
inline std::string readFile(const std::string& path) { return testkit::readFile(path); }

inline void clearGerr() {
  errorLogClose();
  std::filesystem::remove("gerr.log");
}

inline std::string gerrText() {
  errorLogClose();
  return readFile("gerr.log");
}

// A game folder named `name` whose user folder is `path`, emptied, with fresh user files and no
// player loaded: the menus' tests start from a first run of their own.
inline void freshUserFolder(const std::string& name, const std::string& path) {
  writeFile("game.ini", "[main]\nname=" + name + "\npath=" + path + "\n");
  iniFreeAll();
  fileInitPaths();
  std::filesystem::create_directories(fileUserFolder());
  for (const auto& e : std::filesystem::directory_iterator(fileUserFolder())) std::filesystem::remove_all(e.path());
  fileInitUserFiles();
  playersClear();
}

// A test that starts and ends with no cached INI documents, an empty gerr.log and every test
// switch off, so one test's settings never leak into the next.
struct CleanSlate : ::testing::Test {
  void SetUp() override {
    iniFreeAll();
    clearGerr();
    testSettingsLoad("none.ini");
  }
  void TearDown() override {
    testSettingsLoad("none.ini");
    iniFreeAll();
  }
};

// The records every object of the map fills, sorted by name, to compare maps read two ways.
inline std::vector<MapObjectRecord> recordsOf(const Map::cMap& map) {
  std::vector<MapObjectRecord> out;
  for (size_t i = 0; i < map.Count(); ++i) {
    MapObjectRecord r;
    map.At(i)->FillRecord(r);
    out.push_back(r);
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return out;
}

// Steps the harness until `done` holds; false when it still does not after `maxSteps` steps.
template <class Harness>
bool runUntil(Harness& h, const std::function<bool()>& done, int maxSteps = 2000) {
  for (int i = 0; i < maxSteps; ++i) {
    if (done()) return true;
    h.Advance(1);
  }
  return done();
}

// A clean slate for tests that run levels: persons walk at WorkerSpeed() pixels a millisecond and
// the level a test started is ended after it.
struct LevelSlate : CleanSlate {
  virtual const char* WorkerSpeed() const { return "0.4"; }
  void SetUp() override {
    CleanSlate::SetUp();
    writeFile("data/balance.ini", std::string("[Worker]\nvel=") + WorkerSpeed() + "\n");
  }
  void TearDown() override {
    Game::EndLevel();
    CleanSlate::TearDown();
  }
};

// Little-endian bytes, one item at a time.
struct Bytes {
  std::string b;
  Bytes& i32(int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(char((uint32_t(v) >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& f32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return i32(int32_t(u));
  }
  Bytes& i8(int v) {
    b.push_back(char(int8_t(v)));
    return *this;
  }
  Bytes& str(const std::string& s) {  // length, text, terminator
    b.push_back(char(s.size()));
    if (!s.empty()) {
      b += s;
      b.push_back('\0');
    }
    return *this;
  }
};
}  // namespace gametest
