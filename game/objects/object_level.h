// What the obstacle and pick-up families reach in the running level: its map, stock, factory and
// dispatcher, the event they post about themselves, the items of their record blocks read with a
// bounds check, and the one-shot particle effects they start at themselves.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "anim/anim_sound_track.h"
#include "game/core/events.h"
#include "game/core/map_object.h"

namespace Game {
class PlayerStock;
}
namespace FxManager {
class cSimplePyro;
}

namespace Map {
class cMap;
class cObjectFactory;

// Null between levels (and in tools that load a map without a level).
cMap* objMap();
Game::PlayerStock* objStock();
cObjectFactory* objFactory();
void objPost(GameEvent& e);

// An event about `o`: its id in fields 1 and 2, tag, type, subtype and anchor.
GameEvent objEvent(Game::Event code, const cObject& o);

// The record's class items from index `at`: a record shorter than expected reads as 0 or empty.
int32_t extInt(const MapObjectRecord& r, size_t at);
float extFloat(const MapObjectRecord& r, size_t at);
std::string extString(const MapObjectRecord& r, size_t at);
void setExtInt(MapObjectRecord& r, size_t at, int32_t v);
void setExtFloat(MapObjectRecord& r, size_t at, float v);
void setExtString(MapObjectRecord& r, size_t at, std::string v);
// Items of the subject block: a family's own items start here.
size_t objSubjectItems();

// Makes `fx` the named catalogue effect at (x, y) and starts it; a name the catalogue lacks gives
// an effect that runs and draws nothing.
void objStartEffect(std::unique_ptr<FxManager::cSimplePyro>& fx, std::string_view name, float x, float y);

// Stock room: whether a pick-up of resource r would add anything (a disabled resource, or a stock
// at its maximum, takes nothing).
bool objStockHasRoom(int32_t r);
bool objResourceEnabled(int32_t r);

class cSubjectObject;
// The subject's current sign and its two work effects, drawn over an object that draws its own
// picture.
void objDrawSignsAndEffects(const cSubjectObject& s, const DrawContext& dc);
// The subject's fade-out as a factor of its alpha (1 while it is not leaving play).
float objFadeOutFactor(const cSubjectObject& s);
// Costs of `kind` as the hint shows them: what is missing from the stock while `selected`.
void objOfferCosts(const cSubjectObject& s, int32_t kind, bool selected, int32_t costs[4]);
// The offer of work that only costs: the costs of `kind` as the hint shows them; true when the
// stock can pay them.
bool objCostOffer(const cSubjectObject& s, int32_t kind, std::array<int32_t, 4>& costs);
// The hint labels of such an offer: the costs are what the player spends; no gains.
void objSpendLabels(std::string& gainLabel, std::string& costLabel, std::string& nextGainLabel);
// Takes the object off the path grid (its cells free again, pending buildings re-checked).
void objClearObstacle(cObject& o);
// The work sound of an obstacle: the set its subtype names in "data/obstacles/sounds.ini", played
// with the work's length as its cycle while the persons work, and stopped when the work ends.
class cObstacleWorkSound {
 public:
  static constexpr const char* kFile = "data/obstacles/sounds.ini";
  void Start(const cObject& owner, int32_t durationMs);
  void Stop();
  void Update(int32_t ms) { m_track.Update(ms); }
  bool Playing() const { return m_playing; }
  Core::cObjectSoundTrack& Track() { return m_track; }

 private:
  Core::cObjectSoundTrack m_track;
  bool m_read = false;
  bool m_playing = false;
};

}  // namespace Map
