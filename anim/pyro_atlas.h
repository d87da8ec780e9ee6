// Particle pictures on the renderer: bitmap textures, particle atlas pages (their own list, apart
// from the sprites' atlas), particle sprites holding a copy of their pixels, and device textures.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "anim/pyro_graphics.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"

class PlatGpu;

// A texture filled from pixels in memory rather than from a file.
class CBitmapTexture : public CBaseTexture {
 public:
  using CBaseTexture::CBaseTexture;
};

namespace PyroParticles {

// A particle atlas page: page size, alpha format, occupancy kept here so sprite pictures never
// land on it. Pages are found first fit in their own list; a new page when none has room.
class CPyroBitmapTexture : public CBitmapTexture {
 public:
  // Places a w x h picture with a border of one texel; false when no page can take it (too
  // large, or no device). The tile holds a reference on its page.
  static bool Place(int w, int h, SpriteTile& out);
  // Frees the tile's cells and drops its reference (an empty page is removed).
  static void Free(SpriteTile& tile);
  static int PageCount();
  static CPyroBitmapTexture* PageAt(int index);

  // True while the page's device texture belongs to the renderer's current device.
  bool Usable() const;
  int FreeCells() const { return freeCells; }
  void Release() override;

 private:
  CPyroBitmapTexture(int size, const TexturePixelFormat* format);
  gTextureSlotMap cells_;
  PlatGpu* owner_ = nullptr;
};

// A sprite made from a bitmap: keeps a copy of the 32-bit pixels so it can be placed again after
// the device was lost or changed. Its one frame is its one tile.
class CPyroSprite : public CBaseSprite {
 public:
  explicit CPyroSprite(const PyroGraphics::CBitmap& bitmap);
  ~CPyroSprite() override;
  bool LoadQuality(int quality) override;
  void ReleaseTextures() override;
  // The tile to draw with, placed (again) when needed; null when it cannot be placed.
  const SpriteTile* Tile();

 private:
  std::vector<uint32_t> pixels_;
  SpriteTile tile_;
};

// The device's texture: owns its particle sprite.
class CPyroTexture : public PyroGraphics::ITexture {
 public:
  explicit CPyroTexture(const PyroGraphics::CBitmap& bitmap) : sprite_(std::make_unique<CPyroSprite>(bitmap)) {}
  int Width() const override { return sprite_->width; }
  int Height() const override { return sprite_->height; }
  CPyroSprite* Sprite() { return sprite_.get(); }

 private:
  std::unique_ptr<CPyroSprite> sprite_;
};

}  // namespace PyroParticles
