// Interface::UIFlyingMessage: the win lettering ("LevelUp"). Its letters drop from above the
// screen, bounce on a floor line, rest a moment, then fall away fading.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ui/widget_sprite.h"

namespace Interface {

// The letters' motion, apart from any drawing.
class cFlyingLetters {
 public:
  static constexpr size_t kMaxLetters = 128;
  static constexpr float kCentreX = 511.0f;
  static constexpr float kGap = 2.0f;
  static constexpr float kFloorY = 374.0f;
  static constexpr float kStartSpeed = 800.0f;
  static constexpr int32_t kRestMs = 600;

  enum State : uint8_t { kFalling = 0, kResting, kLeaving, kGone };
  struct Letter {
    char16_t ch = 0;
    float x = 0, y = 0, speed = 0;
    float alpha = 255.0f;
    int32_t restMs = 0;
    State state = kFalling;
  };

  // One letter per width (at most 128); `fractions` are the random fractions in [0, 1] that spread
  // the starting heights (missing ones count as 0). The word is centred on kCentreX.
  void Start(const std::u16string& text, const std::vector<int>& widths, const std::vector<float>& fractions);
  void Update(int32_t ms);
  bool Done() const;
  bool Running() const { return !m_letters.empty() && !Done(); }
  const std::vector<Letter>& Letters() const { return m_letters; }

 private:
  std::vector<Letter> m_letters;
};

class UIFlyingMessage : public UIWnd {
 public:
  static constexpr const char* kFile = "data/interface/main.ini";

  UIFlyingMessage();
  ~UIFlyingMessage() override;
  // Takes the text "#INTERFACE_YOUWIN" and the font named in [YouWin] of main.ini; the letters'
  // starting heights come from the logged random numbers.
  void Start();
  void Stop();
  int Update(int dt) override;
  int Draw() override;
  bool HitTest(int, int) const override { return false; }
  const cFlyingLetters& letters() const { return m_letters; }

 private:
  cFlyingLetters m_letters;
  CSprite* m_font = nullptr;
  float m_scale = 1.0f;
};

}  // namespace Interface
