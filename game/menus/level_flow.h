// The way between the menus and a level: the level map, a level started through its loading
// screen, and what follows a level (the map again, or the same level once more).
#pragma once

namespace Menu {
// The level map as the only screen; the player's progress record is made when missing.
void ShowLevelMap();
// "Play" on the main menu: the level map, or the intro story while level 1 was never played.
void StartGame();
// "Play" on the level map: the level; level 1 with the intro story before it.
void PlayCurrentLevel();
// The current level of the current mode, marked as played, through the level loading screen into
// the game view; with "Game_No_Menu" every stage at once.
void StartLevel();
// After a level has ended (its result seen, or left from the in-game menu): the level map, the
// same level again when `restart`, or the story that follows a won level (the game's last one
// after the level that ends the game).
void AfterLevel(bool restart);

// The level the campaign goes on with after `level` is won: the next one, passing over a bonus
// level (those open by stars); 0 when the campaign has no further level (past 48, or no map for
// it in the data, as when a demo stops early).
int NextLevelAfter(int level, bool (*levelExists)(int));
// True when the data has a map for level n.
bool LevelExists(int n);

// A won level's result goes into the current player's record (the best score and stars and the
// shortest time are kept), the next level opens and becomes current, and the mode's progress is
// saved once. Answers the player's total score afterwards (0 without a player).
int RecordLevelWon(int level, int score, int seconds, int stars);
}  // namespace Menu
