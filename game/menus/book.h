// The achievements book (Menu::UIBook, "data/menu/achievements.ini"): every achievement of the
// current player and game mode in a scrolling list, the most recently earned first, with the
// share earned so far. It reads the achievements through a small read-only source, so it does
// not depend on how they are counted.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/menus/dialog.h"

namespace Game {
class cAchievementTable;
}

namespace Menu {

// One achievement as the book shows it: its text (already the hidden text for one that is
// neither visible nor earned), running value, order number (0 not earned, else the order in
// which it was earned), target and whether it is listed before it is earned.
struct cBookRecord {
  std::u16string text;
  int32_t value = 0;
  int32_t order = 0;
  int32_t target = 0;
  bool visible = false;
};

// The records in the table's order (index = achievement number) and the number earned (the
// highest order number).
struct cBookRecords {
  std::vector<cBookRecord> records;
  int32_t earned = 0;
};

// Where the book takes its records from: a source set here, else the run's achievement table
// while it exists, else the definitions and the current player's saved progress.
using BookSourceFn = cBookRecords (*)();
void bookSetSource(BookSourceFn source);
cBookRecords bookRecords();
// Every record of the table as it would list it (the hidden text for a secret one).
cBookRecords bookRecordsFromTable(const Game::cAchievementTable& table);
// The definitions of "data/interface/achievements.ini" ("ach0" to "ach57": "text",
// "valueToAchieve", "visible"; [Main] "HiddenAchText") with the values and order numbers the
// current player has for the current mode.
cBookRecords bookRecordsFromProfile();

// The achievement a game without a clock can never earn, left out of the book in that mode.
constexpr int kBookTimeOverAchievement = 52;
// The indices of the records shown, in the book's order: order number highest first, records of
// equal order in table order; in the game mode NoTime (2) without the time-over achievement.
std::vector<int> bookShownOrder(const std::vector<cBookRecord>& records, int mode);

class UIBook : public UIDialog {
 public:
  static constexpr const char* kFile = "data/menu/achievements.ini";

  // The book of `records` for game mode `mode`; `owner` gets "AchClose" once it has faded out.
  // Null when the definition has no section "Main".
  static UIBook* Create(UIWnd* owner, const cBookRecords& records, int mode);
  // The current player's book from the book's source.
  static UIBook* Create(UIWnd* owner);

  int MouseMove(int buttons, int value) override;
  int OnNotify(UIWnd* source, int message) override;
  int OnCommand(UIWnd* source) override;
  int Draw() override;

  // Over a level the book hides all behind it: its darkening deepens to black, and once it is
  // black what lies behind need not be drawn at all.
  void CoverScreen();
  bool CoversScreen() const { return back_.value >= 255.0f; }

  int Shown() const { return int(shown_.size()); }
  int Earned() const { return earned_; }
  // The achievement index shown in row r, -1 past the rows.
  int IndexAt(int r) const { return r >= 0 && r < Shown() ? shown_[size_t(r)] : -1; }

 protected:
  explicit UIBook(UIWnd* owner) : UIDialog(owner) {}
  // Enter and Escape both close the book.
  UIWnd* ButtonForKey(int code) override;
  bool IsClosingButton(const char* name) const override;

 private:
  void Build(const cBookRecords& records, int mode);

  std::vector<int> shown_;
  int earned_ = 0;
};

}  // namespace Menu
