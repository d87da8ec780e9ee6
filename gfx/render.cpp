// The renderer's life: start-up and device choice, display modes and uniform scaling, device loss
// and restore, frames, the clip rectangle, the world transform stack and the side bars.
#include "gfx/render.h"

#include <cmath>
#include <cstdio>

#include "base/settings.h"
#include "base/diag.h"
#include "gfx/diag_draw.h"
#include "files/ini.h"
#include "gfx/render_state.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "platform/platform.h"

namespace {

const TexturePixelFormat* FindFormat(uint32_t code) { return grPixelFormatByCode(code); }

void ChooseFormats(GrState& g) {
  g.colorFormat = g.alphaFormat = g.maskFormat = TexturePixelFormat{};
  // The device takes 32-bit texels; the last accepted format of each role wins, as on a card that
  // offers all of them.
  if (const TexturePixelFormat* f = FindFormat(21)) g.colorFormat = g.alphaFormat = g.maskFormat = *f;
  if (const TexturePixelFormat* f = FindFormat(22)) g.colorFormat = *f;
}

int Log2(int v) {
  int n = 0;
  while ((1 << (n + 1)) <= v) ++n;
  return n;
}

void DefaultState(GrState& g) {
  g.cache.valid = false;
  g.batch = GrBatch{};
  g.batch.mode.word = grModeWord(1, 1, 1, 6, 5);
  g.batch.first = g.ringPos;
}

}  // namespace

GrState& grState() {
  static GrState g;
  return g;
}

PlatGpu* grDevice() { return grState().gpu.get(); }
const TexturePixelFormat* grColorFormat() { return &grState().colorFormat; }
const TexturePixelFormat* grAlphaFormat() { return &grState().alphaFormat; }
const TexturePixelFormat* grMaskFormat() { return &grState().maskFormat; }

bool grIsReady() { return grState().gpu != nullptr; }
bool grIsFullScreen() { return grState().fullScreen; }
bool grInScene() { return grState().sceneState == 1; }
float grScaleX() { return grState().scaleX; }
int grOffsetX() { return grState().offsetX; }
int grOffsetY() { return grState().offsetY; }
int grStatistic(GrStat which) { return which >= 0 && which < kStatCount ? grState().stats[which] : 0; }

void grUpdateScaling() {
  GrState& g = grState();
  int w = g.logicalW, h = g.logicalH;
  if (g.gpu) g.gpu->DrawableSize(w, h);
  if (w <= 0 || h <= 0 || g.logicalW <= 0 || g.logicalH <= 0) return;
  g.backW = w;
  g.backH = h;
  // The full-screen rule serves every size: a window of the logical size gets scale 1, a resized
  // window or a desktop is filled uniformly and centred, so nothing is cut or stretched.
  float s = float(h) / float(g.logicalH);
  if (float(w) < float(g.logicalW) * s) s = float(w) / float(g.logicalW);
  g.scaleX = g.scaleY = s;
  g.offsetX = (w - int(std::lround(g.logicalW * s))) / 2;
  g.offsetY = (h - int(std::lround(g.logicalH * s))) / 2;
}

