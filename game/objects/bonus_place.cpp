// The bonus place: produces its bonus from the bonus definitions, and after a pick-up waits its
// period while five respawn effects light up one after another.
#include <algorithm>

#include "anim/anim_catalogue.h"
#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "files/file.h"
#include "game/core/game_main.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/map_family.h"
#include "game/objects/bonus.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "gfx/render.h"

namespace Map {
namespace {
constexpr size_t kResource = 0, kAmount = 1, kScoreBonus = 2, kPeriod = 3, kOnce = 4;
}

cBonusPlace::cBonusPlace() { respawnTimer.Stop(); }
cBonusPlace::~cBonusPlace() = default;

void cBonusPlace::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  resource = std::clamp(extInt(r, at + kResource), 0, int32_t(kNoResource));
  amount = extInt(r, at + kAmount);
  scoreBonus = extString(r, at + kScoreBonus).substr(0, kScoreBonusMax);
  respawnTimer.SetPeriod(extInt(r, at + kPeriod));
  respawnTimer.Stop();
  isOnce = extInt(r, at + kOnce) != 0;
  resourcePicture =
      resource < kNoResource ? Core::animManager().GetAnimation(mapResourceName(resource)) : AnimationState();
  for (auto& fx : respawnEffects) {
    fx = std::make_unique<FxManager::cSimplePyro>();
    fx->Load("ResourceRespawn");
    fx->SetPosition(float(int32_t(x)), float(int32_t(y)));
  }
}

void cBonusPlace::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.subtype = "bonusPlace";
  r.childScript = "data/bonus/icons.ini";
  const size_t at = objSubjectItems();
  setExtInt(r, at + kResource, resource);
  setExtInt(r, at + kAmount, amount);
  setExtString(r, at + kScoreBonus, scoreBonus);
  setExtInt(r, at + kPeriod, respawnTimer.Period());
  setExtInt(r, at + kOnce, isOnce);
}

void cBonusPlace::CopyFrom(const cObject& from) {
  cSubjectObject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cBonusPlace*>(&from)) {
    resource = o->resource;
    amount = o->amount;
    scoreBonus = o->scoreBonus;
    respawnTimer.SetPeriod(o->respawnTimer.Period());
    isOnce = o->isOnce;
    resourcePicture = o->resourcePicture;
  }
}

void cBonusPlace::SaveChildScript(std::string& out) const { mapWriteString(out, "data/bonus/icons.ini", nullptr); }

void cBonusPlace::RegisterEvents(Game::cEventDispatcher* d) {
  cSubjectObject::RegisterEvents(d);
  Register(Game::Event::RespawnBonusPlacesFired, d, this);
}

void cBonusPlace::ResolveParent(const cMap& map) {
  cSubjectObject::ResolveParent(map);
  if (bonusId == kNoId) m_firstBonusDue = true;
}

bool cBonusPlace::RespawnEffectRunning(int i) const {
  if (i < 0 || i >= kRespawnEffects || !respawnEffects[size_t(i)]) return false;
  return !respawnEffects[size_t(i)]->IsStopped(false);
}

void cBonusPlace::StopRespawnEffects() {
  for (auto& fx : respawnEffects)
    if (fx) fx->Stop(false);
}

int32_t cBonusPlace::SpawnBonus(int32_t r, int32_t a, bool silent) {
  ShowChild(GetHintChildSubtype(), false);
  cMap* map = objMap();
  cObjectFactory* factory = objFactory();
  if (!map || !factory) return kNoId;
  std::string section = r >= 0 && r < kNoResource ? mapResourceName(r) : scoreBonus;
  if (section.empty()) return kNoId;
  if (!fileExists(kDefinitions)) {
    errorLog("%s: missing; the bonus place \"%s\" produces nothing\n", kDefinitions, name.c_str());
    return kNoId;
  }
  std::vector<cObject*> made;
  if (!factory->LoadFromIni(kDefinitions, section.c_str(), {}, made) || made.empty()) {
    errorLog("%s [%s]: no bonus can be made from it for the place \"%s\"\n", kDefinitions, section.c_str(),
             name.c_str());
    for (cObject* o : made) o->Destroy(o->Has(kFlagFreeOnRemove));
    return kNoId;
  }
  auto* bonus = dynamic_cast<cBonus*>(made.front());
  if (!bonus) {
    errorLog("%s [%s]: its first object is not a bonus (\"%s\")\n", kDefinitions, section.c_str(),
             made.front()->typeName.c_str());
    for (cObject* o : made) o->Destroy(o->Has(kFlagFreeOnRemove));
    return kNoId;
  }
  if (r >= 0 && r < kNoResource) bonus->resource = r;
  bonus->amount = a;
  bonus->placeId = id;
  const float dx = x - bonus->x, dy = y - bonus->y;
  bonus->SetAnchorF(x, y);
  bonus->supportCount = supportCount;
  std::copy(std::begin(supportPoints), std::end(supportPoints), bonus->supportPoints);
  // Its children move along with it.
  for (size_t i = 1; i < made.size(); ++i) made[i]->SetAnchorF(made[i]->x + dx, made[i]->y + dy);
  for (cObject* o : made) map->Add(o);
  for (cObject* o : made) o->ResolveParent(*map);
  if (!silent) {
    bonus->StartWorkEffect(0);
    SpawnMapEffect("BonusRespawn", layer + 1, -1, x, y);
    GameEvent e;
    MakeEvent(e, Game::Event::BonusPlaced);
    e.objectId = id;
    e.otherId = bonus->id;
    e.x = int32_t(x);
    e.y = int32_t(y);
    objPost(e);
  }
  return bonus->id;
}

