// The route cache.
#include "game/core/path_cache.h"

cPathCache::cPathCache() : m_entries(kEntries) { Clear(); }

void cPathCache::Clear() {
  for (Entry& e : m_entries) {
    e.free = 1;
    e.route.clear();
  }
}

const cPathCache::Entry* cPathCache::Find(PathPoint from, PathPoint to, uint8_t mask) const {
  for (const Entry& e : m_entries)
    if (!e.free && e.mask == mask && e.from == from && e.to == to) return &e;
  return nullptr;
}

int cPathCache::Victim(int except) const {
  int oldest = -1;
  for (int i = 0; i < kEntries; ++i) {
    if (i == except) continue;
    const Entry& e = m_entries[size_t(i)];
    if (e.free) return i;
    if (oldest < 0 || e.time < m_entries[size_t(oldest)].time) oldest = i;
  }
  return oldest;
}

void cPathCache::Store(PathPoint from, PathPoint to, uint8_t mask, const PathRoute& route, int32_t now) {
  const int first = Victim(-1);
  Entry& e = m_entries[size_t(first)];
  e.from = from;
  e.to = to;
  e.mask = mask;
  e.free = 0;
  e.time = now;
  e.route = route;
  if (Find(to, from, mask)) return;
  Entry& r = m_entries[size_t(Victim(first))];
  r.from = to;
  r.to = from;
  r.mask = mask;
  r.free = 0;
  r.time = now;
  r.route.AssignReversed(route);
}

int cPathCache::FreeCount() const {
  int n = 0;
  for (const Entry& e : m_entries) n += e.free;
  return n;
}
