// The way between the menus and a level: the level map, a level started through its loading
// screen, and what follows a level (the map again, or the same level once more).
#pragma once

namespace Menu {
// The level map as the only screen; the player's progress record is made when missing.
void ShowLevelMap();
// "Play" on the main menu: the intro comics before a first level 1, otherwise the level map.
void StartGame();
// "Play" on the level map: the intro comics for level 1, otherwise StartLevel.
void PlayCurrentLevel();
// The current level of the current mode, through the level loading screen into the game view.
void StartLevel();
// After a level has ended (its result seen, or left from the in-game menu): the level map, or
// the same level again when `restart`.
void AfterLevel(bool restart);
}  // namespace Menu
