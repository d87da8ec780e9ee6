// Map::cReflection: something mirrored in water (a tree, the barn), drawn turned by its angle and
// see-through, its ripples starting at a frame of their own so neighbouring reflections differ.
#pragma once
#include <cstdint>
#include <string>

#include "game/core/map_object.h"

namespace Map {

class cReflection : public cObject {
 public:
  static constexpr size_t kItems = 2;  // the record block's items: the angle, then the alpha

  void Draw(const DrawContext& dc) override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // The frame shown now: the animation's own frame moved on by the start offset, within the
  // animation's frames.
  int FrameShown() const;
  int StartOffset() const { return startOffset; }

  int32_t alpha = 255;  // 0 to 255
  float angle = 0.0f;   // radians

 private:
  void PickStartOffset();
  int32_t startOffset = 0;
};

}  // namespace Map
