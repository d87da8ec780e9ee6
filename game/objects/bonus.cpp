// The bonus: a pick-up persons fetch for the stock. It fades in, may wait a lifetime unclaimed,
// refuses a pick-up the stock has no room for, and fades out once collected.
#include "game/objects/bonus.h"

#include <algorithm>

#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/core/person.h"
#include "game/core/player_stock.h"
#include "game/objects/map_effect.h"
#include "game/objects/object_level.h"

namespace Map {
namespace {
constexpr size_t kResource = 0, kAmount = 1, kLifeTime = 2, kSmooth = 3;
}

void cBonus::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  resource = std::clamp(extInt(r, at + kResource), 0, int32_t(kNoResource));
  amount = extInt(r, at + kAmount);
  lifeTime = std::max(0, extInt(r, at + kLifeTime));
  isSmoothAppear = extInt(r, at + kSmooth) != 0;
  lifeTimer.SetPeriod(lifeTime);
  lifeTimer.Stop();
  sounds = Core::cObjectSoundTrack();
  if (!r.name.empty()) sounds.Load("data/obstacles/sounds.ini", r.name.c_str());
}

void cBonus::PlayCue(int slot) { sounds.StartSlot(slot, int32_t(x), 0); }

void cBonus::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = "data/bonus/icons.ini";
  const size_t at = objSubjectItems();
  setExtInt(r, at + kResource, resource);
  setExtInt(r, at + kAmount, amount);
  setExtInt(r, at + kLifeTime, lifeTime);
  setExtInt(r, at + kSmooth, isSmoothAppear);
}

void cBonus::CopyFrom(const cObject& from) {
  cSubjectObject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cBonus*>(&from)) {
    resource = o->resource;
    amount = o->amount;
    lifeTime = o->lifeTime;
    isSmoothAppear = o->isSmoothAppear;
    lifeTimer.SetPeriod(lifeTime);
    lifeTimer.Stop();
    sounds = o->sounds;
  }
}

void cBonus::SaveChildScript(std::string& out) const { mapWriteString(out, "data/bonus/icons.ini", nullptr); }

bool cBonus::IsQuill() const {
  static const uint32_t kQuill = NameHash("quill");
  return subtypeHash == kQuill;
}

int32_t cBonus::GivenResource() const {
  if (resource < 0 || resource >= kNoResource || !objResourceEnabled(resource)) return kNoResource;
  return resource;
}

bool cBonus::RefusesPickUp() const {
  if (resource < 0 || resource >= kNoResource) return false;
  return !objStockHasRoom(resource);
}

void cBonus::ResolveParent(const cMap& map) {
  cSubjectObject::ResolveParent(map);
  // A quill glints where it lies until it is picked up (the glint stops itself on that event).
  if (IsQuill() && !collected) SpawnMapEffect("Quill", layer + 1, -1, x, y);
  if (lifeTime > 0) lifeTimer.Restart();
  if (isSmoothAppear) appear.Start(kAppearMs);
}

bool cBonus::Click(bool byPlayer) {
  if (operation.state != OperationState::Idle || withdrawn || leavingPlay || collected) return false;
  if (byPlayer) {
    // Nothing to pay for: the order goes ahead once a person of the kind exists and can get here.
    SetSelected(true);
    GameEvent e = objEvent(Game::Event::SubjectClicked, *this);
    objPost(e);
    bool refused = false;
    if (!HasEnoughPersons(true)) {
      GameEvent n;
      MakeEvent(n, Game::Event::NoPersonOfKind);
      n.objectId = id;
      n.typeHash = int32_t(personKind);
      objPost(n);
      refused = true;
    } else if (!HasPathForPersons()) {
      GameEvent n = objEvent(Game::Event::NoPathToSubject, *this);
      objPost(n);
      refused = true;
    } else {
      OnUnchargedClick();
    }
    if (refused) {
      OnOrderRefused();
      return false;
    }
  }
  if (TryStartOperation(byPlayer) != 0) {
    OnOrderRefused();
    return false;
  }
  RestartYesSign();
  ordersRefused = 0;
  return true;
}

void cBonus::OnUnchargedClick() {
  GameEvent e = objEvent(Game::Event::BonusObjectEvent, *this);
  e.index = resource;
  objPost(e);
}

int32_t cBonus::GetOrderState() const {
  if (operation.state == OperationState::Idle && RefusesPickUp()) return 3;
  return cSubjectObject::GetOrderState();
}

