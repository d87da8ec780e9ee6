// Map::cHunterBuilding: a hut that keeps one person of its kind (a warrior or an exorcist) on the
// level, living in the hut, from the moment the hut stands.
#pragma once
#include <cstdint>
#include <string>

#include "game/objects/building.h"

namespace Map {
class cHunterBuilding : public cBuilding {
 public:
  int GetHintStyle() const override { return 1; }
  void OnBuilt(bool flag) override;
  void OnRepaired() override;
  bool UpdateTimers(int32_t ms) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // The hut's person is still on the map.
  bool HasItsPerson() const;
  // A person of its kind is due once the current update walk is over.
  bool SupplyDue() const { return m_supplyDue; }

  std::string hunter;     // the person kind, "Warrior" or "Exorcist"
  int32_t personId = -1;  // the person it brought

 private:
  // Brings the hut's person unless it still has one: a hut keeps one person, however often it is
  // repaired.
  void Supply();
  bool m_supplyDue = false;
  bool m_kindReported = false;
};
}  // namespace Map
