// The factory registration of the production buildings.
#include "game/objects/production_register.h"

#include "game/core/map_factory.h"
#include "game/objects/barn.h"
#include "game/objects/building_generator.h"
#include "game/objects/building_mine.h"
#include "game/objects/hunter_building.h"

namespace Map {
namespace {
template <class T>
void add(cObjectFactory& f, const char* cls) {
  if (!f.IsRegistered(cls)) f.RegisterClass<T>(cls);
}
}  // namespace

void productionRegisterClasses(cObjectFactory& f) {
  add<cBarn>(f, "Map::cBarn");
  add<cFoodGenerator>(f, "Map::cFoodGenerator");
  add<cOreGenerator>(f, "Map::cOreGenerator");
  add<cGoldGenerator>(f, "Map::cGoldGenerator");
  add<cBuildingMine>(f, "Map::cBuildingMine");
  add<cHunterBuilding>(f, "Map::cHunterBuilding");
}
}  // namespace Map
