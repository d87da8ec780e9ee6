// UITextStatic: word wrapping with soft hyphens and forced breaks, line placement and drawing.
#include "ui/widget_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "files/ini.h"
#include "gfx/font.h"

namespace {

constexpr char16_t kSoftHyphen = 173;

bool IsSpace(char16_t c) { return c >= 1 && c <= 255 && std::isspace(int(c)); }

// A piece of a paragraph and what stood before it: a space, a soft hyphen (joins without a
// space) or the paragraph start.
struct Piece {
  std::u16string text;
  bool afterSpace = false;
};

std::vector<Piece> Pieces(const std::u16string& para) {
  std::vector<Piece> out;
  Piece cur;
  bool pendingSpace = false;
  auto flush = [&] {
    if (!cur.text.empty()) out.push_back(cur);
    cur = Piece{};
  };
  for (char16_t c : para) {
    if (IsSpace(c)) {
      flush();
      pendingSpace = true;
    } else if (c == kSoftHyphen) {
      flush();
    } else {
      if (cur.text.empty()) {
        cur.afterSpace = pendingSpace && !out.empty();
        pendingSpace = false;
      }
      cur.text.push_back(c);
    }
  }
  flush();
  return out;
}

}  // namespace

void UITextStatic::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  fontX_ = iniGetFloat(file, section, "xFont", 1.0f);
  fontY_ = iniGetFloat(file, section, "yFont", 1.0f);
  spacing_ = iniGetFloat(file, section, "spacing", 1.0f);
  if (!(fontX_ > 0)) fontX_ = 1.0f;
  if (!(fontY_ > 0)) fontY_ = 1.0f;
  if (!(spacing_ > 0)) spacing_ = 1.0f;
}

std::vector<std::u16string> UITextStatic::Lines() const {
  std::vector<std::u16string> lines;
  if (caption_.empty()) return lines;
  auto width = [&](const std::u16string& s) { return int(std::lround(fontTextWidth(font_, s.c_str()) * fontX_)); };
  size_t from = 0;
  for (;;) {
    const size_t at = caption_.find(u"<>", from);
    const std::u16string para = caption_.substr(from, at == std::u16string::npos ? std::u16string::npos : at - from);
    std::u16string line;
    bool started = false;
    for (const Piece& p : Pieces(para)) {
      if (!started) {
        line = p.text;
        started = true;
        continue;
      }
      std::u16string longer = line + (p.afterSpace ? u" " : u"") + p.text;
      if (xs_ > 0 && width(longer) > xs_) {
        lines.push_back(line);
        line = p.text;
      } else {
        line = std::move(longer);
      }
    }
    lines.push_back(line);
    if (at == std::u16string::npos) break;
    from = at + 2;
  }
  return lines;
}

int UITextStatic::LineHeight() const {
  const int h = fontLineHeight(font_);
  if (std::fabs(spacing_ - 1.0f) > 0.02f) return int(std::lround(h * spacing_));
  return int(h * fontY_);
}

int UITextStatic::FirstLineY(int lineCount) const {
  const int total = lineCount * LineHeight(), h = std::abs(int(ys_));
  return y_ + (yalign_ == 0 ? (h - total) / 2 : yalign_ > 0 ? h - total : 0);
}

int UITextStatic::AnchorX() const {
  const int w = std::abs(int(xs_));
  return x_ + (xalign_ == 0 ? w / 2 : xalign_ > 0 ? w : 0);
}

void UITextStatic::DrawLine(const char16_t* text, int x, int y) {
  fontDrawText(ModeFor(colour_), 15, fontX_, fontY_, font_, float(x), y, text, TextStyle(), xalign_, -1, colour_);
}

int UITextStatic::Draw() {
  if (Hidden()) return 0;
  float m[16];
  const bool pushed = BeginDraw(m);
  DrawStateImage();
  if (font_) {
    const std::vector<std::u16string> lines = Lines();
    int y = FirstLineY(int(lines.size()));
    const int step = LineHeight();
    for (const std::u16string& l : lines) {
      DrawLine(l.c_str(), AnchorX(), y);
      y += step;
    }
  }
  DrawBounds();
  const int stop = DrawChildrenForward();
  EndDraw(pushed);
  return stop;
}
