// The level map's level button.
#include "game/menus/level_button.h"

#include <string>

#include "files/ini.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "ui/wnd_create.h"

namespace Menu {

bool levelIsBonus(int level) { return level > 0 && level % 16 == 0; }

int levelLabel(int level) { return levelIsBonus(level) || level < 1 ? 0 : level - level / 16; }

int levelEpisode(int level) { return level < 1 ? 0 : (level - 1) / 16; }

UILevelMenuButton::UILevelMenuButton(int level) : level_(level) {}

UILevelMenuButton::~UILevelMenuButton() { sprRelease(highlight_); }

void UILevelMenuButton::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  SetName("LevelButton");
  for (const char* part : {"Level", "Star2", "Star1", "Star3", "Button"}) wndCreate(file, part, this, true);
  for (const char* star : {"Star1", "Star2", "Star3"})
    if (UIWnd* w = FindChild(star)) w->SetHidden(true);
  button_ = FindChild("Button");
  lastInner_ = Normal;
  if (UIWnd* label = FindChild("Level")) {
    if (int n = levelLabel(level_)) label->SetCaptionF("%d", n);
    else label->SetCaption(u"");
  }
  sprRelease(highlight_);
  highlight_ = nullptr;
  if (std::string hl = iniString(file, "Button", "Highlight"); !hl.empty()) highlight_ = sprGet(hl.c_str());
  hlX_ = iniGetInt(file, "Button", "hlX", 0);
  hlY_ = iniGetInt(file, "Button", "hlY", 0);
  glowX_ = iniGetInt(file, "Button", "glowX", 0);
  glowY_ = iniGetInt(file, "Button", "glowY", 0);
}

void UILevelMenuButton::ShowStars(int lp) {
  const bool shown[3] = {lp == 2 || lp >= 3, lp == 1 || lp >= 3, lp == 2 || lp >= 3};
  const char* names[3] = {"Star1", "Star2", "Star3"};
  for (int i = 0; i < 3; ++i)
    if (UIWnd* w = FindChild(names[i])) w->SetHidden(!shown[i]);
}

void UILevelMenuButton::FollowInner() {
  if (!button_) return;
  const int now = button_->State();
  const int dy = now == Press && lastInner_ != Press ? kPressDepth : now != Press && lastInner_ == Press ? -kPressDepth : 0;
  lastInner_ = now;
  if (dy == 0) return;
  for (int i = 0; i < ChildCount(); ++i)
    if (Child(i) != button_) Child(i)->MoveBy(0, dy);
}

int UILevelMenuButton::KeyDown(int code, int value) {
  const int r = UIWndWithMouseTest::KeyDown(code, value);
  FollowInner();
  return r;
}

int UILevelMenuButton::KeyUp(int code, int value) {
  const int r = UIWndWithMouseTest::KeyUp(code, value);
  if (r) FollowInner();
  return r;
}

void UILevelMenuButton::SetState(int s) {
  UIWndWithMouseTest::SetState(s);
  if (button_) button_->SetState(s);
  FollowInner();
}

int UILevelMenuButton::Draw() {
  const int stop = UIWndWithMouseTest::Draw();
  if (!Hidden() && State() == Active && highlight_) {
    // Added over the button, a little of it: the same glow as the decorated buttons.
    grDrawSprite(grModeWord(4, 7, 1, 2, 5), 15, x_ + hlX_, y_ + hlY_ + (Pressed() ? kPressDepth : 0),
                 sprWidth(highlight_), sprHeight(highlight_), highlight_, 0, 0, 0x5C000000u, 0);
  }
  return stop;
}

}  // namespace Menu
