// The level loading screen: the level's name, a hint, a row of shields that light up one by one
// as the level's stages run (one per update), the episode's picture; then the game view.
#pragma once
#include "game/menus/loading.h"

namespace Menu {

// Which shields are lit after `counter` of `steps` stages with `shields` shields: every shield
// before `full` is opaque, shield `full` (when it exists) shows `alpha` (0 to 255).
struct ShieldLight {
  int full = 0;
  int alpha = 0;
};
ShieldLight loadingShieldLight(int shields, int counter, int steps);

class UILevelLoading : public UILoadingMenu {
 public:
  static constexpr const char* kFile = "data/menu/levelLoading.ini";
  UILevelLoading(int hint, int level, int mode);
  void Load(const char* file, const char* section) override;
  bool Step() override;
  void OnLeft() override;

  int HintNumber() const { return hint_; }
  int Level() const { return level_; }
  int ShieldCount() const { return shields_; }
  int Steps() const { return steps_; }
  bool Failed() const { return failed_; }

 private:
  // The level could not be read: the player goes back to the level map instead of a broken level.
  void Abandon();
  void LightShields();

  int hint_;
  int level_;
  int mode_;
  int shields_ = 0;
  bool firstStep_ = true;
  bool failed_ = false;
};

}  // namespace Menu
