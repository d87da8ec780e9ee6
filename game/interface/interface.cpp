// The in-game interface window: boards drawn over the map, their values from the panels.
#include "game/interface/interface.h"

#include <algorithm>
#include <strings.h>

#include "anim/fx_manager.h"
#include "app/soft_cursor.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "game/core/level_balance.h"
#include "game/core/level_context.h"
#include "game/core/random.h"
#include "game/interface/achievement_notice.h"
#include "game/interface/bonus_panel.h"
#include "game/interface/flying_letters.h"
#include "game/interface/lose_screen.h"
#include "game/interface/message_panel.h"
#include "game/interface/statistics_screen.h"
#include "game/menus/book.h"
#include "game/menus/game_menu.h"
#include "game/rules/level_score.h"
#include "gfx/font.h"
#include "gfx/render.h"
#include "gfx/sprite.h"
#include "platform/platform.h"
#include "ui/widget_sprite.h"
#include "ui/wnd_create.h"

namespace Interface {
namespace {
constexpr uint32_t kWood = grColor(122, 82, 46, 230);
constexpr uint32_t kWoodEdge = grColor(70, 44, 22);
constexpr uint32_t kWoodGrain = grColor(140, 98, 58, 230);
constexpr uint32_t kInk = grColor(255, 244, 214);
constexpr uint32_t kFull = grColor(255, 64, 64);
constexpr uint32_t kGain = grColor(110, 230, 90);
constexpr uint32_t kLacking = grColor(255, 170, 40);
constexpr uint32_t kResourceColour[4] = {grColor(230, 200, 150), grColor(200, 60, 40), grColor(150, 150, 170),
                                         grColor(250, 210, 40)};
const char* const kResourceLabel[4] = {"Workers", "Food", "Ore", "Gold"};

bool NameIs(const UIWnd* w, const char* name) { return w && strcasecmp(w->Name(), name) == 0; }

bool Inside(const UIWnd* w, const UIWnd* ancestor) {
  for (; w; w = w->Parent())
    if (w == ancestor) return true;
  return false;
}
}  // namespace

PanelRect panelReadRect(const char* file, const char* section, PanelRect def) {
  PanelRect r;
  r.x = iniGetInt(file, section, "x", def.x);
  r.y = iniGetInt(file, section, "y", def.y);
  r.w = iniGetInt(file, section, "width", def.w);
  r.h = iniGetInt(file, section, "height", def.h);
  if (r.w <= 0 || r.h <= 0 || r.w > 4096 || r.h > 4096) {
    errorLog("%s: [%s] has no usable width and height (%d x %d); the board keeps %d x %d\n", file, section, r.w,
             r.h, def.w, def.h);
    r.w = def.w;
    r.h = def.h;
  }
  return r;
}

UIInterface::UIInterface() {
  SetName("Interface");
  m_resourceRect = panelReadRect(kLayoutFile, "ResourceInterface", PanelRect{8, 6, 440, 40});
  m_timeRect = panelReadRect(kLayoutFile, "TimeInterface", PanelRect{808, 6, 208, 76});
  m_goalRect = panelReadRect(kLayoutFile, "TaskInterface", PanelRect{736, 90, 280, 36});
  const std::string font = iniString(kLayoutFile, "Main", "Font", "TextFont");
  if (grIsReady()) m_text = sprGetFont(font.c_str());
  if (grIsReady()) m_pictures.Load(kLayoutFile);
  // The bonus panel: drawn by Draw with the boards, so the screens that end a level cover it.
  if (fileExists(UIBonusInterface::kFile)) {
    auto* bonuses = new UIBonusInterface();
    if (AddChild(bonuses) && bonuses->Build()) m_bonusPanel = bonuses;
  }
  // The achievement notice: drawn over everything but the bonus panel (which draws with the
  // boards), so a notice earned as the level ends shows over its result too.
  if (fileExists(UIAchievementInterface::kFile)) {
    auto* notice = new UIAchievementInterface();
    if (AddChild(notice) && notice->Build()) m_achievements = notice;
  }
  // The hidden children; one whose definition is missing is simply not there.
  if (fileExists(UILoseScreen::kFile)) {
    auto* lose = new UILoseScreen();
    if (AddChild(lose) && lose->Build()) m_lose = lose;
  }
  if (fileExists(UILevelStatistics::kFile)) {
    auto* stats = new UILevelStatistics();
    if (AddChild(stats) && stats->Build()) m_statistics = stats;
  }
  if (auto* letters = new UIFlyingMessage(); AddChild(letters)) m_levelUp = letters;
  if (fileExists(UIGameMessage::kFile)) {
    auto* message = new UIGameMessage();
    if (AddChild(message) && message->Build()) m_message = message;
  }
  if (fileExists(Menu::UIGameMenu::kFile))
    if (auto* menu = new Menu::UIGameMenu(); AddChild(menu)) m_gameMenu = menu;
  if (m_gameMenu) m_menuButton = wndCreate(kMainFile, "Menu", this);
  // A button that opened nothing would only puzzle: without the book there is none.
  if (fileExists(Menu::UIBook::kFile)) m_bookButton = wndCreate(kMainFile, "BookButton", this);
  if (m_bookButton) m_bookHint = wndCreate(kMainFile, "BookHint", this);
  if (m_bookHint) {
    m_bookHint->SetHidden(true);
    m_bookHint->InitState(Ignore);  // the pointer passes through it
  }
}

UIInterface::~UIInterface() {
  LevelEnd();
  sprRelease(m_text);
}

void UIInterface::LevelStart(Game::LevelContext* level) {
  m_level = level;
  if (!level) return;
  m_resources.Bind(level->dispatcher.get(), level->stock.get(), level->map.get());
  m_goals.Bind(level->goals.get());
  if (m_bonusPanel) m_bonusPanel->LevelStart(level);
  if (m_achievements) m_achievements->LevelStart(level->dispatcher.get());
  // The same windows serve every level: each starts clean.
  if (m_book.IsOpen()) m_book.Close();
  if (m_bookButton && m_bookButton->State() != Ignore) m_bookButton->SetState(Normal);
  if (m_bookHint) m_bookHint->SetHidden(true);
  m_modal = m_menuOpen = m_resultShown = 0;
  m_messageSuppressed = m_messagePending = 0;
  m_fade = m_fadeTarget = 0.0f;
  if (m_statistics) m_statistics->Hide();
  if (m_lose) m_lose->Hide();
  if (m_message) m_message->Hide();
  if (m_levelUp) m_levelUp->Stop();
  if (m_gameMenu) m_gameMenu->SetHidden(true);
  m_dispatcher = level->dispatcher.get();
  if (m_dispatcher)
    for (Game::Event code : {Game::Event::FirstWorkerAvailable, Game::Event::TipShown, Game::Event::TipClosed,
                             Game::Event::LevelClockStarted, Game::Event::GoalCompleted})
      Register(code, m_dispatcher, this);
}

void UIInterface::LevelEnd() {
  m_resources.Unbind();
  m_goals.Bind(nullptr);
  if (m_bonusPanel) m_bonusPanel->LevelEnd();
  if (m_achievements) m_achievements->LevelEnd();
  if (m_dispatcher) m_dispatcher->Forget(this);
  m_dispatcher = nullptr;
  m_level = nullptr;
}

void UIInterface::OnEvent(GameEvent& e) {
  Game::cObserver::OnEvent(e);
  switch (Game::Event(e.code)) {
    case Game::Event::FirstWorkerAvailable:
      if (m_messageSuppressed) {
        m_messagePending = 1;
      } else if (m_message && m_message->Hidden()) {
        m_message->Show();
      }
      break;
    case Game::Event::LevelClockStarted:
      m_messagePending = 0;
      if (m_message) m_message->Hide();
      break;
    case Game::Event::TipShown:
      m_messageSuppressed = 1;
      if (m_message && !m_message->Hidden()) {
        // Shown again when the tip closes, unless the clock has started by then.
        m_messagePending = 1;
        m_message->Hide();
      }
      break;
    case Game::Event::TipClosed:
      m_messageSuppressed = 0;
      if (m_messagePending && m_message) m_message->Show();
      m_messagePending = 0;
      break;
    case Game::Event::GoalCompleted: {
      // A flare flies from where the goal was met to its row's dot. The rows are brought up to
      // date first: a goal that just appeared has no row before the next refresh.
      m_goals.Refresh();
      int x = 0, y = 0;
      if (GoalDotPoint(e.value, x, y)) FxManager::fxManager().SendFlare(float(e.x), float(e.y), float(x), float(y));
      break;
    }
    default: break;
  }
}

void UIInterface::SetModal(bool on, bool fade) {
  const bool was = m_modal != 0;
  m_modal = on ? 1 : 0;
  if (m_bonusPanel) m_bonusPanel->ResetPointer();
  m_fadeTarget = on ? kFadeAlpha : 0.0f;
  if (!fade) m_fade = m_fadeTarget;
  if (on && !was) {
    m_cursorBefore = cursorSlot();
    cursorSetSlot(0);
  } else if (!on && was) {
    cursorSetSlot(m_cursorBefore);
  }
  if (m_dispatcher) {
    GameEvent e;
    MakeEvent(e, Game::Event::InterfaceModalChanged);
    e.value = m_modal;
    Post(m_dispatcher, e);
  }
}

bool UIInterface::ShowResult(const Game::LevelResult& r, int32_t levelNumber, const std::u16string& playerName) {
  if (m_message) m_message->Hide();
  if (r.won) {
    if (!m_statistics) return false;
    if (m_levelUp) m_levelUp->Stop();
    m_statistics->Show(StatisticsScores{r.levelScore, r.resourcesScore, r.timeScore, r.totalScore, r.stars},
                       levelNumber, playerName);
  } else {
    if (!m_lose) return false;
    m_lose->Show(losePhraseNumber(RandomFloat(1.0f)), playerName);
  }
  SetModal(true, true);
  m_resultShown = 1;
  return true;
}

void UIInterface::OpenGameMenu() {
  if (m_modal || !m_gameMenu) return;
  m_gameMenu->Refresh();
  m_menuOpen = 1;
  SetModal(true, true);
}

Menu::UIBook* UIInterface::book() const { return dynamic_cast<Menu::UIBook*>(m_book.Dialog()); }

bool UIInterface::BookCoversScreen() const {
  const Menu::UIBook* b = book();
  return b && b->CoversScreen();
}

bool UIInterface::OpenBook() {
  if (m_modal || m_menuOpen || m_book.IsOpen()) return false;
  // The running level's mode decides which achievements the book lists.
  const int mode = m_level ? m_level->gameMode : Game::kModeNormal;
  Menu::UIBook* b = Menu::UIBook::Create(this, Menu::bookRecords(), mode);
  if (!b) return false;
  // The level fades out behind the book rather than vanishing at the click.
  b->CoverScreen();
  if (!m_book.Open(b, 1)) return false;
  if (m_bookHint) m_bookHint->SetHidden(true);
  SetModal(true, false);
  // The book darkens the level itself, smoothly, both ways: the interface's own fade stays off.
  m_fade = m_fadeTarget = 0.0f;
  return true;
}

void UIInterface::CloseBook() {
  m_book.Close();
  // The button the book was opened with is not left lit: the pointer is elsewhere by now.
  if (m_bookButton && m_bookButton->State() != Ignore) m_bookButton->SetState(Normal);
  if (m_bookHint) m_bookHint->SetHidden(true);
  SetModal(false, false);
}

void UIInterface::ShowWin() {
  if (m_levelUp) m_levelUp->Start();
}

UIWnd* UIInterface::ModalWindow() const {
  if (m_book.IsOpen()) return m_book.Dialog();
  if (m_statistics && !m_statistics->Hidden()) return m_statistics;
  if (m_lose && !m_lose->Hidden()) return m_lose;
  for (int i = ChildCount() - 1; i >= 0; --i) {
    UIWnd* c = Child(i);
    if (c != m_message && c != m_levelUp && c != m_menuButton && c != m_bonusPanel && c != m_achievements &&
        c != m_bookButton && c != m_bookHint && !c->Hidden())
      return c;
  }
  return nullptr;
}

// Outside the modal screens the interface takes only what is meant for its buttons.
UIWnd* UIInterface::ButtonAt(int value) const {
  for (UIWnd* b : {m_menuButton, m_bookButton})
    if (b && !b->Hidden() && b->HitTest(UIWndSprite::PosX(value), UIWndSprite::PosY(value))) return b;
  return nullptr;
}

void UIInterface::TrackButton(UIWnd* b, int value) {
  if (!b || b->State() == Ignore) return;
  const bool over = ButtonAt(value) == b;
  if (over && b->State() == Normal) b->SetState(Active);
  else if (!over && b->State() != Normal) b->SetState(Normal);
}

int UIInterface::KeyDown(int code, int value) {
  if (!m_modal && !m_menuOpen) {
    if (m_bonusPanel && m_bonusPanel->KeyDown(code, value)) return 1;
    if (m_achievements && m_achievements->KeyDown(code, value)) return 1;
    UIWnd* button = code == VK_LBUTTON_ ? ButtonAt(value) : nullptr;
    if (!button) return 0;
    button->KeyDown(code, value);
    return 1;
  }
  if (UIWnd* w = ModalWindow()) w->KeyDown(code, value);
  return 1;
}

int UIInterface::KeyUp(int code, int value) {
  if (!m_modal && !m_menuOpen) {
    if (m_bonusPanel && m_bonusPanel->KeyUp(code, value)) return 1;
    if (m_achievements && m_achievements->KeyUp(code, value)) return 1;
    // Only a press a button took ends on it.
    for (UIWnd* b : {m_menuButton, m_bookButton}) {
      if (!b || b->State() != Press) continue;
      b->KeyUp(code, value);
      return 1;
    }
    return 0;
  }
  if (UIWnd* w = ModalWindow()) w->KeyUp(code, value);
  return 1;
}

int UIInterface::Char(int code, int value) {
  if (!m_modal && !m_menuOpen) return 0;
  if (UIWnd* w = ModalWindow()) w->Char(code, value);
  return 1;
}

int UIInterface::MouseMove(int buttons, int value) {
  if (!m_modal && !m_menuOpen) {
    if (m_bonusPanel) m_bonusPanel->MouseMove(buttons, value);
    // The buttons light under the pointer; the map still hears the move (it hovers nothing there).
    TrackButton(m_menuButton, value);
    TrackButton(m_bookButton, value);
    if (m_bookHint && m_bookButton)
      m_bookHint->SetHidden(m_bookButton->State() != Active && m_bookButton->State() != Press);
    return 0;
  }
  if (UIWnd* w = ModalWindow()) w->MouseMove(buttons, value);
  return 1;
}

int UIInterface::Wheel(float delta, int code, int value) {
  if (UIWnd* b = m_book.Dialog()) return b->Wheel(delta, code, value), 1;
  return UIWnd::Wheel(delta, code, value);
}

int UIInterface::OnCommand(UIWnd* source) {
  if (!source) return 0;
  const std::string_view name = source->Name();
  if (source == m_bookButton) {
    OpenBook();
    return 1;
  }
  if (m_book.IsOpen()) {
    // The book says it is done once it has faded out; everything else it says stays in it.
    if (NameIs(source, "BookClose") || (NameIs(source, "AchClose") && Inside(source, m_book.Dialog()))) CloseBook();
    return 1;
  }
  if (name == "Menu") {
    OpenGameMenu();
    return 1;
  }
  if (source == m_gameMenu) {
    m_menuOpen = 0;
    SetModal(false, true);
    return 1;
  }
  if (name == "StatisticsOK" || name == "StatisticsRestart") {
    SetModal(false, true);
    if (m_statistics) m_statistics->Hide();
    if (m_lose) m_lose->Hide();
    m_resultShown = 0;
  }
  // The owner (the view) acts on the choice.
  return parent_ ? parent_->OnCommand(source) : 0;
}

TimeView UIInterface::time() const {
  if (!m_level || !m_level->model) return panelTimeView({}, 0, true);
  const LevelBalance& b = levelBalance();
  const Game::cGameModel& m = *m_level->model;
  const bool noClock = m.gameMode() == Game::kModeNoTime;
  const int32_t remaining = m.levelTimer().running || m.levelTimer().total > 0 ? m.levelTimer().remaining : b.tLevelTime;
  // Once a level is lost its result is known: no stars, even though the clock stopped early.
  const bool lost = m.phase() == Game::Phase::Finishing && !m.won();
  return panelTimeView(Game::LevelTimes{b.tLevelTime, b.tGoldTime, b.tSilverTime}, remaining, noClock, lost);
}

bool UIInterface::GoalDotPoint(int32_t taskId, int& x, int& y) const {
  const auto& rows = m_goals.Rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].taskId != taskId) continue;
    const PanelRect r = goalBoard();
    if (m_pictures.GoalDotPoint(r, kGoalRowHeight, int(i), x, y)) return true;
    // The drawn board's box, as DrawGoals places it.
    x = r.x + 8;
    y = r.y + 6 + int(i) * kGoalRowHeight + 11;
    return true;
  }
  return false;
}

