// UITextStatic: a caption wrapped into lines that fit the window's width, with font scale and
// line spacing.
#pragma once
#include <string>
#include <vector>

#include "ui/widget_sprite.h"

class UITextStatic : public UIWndSprite {
 public:
  void Load(const char* file, const char* section) override;
  int Draw() override;
  // Slot 26: one line with the window's font, scale, colour, colour variant and alignment.
  virtual void DrawLine(const char16_t* text, int x, int y);

  // The caption broken into lines as drawn (soft hyphens removed, spaces at breaks dropped).
  std::vector<std::u16string> Lines() const;
  int LineHeight() const;
  // The first line's anchor: x by xalign, y by yalign over all lines.
  int FirstLineY(int lineCount) const;
  int AnchorX() const;
  float FontScaleX() const { return fontX_; }
  float FontScaleY() const { return fontY_; }
  float Spacing() const { return spacing_; }

 protected:
  float fontX_ = 1.0f, fontY_ = 1.0f, spacing_ = 1.0f;
};
