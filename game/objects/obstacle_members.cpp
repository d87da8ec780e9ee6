// Stones and springs, dry trees and totems: their record items and what clearing does to each.
#include "anim/anim_catalogue.h"
#include "anim/fx_simple_pyro.h"
#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/obstacles.h"

namespace Map {

// ---- Stone and spring --------------------------------------------------------------------------

cStoneAndSpring::cStoneAndSpring() = default;
cStoneAndSpring::~cStoneAndSpring() = default;

void cStoneAndSpring::ApplyRecord(const MapObjectRecord& r) {
  cClearableObstacle::ApplyRecord(r);
  const size_t at = objSubjectItems();
  broken = extInt(r, at) != 0;
  effectName = extString(r, at + 1);
  if (!broken) {
    withdrawn = 1;
    Set(kFlagClickable, false);
  }
}

void cStoneAndSpring::FillRecord(MapObjectRecord& r) const {
  cClearableObstacle::FillRecord(r);
  const size_t at = objSubjectItems();
  setExtInt(r, at, broken);
  setExtString(r, at + 1, effectName);
}

void cStoneAndSpring::CopyFrom(const cObject& from) {
  cClearableObstacle::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cStoneAndSpring*>(&from)) {
    broken = o->broken;
    effectName = o->effectName;
  }
}

void cStoneAndSpring::ResolveParent(const cMap& map) {
  cClearableObstacle::ResolveParent(map);
  if (broken && !effectName.empty()) objStartEffect(brokenEffect, effectName, x, y);
}

bool cStoneAndSpring::UpdateTimers(int32_t ms) {
  if (brokenEffect) brokenEffect->Update(float(ms));
  return cClearableObstacle::UpdateTimers(ms);
}

void cStoneAndSpring::Draw(const DrawContext& dc) {
  cClearableObstacle::Draw(dc);
  if (brokenEffect) brokenEffect->Render();
}

void cStoneAndSpring::OnCleared() {
  broken = 0;
  if (brokenEffect) brokenEffect->Stop(false);
  objClearObstacle(*this);
  RemoveFromPlay();
}

// ---- Dry tree ------------------------------------------------------------------------------------

void cDryTree::ApplyRecord(const MapObjectRecord& r) {
  cClearableObstacle::ApplyRecord(r);
  branches = extString(r, objSubjectItems());
}

void cDryTree::FillRecord(MapObjectRecord& r) const {
  cClearableObstacle::FillRecord(r);
  setExtString(r, objSubjectItems(), branches);
}

void cDryTree::CopyFrom(const cObject& from) {
  cClearableObstacle::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cDryTree*>(&from)) {
    branches = o->branches;
    fallen = o->fallen;
  }
}

void cDryTree::OnCleared() {
  fallen = 1;
  objClearObstacle(*this);
  RemoveFromPlay();
}

// ---- Totem ---------------------------------------------------------------------------------------

cTotem::cTotem() { workVisible = 9; }

void cTotem::ApplyRecord(const MapObjectRecord& r) {
  cClearableObstacle::ApplyRecord(r);
  const size_t at = objSubjectItems();
  state = extInt(r, at);
  wells = extInt(r, at + 1);
  animFrameShift = extInt(r, at + 2);
  flipX = extInt(r, at + 3);
  blocksWhenWhole = Has(kFlagObstacle) ? 1 : 0;
  if (!anims[0].IsValid()) {
    anims[0] = Core::animManager().GetAnimation("Totem_green");
    animHashes[0] = 0;  // the stand-in picture is not the object's own: it is not saved
  }
  if (state != kWhole) Set(kFlagClickable, false);
  if (state == kDestroyed && anims[1].IsValid()) SetAnimation(1, false);
}

void cTotem::FillRecord(MapObjectRecord& r) const {
  cClearableObstacle::FillRecord(r);
  const size_t at = objSubjectItems();
  setExtInt(r, at, state);
  setExtInt(r, at + 1, wells);
  setExtInt(r, at + 2, animFrameShift);
  setExtInt(r, at + 3, flipX);
}

void cTotem::CopyFrom(const cObject& from) {
  cClearableObstacle::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cTotem*>(&from)) {
    state = o->state;
    wells = o->wells;
    animFrameShift = o->animFrameShift;
    flipX = o->flipX;
    blocksWhenWhole = o->blocksWhenWhole;
  }
}

void cTotem::RegisterEvents(Game::cEventDispatcher* d) {
  cClearableObstacle::RegisterEvents(d);
  Register(Game::Event::WitchNamesObject, d, this);
}

void cTotem::OnEvent(GameEvent& e) {
  cClearableObstacle::OnEvent(e);
  if (e.code == Game::Code(Game::Event::WitchNamesObject) && tag != 0 && uint32_t(e.tag) == tag && state != kWhole)
    Restore();
}

void cTotem::OnCleared() {
  SpawnMapEffect("SunShine", layer + 1, -1, x, y);
  state = kDestroyed;
  Set(kFlagClickable, false);
  // A totem drawn broken in its second slot shows it lies in pieces; without one it stands on.
  if (anims[1].IsValid()) SetAnimation(1, false);
  objClearObstacle(*this);
  // A destroyed totem stays on the map; a fog area of its own is counted and must open now, or
  // the level's fog would wait for it for ever.
  OpenFogArea(0, 0);
  GameEvent e = objEvent(Game::Event::TotemDestroyed, *this);
  objPost(e);
}

void cTotem::Restore() {
  state = kWhole;
  Set(kFlagClickable, true);
  if (currentAnimation != 0) SetAnimation(0, false);
  if (blocksWhenWhole)
    if (cMap* m = objMap()) SetObstacle(*m, true);
  // The fog closes in around the totem again.
  GameEvent e = objEvent(Game::Event::FogAreaCloses, *this);
  e.value = 1000;
  e.value2 = 1000;
  e.extra[0] = 2000;
  e.extra[1] = 50;
  e.extra[2] = 1;
  objPost(e);
}
}  // namespace Map
