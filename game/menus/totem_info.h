// The little board over a level button of the level map: the level's title, its best time and best
// score, fading in when the mouse comes to the button and out when it leaves.
#pragma once
#include "anim/value_ramp.h"
#include "ui/wnd.h"

namespace Menu {

class UIGlobalMapTotemInfo : public UIWnd {
 public:
  static constexpr const char* kFile = "data/menu/globalTotemInfo.ini";
  static constexpr int kFadeMs = 500;

  UIGlobalMapTotemInfo();
  // The board ("Main"), its texts placed from it and its "Frame", whose size it takes.
  void Load(const char* file, const char* section) override;
  // Shows the level's results with the board's corner asked at (x, y); see Place.
  void Show(int level, int score, int seconds, int x, int y);
  // Fades out from wherever the fade-in has got to.
  void Hide();
  int Update(int dt) override;
  int Draw() override;

  // Where a board `width` wide asked at (x, y) goes: never above y = 10 and never over the button
  // it belongs to (a board pushed down from the top edge steps aside to the right), and never
  // off either side of the screen.
  static void Place(int width, int& x, int& y);

  int Level() const { return level_; }
  int Score() const { return score_; }
  int Seconds() const { return seconds_; }
  // The alpha every part is drawn with now.
  int Alpha() const;
  const ValueRamp& Ramp() const { return alpha_; }

 private:
  void FillNumbers();
  int level_ = 0, score_ = 0, seconds_ = 0;
  ValueRamp alpha_;
};

}  // namespace Menu
