// Weather and ambient effects on a level's map: rain and snow showers with their events, darkness
// and held sound; flies kept in their box and pushed by the pointer; the caustic pattern's scroll,
// pulse and tiling; all of them read alike from map.ini and map.bin.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "anim/anim_catalogue.h"
#include "anim/anim_sprite.h"
#include "anim/fx_manager.h"
#include "anim/fx_simple_pyro.h"
#include "files/name_hash.h"
#include "game/core/game_view.h"
#include "game/core/random.h"
#include "game/interface/interface.h"
#include "game/objects/fx_caustic.h"
#include "game/objects/fx_flies.h"
#include "game/objects/fx_register.h"
#include "game/objects/fx_weather.h"
#include "gfx/render_device.h"
#include "gfx/test_sprite_util.h"
#include "demo_copy_util.h"
#include "obstacle_levels.h"
#include "sound/snd_test_util.h"
#include "sound/sound.h"
#include "support/level_harness.h"

using Fx::cCaustic;
using Fx::cFlies;
using Fx::cRain;
using Fx::cShower;
using Fx::cSnow;
using Game::Event;
using testkit::LevelHarness;

namespace {

struct Weather : gametest::CleanSlate {
  void SetUp() override {
    CleanSlate::SetUp();
    SeedRandom(2024);
  }

  // map.ini text loaded into the harness in the form asked for, up to and including the map start.
  void load(LevelHarness& h, const std::string& folder, const std::string& ini, bool binary = true) {
    Fx::weatherRegisterClasses(h.factory);
    for (Event e : {Event::RainStarts, Event::RainStops, Event::SnowStarts, Event::SnowStops}) h.Record(e);
    std::string error;
    ASSERT_TRUE(testkit::WriteLevelFolder(folder, ini, {}, &error)) << error;
    ASSERT_TRUE(h.Load(folder, binary));
  }

  template <class T>
  T* byName(LevelHarness& h, const char* name) {
    return dynamic_cast<T*>(h.map.FindByTag(NameHash(name)));
  }

