// Trees: colours from dead to live, the sway's sheared quads, and the fog's effect on them.
#include "game/objects/scenery_tree.h"

#include <algorithm>
#include <cmath>

#include "anim/anim_sprite.h"
#include "game/core/event_codes.h"
#include "game/core/map.h"
#include "game/objects/object_level.h"
#include "game/objects/scenery_common.h"
#include "gfx/render_device.h"

namespace Map {
namespace {
// Record items: the twelve colour channels, then the generator keys, the sway and the flags.
constexpr size_t kLeavesLive = 0, kLeavesDead = 3, kTrunkLive = 6, kTrunkDead = 9, kRandomSeed = 12,
                 kRandomMax = 13, kScaleSeed = 14, kScaleMax = 15, kAmpl = 16, kPeriod = 17, kPhase = 18,
                 kScale = 19, kDeleteOutsideFog = 20;

int32_t channel(int32_t v) { return std::clamp(v, 0, 255); }

cTree::Rgb readRgb(const MapObjectRecord& r, size_t at) {
  return {channel(extInt(r, at)), channel(extInt(r, at + 1)), channel(extInt(r, at + 2))};
}
void writeRgb(MapObjectRecord& r, size_t at, const cTree::Rgb& c) {
  for (size_t i = 0; i < 3; ++i) setExtInt(r, at + i, c[i]);
}

void advanceSlot(AnimationState& a, int32_t ms) {
  if (a.IsValid() && !a.IsStopped() && a.Advance(ms) && !a.Has(AnimationState::kLoop)) a.Stop();
}
}  // namespace

void cTree::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  leavesLive = readRgb(r, kLeavesLive);
  leavesDead = readRgb(r, kLeavesDead);
  trunkLive = readRgb(r, kTrunkLive);
  trunkDead = readRgb(r, kTrunkDead);
  randomSeed = extInt(r, kRandomSeed);
  randomMax = extInt(r, kRandomMax);
  scaleRandomSeed = extInt(r, kScaleSeed);
  scaleRandomMax = extInt(r, kScaleMax);
  ampl = extFloat(r, kAmpl);
  period = extInt(r, kPeriod);
  phase = extFloat(r, kPhase);
  treeScale = extFloat(r, kScale);
  deleteOutsideFog = extInt(r, kDeleteOutsideFog) != 0 ? 1 : 0;
  MakeVariation();
}

void cTree::MakeVariation() {
  // Each tree's own shade and size come from its seeds, so a map shows the same wood every time.
  sceneryVisualSeed(uint32_t(randomSeed));
  offsets = {0, 0, 0};
  if (randomMax > 0) {
    const int64_t range = int64_t(randomMax) * 2;
    for (int32_t& o : offsets) o = int32_t(sceneryVisualRand() % range - randomMax);
  }
  sceneryVisualSeed(uint32_t(scaleRandomSeed));
  sizeVariation = 0.0f;
  if (scaleRandomMax != 0) {
    const int64_t range = int64_t(200) * scaleRandomMax;
    sizeVariation = float(sceneryVisualRand() % range) * 0.01f - float(scaleRandomMax);
  }
  sway.Set(period, phase, phase + ValueRamp::kWaveEnd, ValueRamp::Form::Repeat);
  sway.amplitude = ampl;
}

void cTree::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  writeRgb(r, kLeavesLive, leavesLive);
  writeRgb(r, kLeavesDead, leavesDead);
  writeRgb(r, kTrunkLive, trunkLive);
  writeRgb(r, kTrunkDead, trunkDead);
  setExtInt(r, kRandomSeed, randomSeed);
  setExtInt(r, kRandomMax, randomMax);
  setExtInt(r, kScaleSeed, scaleRandomSeed);
  setExtInt(r, kScaleMax, scaleRandomMax);
  setExtFloat(r, kAmpl, ampl);
  setExtInt(r, kPeriod, period);
  setExtFloat(r, kPhase, phase);
  setExtFloat(r, kScale, treeScale);
  setExtInt(r, kDeleteOutsideFog, deleteOutsideFog);
}

