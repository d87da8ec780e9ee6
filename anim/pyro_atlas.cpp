// Particle atlas pages and particle sprites: first-fit placement on 8 x 8 cells, pixels written in
// the page's format with their edge texels repeated into the border, and placement again after the
// device went away.
#include "anim/pyro_atlas.h"

#include <algorithm>

#include "gfx/render_device.h"

namespace PyroParticles {
namespace {

constexpr int kBorder = 1;

std::vector<CPyroBitmapTexture*>& Pages() {
  static std::vector<CPyroBitmapTexture*> pages;
  return pages;
}

int Cells(int texels) { return (texels + 7) / 8; }

// One ARGB pixel in a texture pixel format, little-endian.
void Store(const TexturePixelFormat& f, uint32_t argb, uint8_t* out) {
  const uint32_t ch[4] = {(argb >> 16) & 255, (argb >> 8) & 255, argb & 255, argb >> 24};
  uint32_t v = 0;
  for (int c = 0; c < 4; ++c)
    if (f.bits[c]) v |= (ch[c] >> (8 - f.bits[c])) << f.shift[c];
  for (int i = 0; i < f.bytesPerPixel; ++i) out[i] = uint8_t(v >> (8 * i));
}

}  // namespace

// ---- Pages ----------------------------------------------------------------------------------

CPyroBitmapTexture::CPyroBitmapTexture(int size, const TexturePixelFormat* format)
    : CBitmapTexture(size, size, format), cells_(size, 0), owner_(grDevice()) {
  atlasFreeWidth = atlasFreeHeight = uint16_t(size);
  freeCells = int16_t(std::min(cells_.Cells(), 32767));
}

bool CPyroBitmapTexture::Usable() const { return HasDevice() && owner_ && owner_ == grDevice(); }

void CPyroBitmapTexture::Release() {
  auto& pages = Pages();
  pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
  // A device texture of a device that is gone must not be deleted on its successor.
  if (owner_ != grDevice()) device_ = 0;
  CBitmapTexture::Release();
}

int CPyroBitmapTexture::PageCount() { return int(Pages().size()); }
CPyroBitmapTexture* CPyroBitmapTexture::PageAt(int i) {
  return i >= 0 && i < PageCount() ? Pages()[size_t(i)] : nullptr;
}

bool CPyroBitmapTexture::Place(int w, int h, SpriteTile& out) {
  const int page = txPageSize();
  if (w <= 0 || h <= 0 || w > page - 2 * kBorder || h > page - 2 * kBorder || !grDevice() || !grAlphaFormat())
    return false;
  const int a = Cells(w + 2 * kBorder), b = Cells(h + 2 * kBorder);
  auto tryPage = [&](CPyroBitmapTexture* p) {
    int cx = 0, cy = 0;
    if (!p->Usable() || p->freeCells < a * b || !p->cells_.Take(a, b, cx, cy)) return false;
    p->freeCells = int16_t(p->freeCells - a * b);
    out = SpriteTile{};
    out.borderX = out.borderY = kBorder;
    out.left = int16_t(cx * 8 + kBorder);
    out.top = int16_t(cy * 8 + kBorder);
    out.right = int16_t(out.left + w);
    out.bottom = int16_t(out.top + h);
    out.texture = p;
    p->AddRef();
    return true;
  };
  for (CPyroBitmapTexture* p : Pages())
    if (tryPage(p)) return true;
  auto* fresh = new CPyroBitmapTexture(page, grAlphaFormat());
  if (!txRegister(fresh)) return false;  // deleted by the library when it has no device texture
  Pages().push_back(fresh);
  if (tryPage(fresh)) return true;
  fresh->Release();
  return false;
}

void CPyroBitmapTexture::Free(SpriteTile& tile) {
  auto* p = static_cast<CPyroBitmapTexture*>(tile.texture);
  if (!p) return;
  tile.texture = nullptr;
  const int a = Cells(tile.right - tile.left + 2 * tile.borderX), b = Cells(tile.bottom - tile.top + 2 * tile.borderY);
  p->cells_.Free((tile.left - tile.borderX) / 8, (tile.top - tile.borderY) / 8, a, b);
  p->freeCells = int16_t(p->freeCells + a * b);
  p->DropRef();
}

// ---- Sprites --------------------------------------------------------------------------------

CPyroSprite::CPyroSprite(const PyroGraphics::CBitmap& bitmap) : CBaseSprite("", "") {
  blank = true;  // no file behind it
  width = pictureWidth = int16_t(std::clamp(bitmap.Width(), 0, 32767));
  height = pictureHeight = int16_t(std::clamp(bitmap.Height(), 0, 32767));
  pixels_.assign(bitmap.Pixels(), bitmap.Pixels() + size_t(width) * size_t(height));
  LoadQuality(0);
}

CPyroSprite::~CPyroSprite() { CPyroSprite::ReleaseTextures(); }

void CPyroSprite::ReleaseTextures() {
  frames.clear();
  CPyroBitmapTexture::Free(tile_);
  loaded = false;
}

bool CPyroSprite::LoadQuality(int q) {
  quality = q;
  ReleaseTextures();
  if (width <= 0 || height <= 0 || !CPyroBitmapTexture::Place(width, height, tile_)) return false;
  CBaseTexture* page = tile_.texture;
  int pitch = 0;
  uint8_t* texels = page->Lock(pitch);
  if (texels) {
    // The border repeats the edge texels, so filtering at the tile's edge never reads a neighbour.
    const TexturePixelFormat& f = *page->format;
    const int x0 = tile_.left - kBorder, y0 = tile_.top - kBorder;
    const int w = width + 2 * kBorder, h = height + 2 * kBorder;
    for (int y = 0; y < h; ++y) {
      const int sy = std::clamp(y - kBorder, 0, height - 1);
      uint8_t* row = texels + size_t(y0 + y) * size_t(pitch) + size_t(x0) * size_t(f.bytesPerPixel);
      for (int x = 0; x < w; ++x) {
        const int sx = std::clamp(x - kBorder, 0, width - 1);
        Store(f, pixels_[size_t(sy) * size_t(width) + size_t(sx)], row + size_t(x) * size_t(f.bytesPerPixel));
      }
    }
    page->Unlock(x0, y0, w, h);
  }
  frames.assign(1, {tile_});
  loaded = true;
  return true;
}

const SpriteTile* CPyroSprite::Tile() {
  auto* page = static_cast<CPyroBitmapTexture*>(tile_.texture);
  if (page && !page->Usable()) ReleaseTextures();
  if (!loaded && !LoadQuality(quality)) return nullptr;
  return tile_.texture ? &tile_ : nullptr;
}

}  // namespace PyroParticles
