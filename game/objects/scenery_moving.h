// Map::cMovingCreature and Map::cMovingButterfly: creatures that wander inside a rectangle around
// their home point. The creature stands, acts in place or walks to a random target with the
// walking animation of its direction; the butterfly never rests and flies from target to target.
#pragma once
#include <cstdint>

#include "anim/period_timer.h"
#include "anim/value_ramp.h"
#include "game/core/map_object.h"

namespace Map {

class cMovingCreature : public cObject {
 public:
  static constexpr size_t kItems = 10;  // the record block's items
  // Slots: base (stand), base + 1 (act in place), 2 to 6 walking up, up-right, right, down-right,
  // down (pictures face right; leftward ways are mirrored), 9 leaving (hidden once played).
  static constexpr int kWalkUp = 2, kWalkUpRight = 3, kWalkRight = 4, kWalkDownRight = 5, kWalkDown = 6;
  static constexpr int kLeaveSlot = 9;
  static constexpr float kDefaultSpeed = 30.0f;  // pixels per second

  struct WalkChoice {
    int slot;
    bool mirrored;
  };
  // The walking slot for a way from (fromX, fromY) to (toX, toY) on the map (y grows downwards).
  static WalkChoice WalkSlotFor(float fromX, float fromY, float toX, float toY);

  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void DrawDebug(const DrawContext& dc) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // A random target inside the area (two logged draws, y first).
  void RandomTarget(float& tx, float& ty) const;
  // Plays a slot of this creature, mirrored or not.
  void PlaySlot(int slot, bool mirrored);
  // Heads for (tx, ty) at the creature's speed with the slot given: the timer lasts the way,
  // rounded up to whole cycles of the walking animation. False (and nothing changes) for a target
  // where the creature already stands.
  bool HeadFor(float tx, float ty, int slot, bool mirrored);
  // Fades the creature's alpha from `from` to `to` over `ms`.
  void StartFade(int32_t ms, float from, float to);

  float HomeX() const { return homeX; }
  float HomeY() const { return homeY; }
  float VelocityX() const { return velX; }
  float VelocityY() const { return velY; }
  bool Mirrored() const { return mirrored != 0; }
  const PeriodTimer& Timer() const { return timer; }
  uint8_t Alpha() const;

  int32_t arealXS = 0, arealYS = 0;
  int32_t idlePeriodMin = 0, idlePeriodMax = 0, actionPeriodMin = 0, actionPeriodMax = 0;
  int32_t activityFactor = 0;
  uint8_t flipX = 0;
  float creatureScale = 1.0f;
  float speed = 0.0f;
  int32_t baseSlot = 0;

 protected:
  // Map start common to both: home, defaults, the first stand.
  void StartAtHome();
  // One step along the velocity, kept inside the area.
  void Move(int32_t ms);
  void Stand(int32_t periodMs);

  float homeX = 0.0f, homeY = 0.0f;
  float velX = 0.0f, velY = 0.0f;
  PeriodTimer timer{0, PeriodTimer::kStopped};
  ValueRamp fade;
  uint8_t mirrored = 0;
};

class cMovingButterfly : public cMovingCreature {
 public:
  cMovingButterfly();
  void UpdateAnimation(int32_t ms) override;
  void ResolveParent(const cMap& map) override;
  // Its slot for a way: the walking slot of the direction when it has an animation, else the
  // base slot; always mirrored towards a target on the left.
  WalkChoice FlightSlotFor(float tx, float ty) const;

 private:
  void FlyOn();
};

}  // namespace Map
