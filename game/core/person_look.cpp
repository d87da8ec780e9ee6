// How a person looks: its animation table (one named animation per visible state and direction),
// the animation it shows now, and its drawing (trail, figure, bag, the route for debugging).
#include <algorithm>
#include <cmath>
#include <string>

#include "anim/anim_catalogue.h"
#include "anim/fx_simple_pyro.h"
#include "files/ini.h"
#include "files/name_hash.h"
#include "files/text.h"
#include "game/core/game_main.h"
#include "game/core/level_context.h"
#include "game/core/person.h"
#include "gfx/render.h"

namespace Map {
const char* const kPersonVisibleStateNames[kPersonVisibleStates] = {
    "", "stay", "move", "moveWithBag", "happy", "happy2", "repair", "build", "gather",
    "axe", "pick", "greetings", "chop", "stay2", "trade", "giveheart", "trade2"};

std::string cPerson::AnimationKey(int32_t visible, int32_t dir) {
  if (visible < 1 || visible >= kPersonVisibleStates || dir < 0 || dir > 7) return {};
  return std::string(kPersonVisibleStateNames[visible]) + "_anim" + char('0' + dir);
}

void cPerson::SetAnimationName(int32_t visible, int32_t dir, std::string_view name) {
  if (visible < 1 || visible >= kPersonVisibleStates || dir < 0 || dir > 7) return;
  const bool none = name.empty() || textEqualNoCase(name, "null");
  m_animTable[visible][dir] = none ? 0 : NameHash(name);
}

uint32_t cPerson::AnimationHash(int32_t visible, int32_t dir) const {
  if (visible < 0 || visible >= kPersonVisibleStates || dir < 0 || dir > 7) return 0;
  return m_animTable[visible][dir];
}

void cPerson::LoadAnimationTable(const gFileName& file, const char* section) {
  for (int32_t v = 1; v < kPersonVisibleStates; ++v)
    for (int32_t d = 0; d < 8; ++d) {
      const std::string key = AnimationKey(v, d);
      if (const char* name = iniGetString(file, section, key.c_str(), nullptr)) SetAnimationName(v, d, name);
    }
  PlayCurrent(false);
}

void cPerson::ShowState(int32_t visible) {
  visibleState = visible;
  m_fidgetTimer = -1;
  m_fidget = false;
  PlayCurrent(false);
}

void cPerson::PlayCurrent(bool keepPhase) {
  const uint32_t h = AnimationHash(visibleState == 1 && m_fidget ? 13 : visibleState, direction);
  if (keepPhase && h == m_animHash) return;
  const double phase = m_anim.IsValid() && m_anim.Period() > 0 ? double(m_anim.Time()) / m_anim.Period() : 0.0;
  m_animHash = h;
  m_anim = h ? Core::animManager().GetAnimationByHash(h) : AnimationState();
  if (m_anim.IsValid()) m_anim.Start(keepPhase ? int32_t(std::clamp(phase, 0.0, 1.0) * m_anim.Period()) : 0);
}

void cPerson::UpdateAnimation(int32_t ms) {
  cSubjectObject::UpdateAnimation(ms);
  if (m_anim.IsValid() && !m_anim.IsStopped() && m_anim.Advance(ms) && !m_anim.Has(AnimationState::kLoop)) m_anim.Stop();
}

float cPerson::Lift() const {
  const Game::LevelContext* level = Game::levelContext();
  if (!level || !level->map) return 0.0f;
  static const uint32_t kBrokenPath = NameHash("brokenPath");
  const IntPoint at{int32_t(x), int32_t(y)};
  for (size_t i = 0; i < level->map->Count(); ++i) {
    const cObject* o = level->map->At(i);
    if (o->typeHash != kBrokenPath) continue;
    const float cx = o->x + float(o->boundCentre.x), cy = o->y + float(o->boundCentre.y);
    if (std::abs(x - cx) <= float(o->boundHalfSize.x) && std::abs(y - cy) <= float(o->boundHalfSize.y))
      return o->GetHeightAt(at);
  }
  return 0.0f;
}

void cPerson::Draw(const DrawContext& dc) {
  const float lift = Lift();
  const float ax = x + dc.offsetX, ay = y - lift + dc.offsetY;
  if (m_trail && workEffect0) {
    workEffect0->SetPosition(ax, ay);
    workEffect0->Render();
  }
  // A visible state without animations draws nothing.
  if (visibleState > 0 && m_anim.IsValid())
    m_anim.DrawRotated(ax, ay, 0.0f, 0x100, 15, 0xFFFFFFFFu, scale, 0, -1);
  if (visibleState == 3 && workEffect1 && carriedItem) {
    workEffect1->SetPosition(ax, ay);
    workEffect1->Render();
  }
  if ((state == PersonState::Walking || state == PersonState::WalkingHome) &&
      testSetting(TestSwitch::Game_Map_Show_Path))
    DrawRoute(dc);
}

void cPerson::DrawRoute(const DrawContext& dc) const {
  // From where the person is to the end of its route.
  int px = int(x + dc.offsetX), py = int(y + dc.offsetY);
  for (size_t i = m_segment + 1; i < m_route.size(); ++i) {
    const int nx = int(float(m_route[i].x) + dc.offsetX), ny = int(float(m_route[i].y) + dc.offsetY);
    grLine(px, py, nx, ny, 0xFFFFFF40u);
    px = nx;
    py = ny;
  }
}
}  // namespace Map
