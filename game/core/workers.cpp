// The workers controller and the operations queue.
#include "game/core/workers.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "files/file.h"
#include "files/name_hash.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/path_finder.h"
#include "game/core/player_stock.h"
#include "game/core/random.h"
#include "game/objects/barn.h"
#include "game/objects/subject_object.h"

namespace Game {
namespace {
const uint32_t kWorkerHash = NameHash("Worker");
uint32_t kindOf(uint32_t k) { return k ? k : kWorkerHash; }
PathPoint toPath(Map::IntPoint p) { return {p.x, p.y}; }
PathPoint anchorOf(const Map::cObject& o) { return {int32_t(o.x), int32_t(o.y)}; }
}  // namespace

cWorkersController::cWorkersController(cEventDispatcher* d, Map::cMap* map, cPathFinder* path, PlayerStock* stock,
                                       Map::cObjectFactory* factory)
    : m_dispatcher(d), m_map(map), m_path(path), m_stock(stock), m_factory(factory) {
  m_persons.reserve(10);
}

cWorkersController::~cWorkersController() {
  if (m_dispatcher) m_dispatcher->Forget(this);
}

void cWorkersController::RegisterEvents() {
  for (Event e : {Event::RoutesMayBeCut, Event::PersonArrived, Event::PersonMayGoHome}) Register(e, m_dispatcher, this);
}

Map::cPerson* cWorkersController::Person(int32_t id) const {
  Map::cObject* o = m_map->FindById(id);
  if (!o || (o->flags & Map::kFlagRemoved)) return nullptr;
  return dynamic_cast<Map::cPerson*>(o);
}

Map::cObject* cWorkersController::Barn() const { return m_map->FindByType("building", "barn"); }

Map::cPerson* cWorkersController::CreatePerson(Map::IntPoint p, std::string_view kind, int32_t homeId) {
  Map::personRegisterClass(*m_factory);
  Map::cObject* o = m_factory->Create("person", kind);
  auto* person = dynamic_cast<Map::cPerson*>(o);
  if (!person) return nullptr;
  const char* file = "data/person/persons.ini";
  std::string section = std::string(kind) + "1";
  if (fileExists(file)) person->LoadIni(file, section.c_str());
  person->SetAnchor(p);
  person->SetHidden(true);
  m_factory->RegisterEvents(*person);
  m_map->Add(person);
  if (homeId < 0) {
    Map::cObject* barn = Barn();
    person->homeId = barn ? barn->id : -1;
    if (m_stock) m_stock->AddResource(kWorker, 1, false);
    GameEvent e;
    MakeEvent(e, Event::WorkerJoined);
    e.objectId = person->id;
    Post(m_dispatcher, e);
  } else {
    person->homeId = homeId;
  }
  person->atHome = 1;
  person->SetReturnTimer(true);
  person->SetKind(NameHash(kind));
  m_persons.push_back(person->id);
  return person;
}

Map::cPerson* cWorkersController::RequestWorker(bool arrive) {
  Map::cObject* barn = Barn();
  Map::IntPoint at = barn ? barn->Support(0) : Map::IntPoint{};
  Map::cPerson* p = CreatePerson(at, "Worker", -1);
  if (p && arrive) {
    // A new worker greets at the barn's door, where the barn names one.
    if (auto* b = dynamic_cast<Map::cBarn*>(barn); b && (b->workerOffset.x != 0 || b->workerOffset.y != 0))
      p->SetAnchor(b->WorkerPoint());
    p->atHome = 0;
    p->Greet();
  }
  return p;
}

bool cWorkersController::Adopt(Map::cObject* o) {
  auto* p = dynamic_cast<Map::cPerson*>(o);
  if (!p || std::find(m_persons.begin(), m_persons.end(), p->id) != m_persons.end()) return false;
  if (p->kind == 0) p->SetKind(kWorkerHash);
  if (Map::cObject* barn = Barn(); barn && p->homeId < 0) p->homeId = barn->id;
  if (p->kind == kWorkerHash && m_stock) m_stock->AddResource(kWorker, 1, false);
  m_persons.push_back(p->id);
  return true;
}

int cWorkersController::CountFree(uint32_t kind, bool homeOnly) const {
  if (m_levelFinished) return 0;
  int n = 0;
  for (int32_t id : m_persons)
    if (Map::cPerson* p = Person(id); p && p->kind == kindOf(kind))
      n += homeOnly ? (p->state == Map::PersonState::Free && p->atHome) : p->IsFree();
  return n;
}

int cWorkersController::CountKind(uint32_t kind) const {
  int n = 0;
  for (int32_t id : m_persons)
    if (Map::cPerson* p = Person(id); p && p->kind == kindOf(kind)) ++n;
  return n;
}

Map::cPerson* cWorkersController::GetNth(uint32_t kind, int n) const {
  for (int32_t id : m_persons)
    if (Map::cPerson* p = Person(id); p && p->kind == kindOf(kind) && n-- == 0) return p;
  return nullptr;
}

Map::cObject* cWorkersController::GetHome(uint32_t kind) const {
  Map::cPerson* p = GetNth(kind, 0);
  return p ? m_map->FindById(p->homeId) : nullptr;
}

bool cWorkersController::CanReach(const Map::cObject& subject, uint32_t kind) const {
  Map::cObject* home = GetHome(kind);
  PathRoute r;
  return home && m_path->FindRouteToObject(*home, subject, -1, r) && !r.empty();
}

int32_t cWorkersController::AssignPerson(int32_t subjectId, uint32_t kind, int32_t visibleState, bool homeOnly,
                                         int support) {
  Map::cObject* s = m_map->FindById(subjectId);
  if (!s || m_levelFinished) return -1;
  Map::cPerson* best = nullptr;
  int32_t bestDistance = 0;
  for (int32_t id : m_persons) {
    Map::cPerson* p = Person(id);
    if (!p || p->kind != kindOf(kind) || !p->IsFree()) continue;
    if (homeOnly && !(p->state == Map::PersonState::Free && p->atHome)) continue;
    int32_t d = m_path->ObjectDistance(p, s);
    if (d == kPathUnreachable) continue;  // no route: never chosen
    if (!best || d < bestDistance) {
      best = p;
      bestDistance = d;
    }
  }
  if (!best || !SendTo(best->id, subjectId, visibleState, support, 0.0f)) return -1;
  best->PlayVoice();
  return best->id;
}

bool cWorkersController::SendTo(int32_t personId, int32_t subjectId, int32_t visibleState, int support, float speed) {
  Map::cPerson* p = Person(personId);
  Map::cObject* s = m_map->FindById(subjectId);
  if (!p || !s) return false;
  PathRoute route;
  if (!m_path->FindRouteToObject(*p, *s, support, route) || route.empty()) return false;
  const bool wasHome = p->atHome != 0, timerOver = p->ReturnTimerOver();
  p->atHome = 0;
  p->SetHidden(false);
  p->redirectable = 0;
  p->SetVisibleState(visibleState);
  p->StartMove(subjectId, route, false, speed);
  if (wasHome) {
    GameEvent e;
    MakeEvent(e, Event::PersonLeftHome);
    e.objectId = p->id;
    if (Map::cObject* barn = Barn()) {
      e.x = int32_t(barn->x);
      e.y = int32_t(barn->y);
    }
    // Field 14: only a worker who has rested long enough at home calls out as it leaves.
    e.value = timerOver ? 1 : 0;
    Post(m_dispatcher, e);
  }
  return true;
}

bool cWorkersController::SendHome(int32_t personId, int32_t visibleState, bool redirectable) {
  Map::cPerson* p = Person(personId);
  if (!p) return false;
  if (m_levelFinished && p->kind == kWorkerHash) {
    p->Celebrate(0, 0);
    return false;
  }
  Map::cObject* home = m_map->FindById(p->homeId);
  if (!home) return false;
  PathRoute route = m_path->FindRoute(anchorOf(*p), toPath(home->Support(0)), 3);
  if (!route.empty()) {
    p->SetVisibleState(visibleState);
    p->redirectable = redirectable ? 1 : 0;
    p->StartMove(home->id, route, true, 0.0f);
    GameEvent e;
    MakeEvent(e, Event::PersonSentHome);
    e.objectId = p->id;
    e.x = int32_t(p->x);
    e.y = int32_t(p->y);
    Post(m_dispatcher, e);
    return true;
  }
  p->SetAnchor(home->Support(0));
  p->Arrive();
  p->atHome = 1;
  p->SetReturnTimer(false);
  return false;
}

void cWorkersController::GatherAt(int32_t objectId) {
  m_walkingOut.clear();
  m_sendIdleHome = 0;
  Map::cObject* o = m_map->FindById(objectId);
  if (!o) return;
  for (int32_t id : m_persons) {
    Map::cPerson* p = Person(id);
    PathRoute route;
    if (!p || !m_path->FindRouteToObject(*p, *o, -1, route) || route.empty()) continue;
    GameEvent e;
    MakeEvent(e, Event::PersonWalksToGathering);
    e.objectId = p->id;
    Post(m_dispatcher, e);
    int32_t dx = RandomInt(20), dy = RandomInt(20);
    // Persons gathering do not all start from one spot.
    PathRoute spread;
    for (size_t i = 0; i < route.size(); ++i)
      spread.push_back(i == 0 ? PathPoint{route[0].x + dx, route[0].y + dy} : route[i]);
    p->SetVisibleState(2);
    p->StartMove(objectId, spread, false, 0.0f);
    p->SetHidden(false);
  }
}

void cWorkersController::WalkOut(int32_t personId) {
  Map::cPerson* p = Person(personId);
  if (!p || p->state != Map::PersonState::Free || !p->atHome) return;
  p->SetHidden(false);
  Map::cObject* barn = Barn();
  if (!barn) {
    p->Celebrate(0, 0);
    return;
  }
  const PathPoint door = toPath(barn->Support(0));
  PathPoint to = door;
  for (int attempt = 0; attempt < 10; ++attempt) {
    const int32_t r15 = RandomValue();
    const double r = double(RandomValue()) / 32767.0;
    const PathPoint at{int32_t(barn->x) - 100 + int32_t(std::lround(r * 200.0)), int32_t(barn->y) + 80 + r15 * 30 / 32768};
    if (!m_path->FindRoute(door, at, kPathMaskStandard).empty()) {
      to = at;
      break;
    }
  }
  PathRoute route = m_path->FindRoute(door, to, kPathMaskStandard);
  if (route.empty()) {
    p->Celebrate(0, 0);
    return;
  }
  p->atHome = 0;
  p->SetVisibleState(2);
  p->StartMove(-1, route, false, 0.0f);
  m_walkingOut.push_back(p->id);
}

bool cWorkersController::RemoveWorker() {
  for (auto it = m_persons.begin(); it != m_persons.end(); ++it) {
    Map::cPerson* p = Person(*it);
    if (!p || p->kind != kWorkerHash || p->state != Map::PersonState::Free || !p->atHome) continue;
    m_map->Remove(p->id);
    if (m_stock) m_stock->SpendResource(kWorker, 1);
    m_persons.erase(it);
    return true;
  }
  return false;
}

void cWorkersController::LevelWon() {
  static const uint32_t kPersonType = NameHash("person");
  size_t cursor = 0;
  std::vector<int32_t> all;
  while (Map::cObject* o = m_map->Iterate(kPersonType, 0, cursor)) all.push_back(o->id);
  for (int32_t id : all) {
    Map::cPerson* p = Person(id);
    if (!p || p->kind != kWorkerHash) continue;
    if (p->state == Map::PersonState::Free && p->atHome)
      WalkOut(id);
    else if (p->state != Map::PersonState::Working)
      p->Celebrate(0, 0);
  }
  m_levelFinished = 1;
}

void cWorkersController::CheckRoutes() {
  for (int32_t id : m_persons) {
    Map::cPerson* p = Person(id);
    if (!p || p->state != Map::PersonState::Walking) continue;
    Map::cObject* target = m_map->FindById(p->targetId);
    PathRoute route;
    if (target && m_path->FindRouteToObject(*p, *target, -1, route) && !route.empty()) continue;
    int32_t targetId = p->targetId;
    SendHome(p->id, 2, p->redirectable != 0);
    GameEvent e;
    MakeEvent(e, Event::PersonCalledBack);
    e.objectId = id;
    e.otherId = targetId;
    Post(m_dispatcher, e);
  }
}

void cWorkersController::Release(int32_t subjectId) {
  for (int32_t id : m_persons)
    if (Map::cPerson* p = Person(id);
        p && p->targetId == subjectId && (p->state == Map::PersonState::Walking || p->state == Map::PersonState::Working))
      SendHome(p->id, 2, true);
}

void cWorkersController::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  if (e.code == Code(Event::RoutesMayBeCut)) {
    CheckRoutes();
  } else if (e.code == Code(Event::PersonArrived)) {
    // A person back at its home goes in; left outside it would be sent home again every step.
    if (Map::cPerson* p = Person(e.objectId);
        p && p->state == Map::PersonState::Free && p->homeId >= 0 && e.otherId == p->homeId && !p->atHome) {
      p->atHome = 1;
      p->SetHidden(true);
      p->SetReturnTimer(false);
    }
    auto it = std::find(m_walkingOut.begin(), m_walkingOut.end(), e.objectId);
    if (it != m_walkingOut.end()) {
      m_walkingOut.erase(it);
      if (Map::cPerson* p = Person(e.objectId)) p->Celebrate(0, 0);
    }
  } else if (e.code == Code(Event::PersonMayGoHome)) {
    SendHome(e.objectId, 2, false);
  }
}

