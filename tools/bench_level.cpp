// bench_level: the cost of a whole level on the null renderer. Reports the median and worst time of
// a full LoadLevel of a level, and of one update step (model, persons, queue, controller) with 20
// persons walking between the level's objects.
//
//   bench_level [level number]     (default 1; run from the game folder, e.g. demo/)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/diag.h"
#include "game/core/game_main.h"
#include "game/core/level_context.h"
#include "game/core/random.h"

namespace {
using Clock = std::chrono::steady_clock;
double ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }
void report(const char* what, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::printf("%-40s median %.4f ms  p90 %.4f ms  max %.4f ms  (%zu runs)\n", what, v[v.size() / 2],
              v[v.size() * 9 / 10], v.back(), v.size());
}
}  // namespace

int main(int argc, char** argv) {
  const int level = argc > 1 ? std::atoi(argv[1]) : 1;
  testSettingsLoad("data/test.ini");
  SeedRandom(1);
  std::vector<double> loads;
  for (int i = 0; i < 20; ++i) {
    auto a = Clock::now();
    if (!Game::LoadLevel(level)) {
      std::fprintf(stderr, "level %d does not load (see gerr.log)\n", level);
      return 1;
    }
    loads.push_back(ms(a, Clock::now()));
  }
  report("LoadLevel", loads);

  Game::LevelContext& c = *Game::levelContext();
  while (c.workers->PersonCount() < 20) c.workers->RequestWorker(false);
  Game::ModelAction start;
  start.code = 1;
  c.model->OnAction(start);
  std::vector<int32_t> targets;
  for (size_t i = 0; i < c.map->Count(); ++i)
    if (!dynamic_cast<Map::cPerson*>(c.map->At(i))) targets.push_back(c.map->At(i)->id);
  std::vector<double> steps;
  size_t next = 0;
  int walking = 0;
  for (int s = 0; s < 4000 && c.model->phase() == Game::Phase::Running; ++s) {
    // Free persons are sent on to the next object, so the walkers stay at about 20.
    for (int n = 0; n < c.workers->PersonCount(); ++n) {
      Map::cPerson* p = c.workers->GetNth(0, n);
      if (p && p->state == Map::PersonState::Free && !targets.empty())
        c.workers->SendTo(p->id, targets[next++ % targets.size()], 2, -1, 0.0f);
    }
    walking = 0;
    for (int n = 0; n < c.workers->PersonCount(); ++n)
      if (Map::cPerson* p = c.workers->GetNth(0, n); p && p->state == Map::PersonState::Walking) ++walking;
    gameSetClock(gameClock() + kStepMs);
    auto a = Clock::now();
    c.model->Update(kStepMs);
    steps.push_back(ms(a, Clock::now()));
  }
  std::printf("persons %d, walking at the last step %d\n", c.workers->PersonCount(), walking);
  report("Update step", steps);
  Game::EndLevel();
  return 0;
}
