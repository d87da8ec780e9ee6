// What a building offers the player, how it names its state, and how an order starts its work or is
// refused.
#include "game/core/level_context.h"
#include "game/objects/building.h"

namespace Map {
namespace {
using BS = BuildingState;

int32_t stockAmount(int i) {
  Game::LevelContext* c = Game::levelContext();
  return c && c->stock ? c->stock->Amount(i) : 0;
}
}  // namespace

bool cBuilding::HasOperationOffer() const {
  return State() == BS::NotBuilt || State() == BS::Broken || upgradeLevel < upgradeLevelMax;
}

bool cBuilding::GetOperationOffer(ResourceVector&, ResourceVector& costs, ResourceVector&) const {
  OperationKind kind;
  if (State() == BS::Broken)
    kind = OperationKind::Repair;
  else if (State() == BS::NotBuilt)
    kind = OperationKind::Build;
  else
    return true;
  costs = Cost(kind);
  // A selected building shows what is still missing rather than the whole price.
  if (selected)
    for (int i = 0; i < 4; ++i) costs[size_t(i)] = std::max(0, costs[size_t(i)] - stockAmount(i));
  return CanAfford(kind);
}

void cBuilding::GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const {
  gainLabel = "#OBJECT_HINT_GET";
  nextGainLabel = "#OBJECT_HINT_WILLGET";
  if (State() == BS::NotBuilt)
    costLabel = "#OBJECT_HINT_BUILD";
  else if (State() == BS::Broken)
    costLabel = "#OBJECT_HINT_REPAIR";
  else if (upgradeLevel < upgradeLevelMax)
    costLabel = "#OBJECT_HINT_UPGRADE";
  else
    costLabel.clear();
}

std::string cBuilding::GetStateCaption() const {
  if (State() == BS::Broken) return "#OBJECT_HINT_BROKEN";
  if (State() == BS::NotBuilt) return "#OBJECT_HINT_NOTBUILD";
  return {};
}

std::string cBuilding::GetStatusText() const {
  std::string base = cSubjectObject::GetStatusText();
  if (!base.empty()) return base;
  switch (State()) {
    case BS::UnderConstruction: return "#OBJECT_HINT_BUILDING";
    case BS::Repairing: return "#OBJECT_HINT_REPAIR";
    case BS::Upgrading: return "#OBJECT_HINT_UPGRADING";
    default: break;
  }
  if (operation.state == OperationState::Working && operation.kind == OperationKind::GetResource)
    return "#OBJECT_HINT_HARVEST";
  // The player asked for an upgrade the stock cannot pay for: say so plainly.
  if (selected && CanUpgrade(false) && !CanUpgrade(true)) return "#OBJECT_HINT_CANT_UPGRADE";
  return {};
}

int cBuilding::TryStartOperation(bool byPlayer) {
  const int answer = cSubjectObject::TryStartOperation(byPlayer);
  if (!byPlayer) return answer;
  if (upgradeLevel < upgradeLevelMax || State() != BS::Built) {
    if (answer != 2) return answer;
    switch (State()) {
      case BS::Broken: return StartWork(OperationKind::Repair) ? 0 : 1;
      case BS::NotBuilt: return StartWork(OperationKind::Build) ? 0 : 1;
      case BS::Built:
        if (TryUpgrade(answer)) return 0;
        break;
      default: return answer;
    }
  }
  // Fully upgraded (or an upgrade that did not start): the building answers with its own sound.
  const int32_t sx = int32_t(x);
  for (int i = 0; i < Core::cObjectSoundTrack::kSlots; ++i) workSound.StartSlot(i, sx, 0);
  return answer;
}

bool cBuilding::TryUpgrade(int answer) {
  if (answer != 2 || !CanUpgrade(false)) return false;
  if (CanUpgrade(true)) {
    if (!StartWork(NextUpgradeKind())) return false;
    GameEvent e;
    MakeEvent(e, Game::Event::UpgradeOrdered);
    PostAbout(e);
    return true;
  }
  GameEvent e;
  MakeEvent(e, HasPathForPersons() ? Game::Event::CannotAffordUpgrade : Game::Event::NoPathToSubject);
  PostAbout(e);
  RestartNoSign();
  SetSelected(true);
  OnOrderRefused();
  return false;
}

bool cBuilding::ClickUpgradeTablet() {
  if (withdrawn) return false;
  return TryUpgrade(cSubjectObject::TryStartOperation(true));
}

void cBuilding::OnOrderRefused() {
  // A standing building with nothing left to upgrade has nothing to refuse: a click only sounds it.
  if (State() == BS::Built && upgradeLevel >= upgradeLevelMax) return;
  cSubjectObject::OnOrderRefused();
}
}  // namespace Map
