// The tips over a level, run headless with the view on screen: which tip each tutorial stage opens
// on which event, the two one-time hints of every level, the player's profile flags that keep tips
// from coming back, the arrow's place and angle, closing by OK, by a click beside the card, by the
// click on the object a tip asks for and by the switch that turns tips off, a level without the
// object a tip is about, and the level standing still while a tip is read.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "anim/anim_catalogue.h"
#include "files/name_hash.h"
#include "files/players.h"
#include "game/core/game_main.h"
#include "game/core/game_view.h"
#include "game/core/tips.h"
#include "game/interface/interface.h"
#include "obstacle_levels.h"
#include "platform/platform.h"
#include "support/input_script.h"
#include "ui/widget_switch.h"
#include "ui/wnd.h"

using Game::cTips;
using Game::Event;
using testkit::GameHarness;
using testkit::Pack;

namespace {
constexpr float kPi = 3.14159265f;

// A card of 200 x 100 at (300, 300) with its switch at the left of its bottom row and OK at the
// right; tip 3 (the bonus) moves the card to (600, 100) and has an arrow of its own, tip 6 (the
// bridge) waits for its object, tips 12 and 13 have the arrows the game shifts.
std::string tipsDocument() {
  std::string doc =
      "[Main]\nx=0\ny=0\nxs=1024\nys=768\n"
      "[Back]\ntype=sprite\nx=300\ny=300\nxs=200\nys=100\n"
      "[Tips]\ntype=switch\nx=310\ny=360\nxs=20\nys=20\nstage=1\n0=Keep\n1=NoMore\n[Keep]\n[NoMore]\n"
      "[OK]\ntype=sprite\nx=420\ny=360\nxs=60\nys=30\nstage=1\n"
      "[Tip4]\nx=600\ny=100\nisArrow=1\narrowX=40\narrowY=50\nangle=30\n"
      "[Tip7]\nMustClickOnObject=1\n"
      "[Tip13]\nisArrow=1\narrowX=100\narrowY=60\nangle=270\n"
      "[Tip14]\nisArrow=1\narrowX=-160\narrowY=-6\nangle=180\n";
  for (int i = 1; i <= 14; ++i)
    doc += "[Text" + std::to_string(i) + "]\ntype=text\nx=310\ny=310\nxs=180\nys=40\nname=tip " + std::to_string(i) +
           "\n";
  return doc;
}

// The balance of the tests' levels: one worker, Food for a bridge of 5, room for 40.
std::string balance(int food = 20) {
  return obstest::balance(1, food, 0, 0, "[ResourcesMax]\nFood=40\nOre=40\nGold=40\n");
}

constexpr const char* kWallBlock = "[Block]\ntype=simple\nx=505\ny=400\nisObstacle=1\nobstacleXS=10\nobstacleYS=30\n";

struct Tips : obstest::Level {
  void SetUp() override {
    obstest::Level::SetUp();
    gametest::freshUserFolder("Tips Test", "TipsTest");
    ASSERT_TRUE(playerAdd(u"Ann"));
    ASSERT_TRUE(playerSelect(0));
    gametest::writeFile(cTips::kFile, tipsDocument());
    iniFreeAll();
    // The arrow's animation: the bob runs only with it.
    gametest::writeFile("tips_anims.xml", std::string("<Animations>\n<Animation id=\"") + cTips::kArrowAnimation +
                                              "\" path=\"tips_arrow.png\" period=\"1000\" frames=\"1\"/>\n</Animations>\n");
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("tips_anims.xml"));
    wndSetRoot(new UIWnd());
  }
  void TearDown() override {
    Game::EndLevel();
    Core::animManager().Clear();
    UIWnd* root = wndRoot();
    wndSetRoot(nullptr);
    delete root;
    wndCollectGarbage();
    std::filesystem::remove_all("data/tips");
    playersClear();
    std::filesystem::remove("game.ini");
    obstest::Level::TearDown();
  }
  PlayerProgress& record() { return *playerProgress(); }
  // Level n with the barn, `map` and the wall down column 50 whose gap `map` may block, its clock
  // running, on screen. The workers are still greeting at the barn's door: no event of the level
  // has opened a tip yet.
  void Load(GameHarness& h, int n, const std::string& map, int food = 20) {
    testkit::LevelFiles f;
    f.balance = balance(food);
    f.map = std::string(obstest::kBarn) + map;
    f.grid = obstest::wallWithGap();
    std::string error;
    ASSERT_TRUE(testkit::WriteTestLevel(n, f, &error)) << error;
    ASSERT_TRUE(h.Load(n));
    h.Action(1);
    Game::levelShowView();
    ASSERT_NE(view(), nullptr);
    ASSERT_FALSE(tips().IsOpen());
  }
  Game::cGameView* view() const { return Game::levelContext() ? Game::levelContext()->view : nullptr; }
  cTips& tips() const { return *view()->tips(); }
  void Send(Event code, uint32_t tag = 0, int index = 4) {
    GameEvent e;
    MakeEvent(e, code);
    e.tag = int32_t(tag);
    e.index = index;
    Post(Game::levelContext()->dispatcher.get(), e);
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) {
      wndRoot()->Update(25);
      wndCollectGarbage();
    }
  }
  void Move(int x, int y) { wndOfferMouseMove(0, Pack(x, y)); }
  void Click(int x, int y) {
    Move(x, y);
    wndOfferKeyDown(VK_LBUTTON_, Pack(x, y));
    wndOfferKeyUp(VK_LBUTTON_, Pack(x, y));
    wndCollectGarbage();
  }
  void ClickOk() { Click(450, 375); }
  Map::cObject* byName(GameHarness& h, const char* name) { return obstest::byName(h, name); }
};

