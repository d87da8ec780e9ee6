// Obstacles persons clear with one Repair order: stones and springs, dry trees and totems. A
// stone or a tree leaves the map when cleared (its cells free again); a totem breaks and can be
// made whole again by the witch's cue.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "game/objects/object_level.h"
#include "game/objects/subject_object.h"

namespace Map {

// The shared Repair protocol: the order, the dust while the persons work and event 49, event 27
// when done. Members say what "done" does to them.
class cClearableObstacle : public cSubjectObject {
 public:
  bool HasOperationOffer() const override { return OffersWork(); }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  std::string GetStatusText() const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool UpdateTimers(int32_t ms) override;
  void SaveChildScript(std::string& out) const override;
  void FillRecord(MapObjectRecord& record) const override;

 protected:
  // Whether an order is taken now.
  virtual bool OffersWork() const = 0;
  virtual void OnCleared() = 0;
  // The event that tells the level the obstacle is cleared.
  virtual Game::Event ClearedEvent() const { return Game::Event::OperationFinished; }
  int32_t walkVisible = 2;
  int32_t workVisible = -1;  // -1: the subject's personVisibleState
  int32_t homeVisible = 2;

 public:
  cObstacleWorkSound workSound;

 private:
  void BeginWork();
  bool m_workBegun = false;
};

class cStoneAndSpring : public cClearableObstacle {
 public:
  cStoneAndSpring();
  ~cStoneAndSpring() override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  uint8_t broken = 0;
  std::string effectName;
  std::unique_ptr<FxManager::cSimplePyro> brokenEffect;  // shown while the stone stands

 protected:
  bool OffersWork() const override { return broken != 0; }
  void OnCleared() override;
};

class cDryTree : public cClearableObstacle {
 public:
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  std::string branches;  // the branch layout's section of "data/maps/tiles/drytree/branches.ini"
  uint8_t fallen = 0;

 protected:
  bool OffersWork() const override { return fallen == 0; }
  void OnCleared() override;
};

class cTotem : public cClearableObstacle {
 public:
  enum : int32_t { kWhole = 0, kDestroyed = 2 };
  cTotem();
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  int32_t state = kWhole;
  int32_t wells = 0;
  int32_t animFrameShift = 0;
  int32_t flipX = 0;
  uint8_t blocksWhenWhole = 0;  // loaded as an obstacle: it blocks again once restored

 protected:
  bool OffersWork() const override { return state == kWhole; }
  void OnCleared() override;

 private:
  void Restore();
};
}  // namespace Map
