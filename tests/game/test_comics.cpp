// The picture stories, paged as the player pages them: texts that type themselves and turn the
// page two seconds later, voices that set a page's length, a click that completes and a second
// that turns, Escape, Skip, Prev and Next, the cross-fade, what follows each story, the game's
// closing sequence, and where the campaign shows which story.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/diag.h"
#include "files/players.h"
#include "anim/kf_library.h"
#include "demo_copy_util.h"
#include "files/file.h"
#include "game/menus/comics.h"
#include "game/menus/level_flow.h"
#include "game/menus/level_loading.h"
#include "game/menus/level_menu.h"
#include "game/menus/main_menu.h"
#include "game/menus/scores.h"
#include "menu_scratch.h"
#include "sound/snd_test_util.h"
#include "ui/ui_deco_text.h"

using Menu::UIComics;

namespace {

// Story A: pages 1 to 3, the intro (its end starts the level); page 2 is voiced. Story B: pages
// 5 and 6, the end of the game. Page 8: a story of one page after a level.
const char* kComicsDef =
    "[Main]\nintroEndPage=3\ngameEndPage=6\ngameEndLevel=5\n"
    "[AfterLevel]\n2=8\n5=5\n"
    "[Eyes]\ntype=sprite\nx=0\ny=0\nxs=1024\nys=768\n"
    "[Prev]\ntype=ieButton\nx=20\ny=700\nxs=100\nys=48\nstage=1\n"
    "[Next]\ntype=ieButton\nx=900\ny=700\nxs=100\nys=48\nstage=1\n"
    "[Skip]\ntype=ieButton\nx=780\ny=700\nxs=100\nys=48\nstage=1\n"
    "[Play]\ntype=ieButton\nx=640\ny=700\nxs=100\nys=48\nstage=1\n"
    "[Back]\ntype=sprite\nx=0\ny=0\nxs=1024\nys=768\n"
    "[Text1]\ntype=typingText\nx=100\ny=600\nxs=800\nys=60\nname=Hello\nperiod=0\n"
    "[Back1]\ntype=sprite\nxs=1024\nys=600\nfirst=1\n"
    "[Text2]\ntype=typingText\nx=100\ny=600\nxs=800\nys=60\nname=A long, slow line\nperiod=1000\n"
    "[Back2]\ntype=sprite\nxs=1024\nys=600\nsound=voice2\n"
    "[Text3]\ntype=typingText\nx=100\ny=600\nxs=800\nys=60\nname=End\nperiod=0\n"
    "[Back3]\ntype=sprite\nxs=1024\nys=600\nlast=1\n"
    "[Text5]\ntype=typingText\nx=100\ny=600\nxs=800\nys=60\nname=Then\nperiod=0\n"
    "[Back5]\ntype=sprite\nxs=1024\nys=600\nfirst=1\n"
    "[Text6]\ntype=typingText\nx=100\ny=600\nxs=800\nys=60\nname=Fin\nperiod=0\n"
    "[Back6]\ntype=sprite\nxs=1024\nys=600\nlast=1\n"
    "[Credits]\ntype=text\nx=312\ny=0\nxs=400\nys=40\nname=Made by us\n"
    "[Title]\nx=300\ny=20\n"
    "[Text8]\ntype=typingText\nx=100\ny=600\nxs=800\nys=60\nname=Later\nperiod=0\n"
    "[Back8]\ntype=sprite\nxs=1024\nys=600\nfirst=1\nlast=1\n";

const char* kScoresDef =
    "[Main]\nx=0\ny=0\nxs=1024\nys=768\nfadeTime=0\n[ScoresOk]\ntype=ieButton\nx=420\ny=640\nxs=180\nys=48\nstage=1\n";

class Comics : public menutest::MenuScratch {
 protected:
  const char* Folder() const override { return "comics"; }
  void SetUp() override {
    MenuScratch::SetUp();
    testkit::writeFile(UIComics::kFile, kComicsDef);
    testkit::writeFile("data/menu/UIMainMenu.ini", "[Main]\n");
    testkit::writeFile("data/menu/menu_scores.ini", kScoresDef);
    iniFreeAll();
  }
  // Sounds: a voice of half a second for page 2, the clicks and the closing sequence's sounds.
  void WithSounds() {
    StartSound();
    testkit::writeFile("data/snd/voice.wav", sndtest::makeWav(16, 1, 22050, sndtest::sine(300, 22050, 11025, 6000)));
    testkit::writeFile("data/snd/tick.wav", sndtest::makeWav(16, 1, 22050, sndtest::sine(900, 22050, 500, 6000)));
    testkit::writeFile(UIComics::kSoundFile, "[voice2]\nname=data/snd/voice.wav\n");
    std::string fx;
    for (const char* n : {"menu_click", "WitchLaugh", "AllTasksCompleted"})
      fx += std::string("[") + n + "]\nname=data/snd/tick.wav\n";
    testkit::writeFile("data/snd/fx.ini", fx);
    testkit::writeFile("data/snd/music.ini", "[main]\nmode=1\n[music1]\nmusic=data/snd/tick.wav\n"
                                             "[menu]\nmusic=data/snd/tick.wav\n[OnGameWin]\nmusic=data/snd/tick.wav\n");
    iniFreeAll();
    sndLoadScript("data/snd/fx.ini");
    sndLoadScript("data/snd/music.ini");
  }
  UIComics* Show(int page) {
    EXPECT_TRUE(Menu::ShowComics(page));
    auto* c = dynamic_cast<UIComics*>(Screen());
    EXPECT_NE(c, nullptr);
    return c;
  }
  // Through the opening fade (and the first page's cross-fade, which runs as long).
  static void Open() { Steps(41); }
  // A click on the page, away from the buttons.
  static void ClickPage() { ClickAt(512, 300); }
  static bool TextComplete(const UIComics* c) {
    auto* t = dynamic_cast<const Core::UITypingText*>(c->TextWindow());
    return t && t->Caption() == t->FullText();
  }
};

}  // namespace

