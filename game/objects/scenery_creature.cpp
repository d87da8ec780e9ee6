// The simple creature's idling, actions, pointer and click reactions, and the shared sound timer.
#include "game/objects/scenery_creature.h"

#include <algorithm>
#include <cstdint>

#include "files/name_hash.h"
#include "game/core/event_codes.h"
#include "game/core/map.h"
#include "game/core/random.h"
#include "game/objects/object_level.h"
#include "game/objects/scenery_common.h"

namespace Map {
namespace {
constexpr size_t kIdleMin = 0, kIdleMax = 1, kActionMin = 2, kActionMax = 3, kFlipX = 4, kScale = 5, kSound = 6;

// A logged coin toss: bit 30 of the generator's new state.
bool loggedCoin() {
  RandomValue();
  return ((uint32_t(randomStateA()) >> 30) & 1u) != 0;
}

PeriodTimer g_soundTimer{kCreatureSoundPeriodMs, PeriodTimer::kStopped};
bool g_soundRestart = false;
}  // namespace

// ---- The shared creature-sound timer ------------------------------------------------------------

void sceneryCreatureSoundReset() {
  g_soundTimer = PeriodTimer{kCreatureSoundPeriodMs, PeriodTimer::kStopped};
  g_soundRestart = false;
}

void sceneryCreatureSoundTick(int32_t ms) {
  if (g_soundRestart) {
    g_soundRestart = false;
    g_soundTimer.Restart();
    return;
  }
  g_soundTimer.Advance(ms);
}

bool sceneryCreatureSoundFree() { return g_soundTimer.IsStopped(); }
void sceneryCreatureSoundPlayed() { g_soundRestart = true; }
const PeriodTimer& sceneryCreatureSoundTimer() { return g_soundTimer; }

// ---- Map::cSimpleCreature ------------------------------------------------------------------------

cSimpleCreature::cSimpleCreature() { Set(kFlagClickable, true); }

void cSimpleCreature::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  idlePeriodMin = extInt(r, kIdleMin);
  idlePeriodMax = extInt(r, kIdleMax);
  actionPeriodMin = extInt(r, kActionMin);
  actionPeriodMax = extInt(r, kActionMax);
  flipX = extInt(r, kFlipX) != 0 ? 1 : 0;
  creatureScale = extFloat(r, kScale);
  sound = extString(r, kSound).substr(0, kSoundMax);
}

void cSimpleCreature::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  setExtInt(r, kIdleMin, idlePeriodMin);
  setExtInt(r, kIdleMax, idlePeriodMax);
  setExtInt(r, kActionMin, actionPeriodMin);
  setExtInt(r, kActionMax, actionPeriodMax);
  setExtInt(r, kFlipX, flipX);
  setExtFloat(r, kScale, creatureScale);
  setExtString(r, kSound, sound);
}

void cSimpleCreature::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* o = dynamic_cast<const cSimpleCreature*>(&from);
  if (!o) return;
  idlePeriodMin = o->idlePeriodMin;
  idlePeriodMax = o->idlePeriodMax;
  actionPeriodMin = o->actionPeriodMin;
  actionPeriodMax = o->actionPeriodMax;
  flipX = o->flipX;
  creatureScale = o->creatureScale;
  acting = o->acting;
  timer = o->timer;
  sound = o->sound;
  clicked = 0;
}

bool cSimpleCreature::LoadIni(const gFileName& file, const char* section) {
  if (!cObject::LoadIni(file, section)) return false;
  timer.SetPeriod(RandomPeriod(idlePeriodMin, idlePeriodMax));
  timer.Restart();
  return true;
}

void cSimpleCreature::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  timer.SetPeriod(RandomPeriod(idlePeriodMin, idlePeriodMax));
  timer.Restart();
  // Creatures of one kind should not idle in step: each starts somewhere in its cycle.
  AnimationState& a = anims[currentAnimation];
  const int32_t start = int32_t(int64_t(a.Period()) * RandomValue(true) / 32768);
  a.Timer().SetTime(a.Timer().IsBackwards() ? a.Period() - start : start);
}

void cSimpleCreature::PlayTimed(int slot) {
  SetAnimation(slot, false);
  timer.SetPeriod(anims[slot].Period());
  timer.Restart();
}

void cSimpleCreature::StartAction() {
  int slot = kAction1;
  if (anims[kAction2].IsValid() && loggedCoin()) slot = kAction2;
  PlayTimed(slot);
  acting = 1;
}

void cSimpleCreature::StartIdle() {
  SetAnimation(kIdle, false);
  timer.SetPeriod(RandomPeriod(idlePeriodMin, idlePeriodMax));
  timer.Restart();
  acting = 0;
}

void cSimpleCreature::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  if (!timer.Advance(ms)) return;
  if (acting)
    StartIdle();
  else
    StartAction();
  if (acting && !sound.empty() && sceneryCreatureSoundFree()) {
    sceneryPlayAt(sound.c_str(), x);
    sceneryCreatureSoundPlayed();
  }
}

bool cSimpleCreature::UpdateTimers(int32_t ms) {
  cObject::UpdateTimers(ms);
  return false;
}

bool cSimpleCreature::HoverEnter() {
  // A creature that belongs to a parent lights up with it instead of acting on its own.
  if (parentId == kNoId && !acting && anims[kAction1].IsValid()) StartAction();
  return true;
}

bool cSimpleCreature::Click(bool) {
  if (!clicked) {
    static const uint32_t kHammer = NameHash("Hammer0");
    static const uint32_t kHelmets[] = {NameHash("Helmet0"), NameHash("Helmet0g"), NameHash("shield0"),
                                        NameHash("shield0g"), NameHash("barrel0"),  NameHash("barrel0g")};
    const uint32_t idle = animHashes[kIdle];
    if (idle != 0 && idle == kHammer) {
      GameEvent e = objEvent(Game::Event::HammerCreatureClicked, *this);
      objPost(e);
    } else if (idle != 0 && std::find(std::begin(kHelmets), std::end(kHelmets), idle) != std::end(kHelmets)) {
      GameEvent e = objEvent(Game::Event::CreatureClicked, *this);
      objPost(e);
    }
    clicked = 1;
  }
  if (parentId == kNoId && currentAnimation != kReaction1 && currentAnimation != kReaction2 &&
      anims[kReaction1].IsValid()) {
    int slot = kReaction1;
    if (anims[kReaction2].IsValid() && loggedCoin()) slot = kReaction2;
    PlayTimed(slot);
    acting = 1;
  }
  // A creature takes no orders: nothing is queued for it.
  return false;
}

bool cSimpleCreature::IsHighlighted() const {
  return parentId != kNoId && (flags & (kFlagPointerOver | kFlagTintPulse)) != 0;
}

void cSimpleCreature::Draw(const DrawContext& dc) {
  const float objectScale = scale;
  scale = objectScale * creatureScale;
  AnimationState& a = anims[currentAnimation];
  if (flipX) a.SetFlag(AnimationState::kFlipX, !a.Has(AnimationState::kFlipX));
  cObject::Draw(dc);
  if (flipX) a.SetFlag(AnimationState::kFlipX, !a.Has(AnimationState::kFlipX));
  scale = objectScale;
}

}  // namespace Map
