// The goals of a level: one task per section of the level's task.ini, each watching the level's
// events until its condition is met. Hidden tasks appear when another task completes or an
// object is dealt with. The task panel reads the plain accessors.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "files/file.h"
#include "game/core/events.h"

namespace Game {
class PlayerStock;
}
namespace Map {
class cMap;
}

namespace Task {

// What every task needs from its level.
struct TaskLevel {
  Game::cEventDispatcher* dispatcher = nullptr;
  Game::PlayerStock* stock = nullptr;
  Map::cMap* map = nullptr;
};

class cLevelTask : public Game::cObserver {
 public:
  cLevelTask() = default;
  ~cLevelTask() override = default;

  // Events 2, 27, 77 and 99: appearance, and the counted events of the kinds that count them.
  void OnEvent(GameEvent& event) override;
  // Reads the common keys, then the kind's own (LoadOwn).
  virtual void Load(const gFileName& file, const char* section);
  virtual void Update(int32_t /*ms*/) {}
  // Every task listens to 2, 27, 77 and 99, and each kind to its own events.
  virtual void RegisterEvents(Game::cEventDispatcher* hub);
  // Writes the task back into its section (the level editor's saving).
  virtual void Save(const gFileName& file) const;
  virtual bool IsValid() const { return true; }

  void SetLevel(const TaskLevel& level, int32_t id) {
    m_level = level;
    m_id = id;
  }

  // The panel's view of the task.
  int32_t id() const { return m_id; }
  const std::string& name() const { return m_name; }
  const std::string& type() const { return m_type; }
  uint32_t nameHash() const { return m_nameHash; }
  uint32_t typeHash() const { return m_typeHash; }
  int32_t order() const { return m_order; }
  const std::string& objectTag() const { return m_objectTag; }
  const std::string& objectType() const { return m_objectType; }
  const std::string& appearTag() const { return m_appearTag; }
  const std::string& appearTask() const { return m_appearTask; }
  const std::string& objectsName() const { return m_objectsName; }
  bool hidden() const { return m_hidden != 0; }
  bool completed() const { return m_completed != 0; }
  int32_t objectsMax() const { return m_objectsMax; }
  int32_t matched() const { return m_matched; }
  int32_t parts() const { return m_parts; }
  int32_t progress() const { return m_progress; }
  // What a counting row shows: the objects still to deal with (the whole number when none is set).
  int32_t objectsLeft() const { return m_objectsMax - m_matched > 0 ? m_objectsMax - m_matched : m_objectsMax; }

 protected:
  // The kind's own keys and writing them back.
  virtual void LoadOwn(const gFileName& /*file*/, const char* /*section*/) {}
  virtual void SaveOwn(const gFileName& /*file*/, const char* /*section*/) const {}
  // True for the kinds that count events 27/30/77/99 on objects (repair, build, pick, wolves).
  virtual bool CountsEvent(const GameEvent& /*e*/) const { return false; }

  // One object dealt with: a single-object task completes on its tag, a multi-object task counts
  // objects of its type or subtype until objectsMax.
  void CountObject(const GameEvent& e);
  void Complete(int32_t x, int32_t y);
  void Uncomplete(int32_t x, int32_t y);
  void ReportProgress(int32_t x, int32_t y);
  void Appear();
  void PostTaskEvent(Game::Event code, int32_t x, int32_t y);

  TaskLevel m_level;
  int32_t m_id = -1;
  std::string m_name, m_type;
  uint32_t m_nameHash = 0, m_typeHash = 0;
  int32_t m_order = 0;
  std::string m_objectTag, m_objectType, m_appearTag, m_appearTask;
  uint32_t m_objectTagHash = 0, m_objectTypeHash = 0, m_appearTagHash = 0, m_appearTaskHash = 0;
  uint8_t m_hidden = 0;
  int32_t m_objectsMax = 0;
  int32_t m_matched = 0;
  int32_t m_parts = 0;
  int32_t m_progress = 0;
  std::string m_objectsName;
  uint8_t m_completed = 0;
};

// Hold an amount of a resource. Met while the stock holds it; spending below it reopens the task.
class cCollectResource : public cLevelTask {
 public:
  void OnEvent(GameEvent& event) override;
  void RegisterEvents(Game::cEventDispatcher* hub) override;
  bool IsValid() const override { return m_resource >= 0 && m_resource < 4 && m_amount > 0; }
  // Compares the stock with the amount (also done once when the level starts: a stock that holds
  // the amount from the start never changes to say so).
  void CheckStock();
  int32_t resource() const { return m_resource; }
  int32_t amount() const { return m_amount; }
  // What the row shows: the amount still missing, or the whole amount when nothing is.
  int32_t missing() const;

 protected:
  void LoadOwn(const gFileName& file, const char* section) override;
  void SaveOwn(const gFileName& file, const char* section) const override;

 private:
  int32_t m_resource = 4;
  int32_t m_amount = 0;
};

// Build buildings (event 30, not when told silently).
class cBuildBuilding : public cLevelTask {
 public:
  void RegisterEvents(Game::cEventDispatcher* hub) override;
  const std::string& building() const { return m_building; }

 protected:
  void LoadOwn(const gFileName& file, const char* section) override;
  void SaveOwn(const gFileName& file, const char* section) const override;
  bool CountsEvent(const GameEvent& e) const override;

 private:
  std::string m_building;
};

// Repair, destroy or remove objects (event 27).
class cRepairObject : public cLevelTask {
 protected:
  bool CountsEvent(const GameEvent& e) const override;
};

// Take or drive away objects (events 77 and 99); "isAny" turns the counting off.
class cRemoveObstacle : public cLevelTask {
 public:
  bool pickRow() const { return m_pickRow != 0; }
  bool isAny() const { return m_isAny != 0; }

 protected:
  void LoadOwn(const gFileName& file, const char* section) override;
  void SaveOwn(const gFileName& file, const char* section) const override;
  bool CountsEvent(const GameEvent& e) const override;

 private:
  uint8_t m_pickRow = 1;
  uint8_t m_isAny = 0;
};

// Completes on one event of its code, or on the objectsMax-th when counting.
class cEventTask : public cLevelTask {
 public:
  cEventTask(int32_t code, bool counting) : m_code(code), m_counting(counting ? 1 : 0) {}
  void OnEvent(GameEvent& event) override;
  void RegisterEvents(Game::cEventDispatcher* hub) override;
  int32_t code() const { return m_code; }
  bool counting() const { return m_counting != 0; }

 private:
  int32_t m_code;
  uint8_t m_counting;
};

// The task of a "type" value (compared without regard to case), or null for an unknown type.
std::unique_ptr<cLevelTask> taskCreate(std::string_view type);

}  // namespace Task
