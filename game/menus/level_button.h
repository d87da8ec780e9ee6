// One level's totem on the level map: its number, up to three stars and the button under them that
// presses in when clicked; a highlight is added over it while the mouse is on it.
#pragma once
#include "ui/ui_mouse_wnd.h"

class CSprite;

namespace Menu {

// Every sixteenth level (16, 32, 48) is the bonus level of its episode.
bool levelIsBonus(int level);
// The number a level is shown with: bonus levels are not counted, and have none (0).
int levelLabel(int level);
// 0, 1 or 2 for levels 1-16, 17-32, 33-48.
int levelEpisode(int level);

class UILevelMenuButton : public Core::UIWndWithMouseTest {
 public:
  static constexpr const char* kFile = "data/interface/UILevelMenuButton.ini";
  static constexpr const char* kBonusFile = "data/interface/UILevelMenuBonusButton.ini";
  // How far the parts of a pressed button sink.
  static constexpr int kPressDepth = 2;

  explicit UILevelMenuButton(int level);
  ~UILevelMenuButton() override;
  // "Main" of the level's document (the bonus document for bonus levels), then its parts, placed
  // from it; the number caption is set here.
  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  void SetState(int s) override;
  int Draw() override;

  // Stars from the level's best result: 1 the middle one, 2 the outer two, 3 or more all three.
  void ShowStars(int lp);

  int Level() const { return level_; }
  UIWnd* Inner() const { return button_; }
  bool Pressed() const { return button_ && button_->State() == Press; }
  int GlowX() const { return glowX_; }
  int GlowY() const { return glowY_; }

 private:
  // The parts other than the inner button sink while it is pressed and rise when it is let go.
  void FollowInner();

  int level_;
  UIWnd* button_ = nullptr;
  int lastInner_ = Normal;
  CSprite* highlight_ = nullptr;
  int hlX_ = 0, hlY_ = 0, glowX_ = 0, glowY_ = 0;
};

}  // namespace Menu
