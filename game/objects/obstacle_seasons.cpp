// The summer cage, the autumn rock and chains, and the snowball.
#include "game/objects/obstacle_seasons.h"

#include "anim/fx_simple_pyro.h"
#include "game/core/map.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"

namespace Map {

// ---- Sealed obstacles: the summer cage and the autumn chains ---------------------------------------

void cSealedObstacle::RegisterEvents(Game::cEventDispatcher* d) {
  cClearableObstacle::RegisterEvents(d);
  Register(m_opener, d, this);
}

void cSealedObstacle::OnEvent(GameEvent& e) {
  cClearableObstacle::OnEvent(e);
  if (e.code == Game::Code(m_opener) && state == kSealed) state = kReady;
}

void cSealedObstacle::OnCleared() {
  state = kOpen;
  SpawnMapEffect("SunShine", layer + 1, -1, x, y);
  withdrawn = 1;
  Set(kFlagClickable, false);
  objClearObstacle(*this);
}

cSummerCage::cSummerCage() : cSealedObstacle(Game::Event::TotemDestroyed, Game::Event::SummerCageEvent) {
  workVisible = 9;
  homeVisible = 1;
}

cAutumnChains::cAutumnChains() : cSealedObstacle(Game::Event::AutumnRockEvent, Game::Event::AutumnChainsEvent) {
  walkVisible = 3;
  workVisible = 8;
  homeVisible = 1;
}

void cAutumnChains::OnCleared() {
  cSealedObstacle::OnCleared();
  SpawnMapEffect("ChainsGirlAppear", layer + 1, -1, x, y);
}

// ---- Autumn rock ---------------------------------------------------------------------------------

cAutumnRock::cAutumnRock() {
  workVisible = 9;
  homeVisible = 1;
}

bool cAutumnRock::UpdateTimers(int32_t ms) {
  // Once its persons are on their way the rock is out of the player's hands: no cursor, no click
  // that could call them back, no hint. (The queue drops withdrawn subjects, so not before.)
  const OperationState s = operation.state;
  if (!withdrawn && s != OperationState::Idle && s != OperationState::Ordered) {
    if (cMap* m = objMap()) HideChildren(*m);
    withdrawn = 1;
  }
  return cClearableObstacle::UpdateTimers(ms);
}

void cAutumnRock::OnCleared() {
  broken = 1;
  // The rock leaves play at once; its dust stays on the map until it settles.
  SpawnMapEffect("RockDestroy", layer + 1, -1, x, y);
  objClearObstacle(*this);
  // Its fall breaks the building it belongs to.
  if (parentTag != 0) {
    GameEvent e;
    MakeEvent(e, Game::Event::WitchNamesObject);
    e.objectId = id;
    e.tag = int32_t(parentTag);
    e.x = int32_t(x);
    e.y = int32_t(y);
    objPost(e);
  }
  RemoveFromPlay();
}

// ---- Snowball ------------------------------------------------------------------------------------

namespace {
constexpr size_t kStages = 0, kTarget = 1, kUnderlayX = 2, kUnderlayY = 3;
}

void cSnowball::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  stagesMax = extInt(r, at + kStages);
  target = extString(r, at + kTarget);
  underlayX = extInt(r, at + kUnderlayX);
  underlayY = extInt(r, at + kUnderlayY);
  stage = 0;
}

void cSnowball::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = "data/obstacles/icons.ini";
  const size_t at = objSubjectItems();
  setExtInt(r, at + kStages, stagesMax);
  setExtString(r, at + kTarget, target);
  setExtInt(r, at + kUnderlayX, underlayX);
  setExtInt(r, at + kUnderlayY, underlayY);
}

void cSnowball::CopyFrom(const cObject& from) {
  cSubjectObject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cSnowball*>(&from)) {
    stagesMax = o->stagesMax;
    target = o->target;
    underlayX = o->underlayX;
    underlayY = o->underlayY;
  }
}

void cSnowball::SaveChildScript(std::string& out) const { mapWriteString(out, "data/obstacles/icons.ini", nullptr); }

bool cSnowball::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  return objCostOffer(*this, int32_t(OperationKind::GetResource), costs);
}

void cSnowball::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  objSpendLabels(gainLabel, costLabel, nextGainLabel);
}

int cSnowball::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (stage >= StagesTotal() || !CanAfford(OperationKind::GetResource)) return 1;
  operation.walkVisibleState = 2;
  operation.workVisibleState = 0;
  operation.homeVisibleState = 2;
  operation.arrivalFlag = 1;
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

void cSnowball::OnOperationFinished() {
  if (operation.kind == OperationKind::GetResource && stage < StagesTotal()) {
    ++stage;
    const bool done = stage >= StagesTotal();
    GameEvent e = objEvent(Game::Event::SnowballStageEnded, *this);
    e.value = done ? 1 : 0;
    objPost(e);
    objStartEffect(workEffect0, done ? "SnowBallExplode" : "SnowBallRolling", x, y);
    if (done) {
      withdrawn = 1;
      Set(kFlagClickable, false);
      objClearObstacle(*this);
      cSubjectObject::OnOperationFinished();
      RemoveFromPlay();
      return;
    }
  }
  cSubjectObject::OnOperationFinished();
}

}  // namespace Map
