// The generators: production on the minute tick, the production figure, the offer with the next
// level's yield, the generator bonus and each kind's work animations.
#include "game/objects/building_generator.h"

#include <algorithm>
#include <string>

#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "files/ini.h"
#include "game/core/player_stock.h"
#include "game/core/random.h"
#include "game/objects/production_util.h"

namespace Map {
namespace {
using BS = BuildingState;

enum GeneratorItem { kResourceItem = 0, kAmountItem, kLevel0Item };

bool isWorkState(BS s) { return s == BS::UnderConstruction || s == BS::Upgrading || s == BS::Repairing; }
}  // namespace

cBuildingGenerator::cBuildingGenerator() = default;
cBuildingGenerator::~cBuildingGenerator() = default;

int32_t cBuildingGenerator::LevelAmount(int32_t level) const {
  // Levels come from files and from the upgrade count: never read past the table.
  if (level < 0 || level >= kLevels) return 0;
  return levelAmounts[level];
}

bool cBuildingGenerator::Producing() const {
  const BS s = State();
  return s == BS::Built || s == BS::UpgradeDone || s == BS::BuildDone;
}

void cBuildingGenerator::SetCounted(int32_t value) {
  if (resource >= kNoResource) value = 0;
  const int32_t change = value - m_counted;
  if (change == 0) return;
  m_counted = value;
  if (Game::PlayerStock* s = prodStock()) s->AddGathered(resource, change);
}

int32_t cBuildingGenerator::Produce() {
  const int32_t n = int32_t(float(amount) * multiplier);
  if (resource >= kNoResource || n <= 0) return 0;
  if (Game::PlayerStock* s = prodStock()) s->AddResource(resource, n, false, int32_t(x), int32_t(y));
  GameEvent e;
  MakeEvent(e, Game::Event::GeneratorProduced);
  e.index = resource;
  e.amount = n;
  PostAbout(e);
  return n;
}

void cBuildingGenerator::ShowLevelPlayers() {
  players[kWorkerOperation2].SetHidden(upgradeLevel < 1);
  players[kWorkerOperation3].SetHidden(upgradeLevel < 2);
}

void cBuildingGenerator::LoadAnimations(bool resetPlayers) {
  cBuilding::LoadAnimations(resetPlayers);
  ShowLevelPlayers();
}

void cBuildingGenerator::TakeUpProduction() {
  amount = LevelAmount(upgradeLevel);
  SetCounted(amount);
}

void cBuildingGenerator::OnBuilt(bool flag) {
  TakeUpProduction();
  cBuilding::OnBuilt(flag);
  StartProduction();
}

void cBuildingGenerator::OnRepaired() {
  TakeUpProduction();
  cBuilding::OnRepaired();
  StartProduction();
}

void cBuildingGenerator::OnBroken(bool flag) {
  // A broken generator makes nothing until it is repaired, and the figure says so.
  SetCounted(0);
  cBuilding::OnBroken(flag);
}

void cBuildingGenerator::OnUpgraded(bool silent) {
  amount = LevelAmount(upgradeLevel + 1);
  SetCounted(amount);
  cBuilding::OnUpgraded(silent);
  ShowLevelPlayers();
  StartProduction();
}

void cBuildingGenerator::AfterBuildJoy(bool flag) {
  cBuilding::AfterBuildJoy(flag);
  StartProduction();
}

bool cBuildingGenerator::GetOperationOffer(ResourceVector& gains, ResourceVector& costs,
                                           ResourceVector& nextGains) const {
  if (State() != BS::Built) return cBuilding::GetOperationOffer(gains, costs, nextGains);
  const bool real = resource < kNoResource;
  if (real) gains[size_t(resource)] = amount;
  if (upgradeLevel >= upgradeLevelMax) return true;
  const OperationKind kind = NextUpgradeKind();
  costs = selected ? prodShortfall(Cost(kind)) : Cost(kind);
  const int32_t next = upgradeLevel + 1;
  if (real && next <= upgradeLevelMax && next < kLevels) nextGains[size_t(resource)] = levelAmounts[next];
  return CanAfford(kind);
}

void cBuildingGenerator::RegisterEvents(Game::cEventDispatcher* d) {
  cBuilding::RegisterEvents(d);
  for (Game::Event e : {Game::Event::GameMinutePassed, Game::Event::FastGenBonusFired, Game::Event::FastGenBonusEnded})
    Register(e, d, this);
}

void cBuildingGenerator::OnEvent(GameEvent& e) {
  cBuilding::OnEvent(e);
  switch (static_cast<Game::Event>(e.code)) {
    case Game::Event::GameMinutePassed:
      if (Producing()) Produce();
      break;
    case Game::Event::FastGenBonusFired:
      multiplier = 2.0f;
      if (!bonusEffect) {
        bonusEffect = std::make_unique<FxManager::cSimplePyro>();
        bonusEffect->Load(kBonusEffect);
      }
      bonusEffect->SetPosition(x, y);
      bonusEffect->Start();
      break;
    case Game::Event::FastGenBonusEnded:
      multiplier = 1.0f;
      if (bonusEffect) bonusEffect->Stop(false);
      break;
    default: break;
  }
}

void cBuildingGenerator::UpdateAnimation(int32_t ms) {
  cBuilding::UpdateAnimation(ms);
  for (Core::cAnimScript& p : extraPlayers) p.Update(ms);
  if (bonusEffect) bonusEffect->Update(float(ms));
}

void cBuildingGenerator::Draw(const DrawContext& dc) {
  cBuilding::Draw(dc);
  if (State() != BS::Built) return;
  const float ax = x + dc.offsetX, ay = y + dc.offsetY;
  for (const Core::cAnimScript& p : extraPlayers)
    if (p.IsPlaying() && !p.Hidden()) p.Draw(ax, ay, -255, 255);
  if (bonusEffect && multiplier > 1.0f) bonusEffect->Render();
}

void cBuildingGenerator::ApplyRecord(const MapObjectRecord& r) {
  cBuilding::ApplyRecord(r);
  const size_t at = prodBlockAt(typeHash, subtypeHash, "generator");
  if (at == std::string::npos) {
    errorLog("Generator \"%s\": its family keeps no generator items; it produces nothing\n", name.c_str());
    return;
  }
  const int32_t raw = prodItem(r.extension, at, kResourceItem, kNoResource);
  resource = prodCheckedResource(raw);
  for (int i = 0; i < kLevels; ++i) {
    int32_t v = prodItem(r.extension, at, size_t(kLevel0Item + i));
    if (v < 0) {
      errorLog("Generator \"%s\": the amount of level %d is %d, below 0; read as 0\n", name.c_str(), i, int(v));
      v = 0;
    }
    levelAmounts[i] = v;
  }
  amount = LevelAmount(upgradeLevel);
}

void cBuildingGenerator::FillRecord(MapObjectRecord& r) const {
  cBuilding::FillRecord(r);
  const size_t at = prodBlockAt(typeHash, subtypeHash, "generator");
  if (at == std::string::npos || r.extension.size() < at + kLevel0Item + kLevels) return;
  r.extension[at + kResourceItem].i = resource;
  // The text form keeps the current amount and the level 0 amount under one key: both hold level
  // 0, so a map saved after an upgrade reads back the same table (the amount follows the level).
  r.extension[at + kAmountItem].i = levelAmounts[0];
  for (int i = 0; i < kLevels; ++i) r.extension[at + kLevel0Item + size_t(i)].i = levelAmounts[i];
}

void cBuildingGenerator::CopyFrom(const cObject& from) {
  if (const auto* g = dynamic_cast<const cBuildingGenerator*>(&from)) {
    resource = g->resource;
    std::copy(std::begin(g->levelAmounts), std::end(g->levelAmounts), std::begin(levelAmounts));
  }
  cBuilding::CopyFrom(from);
  amount = LevelAmount(upgradeLevel);
}

// ---- Ore ---------------------------------------------------------------------------------------

void cOreGenerator::StartProduction() {
  players[kWorkerOperation].Play(kPlayerNames[kWorkerOperation]);
  players[kIdle].Play(kPlayerNames[kIdle]);
  ShowLevelPlayers();
  if (!workEffect1) {
    workEffect1 = std::make_unique<FxManager::cSimplePyro>();
    workEffect1->Load(kSmoke);
  }
  StartWorkEffect(1);
}

void cOreGenerator::SetState(BuildingState next, bool flag) {
  cBuildingGenerator::SetState(next, flag);
  // The smoke belongs to a working generator only.
  if (isWorkState(next) || next == BS::Broken || next == BS::NotBuilt) StopWorkEffect(1);
}

// ---- Gold --------------------------------------------------------------------------------------

void cGoldGenerator::StartProduction() {
  players[kWorkerOperation].Play(kPlayerNames[kWorkerOperation]);
  ShowLevelPlayers();
  m_replayLeft = upgradeLevel >= 2 ? kReplayMs : 0;
}

void cGoldGenerator::UpdateAnimation(int32_t ms) {
  cBuildingGenerator::UpdateAnimation(ms);
  if (upgradeLevel < 2 || !Producing() || m_replayLeft <= 0) return;
  if ((m_replayLeft -= ms) <= 0) {
    players[kWorkerOperation3].Play(kPlayerNames[kWorkerOperation3]);
    m_replayLeft = kReplayMs;
  }
}

// ---- Food --------------------------------------------------------------------------------------

namespace {
std::string idleName(int n) { return "Idle" + std::to_string(n); }
std::string actionName(int n, int digit) { return "Action" + std::to_string(n) + std::to_string(digit); }
}  // namespace

void cFoodGenerator::LoadAnimations(bool resetPlayers) {
  cBuildingGenerator::LoadAnimations(resetPlayers);
  auto load = [&](Core::cAnimScript& p, const std::string& state) {
    if (p.HasState(state) || animScript.empty() || !fileExists(animScript.c_str())) return;
    if (!iniKeyList(animScript.c_str(), state.c_str()).empty()) p.LoadState(animScript.c_str(), state.c_str());
  };
  for (int n = 1; n <= kChannels; ++n) {
    Channel& c = m_channels[n - 1];
    if (resetPlayers) c = Channel{};
    load(c.player, idleName(n));
    load(c.player, actionName(n, 1));
    load(c.player, actionName(n, 2));
  }
  if (resetPlayers) m_visitor = Channel{};
  load(m_visitor.player, "Viking");
}

void cFoodGenerator::StartProduction() {
  for (int n = 1; n <= kChannels; ++n) {
    Channel& c = m_channels[n - 1];
    if (c.running || upgradeLevel < n - 1 || !c.player.HasState(idleName(n))) continue;
    c.running = true;
    c.acting = false;
    c.player.Play(idleName(n));
    c.left = RandomInt(kIdleMaxMs);
  }
  if (!m_visitor.running && m_visitor.player.HasState("Viking")) {
    m_visitor.running = true;
    m_visitor.acting = false;
    m_visitor.player.SetHidden(true);
    m_visitor.left = RandomInt(kIdleMaxMs);
  }
}

void cFoodGenerator::StepChannel(int n, int32_t ms) {
  Channel& c = m_channels[n - 1];
  if (!c.running || (c.left -= ms) > 0) return;
  if (c.acting) {
    c.acting = false;
    c.player.Play(idleName(n));
    c.left = RandomInt(kIdleMaxMs);
    return;
  }
  const int digit = 1 + RandomInt(2);
  const std::string action = actionName(n, digit);
  if (c.player.Play(action)) {
    c.acting = true;
    c.left = std::max<int32_t>(1, c.player.Timer().Period());
  } else {
    // A script with one action only: stay idle a while longer.
    c.player.Play(idleName(n));
    c.left = RandomInt(kIdleMaxMs);
  }
}

void cFoodGenerator::StepVisitor(int32_t ms) {
  Channel& v = m_visitor;
  if (!v.running || (v.left -= ms) > 0) return;
  if (v.acting) {
    v.acting = false;
    v.player.SetHidden(true);
    v.left = RandomInt(kIdleMaxMs);
  } else if (v.player.Play("Viking")) {
    v.acting = true;
    v.player.SetHidden(false);
    v.left = std::max<int32_t>(1, v.player.Timer().Period());
  }
}

bool cFoodGenerator::UpdateTimers(int32_t ms) {
  const bool remove = cBuildingGenerator::UpdateTimers(ms);
  // The looks change on the game's steps, so their random draws replay with the level.
  if (Producing()) {
    for (int n = 1; n <= kChannels; ++n) StepChannel(n, ms);
    StepVisitor(ms);
  }
  return remove;
}

void cFoodGenerator::UpdateAnimation(int32_t ms) {
  cBuildingGenerator::UpdateAnimation(ms);
  for (Channel& c : m_channels) c.player.Update(ms);
  m_visitor.player.Update(ms);
}

void cFoodGenerator::Draw(const DrawContext& dc) {
  cBuildingGenerator::Draw(dc);
  if (!Producing()) return;
  const float ax = x + dc.offsetX, ay = y + dc.offsetY;
  auto draw = [&](const Channel& c) {
    if (c.running && c.player.IsPlaying() && !c.player.Hidden()) c.player.Draw(ax, ay, -255, 255);
  };
  for (const Channel& c : m_channels) draw(c);
  draw(m_visitor);
}
}  // namespace Map
