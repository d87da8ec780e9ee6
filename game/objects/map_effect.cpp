// Map effects on the level's map: loading, waiting for their cue, lifetime, drawing and removal.
#include "game/objects/map_effect.h"

#include <string>

#include "anim/fx_simple_pyro.h"
#include "game/core/event_codes.h"
#include "game/core/fog.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/objects/object_level.h"
#include "game/objects/witch_scene.h"
#include "sound/sound.h"

namespace Map {

namespace {
constexpr size_t kEffectName = 0, kDeleteOutsideFog = 1, kStartOnEffect = 2;

// Whether the running level shows a fog at all: every level has its fog object, and one without
// fog keeps it hidden (where no point is fogged, and no fire of the fog may go out for it).
bool fogPresent() {
  const cFog* f = levelFog();
  return f && !f->Has(kFlagHidden);
}

// The plain campfire keeps quiet; every other fire is heard catching and dying.
bool quietFire(const std::string& effectName) { return effectName == "Fire"; }
}  // namespace

void cEffect::PlaySound(const char* sound) {
  if (soundListener) soundListener(sound);
  if (sndIsInit()) sndPlayEx(sound, SND_SOUND, -1.0f, sndScreenPan(int(x + 0.5f)), 1.0f);
}

cEffect::cEffect() = default;
cEffect::~cEffect() = default;

void cEffect::CreateEffect(std::string_view name) {
  effectName = std::string(name);
  effect = std::make_unique<FxManager::cSimplePyro>();
  effect->Load(effectName.c_str());
  effect->SetPosition(x, y);
}

void cEffect::StartEffect() {
  if (!effect) CreateEffect(effectName);
  effect->SetPosition(x, y);
  effect->Start();
}

void cEffect::StopEmitting() {
  if (effect) effect->Stop(false);
}

void cEffect::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  startOnEffect = extInt(r, kStartOnEffect) != 0 ? 1 : 0;
  deleteOutsideFog = extInt(r, kDeleteOutsideFog) != 0 ? 1 : 0;
  CreateEffect(extString(r, kEffectName));
  if (!startOnEffect) StartEffect();
}

void cEffect::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  setExtString(r, kEffectName, effectName);
  setExtInt(r, kDeleteOutsideFog, deleteOutsideFog);
  setExtInt(r, kStartOnEffect, startOnEffect);
}

void cEffect::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* o = dynamic_cast<const cEffect*>(&from);
  if (!o) return;
  startOnEffect = o->startOnEffect;
  deleteOutsideFog = o->deleteOutsideFog;
  lifetime = o->lifetime;
  elapsed = 0;
  CreateEffect(o->effectName);
  if (!startOnEffect) StartEffect();
}

void cEffect::RegisterEvents(Game::cEventDispatcher* d) { Register(Game::Event::WitchNamesObject, d, this); }

void cEffect::OnEvent(GameEvent& e) {
  cObject::OnEvent(e);
  if (e.code == Game::Code(Game::Event::WitchNamesObject)) {
    if (!startOnEffect || uint32_t(e.tag) != tag) return;
    startOnEffect = 0;
    StartEffect();
    if (!quietFire(effectName)) PlaySound("FireStart");
  } else if (e.code == Game::Code(Game::Event::QuillPickedUp)) {
    if (effectName == "Quill") StopEmitting();
  } else if (e.code == Game::Code(Game::Event::BerryPicked)) {
    if (effectName == "Berry" && AnchorI() == IntPoint{e.x, e.y}) StopEmitting();
  }
}

void cEffect::SetAnchorF(float nx, float ny) {
  cObject::SetAnchorF(nx, ny);
  if (effect) effect->SetPosition(nx, ny);
}

void cEffect::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  if (effect && !startOnEffect) effect->Update(float(ms));
}

bool cEffect::UpdateTimers(int32_t ms) {
  cObject::UpdateTimers(ms);
  if (startOnEffect || !effect) return false;
  if (effect->IsStopped(true)) {
    if (!Has(kFlagRemoved)) Kill();
    return false;
  }
  if (lifetime >= 0) {
    elapsed += ms;
    if (elapsed >= lifetime && effect->GetState() == FxManager::cSimplePyro::kRunning) StopEmitting();
  }
  // A fire of the fog goes out where the fog has lifted.
  if (deleteOutsideFog && effect->GetState() == FxManager::cSimplePyro::kRunning && fogPresent() &&
      !fogCovers(int(x), int(y))) {
    StopEmitting();
    if (!quietFire(effectName)) PlaySound("FireDying");
  }
  return false;
}

void cEffect::Draw(const DrawContext& dc) {
  if (!effect || startOnEffect || Has(kFlagHidden)) return;
  effect->SetPosition(x + dc.offsetX, y + dc.offsetY);
  effect->Render();
  effect->SetPosition(x, y);
}

// ---- Evil smoke ----------------------------------------------------------------------------------

void cEvilSmoke::RegisterEvents(Game::cEventDispatcher* d) {
  cEffect::RegisterEvents(d);
  Register(Game::Event::AllGoalsCompleted, d, this);
}

void cEvilSmoke::OnEvent(GameEvent& e) {
  cEffect::OnEvent(e);
  if (e.code == Game::Code(Game::Event::AllGoalsCompleted)) StopEmitting();
}

bool cEvilSmoke::UpdateTimers(int32_t ms) {
  const bool started = !Waiting() && effect;
  if (started && !m_reported && effect->IsStopped(true)) {
    m_reported = true;
    GameEvent e;
    MakeEvent(e, Game::Event::EvilSmokeFinished);
    e.objectId = id;
    e.tag = int32_t(tag);
    objPost(e);
  }
  return cEffect::UpdateTimers(ms);
}

// ---- Run-time effects ----------------------------------------------------------------------------

cEffect* SpawnMapEffect(std::string_view name, int32_t layer, int32_t lifetimeMs, float x, float y) {
  static int32_t counter = 0;
  cMap* map = objMap();
  cObjectFactory* factory = objFactory();
  if (!map || !factory) return nullptr;
  auto* fx = dynamic_cast<cEffect*>(factory->Create("fx", "mapeffect"));
  if (!fx) return nullptr;
  if (fx->name.empty()) fx->SetName("eff" + std::to_string(counter++));
  fx->CreateEffect(name);
  map->Add(fx);
  fx->layer = layer;
  fx->SetAnchorF(x, y);
  fx->SetLifetimeMs(lifetimeMs);
  fx->StartEffect();
  fx->Set(kFlagCreatedAtLoad, false);
  Game::cEventDispatcher* d = map->Dispatcher() ? map->Dispatcher() : Game::eventDispatcher();
  Register(Game::Event::QuillPickedUp, d, fx);
  Register(Game::Event::BerryPicked, d, fx);
  return fx;
}

void mapEffectRegisterClasses(cObjectFactory& f) {
  f.RegisterClassOnce<cEffect>("Map::cEffect");
  f.RegisterClassOnce<cEvilSmoke>("Map::cEvilSmoke");
  witchRegisterClasses(f);
}

}  // namespace Map