  void useTestSettings(const std::string& text) {
    gametest::writeFile("weather_test.ini", "[main]\n" + text);
    iniFreeAll();
    testSettingsLoad("weather_test.ini");
  }
};

std::string shower(const char* name, const char* subtype, const std::string& keys) {
  return std::string("[") + name + "]\ntype=fx\nsubType=" + subtype + "\nx=0\ny=0\n" + keys;
}

// Ticks until `done` holds; the number of ticks it took, or -1 when it never did within `max`.
template <class F>
int ticksUntil(LevelHarness& h, F done, int max) {
  for (int i = 0; i <= max; ++i) {
    if (done()) return i;
    h.Tick();
  }
  return -1;
}

void ticks(LevelHarness& h, int n) {
  for (int i = 0; i < n; ++i) h.Tick();
}

// ---- Rain and snow -----------------------------------------------------------------------------

const std::string kLongRain =
    "period=30000\nfadePeriod=0.2\ndarkOpacity=0\nstartPeriodMin=5000\nstartPeriodMax=5000\nlayer=5\n";

TEST_F(Weather, ARainDarkensOverItsFadeStaysDarkAndLightensAfterItsPeriod) {
  LevelHarness h;
  load(h, "wx_rain", shower("Rain", "rain", kLongRain));
  auto* rain = byName<cRain>(h, "Rain");
  ASSERT_NE(rain, nullptr);
  EXPECT_EQ(rain->layer, 80) << "the level's layer is overridden";
  EXPECT_FALSE(rain->Has(Map::kFlagClickable));
  EXPECT_EQ(rain->DarkOpacity(), 30) << "darkOpacity 0 is read as 30";
  EXPECT_TRUE(rain->Has(Map::kFlagHidden)) << "the map starts waiting";
  EXPECT_FALSE(rain->ShowerRunning());

  // The waiting time: exactly 5000 ms.
  ticks(h, 199);
  EXPECT_EQ(h.CountOf(Event::RainStarts), 0);
  h.Tick();
  ASSERT_EQ(h.CountOf(Event::RainStarts), 1);
  EXPECT_EQ(h.Events().back().value, 0) << "a rain's start carries no duration";
  EXPECT_FALSE(rain->Has(Map::kFlagHidden));
  EXPECT_TRUE(rain->ShowerRunning());
  EXPECT_FLOAT_EQ(rain->Darkness(), 0.0f);
  ASSERT_NE(rain->Effect(), nullptr);
  EXPECT_EQ(rain->Effect()->GetState(), FxManager::cSimplePyro::kRunning);
  float ex = 0, ey = 0;
  rain->Effect()->GetPosition(ex, ey);
  EXPECT_FLOAT_EQ(ex, 700.0f);
  EXPECT_FLOAT_EQ(ey, 10.0f);

  // The fade in: 0.2 x 30000 = 6000 ms to the full 30.
  ticks(h, 120);
  EXPECT_NEAR(rain->Darkness(), 15.0f, 0.01f);
  ticks(h, 120);
  EXPECT_FLOAT_EQ(rain->Darkness(), 30.0f);
  EXPECT_EQ(rain->FillAlpha(), 30);
  EXPECT_EQ(rain->FillColour(), 30u << 24) << "rain darkens with black";

  // Dark until 30000 ms after the start, although the effect (none in this level's catalogue) has
  // long burnt out.
  ticks(h, 959);
  EXPECT_EQ(rain->Effect()->GetState(), FxManager::cSimplePyro::kStopped);
  EXPECT_FALSE(rain->Has(Map::kFlagHidden));
  EXPECT_FLOAT_EQ(rain->Darkness(), 30.0f);
  EXPECT_EQ(h.CountOf(Event::RainStops), 0);
  h.Tick();
  ASSERT_EQ(h.CountOf(Event::RainStops), 1);
  EXPECT_FALSE(rain->ShowerRunning());
  EXPECT_FALSE(rain->Has(Map::kFlagHidden)) << "still shown while the darkness lifts";

  // The fade out takes the same 6000 ms; half way through it is half dark.
  ticks(h, 119);
  EXPECT_NEAR(rain->Darkness(), 15.0f, 0.01f);
}

TEST_F(Weather, ANewShowerStartsOnTimeWhenItsWaitIsShorterThanTheFadeAndEndsAreNeverRepeated) {
  LevelHarness h;
  // Wait 2000 ms, rain 10000 ms, fade 0.3 x 10000 = 3000 ms: each wait ends while the last shower
  // still lightens the screen.
  load(h, "wx_short_wait",
       shower("Rain", "rain", "period=10000\nfadePeriod=0.3\ndarkOpacity=60\n"
                              "startPeriodMin=2000\nstartPeriodMax=2000\n"));
  auto* rain = byName<cRain>(h, "Rain");
  ASSERT_NE(rain, nullptr);
  std::vector<int> starts, stops;
  std::vector<float> darknessAtStart;
  for (int step = 1; step <= 4 * 480 + 100; ++step) {
    h.Tick();
    if (h.CountOf(Event::RainStarts) > int(starts.size())) {
      starts.push_back(step);
      darknessAtStart.push_back(rain->Darkness());
    }
    if (h.CountOf(Event::RainStops) > int(stops.size())) stops.push_back(step);
  }
  // A cycle is 2000 + 10000 ms = 480 steps; starts at 80, 560, 1040, 1520, 2000; ends 400 later.
  EXPECT_EQ(starts, (std::vector<int>{80, 560, 1040, 1520, 2000}));
  EXPECT_EQ(stops, (std::vector<int>{480, 960, 1440, 1920}));
  EXPECT_TRUE(rain->ShowerRunning());
  // The first from a clear screen; the others from where the last had lightened to (60 - 40 after
  // 2000 of its 3000 ms), one step up towards 60.
  ASSERT_EQ(darknessAtStart.size(), 5u);
  EXPECT_FLOAT_EQ(darknessAtStart[0], 0.0f);
  for (size_t i = 1; i < 5; ++i) EXPECT_NEAR(darknessAtStart[i], 20.0f + 40.0f / 3000.0f * 25.0f, 0.01f) << i;
}

TEST_F(Weather, AWaitLongerThanTheFadeHidesTheShowerUntilTheNextOne) {
  LevelHarness h;
  load(h, "wx_long_wait",
       shower("Rain", "rain", "period=4000\nfadePeriod=0.5\ndarkOpacity=40\n"
                              "startPeriodMin=3000\nstartPeriodMax=3000\n"));
  auto* rain = byName<cRain>(h, "Rain");
  ASSERT_NE(rain, nullptr);
  ASSERT_EQ(ticksUntil(h, [&] { return h.CountOf(Event::RainStops) == 1; }, 400), 120 + 160);
  // The fade out of 2000 ms, then hidden (the effect has stopped long before) for the last second.
  const int hidden = ticksUntil(h, [&] { return rain->Has(Map::kFlagHidden); }, 200);
  EXPECT_EQ(hidden, 80);
  EXPECT_EQ(rain->FillAlpha(), 0);
  EXPECT_EQ(ticksUntil(h, [&] { return h.CountOf(Event::RainStarts) == 2; }, 200), 40);
  EXPECT_EQ(h.CountOf(Event::RainStops), 1);
  EXPECT_FALSE(rain->Has(Map::kFlagHidden));
  EXPECT_FLOAT_EQ(rain->Darkness(), 0.0f) << "a shower after a quiet wait starts from a clear screen";
}

TEST_F(Weather, SnowWhitensCarriesItsDurationAndKeepsItsOwnDefaults) {
  LevelHarness h;
  load(h, "wx_snow",
       shower("Snow", "snow", "period=12000\nfadePeriod=0\ndarkOpacity=90\n"
                              "startPeriodMin=1000\nstartPeriodMax=1000\n") +
           shower("Rain", "rain", "period=5000\nstartPeriodMin=500\nstartPeriodMax=500\n"));
  auto* snow = byName<cSnow>(h, "Snow");
  auto* rain = byName<cRain>(h, "Rain");
  ASSERT_NE(snow, nullptr);
  ASSERT_NE(rain, nullptr);
  EXPECT_FLOAT_EQ(snow->FadePeriod(), 0.33f) << "the snow's own default for 0";
  EXPECT_FLOAT_EQ(rain->FadePeriod(), 0.2f);
  EXPECT_EQ(snow->layer, 80);
  EXPECT_TRUE(snow->Has(Map::kFlagHidden));
  ticks(h, 40);
  ASSERT_EQ(h.CountOf(Event::SnowStarts), 1);
  ASSERT_EQ(h.CountOf(Event::RainStarts), 1);
  for (const GameEvent& e : h.Events()) {
    if (e.code == Game::Code(Event::SnowStarts)) {
      EXPECT_EQ(e.value, 12000) << "field 14: the shower's duration";
    }
    if (e.code == Game::Code(Event::RainStarts)) {
      EXPECT_EQ(e.value, 0) << "a rain's start carries none";
    }
  }
  // Fade 0.33 x 12000 = 3960 ms: full in the 159th step after the start.
  ticks(h, 158);
  EXPECT_LT(snow->Darkness(), 90.0f);
  ticks(h, 1);
  EXPECT_FLOAT_EQ(snow->Darkness(), 90.0f);
  EXPECT_EQ(snow->FillColour(), 90u << 24 | 0xFFFFFFu) << "snow whitens";
  ticks(h, 40 + 480 - 199 - 1);
  EXPECT_EQ(h.CountOf(Event::SnowStops), 0);
  ticks(h, 1);
  EXPECT_EQ(h.CountOf(Event::SnowStops), 1);
}

TEST_F(Weather, TheRainTestSwitchStartsShowersAtOnceAndOneAfterAnother) {
  useTestSettings("Game_Rain=1\n");
  LevelHarness h;
  load(h, "wx_test_rain",
       shower("Rain", "rain", "period=90000\nstartPeriodMin=60000\nstartPeriodMax=60000\n") +
           shower("Snow", "snow", "period=90000\nstartPeriodMin=60000\nstartPeriodMax=60000\n"));
  auto* rain = byName<cRain>(h, "Rain");
  auto* snow = byName<cSnow>(h, "Snow");
  ASSERT_NE(rain, nullptr);
  ASSERT_NE(snow, nullptr);
  // Both begin with the map, however long their waits.
  EXPECT_EQ(h.CountOf(Event::RainStarts), 1);
  ASSERT_EQ(h.CountOf(Event::SnowStarts), 1);
  EXPECT_EQ(h.Events()[size_t(h.Events().size() - 1)].value, 100000) << "the snow's test shower";
  EXPECT_FALSE(rain->Has(Map::kFlagHidden));
  EXPECT_FALSE(snow->Has(Map::kFlagHidden));
  // The rain's test showers last 10000 ms and the next follows at once.
  ticks(h, 399);
  EXPECT_EQ(h.CountOf(Event::RainStops), 0);
  h.Tick();
  EXPECT_EQ(h.CountOf(Event::RainStops), 1);
  EXPECT_EQ(h.CountOf(Event::RainStarts), 2);
  EXPECT_TRUE(rain->ShowerRunning());
  EXPECT_FALSE(rain->Has(Map::kFlagHidden));
  ticks(h, 400);
  EXPECT_EQ(h.CountOf(Event::RainStarts), 3);
  EXPECT_EQ(h.CountOf(Event::SnowStops), 0);
}

TEST_F(Weather, AShowerOfNoLengthNeverComesAndBadValuesAreMendedAndNamed) {
  LevelHarness h;
  load(h, "wx_bad",
       shower("Dry", "rain", "period=0\nstartPeriodMin=100\nstartPeriodMax=100\n") +
           shower("Glare", "snow", "period=1000\ndarkOpacity=400\nfadePeriod=-1\n"
                                   "startPeriodMin=100\nstartPeriodMax=100\n"));
  auto* dry = byName<cRain>(h, "Dry");
  auto* glare = byName<cSnow>(h, "Glare");
  ASSERT_NE(dry, nullptr);
  ASSERT_NE(glare, nullptr);
  EXPECT_EQ(glare->DarkOpacity(), 255);
  EXPECT_FLOAT_EQ(glare->FadePeriod(), 0.33f);
  ticks(h, 400);
  EXPECT_EQ(h.CountOf(Event::RainStarts), 0) << "no shower, no flicker of events";
  EXPECT_TRUE(dry->Has(Map::kFlagHidden));
  EXPECT_GT(h.CountOf(Event::SnowStarts), 0);
  const std::string log = gametest::gerrText();
  EXPECT_NE(log.find("[Dry] (fx rain): period 0"), std::string::npos) << log;
  EXPECT_NE(log.find("[Glare] (fx snow): darkOpacity 400"), std::string::npos) << log;
  EXPECT_NE(log.find("[Glare] (fx snow): fadePeriod -1"), std::string::npos) << log;
}

TEST_F(Weather, TheRainHoldsOneLoopingSoundThatFollowsTheDarknessAndLetsItGo) {
  ASSERT_TRUE(sndtest::startManual());
  struct SoundDone {
    ~SoundDone() { sndDone(); }
  } soundDone;
  sndSetCategoryVolume(1.0f, SND_SOUND);
  const std::vector<uint8_t> wav = sndtest::makeWav(16, 1, 22050, sndtest::sine(300, 22050, 2205, 8000));
  gametest::writeFile("wx_rain.wav", std::string(wav.begin(), wav.end()));
  gametest::writeFile("wx_sounds.ini", "[Rain]\nname=wx_rain.wav\nmaxvolume=1\n");
  sndLoadScript("wx_sounds.ini");
  const int library = sndLibrarySize();
  {
    LevelHarness h;
    // Rain 4000 ms, fade 2000 ms, wait 1000 ms: the second shower starts while the first fades.
    load(h, "wx_sound",
         shower("Rain", "rain", "period=4000\nfadePeriod=0.5\ndarkOpacity=50\n"
                                "startPeriodMin=1000\nstartPeriodMax=1000\n"));
    auto* rain = byName<cRain>(h, "Rain");
    ASSERT_NE(rain, nullptr);
    EXPECT_EQ(rain->Sound(), nullptr);
    ticks(h, 40);
    CSound* s = rain->Sound();
    ASSERT_NE(s, nullptr) << "the shower takes a rain sound";
    EXPECT_TRUE(sndIsPlaying(s));
    ticks(h, 40);  // half the fade in
    EXPECT_NEAR(sndGetVolume(s), 0.5f, 0.02f) << "as loud as the darkness is deep";
    ticks(h, 120 + 20);  // ended, half a second into the fade out
    EXPECT_EQ(h.CountOf(Event::RainStops), 1);
    EXPECT_EQ(rain->Sound(), s);
    EXPECT_NEAR(sndGetVolume(s), 0.75f, 0.02f);
    ticks(h, 20);  // the wait ends: the next shower keeps the same sound, still playing
    ASSERT_EQ(h.CountOf(Event::RainStarts), 2);
    EXPECT_EQ(rain->Sound(), s);
    EXPECT_TRUE(sndIsPlaying(s));
    EXPECT_EQ(sndLibrarySize(), library + 1) << "one instance, not one per shower";
  }
  EXPECT_EQ(sndLibrarySize(), library) << "the level's end lets the sound go";

  // A wait longer than the fade: once hidden the rain holds no sound.
  LevelHarness h;
  load(h, "wx_sound2",
       shower("Rain", "rain", "period=2000\nfadePeriod=0.5\ndarkOpacity=50\n"
                              "startPeriodMin=3000\nstartPeriodMax=3000\n"));
  auto* rain = byName<cRain>(h, "Rain");
  ASSERT_NE(rain, nullptr);
  ticks(h, 120);
  ASSERT_NE(rain->Sound(), nullptr);
  ticks(h, 80 + 40 + 1);
  EXPECT_TRUE(rain->Has(Map::kFlagHidden));
  EXPECT_EQ(rain->Sound(), nullptr);
  EXPECT_EQ(sndLibrarySize(), library);
}

// A level author's map.ini section alone drives the weather, in both forms of the map.
TEST_F(Weather, ALevelsOwnRainSectionRunsInTheGameFromMapIniAndMapBin) {
  for (bool iniForm : {false, true}) {
    SCOPED_TRACE(iniForm ? "map.ini" : "map.bin");
    gametest::writeFile("data/balance.ini", "[Worker]\nvel=0.4\n");
    testkit::LevelFiles f;
    f.balance = obstest::balance(1, 0, 0, 0);
    f.map = std::string(obstest::kBarn) +
            "[Rain]\ntype=fx\nsubType=rain\nx=0\ny=0\nlayer=80\nperiod=2000\nstartPeriodMin=1000\n"
            "startPeriodMax=1000\nfadePeriod=0.2\ndarkOpacity=70\n";
    if (iniForm) f.test = "[main]\nGame_No_Binary_Load=1\n";
    std::string error;
    ASSERT_TRUE(testkit::WriteTestLevel(430, f, &error)) << error;
    testkit::GameHarness h;
    ASSERT_TRUE(h.Load(430));
    h.Action(1);
    auto* rain = dynamic_cast<cRain*>(h.map().FindByTag(NameHash("Rain")));
    ASSERT_NE(rain, nullptr);
    EXPECT_EQ(rain->DarkOpacity(), 70);
    EXPECT_EQ(rain->Period(), 2000);
    h.Advance(40 + 80 + 40 + 10);
    EXPECT_EQ(h.CountOf(Event::RainStarts), 2);
    EXPECT_EQ(h.CountOf(Event::RainStops), 1);
    Game::EndLevel();
    testSettingsLoad("none.ini");
  }
}

// ---- Flies -------------------------------------------------------------------------------------

const char* kFlyCatalogue =
    "<Animations>\n"
    "<Animation id=\"wx_fly\" path=\"wx/fly.png\" period=\"200\" frames=\"1\" isLoop=\"1\"/>\n"
    "<Animation id=\"wx_caustic\" path=\"wx/caustic.png\" period=\"1000\" frames=\"1\" isLoop=\"1\"/>\n"
    "<Animation id=\"wx_caustic_add\" path=\"wx/caustic.png\" period=\"1000\" frames=\"1\" isLoop=\"1\" "
    "isAdd=\"1\"/>\n"
    "</Animations>\n";

struct Pictures : Weather {
  void SetUp() override {
    Weather::SetUp();
    ASSERT_TRUE(testkit::StartNullRenderer("weather"));
    sprtest::WritePng("wx/fly.png", 4, 4, [](int, int) { return 0xFFFFFFFFu; });
    sprtest::WritePng("wx/caustic.png", 128, 96, [](int x, int) { return x < 64 ? 0xFFFFFFFFu : 0xFF808080u; });
    gametest::writeFile("wx_anims.xml", kFlyCatalogue);
    ASSERT_TRUE(Core::animManager().LoadAnimationCatalogue("wx_anims.xml"));
  }
  void TearDown() override {
    Core::animManager().Clear();
    Weather::TearDown();
  }
};

std::vector<AnimSpriteQuad> quadsOf(Map::cObject& o, Map::DrawContext dc = {}) {
  std::vector<AnimSpriteQuad> quads;
  animSpriteCaptureInto(&quads);
  o.Draw(dc);
  animSpriteCaptureInto(nullptr);
  return quads;
}

void centreOf(const AnimSpriteQuad& q, float& x, float& y) {
  x = (q.v[0].x + q.v[1].x + q.v[2].x + q.v[3].x) / 4.0f;
  y = (q.v[0].y + q.v[1].y + q.v[2].y + q.v[3].y) / 4.0f;
}

const char* kFlies = "[Flies]\ntype=fx\nsubType=flies\nx=200\ny=300\nboundXS=10\nboundYS=6\namount=5\n"
                     "r=10\ng=20\nb=200\na=250\n";

TEST_F(Weather, FliesWanderLessThanAPixelAStepAndNeverLeaveTheirBox) {
  LevelHarness h;
  const int32_t logged = randomStateA();
  load(h, "wx_flies", kFlies);
  auto* flies = byName<cFlies>(h, "Flies");
  ASSERT_NE(flies, nullptr);
  EXPECT_TRUE(flies->Has(Map::kFlagClickable)) << "the pointer must find them";
  EXPECT_EQ(flies->Amount(), 5);
  EXPECT_EQ(flies->Colour(), 0xFA0A14C8u) << "a, r, g, b";
  bool spread = false;
  for (int i = 0; i < cFlies::kMaxFlies; ++i) {
    EXPECT_LE(std::abs(flies->Fly(i).x), 10.0f);
    EXPECT_LE(std::abs(flies->Fly(i).y), 6.0f);
    spread = spread || flies->Fly(i).x != flies->Fly(0).x;
  }
  EXPECT_TRUE(spread) << "placed at random, not in one spot";
  std::vector<cFlies::Offset> before(cFlies::kMaxFlies);
  bool moved = false;
  for (int step = 0; step < 400; ++step) {
    for (int i = 0; i < cFlies::kMaxFlies; ++i) before[size_t(i)] = flies->Fly(i);
    h.Tick();
    for (int i = 0; i < cFlies::kMaxFlies; ++i) {
      const cFlies::Offset& f = flies->Fly(i);
      ASSERT_LE(std::abs(f.x - before[size_t(i)].x), 1.0f);
      ASSERT_LE(std::abs(f.y - before[size_t(i)].y), 1.0f);
      ASSERT_LE(std::abs(f.x), 10.0f) << "step " << step;
      ASSERT_LE(std::abs(f.y), 6.0f) << "step " << step;
      moved = moved || f.x != before[size_t(i)].x;
    }
  }
  EXPECT_TRUE(moved);
  EXPECT_EQ(randomStateA(), logged) << "flies are cosmetic: the logged generator is untouched";
  // A new box places the swarm inside it.
  flies->SetBoundHalfSize({2, 50});
  for (int i = 0; i < cFlies::kMaxFlies; ++i) EXPECT_LE(std::abs(flies->Fly(i).x), 2.0f);
}

TEST_F(Weather, ThePointerPushesTheFliesWithADecayingSpeedInsideTheirBox) {
  LevelHarness h;
  load(h, "wx_push", kFlies);
  auto* flies = byName<cFlies>(h, "Flies");
  ASSERT_NE(flies, nullptr);
  flies->SetFly(0, {3.0f, 4.0f});
  flies->SetFly(1, {10.0f, 0.0f});  // at the right edge already
  flies->SetFly(7, {1.0f, 1.0f});   // beyond the amount: never pushed
  flies->UpdateTimers(25);
  EXPECT_FLOAT_EQ(flies->Fly(0).x, 3.0f) << "no push before the pointer came";
  GameEvent over;
  over.x = 200;  // on the anchor: each fly is pushed along its own offset
  over.y = 300;
  flies->OnMapEvent(over);
  EXPECT_FLOAT_EQ(flies->PushSpeed(), 1.0f);
  flies->UpdateTimers(25);
  EXPECT_FLOAT_EQ(flies->PushSpeed(), 0.7f);
  EXPECT_NEAR(flies->Fly(0).x, 3.0f + 0.6f * 0.7f, 1e-4f);
  EXPECT_NEAR(flies->Fly(0).y, 4.0f + 0.8f * 0.7f, 1e-4f);
  EXPECT_FLOAT_EQ(flies->Fly(1).x, 10.0f) << "pushed further right it stays on the edge";
  EXPECT_FLOAT_EQ(flies->Fly(7).x, 1.0f);
  flies->UpdateTimers(25);
  EXPECT_NEAR(flies->PushSpeed(), 0.49f, 1e-6f);
  // The push fades to nothing: however long, the fly ends within 0.7 / 0.3 pixels of its start.
  for (int i = 0; i < 60; ++i) flies->UpdateTimers(25);
  EXPECT_LT(flies->PushSpeed(), 1e-6f);
  EXPECT_LT(std::hypot(flies->Fly(0).x - 3.0f, flies->Fly(0).y - 4.0f), 0.7f / 0.3f + 1e-3f);
  EXPECT_LE(flies->Fly(0).y, 6.0f);
}

TEST_F(Weather, AnAmountOutsideTheSwarmIsTakenAtItsEndAndNamed) {
  LevelHarness h;
  load(h, "wx_many",
       "[Swarm]\ntype=fx\nsubType=flies\nx=100\ny=100\nboundXS=5\nboundYS=5\namount=25\na=255\n"
       "[None]\ntype=fx\nsubType=flies\nx=100\ny=100\nboundXS=5\nboundYS=5\namount=-3\n");
  auto* swarm = byName<cFlies>(h, "Swarm");
  auto* none = byName<cFlies>(h, "None");
  ASSERT_NE(swarm, nullptr);
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(swarm->Amount(), cFlies::kMaxFlies);
  EXPECT_EQ(none->Amount(), 0);
  GameEvent over;
  swarm->OnMapEvent(over);
  ticks(h, 20);  // a full swarm is updated and pushed without leaving its twenty
  for (int i = 0; i < cFlies::kMaxFlies; ++i) EXPECT_LE(std::abs(swarm->Fly(i).x), 5.0f);
  MapObjectRecord r;
  swarm->FillRecord(r);
  EXPECT_EQ(r.extension[0].i, 20) << "saved as it is used";
  const std::string log = gametest::gerrText();
  EXPECT_NE(log.find("[Swarm] (fx flies): amount 25 is outside 0..20, using 20"), std::string::npos) << log;
  EXPECT_NE(log.find("[None] (fx flies): amount -3"), std::string::npos) << log;
}

TEST_F(Pictures, FliesDrawTheirPictureTintedAtEachFlyAndNothingForAnAmountOfZero) {
  LevelHarness h;
  load(h, "wx_fly_pics",
       std::string(kFlies) + "anim0=wx_fly\n" +
           "[Still]\ntype=fx\nsubType=flies\nx=300\ny=300\nboundXS=8\nboundYS=8\namount=0\na=255\nanim0=wx_fly\n");
  auto* flies = byName<cFlies>(h, "Flies");
  auto* still = byName<cFlies>(h, "Still");
  ASSERT_NE(flies, nullptr);
  ASSERT_NE(still, nullptr);
  flies->SetAnchorF(200.4f, 299.6f);
  flies->SetFly(0, {2.5f, -1.4f});
  const std::vector<AnimSpriteQuad> q = quadsOf(*flies, Map::DrawContext{10.0f, -5.0f});
  ASSERT_EQ(q.size(), 5u);
  float cx = 0, cy = 0;
  centreOf(q[0], cx, cy);
  // Anchor rounded (200, 300), moved by the context (210, 295), plus the offset rounded.
  EXPECT_FLOAT_EQ(cx, 213.0f);
  EXPECT_FLOAT_EQ(cy, 294.0f);
  EXPECT_NEAR(q[0].v[1].x - q[0].v[0].x, 4.0f, 1e-3f) << "the picture at its own size";
  EXPECT_EQ(q[0].modeWord, grModeWord(2, 4, 1, 2, 5));
  EXPECT_EQ(q[0].v[0].diffuse, flies->Colour());
  // Still jittering, never drawn.
  const cFlies::Offset f0 = still->Fly(0);
  ticks(h, 5);
  EXPECT_TRUE(still->Fly(0).x != f0.x || still->Fly(0).y != f0.y);
  EXPECT_TRUE(quadsOf(*still).empty());
}

// The pointer moving over the flies in the running game reaches them through the game view.
TEST_F(Weather, TheGameViewTellsTheFliesWhereThePointerIs) {
  gametest::writeFile("data/balance.ini", "[Worker]\nvel=0.4\n");
  testkit::LevelFiles f;
  f.balance = obstest::balance(1, 0, 0, 0);
  f.map = std::string(obstest::kBarn) + kFlies;
  std::string error;
  ASSERT_TRUE(testkit::WriteTestLevel(431, f, &error)) << error;
  testkit::GameHarness h;
  ASSERT_TRUE(h.Load(431));
  h.Action(1);
  auto* flies = dynamic_cast<cFlies*>(h.map().FindByTag(NameHash("Flies")));
  ASSERT_NE(flies, nullptr);
  Game::cGameView* view = Game::levelContext()->view;
  ASSERT_NE(view, nullptr);
  // The swarm goes where no board of the interface lies over the map.
  const Interface::UIInterface* boards = view->interfaceWnd();
  Map::IntPoint at{-1, -1};
  for (Map::IntPoint p : {Map::IntPoint{200, 300}, {512, 420}, {300, 600}, {700, 650}, {150, 700}})
    if (!boards || (!boards->HitTest(p.x, p.y) && !boards->HitTest(p.x + 8, p.y + 4))) {
      at = p;
      break;
    }
  ASSERT_NE(at.x, -1) << "the boards cover every spot tried";
  flies->SetAnchorF(float(at.x), float(at.y));
  view->OnPointerMove(at.x + 300, at.y - 200);  // elsewhere
  EXPECT_FLOAT_EQ(flies->PushSpeed(), 0.0f);
  view->OnPointerMove(at.x + 5, at.y + 2);
  EXPECT_FLOAT_EQ(flies->PushSpeed(), 1.0f);
  EXPECT_EQ(flies->PushPoint(), (Map::IntPoint{at.x + 5, at.y + 2}));
  h.Advance(1);
  EXPECT_FLOAT_EQ(flies->PushSpeed(), 0.7f);
  view->OnPointerMove(at.x + 8, at.y + 4);  // still over them: every move counts, not just the first
  EXPECT_FLOAT_EQ(flies->PushSpeed(), 1.0f);
  EXPECT_EQ(flies->PushPoint(), (Map::IntPoint{at.x + 8, at.y + 4}));
  Game::EndLevel();
}

// ---- Caustic -----------------------------------------------------------------------------------

std::string caustic(const std::string& keys) {
  return "[Caustic]\ntype=fx\nsubType=caustic\nx=500\ny=400\n" + keys;
}

TEST_F(Weather, ACausticScrollsOneTileAlongItsDirectionPerPeriod) {
  LevelHarness h;
  load(h, "wx_scroll",
       caustic("causticPeriod=0\ncausticDir=0\n") +
           "[Back]\ntype=fx\nsubType=caustic\ncausticPeriod=8000\ncausticDir=3.14159265\n"
           "[Down]\ntype=fx\nsubType=caustic\ncausticPeriod=10000\ncausticDir=1.57079633\n"
           "[Slant]\ntype=fx\nsubType=caustic\ncausticPeriod=10000\ncausticDir=0.5\n");
  auto* left = byName<cCaustic>(h, "Caustic");
  auto* back = byName<cCaustic>(h, "Back");
  auto* down = byName<cCaustic>(h, "Down");
  auto* slant = byName<cCaustic>(h, "Slant");
  ASSERT_TRUE(left && back && down && slant);
  EXPECT_EQ(left->CausticPeriod(), 10000) << "0 is read as 10000";
  EXPECT_FALSE(left->Has(Map::kFlagClickable));
  ticks(h, 100);  // 2500 ms
  EXPECT_NEAR(left->ScrollX(), 0.25f, 1e-4f);
  EXPECT_FALSE(left->Scrolls(true));
  EXPECT_FLOAT_EQ(left->ScrollY(), 0.0f);
  EXPECT_NEAR(back->ScrollX(), 1.0f - 2500.0f / 8000.0f, 1e-4f) << "backwards: from 1 down to 0";
  EXPECT_FALSE(down->Scrolls(false)) << "a cycle too long for the count leaves the axis still";
  EXPECT_FLOAT_EQ(down->ScrollX(), 0.0f);
  EXPECT_NEAR(down->ScrollY(), 0.25f, 1e-4f);
  // cos 0.5 = 0.87758: a cycle of 11395 ms across; sin 0.5 = 0.47943: 20858 ms down.
  EXPECT_NEAR(slant->ScrollX(), 2500.0f / 11395.0f, 1e-4f);
  EXPECT_NEAR(slant->ScrollY(), 2500.0f / 20858.0f, 1e-4f);
  // A sawtooth: after a whole period it starts again, without losing the time past the end.
  ticks(h, 300);  // 10000 ms
  EXPECT_NEAR(left->ScrollX(), 0.0f, 1e-4f);
  ticks(h, 100);
  EXPECT_NEAR(left->ScrollX(), 0.25f, 1e-4f);
  // The pattern moves left: the first column's centre is a quarter tile left of the screen's edge.
  float cx = 0, cy = 0;
  left->TileCentre(0, 0, 128, 96, 1.0f, cx, cy);
  EXPECT_NEAR(cx, -32.0f, 0.05f);
  EXPECT_FLOAT_EQ(cy, 0.0f);
  left->TileCentre(3, 2, 128, 96, 0.5f, cx, cy);
  EXPECT_NEAR(cx, 3 * 64.0f - 16.0f, 0.05f);
  EXPECT_FLOAT_EQ(cy, 2 * 48.0f);
}

TEST_F(Weather, TheCausticTilesCoverTheWholeScreenAtAnyScaleAndScroll) {
  int columns = 0, rows = 0;
  cCaustic::TileGrid(256, 256, 0.5f, columns, rows);
  EXPECT_EQ(columns, 10) << "1024 / 128 tiles, one for the scroll and one for the half tiles";
  EXPECT_EQ(rows, 8);
  cCaustic::TileGrid(256, 256, 2.0f, columns, rows);
  EXPECT_EQ(columns, 4) << "1024 / 512 = 2 whole tiles, + 2";
  EXPECT_EQ(rows, 4) << "768 / 512 = 1 and a half: 1, + 2, + 1 for the part of a tile";
  cCaustic::TileGrid(0, 256, 1.0f, columns, rows);
  EXPECT_EQ(columns * rows, 0);

  LevelHarness h;
  load(h, "wx_cover", caustic("causticPeriod=7000\ncausticDir=0.7\n") +
                          "[Back]\ntype=fx\nsubType=caustic\ncausticPeriod=5000\ncausticDir=-2.5\n");
  for (const char* name : {"Caustic", "Back"}) {
    auto* c = byName<cCaustic>(h, name);
    ASSERT_NE(c, nullptr);
    for (int t = 0; t < 30; ++t) {
      ticks(h, 11);
      for (float s : {0.3f, 0.5f, 0.75f, 1.0f, 1.7f})
        for (auto [w, hgt] : {std::pair{256, 256}, {100, 70}, {1024, 768}, {300, 500}}) {
          cCaustic::TileGrid(w, hgt, s, columns, rows);
          // The tiles of row 0 must leave no gap from the left edge to the right one, and so must
          // those of column 0 from top to bottom.
          float cx = 0, cy = 0;
          c->TileCentre(0, 0, w, hgt, s, cx, cy);
          EXPECT_LE(cx - w * s / 2, 0.0f) << name << " scale " << s;
          EXPECT_LE(cy - hgt * s / 2, 0.0f);
          c->TileCentre(columns - 1, rows - 1, w, hgt, s, cx, cy);
          EXPECT_GE(cx + w * s / 2, 1024.0f) << name << " scale " << s << " tile " << w;
          EXPECT_GE(cy + hgt * s / 2, 768.0f) << name << " scale " << s << " tile " << hgt;
        }
    }
  }
}

TEST_F(Weather, TheCausticAlphaPulsesAroundItsBaseClampedToAByte) {
  LevelHarness h;
  load(h, "wx_pulse",
       caustic("alpha=100\nAlphaPeriod=4000\nAlphaAmplitude=50\nAlphaPhase=0\n") +
           "[Bright]\ntype=fx\nsubType=caustic\nalpha=230\nAlphaPeriod=4000\nAlphaAmplitude=60\nAlphaPhase=0\n"
           "[Steady]\ntype=fx\nsubType=caustic\nalpha=100\nAlphaPeriod=0\nAlphaAmplitude=50\nAlphaPhase=1\n"
           "[Late]\ntype=fx\nsubType=caustic\nalpha=100\nAlphaPeriod=4000\nAlphaAmplitude=50\n"
           "AlphaPhase=1.5707963\n");
  auto* c = byName<cCaustic>(h, "Caustic");
  auto* bright = byName<cCaustic>(h, "Bright");
  auto* steady = byName<cCaustic>(h, "Steady");
  auto* late = byName<cCaustic>(h, "Late");
  ASSERT_TRUE(c && bright && steady && late);
  EXPECT_EQ(c->CurrentAlpha(), 100);
  EXPECT_NEAR(late->CurrentAlpha(), 150, 1) << "the pulse starts at its phase";
  ticks(h, 40);  // a quarter of the cycle: the top of the sine
  EXPECT_NEAR(c->CurrentAlpha(), 150, 1);
  EXPECT_EQ(bright->CurrentAlpha(), 255) << "230 + 60 is held at 255";
  ticks(h, 40);
  EXPECT_NEAR(c->CurrentAlpha(), 100, 1);
  ticks(h, 40);
  EXPECT_NEAR(c->CurrentAlpha(), 50, 1);
  EXPECT_NEAR(bright->CurrentAlpha(), 170, 1);
  ticks(h, 40);  // a whole cycle
  EXPECT_NEAR(c->CurrentAlpha(), 100, 1);
  // A period of 0 is no pulse: the base alpha, steady, for good.
  EXPECT_FALSE(steady->Pulses());
  for (int i = 0; i < 10; ++i) {
    h.Tick();
    ASSERT_EQ(steady->CurrentAlpha(), 100);
  }
}

TEST_F(Weather, TheCausticAlphaSurvivesTheMapCompilerAndOutOfRangeValuesAreNamed) {
  for (bool binary : {true, false}) {
    SCOPED_TRACE(binary ? "map.bin" : "map.ini");
    gametest::clearGerr();
    LevelHarness h;
    load(h, "wx_alpha",
         caustic("alpha=200\n") + "[Over]\ntype=fx\nsubType=caustic\nalpha=300\n" +
             "[Under]\ntype=fx\nsubType=caustic\nalpha=-4\n",
         binary);
    EXPECT_EQ(byName<cCaustic>(h, "Caustic")->Alpha(), 200) << "one byte above 127, read back whole";
    EXPECT_EQ(byName<cCaustic>(h, "Over")->Alpha(), 255);
    EXPECT_EQ(byName<cCaustic>(h, "Under")->Alpha(), 0);
    const std::string log = gametest::gerrText();
    EXPECT_NE(log.find("wx_alpha/map.ini [Over]: alpha=300 is outside 0..255, using 255"), std::string::npos)
        << log;
    EXPECT_NE(log.find("[Under]: alpha=-4"), std::string::npos) << log;
  }
}

TEST_F(Pictures, TheCausticDrawsEveryTileFadedAndIgnoresItsAnchor) {
  LevelHarness h;
  load(h, "wx_draw",
       caustic("objectScale=0.5\nalpha=120\nanim0=wx_caustic\n") +
           "[Added]\ntype=fx\nsubType=caustic\nalpha=255\nanim0=wx_caustic_add\n");
  auto* c = byName<cCaustic>(h, "Caustic");
  auto* added = byName<cCaustic>(h, "Added");
  ASSERT_TRUE(c && added);
  ticks(h, 100);  // a quarter tile to the left
  const std::vector<AnimSpriteQuad> q = quadsOf(*c, Map::DrawContext{37.0f, 11.0f});
  // Tiles of 64 x 48: 1024 / 64 = 16 (+2) columns, 768 / 48 = 16 (+2) rows.
  ASSERT_EQ(q.size(), 18u * 18u);
  float cx = 0, cy = 0;
  centreOf(q[0], cx, cy);
  EXPECT_NEAR(cx, -16.0f, 0.05f) << "the map object's place and the context do not move it";
  EXPECT_NEAR(cy, 0.0f, 0.05f);
  centreOf(q[1], cx, cy);
  EXPECT_NEAR(cx, -16.0f, 0.05f) << "one column, row by row";
  EXPECT_NEAR(cy, 48.0f, 0.05f);
  EXPECT_NEAR(q[0].v[1].x - q[0].v[0].x, 64.0f, 0.01f);
  EXPECT_EQ(q[0].modeWord, grModeWord(4, 7, 1, 6, 5));
  EXPECT_EQ(q[0].v[0].diffuse, 120u << 24) << "the alpha over black";
  const std::vector<AnimSpriteQuad> qa = quadsOf(*added);
  ASSERT_EQ(qa.size(), 10u * 10u) << "1024 / 128 + 2 columns, 768 / 96 + 2 rows";
  EXPECT_EQ(qa[0].modeWord, grModeWord(4, 7, 1, 2, 5)) << "an additive picture adds its light";
}

// ---- Both map forms ------------------------------------------------------------------------------

TEST_F(Weather, EveryFamilyReadsTheSameFromMapIniAndMapBinAndSavesWhatItRead) {
  const obstest::RecordCase cases[] = {
      {"Rain", "type=fx\nsubType=rain\nfadePeriod=0.25\ndarkOpacity=80\nperiod=20000\nstartPeriodMin=9000\n"
               "startPeriodMax=16000\n"},
      {"Snow", "type=fx\nsubType=snow\nfadePeriod=0.4\ndarkOpacity=200\nperiod=30000\nstartPeriodMin=1000\n"
               "startPeriodMax=2000\n"},
      {"Flies", "type=fx\nsubType=flies\nboundXS=20\nboundYS=10\namount=12\nr=250\ng=128\nb=3\na=200\n"},
      {"Caustic", "type=fx\nsubType=caustic\ncausticPeriod=12000\ncausticDir=0.3\nalpha=180\nAlphaPhase=0.5\n"
                  "AlphaPeriod=3000\nAlphaAmplitude=40.5\n"},
  };
  for (const obstest::RecordCase& c : cases) {
    SCOPED_TRACE(c.section);
    const MapObjectRecord r = obstest::sameInBothForms(c, "");
    LevelHarness h;
    load(h, std::string("wx_rt_") + c.section, obstest::recordSection(c, ""));
    Map::cObject* o = h.map.FindByTag(NameHash(c.section));
    ASSERT_NE(o, nullptr);
    MapObjectRecord filled;
    o->FillRecord(filled);
    EXPECT_EQ(filled.extension, r.extension);
  }
  LevelHarness h;
  load(h, "wx_rt_values", obstest::recordSection(cases[2], "") + obstest::recordSection(cases[3], ""));
  EXPECT_EQ(byName<cFlies>(h, "Flies")->Colour(), 0xC8FA8003u);
  EXPECT_EQ(byName<cCaustic>(h, "Caustic")->Alpha(), 180);
}

// ---- The demo's data ----------------------------------------------------------------------------

struct DemoWeather : gametest::DemoCopySlate {
  const char* CopyName() const override { return "demo_weather"; }
};

TEST_F(DemoWeather, TheDemoHoldsEveryEffectPictureAndSoundTheWeatherAsksFor) {
  ASSERT_TRUE(testkit::StartNullRenderer("weather demo"));
  for (const char* name : {"Worker_Flying", "Food_Flying", "Ore_Flying", "Gold_Flying", "Fly", "caustic_water"}) {
    const AnimationState a = Core::animManager().GetAnimation(name);
    EXPECT_TRUE(a.IsValid()) << name;
    EXPECT_NE(a.Sprite(), nullptr) << name;
  }
  const AnimationState light = Core::animManager().GetAnimation("caustic_water");
  EXPECT_TRUE(light.Has(AnimationState::kAdditive)) << "the caustic adds light";
  EXPECT_EQ(light.Width(), 256);
  const std::string rainSound = iniGetString("data/snd/sounds.ini", "Rain", "name", "");
  EXPECT_FALSE(rainSound.empty());
  EXPECT_TRUE(fileExists(rainSound.c_str())) << rainSound;

  ASSERT_TRUE(fxInit());
  {
    LevelHarness h;
    Fx::weatherRegisterClasses(h.factory);
    std::string error;
    ASSERT_TRUE(testkit::WriteLevelFolder(
        "wx_demo",
        shower("Rain", "rain", "period=60000\nstartPeriodMin=25\nstartPeriodMax=25\n") +
            shower("Snow", "snow", "period=60000\nstartPeriodMin=25\nstartPeriodMax=25\n"),
        {}, &error))
        << error;
    ASSERT_TRUE(h.Load("wx_demo", true));
    auto* rain = dynamic_cast<cRain*>(h.map.FindByTag(NameHash("Rain")));
    auto* snow = dynamic_cast<cSnow*>(h.map.FindByTag(NameHash("Snow")));
    ASSERT_TRUE(rain && snow);
    ticks(h, 120);
    for (cShower* s : {static_cast<cShower*>(rain), static_cast<cShower*>(snow)}) {
      ASSERT_GE(s->Effect()->EmitterCount(), 1) << s->Effect()->GetName();
      EXPECT_GT(s->Effect()->ParticleCount(), 50) << s->Effect()->GetName() << " falls";
    }
  }
  fxDone();
  const std::string log = gametest::gerrText();
  EXPECT_EQ(log.find("weather_"), std::string::npos) << log;
}

}  // namespace
