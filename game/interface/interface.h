// Interface::UIInterface: the window that frames a level in play. It holds the resource, goal and
// time panels and the numbers flying up from the map, follows the level through its events, and
// keeps map clicks off the boards. Its hidden children are the screens that end a level, the
// blinking note and the win lettering; while one of its screens (or the achievements book, opened
// with its button) is open it is modal.
#pragma once
#include <cstdint>
#include <string>

#include "game/core/events.h"
#include "game/interface/panel_goals.h"
#include "game/interface/panel_pictures.h"
#include "game/interface/panel_resources.h"
#include "game/interface/panel_time.h"
#include "game/menus/dialog.h"
#include "ui/wnd.h"

class CSprite;
namespace Game {
struct LevelContext;
struct LevelResult;
}

namespace Menu {
class UIGameMenu;
class UIBook;
}

namespace Interface {
class UILevelStatistics;
class UILoseScreen;
class UIGameMessage;
class UIFlyingMessage;
class UIBonusInterface;
class UIAchievementInterface;
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

class UIInterface : public UIWnd, public Game::cObserver {
 public:
  static constexpr const char* kLayoutFile = "data/interface/panels.ini";
  static constexpr const char* kMainFile = "data/interface/main.ini";
  static constexpr int kGoalRowHeight = 24;

  UIInterface();
  ~UIInterface() override;
  // Binds the panels to a loaded level (its stock, goals, map and clock).
  void LevelStart(Game::LevelContext* level);
  // The level is going: the panels let go of it.
  void LevelEnd();

  int Update(int dt) override;
  int Draw() override;
  // Only the boards themselves: the map between them stays clickable; everything while modal.
  bool HitTest(int x, int y) const override;
  // While modal the open screen takes every key, click and move; otherwise nothing is taken.
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  // The open book scrolls with the wheel.
  int Wheel(float delta, int code, int value) override;
  // "StatisticsOK" and "StatisticsRestart" close the result and go on to the owner (the view);
  // "BookButton" opens the book, its close ("BookClose", or the book's "AchClose" once it has
  // faded out) takes it away.
  int OnCommand(UIWnd* source) override;
  // Events 17, 21, 22 and 70: the note's showing and hiding.
  void OnEvent(GameEvent& event) override;

  // Modal on or off: the fade over the map follows when `fade`; the cursor shows its plain shape
  // meanwhile and event 136 tells the level (the flag in its value).
  void SetModal(bool on, bool fade);
  bool Modal() const { return m_modal != 0; }
  bool ResultShown() const { return m_resultShown != 0; }
  // The fade over the map, 0 (clear) to kFadeAlpha.
  float FadeAlpha() const { return m_fade; }
  static constexpr float kFadeAlpha = 150.0f;
  static constexpr float kFadeMs = 400.0f;
  // Shows a won level on the statistics screen, or a lost one on the lose screen (phrase from the
  // logged random numbers), and becomes modal. False, with nothing shown, when that screen's
  // definition is missing.
  bool ShowResult(const Game::LevelResult& result, int32_t levelNumber, const std::u16string& playerName);
  // The win lettering over the map while the level finishes.
  void ShowWin();
  // The in-game menu ("Menu", Escape on the map), unless a screen of the interface is open.
  void OpenGameMenu();
  Menu::UIGameMenu* gameMenu() const { return m_gameMenu; }
  // The button over the map that opens the in-game menu ("Menu" of "data/interface/main.ini").
  UIWnd* menuButton() const { return m_menuButton; }
  // The achievements book over the level, read from the table as it stands now; modal (the level
  // stands still) until it is closed. False, with nothing shown, while another screen of the
  // interface is open or when the book's definition is unusable.
  bool OpenBook();
  // The book while it is open (fading in, shown or fading out), else null.
  Menu::UIBook* book() const;
  bool BookOpen() const { return m_book.IsOpen(); }
  // The book's darkening has turned the screen black: nothing of the level behind it shows, so
  // nothing of it needs drawing.
  bool BookCoversScreen() const;
  // The round button that opens the book ("BookButton") and the hint shown while it is pointed
  // at ("BookHint"); null when their definitions, or the book's, are missing.
  UIWnd* bookButton() const { return m_bookButton; }
  UIWnd* bookHint() const { return m_bookHint; }

  UILevelStatistics* statistics() const { return m_statistics; }
  UILoseScreen* loseScreen() const { return m_lose; }
  UIGameMessage* message() const { return m_message; }
  UIFlyingMessage* levelUp() const { return m_levelUp; }
  UIBonusInterface* bonusPanel() const { return m_bonusPanel; }
  UIAchievementInterface* achievementNotice() const { return m_achievements; }

  const cResourcePanel& resources() const { return m_resources; }
  const cGoalPanel& goals() const { return m_goals; }
  TimeView time() const;
  // Where the gold pin meets the time bar, in screen pixels; false without the time board's
  // pictures or a gold time.
  bool GoldMarkPoint(int& x, int& y) const;
  const PanelRect& resourceRect() const { return m_resourceRect; }
  const PanelRect& goalRect() const { return m_goalRect; }
  const PanelRect& timeRect() const { return m_timeRect; }
  // The goal board grows with its visible rows.
  PanelRect goalBoard() const;
  // Where the task's row shows its dot (left edge, vertical middle), in screen pixels; false when
  // no visible row is the task's.
  bool GoalDotPoint(int32_t taskId, int& x, int& y) const;

 private:
  void DrawBoard(const PanelRect& r) const;
  void DrawText(int x, int y, const std::string& text, uint32_t argb, int hAlign = -1) const;
  void DrawResources() const;
  void DrawGoals() const;
  void DrawTime() const;
  void DrawFlying() const;

  // The window that takes input while modal (the book, a result screen, the in-game menu).
  UIWnd* ModalWindow() const;
  // The button over the map ("Menu", "BookButton") under the packed point, or null.
  UIWnd* ButtonAt(int value) const;
  // A button lights while the pointer is over it.
  void TrackButton(UIWnd* button, int value);
  void CloseBook();
  void DrawFade() const;

  Game::LevelContext* m_level = nullptr;
  Game::cEventDispatcher* m_dispatcher = nullptr;
  UILevelStatistics* m_statistics = nullptr;  // children: the window tree owns them
  UILoseScreen* m_lose = nullptr;
  UIGameMessage* m_message = nullptr;
  UIFlyingMessage* m_levelUp = nullptr;
  UIBonusInterface* m_bonusPanel = nullptr;
  UIAchievementInterface* m_achievements = nullptr;
  Menu::UIGameMenu* m_gameMenu = nullptr;
  UIWnd* m_menuButton = nullptr;
  UIWnd* m_bookButton = nullptr;
  UIWnd* m_bookHint = nullptr;
  Menu::ModalChild m_book{this};  // drawn over everything else, and alone
  uint8_t m_modal = 0, m_menuOpen = 0, m_resultShown = 0;
  uint8_t m_messageSuppressed = 0, m_messagePending = 0;
  int m_cursorBefore = 0;
  float m_fade = 0.0f, m_fadeTarget = 0.0f;
  cResourcePanel m_resources;
  cGoalPanel m_goals;
  PanelRect m_resourceRect, m_goalRect, m_timeRect;
  CSprite* m_board = nullptr;
  CSprite* m_text = nullptr;
  cPanelPictures m_pictures;  // the boards' own pictures; plain boards where one is missing
  PanelTextFn TextFn() const {
    return [this](int x, int y, const std::string& t, uint32_t c, int a) { DrawText(x, y, t, c, a); };
  }
};

}  // namespace Interface
