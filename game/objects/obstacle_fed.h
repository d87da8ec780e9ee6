// Creatures that stand in the way until persons bring them food from home: the troll and the white
// wolf. Fed (one Repair paid with its food costs), the creature leaves the way free; the white
// wolf first runs off to its target.
#pragma once
#include <cstdint>
#include <string>

#include "game/objects/subject_object.h"

namespace Map {

class cFedCreature : public cSubjectObject {
 public:
  bool NeedsCarriedItem() const override { return true; }
  bool HasOperationOffer() const override { return !fed; }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool UpdateTimers(int32_t ms) override;
  void FillRecord(MapObjectRecord& record) const override;
  void SaveChildScript(std::string& out) const override;

  uint8_t fed = 0;

 protected:
  struct Manner {
    int32_t walk, work, home;
    bool sendHome;
    Game::Event done;
    const char* workEffect;  // started at the creature while it eats; may be null
  };
  virtual Manner Feeding() const = 0;
  // Fed: the way is free; by default the creature fades out of play at once.
  virtual void OnFed();

 private:
  void BeginWork();
  bool m_workBegun = false;
};

class cTroll : public cFedCreature {
 protected:
  Manner Feeding() const override { return {3, 16, 1, false, Game::Event::TrollEvent, "TrollSmoke"}; }
};

class cWhiteWolf : public cFedCreature {
 public:
  static constexpr float kRunSpeed = 0.3f;  // pixels per millisecond
  static constexpr int kItems = 11;

  bool UpdateTimers(int32_t ms) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  bool Running() const { return running != 0; }

  // The keys in their order: targetX, targetY, wolfSupportX, wolfSupportY, obstacleSizeX,
  // obstacleSizeY, obstacleDeltaX, obstacleDeltaY, flipX, idlePeriodMin, idlePeriodMax.
  int32_t items[kItems] = {};
  uint8_t running = 0;

 protected:
  Manner Feeding() const override { return {3, 8, 2, true, Game::Event::CreatureObstacleEvent, nullptr}; }
  void OnFed() override;
};
}  // namespace Map
