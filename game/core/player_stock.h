// The player's resource stock of one level: amounts, gathered totals and enabled flags of the four
// resources, with the events that tell the interface about every change.
#pragma once
#include <cstdint>

namespace Game {
class cEventDispatcher;

enum Resource : int32_t { kWorker = 0, kFood = 1, kOre = 2, kGold = 3, kResourceCount = 4 };

class PlayerStock {
 public:
  // Events go to `dispatcher` (may be null in tools); maxima come from the level balance.
  explicit PlayerStock(cEventDispatcher* dispatcher);

  int32_t Amount(int i) const { return Valid(i) ? m_amount[i] : 0; }
  int32_t Gathered(int i) const { return Valid(i) ? m_gathered[i] : 0; }
  int32_t Maximum(int i) const;
  bool Enabled(int i) const { return Valid(i) && m_enabled[i] != 0; }
  void SetEnabled(int i, bool on) {
    if (Valid(i)) m_enabled[i] = on ? 1 : 0;
  }
  // "Game_Many_Resources": spending takes nothing from the stock.
  void SetUnlimited(bool on) { m_unlimited = on; }

  // Takes `amount` from the stock. Refused (false, nothing changes, no event) when the stock holds
  // less: a short stock must never turn into a free purchase. Posts 72 and 74 otherwise.
  bool SpendResource(int i, int32_t amount);
  // Adds to the gathered total; posts 71.
  void AddGathered(int i, int32_t amount);
  // Adds (capped at the maximum); for Food, Ore and Gold posts 110 per resource at its maximum and
  // 109 when all three are; then 72 and 73 with the amount, flag and screen point.
  void AddResource(int i, int32_t amount, bool fromPlayer, int32_t x = 0, int32_t y = 0);
  // Gives back what a cancelled order took: not capped by the maximum, since it was the player's
  // before. Posts 72.
  void RefundResource(int i, int32_t amount);

 private:
  static bool Valid(int i) { return i >= 0 && i < kResourceCount; }
  void PostResource(int32_t code, int i, int32_t amount, int32_t value, int32_t x, int32_t y);

  cEventDispatcher* m_dispatcher;
  int32_t m_amount[kResourceCount] = {};
  int32_t m_gathered[kResourceCount] = {};
  int32_t m_enabled[kResourceCount] = {1, 1, 1, 1};
  bool m_unlimited = false;
};
}  // namespace Game
