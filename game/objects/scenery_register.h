// Makes the object factory build the scenery classes: creatures, butterflies, trees, reflections
// and the background.
#pragma once

namespace Map {
class cObjectFactory;
void sceneryRegisterClasses(cObjectFactory& factory);
}  // namespace Map
