// Interface::UIQuestWnd: the story window. It opens a dialog of "data/menu/ingameDialogs.ini" with
// one or two speakers, types their texts one after the other, and closes on "Close" (or Enter,
// Escape) once the texts have finished; an early press finishes them first.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "game/interface/story_dialog.h"
#include "ui/widget_sprite.h"

class CSprite;
namespace Core {
class UITypingText;
}
namespace FxManager {
class cSimplePyro;
}

namespace Interface {

class UIQuestWnd : public UIWndSprite {
 public:
  // Where the eyes blink on the first speaker's picture.
  static constexpr int kEye1X = 67, kEye1Y = 65, kEye2X = 92, kEye2Y = 63;

  UIQuestWnd();
  ~UIQuestWnd() override;
  // Builds the window from section "Main" of the file with its boxes, names and button; false
  // when the file is missing.
  bool Build(const char* file = kStoryDialogFile);
  // Opens dialog `number`; false (nothing shown) when the file has no such dialog.
  bool Open(int32_t number);
  // Told once each time the window closes.
  void SetOnClosed(std::function<void()> f) { m_onClosed = std::move(f); }
  // "Close": closes when the texts have finished, else finishes them.
  void PressClose();

  bool IsShown() const { return !Hidden(); }
  const StoryDialog& dialog() const { return m_dialog; }
  const cStoryClose& closeRule() const { return m_close; }
  Core::UITypingText* Text(int i) const { return i >= 0 && i < 2 ? m_text[size_t(i)] : nullptr; }
  bool EyesStarted() const { return m_eyesStarted; }

  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int Char(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  int OnCommand(UIWnd* source) override;
  int Update(int dt) override;
  int Draw() override;

 private:
  void DropTexts();
  Core::UITypingText* MakeText(UIWnd* box, const std::string& section, const char* name);

  std::string m_file;
  bool m_built = false;
  StoryDialog m_dialog;
  cStoryClose m_close;
  std::array<Core::UITypingText*, 2> m_text{};  // children of the boxes
  std::array<bool, 2> m_started{}, m_counted{};
  std::array<CSprite*, 2> m_avatar{};
  int32_t m_sinceOpenMs = 0;
  bool m_eyesStarted = false;
  std::array<std::unique_ptr<FxManager::cSimplePyro>, 2> m_eyes;
  std::function<void()> m_onClosed;
};

}  // namespace Interface
