// The hearts that move: the bat heart carried from spot to spot, and the jumping heart that leaps
// out of the fog.
#include "game/objects/quest_hearts.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "anim/fx_simple_pyro.h"
#include "game/core/fog.h"
#include "game/core/map.h"
#include "game/objects/object_level.h"
#include "gfx/render.h"

namespace Map {

namespace {
// Bat heart items: stagesMax, then the four targets (x, y).
constexpr size_t kStagesMax = 0, kTargets = 1;
// Jumping heart items: the target (x, y).
constexpr size_t kTargetX = 0, kTargetY = 1;
constexpr uint32_t kDebugColour = 0xC80000FFu;

HeartFogQuery g_fogQuery = nullptr;

IntPoint rounded(const cObject& o) { return {int32_t(std::lround(o.x)), int32_t(std::lround(o.y))}; }

void debugSquare(int32_t x, int32_t y, const DrawContext& dc) {
  const int sx = x + int(dc.offsetX), sy = y + int(dc.offsetY);
  grFillRect(sx - 4, sy - 4, sx + 4, sy + 4, kDebugColour);
}
}  // namespace

void heartSetFogQuery(HeartFogQuery query) { g_fogQuery = query; }

bool heartFogCovers(int32_t x, int32_t y) {
  return g_fogQuery ? g_fogQuery(x, y) : fogCovers(x, y);
}

// ---- Bat heart ---------------------------------------------------------------------------------

cBatHeart::cBatHeart() = default;
cBatHeart::~cBatHeart() = default;

int cBatHeart::TryStartOperation(bool byPlayer) {
  const int r = cQuestSubject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (stage != kLying) return 1;
  const bool remain = FlightsRemain();
  operation.walkVisibleState = 2;
  operation.workVisibleState = 8;
  operation.homeVisibleState = remain ? 1 : 3;
  if (!StartOperation(OperationKind::GetResource)) return 1;
  operation.sendHomeAfterWork = remain ? 0 : 1;
  return 0;
}

bool cBatHeart::OnPersonArrived(int32_t personId) {
  if (!cQuestSubject::OnPersonArrived(personId)) return false;
  if (operation.state != OperationState::Started) return true;  // more persons to come
  if (FlightsRemain()) {
    stage = kTakingOff;
    stageTimer.Start(kTakeOffMs);
    StopWorkEffect(0);
    layer += 2;
    StartWorkEffect(1);
    questPlaySound("BatsFly", x);
    questPlaySound("WitchLaugh", x);
    questWithdraw(*this);
  } else {
    questCarryItem(*this, "heart");
    StopWorkEffect(0);
    fadeOut.Start(kFadeMs);
  }
  return true;
}

bool cBatHeart::UpdateTimers(int32_t ms) {
  if (stage == kFlying) {
    const IntPoint t = targets[std::clamp(flightsDone, 0, kMaxStages - 1)];
    const QuestPoint to{float(t.x), float(t.y)};
    const QuestPoint control{(flightStart.x + to.x) / 2.0f, (flightStart.y + to.y) / 2.0f - kArcHeight};
    const QuestPoint p = questCurvePoint(flightStart, control, to, questFraction(stageTimer));
    questMoveWithChildren(*this, p.x, p.y);
    if (workEffect1) workEffect1->SetPosition(p.x, p.y);
  } else if (stage == kLanding && (!workEffect1 || workEffect1->IsStopped(true))) {
    layer -= 2;
    stage = kLying;
    withdrawn = 0;
  }
  if (stageTimer.Advance(ms)) {
    if (stage == kTakingOff) {
      const IntPoint from = rounded(*this);
      flightStart = {float(from.x), float(from.y)};
      if (Has(kFlagObstacle)) {
        if (cMap* m = objMap()) {
          // The cells around the landing spot are taken now; the heart's own are given back.
          SetObstacle(*m, false);
          const IntPoint t = targets[std::clamp(flightsDone, 0, kMaxStages - 1)];
          const float keepX = x, keepY = y;
          x = float(t.x);
          y = float(t.y);
          SetObstacle(*m, true);
          x = keepX;
          y = keepY;
        }
      }
      stageTimer.Start(kFlightMs);
      stage = kFlying;
    } else if (stage == kFlying) {
      const IntPoint t = targets[std::clamp(flightsDone, 0, kMaxStages - 1)];
      questMoveWithChildren(*this, float(t.x), float(t.y));
      Set(kFlagClickable, true);
      ++flightsDone;
      stage = kLanding;
      StopWorkEffect(1);
      StartWorkEffect(0);
    }
  }
  const bool faded = cQuestSubject::UpdateTimers(ms);
  // The last heart fades as soon as it is reached, but it leaves the map only once the work is
  // over: gone earlier, nobody would send its taker home with it.
  const OperationState s = operation.state;
  return faded && (s == OperationState::Idle || s == OperationState::Held);
}

void cBatHeart::DrawDebug(const DrawContext& dc) {
  cQuestSubject::DrawDebug(dc);
  if (!(debugShow & kShowBound)) return;
  IntPoint from = rounded(*this);
  for (int i = 0; i < stagesMax; ++i) {
    debugSquare(targets[i].x, targets[i].y, dc);
    const int ox = int(dc.offsetX), oy = int(dc.offsetY);
    grLine(from.x + ox, from.y + oy, targets[i].x + ox, targets[i].y + oy, kDebugColour);
    from = targets[i];
  }
}

void cBatHeart::EditSupportPoint(IntPoint p, int key) {
  if (key >= '1' && key < '1' + kMaxStages) {
    targets[key - '1'] = p;
    return;
  }
  cQuestSubject::EditSupportPoint(p, key);
}

void cBatHeart::MakeEffects() {
  objStartEffect(workEffect0, "Heart", x, y);
  // One flight effect however the heart was loaded, so a map.ini level plays like its map.bin.
  if (!workEffect1) {
    workEffect1 = std::make_unique<FxManager::cSimplePyro>();
    workEffect1->Load("HeartBats");
  }
  workEffect1->SetPosition(x, y);
}

void cBatHeart::ApplyRecord(const MapObjectRecord& r) {
  cQuestSubject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  stagesMax = std::clamp(extInt(r, at + kStagesMax), 0, kMaxStages);
  for (int i = 0; i < kMaxStages; ++i)
    targets[i] = {extInt(r, at + kTargets + size_t(2 * i)), extInt(r, at + kTargets + size_t(2 * i + 1))};
  MakeEffects();
}

void cBatHeart::FillRecord(MapObjectRecord& r) const {
  cQuestSubject::FillRecord(r);
  const size_t at = objSubjectItems();
  setExtInt(r, at + kStagesMax, stagesMax);
  for (int i = 0; i < kMaxStages; ++i) {
    setExtInt(r, at + kTargets + size_t(2 * i), targets[i].x);
    setExtInt(r, at + kTargets + size_t(2 * i + 1), targets[i].y);
  }
}

void cBatHeart::CopyFrom(const cObject& from) {
  cQuestSubject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cBatHeart*>(&from)) {
    stagesMax = o->stagesMax;
    std::copy(std::begin(o->targets), std::end(o->targets), targets);
    MakeEffects();
  }
}

