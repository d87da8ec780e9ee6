// The glowing and the floating button.
#include "ui/ui_deco_button.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "files/ini.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"

namespace Core {

// ---- Glowing button --------------------------------------------------------------------------

UIGlowButton::~UIGlowButton() { sprRelease(highlight_); }

void UIGlowButton::Load(const char* file, const char* section) {
  UIWndButtonIE::Load(file, section);
  const std::string name = iniGetString(file, section, "Highlight", "");
  if (!name.empty()) {
    sprRelease(highlight_);
    highlight_ = sprGet(name.c_str());
  }
  hlX_ = iniGetInt(file, section, "hlX", 0);
  hlY_ = iniGetInt(file, section, "hlY", 0);
}

bool UIGlowButton::Glowing() const { return !Hidden() && state_ == Active && highlight_; }

int UIGlowButton::Draw() {
  const int stop = UIWndButtonIE::Draw();
  if (Glowing()) {
    // The picture's own colours at 92/255 of its alpha, added to what is below.
    grDrawSprite(grModeWord(4, 7, 1, 2, 5), 15, x_ + hlX_, y_ + hlY_, sprWidth(highlight_), sprHeight(highlight_),
                 highlight_, 0, 0, 0x5C000000u, 0);
  }
  return stop;
}

// ---- Floating button -------------------------------------------------------------------------

void UIFloatingButton::Load(const char* file, const char* section) {
  UIWndButtonIE::Load(file, section);
  deltaX_ = iniGetInt(file, section, "isDeltaX", 0) != 0;
  const int period = iniGetInt(file, section, "period", 0);
  if (CSprite* img = images_[Ignore]) {
    int delta = iniGetInt(file, section, "delta", 0);
    if (delta == 0) delta = deltaX_ ? std::abs(sprWidth(img) - xs_) : std::abs(sprHeight(img) - ys_);
    wave_.amplitude = float(delta);
    wave_.Set(period, 0.0f, ValueRamp::kWaveEnd, ValueRamp::Form::Wave);
  }
}

int UIFloatingButton::Update(int dt) {
  wave_.Advance(dt);
  return UIWndButtonIE::Update(dt);
}

float UIFloatingButton::ImageX() const {
  CSprite* img = StateImage();
  const int w = img ? sprWidth(img) : 0;
  const float caps = float(sprWidth(LeftCap()));
  if (state_ == Ignore) return float(x_ + xs_ / 2 - w / 2) + caps;
  if (deltaX_) return float(x_ + xs_ / 2 - w / 2) + wave_.WaveValue() + caps;
  return float(x_) + caps;
}

float UIFloatingButton::ImageY() const {
  CSprite* img = StateImage();
  const int h = img ? sprHeight(img) : 0;
  if (state_ == Ignore || deltaX_) return float(y_ + ys_ / 2 - h / 2);
  return float(y_) + wave_.WaveValue();
}

int UIFloatingButton::Draw() {
  CSprite* img = StateImage();
  if (Hidden() || !img) return 0;
  const float w = float(sprWidth(img)), h = float(sprHeight(img));
  const float dw = (flip_ >> state_) & 1 ? -w : w;
  const float dh = (flip_ >> (state_ + 4)) & 1 ? -h : h;
  const uint32_t c[4] = {colour_, colour_, colour_, colour_};
  grDrawSpriteEx(colour_ == 0xFFFFFFFFu ? kModeTextureAlpha : kModeTintFade, 15, ImageX(), ImageY(), dw, dh, img, 0,
                 0, w, h, c, nullptr, 0);
  DrawBounds();
  return 0;
}

}  // namespace Core
