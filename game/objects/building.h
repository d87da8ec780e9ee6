// Map::cBuilding: a building on the level's map. It is built on its place, upgraded level by level,
// can be broken and is then repaired; it shows its state by animations, a bottom-up work wipe, an
// upgrade pulse and child icons, and tells the rest of the game through events.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "anim/anim_script.h"
#include "anim/anim_sound_track.h"
#include "anim/period_timer.h"
#include "game/objects/subject_object.h"

namespace Map {
class cObjectFactory;

enum class BuildingState : int32_t {
  Built = 0,
  NotBuilt = 1,
  UnderConstruction = 2,
  Upgrading = 3,
  Broken = 4,
  Repairing = 5,
  UpgradeDone = 10,
  BuildDone = 11
};
// A level file may hold 14 for a standing building.
constexpr int32_t kLegacyBuiltState = 14;
// True for the values a building state can take.
bool buildingStateValid(int32_t value);

// The upgrade pulse: a phase running from kStart at kRate radians per millisecond, restarting
// every 600 ms; the picture is scaled by max(1, kAmplitude x sin(phase)).
struct UpgradePulse {
  static constexpr float kStart = -1.0471966f;
  static constexpr float kEnd = 5.2359834f;
  static constexpr float kRate = 0.010471967f;
  static constexpr float kAmplitude = 1.05f;
  static constexpr int32_t kPeriodMs = 600;

  float phase = kStart;
  PeriodTimer timer{kPeriodMs, PeriodTimer::kStopped};

  void Restart();
  void Advance(int32_t ms);
  float Scale() const;
};

// The two pieces of the work wipe: the top (1 - p) of the "before" picture and the bottom p of the
// finished one, both centred on the anchor. Source rows count from the top of each picture.
struct WipePiece {
  float x = 0, y = 0, w = 0, h = 0;  // on the map
  float srcY = 0, srcH = 0;          // rows of the picture
};
struct WipeLayout {
  WipePiece before, after;
};
// p is clamped to 0..1; sizes are the frame sizes of the two pictures.
WipeLayout buildingWipeLayout(float anchorX, float anchorY, float p, int beforeW, int beforeH, int afterW, int afterH);

class cBuilding : public cSubjectObject {
 public:
  enum Player { kIdle = 0, kWorkerOperation, kWorkerOperation2, kWorkerOperation3, kWorkerJoy, kPlayerCount };
  static const char* const kPlayerNames[kPlayerCount];
  static constexpr const char* kDefinitions = "data/buildings/buildings.ini";
  static constexpr const char* kSounds = "data/buildings/sounds.ini";
  static constexpr const char* kIcons = "data/buildings/icons.ini";
  static constexpr int32_t kJoyMs = 2000;
  // Object animation slots: the finished look (slot n holds the look of level n when set), the
  // broken look, the site, and the picture a construction wipes from (the site when unset).
  static constexpr int kSlotBuilt = 0;
  static constexpr int kSlotBroken = 6;
  static constexpr int kSlotSite = 7;
  static constexpr int kSlotConstruction = 8;

  cBuilding();
  ~cBuilding() override;

  // ---- Operations this class adds, in slot order ---------------------------------------------
  virtual void LoadAnimations(bool resetPlayers);
  // One rule everywhere: Built, below "upgradeLevelMax", which is above 0; with checkCost also the
  // next upgrade is affordable.
  virtual bool CanUpgrade(bool checkCost) const;
  virtual bool CanBreak() const;
  virtual int32_t GetUpgradeGain(int32_t level) const;
  virtual int32_t GetUpgradeGainResource() const { return kNoResource; }
  virtual bool IsIdleAfterJoy() const;
  virtual void Cheer(int32_t duration, bool silent);
  virtual void StopWorkAnimation();
  virtual void SetState(BuildingState newState, bool flag);
  virtual void HideHints();
  virtual void OnBroken(bool flag);
  virtual void OnRepaired();
  virtual void EmptyHook() {}
  virtual void OnUpgradeStarted() {}
  virtual void OnUpgraded(bool silent);
  virtual void OnUpgradeDone() {}
  virtual void OnBuilt(bool flag);
  virtual void AfterBuildJoy(bool) {}
  virtual void RebuildDisplayName();
  virtual void RefreshOfferIcons();

