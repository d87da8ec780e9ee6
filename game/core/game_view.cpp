// The window a level is played in.
#include "game/core/game_view.h"

#include "anim/fx_manager.h"
#include "app/soft_cursor.h"
#include "base/diag.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_music.h"
#include "game/core/level_context.h"
#include "game/core/person.h"
#include "game/interface/interface.h"
#include "game/interface/quest_wnd.h"
#include "game/menus/leave_dialog.h"
#include "game/menus/level_flow.h"
#include "game/rules/level_statistics.h"
#include "game/menus/screens.h"
#include "gfx/render.h"
#include "platform/platform.h"
#include "sound/sound.h"

namespace Game {
namespace {
// The events the view listens to; most are for the tips, the interface and the story window.
constexpr int32_t kViewEvents[] = {1,  2,  4,  6,  11, 13, 14, 17, 20, 22, 23, 27, 33, 34, 39, 56, 57, 66, 70, 73,
                                   77, 78, 80, 86, 87, 91, 92, 94, 95, 96, 98, 99, 101, 102, 103, 104, 105, 110, 136};

// The story windows' cut-scenes that open a letterbox of their own.
constexpr int32_t kDrumSceneMs = 23000;
constexpr int32_t kWinterSceneMs = 24000;

struct TypedWord {
  const char* word;
  int action;
};
constexpr TypedWord kTypedWords[] = {{"levelu", 7}, {"loose", 10}, {"achiev", 12}};
constexpr size_t kTypedKeep = 16;

int unpackX(int value) { return int16_t(value & 0xFFFF); }
int unpackY(int value) { return int16_t(uint32_t(value) >> 16); }
}  // namespace

int32_t viewCutSceneMs(int32_t level) {
  switch (level) {
    case 1:
    case 33: return 12000;
    case 6: return 3000;
    case 8: return 15000;
    case 23: return 10000;
    default: return 0;
  }
}

int cTypedWords::Type(int ch) {
  char c = ch > 0 && ch < 128 ? char(ch) : '\x7f';
  if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  m_text.push_back(c);
  if (m_text.size() > kTypedKeep) m_text.erase(0, m_text.size() - kTypedKeep);
  for (const TypedWord& w : kTypedWords) {
    const std::string_view word = w.word;
    if (m_text.size() >= word.size() && std::string_view(m_text).substr(m_text.size() - word.size()) == word) {
      // A word is used up: "loose" typed after "levelu" must not see its letters again.
      m_text.clear();
      return w.action;
    }
  }
  return 0;
}

cGameView::cGameView(LevelContext* level) : m_level(level) {
  SetPos(0, 0);
  SetSize(kLogicalWidth, kLogicalHeight);
  SetName("GameView");
  if (level) m_dispatcher = level->dispatcher.get();
  m_tips = std::make_unique<cTips>(level);
}

cGameView::~cGameView() {
  Detach();
  if (LevelContext* c = levelContext(); c && c->view == this) c->view = nullptr;
}

void cGameView::RegisterEvents() {
  for (int32_t code : kViewEvents) Register(code, m_dispatcher, this);
}

void cGameView::Detach() {
  if (m_interface) m_interface->LevelEnd();
  if (m_dispatcher) m_dispatcher->Forget(this);
  if (m_tips) m_tips->Detach();
  m_dispatcher = nullptr;
  m_level = nullptr;
}

cGameModel* cGameView::Model() const { return m_level ? m_level->model.get() : nullptr; }

bool cGameView::InPlay() const {
  const cGameModel* m = Model();
  return m && (m->phase() == Phase::Ready || m->phase() == Phase::Running);
}

bool cGameView::ClockWaits() const {
  // Only a level whose clock has not started yet: a click during a lost level's finish would
  // otherwise start the game minute again.
  const cGameModel* m = Model();
  return m && !m_levelCompleted && (m->phase() == Phase::Waiting || m->phase() == Phase::Ready);
}

void cGameView::SetInterface(Interface::UIInterface* ui) {
  if (m_interface || !ui) return;
  if (AddChild(ui)) m_interface = ui;
}

bool cGameView::IsFree() const {
  return !m_resultShown && !Menu::UILeaveDialog::IsOpen() && !StoryShown() && !(m_interface && m_interface->Modal());
}

bool cGameView::StoryShown() const { return m_story && m_story->IsShown(); }

void cGameView::SendAction(GameAction a) {
  cGameModel* m = Model();
  if (!m) return;
  a.tick = m_tick;
  if (testSetting(TestSwitch::Game_Log_On_Playback)) gameLog("[Action]:%d - action %d", a.tick, a.code);
  ModelAction ma;
  ma.code = a.code;
  ma.objectId = a.objectId;
  ma.x = a.x;
  ma.y = a.y;
  m->OnAction(ma);
}

void cGameView::HoverLeaveAll() {
  if (!m_level || !m_level->map) return;
  Map::cMap& map = *m_level->map;
  for (size_t i = 0; i < map.Count(); ++i) {
    Map::cObject* o = map.At(i);
    if (!o->Has(Map::kFlagPointerOver)) continue;
    o->Set(Map::kFlagPointerOver, false);
    o->HoverLeave();
  }
  m_hoveredId = -1;
  cursorSetSlot(0);
}

void cGameView::LevelStart() {
  if (!m_level) return;
  const int32_t n = m_level->levelNumber;
  if (const int32_t ms = viewCutSceneMs(n); ms > 0) {
    OpenLetterbox(kLetterboxMs);
    m_storyTimer.Start(ms);
    sndPlayMusic("musicWitch", 1, 1, nullptr);
  } else {
    StartLevelMusic(n);
  }
  if (m_tips) m_tips->SelectTips(n);
}

void cGameView::OpenLetterbox(int32_t durationMs) {
  if (m_dispatcher) {
    GameEvent e;
    MakeEvent(e, Event::WindowOpenedOverLevel);
    Post(m_dispatcher, e);
  }
  // Closing bars open again from where they are.
  m_letterbox = kLetterboxOpening;
  m_storyTimer.Start(durationMs);
  HoverLeaveAll();
}

void cGameView::ShowStory(int32_t entry) {
  m_lastStory = entry;
  if (!m_story) {
    auto story = std::make_unique<Interface::UIQuestWnd>();
    if (!story->Build()) return;
    story->SetOnClosed([this] { StoryClosed(); });
    m_story = std::move(story);
  }
  if (StoryShown() || !m_story->Open(entry)) return;
  HoverLeaveAll();
  // At once: nothing but the story moves while it is told, the fade included.
  if (m_interface) m_interface->SetModal(true, false);
}

void cGameView::StoryClosed() {
  ++m_storiesClosed;
  if (m_interface && !m_resultShown) m_interface->SetModal(false, true);
}

void cGameView::OnPointerMove(int x, int y) {
  if (!m_level || !m_level->map || !IsFree()) return;
  if (!InPlay()) {
    if (m_hoveredId != -1) {
      m_hoveredId = -1;
      cursorSetSlot(0);
    }
    return;
  }
  // Over a board the pointer is off the map: what lies under the board is not hovered.
  Map::cObject* hit = m_interface && m_interface->HitTest(x, y) ? nullptr : m_level->map->HitTest(x, y);
  if (hit) {
    // Objects that follow the pointer over them (the flies) hear of every move, not just the first.
    GameEvent over;
    over.x = x;
    over.y = y;
    hit->OnMapEvent(over);
    if (hit->id != m_hoveredId && TipAccepts(*hit)) {
      GameAction a;
      a.code = 5;
      a.objectId = hit->id;
      a.x = x;
      a.y = y;
      m_hoveredId = hit->id;
      SendAction(a);
    }
    cursorSetSlot(hit->GetCursor());
    return;
  }
  if (m_hoveredId != -1) {
    GameAction a;
    a.code = 6;
    a.x = x;
    a.y = y;
    m_hoveredId = -1;
    SendAction(a);
  }
  cursorSetSlot(0);
}

bool cGameView::TakePress() {
  if (!Model()) return false;
  if (m_resultShown) {
    // Only a result without its screen closes on a press; a screen answers through its buttons.
    if (!m_resultOnScreen) m_resultClosed = 1;
    return false;
  }
  if (!IsFree()) return false;
  if (ClockWaits() && !TipOpen()) SendAction(GameAction{1});
  // The player may have switched the tips in the options meanwhile.
  if (const PlayerProgress* p = playerProgress(); p && m_tips) m_tips->SetTipsEnabled(p->tipsOn);
  return true;
}

bool cGameView::TipAccepts(const Map::cObject& o) const {
  if (!TipOpen()) return true;
  const uint32_t tag = m_tips->RequiredTag();
  return m_tips->requireClick() && tag != 0 && o.tag == tag;
}

void cGameView::UpdateTipTarget(int dt) {
  if (!m_level || !m_level->map || !m_tips->requireClick()) return;
  Map::cMap& map = *m_level->map;
  const Map::cObject* target = map.FindByTag(m_tips->RequiredTag());
  if (!target) return;
  for (const char* subtype : {target->GetHintChildSubtype(), "focusMarker"}) {
    Map::cObject* child = subtype ? target->FindChild(map, subtype) : nullptr;
    if (!child || child->Has(Map::kFlagRemoved)) continue;
    child->Update(dt);
    child->UpdateAnimation(dt);
    if (child->UpdateTimers(dt)) map.Remove(child->id);
  }
}

void cGameView::OnMouseButton(int button, int x, int y) {
  if (!TakePress()) return;
  if (TipOpen() && m_tips->KeyDown(button == 1 ? VK_LBUTTON_ : VK_RBUTTON_, (x & 0xFFFF) | (y << 16))) return;
  if (!InPlay() || !m_level->map) return;
  if (m_interface && m_interface->HitTest(x, y)) return;
  GameAction a;
  a.x = x;
  a.y = y;
  a.left = button == 1;
  if (Map::cObject* hit = m_level->map->HitTest(x, y)) {
    if (!TipAccepts(*hit)) return;
    // The object a tip asked for is the player's first order: the clock starts with it.
    if (TipOpen() && ClockWaits()) SendAction(GameAction{1});
    a.code = 2;
    a.objectId = hit->id;
  } else {
    if (TipOpen()) return;
    a.code = 4;
  }
  const bool required = TipOpen() && a.code == 2;
  SendAction(a);
  // The object a tip waits for answers its click with event 101, which closes the tip; one that
  // takes no order now stays silent, and the tip must not wait for good.
  if (required && TipOpen()) m_tips->CloseTip();
  // The click may have ended the level's context (it never does today, but a click is input from
  // outside: check rather than trust).
  if (!m_dispatcher) return;
  GameEvent e;
  MakeEvent(e, Event::ViewEvent107);
  e.x = x;
  e.y = y;
  Post(m_dispatcher, e);
  m_idleTimer.Start(kIdleMs);
}

void cGameView::AskLeave() {
  if (Menu::UILeaveDialog::IsOpen()) return;
  if (Menu::UILeaveDialog* d = Menu::UILeaveDialog::Create()) AddChild(d);
}

void cGameView::OnKey(int key) {
  if (!TakePress()) return;
  if (key != VK_ESCAPE_) return;
  // The in-game menu pauses the level (its interface turns modal) and offers the ways out.
  if (m_interface) m_interface->OpenGameMenu();
}

void cGameView::OnTyped(int ch) {
  if (!testSetting(TestSwitch::Game_Chit) || !Model() || !IsFree()) return;
  if (const int action = m_typed.Type(ch)) SendAction(GameAction{action});
}

int cGameView::KeyDown(int code, int value) {
  if (!m_level) return 0;
  // The story window, then an open screen of the interface, take the input before the map.
  if (StoryShown()) return m_story->KeyDown(code, value), 1;
  if (m_interface && m_interface->KeyDown(code, value)) return 1;
  if (code == VK_LBUTTON_ || code == VK_RBUTTON_) {
    OnMouseButton(code == VK_LBUTTON_ ? 1 : 2, unpackX(value), unpackY(value));
    return 1;
  }
  if (code == VK_MBUTTON_) return 1;
  // A held key repeats; only its first press counts.
  if (!(value & (1 << 30))) OnKey(code);
  return 1;
}

int cGameView::KeyUp(int code, int value) {
  if (!m_level) return 0;
  if (StoryShown()) return m_story->KeyUp(code, value), 1;
  if (m_interface && m_interface->KeyUp(code, value)) return 1;
  if (TipOpen() && IsFree() && m_tips->KeyUp(code, value)) return 1;
  return UIWnd::KeyUp(code, value);
}

int cGameView::OnCommand(UIWnd* source) {
  if (!source || !m_resultShown) return 1;
  const std::string_view name = source->Name();
  if (name == "StatisticsOK") m_resultChoice = kChoiceLeave;
  else if (name == "StatisticsRestart") m_resultChoice = kChoiceRestart;
  return 1;
}

int cGameView::Char(int code, int value) {
  if (!m_level) return 0;
  if (StoryShown()) return m_story->Char(code, value), 1;
  if (m_interface && m_interface->Char(code, value)) return 1;
  OnTyped(code);
  return 1;
}

int cGameView::MouseMove(int buttons, int value) {
  if (!m_level) return 0;
  if (StoryShown()) return m_story->MouseMove(buttons, value), 1;
  if (TipOpen() && IsFree()) m_tips->MouseMove(buttons, value);
  if (m_interface && m_interface->MouseMove(buttons, value)) return 1;
  OnPointerMove(unpackX(value), unpackY(value));
  return 1;
}

int cGameView::Update(int dt) {
  // While a story is told nothing else moves.
  if (StoryShown()) return m_story->Update(dt), 0;
  UIWnd::Update(dt);  // the interface, the leave question when it is asked
  if (m_tips) m_tips->Update(dt);
  cGameModel* m = Model();
  if (!m) return 0;
  ++m_tick;
  if (m_storyTimer.Advance(float(dt))) {
    if (m->phase() != Phase::Running && m_level->workers && m_level->workers->PersonCount() == 0)
      m_level->workers->RequestWorker(true);
    StartLevelMusic(m_level->levelNumber);
    // Bars still opening close too: a cut-scene shorter than the opening must not keep the clocks
    // stopped for good.
    if (m_letterbox == kLetterboxOpen || m_letterbox == kLetterboxOpening) m_letterbox = kLetterboxClosing;
  }
  if (m_letterbox == kLetterboxOpening) {
    m_letterboxMs += dt;
    if (m_letterboxMs >= kLetterboxMs) {
      m_letterboxMs = kLetterboxMs;
      m_letterbox = kLetterboxOpen;
    }
  } else if (m_letterbox == kLetterboxClosing) {
    m_letterboxMs -= dt;
    if (m_letterboxMs <= 0) {
      m_letterboxMs = 0;
      m_letterbox = kLetterboxOff;
      if (m_dispatcher) {
        GameEvent e;
        MakeEvent(e, Event::WindowClosedOverLevel);
        Post(m_dispatcher, e);
      }
    }
  }
  if (m_resultShown) {
    if (!m_resultOnScreen && m_resultTimer.Advance(float(dt))) m_resultClosed = 1;
    if (m_resultClosed && m_resultChoice == kChoiceNone) m_resultChoice = kChoiceLeave;
    if (m_resultChoice == kChoiceNone) return 0;
    CloseLevel(m_resultChoice == kChoiceRestart);
    return 1;  // the screen has changed
  }
  if (!IsFree()) return 0;
  // A tip holds the level until it is read (or its object clicked).
  if (TipOpen()) return UpdateTipTarget(dt), 0;
  if (m_idleTimer.Advance(float(dt)) && m_dispatcher) {
    GameEvent e;
    MakeEvent(e, Event::ViewEvent108);
    Post(m_dispatcher, e);
  }
  const int result = m->Update(dt);
  if (result == 1 && m_interface) m_interface->ShowWin();
  if (result == 2) ShowResult();
  return 0;
}

void cGameView::ShowResult() {
  cGameModel& m = *Model();
  m_resultShown = 1;
  m_resultClosed = 0;
  m_resultChoice = kChoiceNone;
  m_resultOnScreen = 0;
  HoverLeaveAll();
  LevelResult& r = m.result();
  scoreFinishResult(r);
  // Until the player's profile keeps a running total, the player's score is this level's.
  r.playerScore = r.totalScore;
  // A won level's result goes into the player's record, which answers the player's total.
  if (r.won && playerProgress())
    r.playerScore = Menu::RecordLevelWon(m_level->levelNumber, r.totalScore, r.timeUsed / 1000, r.stars);
  // The log and the console say it too, so a run without screens can be followed.
  gameLog("[Result] level %d %s: stars %d, time %d ms, score bonus %d s", int(m_level->levelNumber),
          m.won() ? "won" : "lost", int(m.stars()), int(m.timeUsed()), int(m.scoreBonusSeconds()));
  gameLog("[Score] level %d: play %d, time %d, resources %d, total %d", int(m_level->levelNumber),
          int(r.levelScore), int(r.timeScore), int(r.resourcesScore), int(r.totalScore));
  if (r.won && testSetting(TestSwitch::Game_Write_Statistics) != 0)
    statisticsWrite("statistics.ini", m_level->levelNumber, r);
  consoleMessage(1, "Level %d %s: %d stars, %d ms\n", int(m_level->levelNumber), m.won() ? "won" : "lost",
                 int(m.stars()), int(m.timeUsed()));
  const int current = playerCurrent();
  const std::u16string name = current >= 0 ? playerName(current) : std::u16string();
  if (m_interface && m_interface->ShowResult(r, m_level->levelNumber, name)) {
    m_resultOnScreen = 1;
  } else {
    errorLog("Level %d: no end screen to show the result on; the level closes after %d ms\n",
             int(m_level->levelNumber), int(kResultPauseMs));
    m_resultTimer.Start(kResultPauseMs);
  }
}

void cGameView::RetireSelf() {
  // Off screen (no window tree) the level's end would delete this view while its own handler
  // runs; it goes with the windows removed during the step instead, as it would on screen.
  if (Parent() || !m_level || m_level->viewOwned.get() != this) return;
  UIWnd holder;
  holder.AddChild(m_level->viewOwned.release());
  holder.RemoveChild(this);
}

void cGameView::CloseLevel(bool restart) {
  if (!m_level) return;
  const int32_t n = m_level->levelNumber;
  const int32_t mode = m_level->gameMode;
  RetireSelf();
  // The won level's fireworks end with it; the next screen starts clean.
  FxManager::fxManager().StopFireWorks(true);
  EndLevel();  // takes this view off the screen; it is destroyed after the step
  // Skipping the menus, the level simply starts again, whatever was chosen.
  if (testSetting(TestSwitch::Game_No_Menu)) {
    if (LoadLevel(n, mode)) return;
    Menu::ShowMainMenu();
    return;
  }
  Menu::AfterLevel(restart);
}

void cGameView::OnEvent(GameEvent& e) {
  cObserver::OnEvent(e);
  if (m_tips) m_tips->OnEvent(e);
  switch (e.code) {
    case Code(Event::AllGoalsCompleted): m_levelCompleted = 1; break;
    case Code(Event::GamePlayFinished):
      // The level's tutorial has been seen: a replay of the level does not show it again.
      if (PlayerProgress* p = playerProgress(); p && m_level && m_level->levelNumber >= 1 &&
                                                m_level->levelNumber <= kProgressTips)
        p->tipsShown[m_level->levelNumber - 1] = true;
      break;
    case Code(Event::TipClosed):
      if (PlayerProgress* p = playerProgress(); p && e.value2 != 0) p->tipsOn = false;
      break;
    case Code(Event::StoryLevelStarted): ShowStory(e.value); break;
    case 56: ShowStory(37); break;
    case Code(Event::QuillPickedUp):
      if (m_level && m_level->levelNumber == 4) ShowStory(4);
      break;
    case 86: ShowStory(42); break;
    case 87: ShowStory(39); break;
    case 91: ShowStory(182); break;
    case Code(Event::DrumSceneStarts): OpenLetterbox(kDrumSceneMs); break;
    case 94: ShowStory(472); break;
    case Code(Event::WinterIceEvent): OpenLetterbox(kWinterSceneMs); break;
    case 96: ShowStory(33); break;
    case 98: ShowStory(23); break;
    default: break;
  }
}

int cGameView::Draw() {
  if (Hidden()) return 0;
  if (!m_level || !m_level->map) return UIWnd::Draw();
  // Once the open book covers the screen the map, its fireworks and tips under it are not drawn
  // at all, and the book is drawn even with the interface hidden, or it could not be closed.
  if (!(m_interface && m_interface->BookCoversScreen())) {
    Map::cMap& map = *m_level->map;
    map.SortForDrawing();
    map.DrawAll(Map::DrawContext{});
    // Objects and persons without art still show (outlines and dots), so a level whose pictures
    // are missing can be played at all.
    for (size_t i = 0; i < map.Count(); ++i) {
      Map::cObject* o = map.At(i);
      if (o->Has(Map::kFlagHidden) || o->Anim(o->currentAnimation).IsValid()) continue;
      const int x = int(o->x), y = int(o->y);
      if (auto* p = dynamic_cast<const Map::cPerson*>(o)) {
        if (!p->CurrentAnimation().IsValid()) grFillRect(x - 4, y - 10, x + 4, y, grColor(250, 220, 60));
      } else if (o->boundHalfSize.x > 0 && o->boundHalfSize.y > 0) {
        const int cx = x + o->boundCentre.x, cy = y + o->boundCentre.y;
        grFrameRect(cx - o->boundHalfSize.x, cy - o->boundHalfSize.y, cx + o->boundHalfSize.x,
                    cy + o->boundHalfSize.y, grColor(90, 140, 90));
      }
    }
    if (testSetting(TestSwitch::Game_Map_Show_Path_Find_Grid) && m_level->pathFinder) m_level->pathFinder->DrawGrid();
    if (testSetting(TestSwitch::Game_Hide_Interface)) {
      // The leave question is no part of the interface: hidden, it could not be answered.
      if (Menu::UILeaveDialog::IsOpen()) UIWnd::Draw();
      // A story is no part of it either: it must be read to go on.
      if (m_story) m_story->Draw();
      return 0;
    }
    FxManager::fxManager().RenderFireWorks();
    if (m_tips) m_tips->Draw();
  }
  UIWnd::Draw();
  if (m_story) m_story->Draw();
  // The flares of goals met fly over the boards to their rows.
  if (m_interface && !m_interface->BookCoversScreen()) FxManager::fxManager().RenderFlares();
  if (testSetting(TestSwitch::Game_Map_Show_Path_Cache) && m_level->pathFinder)
    m_level->pathFinder->DrawCacheStatistics();
  if (m_letterbox != kLetterboxOff) {
    const int h = int(float(kLetterboxBarHeight) * letterboxProgress() + 0.5f);
    if (h > 0) {
      grFillRect(0, 0, kLogicalWidth, h, 0xFF000000u);
      grFillRect(0, kLogicalHeight - h, kLogicalWidth, kLogicalHeight, 0xFF000000u);
    }
  }
  return 0;
}

}  // namespace Game