void cWorkersController::Update(int32_t) {
  // Drop the ids of persons that left the map.
  std::erase_if(m_persons, [this](int32_t id) { return Person(id) == nullptr; });
  for (int32_t id : m_persons) {
    Map::cPerson* p = Person(id);
    if (m_sendIdleHome && !m_levelFinished && p->state == Map::PersonState::Free && !p->atHome && p->ReturnTimerOver() &&
        p->homeId >= 0)
      SendHome(id, 2, true);
    if (m_levelFinished && p->kind == kWorkerHash && p->visibleState != 0 &&
        (p->state == Map::PersonState::Free || p->state == Map::PersonState::Standing))
      p->Celebrate(0, 0);
  }
}

int cWorkersController::ReleaseGreeting() {
  int n = 0;
  for (int32_t id : m_persons)
    if (Map::cPerson* p = Person(id); p && p->kind == kWorkerHash && p->state == Map::PersonState::Greeting) {
      p->state = Map::PersonState::Free;
      ++n;
    }
  return n;
}

cOperationsQueue::cOperationsQueue(cEventDispatcher* d, Map::cMap* map, cWorkersController* workers)
    : m_dispatcher(d), m_map(map), m_workers(workers) {
  m_orders.reserve(30);
}

cOperationsQueue::~cOperationsQueue() {
  if (m_dispatcher) m_dispatcher->Forget(this);
}

