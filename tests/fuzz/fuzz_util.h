// Small helpers shared by the fuzz targets: writing the input as a file so readers are reached
// through the file layer, and the null renderer for readers that build sprites.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/image.h"
#include "gfx/render.h"
#include "gfx/sprite.h"
#include "platform/platform.h"

namespace fuzzkit {

// The old file is removed first: truncating a file in place makes some file systems flush it to
// disk on close, which would cost more than the reader under test.
inline bool WriteFile(const std::string& path, const void* data, size_t size) {
  std::remove(path.c_str());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

inline bool WriteText(const std::string& path, const std::string& text) {
  return WriteFile(path, text.data(), text.size());
}

// The renderer on its null device behind a dummy window, once per process: sprites, fonts and
// textures then load and batches count exactly as in the game, with no display and no GPU.
inline bool NullRenderer() {
  static const bool up = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platSetMode(PlatMode::HeadlessNull);
    return platVideoInit() && platWindowCreate("fuzz", 0, 0, 1024, 768, false) &&
           grInit(kLogicalWidth, kLogicalHeight, 32, false) == 0;
  }();
  return up;
}

// Sprites alive in the registry (its size counts emptied slots too).
inline int LiveSprites() {
  int n = 0;
  for (int i = 0; i < sprRegistrySize(); ++i) n += sprRegistryAt(i) != nullptr;
  return n;
}

// A PNG of w x h with a different colour in each 8 x 8 cell, for sprites that need a picture.
inline bool WriteCheckerPng(const std::string& path, int w, int h) {
  std::vector<uint8_t> px(size_t(w) * size_t(h) * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &px[(size_t(y) * size_t(w) + size_t(x)) * 4];
      p[0] = uint8_t(x * 8);
      p[1] = uint8_t(y * 8);
      p[2] = uint8_t((x / 8 + y / 8) * 40);
      p[3] = uint8_t(((x / 8 + y / 8) & 1) ? 255 : 128);
    }
  return imgSavePNG(path.c_str(), px.data(), w, h);
}

}  // namespace fuzzkit
