// The game's side of the player store: what selecting a player changes (volumes, the cursor), and
// the player list's place in the start-up stages.
#pragma once

// Connects the player store to the sound system and cursor, then loads the player list and its
// current player (start-up stage 0).
void gamePlayersInit();
// The current player's cursor setting, for a cursor made after the player was selected.
void gameApplyPlayerCursor();
// Runs without menus ("Game_No_Menu"): a player "Test" when there is none, made current, at the
// level "Game_Test_Level" names when that is a level.
void gameEnsureTestPlayer();
