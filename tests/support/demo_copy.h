// Tests that play the bundled demo work on a copy of it in their scratch folder, so nothing they
// write (settings, logs, journals) touches the repository.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>

#include "files/file.h"
#include "files/ini.h"

namespace testkit {

// Copies demo/ into `name` under the current folder and enters it, with the INI cache emptied and
// the game's folders found afresh. An empty path when MM_SOURCE_DIR (set by ctest) is missing.
inline std::filesystem::path EnterDemoCopy(const std::string& name) {
  namespace fs = std::filesystem;
  const char* src = std::getenv("MM_SOURCE_DIR");
  if (!src) return {};
  const fs::path run = fs::current_path() / name;
  fs::remove_all(run);
  fs::create_directories(run);
  fs::copy(fs::path(src) / "demo", run, fs::copy_options::recursive);
  fs::current_path(run);
  iniFreeAll();
  fileInitPaths();
  return run;
}

}  // namespace testkit
