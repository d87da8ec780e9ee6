// Starting a level straight into its game view, without the menus ("Game_No_Menu" with
// "Game_Test_Level").
#pragma once
#include <cstdint>

namespace Game {
// Loads level n with every stage at once and shows it in the game view, the clock started.
// False when the level cannot load (reported in gerr.log).
bool levelStartDirect(int32_t n);
}  // namespace Game