bool cBonus::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)costs;
  (void)nextGains;
  if (resource >= 0 && resource < kNoResource) gains[size_t(resource)] = amount;
  return !RefusesPickUp();
}

void cBonus::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  gainLabel = "#OBJECT_HINT_GET";
  costLabel.clear();
  nextGainLabel.clear();
}

std::string cBonus::GetStatusText() const {
  std::string s = cSubjectObject::GetStatusText();
  if (!s.empty()) return s;
  if (selected && RefusesPickUp()) return "#OBJECT_HINT_CANT_HARVERST";
  return operation.state == OperationState::Working ? "#OBJECT_HINT_HARVEST" : std::string();
}

int cBonus::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (RefusesPickUp()) {
    // The stock could not take it: the player is told why instead of losing the bonus.
    SetSelected(true);
    return 1;
  }
  operation.walkVisibleState = 2;
  operation.workVisibleState = personVisibleState;
  operation.homeVisibleState = 3;
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

bool cBonus::OnPersonArrived(int32_t personId) {
  const bool ok = cSubjectObject::OnPersonArrived(personId);
  BeginWork();
  return ok;
}

void cBonus::BeginWork() {
  if (m_workBegun || operation.state != OperationState::Started) return;
  m_workBegun = true;
  const int32_t given = GivenResource();
  if (cMap* m = objMap())
    for (int32_t pid : operation.persons)
      if (auto* p = dynamic_cast<cPerson*>(m->FindById(pid))) {
        p->Carry(given, given == kNoResource ? 0 : amount);
        // A quill goes home in the bag and is announced there, where its goal counts it.
        if (IsQuill()) p->SetCarriedItem(subtypeHash);
      }
  static const uint32_t kWarrior = NameHash("Warrior"), kExorcist = NameHash("Exorcist");
  const int32_t lasts = operation.duration;
  if (personKind == kWarrior)
    SpawnMapEffect("WarriorAttack", layer, lasts, x, y + 1.0f);
  else if (personKind == kExorcist)
    SpawnMapEffect("ExorcistSpell", layer + 1, lasts, x, y);
  else if (operation.workVisibleState == 8)
    SpawnMapEffect(lasts > 500 ? "ObstacleDust" : "ResourceCollecting", layer + 1, lasts, x, y);
  if (operation.workVisibleState == 8 && operation.duration > 500) {
    GameEvent e = objEvent(Game::Event::OperationProgress, *this);
    e.value = operation.duration;
    objPost(e);
    PlayCue(0);
  }
}

void cBonus::OnOperationFinished() {
  if (m_workBegun && !collected) {
    m_workBegun = false;
    collected = 1;
    Set(kFlagClickable, false);
    const int32_t given = GivenResource();
    Game::Event code = given != kNoResource ? Game::Event::ResourcesPickedUp
                       : IsQuill()          ? Game::Event::QuillPickedUp
                                            : Game::Event::CreatureObstacleEvent;
    GameEvent e = objEvent(code, *this);
    e.index = given;
    e.amount = given != kNoResource ? amount : 0;
    objPost(e);
    cSubjectObject::OnOperationFinished();
    // Collected, it fades and leaves the map, whatever its lifetime.
    RemoveFromPlay();
    return;
  }
  cSubjectObject::OnOperationFinished();
}

bool cBonus::UpdateTimers(int32_t ms) {
  if (m_workBegun && operation.state == OperationState::Idle) m_workBegun = false;
  // The lifetime stands still exactly while an order for the bonus runs, so a cancelled order
  // always lets it go on.
  lifeTimer.Pause(operation.state != OperationState::Idle);
  if (!collected && lifeTime > 0 && !lifeTimer.IsStopped() && lifeTimer.Advance(ms)) {
    lifeTimer.Stop();
    if (auto* place = objMap() ? dynamic_cast<cBonusPlace*>(objMap()->FindById(placeId)) : nullptr)
      place->OnBonusGone(id);
    Kill();
  }
  appear.Advance(ms);
  sounds.Update(ms);
  return cSubjectObject::UpdateTimers(ms);
}

void cBonus::Draw(const DrawContext& dc) {
  if (appear.running && !collected) {
    const uint32_t saved = drawParams.argb;
    const uint32_t a = uint32_t(std::clamp(appear.Progress(), 0.0f, 1.0f) * 255.0f);
    drawParams.argb = (saved & 0x00FFFFFFu) | (((saved >> 24) * a / 255u) << 24);
    cSubjectObject::Draw(dc);
    drawParams.argb = saved;
    return;
  }
  cSubjectObject::Draw(dc);
}
}  // namespace Map
