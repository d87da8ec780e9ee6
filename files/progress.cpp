// A player's progress record written to and read from profile.ini.
#include "files/players.h"

#include "files/profile.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {
constexpr int kWide = 1048575;  // the range of the counters and flags the game stores

std::string numbered(const char* key, int n) { return key + std::to_string(n); }

bool validMode(int mode) { return mode >= 0 && mode < kGameModes; }

std::string flagsText(const uint8_t* flags) {
  std::string s(kProgressLevels, '0');
  for (int i = 0; i < kProgressLevels; ++i)
    if (flags[i]) s[size_t(i)] = '1';
  return s;
}

void readFlags(const char* key, uint8_t* flags) {
  std::string s = profileString(key);
  for (int i = 0; i < kProgressLevels; ++i) flags[i] = size_t(i) < s.size() && s[size_t(i)] == '1';
}

void readBool(const char* key, bool& out, int min, int max, bool def) {
  int v = out ? 1 : 0;
  profileGetInt(key, v, min, max, def ? 1 : 0);
  out = v != 0;
}

PlayerHooks& hooks() {
  static PlayerHooks h;
  return h;
}

void saveOptions(const PlayerProgress& r) {
  profileSetInt("isChooseMode", r.modeChosen ? 1 : 0, false);
  profileSetFloat("music", r.music, false);
  profileSetFloat("sound", r.sound, false);
  profileSetInt("isSound", r.soundOn ? 1 : 0, false);
  profileSetInt("isMusic", r.musicOn ? 1 : 0, false);
  profileSetInt("tips", r.tipsOn ? 1 : 0, false);
  profileSetInt("cursor", r.cursorOn ? 1 : 0, false);
  profileSetInt("voices", r.voicesOn ? 1 : 0, false);
}

void loadOptions(PlayerProgress& r) {
  readBool("isChooseMode", r.modeChosen, -kWide, kWide, false);
  profileGetFloat("music", r.music, 0.0f, 1.0f, 0.7f);
  profileGetFloat("sound", r.sound, 0.0f, 1.0f, 1.0f);
  readBool("isSound", r.soundOn, 0, 1, true);
  readBool("isMusic", r.musicOn, 0, 1, true);
  readBool("tips", r.tipsOn, 0, 1, true);
  readBool("cursor", r.cursorOn, -255, 255, true);
  readBool("voices", r.voicesOn, -255, 255, true);
}

void saveTips(const PlayerProgress& r) {
  for (int i = 0; i < kProgressTips; ++i) profileSetInt(numbered("tips", i + 1).c_str(), r.tipsShown[i], false);
  for (int i = 0; i < kProgressExactTips; ++i)
    profileSetInt(numbered("exacttip", i + 1).c_str(), r.exactTips[i], false);
}

void loadTips(PlayerProgress& r) {
  for (int i = 0; i < kProgressTips; ++i) readBool(numbered("tips", i + 1).c_str(), r.tipsShown[i], -kWide, kWide, false);
  for (int i = 0; i < kProgressExactTips; ++i)
    readBool(numbered("exacttip", i + 1).c_str(), r.exactTips[i], -kWide, kWide, false);
}

// Writes the mode section of the current mode; the player section must be current on entry.
void saveModeData(const PlayerProgress& r) {
  const int m = r.mode;
  profileSetInt("mode", m, false);
  if (!profileOpen((r.name + "_" + modeKeyName(m)).c_str(), false)) return;
  const int L = std::clamp(r.levelMax[m], 1, kProgressLevels);
  profileSetInt("level", r.level[m], false);
  profileSetInt("levelMax", r.levelMax[m], false);
  profileSetString("lft", flagsText(r.finished[m]).c_str(), false);
  profileSetString("lw", flagsText(r.won[m]).c_str(), false);
  for (int i = 0; i < L; ++i) profileSetInt(numbered("lp", i + 1).c_str(), r.lp[m][i], false);
  for (int i = 0; i <= L; ++i) profileSetInt(numbered("s", i + 1).c_str(), r.s[m][i], false);
  for (int i = 0; i < L; ++i) profileSetInt(numbered("sl", i + 1).c_str(), r.sl[m][i], false);
  for (int i = 0; i < L; ++i) profileSetInt(numbered("t", i + 1).c_str(), r.t[m][i], false);
  for (int i = 0; i < kProgressAchievements; ++i) {
    profileSetInt(("achiv" + std::to_string(i) + "_v").c_str(), r.achV[m][i], false);
    profileSetInt(("achiv" + std::to_string(i) + "_n").c_str(), r.achN[m][i], false);
  }
}

