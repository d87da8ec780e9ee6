// Pick-ups: the bonus place that produces a bonus and a new one a while after it was picked, the
// bonus persons fetch for the stock, and the obstacle creature, a bonus that blocks the way until
// a person of its kind drives it away.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "anim/anim_sound_track.h"
#include "anim/period_timer.h"
#include "game/objects/subject_object.h"

namespace Map {

class cBonusPlace : public cSubjectObject {
 public:
  static constexpr int kRespawnEffects = 5;
  static constexpr size_t kScoreBonusMax = 100;
  static constexpr const char* kDefinitions = "data/bonus/bonuses.ini";

  cBonusPlace();
  ~cBonusPlace() override;

  void GetHintProgress(bool& show, float& fraction, bool& remainder) const override;
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  void OnEvent(GameEvent& event) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void DrawDebug(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void SaveChildScript(std::string& out) const override;
  bool HoverEnter() override;
  void HoverLeave() override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // Creates the bonus of the resource (or of scoreBonus for none) on the place; its id, or -1.
  int32_t SpawnBonus(int32_t resource, int32_t amount, bool silent);
  // The bonus lying here left the map unclaimed: the place waits its period for the next one.
  void OnBonusGone(int32_t bonusId);
  bool RespawnEffectRunning(int i) const;

  std::array<std::unique_ptr<FxManager::cSimplePyro>, kRespawnEffects> respawnEffects;
  PeriodTimer respawnTimer;
  int32_t resource = kNoResource;
  int32_t amount = 0;
  AnimationState resourcePicture;
  std::string scoreBonus;
  int32_t bonusId = kNoId;
  uint8_t isOnce = 0;

 private:
  void Produce(bool silent);
  void StopRespawnEffects();
  // The first bonus comes with the first tick: the map is not to grow while it resolves parents.
  bool m_firstBonusDue = false;
};

class cBonus : public cSubjectObject {
 public:
  static constexpr int32_t kAppearMs = 1000;

  bool Click(bool byPlayer) override;
  int32_t GetOrderState() const override;
  bool HasOperationOffer() const override { return !collected; }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  bool ChargesResources() const override { return false; }
  std::string GetStatusText() const override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  int TryStartOperation(bool byPlayer) override;
  void OnUnchargedClick() override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void SaveChildScript(std::string& out) const override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // The resource persons carry home from here: none when the bonus gives none or the level
  // disabled it.
  int32_t GivenResource() const;
  // Whether a pick-up now would be refused (the stock has no room for what it gives).
  virtual bool RefusesPickUp() const;
  bool IsQuill() const;

  PeriodTimer lifeTimer;
  int32_t lifeTime = 0;
  uint8_t isSmoothAppear = 0;
  WorkTimer appear;  // the fade-in, 0 to 255 over 1000 ms
  uint8_t collected = 0;
  int32_t resource = kNoResource;
  int32_t amount = 0;
  int32_t placeId = kNoId;
  // Cues the bonus plays (a pick-up's rustle, a creature's grunt): the section of
  // "data/obstacles/sounds.ini" named by the object's name; silent when there is none.
  Core::cObjectSoundTrack sounds;

 protected:
  virtual void BeginWork();
  // Plays cue `slot` of the sound track at the bonus.
  void PlayCue(int slot);
  bool m_workBegun = false;
};

class cObstacleCreature : public cBonus {
 public:
  static constexpr int32_t kCalledAppearMs = 2000;
  static constexpr int32_t kSimpleItems = 7;

  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;
  void ResolveParent(const cMap& map) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool RefusesPickUp() const override { return false; }
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  bool Waiting() const { return waiting != 0; }

  WorkTimer appearTimer;
  int32_t periodBeforeAppear = 0;
  int32_t startOnEffect = 0;
  uint8_t waiting = 0;
  uint8_t blocks = 0;  // loaded as an obstacle: it blocks the way while it is there
  std::string deletingBonus;
  uint32_t deletingBonusHash = 0;
  // The look borrowed from the simple creature, kept for saving.
  int32_t idlePeriodMin = 0, idlePeriodMax = 0, actionPeriodMin = 0, actionPeriodMax = 0, flipX = 0;
  float creatureScale = 1.0f;
  std::string sound;

 private:
  void Appear();
};
}  // namespace Map
