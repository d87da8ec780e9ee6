// The workers controller: owns the level's persons (by id; the map owns the objects), creates them
// at the barn, counts the free ones, chooses the nearest for a job, sends persons to work and home,
// lets them cheer on a win and gather at an object, and recalls persons whose way was cut.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "game/core/events.h"
#include "game/core/person.h"

class cPathFinder;
namespace Map {
class cMap;
class cObjectFactory;
}  // namespace Map

namespace Game {
class PlayerStock;

class cWorkersController : public cObserver {
 public:
  cWorkersController(cEventDispatcher* d, Map::cMap* map, cPathFinder* path, PlayerStock* stock,
                     Map::cObjectFactory* factory);
  ~cWorkersController() override;
  void RegisterEvents();  // 54, 58, 64
  void OnEvent(GameEvent& e) override;
  void SetLevel(int32_t n) { m_level = n; }
  void SetSkin(int32_t s) { m_skin = s; }

  // kind "Worker", "Warrior" or "Exorcist"; home -1 means the barn (and one more Worker in stock).
  Map::cPerson* CreatePerson(Map::IntPoint p, std::string_view kind, int32_t homeId);
  Map::cPerson* RequestWorker(bool arrive);
  // Takes a person placed by the map; false when it is not a person or already ours.
  bool Adopt(Map::cObject* o);

  int CountFree(uint32_t kind, bool homeOnly) const;  // kind 0 means "Worker"
  int CountKind(uint32_t kind) const;
  int PersonCount() const { return int(m_persons.size()); }
  Map::cPerson* GetNth(uint32_t kind, int n) const;
  Map::cObject* GetHome(uint32_t kind) const;
  bool CanReach(const Map::cObject& subject, uint32_t kind) const;

  int32_t AssignPerson(int32_t subjectId, uint32_t kind, int32_t visibleState, bool homeOnly, int support);
  bool SendTo(int32_t personId, int32_t subjectId, int32_t visibleState, int support, float speed);
  bool SendHome(int32_t personId, int32_t visibleState, bool redirectable);
  // A worker free at home walks out to a point near the barn to cheer (the level is won).
  void WalkOut(int32_t personId);
  // One worker free at home leaves play with one Worker of the stock; false when none is.
  bool RemoveWorker();
  void GatherAt(int32_t objectId);
  void LevelWon();
  void CheckRoutes();
  // Persons walking to `subjectId` go home (its order was dropped).
  void Release(int32_t subjectId);
  void Update(int32_t ms);
  // Workers still greeting at the barn door become free (the player started the clock); how many.
  int ReleaseGreeting();
  bool LevelFinished() const { return m_levelFinished != 0; }
  bool SendIdleHome() const { return m_sendIdleHome != 0; }
  // The persons in creation order, and one of them by id (null when it left the map).
  const std::vector<int32_t>& Persons() const { return m_persons; }
  Map::cPerson* Person(int32_t id) const;
  const std::vector<int32_t>& WalkingOut() const { return m_walkingOut; }

 private:
  Map::cObject* Barn() const;

  cEventDispatcher* m_dispatcher;
  Map::cMap* m_map;
  cPathFinder* m_path;
  PlayerStock* m_stock;
  Map::cObjectFactory* m_factory;
  uint8_t m_levelFinished = 0;
  uint8_t m_sendIdleHome = 1;
  std::vector<int32_t> m_persons;
  std::vector<int32_t> m_walkingOut;
  int32_t m_level = 0;
  int32_t m_skin = 1;
};

// The orders the player gave, in service order; an order whose subject left play is dropped.
class cOperationsQueue : public cObserver {
 public:
  struct Order {
    int32_t subjectId = -1;
    uint8_t waiting = 0;
  };
  cOperationsQueue(cEventDispatcher* d, Map::cMap* map, cWorkersController* workers);
  ~cOperationsQueue() override;
  void RegisterEvents();  // 25
  void OnEvent(GameEvent& e) override;
  // A subject needing more than one person (its own count, or `personsNeeded`) goes to the front.
  void Enqueue(int32_t subjectId, bool toFront, int personsNeeded = 1);
  bool Contains(int32_t subjectId) const;
  void Cancel(int32_t subjectId);
  void Update(int32_t ms);
  void ClearSelection() { m_selected = -1; }
  size_t Count() const { return m_orders.size(); }
  const Order& At(size_t i) const { return m_orders[i]; }

 private:
  bool Gone(int32_t id) const;
  void Drop(size_t i);
  // The order of the subject, or npos when it has none (any call into a subject may remove it).
  size_t Find(int32_t subjectId) const;
  // Orders whose subject needs a carried item: a worker at home is sent, or one is sent home to
  // fetch it (the order then waits).
  bool ServeCarried(int32_t subjectId);
  void FetchItem(int32_t subjectId);
  // Removes the subject's order once every person it needs was asked for.
  bool RemoveIfServed(int32_t subjectId);

  cEventDispatcher* m_dispatcher;
  Map::cMap* m_map;
  cWorkersController* m_workers;
  std::vector<Order> m_orders;
  int32_t m_selected = -1;
};
}  // namespace Game
