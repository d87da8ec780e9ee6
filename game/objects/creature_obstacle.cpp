// The obstacle creature: a bonus that stands in the way until a person of its kind drives it off.
// It may wait hidden for its cue (a picked bonus, or the witch naming it) and then appears.
#include <algorithm>

#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/objects/bonus.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"

namespace Map {
namespace {
// After the bonus items: the cue pair, the simple creature's seven items, the calling bonus.
constexpr size_t kBonusItems = 4;
constexpr size_t kPeriod = kBonusItems, kStartOnEffect = kBonusItems + 1, kLook = kBonusItems + 2,
                 kCaller = kLook + size_t(cObstacleCreature::kSimpleItems);
}  // namespace

void cObstacleCreature::ApplyRecord(const MapObjectRecord& r) {
  cBonus::ApplyRecord(r);
  const size_t at = objSubjectItems();
  periodBeforeAppear = std::max(0, extInt(r, at + kPeriod));
  startOnEffect = extInt(r, at + kStartOnEffect);
  idlePeriodMin = extInt(r, at + kLook);
  idlePeriodMax = extInt(r, at + kLook + 1);
  actionPeriodMin = extInt(r, at + kLook + 2);
  actionPeriodMax = extInt(r, at + kLook + 3);
  flipX = extInt(r, at + kLook + 4);
  creatureScale = extFloat(r, at + kLook + 5);
  sound = extString(r, at + kLook + 6);
  deletingBonus = extString(r, at + kCaller);
  deletingBonusHash = NameHash(deletingBonus);
  waiting = startOnEffect != 0;
  blocks = Has(kFlagObstacle) ? 1 : 0;
}

void cObstacleCreature::FillRecord(MapObjectRecord& r) const {
  cBonus::FillRecord(r);
  const size_t at = objSubjectItems();
  setExtInt(r, at + kPeriod, periodBeforeAppear);
  setExtInt(r, at + kStartOnEffect, startOnEffect);
  setExtInt(r, at + kLook, idlePeriodMin);
  setExtInt(r, at + kLook + 1, idlePeriodMax);
  setExtInt(r, at + kLook + 2, actionPeriodMin);
  setExtInt(r, at + kLook + 3, actionPeriodMax);
  setExtInt(r, at + kLook + 4, flipX);
  setExtFloat(r, at + kLook + 5, creatureScale);
  setExtString(r, at + kLook + 6, sound);
  setExtString(r, at + kCaller, deletingBonus);
  // A record keeps the object's obstacle as loaded, also while it waits off the grid.
  r.isObstacle = blocks;
}

void cObstacleCreature::CopyFrom(const cObject& from) {
  cBonus::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cObstacleCreature*>(&from)) {
    periodBeforeAppear = o->periodBeforeAppear;
    startOnEffect = o->startOnEffect;
    waiting = o->waiting;
    blocks = o->blocks;
    deletingBonus = o->deletingBonus;
    deletingBonusHash = o->deletingBonusHash;
    idlePeriodMin = o->idlePeriodMin;
    idlePeriodMax = o->idlePeriodMax;
    actionPeriodMin = o->actionPeriodMin;
    actionPeriodMax = o->actionPeriodMax;
    flipX = o->flipX;
    creatureScale = o->creatureScale;
    sound = o->sound;
  }
}

void cObstacleCreature::RegisterEvents(Game::cEventDispatcher* d) {
  cBonus::RegisterEvents(d);
  Register(Game::Event::WitchNamesObject, d, this);
  Register(Game::Event::ResourcesPickedUp, d, this);
}

void cObstacleCreature::ResolveParent(const cMap& map) {
  cBonus::ResolveParent(map);
  if (isSmoothAppear && !waiting && periodBeforeAppear > 0) appearTimer.Start(periodBeforeAppear);
  SetHidden(waiting != 0);
  // Waiting hidden, it leaves the way open until it is called.
  if (waiting) objClearObstacle(*this);
}

void cObstacleCreature::Appear() {
  waiting = 0;
  if (blocks)
    if (cMap* m = objMap()) SetObstacle(*m, true);
  SetHidden(false);
}

void cObstacleCreature::OnEvent(GameEvent& e) {
  cBonus::OnEvent(e);
  if (!waiting) return;
  if (e.code == Game::Code(Game::Event::ResourcesPickedUp) && deletingBonusHash != 0 &&
      uint32_t(e.tag) == deletingBonusHash) {
    appearTimer.Start(kCalledAppearMs);
    Appear();
    GameEvent c;
    MakeEvent(c, Game::Event::WaitingCreatureCalled);
    c.objectId = id;
    c.x = int32_t(x);
    c.y = int32_t(y);
    objPost(c);
  } else if (e.code == Game::Code(Game::Event::WitchNamesObject) && tag != 0 && uint32_t(e.tag) == tag) {
    SpawnMapEffect("WolvesAppear", layer + 1, -1, x, y);
    appear.Start(kAppearMs);
    Appear();
  }
}

bool cObstacleCreature::UpdateTimers(int32_t ms) {
  // It shows itself with a call (cues 1 and 2); the dust it comes out of is a map effect.
  if (appearTimer.Advance(ms)) {
    SpawnMapEffect("WolvesAppear", layer + 1, -1, x, y);
    PlayCue(1);
    PlayCue(2);
  }
  return cBonus::UpdateTimers(ms);
}

void cObstacleCreature::Draw(const DrawContext& dc) {
  if (waiting || appearTimer.running) return;
  cBonus::Draw(dc);
}

int cObstacleCreature::TryStartOperation(bool byPlayer) {
  if (waiting || appearTimer.running) return 1;
  // It growls at whoever is sent against it, even when the order is then refused.
  PlayCue(0);
  return cBonus::TryStartOperation(byPlayer);
}

bool cObstacleCreature::OnPersonArrived(int32_t personId) {
  const bool ok = cBonus::OnPersonArrived(personId);
  if (ok && operation.state == OperationState::Started) SetAnimation(0, false);
  return ok;
}

void cObstacleCreature::OnOperationFinished() {
  const bool driven = m_workBegun && !collected;
  cBonus::OnOperationFinished();
  // Gone, it no longer stands in anybody's way.
  if (driven) objClearObstacle(*this);
}
}  // namespace Map
