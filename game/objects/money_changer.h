// Map::cMoneyChanger: a merchant who gives a resource for a payment the workers bring from home.
#pragma once
#include <cstdint>
#include <string>

#include "game/objects/subject_object.h"

namespace Map {

class cMoneyChanger : public cSubjectObject {
 public:
  bool NeedsCarriedItem() const override { return true; }
  bool IsExchangeHint() const override { return true; }
  bool HasOperationOffer() const override { return true; }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  void ResolveParent(const cMap& map) override;
  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void SaveChildScript(std::string& out) const override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // Whether a trade can happen on this level at all: the resource it gives and every resource it
  // asks for are enabled.
  bool TradeAllowed() const;

  int32_t resource = kNoResource;
  int32_t amount = 0;
  uint8_t isOnlyOneExchange = 0;
  WorkTimer idleTimer;
  int32_t idleFactor = 0;  // k: slot 0 plays k periods before another idle animation

 private:
  void BeginWork();
  bool m_workBegun = false;
};
}  // namespace Map
