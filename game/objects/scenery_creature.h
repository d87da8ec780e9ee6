// Map::cSimpleCreature: a creature of the background that idles, now and then plays one of its two
// actions (with its sound, at most once per shared sound period), acts when the pointer arrives and
// reacts to a click. Also the shared creature-sound timer the game model advances every step.
#pragma once
#include <cstdint>
#include <string>

#include "anim/period_timer.h"
#include "game/core/map_object.h"

namespace Map {

class cSimpleCreature : public cObject {
 public:
  // Animation slots: idle, the two actions, the two reactions to a click.
  enum Slot { kIdle = 0, kAction1 = 1, kAction2 = 2, kReaction1 = 3, kReaction2 = 4 };
  static constexpr size_t kItems = 7;  // the record block's items
  static constexpr size_t kSoundMax = 100;

  cSimpleCreature();

  bool LoadIni(const gFileName& file, const char* section) override;
  void UpdateAnimation(int32_t ms) override;
  bool UpdateTimers(int32_t ms) override;
  void Draw(const DrawContext& dc) override;
  void ResolveParent(const cMap& map) override;
  bool Click(bool pressed) override;
  bool HoverEnter() override;
  bool IsHighlighted() const override;
  void ApplyRecord(const MapObjectRecord& record) override;
  void FillRecord(MapObjectRecord& record) const override;
  void CopyFrom(const cObject& from) override;

  bool Acting() const { return acting != 0; }
  bool Clicked() const { return clicked != 0; }
  const PeriodTimer& Timer() const { return timer; }
  const std::string& Sound() const { return sound; }

  int32_t idlePeriodMin = 0, idlePeriodMax = 0, actionPeriodMin = 0, actionPeriodMax = 0;
  uint8_t flipX = 0;
  float creatureScale = 1.0f;

 private:
  // Plays an action (slot 1, or slot 2 on a coin toss when it has one) and times it.
  void StartAction();
  void StartIdle();
  // Plays `slot` and makes the timer last its animation's period.
  void PlayTimed(int slot);

  uint8_t acting = 0;
  PeriodTimer timer{0, PeriodTimer::kStopped};
  std::string sound;
  uint8_t clicked = 0;
};

// The shared creature-sound timer: a 15000 ms period that starts again whenever a creature's sound
// is played; sounds are only played while it has run out. The restart waits for the model's step,
// so creatures starting their actions in the same step may all be heard.
constexpr int32_t kCreatureSoundPeriodMs = 15000;
void sceneryCreatureSoundReset();            // run out (a level's first sound plays)
void sceneryCreatureSoundTick(int32_t ms);   // the model, once per step
bool sceneryCreatureSoundFree();
void sceneryCreatureSoundPlayed();
const PeriodTimer& sceneryCreatureSoundTimer();

}  // namespace Map
