// Makes the object factory build the icon classes that subjects show over themselves.
#pragma once

namespace Map {
class cObjectFactory;
}

namespace Icon {
void iconsRegisterClasses(Map::cObjectFactory& factory);
}  // namespace Icon
