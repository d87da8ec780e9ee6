// The player's bonus energy bar and the bonuses' active periods.
#include "game/rules/bonus_controller.h"

#include <algorithm>

#include "base/diag.h"
#include "files/name_hash.h"
#include "game/core/workers.h"

namespace Game {
namespace {
constexpr Event kFiring[kBonusCount] = {Event::WorkerBonusFired,    Event::SpeedBonusFired,
                                        Event::RespawnBonusPlacesFired, Event::TimeBarFreezes,
                                        Event::FastGenBonusFired,   Event::MoreResourcesBonusFired};
// The worker bonus ends by taking its worker back and the bonus places' by nothing at all.
constexpr int32_t kEnding[kBonusCount] = {0, Code(Event::SpeedBonusEnded), 0, Code(Event::TimeBarThaws),
                                          Code(Event::FastGenBonusEnded), Code(Event::MoreResourcesBonusEnded)};

int bonusOfFiringCode(int32_t code) {
  for (int i = 0; i < kBonusCount; ++i)
    if (Code(kFiring[i]) == code) return i;
  return -1;
}
}  // namespace

int bonusIndex(std::string_view name) {
  for (int i = 0; i < kBonusCount; ++i)
    if (name == kBonusNames[i]) return i;
  return -1;
}

Event bonusFiringEvent(int bonus) { return bonus >= 0 && bonus < kBonusCount ? kFiring[bonus] : Event(0); }
int32_t bonusEndingCode(int bonus) { return bonus >= 0 && bonus < kBonusCount ? kEnding[bonus] : 0; }

cBonusController::cBonusController(cEventDispatcher* dispatcher, cWorkersController* workers,
                                   const LevelBalance& balance, const char* balanceFile)
    : m_dispatcher(dispatcher), m_workers(workers), m_maxEnergy(std::max(balance.BonusMaxTime, 0)) {
  for (int i = 0; i < kBonusCount; ++i) {
    m_cost[i] = balance.waitPeriod[i];
    m_activeTimer[i] = PeriodTimer(balance.actPeriod[i], PeriodTimer::kStopped);
    if (m_cost[i] >= 1 && m_cost[i] > m_maxEnergy)
      errorLog("%s: [Bonuses] \"WaitPeriod_%s\" %d is more than \"BonusMaxTime\" %d: the bonus never becomes "
               "available\n",
               balanceFile, kBonusNames[i], m_cost[i], m_maxEnergy);
  }
  // A time stop shorter than the warning warns at once rather than after its end.
  m_warning.SetPeriod(std::max(0, balance.actPeriod[kBonusTimeStop] - kTimeStopWarningMs));
}

cBonusController::~cBonusController() {
  if (m_dispatcher) m_dispatcher->Forget(this);
}

void cBonusController::RegisterEvents() {
  for (Event e : {Event::WindowOpenedOverLevel, Event::WindowClosedOverLevel, Event::PersonBackHome,
                  Event::LevelClockStarted})
    Register(e, m_dispatcher, this);
  for (Event e : kFiring) Register(e, m_dispatcher, this);
}

void cBonusController::Post(Event code) {
  if (!m_dispatcher) return;
  GameEvent e;
  MakeEvent(e, code);
  ::Post(m_dispatcher, e);
}

bool cBonusController::IsAvailable(int bonus) const {
  return Valid(bonus) && m_energy >= double(m_cost[bonus]) && m_activeTimer[bonus].IsStopped();
}

float cBonusController::EnergyFraction() const {
  return m_maxEnergy > 0 ? float(std::clamp(m_energy / double(m_maxEnergy), 0.0, 1.0)) : 0.0f;
}

float cBonusController::CostFraction(int bonus) const {
  if (!Valid(bonus) || m_maxEnergy <= 0) return 0.0f;
  return float(std::clamp(double(m_cost[bonus]) / double(m_maxEnergy), 0.0, 1.0));
}

float cBonusController::ActiveFraction(int bonus) const {
  if (!Valid(bonus)) return 0.0f;
  const PeriodTimer& t = m_activeTimer[bonus];
  if (t.Period() <= 0) return 1.0f;
  return t.IsStopped() ? 0.0f : t.Fraction();
}

int32_t cBonusController::ReminderLeft() const {
  return m_reminder.IsStopped() ? 0 : m_reminder.Period() - m_reminder.Time();
}

bool cBonusController::Fire(int bonus) {
  if (!Offered(bonus) || !IsAvailable(bonus) || !m_dispatcher) return false;
  Post(kFiring[bonus]);
  return true;
}

void cBonusController::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  switch (e.code) {
    case Code(Event::WindowOpenedOverLevel): m_pause = 0.0f; return;
    case Code(Event::WindowClosedOverLevel): m_pause = 1.0f; return;
    case Code(Event::LevelClockStarted):
      if (!m_charging && m_energy < double(m_maxEnergy)) {
        m_energy = 0.0;
        m_charging = 1;
        m_reminder.Restart();
      }
      return;
    case Code(Event::PersonBackHome):
      // Taken back at this step's update, not here: the workers controller may be walking its
      // list of persons when one of them comes home.
      if (m_pendingRemovals > 0 && (e.typeHash == 0 || uint32_t(e.typeHash) == NameHash("Worker")))
        m_workerCameHome = 1;
      return;
    default: break;
  }
  if (const int bonus = bonusOfFiringCode(e.code); bonus >= 0) OnFired(bonus);
}

