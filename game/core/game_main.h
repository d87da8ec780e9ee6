// The game half of the application: start-up, the fixed-step frame, drawing, input and shutdown.
#pragma once
#include <cstdint>

#include "game/core/test_switches.h"

class UIWnd;

// False when there is nothing to show (no window, no graphics): the message has been shown and
// the program goes straight to the shutdown.
bool gameInit();
// Start-up stage 0: the sound system, its scripts and the default volumes.
void gameAppInitSound();
int gameFrame();
void gameDraw();
void gameDone();
int gameInput(int message, int code, int value);
// Gives one input message to the game, recording it in the journal when one is written.
int gameDeliverInput(int message, int code, int value);
void gameRequestScreenshot();
// Ends the program the orderly way after the current pass (the leave question's "Yes").
void gameRequestExit();
// Whether the program ends after this pass; a test that plays on afterwards clears it.
bool gameExitRequested();
void gameClearExitRequest();
// game.ini [main] "promo", read at start-up for the menus.
int gamePromo();
// The last measured frame rate of the "Game_Show_Fps" text.
int gameFpsRate();

// The test settings of data/test.ini by name (game/core/test_switches.h, in the file's order); a
// value outside the list reads a spare 0.
int16_t testSetting(TestSwitch s);
const char* testSettingName(TestSwitch s);
void testSettingsLoad(const char* file);

// The fixed step.
constexpr int kStepMs = 25;
constexpr float kMaxFrameMs = 300.0f;
// Runs the update steps for `elapsedMs` of real time through the accumulator; returns how many ran.
int gameAdvance(float elapsedMs);
int32_t gameClock();
void gameSetClock(int32_t ms);
void gameResetSteps();  // accumulator and game clock back to 0
int gameStepCount();  // update steps run since start-up

// Shows a screen: removes every child of the root window and adds `screen` as its only child.
void gameShowScreen(UIWnd* screen);
