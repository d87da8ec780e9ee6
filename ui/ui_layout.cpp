// The box and table arrangers, and the bookkeeping that keeps them from holding destroyed windows.
#include "ui/ui_layout.h"

#include <algorithm>

#include "files/ini.h"
#include "gfx/render.h"
#include "gfx/sprite.h"

namespace Core {

namespace {

// Every living arranger, so a destroyed window can be taken out of the lists that name it.
std::vector<UIArranger*>& Arrangers() {
  static std::vector<UIArranger*> list;
  return list;
}

void ForgetEverywhere(UIWnd* w) {
  for (UIArranger* a : Arrangers()) a->Forget(w);
}

// An arranger hands a child back to its owner without moving it between the owner's children,
// which the tree's own operations cannot do; the parent link is reached through a derived view.
struct ParentLink : UIWnd {
  static void Set(UIWnd* w, UIWnd* parent) { w->*(&ParentLink::parent_) = parent; }
};

}  // namespace

UIArranger::UIArranger() {
  InitState(Ignore);
  SetHidden(true);
  wndSetDestroyHook(&ForgetEverywhere);
  Arrangers().push_back(this);
}

UIArranger::~UIArranger() {
  auto& list = Arrangers();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  while (childCount_ > 0) {
    UIWnd* c = children_[childCount_ - 1];
    // A window placed here that no other window ever took would otherwise be lost.
    const bool orphan = c->Parent() == this && !owners_[size_t(childCount_ - 1)].owner;
    Unlink(childCount_ - 1);
    if (orphan) delete c;
  }
}

void UIArranger::Unlink(int index) {
  UIWnd* c = children_[index];
  const Link link = owners_[size_t(index)];
  std::copy(children_ + index + 1, children_ + childCount_, children_ + index);
  children_[--childCount_] = nullptr;
  owners_.erase(owners_.begin() + index);
  if (active_ >= childCount_) active_ = int8_t(childCount_ - 1);
  // Only a child that still answers to this arranger goes back; one taken by another window since
  // belongs to that window.
  if (c->Parent() == this) ParentLink::Set(c, link.ownerGone ? nullptr : link.owner);
}

void UIArranger::LoadDef(const char* file, const char* section, bool reload) {
  UIWnd::LoadDef(file, section, reload);
  ReadKeys(file, section);
}

bool UIArranger::AddChild(UIWnd* child) {
  if (!child) return false;
  for (int i = 0; i < childCount_; ++i)
    if (children_[i] == child) return true;
  if (childCount_ >= kMaxChildren) return false;  // not ours to destroy
  // The tree's own operation links the child (commands then pass through here to this window's
  // parent), but the font it would hand over is put back: the child keeps its own.
  UIWnd* owner = child->Parent();
  CSprite* font = child->Font();
  if (font) sprAddRef(font);
  UIWnd::AddChild(child);
  child->ShareFont(font);
  sprRelease(font);
  owners_.push_back({owner, false});
  Arrange();
  return true;
}

void UIArranger::RemoveChild(UIWnd* child) {
  for (int i = 0; i < childCount_; ++i)
    if (children_[i] == child) {
      Unlink(i);
      Arrange();
      return;
    }
}

void UIArranger::Forget(UIWnd* w) {
  for (int i = 0; i < childCount_; ++i)
    if (children_[i] == w) {
      // The window is half gone: take it out of the list without touching it.
      std::copy(children_ + i + 1, children_ + childCount_, children_ + i);
      children_[--childCount_] = nullptr;
      owners_.erase(owners_.begin() + i);
      if (active_ >= childCount_) active_ = int8_t(childCount_ - 1);
      return;
    }
  // An owner being destroyed takes its windows down with it; until then none goes back to it.
  for (Link& l : owners_)
    if (l.owner == w) l.ownerGone = true;
}

void UIArranger::MoveBy(int dx, int dy) {
  x_ = int16_t(x_ + dx);
  y_ = int16_t(y_ + dy);
  Arrange();
}

void UIArranger::SetPos(int x, int y) {
  x_ = int16_t(x);
  y_ = int16_t(y);
  Arrange();
}

void UIArranger::Reload(int) {
  // The children are reloaded by their owner; reloading them here too would do it twice.
  if (!defFile_.empty() && !defSection_.empty()) LoadDef(defFile_.c_str(), defSection_.c_str(), true);
  Arrange();
}

// ---- Box -------------------------------------------------------------------------------------

void UIBoxLayout::ReadKeys(const char* file, const char* section) {
  orient_ = iniGetInt(file, section, "orient", 0);
  layout_ = iniGetInt(file, section, "layout", 0);
  step_ = iniGetInt(file, section, "step", 0);
}

void UIBoxLayout::Arrange() {
  if (layout_ == 0 && orient_ == 0) {
    int total = 0, visible = 0;
    for (int i = 0; i < childCount_; ++i)
      if (!children_[i]->Hidden()) {
        total += children_[i]->Width() + step_;
        ++visible;
      }
    if (visible) total -= step_;
    int cursor = x_ + xs_ / 2 - total / 2;
    for (int i = 0; i < childCount_; ++i) {
      UIWnd* c = children_[i];
      if (c->Hidden()) continue;
      Place(c, cursor, y_);
      cursor += c->Width() + step_;
    }
  } else if (layout_ == 1 && orient_ == 0) {
    int cursor = x_;
    for (int i = 0; i < childCount_; ++i) {
      UIWnd* c = children_[i];
      if (c->Hidden()) continue;
      Place(c, cursor, y_);
      cursor += c->Width() + step_;
    }
  } else if (layout_ == 1 && orient_ == 1) {
    int cursor = y_;
    for (int i = 0; i < childCount_; ++i) {
      UIWnd* c = children_[i];
      if (c->Hidden()) continue;
      Place(c, x_, cursor);
      cursor += c->Height() + step_;
    }
  }
}

int UIBoxLayout::Draw() {
  if (g_wndBounds)
    grFrameRect(x_, y_, x_ + xs_, y_ + ys_, Marked() ? grColor(255, 255, 255) : grColor(255, 0, 255));
  return 0;
}

// ---- Table -----------------------------------------------------------------------------------

void UITableLayout::ReadKeys(const char* file, const char* section) {
  stepX_ = iniGetInt(file, section, "stepX", 0);
  stepY_ = iniGetInt(file, section, "stepY", 0);
  rows_ = iniGetInt(file, section, "rows", 0);
  layout_ = iniGetInt(file, section, "layout", 0);
}

void UITableLayout::SetGrid(int stepX, int stepY, int rows, int layout) {
  stepX_ = stepX;
  stepY_ = stepY;
  rows_ = rows;
  layout_ = layout;
  Arrange();
}

void UITableLayout::Arrange() {
  const int rows = Rows();
  if (layout_ == 2) {
    // Filled from the right: the first column stands as far right as the count of windows needs.
    int colX = x_ + ((childCount_ > 0 ? childCount_ - 1 : 0) / rows) * stepX_;
    int rowY = y_, k = 0;
    for (int i = 0; i < childCount_; ++i) {
      UIWnd* c = children_[i];
      if (c->Hidden()) continue;
      Place(c, colX, rowY);
      if (++k == rows) {
        k = 0;
        rowY = y_;
        colX -= stepX_;
      } else {
        rowY += stepY_;
      }
    }
    return;
  }
  // From the left: a column takes "rows" windows, then the next column starts at the top. Hidden
  // windows keep their cell empty.
  int cx = x_, cy = y_;
  for (int i = 0; i < childCount_; ++i) {
    UIWnd* c = children_[i];
    if (!c->Hidden()) Place(c, cx, cy);
    if ((i + 1) % rows == 0) {
      cx += stepX_;
      cy = y_;
    } else {
      cy += stepY_;
    }
  }
}

void uiSettleArranger(UIWnd* w) {
  w->SetHidden(true);
  w->InitState(UIWnd::Ignore);
}

}  // namespace Core
