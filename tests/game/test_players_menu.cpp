// The players dialog and the player-name dialog on the bundled demo definitions: what a name may
// hold, when OK and the warning show, creating, choosing and deleting players, and what reaches
// profgame.ini.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "demo_copy_util.h"
#include "files/file.h"
#include "files/ini.h"
#include "files/players.h"
#include "files/user_files.h"
#include "game/menus/player_name.h"
#include "game/menus/players_menu.h"
#include "platform/platform.h"
#include "ui/widget_edit.h"
#include "ui/wnd.h"

namespace fs = std::filesystem;

namespace {

// The screen a dialog opens over: it holds one dialog and notes the answers it gets.
class TestScreen : public Menu::UIWithModal<UIWnd> {
 public:
  int OnCommand(UIWnd* source) override {
    if (source) answers.emplace_back(source->Name());
    modal_.Close();
    return 1;
  }
  std::vector<std::string> answers;
};

struct PlayersMenu : gametest::DemoCopySlate {
  const char* CopyName() const override { return "players_menu"; }
  void SetUp() override {
    DemoCopySlate::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    for (const auto& e : fs::directory_iterator(fileUserFolder())) fs::remove_all(e.path());
    playersClear();
    fileInitUserFiles();
    playersLoad();
    screen = new TestScreen();
    wndSetRoot(screen);
  }
  void TearDown() override {
    wndSetRoot(nullptr);
    delete screen;
    wndCollectGarbage();
    playersClear();
    DemoCopySlate::TearDown();
  }

  static void AddPlayers(std::initializer_list<const char16_t*> names, int current) {
    for (const char16_t* n : names) ASSERT_TRUE(playerAdd(n));
    ASSERT_TRUE(playerSelect(current));
    ASSERT_TRUE(playersSave());
  }
  // Runs update steps of 25 ms (fades included) and frees what was removed.
  void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      screen->Update(25);
      wndCollectGarbage();
    }
  }
  void Type(const std::u16string& text) {
    for (char16_t c : text) screen->Char(c, 0);
  }
  void Key(int code) {
    screen->KeyDown(code, 0);
    screen->KeyUp(code, 0);
  }
  // A click on a child of the open dialog: hover it, press and release the button inside it.
  void Click(UIWnd* w) {
    ASSERT_NE(w, nullptr);
    const int value = (w->X() + 4) | ((w->Y() + 4) << 16);
    screen->MouseMove(0, value);
    screen->KeyDown(VK_LBUTTON_, value);
    screen->KeyUp(VK_LBUTTON_, value);
  }
  Menu::UIPlayersMenu* OpenPlayers() {
    auto* d = Menu::UIPlayersMenu::Create(screen);
    EXPECT_TRUE(screen->Modal().Open(d, 2));
    Steps(40);  // opened
    return d;
  }
  Menu::UIPlayerName* OpenName(bool canCancel) {
    auto* d = Menu::UIPlayerName::Create(screen, canCancel);
    EXPECT_TRUE(screen->Modal().Open(d, 2));
    Steps(40);
    return d;
  }
  // The list as the next start reads it.
  static std::vector<std::u16string> ReadBack(int* current) {
    playersClear();
    iniFreeAll();
    playersLoad();
    std::vector<std::u16string> names;
    for (int i = 0; i < playersCount(); ++i) names.push_back(playerName(i));
    *current = playerCurrent();
    return names;
  }
  static std::string FileText(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }

  TestScreen* screen = nullptr;
};

