// The sliding notice of earned achievements.
#include "game/interface/achievement_notice.h"

#include <algorithm>

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "gfx/render.h"
#include "gfx/sprite.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "ui/wnd_create.h"

namespace Interface {
namespace {
constexpr const char* kPadSection = "Achieve";
}

// ---- One pad -----------------------------------------------------------------------------------

int UIAchPad::TopAt(Phase phase, int ms, int height) {
  const int rise = std::max(height, 0) + kGap;
  const int t = std::clamp(ms, 0, kSlideMs);
  switch (phase) {
    case Phase::SlidingIn: return kScreenBottom - rise * t / kSlideMs;
    case Phase::Showing: return kScreenBottom - rise;
    // Rounded as on the way in, so a pad sent back mid-way starts down from where it stood.
    case Phase::SlidingOut: return kScreenBottom - rise * (kSlideMs - t) / kSlideMs;
    case Phase::Done: break;
  }
  return kScreenBottom;
}

UIAchPad::~UIAchPad() { sprRelease(m_icon); }

void UIAchPad::Build(const char* file, const std::u16string& text, const std::string& icon) {
  Load(file, kPadSection);
  SetPos(homeX_, kScreenBottom);
  if (!iniString(file, "Title", "type").empty()) wndCreate(file, "Title", this, true);
  if (!iniString(file, "Message", "type").empty()) m_message = wndCreate(file, "Message", this, true);
  if (m_message)
    m_message->SetCaption(text);
  else
    errorLog("%s: no window [Message]; the notice shows no text\n", file);
  m_iconX = iniGetInt(file, "Icon", "x", 0);
  m_iconY = iniGetInt(file, "Icon", "y", 0);
  m_iconW = iniGetInt(file, "Icon", "xs", 0);
  m_iconH = iniGetInt(file, "Icon", "ys", 0);
  if (!icon.empty() && grIsReady()) m_icon = sprGet(icon.c_str());
}

void UIAchPad::Place() { SetPos(x_, TopAt(m_phase, m_ms, ys_)); }

int UIAchPad::Update(int dt) {
  m_ms += std::max(dt, 0);
  if (m_phase == Phase::SlidingIn && m_ms >= kSlideMs) {
    m_phase = Phase::Showing;
    m_ms -= kSlideMs;
  }
  if (m_phase == Phase::Showing && m_ms >= kShowMs) {
    m_phase = Phase::SlidingOut;
    m_ms -= kShowMs;
  }
  if (m_phase == Phase::SlidingOut && m_ms >= kSlideMs) {
    m_phase = Phase::Done;
    m_ms = 0;
  }
  Place();
  return UIWnd::Update(dt);
}

void UIAchPad::Leave() {
  if (m_phase == Phase::SlidingIn)
    m_ms = kSlideMs - std::min(m_ms, kSlideMs);  // as far down as it had come up: no jump
  else if (m_phase == Phase::Showing)
    m_ms = 0;
  else
    return;
  m_phase = Phase::SlidingOut;
  Place();
}

bool UIAchPad::HitTest(int x, int y) const { return m_phase != Phase::Done && UIWnd::HitTest(x, y); }

int UIAchPad::Draw() {
  if (Hidden() || m_phase == Phase::Done) return 0;
  const int stop = UIWndSprite::Draw();
  if (m_icon && m_iconW > 0 && m_iconH > 0)
    sprDrawStretched(m_icon, x_ + m_iconX, y_ + m_iconY, x_ + m_iconX + m_iconW, y_ + m_iconY + m_iconH,
                     ModeFor(colour_), false, colour_);
  return stop;
}

// ---- The queue ---------------------------------------------------------------------------------

UIAchievementInterface::UIAchievementInterface() { SetName("AchievementInterface"); }

UIAchievementInterface::~UIAchievementInterface() {
  if (Game::cAchievementTable* t = Game::achievementTable()) t->RemoveListener(this);
}

bool UIAchievementInterface::Build(const char* file) {
  if (!fileExists(file)) {
    errorLog("%s: missing; achievements are earned without a notice\n", file);
    return false;
  }
  m_file = file;
  Load(file, "Main");
  SetName("AchievementInterface");
  if (iniString(file, kPadSection, "xs").empty() && iniString(file, kPadSection, "normal").empty())
    errorLog("%s: [%s] gives the pad no size or picture; the notice cannot be seen\n", file, kPadSection);
  if (Game::cAchievementTable* t = Game::achievementTable()) t->SetListener(this);
  return true;
}

void UIAchievementInterface::OnAchievementEarned(const Game::AchievementRecord& r) { Push(r.text, r.icon); }

void UIAchievementInterface::Push(const std::u16string& text, const std::string& icon) {
  if (m_file.empty()) return;
  const bool wasEmpty = ChildCount() == 0;
  auto* pad = new UIAchPad();
  if (!AddChild(pad)) return;  // a full queue drops the notice, never the achievement
  pad->Build(m_file.c_str(), text, icon);
  if (wasEmpty) StartFront();
}

UIAchPad* UIAchievementInterface::Front() const { return static_cast<UIAchPad*>(Child(0)); }

void UIAchievementInterface::StartFront() {
  if (Front()) sndPlay(kSound);
}

int UIAchievementInterface::Update(int dt) {
  if (Hidden()) return 0;
  age_ += dt;
  UIAchPad* front = Front();
  if (!front) return 0;
  front->Update(dt);
  if (front->phase() == UIAchPad::Phase::Done) {
    RemoveChild(front);
    StartFront();
  }
  return 0;
}

int UIAchievementInterface::Draw() {
  if (Hidden()) return 0;
  if (UIAchPad* front = Front()) front->Draw();
  return 0;
}

bool UIAchievementInterface::HitTest(int x, int y) const {
  const UIAchPad* front = Front();
  return !Hidden() && front && front->HitTest(x, y);
}

int UIAchievementInterface::Click(int code, int value) {
  if (code != VK_LBUTTON_ && code != VK_RBUTTON_) return 0;
  UIAchPad* front = Front();
  if (!front || !HitTest(UIWndSprite::PosX(value), UIWndSprite::PosY(value))) return 0;
  // Press and release belong to one click: the pad is told once, and either half keeps the click
  // off the map below.
  if (front->Leaving()) return 1;
  front->Leave();
  if (m_dispatcher) {
    GameEvent e;
    MakeEvent(e, Game::Event::AchievementNoticeClicked);
    Post(m_dispatcher, e);
  }
  return 1;
}

int UIAchievementInterface::KeyDown(int code, int value) { return Click(code, value); }
int UIAchievementInterface::KeyUp(int code, int value) { return Click(code, value); }

}  // namespace Interface
