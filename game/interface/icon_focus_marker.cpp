// The marker under a subject.
#include "game/interface/icon_focus_marker.h"

#include <cmath>

#include "game/core/map.h"
#include "game/core/map_record.h"

namespace Icon {
namespace {
constexpr float kPhaseRate = 0.00314f;  // radians per millisecond
constexpr int32_t kPhasePeriodMs = 1000;

// The marker's items follow the base record in its extension.
int32_t itemInt(const MapObjectRecord& r, size_t i) { return i < r.extension.size() ? r.extension[i].i : 0; }
float itemFloat(const MapObjectRecord& r, size_t i) { return i < r.extension.size() ? r.extension[i].f : 0.0f; }
}  // namespace

bool cFocusMarker::UpdateTimers(int32_t ms) {
  const bool remove = Map::cObject::UpdateTimers(ms);
  if (ms > 0) {
    m_phaseMs = (m_phaseMs + ms) % kPhasePeriodMs;
    m_phase = float(m_phaseMs) * kPhaseRate;
  }
  if (!Has(Map::kFlagHidden) && m_map) {
    if (const Map::cObject* parent = GetParent(*m_map)) {
      const int32_t s = parent->GetOrderState();
      // Unknown states draw nothing rather than an animation slot that does not exist.
      m_state = s >= 0 && s < kBusy ? s : kBusy;
    }
  }
  return remove;
}

float cFocusMarker::PulseScale() const {
  const float own = markerScale == 0.0f ? 1.0f : markerScale;
  return own - 0.1f * std::sin(m_phase);
}

void cFocusMarker::Draw(const Map::DrawContext& dc) {
  if (m_state >= kBusy || Has(Map::kFlagHidden)) return;
  if (currentAnimation != m_state) SetAnimation(m_state, false);
  const AnimationState& a = anims[currentAnimation];
  if (!a.IsValid()) return;
  const Map::IntPoint o = animOffsets[currentAnimation];
  const float s = PulseScale();
  a.DrawFaded(x + float(o.x) + dc.offsetX, y + float(o.y) + dc.offsetY, 255, s, s);
}

bool cFocusMarker::LoadBinary(MapStream& stream) {
  if (!Map::cObject::LoadBinary(stream)) return false;
  m_state = 0;
  return true;
}

void cFocusMarker::ApplyRecord(const MapObjectRecord& r) {
  Map::cObject::ApplyRecord(r);
  isSmall = itemInt(r, kSmallItem);
  markerScale = itemFloat(r, kScaleItem);
  if (markerScale == 0.0f || !std::isfinite(markerScale)) markerScale = 1.0f;
  saveable = itemInt(r, kSaveableItem) != 0 ? 1 : 0;
  // A green marker is ready from the start; any other waits for its parent's first word.
  m_state = itemInt(r, kGreenItem) != 0 ? 0 : kBusy;
}

void cFocusMarker::FillRecord(MapObjectRecord& r) const {
  Map::cObject::FillRecord(r);
  if (r.extension.size() < kItems) r.extension.resize(kItems);
  r.extension[kSmallItem].i = isSmall;
  r.extension[kScaleItem].f = markerScale;
  r.extension[kGreenItem].i = m_state == 0 ? 1 : 0;
  r.extension[kSaveableItem].i = saveable;
}

void cFocusMarker::CopyFrom(const Map::cObject& from) {
  Map::cObject::CopyFrom(from);
  if (const auto* m = dynamic_cast<const cFocusMarker*>(&from)) {
    isSmall = m->isSmall;
    markerScale = m->markerScale;
    saveable = m->saveable;
  }
  // A copy is a child made for a subject: busy until it has looked at its parent.
  m_state = kBusy;
  m_phase = 0.0f;
  m_phaseMs = 0;
}
}  // namespace Icon
