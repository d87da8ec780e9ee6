// Sprites: reference-counted pictures stored in textures as tiles, kept in a registry keyed by the
// folded names of the picture and its alpha picture, reloaded after the device is lost.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/texture.h"

class CSprite {
 public:
  virtual ~CSprite() = default;
};

class CBaseSprite : public CSprite {
 public:
  CBaseSprite(std::string file, std::string alphaFile);
  ~CBaseSprite() override;
  // Loads tiles and textures when not loaded; false when the picture cannot be read.
  virtual bool Load();
  virtual void ReleaseTextures();

  int16_t width = 0, height = 0;               // frame size
  int16_t pictureWidth = 0, pictureHeight = 0;
  int refs = 1;
  std::string libraryName;
  std::string fileName, alphaFileName;         // lower-cased
  bool loaded = false;
  int quality = 0;
  int animationSteps = -1, frameCount = -1;
  std::vector<std::vector<SpriteTile>> frames;  // one row of tiles per frame
  uint32_t nameHash = 0;

 private:
  bool UploadTile(SpriteTile& tile, class cFileImage& picture, class cFileImage* alpha);
};

// A registry hit adds a reference; otherwise the sprite is created and loaded. Null for an empty
// name or a picture that cannot be read.
CSprite* sprGet(const char* file, const char* alphaFile = nullptr);
CSprite* sprGetFont(const char* file, const char* alphaFile = nullptr);
void sprAddRef(CSprite* s);
void sprRelease(CSprite* s);
int sprWidth(const CSprite* s);
int sprHeight(const CSprite* s);
int sprRegistrySize();
CBaseSprite* sprRegistryAt(int index);

// The picture of frame 0 stretched over a logical rectangle, optionally mirrored left to right.
void sprDrawStretched(CSprite* s, int x1, int y1, int x2, int y2, uint32_t modeWord, bool mirrorX,
                      uint32_t argb = 0xFFFFFFFFu);
// The only tile of a one-tile sprite, or null.
const SpriteTile* sprSingleTile(CSprite* s);

// Device loss and shutdown: every sprite drops its tiles; reload rebuilds them; delete-all forgets
// every sprite (at the renderer's final shutdown).
void sprReleaseAllTextures();
void sprReloadAll();
void sprDeleteAll();
