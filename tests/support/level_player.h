// Test support: a player who wins the demo levels through the real input path (clicks at the
// objects' screen points, keys, the tips closed as a player closes them), the running level's
// goals, stock and objects as the scripts look at them, and the six demo levels' winning scripts.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/core/level_context.h"

namespace Map {
class cObject;
}
namespace Task {
class cLevelTask;
}

namespace testkit {
class HeadlessGame;

constexpr int kOpeningSteps = 520;  // a demo level's opening scene is over by then

// The running level; only while one runs.
Game::LevelContext& playedLevel();
// The goal of that name, or null.
const Task::cLevelTask* levelTask(const char* name);
bool taskDone(const char* name);
// Every goal met, or the level over.
bool goalsMet();
int32_t stockOf(int resource);
// Gone from play: removed from the map, or no longer anything to click.
bool gone(const char* tag);
bool clickable(const char* tag);
bool fogged(const char* tag);
bool tipOpen();

// The object a click "at the tag" means; for a bonus place, whose tag the map keeps on the place
// while the bonus it made lies there under its own, the bonus lying nearest the place's spot.
const Map::cObject* clickTarget(const char* tag);
// A point that the map's hit test gives to the object: its box's centre when nothing covers it,
// else the first free point of a coarse grid over the box.
bool screenPointOf(const Map::cObject* o, int& x, int& y);
// What stands in the way of a click at the tag's object, for a failure's message.
std::string describeTarget(const char* tag);

// The player: points at objects and clicks them, presses keys, reads stories and lets the game
// run until something is so. A tip that comes up is closed as a player would (OK, or the object it
// waits for) unless it waits for the very object about to be clicked; the tips closed are kept.
class LevelPlayer {
 public:
  explicit LevelPlayer(HeadlessGame& game) : m_game(game) {}
  HeadlessGame& game() const { return m_game; }

  void Click(const char* tag);
  // A click on open ground (orders nothing, starts the clock).
  void ClickGround(int x, int y);
  void Key(int vk);
  // Runs until `done` holds, at most `seconds` of game time; true when it held.
  bool RunUntil(const std::function<bool()>& done, int seconds);
  void Wait(int seconds);
  // As a player does when every worker is busy: waits until one is free and gives the order, and
  // gives it again a moment later when the worker coming free was called elsewhere first. True
  // once the order is taken (the subject's operation is under way).
  bool Order(const char* tag);
  // Enter finishes a story's text and then closes it. True when no story is shown any more.
  bool CloseStory();
  // A story told over the level at its start holds the clock until it is read: Enter until the
  // clock runs. True when it runs.
  bool ReadTheOpeningStory();
  // Closes the open tip; the tip closed, or -1.
  int CloseTip();
  const std::vector<int>& TipsRead() const { return m_tipsRead; }
  // The tips read so far, for a failure's message.
  std::string Read() const;
  // With MM_LATE_SHOTS naming a folder (and a real GL renderer) the next frame is saved there as
  // a picture, for a person to look at the level; otherwise nothing. The journal does not see it.
  void Snap(const char* name);

 private:
  HeadlessGame& m_game;
  std::vector<int> m_tipsRead;
};

// After a level ends: its result comes on screen; the level's numbers as they stand then.
struct LevelOutcome {
  bool won = false;
  int32_t stars = 0, timeUsed = 0;
  bool shown = false;
  bool statisticsScreen = false, loseScreen = false;  // which end screen is up
};
// Runs the finish delay until the result is on screen (a few seconds at most).
LevelOutcome FinishLevel(HeadlessGame& game);

// The winning script of demo level n (1 to 6): the level must be loaded and its opening over. It
// checks what it meets on the way (a goal that waits, a tip, a story) and returns at the win.
using LevelScript = void (*)(LevelPlayer&);
LevelScript demoLevelScript(int n);
constexpr int kDemoLevels = 6;
// The level's gold time from its balance, 0 when it has none.
int32_t demoGoldTime(int n);

// Plays level n in the demo copy `run`, whose test.ini starts level n at once, logs the game and
// writes the statistics, by its script to a win with three stars inside the gold time; checks the
// statistics and the log; then has `switches` add the text given to those settings (the replay's)
// and replays the recorded journal, expecting the same log, line for line.
void WinAndReplay(const std::filesystem::path& run, int n, const std::function<void(const std::string&)>& switches);

}  // namespace testkit
