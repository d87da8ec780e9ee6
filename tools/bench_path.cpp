// bench_path: how fast the path finder is on the demo level and on a generated maze. Reports, as
// distributions over many runs: searches per second without the cache, one typical route across
// the demo map without the cache, the maze's worst route, a cache hit (and that it searches and
// allocates nothing), and a full Start of the demo level.
//
//   bench_path [level folder]      (default: demo/data/maps/1 under the current folder)
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "files/name_hash.h"
#include "game/core/events.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/map_loader.h"
#include "game/core/path_finder.h"

// Every allocation of the program is counted, so a cache hit can be shown to make none.
namespace {
std::atomic<long> g_allocations{0};
}
void* operator new(size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace {
using Clock = std::chrono::steady_clock;

struct Stats {
  double median, p90, max;
};

// Runs `fn` `runs` times and returns the distribution of one run in microseconds.
Stats measure(int runs, const std::function<void()>& fn) {
  std::vector<double> us;
  us.reserve(size_t(runs));
  for (int i = 0; i < runs; ++i) {
    const auto t0 = Clock::now();
    fn();
    us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  std::sort(us.begin(), us.end());
  return {us[us.size() / 2], us[us.size() * 9 / 10], us.back()};
}

void print(const char* what, const Stats& s, double targetUs = 0) {
  std::printf("%-44s median %9.2f us   p90 %9.2f us   max %9.2f us", what, s.median, s.p90, s.max);
  if (targetUs > 0) std::printf("   (target <= %.0f us: %s)", targetUs, s.median <= targetUs ? "met" : "MISSED");
  std::printf("\n");
}

// A maze of corridors one cell wide carved by a depth-first walk with a fixed seed over the inner
// cells, on a grid of its own.
void buildMaze(cPathFinder& pf) {
  const int w = (kPathWidth - 3) / 2, h = (kPathHeight - 3) / 2;  // rooms at odd cells 1..2w-1
  for (int y = 0; y < kPathHeight; ++y)
    for (int x = 0; x < kPathWidth; ++x) pf.SetFlags(x, y, 1);
  std::vector<char> seen(size_t(w * h), 0);
  std::vector<std::pair<int, int>> stack{{0, 0}};
  seen[0] = 1;
  pf.SetFlags(1, 1, 0);
  uint32_t seed = 12345;
  auto rnd = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 16) % uint32_t(n));
  };
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    const int dirs[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    std::vector<int> open;
    for (int d = 0; d < 4; ++d) {
      const int nx = x + dirs[d][0], ny = y + dirs[d][1];
      if (nx >= 0 && ny >= 0 && nx < w && ny < h && !seen[size_t(ny * w + nx)]) open.push_back(d);
    }
    if (open.empty()) {
      stack.pop_back();
      continue;
    }
    const int d = open[size_t(rnd(int(open.size())))];
    const int nx = x + dirs[d][0], ny = y + dirs[d][1];
    seen[size_t(ny * w + nx)] = 1;
    pf.SetFlags(1 + 2 * x + dirs[d][0], 1 + 2 * y + dirs[d][1], 0);
    pf.SetFlags(1 + 2 * nx, 1 + 2 * ny, 0);
    stack.push_back({nx, ny});
  }
}

