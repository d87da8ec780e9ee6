// The nine start-up stages run once before the first screen: sound, the animation catalogue and
// its "always" group, fonts, effects, icons, fog, the cursor. The application loading screen runs
// them one per frame; with "Game_No_Menu" they run at once.
#pragma once

constexpr int kAppInitStages = 9;
void gameAppInitStage(int stage);
void gameAppInitAll();
// Cursor slots 1 to 4 take the shapes objects ask for, where the catalogue has them.
void gameAssignCursorShapes();
// Shutdown of what the stages made, in reverse.
void gameAppDoneStages();
// The text font of the first stage (section "TextFont" of the font library), or nullptr.
class CSprite;
CSprite* gameTextFont();
