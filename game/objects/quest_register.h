// Makes the object factory build the quest objects: the berry quest (bush, mushrooms, red hood,
// drums) and the others that join them here.
#pragma once

namespace Map {
class cObjectFactory;
void questRegisterClasses(cObjectFactory& factory);
}  // namespace Map
