// The fog of war: opacities, fog areas opening and closing as waves, the last fade, and the
// questions other objects ask.
#include "game/core/fog.h"

#include <algorithm>
#include <cmath>

#include "files/file.h"
#include "game/core/level_context.h"
#include "game/core/level_files.h"
#include "game/core/map.h"
#include "game/core/map_tail.h"
#include "game/objects/building.h"
#include "game/objects/subject_object.h"
#include "gfx/sprite.h"

namespace Map {
namespace {
constexpr uint32_t kBlack = 0x00000000u;
constexpr uint32_t kWhite = 0x00FFFFFFu;
constexpr float kFadeFactor = 0.95f;
// Vertices of an ellipse's inner part (u below this) are fully cleared or fully fogged.
constexpr float kInnerPart = 0.2f;
// Rows and columns looked at around a centre beyond the larger radius, in pixels.
constexpr int kEllipseMargin = 50;

cFog* g_standIn = nullptr;

// The grey picture as the sprite library finds it: the name given, else the same name as PNG, JPEG
// or TGA. Empty when there is none, so a level without one asks the library for nothing.
std::string existingPicture(const std::string& name) {
  if (name.empty()) return {};
  if (fileExists(name.c_str())) return name;
  for (const char* ext : {"png", "jpg", "tga"}) {
    const std::string other = fileChangeExt(name, ext);
    if (other != name && fileExists(other.c_str())) return other;
  }
  return {};
}

inline size_t at(int row, int column) { return size_t(row) * size_t(cFog::kColumns) + size_t(column); }
inline uint8_t alphaOf(uint32_t c) { return uint8_t(c >> 24); }
inline uint32_t withAlpha(uint32_t c, int a) { return (c & 0x00FFFFFFu) | (uint32_t(std::clamp(a, 0, 255)) << 24); }

// The opacity an ellipse leaves on a vertex at normalized distance u (below 1).
int revealTarget(float u) {
  if (u < kInnerPart) return 0;
  const float f = std::clamp(0.9f * 1.25f * (u - kInnerPart), 0.0f, 1.0f);
  return int(f * 255.0f);
}
int closeTarget(float u) {
  if (u < kInnerPart) return 255;
  const float f = std::clamp(0.9f * 1.25f * (u - kInnerPart), 0.0f, 1.0f);
  return int((1.0f - f) * 255.0f);
}
}  // namespace

// ---- FogRamp -------------------------------------------------------------------------------------

void FogRamp::Start(float from, float to, int32_t periodMs) {
  start = value = from;
  target = to;
  period = std::max<int32_t>(periodMs, 1);
  step = (to - from) / float(period);
  elapsed = 0;
  running = true;
}

bool FogRamp::Advance(int32_t ms) {
  if (!running) return false;
  elapsed += std::max<int32_t>(ms, 0);
  if (elapsed >= period) {
    value = target;
    running = false;
    return true;
  }
  value = start + step * float(elapsed);
  return false;
}

// ---- cFog ----------------------------------------------------------------------------------------

cFog::cFog() {
  id = kFogObjectId;
  layer = kFogLayer;
  // Neither clickable nor ever destroyed by the map that holds it: the level's context owns it.
  flags = kFlagCreated;
  typeName = "fog";
  Reset(kBlack);
}

cFog::~cFog() {
  if (m_grey) sprRelease(m_grey);
}

void cFog::Reset(uint32_t colour) {
  m_upper.assign(size_t(kRows) * kColumns, withAlpha(colour, 255));
  m_lower.assign(size_t(kRows) * kColumns, withAlpha(colour, 255));
  m_openedCount = 0;
  m_allOpened = 0;
  m_fading = 0;
  m_waves.clear();
}

void cFog::LoadLevelFog(int32_t levelNumber, const MapFog* opacities) {
  LoadLevelFog(levelGrayPath(levelNumber), levelGrayAlphaPath(levelNumber), opacities);
}

void cFog::LoadLevelFog(const std::string& grayPath, const std::string& grayAlphaPath, const MapFog* opacities) {
  if (m_grey) sprRelease(m_grey);
  m_grey = nullptr;
  // A level without the grey picture draws its fog untextured; asking the sprite library for a
  // missing file would only fill gerr.log.
  const std::string picture = existingPicture(grayPath);
  if (!picture.empty()) {
    const bool alpha = !grayAlphaPath.empty() && fileExists(grayAlphaPath.c_str());
    m_grey = sprGet(picture.c_str(), alpha ? grayAlphaPath.c_str() : nullptr);
  }
  Reset(kWhite);
  if (!opacities) return;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c) {
      // The block is checked at reading; a value outside 0..1 here still only clamps.
      auto level = [](float v) { return std::isfinite(v) ? int(std::clamp(v, 0.0f, 1.0f) * 255.0f) : 255; };
      m_upper[at(r, c)] = withAlpha(kWhite, level(opacities->alpha[r][c][0]));
      m_lower[at(r, c)] = withAlpha(kWhite, level(opacities->alpha[r][c][1]));
    }
}

