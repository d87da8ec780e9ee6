// The achievement table: definitions, counting from events, and the profile's copy.
#include "game/rules/achievements.h"

#include <algorithm>
#include <memory>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/players.h"

namespace Game {
namespace {

std::unique_ptr<cAchievementTable> g_table;

int32_t hashOf(const char* name) { return int32_t(NameHash(name)); }

// Event 99 by creature subtype, from achievement 31 on.
constexpr const char* kCreatures[] = {"wolf", "evilflower", "spider", "skeleton", "ghost", "necro", "yeti"};
constexpr int kFirstCreature = 31;

// The first of each group of three that the same amounts feed.
enum : int {
  kAchBarnUpgraded = 1,
  kAchBuildingDone = 4,
  kAchUpgraded = 7,
  kAchBridge = 10,
  kAchRoadcrack = 13,
  kAchOre = 16,
  kAchFood = 19,
  kAchGold = 22,
  kAchMine = 25,
  kAchBonusPlace = 28,
  kAchBonusFired = 38,
  kAchExchange = 41,
};

const AchievementRecord& emptyRecord() {
  static const AchievementRecord kEmpty;
  return kEmpty;
}

}  // namespace

bool cAchievementTable::Load(const char* file) {
  m_records = {};
  m_nextOrder = 0;
  m_hiddenText.clear();
  for (int i = 0; i < kAchievementCount; ++i) m_records[size_t(i)].index = i;
  if (!fileExists(file)) {
    errorLog("%s: missing; no achievement can be earned\n", file);
    return false;
  }
  m_hiddenText = iniWText(file, "Main", "HiddenAchText", u"");
  int missing = 0, firstMissing = -1;
  for (int i = 0; i < kAchievementCount; ++i) {
    AchievementRecord& r = m_records[size_t(i)];
    const std::string section = "ach" + std::to_string(i);
    if (!iniHasKey(file, section.c_str(), "text") && !iniHasKey(file, section.c_str(), "valueToAchieve")) {
      if (missing++ == 0) firstMissing = i;
      continue;
    }
    r.text = iniWText(file, section.c_str(), "text", u"");
    if (r.text.size() > kAchievementTextMax) {
      errorLog("%s: [%s] text is %zu characters long; the first %zu are kept\n", file, section.c_str(),
               r.text.size(), kAchievementTextMax);
      r.text.resize(kAchievementTextMax);
    }
    r.icon = iniString(file, section.c_str(), "icon", "");
    r.target = iniGetInt(file, section.c_str(), "valueToAchieve", 0);
    if (r.target < 0) {
      errorLog("%s: [%s] valueToAchieve=%d is below 0; the achievement cannot be earned\n", file, section.c_str(),
               r.target);
      r.target = 0;
    } else if (r.target > kProgressAchievementValueMax) {
      errorLog("%s: [%s] valueToAchieve=%d is more than the profile keeps; %d is used\n", file, section.c_str(),
               r.target, kProgressAchievementValueMax);
      r.target = kProgressAchievementValueMax;
    }
    r.visible = iniGetInt(file, section.c_str(), "visible", 0) != 0 ? 1 : 0;
  }
  if (missing > 0)
    errorLog("%s: %d of the sections [ach0] to [ach%d] are missing (the first is [ach%d]); they cannot be earned\n",
             file, missing, kAchievementCount - 1, firstMissing);
  return true;
}

bool cAchievementTable::Add(int index, int32_t amount) {
  if (index < 0 || index >= kAchievementCount || amount <= 0) return false;
  AchievementRecord& r = m_records[size_t(index)];
  // Earned once is earned for good, even where a later data file raised the target.
  if (r.Earned() || r.value >= r.target) return false;
  // Held at the target: what lies beyond it would only overflow and leave the profile's range.
  r.value = int32_t(std::min<int64_t>(int64_t(r.value) + amount, r.target));
  if (r.value < r.target) return false;
  r.order = ++m_nextOrder;
  if (m_listener) m_listener->OnAchievementEarned(r);
  return true;
}

void cAchievementTable::AddThree(int first, int32_t amount) {
  for (int i = first; i < first + 3; ++i) Add(i, amount);
}

void cAchievementTable::OnEvent(const GameEvent& e) {
  static const int32_t kBuilding = hashOf("building"), kRoadcrack = hashOf("roadcrack"), kBridge = hashOf("bridge"),
                       kBarn = hashOf("barn");
  switch (Event(e.code)) {
    case Event::GameOver: Add(52, 1); break;
    case Event::OperationFinished:
    case Event::BuildingWorkFinished:
      // Told silently, the work was done before play began (a building standing as built when the
      // level loads): not the player's deed.
      if (e.value != 0) break;
      if (e.typeHash != 0 && e.typeHash == kBuilding) AddThree(kAchBuildingDone, 1);
      if (e.subtypeHash != 0 && e.subtypeHash == kRoadcrack) AddThree(kAchRoadcrack, 1);
      if (e.subtypeHash != 0 && e.subtypeHash == kBridge) AddThree(kAchBridge, 1);
      break;
    case Event::BuildingLevelReached:
      if (e.value != 0) break;  // levels the building had when the level loaded
      AddThree(e.subtypeHash != 0 && e.subtypeHash == kBarn ? kAchBarnUpgraded : kAchUpgraded, 1);
      break;
    case Event::TreeEvent: Add(46, 1); break;
    case Event::PersonWalkingSpeed: Add(kAchWalked, e.value2); break;  // whole pixels walked this tick
    case Event::LevelClockStarted: Add(kAchPlayStarted, 1); break;
    case Event::ResourceAdded:
      if (e.value == 0) break;  // handed out by the level, not collected
      if (e.index == 2) AddThree(kAchOre, e.amount);
      else if (e.index == 1) AddThree(kAchFood, e.amount);
      else if (e.index == 3) AddThree(kAchGold, e.amount);
      break;
    case Event::ExchangeHappened: AddThree(kAchExchange, 1); break;
    case Event::BonusUsed:
      if (e.index >= 0 && e.index < 4) AddThree(kAchBonusPlace, e.amount);
      break;
    case Event::MineYielded:
      if (e.index >= 0 && e.index < 4) AddThree(kAchMine, e.amount);
      break;
    case Event::Witch47Event: Add(44, 1); break;
    case Event::CreatureObstacleEvent:
      for (int i = 0; i < int(std::size(kCreatures)); ++i)
        if (e.subtypeHash != 0 && e.subtypeHash == hashOf(kCreatures[i])) Add(kFirstCreature + i, 1);
      break;
    case Event::ViewEvent107: Add(45, 1); break;
    case Event::ViewEvent108: Add(51, 1); break;
    case Event::AllResourcesAtMaximum: Add(53, 1); break;
    case Event::Score3000Passed: Add(47, 1); break;
    case Event::Score5000Passed: Add(48, 1); break;
    case Event::Score10000Passed: Add(49, 1); break;
    case Event::AchievementNoticeClicked: Add(kAchNoticeClicked, 1); break;
    case Event::HammerCreatureClicked: Add(56, 1); break;
    case Event::CreatureClicked: Add(55, 1); break;
    case Event::BonusFired: AddThree(kAchBonusFired, 1); break;
    case Event::BonusReminder: Add(57, 1); break;
    default: break;
  }
}

int cAchievementTable::GrantTest() {
  for (AchievementRecord& r : m_records) {
    if (r.Earned() || r.target <= 0) continue;
    Add(r.index, r.target - r.value);
    return r.index;
  }
  return -1;
}

void cAchievementTable::CopyIn(const int32_t* values, const int32_t* orders) {
  m_nextOrder = 0;
  for (AchievementRecord& r : m_records) {
    const size_t i = size_t(r.index);
    r.value = std::max(values[i], 0);
    if (r.target > 0) r.value = std::min(r.value, r.target);
    r.order = std::max(orders[i], 0);
    m_nextOrder = std::max(m_nextOrder, r.order);
  }
  // Reached but never numbered (a target lowered since, or a hand-edited profile): it is earned,
  // after everything earned before.
  for (AchievementRecord& r : m_records)
    if (!r.Earned() && r.target > 0 && r.value >= r.target) r.order = ++m_nextOrder;
}

void cAchievementTable::CopyOut(int32_t* values, int32_t* orders) const {
  for (const AchievementRecord& r : m_records) {
    values[r.index] = r.value;
    orders[r.index] = r.order;
  }
}

void cAchievementTable::ResetProgress() {
  for (AchievementRecord& r : m_records) r.value = r.order = 0;
  m_nextOrder = 0;
}

const AchievementRecord& cAchievementTable::Record(int index) const {
  return index >= 0 && index < kAchievementCount ? m_records[size_t(index)] : emptyRecord();
}

AchievementView cAchievementTable::View(int index) const {
  const AchievementRecord& r = Record(index);
  AchievementView v;
  v.earned = r.Earned();
  v.visible = r.visible != 0;
  v.text = v.visible || v.earned ? r.text : m_hiddenText;
  v.icon = r.icon;
  v.value = r.value;
  v.order = r.order;
  v.target = r.target;
  v.index = r.index;
  return v;
}

int cAchievementTable::EarnedCount() const {
  return int(std::count_if(m_records.begin(), m_records.end(), [](const AchievementRecord& r) { return r.Earned(); }));
}

void cAchievementTable::RemoveListener(IAchievementListener* listener) {
  if (m_listener == listener) m_listener = nullptr;
}

// ---- The run's table and the profile ------------------------------------------------------------

cAchievementTable* achievementTable() { return g_table.get(); }

void achievementsCreate() {
  g_table = std::make_unique<cAchievementTable>();
  g_table->Load();
  if (const PlayerProgress* p = playerProgress()) achievementsLoadFrom(*p);
}

void achievementsDestroy() { g_table.reset(); }

void achievementsStoreTo(PlayerProgress& p) {
  if (!g_table || p.mode < 0 || p.mode >= kGameModes) return;
  g_table->CopyOut(p.achV[p.mode], p.achN[p.mode]);
}

void achievementsLoadFrom(const PlayerProgress& p) {
  if (!g_table) return;
  if (p.mode < 0 || p.mode >= kGameModes)
    g_table->ResetProgress();  // no mode chosen: no progress to show
  else
    g_table->CopyIn(p.achV[p.mode], p.achN[p.mode]);
}

void achievementsFillHooks(PlayerHooks& hooks) {
  hooks.storeAchievements = achievementsStoreTo;
  hooks.loadAchievements = achievementsLoadFrom;
}

}  // namespace Game
