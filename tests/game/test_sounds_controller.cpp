// The level's sounds heard through the sound system with no device behind the mixer: each game
// event's sound under its condition and at its pan, the ambient sounds of the level's sounds.ini
// (their intervals, the switched-off ones, the included files), the controller's place in a
// running level (every phase, the script loaded and let go), and the music a level starts with.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "files/ini.h"
#include "files/name_hash.h"
#include "game/core/person.h"
#include "game/core/game_music.h"
#include "game/core/game_view.h"
#include "game/core/level_files.h"
#include "game/core/random.h"
#include "game/core/sounds_controller.h"
#include "game_test_util.h"
#include "platform/platform.h"
#include "sound/snd_mixer.h"
#include "sound/snd_test_util.h"
#include "sound/sound.h"
#include "support/demo_copy.h"
#include "support/game_harness.h"

using Game::Event;
using Game::Phase;

namespace {
namespace fs = std::filesystem;

// Every name of the event table, each with a short tone of its own.
const char* const kGameSoundNames[] = {
    "TaskCompleted",  "AllTasksCompleted", "HurryUp",        "3StarsLost",    "2StarsLost",
    "GameOver",       "GameOverVoice",     "LevelWin",       "ObjectUpgraded", "ActionComplete",
    "ObjectPlanUpgrade", "ObjectBroken",   "ForestReborn",   "ForestDead",    "TotemDestroyed",
    "BonusPlacedInBonusPlace", "WorkerOut", "LevelStart",    "PickGold",      "PickBonus",
    "TimeBarFreeze",  "TimeBarIceBreak"};

struct Heard {
  std::string name;
  int category;
  float pan;
  bool audible;
};

// The sound system on the hand-driven mixer with effects and music at full volume; every sound
// started goes into `heard`.
bool startHearing(std::vector<Heard>& heard) {
  if (!sndtest::startManual()) return false;
  sndSetCategoryVolume(1.0f, SND_SOUND);
  sndSetCategoryVolume(1.0f, SND_MUSIC);
  sndSetStartListener([&heard](const SndStarted& s) { heard.push_back({s.name, s.category, s.pan, s.audible}); });
  return true;
}

struct GameSounds : gametest::LevelSlate {
  void SetUp() override {
    gametest::LevelSlate::SetUp();
    fs::remove_all("data/snd");
    fs::remove_all("data/maps");
    const std::vector<uint8_t> wav = sndtest::makeWav(16, 1, 22050, sndtest::sine(600, 22050, 2205, 8000));
    testkit::writeFile("data/snd/gs_tone.wav", wav);
    std::string script = "[main]\nmaxvolume=1\npan=1\n";
    for (const char* name : kGameSoundNames) script += std::string("[") + name + "]\nname=data/snd/gs_tone.wav\n";
    script += "[Brook]\nname=data/snd/gs_tone.wav\n[Wind]\nname=data/snd/gs_tone.wav\n";
    gametest::writeFile("data/snd/gameSounds.ini", script);
    gametest::writeFile("data/snd/sounds.ini", "[main]\npan_factor=0.6\n");
    ASSERT_TRUE(startHearing(heard));
  }
  void TearDown() override {
    Game::EndLevel();
    sndSetStartListener(nullptr);
    sndDone();
    fs::remove_all("data/snd");
    fs::remove_all("data/maps");
    gametest::LevelSlate::TearDown();
  }
  // The effects heard since the last call, names only.
  std::vector<std::string> Effects() {
    std::vector<std::string> out;
    for (const Heard& h : heard)
      if (h.category == SND_SOUND) out.push_back(h.name);
    heard.clear();
    return out;
  }
  int CountOf(const std::string& name, int category = SND_SOUND) const {
    int n = 0;
    for (const Heard& h : heard) n += h.name == name && h.category == category;
    return n;
  }
  std::vector<Heard> heard;
};

using Names = std::vector<std::string>;

GameEvent event(Event code, int32_t x = 0, int32_t value = 0, int32_t value2 = 0) {
  GameEvent e;
  MakeEvent(e, code);
  e.x = x;
  e.value = value;
  e.value2 = value2;
  return e;
}

// A controller alone on its own dispatcher, with the game sounds loaded.
struct Alone {
  Alone() : sounds(&dispatcher) {
    sndLoadScript("data/snd/gameSounds.ini");
    sounds.RegisterEvents();
  }
  ~Alone() { sndFreeScript("data/snd/gameSounds.ini"); }
  void Post(GameEvent e) { ::Post(&dispatcher, e); }
  Game::cEventDispatcher dispatcher;
  Game::cSoundsController sounds;
};

std::string balance(int levelTime = 60000) {
  return "[Main]\ntLevelTime=" + std::to_string(levelTime) +
         "\ntGoldTime=20000\ntSilverTime=40000\nMinuteTime=1000\n[Resources]\nWorker=0\nFood=10\n"
         "[ResourcesMax]\nFood=30\nOre=30\nGold=30\n[ResourceHarvest]\nFood=5\nOre=3\nGold=2\n";
}
}  // namespace

