// Typing text, hint, colour text and icon with a number.
#include "ui/ui_deco_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "files/ini.h"
#include "gfx/font.h"
#include "gfx/render.h"
#include "gfx/render_device.h"

namespace Core {

uint32_t uiReadColour(const char* file, const char* section) {
  const int r = iniGetInt(file, section, "r", 0), g = iniGetInt(file, section, "g", 0);
  const int b = iniGetInt(file, section, "b", 0);
  int a = iniGetInt(file, section, "a", 0);
  if (a == 0) a = 255;
  return grColor(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255), std::clamp(a, 0, 255));
}

// ---- Typing text -------------------------------------------------------------------------------

UITypingText::UITypingText() {
  charTimer_.Stop();
  timeout_.Stop();
}

void UITypingText::Load(const char* file, const char* section) {
  UITextStatic::Load(file, section);
  text_ += caption_;
  if (text_.size() > kMaxText) text_.resize(kMaxText);
  shown_.clear();
  caption_ = shown_;
  charTimer_.SetPeriod(iniGetInt(file, section, "period", 0));
  timeout_.SetPeriod(iniGetInt(file, section, "timeout", 0));
}

void UITypingText::Refresh() {
  // Typing again starts from an empty line and forgets a timeout that was running.
  next_ = 0;
  shown_.clear();
  caption_.clear();
  timeout_.Stop();
  charTimer_.Restart();
  SetHidden(false);
}

int UITypingText::Start(int, int, int) {
  shown_ = text_;
  caption_ = text_;
  next_ = text_.size();
  charTimer_.Stop();
  timeout_.Stop();
  return 0;
}

int UITypingText::Update(int dt) {
  bool timeoutStarted = false;
  if (charTimer_.Advance(dt)) {
    if (next_ >= text_.size() || caption_.size() > next_) {
      timeout_.Restart();
      timeoutStarted = true;
    } else {
      shown_.push_back(text_[next_++]);
      caption_ = shown_;
      // The wait begins with the last character, not one character period later.
      if (next_ >= text_.size()) {
        timeout_.Restart();
        timeoutStarted = true;
      } else {
        charTimer_.Restart();
      }
    }
  }
  if (!timeoutStarted && timeout_.Advance(dt) && parent_) {
    // The parent may replace the screen in its handler: nothing else updates this step.
    parent_->OnCommand(this);
    return 1;
  }
  return UITextStatic::Update(dt);
}

int UITypingText::Draw() { return Hidden() ? 0 : UITextStatic::Draw(); }

// ---- Hint ------------------------------------------------------------------------------------

UIHint::UIHint() {
  SetName("Hint");
  fade_.Stop();
  timeout_.Stop();
}

void UIHint::Load(const char* file, const char* section) {
  UITextStatic::Load(file, section);
  SetName("Hint");
  fadePeriod_ = std::max(0, iniGetInt(file, section, "period", 0));
  fade_.SetPeriod(fadePeriod_);
  timeout_.SetPeriod(iniGetInt(file, section, "timeout", 0));
}

void UIHint::Show(const std::u16string& text) {
  if (hintState_ != kHidden) return;
  caption_ = text;
  fade_.Stop();
  fade_.SetTime(0);
  timeout_.Restart();
  hintState_ = kFadingIn;
  SetAlpha(0);
}

void UIHint::Hide() {
  if (hintState_ == kShown) {
    fadeOutFrom_ = 1.0f;
    fade_.SetPeriod(fadePeriod_);
  } else if (hintState_ == kFadingIn) {
    timeout_.Stop();
    const int32_t elapsed = fade_.IsStopped() ? 0 : fade_.Time();
    // It fades out from the alpha it had reached, not from full, so it never flashes up.
    fadeOutFrom_ = fadePeriod_ > 0 ? float(elapsed) / float(fadePeriod_) : 0.0f;
    fade_.SetPeriod(fadePeriod_ - elapsed);
  } else {
    return;
  }
  fade_.Restart();
  hintState_ = kFadingOut;
}

uint8_t UIHint::CurrentAlpha() const {
  const int32_t period = fade_.Period();
  float a = 0;
  if (hintState_ == kFadingIn) a = period > 0 ? float(fade_.Time()) / float(period) : 0.0f;
  else if (hintState_ == kFadingOut) a = period > 0 ? fadeOutFrom_ * (1.0f - float(fade_.Time()) / float(period)) : 0.0f;
  return uint8_t(std::clamp(int(std::lround(a * 255.0f)), 0, 255));
}

