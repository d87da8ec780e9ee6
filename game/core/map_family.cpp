// The family table and the record blocks of the classes whose items are known.
#include "game/core/map_family.h"

#include <deque>
#include <string>

#include "files/name_hash.h"

namespace {
using K = MapItem;

// Keys built from parts live here for the life of the program.
const char* keep(std::string text) {
  static std::deque<std::string> store;
  store.push_back(std::move(text));
  return store.back().c_str();
}

constexpr const char* kDurations[kMapSubjectDurations] = {"none",
                                                          "Person_Get_Resource_Time",
                                                          "Person_Repair_Time",
                                                          "Person_PutOutFire_Time",
                                                          "Person_Uprade_Time",
                                                          "Person_Uprade2_Time",
                                                          "Person_Build_Time",
                                                          "Person_Warm_Time"};

MapExtension makeSubject() {
  // Worker type, the eight durations, the Food/Ore/Gold cost of kinds 1 to 7, the visible state of
  // working persons, the name key, the delete flag and the cursor.
  MapExtension b{"subject", {}};
  b.items.push_back({K::String, "workerType"});
  for (const char* d : kDurations) b.items.push_back({K::Int32, d});
  for (int kind = 1; kind < kMapSubjectDurations; ++kind)
    for (const char* res : {"Food", "Ore", "Gold"})
      b.items.push_back({K::Int32, keep(std::string(kDurations[kind]) + "_" + res)});
  b.items.push_back({K::Int32, "personVisibleState", MapIniForm::StoredMinusOne});
  b.items.push_back({K::String, "name"});
  b.items.push_back({K::Int32, "deleteOnGamePlayFinished"});
  b.items.push_back({K::Int8, "cursor"});
  return b;
}

// The binary building block holds three values of which the third is the break flag and two of
// which the second is the tablet's x offset; the others are written as 0.
const MapExtension kBuilding{"building",
                             {{K::Int32, nullptr},
                              {K::Int32, nullptr},
                              {K::Int32, "isBreak"},
                              {K::Int32, "upgradeLevel"},
                              {K::Int32, "upgradeLevelMax"},
                              {K::Int32, nullptr},
                              {K::Int32, "upgradeTabletDeltaX"},
                              {K::Int32, "upgradeTabletDeltaY"},
                              {K::Int32, "state"}}};
const MapExtension kBarn{"barn", {{K::Int32, "iconsX"}, {K::Int32, "iconsY"}, {K::Int32, "workerX"}, {K::Int32, "workerY"}}};
// The current amount and the level 0 amount share their key.
const MapExtension kGenerator{"generator",
                              {{K::Int32, "resource", MapIniForm::ResourceName},
                               {K::Int32, "resourceValue"},
                               {K::Int32, "resourceValue"},
                               {K::Int32, "resourceValue1"},
                               {K::Int32, "resourceValue2"},
                               {K::Int32, "resourceValue3"}}};
const MapExtension kMine{"mine",
                         {{K::Int32, "resource", MapIniForm::ResourceName},
                          {K::Int32, "resourceValue"},
                          {K::Int32, "resourceMax"}}};
const MapExtension kHunter{"hunter", {{K::String, "hunter"}}};
const MapExtension kBrokenPath{"brokenPath",
                               {{K::Int32, "isBroken"},
                                {K::Int32, "isHidden"},
                                {K::Int32, "isDrawAfterRepair"},
                                {K::Float32, "angle"},
                                {K::Float32, "imageAngle"},
                                {K::Int32, "heightMax"},
                                {K::Int32, "isConvex"},
                                {K::Int8, "isFlipY"}}};
const MapExtension kMoneyChanger{"moneyChanger",
                                 {{K::Int32, "resource", MapIniForm::ResourceName},
                                  {K::Int32, "resourceValue"},
                                  {K::Int32, "isOnlyOneExchange"}}};
const MapExtension kBonus{"bonus",
                          {{K::Int32, "resource", MapIniForm::ResourceName},
                           {K::Int32, "resourceValue"},
                           {K::Int32, "lifeTime"},
                           {K::Int32, "isSmoothAppear"}}};
const MapExtension kSimpleCreature{"simpleCreature",
                                   {{K::Int32, "idlePeriodMin"},
                                    {K::Int32, "idlePeriodMax"},
                                    {K::Int32, "actionPeriodMin"},
                                    {K::Int32, "actionPeriodMax"},
                                    {K::Int32, "flipX"},
                                    {K::Float32, "scale", MapIniForm::ZeroIsOne},
                                    {K::String, "sound"}}};
const MapExtension kMovingCreature{"movingCreature",
                                   {{K::Int32, "arealXS"},
                                    {K::Int32, "arealYS"},
                                    {K::Int32, "idlePeriodMin"},
                                    {K::Int32, "idlePeriodMax"},
                                    {K::Int32, "actionPeriodMin"},
                                    {K::Int32, "actionPeriodMax"},
                                    {K::Int32, "activityFactor"},
                                    {K::Int32, "flipX"},
                                    {K::Float32, "scale"},
                                    {K::Float32, "speed"}}};
// The first four bytes carry the INI "Angle" as a float (a record that kept them 0 has no angle),
// so a reflection compiled to map.bin keeps the turn it has in map.ini.
const MapExtension kReflection{"reflection", {{K::Float32, "Angle"}, {K::Int8, "Alpha", MapIniForm::ClampedByte}}};
const MapExtension kEffect{"effect",
                           {{K::String, "effectname"}, {K::Int32, "DeleteOutsideFog"}, {K::Int32, "startOnEffect"}}};
// Tree items follow the order of its keys.
const MapExtension kTree{"tree",
                         {{K::Int32, "LeavesLiveR"},     {K::Int32, "LeavesLiveG"},    {K::Int32, "LeavesLiveB"},
                          {K::Int32, "LeavesDeadR"},     {K::Int32, "LeavesDeadG"},    {K::Int32, "LeavesDeadB"},
                          {K::Int32, "TrunkLiveR"},      {K::Int32, "TrunkLiveG"},     {K::Int32, "TrunkLiveB"},
                          {K::Int32, "TrunkDeadR"},      {K::Int32, "TrunkDeadG"},     {K::Int32, "TrunkDeadB"},
                          {K::Int32, "RandomSeed"},      {K::Int32, "RandomMax"},      {K::Int32, "ScaleRandomSeed"},
                          {K::Int32, "ScaleRandomMax"},  {K::Float32, "ampl"},         {K::Int32, "period"},
                          {K::Float32, "phase"},         {K::Float32, "scale"},        {K::Int32, "DeleteOutsideFog"}}};
const MapExtension kShower{"shower",
                           {{K::Float32, "fadePeriod"},
                            {K::Int32, "darkOpacity"},
                            {K::Int32, "period"},
                            {K::Int32, "startPeriodMin"},
                            {K::Int32, "startPeriodMax"}}};
const MapExtension kFlies{"flies", {{K::Int32, "amount"}, {K::Int8, "r"}, {K::Int8, "g"}, {K::Int8, "b"}, {K::Int8, "a"}}};
const MapExtension kCaustic{"caustic",
                            {{K::Int32, "causticPeriod"},
                             {K::Float32, "causticDir"},
                             {K::Int8, "alpha", MapIniForm::ClampedByte},
                             {K::Float32, "AlphaPhase"},
                             {K::Int32, "AlphaPeriod"},
                             {K::Float32, "AlphaAmplitude"}}};

// Obstacle and pick-up blocks: the binary items follow the order of their keys.
const MapExtension kStone{"stone", {{K::Int32, "isBroken"}, {K::String, "effname"}}};
const MapExtension kDryTree{"dryTree", {{K::String, "branches"}}};
const MapExtension kTotem{"totem", {{K::Int32, "state"}, {K::Int32, "wells"}, {K::Int32, "AnimFrameShift"}, {K::Int32, "flipX"}}};
const MapExtension kBonusPlace{"bonusPlace",
                               {{K::Int32, "resource", MapIniForm::ResourceName},
                                {K::Int32, "resourceValue"},
                                {K::String, "scoreBonus"},
                                {K::Int32, "period"},
                                {K::Int32, "isOnce"}}};
// The creature's own items come before and after the look it borrows from the simple creature.
const MapExtension kCreatureCue{"creatureCue", {{K::Int32, "periodBeforeAppear"}, {K::Int32, "startOnEffect"}}};
const MapExtension kCreatureCaller{"creatureCaller", {{K::String, "DeletingBonus"}}};
const MapExtension kSnowball{"snowball", {{K::Int32, "stagesMax"}, {K::String, "target"}, {K::Int32, "underlayX"}, {K::Int32, "underlayY"}}};
const MapExtension kWhiteWolf{"whiteWolf",
                             {{K::Int32, "targetX"},
                              {K::Int32, "targetY"},
                              {K::Int32, "wolfSupportX"},
                              {K::Int32, "wolfSupportY"},
                              {K::Int32, "obstacleSizeX"},
                              {K::Int32, "obstacleSizeY"},
                              {K::Int32, "obstacleDeltaX"},
                              {K::Int32, "obstacleDeltaY"},
                              {K::Int32, "flipX"},
                              {K::Int32, "idlePeriodMin"},
                              {K::Int32, "idlePeriodMax"}}};
const MapExtension kWitch47{"witch47", {{K::Int32, "targetX"}, {K::Int32, "targetY"}}};
// The key quest and the hearts: their own items after the subject's, in binary order. The bat
// heart's four landing spots follow its flight count.
const MapExtension kCave{"cave", {{K::Int32, "flashX"}, {K::Int32, "flashY"}, {K::String, "effect"}}};
const MapExtension kHeartSound{"heartSound", {{K::String, "soundKey"}}};
const MapExtension kBatHeart{"batHeart",
                             {{K::Int32, "stagesMax"},
                              {K::Int32, "target1X"},
                              {K::Int32, "target1Y"},
                              {K::Int32, "target2X"},
                              {K::Int32, "target2Y"},
                              {K::Int32, "target3X"},
                              {K::Int32, "target3Y"},
                              {K::Int32, "target4X"},
                              {K::Int32, "target4Y"}}};
const MapExtension kJumpingHeart{"jumpingHeart", {{K::Int32, "targetPosX"}, {K::Int32, "targetPosY"}}};
const MapExtension kFlyingWitch{"flyingWitch",
                                {{K::Int32, "flyperiod"},
                                 {K::Int32, "firstX"},
                                 {K::Int32, "firstY"},
                                 {K::Int32, "secondX"},
                                 {K::Int32, "secondY"},
                                 {K::String, "effectname"}}};
// The berry quest: the bush's two appear flags come first (its binary order), the sound track's
// section after them; a mushroom names its sound track and the objects its picking takes out of
// play (none unless it says so).
const MapExtension kBerryBush{"berryBush", {{K::Int32, "bushAppear"}, {K::Int32, "berriesAppear"}, {K::String, "soundKey"}}};
const MapExtension kMushroom{"mushroom", {{K::String, "soundKey"}, {K::String, "removesTags"}}};
const MapExtension kFocusMarker{"focusMarker",
                                 {{K::Int32, "isSmall"},
                                  {K::Float32, "scale", MapIniForm::ZeroIsOne},
                                  {K::Int8, "isGreen"},
                                  {K::Int8, "isSaveble"}}};

struct Row {
  const char* type;
  std::vector<const char*> subtypes;  // empty: any subtype
  uint32_t typeHash = 0;
  std::vector<uint32_t> subtypeHashes;
  MapFamily family;
};

// Families with items nobody described yet: their records cannot be read past.
MapFamily unknown(const char* cls, bool arena, bool work) { return MapFamily{cls, arena, work, false, {}}; }
MapFamily known(const char* cls, bool arena, bool work, std::vector<const MapExtension*> blocks = {}) {
  return MapFamily{cls, arena, work, true, std::move(blocks)};
}

std::vector<Row>& table() {
  static std::vector<Row> rows = [] {
    const MapExtension* subject = &mapSubjectBlock();
    const MapExtension* building = &kBuilding;
    std::vector<Row> t = {
        {"person", {}, 0, {}, unknown("Map::cPerson", true, false)},
        {"simple", {"back"}, 0, {}, known("Map::cBack", true, false)},
        {"simple", {"tree"}, 0, {}, known("Map::cTree", true, false, {&kTree})},
        {"simple", {"reflection"}, 0, {}, known("Map::cReflection", true, false, {&kReflection})},
        {"totem", {}, 0, {}, known("Map::cTotem", true, true, {subject, &kTotem})},
        {"creature", {"simple"}, 0, {}, known("Map::cSimpleCreature", true, false, {&kSimpleCreature})},
        {"creature", {"moving"}, 0, {}, known("Map::cMovingCreature", true, false, {&kMovingCreature})},
        {"creature", {"butterfly"}, 0, {}, known("Map::cMovingButterfly", true, false, {&kMovingCreature})},
        {"evilstone", {}, 0, {}, known("Map::cStoneAndSpring", false, true, {subject, &kStone})},
        {"brokenPath", {"dryTree"}, 0, {}, known("Map::cDryTree", false, true, {subject, &kDryTree})},
        {"brokenPath", {}, 0, {}, known("Map::cBrokenPathPatch", false, true, {subject, &kBrokenPath})},
        {"bonusPlace", {}, 0, {}, known("Map::cBonusPlace", false, true, {subject, &kBonusPlace})},
        {"bonus",
         {"creature", "wolf", "evilflower", "spider", "skeleton", "ghost", "necro", "yeti"},
         0,
         {},
         known("Map::cObstacleCreature", false, true,
               {subject, &kBonus, &kCreatureCue, &kSimpleCreature, &kCreatureCaller})},
        {"bonus", {}, 0, {}, known("Map::cBonus", false, true, {subject, &kBonus})},
        {"berry", {"berry"}, 0, {}, known("Map::cBerry", false, true, {subject, &kBerryBush})},
        {"berry", {"mushroom"}, 0, {}, known("Map::cMushroom", false, true, {subject, &kMushroom})},
        {"berry", {"redhood"}, 0, {}, known("Map::cRedhood", false, true, {subject})},
        {"moneyChanger", {}, 0, {}, known("Map::cMoneyChanger", true, true, {subject, &kMoneyChanger})},
        {"building", {"barn"}, 0, {}, known("Map::cBarn", true, true, {subject, building, &kBarn})},
        {"building", {"OreGenerator"}, 0, {}, known("Map::cOreGenerator", true, true, {subject, building, &kGenerator})},
        {"building", {"FoodGenerator"}, 0, {}, known("Map::cFoodGenerator", true, true, {subject, building, &kGenerator})},
        {"building", {"GoldGenerator"}, 0, {}, known("Map::cGoldGenerator", true, true, {subject, building, &kGenerator})},
        {"building", {"WarriorHut", "ExorcistHut"}, 0, {}, known("Map::cHunterBuilding", true, true, {subject, building, &kHunter})},
        {"building", {"cBuildingMine"}, 0, {}, known("Map::cBuildingMine", true, true, {subject, building, &kMine})},
        // Any other subtype is a building of its own look (a cottage, a granary, a well).
        {"building", {}, 0, {}, known("Map::cBuilding", true, true, {subject, building})},
        {"floatingicon", {}, 0, {}, unknown("Map::cFloatingIcon", true, false)},
        {"icon", {"bar", "operation"}, 0, {}, unknown("Icon::cOperationBar", false, false)},
        {"icon", {"UpgradeTrumpets"}, 0, {}, unknown("Icon::cUpgradeTrumpets", false, false)},
        {"icon", {"objectHintMarker"}, 0, {}, unknown("Icon::cObjectHintMarker", true, false)},
        {"icon", {"upgradeLevel"}, 0, {}, unknown("Icon::cUpgradeLevel", true, false)},
        {"icon", {"hint"}, 0, {}, unknown("Icon::cObjectInfo", false, false)},
        {"icon", {"focusMarker"}, 0, {}, known("Icon::cFocusMarker", false, false, {&kFocusMarker})},
        {"icon", {"upgradeHint"}, 0, {}, unknown("Icon::cUpgradeInfo", true, false)},
        {"icon", {}, 0, {}, unknown("Map::cIcon", false, false)},
        {"fx", {"flyingMessage"}, 0, {}, known("Fx::cFlyingMessage", false, false)},
        {"fx", {"flies"}, 0, {}, known("Fx::cFlies", true, false, {&kFlies})},
        {"fx", {"rain"}, 0, {}, known("Fx::cRain", true, false, {&kShower})},
        {"fx", {"snow"}, 0, {}, known("Fx::cSnow", true, false, {&kShower})},
        {"fx", {"caustic"}, 0, {}, known("Fx::cCaustic", true, false, {&kCaustic})},
        {"fx", {"evilsmoke"}, 0, {}, known("Map::cEvilSmoke", true, false, {&kEffect})},
        {"fx", {"mapeffect"}, 0, {}, known("Map::cEffect", true, false, {&kEffect})},
        {"WhiteWolf", {}, 0, {}, known("Map::cWhiteWolf", false, true, {subject, &kWhiteWolf})},
        {"troll", {}, 0, {}, known("Map::cTroll", false, true, {subject})},
        {"trollCloud", {}, 0, {}, known("Map::cTrollCloud", false, false)},
        {"drums", {}, 0, {}, known("Map::cDrums", false, true, {subject})},
        {"Snowball", {}, 0, {}, known("Map::cSnowball", false, true, {subject, &kSnowball})},
        {"heart", {"IceHeart"}, 0, {}, known("Map::cIceHeart", false, true, {subject, &kHeartSound})},
        {"heart", {"ChestHeart"}, 0, {}, known("Map::cChestHeart", false, true, {subject, &kHeartSound})},
        {"heart", {"MagicTree"}, 0, {}, known("Map::cMagicTree", false, false)},
        // Lies out of reach until it has jumped: its own class makes it clickable then.
        {"heart", {"JumpingHeart"}, 0, {}, known("Map::cJumpingHeart", false, false, {subject, &kJumpingHeart})},
        {"heart", {"CageHeart"}, 0, {}, known("Map::cCageHeart", false, true, {subject})},
        {"heart", {"cave"}, 0, {}, known("Map::cCaveWithKey", false, true, {subject, &kCave})},
        {"heart", {"BatHeart"}, 0, {}, known("Map::cBatHeart", false, true, {subject, &kBatHeart})},
        {"SummerCage", {}, 0, {}, known("Map::cSummerCage", true, true, {subject})},
        {"AutumnChains", {}, 0, {}, known("Map::cAutumnChains", true, true, {subject})},
        {"AutumnRock", {}, 0, {}, known("Map::cAutumnRock", true, true, {subject})},
        {"WinterIce", {}, 0, {}, known("Map::cWinterIce", true, true, {subject})},
        {"tentacles", {}, 0, {}, known("Map::cTentacles", true, false)},
        {"Witch_1lvl", {}, 0, {}, known("Map::cWitch_1lvl", true, false)},
        {"Witch_8lvl", {}, 0, {}, known("Map::cWitch_8lvl", true, false)},
        {"Witch_33lvl", {}, 0, {}, known("Map::cWitch_33lvl", true, false)},
        {"Witch_37lvl", {}, 0, {}, known("Map::cWitch_37lvl", true, false)},
        // Made at run time when a level is lost (data/flyingwitch/flyingwitch.ini).
        {"FlyingWitch", {}, 0, {}, known("Map::cFlyingWitch", false, false, {&kFlyingWitch})},
        {"Witch_47lvl", {}, 0, {}, known("Map::cWitch_47lvl", true, true, {subject, &kWitch47})},
    };
    for (Row& r : t) {
      r.typeHash = NameHash(r.type);
      for (const char* s : r.subtypes) r.subtypeHashes.push_back(NameHash(s));
    }
    return t;
  }();
  return rows;
}

const MapFamily& plain() {
  static const MapFamily f = known("Map::cObject", false, false);
  return f;
}
}  // namespace

