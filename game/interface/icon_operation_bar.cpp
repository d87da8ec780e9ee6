// The work progress bar over a subject.
#include "game/interface/icon_operation_bar.h"

#include <algorithm>

#include "game/core/event_codes.h"

namespace Icon {

void cBar::Start(int32_t durationMs) {
  m_duration = std::max(durationMs, 0);
  m_elapsed = 0;
  m_running = m_duration > 0;
}

bool cBar::Advance(int32_t ms) {
  if (!m_running || ms <= 0) return false;
  m_elapsed = std::min(m_duration, m_elapsed + ms);
  if (m_elapsed < m_duration) return false;
  m_running = false;
  return true;
}

float cBar::Fraction() const {
  if (m_duration <= 0) return 0.0f;
  return std::clamp(float(m_elapsed) / float(m_duration), 0.0f, 1.0f);
}

void cOperationBar::OnEvent(GameEvent& event) {
  Map::cObject::OnEvent(event);
  // Every bar hears every subject's work; only its own parent's counts.
  if (event.code != int32_t(Game::Event::OperationProgress) || event.objectId != parentId || parentId == Map::kNoId)
    return;
  m_bar.Start(event.value);
  if (m_bar.Running()) SetHidden(false);
}

bool cOperationBar::UpdateTimers(int32_t ms) {
  const bool remove = Map::cObject::UpdateTimers(ms);
  if (m_bar.Advance(ms)) SetHidden(true);
  return remove;
}

void cOperationBar::CopyFrom(const Map::cObject& from) {
  Map::cObject::CopyFrom(from);
  // A copy is a new bar: it waits for its own parent's work.
  m_bar = cBar{};
}
}  // namespace Icon
