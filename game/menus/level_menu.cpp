// The level map screen.
#include "game/menus/level_menu.h"

#include <cstdio>
#include <string>
#include <strings.h>

#include "files/ini.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/menus/level_button.h"
#include "game/menus/level_flow.h"
#include "game/menus/screens.h"
#include "game/menus/totem_info.h"
#include "platform/platform.h"
#include "ui/widget_sprite.h"
#include "ui/wnd_create.h"

namespace Menu {

namespace {
constexpr const char* kEffectNames[UILevelMenu::kEpisodes] = {"Beames", "Leaves", "Snow"};
constexpr uint32_t kOpaque = 0xFFFFFFFFu;
constexpr uint32_t kClear = 0x00FFFFFFu;

int modeOf(const PlayerProgress& p) { return p.mode >= 0 && p.mode < kGameModes ? p.mode : 0; }

int currentLevelOf(const PlayerProgress* p) {
  const int level = p->level[modeOf(*p)];
  return level >= 1 && level <= kProgressLevels ? level : 1;
}

void setList(const std::vector<UIWnd*>& list, uint32_t colour, bool hidden) {
  for (UIWnd* w : list) {
    w->SetColour(colour);
    w->SetHidden(hidden);
  }
}
}  // namespace

bool levelAvailable(const PlayerProgress& record, int level, bool openAll) {
  if (level < 1 || level > kProgressLevels) return false;
  if (openAll) return true;
  const int mode = modeOf(record);
  if (levelIsBonus(level)) {
    for (int n = level - 10; n < level; ++n)
      if (record.lp[mode][n - 1] < 3) return false;
    return true;
  }
  return level <= record.levelMax[mode];
}

void UILevelMenu::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  // Each episode's own painted map lies under everything else and cross-fades with the episode.
  for (int e = 0; e < kEpisodes; ++e) {
    const std::string name = "map" + std::to_string(e + 1);
    if (UIWnd* map = wndCreate(file, name.c_str(), this, true)) lists_[e].push_back(map);
  }
  for (const char* name : {"Prev", "Next", "Menu", "Play"}) wndCreate(file, name, this, true);
  for (const char* name : {"Glow1", "Glow2"}) wndCreate(file, name, this, true);
  for (const char* name : {"Prev", "Glow1", "Glow2"})
    if (UIWnd* w = FindChild(name)) w->SetHidden(true);
  for (const char* name : {"Leave1", "Leave2", "Leave3"})
    if (UIWnd* w = wndCreate(file, name, this, true)) lists_[0].push_back(w);
  for (const char* name : {"LeaveAutumn1", "LeaveAutumn2", "LeaveAutumn3"})
    if (UIWnd* w = wndCreate(file, name, this, true)) lists_[1].push_back(w);

  // Without a player the map shows what a new player would see.
  static const PlayerProgress kNewPlayer;
  const PlayerProgress* record = playerProgress() ? playerProgress() : &kNewPlayer;
  const int currentLevel = currentLevelOf(record);
  const bool openAll = testSetting(TestSwitch::Game_Open_All_Levels) != 0;
  const int mode = modeOf(*record);
  episode_ = previous_ = levelEpisode(currentLevel);
  current_ = nullptr;

