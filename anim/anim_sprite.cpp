// Animation rows on the sprite layer: the sprite is cut with the animation's period as its steps,
// and a row is drawn by handing the sprite a frame number that falls inside that row.
#include "anim/anim_sprite.h"

#include <algorithm>

#include "gfx/render_device.h"
#include "gfx/sprite.h"

namespace {

CBaseSprite* Base(CSprite* s) { return dynamic_cast<CBaseSprite*>(s); }

std::vector<AnimSpriteQuad>* g_capture = nullptr;

// The smallest frame number the sprite shows as `row`. Pictures are shared by file name, so the
// sprite may have been cut with another animation's period; going through the row keeps each
// animation on its own timing.
int FrameForRow(const CBaseSprite& b, int row) {
  const int64_t steps = b.animationSteps > 0 ? b.animationSteps : 0, rows = b.Rows();
  if (steps == 0 || rows <= 1) return 0;
  row = std::clamp<int>(row, 0, int(rows - 1));
  return int((row * steps + rows - 1) / rows);
}

}  // namespace

void animSpriteSetFrames(CSprite* sprite, int steps, int rows) { sprSetAnimation(sprite, steps, std::max(1, rows)); }

int animSpriteSteps(const CSprite* sprite) { return sprAnimationSteps(sprite); }

void animSpriteCaptureInto(std::vector<AnimSpriteQuad>* sink) { g_capture = sink; }

bool animSpriteBuildQuads(uint32_t modeWord, uint8_t mask, const float xy[8], CSprite* sprite, int row,
                          uint32_t argb, uint32_t added, std::vector<AnimSpriteQuad>& out) {
  CBaseSprite* b = Base(sprite);
  if (!b || (!b->loaded && !b->Load()) || b->width <= 0 || b->height <= 0) return false;
  const float w = b->width, h = b->height;
  const float src[8] = {0, 0, w, 0, w, h, 0, h};
  const uint32_t colors[4] = {argb, argb, argb, argb}, adds[4] = {added, added, added, added};
  std::vector<SpriteQuad> quads;
  if (!sprBuildQuadsOnQuad(b, xy, src, colors, adds, FrameForRow(*b, row), quads)) return false;
  modeWord = sprResolveMode(b, modeWord, mask);
  for (const SpriteQuad& q : quads) {
    AnimSpriteQuad& a = out.emplace_back();
    a.texture = q.texture;
    a.modeWord = modeWord;
    a.mask = mask;
    std::copy(std::begin(q.v), std::end(q.v), a.v);
  }
  return !quads.empty();
}

void animSpriteDrawQuad(uint32_t modeWord, uint8_t mask, const float xy[8], CSprite* sprite, int row, uint32_t argb,
                        uint32_t added) {
  if (g_capture) {
    animSpriteBuildQuads(modeWord, mask, xy, sprite, row, argb, added, *g_capture);
    return;
  }
  static std::vector<AnimSpriteQuad> quads;  // kept to save an allocation per draw
  quads.clear();
  if (!animSpriteBuildQuads(modeWord, mask, xy, sprite, row, argb, added, quads)) return;
  for (const AnimSpriteQuad& q : quads) grDrawQuads(GrRenderMode{q.modeWord, q.mask}, q.texture, q.v, 1);
}
