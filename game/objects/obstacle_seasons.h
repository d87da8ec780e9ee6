// The seasons' obstacles: the summer cage (opens for work once a totem is destroyed), the autumn
// rock (broken once, its fall frees the autumn chains), the autumn chains (persons bring what
// breaks them from home) and the snowball (rolled away in stages).
#pragma once
#include <cstdint>
#include <string>

#include "game/objects/obstacles.h"

namespace Map {

class cSummerCage : public cClearableObstacle {
 public:
  enum : int32_t { kSealed = 0, kReady = 1, kOpen = 2 };
  cSummerCage();
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;

  int32_t state = kSealed;

 protected:
  bool OffersWork() const override { return state == kReady; }
  void OnCleared() override;
  Game::Event ClearedEvent() const override { return Game::Event::SummerCageEvent; }
};

class cAutumnChains : public cClearableObstacle {
 public:
  enum : int32_t { kSealed = 0, kReady = 1, kOpen = 2 };
  cAutumnChains();
  bool NeedsCarriedItem() const override { return true; }
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;

  int32_t state = kSealed;

 protected:
  bool OffersWork() const override { return state == kReady; }
  void OnCleared() override;
  Game::Event ClearedEvent() const override { return Game::Event::AutumnChainsEvent; }
};

class cAutumnRock : public cClearableObstacle {
 public:
  cAutumnRock();
  bool UpdateTimers(int32_t ms) override;

  uint8_t broken = 0;

 protected:
  bool OffersWork() const override { return broken == 0; }
  void OnCleared() override;
  Game::Event ClearedEvent() const override { return Game::Event::AutumnRockEvent; }
};

class cSnowball : public cSubjectObject {
 public:
  bool HasOperationOffer() const override { return stage < StagesTotal(); }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  void OnOperationFinished() override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;
  void SaveChildScript(std::string& out) const override;

  // At least one stage, whatever "stagesMax" says.
  int32_t StagesTotal() const { return stagesMax > 0 ? stagesMax : 1; }

  int32_t stagesMax = 0;
  std::string target;
  int32_t underlayX = 0, underlayY = 0;
  int32_t stage = 0;
};
}  // namespace Map
