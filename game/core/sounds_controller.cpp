// The level's sounds controller.
#include "game/core/sounds_controller.h"

#include <algorithm>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/player_stock.h"
#include "game/core/random.h"
#include "sound/sound.h"

namespace Game {
namespace {
constexpr int kIncludeKeys = 9;  // "0" to "8"

bool isIncludeSection(std::string_view name) { return textEqualNoCase(name, "Include"); }
}  // namespace

const std::vector<int32_t>& cSoundsController::EventCodes() {
  static const std::vector<int32_t> codes = {
      Code(Event::ObjectBroke),         Code(Event::UpgradeOrdered),    Code(Event::BuildingLevelReached),
      Code(Event::BuildingWorkFinished), Code(Event::OperationFinished), Code(Event::FogAreaOpens),
      Code(Event::FogAreaCloses),       Code(Event::TotemDestroyed),    Code(Event::BonusPlaced),
      Code(Event::GoalCompleted),       Code(Event::GoalProgress),      Code(Event::AllGoalsCompleted),
      Code(Event::LevelResultComputed), Code(Event::GameOver),          Code(Event::TimeRunningShort1),
      Code(Event::TimeRunningShort2),   Code(Event::TimeRunningShort3), Code(Event::ThirdStarLost),
      Code(Event::SecondStarLost),      Code(Event::TimeBarFreezes),    Code(Event::TimeBarIceBreaks),
      Code(Event::LevelClockStarted),   Code(Event::PersonLeftHome),    Code(Event::ResourcesPickedUp)};
  return codes;
}

cSoundsController::cSoundsController(cEventDispatcher* dispatcher) : m_dispatcher(dispatcher) {}

cSoundsController::~cSoundsController() {
  if (m_dispatcher) m_dispatcher->Forget(this);
}

void cSoundsController::RegisterEvents() {
  for (int32_t code : EventCodes()) Register(code, m_dispatcher, this);
}

void cSoundsController::LoadAmbient(const std::string& path) {
  if (path.empty() || !fileExists(path.c_str())) return;
  AddSections(path, path);
  for (int i = 0; i < kIncludeKeys; ++i) {
    const std::string key = std::to_string(i);
    const std::string inc = iniGetString(gFileName(path), "Include", key.c_str(), "");
    if (inc.empty()) continue;
    if (!fileExists(inc.c_str())) {
      errorLog("%s: [Include] \"%s\" names \"%s\", which is missing: its ambient sounds are left out\n", path.c_str(),
               key.c_str(), inc.c_str());
      continue;
    }
    AddSections(inc, path);
  }
}

void cSoundsController::AddSections(const std::string& file, const std::string& from) {
  const gFileName f(file);
  for (const std::string& section : iniSectionList(f)) {
    // The list of included files is not a sound, wherever it stands.
    if (isIncludeSection(section)) continue;
    AmbientSound a;
    a.section = section;
    a.sound = iniGetString(f, section.c_str(), "sound", "");
    a.periodMin = iniGetInt(f, section.c_str(), "periodMin", 0);
    a.periodMax = iniGetInt(f, section.c_str(), "periodMax", 0);
    const std::string where = file == from ? file : file + " (included by " + from + ")";
    if (a.periodMin < 0 || a.periodMax < 0) {
      errorLog("%s: [%s] periodMin %d, periodMax %d: a negative interval is read as 0\n", where.c_str(),
               section.c_str(), a.periodMin, a.periodMax);
      a.periodMin = std::max(a.periodMin, 0);
      a.periodMax = std::max(a.periodMax, 0);
    }
    if (a.sound.empty()) {
      errorLog("%s: [%s] names no \"sound\": it plays nothing\n", where.c_str(), section.c_str());
      a.off = true;
    }
    // No interval is the way a level switches an ambient sound off; it must not play every step.
    if (a.periodMin == 0 && a.periodMax == 0) a.off = true;
    if (!a.off) Restart(a);
    m_ambient.push_back(std::move(a));
  }
}

void cSoundsController::Restart(AmbientSound& a) {
  // Cosmetic: the unlogged generator, so ambient sounds never change a replayed game.
  a.timer = RandomPeriod(a.periodMin, a.periodMax, true);
}

void cSoundsController::Update(int32_t ms) {
  for (AmbientSound& a : m_ambient) {
    if (a.off) continue;
    a.timer -= ms;
    if (a.timer > 0) continue;
    Play(a.sound.c_str());
    Restart(a);
  }
}

void cSoundsController::Play(const char* name) { sndPlay(name, SND_SOUND); }

void cSoundsController::PlayAt(const char* name, int32_t x) {
  sndPlayEx(name, SND_SOUND, 1.0f, sndScreenPan(x), -1.0f);
}

void cSoundsController::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  if (!m_enabled) return;
  static const uint32_t kBuilding = NameHash("building");
  switch (static_cast<Event>(e.code)) {
    case Event::GoalCompleted:
    case Event::GoalProgress: Play("TaskCompleted"); break;
    case Event::AllGoalsCompleted: Play("AllTasksCompleted"); break;
    case Event::TimeRunningShort1:
    case Event::TimeRunningShort2:
    case Event::TimeRunningShort3: Play("HurryUp"); break;
    case Event::ThirdStarLost: Play("3StarsLost"); break;
    case Event::SecondStarLost: Play("2StarsLost"); break;
    case Event::GameOver:
      m_lost = true;
      Play("GameOver");
      Play("GameOverVoice");
      break;
    case Event::LevelResultComputed:
      // The result of a lost level is computed too; its fanfare would cheer the loss.
      if (!m_lost) Play("LevelWin");
      break;
    case Event::OperationFinished:
    case Event::BuildingLevelReached:
    case Event::BuildingWorkFinished:
      if (e.value == 0) PlayAt(uint32_t(e.typeHash) == kBuilding ? "ObjectUpgraded" : "ActionComplete", e.x);
      break;
    case Event::UpgradeOrdered: PlayAt("ObjectPlanUpgrade", e.x); break;
    case Event::ObjectBroke:
      if (e.value == 0) PlayAt("ObjectBroken", e.x);
      break;
    case Event::FogAreaOpens: Play("ForestReborn"); break;
    case Event::FogAreaCloses:
      if (e.value != 0 && e.value2 != 0) Play("ForestDead");
      break;
    case Event::TotemDestroyed: PlayAt("TotemDestroyed", e.x); break;
    case Event::BonusPlaced: PlayAt("BonusPlacedInBonusPlace", e.x); break;
    case Event::PersonLeftHome:
      if (e.value != 0) PlayAt("WorkerOut", e.x);
      break;
    case Event::LevelClockStarted: Play("LevelStart"); break;
    case Event::ResourcesPickedUp: PlayAt(e.index == kGold ? "PickGold" : "PickBonus", e.x); break;
    case Event::TimeBarFreezes: Play("TimeBarFreeze"); break;
    case Event::TimeBarIceBreaks: Play("TimeBarIceBreak"); break;
    default: break;
  }
}

}  // namespace Game
