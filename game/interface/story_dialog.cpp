// Story dialog entries and the close rule.
#include "game/interface/story_dialog.h"

#include <algorithm>
#include <string>

#include "base/diag.h"
#include "files/ini.h"

namespace Interface {
namespace {
StoryPoint point(const char* file, const char* section, const std::string& x, const std::string& y) {
  return {iniGetInt(file, section, x.c_str(), 0), iniGetInt(file, section, y.c_str(), 0)};
}
}  // namespace

bool storyDialogRead(const char* file, int32_t number, StoryDialog& out) {
  const std::string section = "dialog" + std::to_string(number);
  const auto sections = iniSectionList(file);
  if (std::find(sections.begin(), sections.end(), section) == sections.end()) {
    errorLog("%s: no story dialog [%s]", file, section.c_str());
    return false;
  }
  const char* s = section.c_str();
  StoryDialog d;
  d.number = number;
  d.twoSpeakers = iniGetInt(file, s, "double", 0) != 0;
  d.blinkingEyes = iniGetInt(file, s, "effect", 0) == 1;
  d.effectTimeoutMs = std::max(0, iniGetInt(file, s, "effectTimeout", 0));
  d.text2TimeoutMs = std::max(0, iniGetInt(file, s, "text2timeout", 1500));
  d.name1 = iniString(file, s, "name1");
  d.name2 = iniString(file, s, "name2");
  d.avatar1 = iniString(file, s, "avatar1");
  d.avatar2 = iniString(file, s, "avatar2");
  if (d.twoSpeakers) {
    d.box1 = point(file, "double", "x1", "y1");
    d.box2 = point(file, "double", "x2", "y2");
    d.avatar1At = point(file, "double", "avatarx1", "avatary1");
    d.avatar2At = point(file, "double", "avatarx2", "avatary2");
    d.button = point(file, "double", "buttonx", "buttony");
  } else {
    d.box1 = point(file, "single", "x", "y");
    d.avatar1At = point(file, "single", "avatarx", "avatary");
    d.button = point(file, "single", "buttonx", "buttony");
  }
  d.text1Window = "text1_" + std::to_string(number);
  d.text2Window = d.twoSpeakers ? "text2_" + std::to_string(number) : std::string();
  out = std::move(d);
  return true;
}

void cStoryClose::Open(bool twoSpeakers) {
  m_open = true;
  m_needed = twoSpeakers ? 2 : 1;
  m_finished = 0;
}

void cStoryClose::TextFinished() {
  if (m_open) m_finished = std::min(m_finished + 1, m_needed);
}

bool cStoryClose::Close() {
  if (!m_open) return false;
  if (m_finished >= m_needed) {
    m_open = false;
    return true;
  }
  // The press finishes every text at once; the next one closes.
  m_finished = m_needed;
  return false;
}
}  // namespace Interface
