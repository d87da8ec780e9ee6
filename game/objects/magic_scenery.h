// Magic scenery: the troll's storm cloud, the magic tree that comes back to life, and the tentacles
// that sway in their pond. Scripted like the witch scenes (stage timer, animations, effects).
#pragma once
#include <cstdint>

#include "game/objects/witch_scene.h"

namespace Map {
class cObjectFactory;

// A storm cloud over the troll each time the troll acts (event 97); when it has passed, event 98.
// Its track "TrollCloud" plays cue 0 as the cloud gathers.
class cTrollCloud : public cWitchScene {
 public:
  enum Fx : size_t { kCloud = 0 };
  static constexpr int32_t kCloudMs = 3000;
  static constexpr int32_t kAboveTroll = 60;  // the cloud hangs this far over the troll's anchor

  cTrollCloud();
  void ResolveParent(const cMap& map) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& e) override;
  bool Raining() const { return stage == 1; }

 protected:
  void OnStageEnd() override;
};

// A tree withered by a spell (slot 0). Named by a witch (event 134 with its tag), or when a heart is
// brought home (event 85), it revives for 2000 ms under "MagicTreeReviving" (cue 0 of its track
// "MagicTree") and then stands alive (slot 1) in a one-shot burst "MagicTree" on the map (cue 1).
class cMagicTree : public cWitchScene {
 public:
  enum Fx : size_t { kReviving = 0 };
  enum StageId : int32_t { kEnchanted = 0, kRevivingStage = 1, kAlive = 2 };
  static constexpr int32_t kReviveMs = 2000;

  cMagicTree();
  void ResolveParent(const cMap& map) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& e) override;

 protected:
  void OnStageEnd() override;

 private:
  void Revive();
};

// Tentacles in a pond: they sway (slot 0) for three of its periods, rise (slot 1) once, and again;
// named by a witch (event 134 with their tag) they sink (slot 2) and are gone. Their track
// "Tentacles" plays cue 0 as they rise and cue 1 as they sink.
class cTentacles : public cWitchScene {
 public:
  enum StageId : int32_t { kSway = 0, kRise = 1, kSink = 2 };
  static constexpr int kSwayRounds = 3;

  cTentacles();
  void ResolveParent(const cMap& map) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& e) override;

 protected:
  void OnStageEnd() override;
};

}  // namespace Map
