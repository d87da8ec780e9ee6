// Debug drawings of the path finder: the grid coloured by its flags and the cache's statistics.
#include <cstdio>

#include "game/core/path_finder.h"
#include "gfx/render.h"

void cPathFinder::DrawGrid() const {
  for (int cy = 0; cy < kPathHeight; ++cy)
    for (int cx = 0; cx < kPathWidth; ++cx) {
      const uint8_t f = Flags(cx, cy) & 0x7F;
      if (!f) continue;
      // Red for the level's own obstacles, blue for objects', yellow for the other bits.
      const uint32_t c = (f & kPathStaticBit) ? 0x60FF0000u : (f & kPathObjectBit) ? 0x600000FFu : 0x60FFFF00u;
      grFillRect(cx * 10, cy * 10, cx * 10 + 10, cy * 10 + 10, c);
    }
}

void cPathFinder::DrawCacheStatistics() const {
  char text[96];
  std::snprintf(text, sizeof text, "%d free of %d : memory: %d ", m_cache.FreeCount(), cPathCache::kEntries,
                int(cPathCache::MemoryBytes()));
  grFillRect(0, 0, 300, 50, 0xC0000000u);
  grTextOut(4, 4, text, 0xFFFFFFFFu);
}
