// The upgrade tablet and the trumpets.
#include "game/interface/icon_upgrade.h"

#include <string>

#include "anim/fx_simple_pyro.h"
#include "files/ini.h"
#include "game/core/event_codes.h"
#include "game/core/level_context.h"
#include "game/core/map.h"
#include "game/core/random.h"
#include "game/core/workers.h"
#include "game/objects/barn.h"
#include "game/objects/building.h"
#include "gfx/font.h"
#include "gfx/render.h"
#include "gfx/sprite.h"
#include "ui/widget_sprite.h"

namespace Icon {
namespace {
constexpr uint32_t kNumberInk = grColor(60, 36, 16);
}  // namespace

cUpgradeLevel::cUpgradeLevel() { Set(Map::kFlagClickable, true); }

cUpgradeLevel::~cUpgradeLevel() { sprRelease(m_font); }

bool cUpgradeLevel::LoadIni(const gFileName& file, const char* section) {
  if (!Map::cIcon::LoadIni(file, section)) return false;
  isForBarn = iniGetInt(file, section, "isForBarn", 0) != 0 ? 1 : 0;
  return true;
}

void cUpgradeLevel::OnAdded(Map::cMap& map) {
  Map::cIcon::OnAdded(map);
  Set(Map::kFlagClickable, true);
}

Map::cBuilding* cUpgradeLevel::Building() const { return dynamic_cast<Map::cBuilding*>(Parent()); }

void cUpgradeLevel::Refresh() {
  if (isForBarn) {
    Game::LevelContext* c = Game::levelContext();
    const int32_t workers = c && c->workers ? c->workers->CountKind(0) : 0;
    m_number = workers > 0 ? workers - 1 : 0;
    return;
  }
  if (const Map::cBuilding* b = Building()) m_number = b->upgradeLevel;
}

void cUpgradeLevel::OnMapReady() {
  Place();
  Refresh();
}

bool cUpgradeLevel::UpdateTimers(int32_t ms) {
  const bool remove = Map::cIcon::UpdateTimers(ms);
  if (isForBarn) Refresh();
  return remove;
}

void cUpgradeLevel::Place() {
  const Map::cBuilding* b = Building();
  if (!b) return;
  Map::IntPoint off = b->upgradeTabletOffset;
  // The barn places its tablet with its other icons; it does so itself, and this gives the same
  // point whichever of the two runs last.
  if (const auto* barn = dynamic_cast<const Map::cBarn*>(b); barn && (barn->iconsOffset.x || barn->iconsOffset.y))
    off = barn->iconsOffset;
  // Neither set: where the child script put it (the barn has moved it onto its own anchor).
  if (off.x == 0 && off.y == 0) off = m_scriptOffset;
  SetAnchor({int32_t(b->x) + off.x, int32_t(b->y) + off.y});
}

void cUpgradeLevel::OnEvent(GameEvent& e) {
  Map::cIcon::OnEvent(e);
  if (e.code == int32_t(Game::Event::BuildingLevelReached) && e.objectId == parentId && parentId != Map::kNoId)
    Refresh();
}

bool cUpgradeLevel::Click(bool) {
  Map::cBuilding* b = Building();
  if (!b || !b->CanUpgrade(false) || !b->HasPathForPersons()) return false;
  if (!b->ClickUpgradeTablet()) return false;
  // The order is the building's: it goes into the queue under the building's id, and the tablet
  // answers false so that the click is not queued a second time under its own.
  Game::LevelContext* c = Game::levelContext();
  if (c && c->queue) c->queue->Enqueue(b->id, false);
  m_ordered = true;
  return false;
}

bool cUpgradeLevel::HoverEnter() {
  if (Map::cBuilding* b = Building(); b && b->CanUpgrade(false)) b->ShowChild("upgradeHint", true);
  return true;
}

void cUpgradeLevel::HoverLeave() {
  if (Map::cBuilding* b = Building()) b->ShowChild("upgradeHint", false);
}

void cUpgradeLevel::Draw(const Map::DrawContext& dc) {
  if (Has(Map::kFlagHidden) || ParentHidden()) return;
  Map::cIcon::Draw(dc);
  if (!m_fontAsked && grIsReady()) {
    m_fontAsked = true;
    m_font = sprGetFont(iniString("data/hint/hintResources.ini", "Tablet", "font", "TextFont").c_str());
  }
  const std::string n = std::to_string(m_number);
  const int px = int(x + dc.offsetX), py = int(y + dc.offsetY);
  const uint32_t ink = (kNumberInk & 0x00FFFFFFu) | (uint32_t(dc.alpha) << 24);
  if (m_font)
    fontDrawTextUtf8(UIWndSprite::ModeFor(ink), 15, 1.0f, 1.0f, m_font, float(px), py, n.c_str(), 0, 0, 0, ink);
  else
    grTextOut(px - 4 * int(n.size()), py - 8, n.c_str(), ink);
}

void cUpgradeLevel::CopyFrom(const Map::cObject& from) {
  Map::cIcon::CopyFrom(from);
  if (const auto* t = dynamic_cast<const cUpgradeLevel*>(&from)) isForBarn = t->isForBarn;
  // A child is cloned from its template, whose place is its offset from the parent.
  m_scriptOffset = {int32_t(from.x), int32_t(from.y)};
  m_number = 0;
  Set(Map::kFlagClickable, true);
}

cUpgradeTrumpets::cUpgradeTrumpets() = default;
cUpgradeTrumpets::~cUpgradeTrumpets() = default;

void cUpgradeTrumpets::SetHidden(bool hidden) {
  const bool wasHidden = Has(Map::kFlagHidden);
  Map::cIcon::SetHidden(hidden);
  if (hidden || !wasHidden) return;
  const Map::cObject* p = Parent();
  const float px = p ? p->x : x, py = p ? p->y : y;
  // The offsets are drawn from the logged generator so a replay places the effect alike.
  m_fxX = px + RandomPeriodF(-kSpread, kSpread);
  m_fxY = py + RandomPeriodF(-kSpread, kSpread);
  if (!m_effect) {
    m_effect = std::make_unique<FxManager::cSimplePyro>();
    m_effect->Load(kEffect);
  }
  m_effect->SetPosition(m_fxX, m_fxY);
  m_effect->Start();
  ++m_plays;
}

bool cUpgradeTrumpets::UpdateTimers(int32_t ms) {
  const bool remove = Map::cIcon::UpdateTimers(ms);
  if (m_effect && ms > 0) m_effect->Update(float(ms));
  return remove;
}

void cUpgradeTrumpets::Draw(const Map::DrawContext& dc) {
  if (Has(Map::kFlagHidden)) return;
  Map::cIcon::Draw(dc);
  if (m_effect) m_effect->Render();
}

void cUpgradeTrumpets::CopyFrom(const Map::cObject& from) {
  Map::cIcon::CopyFrom(from);
  m_effect.reset();
  m_plays = 0;
}
}  // namespace Icon
