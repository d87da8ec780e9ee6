// The blinking note over the level.
#include "game/interface/message_panel.h"

#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "ui/wnd_create.h"

namespace Interface {

int32_t messageBlinkAlpha(int32_t ms) {
  constexpr int32_t period = UIGameMessage::kBlinkMs + UIGameMessage::kPauseMs;
  if (ms < 0) ms = 0;
  ms %= period;
  if (ms >= UIGameMessage::kBlinkMs) return 0;
  constexpr int32_t half = UIGameMessage::kBlinkMs / 2;
  return ms <= half ? ms * 255 / half : (UIGameMessage::kBlinkMs - ms) * 255 / half;
}

UIGameMessage::UIGameMessage() {
  SetName("Message");
  SetHidden(true);
}

bool UIGameMessage::Build(const char* file) {
  if (m_built) return true;
  if (!fileExists(file)) {
    errorLog("%s: missing; the level shows no note\n", file);
    return false;
  }
  Load(file, "Main");
  SetName("Message");
  if (!iniString(file, "Message", "type").empty()) wndCreate(file, "Message", this);
  SetHidden(true);
  m_built = true;
  return true;
}

void UIGameMessage::Show() {
  if (!m_built) return;
  if (Hidden()) m_ms = 0;
  SetHidden(false);
}

int UIGameMessage::Update(int dt) {
  if (Hidden()) return 0;
  m_ms = (m_ms + (dt > 0 ? dt : 0)) % (kBlinkMs + kPauseMs);
  return UIWnd::Update(dt);
}

int UIGameMessage::Draw() {
  if (Hidden()) return 0;
  SetAlpha(uint8_t(messageBlinkAlpha(m_ms)));
  return UIWndSprite::Draw();
}

}  // namespace Interface
