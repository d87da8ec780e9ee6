// TGA reader: colour-mapped, true-colour and grey pictures, raw or run-length encoded, in any of
// the four origins; every read is checked against the length of the file.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "files/file.h"
#include "gfx/image.h"

namespace {
struct TgaHeader {
  int idLength, mapType, imageType, mapFirst, mapLength, mapEntryBits, width, height, bits, descriptor;
};

int le16(const uint8_t* p) { return p[0] | p[1] << 8; }

bool readHeader(const uint8_t* d, size_t length, TgaHeader& h) {
  if (!d || length < 18) return false;
  h.idLength = d[0];
  h.mapType = d[1];
  h.imageType = d[2];
  h.mapFirst = le16(d + 3);
  h.mapLength = le16(d + 5);
  h.mapEntryBits = d[7];
  h.width = le16(d + 12);
  h.height = le16(d + 14);
  h.bits = d[16];
  h.descriptor = d[17];
  return true;
}

bool sizeInRange(const TgaHeader& h) {
  return h.width > 0 && h.height > 0 && h.width <= cFileImage::kMaxSide && h.height <= cFileImage::kMaxSide;
}

// A 5-5-5 value to blue, green, red bytes; the new low bits stay clear.
void unpack555(int v, uint8_t* bgr) {
  bgr[0] = uint8_t((v & 31) << 3);
  bgr[1] = uint8_t(((v >> 5) & 31) << 3);
  bgr[2] = uint8_t(((v >> 10) & 31) << 3);
}

struct Cursor {
  const uint8_t* data;
  size_t length, pos;
  size_t Left() const { return length - pos; }
};

// Run-length packets: a header byte (top bit: one pixel repeated, else literal pixels) and
// (low seven bits + 1) pixels. Runs may cross rows, as older writers let them.
bool decodeRle(Cursor& in, uint8_t* out, size_t pixels, int pb) {
  size_t done = 0;
  while (done < pixels) {
    if (in.Left() < 1) return false;
    const uint8_t head = in.data[in.pos++];
    const size_t count = std::min<size_t>((head & 0x7F) + 1u, pixels - done);
    uint8_t* to = out + done * pb;
    if (head & 0x80) {
      if (in.Left() < size_t(pb)) return false;
      const uint8_t* px = in.data + in.pos;
      for (size_t i = 0; i < count; ++i) std::memcpy(to + i * pb, px, pb);
      in.pos += pb;
    } else {
      const size_t bytes = ((head & 0x7F) + 1u) * size_t(pb);
      if (in.Left() < bytes) return false;
      std::memcpy(to, in.data + in.pos, count * pb);
      in.pos += bytes;
    }
    done += count;
  }
  return true;
}
}  // namespace

bool cTGAImage::SizeOfMemory(const uint8_t* data, size_t length, int& width, int& height) {
  // The same limits as the loader: a size it would refuse is no size.
  TgaHeader h;
  if (!readHeader(data, length, h) || !sizeInRange(h)) return false;
  width = h.width;
  height = h.height;
  return true;
}

bool cTGAImage::ReadSize(const char* file, int& width, int& height) {
  return SizeOfFile(file, width, height, &SizeOfMemory);
}

int cTGAImage::LoadMemory(void* buffer, size_t length, const char* name) {
  std::unique_ptr<void, void (*)(void*)> owned(buffer, memFree);
  return Decode(static_cast<const uint8_t*>(buffer), buffer ? length : 0, name);
}