uint8_t cFog::Alpha(int row, int column, bool lower) const {
  if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return 255;
  return alphaOf((lower ? m_lower : m_upper)[at(row, column)]);
}

void cFog::SetAlpha(int row, int column, bool lower, uint8_t alpha) {
  if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return;
  uint32_t& c = (lower ? m_lower : m_upper)[at(row, column)];
  c = withAlpha(c, alpha);
}

bool cFog::IsFogged(int32_t x, int32_t y) const {
  if (x < 0 || y < 0) return true;
  const int column = x / kFogCell, row = y / kFogCell;
  if (row >= kRows || column >= kColumns) return true;
  return 255 - int(Alpha(row, column, false)) < kFogClearMargin;
}

void cFog::ApplyEllipse(IntPoint centre, float radiusX, float radiusY, bool reveal) {
  // A zero radius (an area without one, or a wave at its very start) has no inside: nothing to
  // open or close, and no division by it.
  if (!(radiusX >= 1.0f) || !(radiusY >= 1.0f)) return;
  const int cx = centre.x / kFogCell * kFogCell + kFogCell / 2;
  const int cy = centre.y / kFogCell * kFogCell + kFogCell / 2;
  // Radii far beyond the map only need the grid's size.
  const float reach = std::min(std::max(radiusX, radiusY), 4096.0f) + float(kEllipseMargin);
  const int c0 = std::max(0, int(std::floor((float(cx) - reach) / kFogCell)) - 1);
  const int c1 = std::min(kColumns - 1, int(std::floor((float(cx) + reach) / kFogCell)) + 1);
  const int r0 = std::max(0, int(std::floor((float(cy) - reach) / kFogCell)) - 1);
  const int r1 = std::min(kRows - 1, int(std::floor((float(cy) + reach) / kFogCell)) + 1);
  const float rx2 = radiusX * radiusX, ry2 = radiusY * radiusY;
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c)
      for (int lower = 0; lower < 2; ++lower) {
        const float dx = float(c * kFogCell - cx), dy = float(r * kFogCell + lower * kFogCell - cy);
        const float u = dy * dy / ry2 + dx * dx / rx2;
        if (!(u < 1.0f)) continue;
        uint32_t& v = (lower ? m_lower : m_upper)[at(r, c)];
        const int a = alphaOf(v);
        if (reveal) {
          v = withAlpha(v, std::min(a, revealTarget(u)));
        } else if (a != 0) {
          // Closing only thickens the fog: a vertex already deeper in it keeps its opacity.
          v = withAlpha(v, std::max(a, closeTarget(u)));
        }
      }
}

void cFog::AddWave(const GameEvent& e, bool reveal, bool removeWhenDone) {
  FogWave w;
  w.centre = {e.x, e.y};
  w.objectId = e.objectId;
  w.delayMs = std::max<int32_t>(e.extra[1], 0);
  w.reveal = reveal ? 1 : 0;
  w.removeWhenDone = removeWhenDone ? 1 : 0;
  w.flag = uint8_t(e.extra[2]);
  const float rx = float(std::max<int32_t>(e.value, 0));
  const float ry = e.value2 > 0 ? float(e.value2) : rx;
  const int32_t duration = std::max<int32_t>(e.extra[0], 1);
  // The targets wait in the ramps; they start from 0 once the delay has passed.
  w.radiusX.target = rx;
  w.radiusX.period = duration;
  w.radiusY.target = ry;
  w.radiusY.period = duration;
  m_waves.push_back(w);
}

