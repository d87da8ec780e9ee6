// Renderer internals shared by the graphics files: the current device, pixel formats chosen at
// start-up, and the primitive entry that sprites and meshes feed.
#pragma once
#include "gfx/pixel_format.h"
#include "platform/gpu.h"

class CBaseTexture;

PlatGpu* grDevice();  // null before grInit and after grDone
const TexturePixelFormat* grColorFormat();
const TexturePixelFormat* grAlphaFormat();
const TexturePixelFormat* grMaskFormat();

// Render mode: bytes 0-3 as one little-endian word, byte 4 the colour-write mask.
struct GrRenderMode {
  uint32_t word = 0;
  uint8_t mask = 15;
  bool operator==(const GrRenderMode& o) const { return word == o.word && mask == o.mask; }
};
constexpr uint32_t grModeWord(int b0, int b1, int b2, int dst, int src) {
  return uint32_t(b0) | uint32_t(b1) << 8 | uint32_t(b2) << 16 | uint32_t((dst << 4) | src) << 24;
}
constexpr uint32_t kModeTextureAlpha = grModeWord(2, 2, 1, 6, 5);
constexpr uint32_t kModeFade = grModeWord(4, 2, 1, 6, 5);
constexpr uint32_t kModeTintFade = grModeWord(4, 4, 1, 6, 5);
constexpr uint32_t kModeHighlight = grModeWord(2, 7, 1, 6, 5);
constexpr uint32_t kModeGlow = grModeWord(4, 4, 1, 2, 5);
constexpr uint32_t kModeAddTinted = grModeWord(1, 4, 1, 2, 2);
constexpr uint32_t kModeAdd = grModeWord(1, 2, 1, 2, 2);
constexpr uint32_t kModeAuto = grModeWord(1, 0, 1, 6, 5);

// Appends quads (4 vertices each, in the order top-left, top-right, bottom-left, bottom-right) to
// the batch with one texture; used by sprites.
void grDrawQuads(GrRenderMode mode, CBaseTexture* texture, const GpuVertex* v, int quads);
