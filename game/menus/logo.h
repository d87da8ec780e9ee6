// One start-up logo page of "data/logo/logo.ini": a picture (or a numbered series played as a
// video) shown for a while, faded from and to black; the last page hands over to loading.
#pragma once
#include <string>

#include "ui/wnd.h"

class UILogo : public UIWnd {
 public:
  explicit UILogo(int index);
  ~UILogo() override;
  int Update(int dt) override;
  int Draw() override;
  int KeyDown(int code, int value) override;

  // The frame picture name made from a format with one integer placeholder ("%d", "%02d"...);
  // a format with any other conversion is used as it is, so data can never steer a printf.
  static std::string FrameName(const std::string& format, int frame);

 private:
  void SetPicture(const std::string& name);
  int index_;
  std::string section_, name_, frameName_;
  CSprite* picture_ = nullptr;
  int length_ = 0, videoTime_ = 0, showTime_ = 7000, unhideTime_ = 0, hideStart_ = 0;
  bool useBackground_ = false;
  uint32_t background_ = 0xFF000000u;
};

namespace Menu {
// Before the menus: the current player gets a progress record when there is none, and a
// "Game_Test_Level" from 1 to 48 becomes the current level. Run once the player list is read.
void PrepareStartProgress();
}  // namespace Menu
