// A light pattern (water shimmer) tiled over the whole screen, scrolling in one direction and
// pulsing in strength.
#pragma once

#include <cstdint>

#include "anim/value_ramp.h"
#include "game/core/map_object.h"

namespace Fx {

class cCaustic : public Map::cObject {
 public:
  static constexpr int32_t kDefaultPeriod = 10000;
  // Tiles drawn per frame at most: a pattern shrunk to a few pixels is not drawn at all.
  static constexpr int kMaxTiles = 4096;

  cCaustic();

  void UpdateAnimation(int32_t ms) override;
  void Draw(const Map::DrawContext& dc) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // Columns and rows of tiles of w x h pixels drawn at scale s that cover the 1024 x 768 screen
  // whatever the scroll offset (0 .. one tile). Zero for a tile of no size.
  static void TileGrid(int w, int h, float s, int& columns, int& rows);
  // The centre of tile (column, row) for the current scroll, tiles of w x h at scale s.
  void TileCentre(int column, int row, int w, int h, float s, float& cx, float& cy) const;
  // The pattern's alpha this frame: the base alpha with the pulse, 0 .. 255.
  int CurrentAlpha() const;

  float ScrollX() const { return m_scrollX.Value(); }
  float ScrollY() const { return m_scrollY.Value(); }
  bool Scrolls(bool vertical) const { return !(vertical ? m_scrollY : m_scrollX).IsStopped(); }
  bool Pulses() const { return !m_alphaWave.IsStopped(); }
  int32_t Alpha() const { return m_alpha; }
  int32_t CausticPeriod() const { return m_period; }
  float Direction() const { return m_dir; }

 private:
  void SetUpScroll();
  void SetUpPulse();

  float m_dir = 0.0f;
  int32_t m_time = 0;
  int32_t m_period = kDefaultPeriod;
  ValueRamp m_scrollX, m_scrollY;
  ValueRamp m_alphaWave;
  float m_amplitude = 0.0f;
  float m_phase = 0.0f;
  int32_t m_alphaPeriod = 0;
  int32_t m_alpha = 255;
};

}  // namespace Fx