int countOf(const GameHarness& h, Event code) { return h.CountOf(code); }
}  // namespace

// ---- Choosing the level's tips ------------------------------------------------------------------

TEST_F(Tips, TheProfileDecidesTheStageAndTheOneTimeHintsAlreadySeen) {
  cTips fresh(nullptr);
  fresh.SelectTips(2);
  EXPECT_EQ(fresh.tutorialStage(), 2);
  EXPECT_FALSE(fresh.Shown(cTips::kResourceFullTip));
  EXPECT_FALSE(fresh.Shown(cTips::kGoldLostTip));

  // A level played to its end once keeps its tutorial to itself, unless tips are always wanted.
  record().tipsShown[1] = true;
  cTips replay(nullptr);
  replay.SelectTips(2);
  EXPECT_EQ(replay.tutorialStage(), 0);
  gametest::writeFile("tips_always.ini", "[main]\nGame_Tips_Always=1\n");
  testSettingsLoad("tips_always.ini");
  cTips always(nullptr);
  always.SelectTips(2);
  EXPECT_EQ(always.tutorialStage(), 2);
  testSettingsLoad("none.ini");

  // Only levels below 48 have a tutorial to remember.
  cTips last(nullptr);
  last.SelectTips(48);
  EXPECT_EQ(last.tutorialStage(), 0);

  record().exactTips[cTips::kResourceFullTip] = true;
  cTips seenFull(nullptr);
  seenFull.SelectTips(3);
  EXPECT_EQ(seenFull.tutorialStage(), 3);
  EXPECT_TRUE(seenFull.Shown(cTips::kResourceFullTip));
  EXPECT_FALSE(seenFull.Shown(cTips::kGoldLostTip));

  // Tips switched off: no stage and both hints counted as seen for the whole level.
  record().tipsOn = false;
  cTips off(nullptr);
  off.SelectTips(3);
  EXPECT_EQ(off.tutorialStage(), 0);
  EXPECT_TRUE(off.Shown(cTips::kResourceFullTip));
  EXPECT_TRUE(off.Shown(cTips::kGoldLostTip));

  // Without a player nothing could remember a tip: none is shown.
  playersClear();
  cTips nobody(nullptr);
  nobody.SelectTips(1);
  EXPECT_EQ(nobody.tutorialStage(), 0);
  EXPECT_FALSE(nobody.tipsEnabled());
}

