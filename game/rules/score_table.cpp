// The table of score values.
#include "game/rules/score_table.h"


#include "files/ini.h"

namespace Game {

const char* const kScoreKeyNames[kScoreValueCount] = {
    "collected_resource",  "removed_resource_obstacles", "building_repaired",       "mine_built",
    "building_upgraded",   "roadcrack_repaired",         "bridge_repaired",         "stoneL_removed",
    "stoneXL_removed",     "stoneXXL_removed",           "evil_root_destroyed",     "evil_stone_removed",
    "feather_picked",      "berries_picked",             "dry_tree_fallen",         "wolf_driven_away",
    "evil_flower_driven_away", "spider_driven_away",     "skeleton_driven_away",    "ghost_driven_away",
    "necro_driven_away",   "white_wolf_feeded",          "resource_at_the_end",     "three_stars_bonus",
    "two_stars_bonus",     "one_star_bonus",             "one_second_bonus",        "lakebridge_repaired",
    "frozenpath_repaired", "resources_exchanged",        "snowball_removed",        "drummer_burns",
    "troll_feeded",        "mushroom_picked",            "cave_searched",           "witch_flew_away",
    "heart_picked",        "yeti_driven_away",           "statue_repaired"};

ScoreTable scoreTableRead(const gFileName& path) {
  ScoreTable t;
  for (int i = 0; i < kScoreValueCount; ++i) t.values[size_t(i)] = iniGetInt(path, "Main", kScoreKeyNames[i], 0);
  return t;
}

}  // namespace Game
