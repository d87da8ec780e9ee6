// PNG reader through libpng: every colour type and depth is expanded by libpng's own transforms to
// 8-bit blue-green-red(-alpha) rows; errors come back through setjmp, never exit the program.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "files/file.h"
#include "gfx/image.h"

namespace {
struct PngSource {
  const uint8_t* data;
  size_t length, pos;
  char message[160];
};

void pngRead(png_structp png, png_bytep out, png_size_t n) {
  auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
  if (n > src->length - src->pos) png_error(png, "the file ends early");
  std::memcpy(out, src->data + src->pos, n);
  src->pos += n;
}

void pngError(png_structp png, png_const_charp message) {
  auto* src = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(src->message, sizeof src->message, "%s", message ? message : "error");
  png_longjmp(png, 1);
}
void pngWarning(png_structp, png_const_charp) {}

uint32_t be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Deflate never packs more than 1032 bytes into one, so pixels taking more than that many times
// the whole file are a header that lies about the size.
constexpr size_t kMaxInflateRatio = 1032;

struct PngReadState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReadState() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};
}  // namespace

bool cPNGImage::SizeOfMemory(const uint8_t* data, size_t length, int& width, int& height) {
  // Signature, then the IHDR chunk: length, "IHDR", width, height (big-endian).
  if (!data || length < 24 || png_sig_cmp(data, 0, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0)
    return false;
  const uint32_t w = be32(data + 16), h = be32(data + 20);
  if (w == 0 || h == 0 || w > uint32_t(kMaxSide) || h > uint32_t(kMaxSide)) return false;
  width = int(w);
  height = int(h);
  return true;
}

bool cPNGImage::ReadSize(const char* file, int& width, int& height) {
  return SizeOfFile(file, width, height, &SizeOfMemory);
}

int cPNGImage::LoadMemory(void* buffer, size_t length, const char* name) {
  std::unique_ptr<void, void (*)(void*)> owned(buffer, memFree);
  FreePixels();
  if (!buffer) length = 0;
  PngSource src{static_cast<const uint8_t*>(buffer), length, 0, {}};
  if (length < 8 || png_sig_cmp(src.data, 0, 8) != 0) return Fail(name, "not a PNG file");

  PngReadState st;
  st.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &src, pngError, pngWarning);
  if (st.png) st.info = png_create_info_struct(st.png);
  if (!st.info) return Fail(name, "out of memory");
  char why[200];
  // Nothing with a destructor is created between here and the last libpng call.
  if (setjmp(png_jmpbuf(st.png))) {
    std::snprintf(why, sizeof why, "PNG error: %s", src.message);
    return Fail(name, why);
  }
  png_set_read_fn(st.png, &src, pngRead);
  png_set_user_limits(st.png, kMaxSide, kMaxSide);
  png_read_info(st.png, st.info);

  png_uint_32 w = 0, h = 0;
  int depth = 0, colour = 0, interlace = 0;
  png_get_IHDR(st.png, st.info, &w, &h, &depth, &colour, &interlace, nullptr, nullptr);
  const size_t pixelBits = size_t(w) * h * size_t(depth) * png_get_channels(st.png, st.info);
  if (pixelBits / 8 > length * kMaxInflateRatio) {
    std::snprintf(why, sizeof why, "%u x %u pixels cannot come from %zu bytes", unsigned(w),
                  unsigned(h), length);
    return Fail(name, why);
  }

  // Palette pictures are read as indices and expanded here, since libpng's own expansion turns an
  // index past the palette into black where a damaged file should be refused.
  const bool mapped = colour == PNG_COLOR_TYPE_PALETTE;
  if (mapped) {
    png_set_packing(st.png);
  } else {
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(st.png);
    if (png_get_valid(st.png, st.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(st.png);
    if (depth == 16) png_set_strip_16(st.png);
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA)
      png_set_gray_to_rgb(st.png);  // grey comes out the same in either channel order
    else
      png_set_bgr(st.png);
  }
  const int passes = png_set_interlace_handling(st.png);
  png_read_update_info(st.png, st.info);

  const int channels = png_get_channels(st.png, st.info);
  if ((mapped ? channels != 1 : (channels != 3 && channels != 4)) ||
      png_get_bit_depth(st.png, st.info) != 8 ||
      png_get_rowbytes(st.png, st.info) != size_t(w) * size_t(channels))
    return Fail(name, "PNG pixel layout did not convert to 8-bit colour");
  if (!Allocate(int(w), int(h), channels * 8)) return Fail(name, "out of memory");
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < h; ++y)
      png_read_row(st.png, pixels_.data() + size_t(y) * size_t(rowLength_), nullptr);
  if (!mapped) return 0;

  png_colorp pal = nullptr;
  int entries = 0;
  png_bytep trans = nullptr;
  int transCount = 0;
  png_get_PLTE(st.png, st.info, &pal, &entries);
  if (png_get_valid(st.png, st.info, PNG_INFO_tRNS))
    png_get_tRNS(st.png, st.info, &trans, &transCount, nullptr);
  return ExpandPalette(pal, entries, trans, transCount, name);
}

// Indices to blue-green-red(-alpha); entries past the tRNS list are opaque.
int cPNGImage::ExpandPalette(const png_color* pal, int entries, const uint8_t* trans,
                             int transCount, const char* name) {
  uint8_t colour[256][4] = {};
  for (int i = 0; i < entries && i < 256; ++i) {
    colour[i][0] = pal[i].blue;
    colour[i][1] = pal[i].green;
    colour[i][2] = pal[i].red;
    colour[i][3] = i < transCount ? trans[i] : 255;
  }
  const int step = transCount > 0 ? 4 : 3;
  std::vector<uint8_t> out;
  try {
    out.resize(pixels_.size() * size_t(step));
  } catch (const std::bad_alloc&) {
    return Fail(name, "out of memory");
  }
  uint8_t* to = out.data();
  for (uint8_t index : pixels_) {
    if (index >= entries) {
      char why[96];
      std::snprintf(why, sizeof why, "palette index %d is past the %d palette entries", index, entries);
      return Fail(name, why);
    }
    std::memcpy(to, colour[index], size_t(step));
    to += step;
  }
  pixels_.swap(out);
  bpp_ = step * 8;
  rowLength_ = width_ * step;
  return 0;
}