void cBonusPlace::Produce(bool silent) {
  if (bonusId == kNoId) bonusId = SpawnBonus(resource, amount, silent);
  if (isOnce) Kill();
}

void cBonusPlace::OnBonusGone(int32_t gone) {
  if (gone != bonusId || bonusId == kNoId) return;
  bonusId = kNoId;
  if (!isOnce) respawnTimer.Restart();
}

void cBonusPlace::OnEvent(GameEvent& e) {
  cSubjectObject::OnEvent(e);
  if (e.code == Game::Code(Game::Event::ResourcesPickedUp)) {
    if (e.objectId != bonusId || bonusId == kNoId || isOnce) return;
    if (Has(kFlagPointerOver)) {
      HoverLeave();
      Set(kFlagPointerOver, false);
    }
    bonusId = kNoId;
    respawnTimer.Restart();
    GameEvent u;
    MakeEvent(u, Game::Event::BonusUsed);
    u.objectId = id;
    u.tag = int32_t(tag);
    u.index = e.index;
    u.amount = e.amount;
    objPost(u);
  } else if (e.code == Game::Code(Game::Event::RespawnBonusPlacesFired)) {
    StopRespawnEffects();
    respawnTimer.Stop();
    Produce(false);
  }
}

bool cBonusPlace::UpdateTimers(int32_t ms) {
  if (m_firstBonusDue) {
    m_firstBonusDue = false;
    Produce(true);
  }
  if (!respawnTimer.IsStopped()) {
    if (respawnTimer.Advance(ms)) {
      respawnTimer.Stop();
      StopRespawnEffects();
      Produce(false);
    } else if (bonusId == kNoId && resource != kNoResource && respawnTimer.Period() > 0) {
      const int64_t n = int64_t(respawnTimer.Time()) * kRespawnEffects / respawnTimer.Period();
      const size_t i = size_t(std::clamp<int64_t>(n, 0, kRespawnEffects - 1));
      if (respawnEffects[i] && respawnEffects[i]->IsStopped(false)) respawnEffects[i]->Start();
    }
  }
  for (auto& fx : respawnEffects)
    if (fx) fx->Update(float(ms));
  return cSubjectObject::UpdateTimers(ms);
}

void cBonusPlace::Draw(const DrawContext& dc) {
  for (auto& fx : respawnEffects)
    if (fx) fx->Render();
  cSubjectObject::Draw(dc);
}

void cBonusPlace::DrawDebug(const DrawContext& dc) {
  cSubjectObject::DrawDebug(dc);
  if (!testSetting(TestSwitch::Game_Map_Show_Object_Bound)) return;
  const int ax = int(x + dc.offsetX), ay = int(y + dc.offsetY);
  grFillRect(ax - 10, ay - 10, ax + 10, ay + 10, 0xFF00FF00u);
}

void cBonusPlace::GetHintProgress(bool& show, float& fraction, bool& remainder) const {
  show = true;
  fraction = respawnTimer.Period() > 0 ? float(respawnTimer.Time()) / float(respawnTimer.Period()) : 0.0f;
  remainder = false;
}

bool cBonusPlace::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)costs;
  (void)nextGains;
  if (resource >= 0 && resource < kNoResource) gains[size_t(resource)] = amount;
  return true;
}

void cBonusPlace::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  gainLabel.clear();
  costLabel.clear();
  nextGainLabel = "#OBJECT_HINT_WILLGET";
}

bool cBonusPlace::HoverEnter() {
  if (bonusId == kNoId) ShowChild(GetHintChildSubtype(), true);
  return true;
}

void cBonusPlace::HoverLeave() {
  if (bonusId == kNoId) ShowChild(GetHintChildSubtype(), false);
}
}  // namespace Map
