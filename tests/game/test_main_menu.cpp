// The main menu and the dialogs under it, driven as the player drives them (keys, the mouse and
// the update steps) in a scratch folder with small definitions of their own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "command_owner.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/menus/dialog.h"
#include "game/menus/game_logo.h"
#include "game/menus/game_mode_menu.h"
#include "game/menus/logo.h"
#include "game/menus/main_menu.h"
#include "game/menus/menu_title.h"
#include "platform/platform.h"
#include "support/input_script.h"
#include "support/test_files.h"
#include "ui/wnd.h"
#include "ui/wnd_create.h"

namespace fs = std::filesystem;
using Menu::UIDialog;
using Menu::UIMainMenu;
using menutest::Owner;

namespace {

const char* kDialogs =
    "[Exit]\ntype=sprite\nx=292\ny=284\nxs=440\nys=200\nbgAlpha=120\nfadeTime=100\n"
    "[Exit.Text]\ntype=text\nx=0\ny=40\nxs=440\nys=40\nname=Leave?\n"
    "[Exit.DialogYes]\ntype=ieButton\nx=50\ny=112\nxs=150\nys=48\nname=Yes\nstage=1\n"
    "[Exit.DialogNo]\ntype=ieButton\nx=240\ny=112\nxs=150\nys=48\nname=No\nstage=1\n"
    "[Exit.More]\ntype=ieButton\nx=240\ny=10\nxs=150\nys=20\nname=More\nstage=1\n"
    "[Url]\ntype=sprite\nfadeTime=50\n"
    "[Url.DialogYes]\ntype=ieButton\nx=50\ny=112\nxs=150\nys=48\nstage=1\n"
    "[Url.DialogCancel]\ntype=ieButton\nx=240\ny=112\nxs=150\nys=48\nstage=1\n"
    "[YouCantDelete]\ntype=sprite\nfadeTime=0\n"
    "[YouCantDelete.WarningOk]\ntype=ieButton\nx=50\ny=112\nxs=150\nys=48\nstage=1\n";

const char* kModeMenu =
    "[Main]\nx=200\ny=150\nxs=600\nys=450\nfadeTime=0\n"
    "[ModeOk]\ntype=ieButton\nx=100\ny=380\nxs=150\nys=48\nstage=1\n"
    "[ModeCancel]\ntype=ieButton\nx=350\ny=380\nxs=150\nys=48\nstage=1\n"
    "[Description]\ntype=text\nx=20\ny=300\nxs=560\nys=60\n"
    "[Normal]\ntype=ieButton\nx=20\ny=60\nxs=300\nys=40\nstage=1\ndescription=Take your time\n"
    "[Normalframe]\ntype=sprite\nx=20\ny=60\nxs=300\nys=40\n"
    "[Multiclick]\ntype=ieButton\nx=20\ny=120\nxs=300\nys=40\nstage=1\ndescription=Many clicks\n"
    "[Multiclickframe]\ntype=sprite\nx=20\ny=120\nxs=300\nys=40\n"
    "[NoTime]\ntype=ieButton\nx=20\ny=180\nxs=300\nys=40\nstage=1\ndescription=No clock\n"
    "[NoTimeframe]\ntype=sprite\nx=20\ny=180\nxs=300\nys=40\n";

const char* kMainMenu =
    "[Main]\n"
    "[Title]\nanim0=\nactperiodMin=100\nactperiodMax=100\nx=300\ny=20\n"
    "[PlayerName]\ntype=ieButton\nx=20\ny=20\nxs=200\nys=30\nstage=1\n"
    "[PlayerMode]\ntype=text\nx=20\ny=50\nxs=200\nys=30\n"
    "[Play]\ntype=ieButton\nx=400\ny=300\nxs=200\nys=50\nstage=1\n"
    "[Mode]\ntype=ieButton\nx=400\ny=360\nxs=200\nys=50\nstage=1\n"
    "[Exit]\ntype=ieButton\nx=400\ny=600\nxs=200\nys=50\nstage=1\n"
    "[Version]\ntype=text\nname=1.0\nx=900\ny=740\n";

// A scratch game folder: the definitions above, the mode texts and a user folder of its own.
class MainMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::current_path();
    const fs::path dir = home_ / "main_menu";
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
    testkit::writeFile("game.ini", "[main]\nname=MainMenuTest\npath=MainMenuTest\n");
    testkit::writeFile("data/menu/dialog.ini", kDialogs);
    testkit::writeFile("data/menu/UIGameModeMenu.ini", kModeMenu);
    testkit::writeFile("data/menu/UIMainMenu.ini", kMainMenu);
    testkit::writeFile("data/translation.ini", "[modes]\n#MODE=mode\n#GAMEMODE_Normal=Relaxed\n"
                                               "#GAMEMODE_Multiclick=Busy\n#GAMEMODE_NoTime=Untimed\n");
    testkit::writeFile("data/test.ini", "[main]\n");
    iniFreeAll();
    fileInitPaths();
    std::error_code ec;
    fs::remove_all(fs::path(fileProfgamePath()).parent_path(), ec);
    testSettingsLoad("data/test.ini");
    playersClear();
    wndSetRoot(new UIWnd());
  }
  void TearDown() override {
    UIWnd* root = wndRoot();
    wndSetRoot(nullptr);
    delete root;
    wndCollectGarbage();
    playersClear();
    iniFreeAll();
    fs::current_path(home_);
  }

  static void AddPlayers(std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names) ASSERT_TRUE(playerAdd(n));
    ASSERT_TRUE(playerSelect(0));
  }
  // The menu as the only screen.
  static UIMainMenu* ShowMenu() {
    UIMainMenu* menu = UIMainMenu::Create();
    gameShowScreen(menu);
    return menu;
  }
  static UIWnd* Screen() { return wndRoot()->Child(0); }
  // Update steps of 25 ms through the root, as the frame runs them.
  static void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      wndRoot()->Update(25);
      wndCollectGarbage();
    }
  }
  static void Key(int vk) {
    wndOfferKeyDown(vk, 1);
    wndOfferKeyUp(vk, 1);
  }
  // A click at the middle of a window, through the root: the pointer moves there first.
  static void Click(const UIWnd* w) {
    const int v = testkit::Pack(w->X() + w->Width() / 2, w->Y() + w->Height() / 2);
    wndOfferMouseMove(0, v);
    wndOfferKeyDown(VK_LBUTTON_, v);
    wndOfferKeyUp(VK_LBUTTON_, v);
  }

  fs::path home_;
};

