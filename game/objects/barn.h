// Map::cBarn: the workers' home. Workers appear and leave at its door point, its upgrades each add a
// worker, and it never breaks.
#pragma once
#include <cstdint>

#include "game/objects/building.h"

namespace Map {
class cBarn : public cBuilding {
 public:
  static constexpr int32_t kDoorMarkSize = 10;  // pixels, in the object-bound debug display

  int GetHintStyle() const override { return 1; }
  int32_t GetUpgradeGain(int32_t) const override { return 1; }
  int32_t GetUpgradeGainResource() const override { return 0; }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void OnUpgraded(bool silent) override;
  void OnEvent(GameEvent& event) override;
  void OnMapReady() override;
  void DrawDebug(const DrawContext& dc) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // Where the barn's workers appear and leave, in map pixels.
  IntPoint WorkerPoint() const { return {int32_t(x) + workerOffset.x, int32_t(y) + workerOffset.y}; }

  IntPoint iconsOffset;   // "iconsX", "iconsY": the icons "barnWorkers" and "upgradeLevel"
  IntPoint workerOffset;  // "workerX", "workerY"
};
}  // namespace Map
