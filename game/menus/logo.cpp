// Start-up logo pages.
#include "game/menus/logo.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

#include "files/ini.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/menus/screens.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"

namespace {
constexpr const char* kLogoFile = "data/logo/logo.ini";
}

std::string UILogo::FrameName(const std::string& format, int frame) {
  const size_t pct = format.find('%');
  if (pct == std::string::npos) return format;
  size_t i = pct + 1;
  bool zero = false;
  if (i < format.size() && format[i] == '0') {
    zero = true;
    ++i;
  }
  int width = 0;
  while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])) && width < 100)
    width = width * 10 + (format[i++] - '0');
  if (i >= format.size() || (format[i] != 'd' && format[i] != 'i')) return format;
  if (format.find('%', i + 1) != std::string::npos) return format;
  std::string number = std::to_string(frame);
  if (int(number.size()) < width) number.insert(0, size_t(width) - number.size(), zero ? '0' : ' ');
  return format.substr(0, pct) + number + format.substr(i + 1);
}

UILogo::UILogo(int index) : index_(index) {
  // The page's section: the index-th of the document, or none when they have run out (then every
  // key takes its default and there is no picture, which ends the logos).
  const std::vector<std::string> sections = iniSectionList(kLogoFile);
  if (index >= 0 && size_t(index) < sections.size()) section_ = sections[size_t(index)];
  const char* s = section_.c_str();
  name_ = section_.empty() ? "" : iniGetString(kLogoFile, s, "name", "");
  length_ = iniGetInt(kLogoFile, s, "lenght", 0);
  videoTime_ = std::max(iniGetInt(kLogoFile, s, "video_time", 0), length_);
  const std::string show = section_.empty() ? "" : iniGetString(kLogoFile, s, "show_time", "");
  showTime_ = show.empty() ? 7000 : iniGetInt(kLogoFile, s, "show_time", 7000);
  if (!section_.empty() && (iniHasKey(kLogoFile, s, "bg_r") || iniHasKey(kLogoFile, s, "bg_g") ||
                            iniHasKey(kLogoFile, s, "bg_b"))) {
    useBackground_ = true;
    auto channel = [&](const char* key) { return std::clamp(iniGetInt(kLogoFile, s, key, 0), 0, 255); };
    background_ = grColor(channel("bg_r"), channel("bg_g"), channel("bg_b"));
  }
  unhideTime_ = iniGetInt(kLogoFile, s, "unhide_time", 0);
  hideStart_ = iniGetInt(kLogoFile, s, "hide_start", 0);
  if (hideStart_ == 0) hideStart_ = showTime_;
  if (!name_.empty()) SetPicture(length_ > 1 ? FrameName(name_, 1) : name_);
  SetPos(0, 0);
}

UILogo::~UILogo() { sprRelease(picture_); }

void UILogo::SetPicture(const std::string& name) {
  sprRelease(picture_);
  frameName_ = name;
  picture_ = name.empty() ? nullptr : sprGet(name.c_str());
}

int UILogo::Update(int dt) {
  age_ += dt;
  if (age_ <= showTime_) return 0;
  Menu::ShowScreen(new UILogo(index_ + 1));
  return 1;
}

int UILogo::Draw() {
  if (!picture_) {
    Menu::ShowAppLoading();
    return 1;
  }
  if (length_ > 1 && age_ < videoTime_) {
    const int perFrame = std::max(1, videoTime_ / length_);
    const std::string name = FrameName(name_, age_ / perFrame + 1);
    if (strcasecmp(name.c_str(), frameName_.c_str()) != 0) {
      SetPicture(name);
      if (!picture_) return 0;  // a missing frame: the next one may be there
    }
  }
  const int w = sprWidth(picture_), h = sprHeight(picture_);
  if (useBackground_) grFillRect(0, 0, w, h, background_);
  sprDrawStretched(picture_, 0, 0, w, h, kModeTextureAlpha, false);
  if (age_ < unhideTime_ && unhideTime_ > 0)
    grFillRect(0, 0, w, h, grColor(0, 0, 0, std::clamp(255 - age_ * 255 / unhideTime_, 0, 255)));
  if (age_ > hideStart_) {
    const int span = showTime_ - hideStart_;
    const int alpha = span > 0 ? std::min(255, (age_ - hideStart_) * 255 / span) : 255;
    grFillRect(0, 0, w, h, grColor(0, 0, 0, alpha));
  }
  return 0;
}

int UILogo::KeyDown(int, int) {
  sprRelease(picture_);
  picture_ = nullptr;
  Menu::ShowAppLoading();
  return 1;
}

namespace Menu {

void PrepareStartProgress() {
  if (!playerProgress() && playerCurrent() >= 0) playerSelect(playerCurrent());
  PlayerProgress* p = playerProgress();
  const int level = testSetting(TestSwitch::Game_Test_Level);
  // Only for this run: nothing is saved here.
  if (p && level >= 1 && level <= kProgressLevels) progressSetLevel(*p, level, false);
}

}  // namespace Menu
