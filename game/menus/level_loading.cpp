// The level loading screen.
#include "game/menus/level_loading.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "files/ini.h"
#include "game/core/level_context.h"
#include "game/menus/level_flow.h"
#include "game/menus/loading_hint.h"
#include "ui/wnd_create.h"

namespace Menu {

ShieldLight loadingShieldLight(int shields, int counter, int steps) {
  ShieldLight s;
  if (shields <= 0 || steps <= 0) return s;
  const long long scaled = static_cast<long long>(shields) * counter;
  s.full = int(scaled / steps);
  s.alpha = int(std::min<long long>(255, (scaled % steps) * 255 / steps));
  return s;
}

UILevelLoading::UILevelLoading(int hint, int level, int mode) : hint_(hint), level_(level), mode_(mode) {}

void UILevelLoading::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  if (UIWnd* caption = wndCreate(file, "Level", this)) {
    std::u16string text = caption->Caption();
    text += u' ';
    text += levelTitle(level_);
    caption->SetCaption(text);
  }
  auto* hint = new UILoadingHint(hint_);
  hint->Load(kHintsFile, "Main");
  AddChild(hint);
  shields_ = std::max(0, iniGetInt(file, "ShieldTable", "cols", 0));
  const float dx = iniGetFloat(file, "ShieldTable", "deltaX", 0.0f);
  const int x = iniGetInt(file, "ShieldTable", "x", 0), y = iniGetInt(file, "ShieldTable", "y", 0);
  for (int i = 0; i < shields_; ++i) {
    UIWnd* shield = wndCreate(file, "shield", this);
    if (!shield) continue;
    shield->SetName(("shield" + std::to_string(i)).c_str());
    shield->SetColour(0x00FFFFFFu);
    shield->SetPos(x + int(std::lround(float(i) * dx)), y);
  }
  const int episode = level_ >= 1 ? (level_ - 1) / 16 + 1 : 1;
  wndCreate(file, ("episode" + std::to_string(episode)).c_str(), this);
  // The fade comes last so that it covers the screen while it opens.
  AddFade();
}

bool UILevelLoading::Step() {
  if (failed_) return false;
  if (firstStep_) {
    firstStep_ = false;
    if (!Game::PrepareLevel(level_, mode_)) {
      Abandon();
      return false;
    }
    steps_ = Game::LoadLevelStageCount();
    return false;
  }
  if (counter_ < steps_ && !Game::LoadLevelStage(level_, counter_)) {
    Abandon();
    return false;
  }
  ++counter_;
  LightShields();
  return counter_ >= steps_;
}

void UILevelLoading::LightShields() {
  const ShieldLight s = loadingShieldLight(shields_, counter_, steps_);
  if (UIWnd* part = FindChild(("shield" + std::to_string(s.full)).c_str()))
    part->SetColour((uint32_t(s.alpha) << 24) | 0xFFFFFFu);
  // With more shields than stages one stage passes over several; none is left dark behind.
  for (int i = 0; i < s.full && i < shields_; ++i)
    if (UIWnd* lit = FindChild(("shield" + std::to_string(i)).c_str())) lit->SetColour(0xFFFFFFFFu);
}

void UILevelLoading::Abandon() {
  failed_ = true;
  Game::EndLevel();
  ShowLevelMap();
}

void UILevelLoading::OnLeft() {
  if (failed_ || !Game::levelContext()) {
    ShowLevelMap();
    return;
  }
  Game::levelShowView();
}

}  // namespace Menu
