// Interface::UILevelStatistics: the board shown after a won level. It fades in, counts its four
// score lines, flies the earned stars onto their places and hands "StatisticsOK" or
// "StatisticsRestart" to its owner; a key or click before the end shows everything at once.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "anim/animation.h"
#include "game/interface/end_screens.h"
#include "game/interface/result_board.h"

class CSprite;
namespace FxManager {
class cSimplePyro;
}

namespace Interface {

// Where the stars stand and fly from (section "Stars" of the statistics definition).
struct StatisticsStars {
  std::string sprite;
  int32_t startX = 0, startY = 0;
  int32_t x = 0, y = 0, deltaX = 0;
};
StatisticsStars statisticsReadStars(const char* file);

// A flying star's centre `elapsedMs` into its flight from `from` to `to` (straight line).
struct StarPoint {
  float x = 0, y = 0;
};
StarPoint statisticsStarAt(StarPoint from, StarPoint to, int32_t elapsedMs);

class UILevelStatistics : public UIResultBoard {
 public:
  static constexpr const char* kFile = "data/interface/statistics.ini";
  static constexpr int32_t kShownY = 50;  // a board standing at the top moves down this far

  UILevelStatistics();
  ~UILevelStatistics() override;
  // Builds the board and its windows from the definition; false when the file is missing.
  bool Build(const char* file = kFile);
  void Show(const StatisticsScores& scores, int32_t levelNumber, const std::u16string& playerName);
  void Hide();

  int Update(int dt) override;
  int Draw() override;

  const cStatisticsRun& run() const { return m_run; }
  const StatisticsStars& stars() const { return m_stars; }
  // The number of seal sounds played (stars that landed by flying).
  int32_t sealsPlayed() const { return m_seals; }
  // Where star i stands on the row.
  StarPoint StarPlace(int32_t i) const;

 private:
  // A key or click before the count has ended shows every number at once.
  bool TakeKey() override;
  void SyncWindows();
  void ShowChild(const char* name, bool shown);

  cStatisticsRun m_run;
  StatisticsStars m_stars;
  CSprite* m_starSprite = nullptr;
  AnimationState m_countAnim;
  std::array<std::unique_ptr<FxManager::cSimplePyro>, 3> m_trails;
  std::array<bool, 3> m_trailOn{};
  std::unique_ptr<FxManager::cSimplePyro> m_hit;
  int32_t m_seals = 0;
  bool m_built = false;
};

}  // namespace Interface
