// Input scripts and the headless game driver for tests.
#include "input_script.h"

#include <algorithm>

#include "app/app.h"
#include "game/core/game_main.h"
#include "platform/platform.h"

namespace testkit {

InputScript& InputScript::Raw(int64_t step, int message, int code, int value) {
  entries_.push_back({step, message, code, value});
  return *this;
}
InputScript& InputScript::Move(int64_t step, int x, int y, int buttons) { return Raw(step, MSG_MOUSEMOVE_, buttons, Pack(x, y)); }
InputScript& InputScript::Press(int64_t step, int x, int y, int button) { return Raw(step, MSG_KEYDOWN_, button, Pack(x, y)); }
InputScript& InputScript::Release(int64_t step, int x, int y, int button) { return Raw(step, MSG_KEYUP_, button, Pack(x, y)); }
InputScript& InputScript::Click(int64_t step, int x, int y, int button) {
  Move(step, x, y);
  Press(step, x, y, button);
  return Release(step + 1, x, y, button);
}
InputScript& InputScript::KeyDown(int64_t step, int vk, int keyData) { return Raw(step, MSG_KEYDOWN_, vk, keyData); }
InputScript& InputScript::KeyUp(int64_t step, int vk, int keyData) {
  return Raw(step, MSG_KEYUP_, vk, keyData | int(0xC0000000u));
}
InputScript& InputScript::Key(int64_t step, int vk) {
  KeyDown(step, vk);
  // Backspace, Tab, Enter and Escape type their character too, as the shell sends them.
  if (vk == VK_BACK_ || vk == VK_TAB_ || vk == VK_RETURN_ || vk == VK_ESCAPE_) Char(step, vk);
  return KeyUp(step, vk);
}
InputScript& InputScript::Char(int64_t step, int code) { return Raw(step, MSG_CHAR_, code, 1); }
InputScript& InputScript::Text(int64_t step, const std::string& text) {
  for (unsigned char c : text) Char(step++, c);
  return *this;
}

void InputScript::Start() const {
  std::vector<JournalEntry> sorted = entries_;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const JournalEntry& a, const JournalEntry& b) { return a.step < b.step; });
  journalReplayEntries(std::move(sorted));
}

HeadlessGame::HeadlessGame(uint32_t clockStart) {
  platUseManualClock(true, clockStart);
  ok_ = appInit(gameInput) == 0;
  if (ok_) gameInit();
}

HeadlessGame::~HeadlessGame() {
  if (ok_) {
    gameDone();
    appDone();
  }
  platClearQuitRequest();
  platResetEvents();
  platUseManualClock(false);
}

void HeadlessGame::RunSteps(int steps, uint32_t msPerPass) {
  const int target = gameStepCount() + steps;
  // Bounded: a game that stops stepping (no root window) must not hang the test.
  for (int pass = 0; gameStepCount() < target && pass < steps * 100 + 100; ++pass) {
    platAdvanceClock(msPerPass);
    if (!appLoopPass()) break;
    if (gameFrame() != 0) break;
  }
}

}  // namespace testkit
