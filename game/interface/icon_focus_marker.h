// The marker under a subject: while shown it takes its parent's order state (ready, waiting for a
// person, impossible) and draws that state's picture with a gentle pulse; busy draws nothing. Its
// record keeps "isSmall", "scale", "isGreen" and "isSaveble".
#pragma once

#include <cstdint>

#include "game/core/map_object.h"

namespace Icon {

class cFocusMarker : public Map::cObject {
 public:
  static constexpr int32_t kBusy = 4;
  // The items of the marker's record, in binary order.
  enum Item : size_t { kSmallItem = 0, kScaleItem, kGreenItem, kSaveableItem, kItems };

  void OnAdded(Map::cMap& map) override { m_map = &map; }
  bool UpdateTimers(int32_t ms) override;
  void Draw(const Map::DrawContext& dc) override;
  // A marker read from the binary map is ready from the start.
  bool LoadBinary(MapStream& stream) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const Map::cObject& from) override;

  int32_t State() const { return m_state; }
  float Phase() const { return m_phase; }
  // The drawn scale: the marker's own, breathing by a tenth with the phase.
  float PulseScale() const;

  int32_t isSmall = 0;
  float markerScale = 1.0f;  // "scale"; 0 is read as 1
  uint8_t saveable = 0;      // "isSaveble": written back when the level is saved

 private:
  Map::cMap* m_map = nullptr;
  int32_t m_state = kBusy;  // a child of a subject starts busy until it has looked at its parent
  float m_phase = 0.0f;
  int32_t m_phaseMs = 0;
};
}  // namespace Icon
