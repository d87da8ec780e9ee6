// Test support: a level's map with its path finder and no window. Tests draw small maps as text
// (a grid of '.' and '#' cells and map.ini sections), load them in either form as the game does
// ("Game_No_Binary_Load" picks map.ini), place objects by hand, record events and run update ticks.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/core/events.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/map_loader.h"
#include "game/core/path_finder.h"

struct MapGrid;

namespace testkit {

// A grid drawn as rows of text: '#' is the level's own obstacle (bit 0), anything else open. Row 0
// is the top row of cells; rows and columns missing from the drawing are open.
MapGrid GridFromText(const std::vector<std::string>& rows);

// Writes a level folder: map.ini with `iniText`, and map.bin compiled from it with the drawn grid
// (unless `withBinary` is false). False with `error` set when the map does not compile.
bool WriteLevelFolder(const std::string& folder, const std::string& iniText, const std::vector<std::string>& grid,
                      std::string* error, bool withBinary = true);

class LevelHarness : public Game::cObserver {
 public:
  // A fresh level: its own dispatcher (made the level's), factory, arena, map and path finder.
  // The path finder's cache ages by the harness's own clock, advanced by Tick. As in the game, one
  // level runs at a time: objects post to the newest harness's dispatcher.
  LevelHarness();
  ~LevelHarness() override;

  // Loads the map of a level folder in binary (map.bin) or INI (map.ini, grid and fog from
  // map.bin when present) form, all steps at once.
  bool Load(const std::string& folder, bool binary);
  // As the game chooses: INI when the test setting "Game_No_Binary_Load" is on.
  bool LoadAsGame(const std::string& folder);

  // Puts the drawn grid's static obstacles on the path finder.
  void SetGrid(const std::vector<std::string>& rows);
  // A new object through the factory, named and placed, added to the map.
  Map::cObject* Add(std::string_view type, std::string_view subtype, std::string_view name, int x, int y);
  // Gives an object a rectangle it blocks (relative to its anchor) and marks it on the grid.
  void MakeObstacle(Map::cObject& o, int cx, int cy, int hx, int hy);
  // The map's post-load: obstacles, parents, the path finder's start.
  void Ready() { map.OnLoaded(); }
  // One update step of the map objects.
  void Tick(int ms = 25);

  // Events of the codes asked for are recorded in order.
  void Record(Game::Event code);
  const std::vector<GameEvent>& Events() const { return m_events; }
  int CountOf(Game::Event code) const;
  void OnEvent(GameEvent& e) override { m_events.push_back(e); }

  Game::cEventDispatcher dispatcher;
  Map::cObjectFactory factory;
  Map::cObjectArena arena;
  Map::cMap map;
  cPathFinder path;
  cMapLoader loader;

 private:
  std::vector<GameEvent> m_events;
  Game::cEventDispatcher* m_previous = nullptr;
};

}  // namespace testkit
