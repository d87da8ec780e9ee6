// The bonus panel of the in-game interface: the energy bar with one round button per bonus the
// level offers (placed along the bar at its cost), the hint that names the bonus under the
// pointer, and the clicks that fire a bonus.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "anim/animation.h"
#include "game/core/events.h"
#include "ui/widget_sprite.h"

namespace FxManager {
class cSimplePyro;
}
namespace Game {
class cBonusController;
struct LevelContext;
}  // namespace Game

namespace Interface {

// Where the buttons stand and how far the bar is filled, from the bar's place and the fractions
// of the bonus controller (a pure function, so the layout can be checked on its own).
struct BonusSlotLayout {
  static constexpr int kSlot = 54;  // each button's share of the bar, in pixels
  // Left edge of button k's slot (k in cost order) on a bar at `barX` of `barWidth` with n buttons.
  static int SlotX(int barX, int barWidth, int buttons, int k, float costFraction);
  // The share of the bar drawn filled: the energy's part of the free width plus every slot the
  // energy has passed.
  static float Fill(int barWidth, int buttons, float energyFraction, const std::vector<float>& costFractions);
};

// One bonus button: its base picture, progress ring and frame, the glow while it can be fired and
// the burst when its active period runs out.
class UIBonusOnLevel : public UIWndSprite {
 public:
  UIBonusOnLevel(int bonus, Game::cEventDispatcher* dispatcher);
  ~UIBonusOnLevel() override;
  // Reads "radius" from `section` and the pictures from the section named after the bonus.
  void Load(const char* file, const char* section) override;
  int Update(int dt) override;
  int Draw() override;
  // Inside the circle of "radius" around the centre moved 5 pixels down.
  bool HitTest(int x, int y) const override;
  // Presses and releases come through the panel, which decides what a click does.
  int KeyDown(int, int) override { return 0; }
  int KeyUp(int, int) override { return 0; }

  // Told every step and after every click; becoming available starts the glow and posts event 23.
  void SetAvailable(bool on);
  // The share of the running active period that has passed, or a negative value when none runs.
  // The progress ring shows it; the burst plays as the ring's last frame comes (or, for a ring of
  // a single frame, as the period ends).
  void SetRunning(float activeFraction);
  // The click that fired the bonus: the activation sound at the button.
  void Activate();
  void CentreAt(int cx, int cy);

  int bonus() const { return m_bonus; }
  bool available() const { return m_available != 0; }
  int CentreX() const { return x_ + xs_ / 2; }
  int CentreY() const { return y_ + ys_ / 2; }
  float Scale() const { return state_ == Press ? 0.9f : 1.0f; }
  int Radius() const { return m_radius; }
  bool Glowing() const;
  // The progress ring's frame while the bonus runs (-1 when it does not), and the bursts so far.
  int ProgressFrame() const { return m_progressFrame; }
  int EndBursts() const { return m_endBursts; }

 private:
  void DrawAnim(const AnimationState& a, int frame, bool additive) const;
  // The "BonusEnd" effect at the button: once per active period.
  void Burst();

  int m_bonus;
  Game::cEventDispatcher* m_dispatcher;
  int m_radius = 24;
  AnimationState m_base, m_ring, m_frame;  // "anim0", "anim1", "anim2"
  uint8_t m_available = 0;
  int m_progressFrame = -1;
  int m_endBursts = 0;
  uint8_t m_burstPlayed = 0;  // this active period's burst has played
  std::unique_ptr<FxManager::cSimplePyro> m_glow, m_burst;
};

// The hint over a button: the bonus's name and what it does, fading in and out.
class UIBonusInfo : public UIWndSprite {
 public:
  static constexpr const char* kFile = "data/interface/bonushints.ini";
  static constexpr float kFadeInMs = 500.0f;
  static constexpr float kFadeOutPerMs = 0.51f;
  UIBonusInfo();
  bool Build(const char* file = kFile);
  // Shows the text of the bonus above the button and fades in.
  void ShowFor(const UIBonusOnLevel& button);
  // Fades out; hidden once faint.
  void Leave();
  void ResetNow();
  int Update(int dt) override;
  int Draw() override;
  bool HitTest(int, int) const override { return false; }
  float Alpha() const { return m_alpha; }
  bool FadingIn() const { return m_in != 0; }
  UIWnd* Text() const { return m_text; }
  int ForBonus() const { return m_bonus; }

 private:
  std::string m_file;
  UIWnd* m_text = nullptr;
  float m_alpha = 0.0f;
  uint8_t m_in = 0;
  int m_bonus = -1;
};

class UIBonusInterface : public UIWnd {
 public:
  static constexpr const char* kFile = "data/interface/bonuses.ini";
  static constexpr int kMaxButtons = 3;
  UIBonusInterface();
  ~UIBonusInterface() override;
  // The panel and its bar from the definition; false when it is missing.
  bool Build(const char* file = kFile);
  // One button per bonus the level offers (at most three, the time stop not in the untimed mode),
  // in cost order; hidden without any.
  void LevelStart(Game::LevelContext* level);
  void LevelEnd();
  // Forgets the pointer (hover, press, hint): an open screen took the input.
  void ResetPointer();

  int Update(int dt) override;
  // Nothing: the interface draws the panel with its boards (DrawBoard), under its darkening and
  // the screens that open over the level, which the window tree would draw beneath it.
  int Draw() override { return 0; }
  // The bar, its fill, the buttons and the hint over them.
  void DrawBoard();
  bool HitTest(int x, int y) const override;
  int KeyDown(int code, int value) override;
  int KeyUp(int code, int value) override;
  int MouseMove(int buttons, int value) override;

  const std::vector<UIBonusOnLevel*>& Buttons() const { return m_buttons; }
  UIBonusOnLevel* ButtonOf(int bonus) const;
  float FillFraction() const { return m_fill; }
  UIWnd* Bar() const { return m_bar; }
  UIBonusInfo* Hint() const { return m_hint; }

 private:
  void Layout();
  void Refresh();
  UIBonusOnLevel* ButtonAt(int x, int y) const;
  void ClearButtons();

  std::string m_file;
  Game::cBonusController* m_controller = nullptr;
  Game::cEventDispatcher* m_dispatcher = nullptr;
  UIWnd* m_bar = nullptr;
  CSprite* m_barFill = nullptr;
  UIBonusInfo* m_hint = nullptr;
  std::vector<UIBonusOnLevel*> m_buttons;  // children, in cost order
  UIBonusOnLevel* m_pressed = nullptr;
  UIBonusOnLevel* m_hovered = nullptr;
  float m_fill = 0.0f;
};

}  // namespace Interface
