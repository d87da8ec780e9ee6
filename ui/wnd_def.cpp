// Loading a window's look and place from an INI section, reloading it, and the edit-mode keys
// that move a window and write its place back.
#include "ui/wnd.h"

#include <cstdio>
#include <string>

#include "files/ini.h"
#include "gfx/sprite.h"
#include "platform/platform.h"

void UIWnd::Load(const char* file, const char* section) { LoadDef(file, section, false); }

void UIWnd::LoadDef(const char* file, const char* section, bool reload) {
  if (!file || !section) return;
  defFile_ = file;
  defSection_ = section;
  if (!reload) SetName(section);
  homeX_ = int16_t(iniGetInt(file, section, "x", 0));
  homeY_ = int16_t(iniGetInt(file, section, "y", 0));
  if (!reload) {
    x_ = homeX_;
    y_ = homeY_;
    xs_ = int16_t(iniGetInt(file, section, "xs", 0));
    ys_ = int16_t(iniGetInt(file, section, "ys", 0));
  }
  std::u16string caption = iniGetWText(file, section, "name", u"");
  if (!reload || !caption.empty()) caption_ = caption;
  flags_ = uint8_t((flags_ & ~6) | ((iniGetInt(file, section, "select", 0) & 3) << 1));
  xalign_ = int8_t(iniGetInt(file, section, "xalign", 0));
  yalign_ = int8_t(iniGetInt(file, section, "yalign", 0));
  static const char* const kStates[4] = {"ignore", "normal", "active", "press"};
  for (int s = 0; s < 4; ++s) {
    std::string picture = iniGetString(file, section, kStates[s], "");
    if (picture.empty()) continue;
    std::string alphaKey = std::string(kStates[s]) + "_alpha";
    std::string alpha = iniGetString(file, section, alphaKey.c_str(), "");
    sprRelease(images_[s]);
    images_[s] = sprGet(picture.c_str(), alpha.empty() ? nullptr : alpha.c_str());
    // A reload reads the mirroring afresh: a key taken out of the definition ends it.
    flip_ = uint8_t(flip_ & ~((1 << s) | (1 << (s + 4))));
    if (iniGetInt(file, section, (std::string(kStates[s]) + "_flip_x").c_str(), 0) == 1) flip_ |= uint8_t(1 << s);
    if (iniGetInt(file, section, (std::string(kStates[s]) + "_flip_y").c_str(), 0) == 1) flip_ |= uint8_t(1 << (s + 4));
    if (images_[s]) {
      if (xs_ == 0) xs_ = int16_t(sprWidth(images_[s]));
      if (ys_ == 0) ys_ = int16_t(sprHeight(images_[s]));
    }
  }
  std::snprintf(sndNormalActive_, sizeof sndNormalActive_, "%s", iniGetString(file, section, "sndNormalActive", ""));
  std::snprintf(sndActivePress_, sizeof sndActivePress_, "%s", iniGetString(file, section, "sndActivePress", ""));
  std::string font = iniGetString(file, section, "font", "");
  if (!font.empty()) {
    sprRelease(font_);
    font_ = sprGetFont(font.c_str());
  }
  if (!reload) {
    std::string effect = iniGetString(file, section, "effect", "");
    if (!effect.empty()) {
      UIEffect e;
      e.type = uint8_t(iniGetInt(file, effect.c_str(), "type", 0));
      e.period = iniGetInt(file, effect.c_str(), "period", 1000);
      e.x = int16_t(iniGetInt(file, effect.c_str(), "x", 0));
      e.y = int16_t(iniGetInt(file, effect.c_str(), "y", 0));
      e.scale = iniGetFloat(file, effect.c_str(), "scale", 1.0f);
      if (e.scale < 0) e.scale = 0;
      e.rotate = iniGetFloat(file, effect.c_str(), "rotate", 0.0f) * 3.14159f / 180.0f;
      effect_ = std::make_unique<UIEffect>(e);
    }
  }
}

void UIWnd::SetFont(const char* name) {
  if (!name || !*name) return;
  CSprite* f = sprGetFont(name);
  sprRelease(font_);
  font_ = f;
}

void UIWnd::ShareFont(CSprite* font) {
  if (font == font_) return;
  if (font) sprAddRef(font);
  sprRelease(font_);
  font_ = font;
}

void UIWnd::Reload(int arg) {
  if (!defFile_.empty() && !defSection_.empty()) LoadDef(defFile_.c_str(), defSection_.c_str(), true);
  for (int i = childCount_ - 1; i >= 0; --i) children_[i]->Reload(arg);
}

int UIWnd::EditKey(int code, int value) {
  bool alt = (value & (1 << 29)) != 0;
  if (code == VK_LBUTTON_) {  // left button released inside toggles the mark, unless it ended a drag
    if (wndEditDragged()) return 0;
    int x = int16_t(value & 0xFFFF), y = int16_t((uint32_t(value) >> 16) & 0xFFFF);
    if (HitTest(x, y)) {
      flags_ ^= 8;
      return 1;
    }
    return 0;
  }
  if (!(flags_ & 8)) return 0;
  int step = platShiftHeld() ? 10 : 1;
  int dx = code == VK_LEFT_ ? -step : code == VK_RIGHT_ ? step : 0;
  int dy = code == VK_UP_ ? -step : code == VK_DOWN_ ? step : 0;
  if (dx || dy) {
    if (alt) {
      xs_ = int16_t(xs_ + dx);
      ys_ = int16_t(ys_ + dy);
    } else {
      MoveBy(dx, dy);
      homeX_ = int16_t(homeX_ + dx);
      homeY_ = int16_t(homeY_ + dy);
    }
    return 1;
  }
  if (code == VK_F2_ && !defFile_.empty() && !defSection_.empty()) {
    const char* f = defFile_.c_str();
    const char* s = defSection_.c_str();
    // The place as the definition gives it: a window created relative to its parent or docked
    // keeps offsets in its "x" and "y", so the edit moves are added to what was read.
    iniSetInt(f, s, "x", homeX_, false);
    iniSetInt(f, s, "y", homeY_, false);
    iniSetInt(f, s, "xs", xs_, false);
    iniSetInt(f, s, "ys", ys_, true);
    flags_ &= uint8_t(~8);
    return 1;
  }
  return 0;
}
