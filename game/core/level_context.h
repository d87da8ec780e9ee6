// The level context: the one owner of every object that lives for one level (map, path finder,
// arena, dispatcher, stock, model, controllers), and the staged loading and ending of a level.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "game/core/events.h"
#include "game/core/fog.h"
#include "game/core/game_model.h"
#include "game/core/level_balance.h"
#include "game/core/map.h"
#include "game/core/map_factory.h"
#include "game/core/map_loader.h"
#include "game/core/path_finder.h"
#include "game/core/player_stock.h"
#include "game/core/sounds_controller.h"
#include "game/core/workers.h"
#include "game/rules/bonus_controller.h"
#include "game/rules/task_container.h"

namespace Game {
class cGameView;

// Values used when a level's balance would make it unplayable (reported in gerr.log).
constexpr int32_t kDefaultLevelTimeMs = 600000;
constexpr int32_t kDefaultMinuteTimeMs = 60000;
constexpr float kDefaultWorkerSpeed = 0.1f;  // pixels per millisecond
// The sound script of the game's event sounds, loaded while a level runs.
constexpr const char* kGameSoundsScript = "data/snd/gameSounds.ini";

struct LevelContext {
  int32_t levelNumber = 0;
  int32_t gameMode = kModeNormal;
  bool binary = true;
  int32_t mapSteps = 0;        // N + 3
  float workerSpeed = kDefaultWorkerSpeed;
  int32_t skinGroup = 0;       // iWorkersSkin + 1
  bool failed = false;         // the map could not be read; the level cannot start

  // Created before the stages (the loader counts the objects), used from stage 0. The goals are
  // read before the stages too, and bound to the level at stage 3.
  std::unique_ptr<Task::cLevelTaskContainer> goals;
  std::unique_ptr<Map::cObjectArena> arena;
  std::unique_ptr<Map::cMap> map;
  std::unique_ptr<cPathFinder> pathFinder;
  std::unique_ptr<cMapLoader> loader;
  // Stage 1.
  std::unique_ptr<cEventDispatcher> dispatcher;
  std::unique_ptr<PlayerStock> stock;
  // Stage 2 and 3.
  std::unique_ptr<cGameModel> model;
  std::unique_ptr<cWorkersController> workers;
  std::unique_ptr<cOperationsQueue> queue;
  std::unique_ptr<cAllTaskCompletedController> allGoals;
  // Stage 4: the sounds controller, with the game sounds' script loaded for the level.
  std::unique_ptr<cSoundsController> sounds;
  bool gameSoundsLoaded = false;
  std::unique_ptr<cBonusController> bonuses;
  // Stage 2: the game view. The context owns it until it goes on screen (levelShowView); then
  // the root window does, and the level's end takes it off the screen.
  std::unique_ptr<cGameView> viewOwned;
  cGameView* view = nullptr;
  // Stage 6: the level's fog of war, on the map from then on (the map never destroys it); its
  // opacities come at the map's last load step.
  std::unique_ptr<Map::cFog> fog;

  ~LevelContext();
};

// Loads the workers' animation group "skin<n>" (the level's "iWorkersSkin" + 1), releasing the
// group of the previous level when it differs.
void levelUseSkinGroup(int32_t skin);

// The running level's context, or null between levels.
LevelContext* levelContext();

// Checks the balance values a level cannot be played with and replaces each with its default,
// naming the file and the key in gerr.log.
void levelCheckBalance(const std::string& balancePath, LevelBalance& b);
float levelCheckedWorkerSpeed(const std::string& path);

// Before stage 0: balance, the level folder's test.ini, the map opened and its objects counted.
// Ends any level still running. False when the level cannot load (reported in gerr.log).
bool PrepareLevel(int32_t n, int32_t mode = kModeNormal);
// N + 11 for the prepared level.
int32_t LoadLevelStageCount();
// One stage (0 to N + 10); false when the map cannot be read further.
bool LoadLevelStage(int32_t n, int32_t stage);
// PrepareLevel, then every stage in a row, then the game view becomes the only screen.
bool LoadLevel(int32_t n, int32_t mode = kModeNormal);
// Puts the loaded level's game view on screen as the root window's only child (when there is a
// root window).
void levelShowView();
// Destroys the level context and everything it owns.
void EndLevel();

}  // namespace Game
