// Interface::UILoseScreen: the board shown after a lost level, with the witch, one of three lose
// phrases naming the player, and the buttons to leave or to try again.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "game/interface/result_board.h"

namespace Interface {

// The phrase with the player's name in place of its first "%s" (a phrase without one is kept as
// it is; further "%s" stay, so a name can never be read as a format).
std::u16string losePhraseWithName(std::u16string_view phrase, std::u16string_view name);

class UILoseScreen : public UIResultBoard {
 public:
  static constexpr const char* kFile = "data/interface/losescreen.ini";

  UILoseScreen();
  // Builds the board and its windows; false when the definition is missing or has no buttons.
  bool Build(const char* file = kFile);
  // Shows phrase `phrase` (1 to 3) with the player's name.
  void Show(int32_t phrase, const std::u16string& playerName);
  void Hide() { SetHidden(true); }
  int32_t phrase() const { return m_phrase; }


 private:
  bool m_built = false;
  int32_t m_phrase = 0;
};

}  // namespace Interface
