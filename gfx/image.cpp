// The picture reader base: whole-file loads, row copies, error-diffusion dithering, TGA saving,
// the reader chosen by file extension and PNG saving for screenshots.
#include <png.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "base/diag.h"
#include "files/file.h"
#include "gfx/image.h"

cFileImage::~cFileImage() = default;

int cFileImage::Load(const char* file) {
  FreePixels();
  void* data = nullptr;
  size_t length = fileLoad(gFileName(file), &data);
  if (length == 0 || data == nullptr) return Fail(file, "cannot be read");
  return LoadMemory(data, length, file);
}

bool cFileImage::SizeOfFile(const char* file, int& width, int& height,
                            bool (*sizeOfMemory)(const uint8_t*, size_t, int&, int&)) {
  void* data = nullptr;
  const size_t length = fileLoad(gFileName(file), &data);
  if (!data) return false;
  const bool ok = sizeOfMemory(static_cast<const uint8_t*>(data), length, width, height);
  memFree(data);
  return ok;
}

int cFileImage::Fail(const char* name, const char* why) {
  FreePixels();
  errorLog("Picture \"%s\": %s\n", name ? name : "", why);
  return 1;
}

bool cFileImage::Allocate(int w, int h, int bitsPerPixel) {
  FreePixels();
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return false;
  size_t row = size_t(w) * size_t(bitsPerPixel / 8);
  try {
    pixels_.resize(row * size_t(h));
  } catch (const std::bad_alloc&) {
    return false;
  }
  width_ = w;
  height_ = h;
  bpp_ = bitsPerPixel;
  rowLength_ = int(row);
  return true;
}

void cFileImage::FreePixels() {
  std::vector<uint8_t>().swap(pixels_);
  width_ = height_ = bpp_ = rowLength_ = 0;
  flags_ = 0;
}

const uint8_t* cFileImage::Row(int y) const {
  if (pixels_.empty() || y < 0 || y >= Height()) return nullptr;
  return pixels_.data() + size_t(y) * size_t(rowLength_);
}

void cFileImage::CopyRows(uint8_t* out, int rowStep) const {
  if (!out) return;
  for (int y = 0; y < Height(); ++y)
    std::memcpy(out + ptrdiff_t(y) * rowStep, Row(y), size_t(rowLength_));
}

// Serpentine error diffusion with one running error per byte position. The mask is applied to the
// full sum, so a sum past 255 is seen and clamped instead of wrapping round to black.
void cFileImage::Dither(int c1, int c2, int c3) {
  if (bpp_ != 24 && bpp_ != 32) return;
  if (c1 >= 8 && c2 >= 8 && c3 >= 8) return;
  const int counts[3] = {c1, c2, c3};
  int half[3], mask[3];
  bool active[3];
  for (int k = 0; k < 3; ++k) {
    int c = std::clamp(counts[k], 1, 8);
    int s = 8 - c;
    active[k] = s > 0;
    half[k] = s > 0 ? 1 << (s - 1) : 0;
    mask[k] = ~((1 << s) - 1);
  }
  const int step = bpp_ / 8;
  const int w = Width(), h = Height();
  int err[3] = {0, 0, 0};
  for (int y = 0; y < h; ++y) {
    uint8_t* row = pixels_.data() + size_t(y) * size_t(rowLength_);
    const bool backwards = (y % 2) == 0;
    for (int i = 0; i < w; ++i) {
      uint8_t* p = row + size_t(backwards ? w - 1 - i : i) * step;
      for (int k = 0; k < 3; ++k) {
        if (!active[k]) continue;
        int& e = err[k];
        if (e > 0) --e;
        else if (e < 0) ++e;
        const int v = p[k];
        const int q = (v + half[k] + e) & mask[k];
        if (q > 255) {
          p[k] = uint8_t(255 & mask[k]);
          e += v - 255;
        } else if (q < 0) {
          p[k] = 0;
          e += v;
        } else {
          p[k] = uint8_t(q);
          e += v - q;
        }
      }
    }
  }
}

