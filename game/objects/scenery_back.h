// Map::cBack: the level's painted background. It draws its current slot as any picture does; when
// its slot moves on while the level runs, the new picture fades in over the one of the slot below.
#pragma once
#include <cstdint>

#include "anim/period_timer.h"
#include "game/core/map_object.h"

namespace Map {

class cBack : public cObject {
 public:
  static constexpr int32_t kCrossFadeMs = 2000;

  void UpdateAnimation(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void SetAnimation(int slot, bool randomStart) override;
  void CopyFrom(const cObject& from) override;

  bool CrossFading() const { return !timer.IsStopped(); }
  // The current slot's alpha during a cross-fade, 0 to 255 (255 when none runs).
  uint8_t IncomingAlpha() const;

 private:
  // The timer counts down, so the new picture's alpha (1 - t / T) rises from 0 to full.
  PeriodTimer timer{kCrossFadeMs, PeriodTimer::kStopped | PeriodTimer::kBackwards};
  bool onMap = false;  // set at map start: changes of slot while loading do not fade
};

}  // namespace Map
