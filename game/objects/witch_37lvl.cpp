// The snow witch: she watches the creature obstacles, and where one gives way (event 99) a snowslip
// comes down, with her cue and a word to the view (event 56).
#include "game/core/event_codes.h"
#include "game/objects/object_level.h"
#include "game/objects/witch_scene.h"

namespace Map {

cWitch_37lvl::cWitch_37lvl() { AddEffect("Snowslip"); }

void cWitch_37lvl::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  LoadTrack("Witch_37lvl");
  Cue(0);
}

void cWitch_37lvl::RegisterEvents(Game::cEventDispatcher* d) {
  Register(Game::Event::CreatureObstacleEvent, d, this);
}

void cWitch_37lvl::OnEvent(GameEvent& e) {
  cObject::OnEvent(e);
  if (e.code != Game::Code(Game::Event::CreatureObstacleEvent) || Has(kFlagRemoved)) return;
  StartEffectAt(kSnowslip, float(e.x), float(e.y));
  Cue(1);
  GameEvent told = objEvent(Game::Event::Witch37Event, *this);
  objPost(told);
  GoTo(1, kSlipMs);
}

void cWitch_37lvl::OnStageEnd() {
  StopEffect(kSnowslip);
  stage = 0;
  stageTimer.Stop();
}

}  // namespace Map