bool UIInterface::GoldMarkPoint(int& x, int& y) const { return m_pictures.GoldMarkPoint(time(), m_timeRect, x, y); }

PanelRect UIInterface::goalBoard() const {
  PanelRect r = m_goalRect;
  const int rows = int(m_goals.Rows().size());
  r.h = std::max(m_goalRect.h, 12 + rows * kGoalRowHeight);
  return r;
}

int UIInterface::Update(int dt) {
  if (m_level && Game::levelContext() != m_level) LevelEnd();  // the level ended without telling us
  m_resources.Update(dt);
  m_goals.Refresh();
  FxManager::fxManager().UpdateFlares(float(std::max(dt, 0)));
  if (m_fade != m_fadeTarget) {
    const float step = kFadeAlpha * float(std::max(dt, 0)) / kFadeMs;
    m_fade = m_fade < m_fadeTarget ? std::min(m_fadeTarget, m_fade + step) : std::max(m_fadeTarget, m_fade - step);
  }
  return UIWnd::Update(dt);
}

bool UIInterface::HitTest(int x, int y) const {
  if (Hidden()) return false;
  if (m_modal || m_menuOpen) return true;
  if (m_menuButton && !m_menuButton->Hidden() && m_menuButton->HitTest(x, y)) return true;
  if (m_bookButton && !m_bookButton->Hidden() && m_bookButton->HitTest(x, y)) return true;
  if (m_bonusPanel && m_bonusPanel->HitTest(x, y)) return true;
  if (m_achievements && m_achievements->HitTest(x, y)) return true;
  return m_resourceRect.Contains(x, y) || m_timeRect.Contains(x, y) ||
         (!m_goals.Rows().empty() && goalBoard().Contains(x, y));
}

