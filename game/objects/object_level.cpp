// The running level as the obstacle and pick-up families see it.
#include "game/objects/object_level.h"

#include <algorithm>

#include "anim/fx_simple_pyro.h"
#include "game/core/level_context.h"
#include "game/core/map_family.h"
#include "game/objects/subject_object.h"

namespace Map {

cMap* objMap() {
  Game::LevelContext* c = Game::levelContext();
  return c ? c->map.get() : nullptr;
}

Game::PlayerStock* objStock() {
  Game::LevelContext* c = Game::levelContext();
  return c ? c->stock.get() : nullptr;
}

cObjectFactory* objFactory() { return objectFactory(); }

void objPost(GameEvent& e) { Post(Game::eventDispatcher(), e); }

GameEvent objEvent(Game::Event code, const cObject& o) {
  GameEvent e;
  MakeEvent(e, code);
  e.objectId = o.id;
  e.otherId = o.id;
  e.tag = int32_t(o.tag);
  e.typeHash = int32_t(o.typeHash);
  e.subtypeHash = int32_t(o.subtypeHash);
  e.x = int32_t(o.x);
  e.y = int32_t(o.y);
  return e;
}

int32_t extInt(const MapObjectRecord& r, size_t at) { return at < r.extension.size() ? r.extension[at].i : 0; }
float extFloat(const MapObjectRecord& r, size_t at) { return at < r.extension.size() ? r.extension[at].f : 0.0f; }
std::string extString(const MapObjectRecord& r, size_t at) {
  return at < r.extension.size() ? r.extension[at].s : std::string();
}
void setExtInt(MapObjectRecord& r, size_t at, int32_t v) {
  if (at < r.extension.size()) r.extension[at].i = v;
}
void setExtFloat(MapObjectRecord& r, size_t at, float v) {
  if (at < r.extension.size()) r.extension[at].f = v;
}
void setExtString(MapObjectRecord& r, size_t at, std::string v) {
  if (at < r.extension.size()) r.extension[at].s = std::move(v);
}

size_t objSubjectItems() { return mapSubjectBlock().items.size(); }

void objStartEffect(std::unique_ptr<FxManager::cSimplePyro>& fx, std::string_view name, float x, float y) {
  if (!fx || name != fx->GetName()) {
    fx = std::make_unique<FxManager::cSimplePyro>();
    fx->Load(std::string(name).c_str());
  }
  fx->SetPosition(x, y);
  fx->Start();
}

bool objResourceEnabled(int32_t r) {
  Game::PlayerStock* s = objStock();
  return s && s->Enabled(r);
}

bool objStockHasRoom(int32_t r) {
  Game::PlayerStock* s = objStock();
  if (!s || !s->Enabled(r)) return false;
  return s->Amount(r) < s->Maximum(r);
}

void objDrawSignsAndEffects(const cSubjectObject& s, const DrawContext& dc) {
  const float px = s.x + dc.offsetX, py = s.y + dc.offsetY;
  if (s.signShowsYes && !s.yesSign.IsStopped())
    s.yesSign.DrawCurrent(px, py);
  else if (!s.noSign.IsStopped())
    s.noSign.DrawCurrent(px, py);
  if (s.workEffect0) s.workEffect0->Render();
  if (s.workEffect1) s.workEffect1->Render();
}

float objFadeOutFactor(const cSubjectObject& s) {
  if (!s.fadeOut.running || s.fadeOut.total <= 0) return 1.0f;
  return float(s.fadeOut.remaining) / float(s.fadeOut.total);
}

void objOfferCosts(const cSubjectObject& s, int32_t kind, bool selected, int32_t costs[4]) {
  const ResourceVector c = s.Cost(OperationKind(kind));
  Game::PlayerStock* stock = objStock();
  for (int i = 0; i < 4; ++i) {
    costs[i] = c[size_t(i)];
    if (selected && stock) costs[i] = std::max(0, c[size_t(i)] - stock->Amount(i));
  }
}

bool objCostOffer(const cSubjectObject& s, int32_t kind, ResourceVector& costs) {
  int32_t c[4];
  objOfferCosts(s, kind, s.selected != 0, c);
  for (int i = 0; i < 4; ++i) costs[size_t(i)] = c[i];
  return s.CanAfford(OperationKind(kind));
}

void objSpendLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel) {
  gainLabel.clear();
  nextGainLabel.clear();
  costLabel = "#OBJECT_HINT_SPEND";
}

void objClearObstacle(cObject& o) {
  if (cMap* m = objMap())
    o.SetObstacle(*m, false);
  else
    o.Set(kFlagObstacle, false);
}
void cObstacleWorkSound::Start(const cObject& owner, int32_t durationMs) {
  if (!m_read) {
    m_read = true;  // a subtype without a set stays silent, asked once
    if (!owner.subtypeName.empty()) m_track.Load(kFile, owner.subtypeName.c_str());
  }
  if (!m_track.IsLoaded()) return;
  for (int i = 0; i < Core::cObjectSoundTrack::kSlots; ++i) m_track.StartSlot(i, int32_t(owner.x), durationMs);
  m_playing = true;
}

void cObstacleWorkSound::Stop() {
  if (!m_playing) return;
  m_track.StopAll();
  m_playing = false;
}

}  // namespace Map
