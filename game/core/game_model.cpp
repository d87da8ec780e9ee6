// The rules engine of one running level.
#include "game/core/game_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "files/text.h"
#include "game/core/fog.h"
#include "game/core/game_main.h"
#include "game/core/level_balance.h"
#include "game/core/map.h"
#include "game/objects/scenery_creature.h"
#include "game/core/model_flying.h"
#include "game/core/player_stock.h"
#include "game/rules/achievements.h"
#include "game/core/sounds_controller.h"
#include "anim/fx_manager.h"
#include "sound/sound.h"

namespace Game {
namespace {
constexpr const char* kModeNames[3] = {"Normal", "Multiclick", "NoTime"};

// The events the model listens to.
constexpr int32_t kModelEvents[] = {2,  6,  13, 18, 19, 27, 29, 30, 33,  38,  40,  45,  55,  57,  59,  60,  69,
                                    70, 73, 74, 76, 77, 78, 79, 80, 82,  84,  88,  92,  93,  97,  99,  100, 102,
                                    103, 104, 105, 106, 107, 108, 109, 111, 112, 113, 114, 115, 116, 117, 118,
                                    120, 121, 128, 129};
}  // namespace

int32_t gameModeFind(std::string_view name) {
  for (int32_t i = 0; i < 3; ++i) {
    std::string_view m = kModeNames[i];
    if (textEqualNoCase(m, name)) return i;
  }
  return kModeUnknown;
}

const char* gameModeName(int32_t mode) { return mode >= 0 && mode < 3 ? kModeNames[mode] : ""; }
std::string gameModeTextKey(int32_t mode) { return std::string("#GAMEMODE_") + gameModeName(mode); }

bool levelIsBonus(int32_t n) { return n > 0 && n % 16 == 0; }
int32_t levelDisplayNumber(int32_t n) { return n - n / 16; }
const char* levelNameKey(int32_t n) { return levelIsBonus(n) ? "#BONUS_LEVEL" : "#LEVEL"; }

bool levelHasStory(int32_t n) {
  static constexpr int32_t kStory[] = {3, 6, 15, 18, 19, 21, 22, 27, 31, 36, 47};
  return std::find(std::begin(kStory), std::end(kStory), n) != std::end(kStory);
}

bool Countdown::Advance(float ms) {
  if (!running || ms <= 0.0f) return false;
  // Rates below one would lose every step to rounding; the rest is carried to the next advance.
  float whole = std::floor(ms + m_fraction);
  m_fraction = ms + m_fraction - whole;
  remaining -= int32_t(whole);
  if (remaining > 0) return false;
  remaining = 0;
  running = false;
  m_fraction = 0.0f;
  return true;
}

cGameModel::cGameModel(cEventDispatcher* dispatcher, PlayerStock* stock, Map::cMap* map)
    : m_dispatcher(dispatcher), m_stock(stock), m_map(map), m_score(dispatcher), m_timePhases(dispatcher) {}

cGameModel::~cGameModel() {
  if (m_dispatcher) m_dispatcher->Forget(this);
}

void cGameModel::RegisterEvents() {
  for (int32_t code : kModelEvents) Register(code, m_dispatcher, this);
}

void cGameModel::PostSimple(Event code, int32_t value) {
  if (!m_dispatcher) return;
  GameEvent e;
  MakeEvent(e, code);
  e.value = value;
  Post(m_dispatcher, e);
}

void cGameModel::StartLevel(int32_t mode, int32_t levelNumber) {
  m_gameMode = mode;
  m_levelNumber = levelNumber;
  m_levelTimer = Countdown{};
  m_levelTimer.Load(levelBalance().tLevelTime);
  // Read at every level start (through the INI cache), so the values always match the data folder
  // the level comes from.
  m_score.Begin(scoreTableRead("data/scores.ini"));
  m_timePhases.Begin(LevelTimes{levelBalance().tLevelTime, levelBalance().tGoldTime, levelBalance().tSilverTime});
  if (Map::cFog* fog = Map::levelFog()) fog->SetHidden(levelBalance().bIsFog == 0);
  Map::sceneryCreatureSoundReset();
  m_phase = (m_workersCount && m_workersCount() > 0) ? Phase::Ready : Phase::Waiting;
  PostSimple(Event::LevelStarted, levelNumber);
  if (levelHasStory(levelNumber)) PostSimple(Event::StoryLevelStarted, levelNumber);
}

int cGameModel::Update(int32_t ms) {
  if (m_phase == Phase::Created) return 0;
  if (m_minuteTimer.Advance(float(ms) * m_minuteRate * m_timeScale)) {
    PostSimple(Event::GameMinutePassed);
    m_minuteTimer.Start(levelBalance().MinuteTime);
  }
  if (m_phase == Phase::Finishing) {
    if (m_map) m_map->UpdateAll(ms);
    if (m_sounds) m_sounds->Update(ms);
    FxManager::fxManager().UpdateFireWorks(float(ms));
    if (m_finishTimer.Advance(float(ms)) || (!m_finishTimer.running && m_finishTimer.remaining == 0)) {
      // The finale starts once, at the step the result is handed over.
      if (m_won && !m_finaleStarted) {
        m_finaleStarted = 1;
        FxManager::fxManager().StartFireWorks();
      }
      return 2;
    }
    return 0;
  }
  if (m_levelTimer.Advance(float(ms) * m_levelRate * m_timeScale) && testSetting(TestSwitch::Game_No_Time) == 0) {
    Lose();
    return 0;
  }
  if (m_levelTimer.running) m_timePhases.Update(m_levelTimer.remaining);
  if (m_map) {
    m_map->UpdateAllAnimations(ms);
    m_map->UpdateAndSweep(ms);
  }
  Map::sceneryCreatureSoundTick(ms);
  if (m_allGoals && m_allGoals->active()) m_allGoals->Advance(ms);
  if (m_stepHook) m_stepHook(ms);
  if (m_sounds) m_sounds->Update(ms);
  FxManager::fxManager().UpdateFireWorks(float(ms));
  if (m_phase == Phase::Waiting && m_workersCount && m_workersCount() > 0) {
    PostSimple(Event::FirstWorkerAvailable);
    m_phase = Phase::Ready;
  }
  bool finishOver = m_finishTimer.Advance(float(ms));
  if (m_phase == Phase::GoalsMet && finishOver) {
    m_phase = Phase::Finishing;
    ComputeResult(true);
    m_finishTimer.Start(kFinishAfterWinMs);
    return 1;
  }
  return 0;
}

void cGameModel::StartClock() {
  if (!m_minuteTimer.running) m_minuteTimer.Start(levelBalance().MinuteTime);
  m_minuteRate = m_levelRate = 1.0f;
  int released = 0;
  if (m_phase == Phase::Waiting && m_releaseWaiting) released = m_releaseWaiting();
  if (m_phase == Phase::Ready || (m_phase == Phase::Waiting && released > 0)) {
    if (m_gameMode != kModeNoTime) m_levelTimer.running = true;
    PostSimple(Event::LevelClockStarted);
    m_phase = Phase::Running;
  }
}

void cGameModel::HoverLeaveAll(int32_t exceptId) {
  if (!m_map) return;
  for (size_t i = 0; i < m_map->Count(); ++i) {
    Map::cObject* o = m_map->At(i);
    if (o->id == exceptId || !(o->flags & Map::kFlagPointerOver)) continue;
    o->flags &= ~Map::kFlagPointerOver;
    o->HoverLeave();
  }
}

void cGameModel::GoalsMet() {
  // Only a level in play can be won; a repeated event must not restart the finish delay.
  if (m_phase != Phase::Waiting && m_phase != Phase::Ready && m_phase != Phase::Running) return;
  m_minuteTimer.Stop();
  // The level clock stops here: the finish delay is not playing time, and a win in the level's
  // last second must not run out into a loss.
  m_levelTimer.Stop();
  m_timeUsed = m_levelTimer.total - m_levelTimer.remaining;
  HoverLeaveAll(Map::kNoId);
  PostSimple(Event::GamePlayFinished);
  m_phase = Phase::GoalsMet;
  m_finishTimer = Countdown{};
  m_finishTimer.Start(m_allGoals ? m_allGoals->finishDelay() : kDefaultFinishDelayMs);
  sndPlayMusic("OnLevelDone", 0, 1, nullptr);
}

void cGameModel::Lose() {
  if (m_phase == Phase::Finishing || m_phase == Phase::Created) return;
  PostSimple(Event::GamePlayFinished);
  AddFlyingWitch();
  PostSimple(Event::GameOver);
  m_levelTimer.Stop();
  if (m_phase != Phase::GoalsMet) m_timeUsed = m_levelTimer.total - m_levelTimer.remaining;
  ComputeResult(false);
  m_minuteTimer.Stop();
  m_finishTimer = Countdown{};
  m_finishTimer.Start(kFinishAfterLossMs);
  m_phase = Phase::Finishing;
  sndPlayMusic("musicWitch", 0, 1, nullptr);
}

void cGameModel::ComputeResult(bool won) {
  if (m_resultDone) return;
  m_resultDone = 1;
  m_won = won ? 1 : 0;
  const LevelBalance& b = levelBalance();
  int32_t stock[4] = {};
  for (int i = 0; i < 4; ++i) stock[i] = m_stock ? m_stock->Amount(i) : 0;
  // The time used was fixed when play stopped; the clock's rest is what the bonus counts.
  const int32_t remaining = m_levelTimer.total - m_timeUsed;
  m_result = scoreComputeResult(won, m_gameMode == kModeNoTime, LevelTimes{b.tLevelTime, b.tGoldTime, b.tSilverTime},
                                remaining, stock, m_score.score(), m_score.values());
  m_stars = m_result.stars;
  m_scoreBonusSeconds = m_result.bonusSeconds;
  PostSimple(Event::LevelResultComputed, m_stars);
}

void cGameModel::OnAction(const ModelAction& a) {
  bool inPlay = m_phase == Phase::Ready || m_phase == Phase::Running;
  bool beforeFinish = m_phase == Phase::Waiting || inPlay || m_phase == Phase::GoalsMet;
  switch (a.code) {
    case 1:
      StartClock();
      break;
    case 2:
    case 3:
      if (inPlay && m_map) {
        if (Map::cObject* o = m_map->FindById(a.objectId)) {
          if (m_onClick)
            m_onClick(*o);
          else
            o->Click(true);
        }
      }
      break;
    case 5:
      if (inPlay && m_map) {
        if (Map::cObject* o = m_map->FindById(a.objectId)) {
          HoverLeaveAll(o->id);
          if (!(o->flags & Map::kFlagPointerOver) && o->HoverEnter()) o->flags |= Map::kFlagPointerOver;
        }
      }
      break;
    case 6:
      if (inPlay) HoverLeaveAll(Map::kNoId);
      break;
    case 7:
      // Goals met and lost act once: after Finishing the result is already computed.
      if (beforeFinish) PostSimple(Event::AllGoalsCompleted, 1);  // 1: forced, not earned
      break;
    case 10:
      if (beforeFinish) Lose();
      break;
    case 12:
      // The typed test word: the next achievement is earned and announced as in play.
      if (cAchievementTable* t = achievementTable()) t->GrantTest();
      break;
    default:
      break;
  }
}

void cGameModel::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  m_score.OnEvent(e);
  if (cAchievementTable* t = achievementTable()) t->OnEvent(e);
  modelFlyingMessageFor(m_map, e);
  switch (e.code) {
    case Code(Event::AllGoalsCompleted): GoalsMet(); break;
    case Code(Event::WindowOpenedOverLevel): m_timeScale = 0.0f; break;
    case Code(Event::WindowClosedOverLevel): m_timeScale = 1.0f; break;
    case Code(Event::TimeBarFreezes): m_levelRate = 0.0f; break;
    case Code(Event::TimeBarThaws): m_levelRate = 1.0f; break;
    case Code(Event::IconUsed): OnDropped(e.objectId, e.otherId); break;
    case Code(Event::NoPathToSubject): PointAtBlocker(e.objectId); break;
    case Code(Event::NoPersonOfKind): PointAtHut(uint32_t(e.value)); break;
    case Code(Event::ResourceAdded):
      if (e.index >= 0 && e.index < 4) m_resourceTouched[e.index] = 1;
      break;
    default: break;
  }
}

cAllTaskCompletedController::cAllTaskCompletedController(cEventDispatcher* dispatcher) : m_dispatcher(dispatcher) {}

void cAllTaskCompletedController::RegisterEvents() {
  for (int32_t code : {2, 6, 7, 13, 63}) Register(code, m_dispatcher, this);
}

void cAllTaskCompletedController::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  if (e.code == Code(Event::AllGoalsCompleted) && !m_active) {
    m_celebration.Start(kCelebrationMs);
    if (m_onWon) m_onWon();
    m_active = 1;
  } else if (e.code == Code(Event::EvilSmokeFinished)) {
    if (m_onGather) m_onGather(e.tag);
  }
}

}  // namespace Game
