// Fuzz target of the player's documents: any bytes as profgame.ini and profile.ini (split at the
// first zero byte) are mended, the players loaded and the current one's progress read, without
// fault and without a player whose name could break the document's sections.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/user_files.h"
#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    setenv("XDG_DATA_HOME", "/tmp/mm_fuzz_profile", 1);
    fuzzkit::WriteText("game.ini", "[main]\nname=Fuzz\npath=FuzzProfile\n");
    iniFreeAll();
    fileInitPaths();
    return !fileUserFolder().empty();
  }();
  if (!ready) return 0;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  size_t cut = bytes.find('\0');
  std::string list = cut == std::string::npos ? bytes : bytes.substr(0, cut);
  std::string progress = cut == std::string::npos ? std::string() : bytes.substr(cut + 1);
  for (const char* n : {"profgame.ini.bak", "profile.ini.bak", "profgame.ini.tmp", "profile.ini.tmp"})
    std::remove((fileUserFolder() + "/" + n).c_str());
  fuzzkit::WriteText(fileProfgamePath(), list);
  fuzzkit::WriteText(fileProfilePath(), progress);

  playersClear();
  iniFreeAll();
  fileMendUserFile(fileProfgamePath(), nullptr);
  fileMendUserFile(fileProfilePath(), nullptr);
  playersLoad();
  if (playersCount() > kMaxPlayers) std::abort();
  for (int i = 0; i < playersCount(); ++i)
    if (!playerNameValid(playerName(i))) std::abort();
  if (const PlayerProgress* p = playerProgress()) {
    if (p->mode < 0 || p->mode >= kGameModes) std::abort();
    for (int m = 0; m < kGameModes; ++m)
      if (p->level[m] < 1 || p->level[m] > kProgressLevels || p->levelMax[m] < 1 || p->levelMax[m] > kProgressLevels)
        std::abort();
    if (!(p->music >= 0.0f && p->music <= 1.0f) || !(p->sound >= 0.0f && p->sound <= 1.0f)) std::abort();
    progressTotalScore(*p);
  }
  playersClear();
  return 0;
}
