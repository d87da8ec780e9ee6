// Icon::cObjectInfo: the hint a subject shows while the pointer is over it. It opens after a short
// delay and fades in, fades out when closed, and each time it is drawn fills its window from the
// parent's offer. Icon::cUpgradeInfo is its variant over the upgrade tablet: the next upgrade's
// costs and what the upgrade adds.
#pragma once

#include <cstdint>

#include "game/interface/icon_base.h"
#include "game/interface/icon_hint_window.h"

namespace Map {
class cSubjectObject;
}

namespace Icon {

class cObjectInfo : public Map::cIcon {
 public:
  static constexpr int32_t kOpenDelayMs = 200;
  static constexpr int32_t kRefusedCloseDelayMs = 100;
  static constexpr float kFadeRate = 0.85f;  // alpha per millisecond
  static constexpr float kHiddenBelow = 10.0f;

  enum class Phase { Closed, Waiting, Opening, Open, Closing };

  void SetHidden(bool hidden) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const Map::DrawContext& dc) override;
  void CopyFrom(const Map::cObject& from) override;

  // What the window would show now; empty without a subject for a parent.
  virtual HintContent Fill() const;

  Phase State() const { return m_phase; }
  float Alpha() const { return m_alpha; }

 protected:
  const Map::cSubjectObject* Subject() const;
  // The layout section of the window.
  virtual const char* Section() const { return "Hint"; }

 private:
  Phase m_phase = Phase::Closed;
  float m_alpha = 0.0f;
  int32_t m_waitMs = 0;
  cHintInfo m_window;
  bool m_configured = false;
};

class cUpgradeInfo : public cObjectInfo {
 public:
  HintContent Fill() const override;

 protected:
  const char* Section() const override { return "UpgradeHint"; }
};
}  // namespace Icon
