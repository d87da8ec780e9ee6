// PNG masks of the path grid and the fog, through libpng's simplified interface.
#include "game/core/map_mask.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {
constexpr int kFogVertexRows = kFogRows + 1;  // 79: the lower vertices of the last strip

struct Rgba {
  int w = 0, h = 0;
  std::vector<uint8_t> px;
  const uint8_t* At(int x, int y) const {
    x = std::clamp(x, 0, w - 1);
    y = std::clamp(y, 0, h - 1);
    return &px[(size_t(y) * size_t(w) + size_t(x)) * 4];
  }
};

bool readRgba(const std::string& path, Rgba& out, std::string* error) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) {
    if (error) *error = path + ": " + img.message;
    return false;
  }
  if (img.width == 0 || img.height == 0 || img.width > 16384 || img.height > 16384) {
    png_image_free(&img);
    if (error) *error = path + ": picture size out of range";
    return false;
  }
  img.format = PNG_FORMAT_RGBA;
  out.w = int(img.width);
  out.h = int(img.height);
  out.px.assign(PNG_IMAGE_SIZE(img), 0);
  if (!png_image_finish_read(&img, nullptr, out.px.data(), 0, nullptr)) {
    if (error) *error = path + ": " + img.message;
    png_image_free(&img);
    return false;
  }
  return true;
}

bool writeGrey(const std::string& path, int w, int h, const std::vector<uint8_t>& px, std::string* error) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = png_uint_32(w);
  img.height = png_uint_32(h);
  img.format = PNG_FORMAT_GRAY;
  if (!png_image_write_to_file(&img, path.c_str(), 0, px.data(), 0, nullptr)) {
    if (error) *error = path + ": " + img.message;
    return false;
  }
  return true;
}

// Luma of a pixel, 0 to 255.
int grey(const uint8_t* p) { return (p[0] * 299 + p[1] * 587 + p[2] * 114 + 500) / 1000; }
}  // namespace

bool mapGridFromPng(const std::string& path, MapGrid& grid, std::string* error) {
  Rgba img;
  if (!readRgba(path, img, error)) return false;
  const bool cellSized = img.w == kGridColumns && img.h == kGridRows;
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < kGridColumns; ++c) {
      const uint8_t* p = cellSized ? img.At(c, r) : img.At((10 * c + 5) * img.w / 1024, (10 * r + 5) * img.h / 768);
      bool painted = p[3] >= 128 && grey(p) < 128;
      grid.cells[r][c] = uint8_t((grid.cells[r][c] & ~1u) | (painted ? 1u : 0u));
    }
  return true;
}

bool mapGridToPng(const MapGrid& grid, const std::string& path, std::string* error) {
  std::vector<uint8_t> px(size_t(kGridColumns) * kGridRows);
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < kGridColumns; ++c) px[size_t(r) * kGridColumns + size_t(c)] = (grid.cells[r][c] & 1) ? 0 : 255;
  return writeGrey(path, kGridColumns, kGridRows, px, error);
}

bool mapFogFromPng(const std::string& path, MapFog& fog, std::string* error) {
  Rgba img;
  if (!readRgba(path, img, error)) return false;
  const bool vertexSized = img.w == kFogColumns && img.h == kFogVertexRows;
  auto vertex = [&](int c, int r) {
    const uint8_t* p = vertexSized ? img.At(c, r) : img.At(10 * c * img.w / 1024, 10 * r * img.h / 768);
    return float(grey(p) * p[3] / 255) / 255.0f;
  };
  for (int r = 0; r < kFogRows; ++r)
    for (int c = 0; c < kFogColumns; ++c) {
      fog.alpha[r][c][0] = vertex(c, r);
      fog.alpha[r][c][1] = vertex(c, r + 1);
    }
  return true;
}

bool mapFogToPng(const MapFog& fog, const std::string& path, std::string* error) {
  std::vector<uint8_t> px(size_t(kFogColumns) * kFogVertexRows);
  auto level = [](float a) { return uint8_t(std::lround(std::clamp(a, 0.0f, 1.0f) * 255.0f)); };
  for (int r = 0; r < kFogVertexRows; ++r)
    for (int c = 0; c < kFogColumns; ++c)
      px[size_t(r) * kFogColumns + size_t(c)] = r < kFogRows ? level(fog.alpha[r][c][0]) : level(fog.alpha[r - 1][c][1]);
  return writeGrey(path, kFogColumns, kFogVertexRows, px, error);
}