int grInit(int width, int height, int bits, bool fullScreen, int) {
  GrState& g = grState();
  if (g.gpu && width == g.logicalW && height == g.logicalH && fullScreen == g.fullScreen && bits == g.bits &&
      g.everBegun)
    return 0;
  if (!platWindowExists()) {
    platMessageBox("Window not created", "Error");
    std::exit(0);
  }
  const bool modeChanged = fullScreen != g.fullScreen || !g.gpu;
  grDone(true);
  g.logicalW = width;
  g.logicalH = height;
  g.bits = bits;
  g.fullScreen = fullScreen;
  if (modeChanged) {
    platWindowShow();
    platWindowSetFullScreen(fullScreen);
  }

  if (platMode() == PlatMode::HeadlessNull) {
    g.gpu = platGpuCreateNull(width, height);
  } else {
    g.gpu = platGpuCreateGL();
    if (!g.gpu) {
      errorLog("ERROR: OpenGL 3.3 not available\n");
      platMessageBox("The program needs video hardware supported OpenGL 3.3 or higher version", "Error");
      return 4;
    }
  }
  g.maxTexture = std::min(g.gpu->MaxTextureSize(), 512);
  if (g.maxTexture < 64) {
    errorLog("ERROR: Video card compatible with OpenGL 3.3 or higher version not found\n");
    g.gpu.reset();
    return 3;
  }
  txSetPageSize(g.maxTexture, Log2(g.maxTexture) - 6);
  ChooseFormats(g);
  if (g.quadIndices.empty()) {
    for (int k = 0; k < 512; ++k) {
      const uint16_t b = uint16_t(4 * k);
      for (uint16_t d : {0, 1, 2, 2, 1, 3}) g.quadIndices.push_back(uint16_t(b + d));
    }
  }
  if (!fullScreen) grMoveWnd(width, height);
  g.spriteQuality = iniGetInt("game.ini", "main", "SpriteQuality", 0);
  grUpdateScaling();
  grRestore();
  grSetClip(0, 0, width, height);
  platWindowShow();
  platWindowRaise();
  return 0;
}

void grMoveWnd(int width, int height) {
  if (!platWindowExists() || grState().fullScreen) return;
  int sw = 0, sh = 0;
  platScreenSize(sw, sh);
  platWindowSetClientSize(width, height);
  platWindowSetPos((sw - width) / 2, (sh - height) / 2);
}

void grDone(bool keepRegistries) {
  GrState& g = grState();
  if (g.sceneState == 1) {
    grFlush();
    g.sceneState = 0;
  }
  grKillFocus();
  sprReleaseAllTextures();
  if (!keepRegistries) {
    sprDeleteAll();
    txLibraryClear(true);
  }
  // Textures still held by someone lose their device texture with the device.
  for (int i = 0; i < txLibrarySize(); ++i)
    if (CBaseTexture* t = txLibraryAt(i)) t->ReleaseDevice();
  g.gpu.reset();
  g.everBegun = false;
  g.sceneState = -1;
}

void grKillFocus() {
  GrState& g = grState();
  g.backBuffer = false;
  sprReleaseAllTextures();
  for (int i = 0; i < txLibrarySize(); ++i) {
    CBaseTexture* t = txLibraryAt(i);
    if (t && t->InDeviceMemory()) t->ReleaseDevice();
  }
  txLibraryClear(false);
  g.ringPos = 0;
  g.batch = GrBatch{};
  g.cache.valid = false;
}

void grRestore() {
  GrState& g = grState();
  if (!g.gpu) return;
  if (!g.backBuffer) {
    g.backBuffer = true;
    grSetClip(0, 0, g.logicalW, g.logicalH);
  }
  sprReloadAll();
}

void grBeginScene() {
  GrState& g = grState();
  if (g.sceneState == 1 || !g.gpu) return;
  if (!g.gpu->IsUsable()) return;  // lost: skip the frame
  g.gpu->BeginFrame();
  g.sceneState = 1;
  g.everBegun = true;
  grUpdateScaling();
  DefaultState(g);
  g.gpu->SetViewport(0, 0, g.backW, g.backH);
  g.gpu->Clear(0xFF000000u);
  grApplyClip();
}

namespace {

// One side bar: the border picture (mirrored on the right when it is the left one) touching the
// logical screen edge, black where the picture does not reach.
void DrawBar(GrState& g, CSprite* sprite, bool right, bool mirror, int bar) {
  const int edge = right ? g.logicalW : 0;
  const int outer = right ? g.logicalW + bar : -bar;
  if (!sprite || sprWidth(sprite) <= 0) {
    grFillRect(std::min(edge, outer), 0, std::max(edge, outer), g.logicalH, 0xFF000000u);
    return;
  }
  const int w = int(sprWidth(sprite) / g.scaleX);
  const int inner = right ? edge + w : edge - w;
  sprDrawStretched(sprite, std::min(edge, inner), 0, std::max(edge, inner), g.logicalH, kModeTextureAlpha, mirror);
  if (w < bar) grFillRect(std::min(inner, outer), 0, std::max(inner, outer), g.logicalH, 0xFF000000u);
}

}  // namespace

