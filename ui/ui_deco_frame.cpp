// The three frame windows.
#include "ui/ui_deco_frame.h"

#include <algorithm>
#include <string>

#include "files/ini.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"

namespace Core {

namespace {

const char* const kFrameKeys[] = {"left", "top", "bottom", "center", "cornertop", "cornerbottom"};

int W(CSprite* s) { return sprWidth(s); }
int H(CSprite* s) { return sprHeight(s); }

// The picture's top `rows` rows (all when negative) over a rectangle; a negative width mirrors it
// left to right, a negative height top to bottom.
void DrawPiece(CSprite* s, int x, int y, int w, int h, uint32_t argb, int rows = -1) {
  if (!s || w == 0 || h == 0) return;
  const int sh = rows < 0 ? H(s) : std::min(rows, H(s));
  if (sh <= 0) return;
  grDrawSpriteEx(uiFrameMode(argb), 15, x, y, w, h, s, 0, 0, W(s), sh, argb, 0);
}

// Draws the window's effect transform around the pieces; the children follow through the base.
template <class F>
int DrawFramed(UIWnd& w, F pieces) {
  if (w.Hidden()) return 0;
  float m[16];
  const bool pushed = w.EffectTransform(m);
  if (pushed) grPushTransform(m);
  pieces();
  if (pushed) grPopTransform();
  return w.UIWnd::Draw();
}

}  // namespace

UIFramePictures::~UIFramePictures() {
  for (CSprite*& s : pics_) {
    sprRelease(s);
    s = nullptr;
  }
}

void UIFramePictures::Read(int i, const char* file, const char* section, const char* key) {
  if (i < 0 || i >= kCount) return;
  sprRelease(pics_[i]);
  pics_[i] = nullptr;
  const std::string name = iniGetString(file, section, key, "");
  if (!name.empty()) pics_[i] = sprGet(name.c_str());
}

uint32_t uiFrameMode(uint32_t argb) { return (argb >> 24) == 255 ? kModeTextureAlpha : kModeFade; }

// ---- Stretched frame ---------------------------------------------------------------------------

void UIFrame::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  for (int i = 0; i < 6; ++i) {
    pics_.Read(i, file, section, kFrameKeys[i]);
    pics_.Read(6 + i, file, section, (std::string(kFrameKeys[i]) + "2").c_str());
  }
}

CSprite* UIFrame::PieceFor(Piece p) const { return pics_[(state_ == Ignore ? 0 : 6) + p]; }

int UIFrame::Draw() {
  return DrawFramed(*this, [&] {
    CSprite *L = PieceFor(kLeft), *T = PieceFor(kTop), *B = PieceFor(kBottom), *C = PieceFor(kCenter);
    CSprite *CT = PieceFor(kCornerTop), *CB = PieceFor(kCornerBottom);
    if (!L || !T || !B || !C || !CT || !CB) return;
    const int x = x_, y = y_, xs = xs_, ys = ys_;
    const uint32_t col = colour_;
    DrawPiece(T, x + W(CT), y, xs - 2 * W(CT), H(T), col);
    DrawPiece(B, x + W(CB), y + ys - H(B), xs - 2 * W(CB), H(B), col);
    const int sideH = ys - H(CT) - H(CB);
    DrawPiece(L, x, y + H(CT), W(L), sideH, col);
    DrawPiece(L, x + xs - W(L), y + H(CT), -W(L), sideH, col);
    DrawPiece(C, x + W(L), y + H(CT), xs - 2 * W(L), sideH, col);
    DrawPiece(C, x + W(CT), y + H(T), xs - 2 * W(CT), H(CT) - H(T), col);
    DrawPiece(C, x + W(CB), y + ys - H(CB), xs - 2 * W(CB), H(CB) - H(B), col);
    DrawPiece(CT, x, y, W(CT), H(CT), col);
    DrawPiece(CT, x + xs - W(CT), y, -W(CT), H(CT), col);
    DrawPiece(CB, x, y + ys - H(CB), W(CB), H(CB), col);
    DrawPiece(CB, x + xs - W(CB), y + ys - H(CB), -W(CB), H(CB), col);
  });
}

