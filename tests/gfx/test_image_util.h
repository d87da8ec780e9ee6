// Helpers of the picture reader tests: TGA, PNG and JPEG files built in memory, loading through a
// reader, texels written into a scratch texture, and the gerr.log lines of a test.
#pragma once
#include <gtest/gtest.h>
#include <stdio.h>

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/diag.h"
#include "files/file.h"
#include "gfx/image.h"
#include "gfx/pixel_format.h"
#include "support/test_files.h"

namespace imgtest {
using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, int v) {
  b.push_back(uint8_t(v & 255));
  b.push_back(uint8_t((v >> 8) & 255));
}

struct TgaLayout {
  int idLength = 0, mapType = 0, imageType = 2, mapFirst = 0, mapLength = 0, mapBits = 0;
  int width = 1, height = 1, bits = 24, descriptor = 0;
};
inline Bytes tga(const TgaLayout& s, const Bytes& map, const Bytes& pixels) {
  Bytes b{uint8_t(s.idLength), uint8_t(s.mapType), uint8_t(s.imageType)};
  put16(b, s.mapFirst);
  put16(b, s.mapLength);
  b.push_back(uint8_t(s.mapBits));
  put16(b, 0);
  put16(b, 0);
  put16(b, s.width);
  put16(b, s.height);
  b.push_back(uint8_t(s.bits));
  b.push_back(uint8_t(s.descriptor));
  for (int i = 0; i < s.idLength; ++i) b.push_back(uint8_t('A' + i % 26));
  b.insert(b.end(), map.begin(), map.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

// Decodes bytes through a reader as if they came from the file layer.
template <typename Reader>
int loadBytes(Reader& r, const Bytes& bytes, const char* name = "test.pic") {
  void* copy = memAlloc(bytes.size() ? bytes.size() : 1);
  if (!bytes.empty()) std::memcpy(copy, bytes.data(), bytes.size());
  return r.LoadMemory(copy, bytes.size(), name);
}

// A scratch texture of one pixel format, filled with a known pattern.
struct Texels {
  const TexturePixelFormat* format;
  int width, height;
  Bytes data;
  Texels(uint32_t code, int w, int h, uint8_t fill = 0)
      : format(grPixelFormatByCode(code)), width(w), height(h),
        data(size_t(w) * h * format->bytesPerPixel, fill) {}
  TexelTarget Target() { return TexelTarget{data.data(), width * format->bytesPerPixel, format}; }
  uint32_t At(int x, int y) const {
    uint32_t v = 0;
    const uint8_t* p = data.data() + (size_t(y) * width + x) * format->bytesPerPixel;
    for (int i = 0; i < format->bytesPerPixel; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
  }
};
inline uint32_t argb(int a, int r, int g, int b) {
  return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}
inline uint16_t rgb565(int r, int g, int b) { return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3)); }

// The whole picture in A8R8G8B8, alpha from the picture's own when it has one, else 0.
inline Texels colours(const cFileImage& img) {
  Texels t(21, img.Width(), img.Height(), 0);
  img.WriteColor(0, 0, img.Width(), img.Height(), t.Target());
  return t;
}

// gerr.log lines written between construction and Text().
class ErrorCapture {
 public:
  ErrorCapture() {
    errorLogClose();
    std::filesystem::remove("gerr.log");
  }
  std::string Text() {
    errorLogClose();
    return testkit::readFile("gerr.log");
  }
  int LinesNaming(const std::string& name) {
    std::string text = Text();
    int n = 0;
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) ++n;
    return n;
  }
};

inline void writeFile(const std::string& path, const Bytes& bytes) { testkit::writeFile(path, bytes); }
inline Bytes readFile(const std::string& path) { return testkit::readBytes(path); }

// PNG of any colour type and depth from packed rows (as libpng expects them).
struct PngLayout {
  int width = 1, height = 1, depth = 8, colour = PNG_COLOR_TYPE_RGB;
  bool interlaced = false;
  std::vector<png_color> palette;
  Bytes alpha;  // tRNS of a palette picture
};
inline void pngAppend(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
inline Bytes png(const PngLayout& s, const std::vector<Bytes>& rows) {
  Bytes out;
  png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(p);
  if (setjmp(png_jmpbuf(p))) {
    png_destroy_write_struct(&p, &info);
    return {};
  }
  png_set_write_fn(p, &out, pngAppend, nullptr);
  png_set_check_for_invalid_index(p, 0);  // tests write damaged palette pictures on purpose
  png_set_IHDR(p, info, s.width, s.height, s.depth, s.colour,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!s.palette.empty()) png_set_PLTE(p, info, s.palette.data(), int(s.palette.size()));
  if (!s.alpha.empty()) png_set_tRNS(p, info, s.alpha.data(), int(s.alpha.size()), nullptr);
  png_write_info(p, info);
  std::vector<png_bytep> ptrs;
  for (const Bytes& r : rows) ptrs.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(p, ptrs.data());
  png_write_end(p, info);
  png_destroy_write_struct(&p, &info);
  return out;
}

// JPEG of RGB (3 components) or grey (1 component) rows, top-down.
inline Bytes jpeg(int width, int height, int components, const Bytes& pixels, int quality = 95) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = unsigned(width);
  c.image_height = unsigned(height);
  c.input_components = components;
  c.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + size_t(c.next_scanline) * width * components);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(mem, mem + size);
  free(mem);
  return out;
}
}  // namespace imgtest
