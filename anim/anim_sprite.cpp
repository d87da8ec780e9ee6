// Frame rows of animation sprites: the steps and row count recorded on the sprite, and one row
// drawn onto a quad straight from the sprite's tiles. Works whether the sprite keeps the whole
// picture as one frame or has already been cut into one tile row per frame.
#include "anim/anim_sprite.h"

#include <algorithm>

#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"

namespace {
CBaseSprite* Base(const CSprite* s) { return const_cast<CBaseSprite*>(dynamic_cast<const CBaseSprite*>(s)); }
}  // namespace

void animSpriteSetFrames(CSprite* sprite, int steps, int rows) {
  if (CBaseSprite* b = Base(sprite)) {
    b->animationSteps = steps;
    b->frameCount = std::max(1, rows);
  }
}

int animSpriteSteps(const CSprite* sprite) {
  const CBaseSprite* b = Base(sprite);
  return b && b->animationSteps > 0 ? b->animationSteps : 0;
}

int animSpriteFrameWidth(const CSprite* sprite) {
  const CBaseSprite* b = Base(sprite);
  return b ? b->pictureWidth : 0;
}

int animSpriteFrameHeight(const CSprite* sprite, int rows) {
  const CBaseSprite* b = Base(sprite);
  return b ? b->pictureHeight / std::max(1, rows) : 0;
}

namespace {
std::vector<AnimSpriteQuad>* g_capture = nullptr;
}  // namespace

void animSpriteCaptureInto(std::vector<AnimSpriteQuad>* sink) { g_capture = sink; }

bool animSpriteBuildQuads(uint32_t modeWord, uint8_t mask, const float xy[8], CSprite* sprite, int row, int rows,
                          uint32_t argb, uint32_t added, std::vector<AnimSpriteQuad>& out) {
  CBaseSprite* b = Base(sprite);
  if (!b || !b->loaded || b->frames.empty()) return false;
  rows = std::max(1, rows);
  row = std::clamp(row, 0, rows - 1);
  const int fw = b->pictureWidth, fh = b->pictureHeight / rows;
  if (fw <= 0 || fh <= 0) return false;
  if ((modeWord & 0xFFFF) == 0x0001) modeWord = kModeTextureAlpha;  // the automatic mode
  // Tiles of a sprite already cut into rows sit inside their frame; otherwise the row is a band of
  // the whole picture.
  const bool cut = rows > 1 && int(b->frames.size()) >= rows;
  const auto& tiles = cut ? b->frames[size_t(row)] : b->frames[0];
  const int top = cut ? 0 : row * fh;
  // The quad as an origin and two edges: a point of the frame at (fx, fy) in 0..1 lands at
  // origin + fx * across + fy * down.
  const float ox = xy[0], oy = xy[1];
  const float ax = xy[2] - xy[0], ay = xy[3] - xy[1];
  const float dx = xy[6] - xy[0], dy = xy[7] - xy[1];
  const size_t first = out.size();
  for (const SpriteTile& t : tiles) {
    if (!t.texture || t.texture->width == 0 || t.texture->height == 0) continue;
    const int x0 = std::max<int>(t.x, 0), x1 = std::min<int>(t.x + (t.right - t.left), fw);
    const int y0 = std::max<int>(t.y, top), y1 = std::min<int>(t.y + (t.bottom - t.top), top + fh);
    if (x0 >= x1 || y0 >= y1) continue;
    const float tw = t.texture->width, th = t.texture->height;
    AnimSpriteQuad& q = out.emplace_back();
    q.texture = t.texture;
    q.modeWord = modeWord;
    q.mask = mask;
    const int px[4] = {x0, x1, x0, x1}, py[4] = {y0, y0, y1, y1};
    for (int i = 0; i < 4; ++i) {
      const float fx = float(px[i]) / fw, fy = float(py[i] - top) / fh;
      q.v[i] = GpuVertex{ox + fx * ax + fy * dx, oy + fx * ay + fy * dy, 0.5f, argb, added,
                         (t.left + px[i] - t.x) / tw, (t.top + py[i] - t.y) / th, 0, 0};
    }
  }
  return out.size() > first;
}

void animSpriteDrawQuad(uint32_t modeWord, uint8_t mask, const float xy[8], CSprite* sprite, int row, int rows,
                        uint32_t argb, uint32_t added) {
  if (g_capture) {
    animSpriteBuildQuads(modeWord, mask, xy, sprite, row, rows, argb, added, *g_capture);
    return;
  }
  static std::vector<AnimSpriteQuad> quads;  // kept to save an allocation per draw
  quads.clear();
  if (!animSpriteBuildQuads(modeWord, mask, xy, sprite, row, rows, argb, added, quads)) return;
  for (const AnimSpriteQuad& q : quads) grDrawQuads(GrRenderMode{q.modeWord, q.mask}, q.texture, q.v, 1);
}
