// The factory registration of the quest objects.
#include "game/objects/quest_register.h"

#include "game/core/map_factory.h"
#include "game/objects/quest_berry.h"
#include "game/objects/quest_cave.h"
#include "game/objects/quest_drums.h"
#include "game/objects/quest_hearts.h"

namespace Map {
void questRegisterClasses(cObjectFactory& f) {
  f.RegisterClassOnce<cBerry>("Map::cBerry");
  f.RegisterClassOnce<cMushroom>("Map::cMushroom");
  f.RegisterClassOnce<cRedhood>("Map::cRedhood");
  f.RegisterClassOnce<cDrums>("Map::cDrums");
  f.RegisterClassOnce<cCaveWithKey>("Map::cCaveWithKey");
  f.RegisterClassOnce<cChestHeart>("Map::cChestHeart");
  f.RegisterClassOnce<cBatHeart>("Map::cBatHeart");
  f.RegisterClassOnce<cCageHeart>("Map::cCageHeart");
  f.RegisterClassOnce<cIceHeart>("Map::cIceHeart");
  f.RegisterClassOnce<cJumpingHeart>("Map::cJumpingHeart");
}
}  // namespace Map
