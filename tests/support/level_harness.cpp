// Test support: a level's map with its path finder and no window.
#include "level_harness.h"

#include <filesystem>
#include <fstream>

#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/map_compile.h"
#include "game/core/map_tail.h"

namespace testkit {
namespace {
int32_t g_clock = 0;
int32_t harnessClock() { return g_clock; }
}  // namespace

MapGrid GridFromText(const std::vector<std::string>& rows) {
  MapGrid g;
  for (size_t r = 0; r < rows.size() && r < size_t(kGridRows); ++r)
    for (size_t c = 0; c < rows[r].size() && c < size_t(kGridColumns); ++c)
      g.cells[r][c] = rows[r][c] == '#' ? 1 : 0;
  return g;
}

bool WriteLevelFolder(const std::string& folder, const std::string& iniText, const std::vector<std::string>& grid,
                      std::string* error, bool withBinary) {
  std::filesystem::create_directories(folder);
  std::filesystem::remove(folder + "/map.bin");
  { std::ofstream(folder + "/map.ini", std::ios::binary) << iniText; }
  iniFreeAll();  // a document of the same name read before must not be served from the cache
  if (!withBinary) return true;
  MapCompileInput in;
  in.iniPath = folder + "/map.ini";
  MapFile map;
  if (!mapCompile(in, map, error, nullptr)) return false;
  map.grid = GridFromText(grid);
  std::string bytes;
  if (!mapSerialise(map, bytes, error)) return false;
  std::ofstream(folder + "/map.bin", std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  return true;
}

LevelHarness::LevelHarness() {
  m_previous = Game::eventDispatcher();
  Game::eventSetDispatcher(&dispatcher);
  factory.SetDispatcher(&dispatcher);
  factory.BeginLevel(&arena);
  map.SetDispatcher(&dispatcher);
  map.SetPathFinder(&path);
  g_clock = 0;
  path.SetClock(harnessClock);
}

LevelHarness::~LevelHarness() {
  map.Clear();
  factory.EndLevel();
  dispatcher.Forget(this);
  Game::eventSetDispatcher(m_previous);
}

bool LevelHarness::Load(const std::string& folder, bool binary) {
  return loader.Begin(folder, binary, map, path, factory) && loader.LoadAll();
}

bool LevelHarness::LoadAsGame(const std::string& folder) { return Load(folder, testSetting(TestSwitch::Game_No_Binary_Load) == 0); }

void LevelHarness::SetGrid(const std::vector<std::string>& rows) { path.LoadGrid(GridFromText(rows)); }

Map::cObject* LevelHarness::Add(std::string_view type, std::string_view subtype, std::string_view name, int x, int y) {
  Map::cObject* o = factory.Create(type, subtype);
  if (!o) return nullptr;
  o->SetName(name);
  o->SetAnchor({x, y});
  factory.RegisterEvents(*o);
  map.Add(o);
  return o;
}

void LevelHarness::MakeObstacle(Map::cObject& o, int cx, int cy, int hx, int hy) {
  o.obstacleCentre = {cx, cy};
  o.obstacleHalfSize = {hx, hy};
  o.SetObstacle(map, true);
}

void LevelHarness::Tick(int ms) {
  g_clock += ms;
  map.UpdateAllAnimations(ms);
  map.UpdateAndSweep(ms);
}

void LevelHarness::Record(Game::Event code) { Register(code, &dispatcher, this); }

int LevelHarness::CountOf(Game::Event code) const {
  int n = 0;
  for (const GameEvent& e : m_events) n += e.code == Game::Code(code);
  return n;
}

}  // namespace testkit
