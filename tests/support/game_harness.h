// Test support: a whole level run headless, as the game runs it (staged loading, the model, the
// stock), with a manual clock, the null renderer and no sound. Tests write small levels into the
// scratch folder, post the player's actions, advance steps and read phase, stock and the events.
#pragma once
#include <string>
#include <vector>

#include "game/core/events.h"
#include "game/core/game_model.h"
#include "game/core/level_context.h"

namespace testkit {

// A test level's files under "dataTest/maps/<n>" (n above 99) in the current folder. Empty texts
// leave the file out; the map is compiled to map.bin as well.
struct LevelFiles {
  std::string balance;
  std::string map;  // map.ini text; empty means a map without objects
  std::string test;  // the level's own test.ini
  std::vector<std::string> grid;
};
bool WriteTestLevel(int n, const LevelFiles& files, std::string* error = nullptr);

class GameHarness : public Game::cObserver {
 public:
  GameHarness() = default;
  ~GameHarness() override;

  // Loads level n through every stage; records every event posted from stage 1 on.
  bool Load(int n, int mode = Game::kModeNormal);
  int Stages() const { return m_stages; }


  void Action(int code, int objectId = -1);
  // Runs `steps` update steps of `ms`; returns the last nonzero result of Update (0 if none).
  int Advance(int steps, int ms = 25);
  // Steps until Update returns nonzero or `maxSteps` ran; the result, and the steps run in `ran`.
  int AdvanceUntilResult(int maxSteps, int* ran = nullptr);

  Game::cGameModel& model() const { return *Game::levelContext()->model; }
  Game::PlayerStock& stock() const { return *Game::levelContext()->stock; }
  Game::cWorkersController& workers() const { return *Game::levelContext()->workers; }
  Game::cOperationsQueue& queue() const { return *Game::levelContext()->queue; }
  Map::cMap& map() const { return *Game::levelContext()->map; }
  cPathFinder& path() const { return *Game::levelContext()->pathFinder; }
  Game::Phase phase() const { return model().phase(); }
  int32_t clock() const { return m_clock; }

  const std::vector<GameEvent>& events() const { return m_events; }
  int CountOf(Game::Event code) const;
  const GameEvent* Last(Game::Event code) const;
  void ClearEvents() { m_events.clear(); }
  void OnEvent(GameEvent& e) override { m_events.push_back(e); }

 private:
  std::vector<GameEvent> m_events;
  int m_stages = 0;
  int32_t m_clock = 0;
};

// The text of gerr.log in the current folder (closing it first).
std::string ReadErrorLog();

}  // namespace testkit