void cBonusController::OnFired(int bonus) {
  // A second firing while the period runs, or one the bar cannot pay, would spend what is not there.
  // A bonus the level does not offer is not this controller's: its event still reaches the others.
  if (!Offered(bonus)) return;
  if (!IsAvailable(bonus)) {
    gameLog("[Bonus] %s fired while not available: ignored", kBonusNames[bonus]);
    return;
  }
  Post(Event::BonusFired);
  m_reminder.Restart();
  if (bonus == kBonusWorker && m_workers) {
    // Every firing brings its own worker, even while an earlier one still waits to be taken back:
    // that one leaves when it can, and this one stays for the whole new period.
    if (m_workers->RequestWorker(false)) m_workerOwed = 1;
  }
  m_active[bonus] = 1;
  m_activeTimer[bonus].Restart();
  m_energy = std::max(0.0, m_energy - double(m_cost[bonus]));
  if (bonus == kBonusTimeStop) m_warning.Restart();
}

void cBonusController::TakeBackWorkers() {
  while (m_pendingRemovals > 0 && m_workers && m_workers->RemoveWorker()) --m_pendingRemovals;
  if (!m_workers) m_pendingRemovals = 0;
  if (m_pendingRemovals == 0 && m_activeTimer[kBonusWorker].IsStopped()) m_active[kBonusWorker] = 0;
}

void cBonusController::EndPeriod(int bonus) {
  switch (bonus) {
    case kBonusWorker:
      if (m_workerOwed) ++m_pendingRemovals;
      m_workerOwed = 0;
      TakeBackWorkers();
      return;
    case kBonusRespawn: m_active[bonus] = 0; return;
    default:
      m_active[bonus] = 0;
      Post(Event(kEnding[bonus]));
      return;
  }
}

void cBonusController::Update(int32_t ms) {
  if (ms <= 0) return;
  if (m_workerCameHome) {
    m_workerCameHome = 0;
    TakeBackWorkers();
  }
  const int32_t step = int32_t(float(ms) * m_pause);
  if (step <= 0) return;  // paused: nothing moves
  if (m_charging)
    m_energy = std::min(double(m_maxEnergy), m_energy + double(ms) * double(m_rate) * double(m_pause));
  // The warning first: its event must come before the time stop's end in the same step.
  if (m_warning.Advance(step)) Post(Event::TimeBarIceBreaks);
  for (int i = 0; i < kBonusCount; ++i)
    if (m_activeTimer[i].Advance(step)) EndPeriod(i);
  if (m_reminder.Advance(step)) Post(Event::BonusReminder);
}

}  // namespace Game
