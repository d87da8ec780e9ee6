// The demo level run headless twice with the same seed and the same actions writes the same game
// log, random draws included.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/diag.h"
#include "files/ini.h"
#include "game/core/game_main.h"
#include "game/core/random.h"
#include "support/game_harness.h"

namespace {
std::string runDemo(const char* logPath) {
  EXPECT_TRUE(gameLogOpen(logPath));
  SeedRandom(4242);
  {
    testkit::GameHarness h;
    EXPECT_TRUE(h.Load(1));
    h.Advance(100);  // the workers greet and go home
    h.Action(1);
    h.Advance(200);
    h.Action(7);  // the workers cheer, each drawing its celebration
    h.Advance(300);
    EXPECT_EQ(h.phase(), Game::Phase::Finishing);
  }
  gameLogClose();
  std::ifstream in(logPath, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

TEST(LevelReplay, TwoRunsWithTheSameSeedAndActionsLogAlike) {
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) GTEST_SKIP() << "MM_SOURCE_DIR not set";
  std::filesystem::remove_all("data/maps/1");
  std::filesystem::create_directories("data/maps");
  std::filesystem::copy(std::string(src) + "/demo/data/maps/1", "data/maps/1", std::filesystem::copy_options::recursive);
  iniFreeAll();
  testSettingsLoad("none.ini");
  std::string a = runDemo("replay_a.txt");
  std::string b = runDemo("replay_b.txt");
  // The seed and at least one celebration draw per worker of the demo level.
  EXPECT_EQ(a.rfind("[Random]:Init 4242", 0), 0u) << a.substr(0, 200);
  EXPECT_NE(a.find("[Random - get ]"), std::string::npos) << a;
  EXPECT_EQ(a, b);
  std::filesystem::remove_all("data/maps/1");
  iniFreeAll();
}