TEST_F(PlayersMenu, FirstStartCreatesAnnaTypedThroughTheFieldAndSavesHer) {
  ASSERT_EQ(playersCount(), 0);
  auto* d = OpenName(false);
  EXPECT_EQ(d->FindChild("EditPlayerCancel"), nullptr);
  UIWnd* ok = d->FindChild("EditPlayerOK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->X(), (1024 - ok->Width()) / 2);
  // Empty: no OK, no warning, and Escape cannot leave.
  EXPECT_TRUE(ok->Hidden());
  EXPECT_TRUE(d->FindChild("Warning")->Hidden());
  Key(VK_ESCAPE_);
  Steps(40);
  EXPECT_TRUE(screen->answers.empty());
  EXPECT_FALSE(d->Closing());

  Type(u"Анна");
  EXPECT_EQ(d->Text(), u"Анна");
  Steps(1);
  EXPECT_FALSE(ok->Hidden());
  EXPECT_EQ(ok->State(), UIWnd::Normal);
  Key(VK_RETURN_);
  screen->Char(13, 0);  // Enter's character follows its key and adds nothing
  Steps(40);
  ASSERT_EQ(screen->answers, std::vector<std::string>{"EditPlayerOK"});
  EXPECT_FALSE(screen->Modal().IsOpen());
  ASSERT_EQ(playersCount(), 1);
  EXPECT_EQ(playerCurrent(), 0);
  ASSERT_NE(playerProgress(), nullptr);
  EXPECT_EQ(playerProgress()->name, "Анна");

  const std::string text = FileText(fileProfgamePath());
  EXPECT_NE(text.find("player1=Анна"), std::string::npos) << text;
  int current = -1;
  EXPECT_EQ(ReadBack(&current), std::vector<std::u16string>{u"Анна"});
  EXPECT_EQ(current, 0);
}

TEST_F(PlayersMenu, ATakenNameHidesOkShowsTheWarningAndHidesCancel) {
  AddPlayers({u"Ann", u"Bob"}, 0);
  auto* d = OpenName(true);
  UIWnd* ok = d->FindChild("EditPlayerOK");
  UIWnd* cancel = d->FindChild("EditPlayerCancel");
  UIWnd* warning = d->FindChild("Warning");
  ASSERT_TRUE(ok && cancel && warning);
  const int cancelX = iniGetInt(Menu::UIPlayerName::kFile, "EditPlayerCancel", "x", -1);
  const int deltaX = iniGetInt(Menu::UIPlayerName::kFile, "EditPlayerCancel", "deltaX", 0);
  ASSERT_NE(deltaX, 0) << "the demo moves Cancel to the middle while OK is hidden";

  // Empty: Cancel alone, moved by deltaX.
  EXPECT_TRUE(ok->Hidden());
  EXPECT_TRUE(warning->Hidden());
  EXPECT_FALSE(cancel->Hidden());
  EXPECT_EQ(cancel->X(), cancelX + deltaX);

  Type(u"bOB");  // names compare without letter case
  Steps(1);
  EXPECT_TRUE(ok->Hidden());
  EXPECT_EQ(ok->State(), UIWnd::Ignore);
  EXPECT_FALSE(warning->Hidden());
  EXPECT_TRUE(cancel->Hidden());
  Key(VK_RETURN_);  // OK is hidden: nothing is added
  Steps(40);
  EXPECT_EQ(playersCount(), 2);
  EXPECT_TRUE(screen->answers.empty());

  Type(u"x");  // "bOBx" is free
  Steps(1);
  EXPECT_FALSE(ok->Hidden());
  EXPECT_TRUE(warning->Hidden());
  EXPECT_FALSE(cancel->Hidden());
  EXPECT_EQ(cancel->X(), cancelX);

  Key(VK_BACK_);
  screen->Char(8, 0);  // back to "bOB"
  Steps(1);
  EXPECT_EQ(d->Text(), u"bOB");
  EXPECT_TRUE(ok->Hidden());

  Key(VK_ESCAPE_);  // Cancel is hidden while the warning shows
  Steps(40);
  EXPECT_TRUE(screen->answers.empty());
  screen->Char(8, 0);
  screen->Char(8, 0);
  screen->Char(8, 0);
  Steps(1);
  EXPECT_TRUE(d->Text().empty());
  Key(VK_ESCAPE_);
  Steps(40);
  EXPECT_EQ(screen->answers, std::vector<std::string>{"EditPlayerCancel"});
  EXPECT_EQ(playersCount(), 2);
}

TEST_F(PlayersMenu, RefusedCharactersAreNotTyped) {
  auto* d = OpenName(true);
  for (char16_t c : std::u16string(u" @#$%^&*()_+=\\|/'\"]}[{:;~`<>.,?\t\x1b")) screen->Char(c, 0);
  EXPECT_TRUE(d->Text().empty());
  Type(u"A b@c");
  EXPECT_EQ(d->Text(), u"Abc");
  // Other printable letters and signs are kept, up to the field's length.
  Type(u"-!Ёж12345");
  EXPECT_EQ(d->Text().size(), 8u);
  EXPECT_EQ(d->Text(), u"Abc-!Ёж1");
  EXPECT_FALSE(Menu::UIPlayerName::IsRefusedChar(u'ж'));
  EXPECT_TRUE(Menu::UIPlayerName::IsRefusedChar(0x7));
}

TEST_F(PlayersMenu, ButtonsShowThePlayersCurrentAndSelected) {
  AddPlayers({u"Ann", u"Bob", u"Cid"}, 1);
  auto* d = OpenPlayers();
  for (int i = 1; i <= 8; ++i) {
    UIWnd* b = d->FindChild(("Player" + std::to_string(i)).c_str());
    ASSERT_NE(b, nullptr) << i;
    EXPECT_EQ(b->Hidden(), i > 3) << i;
    EXPECT_EQ(b->State() == UIWnd::Ignore, i > 3) << i;
  }
  UIWnd* ann = d->FindChild("Player1");
  UIWnd* bob = d->FindChild("Player2");
  EXPECT_EQ(ann->Caption(), u"Ann");
  EXPECT_EQ(d->FindChild("Player3")->Caption(), u"Cid");
  // At opening the current player is the selected one: green wins over red.
  EXPECT_EQ(bob->Colour(), 0xFF8CCF27u);
  EXPECT_EQ(ann->Colour(), 0xFFFFFFFFu);
  Click(ann);
  EXPECT_EQ(d->Selected(), u"Ann");
  EXPECT_EQ(ann->Colour(), 0xFF8CCF27u);
  EXPECT_EQ(bob->Colour(), 0xFFFF7864u);
  EXPECT_EQ(playerCurrent(), 1);  // a click only selects

  Click(d->FindChild("SelectPlayer"));
  Steps(40);
  EXPECT_EQ(screen->answers, std::vector<std::string>{"SelectPlayer"});
  int current = -1;
  ReadBack(&current);
  EXPECT_EQ(current, 0);
}

TEST_F(PlayersMenu, CancelAndEscapeChangeNothing) {
  AddPlayers({u"Ann", u"Bob"}, 0);
  auto* d = OpenPlayers();
  Click(d->FindChild("Player2"));
  Key(VK_ESCAPE_);
  Steps(40);
  EXPECT_EQ(screen->answers, std::vector<std::string>{"Cancel"});
  EXPECT_EQ(playerCurrent(), 0);
}

TEST_F(PlayersMenu, DeletingTheLastOfTheListSelectsTheOneBefore) {
  AddPlayers({u"Ann", u"Bob", u"Cid"}, 0);
  auto* d = OpenPlayers();
  Click(d->FindChild("Player3"));
  Click(d->FindChild("Delete"));
  ASSERT_EQ(screen->answers.size(), 0u);
  ASSERT_TRUE(d->Modal().IsOpen());
  EXPECT_EQ(d->Modal().Kind(), Menu::UIPlayersMenu::kDeleteQuestion);
  Steps(40);
  // The list takes no input meanwhile: a click on a name goes to the question.
  Click(d->FindChild("Player2"));
  EXPECT_EQ(d->Selected(), u"Cid");
  Key(VK_RETURN_);  // Yes
  Steps(40);
  EXPECT_FALSE(d->Modal().IsOpen());
  EXPECT_EQ(d->Selected(), u"Bob");
  EXPECT_TRUE(d->FindChild("Player3")->Hidden());
  EXPECT_EQ(d->FindChild("Player2")->Colour(), 0xFF8CCF27u);
  EXPECT_EQ(d->FindChild("Player1")->Colour(), 0xFFFF7864u);
  EXPECT_EQ(playerCurrent(), 0);
  int current = -1;
  EXPECT_EQ(ReadBack(&current), (std::vector<std::u16string>{u"Ann", u"Bob"}));
  EXPECT_EQ(current, 0);
}

TEST_F(PlayersMenu, DeletingInTheMiddleSelectsTheNextAndNoKeepsThePlayer) {
  AddPlayers({u"Ann", u"Bob", u"Cid"}, 2);
  auto* d = OpenPlayers();
  Click(d->FindChild("Player1"));
  Click(d->FindChild("Delete"));
  Steps(40);
  Key(VK_ESCAPE_);  // No
  Steps(40);
  EXPECT_EQ(playersCount(), 3);
  // The same button again, after the question took the focus and gave it back.
  Click(d->FindChild("Delete"));
  ASSERT_TRUE(d->Modal().IsOpen());
  Steps(40);
  Click(d->Modal().Dialog()->FindChild("DialogYes"));
  Steps(40);
  ASSERT_EQ(playersCount(), 2);
  EXPECT_EQ(playerName(0), u"Bob");
  EXPECT_EQ(d->Selected(), u"Bob");
  EXPECT_EQ(playerName(playerCurrent()), u"Cid");  // the current player stays
}

TEST_F(PlayersMenu, TheCurrentPlayerCannotBeDeleted) {
  AddPlayers({u"Ann", u"Bob"}, 1);
  auto* d = OpenPlayers();
  Click(d->FindChild("Delete"));  // Bob is current and selected
  ASSERT_TRUE(d->Modal().IsOpen());
  EXPECT_EQ(d->Modal().Kind(), Menu::UIPlayersMenu::kMessage);
  EXPECT_NE(d->Modal().Dialog()->FindChild("WarningOk"), nullptr);
  Steps(40);
  Key(VK_ESCAPE_);
  Steps(40);
  EXPECT_FALSE(d->Modal().IsOpen());
  EXPECT_EQ(playersCount(), 2);
  EXPECT_FALSE(d->Closing());  // the message closed, the list stays
}

TEST_F(PlayersMenu, ANinthPlayerIsRefusedAndANewOneIsAddedAndSelected) {
  AddPlayers({u"A1", u"A2", u"A3", u"A4", u"A5", u"A6", u"A7"}, 0);
  auto* d = OpenPlayers();
  Click(d->FindChild("Create"));
  ASSERT_TRUE(d->Modal().IsOpen());
  ASSERT_EQ(d->Modal().Kind(), Menu::UIPlayersMenu::kNameDialog);
  Steps(40);
  Type(u"Zoe");
  Key(VK_RETURN_);
  Steps(40);
  EXPECT_FALSE(d->Modal().IsOpen());
  ASSERT_EQ(playersCount(), 8);
  EXPECT_EQ(playerName(playerCurrent()), u"Zoe");
  EXPECT_EQ(d->Selected(), u"Zoe");
  EXPECT_FALSE(d->FindChild("Player8")->Hidden());

  Click(d->FindChild("Create"));
  ASSERT_TRUE(d->Modal().IsOpen());
  EXPECT_EQ(d->Modal().Kind(), Menu::UIPlayersMenu::kMessage);
  Steps(40);
  Key(VK_RETURN_);
  Steps(40);
  EXPECT_FALSE(d->Modal().IsOpen());
  EXPECT_EQ(playersCount(), 8);
}

TEST_F(PlayersMenu, TheNameDialogOverTheListTakesEscapeAndTheListStays) {
  AddPlayers({u"Ann"}, 0);
  auto* d = OpenPlayers();
  Click(d->FindChild("Create"));
  ASSERT_EQ(d->Modal().Kind(), Menu::UIPlayersMenu::kNameDialog);
  auto* name = dynamic_cast<Menu::UIPlayerName*>(d->Modal().Dialog());
  ASSERT_NE(name, nullptr);
  EXPECT_NE(name->FindChild("EditPlayerCancel"), nullptr);
  Steps(40);
  Type(u"Bo");
  Key(VK_ESCAPE_);  // the name dialog's Cancel, not the list's
  Steps(40);
  EXPECT_FALSE(d->Modal().IsOpen());
  EXPECT_FALSE(d->Closing());
  EXPECT_TRUE(screen->answers.empty());
  EXPECT_EQ(playersCount(), 1);
  Key(VK_ESCAPE_);  // now the list's
  Steps(40);
  EXPECT_EQ(screen->answers, std::vector<std::string>{"Cancel"});
}

TEST_F(PlayersMenu, AListLeftEmptyAsksForANameThatCannotBeCancelled) {
  // A list whose stored current player was unusable has players but no current one.
  ASSERT_TRUE(playerAdd(u"Ann"));
  ASSERT_EQ(playerCurrent(), -1);
  auto* d = OpenPlayers();
  Click(d->FindChild("Player1"));
  Click(d->FindChild("Delete"));
  ASSERT_EQ(d->Modal().Kind(), Menu::UIPlayersMenu::kDeleteQuestion);
  Steps(40);
  Key(VK_RETURN_);
  Steps(40);
  EXPECT_EQ(playersCount(), 0);
  ASSERT_EQ(d->Modal().Kind(), Menu::UIPlayersMenu::kNameDialog);
  EXPECT_EQ(d->Modal().Dialog()->FindChild("EditPlayerCancel"), nullptr);
  Steps(40);
  Type(u"Eve");
  Key(VK_RETURN_);
  Steps(40);
  EXPECT_FALSE(d->Modal().IsOpen());
  EXPECT_EQ(playerName(playerCurrent()), u"Eve");
  EXPECT_EQ(d->FindChild("Player1")->Caption(), u"Eve");
}

}  // namespace
