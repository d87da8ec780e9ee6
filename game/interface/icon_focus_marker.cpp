// The marker under a subject.
#include "game/interface/icon_focus_marker.h"

#include <cmath>

#include "game/core/map.h"

namespace Icon {
namespace {
constexpr float kPhaseRate = 0.00314f;  // radians per millisecond
constexpr int32_t kPhasePeriodMs = 1000;
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
  const float own = scale == 0.0f ? 1.0f : scale;
  return own - 0.1f * std::sin(m_phase);
}

void cFocusMarker::Draw(const Map::DrawContext& dc) {
  if (m_state >= kBusy) return;
  if (currentAnimation != m_state) SetAnimation(m_state, false);
  Map::cObject::Draw(dc);
}

void cFocusMarker::CopyFrom(const Map::cObject& from) {
  Map::cObject::CopyFrom(from);
  m_state = kBusy;
  m_phase = 0.0f;
  m_phaseMs = 0;
}
}  // namespace Icon
