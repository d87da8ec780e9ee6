// The Repair protocol stones, dry trees and totems share.
#include "anim/fx_simple_pyro.h"
#include "game/objects/object_level.h"
#include "game/objects/obstacles.h"

namespace Map {

bool cClearableObstacle::GetOperationOffer(ResourceVector& gains, ResourceVector& costs,
                                           ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  if (!OffersWork()) return true;
  return objCostOffer(*this, int32_t(OperationKind::Repair), costs);
}

void cClearableObstacle::GetOfferLabels(std::string& gainLabel, std::string& costLabel,
                                        std::string& nextGainLabel) const {
  objSpendLabels(gainLabel, costLabel, nextGainLabel);
}

std::string cClearableObstacle::GetStatusText() const {
  std::string s = cSubjectObject::GetStatusText();
  if (!s.empty()) return s;
  return operation.state == OperationState::Working ? "#OBJECT_HINT_REPAIR" : std::string();
}

int cClearableObstacle::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (!OffersWork() || !CanAfford(OperationKind::Repair)) return 1;
  operation.walkVisibleState = walkVisible;
  operation.workVisibleState = workVisible >= 0 ? workVisible : personVisibleState;
  operation.homeVisibleState = homeVisible;
  return StartOperation(OperationKind::Repair) ? 0 : 1;
}

bool cClearableObstacle::OnPersonArrived(int32_t personId) {
  const bool ok = cSubjectObject::OnPersonArrived(personId);
  BeginWork();
  return ok;
}

void cClearableObstacle::BeginWork() {
  if (m_workBegun || operation.state != OperationState::Started) return;
  m_workBegun = true;
  GameEvent e = objEvent(Game::Event::OperationProgress, *this);
  e.value = operation.duration;
  objPost(e);
  objStartEffect(workEffect0, "RepairDust_small", x, y);
  workSound.Start(*this, operation.duration);
}

bool cClearableObstacle::UpdateTimers(int32_t ms) {
  BeginWork();
  if (m_workBegun && operation.state == OperationState::Idle) {
    // The order was cancelled: the dust settles, the obstacle stays.
    m_workBegun = false;
    if (workEffect0) workEffect0->Stop(true);
    workSound.Stop();
  }
  workSound.Update(ms);
  return cSubjectObject::UpdateTimers(ms);
}

void cClearableObstacle::OnOperationFinished() {
  if (m_workBegun && operation.kind == OperationKind::Repair && OffersWork()) {
    m_workBegun = false;
    if (workEffect0) workEffect0->Stop(false);
    workSound.Stop();
    GameEvent e = objEvent(ClearedEvent(), *this);
    objPost(e);
    OnCleared();
  }
  cSubjectObject::OnOperationFinished();
}

void cClearableObstacle::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = "data/obstacles/icons.ini";
}

void cClearableObstacle::SaveChildScript(std::string& out) const {
  mapWriteString(out, "data/obstacles/icons.ini", nullptr);
}
}  // namespace Map
