// The arrow with which the game points the player at an object after a refused order: the first
// request for an object is only counted, from the second on the arrow shows there for 3 seconds.
#pragma once

#include <cstdint>
#include <vector>

#include "anim/animation.h"
#include "game/core/map_object.h"

namespace Map {
class cMap;
}

namespace Icon {

class cObjectHintMarker : public Map::cObject {
 public:
  static constexpr int32_t kShowMs = 3000;

  struct Entry {
    int32_t objectId = Map::kNoId;
    int32_t count = 0;
    Map::IntPoint point;
    int32_t timerMs = 0;  // time left to show; 0 = stopped
  };

  // Where the arrow stands beside a point on the screen and whether it is mirrored.
  struct Placement {
    float dx = 0.0f;  // from the point to the arrow, in screen pixels
    bool mirrored = false;
  };

  // One request to point at `objectId`; `map` gives its anchor. Unknown ids are ignored.
  void PointAt(const Map::cMap& map, int32_t objectId);
  void PointAtPoint(int32_t objectId, Map::IntPoint anchor);

  static constexpr const char* kArrowAnimation = "ObjectHint_Arrow";

  bool UpdateTimers(int32_t ms) override;
  // Draws the arrow beside every point it shows at.
  void Draw(const Map::DrawContext& dc) override;
  void CopyFrom(const Map::cObject& from) override;

  const std::vector<Entry>& Entries() const { return m_entries; }
  // The entry showing an arrow at the object, or nullptr.
  const Entry* Showing(int32_t objectId) const;
  float Phase() const { return m_phase; }

  // Right of points on the left half of the 1024-wide screen, left and mirrored otherwise; the
  // gap is the arrow's frame width plus a bob of 30 * |sin(phase)|.
  static Placement Place(float screenX, int32_t frameWidth, float phase);

 private:
  std::vector<Entry> m_entries;
  AnimationState m_arrow;
  bool m_arrowAsked = false;
  float m_phase = 0.0f;
  int32_t m_phaseMs = 0;
};
}  // namespace Icon
