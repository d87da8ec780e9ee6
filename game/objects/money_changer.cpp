// The money changer: the exchange offer, the trade the workers carry home, and the merchant's idle
// animations.
#include "game/objects/money_changer.h"

#include <algorithm>

#include "game/core/map.h"
#include "game/core/person.h"
#include "game/core/random.h"
#include "game/objects/object_level.h"
#include "sound/sound.h"

namespace Map {
namespace {
constexpr size_t kResource = 0, kAmount = 1, kOnce = 2;
}

void cMoneyChanger::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  resource = std::clamp(extInt(r, at + kResource), 0, int32_t(kNoResource));
  amount = extInt(r, at + kAmount);
  isOnlyOneExchange = extInt(r, at + kOnce) != 0;
}

void cMoneyChanger::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = "data/bonus/icons.ini";
  const size_t at = objSubjectItems();
  setExtInt(r, at + kResource, resource);
  setExtInt(r, at + kAmount, amount);
  setExtInt(r, at + kOnce, isOnlyOneExchange);
}

void cMoneyChanger::CopyFrom(const cObject& from) {
  cSubjectObject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cMoneyChanger*>(&from)) {
    resource = o->resource;
    amount = o->amount;
    isOnlyOneExchange = o->isOnlyOneExchange;
  }
}

void cMoneyChanger::SaveChildScript(std::string& out) const { mapWriteString(out, "data/bonus/icons.ini", nullptr); }

bool cMoneyChanger::TradeAllowed() const {
  if (resource < 0 || resource >= kNoResource || !objResourceEnabled(resource)) return false;
  const ResourceVector c = Cost(OperationKind::GetResource);
  for (int i = 1; i < 4; ++i)
    if (c[size_t(i)] > 0 && !objResourceEnabled(i)) return false;
  return true;
}

bool cMoneyChanger::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)nextGains;
  if (resource >= 0 && resource < kNoResource) gains[size_t(resource)] = amount;
  const bool affordable = objCostOffer(*this, int32_t(OperationKind::GetResource), costs);
  return TradeAllowed() && affordable;
}

void cMoneyChanger::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  gainLabel.clear();
  costLabel.clear();
  nextGainLabel.clear();
}

int cMoneyChanger::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (!TradeAllowed() || !CanAfford(OperationKind::GetResource)) return 1;
  operation.sendHomeAfterWork = 1;
  operation.walkVisibleState = 3;
  operation.workVisibleState = 14;
  operation.homeVisibleState = 3;
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

bool cMoneyChanger::OnPersonArrived(int32_t personId) {
  const bool ok = cSubjectObject::OnPersonArrived(personId);
  if (ok) BeginWork();
  return ok;
}

void cMoneyChanger::BeginWork() {
  if (m_workBegun || operation.state != OperationState::Started) return;
  m_workBegun = true;
  if (cMap* m = objMap())
    for (int32_t pid : operation.persons)
      if (auto* p = dynamic_cast<cPerson*>(m->FindById(pid))) p->Carry(resource, amount);
  GameEvent e = objEvent(Game::Event::ExchangeHappened, *this);
  e.index = resource;
  e.amount = amount;
  objPost(e);
  if (sndIsInit()) sndPlayEx("MerchantTrade", SND_SOUND, -1.0f, sndScreenPan(int(x)), -1.0f);
}

void cMoneyChanger::OnOperationFinished() {
  m_workBegun = false;
  if (isOnlyOneExchange && !withdrawn) {
    if (cMap* m = objMap()) HideChildren(*m);
    withdrawn = 1;
  }
  cSubjectObject::OnOperationFinished();
}

bool cMoneyChanger::UpdateTimers(int32_t ms) {
  BeginWork();
  if (operation.state == OperationState::Idle) m_workBegun = false;
  return cSubjectObject::UpdateTimers(ms);
}

void cMoneyChanger::ResolveParent(const cMap& map) {
  // The subject's own step as well, so that the merchant is served by the kind it names.
  cSubjectObject::ResolveParent(map);
  idleFactor = RandomInt(6);
  idleTimer.Start(std::max(1, anims[0].Period() * idleFactor));
}

void cMoneyChanger::UpdateAnimation(int32_t ms) {
  if (idleTimer.Advance(ms)) {
    if (currentAnimation != 0) {
      SetAnimation(0, false);
      idleTimer.Start(std::max(1, anims[0].Period() * RandomInt(6, true)));
    } else {
      const int slot = RandomValue(true) >= 16384 ? 2 : 1;
      if (anims[slot].IsValid()) SetAnimation(slot, false);
      idleTimer.Start(std::max(1, anims[slot].Period()));
    }
  }
  cSubjectObject::UpdateAnimation(ms);
}
}  // namespace Map
