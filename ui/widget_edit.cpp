// UIEditIE: cursor movement, deletion and typing bounded by the length and the field's width.
#include "ui/widget_edit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "files/ini.h"
#include "gfx/font.h"
#include "gfx/render.h"
#include "platform/platform.h"

void UIEditIE::Load(const char* file, const char* section) {
  UIWndButtonIE::Load(file, section);
  auto byte = [&](const char* key) { return uint32_t(std::clamp(iniGetInt(file, section, key, 255), 0, 255)); };
  cursorColour_ = byte("CursorA") << 24 | byte("CursorR") << 16 | byte("CursorG") << 8 | byte("CursorB");
  const int size = iniGetInt(file, section, "strsize", 0);
  maxLen_ = int16_t(size >= 1 && size <= kMaxLength ? size : kMaxLength);
  cursor_ = int16_t(std::min<size_t>(caption_.size(), kMaxLength));
}

int UIEditIE::Cursor() const { return std::clamp(int(cursor_), 0, int(caption_.size())); }

void UIEditIE::SetValue(float v) {
  // A position past the text (or before it) would make the next edit cut outside the string.
  long pos = std::isfinite(v) ? std::lround(std::clamp(v, -1.0f, float(kMaxLength))) : 0;
  cursor_ = int16_t(std::clamp<long>(pos, 0, long(std::min<size_t>(caption_.size(), kMaxLength))));
}

int UIEditIE::KeyDown(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyDown(code, value);
  int gate = InputGate();
  if (gate >= 0) return gate;
  const int at = Cursor(), len = int(caption_.size());
  switch (code) {
    case VK_BACK_:  // Backspace: its character message erases, once per typed repeat
      return 1;
    case VK_DELETE_:  // Delete
      if (at < len) caption_.erase(size_t(at), 1);
      cursor_ = int16_t(at);
      return 1;
    case VK_LEFT_: cursor_ = int16_t(std::max(at - 1, 0)); return 1;
    case VK_RIGHT_: cursor_ = int16_t(std::min(at + 1, len)); return 1;
    case VK_HOME_: cursor_ = 0; return 1;
    case VK_END_: cursor_ = int16_t(len); return 1;
    default: return UIWndButtonIE::KeyDown(code, value);
  }
}

int UIEditIE::KeyUp(int code, int value) {
  if (g_wndEdit) return UIWnd::KeyUp(code, value);
  if (Hidden()) return 0;
  if (EffectBlocksInput()) return 1;
  // Enter's command comes with its character; releasing a key or the button (a click into the
  // field to type) only ends the press.
  if (code == VK_RETURN_ || code == VK_LBUTTON_) {
    if (state_ != Press) return 0;
    SetState(Active);
    return 1;
  }
  return UIWndButtonIE::KeyUp(code, value);
}

int UIEditIE::Char(int code, int value) {
  if (g_wndEdit) return 0;
  int gate = InputGate();
  if (gate >= 0) return gate;
  switch (code) {
    case 8: {  // Backspace
      const int at = Cursor();
      if (at > 0) caption_.erase(size_t(at - 1), 1);
      cursor_ = int16_t(std::max(at - 1, 0));
      return 1;
    }
    case 13:  // Enter
      OnCommand(this);
      return 1;
    default:
      break;
  }
  // Other control characters (Tab, Escape) are not text: the dialog around the field may use them.
  if (code < 32) return 0;
  auto* font = dynamic_cast<CGraphFont*>(font_);
  if (!font || code > 0xFFFF) return 1;
  fontLineHeight(font_);  // loads the glyph table when the font was not drawn yet
  if (!font->HasGlyph(uint32_t(code)) || font->glyphs[size_t(code)].width == 0) return 1;
  if (int(caption_.size()) >= maxLen_ - 1) return 1;
  std::u16string longer = caption_;
  const int at = Cursor();
  longer.insert(size_t(at), 1, char16_t(code));
  if (fontTextWidth(font_, longer.c_str()) >= std::abs(int(xs_))) return 1;
  caption_ = std::move(longer);
  cursor_ = int16_t(at + 1);
  (void)value;
  return 1;
}

int UIEditIE::CursorX() const {
  const int before = fontTextWidth(font_, caption_.c_str(), Cursor());
  const int w = std::abs(int(xs_)), text = fontTextWidth(font_, caption_.c_str());
  return x_ + before + (xalign_ == 0 ? (w - text) / 2 : xalign_ > 0 ? w - text : 0);
}

int UIEditIE::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  DrawButton();
  if (CursorShown() && font_) {
    const int lh = fontLineHeight(font_);
    const int top = y_ + (std::abs(int(ys_)) - lh) / 2;
    const int cx = CursorX();
    grFillRect(cx, top, cx + 3, top + lh, cursorColour_);
  }
  EndDraw(pushed);
  return 0;
}
