// Map::cBuildingMine: a building holding a fixed stock of ore or gold that workers carry off load
// by load; a floating harvest circle shows the work, and the mine withdraws once it is empty.
#pragma once
#include <cstdint>

#include "anim/animation.h"
#include "game/objects/building.h"

namespace Map {
class cBuildingMine : public cBuilding {
 public:
  static constexpr float kCircleRise = 20.0f;     // pixels above the mine
  static constexpr float kCircleBob = 2.0f;       // pixels
  static constexpr float kCirclePhaseRate = 0.00314f;  // radians per millisecond
  static constexpr int32_t kCirclePeriodMs = 2000;
  static constexpr int kExhaustedSlot = 1;

  // ---- Overrides -----------------------------------------------------------------------------
  bool HasOperationOffer() const override;
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  void SetState(BuildingState newState, bool flag) override;
  void UpdateAnimation(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // What is left to carry off.
  int32_t Left() const { return stock > taken ? stock - taken : 0; }
  // The circle's vertical bob now, in pixels.
  float CircleBob() const;

  // ---- Fields --------------------------------------------------------------------------------
  AnimationState circleBoard, circleBoardEmpty, circleBar, resourcePicture;
  int32_t circleTime = 0;  // ms into the bob's period
  int32_t resource = kNoResource;
  int32_t load = 0;
  int32_t stock = 0;
  int32_t taken = 0;

 private:
  // The looks, the dust and the sound set of the mine's resource.
  void LoadMineLooks();
  bool m_loadsGiven = false;
};
}  // namespace Map
