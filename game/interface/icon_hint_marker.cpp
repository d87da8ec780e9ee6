// The pointing arrow's requests, timers and placement.
#include "game/interface/icon_hint_marker.h"

#include <algorithm>
#include <cmath>

#include "anim/anim_catalogue.h"
#include "game/core/map.h"

namespace Icon {
namespace {
constexpr float kPhaseRate = 0.0031415f;  // radians per millisecond
constexpr int32_t kPhasePeriodMs = 2000;
constexpr float kBob = 30.0f;
constexpr float kScreenMiddle = 512.0f;
}  // namespace

void cObjectHintMarker::PointAt(const Map::cMap& map, int32_t objectId) {
  const Map::cObject* o = map.FindById(objectId);
  if (!o) return;
  PointAtPoint(objectId, o->AnchorI());
}

void cObjectHintMarker::PointAtPoint(int32_t objectId, Map::IntPoint anchor) {
  auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.objectId == objectId; });
  if (it == m_entries.end()) {
    // A single refusal may be a slip: nothing shows yet.
    m_entries.push_back(Entry{objectId, 1, anchor, 0});
    return;
  }
  ++it->count;
  it->point = anchor;
  it->timerMs = kShowMs;
}

bool cObjectHintMarker::UpdateTimers(int32_t ms) {
  const bool remove = Map::cObject::UpdateTimers(ms);
  if (ms > 0) {
    m_phaseMs = (m_phaseMs + ms) % kPhasePeriodMs;
    m_phase = float(m_phaseMs) * kPhaseRate;
    if (m_arrow.IsValid()) m_arrow.Advance(ms);
    // An entry whose arrow has run its time is forgotten, so the next request counts from 1.
    std::erase_if(m_entries, [&](Entry& e) {
      if (e.timerMs <= 0) return false;
      e.timerMs -= ms;
      return e.timerMs <= 0;
    });
  }
  return remove;
}

void cObjectHintMarker::Draw(const Map::DrawContext& dc) {
  if (Has(Map::kFlagHidden)) return;
  if (!m_arrowAsked) {
    m_arrowAsked = true;
    m_arrow = Core::animManager().GetAnimation(kArrowAnimation);
    if (m_arrow.IsValid()) m_arrow.Start(0);
  }
  if (!m_arrow.IsValid()) return;
  for (const Entry& e : m_entries) {
    if (e.timerMs <= 0) continue;
    const float px = float(e.point.x) + dc.offsetX, py = float(e.point.y) + dc.offsetY;
    const Placement p = Place(px, m_arrow.Width(), m_phase);
    m_arrow.DrawFaded(px + p.dx, py, dc.alpha, p.mirrored ? -1.0f : 1.0f, 1.0f);
  }
}

void cObjectHintMarker::CopyFrom(const Map::cObject& from) {
  Map::cObject::CopyFrom(from);
  m_entries.clear();
  m_arrow = AnimationState{};
  m_arrowAsked = false;
  m_phase = 0.0f;
  m_phaseMs = 0;
}

const cObjectHintMarker::Entry* cObjectHintMarker::Showing(int32_t objectId) const {
  for (const Entry& e : m_entries)
    if (e.objectId == objectId && e.timerMs > 0) return &e;
  return nullptr;
}

cObjectHintMarker::Placement cObjectHintMarker::Place(float screenX, int32_t frameWidth, float phase) {
  const float gap = float(std::max(frameWidth, 0)) + kBob * std::fabs(std::sin(phase));
  if (screenX < kScreenMiddle) return {gap, false};
  return {-gap, true};
}
}  // namespace Icon
