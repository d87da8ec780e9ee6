// Makes the object factory build the weather and ambient effect classes (rain, snow, flies, caustic
// and the flying message), and names where their definitions come from in error messages.
#pragma once

#include <string>
#include <string_view>

namespace Map {
class cObjectFactory;
}

namespace Fx {
void weatherRegisterClasses(Map::cObjectFactory& factory);

// Where the definition of the object named `object` was read: the running level's map file and the
// section ("dataTest/maps/105/map.ini [Rain]"), or the object alone outside a level.
std::string fxOrigin(std::string_view object);
}  // namespace Fx
