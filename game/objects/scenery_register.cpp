// The scenery classes by the names their families give.
#include "game/objects/scenery_register.h"

#include "game/core/map_factory.h"
#include "game/objects/scenery_back.h"
#include "game/objects/scenery_creature.h"
#include "game/objects/scenery_moving.h"
#include "game/objects/scenery_reflection.h"
#include "game/objects/scenery_tree.h"

namespace Map {

void sceneryRegisterClasses(cObjectFactory& f) {
  f.RegisterClassOnce<cSimpleCreature>("Map::cSimpleCreature");
  f.RegisterClassOnce<cMovingCreature>("Map::cMovingCreature");
  f.RegisterClassOnce<cMovingButterfly>("Map::cMovingButterfly");
  f.RegisterClassOnce<cTree>("Map::cTree");
  f.RegisterClassOnce<cReflection>("Map::cReflection");
  f.RegisterClassOnce<cBack>("Map::cBack");
}

}  // namespace Map