void cOperationsQueue::RegisterEvents() { Register(Event::ObjectKilled, m_dispatcher, this); }

void cOperationsQueue::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  if (e.code != Code(Event::ObjectKilled)) return;
  for (size_t i = 0; i < m_orders.size(); ++i)
    if (m_orders[i].subjectId == e.objectId) {
      Drop(i);
      break;
    }
}

void cOperationsQueue::Enqueue(int32_t subjectId, bool toFront, int personsNeeded) {
  if (subjectId < 0 || Contains(subjectId)) return;
  if (auto* s = dynamic_cast<Map::cSubjectObject*>(m_map->FindById(subjectId)))
    personsNeeded = std::max(personsNeeded, int(s->personsNeeded));
  Order o{subjectId, 0};
  if (personsNeeded > 1 || toFront)
    m_orders.insert(m_orders.begin(), o);
  else
    m_orders.push_back(o);
  m_selected = subjectId;
}

bool cOperationsQueue::Contains(int32_t id) const {
  return std::any_of(m_orders.begin(), m_orders.end(), [id](const Order& o) { return o.subjectId == id; });
}

void cOperationsQueue::Cancel(int32_t id) {
  const size_t i = Find(id);
  if (i == size_t(-1)) return;
  // The order goes first: the subject's cancel tells everyone (event 25), the queue included.
  m_orders.erase(m_orders.begin() + std::ptrdiff_t(i));
  if (Map::cObject* s = m_map->FindById(id)) s->CancelOperation();
}

