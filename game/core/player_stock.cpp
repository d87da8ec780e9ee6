// The player's resource stock and its events.
#include "game/core/player_stock.h"

#include <algorithm>
#include <cstdint>

#include "game/core/events.h"
#include "game/core/level_balance.h"

namespace Game {

PlayerStock::PlayerStock(cEventDispatcher* dispatcher) : m_dispatcher(dispatcher) {}

int32_t PlayerStock::Maximum(int i) const { return Valid(i) ? levelBalance().resourcesMax[i] : 0; }

void PlayerStock::PostResource(int32_t code, int i, int32_t amount, int32_t value, int32_t x, int32_t y) {
  if (!m_dispatcher) return;
  GameEvent e;
  MakeEvent(e, code);
  e.index = i;
  e.amount = amount;
  e.value = value;
  e.x = x;
  e.y = y;
  Post(m_dispatcher, e);
}

bool PlayerStock::SpendResource(int i, int32_t amount) {
  if (!Valid(i) || amount < 0) return false;
  if (!m_unlimited) {
    if (m_amount[i] < amount) return false;
    m_amount[i] -= amount;
  }
  PostResource(Code(Event::StockChanged), i, 0, 0, 0, 0);
  PostResource(Code(Event::ResourceSpent), i, amount, 1, 0, 0);
  return true;
}

void PlayerStock::AddGathered(int i, int32_t amount) {
  if (!Valid(i)) return;
  m_gathered[i] += amount;
  PostResource(Code(Event::GatheredTotalChanged), i, amount, 0, 0, 0);
}

void PlayerStock::AddResource(int i, int32_t amount, bool fromPlayer, int32_t x, int32_t y) {
  if (!Valid(i)) return;
  // Widened so a huge amount from bad data cannot wrap the stock negative.
  int64_t sum = int64_t(m_amount[i]) + amount;
  m_amount[i] = int32_t(std::clamp<int64_t>(sum, 0, Maximum(i)));
  if (i != kWorker) {
    int full = 0;
    for (int r = kFood; r <= kGold; ++r) {
      if (m_amount[r] < Maximum(r)) continue;
      ++full;
      PostResource(Code(Event::ResourceAtMaximum), r, 0, 0, 0, 0);
    }
    if (full == 3) PostResource(Code(Event::AllResourcesAtMaximum), 4, 0, 0, 0, 0);
  }
  PostResource(Code(Event::StockChanged), i, 0, 0, 0, 0);
  PostResource(Code(Event::ResourceAdded), i, amount, fromPlayer ? 1 : 0, x, y);
}

void PlayerStock::RefundResource(int i, int32_t amount) {
  if (!Valid(i) || amount <= 0) return;
  const int64_t sum = int64_t(m_amount[i]) + amount;
  m_amount[i] = int32_t(std::min<int64_t>(sum, INT32_MAX));
  PostResource(Code(Event::StockChanged), i, 0, 0, 0, 0);
}

}  // namespace Game
