// Map::cBuildingGenerator and its three kinds: a building that adds a resource to the player's stock
// on every minute tick of the level, the amount set by its upgrade level (doubled while the
// generator bonus runs), and keeps the level's production figure in step with what it makes.
#pragma once
#include <cstdint>
#include <memory>

#include "anim/anim_script.h"
#include "game/objects/building.h"

namespace Map {
class cBuildingGenerator : public cBuilding {
 public:
  static constexpr int kLevels = 4;
  static constexpr const char* kBonusEffect = "Bonus2X";

  cBuildingGenerator();
  ~cBuildingGenerator() override;

  // ---- Operations this class adds, in slot order ---------------------------------------------
  // Starts the work animations of the current level; nothing in the base.
  virtual void StartProduction() {}
  // One minute's yield into the stock (event 40); the amount made.
  virtual int32_t Produce();

  // The amount made per tick at `level`; 0 for a level outside the table.
  int32_t LevelAmount(int32_t level) const;
  // What this generator adds to the production figure of its resource right now.
  int32_t Counted() const { return m_counted; }
  // Built, or its joy after a construction or an upgrade: the states that produce.
  bool Producing() const;

  // ---- Overrides -----------------------------------------------------------------------------
  void LoadAnimations(bool resetPlayers) override;
  void OnBroken(bool flag) override;
  void OnRepaired() override;
  void OnUpgraded(bool silent) override;
  void OnBuilt(bool flag) override;
  void AfterBuildJoy(bool flag) override;
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;
  void UpdateAnimation(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // ---- Fields --------------------------------------------------------------------------------
  float multiplier = 1.0f;
  int32_t resource = kNoResource;
  int32_t amount = 0;
  int32_t levelAmounts[kLevels] = {};
  Core::cAnimScript extraPlayers[2];
  std::unique_ptr<FxManager::cSimplePyro> bonusEffect;

 protected:
  // Shows the level players reached so far (WorkerOperation2 from level 1, 3 from level 2).
  void ShowLevelPlayers();

 private:
  // Moves this generator's share of the production figure to `value`, so that every path into a
  // producing state (load, build, repair, upgrade) counts it exactly once and a break takes it away.
  void SetCounted(int32_t value);
  void TakeUpProduction();

  int32_t m_counted = 0;
};

class cOreGenerator : public cBuildingGenerator {
 public:
  static constexpr const char* kSmoke = "OreGeneratorSmoke";
  void StartProduction() override;
  void SetState(BuildingState newState, bool flag) override;
};

class cGoldGenerator : public cBuildingGenerator {
 public:
  // How often the top level's work animation is played again.
  static constexpr int32_t kReplayMs = 4000;
  void StartProduction() override;
  void UpdateAnimation(int32_t ms) override;

 private:
  int32_t m_replayLeft = 0;
};

// Three channels (one per level reached) each alternate an idle look for a random time with one of
// two actions; a fourth shows the visitor now and then. Every draw goes through the logged random
// numbers, and only for looks the script has.
class cFoodGenerator : public cBuildingGenerator {
 public:
  static constexpr int kChannels = 3;
  static constexpr int32_t kIdleMaxMs = 10000;

  struct Channel {
    Core::cAnimScript player;
    bool running = false;
    bool acting = false;  // the action (or, for the visitor, shown)
    int32_t left = 0;     // ms until the next change
  };

  void LoadAnimations(bool resetPlayers) override;
  void StartProduction() override;
  bool UpdateTimers(int32_t ms) override;
  void UpdateAnimation(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  // Channels 0 to 2, and kChannels for the visitor.
  const Channel& ChannelAt(int i) const {
    return i == kChannels ? m_visitor : m_channels[i < 0 || i >= kChannels ? 0 : i];
  }

 private:
  void StepChannel(int n, int32_t ms);
  void StepVisitor(int32_t ms);
  Channel m_channels[kChannels];
  Channel m_visitor;
};
}  // namespace Map
