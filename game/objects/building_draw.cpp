// How a building looks from step to step: its players, the upgrade pulse, the work wipe and the
// order of the layers it draws.
#include <algorithm>
#include <cmath>

#include "anim/fx_simple_pyro.h"
#include "game/objects/building.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"

namespace Map {
namespace {
using BS = BuildingState;
}

void UpgradePulse::Restart() {
  phase = kStart;
  timer = PeriodTimer(kPeriodMs, PeriodTimer::kWrap);
}

void UpgradePulse::Advance(int32_t ms) {
  if (timer.IsStopped()) return;
  timer.Advance(ms);
  phase = kStart + kRate * float(timer.Time());
}

float UpgradePulse::Scale() const { return std::max(1.0f, kAmplitude * std::sin(phase)); }

WipeLayout buildingWipeLayout(float ax, float ay, float p, int bw, int bh, int aw, int ah) {
  p = std::clamp(p, 0.0f, 1.0f);
  WipeLayout out;
  const float beforeRows = float(bh) * (1.0f - p);
  out.before = {ax - float(bw) / 2, ay - float(bh) / 2, float(bw), beforeRows, 0.0f, beforeRows};
  const float afterRows = float(ah) * p;
  const float afterTop = ay - float(ah) / 2 + (float(ah) - afterRows);
  out.after = {ax - float(aw) / 2, afterTop, float(aw), afterRows, float(ah) - afterRows, afterRows};
  return out;
}

void cBuilding::UpdateAnimation(int32_t ms) {
  cSubjectObject::UpdateAnimation(ms);
  const BS s = State();
  if (s == BS::Built || s == BS::UpgradeDone || s == BS::BuildDone)
    for (int i = kWorkerOperation; i <= kWorkerOperation3; ++i) players[i].Update(ms);
  pulse.Advance(ms);
  players[kIdle].Update(ms);
  players[kWorkerJoy].Update(ms);
  workSound.Update(ms);
  if (m_joyEffect) m_joyEffect->Update(float(ms));
}

bool cBuilding::UpdateTimers(int32_t ms) {
  if (m_entryPending) EnterLoadedState();
  const bool remove = cSubjectObject::UpdateTimers(ms);
  ApplyArrival();
  if (m_joyLeft > 0) m_joyLeft -= ms;
  if (m_trumpetsLeft > 0 && (m_trumpetsLeft -= ms) <= 0) SetChildShown("UpgradeTrumpets", false);
  if ((State() == BS::UpgradeDone || State() == BS::BuildDone) && JoyFinished()) SetState(BS::Built, false);
  return remove;
}

uint32_t cBuilding::FadeAlpha(const DrawContext& dc) const {
  uint32_t a = dc.alpha;
  if (fadeOut.running && fadeOut.total > 0) a = uint32_t(float(a) * std::clamp(1.0f - fadeOut.Progress(), 0.0f, 1.0f));
  return a;
}

void cBuilding::DrawPlayers(float px, float py, bool front, bool broken) const {
  const int lo = front ? 0 : -255, hi = front ? 255 : -1;
  auto draw = [&](int i) {
    const Core::cAnimScript& p = players[i];
    if (p.IsPlaying() && !p.Hidden()) p.Draw(px, py, lo, hi);
  };
  if (!front) draw(kWorkerJoy);
  if (!broken)
    for (int i = kIdle; i <= kWorkerOperation3; ++i) draw(i);
  if (front) draw(kWorkerJoy);
}

void cBuilding::Draw(const DrawContext& dc) {
  const BS s = State();
  if (s == BS::NotBuilt) {
    cSubjectObject::Draw(dc);
    if (m_joyEffect) m_joyEffect->Render();
    return;
  }
  const uint32_t alpha = FadeAlpha(dc);
  DrawContext faded = dc;
  faded.alpha = uint8_t(alpha);
  const uint32_t colour = (CurrentColour() & 0x00FFFFFFu) | (((CurrentColour() >> 24) * alpha / 255) << 24);
  const float ax = x + dc.offsetX, ay = y + dc.offsetY;
  const int look = LookSlot();

  if (s == BS::UnderConstruction || s == BS::Repairing) {
    int from = kSlotBroken;
    if (s == BS::UnderConstruction) from = anims[kSlotConstruction].IsValid() ? kSlotConstruction : kSlotSite;
    const AnimationState& before = anims[from];
    const AnimationState& after = anims[look];
    const float p = operation.workTimer.total > 0 ? operation.workTimer.Progress() : 0.0f;
    const WipeLayout w = buildingWipeLayout(0, 0, p, before.Width(), before.Height(), after.Width(), after.Height());
    const uint32_t c[4] = {colour, colour, colour, colour};
    auto piece = [&](const AnimationState& a, const WipePiece& wp, IntPoint off) {
      if (!a.Sprite() || wp.h <= 0) return;
      grDrawSpriteEx(kModeTextureAlpha, 15, ax + float(off.x) + wp.x, ay + float(off.y) + wp.y, wp.w, wp.h, a.Sprite(),
                     0.0f, wp.srcY, wp.w, wp.srcH, c, nullptr, a.CurrentRow());
    };
    piece(before, w.before, animOffsets[from]);
    piece(after, w.after, animOffsets[look]);
  } else if (s == BS::Upgrading) {
    const AnimationState& a = anims[look];
    const IntPoint o = animOffsets[look];
    if (a.IsValid())
      a.DrawRotated(ax + float(o.x), ay + float(o.y), 0.0f, 0x100, 15, colour, scale * pulse.Scale(), 0, -1);
  } else {
    const bool broken = s == BS::Broken;
    DrawPlayers(ax, ay, false, broken);
    cObject::Draw(faded);
    DrawPlayers(ax, ay, true, broken);
  }
  DrawSignsAndEffects(dc);
  if (m_joyEffect) m_joyEffect->Render();
}
}  // namespace Map
