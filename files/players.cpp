// The player list of profgame.ini and the current player's record.
#include "files/players.h"

#include "base/diag.h"
#include "files/cfg.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/profile.h"
#include "files/text.h"
#include "files/user_files.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {
// profgame.ini is the user's to damage: never read more entries than could plausibly be ours.
constexpr int kMaxStoredPlayers = 64;

std::vector<std::u16string> g_players;
int g_current = -1;
std::unique_ptr<PlayerProgress> g_record;

char16_t fold(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 32);
  if (c == u'\\') return u'/';
  return c;
}

// Selects `index` afresh: no record is carried over and nothing of the old one is saved.
void selectFresh(int index) {
  g_record.reset();
  g_current = -1;
  if (index >= 0 && index < int(g_players.size())) playerSelect(index);
}
}  // namespace

bool playerNameValid(std::u16string_view name) {
  if (name.empty() || name.size() > size_t(kPlayerNameMax)) return false;
  if (name[0] == u'"') return false;
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return false;
    if (c == u' ' || c == u'[' || c == u']' || c == u'=' || c == u';' || c == u'_' || c == u'/' || c == u'\\')
      return false;
    if (c == 0xFFFD || c == 0xFEFF || c == 0x2028 || c == 0x2029) return false;
    if (c >= 0xD800 && c < 0xDC00) {  // a surrogate pair is one character of the fonts' planes
      if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] >= 0xE000) return false;
      ++i;
    } else if (c >= 0xDC00 && c < 0xE000) {
      return false;
    }
  }
  return true;
}

bool playerNamesEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

const char* modeKeyName(int mode) {
  static constexpr const char* kNames[kGameModes] = {"Normal", "Multiclick", "NoTime"};
  return mode >= 0 && mode < kGameModes ? kNames[mode] : "";
}

int playersCount() { return int(g_players.size()); }
int playerCurrent() { return g_current; }
PlayerProgress* playerProgress() { return g_record.get(); }

const std::u16string& playerName(int index) {
  static const std::u16string kNone;
  return index >= 0 && index < int(g_players.size()) ? g_players[size_t(index)] : kNone;
}

void playersClear() {
  g_players.clear();
  g_current = -1;
  g_record.reset();
  profileClearPrefix();
}

int playerFind(std::u16string_view name) {
  if (name.empty() || name.size() > size_t(kPlayerNameMax)) return -1;
  for (size_t i = 0; i < g_players.size(); ++i)
    if (playerNamesEqual(g_players[i], name)) return int(i);
  return -1;
}

bool playerAdd(std::u16string_view name) {
  if (!playerNameValid(name) || g_players.size() >= size_t(kMaxPlayers) || playerFind(name) >= 0) return false;
  g_players.emplace_back(name);
  return true;
}

void playersLoad() {
  playersClear();
  const std::string& path = fileProfgamePath();
  int amount = std::clamp(cfgGetInt("Players", "amount", 0), 0, kMaxStoredPlayers);
  std::vector<std::u16string> stored;  // as the file lists them, so "current" finds its name
  for (int i = 1; i <= amount; ++i) {
    const std::string key = "player" + std::to_string(i);
    std::u16string name = textUtf8ToUtf16(cfgGetString("Players", key.c_str(), ""));
    stored.push_back(name);
    if (name.empty()) continue;
    if (!playerNameValid(name)) {
      errorLog("%s line %d: the player name \"%s\" cannot be used and is skipped\n", fileBaseName(path).c_str(),
               fileUserFileLine(path, "Players", key), textUtf16ToUtf8(name).c_str());
      continue;
    }
    playerAdd(name);
  }
  // "current" counts in the file's list, which may hold names that were skipped: select the
  // player it names, and only one that made it into the list.
  int current = cfgGetInt("Players", "current", 0);
  if (current >= 0 && current < int(stored.size())) {
    int index = playerFind(stored[size_t(current)]);
    if (index >= 0) playerSelect(index);
  }
}

bool playersSave() {
  const std::string& path = fileProfgamePath();
  if (path.empty()) return false;
  iniSetInt(path, "Players", "amount", int(g_players.size()), false);
  for (size_t i = 0; i < g_players.size(); ++i)
    iniSetWString(path, "Players", ("player" + std::to_string(i + 1)).c_str(), g_players[i].c_str(), false);
  iniSetInt(path, "Players", "current", g_current, false);
  bool ok = fileSaveUserFile(path);
  if (g_current >= 0 && g_record) ok = progressSave(*g_record, ProgressPart::All) && ok;
  return ok;
}

bool playerSelect(int index) {
  if (index < 0 || index >= int(g_players.size())) return false;
  if (g_current >= 0 && g_record) progressSave(*g_record, ProgressPart::All);
  if (index != g_current) g_record.reset();
  g_current = index;
  if (!g_record) {
    g_record = std::make_unique<PlayerProgress>();
    g_record->name = textUtf16ToUtf8(g_players[size_t(index)]);
    progressLoad(*g_record, ProgressPart::All);
  }
  if (playersHooks().apply) playersHooks().apply(*g_record);
  return true;
}

void playerRemove(int index) {
  if (index < 0 || index >= int(g_players.size())) return;
  const std::string name = textUtf16ToUtf8(g_players[size_t(index)]);
  profileDelete(name.c_str());
  for (int m = 0; m < kGameModes; ++m) profileDelete((name + "_" + modeKeyName(m)).c_str());
  g_players.erase(g_players.begin() + index);
  if (index == g_current) {
    // The player now standing where the removed one stood, or the last one, as if chosen.
    selectFresh(g_players.empty() ? -1 : std::min(index, int(g_players.size()) - 1));
  } else if (index < g_current) {
    --g_current;  // the same player, one place up; its record stays
  }
  playersSave();
}