size_t cOperationsQueue::Find(int32_t id) const {
  for (size_t i = 0; i < m_orders.size(); ++i)
    if (m_orders[i].subjectId == id) return i;
  return size_t(-1);
}

bool cOperationsQueue::RemoveIfServed(int32_t id) {
  auto* s = dynamic_cast<Map::cSubjectObject*>(m_map->FindById(id));
  const size_t i = Find(id);
  if (i == size_t(-1)) return true;  // someone removed it already
  // Served once every person is asked for and the operation is under way. A person already at
  // the subject arrives while it is asked, so the operation can pass Gathering within the request.
  const Map::OperationState st = s ? s->operation.state : Map::OperationState::Idle;
  if (!s || !s->HasRequestedAllPersons() || st == Map::OperationState::Idle || st == Map::OperationState::Ordered)
    return false;
  m_orders.erase(m_orders.begin() + std::ptrdiff_t(i));
  return true;
}

bool cOperationsQueue::ServeCarried(int32_t id) {
  auto* s = dynamic_cast<Map::cSubjectObject*>(m_map->FindById(id));
  if (!s || !m_workers) return false;
  for (int32_t pid : m_workers->Persons()) {
    Map::cPerson* p = m_workers->Person(pid);
    if (!p || p->kind != kWorkerHash || p->state != Map::PersonState::Free || !p->atHome) continue;
    if (!m_workers->CanReach(*s, p->kind)) continue;
    if (size_t i = Find(id); i != size_t(-1)) m_orders[i].waiting = 0;
    s->RequestPersons();
    RemoveIfServed(id);
    return true;
  }
  return false;
}

