// The witch who crosses the map when a level is lost: a gentle arc from her first point to her
// second in "flyperiod" ms with her trail effect, then she is gone.
#include <cmath>
#include <numbers>

#include "anim/fx_simple_pyro.h"
#include "game/objects/object_level.h"
#include "game/objects/witch_scene.h"

namespace Map {

namespace {
constexpr size_t kFlyPeriod = 0, kFirstX = 1, kFirstY = 2, kSecondX = 3, kSecondY = 4, kEffectName = 5;
constexpr float kArcHeight = 60.0f;
}  // namespace

cFlyingWitch::cFlyingWitch() { SetLooks({"FlyingWitch_move"}); }

void cFlyingWitch::ApplyRecord(const MapObjectRecord& r) {
  cWitchScene::ApplyRecord(r);
  flyPeriod = extInt(r, kFlyPeriod);
  first = {extInt(r, kFirstX), extInt(r, kFirstY)};
  second = {extInt(r, kSecondX), extInt(r, kSecondY)};
  effectName = extString(r, kEffectName);
}

void cFlyingWitch::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  setExtInt(r, kFlyPeriod, flyPeriod);
  setExtInt(r, kFirstX, first.x);
  setExtInt(r, kFirstY, first.y);
  setExtInt(r, kSecondX, second.x);
  setExtInt(r, kSecondY, second.y);
  setExtString(r, kEffectName, effectName);
}

void cFlyingWitch::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cFlyingWitch*>(&from)) {
    flyPeriod = o->flyPeriod;
    first = o->first;
    second = o->second;
    effectName = o->effectName;
  }
}

void cFlyingWitch::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  if (flyPeriod <= 0) flyPeriod = kDefaultFlyMs;
  effects.clear();
  if (!effectName.empty()) AddEffect(effectName);
  SetAnchor(first);
  SetFlipped(second.x < first.x);
  PlaySlot(0);
  StartEffectAt(0, x, y);
  LoadTrack("FlyingWitch");
  Cue(0);
  GoTo(0, flyPeriod);
}

void cFlyingWitch::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  Step(ms);
}

bool cFlyingWitch::UpdateTimers(int32_t ms) { return cObject::UpdateTimers(ms); }

void cFlyingWitch::UpdateSceneTimers(int32_t) {
  const float f = stageTimer.Fraction();
  const float nx = float(first.x) + float(second.x - first.x) * f;
  const float ny = float(first.y) + float(second.y - first.y) * f - kArcHeight * std::sin(std::numbers::pi_v<float> * f);
  SetAnchorF(nx, ny);
  if (FxManager::cSimplePyro* trail = Effect(0)) trail->SetPosition(nx, ny);
}

void cFlyingWitch::OnStageEnd() {
  SetAnchor(second);
  SetHidden(true);  // a finishing level no longer sweeps its map
  stageTimer.Stop();
  Kill();
}

}  // namespace Map
