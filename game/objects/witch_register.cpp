// The factory registration of the witch scenes and the magic scenery.
#include "game/core/map_factory.h"
#include "game/objects/magic_scenery.h"
#include "game/objects/witch_scene.h"

namespace Map {
void witchRegisterClasses(cObjectFactory& f) {
  f.RegisterClassOnce<cWitch_1lvl>("Map::cWitch_1lvl");
  f.RegisterClassOnce<cWitch_8lvl>("Map::cWitch_8lvl");
  f.RegisterClassOnce<cWitch_33lvl>("Map::cWitch_33lvl");
  f.RegisterClassOnce<cWitch_37lvl>("Map::cWitch_37lvl");
  f.RegisterClassOnce<cFlyingWitch>("Map::cFlyingWitch");
  f.RegisterClassOnce<cTrollCloud>("Map::cTrollCloud");
  f.RegisterClassOnce<cMagicTree>("Map::cMagicTree");
  f.RegisterClassOnce<cTentacles>("Map::cTentacles");
}
}  // namespace Map
