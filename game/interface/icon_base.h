// The icons subjects show over themselves: Map::cIcon, which belongs to a parent subject and is
// hidden with it, and Map::cFloatingIcon, which bobs gently and can show an alternate picture.
#pragma once

#include <cstdint>

#include "game/core/map_object.h"

namespace Map {

class cIcon : public cObject {
 public:
  void OnAdded(cMap& map) override { m_map = &map; }
  void Draw(const DrawContext& dc) override;

  // The parent, when there is one and it is still on the map.
  cObject* Parent() const { return m_map ? GetParent(*m_map) : nullptr; }
  // True when the icon has a parent that is hidden (the icon then draws nothing).
  bool ParentHidden() const;
  cMap* LevelMap() const { return m_map; }

 protected:
  cMap* m_map = nullptr;
};

class cFloatingIcon : public cIcon {
 public:
  static constexpr float kPhaseRate = 0.00314f;  // radians per millisecond
  static constexpr int32_t kPhasePeriodMs = 2000;
  static constexpr float kBob = 3.0f;  // pixels

  cFloatingIcon();

  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  bool Click(bool) override { return false; }
  bool IsHighlighted() const override { return selectedByte != 0 || Has(kFlagTintPulse); }
  bool HoverEnter() override;
  void HoverLeave() override;
  void CopyFrom(const cObject& from) override;

  // The alternate picture: slot 1 when on, slot 0 when off.
  void ShowAlternate(bool on);
  // How far the bob moves the picture down now.
  float BobOffset() const;
  float Phase() const { return m_phase; }

  uint8_t selectedByte = 0;

 private:
  float m_phase = 0.0f;
  int32_t m_phaseMs = 0;
};
}  // namespace Map
