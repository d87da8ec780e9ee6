// The caustic pattern: its scroll and pulse, the tiling that covers the screen, and its keys.
#include "game/objects/fx_caustic.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/diag.h"
#include "game/objects/fx_register.h"
#include "game/objects/object_level.h"
#include "gfx/render.h"
#include "gfx/render_device.h"

namespace Fx {
namespace {
constexpr size_t kPeriod = 0, kDir = 1, kAlpha = 2, kPhase = 3, kAlphaPeriod = 4, kAmplitude = 5;
constexpr float kTwoPi = 6.28318f;
constexpr uint32_t kMode = grModeWord(4, 7, 1, 6, 5);
constexpr uint32_t kModeAdditive = grModeWord(4, 7, 1, 2, 5);

// One scroll axis: a sawtooth from 0 to 1 over `cycle` ms (from 1 to 0 when negative). A cycle
// too long for the timer's count (the direction nearly along the other axis) leaves the axis still.
void scrollAxis(ValueRamp& ramp, double cycle) {
  ramp = ValueRamp();
  const double rounded = std::round(cycle);
  if (rounded == 0.0 || !std::isfinite(rounded) || std::abs(rounded) > double(std::numeric_limits<int32_t>::max()))
    return;
  ramp.Set(int32_t(rounded), 0.0f, 1.0f, ValueRamp::Form::Repeat);
  // Wrapping keeps the time past the end of a cycle, so the pattern never stutters.
  ramp.timer.Set(PeriodTimer::kWrap, true);
}

float finiteOr0(float v, const char* key, const std::string& object) {
  if (std::isfinite(v)) return v;
  errorLog("%s (fx caustic): %s is not a number, using 0\n", fxOrigin(object).c_str(), key);
  return 0.0f;
}
}  // namespace

cCaustic::cCaustic() { Set(Map::kFlagClickable, false); }

void cCaustic::SetUpScroll() {
  const double c = std::cos(double(m_dir)), s = std::sin(double(m_dir));
  if (c != 0.0) scrollAxis(m_scrollX, double(m_period) / c);
  else m_scrollX = ValueRamp();
  if (s != 0.0) scrollAxis(m_scrollY, double(m_period) / s);
  else m_scrollY = ValueRamp();
}

void cCaustic::SetUpPulse() {
  m_alphaWave = ValueRamp();
  m_alphaWave.value = m_phase;
  // A pulse period of 0 is no pulse: the pattern keeps its base alpha.
  if (m_alphaPeriod == 0) return;
  m_alphaWave.Set(m_alphaPeriod, m_phase, m_phase + kTwoPi, ValueRamp::Form::Repeat);
  m_alphaWave.timer.Set(PeriodTimer::kWrap, true);
}

void cCaustic::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  m_period = Map::extInt(r, kPeriod);
  if (m_period == 0) m_period = kDefaultPeriod;
  m_dir = finiteOr0(Map::extFloat(r, kDir), "causticDir", name);
  // Both map forms keep the alpha as one byte: a value outside it is taken at its nearest end.
  m_alpha = std::clamp(Map::extInt(r, kAlpha), 0, 255);
  m_phase = finiteOr0(Map::extFloat(r, kPhase), "AlphaPhase", name);
  m_alphaPeriod = Map::extInt(r, kAlphaPeriod);
  m_amplitude = finiteOr0(Map::extFloat(r, kAmplitude), "AlphaAmplitude", name);
  Set(Map::kFlagClickable, false);
  SetUpScroll();
  SetUpPulse();
}

void cCaustic::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  Map::setExtInt(r, kPeriod, m_period);
  Map::setExtFloat(r, kDir, m_dir);
  Map::setExtInt(r, kAlpha, m_alpha);
  Map::setExtFloat(r, kPhase, m_phase);
  Map::setExtInt(r, kAlphaPeriod, m_alphaPeriod);
  Map::setExtFloat(r, kAmplitude, m_amplitude);
}

void cCaustic::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* o = dynamic_cast<const cCaustic*>(&from);
  if (!o) return;
  m_period = o->m_period;
  m_dir = o->m_dir;
  m_alpha = o->m_alpha;
  m_phase = o->m_phase;
  m_alphaPeriod = o->m_alphaPeriod;
  m_amplitude = o->m_amplitude;
  SetUpScroll();
  SetUpPulse();
}

void cCaustic::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  // Kept only as a count; it wraps rather than overflow in a very long session.
  m_time = int32_t(uint32_t(m_time) + uint32_t(ms));
  m_scrollX.Advance(ms);
  m_scrollY.Advance(ms);
  m_alphaWave.Advance(ms);
}

int cCaustic::CurrentAlpha() const {
  float a = float(m_alpha);
  if (Pulses()) a += m_amplitude * std::sin(m_alphaWave.Value());
  if (!(a > 0.0f)) return 0;
  return a >= 255.0f ? 255 : int(a);
}

void cCaustic::TileGrid(int w, int h, float s, int& columns, int& rows) {
  columns = rows = 0;
  if (w <= 0 || h <= 0 || !(s > 0.0f) || !std::isfinite(s)) return;
  // A tile covers w x s pixels. Tile 0 is centred at most one tile left of the edge, so the row
  // needs the screen's width in tiles, one for the scroll and one for the half tile at each end.
  const auto count = [](int screen, double tile) {
    const double n = double(screen) / tile;
    const double whole = std::floor(n);
    const double c = whole + 2.0 + (n > whole ? 1.0 : 0.0);
    return c > double(kMaxTiles) ? kMaxTiles + 1 : int(c);
  };
  columns = count(kLogicalWidth, double(w) * s);
  rows = count(kLogicalHeight, double(h) * s);
}

void cCaustic::TileCentre(int column, int row, int w, int h, float s, float& cx, float& cy) const {
  const float tw = float(w) * s, th = float(h) * s;
  cx = tw * float(column) - m_scrollX.Value() * tw;
  cy = th * float(row) - m_scrollY.Value() * th;
}

void cCaustic::Draw(const Map::DrawContext&) {
  const AnimationState& a = anims[currentAnimation];
  if (!a.IsValid() || !a.Sprite()) return;
  const int w = a.Width(), h = a.Height();
  int columns = 0, rows = 0;
  TileGrid(w, h, scale, columns, rows);
  if (columns <= 0 || rows <= 0 || columns * rows > kMaxTiles) return;
  const uint32_t colour = uint32_t(CurrentAlpha()) << 24;
  const uint32_t mode = a.Has(AnimationState::kAdditive) ? kModeAdditive : kMode;
  // The pattern belongs to the screen: the object's anchor does not move it.
  for (int j = 0; j < columns; ++j)
    for (int i = 0; i < rows; ++i) {
      float cx = 0, cy = 0;
      TileCentre(j, i, w, h, scale, cx, cy);
      a.DrawRotated(cx, cy, 0.0f, mode, 15, colour, scale, 0, -1);
    }
}

}  // namespace Fx
