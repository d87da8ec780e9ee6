// The winter ice, broken in two stages before the girl inside can be given a heart, and the witch
// of the forty-seventh level, driven off by two persons one after the other.
#pragma once
#include <cstdint>
#include <memory>

#include "anim/anim_sound_track.h"
#include "game/objects/subject_object.h"

namespace Map {

class cWinterIce : public cSubjectObject {
 public:
  // Frozen whole, first crack settling, cracked, girl appearing, waiting for a heart, uncharmed.
  enum : int32_t { kWhole = 0, kCracking = 1, kCracked = 2, kOpening = 3, kWaiting = 4, kUncharmed = 5 };
  // How long a break settles before the ice takes its next order.
  static constexpr int32_t kSettleMs = 1000;

  cWinterIce();
  ~cWinterIce() override;
  bool HasOperationOffer() const override { return state == kWhole || state == kCracked || state == kWaiting; }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  bool NeedsCarriedItem() const override { return state == kWaiting; }
  // The last order needs a heart brought home besides a free person.
  bool UsesOwnPersonCheck() const override { return state == kWaiting; }
  bool HasEnoughPersons(bool includeBusy) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;
  void FillRecord(MapObjectRecord& record) const override;
  void SaveChildScript(std::string& out) const override;

  // The operation the current state offers.
  OperationKind OfferedKind() const { return state == kWaiting ? OperationKind::GetResource : OperationKind::Repair; }

  int32_t state = kWhole;
  int32_t heartsAtHome = 0;  // hearts persons brought home and not yet given to the girl
  WorkTimer settle;
  std::unique_ptr<FxManager::cSimplePyro> sparkles;  // shown while the ice stands whole
  Core::cObjectSoundTrack uncharmedSound;

 private:
  void ShowStatePicture();
};

class cWitch_47lvl : public cSubjectObject {
 public:
  cWitch_47lvl();
  ~cWitch_47lvl() override;
  // Before the first order, and again should the second person's order be called off.
  bool HasOperationOffer() const override {
    return round < 2 && !m_secondPending && operation.state == OperationState::Idle;
  }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool UpdateTimers(int32_t ms) override;
  void ResolveParent(const cMap& map) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;
  void SaveChildScript(std::string& out) const override;

  int32_t targetX = 0, targetY = 0;
  // 0: waiting for the player's order; 1: the first person fought, the second is on the way;
  // 2: driven off.
  int32_t round = 0;
  // The first person's finished record, kept while the second person's operation runs.
  cSubjectOperation second;
  Core::cObjectSoundTrack sounds;

 private:
  bool m_secondPending = false;
};
}  // namespace Map
