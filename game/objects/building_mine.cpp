// The mine: its offer, the loads its workers carry off, the end of its stock and the harvest circle.
#include "game/objects/building_mine.h"

#include <cmath>
#include <memory>
#include <string>

#include "anim/anim_catalogue.h"
#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "game/core/map.h"
#include "game/core/person.h"
#include "game/objects/production_util.h"

namespace Map {
namespace {
using BS = BuildingState;
enum MineItem { kResourceItem = 0, kLoadItem, kStockItem, kMineItems };
}  // namespace

float cBuildingMine::CircleBob() const {
  return kCircleBob * std::sin(kCirclePhaseRate * float(circleTime));
}

bool cBuildingMine::HasOperationOffer() const {
  return State() == BS::NotBuilt || State() == BS::Broken || upgradeLevel < upgradeLevelMax || taken < stock;
}

bool cBuildingMine::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  if (!cBuilding::GetOperationOffer(gains, costs, nextGains)) return false;
  const BS s = State();
  const bool real = resource < kNoResource;
  if (real && (s == BS::NotBuilt || s == BS::Built || s == BS::Broken)) nextGains[size_t(resource)] = Left();
  if (s != BS::Built) return true;
  if (real) gains[size_t(resource)] = load;
  if (taken >= stock) return true;
  const ResourceVector price = Cost(OperationKind::GetResource);
  costs = selected ? prodShortfall(price) : price;
  const bool affordable = CanAfford(OperationKind::GetResource);
  if (affordable && price == ResourceVector{}) costs = price;
  return affordable;
}

void cBuildingMine::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  cBuilding::GetOfferLabels(gainLabel, costLabel, nextGainLabel);
  gainLabel = "#OBJECT_HINT_MINE";
  nextGainLabel = "#OBJECT_HINT_STOCK";
}

int cBuildingMine::TryStartOperation(bool byPlayer) {
  const int answer = cBuilding::TryStartOperation(byPlayer);
  if (answer != 2 || !byPlayer || State() != BS::Built || taken >= stock || withdrawn) return answer;
  if (!CanAfford(OperationKind::GetResource)) return answer;
  operation.walkVisibleState = 2;
  operation.workVisibleState = 0;
  operation.homeVisibleState = 3;
  m_loadsGiven = false;
  return StartOperation(OperationKind::GetResource) ? 0 : 1;
}

bool cBuildingMine::OnPersonArrived(int32_t personId) {
  const bool mining = State() == BS::Built && operation.kind == OperationKind::GetResource;
  if (mining) {
    if (circleBar.IsValid()) {
      circleBar.SetPeriod(operation.duration);
      circleBar.Start(0);
    }
    workSound.StartSlot(2, int32_t(x), 0);
    StartWorkEffect(1);
  }
  const bool r = cBuilding::OnPersonArrived(personId);
  const bool all = operation.state == OperationState::Started || operation.state == OperationState::Working;
  if (mining && all && !m_loadsGiven) {
    m_loadsGiven = true;
    if (cMap* map = LevelMap())
      for (int32_t pid : operation.persons)
        if (auto* p = dynamic_cast<cPerson*>(map->FindById(pid))) p->Carry(resource, resource < kNoResource ? load : 0);
    circleTime = 0;
  }
  return r;
}

void cBuildingMine::OnOperationFinished() {
  const bool mining = State() == BS::Built && operation.kind == OperationKind::GetResource;
  cBuilding::OnOperationFinished();
  if (!mining) return;
  m_loadsGiven = false;
  taken += load;
  StopWorkEffect(0);
  StopWorkEffect(1);
  if (taken >= stock) {
    SetAnimation(kExhaustedSlot, false);
    HideHints();
    for (const char* c : {"focusMarker", "bar"}) SetChildShown(c, false);
    withdrawn = 1;
    GameEvent e;
    MakeEvent(e, Game::Event::ObjectBroke);
    e.index = resource;
    PostAbout(e);
  }
  if (resource < kNoResource) {
    for (Game::Event code : {Game::Event::ResourcesPickedUp, Game::Event::MineYielded}) {
      GameEvent e;
      MakeEvent(e, code);
      e.index = resource;
      e.amount = load;
      PostAbout(e);
    }
  }
}

