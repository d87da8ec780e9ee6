// The goal panel's rows: the level's visible tasks in their order, each with what is left to do
// and a tick once it is complete.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Task {
class cLevelTaskContainer;
class cLevelTask;
}  // namespace Task

namespace Interface {

struct GoalRow {
  int32_t taskId = 0;
  std::string label;     // the task's translated title, or its name without one
  std::string progress;  // "2/3" for a counting task, empty otherwise
  bool done = false;
};

// The row's title, from data/translation.ini: "#TASK_" + the task's name when that has a text;
// else the translated objectsName; else the kind's phrase "#TASK_TYPE_" + its type in capitals,
// whose "%d" is the amount (or number of objects) and "%s" the resource's (or objects') name; else
// the task's name.
std::string panelGoalLabel(const Task::cLevelTask& task);
// A resource's name as the player reads it ("#BONUS_NAME_Food"), or its plain name without one.
std::string panelResourceName(int32_t resource);
// "have/needed" for a resource to hold and for tasks that count several objects or parts, empty
// for a single object.
std::string panelGoalProgress(const Task::cLevelTask& task);

class cGoalPanel {
 public:
  void Bind(const Task::cLevelTaskContainer* goals);
  // Rebuilt every tick from the tasks: hidden tasks appear as they are revealed.
  void Refresh();
  const std::vector<GoalRow>& Rows() const { return m_rows; }
  size_t DoneCount() const;

 private:
  const Task::cLevelTaskContainer* m_goals = nullptr;
  std::vector<GoalRow> m_rows;
};

}  // namespace Interface