TEST_F(Tips, TheArrowAngleIsBroughtIntoRangeOnceAndMirroredByTheGivenDegrees) {
  cTips t(nullptr);
  const auto degrees = [&] { return t.arrowAngle() * 180.0f / kPi; };
  t.SetArrowAngle(-90);
  EXPECT_NEAR(degrees(), 270.0f, 0.01f);
  EXPECT_FALSE(t.arrowMirrored());
  t.SetArrowAngle(400);
  EXPECT_NEAR(degrees(), 40.0f, 0.01f);
  EXPECT_FALSE(t.arrowMirrored()) << "400 lies outside 46 to 224";
  t.SetArrowAngle(360);
  EXPECT_NEAR(degrees(), 360.0f, 0.01f);
  t.SetArrowAngle(-400);
  EXPECT_NEAR(degrees(), -40.0f, 0.01f) << "only once";
  for (int d : {46, 180, 224}) {
    t.SetArrowAngle(d);
    EXPECT_TRUE(t.arrowMirrored()) << d;
  }
  for (int d : {45, 225, 0, 270}) {
    t.SetArrowAngle(d);
    EXPECT_FALSE(t.arrowMirrored()) << d;
  }
}

// ---- The tutorial stages ------------------------------------------------------------------------

TEST_F(Tips, LevelOneShowsTheFirstTipAtAClickableObjectAndTheSecondOnlyOnceTheWayIsOpen) {
  GameHarness h;
  Load(h, 1,
       "[Food4]\ntype=bonus\nsubType=food\nx=300\ny=600\nboundXS=20\nboundYS=20\nresource=Food\nresourceValue=5\n"
       "[Totem11]\ntype=building\nsubType=sawMill\nx=800\ny=400\n" +
           std::string(kWallBlock));
  ASSERT_EQ(tips().tutorialStage(), 1);
  Map::cObject* food = byName(h, "Food4");
  ASSERT_NE(food, nullptr);
  food->Set(Map::kFlagClickable, false);
  Send(Event::PersonBackHome);
  EXPECT_FALSE(tips().IsOpen()) << "nothing to click yet";
  EXPECT_FALSE(tips().Shown(0));
  food->Set(Map::kFlagClickable, true);
  Send(Event::PersonBackHome);
  ASSERT_TRUE(tips().IsOpen());
  EXPECT_EQ(tips().tipIndex(), 0);
  EXPECT_EQ(tips().RequiredTag(), NameHash("Food4"));
  EXPECT_EQ(countOf(h, Event::TipShown), 1);
  // Left of the screen's middle the arrow stands right of the object's box.
  EXPECT_TRUE(tips().arrowShown());
  EXPECT_EQ(tips().arrowX(), 300 + 20 + cTips::kArrowGap);
  EXPECT_EQ(tips().arrowY(), 600);
  ClickOk();
  EXPECT_FALSE(tips().IsOpen());

  Send(Event::PersonBackHome);
  EXPECT_FALSE(tips().IsOpen()) << "the saw mill lies behind the blocked gap";
  h.map().Remove(byName(h, "Block")->id);
  h.map().Sweep();
  Send(Event::PersonBackHome);
  ASSERT_TRUE(tips().IsOpen());
  EXPECT_EQ(tips().tipIndex(), 1);
  // Right of the middle: left of the box, pointing back at it.
  EXPECT_EQ(tips().arrowX(), 800 - byName(h, "Totem11")->boundHalfSize.x - cTips::kArrowGap);
  EXPECT_NEAR(tips().arrowAngle(), kPi, 1e-4f);
  EXPECT_TRUE(tips().arrowMirrored());
}

