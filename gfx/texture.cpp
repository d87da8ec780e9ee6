// Texture objects, their texel copies and uploads, the library and named-texture lookup.
#include "gfx/texture.h"

#include <algorithm>
#include <cstring>

#include "base/diag.h"
#include "files/file.h"
#include "files/name_hash.h"
#include "gfx/image.h"
#include "gfx/render_device.h"
#include "platform/platform.h"

namespace {
std::vector<CBaseTexture*>& Library() {
  static std::vector<CBaseTexture*> lib;
  return lib;
}
int g_pageSize = 512;
int g_rowShift = 3;

bool IsPow2InRange(int v) { return v >= 2 && v <= 32768 && (v & (v - 1)) == 0; }

// One texel of any format as 8-bit RGBA; a format without alpha reads opaque.
inline void ToRgba(const TexturePixelFormat& f, const uint8_t* src, uint8_t* out) {
  uint32_t v = 0;
  for (int i = 0; i < f.bytesPerPixel; ++i) v |= uint32_t(src[i]) << (8 * i);
  for (int c = 0; c < 4; ++c) {
    int bits = f.bits[c];
    if (bits == 0) {
      out[c] = c == 3 ? 255 : 0;
      continue;
    }
    uint32_t x = (v >> f.shift[c]) & ((1u << bits) - 1);
    // Replicate the high bits into the new low ones so full intensity stays 255.
    uint32_t e = x << (8 - bits);
    for (int have = bits; have < 8; have += bits) e |= e >> bits;
    out[c] = uint8_t(e);
  }
}
}  // namespace

// ---- CBaseTexture --------------------------------------------------------------------------

CBaseTexture::CBaseTexture(int w, int h, const TexturePixelFormat* f)
    : width(uint16_t(w)), height(uint16_t(h)), format(f) {}

CBaseTexture::~CBaseTexture() { ReleaseDevice(); }

void CBaseTexture::ReleaseAtZero() { Release(); }

void CBaseTexture::Release() {
  txLibraryRemove(this);
  ReleaseDevice();
  delete this;
}

bool CBaseTexture::CreateDevice() {
  if (device_) return true;
  PlatGpu* gpu = grDevice();
  if (!gpu || !format || !format->IsSet() || !txSizeAllowed(width, height)) return false;
  device_ = gpu->CreateTexture(width, height);
  if (!device_) return false;
  texels_.assign(size_t(width) * height * format->bytesPerPixel, 0);
  return true;
}

void CBaseTexture::ReleaseDevice() {
  if (device_ && grDevice()) grDevice()->DeleteTexture(device_);
  device_ = 0;
  texels_.clear();
  texels_.shrink_to_fit();
}

uint8_t* CBaseTexture::Lock(int& pitch) {
  if (!device_ || texels_.empty()) return nullptr;
  pitch = width * format->bytesPerPixel;
  return texels_.data();
}

void CBaseTexture::Unlock(int x, int y, int w, int h) {
  PlatGpu* gpu = grDevice();
  if (!device_ || !gpu) return;
  x = std::max(0, x);
  y = std::max(0, y);
  w = std::min(w, width - x);
  h = std::min(h, height - y);
  if (w <= 0 || h <= 0 || !gpu->IsReal()) return;
  const int bpp = format->bytesPerPixel;
  std::vector<uint8_t> rgba(size_t(w) * h * 4);
  for (int r = 0; r < h; ++r) {
    const uint8_t* src = &texels_[(size_t(y + r) * width + x) * bpp];
    uint8_t* dst = &rgba[size_t(r) * w * 4];
    if (format->code == 21) {
      for (int i = 0; i < w; ++i, src += 4, dst += 4) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = src[3];
      }
    } else {
      for (int i = 0; i < w; ++i, src += bpp, dst += 4) ToRgba(*format, src, dst);
    }
  }
  gpu->UploadTexture(device_, x, y, w, h, rgba.data());
}

bool CBaseTexture::SaveTGA(const char* file) const {
  if (texels_.empty()) return false;
  const bool alpha = format->HasAlpha();
  const int bpp = alpha ? 4 : 3;
  std::vector<uint8_t> out(size_t(width) * height * bpp);
  uint8_t rgba[4];
  for (size_t i = 0; i < size_t(width) * height; ++i) {
    ToRgba(*format, &texels_[i * format->bytesPerPixel], rgba);
    uint8_t* d = &out[i * bpp];
    d[0] = rgba[2];
    d[1] = rgba[1];
    d[2] = rgba[0];
    if (alpha) d[3] = rgba[3];
  }
  // A negative height writes top-down rows, as they are stored.
  return cFileImage::SaveTGA(file, out.data(), bpp * 8, width, -int(height));
}

// ---- CRegularTexture -----------------------------------------------------------------------

