// What the scenery classes share: whether the fog covers a point, the small visual generator that
// stands in for the C library's (seeded by the trees, drawn by the reflections, never the game's
// logged numbers), and playing a sound at a map x.
#pragma once
#include <cstdint>
#include <functional>

namespace Map {

// True while a visible fog of the running level covers the point; false without fog.
bool sceneryFogged(int x, int y);
// True while the running level shows a fog at all (a level without fog keeps its fog hidden).
bool sceneryFogPresent();

// The visual generator: the C library's arithmetic (state * 214013 + 2531011, 15 bits from the
// high half), with its own state so nothing else can disturb the pictures it picks.
void sceneryVisualSeed(uint32_t seed);
int32_t sceneryVisualRand();  // 0 to 32767

// A one-shot sound at map x, when the sound system runs. The listener (tests, logs) is told every
// sound the scenery asks for, with or without a sound system; empty to stop.
void sceneryPlayAt(const char* sound, float x);
void scenerySetSoundListener(std::function<void(const char* sound, float x)> listener);

}  // namespace Map
