// The red hood: she waits for four mushrooms. Each picker is called over on one of her own four
// operation records (no cost, a short hand-over); after the fourth she thanks the workers and,
// when her thanks are over, the berry bush appears (event 89).
#include <algorithm>

#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/map_record.h"
#include "game/core/person.h"
#include "game/core/random.h"
#include "game/core/workers.h"
#include "game/objects/object_level.h"
#include "game/objects/quest_berry.h"

namespace Map {
namespace {
constexpr const char* kSoundFile = "data/obstacles/sounds.ini";
constexpr const char* kIcons = "data/bonus/icons.ini";
constexpr int32_t kTrade = 16, kMoveWithBag = 3, kStay = 1;

Game::cWorkersController* workers() {
  Game::LevelContext* c = Game::levelContext();
  return c ? c->workers.get() : nullptr;
}

bool holds(const cSubjectOperation& r, int32_t personId) {
  return std::find(r.persons.begin(), r.persons.end(), personId) != r.persons.end();
}
}  // namespace

void cRedhood::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  sounds = Core::cObjectSoundTrack();
  if (!r.name.empty()) sounds.Load(kSoundFile, r.name.c_str());
}

void cRedhood::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  r.childScript = kIcons;
}

void cRedhood::SaveChildScript(std::string& out) const { mapWriteString(out, kIcons, nullptr); }

void cRedhood::RegisterEvents(Game::cEventDispatcher* d) {
  cSubjectObject::RegisterEvents(d);
  Register(Game::Event::MushroomPicked, d, this);
}

void cRedhood::SetNeedsText() {
  statusText = questFormatCount(questTranslate("#REDHOOD_NEEDS_MUSHROOMS"), kMushroomsWanted - delivered);
}

void cRedhood::RestartIdle() {
  talk.Start(Anim(Idle).Period() * RandomPeriod(6, 10));
  SetAnimation(Idle, false);
}

void cRedhood::ResolveParent(const cMap& map) {
  talk.Start(Anim(Idle).Period() * RandomPeriod(6, 10));
  cSubjectObject::ResolveParent(map);
  SetNeedsText();
}

void cRedhood::OnEvent(GameEvent& e) {
  cSubjectObject::OnEvent(e);
  switch (e.code) {
    case Game::Code(Game::Event::MushroomPicked):
      TakeMushroom(e.otherId);
      break;
    case Game::Code(Game::Event::PersonWalksToGathering):
    case Game::Code(Game::Event::PersonCalledBack):
      // A picker taken away for other work gives its record back for the next mushroom.
      for (cSubjectOperation& r : records)
        if (holds(r, e.objectId)) CancelRecord(r);
      break;
    default:
      break;
  }
}

void cRedhood::TakeMushroom(int32_t personId) {
  if (personId == kNoId) return;
  auto idle = std::find_if(records.begin(), records.end(),
                           [](const cSubjectOperation& r) { return r.state == OperationState::Idle; });
  if (idle == records.end()) return;
  cSubjectOperation& r = *idle;
  r.sendHomeAfterWork = 0;
  r.walkVisibleState = kMoveWithBag;
  r.workVisibleState = kTrade;
  r.homeVisibleState = kStay;
  r.kind = OperationKind::GetResource;
  r.duration = kTakeMs;
  r.paid = ResourceVector{};
  r.fixedPersonId = personId;
  r.personsNeeded = 1;
  r.personsArrived = 0;
  r.subjectId = id;
  Game::cWorkersController* w = workers();
  if (!w) return;
  // The record gathers before the person sets out: one already standing at her arrives at once.
  r.persons.assign(1, personId);
  r.state = OperationState::Gathering;
  if (!w->SendTo(personId, id, kMoveWithBag, -1, 0.0f) && r.state == OperationState::Gathering) {
    r.persons.clear();
    r.state = OperationState::Idle;
  }
}

bool cRedhood::OnPersonArrived(int32_t personId) {
  for (cSubjectOperation& r : records) {
    if (r.state != OperationState::Gathering || !holds(r, personId)) continue;
    if (++r.personsArrived < r.personsNeeded) return true;
    r.workTimer.Start(r.duration);
    if (cPerson* p = OperationPerson(personId)) {
      p->SetVisibleState(r.workVisibleState);
      p->StartWork(cPerson::kFaceTarget);
    }
    r.state = OperationState::Started;
    sounds.StartSlot(0, int32_t(x), 0);
    talk.Start(Anim(Talk).Period());
    SetAnimation(Talk, false);
    return true;
  }
  return false;
}

void cRedhood::CancelRecord(cSubjectOperation& r) {
  for (int32_t pid : r.persons)
    if (cPerson* p = OperationPerson(pid); p && p->state != PersonState::Resting) p->Stand(r.cheerTime);
  r.persons.clear();
  r.workTimer.Stop();
  r.personsArrived = 0;
  r.state = OperationState::Idle;
}

void cRedhood::UpdateRecord(cSubjectOperation& r, int32_t ms) {
  if (r.state == OperationState::Idle) return;
  if (r.state == OperationState::Finished) {
    r.state = OperationState::Idle;
    r.persons.clear();
    r.personsArrived = 0;
    return;
  }
  std::erase_if(r.persons, [this](int32_t pid) { return OperationPerson(pid) == nullptr; });
  if (r.persons.empty()) {
    CancelRecord(r);
    return;
  }
  if (r.state == OperationState::Started) {
    r.state = OperationState::Working;
    return;
  }
  if (r.state != OperationState::Working || !r.workTimer.Advance(ms)) return;
  // She has the mushroom: the picker's hands are empty again and it is free after a moment.
  for (int32_t pid : r.persons)
    if (cPerson* p = OperationPerson(pid)) {
      p->SetCarriedItem(0);
      if (p->state != PersonState::Resting) p->Stand(r.cheerTime);
    }
  r.state = OperationState::Finished;
}

void cRedhood::Delivered() {
  ++delivered;
  if (delivered == kMushroomsWanted) {
    talk.Start(Anim(Thanks).Period());
    SetAnimation(Thanks, false);
    sounds.StartSlot(1, int32_t(x), talk.total);
    statusText = questTranslate("#REDHOOD_THANKS");
    m_bushDue = true;
  } else if (delivered < kMushroomsWanted) {
    SetNeedsText();
  }
}

bool cRedhood::UpdateTimers(int32_t ms) {
  const bool remove = cSubjectObject::UpdateTimers(ms);
  sounds.Update(ms);
  for (cSubjectOperation& r : records) {
    UpdateRecord(r, ms);
    if (r.state == OperationState::Finished) Delivered();
  }
  if (talk.Advance(ms)) {
    if (currentAnimation == Idle) {
      talk.Start(Anim(Glance).Period());
      SetAnimation(Glance, false);
    } else {
      // The bush appears when her thanks end, even if a late picker's chat cut them short.
      if (m_bushDue) {
        m_bushDue = false;
        GameEvent e = objEvent(Game::Event::RedHoodHasMushrooms, *this);
        objPost(e);
      }
      RestartIdle();
    }
  }
  return remove;
}
}  // namespace Map
