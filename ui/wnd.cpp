// UIWnd's tree operations: children, update and draw order, input routing, focus and effects.
#include "ui/wnd.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cctype>
#include <cstring>
#include <vector>

#include "files/text.h"
#include "gfx/render.h"
#include "gfx/sprite.h"
#include "sound/sound.h"
#include "platform/platform.h"

bool g_wndBounds = false;
bool g_wndEdit = false;

namespace {
UIWnd* g_root = nullptr;
// Edit-mode dragging: where the left button was last seen while held.
bool g_editHeld = false, g_editDragged = false;
int g_editX = 0, g_editY = 0;
std::vector<UIWnd*> g_hooks;
std::vector<UIWnd*> g_garbage;
void (*g_destroyHook)(UIWnd*) = nullptr;

void unhookSubtree(UIWnd* w) {
  wndHookRemove(w);
  for (int i = 0; i < w->ChildCount(); ++i) unhookSubtree(w->Child(i));
}

template <class F>
int offer(F call) {
  // Copy: a hook may grab or release input while it handles the event.
  std::vector<UIWnd*> hooks = g_hooks;
  for (UIWnd* h : hooks)
    if (std::find(g_hooks.begin(), g_hooks.end(), h) != g_hooks.end())
      if (int r = call(h)) return r;
  return g_root ? call(g_root) : 0;
}
}  // namespace

UIWnd::UIWnd() = default;

UIWnd::~UIWnd() {
  if (g_destroyHook) g_destroyHook(this);
  for (CSprite*& s : images_) {
    sprRelease(s);
    s = nullptr;
  }
  while (childCount_ > 0) {
    UIWnd* c = children_[0];
    std::memmove(children_, children_ + 1, sizeof(UIWnd*) * size_t(childCount_ - 1));
    children_[--childCount_] = nullptr;
    c->parent_ = nullptr;
    delete c;
  }
  sprRelease(font_);
  font_ = nullptr;
  wndHookRemove(this);
  if (g_root == this) g_root = nullptr;
  g_garbage.erase(std::remove(g_garbage.begin(), g_garbage.end(), this), g_garbage.end());
}

void UIWnd::SetName(const char* name) {
  std::snprintf(name_, sizeof name_, "%s", name ? name : "");
}

UIWnd* UIWnd::FindChild(const char* name) const {
  if (!name) return nullptr;
  for (int i = 0; i < childCount_; ++i) {
    const char* a = children_[i]->name_;
    const char* b = name;
    while (*a && *b && std::toupper((unsigned char)*a) == std::toupper((unsigned char)*b)) ++a, ++b;
    if (*a == 0 && *b == 0) return children_[i];
  }
  return nullptr;
}

