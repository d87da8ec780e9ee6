// The rules engine of one running level: its phases from start to win or loss, the two level
// clocks, the player's actions, the reactions to the level's events and the result (stars).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "game/core/events.h"
#include "game/rules/level_score.h"
#include "game/rules/time_phases.h"

namespace Map {
class cMap;
class cObject;
}

namespace Game {
class PlayerStock;
class cAllTaskCompletedController;
class cSoundsController;

enum class Phase : int32_t { Waiting = 0, Ready = 1, Running = 2, GoalsMet = 3, Finishing = 4, Created = 6 };

// Game modes by index; an unknown name is index 3, which no rule treats specially.
enum GameMode : int32_t { kModeNormal = 0, kModeMulticlick = 1, kModeNoTime = 2, kModeUnknown = 3 };
int32_t gameModeFind(std::string_view name);  // case-insensitive
const char* gameModeName(int32_t mode);        // "Normal", ...; "" for an unknown index
std::string gameModeTextKey(int32_t mode);     // "#GAMEMODE_" + name

// Level names: every 16th level is a bonus level ("#BONUS_LEVEL"); others are "#LEVEL" followed by
// a space and their number without the bonus levels counted.
bool levelIsBonus(int32_t n);
int32_t levelDisplayNumber(int32_t n);
const char* levelNameKey(int32_t n);

// The levels whose start opens a story window (event 20).
bool levelHasStory(int32_t n);

// A countdown: remaining and total milliseconds and a running flag.
struct Countdown {
  int32_t remaining = 0;
  int32_t total = 0;
  bool running = false;
  void Start(int32_t ms) { remaining = total = ms; running = true; }
  void Load(int32_t ms) { remaining = total = ms; }
  void Stop() { running = false; }
  // True at the advance that runs it out (it stops then).
  bool Advance(float ms);
 private:
  float m_fraction = 0.0f;  // sub-millisecond rest of scaled advances
};

// One action of the player, forwarded by the game view. Codes: 1 start the clock, 2 and 3 click an
// object, 5 pointer over an object, 6 pointer over nothing, 7 goals met, 10 lose, 12 achievement test.
struct ModelAction {
  int32_t code = 0;
  int32_t objectId = -1;
  int32_t x = 0, y = 0;
};

class cGameModel : public cObserver {
 public:
  static constexpr int32_t kFinishAfterWinMs = 5000;
  static constexpr int32_t kFinishAfterLossMs = 6000;
  static constexpr int32_t kDefaultFinishDelayMs = 1000;  // goals met without an all-goals controller

  cGameModel(cEventDispatcher* dispatcher, PlayerStock* stock, Map::cMap* map);
  ~cGameModel() override;

  // The parts of the level the model drives; each may be absent until its family exists.
  void SetAllGoals(cAllTaskCompletedController* c) { m_allGoals = c; }
  // Updated every step after the step hook, and in the finishing phase too.
  void SetSounds(cSoundsController* c) { m_sounds = c; }
  // How many persons the workers controller has (phase Waiting becomes Ready once there is one).
  void SetWorkersCount(std::function<int()> f) { m_workersCount = std::move(f); }
  // Releases "Worker" persons waiting in the barn; returns how many left.
  void SetReleaseWaitingWorkers(std::function<int()> f) { m_releaseWaiting = std::move(f); }
  // A click on an object in play (the operations queue decides); without it the object's Click.
  void SetClickHook(std::function<void(Map::cObject&)> f) { m_onClick = std::move(f); }
  // Runs each step after the model's own work (workers controller, queue and the rest).
  void SetStepHook(std::function<void(int32_t)> f) { m_stepHook = std::move(f); }
  // Queues a subject the model decided to serve (a dropped icon accepted by its object).
  void SetEnqueueHook(std::function<void(int32_t)> f) { m_enqueue = std::move(f); }
  // The object the last hint pointed at (tint pulse; the hint arrow joins it later), -1 for none.
  int32_t hintTarget() const { return m_hintTarget; }

  // Registers for the model's events.
  void RegisterEvents();
  void StartLevel(int32_t mode, int32_t levelNumber);
  // 0 while the level runs, 1 at the step it becomes Finishing after a win, 2 once finishing is over.
  int Update(int32_t ms);
  void OnAction(const ModelAction& action);
  void OnEvent(GameEvent& event) override;
  void Lose();