TEST_F(Tips, LevelTwoOpensItsTipsOneAtATimeByTheirEvents) {
  GameHarness h;
  Load(h, 2,
       "[OreGenerator1]\ntype=building\nsubType=sawMill\nx=300\ny=200\n"
       "[Other]\ntype=building\nsubType=sawMill\nx=300\ny=600\n"
       "[Bridge1_Top1]\ntype=brokenPath\nx=505\ny=400\nboundXS=20\nboundYS=20\nsupportX=-30\nsupportY=0\nisBroken=1\n"
       "isObstacle=1\nobstacleXS=10\nobstacleYS=30\nPerson_Repair_Time_Food=5\n");
  ASSERT_EQ(tips().tutorialStage(), 2);
  Send(Event::PersonBackHome);
  ASSERT_TRUE(tips().IsOpen());
  EXPECT_EQ(tips().tipIndex(), 2) << "the first return home opens the plain tip, never the ore pit's as well";
  EXPECT_FALSE(tips().Shown(4));
  ClickOk();
  Send(Event::PersonBackHome);
  EXPECT_EQ(tips().tipIndex(), 4);
  ClickOk();
  Send(Event::PersonBackHome);
  EXPECT_FALSE(tips().IsOpen());

  // Tip 3 moves its card and brings its own arrow.
  Send(Event::PlayerBonusAvailable);
  ASSERT_EQ(tips().tipIndex(), 3);
  ASSERT_NE(tips().Box(), nullptr);
  EXPECT_EQ(tips().Box()->X(), 600);
  EXPECT_EQ(tips().Box()->Y(), 100);
  EXPECT_EQ(tips().FindChild("OK")->X(), 720) << "every widget moved with the card";
  EXPECT_EQ(tips().arrowX(), 40);
  EXPECT_EQ(tips().arrowY(), 50);
  EXPECT_NEAR(tips().arrowAngle(), 30.0f * kPi / 180.0f, 1e-4f);
  Click(750, 175);  // OK of the moved card
  EXPECT_FALSE(tips().IsOpen());

  Send(Event::OperationFinished, NameHash("Other"));
  EXPECT_FALSE(tips().IsOpen()) << "only the ore pit's finished work";
  Send(Event::OperationFinished, NameHash("OreGenerator1"));
  EXPECT_EQ(tips().tipIndex(), 5);
  ClickOk();

  // The bridge: it must be on offer, affordable and reachable.
  h.stock().SpendResource(Game::kFood, h.stock().Amount(Game::kFood) - 2);
  Send(Event::ResourceAdded);
  EXPECT_FALSE(tips().IsOpen()) << "2 Food do not pay for the bridge";
  h.stock().AddResource(Game::kFood, 10, false, 0, 0);
  ASSERT_TRUE(tips().IsOpen()) << "the stock's own event 73 finds the bridge affordable now";
  EXPECT_EQ(tips().tipIndex(), 6);
  EXPECT_EQ(tips().RequiredTag(), NameHash("Bridge1_Top1"));
}

TEST_F(Tips, AMendedBridgeIsNoLongerOfferedByItsTip) {
  GameHarness h;
  Load(h, 2,
       "[Bridge1_Top1]\ntype=brokenPath\nx=505\ny=400\nboundXS=20\nboundYS=20\nsupportX=-30\nsupportY=0\nisBroken=0\n");
  Send(Event::PersonBackHome);
  ClickOk();
  Send(Event::ResourceAdded);
  EXPECT_FALSE(tips().IsOpen());
  EXPECT_FALSE(tips().Shown(6));
}

TEST_F(Tips, LaterStagesPointAtTheirObjectsAndAUsedBonusAtItsPlace) {
  {
    GameHarness h;
    Load(h, 3,
         "[Place]\ntype=simple\nx=700\ny=600\nboundXS=30\n[FoodGenerator1]\ntype=building\nsubType=sawMill\nx=300\n"
         "y=200\n");
    Send(Event::BonusUsed, NameHash("Place"));
    ASSERT_EQ(tips().tipIndex(), 7);
    EXPECT_EQ(tips().RequiredTag(), NameHash("Place"));
    EXPECT_EQ(tips().arrowX(), 700 - 30 - cTips::kArrowGap);
    ClickOk();
    Send(Event::PersonBackHome);
    EXPECT_EQ(tips().tipIndex(), 8);
  }
  for (const auto& [level, tip, tag] : {std::tuple{4, 9, "Barn1"}, std::tuple{6, 10, "WarriorHut1"},
                                        std::tuple{8, 11, "OreMine1"}}) {
    GameHarness h;
    Load(h, level, std::string("[") + tag + "]\ntype=building\nsubType=sawMill\nx=300\ny=200\n");
    Send(Event::PersonBackHome);
    EXPECT_EQ(tips().tipIndex(), tip) << "level " << level;
    EXPECT_EQ(tips().RequiredTag(), NameHash(tag));
  }
}

