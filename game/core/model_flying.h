// The flying messages the model raises over the map when something is repaired, built, upgraded,
// produced, delivered or found.
#pragma once

#include <cstdint>
#include <string_view>

#include "game/core/events.h"

namespace Map {
class cMap;
}
namespace Fx {
class cFlyingMessage;
}

namespace Game {
// Creates a message at `point`: "+amount" with the resource's "<Resource>_Flying" picture when
// `amount` is not 0, otherwise the translation of `key`. Needs a running level (factory and map);
// answers the message added, or nullptr.
Fx::cFlyingMessage* ShowFlyingMessage(Map::cMap* map, int32_t resource, std::string_view key, int32_t x, int32_t y,
                                      int32_t amount);
// The message an event of the model raises, if any.
void modelFlyingMessageFor(Map::cMap* map, const GameEvent& e);
}  // namespace Game
