// The caves of the key quest.
#include "game/objects/quest_cave.h"

#include <cmath>

#include "anim/fx_simple_pyro.h"
#include "game/core/map.h"
#include "game/core/random.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_heart_common.h"

namespace Map {

namespace {
constexpr size_t kFlashX = 0, kFlashY = 1, kEffect = 2;
constexpr const char* kGlow = "GateGlow";

// The level's key quest, shared by its caves; every cave's ResolveParent starts it afresh.
struct CaveQuest {
  int32_t searched = 0;
  bool keyFound = false;
};
CaveQuest& quest() {
  static CaveQuest q;
  return q;
}

// No other cave of the running level is left to search.
bool lastCaveOfLevel(const cCaveWithKey& self) {
  cMap* m = objMap();
  if (!m) return true;
  for (size_t i = 0; i < m->Count(); ++i) {
    const auto* c = dynamic_cast<const cCaveWithKey*>(m->At(i));
    if (c && c != &self && !c->searched && !c->Has(kFlagRemoved)) return false;
  }
  return true;
}
}  // namespace

bool caveHoldsKey(int32_t searchedBefore, bool keyFound, bool lastCave, const std::function<int32_t()>& draw) {
  if (keyFound) return false;
  switch (searchedBefore) {
    case 0:
      return lastCave;
    case 1:
      // The draw is made whatever follows, so the game log reads the same for any cave count.
      return (draw ? draw() : 0) >= kCaveKeyDrawMin || lastCave;
    case 2:
      return true;
    default:
      return lastCave;
  }
}

int32_t cCaveWithKey::LevelSearched() { return quest().searched; }
bool cCaveWithKey::LevelKeyFound() { return quest().keyFound; }

cCaveWithKey::cCaveWithKey() = default;
cCaveWithKey::~cCaveWithKey() = default;

bool cCaveWithKey::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  return objCostOffer(*this, int32_t(searched ? OperationKind::GetResource : OperationKind::Repair), costs);
}

void cCaveWithKey::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  questTakeLabels(*this, OperationKind::Repair, gainLabel, costLabel, nextGainLabel);
}

void cCaveWithKey::PrepareFetch() {
  operation.walkVisibleState = 2;
  operation.workVisibleState = 0;
  operation.homeVisibleState = hasKey ? 3 : 1;
  operation.sendHomeAfterWork = hasKey;
  operation.keepPersons = 0;
}

int cCaveWithKey::TryStartOperation(bool byPlayer) {
  const int r = cQuestSubject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (searched) {
    // The fetch waits for the player's order when the stock could not pay it as the search ended.
    if (!CanAfford(OperationKind::GetResource)) return 1;
    PrepareFetch();
    return StartOperation(OperationKind::GetResource) ? 0 : 1;
  }
  if (!CanAfford(OperationKind::Repair)) return 1;
  operation.walkVisibleState = 2;
  operation.workVisibleState = 10;
  operation.homeVisibleState = 1;
  operation.keepPersons = 1;
  return StartOperation(OperationKind::Repair) ? 0 : 1;
}

bool cCaveWithKey::OnPersonArrived(int32_t personId) {
  if (!cQuestSubject::OnPersonArrived(personId)) return false;
  if (hasKey) {
    questCarryItem(*this, "Key");
    flash.Start(std::max(0, Duration(OperationKind::GetResource) - kFlashBeforeEndMs));
  }
  if (!searched) {
    search.Start(kSearchMs);
    sounds.StartSlot(0, int32_t(x), Duration(OperationKind::Repair));
  }
  GameEvent e = objEvent(Game::Event::OperationProgress, *this);
  e.value = searched ? Duration(OperationKind::GetResource) : Duration(OperationKind::Repair);
  objPost(e);
  return true;
}

