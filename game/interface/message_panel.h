// Interface::UIGameMessage: the blinking note over the level (shown when the first worker is
// ready and the clock waits for the player, hidden when the clock starts).
#pragma once
#include <cstdint>

#include "ui/widget_sprite.h"

namespace Interface {

// The note's alpha `ms` into its blink: up from 0 to 255 over the first half second, down to 0
// by the end of the second, then 0 for half a second; the whole repeats every 1500 ms.
int32_t messageBlinkAlpha(int32_t ms);

class UIGameMessage : public UIWndSprite {
 public:
  static constexpr const char* kFile = "data/interface/message.ini";
  static constexpr int32_t kBlinkMs = 1000;
  static constexpr int32_t kPauseMs = 500;

  UIGameMessage();
  // Builds the window and its text "Message"; false when the definition is missing.
  bool Build(const char* file = kFile);
  bool Built() const { return m_built; }
  void Show();
  void Hide() { SetHidden(true); }
  int32_t blinkMs() const { return m_ms; }

  int Update(int dt) override;
  int Draw() override;
  // The note only tells: it takes no input.
  bool HitTest(int, int) const override { return false; }

 private:
  bool m_built = false;
  int32_t m_ms = 0;
};

}  // namespace Interface
