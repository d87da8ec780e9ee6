// The notice of an earned achievement: a pad that slides up from the bottom of the screen, waits,
// and slides away again; pads earned together queue and come one after another.
#pragma once
#include <cstdint>
#include <string>

#include "game/core/events.h"
#include "game/rules/achievements.h"
#include "ui/widget_sprite.h"

class CSprite;

namespace Interface {

class UIAchPad : public UIWndSprite {
 public:
  enum class Phase { SlidingIn, Showing, SlidingOut, Done };
  static constexpr int kSlideMs = 500;
  static constexpr int kShowMs = 2000;
  static constexpr int kScreenBottom = 768;
  static constexpr int kGap = 11;  // between the shown pad and the bottom of the screen

  // The pad's top `ms` into `phase` for a pad `height` pixels high: from the bottom of the screen
  // up to its place over the first half second, there while it shows, and back down.
  static int TopAt(Phase phase, int ms, int height);

  UIAchPad() = default;
  ~UIAchPad() override;
  // Reads section "Achieve" of `file` with its windows "Title" and "Message" (the text goes into
  // "Message") and the place of the achievement's picture ("Icon"). The pad starts below the
  // screen. To be called once the pad is attached, so its own font stays.
  void Build(const char* file, const std::u16string& text, const std::string& icon);
  int Update(int dt) override;
  int Draw() override;
  bool HitTest(int x, int y) const override;
  // The container decides what a click does.
  int KeyDown(int, int) override { return 0; }
  int KeyUp(int, int) override { return 0; }
  // Starts sliding away at once, from where the pad stands now.
  void Leave();

  Phase phase() const { return m_phase; }
  int phaseMs() const { return m_ms; }
  bool Leaving() const { return m_phase == Phase::SlidingOut || m_phase == Phase::Done; }
  UIWnd* Message() const { return m_message; }
  CSprite* Icon() const { return m_icon; }

 private:
  void Place();

  Phase m_phase = Phase::SlidingIn;
  int m_ms = 0;
  UIWnd* m_message = nullptr;  // a child
  CSprite* m_icon = nullptr;
  int m_iconX = 0, m_iconY = 0, m_iconW = 0, m_iconH = 0;  // relative to the pad
};

class UIAchievementInterface : public UIWnd, public Game::IAchievementListener {
 public:
  static constexpr const char* kFile = "data/interface/achievementsInterface.ini";
  static constexpr const char* kSound = "AchievementGet";

  UIAchievementInterface();
  ~UIAchievementInterface() override;
  // The notice from section "Main" of the definition, told of every achievement the run's table
  // earns from now on; false (with a gerr.log line) when the definition is missing.
  bool Build(const char* file = kFile);
  // Clicks on a pad post event 114 to the level's dispatcher.
  void LevelStart(Game::cEventDispatcher* dispatcher) { m_dispatcher = dispatcher; }
  void LevelEnd() { m_dispatcher = nullptr; }

  void OnAchievementEarned(const Game::AchievementRecord& record) override;
  // A pad with `text` joins the queue; the chime plays when it is the only one.
  void Push(const std::u16string& text, const std::string& icon = {});

  // Only the first pad of the queue moves, draws and takes the pointer.
  int Update(int dt) override;
  int Draw() override;
  bool HitTest(int x, int y) const override;
  // A press or a release on the first pad: event 114, and the pad leaves.
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int MouseMove(int, int) override { return 0; }

  int QueueLength() const { return ChildCount(); }
  UIAchPad* Front() const;

 private:
  int Click(int code, int value);
  void StartFront();

  std::string m_file;
  Game::cEventDispatcher* m_dispatcher = nullptr;
};

}  // namespace Interface
