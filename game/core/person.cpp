// Persons: states, route following, delivery and the person-side events.
#include "game/core/person.h"

#include <algorithm>
#include <cmath>

#include "files/ini.h"
#include "game/core/level_context.h"
#include "game/core/map_factory.h"
#include "game/core/random.h"

namespace Map {
namespace {
float g_baseSpeed = 0.1f;
float g_currentSpeed = 0.1f;
// A segment shorter than this has no direction to walk in.
constexpr float kMinSegment = 0.001f;
// Below this a person would take hours per cell; every walk must end.
constexpr float kMinWalkSpeed = 0.001f;

float segLength(PathPoint a, PathPoint b) { return std::hypot(float(b.x - a.x), float(b.y - a.y)); }
// The speed a walk uses: a deliberate stop stays a stop, anything else walks at least the minimum.
float walkSpeed(float s) { return s <= cPerson::kStopSpeed ? 0.0f : std::max(s, kMinWalkSpeed); }

}  // namespace

int32_t personDirection(float dx, float dy) {
  double a = std::atan2(double(dy), double(dx));
  if (a < 0) a += 6.28;
  double deg = a * 57.32484;
  if (deg < 22.5) return 2;
  if (deg < 67.5) return 3;
  if (deg < 112.5) return 4;
  if (deg < 157.5) return 5;
  if (deg < 202.5) return 6;
  if (deg < 247.5) return 7;
  if (deg < 292.5) return 0;
  if (deg < 337.5) return 1;
  return 2;
}

void personSetBaseSpeed(float v) { g_baseSpeed = g_currentSpeed = v; }
float personBaseSpeed() { return g_baseSpeed; }
float personCurrentSpeed() { return g_currentSpeed; }

cPerson::cPerson() {
  speed = g_currentSpeed;
  // Nobody works on a person: asked anyway, it would still take one.
  personsNeeded = 0;
}

cPerson::~cPerson() { ReleaseSounds(); }

void cPerson::RegisterEvents(Game::cEventDispatcher* d) {
  cSubjectObject::RegisterEvents(d);
  for (Game::Event e : {Game::Event::SpeedBonusFired, Game::Event::SpeedBonusEnded, Game::Event::MoreResourcesBonusFired,
                        Game::Event::MoreResourcesBonusEnded})
    Register(e, d, this);
}

void cPerson::OnEvent(GameEvent& e) {
  cSubjectObject::OnEvent(e);
  switch (e.code) {
    case Game::Code(Game::Event::SpeedBonusFired):
      // Only a person at the base speed speeds up: a second "on" never multiplies again.
      if (speed == g_baseSpeed) {
        speed = g_baseSpeed * 1.5f;
        if (state == PersonState::Walking || state == PersonState::WalkingHome) SetTrail(true);
      }
      if (g_currentSpeed == g_baseSpeed) g_currentSpeed = g_baseSpeed * 1.5f;
      break;
    case Game::Code(Game::Event::SpeedBonusEnded):
      if (speed > g_baseSpeed) {
        speed = g_baseSpeed;
        SetTrail(false);
      }
      g_currentSpeed = g_baseSpeed;
      break;
    case Game::Code(Game::Event::MoreResourcesBonusFired): bonusDelivery = 1; break;
    case Game::Code(Game::Event::MoreResourcesBonusEnded): bonusDelivery = 0; break;
    default: break;
  }
}

void cPerson::Post(GameEvent& e) {
  if (Game::cEventDispatcher* d = Game::eventDispatcher()) ::Post(d, e);
}

void cPerson::SetVisibleState(int32_t s) {
  if (s < 0 || s >= kPersonVisibleStates) return;
  ShowState(s);
  if (s == 1) m_fidgetTimer = RandomInt(kFidgetMaxMs);
  SetTrail((s == 2 || s == 3) && speed > g_baseSpeed);
}

bool cPerson::LoadIni(const gFileName& file, const char* section) {
  const bool ok = cSubjectObject::LoadIni(file, section);
  if (const char* key = iniGetString(file, section, "GatherSoundKey", nullptr)) gatherSound = key;
  LoadAnimationTable(file, section);
  return ok;
}

bool cPerson::IsFree() const {
  return state == PersonState::Free || state == PersonState::Standing ||
         (state == PersonState::WalkingHome && redirectable);
}

bool cPerson::BeginSegment(size_t i) {
  // Zero-length segments (two equal points) are stepped over: they have no direction, and
  // dividing by their length would make the position NaN.
  for (; i + 1 < m_route.size(); ++i) {
    float len = segLength(m_route[i], m_route[i + 1]);
    if (len < kMinSegment) continue;
    m_segment = i;
    m_t = 0.0;
    m_stepSpeed = walkSpeed(speed);
    m_step = double(m_stepSpeed) / len;
    direction = personDirection(float(m_route[i + 1].x - m_route[i].x), float(m_route[i + 1].y - m_route[i].y));
    totalWalked += len;
    return true;
  }
  return false;
}

void cPerson::StartMove(int32_t target, const PathRoute& route, bool walkingHome, float newSpeed) {
  targetId = target;
  if (newSpeed > 0.0f) speed = newSpeed;
  StopGatherSound();
  state = walkingHome ? PersonState::WalkingHome : PersonState::Walking;
  m_route = route;
  GameEvent e;
  MakeEvent(e, Game::Event::PersonStartedWalking);
  e.objectId = id;
  Post(e);
  if (BeginSegment(0)) {
    PlayCurrent(false);
  } else {
    if (!m_route.empty()) SetAnchorF(float(m_route[m_route.size() - 1].x), float(m_route[m_route.size() - 1].y));
    Arrive();
  }
}

void cPerson::Move(int32_t ms) {
  if (float now = walkSpeed(speed); now != m_stepSpeed) {
    const PathPoint a = m_route[m_segment], b = m_route[m_segment + 1];
    m_step = double(now) / segLength(a, b);
    m_stepSpeed = now;
  }
  GameEvent sp;
  MakeEvent(sp, Game::Event::PersonWalkingSpeed);
  sp.objectId = id;
  sp.value = int32_t(speed * 1000.0f);
  // The way this tick covers (a segment's end stops it), in whole pixels; the fraction is carried
  // on, so the told pixels add up to the way walked.
  const double length = segLength(m_route[m_segment], m_route[m_segment + 1]);
  m_walkCarry += (std::min(m_t + m_step * ms, 1.0) - m_t) * length;
  const double whole = std::floor(m_walkCarry);
  m_walkCarry -= whole;
  sp.value2 = int32_t(whole);
  Post(sp);
  m_t += m_step * ms;
  const PathPoint a = m_route[m_segment], b = m_route[m_segment + 1];
  if (m_t < 1.0f) {
    SetAnchorF(float(a.x + (b.x - a.x) * m_t), float(a.y + (b.y - a.y) * m_t));
    return;
  }
  SetAnchorF(float(b.x), float(b.y));
  if (BeginSegment(m_segment + 1))
    PlayCurrent(true);  // a turn keeps the walk's phase
  else
    Arrive();
}

void cPerson::FaceTarget() {
  const Game::LevelContext* level = Game::levelContext();
  const cObject* t = level && level->map && targetId != kNoId ? level->map->FindById(targetId) : nullptr;
  if (!t) return;
  const float dx = t->x + float(t->boundCentre.x) - x, dy = t->y + float(t->boundCentre.y) - y;
  // Standing on the centre itself there is no way to face: keep the direction.
  if (dx != 0.0f || dy != 0.0f) direction = personDirection(dx, dy);
}

void cPerson::StartWork(int32_t dir, float volume) {
  state = PersonState::Working;
  if (dir == kFaceTarget)
    FaceTarget();
  else if (dir >= 0 && dir < 8)
    direction = dir;
  PlayCurrent(false);
  if (visibleState == 8) StartGatherSound(volume);
}

void cPerson::Queue(bool walkBack) {
  state = PersonState::Queued;
  FaceTarget();
  SetVisibleState(walkBack ? 0 : 1);
}

void cPerson::Celebrate(int variant, int32_t ms) {
  state = PersonState::Celebrating;
  if (variant == 1)
    ShowState(4);
  else if (variant == 2)
    ShowState(5);
  else
    ShowState(RandomInt(100) >= 51 ? 5 : 4);
  // Cheering persons side by side should not move in step.
  if (m_anim.IsValid() && m_anim.Period() > 0) m_anim.Start(RandomInt(m_anim.Period(), true));
  // A person stopped mid-walk to cheer leaves no running trail behind.
  SetTrail(false);
  SetHidden(false);
  m_stateTimer = ms > 0 ? ms : 0;
}

void cPerson::Greet() {
  state = PersonState::Greeting;
  ShowState(11);
  SetTrail(false);
  SetHidden(false);
  m_stateTimer = kGreetMs;
}

void cPerson::Stand(int32_t ms) {
  state = PersonState::Standing;
  direction = 4;
  ShowState(1);
  SetTrail(false);
  m_stateTimer = ms;
}

void cPerson::SetReturnTimer(bool silent) {
  m_returnTimer = kReturnMs;
  if (silent) return;
  GameEvent e;
  MakeEvent(e, Game::Event::PersonBackHome);
  e.objectId = id;
  e.typeHash = int32_t(kind);
  Post(e);
}

void cPerson::Arrive() {
  state = PersonState::Free;
  ShowState(0);
  SetTrail(false);
  m_stateTimer = 100;
  const int32_t resource = carriedResource, amount = carriedAmount;
  Game::LevelContext* level = Game::levelContext();
  if (resource >= 0 && resource < 4 && amount > 0) {
    int32_t added = amount + (bonusDelivery ? 1 : 0);
    if (level && level->stock) level->stock->AddResource(resource, added, false, int32_t(x), int32_t(y));
    GameEvent d;
    MakeEvent(d, Game::Event::PersonDelivered);
    d.objectId = id;
    d.index = resource;
    d.amount = added;
    d.x = int32_t(x);
    d.y = int32_t(y);
    Post(d);
  }
  DeliverItem();
  carriedResource = 4;
  carriedAmount = 0;
  GameEvent e;
  MakeEvent(e, Game::Event::PersonArrived);
  e.objectId = id;
  e.otherId = targetId;
  e.index = resource;
  e.amount = amount;
  Post(e);
}

bool cPerson::UpdateTimers(int32_t ms) {
  bool remove = cSubjectObject::UpdateTimers(ms);
  if (m_gatherOn && state != PersonState::Working) StopGatherSound();
  if (m_fidgetTimer >= 0 && (m_fidgetTimer -= ms) < 0) {
    m_fidget = !m_fidget;
    PlayCurrent(false);
    m_fidgetTimer = m_fidget ? (m_anim.IsValid() ? m_anim.Period() : 0) : RandomInt(kFidgetMaxMs);
  }
  if (m_returnTimer > 0) m_returnTimer -= ms;
  switch (state) {
    case PersonState::Celebrating:
      if (m_stateTimer > 0 && (m_stateTimer -= ms) <= 0) {
        GameEvent e;
        MakeEvent(e, Game::Event::CelebrationEnded);
        e.objectId = id;
        Post(e);
      }
      break;
    case PersonState::Greeting:
      if ((m_stateTimer -= ms) <= 0) {
        state = PersonState::Free;
        GameEvent e;
        MakeEvent(e, Game::Event::PersonMayGoHome);
        e.objectId = id;
        Post(e);
      }
      break;
    case PersonState::Standing:
    case PersonState::Resting:
      if ((m_stateTimer -= ms) <= 0) state = PersonState::Free;
      break;
    case PersonState::Walking:
    case PersonState::WalkingHome:
      Move(ms);
      break;
    default:
      break;
  }
  return remove;
}

void personRegisterClass(cObjectFactory& factory) {
  factory.RegisterClassOnce<cPerson>("Map::cPerson");
}
}  // namespace Map
