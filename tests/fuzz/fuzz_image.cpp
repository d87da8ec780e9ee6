// Fuzz target of the picture readers: any bytes go to the TGA, PNG and JPEG readers and their size
// queries; whatever loads is written into textures of several formats, mirrored and clipped, and
// dithered, all of which must stay inside the picture and the target.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "files/file.h"
#include "gfx/image.h"
#include "gfx/pixel_format.h"

namespace {
void exercise(cFileImage& img, const uint8_t* data, size_t size, const char* name) {
  void* copy = memAlloc(size ? size : 1);
  if (size) std::memcpy(copy, data, size);
  if (img.LoadMemory(copy, size, name) != 0) return;
  const int w = img.Width(), h = img.Height();
  // Region writes of a corner at most 64 x 64, so big pictures do not slow the run down.
  const int rw = w < 64 ? w : 64, rh = h < 64 ? h : 64;
  for (uint32_t code : {21u, 20u, 23u, 25u}) {
    const TexturePixelFormat* f = grPixelFormatByCode(code);
    std::vector<uint8_t> texels(size_t(rw + 2) * size_t(rh + 2) * size_t(f->bytesPerPixel));
    TexelTarget t{texels.data(), (rw + 2) * f->bytesPerPixel, f};
    img.WriteColor(0, 0, rw, rh, t);
    img.WriteColor(w - rw, h - rh, -rw, -rh, t);
    img.WriteColor(-1, -1, rw + 2, rh + 2, t);
    img.WriteAsAlpha(0, 0, rw, rh, t);
    img.WriteOwnAlpha(w - rw, 0, rw, -rh, t);
  }
  if (size_t(w) * size_t(h) <= 256 * 256) {
    img.Dither(5, 6, 5);
    std::vector<uint8_t> rows(size_t(w) * size_t(h) * size_t(img.BitsPerPixel() / 8));
    img.CopyRows(rows.data(), w * (img.BitsPerPixel() / 8));
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int w = 0, h = 0;
  cTGAImage::SizeOfMemory(data, size, w, h);
  cPNGImage::SizeOfMemory(data, size, w, h);
  cJPGImage::SizeOfMemory(data, size, w, h);
  cTGAImage tga;
  exercise(tga, data, size, "fuzz.tga");
  cPNGImage png;
  exercise(png, data, size, "fuzz.png");
  cJPGImage jpg;
  exercise(jpg, data, size, "fuzz.jpg");
  return 0;
}
