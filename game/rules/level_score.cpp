// The running score of a level and its result.
#include "game/rules/level_score.h"

#include <algorithm>

#include "files/name_hash.h"

namespace Game {
namespace {

struct SubtypePoints {
  const char* subtype;
  ScoreKey key;
};

// Event 27: a building first, then these subtypes in order.
constexpr SubtypePoints kFinishedPoints[] = {
    {"roadcrack", kScoreRoadcrackRepaired},   {"bridge", kScoreBridgeRepaired},
    {"lakebridge", kScoreLakebridgeRepaired}, {"frozenPath", kScoreFrozenpathRepaired},
    {"stoneL", kScoreStoneLRemoved},          {"stoneXL", kScoreStoneXLRemoved},
    {"stoneXXL", kScoreStoneXXLRemoved},      {"evilstone", kScoreEvilStoneRemoved},
    {"dryTree", kScoreDryTreeFallen},         {"statue1", kScoreStatueRepaired},
    {"statue2", kScoreStatueRepaired},        {"statue3", kScoreStatueRepaired},
    {"statue4", kScoreStatueRepaired},        {"statue5", kScoreStatueRepaired}};

// Event 99: creatures driven away, fed or picked.
constexpr SubtypePoints kCreaturePoints[] = {
    {"wolf", kScoreWolfDrivenAway},         {"evilflower", kScoreEvilFlowerDrivenAway},
    {"spider", kScoreSpiderDrivenAway},     {"skeleton", kScoreSkeletonDrivenAway},
    {"ghost", kScoreGhostDrivenAway},       {"necro", kScoreNecroDrivenAway},
    {"yeti", kScoreYetiDrivenAway},         {"WhiteWolf", kScoreWhiteWolfFeeded}};

template <size_t N>
int bySubtype(const SubtypePoints (&table)[N], int32_t subtypeHash) {
  if (subtypeHash == 0) return -1;
  for (const SubtypePoints& p : table)
    if (int32_t(NameHash(p.subtype)) == subtypeHash) return p.key;
  return -1;
}

int keyFor(const GameEvent& e) {
  // Deeds told silently (a building standing as built when the level loads) earn nothing.
  switch (Event(e.code)) {
    case Event::OperationFinished:
      if (e.value != 0) return -1;
      if (e.typeHash != 0 && e.typeHash == int32_t(NameHash("building"))) return kScoreBuildingRepaired;
      return bySubtype(kFinishedPoints, e.subtypeHash);
    case Event::BuildingLevelReached: return e.value == 0 ? kScoreBuildingUpgraded : -1;
    case Event::BuildingWorkFinished: return e.value == 0 ? kScoreMineBuilt : -1;
    case Event::TotemDestroyed: return kScoreEvilRootDestroyed;
    case Event::SnowballStageEnded: return kScoreSnowballRemoved;
    case Event::ExchangeHappened: return kScoreResourcesExchanged;
    case Event::ResourcesPickedUp:
      return e.subtypeHash != 0 && e.subtypeHash == int32_t(NameHash("obstacle")) ? kScoreRemovedResourceObstacles
                                                                                 : kScoreCollectedResource;
    case Event::QuillPickedUp: return kScoreFeatherPicked;
    case Event::BerryPicked: return kScoreBerriesPicked;
    case Event::HeartFreed: return kScoreHeartPicked;
    case Event::MushroomPicked: return kScoreMushroomPicked;
    case Event::DrumSceneStarts: return kScoreDrummerBurns;
    case Event::Witch47Event: return kScoreWitchFlewAway;
    case Event::TrollEvent: return kScoreTrollFeeded;
    case Event::CreatureObstacleEvent: return bySubtype(kCreaturePoints, e.subtypeHash);
    case Event::CaveHeldKey:
    case Event::CaveWasEmpty: return kScoreCaveSearched;
    default: return -1;
  }
}

int32_t clampScore(int64_t v) { return int32_t(std::clamp<int64_t>(v, 0, kScoreMax)); }
}  // namespace

int32_t scoreStars(const LevelTimes& t, int32_t timeUsed) {
  if (timeUsed < t.goldTime) return 3;
  if (timeUsed < t.silverTime) return 2;
  if (timeUsed < t.levelTime) return 1;
  return 0;
}

LevelResult scoreComputeResult(bool won, bool noTime, const LevelTimes& t, int32_t remaining,
                               const int32_t stock[4], int32_t levelScore, const ScoreTable& values) {
  LevelResult r;
  r.won = won ? 1 : 0;
  if (noTime) {
    // Without a clock there is no time to judge: a win is worth three stars and nothing more.
    r.stars = won ? 3 : 0;
  } else {
    remaining = std::max(remaining, 0);
    r.timeUsed = std::max(t.levelTime - remaining, 0);
    r.stars = won ? scoreStars(t, r.timeUsed) : 0;
    if (r.stars == 3) {
      r.bonusSeconds = remaining / 1000;
      r.timeScore = clampScore(int64_t(values[kScoreThreeStarsBonus]) +
                               int64_t(r.bonusSeconds) * values[kScoreOneSecondBonus]);
    } else if (r.stars == 2) {
      r.timeScore = values[kScoreTwoStarsBonus];
    } else if (r.stars == 1) {
      r.timeScore = values[kScoreOneStarBonus];
    }
  }
  r.levelScore = levelScore;
  // Workers are people, not goods: they earn nothing at the end.
  int64_t goods = 0;
  for (int i = 1; i < 4; ++i) goods += std::max(stock[i], 0);
  r.resourcesScore = clampScore(goods * values[kScoreResourceAtTheEnd]);
  for (int i = 0; i < 4; ++i) r.stockLeft[i] = stock[i];
  return r;
}

void scoreFinishResult(LevelResult& r) {
  r.totalScore = clampScore(int64_t(r.levelScore) + r.timeScore + r.resourcesScore);
}

void cLevelScore::Begin(const ScoreTable& values) {
  m_values = values;
  m_score = 0;
  std::fill(std::begin(m_collected), std::end(m_collected), 0);
}

int32_t cLevelScore::PointsFor(const GameEvent& e) const {
  int key = keyFor(e);
  return key < 0 ? 0 : m_values[key];
}

void cLevelScore::AddPoints(int32_t n) {
  m_score = clampScore(int64_t(m_score) + n);
  Event passed;
  if (m_score >= 10000)
    passed = Event::Score10000Passed;
  else if (m_score >= 5000)
    passed = Event::Score5000Passed;
  else if (m_score >= 3000)
    passed = Event::Score3000Passed;
  else
    return;
  if (!m_dispatcher) return;
  GameEvent e;
  MakeEvent(e, passed);
  e.value = m_score;
  Post(m_dispatcher, e);
}

void cLevelScore::OnEvent(const GameEvent& e) {
  if (e.code == Code(Event::ResourceAdded)) {
    // Only what the player brought in counts as collected, not what the level hands out.
    if (e.value != 0 && e.index >= 0 && e.index < 4 && e.amount > 0)
      m_collected[e.index] = clampScore(int64_t(m_collected[e.index]) + e.amount);
    return;
  }
  int key = keyFor(e);
  if (key >= 0) AddPoints(m_values[key]);
}

}  // namespace Game
