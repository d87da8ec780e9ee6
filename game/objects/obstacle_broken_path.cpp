// Broken roads and bridges: the repair order, the seven-step fade of the broken picture, the arch
// height persons walk on, and the way a repaired patch leaves the path free.
#include "game/objects/obstacle_broken_path.h"

#include <algorithm>
#include <cmath>

#include "anim/fx_simple_pyro.h"
#include "game/core/map.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"

namespace Map {
namespace {
constexpr size_t kBroken = 0, kHidden = 1, kDrawAfter = 2, kAngle = 3, kImageAngle = 4, kHeight = 5, kConvex = 6,
                 kFlipY = 7;
constexpr float kMirrorTurn = 4.712389f;

bool isStatue(std::string_view s) { return s.size() == 7 && s.substr(0, 6) == "statue" && s[6] >= '1' && s[6] <= '5'; }
}  // namespace

std::string brokenPathSubtype(std::string_view subtypeKey, int32_t convex) {
  if (!subtypeKey.empty()) return std::string(subtypeKey);
  return convex != 0 ? "bridge" : "roadcrack";
}

int32_t cBrokenPathPatch::FadePeriod(int32_t durationMs) { return std::max(1, durationMs / kFadeSteps); }

bool cBrokenPathPatch::GetOperationOffer(ResourceVector& gains, ResourceVector& costs,
                                         ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  if (!broken) return true;
  return objCostOffer(*this, int32_t(OperationKind::Repair), costs);
}

void cBrokenPathPatch::GetOfferLabels(std::string& gainLabel, std::string& costLabel,
                                      std::string& nextGainLabel) const {
  objSpendLabels(gainLabel, costLabel, nextGainLabel);
}

std::string cBrokenPathPatch::GetStatusText() const {
  std::string s = cSubjectObject::GetStatusText();
  if (!s.empty()) return s;
  return operation.state == OperationState::Working ? "#OBJECT_HINT_REPAIR" : std::string();
}

int cBrokenPathPatch::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (!broken || !CanAfford(OperationKind::Repair)) return 1;
  operation.walkVisibleState = 2;
  operation.workVisibleState = personVisibleState;
  operation.homeVisibleState = 2;
  return StartOperation(OperationKind::Repair) ? 0 : 1;
}

bool cBrokenPathPatch::OnPersonArrived(int32_t personId) {
  const bool ok = cSubjectObject::OnPersonArrived(personId);
  BeginWork();
  return ok;
}

void cBrokenPathPatch::BeginWork() {
  if (operation.state != OperationState::Started || fadePeriod > 0 || !broken) return;
  const int32_t duration = operation.duration;
  GameEvent e = objEvent(Game::Event::OperationProgress, *this);
  e.value = duration;
  objPost(e);
  objStartEffect(workEffect0, "RepairDust_small", x, y);
  workSound.Start(*this, duration);
  fadePeriod = FadePeriod(duration);
  fadeTime = 0;
  fadeStepsDone = 0;
}

void cBrokenPathPatch::OnOperationFinished() {
  if (broken && operation.kind == OperationKind::Repair) MarkRepaired();
  cSubjectObject::OnOperationFinished();
}

void cBrokenPathPatch::MarkRepaired() {
  workSound.Stop();
  broken = 0;
  frame = 0;
  fadePeriod = 0;
  brokenAlpha = 255;
  // A patch nobody saw while it was broken fades in once mended; one always in view only changes
  // its picture.
  if (hidden) hideFade.Start(kHideFadeMs);
  hidden = 0;
  SetHidden(false);
  if (workEffect0) workEffect0->Stop(false);
  // A mended road no longer blocks the way; whatever waited behind it becomes reachable.
  objClearObstacle(*this);
  GameEvent e = objEvent(Game::Event::OperationFinished, *this);
  objPost(e);
  // On the map, not on the patch: a statue that leaves play after its repair still shines.
  if (isStatue(subtypeName)) SpawnMapEffect("SunShine", layer + 1, -1, x, y);
  withdrawn = 1;
  Set(kFlagClickable, false);
  if (cMap* m = objMap()) HideChildren(*m);
  if (!drawAfterRepair) RemoveFromPlay();
}

bool cBrokenPathPatch::HoverEnter() { return broken ? cSubjectObject::HoverEnter() : false; }

float cBrokenPathPatch::GetHeightAt(IntPoint p) const {
  if (heightMax == 0 || boundHalfSize.x <= 0) return 0.0f;
  float a = angle + imageAngle;
  if (flipped) a += kMirrorTurn;
  const float dx = std::cos(a), dy = std::sin(a);
  const float half = float(boundHalfSize.x);
  const float ax = x - dx * half, ay = y - dy * half;
  const float len = 2.0f * half;
  float t = ((float(p.x) - ax) * dx + (float(p.y) - ay) * dy) / len;
  t = std::clamp(t, 0.0f, 1.0f);  // beyond either end the patch is flat ground again
  const float h = float(heightMax) * 2.0f * t * (1.0f - t);
  return convex ? h : -h;
}