TEST_F(GameSounds, EachEventPlaysItsSoundUnderItsCondition) {
  Alone a;
  const int32_t building = int32_t(NameHash("building")), decoration = int32_t(NameHash("decoration"));
  struct Case {
    GameEvent e;
    Names expect;
  };
  auto typed = [](Event code, int32_t type, int32_t value) {
    GameEvent e = event(code, 300, value);
    e.typeHash = type;
    return e;
  };
  auto picked = [](int32_t index) {
    GameEvent e = event(Event::ResourcesPickedUp, 700);
    e.index = index;
    return e;
  };
  const std::vector<Case> cases = {
      {event(Event::GoalCompleted), {"TaskCompleted"}},
      {event(Event::GoalProgress), {"TaskCompleted"}},
      {event(Event::GoalUncompleted), {}},
      {event(Event::AllGoalsCompleted), {"AllTasksCompleted"}},
      {event(Event::TimeRunningShort1), {"HurryUp"}},
      {event(Event::TimeRunningShort2), {"HurryUp"}},
      {event(Event::TimeRunningShort3), {"HurryUp"}},
      {event(Event::ThirdStarLost), {"3StarsLost"}},
      {event(Event::SecondStarLost), {"2StarsLost"}},
      {event(Event::LevelResultComputed), {"LevelWin"}},
      {typed(Event::OperationFinished, building, 0), {"ObjectUpgraded"}},
      {typed(Event::OperationFinished, decoration, 0), {"ActionComplete"}},
      {typed(Event::OperationFinished, building, 1), {}},
      {typed(Event::BuildingLevelReached, building, 0), {"ObjectUpgraded"}},
      {typed(Event::BuildingWorkFinished, 0, 0), {"ActionComplete"}},
      {typed(Event::BuildingWorkFinished, building, 7), {}},
      {event(Event::UpgradeOrdered), {"ObjectPlanUpgrade"}},
      {event(Event::ObjectBroke), {"ObjectBroken"}},
      {event(Event::ObjectBroke, 0, 1), {}},
      {event(Event::FogAreaOpens), {"ForestReborn"}},
      {event(Event::FogAreaCloses, 0, 1000, 1000), {"ForestDead"}},
      {event(Event::FogAreaCloses, 0, 1000, 0), {}},
      {event(Event::FogAreaCloses, 0, 0, 1000), {}},
      {event(Event::TotemDestroyed), {"TotemDestroyed"}},
      {event(Event::BonusPlaced), {"BonusPlacedInBonusPlace"}},
      {event(Event::PersonLeftHome, 500, 1), {"WorkerOut"}},
      {event(Event::PersonLeftHome, 500, 0), {}},
      {event(Event::LevelClockStarted), {"LevelStart"}},
      {picked(3), {"PickGold"}},
      {picked(1), {"PickBonus"}},
      {picked(4), {"PickBonus"}},
      {event(Event::TimeBarFreezes), {"TimeBarFreeze"}},
      {event(Event::TimeBarThaws), {}},
      {event(Event::TimeBarIceBreaks), {"TimeBarIceBreak"}},
      {event(Event::GameOver), {"GameOver", "GameOverVoice"}},
      // After a loss the result computed is not a win.
      {event(Event::LevelResultComputed), {}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    a.Post(cases[i].e);
    EXPECT_EQ(Effects(), cases[i].expect) << "case " << i << ", event " << cases[i].e.code;
  }

  // Switched off, nothing plays.
  a.sounds.SetEnabled(false);
  a.Post(event(Event::GoalCompleted));
  a.Post(picked(3));
  EXPECT_EQ(Effects(), Names{});
  a.sounds.SetEnabled(true);
  a.Post(event(Event::GoalCompleted));
  EXPECT_EQ(Effects(), Names{"TaskCompleted"});
}

TEST_F(GameSounds, PositionedSoundsPanByTheEventsXAndOthersPlayInTheMiddle) {
  Alone a;
  struct Case {
    GameEvent e;
    float pan;
  };
  GameEvent gold = event(Event::ResourcesPickedUp, 1024);
  gold.index = 3;
  const std::vector<Case> cases = {
      {event(Event::UpgradeOrdered, 256), -0.3f},      // (256 - 512) / 512 x 0.6
      {event(Event::ObjectBroke, 0), -0.6f},
      {event(Event::TotemDestroyed, 512), 0.0f},
      {gold, 0.6f},
      {event(Event::BonusPlaced, 4000), 1.0f},         // held at the edge
      {event(Event::PersonLeftHome, 640, 1), 0.15f},
      {event(Event::GoalCompleted, 1000), 0.0f},       // no position: the middle
      {event(Event::FogAreaOpens, 100), 0.0f},
  };
  for (const Case& c : cases) {
    heard.clear();
    a.Post(c.e);
    ASSERT_EQ(heard.size(), 1u) << "event " << c.e.code;
    EXPECT_NEAR(heard[0].pan, c.pan, 1e-5) << heard[0].name;
    EXPECT_TRUE(heard[0].audible) << heard[0].name;
  }
}

TEST_F(GameSounds, TheStartListenerHearsEffectsAndMusicByNameOnly) {
  gametest::writeFile("data/snd/music.ini", "[main]\nmode=1\nmaxvolume=1\n[tune]\nmusic=data/snd/gs_tone.wav\n");
  gametest::writeFile("data/snd/gs_lost.ini", "[Lost]\nname=data/snd/gs_absent.wav\n");
  sndLoadScript("data/snd/gs_lost.ini");
  sndPlay("NoSuchSound");
  EXPECT_TRUE(heard.empty()) << "an unknown name starts nothing";
  sndPlay("Lost");
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].name, "Lost");
  EXPECT_FALSE(heard[0].audible) << "its file is missing";
  sndPlayMusic("tune", 0, 1, nullptr);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[1].name, "tune");
  EXPECT_EQ(heard[1].category, SND_MUSIC);
  EXPECT_TRUE(heard[1].audible);
  sndSetCategoryVolume(0.0f, SND_SOUND);
  sndPlay("Lost");
  EXPECT_EQ(heard.size(), 2u) << "sound off plays nothing";
  sndStopMusicNow();
  sndFreeScript("data/snd/gs_lost.ini");
}

