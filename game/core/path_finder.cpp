// Grid, A*, smoothing, routes to objects and the level start of the path finder.
#include "game/core/path_finder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/map.h"
#include "game/core/map_object.h"
#include "game/core/map_tail.h"

namespace {
constexpr int kCells = kPathWidth * kPathHeight;

struct Step {
  int dx, dy, cost;
};
constexpr Step kNeighbours[8] = {{0, -1, 10}, {0, 1, 10},  {-1, 0, 10}, {1, 0, 10},
                                 {-1, -1, 14}, {-1, 1, 14}, {1, -1, 14}, {1, 1, 14}};

// The octile distance in step costs: exact on an open grid and never more than the true cost, so
// the search stays optimal and expands far fewer cells than a Euclidean count of cells would.
int32_t heuristic(int x, int y, int gx, int gy) {
  const int dx = std::abs(gx - x), dy = std::abs(gy - y);
  return 10 * std::max(dx, dy) + 4 * std::min(dx, dy);
}

int floorDiv10(int v) { return v >= 0 ? v / 10 : -((-v + 9) / 10); }

// Pops the lowest f first; among equal f the deeper entry (larger g), which keeps a search on an
// open field from fanning out over every equally good cell.
bool before(int32_t fa, int32_t ga, int32_t fb, int32_t gb) { return fa < fb || (fa == fb && ga > gb); }
}  // namespace

cPathFinder::cPathFinder()
    : m_flags(kCells, 0),
      m_owner(kCells, -1),
      m_nodes(kCells),
      m_clock(gameClock) {
  m_open.reserve(100);
  m_cells.reserve(400);
  m_points.reserve(400);
}

cPathFinder::~cPathFinder() = default;

void cPathFinder::LoadGrid(const MapGrid& grid) {
  for (int cy = 0; cy < kPathHeight; ++cy)
    for (int cx = 0; cx < kPathWidth; ++cx) m_flags[size_t(Index(cx, cy))] |= grid.cells[cy][cx] & 0x7F;
  m_cache.Clear();
}

uint8_t cPathFinder::Flags(int cx, int cy) const {
  if (cx < 0 || cy < 0 || cx >= kPathWidth || cy >= kPathHeight) return 0;
  return m_flags[size_t(Index(cx, cy))];
}

void cPathFinder::SetFlags(int cx, int cy, uint8_t flags) {
  if (cx < 0 || cy < 0 || cx >= kPathWidth || cy >= kPathHeight) return;
  m_flags[size_t(Index(cx, cy))] = flags;
  m_cache.Clear();
}

int32_t cPathFinder::Owner(int cx, int cy) const {
  if (cx < 0 || cy < 0 || cx >= kPathWidth || cy >= kPathHeight) return -1;
  return m_owner[size_t(Index(cx, cy))];
}

bool cPathFinder::CellFree(int cx, int cy, uint8_t mask) const {
  if (cx < 0 || cy < 0 || cx >= kPathWidth || cy >= kPathHeight) return true;
  return (m_flags[size_t(Index(cx, cy))] & mask & 0x7F) == 0;
}

bool cPathFinder::IsFree(PathPoint p, uint8_t mask) const { return CellFree(floorDiv10(p.x), floorDiv10(p.y), mask); }

