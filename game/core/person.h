// Map::cPerson: a worker, warrior or exorcist walking routes between its home and the objects it
// works on, carrying what it gathered home to the stock. It is a subject itself (no one works on a
// person): its two work effects are the running trail and the bag of the item it carries.
#pragma once
#include <cstdint>

#include <string>
#include <string_view>

#include "anim/animation.h"
#include "game/core/map_object.h"
#include "game/core/path_route.h"
#include "game/objects/subject_object.h"

class CSound;

namespace Map {
class cObjectFactory;

enum class PersonState : int32_t {
  Free = 0, Celebrating = 1, Walking = 2, WalkingHome = 3, Working = 4, Resting = 5, Standing = 6,
  Greeting = 7, Queued = 8
};

constexpr int kPersonVisibleStates = 17;
extern const char* const kPersonVisibleStateNames[kPersonVisibleStates];  // 0 is "" (none)

// The direction 0 to 7 of a screen vector: 0 up, 2 right, 4 down, 6 left.
int32_t personDirection(float dx, float dy);

// The walking speed shared by all persons (pixels per millisecond): the base, and the current one
// (1.5 times the base while the "Speed" bonus runs).
void personSetBaseSpeed(float v);
float personBaseSpeed();
float personCurrentSpeed();

// Whether persons speak when they are given work: the player's "voices" option. On until the
// options say otherwise.
void personSetVoicesOn(bool on);
bool personVoicesOn();

// The sound script of the persons' voices and work sounds; its entries are bound by name.
constexpr const char* kPersonSoundsFile = "data/person/sounds.ini";

class cPerson : public cSubjectObject {
 public:
  static constexpr int32_t kGreetMs = 2000;
  static constexpr int32_t kReturnMs = 2000;
  static constexpr float kStopSpeed = 0.00001f;  // at or below: the step is 0
  static constexpr int32_t kFidgetMaxMs = 7000;  // an idle person stands this long at most

  static constexpr int32_t kVoiceRestMax = 5;    // a voice is followed by 0 to 5 silent orders
  static constexpr int32_t kTrailEffect = 0, kBagEffect = 1;  // the two work effects
  static constexpr int32_t kFaceTarget = 8;      // the direction that means "face the target"

