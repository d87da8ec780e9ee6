// The key quest: caves searched for the key (one of them holds it), and the chest that the key
// opens to free a heart. A cave is worked twice, searched (Repair) and then fetched from
// (GetResource); the chest is opened with the key delivered home and its heart taken.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "anim/anim_sound_track.h"
#include "game/objects/quest_subject.h"

namespace Map {

// Whether the cave searched now holds the key. `searchedBefore` caves of the level were searched
// before it, `keyFound` says whether one of them held it, `lastCave` whether no other cave of the
// level is left unsearched. The second cave searched asks `draw` for a logged 15-bit value and
// holds the key at 28509 or more; the third holds it when nobody found it; and the last cave of
// the level always holds it when no earlier one did, so every cave quest can be finished.
bool caveHoldsKey(int32_t searchedBefore, bool keyFound, bool lastCave, const std::function<int32_t()>& draw);
constexpr int32_t kCaveKeyDrawMin = 28509;

class cCaveWithKey : public cQuestSubject {
 public:
  static constexpr int32_t kSearchMs = 4350;      // until the search shows what it found
  static constexpr int32_t kFadeMs = 400;         // the closed cave fading into the open one
  static constexpr int32_t kFlashBeforeEndMs = 800;

  cCaveWithKey();
  ~cCaveWithKey() override;

  bool HasOperationOffer() const override { return true; }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void EditSupportPoint(IntPoint p, int key) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // The caves searched on the running level and whether the key was found (shared by its caves).
  static int32_t LevelSearched();
  static bool LevelKeyFound();

  uint8_t searched = 0;
  uint8_t hasKey = 0;
  WorkTimer search, fade, flash;
  int32_t flashX = 0, flashY = 0;  // where "GateGlow" stands (the anchor when either was 0)
  std::string effect;              // shown when the search has run kSearchMs
  Core::cObjectSoundTrack sounds;

 private:
  void SearchDone();
  void StartGlow();
  void PlaceGlow();
  // The fetch, with the visible states and home rule the search's result gives.
  void PrepareFetch();
};

class cChestHeart : public cQuestSubject {
 public:
  static constexpr int32_t kOpenRestMs = 1200;  // the open chest rests before the heart is taken
  static constexpr int32_t kTakeMs = 200;
  static constexpr int32_t kFadeMs = 200;
  static constexpr int32_t kHeartGlowMs = 3500;

  cChestHeart();
  ~cChestHeart() override;

  bool HasOperationOffer() const override { return closed != 0; }
  // The worker's texts whatever kind of person the chest wants.
  std::string GetStatusText() const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool StartOperation(OperationKind kind) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  uint8_t closed = 1;
  uint8_t keyDelivered = 0;
  uint8_t fading = 0;
  // The heart is being taken (the order after the opening): only its end frees the heart.
  uint8_t picking = 0;
  WorkTimer opening, fade;
  std::string soundKey;
  Core::cObjectSoundTrack sounds;

 private:
  bool m_restDone = false;
};
}  // namespace Map
