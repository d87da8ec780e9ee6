// The renderer: a fixed 1024 x 768 logical screen drawn through a device backend (OpenGL, or a
// null device for headless runs), with frames, clipping, rectangles, lines, meshes, render modes
// and a world transform stack.
#pragma once
#include <cstdint>

class CSprite;

constexpr int kLogicalWidth = 1024;
constexpr int kLogicalHeight = 768;

// 0 success, 1 no device object, 3 unsuitable device, 4 no device.
int grInit(int width, int height, int bits, bool fullScreen, int sync = -1);
void grDone(bool keepRegistries);
bool grIsReady();
void grKillFocus();
void grRestore();

void grBeginScene();
void grFlip(CSprite* leftBorder, CSprite* rightBorder);

void grSetClip(int x1, int y1, int x2, int y2);
void grGetClip(int& x1, int& y1, int& x2, int& y2);
void grFillRect(int x1, int y1, int x2, int y2, uint32_t argb);
void grFrameRect(int x1, int y1, int x2, int y2, uint32_t argb);
void grLine(int x1, int y1, int x2, int y2, uint32_t argb);
void grTextOut(int x, int y, const char* text, uint32_t argb);

// World transform for following draws: a 4 x 4 row-major matrix (row vectors, as the window tree
// composes it), pushed over the current one; pop restores the saved one.
void grPushTransform(const float m[16]);
void grPopTransform();

int grScreenToLogicalX(int devicePixel);
int grScreenToLogicalY(int devicePixel);
void grDBGOut();

// ARGB from components.
constexpr uint32_t grColor(int r, int g, int b, int a = 255) {
  return (uint32_t(a & 255) << 24) | (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) | uint32_t(b & 255);
}
