// UIWndSprite: state picture, caption lines, forward child order and the shared button logic.
#include "ui/widget_sprite.h"

#include <cstdlib>

#include "files/ini.h"
#include "gfx/font.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "platform/platform.h"

void UIWndSprite::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  imageW_ = int16_t(iniGetInt(file, section, "xsSpr", 0));
  imageH_ = int16_t(iniGetInt(file, section, "ysSpr", 0));
  imageXAlign_ = int8_t(iniGetInt(file, section, "xalignSpr", -1));
  imageYAlign_ = int8_t(iniGetInt(file, section, "yalignSpr", -1));
}

uint32_t UIWndSprite::ModeFor(uint32_t argb) { return argb == 0xFFFFFFFFu ? kModeAuto : kModeTintFade; }

int UIWndSprite::InputGate() const {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (state_ == Ignore) return 0;
  return -1;
}

bool UIWndSprite::IsClickKey(int code, int value) const {
  return code == VK_RETURN_ || (code == VK_LBUTTON_ && HitTest(PosX(value), PosY(value)));
}

int UIWndSprite::PressOnKey(int code, int value) {
  if (state_ != Active || !IsClickKey(code, value)) return 0;
  SetState(Press);
  return 1;
}

int UIWndSprite::ReleaseOnKey(int code, int value) {
  if (state_ != Press) return 0;
  // Any key released ends the press, so a button is never left pressed by a key it did not
  // expect; only Enter, or the button released inside, clicks.
  SetState(Active);
  if (code != VK_RETURN_ && code != VK_LBUTTON_) return 0;
  if (IsClickKey(code, value)) OnCommand(this);
  return 1;
}

int UIWndSprite::KeyDown(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyDown(code, value);
  int gate = InputGate();
  if (gate >= 0) return gate;
  if (UIWnd* a = ActiveChild())
    if (int r = a->KeyDown(code, value)) return r;
  return PressOnKey(code, value);
}

int UIWndSprite::KeyUp(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyUp(code, value);
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  if (UIWnd* a = ActiveChild())
    if (int r = a->KeyUp(code, value)) return r;
  return ReleaseOnKey(code, value);
}

bool UIWndSprite::BeginDraw(float m[16]) const {
  bool pushed = EffectTransform(m);
  if (pushed) grPushTransform(m);
  return pushed;
}

void UIWndSprite::EndDraw(bool pushed) {
  if (pushed) grPopTransform();
}

void UIWndSprite::DrawStateImage() const {
  CSprite* img = StateImage();
  if (!img) return;
  const int sw = sprWidth(img), sh = sprHeight(img);
  const int w = imageW_ ? std::abs(int(imageW_)) : sw;
  const int h = imageH_ ? std::abs(int(imageH_)) : sh;
  const int boxW = std::abs(int(xs_)), boxH = std::abs(int(ys_));
  const int ix = x_ + (imageXAlign_ < 0 ? 0 : imageXAlign_ == 0 ? (boxW - w) / 2 : boxW - w);
  const int iy = y_ + (imageYAlign_ < 0 ? 0 : imageYAlign_ == 0 ? (boxH - h) / 2 : boxH - h);
  const int dw = (flip_ >> state_) & 1 ? -w : w;
  const int dh = (flip_ >> (state_ + 4)) & 1 ? -h : h;
  grDrawSpriteEx(ModeFor(colour_), 15, ix, iy, dw, dh, img, 0, 0, sw, sh, colour_, 0);
}

std::vector<UIWndSprite::CaptionLine> UIWndSprite::CaptionLayout() const {
  std::vector<CaptionLine> lines;
  if (caption_.empty()) return lines;
  const int w = std::abs(int(xs_)), h = std::abs(int(ys_));
  int ax = x_ + (xalign_ < 0 ? 0 : xalign_ == 0 ? w / 2 : w);
  int ay = y_ + (yalign_ < 0 ? 0 : yalign_ == 0 ? h / 2 : h);
  const int step = 2 * fontLineHeight(font_);
  size_t from = 0;
  for (;;) {
    size_t at = caption_.find(u"<>", from);
    lines.push_back({caption_.substr(from, at == std::u16string::npos ? std::u16string::npos : at - from), ax, ay});
    if (at == std::u16string::npos) break;
    from = at + 2;
    ay += step;
  }
  return lines;
}

void UIWndSprite::DrawCaption() const {
  if (!font_ || caption_.empty()) return;
  for (const CaptionLine& l : CaptionLayout())
    fontDrawText(ModeFor(colour_), 15, 1.0f, 1.0f, font_, float(l.x), l.y, l.text.c_str(), TextStyle(), xalign_,
                 yalign_, colour_);
}

void UIWndSprite::DrawBounds() const {
  if (g_wndBounds)
    grFrameRect(x_, y_, x_ + xs_, y_ + ys_, Marked() ? grColor(255, 255, 255) : grColor(255, 0, 255));
}

int UIWndSprite::DrawChildrenForward() {
  for (int i = 0; i < childCount_; ++i)
    if (children_[i]->Draw()) return 1;
  return 0;
}

int UIWndSprite::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  DrawStateImage();
  DrawCaption();
  DrawBounds();
  const int stop = DrawChildrenForward();
  EndDraw(pushed);
  return stop;
}