TEST_F(MainMenuTest, EnterDarkensThenShowsThenFadesBackBeforeTheOwnerHearsYes) {
  Owner* owner = new Owner();
  wndRoot()->AddChild(owner);
  UIDialog* d = UIDialog::CreateFromDefinition(owner, "Exit");
  ASSERT_NE(d, nullptr);
  owner->AddChild(d);
  ASSERT_NE(d->FindChild("DialogYes"), nullptr) << "children named without the dialog's prefix";
  EXPECT_EQ(d->FindChild("DialogYes")->X(), 292 + 50) << "placed relative to the dialog";
  EXPECT_EQ(d->OpenState(), UIDialog::kOpening);
  // 100 ms to darken to 120, then 100 ms for the content.
  d->Update(50);
  EXPECT_FLOAT_EQ(d->BackFade().value, 60.0f);
  EXPECT_FLOAT_EQ(d->ContentFade().value, 0.0f) << "the content waits for the darkening";
  d->Update(50);
  EXPECT_FLOAT_EQ(d->BackFade().value, 120.0f);
  d->Update(50);
  EXPECT_NEAR(d->ContentFade().value, 127.5f, 0.01f);
  EXPECT_EQ(d->FindChild("Text")->Colour() >> 24, 128u) << "the children take the content's alpha";
  d->Update(50);
  EXPECT_EQ(d->OpenState(), UIDialog::kOpen);
  EXPECT_EQ(d->FindChild("Text")->Colour(), 0xFFFFFFFFu);

  d->KeyDown(VK_RETURN_, 1);
  EXPECT_EQ(d->FindChild("DialogYes")->State(), UIWnd::Press) << "the key shows the button pressed";
  EXPECT_EQ(d->OpenState(), UIDialog::kClosing);
  // A second Enter and the release change nothing while it closes.
  d->KeyDown(VK_RETURN_, 1);
  d->KeyUp(VK_RETURN_, 1);
  d->Update(100);
  EXPECT_FLOAT_EQ(d->ContentFade().value, 0.0f);
  EXPECT_FLOAT_EQ(d->BackFade().value, 120.0f) << "backwards: the content goes first";
  EXPECT_TRUE(owner->heard.empty());
  d->Update(50);
  EXPECT_TRUE(owner->heard.empty());
  d->Update(50);
  ASSERT_EQ(owner->heard, std::vector<std::string>{"DialogYes"});
  d->Update(50);
  EXPECT_EQ(owner->heard.size(), 1u) << "told once";
}

