// The options screen and the in-game menu: slider snapping and the comeback volumes, Cancel
// putting every value back, OK saving the options into profile.ini, and the in-game menu's way out
// of a level.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <vector>

#include "files/ini.h"
#include "files/players.h"
#include "files/user_files.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/interface/interface.h"
#include "game/menus/game_menu.h"
#include "game/menus/options.h"
#include "game/menus/options_values.h"
#include "game_test_util.h"
#include "platform/platform.h"
#include "support/game_harness.h"
#include "support/input_script.h"
#include "ui/widget_switch.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;

namespace {
// What the options reached outside the record.
struct FakeWorld {
  float volume[2] = {-1.0f, -1.0f};
  bool fullScreen = false;
  int toggles = 0;
  int cursorCalls = 0;
  bool cursor = true;
  int clicks = 0;
};
FakeWorld g_world;

Menu::OptionsHost fakeHost() {
  Menu::OptionsHost h;
  h.setVolume = [](float v, int c) { g_world.volume[c & 1] = v; };
  h.volume = [](int c) { return g_world.volume[c & 1]; };
  h.fullScreen = [] { return g_world.fullScreen; };
  h.requestFullScreenToggle = [] { ++g_world.toggles; };
  h.setCursor = [](bool on) {
    ++g_world.cursorCalls;
    g_world.cursor = on;
  };
  h.playClick = [] { ++g_world.clicks; };
  return h;
}

constexpr int kMusic = 1, kSound = 0;

struct OptionsValues : gametest::CleanSlate {
  void SetUp() override {
    CleanSlate::SetUp();
    g_world = FakeWorld{};
  }
};

// A player in a user folder of the test's own, so OK really writes profile.ini.
struct OptionsProfile : gametest::CleanSlate {
  void SetUp() override {
    CleanSlate::SetUp();
    g_world = FakeWorld{};
    gametest::freshUserFolder("Options Test", "OptionsTest");
    ASSERT_TRUE(playerAdd(u"Anna"));
    ASSERT_TRUE(playerSelect(0));
    ASSERT_NE(playerProgress(), nullptr);
  }
  void TearDown() override {
    playersClear();
    fs::remove("game.ini");
    CleanSlate::TearDown();
  }
  static std::string profileText() { return gametest::readFile(fileUserFolder() + "/profile.ini"); }
  // Reads the player back as a new start would.
  static PlayerProgress reloaded() {
    playersSave();
    playersClear();
    iniFreeAll();
    playersLoad();
    EXPECT_NE(playerProgress(), nullptr);
    return playerProgress() ? *playerProgress() : PlayerProgress{};
  }
};
}  // namespace

TEST_F(OptionsValues, SliderEndsSnapAndMusicGoesOffAtZero) {
  EXPECT_FLOAT_EQ(Menu::optionsSnap(0.02f), 0.0f);
  EXPECT_FLOAT_EQ(Menu::optionsSnap(0.03f), 0.03f);
  EXPECT_FLOAT_EQ(Menu::optionsSnap(0.5f), 0.5f);
  EXPECT_FLOAT_EQ(Menu::optionsSnap(0.97f), 0.97f);
  EXPECT_FLOAT_EQ(Menu::optionsSnap(0.98f), 1.0f);
  EXPECT_FLOAT_EQ(Menu::optionsSnap(-3.0f), 0.0f);

  PlayerProgress p;
  p.music = 0.4f;
  Menu::cOptionsValues o(&p, fakeHost());
  EXPECT_FLOAT_EQ(o.MusicMoved(0.02f), 0.0f);
  EXPECT_FALSE(p.musicOn);
  EXPECT_FLOAT_EQ(p.music, 0.0f);
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 0.0f);
  EXPECT_EQ(g_world.clicks, 0);  // the music slider never clicks

  // Up again from silence: first the comeback volume, and the slider is told to show it ...
  EXPECT_FLOAT_EQ(o.MusicMoved(0.2f), 0.7f);
  EXPECT_TRUE(p.musicOn);
  EXPECT_FLOAT_EQ(p.music, 0.7f);
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 0.7f);
  // ... then it follows the slider.
  EXPECT_FLOAT_EQ(o.MusicMoved(0.25f), 0.25f);
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 0.25f);
  EXPECT_FLOAT_EQ(o.MusicMoved(0.99f), 1.0f);
  EXPECT_FLOAT_EQ(p.music, 1.0f);
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 1.0f);
}

