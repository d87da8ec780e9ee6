// Hearts to free and carry home: one that bats carry from spot to spot, one in a magic cage that
// breaks when the evil stones are gone, one frozen in ice by a witch, and one that leaps out of
// the fog once its place is clear.
#pragma once
#include <cstdint>
#include <string>

#include "anim/anim_sound_track.h"
#include "game/objects/quest_heart_common.h"
#include "game/objects/quest_subject.h"

namespace Map {

class cBatHeart : public cQuestSubject {
 public:
  enum : int32_t { kLying = 0, kTakingOff = 1, kFlying = 2, kLanding = 3 };
  static constexpr int32_t kMaxStages = 4;
  static constexpr int32_t kTakeOffMs = 500;
  static constexpr int32_t kFlightMs = 3000;
  static constexpr int32_t kFadeMs = 300;
  static constexpr float kArcHeight = 100.0f;  // the flight's control point above the midpoint

  cBatHeart();
  ~cBatHeart() override;

  bool HasOperationOffer() const override { return true; }
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  bool UpdateTimers(int32_t ms) override;
  void DrawDebug(const DrawContext& dc) override;
  void EditSupportPoint(IntPoint p, int key) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  bool FlightsRemain() const { return flightsDone < stagesMax; }

  int32_t stage = kLying;
  int32_t flightsDone = 0;
  int32_t stagesMax = 1;
  IntPoint targets[kMaxStages];
  QuestPoint flightStart;
  WorkTimer stageTimer;

 private:
  void MakeEffects();
};

class cCageHeart : public cQuestSubject {
 public:
  static constexpr int32_t kSparkleMs = 2000;
  static constexpr int32_t kTakeMs = 300;
  static constexpr int32_t kStonesToWithdraw = 2;

  cCageHeart();
  ~cCageHeart() override;

  bool HasOperationOffer() const override { return true; }
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;
  void ApplyRecord(const MapObjectRecord& record) override;

  int32_t stage = 0;  // 0 to 6
  WorkTimer stageTimer;
  int32_t stoneClicks = 0;
  int32_t sparkleId = kNoId;  // the sparkle in flight, a map effect
  QuestPoint sparkleStart;

 private:
  void LaunchSparkle(QuestPoint from);
  void StageEnded();
  // A stone finished while the cage was still shaking from the last one: its sparkle flies next.
  bool m_stonePending = false;
  QuestPoint m_pendingFrom;
};

class cIceHeart : public cQuestSubject {
 public:
  static constexpr int32_t kBlowMs = 350;
  static constexpr int32_t kTakeWaitMs = 2400;
  static constexpr int32_t kFreezeFadeMs = 1000;
  static constexpr int32_t kFinalFadeMs = 1000;
  static constexpr int32_t kTakeMs = 200;

  cIceHeart();
  ~cIceHeart() override;

  bool HasOperationOffer() const override { return frozen != 0; }
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
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

  uint8_t frozen = 1;
  uint8_t fading = 0;
  uint8_t freezeFading = 1;
  // The heart is being taken (the order after the thaw).
  uint8_t taking = 0;
  // The ice burst open (the heart no longer blocks the way).
  uint8_t iceBroken = 0;
  WorkTimer blow, take, freezeFade, finalFade;
  std::string soundKey;
  Core::cObjectSoundTrack sounds;

 private:
  void BreakIce();
};

// Whether the fog covers a map point; the jumping heart waits while it does. The running level's
// fog answers unless a test puts its own answer in place (null: the level's fog again).
using HeartFogQuery = bool (*)(int32_t x, int32_t y);
void heartSetFogQuery(HeartFogQuery query);
bool heartFogCovers(int32_t x, int32_t y);

class cJumpingHeart : public cQuestSubject {
 public:
  enum : int32_t { kWaiting = 0, kAboutToJump = 1, kJumping = 2, kLying = 3 };
  static constexpr int32_t kBeforeJumpMs = 2000;
  static constexpr int32_t kJumpMs = 1000;
  static constexpr int32_t kFadeMs = 1000;

  cJumpingHeart();
  ~cJumpingHeart() override;

  bool HasOperationOffer() const override { return stage == kLying; }
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void DrawDebug(const DrawContext& dc) override;
  void EditSupportPoint(IntPoint p, int key) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  int32_t stage = kWaiting;
  WorkTimer stageTimer, fade;
  IntPoint target;
  QuestPoint jumpStart;
  uint8_t fading = 0;
};
}  // namespace Map