bool cPathFinder::LineFree(PathPoint a, PathPoint b, uint8_t mask) const {
  // Walk the major axis a cell at a time: within one cell of the major axis the minor coordinate
  // moves monotonically by at most one pixel per pixel, so the cells it crosses there are exactly
  // those between its values at the two ends of the stretch.
  const bool steep = std::abs(b.y - a.y) > std::abs(b.x - a.x);
  // Walked from the end with the smaller major coordinate: a line and its reverse are one line.
  if (steep ? a.y > b.y : a.x > b.x) std::swap(a, b);
  const int au = steep ? a.y : a.x, av = steep ? a.x : a.y;
  const int bu = steep ? b.y : b.x, bv = steep ? b.x : b.y;
  const int du = bu - au, dv = bv - av;
  auto cellFree = [&](int u, int v) {
    return steep ? CellFree(floorDiv10(v), floorDiv10(u), mask) : CellFree(floorDiv10(u), floorDiv10(v), mask);
  };
  if (du == 0) return cellFree(au, av);
  const int su = du > 0 ? 1 : -1;
  auto vAt = [&](int u) { return av + int(std::floor(double(u - au) * dv / du + 0.5)); };
  int u = au;
  for (;;) {
    const int cu = floorDiv10(u);
    const int uEnd = su > 0 ? std::min(bu, cu * 10 + 9) : std::max(bu, cu * 10);
    int v0 = floorDiv10(vAt(u)), v1 = floorDiv10(vAt(uEnd));
    if (v0 > v1) std::swap(v0, v1);
    for (int cv = v0; cv <= v1; ++cv)
      if (!(steep ? CellFree(cv, cu, mask) : CellFree(cu, cv, mask))) return false;
    if (uEnd == bu) return true;
    u = uEnd + su;
  }
}

void cPathFinder::RecountCells(const ObstacleRect& r) {
  for (int cy = r.cy0; cy <= r.cy1; ++cy)
    for (int cx = r.cx0; cx <= r.cx1; ++cx) {
      int32_t owner = -1;
      for (const ObstacleRect& o : m_obstacles)
        if (cx >= o.cx0 && cx <= o.cx1 && cy >= o.cy0 && cy <= o.cy1) owner = o.id;  // the latest marking owns it
      const size_t i = size_t(Index(cx, cy));
      m_owner[i] = owner;
      m_flags[i] = owner >= 0 ? (m_flags[i] | kPathObjectBit) : (m_flags[i] & ~kPathObjectBit);
    }
}

void cPathFinder::MarkObstacleRect(const Map::cObject& o, bool set) {
  // The rectangle [x + cx - hx, x + cx + hx) by [y + cy - hy, y + cy + hy), clamped to the map, is
  // walked in steps of 5 pixels: every cell from the first pixel's to the last pixel's.
  auto range = [](int lo, int hi, int limit, int& c0, int& c1) {
    lo = std::clamp(lo, 0, limit);
    hi = std::clamp(hi, 0, limit);
    if (hi <= lo) {
      c0 = 0;
      c1 = -1;
      return;
    }
    const int last = lo + (hi - 1 - lo) / 5 * 5;
    c0 = std::min(lo / 10, kPathWidth - 1);
    c1 = last / 10;
  };
  const int ax = int(o.x) + o.obstacleCentre.x, ay = int(o.y) + o.obstacleCentre.y;
  ObstacleRect r{o.id, 0, -1, 0, -1};
  range(ax - o.obstacleHalfSize.x, ax + o.obstacleHalfSize.x, 1024, r.cx0, r.cx1);
  range(ay - o.obstacleHalfSize.y, ay + o.obstacleHalfSize.y, 768, r.cy0, r.cy1);
  r.cx1 = std::min(r.cx1, kPathWidth - 1);
  r.cy1 = std::min(r.cy1, kPathHeight - 1);
  r.cy0 = std::min(r.cy0, kPathHeight - 1);

  // An object marks one rectangle at a time: marking again moves it.
  auto old = std::find_if(m_obstacles.begin(), m_obstacles.end(), [&](const ObstacleRect& e) { return e.id == o.id; });
  if (old != m_obstacles.end()) {
    ObstacleRect was = *old;
    m_obstacles.erase(old);
    RecountCells(was);
  }
  if (set) {
    m_obstacles.push_back(r);
    RecountCells(r);
  }
  m_cache.Clear();
  if (!set && m_barnId >= 0) RecheckPending();
}

uint8_t cPathFinder::PersonMask() { return testSetting(TestSwitch::Game_Map_Ignore_Path_Obstacles) ? kPathMaskStaticOnly : kPathMaskStandard; }

// ---- A* ---------------------------------------------------------------------------------------

