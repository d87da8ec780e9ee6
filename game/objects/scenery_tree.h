// Map::cTree: a tree of the background drawn as trunk and crown, tinted between its dead and live
// colours by how far its animation has played, swaying in the wind. Under the fog it stands dead;
// when the fog leaves it, it comes to life (or, marked "DeleteOutsideFog", fades away).
#pragma once
#include <array>
#include <cstdint>

#include "anim/period_timer.h"
#include "anim/value_ramp.h"
#include "game/core/map_object.h"

namespace Map {

class cTree : public cObject {
 public:
  static constexpr size_t kItems = 21;  // the record block's items
  static constexpr int kCrown = 0, kTrunk = 1;
  static constexpr int32_t kFadeMs = 200;

  using Rgb = std::array<int32_t, 3>;

  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void GetFrameInfo(int& width, int& height, CSprite*& sprite) const override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // The share of the tree's life shown now, 0 (dead) to 1 (live): time over period of the slot
  // whose animation has more frames (the crown on a tie); 1 without animations.
  float LifeFraction() const;
  // The crown's or the trunk's colour now, with the tree's own offsets, each channel 0 to 255.
  Rgb CrownColour() const;
  Rgb TrunkColour() const;
  // False for a tree whose data gives no colours at all: it is drawn as its pictures are.
  bool Tinted() const;
  // The sideways shift of the top edge now (pixels at scale 1).
  float SwayShift() const;
  // The size factor of the pictures: object scale times (tree scale + size variation).
  float SizeFactor() const;
  // The quad of a slot's frame on the map, corners top-left, top-right, bottom-right, bottom-left.
  void QuadOf(int slot, const DrawContext& dc, float xy[8]) const;

  const Rgb& Offsets() const { return offsets; }
  float SizeVariation() const { return sizeVariation; }
  bool Fogged() const { return fogState != 0; }
  bool Fading() const { return !fadeTimer.IsStopped(); }

  Rgb leavesLive{}, leavesDead{}, trunkLive{}, trunkDead{};
  int32_t randomSeed = 0, randomMax = 0, scaleRandomSeed = 0, scaleRandomMax = 0;
  float ampl = 0.0f;
  int32_t period = 0;
  float phase = 0.0f;
  float treeScale = 1.0f;
  uint8_t deleteOutsideFog = 0;

 private:
  void MakeVariation();
  // The fog over the anchor changed: event 55, and the tree withers, revives or fades out.
  void FogChanged(bool fogged);
  // The first update: the fog state the level really starts with, taken without an event.
  void SettleFog(bool fogged);
  // Fades the tree out over 200 ms; it leaves the map when the fade ends.
  void FadeOut();
  void ShowDead();
  void ShowLive();
  void ComeAlive();
  Rgb Mix(const Rgb& dead, const Rgb& live) const;
  void DrawSlot(int slot, const DrawContext& dc, const Rgb& rgb, uint8_t alpha);

  Rgb offsets{};
  float sizeVariation = 0.0f;
  ValueRamp sway;
  uint8_t fogState = 0;
  uint8_t fogSettled = 0;  // the first update has taken the level's real fog state
  PeriodTimer fadeTimer{kFadeMs, PeriodTimer::kStopped};
};

}  // namespace Map
