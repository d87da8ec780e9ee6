// Interface::UIInterface: the window that frames a level in play. It holds the resource, goal and
// time panels and the numbers flying up from the map, follows the level through its events, and
// keeps map clicks off the boards.
#pragma once
#include <cstdint>
#include <string>

#include "game/interface/panel_goals.h"
#include "game/interface/panel_resources.h"
#include "game/interface/panel_time.h"
#include "ui/wnd.h"

class CSprite;
namespace Game {
struct LevelContext;
}

namespace Interface {

// A board's place on the screen (from "data/interface/panels.ini", one section per board).
struct PanelRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// The board's place read from section `section` of `file`; `def` for keys that are missing, and
// for sizes that are not positive (reported in gerr.log naming the file).
PanelRect panelReadRect(const char* file, const char* section, PanelRect def);

class UIInterface : public UIWnd {
 public:
  static constexpr const char* kLayoutFile = "data/interface/panels.ini";
  static constexpr int kGoalRowHeight = 24;

  UIInterface();
  ~UIInterface() override;
  // Binds the panels to a loaded level (its stock, goals, map and clock).
  void LevelStart(Game::LevelContext* level);
  // The level is going: the panels let go of it.
  void LevelEnd();

  int Update(int dt) override;
  int Draw() override;
  // Only the boards themselves: the map between them stays clickable.
  bool HitTest(int x, int y) const override;

  const cResourcePanel& resources() const { return m_resources; }
  const cGoalPanel& goals() const { return m_goals; }
  TimeView time() const;
  const PanelRect& resourceRect() const { return m_resourceRect; }
  const PanelRect& goalRect() const { return m_goalRect; }
  const PanelRect& timeRect() const { return m_timeRect; }
  // The goal board grows with its visible rows.
  PanelRect goalBoard() const;

 private:
  void DrawBoard(const PanelRect& r) const;
  void DrawText(int x, int y, const std::string& text, uint32_t argb, int hAlign = -1) const;
  void DrawResources() const;
  void DrawGoals() const;
  void DrawTime() const;
  void DrawFlying() const;

  Game::LevelContext* m_level = nullptr;
  cResourcePanel m_resources;
  cGoalPanel m_goals;
  PanelRect m_resourceRect, m_goalRect, m_timeRect;
  CSprite* m_board = nullptr;
  CSprite* m_text = nullptr;
};

}  // namespace Interface
