// Operation subjects: the work protocol. A click becomes an order (paid once), the queue asks for
// persons, their arrival starts the work timer, its end releases them; any cancel gives back
// exactly what was paid and lets the persons go.
#include <algorithm>

#include "files/file.h"
#include "files/name_hash.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/person.h"
#include "game/core/workers.h"
#include "game/objects/subject_object.h"
#include "sound/sound.h"

namespace Map {
namespace {
constexpr const char* kRefusalSoundFile = "data/obstacles/sounds.ini";
constexpr int32_t kCheerOnEndMs = 1500;

Game::LevelContext* level() { return Game::levelContext(); }
Game::cWorkersController* workers() { return level() ? level()->workers.get() : nullptr; }
Game::PlayerStock* stock() { return level() ? level()->stock.get() : nullptr; }

void post(GameEvent& e) {
  Game::cEventDispatcher* d = level() && level()->dispatcher ? level()->dispatcher.get() : Game::eventDispatcher();
  if (d) Post(d, e);
}

bool contains(const std::vector<int32_t>& v, int32_t id) { return std::find(v.begin(), v.end(), id) != v.end(); }

// The subjects' sound script is read once, when the first refusal needs it.
void loadRefusalSounds() {
  static bool loaded = false;
  if (loaded || !sndIsInit() || !fileExists(kRefusalSoundFile)) return;
  sndLoadScript(kRefusalSoundFile);
  loaded = true;
}
}  // namespace

void cSubjectObject::FillEventAbout(GameEvent& e) const {
  e.objectId = id;
  e.tag = int32_t(tag);
  e.typeHash = int32_t(typeHash);
  e.subtypeHash = int32_t(subtypeHash);
  e.x = int32_t(x);
  e.y = int32_t(y);
}

void cSubjectObject::PostSubjectEvent(Game::Event code) {
  GameEvent e;
  MakeEvent(e, code);
  FillEventAbout(e);
  post(e);
}

// ---- Orders --------------------------------------------------------------------------------

bool cSubjectObject::Click(bool byPlayer) {
  if (operation.state != OperationState::Idle || withdrawn || leavingPlay) return false;
  if (byPlayer) {
    SetSelected(true);
    PostSubjectEvent(Game::Event::SubjectClicked);
    bool refused = true;
    if (!HasEnoughPersons(true)) {
      GameEvent e;
      MakeEvent(e, Game::Event::NoPersonOfKind);
      e.objectId = id;
      e.typeHash = int32_t(personKind);
      post(e);
    } else if (!HasPathForPersons()) {
      PostSubjectEvent(Game::Event::NoPathToSubject);
    } else if (ChargesResources()) {
      if (!IsUnaffordable()) {
        refused = false;
      } else {
        PostSubjectEvent(Game::Event::NotEnoughResources);
        RestartNoSign();
      }
    } else {
      OnUnchargedClick();
    }
    if (refused) {
      OnOrderRefused();
      return false;
    }
  }
  const int answer = TryStartOperation(byPlayer);
  if (answer == 1) {
    OnOrderRefused();
    return false;
  }
  if (answer != 0) return false;
  RestartYesSign();
  ordersRefused = 0;
  return true;
}

int cSubjectObject::TryStartOperation(bool) {
  Game::LevelContext* c = level();
  const int32_t mode = c && c->model ? c->model->gameMode() : c ? c->gameMode : Game::kModeNormal;
  Game::cWorkersController* w = workers();
  if (mode == Game::kModeNormal && (!w || w->CountFree(personKind, false) == 0)) return 1;
  return operation.state == OperationState::Idle ? 2 : 1;
}

bool cSubjectObject::StartOperation(OperationKind kind) {
  // Only a subject without an operation takes a new one; anything else must neither charge nor
  // change the running operation.
  if (operation.state != OperationState::Idle) return false;
  if (!CanAfford(kind)) return false;
  const ResourceVector cost = Cost(kind);
  operation.duration = Duration(kind);
  operation.kind = kind;
  operation.fixedPersonId = kNoId;
  operation.paid = ResourceVector{};
  operation.personsArrived = 0;
  operation.partsDone = 0;
  if (Game::PlayerStock* s = stock()) {
    for (int r = Game::kFood; r <= Game::kGold; ++r) {
      if (cost[r] <= 0) continue;
      // What was really taken is what a cancel gives back (an unlimited stock takes nothing).
      const int32_t before = s->Amount(r);
      if (!s->SpendResource(r, cost[r])) {
        RefundPaid();
        return false;
      }
      operation.paid[r] = before - s->Amount(r);
    }
  }
  operation.state = OperationState::Ordered;
  RestartYesSign();
  SetSelected(false);
  return true;
}

bool cSubjectObject::HasRequestedAllPersons() const {
  return int32_t(operation.persons.size()) >= operation.personsNeeded;
}

void cSubjectObject::RequestPersons() {
  if (operation.state != OperationState::Ordered && operation.state != OperationState::Gathering) return;
  Game::cWorkersController* w = workers();
  if (!w) {
    // Nobody can come: the order ends, and what it cost comes back (through the subject's own
    // cancel, so a subclass undoes its part too).
    CancelOperation();
    return;
  }
  operation.personsNeeded = PersonsToRequest();
  operation.subjectId = id;
  m_requesting = true;
  m_earlyArrivals.clear();
  // Gathering from the first request on: a person that arrives at once is counted.
  const OperationState before = operation.state;
  operation.state = OperationState::Gathering;
  std::vector<int32_t> granted;
  if (operation.fixedPersonId != kNoId) {
    if (!contains(operation.persons, operation.fixedPersonId) &&
        w->SendTo(operation.fixedPersonId, id, operation.walkVisibleState, -1, 0.0f)) {
      operation.persons.push_back(operation.fixedPersonId);
      granted.push_back(operation.fixedPersonId);
    }
  } else {
    while (int32_t(operation.persons.size()) < operation.personsNeeded) {
      const int support = operation.personsNeeded == 1 ? -1 : int(operation.persons.size());
      const int32_t p = w->AssignPerson(id, personKind, operation.walkVisibleState, NeedsCarriedItem(), support);
      if (p < 0) break;
      operation.persons.push_back(p);
      granted.push_back(p);
    }
  }
  m_requesting = false;
  if (operation.persons.empty()) operation.state = before;
  std::vector<int32_t> early;
  early.swap(m_earlyArrivals);
  for (int32_t p : early)
    if (contains(granted, p)) OnPersonArrived(p);
}

// ---- Persons arriving and working ------------------------------------------------------------

bool cSubjectObject::OnPersonArrived(int32_t personId) {
  if (operation.state != OperationState::Gathering) return false;
  if (!contains(operation.persons, personId)) {
    if (m_requesting) m_earlyArrivals.push_back(personId);
    return false;
  }
  PersonArrivedNow(personId);
  return true;
}

void cSubjectObject::PersonArrivedNow(int32_t personId) {
  ++operation.personsArrived;
  cPerson* arrived = OperationPerson(personId);
  if (operation.personsArrived < operation.personsNeeded) {
    // Waits facing the subject until the others are here.
    if (arrived) arrived->Queue(operation.arrivalFlag != 0);
    return;
  }
  operation.workTimer.Start(operation.duration);
  if (operation.partsTotal > 1) operation.partTimer.Start(operation.duration / operation.partsTotal);
  for (int32_t pid : operation.persons) {
    cPerson* p = OperationPerson(pid);
    if (!p) continue;
    if (operation.workPoint != IntPoint{-1, -1}) p->SetAnchor(operation.workPoint);
    p->SetVisibleState(operation.workVisibleState);
    // 8 (or anything outside 0 to 7) faces the subject.
    const int32_t dir = operation.workDirection;
    p->StartWork(dir >= 0 && dir <= 7 ? dir : cPerson::kFaceTarget);
  }
  operation.state = OperationState::Started;
  if (hideHintWhileWorking) ShowChild(GetHintChildSubtype(), false);
}

void cSubjectObject::ReleasePerson(int32_t personId, IntPoint offset) {
  cPerson* p = OperationPerson(personId);
  if (!p) return;
  if (offset != IntPoint{}) p->SetAnchorF(p->x + float(offset.x), p->y + float(offset.y));
  const bool carries = p->carriedResource != kNoResource && p->carriedAmount > 0;
  Game::cWorkersController* w = workers();
  if ((carries || operation.sendHomeAfterWork) && w) {
    w->SendHome(personId, operation.homeVisibleState, false);
    return;
  }
  if (p->state != PersonState::Resting) p->Stand(operation.cheerTime);
}

void cSubjectObject::EndWork() {
  if (operation.cheerOnEnd) {
    for (int32_t pid : operation.persons)
      if (cPerson* p = OperationPerson(pid)) p->Celebrate(1, kCheerOnEndMs);
  } else if (!operation.keepPersons) {
    const std::vector<int32_t> persons = operation.persons;
    for (int32_t pid : persons) ReleasePerson(pid);
  }
  operation.partTimer.Stop();
  operation.state = OperationState::Finished;
}

void cSubjectObject::UpdateOperation(int32_t ms) {
  cSubjectOperation& op = operation;
  if (op.state == OperationState::Gathering || op.state == OperationState::Started ||
      op.state == OperationState::Working || op.state == OperationState::Held) {
    // A person taken off the map never arrives nor finishes; with nobody left the operation
    // would wait for ever, so it ends with its refund.
    std::erase_if(op.persons, [this](int32_t pid) { return OperationPerson(pid) == nullptr; });
    if (op.persons.empty()) {
      CancelOperation();
      return;
    }
  }
  if (op.state == OperationState::Started) {
    // The work runs its whole duration from the step after the last arrival.
    op.state = OperationState::Working;
    return;
  }
  if (op.state == OperationState::Finished) {
    if (op.keepPersons) {
      op.state = OperationState::Held;
      for (int32_t pid : op.persons)
        if (cPerson* p = OperationPerson(pid)) p->SetVisibleState(1);
    } else {
      op.state = OperationState::Idle;
      op.persons.clear();
    }
    op.workDirection = 8;
    op.personsArrived = 0;
    return;
  }
  if (op.state != OperationState::Working) return;
  const bool workDone = op.workTimer.Advance(ms);
  if (op.partTimer.Advance(ms) && !workDone) {
    ++op.partsDone;
    op.workTimer.Stop();  // paused until ContinueOperation
    if (op.partListener) op.partListener->OnPartDone(op.partsDone - 1, op.persons.empty() ? kNoId : op.persons[0]);
    return;
  }
  if (workDone) EndWork();
}

void cSubjectObject::ContinueOperation() {
  cSubjectOperation& op = operation;
  if (op.state != OperationState::Working || op.workTimer.remaining <= 0) return;
  op.workTimer.running = true;
  // Another part when more than one is left; the last one runs with the work timer.
  if (op.partsTotal > 1 && op.partsDone < op.partsTotal - 1) {
    op.partTimer.Start(op.duration / op.partsTotal);
    if (!op.persons.empty())
      if (cPerson* p = OperationPerson(op.persons[0])) p->StartWork(p->direction);
  }
}

bool cSubjectObject::UpdateTimers(int32_t ms) {
  bool remove = cObject::UpdateTimers(ms);
  if (refusalWindow.Advance(ms)) refusalCount = 0;
  if (operation.state == OperationState::Finished) OnOperationFinished();
  UpdateOperation(ms);
  // A subject that faded out of play leaves as a killed object does: its fog area opens (once:
  // opening clears the flag), or a mended road would leave the land behind it under the fog.
  if (m_fadeOutDone) OpenFogArea(0, 0);
  return remove || m_fadeOutDone;
}

// ---- Cancelling, refusals, leaving play ----------------------------------------------------

void cSubjectObject::RefundPaid() {
  Game::PlayerStock* s = stock();
  for (int r = Game::kFood; r <= Game::kGold; ++r) {
    if (operation.paid[r] > 0 && s) s->RefundResource(r, operation.paid[r]);
    operation.paid[r] = 0;
  }
}

bool cSubjectObject::CancelRunning() {
  const OperationState s = operation.state;
  // Idle has nothing to give back; Finished has done its work and let its persons go already.
  if (s == OperationState::Idle || s == OperationState::Finished) return false;
  RefundPaid();
  const std::vector<int32_t> persons = operation.persons;
  operation.persons.clear();
  for (int32_t pid : persons)
    if (cPerson* p = OperationPerson(pid); p && p->state != PersonState::Resting) p->Stand(operation.cheerTime);
  operation.partTimer.Stop();
  operation.workTimer.Stop();
  operation.personsArrived = 0;
  operation.workDirection = 8;
  operation.state = OperationState::Idle;
  PostSubjectEvent(Game::Event::ObjectKilled);
  return true;
}

void cSubjectObject::CancelOperation() {
  CancelRunning();
  StopSigns();
}

void cSubjectObject::OnOrderRefused() {
  RestartNoSign();
  ++ordersRefused;
  if (refusalCount <= 1) {
    PlayRefusalSound();
    ++refusalCount;
    if (!refusalWindow.running) refusalWindow.Start(kRefusalWindowMs);
  }
}

void cSubjectObject::PlayRefusalSound() {
  ++refusalSoundsPlayed;
  if (refusalSound.empty()) return;
  loadRefusalSounds();
  if (sndIsInit()) sndPlayEx(refusalSound.c_str(), SND_SOUND, -1.0f, sndScreenPan(int(x)), -1.0f);
}

void cSubjectObject::RemoveFromPlay() {
  if (leavingPlay) return;
  leavingPlay = 1;
  // An operation leaving with the subject gives back what it cost; the queue and the buildings
  // hear of the subject's end once.
  if (!CancelRunning()) PostSubjectEvent(Game::Event::ObjectKilled);
  StopSigns();
  Set(kFlagClickable, false);
  Set(kFlagPointerOver, false);
  if (Game::LevelContext* c = level(); c && c->map) HideChildren(*c->map);
  fadeOut.Start(kFadeOutMs);
}

void cSubjectObject::RegisterEvents(Game::cEventDispatcher* d) {
  for (Game::Event e : {Game::Event::GamePlayFinished, Game::Event::TakeOutOfPlay, Game::Event::PersonArrived,
                        Game::Event::PersonWalksToGathering, Game::Event::PersonCalledBack})
    Register(e, d, this);
}

void cSubjectObject::OnEvent(GameEvent& e) {
  cObject::OnEvent(e);
  switch (e.code) {
    case Game::Code(Game::Event::GamePlayFinished):
      StopSigns();
      if (deleteOnGamePlayFinished) RemoveFromPlay();
      break;
    case Game::Code(Game::Event::TakeOutOfPlay):
      if (tag != 0 && uint32_t(e.tag) == tag) RemoveFromPlay();
      break;
    case Game::Code(Game::Event::PersonArrived):
      if (e.otherId == id && e.objectId != kNoId) OnPersonArrived(e.objectId);
      break;
    case Game::Code(Game::Event::PersonWalksToGathering):
      if (contains(operation.persons, e.objectId)) CancelOperation();
      if (!withdrawn) {
        if (Game::LevelContext* c = level(); c && c->map) HideChildren(*c->map);
        withdrawn = 1;
      }
      break;
    case Game::Code(Game::Event::PersonCalledBack):
      if (contains(operation.persons, e.objectId)) CancelOperation();
      break;
    default:
      break;
  }
}
}  // namespace Map
