// UISwitchBase: a button that cycles through up to ten options, each a sprite window of its own
// definition section; the current option is the active child.
#pragma once
#include "ui/widget_button.h"

class UISwitchBase : public UIWndButtonIE {
 public:
  static constexpr int kMaxOptions = 10;

  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Update(int dt) override;
  int Draw() override;

  int OptionCount() const { return childCount_; }
  // The current option's index, -1 without options.
  int Current() const { return active_; }
  // Makes option i (wrapped into range) current; it takes the switch's state.
  void SetCurrent(int i);

 protected:
  // Reads the option sections "0" to "9" up to the first empty key.
  void LoadOptions(const char* file, const char* section);
  // Size and place of a new option: a zero size is the switch's, positions are relative.
  virtual void PlaceOption(UIWnd* option);
};