TEST_F(Comics, APageWithoutAVoiceTurnsTwoSecondsAfterItsTextHasTyped) {
  UIComics* c = Show(1);
  ASSERT_NE(c, nullptr);
  EXPECT_STREQ(c->Name(), "Comics");
  EXPECT_EQ(c->ComicsState(), UIComics::kOpening);
  EXPECT_EQ(c->Child(0), c->FindChild("Eyes"));
  EXPECT_EQ(c->FindChild("Eyes")->Colour() >> 24, 0u) << "the eyes are dark until the end of the game";
  EXPECT_EQ(c->Child(6), c->TextWindow()) << "the text right after the eyes, the fade and the four buttons";
  EXPECT_FALSE(c->HasVoice());
  EXPECT_TRUE(c->PageTimer().IsStopped()) << "nothing times a page without a voice before its text is out";
  // Typing "Hello", one character a step; the wait starts when the text has told it is done.
  int steps = 0;
  while (c->PageTimer().IsStopped() && steps < 100) Steps(1), ++steps;
  ASSERT_LT(steps, 100);
  EXPECT_TRUE(TextComplete(c));
  EXPECT_EQ(c->PageTimer().Period(), UIComics::kTextWaitMs);
  Steps(79);
  EXPECT_EQ(c->Page(), 1);
  Steps(1);
  EXPECT_EQ(c->Page(), 2) << "2000 ms after the text";
  EXPECT_NE(c->PreviousText(), nullptr) << "page 1 stays while it fades out";
  EXPECT_TRUE(c->Fading());
  Steps(20);
  // 525 ms into the second's cross-fade: 134 of 255 faded out.
  EXPECT_NEAR(int(c->PreviousPicture()->Colour() >> 24), 121, 1) << "half way through the cross-fade";
  Steps(19);
  EXPECT_FALSE(c->Fading());
  EXPECT_EQ(c->PreviousText(), nullptr);
  EXPECT_EQ(c->FindChild("Back1"), nullptr) << "page 1's windows are gone";
  EXPECT_NE(c->FindChild("Back2"), nullptr);
}

