// Map::cSubjectObject: the base of every map object persons work on (buildings, obstacles, bridges,
// bonus places, collectibles, quest characters). It owns the offer side of the work protocol: which
// operation it offers, what it costs and yields, how many persons of which kind it needs, how long
// the work takes, what the player is told on a refusal, and what happens as persons arrive, work and
// leave. The operations queue and the workers controller choose and send the persons.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/core/map_object.h"

namespace FxManager {
class cSimplePyro;
}

namespace Game {
// Resumes a subject's work after one part of a divided operation.
class IPersonOperationSubject {
 public:
  virtual ~IPersonOperationSubject() = default;
  virtual void ContinueOperation() = 0;
};
}  // namespace Game

namespace Map {
class cPerson;

// Worker, Food, Ore, Gold; index 4 means no resource.
using ResourceVector = std::array<int32_t, 4>;
constexpr int32_t kNoResource = 4;

enum class OperationKind : int32_t {
  None = 0, GetResource = 1, Repair = 2, PutOutFire = 3, Upgrade = 4, Upgrade2 = 5, Build = 6, Warm = 7
};
constexpr int kOperationKinds = 8;
// The duration key of a kind ("Person_Build_Time"); cost keys append "_Food", "_Ore", "_Gold".
// Null above 7.
const char* operationDurationKey(int32_t kind);

enum class OperationState : int32_t {
  Idle = 0, Held = 1, Ordered = 2, Gathering = 3, Started = 4, Working = 5, Finished = 6
};

// Told when one part of a divided operation is done.
class ISubjectPartListener {
 public:
  virtual ~ISubjectPartListener() = default;
  virtual void OnPartDone(int32_t partIndex, int32_t firstPersonId) = 0;
};

// A countdown in milliseconds that can be paused.
struct WorkTimer {
  int32_t remaining = 0;
  int32_t total = 0;
  bool running = false;
  void Start(int32_t ms) { remaining = total = ms; running = true; }
  void Stop() { running = false; }
  // True at the advance that runs it out (it stops then).
  bool Advance(int32_t ms);
  // 0 at the start, 1 when run out.
  float Progress() const { return total > 0 ? 1.0f - float(remaining) / float(total) : 1.0f; }
};

// The one operation a subject has at a time.
struct cSubjectOperation {
  ISubjectPartListener* partListener = nullptr;
  int32_t subjectId = kNoId;
  int32_t fixedPersonId = kNoId;
  OperationState state = OperationState::Idle;
  WorkTimer workTimer;
  WorkTimer partTimer;
  std::vector<int32_t> persons;
  uint8_t sendHomeAfterWork = 0;
  uint8_t keepPersons = 0;
  uint8_t cheerOnEnd = 0;
  uint8_t arrivalFlag = 0;
  int32_t personsNeeded = 1;
  int32_t personsArrived = 0;
  OperationKind kind = OperationKind::None;
  int32_t duration = 2000;
  int32_t partsDone = 0, partsTotal = 0;
  int32_t workDirection = 8;  // 8: facing the subject
  IntPoint workPoint{-1, -1};  // (-1, -1): where the persons arrive
  int32_t walkVisibleState = 2, workVisibleState = 8, homeVisibleState = 2;
  ResourceVector paid{};
  int32_t cheerTime = 3000;
};

class cSubjectObject : public cObject, public Game::IPersonOperationSubject {
 public:
  static constexpr int32_t kDefaultDurationMs = 5000;  // until loaded
  static constexpr int32_t kShortDurationMs = 2000;    // a loaded duration of 0 or less
  static constexpr int32_t kNoSignFadeMs = 400;
  static constexpr int32_t kRefusalWindowMs = 1500;
  static constexpr int32_t kFadeOutMs = 500;

  cSubjectObject();
  ~cSubjectObject() override;

  // ---- Game::IPersonOperationSubject ---------------------------------------------------------
  void ContinueOperation() override;

  // ---- Operations this class adds, in slot order ---------------------------------------------
  virtual bool NeedsCarriedItem() const { return false; }
  virtual int GetHintStyle() const { return 0; }
  virtual bool ShowsYieldRows() const { return true; }
  virtual bool IsExchangeHint() const { return false; }
  virtual void GetHintProgress(bool& show, float& fraction, bool& remainder) const;
  virtual void SetSelected(bool on) { selected = on ? 1 : 0; }
  virtual bool HasOperationOffer() const { return false; }
  // Fills what the offer gives now, costs and gives after it; true when the player can afford it.
  virtual bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const;
  virtual void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const;
  virtual bool ChargesResources() const { return true; }
  virtual bool UsesOwnPersonCheck() const { return false; }
  virtual bool HasEnoughPersons(bool includeBusy) const;
  virtual bool HasPathForPersons(int32_t a = 0, int32_t b = 0) const;
  virtual bool IsUnaffordable() const;
  virtual std::string GetStateCaption() const { return {}; }
  virtual std::string GetStatusText() const;
  virtual void StartWorkEffect(int which);
  virtual void StopWorkEffect(int which);
  virtual void RemoveFromPlay();
  virtual bool OnPersonArrived(int32_t personId);
  virtual void OnOperationFinished();
  // 0 started, 1 refused, 2 the base's "go ahead" to a subclass.
  virtual int TryStartOperation(bool byPlayer);
  virtual void OnOrderRefused();
  virtual bool StartOperation(OperationKind kind);
  virtual void OnUnchargedClick() {}

