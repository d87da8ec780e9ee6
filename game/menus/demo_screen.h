// The widget demo screen: one of each standard widget built from "data/menu/demo.ini", with a
// status line that tells what the player did.
#pragma once

class UIWnd;

// A new screen ready to be shown (gameShowScreen); null when the definition cannot be read.
UIWnd* uiCreateDemoScreen();
