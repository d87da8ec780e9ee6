// The fog of war: a grid of per-vertex opacities laid over the map with a grey copy of the level's
// background. Fog areas open as growing ellipses and may close again; once every area of the level
// is open the rest fades away. Other objects ask whether a point still lies under the fog.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/map_object.h"
#include "game/core/map_stream.h"

class CSprite;
struct MapFog;

namespace Map {
class cMap;

constexpr int kFogCell = 10;        // pixels between two vertices
constexpr int32_t kFogLayer = -50;  // over the background, under the level's objects
// A vertex is fogged while its opacity is above 255 - 10.
constexpr int kFogClearMargin = 10;

// A radius growing linearly from its start to its target over a period; it holds its target once
// the period has run.
struct FogRamp {
  float value = 0.0f, start = 0.0f, target = 0.0f;
  float step = 0.0f;  // per millisecond
  int32_t elapsed = 0, period = 0;
  bool running = false;

  void Start(float from, float to, int32_t periodMs);
  // True at the advance that ends the period.
  bool Advance(int32_t ms);
};

// One area opening (reveal) or closing around a centre.
struct FogWave {
  int32_t delayMs = 0;  // still to wait before the radii start to grow
  FogRamp radiusX, radiusY;
  IntPoint centre;
  int32_t objectId = kNoId;
  uint8_t flag = 0;
  uint8_t removeWhenDone = 0;
  uint8_t reveal = 1;  // 1 opens, 0 closes
  bool started = false;
  bool done = false;  // its radius X has reached the target
};

class cFog : public cObject {
 public:
  static constexpr int kColumns = kFogColumns;  // 104
  static constexpr int kRows = kFogRows;        // 78

  cFog();
  ~cFog() override;
  cFog(const cFog&) = delete;
  cFog& operator=(const cFog&) = delete;

  // A level's fog: the grey background ("backgray.jpg" with the alpha of "_backgray.png" of the
  // level; a PNG or TGA of the same name also serves) and the opacities of its map (null: full fog
  // everywhere). Forgets the waves and the counts of the level before.
  void LoadLevelFog(int32_t levelNumber, const MapFog* opacities);
  // The same with the pictures named directly (empty names: no grey background).
  void LoadLevelFog(const std::string& grayPath, const std::string& grayAlphaPath, const MapFog* opacities);
  // The number of fog areas the level has (objects with the fog-area flag and a radius).
  void SetAreaCount(int32_t n) { m_areaCount = n; }

  // True outside the grid, or when the upper vertex of the point's cell is fogged.
  bool IsFogged(int32_t x, int32_t y) const;
  // Opens (reveal) or closes an ellipse around a centre at once. An ellipse with a radius below 1
  // (a wave just starting to grow, an area without a radius) has no inside and changes nothing.
  void ApplyEllipse(IntPoint centre, float radiusX, float radiusY, bool reveal);
  // Events 34 (an area opens) and 35 (an area closes).
  void OpenArea(const GameEvent& e);
  void CloseArea(const GameEvent& e);

  // ---- Map object operations ---------------------------------------------------------------
  void OnEvent(GameEvent& event) override;
  void RegisterEvents(Game::cEventDispatcher* dispatcher) override;
  bool UpdateTimers(int32_t ms) override;  // waves and the last fade; never asks to leave
  void Draw(const DrawContext& dc) override;
  void Kill() override {}  // the fog never leaves a map on its own
  cObject* Clone() const override { return nullptr; }

  // ---- State -------------------------------------------------------------------------------
  // Opacity 0 (clear) to 255 (full fog) of a vertex: the upper (y = 10 row) or lower
  // (y = 10 row + 10) vertex of column `column` in strip `row`; 255 outside the grid.
  uint8_t Alpha(int row, int column, bool lower) const;
  void SetAlpha(int row, int column, bool lower, uint8_t alpha);
  int32_t AreaCount() const { return m_areaCount; }
  int32_t OpenedCount() const { return m_openedCount; }
  bool AllOpened() const { return m_allOpened != 0; }
  bool Fading() const { return m_fading != 0; }
  const std::vector<FogWave>& Waves() const { return m_waves; }
  bool HasBackground() const { return m_grey != nullptr; }
  // The strips drawn for one row: runs of columns [first, last] with some fog; tests read them.
  std::vector<std::pair<int, int>> Runs(int row) const;

 private:
  void Reset(uint32_t colour);
  void AddWave(const GameEvent& e, bool reveal, bool removeWhenDone);
  void FadeStep();

  CSprite* m_grey = nullptr;
  float m_full = 255.0f;
  // Vertex colours, white (black before the first level) with the opacity in the alpha byte.
  std::vector<uint32_t> m_upper, m_lower;  // kRows x kColumns
  int32_t m_areaCount = 0;
  int32_t m_openedCount = 0;
  uint8_t m_allOpened = 0;
  uint8_t m_fading = 0;
  std::vector<FogWave> m_waves;
};

// The running level's fog, or null between levels and on a level without a fog object.
cFog* levelFog();
// True only when a visible fog of the running level says the point is fogged; false without fog.
bool fogCovers(int x, int y);
// Tests and tools that run a map without a level context: a fog levelFog() answers while no level
// runs (null to stop). The caller keeps it alive.
void fogSetStandIn(cFog* fog);

// The level's start: every object with the fog-area flag whose area waits on no work (anything but
// an operation subject, and buildings already standing) opens its area at once.
void fogOpenStartAreas(cMap& map);
}  // namespace Map
