// Textures: device textures with a system-memory copy of their texels in a texture pixel format,
// the texture library that the renderer walks on device loss and in its dump, named textures that
// are found again instead of loaded twice, and atlas pages that small pictures share.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/pixel_format.h"
#include "platform/gpu.h"

class gRefCounter {
 public:
  virtual ~gRefCounter() = default;
  // Called when the last reference is dropped.
  virtual void ReleaseAtZero() {}
  void AddRef() { ++refs_; }
  void DropRef() {
    if (--refs_ <= 0) ReleaseAtZero();
  }
  int RefCount() const { return refs_; }

 protected:
  int refs_ = 0;
};

class CCachedTextureInterface {
 public:
  virtual ~CCachedTextureInterface() = default;
  virtual bool Load() { return false; }
  virtual void Unload() {}
  virtual int LoadedSize() const { return 0; }
  virtual bool Matches(uint32_t, std::string_view) const { return false; }
  virtual void MarkLoaded() {}
};

// Occupancy of an atlas page: one bit per 8 x 8 texel cell.
class gTextureSlotMap {
 public:
  gTextureSlotMap(int pageSize, int rowShift);
  // First-fit search for a free block of a x b cells; marks it and answers its top-left cell.
  bool Take(int a, int b, int& cellX, int& cellY);
  void Free(int cellX, int cellY, int a, int b);
  bool IsUsed(int cellX, int cellY) const;
  int Cells() const { return cells_ * cells_; }

 private:
  int cells_;         // per side
  int bytesPerRow_;
  std::vector<uint8_t> bits_;
};

class CBaseTexture : public gRefCounter, public CCachedTextureInterface {
 public:
  CBaseTexture(int w, int h, const TexturePixelFormat* format);
  ~CBaseTexture() override;
  void ReleaseAtZero() override;
  // Takes the texture out of the library, frees its device texture and deletes it.
  virtual void Release();
  virtual bool InDeviceMemory() const { return false; }

  // Creates the device texture (and the texel copy); false when the size is not allowed.
  bool CreateDevice();
  void ReleaseDevice();
  bool HasDevice() const { return device_ != 0; }
  GpuTexture Device() const { return device_; }

  // Texels of level 0 in the pixel format; Unlock sends the changed rectangle to the device.
  uint8_t* Lock(int& pitch);
  void Unlock(int x, int y, int w, int h);
  void Unlock() { Unlock(0, 0, width, height); }
  bool SaveTGA(const char* file) const;

  uint16_t atlasFreeWidth = 0, atlasFreeHeight = 0;
  int16_t freeCells = 0;
  uint16_t width = 0, height = 0;
  const TexturePixelFormat* format = nullptr;
  std::unique_ptr<gTextureSlotMap> slots;

 protected:
  GpuTexture device_ = 0;
  std::vector<uint8_t> texels_;
};

class CRegularTexture : public CBaseTexture {
 public:
  CRegularTexture(std::string_view file, int w, int h, const TexturePixelFormat* format);
  bool Load() override;
  void Unload() override { loaded_ = false; }
  int LoadedSize() const override;
  bool Matches(uint32_t hash, std::string_view name) const override;
  void MarkLoaded() override { loaded_ = true; }
  const std::string& FileName() const { return file_; }

 private:
  std::string file_;
  uint32_t hash_;
  bool loaded_ = false;
};

class CSoftwareAtlasTexture : public CBaseTexture {
 public:
  using CBaseTexture::CBaseTexture;
};

// One rectangle of a picture placed in a texture.
struct SpriteTile {
  uint8_t borderX = 0, borderY = 0;
  uint8_t mirrorX = 0, mirrorY = 0;
  int16_t x = 0, y = 0;                          // top-left inside the picture (or frame)
  int16_t left = 0, top = 0, right = 0, bottom = 0;  // texel rectangle in the texture
  CBaseTexture* texture = nullptr;               // counted reference
};

// ---- The texture library -------------------------------------------------------------------
int txLibraryAdd(CBaseTexture* t);         // first empty slot, else appended; answers the index
void txLibraryRemove(CBaseTexture* t);     // empties its slot
int txLibrarySize();                       // slots, used or not
CBaseTexture* txLibraryAt(int index);      // null for an empty slot
void txLibraryClear(bool freeTable);       // forgets every entry (textures are not deleted)
int txLibraryCount();                      // used slots

// ---- Creation and lookup -------------------------------------------------------------------
// The atlas page size (device maximum clamped to 512) and its slot-map row shift, set by grInit.
void txSetPageSize(int size, int rowShift);
int txPageSize();
bool txSizeAllowed(int w, int h);
CRegularTexture* txFind(std::string_view file, int w, int h, const TexturePixelFormat* format);
CRegularTexture* txGetOrCreate(std::string_view file, int w, int h, const TexturePixelFormat* format, bool loaded);
CSoftwareAtlasTexture* txCreateAtlasPage(int size, const TexturePixelFormat* format);
// Adds a texture made elsewhere; one whose device texture cannot be made is deleted (false).
bool txRegister(CBaseTexture* t);

// Places a picture rectangle (w x h at x, y in the picture) with borders into atlas pages,
// appending one tile per piece; every tile holds a reference on its page.
void txPlaceInAtlas(const TexturePixelFormat* format, int x, int y, int w, int h, int borderX, int borderY,
                    std::vector<SpriteTile>& out);
// Drops a tile: frees its atlas cells and its reference on the texture.
void txReleaseTile(SpriteTile& tile);
