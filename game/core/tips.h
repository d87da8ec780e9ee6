// Game::cTips: the tutorial tips of the first levels and the two one-time hints (a resource at its
// maximum, the gold time gone). A tip is a small window with a text, an OK button and a switch that
// turns tips off, often with a bobbing arrow at the object it is about. The game view owns the tips
// and hands them every event, step, draw and press; they are no child of any window.
#pragma once
#include <array>
#include <cstdint>

#include "anim/animation.h"
#include "anim/period_timer.h"
#include "game/core/events.h"
#include "ui/wnd.h"

namespace Map {
class cObject;
}

namespace Game {
struct LevelContext;

class cTips : public cObserver, public UIWnd {
 public:
  static constexpr int kTipCount = 14;
  static constexpr int kNoTip = 14;  // tipIndex while no tip is open
  static constexpr const char* kFile = "data/tips/tips.ini";
  static constexpr const char* kArrowAnimation = "ObjectHint_Arrow";
  // The hint that a resource is at its maximum, and the one that the gold time is gone: shown once
  // per player (the profile's exact-tip flags), on any level.
  static constexpr int kResourceFullTip = 12;
  static constexpr int kGoldLostTip = 13;
  static constexpr float kAmplitude = 30.0f;      // pixels the arrow bobs out from its point
  static constexpr int32_t kWobblePeriodMs = 2000;  // one full turn of the bob's phase
  static constexpr float kWobbleSpeed = 0.0031415902f;  // radians per millisecond
  static constexpr int kArrowGap = 50;  // from the object's box to the arrow's point
  static constexpr int kScreenMiddle = 512;

  // `level` gives the map, the workers and the dispatcher; null leaves tips that never open.
  explicit cTips(LevelContext* level);
  ~cTips() override;
  // The level is going: nothing of it is used any more.
  void Detach();

  // When the level starts: the tutorial stage and the one-time hints already seen, from the
  // current player's record. Without a player no tip is kept anywhere, so none is shown.
  void SelectTips(int32_t level);
  // Opens tip `tip`, its arrow beside the object tagged `targetTag` (0: the document's arrow, if
  // any), moved by (dx, dy). A target the map lacks keeps the tip closed (told in gerr.log once).
  void ShowTip(uint32_t targetTag, int tip, int dx, int dy);
  // Builds the windows of tip `tip` from the document and takes its keys.
  void LoadTip(int tip);
  // Closes the open tip, posting event 22 (with whether the player switched tips off).
  void CloseTip();
  // Degrees, brought once into 0..360; a given angle of 46 to 224 turns the arrow upside down so
  // that its upper side stays up.
  void SetArrowAngle(int degrees);
  // The tag of the object the open tip is about (0 for none or no tip): the table's, or for the
  // tip about a used bonus the tag its event named.
  uint32_t RequiredTag() const;
  // The tag each tip points at by its table; 0 for tips that point at nothing (or at the event's
  // object). Tips outside 0 to 13 have none.
  static uint32_t TargetTag(int tip);
  static const char* TargetName(int tip);

  // The trigger rules, by the tutorial stage; the view calls it first for every event it gets.
  void OnEvent(GameEvent& event) override;

  // ---- Window operations ---------------------------------------------------------------------
  // Mouse buttons while a tip is open: inside its box they go to its widgets; outside, a tip that
  // wants its object clicked lets them through to the map, any other tip closes. 1 when taken.
  int KeyDown(int code, int value) override;
  // The release that completes a press on a widget of the box.
  int KeyUp(int code, int value) override;
  int MouseMove(int buttons, int value) override;
  // "OK" closes the tip.
  int OnCommand(UIWnd* source) override;
  // The bob, the arrow's animation and the widgets.
  int Update(int dt) override;
  // Nothing while no tip is open; else the arrow, then the widgets over it.
  int Draw() override;

  // ---- State -----------------------------------------------------------------------------------
  bool IsOpen() const { return m_tipIndex != kNoTip; }
  int tipIndex() const { return m_tipIndex; }
  bool requireClick() const { return m_requireClick != 0; }
  bool Shown(int tip) const { return tip >= 0 && tip < kTipCount && m_shown[size_t(tip)] != 0; }
  int32_t tutorialStage() const { return m_stage; }
  bool tipsEnabled() const { return m_enabled != 0; }
  void SetTipsEnabled(bool on) { m_enabled = on ? 1 : 0; }
  bool arrowShown() const { return m_arrowShown != 0; }
  int arrowX() const { return m_arrowX; }
  int arrowY() const { return m_arrowY; }
  float arrowAngle() const { return m_arrowAngle; }
  bool arrowMirrored() const { return m_arrowMirrored != 0; }
  float wobble() const { return m_wobble; }
  // How far the arrow stands out from its point now: |amplitude x sin(wobble)|.
  float ArrowOffset() const;
  // The centre the arrow is drawn at now.
  float ArrowDrawX() const;
  float ArrowDrawY() const;
  // The open tip's background, whose rectangle is the tip's box (null without one).
  UIWnd* Box() const { return FindChild("Back"); }

 private:
  Map::cObject* Find(uint32_t tag) const;
  // The object exists and a worker can walk to it from home.
  bool Reachable(uint32_t tag) const;
  bool Affordable(uint32_t tag) const;
  // True when `tag` names an object the map lacks (told in gerr.log once per tip and level).
  bool Missing(int tip, uint32_t tag);
  // Tries the rules of the tutorial stage; true when one opened its tip.
  bool StageRule(const GameEvent& e);
  // Opens a tip of the stage table when it has not been shown.
  bool Offer(int tip, uint32_t target);
  void ShowResourceFull(const GameEvent& e);
  void ShowGoldLost();
  void RemoveWidgets();
  void PostTipEvent(GameEvent& e);
  // The player's one-time hint is seen: its flag in the current player's record.
  static void MarkExactTip(int tip);

  LevelContext* m_level = nullptr;
  cEventDispatcher* m_dispatcher = nullptr;
  float m_wobble = 0.0f;
  PeriodTimer m_wobbleTimer{kWobblePeriodMs, PeriodTimer::kStopped};
  uint8_t m_requireClick = 0;
  int32_t m_tipIndex = kNoTip;
  std::array<uint8_t, kTipCount> m_shown{};
  int32_t m_stage = 0;
  uint8_t m_arrowShown = 0;
  int32_t m_arrowX = 0, m_arrowY = 0;
  float m_arrowAngle = 0.0f;
  uint8_t m_arrowMirrored = 0;
  AnimationState m_arrow;
  uint8_t m_enabled = 1;
  // Tips whose object was missing, told once each.
  std::array<uint8_t, kTipCount> m_missingTold{};
  uint8_t m_documentTold = 0;
  // What the open tip points at: its table's tag, or for the bonus tip the event's.
  uint32_t m_openTarget = 0;
};

}  // namespace Game
