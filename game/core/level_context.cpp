// The level context and the staged loading of a level.
#include "game/core/level_context.h"

#include <cmath>

#include "anim/anim_catalogue.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/name_hash.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_balance.h"
#include "game/core/level_files.h"
#include "game/interface/interface.h"
#include "game/interface/icons_register.h"
#include "game/objects/obstacles_register.h"
#include "game/objects/map_effect.h"
#include "game/objects/building.h"
#include "game/objects/production_register.h"
#include "game/menus/screens.h"
#include "sound/sound.h"

namespace Game {
namespace {
std::unique_ptr<LevelContext> g_level;

// Stages before the map steps and after them.
constexpr int32_t kFirstMapStage = 7;
}  // namespace

LevelContext::~LevelContext() {
  // The view goes first: on screen it is destroyed after the step, so it must let go of what
  // dies here now.
  if (view) {
    view->Detach();
    if (UIWnd* screen = view->Parent()) screen->RemoveChild(view);
    view = nullptr;
  }
  viewOwned.reset();
  // Objects leave the dispatcher before it goes; the map before the arena that holds them.
  model.reset();
  queue.reset();
  bonuses.reset();  // it calls the workers controller
  workers.reset();
  allGoals.reset();
  sounds.reset();
  goals.reset();
  if (map) map->Clear();
  fog.reset();
  if (Map::objectFactory()) {
    Map::objectFactory()->EndLevel();
    if (dispatcher) Map::objectFactory()->SetDispatcher(nullptr);
  }
  if (eventDispatcher() == dispatcher.get()) eventSetDispatcher(nullptr);
  // Instances still playing finish; only the level's templates go.
  if (gameSoundsLoaded) sndFreeScript(kGameSoundsScript);
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
  // After the balance: a goal the level's stock can never hold is refused at once.
  c.goals = std::make_unique<Task::cLevelTaskContainer>();
  c.goals->Load(levelTaskPath(n).c_str(), n);
  c.binary = testSetting(TestSwitch::Game_No_Binary_Load) == 0;
  c.arena = std::make_unique<Map::cObjectArena>();
  c.map = std::make_unique<Map::cMap>();
  c.pathFinder = std::make_unique<cPathFinder>();
  c.pathFinder->SetClock(gameClock);
  c.loader = std::make_unique<cMapLoader>();
  if (!Map::objectFactory()) Map::objectFactoryCreate();
  Map::personRegisterClass(*Map::objectFactory());
  Map::productionRegisterClasses(*Map::objectFactory());
  Map::buildingRegisterClasses(*Map::objectFactory());
  Map::obstaclesRegisterClasses(*Map::objectFactory());
  Map::mapEffectRegisterClasses(*Map::objectFactory());
  Icon::iconsRegisterClasses(*Map::objectFactory());
  if (!c.loader->Begin(levelFolder(n), c.binary, *c.map, *c.pathFinder, *Map::objectFactory())) {
    c.failed = true;
    return false;
  }
  c.mapSteps = c.loader->StepCount();
  return true;
}

int32_t LoadLevelStageCount() { return g_level ? g_level->mapSteps - 3 + 11 : 0; }

// The workers' pictures of a level are the animation group "skin<n>". A level with the same skin as
// the previous one keeps it loaded; another skin releases the old group first.
void levelUseSkinGroup(int32_t skin) {
  static std::string loaded;
  std::string group = "skin" + std::to_string(skin);
  if (group == loaded) return;
  Core::cAnimationManager& anims = Core::animManager();
  if (!loaded.empty()) anims.UnloadAnimationGroup(loaded);
  anims.LoadAnimationGroup(group);
  loaded = group;
}

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
    levelUseSkinGroup(c.skinGroup);
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
    c.workers = std::make_unique<cWorkersController>(c.dispatcher.get(), c.map.get(), c.pathFinder.get(),
                                                     c.stock.get(), &factory);
    c.workers->SetSkin(c.skinGroup);
    c.queue = std::make_unique<cOperationsQueue>(c.dispatcher.get(), c.map.get(), c.workers.get());
    c.bonuses = std::make_unique<cBonusController>(c.dispatcher.get(), c.workers.get(), b,
                                                   levelBalancePath(n).c_str());
    cWorkersController* workers = c.workers.get();
    cOperationsQueue* queue = c.queue.get();
    cBonusController* bonuses = c.bonuses.get();
    c.model->SetWorkersCount([workers] { return workers->PersonCount(); });
    c.model->SetReleaseWaitingWorkers([workers] { return workers->ReleaseGreeting(); });
    Task::cLevelTaskContainer* goals = c.goals.get();
    c.model->SetStepHook([workers, bonuses, queue, goals](int32_t ms) {
      workers->Update(ms);
      bonuses->Update(ms);
      queue->Update(ms);
      goals->Update(ms);
    });
    c.model->SetClickHook([queue](Map::cObject& o) {
      // A second click on a queued subject cancels its order.
      if (queue->Contains(o.id))
        queue->Cancel(o.id);
      else if (o.Click(true))
        queue->Enqueue(o.id, false);
    });
    c.model->SetEnqueueHook([queue](int32_t id) { queue->Enqueue(id, false); });
    c.viewOwned = std::make_unique<cGameView>(&c);
    c.view = c.viewOwned.get();
    c.view->SetInterface(new Interface::UIInterface());
  } else if (stage == 3) {
    c.goals->Prepare(Task::TaskLevel{c.dispatcher.get(), c.stock.get(), c.map.get()});
    c.allGoals = std::make_unique<cAllTaskCompletedController>(c.dispatcher.get());
    c.model->SetAllGoals(c.allGoals.get());
    cWorkersController* workers = c.workers.get();
    cOperationsQueue* queue = c.queue.get();
    Map::cMap* map = c.map.get();
    c.allGoals->SetOnWon([workers, queue] {
      workers->LevelWon();
      queue->ClearSelection();
    });
    c.allGoals->SetOnGather([workers, queue, map](int32_t tag) {
      queue->ClearSelection();
      // Everyone leaves their work to gather: the buildings' work animations stop.
      for (size_t i = 0; i < map->Count(); ++i)
        if (auto* b = dynamic_cast<Map::cBuilding*>(map->At(i))) b->StopWorkAnimation();
      if (Map::cObject* o = map->FindByTag(uint32_t(tag))) workers->GatherAt(o->id);
    });
  } else if (stage == 4) {
    c.sounds = std::make_unique<cSoundsController>(c.dispatcher.get());
    c.sounds->LoadAmbient(levelSoundsPath(n));
    c.model->SetSounds(c.sounds.get());
    sndLoadScript(kGameSoundsScript);
    c.gameSoundsLoaded = true;
  } else if (stage == 6) {
    c.model->RegisterEvents();
    c.allGoals->RegisterEvents();
    c.fog = std::make_unique<Map::cFog>();
    // Hidden from the start on a level without fog, so nothing on its map ever finds a point fogged.
    c.fog->SetHidden(levelBalance().bIsFog == 0);
    c.fog->RegisterEvents(c.dispatcher.get());
    c.map->Add(c.fog.get());
    Map::cFog* fog = c.fog.get();
    c.loader->SetOnFogRead([fog, n](const MapFog* opacities) { fog->LoadLevelFog(n, opacities); });
    c.goals->RegisterEvents();
    c.sounds->RegisterEvents();
    c.workers->RegisterEvents();
    c.queue->RegisterEvents();
    c.bonuses->RegisterEvents();
    c.view->RegisterEvents();
  } else if (stage >= kFirstMapStage && stage < kFirstMapStage + c.mapSteps) {
    if (stage == kFirstMapStage) {
      c.workerSpeed = levelCheckedWorkerSpeed("data/balance.ini");
      Map::personSetBaseSpeed(c.workerSpeed);
    }
    if (!c.loader->Step(stage - kFirstMapStage)) {
      c.failed = true;
      return false;
    }
    // The opacities came in the step itself, before the map's post-load.
    if (stage == kFirstMapStage + c.mapSteps - 1 && c.fog) c.fog->SetAreaCount(c.map->FogAreaCount());
    if (stage == kFirstMapStage + objects && testSetting(TestSwitch::Game_Dump_Map_Statistics))
      gameLog("[cMap]objects amount -- %d\n", int(c.map->Count()));
  } else if (stage == last) {
    c.workers->SetLevel(n);
    for (int32_t i = 0; i < levelBalance().resources[kWorker]; ++i) c.workers->RequestWorker(true);
    if (Map::cObject* start = c.map->FindByTag(NameHash("WorkerStart"))) {
      Map::IntPoint at{int32_t(start->x), int32_t(start->y)};
      if (!c.workers->CreatePerson(at, "Worker", -1)) c.workers->RequestWorker(true);
    }
    c.allGoals->SetLevel(n);
    c.view->LevelStart();
    if (Interface::UIInterface* ui = c.view->interfaceWnd()) ui->LevelStart(&c);
    c.model->StartLevel(c.gameMode, n);
    if (c.fog && !c.fog->Has(Map::kFlagHidden)) Map::fogOpenStartAreas(*c.map);
  }
  return true;
}

bool LoadLevel(int32_t n, int32_t mode) {
  if (!PrepareLevel(n, mode)) return false;
  int32_t count = LoadLevelStageCount();
  for (int32_t i = 0; i < count; ++i)
    if (!LoadLevelStage(n, i)) return false;
  levelShowView();
  return true;
}

void levelShowView() {
  if (!g_level || !g_level->viewOwned || !wndRoot()) return;
  Menu::ShowScreen(g_level->viewOwned.release());
}

void EndLevel() { g_level.reset(); }

}  // namespace Game
