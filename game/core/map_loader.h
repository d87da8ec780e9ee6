// Loading a level's map into a cMap and its path finder in steps, one object per step, as the
// staged level loader and the tests use it: N object steps, the grid, an idle step, then the fog
// and the map's post-load (obstacles, parents, the path finder's start).
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/core/map_level.h"
#include "game/core/map_stream.h"
#include "game/core/map_tail.h"

class cPathFinder;
namespace Map {
class cMap;
class cObjectFactory;
}  // namespace Map

class cMapLoader {
 public:
  cMapLoader();
  ~cMapLoader();

  // Opens the map of a level folder: map.bin when present (binary mode needs it; INI mode takes
  // only its grid and fog), and in INI mode the section list of map.ini. False when the level
  // cannot load (reported in gerr.log).
  bool Begin(const std::string& folder, bool binary, Map::cMap& map, cPathFinder& pathFinder,
             Map::cObjectFactory& factory);
  int StepCount() const { return m_steps; }  // N + 3
  int ObjectSteps() const { return m_steps - 3; }
  // One load step; false once the map cannot be read further (a binary record was refused or
  // damaged). An INI object refused for its family is skipped.
  bool Step(int i);
  // Every step in order.
  bool LoadAll();
  bool Failed() const { return m_failed; }
  bool HasTail() const { return m_stream.IsOpen(); }
  const MapFog& Fog() const { return *m_fog; }
  // True once the last step has read the fog: from map.bin, or in INI mode without one from the
  // level's "fog.png".
  bool HasFog() const { return m_hasFog; }
  const std::string& MapPath() const { return m_path; }
  // Called at the last step once the fog is read (null: the level has none) and before the map's
  // post-load, so the objects that look at the fog as the map starts see the level's own.
  void SetOnFogRead(std::function<void(const MapFog*)> onFogRead) { m_onFogRead = std::move(onFogRead); }

 private:
  MapStream m_stream;
  MapSectionList m_sections;
  std::unique_ptr<MapFog> m_fog;
  MapGrid m_grid;
  std::string m_path, m_iniPath;
  bool m_binary = true;
  bool m_failed = false;
  bool m_hasFog = false;
  int m_steps = 0;
  Map::cMap* m_map = nullptr;
  cPathFinder* m_pathFinder = nullptr;
  Map::cObjectFactory* m_factory = nullptr;
  std::function<void(const MapFog*)> m_onFogRead;
};