TEST_F(Comics, AClickShowsTheWholeTextAndASecondClickTurnsThePage) {
  WithSounds();
  UIComics* c = Show(2);
  Steps(10);
  ClickPage();
  EXPECT_EQ(Heard("menu_click"), 0) << "clicks wait for the page to be open";
  Open();
  ASSERT_EQ(c->ComicsState(), UIComics::kShowing);
  ASSERT_FALSE(TextComplete(c)) << "a character a second";
  ClickPage();
  EXPECT_EQ(Heard("menu_click"), 1);
  EXPECT_TRUE(TextComplete(c));
  EXPECT_TRUE(c->TimedOut());
  EXPECT_TRUE(c->PageTimer().IsStopped()) << "the voice no longer decides";
  EXPECT_EQ(c->Page(), 2);
  Steps(200);
  EXPECT_EQ(c->Page(), 2) << "a completed page waits for the player";
  ClickPage();
  EXPECT_EQ(Heard("menu_click"), 2);
  EXPECT_EQ(c->Page(), 3);
  ClickPage();
  EXPECT_EQ(Heard("menu_click"), 2) << "not while the pages cross-fade";
  EXPECT_EQ(c->Page(), 3);
}

TEST_F(Comics, AVoicedPageLastsItsVoiceAndASecondUnlessVoicesAreOff) {
  WithSounds();
  UIComics* c = Show(2);
  ASSERT_TRUE(c->HasVoice());
  EXPECT_EQ(c->PageTimer().Period(), 1500) << "half a second of voice, then a second";
  Open();
  Steps(59 - 41);
  EXPECT_EQ(c->Page(), 2);
  Steps(1);
  EXPECT_EQ(c->Page(), 3) << "the voice decides, not the slow text";
  EXPECT_FALSE(c->HasVoice()) << "the voice of the page before is stopped";

  // The page's own length wins over the voice's.
  std::string def = kComicsDef;
  def.replace(def.find("sound=voice2\n"), 13, "sound=voice2\nvoiceTime=2500\n");
  testkit::writeFile(UIComics::kFile, def);
  iniFreeAll();
  c = Show(2);
  EXPECT_EQ(c->PageTimer().Period(), 2500);

  // With the voices switched off the page is timed by its text.
  AddPlayer(u"Robin");
  playerProgress()->voicesOn = false;
  c = Show(2);
  EXPECT_FALSE(c->HasVoice());
  EXPECT_TRUE(c->PageTimer().IsStopped());
}

TEST_F(Comics, SkipJumpsToThePageMarkedLastAndThePrevAndNextButtonsFollowThePage) {
  UIComics* c = Show(1);
  Open();
  UIWnd* prev = c->FindChild("Prev");
  UIWnd* next = c->FindChild("Next");
  UIWnd* skip = c->FindChild("Skip");
  UIWnd* play = c->FindChild("Play");
  EXPECT_EQ(prev->State(), UIWnd::Ignore) << "the first page has nothing before it";
  EXPECT_NE(next->State(), UIWnd::Ignore);
  EXPECT_FALSE(skip->Hidden());
  EXPECT_TRUE(play->Hidden());
  Click(skip);
  EXPECT_EQ(c->Page(), 3) << "page 3 is marked last";
  EXPECT_TRUE(c->LastPage());
  EXPECT_EQ(next->State(), UIWnd::Ignore);
  EXPECT_TRUE(skip->Hidden());
  EXPECT_FALSE(play->Hidden());
  EXPECT_EQ(play->State(), UIWnd::Normal);
  Click(prev);
  EXPECT_EQ(c->Page(), 2);
  EXPECT_NE(prev->State(), UIWnd::Ignore);
  Click(next);
  EXPECT_EQ(c->Page(), 3);
  EXPECT_EQ(c->ComicsState(), UIComics::kShowing) << "turning pages does not end the story";
  EXPECT_EQ(UIComics::LastPageFrom(5), 6);
  EXPECT_EQ(UIComics::LastPageFrom(8), 8);
}

