// The goals of one level.
#include "game/rules/task_container.h"

#include <algorithm>

#include "base/diag.h"
#include "files/ini.h"
#include "game/core/level_balance.h"
#include "game/core/player_stock.h"

namespace Task {
namespace {
// Why a collect task can never be met in this level, or null when it can.
const char* collectFault(const cCollectResource& t, const LevelBalance& b) {
  if (!t.IsValid()) return t.resource() < 0 || t.resource() > 3 ? "names no resource" : "asks for no amount";
  const int r = t.resource();
  if (r != Game::kWorker && b.harvest[r] == 0) return "asks for a resource the level does not use";
  if (t.amount() > b.resourcesMax[r]) return "asks for more than the stock can hold";
  return nullptr;
}
}  // namespace

cLevelTaskContainer::~cLevelTaskContainer() {
  // The tasks leave the dispatcher before they go (the base does it for the container).
  m_tasks.clear();
}

void cLevelTaskContainer::Load(const gFileName& file, int32_t levelNumber) {
  m_tasks.clear();
  m_done = m_suspended = m_started = 0;
  if (!fileExists(file)) return;
  const LevelBalance& balance = levelBalance();
  const std::string path = file.Utf8();
  for (const std::string& section : iniSectionList(file)) {
    std::string type = iniString(file, section.c_str(), "type");
    std::unique_ptr<cLevelTask> task = taskCreate(type);
    if (!task) {
      if (!type.empty())
        errorLog("%s: level %d, task \"%s\": unknown type \"%s\", no task\n", path.c_str(), int(levelNumber),
                 section.c_str(), type.c_str());
      continue;
    }
    task->Load(file, section.c_str());
    if (auto* collect = dynamic_cast<cCollectResource*>(task.get())) {
      if (const char* fault = collectFault(*collect, balance)) {
        errorLog("%s: level %d, task \"%s\" %s (resource %d, amount %d); the task is left out\n", path.c_str(),
                 int(levelNumber), section.c_str(), fault, int(collect->resource()), int(collect->amount()));
        continue;
      }
    }
    m_tasks.push_back(std::move(task));
  }
  std::stable_sort(m_tasks.begin(), m_tasks.end(),
                   [](const auto& a, const auto& b) { return a->order() < b->order(); });
  for (size_t i = 0; i < m_tasks.size(); ++i) m_tasks[i]->SetLevel(m_level, int32_t(i));
}

void cLevelTaskContainer::Prepare(const TaskLevel& level) {
  m_level = level;
  for (size_t i = 0; i < m_tasks.size(); ++i) m_tasks[i]->SetLevel(level, int32_t(i));
}

void cLevelTaskContainer::RegisterEvents() {
  if (!m_level.dispatcher) return;
  for (auto& t : m_tasks) t->RegisterEvents(m_level.dispatcher);
  Register(Game::Event::GamePlayFinished, m_level.dispatcher, this);
}

void cLevelTaskContainer::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  if (e.code == Game::Code(Game::Event::GamePlayFinished)) m_suspended = 1;
}

void cLevelTaskContainer::Update(int32_t ms) {
  if (!m_started) {
    m_started = 1;
    for (auto& t : m_tasks)
      if (auto* collect = dynamic_cast<cCollectResource*>(t.get())) collect->CheckStock();
  }
  for (auto& t : m_tasks) t->Update(ms);
  if (m_done || m_suspended || m_tasks.empty()) return;
  for (auto& t : m_tasks)
    if (!t->completed()) return;
  m_done = 1;
  if (!m_level.dispatcher) return;
  GameEvent e;
  MakeEvent(e, Game::Event::AllGoalsCompleted);
  Post(m_level.dispatcher, e);
}

cLevelTask* cLevelTaskContainer::Find(std::string_view name) const {
  for (auto& t : m_tasks)
    if (t->name() == name) return t.get();
  return nullptr;
}

size_t cLevelTaskContainer::VisibleCount() const {
  return size_t(std::count_if(m_tasks.begin(), m_tasks.end(), [](const auto& t) { return !t->hidden(); }));
}

size_t cLevelTaskContainer::CompletedCount() const {
  return size_t(std::count_if(m_tasks.begin(), m_tasks.end(), [](const auto& t) { return t->completed(); }));
}

}  // namespace Task