TEST_F(GameSounds, AnAmbientSoundOfFiveSecondsPlaysEveryFiveSeconds) {
  gametest::writeFile("data/maps/1/sounds.ini",
                      "[Brook]\nsound=Brook\nperiodMin=5000\nperiodMax=5000\n"
                      "[Wind]\nsound=Wind\nperiodMin=1000\nperiodMax=3000\n");
  sndLoadScript("data/snd/gameSounds.ini");
  Game::cSoundsController c(nullptr);
  c.LoadAmbient("data/maps/1/sounds.ini");
  ASSERT_EQ(c.ambient().size(), 2u);
  EXPECT_EQ(c.ambient()[0].timer, 5000);
  const int32_t logged = randomStateA();
  std::vector<int> brook, wind;
  for (int t = 25; t <= 60000; t += 25) {
    c.Update(25);
    for (const std::string& name : Effects()) (name == "Brook" ? brook : wind).push_back(t);
  }
  std::vector<int> every5s;
  for (int t = 5000; t <= 60000; t += 5000) every5s.push_back(t);
  EXPECT_EQ(brook, every5s);
  ASSERT_GE(wind.size(), 20u);  // 60 s at most 3 s apart
  int previous = 0;
  for (int t : wind) {
    EXPECT_GE(t - previous, 1000);
    EXPECT_LE(t - previous, 3000);
    previous = t;
  }
  EXPECT_EQ(randomStateA(), logged) << "ambient sounds draw from the unlogged generator";
  sndFreeScript("data/snd/gameSounds.ini");
}

