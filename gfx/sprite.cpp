// Sprites: the registry, loading a picture (and its alpha picture) into an exact texture or atlas
// tiles, and drawing a whole picture stretched.
#include "gfx/sprite.h"

#include <algorithm>

#include "app/diag.h"
#include "files/file.h"
#include "files/name_hash.h"
#include "gfx/image.h"
#include "gfx/render_device.h"

namespace {

std::vector<CBaseSprite*>& Registry() {
  static std::vector<CBaseSprite*> reg;
  return reg;
}

std::string Lower(const char* s) {
  std::string r = s ? s : "";
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return r;
}

bool IsPow2(int v) { return v >= 2 && (v & (v - 1)) == 0; }

CBaseSprite* Base(const CSprite* s) { return const_cast<CBaseSprite*>(dynamic_cast<const CBaseSprite*>(s)); }

}  // namespace

CBaseSprite::CBaseSprite(std::string file, std::string alpha)
    : fileName(std::move(file)), alphaFileName(std::move(alpha)), nameHash(fileNameHash(fileName)) {}

CBaseSprite::~CBaseSprite() { ReleaseTextures(); }

void CBaseSprite::ReleaseTextures() {
  for (auto& row : frames)
    for (auto& tile : row) txReleaseTile(tile);
  frames.clear();
  loaded = false;
}

bool CBaseSprite::UploadTile(SpriteTile& tile, cFileImage& picture, cFileImage* alpha) {
  CBaseTexture* t = tile.texture;
  int pitch = 0;
  uint8_t* texels = t ? t->Lock(pitch) : nullptr;
  if (!texels) return false;
  const int tw = tile.right - tile.left, th = tile.bottom - tile.top;
  // The border texels repeat the picture's neighbours where it has them, so filtering at a tile
  // edge blends with the right colours.
  const int sx = std::max(0, tile.x - tile.borderX), sy = std::max(0, tile.y - tile.borderY);
  const int ex = std::min(picture.Width(), tile.x + tw + tile.borderX);
  const int ey = std::min(picture.Height(), tile.y + th + tile.borderY);
  const int dx = tile.left - (tile.x - sx), dy = tile.top - (tile.y - sy);
  const int bpp = t->format->bytesPerPixel;
  TexelTarget dst{texels + size_t(dy) * pitch + size_t(dx) * bpp, pitch, t->format};
  picture.WriteColor(sx, sy, ex - sx, ey - sy, dst);
  if (t->format->HasAlpha()) {
    if (alpha && alpha->Width() >= ex && alpha->Height() >= ey) alpha->WriteAsAlpha(sx, sy, ex - sx, ey - sy, dst);
    else if (picture.FlagsAnd(cFileImage::kOwnTransparency)) picture.WriteOwnAlpha(sx, sy, ex - sx, ey - sy, dst);
  }
  t->Unlock(dx, dy, ex - sx, ey - sy);
  return true;
}

bool CBaseSprite::Load() {
  if (loaded) return true;
  auto picture = imgReaderFor(fileName);
  if (!picture || picture->Load(fileName.c_str()) != 0) return false;
  std::unique_ptr<cFileImage> alpha;
  if (!alphaFileName.empty()) {
    alpha = imgReaderFor(alphaFileName);
    if (alpha && alpha->Load(alphaFileName.c_str()) != 0) alpha.reset();
  }
  const int w = picture->Width(), h = picture->Height();
  pictureWidth = int16_t(w);
  pictureHeight = int16_t(h);
  width = int16_t(w);
  height = int16_t(h);
  const bool hasAlpha = alpha || picture->BitsPerPixel() == 32 || picture->FlagsAnd(cFileImage::kOwnTransparency);
  const TexturePixelFormat* format = hasAlpha ? grAlphaFormat() : grColorFormat();
  if (!format->IsSet()) return false;
  frames.assign(1, {});
  auto& tiles = frames[0];
  if (IsPow2(w) && IsPow2(h) && txSizeAllowed(w, h) && w <= txPageSize() && h <= txPageSize()) {
    if (CRegularTexture* t = txGetOrCreate(fileName, w, h, format, false)) {
      SpriteTile tile;
      tile.right = int16_t(w);
      tile.bottom = int16_t(h);
      tile.texture = t;
      tiles.push_back(tile);
    }
  } else {
    txPlaceInAtlas(format, 0, 0, w, h, 1, 1, tiles);
  }
  for (auto& tile : tiles) UploadTile(tile, *picture, alpha.get());
  for (auto& tile : tiles)
    if (tile.texture) tile.texture->MarkLoaded();
  loaded = true;
  return true;
}