TEST_F(OptionsValues, SoundSliderClicksExceptWhileDraggedAndComesBackAtFull) {
  PlayerProgress p;
  p.sound = 0.5f;
  Menu::cOptionsValues o(&p, fakeHost());
  o.SoundMoved(0.6f, 0);  // dragged
  EXPECT_EQ(g_world.clicks, 0);
  o.SoundMoved(0.7f, 256);  // pressed or stepped
  o.SoundMoved(0.7f, 257);  // released
  EXPECT_EQ(g_world.clicks, 2);
  EXPECT_FLOAT_EQ(g_world.volume[kSound], 0.7f);
  EXPECT_FLOAT_EQ(o.SoundMoved(0.01f, 0), 0.0f);
  EXPECT_FALSE(p.soundOn);
  EXPECT_FLOAT_EQ(g_world.volume[kSound], 0.0f);
  EXPECT_FLOAT_EQ(o.SoundMoved(0.3f, 0), 1.0f);
  EXPECT_TRUE(p.soundOn);
  EXPECT_FLOAT_EQ(g_world.volume[kSound], 1.0f);
  // Switching off by hand stores silence; on again gives the comeback volume, not the old one.
  o.SetSoundOn(false);
  EXPECT_FLOAT_EQ(p.sound, 0.0f);
  o.SetSoundOn(true);
  EXPECT_FLOAT_EQ(p.sound, 1.0f);
  // Already on: switching on keeps the volume.
  p.sound = 0.4f;
  o.SetSoundOn(true);
  EXPECT_FLOAT_EQ(p.sound, 0.4f);
  EXPECT_FLOAT_EQ(g_world.volume[kSound], 0.4f);
}

TEST_F(OptionsValues, CancelPutsBackVolumesTipsCursorVoicesAndFullScreen) {
  PlayerProgress p;
  p.music = 0.3f;
  p.sound = 0.8f;
  p.musicOn = true;
  p.soundOn = false;  // sound muted: nothing is heard from it after Cancel either
  p.tipsOn = true;
  p.cursorOn = true;
  p.voicesOn = false;
  Menu::cOptionsValues o(&p, fakeHost());
  o.MusicMoved(0.9f);
  o.SoundMoved(0.5f, 256);
  o.SetTips(false);
  o.SetCursor(false);
  o.SetVoices(true);
  EXPECT_FALSE(g_world.cursor);  // the cursor switches at once
  o.ToggleFullScreen();
  EXPECT_EQ(g_world.toggles, 1);
  g_world.fullScreen = true;  // the next frame did it
  o.Cancel();
  EXPECT_FLOAT_EQ(p.music, 0.3f);
  EXPECT_FLOAT_EQ(p.sound, 0.8f);
  EXPECT_TRUE(p.musicOn);
  EXPECT_FALSE(p.soundOn);
  EXPECT_TRUE(p.tipsOn);
  EXPECT_TRUE(p.cursorOn);
  EXPECT_FALSE(p.voicesOn);
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 0.3f);
  EXPECT_FLOAT_EQ(g_world.volume[kSound], 0.0f);
  EXPECT_TRUE(g_world.cursor);
  EXPECT_EQ(g_world.toggles, 2);  // toggled back
}

TEST_F(OptionsValues, CancelWithTheScreenModeUnchangedRequestsNoToggle) {
  g_world.fullScreen = true;
  PlayerProgress p;
  Menu::cOptionsValues o(&p, fakeHost());
  EXPECT_TRUE(o.keptFullScreen());
  // Toggled twice before the frame: the window never left full screen.
  o.ToggleFullScreen();
  o.ToggleFullScreen();
  g_world.toggles = 0;
  o.Cancel();
  EXPECT_EQ(g_world.toggles, 0);
}