TEST_F(GameSounds, APeriodOfZeroSwitchesAnAmbientSoundOffAndBadEntriesAreReported) {
  gametest::writeFile("data/maps/2/sounds.ini",
                      "[Silent]\nsound=Brook\n"
                      "[Nameless]\nperiodMin=1000\nperiodMax=1000\n"
                      "[Backwards]\nsound=Wind\nperiodMin=-500\nperiodMax=0\n"
                      "[Rare]\nsound=Wind\nperiodMin=0\nperiodMax=2000\n");
  sndLoadScript("data/snd/gameSounds.ini");
  Game::cSoundsController c(nullptr);
  c.LoadAmbient("data/maps/2/sounds.ini");
  ASSERT_EQ(c.ambient().size(), 4u);
  EXPECT_TRUE(c.ambient()[0].off);
  EXPECT_TRUE(c.ambient()[1].off);
  EXPECT_TRUE(c.ambient()[2].off);
  EXPECT_FALSE(c.ambient()[3].off) << "one end of the interval may be 0";
  int brook = 0, wind = 0;
  for (int i = 0; i < 400; ++i) {  // ten seconds
    c.Update(25);
    for (const std::string& name : Effects()) ++(name == "Brook" ? brook : wind);
  }
  EXPECT_EQ(brook, 0) << "no interval: never, not every step";
  EXPECT_GE(wind, 5);    // only the rare one, at most 2 s apart
  EXPECT_LE(wind, 400);
  const std::string log = gametest::gerrText();
  EXPECT_NE(log.find("data/maps/2/sounds.ini: [Nameless] names no \"sound\""), std::string::npos) << log;
  EXPECT_NE(log.find("data/maps/2/sounds.ini: [Backwards] periodMin -500, periodMax 0"), std::string::npos) << log;
  EXPECT_EQ(log.find("[Silent]"), std::string::npos) << "switching off is no error";
  sndFreeScript("data/snd/gameSounds.ini");
}