TEST_F(MainMenuTest, EscapeFindsNoThenCancelAndOtherButtonsGoStraightToTheOwner) {
  Owner* owner = new Owner();
  wndRoot()->AddChild(owner);
  UIDialog* d = UIDialog::CreateFromDefinition(owner, "Exit");
  owner->AddChild(d);
  d->Update(200);
  d->Update(200);
  // "More" is not a closing button: the owner hears it at once and the dialog stays.
  d->MouseMove(0, testkit::Pack(292 + 300, 284 + 20));
  d->KeyDown(VK_LBUTTON_, testkit::Pack(292 + 300, 284 + 20));
  d->KeyUp(VK_LBUTTON_, testkit::Pack(292 + 300, 284 + 20));
  EXPECT_EQ(owner->heard, std::vector<std::string>{"More"});
  EXPECT_EQ(d->OpenState(), UIDialog::kOpen);
  d->KeyDown(VK_ESCAPE_, 1);
  for (int i = 0; i < 10; ++i) d->Update(25);
  EXPECT_EQ(owner->heard.back(), "DialogNo");

  // A hidden "No" leaves Escape to "Cancel"; a dialog without "No" likewise.
  Owner* second = new Owner();
  wndRoot()->AddChild(second);
  UIDialog* url = UIDialog::CreateFromDefinition(second, "Url");
  ASSERT_NE(url, nullptr);
  second->AddChild(url);
  url->KeyDown(VK_ESCAPE_, 1);
  for (int i = 0; i < 10; ++i) url->Update(25);
  EXPECT_EQ(second->heard, std::vector<std::string>{"DialogCancel"});
  EXPECT_EQ(url->X(), 0) << "a dialog without a size covers the screen";
  EXPECT_EQ(url->Width(), 1024);

  Owner* third = new Owner();
  wndRoot()->AddChild(third);
  UIDialog* hiddenNo = UIDialog::CreateFromDefinition(third, "Exit");
  third->AddChild(hiddenNo);
  hiddenNo->FindChild("DialogNo")->SetHidden(true);
  hiddenNo->KeyDown(VK_ESCAPE_, 1);
  EXPECT_EQ(hiddenNo->OpenState(), UIDialog::kOpening) << "no Cancel either: Escape does nothing";

  EXPECT_EQ(UIDialog::CreateFromDefinition(third, "NoSuchDialog"), nullptr);
}

TEST_F(MainMenuTest, AScreenShowsOneDialogAtATimeAndOnlyItTakesInput) {
  AddPlayers({u"Anna"});
  UIMainMenu* menu = ShowMenu();
  Menu::ModalChild& modal = menu->Modal();
  EXPECT_FALSE(modal.IsOpen()) << "a player exists: nothing is asked";
  Key(VK_ESCAPE_);
  ASSERT_EQ(modal.Kind(), UIMainMenu::kExit) << "Escape on the menu asks whether to leave";
  UIDialog* first = modal.Dialog();
  EXPECT_FALSE(modal.Open(UIDialog::CreateFromDefinition(menu, "Url"), UIMainMenu::kUrl));
  EXPECT_EQ(modal.Dialog(), first) << "the second is refused";
  Steps(10);
  // The menu's Play under the dialog does not hear the click.
  Click(menu->FindChild("Play"));
  EXPECT_EQ(modal.Kind(), UIMainMenu::kExit);
  EXPECT_EQ(Screen(), menu);
  EXPECT_FALSE(menu->PlayPending());
  Key(VK_ESCAPE_);
  Steps(10);
  EXPECT_FALSE(modal.IsOpen()) << "No closed it";
  EXPECT_EQ(modal.Kind(), 0);
  EXPECT_FALSE(menu->Leaving());
  Key(VK_ESCAPE_);
  Steps(10);
  Key(VK_RETURN_);
  Steps(8);
  EXPECT_TRUE(menu->Leaving()) << "Yes: the program is ending";
  // Through the closing screens (this folder has none to show) to the end of the program.
  Steps(5);
  EXPECT_EQ(wndRoot()->ChildCount(), 0);
  EXPECT_TRUE(gameExitRequested());
  gameClearExitRequest();
}

