// UIWndButtonIE: loading the end caps and drawing the capped, repeated or stretched middle.
#include "ui/widget_button.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "files/ini.h"
#include "gfx/render.h"
#include "gfx/sprite.h"

void UIWndButtonIE::Load(const char* file, const char* section) {
  UIWndButtonPrompt::Load(file, section);
  static const char* const kStates[4] = {"ignore", "normal", "active", "press"};
  for (int side = 0; side < 2; ++side) {
    for (int s = 0; s < 4; ++s) {
      const std::string key = std::string(side ? "right" : "left") + kStates[s];
      const std::string picture = iniString(file, section, key.c_str());
      if (picture.empty()) continue;
      CSprite*& slot = images_[4 + side * 4 + s];
      sprRelease(slot);
      slot = sprGet(picture.c_str());
    }
  }
}

void UIWndButtonIE::DrawButton() const {
  const uint32_t mode = ModeFor(colour_);
  CSprite* left = LeftCap();
  CSprite* right = RightCap();
  const int L = sprWidth(left), R = sprWidth(right);
  const int w = std::abs(int(xs_));
  if (CSprite* mid = StateImage()) {
    const int mw = sprWidth(mid), mh = sprHeight(mid);
    if (left && right) {
      // Repeated between the caps, the last copy cut to fit.
      const int span = w - L - R;
      for (int off = 0; mw > 0 && off < span; off += mw)
        grDrawSprite(mode, 15, x_ + L + off, y_, std::min(mw, span - off), mh, mid, 0, 0, colour_, 0);
    } else {
      const int dw = (flip_ >> state_) & 1 ? -xs_ : xs_;
      const int dh = (flip_ >> (state_ + 4)) & 1 ? -mh : mh;
      grDrawSpriteEx(mode, 15, x_ + L, y_, dw, dh, mid, 0, 0, mw, mh, colour_, 0);
    }
  }
  if (left) grDrawSprite(mode, 15, x_, y_, L, sprHeight(left), left, 0, 0, colour_, 0);
  if (right) grDrawSprite(mode, 15, x_ + w - R, y_, R, sprHeight(right), right, 0, 0, colour_, 0);
  DrawCaption();
  DrawBounds();
  DrawPrompt();
}

int UIWndButtonIE::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  DrawButton();
  EndDraw(pushed);
  return 0;
}
