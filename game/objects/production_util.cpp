// The production buildings' shared helpers.
#include "game/objects/production_util.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "game/core/level_context.h"
#include "game/core/map_family.h"

namespace Map {
size_t prodBlockAt(uint32_t typeHash, uint32_t subtypeHash, const char* blockName) {
  size_t at = 0;
  for (const MapExtension* b : mapFamilyOf(typeHash, subtypeHash).blocks) {
    if (b->name && std::strcmp(b->name, blockName) == 0) return at;
    at += b->items.size();
  }
  return std::string::npos;
}

int32_t prodItem(const std::vector<MapExtValue>& ext, size_t at, size_t i, int32_t fallback) {
  if (at == std::string::npos || at + i >= ext.size()) return fallback;
  return ext[at + i].i;
}

Game::PlayerStock* prodStock() {
  Game::LevelContext* c = Game::levelContext();
  return c ? c->stock.get() : nullptr;
}

Game::cWorkersController* prodWorkers() {
  Game::LevelContext* c = Game::levelContext();
  return c ? c->workers.get() : nullptr;
}

int32_t prodStockAmount(int resource) {
  Game::PlayerStock* s = prodStock();
  return s ? s->Amount(resource) : 0;
}

ResourceVector prodShortfall(const ResourceVector& costs) {
  ResourceVector out{};
  for (int i = 0; i < 4; ++i) out[size_t(i)] = std::max(0, costs[size_t(i)] - prodStockAmount(i));
  return out;
}

int32_t prodCheckedResource(int32_t value) { return value >= 0 && value < kNoResource ? value : kNoResource; }
}  // namespace Map