TEST_F(Comics, EscapeEndsTheIntroAtOnceAndTheFirstLevelStartsLoading) {
  UIComics* c = Show(1);
  Open();
  Key(VK_ESCAPE_);
  EXPECT_EQ(c->ComicsState(), UIComics::kClosing);
  EXPECT_EQ(c->Page(), 3) << "Escape counts as having read to the end";
  Steps(40);
  EXPECT_TRUE(c->Finished());
  Steps(1);
  EXPECT_NE(dynamic_cast<Menu::UILevelLoading*>(Screen()), nullptr) << "the intro's end starts the level";
}

TEST_F(Comics, AStoryAfterALevelEndsOnTheLevelMap) {
  UIComics* c = Show(8);
  Open();
  UIWnd* play = c->FindChild("Play");
  ASSERT_FALSE(play->Hidden()) << "one page: first and last";
  EXPECT_EQ(c->FindChild("Prev")->State(), UIWnd::Ignore);
  Click(play);
  EXPECT_EQ(c->ComicsState(), UIComics::kClosing);
  Steps(42);
  EXPECT_NE(dynamic_cast<Menu::UILevelMenu*>(Screen()), nullptr);
}

TEST_F(Comics, TheGameEndsWithTheCreditsTheEyesAndTheLaughThenTheMenuWithTheTable) {
  WithSounds();
  AddPlayer(u"Robin");
  UIComics* c = Show(6);
  Open();
  Click(c->FindChild("Play"));
  Steps(40);
  ASSERT_EQ(c->ComicsState(), UIComics::kCreditsWait) << "dark: the closing sequence";
  EXPECT_FALSE(c->Finished());
  ASSERT_NE(c->Credits(), nullptr);
  EXPECT_EQ(c->Child(1), c->Credits()) << "over the black fade, under the eyes";
  EXPECT_EQ(c->TextWindow(), nullptr);
  EXPECT_EQ(Heard("music1"), 1);
  // The title has no opening animation: two seconds, then the credits roll up 40 pixels a second.
  Steps(80);
  EXPECT_EQ(c->ComicsState(), UIComics::kCreditsRoll);
  const int y = c->Credits()->Y();
  Steps(20);
  EXPECT_EQ(c->Credits()->Y(), y - 20);
  Steps(20);
  EXPECT_EQ(c->ComicsState(), UIComics::kEyesIn) << "their bottom edge has left the screen";
  Steps(60);
  EXPECT_EQ(int(c->FindChild("Eyes")->Colour() >> 24), 64) << "half way up to 128";
  EXPECT_EQ(Heard("WitchLaugh"), 0);
  Steps(60);
  EXPECT_EQ(c->ComicsState(), UIComics::kEyesOut);
  EXPECT_EQ(Heard("WitchLaugh"), 1);
  Steps(30);
  EXPECT_EQ(int(c->FindChild("Eyes")->Colour() >> 24), 96);
  Steps(90);
  EXPECT_TRUE(c->Finished());
  EXPECT_EQ(Heard("AllTasksCompleted"), UIComics::kFanfares) << "three times during the sequence";
  sndStopMusicNow();  // so the menu's music starts at once rather than after a cross-fade
  Steps(1);
  auto* menu = dynamic_cast<Menu::UIMainMenu*>(Screen());
  ASSERT_NE(menu, nullptr) << "then the main menu";
  EXPECT_EQ(menu->Modal().Kind(), Menu::UIMainMenu::kScores);
  EXPECT_EQ(Heard("menu"), 1);
}

