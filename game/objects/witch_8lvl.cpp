// The fire witch: she flies in and lights the level's fires in two volleys of fireballs, laughs and
// leaves. Each volley names its four fires by tag once it lands.
#include <algorithm>
#include <string>

#include "anim/fx_bezier_pyro.h"
#include "game/objects/witch_scene.h"

namespace Map {

namespace {
constexpr int kMove = 0, kCast = 1, kCastAgain = 2, kLaugh = 3;

struct Volley {
  float tx, ty;
  int fires[4];
};
constexpr Volley kVolleyPlan[cWitch_8lvl::kVolleys] = {{590.0f, 639.0f, {3, 4, 5, 8}}, {688.0f, 534.0f, {1, 2, 6, 7}}};

std::string fireTag(int n) { return "Fire" + std::to_string(n); }
}  // namespace

cWitch_8lvl::cWitch_8lvl() {
  SetLooks({"FlyingWitch_move", "FlyingWitch_cast8", "FlyingWitch_cast8a", "FlyingWitch_laugh"});
  AddEffect("WitchAreaSpell");
  AddEffect("WitchAirTrail");
  for (int v = 0; v < kVolleys; ++v) AddEffect("WitchFireball", true);
}

void cWitch_8lvl::ResolveParent(const cMap& map) {
  cObject::ResolveParent(map);
  LoadTrack("Witch_8lvl");
  PlaySlot(kMove);
  StartEffectAt(kAirTrail, x, y);
  StartEffectAt(kAreaSpell, x, y);
  for (const Volley& v : kVolleyPlan)
    for (int n : v.fires) FindTarget(fireTag(n));  // every missing fire is told once, up front
  Cue(0);
  GoTo(0, kStartMs);
}

void cWitch_8lvl::Throw(int volley) {
  const Volley& v = kVolleyPlan[volley];
  const FxManager::BezierPoint path[2] = {{0, 0, x, y}, {(x + v.tx) * 0.5f, std::min(y, v.ty) - 120.0f, v.tx, v.ty}};
  FxManager::cBezierPyro* ball = Flying(kVolley + size_t(volley));
  ball->SetPath(path, 2);
  ball->SetDuration(float(kFlightMs));
  ball->Start();
  m_volley = volley;
  m_volleyFlying = true;
  m_flight.SetPeriod(kFlightMs);
  m_flight.Restart();
}

void cWitch_8lvl::OnStageEnd() {
  switch (stage) {
    case 0:
      GoTo(1, SlotPeriod(kCast));
      PlaySlot(kCast);
      Throw(0);
      break;
    case 1:
      GoTo(2, kFlightMs);
      PlaySlot(kMove);
      break;
    case 2:
      GoTo(3, SlotPeriod(kCastAgain));
      PlaySlot(kCastAgain);
      Throw(1);
      break;
    case 3:
      GoTo(4, kFlightMs);
      PlaySlot(kMove);
      break;
    case 4:
      GoTo(5, SlotPeriod(kLaugh));
      PlaySlot(kLaugh);
      StopEffect(kAreaSpell);
      Cue(1);
      break;
    case 5:
      GoTo(6, kFarewellMs);
      PlaySlot(kMove);
      StopEffect(kAirTrail);
      Cue(2);
      break;
    default:
      stageTimer.Stop();
      Kill();
      break;
  }
}

void cWitch_8lvl::UpdateSceneTimers(int32_t ms) {
  if (!m_flight.Advance(ms) || m_volley < 0) return;
  m_volleyFlying = false;
  for (int n : kVolleyPlan[m_volley].fires) NameTarget(fireTag(n));
  StopEffect(kVolley + size_t(m_volley));
}

}  // namespace Map
