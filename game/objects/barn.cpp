// The barn: its offer counts the workers, an upgrade brings one more, its icons stand at their
// offset, and a worker coming home with nothing else going on is greeted by the barn's sound.
#include "game/objects/barn.h"

#include <algorithm>
#include <string>

#include "game/core/map.h"
#include "game/core/workers.h"
#include "game/core/level_context.h"
#include "gfx/render.h"
#include "game/objects/production_util.h"

namespace Map {
namespace {
using BS = BuildingState;
enum BarnItem { kIconsXItem = 0, kIconsYItem, kWorkerXItem, kWorkerYItem, kBarnItems };
}  // namespace

bool cBarn::GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const {
  if (State() != BS::Built) return cBuilding::GetOperationOffer(gains, costs, nextGains);
  Game::cWorkersController* w = prodWorkers();
  const int32_t workers = w ? w->CountKind(0) : 0;
  gains[0] = workers;
  if (upgradeLevel >= upgradeLevelMax) return true;
  const OperationKind kind = NextUpgradeKind();
  costs = selected ? prodShortfall(Cost(kind)) : Cost(kind);
  nextGains[0] = workers + GetUpgradeGain(upgradeLevel + 1);
  return CanAfford(kind);
}

void cBarn::OnUpgraded(bool silent) {
  if (Game::cWorkersController* w = prodWorkers()) w->RequestWorker(false);
  cBuilding::OnUpgraded(silent);
}

void cBarn::OnEvent(GameEvent& e) {
  cBuilding::OnEvent(e);
  if (e.code != Game::Code(Game::Event::PersonArrived) || e.otherId != id) return;
  const auto& ps = operation.persons;
  if (std::find(ps.begin(), ps.end(), e.objectId) != ps.end()) return;
  Game::LevelContext* c = Game::levelContext();
  if (c && c->queue && c->queue->Count() == 0) workSound.StartSlot(2, int32_t(x), 0);
}

void cBarn::OnMapReady() {
  cBuilding::OnMapReady();
  cMap* map = LevelMap();
  if (!map) return;
  for (const char* child : {"barnWorkers", "upgradeLevel"})
    if (cObject* c = FindChild(*map, child)) c->SetAnchor({int32_t(x) + iconsOffset.x, int32_t(y) + iconsOffset.y});
}

void cBarn::DrawDebug(const DrawContext& dc) {
  cBuilding::DrawDebug(dc);
  if (!debugShow) return;
  const IntPoint p = WorkerPoint();
  const int sx = p.x + int(dc.offsetX), sy = p.y + int(dc.offsetY), h = kDoorMarkSize / 2;
  grFillRect(sx - h, sy - h, sx + h, sy + h, 0xFF00FFFFu);
}

void cBarn::ApplyRecord(const MapObjectRecord& r) {
  cBuilding::ApplyRecord(r);
  canBreak = 0;  // the workers' home stands whatever happens
  const size_t at = prodBlockAt(typeHash, subtypeHash, "barn");
  iconsOffset = {prodItem(r.extension, at, kIconsXItem), prodItem(r.extension, at, kIconsYItem)};
  workerOffset = {prodItem(r.extension, at, kWorkerXItem), prodItem(r.extension, at, kWorkerYItem)};
}

void cBarn::FillRecord(MapObjectRecord& r) const {
  cBuilding::FillRecord(r);
  const size_t at = prodBlockAt(typeHash, subtypeHash, "barn");
  if (at == std::string::npos || r.extension.size() < at + kBarnItems) return;
  r.extension[at + kIconsXItem].i = iconsOffset.x;
  r.extension[at + kIconsYItem].i = iconsOffset.y;
  r.extension[at + kWorkerXItem].i = workerOffset.x;
  r.extension[at + kWorkerYItem].i = workerOffset.y;
}

void cBarn::CopyFrom(const cObject& from) {
  cBuilding::CopyFrom(from);
  canBreak = 0;
  if (const auto* b = dynamic_cast<const cBarn*>(&from)) {
    iconsOffset = b->iconsOffset;
    workerOffset = b->workerOffset;
  }
}
}  // namespace Map
