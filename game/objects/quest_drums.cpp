// The drums: idle taps until a worker arrives to drum; then the drumming plays through, the map
// darkens under a black veil, a rain and a magic rain fall, the berries ripen, and the light
// returns.
#include "game/objects/quest_drums.h"

#include <algorithm>

#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/core/map_record.h"
#include "game/core/random.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_berry.h"
#include "game/objects/quest_heart_common.h"
#include "gfx/render.h"

namespace Map {
namespace {
constexpr const char* kSoundFile = "data/obstacles/sounds.ini";
constexpr const char* kIcons = "data/obstacles/icons.ini";
constexpr int32_t kScreenW = 1024, kScreenH = 768;
constexpr int32_t kVeilMax = 100;
const uint32_t kBerryType = NameHash("berry");
const uint32_t kBushSubtype = NameHash("berry");
}  // namespace

void cDrums::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  sounds = Core::cObjectSoundTrack();
  if (!r.name.empty()) sounds.Load(kSoundFile, r.name.c_str());
}

void cDrums::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = kIcons;
}

void cDrums::SaveChildScript(std::string& out) const { mapWriteString(out, kIcons, nullptr); }

bool cDrums::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  return objCostOffer(*this, int32_t(OperationKind::Repair), costs);
}

void cDrums::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  gainLabel.clear();
  nextGainLabel.clear();
  const ResourceVector c = Cost(OperationKind::Repair);
  costLabel = std::any_of(c.begin(), c.end(), [](int32_t v) { return v > 0; }) ? "#OBJECT_HINT_SPEND" : "";
}

int cDrums::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (withdrawn || !CanAfford(OperationKind::Repair)) return 1;
  operation.sendHomeAfterWork = 0;
  operation.walkVisibleState = 3;  // moveWithBag
  operation.workVisibleState = 4;  // happy
  operation.homeVisibleState = 1;  // stay
  return StartOperation(OperationKind::Repair) ? 0 : 1;
}

void cDrums::ResolveParent(const cMap& map) {
  cSubjectObject::ResolveParent(map);
  animTimer.Start(Anim(currentAnimation).Period() * RandomPeriod(6, 10));
  StartWorkEffect(0);
}

bool cDrums::OnPersonArrived(int32_t personId) {
  const bool ok = cSubjectObject::OnPersonArrived(personId);
  if (!ok || operation.state != OperationState::Started || sceneStage != 0) return ok;
  questWithdraw(*this);
  drumStage = DrumStart;
  SetAnimation(DrumStart, false);
  animTimer.Start(Anim(DrumStart).Period());
  sceneTimer.Start(kDarkenMs);
  sceneStage = 1;
  RaiseScene();
  sounds.StartSlot(0, int32_t(x), 0);
  StopWorkEffect(0);
  GameEvent e = objEvent(Game::Event::DrumSceneStarts, *this);
  objPost(e);
  return ok;
}

void cDrums::RaiseScene() {
  m_raised.clear();
  m_raised.emplace_back(id, layer);
  layer = kSceneLayer;
  cMap* m = objMap();
  if (!m) return;
  size_t cursor = 0;
  while (cObject* o = m->Iterate(kBerryType, 0, cursor)) {
    m_raised.emplace_back(o->id, o->layer);
    o->layer = kSceneLayer;
  }
}

void cDrums::LowerScene() {
  // Each object goes back to the layer it had, so the scene leaves the map's depth order as it was.
  cMap* m = objMap();
  for (const auto& [oid, oldLayer] : m_raised) {
    if (oid == id) {
      layer = oldLayer;
    } else if (cObject* o = m ? m->FindById(oid) : nullptr) {
      o->layer = oldLayer;
    }
  }
  m_raised.clear();
}

IntPoint cDrums::RainPoint() const {
  if (rainPoint != IntPoint{0, 0}) return rainPoint;
  if (cMap* m = objMap())
    if (cObject* bush = m->FindByType(kBerryType, kBushSubtype)) return bush->AnchorI();
  return AnchorI();
}

