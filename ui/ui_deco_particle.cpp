// The particle window.
#include "ui/ui_deco_particle.h"

#include <string>

#include "anim/fx_simple_pyro.h"
#include "files/ini.h"

namespace Core {

UIParticleWnd::UIParticleWnd() = default;
UIParticleWnd::~UIParticleWnd() = default;

void UIParticleWnd::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  effect_.reset();
  const std::string name = iniGetString(file, section, "effect", "");
  if (name.empty()) return;
  effect_ = std::make_unique<FxManager::cSimplePyro>();
  effect_->Load(name.c_str());
  effect_->SetPosition(float(x_), float(y_));
}

int UIParticleWnd::Start(int a, int b, int) {
  if (!effect_) return 0;
  if (a) effect_->Start();
  else effect_->Stop(b != 0);
  return 0;
}

int UIParticleWnd::Update(int dt) {
  if (effect_) effect_->Update(float(dt));
  return UIWndSprite::Update(dt);
}

int UIParticleWnd::Draw() {
  if (effect_) effect_->Render();
  return 0;
}

// The effect stands where the window stands, also after the window is moved.
void UIParticleWnd::MoveBy(int dx, int dy) {
  UIWndSprite::MoveBy(dx, dy);
  if (effect_) effect_->SetPosition(float(x_), float(y_));
}

void UIParticleWnd::SetPos(int x, int y) {
  UIWndSprite::SetPos(x, y);
  if (effect_) effect_->SetPosition(float(x_), float(y_));
}

}  // namespace Core
