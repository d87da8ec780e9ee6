// The folders of a run: the game folder, the user folder with its three files, and the
// temporary folder.
#include "files/file.h"
#include "files/ini.h"
#include "platform/platform.h"

namespace {
std::string g_program, g_gameIni, g_user, g_profile, g_scores, g_profgame, g_temp;

std::string trimSlash(std::string s) {
  if (s.size() > 1 && (s.back() == '/' || s.back() == '\\')) s.pop_back();
  return s;
}
}  // namespace

void fileInitPaths() {
  fileForgetListings();
  std::string folderName = iniString("game.ini", "main", "path");
  if (folderName.size() > 1023) folderName.resize(1023);
  if (folderName.empty()) folderName = iniString("game.ini", "main", "name");
  for (char& c : folderName)
    if (c == '\\') c = '/';
  std::string root = platUserDataRoot();
  if (!root.empty() && root.back() != '/') root += '/';
  g_user = trimSlash(root + folderName);
  g_program = platCurrentFolder();
  if (g_program.empty() || g_program.back() != '/') g_program += '/';
  platMakeDirs(g_user);
  g_profile = g_user + "/profile.ini";
  g_scores = g_user + "/scores.ini";
  g_profgame = g_user + "/profgame.ini";
  g_gameIni = g_program + "game.ini";
}

void fileInitTempFolder() {
  std::string root = platTempRoot();
  if (!root.empty() && root.back() != '/') root += '/';
  g_temp = root + "BrevilonTemp/";
  platMakeDirs(g_temp);
  for (const std::string& n : platListFolder(g_temp, true)) platRemoveFile(g_temp + n);
}

const std::string& fileProgramFolder() { return g_program; }
const std::string& fileGameIniPath() { return g_gameIni; }
const std::string& fileUserFolder() { return g_user; }
const std::string& fileProfilePath() { return g_profile; }
const std::string& fileScoresPath() { return g_scores; }
const std::string& fileProfgamePath() { return g_profgame; }
const std::string& fileTempFolder() { return g_temp; }
