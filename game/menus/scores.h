// The high-score table of scores.ini (best first, at most eight rows) and Menu::UIScores, the
// dialog that enters the player's total into it and shows it ("data/menu/menu_scores.ini").
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "anim/period_timer.h"
#include "files/profile.h"
#include "game/menus/dialog.h"

namespace Menu {

struct cScoreRow {
  std::u16string name;
  int32_t value = 0;
};

class cScoreList {
 public:
  static constexpr int kRows = kScoreEntries;

  // The named rows of "Score0" to "Score7" (the shipped defaults while the player's table has no
  // first name), best first: a hand-edited table out of order is put in order.
  void Load();
  // All eight sections, rows past the end with no name and 0, written and saved once.
  bool Save() const;
  // Enters a result. A player keeps one row, holding their best total: a name already in the
  // table moves up when the score beats its row, and nothing changes otherwise. A new row goes
  // before the first row whose value is not greater; the last row drops out only when the table
  // was full, and a full table whose every row is greater takes nothing. No name, or a score
  // below 1, enters nothing. True when the table changed.
  bool Enter(std::u16string_view name, int32_t score);

  const std::vector<cScoreRow>& Rows() const { return rows_; }
  void SetRows(std::vector<cScoreRow> rows) { rows_ = std::move(rows); }
  // The row the last Enter wrote, -1 when it changed nothing.
  int EnteredAt() const { return enteredAt_; }

 private:
  std::vector<cScoreRow> rows_;
  int enteredAt_ = -1;
};

class UIScores : public UIDialog {
 public:
  static constexpr const char* kFile = "data/menu/menu_scores.ini";
  static constexpr int32_t kFinaleSoundMs = 1000;
  // The colour of the values.
  static constexpr uint32_t kValueColour = 0x0096FF96u;

  // Loads the table, enters (name, score) and saves the table when that changed it, then builds
  // the dialog. `finale`: opened at the end of the game (a sound after a second, the hidden
  // "Back" drawn under the rows). Null when the definition has no section "Main".
  static UIScores* Create(UIWnd* owner, std::u16string_view name, int32_t score, bool finale);

  int MouseMove(int buttons, int value) override;
  int Update(int dt) override;
  int Draw() override;

  bool Finale() const { return finale_; }
  const cScoreList& Table() const { return table_; }
  // The name and value windows of row r (null past the rows shown).
  UIWnd* NameWindow(int r) const;
  UIWnd* ValueWindow(int r) const;
  const PeriodTimer& FinaleTimer() const { return finaleTimer_; }

 protected:
  explicit UIScores(UIWnd* owner) : UIDialog(owner) {}
  // Enter and Escape both press "ScoresOk" while it is there and shown.
  UIWnd* ButtonForKey(int code) override;
  bool IsClosingButton(const char* name) const override;

 private:
  void Build();
  // The content fade whitens every child; the values keep their own colour under its alpha.
  void ColourValues();

  cScoreList table_;
  bool finale_ = false;
  PeriodTimer finaleTimer_{kFinaleSoundMs, PeriodTimer::kStopped};
  std::vector<UIWnd*> names_, values_;
};

}  // namespace Menu
