// The factory registration of the obstacle and pick-up families.
#include "game/objects/obstacles_register.h"

#include "game/core/map_factory.h"
#include "game/objects/bonus.h"
#include "game/objects/money_changer.h"
#include "game/objects/obstacle_broken_path.h"
#include "game/objects/obstacle_fed.h"
#include "game/objects/obstacle_seasons.h"
#include "game/objects/obstacles.h"

namespace Map {
namespace {
template <class T>
void add(cObjectFactory& f, const char* cls) {
  if (!f.IsRegistered(cls)) f.RegisterClass<T>(cls);
}
}  // namespace

void obstaclesRegisterClasses(cObjectFactory& f) {
  add<cBrokenPathPatch>(f, "Map::cBrokenPathPatch");
  add<cStoneAndSpring>(f, "Map::cStoneAndSpring");
  add<cDryTree>(f, "Map::cDryTree");
  add<cTotem>(f, "Map::cTotem");
  add<cBonusPlace>(f, "Map::cBonusPlace");
  add<cBonus>(f, "Map::cBonus");
  add<cObstacleCreature>(f, "Map::cObstacleCreature");
  add<cMoneyChanger>(f, "Map::cMoneyChanger");
  add<cTroll>(f, "Map::cTroll");
  add<cWhiteWolf>(f, "Map::cWhiteWolf");
  add<cSummerCage>(f, "Map::cSummerCage");
  add<cAutumnChains>(f, "Map::cAutumnChains");
  add<cAutumnRock>(f, "Map::cAutumnRock");
  add<cSnowball>(f, "Map::cSnowball");
}
}  // namespace Map
