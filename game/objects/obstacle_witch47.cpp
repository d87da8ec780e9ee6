// The witch of the forty-seventh level: the player's order sends a first person against her; when
// that person's work ends she answers with a fireball and a second person is sent on its own
// operation record, whose work drives her off in a burst of bats.
#include "anim/fx_simple_pyro.h"
#include "game/core/level_context.h"
#include "game/core/workers.h"
#include "game/objects/object_level.h"
#include "game/objects/obstacle_ice.h"

namespace Map {

namespace {
constexpr const char* kSounds = "data/flyingwitch/sounds.ini";
constexpr const char* kIcons = "data/bonus/icons.ini";
constexpr size_t kTargetX = 0, kTargetY = 1;
}  // namespace

cWitch_47lvl::cWitch_47lvl() = default;
cWitch_47lvl::~cWitch_47lvl() = default;

bool cWitch_47lvl::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  (void)gains;
  (void)nextGains;
  if (!HasOperationOffer()) return true;
  return objCostOffer(*this, int32_t(OperationKind::GetResource), costs);
}

void cWitch_47lvl::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  objSpendLabels(gainLabel, costLabel, nextGainLabel);
}

int cWitch_47lvl::TryStartOperation(bool byPlayer) {
  const int r = cSubjectObject::TryStartOperation(byPlayer);
  if (r != 2) return r;
  if (!HasOperationOffer() || !CanAfford(OperationKind::GetResource)) return 1;
  operation.walkVisibleState = 2;
  operation.workVisibleState = 8;
  operation.homeVisibleState = 2;
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

bool cWitch_47lvl::OnPersonArrived(int32_t personId) {
  const bool ok = cSubjectObject::OnPersonArrived(personId);
  if (operation.state == OperationState::Started)
    objStartEffect(workEffect0, round == 0 ? "WarriorAttack" : "ExorcistSpell", x, y);
  return ok;
}

void cWitch_47lvl::OnOperationFinished() {
  if (operation.kind == OperationKind::GetResource && round < 2) {
    if (workEffect0) workEffect0->Stop(false);
    GameEvent e = objEvent(round == 0 ? Game::Event::Witch47Event2 : Game::Event::Witch47Event, *this);
    e.value = round;
    objPost(e);
    if (round == 0) {
      second = operation;
      round = 1;
      m_secondPending = true;
      objStartEffect(workEffect1, "WitchFireball", x, y);
      sounds.StartSlot(0, int32_t(x), 0);
    } else {
      round = 2;
      objStartEffect(workEffect1, "WitchBatsExplosion", x, y);
      sounds.StartSlot(1, int32_t(x), 0);
      withdrawn = 1;
      Set(kFlagClickable, false);
      cSubjectObject::OnOperationFinished();
      RemoveFromPlay();
      return;
    }
  }
  cSubjectObject::OnOperationFinished();
}

bool cWitch_47lvl::UpdateTimers(int32_t ms) {
  sounds.Update(ms);
  if (m_secondPending && operation.state == OperationState::Idle) {
    m_secondPending = false;
    // The player's order paid for both persons: the second one's operation costs nothing more.
    const ResourceVector paid = costs[int32_t(OperationKind::GetResource)];
    costs[int32_t(OperationKind::GetResource)] = ResourceVector{};
    operation.walkVisibleState = 2;
    operation.workVisibleState = 8;
    operation.homeVisibleState = 2;
    const bool started = StartOperation(OperationKind::GetResource);
    costs[int32_t(OperationKind::GetResource)] = paid;
    Game::LevelContext* c = Game::levelContext();
    if (started && c && c->queue) c->queue->Enqueue(id, false);
  }
  return cSubjectObject::UpdateTimers(ms);
}

void cWitch_47lvl::ResolveParent(const cMap& map) {
  cSubjectObject::ResolveParent(map);
  sounds.Load(kSounds, "Witch_47lvl");
}

void cWitch_47lvl::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  const size_t at = objSubjectItems();
  targetX = extInt(r, at + kTargetX);
  targetY = extInt(r, at + kTargetY);
}

void cWitch_47lvl::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = kIcons;
  const size_t at = objSubjectItems();
  setExtInt(r, at + kTargetX, targetX);
  setExtInt(r, at + kTargetY, targetY);
}

void cWitch_47lvl::CopyFrom(const cObject& from) {
  cSubjectObject::CopyFrom(from);
  if (const auto* o = dynamic_cast<const cWitch_47lvl*>(&from)) {
    targetX = o->targetX;
    targetY = o->targetY;
  }
}

void cWitch_47lvl::SaveChildScript(std::string& out) const { mapWriteString(out, kIcons, nullptr); }
}  // namespace Map