void cPathFinder::HeapUp(size_t i) {
  const OpenEntry e = m_open[i];
  while (i > 0) {
    const size_t p = (i - 1) / 2;
    if (!before(e.f, e.g, m_open[p].f, m_open[p].g)) break;
    m_open[i] = m_open[p];
    m_nodes[size_t(m_open[i].cell)].heapPos = int32_t(i);
    i = p;
  }
  m_open[i] = e;
  m_nodes[size_t(e.cell)].heapPos = int32_t(i);
}

void cPathFinder::HeapDown(size_t i) {
  const OpenEntry e = m_open[i];
  const size_t n = m_open.size();
  for (;;) {
    size_t c = 2 * i + 1;
    if (c >= n) break;
    if (c + 1 < n && before(m_open[c + 1].f, m_open[c + 1].g, m_open[c].f, m_open[c].g)) ++c;
    if (!before(m_open[c].f, m_open[c].g, e.f, e.g)) break;
    m_open[i] = m_open[c];
    m_nodes[size_t(m_open[i].cell)].heapPos = int32_t(i);
    i = c;
  }
  m_open[i] = e;
  m_nodes[size_t(e.cell)].heapPos = int32_t(i);
}

void cPathFinder::HeapPush(OpenEntry e) {
  m_open.push_back(e);
  HeapUp(m_open.size() - 1);
}

cPathFinder::OpenEntry cPathFinder::HeapPop() {
  const OpenEntry top = m_open.front();
  m_nodes[size_t(top.cell)].heapPos = kClosed;  // popped cells are expanded or end the search
  const OpenEntry last = m_open.back();
  m_open.pop_back();
  if (!m_open.empty()) {
    m_open[0] = last;
    HeapDown(0);
  }
  return top;
}

bool cPathFinder::FindCellPath(PathCellPos s, PathCellPos g, uint8_t mask, std::vector<int32_t>* blockers,
                               std::vector<PathCellPos>& path) {
  path.clear();
  if (s.x < 0 || s.y < 0 || s.x >= kPathWidth || s.y >= kPathHeight || g.x < 0 || g.y < 0 || g.x >= kPathWidth ||
      g.y >= kPathHeight)
    return false;
  if (s == g) {
    path = {s, g};
    return true;
  }
  ++m_searches;
  if (++m_search == 0) {  // the stamps wrapped: start them afresh
    for (Node& n : m_nodes) n.stamp = 0;
    m_search = 1;
  }
  m_open.clear();
  const int goal = Index(g.x, g.y);
  const int start = Index(s.x, s.y);
  m_nodes[size_t(start)] = Node{m_search, 0, -1, -1};
  HeapPush({heuristic(s.x, s.y, g.x, g.y), 0, start});
  const uint8_t blockMask = mask & 0x7F;
  bool found = false;
  while (!m_open.empty()) {
    const OpenEntry cur = HeapPop();
    ++m_expansions;
    if (cur.cell == goal) {
      found = true;
      break;
    }
    const int cx = cur.cell % kPathWidth, cy = cur.cell / kPathWidth;
    const int32_t gc = m_nodes[size_t(cur.cell)].g;
    for (const Step& st : kNeighbours) {
      const int nx = cx + st.dx, ny = cy + st.dy;
      if (nx <= 0 || ny <= 0 || nx >= kPathWidth - 1 || ny >= kPathHeight - 1) continue;
      const int n = Index(nx, ny);
      Node& node = m_nodes[size_t(n)];
      if (node.stamp == m_search && node.heapPos == kClosed) continue;
      const uint8_t f = m_flags[size_t(n)];
      if (f & blockMask) {
        if (blockers && (f & kPathObjectBit)) {
          const int32_t owner = m_owner[size_t(n)];
          if (owner >= 0 && std::find(blockers->begin(), blockers->end(), owner) == blockers->end())
            blockers->push_back(owner);
        }
        continue;
      }
      // No squeezing past a corner: a diagonal step needs both cells beside it open, or the walker
      // would cross a blocked cell's corner (a one-cell diagonal wall would leak).
      if (st.dx && st.dy &&
          ((m_flags[size_t(Index(cx + st.dx, cy))] & blockMask) || (m_flags[size_t(Index(cx, cy + st.dy))] & blockMask)))
        continue;
      if (node.stamp != m_search) node = Node{m_search, 0, -1, -1};
      const int32_t gn = gc + st.cost;  // 32 bits: a winding route across the grid cannot overflow
      if (node.heapPos < 0) {
        node.g = gn;
        node.parent = cur.cell;
        HeapPush({gn + heuristic(nx, ny, g.x, g.y), gn, n});
      } else if (gn < node.g) {
        node.g = gn;
        node.parent = cur.cell;
        OpenEntry& e = m_open[size_t(node.heapPos)];
        e.f = gn + heuristic(nx, ny, g.x, g.y);
        e.g = gn;
        HeapUp(size_t(node.heapPos));
      }
    }
  }
  if (!found || m_nodes[size_t(goal)].parent < 0) return false;
  for (int c = goal; c >= 0; c = (c == start) ? -1 : m_nodes[size_t(c)].parent)
    path.push_back({int16_t(c % kPathWidth), int16_t(c / kPathWidth)});
  std::reverse(path.begin(), path.end());
  return true;
}

