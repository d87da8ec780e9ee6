// The model's reactions that point the player at what stands in the way (a blocking obstacle, a
// missing hut), the flying witch of a lost level, and objects dropped on one another.
#include <limits>
#include <vector>

#include "base/diag.h"
#include "files/file.h"
#include "files/name_hash.h"
#include "game/core/game_model.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/path_finder.h"
#include "game/interface/icon_hint_marker.h"

namespace Game {
namespace {
constexpr const char* kWitchFile = "data/flyingwitch/flyingwitch.ini";
constexpr const char* kWitchSection = "FlyingWitch";
// The arrow is drawn over everything else on the map.
constexpr int32_t kArrowLayer = 1000;

// The level's one pointing arrow: the one on the map, or a new one made and added the first time
// the model points at something.
Icon::cObjectHintMarker* levelHintMarker(Map::cMap& map) {
  static const uint32_t kIcon = NameHash("icon"), kMarker = NameHash("objectHintMarker");
  for (size_t i = 0; i < map.Count(); ++i) {
    Map::cObject* o = map.At(i);
    if (o->typeHash != kIcon || o->subtypeHash != kMarker || o->Has(Map::kFlagRemoved)) continue;
    if (auto* m = dynamic_cast<Icon::cObjectHintMarker*>(o)) return m;
  }
  Map::cObjectFactory* factory = Map::objectFactory();
  Map::cObject* o = factory ? factory->Create("icon", "objectHintMarker") : nullptr;
  auto* marker = dynamic_cast<Icon::cObjectHintMarker*>(o);
  if (!marker) {
    if (o) o->Destroy(o->Has(Map::kFlagFreeOnRemove));
    return nullptr;
  }
  marker->SetName("ObjectHintMarker");
  marker->layer = kArrowLayer;
  marker->Set(Map::kFlagClickable, false);
  marker->Set(Map::kFlagCreatedAtLoad, false);
  marker->SetHidden(false);
  map.Add(marker);
  return marker;
}
}  // namespace

void cGameModel::AddFlyingWitch() {
  Map::cObjectFactory* factory = Map::objectFactory();
  if (!m_map || !factory || !fileExists(kWitchFile)) return;
  std::vector<Map::cObject*> made;
  if (!factory->LoadFromIni(kWitchFile, kWitchSection, {}, made) || made.empty()) {
    errorLog("Cannot create the flying witch from %s [%s]", kWitchFile, kWitchSection);
    return;
  }
  for (Map::cObject* o : made) {
    factory->RegisterEvents(*o);
    m_map->Add(o);
  }
  for (Map::cObject* o : made) o->ResolveParent(*m_map);
}

void cGameModel::OnDropped(int32_t objectId, int32_t targetId) {
  if (!m_map) return;
  Map::cObject* dropped = m_map->FindById(objectId);
  Map::cObject* target = m_map->FindById(targetId);
  if (!dropped || !target) return;
  if (dropped->ClickAt(int32_t(target->subtypeHash), target->id) && m_enqueue) m_enqueue(dropped->id);
}

void cGameModel::PointAtBlocker(int32_t subjectId) {
  LevelContext* c = levelContext();
  if (!m_map || !c || !c->pathFinder) return;
  Map::cObject* subject = m_map->FindById(subjectId);
  Map::cObject* barn = m_map->FindByType("building", "barn");
  if (!subject || !barn) return;
  cPathFinder& path = *c->pathFinder;
  std::vector<int32_t> blockers;
  Map::IntPoint from = barn->Support(0);
  for (int i = 0; i < subject->supportCount; ++i) {
    Map::IntPoint to = subject->Support(i);
    PathRoute route;
    path.FindRoute({from.x, from.y}, {to.x, to.y}, cPathFinder::PersonMask(), &blockers, route);
  }
  // The blocker that costs the least detour: from the barn to it, and from it to the subject.
  Map::cObject* best = nullptr;
  int64_t bestCost = std::numeric_limits<int64_t>::max();
  for (int32_t id : blockers) {
    Map::cObject* o = m_map->FindById(id);
    // The barn the search starts from is no blocker the player could clear.
    if (!o || o == subject || o == barn) continue;
    int64_t cost = int64_t(path.ObjectDistance(o, subject)) + path.ObjectDistance(barn, o);
    if (cost < bestCost) {
      bestCost = cost;
      best = o;
    }
  }
  if (!best) return;
  // A clickable obstacle drawn over the blocker is what the player can act on.
  Map::IntPoint at = best->AnchorI();
  if (Map::cObject* top = m_map->HitTest(at.x, at.y); top && top->Has(Map::kFlagObstacle)) best = top;
  best->StartTint(true);
  m_hintTarget = best->id;
  if (Icon::cObjectHintMarker* arrow = levelHintMarker(*m_map)) arrow->PointAt(*m_map, best->id);
}

void cGameModel::PointAtHut(uint32_t kindHash) {
  if (!m_map) return;
  const char* hut = nullptr;
  if (kindHash == NameHash("Warrior"))
    hut = "WarriorHut";
  else if (kindHash == NameHash("Exorcist"))
    hut = "ExorcistHut";
  if (!hut) return;
  if (Map::cObject* o = m_map->FindByType("building", hut)) {
    o->StartTint(true);
    m_hintTarget = o->id;
    if (Icon::cObjectHintMarker* arrow = levelHintMarker(*m_map)) arrow->PointAt(*m_map, o->id);
  }
}
}  // namespace Game