  cPerson();
  ~cPerson() override;
  // Reads the object's own keys, "GatherSoundKey", then the animation table
  // ("<state>_anim<direction>").
  bool LoadIni(const gFileName& file, const char* section) override;
  void UpdateAnimation(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void RegisterEvents(Game::cEventDispatcher* d) override;
  void OnEvent(GameEvent& event) override;
  bool UpdateTimers(int32_t ms) override;

  // Stores the kind and binds its voice ("Exorcist", "Warrior", otherwise "Worker"); a worker
  // first stays silent once.
  void SetKind(uint32_t kindHash);
  // 1 ("stay") starts the fidget; 2 and 3 (walking) show the trail while the person is faster
  // than the base speed; every other state hides it.
  void SetVisibleState(int32_t s);
  void StartMove(int32_t targetId, const PathRoute& route, bool walkingHome, float speed);
  // Direction 0 to 7, or kFaceTarget. Gathering (visible state 8) starts the gather sound.
  void StartWork(int32_t direction, float volume = 1.0f);
  // Waits without moving for the others of its operation, facing the target: standing ("stay"),
  // or with `walkBack` showing nothing.
  void Queue(bool walkBack);
  // "quill", "Key", "berry" or "heart" (NameHash): carried home in a bag, which shows its effect.
  void SetCarriedItem(uint32_t itemHash);
  // Called when the person is given work: speaks now and then, if the player lets persons speak.
  void PlayVoice();
  void FaceTarget();
  void Celebrate(int variant, int32_t ms);
  void Greet();
  void Stand(int32_t ms);
  void Arrive();
  void SetReturnTimer(bool silent);
  void Carry(int32_t resource, int32_t amount) { carriedResource = resource; carriedAmount = amount; }

  // The animation table: the named animation of each visible state and direction (0: none).
  static std::string AnimationKey(int32_t visible, int32_t dir);
  void LoadAnimationTable(const gFileName& file, const char* section);
  // A name of "null" (any case) or an empty one clears the entry.
  void SetAnimationName(int32_t visible, int32_t dir, std::string_view name);
  uint32_t AnimationHash(int32_t visible, int32_t dir) const;
  // The animation the person shows now (its visible state and direction), 0 for none.
  uint32_t CurrentAnimationHash() const { return m_animHash; }
  const AnimationState& CurrentAnimation() const { return m_anim; }
  // How far the person is drawn above its anchor: the height of the bridge arc it stands on (the
  // first "brokenPath" object whose bounds hold the anchor), else 0.
  float Lift() const;

  bool IsFree() const;  // free for work: Free, Standing, or walking home and redirectable
  bool ReturnTimerOver() const { return m_returnTimer <= 0; }
  bool TrailShown() const { return m_trail; }
  bool GatherSoundOn() const { return m_gatherOn; }

  uint32_t kind = 0;
  PersonState state = PersonState::Free;
  int32_t homeId = -1;
  int32_t visibleState = 1;
  uint8_t atHome = 0;
  uint8_t redirectable = 0;
  int32_t direction = 4;
  float totalWalked = 0.0f;
  int32_t targetId = -1;
  int32_t carriedResource = 4;
  int32_t carriedAmount = 0;
  float speed = 0.0f;
  uint8_t bonusDelivery = 0;
  uint32_t carriedItem = 0;  // NameHash of the item, 0 for none
  int32_t voiceCountdown = 0;
  std::string voice;        // the entry of the person sound script this kind speaks with
  std::string gatherSound;  // the entry played while gathering ("GatherSoundKey")
  // Voices and gather sounds started (either may be silent without a sound system).
  int32_t voicesPlayed = 0;
  int32_t gatherSoundsStarted = 0;

  // The route follower, readable by tests and the path drawing.
  const PathRoute& route() const { return m_route; }
  size_t segment() const { return m_segment; }
  float step() const { return m_step; }

 private:
  void Move(int32_t ms);
  // Makes segment `i` (or the first usable one after it) current; false when none is left.
  bool BeginSegment(size_t i);
  void Post(GameEvent& e);
  void ShowState(int32_t visible);
  // Shows the table's animation for the visible state and direction; with `keepPhase` a new
  // animation continues from the same fraction of its length instead of its first frame.
  void PlayCurrent(bool keepPhase);
  void SetTrail(bool on);
  // The work effect `which` made on first use from the named effect.
  FxManager::cSimplePyro& Effect(int which, const char* name);
  // The carried item's event on arrival; the bag goes down and nothing is carried.
  void DeliverItem();
  void StartGatherSound(float volume);
  void StopGatherSound();
  void ReleaseSounds();
  void DrawRoute(const DrawContext& dc) const;

  PathRoute m_route;
  size_t m_segment = 0;
  // Double: a slow walk on a long segment adds steps far below a float's resolution near 1.
  double m_t = 0.0;
  double m_step = 0.0;
  float m_stepSpeed = 0.0f;  // the speed the step was computed for
  double m_walkCarry = 0.0;  // a pixel's part walked but not yet told in event 69
  int32_t m_stateTimer = 0;
  int32_t m_returnTimer = 0;
  uint32_t m_animTable[kPersonVisibleStates][8] = {};
  uint32_t m_animHash = 0;
  // An idle person ("stay") plays "stay2" once now and then: the time left of the current one,
  // below 0 while the person is not idle; set while "stay2" plays.
  int32_t m_fidgetTimer = -1;
  bool m_fidget = false;
  AnimationState m_anim;
  bool m_trail = false;
  bool m_soundsBound = false;  // holds the person sound script loaded
  bool m_gatherOn = false;
  CSound* m_gather = nullptr;
};

// Makes the factory build cPerson for the type "person".
void personRegisterClass(cObjectFactory& factory);
}  // namespace Map