TEST_F(GameSounds, TheIncludeSectionListsFilesAndIsNoSound) {
  gametest::writeFile("data/maps/3/sounds.ini",
                      "[Include]\n0=data/snd/gs_meadow.ini\n1=data/snd/gs_missing.ini\n3=data/snd/gs_far.ini\n"
                      "9=data/snd/gs_never.ini\nsound=Brook\nperiodMin=25\nperiodMax=25\n"
                      "[Brook]\nsound=Brook\nperiodMin=4000\nperiodMax=4000\n");
  // An included file's keys are its own.
  gametest::writeFile("data/snd/gs_meadow.ini", "[Wind]\nsound=Wind\nperiodMin=2000\nperiodMax=2000\n");
  gametest::writeFile("data/snd/gs_far.ini", "[Include]\n0=data/snd/gs_never.ini\n[FarBrook]\nsound=Brook\n"
                                             "periodMin=10000\nperiodMax=10000\n");
  gametest::writeFile("data/snd/gs_never.ini", "[Never]\nsound=Wind\nperiodMin=100\nperiodMax=100\n");
  Game::cSoundsController c(nullptr);
  c.LoadAmbient("data/maps/3/sounds.ini");
  std::vector<std::string> sections;
  for (const Game::AmbientSound& a : c.ambient()) sections.push_back(a.section);
  EXPECT_EQ(sections, (Names{"Brook", "Wind", "FarBrook"}));
  ASSERT_EQ(c.ambient().size(), 3u);
  EXPECT_EQ(c.ambient()[1].periodMin, 2000);
  EXPECT_EQ(c.ambient()[2].sound, "Brook");
  sndLoadScript("data/snd/gameSounds.ini");
  int brook = 0, wind = 0;
  for (int i = 0; i < 400; ++i) {  // ten seconds
    c.Update(25);
    for (const std::string& name : Effects()) ++(name == "Brook" ? brook : wind);
  }
  EXPECT_EQ(brook, 2 + 1) << "every 4 s, and the far one once";
  EXPECT_EQ(wind, 5);
  const std::string log = gametest::gerrText();
  EXPECT_NE(log.find("data/maps/3/sounds.ini: [Include] \"1\" names \"data/snd/gs_missing.ini\", which is missing"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find("gs_never"), std::string::npos) << "key 9 is not read, nor an included file's own list";

  // No sounds.ini: no ambient sounds, and nothing to report.
  Game::cSoundsController none(nullptr);
  gametest::clearGerr();
  none.LoadAmbient("data/maps/4/sounds.ini");
  EXPECT_TRUE(none.ambient().empty());
  EXPECT_EQ(gametest::gerrText(), "");
  sndFreeScript("data/snd/gameSounds.ini");
}

TEST_F(GameSounds, ARunningLevelHearsItsEventsAndAmbienceInEveryPhaseAndLetsTheScriptGo) {
  testkit::LevelFiles f;
  f.balance = balance();
  std::string error;
  ASSERT_TRUE(testkit::WriteTestLevel(121, f, &error)) << error;
  // A test level's sounds live under data/maps like every level's.
  gametest::writeFile("data/maps/121/sounds.ini", "[Brook]\nsound=Brook\nperiodMin=1000\nperiodMax=1000\n");
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(121));
  Game::LevelContext* c = Game::levelContext();
  ASSERT_TRUE(c->sounds);
  ASSERT_EQ(c->sounds->ambient().size(), 1u);
  // Registered after the goals' controllers and before the view, for exactly its codes.
  Game::cEventDispatcher& d = *c->dispatcher;
  std::vector<int> order;
  for (int i = 0; i < d.Count(2); ++i) {
    Game::cObserver* o = d.At(2, i);
    if (o == c->model.get()) order.push_back(1);
    if (o == c->allGoals.get()) order.push_back(2);
    if (o == c->sounds.get()) order.push_back(3);
    if (o == static_cast<Game::cObserver*>(c->view)) order.push_back(4);
  }
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
  int codes = 0;
  for (int code = 0; code < kEventCodeCount; ++code)
    for (int i = 0; i < d.Count(code); ++i) codes += d.At(code, i) == c->sounds.get();
  EXPECT_EQ(codes, 24);
  CSound* ready = sndGet("TaskCompleted", SND_SOUND);
  EXPECT_NE(ready, nullptr) << "the game sounds are loaded for the level";
  sndRelease(ready);
  Effects();

  h.workers().RequestWorker(false);
  h.Advance(1);
  h.Action(1);
  ASSERT_EQ(h.phase(), Phase::Running);
  EXPECT_EQ(Effects(), Names{"LevelStart"});
  h.Advance(80);  // two seconds
  EXPECT_EQ(Effects(), (Names{"Brook", "Brook"}));
  h.Action(7);  // goals met
  EXPECT_EQ(Effects(), Names{"AllTasksCompleted"});
  ASSERT_EQ(h.AdvanceUntilResult(1000), 1);  // the 5 s delay: five more
  EXPECT_EQ(h.phase(), Phase::Finishing);
  EXPECT_EQ(Effects(), (Names{"Brook", "Brook", "Brook", "Brook", "Brook", "LevelWin"}));
  h.Advance(120);  // three seconds of finishing
  EXPECT_EQ(Effects(), (Names{"Brook", "Brook", "Brook"})) << "the ambience goes on while the level finishes";

  Game::EndLevel();
  EXPECT_EQ(sndGet("TaskCompleted", SND_SOUND), nullptr) << "the level's end lets the game sounds go";
}

TEST_F(GameSounds, ALostLevelSoundsItsLossAndNoFanfare) {
  testkit::LevelFiles f;
  f.balance = balance(2000);
  std::string error;
  ASSERT_TRUE(testkit::WriteTestLevel(122, f, &error)) << error;
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(122));
  h.workers().RequestWorker(false);
  h.Advance(1);
  h.Action(1);
  Effects();
  h.Advance(79);
  EXPECT_EQ(h.phase(), Phase::Running);
  h.Advance(2);
  ASSERT_EQ(h.phase(), Phase::Finishing);
  EXPECT_EQ(h.CountOf(Event::LevelResultComputed), 1);
  const Names heardNow = Effects();
  EXPECT_NE(std::find(heardNow.begin(), heardNow.end(), "GameOver"), heardNow.end());
  EXPECT_EQ(std::find(heardNow.begin(), heardNow.end(), "LevelWin"), heardNow.end());
  // The voice follows the tune.
  auto over = std::find(heardNow.begin(), heardNow.end(), "GameOver");
  ASSERT_NE(over + 1, heardNow.end());
  EXPECT_EQ(*(over + 1), "GameOverVoice");
}

