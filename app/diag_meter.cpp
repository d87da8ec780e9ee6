// Heap statistics for the game log and the seven-segment frame-rate meter.
#include "app/app.h"
#include "app/diag.h"
#include "gfx/render.h"

#include <malloc.h>

#include <cstdio>
#include <string>

namespace {
long long g_prevBlocks = 0, g_prevSize = 0, g_prevOverhead = 0;

int g_frames = 0;
float g_accumulated = 0;
float g_previous = -1;
float g_rate = 0;

void segmentLine(int x1, int y1, int x2, int y2) { grLine(x1, y1, x2, y2, grColor(255, 0, 255)); }

// One segment two pixels thick: an outer line and an inner one a pixel shorter at each end.
void segment(int x1, int y1, int x2, int y2, int dx, int dy) {
  segmentLine(x1, y1, x2, y2);
  int sx = x1 == x2 ? 0 : 1, sy = y1 == y2 ? 0 : 1;
  segmentLine(x1 + dx + sx, y1 + dy + sy, x2 + dx - sx, y2 + dy - sy);
}

void drawChar(char c, int x, int y, int w, int h, int g) {
  grFillRect(x - g, y - g, x + w + g, y + h + g, grColor(0, 0, 0, 180));
  int m = fpsSegmentMask(c);
  int mid = y + h / 2;
  if (m & 1) segment(x, y, x + w, y, 0, 1);
  if (m & 2) segment(x, y, x, mid, 1, 0);
  if (m & 4) segment(x + w, y, x + w, mid, -1, 0);
  if (m & 8) segment(x, mid, x + w, mid, 0, 1);
  if (m & 16) segment(x, mid, x, y + h, 1, 0);
  if (m & 32) segment(x + w, mid, x + w, y + h, -1, 0);
  if (m & 64) segment(x, y + h, x + w, y + h, 0, -1);
  if (m & 128) segment(x + w - 2, y + h - 2, x + w, y + h, 0, -1);
}
}  // namespace

void heapStatistics(const char* label, bool difference) {
  struct mallinfo2 mi = mallinfo2();
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

int fpsSegmentMask(char c) {
  static const int kDigits[10] = {119, 36, 93, 109, 46, 107, 123, 37, 127, 111};
  if (c >= '0' && c <= '9') return kDigits[c - '0'];
  if (c == '.' || c == ',') return 128;
  if (c == ' ') return 0;
  return 255;
}

void fpsDrawText(const char* text, int x, int y, int w, int h, int g) {
  for (; *text; ++text, x += w + g) drawChar(*text, x, y, w, h, g);
}

void fpsMeter() {
  float now = appTimeSinceStart();
  if (g_previous >= 0) {
    ++g_frames;
    g_accumulated += now - g_previous;
  }
  g_previous = now;
  if (g_frames > 100) {
    g_rate = g_accumulated > 0 ? g_frames / g_accumulated * 1000.0f : 0.0f;
    g_frames = 0;
    g_accumulated = 0;
  }
  if (g_rate > 0) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", double(g_rate));
    fpsDrawText(text, 10, 10, 10, 20, 2);
  }
}