void cBuildingMine::SetState(BuildingState next, bool flag) {
  cBuilding::SetState(next, flag);
  SetChildShown("bar", next == BS::Built || next == BS::BuildDone);
}

void cBuildingMine::UpdateAnimation(int32_t ms) {
  cBuilding::UpdateAnimation(ms);
  circleTime = (circleTime + (ms > 0 ? ms : 0)) % kCirclePeriodMs;
  if (circleBar.IsValid()) circleBar.Advance(ms);
}

void cBuildingMine::Draw(const DrawContext& dc) {
  cBuilding::Draw(dc);
  if (State() != BS::Built || withdrawn) return;
  const float cx = x + dc.offsetX, cy = y + dc.offsetY - kCircleRise + CircleBob();
  const bool working = operation.state == OperationState::Working;
  const AnimationState& board = working ? circleBoardEmpty : circleBoard;
  if (board.IsValid()) board.DrawCurrent(cx, cy);
  if (working && circleBar.IsValid()) circleBar.DrawCurrent(cx, cy);
  if (resourcePicture.IsValid()) resourcePicture.DrawCurrent(cx, cy - 2.0f);
}

void cBuildingMine::LoadMineLooks() {
  auto get = [](const char* name) { return Core::animManager().GetAnimation(name); };
  circleBoard = get("CircleBoard");
  circleBoardEmpty = get("CircleBoardEmpty");
  circleBar = get("CircleBar");
  const bool gold = resource == 3;
  resourcePicture = get(gold ? "Mine_Gold" : "Mine_Ore");
  for (AnimationState* a : {&circleBoard, &circleBoardEmpty, &resourcePicture})
    if (a->IsValid()) a->Start(0);
  if (!workEffect1) workEffect1 = std::make_unique<FxManager::cSimplePyro>();
  workEffect1->Load(gold ? "GoldMineDust" : "OreMineDust");
  workSound.Load(kSounds, gold ? "GoldMine" : "OreMine");
}

void cBuildingMine::ApplyRecord(const MapObjectRecord& r) {
  cBuilding::ApplyRecord(r);
  const size_t at = prodBlockAt(typeHash, subtypeHash, "mine");
  if (at == std::string::npos)
    errorLog("Mine \"%s\": its family keeps no mine items; it holds nothing\n", name.c_str());
  resource = prodCheckedResource(prodItem(r.extension, at, kResourceItem, kNoResource));
  load = prodItem(r.extension, at, kLoadItem);
  stock = prodItem(r.extension, at, kStockItem);
  if (load < 0 || stock < 0) {
    errorLog("Mine \"%s\": resourceValue %d or resourceMax %d below 0; read as 0\n", name.c_str(), int(load),
             int(stock));
    if (load < 0) load = 0;
    if (stock < 0) stock = 0;
  }
  taken = 0;
  LoadMineLooks();
}

void cBuildingMine::FillRecord(MapObjectRecord& r) const {
  cBuilding::FillRecord(r);
  const size_t at = prodBlockAt(typeHash, subtypeHash, "mine");
  if (at == std::string::npos || r.extension.size() < at + kMineItems) return;
  r.extension[at + kResourceItem].i = resource;
  r.extension[at + kLoadItem].i = load;
  r.extension[at + kStockItem].i = stock;
}

void cBuildingMine::CopyFrom(const cObject& from) {
  cBuilding::CopyFrom(from);
  if (const auto* m = dynamic_cast<const cBuildingMine*>(&from)) {
    resource = m->resource;
    load = m->load;
    stock = m->stock;
    taken = m->taken;
    LoadMineLooks();
  }
}
}  // namespace Map
