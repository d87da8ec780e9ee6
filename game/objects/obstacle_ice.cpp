// The winter ice: two Repair orders break it, then persons bring the girl inside a heart from home.
#include <string_view>

#include "anim/fx_simple_pyro.h"
#include "game/core/map.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/obstacle_ice.h"

namespace Map {

namespace {
constexpr const char* kSounds = "data/obstacles/sounds.ini";
}

void cWinterIce::ShowStatePicture() {
  // Each state has its picture in the slot of its number; a state without one keeps the last
  // picture rather than leaving the ice invisible.
  if (state >= 0 && state < kAnimationSlots && anims[state].IsValid()) SetAnimation(state, false);
}

cWinterIce::cWinterIce() = default;
cWinterIce::~cWinterIce() = default;

bool cWinterIce::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  if (!HasOperationOffer()) return true;
  return objCostOffer(*this, int32_t(OfferedKind()), costs);
}

void cWinterIce::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  objSpendLabels(gainLabel, costLabel, nextGainLabel);
}

bool cWinterIce::HasEnoughPersons(bool includeBusy) const {
  if (state == kWaiting && heartsAtHome <= 0) return false;
  return cSubjectObject::HasEnoughPersons(includeBusy);
}

int cWinterIce::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (!HasOperationOffer()) return 1;
  const OperationKind kind = OfferedKind();
  if (kind == OperationKind::GetResource && heartsAtHome <= 0) return 1;
  if (!CanAfford(kind)) return 1;
  if (kind == OperationKind::Repair) {
    operation.walkVisibleState = 2;
    operation.workVisibleState = 9;
    operation.homeVisibleState = 1;
  } else {
    operation.walkVisibleState = 3;
    operation.workVisibleState = 15;
    operation.homeVisibleState = 1;
  }
  if (!StartOperation(kind)) return 1;
  if (kind == OperationKind::GetResource) {
    GameEvent e = objEvent(Game::Event::WinterIceEvent, *this);
    objPost(e);
  }
  return 0;
}

bool cWinterIce::OnPersonArrived(int32_t personId) {
  const bool ok = cSubjectObject::OnPersonArrived(personId);
  if (operation.state == OperationState::Started || operation.state == OperationState::Working) {
    const std::string_view want = operation.kind == OperationKind::GetResource ? "HeartFly" : "IceExplode";
    if (!workEffect0 || std::string_view(workEffect0->GetName()) != want || workEffect0->IsStopped(false))
      objStartEffect(workEffect0, want, x, y);
  }
  return ok;
}

void cWinterIce::OnOperationFinished() {
  if (workEffect0) workEffect0->Stop(false);
  if (operation.kind == OperationKind::Repair && (state == kWhole || state == kCracked)) {
    const bool first = state == kWhole;
    SpawnMapEffect(first ? "IceExplode1" : "IceExplode2", layer + 1, -1, x, y);
    if (first && sparkles) sparkles->Stop(false);
    state = first ? kCracking : kOpening;
    ShowStatePicture();
    settle.Start(kSettleMs);
  } else if (operation.kind == OperationKind::GetResource && state == kWaiting) {
    // The heart the persons carried is given: one fewer waits at home.
    if (heartsAtHome > 0) --heartsAtHome;
    state = kUncharmed;
    ShowStatePicture();
    SpawnMapEffect("SunShine", layer + 1, -1, x, y);
    uncharmedSound.StartSlot(0, int32_t(x), 0);
    GameEvent e = objEvent(Game::Event::WinterIceFinished, *this);
    objPost(e);
    withdrawn = 1;
    Set(kFlagClickable, false);
    if (cMap* m = objMap()) HideChildren(*m);
    objClearObstacle(*this);
  }
  cSubjectObject::OnOperationFinished();
}

bool cWinterIce::UpdateTimers(int32_t ms) {
  if (sparkles) sparkles->Update(float(ms));
  uncharmedSound.Update(ms);
  if (settle.Advance(ms)) {
    if (state == kCracking) {
      state = kCracked;
    } else if (state == kOpening) {
      state = kWaiting;
      SpawnMapEffect("IceGirlAppear", layer + 1, -1, x, y);
    }
    ShowStatePicture();
  }
  return cSubjectObject::UpdateTimers(ms);
}

void cWinterIce::Draw(const DrawContext& dc) {
  cSubjectObject::Draw(dc);
  if (sparkles) sparkles->Render();
}

void cWinterIce::ResolveParent(const cMap& map) {
  cSubjectObject::ResolveParent(map);
  if (state == kWhole) objStartEffect(sparkles, "IceSparkles", x, y);
  ShowStatePicture();
  uncharmedSound.Load(kSounds, "WinterUncharmed");
}

void cWinterIce::RegisterEvents(Game::cEventDispatcher* d) {
  cSubjectObject::RegisterEvents(d);
  Register(Game::Event::HeartDelivered, d, this);
}

void cWinterIce::OnEvent(GameEvent& e) {
  cSubjectObject::OnEvent(e);
  if (e.code == Game::Code(Game::Event::HeartDelivered) && state != kUncharmed) ++heartsAtHome;
}

void cWinterIce::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = "data/obstacles/icons.ini";
}

void cWinterIce::SaveChildScript(std::string& out) const {
  mapWriteString(out, "data/obstacles/icons.ini", nullptr);
}
}  // namespace Map
