// Frames drawn from edge, corner and centre pictures: a stretched frame with a second picture set
// for the states other than ignore, a frame whose right half mirrors its left, and a vertical band.
#pragma once
#include "ui/wnd.h"

class CSprite;

namespace Core {

// Pictures named by keys of a window's section, each held by one reference.
class UIFramePictures {
 public:
  UIFramePictures() = default;
  ~UIFramePictures();
  UIFramePictures(const UIFramePictures&) = delete;
  UIFramePictures& operator=(const UIFramePictures&) = delete;
  // Replaces picture i with the one named by `key` (none for a missing key).
  void Read(int i, const char* file, const char* section, const char* key);
  CSprite* operator[](int i) const { return i >= 0 && i < kCount ? pics_[i] : nullptr; }
  static constexpr int kCount = 12;

 private:
  CSprite* pics_[kCount] = {};
};

// The frame pieces' render mode: the pictures' own alpha for an opaque window, else faded by it.
uint32_t uiFrameMode(uint32_t argb);

// "frame": edges stretched between four corners and a stretched centre; "left", "top", "bottom",
// "center", "cornertop", "cornerbottom" in state ignore, the same keys ending in 2 otherwise.
class UIFrame : public UIWnd {
 public:
  enum Piece { kLeft, kTop, kBottom, kCenter, kCornerTop, kCornerBottom };
  void Load(const char* file, const char* section) override;
  int Draw() override;
  // The picture of a piece for the current state (the second set unless in state ignore).
  CSprite* PieceFor(Piece p) const;

 private:
  UIFramePictures pics_;
};

// "frameExt": the left half of a frame drawn from pictures and mirrored for the right half.
class UIFrameExt : public UIWnd {
 public:
  void Load(const char* file, const char* section) override;
  int Draw() override;

 private:
  UIFramePictures pics_;
};

// "frameV": a vertical band: "top", repeated "center" pieces and "bottom" (or the top mirrored).
class UIFrameV : public UIWnd {
 public:
  enum Piece { kTop, kBottom, kCenter };
  void Load(const char* file, const char* section) override;
  int Draw() override;
  CSprite* Picture(Piece p) const { return pics_[p]; }

 private:
  UIFramePictures pics_;
};

}  // namespace Core
