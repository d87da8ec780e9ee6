// The seven-segment frame-rate meter and the profiler's report, drawn by the renderer.
#include "gfx/diag_draw.h"

#include "base/clock.h"
#include "base/diag.h"
#include "gfx/font.h"
#include "gfx/render.h"

#include <cstdio>

namespace {
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

void drawSection(const ProfSectionInfo& s, int x, int y, CSprite* font) {
  grFillRect(x, y, x + 500, y + 40, grColor(0, 0, 0));
  // With the report's font when it loaded, else with the renderer's debug text.
  auto put = [font](int tx, int ty, const char* text) {
    if (font) fontDrawTextAuto(font, float(tx), ty, text, 0, -1, -1);
    else grTextOut(tx, ty, text, grColor(255, 255, 255));
  };
  char text[64];
  put(x + 10, y + 10, s.name);
  std::snprintf(text, sizeof text, "%.3f", s.mean);
  put(x + 100, y + 10, text);
  std::snprintf(text, sizeof text, "%.3f", s.longest);
  put(x + 200, y + 10, text);
  std::snprintf(text, sizeof text, "%d", s.count);
  put(x + 300, y + 10, text);
}
}  // namespace

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
  float now = clockSinceStart();
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

void profDraw(int x, int y, CSprite* font) {
  // Every row moves 40 right and 40 down; a finished child section leaves one more row of space.
  profWalk(
      [&](const ProfSectionInfo& s) {
        drawSection(s, x, y, font);
        x += 40;
        y += 40;
      },
      [&](const ProfSectionInfo& s) {
        if (s.depth > 0) y += 40;
      });
}