bool cBrokenPathPatch::UpdateTimers(int32_t ms) {
  BeginWork();  // persons that were on the spot already start without an arrival
  if (broken && fadePeriod > 0) {
    fadeTime += std::max(0, ms);
    while (fadeTime >= fadePeriod && fadeStepsDone < kFadeSteps) {
      fadeTime -= fadePeriod;
      ++fadeStepsDone;
      brokenAlpha = std::max(0, brokenAlpha - kFadeStep);
    }
  }
  // A cancelled repair shows the broken picture whole again.
  if (broken && fadePeriod > 0 && operation.state == OperationState::Idle) {
    fadePeriod = 0;
    brokenAlpha = 255;
    if (workEffect0) workEffect0->Stop(true);
    workSound.Stop();
  }
  workSound.Update(ms);
  hideFade.Advance(ms);
  return cSubjectObject::UpdateTimers(ms);
}

void cBrokenPathPatch::Draw(const DrawContext& dc) {
  if (hidden) return;
  const AnimationState& a = anims[currentAnimation];
  if (a.IsValid()) {
    const float shown = hideFade.running ? std::clamp(hideFade.Progress(), 0.0f, 1.0f) : 1.0f;
    const float f = objFadeOutFactor(*this) * float(dc.alpha) / 255.0f * shown;
    auto argb = [f](int32_t alpha) {
      const uint32_t al = uint32_t(std::clamp(float(alpha) * f, 0.0f, 255.0f));
      return (al << 24) | 0x00FFFFFFu;
    };
    const IntPoint o = animOffsets[currentAnimation];
    const float px = x + float(o.x) + dc.offsetX, py = y + float(o.y) + dc.offsetY;
    const float turn = imageAngle;
    const bool fading = broken && fadePeriod > 0;
    const bool rotated = angle != 0.0f || imageAngle != 0.0f;
    const int frames = std::max(1, a.FrameCount());
    const int f0 = 0, f1 = std::min(1, frames - 1);
    if (fading && rotated) {
      a.DrawRotated(px, py, turn, 0x100, 15, argb(255), scale, 0, f0);
      a.DrawRotated(px, py, turn, 0x100, 15, argb(brokenAlpha), scale, 0, f1);
    } else if (fading) {
      a.DrawRotated(px, py, 0.0f, 0x100, 15, argb(255 - brokenAlpha), scale, 0, f0);
      a.DrawRotated(px, py, 0.0f, 0x100, 15, argb(brokenAlpha), scale, 0, f1);
    } else {
      a.DrawRotated(px, py, rotated ? turn : 0.0f, 0x100, 15, argb(255), scale, 0, std::min(frame, frames - 1));
    }
  }
  objDrawSignsAndEffects(*this, dc);
}

void cBrokenPathPatch::SaveChildScript(std::string& out) const {
  mapWriteString(out, "data/obstacles/icons.ini", nullptr);
}

void cBrokenPathPatch::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  broken = extInt(r, at + kBroken) != 0;
  hidden = extInt(r, at + kHidden) != 0;
  drawAfterRepair = extInt(r, at + kDrawAfter) != 0;
  angle = extFloat(r, at + kAngle);
  imageAngle = extFloat(r, at + kImageAngle);
  heightMax = extInt(r, at + kHeight);
  convex = extInt(r, at + kConvex) != 0;
  flipY = extInt(r, at + kFlipY) != 0;
  SetSubtype(brokenPathSubtype(r.subtype, convex));
  frame = broken ? 1 : 0;
  brokenAlpha = 255;
  fadePeriod = 0;
  if (!broken) {
    // A patch that is whole from the start offers nothing.
    withdrawn = 1;
    Set(kFlagClickable, false);
  }
}

void cBrokenPathPatch::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = "data/obstacles/icons.ini";
  const size_t at = objSubjectItems();
  setExtInt(r, at + kBroken, broken);
  setExtInt(r, at + kHidden, hidden);
  setExtInt(r, at + kDrawAfter, drawAfterRepair);
  setExtFloat(r, at + kAngle, angle);
  setExtFloat(r, at + kImageAngle, imageAngle);
  setExtInt(r, at + kHeight, heightMax);
  setExtInt(r, at + kConvex, convex);
  setExtInt(r, at + kFlipY, flipY);
}

void cBrokenPathPatch::CopyFrom(const cObject& from) {
  cSubjectObject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cBrokenPathPatch*>(&from)) {
    broken = o->broken;
    hidden = o->hidden;
    drawAfterRepair = o->drawAfterRepair;
    angle = o->angle;
    imageAngle = o->imageAngle;
    heightMax = o->heightMax;
    convex = o->convex;
    flipY = o->flipY;
    frame = o->frame;
  }
}
}  // namespace Map
