// The path finder of a level: a grid of 10 x 10 pixel cells over the 1024 x 768 map, an A* search
// on it, routes smoothed where straight lines are free, a cache of routes in both directions, the
// objects that block a search, and the announcement of buildings that become reachable from the
// barn. One exists per level.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/core/path_cache.h"
#include "game/core/path_route.h"

struct MapGrid;
namespace Map {
class cMap;
class cObject;
}  // namespace Map

constexpr int kPathWidth = 1024 / 10 + 1;   // 103 columns
constexpr int kPathHeight = 768 / 10 + 1;   // 77 rows
constexpr uint8_t kPathStaticBit = 0x1;     // the level's own obstacles (map.bin)
constexpr uint8_t kPathObjectBit = 0x2;     // covered by an object's obstacle rectangle
constexpr uint8_t kPathMaskStandard = 3;
constexpr uint8_t kPathMaskStaticOnly = 1;
// RouteLength and ObjectDistance of a point nobody can walk to.
constexpr int32_t kPathUnreachable = -1;

struct PathCellPos {
  int16_t x = 0, y = 0;
  bool operator==(const PathCellPos&) const = default;
};

class cPathFinder {
 public:
  using Clock = int32_t (*)();

  cPathFinder();
  ~cPathFinder();
  cPathFinder(const cPathFinder&) = delete;
  cPathFinder& operator=(const cPathFinder&) = delete;

  // ---- Grid ---------------------------------------------------------------------------------
  // ORs the low 7 bits of the level's grid into the cells' flags.
  void LoadGrid(const MapGrid& grid);
  uint8_t Flags(int cx, int cy) const;  // 0 outside the grid
  void SetFlags(int cx, int cy, uint8_t flags);
  int32_t Owner(int cx, int cy) const;  // the object whose obstacle covers the cell, or -1
  static PathCellPos CellOf(PathPoint p) { return {int16_t(p.x / 10), int16_t(p.y / 10)}; }
  static PathPoint CentreOf(PathCellPos c) { return {c.x * 10 + 5, c.y * 10 + 5}; }
  bool IsFree(PathPoint p, uint8_t mask) const;
  // A straight line walked pixel by pixel, every pixel's cell free under the mask.
  bool LineFree(PathPoint a, PathPoint b, uint8_t mask) const;

  // Sets or clears the object's obstacle rectangle. A cell stays blocked while any obstacle still
  // covers it. Clears the cache; clearing re-checks the pending buildings.
  void MarkObstacleRect(const Map::cObject& object, bool set);

  // ---- Searches -----------------------------------------------------------------------------
  // A* over cells (8 neighbours, costs 10 and 14, the outer ring never entered). Blocking objects
  // met on the way are added to `blockers` (ids, no repeats) when given.
  bool FindCellPath(PathCellPos start, PathCellPos goal, uint8_t mask, std::vector<int32_t>* blockers,
                    std::vector<PathCellPos>& path);
  // The smoothed pixel route, from the cache when it holds one. False (and an empty route) when
  // there is no way.
  bool FindRoute(PathPoint from, PathPoint to, uint8_t mask, std::vector<int32_t>* blockers, PathRoute& out);
  PathRoute FindRoute(PathPoint from, PathPoint to, uint8_t mask = kPathMaskStandard);
  // 0 for equal points, kPathUnreachable without a route, else the sum of the segments' lengths,
  // each truncated.
  int32_t RouteLength(PathPoint from, PathPoint to, uint8_t mask);
  // From the source's support point 0 to the target's support point `support` (limited to its
  // count), or with -1 to its nearest reachable one.
  bool FindRouteToObject(const Map::cObject& source, const Map::cObject& target, int support, PathRoute& out);
  // RouteLength from the source's anchor to the target's nearest reachable support point;
  // kPathUnreachable when none can be reached or either object is missing.
  int32_t ObjectDistance(const Map::cObject* source, const Map::cObject* target);
  // The candidate with the smallest ObjectDistance from the source; unreachable ones never win,
  // ties keep the earlier one. -1 when none can be reached.
  int NearestObject(const Map::cObject* source, const std::vector<const Map::cObject*>& candidates);
  // The mask persons walk with: object obstacles count unless "Came_Map_Ignore_Path_Obstacles".
  static uint8_t PersonMask();

  // ---- Cache --------------------------------------------------------------------------------
  void ClearCache() { m_cache.Clear(); }
  void SetCacheEnabled(bool on) { m_cacheDisabled = !on; }
  bool CacheEnabled() const { return !m_cacheDisabled; }
  const cPathCache& Cache() const { return m_cache; }
  // The clock that ages cache entries: the game's step clock unless a test gives another.
  void SetClock(Clock clock) { m_clock = clock; }

  // ---- Level start --------------------------------------------------------------------------
  // Finds the barn, fills the cache with the routes to bonuses and broken paths, and announces
  // every building already reachable (event 48); the others wait in the pending list.
  void Start(Map::cMap& map);
  void RecheckPending();
  int32_t BarnId() const { return m_barnId; }
  const std::vector<int32_t>& Pending() const { return m_pending; }

  // ---- Statistics and debug drawing -----------------------------------------------------------
  uint64_t Searches() const { return m_searches; }
  uint64_t CacheHits() const { return m_cacheHits; }
  uint64_t Expansions() const { return m_expansions; }  // cells taken off the open list
  void DrawGrid() const;             // "Game_Map_Show_Path_Find_Grid"
  void DrawCacheStatistics() const;  // "Game_Map_Show_Path_Cache"

 private:
  struct ObstacleRect {
    int32_t id;
    int cx0, cx1, cy0, cy1;  // inclusive cell ranges; empty when cx1 < cx0
  };
  struct OpenEntry {
    int32_t f, g, cell;
  };
  static int Index(int cx, int cy) { return cy * kPathWidth + cx; }
  bool CellFree(int cx, int cy, uint8_t mask) const;
  void RecountCells(const ObstacleRect& r);
  void Smooth(const std::vector<PathCellPos>& cells, uint8_t mask, PathRoute& out) const;
  void HeapPush(OpenEntry e);
  OpenEntry HeapPop();
  void HeapUp(size_t i);
  void HeapDown(size_t i);

  // Persistent cell state.
  std::vector<uint8_t> m_flags;
  std::vector<int32_t> m_owner;
  // Search state of a cell, valid while its stamp equals the current search's; kept together so a
  // search touches one cache line per cell.
  struct Node {
    uint32_t stamp = 0;
    int32_t g = 0;
    int32_t parent = -1;
    int32_t heapPos = -1;  // index in the open list; kClosed once expanded; -1 neither
  };
  static constexpr int32_t kClosed = -2;
  std::vector<Node> m_nodes;
  uint32_t m_search = 0;
  std::vector<OpenEntry> m_open;
  std::vector<PathCellPos> m_cells;  // scratch path of FindRoute
  std::vector<PathPoint> m_points;   // scratch points of the smoothing

  std::vector<ObstacleRect> m_obstacles;
  cPathCache m_cache;
  bool m_cacheDisabled = false;
  Clock m_clock = nullptr;

  Map::cMap* m_map = nullptr;
  int32_t m_barnId = -1;
  std::vector<int32_t> m_pending;
  uint64_t m_searches = 0, m_cacheHits = 0, m_expansions = 0;
};
