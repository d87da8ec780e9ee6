// The story window.
#include "game/interface/quest_wnd.h"

#include <strings.h>

#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "platform/platform.h"
#include "ui/ui_deco_text.h"
#include "ui/wnd_create.h"

namespace Interface {

UIQuestWnd::UIQuestWnd() {
  SetName("QuestWnd");
  SetHidden(true);
}

UIQuestWnd::~UIQuestWnd() {
  for (CSprite* s : m_avatar) sprRelease(s);
}

bool UIQuestWnd::Build(const char* file) {
  if (m_built) return true;
  if (!fileExists(file)) {
    errorLog("%s: missing; the level's stories are not shown\n", file);
    return false;
  }
  m_file = file;
  Load(file, "Main");
  SetName("QuestWnd");
  for (const char* name : {"box1", "box2", "Close"})
    if (!iniString(file, name, "type").empty()) wndCreate(file, name, this);
  for (int i = 0; i < 2; ++i) {
    const std::string box = "box" + std::to_string(i + 1), name = "name" + std::to_string(i + 1);
    if (UIWnd* b = FindChild(box.c_str()); b && !iniString(file, name.c_str(), "type").empty())
      wndCreate(file, name.c_str(), b, true);
  }
  for (auto& e : m_eyes) {
    e = std::make_unique<FxManager::cSimplePyro>();
    e->Load("StoryEyes");
  }
  SetHidden(true);
  m_built = true;
  return true;
}

void UIQuestWnd::DropTexts() {
  for (size_t i = 0; i < 2; ++i) {
    if (Core::UITypingText* t = m_text[i])
      if (UIWnd* box = t->Parent()) box->RemoveChild(t);
    m_text[i] = nullptr;
  }
}

Core::UITypingText* UIQuestWnd::MakeText(UIWnd* box, const std::string& section, const char* name) {
  if (!box || iniString(m_file.c_str(), section.c_str(), "type").empty()) {
    errorLog("%s: no text window [%s] for story dialog %d\n", m_file.c_str(), section.c_str(), int(m_dialog.number));
    return nullptr;
  }
  UIWnd* w = wndCreate(m_file.c_str(), section.c_str(), box, true);
  auto* t = dynamic_cast<Core::UITypingText*>(w);
  if (!t) {
    errorLog("%s: [%s] is not a typing text; story dialog %d shows without it\n", m_file.c_str(), section.c_str(),
             int(m_dialog.number));
    if (w) box->RemoveChild(w);
    return nullptr;
  }
  t->SetName(name);
  t->SetHidden(true);
  return t;
}

bool UIQuestWnd::Open(int32_t number) {
  if (!m_built) return false;
  StoryDialog d;
  if (!storyDialogRead(m_file.c_str(), number, d)) return false;
  m_dialog = d;
  DropTexts();
  UIWnd* box1 = FindChild("box1");
  UIWnd* box2 = FindChild("box2");
  if (box1) {
    box1->SetPos(d.box1.x, d.box1.y);
    box1->SetHidden(false);
  }
  if (box2) {
    box2->SetPos(d.box2.x, d.box2.y);
    box2->SetHidden(!d.twoSpeakers);
  }
  if (UIWnd* c = FindChild("Close")) c->SetPos(d.button.x, d.button.y);
  m_text[0] = MakeText(box1, d.text1Window, "text1");
  if (d.twoSpeakers) m_text[1] = MakeText(box2, d.text2Window, "text2");
  const std::string* names[2] = {&d.name1, &d.name2};
  UIWnd* boxes[2] = {box1, box2};
  for (size_t i = 0; i < 2; ++i) {
    if (!boxes[i]) continue;
    if (UIWnd* n = boxes[i]->FindChild(("name" + std::to_string(i + 1)).c_str()))
      n->SetCaption(iniWString("data/translation.ini", nullptr, names[i]->c_str(), u""));
  }
  const std::string* pics[2] = {&d.avatar1, &d.avatar2};
  for (size_t i = 0; i < 2; ++i) {
    sprRelease(m_avatar[i]);
    m_avatar[i] = nullptr;
    if ((i == 0 || d.twoSpeakers) && !pics[i]->empty()) m_avatar[i] = sprGet(pics[i]->c_str());
  }
  m_close.Open(d.twoSpeakers);
  // A text the file lacks counts as finished, so the dialog can still be closed.
  m_started = {false, false};
  m_counted = {false, false};
  for (size_t i = 0; i < 2; ++i)
    if (!m_text[i] && (i == 0 || d.twoSpeakers)) {
      m_counted[i] = true;
      m_close.TextFinished();
    }
  if (m_text[0]) {
    m_text[0]->Refresh();
    m_started[0] = true;
  }
  m_sinceOpenMs = 0;
  m_eyesStarted = false;
  for (auto& e : m_eyes)
    if (e) e->Stop(true);
  if (UIWnd* a = ActiveChild()) a->SetState(Normal);
  active_ = -1;
  SetHidden(false);
  return true;
}

void UIQuestWnd::PressClose() {
  if (Hidden()) return;
  if (m_close.Close()) {
    DropTexts();
    for (auto& e : m_eyes)
      if (e) e->Stop(true);
    SetHidden(true);
    if (m_onClosed) m_onClosed();
    return;
  }
  // Both texts stand complete at once; the next press closes.
  for (size_t i = 0; i < 2; ++i) {
    if (!m_text[i]) continue;
    m_text[i]->SetHidden(false);
    m_text[i]->Start(0, 0, 0);
    m_started[i] = true;
    m_counted[i] = true;
  }
}

int UIQuestWnd::Update(int dt) {
  if (Hidden()) return 0;
  m_sinceOpenMs += dt > 0 ? dt : 0;
  if (m_text[1] && !m_started[1] && m_sinceOpenMs >= m_dialog.text2TimeoutMs) {
    m_text[1]->Refresh();
    m_started[1] = true;
  }
  if (m_dialog.blinkingEyes && !m_eyesStarted && m_sinceOpenMs >= m_dialog.effectTimeoutMs) {
    m_eyesStarted = true;
    const int eyes[2][2] = {{kEye1X, kEye1Y}, {kEye2X, kEye2Y}};
    for (size_t i = 0; i < 2; ++i) {
      if (!m_eyes[i]) continue;
      m_eyes[i]->SetPosition(float(m_dialog.avatar1At.x + eyes[i][0]), float(m_dialog.avatar1At.y + eyes[i][1]));
      m_eyes[i]->Start();
    }
  }
  for (auto& e : m_eyes)
    if (e) e->Update(float(dt));
  const int r = UIWnd::Update(dt);
  // A text counts once, when its last character has been typed.
  for (size_t i = 0; i < 2; ++i) {
    if (!m_text[i] || !m_started[i] || m_counted[i] || m_text[i]->Typing()) continue;
    m_counted[i] = true;
    m_close.TextFinished();
  }
  return r;
}

int UIQuestWnd::Draw() {
  if (Hidden()) return 0;
  const StoryPoint at[2] = {m_dialog.avatar1At, m_dialog.avatar2At};
  for (size_t i = 0; i < 2; ++i)
    if (m_avatar[i]) grDrawSprite(kModeAuto, 15, at[i].x, at[i].y, sprWidth(m_avatar[i]), sprHeight(m_avatar[i]),
                                  m_avatar[i], 0, 0, 0xFFFFFFFFu, 0);
  UIWndSprite::Draw();
  for (auto& e : m_eyes)
    if (e) e->Render();
  return 0;
}

int UIQuestWnd::KeyDown(int code, int value) {
  if (Hidden()) return 0;
  if (code == VK_RETURN_ || code == VK_ESCAPE_) {
    PressClose();
    return 1;
  }
  if (code == VK_LBUTTON_) TrackMouse(value);
  UIWndSprite::KeyDown(code, value);
  return 1;
}

int UIQuestWnd::KeyUp(int code, int value) {
  if (Hidden()) return 0;
  UIWndSprite::KeyUp(code, value);
  return 1;
}

int UIQuestWnd::Char(int, int) { return Hidden() ? 0 : 1; }

int UIQuestWnd::MouseMove(int, int value) {
  if (Hidden()) return 0;
  TrackMouse(value);
  return 1;
}

int UIQuestWnd::OnCommand(UIWnd* source) {
  // The texts' own "typed" notes are counted in Update; only the button acts.
  if (source && strcasecmp(source->Name(), "Close") == 0) PressClose();
  return 1;
}

}  // namespace Interface
