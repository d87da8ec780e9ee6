// Text layout of keyframe objects: forced breaks at "<>", lines broken at spaces toward an even
// width, and a fit scale that shrinks the text into its box.
#include <algorithm>
#include <cmath>

#include "anim/kf_library.h"
#include "gfx/font.h"

namespace {

std::vector<std::u16string> SplitWords(const std::u16string& piece) {
  // Each word keeps the spaces that follow it.
  std::vector<std::u16string> words;
  size_t i = 0;
  while (i < piece.size()) {
    size_t j = i;
    while (j < piece.size() && piece[j] != u' ') ++j;
    while (j < piece.size() && piece[j] == u' ') ++j;
    words.push_back(piece.substr(i, j - i));
    i = j;
  }
  return words;
}

float Width(CSprite* font, const std::u16string& s) { return float(fontTextWidth(font, s.c_str())); }

// Lines of one piece; the fit scale only ever shrinks.
void LayoutPiece(C_AnimationObject& o, const std::u16string& piece, float H) {
  const std::vector<std::u16string> words = SplitWords(piece);
  float total = 0;
  for (const auto& w : words) total += Width(o.font, w);
  const float bw = o.textBoxWidth, bh = o.textBoxHeight;
  if (words.empty() || !(total > 0) || !(bw > 0) || !(bh > 0)) {
    o.lines.push_back(piece);
    return;
  }
  const int fitting = int(std::floor(bh / H));
  double n = std::ceil(total / (0.8 * bw));
  if (n > fitting - 1) n = std::ceil(total / bw);
  // A piece that cannot fit at full size keeps this count; the fit scale below shrinks it in.
  n = std::clamp(n, 1.0, double(words.size()));
  const float candidate = float(std::min(double(bh) / (n * H), n * bw / total));
  if (candidate < o.fitScale) o.fitScale = candidate;
  const float target = float(total / n);
  std::u16string line;
  float width = 0;
  for (const auto& w : words) {
    const float ww = Width(o.font, w);
    if (width > 0 && width + ww > target) {
      // A word that would cross the target stays when less than half of it lies beyond.
      if (width + ww - target < ww / 2) {
        line += w;
        o.lines.push_back(line);
        line.clear();
        width = 0;
        continue;
      }
      o.lines.push_back(line);
      line.clear();
      width = 0;
    }
    line += w;
    width += ww;
  }
  if (!line.empty()) o.lines.push_back(line);
}

}  // namespace

void kfLayoutText(C_AnimationObject& o, const std::u16string& text) {
  o.lines.clear();
  o.fitScale = 1.0f;
  if (!o.font) return;
  const float H = float(fontLineHeight(o.font));
  if (!(H > 0)) return;
  size_t start = 0;
  for (;;) {
    const size_t brk = text.find(u"<>", start);
    LayoutPiece(o, text.substr(start, brk == std::u16string::npos ? std::u16string::npos : brk - start), H);
    if (brk == std::u16string::npos) break;
    start = brk + 2;
  }
  // The space after a line's last word takes no room on screen.
  for (auto& l : o.lines)
    while (!l.empty() && l.back() == u' ') l.pop_back();
  // Any line still wider than the box shrinks the whole text.
  for (const auto& l : o.lines) {
    const float w = Width(o.font, l);
    if (w * o.fitScale > o.textBoxWidth && w > 0 && o.textBoxWidth > 0) o.fitScale = o.textBoxWidth / w;
  }
}