void cTree::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* o = dynamic_cast<const cTree*>(&from);
  if (!o) return;
  leavesLive = o->leavesLive;
  leavesDead = o->leavesDead;
  trunkLive = o->trunkLive;
  trunkDead = o->trunkDead;
  randomSeed = o->randomSeed;
  randomMax = o->randomMax;
  scaleRandomSeed = o->scaleRandomSeed;
  scaleRandomMax = o->scaleRandomMax;
  ampl = o->ampl;
  period = o->period;
  phase = o->phase;
  treeScale = o->treeScale;
  deleteOutsideFog = o->deleteOutsideFog;
  offsets = o->offsets;
  sizeVariation = o->sizeVariation;
  sway = o->sway;
  fogState = o->fogState;
  fogSettled = 0;
  fadeTimer = o->fadeTimer;
}

void cTree::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  if (treeScale == 0.0f) treeScale = 1.0f;
  fogState = sceneryFogged(int(x), int(y)) ? 1 : 0;
  if (fogState)
    ShowDead();
  else
    ShowLive();
  // The level's fog is loaded after its objects, hidden on a level without fog and opened where
  // the level starts open: what the map start saw is taken again at the first update.
  fogSettled = 0;
}

void cTree::ShowLive() {
  // A tree out of the fog is alive from the start; its growing is kept for the fog leaving it. A
  // looping animation is the tree's sway and plays on as it is.
  for (int slot : {kCrown, kTrunk}) {
    AnimationState& a = anims[slot];
    if (!a.IsValid() || a.Has(AnimationState::kLoop)) continue;
    a.SetFlag(AnimationState::kHoldOnEnd, a.Has(AnimationState::kHoldOnEnd));
    a.Timer().SetTime(a.Period());
    a.Stop();
  }
}

void cTree::ShowDead() {
  for (int slot : {kCrown, kTrunk}) {
    PeriodTimer& t = anims[slot].Timer();
    t.Set(PeriodTimer::kHoldAtEnd, false);
    t.SetTime(0);
    t.Stop();
  }
}

void cTree::ComeAlive() {
  for (int slot : {kCrown, kTrunk}) {
    AnimationState& a = anims[slot];
    if (!a.IsValid()) continue;
    a.SetFlag(AnimationState::kHoldOnEnd, a.Has(AnimationState::kHoldOnEnd));  // the hold comes back
    a.Start(0);
  }
}

void cTree::FogChanged(bool fogged) {
  fogState = fogged ? 1 : 0;
  GameEvent e = objEvent(Game::Event::TreeEvent, *this);
  e.value = fogState;
  objPost(e);
  if (fogged)
    ShowDead();
  else if (deleteOutsideFog)
    FadeOut();
  else
    ComeAlive();
}

void cTree::FadeOut() {
  if (Fading()) return;
  fadeTimer.SetPeriod(kFadeMs);
  fadeTimer.Restart();
}

void cTree::SettleFog(bool fogged) {
  fogSettled = 1;
  if (fogged != (fogState != 0)) {
    // No change anyone saw: the tree simply stands as the level begins, dead or alive, silently.
    fogState = fogged ? 1 : 0;
    if (fogged)
      ShowDead();
    else
      ShowLive();
  }
  // A tree of the fog has no place where a level's fog does not cover it.
  if (!fogged && deleteOutsideFog && sceneryFogPresent()) FadeOut();
}

void cTree::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  if (currentAnimation != kTrunk) advanceSlot(anims[kTrunk], ms);
  sway.Advance(int32_t(std::lround(double(ms) * treeScale)));
}

bool cTree::UpdateTimers(int32_t ms) {
  cObject::UpdateTimers(ms);
  // The fog is asked here, not while drawing: a run without pictures must see the same events.
  const bool fogged = sceneryFogged(int(x), int(y));
  if (!fogSettled)
    SettleFog(fogged);
  else if (fogged != (fogState != 0))
    FogChanged(fogged);
  if (fadeTimer.Advance(ms) && !Has(kFlagRemoved)) Kill();
  return Has(kFlagRemoved);
}

float cTree::LifeFraction() const {
  const AnimationState& crown = anims[kCrown];
  const AnimationState& trunk = anims[kTrunk];
  const AnimationState* a = nullptr;
  if (crown.IsValid() && (!trunk.IsValid() || crown.FrameCount() >= trunk.FrameCount()))
    a = &crown;
  else if (trunk.IsValid())
    a = &trunk;
  if (!a || a->Period() <= 0) return 1.0f;
  return std::clamp(float(a->Time()) / float(a->Period()), 0.0f, 1.0f);
}

