// The tips: which tip opens on which event by the tutorial stage, the tip's windows from the tip
// document, closing by OK, a click or the required object, and the bobbing arrow.
#include "game/core/tips.h"

#include <strings.h>

#include <cmath>
#include <string>

#include "anim/anim_catalogue.h"
#include "base/diag.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/level_context.h"
#include "game/interface/interface.h"
#include "game/objects/subject_object.h"
#include "platform/platform.h"
#include "ui/widget_switch.h"
#include "ui/wnd_create.h"

namespace Game {
namespace {
constexpr float kPi = 3.14159265f;

// The object each tip points at. The tip about a used bonus points at the bonus place its event
// names, so its row is empty.
constexpr const char* kTargets[cTips::kTipCount] = {
    "Food4", "Totem11", "", "", "OreGenerator1", "", "Bridge1_Top1", "", "FoodGenerator1", "Barn1", "WarriorHut1",
    "OreMine1", "", ""};

// The widgets of a tip, in the order they are made; "Text" is followed by the tip's number.
constexpr const char* kWidgets[] = {"Tips", "TipsBox", "TipsStr", "OK"};

// Arrow points pushed right of the point the document gives, by the resource the full hint is about.
constexpr int kOreShift = 110;
constexpr int kGoldShift = 220;

// Only the levels below this one have tutorial tips of their own.
constexpr int32_t kTutorialLevels = 48;

bool hasSection(const char* file, const std::string& section) {
  for (const std::string& s : iniSectionList(file))
    if (strcasecmp(s.c_str(), section.c_str()) == 0) return true;
  return false;
}

std::string numbered(const char* prefix, int tip) { return prefix + std::to_string(tip + 1); }

int unpackX(int value) { return int16_t(value & 0xFFFF); }
int unpackY(int value) { return int16_t(uint32_t(value) >> 16); }
}  // namespace

cTips::cTips(LevelContext* level) : m_level(level) {
  SetName("Tips");
  if (level) m_dispatcher = level->dispatcher.get();
  m_arrow = Core::animManager().GetAnimation(kArrowAnimation);
  if (m_arrow.IsValid()) {
    m_arrow.Start(0);
    m_wobbleTimer.SetFlags(PeriodTimer::kWrap);
  }
}

cTips::~cTips() = default;

void cTips::Detach() {
  m_level = nullptr;
  m_dispatcher = nullptr;
}

uint32_t cTips::TargetTag(int tip) { return NameHash(TargetName(tip)); }

const char* cTips::TargetName(int tip) { return tip >= 0 && tip < kTipCount ? kTargets[tip] : ""; }

uint32_t cTips::RequiredTag() const { return IsOpen() ? m_openTarget : 0; }

void cTips::SelectTips(int32_t level) {
  const PlayerProgress* p = playerProgress();
  if (!p) {
    m_enabled = 0;
    m_shown[kResourceFullTip] = m_shown[kGoldLostTip] = 1;
    return;
  }
  if (p->tipsOn && (testSetting(TestSwitch::Game_Tips_Always) ||
                    (level >= 1 && level < kTutorialLevels && !p->tipsShown[level - 1])))
    m_stage = level;
  if (!p->tipsOn || p->exactTips[kResourceFullTip]) m_shown[kResourceFullTip] = 1;
  if (!p->tipsOn || p->exactTips[kGoldLostTip]) m_shown[kGoldLostTip] = 1;
}

void cTips::MarkExactTip(int tip) {
  if (PlayerProgress* p = playerProgress(); p && tip >= 0 && tip < kProgressExactTips) p->exactTips[tip] = true;
}

// ---- Trigger rules ------------------------------------------------------------------------------

Map::cObject* cTips::Find(uint32_t tag) const {
  if (!tag || !m_level || !m_level->map) return nullptr;
  return m_level->map->FindByTag(tag);
}

bool cTips::Reachable(uint32_t tag) const {
  const Map::cObject* o = Find(tag);
  return o && m_level->workers && m_level->workers->CanReach(*o, 0);
}

bool cTips::Affordable(uint32_t tag) const {
  const auto* s = dynamic_cast<const Map::cSubjectObject*>(Find(tag));
  if (!s) return false;
  // A mended bridge still answers that it costs nothing, and one already ordered is no longer the
  // player's to click: only work it still offers can be afforded.
  if (!s->HasOperationOffer() || s->operation.state != Map::OperationState::Idle) return false;
  Map::ResourceVector gains{}, costs{}, next{};
  return s->GetOperationOffer(gains, costs, next);
}

bool cTips::Offer(int tip, uint32_t target) {
  if (Shown(tip)) return false;
  ShowTip(target, tip, 0, 0);
  return IsOpen() && m_tipIndex == tip;
}

bool cTips::StageRule(const GameEvent& e) {
  const int32_t code = e.code;
  const auto is = [code](Event ev) { return code == Code(ev); };
  // A tip that waits for its object to be reachable: a level without the object is told of once.
  const auto whenReachable = [this](int tip) {
    if (Shown(tip)) return false;
    const uint32_t tag = TargetTag(tip);
    if (Reachable(tag)) return Offer(tip, tag);
    Missing(tip, tag);
    return false;
  };
  switch (m_stage) {
    case 1:
      if (!is(Event::PersonBackHome)) return false;
      if (!Shown(0)) {
        const Map::cObject* food = Find(TargetTag(0));
        if (food && food->Has(Map::kFlagClickable)) return Offer(0, TargetTag(0));
        Missing(0, TargetTag(0));
        return false;
      }
      return whenReachable(1);
    case 2:
      if (is(Event::PersonBackHome)) return !Shown(2) ? Offer(2, 0) : whenReachable(4);
      if (is(Event::PlayerBonusAvailable)) return Offer(3, 0);
      if (is(Event::OperationFinished)) return uint32_t(e.tag) == TargetTag(4) && Offer(5, 0);
      if (is(Event::ResourcesPickedUp) || is(Event::ResourceAdded)) {
        if (Shown(6)) return false;
        const uint32_t bridge = TargetTag(6);
        if (Affordable(bridge) && Reachable(bridge)) return Offer(6, bridge);
        Missing(6, bridge);
      }
      return false;
    case 3:
      if (is(Event::BonusUsed)) return Offer(7, uint32_t(e.tag));
      return is(Event::PersonBackHome) && whenReachable(8);
    case 4: return is(Event::PersonBackHome) && Offer(9, TargetTag(9));
    case 6: return is(Event::PersonBackHome) && Offer(10, TargetTag(10));
    case 8: return is(Event::PersonBackHome) && whenReachable(11);
    default: return false;
  }
}

bool cTips::Missing(int tip, uint32_t tag) {
  if (tag == 0 || Find(tag)) return false;
  // A level without the object the tip is about: the tip would point at nothing.
  if (tip >= 0 && tip < kTipCount && !m_missingTold[size_t(tip)]) {
    m_missingTold[size_t(tip)] = 1;
    const int level = m_level ? int(m_level->levelNumber) : 0;
    if (const char* name = TargetName(tip); *name)
      errorLog("%s: level %d has no object tagged \"%s\" for [Tip%d]; the tip is not shown\n", kFile, level, name,
               tip + 1);
    else
      errorLog("%s: level %d has no object with the tag (hash %08x) [Tip%d] points at; the tip is not shown\n", kFile,
               level, unsigned(tag), tip + 1);
  }
  return true;
}

void cTips::ShowResourceFull(const GameEvent& e) {
  const int dx = e.index == 2 ? kOreShift : e.index == 3 ? kGoldShift : 0;
  ShowTip(0, kResourceFullTip, dx, 0);
  MarkExactTip(kResourceFullTip);
}

void cTips::ShowGoldLost() {
  int px = 0, py = 0;
  const Interface::UIInterface* ui = m_level && m_level->view ? m_level->view->interfaceWnd() : nullptr;
  if (!ui || !ui->GoldMarkPoint(px, py)) px = py = 0;
  ShowTip(0, kGoldLostTip, px, py);
  MarkExactTip(kGoldLostTip);
}

void cTips::OnEvent(GameEvent& e) {
  // Closing is never barred: tips switched off while one is open must not leave it standing.
  if (e.code == Code(Event::SubjectClicked) && IsOpen() && m_openTarget != 0 && uint32_t(e.tag) == m_openTarget) {
    CloseTip();
    return;
  }
  if (e.code == Code(Event::GamePlayFinished) && IsOpen()) {
    // The level is over: the tip goes without a word, and the switch is not read.
    RemoveWidgets();
    m_tipIndex = kNoTip;
    m_openTarget = 0;
    m_requireClick = 0;
    m_arrowShown = 0;
    SetArrowAngle(0);
    return;
  }
  if (!m_enabled || StageRule(e)) return;
  if (e.code == Code(Event::ResourceAtMaximum) && !Shown(kResourceFullTip))
    ShowResourceFull(e);
  else if (e.code == Code(Event::ThirdStarLost) && !Shown(kGoldLostTip))
    ShowGoldLost();
}

// ---- Opening and closing ------------------------------------------------------------------------

void cTips::ShowTip(uint32_t targetTag, int tip, int dx, int dy) {
  if (tip < 0 || tip >= kTipCount) return;
  // What cannot be shown leaves an open tip alone.
  if (!hasSection(kFile, "Main")) {
    if (!m_documentTold) errorLog("%s: no section [Main]; no tip can be shown\n", kFile);
    m_documentTold = 1;
    return;
  }
  if (Missing(tip, targetTag)) return;
  if (IsOpen()) CloseTip();
  if (!m_enabled) return;
  Map::cObject* target = Find(targetTag);
  LoadTip(tip);
  m_openTarget = targetTag;
  if (target) {
    const int x = int(target->x), y = int(target->y), hx = target->boundHalfSize.x;
    m_arrowY = y;
    if (x >= kScreenMiddle) {
      m_arrowX = x - hx - kArrowGap;
      SetArrowAngle(180);
    } else {
      m_arrowX = x + hx + kArrowGap;
    }
    m_arrowShown = 1;
  }
  m_arrowX += dx;
  m_arrowY += dy;
  GameEvent e;
  MakeEvent(e, Event::TipShown);
  PostTipEvent(e);
}

void cTips::LoadTip(int tip) {
  if (tip < 0 || tip >= kTipCount) return;
  RemoveWidgets();
  m_tipIndex = tip;
  m_openTarget = 0;
  m_shown[size_t(tip)] = 1;
  Load(kFile, "Main");
  SetName("Tips");  // the window is the tips, whatever its section is called
  for (const char* name : kWidgets) wndCreate(kFile, name, this, true);
  const std::string text = numbered("Text", tip);
  if (!hasSection(kFile, text)) errorLog("%s: no section [%s]; tip %d shows no text\n", kFile, text.c_str(), tip + 1);
  wndCreate(kFile, text.c_str(), this, true);
  wndCreate(kFile, "Back", this, true);
  if (auto* sw = dynamic_cast<UISwitchBase*>(FindChild("Tips"))) sw->SetCurrent(0);
  // Nothing is pointed at before the mouse moves over the box.
  active_ = -1;

  const std::string section = numbered("Tip", tip);
  const char* s = section.c_str();
  m_requireClick = iniGetInt(kFile, s, "MustClickOnObject", 0) != 0 ? 1 : 0;
  if (m_requireClick)
    if (UIWnd* ok = FindChild("OK")) ok->SetHidden(true);
  const int x = iniGetInt(kFile, s, "x", 0), y = iniGetInt(kFile, s, "y", 0);
  if (UIWnd* back = Box(); back && x != 0 && y != 0) {
    const int dx = x - back->X(), dy = y - back->Y();
    for (int i = 0; i < childCount_; ++i) children_[i]->MoveBy(dx, dy);
  }
  if (iniGetInt(kFile, s, "isArrow", 0) != 0) {
    m_arrowX = iniGetInt(kFile, s, "arrowX", 0);
    m_arrowY = iniGetInt(kFile, s, "arrowY", 0);
    SetArrowAngle(iniGetInt(kFile, s, "angle", 0));
    m_arrowShown = 1;
  }
}

void cTips::CloseTip() {
  m_requireClick = 0;
  if (!IsOpen()) return;
  // The switch's first option keeps the tips on; a tip without the switch cannot turn them off.
  if (const auto* sw = dynamic_cast<const UISwitchBase*>(FindChild("Tips")); sw && sw->OptionCount() > 0)
    m_enabled = sw->Current() == 0 ? 1 : 0;
  RemoveWidgets();
  const int closed = m_tipIndex;
  m_tipIndex = kNoTip;
  m_openTarget = 0;
  m_arrowShown = 0;
  SetArrowAngle(0);
  GameEvent e;
  MakeEvent(e, Event::TipClosed);
  e.value = closed;
  e.value2 = m_enabled ? 0 : 1;
  PostTipEvent(e);
}

void cTips::RemoveWidgets() {
  while (childCount_ > 0) RemoveChild(children_[childCount_ - 1]);
  active_ = -1;
}

void cTips::PostTipEvent(GameEvent& e) {
  if (m_dispatcher) Post(m_dispatcher, e);
}

void cTips::SetArrowAngle(int degrees) {
  int a = degrees;
  if (a < 0) a += 360;
  else if (a > 360) a -= 360;
  m_arrowAngle = float(a) * kPi / 180.0f;
  // Turned past the vertical the picture would hang upside down; the given angle decides.
  m_arrowMirrored = degrees >= 46 && degrees <= 224 ? 1 : 0;
  m_arrow.SetFlag(AnimationState::kFlipY, m_arrowMirrored != 0);
}

// ---- Input, update, drawing ---------------------------------------------------------------------

int cTips::KeyDown(int code, int value) {
  if (!IsOpen() || (code != VK_LBUTTON_ && code != VK_RBUTTON_)) return 0;
  const UIWnd* box = Box();
  if (box && box->HitTest(unpackX(value), unpackY(value))) {
    UIWnd::KeyDown(code, value);
    return 1;
  }
  if (m_requireClick && m_openTarget != 0) return 0;
  CloseTip();
  return 1;
}

int cTips::KeyUp(int code, int value) {
  if (!IsOpen() || (code != VK_LBUTTON_ && code != VK_RBUTTON_)) return 0;
  const UIWnd* box = Box();
  const bool inside = box && box->HitTest(unpackX(value), unpackY(value));
  UIWnd::KeyUp(code, value);  // may close the tip (OK)
  return inside ? 1 : 0;
}

int cTips::MouseMove(int buttons, int value) {
  if (!IsOpen()) return 0;
  TrackMouse(value);
  return UIWnd::MouseMove(buttons, value);
}

int cTips::OnCommand(UIWnd* source) {
  if (source && strcasecmp(source->Name(), "OK") == 0) CloseTip();
  return UIWnd::OnCommand(source);
}

int cTips::Update(int dt) {
  if (m_arrow.IsValid()) {
    if (m_wobbleTimer.Advance(dt)) m_wobble = 0.0f;
    else m_wobble += kWobbleSpeed * float(dt > 0 ? dt : 0);
    m_arrow.Advance(dt);
  }
  return UIWnd::Update(dt);
}

float cTips::ArrowOffset() const { return std::fabs(kAmplitude * std::sin(m_wobble)); }
float cTips::ArrowDrawX() const { return float(m_arrowX) + ArrowOffset() * std::cos(m_arrowAngle); }
float cTips::ArrowDrawY() const { return float(m_arrowY) - ArrowOffset() * std::sin(m_arrowAngle); }

int cTips::Draw() {
  if (!IsOpen()) return 0;
  // Byte 1 of the mode set to 1: the animation's own blend mode.
  if (m_arrowShown && m_arrow.IsValid())
    m_arrow.DrawRotated(ArrowDrawX(), ArrowDrawY(), m_arrowAngle, 0x100u, 15, 0xFFFFFFFFu, 1.0f, 0, -1);
  return UIWnd::Draw();
}

}  // namespace Game
