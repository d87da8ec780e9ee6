// The goal panel's rows, read from the level's tasks.
#include "game/interface/panel_goals.h"

#include <algorithm>
#include <cctype>

#include "files/ini.h"
#include "game/rules/task_container.h"

namespace Interface {

namespace {
const char* const kTranslation = "data/translation.ini";
const char* const kResourceName[4] = {"Worker", "Food", "Ore", "Gold"};

// The text of a translation key, empty when the key has none.
std::string translated(const std::string& key) { return iniString(kTranslation, nullptr, key.c_str(), ""); }

// The first "%d" becomes `number` and the first "%s" `name`. Translated phrases are data, so they
// are never handed to printf: a stray "%n" or a missing argument stays plain text.
std::string fillPhrase(std::string phrase, int32_t number, const std::string& name) {
  if (size_t at = phrase.find("%d"); at != std::string::npos) phrase.replace(at, 2, std::to_string(number));
  if (size_t at = phrase.find("%s"); at != std::string::npos) phrase.replace(at, 2, name);
  return phrase;
}

std::string upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
}  // namespace

std::string panelResourceName(int32_t resource) {
  if (resource < 0 || resource > 3) return {};
  const std::string text = translated(std::string("#BONUS_NAME_") + kResourceName[resource]);
  return text.empty() ? kResourceName[resource] : text;
}

std::string panelGoalLabel(const Task::cLevelTask& task) {
  // A text of the task's own wins; then the name of its objects; then its kind's phrase, which
  // may take the amount and the objects' (or resource's) name.
  if (std::string own = translated("#TASK_" + task.name()); !own.empty()) return own;
  const auto* collect = dynamic_cast<const Task::cCollectResource*>(&task);
  std::string objects;
  if (!task.objectsName().empty())
    objects = task.objectsName()[0] == '#' ? translated(task.objectsName()) : task.objectsName();
  if (!objects.empty() && !collect) return objects;
  const std::string phrase = translated("#TASK_TYPE_" + upper(task.type()));
  if (collect) {
    const std::string name = objects.empty() ? panelResourceName(collect->resource()) : objects;
    if (!phrase.empty()) return fillPhrase(phrase, collect->amount(), name);
    return std::to_string(collect->amount()) + " " + name;
  }
  if (!phrase.empty()) {
    const std::string& what = task.objectType().empty() ? task.objectTag() : task.objectType();
    return fillPhrase(phrase, std::max(task.objectsMax(), 1), what);
  }
  return task.name();
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