TEST_F(OptionsValues, WithoutAPlayerTheOptionsStartFromThePlayingVolumes) {
  g_world.volume[kMusic] = 0.2f;
  g_world.volume[kSound] = 0.0f;
  Menu::cOptionsValues o(nullptr, fakeHost());
  EXPECT_FALSE(o.hasPlayer());
  EXPECT_FLOAT_EQ(o.record().music, 0.2f);
  EXPECT_FALSE(o.record().soundOn);
  o.MusicMoved(0.6f);
  EXPECT_TRUE(o.Ok());
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 0.6f);
  o.MusicMoved(0.0f);
  o.Cancel();
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 0.2f);
  EXPECT_FLOAT_EQ(g_world.volume[kSound], 0.0f);
}

TEST_F(OptionsProfile, OkSavesTheOptionsAndANewStartReadsThemBack) {
  PlayerProgress& p = *playerProgress();
  Menu::cOptionsValues o(&p, fakeHost());
  o.MusicMoved(0.45f);
  o.SoundMoved(0.01f, 257);  // off
  o.SetTips(false);
  o.SetCursor(false);
  o.SetVoices(false);
  ASSERT_TRUE(o.Ok());
  const std::string text = profileText();
  EXPECT_NE(text.find("Anna_music=0.450000"), std::string::npos) << text;
  EXPECT_NE(text.find("Anna_isSound=0"), std::string::npos) << text;
  EXPECT_NE(text.find("Anna_tips=0"), std::string::npos) << text;
  const PlayerProgress back = reloaded();
  EXPECT_NEAR(back.music, 0.45f, 1e-4);
  EXPECT_TRUE(back.musicOn);
  EXPECT_FLOAT_EQ(back.sound, 0.0f);
  EXPECT_FALSE(back.soundOn);
  EXPECT_FALSE(back.tipsOn);
  EXPECT_FALSE(back.cursorOn);
  EXPECT_FALSE(back.voicesOn);
}

TEST_F(OptionsProfile, CancelLeavesTheSavedOptionsAlone) {
  PlayerProgress& p = *playerProgress();
  p.music = 0.5f;
  ASSERT_TRUE(progressSave(p, ProgressPart::Options));
  Menu::cOptionsValues o(&p, fakeHost());
  o.MusicMoved(0.9f);
  o.SetTips(false);
  o.Cancel();
  const PlayerProgress back = reloaded();
  EXPECT_NEAR(back.music, 0.5f, 1e-4);
  EXPECT_TRUE(back.tipsOn);
}

TEST_F(OptionsProfile, OpenAllLevelsOnOkNeverRewritesTheSavedProgress) {
  gametest::writeFile("open_all.ini", "[main]\nGame_Open_All_Levels=1\n");
  testSettingsLoad("open_all.ini");
  PlayerProgress& p = *playerProgress();
  p.levelMax[0] = 3;
  ASSERT_TRUE(progressSave(p, ProgressPart::All));
  Menu::cOptionsValues o(&p, fakeHost());
  ASSERT_TRUE(o.Ok());
  for (int m = 0; m < kGameModes; ++m) EXPECT_EQ(p.levelMax[m], m == 0 ? 3 : 1) << "mode " << m;
  const PlayerProgress back = reloaded();
  EXPECT_EQ(back.levelMax[0], 3);
}

