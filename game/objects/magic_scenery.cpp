// The troll's cloud, the magic tree and the tentacles: their stages and the events they answer.
#include "game/objects/magic_scenery.h"

#include "game/core/event_codes.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"

namespace Map {

namespace {
bool namesMe(const GameEvent& e, const cObject& o) {
  return e.code == Game::Code(Game::Event::WitchNamesObject) && o.tag != 0 && uint32_t(e.tag) == o.tag;
}
}  // namespace

// ---- Troll cloud ---------------------------------------------------------------------------------

cTrollCloud::cTrollCloud() { AddEffect("TrollCloud"); }

void cTrollCloud::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  LoadTrack("TrollCloud");
}

void cTrollCloud::RegisterEvents(Game::cEventDispatcher* d) { Register(Game::Event::TrollEvent, d, this); }

void cTrollCloud::OnEvent(GameEvent& e) {
  cObject::OnEvent(e);
  if (e.code != Game::Code(Game::Event::TrollEvent) || Has(kFlagRemoved)) return;
  SetAnchor({e.x, e.y - kAboveTroll});
  StartEffectAt(kCloud, x, y);
  Cue(0);
  GoTo(1, kCloudMs);
}

void cTrollCloud::OnStageEnd() {
  StopEffect(kCloud);
  stage = 0;
  stageTimer.Stop();
  GameEvent e = objEvent(Game::Event::TrollCloudEvent, *this);
  objPost(e);
}

// ---- Magic tree ----------------------------------------------------------------------------------

cMagicTree::cMagicTree() {
  SetLooks({"MagicTree_dead", "MagicTree_alive"});
  AddEffect("MagicTreeReviving");
}

void cMagicTree::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  LoadTrack("MagicTree");
  stage = kEnchanted;
  PlaySlot(0);
}

void cMagicTree::RegisterEvents(Game::cEventDispatcher* d) {
  Register(Game::Event::WitchNamesObject, d, this);
  Register(Game::Event::HeartDelivered, d, this);
}

void cMagicTree::OnEvent(GameEvent& e) {
  cObject::OnEvent(e);
  if (namesMe(e, *this) || e.code == Game::Code(Game::Event::HeartDelivered)) Revive();
}

void cMagicTree::Revive() {
  if (stage != kEnchanted || Has(kFlagRemoved)) return;
  StartEffectAt(kReviving, x, y);
  Cue(0);
  GoTo(kRevivingStage, kReviveMs);
}

void cMagicTree::OnStageEnd() {
  stageTimer.Stop();
  stage = kAlive;
  StopEffect(kReviving);
  PlaySlot(1);
  // The burst of its coming alive outlives the reviving: it belongs to the map, not to the tree.
  SpawnMapEffect("MagicTree", layer + 1, -1, x, y);
  Cue(1);
}

// ---- Tentacles -----------------------------------------------------------------------------------

cTentacles::cTentacles() { SetLooks({"Tentacles_idle", "Tentacles_rise", "Tentacles_sink"}); }

void cTentacles::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  LoadTrack("Tentacles");
  PlaySlot(0);
  GoTo(kSway, kSwayRounds * SlotPeriod(0));
}

void cTentacles::RegisterEvents(Game::cEventDispatcher* d) { Register(Game::Event::WitchNamesObject, d, this); }

void cTentacles::OnEvent(GameEvent& e) {
  cObject::OnEvent(e);
  if (!namesMe(e, *this) || stage == kSink || Has(kFlagRemoved)) return;
  PlaySlot(2);
  Cue(1);
  GoTo(kSink, SlotPeriod(2));
}

void cTentacles::OnStageEnd() {
  switch (stage) {
    case kSway:
      PlaySlot(1);
      Cue(0);
      GoTo(kRise, SlotPeriod(1));
      break;
    case kRise:
      PlaySlot(0);
      GoTo(kSway, kSwayRounds * SlotPeriod(0));
      break;
    default:
      stageTimer.Stop();
      SetHidden(true);
      Kill();
      break;
  }
}

}  // namespace Map
