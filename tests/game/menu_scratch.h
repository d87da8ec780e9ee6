// The scratch game folder of the story, score, book and closing-screen tests: small definitions
// written by each test, a user folder of its own, a root window, the sound system on the manual
// clock with every started sound heard, and the player's keys, clicks and update steps.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "platform/platform.h"
#include "sound/snd_sound.h"
#include "sound/snd_test_util.h"
#include "sound/sound.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "ui/wnd.h"

namespace menutest {

class MenuScratch : public ::testing::Test {
 protected:
  // The folder and the user folder are named after the test suite.
  virtual const char* Folder() const = 0;

  void SetUp() override {
    home_ = std::filesystem::current_path();
    const std::filesystem::path dir = home_ / Folder();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    testkit::writeFile("game.ini", std::string("[main]\nname=") + Folder() + "\npath=" + Folder() + "\n");
    testkit::writeFile("data/test.ini", "[main]\n");
    iniFreeAll();
    fileInitPaths();
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(fileProfgamePath()).parent_path(), ec);
    std::filesystem::create_directories(std::filesystem::path(fileProfgamePath()).parent_path(), ec);
    testSettingsLoad("data/test.ini");
    playersClear();
    gameClearExitRequest();
    wndSetRoot(new UIWnd());
  }
  void TearDown() override {
    UIWnd* root = wndRoot();
    wndSetRoot(nullptr);
    delete root;
    wndCollectGarbage();
    if (sndIsInit()) {
      sndSetStartListener(nullptr);
      sndDone();
    }
    playersClear();
    gameClearExitRequest();
    iniFreeAll();
    std::filesystem::current_path(home_);
  }

  // The sound system with nothing but the mixer driven by hand; every sound started is heard.
  void StartSound() {
    ASSERT_TRUE(sndtest::startManual());
    sndSetStartListener([this](const SndStarted& s) { heard.push_back(s.name); });
  }
  int Heard(const std::string& name) const {
    int n = 0;
    for (const std::string& h : heard) n += h == name;
    return n;
  }

  static void AddPlayer(const char16_t* name) {
    ASSERT_TRUE(playerAdd(name));
    ASSERT_TRUE(playerSelect(playerFind(name)));
  }
  static UIWnd* Screen() { return wndRoot()->Child(0); }
  // Update steps of 25 ms through the root, as the frame runs them.
  static void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      if (UIWnd* root = wndRoot()) root->Update(kStepMs);
      wndCollectGarbage();
    }
  }
  static void Key(int vk) {
    wndOfferKeyDown(vk, 1);
    wndOfferKeyUp(vk, 1);
  }
  // A click at (x, y) through the root: the pointer moves there first.
  static void ClickAt(int x, int y) {
    const int v = testkit::Pack(x, y);
    wndOfferMouseMove(0, v);
    wndOfferKeyDown(VK_LBUTTON_, v);
    wndOfferKeyUp(VK_LBUTTON_, v);
  }
  static void Click(const UIWnd* w) { ClickAt(w->X() + w->Width() / 2, w->Y() + w->Height() / 2); }

  std::filesystem::path home_;
  std::vector<std::string> heard;
};

}  // namespace menutest
