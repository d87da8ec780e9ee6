// The map container: ownership, lookups, hit test, updates, drawing order and removal.
#include "game/core/map.h"

#include <algorithm>
#include <unordered_set>

#include "base/diag.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/path_finder.h"

namespace Map {
namespace {

bool idLess(const cObject* a, const cObject* b) { return a->id < b->id; }
}  // namespace

bool DrawsBefore(const cObject& a, const cObject& b) {
  const bool ha = a.Has(kFlagHidden), hb = b.Has(kFlagHidden);
  if (ha != hb) return hb;
  if (a.layer != b.layer) return a.layer < b.layer;
  if (a.y != b.y) return a.y < b.y;
  if (a.x != b.x) return a.x < b.x;
  return a.id < b.id;
}

cMap::cMap() {
  m_draw.reserve(300);
  m_ids.reserve(300);
}

cMap::~cMap() { Clear(); }

int32_t cMap::Add(cObject* o) {
  if (!o) return kNoId;
  m_draw.push_back(o);
  m_ids.insert(std::upper_bound(m_ids.begin(), m_ids.end(), o, idLess), o);
  uint8_t show = 0;
  if (testSetting(TestSwitch::Game_Map_Show_Object_Bound)) show |= kShowBound;
  if (testSetting(TestSwitch::Game_Map_Show_Object_Support_Point)) show |= kShowSupport;
  if (testSetting(TestSwitch::Game_Map_Show_Object_Id)) show |= kShowId;
  if (testSetting(TestSwitch::Game_Map_Show_Object_Fog_Area)) show |= kShowFogArea;
  o->debugShow = show;
  GameEvent e;
  MakeEvent(e, Game::Event::ObjectAdded);
  e.objectId = o->id;
  Post(m_dispatcher ? m_dispatcher : Game::eventDispatcher(), e);
  m_dirty = 1;
  o->OnAdded(*this);
  return o->id;
}

cObject* cMap::FindById(int32_t id) const {
  if (id == kNoId) return nullptr;
  auto it = std::lower_bound(m_ids.begin(), m_ids.end(), id, [](const cObject* o, int32_t v) { return o->id < v; });
  return it != m_ids.end() && (*it)->id == id ? *it : nullptr;
}

cObject* cMap::FindByTag(uint32_t tag) const {
  for (cObject* o : m_draw)
    if (o->tag == tag) return o;
  return nullptr;
}

cObject* cMap::FindByType(uint32_t typeHash, uint32_t subtypeHash) const {
  if (!typeHash || !subtypeHash) return nullptr;
  for (cObject* o : m_draw)
    if (o->typeHash == typeHash && o->subtypeHash == subtypeHash) return o;
  return nullptr;
}

cObject* cMap::FindByType(std::string_view type, std::string_view subtype) const {
  return FindByType(NameHash(type), NameHash(subtype));
}

cObject* cMap::Iterate(uint32_t typeHash, uint32_t subtypeHash, size_t& cursor) const {
  while (cursor < m_draw.size()) {
    cObject* o = m_draw[cursor++];
    if (o->typeHash == typeHash && (subtypeHash == 0 || o->subtypeHash == subtypeHash)) return o;
  }
  return nullptr;
}

cObject* cMap::IterateChildren(int32_t id, size_t& cursor) const {
  while (cursor < m_draw.size()) {
    cObject* o = m_draw[cursor++];
    if (o->parentId == id && id != kNoId) return o;
  }
  return nullptr;
}

cObject* cMap::HitTest(int32_t px, int32_t py) const {
  for (size_t i = m_draw.size(); i-- > 0;) {
    cObject* o = m_draw[i];
    if (!o->Has(kFlagClickable) || o->Has(kFlagHidden) || o->Has(kFlagRemoved) || o->IsWithdrawn()) continue;
    const float cx = o->x + float(o->boundCentre.x), cy = o->y + float(o->boundCentre.y);
    if (std::abs(float(px) - cx) < float(o->boundHalfSize.x) && std::abs(float(py) - cy) < float(o->boundHalfSize.y))
      return o;
  }
  return nullptr;
}

void cMap::UpdateAll(int32_t ms) {
  // Objects added during the walk are updated from the next tick on.
  for (size_t i = 0, n = m_draw.size(); i < n && i < m_draw.size(); ++i)
    if (!m_draw[i]->Has(kFlagRemoved)) m_draw[i]->Update(ms);
}

void cMap::UpdateAllAnimations(int32_t ms) {
  for (size_t i = 0, n = m_draw.size(); i < n && i < m_draw.size(); ++i)
    if (!m_draw[i]->Has(kFlagRemoved)) m_draw[i]->UpdateAnimation(ms);
}

void cMap::UpdateAndSweep(int32_t ms) {
  for (size_t i = 0, n = m_draw.size(); i < n && i < m_draw.size(); ++i) {
    cObject* o = m_draw[i];
    if (o->Has(kFlagRemoved) || o->UpdateTimers(ms)) Remove(o->id);
  }
  Sweep();
}

void cMap::SortForDrawing() {
  std::stable_sort(m_draw.begin(), m_draw.end(), [](const cObject* a, const cObject* b) { return DrawsBefore(*a, *b); });
}

void cMap::DrawAll(const DrawContext& dc) {
  SortForDrawing();
  DrawContext c = dc;
  c.alpha = uint8_t((unsigned(dc.alpha) * m_alpha) / 255);
  for (cObject* o : m_draw) {
    if (!o->Has(kFlagRemoved) && !o->Has(kFlagHidden)) o->Draw(c);
    o->DrawDebug(c);
  }
}

void cMap::Remove(int32_t id) {
  cObject* root = FindById(id);
  if (!root) return;
  // Breadth first over the descendants. An object met twice means its parent chain loops back
  // (bad data): the loop is refused, and what was reached is removed.
  std::vector<cObject*> work{root};
  std::unordered_set<const cObject*> seen{root};
  for (size_t k = 0; k < work.size(); ++k) {
    cObject* o = work[k];
    if (o->Has(kFlagObstacle) && m_pathFinder) {
      o->Set(kFlagObstacle, false);
      m_pathFinder->MarkObstacleRect(*o, false);
    }
    o->Set(kFlagRemoved, true);
    for (size_t j = 0; j < m_draw.size(); ++j) {
      cObject* c = m_draw[j];
      if (c->parentId != o->id || c == o) continue;
      if (!seen.insert(c).second) {
        errorLog("Map: object %d (\"%s\") is its own ancestor; its parent chain is cut\n", int(c->id), c->name.c_str());
        c->parentId = kNoId;
        continue;
      }
      work.push_back(c);
    }
  }
}

void cMap::Destroy(cObject* o) {
  if (Game::cEventDispatcher* d = m_dispatcher ? m_dispatcher : Game::eventDispatcher()) d->Forget(o);
  if (o->Has(kFlagFreeOnRemove)) o->Destroy(true);
  else if (o->Has(kFlagDestroyOnRemove)) o->Destroy(false);
}

void cMap::Sweep() {
  if (m_sweeping) return;
  m_sweeping = true;
  std::vector<cObject*> gone;
  for (cObject* o : m_draw)
    if (o->Has(kFlagRemoved)) gone.push_back(o);
  if (!gone.empty()) {
    auto removed = [](const cObject* o) { return o->Has(kFlagRemoved); };
    m_draw.erase(std::remove_if(m_draw.begin(), m_draw.end(), removed), m_draw.end());
    m_ids.erase(std::remove_if(m_ids.begin(), m_ids.end(), removed), m_ids.end());
    for (cObject* o : gone) Destroy(o);
  }
  m_sweeping = false;
}

void cMap::MarkObstacles() {
  SortForDrawing();
  if (!m_pathFinder) return;
  for (cObject* o : m_draw)
    if (o->Has(kFlagObstacle) && !o->Has(kFlagRemoved)) m_pathFinder->MarkObstacleRect(*o, true);
}

void cMap::CutParentLoops() {
  // Follow each chain at most as many steps as there are objects; a longer one must loop.
  for (cObject* o : m_draw) {
    const cObject* p = o;
    size_t steps = 0;
    while (p && p->parentId != kNoId && steps <= m_draw.size()) {
      p = FindById(p->parentId);
      ++steps;
      if (p == o) break;
    }
    if (p == o && steps > 0) {
      errorLog("Map: object %d (\"%s\") is its own ancestor; its parent is cut\n", int(o->id), o->name.c_str());
      o->parentId = kNoId;
    }
  }
}

void cMap::OnLoaded() {
  MarkObstacles();
  for (cObject* o : m_draw) o->ResolveParent(*this);
  CutParentLoops();
  if (m_pathFinder) m_pathFinder->Start(*this);
  for (cObject* o : m_draw) o->OnMapReady();
  if (testSetting(TestSwitch::Game_Dump_Map_Statistics)) gameLog("[cMap]objects amount -- %d", int(m_draw.size()));
}

int cMap::FogAreaCount() const {
  int n = 0;
  for (const cObject* o : m_draw)
    if (o->Has(kFlagFogArea) && o->fogRadiusX) ++n;
  return n;
}

void cMap::Clear() {
  std::vector<cObject*> all;
  all.swap(m_draw);
  m_ids.clear();
  for (cObject* o : all) Destroy(o);
}
}  // namespace Map