// ---- The windows ----------------------------------------------------------------------------------
namespace {
using testkit::Pack;

// Stands for the screen that opened a dialog (or the interface over the game menu): it hears the
// results.
struct Listener : UIWnd {
  std::vector<std::string> heard;
  int OnCommand(UIWnd* source) override {
    heard.emplace_back(source ? source->Name() : "");
    return 1;
  }
};

constexpr const char* kOptionsDef =
    "[Main]\nfadeTime=100\nbgAlpha=100\n"
    "[OptionsOk]\ntype=ieButton\nx=300\ny=600\nxs=150\nys=40\nstage=1\n"
    "[OptionsCancel]\ntype=ieButton\nx=500\ny=600\nxs=150\nys=40\nstage=1\n"
    "[Music]\ntype=progress2\nx=100\ny=100\nxs=300\nys=36\nstage=1\n"
    "[Sound]\ntype=progress2\nx=100\ny=200\nxs=300\nys=36\nstage=1\n"
    "[Tips]\ntype=switch\nx=100\ny=300\nxs=36\nys=36\nstage=1\n0=Off\n1=On\n"
    "[Fullscreen]\ntype=switch\nx=100\ny=350\nxs=36\nys=36\nstage=1\n0=Off\n1=On\n"
    "[Cursor]\ntype=switch\nx=100\ny=400\nxs=36\nys=36\nstage=1\n0=Off\n1=On\n"
    "[Voices]\ntype=switch\nx=100\ny=450\nxs=36\nys=36\nstage=1\n0=Off\n1=On\n"
    "[Off]\n[On]\n";

struct OptionsDialog : OptionsValues {
  void SetUp() override {
    OptionsValues::SetUp();
    std::filesystem::create_directories("data/menu");
    gametest::writeFile("data/menu/options.ini", kOptionsDef);
    iniFreeAll();
  }
  void TearDown() override {
    delete dialog;
    wndCollectGarbage();
    OptionsValues::TearDown();
  }
  void Open(PlayerProgress* record) {
    dialog = Menu::UIOptions::Create(&owner, record, fakeHost());
    ASSERT_NE(dialog, nullptr);
  }
  UIWnd* Child(const char* name) const { return dialog->FindChild(name); }
  int Switch(const char* name) const { return dynamic_cast<UISwitchBase*>(Child(name))->Current(); }
  // The slider dragged to `v`, as the slider itself reports it.
  void Slide(const char* name, float v, int message = 0) {
    UIWnd* s = Child(name);
    s->SetValue(v);
    s->OnNotify(s, message);
  }
  // A switch clicked: it steps to its other option and says so.
  void Flip(const char* name) {
    auto* s = dynamic_cast<UISwitchBase*>(Child(name));
    s->SetCurrent(s->Current() + 1);
    s->OnCommand(s);
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) dialog->Update(25);
  }
  Listener owner;
  Menu::UIOptions* dialog = nullptr;
};
}  // namespace

TEST_F(OptionsDialog, OpeningShowsTheRecordAndTheScreenMode) {
  g_world.fullScreen = true;
  PlayerProgress p;
  p.music = 0.25f;
  p.sound = 0.5f;
  p.tipsOn = false;
  p.cursorOn = true;
  p.voicesOn = false;
  Open(&p);
  EXPECT_FLOAT_EQ(Child("Music")->GetValue(), 0.25f);
  EXPECT_FLOAT_EQ(Child("Sound")->GetValue(), 0.5f);
  EXPECT_EQ(Switch("Tips"), 0);
  EXPECT_EQ(Switch("Cursor"), 1);
  EXPECT_EQ(Switch("Voices"), 0);
  EXPECT_EQ(Switch("Fullscreen"), 1);
  // The switch follows a change made elsewhere (Alt+Enter) on the next step.
  g_world.fullScreen = false;
  Steps(1);
  EXPECT_EQ(Switch("Fullscreen"), 0);
}

TEST_F(OptionsDialog, TheSlidersSnapAndTheSwitchesReachTheRecord) {
  PlayerProgress p;
  p.music = 0.5f;
  Open(&p);
  Slide("Music", 0.02f);
  EXPECT_FLOAT_EQ(Child("Music")->GetValue(), 0.0f);
  EXPECT_FALSE(p.musicOn);
  Slide("Music", 0.1f);
  EXPECT_FLOAT_EQ(Child("Music")->GetValue(), 0.7f);
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 0.7f);
  Slide("Sound", 0.985f, 257);
  EXPECT_FLOAT_EQ(Child("Sound")->GetValue(), 1.0f);
  EXPECT_EQ(g_world.clicks, 1);
  Flip("Tips");
  EXPECT_FALSE(p.tipsOn);
  Flip("Cursor");
  EXPECT_FALSE(p.cursorOn);
  EXPECT_FALSE(g_world.cursor);
  Flip("Voices");
  EXPECT_FALSE(p.voicesOn);
  Flip("Fullscreen");
  EXPECT_EQ(g_world.toggles, 1);
  EXPECT_TRUE(owner.heard.empty()) << "the switches are the dialog's own business";
}

