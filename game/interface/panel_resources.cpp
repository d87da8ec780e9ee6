// The resource panel's state, kept from the stock and the level's events.
#include "game/interface/panel_resources.h"

#include <algorithm>
#include <cstdio>

#include "game/core/map.h"
#include "game/core/player_stock.h"
#include "game/objects/subject_object.h"

namespace Interface {
using Game::Event;

void cResourcePanel::Bind(Game::cEventDispatcher* hub, const Game::PlayerStock* stock, const Map::cMap* map) {
  ::UnregisterAll(this);
  m_hub = hub;
  m_stock = stock;
  m_map = map;
  m_slots = {};
  m_flying.clear();
  if (m_stock)
    for (int i = 0; i < 4; ++i) {
      // Workers are always there; a disabled resource never shows.
      m_slots[size_t(i)].shown = i == Game::kWorker || m_stock->Enabled(i);
      m_slots[size_t(i)].seen = m_stock->Amount(i) > 0;
    }
  Refresh();
  if (!hub) return;
  for (Event code : {Event::LevelStarted, Event::OperationFinished, Event::BuildingLevelReached,
                     Event::BuildingWorkFinished, Event::StockChanged, Event::ResourcesPickedUp,
                     Event::GatheredTotalChanged, Event::ResourceAdded, Event::ResourceMissing,
                     Event::NotEnoughResources, Event::CannotAffordUpgrade, Event::InterfaceModalChanged,
                     Event::GamePlayFinished})
    ::Register(code, hub, this);
}

void cResourcePanel::Unbind() {
  ::UnregisterAll(this);
  m_hub = nullptr;
  m_stock = nullptr;
  m_map = nullptr;
}

void cResourcePanel::Refresh() {
  if (!m_stock) return;
  for (int i = 0; i < 4; ++i) {
    m_slots[size_t(i)].amount = m_stock->Amount(i);
    m_slots[size_t(i)].maximum = m_stock->Maximum(i);
  }
}

std::string cResourcePanel::Text(int i) const {
  const ResourceSlot& s = Slot(i);
  char text[32];
  if (s.maximum > 0)
    std::snprintf(text, sizeof text, "%d/%d", int(s.amount), int(s.maximum));
  else
    std::snprintf(text, sizeof text, "%d", int(s.amount));
  return text;
}

bool cResourcePanel::HintActive() const {
  return std::any_of(m_slots.begin(), m_slots.end(), [](const ResourceSlot& s) { return s.hintMs > 0; });
}

void cResourcePanel::ShowHintFor(int32_t objectId) {
  if (!m_map || !m_stock) return;
  auto* subject = dynamic_cast<const Map::cSubjectObject*>(m_map->FindById(objectId));
  if (!subject) return;
  Map::ResourceVector gains{}, costs{}, next{};
  if (!subject->GetOperationOffer(gains, costs, next)) return;
  for (int i = Game::kFood; i <= Game::kGold; ++i)
    if (costs[size_t(i)] > m_stock->Amount(i)) m_slots[size_t(i)].hintMs = kHintMs;
}

void cResourcePanel::OnEvent(GameEvent& e) {
  const bool named = e.index >= 0 && e.index < 4;
  switch (Event(e.code)) {
    case Event::LevelStarted:
      for (ResourceSlot& s : m_slots) s.seen = true;
      Refresh();
      break;
    case Event::ResourcesPickedUp:
      if (named) m_slots[size_t(e.index)].seen = true;
      Refresh();
      break;
    case Event::GatheredTotalChanged:
      Refresh();
      if (named) m_slots[size_t(e.index)].pulseMs = kPulseMs;
      break;
    case Event::ResourceAdded:
      Refresh();
      if (!named) break;
      m_slots[size_t(e.index)].seen = true;
      m_slots[size_t(e.index)].flashMs = kFlashMs;
      // Additions that happened somewhere on the map (or by the player's hand) fly up from there;
      // the stock the level starts with does not.
      if (e.amount > 0 && (e.value != 0 || e.x != 0 || e.y != 0)) m_flying.push_back(FlyingNumber{e.index, e.amount, e.x, e.y, 0});
      break;
    case Event::ResourceMissing:
      if (named) m_slots[size_t(e.index)].hintMs = kHintMs;
      break;
    case Event::NotEnoughResources:
    case Event::CannotAffordUpgrade:
      ShowHintFor(e.objectId);
      break;
    case Event::InterfaceModalChanged:
    case Event::GamePlayFinished:
      for (ResourceSlot& s : m_slots) s.hintMs = 0;
      break;
    default:
      Refresh();
      break;
  }
}

void cResourcePanel::Update(int32_t ms) {
  if (ms <= 0) return;
  for (ResourceSlot& s : m_slots) {
    s.pulseMs = std::max(0, s.pulseMs - ms);
    s.flashMs = std::max(0, s.flashMs - ms);
    s.hintMs = std::max(0, s.hintMs - ms);
  }
  for (FlyingNumber& f : m_flying) f.ageMs += ms;
  std::erase_if(m_flying, [](const FlyingNumber& f) { return f.ageMs >= kFlyMs; });
}

}  // namespace Interface
