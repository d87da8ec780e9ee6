// The level map: 48 levels in three episodes of 16, one episode shown at a time, with their stars,
// open and locked levels, a result board over the level under the mouse, and a cross-fade to the
// neighbouring episode.
#pragma once
#include <vector>

#include "anim/period_timer.h"
#include "ui/ui_fade.h"

struct PlayerProgress;

namespace Menu {

class UILevelMenuButton;
class UIGlobalMapTotemInfo;

// Whether the player may start `level` in the record's current mode: every level with `openAll`;
// a bonus level when each of the ten levels before it has three stars; any other level up to the
// highest level reached.
bool levelAvailable(const PlayerProgress& record, int level, bool openAll);

class UILevelMenu : public Core::UIMenuWithFade {
 public:
  static constexpr const char* kFile = "data/menu/UILevelMenu.ini";
  static constexpr int kEpisodes = 3;
  static constexpr int kEpisodeLevels = 16;
  static constexpr int kTransitionMs = 1000;
  static constexpr int kDoubleClickMs = 300;

  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int MouseMove(int buttons, int value) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  int Wheel(float delta, int code, int value) override;
  int OnCommand(UIWnd* source) override;

  // Moves to the neighbouring episode (d = -1 or +1) with a cross-fade.
  void ChangeEpisode(int d);

  int Episode() const { return episode_; }
  bool InTransition() const { return !transition_.IsStopped(); }
  UILevelMenuButton* CurrentButton() const { return current_; }
  UILevelMenuButton* Button(int level) const;
  UIGlobalMapTotemInfo* TotemInfo() const { return info_; }
  const std::vector<UIWnd*>& EpisodeWindows(int e) const { return lists_[e]; }

 protected:
  // The screen changes, apart so that they can be watched without leaving the screen.
  virtual void StartCurrentLevel();
  virtual void BackToMainMenu();

 private:
  void PlaceGlows(UILevelMenuButton* b);
  void MoveGlows(int dy);
  void Play();
  void ShowInfo(UILevelMenuButton* b);

  std::vector<UIWnd*> lists_[kEpisodes];
  UIWnd* effects_[kEpisodes] = {};
  int episode_ = 0, previous_ = 0;
  UILevelMenuButton* current_ = nullptr;
  UIGlobalMapTotemInfo* info_ = nullptr;
  PeriodTimer transition_{kTransitionMs, PeriodTimer::kStopped};
  PeriodTimer doubleClick_{kDoubleClickMs, PeriodTimer::kStopped};
  bool pressed_ = false;
};

}  // namespace Menu
