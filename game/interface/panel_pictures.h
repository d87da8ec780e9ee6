// The pictures of the in-game boards, named in their layout file, and the drawing of the resource,
// goal and time boards with them. Where a board's own picture is missing the caller draws its
// plain stand-in instead.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "game/interface/panel_goals.h"
#include "game/interface/panel_resources.h"
#include "game/interface/panel_time.h"

class CSprite;

namespace Interface {

struct PanelRect;

// Writes a text at (x, y) in a colour; hAlign -1 left, 1 right of x.
using PanelTextFn = std::function<void(int x, int y, const std::string& text, uint32_t argb, int hAlign)>;

// Where the time bar's parts go: the fill's width for the time left, and the gold and silver pins
// at the points the fill's end passes when those times run out (-1 for a time the level lacks).
struct TimeBarLayout {
  int fillWidth = 0;
  int goldX = -1, silverX = -1;
  bool goldPassed = false, silverPassed = false;
};
TimeBarLayout panelTimeBar(const TimeView& t, int barX, int barWidth);

// Top of goal row `row` on a board whose top is `boardY` with a rim of `rim` pixels.
inline int panelGoalRowY(int boardY, int rim, int rowHeight, int row) { return boardY + rim + row * rowHeight; }

// The colour of a resource's number: red while its flash runs at the level's maximum for it, green
// while it runs below, orange while the resource is marked as lacking, else `plain`.
uint32_t panelNumberColour(const cResourcePanel& panel, int resource, uint32_t plain);

class cPanelPictures {
 public:
  cPanelPictures() = default;
  ~cPanelPictures();
  cPanelPictures(const cPanelPictures&) = delete;
  cPanelPictures& operator=(const cPanelPictures&) = delete;

  // Reads the pictures named in `file`; a named picture that cannot be read is reported in gerr.log
  // with the file, section and key. Loading again lets go of the earlier pictures first.
  void Load(const char* file);
  void Release();

  bool HasResourceBoard() const { return m_resourceBoard != nullptr; }
  bool HasGoalBoard() const { return m_top && m_middle && m_bottom; }
  bool HasTimeBoard() const { return m_timeBoard != nullptr; }
  int rimHeight() const;

  // Each draws its board and returns true, or draws nothing and returns false without its board.
  bool DrawResources(const cResourcePanel& panel, const PanelRect& r, const PanelTextFn& text) const;
  bool DrawGoals(const cGoalPanel& goals, const PanelRect& board, int rowHeight, const PanelTextFn& text) const;
  bool DrawTime(const TimeView& t, const PanelRect& r, const PanelTextFn& text) const;
  // The foot of the gold pin on a time board at `r`; false without the board or a gold time.
  bool GoldMarkPoint(const TimeView& t, const PanelRect& r, int& x, int& y) const;
  // The left edge and middle of row `row`'s dot on a goal board at `board`; false without the board.
  bool GoalDotPoint(const PanelRect& board, int rowHeight, int row, int& x, int& y) const;

 private:
  CSprite* m_resourceBoard = nullptr;
  std::array<CSprite*, 4> m_icons{};
  int m_imageX = 4, m_numberX = 40;
  CSprite *m_top = nullptr, *m_middle = nullptr, *m_bottom = nullptr;
  CSprite *m_dotRed = nullptr, *m_dotGreen = nullptr, *m_dotEmpty = nullptr;
  CSprite *m_timeBoard = nullptr, *m_bar = nullptr, *m_barFill = nullptr;
  CSprite *m_markGold = nullptr, *m_markSilver = nullptr, *m_starOn = nullptr, *m_starOff = nullptr;
  int m_barX = 10, m_barY = 34, m_barW = 188, m_barH = 12;
};

}  // namespace Interface
