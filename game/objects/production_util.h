// Small helpers the production buildings share: where a family's own record block starts, the
// level's stock and workers, and what the player still lacks for a price.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/map_record.h"
#include "game/objects/subject_object.h"

namespace Game {
class PlayerStock;
class cWorkersController;
}  // namespace Game

namespace Map {
// Offset of the block named `blockName` in the record of the object's family; npos without one.
size_t prodBlockAt(uint32_t typeHash, uint32_t subtypeHash, const char* blockName);
// The integer item `i` of a block starting at `at`; `fallback` when the record is short.
int32_t prodItem(const std::vector<MapExtValue>& ext, size_t at, size_t i, int32_t fallback = 0);
// Null between levels.
Game::PlayerStock* prodStock();
Game::cWorkersController* prodWorkers();
int32_t prodStockAmount(int resource);
// For each resource max(0, cost - stock): what a selected subject shows instead of the price.
ResourceVector prodShortfall(const ResourceVector& costs);
// A resource index from a file: 0 to 3, anything else is 4 (none).
int32_t prodCheckedResource(int32_t value);
}  // namespace Map