void grDrawBorders(CSprite* left, CSprite* right) {
  GrState& g = grState();
  if (g.sceneState != 1 || !g.gpu || !g.gpu->IsUsable() || g.offsetX == 0) return;
  const int bar = int(g.offsetX / g.scaleX);
  const int topBar = int(g.offsetY / g.scaleY);
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  grGetClip(x1, y1, x2, y2);
  grFlush();
  g.clipX = -bar;
  g.clipY = -topBar;
  g.clipW = g.logicalW + 2 * bar;
  g.clipH = g.logicalH + 2 * topBar;
  grApplyClip();
  DrawBar(g, left, false, false, bar);
  DrawBar(g, right ? right : left, true, right == nullptr || right == left, bar);
  grSetClip(x1, y1, x2, y2);
}

void grFlip(CSprite* left, CSprite* right) {
  GrState& g = grState();
  if (!platWindowExists() || !g.gpu) return;
  if (g.sceneState == 1 && appSettings().showFps) fpsMeter();
  grDrawBorders(left, right);
  if (g.sceneState == 1) {
    grFlush();
    g.sceneState = 0;
    if (!g.pendingShot.empty()) {
      grSaveScreenshot(g.pendingShot);
      g.pendingShot.clear();
    }
    if (g.gpu->IsUsable()) g.gpu->Present();
  }
  g.stats.fill(0);
}

void grSetClip(int x1, int y1, int x2, int y2) {
  if (x2 < x1 || y2 < y1) return;
  GrState& g = grState();
  grFlush();
  x1 = std::max(0, x1);
  y1 = std::max(0, y1);
  x2 = std::min(x2, g.logicalW);
  y2 = std::min(y2, g.logicalH);
  g.clipX = x1;
  g.clipY = y1;
  g.clipW = std::max(0, x2 - x1);
  g.clipH = std::max(0, y2 - y1);
  grApplyClip();
}

void grGetClip(int& x1, int& y1, int& x2, int& y2) {
  const GrState& g = grState();
  x1 = g.clipX;
  y1 = g.clipY;
  x2 = g.clipX + g.clipW;
  y2 = g.clipY + g.clipH;
}

void grApplyClip() {
  GrState& g = grState();
  if (!g.gpu || g.sceneState != 1 || !g.gpu->IsUsable()) return;
  const int vx = int(g.clipX * g.scaleX) + g.offsetX, vy = int(g.clipY * g.scaleY) + g.offsetY;
  const int vw = int(g.clipW * g.scaleX), vh = int(g.clipH * g.scaleY);
  g.gpu->SetViewport(vx, vy, vw, vh);
  // Orthographic: clip x1..x2 to -1..1, y1..y2 to 1..-1 (y grows downward), z to 0.
  const float w = float(std::max(1, g.clipW)), h = float(std::max(1, g.clipH));
  const float proj[16] = {2.f / w, 0, 0, 0, 0, -2.f / h, 0, 0, 0, 0, 0, 0,
                          -1.f - 2.f * g.clipX / w, 1.f + 2.f * g.clipY / h, 0, 1};
  float m[16];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += g.world[size_t(r * 4 + k)] * proj[k * 4 + c];
      m[r * 4 + c] = s;
    }
  g.gpu->SetMatrix(m);
}

void grPushTransform(const float m[16]) {
  GrState& g = grState();
  grFlush();
  g.transforms.push_back(g.world);
  for (int i = 0; i < 16; ++i) g.world[size_t(i)] = m[i];
  grApplyClip();
}

void grPopTransform() {
  GrState& g = grState();
  if (g.transforms.empty()) return;
  grFlush();
  g.world = g.transforms.back();
  g.transforms.pop_back();
  grApplyClip();
}

int grScreenToLogicalX(int p) {
  const GrState& g = grState();
  return int(std::lround((p - g.offsetX) / (g.scaleX > 0 ? g.scaleX : 1.f)));
}

int grScreenToLogicalY(int p) {
  const GrState& g = grState();
  return int(std::lround((p - g.offsetY) / (g.scaleY > 0 ? g.scaleY : 1.f)));
}