void loadModeData(PlayerProgress& r) {
  const int m = r.mode;
  if (!profileOpen((r.name + "_" + modeKeyName(m)).c_str(), false)) return;
  profileGetInt("level", r.level[m], 1, kProgressLevels, 1);
  profileGetInt("levelMax", r.levelMax[m], 1, kProgressLevels, 1);
  const int L = r.levelMax[m];
  readFlags("lft", r.finished[m]);
  readFlags("lw", r.won[m]);
  // Entries past the highest level were never written: they start empty, not stale.
  for (int i = 0; i < kProgressLevels; ++i) {
    r.lp[m][i] = r.sl[m][i] = r.t[m][i] = 0;
    r.s[m][i + 1] = 0;
  }
  r.s[m][0] = 0;
  // Scores may grow past the counters' range; a high one must read back, not turn into 0.
  for (int i = 0; i < L; ++i) profileGetInt(numbered("lp", i + 1).c_str(), r.lp[m][i], -kWide, kWide, 0);
  for (int i = 0; i <= L; ++i) profileGetInt(numbered("s", i + 1).c_str(), r.s[m][i], -kWide, INT_MAX, 0);
  for (int i = 0; i < L; ++i) profileGetInt(numbered("sl", i + 1).c_str(), r.sl[m][i], -kWide, INT_MAX, 0);
  for (int i = 0; i < L; ++i) profileGetInt(numbered("t", i + 1).c_str(), r.t[m][i], -kWide, kWide, 0);
  for (int i = 0; i < kProgressAchievements; ++i) {
    // A value past the stored range is still progress: kept, clamped (the achievement table then
    // holds it to its target), never turned into 0.
    int v = 0;
    profileGetInt(("achiv" + std::to_string(i) + "_v").c_str(), v, INT_MIN, INT_MAX, 0);
    r.achV[m][i] = std::clamp(v, 0, kProgressAchievementValueMax);
    profileGetInt(("achiv" + std::to_string(i) + "_n").c_str(), r.achN[m][i], -kWide, kWide, 0);
  }
}
}  // namespace

void playersSetHooks(const PlayerHooks& h) { hooks() = h; }
const PlayerHooks& playersHooks() { return hooks(); }

bool progressSave(PlayerProgress& r, ProgressPart part) {
  // The tracker holds the newest achievement values: take them before anything is written.
  if (hooks().storeAchievements) hooks().storeAchievements(r);
  if (!profileOpen(r.name.c_str(), false)) return false;
  if (part != ProgressPart::ModeData) saveOptions(r);
  saveTips(r);
  if (part != ProgressPart::Options && validMode(r.mode)) saveModeData(r);
  return profileSave();
}

void progressLoad(PlayerProgress& r, ProgressPart part) {
  if (!profileOpen(r.name.c_str(), false)) {
    // Nothing to read, yet the tracker must show this record's achievements, not the last player's.
    if (hooks().loadAchievements) hooks().loadAchievements(r);
    return;
  }
  if (part == ProgressPart::All) {
    loadOptions(r);
    profileGetInt("mode", r.mode, 0, kGameModes - 1, 0);
  }
  loadTips(r);
  if (part != ProgressPart::Options && validMode(r.mode)) loadModeData(r);
  if (hooks().loadAchievements) hooks().loadAchievements(r);
}

void progressSetMode(PlayerProgress& r, int mode) {
  if (!validMode(mode)) return;
  if (!r.modeChosen) {
    r.modeChosen = true;
    progressSave(r, ProgressPart::Options);
  }
  if (mode == r.mode) return;
  progressSave(r, ProgressPart::All);
  r.mode = mode;
  progressLoad(r, ProgressPart::ModeData);
  progressSave(r, ProgressPart::ModeData);  // the choice itself is kept
}

void progressSetLevel(PlayerProgress& r, int level, bool finished) {
  if (!validMode(r.mode) || level < 1 || level > kProgressLevels) return;
  const int m = r.mode;
  r.level[m] = level;
  r.levelMax[m] = std::max(r.levelMax[m], level);
  if (finished) {
    r.finished[m][level - 1] = 1;
    r.lastFinished[m] = level;
  }
}

void progressSetResult(PlayerProgress& r, int level, int score, int seconds, int stars) {
  if (!validMode(r.mode) || level < 1 || level > kProgressLevels) return;
  const int m = r.mode, i = level - 1;
  r.won[m][i] = 1;
  r.sl[m][i] = std::max(r.sl[m][i], score);
  r.lp[m][i] = std::max(r.lp[m][i], std::clamp(stars, 0, 3));
  if (seconds > 0 && (r.t[m][i] <= 0 || seconds < r.t[m][i])) r.t[m][i] = seconds;
  r.levelMax[m] = std::max(r.levelMax[m], level);  // its results are only written up to here
}

int progressTotalScore(const PlayerProgress& r) {
  if (!validMode(r.mode)) return 0;
  long long sum = 0;
  for (int i = 0; i < kProgressLevels; ++i) sum += r.sl[r.mode][i];
  return int(std::clamp(sum, 0LL, static_cast<long long>(INT_MAX)));
}
