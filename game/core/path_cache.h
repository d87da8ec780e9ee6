// The route cache: 512 routes by their two ends and blocking mask, each stored in both directions.
// Entries age by the game's step clock, so a run and its replay evict the same routes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/core/path_route.h"

class cPathCache {
 public:
  static constexpr int kEntries = 512;

  struct Entry {
    PathPoint from, to;
    uint8_t mask = 0;
    uint8_t free = 1;
    int32_t time = 0;  // game clock when filled
    PathRoute route;
  };

  cPathCache();
  void Clear();
  // The first used entry from `from` to `to` with the mask, or null. A lookup does not age it.
  const Entry* Find(PathPoint from, PathPoint to, uint8_t mask) const;
  // Stores the route and, unless the reverse is held already, its reverse.
  void Store(PathPoint from, PathPoint to, uint8_t mask, const PathRoute& route, int32_t now);

  int FreeCount() const;
  static constexpr size_t MemoryBytes() { return sizeof(Entry) * kEntries; }
  const Entry& At(int i) const { return m_entries[size_t(i)]; }

 private:
  // The first free entry, else the oldest (the first of equal age), never `except`.
  int Victim(int except) const;
  std::vector<Entry> m_entries;  // kEntries, on the heap: about 1.2 MB with the in-place routes
};
