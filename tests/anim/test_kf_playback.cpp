// Keyframe playback: neutral and clamped tracks, the object tree's matrices (scale, rotation,
// singular scales, a parent's move reaching its children), loop markers that keep looping in a
// "newAnim" window, two windows of one animation apart, and sound keys after loops and restarts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "anim_test_util.h"
#include "files/ini.h"
#include "kf_test_util.h"
#include "support/null_renderer.h"
#include "ui/ui_kf_anim.h"
#include "ui/wnd_create.h"

using namespace kftest;

namespace {

class KfEnv : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(testkit::StartNullRenderer("keyframe tests")); }
};
const auto* g_env = ::testing::AddGlobalTestEnvironment(new KfEnv);

std::vector<std::string> g_played;
void Record(const char* name, float) { g_played.push_back(name); }

struct SoundLog {
  SoundLog() {
    g_played.clear();
    kfSetSoundObserver(&Record);
  }
  ~SoundLog() { kfSetSoundObserver(nullptr); }
  // What played since the last call.
  std::vector<std::string> Take() {
    auto v = g_played;
    g_played.clear();
    return v;
  }
};

const C_ObjectState& StateOf(const C_Animation&, C_AnimationPlayback& p, size_t i) { return p.objects.at(i); }

TEST(KfPlayback, EmptyScaleAndAlphaTracksAreWholeAndKeysAreClamped) {
  auto o = object("only moves");
  o->position = {vkey(0, 5, 6)};
  auto loud = object("too much");
  loud->alpha = {fkey(0, 1.7f)};
  loud->scale = {fkey(0, -2)};
  KfObjects l;
  l.push_back(std::move(o));
  l.push_back(std::move(loud));
  auto a = animationOf(std::move(l));
  C_AnimationPlayback p;
  kfDraw(*a, p, 0, 1, 1, 0, 0, 0);
  EXPECT_FLOAT_EQ(StateOf(*a, p, 0).alpha, 1.0f) << "no alpha keys: fully visible";
  EXPECT_FLOAT_EQ(StateOf(*a, p, 0).uniformScale, 1.0f) << "no scale keys: its own size";
  EXPECT_FLOAT_EQ(StateOf(*a, p, 1).alpha, 1.0f) << "1.7 is opaque";
  EXPECT_FLOAT_EQ(StateOf(*a, p, 1).uniformScale, 0.0f) << "-2 is no size at all";
}

TEST(KfPlayback, ChildrenCombineWithTheirParent) {
  auto parent = object("parent");
  parent->alpha = {fkey(0, 0.5f)};
  parent->position = {vkey(0, 100, 50)};
  parent->rotation = {fkey(0, float(M_PI / 2))};
  parent->scale = {fkey(0, 2)};
  parent->colour = {ckey(0, 255, 128, 0)};
  auto child = addChild(*parent, object("child"));
  child->alpha = {fkey(0, 0.5f)};
  child->position = {vkey(0, 10, 0)};
  child->size = {vkey(0, 8, 4)};
  child->colour = {ckey(0, 128, 255, 255)};
  auto a = animationOf(listOf(std::move(parent)));
  C_AnimationPlayback p;
  kfDraw(*a, p, 0, 1, 1, 0, 300, 200);
  const C_ObjectState& c = StateOf(*a, p, 1);
  EXPECT_FLOAT_EQ(c.alpha, 0.25f);
  // (10, 0) scaled by 2 and turned a quarter (x to y) lands 20 below the parent's place.
  EXPECT_NEAR(c.world.m[2][0], 400.0f, 1e-3);
  EXPECT_NEAR(c.world.m[2][1], 270.0f, 1e-3);
  EXPECT_FLOAT_EQ(c.width, 16.0f);
  EXPECT_FLOAT_EQ(c.height, 8.0f);
  // Channels multiply as fractions of 255: 128 x 255 / 255 and 255 x 128 / 255, truncated.
  EXPECT_EQ(c.red, 128);
  EXPECT_EQ(c.green, 128);
  EXPECT_EQ(c.blue, 0);
}

TEST(KfPlayback, GlobalScaleAndRotationPlaceTopLevelObjects) {
  auto o = object("o");
  o->position = {vkey(0, 100, 0)};
  auto a = animationOf(listOf(std::move(o)));
  C_AnimationPlayback p;
  kfDraw(*a, p, 0, 1, 2, 0, 10, 20);
  EXPECT_NEAR(p.objects[0].world.m[2][0], 210.0f, 1e-3) << "100 x 2 from the draw point";
  EXPECT_NEAR(p.objects[0].world.m[2][1], 20.0f, 1e-3);
  kfDraw(*a, p, 0, 1, 1, float(M_PI), 10, 20);
  EXPECT_NEAR(p.objects[0].world.m[2][0], -90.0f, 1e-3) << "turned half way round the draw point";
}