bool UIWnd::AddChild(UIWnd* child) {
  if (!child) return false;
  if (childCount_ >= kMaxChildren) {
    std::fprintf(stderr, "Window %s: no room for a 128th child\n", name_);
    delete child;
    return false;
  }
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

void UIWnd::RemoveChild(UIWnd* child) {
  int at = -1;
  for (int i = 0; i < childCount_; ++i)
    if (children_[i] == child) at = i;
  if (at < 0) return;
  UIWnd* wasActive = ActiveChild();
  std::memmove(children_ + at, children_ + at + 1, sizeof(UIWnd*) * size_t(childCount_ - at - 1));
  children_[--childCount_] = nullptr;
  if (active_ >= childCount_) active_ = int8_t(childCount_ - 1);
  if (ActiveChild() != wasActive) OnFocusChanged();
  DestroyChild(child);
}

void UIWnd::DestroyChild(UIWnd* child) {
  // The child's own handler may be what asked for its removal (a button that switches screens),
  // so it dies later, when no window code is running.
  child->parent_ = nullptr;
  unhookSubtree(child);
  g_garbage.push_back(child);
}

int UIWnd::Update(int dt) {
  if (Hidden()) return 0;
  age_ += dt;
  for (int i = childCount_ - 1; i >= 0; --i)
    if (i < childCount_ && children_[i]->Update(dt)) return 1;
  return 0;
}

bool UIWnd::EffectBlocksInput() const {
  if (!effect_) return false;
  if (effect_->type == 0) return true;
  bool running = age_ - effect_->start <= effect_->period;
  return !running && effect_->type % 2 == 0;
}

bool UIWnd::EffectTransform(float m[16]) const {
  if (!effect_ || effect_->type == 0) return false;
  int32_t elapsed = age_ - effect_->start;
  bool odd = effect_->type % 2 == 1;
  // A period of 0 (or less) means the effect is already over.
  bool running = effect_->period > 0 && elapsed <= effect_->period;
  if (!running && !odd) return false;
  float t = effect_->period > 0 ? std::min(1.0f, float(elapsed) / float(effect_->period)) : 1.0f;
  if (t < 0) t = 0;
  float f = odd ? t : 1.0f - t;
  float g = effect_->type > 3 ? f * f : f;
  float s = (effect_->scale - 1.0f) * f + 1.0f;
  float r = f * effect_->rotate;
  float cx = float(x_ + xs_ / 2), cy = float(y_ + ys_ / 2);
  float dx = (effect_->x - cx) * g, dy = (effect_->y - cy) * g;
  float c = std::cos(r) * s, sn = std::sin(r) * s;
  // Row vectors: p' = (p - centre) * scale * rotation + centre + offset.
  float tx = -cx * c + cy * sn + cx + dx;
  float ty = -cx * sn - cy * c + cy + dy;
  const float out[16] = {c, sn, 0, 0, -sn, c, 0, 0, 0, 0, 1, 0, tx, ty, 0, 1};
  std::memcpy(m, out, sizeof out);
  return true;
}

int UIWnd::Draw() {
  if (Hidden()) return 0;
  float m[16];
  bool pushed = EffectTransform(m);
  if (pushed) grPushTransform(m);
  if (g_wndBounds)
    grFrameRect(x_, y_, x_ + xs_, y_ + ys_, (flags_ & 8) ? grColor(255, 255, 255) : grColor(255, 0, 255));
  int stop = 0;
  for (int i = childCount_ - 1; i >= 0 && !stop; --i)
    if (i < childCount_ && children_[i]->Draw()) stop = 1;
  // Even when a child stops the drawing, the transform set here must not leak to what follows.
  if (pushed) grPopTransform();
  return stop;
}

int UIWnd::KeyDown(int code, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (g_wndEdit) {
    for (int i = 0; i < childCount_; ++i) children_[i]->KeyDown(code, value);
    return 0;
  }
  UIWnd* a = ActiveChild();
  return a ? a->KeyDown(code, value) : 0;
}

int UIWnd::KeyUp(int code, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (g_wndEdit) {
    for (int i = childCount_ - 1; i >= 0; --i)
      if (children_[i]->KeyUp(code, value)) return 1;
    return EditKey(code, value);
  }
  UIWnd* a = ActiveChild();
  return a ? a->KeyUp(code, value) : 0;
}

int UIWnd::Char(int code, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  UIWnd* a = ActiveChild();
  return a ? a->Char(code, value) : 0;
}

int UIWnd::MouseMove(int buttons, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  return 0;
}

int UIWnd::Start(int a, int b, int c) {
  if (EffectBlocksInput()) return 1;
  UIWnd* w = ActiveChild();
  return w ? w->Start(a, b, c) : 0;
}

int UIWnd::Wheel(float delta, int code, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (g_wndEdit) {
    for (int i = childCount_ - 1; i >= 0; --i)
      if (children_[i]->Wheel(delta, code, value)) return 1;
    return 0;
  }
  UIWnd* a = ActiveChild();
  return a ? a->Wheel(delta, code, value) : 0;
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

int UIWnd::OnCommand(UIWnd* source) { return parent_ ? parent_->OnCommand(source) : 0; }
int UIWnd::OnNotify(UIWnd* source, int message) { return parent_ ? parent_->OnNotify(source, message) : 0; }

void UIWnd::OnFocusChanged() {
  for (int i = 0; i < childCount_; ++i) children_[i]->OnFocusChanged();
}

void UIWnd::Refresh() {
  if (UIWnd* a = ActiveChild()) a->Refresh();
}

bool UIWnd::HitTest(int x, int y) const {
  if (Hidden()) return false;
  int w = std::abs(int(xs_)), h = std::abs(int(ys_));
  return x >= x_ && x < x_ + w && y >= y_ && y < y_ + h;
}

void UIWnd::SetState(int s) {
  // Only four states exist; anything else would pick a picture past the state images.
  s = std::clamp(s, int(Ignore), int(Press));
  if (s == Ignore && parent_ && parent_->ActiveChild() == this) parent_->active_ = -1;
  PlayTransitionSound(state_, s);
  state_ = uint8_t(s);
}

void UIWnd::PlayTransitionSound(int from, int to) {
  const char* name = from == Normal && to == Active ? sndNormalActive_
                     : from == Active && to == Press ? sndActivePress_
                                                     : nullptr;
  if (name && *name) sndPlay(name);
}

void UIWnd::SelectChild(int index, int direction) {
  if (childCount_ == 0) {
    active_ = -1;
    return;
  }
  if (UIWnd* a = ActiveChild()) {
    if (index == active_) {
      if (a->state_ == Normal) a->SetState(Active);
      return;
    }
    if (a->state_ == Active || a->state_ == Press) a->SetState(Normal);
  }
  if (direction == 0) direction = index > active_ ? 1 : index < active_ ? -1 : 0;
  for (int tries = 0; tries < childCount_; ++tries) {
    int i = ((index % childCount_) + childCount_) % childCount_;
    if (children_[i]->state_ == Normal) {
      active_ = int8_t(i);
      children_[i]->SetState(Active);
      OnFocusChanged();
      return;
    }
    index = i + direction;
  }
  active_ = -1;
}

void UIWnd::TrackMouse(int value) {
  int x = int16_t(value & 0xFFFF), y = int16_t((uint32_t(value) >> 16) & 0xFFFF);
  for (int i = 0; i < childCount_; ++i) {
    UIWnd* c = children_[i];
    if (c->state_ != Ignore && c->HitTest(x, y)) {
      SelectChild(i, 1);
      break;
    }
  }
  UIWnd* a = ActiveChild();
  // Through SetState, so a window whose parts share its state (a switch's arrows) follows.
  if (a && a->state_ == Press && !a->HitTest(x, y)) a->SetState(Active);
}

bool UIWnd::TrackHover(int value) {
  const int x = int16_t(value & 0xFFFF), y = int16_t((uint32_t(value) >> 16) & 0xFFFF);
  const int before = active_;
  int hit = -1;
  for (int i = 0; i < childCount_ && hit < 0; ++i) {
    UIWnd* c = children_[i];
    if (!c->Hidden() && c->state_ != Ignore && c->HitTest(x, y)) hit = i;
  }
  if (hit >= 0) SelectChild(hit, 1);
  else active_ = -1;
  UIWnd* a = ActiveChild();
  if (a && a->state_ == Press && !a->HitTest(x, y)) a->SetState(Active);
  // No stale highlight stays behind.
  for (int i = 0; i < childCount_; ++i) {
    UIWnd* c = children_[i];
    if ((c->state_ == Active || c->state_ == Press) && !c->HitTest(x, y)) c->SetState(Normal);
  }
  return active_ != before;
}

void UIWnd::GrabInput() { wndHookAdd(this); }
void UIWnd::ReleaseInput() { wndHookRemove(this); }

void UIWnd::SetCaptionUtf8(const char* text) { caption_ = textUtf8ToUtf16(text ? text : ""); }

void UIWnd::SetCaptionF(const char* format, ...) {
  char buf[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  SetCaptionUtf8(buf);
}

void UIWnd::SetColour(uint32_t argb) {
  colour_ = argb;
  for (int i = 0; i < childCount_; ++i) children_[i]->SetColour(argb);
}

void UIWnd::SetAlpha(uint8_t a) {
  colour_ = (colour_ & 0x00FFFFFFu) | (uint32_t(a) << 24);
  for (int i = 0; i < childCount_; ++i) children_[i]->SetAlpha(a);
}

UIWnd* wndRoot() { return g_root; }
void wndSetRoot(UIWnd* root) { g_root = root; }

void wndCollectGarbage() {
  while (!g_garbage.empty()) {
    UIWnd* w = g_garbage.back();
    g_garbage.pop_back();
    delete w;
  }
}

int wndPendingDestruction() { return int(g_garbage.size()); }
void wndSetDestroyHook(void (*hook)(UIWnd*)) { g_destroyHook = hook; }

void wndHookAdd(UIWnd* w) {
  if (!w || std::find(g_hooks.begin(), g_hooks.end(), w) != g_hooks.end()) return;
  g_hooks.insert(g_hooks.begin(), w);
}

void wndHookRemove(UIWnd* w) { g_hooks.erase(std::remove(g_hooks.begin(), g_hooks.end(), w), g_hooks.end()); }

bool UIWnd::EditDrag(int dx, int dy) {
  if (Hidden()) return false;
  if (flags_ & 8) {
    // The children ride along; the home place is what F2 writes back.
    MoveBy(dx, dy);
    homeX_ = int16_t(homeX_ + dx);
    homeY_ = int16_t(homeY_ + dy);
    return true;
  }
  bool moved = false;
  for (int i = 0; i < childCount_; ++i) moved |= children_[i]->EditDrag(dx, dy);
  return moved;
}

bool wndEditDragged() { return g_wndEdit && g_editDragged; }

int wndOfferKeyDown(int code, int value) {
  if (g_wndEdit && code == VK_LBUTTON_) {
    g_editHeld = true;
    g_editDragged = false;
    g_editX = int16_t(value & 0xFFFF);
    g_editY = int16_t((uint32_t(value) >> 16) & 0xFFFF);
  }
  return offer([&](UIWnd* w) { return w->KeyDown(code, value); });
}
int wndOfferKeyUp(int code, int value) {
  int r = offer([&](UIWnd* w) { return w->KeyUp(code, value); });
  if (code == VK_LBUTTON_) g_editHeld = false;
  return r;
}
int wndOfferChar(int code, int value) { return offer([&](UIWnd* w) { return w->Char(code, value); }); }
int wndOfferMouseMove(int buttons, int value) {
  if (g_wndEdit && g_editHeld && (buttons & 1) && g_root) {
    int x = int16_t(value & 0xFFFF), y = int16_t((uint32_t(value) >> 16) & 0xFFFF);
    if ((x != g_editX || y != g_editY) && g_root->EditDrag(x - g_editX, y - g_editY)) g_editDragged = true;
    g_editX = x;
    g_editY = y;
    return 1;
  }
  return offer([&](UIWnd* w) { return w->MouseMove(buttons, value); });
}
int wndOfferWheel(float delta, int code, int value) {
  return offer([&](UIWnd* w) { return w->Wheel(delta, code, value); });
}