PathPoint centre(int cx, int cy) { return {cx * 10 + 5, cy * 10 + 5}; }
}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "demo/data/maps/1";
  Game::cEventDispatcher dispatcher;
  Game::eventSetDispatcher(&dispatcher);
  Map::cObjectFactory factory;
  Map::cObjectArena arena;
  factory.SetDispatcher(&dispatcher);
  factory.BeginLevel(&arena);
  Map::cMap map;
  map.SetDispatcher(&dispatcher);
  cPathFinder path;
  path.SetClock([] { return int32_t(0); });
  cMapLoader loader;
  if (!loader.Begin(folder, true, map, path, factory) || !loader.LoadAll()) {
    std::fprintf(stderr, "bench_path: cannot load the level in %s (see gerr.log)\n", folder.c_str());
    return 1;
  }
  const Map::cObject* barn = map.FindByType("building", "barn");
  const Map::cObject* far = map.FindByTag(NameHash("Garden"));
  if (!barn || !far) {
    std::fprintf(stderr, "bench_path: the level needs a barn and a \"Garden\"\n");
    return 1;
  }
  std::printf("level %s: %zu objects, barn %d, %zu buildings pending\n", folder.c_str(), map.Count(), int(barn->id),
              path.Pending().size());

  // A full Start, the cache emptied before each.
  print("Start (barn, bonuses, pending buildings)", measure(200, [&] {
          path.ClearCache();
          path.Start(map);
        }));

  // The typical long route: from the barn across the repaired bridge to the ore rock.
  if (const Map::cObject* bridge = map.FindByTag(NameHash("Bridge"))) map.Remove(bridge->id);
  map.Sweep();
  const Map::IntPoint a = barn->Support(0), b = far->Support(0);
  path.SetCacheEnabled(false);
  PathRoute route;
  path.FindRoute({a.x, a.y}, {b.x, b.y}, kPathMaskStandard, nullptr, route);
  const uint64_t expanded = path.Expansions();
  path.FindRoute({a.x, a.y}, {b.x, b.y}, kPathMaskStandard, nullptr, route);
  std::printf("route barn -> ore rock: %zu points, %d pixels, %llu cells expanded\n", route.size(),
              int(path.RouteLength({a.x, a.y}, {b.x, b.y}, kPathMaskStandard)),
              static_cast<unsigned long long>(path.Expansions() - expanded));
  const Stats across = measure(2000, [&] { path.FindRoute({a.x, a.y}, {b.x, b.y}, kPathMaskStandard, nullptr, route); });
  print("one route across the demo map, no cache", across, 50);

  // Searches per second over many pairs of open points, no cache.
  std::vector<PathPoint> points;
  for (int cy = 2; cy < kPathHeight - 2; cy += 7)
    for (int cx = 2; cx < kPathWidth - 2; cx += 9)
      if (path.IsFree(centre(cx, cy), kPathMaskStandard)) points.push_back(centre(cx, cy));
  const uint64_t before = path.Searches();
  const auto t0 = Clock::now();
  int pairs = 0;
  for (size_t i = 0; i < points.size(); ++i)
    for (size_t j = i + 1; j < points.size(); j += 5, ++pairs)
      path.FindRoute(points[i], points[j], kPathMaskStandard, nullptr, route);
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  std::printf("%-44s %.0f searches/s over %d pairs (%llu searched)\n", "searches without the cache", pairs / seconds,
              pairs, static_cast<unsigned long long>(path.Searches() - before));

  // A cache hit: no search, no allocation.
  path.SetCacheEnabled(true);
  path.FindRoute({a.x, a.y}, {b.x, b.y}, kPathMaskStandard, nullptr, route);  // fills the cache
  print("cache hit", measure(2000, [&] { path.FindRoute({a.x, a.y}, {b.x, b.y}, kPathMaskStandard, nullptr, route); }));
  const uint64_t searches = path.Searches();
  const long allocations = g_allocations.load();
  for (int i = 0; i < 2000; ++i) path.FindRoute({a.x, a.y}, {b.x, b.y}, kPathMaskStandard, nullptr, route);
  std::printf("%-44s %llu searches, %ld allocations\n", "during 2000 more cache hits",
              static_cast<unsigned long long>(path.Searches() - searches), g_allocations.load() - allocations);

  // The maze: the worst route is between the two farthest rooms.
  cPathFinder maze;
  maze.SetClock([] { return int32_t(0); });
  buildMaze(maze);
  maze.SetCacheEnabled(false);
  const PathPoint m0 = centre(1, 1);
  // The farthest room from the corner, found by trying every room.
  PathPoint worst = m0;
  int32_t worstLength = -1;
  for (int cy = 1; cy < kPathHeight - 1; cy += 2)
    for (int cx = 1; cx < kPathWidth - 1; cx += 2) {
      if (!maze.IsFree(centre(cx, cy), kPathMaskStandard)) continue;
      const int32_t len = maze.RouteLength(m0, centre(cx, cy), kPathMaskStandard);
      if (len > worstLength) {
        worstLength = len;
        worst = centre(cx, cy);
      }
    }
  maze.FindRoute(m0, worst, kPathMaskStandard, nullptr, route);
  std::printf("maze worst route: %zu points, %d pixels\n", route.size(), int(worstLength));
  print("the maze's worst route, no cache", measure(500, [&] { maze.FindRoute(m0, worst, kPathMaskStandard, nullptr, route); }),
        1000);
  map.Clear();
  Game::eventSetDispatcher(nullptr);
  return 0;
}