TEST(KfPlayback, ASingularMatrixHasNoInverse) {
  auto flat = object("flat");
  flat->scale = {fkey(0, 0)};
  flat->position = {vkey(0, 5, 5)};
  auto fine = object("fine");
  fine->scale = {fkey(0, 4)};
  fine->rotation = {fkey(0, 0.3f)};
  fine->position = {vkey(0, 7, -2)};
  KfObjects l;
  l.push_back(std::move(flat));
  l.push_back(std::move(fine));
  auto a = animationOf(std::move(l));
  C_AnimationPlayback p;
  kfDraw(*a, p, 0, 1, 1, 0, 30, 40);
  EXPECT_FALSE(p.objects[0].invertible);
  for (auto& row : p.objects[0].inverse.m)
    for (float v : row) EXPECT_TRUE(std::isfinite(v));
  ASSERT_TRUE(p.objects[1].invertible);
  const Matrix3f id = p.objects[1].world * p.objects[1].inverse;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(id.m[i][j], i == j ? 1.0f : 0.0f, 1e-4);
}

TEST(KfPlayback, AParentsMoveReachesItsChildren) {
  auto parent = object("parent");
  addChild(*parent, object("child"))->position = {vkey(0, 3, 4)};
  auto a = animationOf(listOf(std::move(parent)));
  C_AnimationPlayback p;
  kfDraw(*a, p, 0.5f, 1, 1, 0, 0, 0);
  EXPECT_NEAR(p.objects[1].world.m[2][0], 3.0f, 1e-4);
  // Same time, new place: the child must not keep its cached matrix.
  kfDraw(*a, p, 0.5f, 1, 1, 0, 50, 60);
  EXPECT_NEAR(p.objects[1].world.m[2][0], 53.0f, 1e-4);
  EXPECT_NEAR(p.objects[1].world.m[2][1], 64.0f, 1e-4);
}

// A definition file with two "newAnim" windows of one animation that moves x from 0 to 100 in the
// first second (looping there) and on to 200 by 2 s.
struct WindowFixture : ::testing::Test {
  void SetUp() override {
    kfLibrary().Clear();
    auto o = object("mover");
    o->position = {vkey(0, 0, 0), vkey(1, 100, 0), vkey(2, 200, 0)};
    if (loop) o->position[0].markerType = 2;
    o->phase = {fkey(0, 0), fkey(2, 0)};
    const std::string bytes = kfSerialize(listOf(std::move(o)));
    animtest::writeText("data/kf/mover.kf", bytes);
    animtest::writeText("data/kf/windows.ini",
                        "[One]\ntype=newAnim\nx=100\ny=10\nanim=data/kf/mover.kf\n"
                        "[Two]\ntype=NEWANIM\nx=500\ny=300\nanim=Data/KF/Mover.kf\n");
  }
  void TearDown() override { kfLibrary().Clear(); }
  bool loop = true;
};

float PlacedX(Core::UINewAnimWnd* w) { return w->Playback().objects.at(0).world.m[2][0]; }

TEST_F(WindowFixture, ALoopMarkerKeepsLooping) {
  std::unique_ptr<UIWnd> w(wndCreate("data/kf/windows.ini", "One", nullptr));
  auto* win = dynamic_cast<Core::UINewAnimWnd*>(w.get());
  ASSERT_NE(win, nullptr);
  ASSERT_NE(win->Animation(), nullptr);
  w->Update(900);
  w->Draw();
  EXPECT_NEAR(win->Time(), 0.9f, 1e-5);
  EXPECT_NEAR(PlacedX(win), 100 + 90.0f, 1e-3);
  w->Update(200);  // 1.1 s: past the loop's end
  w->Draw();
  EXPECT_FLOAT_EQ(win->Time(), 0.0f) << "back to the loop's start";
  float last = -1;
  for (int i = 0; i < 12; ++i) {
    w->Update(25);
    w->Draw();
    EXPECT_GT(PlacedX(win), last) << "the picture moves on, step " << i;
    last = PlacedX(win);
  }
  EXPECT_NEAR(win->Time(), 0.3f, 1e-4);
  EXPECT_NEAR(PlacedX(win), 100 + 30.0f, 1e-2);
}