void UIInterface::DrawBoard(const PanelRect& r) const {
  grFillRect(r.x, r.y, r.x + r.w, r.y + r.h, kWood);
  for (int y = r.y + 6; y < r.y + r.h - 3; y += 9) grLine(r.x + 4, y, r.x + r.w - 4, y, kWoodGrain);
  grFrameRect(r.x, r.y, r.x + r.w, r.y + r.h, kWoodEdge);
  grFrameRect(r.x + 1, r.y + 1, r.x + r.w - 1, r.y + r.h - 1, kWoodEdge);
}

void UIInterface::DrawText(int x, int y, const std::string& text, uint32_t argb, int hAlign) const {
  if (m_text)
    fontDrawTextUtf8(UIWndSprite::ModeFor(argb), 15, 1.0f, 1.0f, m_text, float(x), y, text.c_str(), 0, hAlign, -1,
                     argb);
  else
    grTextOut(hAlign == 1 ? x - int(text.size()) * 8 : x, y, text.c_str(), argb);
}

void UIInterface::DrawResources() const {
  const PanelRect& r = m_resourceRect;
  if (m_pictures.DrawResources(m_resources, r, TextFn())) return;
  DrawBoard(r);
  const int slot = r.w / 4;
  for (int i = 0; i < 4; ++i) {
    if (!m_resources.Visible(i)) continue;
    const ResourceSlot& s = m_resources.Slot(i);
    const int x = r.x + i * slot + 8;
    const int cy = r.y + r.h / 2;
    const int grow = s.pulseMs > 0 ? 2 : 0;
    uint32_t mark = kResourceColour[i];
    if (s.hintMs > 0 && (s.hintMs / 250) % 2 == 0) mark = kLacking;
    grFillRect(x - grow, cy - 8 - grow, x + 16 + grow, cy + 8 + grow, mark);
    grFrameRect(x - grow, cy - 8 - grow, x + 16 + grow, cy + 8 + grow, kWoodEdge);
    DrawText(x + 22, cy - 9, m_resources.Text(i), panelNumberColour(m_resources, i, kInk));
  }
}

