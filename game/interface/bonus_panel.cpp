// The bonus panel: bar, buttons and hint.
#include "game/interface/bonus_panel.h"

#include <algorithm>
#include <cmath>

#include "anim/anim_catalogue.h"
#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "files/file.h"
#include "files/ini.h"
#include "game/core/game_model.h"
#include "game/core/level_context.h"
#include "game/rules/bonus_controller.h"
#include "gfx/render.h"
#include "gfx/render_device.h"
#include "gfx/sprite.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "ui/wnd_create.h"

namespace Interface {
namespace {
constexpr const char* kButtonSection = "ActiveBonus";
constexpr int kHintGap = 10;     // between the hint's bottom and the button's top
constexpr int kHintMargin = 5;   // the hint never starts left of this
constexpr int kHitDrop = 5;      // the round picture sits a little below the window's centre
constexpr float kHintGoneAlpha = 10.0f;
}  // namespace

// ---- Layout ------------------------------------------------------------------------------------

int BonusSlotLayout::SlotX(int barX, int barWidth, int buttons, int k, float costFraction) {
  const int free = barWidth - kSlot * buttons;
  return barX + int(float(free) * costFraction) + kSlot * k;
}

float BonusSlotLayout::Fill(int barWidth, int buttons, float energyFraction, const std::vector<float>& costFractions) {
  if (barWidth <= 0) return 0.0f;
  const int free = barWidth - kSlot * buttons;
  int passed = 0;
  for (float c : costFractions) passed += c < energyFraction ? 1 : 0;
  const int filled = int(float(free) * energyFraction) + kSlot * passed;
  return std::clamp(float(filled) / float(barWidth), 0.0f, 1.0f);
}

// ---- Button ------------------------------------------------------------------------------------

UIBonusOnLevel::UIBonusOnLevel(int bonus, Game::cEventDispatcher* dispatcher)
    : m_bonus(std::clamp(bonus, 0, kBonusCount - 1)), m_dispatcher(dispatcher) {}

UIBonusOnLevel::~UIBonusOnLevel() = default;

void UIBonusOnLevel::Load(const char* file, const char* section) {
  UIWndSprite::Load(file, section);
  const char* name = kBonusNames[m_bonus];
  SetName(name);
  m_radius = std::max(1, iniGetInt(file, section, "radius", m_radius));
  auto anim = [&](const char* key) {
    const std::string id = iniGetString(file, name, key, "");
    return id.empty() ? AnimationState() : Core::animManager().GetAnimation(id);
  };
  m_base = anim("anim0");
  m_ring = anim("anim1");
  m_frame = anim("anim2");
  m_base.Start();
  m_frame.Start();
  // The frame's picture gives the button its size.
  if (m_frame.Width() > 0) SetSize(m_frame.Width(), m_frame.Height());
  else if (xs_ <= 0) SetSize(2 * m_radius, 2 * m_radius);
  m_glow = std::make_unique<FxManager::cSimplePyro>();
  m_glow->Load("BonusAvailable");
  m_burst = std::make_unique<FxManager::cSimplePyro>();
  m_burst->Load("BonusEnd");
}

void UIBonusOnLevel::CentreAt(int cx, int cy) {
  SetPos(cx - xs_ / 2, cy - ys_ / 2);
  if (m_glow) m_glow->SetPosition(float(cx), float(cy));
  if (m_burst) m_burst->SetPosition(float(cx), float(cy));
}

bool UIBonusOnLevel::HitTest(int x, int y) const {
  if (Hidden()) return false;
  const int dx = x - CentreX(), dy = y - (CentreY() + kHitDrop);
  return dx * dx + dy * dy <= m_radius * m_radius;
}

bool UIBonusOnLevel::Glowing() const { return m_glow && !m_glow->IsStopped(false); }

void UIBonusOnLevel::SetAvailable(bool on) {
  if (on == (m_available != 0)) return;
  m_available = on ? 1 : 0;
  if (!on) {
    if (m_glow) m_glow->Stop(false);
    return;
  }
  m_ring.Start();
  if (m_glow) {
    m_glow->SetPosition(float(CentreX()), float(CentreY()));
    m_glow->Start();
  }
  if (m_dispatcher) {
    GameEvent e;
    MakeEvent(e, Game::Event::PlayerBonusAvailable);
    e.index = m_bonus;
    e.x = CentreX();
    e.y = CentreY();
    Post(m_dispatcher, e);
  }
}

void UIBonusOnLevel::Burst() {
  ++m_endBursts;
  m_burstPlayed = 1;
  if (m_burst) {
    m_burst->SetPosition(float(CentreX()), float(CentreY()));
    m_burst->Start();
  }
}

void UIBonusOnLevel::SetRunning(float fraction) {
  if (fraction < 0.0f || m_available) {
    // A ring of one frame (or none) shows no progress, so its burst waits for the period's end.
    if (m_progressFrame >= 0 && !m_burstPlayed) Burst();
    m_progressFrame = -1;
    m_burstPlayed = 0;
    return;
  }
  const int frames = std::max(1, m_ring.FrameCount());
  const int frame = std::clamp(int(std::floor(fraction * float(frames))), 0, frames - 1);
  // Once per period, as the ring closes.
  if (frames > 1 && frame == frames - 1 && !m_burstPlayed) Burst();
  m_progressFrame = frame;
}

void UIBonusOnLevel::Activate() {
  if (sndIsInit()) sndPlayEx("BonusActivate", SND_SOUND, -1.0f, sndScreenPan(CentreX()), 1.0f);
}

int UIBonusOnLevel::Update(int dt) {
  if (Hidden()) return 0;
  m_base.Advance(dt);
  m_frame.Advance(dt);
  if (m_available) m_ring.Advance(dt);
  if (m_glow) m_glow->Update(float(dt));
  if (m_burst) m_burst->Update(float(dt));
  return UIWndSprite::Update(dt);
}

void UIBonusOnLevel::DrawAnim(const AnimationState& a, int frame, bool additive) const {
  if (!a.Sprite()) return;
  const float s = Scale();
  const float cx = float(CentreX()), cy = float(CentreY());
  // Mode word with byte 1 = 1: the animation's own mode; the second copy adds light instead.
  const uint32_t mode = additive ? kModeAdd : 0x100u;
  a.DrawRotated(cx, cy, 0.0f, mode, 15, colour_, s, 0, frame);
}

int UIBonusOnLevel::Draw() {
  if (Hidden()) return 0;
  DrawAnim(m_frame, -1, false);
  DrawAnim(m_base, -1, false);
  const int last = std::max(1, m_ring.FrameCount()) - 1;
  if (m_available) {
    DrawAnim(m_ring, last, false);
    if (state_ == Active || state_ == Press) DrawAnim(m_ring, last, true);
  } else if (m_progressFrame >= 0) {
    DrawAnim(m_ring, m_progressFrame, false);
  }
  if (m_glow) m_glow->Render();
  if (m_burst) m_burst->Render();
  return 0;
}

// ---- Hint --------------------------------------------------------------------------------------

UIBonusInfo::UIBonusInfo() {
  SetName("BonusInfo");
  SetHidden(true);
}

bool UIBonusInfo::Build(const char* file) {
  if (!fileExists(file)) {
    errorLog("%s: missing; the bonus buttons show no hint\n", file);
    return false;
  }
  m_file = file;
  Load(file, "Main");
  SetName("BonusInfo");
  m_text = wndCreate(file, "Text", this, true);
  SetHidden(true);
  return true;
}

void UIBonusInfo::ShowFor(const UIBonusOnLevel& b) {
  if (m_file.empty()) return;
  if (m_bonus != b.bonus() && m_text) m_text->SetCaption(iniGetWText(m_file.c_str(), b.Name(), "name", u""));
  m_bonus = b.bonus();
  const int x = std::max(kHintMargin, b.CentreX() - Width() / 2);
  const int y = b.Y() - kHintGap - Height();
  MoveBy(x - X(), y - Y());
  if (Hidden()) m_alpha = 0.0f;
  SetHidden(false);
  m_in = 1;
}

void UIBonusInfo::Leave() { m_in = 0; }

void UIBonusInfo::ResetNow() {
  m_in = 0;
  m_alpha = 0.0f;
  m_bonus = -1;
  SetHidden(true);
}

int UIBonusInfo::Update(int dt) {
  if (Hidden()) return 0;
  const float ms = float(std::max(dt, 0));
  if (m_in) {
    m_alpha = std::min(255.0f, m_alpha + 255.0f * ms / kFadeInMs);
  } else {
    m_alpha -= kFadeOutPerMs * ms;
    if (m_alpha < kHintGoneAlpha) {
      ResetNow();
      return 0;
    }
  }
  return UIWndSprite::Update(dt);
}

int UIBonusInfo::Draw() {
  if (Hidden()) return 0;
  SetAlpha(uint8_t(std::clamp(int(m_alpha), 0, 255)));
  return UIWndSprite::Draw();
}

// ---- Panel -------------------------------------------------------------------------------------

UIBonusInterface::UIBonusInterface() {
  SetName("BonusInterface");
  SetHidden(true);
}

UIBonusInterface::~UIBonusInterface() { sprRelease(m_barFill); }

bool UIBonusInterface::Build(const char* file) {
  if (!fileExists(file)) {
    errorLog("%s: missing; levels show no bonus panel\n", file);
    return false;
  }
  m_file = file;
  Load(file, "BonusInterface");
  SetName("BonusInterface");
  m_bar = wndCreate(file, "Bar", this);
  if (!m_bar) errorLog("%s: [Bar] has no \"type\"; the bonus buttons sit on a bar of the panel's size\n", file);
  const std::string fill = iniString(file, "Bar", "fill", "");
  if (!fill.empty() && grIsReady()) m_barFill = sprGet(fill.c_str());
  auto* hint = new UIBonusInfo();
  if (AddChild(hint) && hint->Build()) m_hint = hint;
  SetHidden(true);
  return true;
}

void UIBonusInterface::ClearButtons() {
  for (UIBonusOnLevel* b : m_buttons) RemoveChild(b);
  m_buttons.clear();
  m_pressed = m_hovered = nullptr;
  if (m_hint) m_hint->ResetNow();
}

UIBonusOnLevel* UIBonusInterface::ButtonOf(int bonus) const {
  for (UIBonusOnLevel* b : m_buttons)
    if (b->bonus() == bonus) return b;
  return nullptr;
}

void UIBonusInterface::LevelStart(Game::LevelContext* level) {
  ClearButtons();
  m_controller = level ? level->bonuses.get() : nullptr;
  m_dispatcher = level ? level->dispatcher.get() : nullptr;
  m_fill = 0.0f;
  SetHidden(true);
  if (m_file.empty() || !m_controller) return;
  std::vector<int> offered;
  for (int b = 0; b < kBonusCount && int(offered.size()) < kMaxButtons; ++b) {
    if (b == Game::kBonusTimeStop && level->gameMode == Game::kModeNoTime) continue;
    if (m_controller->Offered(b)) offered.push_back(b);
  }
  if (offered.empty()) return;
  std::stable_sort(offered.begin(), offered.end(),
                   [this](int a, int b) { return m_controller->Cost(a) < m_controller->Cost(b); });
  for (int b : offered) {
    auto* button = new UIBonusOnLevel(b, m_dispatcher);
    button->Load(m_file.c_str(), kButtonSection);
    if (AddChild(button)) m_buttons.push_back(button);
  }
  Layout();
  SetHidden(false);
  Refresh();
}

void UIBonusInterface::LevelEnd() {
  ClearButtons();
  m_controller = nullptr;
  m_dispatcher = nullptr;
  SetHidden(true);
}

void UIBonusInterface::ResetPointer() {
  for (UIBonusOnLevel* b : m_buttons)
    if (b->State() != Normal) b->SetState(Normal);
  m_pressed = m_hovered = nullptr;
  if (m_hint) m_hint->ResetNow();
}

void UIBonusInterface::Layout() {
  if (!m_controller) return;
  const int bx = m_bar ? m_bar->X() : X(), by = m_bar ? m_bar->Y() : Y();
  const int bw = m_bar ? m_bar->Width() : Width(), bh = m_bar ? m_bar->Height() : Height();
  const int n = int(m_buttons.size());
  for (int k = 0; k < n; ++k) {
    const int slot = BonusSlotLayout::SlotX(bx, bw, n, k, m_controller->CostFraction(m_buttons[k]->bonus()));
    m_buttons[k]->CentreAt(slot + BonusSlotLayout::kSlot / 2, by + bh / 2);
  }
}

void UIBonusInterface::Refresh() {
  if (!m_controller) return;
  std::vector<float> costs;
  for (UIBonusOnLevel* b : m_buttons) {
    const int i = b->bonus();
    b->SetAvailable(m_controller->IsAvailable(i));
    b->SetRunning(m_controller->PeriodRunning(i) ? m_controller->ActiveFraction(i) : -1.0f);
    costs.push_back(m_controller->CostFraction(i));
  }
  const int bw = m_bar ? m_bar->Width() : Width();
  m_fill = BonusSlotLayout::Fill(bw, int(m_buttons.size()), m_controller->EnergyFraction(), costs);
}

int UIBonusInterface::Update(int dt) {
  // The level went without telling the panel: its controller is gone with it.
  if (m_controller && (!Game::levelContext() || Game::levelContext()->bonuses.get() != m_controller)) LevelEnd();
  if (Hidden()) return 0;
  Refresh();
  return UIWnd::Update(dt);
}

void UIBonusInterface::DrawBoard() {
  if (Hidden()) return;
  // The plank (the panel's own picture), the trough (the bar window's), then the filled part of the
  // full bar over it.
  if (CSprite* plank = Image(Normal))
    grDrawSpriteEx(kModeAuto, 15, X(), Y(), Width(), Height(), plank, 0, 0, sprWidth(plank), sprHeight(plank),
                   0xFFFFFFFFu, 0);
  if (m_bar) m_bar->Draw();
  if (m_bar && m_barFill && m_fill > 0.0f) {
    const int sw = sprWidth(m_barFill), sh = sprHeight(m_barFill);
    const int w = int(float(m_bar->Width()) * m_fill);
    const int srcW = int(float(sw) * m_fill);
    if (w > 0 && srcW > 0)
      grDrawSpriteEx(kModeAuto, 15, m_bar->X(), m_bar->Y(), w, m_bar->Height(), m_barFill, 0, 0, srcW, sh,
                     0xFFFFFFFFu, 0);
  }
  for (UIBonusOnLevel* b : m_buttons) b->Draw();
  if (m_hint) m_hint->Draw();  // over the buttons
}

bool UIBonusInterface::HitTest(int x, int y) const {
  if (Hidden()) return false;
  for (UIBonusOnLevel* b : m_buttons)
    if (b->HitTest(x, y)) return true;
  return x >= X() && x < X() + Width() && y >= Y() && y < Y() + Height();
}

UIBonusOnLevel* UIBonusInterface::ButtonAt(int x, int y) const {
  for (UIBonusOnLevel* b : m_buttons)
    if (b->HitTest(x, y)) return b;
  return nullptr;
}

int UIBonusInterface::MouseMove(int, int value) {
  if (Hidden()) return 0;
  UIBonusOnLevel* over = ButtonAt(UIWndSprite::PosX(value), UIWndSprite::PosY(value));
  for (UIBonusOnLevel* b : m_buttons) {
    if (b == m_pressed) continue;  // a pressed button keeps its press until the release
    const int want = b == over ? Active : Normal;
    if (b->State() != want) b->SetState(want);
  }
  if (over != m_hovered) {
    m_hovered = over;
    if (m_hint) {
      if (over)
        m_hint->ShowFor(*over);
      else
        m_hint->Leave();
    }
  }
  return over ? 1 : 0;
}

int UIBonusInterface::KeyDown(int code, int value) {
  if (Hidden() || code != VK_LBUTTON_) return 0;
  UIBonusOnLevel* b = ButtonAt(UIWndSprite::PosX(value), UIWndSprite::PosY(value));
  if (!b) return HitTest(UIWndSprite::PosX(value), UIWndSprite::PosY(value)) ? 1 : 0;
  m_pressed = b;
  b->SetState(Press);
  return 1;
}

int UIBonusInterface::KeyUp(int code, int value) {
  if (code != VK_LBUTTON_ || !m_pressed) return 0;
  UIBonusOnLevel* b = m_pressed;
  m_pressed = nullptr;
  const bool inside = b->HitTest(UIWndSprite::PosX(value), UIWndSprite::PosY(value));
  b->SetState(inside ? Active : Normal);
  // An unavailable bonus does nothing; an available one fires and its button plays its activation.
  if (inside && m_controller && m_controller->Fire(b->bonus())) b->Activate();
  Refresh();
  return 1;
}

}  // namespace Interface
