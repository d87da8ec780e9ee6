// Animation scripts ("animScript"): named states of a composite animation made of layers (each an
// animation of the catalogue with its own offset, scale, time window and draw layer) and sound cues
// tied to the frames of those layers. cAnimScript is the player one object holds.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "anim/animation.h"
#include "anim/period_timer.h"

class CSound;

namespace Core {

// A sound position meaning "no position": the sound plays unpanned.
constexpr int32_t kNoSoundPosition = INT32_MIN;

class cAnimScript {
 public:
  static constexpr int32_t kDefaultPeriod = 2000;
  static constexpr int kMaxLayersPerState = 50;  // keys "1" ... "50"
  static constexpr int kMaxCuesPerState = 10;    // keys "sound0" ... "sound9"

  // Extra pass of non-additive layers drawn over the normal one (a hovered object's glow).
  struct Highlight {
    uint32_t modeWord = 0;
    uint8_t mask = 15;
    uint32_t colour = 0xFFFFFFFFu;
  };

  // What one layer of the current state shows now (tests and debugging).
  struct LayerView {
    int index;             // within its state, in key order from 0
    std::string_view section;
    int drawLayer;
    int animTime;          // milliseconds into the layer's animation
    int frame;             // frame of that time
  };

  cAnimScript() = default;
  ~cAnimScript();
  cAnimScript(const cAnimScript&) = delete;
  cAnimScript& operator=(const cAnimScript&) = delete;
  cAnimScript(cAnimScript&&) noexcept;
  cAnimScript& operator=(cAnimScript&&) noexcept;

  // Appends the state described by section `state` of `file` with its layers and cues. False (and a
  // gerr.log line) when the file or section does not exist; a layer whose animation is not in the
  // catalogue is kept and draws nothing.
  bool LoadState(const char* file, const char* state);
  bool HasState(std::string_view name) const;
  size_t StateCount() const { return states_.size(); }

  // Plays a state for `duration` ms, or for its own period (restarting by itself when it cycles)
  // when 0. A state the script does not have plays nothing: the player stops and answers false.
  bool Play(std::string_view state, int32_t duration = 0);
  // One step; true when the current period ended.
  bool Update(int32_t ms);
  // Draws the layers of the current state whose draw layer lies in [layerMin, layerMax] (0 .. 255
  // above objects, -255 .. -1 below), relative to the object's position (x, y).
  void Draw(float x, float y, int layerMin, int layerMax, const Highlight* highlight = nullptr) const;
  // Stops, releases every cue sound and forgets every state.
  void Stop();

  bool IsPlaying() const { return current_ >= 0 && !timer_.IsStopped(); }
  uint32_t CurrentState() const { return current_ >= 0 ? states_[size_t(current_)].nameHash : 0; }
  const PeriodTimer& Timer() const { return timer_; }
  std::vector<LayerView> VisibleLayers() const;

  void SetHidden(bool h) { hidden_ = h; }
  bool Hidden() const { return hidden_; }
  void SetSoundsOn(bool on) { soundsOn_ = on; }
  void SetScale(float s) { scale_ = s; }
  float Scale() const { return scale_; }
  void SetVolume(float v);
  float Volume() const { return volume_; }
  // The volume falls by 0.01 per update down to 0.
  void SetFading(bool on) { fading_ = on; }
  // Screen x the cue sounds are panned from, or kNoSoundPosition.
  void SetSoundPosition(int32_t x) { soundX_ = x; }
  const std::string& Name() const { return name_; }

  // Called with the sound name each time a cue plays (game log, tests).
  void SetCueListener(std::function<void(const char* sound)> f) { cueListener_ = std::move(f); }

 private:
  struct Layer {
    int state;  // index into states_
    AnimationState anim;
    int x = 0, y = 0;
    float xs = 1, ys = 1;
    float timeMin = 0, timeMax = 1;
    int drawLayer = 0;
    bool cycle = false;
    std::string section;
  };
  struct Cue {
    int layer;  // index within its state
    int frame;
    int plays;  // per cycle
    int done = 0;
    bool armed = true;
    std::string sound;
    CSound* instance = nullptr;  // held while the player keeps it
  };
  struct State {
    uint32_t nameHash;
    std::string name;
    int32_t period = kDefaultPeriod;
    bool cycle = false;
    int x = 0, y = 0;
    std::vector<Cue> cues;
    std::vector<int> layers;  // indices into layers_, in key order
  };

  bool TakesPart(const Layer& l, float t) const;
  int LayerTime(const Layer& l, float t) const;
  void ArmCues(State& s);
  void ProcessCues();
  void PlayCue(Cue& c);
  void ReleaseSounds();

  float volume_ = 1.0f;
  bool fading_ = false;
  int32_t soundX_ = kNoSoundPosition;
  std::string name_;
  PeriodTimer timer_{kDefaultPeriod, PeriodTimer::kStopped};
  int current_ = -1;
  std::vector<Layer> layers_;
  std::vector<State> states_;
  float scale_ = 1.0f;
  bool hidden_ = false;
  bool soundsOn_ = true;
  std::function<void(const char*)> cueListener_;
};

}  // namespace Core
