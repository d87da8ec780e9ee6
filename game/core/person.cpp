// Persons: states, route following, delivery and the person-side events.
#include "game/core/person.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "anim/anim_catalogue.h"
#include "anim/fx_simple_pyro.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/game_main.h"
#include "game/core/level_context.h"
#include "game/core/map_factory.h"
#include "game/core/random.h"
#include "gfx/render.h"
#include "sound/sound.h"

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

bool g_voicesOn = true;

// The person sound script is loaded while some person speaks with it, and freed with the last one,
// so a level's persons never load it twice.
int g_soundUsers = 0;
bool g_soundsLoaded = false;
void soundsAcquire() {
  if (g_soundUsers++ > 0) return;
  if (sndIsInit() && fileExists(kPersonSoundsFile)) {
    sndLoadScript(kPersonSoundsFile);
    g_soundsLoaded = true;
  }
}
void soundsRelease() {
  if (g_soundUsers <= 0 || --g_soundUsers > 0) return;
  if (g_soundsLoaded && sndIsInit()) sndFreeScript(kPersonSoundsFile);
  g_soundsLoaded = false;
}

const uint32_t kWarriorHash = NameHash("Warrior");
const uint32_t kExorcistHash = NameHash("Exorcist");
const uint32_t kWorkerHash = NameHash("Worker");

struct CarriedItem {
  uint32_t hash;
  const char* bag;  // the effect shown while it is carried
  Game::Event delivered;
};
const CarriedItem kItems[] = {{NameHash("quill"), "QuillInBag", Game::Event::QuillDelivered},
                              {NameHash("Key"), "QuillInBag", Game::Event::KeyDelivered},
                              {NameHash("berry"), "BerryInBag", Game::Event::BerryDelivered},
                              {NameHash("heart"), "HeartInBag", Game::Event::HeartDelivered}};
const CarriedItem* findItem(uint32_t hash) {
  for (const CarriedItem& i : kItems)
    if (hash != 0 && i.hash == hash) return &i;
  return nullptr;
}
}  // namespace

const char* const kPersonVisibleStateNames[kPersonVisibleStates] = {
    "", "stay", "move", "moveWithBag", "happy", "happy2", "repair", "build", "gather",
    "axe", "pick", "greetings", "chop", "stay2", "trade", "giveheart", "trade2"};

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
void personSetVoicesOn(bool on) { g_voicesOn = on; }
bool personVoicesOn() { return g_voicesOn; }

cPerson::cPerson() {
  speed = g_currentSpeed;
  // Nobody works on a person: asked anyway, it would still take one.
  personsNeeded = 0;
}

cPerson::~cPerson() {
  StopGatherSound();
  if (m_soundsBound) soundsRelease();
}

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

void cPerson::SetKind(uint32_t k) {
  kind = k;
  voice = k == kExorcistHash ? "Exorcist" : k == kWarriorHash ? "Warrior" : "Worker";
  if (k == kWorkerHash) voiceCountdown = 1;
  if (!m_soundsBound) {
    m_soundsBound = true;
    soundsAcquire();
  }
}

void cPerson::SetVisibleState(int32_t s) {
  if (s < 0 || s >= kPersonVisibleStates) return;
  ShowState(s);
  if (s == 1) m_fidgetTimer = RandomInt(kFidgetMaxMs);
  SetTrail((s == 2 || s == 3) && speed > g_baseSpeed);
}

FxManager::cSimplePyro& cPerson::Effect(int which, const char* effectName) {
  std::unique_ptr<FxManager::cSimplePyro>& e = which == kTrailEffect ? workEffect0 : workEffect1;
  if (!e) {
    e = std::make_unique<FxManager::cSimplePyro>();
    e->Load(effectName);
  }
  return *e;
}

void cPerson::SetTrail(bool on) {
  if (on == m_trail) return;
  m_trail = on;
  if (on) {
    Effect(kTrailEffect, "RunningTrail");
    StartWorkEffect(kTrailEffect);
  } else if (workEffect0) {
    StopWorkEffect(kTrailEffect);
  }
}

void cPerson::SetCarriedItem(uint32_t itemHash) {
  carriedItem = itemHash;
  const CarriedItem* item = findItem(itemHash);
  if (!item) return;
  // A bag of another item is replaced, not shown twice.
  if (workEffect1 && std::string_view(workEffect1->GetName()) != item->bag) workEffect1.reset();
  Effect(kBagEffect, item->bag);
  StartWorkEffect(kBagEffect);
}

void cPerson::PlayVoice() {
  if (!g_voicesOn || voiceCountdown >= 1) {
    --voiceCountdown;
    return;
  }
  if (!voice.empty()) sndPlayEx(voice.c_str(), SND_SOUND, -1.0f, sndScreenPan(int(x)), -1.0f);
  ++voicesPlayed;
  voiceCountdown = RandomInt(kVoiceRestMax + 1);
}

std::string cPerson::AnimationKey(int32_t visible, int32_t dir) {
  if (visible < 1 || visible >= kPersonVisibleStates || dir < 0 || dir > 7) return {};
  return std::string(kPersonVisibleStateNames[visible]) + "_anim" + char('0' + dir);
}

void cPerson::SetAnimationName(int32_t visible, int32_t dir, std::string_view name) {
  if (visible < 1 || visible >= kPersonVisibleStates || dir < 0 || dir > 7) return;
  const bool none = name.empty() || textEqualNoCase(name, "null");
  m_animTable[visible][dir] = none ? 0 : NameHash(name);
}