int cTGAImage::Decode(const uint8_t* data, size_t length, const char* name) {
  FreePixels();
  char why[128];
  TgaHeader h;
  if (!readHeader(data, length, h)) return Fail(name, "shorter than a TGA header");
  const int type = h.imageType & ~8;
  const bool rle = (h.imageType & 8) != 0;
  if (type < 1 || type > 3 || h.imageType > 11) {
    std::snprintf(why, sizeof why, "TGA image type %d is not supported", h.imageType);
    return Fail(name, why);
  }
  if (!sizeInRange(h)) {
    std::snprintf(why, sizeof why, "size %d x %d is out of range", h.width, h.height);
    return Fail(name, why);
  }
  const bool mapped = type == 1, grey = type == 3;
  const int bits = h.bits == 15 ? 16 : h.bits;
  const bool bitsOk = (mapped || grey) ? bits == 8 : (bits == 16 || bits == 24 || bits == 32);
  if (!bitsOk) {
    std::snprintf(why, sizeof why, "%d bits per pixel do not suit TGA image type %d", h.bits,
                  h.imageType);
    return Fail(name, why);
  }
  if (h.mapType > 1 || (mapped && h.mapType != 1)) return Fail(name, "bad TGA colour map type");

  Cursor in{data, length, 18};
  if (in.Left() < size_t(h.idLength)) return Fail(name, "the TGA ID field runs past the end");
  in.pos += h.idLength;

  // The colour map as declared: entries first..first+length-1 of 15/16, 24 or 32 bits.
  int validFirst = 0, validEnd = 256;
  uint8_t palette[768] = {};
  if (h.mapType == 1) {
    const int eb = h.mapEntryBits == 15 ? 2 : h.mapEntryBits / 8;
    if (h.mapLength > 0 && h.mapEntryBits != 15 && h.mapEntryBits != 16 &&
        h.mapEntryBits != 24 && h.mapEntryBits != 32) {
      std::snprintf(why, sizeof why, "TGA colour map entries of %d bits", h.mapEntryBits);
      return Fail(name, why);
    }
    const size_t mapBytes = size_t(h.mapLength) * size_t(eb);
    if (in.Left() < mapBytes) {
      std::snprintf(why, sizeof why, "TGA colour map of %d entries runs past the end at offset %zu",
                    h.mapLength, in.pos);
      return Fail(name, why);
    }
    if (mapped) {
      const uint8_t* e = data + in.pos;
      for (int k = 0; k < h.mapLength; ++k, e += eb) {
        const int index = h.mapFirst + k;
        if (index > 255) break;
        uint8_t* to = palette + index * 3;
        if (eb == 2) unpack555(le16(e), to);
        else std::memcpy(to, e, 3);
      }
      validFirst = std::min(h.mapFirst, 256);
      validEnd = std::min(h.mapFirst + h.mapLength, 256);
    }
    in.pos += mapBytes;
  }
  if (grey)
    for (int i = 0; i < 256; ++i) palette[i * 3] = palette[i * 3 + 1] = palette[i * 3 + 2] = uint8_t(i);

  const int pb = bits / 8;
  const size_t rowBytes = size_t(h.width) * size_t(pb);
  const size_t pixelCount = size_t(h.width) * size_t(h.height);
  // A run packet is at least 1 + pb bytes and yields at most 128 pixels: a picture claiming more
  // than the file can hold is refused before anything is allocated for it.
  if (rle ? pixelCount / 128 > in.Left() / size_t(1 + pb) : rowBytes * h.height > in.Left()) {
    const size_t rows = rle ? 0 : in.Left() / rowBytes;
    if (rle)
      std::snprintf(why, sizeof why, "run-length data at offset %zu is too short for %d x %d",
                    in.pos, h.width, h.height);
    else
      std::snprintf(why, sizeof why, "pixel row %zu runs past the end of the file", rows);
    return Fail(name, why);
  }
  if (!Allocate(h.width, h.height, bits)) return Fail(name, "out of memory");

  const bool topDown = (h.descriptor & 0x20) != 0;
  if (rle) {
    if (!decodeRle(in, pixels_.data(), pixelCount, pb)) {
      std::snprintf(why, sizeof why, "run-length data runs past the end of the file at offset %zu",
                    in.pos);
      return Fail(name, why);
    }
    if (!topDown)
      for (int y = 0; y < h.height / 2; ++y)
        std::swap_ranges(pixels_.begin() + ptrdiff_t(y * rowBytes),
                         pixels_.begin() + ptrdiff_t((y + 1) * rowBytes),
                         pixels_.begin() + ptrdiff_t((h.height - 1 - y) * rowBytes));
  } else {
    for (int r = 0; r < h.height; ++r) {
      const int y = topDown ? r : h.height - 1 - r;
      std::memcpy(pixels_.data() + size_t(y) * rowBytes, data + in.pos + size_t(r) * rowBytes,
                  rowBytes);
    }
  }
  if (h.descriptor & 0x10) {  // stored right to left
    for (int y = 0; y < h.height; ++y) {
      uint8_t* row = pixels_.data() + size_t(y) * rowBytes;
      for (int a = 0, b = h.width - 1; a < b; ++a, --b) std::swap_ranges(row + a * pb, row + (a + 1) * pb, row + b * pb);
    }
  }

  if (bits == 8) {
    std::memcpy(palette_, palette, sizeof palette_);
    bool used[256] = {};
    for (uint8_t v : pixels_) used[v] = true;
    for (int i = 0; i < 256; ++i) {
      if (!used[i]) continue;
      if (i < validFirst || i >= validEnd) {
        std::snprintf(why, sizeof why, "palette index %d is outside the colour map (%d..%d)", i,
                      validFirst, validEnd - 1);
        return Fail(name, why);
      }
      const uint8_t* e = palette + i * 3;
      if ((e[0] | e[1] | e[2]) == 0) flags_ |= kOwnTransparency;
    }
    if (!mapped) flags_ |= kNoPalette;
  }
  return 0;
}