void cOperationsQueue::FetchItem(int32_t id) {
  auto* s = dynamic_cast<Map::cSubjectObject*>(m_map->FindById(id));
  if (!s || !m_workers) return;
  for (int32_t pid : m_workers->Persons()) {
    Map::cPerson* p = m_workers->Person(pid);
    if (!p || p->kind != kWorkerHash || !p->IsFree()) continue;
    if (!m_workers->CanReach(*s, p->kind)) continue;
    m_workers->SendHome(pid, 2, false);
    if (size_t i = Find(id); i != size_t(-1)) m_orders[i].waiting = 1;
    return;
  }
}

bool cOperationsQueue::Gone(int32_t id) const {
  Map::cObject* s = m_map->FindById(id);
  return !s || (s->flags & Map::kFlagRemoved) || s->IsWithdrawn();
}

void cOperationsQueue::Drop(size_t i) {
  int32_t id = m_orders[i].subjectId;
  m_orders.erase(m_orders.begin() + std::ptrdiff_t(i));
  if (m_workers) m_workers->Release(id);
}

void cOperationsQueue::Update(int32_t) {
  // A subject can leave play without event 25 (removed with its parent, withdrawn): its order must
  // not be served later through an id that no longer means it.
  for (size_t i = 0; i < m_orders.size();) {
    if (Gone(m_orders[i].subjectId))
      Drop(i);
    else
      ++i;
  }
  if (!m_workers) return;
  for (size_t i = 0; i < m_orders.size();) {
    const int32_t id = m_orders[i].subjectId;
    // Only operation subjects are served; anything else waits until it leaves play.
    auto* s = dynamic_cast<Map::cSubjectObject*>(m_map->FindById(id));
    if (!s) {
      ++i;
      continue;
    }
    const bool available = s->UsesOwnPersonCheck() ? s->HasEnoughPersons(false)
                                                    : m_workers->CountFree(s->personKind, false) > 0;
    if (!available) {
      ++i;
      continue;
    }
    if (m_orders[i].waiting) {
      ServeCarried(id);
      if (Find(id) == i) ++i;  // otherwise served: index i holds the next order
      continue;
    }
    if (!s->HasPathForPersons()) {
      ++i;
      continue;
    }
    if (s->NeedsCarriedItem()) {
      if (!ServeCarried(id)) FetchItem(id);
    } else {
      s->RequestPersons();
      RemoveIfServed(id);
    }
    // The order may be gone (served, or cancelled while the subject asked); then index i holds
    // the next one.
    if (Find(id) == i) ++i;
  }
}
}  // namespace Game
