// Fixture of the tests that play demo levels to their end through the whole game: a fresh copy of
// the demo whose test.ini starts a level at once, logs what it plays and writes the statistics of
// a won level; the previous folder comes back afterwards.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/ini.h"
#include "support/demo_copy.h"
#include "support/level_player.h"
#include "support/test_files.h"
#include "support/tip_reader.h"

namespace gametest {

class PlaythroughCopy : public ::testing::Test {
 protected:
  // With `firstTimePlayer` every run forgets the tips seen before it.
  explicit PlaythroughCopy(bool firstTimePlayer) : m_firstTimePlayer(firstTimePlayer) {}

  void SetUp() override { home = std::filesystem::current_path(); }
  void TearDown() override {
    if (!home.empty()) std::filesystem::current_path(home);
    iniFreeAll();
  }
  // Enters the copy `name` set to start level `level`; false when the sources are not known.
  bool Enter(const char* name, int level, const std::string& extra = "") {
    run = testkit::EnterDemoCopy(name);
    if (run.empty()) return false;
    Switches(level, extra);
    return true;
  }
  // The copy's test.ini for level `level`, with `extra` lines added.
  void Switches(int level, const std::string& extra) {
    testkit::writeFile(run / "data" / "test.ini", "[main]\nGame_No_Menu=1\nGame_Test_Level=" + std::to_string(level) +
                                                      "\nGame_Log_On_Playback=1\nGame_Write_Statistics=1\n" + extra);
    if (m_firstTimePlayer) testkit::ForgetSeenTips();
    iniFreeAll();
  }
  void WinAndReplay(int n) {
    testkit::WinAndReplay(run, n, [this, n](const std::string& extra) { Switches(n, extra); });
  }

  std::filesystem::path home, run;

 private:
  bool m_firstTimePlayer;
};

}  // namespace gametest