  for (int e = 0; e < kEpisodes; ++e) {
    effects_[e] = wndCreate(file, kEffectNames[e], this, true);
    if (effects_[e] && e == episode_) effects_[e]->Start(1, 0, 0);
    for (int i = 1; i <= kEpisodeLevels; ++i) {
      const int n = kEpisodeLevels * e + i;
      auto* b = new UILevelMenuButton(n);
      b->Load(levelIsBonus(n) ? UILevelMenuButton::kBonusFile : UILevelMenuButton::kFile, "Main");
      const std::string place = "lvl" + std::to_string(i);
      b->MoveBy(iniGetInt(file, place.c_str(), "x", 0), iniGetInt(file, place.c_str(), "y", 0));
      if (!AddChild(b)) continue;
      // A level is open only when the data holds its map, so the map never offers a level that
      // cannot load, whatever the record or the test switch says.
      const bool open = levelAvailable(*record, n, openAll) && LevelExists(n);
      b->SetState(open ? Normal : Ignore);
      b->ShowStars(record->lp[mode][n - 1]);
      if (n == currentLevel) current_ = b;
      lists_[e].push_back(b);
    }
    const std::string picture = "episode" + std::to_string(e + 1);
    if (UIWnd* w = wndCreate(file, picture.c_str(), this, true)) lists_[e].push_back(w);
  }
  for (int e = 0; e < kEpisodes; ++e) setList(lists_[e], e == episode_ ? kOpaque : kClear, e != episode_);
  if (UIWnd* prev = FindChild("Prev")) prev->SetHidden(episode_ == 0);
  if (UIWnd* next = FindChild("Next")) next->SetHidden(episode_ == kEpisodes - 1);
  // The result board stands over the row of buttons above the one it tells about, so it comes
  // after every button (drawn over them) and only the fade covers it.
  info_ = new UIGlobalMapTotemInfo();
  info_->Load(UIGlobalMapTotemInfo::kFile, "Main");
  if (!AddChild(info_)) info_ = nullptr;
  if (current_) PlaceGlows(current_);
  AddFade();
}

UILevelMenuButton* UILevelMenu::Button(int level) const {
  if (level < 1 || level > kEpisodes * kEpisodeLevels) return nullptr;
  for (UIWnd* w : lists_[levelEpisode(level)])
    if (auto* b = dynamic_cast<UILevelMenuButton*>(w); b && b->Level() == level) return b;
  return nullptr;
}

void UILevelMenu::PlaceGlows(UILevelMenuButton* b) {
  for (const char* name : {"Glow1", "Glow2"}) {
    if (UIWnd* g = FindChild(name)) {
      g->SetPos(b->X() + b->GlowX(), b->Y() + b->GlowY());
      g->SetHidden(b->Hidden());
      g->SetColour(b->Colour());
    }
  }
  pressed_ = false;
}

void UILevelMenu::MoveGlows(int dy) {
  for (const char* name : {"Glow1", "Glow2"})
    if (UIWnd* g = FindChild(name)) g->MoveBy(0, dy);
}

void UILevelMenu::ChangeEpisode(int d) {
  const int next = episode_ + d;
  if (d == 0 || next < 0 || next >= kEpisodes || InTransition()) return;
  previous_ = episode_;
  episode_ = next;
  if (UIWnd* prev = FindChild("Prev")) prev->SetHidden(episode_ == 0);
  if (UIWnd* nextButton = FindChild("Next")) nextButton->SetHidden(episode_ == kEpisodes - 1);
  transition_.SetPeriod(kTransitionMs);
  transition_.Restart();
  if (effects_[episode_]) effects_[episode_]->Start(1, 0, 0);
  // The old episode's weather dies out over the fade instead of vanishing.
  if (effects_[previous_]) effects_[previous_]->Start(0, 0, 0);
  if (info_) info_->Hide();
}

int UILevelMenu::Update(int dt) {
  doubleClick_.Advance(dt);
  if (InTransition()) {
    const bool ended = transition_.Advance(dt);
    const int c = ended ? 255 : 255 * transition_.Time() / kTransitionMs;
    const uint32_t fadingOut = (uint32_t(255 - c) << 24) | 0xFFFFFFu;
    const uint32_t fadingIn = (uint32_t(c) << 24) | 0xFFFFFFu;
    setList(lists_[previous_], fadingOut, ended);
    setList(lists_[episode_], fadingIn, false);
    if (current_) {
      const int e = levelEpisode(current_->Level());
      if (e == previous_ || e == episode_) {
        for (const char* name : {"Glow1", "Glow2"})
          if (UIWnd* g = FindChild(name)) {
            g->SetColour(current_->Colour());
            g->SetHidden(current_->Hidden());
          }
      }
    }
    // The snow falls everywhere on the screen, so it cannot be left to die out over another map.
    if (ended && previous_ == 2 && effects_[2]) effects_[2]->Start(0, 1, 0);
  }
  return UIMenuWithFade::Update(dt);
}

