// The resource panel's state: the stock of workers, Food, Ore and Gold with their maxima as the
// level's events change them, the numbers that fly up when a resource is added, and the hint that
// names the resources an order lacks.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/events.h"

namespace Game {
class PlayerStock;
}
namespace Map {
class cMap;
}

namespace Interface {

// A "+N" rising from the point a resource was added at, fading out over its life.
struct FlyingNumber {
  int32_t resource = 0;
  int32_t amount = 0;
  int32_t x = 0, y = 0;
  int32_t ageMs = 0;
};

struct ResourceSlot {
  bool shown = true;   // the level uses the resource
  bool seen = false;   // it has been in the stock once, so the panel shows it
  int32_t amount = 0;
  int32_t maximum = 0;
  int32_t pulseMs = 0;  // the number swells after a change
  int32_t flashMs = 0;  // the number is tinted after an addition
  int32_t hintMs = 0;   // the slot is marked as lacking for an order
};

class cResourcePanel : public Game::cObserver {
 public:
  static constexpr int32_t kFlyMs = 1200;      // a flying number's life
  static constexpr int32_t kFlyRise = 60;      // pixels it rises over its life
  static constexpr int32_t kPulseMs = 50;      // two steps of the level clock
  static constexpr int32_t kFlashMs = 600;
  static constexpr int32_t kHintMs = 2000;

  // `map` may be null (no hint then: the order's costs cannot be read).
  void Bind(Game::cEventDispatcher* hub, const Game::PlayerStock* stock, const Map::cMap* map);
  void Unbind();
  void OnEvent(GameEvent& e) override;
  void Update(int32_t ms);
  void Refresh();

  const ResourceSlot& Slot(int i) const { return m_slots[size_t(i & 3)]; }
  bool Visible(int i) const { return Slot(i).shown && Slot(i).seen; }
  // "12/30": the stock against the level's maximum ("12" when the resource has no maximum).
  std::string Text(int i) const;
  // The number shows red at the resource's own maximum (whatever that is), green after an
  // addition, else plain.
  bool AtMaximum(int i) const { return Slot(i).maximum > 0 && Slot(i).amount >= Slot(i).maximum; }
  const std::vector<FlyingNumber>& Flying() const { return m_flying; }
  bool HintActive() const;

 private:
  void ShowHintFor(int32_t objectId);

  Game::cEventDispatcher* m_hub = nullptr;
  const Game::PlayerStock* m_stock = nullptr;
  const Map::cMap* m_map = nullptr;
  std::array<ResourceSlot, 4> m_slots{};
  std::vector<FlyingNumber> m_flying;
};

}  // namespace Interface