TEST_F(GameSounds, AWorkerRestedAtHomeCallsOutAsItLeaves) {
  testkit::LevelFiles f;
  f.balance = balance();
  f.map = "[Barn]\ntype=building\nsubType=barn\nx=100\ny=400\n"
          "[Field]\ntype=decoration\nsubType=field\nx=500\ny=100\n";
  std::string error;
  ASSERT_TRUE(testkit::WriteTestLevel(123, f, &error)) << error;
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(123));
  Map::cObject* field = h.map().FindByTag(NameHash("Field"));
  ASSERT_NE(field, nullptr);
  Map::cPerson* rested = h.workers().CreatePerson({420, 100}, "Worker", -1);
  ASSERT_NE(rested, nullptr);
  h.Advance(81);  // longer than a worker's rest at home
  Map::cPerson* fresh = h.workers().CreatePerson({420, 100}, "Worker", -1);
  ASSERT_NE(fresh, nullptr);
  Effects();
  // Of two at the same spot the earlier goes first: rested, it calls out, from the barn's side.
  EXPECT_EQ(h.workers().AssignPerson(field->id, 0, 2, false, -1), rested->id);
  const GameEvent* left = h.Last(Event::PersonLeftHome);
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(left->value, 1) << "field 14 says the rest was over";
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].name, "WorkerOut");
  EXPECT_LT(heard[0].pan, 0.0f) << "the barn stands left of the middle";
  // Just come home: it leaves quietly.
  heard.clear();
  EXPECT_EQ(h.workers().AssignPerson(field->id, 0, 2, false, -1), fresh->id);
  left = h.Last(Event::PersonLeftHome);
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(left->value, 0);
  EXPECT_TRUE(heard.empty());
}

// ---- Music ----------------------------------------------------------------------------------

namespace {
// The sound system's clock moves by hand here, so the short tracks end when the test says.
struct LevelMusic : GameSounds {
  void SetUp() override {
    platUseManualClock(true, 10000);
    GameSounds::SetUp();
    // A tenth of a second each, so each one ends within a few updates.
    std::string music = "[main]\nmode=1\nmaxvolume=1\n[musicLastLevel]\nmusic=data/snd/gs_tone.wav\n";
    for (int n = 1; n <= 6; ++n) music += "[music" + std::to_string(n) + "]\nmusic=data/snd/gs_tone.wav\n";
    gametest::writeFile("data/snd/music.ini", music);
    Game::musicRotationReset();
  }
  void TearDown() override {
    sndStopMusicNow();
    GameSounds::TearDown();
    platUseManualClock(false);
  }
  void Play(int ms) {
    for (int t = 0; t < ms; t += 50) {
      sndtest::mix(2205);
      platAdvanceClock(50);
      sndUpdate(false);
    }
  }
  std::vector<std::string> Music() const {
    std::vector<std::string> out;
    for (const Heard& h : heard)
      if (h.category == SND_MUSIC) out.push_back(h.name);
    return out;
  }
};
}  // namespace

TEST_F(LevelMusic, TheLastLevelOfAnEpisodeRepeatsItsOwnTrack) {
  // Each level asks while the previous one's track still plays: it must keep coming back.
  for (int level : {15, 31, 47}) {
    heard.clear();
    Game::StartLevelMusic(level);
    Play(1000);
    const Names music = Music();
    EXPECT_GE(music.size(), 3u) << "level " << level << ": asked again each time it ends";
    for (const std::string& name : music) EXPECT_EQ(name, "musicLastLevel") << "level " << level;
    EXPECT_TRUE(Game::musicLastRequested().empty()) << "the rotation is left alone";
  }
}

TEST_F(LevelMusic, OtherLevelsPlayTheRotationTrackAfterTrack) {
  SeedRandom(1);
  Game::StartLevelMusic(30);
  // The first draw of the run takes three of all six tracks: 0, 2 and 5 for this seed.
  EXPECT_EQ(Game::musicRotation().playlist, (std::array<int, 3>{0, 2, 5}));
  EXPECT_EQ(sndGetFadeTime(), 2000);
  Play(1500);
  const Names music = Music();
  ASSERT_GE(music.size(), 4u);
  EXPECT_EQ(Names(music.begin(), music.begin() + 4), (Names{"music1", "music3", "music6", "music1"}));

  // The next level keeps the track of place 2 and draws two of the other three.
  heard.clear();
  Game::StartLevelMusic(2);
  EXPECT_EQ(Game::musicRotation().playlist, (std::array<int, 3>{4, 5, 3}));
  Play(2500);  // what plays fades out over the 2 s first
  ASSERT_FALSE(Music().empty());
  EXPECT_EQ(Music()[0], "music5");
}