void UILevelMenu::ShowInfo(UILevelMenuButton* b) {
  if (!info_) return;
  const PlayerProgress* p = playerProgress();
  const int mode = p ? modeOf(*p) : 0;
  const int n = b->Level();
  const int score = p ? p->sl[mode][n - 1] : 0;
  const int seconds = p ? p->t[mode][n - 1] : 0;
  info_->Show(n, score, seconds, b->X() + b->Width() / 2 - info_->Width() / 2, b->Y() - info_->Height() - 20);
}

int UILevelMenu::MouseMove(int buttons, int value) {
  if (InTransition()) return 1;
  UIWnd* before = ActiveChild();
  const bool changed = TrackHover(value);
  if (changed && info_) info_->Hide();
  if (UIWnd* a = ActiveChild()) a->MouseMove(buttons, value);
  if (changed) {
    if (auto* b = dynamic_cast<UILevelMenuButton*>(ActiveChild())) ShowInfo(b);
    if (current_ && before == current_) PlaceGlows(current_);
  }
  return 0;
}

int UILevelMenu::KeyDown(int code, int value) {
  if (InTransition()) return 1;
  if (code == VK_LBUTTON_ && current_ && ActiveChild() == current_ && !pressed_) {
    MoveGlows(UILevelMenuButton::kPressDepth);
    pressed_ = true;
  }
  return UIMenuWithFade::KeyDown(code, value);
}

int UILevelMenu::KeyUp(int code, int value) {
  if (InTransition()) return 1;
  const int r = UIMenuWithFade::KeyUp(code, value);
  if (r && code == VK_LBUTTON_ && pressed_) {
    MoveGlows(-UILevelMenuButton::kPressDepth);
    pressed_ = false;
  }
  return r;
}

int UILevelMenu::Char(int code, int value) { return InTransition() ? 1 : UIMenuWithFade::Char(code, value); }

int UILevelMenu::Wheel(float delta, int code, int value) {
  return InTransition() ? 1 : UIMenuWithFade::Wheel(delta, code, value);
}

void UILevelMenu::Play() {
  if (!current_) return;
  if (PlayerProgress* p = playerProgress()) {
    // Choosing a level only makes it current: a bonus level, or any level opened by the test
    // switch, must not raise the highest level reached and so open the levels before it.
    p->level[modeOf(*p)] = current_->Level();
  }
  StartCurrentLevel();
}

void UILevelMenu::StartCurrentLevel() { PlayCurrentLevel(); }

void UILevelMenu::BackToMainMenu() { ShowMainMenu(); }

int UILevelMenu::OnCommand(UIWnd* source) {
  if (!source) return UIMenuWithFade::OnCommand(source);
  const char* name = source->Name();
  if (strcasecmp(name, "Play") == 0) {
    Play();
    return 1;
  }
  if (strcasecmp(name, "Menu") == 0) {
    BackToMainMenu();
    return 1;
  }
  if (strcasecmp(name, "Prev") == 0 || strcasecmp(name, "Next") == 0) {
    ChangeEpisode(strcasecmp(name, "Prev") == 0 ? -1 : 1);
    return 1;
  }
  if (strcasecmp(name, "Button") == 0) {
    if (auto* b = dynamic_cast<UILevelMenuButton*>(source->Parent())) {
      if (b == current_ && !doubleClick_.IsStopped()) {
        Play();
      } else {
        current_ = b;
        doubleClick_.SetPeriod(kDoubleClickMs);
        doubleClick_.Restart();
        PlaceGlows(b);
      }
      return 1;
    }
  }
  if (strcasecmp(name, "Fade") != 0) std::printf("%s\n", name);
  return UIMenuWithFade::OnCommand(source);
}

}  // namespace Menu
