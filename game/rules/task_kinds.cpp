// The kinds of task: collect, build, repair, pick, and the story events, and which "type" makes
// which kind.
#include <cstring>

#include "files/ini.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/level_balance.h"
#include "game/core/map.h"
#include "game/core/player_stock.h"
#include "game/rules/level_task.h"

namespace Task {
namespace {
int32_t resourceIndex(std::string_view name) {
  for (int i = 0; i < 4; ++i)
    if (textEqualNoCase(name, kResourceNames[i])) return i;
  return 4;
}
}  // namespace

// ---- Collect ------------------------------------------------------------------------------

void cCollectResource::LoadOwn(const gFileName& file, const char* section) {
  m_resource = resourceIndex(iniString(file, section, "resource"));
  m_amount = iniGetInt(file, section, "resourceValue", 0);
}

void cCollectResource::SaveOwn(const gFileName& file, const char* section) const {
  iniSetString(file, section, "resource", m_resource >= 0 && m_resource < 4 ? kResourceNames[m_resource] : "",
               false);
  iniSetInt(file, section, "resourceValue", m_amount, false);
}

void cCollectResource::RegisterEvents(Game::cEventDispatcher* hub) {
  cLevelTask::RegisterEvents(hub);
  Register(Game::Event::StockChanged, hub, this);
}

void cCollectResource::OnEvent(GameEvent& e) {
  cLevelTask::OnEvent(e);
  if (e.code == Game::Code(Game::Event::StockChanged)) CheckStock();
}

int32_t cCollectResource::missing() const {
  const int32_t have = m_level.stock ? m_level.stock->Amount(m_resource) : 0;
  return have < m_amount ? m_amount - have : m_amount;
}

void cCollectResource::CheckStock() {
  if (!m_level.stock || !IsValid()) return;
  const bool held = m_level.stock->Amount(m_resource) >= m_amount;
  if (held == (m_completed != 0)) return;
  // The barn is where the stock lives: the completion is shown there.
  int32_t x = 0, y = 0;
  if (m_level.map)
    if (Map::cObject* barn = m_level.map->FindByType("building", "barn")) {
      x = int32_t(barn->x);
      y = int32_t(barn->y);
    }
  if (held)
    Complete(x, y);
  else
    Uncomplete(x, y);
}

// ---- Build, repair, pick --------------------------------------------------------------------

void cBuildBuilding::LoadOwn(const gFileName& file, const char* section) {
  m_building = iniString(file, section, "building");
}

void cBuildBuilding::SaveOwn(const gFileName& file, const char* section) const {
  iniSetString(file, section, "building", m_building.c_str(), false);
}

void cBuildBuilding::RegisterEvents(Game::cEventDispatcher* hub) {
  cLevelTask::RegisterEvents(hub);
  Register(Game::Event::BuildingWorkFinished, hub, this);
}

bool cBuildBuilding::CountsEvent(const GameEvent& e) const {
  // A building that stands as built when the level loads is told silently: not the player's work.
  return e.code == Game::Code(Game::Event::BuildingWorkFinished) && e.value == 0;
}

bool cRepairObject::CountsEvent(const GameEvent& e) const {
  return e.code == Game::Code(Game::Event::OperationFinished) && e.value == 0;
}

void cRemoveObstacle::LoadOwn(const gFileName& file, const char* section) {
  m_pickRow = iniGetInt(file, section, "isRemove", 0) == 0 ? 1 : 0;
  m_isAny = iniGetInt(file, section, "isAny", 0) != 0 ? 1 : 0;
}

void cRemoveObstacle::SaveOwn(const gFileName& file, const char* section) const {
  iniSetInt(file, section, "isRemove", m_pickRow ? 0 : 1, false);
  iniSetInt(file, section, "isAny", m_isAny, false);
}

bool cRemoveObstacle::CountsEvent(const GameEvent& e) const {
  if (m_isAny) return false;
  return e.code == Game::Code(Game::Event::ResourcesPickedUp) ||
         e.code == Game::Code(Game::Event::CreatureObstacleEvent);
}

// ---- Story events ---------------------------------------------------------------------------

void cEventTask::RegisterEvents(Game::cEventDispatcher* hub) {
  cLevelTask::RegisterEvents(hub);
  if (m_code >= 0 && m_code < kEventCodeCount) Register(m_code, hub, this);
}

void cEventTask::OnEvent(GameEvent& e) {
  cLevelTask::OnEvent(e);
  if (e.code != m_code || m_completed) return;
  if (m_counting && ++m_matched < m_objectsMax) {
    ReportProgress(e.x, e.y);
    return;
  }
  Complete(e.x, e.y);
}

// ---- Kinds by type ----------------------------------------------------------------------------

std::unique_ptr<cLevelTask> taskCreate(std::string_view type) {
  auto is = [type](const char* name) { return textEqualNoCase(type, name); };
  if (is("collectResource")) return std::make_unique<cCollectResource>();
  if (is("repair") || is("destroy") || is("remove")) return std::make_unique<cRepairObject>();
  if (is("build")) return std::make_unique<cBuildBuilding>();
  if (is("pick") || is("SaveWolf") || is("FeedWolf")) return std::make_unique<cRemoveObstacle>();
  struct Story {
    const char* type;
    Game::Event code;
  };
  static constexpr Story kStories[] = {{"SummerDaughter", Game::Event::SummerCageEvent},
                                       {"AutumnDaughter", Game::Event::AutumnChainsEvent},
                                       {"WinterDaughter", Game::Event::WinterIceFinished},
                                       {"PickaQuill", Game::Event::QuillDelivered},
                                       {"PickaHeart", Game::Event::HeartDelivered}};
  for (const Story& s : kStories)
    if (is(s.type)) return std::make_unique<cEventTask>(Game::Code(s.code), false);
  if (is("PickBerries")) return std::make_unique<cEventTask>(Game::Code(Game::Event::BerryDelivered), true);
  return nullptr;
}

}  // namespace Task
