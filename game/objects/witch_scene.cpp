// The witch scenes' shared stepping (stage timer, effects, sound track, targets by tag) and the
// reference scene of the first witch with its ice-ball variant.
#include "game/objects/witch_scene.h"

#include "anim/anim_catalogue.h"
#include "anim/fx_bezier_pyro.h"
#include "base/diag.h"
#include "files/name_hash.h"
#include "game/core/event_codes.h"
#include "game/core/map.h"
#include "game/objects/object_level.h"

namespace Map {

// ---- The shared scene ----------------------------------------------------------------------------

cWitchScene::cWitchScene() { Set(kFlagClickable, false); }
cWitchScene::~cWitchScene() = default;

void cWitchScene::SetLooks(std::initializer_list<const char*> names) {
  m_looks.assign(names.begin(), names.end());
  for (size_t i = 0; i < m_looks.size() && i < size_t(kAnimationSlots); ++i)
    if (!anims[i].IsValid()) anims[i] = Core::animManager().GetAnimation(m_looks[i]);
}

void cWitchScene::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  // The map may name other pictures; the slots it leaves empty keep the scene's own.
  for (size_t i = 0; i < m_looks.size() && i < size_t(kAnimationSlots); ++i)
    if (!anims[i].IsValid()) anims[i] = Core::animManager().GetAnimation(m_looks[i]);
  Set(kFlagClickable, false);
}

size_t cWitchScene::AddEffect(std::string_view name, bool flying) {
  std::unique_ptr<FxManager::cSimplePyro> fx;
  if (flying)
    fx = std::make_unique<FxManager::cBezierPyro>();
  else
    fx = std::make_unique<FxManager::cSimplePyro>();
  fx->Load(std::string(name).c_str());
  effects.push_back(std::move(fx));
  return effects.size() - 1;
}

FxManager::cBezierPyro* cWitchScene::Flying(size_t i) const {
  return dynamic_cast<FxManager::cBezierPyro*>(Effect(i));
}

void cWitchScene::StartEffectAt(size_t i, float px, float py) {
  if (FxManager::cSimplePyro* fx = Effect(i)) {
    fx->SetPosition(px, py);
    fx->Start();
  }
}

void cWitchScene::StopEffect(size_t i) {
  if (FxManager::cSimplePyro* fx = Effect(i)) fx->Stop(false);
}

void cWitchScene::GoTo(int32_t nextStage, int32_t timerMs) {
  stage = nextStage;
  stageTimer.SetPeriod(timerMs);
  stageTimer.Restart();
}

void cWitchScene::PlaySlot(int slot) {
  if (slot >= 0 && slot < kAnimationSlots && anims[slot].IsValid()) SetAnimation(slot, false);
}

int32_t cWitchScene::SlotPeriod(int slot) const {
  if (slot < 0 || slot >= kAnimationSlots || !anims[slot].IsValid() || anims[slot].Period() <= 0)
    return kFallbackPeriodMs;
  return anims[slot].Period();
}

cObject* cWitchScene::FindTarget(std::string_view targetTag) const {
  cMap* map = objMap();
  cObject* o = map ? map->FindByTag(NameHash(targetTag)) : nullptr;
  if (!o || o->Has(kFlagRemoved)) {
    errorLog("Witch scene \"%s\" (%s): no object tagged \"%.*s\" on this level; the scene plays without it\n",
             name.c_str(), typeName.c_str(), int(targetTag.size()), targetTag.data());
    return nullptr;
  }
  return o;
}

bool cWitchScene::NameTarget(std::string_view targetTag) {
  cMap* map = objMap();
  const cObject* o = map ? map->FindByTag(NameHash(targetTag)) : nullptr;
  if (!o || o->Has(kFlagRemoved)) return false;
  GameEvent e = objEvent(Game::Event::WitchNamesObject, *this);
  e.tag = int32_t(NameHash(targetTag));
  objPost(e);
  return true;
}