CRegularTexture::CRegularTexture(std::string_view file, int w, int h, const TexturePixelFormat* f)
    : CBaseTexture(w, h, f), file_(file), hash_(fileNameHash(file)) {}

int CRegularTexture::LoadedSize() const {
  if (!loaded_) return 0;
  return width * height * (format && format->HasAlpha() ? 4 : 3);
}

bool CRegularTexture::Matches(uint32_t hash, std::string_view name) const {
  return hash == hash_ && fileFoldName(name) == fileFoldName(file_);
}

bool CRegularTexture::Load() {
  if (loaded_) return true;
  auto reader = imgReaderFor(file_);
  if (!reader || reader->Load(file_.c_str()) != 0) {
    platMessageBox(file_, "file not found");
    return false;
  }
  int pitch = 0;
  uint8_t* texels = Lock(pitch);
  if (!texels) return false;
  TexelTarget dst{texels, pitch, format};
  const int w = std::min<int>(width, reader->Width()), h = std::min<int>(height, reader->Height());
  reader->WriteColor(0, 0, w, h, dst);
  if (format->HasAlpha() && reader->FlagsAnd(cFileImage::kOwnTransparency)) reader->WriteOwnAlpha(0, 0, w, h, dst);
  Unlock();
  loaded_ = true;
  return true;
}

// ---- The library ---------------------------------------------------------------------------

int txLibraryAdd(CBaseTexture* t) {
  auto& lib = Library();
  for (size_t i = 0; i < lib.size(); ++i) {
    if (!lib[i]) {
      lib[i] = t;
      return int(i);
    }
  }
  // Grow by half, but never by nothing when the table is tiny.
  if (lib.size() == lib.capacity()) lib.reserve(std::max(lib.capacity() + lib.capacity() / 2, lib.capacity() + 1));
  lib.push_back(t);
  return int(lib.size() - 1);
}

void txLibraryRemove(CBaseTexture* t) {
  for (auto& e : Library())
    if (e == t) e = nullptr;
}

int txLibrarySize() { return int(Library().size()); }
CBaseTexture* txLibraryAt(int i) { return i >= 0 && i < txLibrarySize() ? Library()[size_t(i)] : nullptr; }
int txLibraryCount() {
  return int(std::count_if(Library().begin(), Library().end(), [](CBaseTexture* t) { return t != nullptr; }));
}

void txLibraryClear(bool freeTable) {
  auto& lib = Library();
  lib.assign(lib.size(), nullptr);
  if (freeTable) {
    lib.clear();
    lib.shrink_to_fit();
  }
}

// ---- Creation ------------------------------------------------------------------------------

void txSetPageSize(int size, int rowShift) {
  g_pageSize = size;
  g_rowShift = rowShift;
}
int txPageSize() { return g_pageSize; }

bool txSizeAllowed(int w, int h) {
  PlatGpu* gpu = grDevice();
  const int max = gpu ? gpu->MaxTextureSize() : 0;
  return IsPow2InRange(w) && IsPow2InRange(h) && w <= max && h <= max;
}

CRegularTexture* txFind(std::string_view file, int w, int h, const TexturePixelFormat* format) {
  const uint32_t hash = fileNameHash(file);
  for (CBaseTexture* t : Library()) {
    if (!t || !t->Matches(hash, file)) continue;
    if (w == 0 || h == 0 || (t->width == w && t->height == h && t->format == format))
      return static_cast<CRegularTexture*>(t);
  }
  return nullptr;
}

CRegularTexture* txGetOrCreate(std::string_view file, int w, int h, const TexturePixelFormat* format, bool loaded) {
  if (CRegularTexture* t = txFind(file, w, h, format)) {
    t->AddRef();
    return t;
  }
  auto t = std::make_unique<CRegularTexture>(file, w, h, format);
  if (!t->CreateDevice()) return nullptr;
  if (loaded) t->MarkLoaded();
  t->AddRef();
  txLibraryAdd(t.get());
  return t.release();
}

CSoftwareAtlasTexture* txCreateAtlasPage(int size, const TexturePixelFormat* format) {
  auto t = std::make_unique<CSoftwareAtlasTexture>(size, size, format);
  if (!t->CreateDevice()) return nullptr;
  t->atlasFreeWidth = uint16_t(size);
  t->atlasFreeHeight = uint16_t(size);
  t->slots = std::make_unique<gTextureSlotMap>(size, g_rowShift);
  t->freeCells = int16_t(std::min(t->slots->Cells(), 32767));
  txLibraryAdd(t.get());
  return t.release();
}

bool txRegister(CBaseTexture* t) {
  if (!t) return false;
  if (!t->CreateDevice()) {
    delete t;
    return false;
  }
  txLibraryAdd(t);
  return true;
}
