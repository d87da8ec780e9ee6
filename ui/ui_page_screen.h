// A whole-screen page built from a window definition: its "Main" section lists the page's windows
// by number ("1", "2", ...); Escape or a window named "Back" closes the page through a callback.
#pragma once
#include <functional>
#include <string>

#include "ui/widget_sprite.h"

class UIPageScreen : public UIWndSprite {
 public:
  UIPageScreen(std::string definition, std::function<void()> onClose);

  // Loads the page's own section and creates its listed windows, in order.
  void Build();

  int MouseMove(int buttons, int value) override;
  int KeyDown(int code, int value) override;
  int OnCommand(UIWnd* source) override;

 private:
  void Close();
  std::string definition_;
  std::function<void()> onClose_;
};

// A page of `definition`, or null with a gerr.log line naming `what` when the file is missing.
UIWnd* wndCreatePageScreen(const char* what, const char* definition, std::function<void()> onClose);
