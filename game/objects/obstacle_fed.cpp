// The troll and the white wolf: fed by persons who bring the food from home, then out of the way.
#include "game/objects/obstacle_fed.h"

#include <cmath>

#include "anim/fx_simple_pyro.h"
#include "game/core/map.h"
#include "game/objects/object_level.h"

namespace Map {

bool cFedCreature::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  if (fed) return true;
  return objCostOffer(*this, int32_t(OperationKind::Repair), costs);
}

void cFedCreature::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  objSpendLabels(gainLabel, costLabel, nextGainLabel);
}

int cFedCreature::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (fed || !CanAfford(OperationKind::Repair)) return 1;
  const Manner m = Feeding();
  operation.walkVisibleState = m.walk;
  operation.workVisibleState = m.work;
  operation.homeVisibleState = m.home;
  operation.sendHomeAfterWork = m.sendHome ? 1 : 0;
  return StartOperation(OperationKind::Repair) ? 0 : 1;
}

bool cFedCreature::OnPersonArrived(int32_t personId) {
  const bool ok = cSubjectObject::OnPersonArrived(personId);
  BeginWork();
  return ok;
}

void cFedCreature::BeginWork() {
  if (m_workBegun || operation.state != OperationState::Started) return;
  m_workBegun = true;
  GameEvent e = objEvent(Game::Event::OperationProgress, *this);
  e.value = operation.duration;
  objPost(e);
  if (const char* fx = Feeding().workEffect) objStartEffect(workEffect0, fx, x, y);
}

bool cFedCreature::UpdateTimers(int32_t ms) {
  BeginWork();
  if (m_workBegun && operation.state == OperationState::Idle) {
    m_workBegun = false;
    if (workEffect0) workEffect0->Stop(true);
  }
  return cSubjectObject::UpdateTimers(ms);
}

void cFedCreature::OnOperationFinished() {
  if (m_workBegun && !fed && operation.kind == OperationKind::Repair) {
    m_workBegun = false;
    fed = 1;
    if (workEffect0) workEffect0->Stop(false);
    withdrawn = 1;
    Set(kFlagClickable, false);
    objClearObstacle(*this);
    GameEvent e = objEvent(Feeding().done, *this);
    objPost(e);
    OnFed();
  }
  cSubjectObject::OnOperationFinished();
}

void cFedCreature::OnFed() { RemoveFromPlay(); }

void cFedCreature::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = "data/obstacles/icons.ini";
}

void cFedCreature::SaveChildScript(std::string& out) const { mapWriteString(out, "data/obstacles/icons.ini", nullptr); }

// ---- White wolf ----------------------------------------------------------------------------------

void cWhiteWolf::ApplyRecord(const MapObjectRecord& r) {
  cFedCreature::ApplyRecord(r);
  const size_t at = objSubjectItems();
  for (int i = 0; i < kItems; ++i) items[i] = extInt(r, at + size_t(i));
}

void cWhiteWolf::FillRecord(MapObjectRecord& r) const {
  cFedCreature::FillRecord(r);
  const size_t at = objSubjectItems();
  for (int i = 0; i < kItems; ++i) setExtInt(r, at + size_t(i), items[i]);
}

void cWhiteWolf::CopyFrom(const cObject& from) {
  cFedCreature::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cWhiteWolf*>(&from))
    for (int i = 0; i < kItems; ++i) items[i] = o->items[i];
}

void cWhiteWolf::OnFed() {
  // Without a target it simply fades away where it ate.
  if (items[0] == 0 && items[1] == 0) {
    RemoveFromPlay();
    return;
  }
  running = 1;
  SetFlipped(float(items[0]) < x);
}

bool cWhiteWolf::UpdateTimers(int32_t ms) {
  if (running) {
    const float dx = float(items[0]) - x, dy = float(items[1]) - y;
    const float d = std::sqrt(dx * dx + dy * dy);
    const float step = kRunSpeed * float(ms > 0 ? ms : 0);
    if (d <= step) {
      SetAnchorF(float(items[0]), float(items[1]));
      running = 0;
      RemoveFromPlay();
    } else {
      SetAnchorF(x + dx / d * step, y + dy / d * step);
    }
  }
  return cFedCreature::UpdateTimers(ms);
}
}  // namespace Map
