// The hunter hut: its person comes when the hut stands (at the start, once built, or repaired) and
// only when the hut does not have one already.
#include "game/objects/hunter_building.h"

#include "base/diag.h"
#include "game/core/map.h"
#include "game/core/person.h"
#include "game/core/workers.h"
#include "game/objects/production_util.h"

namespace Map {
namespace {
using BS = BuildingState;
}

bool cHunterBuilding::HasItsPerson() const {
  if (personId < 0) return false;
  cMap* map = LevelMap();
  cObject* o = map ? map->FindById(personId) : nullptr;
  return o && !(o->flags & kFlagRemoved) && dynamic_cast<cPerson*>(o);
}

// The person is added on the next update: these calls come while the map walks its objects (its
// start, or an update step), and the walk must not see the list grow under it.
void cHunterBuilding::OnBuilt(bool flag) {
  cBuilding::OnBuilt(flag);
  m_supplyDue = true;
}

void cHunterBuilding::OnRepaired() {
  cBuilding::OnRepaired();
  m_supplyDue = true;
}

bool cHunterBuilding::UpdateTimers(int32_t ms) {
  const bool remove = cBuilding::UpdateTimers(ms);
  const BS s = State();
  if (m_supplyDue && (s == BS::Built || s == BS::BuildDone)) Supply();
  return remove;
}

void cHunterBuilding::Supply() {
  m_supplyDue = false;
  if (HasItsPerson()) return;
  if (hunter.empty()) {
    if (!m_kindReported) errorLog("Hut \"%s\": no \"hunter\" kind is named; it brings nobody\n", name.c_str());
    m_kindReported = true;
    return;
  }
  Game::cWorkersController* w = prodWorkers();
  if (!w) return;
  if (cPerson* p = w->CreatePerson(Support(0), hunter, id)) personId = p->id;
}

void cHunterBuilding::ApplyRecord(const MapObjectRecord& r) {
  cBuilding::ApplyRecord(r);
  const size_t at = prodBlockAt(typeHash, subtypeHash, "hunter");
  hunter = at != std::string::npos && at < r.extension.size() ? r.extension[at].s : std::string();
  personId = -1;
}

void cHunterBuilding::FillRecord(MapObjectRecord& r) const {
  cBuilding::FillRecord(r);
  const size_t at = prodBlockAt(typeHash, subtypeHash, "hunter");
  if (at != std::string::npos && at < r.extension.size()) r.extension[at].s = hunter;
}

void cHunterBuilding::CopyFrom(const cObject& from) {
  cBuilding::CopyFrom(from);
  if (const auto* h = dynamic_cast<const cHunterBuilding*>(&from)) hunter = h->hunter;
  personId = -1;
}
}  // namespace Map
