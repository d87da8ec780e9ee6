// UISwitchSelect: a switch with a left and a right arrow window (sections "left" and "right" of
// its document) and its options laid out between them.
#pragma once
#include <memory>

#include "ui/widget_switch.h"

class UISwitchSelect : public UISwitchBase {
 public:
  UISwitchSelect();
  ~UISwitchSelect() override;
  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Update(int dt) override;
  int Draw() override;
  void MoveBy(int dx, int dy) override;
  void SetPos(int x, int y) override;
  void SetState(int s) override;
  bool HitTest(int x, int y) const override;

  UIWndSprite* LeftArrow() const { return left_.get(); }
  UIWndSprite* RightArrow() const { return right_.get(); }

 protected:
  std::unique_ptr<UIWndSprite> left_, right_;
  void PlaceOption(UIWnd* option) override;
  // The arrow a key or a click at a packed position points to: -1 left, 1 right, 0 neither.
  int ArrowFor(int code, int value) const;
};