TEST_F(Tips, ATipWhoseObjectTheLevelLacksIsNotShownAndToldOnce) {
  // Levels 4 and 6 point at their barn and warrior hut without asking first whether they exist.
  for (int level : {4, 6}) {
    gametest::clearGerr();
    GameHarness h;
    Load(h, level, "[Barn2]\ntype=building\nsubType=sawMill\nx=300\ny=200\n");
    Send(Event::PersonBackHome);
    Send(Event::PersonBackHome);
    EXPECT_FALSE(tips().IsOpen());
    EXPECT_EQ(countOf(h, Event::TipShown), 0);
    const std::string log = gametest::gerrText();
    const std::string name = level == 4 ? "\"Barn1\"" : "\"WarriorHut1\"";
    const size_t at = log.find(name);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_NE(log.find("data/tips/tips.ini"), std::string::npos);
    EXPECT_EQ(log.find(name, at + 1), std::string::npos) << "once, however often the rule is tried";
  }
  // A used bonus names a place the map no longer has.
  GameHarness h;
  Load(h, 3, "");
  Send(Event::BonusUsed, NameHash("Gone"));
  EXPECT_FALSE(tips().IsOpen());
  EXPECT_FALSE(tips().Shown(7));
}

// ---- The one-time hints -------------------------------------------------------------------------

TEST_F(Tips, TheFullStoreAndTheLostGoldTimeAreHintedOncePerPlayer) {
  GameHarness h;
  Load(h, 120, "");
  EXPECT_EQ(tips().tutorialStage(), 0) << "no tutorial beyond the first levels";
  Send(Event::ResourceAtMaximum, 0, Game::kGold);
  ASSERT_EQ(tips().tipIndex(), cTips::kResourceFullTip);
  EXPECT_EQ(tips().arrowX(), 100 + 220) << "the Gold slot lies 220 pixels right of the document's point";
  EXPECT_EQ(tips().arrowY(), 60);
  EXPECT_TRUE(record().exactTips[cTips::kResourceFullTip]);
  ClickOk();
  Send(Event::ResourceAtMaximum, 0, Game::kOre);
  EXPECT_FALSE(tips().IsOpen());

  Send(Event::ThirdStarLost);
  ASSERT_EQ(tips().tipIndex(), cTips::kGoldLostTip);
  int px = 0, py = 0;
  const Interface::UIInterface* ui = view()->interfaceWnd();
  if (!ui || !ui->GoldMarkPoint(px, py)) px = py = 0;
  EXPECT_EQ(tips().arrowX(), px - 160);
  EXPECT_EQ(tips().arrowY(), py - 6);
  EXPECT_TRUE(record().exactTips[cTips::kGoldLostTip]);
  ClickOk();

  // The next level of the same player has both behind it.
  GameHarness next;
  Load(next, 121, "");
  Send(Event::ResourceAtMaximum, 0, Game::kFood);
  Send(Event::ThirdStarLost);
  EXPECT_FALSE(tips().IsOpen());
}

// ---- Closing ------------------------------------------------------------------------------------

