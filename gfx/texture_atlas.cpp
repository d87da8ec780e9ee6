// The software atlas: pictures that are not an exact power-of-two size share square pages, cut
// into page-sized pieces when larger than a page, with first-fit placement on an 8 x 8 cell map.
#include <algorithm>

#include "gfx/texture.h"

gTextureSlotMap::gTextureSlotMap(int pageSize, int rowShift)
    : cells_(pageSize / 8), bytesPerRow_(1 << std::max(0, rowShift)) {
  // The row length must hold a row of cells whatever shift was passed in.
  bytesPerRow_ = std::max(bytesPerRow_, (cells_ + 7) / 8);
  bits_.assign(size_t(bytesPerRow_) * cells_, 0);
}

bool gTextureSlotMap::IsUsed(int x, int y) const {
  if (x < 0 || y < 0 || x >= cells_ || y >= cells_) return true;
  return (bits_[size_t(y) * bytesPerRow_ + x / 8] >> (x & 7)) & 1;
}

bool gTextureSlotMap::Take(int a, int b, int& cellX, int& cellY) {
  if (a <= 0 || b <= 0 || a > cells_ || b > cells_) return false;
  for (int y = 0; y + b <= cells_; ++y) {
    for (int x = 0; x + a <= cells_; ++x) {
      bool free = true;
      for (int yy = y; yy < y + b && free; ++yy)
        for (int xx = x; xx < x + a; ++xx)
          if (IsUsed(xx, yy)) {
            free = false;
            // Skip past the used cell: no block starting at or before it in this row fits.
            if (yy == y) x = xx;
            break;
          }
      if (!free) continue;
      for (int yy = y; yy < y + b; ++yy)
        for (int xx = x; xx < x + a; ++xx) bits_[size_t(yy) * bytesPerRow_ + xx / 8] |= uint8_t(1 << (xx & 7));
      cellX = x;
      cellY = y;
      return true;
    }
  }
  return false;
}

void gTextureSlotMap::Free(int cx, int cy, int a, int b) {
  for (int yy = std::max(0, cy); yy < std::min(cells_, cy + b); ++yy)
    for (int xx = std::max(0, cx); xx < std::min(cells_, cx + a); ++xx)
      bits_[size_t(yy) * bytesPerRow_ + xx / 8] &= uint8_t(~(1 << (xx & 7)));
}

namespace {

bool TryPage(CBaseTexture* page, int x, int y, int w, int h, int bx, int by, SpriteTile& tile) {
  const int a = (w + 2 * bx + 7) / 8, b = (h + 2 * by + 7) / 8;
  if (page->freeCells < a * b) return false;
  int cx = 0, cy = 0;
  if (!page->slots->Take(a, b, cx, cy)) return false;
  page->freeCells = int16_t(page->freeCells - a * b);
  tile.borderX = uint8_t(bx);
  tile.borderY = uint8_t(by);
  tile.x = int16_t(x);
  tile.y = int16_t(y);
  tile.left = int16_t(cx * 8 + bx);
  tile.top = int16_t(cy * 8 + by);
  tile.right = int16_t(tile.left + w);
  tile.bottom = int16_t(tile.top + h);
  tile.texture = page;
  page->AddRef();
  return true;
}

void PlaceOne(const TexturePixelFormat* format, int x, int y, int w, int h, int bx, int by, bool fresh,
              std::vector<SpriteTile>& out) {
  SpriteTile tile;
  if (!fresh) {
    for (int i = 0; i < txLibrarySize(); ++i) {
      CBaseTexture* t = txLibraryAt(i);
      if (t && t->slots && t->format == format && TryPage(t, x, y, w, h, bx, by, tile)) {
        out.push_back(tile);
        return;
      }
    }
  }
  CSoftwareAtlasTexture* page = txCreateAtlasPage(txPageSize(), format);
  if (page && TryPage(page, x, y, w, h, bx, by, tile)) {
    out.push_back(tile);
    return;
  }
  // The piece could not be placed: a page that got no tile is not kept.
  if (page && page->RefCount() == 0) page->Release();
}

}  // namespace

void txPlaceInAtlas(const TexturePixelFormat* format, int x, int y, int w, int h, int bx, int by,
                    std::vector<SpriteTile>& out) {
  if (w <= 0 || h <= 0 || !format) return;
  const int page = txPageSize();
  const int uw = page - 2 * bx, uh = page - 2 * by;
  if (uw <= 0 || uh <= 0) return;
  if (w <= uw && h <= uh) {
    PlaceOne(format, x, y, w, h, bx, by, false, out);
    return;
  }
  for (int py = 0; py < h; py += uh) {
    for (int px = 0; px < w; px += uw) {
      const int pw = std::min(uw, w - px), ph = std::min(uh, h - py);
      PlaceOne(format, x + px, y + py, pw, ph, bx, by, pw == uw && ph == uh, out);
    }
  }
}

void txReleaseTile(SpriteTile& tile) {
  CBaseTexture* t = tile.texture;
  if (!t) return;
  tile.texture = nullptr;
  if (t->slots) {
    const int w = tile.right - tile.left + 2 * tile.borderX, h = tile.bottom - tile.top + 2 * tile.borderY;
    const int cx = (tile.left - tile.borderX) / 8, cy = (tile.top - tile.borderY) / 8;
    const int a = (w + 7) / 8, b = (h + 7) / 8;
    t->slots->Free(cx, cy, a, b);
    t->freeCells = int16_t(t->freeCells + a * b);
  }
  t->DropRef();
}