cTree::Rgb cTree::Mix(const Rgb& dead, const Rgb& live) const {
  const float f = LifeFraction();
  Rgb out{};
  for (size_t i = 0; i < 3; ++i)
    out[i] = channel(int32_t(float(dead[i]) + float(live[i] - dead[i]) * f) + offsets[i]);
  return out;
}

cTree::Rgb cTree::CrownColour() const { return Mix(leavesDead, leavesLive); }
cTree::Rgb cTree::TrunkColour() const { return Mix(trunkDead, trunkLive); }

bool cTree::Tinted() const {
  for (const Rgb* c : {&leavesLive, &leavesDead, &trunkLive, &trunkDead})
    for (int32_t v : *c)
      if (v != 0) return true;
  return false;
}

float cTree::SwayShift() const { return std::sin(sway.Value()) * ampl * (treeScale + sizeVariation); }

float cTree::SizeFactor() const { return scale * (treeScale + sizeVariation); }

void cTree::QuadOf(int slot, const DrawContext& dc, float xy[8]) const {
  const AnimationState& a = anims[slot];
  const float s = SizeFactor();
  const float w = float(a.Width()) * s, h = float(a.Height()) * s;
  const float ax = x + float(animOffsets[slot].x) + dc.offsetX;
  const float ay = y + float(animOffsets[slot].y) + dc.offsetY;
  // Centred pictures hold the trunk's foot at their centre (the demo's trees are drawn so), others
  // stand on their bottom edge; the sway bends everything above the foot, the top edge the most.
  const bool centred = a.Has(AnimationState::kCentred);
  const float left = centred ? ax - w / 2 : ax;
  const float top = centred ? ay - h / 2 : ay;
  const float bottom = top + h;
  const float foot = centred ? ay : bottom;
  const float shift = SwayShift();
  const float topShift = shift;
  const float bottomShift = foot > top ? shift * (foot - bottom) / (foot - top) : 0.0f;
  float l = left, r = left + w;
  if (a.Has(AnimationState::kFlipX)) std::swap(l, r);
  const float quad[8] = {l + topShift, top, r + topShift, top, r + bottomShift, bottom, l + bottomShift, bottom};
  std::copy(quad, quad + 8, xy);
}

void cTree::DrawSlot(int slot, const DrawContext& dc, const Rgb& rgb, uint8_t alpha) {
  const AnimationState& a = anims[slot];
  if (!a.IsValid() || !a.Sprite()) return;
  float xy[8];
  QuadOf(slot, dc, xy);
  uint32_t mode = a.Has(AnimationState::kAdditive) ? kModeAdd : kModeTextureAlpha;
  uint32_t argb = 0xFFFFFFFFu;
  if (Tinted() || alpha < 255) {
    mode = kModeTintFade;
    argb = uint32_t(alpha) << 24 | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | uint32_t(rgb[2]);
  }
  animSpriteDrawQuad(mode, 15, xy, a.Sprite(), a.CurrentRow(), argb, 0);
}

void cTree::Draw(const DrawContext& dc) {
  uint32_t alpha = ((CurrentColour() >> 24) * dc.alpha) / 255;
  if (Fading()) alpha = uint32_t(float(alpha) * (1.0f - fadeTimer.Fraction()));
  const bool tinted = Tinted();
  const Rgb white{255, 255, 255};
  DrawSlot(kTrunk, dc, tinted ? TrunkColour() : white, uint8_t(alpha));
  DrawSlot(kCrown, dc, tinted ? CrownColour() : white, uint8_t(alpha));
}

void cTree::GetFrameInfo(int& width, int& height, CSprite*& sprite) const {
  const AnimationState& a = anims[kCrown].IsValid() ? anims[kCrown] : anims[kTrunk];
  width = int(std::lround(float(a.Width()) * SizeFactor()));
  height = int(std::lround(float(a.Height()) * SizeFactor()));
  sprite = a.Sprite();
}

}  // namespace Map
