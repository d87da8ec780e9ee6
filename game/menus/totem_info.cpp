// The level map's result board.
#include "game/menus/totem_info.h"

#include <algorithm>
#include <cmath>

#include "files/ini.h"
#include "gfx/render.h"
#include "ui/wnd_create.h"

namespace Menu {

UIGlobalMapTotemInfo::UIGlobalMapTotemInfo() {
  // The board only shows things: it must never take the hover from the buttons under it.
  InitState(Ignore);
  SetHidden(true);
}

void UIGlobalMapTotemInfo::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  for (const char* child : {"LevelName", "Time", "TimeNum", "Scores", "ScoresNum"}) wndCreate(file, child, this, true);
  if (UIWnd* frame = wndCreate(file, "Frame", this)) SetSize(frame->Width(), frame->Height());
  InitState(Ignore);
  SetHidden(true);
}

void UIGlobalMapTotemInfo::Place(int width, int& x, int& y) {
  if (y < 10) {
    y = 10;
    x += width / 2 + 10;
  } else if (y < 20) {
    x += width / 2 + 10;
  }
  x = std::min(std::max(x, 20), kLogicalWidth - 20 - width);
}

void UIGlobalMapTotemInfo::Show(int level, int score, int seconds, int x, int y) {
  level_ = level;
  score_ = score;
  seconds_ = std::max(0, seconds);
  alpha_.Set(kFadeMs, 0.0f, 255.0f);
  if (UIWnd* name = FindChild("LevelName")) name->SetCaption(levelTitle(level));
  FillNumbers();
  Place(Width(), x, y);
  SetPos(x, y);
  SetHidden(false);
}

void UIGlobalMapTotemInfo::Hide() {
  if (Hidden()) return;
  if (alpha_.IsStopped()) {
    alpha_.Set(kFadeMs, 255.0f, 0.0f);
  } else if (alpha_.target > alpha_.start) {
    // Half faded in: fade out over the time it has had, so it leaves as quickly as it came.
    alpha_.Set(alpha_.timer.Time(), alpha_.Value(), 0.0f);
  }
}

int UIGlobalMapTotemInfo::Update(int dt) {
  if (alpha_.Advance(dt) && alpha_.Value() < 10.0f) SetHidden(true);
  return UIWnd::Update(dt);
}

int UIGlobalMapTotemInfo::Alpha() const {
  if (alpha_.IsStopped()) return 255;
  return std::clamp(int(std::lround(alpha_.Value())), 0, 255);
}

void UIGlobalMapTotemInfo::FillNumbers() {
  if (UIWnd* time = FindChild("TimeNum")) time->SetCaptionF("%02d:%02d", seconds_ / 60, seconds_ % 60);
  if (UIWnd* scores = FindChild("ScoresNum")) scores->SetCaptionF("%d", score_);
}

int UIGlobalMapTotemInfo::Draw() {
  if (Hidden()) return 0;
  FillNumbers();
  const auto a = uint8_t(Alpha());
  for (int i = 0; i < ChildCount(); ++i) Child(i)->SetAlpha(a);
  return UIWnd::Draw();
}

}  // namespace Menu