void cFog::OpenArea(const GameEvent& e) {
  if (e.value != 0) ++m_openedCount;
  if (e.extra[0] <= 0) {
    const float rx = float(std::max<int32_t>(e.value, 0));
    ApplyEllipse({e.x, e.y}, rx, e.value2 > 0 ? float(e.value2) : rx, true);
    // An area opened at once ends like a wave that has run: the last one lets the fade begin.
    if (e.value != 0 && m_openedCount >= m_areaCount) m_allOpened = 1;
    return;
  }
  AddWave(e, true, e.extra[2] != 0);
}

void cFog::CloseArea(const GameEvent& e) { AddWave(e, false, true); }

void cFog::OnEvent(GameEvent& e) {
  cObject::OnEvent(e);
  if (e.code == Game::Code(Game::Event::FogAreaOpens))
    OpenArea(e);
  else if (e.code == Game::Code(Game::Event::FogAreaCloses))
    CloseArea(e);
}

void cFog::RegisterEvents(Game::cEventDispatcher* d) {
  Register(Game::Event::FogAreaCloses, d, this);
  Register(Game::Event::FogAreaOpens, d, this);
}

bool cFog::UpdateTimers(int32_t ms) {
  cObject::UpdateTimers(ms);
  ms = std::max<int32_t>(ms, 0);
  for (size_t i = 0; i < m_waves.size();) {
    FogWave& w = m_waves[i];
    int32_t run = ms;
    if (!w.started) {
      if (w.delayMs > run) {
        w.delayMs -= run;
        ++i;
        continue;
      }
      run -= w.delayMs;
      w.delayMs = 0;
      w.started = true;
      w.radiusX.Start(0.0f, w.radiusX.target, w.radiusX.period);
      w.radiusY.Start(0.0f, w.radiusY.target, w.radiusY.period);
    }
    const bool endX = w.radiusX.Advance(run);
    w.radiusY.Advance(run);
    if (endX) {
      w.done = true;
      // More areas may open than the map counted (objects made during play): reaching the count
      // is what matters.
      if (m_openedCount >= m_areaCount) m_allOpened = 1;
    }
    ApplyEllipse(w.centre, w.radiusX.value, w.radiusY.value, w.reveal != 0);
    if (w.done && w.removeWhenDone)
      m_waves.erase(m_waves.begin() + std::ptrdiff_t(i));
    else
      ++i;
  }
  if (!m_fading && m_allOpened && m_waves.empty() && m_openedCount >= m_areaCount) m_fading = 1;
  if (m_fading && !Has(kFlagHidden)) FadeStep();
  return false;
}

void cFog::FadeStep() {
  for (auto* grid : {&m_upper, &m_lower})
    for (uint32_t& v : *grid) v = withAlpha(v, int(float(alphaOf(v)) * kFadeFactor));
}

std::vector<std::pair<int, int>> cFog::Runs(int row) const {
  std::vector<std::pair<int, int>> runs;
  if (row < 0 || row >= kRows) return runs;
  int first = -1;
  for (int c = 0; c + 1 < kColumns; ++c) {
    const bool some = Alpha(row, c, false) || Alpha(row, c, true) || Alpha(row, c + 1, false) ||
                      Alpha(row, c + 1, true);
    if (some && first < 0) first = c;
    if (!some && first >= 0) {
      runs.emplace_back(first, c - 1);
      first = -1;
    }
  }
  if (first >= 0) runs.emplace_back(first, kColumns - 2);
  return runs;
}

// ---- Questions -----------------------------------------------------------------------------------

cFog* levelFog() {
  if (Game::LevelContext* c = Game::levelContext()) return c->fog.get();
  return g_standIn;
}

bool fogCovers(int x, int y) {
  const cFog* f = levelFog();
  return f && !f->Has(kFlagHidden) && f->IsFogged(x, y);
}

void fogSetStandIn(cFog* fog) { g_standIn = fog; }

void fogOpenStartAreas(cMap& map) {
  // Copy first: opening posts events whose observers may add objects to the map.
  std::vector<cObject*> objects;
  for (size_t i = 0; i < map.Count(); ++i) objects.push_back(map.At(i));
  for (cObject* o : objects) {
    if (!o->Has(kFlagFogArea) || o->Has(kFlagRemoved)) continue;
    if (auto* b = dynamic_cast<cBuilding*>(o)) {
      // A ruin opens its area when it is built or repaired.
      if (b->State() != BuildingState::Built) continue;
    } else if (dynamic_cast<cSubjectObject*>(o)) {
      // Anything else workers serve opens its area when the work is done (Kill).
      continue;
    }
    o->OpenFogArea(0, 0);
  }
}
}  // namespace Map