TEST_F(MainMenuTest, PlayWithoutAModeAsksForOneAndOnlyOkStartsTheGame) {
  AddPlayers({u"Anna"});
  UIMainMenu* menu = ShowMenu();
  Steps(2);
  Click(menu->FindChild("Play"));
  ASSERT_EQ(menu->Modal().Kind(), UIMainMenu::kGameMode);
  EXPECT_TRUE(menu->PlayPending());
  Steps(2);
  Key(VK_ESCAPE_);  // Cancel
  Steps(2);
  EXPECT_FALSE(menu->Modal().IsOpen());
  EXPECT_EQ(Screen(), menu) << "Cancel does not start";
  EXPECT_FALSE(menu->PlayPending());
  EXPECT_FALSE(playerProgress()->modeChosen);

  Click(menu->FindChild("Play"));
  auto* modes = dynamic_cast<Menu::UIGameModeMenu*>(menu->Modal().Dialog());
  ASSERT_NE(modes, nullptr);
  Steps(2);
  Click(modes->FindChild("Multiclick"));
  EXPECT_EQ(modes->Selected(), 1);
  EXPECT_EQ(modes->FindChild("Description")->Caption(), u"Many clicks");
  EXPECT_TRUE(modes->FindChild("Normalframe")->Hidden());
  EXPECT_FALSE(modes->FindChild("Multiclickframe")->Hidden());
  Key(VK_RETURN_);  // OK
  Steps(2);
  EXPECT_TRUE(playerProgress()->modeChosen);
  EXPECT_EQ(playerProgress()->mode, 1);
  EXPECT_EQ(dynamic_cast<UIMainMenu*>(Screen()), nullptr) << "OK after Play starts the game";
}

TEST_F(MainMenuTest, PlayWithAConfirmedModeStartsAtOnceAndModeAloneDoesNot) {
  AddPlayers({u"Anna"});
  progressSetMode(*playerProgress(), 2);
  UIMainMenu* menu = ShowMenu();
  Click(menu->FindChild("Mode"));
  auto* modes = dynamic_cast<Menu::UIGameModeMenu*>(menu->Modal().Dialog());
  ASSERT_NE(modes, nullptr);
  EXPECT_EQ(modes->Selected(), 2) << "the current mode shows selected";
  EXPECT_EQ(modes->FindChild("Description")->Caption(), u"No clock");
  Steps(2);
  Key(VK_RETURN_);
  Steps(2);
  EXPECT_EQ(Screen(), menu) << "choosing a mode from its own button does not start";
  EXPECT_FALSE(menu->Modal().IsOpen());
  Click(menu->FindChild("Play"));
  EXPECT_EQ(dynamic_cast<UIMainMenu*>(Screen()), nullptr) << "Play with a mode starts";
}

