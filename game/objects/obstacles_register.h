// Makes the object factory build the obstacle, repairable, pick-up, creature and merchant classes.
#pragma once

namespace Map {
class cObjectFactory;
void obstaclesRegisterClasses(cObjectFactory& factory);
}  // namespace Map