void UIInterface::DrawGoals() const {
  if (m_goals.Rows().empty()) return;
  const PanelRect r = goalBoard();
  if (m_pictures.DrawGoals(m_goals, r, kGoalRowHeight, TextFn())) return;
  DrawBoard(r);
  int y = r.y + 6;
  for (const GoalRow& row : m_goals.Rows()) {
    const int bx = r.x + 8, by = y + 4;
    grFrameRect(bx, by, bx + 14, by + 14, kInk);
    if (row.done) {
      // The tick: two strokes, drawn twice for weight.
      for (int d = 0; d < 2; ++d) {
        grLine(bx + 2, by + 7 + d, bx + 6, by + 11 + d, kGain);
        grLine(bx + 6, by + 11 + d, bx + 13, by + 2 + d, kGain);
      }
    }
    DrawText(bx + 22, y + 1, row.label, row.done ? kGain : kInk);
    if (!row.progress.empty()) DrawText(r.x + r.w - 10, y + 1, row.progress, kInk, 1);
    y += kGoalRowHeight;
  }
}

void UIInterface::DrawTime() const {
  const TimeView t = time();
  if (t.noClock) return;
  const PanelRect& r = m_timeRect;
  if (m_pictures.DrawTime(t, r, TextFn())) return;
  DrawBoard(r);
  DrawText(r.x + 10, r.y + 4, "Time " + panelClockText(t.remainingMs), t.remainingMs <= 10000 ? kFull : kInk);
  DrawText(r.x + 10, r.y + 27, "Gold " + panelClockText(t.goldLeftMs), t.goldLeftMs > 0 ? kResourceColour[3] : kWoodEdge);
  DrawText(r.x + 10, r.y + 50, "Silver " + panelClockText(t.silverLeftMs),
           t.silverLeftMs > 0 ? grColor(220, 220, 230) : kWoodEdge);
  // The stars a win would earn now.
  for (int i = 0; i < 3; ++i) {
    const int sx = r.x + r.w - 22 - i * 18, sy = r.y + 8;
    const uint32_t c = (2 - i) < t.stars ? kResourceColour[3] : kWoodEdge;
    grFillRect(sx, sy, sx + 12, sy + 12, c);
  }
}

