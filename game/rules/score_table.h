// The table of score values: how many points each kind of deed earns, read once per run from
// "data/scores.ini" section "Main" and copied by every level when it starts.
#pragma once
#include <array>
#include <cstdint>

#include "files/file.h"

namespace Game {

// Index of each value in the table; the key names are kScoreKeyNames in the same order.
enum ScoreKey : int {
  kScoreCollectedResource = 0,
  kScoreRemovedResourceObstacles,
  kScoreBuildingRepaired,
  kScoreMineBuilt,
  kScoreBuildingUpgraded,
  kScoreRoadcrackRepaired,
  kScoreBridgeRepaired,
  kScoreStoneLRemoved,
  kScoreStoneXLRemoved,
  kScoreStoneXXLRemoved,
  kScoreEvilRootDestroyed,
  kScoreEvilStoneRemoved,
  kScoreFeatherPicked,
  kScoreBerriesPicked,
  kScoreDryTreeFallen,
  kScoreWolfDrivenAway,
  kScoreEvilFlowerDrivenAway,
  kScoreSpiderDrivenAway,
  kScoreSkeletonDrivenAway,
  kScoreGhostDrivenAway,
  kScoreNecroDrivenAway,
  kScoreWhiteWolfFeeded,
  kScoreResourceAtTheEnd,
  kScoreThreeStarsBonus,
  kScoreTwoStarsBonus,
  kScoreOneStarBonus,
  kScoreOneSecondBonus,
  kScoreLakebridgeRepaired,
  kScoreFrozenpathRepaired,
  kScoreResourcesExchanged,
  kScoreSnowballRemoved,
  kScoreDrummerBurns,
  kScoreTrollFeeded,
  kScoreMushroomPicked,
  kScoreCaveSearched,
  kScoreWitchFlewAway,
  kScoreHeartPicked,
  kScoreYetiDrivenAway,
  kScoreStatueRepaired,
  kScoreValueCount
};
static_assert(kScoreValueCount == 39);

extern const char* const kScoreKeyNames[kScoreValueCount];

struct ScoreTable {
  std::array<int32_t, kScoreValueCount> values{};
  // Out-of-range keys are worth nothing.
  int32_t operator[](int key) const { return key >= 0 && key < kScoreValueCount ? values[size_t(key)] : 0; }
};

// Reads the table from `path`; missing keys are 0.
ScoreTable scoreTableRead(const gFileName& path);

}  // namespace Game
