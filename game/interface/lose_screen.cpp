// The board after a lost level.
#include "game/interface/lose_screen.h"


#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "ui/wnd_create.h"

namespace Interface {
namespace {
constexpr const char* kWindows[] = {"Frame", "Witch", "Corner", "textFrame", "text", "name", "StatisticsOK",
                                    "StatisticsRestart"};
}  // namespace

std::u16string losePhraseWithName(std::u16string_view phrase, std::u16string_view name) {
  std::u16string out(phrase);
  if (const size_t at = out.find(u"%s"); at != std::u16string::npos) out.replace(at, 2, name);
  return out;
}

UILoseScreen::UILoseScreen() {
  SetName("LoseScreen");
  SetHidden(true);
}

bool UILoseScreen::Build(const char* file) {
  if (m_built) return true;
  if (!fileExists(file)) {
    errorLog("%s: missing; a lost level shows no lose board\n", file);
    return false;
  }
  Load(file, "Main");
  SetName("LoseScreen");
  for (const char* name : kWindows)
    if (!iniString(file, name, "type").empty()) wndCreate(file, name, this);
  if (!FindChild("StatisticsOK") || !FindChild("StatisticsRestart")) {
    errorLog("%s: [StatisticsOK] and [StatisticsRestart] are needed; the board is not used\n", file);
    return false;
  }
  SetHidden(true);
  m_built = true;
  return true;
}

void UILoseScreen::Show(int32_t phrase, const std::u16string& playerName) {
  if (!m_built) return;
  m_phrase = phrase;
  ResetAnswer();
  SetHidden(false);
  SetAlpha(255);
  const std::string key = "#INTERFACE_LOSE_PHRASE" + std::to_string(phrase);
  const std::u16string text = iniWString("data/translation.ini", nullptr, key.c_str(), u"%s");
  if (UIWnd* w = FindChild("text")) w->SetCaption(losePhraseWithName(text, playerName));
  if (UIWnd* w = FindChild("name")) w->SetCaption(playerName);
  if (UIWnd* a = ActiveChild()) a->SetState(Normal);
  active_ = -1;
}

}  // namespace Interface
