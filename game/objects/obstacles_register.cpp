// The factory registration of the obstacle and pick-up families.
#include "game/objects/obstacles_register.h"

#include "game/core/map_factory.h"
#include "game/objects/bonus.h"
#include "game/objects/money_changer.h"
#include "game/objects/obstacle_broken_path.h"
#include "game/objects/obstacle_fed.h"
#include "game/objects/obstacle_ice.h"
#include "game/objects/obstacle_seasons.h"
#include "game/objects/obstacles.h"

namespace Map {
void obstaclesRegisterClasses(cObjectFactory& f) {
  f.RegisterClassOnce<cBrokenPathPatch>("Map::cBrokenPathPatch");
  f.RegisterClassOnce<cStoneAndSpring>("Map::cStoneAndSpring");
  f.RegisterClassOnce<cDryTree>("Map::cDryTree");
  f.RegisterClassOnce<cTotem>("Map::cTotem");
  f.RegisterClassOnce<cBonusPlace>("Map::cBonusPlace");
  f.RegisterClassOnce<cBonus>("Map::cBonus");
  f.RegisterClassOnce<cObstacleCreature>("Map::cObstacleCreature");
  f.RegisterClassOnce<cMoneyChanger>("Map::cMoneyChanger");
  f.RegisterClassOnce<cTroll>("Map::cTroll");
  f.RegisterClassOnce<cWhiteWolf>("Map::cWhiteWolf");
  f.RegisterClassOnce<cSummerCage>("Map::cSummerCage");
  f.RegisterClassOnce<cAutumnChains>("Map::cAutumnChains");
  f.RegisterClassOnce<cAutumnRock>("Map::cAutumnRock");
  f.RegisterClassOnce<cSnowball>("Map::cSnowball");
  f.RegisterClassOnce<cWinterIce>("Map::cWinterIce");
  f.RegisterClassOnce<cWitch_47lvl>("Map::cWitch_47lvl");
}
}  // namespace Map
