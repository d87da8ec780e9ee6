// The shower cycle of rain and snow: waiting, starting, fading the screen, ending, the held rain
// sound, and the definition keys in both map forms.
#include "game/objects/fx_weather.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "anim/fx_simple_pyro.h"
#include "base/diag.h"
#include "game/core/game_main.h"
#include "game/core/random.h"
#include "game/objects/fx_register.h"
#include "game/objects/object_level.h"
#include "gfx/render.h"
#include "sound/sound.h"

namespace Fx {
namespace {
constexpr size_t kFadePeriod = 0, kDarkOpacity = 1, kPeriod = 2, kStartMin = 3, kStartMax = 4;
constexpr const char* kRainSound = "Rain";

const cShower::Kind kRainKind{"Rain", "rain", 0.2f, 0x000000u, Game::Event::RainStarts, Game::Event::RainStops,
                              10000, true, false};
const cShower::Kind kSnowKind{"SnowOnMap", "snow", 0.33f, 0xFFFFFFu, Game::Event::SnowStarts,
                              Game::Event::SnowStops, 100000, false, true};
}  // namespace

cShower::cShower(const Kind& kind) : m_kind(kind), m_fadePeriod(kind.defaultFade) {
  layer = kLayer;
  Set(Map::kFlagClickable, false);
  m_effect = std::make_unique<FxManager::cSimplePyro>();
  m_effect->Load(kind.effect);
  m_effect->SetPosition(kEffectX, kEffectY);
}

cShower::~cShower() { ReleaseSound(); }

cRain::cRain() : cShower(kRainKind) {}

cSnow::cSnow() : cShower(kSnowKind) { Set(Map::kFlagHidden, true); }

bool cShower::TestRain() const { return testSetting(TestSwitch::Game_Rain) != 0; }

void cShower::ApplyRecord(const MapObjectRecord& r) {
  cObject::ApplyRecord(r);
  const std::string where = fxOrigin(name);
  const char* n = where.c_str();
  m_fadePeriod = Map::extFloat(r, kFadePeriod);
  if (!std::isfinite(m_fadePeriod) || m_fadePeriod < 0.0f) {
    errorLog("%s (fx %s): fadePeriod %g is not a share of the shower, using %g\n", n, m_kind.family,
             double(m_fadePeriod), double(m_kind.defaultFade));
    m_fadePeriod = 0.0f;
  }
  if (m_fadePeriod == 0.0f) m_fadePeriod = m_kind.defaultFade;
  m_darkOpacity = Map::extInt(r, kDarkOpacity);
  if (m_darkOpacity == 0) m_darkOpacity = kDefaultDarkOpacity;
  if (m_darkOpacity < 1 || m_darkOpacity > 255) {
    const int32_t fixed = std::clamp(m_darkOpacity, 1, 255);
    errorLog("%s (fx %s): darkOpacity %d is outside 1..255, using %d\n", n, m_kind.family,
             int(m_darkOpacity), int(fixed));
    m_darkOpacity = fixed;
  }
  m_period = Map::extInt(r, kPeriod);
  m_startMin = Map::extInt(r, kStartMin);
  m_startMax = Map::extInt(r, kStartMax);
  if (m_period <= 0)
    errorLog("%s (fx %s): period %d, no shower will come\n", n, m_kind.family, int(m_period));
  // The level cannot move the weather out of its place above everything else, nor make it a target.
  layer = kLayer;
  Set(Map::kFlagClickable, false);
}

void cShower::FillRecord(MapObjectRecord& r) const {
  cObject::FillRecord(r);
  Map::setExtFloat(r, kFadePeriod, m_fadePeriod);
  Map::setExtInt(r, kDarkOpacity, m_darkOpacity);
  Map::setExtInt(r, kPeriod, m_period);
  Map::setExtInt(r, kStartMin, m_startMin);
  Map::setExtInt(r, kStartMax, m_startMax);
}

void cShower::CopyFrom(const cObject& from) {
  cObject::CopyFrom(from);
  const auto* o = dynamic_cast<const cShower*>(&from);
  if (!o || &o->m_kind != &m_kind) return;
  m_fadePeriod = o->m_fadePeriod;
  m_darkOpacity = o->m_darkOpacity;
  m_period = o->m_period;
  m_startMin = o->m_startMin;
  m_startMax = o->m_startMax;
  layer = kLayer;
}

void cShower::Wait() {
  if (m_period <= 0) {
    // Nothing to wait for: a shower of no length would only flicker and post its events.
    m_showerTimer.Stop();
    return;
  }
  m_showerTimer.SetPeriod(RandomPeriod(m_startMin, m_startMax));
  m_showerTimer.Restart();
}

void cShower::ResolveParent(const Map::cMap& map) {
  cObject::ResolveParent(map);
  if (TestRain()) {
    StartShower(m_kind.testDuration);
    return;
  }
  Wait();
  Set(Map::kFlagHidden, true);
}

void cShower::HoldSound() {
  if (!sndIsInit()) return;
  // A shower that starts while the last one still fades keeps its sound rather than taking a
  // second one and losing the first, which would loop on for good.
  if (!m_sound) {
    m_sound = sndGet(kRainSound, SND_SOUND);
    if (!m_sound) return;
    sndHold(m_sound);
  }
  if (!sndIsPlaying(m_sound)) {
    sndSetVolume(m_sound, m_darkness.Value() / float(m_darkOpacity));
    sndStart(m_sound, 1);
  }
}

void cShower::ReleaseSound() {
  if (!m_sound) return;
  if (sndIsInit()) {
    sndStop(m_sound);
    sndRelease(m_sound);
    sndUnhold(m_sound);
  }
  m_sound = nullptr;
}

void cShower::StartShower(int32_t duration) {
  m_running = true;
  Set(Map::kFlagHidden, false);
  m_effect->SetPosition(kEffectX, kEffectY);
  m_effect->Start();
  m_showerTimer.SetPeriod(duration);
  m_showerTimer.Restart();
  // A share beyond all reason still gives a fade the timer can count.
  m_fadeMs = int32_t(std::min(double(m_fadePeriod) * double(duration), double(INT32_MAX)));
  // From the darkness there is: 0 after a quiet wait, more when the last shower still fades.
  m_darkness.Set(m_fadeMs, m_darkness.Value(), float(m_darkOpacity));
  if (m_kind.sound) HoldSound();
  GameEvent e;
  MakeEvent(e, m_kind.starts);
  if (m_kind.durationInEvent) e.value = duration;
  Map::objPost(e);
}

void cShower::EndShower() {
  m_running = false;
  m_effect->Stop(false);
  GameEvent e;
  MakeEvent(e, m_kind.stops);
  Map::objPost(e);
  m_darkness.Set(m_fadeMs, m_darkness.Value(), 0.0f);
  if (TestRain())
    StartShower(m_kind.testDuration);
  else
    Wait();
}

bool cShower::UpdateTimers(int32_t ms) {
  cObject::UpdateTimers(ms);
  const bool shown = !Has(Map::kFlagHidden);
  if (m_showerTimer.Advance(ms)) {
    if (m_running)
      EndShower();
    else if (m_period > 0)
      StartShower(m_period);
  }
  if (shown) m_darkness.Advance(ms);
  return false;
}

void cShower::UpdateAnimation(int32_t ms) {
  m_effect->Update(float(ms));
  // Hidden once the shower is over and both its particles and its darkness have gone: an effect
  // that burns out early (or has nothing to draw) does not cut the shower short.
  if (!m_running && !Has(Map::kFlagHidden) && m_effect->IsStopped(true) && m_darkness.IsStopped()) {
    Set(Map::kFlagHidden, true);
    ReleaseSound();
  }
  if (m_sound && sndIsInit()) sndSetVolume(m_sound, m_darkness.Value() / float(m_darkOpacity));
}

int cShower::FillAlpha() const {
  const float d = m_darkness.Value();
  if (!(d > 0.0f)) return 0;
  return d >= 256.0f ? 255 : std::min(int(d), 255);
}

uint32_t cShower::FillColour() const { return (uint32_t(FillAlpha()) << 24) | m_kind.rgb; }

void cShower::Draw(const Map::DrawContext& dc) {
  if (Has(Map::kFlagHidden)) return;
  m_effect->SetPosition(kEffectX + dc.offsetX, kEffectY + dc.offsetY);
  m_effect->Render();
  m_effect->SetPosition(kEffectX, kEffectY);
  grFillRect(0, 0, kLogicalWidth, kLogicalHeight, FillColour());
}

}  // namespace Fx