void UIInterface::DrawFlying() const {
  for (const FlyingNumber& f : m_resources.Flying()) {
    const float life = float(f.ageMs) / float(cResourcePanel::kFlyMs);
    const int y = f.y - int(float(cResourcePanel::kFlyRise) * life);
    const int alpha = std::clamp(int(255.0f * (1.0f - life)), 0, 255);
    const uint32_t c = (uint32_t(alpha) << 24) | (kResourceColour[f.resource & 3] & 0x00FFFFFFu);
    grFillRect(f.x - 14, y + 3, f.x - 4, y + 13, c);
    DrawText(f.x, y, "+" + std::to_string(f.amount), (uint32_t(alpha) << 24) | (kGain & 0x00FFFFFFu));
  }
}

void UIInterface::DrawFade() const {
  const int a = std::clamp(int(m_fade + 0.5f), 0, 255);
  if (a > 0) grFillRect(0, 0, Width() > 0 ? Width() : 1024, Height() > 0 ? Height() : 768, uint32_t(a) << 24);
}

int UIInterface::Draw() {
  if (Hidden()) return 0;
  // Once the book covers the screen nothing of the level, its boards included, is drawn.
  if (BookCoversScreen()) {
    m_book.Draw();
    return 0;
  }
  if (m_level) {
    DrawFlying();
    DrawResources();
    DrawGoals();
    DrawTime();
  }
  // With the boards: under the darkening and under the screens drawn over the level.
  if (m_bonusPanel) m_bonusPanel->DrawBoard();
  DrawFade();
  const int stop = UIWnd::Draw();
  m_book.Draw();  // over everything while it fades in or out
  return stop;
}

}  // namespace Interface
