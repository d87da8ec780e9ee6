// Decorative texts: a text that types itself, a hint that shows after a delay and fades, a text in
// a colour of its own, and an icon with a number beside it.
#pragma once
#include <string>

#include "anim/period_timer.h"
#include "ui/widget_text.h"

namespace Core {

// "typingText": types its caption one character at a time after Refresh, then tells its parent
// "timeout" ms after the last character.
class UITypingText : public UITextStatic {
 public:
  static constexpr size_t kMaxText = 1023;
  UITypingText();
  void Load(const char* file, const char* section) override;
  // Types from the first character again (and shows the window).
  void Refresh() override;
  // Shows the whole text at once; no command follows.
  int Start(int a, int b, int c) override;
  int Update(int dt) override;
  int Draw() override;
  const std::u16string& FullText() const { return text_; }
  bool Typing() const { return !charTimer_.IsStopped(); }
  bool Waiting() const { return !timeout_.IsStopped(); }

 private:
  std::u16string text_, shown_;
  size_t next_ = 0;
  PeriodTimer charTimer_, timeout_;
};

// "hint": shown with Show(text), it waits "timeout" ms, fades in over "period" ms and stays until
// Hide fades it out. Its name is always "Hint".
class UIHint : public UITextStatic {
 public:
  enum HintState { kFadingIn = 0, kFadingOut = 1, kShown = 2, kHidden = 3 };
  UIHint();
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;
  void Show(const std::u16string& text);
  void Hide();
  int HintState() const { return hintState_; }

 private:
  int hintState_ = kHidden;
  int32_t fadePeriod_ = 0;
  PeriodTimer fade_, timeout_;
  // The alpha share a fade-out starts from (below 1 when hidden while still fading in).
  float fadeOutFrom_ = 1.0f;
  uint8_t CurrentAlpha() const;
};

// "colorText": a wrapped text in the colour of "r", "g", "b", "a", tinted or multiplied ("isMul").
class UIColorText : public UITextStatic {
 public:
  void Load(const char* file, const char* section) override;
  int Draw() override;
  // The render mode the text is drawn with for the window's colour.
  uint32_t TextMode() const;
  // The caption in lines; the soft hyphen is an ordinary character here.
  std::vector<std::u16string> ColorLines();
  int ColorLineHeight() const;

 private:
  bool multiply_ = false;
};

// "iconWithNumber": a picture with its caption drawn as a number to its right.
class UIIconWithNumber : public UIWndSprite {
 public:
  void Load(const char* file, const char* section) override;
  int Draw() override;
  // Widens the window when the number would not fit beside the picture.
  int Start(int a, int b, int c) override;
  int MouseMove(int buttons, int value) override;
  uint32_t NumberColour() const { return numberColour_; }
  // The number's render mode: the font's own colours for the default colours, else the number's.
  uint32_t NumberMode() const;

 private:
  uint32_t numberColour_ = 0xFF000000u;
  int numberX_ = 0, numberY_ = 0;
};

// Reads "r", "g", "b" and "a" of a section as a colour; "a" 0 (or missing) is opaque.
uint32_t uiReadColour(const char* file, const char* section);

}  // namespace Core
