// Renderer debug output: the dump of sprites, textures and counters, the built-in debug font of
// grTextOut, and reading back or saving the frame (screenshots).
#include <cstdio>

#include "base/diag.h"
#include "gfx/image.h"
#include "gfx/render_state.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"

namespace {

// 3 x 5 glyphs for ASCII 32..126, bit (row * 3 + column) set for a lit pixel; lower case shares
// the capitals.
constexpr uint16_t kGlyphs[95] = {
    0x0000, 0x2092, 0x002d, 0x5f7d, 0x0000, 0x52a5, 0x0000, 0x0012, 0x224a, 0x2922, 0x0aa8, 0x05d0,
    0x1400, 0x01c0, 0x2000, 0x12a4, 0x7b6f, 0x749a, 0x72a3, 0x38a3, 0x49ed, 0x38cf, 0x7bce, 0x24a7,
    0x7bef, 0x39ef, 0x0410, 0x1410, 0x4454, 0x0e38, 0x1511, 0x20a3, 0x0000, 0x5bea, 0x3aeb, 0x624e,
    0x3b6b, 0x72cf, 0x12cf, 0x6b4e, 0x5bed, 0x7497, 0x2b24, 0x5aed, 0x7249, 0x5bfd, 0x5b6b, 0x2b6a,
    0x12eb, 0x676a, 0x5aeb, 0x388e, 0x2497, 0x7b6d, 0x2b6d, 0x5fed, 0x5aad, 0x24ad, 0x72a7, 0x324b,
    0x4889, 0x6926, 0x0000, 0x7000, 0x0000, 0x5bea, 0x3aeb, 0x624e, 0x3b6b, 0x72cf, 0x12cf, 0x6b4e,
    0x5bed, 0x7497, 0x2b24, 0x5aed, 0x7249, 0x5bfd, 0x5b6b, 0x2b6a, 0x12eb, 0x676a, 0x5aeb, 0x388e,
    0x2497, 0x7b6d, 0x2b6d, 0x5fed, 0x5aad, 0x24ad, 0x72a7, 0x0000, 0x2492, 0x0000, 0x0000,
};

constexpr int kPixel = 2;  // logical pixels per font pixel

}  // namespace

void grTextOut(int x, int y, const char* text, uint32_t argb) {
  if (!text || !*text || !grInScene()) return;
  int cx = x;
  for (const char* p = text; *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c == '\n') {
      cx = x;
      y += 6 * kPixel;
      continue;
    }
    const uint16_t g = c >= 32 && c < 127 ? kGlyphs[c - 32] : kGlyphs['?' - 32];
    for (int r = 0; r < 5; ++r)
      for (int col = 0; col < 3; ++col)
        if (g & (1u << (r * 3 + col)))
          grFillRect(cx + col * kPixel, y + r * kPixel, cx + (col + 1) * kPixel, y + (r + 1) * kPixel, argb);
    cx += 4 * kPixel;
  }
}

void grDBGOut() {
  for (int i = 1; i < sprRegistrySize(); ++i) {
    const CBaseSprite* s = sprRegistryAt(i);
    if (!s) continue;
    int tiles = 0;
    for (const auto& row : s->frames) tiles += int(row.size());
    errorLog("Sprite[%d]: %dx%dx%d   %s\n", i, s->width, s->height, tiles, s->fileName.c_str());
  }
  for (int i = 1; i < txLibrarySize(); ++i) {
    const CBaseTexture* t = txLibraryAt(i);
    if (!t) continue;
    char name[32];
    std::snprintf(name, sizeof name, "%d%d%d.tga", i / 100 % 10, i / 10 % 10, i % 10);
    t->SaveTGA(name);
    errorLog("TextureLib[%d]: %dx%dx   %s\n", i, t->width, t->height, t->format == grColorFormat() ? "RGB" : "RGBA");
  }
  errorLog("STATISTICS:\n");
  static const char* const kNames[kStatCount] = {"SetMaterial", "SetTexture", "SetRenderState", "SetTextureStageState",
                                                 "SetVertexShader", "DrawPrimitive", "NumberPolygon", "NumberVertex"};
  for (int i = 0; i < kStatCount; ++i) errorLog("%s = %d\n", kNames[i], grStatistic(GrStat(i)));
}

bool grReadFrame(std::vector<uint8_t>& rgba, int& width, int& height) {
  GrState& g = grState();
  width = height = 0;
  if (!g.gpu) return false;
  grFlush();
  if (!g.gpu->ReadPixels(0, 0, g.backW, g.backH, rgba)) return false;
  width = g.backW;
  height = g.backH;
  return true;
}

bool grSaveScreenshot(const std::string& path) {
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  if (!grReadFrame(rgba, w, h)) return false;
  // Screenshots are opaque, whatever alpha the frame buffer was left with.
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  return imgSavePNG(path.c_str(), rgba.data(), w, h);
}

void grRequestScreenshot(const std::string& path) { grState().pendingShot = path; }
