// Helpers of the sprite and font tests: the null renderer, pictures written from a colour
// function, texels read back from a sprite's tiles, and small text files.
#pragma once
#include <gtest/gtest.h>

#include "support/null_renderer.h"
#include "support/test_files.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "gfx/image.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "platform/platform.h"
#include "test_image_util.h"

namespace sprtest {

// The gfx test binary brings the null renderer up once for all its tests; a test run alone
// (filtered) still finds it ready.
inline void EnsureRenderer() { ASSERT_TRUE(testkit::StartNullRenderer("sprite tests")); }

using ColourFn = std::function<uint32_t(int x, int y)>;  // ARGB

inline void MakeFolder(const std::string& path) {
  const auto parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
}

// A 32-bit RGBA PNG.
inline void WritePng(const std::string& path, int w, int h, const ColourFn& fn) {
  MakeFolder(path);
  std::vector<uint8_t> rgba(size_t(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = fn(x, y);
      uint8_t* p = &rgba[(size_t(y) * w + x) * 4];
      p[0] = uint8_t(c >> 16);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c);
      p[3] = uint8_t(c >> 24);
    }
  ASSERT_TRUE(imgSavePNG(path.c_str(), rgba.data(), w, h)) << path;
}

// A 24-bit PNG (no alpha of its own).
inline void WritePng24(const std::string& path, int w, int h, const ColourFn& fn) {
  MakeFolder(path);
  std::vector<imgtest::Bytes> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = fn(x, y);
      rows[size_t(y)].push_back(uint8_t(c >> 16));
      rows[size_t(y)].push_back(uint8_t(c >> 8));
      rows[size_t(y)].push_back(uint8_t(c));
    }
  imgtest::PngLayout layout;
  layout.width = w;
  layout.height = h;
  imgtest::writeFile(path, imgtest::png(layout, rows));
}

// A 24-bit TGA (used as an alpha picture: its blue channel becomes the alpha).
inline void WriteTga24(const std::string& path, int w, int h, const ColourFn& fn) {
  MakeFolder(path);
  std::vector<uint8_t> bgr;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = fn(x, y);
      bgr.push_back(uint8_t(c));
      bgr.push_back(uint8_t(c >> 8));
      bgr.push_back(uint8_t(c >> 16));
    }
  ASSERT_TRUE(cFileImage::SaveTGA(path.c_str(), bgr.data(), 24, w, -h)) << path;
}

inline void WriteText(const std::string& path, const std::string& text) { testkit::writeFile(path, text); }

inline CBaseSprite* Base(CSprite* s) { return dynamic_cast<CBaseSprite*>(s); }

// The ARGB texel shown at (fx, fy) of frame row `row`, read from the texture copy the null device
// keeps; 0 when no tile covers that point.
inline uint32_t TexelAt(CSprite* sprite, int row, int fx, int fy) {
  CBaseSprite* s = Base(sprite);
  if (!s || row < 0 || row >= s->Rows()) return 0;
  for (const SpriteTile& t : s->frames[size_t(row)]) {
    const int w = t.right - t.left, h = t.bottom - t.top;
    if (!t.texture || fx < t.x || fy < t.y || fx >= t.x + w || fy >= t.y + h) continue;
    const int tx = t.mirrorX ? t.right - 1 - (fx - t.x) : t.left + (fx - t.x);
    const int ty = t.mirrorY ? t.bottom - 1 - (fy - t.y) : t.top + (fy - t.y);
    int pitch = 0;
    const uint8_t* p = t.texture->Lock(pitch);
    if (!p) return 0;
    const TexturePixelFormat& f = *t.texture->format;
    uint32_t v = 0;
    for (int i = 0; i < f.bytesPerPixel; ++i) v |= uint32_t(p[size_t(ty) * pitch + size_t(tx) * f.bytesPerPixel + i]) << (8 * i);
    auto chan = [&](int c) -> uint32_t {
      if (!f.bits[c]) return c == 3 ? 255 : 0;
      const uint32_t x = (v >> f.shift[c]) & ((1u << f.bits[c]) - 1);
      return x * 255 / ((1u << f.bits[c]) - 1);
    };
    return chan(3) << 24 | chan(0) << 16 | chan(1) << 8 | chan(2);
  }
  return 0;
}

// Rows of a sprite in frame-relative pixels covered by its tiles (sum over tiles of their heights
// at column 0), which tells how tall each frame really is.
inline int RowsCovered(CSprite* sprite, int row) {
  CBaseSprite* s = Base(sprite);
  int n = 0;
  for (const SpriteTile& t : s->frames[size_t(row)])
    if (t.x == 0) n += t.bottom - t.top;
  return n;
}

}  // namespace sprtest