  // ---- Overrides of Map::cObject -------------------------------------------------------------
  void OnEvent(GameEvent& event) override;
  bool LoadIni(const gFileName& file, const char* section) override;
  int32_t GetOrderState() const override;
  std::u16string GetDisplayName() const override { return displayName; }
  std::string GetNameKey() const override { return nameKey; }
  int32_t GetCursor() const override { return withdrawn ? 0 : cursor; }
  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  bool Click(bool byPlayer) override;
  void RequestPersons() override;
  void CancelOperation() override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void Destroy(bool free) override;
  bool HoverEnter() override;
  void HoverLeave() override;
  // A subject fading out of play is no longer hit by the pointer either.
  bool IsWithdrawn() const override { return withdrawn != 0 || leavingPlay != 0; }
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // ---- Helpers for subclasses ----------------------------------------------------------------
  // Whether every Food, Ore and Gold cost of `kind` is covered by the stock.
  bool CanAfford(OperationKind kind) const;
  // Costs of a kind, all zero above 7.
  ResourceVector Cost(OperationKind kind) const;
  int32_t Duration(OperationKind kind) const;
  // Sends a person of the operation home or lets it stand (see the release rule); the anchor is
  // first moved by `offset`.
  void ReleasePerson(int32_t personId, IntPoint offset = {});
  // The current Yes or No sign (the No sign fading after it ended) and the two work effects,
  // drawn over the object; subjects that draw their own picture call it after it.
  void DrawSignsAndEffects(const DrawContext& dc);
  void RestartYesSign();
  void RestartNoSign();
  void StopSigns();
  // Rebuilds displayName from the translated name key (subclasses append to it).
  virtual void RebuildDisplayNameBase();
  // The operation's persons have all been asked for (the queue may let go of the order).
  bool HasRequestedAllPersons() const;
  // Shows or hides the child of that subtype, when there is one.
  void ShowChild(std::string_view subtype, bool show);
  // The persons of the operation that are still on the map.
  cPerson* OperationPerson(int32_t personId) const;
  // The persons needed now: never fewer than one.
  int32_t PersonsToRequest() const { return personsNeeded > 1 ? personsNeeded : 1; }

  // ---- Fields --------------------------------------------------------------------------------
  cSubjectOperation operation;
  int32_t durations[kOperationKinds];
  ResourceVector costs[kOperationKinds] = {};
  int32_t personVisibleState = 8;
  std::u16string displayName;
  std::string nameKey;
  uint32_t personKind = 0;  // NameHash of "workerType"; 0 means any
  std::string workerTypeText;
  int32_t personsNeeded = 1;
  uint8_t selected = 0;
  uint8_t withdrawn = 0;
  uint8_t hideHintWhileWorking = 1;
  uint8_t hintOnHover = 1;
  AnimationState yesSign, noSign;
  uint8_t signShowsYes = 0;
  WorkTimer noSignFade;
  int32_t refusalCount = 0;
  WorkTimer refusalWindow;
  std::string refusalSound;  // the entry of "data/obstacles/sounds.ini" played on a refusal
  int32_t ordersRefused = 0;
  std::unique_ptr<FxManager::cSimplePyro> workEffect0, workEffect1;
  WorkTimer fadeOut;
  uint8_t deleteOnGamePlayFinished = 0;
  int32_t cursor = 0;
  // Set once the subject started to leave play (it fades out, then the map removes it).
  uint8_t leavingPlay = 0;
  // Refusal sounds started (the sound itself may be silent without a sound system).
  int32_t refusalSoundsPlayed = 0;

  // Fills the event's object id, tag, type, subtype and anchor with this subject's.
  void FillEventAbout(GameEvent& e) const;

 private:
  // The subject's items of a record (from offset `at` of its extension) onto the fields.
  void ApplySubjectItems(const std::vector<MapExtValue>& ext, size_t at);
  void FillSubjectItems(std::vector<MapExtValue>& ext, size_t at) const;
  // Cancels a running operation with a refund of what was paid; true when there was one.
  bool CancelRunning();
  void RefundPaid();
  void PersonArrivedNow(int32_t personId);
  void UpdateOperation(int32_t ms);
  void EndWork();
  void PostSubjectEvent(Game::Event code);
  void PlayRefusalSound();

  // Persons that arrived while they were being asked for (a zero-length walk), before the
  // operation knew their ids.
  bool m_requesting = false;
  std::vector<int32_t> m_earlyArrivals;
  bool m_fadeOutDone = false;
  bool m_noSignWasRunning = false;
};
}  // namespace Map