TEST_F(WindowFixture, TwoWindowsOfOneAnimationKeepTheirOwnTimeAndPlace) {
  std::unique_ptr<UIWnd> one(wndCreate("data/kf/windows.ini", "One", nullptr));
  std::unique_ptr<UIWnd> two(wndCreate("data/kf/windows.ini", "Two", nullptr));
  auto* a = dynamic_cast<Core::UINewAnimWnd*>(one.get());
  auto* b = dynamic_cast<Core::UINewAnimWnd*>(two.get());
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->Animation(), b->Animation()) << "one animation in the library";
  one->Update(500);
  two->Update(250);
  one->Draw();
  two->Draw();
  EXPECT_NEAR(a->Time(), 0.5f, 1e-5);
  EXPECT_NEAR(b->Time(), 0.25f, 1e-5);
  EXPECT_NEAR(PlacedX(a), 100 + 50.0f, 1e-3);
  EXPECT_NEAR(PlacedX(b), 500 + 25.0f, 1e-3);
  EXPECT_NEAR(b->Playback().objects[0].world.m[2][1], 300.0f, 1e-3);
  // Drawing the other window changed nothing of the first.
  one->Draw();
  EXPECT_NEAR(PlacedX(a), 150.0f, 1e-3);
  // Refresh starts over.
  one->Refresh();
  one->Draw();
  EXPECT_NEAR(PlacedX(a), 100.0f, 1e-3);
  EXPECT_NEAR(b->Time(), 0.25f, 1e-5);
}

TEST_F(WindowFixture, WithoutALoopTheEndStartsOver) {
  loop = false;
  SetUp();
  std::unique_ptr<UIWnd> w(wndCreate("data/kf/windows.ini", "One", nullptr));
  auto* win = dynamic_cast<Core::UINewAnimWnd*>(w.get());
  ASSERT_NE(win, nullptr);
  w->Update(1500);
  w->Draw();
  EXPECT_NEAR(PlacedX(win), 250.0f, 1e-3);
  w->Update(5000);  // limited to the length, 2 s
  w->Draw();
  EXPECT_FLOAT_EQ(win->Time(), 0.0f) << "drawn at its length, then back to the start";
  w->Update(100);
  w->Draw();
  EXPECT_NEAR(PlacedX(win), 110.0f, 1e-3);
}

TEST(KfSounds, KeysPlayOnceEachPassIncludingLoopsAndRestarts) {
  auto o = object("bell");
  o->position = {vkey(0, 0, 0), vkey(0.5f, 1, 1), vkey(1, 2, 2), vkey(2, 3, 3)};
  o->position[0].soundName = "start";
  o->position[1].soundName = "middle";
  o->position[1].markerType = 2;  // loop from 0.5 s to 1 s
  o->position[2].soundName = "loop_end";
  auto a = animationOf(listOf(std::move(o)));
  SoundLog log;
  C_AnimationPlayback p;
  EXPECT_FLOAT_EQ(kfDraw(*a, p, 0, 1, 1, 0, 0, 0), 0.0f);
  EXPECT_EQ(log.Take(), std::vector<std::string>{"start"});
  kfDraw(*a, p, 0, 1, 1, 0, 0, 0);
  EXPECT_TRUE(log.Take().empty()) << "a key at the previous draw time does not play again";
  kfDraw(*a, p, 0.5f, 1, 1, 0, 0, 0);
  EXPECT_EQ(log.Take(), std::vector<std::string>{"middle"}) << "a key at the current time plays";
  kfDraw(*a, p, 0.9f, 1, 1, 0, 0, 0);
  EXPECT_TRUE(log.Take().empty());
  // Reaching the loop's end goes back to 0.5 s: the loop's first key sounds again.
  EXPECT_FLOAT_EQ(kfDraw(*a, p, 1.05f, 1, 1, 0, 0, 0), 0.5f);
  EXPECT_EQ(log.Take(), std::vector<std::string>{"middle"});
  kfDraw(*a, p, 0.8f, 1, 1, 0, 0, 0);
  EXPECT_EQ(kfDraw(*a, p, 1.0f, 1, 1, 0, 0, 0), 0.5f);
  EXPECT_EQ(log.Take(), std::vector<std::string>{"middle"}) << "and on every later pass";
  // A restart plays the first key again.
  p.Restart();
  kfDraw(*a, p, 0, 1, 1, 0, 0, 0);
  EXPECT_EQ(log.Take(), std::vector<std::string>{"start"});
}

TEST(KfSounds, ChildrenOfAnInvisibleParentStillSound) {
  auto parent = object("hidden");
  parent->alpha = {fkey(0, 0)};
  auto child = addChild(*parent, object("child"));
  child->scale = {fkey(0, 1), fkey(0.2f, 1)};
  child->scale[1].soundName = "tick";
  auto a = animationOf(listOf(std::move(parent)));
  SoundLog log;
  C_AnimationPlayback p;
  kfDraw(*a, p, 0, 1, 1, 0, 0, 0);
  kfDraw(*a, p, 0.3f, 1, 1, 0, 0, 0);
  EXPECT_EQ(log.Take(), std::vector<std::string>{"tick"});
}

}  // namespace