// ---- Routes -----------------------------------------------------------------------------------

void cPathFinder::Smooth(const std::vector<PathCellPos>& cells, uint8_t mask, PathRoute& out) const {
  out.clear();
  const size_t n = cells.size();
  if (n == 0) return;
  auto pt = [&](size_t i) { return CentreOf(cells[i]); };
  out.push_back(pt(0));
  size_t anchor = 0;
  for (size_t i = 1; i < n; ++i) {
    if (i > 1 && anchor != i - 1 && !LineFree(pt(i), pt(anchor), mask)) {
      out.push_back(pt(i - 1));
      anchor = i - 1;
    }
  }
  out.push_back(pt(n - 1));
}

bool cPathFinder::FindRoute(PathPoint from, PathPoint to, uint8_t mask, std::vector<int32_t>* blockers,
                            PathRoute& out) {
  if (testSetting(TestSwitch::Game_Map_Ignore_Path_Find)) {
    out = PathRoute{from, to};
    return true;
  }
  if (!blockers && !m_cacheDisabled) {
    if (const cPathCache::Entry* e = m_cache.Find(from, to, mask)) {
      ++m_cacheHits;
      out = e->route;
      return !out.empty();
    }
  }
  const PathCellPos s{int16_t(floorDiv10(from.x)), int16_t(floorDiv10(from.y))};
  const PathCellPos g{int16_t(floorDiv10(to.x)), int16_t(floorDiv10(to.y))};
  const bool inside = from.x >= 0 && from.y >= 0 && to.x >= 0 && to.y >= 0 && from.x < 10 * kPathWidth &&
                      to.x < 10 * kPathWidth && from.y < 10 * kPathHeight && to.y < 10 * kPathHeight;
  if (inside && FindCellPath(s, g, mask, blockers, m_cells) && !m_cells.empty()) {
    Smooth(m_cells, mask, out);
    if (!m_cacheDisabled) m_cache.Store(from, to, mask, out, m_clock ? m_clock() : 0);
    return true;
  }
  out.clear();
  if (!blockers && !m_cacheDisabled) m_cache.Store(from, to, mask, out, m_clock ? m_clock() : 0);
  return false;
}

PathRoute cPathFinder::FindRoute(PathPoint from, PathPoint to, uint8_t mask) {
  PathRoute r;
  FindRoute(from, to, mask, nullptr, r);
  return r;
}

int32_t cPathFinder::RouteLength(PathPoint from, PathPoint to, uint8_t mask) {
  if (from == to) return 0;
  PathRoute r;
  if (!FindRoute(from, to, mask, nullptr, r) || r.empty()) return kPathUnreachable;
  int64_t sum = 0;
  for (size_t i = 1; i < r.size(); ++i) {
    const double dx = r[i].x - r[i - 1].x, dy = r[i].y - r[i - 1].y;
    sum += int64_t(std::sqrt(dx * dx + dy * dy));
  }
  return int32_t(std::min<int64_t>(sum, INT32_MAX));
}

