// Game::cBonusController: the player's bonus energy bar, which fills with play, and the six bonuses
// the level offers on it — what each costs, firing one (its energy spent, its active period
// started) and its end, with the events that let persons, generators, bonus places and the level
// clock carry the effects out.
#pragma once
#include <cstdint>
#include <string_view>

#include "anim/period_timer.h"
#include "game/core/events.h"
#include "game/core/level_balance.h"

namespace Game {
class cWorkersController;

// The bonuses in their fixed order (the order of the balance keys and of the panel's buttons).
enum BonusIndex : int {
  kBonusWorker = 0,
  kBonusSpeed = 1,
  kBonusRespawn = 2,
  kBonusTimeStop = 3,
  kBonusFastGen = 4,
  kBonusMoreResources = 5,
};

// The index of a bonus name (exact, as the balance keys and the button names spell it), -1 when
// there is no such bonus.
int bonusIndex(std::string_view name);
// The event that fires a bonus, and the one that tells its end (0 when it has none).
Event bonusFiringEvent(int bonus);
int32_t bonusEndingCode(int bonus);

class cBonusController : public cObserver {
 public:
  static constexpr int32_t kReminderMs = 180000;
  // The time-stop warning comes this long before the clock runs again.
  static constexpr int32_t kTimeStopWarningMs = 600;

  // `workers` may be null: the worker bonus then adds and removes nothing. Costs, periods and the
  // bar's capacity are taken from `balance` now; costs the bar can never reach are reported in
  // gerr.log naming `balanceFile`.
  cBonusController(cEventDispatcher* dispatcher, cWorkersController* workers, const LevelBalance& balance,
                   const char* balanceFile = "balance.ini");
  ~cBonusController() override;

  // Pause and resume, a person back home, the clock's start and the six firing events.
  void RegisterEvents();
  void OnEvent(GameEvent& event) override;
  // One game step: the bar fills, active periods run and end, the reminder runs.
  void Update(int32_t ms);

  // What the panel posts when the player clicks an available bonus; false (nothing posted) when
  // the bonus is not available.
  bool Fire(int bonus);

  bool Offered(int bonus) const { return Valid(bonus) && m_cost[bonus] >= 1; }
  int32_t Cost(int bonus) const { return Valid(bonus) ? m_cost[bonus] : 0; }
  int32_t ActPeriod(int bonus) const { return Valid(bonus) ? m_activeTimer[bonus].Period() : 0; }
  // Energy at least the cost and the bonus's active period not running.
  bool IsAvailable(int bonus) const;
  // Its active period runs (or its worker is still to be taken back).
  bool IsActive(int bonus) const { return Valid(bonus) && m_active[bonus] != 0; }
  bool PeriodRunning(int bonus) const { return Valid(bonus) && !m_activeTimer[bonus].IsStopped(); }
  int32_t Energy() const { return int32_t(m_energy); }
  int32_t MaxEnergy() const { return m_maxEnergy; }
  bool Charging() const { return m_charging != 0; }
  // energy / capacity, cost / capacity (0..1; 0 without a capacity), and the share of a running
  // active period that has passed (1 for a bonus without a period).
  float EnergyFraction() const;
  float CostFraction(int bonus) const;
  float ActiveFraction(int bonus) const;
  bool Paused() const { return m_pause == 0.0f; }
  // Workers the bonus added whose period is over but who could not leave yet (none was free at
  // home); each leaves at the next worker coming home.
  int PendingRemovals() const { return m_pendingRemovals; }
  int32_t ReminderLeft() const;

 private:
  static bool Valid(int bonus) { return bonus >= 0 && bonus < kBonusCount; }
  void Post(Event code);
  void OnFired(int bonus);
  void EndPeriod(int bonus);
  // Takes back the workers owed while one is free at home; the worker bonus's flag clears once
  // none is owed and no period runs.
  void TakeBackWorkers();

  cEventDispatcher* m_dispatcher;
  cWorkersController* m_workers;
  double m_energy = 0.0;
  int32_t m_maxEnergy = 0;
  uint8_t m_charging = 0;  // the bar fills from the first start of the level clock
  int32_t m_cost[kBonusCount] = {};
  PeriodTimer m_activeTimer[kBonusCount];
  uint8_t m_active[kBonusCount] = {};
  float m_rate = 1.0f;
  PeriodTimer m_warning{0, PeriodTimer::kStopped};
  PeriodTimer m_reminder{kReminderMs, PeriodTimer::kStopped};
  float m_pause = 1.0f;
  int m_pendingRemovals = 0;
  uint8_t m_workerOwed = 0;      // the running worker period brought a worker that leaves at its end
  uint8_t m_workerCameHome = 0;  // a worker came home while one is still to be taken back
};

}  // namespace Game
