// A swarm of small flies that jitter inside their object's bounding box and are pushed about by the
// pointer passing over them.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "game/core/map_object.h"

namespace Fx {

class cFlies : public Map::cObject {
 public:
  static constexpr int kMaxFlies = 20;
  static constexpr float kPushDecay = 0.7f;

  struct Offset {
    float x = 0.0f, y = 0.0f;
  };

  cFlies();

  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const Map::DrawContext& dc) override;
  // A new box places the swarm again inside it.
  void SetBoundHalfSize(Map::IntPoint p) override;
  // The pointer is over the swarm at (event.x, event.y): the flies are pushed from the next step on.
  void OnMapEvent(GameEvent& event) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  int32_t Amount() const { return m_amount; }
  uint32_t Colour() const { return m_colour; }
  float PushSpeed() const { return m_pushSpeed; }
  Map::IntPoint PushPoint() const { return m_pushPoint; }
  const Offset& Fly(int i) const { return m_flies[size_t(std::clamp(i, 0, kMaxFlies - 1))]; }
  void SetFly(int i, Offset o) { m_flies[size_t(std::clamp(i, 0, kMaxFlies - 1))] = o; }
  // Where fly i is drawn for a draw context offset of (dx, dy).
  Map::IntPoint DrawPoint(int i, float dx = 0.0f, float dy = 0.0f) const;

 private:
  // Every fly at a random place inside the box (cosmetic draws, not logged).
  void Place();
  void Clamp(Offset& f) const;

  int32_t m_pushAge = 0;
  int32_t m_amount = 0;
  uint32_t m_colour = 0;
  float m_pushSpeed = 0.0f;
  Map::IntPoint m_pushPoint;
  std::array<Offset, kMaxFlies> m_flies{};
};

}  // namespace Fx