// ---- The demo's own sounds ------------------------------------------------------------------

namespace {
struct DemoGameSounds : gametest::CleanSlate {
  void SetUp() override {
    gametest::CleanSlate::SetUp();
    home = fs::current_path();
    if (testkit::EnterDemoCopy("demo_game_sounds").empty()) GTEST_SKIP() << "MM_SOURCE_DIR not set";
    gametest::clearGerr();
    platUseManualClock(true, 10000);
    ASSERT_TRUE(startHearing(heard));
  }
  void TearDown() override {
    sndSetStartListener(nullptr);
    if (sndIsInit()) {
      sndStopMusicNow();
      sndDone();
    }
    platUseManualClock(false);
    if (!home.empty()) fs::current_path(home);
    gametest::CleanSlate::TearDown();
  }
  // The loudest sample of `ms` milliseconds mixed from what plays.
  static int Peak(int ms) {
    int peak = 0;
    for (int t = 0; t < ms; t += 50) {
      for (int16_t v : sndtest::mix(2205)) peak = std::max(peak, std::abs(int(v)));
      platAdvanceClock(50);
      sndUpdate(false);
    }
    return peak;
  }
  fs::path home;
  std::vector<Heard> heard;
};
}  // namespace

TEST_F(DemoGameSounds, EveryEventSoundAndAmbientSoundOfTheDemoIsHeard) {
  sndLoadScript("data/snd/gameSounds.ini");
  for (const char* name : kGameSoundNames) {
    heard.clear();
    CSound* s = sndPlay(name);
    ASSERT_EQ(heard.size(), 1u) << name << " is not in gameSounds.ini";
    EXPECT_TRUE(heard[0].audible) << name << ": its file cannot be read";
    EXPECT_GT(sndGetLength(s), 0.1f) << name;
    EXPECT_LT(sndGetLength(s), 4.0f) << name << " is too long for an event";
    EXPECT_GT(Peak(300), 3000) << name << " is (nearly) silent";
    sndStopCategory(SND_SOUND);
  }
  for (int n = 1; n <= 6; ++n) {
    Game::cSoundsController c(nullptr);
    c.LoadAmbient(levelSoundsPath(n));
    EXPECT_GE(c.ambient().size(), 3u) << "level " << n;
    for (const Game::AmbientSound& a : c.ambient()) {
      EXPECT_FALSE(a.off) << "level " << n << " [" << a.section << "]";
      EXPECT_GE(a.periodMin, 3000) << "level " << n << " [" << a.section << "] would chatter";
      heard.clear();
      sndPlay(a.sound.c_str());
      ASSERT_EQ(heard.size(), 1u) << "level " << n << ": " << a.sound << " is not in gameSounds.ini";
      EXPECT_TRUE(heard[0].audible) << a.sound;
      sndStopCategory(SND_SOUND);
    }
  }
  sndFreeScript("data/snd/gameSounds.ini");
  EXPECT_EQ(gametest::gerrText(), "");
}

TEST_F(DemoGameSounds, EveryTrackTheGameAsksForIsRealMusic) {
  sndLoadScript("data/snd/music.ini");
  const char* const tracks[] = {"menu",     "music1",         "music2",     "music3",      "music4",   "music5",
                                "music6",   "musicLastLevel", "musicWitch", "OnLevelDone", "OnGameWin"};
  for (const char* name : tracks) {
    heard.clear();
    sndPlayMusic(name, 0, 1, nullptr);
    ASSERT_EQ(heard.size(), 1u) << name << " is not in music.ini";
    EXPECT_TRUE(heard[0].audible) << name;
    const float seconds = sndGetLength(sndCurrentMusic());
    EXPECT_GE(seconds, 15.0f) << name;
    EXPECT_LE(seconds, 60.0f) << name;
    EXPECT_GT(Peak(2000), 4000) << name << " starts (nearly) silent";
    sndStopMusicNow();
  }
  sndFreeScript("data/snd/music.ini");
}
