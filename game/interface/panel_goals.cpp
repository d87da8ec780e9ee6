// The goal panel's rows, read from the level's tasks.
#include "game/interface/panel_goals.h"

#include <algorithm>

#include "files/ini.h"
#include "game/rules/task_container.h"

namespace Interface {

std::string panelGoalLabel(const Task::cLevelTask& task) {
  const std::string key = "#TASK_" + task.name();
  std::string text = iniString("data/translation.ini", nullptr, key.c_str(), "");
  return text.empty() ? task.name() : text;
}

std::string panelGoalProgress(const Task::cLevelTask& task) {
  if (auto* collect = dynamic_cast<const Task::cCollectResource*>(&task)) {
    const int32_t need = collect->amount();
    const int32_t have = task.completed() ? need : std::clamp(need - collect->missing(), 0, need);
    return std::to_string(have) + "/" + std::to_string(need);
  }
  int32_t need = std::max(task.objectsMax(), task.parts());
  if (need <= 1) return {};
  int32_t have = task.objectsMax() > 1 ? task.matched() : task.progress();
  have = std::clamp(have, 0, need);
  if (task.completed()) have = need;
  return std::to_string(have) + "/" + std::to_string(need);
}

void cGoalPanel::Bind(const Task::cLevelTaskContainer* goals) {
  m_goals = goals;
  Refresh();
}

void cGoalPanel::Refresh() {
  m_rows.clear();
  if (!m_goals) return;
  for (size_t i = 0; i < m_goals->Count(); ++i) {
    const Task::cLevelTask* t = m_goals->At(i);
    if (!t || t->hidden()) continue;
    m_rows.push_back(GoalRow{t->id(), panelGoalLabel(*t), panelGoalProgress(*t), t->completed()});
  }
}

size_t cGoalPanel::DoneCount() const {
  return size_t(std::count_if(m_rows.begin(), m_rows.end(), [](const GoalRow& r) { return r.done; }));
}

}  // namespace Interface
