// The berry quest's characters on the map: the mushrooms workers pick for the red hood, the red hood
// who waits for four of them and then makes the berry bush grow, and the bush whose berries ripen
// after the drums' rain and are carried home.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "anim/anim_sound_track.h"
#include "game/objects/quest_subject.h"
#include "game/objects/subject_object.h"

namespace Map {

// Fills "%d" in a translated pattern with n. Only the first "%d" is replaced and nothing else is
// read from the pattern, so a translation with other % signs cannot misuse the number.
std::string questFormatCount(const std::string& pattern, int n);
// The translation of a "#KEY" (the key itself when the translation lacks it).
std::string questTranslate(const char* key);

class cBerry : public cQuestSubject {
 public:
  enum State : int32_t { Waiting = 0, Appearing = 1, Present = 2, Picking = 3, Gone = 4 };
  static constexpr int32_t kGrowMs = 2000;
  static constexpr int32_t kFadeInMs = 2000;
  static constexpr int32_t kBerriesSlot = 1;

  cBerry();
  ~cBerry() override;

  bool HasOperationOffer() const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  void OnEvent(GameEvent& event) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void ResolveParent(const cMap& map) override;
  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // The bush's drawing scale while it grows (1 once grown) and the berries' alpha 0..255.
  float GrowthScale() const;
  int BerriesAlpha() const;

  int32_t bushAppear = 0;
  int32_t berriesAppear = 0;
  std::string soundKey;
  State state = Present;
  WorkTimer grow;   // the bush rising from scale 0 to 1
  WorkTimer fade;   // the berries fading in (Appearing) or out (Picking)
  bool growing = false;
  Core::cObjectSoundTrack sounds;

 private:
  void LoadLook();
};

class cMushroom : public cQuestSubject {
 public:
  static constexpr int32_t kFadeMs = 200;

  bool HasOperationOffer() const override { return !withdrawn && !picked; }
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool UpdateTimers(int32_t ms) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // The tags picking this mushroom takes out of play, from "removesTags" (names separated by
  // commas; blanks around a name are ignored). None unless the level's author names them.
  const std::vector<uint32_t>& RemovedTags() const { return m_removedTags; }
  // Reports every name of "removesTags" that no object of the level carries.
  void ResolveParent(const cMap& map) override;

  std::string soundKey;
  std::string removesTags;
  int32_t pickerId = kNoId;
  uint8_t picked = 0;
  Core::cObjectSoundTrack sounds;

 private:
  void ParseRemovedTags();
  std::vector<std::string> m_removedNames;
  std::vector<uint32_t> m_removedTags;
};

class cRedhood : public cSubjectObject {
 public:
  static constexpr int kRecords = 4;
  static constexpr int32_t kMushroomsWanted = 4;
  static constexpr int32_t kTakeMs = 1200;
  enum Slot : int { Idle = 0, Glance = 1, Thanks = 2, Talk = 3 };

  bool Click(bool) override { return false; }
  bool HasOperationOffer() const override { return false; }
  std::string GetStateCaption() const override { return statusText; }
  bool OnPersonArrived(int32_t personId) override;
  void OnEvent(GameEvent& event) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void ResolveParent(const cMap& map) override;
  bool UpdateTimers(int32_t ms) override;
  void SaveChildScript(std::string& out) const override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;

  std::array<cSubjectOperation, kRecords> records;
  int32_t delivered = 0;
  WorkTimer talk;
  std::string statusText;
  Core::cObjectSoundTrack sounds;

 private:
  void TakeMushroom(int32_t personId);
  // One step of a record: persons who left the map, Started to Working, the take's end.
  void UpdateRecord(cSubjectOperation& r, int32_t ms);
  void CancelRecord(cSubjectOperation& r);
  void Delivered();
  void RestartIdle();
  void SetNeedsText();
  // The thanks were said and the bush is to appear when the thanking ends.
  bool m_bushDue = false;
};

}  // namespace Map
