// Slider geometry: value from a position, fill length, and the track and thumb pictures.
#include "ui/widget_slider.h"

#include <algorithm>
#include <cmath>

#include "files/ini.h"
#include "gfx/sprite.h"
#include "ui/widget_sprite.h"
#include "ui/wnd.h"
#include "platform/platform.h"

float sliderClamp(float v) {
  if (!(v >= 0.0f)) return 0.0f;  // NaN too
  return v > 1.0f ? 1.0f : v;
}

float sliderValueAt(const SliderBar& bar, bool vertical, int x, int y, float current) {
  if (vertical) {
    if (bar.h <= 0) return sliderClamp(current);
    return sliderClamp(float(bar.y + bar.h - y) / float(bar.h));
  }
  if (bar.w <= 0) return sliderClamp(current);
  return sliderClamp(float(x - bar.x) / float(bar.w));
}

int sliderFill(const SliderBar& bar, bool vertical, float value) {
  return int(std::lround(sliderClamp(value) * float(vertical ? bar.h : bar.w)));
}

void sliderDrawParts(const UIWnd& slider, const SliderBar& bar, bool vertical, float value) {
  const int state = slider.State();
  const uint32_t colour = slider.Colour();
  const uint32_t mode = UIWndSprite::ModeFor(colour);
  const int fill = sliderFill(bar, vertical, value);
  UIWnd* empty = slider.Child(0);
  UIWnd* full = slider.Child(1);
  UIWnd* thumb = slider.Child(2);
  auto picture = [&](UIWnd* part) { return part ? part->Image(state) : nullptr; };
  // Pieces of a part's picture; a piece that would leave the picture is cut to it.
  auto piece = [&](CSprite* img, int dx, int dy, int sx, int sy, int w, int h) {
    w = std::min(w, sprWidth(img) - sx);
    h = std::min(h, sprHeight(img) - sy);
    if (w > 0 && h > 0) grDrawSprite(mode, 15, dx, dy, w, h, img, sx, sy, colour, 0);
  };
  if (!vertical) {
    if (CSprite* img = picture(full)) piece(img, bar.x, full->Y(), 0, 0, fill, sprHeight(img));
    if (CSprite* img = picture(empty)) piece(img, bar.x + fill, empty->Y(), fill, 0, bar.w - fill, sprHeight(img));
    if (CSprite* img = picture(thumb)) grDrawSprite(mode, 15, thumb->X() + fill, thumb->Y(), sprWidth(img),
                                                    sprHeight(img), img, 0, 0, colour, 0);
  } else {
    const int top = bar.h - fill;
    if (CSprite* img = picture(empty)) piece(img, empty->X(), bar.y, 0, 0, sprWidth(img), top);
    if (CSprite* img = picture(full)) piece(img, full->X(), bar.y + top, 0, top, sprWidth(img), fill);
    if (CSprite* img = picture(thumb)) grDrawSprite(mode, 15, thumb->X(), thumb->Y() + top, sprWidth(img),
                                                    sprHeight(img), img, 0, 0, colour, 0);
  }
}

void UISliderBase::Load(const char* file, const char* section) {
  UISwitchBase::Load(file, section);
  vertical_ = iniGetInt(file, section, "vertical", 0);
}

int UISliderBase::KeyDown(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyDown(code, value);
  const int gate = InputGate();
  if (gate >= 0) return gate;
  if (code == VK_LBUTTON_ && HitTest(PosX(value), PosY(value))) return OnPress(value);
  if (const int dir = ArrowStep(code)) return OnArrow(dir, value);
  return 0;
}

int UISliderBase::KeyUp(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyUp(code, value);
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  return OnKeyUp(code, value);
}

int UISliderBase::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  DrawButton();
  sliderDrawParts(*this, Bar(), Vertical(), value_);
  EndDraw(pushed);
  return 0;
}
