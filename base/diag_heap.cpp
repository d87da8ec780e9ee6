// Heap statistics for the game log.
#include "base/diag.h"

#include <malloc.h>

#include <string>

namespace {
long long g_prevBlocks = 0, g_prevSize = 0, g_prevOverhead = 0;
}  // namespace

void heapStatistics(const char* label, bool difference) {
#ifdef __EMSCRIPTEN__
  struct mallinfo mi = mallinfo();  // the browser's C library has only the older call
#else
  struct mallinfo2 mi = mallinfo2();
#endif
  long long blocks = (long long)(mi.ordblks + mi.hblks);
  long long size = (long long)(mi.uordblks + mi.hblkhd);
  long long overhead = (long long)mi.fordblks;
  long long b = blocks, s = size, o = overhead;
  if (difference) {
    b -= g_prevBlocks;
    s -= g_prevSize;
    o -= g_prevOverhead;
  }
  g_prevBlocks = blocks;
  g_prevSize = size;
  g_prevOverhead = overhead;
  std::string l = label ? std::string(label).substr(0, 254) : std::string();
  gameLog("[Heap][ %s ][Total] blocks: %lld, size:%lld, overhead:%lld", l.c_str(), b, s / 1000, o / 1000);
}
