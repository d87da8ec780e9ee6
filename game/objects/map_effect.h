// Map effects: a particle effect that lives on the map as an object (fires, evil smoke, the one-shot
// effects the object families spawn at run time), drawn at its anchor and killed once it has stopped.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "game/core/map_object.h"

namespace FxManager {
class cSimplePyro;
}

namespace Map {
class cObjectFactory;

class cEffect : public cObject {
 public:
  cEffect();
  ~cEffect() override;

  void OnEvent(GameEvent& event) override;
  void SetAnchorF(float x, float y) override;
  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // Makes the named catalogue effect (a name the catalogue lacks gives one that draws nothing).
  void CreateEffect(std::string_view name);
  void StartEffect();
  void StopEmitting();
  void SetLifetimeMs(int32_t ms) { lifetime = ms; elapsed = 0; }

  FxManager::cSimplePyro* Effect() const { return effect.get(); }
  const std::string& EffectName() const { return effectName; }
  bool Waiting() const { return startOnEffect != 0; }
  int32_t LifetimeMs() const { return lifetime; }

  // Told the name of every sound the effect plays ("FireStart", "FireDying"); tests and logs.
  void SetSoundListener(std::function<void(const char*)> f) { soundListener = std::move(f); }

  uint8_t deleteOutsideFog = 0;  // stop emitting once the fog has lifted from the anchor

 protected:
  std::unique_ptr<FxManager::cSimplePyro> effect;
  std::string effectName;
  uint8_t startOnEffect = 0;
  int32_t lifetime = -1;  // ms, -1 = none
  int32_t elapsed = 0;

 private:
  void PlaySound(const char* sound);
  std::function<void(const char*)> soundListener;
};

// The evil smoke: stops on all goals completed and, once its effect has run out, calls the persons.
class cEvilSmoke : public cEffect {
 public:
  void OnEvent(GameEvent& event) override;
  bool UpdateTimers(int32_t ms) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;

 private:
  bool m_reported = false;
};

// A one-shot effect on the running level's map at (x, y) on `layer`, emitting for `lifetimeMs`
// (-1: until the effect ends by itself). Null when no level runs.
cEffect* SpawnMapEffect(std::string_view name, int32_t layer, int32_t lifetimeMs, float x, float y);

void mapEffectRegisterClasses(cObjectFactory& factory);
}  // namespace Map
