// The goals of one level: the tasks read from the level's task.ini in their shown order, and the
// check, every step, that wins the level once every task is complete.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/rules/level_task.h"

namespace Task {

class cLevelTaskContainer : public Game::cObserver {
 public:
  cLevelTaskContainer() { m_tasks.reserve(10); }
  ~cLevelTaskContainer() override;

  // Reads the tasks of a task file. A missing file gives a level without tasks; a section of an
  // unknown type gives no task; a task that can never be met is refused with a gerr.log line
  // naming the level and the task. Tasks keep their file order among equal "order" values.
  void Load(const gFileName& file, int32_t levelNumber);
  // Binds the tasks to the level (its dispatcher, stock and map).
  void Prepare(const TaskLevel& level);
  // Every task for its events, the container for 14 (play finished).
  void RegisterEvents();
  // The end of play (14) stops the check for good.
  void OnEvent(GameEvent& event) override;
  // Once per step: posts 6 once when the level has tasks and every one is complete.
  void Update(int32_t ms);

  size_t Count() const { return m_tasks.size(); }
  cLevelTask* At(size_t i) const { return i < m_tasks.size() ? m_tasks[i].get() : nullptr; }
  cLevelTask* Find(std::string_view name) const;
  size_t VisibleCount() const;
  size_t CompletedCount() const;
  bool done() const { return m_done != 0; }
  bool suspended() const { return m_suspended != 0; }
  void SetSuspended(bool on) { m_suspended = on ? 1 : 0; }

 private:
  std::vector<std::unique_ptr<cLevelTask>> m_tasks;
  TaskLevel m_level;
  uint8_t m_done = 0;
  uint8_t m_suspended = 0;
  uint8_t m_started = 0;
};

}  // namespace Task