TEST_F(Comics, AKeyDuringTheCreditsFadesThemOutAndTheEyesFollow) {
  UIComics* c = Show(5);
  Open();
  Key(VK_ESCAPE_);
  EXPECT_EQ(c->Page(), 6) << "the game's last page";
  Steps(40);
  ASSERT_EQ(c->ComicsState(), UIComics::kCreditsWait);
  Key(VK_SPACE_);
  EXPECT_EQ(c->ComicsState(), UIComics::kCreditsFade);
  Steps(20);
  EXPECT_NEAR(int(c->Credits()->Colour() >> 24), 127, 2);
  Steps(19);
  EXPECT_EQ(c->Credits()->Colour() >> 24, 0u) << "below 10 counts as gone";
  Steps(1);
  EXPECT_EQ(c->ComicsState(), UIComics::kEyesIn);
}

TEST_F(Comics, ThePlanTellsWhichStoryFollowsWhichLevel) {
  const Menu::cComicsPlan plan = Menu::cComicsPlan::Read(UIComics::kFile);
  EXPECT_EQ(plan.introPage, 1);
  EXPECT_EQ(plan.introEndPage, 3);
  EXPECT_EQ(plan.gameEndPage, 6);
  EXPECT_EQ(plan.gameEndLevel, 5);
  EXPECT_EQ(plan.PageAfterLevel(2), 8);
  EXPECT_EQ(plan.PageAfterLevel(5), 5);
  EXPECT_EQ(plan.PageAfterLevel(15), 0) << "the data's list replaces the full campaign's";

  // Without the data the full campaign's numbers hold; a bad entry is named and left out.
  testkit::writeFile("data/menu/other.ini", "[Main]\n[AfterLevel]\nten=3\n12=0\n9=4\n");
  const Menu::cComicsPlan none = Menu::cComicsPlan::Read("data/menu/missing.ini");
  EXPECT_EQ(none.introEndPage, 4);
  EXPECT_EQ(none.gameEndPage, 10);
  EXPECT_EQ(none.gameEndLevel, 47);
  EXPECT_EQ(none.PageAfterLevel(15), 5);
  EXPECT_EQ(none.PageAfterLevel(31), 7);
  EXPECT_EQ(none.PageAfterLevel(47), 9);
  errorLogClose();  // gerr.log opens afresh in this folder
  std::filesystem::remove("gerr.log");
  const Menu::cComicsPlan bad = Menu::cComicsPlan::Read("data/menu/other.ini");
  EXPECT_EQ(bad.afterLevel.size(), 1u);
  EXPECT_EQ(bad.PageAfterLevel(9), 4);
  errorLogClose();
  EXPECT_NE(testkit::readFile("gerr.log").find("data/menu/other.ini [AfterLevel]: \"ten\""), std::string::npos);
}

TEST_F(Comics, TheCampaignTellsTheIntroFirstAndAStoryAfterTheLevelsThatHaveOne) {
  WithSounds();
  AddPlayer(u"Robin");
  Menu::StartGame();
  auto* intro = dynamic_cast<UIComics*>(Screen());
  ASSERT_NE(intro, nullptr) << "a new player hears the intro first";
  EXPECT_EQ(intro->Page(), 1);
  Menu::PlayCurrentLevel();
  EXPECT_NE(dynamic_cast<UIComics*>(Screen()), nullptr) << "level 1 from the map: the intro again";

  // Won level 2 has a story after it; level 3 does not.
  Menu::RecordLevelWon(2, 900, 60, 3);
  Menu::AfterLevel(false);
  auto* after = dynamic_cast<UIComics*>(Screen());
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->Page(), 8);
  Menu::RecordLevelWon(3, 900, 60, 3);
  Menu::AfterLevel(false);
  EXPECT_NE(dynamic_cast<Menu::UILevelMenu*>(Screen()), nullptr);
  // A lost level (no result entered) never shows one, nor does a restart.
  Menu::AfterLevel(false);
  EXPECT_NE(dynamic_cast<Menu::UILevelMenu*>(Screen()), nullptr);
  Menu::RecordLevelWon(2, 900, 60, 3);
  Menu::AfterLevel(true);
  EXPECT_NE(dynamic_cast<Menu::UILevelLoading*>(Screen()), nullptr);

  // The level that ends the game: its music, then the game's last story.
  heard.clear();
  sndStopMusicNow();
  Menu::RecordLevelWon(5, 900, 60, 3);
  Menu::AfterLevel(false);
  auto* last = dynamic_cast<UIComics*>(Screen());
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->Page(), 5);
  EXPECT_EQ(Heard("OnGameWin"), 1);
  EXPECT_EQ(Heard("menu"), 0);

  // Once level 1 has been played the menu's Play goes to the map.
  PlayerProgress* p = playerProgress();
  p->finished[p->mode][0] = 1;
  p->level[p->mode] = 1;
  Menu::StartGame();
  EXPECT_NE(dynamic_cast<Menu::UILevelMenu*>(Screen()), nullptr);
}

