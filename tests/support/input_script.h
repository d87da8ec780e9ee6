// Input scripts for tests: a list of input messages (moves, presses, releases, keys, characters)
// fed to the game before given update steps, and a headless game driven by the manual clock.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/game_journal.h"

namespace testkit {

// Packs a logical position as the input messages carry it.
inline int Pack(int x, int y) { return (x & 0xFFFF) | (y << 16); }

class InputScript {
 public:
  InputScript& Move(int64_t step, int x, int y, int buttons = 0);
  InputScript& Press(int64_t step, int x, int y, int button = 1);
  InputScript& Release(int64_t step, int x, int y, int button = 1);
  // Press at `step`, release one step later.
  InputScript& Click(int64_t step, int x, int y, int button = 1);
  InputScript& KeyDown(int64_t step, int vk, int keyData = 1);
  InputScript& KeyUp(int64_t step, int vk, int keyData = 1);
  InputScript& Key(int64_t step, int vk);  // down and up at the same step
  InputScript& Char(int64_t step, int code);
  InputScript& Text(int64_t step, const std::string& text);  // one character per step from `step`
  InputScript& Raw(int64_t step, int message, int code, int value);
  // Hands the script to the running game: its messages replace live input until it is used up.
  void Start() const;
  const std::vector<JournalEntry>& Entries() const { return entries_; }

 private:
  std::vector<JournalEntry> entries_;
};

// The whole game, headless, in the current folder: appInit + gameInit on construction, gameDone +
// appDone on destruction, the manual clock throughout.
class HeadlessGame {
 public:
  explicit HeadlessGame(uint32_t clockStart = 1000);
  ~HeadlessGame();
  bool Ok() const { return ok_; }
  // Runs loop passes of `msPerPass` until `steps` more update steps have run (or the loop ends).
  void RunSteps(int steps, uint32_t msPerPass = 25);

 private:
  bool ok_ = false;
};

}  // namespace testkit
