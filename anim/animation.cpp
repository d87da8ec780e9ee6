// AnimationState: references held by copies, play (start, stop, advance with loop and hold) and
// the mapping between time and frames.
#include "anim/animation.h"

#include <cmath>
#include <utility>

#include "anim/anim_catalogue.h"
#include "anim/anim_sprite.h"
#include "gfx/sprite.h"

AnimationState::AnimationState() = default;

AnimationState::AnimationState(const AnimationState& o)
    : nameHash_(o.nameHash_), sprite_(o.sprite_), flags_(o.flags_), timer_(o.timer_), frameCount_(o.frameCount_),
      counted_(o.counted_) {
  if (counted_) TakeReferences();
}

AnimationState::AnimationState(AnimationState&& o) noexcept
    : nameHash_(o.nameHash_), sprite_(o.sprite_), flags_(o.flags_), timer_(o.timer_), frameCount_(o.frameCount_),
      counted_(o.counted_) {
  o.sprite_ = nullptr;
  o.counted_ = false;
  o = AnimationState();
}

AnimationState& AnimationState::operator=(const AnimationState& o) {
  if (this == &o) return *this;
  // The new references are taken before the old ones are dropped: assigning a copy of the same
  // animation must not release its sprite in between.
  AnimationState copy(o);
  *this = std::move(copy);
  return *this;
}

AnimationState& AnimationState::operator=(AnimationState&& o) noexcept {
  if (this == &o) return *this;
  DropReferences();
  nameHash_ = o.nameHash_;
  sprite_ = o.sprite_;
  flags_ = o.flags_;
  timer_ = o.timer_;
  frameCount_ = o.frameCount_;
  counted_ = o.counted_;
  o.sprite_ = nullptr;
  o.counted_ = false;
  o.nameHash_ = 0;
  o.flags_ = kLoop | kCentred;
  o.timer_ = PeriodTimer(1000, PeriodTimer::kStopped);
  o.frameCount_ = 1;
  return *this;
}

AnimationState::~AnimationState() { DropReferences(); }

void AnimationState::TakeReferences() {
  if (sprite_) sprAddRef(sprite_);
  Core::animManager().AddUser(nameHash_);
}

void AnimationState::DropReferences() {
  if (!counted_) return;
  counted_ = false;
  CSprite* s = std::exchange(sprite_, nullptr);
  // The entry may release its own reference here; ours keeps the sprite alive until after.
  Core::animManager().DropUser(nameHash_);
  if (s) sprRelease(s);
}

void AnimationState::Release() {
  DropReferences();
  sprite_ = nullptr;
}

void AnimationState::Start(int32_t t) {
  timer_.SetTime(timer_.IsBackwards() ? timer_.Period() - t : t);
  timer_.Set(PeriodTimer::kStopped, false);
}

bool AnimationState::Advance(int32_t ms) {
  if (!timer_.Advance(ms)) return false;
  if (Has(kLoop)) {
    timer_.SetTime(timer_.IsBackwards() ? timer_.Period() : 0);
    timer_.Set(PeriodTimer::kStopped, false);
  }
  return true;
}

void AnimationState::SetFlag(Flag f, bool on) {
  flags_ = on ? uint8_t(flags_ | f) : uint8_t(flags_ & ~f);
  timer_.Set(PeriodTimer::kHoldAtEnd, Has(kHoldOnEnd));
}

void AnimationState::SetPeriod(int32_t ms) {
  if (ms < 1) ms = 1;
  timer_.SetPeriod(ms);
  if (timer_.IsBackwards()) timer_.SetTime(ms);
  if (sprite_) animSpriteSetFrames(sprite_, ms, frameCount_);
}

void AnimationState::SetFrameCount(int n) {
  n &= 127;
  frameCount_ = uint8_t(n == 0 ? 1 : n);
}

namespace {
// The timer's period as a divisor: a timer set to 0 by hand still divides by at least 1.
int32_t Divisor(const PeriodTimer& t) { return t.Period() > 0 ? t.Period() : 1; }
}  // namespace

int AnimationState::CurrentFrameTime() const {
  const int32_t period = Divisor(timer_);
  const bool stopped = timer_.IsStopped();
  int32_t r;
  if (Has(kReverse)) r = stopped ? 0 : (timer_.Time() == 0 ? period - 1 : period - timer_.Time());
  else if (timer_.Has(PeriodTimer::kHoldAtEnd)) r = stopped ? period - 1 : timer_.Time();
  else r = stopped ? 0 : timer_.Time();
  if (Has(kScaledFrames)) {
    const int steps = animSpriteSteps(sprite_);
    if (steps > 0) r = int32_t(std::lround(double(steps) / period * r));
  }
  return r;
}

int AnimationState::TimeOfFrame(int i) const {
  const int32_t period = Divisor(timer_);
  if (Has(kHoldOnEnd) && i == frameCount_) return period - 1;
  // Rounded up: a truncated time can fall in the previous row when the period is not a multiple of
  // the frame count (frame 2 of 3 over 1000 ms would be 666, which shows row 1).
  const int64_t scaled = int64_t(i) * period;
  return int(scaled >= 0 ? (scaled + frameCount_ - 1) / frameCount_ : scaled / frameCount_);
}

int AnimationState::FrameOfTime(int t) const {
  const int32_t period = Divisor(timer_);
  if (Has(kHoldOnEnd) && t == period) return frameCount_;
  int64_t m = t % period;
  if (m < 0) m += period;
  return int(m * frameCount_ / period);
}

int AnimationState::RowOfFrameTime(int frameTime) const {
  int steps = Divisor(timer_);
  if (Has(kScaledFrames) && animSpriteSteps(sprite_) > 0) steps = animSpriteSteps(sprite_);
  const int64_t row = int64_t(frameTime) * frameCount_ / steps;
  return row < 0 ? 0 : (row >= frameCount_ ? frameCount_ - 1 : int(row));
}

int AnimationState::Width() const { return sprWidth(sprite_); }
int AnimationState::Height() const { return sprHeight(sprite_); }