  Phase phase() const { return m_phase; }
  int32_t gameMode() const { return m_gameMode; }
  int32_t levelNumber() const { return m_levelNumber; }
  const Countdown& levelTimer() const { return m_levelTimer; }
  const Countdown& minuteTimer() const { return m_minuteTimer; }
  const Countdown& finishTimer() const { return m_finishTimer; }
  bool won() const { return m_won != 0; }
  int32_t stars() const { return m_stars; }
  int32_t timeUsed() const { return m_timeUsed; }
  int32_t scoreBonusSeconds() const { return m_scoreBonusSeconds; }
  bool resourceTouched(int i) const { return i >= 0 && i < 4 && m_resourceTouched[i] != 0; }
  float timeScale() const { return m_timeScale; }
  float levelRate() const { return m_levelRate; }
  // The running score, the clock's phase against the gold and silver times, and the result.
  cLevelScore& levelScore() { return m_score; }
  const cLevelScore& levelScore() const { return m_score; }
  const cTimePhases& timePhases() const { return m_timePhases; }
  LevelResult& result() { return m_result; }
  const LevelResult& result() const { return m_result; }

 private:
  void StartClock();
  void GoalsMet();
  void ComputeResult(bool won);
  void PostSimple(Event code, int32_t value = 0);
  void HoverLeaveAll(int32_t exceptId);
  // model_hints.cpp: the reactions that point the player at what stands in the way.
  void AddFlyingWitch();
  void OnDropped(int32_t objectId, int32_t targetId);
  void PointAtBlocker(int32_t subjectId);
  void PointAtHut(uint32_t kindHash);

  cEventDispatcher* m_dispatcher;
  PlayerStock* m_stock;
  Map::cMap* m_map;
  cAllTaskCompletedController* m_allGoals = nullptr;
  cSoundsController* m_sounds = nullptr;
  std::function<int()> m_workersCount;
  std::function<int()> m_releaseWaiting;
  std::function<void(int32_t)> m_stepHook;
  std::function<void(Map::cObject&)> m_onClick;
  std::function<void(int32_t)> m_enqueue;
  int32_t m_hintTarget = -1;

  int32_t m_gameMode = kModeNormal;
  Phase m_phase = Phase::Created;
  int32_t m_levelNumber = 0;
  Countdown m_levelTimer, m_minuteTimer, m_finishTimer;
  float m_minuteRate = 1.0f, m_levelRate = 1.0f, m_timeScale = 1.0f;
  uint8_t m_won = 0;
  int32_t m_stars = 0;
  int32_t m_timeUsed = 0;
  int32_t m_scoreBonusSeconds = 0;
  uint8_t m_resultDone = 0;
  uint8_t m_finaleStarted = 0;
  uint8_t m_resourceTouched[4] = {0, 1, 1, 1};
  cLevelScore m_score;
  cTimePhases m_timePhases;
  LevelResult m_result;
};

// Reacts to the goals being met (6) and the evil smoke finishing (7): a celebration timer, and the
// finish delay the model waits after the goals are met.
class cAllTaskCompletedController : public cObserver {
 public:
  static constexpr int32_t kCelebrationMs = 20000;
  static constexpr int32_t kFinishDelayMs = 5000;
  explicit cAllTaskCompletedController(cEventDispatcher* dispatcher);
  void RegisterEvents();
  void OnEvent(GameEvent& event) override;
  void SetLevel(int32_t n) { m_level = n; }
  // Told when the level is won (workers cheer) and when everyone gathers at a tag (event 7).
  void SetOnWon(std::function<void()> f) { m_onWon = std::move(f); }
  void SetOnGather(std::function<void(int32_t tag)> f) { m_onGather = std::move(f); }
  bool active() const { return m_active != 0; }
  void Advance(int32_t ms) { m_celebration.Advance(float(ms)); }
  int32_t finishDelay() const { return kFinishDelayMs; }
  const Countdown& celebration() const { return m_celebration; }

 private:
  cEventDispatcher* m_dispatcher;
  uint8_t m_active = 0;
  int32_t m_level = 0;
  Countdown m_celebration;
  std::function<void()> m_onWon;
  std::function<void(int32_t)> m_onGather;
};

}  // namespace Game
