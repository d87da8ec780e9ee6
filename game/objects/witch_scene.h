// The witch scenes: short scripted appearances when a level starts (the witch laughs, casts, throws
// a fireball at an object and wakes the level's evil), and the flying witch of a lost level. Each
// scene steps through stages on one timer and names its targets by tag with event 134.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "anim/anim_sound_track.h"
#include "anim/period_timer.h"
#include "game/core/map_object.h"

namespace FxManager {
class cSimplePyro;
class cBezierPyro;
}  // namespace FxManager

namespace Map {
class cObjectFactory;

// What every scene shares: the stage timer, its effects and sound track, and the targets it names.
class cWitchScene : public cObject {
 public:
  static constexpr const char* kSoundFile = "data/flyingwitch/sounds.ini";
  // A stage that waits for an animation the catalogue lacks still lasts this long, so a scene
  // without its pictures keeps its timing and reaches its end.
  static constexpr int32_t kFallbackPeriodMs = 1000;

  cWitchScene();
  ~cWitchScene() override;

  bool UpdateTimers(int32_t ms) override;  // steps the scene
  void Draw(const DrawContext& dc) override;
  void ApplyRecord(const MapObjectRecord& record) override;

  // One step of the scene: its timers, stage ends, effects and sound track.
  void Step(int32_t ms);
  int32_t Stage() const { return stage; }
  const PeriodTimer& StageTimer() const { return stageTimer; }
  FxManager::cSimplePyro* Effect(size_t i) const { return i < effects.size() ? effects[i].get() : nullptr; }
  size_t EffectCount() const { return effects.size(); }

  Core::cObjectSoundTrack sounds;

 protected:
  // The stage timer ran out while in `stage`.
  virtual void OnStageEnd() = 0;
  // Other timers of the scene, advanced after the stage timer.
  virtual void UpdateSceneTimers(int32_t) {}

  // The animations the scene shows, slot 0 first; a slot the map names keeps the map's animation.
  void SetLooks(std::initializer_list<const char*> names);
  // Appends a catalogue effect (a path-flying one when `flying`); its index.
  size_t AddEffect(std::string_view name, bool flying = false);
  FxManager::cBezierPyro* Flying(size_t i) const;
  void StartEffectAt(size_t i, float px, float py);
  void StopEffect(size_t i);

  void GoTo(int32_t nextStage, int32_t timerMs);
  void PlaySlot(int slot);
  // The slot's animation period, or kFallbackPeriodMs without an animation.
  int32_t SlotPeriod(int slot) const;
  void Cue(int slot) { sounds.StartSlot(slot, int32_t(x), 0); }
  void LoadTrack(const char* section) { sounds.Load(kSoundFile, section); }

  // The object with the tag on the running level; null, with one gerr.log line naming the tag and
  // the scene, when there is none.
  cObject* FindTarget(std::string_view targetTag) const;
  // Posts event 134 for the tag when an object carries it; false (nothing posted) otherwise.
  bool NameTarget(std::string_view targetTag);

  int32_t stage = 0;
  PeriodTimer stageTimer{0, PeriodTimer::kStopped};
  std::vector<std::unique_ptr<FxManager::cSimplePyro>> effects;

 private:
  std::vector<std::string> m_looks;
};

// The reference scene: the witch appears, laughs, casts a fireball at the object tagged "Totem11"
// and, before she leaves, wakes the evil smoke tagged "EvilSmoke1".
class cWitch_1lvl : public cWitchScene {
 public:
  enum Fx : size_t { kAppear = 0, kProjectile = 1 };
  static constexpr int32_t kStartMs = 400, kLaunchMs = 1000, kFlightMs = 2000, kFarewellMs = 2000;

  cWitch_1lvl();
  void ResolveParent(const cMap& map) override;

  const char* HitTag() const { return m_hitTag; }
  const char* FinaleTag() const { return m_finaleTag; }
  bool HasTarget() const { return m_hasTarget; }

 protected:
  // The names a variant of the scene uses instead of the first level's.
  struct Script {
    const char* track;
    const char* appear;
    const char* projectile;
    const char* hitTag;
    const char* finaleTag;
  };
  explicit cWitch_1lvl(const Script& s);
  void OnStageEnd() override;
  void UpdateSceneTimers(int32_t ms) override;
  // The projectile reached its target (after event 134 went to it).
  virtual void OnHit() {}

 private:
  const char* m_track;
  const char* m_hitTag;
  const char* m_finaleTag;
  bool m_hasTarget = false;
  PeriodTimer m_launch{0, PeriodTimer::kStopped};
  PeriodTimer m_flight{0, PeriodTimer::kStopped};
};

// The same scene with an ice ball at the heart tagged "IceHeart1"; its hit posts event 96.
class cWitch_33lvl : public cWitch_1lvl {
 public:
  cWitch_33lvl();

 protected:
  void OnHit() override;
};

// The witch flies in over the fires and lights them in two volleys of fireballs: "Fire3", "Fire4",
// "Fire5" and "Fire8" toward (590, 639), then "Fire1", "Fire2", "Fire6" and "Fire7" toward
// (688, 534); she laughs and leaves.
class cWitch_8lvl : public cWitchScene {
 public:
  enum Fx : size_t { kAreaSpell = 0, kAirTrail = 1, kVolley = 2 };
  static constexpr int32_t kStartMs = 400, kFlightMs = 2000, kFarewellMs = 2000;
  static constexpr int kVolleys = 2;

  cWitch_8lvl();
  void ResolveParent(const cMap& map) override;
  bool VolleyFlying() const { return m_volleyFlying; }

 protected:
  void OnStageEnd() override;
  void UpdateSceneTimers(int32_t ms) override;

 private:
  void Throw(int volley);
  PeriodTimer m_flight{0, PeriodTimer::kStopped};
  int m_volley = -1;
  bool m_volleyFlying = false;
};

// The snow witch: whenever a creature obstacle gives way (event 99) she sends a snowslip down on
// its place and tells the view (event 56).
class cWitch_37lvl : public cWitchScene {
 public:
  enum Fx : size_t { kSnowslip = 0 };
  static constexpr int32_t kSlipMs = 3000;

  cWitch_37lvl();
  void ResolveParent(const cMap& map) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& e) override;

 protected:
  void OnStageEnd() override;
};

// The witch that crosses the map when a level is lost: from (firstX, firstY) to (secondX, secondY)
// in "flyperiod" ms, trailing her effect, then gone.
class cFlyingWitch : public cWitchScene {
 public:
  static constexpr int32_t kDefaultFlyMs = 4000;

  cFlyingWitch();
  void ResolveParent(const cMap& map) override;
  // She flies while the lost level finishes, when the map steps only its animations: the scene
  // steps with them instead of with the timers.
  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  int32_t flyPeriod = 0;
  IntPoint first, second;
  std::string effectName;

 protected:
  void OnStageEnd() override;
  void UpdateSceneTimers(int32_t ms) override;
};

void witchRegisterClasses(cObjectFactory& factory);
}  // namespace Map