int UIHint::Update(int dt) {
  if (hintState_ == kFadingIn) {
    if (timeout_.Advance(dt)) {
      fade_.SetPeriod(fadePeriod_);
      fade_.Restart();
    } else if (fade_.Advance(dt)) {
      hintState_ = kShown;
      SetAlpha(255);
    }
  } else if (hintState_ == kFadingOut) {
    if (fade_.Advance(dt)) hintState_ = kHidden;
  }
  if (hintState_ == kFadingIn || hintState_ == kFadingOut) SetAlpha(CurrentAlpha());
  return UITextStatic::Update(dt);
}

int UIHint::Draw() { return hintState_ == kHidden ? 0 : UITextStatic::Draw(); }

// ---- Colour text -----------------------------------------------------------------------------

void UIColorText::Load(const char* file, const char* section) {
  UITextStatic::Load(file, section);
  colour_ = uiReadColour(file, section);
  multiply_ = iniGetInt(file, section, "isMul", 0) != 0;
}

uint32_t UIColorText::TextMode() const {
  if (colour_ == 0xFFFFFFFFu || colour_ == 0xFF000000u) return kModeTextureAlpha;
  return multiply_ ? kModeTintFade : grModeWord(4, 3, 1, 6, 5);
}

std::vector<std::u16string> UIColorText::ColorLines() {
  // The shared line breaker treats the soft hyphen as a break point; here it is an ordinary
  // character, so it stands in as a private-use code (no width, no break) while lines are made.
  constexpr char16_t kStandIn = 0xE000;
  const std::u16string original = caption_;
  std::replace(caption_.begin(), caption_.end(), char16_t(173), kStandIn);
  std::vector<std::u16string> lines = Lines();
  caption_ = original;
  for (std::u16string& l : lines) std::replace(l.begin(), l.end(), kStandIn, char16_t(173));
  return lines;
}

int UIColorText::ColorLineHeight() const { return int(std::lround(fontLineHeight(font_) * spacing_)); }

int UIColorText::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  if (font_) {
    const std::vector<std::u16string> lines = ColorLines();
    const int step = ColorLineHeight();
    const int total = int(lines.size()) * step, h = std::abs(int(ys_));
    int y = y_ + (yalign_ == 0 ? (h - total) / 2 : yalign_ > 0 ? h - total : 0);
    for (const std::u16string& l : lines) {
      fontDrawText(TextMode(), 15, fontX_, fontY_, font_, float(AnchorX()), y, l.c_str(), TextStyle(), xalign_, -1,
                   colour_);
      y += step;
    }
  }
  DrawBounds();
  const int stop = DrawChildrenForward();
  EndDraw(pushed);
  return stop;
}

// ---- Icon with a number ----------------------------------------------------------------------

void UIIconWithNumber::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  numberColour_ = uiReadColour(file, section);
  numberX_ = iniGetInt(file, section, "numberX", 0);
  numberY_ = iniGetInt(file, section, "numberY", 0);
}

uint32_t UIIconWithNumber::NumberMode() const {
  const bool own = numberColour_ == 0xFFFFFFFFu || numberColour_ == 0xFF000000u;
  return grModeWord(4, own ? 2 : 3, 1, 6, 5);
}

int UIIconWithNumber::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  DrawStateImage();
  DrawBounds();
  if (font_ && !caption_.empty()) {
    const uint32_t colour = (numberColour_ & 0x00FFFFFFu) | (colour_ & 0xFF000000u);
    fontDrawText(NumberMode(), 15, 1.0f, 1.0f, font_, float(x_ + xs_ + numberX_), y_ + ys_ / 2 + numberY_,
                 caption_.c_str(), 0, 1, 0, colour);
  }
  const int stop = DrawChildrenForward();
  EndDraw(pushed);
  return stop;
}

int UIIconWithNumber::Start(int, int, int) {
  const int t = fontTextWidth(font_, caption_.c_str());
  CSprite* img = StateImage();
  const int i = img ? sprWidth(img) : xs_;
  if (i + numberX_ < t) xs_ = int16_t(t - numberX_);
  return 0;
}

int UIIconWithNumber::MouseMove(int buttons, int value) {
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  TrackMouse(value);
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  return 0;
}

}  // namespace Core
