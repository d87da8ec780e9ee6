// Rain and snow over the map: showers at random intervals, each a particle effect over the whole map
// with the screen darkened (rain) or whitened (snow) while it lasts, the rain's looping sound, and
// the start and end events other objects listen to.
#pragma once

#include <cstdint>
#include <memory>

#include "anim/period_timer.h"
#include "anim/value_ramp.h"
#include "game/core/event_codes.h"
#include "game/core/map_object.h"

class CSound;
namespace FxManager {
class cSimplePyro;
}

namespace Fx {

// The shower cycle rain and snow share; each kind names its effect, colour, events and defaults.
class cShower : public Map::cObject {
 public:
  static constexpr int32_t kLayer = 80;
  static constexpr int32_t kDefaultDarkOpacity = 30;
  static constexpr float kEffectX = 700.0f, kEffectY = 10.0f;

  // What sets a kind of shower apart.
  struct Kind {
    const char* effect;      // catalogue name of the particle effect
    const char* family;      // for messages: "rain", "snow"
    float defaultFade;       // fadePeriod when the definition gives 0
    uint32_t rgb;            // colour of the full-screen fill
    Game::Event starts, stops;
    int32_t testDuration;    // shower length with the rain test switch on
    bool sound;              // holds the looping "Rain" sound while it shows
    bool durationInEvent;    // the start event carries the shower's length (field 14)
  };

  ~cShower() override;

  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const Map::DrawContext& dc) override;
  // Map start: the first waiting time (or, with the rain test switch, the first shower).
  void ResolveParent(const Map::cMap& map) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // ---- What tests and the level may read --------------------------------------------------
  bool ShowerRunning() const { return m_running; }
  float Darkness() const { return m_darkness.Value(); }
  // The alpha of the full-screen fill this frame (0 .. 255).
  int FillAlpha() const;
  uint32_t FillColour() const;
  const PeriodTimer& ShowerTimer() const { return m_showerTimer; }
  FxManager::cSimplePyro* Effect() const { return m_effect.get(); }
  CSound* Sound() const { return m_sound; }
  float FadePeriod() const { return m_fadePeriod; }
  int32_t DarkOpacity() const { return m_darkOpacity; }
  int32_t Period() const { return m_period; }
  int32_t StartPeriodMin() const { return m_startMin; }
  int32_t StartPeriodMax() const { return m_startMax; }

 protected:
  explicit cShower(const Kind& kind);

 private:
  void StartShower(int32_t duration);
  void EndShower();
  // A new waiting time, drawn from the logged generator.
  void Wait();
  void HoldSound();
  void ReleaseSound();
  bool TestRain() const;

  const Kind& m_kind;
  std::unique_ptr<FxManager::cSimplePyro> m_effect;
  PeriodTimer m_showerTimer{0, PeriodTimer::kStopped};
  ValueRamp m_darkness;
  CSound* m_sound = nullptr;
  float m_fadePeriod;
  int32_t m_darkOpacity = kDefaultDarkOpacity;
  int32_t m_period = 0, m_startMin = 0, m_startMax = 0;
  int32_t m_fadeMs = 0;
  // Set from a shower's start to its end. The timer counts the shower while it is set and the
  // waiting time otherwise, so the end of a wait never runs a shower's end a second time, however
  // long the last one takes to fade.
  bool m_running = false;
};

class cRain : public cShower {
 public:
  cRain();
};

class cSnow : public cShower {
 public:
  cSnow();
};

}  // namespace Fx
