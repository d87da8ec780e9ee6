// The hint's opening, closing and filling.
#include "game/interface/icon_object_info.h"

#include <algorithm>

#include "game/core/level_context.h"
#include "game/objects/building.h"
#include "game/objects/subject_object.h"

namespace Icon {
namespace {
const Game::PlayerStock* levelStock() {
  Game::LevelContext* c = Game::levelContext();
  return c ? c->stock.get() : nullptr;
}
}  // namespace

const Map::cSubjectObject* cObjectInfo::Subject() const {
  return dynamic_cast<const Map::cSubjectObject*>(Parent());
}

void cObjectInfo::SetHidden(bool hidden) {
  if (!hidden) {
    Map::cIcon::SetHidden(false);
    if (m_phase == Phase::Closing)
      m_phase = Phase::Opening;  // back from where the fade had got to, without a new delay
    else if (m_phase == Phase::Closed) {
      m_phase = Phase::Waiting;
      m_waitMs = kOpenDelayMs;
    }
    return;
  }
  if (m_phase == Phase::Closed || m_phase == Phase::Waiting || m_alpha < kHiddenBelow) {
    m_phase = Phase::Closed;
    m_alpha = 0.0f;
    Map::cIcon::SetHidden(true);
    return;
  }
  if (m_phase == Phase::Closing) return;
  m_phase = Phase::Closing;
  // Right after a refusal the player reads why for a moment longer.
  const Map::cSubjectObject* s = Subject();
  m_waitMs = s && s->ordersRefused > 0 ? kRefusedCloseDelayMs : 0;
}

bool cObjectInfo::UpdateTimers(int32_t ms) {
  const bool remove = Map::cIcon::UpdateTimers(ms);
  if (ms <= 0) return remove;
  int32_t left = ms;
  switch (m_phase) {
    case Phase::Waiting:
      if (m_waitMs > left) {
        m_waitMs -= left;
        break;
      }
      left -= m_waitMs;
      m_waitMs = 0;
      m_phase = Phase::Opening;
      [[fallthrough]];
    case Phase::Opening:
      m_alpha = std::min(255.0f, m_alpha + kFadeRate * float(left));
      if (m_alpha >= 255.0f) m_phase = Phase::Open;
      break;
    case Phase::Closing:
      if (m_waitMs > 0) {
        const int32_t w = std::min(m_waitMs, left);
        m_waitMs -= w;
        left -= w;
      }
      m_alpha = std::max(0.0f, m_alpha - kFadeRate * float(left));
      if (m_alpha < kHiddenBelow) {
        m_alpha = 0.0f;
        m_phase = Phase::Closed;
        Map::cIcon::SetHidden(true);
      }
      break;
    default: break;
  }
  return remove;
}

HintContent cObjectInfo::Fill() const {
  const Map::cSubjectObject* s = Subject();
  return s ? hintFill(*s, levelStock()) : HintContent{};
}

void cObjectInfo::Draw(const Map::DrawContext& dc) {
  // A hidden parent takes its hint with it, whatever the fade.
  if (Has(Map::kFlagHidden) || m_alpha <= 0.0f || !Subject() || ParentHidden()) return;
  if (!m_configured) {
    m_configured = true;
    m_window.Configure(Section());
  }
  const uint8_t alpha = uint8_t(std::clamp(int(m_alpha) * int(dc.alpha) / 255, 0, 255));
  m_window.Draw(Fill(), int(x + dc.offsetX), int(y + dc.offsetY), alpha);
}

void cObjectInfo::CopyFrom(const Map::cObject& from) {
  Map::cIcon::CopyFrom(from);
  // A copy is closed until its own parent opens it.
  m_phase = Phase::Closed;
  m_alpha = 0.0f;
  m_waitMs = 0;
  m_configured = false;
}

HintContent cUpgradeInfo::Fill() const {
  HintContent c;
  const auto* b = dynamic_cast<const Map::cBuilding*>(Parent());
  if (!b) return c;
  const bool upgrading = b->State() == Map::BuildingState::Upgrading;
  c.name = b->GetDisplayName();
  if (c.name.size() <= 1 && !upgrading) c.name.clear();
  if (c.name.empty()) c.caption = "#OBJECT_HINT_UPGRADE";
  if (!b->CanUpgrade(false)) return c;
  const Map::OperationKind kind = b->NextUpgradeKind();
  const Map::ResourceVector price = b->Cost(kind);
  const Game::PlayerStock* stock = levelStock();
  const bool affordable = b->CanAfford(kind);
  c.shortFall = b->selected != 0 && !affordable;
  c.spend.label = "#OBJECT_HINT_UPGRADE";
  c.spend.shown = true;
  for (int i = 0; i < 4; ++i) {
    const int32_t have = stock ? stock->Amount(i) : 0;
    c.spend.amounts[size_t(i)] = c.shortFall && i > 0 ? std::max(0, price[size_t(i)] - have) : price[size_t(i)];
    c.spend.lacking[size_t(i)] = !c.shortFall && i > 0 && stock && price[size_t(i)] > have;
  }
  const int32_t r = b->GetUpgradeGainResource();
  const int32_t gain = b->GetUpgradeGain(b->upgradeLevel + 1);
  if (r >= 0 && r < Map::kNoResource && gain > 0) {
    c.willGet.label = "#OBJECT_HINT_WILLGET";
    c.willGet.amounts[size_t(r)] = gain;
    c.willGet.shown = true;
  }
  return c;
}
}  // namespace Icon
