// Picture files: TGA (our own parser), JPEG (libjpeg) and PNG (libpng) decoded whole into memory,
// then written region by region into locked texels of any texture pixel format.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "gfx/pixel_format.h"

class cFileImage {
 public:
  enum Flags : uint32_t { kOwnTransparency = 1, kNoPalette = 2 };
  // Pictures wider or taller than this are refused as damaged.
  static constexpr int kMaxSide = 16384;

  virtual ~cFileImage();
  // Reads the whole file through the file layer and decodes it; 0 on success, non-zero on failure
  // (failures leave one gerr.log line naming the file and the reader empty).
  int Load(const char* file);
  // Decodes a buffer taken over from the caller (freed with memFree); `name` names it in errors.
  virtual int LoadMemory(void* buffer, size_t length, const char* name) = 0;
  virtual bool ReadSize(const char* file, int& width, int& height) = 0;
  static bool SaveTGA(const char* file, const void* pixels, int bitsPerPixel, int width, int height);
  void FreePixels();
  // All rows, top-down, into `out` with `rowStep` bytes between rows (bitsPerPixel/8 per pixel).
  void CopyRows(uint8_t* out, int rowStep) const;
  const uint8_t* Palette() const { return palette_; }  // 256 x blue, green, red

  // Region writes into locked texels. The source rectangle is x sx..sx+|w|-1, y sy..sy+|h|-1; a
  // negative width or height walks it backwards (the target gets it mirrored). Source texels
  // outside the picture leave their target texels alone; channels not written keep their bits.
  // Own transparency as alpha: a 32-bit picture's alpha; 8-bit pictures: pixels whose palette
  // entry is black are transparent, others opaque; other pictures are opaque.
  virtual void WriteOwnAlpha(int sx, int sy, int w, int h, const TexelTarget& dst) const;
  // One channel of this picture as the alpha of the target: alpha of a 32-bit picture, else the
  // first (blue) channel, for 8-bit pictures the palette colour.
  virtual void WriteAsAlpha(int sx, int sy, int w, int h, const TexelTarget& dst) const;
  // The colour channels (red, green, blue) and, when the target has alpha, the picture's alpha, or
  // full alpha for a picture without one (the texel is then written without being read).
  virtual void WriteColor(int sx, int sy, int w, int h, const TexelTarget& dst) const;
  // Error-diffusion dither of a 24/32-bit picture to the given bit counts (first, second, third
  // byte of each pixel).
  void Dither(int c1, int c2, int c3);
  uint32_t FlagsAnd(uint32_t mask) const { return flags_ & mask; }

  int Width() const { return width_ < 0 ? -width_ : width_; }
  int Height() const { return height_ < 0 ? -height_ : height_; }
  int BitsPerPixel() const { return bpp_; }
  bool Empty() const { return pixels_.empty(); }
  // Pixel bytes of row y (0 = top): BGR(A), 16-bit little-endian X1R5G5B5 or palette indices;
  // null outside the picture.
  const uint8_t* Row(int y) const;

 protected:
  // Empties the reader and writes the one gerr.log line of a failed load; answers 1.
  int Fail(const char* name, const char* why);
  // Sizes the pixel rows for a picture (w, h within kMaxSide); false when out of memory.
  bool Allocate(int w, int h, int bitsPerPixel);
  // Loads the whole file and asks a reader's size query of its bytes.
  static bool SizeOfFile(const char* file, int& width, int& height,
                         bool (*sizeOfMemory)(const uint8_t*, size_t, int&, int&));

  int width_ = 0, height_ = 0;  // negative: stored mirrored
  int bpp_ = 0;
  uint32_t flags_ = 0;
  std::vector<uint8_t> pixels_;  // rows top-down, rowLength_ bytes each
  int rowLength_ = 0;
  uint8_t palette_[768] = {};
};

// Each reader also answers the size of a picture held in memory (false when the header is bad).
class cTGAImage : public cFileImage {
 public:
  int LoadMemory(void* buffer, size_t length, const char* name) override;
  bool ReadSize(const char* file, int& width, int& height) override;
  static bool SizeOfMemory(const uint8_t* data, size_t length, int& width, int& height);

 private:
  int Decode(const uint8_t* data, size_t length, const char* name);
};
class cJPGImage : public cFileImage {
 public:
  int LoadMemory(void* buffer, size_t length, const char* name) override;
  bool ReadSize(const char* file, int& width, int& height) override;
  static bool SizeOfMemory(const uint8_t* data, size_t length, int& width, int& height);
};
struct png_color_struct;
class cPNGImage : public cFileImage {
 public:
  int LoadMemory(void* buffer, size_t length, const char* name) override;
  bool ReadSize(const char* file, int& width, int& height) override;
  static bool SizeOfMemory(const uint8_t* data, size_t length, int& width, int& height);

 private:
  int ExpandPalette(const png_color_struct* palette, int entries, const uint8_t* alpha,
                    int alphaCount, const char* name);
};

// The reader for a file name by its extension (".tga", ".jpg"/".jpeg", ".png", any case, also
// with the "z" of a compressed file appended), or null.
std::unique_ptr<cFileImage> imgReaderFor(std::string_view fileName);
// Writes RGBA pixels (top-down rows) as a PNG file; used by screenshots.
bool imgSavePNG(const char* file, const uint8_t* rgba, int width, int height);