bool cFileImage::SaveTGA(const char* file, const void* pixels, int bitsPerPixel, int width,
                         int height) {
  if (!pixels || (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
                  bitsPerPixel != 32))
    return false;
  const int w = width < 0 ? -width : width;
  const int h = height < 0 ? -height : height;
  if (w == 0 || h == 0 || w > 65535 || h > 65535) return false;
  uint8_t header[18] = {};
  header[2] = 2;
  header[12] = uint8_t(w & 255);
  header[13] = uint8_t(w >> 8);
  header[14] = uint8_t(h & 255);
  header[15] = uint8_t(h >> 8);
  header[16] = uint8_t(bitsPerPixel);
  // Alpha bits only where there is an alpha byte, so other readers do not look for one.
  header[17] = uint8_t((bitsPerPixel == 32 ? 8 : 0) | (height < 0 ? 0x20 : 0));
  FileHandle f = fileOpen(gFileName(file), 2);
  if (!f) return false;
  const size_t bytes = size_t(w) * size_t(h) * size_t(bitsPerPixel / 8);
  bool ok = fileWrite(f, header, sizeof header) == sizeof header &&
            fileWrite(f, pixels, bytes) == bytes;
  return fileClose(f) != 0 && ok;  // fileClose answers non-zero on success
}

std::unique_ptr<cFileImage> imgReaderFor(std::string_view fileName) {
  size_t slash = fileName.find_last_of("/\\");
  size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return nullptr;
  std::string ext(fileName.substr(dot + 1));
  for (char& c : ext) c = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
  // A trailing "z" marks a compressed file that the file layer inflates on load.
  if (ext.size() > 3 && ext.back() == 'z') ext.pop_back();
  if (ext == "tga") return std::make_unique<cTGAImage>();
  if (ext == "jpg" || ext == "jpeg") return std::make_unique<cJPGImage>();
  if (ext == "png") return std::make_unique<cPNGImage>();
  return nullptr;
}

namespace {
void pngWriteData(png_structp png, png_bytep data, png_size_t length) {
  auto* f = static_cast<FileHandle>(png_get_io_ptr(png));
  if (fileWrite(f, data, length) != length) png_error(png, "write failed");
}
void pngFlush(png_structp) {}
void pngWriteError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngQuiet(png_structp, png_const_charp) {}

// Runs the libpng calls in a frame of its own: libpng leaves through longjmp on an error.
bool pngWriteRows(png_structp png, png_infop info, FileHandle f, const uint8_t* rgba, int width,
                  int height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, f, pngWriteData, pngFlush);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, const_cast<png_bytep>(rgba + size_t(y) * size_t(width) * 4));
  png_write_end(png, info);
  return true;
}
}  // namespace

bool imgSavePNG(const char* file, const uint8_t* rgba, int width, int height) {
  if (!rgba || width <= 0 || height <= 0) return false;
  FileHandle f = fileOpen(gFileName(file), 2);
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngWriteError, pngQuiet);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = info && pngWriteRows(png, info, f, rgba, width, height);
  png_destroy_write_struct(&png, &info);
  ok = fileClose(f) != 0 && ok;  // fileClose answers non-zero on success
  if (!ok) errorLog("Picture \"%s\": cannot be written\n", file);
  return ok;
}

