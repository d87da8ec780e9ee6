// Texture pixel formats: the device code, per-channel bit counts and shifts, and bytes per pixel,
// which the image readers use to write texels and the textures use to size them.
#pragma once
#include <cstdint>

struct TexturePixelFormat {
  uint32_t code = 0;                 // 21 A8R8G8B8, 22 X8R8G8B8, 20 R8G8B8, 26 A4R4G4B4, ...
  uint8_t bits[4] = {0, 0, 0, 0};    // red, green, blue, alpha
  uint8_t shift[4] = {0, 0, 0, 0};   // red, green, blue, alpha
  int bytesPerPixel = 0;
  bool HasAlpha() const { return bits[3] != 0; }
  bool IsSet() const { return bytesPerPixel != 0; }
};

// The formats a device may offer, by code; null for an unknown code.
const TexturePixelFormat* grPixelFormatByCode(uint32_t code);
const char* grPixelFormatName(uint32_t code);

// Where a region write goes: locked texels with their pitch, laid out in a pixel format.
struct TexelTarget {
  uint8_t* texels = nullptr;
  int pitch = 0;  // bytes per row
  const TexturePixelFormat* format = nullptr;
};