CSprite* sprGet(const char* file, const char* alphaFile) {
  if (!file || !*file) return nullptr;
  std::string name = Lower(file), alpha = Lower(alphaFile);
  const uint32_t hash = fileNameHash(name);
  // The alpha picture is part of the key: the same picture with another mask is another sprite.
  for (CBaseSprite* s : Registry()) {
    if (s && s->nameHash == hash && s->libraryName.empty() && fileFoldName(s->fileName) == fileFoldName(name) &&
        fileFoldName(s->alphaFileName) == fileFoldName(alpha)) {
      ++s->refs;
      return s;
    }
  }
  auto s = std::make_unique<CBaseSprite>(name, alpha);
  if (grDevice() && !s->Load()) {
    errorLog("Sprite: cannot load \"%s\"\n", file);
    return nullptr;
  }
  auto& reg = Registry();
  auto slot = std::find(reg.begin(), reg.end(), nullptr);
  if (slot != reg.end()) *slot = s.get();
  else reg.push_back(s.get());
  return s.release();
}

CSprite* sprGetFont(const char* file, const char* alphaFile) { return sprGet(file, alphaFile); }

void sprAddRef(CSprite* s) {
  if (CBaseSprite* b = Base(s)) ++b->refs;
}

void sprRelease(CSprite* s) {
  CBaseSprite* b = Base(s);
  if (!b || --b->refs > 0) return;
  for (auto& e : Registry())
    if (e == b) e = nullptr;
  delete b;
}

int sprWidth(const CSprite* s) {
  const CBaseSprite* b = Base(s);
  return b ? b->width : 0;
}

int sprHeight(const CSprite* s) {
  const CBaseSprite* b = Base(s);
  return b ? b->height : 0;
}

int sprRegistrySize() { return int(Registry().size()); }
CBaseSprite* sprRegistryAt(int i) { return i >= 0 && i < sprRegistrySize() ? Registry()[size_t(i)] : nullptr; }

void sprDrawStretched(CSprite* s, int x1, int y1, int x2, int y2, uint32_t modeWord, bool mirrorX, uint32_t argb) {
  CBaseSprite* b = Base(s);
  if (!b || !b->loaded || b->frames.empty() || b->pictureWidth <= 0 || b->height <= 0) return;
  if ((modeWord & 0xFFFF) == 0x0001) modeWord = kModeTextureAlpha;  // the automatic mode
  const float sx = float(x2 - x1) / b->pictureWidth, sy = float(y2 - y1) / b->height;
  for (const SpriteTile& t : b->frames[0]) {
    if (!t.texture) continue;
    const float tw = t.texture->width, th = t.texture->height;
    float l = x1 + t.x * sx, r = x1 + (t.x + (t.right - t.left)) * sx;
    const float top = y1 + t.y * sy, bottom = y1 + (t.y + (t.bottom - t.top)) * sy;
    float u1 = t.left / tw, u2 = t.right / tw;
    if (mirrorX) {
      l = float(x1 + x2) - l;
      r = float(x1 + x2) - r;
    }
    const float v1 = t.top / th, v2 = t.bottom / th;
    const GpuVertex v[4] = {{l, top, 0.5f, argb, 0, u1, v1, 0, 0}, {r, top, 0.5f, argb, 0, u2, v1, 0, 0},
                            {l, bottom, 0.5f, argb, 0, u1, v2, 0, 0}, {r, bottom, 0.5f, argb, 0, u2, v2, 0, 0}};
    grDrawQuads(GrRenderMode{modeWord, 15}, t.texture, v, 1);
  }
}

const SpriteTile* sprSingleTile(CSprite* s) {
  CBaseSprite* b = Base(s);
  if (!b || b->frames.size() != 1 || b->frames[0].size() != 1) return nullptr;
  return &b->frames[0][0];
}

void sprReleaseAllTextures() {
  for (CBaseSprite* s : Registry())
    if (s) s->ReleaseTextures();
}

void sprReloadAll() {
  for (CBaseSprite* s : Registry())
    if (s && !s->loaded) s->Load();
}

void sprDeleteAll() {
  auto& reg = Registry();
  for (CBaseSprite* s : reg) delete s;
  reg.clear();
}
