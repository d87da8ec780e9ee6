// The texture pixel formats a device may offer: channel widths and positions inside a texel, looked
// up by device format code.
#include "gfx/pixel_format.h"

namespace {
struct NamedFormat {
  TexturePixelFormat format;
  const char* name;
};

// Bits and shifts in red, green, blue, alpha order.
const NamedFormat kFormats[] = {
    {{21, {8, 8, 8, 8}, {16, 8, 0, 24}, 4}, "D3DFMT_A8R8G8B8"},
    {{22, {8, 8, 8, 0}, {16, 8, 0, 0}, 4}, "D3DFMT_X8R8G8B8"},
    {{20, {8, 8, 8, 0}, {16, 8, 0, 0}, 3}, "D3DFMT_R8G8B8"},
    {{26, {4, 4, 4, 4}, {8, 4, 0, 12}, 2}, "D3DFMT_A4R4G4B4"},
    {{25, {5, 5, 5, 1}, {10, 5, 0, 15}, 2}, "D3DFMT_A1R5G5B5"},
    {{24, {5, 5, 5, 0}, {10, 5, 0, 0}, 2}, "D3DFMT_X1R5G5B5"},
    {{23, {5, 6, 5, 0}, {11, 5, 0, 0}, 2}, "D3DFMT_R5G6B5"},
};
}  // namespace

const TexturePixelFormat* grPixelFormatByCode(uint32_t code) {
  for (const NamedFormat& f : kFormats)
    if (f.format.code == code) return &f.format;
  return nullptr;
}

const char* grPixelFormatName(uint32_t code) {
  for (const NamedFormat& f : kFormats)
    if (f.format.code == code) return f.name;
  return "D3DFMT_UNKNOWN";
}
