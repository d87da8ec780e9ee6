// Reflections: their start frame, their see-through turned drawing and the keys they keep.
#include "game/objects/scenery_reflection.h"

#include <algorithm>
#include <cmath>

#include "game/objects/object_level.h"
#include "game/objects/scenery_common.h"
#include "gfx/render_device.h"

namespace Map {
namespace {
constexpr size_t kAngle = 0, kAlpha = 1;
}  // namespace

void cReflection::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  const float a = extFloat(r, kAngle);
  // A turn that is not a number would throw the picture off the map; it is drawn straight.
  angle = std::isfinite(a) ? a : 0.0f;
  alpha = std::clamp(extInt(r, kAlpha), 0, 255);
  PickStartOffset();
}

void cReflection::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  setExtFloat(r, kAngle, angle);
  setExtInt(r, kAlpha, alpha);
}

void cReflection::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* o = dynamic_cast<const cReflection*>(&from);
  if (!o) return;
  alpha = o->alpha;
  angle = o->angle;
  startOffset = o->startOffset;
}

void cReflection::PickStartOffset() {
  const AnimationState& a = anims[currentAnimation];
  startOffset = 0;
  // An animation of no length has no frame to start at (and nothing to take a remainder of).
  if (!a.IsValid() || a.Period() <= 0 || a.FrameCount() <= 1) return;
  const int32_t t = sceneryVisualRand() % a.Period();
  startOffset = a.FrameOfTime(t);
}

int cReflection::FrameShown() const {
  const AnimationState& a = anims[currentAnimation];
  const int frames = std::max(1, a.FrameCount());
  const int own = a.Period() > 0 ? int(int64_t(a.Time()) * frames / a.Period()) : 0;
  return (own + startOffset) % frames;
}

void cReflection::Draw(const DrawContext& dc) {
  const AnimationState& a = anims[currentAnimation];
  if (!a.IsValid()) return;
  const uint32_t shown = uint32_t(alpha) * dc.alpha / 255;
  const IntPoint o = animOffsets[currentAnimation];
  a.DrawRotated(x + float(o.x) + dc.offsetX, y + float(o.y) + dc.offsetY, angle, kModeFade, 15,
                shown << 24 | 0x00FFFFFFu, scale, 0, FrameShown());
}

}  // namespace Map