TEST_F(OptionsDialog, EscapeCancelsEverythingAndTheOwnerHearsItAfterTheFade) {
  PlayerProgress p;
  p.music = 0.4f;
  p.sound = 0.6f;
  Open(&p);
  Steps(20);  // open
  Slide("Music", 0.9f);
  Slide("Sound", 0.1f, 256);
  Flip("Tips");
  Flip("Fullscreen");
  g_world.fullScreen = true;
  EXPECT_EQ(dialog->KeyDown(VK_ESCAPE_, 1), 1);
  EXPECT_EQ(Child("OptionsCancel")->State(), UIWnd::Press);
  EXPECT_FLOAT_EQ(p.music, 0.4f);
  EXPECT_FLOAT_EQ(p.sound, 0.6f);
  EXPECT_TRUE(p.tipsOn);
  EXPECT_FLOAT_EQ(g_world.volume[kMusic], 0.4f);
  EXPECT_FLOAT_EQ(g_world.volume[kSound], 0.6f);
  EXPECT_EQ(g_world.toggles, 2);
  EXPECT_FLOAT_EQ(Child("Music")->GetValue(), 0.4f) << "the sliders show the restored values while fading";
  // Closing: a second key changes nothing, the owner hears once the fades have run.
  dialog->KeyDown(VK_RETURN_, 1);
  EXPECT_TRUE(owner.heard.empty());
  Steps(20);
  ASSERT_EQ(owner.heard.size(), 1u);
  EXPECT_EQ(owner.heard[0], "OptionsCancel");
  EXPECT_FLOAT_EQ(p.music, 0.4f) << "Enter during the fade did not press OK";
}

TEST_F(OptionsDialog, EnterPressesOk) {
  PlayerProgress p;
  Open(&p);
  Steps(20);
  Slide("Music", 0.3f);
  dialog->KeyDown(VK_RETURN_, 1);
  Steps(20);
  ASSERT_EQ(owner.heard.size(), 1u);
  EXPECT_EQ(owner.heard[0], "OptionsOk");
  EXPECT_FLOAT_EQ(p.music, 0.3f);
}

TEST_F(OptionsDialog, AMissingDefinitionGivesNoDialogAndSaysSo) {
  std::filesystem::remove("data/menu/options.ini");
  iniFreeAll();
  PlayerProgress p;
  EXPECT_EQ(Menu::UIOptions::Create(&owner, &p, fakeHost()), nullptr);
  EXPECT_NE(gametest::gerrText().find("options.ini"), std::string::npos);
}