namespace {
struct DemoStories : gametest::DemoCopySlate {
  const char* CopyName() const override { return "demo_stories"; }
};
}  // namespace

TEST_F(DemoStories, TheDemosStoriesStandWhereThePlanSaysWithPicturesTextsAndVoicesInBothLanguages) {
  const Menu::cComicsPlan plan = Menu::cComicsPlan::Read(UIComics::kFile);
  const int introEnd = UIComics::LastPageFrom(plan.introPage);
  EXPECT_EQ(introEnd, plan.introEndPage) << "the intro's last page starts the level";
  EXPECT_GE(introEnd - plan.introPage + 1, 3) << "three or four pages";
  EXPECT_LE(introEnd - plan.introPage + 1, 4);
  const int finale = plan.PageAfterLevel(plan.gameEndLevel);
  ASSERT_GT(finale, 0) << "a story follows the level that ends the game";
  EXPECT_EQ(UIComics::LastPageFrom(finale), plan.gameEndPage);
  EXPECT_TRUE(Menu::LevelExists(plan.gameEndLevel));
  EXPECT_FALSE(Menu::LevelExists(plan.gameEndLevel + 1)) << "the game ends after the demo's last level";
  std::vector<int> pages;
  for (int p = plan.introPage; p <= introEnd; ++p) pages.push_back(p);
  for (int p = finale; p <= plan.gameEndPage; ++p) pages.push_back(p);
  std::vector<std::string> voices;
  for (const char* language : {"en", "ru"}) {
    iniSetLanguage(language);
    for (int p : pages) {
      SCOPED_TRACE(std::string(language) + " page " + std::to_string(p));
      const std::string text = "Text" + std::to_string(p), back = "Back" + std::to_string(p);
      const std::u16string words = iniWText(UIComics::kFile, text.c_str(), "name");
      EXPECT_GT(words.size(), 20u);
      EXPECT_NE(words.front(), u'#') << "translated";
      const std::string voice = iniText(UIComics::kFile, back.c_str(), "sound");
      ASSERT_FALSE(voice.empty());
      EXPECT_NE(voice.front(), '#');
      const std::string wav = iniString(UIComics::kSoundFile, voice.c_str(), "name");
      EXPECT_TRUE(fileExists(wav.c_str())) << voice << ": " << wav;
      voices.push_back(voice);
      C_Animation* page = kfLibrary().Get(iniString(UIComics::kFile, back.c_str(), "anim"));
      ASSERT_NE(page, nullptr);
      EXPECT_GE(page->flat.size(), 2u) << "a painting and something moving over it";
      for (const C_AnimationObject* o : page->flat)
        if (!o->pictureName.empty()) EXPECT_TRUE(fileExists(o->pictureName.c_str())) << o->pictureName;
    }
  }
  iniSetLanguage("");
  std::sort(voices.begin(), voices.end());
  EXPECT_EQ(std::unique(voices.begin(), voices.end()), voices.end()) << "each language hears its own voice";
  // The closing screens have pictures to show (a screen without one would be passed at once).
  for (const char* screen : {"data/menu/last2.ini", "data/menu/last.ini"})
    EXPECT_TRUE(fileExists(iniString(screen, "Back", "ignore").c_str())) << screen;
}
