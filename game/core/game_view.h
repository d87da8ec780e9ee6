// cGameView: the window a level is played in. It turns the pointer, the buttons and the keys on
// the map into the game model's actions, shows the cursor of the object under the pointer, drives
// the model every step, draws the map with its debug overlays and the cut-scene letterbox, runs
// the story window, and shows the result on the interface's end screens, ending or replaying the
// level as the player chooses there.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "game/core/events.h"
#include "game/core/game_model.h"
#include "game/core/tips.h"
#include "ui/wnd.h"

namespace Interface {
class UIInterface;
class UIQuestWnd;
}

namespace Game {
struct LevelContext;

// An action of the player as the view sends it: the model's record plus the view's tick and the
// button (true for the left one).
struct GameAction {
  int32_t code = 0;
  int32_t tick = 0;
  int32_t x = 0, y = 0;
  int32_t objectId = -1;
  bool left = true;
};

// How long the story cut-scene at the start of level n runs, 0 for a level without one.
int32_t viewCutSceneMs(int32_t level);

// The debug words typed on the map: the last characters typed, compared without letter case.
// Returns the action code a word completes ("levelu" 7, "loose" 10, "achiev" 12), else 0.
class cTypedWords {
 public:
  int Type(int ch);
  void Clear() { m_text.clear(); }

 private:
  std::string m_text;
};

class cGameView : public UIWnd, public cObserver {
 public:
  static constexpr int32_t kLetterboxMs = 500;
  static constexpr int32_t kLetterboxBarHeight = 100;
  // Event 108 (the player has been idle) this long after the last click on the map.
  static constexpr int32_t kIdleMs = 30000;
  // Without an end screen to show it on (its definition missing), the result is only logged and
  // the level closes by itself after this long (a click closes it sooner).
  static constexpr int32_t kResultPauseMs = 4000;
  // What the player chose on an end screen.
  enum ResultChoice : uint8_t { kChoiceNone = 0, kChoiceLeave = 1, kChoiceRestart = 2 };
  enum Letterbox : uint8_t { kLetterboxOff = 0, kLetterboxOpening = 1, kLetterboxOpen = 2, kLetterboxClosing = 3 };

  explicit cGameView(LevelContext* level);
  ~cGameView() override;
  // The events the view reacts to (registered at load stage 6).
  void RegisterEvents();
  // The level is ending: the view lets go of the model, the map and the dispatcher.
  void Detach();
  // Called by the last load stage: the level's cut-scene, or its music at once.
  void LevelStart();

  // ---- Window operations ---------------------------------------------------------------------
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  // "StatisticsOK" leaves the level, "StatisticsRestart" plays it again.
  int OnCommand(UIWnd* source) override;
  int MouseMove(int buttons, int value) override;
  int Update(int dt) override;
  int Draw() override;
  void OnEvent(GameEvent& event) override;

  // ---- The view's own operations -------------------------------------------------------------
  void OnPointerMove(int x, int y);
  // Button 1 left, 2 right.
  void OnMouseButton(int button, int x, int y);
  void OnKey(int key);
  void OnTyped(int ch);
  void SendAction(GameAction action);
  void OpenLetterbox(int32_t durationMs);
  // Opens story dialog `entry` in the story window; the interface is modal until it closes. An
  // entry the dialog file lacks shows nothing.
  void ShowStory(int32_t entry);
  Interface::UIQuestWnd* storyWindow() const { return m_story.get(); }
  bool StoryShown() const;
  // How many story dialogs have closed.
  int32_t storiesClosed() const { return m_storiesClosed; }
  // The result stands on an end screen (not only in the log).
  bool resultOnScreen() const { return m_resultOnScreen != 0; }
  ResultChoice resultChoice() const { return ResultChoice(m_resultChoice); }

  int32_t hoveredId() const { return m_hoveredId; }
  Letterbox letterbox() const { return m_letterbox; }
  float letterboxProgress() const { return float(m_letterboxMs) / float(kLetterboxMs); }
  const Countdown& storyTimer() const { return m_storyTimer; }
  const Countdown& idleTimer() const { return m_idleTimer; }
  bool levelCompleted() const { return m_levelCompleted != 0; }
  bool resultShown() const { return m_resultShown != 0; }
  int32_t tick() const { return m_tick; }
  int32_t lastStory() const { return m_lastStory; }
  // Nothing of the view's own (a question, a result) stands over the map.
  bool IsFree() const;
  // The panels over the map: the view draws them as its child, and clicks on them stay off the map.
  void SetInterface(Interface::UIInterface* ui);
  Interface::UIInterface* interfaceWnd() const { return m_interface; }
  // The level's tips: they see the view's events, steps, draws and presses first.
  cTips* tips() const { return m_tips.get(); }
  // A tip stands over the map: the level waits for the player to read it.
  bool TipOpen() const { return m_tips && m_tips->IsOpen(); }

 private:
  cGameModel* Model() const;
  bool InPlay() const;
  // The first click or key would start the level's clock.
  bool ClockWaits() const;
  // What every click and key press does first: closes a shown result, or starts a waiting clock.
  // False when the press goes no further (no model, a result was shown, something stands over
  // the map).
  bool TakePress();
  void HoverLeaveAll();
  void ShowResult();
  // The result has been seen: the level ends and the next screen comes (the same level again
  // when `restart`).
  void CloseLevel(bool restart);
  void StoryClosed();
  void RetireSelf();
  void AskLeave();
  // While a tip stands, only the object it asks to be clicked answers the pointer.
  bool TipAccepts(const Map::cObject& o) const;
  // The object a tip waits on still shows its hint and focus marker.
  void UpdateTipTarget(int dt);

  LevelContext* m_level = nullptr;
  cEventDispatcher* m_dispatcher = nullptr;
  int32_t m_hoveredId = -1;
  Letterbox m_letterbox = kLetterboxOff;
  int32_t m_letterboxMs = 0;
  Countdown m_storyTimer;
  Countdown m_idleTimer;
  Countdown m_resultTimer;
  uint8_t m_levelCompleted = 0;
  uint8_t m_resultShown = 0;
  uint8_t m_resultClosed = 0;
  uint8_t m_resultOnScreen = 0;
  uint8_t m_resultChoice = kChoiceNone;
  // Made on the first story. Not a child: it is drawn over the interface, and while shown it alone
  // is updated and takes the input.
  std::unique_ptr<Interface::UIQuestWnd> m_story;
  int32_t m_storiesClosed = 0;
  int32_t m_tick = 0;
  int32_t m_lastStory = -1;
  cTypedWords m_typed;
  Interface::UIInterface* m_interface = nullptr;  // a child: the view owns it
  std::unique_ptr<cTips> m_tips;  // not a child: drawn between the map and the interface
};

}  // namespace Game