// ---- The in-game menu -----------------------------------------------------------------------------
namespace {
std::string question(const char* name) {
  const std::string n = name;
  return "[" + n + "]\ntype=sprite\nx=300\ny=300\nxs=400\nys=200\nfadeTime=50\n" +
         "[" + n + ".DialogYes]\ntype=ieButton\nx=20\ny=140\nxs=150\nys=40\nstage=1\n" +
         "[" + n + ".DialogNo]\ntype=ieButton\nx=230\ny=140\nxs=150\nys=40\nstage=1\n";
}

// A level on screen in a window tree of its own, and a game menu over it whose parent hears what
// the interface would.
struct GameMenu : OptionsDialog {
  void SetUp() override {
    OptionsDialog::SetUp();
    gametest::writeFile("data/menu/gameMenu.ini",
                        "[Main]\nx=0\ny=0\nxs=1024\nys=768\nname=SomethingElse\n"
                        "[Continue]\ntype=ieButton\nx=400\ny=200\nxs=200\nys=40\nstage=1\n"
                        "[Restart]\ntype=ieButton\nx=400\ny=260\nxs=200\nys=40\nstage=1\n"
                        "[Options]\ntype=ieButton\nx=400\ny=320\nxs=200\nys=40\nstage=1\n"
                        "[Exit]\ntype=ieButton\nx=400\ny=380\nxs=200\nys=40\nstage=1\n");
    gametest::writeFile("data/menu/dialog.ini", question("Exit") + question("Abort") + question("Restart"));
    gametest::writeFile("data/interface/main.ini", "[Menu]\ntype=ieButton\nx=900\ny=700\nxs=100\nys=40\nstage=1\n");
    iniFreeAll();
    wndSetRoot(new UIWnd());
    testkit::LevelFiles f;
    f.balance = "[Main]\ntLevelTime=60000\ntGoldTime=20000\ntSilverTime=40000\nMinuteTime=1000\n"
                "[Resources]\nWorker=1\n";
    std::string error;
    ASSERT_TRUE(testkit::WriteTestLevel(231, f, &error)) << error;
    ASSERT_TRUE(harness.Load(231));
    Game::levelShowView();
    ASSERT_NE(Game::levelContext(), nullptr);
    view = Game::levelContext()->view;
    listener = new Listener();
    view->AddChild(listener);
    menu = new Menu::UIGameMenu();
    listener->AddChild(menu);
  }
  void TearDown() override {
    std::filesystem::remove("data/interface/main.ini");
    Game::EndLevel();
    UIWnd* root = wndRoot();
    wndSetRoot(nullptr);
    delete root;
    wndCollectGarbage();
    OptionsDialog::TearDown();
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      wndRoot()->Update(25);
      wndCollectGarbage();
    }
  }
  void Click(int x, int y) {
    menu->MouseMove(0, Pack(x, y));
    menu->KeyDown(VK_LBUTTON_, Pack(x, y));
    menu->KeyUp(VK_LBUTTON_, Pack(x, y));
  }
  bool ViewOnScreen() const { return wndRoot()->ChildCount() > 0 && wndRoot()->Child(0) == view; }
  testkit::GameHarness harness;
  Game::cGameView* view = nullptr;
  Listener* listener = nullptr;
  Menu::UIGameMenu* menu = nullptr;
};
}  // namespace

TEST_F(GameMenu, StartsHiddenAndEscapeContinues) {
  EXPECT_STREQ(menu->Name(), "GameMenu");
  EXPECT_TRUE(menu->Hidden());
  EXPECT_EQ(menu->KeyDown(VK_ESCAPE_, 1), 0) << "hidden, it takes nothing";
  menu->Refresh();
  EXPECT_FALSE(menu->Hidden());
  EXPECT_EQ(menu->MouseMove(0, Pack(5, 5)), 1) << "shown, nothing under it sees the mouse";
  EXPECT_EQ(menu->KeyDown(VK_ESCAPE_, 1), 1);
  EXPECT_TRUE(menu->Hidden());
  ASSERT_EQ(listener->heard.size(), 1u);
  EXPECT_EQ(listener->heard[0], "GameMenu");
  Steps(2);
  EXPECT_NE(Game::levelContext(), nullptr);
  EXPECT_TRUE(ViewOnScreen());
  // Continue does the same.
  menu->Refresh();
  Click(450, 210);
  EXPECT_TRUE(menu->Hidden());
  EXPECT_EQ(listener->heard.size(), 2u);
}

TEST_F(GameMenu, EscapeInTheQuestionGoesBackToTheMenu) {
  menu->Refresh();
  Click(450, 390);  // Exit
  ASSERT_NE(menu->SubDialog(), nullptr);
  EXPECT_EQ(menu->Kind(), Menu::UIGameMenu::kExit);
  Steps(10);
  menu->KeyDown(VK_ESCAPE_, 1);  // the question's No, not the menu's Continue
  Steps(10);
  EXPECT_EQ(menu->SubDialog(), nullptr);
  EXPECT_EQ(menu->Kind(), Menu::UIGameMenu::kNone);
  EXPECT_FALSE(menu->Hidden());
  EXPECT_NE(Game::levelContext(), nullptr);
  ASSERT_FALSE(listener->heard.empty());
  EXPECT_EQ(listener->heard.back(), "DialogNo");
}

