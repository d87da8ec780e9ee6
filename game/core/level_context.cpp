// The level context and the staged loading of a level.
#include "game/core/level_context.h"

#include <cmath>

#include "base/diag.h"
#include "files/file.h"
#include "game/core/game_main.h"
#include "game/core/level_balance.h"
#include "game/core/level_files.h"

namespace Game {
namespace {
std::unique_ptr<LevelContext> g_level;

// Stages before the map steps and after them.
constexpr int32_t kFirstMapStage = 7;
}  // namespace

LevelContext::~LevelContext() {
  // Objects leave the dispatcher before it goes; the map before the arena that holds them.
  model.reset();
  allGoals.reset();
  if (map) map->Clear();
  if (Map::objectFactory()) {
    Map::objectFactory()->EndLevel();
    if (dispatcher) Map::objectFactory()->SetDispatcher(nullptr);
  }
  if (eventDispatcher() == dispatcher.get()) eventSetDispatcher(nullptr);
}

LevelContext* levelContext() { return g_level.get(); }

void levelCheckBalance(const std::string& path, LevelBalance& b) {
  if (b.tLevelTime <= 0) {
    errorLog("%s: [Main] \"tLevelTime\" %d would lose the level at once; %d is used\n", path.c_str(), b.tLevelTime,
             kDefaultLevelTimeMs);
    b.tLevelTime = kDefaultLevelTimeMs;
  }
  if (b.MinuteTime <= 0) {
    errorLog("%s: [Main] \"MinuteTime\" %d would end a game minute every step; %d is used\n", path.c_str(),
             b.MinuteTime, kDefaultMinuteTimeMs);
    b.MinuteTime = kDefaultMinuteTimeMs;
  }
}

float levelCheckedWorkerSpeed(const std::string& path) {
  float v = balanceWorkerSpeed(path.c_str());
  if (!(v > 0.0f) || !std::isfinite(v)) {
    errorLog("%s: [Worker] \"vel\" %g leaves every person standing; %g is used\n", path.c_str(), double(v),
             double(kDefaultWorkerSpeed));
    return kDefaultWorkerSpeed;
  }
  return v;
}

bool PrepareLevel(int32_t n, int32_t mode) {
  EndLevel();
  g_level = std::make_unique<LevelContext>();
  LevelContext& c = *g_level;
  c.levelNumber = n;
  c.gameMode = mode;
  std::string balancePath = levelBalancePath(n);
  balanceLoad(balancePath.c_str());
  levelCheckBalance(balancePath, levelBalance());
  std::string testPath = levelTestPath(n);
  if (fileExists(testPath.c_str())) testSettingsLoad(testPath.c_str());
  c.binary = testSetting(TestSwitch::Game_No_Binary_Load) == 0;
  c.arena = std::make_unique<Map::cObjectArena>();
  c.map = std::make_unique<Map::cMap>();
  c.pathFinder = std::make_unique<cPathFinder>();
  c.pathFinder->SetClock(gameClock);
  c.loader = std::make_unique<cMapLoader>();
  if (!Map::objectFactory()) Map::objectFactoryCreate();
  if (!c.loader->Begin(levelFolder(n), c.binary, *c.map, *c.pathFinder, *Map::objectFactory())) {
    c.failed = true;
    return false;
  }
  c.mapSteps = c.loader->StepCount();
  return true;
}

int32_t LoadLevelStageCount() { return g_level ? g_level->mapSteps - 3 + 11 : 0; }

bool LoadLevelStage(int32_t n, int32_t stage) {
  if (!g_level || g_level->failed || g_level->levelNumber != n) return false;
  LevelContext& c = *g_level;
  const int32_t objects = c.mapSteps - 3;
  const int32_t last = objects + 10;
  Map::cObjectFactory& factory = *Map::objectFactory();
  if (stage < 0 || stage > last) return false;
  if (stage == 0) {
    factory.BeginLevel(c.arena.get());
  } else if (stage == 1) {
    c.dispatcher = std::make_unique<cEventDispatcher>();
    eventSetDispatcher(c.dispatcher.get());
    factory.SetDispatcher(c.dispatcher.get());
    c.map->SetDispatcher(c.dispatcher.get());
    c.stock = std::make_unique<PlayerStock>(c.dispatcher.get());
    c.skinGroup = levelBalance().iWorkersSkin + 1;
  } else if (stage == 2) {
    const LevelBalance& b = levelBalance();
    bool many = testSetting(TestSwitch::Game_Many_Resources) != 0;
    c.stock->SetUnlimited(many);
    for (int r = kFood; r <= kGold; ++r) {
      if (many)
        c.stock->AddResource(r, 500, false);
      else if (b.resources[r] > 0)
        c.stock->AddResource(r, b.resources[r], false);
      if (b.harvest[r] == 0) c.stock->SetEnabled(r, false);
    }
    c.model = std::make_unique<cGameModel>(c.dispatcher.get(), c.stock.get(), c.map.get());
  } else if (stage == 3) {
    c.allGoals = std::make_unique<cAllTaskCompletedController>(c.dispatcher.get());
    c.model->SetAllGoals(c.allGoals.get());
  } else if (stage == 6) {
    c.model->RegisterEvents();
    c.allGoals->RegisterEvents();
  } else if (stage >= kFirstMapStage && stage < kFirstMapStage + c.mapSteps) {
    if (stage == kFirstMapStage) c.workerSpeed = levelCheckedWorkerSpeed("data/balance.ini");
    if (!c.loader->Step(stage - kFirstMapStage)) {
      c.failed = true;
      return false;
    }
    if (stage == kFirstMapStage + objects && testSetting(TestSwitch::Game_Dump_Map_Statistics))
      gameLog("[cMap]objects amount -- %d\n", int(c.map->Count()));
  } else if (stage == last) {
    c.workersRequested = levelBalance().resources[kWorker];
    c.allGoals->SetLevel(n);
    c.model->StartLevel(c.gameMode, n);
  }
  return true;
}

bool LoadLevel(int32_t n, int32_t mode) {
  if (!PrepareLevel(n, mode)) return false;
  int32_t count = LoadLevelStageCount();
  for (int32_t i = 0; i < count; ++i)
    if (!LoadLevelStage(n, i)) return false;
  return true;
}

void EndLevel() { g_level.reset(); }

}  // namespace Game