// ---- Mirrored frame ----------------------------------------------------------------------------

void UIFrameExt::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  for (int i = 0; i < 6; ++i) pics_.Read(i, file, section, kFrameKeys[i]);
}

int UIFrameExt::Draw() {
  return DrawFramed(*this, [&] {
    CSprite *L = pics_[UIFrame::kLeft], *T = pics_[UIFrame::kTop], *B = pics_[UIFrame::kBottom];
    CSprite *C = pics_[UIFrame::kCenter], *CT = pics_[UIFrame::kCornerTop], *CB = pics_[UIFrame::kCornerBottom];
    if (!L || !T || !B || !C || !CT || !CB) return;
    const int x = x_, y = y_, xs = xs_, ys = ys_, mid = x_ + xs_ / 2;
    const uint32_t col = colour_;
    // A negative width or height mirrors a piece inside its rectangle.
    DrawPiece(T, x + W(CT), y, mid - (x + W(CT)), H(T), col);
    DrawPiece(T, mid, y, -(x + xs - W(CT) - mid), H(T), col);
    const int by = y + ys - H(B);
    DrawPiece(B, x + W(CB), by, mid - (x + W(CB)), H(B), col);
    DrawPiece(B, mid, by, -(x + xs - W(CB) - mid), H(B), col);
    // Whole side pieces while they fit above the bottom corner, then the rest cut to fit: no piece
    // reaches under the corner or is drawn twice.
    const int end = ys - H(CB);
    if (H(L) > 0) {
      int o = H(CT);
      for (; o + H(L) <= end; o += H(L)) {
        DrawPiece(L, x, y + o, W(L), H(L), col);
        DrawPiece(L, x + xs - W(L), y + o, -W(L), H(L), col);
      }
      if (end - o > 0) {
        DrawPiece(L, x, y + o, W(L), end - o, col, end - o);
        DrawPiece(L, x + xs - W(L), y + o, -W(L), end - o, col, end - o);
      }
    }
    const int cy = y + H(CT), ch = ys - H(CT) - H(CB);
    DrawPiece(C, x + W(CT), cy, mid - (x + W(CT)), ch, col);
    DrawPiece(C, mid, cy, -(x + xs - W(CT) - mid), ch, col);
    DrawPiece(CT, x, y, W(CT), H(CT), col);
    DrawPiece(CT, x + xs - W(CT), y, -W(CT), H(CT), col);
    DrawPiece(CB, x, y + ys - H(CB), W(CB), H(CB), col);
    DrawPiece(CB, x + xs - W(CB), y + ys - H(CB), -W(CB), H(CB), col);
  });
}

// ---- Vertical band -----------------------------------------------------------------------------

void UIFrameV::Load(const char* file, const char* section) {
  UIWnd::Load(file, section);
  pics_.Read(kTop, file, section, "top");
  pics_.Read(kBottom, file, section, "bottom");
  pics_.Read(kCenter, file, section, "center");
}

int UIFrameV::Draw() {
  return DrawFramed(*this, [&] {
    CSprite *T = pics_[kTop], *B = pics_[kBottom], *C = pics_[kCenter];
    if (!T || !C) return;
    const int x = x_, y = y_, xs = xs_, ys = ys_;
    const uint32_t col = colour_;
    DrawPiece(T, x, y, xs, H(T), col);
    // Without a bottom picture the top one, turned upside down, closes the band.
    const int endH = B ? H(B) : H(T);
    if (B) DrawPiece(B, x, y + ys - endH, xs, endH, col);
    else DrawPiece(T, x, y + ys - endH, xs, -endH, col);
    const int ch = H(C);
    if (ch <= 0) return;
    const int end = ys - endH;
    int o = H(T);
    for (; o + ch <= end; o += ch) DrawPiece(C, x, y + o, xs, ch, col);
    // The last piece, cut to what is left, in its own place.
    if (end - o > 0) DrawPiece(C, x, y + o, xs, end - o, col, end - o);
  });
}

}  // namespace Core
