// The main menu: the hub that greets the current player, starts the game and opens the dialogs for
// players, game mode and options, and asks before leaving the program.
#pragma once
#include "game/menus/dialog.h"
#include "ui/ui_fade.h"

namespace Menu {

class UIMainMenu : public UIWithModal<Core::UIMenuWithFade> {
 public:
  static constexpr const char* kFile = "data/menu/UIMainMenu.ini";
  // The kinds of dialog the menu shows over itself.
  enum Kind { kNone = 0, kExit = 1, kPlayers = 2, kOptions = 3, kScores = 4, kUrl = 5, kGameMode = 6, kPromo = 7,
              kAchievements = 8 };

  // Builds the menu from its definition; with no player yet the name of the first is asked at
  // once. `showScores`: the game has just been finished, and the score table comes up at once
  // (its OK then opens the achievements book).
  static UIMainMenu* Create(bool showScores = false);

  void Load(const char* file, const char* section) override;
  int KeyDown(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int OnCommand(UIWnd* source) override;
  int Update(int dt) override;

  // "PlayerName" shows the current player; "PlayerMode" the mode, while the player has chosen one.
  void UpdatePlayerLabels();
  // The "Exit" question (Escape on the menu asks it too). False when a dialog is already open.
  bool AskExit();
  bool PlayPending() const { return playPending_; }
  bool Leaving() const { return leaving_; }

 private:
  void OpenGameMode();
  void OpenPlayers();
  void OpenOptions();
  // The score table with the player's total; `finale` at the end of the game.
  void OpenScores(bool finale);
  void OpenBook();
  void StartGame();
  // What follows a confirmed "Url" question.
  void OpenUrl();

  bool playPending_ = false;
  bool leaving_ = false;
};

}  // namespace Menu
