// The common part of every task: its keys, appearance, counting objects and completion.
#include "game/rules/level_task.h"

#include "files/ini.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/map.h"

namespace Task {
namespace {
void readKeyed(const gFileName& file, const char* section, const char* key, std::string& text, uint32_t& hash) {
  text = iniString(file, section, key);
  hash = NameHash(text);
}
}  // namespace

void cLevelTask::Load(const gFileName& file, const char* section) {
  m_name = section ? section : "";
  m_nameHash = NameHash(m_name);
  readKeyed(file, section, "type", m_type, m_typeHash);
  m_order = iniGetInt(file, section, "order", 0);
  readKeyed(file, section, "objectTag", m_objectTag, m_objectTagHash);
  readKeyed(file, section, "objectType", m_objectType, m_objectTypeHash);
  readKeyed(file, section, "appearTag", m_appearTag, m_appearTagHash);
  readKeyed(file, section, "appearTask", m_appearTask, m_appearTaskHash);
  m_hidden = iniGetInt(file, section, "isHidden", 0) != 0 ? 1 : 0;
  m_objectsMax = iniGetInt(file, section, "objectsMax", 0);
  m_objectsName = iniString(file, section, "objectsName");
  m_parts = iniGetInt(file, section, "parts", 0);
  LoadOwn(file, section);
}

void cLevelTask::RegisterEvents(Game::cEventDispatcher* hub) {
  for (Game::Event e : {Game::Event::GoalCompleted, Game::Event::OperationFinished, Game::Event::ResourcesPickedUp,
                        Game::Event::CreatureObstacleEvent})
    Register(e, hub, this);
}

void cLevelTask::Save(const gFileName& file) const {
  const char* s = m_name.c_str();
  iniSetInt(file, s, "order", m_order, false);
  iniSetString(file, s, "type", m_type.c_str(), false);
  iniSetString(file, s, "objectTag", m_objectTag.c_str(), false);
  iniSetString(file, s, "objectType", m_objectType.c_str(), false);
  iniSetString(file, s, "appearTag", m_appearTag.c_str(), false);
  iniSetString(file, s, "appearTask", m_appearTask.c_str(), false);
  iniSetInt(file, s, "isHidden", m_hidden, false);
  iniSetInt(file, s, "objectsMax", m_objectsMax, false);
  // The row names the object as the level now calls it, when the object is there.
  std::string objectsName = m_objectsName;
  if (m_level.map && m_objectTagHash != 0)
    if (Map::cObject* o = m_level.map->FindByTag(m_objectTagHash))
      if (std::u16string shown = o->GetDisplayName(); !shown.empty()) objectsName = textUtf16ToUtf8(shown);
  iniSetString(file, s, "objectsName", objectsName.c_str(), false);
  iniSetInt(file, s, "parts", m_parts, false);
  SaveOwn(file, s);
}

void cLevelTask::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  const bool silent = e.value != 0;
  if (e.code == Game::Code(Game::Event::GoalCompleted)) {
    if (m_hidden && m_appearTaskHash != 0 && uint32_t(e.value2) == m_appearTaskHash) Appear();
    return;
  }
  const bool dealtWith = (e.code == Game::Code(Game::Event::OperationFinished) && !silent) ||
                         e.code == Game::Code(Game::Event::ResourcesPickedUp) ||
                         e.code == Game::Code(Game::Event::CreatureObstacleEvent);
  if (dealtWith && m_hidden && m_appearTagHash != 0 && uint32_t(e.tag) == m_appearTagHash) Appear();
  if (CountsEvent(e)) CountObject(e);
}

void cLevelTask::CountObject(const GameEvent& e) {
  if (m_completed) return;
  if (m_objectsMax > 1) {
    const bool byType = m_objectTypeHash != 0 && uint32_t(e.typeHash) == m_objectTypeHash;
    const bool bySubtype = e.subtypeHash != 0 && uint32_t(e.subtypeHash) == m_objectTypeHash;
    if (!byType && !bySubtype) return;
    if (++m_matched >= m_objectsMax)
      Complete(e.x, e.y);
    else
      ReportProgress(e.x, e.y);
    return;
  }
  if (m_objectTagHash != 0 && uint32_t(e.tag) == m_objectTagHash) {
    m_matched = 1;
    Complete(e.x, e.y);
  }
}

void cLevelTask::PostTaskEvent(Game::Event code, int32_t x, int32_t y) {
  if (!m_level.dispatcher) return;
  GameEvent e;
  MakeEvent(e, code);
  e.value = m_id;
  e.x = x;
  e.y = y;
  if (code != Game::Event::GoalProgress) {
    e.value2 = int32_t(m_nameHash);
    e.extra[0] = int32_t(m_typeHash);
  }
  Post(m_level.dispatcher, e);
}

void cLevelTask::Complete(int32_t x, int32_t y) {
  if (m_completed) return;
  m_completed = 1;
  ++m_progress;
  PostTaskEvent(Game::Event::GoalCompleted, x, y);
}

void cLevelTask::Uncomplete(int32_t x, int32_t y) {
  if (!m_completed) return;
  m_completed = 0;
  PostTaskEvent(Game::Event::GoalUncompleted, x, y);
}

void cLevelTask::ReportProgress(int32_t x, int32_t y) {
  ++m_progress;
  PostTaskEvent(Game::Event::GoalProgress, x, y);
}

void cLevelTask::Appear() {
  if (!m_hidden) return;
  m_hidden = 0;
  if (!m_level.dispatcher) return;
  GameEvent e;
  MakeEvent(e, Game::Event::GoalRevealed);
  e.value = m_id;
  Post(m_level.dispatcher, e);
}

}  // namespace Task
