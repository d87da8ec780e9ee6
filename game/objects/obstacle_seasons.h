// The seasons' obstacles: the summer cage (opens for work once a totem is destroyed), the autumn
// rock (broken once, its fall frees the autumn chains), the autumn chains (persons bring what
// breaks them from home) and the snowball (rolled away in stages).
#pragma once
#include <cstdint>
#include <string>

#include "game/objects/obstacles.h"

namespace Map {

// An obstacle that stays sealed until an event elsewhere makes it ready for work, and is open for
// good once cleared.
class cSealedObstacle : public cClearableObstacle {
 public:
  enum : int32_t { kSealed = 0, kReady = 1, kOpen = 2 };
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;

  int32_t state = kSealed;

 protected:
  // `opener` makes a sealed obstacle ready; `cleared` tells the level it was cleared.
  cSealedObstacle(Game::Event opener, Game::Event cleared) : m_opener(opener), m_cleared(cleared) {}
  bool OffersWork() const override { return state == kReady; }
  void OnCleared() override;
  Game::Event ClearedEvent() const override { return m_cleared; }

 private:
  Game::Event m_opener, m_cleared;
};

class cSummerCage : public cSealedObstacle {
 public:
  cSummerCage();
};

class cAutumnChains : public cSealedObstacle {
 public:
  cAutumnChains();
  bool NeedsCarriedItem() const override { return true; }

 protected:
  void OnCleared() override;  // the girl the chains held appears
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