// ---- Region writes -------------------------------------------------------------------------
// Every write is one plan: up to four source fields, each mapped through a 256-entry table
// straight to its bits in the target texel, plus constant bits and a mask of the texel bits that
// stay as they were. 8-bit pictures use one field, the palette index.
namespace {
enum class Channel { kRed = 0, kGreen = 1, kBlue = 2, kAlpha = 3 };

struct WritePlan {
  int fields = 0;
  int srcShift[4] = {};
  uint32_t srcMask[4] = {};
  uint32_t table[4][256];
  uint32_t constant = 0;
  uint32_t keep = 0;     // texel bits that are not written
  // Colour into a target whose red, green and blue are whole bytes in the order of ours: the
  // first copyBytes bytes of each pixel are copied as they are (3, or 4 with alpha)...
  int copyBytes = 0;
  // ...or, for 24-bit pictures into 4-byte texels, packed with the constant bits.
  bool pack24 = false;
};

// A source channel of `bits` width moved into a target channel: fewer target bits drop the low
// source bits, more target bits shift up and leave the new low bits clear.
uint32_t place(uint32_t v, int srcBits, const TexturePixelFormat& f, Channel c) {
  const int i = int(c);
  const int dstBits = f.bits[i];
  v = dstBits < srcBits ? v >> (srcBits - dstBits) : v << (dstBits - srcBits);
  return (v & ((1u << dstBits) - 1)) << f.shift[i];
}

uint32_t channelMask(const TexturePixelFormat& f, Channel c) {
  const int i = int(c);
  return f.bits[i] ? ((1u << f.bits[i]) - 1) << f.shift[i] : 0;
}

uint32_t texelMask(const TexturePixelFormat& f) {
  return f.bytesPerPixel >= 4 ? 0xFFFFFFFFu : (1u << (8 * f.bytesPerPixel)) - 1;
}

// Source layout of the stored pixels (16-bit: X1R5G5B5; 24/32: blue, green, red, alpha bytes).
struct SourceField {
  int shift, bits;
};
SourceField sourceField(int bpp, Channel c) {
  if (bpp == 16) {
    static const SourceField k16[4] = {{10, 5}, {5, 5}, {0, 5}, {0, 0}};
    return k16[int(c)];
  }
  static const SourceField k32[4] = {{16, 8}, {8, 8}, {0, 8}, {24, 8}};
  SourceField s = k32[int(c)];
  if (c == Channel::kAlpha && bpp != 32) s.bits = 0;
  return s;
}

void addField(WritePlan& plan, int bpp, Channel from, Channel to, const TexturePixelFormat& f) {
  const SourceField s = sourceField(bpp, from);
  if (s.bits == 0 || f.bits[int(to)] == 0) return;
  const int n = plan.fields++;
  plan.srcShift[n] = s.shift;
  plan.srcMask[n] = (1u << s.bits) - 1;
  for (uint32_t v = 0; v <= plan.srcMask[n]; ++v) plan.table[n][v] = place(v, s.bits, f, to);
}

template <int SB>
inline uint32_t loadPixel(const uint8_t* p) {
  if constexpr (SB == 1) return p[0];
  else if constexpr (SB == 2) return uint32_t(p[0]) | uint32_t(p[1]) << 8;
  else if constexpr (SB == 3) return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
  else {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
}

// Blue-green-red pixels into 4-byte texels, four at a time from three 32-bit loads when walking
// forwards (little-endian: the first byte is the lowest).
static_assert(std::endian::native == std::endian::little);
void pack24Row(const WritePlan& plan, const uint8_t* src, int srcStep, uint8_t* out, int n) {
  const uint32_t fill = plan.constant, keep = plan.keep;
  auto put = [&](uint8_t* p, uint32_t v) {
    v |= fill;
    if (keep) {
      uint32_t old;
      std::memcpy(&old, p, 4);
      v |= old & keep;
    }
    std::memcpy(p, &v, 4);
  };
  int i = 0;
  if (srcStep == 3) {
    for (; i + 4 <= n; i += 4, src += 12, out += 16) {
      uint32_t a, b, c;
      std::memcpy(&a, src, 4);
      std::memcpy(&b, src + 4, 4);
      std::memcpy(&c, src + 8, 4);
      put(out, a & 0xFFFFFF);
      put(out + 4, (a >> 24) | (b & 0xFFFF) << 8);
      put(out + 8, (b >> 16) | (c & 0xFF) << 16);
      put(out + 12, c >> 8);
    }
  }
  for (; i < n; ++i, src += srcStep, out += 4)
    put(out, uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16);
}

template <int DB>
inline uint32_t loadTexel(const uint8_t* p) {
  return loadPixel<DB>(p);
}

template <int DB>
inline void storeTexel(uint8_t* p, uint32_t v) {
  if constexpr (DB == 4) {
    std::memcpy(p, &v, 4);
  } else {
    p[0] = uint8_t(v);
    if constexpr (DB >= 2) p[1] = uint8_t(v >> 8);
    if constexpr (DB >= 3) p[2] = uint8_t(v >> 16);
  }
}

template <int SB, int DB>
void writeRow(const WritePlan& plan, const uint8_t* src, int srcStep, uint8_t* dst, int count) {
  const int fields = plan.fields;
  for (int i = 0; i < count; ++i, src += srcStep, dst += DB) {
    const uint32_t p = loadPixel<SB>(src);
    uint32_t v = plan.constant;
    for (int k = 0; k < fields; ++k) v |= plan.table[k][(p >> plan.srcShift[k]) & plan.srcMask[k]];
    if (plan.keep) v |= loadTexel<DB>(dst) & plan.keep;
    storeTexel<DB>(dst, v);
  }
}

using RowWriter = void (*)(const WritePlan&, const uint8_t*, int, uint8_t*, int);

template <int SB>
RowWriter rowWriterFor(int db) {
  switch (db) {
    case 2: return writeRow<SB, 2>;
    case 3: return writeRow<SB, 3>;
    case 4: return writeRow<SB, 4>;
    default: return nullptr;
  }
}

RowWriter rowWriter(int sb, int db) {
  switch (sb) {
    case 1: return rowWriterFor<1>(db);
    case 2: return rowWriterFor<2>(db);
    case 3: return rowWriterFor<3>(db);
    case 4: return rowWriterFor<4>(db);
    default: return nullptr;
  }
}

// The range of target columns (or rows) 0..n-1 whose source lies inside 0..size-1.
void clipSpan(int start, int signedCount, int size, int& n, int& first, int& last) {
  n = signedCount < 0 ? -signedCount : signedCount;
  if (signedCount >= 0) {
    first = std::max(0, -start);
    last = std::min(n, size - start);
  } else {
    first = std::max(0, start + n - size);
    last = std::min(n, start + n);
  }
}

inline int sourceIndex(int start, int signedCount, int n, int i) {
  return signedCount >= 0 ? start + i : start + n - 1 - i;
}
}  // namespace

// Shared walk of every region write; `build` fills the plan for this picture and target format.
template <typename Build>
static void writeRegion(const cFileImage& img, int sx, int sy, int w, int h,
                        const TexelTarget& dst, Build build) {
  if (img.Empty() || !dst.texels || !dst.format || !dst.format->IsSet()) return;
  const TexturePixelFormat& f = *dst.format;
  const int sb = img.BitsPerPixel() / 8;
  RowWriter writer = rowWriter(sb, f.bytesPerPixel);
  if (!writer) return;
  auto plan = std::make_unique<WritePlan>();
  if (!build(*plan, f)) return;
  int nx, x0, x1, ny, y0, y1;
  clipSpan(sx, w, img.Width(), nx, x0, x1);
  clipSpan(sy, h, img.Height(), ny, y0, y1);
  if (x0 >= x1 || y0 >= y1) return;
  const int srcStep = w >= 0 ? sb : -sb;
  const int firstX = sourceIndex(sx, w, nx, x0);
  for (int j = y0; j < y1; ++j) {
    const uint8_t* src = img.Row(sourceIndex(sy, h, ny, j)) + ptrdiff_t(firstX) * sb;
    uint8_t* out = dst.texels + ptrdiff_t(j) * dst.pitch + ptrdiff_t(x0) * f.bytesPerPixel;
    const int n = x1 - x0;
    if (plan->pack24) {
      pack24Row(*plan, src, srcStep, out, n);
    } else if (plan->copyBytes == sb && sb == f.bytesPerPixel && w >= 0) {
      std::memcpy(out, src, size_t(n) * size_t(sb));
    } else if (plan->copyBytes) {
      const int cb = plan->copyBytes, db = f.bytesPerPixel;
      for (int i = 0; i < n; ++i, src += srcStep, out += db) {
        out[0] = src[0];
        out[1] = src[1];
        out[2] = src[2];
        if (cb == 4) out[3] = src[3];
      }
    } else {
      writer(*plan, src, srcStep, out, n);
    }
  }
}

void cFileImage::WriteColor(int sx, int sy, int w, int h, const TexelTarget& dst) const {
  writeRegion(*this, sx, sy, w, h, dst, [&](WritePlan& plan, const TexturePixelFormat& f) {
    uint32_t written = channelMask(f, Channel::kRed) | channelMask(f, Channel::kGreen) |
                       channelMask(f, Channel::kBlue);
    if (bpp_ == 8) {
      plan.fields = 1;
      plan.srcShift[0] = 0;
      plan.srcMask[0] = 255;
      for (int i = 0; i < 256; ++i) {
        const uint8_t* e = palette_ + i * 3;
        plan.table[0][i] = place(e[2], 8, f, Channel::kRed) | place(e[1], 8, f, Channel::kGreen) |
                           place(e[0], 8, f, Channel::kBlue);
      }
    } else {
      for (Channel c : {Channel::kRed, Channel::kGreen, Channel::kBlue}) addField(plan, bpp_, c, c, f);
      if (bpp_ == 32) addField(plan, bpp_, Channel::kAlpha, Channel::kAlpha, f);
    }
    // A picture without alpha of its own is opaque, so the texel needs no read-back.
    if (bpp_ != 32) plan.constant = channelMask(f, Channel::kAlpha);
    written |= channelMask(f, Channel::kAlpha);
    plan.keep = texelMask(f) & ~written;
    const bool byteColour = bpp_ >= 24 && f.bytesPerPixel >= 3 && f.bits[0] == 8 &&
                            f.bits[1] == 8 && f.bits[2] == 8 && f.shift[0] == 16 &&
                            f.shift[1] == 8 && f.shift[2] == 0;
    const bool byteAlpha = !f.HasAlpha() || (f.bits[3] == 8 && f.shift[3] == 24);
    if (byteColour && bpp_ == 24 && f.bytesPerPixel == 4)
      plan.pack24 = true;
    else if (byteColour && byteAlpha)
      plan.copyBytes = bpp_ == 32 && f.HasAlpha() ? 4 : 3;
    return true;
  });
}

void cFileImage::WriteAsAlpha(int sx, int sy, int w, int h, const TexelTarget& dst) const {
  writeRegion(*this, sx, sy, w, h, dst, [&](WritePlan& plan, const TexturePixelFormat& f) {
    if (!f.HasAlpha()) return false;
    if (bpp_ == 8) {
      plan.fields = 1;
      plan.srcShift[0] = 0;
      plan.srcMask[0] = 255;
      for (int i = 0; i < 256; ++i) plan.table[0][i] = place(palette_[i * 3], 8, f, Channel::kAlpha);
    } else {
      addField(plan, bpp_, bpp_ == 32 ? Channel::kAlpha : Channel::kBlue, Channel::kAlpha, f);
    }
    plan.keep = texelMask(f) & ~channelMask(f, Channel::kAlpha);
    return true;
  });
}

void cFileImage::WriteOwnAlpha(int sx, int sy, int w, int h, const TexelTarget& dst) const {
  writeRegion(*this, sx, sy, w, h, dst, [&](WritePlan& plan, const TexturePixelFormat& f) {
    if (!f.HasAlpha()) return false;
    const uint32_t opaque = channelMask(f, Channel::kAlpha);
    if (bpp_ == 8) {
      plan.fields = 1;
      plan.srcShift[0] = 0;
      plan.srcMask[0] = 255;
      for (int i = 0; i < 256; ++i) {
        const uint8_t* e = palette_ + i * 3;
        plan.table[0][i] = (e[0] | e[1] | e[2]) ? opaque : 0;
      }
    } else if (bpp_ == 32) {
      addField(plan, bpp_, Channel::kAlpha, Channel::kAlpha, f);
    } else {
      plan.constant = opaque;
    }
    plan.keep = texelMask(f) & ~opaque;
    return true;
  });
}
