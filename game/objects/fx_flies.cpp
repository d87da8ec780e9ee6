// The flies: placing, jittering, being pushed by the pointer, drawing, and the definition keys.
#include "game/objects/fx_flies.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/diag.h"
#include "game/core/random.h"
#include "game/objects/fx_register.h"
#include "game/objects/object_level.h"
#include "gfx/render.h"
#include "gfx/render_device.h"

namespace Fx {
namespace {
constexpr size_t kAmount = 0, kR = 1, kG = 2, kB = 3, kA = 4;
constexpr uint32_t kFlyMode = grModeWord(2, 4, 1, 2, 5);

// A colour channel as the record keeps it (a signed byte) and back.
uint32_t byteOf(int32_t v) { return uint32_t(uint8_t(v)); }
int32_t recordByte(uint32_t colour, int shift) { return int8_t(uint8_t(colour >> shift)); }
}  // namespace

cFlies::cFlies() { Set(Map::kFlagClickable, true); }

void cFlies::Clamp(Offset& f) const {
  // A box given with a negative half size is the same box.
  const float hx = float(std::abs(boundHalfSize.x)), hy = float(std::abs(boundHalfSize.y));
  f.x = std::clamp(f.x, -hx, hx);
  f.y = std::clamp(f.y, -hy, hy);
}

void cFlies::Place() {
  const int32_t hx = std::abs(boundHalfSize.x), hy = std::abs(boundHalfSize.y);
  for (Offset& f : m_flies) {
    f.x = float(RandomPeriod(-hx, hx, true));
    f.y = float(RandomPeriod(-hy, hy, true));
  }
}

void cFlies::SetBoundHalfSize(Map::IntPoint p) {
  cObject::SetBoundHalfSize(p);
  Place();
}

void cFlies::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  m_amount = Map::extInt(r, kAmount);
  if (m_amount < 0 || m_amount > kMaxFlies) {
    const int32_t fixed = std::clamp(m_amount, 0, kMaxFlies);
    errorLog("%s (fx flies): amount %d is outside 0..%d, using %d\n", fxOrigin(name).c_str(), int(m_amount),
             kMaxFlies, int(fixed));
    m_amount = fixed;
  }
  m_colour = byteOf(Map::extInt(r, kA)) << 24 | byteOf(Map::extInt(r, kR)) << 16 | byteOf(Map::extInt(r, kG)) << 8 |
             byteOf(Map::extInt(r, kB));
  Set(Map::kFlagClickable, true);
  Place();
}

void cFlies::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  Map::setExtInt(r, kAmount, m_amount);
  Map::setExtInt(r, kR, recordByte(m_colour, 16));
  Map::setExtInt(r, kG, recordByte(m_colour, 8));
  Map::setExtInt(r, kB, recordByte(m_colour, 0));
  Map::setExtInt(r, kA, recordByte(m_colour, 24));
}

void cFlies::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* o = dynamic_cast<const cFlies*>(&from);
  if (!o) return;
  m_amount = o->m_amount;
  m_colour = o->m_colour;
  Place();
}

void cFlies::OnMapEvent(GameEvent& e) {
  m_pushSpeed = 1.0f;
  m_pushPoint = {e.x, e.y};
}

void cFlies::UpdateAnimation(int32_t ms) {
  cObject::UpdateAnimation(ms);
  // Each fly wanders by less than a pixel a step on each axis, however long the step.
  for (Offset& f : m_flies) {
    f.x += 2.0f * float(RandomValue(true)) / 32768.0f - 1.0f;
    f.y += 2.0f * float(RandomValue(true)) / 32768.0f - 1.0f;
    Clamp(f);
  }
}

bool cFlies::UpdateTimers(int32_t ms) {
  cObject::UpdateTimers(ms);
  m_pushAge = int32_t(uint32_t(m_pushAge) + uint32_t(ms));  // a count only: it may wrap
  m_pushSpeed *= kPushDecay;
  for (int i = 0; i < m_amount; ++i) {
    Offset& f = m_flies[size_t(i)];
    float dx = float(m_pushPoint.x) - x + f.x, dy = float(m_pushPoint.y) - y + f.y;
    const float len = std::sqrt(dx * dx + dy * dy);
    if (len > 0.0f) {
      dx /= len;
      dy /= len;
    }
    f.x += dx * m_pushSpeed;
    f.y += dy * m_pushSpeed;
    Clamp(f);
  }
  return false;
}

Map::IntPoint cFlies::DrawPoint(int i, float dx, float dy) const {
  const Offset& f = Fly(i);
  const float bx = float(std::lround(x)) + dx, by = float(std::lround(y)) + dy;
  return {int32_t(std::lround(bx + f.x)), int32_t(std::lround(by + f.y))};
}

void cFlies::Draw(const Map::DrawContext& dc) {
  const AnimationState& a = anims[currentAnimation];
  const bool sprite = a.IsValid() && a.Sprite();
  for (int i = 0; i < m_amount; ++i) {
    const Map::IntPoint p = DrawPoint(i, dc.offsetX, dc.offsetY);
    // With a picture, each fly is the picture at the object's scale.
    if (sprite)
      a.DrawRotated(float(p.x), float(p.y), 0.0f, kFlyMode, 15, m_colour, scale, 0, -1);
    else
      grFillRect(p.x - 1, p.y - 1, p.x + 1, p.y + 1, m_colour);
  }
}

}  // namespace Fx
