// The factory registration of the production buildings.
#include "game/objects/production_register.h"

#include "game/core/map_factory.h"
#include "game/objects/barn.h"
#include "game/objects/building_generator.h"
#include "game/objects/building_mine.h"
#include "game/objects/hunter_building.h"

namespace Map {
void productionRegisterClasses(cObjectFactory& f) {
  f.RegisterClassOnce<cBarn>("Map::cBarn");
  f.RegisterClassOnce<cFoodGenerator>("Map::cFoodGenerator");
  f.RegisterClassOnce<cOreGenerator>("Map::cOreGenerator");
  f.RegisterClassOnce<cGoldGenerator>("Map::cGoldGenerator");
  f.RegisterClassOnce<cBuildingMine>("Map::cBuildingMine");
  f.RegisterClassOnce<cHunterBuilding>("Map::cHunterBuilding");
}
}  // namespace Map