void cWitchScene::Step(int32_t ms) {
  // The scene's own timers first: one started by a stage end below waits for the next step.
  if (!Has(kFlagRemoved)) UpdateSceneTimers(ms);
  if (!Has(kFlagRemoved) && stageTimer.Advance(ms)) OnStageEnd();
  for (auto& fx : effects) fx->Update(float(ms));
  sounds.Update(ms);
}

bool cWitchScene::UpdateTimers(int32_t ms) {
  Step(ms);
  return cObject::UpdateTimers(ms);
}

void cWitchScene::Draw(const DrawContext& dc) {
  if (Has(kFlagHidden)) return;
  cObject::Draw(dc);
  for (auto& fx : effects) {
    if (fx->IsStopped(true)) continue;
    float px = 0, py = 0;
    fx->GetPosition(px, py);
    fx->SetPosition(px + dc.offsetX, py + dc.offsetY);
    fx->Render();
    fx->SetPosition(px, py);
  }
}

// ---- The first witch -----------------------------------------------------------------------------

namespace {
constexpr int kIdle = 0, kLaugh = 1, kCast = 2;
}  // namespace

cWitch_1lvl::cWitch_1lvl()
    : cWitch_1lvl(Script{"Witch_1lvl", "WitchAppear", "WitchFireball", "Totem11", "EvilSmoke1"}) {}

cWitch_1lvl::cWitch_1lvl(const Script& s) : m_track(s.track), m_hitTag(s.hitTag), m_finaleTag(s.finaleTag) {
  SetLooks({"Witch_idle_w", "Witch_laugh_w", "Witch_cast_w"});
  AddEffect(s.appear);
  AddEffect(s.projectile, true);
}

void cWitch_1lvl::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  LoadTrack(m_track);
  GoTo(0, kStartMs);
  PlaySlot(kIdle);
  StartEffectAt(kAppear, x, y);
  // The projectile's path needs its target; a level without it still sees the whole scene.
  const cObject* target = FindTarget(m_hitTag);
  m_hasTarget = target != nullptr;
  if (target) {
    const float tx = target->x, ty = target->y;
    const FxManager::BezierPoint path[2] = {{0, 0, x - 60.0f, y},
                                            {(x + tx) * 0.5f, (y + ty) * 0.5f - 100.0f, tx, ty}};
    Flying(kProjectile)->SetPath(path, 2);
    Flying(kProjectile)->SetDuration(float(kFlightMs));
  }
  FindTarget(m_finaleTag);  // told now, at the start, rather than when the smoke should rise
  Cue(0);
}

void cWitch_1lvl::OnStageEnd() {
  switch (stage) {
    case 0:
      GoTo(1, 2 * SlotPeriod(kIdle));
      break;
    case 1:
      GoTo(2, SlotPeriod(kLaugh));
      PlaySlot(kLaugh);
      Cue(1);
      break;
    case 2:
      GoTo(3, SlotPeriod(kCast));
      PlaySlot(kCast);
      m_launch.SetPeriod(kLaunchMs);
      m_launch.Restart();
      break;
    case 3:
      GoTo(4, 6 * SlotPeriod(kIdle));
      PlaySlot(kIdle);
      break;
    case 4:
      NameTarget(m_finaleTag);
      GoTo(5, kFarewellMs);
      break;
    default:
      stageTimer.Stop();
      Kill();
      break;
  }
}

void cWitch_1lvl::UpdateSceneTimers(int32_t ms) {
  // The flight before the launch, so a flight begun this step starts counting on the next.
  if (m_flight.Advance(ms)) {
    if (NameTarget(m_hitTag)) OnHit();
    StopEffect(kProjectile);
  }
  if (m_launch.Advance(ms)) {
    if (m_hasTarget) Effect(kProjectile)->Start();
    m_flight.SetPeriod(kFlightMs);
    m_flight.Restart();
    Cue(2);
  }
}

cWitch_33lvl::cWitch_33lvl()
    : cWitch_1lvl(Script{"Witch_33lvl", "WitchAppear", "WitchIceball", "IceHeart1", "EvilSmoke1"}) {}

void cWitch_33lvl::OnHit() {
  GameEvent e = objEvent(Game::Event::Witch33Event, *this);
  objPost(e);
}

}  // namespace Map
