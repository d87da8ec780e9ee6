// The factory registration of the production buildings (generators, mine, barn, hunter huts).
#pragma once

namespace Map {
class cObjectFactory;
// Registers each class unless the factory has it already; call before the generic buildings.
void productionRegisterClasses(cObjectFactory& factory);
}  // namespace Map
