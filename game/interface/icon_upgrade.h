// The upgrade icons of a building: Icon::cUpgradeLevel, the tablet with the building's level (or
// the barn's workers) whose click orders the next upgrade, and Icon::cUpgradeTrumpets, which
// sounds the trumpets' effect once each time it is shown.
#pragma once

#include <cstdint>
#include <memory>

#include "game/interface/icon_base.h"

class CSprite;
namespace FxManager {
class cSimplePyro;
}
namespace Map {
class cBuilding;
}

namespace Icon {

class cUpgradeLevel : public Map::cIcon {
 public:
  cUpgradeLevel();
  ~cUpgradeLevel() override;

  bool LoadIni(const gFileName& file, const char* section) override;
  void OnEvent(GameEvent& event) override;
  void OnAdded(Map::cMap& map) override;
  // Takes the number and moves to the tablet point the level gives the parent (see Place).
  void OnMapReady() override;
  // The barn's number follows its workers, who come and go without an event of the barn's own.
  bool UpdateTimers(int32_t ms) override;
  void Draw(const Map::DrawContext& dc) override;
  // Orders the parent's next upgrade when it can be upgraded and a worker can reach it, and queues
  // the building's order. Always false: there is nothing to queue under the tablet's own id.
  bool Click(bool byPlayer) override;
  // True once a click of the tablet has ordered an upgrade (cleared by TakeOrdered).
  bool TakeOrdered() {
    const bool o = m_ordered;
    m_ordered = false;
    return o;
  }
  bool HoverEnter() override;
  void HoverLeave() override;
  void CopyFrom(const Map::cObject& from) override;

  // The number shown: the parent's level, or for the barn its workers but the first.
  void Refresh();
  int32_t Number() const { return m_number; }
  Map::cBuilding* Building() const;
  // Puts the tablet at the parent's anchor plus the barn's icon offset, else the building's tablet
  // offset, else the offset the child script gave it.
  void Place();

  uint8_t isForBarn = 0;

 private:
  int32_t m_number = 0;
  Map::IntPoint m_scriptOffset;
  bool m_ordered = false;
  CSprite* m_font = nullptr;
  bool m_fontAsked = false;
};

class cUpgradeTrumpets : public Map::cIcon {
 public:
  static constexpr const char* kEffect = "UpgradeTrumpets";
  static constexpr float kSpread = 8.0f;  // pixels either way

  cUpgradeTrumpets();
  ~cUpgradeTrumpets() override;

  void SetHidden(bool hidden) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const Map::DrawContext& dc) override;
  void CopyFrom(const Map::cObject& from) override;

  // Times the effect was started (once per showing).
  int32_t Plays() const { return m_plays; }
  float EffectX() const { return m_fxX; }
  float EffectY() const { return m_fxY; }

 private:
  std::unique_ptr<FxManager::cSimplePyro> m_effect;
  int32_t m_plays = 0;
  float m_fxX = 0.0f, m_fxY = 0.0f;
};
}  // namespace Icon
