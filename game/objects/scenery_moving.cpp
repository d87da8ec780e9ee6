// Wandering creatures and butterflies: their choices at each timer end, their walks and drawing.
#include "game/objects/scenery_moving.h"

#include <algorithm>
#include <cmath>

#include "game/core/map.h"
#include "game/core/random.h"
#include "game/objects/object_level.h"
#include "gfx/render.h"
#include "gfx/render_device.h"

namespace Map {
namespace {
constexpr size_t kArealXS = 0, kArealYS = 1, kIdleMin = 2, kIdleMax = 3, kActionMin = 4, kActionMax = 5,
                 kActivity = 6, kFlipX = 7, kScale = 8, kSpeed = 9;
// A way shorter than this is no way: the creature is already there.
constexpr float kNoDistance = 0.01f;
}  // namespace

cMovingCreature::WalkChoice cMovingCreature::WalkSlotFor(float fromX, float fromY, float toX, float toY) {
  const float dx = toX - fromX;
  const float dy = fromY - toY;  // above zero: upwards on the screen
  if (std::fabs(dx) < 10.0f) return {dy > 0.0f ? kWalkUp : kWalkDown, false};
  if (std::fabs(dy) < 10.0f) return {kWalkRight, dx <= 0.0f};
  return {dy > 0.0f ? kWalkUpRight : kWalkDownRight, dx <= 0.0f};
}

void cMovingCreature::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  arealXS = extInt(r, kArealXS);
  arealYS = extInt(r, kArealYS);
  idlePeriodMin = extInt(r, kIdleMin);
  idlePeriodMax = extInt(r, kIdleMax);
  actionPeriodMin = extInt(r, kActionMin);
  actionPeriodMax = extInt(r, kActionMax);
  activityFactor = extInt(r, kActivity);
  flipX = extInt(r, kFlipX) != 0 ? 1 : 0;
  creatureScale = extFloat(r, kScale);
  speed = extFloat(r, kSpeed);
}

void cMovingCreature::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  setExtInt(r, kArealXS, arealXS);
  setExtInt(r, kArealYS, arealYS);
  setExtInt(r, kIdleMin, idlePeriodMin);
  setExtInt(r, kIdleMax, idlePeriodMax);
  setExtInt(r, kActionMin, actionPeriodMin);
  setExtInt(r, kActionMax, actionPeriodMax);
  setExtInt(r, kActivity, activityFactor);
  setExtInt(r, kFlipX, flipX);
  setExtFloat(r, kScale, creatureScale);
  setExtFloat(r, kSpeed, speed);
}

void cMovingCreature::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* o = dynamic_cast<const cMovingCreature*>(&from);
  if (!o) return;
  arealXS = o->arealXS;
  arealYS = o->arealYS;
  idlePeriodMin = o->idlePeriodMin;
  idlePeriodMax = o->idlePeriodMax;
  actionPeriodMin = o->actionPeriodMin;
  actionPeriodMax = o->actionPeriodMax;
  activityFactor = o->activityFactor;
  flipX = o->flipX;
  creatureScale = o->creatureScale;
  speed = o->speed;
  baseSlot = o->baseSlot;
  homeX = o->homeX;
  homeY = o->homeY;
  velX = o->velX;
  velY = o->velY;
  timer = o->timer;
  fade = o->fade;
  mirrored = o->mirrored;
}

void cMovingCreature::StartAtHome() {
  homeX = x;
  homeY = y;
  if (creatureScale == 0.0f) creatureScale = 1.0f;
  // A creature that cannot move forward would never arrive: no speed, or one backwards, walks at
  // the usual pace.
  if (!(speed > 0.0f)) speed = kDefaultSpeed;
  timer.SetPeriod(RandomPeriod(idlePeriodMin, idlePeriodMax));
  timer.Restart();
  baseSlot = 0;
  velX = velY = 0.0f;
  PlaySlot(baseSlot, false);
}

void cMovingCreature::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  StartAtHome();
}

void cMovingCreature::PlaySlot(int slot, bool mirror) {
  // A slot the data left empty would make the creature vanish while it moves: it keeps its base
  // picture instead.
  if (slot < 0 || slot >= kAnimationSlots || !anims[slot].IsValid()) slot = baseSlot;
  SetAnimation(slot, false);
  mirrored = mirror ? 1 : 0;
}

void cMovingCreature::RandomTarget(float& tx, float& ty) const {
  const float oy = RandomPeriodF(-float(arealYS), float(arealYS));
  const float ox = RandomPeriodF(-float(arealXS), float(arealXS));
  tx = homeX + ox;
  ty = homeY + oy;
}

bool cMovingCreature::HeadFor(float tx, float ty, int slot, bool mirror) {
  const float dx = tx - x, dy = ty - y;
  const float distance = std::sqrt(dx * dx + dy * dy);
  if (distance < kNoDistance) return false;
  PlaySlot(slot, mirror);
  double duration = double(distance) / double(speed) * 1000.0;
  const AnimationState& a = anims[currentAnimation];
  if (a.Sprite() && a.Period() > 0) duration = std::ceil(duration / a.Period()) * a.Period();
  const int32_t ms = std::max<int32_t>(1, int32_t(std::ceil(duration)));
  // Unit direction times the pace that covers the way in exactly the timer's period.
  const float pace = distance / float(ms) * 1000.0f;
  velX = dx / distance * pace;
  velY = dy / distance * pace;
  timer.SetPeriod(ms);
  timer.Restart();
  return true;
}