TEST_F(Tips, OkOrAClickBesideTheCardClosesATipAndTheClickGoesNoFurther) {
  GameHarness h;
  Load(h, 2, "[Stone]\ntype=evilstone\nsubType=stone\nx=700\ny=600\nboundXS=26\nboundYS=26\nisBroken=1\n"
                 "Person_Repair_Time_Food=3\n");
  Send(Event::PersonBackHome);
  ASSERT_TRUE(tips().IsOpen());
  // A click inside the card but on nothing of it keeps the tip.
  Click(320, 320);
  ASSERT_TRUE(tips().IsOpen());
  ClickOk();
  EXPECT_FALSE(tips().IsOpen());
  const GameEvent* closed = h.Last(Event::TipClosed);
  ASSERT_NE(closed, nullptr);
  EXPECT_EQ(closed->value, 2);
  EXPECT_EQ(closed->value2, 0);
  EXPECT_EQ(tips().ChildCount(), 0) << "the card's widgets are gone";
  EXPECT_TRUE(record().tipsOn);

  Send(Event::PlayerBonusAvailable);
  ASSERT_EQ(tips().tipIndex(), 3);
  const int32_t food = h.stock().Amount(Game::kFood);
  Click(700, 590);  // the stone, outside the card
  EXPECT_FALSE(tips().IsOpen());
  EXPECT_EQ(countOf(h, Event::SubjectClicked), 0) << "the click only closed the tip";
  EXPECT_EQ(h.stock().Amount(Game::kFood), food);
  Click(700, 590);
  EXPECT_EQ(countOf(h, Event::SubjectClicked), 1) << "with no tip the map has it";
}

TEST_F(Tips, ATipThatWaitsForItsObjectLetsOnlyThatObjectBeClicked) {
  GameHarness h;
  Load(h, 2,
       "[Stone]\ntype=evilstone\nsubType=stone\nx=200\ny=600\nboundXS=26\nboundYS=26\nisBroken=1\n"
       "Person_Repair_Time_Food=3\n"
       "[Bridge1_Top1]\ntype=brokenPath\nx=505\ny=400\nboundXS=20\nboundYS=20\nsupportX=-30\nsupportY=0\nisBroken=1\n"
       "isObstacle=1\nobstacleXS=10\nobstacleYS=30\nPerson_Repair_Time_Food=5\n");
  Send(Event::PersonBackHome);
  ClickOk();
  Send(Event::ResourceAdded);
  ASSERT_EQ(tips().tipIndex(), 6);
  EXPECT_TRUE(tips().requireClick());
  EXPECT_TRUE(tips().FindChild("OK")->Hidden());
  Click(200, 590);
  EXPECT_TRUE(tips().IsOpen()) << "another object does not answer";
  EXPECT_EQ(countOf(h, Event::SubjectClicked), 0);
  Click(850, 700);
  EXPECT_TRUE(tips().IsOpen()) << "nor does the ground";
  Click(505, 400);
  ASSERT_FALSE(tips().IsOpen()) << "the bridge's click (event 101) closes the tip";
  EXPECT_EQ(countOf(h, Event::SubjectClicked), 1);
  EXPECT_EQ(h.Last(Event::TipClosed)->value, 6);
}

TEST_F(Tips, ATipWaitingForAnObjectThatAnswersNoClickClosesAllTheSame) {
  // An object that takes no order posts no event 101; the tip must not wait for good.
  GameHarness h;
  Load(h, 2, "[Bridge1_Top1]\ntype=simple\nx=505\ny=400\nboundXS=20\nboundYS=20\n");
  byName(h, "Bridge1_Top1")->Set(Map::kFlagClickable, true);
  tips().ShowTip(NameHash("Bridge1_Top1"), 6, 0, 0);
  ASSERT_TRUE(tips().requireClick());
  Click(505, 400);
  EXPECT_EQ(countOf(h, Event::SubjectClicked), 0);
  ASSERT_FALSE(tips().IsOpen());
  ASSERT_NE(h.Last(Event::TipClosed), nullptr);
  EXPECT_EQ(h.Last(Event::TipClosed)->value, 6);
}

TEST_F(Tips, TheSwitchTurnsTipsOffForTheLevelAndThePlayer) {
  GameHarness h;
  Load(h, 2, "");
  Send(Event::PersonBackHome);
  ASSERT_TRUE(tips().IsOpen());
  Click(320, 370);  // the switch: its second option
  auto* sw = dynamic_cast<UISwitchBase*>(tips().FindChild("Tips"));
  ASSERT_NE(sw, nullptr);
  EXPECT_EQ(sw->Current(), 1);
  ClickOk();
  const GameEvent* closed = h.Last(Event::TipClosed);
  ASSERT_NE(closed, nullptr);
  EXPECT_EQ(closed->value2, 1);
  EXPECT_FALSE(tips().tipsEnabled());
  EXPECT_FALSE(record().tipsOn) << "the view answers event 22 in the player's record";
  Send(Event::PlayerBonusAvailable);
  Send(Event::ResourceAtMaximum, 0, Game::kFood);
  EXPECT_FALSE(tips().IsOpen());
  EXPECT_EQ(countOf(h, Event::TipShown), 1);
}

