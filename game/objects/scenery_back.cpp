// The background: its plain drawing and the cross-fade from the slot below to the current one.
#include "game/objects/scenery_back.h"

#include <algorithm>

#include "game/core/map.h"
#include "gfx/render_device.h"

namespace Map {

void cBack::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  onMap = true;
}

void cBack::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  timer.Stop();
  onMap = false;
}

void cBack::SetAnimation(int slot, bool randomStart) {
  const int before = currentAnimation;
  cObject::SetAnimation(slot, randomStart);
  if (!onMap || currentAnimation == before || currentAnimation < 1) return;
  if (!anims[currentAnimation - 1].IsValid()) return;
  // The picture below keeps playing underneath while the new one comes in.
  timer.SetPeriod(kCrossFadeMs);
  timer.Restart();
}

void cBack::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  if (CrossFading() && currentAnimation >= 1) {
    AnimationState& below = anims[currentAnimation - 1];
    if (below.IsValid() && !below.IsStopped() && below.Advance(ms) && !below.Has(AnimationState::kLoop)) below.Stop();
  }
  timer.Advance(ms);
}

uint8_t cBack::IncomingAlpha() const {
  if (!CrossFading() || timer.Period() <= 0) return 255;
  const float f = 1.0f - float(timer.Time()) / float(timer.Period());
  return uint8_t(std::clamp(f, 0.0f, 1.0f) * 255.0f);
}

void cBack::Draw(const DrawContext& dc) {
  if (!CrossFading() || currentAnimation < 1) {
    cObject::Draw(dc);
    return;
  }
  // The slot below as it always draws, then the current one see-through on top of it.
  const int current = currentAnimation;
  currentAnimation = current - 1;
  cObject::Draw(dc);
  currentAnimation = current;
  const AnimationState& a = anims[current];
  if (!a.IsValid()) return;
  const uint32_t colour = CurrentColour();
  const uint32_t alpha = (colour >> 24) * dc.alpha / 255 * IncomingAlpha() / 255;
  const IntPoint o = animOffsets[current];
  a.DrawRotated(x + float(o.x) + dc.offsetX, y + float(o.y) + dc.offsetY, 0.0f, kModeFade, 15,
                (colour & 0x00FFFFFFu) | (alpha << 24), scale, 0, -1);
}

}  // namespace Map
