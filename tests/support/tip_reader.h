// Test support: a player who reads the tip over a level and closes it through the input path (OK
// when the card has it, else a click on the object the tip waits for), so tests that play the demo
// go on past the tutorial. The profile file of the demo's player is dropped first by tests that
// need the same tips on every run.
#pragma once

namespace testkit {
class HeadlessGame;

// The tip that was open and is closed now; -1 when none was open or it would not close.
int CloseOpenTip(HeadlessGame& game);
// Forgets what the players of the current user folder have seen: the record in memory and the
// whole of profile.ini. The next game starts with a fresh player.
void ForgetSeenTips();
}  // namespace testkit
