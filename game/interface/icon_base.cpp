// The parent-bound icon and the bobbing icon.
#include "game/interface/icon_base.h"

#include <cmath>

#include "game/core/map.h"

namespace Map {

bool cIcon::ParentHidden() const {
  const cObject* p = Parent();
  return p && p->Has(kFlagHidden);
}

void cIcon::Draw(const DrawContext& dc) {
  if (ParentHidden()) return;
  cObject::Draw(dc);
}

cFloatingIcon::cFloatingIcon() {
  // A floating icon waits to be shown, is not clicked and was not made by the level file.
  Set(kFlagHidden, true);
  Set(kFlagClickable, false);
  Set(kFlagCreatedAtLoad, false);
}

bool cFloatingIcon::UpdateTimers(int32_t ms) {
  const bool remove = cIcon::UpdateTimers(ms);
  if (ms > 0) {
    m_phaseMs = (m_phaseMs + ms) % kPhasePeriodMs;
    m_phase = float(m_phaseMs) * kPhaseRate;
  }
  return remove;
}

float cFloatingIcon::BobOffset() const { return kBob * std::sin(m_phase); }

bool cFloatingIcon::HoverEnter() {
  selectedByte = 1;
  return true;
}

void cFloatingIcon::HoverLeave() { selectedByte = 0; }

void cFloatingIcon::ShowAlternate(bool on) { SetAnimation(on ? 1 : 0, false); }

void cFloatingIcon::Draw(const DrawContext& dc) {
  if (Has(kFlagHidden) || ParentHidden()) return;
  const AnimationState& a = anims[currentAnimation];
  if (!a.IsValid()) return;
  const IntPoint o = animOffsets[currentAnimation];
  const float px = float(int32_t(x) + o.x) + dc.offsetX;
  const float py = float(int32_t(y) + o.y) + dc.offsetY + BobOffset();
  if (dc.alpha != 255) {
    a.DrawFaded(px, py, dc.alpha, scale, scale);
    return;
  }
  a.DrawFaded(px, py, 255, scale, scale);
  // The highlight: the same frame once more in the icon's own colour and blend.
  if (IsHighlighted() && !a.IsStopped())
    a.DrawRotated(px, py, 0.0f, drawParams.mode, 15, CurrentColour(), scale, 0, -1);
}

void cFloatingIcon::CopyFrom(const cObject& from) {
  cIcon::CopyFrom(from);
  if (const auto* f = dynamic_cast<const cFloatingIcon*>(&from)) selectedByte = f->selectedByte;
  m_phase = 0.0f;
  m_phaseMs = 0;
}
}  // namespace Map