size_t MapFamily::ItemCount() const {
  size_t n = 0;
  for (const MapExtension* b : blocks) n += b->items.size();
  return n;
}

const MapExtension& mapSubjectBlock() {
  static const MapExtension b = makeSubject();
  return b;
}
const MapExtension& mapBuildingBlock() { return kBuilding; }

const char* mapSubjectDurationKey(int32_t kind) {
  return kind >= 0 && kind < kMapSubjectDurations ? kDurations[kind] : nullptr;
}

const MapFamily& mapPlainFamily() { return plain(); }

const MapFamily& mapFamilyOf(uint32_t typeHash, uint32_t subtypeHash) {
  if (typeHash == 0) return plain();
  for (const Row& r : table()) {
    if (r.typeHash != typeHash) continue;
    if (r.subtypeHashes.empty()) return r.family;
    for (uint32_t s : r.subtypeHashes)
      if (s == subtypeHash) return r.family;
  }
  return plain();  // a type with only listed subtypes ("simple" + "sawMill") is a plain object
}

const MapFamily& mapFamilyOf(std::string_view type, std::string_view subtype) {
  return mapFamilyOf(NameHash(type), NameHash(subtype));
}

std::vector<const MapFamily*> mapFamilies() {
  std::vector<const MapFamily*> out{&plain()};
  for (const Row& r : table()) out.push_back(&r.family);
  return out;
}

bool mapRegisterBlocks(std::string_view className, std::vector<const MapExtension*> blocks, bool known) {
  bool found = false;
  for (Row& r : table())
    if (className == r.family.className) {
      r.family.blocks = blocks;
      r.family.itemsKnown = known;
      found = true;
    }
  return found;
}

int32_t mapResourceIndex(std::string_view name) {
  static const char* const kNames[4] = {"Worker", "Food", "Ore", "Gold"};
  for (int i = 0; i < 4; ++i)
    if (name == kNames[i]) return i;
  return 4;
}

const char* mapResourceName(int32_t index) {
  static const char* const kNames[4] = {"Worker", "Food", "Ore", "Gold"};
  return index >= 0 && index < 4 ? kNames[index] : "";
}
