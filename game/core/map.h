// cMap: the objects of the running level. It owns them, finds them by id (binary search), tag or
// type, hit-tests the pointer, updates and sweeps them, draws them in depth order, removes objects
// with their descendants and puts obstacles onto the path grid.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "game/core/map_object.h"

class cPathFinder;

namespace Map {
class cMap {
 public:
  cMap();
  ~cMap();  // Clear
  cMap(const cMap&) = delete;
  cMap& operator=(const cMap&) = delete;

  // The level's dispatcher (objects register with it and leave it when swept) and path finder.
  void SetDispatcher(Game::cEventDispatcher* d) { m_dispatcher = d; }
  Game::cEventDispatcher* Dispatcher() const { return m_dispatcher; }
  void SetPathFinder(cPathFinder* pf) { m_pathFinder = pf; }
  cPathFinder* PathFinder() const { return m_pathFinder; }

  // Takes ownership; posts event 24 with the id. Returns the id.
  int32_t Add(cObject* object);
  cObject* FindById(int32_t id) const;
  cObject* FindByTag(uint32_t tag) const;
  cObject* FindByType(uint32_t typeHash, uint32_t subtypeHash) const;
  cObject* FindByType(std::string_view type, std::string_view subtype) const;
  // The next object of the type (and subtype, unless 0) at or after `cursor` in draw-list order;
  // the cursor moves past it. Start with cursor 0.
  cObject* Iterate(uint32_t typeHash, uint32_t subtypeHash, size_t& cursor) const;
  cObject* IterateChildren(int32_t id, size_t& cursor) const;
  // The topmost clickable, visible object that is not removed or withdrawn and holds the point
  // strictly inside its bounding box.
  cObject* HitTest(int32_t px, int32_t py) const;

  void UpdateAll(int32_t ms);
  void UpdateAllAnimations(int32_t ms);
  void UpdateAndSweep(int32_t ms);
  void SortForDrawing();
  void DrawAll(const DrawContext& dc);

  // Marks the object and every descendant removed (clearing their obstacle cells); the sweep takes
  // them out. A parent chain that loops back is refused with a gerr.log line.
  void Remove(int32_t id);
  void Sweep();
  void MarkObstacles();
  // After the map's last object: obstacles, parents (loops cut), then the path finder's start.
  void OnLoaded();
  void Clear();

  size_t Count() const { return m_draw.size(); }
  cObject* At(size_t i) const { return m_draw[i]; }  // draw-list order
  bool Dirty() const { return m_dirty != 0; }
  void ClearDirty() { m_dirty = 0; }
  uint8_t Alpha() const { return m_alpha; }
  void SetAlpha(uint8_t a) { m_alpha = a; }
  // Objects with fog areas that open when the level starts.
  int FogAreaCount() const;

 private:
  void Destroy(cObject* o);
  void CutParentLoops();

  std::vector<cObject*> m_draw;  // in the order added, re-sorted for drawing
  std::vector<cObject*> m_ids;   // sorted by id
  Game::cEventDispatcher* m_dispatcher = nullptr;
  cPathFinder* m_pathFinder = nullptr;
  uint8_t m_dirty = 0;
  uint8_t m_alpha = 255;
  uint8_t m_visible = 1;
  bool m_sweeping = false;
};

// The draw order: visible before hidden, then layer, y, x and id, each ascending.
bool DrawsBefore(const cObject& a, const cObject& b);
}  // namespace Map
