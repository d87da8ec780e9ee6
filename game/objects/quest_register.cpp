// The factory registration of the quest objects.
#include "game/objects/quest_register.h"

#include "game/core/map_factory.h"

namespace Map {
void questRegisterClasses(cObjectFactory& f) {
  (void)f;
}
}  // namespace Map
