// AnimationState: a user's playing copy of a named animation from the catalogue — its timer, flags,
// frame count and a counted reference on the catalogue entry and its sprite — and its drawing.
#pragma once
#include <cstdint>

#include "anim/period_timer.h"

class CSprite;

class AnimationState {
 public:
  enum Flag : uint8_t {
    kAdditive = 1 << 0,      // "isAdd"
    kLoop = 1 << 1,          // "isLoop"
    kFlipX = 1 << 2,         // "isFlipX"
    kFlipY = 1 << 3,         // "isFlipY"
    kCentred = 1 << 4,       // not "isNoCenter"
    kReverse = 1 << 5,       // "isReverse"
    kScaledFrames = 1 << 6,  // frame numbers rescaled to the sprite's animation steps
    kHoldOnEnd = 1 << 7,     // "StickOnEnd"
  };
  static constexpr int kMaxFrames = 127;

  // Fresh: no animation, loop and centred, period 1000, stopped, one frame.
  AnimationState();
  // A copy holds its own reference on the catalogue entry and on the sprite; a move hands the
  // source's references over and leaves the source fresh.
  AnimationState(const AnimationState& o);
  AnimationState(AnimationState&& o) noexcept;
  AnimationState& operator=(const AnimationState& o);
  AnimationState& operator=(AnimationState&& o) noexcept;
  ~AnimationState();

  // Drops the references: forgets the sprite and lowers the entry's count (its sprite is released
  // at 0). The name and the timer stay.
  void Release();

  void Start(int32_t t = 0);
  void Stop() { timer_.Stop(); }
  // One step of play; true when the end was reached (a looping animation then starts over).
  bool Advance(int32_t ms);
  void SetFlag(Flag f, bool on);
  bool Has(Flag f) const { return (flags_ & f) != 0; }
  // A period below 1 ms is taken as 1 ms, so frame arithmetic never divides by zero.
  void SetPeriod(int32_t ms);
  // 0 (and every multiple of 128, as the catalogue keeps the value modulo 128) means one frame.
  void SetFrameCount(int n);

  // The frame number handed to the sprite (in period units, or the sprite's animation steps when
  // kScaledFrames is set).
  int CurrentFrameTime() const;
  int TimeOfFrame(int i) const;
  int FrameOfTime(int t) const;
  // The frame row the current frame time shows, 0 .. frame count - 1.
  int CurrentRow() const { return RowOfFrameTime(CurrentFrameTime()); }
  int RowOfFrameTime(int frameTime) const;

  bool IsValid() const { return nameHash_ != 0; }
  bool IsStopped() const { return timer_.IsStopped(); }
  uint32_t NameHash() const { return nameHash_; }
  CSprite* Sprite() const { return sprite_; }
  uint8_t Flags() const { return flags_; }
  int FrameCount() const { return frameCount_; }
  const PeriodTimer& Timer() const { return timer_; }
  PeriodTimer& Timer() { return timer_; }
  int32_t Period() const { return timer_.Period(); }
  int32_t Time() const { return timer_.Time(); }
  // The sprite's frame size (0 without a sprite).
  int Width() const;
  int Height() const;

  // ---- Drawing (nothing is drawn without a sprite) -------------------------------------------
  void DrawFrame(int x, int y, int frameIndex) const;
  void DrawFrameScaled(int x, int y, float sx, float sy, int frameIndex) const;
  void DrawCurrent(int x, int y) const;
  void DrawCurrent(float x, float y) const;
  // alpha 0..255 (255 and above opaque) in all four colour channels.
  void DrawFaded(int x, int y, int alpha, float sx, float sy) const;
  void DrawFaded(float x, float y, int alpha, float sx, float sy) const;
  // Like DrawFaded, but an additive animation dims through the colour instead of the alpha.
  void DrawFadedDimming(int x, int y, int alpha, float scale) const;
  // A quad of w x scale by h x scale centred on (x, y) and turned by `angle` radians. A mode whose
  // byte 1 is 1 takes the animation's own mode. frameIndex -1 draws the current frame.
  void DrawRotated(float x, float y, float angle, uint32_t modeWord, uint8_t mask, uint32_t argb, float scale,
                   uint32_t added, int frameIndex) const;

 private:
  friend class AnimationStateAccess;  // the catalogue fills templates and hands out copies
  void TakeReferences();
  void DropReferences();
  // Axis-aligned draw of a frame time over (x, y, w, h) with flips applied inside the rectangle.
  void DrawRect(float x, float y, float w, float h, uint32_t modeWord, uint32_t argb, int frameTime) const;

  uint32_t nameHash_ = 0;
  CSprite* sprite_ = nullptr;
  uint8_t flags_ = kLoop | kCentred;
  PeriodTimer timer_{1000, PeriodTimer::kStopped};
  uint8_t frameCount_ = 1;
  bool counted_ = false;  // holds one count on the catalogue entry and one reference on the sprite
};
