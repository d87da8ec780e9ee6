// The factory registration of the weather and ambient effect families, and the origin their load
// errors name.
#include "game/objects/fx_register.h"

#include "game/core/level_context.h"
#include "game/core/level_files.h"
#include "game/core/map_factory.h"
#include "game/objects/fx_caustic.h"
#include "game/objects/fx_flies.h"
#include "game/objects/fx_flying_message.h"
#include "game/objects/fx_weather.h"

namespace Fx {
void weatherRegisterClasses(Map::cObjectFactory& f) {
  f.RegisterClassOnce<cRain>("Fx::cRain");
  f.RegisterClassOnce<cSnow>("Fx::cSnow");
  f.RegisterClassOnce<cFlies>("Fx::cFlies");
  f.RegisterClassOnce<cCaustic>("Fx::cCaustic");
  f.RegisterClassOnce<cFlyingMessage>("Fx::cFlyingMessage");
}

std::string fxOrigin(std::string_view object) {
  const Game::LevelContext* level = Game::levelContext();
  if (!level || level->levelNumber <= 0) return "map object [" + std::string(object) + "]";
  return levelMapPath(level->levelNumber, level->binary) + " [" + std::string(object) + "]";
}
}  // namespace Fx
