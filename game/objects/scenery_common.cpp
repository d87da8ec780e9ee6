// The fog question, the visual generator and positional sounds of the scenery.
#include "game/objects/scenery_common.h"

#include <cmath>
#include <utility>

#include "game/core/fog.h"
#include "sound/sound.h"

namespace Map {
namespace {
std::function<void(const char*, float)>& listener() {
  static std::function<void(const char*, float)> l;
  return l;
}
uint32_t g_visualState = 1;  // the C library starts as if seeded with 1
}  // namespace

bool sceneryFogged(int x, int y) { return fogCovers(x, y); }

bool sceneryFogPresent() {
  const cFog* f = levelFog();
  return f && !f->Has(kFlagHidden);
}

void sceneryVisualSeed(uint32_t seed) { g_visualState = seed; }

int32_t sceneryVisualRand() {
  g_visualState = g_visualState * 214013u + 2531011u;
  return int32_t((g_visualState >> 16) & 0x7FFF);
}

void sceneryPlayAt(const char* sound, float x) {
  if (!sound || !*sound) return;
  if (listener()) listener()(sound, x);
  if (sndIsInit()) sndPlayEx(sound, SND_SOUND, -1.0f, sndScreenPan(int(std::lround(x))), 1.0f);
}

void scenerySetSoundListener(std::function<void(const char*, float)> l) { listener() = std::move(l); }

}  // namespace Map