// ---- Jumping heart -----------------------------------------------------------------------------

cJumpingHeart::cJumpingHeart() = default;
cJumpingHeart::~cJumpingHeart() = default;

void cJumpingHeart::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  questTakeLabels(*this, OperationKind::GetResource, gainLabel, costLabel, nextGainLabel);
}

int cJumpingHeart::TryStartOperation(bool byPlayer) {
  const int r = cQuestSubject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (stage != kLying || !CanAfford(OperationKind::GetResource)) return 1;
  questTakeHome(operation);
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

bool cJumpingHeart::OnPersonArrived(int32_t personId) {
  if (!cQuestSubject::OnPersonArrived(personId)) return false;
  if (operation.state != OperationState::Started) return true;
  questStartCarrying(*this, "heart");
  return true;
}

bool cJumpingHeart::UpdateTimers(int32_t ms) {
  switch (stage) {
    case kWaiting: {
      const IntPoint p = rounded(*this);
      if (!heartFogCovers(p.x, p.y)) {
        stage = kAboutToJump;
        stageTimer.Start(kBeforeJumpMs);
      }
      break;
    }
    case kAboutToJump:
      if (stageTimer.Advance(ms)) {
        stage = kJumping;
        stageTimer.Start(kJumpMs);
        const IntPoint p = rounded(*this);
        jumpStart = {float(p.x), float(p.y)};
        StartWorkEffect(0);
      }
      break;
    case kJumping: {
      const bool landed = stageTimer.Advance(ms);
      const QuestPoint to{float(target.x), float(target.y)};
      const QuestPoint p = questCurvePoint(jumpStart, {to.x, 0.0f}, to, landed ? 1.0f : questFraction(stageTimer));
      questMoveWithChildren(*this, p.x, p.y);
      if (landed) {
        Set(kFlagClickable, true);
        layer -= 1;
        stage = kLying;
      }
      break;
    }
    case kLying:
      if (operation.state == OperationState::Finished && !fading) {
        questHeartFreed(*this, fade, kFadeMs, 0);
        fading = 1;
        questWithdraw(*this);
      }
      if (fade.Advance(ms)) Kill();
      break;
    default:
      break;
  }
  return cQuestSubject::UpdateTimers(ms);
}

void cJumpingHeart::Draw(const DrawContext& dc) {
  const IntPoint p = rounded(*this);
  if (workEffect0) workEffect0->SetPosition(float(p.x), float(p.y));
  if (stage == kWaiting || stage == kAboutToJump) return;
  if (stage == kJumping) {
    const float keep = scale;
    scale = keep * questFraction(stageTimer);
    cQuestSubject::Draw(dc);
    scale = keep;
    return;
  }
  if (fading) {
    questDrawFading(*this, dc, -1, 1.0f - questFraction(fade));
    return;
  }
  cQuestSubject::Draw(dc);
}

void cJumpingHeart::DrawDebug(const DrawContext& dc) {
  cQuestSubject::DrawDebug(dc);
  if (debugShow & kShowBound) debugSquare(target.x, target.y, dc);
}

void cJumpingHeart::EditSupportPoint(IntPoint p, int key) {
  if (key == '1') {
    target = p;
    return;
  }
  cQuestSubject::EditSupportPoint(p, key);
}

void cJumpingHeart::ApplyRecord(const MapObjectRecord& r) {
  cQuestSubject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  target = {extInt(r, at + kTargetX), extInt(r, at + kTargetY)};
  if (!workEffect0) {
    workEffect0 = std::make_unique<FxManager::cSimplePyro>();
    workEffect0->Load("Heart");
  }
  workEffect0->SetPosition(x, y);
}

void cJumpingHeart::FillRecord(MapObjectRecord& r) const {
  cQuestSubject::FillRecord(r);
  const size_t at = objSubjectItems();
  setExtInt(r, at + kTargetX, target.x);
  setExtInt(r, at + kTargetY, target.y);
}

void cJumpingHeart::CopyFrom(const cObject& from) {
  cQuestSubject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cJumpingHeart*>(&from)) target = o->target;
}
}  // namespace Map
