// The renderer: a fixed logical screen (1024 x 768 in the game) drawn through a device (OpenGL, or
// a null device for headless runs), with frames, clipping, rectangles, lines, meshes, render modes,
// a world transform stack, uniform scaling into any window or desktop size, and screenshots.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CSprite;
class CBaseTexture;

constexpr int kLogicalWidth = 1024;
constexpr int kLogicalHeight = 768;

// 0 success or nothing to do, 1 no device object, 3 unsuitable device, 4 no device.
int grInit(int width, int height, int bits, bool fullScreen, int sync = -1);
void grDone(bool keepRegistries);
bool grIsReady();
bool grIsFullScreen();
void grMoveWnd(int width, int height);
void grKillFocus();
void grRestore();

void grBeginScene();
void grFlip(CSprite* leftBorder, CSprite* rightBorder);
// The first step of grFlip: when the screen is wider than the logical one, the side bars with the
// border picture (the left one mirrored on the right when no right one is given), black elsewhere.
void grDrawBorders(CSprite* leftBorder, CSprite* rightBorder);
bool grInScene();

void grSetClip(int x1, int y1, int x2, int y2);
void grGetClip(int& x1, int& y1, int& x2, int& y2);
void grFillRect(int x1, int y1, int x2, int y2, uint32_t argb);
void grFrameRect(int x1, int y1, int x2, int y2, uint32_t argb);
void grLine(int x1, int y1, int x2, int y2, uint32_t argb);
// Debug text in a small built-in font, at logical positions, clipped like everything else.
void grTextOut(int x, int y, const char* text, uint32_t argb);

// Meshes: positions as x, y float pairs, one ARGB colour per vertex; with indices a triangle list
// (three per triangle), without a triangle strip. Render mode: bytes 0-3 as a little-endian word
// and the colour-write mask. Too many vertices or triangles, fewer than three vertices or an index
// past the vertices: nothing is drawn.
void grDrawMesh(uint32_t mode, int vertexCount, const float* xy, const uint32_t* colors, int triangleCount,
                const uint16_t* indices, uint8_t mask = 15);
// The same, textured with a one-tile sprite (texture coordinates in 0..1 of the sprite).
void grDrawTexturedMesh(uint32_t mode, CSprite* sprite, int vertexCount, const float* xy, const uint32_t* colors,
                        const float* uv, int triangleCount, const uint16_t* indices, uint8_t mask = 15);
// The textured mesh on a texture, with texel-space 0..1 coordinates of that texture.
void grDrawTextureMesh(uint32_t mode, CBaseTexture* texture, int vertexCount, const float* xy,
                       const uint32_t* colors, const float* uv, int triangleCount, const uint16_t* indices,
                       uint8_t mask = 15);

// World transform for following draws: a 4 x 4 row-major matrix (row vectors, as the window tree
// composes it), pushed over the current one; pop restores the saved one.
void grPushTransform(const float m[16]);
void grPopTransform();

// Device pixel to logical coordinate: (p - offset) / scale, rounded.
int grScreenToLogicalX(int devicePixel);
int grScreenToLogicalY(int devicePixel);
float grScaleX();
int grOffsetX();
int grOffsetY();
void grDBGOut();

// The eight statistics counters ("SetMaterial" ... "NumberVertex"), reset at every present.
enum GrStat { kStatMaterial, kStatTexture, kStatRenderState, kStatStageState, kStatShader, kStatDrawPrimitive,
              kStatPolygons, kStatVertices, kStatCount };
int grStatistic(GrStat which);

// Flushes what is drawn and reads the frame (device pixels, top-down RGBA); false without pixels
// (the null device). Call between grBeginScene and grFlip.
bool grReadFrame(std::vector<uint8_t>& rgba, int& width, int& height);
// Writes the current frame as a PNG; false when there is nothing to save.
bool grSaveScreenshot(const std::string& path);
// Saves the next frame just before it is shown (the screenshot key).
void grRequestScreenshot(const std::string& path);

// ARGB from components.
constexpr uint32_t grColor(int r, int g, int b, int a = 255) {
  return (uint32_t(a & 255) << 24) | (uint32_t(r & 255) << 16) | (uint32_t(g & 255) << 8) | uint32_t(b & 255);
}