TEST_F(GameMenu, ExitAndAbortEndTheLevelOnceConfirmed) {
  for (const char* way : {"Exit", "Abort"}) {
    SCOPED_TRACE(way);
    if (!Game::levelContext()) {
      ASSERT_TRUE(harness.Load(231));
      Game::levelShowView();
      view = Game::levelContext()->view;
      listener = new Listener();
      view->AddChild(listener);
      menu = new Menu::UIGameMenu();
      listener->AddChild(menu);
    }
    menu->Refresh();
    // Abort has no button in this menu: its command comes as any other would.
    if (std::string(way) == "Exit") {
      Click(450, 390);
    } else {
      UIWnd abort;
      abort.SetName("Abort");
      menu->OnCommand(&abort);
    }
    ASSERT_NE(menu->SubDialog(), nullptr);
    Steps(10);
    EXPECT_NE(Game::levelContext(), nullptr) << "not before the answer";
    menu->KeyDown(VK_RETURN_, 1);  // Yes
    Steps(10);
    EXPECT_EQ(Game::levelContext(), nullptr);
    EXPECT_FALSE(ViewOnScreen()) << "the level map (or what stands for it) replaced the view";
  }
}

TEST_F(GameMenu, RestartEndsTheLevelAndTheOptionsComeBackToTheMenu) {
  menu->Refresh();
  Click(450, 330);  // Options
  ASSERT_NE(menu->SubDialog(), nullptr);
  EXPECT_EQ(menu->Kind(), Menu::UIGameMenu::kOptions);
  Steps(20);
  menu->KeyDown(VK_ESCAPE_, 1);  // the options' Cancel
  Steps(20);
  EXPECT_EQ(menu->SubDialog(), nullptr);
  EXPECT_FALSE(menu->Hidden());
  EXPECT_EQ(listener->heard.back(), "OptionsCancel");

  Click(450, 270);  // Restart
  EXPECT_EQ(menu->Kind(), Menu::UIGameMenu::kRestart);
  Steps(10);
  EXPECT_TRUE(ViewOnScreen()) << "not before the answer";
  menu->KeyDown(VK_RETURN_, 1);
  // The step in which the question has faded out ends the level; the level's start follows.
  for (int i = 0; i < 10 && ViewOnScreen(); ++i) {
    wndRoot()->Update(25);
    if (!ViewOnScreen()) {
      EXPECT_TRUE(menu->Leaving());
      EXPECT_EQ(menu->Kind(), Menu::UIGameMenu::kRestart);
      EXPECT_TRUE(menu->Hidden());
    }
    wndCollectGarbage();
  }
  EXPECT_FALSE(ViewOnScreen());
}

TEST_F(GameMenu, TheMenuButtonOverTheLevelOpensTheMenuAndTheClickStaysOffTheMap) {
  Interface::UIInterface* ui = view->interfaceWnd();
  ASSERT_NE(ui, nullptr);
  ASSERT_NE(ui->gameMenu(), nullptr);
  ASSERT_NE(ui->menuButton(), nullptr);
  const Game::Phase before = harness.phase();
  wndOfferMouseMove(0, Pack(950, 720));
  EXPECT_EQ(ui->menuButton()->State(), UIWnd::Active);
  wndOfferKeyDown(VK_LBUTTON_, Pack(950, 720));
  wndOfferKeyUp(VK_LBUTTON_, Pack(950, 720));
  EXPECT_FALSE(ui->gameMenu()->Hidden());
  EXPECT_TRUE(ui->Modal());
  EXPECT_EQ(harness.phase(), before) << "the click did not start the level's clock";
  // Continue gives the level back.
  wndOfferKeyDown(VK_ESCAPE_, 1);
  EXPECT_TRUE(ui->gameMenu()->Hidden());
  EXPECT_FALSE(ui->Modal());
  // Elsewhere the pointer leaves the button unlit and a click goes to the map.
  wndOfferMouseMove(0, Pack(500, 400));
  EXPECT_EQ(ui->menuButton()->State(), UIWnd::Normal);
  wndOfferKeyDown(VK_LBUTTON_, Pack(500, 400));
  EXPECT_EQ(harness.phase(), Game::Phase::Running);
}
