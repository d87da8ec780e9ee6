// The window icon.
#include "app/window_icon.h"

#include "base/diag.h"
#include "gfx/image.h"
#include "platform/platform.h"

namespace {
constexpr int kMaxIconSide = 256;
}

bool appIconPixels(const char* file, std::vector<uint8_t>& rgba, int& width, int& height) {
  rgba.clear();
  width = height = 0;
  auto reader = imgReaderFor(file ? file : "");
  if (!reader || reader->Load(file) != 0) return false;
  const int w = reader->Width(), h = reader->Height(), bpp = reader->BitsPerPixel();
  if (w <= 0 || h <= 0 || w > kMaxIconSide || h > kMaxIconSide || (bpp != 24 && bpp != 32)) {
    errorLog("Window icon \"%s\": %dx%d at %d bits is no icon (24 or 32 bits, at most %d pixels a side)\n", file,
             w, h, bpp, kMaxIconSide);
    return false;
  }
  const int step = bpp / 8;
  rgba.resize(size_t(w) * size_t(h) * 4);
  uint8_t* out = rgba.data();
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = reader->Row(y);
    if (!row) return false;
    for (int x = 0; x < w; ++x, row += step, out += 4) {
      // The readers keep blue, green, red (and alpha) order.
      out[0] = row[2];
      out[1] = row[1];
      out[2] = row[0];
      out[3] = step == 4 ? row[3] : 255;
    }
  }
  width = w;
  height = h;
  return true;
}

bool appSetWindowIcon(const char* file) {
  if (!platWindowExists()) return false;
  std::vector<uint8_t> rgba;
  int w = 0, h = 0;
  if (!appIconPixels(file, rgba, w, h)) return false;
  platWindowSetIcon(rgba.data(), w, h);
  return true;
}