uint32_t cPerson::AnimationHash(int32_t visible, int32_t dir) const {
  if (visible < 0 || visible >= kPersonVisibleStates || dir < 0 || dir > 7) return 0;
  return m_animTable[visible][dir];
}

void cPerson::LoadAnimationTable(const gFileName& file, const char* section) {
  for (int32_t v = 1; v < kPersonVisibleStates; ++v)
    for (int32_t d = 0; d < 8; ++d) {
      const std::string key = AnimationKey(v, d);
      if (const char* name = iniGetString(file, section, key.c_str(), nullptr)) SetAnimationName(v, d, name);
    }
  PlayCurrent(false);
}

bool cPerson::LoadIni(const gFileName& file, const char* section) {
  const bool ok = cSubjectObject::LoadIni(file, section);
  if (const char* key = iniGetString(file, section, "GatherSoundKey", nullptr)) gatherSound = key;
  LoadAnimationTable(file, section);
  return ok;
}

void cPerson::ShowState(int32_t visible) {
  visibleState = visible;
  m_fidgetTimer = -1;
  m_fidget = false;
  PlayCurrent(false);
}

void cPerson::PlayCurrent(bool keepPhase) {
  const uint32_t h = AnimationHash(visibleState == 1 && m_fidget ? 13 : visibleState, direction);
  if (keepPhase && h == m_animHash) return;
  const double phase = m_anim.IsValid() && m_anim.Period() > 0 ? double(m_anim.Time()) / m_anim.Period() : 0.0;
  m_animHash = h;
  m_anim = h ? Core::animManager().GetAnimationByHash(h) : AnimationState();
  if (m_anim.IsValid()) m_anim.Start(keepPhase ? int32_t(std::clamp(phase, 0.0, 1.0) * m_anim.Period()) : 0);
}

void cPerson::UpdateAnimation(int32_t ms) {
  cSubjectObject::UpdateAnimation(ms);
  if (m_anim.IsValid() && !m_anim.IsStopped() && m_anim.Advance(ms) && !m_anim.Has(AnimationState::kLoop)) m_anim.Stop();
}

float cPerson::Lift() const {
  const Game::LevelContext* level = Game::levelContext();
  if (!level || !level->map) return 0.0f;
  static const uint32_t kBrokenPath = NameHash("brokenPath");
  const IntPoint at{int32_t(x), int32_t(y)};
  for (size_t i = 0; i < level->map->Count(); ++i) {
    const cObject* o = level->map->At(i);
    if (o->typeHash != kBrokenPath) continue;
    const float cx = o->x + float(o->boundCentre.x), cy = o->y + float(o->boundCentre.y);
    if (std::abs(x - cx) <= float(o->boundHalfSize.x) && std::abs(y - cy) <= float(o->boundHalfSize.y))
      return o->GetHeightAt(at);
  }
  return 0.0f;
}

void cPerson::Draw(const DrawContext& dc) {
  const float lift = Lift();
  const float ax = x + dc.offsetX, ay = y - lift + dc.offsetY;
  if (m_trail && workEffect0) {
    workEffect0->SetPosition(ax, ay);
    workEffect0->Render();
  }
  // A visible state without animations draws nothing.
  if (visibleState > 0 && m_anim.IsValid())
    m_anim.DrawRotated(ax, ay, 0.0f, 0x100, 15, 0xFFFFFFFFu, scale, 0, -1);
  if (visibleState == 3 && workEffect1 && carriedItem) {
    workEffect1->SetPosition(ax, ay);
    workEffect1->Render();
  }
  if ((state == PersonState::Walking || state == PersonState::WalkingHome) &&
      testSetting(TestSwitch::Game_Map_Show_Path))
    DrawRoute(dc);
}

void cPerson::DrawRoute(const DrawContext& dc) const {
  // From where the person is to the end of its route.
  int px = int(x + dc.offsetX), py = int(y + dc.offsetY);
  for (size_t i = m_segment + 1; i < m_route.size(); ++i) {
    const int nx = int(float(m_route[i].x) + dc.offsetX), ny = int(float(m_route[i].y) + dc.offsetY);
    grLine(px, py, nx, ny, 0xFFFFFF40u);
    px = nx;
    py = ny;
  }
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
  if (visibleState != 8) return;
  StopGatherSound();
  m_gatherOn = true;
  ++gatherSoundsStarted;
  if (gatherSound.empty()) return;
  if ((m_gather = sndGet(gatherSound.c_str(), SND_SOUND))) {
    sndSetVolume(m_gather, std::clamp(volume, 0.0f, 1.0f));
    sndSetPan(m_gather, sndScreenPan(int(x)));
    sndStart(m_gather, -1);
  }
}

void cPerson::StopGatherSound() {
  m_gatherOn = false;
  if (!m_gather) return;
  if (sndIsInit()) sndRelease(m_gather);
  m_gather = nullptr;
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
  if (const CarriedItem* item = findItem(carriedItem)) {
    GameEvent i;
    MakeEvent(i, item->delivered);
    i.objectId = id;
    i.x = int32_t(x);
    i.y = int32_t(y);
    Post(i);
    if (workEffect1) StopWorkEffect(kBagEffect);
  }
  carriedResource = 4;
  carriedAmount = 0;
  carriedItem = 0;
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
  if (!factory.IsRegistered("Map::cPerson")) factory.RegisterClass<cPerson>("Map::cPerson");
}
}  // namespace Map