bool cPathFinder::FindRouteToObject(const Map::cObject& source, const Map::cObject& target, int support,
                                    PathRoute& out) {
  const uint8_t mask = PersonMask();
  const Map::IntPoint s = source.Support(0);
  const PathPoint from{s.x, s.y};
  if (support >= 0) {
    const Map::IntPoint t = target.Support(std::min(support, target.supportCount - 1));
    return FindRoute(from, {t.x, t.y}, mask, nullptr, out);
  }
  int best = -1;
  int32_t bestLength = 0;
  for (int i = 0; i < target.supportCount; ++i) {
    const Map::IntPoint t = target.Support(i);
    const int32_t len = RouteLength(from, {t.x, t.y}, mask);
    if (len < 0) continue;
    if (best < 0 || len < bestLength) {
      best = i;
      bestLength = len;
    }
  }
  if (best < 0) {
    out.clear();
    return false;
  }
  const Map::IntPoint t = target.Support(best);
  return FindRoute(from, {t.x, t.y}, mask, nullptr, out);
}

int32_t cPathFinder::ObjectDistance(const Map::cObject* source, const Map::cObject* target) {
  if (!source || !target) return kPathUnreachable;
  const uint8_t mask = PersonMask();
  const PathPoint from{int32_t(source->x), int32_t(source->y)};
  int32_t best = kPathUnreachable;
  for (int i = 0; i < target->supportCount; ++i) {
    const Map::IntPoint t = target->Support(i);
    const int32_t len = RouteLength(from, {t.x, t.y}, mask);
    if (len >= 0 && (best < 0 || len < best)) best = len;
  }
  return best;
}

int cPathFinder::NearestObject(const Map::cObject* source, const std::vector<const Map::cObject*>& candidates) {
  int best = -1;
  int32_t bestDistance = 0;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const int32_t d = ObjectDistance(source, candidates[i]);
    if (d == kPathUnreachable) continue;
    if (best < 0 || d < bestDistance) {
      best = int(i);
      bestDistance = d;
    }
  }
  return best;
}

// ---- Level start ------------------------------------------------------------------------------

void cPathFinder::Start(Map::cMap& map) {
  m_map = &map;
  m_pending.clear();
  m_barnId = -1;
  static const uint32_t kBuilding = NameHash("building"), kBarn = NameHash("barn");
  static const uint32_t kBonus = NameHash("bonus"), kBrokenPath = NameHash("brokenPath");
  for (size_t i = 0; i < map.Count(); ++i) {
    const Map::cObject* o = map.At(i);
    if (o->Has(Map::kFlagRemoved) || o->typeHash != kBuilding) continue;
    if (o->subtypeHash == kBarn && m_barnId < 0) m_barnId = o->id;
    else m_pending.push_back(o->id);
  }
  const Map::cObject* barn = map.FindById(m_barnId);
  if (!barn) return;
  const Map::IntPoint b = barn->Support(0);
  PathRoute scratch;
  for (size_t i = 0; i < map.Count(); ++i) {
    const Map::cObject* o = map.At(i);
    if (o->typeHash == kBonus || o->typeHash == kBrokenPath)
      FindRoute({b.x, b.y}, {int32_t(o->x), int32_t(o->y)}, PersonMask(), nullptr, scratch);
  }
  RecheckPending();
}

void cPathFinder::RecheckPending() {
  if (!m_map) return;
  const Map::cObject* barn = m_map->FindById(m_barnId);
  if (!barn) return;
  PathRoute route;
  // Announcing a building may make an observer change the map; walk a copy of the ids.
  const std::vector<int32_t> ids = m_pending;
  for (int32_t id : ids) {
    Map::cObject* b = m_map->FindById(id);
    bool done = !b || b->Has(Map::kFlagRemoved);
    if (!done && FindRouteToObject(*barn, *b, -1, route) && !route.empty()) {
      b->PostTagEvent();
      done = true;
    }
    if (done) m_pending.erase(std::find(m_pending.begin(), m_pending.end(), id));
  }
}
