// Map::cBrokenPathPatch: a broken road or bridge (and statues, lake bridges, frozen paths) that
// persons repair. The broken picture fades out in seven steps over the repair; a bridge lifts the
// persons walking over it along its arch.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "game/objects/object_level.h"
#include "game/objects/subject_object.h"

namespace Map {

// The subtype a patch ends up with. A subtype named in the definition is kept as it is ("bridge",
// "lakebridge", "frozenPath", "statue1" ...); only a patch without one is told apart by its arch
// flag: "bridge" when the flag is set, else the plain "roadcrack".
std::string brokenPathSubtype(std::string_view subtypeKey, int32_t convex);

class cBrokenPathPatch : public cSubjectObject {
 public:
  static constexpr int32_t kFadeSteps = 7;
  static constexpr int32_t kFadeStep = 36;
  static constexpr int32_t kHideFadeMs = 700;

  bool HasOperationOffer() const override { return broken != 0; }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  std::string GetStatusText() const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void OnOperationFinished() override;
  bool HoverEnter() override;

  float GetHeightAt(IntPoint p) const override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void SaveChildScript(std::string& out) const override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  // The period of one fade step for a repair of `durationMs`: a seventh of it, at least 1 ms.
  static int32_t FadePeriod(int32_t durationMs);

  cObstacleWorkSound workSound;
  uint8_t broken = 0;
  uint8_t hidden = 0;
  uint8_t drawAfterRepair = 0;
  float angle = 0.0f;
  float imageAngle = 0.0f;
  int32_t heightMax = 0;
  uint8_t convex = 1;
  int32_t fadePeriod = 0;  // 0: no fade running
  int32_t fadeTime = 0;
  int32_t fadeStepsDone = 0;
  int32_t brokenAlpha = 255;
  uint8_t flipY = 0;
  WorkTimer hideFade;
  int32_t frame = 0;  // the picture frame: 1 broken, 0 repaired

 private:
  void BeginWork();
  void MarkRepaired();
};
}  // namespace Map
