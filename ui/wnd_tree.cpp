// UIWnd's ownership of its children: adding, removing (destruction deferred past running handlers),
// finding by name, and the operations that walk the whole subtree (position, colour, captions).
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "files/text.h"
#include "gfx/sprite.h"
#include "ui/wnd.h"
#include "ui/wnd_internal.h"

namespace {
void unhookSubtree(UIWnd* w) {
  wndHookRemove(w);
  for (int i = 0; i < w->ChildCount(); ++i) unhookSubtree(w->Child(i));
}
}  // namespace

UIWnd::UIWnd() = default;

UIWnd::~UIWnd() {
  // Deleted directly while still linked: leave the parent's list so it holds no dangling entry.
  if (parent_) parent_->Unlink(this);
  for (CSprite*& s : images_) {
    sprRelease(s);
    s = nullptr;
  }
  // The window itself is dying, so no handler of its subtree is running: children die at once.
  while (childCount_ > 0) {
    UIWnd* c = children_[0];
    Unlink(c);
    delete c;
  }
  sprRelease(font_);
  font_ = nullptr;
  wndForget(this);
}

void UIWnd::SetName(const char* name) { std::snprintf(name_, sizeof name_, "%s", name ? name : ""); }

UIWnd* UIWnd::FindChild(const char* name) const {
  if (!name) return nullptr;
  for (int i = 0; i < childCount_; ++i) {
    const char* a = children_[i]->name_;
    const char* b = name;
    while (*a && *b && std::tolower((unsigned char)*a) == std::tolower((unsigned char)*b)) ++a, ++b;
    if (*a == 0 && *b == 0) return children_[i];
  }
  return nullptr;
}

bool UIWnd::AddChild(UIWnd* child) {
  if (!child || child->parent_ == this) return false;
  for (const UIWnd* p = this; p; p = p->parent_)
    if (p == child) return false;  // would make a cycle
  if (childCount_ >= kMaxChildren) {
    std::fprintf(stderr, "Window %s: no room for a 128th child\n", name_);
    // A window handed over without a parent belongs to nobody else: it is destroyed as this window
    // would have destroyed it. One that has a parent stays where it is.
    if (!child->parent_) wndDefer(child);
    return false;
  }
  if (child->parent_) child->parent_->Unlink(child);
  wndRescue(child);  // taken back after a removal: it must not die at the end of the step
  children_[childCount_] = child;
  active_ = int8_t(childCount_);
  ++childCount_;
  child->parent_ = this;
  if (child->font_ != font_) {
    sprRelease(child->font_);
    child->font_ = font_;
    if (font_) sprAddRef(font_);
  }
  return true;
}

bool UIWnd::Unlink(UIWnd* child) {
  int at = -1;
  for (int i = 0; i < childCount_ && at < 0; ++i)
    if (children_[i] == child) at = i;
  if (at < 0) return false;
  UIWnd* wasActive = ActiveChild();
  std::memmove(children_ + at, children_ + at + 1, sizeof(UIWnd*) * size_t(childCount_ - at - 1));
  children_[--childCount_] = nullptr;
  if (active_ >= childCount_) active_ = int8_t(childCount_ - 1);
  child->parent_ = nullptr;
  return ActiveChild() != wasActive;
}

void UIWnd::RemoveChild(UIWnd* child) {
  if (!child || child->parent_ != this) return;
  if (Unlink(child)) OnFocusChanged();
  DestroyChild(child);
}

void UIWnd::DestroyChild(UIWnd* child) {
  // The child's own handler may be what asked for its removal (a button that switches screens),
  // so it dies later, when no window code is running; meanwhile it takes no input.
  unhookSubtree(child);
  wndDefer(child);
}

void UIWnd::MoveBy(int dx, int dy) {
  for (int i = 0; i < childCount_; ++i) children_[i]->MoveBy(dx, dy);
  x_ = int16_t(x_ + dx);
  y_ = int16_t(y_ + dy);
}

void UIWnd::SetPos(int x, int y) {
  int dx = x - x_, dy = y - y_;
  for (int i = 0; i < childCount_; ++i) children_[i]->SetPos(children_[i]->x_ + dx, children_[i]->y_ + dy);
  x_ = int16_t(x);
  y_ = int16_t(y);
}

void UIWnd::SetColour(uint32_t argb) {
  colour_ = argb;
  for (int i = 0; i < childCount_; ++i) children_[i]->SetColour(argb);
}

void UIWnd::SetAlpha(uint8_t a) {
  colour_ = (colour_ & 0x00FFFFFFu) | (uint32_t(a) << 24);
  for (int i = 0; i < childCount_; ++i) children_[i]->SetAlpha(a);
}

void UIWnd::SetCaptionUtf8(const char* text) { caption_ = textUtf8ToUtf16(text ? text : ""); }

void UIWnd::SetCaptionF(const char* format, ...) {
  char buf[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  SetCaptionUtf8(buf);
}

void UIWnd::OnFocusChanged() {
  for (int i = 0; i < childCount_; ++i) children_[i]->OnFocusChanged();
}

void UIWnd::GrabInput() { wndHookAdd(this); }
void UIWnd::ReleaseInput() { wndHookRemove(this); }
