// Sprites: reference-counted pictures stored in textures as tiles, cut into equal-height frames,
// kept in a registry, defined by the sprite library "data/fonts/fonts.ini", and drawn scaled,
// mirrored, tinted per corner, from source rectangles or onto free quads.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/texture.h"
#include "platform/gpu.h"

class CSprite {
 public:
  virtual ~CSprite() = default;
};

class CBaseSprite : public CSprite {
 public:
  CBaseSprite(std::string file, std::string alphaFile);
  ~CBaseSprite() override;
  // Loads when not loaded, splitting into frames again when time and length were set; false when
  // nothing could be loaded. Without a device only the size is read and the sprite stays unloaded.
  virtual bool Load();
  // The load itself: the quality table may replace `quality`; a picture-description file composes
  // the frames, otherwise the picture goes into one exact texture or into atlas tiles.
  virtual bool LoadQuality(int quality);
  // Drops every tile (atlas cells freed, texture references lowered); loaded = false.
  virtual void ReleaseTextures();
  virtual bool IsSprite() const { return true; }

  // Stores time and length, loads when needed and cuts the picture into `count` frames; a count
  // below 1 keeps the frames as they are.
  void SetAnimation(int steps, int count);
  // A blank sprite's only tile shows the texels at (left, top) of `texture`, which it holds a
  // reference on until released.
  void SetBlankTexture(CBaseTexture* texture, int left, int top);
  // The frame row shown for frame number f: (|f| mod steps) x rows / steps; 0 without steps.
  int FrameRow(int frame) const;
  int Rows() const { return int(frames.size()); }
  // True when the texture of the first tile of the first frame has alpha bits.
  bool FirstTextureHasAlpha() const;

  int16_t width = 0, height = 0;  // frame size
  int16_t pictureWidth = 0, pictureHeight = 0;
  int refs = 1;
  std::string libraryName;
  std::string fileName, alphaFileName;  // lower-cased
  bool loaded = false;
  int quality = 0;
  int animationSteps = -1, frameCount = -1;
  std::vector<std::vector<SpriteTile>> frames;  // one row of tiles per frame (views of `pieces`)
  uint16_t lookupSteps = 0;                    // animation steps used when drawing
  uint32_t nameHash = 0;
  bool blank = false;     // made by sprCreateBlank: no file behind it
  bool composed = false;  // frames came from a picture-description file

 protected:
  // Tiles as loaded: each holds one texture reference and, on an atlas page, its cells. Frame rows
  // are copies cut from these, so splitting never frees or leaks atlas cells.
  std::vector<SpriteTile> pieces;
  friend struct SpriteLoader;
  // Cuts the loaded pieces into `count` equal-height frame rows (height = the frame height).
  void SplitFrames(int count);
};

// ---- Registry ------------------------------------------------------------------------------
// A registry hit adds a reference; otherwise the sprite is created and loaded. Null for an empty
// name or a picture that cannot be read. Without a library name the alpha file is part of the key:
// the same picture with another alpha picture is another sprite.
CSprite* sprGet(const char* file, const char* alphaFile = nullptr);
// The same, creating a bitmap font (gfx/font.h) when the name is not registered yet.
CSprite* sprGetFont(const char* file, const char* alphaFile = nullptr);
// A registered sprite of one frame holding one empty tile of the given size (filled elsewhere).
CSprite* sprCreateBlank(int width, int height);
void sprAddRef(CSprite* s);
// Count - 1; at 0 the sprite leaves the registry and is deleted.
void sprRelease(CSprite* s);
int sprWidth(const CSprite* s);
int sprHeight(const CSprite* s);
int sprRefCount(const CSprite* s);
// Loads when needed and splits into frames.
void sprSetAnimation(CSprite* s, int steps, int count);
int sprAnimationSteps(const CSprite* s);  // 0 for none
int sprRegistrySize();
CBaseSprite* sprRegistryAt(int index);
// The registered sprite whose library name (or file name without one) equals `name`, any case.
CBaseSprite* sprFind(const char* name);

// The sprite library: every section is a sprite, a bitmap font, or ("font" = 2) a quality entry.
// Load creates the entries; release releases once the sprite registered under each section name.
void sprLoadLibrary(const char* file);
void sprReleaseLibrary(const char* file);
// The quality recorded by a library's quality entry for a name hash, or `def`.
int sprQualityFor(uint32_t nameHash, int def);
void sprClearQualities();

// Device loss and shutdown: every sprite drops its tiles; reload rebuilds them (and their frames);
// delete-all forgets every sprite (at the renderer's final shutdown).
void sprReleaseAllTextures();
void sprReloadAll();
void sprDeleteAll();

// ---- Drawing -------------------------------------------------------------------------------
// Corner order of every four-value argument: top-left, top-right, bottom-right, bottom-left. A
// negative width or height mirrors the picture inside x .. x + |width| (y .. y + |height|). The
// automatic render mode (kModeAuto with mask 15) becomes texture alpha (or no alpha for a texture
// without alpha bits) with texture colour. A source rectangle that leaves the frame draws nothing.

// Source size |w| x |h| at (sx, sy).
void grDrawSprite(uint32_t mode, uint8_t mask, int x, int y, int w, int h, CSprite* sprite, int sx, int sy,
                  uint32_t argb, int frame);
void grDrawSpriteEx(uint32_t mode, uint8_t mask, float x, float y, float w, float h, CSprite* sprite, float sx,
                    float sy, float sw, float sh, const uint32_t colors[4], const uint32_t added[4], int frame);
void grDrawSpriteEx(uint32_t mode, uint8_t mask, int x, int y, int w, int h, CSprite* sprite, int sx, int sy,
                    int sw, int sh, uint32_t argb, int frame);
// The frame's source rectangle (four axis-aligned points) mapped onto a free quad.
void grDrawSpriteQuad(uint32_t mode, uint8_t mask, const float xy[8], CSprite* sprite, const float src[8],
                      const uint32_t colors[4], const uint32_t added[4], int frame);
// The whole frame scaled by `scale` and turned by `angle` radians about (cx, cy), through the quad
// form; a negative scale mirrors.
void sprDrawRotated(uint32_t mode, uint8_t mask, float cx, float cy, float angle, float scaleX, float scaleY,
                    CSprite* sprite, uint32_t argb, int frame);

// The picture of frame 0 stretched over a logical rectangle, optionally mirrored left to right.
void sprDrawStretched(CSprite* s, int x1, int y1, int x2, int y2, uint32_t modeWord, bool mirrorX,
                      uint32_t argb = 0xFFFFFFFFu);
// The only tile of a one-tile sprite, or null.
const SpriteTile* sprSingleTile(CSprite* s);

// What a draw call sends: one quad per visible tile, vertices in the order top-left, top-right,
// bottom-left, bottom-right of the screen. Drawing is these quads handed to the renderer; they are
// built apart so the geometry can be checked without a screen.
struct SpriteQuad {
  CBaseTexture* texture = nullptr;
  GpuVertex v[4];
};
// The mode after the automatic mode is resolved for this sprite.
uint32_t sprResolveMode(CBaseSprite* s, uint32_t mode, uint8_t& mask);
bool sprBuildQuads(CBaseSprite* s, float x, float y, float w, float h, float sx, float sy, float sw, float sh,
                   const uint32_t colors[4], const uint32_t added[4], int frame, std::vector<SpriteQuad>& out);
bool sprBuildQuadsOnQuad(CBaseSprite* s, const float xy[8], const float src[8], const uint32_t colors[4],
                         const uint32_t added[4], int frame, std::vector<SpriteQuad>& out);