void cCaveWithKey::SearchDone() {
  searched = 1;
  if (supportCount > 1) supportPoints[0] = supportPoints[1];
  CaveQuest& q = quest();
  const int32_t before = q.searched++;
  hasKey = caveHoldsKey(before, q.keyFound, lastCaveOfLevel(*this), [] { return RandomValue(); }) ? 1 : 0;
  if (hasKey) q.keyFound = true;
  questReleaseAll(*this);
  objClearObstacle(*this);
  PrepareFetch();
  // The fetch is ordered at once when the stock can pay it; otherwise the cave offers it and
  // waits for the player's click.
  if (questOrderDirectly(*this, OperationKind::GetResource, 0, true)) questEnqueue(id, true);
}

void cCaveWithKey::OnOperationFinished() {
  if (searched && operation.kind == OperationKind::GetResource) {
    GameEvent e = objEvent(hasKey ? Game::Event::CaveHeldKey : Game::Event::CaveWasEmpty, *this);
    objPost(e);
    if (hasKey) sounds.StartSlot(2, int32_t(x), 0);
    questWithdraw(*this);
    Set(kFlagClickable, false);
  }
  cQuestSubject::OnOperationFinished();
}

bool cCaveWithKey::UpdateTimers(int32_t ms) {
  const bool remove = cQuestSubject::UpdateTimers(ms);
  sounds.Update(ms);
  if (search.Advance(ms)) {
    fade.Start(kFadeMs);
    if (!effect.empty()) SpawnMapEffect(effect, layer + 1, -1, x, y);
    sounds.StartSlot(1, int32_t(x), Duration(OperationKind::GetResource));
  }
  if (fade.Advance(ms)) SetAnimation(1, false);
  if (flash.Advance(ms) && hasKey) StartGlow();
  if (!searched && operation.kind == OperationKind::Repair && operation.state == OperationState::Held) SearchDone();
  return remove;
}

void cCaveWithKey::Draw(const DrawContext& dc) {
  if (fade.running) {
    // The closed cave fades away over the open one.
    questDrawFading(*this, dc, 1, 1.0f - questFraction(fade));
    return;
  }
  cQuestSubject::Draw(dc);
}

void cCaveWithKey::ResolveParent(const cMap& map) {
  cQuestSubject::ResolveParent(map);
  quest() = CaveQuest{};
  sounds.Load(kQuestSounds, name.c_str());
}

void cCaveWithKey::PlaceGlow() {
  if (!workEffect1) {
    workEffect1 = std::make_unique<FxManager::cSimplePyro>();
    workEffect1->Load(kGlow);
  }
  workEffect1->SetPosition(float(flashX), float(flashY));
}

void cCaveWithKey::StartGlow() {
  PlaceGlow();
  workEffect1->Start();
}

void cCaveWithKey::EditSupportPoint(IntPoint p, int key) {
  if (key != '1') {
    cQuestSubject::EditSupportPoint(p, key);
    return;
  }
  flashX = p.x;
  flashY = p.y;
  StartGlow();
}

void cCaveWithKey::ApplyRecord(const MapObjectRecord& r) {
  cQuestSubject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  flashX = extInt(r, at + kFlashX);
  flashY = extInt(r, at + kFlashY);
  if (flashX == 0 || flashY == 0) {
    flashX = int32_t(std::lround(x));
    flashY = int32_t(std::lround(y));
  }
  effect = extString(r, at + kEffect);
  PlaceGlow();
}

void cCaveWithKey::FillRecord(MapObjectRecord& r) const {
  cQuestSubject::FillRecord(r);
  const size_t at = objSubjectItems();
  setExtInt(r, at + kFlashX, flashX);
  setExtInt(r, at + kFlashY, flashY);
  setExtString(r, at + kEffect, effect);
}

void cCaveWithKey::CopyFrom(const cObject& from) {
  cQuestSubject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cCaveWithKey*>(&from)) {
    flashX = o->flashX;
    flashY = o->flashY;
    effect = o->effect;
    PlaceGlow();
  }
}
}  // namespace Map