void cDrums::AnimationTimerEnded() {
  switch (drumStage) {
    case DrumIdle:
      drumStage = DrumTap;
      SetAnimation(DrumTap, false);
      animTimer.Start(Anim(DrumTap).Period());
      break;
    case DrumTap:
    case DrumFinal:
      drumStage = DrumIdle;
      SetAnimation(DrumIdle, false);
      animTimer.Start(Anim(DrumIdle).Period() * RandomPeriod(6, 10));
      break;
    case DrumStart:
      drumStage = DrumLoop;
      SetAnimation(DrumLoop, false);
      animTimer.Start(Anim(DrumLoop).Period() * kLoopRounds);
      break;
    case DrumLoop:
      drumStage = DrumFinal;
      SetAnimation(DrumFinal, false);
      animTimer.Start(Anim(DrumFinal).Period());
      SpawnMapEffect("HeadHit", layer + 1, -1, x, y);
      break;
  }
}

void cDrums::SceneTimerEnded() {
  const IntPoint rain = RainPoint();
  switch (sceneStage) {
    case 1:
      sceneStage = 2;
      sounds.StartSlot(1, rain.x, 0);
      SpawnMapEffect("Rain", kRainLayer, kRainMs, float(kScreenW / 2), 0.0f);
      sceneTimer.Start(kRainStageMs);
      break;
    case 2:
      sceneStage = 3;
      SpawnMapEffect("MagicRain", kMagicRainLayer, kMagicRainMs, float(rain.x), float(rain.y));
      berryTimer.Start(kBerryDelayMs);
      sceneTimer.Start(kMagicRainMs);
      break;
    case 3: {
      sceneStage = 4;
      sceneTimer.Start(kLightenMs);
      GameEvent e = objEvent(Game::Event::DrumRainPassed, *this);
      objPost(e);
      break;
    }
    case 4:
      sceneStage = 5;
      LowerScene();
      break;
    default:
      break;
  }
}

bool cDrums::UpdateTimers(int32_t ms) {
  sounds.Update(ms);
  if (animTimer.Advance(ms)) AnimationTimerEnded();
  // The berry timer goes first: started by the scene timer's end, it must not count this step.
  if (berryTimer.Advance(ms)) {
    GameEvent e = objEvent(Game::Event::BerriesAppear, *this);
    objPost(e);
  }
  if (sceneTimer.Advance(ms)) SceneTimerEnded();
  return cSubjectObject::UpdateTimers(ms);
}

int cDrums::VeilAlpha() const {
  const float f = std::clamp(sceneTimer.Progress(), 0.0f, 1.0f);
  switch (sceneStage) {
    case 1: return int(float(kVeilMax) * f);
    case 2:
    case 3: return kVeilMax;
    case 4: return int(float(kVeilMax) * (1.0f - f));
    default: return 0;
  }
}

void cDrums::Draw(const DrawContext& dc) {
  const int veil = VeilAlpha();
  if (veil > 0) grFillRect(0, 0, kScreenW, kScreenH, uint32_t(veil) << 24);
  cSubjectObject::Draw(dc);
}

void cDrums::DrawDebug(const DrawContext& dc) {
  cSubjectObject::DrawDebug(dc);
  if (!(debugShow & kShowBound)) return;
  const IntPoint p = RainPoint();
  const int px = int(float(p.x) + dc.offsetX), py = int(float(p.y) + dc.offsetY);
  grFillRect(px - 4, py - 4, px + 4, py + 4, kRainPointColour);
}

void cDrums::EditSupportPoint(IntPoint p, int key) {
  if (key == kRainPointKey) {
    rainPoint = p;
    return;
  }
  cSubjectObject::EditSupportPoint(p, key);
}
}  // namespace Map
