// Test support: a whole level run headless.
#include "game_harness.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/diag.h"
#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/level_files.h"
#include "game/core/map_factory.h"
#include "level_harness.h"

namespace testkit {

bool WriteTestLevel(int n, const LevelFiles& f, std::string* error) {
  std::string folder = levelFolder(n);
  std::filesystem::create_directories(folder);
  std::filesystem::remove(folder + "/test.ini");
  { std::ofstream(folder + "/balance.ini", std::ios::binary) << f.balance; }
  if (!f.test.empty()) std::ofstream(folder + "/test.ini", std::ios::binary) << f.test;
  return WriteLevelFolder(folder, f.map, f.grid, error, true);
}

GameHarness::~GameHarness() {
  if (Game::levelContext() && Game::levelContext()->dispatcher) Game::levelContext()->dispatcher->Forget(this);
  Game::EndLevel();
}

bool GameHarness::Load(int n, int mode) {
  m_events.clear();
  m_clock = 0;
  gameSetClock(0);
  // The run's object factory keeps child scripts by file name; a test's level may come from
  // another folder than the one before, so it starts with a fresh factory.
  Game::EndLevel();
  Map::objectFactoryDestroy();
  if (!Game::PrepareLevel(n, mode)) return false;
  m_stages = Game::LoadLevelStageCount();
  for (int i = 0; i < m_stages; ++i) {
    if (!Game::LoadLevelStage(n, i)) return false;
    if (i == 1)
      for (int code = 0; code < kEventCodeCount; ++code) Register(code, Game::levelContext()->dispatcher.get(), this);
  }
  return true;
}

void GameHarness::Action(int code, int objectId) {
  Game::ModelAction a;
  a.code = code;
  a.objectId = objectId;
  model().OnAction(a);
}

int GameHarness::Advance(int steps, int ms) {
  int last = 0;
  for (int i = 0; i < steps; ++i) {
    m_clock += ms;
    gameSetClock(m_clock);
    int r = model().Update(ms);
    if (r) last = r;
  }
  return last;
}

int GameHarness::AdvanceUntilResult(int maxSteps, int* ran) {
  for (int i = 0; i < maxSteps; ++i) {
    int r = Advance(1);
    if (r) {
      if (ran) *ran = i + 1;
      return r;
    }
  }
  if (ran) *ran = maxSteps;
  return 0;
}

int GameHarness::CountOf(Game::Event code) const {
  int n = 0;
  for (const GameEvent& e : m_events) n += e.code == Game::Code(code);
  return n;
}

const GameEvent* GameHarness::Last(Game::Event code) const {
  for (auto it = m_events.rbegin(); it != m_events.rend(); ++it)
    if (it->code == Game::Code(code)) return &*it;
  return nullptr;
}

std::string ReadErrorLog() {
  errorLogClose();
  std::ifstream in("gerr.log", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace testkit