void cMovingCreature::Stand(int32_t periodMs) {
  timer.SetPeriod(periodMs);
  timer.Restart();
  PlaySlot(baseSlot, mirrored != 0);
  velX = velY = 0.0f;
}

void cMovingCreature::StartFade(int32_t ms, float from, float to) { fade.Set(ms, from, to); }

uint8_t cMovingCreature::Alpha() const {
  if (fade.IsStopped()) return 255;
  return uint8_t(std::clamp(std::lround(fade.Value()), 0L, 255L));
}

void cMovingCreature::Move(int32_t ms) {
  if (velX == 0.0f && velY == 0.0f) return;
  float nx = x + velX * float(ms) * 0.001f;
  float ny = y + velY * float(ms) * 0.001f;
  nx = std::clamp(nx, homeX - float(std::abs(arealXS)), homeX + float(std::abs(arealXS)));
  ny = std::clamp(ny, homeY - float(std::abs(arealYS)), homeY + float(std::abs(arealYS)));
  SetAnchorF(nx, ny);
}

void cMovingCreature::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  fade.Advance(ms);
  if (!timer.Advance(ms)) {
    Move(ms);
    return;
  }
  const int32_t k = RandomInt(activityFactor);
  if (k == 0) {
    Stand(RandomPeriod(idlePeriodMin, idlePeriodMax));
  } else if (k == 1) {
    timer.SetPeriod(RandomPeriod(actionPeriodMin, actionPeriodMax));
    timer.Restart();
    PlaySlot(baseSlot + 1, mirrored != 0);
    velX = velY = 0.0f;
  } else {
    float tx = 0.0f, ty = 0.0f;
    RandomTarget(tx, ty);
    const WalkChoice w = WalkSlotFor(x, y, tx, ty);
    // A target where the creature already stands is no walk (its way would have no length).
    if (!HeadFor(tx, ty, w.slot, w.mirrored)) Stand(RandomPeriod(idlePeriodMin, idlePeriodMax));
  }
}

bool cMovingCreature::UpdateTimers(int32_t ms) {
  if (currentAnimation == kLeaveSlot && anims[kLeaveSlot].IsStopped()) SetHidden(true);
  cObject::UpdateTimers(ms);
  return Has(kFlagRemoved);
}

void cMovingCreature::Draw(const DrawContext& dc) {
  if (Has(kFlagHidden)) return;
  AnimationState& a = anims[currentAnimation];
  if (!a.IsValid()) return;
  const bool flip = (mirrored != 0) != (flipX != 0);
  if (flip) a.SetFlag(AnimationState::kFlipX, !a.Has(AnimationState::kFlipX));
  const uint32_t colour = CurrentColour();
  const uint32_t alpha = (colour >> 24) * dc.alpha / 255 * Alpha() / 255;
  // Fully there it draws as any picture; fading, through the colour's alpha.
  const uint32_t mode = Alpha() < 255 ? kModeFade : 0x100;
  const IntPoint o = animOffsets[currentAnimation];
  a.DrawRotated(x + float(o.x) + dc.offsetX, y + float(o.y) + dc.offsetY, 0.0f, mode, 15,
                (colour & 0x00FFFFFFu) | (alpha << 24), scale * creatureScale, 0, -1);
  if (flip) a.SetFlag(AnimationState::kFlipX, !a.Has(AnimationState::kFlipX));
}

void cMovingCreature::DrawDebug(const DrawContext& dc) {
  cObject::DrawDebug(dc);
  if (!(debugShow & kShowBound)) return;
  const int hx = int(homeX + dc.offsetX), hy = int(homeY + dc.offsetY);
  grFrameRect(hx - arealXS, hy - arealYS, hx + arealXS, hy + arealYS, 0xFF40A0FFu);
}

// ---- Map::cMovingButterfly -----------------------------------------------------------------------

cMovingButterfly::cMovingButterfly() { Set(kFlagClickable, false); }

void cMovingButterfly::ResolveParent(const cMap& map) {
  cMovingCreature::ResolveParent(map);
  // It takes off at the first step.
  timer.SetPeriod(1);
  timer.Restart();
}

cMovingCreature::WalkChoice cMovingButterfly::FlightSlotFor(float tx, float ty) const {
  WalkChoice w = WalkSlotFor(x, y, tx, ty);
  if (!anims[w.slot].IsValid()) w.slot = baseSlot;
  w.mirrored = tx - x < 0.0f;
  return w;
}

void cMovingButterfly::FlyOn() {
  float tx = 0.0f, ty = 0.0f;
  RandomTarget(tx, ty);
  const WalkChoice w = FlightSlotFor(tx, ty);
  if (HeadFor(tx, ty, w.slot, w.mirrored)) return;
  // Already there: it picks another target at the next step.
  velX = velY = 0.0f;
  timer.SetPeriod(1);
  timer.Restart();
}

void cMovingButterfly::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  fade.Advance(ms);
  if (timer.Advance(ms))
    FlyOn();
  else
    Move(ms);
}

}  // namespace Map
