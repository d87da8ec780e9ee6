// The drums: a worker drums on them, the screen darkens and a letterbox opens, rain and then a
// magic rain fall, and the berries of the level's bush ripen (event 90).
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "anim/anim_sound_track.h"
#include "game/objects/subject_object.h"

namespace Map {

class cDrums : public cSubjectObject {
 public:
  // Drum stages: idling, a tap now and then, the drumming's start, its loop, the final hit.
  enum DrumStage : int32_t { DrumIdle = 0, DrumTap = 1, DrumStart = 2, DrumLoop = 3, DrumFinal = 4 };
  static constexpr int32_t kDarkenMs = 7000;
  static constexpr int32_t kRainMs = 7000;
  static constexpr int32_t kRainStageMs = 5000;
  static constexpr int32_t kMagicRainMs = 10000;
  static constexpr int32_t kBerryDelayMs = 5000;
  static constexpr int32_t kLightenMs = 3000;
  static constexpr int32_t kSceneLayer = 101;
  static constexpr int32_t kRainLayer = 102;
  static constexpr int32_t kMagicRainLayer = 110;
  static constexpr int32_t kLoopRounds = 4;
  static constexpr int kRainPointKey = 49;  // the editor's "1" key
  static constexpr uint32_t kRainPointColour = 0xC80000FFu;

  bool HasOperationOffer() const override { return !withdrawn; }
  bool GetOperationOffer(ResourceVector& gains, ResourceVector& costs, ResourceVector& nextGains) const override;
  void GetOfferLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) const override;
  int TryStartOperation(bool byPlayer) override;
  bool OnPersonArrived(int32_t personId) override;
  void ResolveParent(const cMap& map) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void DrawDebug(const DrawContext& dc) override;
  void EditSupportPoint(IntPoint p, int key) override;
  void SaveChildScript(std::string& out) const override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;

  // The alpha (0..255) of the black veil over the screen in the current scene stage.
  int VeilAlpha() const;
  // Where the magic rain falls: the point the editor set, else the level's berry bush, else the
  // drums themselves.
  IntPoint RainPoint() const;

  DrumStage drumStage = DrumIdle;
  WorkTimer animTimer;
  int32_t sceneStage = 0;  // 0 before the drumming, 1 darkening ... 5 over
  WorkTimer sceneTimer;
  WorkTimer berryTimer;
  IntPoint rainPoint{0, 0};  // (0, 0): not set
  Core::cObjectSoundTrack sounds;

 private:
  void AnimationTimerEnded();
  void SceneTimerEnded();
  // Raises the drums and every "berry" object over the veil, remembering their layers.
  void RaiseScene();
  void LowerScene();
  std::vector<std::pair<int32_t, int32_t>> m_raised;  // object id, layer before the scene
};
}  // namespace Map