  // ---- Overrides of the subject ----------------------------------------------------------------
  bool HasOperationOffer() const override;
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  std::string GetStateCaption() const override;
  std::string GetStatusText() const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  void OnOrderRefused() override;

  // ---- Overrides of Map::cObject -------------------------------------------------------------
  void OnEvent(GameEvent& event) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnAdded(cMap& map) override;
  void OnMapReady() override;
  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  bool HoverEnter() override;
  void HoverLeave() override;
  void CancelOperation() override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // ---- The rest of the building's interface --------------------------------------------------
  // The upgrade tablet's click (and the upgrade step of a player's click): starts the next upgrade,
  // or refuses it with event 104 (not affordable) or 102 (no person can reach the building).
  bool ClickUpgradeTablet();
  BuildingState State() const { return static_cast<BuildingState>(state); }
  // The next upgrade's kind: Upgrade from level 0, Upgrade2 above.
  OperationKind NextUpgradeKind() const { return upgradeLevel == 0 ? OperationKind::Upgrade : OperationKind::Upgrade2; }
  // The translated text shown when the next upgrade cannot be afforded.
  std::u16string UpgradeRefusalText() const;
  // The object animation slot of the finished look at the current level.
  int LookSlot() const;
  bool JoyFinished() const { return m_joyLeft <= 0; }
  const Core::cAnimScript& PlayerAt(int i) const { return players[i < 0 || i >= kPlayerCount ? 0 : i]; }
  // The state entered at load time still waits for the map to be ready.
  bool EntryPending() const { return m_entryPending; }

  // ---- Fields --------------------------------------------------------------------------------
  int32_t state = 0;
  int32_t upgradeLevel = 0;
  int32_t upgradeLevelMax = 0;
  uint8_t canBreak = 0;
  IntPoint upgradeTabletOffset;
  UpgradePulse pulse;
  Core::cAnimScript players[kPlayerCount];
  uint8_t joyStarted = 0;
  uint8_t joySilent = 0;
  Core::cObjectSoundTrack workSound;
  std::string animScript;  // the script named by "data/buildings/buildings.ini"

 protected:
  cMap* LevelMap() const;
  // The child's visibility, when the building has such a child.
  void SetChildShown(const char* subtype, bool show);
  // "brokenicon" only while NotBuilt or Broken, "upgradeicon" only while Built with a level left.
  void ApplyIconVisibility();
  void SoundTrumpets();
  void Post(GameEvent& e) const;
  void PostAbout(GameEvent& e) const;  // fills id, tag, type, subtype and the anchor first
  // Starts one of the building's own operations the way a player's order does.
  bool StartWork(OperationKind kind);
  // The upgrade step of an order, given the subject's answer; true when the upgrade started.
  bool TryUpgrade(int answer);
  void PlayWorkSound(int32_t cycleMs);
  // The state change due when the persons have all arrived.
  void ApplyArrival();
  // Silent entry of the loaded state (after the map and the children are in place).
  void EnterLoadedState();
  void DrawPlayers(float x, float y, bool front, bool broken) const;
  uint32_t FadeAlpha(const DrawContext& dc) const;

 private:
  cMap* m_map = nullptr;
  bool m_entryPending = false;
  int32_t m_joyLeft = 0;  // ms of the joy still to play
  int32_t m_trumpetsLeft = 0;  // ms the trumpets still sound after a finished work
  std::unique_ptr<FxManager::cSimplePyro> m_joyEffect;
  // Record items of a derived family (barn, generator, ...) this class keeps for saving.
  std::vector<MapExtValue> m_familyItems;
};

// Makes the factory build cBuilding for the families "building", "barn" and the generators until
// their own classes exist.
void buildingRegisterClasses(cObjectFactory& factory);
}  // namespace Map