TEST_F(MainMenuTest, TheLabelsFollowTheCurrentPlayerAndTheirMode) {
  AddPlayers({u"Anna", u"Борис"});
  UIMainMenu* menu = ShowMenu();
  EXPECT_EQ(menu->FindChild("PlayerName")->Caption(), u"Anna");
  EXPECT_TRUE(menu->FindChild("PlayerMode")->Hidden()) << "no mode chosen yet";
  EXPECT_TRUE(menu->FindChild("Version")->Caption().empty());
  // Another player chosen in the players dialog: its result refreshes the labels.
  ASSERT_TRUE(playerSelect(1));
  progressSetMode(*playerProgress(), 1);
  UIWnd select;
  select.SetName("SelectPlayer");
  menu->OnCommand(&select);
  EXPECT_EQ(menu->FindChild("PlayerName")->Caption(), u"Борис");
  EXPECT_FALSE(menu->FindChild("PlayerMode")->Hidden());
  EXPECT_EQ(menu->FindChild("PlayerMode")->Caption(), u"Busy mode");
}

TEST_F(MainMenuTest, TheTitlePlaysItsOpeningThenTakesTurnsAfterItsWaits) {
  auto* title = new Menu::UIMenuTitle();
  wndRoot()->AddChild(title);
  title->Load("data/menu/UIMainMenu.ini", "Title");
  EXPECT_STREQ(title->Name(), "Title");
  EXPECT_EQ(title->Playing(), 0);
  title->Update(25);
  EXPECT_EQ(title->Playing(), 1) << "without an opening the turns start at once";
  title->Update(75);
  EXPECT_EQ(title->Playing(), 1);
  title->Update(25);
  EXPECT_EQ(title->Playing(), 2) << "after its 100 ms";
  title->Update(100);
  EXPECT_EQ(title->Playing(), 1);
}

TEST_F(MainMenuTest, TheMessageBoxClosesOnEitherKeyWithWarningOk) {
  Owner* owner = new Owner();
  wndRoot()->AddChild(owner);
  Menu::UIWarning* w = Menu::UIWarning::CreateFromDefinition(owner, "YouCantDelete");
  ASSERT_NE(w, nullptr);
  owner->AddChild(w);
  w->Update(25);
  w->KeyDown(VK_ESCAPE_, 1);
  w->Update(25);
  EXPECT_EQ(owner->heard, std::vector<std::string>{"WarningOk"});
}

TEST_F(MainMenuTest, StartUpMakesTheRecordAndTakesTheTestLevelForThisRunOnly) {
  AddPlayers({u"Anna"});
  testkit::writeFile("data/test.ini", "[main]\nGame_Test_Level=5\n");
  iniFreeAll();
  testSettingsLoad("data/test.ini");
  Menu::PrepareStartProgress();
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->level[playerProgress()->mode], 5);
  testkit::writeFile("data/test.ini", "[main]\nGame_Test_Level=49\n");
  iniFreeAll();
  testSettingsLoad("data/test.ini");
  Menu::PrepareStartProgress();
  EXPECT_EQ(playerProgress()->level[playerProgress()->mode], 5) << "past the last level nothing changes";
  testkit::writeFile("data/test.ini", "[main]\n");
  iniFreeAll();
  testSettingsLoad("data/test.ini");
}

TEST_F(MainMenuTest, TheGameLogoTakesItsFrontsSizeAndReloadsFromItsOwnDocument) {
  testkit::writeFile("data/menu/gameLogo.ini",
                     "[Glow1]\ntype=sprite\nx=10\ny=5\nxs=40\nys=40\n"
                     "[Glow2]\ntype=sprite\nx=200\ny=5\nxs=40\nys=40\n"
                     "[Front]\ntype=sprite\nx=0\ny=0\nxs=320\nys=120\n");
  testkit::writeFile("data/menu/screen.ini", "[Logo]\ntype=gameLogo\nx=100\ny=50\n");
  iniFreeAll();
  wndRegisterType("gameLogo", []() -> UIWnd* { return new Menu::UIGameLogo(); });
  UIWnd* logo = wndCreate("data/menu/screen.ini", "Logo", wndRoot());
  ASSERT_NE(dynamic_cast<Menu::UIGameLogo*>(logo), nullptr);
  EXPECT_EQ(logo->Width(), 320);
  EXPECT_EQ(logo->Height(), 120);
  ASSERT_EQ(logo->ChildCount(), 3);
  EXPECT_EQ(logo->FindChild("Glow2")->X(), 300) << "relative to the logo";
  EXPECT_EQ(logo->DefFile(), Menu::UIGameLogo::kFile);
}

}  // namespace
