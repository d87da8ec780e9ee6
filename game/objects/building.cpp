// The building's state machine, its events, its children and its record items.
#include "game/objects/building.h"

#include <algorithm>

#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "files/ini.h"
#include "files/text.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/map_family.h"
#include "game/core/person.h"

namespace Map {
namespace {
using BS = BuildingState;

// The items of the building block that follow the subject block in a family's record.
enum BlockItem { kBreakItem = 2, kLevelItem = 3, kLevelMaxItem = 4, kTabletXItem = 6, kTabletYItem = 7, kStateItem = 8 };

bool isWorkState(BS s) { return s == BS::UnderConstruction || s == BS::Upgrading || s == BS::Repairing; }

// Where the building block starts in the record of the object's family; npos without one.
size_t buildingBlockAt(uint32_t typeHash, uint32_t subtypeHash) {
  size_t at = 0;
  for (const MapExtension* b : mapFamilyOf(typeHash, subtypeHash).blocks) {
    if (b == &mapBuildingBlock()) return at;
    at += b->items.size();
  }
  return std::string::npos;
}
}  // namespace

const char* const cBuilding::kPlayerNames[kPlayerCount] = {"Idle", "WorkerOperation", "WorkerOperation2",
                                                           "WorkerOperation3", "WorkerJoy"};

bool buildingStateValid(int32_t v) { return (v >= 0 && v <= 5) || v == 10 || v == 11; }

cBuilding::cBuilding() = default;
cBuilding::~cBuilding() = default;

cMap* cBuilding::LevelMap() const {
  if (m_map) return m_map;
  Game::LevelContext* c = Game::levelContext();
  return c ? c->map.get() : nullptr;
}

void cBuilding::SetChildShown(const char* subtype, bool show) {
  cMap* map = LevelMap();
  if (!map) return;
  if (cObject* c = FindChild(*map, subtype)) c->SetHidden(!show);
}

void cBuilding::Post(GameEvent& e) const { ::Post(Game::eventDispatcher(), e); }

void cBuilding::PostAbout(GameEvent& e) const {
  FillEventAbout(e);
  Post(e);
}

// ---- Questions -------------------------------------------------------------------------------

bool cBuilding::CanUpgrade(bool checkCost) const {
  if (State() != BS::Built || upgradeLevelMax <= 0 || upgradeLevel >= upgradeLevelMax) return false;
  return !checkCost || CanAfford(NextUpgradeKind());
}

bool cBuilding::CanBreak() const { return canBreak && State() == BS::Built && operation.state == OperationState::Idle; }

int32_t cBuilding::GetUpgradeGain(int32_t) const { return 0; }

bool cBuilding::IsIdleAfterJoy() const { return State() == BS::Built && JoyFinished(); }

int cBuilding::LookSlot() const {
  if (upgradeLevel > 0 && upgradeLevel < kSlotBroken && anims[upgradeLevel].IsValid()) return upgradeLevel;
  return kSlotBuilt;
}

std::u16string cBuilding::UpgradeRefusalText() const {
  return iniWString("data\\translation.ini", nullptr, "#OBJECT_HINT_CANT_UPGRADE",
                    u"Not enough resources for the next upgrade");
}

// ---- Loading ---------------------------------------------------------------------------------

void cBuilding::LoadAnimations(bool resetPlayers) {
  if (resetPlayers)
    for (Core::cAnimScript& p : players) p.Stop();
  animScript = subtypeName.empty() ? std::string() : iniString(kDefinitions, subtypeName.c_str(), "animScript");
  if (!animScript.empty() && fileExists(animScript.c_str())) {
    for (int i = 0; i < kPlayerCount; ++i) {
      Core::cAnimScript& p = players[i];
      // A script need not have every state: missing ones play nothing and are not an error.
      if (p.StateCount() > 0 || iniKeyList(animScript.c_str(), kPlayerNames[i]).empty()) continue;
      p.LoadState(animScript.c_str(), kPlayerNames[i]);
    }
  }
  for (int i = kIdle; i <= kWorkerOperation3; ++i) players[i].Play(kPlayerNames[i]);
  if (!subtypeName.empty()) workSound.Load(kSounds, subtypeName.c_str());
  if (!workEffect0) workEffect0 = std::make_unique<FxManager::cSimplePyro>();
  workEffect0->Load("RepairDust_big");
}

void cBuilding::ApplyRecord(const MapObjectRecord& r) {
  cSubjectObject::ApplyRecord(r);
  const size_t at = buildingBlockAt(typeHash, subtypeHash);
  const size_t own = mapBuildingBlock().items.size();
  if (at == std::string::npos) {
    errorLog("Building \"%s\": its family (%s) keeps no building items; it stands as built\n", name.c_str(),
             typeName.c_str());
    state = int32_t(BS::Built);
    LoadAnimations(true);
    RebuildDisplayName();
    m_entryPending = true;
    return;
  }
  auto item = [&](int i) { return at + size_t(i) < r.extension.size() ? r.extension[at + size_t(i)].i : 0; };
  canBreak = item(kBreakItem) != 0;
  upgradeLevel = item(kLevelItem);
  upgradeLevelMax = item(kLevelMaxItem);
  upgradeTabletOffset = {item(kTabletXItem), item(kTabletYItem)};
  state = item(kStateItem);
  if (r.extension.size() > at + own)
    m_familyItems.assign(r.extension.begin() + std::ptrdiff_t(at + own), r.extension.end());
  else
    m_familyItems.clear();

  if (state == kLegacyBuiltState) state = int32_t(BS::Built);
  if (!buildingStateValid(state)) {
    errorLog("Building \"%s\": state %d is not a building state; read as 0 (Built)\n", name.c_str(), int(state));
    state = int32_t(BS::Built);
  }
  if (upgradeLevelMax < 0) {
    errorLog("Building \"%s\": upgradeLevelMax %d is below 0; read as 0\n", name.c_str(), int(upgradeLevelMax));
    upgradeLevelMax = 0;
  }
  if (upgradeLevel < 0 || upgradeLevel > upgradeLevelMax) {
    const int32_t fixed = std::clamp(upgradeLevel, 0, upgradeLevelMax);
    errorLog("Building \"%s\": upgradeLevel %d lies outside 0 to %d; read as %d\n", name.c_str(), int(upgradeLevel),
             int(upgradeLevelMax), int(fixed));
    upgradeLevel = fixed;
  }
  LoadAnimations(true);
  RebuildDisplayName();
  m_entryPending = true;
}

void cBuilding::FillRecord(MapObjectRecord& r) const {
  cSubjectObject::FillRecord(r);
  const size_t at = buildingBlockAt(typeHash, subtypeHash);
  const size_t own = mapBuildingBlock().items.size();
  if (at == std::string::npos || r.extension.size() < at + own) return;
  for (size_t i = 0; i < own; ++i) r.extension[at + i] = MapExtValue{};
  r.extension[at + kBreakItem].i = canBreak;
  r.extension[at + kLevelItem].i = upgradeLevel;
  r.extension[at + kLevelMaxItem].i = upgradeLevelMax;
  r.extension[at + kTabletXItem].i = upgradeTabletOffset.x;
  r.extension[at + kTabletYItem].i = upgradeTabletOffset.y;
  r.extension[at + kStateItem].i = state;
  if (r.extension.size() == at + own + m_familyItems.size())
    std::copy(m_familyItems.begin(), m_familyItems.end(), r.extension.begin() + std::ptrdiff_t(at + own));
}

void cBuilding::CopyFrom(const cObject& from) {
  cSubjectObject::CopyFrom(from);
  const auto* b = dynamic_cast<const cBuilding*>(&from);
  if (!b) return;
  state = b->state;
  upgradeLevel = b->upgradeLevel;
  upgradeLevelMax = b->upgradeLevelMax;
  canBreak = b->canBreak;
  upgradeTabletOffset = b->upgradeTabletOffset;
  m_familyItems = b->m_familyItems;
  LoadAnimations(true);
  RebuildDisplayName();
  m_entryPending = true;
}

void cBuilding::OnAdded(cMap& map) {
  cSubjectObject::OnAdded(map);
  m_map = &map;
}

void cBuilding::OnMapReady() {
  cSubjectObject::OnMapReady();
  if (m_entryPending) EnterLoadedState();
}

void cBuilding::EnterLoadedState() {
  m_entryPending = false;
  // Work in progress is not part of a level file: no operation or persons stand behind it, so the
  // building takes the state the work started from.
  BS s = State();
  if (s == BS::UnderConstruction || s == BS::Upgrading || s == BS::Repairing) {
    const BS from = s == BS::UnderConstruction ? BS::NotBuilt : s == BS::Repairing ? BS::Broken : BS::Built;
    errorLog("Building \"%s\": state %d has no work behind it after loading; read as %d\n", name.c_str(), int(s),
             int(from));
    state = int32_t(from);
  }
  RebuildDisplayName();
  // The children start out of sight; the state shows those it needs.
  for (const char* c : {"hint", "upgradeHint", "focusMarker", "UpgradeTrumpets"}) SetChildShown(c, false);
  // The levels reached before play began are told once each, silently: the level icons show them,
  // while goals and scoring leave them alone.
  if (State() != BS::NotBuilt)
    for (int32_t level = 1; level <= upgradeLevel; ++level) {
      GameEvent e;
      MakeEvent(e, Game::Event::BuildingLevelReached);
      e.value = 1;
      e.value2 = level;
      PostAbout(e);
    }
  SetState(State(), true);
}

// ---- The state machine -----------------------------------------------------------------------

void cBuilding::SetState(BS next, bool flag) {
  const BS old = State();
  state = int32_t(next);
  if (old == BS::Repairing) {
    OnRepaired();
    SoundTrumpets();
  } else if (next == BS::Upgrading) {
    pulse.Restart();
    OnUpgradeStarted();
  } else if (old == BS::Built && next == BS::Built && flag) {
    OnBuilt(flag);
  } else if (old == BS::UnderConstruction && next == BS::BuildDone) {
    OnBuilt(false);
    SoundTrumpets();
  } else if (old == BS::Upgrading && next == BS::UpgradeDone) {
    OnUpgraded(flag);
    SoundTrumpets();
  } else if (old == BS::UpgradeDone && next == BS::Built) {
    OnUpgradeDone();
  } else if (old == BS::BuildDone && next == BS::Built) {
    AfterBuildJoy(flag);
  }

  ApplyIconVisibility();

  switch (next) {
    case BS::Built:
    case BS::BuildDone:
    case BS::UpgradeDone:
      SetAnimation(LookSlot(), false);
      if (next == BS::BuildDone && !flag) Cheer(kJoyMs, false);
      StopWorkEffect(0);
      break;
    case BS::NotBuilt:
      SetAnimation(kSlotSite, false);
      StopWorkEffect(0);
      break;
    case BS::Broken:
      OnBroken(flag);
      SetAnimation(kSlotBroken, false);
      StopWorkEffect(0);
      break;
    case BS::UnderConstruction:
    case BS::Upgrading:
    case BS::Repairing:
      HideHints();
      StartWorkEffect(0);
      break;
  }
  if (next != BS::Upgrading) pulse.timer.Stop();

  RebuildDisplayName();
  if (isWorkState(next) && next != old) {
    GameEvent e;
    MakeEvent(e, Game::Event::OperationProgress);
    e.objectId = id;
    e.value = operation.duration;
    e.value2 = int32_t(operation.kind);
    Post(e);
    PlayWorkSound(operation.duration);
  } else if (!isWorkState(next)) {
    workSound.StopAll();
  }
  RefreshOfferIcons();
}

void cBuilding::OnBroken(bool flag) {
  GameEvent e;
  MakeEvent(e, Game::Event::ObjectBroke);
  e.value = flag ? 1 : 0;
  PostAbout(e);
}

void cBuilding::OnBuilt(bool flag) {
  RebuildDisplayName();
  GameEvent e;
  MakeEvent(e, Game::Event::BuildingWorkFinished);
  e.value = flag ? 1 : 0;
  PostAbout(e);
  // A building standing when the level starts opens its area with the map's start, like every
  // object with a fog area; opening it here would take the flag away before that.
  if (!flag) OpenFogArea(0, 0);
  if (HasOperationOffer()) SetChildShown("focusMarker", true);
}

void cBuilding::OnUpgraded(bool silent) {
  ++upgradeLevel;
  RebuildDisplayName();
  GameEvent e;
  MakeEvent(e, Game::Event::BuildingLevelReached);
  e.value = silent ? 1 : 0;
  e.value2 = upgradeLevel;
  PostAbout(e);
  if (!silent) Cheer(kJoyMs, false);
  if (HasOperationOffer()) SetChildShown("focusMarker", true);
}

void cBuilding::OnRepaired() {
  RebuildDisplayName();
  GameEvent e;
  MakeEvent(e, Game::Event::OperationFinished);
  PostAbout(e);
  OpenFogArea(0, 0);
  if (Has(kFlagObstacle)) {
    if (cMap* map = LevelMap())
      SetObstacle(*map, false);
    else
      Set(kFlagObstacle, false);
  }
  if (HasOperationOffer()) SetChildShown("focusMarker", true);
}

void cBuilding::RebuildDisplayName() {
  RebuildDisplayNameBase();
  const BS s = State();
  if (s == BS::NotBuilt || s == BS::Broken || upgradeLevelMax < 1) return;
  displayName += u" " + textUtf8ToUtf16(std::to_string(upgradeLevel + 1));
}

void cBuilding::Cheer(int32_t duration, bool silent) {
  players[kWorkerJoy].Play(kPlayerNames[kWorkerJoy], duration);
  m_joyLeft = duration;
  joyStarted = 1;
  joySilent = silent ? 1 : 0;
  if (silent) return;
  if (!m_joyEffect) m_joyEffect = std::make_unique<FxManager::cSimplePyro>();
  m_joyEffect->Load("WorkerJoy");
  m_joyEffect->SetPosition(x, y);
  m_joyEffect->Start();
}

void cBuilding::StopWorkAnimation() {
  // Stopping a script forgets its states: the state is loaded again, ready for the next start.
  Core::cAnimScript& p = players[kWorkerOperation];
  p.Stop();
  if (!animScript.empty() && fileExists(animScript.c_str()) &&
      !iniKeyList(animScript.c_str(), kPlayerNames[kWorkerOperation]).empty())
    p.LoadState(animScript.c_str(), kPlayerNames[kWorkerOperation]);
}

void cBuilding::SoundTrumpets() {
  SetChildShown("UpgradeTrumpets", true);
  m_trumpetsLeft = kJoyMs;
}

void cBuilding::HideHints() {
  for (const char* c : {"upgradeHint", "hint", "brokenicon", "upgradeicon"}) SetChildShown(c, false);
}

void cBuilding::ApplyIconVisibility() {
  const BS s = State();
  SetChildShown("brokenicon", s == BS::NotBuilt || s == BS::Broken);
  SetChildShown("upgradeicon", s == BS::Built && upgradeLevel < upgradeLevelMax);
}

void cBuilding::RefreshOfferIcons() {
  cMap* map = LevelMap();
  if (!map) return;
  // An icon whose work the player cannot pay for is drawn greyed.
  auto tell = [&](const char* subtype, bool unaffordable) {
    if (cObject* icon = FindChild(*map, subtype)) icon->drawParams.argb = unaffordable ? 0xFF808080u : 0xFFFFFFFFu;
  };
  switch (State()) {
    case BS::Broken: tell("brokenicon", !CanAfford(OperationKind::Repair)); break;
    case BS::NotBuilt: tell("brokenicon", !CanAfford(OperationKind::Build)); break;
    case BS::Built:
      if (upgradeLevel < upgradeLevelMax) tell("upgradeicon", !CanAfford(NextUpgradeKind()));
      break;
    default: break;
  }
}

void cBuilding::PlayWorkSound(int32_t cycleMs) {
  const int32_t sx = int32_t(x);
  for (int i = 0; i < Core::cObjectSoundTrack::kSlots; ++i) workSound.StartSlot(i, sx, cycleMs);
}

// ---- Work --------------------------------------------------------------------------------------

bool cBuilding::StartWork(OperationKind kind) {
  if (!CanAfford(kind)) return false;
  HideHints();
  operation.walkVisibleState = 2;
  operation.workVisibleState = 7;
  operation.homeVisibleState = 2;
  return StartOperation(kind);
}

void cBuilding::ApplyArrival() {
  if (operation.state != OperationState::Started && operation.state != OperationState::Working) return;
  const OperationKind k = operation.kind;
  switch (State()) {
    case BS::Broken:
      if (k == OperationKind::Repair) SetState(BS::Repairing, false);
      break;
    case BS::NotBuilt:
      if (k == OperationKind::Build) SetState(BS::UnderConstruction, false);
      break;
    case BS::Built:
      if (k == OperationKind::Upgrade || k == OperationKind::Upgrade2) SetState(BS::Upgrading, false);
      break;
    default: break;
  }
}

bool cBuilding::OnPersonArrived(int32_t personId) {
  const bool r = cSubjectObject::OnPersonArrived(personId);
  ApplyArrival();
  return r;
}

void cBuilding::OnOperationFinished() {
  cSubjectObject::OnOperationFinished();
  switch (State()) {
    case BS::UnderConstruction: SetState(BS::BuildDone, false); break;
    case BS::Upgrading: SetState(BS::UpgradeDone, false); break;
    case BS::Repairing: SetState(BS::Built, false); break;
    default: break;
  }
}

void cBuilding::CancelOperation() {
  const BS s = State();
  cSubjectObject::CancelOperation();
  // Work stopped half-way leaves the building as it was before the work began.
  if (isWorkState(s) && operation.state == OperationState::Idle) {
    const BS back = s == BS::UnderConstruction ? BS::NotBuilt : s == BS::Repairing ? BS::Broken : BS::Built;
    state = int32_t(back);
    SetAnimation(back == BS::NotBuilt ? kSlotSite : back == BS::Broken ? kSlotBroken : LookSlot(), false);
    StopWorkEffect(0);
    workSound.StopAll();
    pulse.timer.Stop();
    RebuildDisplayName();
    RefreshOfferIcons();
  }
  ApplyIconVisibility();
  StopSigns();
}

// ---- Events ------------------------------------------------------------------------------------

void cBuilding::RegisterEvents(Game::cEventDispatcher* d) {
  cSubjectObject::RegisterEvents(d);
  for (Game::Event e : {Game::Event::ObjectKilled, Game::Event::StockChanged, Game::Event::ResourcesPickedUp,
                        Game::Event::WitchNamesObject})
    Register(e, d, this);
}

void cBuilding::OnEvent(GameEvent& e) {
  cSubjectObject::OnEvent(e);
  switch (static_cast<Game::Event>(e.code)) {
    case Game::Event::WitchNamesObject: {
      // The tag names the building (the poster's own id may ride along); without a tag, the id.
      const bool named = e.tag != 0 ? uint32_t(e.tag) == tag : e.objectId == id;
      if (named && CanBreak()) SetState(BS::Broken, false);
      break;
    }
    case Game::Event::StockChanged:
    case Game::Event::ObjectKilled:
    case Game::Event::ResourcesPickedUp:
      RefreshOfferIcons();
      break;
    case Game::Event::PersonArrived:
      if (e.otherId == id) {
        ApplyArrival();
        // A person of this house coming back from elsewhere goes in and rests.
        cMap* map = LevelMap();
        auto* p = map ? dynamic_cast<cPerson*>(map->FindById(e.objectId)) : nullptr;
        const auto& ps = operation.persons;
        if (p && p->homeId == id && !p->atHome && std::find(ps.begin(), ps.end(), p->id) == ps.end()) {
          p->atHome = 1;
          p->SetHidden(true);
        }
      }
      break;
    default: break;
  }
}

bool cBuilding::HoverEnter() {
  if (!isWorkState(State())) ApplyIconVisibility();
  return cSubjectObject::HoverEnter();
}

void cBuilding::HoverLeave() {
  cSubjectObject::HoverLeave();
  SetChildShown("upgradeHint", false);
}

// ---- Registration ------------------------------------------------------------------------------

void buildingRegisterClasses(cObjectFactory& factory) {
  // The production buildings register their own classes (productionRegisterClasses).
  factory.RegisterClassOnce<cBuilding>("Map::cBuilding");
}
}  // namespace Map