TEST_F(Tips, TheEndOfPlayRemovesAnOpenTipSilentlyAndMarksTheLevelSeen) {
  GameHarness h;
  Load(h, 2, "");
  Send(Event::PersonBackHome);
  ASSERT_TRUE(tips().IsOpen());
  Send(Event::GamePlayFinished);
  EXPECT_FALSE(tips().IsOpen());
  EXPECT_EQ(tips().ChildCount(), 0);
  EXPECT_EQ(countOf(h, Event::TipClosed), 0);
  EXPECT_TRUE(record().tipsShown[1]);
  EXPECT_FALSE(record().tipsShown[0]);
}

TEST_F(Tips, AnObjectClickClosesItsTipEvenWithTipsTurnedOffMeanwhile) {
  GameHarness h;
  Load(h, 2,
       "[Bridge1_Top1]\ntype=brokenPath\nx=505\ny=400\nboundXS=20\nboundYS=20\nsupportX=-30\nsupportY=0\nisBroken=1\n"
       "isObstacle=1\nobstacleXS=10\nobstacleYS=30\nPerson_Repair_Time_Food=5\n");
  Send(Event::PersonBackHome);
  ClickOk();
  Send(Event::ResourceAdded);
  ASSERT_EQ(tips().tipIndex(), 6);
  tips().SetTipsEnabled(false);  // the options were changed over the level
  Send(Event::SubjectClicked, NameHash("Bridge1_Top1"));
  EXPECT_FALSE(tips().IsOpen()) << "a tip that waits for a click must not stay for good";
}

// ---- The level waits ----------------------------------------------------------------------------

TEST_F(Tips, TheLevelStandsStillWhileATipIsOpen) {
  GameHarness h;
  Load(h, 2, "");
  ASSERT_EQ(h.phase(), Game::Phase::Running);
  Steps(4);
  const int32_t before = h.model().levelTimer().remaining;
  Send(Event::PersonBackHome);
  ASSERT_TRUE(tips().IsOpen());
  const float wobble = tips().wobble();
  Steps(40);
  EXPECT_EQ(h.model().levelTimer().remaining, before - 0) << "the model did not run";
  EXPECT_NE(tips().wobble(), wobble) << "the tip itself moves on";
  ClickOk();
  Steps(8);
  EXPECT_EQ(h.model().levelTimer().remaining, before - 200);
}

TEST_F(Tips, TheArrowBobsOutTwiceEveryTwoSeconds) {
  GameHarness h;
  Load(h, 120, "");
  Send(Event::ResourceAtMaximum, 0, Game::kFood);
  ASSERT_TRUE(tips().IsOpen());
  // Angle 270: the arrow bobs down, away from the board above it.
  float most = 0.0f;
  for (int step = 0; step < 80; ++step) {
    Steps(1);
    const float d = tips().ArrowOffset();
    most = std::max(most, d);
    EXPECT_NEAR(tips().ArrowDrawX(), float(tips().arrowX()), 0.01f);
    EXPECT_NEAR(tips().ArrowDrawY(), float(tips().arrowY()) + d, 0.01f);
  }
  EXPECT_NEAR(most, cTips::kAmplitude, 0.5f);
  // 500 ms in, the phase is at a quarter turn: furthest out; at 1000 ms back at the point.
  cTips t(nullptr);
  for (int i = 0; i < 20; ++i) t.Update(25);
  EXPECT_NEAR(t.ArrowOffset(), 30.0f, 0.05f);
  for (int i = 0; i < 20; ++i) t.Update(25);
  EXPECT_NEAR(t.ArrowOffset(), 0.0f, 0.05f);
  for (int i = 0; i < 40; ++i) t.Update(25);
  EXPECT_FLOAT_EQ(t.wobble(), 0.0f) << "a full turn restarts at 0";
}
