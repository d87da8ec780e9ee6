// Helper of the building and production tests: a test level written and loaded with one worker
// made at the barn's door, ready for the player's orders.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "game/core/workers.h"
#include "support/game_harness.h"
#include "support/level_harness.h"

namespace gametest {
// Writes level n from `f`, loads it, makes one worker at (100, 400) and steps once; false (with a
// failure naming the reason where there is one) unless the level is then ready for orders.
inline bool startWithWorker(testkit::GameHarness& h, int n, const testkit::LevelFiles& f) {
  std::string error;
  if (!testkit::WriteTestLevel(n, f, &error)) {
    ADD_FAILURE() << error;
    return false;
  }
  if (!h.Load(n)) return false;
  if (!h.workers().CreatePerson({100, 400}, "Worker", -1)) return false;
  h.Advance(1);
  return h.phase() == Game::Phase::Ready;
}
}  // namespace gametest
