// The player list of profgame.ini and the current player's progress record: options, progress
// per game mode, level results, achievements and tips, saved to profile.ini.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

constexpr int kMaxPlayers = 8;
constexpr int kPlayerNameMax = 8;   // UTF-16 characters
constexpr int kGameModes = 3;       // 0 "Normal", 1 "Multiclick", 2 "NoTime"
constexpr int kProgressLevels = 48;
constexpr int kProgressAchievements = 58;
constexpr int kProgressAchievementValueMax = 60000001;  // the largest running value stored
constexpr int kProgressTips = 48;
constexpr int kProgressExactTips = 14;

struct PlayerProgress {
  std::string name;  // UTF-8
  int mode = 0;
  bool modeChosen = false;
  int level[kGameModes] = {1, 1, 1};
  int lastFinished[kGameModes] = {1, 1, 1};
  int levelMax[kGameModes] = {1, 1, 1};
  uint8_t finished[kGameModes][kProgressLevels] = {};  // "lft"
  uint8_t won[kGameModes][kProgressLevels] = {};       // "lw"
  int s[kGameModes][kProgressLevels + 1] = {};
  int sl[kGameModes][kProgressLevels] = {};  // best score of each level
  int lp[kGameModes][kProgressLevels] = {};  // best stars of each level
  int t[kGameModes][kProgressLevels] = {};   // shortest time of each level, seconds (0 unplayed)
  int achV[kGameModes][kProgressAchievements] = {};
  int achN[kGameModes][kProgressAchievements] = {};
  bool tipsShown[kProgressTips] = {};
  bool exactTips[kProgressExactTips] = {};
  float music = 0.7f;
  float sound = 1.0f;
  bool musicOn = true, soundOn = true, tipsOn = true, cursorOn = true, voicesOn = true;
};

enum class ProgressPart { All, Options, ModeData };

// What the game does with a player's record; any may be null (the engine knows no game parts).
// `apply` sets volumes and the cursor when a player is selected; `storeAchievements` copies the
// achievement tracker's values into the record before it is written; `loadAchievements` hands the
// record's values of the current mode to the tracker after a load.
struct PlayerHooks {
  void (*apply)(const PlayerProgress&) = nullptr;
  void (*storeAchievements)(PlayerProgress&) = nullptr;
  void (*loadAchievements)(const PlayerProgress&) = nullptr;
};
void playersSetHooks(const PlayerHooks& hooks);
const PlayerHooks& playersHooks();

// Names are used as INI section and key prefixes: 1 to 8 characters, none of them a control
// character, a blank, "[", "]", "=", ";", "_", "/" or "\", and no leading quote. Any other
// printable letter (Latin, Cyrillic ...) is fine.
bool playerNameValid(std::u16string_view name);
// ASCII letters compare without case, as INI names do.
bool playerNamesEqual(std::u16string_view a, std::u16string_view b);

const char* modeKeyName(int mode);  // "Normal", "Multiclick", "NoTime"; "" for others

void playersLoad();
bool playersSave();
int playerFind(std::u16string_view name);
bool playerAdd(std::u16string_view name);
void playerRemove(int index);
bool playerSelect(int index);
int playersCount();
const std::u16string& playerName(int index);  // empty past the end
int playerCurrent();                           // -1 none
PlayerProgress* playerProgress();              // the current player's record, or null
// Forgets the list and record without writing (shutdown and tests).
void playersClear();

bool progressSave(PlayerProgress& record, ProgressPart part);
void progressLoad(PlayerProgress& record, ProgressPart part);
void progressSetMode(PlayerProgress& record, int mode);
// The current mode's level becomes `level`, its highest level the larger of the two; `finished`
// marks the level done. Levels outside 1 to 48 are not stored.
void progressSetLevel(PlayerProgress& record, int level, bool finished);
// A won level's result: the best score and stars and the shortest time are kept, so a weaker
// replay never takes away what was earned.
void progressSetResult(PlayerProgress& record, int level, int score, int seconds, int stars);
// Sum of the best level scores of the current mode.
int progressTotalScore(const PlayerProgress& record);
